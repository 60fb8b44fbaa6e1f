#include "os/textFiles.h"

#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ostest::readBytes;
using ostest::TempFolder;
using ostest::writeBytes;
using Lines = std::vector<std::string>;

// Puts the real system calls back whatever a test injected.
class TextFiles : public ::testing::Test {
  protected:
    void TearDown() override { os::resetFileCalls(); }
    TempFolder dir;
};

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST_F(TextFiles, ReadsEveryLineEnd) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"mixed", "a\r\n\nb\rc\n\r", {"a", "", "b", "c", ""}},
        {"no final end", "a\r\nlast", {"a", "last"}},
        {"empty", "", {}},
        {"one end only", "\r\n", {""}},
        {"CR LF split from LF CR", "x\n\ry", {"x", "", "y"}},
        {"high bytes and NUL",
         std::string("\x80\xF8\xFF\0z\r\n", 7),
         {std::string("\x80\xF8\xFF\0z", 5)}},
    };
    for (const Case& c : cases) {
        writeBytes(dir / "f.ini", c.bytes);
        Lines lines{"stale"};
        ASSERT_TRUE(os::readTextLines(dir / "f.ini", lines)) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    Lines lines{"stale"};
    errno = 0;
    EXPECT_FALSE(os::readTextLines(dir / "missing.ini", lines));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(lines.empty());
}

TEST_F(TextFiles, WritesCrLfAndKeepsTheModeOfAReplacedFile) {
    const std::string path = dir / "SOLVNV.INI";
    ASSERT_TRUE(os::writeTextLines(path, {"[DIRECTORY]", "KV71ROOT=C:\\KV71\\", "", "\xF8"}));
    EXPECT_EQ(readBytes(path), "[DIRECTORY]\r\nKV71ROOT=C:\\KV71\\\r\n\r\n\xF8\r\n");

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(os::writeTextLines(path, {"x"}));
    EXPECT_EQ(readBytes(path), "x\r\n");
    EXPECT_EQ(modeOf(path), 0640u);
    // Nothing is left beside it.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        entries += !e.path().empty();
    EXPECT_EQ(entries, 1);
}

TEST_F(TextFiles, AFailedWriteLeavesTheOldFileByteForByte) {
    const std::string path = dir / "f.ini";
    const std::string old = "old\r\ncontent\xE5\r\n";
    writeBytes(path, old);

    os::fileCalls().rename = [](const char*, const char*) {
        errno = EIO;
        return -1;
    };
    errno = 0;
    EXPECT_FALSE(os::writeTextLines(path, {"new"}));
    EXPECT_EQ(errno, EIO);
    os::resetFileCalls();

    os::fileCalls().write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    errno = 0;
    EXPECT_FALSE(os::writeTextLines(path, {"new"}));
    EXPECT_EQ(errno, ENOSPC);
    os::resetFileCalls();

    EXPECT_EQ(readBytes(path), old);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        entries += !e.path().empty();
    EXPECT_EQ(entries, 1) << "a temporary file was left";

    errno = 0;
    EXPECT_FALSE(os::writeTextLines(dir / "no/such/folder/f.ini", {"x"}));
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(TextFiles, ALinkStaysALinkAndItsTargetGetsTheText) {
    std::filesystem::create_directory(dir / "shared");
    const std::string target = dir / "shared/SOLVNV.INI";
    writeBytes(target, "old\r\n");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("shared/SOLVNV.INI", (dir / "link.ini").c_str()), 0);
    ASSERT_EQ(::symlink("link.ini", (dir / "chain.ini").c_str()), 0);

    ASSERT_TRUE(os::writeTextLines(dir / "chain.ini", {"new"}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "chain.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(readBytes(target), "new\r\n");
    EXPECT_EQ(modeOf(target), 0600u);

    ASSERT_EQ(::symlink("nowhere.ini", (dir / "dangling.ini").c_str()), 0);
    EXPECT_FALSE(os::writeTextLines(dir / "dangling.ini", {"x"}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere.ini"));
}

// Fails every write once `limit` bytes have gone through.
std::size_t gWriteBudget = 0;
ssize_t limitedWrite(int fd, const void* data, std::size_t size) {
    if (gWriteBudget == 0) {
        errno = ENOSPC;
        return -1;
    }
    const std::size_t n = size < gWriteBudget ? size : gWriteBudget;
    gWriteBudget -= n;
    return ::write(fd, data, n);
}
ssize_t noCopyRange(int, off_t*, int, off_t*, std::size_t, unsigned) {
    errno = EXDEV; // as between two file systems: falls back to reads and writes
    return -1;
}

TEST_F(TextFiles, CopiesFiles) {
    std::string big(5 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 2654435761u) >> 13);
    writeBytes(dir / "big.dat", big);
    writeBytes(dir / "a.dat", "source\r\n");
    writeBytes(dir / "old.dat", "old target, longer than the source");
    writeBytes(dir / "ro.dat", "read-only");
    ASSERT_EQ(::chmod((dir / "ro.dat").c_str(), 0444), 0);
    writeBytes(dir / "rotarget.dat", "kept");
    ASSERT_EQ(::chmod((dir / "rotarget.dat").c_str(), 0444), 0);

    struct Case {
        const char* what;
        std::string from, to;
        bool failIfExists, sync;
        bool ok;
        int error;       // errno on failure
        std::string got; // the target afterwards ("-" absent)
    } cases[] = {
        {"new", "a.dat", "new.dat", true, false, true, 0, "source\r\n"},
        {"overwrite", "a.dat", "old.dat", false, true, true, 0, "source\r\n"},
        {"fail if exists", "big.dat", "a2.dat", true, false, false, EEXIST, "kept"},
        {"missing source", "none.dat", "n.dat", false, false, false, ENOENT, "-"},
        {"read-only source", "ro.dat", "ro2.dat", false, false, true, 0, "read-only"},
        {"read-only target", "a.dat", "rotarget.dat", false, false, false, EACCES, "kept"},
        {"onto itself", "a.dat", "a.dat", false, false, false, EINVAL, "source\r\n"},
        {"5 MiB", "big.dat", "big2.dat", false, true, true, 0, big},
    };
    writeBytes(dir / "a2.dat", "kept");
    for (const Case& c : cases) {
        errno = 0;
        EXPECT_EQ(os::copyFile(dir / c.from, dir / c.to, c.failIfExists, c.sync), c.ok) << c.what;
        if (!c.ok) {
            EXPECT_EQ(errno, c.error) << c.what;
        }
        if (c.got == "-")
            EXPECT_FALSE(std::filesystem::exists(dir / c.to)) << c.what;
        else
            EXPECT_TRUE(readBytes(dir / c.to) == c.got) << c.what;
    }
    EXPECT_EQ(modeOf(dir / "ro2.dat"), 0444u);

    // The fall-back path gives the same bytes.
    os::fileCalls().copyFileRange = noCopyRange;
    ASSERT_TRUE(os::copyFile(dir / "big.dat", dir / "big3.dat", true, false));
    EXPECT_TRUE(readBytes(dir / "big3.dat") == big);

    // A write that fails part-way leaves no target, new or overwritten.
    os::fileCalls().write = limitedWrite;
    for (const char* target : {"big4.dat", "old.dat"}) {
        gWriteBudget = 1 << 20;
        errno = 0;
        EXPECT_FALSE(os::copyFile(dir / "big.dat", dir / target, false, false)) << target;
        EXPECT_EQ(errno, ENOSPC);
        EXPECT_FALSE(std::filesystem::exists(dir / target)) << target;
    }
}

} // namespace
