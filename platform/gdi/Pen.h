// A pen: how outlines are stroked.
#pragma once

#include "gdi/Colour.h"

namespace gdi {

// Style numbers are the system's own (a pen record read from data keeps them).
enum class PenStyle : int {
    Solid = 0,
    Dot = 2,  // three pixels on, three off; solid when wider than one pixel
    Null = 5, // draws nothing
};

// Width in device pixels, whatever the mapping: 0 and 1 both give a one-pixel
// (cosmetic) line; wider pens have round ends and joins.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;
    Colour colour = kBlack;

    static Pen null() { return Pen{PenStyle::Null, 0, kBlack}; }
    bool operator==(const Pen&) const = default;
};

} // namespace gdi
