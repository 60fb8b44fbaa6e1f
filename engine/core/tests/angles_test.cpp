#include "util/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

TEST(AngleRanges, BringSumsAndDifferencesIntoTheirRange) {
    struct Case {
        const char* name;
        double (*f)(double, double);
        double a, b, want;
    } cases[] = {
        {"wrapLon180", wrapLon180, -170, -10, 180}, // (-180, 180]
        {"wrapLon180", wrapLon180, 170, 10, 180},
        {"wrapLon180", wrapLon180, 170, 20, -170},
        {"wrapLon180", wrapLon180, -170, -20, 170},
        {"wrapLon180", wrapLon180, 900, 5, -175}, // several turns out
        {"angleDiff", angleDiff, 10, 190, 180},
        {"angleDiff", angleDiff, 350, 10, -20},
        {"angleDiff", angleDiff, 10, 350, 20},
        {"signedAngleDiff", signedAngleDiff, 190, 10, -180}, // [-180, 180)
        {"signedAngleDiff", signedAngleDiff, 10, 190, -180},
        {"signedAngleDiff", signedAngleDiff, 350, 10, -20},
        {"signedAngleDiff", signedAngleDiff, 10, 200, 170},
        {"wrap360", wrap360, 350, 10, 0}, // [0, 360)
        {"wrap360", wrap360, 0, -10, 350},
        {"wrap360", wrap360, -1e-20, 0, 0}, // would round up to 360
        {"wrap360", wrap360, 700, 25, 5},
        {"wrap360", wrap360, -725, 0, 355},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(c.f(c.a, c.b), c.want) << c.name << "(" << c.a << ", " << c.b << ")";
    }
    EXPECT_FLOAT_EQ(angleDiff(10.0f, 190.0f), 180.0f);
    EXPECT_FLOAT_EQ(angleDiff(-170.0f, 20.0f), 170.0f);
    EXPECT_FLOAT_EQ(wrap360(350.0f, 10.0f), 0.0f);
    EXPECT_FLOAT_EQ(wrap360(-1e-10f, 0.0f), 0.0f);
    EXPECT_TRUE(std::isnan(wrapLon180(INFINITY, 0)));
    EXPECT_TRUE(std::isnan(wrap360(NAN, 0)));
}

TEST(Directions, CompassAndPlaneConventions) {
    EXPECT_DOUBLE_EQ(compassToMath(0), 3 * pi / 2);
    EXPECT_DOUBLE_EQ(compassToMath(90), pi);
    EXPECT_DOUBLE_EQ(compassToMath(270), 0);
    EXPECT_DOUBLE_EQ(compassToMath(300), 330 * pi / 180);

    // bearingOf: clockwise from +y, from the first point to the second.
    struct Case {
        std::int16_t x1, y1, x2, y2;
        double want;
    } cases[] = {
        {7, 7, 7, 7, 0},
        {0, 0, 0, 5, 0},
        {0, 0, 5, 5, pi / 4},
        {0, 0, 5, 0, pi / 2},
        {0, 0, 5, -5, 3 * pi / 4},
        {0, 0, 0, -5, pi},
        {0, 0, -5, -5, 5 * pi / 4},
        {0, 0, -5, 0, 3 * pi / 2},
        {0, 0, -5, 5, 7 * pi / 4},
        // the whole 16-bit range: differences must not overflow
        {-32768, -32768, 32767, 32767, pi / 4},
        {32767, 32767, -32768, -32768, 5 * pi / 4},
        {32767, -32768, -32768, 32767, 7 * pi / 4},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(bearingOf(c.x1, c.y1, c.x2, c.y2), c.want, 1e-12)
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }

    EXPECT_DOUBLE_EQ(bearingDeg(1, 0), 0);
    EXPECT_DOUBLE_EQ(bearingDeg(0, 1), 90);
    EXPECT_DOUBLE_EQ(bearingDeg(-1, 0), 180);
    EXPECT_DOUBLE_EQ(bearingDeg(0, -1), 270);
    EXPECT_DOUBLE_EQ(bearingDeg(1, -1e-300), 0); // just below the axis stays below 360
    EXPECT_DOUBLE_EQ(bearingDeg(0, 0), 3000.0);
}

