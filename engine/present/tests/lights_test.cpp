// The light procedure: flares, all-round circles, sector arcs with their
// legs, the bearing lines of narrow sectors, the filled forms of the detailed
// views, the colour tables, and the fan of flares on a structure.
#include "procedureKit.h"

#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"
#include "proj/Map.h"
#include "proj/MapObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

// A light's attributes as stored: limits and range in tenths.
struct LightSpec {
    std::optional<std::uint16_t> limit1 = {}, limit2 = {}, range = {};
    std::vector<std::uint8_t> colours = {};
    std::optional<float> orientation = {};
    bool onStructure = false;
};

void describe(kit::FakeObject& light, const LightSpec& s, Point at = {0, 0}) {
    if (s.limit1) light.set(kit::wordAttr(100, *s.limit1));
    if (s.limit2) light.set(kit::wordAttr(101, *s.limit2));
    if (s.range) light.set(kit::wordAttr(115, *s.range));
    if (s.orientation) light.set(kit::floatAttr(85, *s.orientation));
    if (!s.colours.empty()) light.set(kit::listAttr(59, s.colours));
    light.setParentFlag(s.onStructure);
    light.setGeometry(kit::point(at.x, at.y));
}

kit::Settings with(int details, int presMode = 0, int scaleExponent = 0) {
    kit::Settings s;
    s.details = details;
    s.presMode = presMode;
    s.scaleExponent = scaleExponent;
    return s;
}

// Bearing of b seen from a, degrees in [0, 360).
double bearing(Point a, Point b) {
    double deg = std::atan2(double(b.x - a.x), double(b.y - a.y)) * 180 / M_PI;
    return deg < 0 ? deg + 360 : deg;
}
double distance(Point a, Point b) {
    return std::hypot(double(b.x - a.x), double(b.y - a.y));
}
// The smallest difference of two bearings.
double turn(double a, double b) {
    const double d = std::fabs(std::fmod(a - b + 540.0, 360.0) - 180.0);
    return d;
}

