// The chart palette: the project's ECPALETT.INI as the program reads it, and
// the reading rules on small files.
#include "ChartPalette.h"
#include "ViewRequest.h"

#include "graphics/GraphicsLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

using namespace chartview;

gdi::PaletteEntry rgb(int r, int g, int b) {
    return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
            static_cast<std::uint8_t>(b), gdi::kPaletteReserved};
}

double distance(const gdi::PaletteEntry& a, const gdi::PaletteEntry& b) {
    return std::hypot(a.red - b.red, a.green - b.green, a.blue - b.blue);
}

// A temporary folder for palette files, removed at the end.
class PaletteFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string t = (std::filesystem::temp_directory_path() / "chartview-XXXXXX").string();
        ASSERT_NE(::mkdtemp(t.data()), nullptr);
        folder_ = t;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::string& text) {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string folder_;
};

TEST(ProjectPalette, ShowsEveryChartColourAsWrittenInEveryScheme) {
    const PaletteFile file = readPaletteFile(defaultPalettePath(DATA_DIR "/dict"));
    ASSERT_EQ(file.entries.size(), 119u); // keys up to 118
    for (int scheme = 0; scheme < 4; ++scheme) {
        SCOPED_TRACE(scheme);
        const auto entries = paletteEntries(file, scheme);
        ASSERT_EQ(entries.size(), 236u);
        for (int colour = 0; colour < 32; ++colour) {
            const unsigned entry = _anSp57ColorsMap[colour];
            const PaletteColour c = file.entries.at(entry)[scheme];
            EXPECT_TRUE(c.defined) << "chart colour " << colour;
            // No animation range covers a colour the file gives.
            EXPECT_EQ(entries[entry], rgb(c.red, c.green, c.blue)) << "chart colour " << colour;
        }
        for (int colour = 23; colour <= 25; ++colour) {
            const PaletteColour a = file.entries[colour][scheme];
            const PaletteColour b = file.entries[_anSp57ColorsMap[colour]][scheme];
            EXPECT_TRUE(a.defined && a.red == b.red && a.green == b.green && a.blue == b.blue)
                << "key " << colour << " does not repeat key " << _anSp57ColorsMap[colour];
        }
        // Zones, land and ink stay apart.
        const int apart[] = {0, 1, 7, 8, 9, 12};
        for (int a : apart)
            for (int b : apart)
                if (a < b) {
                    EXPECT_GE(distance(entries[a], entries[b]), 15) << a << " and " << b;
                }
        // Each scheme dims the one before it.
        if (scheme > 0) {
            const auto before = paletteEntries(file, scheme - 1);
            for (int colour = 1; colour < 32; ++colour) {
                const unsigned e = _anSp57ColorsMap[colour];
                EXPECT_LT(entries[e].red + entries[e].green + entries[e].blue,
                          before[e].red + before[e].green + before[e].blue)
                    << "chart colour " << colour;
            }
        }
    }
}

TEST_F(PaletteFiles, KeysSetTheCountAndUnlistedEntriesStayBlack) {
    // Keys 0, 1 and 7 make eight entries; 2 to 6 stay black.
    const PaletteFile file = readPaletteFile(
        write("ECPALETT.INI", "[ECPALETTE]\n0=1,2,3|4,5,6|7,8,9|10,11,12\n1=20,20,20\n"
                              "7=70,71,72|73,74,75\n"));
    ASSERT_EQ(file.entries.size(), 8u);
    const auto dusk = paletteEntries(file, SchemeDusk);
    EXPECT_EQ(dusk[0], rgb(4, 5, 6));
    EXPECT_EQ(dusk[1], rgb(0, 0, 0)); // key 1 gives no dusk colour
    for (int i = 2; i <= 6; ++i)
        EXPECT_EQ(dusk[i], rgb(0, 0, 0)) << i;
    EXPECT_EQ(dusk[7], rgb(73, 74, 75));
    EXPECT_EQ(paletteEntries(file, SchemeDarkNight)[0], rgb(10, 11, 12));
}

