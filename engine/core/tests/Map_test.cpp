#include "geo/GeoEllipsoid.h"
#include "geo/GeoPoint.h"
#include "proj/Map.h"
#include "proj/Mercator.h"
#include "proj/TLMapWin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

namespace {

GeoPoint at(double lonDeg, double latDeg) {
    return GeoPoint{deg2nrm(lonDeg), deg2nrm(latDeg)};
}

TEST(Map, ChartMetresPerRadianFollowTheSystemEllipsoid) {
    const double a = _pSystemEllipsoid->a, e2 = _pSystemEllipsoid->e2;
    for (double deg : {0.0, 37.5, -60.0}) {
        Map m(25000, at(5, deg), 150, 100, 1000, 2000, nullptr);
        const double lat = m.centre.lat * 2 * M_PI / 4294967296.0;
        const double s = std::sin(lat), W = 1 / std::sqrt(1 - e2 * s * s);
        EXPECT_NEAR(m.kx, a * std::cos(lat) * W / 25000, 1e-9) << lat;
        EXPECT_NEAR(m.ky, a * (1 - e2) * W / 25000, 1e-9) << lat;
        EXPECT_NEAR(m.kxd, 2 * M_PI / 4294967296.0 * 1000 * m.kx, 1e-15);
        EXPECT_NEAR(m.kyd, 2 * M_PI / 4294967296.0 * 2000 * m.ky, 1e-15);
        EXPECT_EQ(m.projection, 0);
        EXPECT_EQ(m.div.x, 1000);
        EXPECT_EQ(m.div.y, 2000);
    }
}

TEST(Map, WindowAndDerivedDiv) {
    Map m(50000, at(0, 0), 100000, 50000, 0, 0, nullptr);
    EXPECT_EQ(m.div.x, 327);
    EXPECT_EQ(m.div.y, 655);
    // The window is the half-sizes around the centre, in chart millimetres.
    EXPECT_EQ(m.windowMap.right, 100000);
    EXPECT_EQ(m.windowMap.left, -100000);
    EXPECT_EQ(m.windowMap.bottom, 50000);
    EXPECT_EQ(m.windowMap.top, -50000);
    Map small(50000, at(10, 59), 150, 100, 0, 0, nullptr);
    EXPECT_EQ(small.windowMap.right, 150);
    EXPECT_EQ(small.windowMap.left, -150);
    EXPECT_EQ(small.windowMap.top, -100);
    EXPECT_EQ(small.div.x, 32767);
    // 100 chart metres at 1:50000 are 5000 km: 5e6 / (a pi / 180) degrees.
    const double halfDeg = 5e6 / (_pSystemEllipsoid->a * M_PI / 180);
    EXPECT_NEAR(m.window.lon2 * 360.0 / 4294967296.0, halfDeg, 1e-6);
    EXPECT_EQ(m.window.lon1, -m.window.lon2);
    // The plane reaches 32767 at the window's wider edge.
    EXPECT_NEAR(m.windowPlane.right, 32700, 70);
    EXPECT_EQ(m.windowPlane.left, -m.windowPlane.right);
    EXPECT_LE(m.windowPlane.bottom, 32767);
    EXPECT_GT(m.windowPlane.bottom, 32700);
}

TEST(Map, WindowLatitudesStopAtThePoles) {
    Map north(1000000, at(20, 89), 150, 2000, 0, 0, nullptr);
    EXPECT_EQ(north.window.lat2, 0x40000000);
    EXPECT_LT(north.window.lat1, north.centre.lat);
    Map south(1000000, at(20, -89), 150, 2000, 0, 0, nullptr);
    EXPECT_EQ(south.window.lat1, -0x40000000);
}

TEST(Map, ZeroHalfSizesAndScaleAreTakenAsOne) {
    Map m(0, at(10, 60), 0, 0, 0, 0, nullptr);
    EXPECT_EQ(m.scale, 1u);
    EXPECT_GE(m.div.x, 1);
    EXPECT_LE(m.div.x, 32767);
    EXPECT_GE(m.div.y, 1);
    EXPECT_LE(m.div.y, 32767);
    EXPECT_TRUE(std::isfinite(m.kxd));
    EXPECT_TRUE(std::isfinite(m.invKyd));
    Map pole(50000, at(0, 90), 0, -5, 0, 0, nullptr); // kx is 0 at the pole
    EXPECT_GE(pole.div.x, 1);
    EXPECT_EQ(pole.window.lat2, 0x40000000);
}

TEST(Map, HalvesBeyondThePlaneRangeKeepADivisorOfOne) {
    // 32767000 / 40000000 chart millimetres would be a divisor of 0, which puts
    // every position on the centre.
    const std::unique_ptr<Map> maps[] = {
        std::make_unique<Map>(1, at(0, 0), 40000000, 40000000, 0, 0, nullptr),
        std::make_unique<Mercator>(1, at(0, 0), 40000000, 40000000, 0, 0, nullptr),
    };
    for (const auto& m : maps) {
        EXPECT_EQ(m->div.x, 1) << m->projection;
        EXPECT_EQ(m->div.y, 1) << m->projection;
        const GeoPoint p = at(0.1, 0.1); // about 11 km of chart at 1:1
        Point q{};
        m->Geo2Map(&p, &q, 1);
        EXPECT_NEAR(q.x, 11132, 5) << m->projection;
        EXPECT_NEAR(q.y, 11057, 15) << m->projection;
        GeoPoint back{};
        m->Map2Geo(&q, &back, 1);
        EXPECT_NEAR(back.lon, p.lon, 400) << m->projection; // within a plane unit (1 m)
        EXPECT_NEAR(back.lat, p.lat, 400) << m->projection;
    }
}

TEST(Map, LinearConversionsAcrossTheAntimeridian) {
    Map m(200000, at(179.9, -17), 150, 100, 1000, 1000, nullptr);
    EXPECT_GT(m.window.lon1, m.window.lon2); // the window straddles 180 degrees
    const GeoPoint pts[] = {m.centre, at(-179.99, -17), at(179.8, -16.9), at(-179.9, -17.1)};
    Point plane[4];
    ASSERT_EQ(m.Geo2Map(pts, plane, 4), 1);
    EXPECT_EQ(plane[0].x, 0);
    EXPECT_EQ(plane[0].y, 0);
    EXPECT_GT(plane[1].x, 0); // just east of 180 lies east of the centre
    EXPECT_NEAR(plane[1].x, 0.11 * M_PI / 180 * m.kx * 1000, 0.6);
    EXPECT_LT(plane[2].x, 0);
    EXPECT_GT(plane[2].y, 0);
    GeoPoint back[4];
    ASSERT_EQ(m.Map2Geo(plane, back, 4), 1);
    EXPECT_EQ(back[0].lon, m.centre.lon);
    EXPECT_EQ(back[0].lat, m.centre.lat);
    // One plane unit is about 1 / kxd binary units: the round trip stays
    // within half of it.
    for (int i = 1; i < 4; ++i) {
        EXPECT_LE(std::abs(std::int32_t(std::uint32_t(back[i].lon) - std::uint32_t(pts[i].lon))),
                  0.5 / m.kxd + 1);
        EXPECT_LE(std::abs(back[i].lat - pts[i].lat), 0.5 / m.kyd + 1);
    }
    EXPECT_EQ(m.Geo2Map(pts, plane, 0), 1);
    EXPECT_EQ(m.Geo2Map(pts, plane, -3), 1);
}

TEST(Map, RectanglesConvertCornerByCorner) {
    Map m(50000, at(10, 59), 150, 100, 0, 0, nullptr);
    const GeoRect r[2] = {
        m.window, {at(10, 59).lon, at(10, 59).lat, at(10.1, 59.05).lon, at(10.1, 59.05).lat}};
    Rect plane[2];
    ASSERT_EQ(m.Geo2Map(r, plane, 2), 1);
    EXPECT_EQ(plane[0].left, m.windowPlane.left);
    EXPECT_EQ(plane[0].top, m.windowPlane.top);
    EXPECT_EQ(plane[0].right, m.windowPlane.right);
    EXPECT_EQ(plane[0].bottom, m.windowPlane.bottom);
    EXPECT_EQ(plane[1].left, 0);
    EXPECT_EQ(plane[1].top, 0);
    GeoRect back[2];
    ASSERT_EQ(m.Map2Geo(plane, back, 2), 1);
    EXPECT_NEAR(back[1].lon2, r[1].lon2, 0.5 / m.kxd + 1);
    EXPECT_NEAR(back[1].lat2, r[1].lat2, 0.5 / m.kyd + 1);
}

TEST(Map, BaseBuildsNoLines) {
    Map m(50000, at(10, 59), 150, 100, 0, 0, nullptr);
    EXPECT_EQ(m.getMeridian(m.centre.lon, nullptr), nullptr);
    EXPECT_EQ(m.getParallel(m.centre.lat, nullptr), nullptr);
    EXPECT_EQ(m.getLoxodromia(m.centre, m.centre, nullptr), nullptr);
    EXPECT_EQ(m.getOrtodromia(m.centre, m.centre, nullptr), nullptr);
}

TEST(MapWin, IdentityTransform) {
    Map::Win w(nullptr);
    w.setAzimuth(45.0f, 1);
    EXPECT_EQ(w.getAzimuth(1), 0.0f);
    const Point in[2] = {{1, 2}, {-3, 4}};
    Point out[2] = {};
    EXPECT_EQ(w.Map2Win(in, out, 2), 1);
    EXPECT_EQ(out[1].x, -3);
    EXPECT_EQ(out[1].y, 4);
    Point same[1] = {{7, 8}};
    EXPECT_EQ(w.Win2Map(same, same, 1), 1);
    EXPECT_EQ(same[0].x, 7);
    const Rect rin[1] = {{1, 2, 3, 4}};
    Rect rout[1] = {};
    EXPECT_EQ(w.Win2Map(rin, rout, 1), 1);
    EXPECT_EQ(rout[0].bottom, 4);
    EXPECT_EQ(w.Map2Win(rin, rout, 0), 1);
}

TEST(MapWinRegistry, AMapWithoutTransformHoldsACountedEntry) {
    const std::uint32_t before = registeredMapWinCount();
    auto* m = new Map(50000, at(10, 59), 150, 100, 0, 0, nullptr);
    TLMapWin* entry = isMapWinRegistered(m->win);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->count, 1);
    EXPECT_EQ(entry->map, m);
    EXPECT_EQ(registeredMapWinCount(), before + 1);
    // A second holder of the same map shares the entry.
    EXPECT_EQ(acquireMapWin(m), m->win);
    EXPECT_EQ(entry->count, 2);
    EXPECT_EQ(releaseMapWin(m->win), 1);
    EXPECT_EQ(entry->count, 1);
    delete m; // returns the entry to the pool
    EXPECT_EQ(registeredMapWinCount(), before);
    EXPECT_EQ(acquireMapWin(nullptr), nullptr);
    EXPECT_EQ(isMapWinRegistered(nullptr), nullptr);
    EXPECT_EQ(releaseMapWin(nullptr), 0);
}

