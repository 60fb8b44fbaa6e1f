// .\Ostrel.INI: the default text of a missing file, the FISHDB migration, the
// language clamp, lite mode and the icon flags, each compared byte for byte
// after a save.
#include "ConfigMachine.h"

#include "config/SetupIni.h"

#include <filesystem>
#include <functional>
#include <string>

namespace {

using setuptest::ConfigMachine;

class SetupIni : public ConfigMachine {};

TEST_F(SetupIni, AMissingFileStartsFromTheDefaultTextWithEveryTabOff) {
    TSetupData data;
    ASSERT_TRUE(LoadSetupIni(data));
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(data.Directory(kVector), "C:\\RUNTIME");
    EXPECT_EQ(data.Directory(kBathymetric), "C:\\RUNBATH");
    EXPECT_EQ(data.Directory(kElvo), "C:\\RUNELVO");
    EXPECT_EQ(data.Directory(kRaster), "C:\\SOLVNR");
    EXPECT_EQ(data.TabFlags, (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(data.IconFlags, (std::array<std::uint8_t, 5>{}));
    EXPECT_FALSE(data.Lite);
    EXPECT_EQ(data.Language, 1);
    EXPECT_FALSE(exists("c/work/Ostrel.INI")) << "a load writes nothing";

    ASSERT_TRUE(SaveSetupIni(data));
    EXPECT_EQ(bytes("c/work/Ostrel.INI"), ostest::readBytes(fixture("ostrel-default.out.ini")));
}

TEST_F(SetupIni, LoadsAndSavesTheSettingsKeepingEverythingElse) {
    using Check = std::function<void(const TSetupData&)>;
    const struct {
        const char* input;
        const char* onDisk; // the file's name in the current directory
        Check check;
        const char* output;
    } cases[] = {
        // FISHDB of older programs: ELVO on, and ELVODB takes its place; a
        // comment, a path and a section holding "FISH" stay.
        {"ostrel-fishdb.ini", "Ostrel.INI",
         [](const TSetupData& d) {
             EXPECT_EQ(d.TabFlags, (std::array<bool, 4>{true, false, true, false}));
             EXPECT_EQ(d.IconFlags, (std::array<std::uint8_t, 5>{1, 0, 1, 0, 1}));
             EXPECT_EQ(d.Directory(kElvo), "C:\\FISH\\");
             EXPECT_EQ(d.Language, 2);
         },
         "ostrel-fishdb.out.ini"},
        // Lite mode: every tab off whatever CONFIG says; LITE stays; an icon
        // flag of 5 is kept, but ELVO's only counts when it is 1.
        {"ostrel-lite.ini", "ostrel.ini",
         [](const TSetupData& d) {
             EXPECT_TRUE(d.Lite);
             EXPECT_EQ(d.TabFlags, (std::array<bool, 4>{false, false, false, false}));
             EXPECT_EQ(d.IconFlags[kVector], 5);
             EXPECT_EQ(d.IconFlags[kElvo], 0);
             EXPECT_EQ(d.Directory(kRaster), "C:\\SOLVANOR\\");
         },
         "ostrel-lite.out.ini"},
        {"Ostrel.INI", "OSTREL.INI",
         [](const TSetupData& d) {
             EXPECT_EQ(d.TabFlags, (std::array<bool, 4>{true, false, false, false}));
             EXPECT_EQ(d.Directory(kVector), "C:\\RUNTIME\\");
         },
         "Ostrel.INI"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string from =
            std::string(c.input) == "Ostrel.INI" ? sample(c.input) : fixture(c.input);
        const std::string expected =
            std::string(c.output) == "Ostrel.INI" ? sample(c.output) : fixture(c.output);
        copyTo(from, std::string("c/work/") + c.onDisk);
        TSetupData data;
        ASSERT_TRUE(LoadSetupIni(data));
        EXPECT_FALSE(data.Modified);
        c.check(data);
        ASSERT_TRUE(SaveSetupIni(data));
        EXPECT_EQ(bytes(std::string("c/work/") + c.onDisk), ostest::readBytes(expected))
            << "saved under its own name";
        // A second round changes nothing more.
        TSetupData again;
        ASSERT_TRUE(LoadSetupIni(again));
        ASSERT_TRUE(SaveSetupIni(again));
        EXPECT_EQ(bytes(std::string("c/work/") + c.onDisk), ostest::readBytes(expected));
        EXPECT_EQ(again.TabFlags, data.TabFlags);
        EXPECT_EQ(again.IconFlags, data.IconFlags);
        std::filesystem::remove(tmp / (std::string("c/work/") + c.onDisk));
    }
}

TEST_F(SetupIni, TheLanguageAndTheElvoFlagFollowTheirValues) {
    const struct {
        const char* config;
        std::uint8_t language;
        bool elvo;
    } cases[] = {
        {"LANGUAGE=0", 1, true},           {"LANGUAGE=7", 2, true},
        {"LANGUAGE=-1", 2, true},          {"LANGUAGE=2", 2, true},
        {"LANGUAGE=258", 2, true},         {"LANGUAGE=256", 1, true},
        {"LANGUAGE=x", 1, true},           {"ELVODB=0", 1, false},
        {"ELVODB=0\r\nFISHDB=1", 1, true}, {"ELVODB=0\r\nFISHDB=0", 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        touch("c/work/Ostrel.INI", std::string("[CONFIG]\r\n") + c.config + "\r\n");
        TSetupData data;
        ASSERT_TRUE(LoadSetupIni(data));
        EXPECT_EQ(data.Language, c.language);
        EXPECT_EQ(data.TabFlags[kElvo], c.elvo);
        EXPECT_TRUE(data.TabFlags[kVector]); // a missing key counts as 1
    }
}

TEST_F(SetupIni, AFolderInThePlaceOfTheFileIsNoSettingsFileAndIsNotReplaced) {
    mkdirs("c/work/Ostrel.INI"); // a folder of that name is no settings file
    TSetupData data;
    ASSERT_TRUE(LoadSetupIni(data)); // read as missing
    EXPECT_TRUE(data.Modified);
    EXPECT_FALSE(SaveSetupIni(data)); // the folder is in the way
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "c/work/Ostrel.INI"));
}

} // namespace
