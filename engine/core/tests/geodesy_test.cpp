#include "geo/GeoEllipsoid.h"
#include "geo/GeoPoint.h"
#include "geo/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

struct IpcReference {
    std::int32_t lon1, lat1, lon2, lat2;
    double metres, sphericalAzimuth;
};
struct DpcReference {
    std::int32_t lon, lat;
    double distance, course, lat2, lon2;
};
struct ShiftReference {
    int from, to;
    double lon, lat, lon2, lat2;
};
#include "reference/geodesy_reference.inc"

constexpr long double degPerRad = 180 / GeoPi;

// Signed difference of two binary angles, wrapped to a half turn.
long wrapped(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

TEST(GeoEllipsoid, TheThreeEllipsoids) {
    EXPECT_EQ(_pSystemEllipsoid, &_geSystem[0]);
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(_geSystem[t].type, t);
    const GeoEllipsoid& w = _geSystem[GeoEllipsoid::System];
    EXPECT_EQ(w.a, 6378137.0);
    EXPECT_DOUBLE_EQ(1 / w.f, 298.257223563);
    EXPECT_NEAR(w.b, 6356752.314245, 1e-6);
    EXPECT_NEAR(w.e2, 0.00669437999014, 1e-14);
    EXPECT_DOUBLE_EQ(w.e * w.e, w.e2);
    EXPECT_EQ(w.dx, 0);
    const GeoEllipsoid& k = _geSystem[GeoEllipsoid::Krassovsky];
    EXPECT_EQ(k.a, 6378245.0);
    EXPECT_DOUBLE_EQ(1 / k.f, 298.3);
    EXPECT_EQ(k.dx, -43);
    EXPECT_EQ(k.dy, -163);
    EXPECT_EQ(k.dz, 45);
    const GeoEllipsoid& w72 = _geSystem[GeoEllipsoid::WGS72];
    EXPECT_EQ(w72.a, 6378135.0);
    EXPECT_DOUBLE_EQ(1 / w72.f, 298.26);
    EXPECT_EQ(w72.dx, k.dx); // the same shift as Krassovsky
    EXPECT_EQ(w72.dy, k.dy);
    EXPECT_EQ(w72.dz, k.dz);
}

TEST(Geodesy, InverseAgreesWithGeographicLib) {
    for (const auto& r : ipcReferences) {
        GeoPoint p1{r.lon1, r.lat1}, p2{r.lon2, r.lat2};
        long double distance = -1, course = -1;
        EXPECT_EQ(IPC(p1, p2, distance, course), 0);
        const double nm = r.metres / 1852;
        if (nm <= 5000) {
            EXPECT_NEAR(static_cast<double>(distance), nm, 0.0005 * nm)
                << r.lon1 << " " << r.lat1 << " " << r.lon2 << " " << r.lat2;
        }
        ASSERT_GE(course, 0);
        ASSERT_LT(course, 2 * GeoPi);
        if (nm >= 0.1) {
            double diff =
                std::remainder(static_cast<double>(course * degPerRad) - r.sphericalAzimuth, 360.0);
            EXPECT_LT(std::abs(diff), 1e-5)
                << r.lon1 << " " << r.lat1 << " " << r.lon2 << " " << r.lat2;
        }
    }
}

TEST(Geodesy, DirectAgreesWithRhumbSolve) {
    const long double unitsPerNm = nrmPerMin; // one minute of latitude
    for (const auto& r : dpcReferences) {
        GeoPoint from{r.lon, r.lat}, to{1, 1};
        EXPECT_EQ(DPC(from, to, r.distance, r.course / degPerRad), 0);
        const long double dLat = wrapped(to.lat, deg2nrm(r.lat2));
        const long double dLon = wrapped(to.lon, deg2nrm(r.lon2)) * std::cos(r.lat2 / degPerRad);
        const long double error = std::hypot(dLat, dLon);
        EXPECT_LE(error, 0.0003L * r.distance * unitsPerNm + 2)
            << r.lon << " " << r.lat << " " << r.distance << " " << r.course;
    }
}

TEST(Geodesy, DatumShiftAgreesWithCct) {
    for (const auto& r : shiftReferences) {
        RealGeoPoint p{static_cast<double>(r.lon / degPerRad),
                       static_cast<double>(r.lat / degPerRad)};
        p.transformEllipsoid(GeoEllipsoid::Type(r.from), GeoEllipsoid::Type(r.to));
        EXPECT_NEAR(p.lon * degPerRad, r.lon2, 1e-9)
            << r.from << r.to << " " << r.lon << " " << r.lat;
        EXPECT_NEAR(p.lat * degPerRad, r.lat2, 1e-9)
            << r.from << r.to << " " << r.lon << " " << r.lat;
    }
}

TEST(Geodesy, DatumShiftEdges) {
    RealGeoPoint p{0.3, 1.1};
    p.transformEllipsoid(GeoEllipsoid::Krassovsky, GeoEllipsoid::Krassovsky);
    EXPECT_EQ(p.lon, 0.3);
    EXPECT_EQ(p.lat, 1.1);
    p.transformEllipsoid(GeoEllipsoid::Type(7), GeoEllipsoid::System);
    EXPECT_EQ(p.lat, 1.1);
    // A shift towards the pole from a hair below it stops at the pole.
    // (From WGS-84 to Krassovsky dZ is +45 m, which moves northern points north.)
    RealGeoPoint nearPole{0.5, M_PI / 2 - 1e-9};
    nearPole.transformEllipsoid(GeoEllipsoid::System, GeoEllipsoid::Krassovsky);
    EXPECT_EQ(nearPole.lat, M_PI / 2);
    EXPECT_FALSE(std::isnan(nearPole.lon));
    RealGeoPoint pole{0.5, M_PI / 2};
    pole.transformEllipsoid(GeoEllipsoid::System, GeoEllipsoid::Krassovsky);
    EXPECT_EQ(pole.lat, M_PI / 2);
    EXPECT_EQ(pole.lon, 0.5);
    RealGeoPoint southPole{-2.6, -M_PI / 2 + 1e-9}; // pushed south there
    southPole.transformEllipsoid(GeoEllipsoid::Krassovsky, GeoEllipsoid::System);
    EXPECT_EQ(southPole.lat, -M_PI / 2);
    // A longitude pushed past the antimeridian comes back into [-pi, pi].
    RealGeoPoint east{M_PI - 1e-9, 0.2};
    east.transformEllipsoid(GeoEllipsoid::System, GeoEllipsoid::Krassovsky);
    EXPECT_LT(east.lon, -M_PI + 1e-4);
    EXPECT_GE(east.lon, -M_PI);
}

TEST(Geodesy, InverseEdges) {
    const std::int32_t oneDeg = deg2nrm(1);
    struct Case {
        const char* what;
        GeoPoint p1, p2;
        long double course, distanceNear, distanceTolerance;
    } cases[] = {
        {"to itself", {deg2nrm(10), deg2nrm(50)}, {deg2nrm(10), deg2nrm(50)}, 0, 0, 0},
        {"one degree north", {0, 0}, {0, oneDeg}, 0, 59.7L, 0.05L},
        {"one degree south", {0, oneDeg}, {0, 0}, GeoPi, 59.7L, 0.05L},
        {"due east", {0, 0}, {oneDeg, 0}, GeoPi / 2, 60.1L, 0.05L},
        {"due west", {0, 0}, {-oneDeg, 0}, 3 * GeoPi / 2, 60.1L, 0.05L},
        {"east across 180", {deg2nrm(179.5L), 0}, {deg2nrm(-179.5L), 0}, GeoPi / 2, 60.1L, 0.05L},
        {"from the north pole", {deg2nrm(30), 0x40000000}, {deg2nrm(-100), 0}, GeoPi, 5400, 20},
        {"from the south pole", {deg2nrm(30), -0x40000000}, {deg2nrm(-100), 0}, 0, 5400, 20},
        {"to the north pole", {deg2nrm(30), 0}, {deg2nrm(77), 0x40000000}, 0, 5400, 20},
    };
    for (const auto& c : cases) {
        long double distance = -1, course = -1;
        IPC(c.p1, c.p2, distance, course);
        EXPECT_NEAR(static_cast<double>(distance), static_cast<double>(c.distanceNear),
                    static_cast<double>(c.distanceTolerance))
            << c.what;
        EXPECT_NEAR(static_cast<double>(course), static_cast<double>(c.course), 1e-9) << c.what;
    }
}

TEST(Geodesy, NearAntipodalPairsStayFinite) {
    // Exact and near antipodes: rounding must never push the haversine term past 1
    // (a NaN distance) nor the course out of [0, 2 pi).
    for (std::int32_t lat : {201006600, -972057236, 67942611}) {
        long double distance = -1, course = -1;
        IPC(GeoPoint{0, lat}, GeoPoint{GeoUndefined, -lat}, distance, course);
        EXPECT_NEAR(static_cast<double>(distance), 10800, 30) << lat;
    }
    std::mt19937 rng(5);
    for (int i = 0; i < 2000; ++i) {
        std::int32_t lat = static_cast<std::int32_t>(rng() % 0x7FFFFFFFu) - 0x3FFFFFFF;
        std::int32_t lon = static_cast<std::int32_t>(rng());
        GeoPoint p1{lon, lat};
        GeoPoint p2{static_cast<std::int32_t>(static_cast<std::uint32_t>(lon) + 0x80000000u +
                                              (rng() % 3) - 1),
                    -lat + static_cast<std::int32_t>(rng() % 3) - 1};
        long double distance = -1, course = -1;
        IPC(p1, p2, distance, course);
        ASSERT_TRUE(std::isfinite(distance)) << lon << " " << lat;
        ASSERT_TRUE(course >= 0 && course < 2 * GeoPi) << lon << " " << lat;
        EXPECT_NEAR(static_cast<double>(distance), 10800, 30);
    }
}

TEST(Geodesy, DirectEdges) {
    GeoPoint start{deg2nrm(12.5L), deg2nrm(-33.25L)};
    GeoPoint same = DPC(start, 0, 1.234L);
    EXPECT_LE(std::abs(wrapped(same.lon, start.lon)), 1);
    EXPECT_LE(std::abs(wrapped(same.lat, start.lat)), 1);

    // Eastward across the antimeridian: just above -180 degrees.
    GeoPoint east = DPC(GeoPoint{deg2nrm(179.9L), 0}, 30, GeoPi / 2);
    EXPECT_LT(east.lon, deg2nrm(-179.0L));
    EXPECT_GT(east.lon, deg2nrm(-179.9L));

    // Past a pole the latitude stops at the pole; nothing loops or turns NaN.
    struct Case {
        GeoPoint from;
        long double distance, course;
        std::int32_t lat;
    } poles[] = {
        {{0, deg2nrm(89.5L)}, 100, 0, 0x40000000},
        {{deg2nrm(20), deg2nrm(-89.9L)}, 50, GeoPi, -0x40000000},
        {{deg2nrm(20), 0x40000000}, 10, 0.1L, 0x40000000},
        {{0, 0}, 1e30L, 0.7L, 0x40000000},
    };
    for (const auto& c : poles)
        EXPECT_EQ(DPC(c.from, c.distance, c.course).lat, c.lat) << c.distance;

    // A huge east-west distance reduces the longitude without looping.
    GeoPoint far = DPC(GeoPoint{0, 0}, 1e12L, GeoPi / 2);
    EXPECT_GE(far.lon, deg2nrm(-180));

    // The flat forms.
    GeoPoint to{};
    EXPECT_EQ(DPC(&start, &to, 60.0, 0.0), 0);
    EXPECT_NEAR(to.lat * 360.0 / 4294967296.0, -32.25, 0.01);
    EXPECT_EQ(DPC(&start, nullptr, 60.0, 0.0), -1);
    double d = 0, c = 0;
    EXPECT_EQ(IPC(&start, &to, &d, &c), 0);
    EXPECT_NEAR(d, 60.0, 0.2);
    EXPECT_NEAR(c, 0.0, 1e-8);
    EXPECT_EQ(IPC(&start, &to, nullptr, &c), -1);
    float fd = 0, fc = 0;
    IPC(start, to, fd, fc);
    EXPECT_NEAR(fd, d, 1e-4);
}

} // namespace