TEST(MapWinRegistry, ManyMapsFillSeveralBlocks) {
    const std::uint32_t before = registeredMapWinCount();
    std::unique_ptr<Map> maps[20];
    for (auto& m : maps)
        m = std::make_unique<Map>(50000, at(10, 59), 150, 100, 0, 0, nullptr);
    EXPECT_EQ(registeredMapWinCount(), before + 20);
    for (int i = 0; i < 20; i += 2)
        maps[i].reset();
    for (int i = 1; i < 20; i += 2)
        EXPECT_EQ(isMapWinRegistered(maps[i]->win)->map, maps[i].get());
    for (auto& m : maps)
        m.reset();
    EXPECT_EQ(registeredMapWinCount(), before);
}

TEST(MapWinRegistry, ACallersOwnTransformOwnsItsMap) {
    const std::uint32_t before = registeredMapWinCount();
    auto* own = new Map::Win(nullptr);
    auto* m = new Map(50000, at(10, 59), 150, 100, 0, 0, own);
    own->map = m;
    EXPECT_EQ(m->win, own);
    EXPECT_EQ(isMapWinRegistered(own), nullptr);
    EXPECT_EQ(releaseMapWin(own), 0);
    EXPECT_EQ(registeredMapWinCount(), before);
    delete own; // deletes the map, whose destructor leaves the transform alone
}

