#include "os/privateProfile.h"

#include "os/drives.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using ostest::TempFolder;

// One file shows every rule: CR LF ends, comments, case, blanks, quotes,
// duplicates, a header written with blanks, numbers.
const char kSolvnv[] = "; navigation settings\r\n"
                       "[DIRECTORY]\r\n"
                       "KV71ROOT=C:\\KV71\\\r\n"
                       "  kv71cat =  C:\\KV71\\CAT\\ \t\r\n"
                       "HELP=\"C:\\Programs\\Viewer\\viewer.exe\" \"DOKUVUK.PDF\"\r\n"
                       "DBROOT=\r\n"
                       "DBROOT=second\r\n"
                       "novalue\r\n"
                       "[DICTIONARY]\r\n"
                       "KV71ATTR.DIC=C:\\RUNTIME\\KV71ATTR\\\r\n"
                       "  [KV71LIB] \t\r\n"
                       ";Comport3=COM3:4800,N,8,1\r\n"
                       "  ; Comport4=COM4:4800,N,8,1\r\n"
                       "Comport10=COM1:4800,N,8,1\r\n"
                       "Comport1=COM1:04800,N,8,1\r\n"
                       "CrsMinutes=256abc\r\n"
                       "Neg= -3\r\n"
                       "Word=abc\r\n"
                       "Huge=99999999999\r\n"
                       "Min=-2147483648\r\n"
                       "Plus=+7\r\n"
                       "[kv71lib]\r\n"
                       "Comport2=not read: only the first section counts\r\n"
                       "[DIRECTORY]\r\n"
                       "TIDES=not read either\r\n";

class Profiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory(dir / "Nav");
        ostest::writeBytes(dir / "Nav/solvnv.ini", kSolvnv);
        file = dir / "Nav/SOLVNV.INI"; // found whatever its case
    }
    void TearDown() override { os::resetDrives(); }
    TempFolder dir;
    std::string file;
};

TEST_F(Profiles, ReadsValues) {
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        std::uint32_t size;
        std::string text;
        std::uint32_t result;
    } cases[] = {
        {"DIRECTORY", "KV71ROOT", "", 256, "C:\\KV71\\", 8},
        {"directory", "kv71root", "", 256, "C:\\KV71\\", 8},
        {"DIRECTORY", "KV71CAT", "", 256, "C:\\KV71\\CAT\\", 12},
        {"DIRECTORY", "HELP", "", 260, "\"C:\\Programs\\Viewer\\viewer.exe\" \"DOKUVUK.PDF\"", 45},
        {"DIRECTORY", "DBROOT", "x", 256, "", 0}, // the first line wins, empty as it is
        {"DIRECTORY", "novalue", "def", 256, "def", 3},
        {"DIRECTORY", "TIDES", "none", 256, "none", 4},
        {"DICTIONARY", "KV71ATTR.DIC", "KV71ATTR.DIC", 260, "C:\\RUNTIME\\KV71ATTR\\", 20},
        {"KV71LIB", "Comport1", "", 20, "COM1:04800,N,8,1", 16},
        {"KV71LIB", "Comport3", "", 20, "", 0},
        {"KV71LIB", "Comport4", "-", 20, "-", 1},
        {"KV71LIB", "Comport2", "", 20, "", 0},
        {"KV71LIB", "Comport1", "", 6, "COM1:", 5}, // cut: size - 1
        {"KV71LIB", "Comport1", "", 1, "", 0},
        {"NOSECTION", "KV71ROOT", "default", 256, "default", 7},
        {"NOSECTION", "KV71ROOT", "default", 4, "def", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key);
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(
            os::getPrivateProfileString(c.section, c.key, c.def, buffer, c.size, file.c_str()),
            c.result);
        EXPECT_EQ(std::string(buffer), c.text);
        EXPECT_EQ(buffer[c.size], '#') << "written past the size";
    }

    char buffer[16] = "untouched";
    EXPECT_EQ(os::getPrivateProfileString("DIRECTORY", "KV71ROOT", "", buffer, 0, file.c_str()),
              0u);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(os::getPrivateProfileString("DIRECTORY", "KV71ROOT", "", nullptr, 16, file.c_str()),
              0u);
    EXPECT_EQ(os::getPrivateProfileString("DIRECTORY", "X", nullptr, buffer, 16, file.c_str()), 0u);
    EXPECT_STREQ(buffer, "");
    const std::string missing = dir / "Nav/NONE.INI";
    EXPECT_EQ(
        os::getPrivateProfileString("DIRECTORY", "KV71ROOT", "dflt", buffer, 16, missing.c_str()),
        4u);
    EXPECT_STREQ(buffer, "dflt");
}

