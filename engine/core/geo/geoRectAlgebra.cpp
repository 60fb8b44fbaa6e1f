#include "geo/geoRectAlgebra.h"

#include <algorithm>

namespace {

std::uint32_t u(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}

constexpr std::int32_t halfTurn = INT32_MIN; // 0x80000000

} // namespace

int geoRectIntersection(const GeoRect& a, const GeoRect& b, GeoRect out[2]) {
    if (!geoRectValid(a) || !geoRectValid(b) || !(a & b)) return 0;
    const std::int32_t lat1 = std::max(a.lat1, b.lat1), lat2 = std::min(a.lat2, b.lat2);
    const std::uint32_t w = u(a.lon2) - u(a.lon1);
    const std::uint32_t s = u(b.lon1) - u(a.lon1);
    const std::uint32_t e = u(b.lon2) - u(a.lon1);
    int count = 0;
    if (e < s) { // b wraps past a.lon1
        if (e < w) {
            if (b.lon2 != a.lon1) out[count++] = {a.lon1, lat1, b.lon2, lat2};
            if (s < w) out[count++] = {b.lon1, lat1, a.lon2, lat2};
        } else {
            out[count++] = {a.lon1, lat1, a.lon2, lat2};
        }
    } else {
        out[count++] = {b.lon1, lat1, e < w ? b.lon2 : a.lon2, lat2};
    }
    return count;
}

int geoRectUnion(const GeoRect& a, const GeoRect& b, GeoRect out[4]) {
    const bool aValid = geoRectValid(a), bValid = geoRectValid(b);
    if (!aValid || !bValid) {
        if (aValid)
            out[0] = a;
        else if (bValid)
            out[0] = b;
        return aValid || bValid ? 1 : 0;
    }
    if (a <= b) {
        out[0] = b;
        return 1;
    }
    if (b <= a) {
        out[0] = a;
        return 1;
    }
    auto both = [&] {
        out[0] = a;
        out[1] = b;
        return 2;
    };
    if (geoRectDegeneracy(a) != geoRectDegeneracy(b)) return both();
    const int fLat = geoLatFlags(geoLatRelation(a, b));
    const int lonRelation = geoLonRelation(a, b);
    const int fLon = geoLonFlags(lonRelation);
    if (a.lon1 == b.lon1 && a.lon2 == b.lon2) {
        if (fLat & (grOverlap | grBEndsAtAStart | grBStartsAtAEnd)) {
            out[0] = {a.lon1, std::min(a.lat1, b.lat1), a.lon2, std::max(a.lat2, b.lat2)};
            return 1;
        }
        return both();
    }
    if (!(fLat & grOverlap) || !(fLon & (grOverlap | grBEndsAtAStart | grBStartsAtAEnd)))
        return both();

    int count = 0;
    if (a.lat1 != b.lat1) { // the lower-starting one below the other's start
        const GeoRect& low = a.lat1 < b.lat1 ? a : b;
        const GeoRect& high = a.lat1 < b.lat1 ? b : a;
        out[count++] = {low.lon1, low.lat1, low.lon2, high.lat1};
    }
    if (a.lat2 != b.lat2) { // the higher-ending one above the other's end
        const GeoRect& top = a.lat2 > b.lat2 ? a : b;
        const GeoRect& other = a.lat2 > b.lat2 ? b : a;
        out[count++] = {top.lon1, other.lat2, top.lon2, top.lat2};
    }
    const std::int32_t lat1 = std::max(a.lat1, b.lat1), lat2 = std::min(a.lat2, b.lat2);
    switch (lonRelation) {
    case 0:
    case 1:
    case 3:
    case 4: // a's span within b's
        out[count++] = {b.lon1, lat1, b.lon2, lat2};
        break;
    case 2:
    case 14:
    case 15: // b's span within a's
        out[count++] = {a.lon1, lat1, a.lon2, lat2};
        break;
    case 5:
    case 6: // from b's start to a's end
        out[count++] = {b.lon1, lat1, a.lon2, lat2};
        break;
    case 10:
    case 13: // from a's start to b's end
        out[count++] = {a.lon1, lat1, b.lon2, lat2};
        break;
    default: // 8, 9, 11, 12: together the spans close the full turn
        out[count++] = {0, lat1, halfTurn, lat2};
        out[count++] = {halfTurn, lat1, 0, lat2};
        break;
    }
    return count;
}

int geoRectDifference(const GeoRect& a, const GeoRect& b, GeoRect out[4]) {
    if (!geoRectValid(a)) return 0;
    if (!geoRectValid(b)) {
        out[0] = a;
        return 1;
    }
    if (a <= b) return 0;
    const int fLat = geoLatFlags(geoLatRelation(a, b));
    const int lonRelation = geoLonRelation(a, b);
    const int fLon = geoLonFlags(lonRelation);
    const int degA = geoRectDegeneracy(a), degB = geoRectDegeneracy(b);
    if (!(fLat & grOverlap) || !(fLon & grOverlap) || ((degB & 1) && !(degA & 1)) ||
        ((degB & 2) && !(degA & 2))) {
        out[0] = a;
        return 1;
    }
    int count = 0;
    if (a.lat1 < b.lat1) out[count++] = {a.lon1, a.lat1, a.lon2, b.lat1};
    if (a.lat2 > b.lat2) out[count++] = {a.lon1, b.lat2, a.lon2, a.lat2};
    const std::int32_t lat1 = std::max(a.lat1, b.lat1), lat2 = std::min(a.lat2, b.lat2);
    if (fLon & grAWithinB) return count;
    switch (lonRelation) {
    case 13:
    case 14: // a ends within b or at its east end
        out[count++] = {a.lon1, lat1, b.lon1, lat2};
        break;
    case 15: // b strictly inside a, across a.lon1's wrap
        out[count++] = {a.lon1, lat1, b.lon1, lat2};
        out[count++] = {b.lon2, lat1, a.lon2, lat2};
        break;
    case 11:
    case 12: // a starts and ends within b but wraps round the globe
        out[count++] = {b.lon2, lat1, b.lon1, lat2};
        break;
    default:
        out[count++] = {b.lon2, lat1, a.lon2, lat2};
        break;
    }
    return count;
}
