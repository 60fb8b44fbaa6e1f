// The symbology helpers: depth zones and their colours, the colour tables,
// the point of a segment at a distance and the distance from a line.
#include "procedureKit.h"

#include "graphics/GraphicsFonts.h"
#include "procedures/SymbologyHelpers.h"
#include "rendering/LineGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(DepthZones, ZoneAndColourOfADepth) {
    const double four[] = {2, 5, 10, 15};
    const double five[] = {2, 5, 10, 15, 20};
    struct Case {
        double depth;
        int count;
        const double* limits;
        int zone;
        int colour;
    };
    const Case cases[] =
        {
            {20, 4, four, 0, 1},   {1, 4, four, 1, 7},    {5, 4, four, 3, 9},
            {4.99, 4, four, 2, 8}, {14.9, 4, four, 4, 9}, {15, 4, four, 0, 1},
            {-3, 4, four, 1, 7},   {1, 0, four, 0, 1},    {100, 0, nullptr, 0, 1},
            {1, 3, nullptr, 0, 1}, {19, 5, five, 5, 9}, // beyond the table: zone 4's colour
            {25, 5, five, 0, 1},
        };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.depth << " among " << c.count);
        EXPECT_EQ(DepthZone(c.depth, c.count, c.limits), c.zone);
        EXPECT_EQ(DepthColours[DepthZone(c.depth, c.count, c.limits)], c.colour);
    }
}

TEST(ColourTables, PatternsAndCodesByRow) {
    struct Pattern {
        unsigned row;
        unsigned count;
        const char* name;
    };
    for (const Pattern& p : {Pattern{0, 0, nullptr}, Pattern{1, 1, "G"}, Pattern{8, 3, "BYB"},
                             Pattern{17, 2, "RG"}, Pattern{18, 0, nullptr}}) {
        SCOPED_TRACE(p.row);
        EXPECT_EQ(ColourPatternCount(p.row), p.count);
        if (p.name)
            EXPECT_STREQ(ColourPatternName(p.row), p.name);
        else
            EXPECT_EQ(ColourPatternName(p.row), nullptr);
    }
    EXPECT_EQ(ColourPatterns[8].colours[0], 0);
    EXPECT_EQ(ColourPatterns[8].colours[1], 11);
    EXPECT_EQ(ColourPatterns[8].colours[2], 0);
    EXPECT_EQ(ColourPatterns[12].colours[1], 2);

    struct Code {
        unsigned code;
        int colour;
        int light;
        const char* name;
    };
    for (const Code& c :
         {Code{0, 0, 0, nullptr}, Code{1, 1, 11, "W"}, Code{4, 5, 4, "G"}, Code{6, 11, 10, "Y"},
          Code{9, 3, 3, "Amb"}, Code{11, 11, 2, "Or"}, Code{12, 0, 0, nullptr}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ColourCodeColour(c.code), c.colour);
        EXPECT_EQ(LightColourCode(c.code), c.light);
        if (c.name)
            EXPECT_STREQ(ColourCodeName(c.code), c.name);
        else
            EXPECT_EQ(ColourCodeName(c.code), nullptr);
    }
}

void expectPoint(DoublePoint p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(SegmentPoint, CasesOfTheCircleAndTheLine) {
    DoublePoint out{-7, -7};
    // A vertical line through the circle: the point on the segment nearer c.
    ASSERT_EQ(SegmentPointAtDistance({0, 0}, 5, {3, -10}, {3, 10}, out), 0);
    expectPoint(out, 3, 4);
    // A horizontal line.
    ASSERT_EQ(SegmentPointAtDistance({0, 0}, 5, {-10, 4}, {10, 4}, out), 0);
    expectPoint(out, 3, 4);
    // Missing the circle: -1 and the out point untouched.
    out = {-7, -7};
    EXPECT_EQ(SegmentPointAtDistance({0, 0}, 1, {5, -10}, {5, 10}, out), -1);
    EXPECT_EQ(SegmentPointAtDistance({0, 0}, 1, {-10, 5}, {10, 5}, out), -1);
    EXPECT_EQ(SegmentPointAtDistance({0, 0}, 1, {0, 5}, {5, 0}, out), -1);
    expectPoint(out, -7, -7);
    // A sloped line touching the circle: its one point.
    ASSERT_EQ(SegmentPointAtDistance({0, 0}, 5, {7, 1}, {-1, 7}, out), 0);
    expectPoint(out, 3, 4);
}

TEST(SegmentPoint, TheAnswerLiesOnTheSegmentAheadOfA) {
    // In each of eight directions, a lies on the segment from b to c; b lies
    // inside the circle, or more than r behind a. The answer is r ahead of a.
    const double r = 5;
    const DoublePoint a{100, 50};
    const int dirs[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    for (const auto& dir : dirs) {
        const double len = std::hypot(dir[0], dir[1]);
        const DoublePoint u{dir[0] / len, dir[1] / len};
        for (double behind : {2.0, 12.0, 40.0}) {
            SCOPED_TRACE(::testing::Message() << "direction " << dir[0] << "," << dir[1] << ", b "
                                              << behind << " behind");
            const DoublePoint b{a.x - u.x * behind, a.y - u.y * behind};
            const DoublePoint c{a.x + u.x * 30, a.y + u.y * 30};
            DoublePoint out{0, 0};
            ASSERT_EQ(SegmentPointAtDistance(a, r, b, c, out), 0);
            expectPoint(out, a.x + u.x * r, a.y + u.y * r);
        }
    }
}

TEST(PointLine, DistanceAndSide) {
    struct Case {
        DoublePoint a, b, p;
        double distance;
        double side;
    };
    const double h = std::sqrt(2.0);
    const Case cases[] = {
        {{2, 0}, {2, 9}, {7.6, 0}, 5, -1},       // vertical, truncated
        {{2, 0}, {2, 9}, {-1.5, 3}, 3, 1},       // vertical, p on the left
        {{0, 4}, {9, 4}, {3, 10.9}, 6, 0},       // horizontal, truncated
        {{0, 0}, {4, 4}, {4, 0}, 4 / h, -1 / h}, // sloped: the line through the origin
        {{1, 0}, {5, 4}, {0, 4}, 5 / h, 1 / h},  // sloped, the constant term negative
        {{1, 0}, {5, 4}, {3, 2}, 0, 1 / h},      // a point of the line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.p.x << "," << c.p.y);
        double s = 99;
        EXPECT_NEAR(PointLineDistance(c.a, c.b, c.p, &s), c.distance, 1e-12);
        EXPECT_NEAR(s, c.side, 1e-12);
        EXPECT_NEAR(PointLineDistance(c.a, c.b, c.p, nullptr), c.distance, 1e-12);
    }
}

class GlyphAt : public kit::ProcedureTest {};

TEST_F(GlyphAt, DrawsInTheCurrentFont) {
    const kit::Drawing d = kit::record([](TMapContext&) {
        GD_SelFont(35);
        Point at{12, -8};
        DrawGlyphAt(&at, 49, 3);
        DrawGlyphAt(nullptr, 50, 3);
    });
    EXPECT_TRUE(d.hasGlyph(35, 49, 3, {12, -8})) << d.log();
    EXPECT_EQ(d.texts(35).size(), 1u);
}

} // namespace