TEST_F(Profiles, ReadsIntegers) {
    struct Case {
        const char* key;
        int want;
    } cases[] = {
        {"CrsMinutes", 256}, {"Neg", -3}, {"Word", 77},    {"Huge", 77},
        {"Min", INT32_MIN},  {"Plus", 7}, {"Missing", 77}, {"Comport3", 77},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::getPrivateProfileInt("KV71LIB", c.key, 77, file.c_str()), c.want) << c.key;
    const std::string missing = dir / "NONE.INI";
    EXPECT_EQ(os::getPrivateProfileInt("KV71LIB", "CrsMinutes", 3, missing.c_str()), 3);
}

TEST_F(Profiles, ListsKeyNames) {
    std::string palette = "[ECPALETTE]\r\n";
    std::string all;
    for (int i = 0; i < 130; ++i) {
        palette += std::to_string(i) + "=1,2,3|4,5,6\r\n";
        all += std::to_string(i) + '\0';
    }
    palette += ";130=commented\r\n";
    ostest::writeBytes(dir / "ECPALETT.INI", palette);
    const std::string path = dir / "ecpalett.ini";

    std::vector<char> big(1024, '#');
    EXPECT_EQ(os::getPrivateProfileString("ECPALETTE", nullptr, "", big.data(), 1024, path.c_str()),
              all.size());
    EXPECT_EQ(std::string(big.data(), all.size() + 1), all + '\0');

    // 130 names need 10 x 2 + 90 x 3 + 30 x 4 + 1 = 411 bytes: at 388 the list
    // keeps the names that fit whole, 0 to 123 (386 bytes).
    std::vector<char> cut(400, '#');
    EXPECT_EQ(os::getPrivateProfileString("ECPALETTE", nullptr, "", cut.data(), 388, path.c_str()),
              386u);
    std::vector<std::string> names;
    for (const char* p = cut.data(); *p; p += std::strlen(p) + 1)
        names.push_back(p);
    ASSERT_EQ(names.size(), 124u);
    EXPECT_EQ(names.back(), "123");
    EXPECT_EQ(cut[386], '\0');
    EXPECT_EQ(cut[387], '\0');
    EXPECT_EQ(cut[388], '#');

    char tiny[4] = "###";
    EXPECT_EQ(os::getPrivateProfileString("NONE", nullptr, "", tiny, 4, path.c_str()), 0u);
    EXPECT_EQ(tiny[0], '\0');
    EXPECT_EQ(tiny[1], '\0');
    EXPECT_EQ(os::getPrivateProfileString("ECPALETTE", nullptr, "", tiny, 1, path.c_str()), 0u);
    EXPECT_EQ(tiny[0], '\0');
}

TEST_F(Profiles, AWindowsPathFindsTheFileThroughTheDriveTable) {
    os::setDrive('C', dir.path(), os::DriveType::Fixed);
    char buffer[64];
    EXPECT_EQ(os::getPrivateProfileString("DIRECTORY", "KV71ROOT", "", buffer, sizeof buffer,
                                          "C:\\NAV\\SOLVNV.INI"),
              8u);
    EXPECT_STREQ(buffer, "C:\\KV71\\");
    os::setDrive('Q', "", os::DriveType::Fixed);
    EXPECT_EQ(os::getPrivateProfileInt("KV71LIB", "Plus", 5, "Q:\\NAV\\SOLVNV.INI"), 5);
}

} // namespace
