#include "util/fileInfo.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class FileInfoTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(temp_.path().empty()); }
    void make(const char* name, std::size_t size, std::int64_t mtime) {
        const std::string path = dir_ + "/" + name;
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const std::string bytes(size, 'x');
        ASSERT_EQ(write(fd, bytes.data(), size), static_cast<ssize_t>(size));
        const timespec times[2] = {{mtime, 0}, {mtime, 0}};
        ASSERT_EQ(futimens(fd, times), 0);
        close(fd);
    }
    TempDir temp_;
    const std::string dir_ = temp_.path();
};

TEST_F(FileInfoTest, UnpacksTheDosDateAndTimeOfTheModificationTime) {
    const struct {
        std::int64_t mtime;
        int day, month, year, hours, minutes, seconds;
    } cases[] = {
        {1709251171, 29, 2, 2024, 23, 59, 30}, // 2024-02-29 23:59:31 UTC: two-second steps
        {315532800, 1, 1, 1980, 0, 0, 0},      // the first moment the form shows
        {100000000, 1, 1, 1980, 0, 0, 0},      // 1973: held at the first
        {4354819199LL, 31, 12, 2107, 23, 59, 58},
    };
    for (const auto& c : cases) {
        make("c.dat", 5, c.mtime);
        FileInfo info{};
        ASSERT_EQ(fileInfo((dir_ + "/c.dat").c_str(), &info), 1);
        EXPECT_STREQ(info.name, "c.dat");
        EXPECT_EQ(info.size, 5u);
        EXPECT_EQ(info.attributes & 0x30u, 0x20u);
        EXPECT_EQ((std::vector<int>{info.day, info.month, info.year, info.hours, info.minutes,
                                    info.seconds}),
                  (std::vector<int>{c.day, c.month, c.year, c.hours, c.minutes, c.seconds}))
            << c.mtime;
    }
    FileInfo info{};
    info.size = 77;
    EXPECT_EQ(fileInfo((dir_ + "/missing").c_str(), &info), 0);
    EXPECT_EQ(info.size, 77u);
    EXPECT_EQ(fileInfo(dir_.c_str(), &info), 1); // a folder is found too
    EXPECT_EQ(info.attributes & 0x10u, 0x10u);
}

TEST_F(FileInfoTest, SecondFormWalksARunningSearch) {
    make("A.INF", 1, 1709251170);
    make("b.inf", 2, 1709251170);
    make("c.dat", 3, 1709251170);
    FileSearcher search;
    ASSERT_EQ(search.first((dir_ + "/*.inf").c_str(), 0), 0);
    std::set<std::string> names = {search.name};
    FileInfo info{};
    while (fileInfo(search, &info) == 1)
        names.insert(info.name);
    EXPECT_EQ(names, (std::set<std::string>{"A.INF", "b.inf"}));
    EXPECT_EQ(fileInfo(search, &info), 0);
}

} // namespace
