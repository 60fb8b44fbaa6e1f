#include "gdb/TGdbFormula.h"
#include "kv71/TKV71DbObjectIterator.h"
#include "kv71/cellReader.h"
#include "kv71/objectGeometry.h"
#include "proj/KV71Map.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"
#include "util/sphere.h"

#include "KV71QueryFixture.h"

#include <numeric>
#include <thread>

using namespace kv71query;
using namespace kv71write;

namespace {

constexpr int lonE = 30, latE = 300, levelE = 5; // the cell 10..10.33 E, 10..10.33 N

GeoRect degrees(double west, double south, double east, double north) {
    return GeoRect{deg2nrm(west), deg2nrm(south), deg2nrm(east), deg2nrm(north)};
}

bool operator==(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

// The points of part i of an object.
std::vector<Point> part(const MapObject& o, int i) {
    int start = 0;
    for (int k = 0; k < i; ++k)
        start += o.pointCounts[k];
    return std::vector<Point>(o.points + start, o.points + start + o.pointCounts[i]);
}

std::vector<int> extras(const MapObject& o) {
    return std::vector<int>(o.extras, o.extras + o.extraCount);
}

class KV71Geometry : public ChartTree {
  protected:
    // Writes the cell with the objects and loads it; objects are taken from
    // its file-order table.
    void load(CellFile cell, int lon = lonE) {
        cell.header = cellHeaderFor(lon, latE, levelE);
        ASSERT_TRUE(writeCellFile(root(), lon, latE, levelE, cell));
        openDb(TKV71Db::loadWithoutCatalog);
        std::string name = cellName(lon, latE, levelE);
        std::uint16_t count = 0;
        records = LoadKV71Cell(name.data(), count);
        ASSERT_EQ(count, cell.objects.size());
        loaded = KV71CurrentCell();
    }
    // A Mercator view centred on the cell: scale, half-size in chart
    // millimetres and plane units per chart metre.
    void view(std::uint32_t scale = 200000, int half = 100, int div = 10000) {
        map.reset(newMap(PRJ_MERCATOR, scale,
                         GeoPoint{deg2nrm(10 + 1.0 / 6), deg2nrm(10 + 1.0 / 6)}, half, half, div,
                         div, nullptr));
        ASSERT_NE(map, nullptr);
    }
    // newMapObject of object i over the window.
    std::unique_ptr<MapObject> build(int i, GeoRect window, MapObject* reuse = nullptr) {
        TKV71DbObject object(db.get(), loaded, &records[i]);
        MapObject* o = object.newMapObject(map.get(), window, reuse);
        if (reuse) {
            EXPECT_TRUE(o == nullptr || o == reuse);
            return nullptr;
        }
        return std::unique_ptr<MapObject>(o);
    }
    // The plane point of a local cell point, through the map's own
    // projection of its position.
    Point viaMap(double x, double y) const {
        const KV71CellHeader& h = *loaded->header;
        double lat, lon;
        sphereMercatorInverse(y * (h.yMax - h.yMin) / 65535 + h.yMin,
                              x * (h.xMax - h.xMin) / 65535 + h.xMin, &lat, &lon);
        GeoPoint g{deg2nrm(lon), deg2nrm(lat)};
        Point p{};
        map->Geo2Map(&g, &p, 1);
        return p;
    }

    KV71ObjectRecord* records = nullptr;
    TGeoCell* loaded = nullptr;
    std::unique_ptr<Map> map;
    const GeoRect wholeCell = degrees(10, 10, 10 + 1.0 / 3, 10 + 1.0 / 3);
    const GeoRect westHalf = degrees(9, 9, 10 + 1.0 / 6, 11);
    const GeoRect southHalf = degrees(9, 9, 11, 10 + 1.0 / 6);
};

TEST_F(KV71Geometry, PointsAreInsideWithTheirBordersAndPlacedLikeTheMap) {
    CellFile cell;
    cell.points = {{65535, 30000}, {32768, 32768}, {100, 65000}};
    cell.objects = {pointObject(1, 0), pointObject(1, 1), pointObject(1, 2)};
    load(cell);
    view();
    // On the east edge of the window: drawn.
    auto edge = build(0, wholeCell);
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->type, egtPoint);
    EXPECT_EQ(edge->tag, dictionary->GetSlot());
    EXPECT_EQ(build(0, westHalf), nullptr);
    // Placement agrees with the map's own projection near the centre.
    auto centre = build(1, wholeCell);
    ASSERT_NE(centre, nullptr);
    const Point want = viaMap(32768, 32768);
    EXPECT_NEAR(centre->bounds.left, want.x, 1);
    EXPECT_NEAR(centre->bounds.top, want.y, 1);
    // North-west corner area: west of the centre, north of it.
    auto corner = build(2, wholeCell);
    ASSERT_NE(corner, nullptr);
    EXPECT_LT(corner->bounds.left, centre->bounds.left);
    EXPECT_GT(corner->bounds.top, centre->bounds.top);
    EXPECT_EQ(build(2, southHalf), nullptr);
}

TEST_F(KV71Geometry, CellsAtTheEndsOfTheGridMeetViewsAcrossTheMeridians) {
    // The cells just west of 0 E and of 180 E in views centred on those
    // meridians (10.17 N), whose windows reach across them.
    struct Case {
        int lon;
        double centre;
    } cases[] = {{1079, 0}, {539, 180}};
    for (const Case& c : cases) {
        CellFile cell;
        cell.points = {{32768, 32768}, {65535, 32768}};
        cell.objects = {pointObject(1, 0), pointObject(1, 1)};
        load(cell, c.lon);
        map.reset(newMap(PRJ_MERCATOR, 200000, GeoPoint{deg2nrm(c.centre), deg2nrm(10 + 1.0 / 6)},
                         100, 100, 10000, 10000, nullptr));
        ASSERT_NE(map, nullptr);
        GeoRect window = map->window;
        for (int i : {0, 1}) {
            TKV71DbObject object(db.get(), loaded, &records[i]);
            std::unique_ptr<MapObject> o(object.newMapObject(map.get(), window, nullptr));
            ASSERT_NE(o, nullptr) << c.lon << " " << i;
            const Point want = viaMap(i == 0 ? 32768 : 65535, 32768);
            EXPECT_NEAR(o->bounds.left, want.x, 1) << c.lon << " " << i;
            EXPECT_NEAR(o->bounds.top, want.y, 1) << c.lon << " " << i;
            EXPECT_LE(o->bounds.left, 0);
        }
    }
}

TEST_F(KV71Geometry, AreasKeepTheirOuterRingWithSegments) {
    // The ring starts at its north-east corner; its second edge is masked.
    CellFile cell;
    cell.edges = {
        {{{40000, 40000}, {100, 40000}, {100, 100}}, {}},
        {{{100, 100}, {40000, 100}, {40000, 40000}}, {}},
        {{{1000, 1000}, {2000, 1000}, {2000, 2000}, {1000, 1000}}, {}}, // a hole
    };
    CellObject area;
    area.classCode = 1;
    area.geometry = AreaGeometry;
    area.edgeRefs = {areaRef(0), areaRef(1, KV71RefPart), areaRef(2, KV71RefRing)};
    cell.objects = {area};
    load(cell);
    view();

    // Wholly inside: one closed part, one segment per edge (the shared
    // point counted once), the masked edge negative, the hole left out.
    auto inside = build(0, wholeCell);
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->type, egtArea);
    ASSERT_EQ(inside->partCount, 1);
    const std::vector<Point> ring = part(*inside, 0);
    ASSERT_EQ(ring.size(), 5u);
    EXPECT_TRUE(ring.front() == ring.back());
    EXPECT_EQ(extras(*inside), (std::vector<int>{3, -2}));
    EXPECT_EQ(inside->bounds.right, ring[0].x);
    EXPECT_EQ(inside->bounds.left, ring[1].x);

