#include "util/clipper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

using Ring = std::vector<Point>;

// Points as comparable pairs, for the expectations.
std::vector<std::pair<int, int>> pairs(const Ring& r) {
    std::vector<std::pair<int, int>> v;
    for (const Point& p : r)
        v.push_back({p.x, p.y});
    return v;
}

struct Box {
    std::int32_t xmin, ymin, xmax, ymax;
};

Ring clip(const Ring& ring, const Box& b) {
    PolygonClipper c;
    EXPECT_EQ(c.clipBegin(b.xmin, b.ymin, b.xmax, b.ymax), 1);
    for (const Point& p : ring)
        c.clipPoint(p.x, p.y);
    const long n = c.clipEnd();
    EXPECT_EQ(n, static_cast<long>(c.output().size()));
    return c.output();
}

// Signed shoelace area, counter-clockwise positive with y up.
long double shoelace(const Ring& r) {
    long double twice = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const Point& a = r[i];
        const Point& b = r[(i + 1) % r.size()];
        twice += static_cast<long double>(a.x) * b.y - static_cast<long double>(b.x) * a.y;
    }
    return twice / 2;
}

long double perimeter(const Ring& r) {
    long double sum = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const Point& a = r[i];
        const Point& b = r[(i + 1) % r.size()];
        sum += std::hypot(static_cast<long double>(b.x) - a.x, static_cast<long double>(b.y) - a.y);
    }
    return sum;
}

// The integral over the box of the ring's winding number, by vertical slabs:
// at abscissa x the winding number below height y is the signed count of
// edges passing under it, so the column integral is a sum over the edges that
// span x of sign * (ymax - clamp(edge height)). Between consecutive break
// points (vertices, and the crossings of edges with the horizontal borders)
// that sum is linear in x, so the midpoint rule is exact.
long double windingArea(const Ring& r, const Box& b) {
    std::set<long double> xs = {static_cast<long double>(b.xmin), static_cast<long double>(b.xmax)};
    const std::size_t n = r.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point& p = r[i];
        const Point& q = r[(i + 1) % n];
        xs.insert(p.x);
        for (long double y : {static_cast<long double>(b.ymin), static_cast<long double>(b.ymax)})
            if ((p.y - y) * (q.y - y) < 0)
                xs.insert(p.x + (static_cast<long double>(q.x) - p.x) * (y - p.y) /
                                    (static_cast<long double>(q.y) - p.y));
    }
    auto column = [&](long double x) {
        long double sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const Point& p = r[i];
            const Point& q = r[(i + 1) % n];
            if (p.x == q.x) continue;
            const long double lo = std::min(p.x, q.x), hi = std::max(p.x, q.x);
            if (x < lo || x >= hi) continue;
            const long double y = p.y + (static_cast<long double>(q.y) - p.y) * (x - p.x) /
                                            (static_cast<long double>(q.x) - p.x);
            const long double clamped =
                std::clamp(y, static_cast<long double>(b.ymin), static_cast<long double>(b.ymax));
            sum += (q.x > p.x ? 1 : -1) * (b.ymax - clamped);
        }
        return sum;
    };
    long double area = 0, previous = 0;
    bool started = false;
    for (long double x : xs) {
        if (x < b.xmin || x > b.xmax) continue;
        if (started) area += (x - previous) * column((x + previous) / 2);
        previous = x, started = true;
    }
    return area;
}

Ring circle(long double cx, long double cy, long double radius, int n) {
    Ring r;
    for (int i = 0; i < n; ++i) {
        const long double a = 2 * M_PIl * i / n;
        r.push_back({static_cast<std::int32_t>(std::lround(cx + radius * std::cos(a))),
                     static_cast<std::int32_t>(std::lround(cy + radius * std::sin(a)))});
    }
    return r;
}

