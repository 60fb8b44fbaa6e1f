#include "proj/Mercator.h"

#include "geo/GeoCover.h"
#include "geo/GeoEllipsoid.h"
#include "proj/MapObject.h"
#include "proj/planeMath.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <utility>
#include <vector>

using proj::angleAdd;
using proj::angleDiff;
using proj::roundPlane;
using proj::saturate32;

// --- construction ---

Mercator::Mercator(std::uint32_t scale_, const GeoPoint& centre_, int halfW, int halfH, int divX,
                   int divY, Win* win_)
    : Map(scale_, centre_, halfW, halfH, divX, divY, win_), forward(&tableForward),
      inverse(&tableInverse), Y0(0), Y0table(0), invFx(0), invFy(0), Fx(0), Fy(0) {
    projection = 2;
    halfH = std::max(halfH, 1);
    windowMap.top = -halfH;
    windowMap.bottom = halfH;

    Y0 = isometricLatitude(centre.lat);
    const long double h = halfH * 0.001L;
    window.lat1 = isometricLatitudeInverse(Y0 - h / kx);
    window.lat2 = isometricLatitudeInverse(Y0 + h / kx);

    if (window.lat1 <= -kMercatorTableLimit || window.lat2 >= kMercatorTableLimit) {
        forward = &exactForward;
        inverse = &exactInverse;
        Y0table = INT32_MIN;
    } else {
        Y0table = static_cast<std::int32_t>(round(Y0 * nrmPerRad, 0));
    }

    if (divX < 1 || divY < 1) {
        div.x = deriveDiv(windowMap.left, windowMap.right);
        div.y = deriveDiv(windowMap.top, windowMap.bottom);
    }
    kyd = static_cast<double>(radPerNrm * div.y * kx);
    invKyd = 1.0 / kyd;

    const long double two32 = GeoTurn;
    Fx = round(two32 * kxd, 0);
    Fy = round(two32 * kyd, 0);
    invFx = round(two32 / kxd, 0);
    invFy = round(two32 / kyd, 0);

    Geo2Map(&window, &windowPlane, 1);
}

// --- point conversions ---

namespace {

// sign(v) * ((|v| * f + 2^31) >> 32): a 32.32 fixed-point product with halves
// rounded up in magnitude, in 128 bits so that no factor overflows.
std::int32_t fixedProduct(std::int64_t v, std::int64_t f) {
    const std::uint64_t uv = static_cast<std::uint64_t>(v), uf = static_cast<std::uint64_t>(f);
    const unsigned __int128 mag = v < 0 ? 0 - uv : uv;
    const unsigned __int128 fm = f < 0 ? 0 - uf : uf;
    const unsigned __int128 r = (mag * fm + (static_cast<unsigned __int128>(1) << 31)) >> 32;
    const std::int64_t r64 = r > 0x7FFFFFFFu ? 0x80000000LL : static_cast<std::int64_t>(r);
    return saturate32(((v < 0) != (f < 0)) ? -r64 : r64);
}

} // namespace

void Mercator::tableForward(const Mercator& m, const GeoPoint& in, Point& out) {
    out.x = fixedProduct(angleDiff(in.lon, m.centre.lon), m.Fx);
    out.y = fixedProduct(std::int64_t{mercatorTableY(in.lat)} - m.Y0table, m.Fy);
}

void Mercator::tableInverse(const Mercator& m, const Point& in, GeoPoint& out) {
    out.lon = static_cast<std::int32_t>(static_cast<std::uint32_t>(
        round(m.centre.lon + in.x / static_cast<long double>(m.kxd), 0)));
    out.lat =
        mercatorTableLat(saturate32(round(m.Y0table + in.y / static_cast<long double>(m.kyd), 0)));
}

void Mercator::exactForward(const Mercator& m, const GeoPoint& in, Point& out) {
    out.x = roundPlane(angleDiff(in.lon, m.centre.lon) * static_cast<long double>(m.kxd));
    out.y = roundPlane((isometricLatitude(in.lat) - m.Y0) * static_cast<long double>(m.kyd) *
                       nrmPerRad);
}

