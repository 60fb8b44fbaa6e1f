#include "proj/MapObject.h"

#include "geo/GeoCover.h"
#include "geo/TGeoPolygone.h"
#include "proj/Map.h"
#include "proj/planeMath.h"
#include "util/clipper.h"

#include <algorithm>
#include <new>
#include <vector>

#include <cstdlib>

MapObject::MapObject(EGEOMETRYTYPE type_, int tag_)
    : type(type_), tag(tag_), bounds{}, partCount(0), pointCounts(nullptr), extraCount(0),
      extras(nullptr), points(nullptr) {}

MapObject::MapObject(Map* map, const GeoRect& window, TGeoPolygone& poly, EGEOMETRYTYPE type_)
    : MapObject(egtEmpty, -1) {
    if (type_ != egtPoint || !map || !poly.head) return;
    try {
        const GeoCover both = map->window * window;
        for (const LGeoRect* n = both.head; n; n = n->next)
            if (poly.head->p & n->r) {
                Point q;
                map->Geo2Map(&poly.head->p, &q, 1);
                type = egtPoint;
                bounds.left = q.x;
                bounds.top = q.y;
                return;
            }
    } catch (const std::bad_alloc&) {
        clear();
    }
}

namespace {

// Plane x of a point relative to the reference x0, continued eastwards by
// one plane turn P across the map's far meridian.
std::int64_t continued(std::int64_t x, std::int64_t x0, std::int64_t P) {
    x -= x0;
    return x < 0 ? x + P : x;
}

// A clipped list: the points of all parts and the point count of each part.
struct Clipped {
    std::vector<Point> points;
    std::vector<std::int32_t> counts;
};

// A closed ring through the polygon clipper; the ring is closed explicitly
// when the clipper's output does not end on its first point.
void clipRing(const std::vector<Point>& pts, const Rect& clip, bool outside, Clipped& out) {
    PolygonClipper c;
    c.clipBegin(clip.left, clip.top, clip.right, clip.bottom);
    if (outside) {
        c.clipPoint(pts.front().x, pts.front().y);
        c.clipPoint(pts.back().x, pts.back().y);
    } else {
        for (const Point& p : pts)
            c.clipPoint(p.x, p.y);
    }
    long n = c.clipEnd();
    if (n <= 0) return;
    const Point first = c.output().front(), last = c.output().back();
    if (first.x != last.x || first.y != last.y) n = c.clipAppend(first.x, first.y);
    out.points = c.takeOutput();
    out.counts.push_back(static_cast<std::int32_t>(n));
}

// An open list cut into its visible runs by the segment clipper. A run ends
// where a segment's end was cut (with that clipped end) or at the list's end
// (with its last point).
void clipRuns(const std::vector<Point>& pts, const Rect& clip, Clipped& out) {
    PolygonClipper c;
    c.clipBegin(clip.left, clip.top, clip.right, clip.bottom);
    std::size_t runStart = 0;
    bool inRun = false;
    Point lastEnd{};
    auto closeRun = [&] {
        out.counts.push_back(static_cast<std::int32_t>(out.points.size() - runStart));
        inRun = false;
    };
    for (std::size_t i = 1; i < pts.size(); ++i) {
        std::int32_t x1 = pts[i - 1].x, y1 = pts[i - 1].y, x2 = pts[i].x, y2 = pts[i].y;
        if (!c.clipLine(x1, y1, x2, y2)) continue;
        if (!inRun) {
            runStart = out.points.size();
            inRun = true;
        }
        out.points.push_back(Point{x1, y1});
        lastEnd = Point{x2, y2};
        if (x2 != pts[i].x || y2 != pts[i].y) {
            out.points.push_back(lastEnd);
            closeRun();
        }
    }
    if (inRun) {
        out.points.push_back(lastEnd);
        closeRun();
    }
}

} // namespace

MapObject::MapObject(Map* map, const GeoRect& window, TGeoPolygone& poly, int tag_)
    : MapObject(egtEmpty, -1) {
    if (!poly.head || poly.count == 0) return;
    tag = tag_;
    if (!map) return;
    if (poly.count == 1 || !poly.head->next) {
        if (poly.head->p & window) {
            Point q;
            map->Geo2Map(&poly.head->p, &q, 1);
            type = egtPoint;
            bounds.left = q.x;
            bounds.top = q.y;
        }
        return;
    }
    poly.calcCover();
    if (!(poly.cover & window)) return;
    try {
        std::vector<GeoPoint> geo;
        geo.reserve(poly.count);
        for (const TLGeoPoint* n = poly.head; n; n = n->next)
            geo.push_back(n->p);
        const bool closed = geo.front().lon == geo.back().lon && geo.front().lat == geo.back().lat;

        // Reference x0 (the cover's west edge) and the plane width of a turn.
        Rect cover;
        map->Geo2Map(&poly.cover, &cover, 1);
        const std::int64_t x0 = cover.left;
        Point halfTurn[2];
        const GeoPoint ends[2] = {{INT32_MIN, 0}, {0, 0}};
        map->Geo2Map(ends, halfTurn, 2);
        const std::int64_t P = 2 * std::abs(std::int64_t{halfTurn[0].x} - halfTurn[1].x);
        std::int64_t coverRight = std::int64_t{cover.right} - x0;
        if (coverRight < 0) coverRight += P;

        Rect clip;
        map->Geo2Map(&window, &clip, 1);
        clip.left = proj::saturate32(clip.left - x0);
        clip.right = proj::saturate32(clip.right - x0);

        std::vector<Point> plane(geo.size());
        map->Geo2Map(geo.data(), plane.data(), static_cast<int>(geo.size()));
        for (Point& q : plane)
            q.x = proj::saturate32(continued(q.x, x0, P));

        Clipped out;
        if (closed) {
            const bool outside = coverRight < clip.left || 0 > std::int64_t{clip.right} ||
                                 cover.bottom < clip.top || cover.top > clip.bottom;
            clipRing(plane, clip, outside, out);
        } else {
            clipRuns(plane, clip, out);
        }
        if (out.points.empty()) return;

        type = egtArea;
        if (!allocate(static_cast<std::int32_t>(out.counts.size()),
                      static_cast<std::int32_t>(out.points.size()))) {
            clear();
            return;
        }
        std::copy(out.counts.begin(), out.counts.end(), pointCounts);
        for (std::size_t i = 0; i < out.points.size(); ++i)
            points[i] = Point{proj::saturate32(out.points[i].x + x0), out.points[i].y};
        calcCover();
    } catch (const std::bad_alloc&) {
        clear();
    }
}