TEST(MapTPMap, HandsTheTransformOverAndReleasesIt) {
    const std::uint32_t before = registeredMapWinCount();
    {
        Map::TPMap holder;
        auto* m1 = new Map(50000, at(10, 59), 150, 100, 0, 0, nullptr);
        holder = m1;
        EXPECT_EQ(holder.map, m1);
        Map::Win* w1 = m1->win;
        EXPECT_EQ(isMapWinRegistered(w1)->count, 1);
        holder = m1; // the same map: nothing changes
        EXPECT_EQ(isMapWinRegistered(w1)->count, 1);

        auto* m2 = new Map(25000, at(11, 60), 150, 100, 0, 0, nullptr);
        EXPECT_EQ(registeredMapWinCount(), before + 2);
        holder = m2; // m1 deleted, m2 takes its transform, m2's own released
        EXPECT_EQ(holder.map, m2);
        EXPECT_EQ(m2->win, w1);
        EXPECT_EQ(w1->map, m2);
        EXPECT_EQ(isMapWinRegistered(w1)->count, 1);
        EXPECT_EQ(registeredMapWinCount(), before + 1);

        holder = nullptr;
        EXPECT_EQ(holder.map, nullptr);
        EXPECT_EQ(registeredMapWinCount(), before);

        holder = new Map(25000, at(11, 60), 150, 100, 0, 0, nullptr);
        EXPECT_EQ(isMapWinRegistered(holder.map->win)->count, 1);
        EXPECT_EQ(registeredMapWinCount(), before + 1);
    } // the holder deletes its map
    EXPECT_EQ(registeredMapWinCount(), before);
}

} // namespace
