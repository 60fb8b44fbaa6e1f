#include "geo/GeoEllipsoid.h"
#include "geo/GeoPoint.h"

#include <cmath>

extern "C" {

// Constant-initialised, so every other module sees them from load on.
constinit const GeoEllipsoid _geSystem[3] = {
    {GeoEllipsoid::System, 6378137.0, 1 / 298.257223563, 0, 0, 0},
    {GeoEllipsoid::Krassovsky, 6378245.0, 1 / 298.3, -43, -163, 45},
    {GeoEllipsoid::WGS72, 6378135.0, 1 / 298.26, -43, -163, 45},
};

constinit const GeoEllipsoid* const _pSystemEllipsoid = &_geSystem[0];
}

RealGeoPoint& RealGeoPoint::transformEllipsoid(GeoEllipsoid::Type from, GeoEllipsoid::Type to) {
    if (from == to || from < 0 || from > 2 || to < 0 || to > 2) return *this;
    const GeoEllipsoid& s = _geSystem[from];
    const GeoEllipsoid& d = _geSystem[to];
    const long double dX = d.dx - s.dx, dY = d.dy - s.dy, dZ = d.dz - s.dz;
    const long double da = static_cast<long double>(d.a) - s.a;
    const long double df = static_cast<long double>(d.f) - s.f;
    const long double a = s.a, f = s.f, e2 = s.e2;

    const long double sinLat = std::sin(static_cast<long double>(lat));
    const long double cosLat = std::cos(static_cast<long double>(lat));
    const long double sinLon = std::sin(static_cast<long double>(lon));
    const long double cosLon = std::cos(static_cast<long double>(lon));
    const long double W = 1 / std::sqrt(1 - e2 * sinLat * sinLat);
    const long double M = (1 - e2) * a * W * W * W; // meridian radius of curvature
    const long double N = a * W;                    // prime vertical radius of curvature

    const long double dLat = (-dX * sinLat * cosLon - dY * sinLat * sinLon + dZ * cosLat +
                              2 * (df * a + da * f) * sinLat * cosLat) /
                             M;
    // At a pole the longitude is undetermined; it is left as it is.
    const long double dLon =
        std::abs(lat) < M_PI / 2 ? (-dX * sinLon + dY * cosLon) / (N * cosLat) : 0;

    long double newLat = lat + dLat;
    if (newLat > GeoPi / 2)
        newLat = GeoPi / 2;
    else if (newLat < -GeoPi / 2)
        newLat = -GeoPi / 2;
    lat = static_cast<double>(newLat);
    long double newLon = lon + dLon;
    if (newLon > GeoPi || newLon < -GeoPi) newLon = std::remainder(newLon, 2 * GeoPi);
    lon = static_cast<double>(newLon);
    return *this;
}
