#include "rendering/LineGeometry.h"

#include <cmath>

namespace {

// Whether p (on the line through b and c) lies on the segment from b to c.
bool onSegment(DoublePoint p, DoublePoint b, DoublePoint c) {
    const double dx = c.x - b.x, dy = c.y - b.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0) return p.x == b.x && p.y == b.y;
    const double t = ((p.x - b.x) * dx + (p.y - b.y) * dy) / len2;
    constexpr double eps = 1e-9;
    return t >= -eps && t <= 1 + eps;
}

double distance2(DoublePoint p, DoublePoint q) {
    return (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y);
}

} // namespace

int SegmentPointAtDistance(DoublePoint a, double r, DoublePoint b, DoublePoint c,
                           DoublePoint& out) {
    const DoublePoint d1{b.x - a.x, b.y - a.y}, d2{c.x - a.x, c.y - a.y};
    const double r2 = r * r;
    DoublePoint p1, p2;
    if (d1.x == d2.x) {
        double t = r2 - d1.x * d1.x;
        if (t < 0) return -1;
        if (t != 0) t = std::sqrt(t);
        p1 = {d1.x, t};
        p2 = {d2.x, -t};
    } else if (d1.y == d2.y) {
        double t = r2 - d1.y * d1.y;
        if (t < 0) return -1;
        t = std::sqrt(t);
        p1 = {t, d1.y};
        p2 = {-t, d2.y};
    } else {
        const double A = d2.y - d1.y, B = d1.x - d2.x, C = -(d1.x * A + d1.y * B);
        double D = A * A * r2 + B * B * r2 - C * C;
        if (D < 0) return -1;
        if (D != 0) D = std::sqrt(D) * A;
        const double k = 1 / (A * A + B * B);
        p1.y = -(B * C + D) * k;
        p1.x = -(B * p1.y + C) / A;
        p2.y = -(B * C - D) * k;
        p2.x = -(B * p2.y + C) / A;
    }
    p1 = {p1.x + a.x, p1.y + a.y};
    p2 = {p2.x + a.x, p2.y + a.y};
    const bool on1 = onSegment(p1, b, c), on2 = onSegment(p2, b, c);
    if (on1 && on2)
        out = distance2(p1, c) <= distance2(p2, c) ? p1 : p2;
    else if (on1)
        out = p1;
    else if (on2)
        out = p2;
    else
        out = b.x <= p1.x && p1.x <= c.x && b.y <= p1.y && p1.y <= c.y ? p1 : p2;
    return 0;
}

double PointLineDistance(DoublePoint a, DoublePoint b, DoublePoint p, double* s) {
    if (b.x == a.x) {
        if (s) *s = b.x < p.x ? -1 : 1;
        return std::trunc(std::fabs(p.x - a.x));
    }
    if (b.y == a.y) {
        if (s) *s = 0;
        return std::trunc(std::fabs(p.y - a.y));
    }
    const double A = b.y - a.y, B = a.x - b.x, C = -B * a.y - A * a.x;
    const double h = std::sqrt(A * A + B * B);
    if (s) *s = C < 0 ? A / h : -A / h;
    return std::fabs(A * p.x + B * p.y + C) / h;
}
