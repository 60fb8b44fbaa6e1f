// The chart window's ten pens: solid pens in palette colours of the chart
// colour map (`_anSp57ColorsMap`), indexed by what they draw. Pens are plain
// values of the graphics layer; nothing is given back when they are replaced.
//
// | role           | colour-map entry | width |
// | Ring           | 2                | 4     |  own ship's outer ring
// | Fine           | 0                | 0     |  inner ring, ticks, corridors
// | Vector         | 4                | 3     |  course vector
// | Heading        | 4                | 0     |  heading line
// | Mark2          | 2                | 6     |  light marks of colour code 3
// | Mark4          | 4                | 6     |  light marks of colour code 4
// | Mark11         | 11               | 6     |  other light marks
// | Entry2Width0   | 2                | 0     |  the route being edited
// | Entry0Width2   | 0                | 2     |
// | Entry0Width4   | 0                | 4     |
//
// An illumination scheme other than day gives five of them other colours:
// the ring and Mark2 entry 4, the vector and Mark4 entry 8, Mark11 entry 22.
// Day gives them back their start-up colours.
#pragma once

#include "gdi/Pen.h"

#include <array>

enum class TMapPen : int {
    Ring,
    Fine,
    Vector,
    Heading,
    Mark2,
    Mark4,
    Mark11,
    Entry2Width0,
    Entry0Width2,
    Entry0Width4,
};
inline constexpr int kMapPenCount = 10;

using TMapPens = std::array<gdi::Pen, kMapPenCount>;

// A solid pen of the width in the palette colour of chart colour number
// `colourEntry` (0 to 31; others give colour 0's).
gdi::Pen MapPen(int colourEntry, int width);

// The ten pens in their start-up colours.
TMapPens StartupMapPens();

// The five pens an illumination scheme (0 day to 3 dark night) recreates, put
// into `pens`; the other five are left. A scheme outside 0..3 changes nothing.
void ApplySchemePens(TMapPens& pens, int scheme);
