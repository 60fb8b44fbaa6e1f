// Ellipsoidal Mercator on the system ellipsoid (WGS-84), true to scale at the
// view's centre latitude, in two speeds.
//
// When the view's window stays below latitude 85.078 degrees
// (0x3C800000 binary units) on both sides, latitudes are stretched through a
// table of 3872 isometric latitudes (one per 2^18 binary units) with linear
// interpolation, and the plane factors are 32.32 fixed-point numbers (table
// form). Otherwise every point is computed exactly in long double and
// inverted by bisection (exact form).
//
// Plane y grows northwards; the y axis uses the x factor kx (the projection
// is conformal), so one plane unit is div.y units per chart metre at the
// centre latitude.
#pragma once

#include "proj/Map.h"
#include "proj/mercatorTable.h"

#include <cstdint>

class Mercator : public Map {
  public:
    // As Map::Map (scale, centre, half-sizes in chart millimetres, div, win);
    // projection kind 2. The window's latitudes are those of the Mercator
    // plane (the isometric latitude of the centre -+ halfH / kx), and the
    // window map rectangle's top and bottom are -halfH and halfH.
    Mercator(std::uint32_t scale, const GeoPoint& centre, int halfW, int halfH, int divX, int divY,
             Win* win);

    // Positions to plane points (table or exact form). Plane coordinates
    // beyond the 32-bit range saturate; latitudes at the poles give the
    // largest finite stretch (no infinities). Returns 1.
    int Geo2Map(const GeoPoint* in, Point* out, int n) override;
    // Plane points to positions. In the table form a plane y beyond the
    // table's last latitude gives +-0x3FFFFFFF (just short of the pole).
    // Returns 1.
    int Map2Geo(const Point* in, GeoPoint* out, int n) override;
    using Map::Geo2Map;
    using Map::Map2Geo;

    // The meridian lon between lat1 and lat2 (either order), clipped to the
    // window's latitudes: one part of two points (one when lat1 = lat2).
    // Null when the longitude lies outside the window's span (its east edge
    // included), when the latitudes miss the window, or when memory runs
    // out. A given obj is cleared and becomes a line first, and is returned
    // filled; without obj a new line object is made (the caller deletes it).
    MapObject* getMeridian(std::int32_t lon, std::int32_t lat1, std::int32_t lat2,
                           MapObject* obj) override;
    // The parallel lat from lon1 eastwards to lon2, cut to the window's
    // longitudes: one part, or two when the span leaves the window at its
    // east edge and re-enters at its west edge. A span whose ends both lie
    // outside the window but which runs across it gives the window's full
    // width. Null when lat lies outside the window's latitudes or nothing of
    // the span is inside. obj as for getMeridian.
    MapObject* getParallel(std::int32_t lat, std::int32_t lon1, std::int32_t lon2,
                           MapObject* obj) override;
    using Map::getMeridian;
    using Map::getParallel;
    // The rhumb line from a to b (a straight segment in this projection), cut
    // to the window: one part of two points per piece that remains. Null when
    // nothing remains. obj as for getMeridian.
    MapObject* getLoxodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj) override;
    // Builds nothing: null.
    MapObject* getOrtodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj) override;

    // True when the table form is in use.
    bool usesTable() const { return forward == &tableForward; }

    using PointForward = void (*)(const Mercator& m, const GeoPoint& in, Point& out);
    using PointInverse = void (*)(const Mercator& m, const Point& in, GeoPoint& out);

    PointForward forward;
    PointInverse inverse;
    // Isometric latitude of the centre (radians, unit the semi-major axis).
    long double Y0;
    // Y0 in table units (round(Y0 * 2^32 / (2 pi))), or INT32_MIN (0x80000000)
    // in the exact form.
    std::int32_t Y0table;
    // 32.32 fixed-point round(2^32 / kxd), round(2^32 / kyd), round(2^32 kxd)
    // and round(2^32 kyd).
    std::int64_t invFx;
    std::int64_t invFy;
    std::int64_t Fx;
    std::int64_t Fy;

  private:
    MapObject* buildLoxodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj);
    static void tableForward(const Mercator& m, const GeoPoint& in, Point& out);
    static void tableInverse(const Mercator& m, const Point& in, GeoPoint& out);
    static void exactForward(const Mercator& m, const GeoPoint& in, Point& out);
    static void exactInverse(const Mercator& m, const Point& in, GeoPoint& out);
};
