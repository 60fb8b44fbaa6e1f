#include "geo/GeoPoint.h"
#include "geo/TGeoPolygone.h"
#include "proj/MapObject.h"
#include "proj/Mercator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A line, area or soundings object holding the given parts.
void fill(MapObject& o, EGEOMETRYTYPE type, const std::vector<std::vector<Point>>& parts) {
    int n = 0;
    for (const auto& p : parts)
        n += int(p.size());
    o.type = type;
    ASSERT_TRUE(o.allocate(int(parts.size()), n));
    int k = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        o.pointCounts[i] = int(parts[i].size());
        for (const Point& p : parts[i])
            o.points[k++] = p;
    }
}

// Centroid of a closed ring by the shoelace formula, in double.
void shoelace(const std::vector<Point>& r, double& cx, double& cy) {
    double a = 0, sx = 0, sy = 0;
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        const double cross = double(r[i].x) * r[i + 1].y - double(r[i + 1].x) * r[i].y;
        a += cross;
        sx += (double(r[i].x) + r[i + 1].x) * cross;
        sy += (double(r[i].y) + r[i + 1].y) * cross;
    }
    cx = sx / (3 * a);
    cy = sy / (3 * a);
}

std::vector<Point> reversed(std::vector<Point> r) {
    return std::vector<Point>(r.rbegin(), r.rend());
}

