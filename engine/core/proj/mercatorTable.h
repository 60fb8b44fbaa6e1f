// Isometric latitude on the system ellipsoid and the latitude-stretch table
// of the Mercator projection's table form.
//
// Stretch values are binary units of the equator: 2^32 per 2 pi radians of
// isometric latitude (so a stretch equals the plane distance in longitude
// units at the equator).
#pragma once

#include <cstdint>

// Latitudes below this many binary units (85.078 degrees) are in the table.
inline constexpr std::int32_t kMercatorTableLimit = 0x3C800000;
// Number of table entries; entry i holds the stretch of latitude
// (i + 1) * 2^18 binary units.
inline constexpr int kMercatorTableSize = 3872;

// The stretch table (3872 entries, binary units of the equator: 2^32 per
// 2 pi), built once on first use.
const std::int32_t* mercatorTable();

// Stretch of a latitude by linear interpolation in the table, with the sign
// of lat; 0x7FFFFFFF (or -0x7FFFFFFF) at and beyond 85.078 degrees.
std::int32_t mercatorTableY(std::int32_t lat);

// Latitude of a stretch, the inverse of mercatorTableY within two binary
// units; beyond the table's last entry +-0x3FFFFFFF.
std::int32_t mercatorTableLat(std::int32_t y);

// Isometric latitude psi(lat) = atanh(sin lat) - e atanh(e sin lat) on the
// system ellipsoid, radians. Latitudes are clamped to within one binary unit
// of the poles, so the result is always finite (about +-22.2 there).
long double isometricLatitude(std::int32_t lat);

// The binary latitude whose isometric latitude is y, by bisection between
// the poles: the last midpoint probed, which is the smallest m with
// y <= psi(m) or one unit below it; within -0x3FFFFFFF..0x3FFFFFFF (beyond
// the stretch of the poles, the unit next to the pole).
std::int32_t isometricLatitudeInverse(long double y);
