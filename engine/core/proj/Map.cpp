#include "proj/Map.h"

#include "geo/GeoEllipsoid.h"
#include "proj/TLMapWin.h"
#include "proj/planeMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using proj::angleAdd;
using proj::angleDiff;
using proj::roundPlane;

namespace {

constexpr std::int32_t kNorthPole = 0x40000000;
constexpr std::int32_t kSouthPole = -0x40000000;

// Half-width of a span in binary units, truncated toward zero; spans of half
// a turn or more (and the infinite span of a zero factor) give 2147483647.
std::int64_t halfSpan(long double radians) {
    long double units = radians * nrmPerRad;
    if (!(units < 2147483648.0L)) return 2147483647;
    if (units < 0) return 0;
    return static_cast<std::int64_t>(units);
}

std::int32_t clampLat(std::int64_t lat) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(lat, kSouthPole, kNorthPole));
}

// Chart millimetres of a signed binary difference at k chart metres per
// radian, rounded to nearest: the window's half-width was truncated to whole
// binary units on the way in, and truncating again on the way back would
// make a 150 mm window 149 mm wide (and the plane-per-metre factors of the
// chart objects 0.7 % off).
std::int32_t chartMillimetres(std::int32_t diff, long double k) {
    return proj::roundPlane(diff * radPerNrm * 1000 * k);
}

} // namespace

std::int32_t Map::deriveDiv(std::int32_t low, std::int32_t high) {
    // In 64 bits, so that -INT32_MIN does not overflow. A half wider than
    // 32767000 chart millimetres would get 0, which maps every position onto
    // the centre.
    const std::int64_t extent = std::max<std::int64_t>({-std::int64_t{low}, high, 1});
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(32767000 / extent, 1, 32767));
}

Map::Map(std::uint32_t scale_, const GeoPoint& centre_, int halfW, int halfH, int divX, int divY,
         Win* win_)
    : projection(0), scale(std::max<std::uint32_t>(scale_, 1)),
      centre(centre_), window{centre_.lon, centre_.lat, centre_.lon, centre_.lat},
      planeLimit{centre_.lon, centre_.lat, centre_.lon, centre_.lat},
      windowPlane{-32767, -32767, 32767, 32767}, windowMap{}, div{divX, divY}, win(win_), kx(0),
      ky(0), invKxd(0), invKyd(0), kxd(0), kyd(0) {
    // A zero half-size would leave nothing to divide by when div is derived.
    halfW = std::max(halfW, 1);
    halfH = std::max(halfH, 1);
    windowMap = Rect{-halfW, -halfH, halfW, halfH};

    if (!win) win = acquireMapWin(this);

    const long double lat0 = nrm2rad(centre.lat);
    const long double a = _pSystemEllipsoid->a;
    const long double e2 = _pSystemEllipsoid->e2;
    const long double s = std::sin(lat0);
    const long double W = 1.0L / std::sqrt(1.0L - e2 * s * s);
    const long double kxl = a * std::cos(lat0) * W / scale;
    const long double kyl = a * (1.0L - e2) * W / scale;
    kx = static_cast<double>(kxl);
    ky = static_cast<double>(kyl);

    const std::int64_t dl = halfSpan(halfW * 0.001L / kx);
    window.lon1 = angleAdd(centre.lon, -dl);
    window.lon2 = angleAdd(centre.lon, dl);
    const std::int64_t dp = halfSpan(halfH * 0.001L / ky);
    window.lat1 = clampLat(std::int64_t{centre.lat} - dp);
    window.lat2 = clampLat(std::int64_t{centre.lat} + dp);

    windowMap.left = chartMillimetres(angleDiff(window.lon1, centre.lon), kx);
    windowMap.right = chartMillimetres(angleDiff(window.lon2, centre.lon), kx);
    windowMap.top = chartMillimetres(angleDiff(window.lat1, centre.lat), ky);
    windowMap.bottom = chartMillimetres(angleDiff(window.lat2, centre.lat), ky);

    if (divX < 1 || divY < 1) {
        div.x = deriveDiv(windowMap.left, windowMap.right);
        div.y = deriveDiv(windowMap.top, windowMap.bottom);
    }

    const std::int64_t pl = halfSpan(32767.0L / div.x / kx);
    planeLimit.lon1 = angleAdd(centre.lon, -pl);
    planeLimit.lon2 = angleAdd(centre.lon, pl);
    const std::int64_t pp = halfSpan(32767.0L / div.y / ky);
    planeLimit.lat1 = clampLat(std::int64_t{centre.lat} - pp);
    planeLimit.lat2 = clampLat(std::int64_t{centre.lat} + pp);

    kxd = static_cast<double>(radPerNrm * div.x * kx);
    kyd = static_cast<double>(radPerNrm * div.y * ky);
    invKxd = 1.0 / kxd;
    invKyd = 1.0 / kyd;

    Map::Geo2Map(&window, &windowPlane, 1);
}

