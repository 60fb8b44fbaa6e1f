#include "gdi/Region.h"

#include <QPolygon>
#include <algorithm>

namespace gdi {

Region Region::polygon(std::span<const XY> points, FillMode mode) {
    if (points.size() < 3) return Region();
    QPolygon poly(int(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        poly.setPoint(int(i), points[i].x, points[i].y);
    return Region(QRegion(poly, mode == FillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill));
}

Region Region::rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return Region();
    return Region(QRegion(left, top, right - left, bottom - top));
}

bool Region::contains(int x, int y) const {
    // The rectangles of a region are y-x banded: bands of equal top and
    // bottom in ascending order, and within a band ascending left to right
    // without overlap. Two binary searches find the one that may hold the
    // point (a region of many bands, such as a polygon's, has one per row).
    const QRect* first = region_.begin();
    const QRect* last = region_.end();
    const QRect* band =
        std::partition_point(first, last, [y](const QRect& r) { return r.bottom() < y; });
    if (band == last || band->top() > y) return false;
    const int top = band->top();
    const QRect* end =
        std::partition_point(band, last, [top](const QRect& r) { return r.top() == top; });
    const QRect* r = std::partition_point(band, end, [x](const QRect& q) { return q.right() < x; });
    return r != end && r->left() <= x;
}

} // namespace gdi
