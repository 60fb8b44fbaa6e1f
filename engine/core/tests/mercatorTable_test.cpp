#include "geo/GeoPoint.h"
#include "proj/mercatorTable.h"
#include "mercatorReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {
using namespace mercator_reference;

TEST(MercatorTable, EntriesAreRoundedIsometricLatitudesFromProj) {
    const std::int32_t* t = mercatorTable();
    EXPECT_EQ(t[0], 260389);
    EXPECT_EQ(t[1], 520778);
    EXPECT_EQ(t[kMercatorTableSize - 1], 2146658039);
    for (const TableReference& r : tableReference)
        EXPECT_NEAR(t[r.index], r.stretch, 0.5 + 1e-3) << "entry " << r.index;
    for (int i = 1; i < kMercatorTableSize; ++i)
        ASSERT_GT(t[i], t[i - 1]) << i;
}

TEST(MercatorTable, StretchOfLatitude) {
    const std::int32_t* t = mercatorTable();
    struct Case {
        std::int32_t lat, y;
    } cases[] = {
        {0, 0},
        {1 << 18, 260389},
        {-(1 << 18), -260389},
        {1 << 17, 260389 / 2}, // halfway between 0 and the first entry
        {(100 << 18) + (1 << 17), t[99] + (t[100] - t[99]) / 2},
        {kMercatorTableLimit - 1,
         t[3870] + static_cast<std::int32_t>((std::uint64_t{0x3FFFF} * (t[3871] - t[3870])) >> 18)},
        {kMercatorTableLimit, 0x7FFFFFFF},
        {-kMercatorTableLimit, -0x7FFFFFFF},
        {0x40000000, 0x7FFFFFFF},
        {INT32_MIN, -0x7FFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mercatorTableY(c.lat), c.y) << std::hex << c.lat;
}

TEST(MercatorTable, LatitudeOfStretchInvertsTheTable) {
    for (std::int64_t lat = -kMercatorTableLimit + 1; lat < kMercatorTableLimit; lat += 99991) {
        const std::int32_t l = static_cast<std::int32_t>(lat);
        ASSERT_LE(std::abs(mercatorTableLat(mercatorTableY(l)) - l), 2) << l;
    }
    const std::int32_t* t = mercatorTable();
    struct Case {
        std::int32_t y, lat;
    } cases[] = {
        {0, 0},
        {t[0], 1 << 18},
        {-t[0], -(1 << 18)},
        {t[41], 42 << 18},
        {t[3871] - 1, 0x3C800000 - 1},
        {t[3871], 0x3FFFFFFF},
        {0x7FFFFFFF, 0x3FFFFFFF},
        {-0x7FFFFFFF, -0x3FFFFFFF},
        {INT32_MIN, -0x3FFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(mercatorTableLat(c.y), c.lat, 1) << c.y;
}

TEST(IsometricLatitude, AgreesWithTheTableAndStaysFiniteAtThePoles) {
    for (const TableReference& r : tableReference)
        EXPECT_NEAR(static_cast<double>(isometricLatitude((r.index + 1) << 18) * nrmPerRad),
                    r.stretch, 1e-3);
    const long double north = isometricLatitude(0x40000000);
    EXPECT_TRUE(std::isfinite(static_cast<double>(north)));
    EXPECT_GT(north, 20);
    EXPECT_EQ(isometricLatitude(-0x40000000), -north);
}

TEST(IsometricLatitude, InverseByBisection) {
    for (std::int32_t lat :
         {0, 1, -1, 123456789, -987654321, 0x3C800000, 0x3FFFFF00, -0x3FFFFF00}) {
        const std::int32_t back = isometricLatitudeInverse(isometricLatitude(lat));
        EXPECT_LE(std::abs(back - lat), 1) << lat;
    }
    EXPECT_EQ(isometricLatitudeInverse(1e9L), 0x3FFFFFFF);
    EXPECT_EQ(isometricLatitudeInverse(-1e9L), -0x3FFFFFFF);
}

} // namespace