TEST(MapObject, CentreOfGravityOfLinesAndRings) {
    const std::vector<Point> square = {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}};
    const std::vector<Point> small = {{0, 0}, {0, 20}, {35, 20}, {35, 0}, {0, 0}};     // 700
    const std::vector<Point> justAbove = {{0, 0}, {0, 20}, {38, 20}, {38, 0}, {0, 0}}; // 760
    struct Case {
        const char* what;
        EGEOMETRYTYPE type;
        std::vector<std::vector<Point>> parts;
        int result;
        Point centre;
    } cases[] = {
        {"two points", egtLine, {{{0, 0}, {3, 5}}}, 1, {1, 2}},
        {"two negative points", egtLine, {{{0, 0}, {-3, -5}}}, 1, {-1, -2}},
        {"one point", egtSoundings, {{{7, -9}}}, 1, {7, -9}},
        {"no points", egtLine, {{}}, 0, {}},
        {"clockwise square", egtArea, {square}, 1, {50, 50}},
        {"anticlockwise square", egtArea, {reversed(square)}, 0, {}},
        {"700 square units", egtArea, {small}, 0, {}},
        {"760 square units", egtArea, {justAbove}, 1, {19, 10}},
        {"square split in two parts",
         egtArea,
         {{{0, 0}, {0, 100}, {100, 100}}, {{100, 0}, {0, 0}}},
         1,
         {50, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapObject o(egtEmpty, -1);
        fill(o, c.type, c.parts);
        Point out{12345, 12345};
        EXPECT_EQ(o.CentreOfGravity(out), c.result);
        if (c.result) {
            EXPECT_EQ(out.x, c.centre.x);
            EXPECT_EQ(out.y, c.centre.y);
        } else {
            EXPECT_EQ(out.x, 12345);
        }
    }
}

TEST(MapObject, CentreOfGravityMatchesTheShoelaceCentroid) {
    const std::vector<std::vector<Point>> rings = {
        {{0, 0}, {10, 40}, {60, 55}, {90, 10}, {40, -20}, {0, 0}},
        {{-500, 300}, {-420, 900}, {100, 1000}, {20, 640}, {300, 200}, {-100, -50}, {-500, 300}},
        {{1000, 1000}, {1000, 1300}, {1700, 1250}, {1600, 1000}, {1300, 1100}, {1000, 1000}},
        {{20000, -30000}, {21000, -10000}, {32000, -12000}, {30500, -29000}, {20000, -30000}},
    };
    for (const auto& r : rings) {
        MapObject o(egtEmpty, 0);
        fill(o, egtArea, {r});
        double cx, cy;
        shoelace(r, cx, cy);
        Point out;
        ASSERT_EQ(o.CentreOfGravity(out), 1) << r[1].x;
        EXPECT_NEAR(out.x, cx, 0.5 + 1e-6) << r[1].x;
        EXPECT_NEAR(out.y, cy, 0.5 + 1e-6) << r[1].x;
    }
}

TEST(MapObject, CentreOfGravityOfPointsAndRectangles) {
    MapObject p(egtPoint, 3);
    p.bounds = Rect{5, -6, 0, 0};
    MapObject inl(egtInlinePoint, 3);
    inl.bounds = Rect{-7, 8, 99, 99};
    MapObject r(egtRect, 3);
    r.bounds = Rect{-10, -3, 5, 4};
    MapObject inverted(egtRect, 3);
    inverted.bounds = Rect{10, 0, 5, 4};
    MapObject empty(egtEmpty, 3);
    MapObject lineWithoutArrays(egtLine, 3);
    struct Case {
        const MapObject* o;
        int result;
        Point centre;
    } cases[] = {{&p, 1, {5, -6}},       {&inl, 1, {-7, 8}},  {&r, 1, {-2, 0}},
                 {&inverted, 0, {0, 0}}, {&empty, 0, {0, 0}}, {&lineWithoutArrays, 0, {0, 0}}};
    for (const Case& c : cases) {
        Point out{0, 0};
        EXPECT_EQ(c.o->CentreOfGravity(out), c.result) << c.o->type;
        EXPECT_EQ(out.x, c.centre.x);
        EXPECT_EQ(out.y, c.centre.y);
    }
}

TEST(MapObject, CalcCoverAndClear) {
    MapObject o(egtEmpty, 9);
    fill(o, egtLine, {{{5, 7}, {-3, 2}}, {{10, -4}, {0, 0}, {6, 12}}});
    ASSERT_EQ(o.calcCover(), 1);
    EXPECT_EQ(o.bounds.left, -3);
    EXPECT_EQ(o.bounds.top, -4);
    EXPECT_EQ(o.bounds.right, 10);
    EXPECT_EQ(o.bounds.bottom, 12);
    EXPECT_EQ(o.clear(), 0);
    EXPECT_EQ(o.type, egtEmpty);
    EXPECT_EQ(o.partCount, 0);
    EXPECT_EQ(o.points, nullptr);
    EXPECT_EQ(o.pointCounts, nullptr);
    EXPECT_EQ(o.bounds.right, 0);
    EXPECT_EQ(o.tag, 9);

    MapObject inl(egtInlinePoint, 1);
    inl.bounds = Rect{1, 2, 3, 4};
    EXPECT_EQ(inl.calcCover(), 0);
    EXPECT_EQ(inl.bounds.right, 3);
    MapObject noParts(egtArea, 1);
    EXPECT_EQ(noParts.calcCover(), 0);
}

TEST(MapObject, FlatFunctions) {
    MapObject o(egtEmpty, 4);
    fill(o, egtLine, {{{0, 0}, {3, 5}}});
    o.bounds = Rect{1, 1, 1, 1};
    Point out;
    EXPECT_EQ(MapObject__CentreOfGravity(&o, &out), 1);
    EXPECT_EQ(out.x, 1);
    EXPECT_EQ(MapObject__CentreOfGravity(&o, nullptr), 0);
    EXPECT_EQ(MapObject__CentreOfGravity(nullptr, &out), 0);
    EXPECT_EQ(MapObject__calcCover(&o), 1);
    EXPECT_EQ(o.bounds.right, 3);
    EXPECT_EQ(MapObject__calcCover(nullptr), 0);
    EXPECT_EQ(MapObject__clear(&o), 0);
    EXPECT_EQ(o.type, egtEmpty);
    EXPECT_EQ(MapObject__clear(nullptr), -1);

    MapObject raw(egtSoundings, 6);
    raw.bounds = Rect{1, 2, 3, 4};
    MapObject__init(&raw);
    EXPECT_EQ(raw.type, egtPoint);
    EXPECT_EQ(raw.tag, 6);
    EXPECT_EQ(raw.bounds.bottom, 4);
    EXPECT_EQ(raw.partCount, 0);
    EXPECT_EQ(raw.points, nullptr);
    MapObject__init(nullptr);
}

// A polygon of the given positions.
void build(TGeoPolygone& poly, const std::vector<GeoPoint>& pts) {
    for (const GeoPoint& p : pts) {
        auto* n = static_cast<TLGeoPoint*>(newTinyObject(&TLGeoPoint::TOAllocator));
        ASSERT_NE(n, nullptr);
        *n = TLGeoPoint{nullptr, p};
        if (poly.tail)
            poly.tail->next = n;
        else
            poly.head = n;
        poly.tail = n;
        ++poly.count;
    }
}

// A view of the Oslofjord at 1:50000 and plane-coordinate fixtures in it,
// turned into positions through the map.
class ProjectedObjects : public ::testing::Test {
  protected:
    Mercator map{50000, GeoPoint{deg2nrm(10.75), deg2nrm(59.5)}, 150, 100, 0, 0, nullptr};
    const Rect& w = map.windowPlane;

    std::vector<GeoPoint> positions(const std::vector<Point>& plane) {
        std::vector<GeoPoint> g(plane.size());
        map.Map2Geo(plane.data(), g.data(), int(plane.size()));
        return g;
    }
    // Plane points of a ring given in fractions of the window (0 west or
    // south edge, 1 east or north edge).
    std::vector<Point> inWindow(const std::vector<std::pair<double, double>>& f) {
        std::vector<Point> p;
        for (auto [fx, fy] : f)
            p.push_back(Point{int(w.left + fx * (double(w.right) - w.left)),
                              int(w.top + fy * (double(w.bottom) - w.top))});
        return p;
    }
    std::vector<Point> part(const MapObject& o, int k) {
        int first = 0;
        for (int i = 0; i < k; ++i)
            first += o.pointCounts[i];
        return std::vector<Point>(o.points + first, o.points + first + o.pointCounts[k]);
    }
};

void expectNear(const std::vector<Point>& got, const std::vector<Point>& want, int tol) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, tol) << i;
        EXPECT_NEAR(got[i].y, want[i].y, tol) << i;
    }
}

