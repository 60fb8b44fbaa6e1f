// Geographic rectangles in binary angles and the tests between them.
//
// A GeoRect runs from its south-west corner (lon1, lat1) to its north-east
// corner (lon2, lat2). It is valid when lat1 <= lat2. Longitudes are never
// compared by sign: the span is the unsigned offset (lon2 - lon1) modulo 2^32
// east of lon1, so lon1 > lon2 (as signed numbers) is a span across 180
// degrees and lon1 == lon2 a span of zero width. A full turn cannot be one
// rectangle; it is held as the two halves 0..0x80000000 and 0x80000000..0.
// The west and south edges belong to a rectangle, the east and north edges
// do not.
#pragma once

#include "geo/GeoPoint.h"

#include <cstdint>

struct GeoRect {
    std::int32_t lon1;
    std::int32_t lat1;
    std::int32_t lon2;
    std::int32_t lat2;
};

// lat1 <= lat2.
inline bool geoRectValid(const GeoRect& r) {
    return r.lat1 <= r.lat2;
}

// Width of the longitude span in binary-angle units, 0 to 2^32 - 1.
inline std::uint32_t geoRectWidth(const GeoRect& r) {
    return static_cast<std::uint32_t>(r.lon2) - static_cast<std::uint32_t>(r.lon1);
}

// 0 ordinary, 1 zero width, 2 zero height, 3 a point.
inline int geoRectDegeneracy(const GeoRect& r) {
    return (r.lon1 == r.lon2 ? 1 : 0) + (r.lat1 == r.lat2 ? 2 : 0);
}

// 1 when the point lies in the rectangle: p.lat == lat1 or lat1 < p.lat <
// lat2, and p.lon == lon1 or (p.lon - lon1) < (lon2 - lon1) unsigned. So a
// degenerate rectangle holds the points of its west or south edge.
int operator&(const GeoPoint& p, const GeoRect& r);
int operator&(const GeoRect& r, const GeoPoint& p);

// 1 when the rectangles meet: their latitude spans overlap (equal starts
// always meet, touching spans do not) and b's longitude span does not start
// at or east of a's east edge (measured from a.lon1) unless it wraps round to
// end strictly east of a.lon1.
int operator&(const GeoRect& a, const GeoRect& b);

// 1 when a lies within b: a.lat1 >= b.lat1, a.lat2 <= b.lat2, a.lat1 < b.lat2
// unless a.lat1 == b.lat1, and a's longitude span, measured from b.lon1,
// starts and ends within b's width without wrapping past b.lon1.
int operator<=(const GeoRect& a, const GeoRect& b);

// Bit mask of eight signed comparisons: 1 a.lon1 < b.lon2, 2 b.lon1 < a.lon2,
// 4 a.lon1 < a.lon2, 8 b.lon1 < b.lon2, 16 a.lat1 < b.lat2, 32 b.lat1 <
// a.lat2, 64 a.lat1 < a.lat2, 128 b.lat1 < b.lat2.
int operator%(const GeoRect& a, const GeoRect& b);

// Relations of a (the new or left rectangle) to b (the existing or right one)
// on each axis, and their flags: 1 the interiors overlap, 2 a lies within b,
// 4 same start, 8 b ends where a starts, 16 b starts where a ends, 32 same
// end, 64 b lies within a.
enum GeoRelationFlag : int {
    grOverlap = 1,
    grAWithinB = 2,
    grSameStart = 4,
    grBEndsAtAStart = 8,
    grBStartsAtAEnd = 16,
    grSameEnd = 32,
    grBWithinA = 64,
};
// Latitude relation 1 to 13 (see the .cpp for the cases).
int geoLatRelation(const GeoRect& a, const GeoRect& b);
// Longitude relation 0 to 15: 0 to 7 for a span that does not wrap past
// b.lon1, 8 to 15 for one that does.
int geoLonRelation(const GeoRect& a, const GeoRect& b);
int geoLatFlags(int relation);
int geoLonFlags(int relation);

// Cuts the segment p1-p2 to the rectangle r in place, with lon as x and lat
// as y, signed comparisons and all four edges inclusive (a plane clip: no
// wrap at 180 degrees; the same function serves plane coordinates). Returns
// 0 when no part lies inside (points unchanged), 1 when the segment lies
// wholly inside (unchanged), 2 when both ends were moved onto edges, 3 when
// only p1 was moved, 4 when only p2 was moved. Moved ends are rounded to the
// nearest unit.
int CutGeoSegment(GeoPoint& p1, GeoPoint& p2, const GeoRect& r);
