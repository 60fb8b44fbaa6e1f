#include "util/pointInPolygon.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Odd number of crossings: inside.
bool inside(const std::vector<short>& ring, short px, short py) {
    const int n = static_cast<int>(ring.size() / 2);
    int crossings = 0;
    for (int i = 0; i < n; ++i)
        crossings += ringEdgeCrossesRay(px, py, ring.data(), n, i);
    return crossings % 2 == 1;
}

bool insideD(const std::vector<short>& ring, double px, double py) {
    const int n = static_cast<int>(ring.size() / 2);
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        crossings +=
            edgeCrossesRayD(px, py, ring[2 * i], ring[2 * i + 1], ring[2 * j], ring[2 * j + 1]);
    }
    return crossings % 2 == 1;
}

TEST(PointInPolygon, VerticesAndEdgesOnTheRayCountOnce) {
    const std::vector<short> diamond = {0, -10, 10, 0, 0, 10, -10, 0};
    const std::vector<short> peak = {0, 0, 10, 10, 20, 0}; // apex touches y = 10
    const std::vector<short> steps = {0, 0, 10, 0, 10, 5, 20, 5, 20, 10, 0, 10}; // edge on y = 5
    const std::vector<short> wide = {-30000, -30000, 30000, -30000, 30000, 30000, -30000, 30000};
    const struct {
        const std::vector<short>* ring;
        short x, y;
        bool in;
    } cases[] = {
        {&diamond, -20, 0, false}, // through two vertices
        {&diamond, 0, 0, true},    // through one vertex
        {&diamond, -5, 0, true},   {&diamond, 20, 0, false},     {&diamond, 6, 5, false},
        {&peak, -5, 10, false},                            // touches the apex only
        {&peak, 10, 5, true},      {&steps, -5, 5, false}, // along a horizontal edge
        {&steps, 5, 5, true},      {&steps, 15, 7, true},        {&steps, 15, 3, false},
        {&wide, 0, 0, true},       {&wide, -29999, 29999, true}, {&wide, 30001, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(inside(*c.ring, c.x, c.y), c.in) << c.x << "," << c.y;
        EXPECT_EQ(insideD(*c.ring, c.x + 0.25, c.y), c.in) << c.x << "," << c.y;
    }
}

TEST(PointInPolygon, DegenerateEdgesAndBadArgumentsNeverCount) {
    EXPECT_EQ(edgeCrossesRay(0, 0, 5, 0, 5, 0), 0);    // zero length on the ray
    EXPECT_EQ(edgeCrossesRay(0, 0, 5, -1, 5, -1), 0);  // zero length off the ray
    EXPECT_EQ(edgeCrossesRay(0, 0, -5, -1, -5, 1), 0); // left of the point
    EXPECT_EQ(edgeCrossesRay(0, 0, 5, -1, 5, 1), 1);
    const short ring[] = {5, -1, 5, 1, 6, 0};
    EXPECT_EQ(ringEdgeCrossesRay(0, 0, ring, 3, 3), 0);
    EXPECT_EQ(ringEdgeCrossesRay(0, 0, ring, 3, -1), 0);
    EXPECT_EQ(ringEdgeCrossesRay(0, 0, nullptr, 3, 0), 0);
    EXPECT_EQ(edgeCrossesRayD(0.0 / 0.0, 0, 5, -1, 5, 1), 0);
}

} // namespace