    // Cut by the window's east edge (the middle of the cell): the ring is
    // closed along that edge by a segment that is not stroked.
    auto cut = build(0, westHalf);
    ASSERT_NE(cut, nullptr);
    ASSERT_EQ(cut->partCount, 1);
    const std::vector<Point> half = part(*cut, 0);
    ASSERT_EQ(half.size(), 5u);
    EXPECT_TRUE(half.front() == half.back());
    EXPECT_EQ(extras(*cut), (std::vector<int>{3, -1, -1}));
    EXPECT_LT(cut->bounds.right, inside->bounds.right);
    EXPECT_EQ(cut->bounds.left, inside->bounds.left);
    EXPECT_EQ(half[3].x, cut->bounds.right); // the window edge
    EXPECT_EQ(half[4].x, cut->bounds.right);

    // A window inside the ring, away from every edge: the window itself.
    auto within = build(0, degrees(10.09, 10.09, 10.11, 10.11));
    ASSERT_NE(within, nullptr);
    ASSERT_EQ(within->partCount, 1);
    const std::vector<Point> box = part(*within, 0);
    ASSERT_EQ(box.size(), 5u);
    EXPECT_TRUE(box.front() == box.back());
    for (const Point& p : box) {
        EXPECT_TRUE(p.x == within->bounds.left || p.x == within->bounds.right);
        EXPECT_TRUE(p.y == within->bounds.top || p.y == within->bounds.bottom);
    }
    EXPECT_GT(within->bounds.left, inside->bounds.left);
    EXPECT_LT(within->bounds.right, inside->bounds.right);

