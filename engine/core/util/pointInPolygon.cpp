#include "util/pointInPolygon.h"

#include <cstdint>

extern "C" {

int edgeCrossesRay(short px, short py, short x1, short y1, short x2, short y2) {
    if ((y1 > py) == (y2 > py)) return 0;
    // The crossing's x is x1 + (py - y1)(x2 - x1)/(y2 - y1); compare it with
    // px exactly by multiplying out, keeping the denominator positive.
    std::int64_t dy = y2 - y1, lhs = std::int64_t(px - x1) * dy,
                 rhs = std::int64_t(py - y1) * (x2 - x1);
    if (dy < 0) lhs = -lhs, rhs = -rhs;
    return rhs > lhs ? 1 : 0;
}

int ringEdgeCrossesRay(short px, short py, const short* ring, int count, int i) {
    if (!ring || count < 2 || i < 0 || i >= count) return 0;
    const int j = (i + 1) % count;
    return edgeCrossesRay(px, py, ring[2 * i], ring[2 * i + 1], ring[2 * j], ring[2 * j + 1]);
}

int edgeCrossesRayD(double px, double py, short x1, short y1, short x2, short y2) {
    if (px != px || py != py) return 0;
    if ((y1 > py) == (y2 > py)) return 0;
    const double x = x1 + (py - y1) * (x2 - x1) / (y2 - y1);
    return x > px ? 1 : 0;
}

} // extern "C"
