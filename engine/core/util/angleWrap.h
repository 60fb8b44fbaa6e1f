// Reduction of angles and eastings into one period, shared by the sphere and
// angle helpers. Inside the library only.
//
// A value one period or less outside the range is moved by one period, exactly
// as a single add or subtract does; values further out are reduced with fmod,
// so every finite input lands in the range. NaN and infinities give NaN.
#pragma once

#include <cmath>
#include <limits>

// x brought into (low, low + period].
template <class T> T wrapAboveLow(T x, T low, T period) {
    const T high = low + period;
    if (x > low && x <= high) return x;
    x = x <= low ? x + period : x - period;
    if (x > low && x <= high) return x;
    if (!std::isfinite(x)) return std::numeric_limits<T>::quiet_NaN();
    x = low + std::fmod(x - low, period); // in (low - period, low + period)
    if (x <= low) x += period;
    if (x > high) x -= period;
    return x;
}

// x brought into [low, low + period).
template <class T> T wrapFromLow(T x, T low, T period) {
    const T high = low + period;
    if (x >= low && x < high) return x;
    x = x < low ? x + period : x - period;
    if (x >= low && x < high) return x;
    if (!std::isfinite(x)) return std::numeric_limits<T>::quiet_NaN();
    x = low + std::fmod(x - low, period); // in (low - period, low + period)
    if (x < low) x += period;
    if (x >= high) x -= period; // a tiny negative remainder rounds up to high
    return x;
}
