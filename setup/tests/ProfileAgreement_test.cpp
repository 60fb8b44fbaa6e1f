// The setup program and the navigation program must find the same line for a
// key: the same fixture is read through the navigation program's profile
// reader and through the INI text buffer.
#include "ini/MemoIni.h"

#include "os/privateProfile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kFixture = std::string(OSTREL_FIXTURES) + "/ini/agreement.ini";

TEST(ProfileAgreement, BothProgramsReadTheSameValues) {
    TMemoIni ini;
    ASSERT_TRUE(ini.LoadFromFile(kFixture));
    const struct {
        const char* section;
        const char* key;
    } keys[] = {
        {"DIRECTORY", "KV71ROOT"}, // under a header with blanks around it
        {"DIRECTORY", "KV71CAT"},  // blanks before "="
        {"DIRECTORY", "HELP"},     // a quoted command line keeps its quotes
        {"DIRECTORY", "Bad"},      // after a broken header: in no section
        {"KV71LIB", "Comport1"},   // beside Comport10
        {"KV71LIB", "Comport10"},  {"KV71LIB", "Comport3"}, // commented: the port is off for both
        {"KV71LIB", "GpsNmeaId"},                           // blanks before the key
        {"KV71LIB", "DBROOT"},                              // empty value
        {"KV71LIB", "Bad"},        {"VESSEL", "Stem"},      {"VESSEL", "Stern"}, // missing
        {"CONFIG", "VECTOR"},                                                    // missing section
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(std::string(k.section) + "/" + k.key);
        char buffer[256];
        os::getPrivateProfileString(k.section, k.key, "<none>", buffer, sizeof buffer,
                                    kFixture.c_str());
        EXPECT_EQ(ini.MemoIniRead(k.section, k.key, "<none>", false), buffer);
    }
    EXPECT_EQ(ini.MemoIniRead("DIRECTORY", "HELP", "", false),
              "\"C:\\Program Files\\Viewer\\viewer.exe\" \"DOKUVUK.PDF\"");
    EXPECT_EQ(ini.MemoIniRead("KV71LIB", "Comport1", "", false), "COM1:4800,N,8,1");
    EXPECT_EQ(ini.MemoIniRead("KV71LIB", "Comport3", "", true), "COM3:4800,N,8,1");
}

} // namespace
