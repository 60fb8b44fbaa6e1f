// A list of geographic points with its covering rectangle.
#pragma once

#include "geo/GeoRect.h"

#include <cstdint>

// One point of a polygon: a node of its singly linked list, taken from the
// point-node pool (callers that build a polygon take nodes from that pool
// themselves; the polygon returns them).
struct TLGeoPoint {
    TLGeoPoint* next;
    GeoPoint p;
};

// A point list (head, tail, count) and the rectangle that covers it. The
// polygon owns its nodes: the destructor returns every node of the list to
// the point-node pool. It neither copies nor moves.
class TGeoPolygone {
  public:
    TGeoPolygone() = default;
    ~TGeoPolygone();
    TGeoPolygone(const TGeoPolygone&) = delete;
    TGeoPolygone& operator=(const TGeoPolygone&) = delete;

    // Sets `cover` from the points: latitudes from the minimum to the maximum,
    // longitudes from the minimum to the maximum of the signed differences
    // (point.lon - first.lon), added back to the first point's longitude. So
    // a polygon narrower than half a turn gets a correct cover across 180
    // degrees (points at 179 E and 179 W give 179 E to 179 W). An empty list
    // leaves the cover as it is.
    void calcCover();

    TLGeoPoint* head = nullptr;
    TLGeoPoint* tail = nullptr;
    std::uint32_t count = 0;
    GeoRect cover{};
};