int radiusOf(const kit::Call& c) {
    return (c.boxes.at(0).right - c.boxes.at(0).left) / 2;
}
Point centreOf(const kit::Call& c) {
    const Rect& b = c.boxes.at(0);
    return Point{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
}

// The solid lines of a colour and width, as (from, to).
std::vector<std::pair<Point, Point>> lines(const kit::Drawing& d, int colour, int width) {
    std::vector<std::pair<Point, Point>> out;
    for (const kit::Call& c : d.solidLines(colour, width))
        if (c.points.size() == 2) out.emplace_back(c.points[0], c.points[1]);
    return out;
}

// A flare glyph (font 34, code 4) as its colour, point and angle.
struct Flare {
    int colour;
    Point at;
    int angle;
};
std::vector<Flare> flares(const kit::Drawing& d) {
    std::vector<Flare> out;
    for (const kit::Call& c : d.texts(34))
        if (c.codes == std::vector<int>{4} && !c.points.empty())
            out.push_back({c.colour, c.points[0], int(std::lround(c.angle))});
    return out;
}
int mod360(int a) {
    return ((a % 360) + 360) % 360;
}

class Lights : public kit::ProcedureTest {};

// ---------------------------------------------------------------- the chart's cases

struct LightCase {
    const char* name;
    LightSpec light;
    kit::Settings settings;
    std::function<void(const kit::Drawing&)> check;
};

TEST_F(Lights, ChartCases) {
    const LightCase cases[] = {
        {"range 3 without sectors: a flare at 315 moved by element 1's offset, then glyph 49",
         {{}, {}, 30, {3}},
         with(0),
         [](const kit::Drawing& d) {
             const std::vector<Flare> f = flares(d);
             ASSERT_EQ(f.size(), 1u) << d.log();
             EXPECT_EQ(f[0].colour, kit::paletteIndex(2));
             EXPECT_EQ(f[0].angle, 315);
             EXPECT_EQ(f[0].at.x, 0);
             EXPECT_EQ(f[0].at.y, 4);
             EXPECT_TRUE(d.hasGlyph(35, 49, 0, {0, 4})) << d.log();
             EXPECT_TRUE(d.of("Ellipse").empty());
         }},
        {"no range counts as 4.0: a flare, no circle",
         {{}, {}, {}, {4}},
         with(0),
         [](const kit::Drawing& d) {
             ASSERT_EQ(flares(d).size(), 1u) << d.log();
             EXPECT_EQ(flares(d)[0].colour, kit::paletteIndex(4));
             EXPECT_TRUE(d.of("Ellipse").empty());
             EXPECT_TRUE(d.hasGlyph(35, 49, 0, {0, 4})) << d.log();
         }},
        {"range 20, three colours: circles r, r - 3, r - 6 in width 3, then glyph 86 unmoved",
         {{}, {}, 200, {3, 4, 1}},
         with(0),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> e = d.of("Ellipse");
             ASSERT_EQ(e.size(), 3u) << d.log();
             const int colours[] = {2, 4, 11};
             for (int i = 0; i < 3; ++i) {
                 EXPECT_EQ(radiusOf(e[i]), 50 - 3 * i) << i;
                 EXPECT_EQ(e[i].penWidth, 3) << i;
                 EXPECT_EQ(e[i].penColour, kit::paletteIndex(colours[i])) << i;
                 EXPECT_EQ(centreOf(e[i]).x, 0);
                 EXPECT_EQ(centreOf(e[i]).y, 0);
             }
             EXPECT_TRUE(flares(d).empty());
             EXPECT_TRUE(d.hasGlyph(35, 86, 0, {0, 0})) << d.log();
         }},
        {"range 7 at scale exponent 2: one circle of (7 * 2 + 10) * 2 in width 2",
         {{}, {}, 70, {1}},
         with(0, 0, 2),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> e = d.of("Ellipse");
             ASSERT_EQ(e.size(), 1u) << d.log();
             EXPECT_EQ(radiusOf(e[0]), 48);
             EXPECT_EQ(e[0].penWidth, 2);
             EXPECT_EQ(e[0].penColour, kit::paletteIndex(11));
         }},
        {"limits 10.0 and 10.3: one bearing line, no arc",
         {100, 103, 100, {4}},
         with(0),
         [](const kit::Drawing& d) {
             EXPECT_TRUE(d.of("Arc").empty()) << d.log();
             const auto l = lines(d, 4, 3);
             ASSERT_EQ(l.size(), 1u) << d.log();
             EXPECT_NEAR(distance({0, 0}, l[0].first), 5, 1);
             EXPECT_NEAR(distance({0, 0}, l[0].second), 30, 1);
             EXPECT_LT(turn(bearing({0, 0}, l[0].second), 190.15), 2);
             EXPECT_FALSE(d.dashPixels(0).empty()) << "the dashed line over it";
         }},
        {"limits 0 and 360: a full arc and no legs",
         {0, 3600, 100, {4}},
         with(0),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> a = d.of("Arc");
             ASSERT_EQ(a.size(), 1u) << d.log();
             EXPECT_EQ(radiusOf(a[0]), 30);
             ASSERT_EQ(a[0].points.size(), 2u);
             EXPECT_EQ(a[0].points[0].x, a[0].points[1].x);
             EXPECT_EQ(a[0].points[0].y, a[0].points[1].y);
             EXPECT_TRUE(lines(d, 0, 1).empty()) << d.log();
         }},
        {"limits 90 and 180, two colours: arcs clockwise from 270 to 360 and two legs",
         {900, 1800, 100, {3, 4}},
         with(0),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> a = d.of("Arc");
             ASSERT_EQ(a.size(), 2u) << d.log();
             for (int i = 0; i < 2; ++i) {
                 EXPECT_EQ(radiusOf(a[i]), 30 - 3 * i);
                 EXPECT_EQ(a[i].penWidth, 2);
                 // Recorded from its start (north) to its end (west).
                 EXPECT_LT(turn(bearing({0, 0}, a[i].points[0]), 0), 1) << i;
                 EXPECT_LT(turn(bearing({0, 0}, a[i].points[1]), 270), 1) << i;
             }
             const auto legs = lines(d, 0, 1);
             ASSERT_EQ(legs.size(), 2u) << d.log();
             EXPECT_LT(turn(bearing({0, 0}, legs[0].second), 270), 1);
             EXPECT_LT(turn(bearing({0, 0}, legs[1].second), 0), 1);
             EXPECT_NEAR(distance({0, 0}, legs[0].second), 35, 0.5);
         }},
        {"presentation mode 1: colour code 1 in colour 24, the pie inverted by exclusive-or",
         {900, 1800, 100, {1}},
         with(2, 1),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> p = d.of("Pie");
             ASSERT_EQ(p.size(), 1u) << d.log();
             EXPECT_EQ(p[0].rop, "xor");
             EXPECT_EQ(p[0].bkColour, kit::paletteIndex(24));
             EXPECT_EQ(kit::paletteIndex(24), 86);
         }},
        {"colour code 20 takes entry 0",
         {{}, {}, 100, {20}},
         with(0),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> e = d.of("Ellipse");
             ASSERT_EQ(e.size(), 1u) << d.log();
             EXPECT_EQ(e[0].penColour, kit::paletteIndex(14));
         }},
        {"colour code 20 in presentation mode 1 takes entry 0 of the second table",
         {{}, {}, 100, {20}},
         with(0, 1),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> e = d.of("Ellipse");
             ASSERT_EQ(e.size(), 1u) << d.log();
             EXPECT_EQ(e[0].penColour, kit::paletteIndex(22));
         }},
        {"an orientation turns the flare: 360 - 100",
         {{}, {}, 30, {3}, 100.0f},
         with(0),
         [](const kit::Drawing& d) {
             ASSERT_EQ(flares(d).size(), 1u) << d.log();
             EXPECT_EQ(flares(d)[0].angle, 260);
         }},
        {"a not-a-number orientation: the flare at its default angle",
         {{}, {}, 30, {3}, std::numeric_limits<float>::quiet_NaN()},
         with(0),
         [](const kit::Drawing& d) {
             ASSERT_EQ(flares(d).size(), 1u) << d.log();
             EXPECT_EQ(flares(d)[0].angle, 315);
         }},
        {"without colours only the light's symbol, unmoved",
         {900, 1800, 100, {}},
         with(0),
         [](const kit::Drawing& d) {
             ASSERT_EQ(d.calls().size(), 1u) << d.log();
             EXPECT_TRUE(d.hasGlyph(35, 49, 0, {0, 0})) << d.log();
         }},
        {"without colours on a structure: nothing",
         {{}, {}, 30, {}, {}, true},
         with(0),
         [](const kit::Drawing& d) { EXPECT_TRUE(d.calls().empty()) << d.log(); }},
        {"details 2 without sectors: a circle filled with pattern 12 in width 2",
         {{}, {}, 5, {4}},
         with(2),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> e = d.of("Ellipse");
             ASSERT_EQ(e.size(), 2u) << d.log(); // the mask and the colour pass
             EXPECT_EQ(e[0].rop, "mask");
             EXPECT_EQ(e[1].rop, "merge");
             EXPECT_EQ(e[1].bkColour, kit::paletteIndex(4));
             EXPECT_EQ(e[1].brush, "pattern/0000000000000001");
             EXPECT_EQ(e[1].penWidth, 2);
         }},
        {"details 2 with sectors: a pie of pattern 12 from the second limit to the first",
         {900, 1800, 5, {4}},
         with(2),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> p = d.of("Pie");
             ASSERT_EQ(p.size(), 2u) << d.log();
             EXPECT_EQ(p[1].rop, "merge");
             EXPECT_EQ(p[1].brush, "pattern/0000000000000001");
             EXPECT_LT(turn(bearing({0, 0}, p[1].points[0]), 0), 1);
             EXPECT_LT(turn(bearing({0, 0}, p[1].points[1]), 270), 1);
             EXPECT_TRUE(lines(d, 0, 1).empty()) << "no legs";
         }},
        {"details 1, narrow: a bearing line along the first limit from the light",
         {900, 902, 5, {4}},
         with(1),
         [](const kit::Drawing& d) {
             const auto l = lines(d, 4, 3);
             ASSERT_EQ(l.size(), 1u) << d.log();
             EXPECT_EQ(l[0].first.x, 0);
             EXPECT_EQ(l[0].first.y, 0);
             EXPECT_LT(turn(bearing({0, 0}, l[0].second), 270), 0.5);
             EXPECT_FALSE(d.dashPixels(0).empty());
         }},
        {"details 1, a narrow-angled sector on a short radius: a pie of pattern 8 and legs",
         {900, 920, 5, {4}},
         with(1),
         [](const kit::Drawing& d) {
             const std::vector<kit::Call> p = d.of("Pie");
             ASSERT_EQ(p.size(), 2u) << d.log();
             EXPECT_EQ(p[1].brush, "pattern/8800220088002200");
             EXPECT_EQ(lines(d, 0, 1).size(), 2u) << d.log();
             EXPECT_TRUE(d.of("Polygon").empty());
         }},
    };
    for (const LightCase& c : cases) {
        SCOPED_TRACE(c.name);
        kit::FakeObject light(86);
        describe(light, c.light);
        c.check(kit::run(Int1Proc86, light, c.settings));
    }
}

