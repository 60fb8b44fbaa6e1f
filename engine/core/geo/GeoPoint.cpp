#include "geo/GeoPoint.h"

#include "runtime/intmath.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Reduces x by one full turn of its unit, scales it to binary angles and
// rounds to nearest (ties to even). The low 32 bits of the 64-bit result are
// the angle: reduction leaves |x * scale| below 2^32, so nothing is lost.
std::int32_t toNrm(long double x, long double turn, long double scale) {
    long double r = std::fmod(x, turn) * scale;
    std::int64_t n = round(r, 0); // NaN and infinities give INT64_MIN, low bits 0
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(n)));
}

// Magnitude of a signed binary angle, as unsigned (INT32_MIN gives 2^31).
std::uint32_t magnitude(std::int32_t v) {
    std::uint32_t u = static_cast<std::uint32_t>(v);
    return v < 0 ? 0u - u : u;
}

} // namespace

extern "C" {

std::int32_t rad2nrm(long double x) {
    return toNrm(x, 2 * GeoPi, nrmPerRad);
}
std::int32_t deg2nrm(long double x) {
    return toNrm(x, 360.0L, nrmPerDeg);
}
std::int32_t min2nrm(long double x) {
    return toNrm(x, 21600.0L, nrmPerMin);
}
std::int32_t sec2nrm(long double x) {
    return toNrm(x, 1296000.0L, nrmPerSec);
}

long double deg2rad(long double x) {
    return std::fmod(x, 360.0L) * (GeoPi / 180);
}
long double rad2deg(long double x) {
    return std::fmod(x, 2 * GeoPi) * (180 / GeoPi);
}
}

int GeoPoint::geoToNMEA(char* buffer) const {
    if (buffer == nullptr) return 0;
    if (lat == GeoUndefined) {
        buffer[0] = '\0';
        return 0;
    }
    // Thousandths of a minute; adding 99 units (about half a thousandth)
    // rounds to the nearest. At the bound the value would pass the pole or
    // the antimeridian, so it is shown as 90 or 180 degrees exactly.
    auto thousandths = [](std::uint32_t v, std::uint32_t bound, std::uint32_t full) {
        return v < bound ? dwMulDiv(v + 99, 21600000u, 0) : full;
    };
    std::uint32_t tLat = thousandths(magnitude(lat), 0x3FFFFF9Du, 90u * 60000u);
    std::uint32_t tLon = thousandths(magnitude(lon), 0x7FFFFF9Du, 180u * 60000u);
    char text[64];
    std::snprintf(text, sizeof text, "$IIGLL,%02u%02u.%03u,%c,%03u%02u.%03u,%c", tLat / 60000,
                  tLat % 60000 / 1000, tLat % 1000, lat < 0 ? 'S' : 'N', tLon / 60000,
                  tLon % 60000 / 1000, tLon % 1000, lon < 0 ? 'W' : 'E');
    std::memcpy(buffer, text, 30); // 29 characters and the terminator
    return 1;
}

GeoPoint& GeoPoint::operator=(const char* sentence) {
    lon = GeoUndefined;
    lat = GeoUndefined;
    if (sentence == nullptr || std::strlen(sentence) < 29) return *this;
    // The number at [pos, pos + len), or -1 when a character is not a digit.
    auto number = [sentence](int pos, int len) {
        long v = 0;
        for (int i = pos; i < pos + len; ++i) {
            if (sentence[i] < '0' || sentence[i] > '9') return -1L;
            v = v * 10 + (sentence[i] - '0');
        }
        return v;
    };
    long latDeg = number(7, 2), latMin = number(9, 2), latThou = number(12, 3);
    long lonDeg = number(18, 3), lonMin = number(21, 2), lonThou = number(24, 3);
    if (latDeg < 0 || latMin < 0 || latThou < 0 || lonDeg < 0 || lonMin < 0 || lonThou < 0 ||
        latMin >= 60 || lonMin >= 60)
        return *this;
    long tLat = latDeg * 60000 + latMin * 1000 + latThou;
    long tLon = lonDeg * 60000 + lonMin * 1000 + lonThou;
    if (tLat > 90L * 60000 || tLon > 180L * 60000) return *this;
    // t * 2^32 / 21600000; 180 degrees gives 2^31, which is -180 as well.
    std::uint32_t uLat = dwMulDiv(static_cast<std::uint32_t>(tLat), 0, 21600000u);
    std::uint32_t uLon = dwMulDiv(static_cast<std::uint32_t>(tLon), 0, 21600000u);
    if (sentence[16] != 'N') uLat = 0u - uLat;
    if (sentence[28] != 'E') uLon = 0u - uLon;
    lat = static_cast<std::int32_t>(uLat);
    lon = static_cast<std::int32_t>(uLon);
    return *this;
}
