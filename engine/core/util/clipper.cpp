#include "util/clipper.h"

#include "runtime/intmath.h"
#include "util/reportError.h"

#include <utility>

namespace {

// The rounded value of a + (b - a) * num / den in long double; the result lies
// between a and b.
std::int32_t interpolate(std::int32_t a, std::int32_t b, long double num, long double den) {
    const long double v = a + (static_cast<long double>(b) - a) * num / den;
    return static_cast<std::int32_t>(round(v, 0));
}

bool samePoint(const Point& a, const Point& b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

int PolygonClipper::clipBegin(std::int32_t xmin, std::int32_t ymin, std::int32_t xmax,
                              std::int32_t ymax) {
    xmin_ = xmin, ymin_ = ymin, xmax_ = xmax, ymax_ = ymax;
    valid_ = xmin <= xmax && ymin <= ymax;
    out_.clear();
    ringStart_ = 0;
    resetStages();
    return valid_ ? 1 : 0;
}

void PolygonClipper::resetStages() {
    for (Stage& s : stages_)
        s = Stage{};
    fed_ = false;
}

bool PolygonClipper::inside(int stage, Point p) const {
    switch (stage) {
    case 0:
        return p.y >= ymin_;
    case 1:
        return p.x <= xmax_;
    case 2:
        return p.y <= ymax_;
    default:
        return p.x >= xmin_;
    }
}

Point PolygonClipper::crossing(int stage, Point from, Point to) const {
    // The ends lie on different sides of the border, so the denominator is
    // never zero. Differences are taken in long double: no 32-bit overflow.
    auto atY = [&](std::int32_t y) {
        return Point{interpolate(from.x, to.x, static_cast<long double>(y) - from.y,
                                 static_cast<long double>(to.y) - from.y),
                     y};
    };
    auto atX = [&](std::int32_t x) {
        return Point{x, interpolate(from.y, to.y, static_cast<long double>(x) - from.x,
                                    static_cast<long double>(to.x) - from.x)};
    };
    switch (stage) {
    case 0:
        return atY(ymin_);
    case 1:
        return atX(xmax_);
    case 2:
        return atY(ymax_);
    default:
        return atX(xmin_);
    }
}

void PolygonClipper::feed(int stage, Point p) {
    if (stage == 4) {
        emit(p);
        return;
    }
    Stage& s = stages_[stage];
    if (s.pending) {
        s.first = p;
        s.pending = false;
    } else if (inside(stage, s.previous) != inside(stage, p)) {
        feed(stage + 1, crossing(stage, s.previous, p));
    }
    if (s.closing) {
        // Close the next stage's ring in turn, if it received anything.
        if (stage + 1 < 4 && !stages_[stage + 1].pending) {
            stages_[stage + 1].closing = true;
            feed(stage + 1, stages_[stage + 1].first);
        }
        return;
    }
    s.previous = p;
    if (inside(stage, p)) feed(stage + 1, p);
}

void PolygonClipper::emit(Point p) {
    if (out_.size() > ringStart_ && samePoint(out_.back(), p)) return;
    out_.push_back(p);
}

void PolygonClipper::clipPoint(std::int32_t x, std::int32_t y) {
    if (!valid_) return;
    fed_ = true;
    feed(0, Point{x, y});
}

long PolygonClipper::clipEnd() {
    const bool any = fed_;
    if (any && !stages_[0].pending) {
        stages_[0].closing = true;
        feed(0, stages_[0].first);
    }
    resetStages();
    ringStart_ = out_.size();
    return any ? static_cast<long>(out_.size()) : 0;
}

long PolygonClipper::clipReset(long count) {
    resetStages();
    if (count >= 0 && static_cast<std::size_t>(count) <= out_.size())
        out_.resize(static_cast<std::size_t>(count));
    ringStart_ = out_.size();
    return static_cast<long>(out_.size());
}

long PolygonClipper::clipAppend(std::int32_t x, std::int32_t y) {
    const Point p{x, y};
    if (out_.empty() || !samePoint(out_.back(), p)) out_.push_back(p);
    return static_cast<long>(out_.size());
}

int PolygonClipper::outcode(std::int32_t x, std::int32_t y, int& code) const {
    code = 0;
    if (x < xmin_)
        code |= 1;
    else if (x > xmax_)
        code |= 2;
    if (y < ymin_)
        code |= 8;
    else if (y > ymax_)
        code |= 4;
    return code;
}

int PolygonClipper::clipLine(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2,
                             std::int32_t& y2) const {
    if (!valid_) return 0;
    int c1 = 0, c2 = 0;
    outcode(x1, y1, c1);
    outcode(x2, y2, c2);
    while (c1 | c2) {
        if (c1 & c2) return 0;
        const bool movesFirst = c1 != 0;
        const int c = movesFirst ? c1 : c2;
        std::int32_t x = 0, y = 0;
        // The moved point lies between the two ends, so it fits 32 bits.
        if (c & 1) {
            x = xmin_, y = interpolate(y1, y2, static_cast<long double>(xmin_) - x1,
                                       static_cast<long double>(x2) - x1);
        } else if (c & 2) {
            x = xmax_, y = interpolate(y1, y2, static_cast<long double>(xmax_) - x1,
                                       static_cast<long double>(x2) - x1);
        } else if (c & 8) {
            y = ymin_, x = interpolate(x1, x2, static_cast<long double>(ymin_) - y1,
                                       static_cast<long double>(y2) - y1);
        } else {
            y = ymax_, x = interpolate(x1, x2, static_cast<long double>(ymax_) - y1,
                                       static_cast<long double>(y2) - y1);
        }
        if (movesFirst) {
            x1 = x, y1 = y;
            outcode(x1, y1, c1);
        } else {
            x2 = x, y2 = y;
            outcode(x2, y2, c2);
        }
    }
    return 1;
}

std::vector<Point> PolygonClipper::takeOutput() {
    std::vector<Point> taken = std::move(out_);
    out_.clear();
    ringStart_ = 0;
    return taken;
}

extern "C" {

int isClockwise(const Point* points, long first, long last) {
    if (!points || first < 0 || last < first) return 0;
    if (!samePoint(points[first], points[last])) reportError("ClockWise: Polygon not closed.\n");
    long double sum = 0;
    for (long i = first; i < last; ++i)
        sum += (static_cast<long double>(points[i].y) + points[i + 1].y) *
               (static_cast<long double>(points[i + 1].x) - points[i].x);
    return sum > 0 ? 1 : 0;
}

} // extern "C"
