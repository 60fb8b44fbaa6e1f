// Where KV71 files lie in a chart tree, and the grid they are addressed by,
// computed on the writers' side.
//
// Grid: 1/3 degree. Latitude index = (latitude + 90) * 3, cells from 30
// (80 S) to 509; longitude index = east longitude (0..360) * 3, 0..1079.
// Levels 0..7 have the letters Z, A..G and cell sizes 120, 60, 30, 12, 3, 1,
// 1, 1 grid units. A block is 60 x 60 units; its folder is named after its
// south-west corner, latitude index then longitude index, four digits each.
#pragma once

#include <string>

namespace kv71write {

// Letter of a level 0..7 ('Z', 'A'..'G'); '?' for anything else.
char levelLetter(int level);
// Cell size of a level in grid units; 0 for a level outside 0..7.
int cellSizeUnits(int level);

// "LLLLNNNN": folder of the block holding grid point (lonIndex, latIndex).
std::string blockFolder(int lonIndex, int latIndex);

// Ten-character cell name: variant character ('0' base cell, 'A'..'D'
// further cells), three latitude digits, four longitude digits, '.', level
// letter.
std::string cellName(int lonIndex, int latIndex, int level, char variant = '0');

// root/BLOCK/LEVEL/NAME for the cell, and root/BLOCK/BLOCK.INF for the block
// index of the block holding grid point (lonIndex, latIndex). root is used as
// given, with '/' put between it and the rest.
std::string cellFilePath(const std::string& root, int lonIndex, int latIndex, int level,
                         char variant = '0');
std::string blockIndexPath(const std::string& root, int lonIndex, int latIndex);

// Edges of a cell in degrees: west and east as east longitudes (east may
// reach 360), south and north from -90.
struct DegreeBox {
    double west, south, east, north;
};
DegreeBox cellDegrees(int lonIndex, int latIndex, int level);

// Spherical Mercator on the sphere of radius 6378388 m that KV71 files use:
// x = R * longitude, y = R * ln(tan(pi/4 + latitude/2)); degrees in, metres
// out.
constexpr double kv71SphereRadius = 6378388.0;
double mercatorX(double lonDegrees);
double mercatorY(double latDegrees);

} // namespace kv71write
