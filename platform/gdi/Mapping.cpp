#include "gdi/Mapping.h"

#include <cstdint>

namespace gdi {
namespace {

// a * b / d rounded to nearest, halves away from zero; d != 0.
std::int32_t scaleRound(std::int64_t a, std::int64_t b, std::int64_t d) {
    std::int64_t p = a * b;
    if ((p < 0) != (d < 0)) return std::int32_t((p - d / 2) / d);
    return std::int32_t((p + d / 2) / d);
}

std::int32_t ext(std::int32_t e) {
    return e == 0 ? 1 : e;
}

} // namespace

XY Mapping::toDevice(XY p) const {
    std::int64_t dx = std::int64_t(p.x) - windowOrigin.x;
    std::int64_t dy = std::int64_t(p.y) - windowOrigin.y;
    if (!anisotropic)
        return {std::int32_t(dx + viewportOrigin.x), std::int32_t(dy + viewportOrigin.y)};
    return {scaleRound(dx, viewportExtent.x, ext(windowExtent.x)) + viewportOrigin.x,
            scaleRound(dy, viewportExtent.y, ext(windowExtent.y)) + viewportOrigin.y};
}

XY Mapping::toLogical(XY d) const {
    std::int64_t dx = std::int64_t(d.x) - viewportOrigin.x;
    std::int64_t dy = std::int64_t(d.y) - viewportOrigin.y;
    if (!anisotropic) return {std::int32_t(dx + windowOrigin.x), std::int32_t(dy + windowOrigin.y)};
    return {scaleRound(dx, ext(windowExtent.x), ext(viewportExtent.x)) + windowOrigin.x,
            scaleRound(dy, ext(windowExtent.y), ext(viewportExtent.y)) + windowOrigin.y};
}

bool Mapping::flipsY() const {
    return anisotropic && ((viewportExtent.y < 0) != (ext(windowExtent.y) < 0));
}

bool Mapping::flipsX() const {
    return anisotropic && ((viewportExtent.x < 0) != (ext(windowExtent.x) < 0));
}

} // namespace gdi