TEST_F(PaletteFiles, AnimationRangesFillOnlyWhatTheFileLeavesOpen) {
    const PaletteFile file = readPaletteFile(
        write("ECPALETT.INI", "[ECPALETTE]\n0=1,1,1\n2=2,2,2\n4=4,4,4\n11=11,11,11\n30=30,30,30\n"
                              "60=60,60,60\n"));
    ASSERT_EQ(file.entries.size(), 61u);
    const auto day = paletteEntries(file, SchemeDay);
    const struct {
        int entry;
        gdi::PaletteEntry colour;
    } expected[] = {
        {21, rgb(0, 0, 0)},    {22, rgb(2, 2, 2)},     {29, rgb(2, 2, 2)},    {30, rgb(30, 30, 30)},
        {53, rgb(2, 2, 2)},    {54, rgb(4, 4, 4)},     {60, rgb(60, 60, 60)}, {85, rgb(4, 4, 4)},
        {86, rgb(11, 11, 11)}, {117, rgb(11, 11, 11)}, {118, rgb(1, 1, 1)},   {235, rgb(1, 1, 1)},
    };
    for (const auto& e : expected)
        EXPECT_EQ(day[e.entry], e.colour) << "entry " << e.entry;
    for (const auto& e : day)
        EXPECT_EQ(e.flags, gdi::kPaletteReserved);
}

TEST_F(PaletteFiles, ReadsEachSchemesPartOnItsOwn) {
    const PaletteFile file = readPaletteFile(
        write("ECPALETT.INI",
              "; colours\r\n[ecpalette]\r\n"
              "0 = 1,2,3||x,y,z|300,0,0\r\n" // a colour, empty, malformed, out of range
              "1= 10 , 20 , 30 |0,0,0|5,5,5|6,6,6|7,7,7\r\n"
              "2=1,2\r\n"
              ";3=9,9,9\r\n"
              "abc=9,9,9\r\n"
              "-4=9,9,9\r\n"
              "5=\r\n"
              "[OTHER]\r\n"
              "9=1,1,1\r\n"));
    ASSERT_EQ(file.entries.size(),
              6u); // the commented 3, "abc", "-4" and the other section's 9 are no keys
    const bool defined0[] = {true, false, false, false};
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(file.entries[0][s].defined, defined0[s]) << s;
    EXPECT_EQ(paletteEntries(file, 0)[1], rgb(10, 20, 30));
    EXPECT_EQ(paletteEntries(file, 3)[1], rgb(6, 6, 6)); // a fifth part is not read
    for (int s = 0; s < 4; ++s) {
        EXPECT_FALSE(file.entries[2][s].defined);
        EXPECT_FALSE(file.entries[3][s].defined);
        EXPECT_FALSE(file.entries[5][s].defined);
    }
}

TEST_F(PaletteFiles, KeepsTheCountWithinTheFreeEntries) {
    const PaletteFile file =
        readPaletteFile(write("ECPALETT.INI", "[ECPALETTE]\n0=1,1,1\n240=2,2,2\n300=3,3,3\n"));
    EXPECT_EQ(file.entries.size(), 236u);
    EXPECT_EQ(paletteEntries(file, 0).size(), 236u);
}

// Key lists and values are read whole, however long (a fixed buffer of 388
// characters dropped the keys past it and cut long values).
TEST_F(PaletteFiles, ReadsLongKeyListsAndValuesWhole) {
    std::string text = "[ECPALETTE]\n";
    for (int i = 0; i < 236; ++i)
        text += std::to_string(i) + "=" + std::to_string(i % 256) + ",0,0\n";
    const PaletteFile file = readPaletteFile(write("ECPALETT.INI", text));
    ASSERT_EQ(file.entries.size(), 236u);
    EXPECT_EQ(paletteEntries(file, SchemeDay)[235], rgb(235, 0, 0));
    const PaletteFile padded = readPaletteFile(
        write("b.ini", "[ECPALETTE]\n0=1,1,1|" + std::string(400, ' ') + "2,2,2|3,3,3\n"));
    EXPECT_EQ(paletteEntries(padded, SchemeDusk)[0], rgb(2, 2, 2));
    EXPECT_EQ(paletteEntries(padded, SchemeNight)[0], rgb(3, 3, 3));
}

TEST_F(PaletteFiles, FindsTheFileWithoutRegardToCase) {
    write("ECPALETT.INI", "[ECPALETTE]\n3=1,2,3\n");
    const PaletteFile file = readPaletteFile(folder_ + "/ecpalett.ini");
    EXPECT_EQ(file.entries.size(), 4u);
}

TEST_F(PaletteFiles, RefusesAFileWithoutNumberedKeysOrNoFile) {
    const std::string cases[] = {
        write("a.ini", ""),
        write("b.ini", "[OTHER]\n0=1,2,3\n"),
        write("c.ini", "[ECPALETTE]\n;0=1,2,3\nkey=1,2,3\n256=1,2,3\n"),
        folder_ + "/missing.ini",
        folder_,
    };
    for (const std::string& path : cases)
        EXPECT_THROW(readPaletteFile(path), std::runtime_error) << path;
}

} // namespace
