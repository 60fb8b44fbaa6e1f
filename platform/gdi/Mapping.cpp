#include "gdi/Mapping.h"

#include <cstdint>

namespace gdi {
namespace {

using Wide = __int128;

// The nearest 32-bit value: results beyond the range stick at its ends.
std::int32_t saturate(Wide v) {
    return std::int32_t(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

// a * b / d rounded to nearest, halves away from zero; d != 0.
Wide scaleRound(Wide a, Wide b, Wide d) {
    const Wide p = a * b;
    if ((p < 0) != (d < 0)) return (p - d / 2) / d;
    return (p + d / 2) / d;
}

std::int32_t ext(std::int32_t e) {
    return e == 0 ? 1 : e;
}

} // namespace

XY Mapping::toDevice(XY p) const {
    const Wide dx = Wide(p.x) - windowOrigin.x, dy = Wide(p.y) - windowOrigin.y;
    if (!anisotropic) return {saturate(dx + viewportOrigin.x), saturate(dy + viewportOrigin.y)};
    return {saturate(scaleRound(dx, viewportExtent.x, ext(windowExtent.x)) + viewportOrigin.x),
            saturate(scaleRound(dy, viewportExtent.y, ext(windowExtent.y)) + viewportOrigin.y)};
}

XY Mapping::toLogical(XY d) const {
    const Wide dx = Wide(d.x) - viewportOrigin.x, dy = Wide(d.y) - viewportOrigin.y;
    if (!anisotropic) return {saturate(dx + windowOrigin.x), saturate(dy + windowOrigin.y)};
    return {saturate(scaleRound(dx, ext(windowExtent.x), ext(viewportExtent.x)) + windowOrigin.x),
            saturate(scaleRound(dy, ext(windowExtent.y), ext(viewportExtent.y)) + windowOrigin.y)};
}

bool Mapping::flipsY() const {
    return anisotropic && ((viewportExtent.y < 0) != (ext(windowExtent.y) < 0));
}

bool Mapping::flipsX() const {
    return anisotropic && ((viewportExtent.x < 0) != (ext(windowExtent.x) < 0));
}

} // namespace gdi