    // A window that misses the ring.
    EXPECT_EQ(build(0, degrees(10.3, 10.3, 10.32, 10.32)), nullptr);
}

TEST_F(KV71Geometry, LinesLeaveAndReenterAndFollowTheirEdgeDirection) {
    CellFile cell;
    cell.edges = {{{{100, 100}, {100, 50000}, {200, 50000}, {200, 100}}, {}}};
    CellObject forward;
    forward.classCode = 2;
    forward.geometry = LineGeometry;
    forward.edgeRefs = {lineRef(0)};
    CellObject backward = forward;
    backward.edgeRefs = {lineRef(0, true)};
    cell.objects = {forward, backward};
    load(cell);
    view(50000, 100, 10000);

    auto f = build(0, southHalf);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->type, egtLine);
    ASSERT_EQ(f->partCount, 2);
    EXPECT_EQ(f->pointCounts[0], 2);
    EXPECT_EQ(f->pointCounts[1], 2);
    EXPECT_EQ(f->extraCount, 0);
    const std::vector<Point> up = part(*f, 0), down = part(*f, 1);
    EXPECT_LT(up[0].y, up[1].y); // runs north to the window's edge
    EXPECT_EQ(up[1].y, down[0].y);
    EXPECT_GT(down[0].y, down[1].y);
    EXPECT_LT(up[0].x, down[0].x);

    // The reversed line runs the other way.
    auto b = build(1, southHalf);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->partCount, 2);
    EXPECT_TRUE(part(*b, 0)[0] == down[1]);
    EXPECT_TRUE(part(*b, 1)[1] == up[0]);

    // Wholly inside: one part of all four points.
    auto whole = build(0, wholeCell);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->partCount, 1);
    EXPECT_EQ(whole->pointCounts[0], 4);
}

