#include "os/drives.h"

#include "os/SerialPort.h"
#include "os/platformFile.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

using os::DriveType;
using ostest::TempFolder;

class Drives : public ::testing::Test {
  protected:
    void TearDown() override {
        os::resetDrives();
        os::setDiskFreeBytesFunction({});
    }
    TempFolder dir;
};

TEST_F(Drives, TheTableComesFromThePlatformFileAndTheMountedDiscs) {
    ostest::writeBytes(dir / "mountinfo",
                       "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                       "30 22 11:0 / /media/cdrom0 ro,relatime shared:5 - iso9660 /dev/sr0 ro\n"
                       "31 22 7:0 / /mnt/disc\\040two ro - udf /dev/loop0 ro\n"
                       "32 22 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
                       "33 22 7:1 / /media/cdrom1 ro master:3 - iso9660 /dev/loop1 ro\n"
                       "34 22 7:2 / /a/early ro - udf /dev/loop2 ro\n"
                       "35 22 7:2 / /a/early ro - udf /dev/loop2 ro\n"
                       "garbage line\n");
    ostest::writeBytes(dir / "platform.ini", "[DRIVES]\n"
                                             "C=" +
                                                 dir.path() +
                                                 "/nav/\n"
                                                 "C=/other\n"
                                                 "e=CDROM:/media/cdrom1\n"
                                                 "F=removable:/media/usb\n"
                                                 "1=/x\n"
                                                 "KL=/x\n"
                                                 "K=relative\n"
                                                 "L=cdrom:\n"
                                                 "[PORTS]\n"
                                                 "COM1=/dev/ttyUSB0\n");
    os::resetDrives(dir / "mountinfo", dir / "platform.ini");

    EXPECT_EQ(os::driveLetters(), "CDEFGH");
    struct Case {
        char letter;
        std::string root;
        DriveType type;
    } cases[] = {
        {'C', dir / "nav", DriveType::Fixed},      {'d', "/a/early", DriveType::CdRom},
        {'E', "/media/cdrom1", DriveType::CdRom}, // not given a second letter
        {'F', "/media/usb", DriveType::Removable}, {'G', "/media/cdrom0", DriveType::CdRom},
        {'H', "/mnt/disc two", DriveType::CdRom},  {'I', "", DriveType::NoRootDir},
        {'K', "", DriveType::NoRootDir},           {'1', "", DriveType::NoRootDir},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(os::driveRoot(c.letter), c.root) << c.letter;
        EXPECT_EQ(os::driveType(c.letter), c.type) << c.letter;
    }

    // Without a platform file C is the file system root.
    os::resetDrives(dir / "mountinfo", dir / "none.ini");
    EXPECT_EQ(os::driveLetters(), "CDEFG");
    EXPECT_EQ(os::driveRoot('C'), "/");
    EXPECT_EQ(os::driveRoot('E'), "/media/cdrom0");
    EXPECT_EQ(os::driveRoot('F'), "/media/cdrom1");

    os::setDrive('Z', dir / "z/", DriveType::Remote);
    EXPECT_EQ(os::driveRoot('Z'), dir / "z");
    EXPECT_EQ(os::driveType('z'), DriveType::Remote);
    os::setDrive('Z', "", DriveType::Remote);
    EXPECT_EQ(os::driveType('Z'), DriveType::NoRootDir);
}

