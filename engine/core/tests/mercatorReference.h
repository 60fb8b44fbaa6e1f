// PROJ's values for the Mercator tests (reference/mercator_reference.py).
#pragma once

#include <cstdint>
#include <vector>

namespace mercator_reference {

struct TableReference {
    int index;
    double stretch; // PROJ's isometric latitude in binary units of the equator
};
struct ForwardReference {
    std::int32_t lon, lat;
    double easting, northing;
};
struct InverseReference {
    std::int32_t x, y;
    double lon, lat; // degrees
};
struct ViewReference {
    const char* name;
    std::int32_t lon, lat;
    std::uint32_t scale;
    int divX, divY, halfW, halfH;
    bool exact;
    double northing0;
    std::vector<ForwardReference> forward;
    std::vector<InverseReference> inverse;
};
#include "reference/mercator_reference.inc"

} // namespace mercator_reference
