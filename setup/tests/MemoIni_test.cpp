#include "ini/MemoIni.h"

#include "os/tests/TempFolder.h"
#include "os/textFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kFixtures = std::string(OSTREL_FIXTURES) + "/ini/";

// One step on the buffer: a read gives its value as text, a write gives "".
struct Step {
    enum Kind { Read, ReadCommented, ReadInt, Write, WriteCommented, WriteInt } kind;
    const char* section;
    const char* key;
    const char* text = "";
    int number = 0;
};

std::string run(TMemoIni& ini, const Step& s) {
    switch (s.kind) {
    case Step::Read:
        return ini.MemoIniRead(s.section, s.key, s.text, false);
    case Step::ReadCommented:
        return ini.MemoIniRead(s.section, s.key, s.text, true);
    case Step::ReadInt:
        return std::to_string(ini.MemoIniReadInt(s.section, s.key, s.number, false));
    case Step::Write:
        ini.MemoIniWrite(s.section, s.key, s.text, false);
        return "";
    case Step::WriteCommented:
        ini.MemoIniWrite(s.section, s.key, s.text, true);
        return "";
    case Step::WriteInt:
        ini.MemoIniWriteInt(s.section, s.key, s.number, false);
        return "";
    }
    return "";
}

// A fixture is loaded, the steps run, and either the last step's value is
// compared, or the buffer is saved and compared byte for byte with a fixture.
struct Case {
    const char* input;
    std::vector<Step> steps;
    const char* value;    // expected value of the last (read) step, or null
    const char* expected; // fixture the saved buffer must equal, or null
};

using S = Step;

const std::vector<Case> kCases = {
    // A read stays inside its section; a write adds the key to its own section.
    {"later-section.ini", {{S::Read, "DIRECTORY", "VECTOR", "none"}}, "none", nullptr},
    {"later-section.ini",
     {{S::Write, "DIRECTORY", "VECTOR", "C:\\RUNTIME\\"}},
     nullptr,
     "later-section.out.ini"},
    // Comport1 is no prefix of Comport10 or COMPORT1X.
    {"comport10.ini", {{S::Read, "KV71LIB", "Comport1", "none"}}, "none", nullptr},
    {"comport10.ini",
     {{S::Write, "KV71LIB", "Comport1", "COM1:9600,N,8,1"}},
     nullptr,
     "comport10.out.ini"},
    {"comport10.ini", {{S::Read, "KV71LIB", "Comport10", "none"}}, "COM1:4800,N,8,1", nullptr},
    // Plain reads skip commented lines and commented reads skip plain ones; a
    // write replaces the first line of either form.
    {"plain-and-commented.ini",
     {{S::Read, "KV71LIB", "Comport2", "none"}},
     "COM2:4800,N,8,1",
     nullptr},
    {"plain-and-commented.ini",
     {{S::ReadCommented, "KV71LIB", "Comport2", "none"}},
     "COM2:9600,E,7,1",
     nullptr},
    {"plain-and-commented.ini",
     {{S::ReadCommented, "KV71LIB", "Comport3", "none"}},
     "none",
     nullptr},
    {"plain-and-commented.ini",
     {{S::ReadCommented, "KV71LIB", "Comport4", "none"}},
     " COM4:4800,N,8,1",
     nullptr},
    {"plain-and-commented.ini",
     {{S::Write, "KV71LIB", "Comport2", "COM2:19200,N,8,1"}},
     nullptr,
     "plain-and-commented.plain.out.ini"},
    {"plain-and-commented.ini",
     {{S::WriteCommented, "KV71LIB", "Comport3", "COM3:4800,N,8,1"},
      {S::Write, "KV71LIB", "Comport4", "COM4:4800,N,8,1"}},
     nullptr,
     "plain-and-commented.commented.out.ini"},
    // A new section after a last line that is not empty; the second key goes
    // above the first.
    {"config-only.ini",
     {{S::Write, "DIRECTORY", "VECTOR", "C:\\RUNTIME\\"}, {S::Write, "DIRECTORY", "BATHDB", ""}},
     nullptr,
     "config-only.out.ini"},
    // An empty buffer: no blank line before the header.
    {"empty.ini", {{S::Read, "VESSEL", "Stem", "none"}}, "none", nullptr},
    {"empty.ini", {{S::WriteInt, "VESSEL", "Stem", "", 8}}, nullptr, "empty.out.ini"},
    // A key for an empty section goes under its own header.
    {"header-header.ini",
     {{S::Write, "DIRECTORY", "KV71ROOT", "C:\\KV71"}},
     nullptr,
     "header-header.out.ini"},
    {"header-header.ini", {{S::Read, "DIRECTORY", "Comport1", "none"}}, "none", nullptr},
    // Blanks around a header; a broken header ends the section.
    {"blank-header.ini", {{S::ReadInt, "VESSEL", "Stem", "", -1}}, "8", nullptr},
    {"blank-header.ini", {{S::ReadInt, "VESSEL", "Stern", "", -1}}, "-1", nullptr},
    {"blank-header.ini",
     {{S::WriteInt, "VESSEL", "Stern", "", 2}},
     nullptr,
     "blank-header.out.ini"},
    // A line without "=" is no key line; "key=" reads as the empty text.
    {"no-equals.ini", {{S::Read, "DIRECTORY", "HELP", "none"}}, "none", nullptr},
    {"no-equals.ini", {{S::Read, "DIRECTORY", "TIDES", "none"}}, "", nullptr},
    {"no-equals.ini",
     {{S::Write, "DIRECTORY", "HELP", "DOKUVUK.PDF"}},
     nullptr,
     "no-equals.out.ini"},
    // Integers: the marker, blanks, signs and the 32-bit range.
    {"integers.ini", {{S::ReadInt, "VESSEL", "Marker", "", 42}}, "42", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Blanks", "", 42}}, "8", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Suffix", "", 42}}, "42", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Negative", "", 42}}, "-1", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Plus", "", 42}}, "7", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Huge", "", 42}}, "42", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Lowest", "", 42}}, "-2147483648", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Empty", "", 42}}, "42", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Sign", "", 42}}, "42", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Spaced", "", 42}}, "42", nullptr},
    {"integers.ini", {{S::ReadInt, "VESSEL", "Missing", "", 42}}, "42", nullptr},
    // LF, CR LF and a lone CR in, CR LF out; bytes 0x80-0xFF kept.
    {"line-ends.ini",
     {{S::WriteInt, "KV71LIB", "NmeaOutRMC", "", 2}},
     nullptr,
     "line-ends.out.ini"},
    {"line-ends.ini",
     {{S::Read, "DIRECTORY", "NAME", "none"}},
     "Bj\xf8rn\xf8ya \x80 \xff",
     nullptr},
    // Section and key names match without regard to case; a write keeps the
    // key as given.
    {"mixed-case.ini", {{S::ReadInt, "VESSEL", "Stem", "", -1}}, "8", nullptr},
    {"mixed-case.ini", {{S::WriteInt, "VESSEL", "stem", "", 9}}, nullptr, "mixed-case.out.ini"},
    // Only the first section of a name counts.
    {"duplicate-section.ini", {{S::Read, "KV71LIB", "Comport2", "none"}}, "none", nullptr},
    {"duplicate-section.ini",
     {{S::Write, "KV71LIB", "Comport2", "COM2:9600,N,8,1"}},
     nullptr,
     "duplicate-section.out.ini"},
};

