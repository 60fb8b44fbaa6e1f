// The chart root and the places of cell files and block index files in the
// KV71 chart tree:
//   cell file:        root BLOCK/L/NAME
//   block index file: root BLOCK/BLOCK.INF
// where BLOCK is "%04d%04d" of the south-west latitude and longitude indices
// of the 60 x 60 unit (20 x 20 degree) block holding the cell, L the level
// letter and NAME the ten-character cell name. Level Z has no block index.
//
// The built paths are in local form (see localChartPath): a root written the
// Windows way works as well. Files are then opened through openChartFile,
// which finds every component whatever its case.
//
// The root is one process-wide value; the object iterator switches it under
// the cell-reader lock, nothing else guards it.
#pragma once

#include <cstdint>
#include <string>

// Sets the chart root from path: at most 255 characters are taken, and when
// the result is not empty and does not end in ':', '/' or '\' a '/' is
// appended. Null leaves the root unchanged. The initial root is "Z:\KV71/",
// which names a folder only when drive Z has a root.
void SetKV71ChartRoot(const char* path);

// The chart root as set (not converted to local form). The pointer stays
// valid; its text changes with SetKV71ChartRoot.
const char* KV71ChartRoot();

// "%04d%04d" of the block holding grid indices (lon, lat): its south-west
// latitude index ((lat - 30) / 60 * 60 + 30), then longitude index
// (lon / 60 * 60). lat must be at least 30.
std::string KV71BlockFolder(std::uint32_t lon, std::uint32_t lat);

// Path of the cell file of the named cell (the name is upper-cased in place).
// An invalid name throws through the error routine with "Illegal cell name:
// NAME".
std::string KV71CellPath(char* name);

// Path of the block index file of the block holding grid indices (lon, lat).
std::string KV71BlockIndexPath(std::uint32_t lon, std::uint32_t lat);
