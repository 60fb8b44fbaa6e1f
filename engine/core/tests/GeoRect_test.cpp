#include "geo/GeoRect.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::int32_t D(long double degrees) {
    return deg2nrm(degrees);
}

TEST(GeoRect, PointTest) {
    const GeoRect r{D(10), D(20), D(30), D(40)};
    const GeoRect across{D(170), D(-10), D(-170), D(10)}; // 170 E to 170 W
    struct Case {
        const char* what;
        GeoPoint p;
        const GeoRect& r;
        int want;
    } cases[] = {
        {"inside", {D(20), D(30)}, r, 1},    {"south-west corner", {D(10), D(20)}, r, 1},
        {"west edge", {D(10), D(35)}, r, 1}, {"south edge", {D(25), D(20)}, r, 1},
        {"east edge", {D(30), D(30)}, r, 0}, {"north edge", {D(20), D(40)}, r, 0},
        {"west of it", {D(9), D(30)}, r, 0}, {"180 degrees", {INT32_MIN, 0}, across, 1},
        {"175 W", {D(-175), 0}, across, 1},  {"0", {0, 0}, across, 0},
        {"170 W", {D(-170), 0}, across, 0},  {"170 E", {D(170), 0}, across, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.p & c.r, c.want) << c.what;
        EXPECT_EQ(c.r & c.p, c.want) << c.what;
    }
}

TEST(GeoRect, RelationNumbersAndFlags) {
    // Latitude relations of a = 10..20 against b; longitude relations of
    // a = 10..20 against b (and a = 20..10, which wraps, for 8 to 15).
    struct Case {
        std::int32_t b1, b2;
        int want;
    } lat[] = {
        {D(25), D(30), 1}, {D(20), D(30), 2}, {D(15), D(30), 3}, {D(15), D(20), 4},
        {D(15), D(18), 5}, {D(10), D(30), 6}, {D(10), D(20), 7}, {D(10), D(15), 8},
        {D(5), D(30), 9},  {D(5), D(20), 10}, {D(5), D(15), 11}, {D(5), D(10), 12},
        {D(0), D(5), 13},
    };
    for (const auto& c : lat)
        EXPECT_EQ(geoLatRelation(GeoRect{0, D(10), 0, D(20)}, GeoRect{0, c.b1, 0, c.b2}), c.want)
            << c.want;
    struct LonCase {
        GeoRect a;
        std::int32_t b1, b2;
        int want;
    } lon[] = {
        {{D(10), 0, D(20), 0}, D(10), D(30), 0},  {{D(10), 0, D(20), 0}, D(10), D(20), 1},
        {{D(10), 0, D(20), 0}, D(10), D(15), 2},  {{D(10), 0, D(20), 0}, D(5), D(30), 3},
        {{D(10), 0, D(20), 0}, D(5), D(20), 4},   {{D(10), 0, D(20), 0}, D(5), D(15), 5},
        {{D(10), 0, D(20), 0}, D(5), D(10), 6},   {{D(10), 0, D(20), 0}, D(0), D(5), 7},
        {{D(20), 0, D(10), 0}, D(10), D(30), 8},  {{D(20), 0, D(10), 0}, D(10), D(20), 9},
        {{D(20), 0, D(10), 0}, D(10), D(15), 10}, {{D(20), 0, D(10), 0}, D(5), D(30), 11},
        {{D(20), 0, D(10), 0}, D(5), D(20), 12},  {{D(20), 0, D(10), 0}, D(5), D(15), 13},
        {{D(20), 0, D(10), 0}, D(5), D(10), 14},  {{D(20), 0, D(10), 0}, D(0), D(5), 15},
    };
    for (const auto& c : lon)
        EXPECT_EQ(geoLonRelation(c.a, GeoRect{c.b1, 0, c.b2, 0}), c.want) << c.want;
    EXPECT_EQ(geoLatFlags(7), 103);
    EXPECT_EQ(geoLonFlags(9), 24);
    EXPECT_EQ(geoLonFlags(15), 65);
    EXPECT_EQ(geoLatFlags(99), 0);
}