TEST(PolygonClipper, AreaMatchesTheWindingIntegral) {
    const Box box{-1000, -700, 1000, 700};
    const Box huge{-2000000000, -2000000000, 2000000000, 2000000000};
    const struct {
        const char* name;
        Ring ring;
        Box box;
    } cases[] = {
        {"inside", {{-500, -300}, {400, -350}, {600, 200}, {-100, 500}}, box},
        {"outside", {{1500, 0}, {3000, 0}, {3000, 900}}, box},
        {"enclosing", {{-5000, -5000}, {5000, -5000}, {5000, 5000}, {-5000, 5000}}, box},
        {"crossing every edge", {{0, -1333}, {1777, 0}, {0, 1211}, {-1555, 0}}, box},
        {"clockwise across two edges", {{-2003, 101}, {313, 909}, {-311, -2221}}, box},
        {"concave comb",
         {{-1500, -100},
          {1500, -100},
          {1500, 900},
          {700, 900},
          {700, 0},
          {-300, 0},
          {-300, 900},
          {-1500, 900}},
         box},
        {"pentagram (winding 2 inside)",
         {{0, 1300}, {765, -1052}, {-1236, 402}, {1236, 402}, {-765, -1052}},
         box},
        {"bow tie", {{-1500, -1300}, {1500, 1300}, {1500, -1300}, {-1500, 1300}}, box},
        {"circle", circle(300, 100, 950, 360), box},
        {"near the 32-bit limits",
         {{-2147483647, -5}, {2147483647, -2147483000}, {2147483000, 2147483647}},
         huge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Ring out = clip(c.ring, c.box);
        for (const Point& p : out) {
            EXPECT_GE(p.x, c.box.xmin);
            EXPECT_LE(p.x, c.box.xmax);
            EXPECT_GE(p.y, c.box.ymin);
            EXPECT_LE(p.y, c.box.ymax);
        }
        const long double want = windingArea(c.ring, c.box);
        // Each crossing point may sit half a unit from the true one.
        EXPECT_NEAR(static_cast<double>(shoelace(out)), static_cast<double>(want),
                    static_cast<double>(0.5L * perimeter(out) + 1e-6L * std::fabs(want)))
            << out.size() << " points";
    }
}

TEST(PolygonClipper, ExactShapesAtTheEdges) {
    const Box b{0, 0, 100, 50};
    const Ring inside = {{10, 10}, {90, 10}, {90, 40}, {10, 40}};
    EXPECT_EQ(pairs(clip(inside, b)), pairs(inside)); // the first vertex is not repeated at the end
    const Ring closed = {{10, 10}, {90, 10}, {90, 40}, {10, 10}};
    EXPECT_EQ(pairs(clip(closed, b)), pairs(closed));

    const Ring larger = {{-10, -10}, {200, -10}, {200, 200}, {-10, 200}};
    const Ring corners = clip(larger, b);
    std::set<std::pair<int, int>> cornerSet;
    for (const Point& p : corners)
        cornerSet.insert({p.x, p.y});
    const std::set<std::pair<int, int>> boxCorners = {{0, 0}, {100, 0}, {100, 50}, {0, 50}};
    EXPECT_EQ(cornerSet, boxCorners);
    EXPECT_EQ(corners.size(), 4u);

    EXPECT_TRUE(clip({{200, 10}, {300, 10}, {300, 40}}, b).empty());
    EXPECT_EQ(pairs(clip({{10, 10}, {10, 10}, {90, 10}, {90, 40}}, b)),
              pairs({{10, 10}, {90, 10}, {90, 40}}));
    // A crossing at a half unit rounds to even.
    EXPECT_EQ(pairs(clip({{1, 10}, {2, 60}, {1, 60}}, b)), pairs({{1, 10}, {2, 50}, {1, 50}}));

    PolygonClipper c;
    c.clipBegin(0, 0, 10, 10);
    EXPECT_EQ(c.clipEnd(), 0);
    EXPECT_EQ(c.clipBegin(10, 0, 0, 10), 0); // inverted: nothing comes through
    c.clipPoint(5, 5);
    c.clipPoint(6, 6);
    c.clipPoint(5, 6);
    EXPECT_EQ(c.clipEnd(), 0);
    EXPECT_TRUE(c.output().empty());
}

TEST(PolygonClipper, SeveralRingsShareOneOutput) {
    PolygonClipper c;
    c.clipBegin(0, 0, 100, 100);
    // Both rings reach the corner (100, 100): the second must keep it as its
    // first point although it equals the first ring's last.
    for (Point p : Ring{{50, 50}, {150, 50}, {150, 150}})
        c.clipPoint(p.x, p.y);
    const long first = c.clipEnd();
    EXPECT_EQ(pairs(c.output()), pairs({{50, 50}, {100, 50}, {100, 100}}));
    for (Point p : Ring{{100, 100}, {100, 60}, {60, 60}})
        c.clipPoint(p.x, p.y);
    EXPECT_EQ(c.clipEnd(), first + 3);

    // clipReset with a running count drops a ring in progress and cuts back.
    c.clipPoint(1, 1);
    c.clipPoint(2, 2);
    EXPECT_EQ(c.clipReset(first), first);
    EXPECT_EQ(c.clipReset(first + 100), first); // beyond the output: ignored
    EXPECT_EQ(c.clipReset(-1), first);
    EXPECT_EQ(c.clipAppend(7, 7), first + 1);
    EXPECT_EQ(c.clipAppend(7, 7), first + 1);
    EXPECT_EQ(c.takeOutput().size(), static_cast<std::size_t>(first + 1));
    EXPECT_TRUE(c.output().empty());
}

TEST(PolygonClipper, OutputIsNotLimitedTo16BitCounts) {
    const Ring big = circle(0, 0, 1000000, 70000);
    const Ring out = clip(big, {-2000000, -2000000, 2000000, 2000000});
    EXPECT_EQ(out.size(), big.size());
    EXPECT_EQ(pairs({out.back()}), pairs({big.back()}));
}

TEST(ClipLine, CohenSutherlandTable) {
    PolygonClipper c;
    c.clipBegin(0, 0, 100, 50);
    const struct {
        std::int32_t in[4];
        int kept;
        std::int32_t out[4];
    } cases[] = {
        {{10, 10, 90, 40}, 1, {10, 10, 90, 40}},     // inside
        {{100, -20, 100, 80}, 1, {100, 0, 100, 50}}, // on the right border
        {{100, 10, 100, 40}, 1, {100, 10, 100, 40}}, // on the border, unchanged
        {{-50, 25, 150, 25}, 1, {0, 25, 100, 25}},   // across
        {{-10, -10, 60, 60}, 1, {0, 0, 50, 50}},     // through a corner
        {{-20, 30, 30, 80}, 1, {0, 50, 0, 50}},      // touching a corner
        {{50, 25, 50, 25}, 1, {50, 25, 50, 25}},     // a point inside
        {{-10, 10, -5, 40}, 0, {}},                  // left of the box
        {{-20, 31, 30, 81}, 0, {}},                  // just past the corner
        {{-2147483647, -2147483647, 2147483647, 2147483647}, 1, {0, 0, 50, 50}},
    };
    for (const auto& t : cases) {
        std::int32_t x1 = t.in[0], y1 = t.in[1], x2 = t.in[2], y2 = t.in[3];
        EXPECT_EQ(c.clipLine(x1, y1, x2, y2), t.kept) << t.in[0] << "," << t.in[1];
        if (t.kept) {
            EXPECT_EQ((std::vector<std::int32_t>{x1, y1, x2, y2}),
                      (std::vector<std::int32_t>{t.out[0], t.out[1], t.out[2], t.out[3]}))
                << t.in[0] << "," << t.in[1];
        }
    }
    int code = -1;
    EXPECT_EQ(c.outcode(-1, 51, code), 1 | 4);
    EXPECT_EQ(code, 5);
    EXPECT_EQ(c.outcode(101, -1, code), 2 | 8);
    EXPECT_EQ(c.outcode(100, 50, code), 0);
}

TEST(IsClockwise, OrientationWithYUp) {
    const Ring ccw = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    const Ring cw = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    EXPECT_EQ(isClockwise(ccw.data(), 0, 4), 0);
    EXPECT_EQ(isClockwise(cw.data(), 0, 4), 1);
    const Ring far = {{5, 5},
                      {-2147483647, -2147483647},
                      {-2147483647, 2147483647},
                      {2147483647, 2147483647},
                      {-2147483647, -2147483647}};
    EXPECT_EQ(isClockwise(far.data(), 1, 4), 1);
    EXPECT_EQ(isClockwise(cw.data(), 2, 1), 0);
    try {
        isClockwise(ccw.data(), 0, 3);
        FAIL() << "an open ring was accepted";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: ClockWise: Polygon not closed.\n");
    }
}

} // namespace
