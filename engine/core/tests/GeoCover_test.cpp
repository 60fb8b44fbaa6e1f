#include "geo/GeoCover.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::int32_t D(long double degrees) {
    return deg2nrm(degrees);
}
constexpr std::int32_t H = INT32_MIN; // 180 degrees

std::vector<GeoRect> rects(const GeoCover& c) {
    std::vector<GeoRect> v;
    for (const LGeoRect* n = c.head; n != nullptr; n = n->next)
        v.push_back(n->r);
    return v;
}

std::string show(const std::vector<GeoRect>& v) {
    std::string s;
    for (const auto& r : v)
        s += "[" + std::to_string(r.lon1) + " " + std::to_string(r.lat1) + " " +
             std::to_string(r.lon2) + " " + std::to_string(r.lat2) + "]";
    return s;
}

void expectRects(const GeoCover& c, std::initializer_list<GeoRect> want, const char* what) {
    const std::vector<GeoRect> got = rects(c);
    const std::vector<GeoRect> w(want);
    bool same = got.size() == w.size();
    for (std::size_t i = 0; same && i < got.size(); ++i)
        same = got[i].lon1 == w[i].lon1 && got[i].lat1 == w[i].lat1 && got[i].lon2 == w[i].lon2 &&
               got[i].lat2 == w[i].lat2;
    EXPECT_TRUE(same) << what << "\n got  " << show(got) << "\n want " << show(w);
}

GeoCover coverOf(std::initializer_list<GeoRect> list) {
    GeoCover c;
    for (const auto& r : list)
        EXPECT_EQ(c.add(r), 0);
    return c;
}

TEST(GeoCoverAlgebra, ExactDecompositions) {
    // Intersection of a rectangle across 180 degrees with one that covers
    // both sides of it but not 180 itself: two pieces.
    expectRects(GeoRect{D(170), 0, D(-170), D(10)} * GeoRect{D(-175), 0, D(175), D(10)},
                {{D(170), 0, D(175), D(10)}, {D(-175), 0, D(-170), D(10)}}, "* across 180");
    // Union of two overlapping rectangles: below, above, common band.
    expectRects(GeoRect{0, 0, D(20), D(20)} + GeoRect{D(10), D(10), D(30), D(30)},
                {{0, 0, D(20), D(10)}, {D(10), D(20), D(30), D(30)}, {0, D(10), D(30), D(20)}},
                "+ bands");
    // Union whose spans close the turn: the common band is the two halves.
    expectRects(GeoRect{D(-90), 0, D(90), D(10)} + GeoRect{D(80), 0, D(-80), D(10)},
                {{0, 0, H, D(10)}, {H, 0, 0, D(10)}}, "+ full turn");
    // Equal spans that touch in latitude: one rectangle.
    expectRects(GeoRect{0, 0, D(10), D(10)} + GeoRect{0, D(10), D(10), D(20)},
                {{0, 0, D(10), D(20)}}, "+ stacked");
    // Difference of a rectangle strictly inside: four pieces.
    expectRects(GeoRect{0, 0, D(30), D(30)} - GeoRect{D(10), D(10), D(20), D(20)},
                {{0, 0, D(30), D(10)},
                 {0, D(20), D(30), D(30)},
                 {0, D(10), D(10), D(20)},
                 {D(20), D(10), D(30), D(20)}},
                "- hole");
    // A span that wraps round inside another: what is left lies between.
    expectRects(GeoRect{D(20), 0, D(10), D(10)} - GeoRect{D(5), 0, D(30), D(10)},
                {{D(30), 0, D(5), D(10)}}, "- wrapped inside");
    expectRects(GeoRect{0, 0, D(10), D(10)} - GeoRect{D(-5), D(-5), D(15), D(15)}, {}, "- all");
    expectRects(GeoRect{0, 0, D(10), D(10)} * GeoRect{D(10), 0, D(20), D(10)}, {}, "* touching");
    expectRects(GeoRect{0, D(10), D(10), 0} + GeoRect{0, 0, D(10), D(10)}, {{0, 0, D(10), D(10)}},
                "+ invalid side");
    expectRects(GeoRect{0, 0, D(10), D(10)} - GeoRect{0, D(10), D(10), 0}, {{0, 0, D(10), D(10)}},
                "- invalid b");
}