// ---------------------------------------------------------------- mends

TEST_F(Lights, SectorsAcrossNorth) {
    // Limits 350 and 10 at details 1: the band lies about bearing 180, the
    // bearings the light shines on, with its meeting point on the bisector.
    kit::FakeObject band(86);
    describe(band, {3500, 100, 5, {4}});
    kit::Drawing d = kit::run(Int1Proc86, band, with(1));
    const std::vector<kit::Call> polygons = d.of("Polygon");
    ASSERT_EQ(polygons.size(), 2u) << d.log();
    const std::vector<Point>& p = polygons[1].points;
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[0].y, 0);
    for (int i = 1; i < 3; ++i) {
        EXPECT_NEAR(p[i].x, -p[6 - i].x, 1) << i << "\n" << d.log();
        EXPECT_EQ(p[i].y, p[6 - i].y) << i;
        EXPECT_LT(p[i].y, 0) << i;
    }
    EXPECT_NEAR(p[3].x, 0, 1);
    EXPECT_NEAR(p[3].y, -17, 1) << "3 / sin 10";
    // The two legs run to the sector's limits seen from the light.
    const auto legs = lines(d, 0, 1);
    ASSERT_EQ(legs.size(), 2u);
    EXPECT_LT(turn(bearing({0, 0}, legs[0].second), 170), 1);
    EXPECT_LT(turn(bearing({0, 0}, legs[1].second), 190), 1);

    // A narrow sector across north is one bearing line toward 180, at
    // details 0 (along the bisector) as at details 1 (along the first limit).
    for (int details : {0, 1}) {
        SCOPED_TRACE(details);
        kit::FakeObject narrow(86);
        describe(narrow, {3598, 1, 100, {4}});
        d = kit::run(Int1Proc86, narrow, with(details));
        EXPECT_TRUE(d.of("Arc").empty());
        EXPECT_TRUE(d.of("Pie").empty());
        const auto l = lines(d, 4, 3);
        ASSERT_EQ(l.size(), 1u) << d.log();
        EXPECT_LT(turn(bearing({0, 0}, l[0].second), 180), 1) << d.log();
    }

    // The full turn at details 1: a whole pie (equal limits), no polygon.
    kit::FakeObject full(86);
    describe(full, {0, 3600, 5, {4}});
    d = kit::run(Int1Proc86, full, with(1));
    EXPECT_TRUE(d.of("Polygon").empty()) << d.log();
    const std::vector<kit::Call> pies = d.of("Pie");
    ASSERT_EQ(pies.size(), 2u) << d.log();
    EXPECT_EQ(pies[1].points[0].x, pies[1].points[1].x);
    EXPECT_EQ(pies[1].points[0].y, pies[1].points[1].y);
}

