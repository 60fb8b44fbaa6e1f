// The projection factory and the flat functions of maps.
#pragma once

#include "proj/Map.h"

#include <cstdint>

// Projection kinds of newMap. Only 2 (Mercator, as KV71Map) builds a map.
typedef std::int32_t PRJ;
inline constexpr PRJ PRJ_MERCATOR = 2;

// A new map of the given kind: a KV71Map for 2, null for any other kind or
// when memory runs out. Arguments as Map::Map. The caller owns the map and
// deletes it through its virtual destructor.
Map* newMap(PRJ prj, std::uint32_t scale, const GeoPoint& centre, int halfW, int halfH, int divX,
            int divY, Map::Win* win);

extern "C" {
// newMap without a window transform, the centre given in degrees (inDegrees
// not 0) or radians (longitude, latitude).
Map* new__Map(PRJ prj, std::uint32_t scale, double lon, double lat, int inDegrees, int halfW,
              int halfH, int divX, int divY);
// Deletes the map through its virtual destructor; null is ignored.
void delete__Map(Map* map);
// One position (degrees or radians) to a plane point. 0 for a null map or
// output, else the result of the map's Geo2Map.
int Map__Geo2Map(Map* map, double lon, double lat, int inDegrees, Point* out);
// One plane point to a position in degrees (x 360 / 2^32) or radians (x 2 pi
// / 2^32), longitude in [-180, 180). 0 when any pointer is null or the
// conversion fails, else 1.
int Map__Map2Geo(Map* map, Point* in, double* lon, double* lat, int inDegrees);
}
