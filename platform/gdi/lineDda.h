// The pixels of a line from (x1, y1) to (x2, y2), end pixel excluded.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>

namespace gdi {

// Calls `pixel(x, y)` for the pixels first .. last - 1 of the line, counted from
// its start (all of them by default), leaving out the end pixel: a line whose
// ends are equal has no pixel. The steps follow the longer axis; the other
// coordinate is the nearest to the true line, a tie going towards the end
// point's side. Pixel k is the same whichever range is asked for.
template <class Pixel>
void forEachLinePixel(int x1, int y1, int x2, int y2, Pixel&& pixel, std::int64_t first = 0,
                      std::int64_t last = INT64_MAX) {
    const std::int64_t dx = std::int64_t(x2) - x1, dy = std::int64_t(y2) - y1;
    const std::int64_t adx = std::llabs(dx), ady = std::llabs(dy);
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const int smajor = xMajor ? sx : sy, sminor = xMajor ? sy : sx;
    if (first < 0) first = 0;
    if (last > major) last = major;
    if (first >= last) return;
    // Minor steps taken before pixel `first`; a tie steps only towards +.
    const std::int64_t tie = sminor > 0 ? 0 : 1;
    using Wide = __int128; // products of 33-bit steps and 33-bit counts
    const std::int64_t m =
        std::int64_t((2 * Wide(minor) * first + major - tie) / (2 * Wide(major)));
    std::int64_t err =
        std::int64_t(2 * Wide(minor) - major + 2 * Wide(minor) * first - 2 * Wide(major) * m);
    std::int64_t a = (xMajor ? x1 : y1) + smajor * first, b = (xMajor ? y1 : x1) + sminor * m;
    for (std::int64_t i = first; i < last; ++i) {
        if (xMajor)
            pixel(int(a), int(b));
        else
            pixel(int(b), int(a));
        if (err > 0 || (err == 0 && sminor > 0)) {
            b += sminor;
            err -= 2 * major;
        }
        err += 2 * minor;
        a += smajor;
    }
}

// The number of pixels of the line from (x1, y1) to (x2, y2) (its end left out).
inline std::int64_t linePixelCount(int x1, int y1, int x2, int y2) {
    const std::int64_t adx = std::llabs(std::int64_t(x2) - x1),
                       ady = std::llabs(std::int64_t(y2) - y1);
    return adx > ady ? adx : ady;
}

// A range [first, last) of pixel numbers of the line that holds every pixel lying
// within left..right, top..bottom (inclusive); empty (first >= last) when none does.
struct LinePixelRange {
    std::int64_t first, last;
};
LinePixelRange linePixelsWithin(int x1, int y1, int x2, int y2, int left, int top, int right,
                                int bottom);

// The same with a callback, as the drawing procedures hand one in.
void lineDda(int x1, int y1, int x2, int y2, const std::function<void(int x, int y)>& pixel);

} // namespace gdi
