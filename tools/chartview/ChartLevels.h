// The navigation program's chart levels and the scales of one view drawn at
// a level.
//
// A chart level i has a level scale L (the scale its cells are made for) and
// a display scale (the scale shown at zoom factor 1); the drawing pass queries
// at round(L), so each level reads the cells of its own engine scale level,
// and draws at the view's display scale s with the scale exponent
// frexp(L / s) - 1 (0 at zoom factor 1, one more per doubling of the zoom).
//
// Example:
//   const ViewScales v = viewScales(5, 15000);
//   // v.queryScale 20000, v.levelLetter 'F', v.scaleExponent 0
#pragma once

#include <cstdint>

namespace chartview {

inline constexpr int kChartLevelCount = 8;

struct ChartLevel {
    int engineLevel;            // the engine's scale level, 0 (Z) to 7 (G)
    double levelScale;          // L, the denominator the query uses
    std::uint32_t displayScale; // the denominator shown at zoom factor 1
};

// Level i, 0 to 7 (out of range: level 7).
const ChartLevel& chartLevel(int index);

// The four depth-zone limits of level i in metres, ascending (out of range:
// level 7's).
const double* depthZoneLimits(int index);

// The level whose display scale is nearest to `displayScale` by ratio; of two
// equally near, the one with the smaller display scale. 15000 gives 5, 50000
// gives 4.
int nearestChartLevel(std::uint32_t displayScale);

// The scales of a view at chart level `level` (0 to 7) and display scale
// `displayScale` (at least 1).
struct ViewScales {
    unsigned long queryScale; // round(L)
    int engineLevel;          // the level's engine scale level
    char levelLetter;         // its letter, "ZABCDEFG"
    int scaleExponent;        // frexp(L / s) - 1
    double zoom;              // the level's display scale / s
};
ViewScales viewScales(int level, std::uint32_t displayScale);

// The letter of an engine scale level 0 to 7; '?' outside.
char levelLetter(int engineLevel);

} // namespace chartview
