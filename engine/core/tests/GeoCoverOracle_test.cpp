// The cover algebra against set operations on a grid: every result must hold
// exactly the grid and half-grid points that the set operation on its
// operands holds.
#include "geo/GeoCover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <string>

namespace {

// Rectangle corners lie on a grid of 16 meridians (every 22.5 degrees,
// including 180) and 9 parallels (every 11.25 degrees from -45 to 45); the
// probes lie on the grid and half-grid: 32 meridians and 19 parallels.
constexpr int lonLines = 16, latLines = 9;
constexpr int lonProbes = 32, latProbes = 19;

std::int32_t gridLon(int i) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(i) << 28);
}
std::int32_t gridLat(int j) {
    return (j - 4) * (1 << 27);
}
std::int32_t probeLon(int i) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(i) << 27);
}
std::int32_t probeLat(int j) {
    return (j - 9) * (1 << 26);
}

// Membership of the probes: one row of lon bits per latitude.
using Bits = std::array<std::uint32_t, latProbes>;

Bits bitsOf(const GeoRect& r) {
    std::uint32_t lonBits = 0;
    for (int i = 0; i < lonProbes; ++i)
        if (GeoPoint{probeLon(i), r.lat1} & r) lonBits |= 1u << i;
    Bits b{};
    for (int j = 0; j < latProbes; ++j)
        if (GeoPoint{r.lon1, probeLat(j)} & r) b[j] = lonBits;
    return b;
}

Bits bitsOf(const GeoCover& c) {
    Bits b{};
    for (const LGeoRect* n = c.head; n != nullptr; n = n->next) {
        Bits r = bitsOf(n->r);
        for (int j = 0; j < latProbes; ++j)
            b[j] |= r[j];
    }
    return b;
}

int count(const Bits& b) {
    int n = 0;
    for (auto row : b)
        n += std::popcount(row);
    return n;
}

template <class F> Bits combine(const Bits& a, const Bits& b, F f) {
    Bits r{};
    for (int j = 0; j < latProbes; ++j)
        r[j] = f(a[j], b[j]);
    return r;
}
Bits both(const Bits& a, const Bits& b) {
    return combine(a, b, [](std::uint32_t x, std::uint32_t y) { return x & y; });
}
Bits either(const Bits& a, const Bits& b) {
    return combine(a, b, [](std::uint32_t x, std::uint32_t y) { return x | y; });
}
Bits firstOnly(const Bits& a, const Bits& b) {
    return combine(a, b, [](std::uint32_t x, std::uint32_t y) { return x & ~y; });
}

std::string show(const GeoRect& r) {
    return "[" + std::to_string(static_cast<std::uint32_t>(r.lon1) >> 27) + ".." +
           std::to_string(static_cast<std::uint32_t>(r.lon2) >> 27) + " x " +
           std::to_string(r.lat1 / (1 << 26)) + ".." + std::to_string(r.lat2 / (1 << 26)) + "]";
}
std::string show(const GeoCover& c) {
    std::string s;
    for (const LGeoRect* n = c.head; n != nullptr; n = n->next)
        s += show(n->r);
    return s.empty() ? "{}" : s;
}

class Oracle : public ::testing::Test {
  protected:
    std::mt19937 rng{20261210};

    GeoRect randomRect() {
        if (rng() % 16 == 0) { // one of the two half turns
            const bool east = rng() % 2;
            int j1 = rng() % (latLines - 1);
            int j2 = j1 + 1 + rng() % (latLines - 1 - j1);
            return east ? GeoRect{0, gridLat(j1), INT32_MIN, gridLat(j2)}
                        : GeoRect{INT32_MIN, gridLat(j1), 0, gridLat(j2)};
        }
        int i1 = rng() % lonLines, i2 = rng() % lonLines;
        while (i2 == i1)
            i2 = rng() % lonLines;
        int j1 = rng() % (latLines - 1);
        int j2 = j1 + 1 + rng() % (latLines - 1 - j1);
        return GeoRect{gridLon(i1), gridLat(j1), gridLon(i2), gridLat(j2)};
    }

    GeoCover randomCover() {
        GeoCover c;
        const int n = rng() % 4 + (rng() % 8 == 0 ? 0 : 1);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(c.add(randomRect()), 0);
        return c;
    }

