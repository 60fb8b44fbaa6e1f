#include "geo/GeoPoint.h"
#include "geo/Point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::int32_t nrm(std::uint32_t u) {
    return static_cast<std::int32_t>(u);
}

TEST(BinaryAngles, FromDegreesMinutesSecondsRadians) {
    struct Case {
        const char* what;
        std::int32_t got, want;
    } cases[] = {
        {"deg 90", deg2nrm(90), 0x40000000},
        {"deg 270", deg2nrm(270), nrm(0xC0000000u)},
        {"deg -90", deg2nrm(-90), nrm(0xC0000000u)},
        {"deg 360", deg2nrm(360), 0},
        {"deg -360", deg2nrm(-360), 0},
        {"deg 180", deg2nrm(180), nrm(0x80000000u)},
        {"deg -180", deg2nrm(-180), nrm(0x80000000u)},
        {"deg 720.5", deg2nrm(720.5L), deg2nrm(0.5L)},
        {"deg 1e9 reduces first", deg2nrm(1e9L), deg2nrm(std::fmod(1e9L, 360.0L))},
        {"min 5400", min2nrm(5400), 0x40000000},
        {"min -21600", min2nrm(-21600), 0},
        {"sec 324000", sec2nrm(324000), 0x40000000},
        {"sec 1", sec2nrm(1), 3314}, // 2^32 / 1296000 = 3314.0...
        {"rad pi/2", rad2nrm(GeoPi / 2), 0x40000000},
        {"rad -pi", rad2nrm(-GeoPi), nrm(0x80000000u)},
        {"rad 3pi/2", rad2nrm(3 * GeoPi / 2), nrm(0xC0000000u)},
        // Half a unit rounds to even: 0.5 and 1.5 units.
        {"half unit", deg2nrm(0.5L / nrmPerDeg), 0},
        {"one and a half units", deg2nrm(1.5L / nrmPerDeg), 2},
        {"minus half unit", deg2nrm(-0.5L / nrmPerDeg), 0},
        {"NaN", deg2nrm(std::numeric_limits<long double>::quiet_NaN()), 0},
        {"infinity", rad2nrm(std::numeric_limits<long double>::infinity()), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(BinaryAngles, DegreesAndRadiansReduceByTheTurn) {
    EXPECT_NEAR(static_cast<double>(deg2rad(180)), M_PI, 1e-15);
    EXPECT_NEAR(static_cast<double>(deg2rad(540)), M_PI, 1e-15);
    EXPECT_NEAR(static_cast<double>(deg2rad(-90)), -M_PI / 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(rad2deg(GeoPi / 4)), 45, 1e-13);
    EXPECT_NEAR(static_cast<double>(rad2deg(-5 * GeoPi / 2)), -90, 1e-12);
    // Every binary angle survives the trip through degrees and radians.
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::int32_t a = static_cast<std::int32_t>(rng());
        EXPECT_EQ(deg2nrm(a / nrmPerDeg), a);
        EXPECT_EQ(rad2nrm(nrm2rad(a)), a);
        EXPECT_EQ(rad2nrm(deg2rad(a / nrmPerDeg)), a);
    }
}

TEST(GeoPointNmea, WritesTheFixedSentence) {
    struct Case {
        GeoPoint p;
        const char* want;
    } cases[] = {
        {{deg2nrm(10.5L), deg2nrm(59.5L)}, "$IIGLL,5930.000,N,01030.000,E"},
        {{deg2nrm(-179.25L), deg2nrm(-0.001L / 60)}, "$IIGLL,0000.001,S,17915.000,W"},
        {{0, -0x40000000}, "$IIGLL,9000.000,S,00000.000,E"},
        {{nrm(0x80000000u), 0x3FFFFFFF}, "$IIGLL,9000.000,N,18000.000,W"},
        // 0.0004 minute rounds down, 0.0006 up.
        {{min2nrm(0.0004L), min2nrm(0.0006L)}, "$IIGLL,0000.001,N,00000.000,E"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(c.p.geoToNMEA(buffer), 1);
        EXPECT_STREQ(buffer, c.want);
    }
    char buffer[8] = "abc";
    GeoPoint undefined{0, GeoUndefined};
    EXPECT_EQ(undefined.geoToNMEA(buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(undefined.geoToNMEA(nullptr), 0);
}

TEST(GeoPointNmea, ReadsBackWithinOneThousandthOfAMinute) {
    std::mt19937 rng(11);
    const long double unitsPerThousandth = nrmPerMin / 1000;
    for (int i = 0; i < 5000; ++i) {
        GeoPoint p{static_cast<std::int32_t>(rng()),
                   static_cast<std::int32_t>(rng() % 0x80000001u) - 0x40000000};
        char buffer[32];
        ASSERT_EQ(p.geoToNMEA(buffer), 1);
        GeoPoint q{};
        q = buffer;
        const auto dLon = static_cast<std::int32_t>(static_cast<std::uint32_t>(q.lon) -
                                                    static_cast<std::uint32_t>(p.lon));
        EXPECT_LE(std::abs(dLon), unitsPerThousandth) << buffer;
        EXPECT_LE(std::abs(static_cast<long>(q.lat) - p.lat), unitsPerThousandth) << buffer;
    }
}

TEST(GeoPointNmea, MalformedSentencesGiveAnUndefinedPoint) {
    const char* bad[] = {
        "",                              // what geoToNMEA writes for an undefined point
        "$IIGLL,5930.000,N,01030.000",   // short
        "$IIGLL,59 0.000,N,01030.000,E", // blank in the minutes
        "$IIGLL,5930.0x0,N,01030.000,E", // letter in the thousandths
        "$IIGLL,5960.000,N,01030.000,E", // 60 minutes
        "$IIGLL,9100.000,N,01030.000,E", // beyond the pole
        "$IIGLL,5930.000,N,18000.001,E", // beyond the antimeridian
        "$IIGLL,-930.000,N,01030.000,E", // sign
    };
    for (const char* s : bad) {
        GeoPoint p{1, 2};
        p = s;
        EXPECT_EQ(p.lat, GeoUndefined) << s;
        EXPECT_EQ(p.lon, GeoUndefined) << s;
    }
    GeoPoint p{1, 2};
    p = static_cast<const char*>(nullptr);
    EXPECT_EQ(p.lat, GeoUndefined);

    // The undefined point written and read back stays undefined.
    GeoPoint undefined{5, GeoUndefined};
    char buffer[32];
    undefined.geoToNMEA(buffer);
    GeoPoint back{1, 2};
    back = buffer;
    EXPECT_EQ(back.lat, GeoUndefined);
}

TEST(GeoPointNmea, HemisphereLetters) {
    GeoPoint p{};
    p = "$IIGLL,4500.000,S,09000.000,W";
    EXPECT_EQ(p.lat, -0x20000000);
    EXPECT_EQ(p.lon, -0x40000000);
    p = "$IIGLL,4500.000,N,18000.000,E";
    EXPECT_EQ(p.lat, 0x20000000);
    EXPECT_EQ(p.lon, nrm(0x80000000u));
}

TEST(PlaneTypes, AreAggregatesOfInt32) {
    Point p{3, -4};
    Rect r{1, 2, 3, 4};
    EXPECT_EQ(p.x + p.y, -1);
    EXPECT_EQ(r.left + r.top + r.right + r.bottom, 10);
    static_assert(sizeof(Point) == 8 && sizeof(Rect) == 16 && sizeof(GeoPoint) == 8);
}

} // namespace