TEST_F(Lights, NoRingBelowARadiusOfOne) {
    // Ten colours (eleven given: ten are kept) about a radius of 14 at
    // details 1 and a radius of 10 at details 0: only the rings of radius 1
    // or more.
    const std::vector<std::uint8_t> colours = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    struct Row {
        int details;
        LightSpec light;
    };
    const Row rows[] = {{1, {{}, {}, 1, colours}}, {0, {900, 1800, 0, colours}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.details);
        kit::FakeObject light(86);
        describe(light, row.light);
        const kit::Drawing d = kit::run(Int1Proc86, light, with(row.details));
        std::vector<kit::Call> rings = d.of("Ellipse");
        const std::vector<kit::Call> arcs = d.of("Arc");
        rings.insert(rings.end(), arcs.begin(), arcs.end());
        ASSERT_FALSE(rings.empty()) << d.log();
        const int r = radiusOf(rings[0]);
        EXPECT_EQ(int(rings.size()), std::min(10, (r - 1) / 3 + 1)) << d.log();
        for (const kit::Call& c : rings)
            EXPECT_GE(radiusOf(c), 1) << c.line;
    }
}

// ---------------------------------------------------------------- structures

TEST_F(Lights, FlaresOnAStructureFanOut) {
    StructureAnchors[1] = Point{3, -5};
    LightStackCount = 2;
    kit::FakeObject light(86);
    describe(light, {{}, {}, 30, {3, 4}, {}, true}, {10, 20});
    const kit::Drawing d = kit::run(Int1Proc86, light);
    const std::vector<Flare> f = flares(d);
    ASSERT_EQ(f.size(), 2u) << d.log();
    // 225 turned back 45 for each flare before them and each colour.
    EXPECT_EQ(mod360(f[0].angle), 135);
    EXPECT_EQ(mod360(f[1].angle), 90);
    EXPECT_EQ(f[0].colour, kit::paletteIndex(2));
    EXPECT_EQ(f[1].colour, kit::paletteIndex(4));
    for (const Flare& x : f) {
        EXPECT_EQ(x.at.x, 13);
        EXPECT_EQ(x.at.y, 15);
    }
    EXPECT_EQ(LightStackCount, 4);
    EXPECT_TRUE(d.texts(35).empty()) << "no light glyph of its own";

    // Lights on their own fan the other way and count their flares too.
    kit::FakeObject free(86);
    describe(free, {{}, {}, 30, {3, 4, 1}});
    const std::vector<Flare> g = flares(kit::run(Int1Proc86, free));
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(mod360(g[0].angle), 315);
    EXPECT_EQ(mod360(g[1].angle), 0);
    EXPECT_EQ(mod360(g[2].angle), 45);
    EXPECT_EQ(LightStackCount, 7);
}