    // A cover built by add, sub or mul: disjoint rectangles in (lat1, lon1) order.
    static void expectOrderedAndDisjoint(const GeoCover& c, const std::string& what) {
        int sum = 0;
        const LGeoRect* prev = nullptr;
        for (const LGeoRect* n = c.head; n != nullptr; prev = n, n = n->next) {
            sum += count(bitsOf(n->r));
            if (prev != nullptr) {
                const bool ordered = prev->r.lat1 < n->r.lat1 ||
                                     (prev->r.lat1 == n->r.lat1 && prev->r.lon1 < n->r.lon1);
                EXPECT_TRUE(ordered) << what << " " << show(c);
            }
        }
        EXPECT_EQ(sum, count(bitsOf(c))) << what << " overlaps: " << show(c);
    }
};

constexpr int rounds = 10000;

TEST_F(Oracle, RectangleOperators) {
    for (int k = 0; k < rounds; ++k) {
        const GeoRect a = randomRect(), b = randomRect();
        const Bits A = bitsOf(a), B = bitsOf(b);
        const std::string what = show(a) + " " + show(b);

        const GeoCover product = a * b, sum = a + b, difference = a - b;
        ASSERT_EQ(bitsOf(product), both(A, B)) << what << " * " << show(product);
        ASSERT_EQ(bitsOf(sum), either(A, B)) << what << " + " << show(sum);
        ASSERT_EQ(bitsOf(difference), firstOnly(A, B)) << what << " - " << show(difference);
        // The pieces of a raw result do not overlap either.
        for (const GeoCover* c : {&product, &sum, &difference}) {
            int pieces = 0;
            for (const LGeoRect* n = c->head; n != nullptr; n = n->next)
                pieces += count(bitsOf(n->r));
            ASSERT_EQ(pieces, count(bitsOf(*c))) << what << " " << show(*c);
        }

        ASSERT_EQ(a & b, count(both(A, B)) > 0 ? 1 : 0) << what;
        ASSERT_EQ(a <= b, count(firstOnly(A, B)) == 0 ? 1 : 0) << what;
    }
}

TEST_F(Oracle, CoverOperators) {
    const std::uint32_t blocksBefore = LGeoRect::TOAllocator.blockCount;
    for (int k = 0; k < rounds; ++k) {
        const GeoCover a = randomCover(), b = randomCover();
        const GeoRect r = randomRect();
        const Bits A = bitsOf(a), B = bitsOf(b), R = bitsOf(r);
        expectOrderedAndDisjoint(a, "built by add");
        const std::string what = show(a) + " " + show(b) + " " + show(r);

        struct Case {
            const char* op;
            GeoCover got;
            Bits want;
        } cases[] = {
            {"k + k", a + b, either(A, B)},    {"k - k", a - b, firstOnly(A, B)},
            {"k * k", a * b, both(A, B)},      {"r + k", r + b, either(R, B)},
            {"r - k", r - b, firstOnly(R, B)}, {"r * k", r * b, both(R, B)},
            {"k + r", a + r, either(A, R)},    {"k - r", a - r, firstOnly(A, R)},
            {"k * r", a * r, both(A, R)},
        };
        for (const auto& c : cases) {
            ASSERT_EQ(bitsOf(c.got), c.want) << c.op << " " << what << " = " << show(c.got);
            expectOrderedAndDisjoint(c.got, std::string(c.op) + " " + what);
        }

        ASSERT_EQ(a & r, count(both(A, R)) > 0 ? 1 : 0) << what;
        ASSERT_EQ(a & b, count(both(A, B)) > 0 ? 1 : 0) << what;
        ASSERT_EQ(a <= r, count(firstOnly(A, R)) == 0 ? 1 : 0) << what;
        ASSERT_EQ(r <= b, count(firstOnly(R, B)) == 0 ? 1 : 0) << what;
        ASSERT_EQ(a <= b, count(firstOnly(A, B)) == 0 ? 1 : 0) << what;

        // The members with consume move the other cover's rectangles.
        GeoCover target, other;
        target.copy(a);
        other.copy(b);
        ASSERT_EQ(target.add(other, 1), 0);
        EXPECT_TRUE(other.empty());
        ASSERT_EQ(bitsOf(target), either(A, B)) << what;
        other.copy(b);
        ASSERT_EQ(target.sub(other, 0), 0);
        EXPECT_EQ(other, b);
        ASSERT_EQ(bitsOf(target), firstOnly(A, B)) << what;
    }
    // Every node went back to the pool: no block beyond the first is left.
    EXPECT_LE(LGeoRect::TOAllocator.blockCount, std::max<std::uint32_t>(blocksBefore, 1));
}

} // namespace