TEST_F(Drives, ThePlatformFileGivesPorts) {
    ostest::writeBytes(dir / "platform.ini", "[ports]\n"
                                             "COM1 = /dev/ttyUSB0\n"
                                             "com12=/dev/ttyACM0\n"
                                             "COM1=/dev/second\n"
                                             "COM0=/dev/x\n"
                                             "COM100=/dev/x\n"
                                             "LPT1=/dev/x\n"
                                             ";COM3=/dev/x\n");
    const os::PlatformSettings s = os::readPlatformFile(dir / "platform.ini");
    ASSERT_EQ(s.ports.size(), 3u);
    EXPECT_EQ(s.ports[0].number, 1);
    EXPECT_EQ(s.ports[0].path, "/dev/ttyUSB0");
    EXPECT_EQ(s.ports[1].number, 12);
    EXPECT_EQ(s.ports[1].path, "/dev/ttyACM0");
    EXPECT_TRUE(os::readPlatformFile(dir / "none.ini").drives.empty());

    // The file is found under $XDG_CONFIG_HOME, else under ~/.config.
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedConfig ? savedConfig : "";
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(os::platformFilePath(), dir / "solvanor/platform.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(os::platformFilePath(),
              std::string(std::getenv("HOME")) + "/.config/solvanor/platform.ini");
    if (savedConfig) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST_F(Drives, PathsBothWays) {
    std::filesystem::create_directories(dir / "c/cd");
    std::filesystem::create_directories(dir / "e");
    os::setDrive('C', dir / "c", DriveType::Fixed);
    os::setDrive('D', dir / "c/cd", DriveType::CdRom); // inside C: the longer root wins
    os::setDrive('E', dir / "e", DriveType::Fixed);
    os::setDrive('Q', "", DriveType::Fixed);
    const std::string c = dir / "c", d = dir / "c/cd", e = dir / "e";

    struct Local {
        std::string text, path;
    } locals[] = {
        {"C:\\KV71\\", c + "/KV71/"},
        {"c:kv71", c + "/kv71"},
        {"C:", c},
        {"D:\\", d + "/"},
        {"Q:\\KV71", ""}, // a letter without a root names nothing
        {"rel\\dir", "rel/dir"},
        {"/abs/x", "/abs/x"},
        {"E:\\S\xF8r", e + "/S\u00F8r"},
        {"", ""},
    };
    for (const Local& l : locals)
        EXPECT_EQ(os::localPath(l.text), l.path) << l.text;

    struct Windows {
        std::string path, text;
    } windows[] = {
        {c + "/KV71/", "C:\\KV71\\"},
        {c, "C:\\"},
        {c + "/", "C:\\"},
        {d + "/x", "D:\\x"},
        {d + "x", "C:\\cdx"}, // a root matches whole names only
        {c + "/a/../b/./c//d", "C:\\b\\c\\d"},
        {e + "/S\u00F8r", "E:\\S\xF8r"},
        {"/elsewhere/x", "/elsewhere/x"}, // under no root
        {e + "/\u0416", ""},              // Windows-1252 cannot hold it
        {e + "/a\\b", ""},                // would read back as two names
        {"", ""},
    };
    for (const Windows& w : windows)
        EXPECT_EQ(os::windowsPath(w.path), w.text) << w.path;

    char* here = ::getcwd(nullptr, 0);
    os::setDrive('F', here, DriveType::Fixed);
    EXPECT_EQ(os::windowsPath("sub/x"), "F:\\sub\\x");
    std::free(here);

    os::resetDrives(dir / "none", dir / "none.ini");
    EXPECT_EQ(os::windowsPath("/KV71/"), "C:\\KV71\\");
    EXPECT_EQ(os::localPath("C:\\KV71\\"), "/KV71/");
    EXPECT_EQ(os::localPath("c:"), "/");
}

TEST_F(Drives, FreeSpaceAndTheRunningProgram) {
    struct statvfs st;
    ASSERT_EQ(::statvfs(dir.path().c_str(), &st), 0);
    const auto expected = static_cast<std::int64_t>(st.f_bavail) * std::int64_t(st.f_frsize);
    EXPECT_NEAR(double(os::diskFreeBytes(dir.path())), double(expected), 64.0 * (1 << 20));
    EXPECT_EQ(os::diskFreeBytes(dir / "missing/folder"), -1);
    os::setDiskFreeBytesFunction([](const std::string& path) {
        return path == "/x" ? std::int64_t(500000) : std::int64_t(-1);
    });
    EXPECT_EQ(os::diskFreeBytes("/x"), 500000);
    os::setDiskFreeBytesFunction({});
    EXPECT_GT(os::diskFreeBytes(dir.path()), 0);

    const std::string program = os::programPath();
    EXPECT_EQ(std::filesystem::path(program).filename(), "platform_os_tests");
    EXPECT_EQ(os::programDirectory() + "/platform_os_tests", program);
}

} // namespace
