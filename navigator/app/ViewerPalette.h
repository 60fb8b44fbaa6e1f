// The program palette: the chart colours of ECPALETT.INI for the four
// illumination schemes (0 day, 1 dusk, 2 night, 3 dark night), and the
// palette that the chart window draws through.
//
// ECPALETT.INI, section [ECPALETTE]: a key per palette entry (a decimal number
// 0 to 255), its value up to four colours " r , g , b " apart by "|", one per
// scheme. Entries without a key, and schemes a value leaves out, are black.
//
// The palette has 236 entries (256 less the 20 a palette display keeps for
// itself), all changeable: entries 0 to count - 1 take the table's colours of
// the current scheme, and four ranges fill the rest with chart colours of the
// colour map (entries 22-53 with chart colour 2, 54-85 with 4, 86-117 with 11,
// 118-235 with 0) wherever the file gives no colour of its own.
//
//   LoadPalettes(".");
//   dc.selectPalette(ProgramPalette());
//   SelectPaletteScheme(2);   // night: the palette's listeners redraw
#pragma once

#include "gdi/Palette.h"

#include <memory>
#include <span>

// Palette entries a palette display keeps for itself, and the entries left.
inline constexpr int kReservedPaletteEntries = 20;
inline constexpr int kFreePaletteEntries = 256 - kReservedPaletteEntries;

// Reads directory + "ECPALETT.INI" (the name in any case; the directory as
// Windows or Linux text, "." for the current folder) into the table and makes
// the program palette in the current scheme. A file without a numbered key
// leaves no palette. A second call replaces what the first loaded.
void LoadPalettes(const char* directory);

// Fills the entries (at most kFreePaletteEntries of them) for the current
// scheme, every one marked changeable: black, then the table's colours, then
// the four ranges.
void FillPaletteEntries(std::span<gdi::PaletteEntry> entries);

// Switches the palette to scheme 0 to 3 and tells the palette's listeners, so
// what is shown is drawn again. -1 without a palette or for another scheme
// number; 0 otherwise (the scheme in use already: nothing changes).
int SelectPaletteScheme(int scheme);

// The program palette, or null when none was loaded.
std::shared_ptr<gdi::Palette> ProgramPalette();
// The scheme in use, 0 to 3.
int CurrentPaletteScheme();
// Entries the file numbers: the largest key + 1 (0 without a palette).
int PaletteTableCount();
// The colour the file gives entry `index` in `scheme` (0x00BBGGRR); black for
// an entry or scheme outside the table.
gdi::Colour PaletteTableColour(int index, int scheme);
