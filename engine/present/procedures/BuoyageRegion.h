// The buoyage region around a lateral buoy that carries none: a query on the
// buoy's own database for the coverage objects (code 217) near the buoy's
// point, taking the region (attribute 84) of the first one that has it.
//
// The query is nested in the drawing pass's query on the same database
// (queries are re-entrant) and runs under DrawLock, which may be held while
// the cell-reader and catalogue locks are taken. The object iterator returns
// every coverage object of the cells of the scale's level that cover the
// point, without testing its geometry, so the region is that of the first
// coverage object of the point's cell (or cells, on an edge).
//
// Example (inside a procedure):
//   unsigned region = 0;
//   AttrByte(object, 84, region);
//   if (region == 0) region = BuoyageRegionAt(context, object->GetDatabase(), at);
#pragma once

#include "geo/Point.h"

#include <cstdint>

class TMapContext;
class TGeoDb;

// The object code of the coverage objects and the attribute of the region.
inline constexpr unsigned kCoverageCode = 217;
inline constexpr unsigned kBuoyageRegionAttr = 84;

// The scale denominator of the query: mapScale times 2 to the power of
// exponent, saturated at 0xFFFFFFFF (a left shift that overflows, level Z)
// and 0 for a right shift by 32 or more (no level).
unsigned long RegionQueryScale(std::uint32_t mapScale, int exponent);

// The region (attribute 84, one byte) of the first coverage object the query
// returns around the window point `at` of the context's pass: the point goes
// back to plane coordinates with the map's window transform, a rectangle of
// one plane unit around it on each side is made geographic with the map, and
// the query is opened on it at RegionQueryScale(map scale, scale exponent).
// 0 when there is none, when the scale has no level, and for a null context,
// map or database.
unsigned BuoyageRegionAt(TMapContext* context, TGeoDb* database, Point at);
