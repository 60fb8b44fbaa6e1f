// Geometry of KV71 chart objects for drawing (TKV71DbObject::newMapObject).
//
// Cell coordinates are spherical Mercator metres; a KV71Map carries its
// centre in the same metres and its plane units per Mercator metre
// (unitsPerMetreXCos, unitsPerMetreYCos), so a metre point (x, y) is placed
// at X = wrapCircumference(x, -centreX) * unitsPerMetreXCos, Y = (y -
// centreY) * unitsPerMetreYCos, rounded to nearest (ties to even) and held
// within the 32-bit range.
//
// Clipping is done in metres before placing, against the clip cover: the
// intersection of the window with the cell's rectangle, as rectangles of
// whole metres. The cover is kept for the cell and window used last, so all
// objects of one cell drawn in one window compute it once.
//
// What each kind gives:
//   no geometry  an empty object (type 0) with the tag;
//   point        type 1, the placed point in bounds.left, bounds.top, when a
//                clip rectangle holds it (borders included), else null;
//   sounding set type 6, one part of the points inside the clip cover, the
//                depths (the third value of each kept point) in extras, one
//                per point, with extraCount 0; null when none is inside;
//   line         type 4, one part per run of an edge inside a clip
//                rectangle (each edge walked in its own direction, reversed
//                edges backwards);
//   area         type 5, one part per clip rectangle: the outer ring clipped
//                and closed (last point equal to the first). extras hold the
//                ring's segments in order, one count per edge that gave
//                points: positive for an edge to be stroked, negative for a
//                masked edge (part flag), for the stretch closing the ring
//                along the clip rectangle and for the closing point. Inner
//                rings (holes) are not drawn.
// Points that fall on the point before them after placing are dropped (the
// counts shrink with them; a segment left empty is dropped). The tag of
// every object is the registry slot of the database's dictionary.
//
// The whole of newMapObject runs under the process-wide geometry lock; the
// answer does not depend on the cache.
#pragma once

#include <cstdint>

namespace TOS {
class TLocker;
}

// The process-wide lock held around every newMapObject of KV71 objects.
TOS::TLocker& KV71GeometryLock();

// How often the clip cover was built since the library was loaded (tests).
std::uint64_t KV71ClipCoverBuilds();
