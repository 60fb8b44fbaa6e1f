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
    return region_.contains(QPoint(x, y));
}

} // namespace gdi
