// Crossing tests for point-in-polygon decisions on 16-bit integer polygons.
//
// Each predicate tells whether one polygon edge crosses the ray that leaves
// the point towards +x (increasing x, same y). A point lies inside a closed
// polygon when an odd number of its edges cross the ray.
//
// Tie rules: an edge counts when one end lies strictly above the ray's
// ordinate and the other at or below it (half-open in y), so a vertex lying
// on the ray counts once where the boundary passes through it and not at all
// where it only touches it; edges along the ray and edges of zero length never
// count. The crossing must lie strictly to the right of the point; a point on
// the boundary is therefore inside or outside depending on the edge.
#pragma once

extern "C" {

// Edge (x1, y1)-(x2, y2) against the ray from (px, py): 1 crosses, 0 not.
int edgeCrossesRay(short px, short py, short x1, short y1, short x2, short y2);

// The same for edge i of a ring of count vertices stored as x, y pairs:
// the edge from vertex i to vertex (i + 1) modulo count. A null ring, a count
// below 2 or an index outside 0..count-1 gives 0.
int ringEdgeCrossesRay(short px, short py, const short* ring, int count, int i);

// The same as edgeCrossesRay for a point given in double coordinates (NaN
// gives 0).
int edgeCrossesRayD(double px, double py, short x1, short y1, short x2, short y2);

} // extern "C"
