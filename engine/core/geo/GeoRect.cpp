#include "geo/GeoRect.h"

#include "runtime/intmath.h"

namespace {

std::uint32_t u(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}

constexpr int latFlagTable[14] = {0, 0, 16, 1, 97, 65, 7, 103, 69, 3, 35, 1, 8, 0};
constexpr int lonFlagTable[16] = {7, 103, 69, 3, 35, 1, 8, 0, 17, 24, 16, 1, 9, 1, 97, 65};

} // namespace

int operator&(const GeoPoint& p, const GeoRect& r) {
    const bool inLat = p.lat == r.lat1 || (r.lat1 < p.lat && p.lat < r.lat2);
    const bool inLon = p.lon == r.lon1 || u(p.lon) - u(r.lon1) < u(r.lon2) - u(r.lon1);
    return inLat && inLon ? 1 : 0;
}

int operator&(const GeoRect& r, const GeoPoint& p) {
    return p & r;
}

int operator&(const GeoRect& a, const GeoRect& b) {
    bool latMeet;
    if (a.lat1 < b.lat1)
        latMeet = a.lat2 > b.lat1;
    else if (b.lat1 < a.lat1)
        latMeet = b.lat2 > a.lat1;
    else
        latMeet = true;
    if (!latMeet) return 0;
    const std::uint32_t w = u(a.lon2) - u(a.lon1);
    const std::uint32_t s = u(b.lon1) - u(a.lon1);
    const std::uint32_t e = u(b.lon2) - u(a.lon1);
    const bool wrapsPastStart = e < s && e > 0;
    return s < w || wrapsPastStart ? 1 : 0;
}

int operator<=(const GeoRect& a, const GeoRect& b) {
    if (a.lat2 > b.lat2 || a.lat1 < b.lat1 || (a.lat1 != b.lat1 && a.lat1 >= b.lat2)) return 0;
    const std::uint32_t s = u(a.lon1) - u(b.lon1);
    const std::uint32_t t = u(a.lon2) - u(b.lon1);
    const std::uint32_t w = u(b.lon2) - u(b.lon1);
    return s <= t && t <= w ? 1 : 0;
}

int operator%(const GeoRect& a, const GeoRect& b) {
    return (a.lon1 < b.lon2 ? 1 : 0) | (b.lon1 < a.lon2 ? 2 : 0) | (a.lon1 < a.lon2 ? 4 : 0) |
           (b.lon1 < b.lon2 ? 8 : 0) | (a.lat1 < b.lat2 ? 16 : 0) | (b.lat1 < a.lat2 ? 32 : 0) |
           (a.lat1 < a.lat2 ? 64 : 0) | (b.lat1 < b.lat2 ? 128 : 0);
}

int geoLatRelation(const GeoRect& a, const GeoRect& b) {
    if (b.lat1 > a.lat1) {
        if (b.lat1 > a.lat2) return 1;  // b wholly above a
        if (b.lat1 == a.lat2) return 2; // b starts where a ends
        if (b.lat2 > a.lat2) return 3;  // b starts inside a and ends above it
        return b.lat2 == a.lat2 ? 4 : 5;
    }
    if (b.lat1 == a.lat1) return b.lat2 > a.lat2 ? 6 : b.lat2 == a.lat2 ? 7 : 8;
    if (b.lat2 < a.lat1) return 13;  // b wholly below a
    if (b.lat2 == a.lat1) return 12; // b ends where a starts
    return b.lat2 > a.lat2 ? 9 : b.lat2 == a.lat2 ? 10 : 11;
}

int geoLonRelation(const GeoRect& a, const GeoRect& b) {
    std::uint32_t s = u(a.lon1) - u(b.lon1);
    std::uint32_t t = u(a.lon2) - u(b.lon1);
    const std::uint32_t w = u(b.lon2) - u(b.lon1);
    int base = 0;
    if (t < s) { // a wraps past b.lon1
        const std::uint32_t k = s;
        s = t;
        t = k;
        base = 8;
    }
    if (s == 0) return base + (w > t ? 0 : w == t ? 1 : 2);
    if (w > t) return base + 3;
    if (w == t) return base + 4;
    if (w > s) return base + 5;
    return base + (w == s ? 6 : 7);
}

int geoLatFlags(int relation) {
    return relation >= 0 && relation < 14 ? latFlagTable[relation] : 0;
}

int geoLonFlags(int relation) {
    return relation >= 0 && relation < 16 ? lonFlagTable[relation] : 0;
}

namespace {

int outCode(std::int64_t x, std::int64_t y, const GeoRect& r) {
    return (x < r.lon1 ? 1 : 0) | (x > r.lon2 ? 2 : 0) | (y < r.lat1 ? 4 : 0) |
           (y > r.lat2 ? 8 : 0);
}

} // namespace

int CutGeoSegment(GeoPoint& p1, GeoPoint& p2, const GeoRect& r) {
    int c1 = outCode(p1.lon, p1.lat, r), c2 = outCode(p2.lon, p2.lat, r);
    if ((c1 | c2) == 0) return 1;
    if (c1 & c2) return 0;
    const int kind = c1 != 0 && c2 != 0 ? 2 : c1 != 0 ? 3 : 4;

    // Work on copies: a segment that misses the rectangle leaves both ends alone.
    std::int64_t x1 = p1.lon, y1 = p1.lat, x2 = p2.lon, y2 = p2.lat;
    const double dx = static_cast<double>(x2 - x1), dy = static_cast<double>(y2 - y1);
    const double ox = static_cast<double>(x1), oy = static_cast<double>(y1);
    for (int bit = 1; bit <= 8; bit <<= 1) {
        if ((c1 & bit) == (c2 & bit)) continue;
        std::int64_t x, y;
        if (bit <= 2) { // west or east edge: x fixed, y along the line
            x = bit == 1 ? r.lon1 : r.lon2;
            y = dy == 0 ? y1 : round(oy + dy * (static_cast<double>(x) - ox) / dx, 0);
        } else { // south or north edge: y fixed, x along the line
            y = bit == 4 ? r.lat1 : r.lat2;
            x = dx == 0 ? x1 : round(ox + dx * (static_cast<double>(y) - oy) / dy, 0);
        }
        if (c1 & bit) {
            x1 = x;
            y1 = y;
            c1 = outCode(x1, y1, r);
        } else {
            x2 = x;
            y2 = y;
            c2 = outCode(x2, y2, r);
        }
        if ((c1 | c2) == 0) {
            p1 = {static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1)};
            p2 = {static_cast<std::int32_t>(x2), static_cast<std::int32_t>(y2)};
            return kind;
        }
        if (c1 & c2) return 0;
    }
    return 0;
}
