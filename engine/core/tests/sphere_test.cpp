#include "util/sphere.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double H = 20038296.8825;
constexpr double C = 40076593.765;

TEST(WrapCircumference, KeepsEastingsInTheHalfOpenRange) {
    struct Case {
        double a, b, want;
    } cases[] = {
        {-H, 0, H}, // the lower edge belongs to the upper one
        {H, 0, H},
        {0, -H, H},
        {H, 1, -H + 1},
        {-H, 1, -H + 1},
        {1000, -2000, -1000},
        {H - 10, 30, -H + 20}, // across the antimeridian eastwards
        {-H + 10, -30, H - 20},
        {H, H, 0},
        {-H, -H, 0},
        {3 * C + 5, 0, 5}, // far out: whole circumferences removed
        {-3 * C - 5, 0, -5},
    };
    for (const auto& c : cases) {
        const double got = wrapCircumference(c.a, c.b);
        EXPECT_NEAR(got, c.want, 1e-6) << c.a << " + " << c.b;
        EXPECT_GT(got, -H);
        EXPECT_LE(got, H);
    }
    EXPECT_EQ(wrapCircumference(-H, 0), H); // exactly, not merely near
    EXPECT_TRUE(std::isnan(wrapCircumference(INFINITY, 0)));
    EXPECT_TRUE(std::isnan(wrapCircumference(NAN, 0)));
}

TEST(CircumferenceDistance, MeasuresEastwards) {
    EXPECT_DOUBLE_EQ(circumferenceDistance(100, 300), 200);
    EXPECT_DOUBLE_EQ(circumferenceDistance(300, 100), C - 200);
    EXPECT_DOUBLE_EQ(circumferenceDistance(H - 10, -H + 10), 20);
    EXPECT_DOUBLE_EQ(circumferenceDistance(5, 5), 0);
}

TEST(SphereMercator, MatchesProjOnTheSameSphere) {
    // PROJ's spherical Mercator with R = 6378388 m, fed the angles that give
    // the engine's radians (see reference/sphereMercator.sh).
    const struct Row {
        double lat, lon, y, x;
    } rows[] = {
#include "reference/sphereMercator.inc"
    };
    for (const auto& r : rows) {
        double y = -1, x = -1;
        sphereMercator(r.lat, r.lon, &y, &x);
        EXPECT_NEAR(y, r.y, 1e-5) << r.lat << " " << r.lon;
        EXPECT_NEAR(x, r.x, 1e-5) << r.lat << " " << r.lon;
        double lat = -1, lon = -1;
        sphereMercatorInverse(y, x, &lat, &lon);
        EXPECT_NEAR(lat, r.lat, 1e-9);
        EXPECT_NEAR(lon, r.lon, 1e-9);
    }
}

TEST(SphereMercator, EquatorAndAntimeridian) {
    double y = -1, x = -1;
    sphereMercator(0, 180, &y, &x);
    EXPECT_NEAR(y, 0, 1e-9);
    // 180 degrees is half the circumference up to the 57.295779 factor.
    EXPECT_NEAR(x, H, 0.2);
    EXPECT_GT(x, H);
    sphereMercator(0, 180, nullptr, &x); // a null output is skipped
}

} // namespace