TEST_F(KV71Geometry, SoundingsKeepTheDepthsOfThePointsInside) {
    CellFile cell;
    cell.soundings = {{{{100, 100, 45}, {60000, 100, 1234}, {200, 300, 7}}, {}}};
    CellObject soundings;
    soundings.classCode = 3;
    soundings.geometry = SoundingGeometry;
    cell.objects = {soundings};
    load(cell);
    view();
    auto s = build(0, westHalf);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->type, egtSoundings);
    ASSERT_EQ(s->partCount, 1);
    ASSERT_EQ(s->pointCounts[0], 2);
    EXPECT_EQ(s->extraCount, 0);
    EXPECT_EQ(s->extras[0], 45);
    EXPECT_EQ(s->extras[1], 7);
    EXPECT_LT(s->points[0].x, s->points[1].x);
    EXPECT_EQ(s->bounds.left, s->points[0].x);
    EXPECT_EQ(build(0, degrees(10.3, 10.3, 10.32, 10.32)), nullptr);
}

TEST_F(KV71Geometry, ObjectsWithoutGeometryOtherMapsAndReuse) {
    CellFile cell;
    cell.points = {{100, 100}};
    CellObject bare;
    bare.classCode = 4;
    cell.objects = {bare, pointObject(1)};
    load(cell);
    view();
    auto empty = build(0, wholeCell);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->type, egtEmpty);
    EXPECT_EQ(empty->tag, dictionary->GetSlot());

    // A map that is not a KV71 map places nothing.
    Map plain(200000, GeoPoint{deg2nrm(10.1), deg2nrm(10.1)}, 100, 100, 10000, 10000, nullptr);
    TKV71DbObject point(db.get(), loaded, &records[1]);
    GeoRect window = wholeCell;
    EXPECT_EQ(point.newMapObject(&plain, window, nullptr), nullptr);
    TKV71DbObject none(db.get());
    EXPECT_EQ(none.newMapObject(map.get(), window, nullptr), nullptr);

    // A reused object is filled, and left cleared when nothing is built.
    MapObject reuse(egtEmpty, -1);
    ASSERT_TRUE(reuse.allocate(2, 10));
    reuse.type = egtLine;
    build(1, wholeCell, &reuse);
    EXPECT_EQ(reuse.type, egtPoint);
    EXPECT_EQ(reuse.pointCounts, nullptr);
    build(1, southHalf, &reuse); // the point lies in the south-west corner
    EXPECT_EQ(reuse.type, egtPoint);
    build(1, degrees(10.3, 10.3, 10.32, 10.32), &reuse);
    EXPECT_EQ(reuse.type, egtEmpty);
}

TEST_F(KV71Geometry, TheClipCoverIsKeptForTheSameCellAndWindow) {
    CellFile cell;
    cell.points = {{100, 100}};
    cell.objects = {pointObject(1), pointObject(2)};
    load(cell);
    view();
    const std::uint64_t before = KV71ClipCoverBuilds();
    build(0, wholeCell);
    build(1, wholeCell);
    build(0, wholeCell);
    EXPECT_EQ(KV71ClipCoverBuilds(), before + 1);
    build(0, westHalf);
    EXPECT_EQ(KV71ClipCoverBuilds(), before + 2);
}

TEST_F(KV71Geometry, PointsThatMeetAfterPlacingAreDroppedWithTheirSegments) {
    // At 1:20,000,000 the short middle edge falls onto one plane point: its
    // segment empties and the rest of the ring stays.
    CellFile cell;
    cell.edges = {
        {{{100, 100}, {30000, 100}}, {}},
        {{{30000, 100}, {30001, 100}, {30002, 101}}, {}},
        {{{30002, 101}, {30000, 30000}, {100, 100}}, {}},
    };
    CellObject area;
    area.classCode = 1;
    area.geometry = AreaGeometry;
    area.edgeRefs = {areaRef(0), areaRef(1), areaRef(2)};
    cell.objects = {area};
    load(cell);
    view(20000000, 100, 10000);
    auto a = build(0, wholeCell);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->partCount, 1);
    const std::vector<int> segments = extras(*a);
    int total = 0;
    for (int s : segments)
        total += std::abs(s);
    EXPECT_EQ(total, a->pointCounts[0]);
    EXPECT_EQ(segments.size(), 2u);
    const std::vector<Point> ring = part(*a, 0);
    EXPECT_TRUE(ring.front() == ring.back());
    for (std::size_t i = 1; i < ring.size(); ++i)
        EXPECT_FALSE(ring[i] == ring[i - 1]) << i;
}

