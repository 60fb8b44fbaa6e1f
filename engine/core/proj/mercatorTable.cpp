#include "proj/mercatorTable.h"

#include "geo/GeoEllipsoid.h"
#include "geo/GeoPoint.h"
#include "runtime/intmath.h"

#include <algorithm>
#include <cmath>

long double isometricLatitude(std::int32_t lat) {
    // One unit short of a pole the stretch is still finite (about 22.2).
    lat = std::clamp<std::int32_t>(lat, -0x3FFFFFFF, 0x3FFFFFFF);
    const long double e = _pSystemEllipsoid->e;
    const long double s = std::sin(nrm2rad(lat));
    return 0.5L * (e * std::log((1 - e * s) / (1 + e * s)) - std::log((1 - s) / (1 + s)));
}

std::int32_t isometricLatitudeInverse(long double y) {
    std::int32_t lo = -0x40000000, hi = 0x40000000, m = 0;
    while (std::int64_t{hi} - lo > 1) {
        m = (lo + hi) >> 1;
        if (y <= isometricLatitude(m))
            hi = m;
        else
            lo = m;
    }
    return m;
}

const std::int32_t* mercatorTable() {
    struct Table {
        std::int32_t v[kMercatorTableSize];
        Table() {
            for (int i = 0; i < kMercatorTableSize; ++i)
                v[i] = static_cast<std::int32_t>(
                    round(isometricLatitude((i + 1) << 18) * nrmPerRad, 0));
        }
    };
    static const Table table;
    return table.v;
}

std::int32_t mercatorTableY(std::int32_t lat) {
    const std::int32_t* t = mercatorTable();
    const std::uint32_t a = lat < 0 ? 0u - static_cast<std::uint32_t>(lat) : lat;
    const std::uint32_t i = a >> 18;
    if (i >= kMercatorTableSize) return lat < 0 ? -0x7FFFFFFF : 0x7FFFFFFF;
    const std::int64_t lo = i ? t[i - 1] : 0;
    const std::int64_t hi = t[i];
    const std::int64_t y =
        lo + static_cast<std::int64_t>(
                 (std::uint64_t{a & 0x3FFFFu} * static_cast<std::uint64_t>(hi - lo)) >> 18);
    return static_cast<std::int32_t>(lat < 0 ? -y : y);
}

std::int32_t mercatorTableLat(std::int32_t y) {
    const std::int32_t* t = mercatorTable();
    const std::uint32_t a = y < 0 ? 0u - static_cast<std::uint32_t>(y) : y;
    if (a >= static_cast<std::uint32_t>(t[kMercatorTableSize - 1]))
        return y < 0 ? -0x3FFFFFFF : 0x3FFFFFFF;
    std::uint32_t base, lo, hi;
    if (a <= static_cast<std::uint32_t>(t[0])) {
        base = 0;
        lo = 0;
        hi = t[0];
    } else {
        int l = 0, h = kMercatorTableSize - 1;
        while (h - l > 1) {
            const int m = (l + h) / 2;
            if (a > static_cast<std::uint32_t>(t[m]))
                l = m;
            else
                h = m;
        }
        base = static_cast<std::uint32_t>(h) << 18;
        lo = t[h - 1];
        hi = t[h];
    }
    const std::int32_t lat = static_cast<std::int32_t>(base + dwMulDiv(a - lo, 0x40000, hi - lo));
    return y < 0 ? -lat : lat;
}