TEST(GeoRect, SignedComparisonMask) {
    const GeoRect a{D(-10), D(0), D(10), D(5)}, b{D(5), D(5), D(20), D(5)};
    // 1 a.lon1<b.lon2, 2 b.lon1<a.lon2, 4 a.lon1<a.lon2, 8 b.lon1<b.lon2,
    // 16 a.lat1<b.lat2, 32 b.lat1<a.lat2 (no), 64 a.lat1<a.lat2, 128 no.
    EXPECT_EQ(a % b, 1 | 2 | 4 | 8 | 16 | 64);
    EXPECT_EQ(b % a, 1 | 2 | 4 | 8 | 32 | 128);
}

// Degenerate rectangles (zero width or height) follow their own rules.
TEST(GeoRect, DegenerateTests) {
    const GeoRect o{D(0), D(0), D(10), D(10)};
    struct Case {
        const char* what;
        GeoRect a, b;
        int meet, within;
    } cases[] = {
        {"zero width inside", {D(5), D(2), D(5), D(8)}, o, 1, 1},
        // Meeting is measured from a.lon1: a zero-width a at b's west edge
        // does not meet it, though b meets a.
        {"zero width on the west edge", {D(0), D(2), D(0), D(8)}, o, 0, 1},
        {"rectangle and zero width on its west edge", o, {D(0), D(2), D(0), D(8)}, 1, 0},
        // Within by the span rule, though the point test leaves the east edge out.
        {"zero width on the east edge", {D(10), D(2), D(10), D(8)}, o, 0, 1},
        {"zero width sticking out", {D(5), D(5), D(5), D(15)}, o, 1, 0},
        {"point inside", {D(3), D(3), D(3), D(3)}, o, 1, 1},
        {"zero height on the north edge", {D(2), D(10), D(8), D(10)}, o, 0, 0},
        {"equal zero-height lines", {D(0), D(5), D(10), D(5)}, {D(5), D(5), D(15), D(5)}, 1, 0},
        {"rectangle in a zero-width one", o, {D(5), D(0), D(5), D(10)}, 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a & c.b, c.meet) << c.what;
        EXPECT_EQ(c.a <= c.b, c.within) << c.what;
    }
    EXPECT_EQ(geoRectDegeneracy(o), 0);
    EXPECT_EQ(geoRectDegeneracy(GeoRect{1, 2, 1, 3}), 1);
    EXPECT_EQ(geoRectDegeneracy(GeoRect{1, 2, 4, 2}), 2);
    EXPECT_EQ(geoRectDegeneracy(GeoRect{1, 2, 1, 2}), 3);
}

TEST(GeoRect, CutSegment) {
    const GeoRect r{0, 0, 100, 100};
    struct Case {
        const char* what;
        GeoPoint p1, p2;
        int want;
        GeoPoint q1, q2;
    } cases[] = {
        {"inside", {10, 10}, {20, 20}, 1, {10, 10}, {20, 20}},
        {"inside to the east", {50, 50}, {150, 50}, 4, {50, 50}, {100, 50}},
        {"across", {-50, 50}, {150, 50}, 2, {0, 50}, {100, 50}},
        {"from the west in", {-50, 0}, {50, 100}, 3, {0, 50}, {50, 100}},
        {"diagonal", {-50, -50}, {150, 150}, 2, {0, 0}, {100, 100}},
        {"vertical", {50, -20}, {50, 120}, 2, {50, 0}, {50, 100}},
        {"on the edges", {0, 100}, {100, 0}, 1, {0, 100}, {100, 0}},
        {"rounded onto the edge", {-1, 0}, {2, 1}, 3, {0, 0}, {2, 1}}, // y = 1/3 rounds to 0
        {"past a corner", {-10, 5}, {5, -10}, 0, {-10, 5}, {5, -10}},
        {"both west", {-10, 5}, {-5, 50}, 0, {-10, 5}, {-5, 50}},
        {"wide values", {INT32_MIN, 50}, {INT32_MAX, 50}, 2, {0, 50}, {100, 50}},
    };
    for (const auto& c : cases) {
        GeoPoint p1 = c.p1, p2 = c.p2;
        EXPECT_EQ(CutGeoSegment(p1, p2, r), c.want) << c.what;
        EXPECT_EQ(p1.lon, c.q1.lon) << c.what;
        EXPECT_EQ(p1.lat, c.q1.lat) << c.what;
        EXPECT_EQ(p2.lon, c.q2.lon) << c.what;
        EXPECT_EQ(p2.lat, c.q2.lat) << c.what;
    }
}

} // namespace