void Mercator::exactInverse(const Mercator& m, const Point& in, GeoPoint& out) {
    out.lon = static_cast<std::int32_t>(static_cast<std::uint32_t>(
        round(m.centre.lon + in.x / static_cast<long double>(m.kxd), 0)));
    out.lat = isometricLatitudeInverse(in.y / static_cast<long double>(m.kyd) * radPerNrm + m.Y0);
}

int Mercator::Geo2Map(const GeoPoint* in, Point* out, int n) {
    if (forward == &tableForward) {
        for (int i = 0; i < n; ++i)
            tableForward(*this, in[i], out[i]);
    } else {
        for (int i = 0; i < n; ++i)
            forward(*this, in[i], out[i]);
    }
    return 1;
}

int Mercator::Map2Geo(const Point* in, GeoPoint* out, int n) {
    for (int i = 0; i < n; ++i)
        inverse(*this, in[i], out[i]);
    return 1;
}

// --- grid and course lines ---

namespace {

// A caller's object is cleared and becomes a line.
void startLine(MapObject* obj) {
    if (!obj) return;
    obj->clear();
    obj->type = egtLine;
}

// The object to fill (the caller's, or a new line), with room for the given
// parts and points; null when memory runs out (a made object is deleted, a
// caller's one left cleared).
MapObject* lineObject(MapObject* obj, std::int32_t parts, std::int32_t points) {
    MapObject* o = obj ? obj : new (std::nothrow) MapObject(egtLine, -1);
    if (!o) return nullptr;
    o->type = egtLine;
    if (!o->allocate(parts, points)) {
        if (o != obj) delete o;
        return nullptr;
    }
    return o;
}

} // namespace

MapObject* Mercator::getMeridian(std::int32_t lon, std::int32_t lat1, std::int32_t lat2,
                                 MapObject* obj) {
    startLine(obj);
    const std::uint32_t w = static_cast<std::uint32_t>(window.lon2) - window.lon1;
    if (static_cast<std::uint32_t>(lon) - window.lon1 > w) return nullptr;
    if (lat1 > lat2) std::swap(lat1, lat2);
    const std::int32_t n = lat1 == lat2 ? 1 : 2;
    if (lat2 < window.lat1 || lat1 > window.lat2) return nullptr;
    MapObject* o = lineObject(obj, 1, n);
    if (!o) return nullptr;
    o->pointCounts[0] = n;
    const GeoPoint ends[2] = {{lon, std::clamp(lat1, window.lat1, window.lat2)},
                              {lon, std::clamp(lat2, window.lat1, window.lat2)}};
    Geo2Map(ends, o->points, n);
    o->calcCover();
    return o;
}

MapObject* Mercator::getParallel(std::int32_t lat, std::int32_t lon1, std::int32_t lon2,
                                 MapObject* obj) {
    startLine(obj);
    if (lat < window.lat1 || lat > window.lat2) return nullptr;
    const std::uint32_t w = static_cast<std::uint32_t>(window.lon2) - window.lon1;
    const std::uint32_t s = static_cast<std::uint32_t>(lon1) - window.lon1;
    const std::uint32_t e = static_cast<std::uint32_t>(lon2) - window.lon1;
    // 0 outside, 1 on the west or east edge, 2 inside.
    auto kind = [w](std::uint32_t o) { return o == 0 || o == w ? 1 : (o < w ? 2 : 0); };
    const int ks = kind(s), ke = kind(e);

    std::int32_t runs[2][2];
    int nRuns = 0;
    if (ks == 0 && ke == 0) {
        // Both ends outside: the span still covers the whole window when it
        // reaches the window's west edge before its own end.
        const std::uint32_t span = static_cast<std::uint32_t>(lon2) - lon1;
        const std::uint32_t toWest = static_cast<std::uint32_t>(window.lon1) - lon1;
        if (toWest >= span) return nullptr;
        runs[nRuns][0] = window.lon1, runs[nRuns][1] = window.lon2, ++nRuns;
    } else if (ks == 0) {
        runs[nRuns][0] = window.lon1, runs[nRuns][1] = lon2, ++nRuns;
    } else if (ke == 0) {
        runs[nRuns][0] = lon1, runs[nRuns][1] = window.lon2, ++nRuns;
    } else if (e < s) {
        // Out at the east edge, round the globe and in again at the west.
        if (s != w) runs[nRuns][0] = lon1, runs[nRuns][1] = window.lon2, ++nRuns;
        if (e != 0) runs[nRuns][0] = window.lon1, runs[nRuns][1] = lon2, ++nRuns;
        if (nRuns == 0) return nullptr;
    } else {
        runs[nRuns][0] = lon1, runs[nRuns][1] = lon2, ++nRuns;
    }

    MapObject* o = lineObject(obj, nRuns, 2 * nRuns);
    if (!o) return nullptr;
    for (int r = 0; r < nRuns; ++r) {
        o->pointCounts[r] = 2;
        const GeoPoint ends[2] = {{runs[r][0], lat}, {runs[r][1], lat}};
        Geo2Map(ends, o->points + 2 * r, 2);
    }
    o->calcCover();
    return o;
}

