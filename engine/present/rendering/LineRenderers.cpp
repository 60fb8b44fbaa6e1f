// Plain and styled lines: prSimpleLine, prBoundLine, prComplexLine and the
// styled line walk with its interrupted form.
#include "rendering/Renderers.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "proj/MapObject.h"
#include "rendering/RendererTrace.h"
#include "runtime/intmath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

int roundPixel(double v) {
    const std::int64_t r = round(static_cast<long double>(v), 0);
    return static_cast<int>(std::clamp<std::int64_t>(r, INT_MIN, INT_MAX));
}

Point roundPoint(DoublePoint p) {
    return Point{roundPixel(p.x), roundPixel(p.y)};
}

DoublePoint toDouble(const Point& p) {
    return DoublePoint{double(p.x), double(p.y)};
}

double distance(DoublePoint p, DoublePoint q) {
    return std::hypot(q.x - p.x, q.y - p.y);
}

// A plain polyline in the layer's width, dashed when pattern is not 0.
void polyline(int colour, unsigned short pattern, int n, Point* pts) {
    if (n < 2) return;
    if (pattern)
        GD_DashPolyline(colour, pattern, n, pts);
    else
        GD_Polyline(colour, n, pts);
}

// The parts of a MapObject that holds parts: calls visit(first point, count)
// for each part with points.
template <typename Visit> void forEachPart(const MapObject& g, Visit visit) {
    if (g.type < egtLine || !g.points || !g.pointCounts) return;
    long long start = 0;
    for (std::int32_t k = 0; k < g.partCount; ++k) {
        const std::int32_t n = g.pointCounts[k];
        if (n <= 0) continue;
        visit(g.points + start, n);
        start += n;
    }
}

// The visible boundary runs of an area (see Renderers.h): visit(first point,
// count) for each positive run of two points or more.
template <typename Visit> void forEachVisibleRun(const MapObject& g, Visit visit) {
    if (g.type != egtArea || !g.points || !g.pointCounts || !g.extras || g.extraCount <= 0) return;
    std::int32_t part = -1;
    long long partStart = 0, partEnd = 0; // the current part's points: [partStart, partEnd)
    long long cursor = 0;
    bool first = true; // no run has been taken in this part yet
    for (std::int32_t r = 0; r < g.extraCount; ++r) {
        const long long run = g.extras[r];
        const long long length = std::llabs(run);
        if (length == 0) continue;
        // A part whose last point was reached is done: the run starts the
        // next part with points.
        while (first ? partEnd - partStart <= 0 : cursor >= partEnd - 1) {
            if (++part >= g.partCount) return;
            partStart = partEnd;
            partEnd = partStart + std::max<std::int32_t>(g.pointCounts[part], 0);
            cursor = partStart;
            first = true;
        }
        const long long to = std::min(first ? cursor + length - 1 : cursor + length, partEnd - 1);
        if (run > 0 && to > cursor) visit(g.points + cursor, static_cast<int>(to - cursor + 1));
        cursor = to;
        first = false;
    }
}

void traceLine(RendererCallKind kind, const MapObject* g, int colour, int width,
               unsigned short style) {
    if (!rendererTraced()) return;
    RendererCall call;
    call.kind = kind;
    call.geometryType = g ? g->type : -1;
    call.colour = colour;
    call.width = width;
    call.style = style;
    traceRendererCall(call);
}

void traceStyle(RendererCallKind kind, const MapObject* g, const TStyledLine& s) {
    if (!rendererTraced()) return;
    RendererCall call;
    call.kind = kind;
    call.geometryType = g ? g->type : -1;
    call.count = s.count;
    for (int e = 0; e < std::min<int>(s.count, kStyleElements); ++e)
        if (s.elements[e]) call.elements.push_back(traceMarker(*s.elements[e]));
    if (s.endMarker) {
        call.hasEndMarker = true;
        call.endMarker = traceMarker(*s.endMarker);
    }
    traceRendererCall(call);
}

