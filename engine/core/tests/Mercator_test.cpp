#include "geo/GeoPoint.h"
#include "mercatorReference.h"
#include "proj/KV71Map.h"
#include "proj/MapObject.h"
#include "proj/Mercator.h"
#include "proj/TLMapWin.h"
#include "proj/newMap.h"
#include "util/sphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <memory>
#include <random>

namespace {
using namespace mercator_reference;

constexpr double kTurn = 4294967296.0;
constexpr double kRad = 2 * M_PI / kTurn; // radians per binary unit

GeoPoint at(double lonDeg, double latDeg) {
    return GeoPoint{deg2nrm(lonDeg), deg2nrm(latDeg)};
}

std::int64_t lonDiff(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Largest error of linear interpolation in the stretch table near latitude
// lat (binary units), in stretch units: h^2 / 8 times the second derivative
// of the isometric latitude (sec tan on the sphere, which bounds the
// ellipsoid's) at the far end of the step.
double tableInterpolationError(std::int32_t lat) {
    const double h = 262144.0;
    const double phi = (std::abs(double(lat)) + h) * kRad;
    return h * h / 8 * kRad / std::cos(phi) * std::tan(phi);
}

TEST(Mercator, ForwardAgreesWithProj) {
    for (const ViewReference& v : viewReference) {
        SCOPED_TRACE(v.name);
        Mercator m(v.scale, GeoPoint{v.lon, v.lat}, v.halfW, v.halfH, v.divX, v.divY, nullptr);
        EXPECT_EQ(m.usesTable(), !v.exact);
        EXPECT_EQ(m.projection, 2);
        for (const ForwardReference& p : v.forward) {
            const GeoPoint g{p.lon, p.lat};
            Point out;
            ASSERT_EQ(m.Geo2Map(&g, &out, 1), 1);
            const double x = p.easting / v.scale * v.divX;
            const double y = (p.northing - v.northing0) / v.scale * v.divY;
            if (v.exact) {
                EXPECT_NEAR(out.x, x, 0.5 + 1e-3) << p.lon << " " << p.lat;
                EXPECT_NEAR(out.y, y, 0.5 + 1e-3) << p.lon << " " << p.lat;
            } else {
                // Rounding of the result and of the 32.32 factor in x; in y
                // also the table's interpolation, the rounding of its entries
                // and of the centre's stretch, in stretch units times kyd.
                EXPECT_NEAR(out.x, x, 0.5 + 0.25 + 1e-3) << p.lon << " " << p.lat;
                const double stretchError = tableInterpolationError(p.lat) + 2;
                EXPECT_NEAR(out.y, y, 0.5 + 0.25 + stretchError * m.kyd) << p.lon << " " << p.lat;
            }
        }
    }
}

TEST(Mercator, InverseAgreesWithProj) {
    for (const ViewReference& v : viewReference) {
        SCOPED_TRACE(v.name);
        Mercator m(v.scale, GeoPoint{v.lon, v.lat}, v.halfW, v.halfH, v.divX, v.divY, nullptr);
        for (const InverseReference& p : v.inverse) {
            const Point in{p.x, p.y};
            GeoPoint g;
            ASSERT_EQ(m.Map2Geo(&in, &g, 1), 1);
            const std::int32_t lon = deg2nrm(p.lon), lat = deg2nrm(p.lat);
            EXPECT_LE(std::abs(lonDiff(g.lon, lon)), 1) << p.x << " " << p.y;
            // Exact: bisection to one unit. Table: rounding of the stretch
            // (two units), the table's inverse (two units) and its
            // interpolation, in latitude units (cos lat per stretch unit).
            const double tol =
                v.exact ? 1.5
                        : 4 + tableInterpolationError(lat) * std::cos(std::abs(double(lat)) * kRad);
            EXPECT_NEAR(g.lat, lat, tol) << p.x << " " << p.y;
        }
    }
}

TEST(Mercator, TableFormAgreesWithTheExactFormWithinTheTableError) {
    // With div given, the plane depends on the scale, the centre and div
    // only: a view whose half-height reaches the poles takes the exact form
    // of the same plane.
    struct View {
        std::uint32_t scale;
        double lon, lat;
        int div;
    } views[] = {{50000, 10.75, 59.5, 32767},
                 {5000, 25.8, 70.5, 32767},
                 {2000000, -150, -40, 32767},
                 {20000000, 179.9, 0, 1000}};
    std::mt19937 rng(11);
    for (const View& v : views) {
        Mercator table(v.scale, at(v.lon, v.lat), 150, 100, v.div, v.div, nullptr);
        Mercator exact(v.scale, at(v.lon, v.lat), 150, 1000000000, v.div, v.div, nullptr);
        ASSERT_TRUE(table.usesTable());
        ASSERT_FALSE(exact.usesTable());
        ASSERT_EQ(table.kyd, exact.kyd);
        double worst = 0;
        for (int i = 0; i < 2000; ++i) {
            // Within a few window heights of the centre, and below 85 degrees.
            const double spanDeg = std::min(3e8 / v.scale, 20.0);
            std::uniform_real_distribution<double> d(-spanDeg, spanDeg);
            const GeoPoint g = at(v.lon + d(rng), std::clamp(v.lat + d(rng), -85.0, 85.0));
            Point pt, pe;
            table.Geo2Map(&g, &pt, 1);
            exact.Geo2Map(&g, &pe, 1);
            EXPECT_NEAR(pt.x, pe.x, 1 + 0.25) << v.scale;
            const double tol = 1 + 0.25 + (tableInterpolationError(g.lat) + 2) * table.kyd;
            ASSERT_NEAR(pt.y, pe.y, tol) << v.scale << " " << g.lat;
            worst = std::max(worst, std::abs(double(pt.y) - pe.y));
        }
        if (v.scale == 5000) {
            EXPECT_GT(worst, 1.0); // the table's own error shows at large scales
        }
    }
}

TEST(Mercator, TableFormOnlyWhileTheWindowStaysBelowTheTableLimit) {
    // A view at 60 degrees north 1:10 million whose half-height reaches 85 and
    // 86 degrees: kx chart metres per radian of isometric latitude.
    Mercator probe(10000000, at(0, 60), 150, 150, 0, 0, nullptr);
    auto halfHeightTo = [&](double latDeg) {
        return int((isometricLatitude(deg2nrm(latDeg)) - isometricLatitude(deg2nrm(60))) *
                   probe.kx * 1000);
    };
    Mercator below(10000000, at(0, 60), 150, halfHeightTo(85), 0, 0, nullptr);
    EXPECT_TRUE(below.usesTable());
    EXPECT_NEAR(below.window.lat2, deg2nrm(85), 200000); // within a chart millimetre
    EXPECT_NE(below.Y0table, INT32_MIN);
    Mercator above(10000000, at(0, 60), 150, halfHeightTo(86), 0, 0, nullptr);
    EXPECT_FALSE(above.usesTable());
    EXPECT_GE(above.window.lat2, deg2nrm(85.99));
    EXPECT_EQ(above.Y0table, INT32_MIN);
    EXPECT_EQ(above.windowMap.bottom, halfHeightTo(86));
    EXPECT_EQ(above.windowMap.top, -halfHeightTo(86));
    // The window plane rectangle is in this projection's plane.
    Point ne;
    const GeoPoint corner{above.window.lon2, above.window.lat2};
    above.Geo2Map(&corner, &ne, 1);
    EXPECT_EQ(above.windowPlane.right, ne.x);
    EXPECT_EQ(above.windowPlane.bottom, ne.y);
}

TEST(Mercator, DerivedDivFromTheHalfSizes) {
    Mercator m(50000, at(0, 0), 100000, 50000, 0, 0, nullptr);
    EXPECT_EQ(m.div.x, 327);
    EXPECT_EQ(m.div.y, 655);
    EXPECT_NEAR(m.kyd, kRad * 655 * m.kx, 1e-15); // y uses kx: conformal
    EXPECT_EQ(m.Fx, std::llround(kTurn * m.kxd));
    EXPECT_EQ(m.Fy, std::llround(kTurn * m.kyd));
}

TEST(Mercator, FarPointsAndThePolesStayFiniteAndOnTheirSide) {
    // Table form centred far south: a point near the north pole has a stretch
    // difference beyond 32 bits.
    Mercator south(50000, at(0, -80), 150, 100, 10, 10, nullptr);
    ASSERT_TRUE(south.usesTable());
    // Exact form near the north pole.
    Mercator north(50000, at(0, 86), 150, 100, 10, 10, nullptr);
    ASSERT_FALSE(north.usesTable());
    struct Case {
        Mercator* m;
        GeoPoint p;
        int ySign;
    } cases[] = {
        {&south, at(0, 89), 1},
        {&south, GeoPoint{0, 0x40000000}, 1},
        {&south, at(0, -89.9), -1},
        {&north, GeoPoint{0, 0x40000000}, 1},
        {&north, GeoPoint{0, -0x40000000}, -1},
        {&north, at(0, 89.999), 1},
    };
    for (const Case& c : cases) {
        Point out;
        ASSERT_EQ(c.m->Geo2Map(&c.p, &out, 1), 1);
        EXPECT_EQ(out.y > 0 ? 1 : -1, c.ySign) << c.p.lat;
        EXPECT_NE(out.y, INT32_MIN) << c.p.lat;
    }
    Point pole, nearPole;
    const GeoPoint p90{0, 0x40000000}, p8999{0, deg2nrm(89.99)};
    north.Geo2Map(&p90, &pole, 1);
    north.Geo2Map(&p8999, &nearPole, 1);
    EXPECT_GT(pole.y, nearPole.y);
}

TEST(Mercator, RoundTripInBothForms) {
    for (double lat : {0.0, 45.0, -70.0, 84.0}) {
        for (int halfH : {100, 1000000}) { // the larger one reaches the poles
            Mercator m(20000, at(-120, lat), 150, halfH, 32767, 32767, nullptr);
            const GeoPoint p = at(-119.99, lat + 0.003);
            Point q;
            GeoPoint back;
            m.Geo2Map(&p, &q, 1);
            m.Map2Geo(&q, &back, 1);
            EXPECT_LE(std::abs(lonDiff(back.lon, p.lon)), 0.5 / m.kxd + 1) << lat;
            EXPECT_LE(std::abs(back.lat - p.lat), 1 / m.kyd + 4 + tableInterpolationError(p.lat))
                << lat << " " << halfH;
        }
    }
}

// Points of one part of a line object.
std::vector<Point> part(const MapObject& o, int k) {
    int first = 0;
    for (int i = 0; i < k; ++i)
        first += o.pointCounts[i];
    return std::vector<Point>(o.points + first, o.points + first + o.pointCounts[k]);
}

TEST(Mercator, Meridians) {
    Mercator m(200000, at(179.9, 60), 150, 100, 0, 0, nullptr);
    const std::int32_t east = m.window.lon2, west = m.window.lon1;
    const std::int32_t south = m.window.lat1, north = m.window.lat2;
    std::unique_ptr<MapObject> o(
        m.getMeridian(at(-179.95, 0).lon, -0x30000000, 0x30000000, nullptr));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->type, egtLine);
    EXPECT_EQ(o->tag, -1);
    ASSERT_EQ(o->partCount, 1);
    ASSERT_EQ(o->pointCounts[0], 2);
    EXPECT_EQ(o->points[0].y, m.windowPlane.top);
    EXPECT_EQ(o->points[1].y, m.windowPlane.bottom);
    EXPECT_GT(o->points[0].x, 0);
    EXPECT_EQ(o->points[0].x, o->points[1].x);

    struct Case {
        std::int32_t lon, lat1, lat2;
        int points; // -1: null
    } cases[] = {
        {static_cast<std::int32_t>(std::uint32_t(east) + 1), south, north,
         -1},                    // east of the window
        {east, south, north, 2}, // the east edge belongs to it
        {west, north, south, 2}, // reversed latitudes
        {m.centre.lon, m.centre.lat, m.centre.lat, 1},
        {m.centre.lon, north + 1, north + 100, -1},
        {m.centre.lon, south - 100, south - 1, -1},
    };
    for (const Case& c : cases) {
        MapObject given(egtArea, 7);
        MapObject* r = m.getMeridian(c.lon, c.lat1, c.lat2, &given);
        EXPECT_EQ(given.type, egtLine);
        if (c.points < 0) {
            EXPECT_EQ(r, nullptr) << c.lon;
            continue;
        }
        ASSERT_EQ(r, &given);
        EXPECT_EQ(given.pointCounts[0], c.points);
        if (c.points == 2) {
            EXPECT_LT(given.points[0].y, given.points[1].y);
            EXPECT_EQ(given.bounds.top, given.points[0].y);
        }
    }
    // The short form spans the window.
    std::unique_ptr<MapObject> full(m.getMeridian(m.centre.lon, nullptr));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->points[0].y, m.windowPlane.top);
    EXPECT_EQ(full->points[1].y, m.windowPlane.bottom);
}

