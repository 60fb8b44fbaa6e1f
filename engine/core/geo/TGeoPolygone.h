// A list of geographic points with its covering rectangle.
#pragma once

#include "geo/GeoRect.h"
#include "runtime/TinyObjectAllocator.h"

#include <cstdint>

// One point of a polygon: a node of its singly linked list, taken from the
// pool TOAllocator, which is started when the library loads. Callers that
// build a polygon take the nodes themselves with
// newTinyObject(&TLGeoPoint::TOAllocator); the polygon returns them.
struct TLGeoPoint {
    TLGeoPoint* next;
    GeoPoint p;

    static TinyObjectAllocator TOAllocator;
};

// A point list (head, tail, count) and the rectangle that covers it. The
// polygon owns its nodes: the destructor returns every node of the list to
// TLGeoPoint::TOAllocator. It neither copies nor moves.
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
