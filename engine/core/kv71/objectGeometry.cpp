#include "kv71/objectGeometry.h"

#include "gdb/TGdbDictionary.h"
#include "gdb/TGeoDb.h"
#include "geo/GeoCover.h"
#include "kv71/TKV71DbObject.h"
#include "proj/KV71Map.h"
#include "proj/MapObject.h"
#include "runtime/TLocker.h"
#include "util/clipper.h"
#include "util/sphere.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

TOS::TLocker& KV71GeometryLock() {
    static TOS::TLocker lock;
    return lock;
}

namespace {

// The nearest integer, ties to even, whatever the floating-point rounding
// mode (the result of round(v, 0), computed in double without a library call
// because this runs for every point), held within the 32-bit range; NaN
// gives the lowest value.
std::int32_t clamp32(double v) {
    if (!(v >= -2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    std::int64_t i = static_cast<std::int64_t>(v);  // towards zero, exact
    const double frac = v - static_cast<double>(i); // exact, in (-1, 1)
    if (frac > 0.5 || (frac == 0.5 && (i & 1) != 0))
        ++i;
    else if (frac < -0.5 || (frac == -0.5 && (i & 1) != 0))
        --i;
    return static_cast<std::int32_t>(i);
}

// A clip rectangle in whole metres, borders included, with the rectangle of
// cell units that holds every cell point that may lie in it (a quick test
// before points are turned into metres).
struct MetreRect {
    std::int32_t xmin, ymin, xmax, ymax;
    std::int32_t uxmin, uymin, uxmax, uymax; // cell units

    bool holds(Point p) const { return p.x >= xmin && p.x <= xmax && p.y >= ymin && p.y <= ymax; }
    bool misses(const MetreRect& box) const {
        return box.xmax < xmin || box.xmin > xmax || box.ymax < ymin || box.ymin > ymax;
    }
    bool mayHold(KV71LocalPoint p) const {
        return p.x >= uxmin && p.x <= uxmax && p.y >= uymin && p.y <= uymax;
    }
    // True when no point of the edge can lie in the rectangle.
    bool surelyMisses(const KV71Edge& e) const {
        return e.maxX < uxmin || e.minX > uxmax || e.maxY < uymin || e.minY > uymax;
    }
};

// The cell units u whose metres u * scale + minimum round into lo..hi, with
// a unit to spare on each side, held within -1..65536 (a cell's header may
// give a scale so small that the quotients leave the 32-bit range);
// everything when the scale is unusable.
void unitRange(std::int32_t lo, std::int32_t hi, double scale, double minimum, std::int32_t& ulo,
               std::int32_t& uhi) {
    ulo = std::numeric_limits<std::int32_t>::min();
    uhi = std::numeric_limits<std::int32_t>::max();
    if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(minimum)) return;
    const double a = std::floor((lo - 0.5 - minimum) / scale) - 1;
    const double b = std::ceil((hi + 0.5 - minimum) / scale) + 1;
    ulo = static_cast<std::int32_t>(std::clamp(a, -1.0, 65536.0));
    uhi = static_cast<std::int32_t>(std::clamp(b, -1.0, 65536.0));
}

bool operator==(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

// The state guarded by the geometry lock: the clip cover of the cell and
// window used last, and the scratch lists of one call.
struct GeometryState {
    bool cached = false;
    char name[12] = {};
    GeoRect cellRect = {};
    double headerWest = 0;
    double scales[4] = {};
    GeoRect window = {};
    std::vector<MetreRect> cover;
    std::uint64_t builds = 0;

    std::vector<Point> buffer;          // clipped metre points of the call
    std::vector<std::int32_t> parts;    // point count of each part
    std::vector<std::int32_t> segments; // signed point counts of area segments
};

GeometryState& state() {
    static GeometryState s;
    return s;
}

bool sameRect(const GeoRect& a, const GeoRect& b) {
    return a.lon1 == b.lon1 && a.lat1 == b.lat1 && a.lon2 == b.lon2 && a.lat2 == b.lat2;
}

// Degrees of a binary angle taken as unsigned (0..360) or signed.
long double unsignedDegrees(std::uint32_t a) {
    return static_cast<long double>(a) * 360.0L / 4294967296.0L;
}
long double signedDegrees(std::int32_t a) {
    return static_cast<long double>(a) * 360.0L / 4294967296.0L;
}

// Brings the clip cover up to date for the cell and window.
void updateCover(GeometryState& s, const TGeoCell* cell, const GeoRect& window) {
    const double scales[4] = {cell->xScale, cell->yScale, cell->xMin, cell->yMin};
    if (s.cached && std::strncmp(s.name, cell->name, sizeof s.name) == 0 &&
        sameRect(s.cellRect, cell->rect) && s.headerWest == cell->header->west &&
        std::memcmp(s.scales, scales, sizeof scales) == 0 && sameRect(s.window, window))
        return;
    std::memcpy(s.name, cell->name, sizeof s.name);
    s.cellRect = cell->rect;
    s.headerWest = cell->header->west;
    std::memcpy(s.scales, scales, sizeof scales);
    s.window = window;
    s.cover.clear();
    s.cached = false;
    ++s.builds;
    GeoCover meet = window * cell->rect;
    for (const LGeoRect* r = meet.head; r; r = r->next) {
        const std::uint32_t west = static_cast<std::uint32_t>(cell->rect.lon1);
        const long double w =
            unsignedDegrees(static_cast<std::uint32_t>(r->r.lon1) - west) + cell->header->west;
        long double e =
            unsignedDegrees(static_cast<std::uint32_t>(r->r.lon2) - west) + cell->header->west;
        if (e < w) e += 360;
        double x1, y1, x2, y2;
        sphereMercator(static_cast<double>(signedDegrees(r->r.lat1)), static_cast<double>(w), &y1,
                       &x1);
        sphereMercator(static_cast<double>(signedDegrees(r->r.lat2)), static_cast<double>(e), &y2,
                       &x2);
        MetreRect m{clamp32(x1), clamp32(y1), clamp32(x2), clamp32(y2), 0, 0, 0, 0};
        unitRange(m.xmin, m.xmax, cell->xScale, cell->xMin, m.uxmin, m.uxmax);
        unitRange(m.ymin, m.ymax, cell->yScale, cell->yMin, m.uymin, m.uymax);
        s.cover.push_back(m);
    }
    s.cached = true;
}

// Cell coordinates to metres and metres to plane units.
struct Placer {
    const TGeoCell* cell;
    double centreX, centreY, unitsX, unitsY;

    Point metres(KV71LocalPoint p) const {
        return Point{clamp32(p.x * cell->xScale + cell->xMin),
                     clamp32(p.y * cell->yScale + cell->yMin)};
    }
    MetreRect box(const KV71Edge& e) const {
        const Point lo = metres(KV71LocalPoint{e.minX, e.minY});
        const Point hi = metres(KV71LocalPoint{e.maxX, e.maxY});
        return MetreRect{lo.x, lo.y, hi.x, hi.y, 0, 0, 0, 0};
    }
    Point place(Point m) const {
        return Point{clamp32(wrapCircumference(m.x, -centreX) * unitsX),
                     clamp32((m.y - centreY) * unitsY)};
    }
};

// Point i of the edge walked forwards or backwards.
KV71LocalPoint edgePoint(const KV71Edge& e, int i, bool reversed) {
    return e.points[reversed ? e.count - 1 - i : i];
}

// Clips the line's edges to one clip rectangle into the buffer: one part per
// run inside it. Answers the points written.
long clipLineTo(const Placer& at, const KV71ObjectRecord& record, const MetreRect& r,
                GeometryState& s) {
    PolygonClipper clipper;
    clipper.clipBegin(r.xmin, r.ymin, r.xmax, r.ymax);
    const std::size_t start = s.buffer.size();
    for (int k = 0; k < record.geometryCount; ++k) {
        const KV71EdgeRef& ref = record.geometry.edgeRefs[k];
        if (!ref.edge || ref.edge->count < 2 || r.surelyMisses(*ref.edge) ||
            r.misses(at.box(*ref.edge)))
            continue;
        const KV71Edge& edge = *ref.edge;
        const bool reversed = (ref.flags & KV71RefReversed) != 0;
        std::int32_t run = 0;
        Point a = at.metres(edgePoint(edge, 0, reversed));
        for (int i = 1; i < edge.count; ++i) {
            const Point b = at.metres(edgePoint(edge, i, reversed));
            Point ca = a, cb = b;
            if (clipper.clipLine(ca.x, ca.y, cb.x, cb.y)) {
                s.buffer.push_back(ca);
                ++run;
                if (!(cb == b)) {
                    // The segment leaves the rectangle: the run ends there.
                    s.buffer.push_back(cb);
                    s.parts.push_back(run + 1);
                    run = 0;
                }
            } else if (run > 0) {
                s.buffer.push_back(a);
                s.parts.push_back(run + 1);
                run = 0;
            }
            a = b;
        }
        if (run > 0) {
            s.buffer.push_back(a);
            s.parts.push_back(run + 1);
        }
    }
    return static_cast<long>(s.buffer.size() - start);
}

// Clips the area's outer ring to one clip rectangle into the buffer: one
// part, closed, with its segments. Answers the points written.
long clipAreaTo(const Placer& at, const KV71ObjectRecord& record, const MetreRect& r,
                GeometryState& s) {
    // The outer ring runs up to the next reference that starts a ring.
    int end = 1;
    while (end < record.geometryCount && (record.geometry.edgeRefs[end].flags & KV71RefRing) == 0)
        ++end;
    if (record.geometryCount == 0) end = 0;
    // The ring's box: the union of its edges' boxes (metres grow with cell
    // units, so the box in metres is that of the union's corners).
    KV71Edge ring{0, 65535, 65535, 0, 0, nullptr};
    for (int k = 0; k < end; ++k) {
        const KV71Edge* e = record.geometry.edgeRefs[k].edge;
        if (!e || e->count == 0) continue;
        ring.count = 1;
        ring.minX = std::min(ring.minX, e->minX);
        ring.minY = std::min(ring.minY, e->minY);
        ring.maxX = std::max(ring.maxX, e->maxX);
        ring.maxY = std::max(ring.maxY, e->maxY);
    }
    if (ring.count == 0 || r.surelyMisses(ring) || r.misses(at.box(ring))) return 0;

    PolygonClipper clipper;
    clipper.clipBegin(r.xmin, r.ymin, r.xmax, r.ymax);
    std::size_t before = 0;
    for (int k = 0; k < end; ++k) {
        const KV71EdgeRef& ref = record.geometry.edgeRefs[k];
        if (!ref.edge || ref.edge->count == 0) continue;
        const KV71Edge& edge = *ref.edge;
        const bool reversed = (ref.flags & KV71RefReversed) != 0;
        if (r.surelyMisses(edge) || r.misses(at.box(edge))) {
            // Wholly outside: its ends carry the ring round the rectangle.
            const Point first = at.metres(edgePoint(edge, 0, reversed));
            clipper.clipPoint(first.x, first.y);
            if (edge.count > 1) {
                const Point last = at.metres(edgePoint(edge, edge.count - 1, reversed));
                clipper.clipPoint(last.x, last.y);
            }
        } else {
            for (int i = 0; i < edge.count; ++i) {
                const Point p = at.metres(edgePoint(edge, i, reversed));
                clipper.clipPoint(p.x, p.y);
            }
        }
        const std::size_t n = clipper.output().size() - before;
        if (n > 0) {
            const auto count = static_cast<std::int32_t>(n);
            s.segments.push_back((ref.flags & KV71RefPart) != 0 ? -count : count);
            before += n;
        }
    }
    clipper.clipEnd();
    if (const std::size_t n = clipper.output().size() - before; n > 0) {
        s.segments.push_back(-static_cast<std::int32_t>(n));
        before += n;
    }
    const std::vector<Point>& out = clipper.output();
    if (!out.empty() && !(out.front() == out.back())) {
        clipper.clipAppend(out.front().x, out.front().y);
        if (clipper.output().size() > before) s.segments.push_back(-1);
    }
    const std::vector<Point>& done = clipper.output();
    if (done.empty()) return 0;
    s.buffer.insert(s.buffer.end(), done.begin(), done.end());
    s.parts.push_back(static_cast<std::int32_t>(done.size()));
    return static_cast<long>(done.size());
}

// Places the buffered points into the object, dropping points that fall on
// the point before them in the same part, and writes the part counts and,
// for areas, the segment counts. false when memory runs out.
bool assemble(const Placer& at, GeometryState& s, MapObject& object, bool area) {
    if (!object.allocate(static_cast<std::int32_t>(s.parts.size()),
                         static_cast<std::int32_t>(s.buffer.size())))
        return false;
    if (area) {
        object.extras = static_cast<std::int32_t*>(
            std::calloc(std::max<std::size_t>(s.segments.size(), 1), sizeof(std::int32_t)));
        if (!object.extras) return false;
    }
    Rect bounds{0x7FFFFFFF, 0x7FFFFFFF, static_cast<std::int32_t>(0x80000001),
                static_cast<std::int32_t>(0x80000001)};
    std::size_t part = 0, segment = 0;
    std::int32_t partLeft = s.parts.empty() ? 0 : s.parts[0];
    std::int32_t partCount = partLeft, partKept = 0;
    std::int32_t segCount = area && !s.segments.empty() ? s.segments[0] : 0, segKept = 0;
    std::int32_t parts = 0, kept = 0, extras = 0;
    Point previous{0, 0};
    for (std::size_t i = 0; i < s.buffer.size() && partCount != 0; ++i) {
        const Point p = at.place(s.buffer[i]);
        if (partKept > 0 && p == previous) {
            --partCount;
            if (area) segCount += segCount > 0 ? -1 : 1;
        } else {
            object.points[kept++] = p;
            previous = p;
            ++partKept;
            ++segKept;
            bounds.left = std::min(bounds.left, p.x);
            bounds.top = std::min(bounds.top, p.y);
            bounds.right = std::max(bounds.right, p.x);
            bounds.bottom = std::max(bounds.bottom, p.y);
        }
        if (area) {
            const std::int32_t size = segCount < 0 ? -segCount : segCount;
            if (segKept == size) {
                // A segment emptied by dropped points is left out.
                if (segCount != 0) object.extras[extras++] = segCount;
                segKept = 0;
                segCount = ++segment < s.segments.size() ? s.segments[segment] : 0;
            }
        }
        if (partKept == partCount) {
            if (partCount != 0) object.pointCounts[parts++] = partCount;
            partKept = 0;
            partCount = ++part < s.parts.size() ? s.parts[part] : 0;
        }
    }
    object.partCount = parts;
    object.extraCount = extras;
    object.bounds = bounds;
    return true;
}

} // namespace

std::uint64_t KV71ClipCoverBuilds() {
    TOS::TLocker::TLock lock(&KV71GeometryLock());
    return state().builds;
}

MapObject* TKV71DbObject::newMapObject(Map* map, GeoRect& window, MapObject* reuse) {
    TOS::TLocker::TLock lock(&KV71GeometryLock());
    if (reuse) reuse->clear();
    const auto* kv71Map = dynamic_cast<const KV71Map*>(map);
    if (!record_ || !cell_ || !kv71Map || !cell_->header) return nullptr;
    const TGdbDictionary* dictionary = database_ ? database_->GetDictionary() : nullptr;
    const int tag = dictionary ? dictionary->GetSlot() : -1;

    const std::uint8_t kind = record_->flags;
    EGEOMETRYTYPE type = egtEmpty;
    if (kind & KV71PointGeometry)
        type = egtPoint;
    else if (kind & KV71LineGeometry)
        type = egtLine;
    else if (kind & KV71AreaGeometry)
        type = egtArea;
    else if (kind & KV71SoundingGeometry)
        type = egtSoundings;
    if (type != egtEmpty && !record_->geometry.any) type = egtEmpty;

    MapObject* object = reuse;
    if (!object) {
        object = new (std::nothrow) MapObject(egtEmpty, tag);
        if (!object) return nullptr;
    }
    object->tag = tag;
    auto fail = [&]() -> MapObject* {
        object->clear();
        if (object != reuse) delete object;
        return nullptr;
    };
    if (type == egtEmpty) return object;

    GeometryState& s = state();
    try {
        updateCover(s, cell_, window);
        const Placer at{cell_, kv71Map->centreX, kv71Map->centreY, kv71Map->unitsPerMetreXCos,
                        kv71Map->unitsPerMetreYCos};
        s.buffer.clear();
        s.parts.clear();
        s.segments.clear();

        if (type == egtPoint) {
            const KV71LocalPoint local = *record_->geometry.point;
            for (const MetreRect& r : s.cover) {
                if (!r.mayHold(local)) continue;
                const Point m = at.metres(local);
                if (!r.holds(m)) continue;
                const Point p = at.place(m);
                object->type = egtPoint;
                object->bounds = Rect{p.x, p.y, 0, 0};
                return object;
            }
            return fail();
        }

        if (type == egtSoundings) {
            const KV71SoundingSet& set = *record_->geometry.soundings;
            std::vector<std::int32_t> depths;
            for (int i = 0; i < set.count; ++i) {
                const KV71SoundingPoint& q = set.points[i];
                const KV71LocalPoint local{q.x, q.y};
                for (const MetreRect& r : s.cover) {
                    if (!r.mayHold(local)) continue;
                    const Point m = at.metres(local);
                    if (!r.holds(m)) continue;
                    s.buffer.push_back(m);
                    depths.push_back(q.z);
                    break;
                }
            }
            if (s.buffer.empty()) return fail();
            object->type = egtSoundings;
            const auto n = static_cast<std::int32_t>(s.buffer.size());
            if (!object->allocate(1, n)) return fail();
            object->extras =
                static_cast<std::int32_t*>(std::malloc(depths.size() * sizeof(std::int32_t)));
            if (!object->extras) return fail();
            std::memcpy(object->extras, depths.data(), depths.size() * sizeof(std::int32_t));
            object->extraCount = 0;
            object->pointCounts[0] = n;
            for (std::int32_t i = 0; i < n; ++i)
                object->points[i] = at.place(s.buffer[static_cast<std::size_t>(i)]);
            object->calcCover();
            return object;
        }

        const bool area = type == egtArea;
        for (const MetreRect& r : s.cover) {
            if (area)
                clipAreaTo(at, *record_, r, s);
            else
                clipLineTo(at, *record_, r, s);
        }
        if (s.buffer.empty()) return fail();
        object->type = type;
        if (!assemble(at, s, *object, area)) return fail();
        return object;
    } catch (const std::bad_alloc&) {
        return fail();
    }
}
