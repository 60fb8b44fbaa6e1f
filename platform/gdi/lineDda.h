// The pixels of a line from (x1, y1) to (x2, y2), end pixel excluded.
#pragma once

#include <functional>

namespace gdi {

// Calls `pixel` for each pixel of the line in order from the start, leaving out
// the end pixel: a line whose ends are equal gives no pixel. The steps follow
// the longer axis; the other coordinate is rounded to nearest, halves towards
// the end point's side as Bresenham's rule gives.
void lineDda(int x1, int y1, int x2, int y2, const std::function<void(int x, int y)>& pixel);

} // namespace gdi