// Degenerate rectangles: different degeneracy never merges, and a line or
// point removes nothing from a rectangle.
TEST(GeoCoverAlgebra, DegenerateCases) {
    const GeoRect o{0, 0, D(10), D(10)};
    const GeoRect line{D(5), D(5), D(5), D(15)};   // zero width, sticking out
    const GeoRect flat1{0, D(5), D(10), D(5)};     // zero height
    const GeoRect flat2{D(5), D(5), D(15), D(5)};  // zero height, same latitude
    const GeoRect pointIn{D(3), D(3), D(3), D(3)}; // a point inside o
    expectRects(o + line, {o, line}, "o + line");
    expectRects(o - line, {o}, "o - line");
    expectRects(line - o, {{D(5), D(10), D(5), D(15)}}, "line - o");
    expectRects(line * o, {{D(5), D(5), D(5), D(10)}}, "line * o");
    expectRects(flat1 + flat2, {{0, D(5), D(15), D(5)}}, "flat + flat");
    expectRects(o + pointIn, {o}, "o + point inside");
    expectRects(o - pointIn, {o}, "o - point");
    expectRects(pointIn - o, {}, "point - o");

    GeoCover c = coverOf({o, line});
    expectRects(c, {o, line}, "add keeps a line beside a rectangle");
    EXPECT_EQ(c.add(pointIn), 0);
    EXPECT_EQ(c.size(), 2);
}

TEST(GeoCoverAlgebra, AddMergesAndOrders) {
    const GeoRect r{0, 0, D(10), D(10)};
    expectRects(coverOf({r, r}), {r}, "the same rectangle twice");
    expectRects(coverOf({r, {D(10), 0, D(20), D(10)}}), {{0, 0, D(20), D(10)}},
                "touching in longitude");
    // The two halves with equal latitudes stay two (no zero-width full turn).
    expectRects(coverOf({{0, 0, H, D(10)}, {H, 0, 0, D(10)}}), {{H, 0, 0, D(10)}, {0, 0, H, D(10)}},
                "halves");
    // Halves of different heights: merging them would give back two halves
    // over and over; they are disjoint and stay as they are.
    GeoCover halves;
    EXPECT_EQ(halves.add(GeoRect{0, 0, H, D(10)}), 0);
    EXPECT_EQ(halves.add(GeoRect{H, 0, 0, D(20)}), 0);
    expectRects(halves, {{H, 0, 0, D(20)}, {0, 0, H, D(10)}}, "halves of different heights");
    // Ordered by lat1, then signed lon1.
    expectRects(coverOf({{D(50), D(20), D(60), D(30)}, {D(-50), D(20), D(-40), D(30)}, r}),
                {r, {D(-50), D(20), D(-40), D(30)}, {D(50), D(20), D(60), D(30)}}, "order");
    GeoCover c;
    EXPECT_EQ(c.add(GeoRect{0, D(10), D(10), 0}), -1); // invalid
    EXPECT_TRUE(c.empty());
}

TEST(GeoCoverAlgebra, MembersAndValueSemantics) {
    GeoCover a = coverOf({{0, 0, D(10), D(10)}, {D(20), D(20), D(30), D(30)}});
    GeoCover b;
    EXPECT_EQ(b.copy(a), 0);
    EXPECT_TRUE(a == b);
    GeoCover moved(std::move(b));
    EXPECT_TRUE(b.empty());
    EXPECT_TRUE(moved == a);
    moved = a - GeoRect{0, 0, D(10), D(10)};
    expectRects(moved, {{D(20), D(20), D(30), D(30)}}, "assigned result");
    EXPECT_FALSE(moved == a);

    EXPECT_EQ(a.div(GeoRect{0, 0, 1, 1}), 0);
    EXPECT_EQ(a.div(moved, 1), 0);
    EXPECT_EQ(a.size(), 2);
    EXPECT_EQ(moved.size(), 1);

    // Operations of a cover with itself.
    GeoCover self;
    self.copy(a);
    EXPECT_EQ(self.add(self, 1), 0);
    EXPECT_TRUE(self == a);
    EXPECT_EQ(self.mul(self, 1), 0);
    EXPECT_TRUE(self == a);
    EXPECT_EQ(self.sub(self, 1), 0);
    EXPECT_TRUE(self.empty());

    // mul of two covers: the union of the pairwise intersections.
    GeoCover k = coverOf({{0, 0, D(30), D(5)}});
    EXPECT_EQ(k.mul(a, 0), 0);
    expectRects(k, {{0, 0, D(10), D(5)}}, "mul");
    GeoCover empty;
    EXPECT_TRUE(empty == GeoCover());
    EXPECT_FALSE(empty == a);
}

