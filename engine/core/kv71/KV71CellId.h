// The KV71 grid: scale levels, cell identifiers and cell names.
//
// Grid unit: 1/3 degree. Latitude index = (latitude + 90 degrees) * 3; cells
// lie in rows 30..509 (80 S up to 80 N, the north edge of row 509 being
// 80 N). Longitude index = east longitude (0..360 degrees) * 3, 0..1079,
// wrapping at 1080. From a binary angle the index is dwMulDiv(angle, 1080,
// 2^32) (latitudes first shifted by +90 degrees); back, angle = index * 2^32
// / 1080 (latitudes then less 90 degrees).
//
// A cell of level L starts at a longitude index that is a multiple of the
// level's cell size and a latitude index 30 + a multiple of it.
#pragma once

#include "geo/GeoRect.h"

#include <cstdint>

// One scale level.
struct KV71Level {
    char letter;            // 'Z', 'A'..'G'
    std::uint32_t scale;    // scale denominator
    std::uint16_t cellSize; // cell size in grid units
};
// Levels 0..7: Z 1:20,000,000 (120 units = 40 degrees), A 1:3,000,000 (60),
// B 1:1,000,000 (30), C 1:200,000 (12), D 1:100,000 (3), E 1:50,000 (1),
// F 1:20,000 (1), G 1:7,500 (1).
inline constexpr int KV71LevelCount = 8;
extern const KV71Level KV71Levels[KV71LevelCount];

inline constexpr int KV71GridLonCount = 1080; // longitude indices 0..1079
inline constexpr int KV71GridLatFirst = 30;   // first cell row (80 S)
inline constexpr int KV71GridLatEnd = 510;    // row after the last (80 N)
inline constexpr std::uint16_t KV71NoLevel = 65535;

// A cell: grid indices of its south-west corner and its level. Level 65535
// marks "no cell" (the end of an enumeration, invalid input).
struct KV71CellId {
    std::uint16_t lon;   // longitude index 0..1079
    std::uint16_t lat;   // latitude index 30..509
    std::uint16_t level; // 0..7, or KV71NoLevel
};

// Reads a ten-character cell name, upper-casing it in place (ASCII letters):
// [0] variant ('0' base cell, 'A'..'D' further cells of the place; not
// checked), [1..3] latitude index, [4..7] longitude index (decimal digits
// only), [8] any non-digit, [9] level letter 'Z' or 'A'..'G'. Answers 1 and
// the three values when the name is valid and the cell lies in the grid
// (longitude index < 1080, 30 <= latitude index < 510), else 0 and the
// outputs unchanged. A null name is invalid.
int ParseKV71CellName(char* name, std::uint16_t& level, std::uint16_t& lon, std::uint16_t& lat);

// Writes the base name of the cell ("%04d%04d.%c": latitude index, longitude
// index, '.', level letter; [0] is then '0') into out, which must hold 12
// bytes, and answers out. A level of 8 or more, or indices outside the grid,
// give null and an empty out.
char* KV71CellName(const KV71CellId& id, char* out);

// The cell of the level that holds the position (binary angles): answers 0.
// Answers -1 and sets the level to 65535 when the level is above 7 or the
// latitude lies outside 80 S..80 N (latitude index outside 30..509).
int SnapKV71Cell(KV71CellId& id, std::int32_t lon, std::int32_t lat, unsigned level);

// -1, 0 or 1 comparing by level, then longitude index, then latitude index
// (the catalogue's order).
int CompareKV71CellIds(const KV71CellId& a, const KV71CellId& b);

// Grid index of a binary angle: a longitude (0..1079), or a latitude
// (0..539; 90 S gives 0).
std::uint32_t KV71LonIndex(std::int32_t lon);
std::uint32_t KV71LatIndex(std::int32_t lat);
// Binary angle of a grid index (the index taken modulo 1080 for longitudes).
std::int32_t KV71LonOfIndex(std::uint32_t index);
std::int32_t KV71LatOfIndex(std::uint32_t index);

// The rectangle of the cell in binary angles: south-west corner at the
// angles of its indices, north-east corner at the indices plus the level's
// cell size (the longitude wrapped below 1080, so the last column ends at
// longitude 0). A level of 8 or more gives the empty rectangle: longitudes 0,
// south +90 degrees, north -90 degrees.
GeoRect KV71CellRect(const KV71CellId& id);
