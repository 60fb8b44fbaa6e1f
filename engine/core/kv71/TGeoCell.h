// One KV71 cell loaded into memory, and the records it is made of.
//
// Coordinates stay in the cell's local 16-bit units: a local point (x, y) is
// at x * xScale + xMin, y * yScale + yMin metres of spherical Mercator on the
// sphere of radius 6378388 m. Every table of a cell is allocated through the
// cell cache's budget (kv71/cellCache.h) and lives as long as the cell.
#pragma once

#include "geo/GeoRect.h"

#include <cstdint>

// The 128-byte header of a cell file, read field by field.
struct KV71CellHeader {
    double west, south, east, north; // degrees, as stored (not snapped)
    double xMin, yMin, xMax, yMax;   // metres, spherical Mercator
    std::uint16_t edgeCount;
    std::uint32_t edgePointCount;
    std::uint32_t edgeRefsFirst, edgeRefsSecond; // reference slots = their sum
    std::uint16_t soundingSetCount;
    std::uint32_t soundingPointCount;
    std::uint16_t pointCount; // isolated points
    std::uint16_t objectCount;
    std::uint32_t childRefCount;
    std::uint32_t attributeBytes;
    std::uint32_t flags; // bit 0 is the only bit with a meaning
};

struct KV71LocalPoint {
    std::uint16_t x, y;
};

struct KV71SoundingPoint {
    std::uint16_t x, y, z;
};

// An edge: a polyline shared by lines and area outlines, with its bounding
// box in local units. An edge without points has the empty box minX = minY =
// 65535, maxX = maxY = 0.
struct KV71Edge {
    std::uint16_t count;
    std::uint16_t minX, minY, maxX, maxY;
    KV71LocalPoint* points;
};

struct KV71SoundingSet {
    std::uint16_t count;
    KV71SoundingPoint* points;
};

// Reference flags of an edge reference.
enum : std::uint8_t {
    KV71RefPart = 1,     // areas: bit 13 of the stored reference
    KV71RefRing = 2,     // areas: bit 14
    KV71RefReversed = 4, // lines and areas: bit 15
};

// One use of an edge by a line or an area.
struct KV71EdgeRef {
    KV71Edge* edge;
    std::uint8_t flags; // KV71RefPart | KV71RefRing | KV71RefReversed
};

// Geometry kinds, bits 0-3 of KV71ObjectRecord::flags.
enum : std::uint8_t {
    KV71NoGeometry = 0,
    KV71PointGeometry = 1,
    KV71LineGeometry = 2,
    KV71AreaGeometry = 4,
    KV71SoundingGeometry = 8,
};
// Further bits of KV71ObjectRecord::flags.
enum : std::uint8_t {
    KV71HasChildren = 0x10,
    KV71HasParent = 0x20,
    KV71HasRelation = 0x40, // refused on load
    KV71HasAttributes = 0x80,
};

// One object of a cell.
struct KV71ObjectRecord {
    std::uint8_t classCode; // index into the object-class table
    // Bits 0-3 the geometry kind: 1, 2, 4 or 8, or 0 for no geometry (a file
    // value other than 1, 2, 4 and 8 is stored as 0); bits 4-7 as in the file.
    std::uint8_t flags;
    std::uint16_t geometryCount; // edge references; 1 for point and sounding set
    union {
        KV71LocalPoint* point;      // point: one isolated point
        KV71EdgeRef* edgeRefs;      // line, area: geometryCount references
        KV71SoundingSet* soundings; // sounding set: one set
        void* any;                  // null when there is no geometry
    } geometry;
    std::uint8_t childCount;
    KV71ObjectRecord** children; // childCount entries
    // The object whose child list holds this one (the last such object when
    // several do), or null.
    KV71ObjectRecord* parent;
    std::uint8_t attributeCount;
    std::uint16_t attributeSize; // bytes at attributes
    // attributeCount records: u8 attribute code, then the value in the
    // attribute's format; never more than attributeSize bytes.
    std::uint8_t* attributes;
};

struct TGeoCell;

// The cache's list of cells: head least recently used, tail most recently.
struct TGeoCellList {
    TGeoCell* head = nullptr;
    TGeoCell* tail = nullptr;
    unsigned count = 0;

    void append(TGeoCell* cell);  // at the tail
    void prepend(TGeoCell* cell); // at the head
    void unlink(TGeoCell* cell);  // the cell must be in this list
};

struct TGeoCell {
    char name[12]; // ten characters, zero-padded
    std::uint16_t lon;
    std::int16_t lat;
    std::uint16_t level;
    // The header's degrees snapped to the nearest sixth of a degree, in
    // binary angles: (lon1, lat1) west and south, (lon2, lat2) east and north.
    GeoRect rect;
    KV71CellHeader* header;
    KV71ObjectRecord* objects; // header->objectCount records, file order
    KV71ObjectRecord** sorted; // the same, ascending by display priority,
                               // file order among equal priorities
    KV71LocalPoint* points;    // isolated points
    KV71ObjectRecord** childRefs;
    KV71EdgeRef* edgeRefs;
    std::uint8_t* attributeData;
    KV71Edge* edges;
    KV71SoundingSet* soundings;
    KV71LocalPoint* edgePoints;
    KV71SoundingPoint* soundingPoints;
    std::uint32_t lastUse;   // seconds of the run-time clock
    std::uint32_t lockCount; // see LockKV71Cell
    double xScale, yScale;   // metres per local unit
    double xMin, yMin;       // metres
    // Lowest and highest display priority of the objects; 65535 and 0 in a
    // cell without objects.
    std::uint16_t lowPriority, highPriority;
    // highPriority - lowPriority + 1 entries: entry p - lowPriority is the
    // number of objects whose priority is p or below. Null without objects.
    std::uint32_t* priorityIndex;
    TGeoCell* next;
    TGeoCell* prev;
    // Set when a flush or shutdown removed the cell from the cache while it
    // was locked: its last unlock frees it.
    bool detached;
};
