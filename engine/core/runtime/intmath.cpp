#include "runtime/intmath.h"

#include <cmath>
#include <limits>

namespace {
using u128 = unsigned __int128;
using i128 = __int128;
constexpr std::int64_t kTwo32 = std::int64_t{1} << 32;
} // namespace

extern "C" {

std::uint32_t dwMulDiv(std::uint32_t a, std::uint32_t b, std::uint32_t d) {
    const u128 product = u128(a) * (b == 0 ? u128(kTwo32) : u128(b));
    const u128 divisor = d == 0 ? u128(kTwo32) : u128(d);
    return static_cast<std::uint32_t>(product / divisor);
}

std::int32_t lMulDiv(std::int32_t a, std::int32_t b, std::int32_t d) {
    const i128 product = i128(a) * (b == 0 ? i128(kTwo32) : i128(b));
    if (d == 0) return static_cast<std::int32_t>(product >> 32);
    return static_cast<std::int32_t>(product / i128(d));
}

std::uint32_t dwDiv(std::uint32_t low, std::uint32_t high, std::uint32_t d) {
    if (d == 0) return 0;
    const std::uint64_t value = (std::uint64_t(high) << 32) | low;
    return static_cast<std::uint32_t>(value / d);
}

std::uint16_t wMulDiv(std::uint16_t a, std::uint16_t b, std::uint16_t d) {
    const std::uint32_t product = std::uint32_t(a) * std::uint32_t(b);
    if (d == 0) return static_cast<std::uint16_t>(product >> 16);
    return static_cast<std::uint16_t>(product / d);
}

std::int16_t iMulDiv(std::int16_t a, std::int16_t b, std::int16_t d) {
    const std::int32_t product = std::int32_t(a) * std::int32_t(b);
    if (d == 0) return static_cast<std::int16_t>(product >> 16);
    return static_cast<std::int16_t>(product / d);
}

std::int16_t iMed(std::int16_t a, std::int16_t b) {
    return static_cast<std::int16_t>((std::int32_t(a) + std::int32_t(b)) >> 1);
}

std::uint16_t wMed(std::uint16_t a, std::uint16_t b) {
    return static_cast<std::uint16_t>((std::uint32_t(a) + std::uint32_t(b)) >> 1);
}

std::uint32_t dwMed(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::uint32_t>((std::uint64_t(a) + std::uint64_t(b)) >> 1);
}

} // extern "C"

std::int64_t round(long double x, std::uint16_t mode) {
    constexpr std::int64_t kInvalid = std::numeric_limits<std::int64_t>::min();
    if (!std::isfinite(x)) return kInvalid;
    // floorl and the fractional part are exact, so the result does not depend
    // on the rounding mode the caller may have set.
    const long double down = std::floor(x);
    long double r = down;
    switch (mode & 0xC00) {
    case 0x000: {
        const long double frac = x - down;
        if (frac > 0.5L) {
            r = down + 1;
        } else if (frac == 0.5L) {
            r = std::fmod(down, 2.0L) == 0 ? down : down + 1;
        }
        break;
    }
    case 0x400: break;
    case 0x800: r = std::ceil(x); break;
    default: r = std::trunc(x); break;
    }
    // The 64-bit range is [-2^63, 2^63), both ends exact in long double.
    constexpr long double kLimit = 9223372036854775808.0L;
    if (r < -kLimit || r >= kLimit) return kInvalid;
    return static_cast<std::int64_t>(r);
}
