// Small tables and functions the symbology procedures share: the depth zone
// of a depth with its colour, the colour patterns of buoys and beacons, the
// colour codes of lights and other marks with their short names, and one
// glyph drawn at a point. (The plane geometry the line renderers use for
// laying marks, SegmentPointAtDistance and PointLineDistance, is in
// rendering/LineGeometry.h.)
//
// Example: the fill colour of a depth area.
//   const int colour = DepthColours[DepthZone(depth, context->depthZoneCount,
//                                             context->depthZones)];
#pragma once

#include "geo/Point.h"

#include <cstdint>

// The zone of a depth (metres) among count ascending limits: the first i of
// 1 .. count with depth < limits[i - 1]; 0 when there is none, count < 1 or
// no limits. So zone i holds the depths from limits[i - 2] up to but not
// including limits[i - 1], and zone 0 those at or beyond the last limit.
int DepthZone(double depth, int count, const double* limits);

// Chart colour numbers of the depth zones: 0 -> 1, 1 -> 7, 2 -> 8, 3 -> 9,
// 4 -> 9. A context has at most four limits; a zone above 4 (from more
// limits) takes zone 4's colour and a negative one zone 0's.
struct DepthColourTable {
    int operator[](int zone) const;
};
inline constexpr DepthColourTable DepthColours{};

// A colour pattern of buoys and beacons: up to three chart colour numbers
// (unused ones 0) and its short name.
struct ColourPattern {
    std::uint8_t count;
    std::int32_t colours[3];
    char name[4];
};
// Rows 1 to 17, indexed by the value of a colour attribute; row 0 is empty.
extern const ColourPattern ColourPatterns[18];
// The count of a row; 0 for a row outside 1 to 17.
unsigned ColourPatternCount(unsigned row);
// The name of a row; null for a row outside 1 to 17.
const char* ColourPatternName(unsigned row);

// A colour code: its chart colour number and short name.
struct ColourCode {
    std::uint8_t colour;
    char name[4];
};
// Rows 1 to 11, indexed by a colour code; row 0 is empty. The names are the
// same in both tables; lights take other colours for white, green, yellow
// and orange.
extern const ColourCode ColourCodes[12];
extern const ColourCode LightColourCodes[12];
// The colour of a code in ColourCodes; 0 outside 1 to 11.
int ColourCodeColour(unsigned code);
// The name of a code; null outside 1 to 11.
const char* ColourCodeName(unsigned code);
// The colour of a code in LightColourCodes; 0 outside 1 to 11.
int LightColourCode(unsigned code);

// The character in colour at *at in the current font (GD_CharXY); nothing
// for a null point.
void DrawGlyphAt(Point* at, int character, int colour);