TEST(Mercator, Parallels) {
    Mercator m(200000, at(179.9, 60), 150, 100, 0, 0, nullptr);
    const std::int32_t west = m.window.lon1, east = m.window.lon2;
    const std::uint32_t w = std::uint32_t(east) - std::uint32_t(west);
    auto lonAt = [&](double fraction) {
        return static_cast<std::int32_t>(std::uint32_t(west) + std::uint32_t(fraction * w));
    };
    const std::int32_t outsideWest = lonAt(-0.5), outsideEast = lonAt(1.5);
    const std::int32_t lat = m.centre.lat;
    Point wp[2];
    const GeoPoint wg[2] = {{west, lat}, {east, lat}};
    m.Geo2Map(wg, wp, 2);

    struct Case {
        const char* what;
        std::int32_t lon1, lon2;
        std::vector<std::vector<std::int32_t>> parts; // longitudes of each part
    } cases[] = {
        {"full width", west, east, {{west, east}}},
        {"inside", lonAt(0.2), lonAt(0.7), {{lonAt(0.2), lonAt(0.7)}}},
        {"from outside", outsideWest, lonAt(0.4), {{west, lonAt(0.4)}}},
        {"to outside", lonAt(0.4), outsideEast, {{lonAt(0.4), east}}},
        {"round the globe", lonAt(0.7), lonAt(0.2), {{lonAt(0.7), east}, {west, lonAt(0.2)}}},
        {"across from outside to outside", outsideWest, outsideEast, {{west, east}}},
        {"outside, not across", outsideEast, outsideWest, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<MapObject> o(m.getParallel(lat, c.lon1, c.lon2, nullptr));
        if (c.parts.empty()) {
            EXPECT_EQ(o, nullptr);
            continue;
        }
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->type, egtLine);
        ASSERT_EQ(o->partCount, static_cast<int>(c.parts.size()));
        for (std::size_t k = 0; k < c.parts.size(); ++k) {
            const std::vector<Point> got = part(*o, int(k));
            ASSERT_EQ(got.size(), 2u);
            for (int i = 0; i < 2; ++i) {
                const GeoPoint g{c.parts[k][i], lat};
                Point want;
                m.Geo2Map(&g, &want, 1);
                EXPECT_EQ(got[i].x, want.x) << k << " " << i;
                EXPECT_EQ(got[i].y, want.y);
            }
        }
    }
    // The full-width form, and a latitude outside the window.
    std::unique_ptr<MapObject> full(m.getParallel(lat, nullptr));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->points[0].x, wp[0].x);
    EXPECT_EQ(full->points[1].x, wp[1].x);
    EXPECT_EQ(m.getParallel(m.window.lat2 + 1, nullptr), nullptr);
    EXPECT_EQ(m.getOrtodromia(m.centre, m.centre, nullptr), nullptr);
}