TEST_F(KV71Geometry, ObjectsBeyondThirtyThousandPointsAreWhole) {
    CellFile cell;
    CellEdge zigzag;
    for (int i = 0; i < 40000; ++i)
        zigzag.points.push_back(
            {static_cast<std::uint16_t>(100 + i), static_cast<std::uint16_t>(i % 2 ? 300 : 100)});
    cell.edges = {zigzag};
    CellObject line;
    line.classCode = 2;
    line.geometry = LineGeometry;
    line.edgeRefs = {lineRef(0)};
    cell.objects = {line};
    load(cell);
    view(5000, 100, 10000);
    auto l = build(0, wholeCell);
    ASSERT_NE(l, nullptr);
    ASSERT_EQ(l->partCount, 1);
    EXPECT_EQ(l->pointCounts[0], 40000);
}

// A 2 x 2 block of cells, each with an area over the whole cell, a point at
// its centre and a line across it, three of them in the block index; a view
// around the common corner.
TEST_F(KV71Geometry, QueryOfAViewOverSeveralCells) {
    for (int lon : {30, 31})
        for (int lat : {300, 301}) {
            CellFile cell;
            cell.header = cellHeaderFor(lon, lat, levelE);
            // The line runs through the view's centre, the corner the four
            // cells share.
            const bool diagonal = (lon == 30) == (lat == 300);
            cell.edges = {{{{0, 0}, {65535, 0}, {65535, 65535}, {0, 65535}, {0, 0}}, {}},
                          {diagonal ? std::vector<LocalPoint>{{0, 0}, {65535, 65535}}
                                    : std::vector<LocalPoint>{{0, 65535}, {65535, 0}},
                           {}}};
            cell.points = {{32768, 32768}};
            CellObject area;
            area.classCode = 1;
            area.geometry = AreaGeometry;
            area.edgeRefs = {areaRef(0)};
            CellObject line;
            line.classCode = 2;
            line.geometry = LineGeometry;
            line.edgeRefs = {lineRef(1)};
            cell.objects = {area, pointObject(4), line};
            ASSERT_TRUE(writeCellFile(root(), lon, lat, levelE, cell));
        }
    // The block index lists three of the four cells: the fourth is not read.
    catalogue(levelE, {{30, 300}, {31, 300}, {30, 301}});
    openDb();
    // 1:50,000, 100 x 60 mm half-size: 5 km x 3 km around 10.333 E, 10.333 N.
    map.reset(newMap(PRJ_MERCATOR, 50000, GeoPoint{deg2nrm(10 + 1.0 / 3), deg2nrm(10 + 1.0 / 3)},
                     100, 60, 0, 0, nullptr));
    ASSERT_NE(map, nullptr);
    TGdbQuery query(*db);
    const TGdbFormula f{0, ~0u, ~0u, 0, 255, 0, 0, nullptr, 0, nullptr, 0};
    GeoRect window = map->window;
    ASSERT_EQ(query.open(window, 50000ul, &f), 1);
    std::vector<int> codes;
    int areas = 0, lines = 0;
    // The window's plane rectangle comes from the map's ellipsoid, the
    // cells' metres from the chart sphere: they differ by up to 1 %.
    const Rect plane = map->windowPlane;
    const int slackX = (plane.right - plane.left) / 100, slackY = (plane.bottom - plane.top) / 100;
    while (GdbObject* o = query.next()) {
        codes.push_back(o->GetLabel());
        std::unique_ptr<MapObject> m(o->newMapObject(map.get(), window, nullptr));
        if (o->GetLabel() == 4) {
            EXPECT_EQ(m, nullptr); // the cells' centres lie outside the view
            continue;
        }
        ASSERT_NE(m, nullptr);
        int points = 0;
        for (int i = 0; i < m->partCount; ++i)
            points += m->pointCounts[i];
        for (int i = 0; i < points; ++i) {
            EXPECT_GE(m->points[i].x, plane.left - slackX);
            EXPECT_LE(m->points[i].x, plane.right + slackX);
            EXPECT_GE(m->points[i].y, plane.top - slackY);
            EXPECT_LE(m->points[i].y, plane.bottom + slackY);
        }
        if (m->type == egtArea) {
            ++areas;
            // Each cell's area fills its quarter of the view: a rectangle.
            EXPECT_EQ(m->partCount, 1);
            EXPECT_EQ(m->pointCounts[0], 5);
            EXPECT_EQ(m->bounds.right - m->bounds.left > 0, true);
        } else {
            EXPECT_EQ(m->type, egtLine);
            EXPECT_EQ(m->partCount, 1);
            EXPECT_EQ(m->pointCounts[0], 2);
            ++lines;
        }
    }
    // Descending priorities: the points (30), the lines (15), the areas (10).
    EXPECT_EQ(codes, (std::vector<int>{4, 4, 4, 2, 2, 2, 1, 1, 1}));
    EXPECT_EQ(areas, 3);
    EXPECT_EQ(lines, 3);
    query.close();
}

} // namespace