void simpleRoundLine(const TLineMarker& e, const TLineMarker& m, Point* pts, int n) {
    if (!pts || n < 2) return;
    const long long spacing = m.count;
    const double gap = PL_MeasureMarker(e).length;
    const int colour = m.colour;
    const unsigned char width = static_cast<unsigned char>(m.size & 0xFF);
    const unsigned short pattern = markerDashPattern(m);
    const auto line = [&](int from, int to) {
        GD_SetLineWidth(width);
        polyline(colour, pattern, to - from + 1, pts + from);
    };
    long long acc = spacing;
    int drawnFrom = 0;
    for (int v = 1; v < n;) {
        acc += std::max(std::llabs(static_cast<long long>(pts[v].x) - pts[v - 1].x),
                        std::llabs(static_cast<long long>(pts[v].y) - pts[v - 1].y));
        if (acc < spacing) {
            ++v;
            continue;
        }
        acc = 0;
        line(drawnFrom, v);
        drawnFrom = v;
        // The gap runs straight from vertex v to where the line leaves the
        // circle of the element's length about it.
        const DoublePoint at = toDouble(pts[v]);
        int w = v + 1;
        while (w < n && distance(at, toDouble(pts[w])) < gap)
            ++w;
        if (w < n) {
            DoublePoint end = toDouble(pts[w]);
            SegmentPointAtDistance(at, gap, toDouble(pts[w - 1]), toDouble(pts[w]), end);
            PL_DrawElementPiece(e, at, end, 0);
            const Point p = roundPoint(end);
            GD_SetLineWidth(width);
            GD_Line(colour, p.x, p.y, pts[w].x, pts[w].y);
            drawnFrom = w;
        } else {
            // No room for the element: the rest is drawn plainly from v.
            w = n - 1;
        }
        v = w + 1;
    }
    if (drawnFrom < n - 1) line(drawnFrom, n - 1);
    GD_SetLineWidth(1);
}

void complexLine(const TStyledLine& s, Point* pts, int n) {
    if (!pts || n < 2 || s.count < 1 || s.count > kStyleElements) return;
    const TLineMarker* first = s.elements[0];
    if (!first) return;
    if (s.count == 1 && (first->flags & kMarkerInterrupted) && s.endMarker) {
        simpleRoundLine(*first, *s.endMarker, pts, n);
        return;
    }
    // The elements do not change during the call: each is measured once.
    MarkerMeasure measures[kStyleElements];
    for (int e = 0; e < s.count; ++e) {
        if (!s.elements[e]) return;
        measures[e] = PL_MeasureMarker(*s.elements[e]);
    }
    int e = 0;
    if (measures[0].length <= 0) return;
    int remaining = measures[0].repeat;
    DoublePoint p = toDouble(pts[0]);
    int i = 0;
    // Elements that cover nothing (a repeat count below 1) make no progress;
    // a whole round of them ends the line.
    int stalled = 0;
    LineAdvance a;
    while (PL_AdvanceAlongLine(pts, n, p, i, remaining, measures[e].length, measures[e].stepUnit,
                               s.elements[e]->flags, a)) {
        const TLineMarker& element = *s.elements[e];
        if (a.k > 0) {
            PL_DrawElementPiece(element, p, a.q, a.k);
            remaining -= a.k;
        } else if ((element.kind == kMarkerGlyph || element.kind == kMarkerText) && s.endMarker) {
            PL_DrawElementPiece(*s.endMarker, p, a.q, 0);
        }
        if (remaining < 1) {
            e = (e + 1) % s.count;
            if (measures[e].length <= 0) return;
            remaining = measures[e].repeat;
        }
        if (a.next == i && a.q.x == p.x && a.q.y == p.y) {
            if (++stalled > s.count) return;
        } else {
            stalled = 0;
        }
        p = a.q;
        i = a.next;
    }
}

} // namespace

MarkerMeasure PL_MeasureMarker(const TLineMarker& m) {
    MarkerMeasure r;
    const char glyph[2] = {static_cast<char>(m.character), 0};
    switch (m.kind) {
    case kMarkerGap:
        r.length = 1;
        r.stepUnit = 1;
        r.repeat = m.count;
        break;
    case kMarkerStroke:
        r.length = 1;
        r.stepUnit = m.size;
        r.repeat = m.count;
        break;
    case kMarkerGlyph:
        GD_SelFont(m.font);
        r.length = (m.flags & kMarkerSizedLength) ? m.size : GD_TextWidth(glyph);
        r.stepUnit = (m.flags & kMarkerSizedStep) ? m.size : GD_TextHeight(glyph);
        r.repeat = m.count;
        break;
    case kMarkerText:
        GD_SelFont(m.font);
        r.length = GD_TextWidth(m.text);
        r.stepUnit = GD_TextHeight(m.text);
        r.repeat = 1;
        break;
    case kMarkerUpright:
        GD_SelFont(m.font);
        r.length = GD_TextWidth(glyph);
        r.stepUnit = GD_TextHeight(glyph);
        break;
    default:
        break;
    }
    if (m.flags & kMarkerToVertex) r.stepUnit = 1;
    return r;
}