TEST(KV71Map, FactorsForCellCoordinates) {
    KV71Map m(50000, at(10.75, 59.5), 150, 100, 0, 0, nullptr);
    EXPECT_EQ(m.projection, 2);
    double y, x;
    sphereMercator(59.5 + 0.0, 10.75, &y, &x);
    EXPECT_NEAR(m.centreX, x, 0.01);
    EXPECT_NEAR(m.centreY, y, 0.01);
    EXPECT_NEAR(m.cosCentreLat, std::cos(59.5 * M_PI / 180), 1e-9);
    // div plane units per chart metre: div / scale per earth metre.
    EXPECT_NEAR(m.unitsPerMetreX, double(m.div.x) / 50000, 1e-3 * m.div.x / 50000);
    EXPECT_NEAR(m.unitsPerMetreY, double(m.div.y) / 50000, 1e-3 * m.div.y / 50000);
    EXPECT_DOUBLE_EQ(m.unitsPerMetreXCos, m.unitsPerMetreX * m.cosCentreLat);
    EXPECT_DOUBLE_EQ(m.unitsPerMetreYCos, m.unitsPerMetreY * m.cosCentreLat);
}

TEST(NewMap, FactoryAndFlatFunctions) {
    const std::uint32_t before = registeredMapWinCount();
    EXPECT_EQ(newMap(1, 50000, at(0, 0), 150, 100, 0, 0, nullptr), nullptr);
    EXPECT_EQ(new__Map(0, 50000, 0, 0, 1, 150, 100, 0, 0), nullptr);
    std::unique_ptr<Map> m(newMap(PRJ_MERCATOR, 50000, at(0, 0), 100000, 50000, 0, 0, nullptr));
    ASSERT_NE(m, nullptr);
    EXPECT_NE(dynamic_cast<KV71Map*>(m.get()), nullptr);
    EXPECT_EQ(m->div.x, 327);
    EXPECT_EQ(m->div.y, 655);
    m.reset();

    Map* deg = new__Map(2, 50000, 10.75, 59.5, 1, 150, 100, 0, 0);
    Map* rad = new__Map(2, 50000, 10.75 * M_PI / 180, 59.5 * M_PI / 180, 0, 150, 100, 0, 0);
    ASSERT_NE(deg, nullptr);
    ASSERT_NE(rad, nullptr);
    EXPECT_EQ(deg->centre.lon, rad->centre.lon);
    EXPECT_EQ(deg->centre.lat, rad->centre.lat);
    EXPECT_NE(isMapWinRegistered(deg->win), nullptr);

    Point p{99, 99};
    EXPECT_EQ(Map__Geo2Map(nullptr, 10, 59, 1, &p), 0);
    EXPECT_EQ(Map__Geo2Map(deg, 10, 59, 1, nullptr), 0);
    ASSERT_EQ(Map__Geo2Map(deg, 10.76, 59.51, 1, &p), 1);
    Point q;
    ASSERT_EQ(Map__Geo2Map(rad, 10.76 * M_PI / 180, 59.51 * M_PI / 180, 0, &q), 1);
    EXPECT_EQ(p.x, q.x);
    EXPECT_EQ(p.y, q.y);
    EXPECT_GT(p.x, 0);
    EXPECT_GT(p.y, 0);
    double lon = 0, lat = 0;
    EXPECT_EQ(Map__Map2Geo(deg, nullptr, &lon, &lat, 1), 0);
    EXPECT_EQ(Map__Map2Geo(deg, &p, nullptr, &lat, 1), 0);
    EXPECT_EQ(Map__Map2Geo(deg, &p, &lon, nullptr, 1), 0);
    EXPECT_EQ(Map__Map2Geo(nullptr, &p, &lon, &lat, 1), 0);
    ASSERT_EQ(Map__Map2Geo(deg, &p, &lon, &lat, 1), 1);
    EXPECT_NEAR(lon, 10.76, 1e-4);
    EXPECT_NEAR(lat, 59.51, 1e-4);
    ASSERT_EQ(Map__Map2Geo(deg, &p, &lon, &lat, 0), 1);
    EXPECT_NEAR(lon, 10.76 * M_PI / 180, 2e-6);
    EXPECT_NEAR(lat, 59.51 * M_PI / 180, 2e-6);
    delete__Map(deg);
    delete__Map(rad);
    delete__Map(nullptr);
    EXPECT_EQ(registeredMapWinCount(), before);
}

} // namespace

