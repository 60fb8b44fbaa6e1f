// The projection of one chart view: binary-angle positions to plane
// coordinates and back, and the replaceable plane-to-window transform.
//
// Units. A chart metre is a metre on the chart at its scale (earth metres /
// scale). Plane coordinates are chart metres times `div` (plane units per
// chart metre, per axis), with x east and y north, 0 at the view's centre.
// Half-sizes are given in chart millimetres. Positions are binary angles
// (2^32 units to the turn, see geo/GeoPoint.h).
//
// The base class is a local linear (equirectangular) projection around the
// centre; Mercator (proj/Mercator.h) overrides the point conversions.
#pragma once

#include "geo/GeoPoint.h"
#include "geo/GeoRect.h"
#include "geo/Point.h"

#include <cstdint>

class MapObject;

class Map {
  public:
    // Plane-to-window transform. The base class is the identity and ignores
    // the azimuth. A caller's own transform owns the map it points to: its
    // destructor deletes that map.
    class Win {
      public:
        explicit Win(Map* m) : map(m) {}
        Win(const Win&) = delete;
        Win& operator=(const Win&) = delete;
        // Deletes the map it points to, when not null.
        virtual ~Win();

        // Base: no effect.
        virtual void setAzimuth(float azimuth, int mode);
        // Base: 0.0.
        virtual float getAzimuth(int mode);
        // Base: copy n points or rectangles from in to out (nothing when they
        // are the same array, or n <= 0); 1.
        virtual int Map2Win(const Point* in, Point* out, int n);
        virtual int Map2Win(const Rect* in, Rect* out, int n);
        virtual int Win2Map(const Point* in, Point* out, int n);
        virtual int Win2Map(const Rect* in, Rect* out, int n);

        Map* map;
    };

    // Owning pointer to a map that hands the window transform over when the
    // map is replaced.
    class TPMap {
      public:
        TPMap() = default;
        TPMap(const TPMap&) = delete;
        TPMap& operator=(const TPMap&) = delete;
        // Deletes the held map.
        ~TPMap();

        // No effect when m is the map held already. Otherwise the held map is
        // detached from its transform and deleted; a null m releases that
        // transform; else m takes the old transform (releasing its own), or
        // keeps its own registered one, or gets one from the registry. The
        // pointer then holds m, which it owns.
        TPMap& operator=(const Map* m);

        Map* map = nullptr;
    };

    // Builds the view. scale: the chart scale's denominator (e.g. 50000);
    // values below 1 are taken as 1. centre: the view's centre. halfW, halfH:
    // half-sizes in chart millimetres; values below 1 are taken as 1. divX,
    // divY: plane units per chart metre; when either is below 1 both are
    // derived so that the larger half of the window reaches plane coordinate
    // 32767 (each within 1..32767: a half wider than 32767000 chart
    // millimetres gets 1 and reaches beyond 32767). win: the window
    // transform; null takes a shared identity transform from the registry
    // (proj/TLMapWin.h), or leaves none when its pool is exhausted.
    //
    // The window's latitudes are clamped to the poles; its longitudes wrap,
    // so a window across 180 degrees has window.lon1 > window.lon2 as signed
    // numbers.
    Map(std::uint32_t scale, const GeoPoint& centre, int halfW, int halfH, int divX, int divY,
        Win* win);
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;
    // Releases the window transform when it is a registry entry; a caller's
    // own transform is left alone.
    virtual ~Map();

    // Positions to plane points: x = round(dlon * kxd), y = round(dlat * kyd)
    // with the differences from the centre taken as signed 32-bit values
    // (so the antimeridian needs no special case). Results beyond the 32-bit
    // range are saturated. Returns 1 (also for n <= 0).
    virtual int Geo2Map(const GeoPoint* in, Point* out, int n);
    // Plane points to positions: lon = centre.lon + round(x / kxd),
    // lat = centre.lat + round(y / kyd), wrapping modulo the turn. Returns 1.
    virtual int Map2Geo(const Point* in, GeoPoint* out, int n);
    // Rectangles: the point operation of the current class on the first
    // corner (left, top / lon1, lat1), then on the second corner. 0 at the
    // first failure, else 1.
    virtual int Map2Geo(const Rect* in, GeoRect* out, int n);
    virtual int Geo2Map(const GeoRect* in, Rect* out, int n);

    // Grid and course lines in plane coordinates. The base builds nothing
    // and returns null; Mercator builds them (proj/Mercator.h).
    virtual MapObject* getMeridian(std::int32_t lon, std::int32_t lat1, std::int32_t lat2,
                                   MapObject* obj);
    virtual MapObject* getParallel(std::int32_t lat, std::int32_t lon1, std::int32_t lon2,
                                   MapObject* obj);
    virtual MapObject* getLoxodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj);
    virtual MapObject* getOrtodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj);

    // The meridian lon from the window's south to its north edge, and the
    // parallel lat from the window's west to its east edge.
    MapObject* getMeridian(std::int32_t lon, MapObject* obj);
    MapObject* getParallel(std::int32_t lat, MapObject* obj);

    // Projection kind: 0 the base, 2 Mercator and KV71Map.
    std::int32_t projection;
    // Scale denominator (at least 1).
    std::uint32_t scale;
    GeoPoint centre;
    // Geographic window of the view.
    GeoRect window;
    // Geographic extent that maps onto plane coordinates -32767..32767
    // (linear estimate around the centre).
    GeoRect planeLimit;
    // The window's south-west and north-east corners in plane coordinates
    // (left, top = south; right, bottom = north).
    Rect windowPlane;
    // The window in chart millimetres relative to the centre (left, top =
    // south; right, bottom = north).
    Rect windowMap;
    // Plane units per chart metre.
    Point div;
    // Window transform; null only when the registry's pool was exhausted.
    Win* win;
    // Chart metres per radian of longitude and of latitude at the centre.
    double kx;
    double ky;
    // 1 / kxd and 1 / kyd.
    double invKxd;
    double invKyd;
    // Plane units per binary-angle unit in x and y.
    double kxd;
    double kyd;

  protected:
    // The divisor derived as in the constructor from one axis of the window
    // in chart millimetres (low <= 0 <= high): 32767000 / the larger of -low
    // and high (at least 1), kept within 1..32767.
    static std::int32_t deriveDiv(std::int32_t low, std::int32_t high);
};
