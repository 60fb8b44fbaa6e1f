// The pixels of a line from (x1, y1) to (x2, y2), end pixel excluded.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>

namespace gdi {

// Calls `pixel(x, y)` for each pixel of the line in order from the start, leaving
// out the end pixel: a line whose ends are equal gives no pixel. The steps follow
// the longer axis; the other coordinate is the nearest to the true line, a tie
// going towards the end point's side.
template <class Pixel> void forEachLinePixel(int x1, int y1, int x2, int y2, Pixel&& pixel) {
    const std::int64_t dx = std::int64_t(x2) - x1, dy = std::int64_t(y2) - y1;
    const std::int64_t adx = std::llabs(dx), ady = std::llabs(dy);
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    std::int64_t x = x1, y = y1;
    if (adx >= ady) {
        std::int64_t err = 2 * ady - adx;
        for (std::int64_t i = 0; i < adx; ++i) {
            pixel(int(x), int(y));
            if (err > 0 || (err == 0 && sy > 0)) {
                y += sy;
                err -= 2 * adx;
            }
            err += 2 * ady;
            x += sx;
        }
    } else {
        std::int64_t err = 2 * adx - ady;
        for (std::int64_t i = 0; i < ady; ++i) {
            pixel(int(x), int(y));
            if (err > 0 || (err == 0 && sx > 0)) {
                x += sx;
                err -= 2 * ady;
            }
            err += 2 * adx;
            y += sy;
        }
    }
}

// The same with a callback, as the drawing procedures hand one in.
void lineDda(int x1, int y1, int x2, int y2, const std::function<void(int x, int y)>& pixel);

} // namespace gdi