TEST(GeoCoverAlgebra, CoverTests) {
    const GeoCover a = coverOf({{0, 0, D(10), D(10)}});
    const GeoCover none;
    EXPECT_EQ(none & a, 0);
    EXPECT_EQ(a & none, 0);
    EXPECT_EQ((none <= GeoRect{0, 0, 1, 1}), 1);
    EXPECT_EQ((a <= GeoRect{0, 1, 1, 0}), 0); // invalid r
    EXPECT_EQ(none <= a, 1);
    EXPECT_EQ((GeoRect{D(2), D(2), D(5), D(5)} <= a), 1);
    EXPECT_EQ((GeoRect{D(2), D(2), D(15), D(5)} <= a), 0);
}

TEST(GeoCoverBounds, BoundingRectangle) {
    struct Case {
        const char* what;
        std::initializer_list<GeoRect> list;
        GeoRect want;
    } cases[] = {
        {"empty", {}, {0, 0, 0, 0}},
        {"plain",
         {{D(-170), D(-5), D(-160), D(5)}, {D(160), D(10), D(170), D(20)}},
         {D(-170), D(-5), D(170), D(20)}},
        // Signed minimum and maximum would give -160..-150 here.
        {"across 180",
         {{D(170), 0, D(-170), D(10)}, {D(-160), D(5), D(-150), D(20)}},
         {D(170), 0, D(-150), D(20)}},
        {"ending at 180", {{D(10), 0, D(20), D(5)}, {D(90), 0, H, D(5)}}, {D(10), 0, H, D(5)}},
        {"whole turn", {{0, 0, H, D(5)}, {H, 0, 0, D(5)}}, {INT32_MIN, 0, INT32_MAX, D(5)}},
    };
    for (const auto& c : cases) {
        const GeoRect b = static_cast<GeoRect>(coverOf(c.list));
        EXPECT_EQ(b.lon1, c.want.lon1) << c.what;
        EXPECT_EQ(b.lat1, c.want.lat1) << c.what;
        EXPECT_EQ(b.lon2, c.want.lon2) << c.what;
        EXPECT_EQ(b.lat2, c.want.lat2) << c.what;
    }
}

TEST(GeoCoverBounds, RoundToGrid) {
    const GeoCover c = coverOf({{0x12345, 0x2345, 0x56789, 0x6789}});
    expectRects(c.round(0xFFFF0000u, 0xFFFF0000u, 2), {{0x10000, 0, 0x60000, 0x10000}}, "widen");
    expectRects(c.round(0xFFFFF000u, 0xFFFF0000u, 1), {{0x20000, 0x3000, 0x50000, 0x6000}},
                "shrink");
    expectRects(c.round(0xFFFF0000u, 0xFFFF0000u, 0), {{0x10000, 0, 0x50000, 0}}, "down");
    // Narrower than a grid cell: shrinking leaves nothing (not a span of
    // nearly the full turn).
    const GeoCover thin = coverOf({{0x12345, 0x2345, 0x12346, 0x26789}});
    expectRects(thin.round(0xFFFF0000u, 0xFFFF0000u, 1), {}, "shrink a thin rectangle");
    // Across 180 degrees the grid holds as well.
    const GeoCover across = coverOf({{0x7FFF8000, 0, -0x7FFF8000, 0x10000}});
    expectRects(across.round(0xFFFF0000u, 0xFFFF0000u, 2), {{0x7FFF0000, 0, -0x7FFF0000, 0x10000}},
                "widen across 180");
}

} // namespace
