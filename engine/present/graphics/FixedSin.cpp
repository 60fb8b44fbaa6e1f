#include "graphics/FixedSin.h"

#include "runtime/intmath.h"

#include <cmath>
#include <cstdlib>

const std::array<std::uint16_t, 90> FixedSinTable = {
    0,     1144,  2287,  3430,  4572,  5712,  6850,  7987,  9121,  10252, 11380, 12505, 13626,
    14742, 15855, 16962, 18064, 19161, 20252, 21336, 22415, 23486, 24550, 25607, 26656, 27697,
    28729, 29753, 30767, 31772, 32768, 33754, 34729, 35693, 36647, 37590, 38521, 39441, 40348,
    41243, 42126, 42995, 43852, 44695, 45525, 46341, 47143, 47930, 48703, 49461, 50203, 50931,
    51643, 52339, 53020, 53684, 54332, 54963, 55578, 56175, 56756, 57319, 57865, 58393, 58903,
    59396, 59870, 60326, 60764, 61183, 61584, 61966, 62328, 62672, 62997, 63303, 63589, 63856,
    64104, 64332, 64540, 64729, 64898, 65048, 65177, 65287, 65376, 65446, 65496, 65526};

namespace {
constexpr std::int64_t kDegree = 65536;
}

std::int32_t FixedSin(std::int32_t angle) {
    bool negative = angle < 0;
    std::int64_t a = std::llabs(std::int64_t(angle)) % (360 * kDegree);
    if (a >= 180 * kDegree) {
        a -= 180 * kDegree;
        negative = !negative;
    }
    if (a > 90 * kDegree) a = 180 * kDegree - a;
    const std::int64_t k = a / kDegree, fraction = a % kDegree;
    std::int64_t value;
    if (k >= 90) {
        value = 65536;
    } else {
        const std::int64_t low = FixedSinTable[k];
        const std::int64_t high = k == 89 ? 65536 : FixedSinTable[k + 1];
        value = low + (((high - low) * fraction) >> 16);
    }
    return std::int32_t(negative ? -value : value);
}

std::int32_t FixedDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    if (std::fabs(degrees) > 20000.0) degrees = std::fmod(degrees, 360.0);
    return std::int32_t(round((long double)degrees * 65536.0L, 0));
}

std::array<std::int32_t, 4> GD_RotationMatrix(int scale, double angle) {
    const std::int32_t a = FixedDegrees(angle);
    std::int64_t c = FixedSin(std::int32_t(90 * kDegree - a));
    std::int64_t s = FixedSin(a);
    if (scale > 14) scale = 14;
    if (scale < -16) scale = -16;
    if (scale >= 1) {
        c *= std::int64_t(1) << scale;
        s *= std::int64_t(1) << scale;
    } else if (scale < 0) {
        c >>= -scale;
        s >>= -scale;
    }
    return {std::int32_t(c), std::int32_t(-s), std::int32_t(-s), std::int32_t(-c)};
}
