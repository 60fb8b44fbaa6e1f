// Enumeration of the cells of one level that cover a geographic window.
//
// Cells come west to east within a row of cells, rows south to north. A
// window whose west edge lies east of its east edge (as signed angles)
// crosses the antimeridian or 0 degrees and is walked across the wrap; a
// window of half a turn or more whose rounded edges meet takes every column.
// A window edge that lies exactly on a cell boundary adds no cell beyond it;
// a window that is a point gives the one cell holding it. Rows stop short of
// 80 N (latitude index 510): no enumeration reaches row 510.
#pragma once

#include "kv71/KV71CellId.h"

#include <cstdint>

struct KV71CellRange {
    KV71CellId cell;        // the next cell to answer; level 65535 when exhausted
    std::uint16_t lonFirst; // first column of each row
    std::uint16_t lonEnd;   // column after the last (equal to lonFirst: all columns)
    std::uint16_t latEnd;   // row after the last
    std::uint16_t size;     // cell size of the level in grid units
};

// Starts the enumeration over the window west..east, south..north (binary
// angles; the south-west corner inclusive) at level 0..7. Answers 0, or -1
// with the range's level set to 65535 when the level is above 7, south lies
// north of north, or the window lies wholly outside 80 S..80 N.
int InitKV71CellRange(KV71CellRange& range, std::int32_t west, std::int32_t south,
                      std::int32_t east, std::int32_t north, unsigned level);

// The same over a GeoRect (lon1, lat1 south-west; lon2, lat2 north-east).
int InitKV71CellRange(KV71CellRange& range, const GeoRect& window, unsigned level);

// The current cell, after which the range advances; a cell of level 65535
// once every cell was answered (and on every later call).
KV71CellId NextKV71Cell(KV71CellRange& range);
