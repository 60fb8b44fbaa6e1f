// The plane-coordinate geometry of one thing to draw: a point, a line, an
// area or a set of soundings, in parts, with a bounding rectangle.
//
// Plane coordinates are those of a Map (proj/Map.h): x east, y north.
#pragma once

#include "geo/GeoRect.h"
#include "geo/Point.h"

#include <cstdint>

class Map;
class TGeoPolygone;

// Geometry types. Types below 4 own no arrays.
enum EGEOMETRYTYPE : std::int32_t {
    egtEmpty = 0,       // nothing
    egtPoint = 1,       // one point, held in the first two words of bounds
    egtRect = 2,        // the bounding rectangle itself
    egtInlinePoint = 3, // one point held like egtPoint
    egtLine = 4,        // parts of connected points
    egtArea = 5,        // closed parts; also the clipped result of a point list
    egtSoundings = 6,   // several separate points
};

class MapObject {
  public:
    // Sets type and tag and zeroes the rest.
    MapObject(EGEOMETRYTYPE type, int tag);

    // Builds a point object only: for type egtPoint and a non-empty list,
    // the first rectangle of the intersection of the map's window and
    // `window` that contains the list's first point makes a point object
    // with that point in plane coordinates. Every other case leaves an empty
    // object (type 0, tag -1).
    MapObject(Map* map, const GeoRect& window, TGeoPolygone& poly, EGEOMETRYTYPE type);

    // Projects the point list with map and clips it to the window's plane
    // rectangle. One point inside `window` gives a point object; several give
    // an area object (egtArea, also for an open list) with one part per
    // visible run (open list) or the clipped ring (closed list, first point
    // equal to the last). A list across the antimeridian is clipped as one
    // piece. An empty list gives an empty object with tag -1; a list that
    // misses the window, or an allocation failure, an empty object with the
    // given tag. Safe to call from several threads at once.
    MapObject(Map* map, const GeoRect& window, TGeoPolygone& poly, int tag);

    MapObject(const MapObject&) = delete;
    MapObject& operator=(const MapObject&) = delete;
    ~MapObject() { clear(); }

    // Empties the object: bounds zeroed, arrays freed (types 4 and above),
    // part and extra counts and type 0. Returns 0.
    int clear();

    // The point to place a symbol or text at, in plane coordinates: the point
    // of a point object; the middle of a rectangle (0 when inverted); for
    // lines, areas and soundings the midpoint of one or two points, else the
    // centroid of all points taken as one closed chain, which needs an area
    // above 750 square units clockwise with y up (a ring of the other
    // orientation gives 0). Returns 1 with out set, or 0 (out unchanged).
    int CentreOfGravity(Point& out) const;

    // For types 4 and above with parts, counts and points: bounds = (min x,
    // min y, max x, max y) over all points; 1. Otherwise 0 and the bounds
    // unchanged.
    int calcCover();

    // Allocates the part-count and point arrays for parts parts and points
    // points in all (zeroed), freeing what was held; the type is kept. false
    // when memory runs out (the object is then cleared).
    bool allocate(std::int32_t parts, std::int32_t points);

    // The three arrays come from the C allocator (malloc, or allocOrDie of
    // util/memoryWrappers.h) and clear releases them with free.
    EGEOMETRYTYPE type;
    std::int32_t tag;
    // Bounding rectangle (min x, min y, max x, max y); for point objects the
    // point in (left, top).
    Rect bounds;
    std::int32_t partCount;
    // Point count of each part (owned for types 4 to 6).
    std::int32_t* pointCounts;
    std::int32_t extraCount;
    // Extra entries (owned; filled for areas by the chart objects).
    std::int32_t* extras;
    // Points of all parts, part after part (owned for types 4 to 6).
    Point* points;
};

extern "C" {
// Sets type 1 and zeroes the part count, part counts, extra count, extras and
// points; tag and bounds are untouched. A null object is ignored.
void MapObject__init(MapObject* obj);
// obj->clear(), or -1 for null.
int MapObject__clear(MapObject* obj);
// obj->CentreOfGravity(*out); 0 when either is null.
int MapObject__CentreOfGravity(MapObject* obj, Point* out);
// obj->calcCover(); 0 for null.
int MapObject__calcCover(MapObject* obj);
}