namespace {

// Four threads query views of their own over eight cells that do not fit the
// cache's budget together, building the geometry of every object: loads evict
// the cells no walk holds while the others' cells stay.
TEST_F(KV71Geometry, ViewsOnSeveralThreadsShareTheCache) {
    for (int lon = 30; lon < 34; ++lon)
        for (int lat : {300, 301}) {
            CellFile cell;
            cell.header = cellHeaderFor(lon, lat, levelE);
            for (int e = 0; e < 1500; ++e) {
                CellEdge edge;
                for (int k = 0; k < 40; ++k)
                    edge.points.push_back({static_cast<std::uint16_t>(e * 40 + k),
                                           static_cast<std::uint16_t>((e * 7 + k * 13) % 65536)});
                cell.edges.push_back(edge);
                CellObject line;
                line.classCode = static_cast<std::uint8_t>(1 + e % 4);
                line.geometry = LineGeometry;
                line.edgeRefs = {lineRef(static_cast<std::uint16_t>(e))};
                cell.objects.push_back(line);
            }
            ASSERT_TRUE(writeCellFile(root(), lon, lat, levelE, cell));
        }
    openDb(TKV71Db::loadWithoutCatalog);
    std::vector<std::thread> threads;
    std::vector<long> drawn(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            // Views of two cells each, moving east.
            for (int round = 0; round < 6; ++round) {
                const double west = 10 + ((t + round) % 3) / 3.0 + 0.01;
                std::unique_ptr<Map> m(newMap(PRJ_MERCATOR, 50000,
                                              GeoPoint{deg2nrm(west + 0.3), deg2nrm(10.2)}, 400,
                                              400, 0, 0, nullptr));
                GeoRect window{deg2nrm(west), deg2nrm(10.01), deg2nrm(west + 0.6), deg2nrm(10.6)};
                TGdbQuery query(*db);
                query.open(window, 50000ul, nullptr);
                while (GdbObject* o = query.next()) {
                    std::unique_ptr<MapObject> g(o->newMapObject(m.get(), window, nullptr));
                    if (g) ++drawn[static_cast<std::size_t>(t)];
                }
            }
        });
    for (std::thread& t : threads)
        t.join();
    for (long n : drawn)
        EXPECT_GT(n, 0);
    EXPECT_GT(KV71CellMemoryUsed(), 0u);
    for (const TGeoCell* c = KV71CellCacheList().head; c; c = c->next)
        EXPECT_EQ(c->lockCount, 0u);
}

} // namespace
