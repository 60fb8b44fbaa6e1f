// The chart palette of the navigation program, read from its ECPALETT.INI.
//
// The file's section "ECPALETTE" has numbered keys (decimal 0 to 255, the
// palette entries), each "r,g,b|r,g,b|r,g,b|r,g,b": the entry's colour in the
// day, dusk, night and dark-night schemes. The palette has 236 entries (256
// less the 20 a palette display reserves). Entries the file colours for the
// scheme take that colour; the others are black, except in four animation
// ranges, where they take the colour of chart colour 2, 4, 11 and 0 in turn.
//
// Example:
//   const PaletteFile file = readPaletteFile("data/ECPALETT.INI");
//   dc.selectPalette(makePalette(file, SchemeNight));
#pragma once

#include "gdi/Palette.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace chartview {

// Free entries of the palette: 256 less the 20 static colours.
inline constexpr int kFreePaletteEntries = 236;

struct PaletteColour {
    bool defined = false; // the file gives this scheme's colour
    std::uint8_t red = 0, green = 0, blue = 0;
};

// The file's table: one row per entry 0 to count - 1, a colour per scheme.
struct PaletteFile {
    std::vector<std::array<PaletteColour, 4>> entries;
};

// Reads the palette file (a path as the command line gives it). The count is
// the largest numbered key + 1, at most kFreePaletteEntries: keys beyond are
// left out. A value is cut at "|" into up to four parts, one per scheme; a
// part is a colour when it reads as three whole numbers 0 to 255 apart by
// commas (blanks allowed around them); an empty or malformed part leaves
// that scheme's colour undefined. Throws std::runtime_error when the file
// cannot be read or has no numbered keys.
PaletteFile readPaletteFile(const std::string& path);

// The palette entries of a scheme (0 to 3), all marked reserved (animated):
// the file's colours; where the file gives none, the animation ranges 22-53,
// 54-85, 86-117 and 118-235 take the scheme's colours of the entries that
// the colour map gives chart colours 2, 4, 11 and 0 (black when the file has
// no colour there); other entries stay black.
std::vector<gdi::PaletteEntry> paletteEntries(const PaletteFile& file, int scheme);

// A palette of those entries.
std::shared_ptr<gdi::Palette> makePalette(const PaletteFile& file, int scheme);

} // namespace chartview
