// An integer point of the device-context layer (logical or device units).
#pragma once

#include <cstdint>

namespace gdi {

struct XY {
    std::int32_t x = 0, y = 0;
    bool operator==(const XY&) const = default;
};

} // namespace gdi
