#include "geo/TGeoPolygone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace {

std::int32_t D(long double degrees) {
    return deg2nrm(degrees);
}

// Appends a point node taken from the exported pool, as the navigation
// program does.
void append(TGeoPolygone& poly, GeoPoint p) {
    auto* n = static_cast<TLGeoPoint*>(newTinyObject(&TLGeoPoint::TOAllocator));
    ASSERT_NE(n, nullptr);
    n->next = nullptr;
    n->p = p;
    if (poly.tail != nullptr)
        poly.tail->next = n;
    else
        poly.head = n;
    poly.tail = n;
    ++poly.count;
}

TEST(TGeoPolygone, CoverOfThePoints) {
    struct Case {
        const char* what;
        std::initializer_list<GeoPoint> points;
        GeoRect want;
    } cases[] = {
        {"across 180", {{D(179), D(10)}, {D(-179), D(20)}}, {D(179), D(10), D(-179), D(20)}},
        {"plain", {{D(10), D(5)}, {D(12), D(-5)}, {D(8), D(1)}}, {D(8), D(-5), D(12), D(5)}},
        {"first point west of 180",
         {{D(-170), 0}, {D(175), D(1)}, {D(-160), D(2)}},
         {D(175), 0, D(-160), D(2)}},
        {"one point", {{D(1), D(2)}}, {D(1), D(2), D(1), D(2)}},
    };
    for (const auto& c : cases) {
        TGeoPolygone poly;
        for (const GeoPoint& p : c.points)
            append(poly, p);
        poly.calcCover();
        EXPECT_EQ(poly.cover.lon1, c.want.lon1) << c.what;
        EXPECT_EQ(poly.cover.lat1, c.want.lat1) << c.what;
        EXPECT_EQ(poly.cover.lon2, c.want.lon2) << c.what;
        EXPECT_EQ(poly.cover.lat2, c.want.lat2) << c.what;
    }
    TGeoPolygone empty;
    empty.cover = {1, 2, 3, 4};
    empty.calcCover();
    EXPECT_EQ(empty.cover.lon1, 1);
    EXPECT_EQ(empty.cover.lat2, 4);
}

TEST(TGeoPolygone, DestructorReturnsEveryNode) {
    const std::uint32_t before = TLGeoPoint::TOAllocator.blockCount;
    {
        TGeoPolygone poly;
        for (int i = 0; i < 3 * 256; ++i) // several blocks
            append(poly, GeoPoint{i, i});
        EXPECT_GE(TLGeoPoint::TOAllocator.blockCount, before + 2);
    }
    // Emptied blocks beyond the first go back to the heap.
    EXPECT_LE(TLGeoPoint::TOAllocator.blockCount, std::max<std::uint32_t>(before, 1));
}

} // namespace
