// A region: a set of pixels made from a polygon or a rectangle.
//
// A region's coordinates are taken as they are: point tests use the units the
// region was made in, and a region selected for clipping is in device pixels.
// A pixel (x, y) belongs to a polygon region when its centre (x + 0.5, y + 0.5)
// lies inside, so a rectangle's left and top edges are in and its right and
// bottom edges are out.
#pragma once

#include "gdi/XY.h"

#include <QRegion>
#include <span>

namespace gdi {

enum class FillMode {
    Alternate, // a point is inside when a ray from it crosses the outline an odd number of times
    Winding,   // a point is inside when the outline winds round it
};

class Region {
  public:
    Region() = default;
    // Fewer than three points give an empty region.
    static Region polygon(std::span<const XY> points, FillMode mode);
    // Left and top inclusive, right and bottom exclusive; a reversed rectangle is normalised.
    static Region rectangle(int left, int top, int right, int bottom);

    // In logarithmic time of the region's rectangles.
    bool contains(int x, int y) const;
    bool isEmpty() const { return region_.isEmpty(); }
    const QRegion& qregion() const { return region_; }

  private:
    explicit Region(QRegion r) : region_(std::move(r)) {}
    QRegion region_;
};

} // namespace gdi
