// The program palette of ECPALETT.INI: which keys count, how values read, the
// four ranges around the file's own entries, and switching schemes.
#include "AppTestSupport.h"

#include "graphics/GraphicsLayer.h"

#include <string>

namespace {

using apptest::TestFolder;

gdi::Colour entryColour(int i) {
    const gdi::PaletteEntry& e = ProgramPalette()->entry(static_cast<std::size_t>(i));
    return gdi::rgb(e.red, e.green, e.blue);
}

void loadFile(const TestFolder& folder, const std::string& text) {
    apptest::writeFile(folder / "ECPALETT.INI", "[ECPALETTE]\r\n" + text);
    LoadPalettes(folder.path().c_str());
}

TEST(Palette, KeysZeroOneAndSevenGiveEightEntries) {
    TestFolder folder;
    loadFile(folder, "0=0,0,0\r\n1=255,255,255\r\n7=105,165,220|74,115,154\r\n");
    ASSERT_TRUE(ProgramPalette());
    EXPECT_EQ(PaletteTableCount(), 8);
    EXPECT_EQ(ProgramPalette()->size(), std::size_t(kFreePaletteEntries));
    EXPECT_EQ(entryColour(1), gdi::rgb(255, 255, 255));
    for (int i = 2; i <= 6; ++i)
        EXPECT_EQ(entryColour(i), gdi::kBlack) << i;
    EXPECT_EQ(entryColour(7), gdi::rgb(105, 165, 220));
    for (int i = 0; i < kFreePaletteEntries; ++i)
        EXPECT_EQ(ProgramPalette()->entry(std::size_t(i)).flags, gdi::kPaletteReserved) << i;
}

TEST(Palette, WhichKeysCount) {
    TestFolder folder;
    std::string all;
    for (int i = 0; i <= 255; ++i)
        all += std::to_string(i) + "=" + std::to_string(i) + ",1,2\r\n";
    loadFile(folder, all);
    // Every key is read; the palette holds the free entries only.
    EXPECT_EQ(PaletteTableCount(), 256);
    EXPECT_EQ(PaletteTableColour(255, 0), gdi::rgb(255, 1, 2));
    EXPECT_EQ(ProgramPalette()->size(), std::size_t(kFreePaletteEntries));
    EXPECT_EQ(entryColour(235), gdi::rgb(235, 1, 2));
    EXPECT_EQ(entryColour(22), gdi::rgb(22, 1, 2)); // the file's entries inside the ranges stay

    loadFile(folder, "12x=1,1,1\r\n-1=2,2,2\r\n256=3,3,3\r\n+4=4,4,4\r\n3=5,5,5\r\n");
    EXPECT_EQ(PaletteTableCount(), 4);
    EXPECT_EQ(entryColour(3), gdi::rgb(5, 5, 5));

    loadFile(folder, "x=1,2,3\r\n");
    EXPECT_FALSE(ProgramPalette());
    EXPECT_EQ(SelectPaletteScheme(1), -1);
}

TEST(Palette, ValuesWithOneToFourParts) {
    const struct {
        const char* value;
        gdi::Colour schemes[4];
    } cases[] = {
        {"1,2,3", {gdi::rgb(1, 2, 3), 0, 0, 0}},
        {" 10 , 20 , 30 ", {gdi::rgb(10, 20, 30), 0, 0, 0}},
        {"1,2,3|4,5,6", {gdi::rgb(1, 2, 3), gdi::rgb(4, 5, 6), 0, 0}},
        {"1,2,3|4,5,6|7,8,9|10,11,12",
         {gdi::rgb(1, 2, 3), gdi::rgb(4, 5, 6), gdi::rgb(7, 8, 9), gdi::rgb(10, 11, 12)}},
        {"1,2,3|4,5,6|7,8,9|10,11,12|13,14,15",
         {gdi::rgb(1, 2, 3), gdi::rgb(4, 5, 6), gdi::rgb(7, 8, 9), gdi::rgb(10, 11, 12)}},
        // A part that does not read leaves its scheme black, the others still count.
        {"red|4,5,6||10,11,12", {0, gdi::rgb(4, 5, 6), 0, gdi::rgb(10, 11, 12)}},
        {"1,2|4,5,6 trailing", {0, gdi::rgb(4, 5, 6), 0, 0}},
        {"300,0,0|-1,0,0|0,0,255", {0, 0, gdi::rgb(0, 0, 255), 0}},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        loadFile(folder, std::string("5=") + c.value + "\r\n");
        for (int scheme = 0; scheme < 4; ++scheme)
            EXPECT_EQ(PaletteTableColour(5, scheme), c.schemes[scheme]) << c.value << " " << scheme;
    }
}

TEST(Palette, TheProjectFileKeepsItsOwnEntriesInsideTheRanges) {
    TestFolder folder;
    LoadPalettes(apptest::kDataDir.c_str());
    ASSERT_TRUE(ProgramPalette());
    EXPECT_EQ(PaletteTableCount(), 119);
    const auto file = [](int i) { return PaletteTableColour(i, 0); };
    // Chart colours 22, 28 and 30 keep the colours the file gives them.
    for (int i : {22, 23, 26, 27, 28, 29, 30, 31, 54, 86, 118})
        EXPECT_EQ(entryColour(i), file(i)) << i;
    EXPECT_NE(file(22), file(2));
    EXPECT_NE(file(28), file(2));
    EXPECT_NE(file(30), file(2));
    // The rest of each range takes its chart colour.
    EXPECT_EQ(entryColour(32), file(2));
    EXPECT_EQ(entryColour(53), file(2));
    EXPECT_EQ(entryColour(55), file(4));
    EXPECT_EQ(entryColour(85), file(4));
    EXPECT_EQ(entryColour(87), file(11));
    EXPECT_EQ(entryColour(117), file(11));
    EXPECT_EQ(entryColour(119), file(0));
    EXPECT_EQ(entryColour(235), file(0));
    // Below the ranges, the chart colours as numbered.
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(entryColour(i), file(i)) << i;
}

TEST(Palette, ARangeWhoseColourIsNotInTheTableIsBlack) {
    TestFolder folder;
    loadFile(folder, "0=0,0,0\r\n1=255,255,255\r\n");
    for (int i = 2; i < kFreePaletteEntries; ++i)
        EXPECT_EQ(entryColour(i), gdi::kBlack) << i;
    // A colour map entry far outside the table reads black as well.
    const std::uint32_t saved = _anSp57ColorsMap[11];
    _anSp57ColorsMap[11] = 100000;
    loadFile(folder, "0=0,0,0\r\n11=1,2,3\r\n");
    EXPECT_EQ(entryColour(90), gdi::kBlack);
    _anSp57ColorsMap[11] = saved;
}

TEST(Palette, SelectingASchemeChangesTheEntriesAndRedrawsOnce) {
    TestFolder folder;
    LoadPalettes(folder.path().c_str()); // no file
    EXPECT_FALSE(ProgramPalette());
    EXPECT_EQ(SelectPaletteScheme(0), -1);

    loadFile(folder, "0=0,0,0\r\n2=200,0,0|100,0,0|50,0,0|25,0,0\r\n");
    int redraws = 0;
    ProgramPalette()->addListener(&redraws, [&](const gdi::Palette&) { ++redraws; });
    EXPECT_EQ(SelectPaletteScheme(4), -1);
    EXPECT_EQ(SelectPaletteScheme(-1), -1);
    EXPECT_EQ(SelectPaletteScheme(0), 0);
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(SelectPaletteScheme(2), 0);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(CurrentPaletteScheme(), 2);
    EXPECT_EQ(entryColour(2), gdi::rgb(50, 0, 0));
    EXPECT_EQ(entryColour(40), gdi::rgb(50, 0, 0)); // the range of chart colour 2 follows
    EXPECT_EQ(SelectPaletteScheme(2), 0);
    EXPECT_EQ(redraws, 1);
    ProgramPalette()->removeListener(&redraws);
}

} // namespace