MapObject* Mercator::getLoxodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj) {
    startLine(obj);
    try {
        return buildLoxodromia(a, b, obj);
    } catch (const std::bad_alloc&) {
        if (obj) {
            obj->clear();
            obj->type = egtLine;
        }
        return nullptr;
    }
}

MapObject* Mercator::buildLoxodromia(const GeoPoint& a, const GeoPoint& b, MapObject* obj) {
    // The bounding rectangle, from the end the other lies east of.
    GeoRect box;
    if (angleDiff(b.lon, a.lon) >= 0)
        box.lon1 = a.lon, box.lon2 = b.lon;
    else
        box.lon1 = b.lon, box.lon2 = a.lon;
    box.lat1 = std::min(a.lat, b.lat);
    box.lat2 = std::max(a.lat, b.lat);
    const GeoCover visible = box * window;
    if (visible.empty()) return nullptr;

    // A box reaching outside the window may reach round to the far side of
    // this map's plane: cut it in the plane of a map centred on it instead.
    Mercator* plane = this;
    std::unique_ptr<Mercator> aux;
    if (!(box <= window)) {
        const std::int32_t mid = angleAdd(box.lon1, angleDiff(box.lon2, box.lon1) / 2);
        aux.reset(new (std::nothrow)
                      Mercator(scale, GeoPoint{mid, centre.lat}, 500, 500, div.x, div.y, nullptr));
        if (!aux) return nullptr;
        plane = aux.get();
    }
    Point pa, pb;
    plane->Geo2Map(&a, &pa, 1);
    plane->Geo2Map(&b, &pb, 1);
    std::vector<Point> kept;
    for (const LGeoRect* n = visible.head; n; n = n->next) {
        Rect r;
        plane->Geo2Map(&n->r, &r, 1);
        GeoPoint p1{pa.x, pa.y}, p2{pb.x, pb.y};
        const GeoRect cut{r.left, r.top, r.right, r.bottom};
        if (!CutGeoSegment(p1, p2, cut)) continue;
        kept.push_back(Point{p1.lon, p1.lat});
        kept.push_back(Point{p2.lon, p2.lat});
    }
    if (kept.empty()) return nullptr;
    if (aux) {
        std::vector<GeoPoint> geo(kept.size());
        aux->Map2Geo(kept.data(), geo.data(), int(kept.size()));
        Geo2Map(geo.data(), kept.data(), int(kept.size()));
    }
    const std::int32_t pieces = std::int32_t(kept.size() / 2);
    MapObject* o = lineObject(obj, pieces, 2 * pieces);
    if (!o) return nullptr;
    for (std::int32_t k = 0; k < pieces; ++k)
        o->pointCounts[k] = 2;
    std::copy(kept.begin(), kept.end(), o->points);
    o->calcCover();
    return o;
}

MapObject* Mercator::getOrtodromia(const GeoPoint&, const GeoPoint&, MapObject*) {
    return nullptr;
}
