// Plane and window coordinates.
#pragma once

#include <cstdint>

// A point of a plane (projected chart units) or of a window (pixels): x then y.
struct Point {
    std::int32_t x;
    std::int32_t y;
};

// A rectangle of plane or window coordinates. No ordering of the edges is
// implied: each user says whether right > left and which way y grows.
struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};
