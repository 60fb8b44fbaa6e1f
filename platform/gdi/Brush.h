// A brush: how shapes are filled.
#pragma once

#include "gdi/Colour.h"

#include <array>
#include <cstdint>

namespace gdi {

// Style numbers are the system's own.
enum class BrushStyle : int {
    Solid = 0,
    Null = 1,    // fills nothing
    Hatched = 2, // hatch lines in the brush colour; between them the background colour
                 // when the background mode is opaque, else the picture shows through
    Pattern = 3, // 8 x 8 monochrome pattern: 0 bits in the text colour, 1 bits in the
                 // background colour of the device context that fills
};

enum class Hatch : int {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2,  // top left to bottom right
    BackwardDiagonal = 3, // bottom left to top right
    Cross = 4,
    DiagonalCross = 5,
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Colour colour = kWhite;
    Hatch hatch = Hatch::Horizontal;
    // Pattern rows, top row first, most significant bit leftmost.
    std::array<std::uint8_t, 8> pattern{};

    static Brush solid(Colour c) { return Brush{BrushStyle::Solid, c, Hatch::Horizontal, {}}; }
    static Brush null() { return Brush{BrushStyle::Null, kBlack, Hatch::Horizontal, {}}; }
    static Brush hatched(Hatch h, Colour c) { return Brush{BrushStyle::Hatched, c, h, {}}; }
    static Brush patterned(const std::array<std::uint8_t, 8>& rows) {
        return Brush{BrushStyle::Pattern, kBlack, Hatch::Horizontal, rows};
    }
    bool operator==(const Brush&) const = default;
};

// The 8 x 8 rows of a hatch, 1 bits on the hatch lines.
std::array<std::uint8_t, 8> hatchRows(Hatch h);

} // namespace gdi