TEST(MemoIni, TextModelTable) {
    ostest::TempFolder temp;
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.input) + " → " + (c.expected ? c.expected : c.value));
        TMemoIni ini;
        ASSERT_TRUE(ini.LoadFromFile(kFixtures + c.input));
        std::string last;
        for (const Step& s : c.steps)
            last = run(ini, s);
        if (c.value) {
            EXPECT_EQ(last, c.value);
        }
        if (c.expected) {
            const std::string out = temp / "out.ini";
            ASSERT_TRUE(ini.SaveToFile(out));
            EXPECT_EQ(ostest::readBytes(out), ostest::readBytes(kFixtures + c.expected));
        }
    }
}

TEST(MemoIni, ValueWrittenAsNotFoundReadsAsTheDefault) {
    TMemoIni ini;
    ini.MemoIniWrite("VESSEL", "Stem", "NOT FOUND", false);
    EXPECT_EQ(ini.MemoIniRead("VESSEL", "Stem", "", false), "NOT FOUND");
    EXPECT_EQ(ini.MemoIniReadInt("VESSEL", "Stem", 7, false), 7);
    ini.MemoIniWriteInt("VESSEL", "Stem", -2147483647 - 1, false);
    EXPECT_EQ(ini.MemoIniReadInt("VESSEL", "Stem", 7, false), -2147483647 - 1);
}

TEST(MemoIni, LoadReplacesTheBufferAndAMissingFileLeavesItEmpty) {
    ostest::TempFolder temp;
    TMemoIni ini;
    ASSERT_TRUE(ini.LoadFromFile(kFixtures + "mixed-case.ini"));
    ASSERT_TRUE(ini.LoadFromFile(kFixtures + "empty.ini"));
    EXPECT_TRUE(ini.Lines().empty());
    ASSERT_TRUE(ini.LoadFromFile(kFixtures + "mixed-case.ini"));
    EXPECT_FALSE(ini.LoadFromFile(temp / "SOLVNV.INI"));
    EXPECT_TRUE(ini.Lines().empty()) << "no lines of the previous file may be saved into this one";
}

class MemoIniSave : public ::testing::Test {
  protected:
    void TearDown() override { os::resetFileCalls(); }
    ostest::TempFolder temp;
};

TEST_F(MemoIniSave, AFailedSaveReturnsFalseAndKeepsTheOldFile) {
    const std::string file = temp / "SOLVNV.INI";
    const std::string old = ostest::readBytes(kFixtures + "line-ends.ini");
    ostest::writeBytes(file, old);
    TMemoIni ini;
    ini.MemoIniWrite("VESSEL", "Stem", "8", false);

    EXPECT_FALSE(ini.SaveToFile(temp / "missing/SOLVNV.INI"));
    EXPECT_FALSE(std::filesystem::exists(temp / "missing"));

    // The disk fills up half-way through the write.
    os::fileCalls().write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    EXPECT_FALSE(ini.SaveToFile(file));
    os::resetFileCalls();
    // The rename into place is refused.
    os::fileCalls().rename = [](const char*, const char*) {
        errno = EIO;
        return -1;
    };
    EXPECT_FALSE(ini.SaveToFile(file));
    EXPECT_EQ(ostest::readBytes(file), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left";
}

TEST_F(MemoIniSave, ASaveThroughALinkKeepsTheLink) {
    const std::string target = temp / "shared.ini";
    const std::string link = temp / "SOLVNV.INI";
    ostest::writeBytes(target, "[VESSEL]\r\nStem=8\r\n");
    std::filesystem::create_symlink("shared.ini", link);
    TMemoIni ini;
    ASSERT_TRUE(ini.LoadFromFile(link));
    ini.MemoIniWriteInt("VESSEL", "Stem", 9, false);
    ASSERT_TRUE(ini.SaveToFile(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ostest::readBytes(target), "[VESSEL]\r\nStem=9\r\n");
}

} // namespace
