// The rectangle algebra on plain rectangles, for the cover operations and the
// rectangle operators.
#pragma once

#include "geo/GeoRect.h"

// a * b into out (room for 2); returns the number of pieces: the part of a
// from a.lon1 to b.lon2 first, then from b.lon1, when b wraps round both ends.
int geoRectIntersection(const GeoRect& a, const GeoRect& b, GeoRect out[2]);
// a + b into out (room for 4): one rectangle, both, or the bands below,
// above, and the common band (one or the two half turns).
int geoRectUnion(const GeoRect& a, const GeoRect& b, GeoRect out[4]);
// a - b into out (room for 4): below, above, then the longitude pieces of the
// common band.
int geoRectDifference(const GeoRect& a, const GeoRect& b, GeoRect out[4]);