TEST(Vectors, PolarFormsRoundTripAndCombine) {
    struct Case {
        double dx, dy, length, direction;
    } cases[] = {
        {0, 0, 0, 0},
        {3, 0, 3, 0},
        {-3, 0, 3, 180},
        {0, 2, 2, 90},
        {0, -2, 2, 270},
        {1, 1, std::sqrt(2.0), 45},
        {-1, 1, std::sqrt(2.0), 135},
        {-1, -1, std::sqrt(2.0), 225},
        {3, -4, 5, 360 - std::atan(4.0 / 3) * 180 / pi},
    };
    for (const auto& c : cases) {
        double length = -1, direction = -1;
        vectorToPolar(c.dx, c.dy, &length, &direction);
        EXPECT_NEAR(length, c.length, 1e-12) << c.dx << "," << c.dy;
        EXPECT_NEAR(direction, c.direction, 1e-12) << c.dx << "," << c.dy;
        double dx = 99, dy = 99;
        polarToVector(length, direction, &dx, &dy);
        EXPECT_NEAR(dx, c.dx, 1e-12);
        EXPECT_NEAR(dy, c.dy, 1e-12);
    }

    double length, direction;
    addVectors(1, 0, 1, 90, &length, &direction);
    EXPECT_NEAR(length, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(direction, 45, 1e-12);
    subtractVectors(1, 0, 1, 90, &length, &direction);
    EXPECT_NEAR(length, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(direction, 315, 1e-12);
    subtractVectors(2, 30, 2, 30, &length, nullptr);
    EXPECT_NEAR(length, 0, 1e-12);
}

TEST(PlaneSailing, DistanceBearingAndDeadReckoning) {
    struct Case {
        double lat1, lon1, lat2, lon2, distance, bearing;
    } cases[] = {
        {59, 10, 60, 10, 60, 0},
        {60, 10, 59, 10, 60, 180},
        {0, 10, 0, 11, 60, 90},
        {0, 179.5, 0, -179.5, 60, 90}, // eastwards across the antimeridian
        {0, -179.5, 0, 179.5, 60, 270},
        {59.5, 10, 60.5, 12, 60 * std::hypot(1, 2 * std::cos(60 * pi / 180)), 45},
        {45, 0, 45, 0, 0, 0},
    };
    for (const auto& c : cases) {
        double distance = -1, bearing = -1;
        rhumbDistance(c.lat1, c.lon1, c.lat2, c.lon2, &distance, &bearing);
        EXPECT_NEAR(distance, c.distance, 1e-9) << c.lat1 << "," << c.lon1;
        EXPECT_NEAR(bearing, c.bearing, 1e-9) << c.lat1 << "," << c.lon1;
        float fd = -1, fb = -1;
        rhumbDistance(float(c.lat1), float(c.lon1), float(c.lat2), float(c.lon2), &fd, &fb);
        EXPECT_NEAR(fd, c.distance, 1e-3);
        EXPECT_NEAR(angleDiff(double(fb), c.bearing), 0, 1e-3);
    }
    double distance = -1;
    rhumbDistance(59.0, 10.0, 60.0, 10.0, &distance, nullptr);
    EXPECT_NEAR(distance, 60, 1e-9);

    double lat, lon;
    offsetPosition(59, 10, 60, 0, &lat, &lon);
    EXPECT_NEAR(lat, 60, 1e-12);
    EXPECT_NEAR(lon, 10, 1e-12);
    offsetPosition(60, 10, 60, 90, &lat, &lon);
    EXPECT_NEAR(lat, 60, 1e-12);
    EXPECT_NEAR(lon, 12, 1e-12);
    offsetPosition(0, 179.5, 60, 90, &lat, &lon);
    EXPECT_NEAR(lon, -179.5, 1e-12);
    offsetPosition(0, -179.5, 60, 270, &lat, &lon);
    EXPECT_NEAR(lon, 179.5, 1e-12);

    // Over a short leg the two agree (they take the cosine at different
    // latitudes): the bearing found leads to the target.
    double b;
    rhumbDistance(63.4, 10.3, 63.45, 10.42, &distance, &b);
    offsetPosition(63.4, 10.3, distance, b, &lat, &lon);
    EXPECT_NEAR(lat, 63.45, 1e-9);
    EXPECT_NEAR(lon, 10.42, 1e-3);
}

TEST(AngleScales, DdmmssAndIntegerScale) {
    EXPECT_NEAR(ddmmssToDegrees(594530.5), 59 + 45 / 60.0 + 30.5 / 3600, 1e-12);
    EXPECT_NEAR(ddmmssToDegrees(-103000.0), -10.5, 1e-12);
    EXPECT_NEAR(ddmmssToDegrees(59.0), 59 / 3600.0, 1e-12);
    EXPECT_NEAR(ddmmssToDegrees(1795959.9f), 179 + 59 / 60.0 + 59.9 / 3600, 1e-4);

    struct Case {
        double deg;
        std::int32_t lat, lon;
    } cases[] = {
        {0, 0, 0},
        {90, 2147483647, 1073741824}, // 1073741823.5 ties to even
        {-90, -2147483647, -1073741824},
        {180, 2147483647, 2147483647},
        {-180, 2147483647 * -1, -2147483647},
        {1000, 2147483647, 2147483647}, // saturates
        {-1000, -2147483647, -2147483647},
        {NAN, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(latToInt(c.deg), c.lat) << c.deg;
        EXPECT_EQ(lonToInt(c.deg), c.lon) << c.deg;
    }
    EXPECT_DOUBLE_EQ(intToLat(2147483647), 90);
    EXPECT_DOUBLE_EQ(intToLon(-2147483647), -180);
    for (double deg : {59.123456789, -33.9, 0.000001}) {
        EXPECT_NEAR(intToLat(latToInt(deg)), deg, 1e-7);
        EXPECT_NEAR(intToLon(lonToInt(deg * 2)), deg * 2, 1e-7);
    }
}

} // namespace
