// The mapping from logical units to device pixels of a device context.
//
// Default mode: device = logical - window origin + viewport origin, y down,
// extents ignored. Anisotropic mode: each axis is scaled by viewport extent /
// window extent, so a negative ratio turns the axis round; the chart drawing
// pass uses one pixel per unit with the origin at the window centre and y up:
// `Mapping::yUp(cx, cy)`. Results are rounded to the nearest pixel (halves away
// from zero) and stick at the ends of the 32-bit range; a zero extent counts as 1.
#pragma once

#include "gdi/XY.h"

namespace gdi {

struct Mapping {
    bool anisotropic = false;
    XY windowOrigin{0, 0};
    XY windowExtent{1, 1};
    XY viewportOrigin{0, 0};
    XY viewportExtent{1, 1};

    // One logical unit per pixel, logical (0, 0) at device (cx, cy), y pointing up.
    static Mapping yUp(int cx, int cy) { return Mapping{true, {0, 0}, {1, 1}, {cx, cy}, {1, -1}}; }

    XY toDevice(XY p) const;
    XY toLogical(XY d) const;
    // Whether the y axis points up on screen (the device's y runs the other way).
    bool flipsY() const;
    bool flipsX() const;
    bool operator==(const Mapping&) const = default;
};

} // namespace gdi