Map::~Map() {
    releaseMapWin(win);
}

int Map::Geo2Map(const GeoPoint* in, Point* out, int n) {
    for (int i = 0; i < n; ++i) {
        out[i].x = roundPlane(angleDiff(in[i].lon, centre.lon) * static_cast<long double>(kxd));
        out[i].y = roundPlane(angleDiff(in[i].lat, centre.lat) * static_cast<long double>(kyd));
    }
    return 1;
}

int Map::Map2Geo(const Point* in, GeoPoint* out, int n) {
    for (int i = 0; i < n; ++i) {
        out[i].lon = angleAdd(centre.lon, round(in[i].x * static_cast<long double>(invKxd), 0));
        out[i].lat = angleAdd(centre.lat, round(in[i].y * static_cast<long double>(invKyd), 0));
    }
    return 1;
}

int Map::Map2Geo(const Rect* in, GeoRect* out, int n) {
    for (int i = 0; i < n; ++i) {
        const Point corners[2] = {{in[i].left, in[i].top}, {in[i].right, in[i].bottom}};
        GeoPoint geo[2];
        if (!Map2Geo(&corners[0], &geo[0], 1) || !Map2Geo(&corners[1], &geo[1], 1)) return 0;
        out[i].lon1 = geo[0].lon;
        out[i].lat1 = geo[0].lat;
        out[i].lon2 = geo[1].lon;
        out[i].lat2 = geo[1].lat;
    }
    return 1;
}

int Map::Geo2Map(const GeoRect* in, Rect* out, int n) {
    for (int i = 0; i < n; ++i) {
        const GeoPoint corners[2] = {{in[i].lon1, in[i].lat1}, {in[i].lon2, in[i].lat2}};
        Point plane[2];
        if (!Geo2Map(&corners[0], &plane[0], 1) || !Geo2Map(&corners[1], &plane[1], 1)) return 0;
        out[i] = Rect{plane[0].x, plane[0].y, plane[1].x, plane[1].y};
    }
    return 1;
}

MapObject* Map::getMeridian(std::int32_t, std::int32_t, std::int32_t, MapObject*) {
    return nullptr;
}
MapObject* Map::getParallel(std::int32_t, std::int32_t, std::int32_t, MapObject*) {
    return nullptr;
}
MapObject* Map::getLoxodromia(const GeoPoint&, const GeoPoint&, MapObject*) {
    return nullptr;
}
MapObject* Map::getOrtodromia(const GeoPoint&, const GeoPoint&, MapObject*) {
    return nullptr;
}

MapObject* Map::getMeridian(std::int32_t lon, MapObject* obj) {
    return getMeridian(lon, window.lat1, window.lat2, obj);
}
MapObject* Map::getParallel(std::int32_t lat, MapObject* obj) {
    return getParallel(lat, window.lon1, window.lon2, obj);
}

// --- Map::Win: the identity transform ---

Map::Win::~Win() {
    delete map;
}

void Map::Win::setAzimuth(float, int) {}

float Map::Win::getAzimuth(int) {
    return 0.0f;
}

namespace {
template <class T> int copyItems(const T* in, T* out, int n) {
    if (n > 0 && in != out) std::memmove(out, in, sizeof(T) * static_cast<std::size_t>(n));
    return 1;
}
} // namespace

int Map::Win::Map2Win(const Point* in, Point* out, int n) {
    return copyItems(in, out, n);
}
int Map::Win::Map2Win(const Rect* in, Rect* out, int n) {
    return copyItems(in, out, n);
}
int Map::Win::Win2Map(const Point* in, Point* out, int n) {
    return copyItems(in, out, n);
}
int Map::Win::Win2Map(const Rect* in, Rect* out, int n) {
    return copyItems(in, out, n);
}

// --- Map::TPMap ---

Map::TPMap::~TPMap() {
    delete map;
}

Map::TPMap& Map::TPMap::operator=(const Map* mc) {
    Map* m = const_cast<Map*>(mc);
    if (m == map) return *this;
    Win* old = nullptr;
    if (map) {
        old = map->win;
        map->win = nullptr;
        // A transform must not keep pointing at the map deleted here.
        if (old && old->map == map) old->map = nullptr;
        delete map;
        map = nullptr;
    }
    if (!m) {
        if (old) releaseMapWin(old);
        return *this;
    }
    if (old) {
        Win* own = m->win;
        if (own && own != old) {
            if (!releaseMapWin(own) && own->map == m) own->map = nullptr;
        }
        m->win = old;
        if (isMapWinRegistered(old)) old->map = m;
    } else if (!isMapWinRegistered(m->win)) {
        if (m->win && m->win->map == m) m->win->map = nullptr;
        m->win = acquireMapWin(m);
    }
    map = m;
    return *this;
}
