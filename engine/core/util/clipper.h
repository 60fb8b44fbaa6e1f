// Clipping of projected lines and polygons to an upright rectangle in integer
// plane coordinates, and the orientation test of a closed ring.
#pragma once

#include "geo/Point.h"

#include <cstdint>
#include <vector>

// Clips polygons vertex by vertex to the rectangle xmin <= x <= xmax,
// ymin <= y <= ymax (borders inside): a four-stage pipeline that keeps, in
// this order, y >= ymin, x <= xmax, y <= ymax and x >= xmin. Each object keeps
// its own state, so clippers on different threads never meet; one object is
// used by one thread at a time.
//
// Use: clipBegin, clipPoint for each vertex of a ring, clipEnd; for several
// rings in one output, clipReset(running count) or simply clipEnd and go on
// with the next ring. The output grows as needed (no point limit).
//
// A crossing point of an edge with a border is computed in long double and
// rounded to the nearest integer (ties to even), so it may lie up to half a
// unit from the true crossing. Within one ring a point equal to the one
// before it is dropped; the first point of a ring is kept even when it equals
// the last point of the ring before.
class PolygonClipper {
  public:
    // Sets the rectangle, empties the output and resets the pipeline.
    // Returns 1; returns 0 for an inverted rectangle (xmin > xmax or
    // ymin > ymax), after which every vertex is dropped until the next
    // clipBegin.
    int clipBegin(std::int32_t xmin, std::int32_t ymin, std::int32_t xmax, std::int32_t ymax);

    // Feeds one vertex of the current ring.
    void clipPoint(std::int32_t x, std::int32_t y);

    // Closes the current ring (the edge from its last vertex back to its
    // first, without repeating the first) and resets the pipeline. Returns the
    // output count, or 0 when no vertex was fed since clipBegin, the last
    // clipEnd or clipReset.
    long clipEnd();

    // Resets the pipeline, dropping a ring in progress. count -1 keeps the
    // output; 0 <= count <= the output count cuts the output back to count
    // points; any other count is ignored. Returns the output count.
    long clipReset(long count);

    // Appends a point to the output as it stands, unless it equals the last
    // output point. Returns the output count.
    long clipAppend(std::int32_t x, std::int32_t y);

    // The line clipper's outcode of a point: 1 when x < xmin, 2 when
    // x > xmax, 8 when y < ymin, 4 when y > ymax, or-ed; 0 inside. Also
    // stored into code.
    int outcode(std::int32_t x, std::int32_t y, int& code) const;

    // Clips the segment in place to the rectangle (Cohen-Sutherland).
    // Returns 1 when a part of it lies inside (the ends are moved onto the
    // borders as needed), 0 when nothing does (the ends are then undefined).
    // Needs clipBegin's rectangle; an inverted rectangle gives 0.
    int clipLine(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const;

    // The clipped points so far.
    const std::vector<Point>& output() const { return out_; }
    // Hands the output over and leaves this clipper's output empty.
    std::vector<Point> takeOutput();

  private:
    struct Stage {
        bool pending = true;
        bool closing = false;
        Point first{0, 0};
        Point previous{0, 0};
    };

    bool inside(int stage, Point p) const;
    Point crossing(int stage, Point from, Point to) const;
    void feed(int stage, Point p);
    void emit(Point p);
    void resetStages();

    std::int32_t xmin_ = 0, ymin_ = 0, xmax_ = -1, ymax_ = -1;
    bool valid_ = false;
    bool fed_ = false;
    std::size_t ringStart_ = 0;
    Stage stages_[4];
    std::vector<Point> out_;
};

extern "C" {

// Orientation of the closed ring points[first..last] (the last point repeats
// the first): 1 when clockwise with y pointing up, that is when
// sum over i of (y[i] + y[i+1]) (x[i+1] - x[i]) is positive; else 0.
// A ring whose last point differs from its first is an error:
// reportError("ClockWise: Polygon not closed.\n") (throws). A null array, a
// negative first or last < first gives 0.
int isClockwise(const Point* points, long first, long last);

} // extern "C"