int MapObject::clear() {
    bounds = Rect{};
    if (type >= egtLine) {
        std::free(pointCounts);
        std::free(extras);
        std::free(points);
    }
    pointCounts = nullptr;
    extras = nullptr;
    points = nullptr;
    partCount = 0;
    extraCount = 0;
    type = egtEmpty;
    return 0;
}

bool MapObject::allocate(std::int32_t parts, std::int32_t nPoints) {
    const EGEOMETRYTYPE keep = type;
    const std::int32_t keepTag = tag;
    type = egtLine; // so that clear frees what is held
    clear();
    type = keep;
    tag = keepTag;
    if (parts < 0 || nPoints < 0) return false;
    pointCounts = static_cast<std::int32_t*>(
        std::calloc(static_cast<std::size_t>(parts ? parts : 1), sizeof(std::int32_t)));
    points = static_cast<Point*>(
        std::calloc(static_cast<std::size_t>(nPoints ? nPoints : 1), sizeof(Point)));
    if (!pointCounts || !points) {
        std::free(pointCounts);
        std::free(points);
        pointCounts = nullptr;
        points = nullptr;
        clear();
        tag = keepTag;
        return false;
    }
    partCount = parts;
    return true;
}

int MapObject::calcCover() {
    if (type < egtLine || partCount <= 0 || !pointCounts || !points) return 0;
    std::int32_t minX = 0x7FFFFFFF, minY = 0x7FFFFFFF;
    std::int32_t maxX = -0x7FFFFFFF, maxY = -0x7FFFFFFF;
    std::int64_t k = 0;
    for (std::int32_t p = 0; p < partCount; ++p)
        for (std::int32_t i = 0; i < pointCounts[p]; ++i, ++k) {
            const Point& q = points[k];
            if (q.x < minX) minX = q.x;
            if (q.y < minY) minY = q.y;
            if (q.x > maxX) maxX = q.x;
            if (q.y > maxY) maxY = q.y;
        }
    bounds = Rect{minX, minY, maxX, maxY};
    return 1;
}

namespace {
// (a + b) / 2 rounded toward zero, without overflow.
std::int32_t middle(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>((std::int64_t{a} + b) / 2);
}
} // namespace

int MapObject::CentreOfGravity(Point& out) const {
    switch (type) {
    case egtPoint:
    case egtInlinePoint:
        out = Point{bounds.left, bounds.top};
        return 1;
    case egtRect:
        if (bounds.left > bounds.right || bounds.top > bounds.bottom) return 0;
        out = Point{middle(bounds.left, bounds.right), middle(bounds.top, bounds.bottom)};
        return 1;
    case egtLine:
    case egtArea:
    case egtSoundings:
        break;
    default:
        return 0;
    }
    if (partCount <= 0 || !pointCounts || !points) return 0;
    std::int64_t n = 0;
    for (std::int32_t p = 0; p < partCount; ++p)
        n += pointCounts[p] > 0 ? pointCounts[p] : 0;
    if (n == 0) return 0;
    if (n == 1) {
        out = points[0];
        return 1;
    }
    if (n == 2) {
        out = Point{middle(points[0].x, points[1].x), middle(points[0].y, points[1].y)};
        return 1;
    }
    // Area and first moments of the chain under its edges (trapezoids down to
    // y = 0), which for a closed clockwise ring are those of the ring.
    double A = 0, Mx = 0, My = 0;
    for (std::int64_t i = 0; i + 1 < n; ++i) {
        const double x0 = points[i].x, y0 = points[i].y;
        const double x1 = points[i + 1].x, y1 = points[i + 1].y;
        A += (x0 + x1) / 2 * (y0 - y1);
        if (x1 != x0) {
            const double m = (y1 - y0) / (x1 - x0);
            const double b = y0 - m * x0;
            Mx += (m / 3 * x1 + b / 2) * x1 * x1 - (m / 3 * x0 + b / 2) * x0 * x0;
            My += ((m * m / 3 * x1 * x1 + m * b * x1 + b * b) * x1 -
                   (m * m / 3 * x0 * x0 + m * b * x0 + b * b) * x0) /
                  2;
        }
    }
    if (!(A > 750)) return 0;
    out = Point{proj::roundPlane(Mx / A), proj::roundPlane(My / A)};
    return 1;
}

extern "C" {

void MapObject__init(MapObject* obj) {
    if (!obj) return;
    obj->type = egtPoint;
    obj->partCount = 0;
    obj->pointCounts = nullptr;
    obj->extraCount = 0;
    obj->extras = nullptr;
    obj->points = nullptr;
}

int MapObject__clear(MapObject* obj) {
    return obj ? obj->clear() : -1;
}

int MapObject__CentreOfGravity(MapObject* obj, Point* out) {
    return obj && out ? obj->CentreOfGravity(*out) : 0;
}

int MapObject__calcCover(MapObject* obj) {
    return obj ? obj->calcCover() : 0;
}
}