bool PL_AdvanceAlongLine(const Point* pts, int n, DoublePoint p, int i, int remaining,
                         double length, double stepUnit, unsigned flags, LineAdvance& out) {
    if (!pts || i >= n) return false;
    i = std::max(i, 0);
    const double total = remaining > 0 && length > 0 ? remaining * length : 0;
    double d = distance(p, toDouble(pts[i]));
    // A target at p itself gives no line to measure the next vertices
    // against: it is taken as it is (d = 0 below).
    if (!(flags & kMarkerToVertex) && d > 0 && d < total) {
        if (flags & kMarkerChord) {
            while (i < n && distance(p, toDouble(pts[i])) < total)
                ++i;
        } else {
            const DoublePoint target = toDouble(pts[i]);
            int j = i + 1;
            while (j < n && PointLineDistance(p, target, toDouble(pts[j]), nullptr) < stepUnit)
                ++j;
            i = j - 1;
        }
        if (i >= n) i = n - 1;
        d = distance(p, toDouble(pts[i]));
    }
    const DoublePoint v = toDouble(pts[i]);
    if (d == 0) {
        out = LineAdvance{v, i + 1, 0};
    } else if (d < total) {
        const int k = static_cast<int>(d / length);
        if (k == 0) {
            out = LineAdvance{v, i + 1, 0};
        } else {
            const int kept = std::min(k, remaining);
            const double f = kept * length / d;
            out = LineAdvance{{p.x + (v.x - p.x) * f, p.y + (v.y - p.y) * f}, i, kept};
        }
    } else {
        const int k = std::max(remaining, 0);
        DoublePoint q{p.x + (v.x - p.x) * (total / d), p.y + (v.y - p.y) * (total / d)};
        // A chord ends where the circle of the total about p cuts the segment
        // into the target (the straight point stands when it misses).
        if ((flags & kMarkerChord) && i > 0)
            SegmentPointAtDistance(p, total, toDouble(pts[i - 1]), v, q);
        out = LineAdvance{q, i, k};
    }
    return true;
}

void PL_DrawElementPiece(const TLineMarker& m, DoublePoint p, DoublePoint q, int k) {
    switch (m.kind) {
    case kMarkerStroke: {
        Point two[2] = {roundPoint(p), roundPoint(q)};
        GD_SetLineWidth(static_cast<unsigned char>(m.size & 0xFF));
        polyline(m.colour, markerDashPattern(m), 2, two);
        GD_SetLineWidth(1);
        break;
    }
    case kMarkerGlyph: {
        const double dx = q.x - p.x, dy = q.y - p.y;
        const double len = std::hypot(dx, dy);
        // A piece of no length has no direction: the glyph stays unturned.
        double angle = len > 0 ? std::asin(std::clamp(dy / len, -1.0, 1.0)) * 180.0 / M_PI : 0;
        if (q.x < p.x) angle = 180.0 - angle;
        GD_SelFont(m.font);
        GD_VectCharXY(m.colour, roundPixel(p.x), roundPixel(p.y), m.character, angle, 0, k);
        break;
    }
    case kMarkerText: {
        if (!m.text) break;
        GD_SelFont(m.font);
        Point two[2] = {roundPoint(p), roundPoint(q)};
        if (q.x < p.x) std::swap(two[0], two[1]);
        GD_VectWriteXY(m.colour, 2, two, m.text, 0);
        break;
    }
    default:
        break;
    }
}

void prSimpleLine(TMapContext*, MapObject* geometry, int colour, int width, unsigned short style) {
    traceLine(RendererCallKind::SimpleLine, geometry, colour, width, style);
    if (!geometry) return;
    GD_SetLineWidth(static_cast<unsigned char>(width));
    const auto draw = [&](Point* pts, int n) { polyline(colour, style, n, pts); };
    if (geometry->type == egtArea)
        forEachVisibleRun(*geometry, draw);
    else if (geometry->type == egtLine)
        forEachPart(*geometry, draw);
    GD_SetLineWidth(1);
}

void prBoundLine(TMapContext*, MapObject* geometry, int colour, int width, unsigned short style) {
    traceLine(RendererCallKind::BoundLine, geometry, colour, width, style);
    if (!geometry) return;
    GD_SetLineWidth(static_cast<unsigned char>(width));
    forEachPart(*geometry, [&](Point* pts, int n) { polyline(colour, style, n, pts); });
    GD_SetLineWidth(1);
}

void prComplexLine(TMapContext*, TStyledLine* style, MapObject* geometry) {
    if (!style) return;
    traceStyle(RendererCallKind::ComplexLine, geometry, *style);
    if (!geometry) return;
    const auto draw = [&](Point* pts, int n) { complexLine(*style, pts, n); };
    if (geometry->type == egtArea)
        forEachVisibleRun(*geometry, draw);
    else if (geometry->type == egtLine)
        forEachPart(*geometry, draw);
}

void PLComplexLine(TStyledLine* style, Point* pts, int n) {
    if (!style) return;
    traceStyle(RendererCallKind::StyledLine, nullptr, *style);
    complexLine(*style, pts, n);
}

void PLSimpleRoundLine(TLineMarker* element, TLineMarker* line, Point* pts, int n) {
    if (!element || !line) return;
    if (rendererTraced()) {
        RendererCall call;
        call.kind = RendererCallKind::RoundLine;
        call.count = 1;
        call.elements.push_back(traceMarker(*element));
        call.hasEndMarker = true;
        call.endMarker = traceMarker(*line);
        traceRendererCall(call);
    }
    simpleRoundLine(*element, *line, pts, n);
}
