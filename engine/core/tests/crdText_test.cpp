#include "geo/GeoPoint.h"
#include "geo/crdText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace {

constexpr std::uint16_t NS = 0x4E53, EW = 0x4557;
constexpr std::uint32_t latMax = 0x40000000u, lonMax = 0x80000000u;

// Format f with the degree, minute and fraction divisors that go with it.
std::string crd(std::int32_t v, int f, std::uint16_t hemispheres, std::uint32_t max) {
    static const unsigned fractions[] = {100, 100, 1000, 1000, 10000, 10000};
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    char* r = _crd2str(v, buffer, _apszgpFormat[f], hemispheres, max, 3, 90u, 60u, fractions[f]);
    return r == nullptr ? "(null)" : std::string(r);
}

TEST(CoordinateText, Writes) {
    struct Case {
        std::int32_t v;
        int format;
        std::uint16_t hemispheres;
        std::uint32_t max;
        const char* want;
    } cases[] = {
        {0x20000000, 0, NS, latMax, " 45 00.00N"},
        {-0x20000000, 1, NS, latMax, " 45,00,00,S"},
        {deg2nrm(59.5L + 0.123L / 60), 2, NS, latMax, " 59 30.123N"},
        {deg2nrm(-10.0L - 7.4321L / 60), 4, EW, lonMax, " 10 07.4321W"},
        {deg2nrm(-10.0L - 7.4321L / 60), 5, EW, lonMax, " 10,07,4321,W"},
        {static_cast<std::int32_t>(0x80000000u), 0, EW, lonMax, "180 00.00W"},
        {0x3FFFFFFF, 0, NS, latMax, " 90 00.00N"}, // a hair below 90 rounds up
        {0, 3, EW, lonMax, "  0,00,000,E"},
        // 1 degree 59.9949 minutes: one rounding to the hundredth, then the
        // split, gives 59.99 (splitting first printed 60 minutes).
        {23859935, 0, NS, latMax, "  1 59.99N"},
        // 59.995 minutes and more carry into the degrees.
        {deg2nrm(1 + 59.9951L / 60), 0, NS, latMax, "  2 00.00N"},
        // Fractions carry into the minutes, never print as .100.
        {deg2nrm(3 + 7.996L / 60), 0, NS, latMax, "  3 08.00N"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(crd(c.v, c.format, c.hemispheres, c.max), c.want) << c.v;
}

TEST(CoordinateText, WriteRefusals) {
    char buffer[32] = "untouched";
    const char* f0 = _apszgpFormat[0];
    EXPECT_EQ(_crd2str(0x40000001, buffer, f0, NS, latMax, 3, 90u, 60u, 100u), nullptr);
    EXPECT_EQ(_crd2str(-0x40000001, buffer, f0, NS, latMax, 3, 90u, 60u, 100u), nullptr);
    EXPECT_EQ(_crd2str(0, nullptr, f0, NS, latMax, 3, 90u, 60u, 100u), nullptr);
    EXPECT_EQ(_crd2str(0, buffer, nullptr, NS, latMax, 3, 90u, 60u, 100u), nullptr);
    EXPECT_EQ(_crd2str(0, buffer, "", NS, latMax, 3, 90u, 60u, 100u), nullptr);
    EXPECT_EQ(_crd2str(0, buffer, f0, NS, latMax, 0), nullptr);
    EXPECT_EQ(_crd2str(0, buffer, f0, NS, latMax, 3, 90u, 0u, 100u), nullptr);
    EXPECT_EQ(_crd2str(0, buffer, "%3lu %s\\", NS, latMax, 3, 90u, 60u, 100u), nullptr);
    EXPECT_EQ(_crd2str(0, buffer, f0, NS, latMax, 2, 90u, 60u), nullptr); // 3 fields, 2 divisors
    EXPECT_STREQ(buffer, "untouched");
    // Degrees only, and degrees with whole minutes.
    EXPECT_STREQ(_crd2str(deg2nrm(-12.6L), buffer, "%lu\\", EW, lonMax, 1, 90u), "13W");
    EXPECT_STREQ(_crd2str(deg2nrm(12.25L), buffer, "%lu:%02lu\\", EW, lonMax, 2, 90u, 60u),
                 "12:15E");
}

TEST(CoordinateText, Reads) {
    const char* f0 = _apszgpFormat[0];
    // 59 degrees 30.5 minutes: each field adds field x 2^30 / P.
    const std::int32_t v5930 = static_cast<std::int32_t>(
        59ull * 0x40000000 / 90 + 30ull * 0x40000000 / 5400 + 50ull * 0x40000000 / 540000);
    struct Case {
        const char* text;
        const char* format;
        char negative;
        std::uint32_t max;
        std::int32_t want;
    } cases[] = {
        {" 59 30.50N", f0, 'S', latMax, v5930},
        {" 59 30.50S", f0, 'S', latMax, -v5930},
        {" 59,30,50,S", _apszgpFormat[1], 'S', latMax, -v5930},
        {"180 00.00W", f0, 'W', lonMax, static_cast<std::int32_t>(0x80000000u)},
        {" 90 00.00N", f0, 'S', latMax, 0x40000000},
        {"  59  30.50", "%lu %lu.%lu\\", 'S', latMax, v5930}, // fields without a width
        // The walk ends with the text: what was read so far is the value.
        {" 59", f0, 'S', latMax, static_cast<std::int32_t>(59ull * 0x40000000 / 90)},
        {" 59 30", f0, 'S', latMax,
         static_cast<std::int32_t>(59ull * 0x40000000 / 90 + 30ull * 0x40000000 / 5400)},
    };
    for (const auto& c : cases) {
        std::int32_t r = 12345;
        EXPECT_EQ(_str2crd(&r, c.text, c.format, c.negative, c.max, 3, 90u, 60u, 100u), 1)
            << c.text;
        EXPECT_EQ(r, c.want) << c.text;
    }
}

TEST(CoordinateText, ReadRefusals) {
    const char* f0 = _apszgpFormat[0];
    const char* bad[] = {
        " 59 60.00N", // 60 minutes
        " 59 75.00N", // 75 minutes
        " 91 00.00N", // beyond max
        " 59 3",      // a field running past the end
        " 5x 30.00N", // not a number
        "    30.00N", // no degree digits
    };
    for (const char* text : bad) {
        std::int32_t r = 12345;
        EXPECT_EQ(_str2crd(&r, text, f0, 'S', latMax, 3, 90u, 60u, 100u), 0) << text;
        EXPECT_EQ(r, 12345) << text;
    }
    // A sum beyond the half turn never wraps, even without a limit.
    std::int32_t r = 12345;
    EXPECT_EQ(_str2crd(&r, "999 00.00E", f0, 'W', lonMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(&r, "181 00.00E", f0, 'W', lonMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(nullptr, " 59 30.50N", f0, 'S', latMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(&r, nullptr, f0, 'S', latMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(&r, "", f0, 'S', latMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(&r, " 59 30.50N", "", 'S', latMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(&r, " 59 30.50N", f0, 'S', latMax, 0), 0);
    // No field read: a format without a conversion, or a text that ends first.
    EXPECT_EQ(_str2crd(&r, " 59 30.50N", "no fields\\", 'S', latMax, 3, 90u, 60u, 100u), 0);
    EXPECT_EQ(_str2crd(&r, "N", "N%3lu\\", 'S', latMax, 1, 90u), 0);
    EXPECT_EQ(r, 12345);
}

TEST(CoordinateText, ReadsALiteralAndWhatWasWritten) {
    // The text is only read: a string literal in read-only memory works.
    std::int32_t r = 0;
    EXPECT_EQ(_str2crd(&r, " 10 07.4321W", _apszgpFormat[4], 'W', lonMax, 3, 90u, 60u, 10000u), 1);
    EXPECT_LT(std::abs(r - deg2nrm(-10.0L - 7.4321L / 60)), 3);

    // Every format reads back what it wrote, to the printed precision.
    static const unsigned fractions[] = {100, 100, 1000, 1000, 10000, 10000};
    std::mt19937 rng(3);
    for (int f = 0; f < 6; ++f) {
        const long double unit = 0x40000000 / (90.0L * 60 * fractions[f]);
        for (int i = 0; i < 500; ++i) {
            std::int32_t v = static_cast<std::int32_t>(rng());
            std::string text = crd(v, f, EW, lonMax);
            std::int32_t back = 0;
            ASSERT_EQ(_str2crd(&back, text.c_str(), _apszgpFormat[f], 'W', lonMax, 3, 90u, 60u,
                               fractions[f]),
                      1)
                << text;
            long double diff = static_cast<std::int32_t>(static_cast<std::uint32_t>(back) -
                                                         static_cast<std::uint32_t>(v));
            EXPECT_LE(std::abs(diff), unit / 2 + 3) << text;
        }
    }
}

} // namespace
