// Plane geometry for laying marks along a line: the point of a segment at a
// given straight distance from a point (a circle cut with a line, solved in
// closed form) and the distance of a point from a line (the line's normal
// form). Points are window pixels as doubles; results are exact up to
// double rounding.
#pragma once

// A point of window pixels in floating point: x, then y.
struct DoublePoint {
    double x;
    double y;
};

// The point at straight distance r from a on the line through b and c: of
// the two points where the circle about a cuts that line, the one that lies
// on the segment from b to c (either order of its ends; a point is on it
// within a relative 1e-9 of the segment's length), the one nearer c when
// both do, and when neither does the first candidate if it lies in the box
// b <= P <= c, else the second. Answers 0 with out set, or -1 when the line
// comes no nearer than r to a (out untouched). b = c counts as a vertical
// line through b.
int SegmentPointAtDistance(DoublePoint a, double r, DoublePoint b, DoublePoint c, DoublePoint& out);

// Distance of p from the line through a and b. A vertical line (a.x = b.x)
// gives |p.x - a.x| and a horizontal one |p.y - a.y|, both truncated toward
// zero; a sloped one the exact distance. When s is not null it gets a sign
// of the side: for a vertical line -1 when p lies right of it, else +1; for
// a horizontal line 0; for a sloped one +-(b.y - a.y) / |b - a| by the sign
// of the line's constant term.
double PointLineDistance(DoublePoint a, DoublePoint b, DoublePoint p, double* s);