namespace {

// Distance of q from the line through p1 and p2, in plane units.
double offLine(Point q, Point p1, Point p2) {
    const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
    return std::abs(dx * (double(q.y) - p1.y) - dy * (double(q.x) - p1.x)) / std::hypot(dx, dy);
}

TEST(Mercator, RhumbLinesAreCutToTheWindow) {
    Mercator m(200000, at(179.9, 60), 150, 100, 0, 0, nullptr);
    const Rect w = m.windowPlane;
    auto plane = [&](GeoPoint g) {
        Point p;
        m.Geo2Map(&g, &p, 1);
        return p;
    };
    struct Case {
        const char* what;
        GeoPoint a, b;
        int parts; // 0: null
        int edge;  // which end lies on the border: 0 none, 1 b, 2 both
    } cases[] = {
        {"inside", at(179.85, 59.99), at(-179.98, 60.01), 1, 0},
        {"inside, reversed", at(-179.98, 60.01), at(179.85, 59.99), 1, 0},
        {"leaving east across 180", at(179.95, 60.0), at(-175, 61), 1, 1},
        {"crossing the window", at(170, 59.9), at(-170, 60.1), 1, 2},
        {"outside", at(170, 62), at(-170, 63), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapObject given(egtSoundings, 3);
        MapObject* o = m.getLoxodromia(c.a, c.b, &given);
        EXPECT_EQ(given.type, egtLine); // cleared and made a line in any case
        if (!c.parts) {
            EXPECT_EQ(o, nullptr);
            EXPECT_EQ(given.partCount, 0);
            continue;
        }
        ASSERT_EQ(o, &given);
        ASSERT_EQ(o->partCount, c.parts);
        ASSERT_EQ(o->pointCounts[0], 2);
        const Point pa = plane(c.a), pb = plane(c.b);
        for (int i = 0; i < 2; ++i) {
            const Point q = o->points[i];
            EXPECT_LE(offLine(q, pa, pb), 2.0) << i;
            EXPECT_GE(q.x, w.left - 1);
            EXPECT_LE(q.x, w.right + 1);
            EXPECT_GE(q.y, w.top - 1);
            EXPECT_LE(q.y, w.bottom + 1);
        }
        if (c.edge == 0) {
            EXPECT_NEAR(o->points[0].x, pa.x, 1);
            EXPECT_NEAR(o->points[1].x, pb.x, 1);
            EXPECT_NEAR(o->points[1].y, pb.y, 1);
        } else if (c.edge == 1) {
            EXPECT_NEAR(o->points[0].x, pa.x, 1);
            EXPECT_NEAR(o->points[0].y, pa.y, 1);
            EXPECT_NEAR(o->points[1].x, w.right, 2);
        } else {
            EXPECT_NEAR(o->points[0].x, w.left, 2);
            EXPECT_NEAR(o->points[1].x, w.right, 2);
        }
    }
    std::unique_ptr<MapObject> made(
        m.getLoxodromia(at(179.85, 59.99), at(-179.98, 60.01), nullptr));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->tag, -1);
}

} // namespace
