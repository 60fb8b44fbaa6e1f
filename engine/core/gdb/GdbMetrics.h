// The geometry record that GdbObject::GetMetrics writes into the caller's
// buffer: the head, then the arrays it points to, in the same buffer (the
// points right after the head, then the parts, then the rings). Positions
// are binary angles (geo/GeoPoint.h). The buffer must be aligned for
// pointers.
#pragma once

#include "geo/GeoPoint.h"

#include <cstdint>

// Kinds of GdbMetrics::kind.
enum : std::uint32_t {
    GdbMetricsNone = 0,
    GdbMetricsPoint = 1,
    GdbMetricsLine = 2,
    GdbMetricsArea = 3,
    GdbMetricsSoundings = 4,
};

// A point of a sounding set: position and the depth value as stored.
struct GdbSoundingPoint {
    std::int32_t lon, lat;
    std::uint32_t depth;
};

// One part (edge) of a line or an area outline.
struct GdbMetricsPart {
    std::uint32_t count;    // points of the edge
    std::uint32_t reserved; // 0
    std::uint32_t part;     // 1 when the edge reference carries the part flag
    std::uint32_t reserved2;
};

// One ring of an area.
struct GdbMetricsRing {
    std::uint32_t count; // points including the closing point
    std::uint32_t ring;  // 1 when the closing edge reference carries the ring flag
};

struct GdbMetrics {
    std::uint32_t hasChildren; // 1 when the object has children
    std::uint32_t kind;        // GdbMetricsPoint ... GdbMetricsSoundings
    std::uint32_t pointCount;
    void* points; // GeoPoint[pointCount], or GdbSoundingPoint[] for soundings
    std::uint32_t partCount;
    GdbMetricsPart* parts;
    std::uint32_t ringCount; // areas only
    GdbMetricsRing* rings;
};
