// The command line of chartview as a table of argument lists and what they
// give, and the scales of a view at each chart level.
#include "ChartLevels.h"
#include "ViewRequest.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace {

using namespace chartview;
using Args = std::vector<std::string>;

// The README's command without its scale.
Args base(Args more = {}) {
    Args a{"--chart", "data/sample/kv71", "--dict", "data/dict", "--lat", "60.398", "--lon", "5.30",
           "--out",   "harbour.png"};
    a.insert(a.end(), more.begin(), more.end());
    return a;
}

struct Accepted {
    Args args;
    int level;
    std::uint32_t scale;
    int width = 1920, height = 1080, scheme = SchemeDay;
    std::string palette = "data/ECPALETT.INI";
};

TEST(CommandLine, AcceptsEveryOptionWithinItsBoundsAndFillsTheDefaults) {
    const std::vector<Accepted> cases = {
        // The level rule: the nearest display scale by ratio.
        {base({"--scale", "15000"}), 5, 15000},
        {base({"--scale", "20000"}), 5, 20000},
        {base({"--scale", "50000"}), 4, 50000},
        {base({"--scale", "20000000"}), 7, 20000000},
        {base({"--scale", "10606"}), 6, 10606}, // just below the midpoint of 7500 and 15000
        {base({"--scale", "10607"}), 5, 10607},
        {base({"--scale", "100"}), 6, 100},
        {base({"--scale", "100000000"}), 7, 100000000},
        // A level alone takes its own display scale; both are taken as given.
        {base({"--level", "4"}), 4, 30000},
        {base({"--level", "2"}), 2, 300000},
        {base({"--level", "0"}), 0, 3000000},
        {base({"--level", "7"}), 7, 20000000},
        {base({"--level", "5", "--scale", "7500"}), 5, 7500},
        {base({"--scale", "7500", "--level", "5"}), 5, 7500},
        // Size, scheme and palette.
        {base({"--scale", "15000", "--size", "640x360"}), 5, 15000, 640, 360},
        {base({"--level", "5", "--size", "16x8192"}), 5, 15000, 16, 8192},
        {base({"--level", "5", "--size", "8192x16"}), 5, 15000, 8192, 16},
        {base({"--level", "5", "--scheme", "dusk"}), 5, 15000, 1920, 1080, SchemeDusk},
        {base({"--level", "5", "--scheme", "night"}), 5, 15000, 1920, 1080, SchemeNight},
        {base({"--level", "5", "--scheme", "darknight"}), 5, 15000, 1920, 1080, SchemeDarkNight},
        {base({"--level", "5", "--scheme", "day"}), 5, 15000},
        {base({"--level", "5", "--palette", "/etc/colours.ini"}), 5, 15000, 1920, 1080, SchemeDay,
         "/etc/colours.ini"},
    };
    for (const Accepted& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        const ParsedCommandLine p = parseCommandLine(c.args);
        ASSERT_EQ(p.outcome, ParsedCommandLine::Run) << p.error;
        EXPECT_EQ(p.request.level, c.level);
        EXPECT_EQ(p.request.scale, c.scale);
        EXPECT_EQ(p.request.width, c.width);
        EXPECT_EQ(p.request.height, c.height);
        EXPECT_EQ(p.request.scheme, c.scheme);
        EXPECT_EQ(p.request.palette, c.palette);
        EXPECT_EQ(p.request.chartRoot, "data/sample/kv71");
        EXPECT_EQ(p.request.dictionary, "data/dict");
        EXPECT_EQ(p.request.output, "harbour.png");
        EXPECT_DOUBLE_EQ(p.request.latDeg, 60.398);
        EXPECT_DOUBLE_EQ(p.request.lonDeg, 5.30);
    }
}

