// Block index files (.INF): the cells of levels A..G that one 20 x 20 degree
// block holds, each with the rectangles that cover it.
//
// Layout, little-endian, read in order: u8 group count (1..7, else the file
// yields nothing); per group u8 level (0..6 for A..G; a larger value ends the
// reading, keeping what came before) and u16 cell count; per cell u8 part
// count; per part u16 part value (not used) and u8 rectangle count; per
// rectangle int32 y_min, x_min, y_max, x_max: metres of a spherical Mercator
// projection on the sphere of radius 6378388 m.
#pragma once

#include "geo/GeoCover.h"
#include "kv71/KV71CellId.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One rectangle of a block index file, in Mercator metres.
struct KV71InfRect {
    std::int32_t yMin, xMin, yMax, xMax;
};

// One cell entry of a block index file: the level of its group (1..7, 'A'..
// 'G') and the rectangles of all its parts in file order.
struct KV71InfCell {
    std::uint16_t level;
    std::vector<KV71InfRect> rects;
};

// Reads the bytes of a block index file. False, with no cells, when the
// group count is 0 or above 7. A short file ends the reading: the cells
// completed before it are kept and the answer is true. A group whose level
// was already listed is read past without keeping its cells. Bytes after the
// last group are ignored.
bool ParseKV71BlockIndex(const std::uint8_t* data, std::size_t size,
                         std::vector<KV71InfCell>& cells);

// The rectangle in binary angles: longitude = x / R radians, latitude =
// 2 atan(exp(y / R)) - pi/2 radians (R = 6378388 m); west x_min, south
// y_min, east x_max, north y_max.
GeoRect KV71InfRectToGeoRect(const KV71InfRect& rect);

// One cell of the catalogue: its identity and the cover of its rectangles.
struct KV71BlockCell {
    KV71CellId id;
    GeoCover cover;
};

// Reads the block index file at path (each component found whatever its
// case) into cells, in file order. A cell's rectangles (of all its parts)
// form its cover; rectangles whose south lies north of their north are left
// out. Its identity is the cell of its group's level that holds the centre of
// the cover's first rectangle (south-west corner plus half the unsigned
// extent in each axis); a cell without rectangles, or whose centre lies
// outside 80 S..80 N, is left out. Later cells of the same identity add their
// rectangles to the first one's cover. Answers the number of cells, or -1
// with cells empty when the file is missing, unreadable or malformed (see
// ParseKV71BlockIndex).
int ReadKV71BlockIndex(const char* path, std::vector<KV71BlockCell>& cells);
