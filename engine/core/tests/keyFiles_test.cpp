#include "util/keyFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class KeyFiles : public ::testing::Test {
  protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("skjoldr_keyfiles_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string file(const char* name, const std::string& bytes) {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
};

TEST_F(KeyFiles, ReadLineDropsLineEndsAndTheRestOfLongLines) {
    const std::string path = file("lines.txt", "abc\r\nlonger line\nabcde\nX\n\nlast");
    std::FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char buf[6];
    for (const char* want : {"abc", "longe", "abcde", "X", "", "last"}) {
        ASSERT_EQ(readLine(buf, sizeof buf, f), buf) << want;
        EXPECT_STREQ(buf, want);
    }
    EXPECT_EQ(readLine(buf, sizeof buf, f), nullptr);
    EXPECT_EQ(readLine(buf, 0, f), nullptr);
    std::fclose(f);
}

TEST_F(KeyFiles, ReadLineWithRoomForTheTerminatorOnlyStillEndsAtTheEndOfTheFile) {
    // A buffer of one byte holds no text: every line reads as empty, and the
    // end of the file still ends the reading (it used to answer forever).
    const std::string path = file("lines.txt", "ab\n\ncd");
    std::FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char buf[1] = {'x'};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(readLine(buf, 1, f), buf) << i;
        EXPECT_EQ(buf[0], '\0');
    }
    EXPECT_EQ(readLine(buf, 1, f), nullptr);
    std::fclose(f);
}

TEST_F(KeyFiles, ReadKeyValueTakesTheLastExactMatch) {
    const std::string pad(80, 'x');
    const std::string padValue = pad.substr(0, 76); // 80 bytes with "Pad="
    const std::string path = file("SOLVNV.INI", "; settings\r\n"
                                                "Root=C:\\KV71\\ \r\n"
                                                "Port=COM1\n"
                                                "Root=/charts/kv71 \t\n"
                                                "Port =COM2\n"
                                                "NoEquals\n"
                                                "Name= a=b\n"
                                                "Pad=" +
                                                    pad +
                                                    "Tail=dropped\n"
                                                    "Deg=N 59\xF8\n"
                                                    "Empty=\n");
    struct Case {
        const char* key;
        const char* def;
        const char* want;
    } cases[] = {
        {"Root", "none", "/charts/kv71"},  // the later line wins, trailing blanks go
        {"Port", "none", "COM1"},          // "Port " is another key
        {"Name", "none", " a=b"},          // split at the first '='
        {"Pad", "none", padValue.c_str()}, // lines are read up to 80 bytes
        {"Tail", "none", "none"},          // the rest of a long line is no line
        {"Deg", "none", "N 59\xF8"},       // high bytes are text
        {"Empty", "none", ""},
        {"Missing", "default", "default"},
        {"NoEquals", "d", "d"},
        {"Missing", nullptr, ""},
    };
    for (const auto& c : cases) {
        char value[128];
        std::memset(value, '?', sizeof value);
        readKeyValue(path.c_str(), c.key, c.def, value, sizeof value);
        EXPECT_STREQ(value, c.want) << c.key;
    }
    char small[4];
    readKeyValue(path.c_str(), "Root", "none", small, sizeof small);
    EXPECT_STREQ(small, "/ch");
    readKeyValue((dir / "absent.ini").c_str(), "Root", "fallback", small, sizeof small);
    EXPECT_STREQ(small, "fal");
}

TEST_F(KeyFiles, GetProfileTextAndFileLength) {
    const std::string path = file("present.ini", "[Section]\nKey=Value\n");
    const std::string absent = (dir / "absent.ini").string();
    char dst[8] = "junk";
    EXPECT_EQ(getProfileText("Section", "Key", "def", nullptr, 8, path.c_str()), 0u);
    EXPECT_EQ(getProfileText("Section", "Key", "def", dst, 0, absent.c_str()), 0u);
    EXPECT_STREQ(dst, "junk"); // size 0: nothing written
    EXPECT_EQ(getProfileText("Section", "Key", "def", dst, sizeof dst, path.c_str()), 0u);
    EXPECT_STREQ(dst, ""); // an openable file gives the empty text, not stale bytes
    EXPECT_EQ(getProfileText("Section", "Key", "default text", dst, sizeof dst, absent.c_str()),
              7u);
    EXPECT_STREQ(dst, "default");
    EXPECT_EQ(getProfileText("Section", "Key", nullptr, dst, sizeof dst, nullptr), 0u);
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(getProfileText(nullptr, nullptr, "abc", dst, sizeof dst, nullptr), 3u);
    EXPECT_STREQ(dst, "abc");

    EXPECT_EQ(fileLength(path.c_str()), 20);
    EXPECT_EQ(fileLength(file("empty", "").c_str()), 0);
    EXPECT_EQ(fileLength(absent.c_str()), 0);
    EXPECT_EQ(fileLength(dir.c_str()), 0);
    EXPECT_EQ(fileLength(nullptr), 0);
}

} // namespace