// The same closed ring, possibly starting at another of its points.
void expectSameRing(const std::vector<Point>& got, const std::vector<Point>& want, int tol) {
    ASSERT_EQ(got.size(), want.size());
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.front().x, got.back().x);
    EXPECT_EQ(got.front().y, got.back().y);
    const std::size_t n = got.size() - 1;
    for (std::size_t shift = 0; shift < n; ++shift) {
        bool same = true;
        for (std::size_t i = 0; i < n && same; ++i) {
            const Point a = got[(i + shift) % n], b = want[i];
            same = std::abs(a.x - b.x) <= tol && std::abs(a.y - b.y) <= tol;
        }
        if (same) return;
    }
    ADD_FAILURE() << "the rings differ";
}

TEST_F(ProjectedObjects, ClosedRings) {
    const Point sw{w.left, w.top}, nw{w.left, w.bottom}, ne{w.right, w.bottom}, se{w.right, w.top};
    struct Case {
        const char* what;
        std::vector<Point> ring;
        std::vector<Point> want; // empty: nothing visible
    } cases[] = {
        {"inside", inWindow({{0.2, 0.2}, {0.2, 0.6}, {0.7, 0.6}, {0.6, 0.3}, {0.2, 0.2}}),
         inWindow({{0.2, 0.2}, {0.2, 0.6}, {0.7, 0.6}, {0.6, 0.3}, {0.2, 0.2}})},
        {"outside", inWindow({{1.2, 0.2}, {1.2, 0.6}, {1.7, 0.6}, {1.2, 0.2}}), {}},
        {"enclosing",
         inWindow({{-1, -1}, {-1, 2}, {2, 2}, {2, -1}, {-1, -1}}),
         {sw, nw, ne, se, sw}},
        {"half out east", inWindow({{0.5, 0.2}, {0.5, 0.6}, {1.5, 0.6}, {1.5, 0.2}, {0.5, 0.2}}),
         inWindow({{0.5, 0.2}, {0.5, 0.6}, {1, 0.6}, {1, 0.2}, {0.5, 0.2}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGeoPolygone poly;
        build(poly, positions(c.ring));
        MapObject o(&map, map.window, poly, 42);
        EXPECT_EQ(o.tag, 42);
        if (c.want.empty()) {
            EXPECT_EQ(o.type, egtEmpty);
            continue;
        }
        EXPECT_EQ(o.type, egtArea);
        ASSERT_EQ(o.partCount, 1);
        expectSameRing(part(o, 0), c.want, 2);
        EXPECT_EQ(o.bounds.left, std::min({o.points[0].x, o.points[1].x, o.points[2].x}));
    }
}

TEST_F(ProjectedObjects, OpenLinesAreCutIntoVisibleRuns) {
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> line;
        std::vector<std::vector<std::pair<double, double>>> runs;
    } cases[] = {
        // Two points inside keep both (not only the start of the segment).
        {"two points inside", {{0.2, 0.5}, {0.8, 0.5}}, {{{0.2, 0.5}, {0.8, 0.5}}}},
        {"inside", {{0.2, 0.2}, {0.4, 0.6}, {0.8, 0.5}}, {{{0.2, 0.2}, {0.4, 0.6}, {0.8, 0.5}}}},
        {"outside", {{1.2, 0.2}, {1.4, 0.6}, {1.8, 0.5}}, {}},
        {"leaving and re-entering",
         {{0.2, 0.5}, {0.6, 0.5}, {0.6, 1.5}, {0.8, 1.5}, {0.8, 0.5}, {0.9, 0.4}},
         {{{0.2, 0.5}, {0.6, 0.5}, {0.6, 1}}, {{0.8, 1}, {0.8, 0.5}, {0.9, 0.4}}}},
        {"crossing", {{-0.5, 0.5}, {1.5, 0.5}}, {{{0, 0.5}, {1, 0.5}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGeoPolygone poly;
        build(poly, positions(inWindow(c.line)));
        MapObject o(&map, map.window, poly, 7);
        EXPECT_EQ(o.tag, 7);
        if (c.runs.empty()) {
            EXPECT_EQ(o.type, egtEmpty);
            continue;
        }
        EXPECT_EQ(o.type, egtArea);
        ASSERT_EQ(o.partCount, int(c.runs.size()));
        for (std::size_t k = 0; k < c.runs.size(); ++k)
            expectNear(part(o, int(k)), inWindow(c.runs[k]), 2);
    }
}

TEST_F(ProjectedObjects, PointsAndEmptyLists) {
    const GeoPoint inside = positions(inWindow({{0.3, 0.4}}))[0];
    const GeoPoint outside = positions(inWindow({{1.3, 0.4}}))[0];
    Point at;
    map.Geo2Map(&inside, &at, 1);
    {
        TGeoPolygone poly;
        MapObject o(&map, map.window, poly, 5);
        EXPECT_EQ(o.type, egtEmpty);
        EXPECT_EQ(o.tag, -1);
    }
    {
        TGeoPolygone poly;
        build(poly, {inside});
        MapObject o(&map, map.window, poly, 5);
        EXPECT_EQ(o.type, egtPoint);
        EXPECT_EQ(o.tag, 5);
        EXPECT_EQ(o.bounds.left, at.x);
        EXPECT_EQ(o.bounds.top, at.y);
        MapObject p(&map, map.window, poly, egtPoint);
        EXPECT_EQ(p.type, egtPoint);
        EXPECT_EQ(p.tag, -1);
        EXPECT_EQ(p.bounds.left, at.x);
        EXPECT_EQ(p.bounds.top, at.y);
        for (EGEOMETRYTYPE t : {egtEmpty, egtRect, egtInlinePoint, egtLine, egtArea, egtSoundings})
            EXPECT_EQ(MapObject(&map, map.window, poly, t).type, egtEmpty) << t;
    }
    {
        TGeoPolygone poly;
        build(poly, {outside, inside});
        MapObject o(&map, map.window, poly, 5); // the first point decides
        EXPECT_EQ(MapObject(&map, map.window, poly, egtPoint).type, egtEmpty);
        TGeoPolygone one;
        build(one, {outside});
        MapObject q(&map, map.window, one, 5);
        EXPECT_EQ(q.type, egtEmpty);
        EXPECT_EQ(q.tag, 5);
    }
}

TEST_F(ProjectedObjects, SelfIntersectingRingsOverflowNothing) {
    // A ring that winds round the window's north-east corner again and again
    // (west, beyond the corner, south): each turn leaves through the north
    // edge, comes back through the east edge (adding the corner) and crosses
    // the south-west corner, so the clipped ring has more than two points
    // for each point of the list.
    std::vector<std::pair<double, double>> f;
    for (int i = 0; i < 13; ++i) {
        f.push_back({-0.5, 0.6 + 0.001 * i});
        f.push_back({3 + 0.01 * i, 3});
        f.push_back({0.6 + 0.001 * i, -0.5});
    }
    f.push_back(f.front());
    TGeoPolygone poly;
    build(poly, positions(inWindow(f)));
    MapObject o(&map, map.window, poly, 1);
    ASSERT_EQ(o.type, egtArea);
    ASSERT_EQ(o.partCount, 1);
    EXPECT_GT(o.pointCounts[0], 2 * int(f.size()));
    for (const Point& p : part(o, 0)) {
        EXPECT_GE(p.x, w.left);
        EXPECT_LE(p.x, w.right);
        EXPECT_GE(p.y, w.top);
        EXPECT_LE(p.y, w.bottom);
    }
}

TEST(ProjectedObjectsWorld, ARingAcrossTheAntimeridianIsClippedAsOnePiece) {
    // A world view centred on the Greenwich meridian: 180 degrees lies at the
    // plane's east and west edges.
    Mercator map(100000000, GeoPoint{0, 0}, 300, 100, 0, 0, nullptr);
    ASSERT_EQ(std::uint32_t(map.window.lon2) - std::uint32_t(map.window.lon1), 0xFFFFFFFEu);
    const std::vector<GeoPoint> ring = {{deg2nrm(170), deg2nrm(-10)},
                                        {deg2nrm(170), deg2nrm(10)},
                                        {deg2nrm(-170), deg2nrm(10)},
                                        {deg2nrm(-170), deg2nrm(-10)},
                                        {deg2nrm(170), deg2nrm(-10)}};
    TGeoPolygone poly;
    build(poly, ring);
    MapObject o(&map, map.window, poly, 3);
    ASSERT_EQ(o.type, egtArea);
    ASSERT_EQ(o.partCount, 1);
    Point west[2];
    const GeoPoint corners[2] = {ring[0], ring[1]};
    map.Geo2Map(corners, west, 2);
    // The western half, from 170 E to the plane's east edge (180 degrees);
    // the eastern points were not taken to the far west of the plane.
    EXPECT_EQ(o.bounds.left, west[0].x);
    EXPECT_NEAR(o.bounds.right, map.windowPlane.right, 1);
    EXPECT_EQ(o.bounds.top, west[0].y);
    EXPECT_EQ(o.bounds.bottom, west[1].y);
    EXPECT_EQ(o.pointCounts[0], 5);
}

TEST(ProjectedObjectsWorld, ARingAcross180InsideAWindowAcross180IsKept) {
    Mercator map(200000, GeoPoint{deg2nrm(179.9), deg2nrm(60)}, 150, 100, 0, 0, nullptr);
    ASSERT_GT(map.window.lon1, map.window.lon2);
    const std::vector<Point> ring = {
        {-2000, -1500}, {-2000, 1500}, {3000, 1500}, {3000, -1500}, {-2000, -1500}};
    std::vector<GeoPoint> g(ring.size());
    map.Map2Geo(ring.data(), g.data(), int(g.size()));
    ASSERT_LT(g[2].lon, 0); // the eastern corners lie east of 180 degrees
    TGeoPolygone poly;
    build(poly, g);
    MapObject o(&map, map.window, poly, 3);
    ASSERT_EQ(o.type, egtArea);
    ASSERT_EQ(o.partCount, 1);
    expectSameRing(std::vector<Point>(o.points, o.points + o.pointCounts[0]), ring, 1);
}

TEST(ProjectedObjectsThreads, TwoThreadsBuildObjectsAtOnce) {
    Mercator map(50000, GeoPoint{deg2nrm(10.75), deg2nrm(59.5)}, 150, 100, 0, 0, nullptr);
    std::vector<Point> ring = {{-9000, -6000}, {-9000, 6000}, {9000, 6000}, {9000, -6000}};
    ring.push_back(ring.front());
    std::vector<GeoPoint> g(ring.size());
    map.Map2Geo(ring.data(), g.data(), int(g.size()));
    auto work = [&](int* areas) {
        for (int i = 0; i < 300; ++i) {
            TGeoPolygone poly;
            build(poly, g);
            MapObject o(&map, map.window, poly, i);
            *areas += o.type == egtArea && o.pointCounts[0] == 5;
        }
    };
    int a = 0, b = 0;
    std::thread t1(work, &a), t2(work, &b);
    t1.join();
    t2.join();
    EXPECT_EQ(a, 300);
    EXPECT_EQ(b, 300);
}

} // namespace
