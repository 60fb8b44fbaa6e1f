// Writer of KV71 block index files (.INF): which cells of levels A..G a
// 20 x 20 degree block holds, with their covering rectangles.
//
// Layout, little-endian: u8 group count; per group u8 level (0..6 for A..G)
// and u16 cell count; per cell u8 part count; per part u16 part value, u8
// rectangle count and per rectangle int32 y_min, x_min, y_max, x_max in
// spherical Mercator metres (radius 6378388 m).
#pragma once

#include "tools/kv71/ByteBuffer.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kv71write {

struct InfRect {
    std::int32_t yMin = 0, xMin = 0, yMax = 0, xMax = 0;
};

// The rectangle of a box in degrees (east longitudes may exceed 180: they are
// taken as given), each metre value rounded to the nearest integer.
InfRect infRectFromDegrees(double west, double south, double east, double north);

// The counts written for a group, cell or part are those of its contents
// unless an override gives another value.
struct InfPart {
    std::uint16_t value = 0;
    std::vector<InfRect> rects;
    std::optional<std::uint8_t> rectCount;
};

struct InfCell {
    std::vector<InfPart> parts;
    std::optional<std::uint8_t> partCount;
};

struct InfGroup {
    std::uint8_t level = 0; // 0..6 for A..G; 7 and above end the reading
    std::vector<InfCell> cells;
    std::optional<std::uint16_t> cellCount;
};

struct BlockIndex {
    std::vector<InfGroup> groups;
    std::optional<std::uint8_t> groupCount;
    Damage damage;
};

// One cell covered by one rectangle: its own box in the grid of `level`
// (1..7), part value 0.
InfCell infCellOf(int lonIndex, int latIndex, int level);

Bytes blockIndexBytes(const BlockIndex& index);

// Writes the index as root/BLOCK/BLOCK.INF of the block holding the grid
// point (lonIndex, latIndex).
bool writeBlockIndex(const std::string& root, int lonIndex, int latIndex, const BlockIndex& index);

} // namespace kv71write