// ---------------------------------------------------------------- the map's radius

TEST_F(Lights, RadiusFollowsTheMapAtDetailsOne) {
    // At the kit's scale of 1:50,000 with 3780 plane units (pixels) per chart
    // metre, a nautical mile is 1852 / 50000 * 3780 = 140 pixels.
    struct Row {
        std::uint16_t range; // tenths of a mile
        double pixels;
    };
    for (const Row row : {Row{5, 70.0}, Row{2, 28.0}, Row{8, 112.0}}) {
        SCOPED_TRACE(row.range);
        kit::FakeObject light(86);
        describe(light, {{}, {}, row.range, {4}});
        const kit::Drawing d = kit::run(Int1Proc86, light, with(1));
        const std::vector<kit::Call> e = d.of("Ellipse");
        ASSERT_EQ(e.size(), 1u) << d.log();
        EXPECT_NEAR(radiusOf(e[0]), row.pixels, row.pixels * 0.01 + 1);
        EXPECT_EQ(e[0].penWidth, 2);
        EXPECT_TRUE(d.hasGlyph(35, 49, 0, {0, 0})) << "not moved without a flare";
    }
    // Ranges beyond the view stop at its diagonal (about 250 * sqrt 2), in
    // width 3 above 15 miles.
    int capped = -1;
    for (std::uint16_t range : {100, 300, 65535}) {
        kit::FakeObject light(86);
        describe(light, {{}, {}, range, {4}});
        const kit::Drawing d = kit::run(Int1Proc86, light, with(1));
        const std::vector<kit::Call> e = d.of("Ellipse");
        ASSERT_EQ(e.size(), 1u) << d.log();
        if (capped < 0) capped = radiusOf(e[0]);
        EXPECT_EQ(radiusOf(e[0]), capped) << range;
        EXPECT_EQ(e[0].penWidth, range > 150 ? 3 : 2);
    }
    EXPECT_NEAR(capped, 354, 2);
}

// ---------------------------------------------------------------- the window's azimuth

// A window transform turned by an azimuth.
class TurnedWin : public Map::Win {
  public:
    explicit TurnedWin(float degrees) : Map::Win(nullptr), degrees_(degrees) {}
    float getAzimuth(int mode) override {
        return mode == 0 ? degrees_ : float(degrees_ * M_PI / 180);
    }

  private:
    float degrees_;
};

// Draws the object by procedure on a window turned by the azimuth.
kit::Drawing turned(float azimuth, CondSymbProc procedure, kit::FakeObject& object,
                    const kit::Geometry& geometry, const kit::Settings& settings = {}) {
    return kit::record(
        [&](TMapContext& context) {
            TurnedWin win(azimuth);
            Map::Win* old = context.map->win;
            context.map->win = &win;
            MapObject m(egtEmpty, -1);
            geometry.fill(m);
            procedure(&context, &object, &m);
            context.map->win = old;
        },
        settings);
}

