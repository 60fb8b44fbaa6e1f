#include "runtime/intmath.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <limits>
#include <random>

namespace {

using u128 = unsigned __int128;
using i128 = __int128;

TEST(IntMath, MulDivTable) {
    struct Case {
        std::uint32_t a, b, d, want;
    } cases[] = {
        {0x40000000u, 21600000u, 0u, 5400000u}, // quarter turn in 1/1000 minute
        {0x80000000u, 0u, 0x80000000u, 0u},     // b == 0 is 2^32; quotient 2^32 truncates to 0
        {1u, 0u, 2u, 0x80000000u},              // a * 2^32 / 2
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0u, 0xFFFFFFFEu}, // high word of the product
        {7u, 3u, 2u, 10u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dwMulDiv(c.a, c.b, c.d), c.want) << c.a << " " << c.b << " " << c.d;
    }
    EXPECT_EQ(lMulDiv(-0x40000000, 21600000, 0), -5400000);
    EXPECT_EQ(lMulDiv(-1, 1, 0), -1); // high word of -1 is -1 (floor)
    EXPECT_EQ(lMulDiv(-7, 3, 2), -10); // truncation towards zero
    EXPECT_EQ(lMulDiv(1, 0, 4), 0x40000000);
    EXPECT_EQ(lMulDiv(std::numeric_limits<std::int32_t>::min(), -1, 1),
              std::numeric_limits<std::int32_t>::min()); // 2^31 truncated, no trap
    EXPECT_EQ(dwDiv(0, 1, 2), 0x80000000u);
    EXPECT_EQ(dwDiv(5, 5, 0), 0u);
    EXPECT_EQ(wMulDiv(0xFFFF, 0xFFFF, 0), 0xFFFE);
    EXPECT_EQ(wMulDiv(300, 300, 1000), 90);
    EXPECT_EQ(iMulDiv(-300, 300, 1000), -90);
    EXPECT_EQ(iMulDiv(-1, 1, 0), -1);
}

TEST(IntMath, MulDivMatchesWideArithmetic) {
    std::mt19937_64 rng(12345);
    for (int i = 0; i < 20000; ++i) {
        const auto a = static_cast<std::uint32_t>(rng());
        const auto b = static_cast<std::uint32_t>(rng());
        const auto d = static_cast<std::uint32_t>(rng() >> (rng() % 32));
        const u128 bb = b ? b : (u128(1) << 32);
        const u128 dd = d ? d : (u128(1) << 32);
        ASSERT_EQ(dwMulDiv(a, b, d), static_cast<std::uint32_t>(u128(a) * bb / dd));
        const auto sa = static_cast<std::int32_t>(a), sb = static_cast<std::int32_t>(b),
                   sd = static_cast<std::int32_t>(d);
        const i128 sp = i128(sa) * (sb ? i128(sb) : (i128(1) << 32));
        const i128 sq = sd ? sp / sd : (sp >> 32);
        ASSERT_EQ(lMulDiv(sa, sb, sd), static_cast<std::int32_t>(sq));
        ASSERT_EQ(dwMed(a, b), static_cast<std::uint32_t>((std::uint64_t(a) + b) / 2));
    }
}

TEST(IntMath, MidpointsFloorWithoutOverflow) {
    EXPECT_EQ(iMed(32767, 32767), 32767);
    EXPECT_EQ(iMed(-32768, -32767), -32768);
    EXPECT_EQ(iMed(-1, 0), -1); // floor, not truncation
    EXPECT_EQ(wMed(0xFFFF, 0xFFFF), 0xFFFF);
    EXPECT_EQ(dwMed(0xFFFFFFFFu, 0xFFFFFFFDu), 0xFFFFFFFEu);
}

TEST(Round, AllModesWithTies) {
    struct Case {
        long double x;
        std::uint16_t mode;
        std::int64_t want;
    } cases[] = {
        {2.5L, 0, 2},        {-2.5L, 0, -2},       {3.5L, 0, 4},         {-3.5L, 0, -4},
        {0.5L, 0, 0},        {2.4999L, 0, 2},      {2.5001L, 0, 3},      {2.7L, 0xC00, 2},
        {-2.7L, 0xC00, -2},  {2.7L, 0x400, 2},     {-2.1L, 0x400, -3},   {2.1L, 0x800, 3},
        {-2.7L, 0x800, -2},  {5.0L, 0x800, 5},     {2.5L, 0x1000, 2},    // only bits 0xC00 count
        {9223372036854775807.0L, 0, 9223372036854775807}, // 2^63 - 1 is exact in long double
        {9223372036854775808.0L, 0, std::numeric_limits<std::int64_t>::min()}, // 2^63: out
        {-9223372036854775809.0L, 0, std::numeric_limits<std::int64_t>::min()},
        {4503599627370497.5L, 0, 4503599627370498}, // beyond double precision, exact in long double
    };
    for (const auto& c : cases) {
        EXPECT_EQ(round(c.x, c.mode), c.want) << static_cast<double>(c.x) << " mode " << c.mode;
    }
    EXPECT_EQ(round(std::numeric_limits<long double>::quiet_NaN(), 0),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(round(std::numeric_limits<long double>::infinity(), 0),
              std::numeric_limits<std::int64_t>::min());
}

TEST(Round, IgnoresTheCallersRoundingMode) {
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    EXPECT_EQ(round(2.5L, 0), 2);
    EXPECT_EQ(round(-2.5L, 0), -2);
    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    std::fesetround(saved);
}

} // namespace
