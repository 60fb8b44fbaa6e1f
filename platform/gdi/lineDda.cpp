#include "gdi/lineDda.h"

#include <algorithm>
#include <cmath>

namespace gdi {

void lineDda(int x1, int y1, int x2, int y2, const std::function<void(int, int)>& pixel) {
    forEachLinePixel(x1, y1, x2, y2, pixel);
}

LinePixelRange linePixelsWithin(int x1, int y1, int x2, int y2, int left, int top, int right,
                                int bottom) {
    const std::int64_t n = linePixelCount(x1, y1, x2, y2);
    if (n == 0) return {0, 0};
    // Clip the true line to the box grown by two pixels (a pixel lies within half a
    // pixel of the true line), then widen the range by one pixel each way.
    double t0 = 0.0, t1 = 1.0;
    const double ax = x1, ay = y1, dx = double(x2) - x1, dy = double(y2) - y1;
    const auto limit = [&](double p, double q) { // keeps p t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!limit(-dx, ax - (left - 2.0)) || !limit(dx, (right + 2.0) - ax) ||
        !limit(-dy, ay - (top - 2.0)) || !limit(dy, (bottom + 2.0) - ay))
        return {0, 0};
    const auto first = std::int64_t(std::floor(t0 * double(n))) - 1;
    const auto last = std::int64_t(std::ceil(t1 * double(n))) + 1;
    return {std::max<std::int64_t>(first, 0), std::min(last, n)};
}

} // namespace gdi