TEST(CommandLine, ReadsCoordinatesInCNumberSyntaxToTheirBounds) {
    const struct {
        std::string lat, lon;
        double latDeg, lonDeg;
    } cases[] = {
        {"-80", "-180", -80, -180}, {"80", "180", 80, 180},        {"+60.5", "+5", 60.5, 5},
        {"6.04e1", "-0", 60.4, 0},  {"0.000001", ".5", 1e-6, 0.5},
    };
    // A decimal comma locale changes nothing.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where the machine has it
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lat + " " + c.lon);
        const ParsedCommandLine p =
            parseCommandLine({"--chart", "c", "--dict", "d", "--lat", c.lat, "--lon", c.lon,
                              "--out", "o", "--level", "1"});
        ASSERT_EQ(p.outcome, ParsedCommandLine::Run) << p.error;
        EXPECT_DOUBLE_EQ(p.request.latDeg, c.latDeg);
        EXPECT_DOUBLE_EQ(p.request.lonDeg, c.lonDeg);
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(CommandLine, RefusesBadArgumentsNamingThem) {
    const struct {
        Args args;
        std::string named; // the error names this argument
    } cases[] = {
        {base({"--scale", "15000", "--zoom", "2"}), "--zoom"},
        {base({"--scale", "15000", "extra"}), "extra"},
        {base({"--scale", "15000", "--chart=x"}), "--chart=x"},
        {base({"--scale", "15000", "--lat", "60"}), "--lat"},
        {base({"--scale", "15000", "--scale", "20000"}), "--scale"},
        {base({"--scale"}), "--scale"},
        {base({"--level", "5", "--out"}), "--out"},
        {{"--dict", "d", "--lat", "60", "--lon", "5", "--out", "o", "--level", "1"}, "--chart"},
        {{"--chart", "c", "--lat", "60", "--lon", "5", "--out", "o", "--level", "1"}, "--dict"},
        {{"--chart", "c", "--dict", "d", "--lon", "5", "--out", "o", "--level", "1"}, "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", "60", "--out", "o", "--level", "1"}, "--lon"},
        {{"--chart", "c", "--dict", "d", "--lat", "60", "--lon", "5", "--level", "1"}, "--out"},
        {base(), "--scale"},
        {base({"--level", "5", "--palette", ""}), "--palette"},
        {{"--chart", "c", "--dict", "d", "--lat", "80.0001", "--lon", "5", "--out", "o", "--level",
          "1"},
         "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", "-80.5", "--lon", "5", "--out", "o", "--level",
          "1"},
         "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", "60,4", "--lon", "5", "--out", "o", "--level",
          "1"},
         "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", "nan", "--lon", "5", "--out", "o", "--level",
          "1"},
         "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", " 60", "--lon", "5", "--out", "o", "--level",
          "1"},
         "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", "", "--lon", "5", "--out", "o", "--level", "1"},
         "--lat"},
        {{"--chart", "c", "--dict", "d", "--lat", "60", "--lon", "180.01", "--out", "o", "--level",
          "1"},
         "--lon"},
        {{"--chart", "c", "--dict", "d", "--lat", "60", "--lon", "5E", "--out", "o", "--level",
          "1"},
         "--lon"},
        {{"--chart", "c", "--dict", "d", "--lat", "60", "--lon", "inf", "--out", "o", "--level",
          "1"},
         "--lon"},
        {base({"--scale", "99"}), "--scale"},
        {base({"--scale", "100000001"}), "--scale"},
        {base({"--scale", "15000.0"}), "--scale"},
        {base({"--scale", "-15000"}), "--scale"},
        {base({"--scale", "+15000"}), "--scale"},
        {base({"--scale", "1e5"}), "--scale"},
        {base({"--scale", "99999999999999999999"}), "--scale"},
        {base({"--level", "8"}), "--level"},
        {base({"--level", "-1"}), "--level"},
        {base({"--level", "4x"}), "--level"},
        {base({"--level", "5", "--size", "15x100"}), "--size"},
        {base({"--level", "5", "--size", "100x8193"}), "--size"},
        {base({"--level", "5", "--size", "640"}), "--size"},
        {base({"--level", "5", "--size", "640x"}), "--size"},
        {base({"--level", "5", "--size", "640X360"}), "--size"},
        {base({"--level", "5", "--size", "640x360x2"}), "--size"},
        {base({"--level", "5", "--scheme", "noon"}), "--scheme"},
        {base({"--level", "5", "--scheme", "Day"}), "--scheme"},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += "'" + a + "' ";
        SCOPED_TRACE(line);
        const ParsedCommandLine p = parseCommandLine(c.args);
        ASSERT_EQ(p.outcome, ParsedCommandLine::Error);
        EXPECT_NE(p.error.find(c.named), std::string::npos) << p.error;
    }
}

