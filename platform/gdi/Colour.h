// Colour values of the device-context layer.
//
// A colour is a 32-bit value laid out as 0x00BBGGRR (red in the low byte), or,
// with the palette-index flag 0x01000000 set, an index (low 16 bits) into the
// palette selected into the device context that draws it. Other high bytes are
// ignored.
#pragma once

#include <cstdint>

namespace gdi {

using Colour = std::uint32_t;

inline constexpr Colour kPaletteIndexFlag = 0x01000000u;

// A colour from red, green and blue (0 to 255 each).
constexpr Colour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Colour(r) | (Colour(g) << 8) | (Colour(b) << 16);
}

// The colour that names palette entry `index` of the selected palette.
constexpr Colour paletteIndex(std::uint16_t index) {
    return kPaletteIndexFlag | index;
}

constexpr bool isPaletteIndex(Colour c) {
    return (c & 0xFF000000u) == kPaletteIndexFlag;
}
constexpr std::uint8_t redOf(Colour c) {
    return std::uint8_t(c);
}
constexpr std::uint8_t greenOf(Colour c) {
    return std::uint8_t(c >> 8);
}
constexpr std::uint8_t blueOf(Colour c) {
    return std::uint8_t(c >> 16);
}

inline constexpr Colour kBlack = rgb(0, 0, 0);
inline constexpr Colour kWhite = rgb(255, 255, 255);

} // namespace gdi