TEST_F(Lights, TurnWithTheWindow) {
    // On a window turned by 30 degrees, bearings show 30 degrees less.
    kit::FakeObject flare(86);
    describe(flare, {{}, {}, 30, {3}, 100.0f});
    std::vector<Flare> f = flares(turned(30, Int1Proc86, flare, kit::point(0, 0)));
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].angle, 290);

    kit::FakeObject sector(86);
    describe(sector, {900, 1800, 100, {4}});
    const kit::Drawing d = turned(30, Int1Proc86, sector, kit::point(0, 0));
    const std::vector<kit::Call> a = d.of("Arc");
    ASSERT_EQ(a.size(), 1u) << d.log();
    EXPECT_LT(turn(bearing({0, 0}, a[0].points[0]), 330), 1);
    EXPECT_LT(turn(bearing({0, 0}, a[0].points[1]), 240), 1);
}

// ---------------------------------------------------------------- pixels

TEST_F(Lights, PixelsOfTheSectors) {
    // Limits 90 and 180: the light shines into the north-west quadrant.
    kit::FakeObject arc(86);
    describe(arc, {900, 1800, 100, {4}});
    const QImage a = kit::runRaster(Int1Proc86, arc, with(0));
    const auto inkNear = [&](const QImage& picture, Point at) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (kit::pixelAt(picture, {at.x + dx, at.y + dy}) == kit::chartRgb(4)) return true;
        return false;
    };
    EXPECT_TRUE(inkNear(a, {-21, 21})) << "bearing 315 at 30 pixels";
    EXPECT_FALSE(inkNear(a, {21, -21})) << "bearing 135";
    EXPECT_FALSE(inkNear(a, {21, 21})) << "bearing 45";

    // Limits 350 and 10 at details 1: the band lies south of the light.
    kit::FakeObject band(86);
    describe(band, {3500, 100, 5, {4}});
    const QImage b = kit::runRaster(Int1Proc86, band, with(1));
    int north = 0, south = 0;
    for (int y = -127; y < 128; ++y)
        for (int x = -127; x < 128; ++x)
            if (kit::pixelAt(b, {x, y}) == kit::chartRgb(4)) ++(y > 0 ? north : south);
    EXPECT_EQ(north, 0);
    EXPECT_GT(south, 20);
}

// ---------------------------------------------------------------- gallery

TEST_F(Lights, Gallery) {
    struct Cell {
        const char* label;
        LightSpec light;
        kit::Settings settings;
    };
    const Cell cells[] = {
        {"flare r3", {{}, {}, 30, {3}}, with(0)},
        {"flare 3 colours", {{}, {}, 30, {3, 4, 1}}, with(0)},
        {"flare on buoy", {{}, {}, 30, {3, 4}, {}, true}, with(0)},
        {"flare orient 100", {{}, {}, 30, {4}, 100.0f}, with(0)},
        {"circle r7", {{}, {}, 70, {1}}, with(0)},
        {"circles r20 x3", {{}, {}, 200, {3, 4, 1}}, with(0)},
        {"sector 90-180", {900, 1800, 80, {3}}, with(0)},
        {"sectors 2 col", {300, 1350, 80, {4, 1}}, with(0)},
        {"narrow 10/10.3", {100, 103, 80, {4}}, with(0)},
        {"full 0/360", {0, 3600, 80, {4}}, with(0)},
        {"across N 350/10", {3500, 100, 80, {4}}, with(0)},
        {"narrow 359.8/0.1", {3598, 1, 80, {4}}, with(0)},
        {"d1 band 90-180", {900, 1800, 6, {4}}, with(1)},
        {"d1 band 350/10", {3500, 100, 6, {4}}, with(1)},
        {"d1 pie narrow", {900, 920, 6, {4}}, with(1)},
        {"d1 circle", {{}, {}, 6, {3, 4}}, with(1)},
        {"d2 pie", {900, 1800, 6, {4}}, with(2)},
        {"d2 fill", {{}, {}, 6, {3}}, with(2)},
        {"mode1 d2 pie xor", {900, 1800, 6, {1}}, with(2, 1)},
        {"no colour", {900, 1800, 80, {}}, with(0)},
    };
    kit::Gallery gallery("lights", 128, 5);
    for (const Cell& c : cells) {
        kit::FakeObject light(86);
        describe(light, c.light);
        gallery.add(c.label, Int1Proc86, light, c.settings);
        kit::resetDrawingState();
    }
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