TEST(CommandLine, HelpWinsWhereverItStands) {
    EXPECT_EQ(parseCommandLine({"--help"}).outcome, ParsedCommandLine::Help);
    EXPECT_EQ(parseCommandLine(base({"--scale", "9", "--help"})).outcome, ParsedCommandLine::Help);
    EXPECT_EQ(parseCommandLine({}).outcome, ParsedCommandLine::Error);
    EXPECT_NE(std::string(usageText()).find("--scheme"), std::string::npos);
}

TEST(CommandLine, ThePaletteDefaultsToTheFolderAboveTheDictionaries) {
    const struct {
        std::string dict, palette;
    } cases[] = {
        {"data/dict", "data/ECPALETT.INI"},
        {"data/dict/", "data/ECPALETT.INI"},
        {"/srv/chart/dict//", "/srv/chart/ECPALETT.INI"},
        {"dict", "ECPALETT.INI"},
        {".", "../ECPALETT.INI"},
        {"..", "../../ECPALETT.INI"},
        {"/dict", "/ECPALETT.INI"},
        {"/", "/ECPALETT.INI"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultPalettePath(c.dict), c.palette) << c.dict;
}

// The road's numbers: the query at the level scale, the engine scale level it
// reads, and the scale exponent frexp(L / s) - 1.
TEST(ChartLevels, GiveTheQueryScaleItsLevelAndTheExponent) {
    const struct {
        int level;
        std::uint32_t display;
        unsigned long query;
        char letter;
        int exponent;
        double zoom;
    } cases[] = {
        {5, 15000, 20000, 'F', 0, 1},       {5, 7500, 20000, 'F', 1, 2},
        {5, 3750, 20000, 'F', 2, 4},        {5, 40000, 20000, 'F', -1, 0.375},
        {4, 30000, 50000, 'E', 0, 1},       {4, 50000, 50000, 'E', 0, 0.6},
        {2, 300000, 200000, 'C', -1, 1},    {6, 7500, 7500, 'G', 0, 1},
        {7, 20000000, 20000000, 'Z', 0, 1}, {0, 3000000, 3000000, 'A', 0, 1},
        {1, 1000000, 1000000, 'B', 0, 1},   {3, 100000, 100000, 'D', 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.level) + " at 1:" + std::to_string(c.display));
        const ViewScales v = viewScales(c.level, c.display);
        EXPECT_EQ(v.queryScale, c.query);
        EXPECT_EQ(v.levelLetter, c.letter);
        EXPECT_EQ(v.scaleExponent, c.exponent);
        EXPECT_DOUBLE_EQ(v.zoom, c.zoom);
    }
    // The depth zones of the drawing pass by level.
    EXPECT_DOUBLE_EQ(depthZoneLimits(1)[3], 1000);
    EXPECT_DOUBLE_EQ(depthZoneLimits(3)[0], 10);
    EXPECT_DOUBLE_EQ(depthZoneLimits(4)[2], 20);
    EXPECT_DOUBLE_EQ(depthZoneLimits(5)[2], 15);
    EXPECT_DOUBLE_EQ(depthZoneLimits(7)[0], 2);
}

} // namespace
