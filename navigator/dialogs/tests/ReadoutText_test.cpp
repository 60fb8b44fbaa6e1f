// The read-outs' text and colour helpers.
#include "dialogs/ReadoutText.h"

#include "graphics/GraphicsLayer.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ReadoutText, BearingDistance) {
    const struct {
        double miles;
        bool metres;
        TDistanceText text;
    } cases[] = {
        {0.3, true, {"556", "mtr"}},    {0.3, false, {"0.30", "Nm"}},
        {12.34, true, {"12.3", "Nm"}},  {12.34, false, {"12.3", "Nm"}},
        {0.5, true, {"0.50", "Nm"}},    {0.4999, true, {"926", "mtr"}},
        {9.999, true, {"10.00", "Nm"}}, {10, true, {"10.0", "Nm"}},
        {0, true, {"0", "mtr"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BearingDistanceText(c.miles, c.metres), c.text) << c.miles << " " << c.metres;
}

TEST(ReadoutText, TimeToGo) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double distance, speed;
        const char* text;
    } cases[] = {
        {25, 10, "2 t. 30 m."},    // above an hour
        {2.5, 5, "30 m. 00 s."},   // below an hour
        {10, 10, "60 m. 00 s."},   // exactly an hour is not above it
        {0.1, 7, "0 m. 51 s."},    // 51.43 s, whole seconds
        {1, 0, ".............. "}, // no speed
        {1, -2, ".............. "}, {inf, 5, ".............. "}, {1e12, 0.001, ".............. "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeToGoText(c.distance, c.speed), c.text) << c.distance << " / " << c.speed;
}

TEST(ReadoutText, GroupingBlanksAndWhiteSpace) {
    EXPECT_EQ(GroupInThrees("1500000"), "1 500 000");
    EXPECT_EQ(GroupInThrees("1 500 000"), "1 500 000");
    std::string text = "N";
    AppendBlanks(text, 3);
    EXPECT_EQ(text, "N   ");
    AppendBlanks(text, -1);
    EXPECT_EQ(text, "N   ");
    text = " 60\xB0 24.000\tN\r\n";
    RemoveWhiteSpace(text);
    EXPECT_EQ(text, "60\xB0"
                    "24.000N");
}

TEST(ReadoutText, TextColourByTypeAndIllumination) {
    const struct {
        int type;
        bool r, g, b;
    } types[] = {{1, 1, 0, 0}, {2, 0, 0, 1}, {3, 0, 1, 0}, {4, 1, 1, 0},
                 {5, 1, 0, 1}, {6, 0, 0, 0}, {0, 0, 0, 0}, {7, 0, 0, 0}};
    const struct {
        int level;
        std::uint8_t lit;
    } levels[] = {{0, 255}, {1, 191}, {2, 127}, {3, 127}};
    for (const auto& t : types)
        for (const auto& l : levels)
            EXPECT_EQ(TextColourByType(t.type, l.level),
                      gdi::rgb(t.r ? l.lit : 0, t.g ? l.lit : 0, t.b ? l.lit : 0))
                << "type " << t.type << " level " << l.level;
}

TEST(ReadoutText, PaletteColourByType) {
    const struct {
        int type, level, chartColour;
    } cases[] = {
        {2, 0, 30}, {3, 0, 8}, {4, 0, 24}, {4, 1, 22}, {4, 2, 22},
        {5, 0, 28}, {6, 0, 0}, {1, 0, 4},  {0, 2, 4},  {9, 0, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PaletteColourByType(c.type, c.level), gdColour(c.chartColour))
            << "type " << c.type << " level " << c.level;
        EXPECT_TRUE(gdi::isPaletteIndex(PaletteColourByType(c.type, c.level)));
    }
    // Chart colour 24 is palette entry 86 through the colour map.
    EXPECT_EQ(PaletteColourByType(4, 0), gdi::paletteIndex(86));
}

} // namespace
