// Small helpers shared by the projections: wrap-around arithmetic on binary
// angles and saturation of plane coordinates.
#pragma once

#include "runtime/intmath.h"

#include <cstdint>
#include <limits>

namespace proj {

// a - b taken modulo 2^32 as a signed 32-bit value.
inline std::int32_t angleDiff(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// a + b modulo 2^32.
inline std::int32_t angleAdd(std::int32_t a, std::int64_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// v clamped to the 32-bit range.
inline std::int32_t saturate32(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// x rounded to nearest (ties to even) and clamped to the 32-bit range; NaN
// gives INT32_MIN.
inline std::int32_t roundPlane(long double x) {
    return saturate32(round(x, 0));
}

} // namespace proj
