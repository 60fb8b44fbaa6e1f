// Coded buoy and beacon symbols: a five-character key names a stack of up to
// four glyphs of the buoy font (33, "INT1 Bouys"), drawn on top of each other
// at the object's point, each in its own chart colour.
//
// Keys: "A" (buoy) or "B" (beacon), the shape as two digits, then two
// characters of colour layout: "00" a plain symbol, "01" a one-colour body
// under its outline, "12" two colour halves (first glyph the lower half),
// "22" two vertical stripes, "13" three bands (top to bottom); a few special
// rows ("B010N", "A1101", ...). The buoy and beacon procedures build a key
// from the object's shape and colouring, look the row up, colour a local
// copy from a colour pattern (procedures/SymbologyHelpers.h) and draw it.
//
// Example: a can buoy in black, yellow and black.
//   CodedSymbol symbol;
//   if (FindCodedSymbol("A0213", &symbol)) {
//       CopyPatternColours(&symbol, 8); // "BYB"
//       DrawCodedSymbol(geometry, symbol, nullptr, "BYB");
//   }
#pragma once

#include <cstdint>

class MapObject;

// The drawing record of one row.
struct CodedSymbol {
    // Glyphs in the stack, 1 to 4.
    std::int32_t count;
    // Characters of font 33, drawn first to last (the outline last).
    std::int32_t glyph[4];
    // Chart colour number of each glyph; 0 in every row of the table.
    std::int32_t colour[4];
    // Offset of the text to the right of the symbol: x + textX + 2, y - textY
    // (pixels, y up); 6 and 2 in every row.
    std::int32_t textX;
    std::int32_t textY;
};

// One row of the table: the key (five characters and a zero) and its symbol.
struct CodedSymbolRow {
    char key[6];
    CodedSymbol symbol;
};

inline constexpr int kCodedSymbolCount = 69;
// The 69 rows, searched in order. Never written: procedures colour copies.
extern const CodedSymbolRow CodedSymbols[kCodedSymbolCount];

// 1 and the row copied to *out when a row's key equals the first five
// characters of key; else 0 and *out unchanged (also for a null key or out,
// or a key shorter than five characters).
int FindCodedSymbol(const char* key, CodedSymbol* out);

// Sets colour[i] to colour i of ColourPatterns[row] for i below that row's
// count; the other colours keep their values. A row outside 1 to 17 (count 0)
// changes nothing.
void CopyPatternColours(CodedSymbol* symbol, unsigned row);

// Draws the stack at the object's point (its first coordinate pair; nothing
// for a null object or one without geometry, type 0): font 33, glyph[i] in
// colour[i] for i = 0 .. count - 1 (at most 4). Then, when a text is given and
// not empty, in font -2 and colour 0: the text to the right at
// (x + textX + 2, y - textY), beside the symbol's foot; the text "above",
// centred on the point, at (x - w/2, y - 2 - h) with w and h its width and
// height (w/2 towards zero), so with y up its top edge stands 2 pixels below
// the point. Text fonts are placed by the bottom-left corner of their cell.
void DrawCodedSymbol(MapObject* object, CodedSymbol symbol, const char* textAbove,
                     const char* textRight);

// Colours a lateral mark by its category (1 port, 2 starboard, 3 preferred
// channel to starboard, 4 preferred channel to port) and buoyage region
// (1 system A, 2 system B; 0 unknown counts as A), with the colour pattern
// rows:
//   category | region 0 or 1 | region 2  | other regions
//   1        | 3 "R"         | 1 "G"     | 2 "B"
//   2        | 1 "G"         | 3 "R"     | 2 "B"
//   3        | 13 "RGR"      | 12 "GRG"  | 2 "B"
//   4        | 12 "GRG"      | 13 "RGR"  | 2 "B"
// Other categories leave the colours as they are.
void LateralBuoyColours(CodedSymbol* symbol, unsigned category, unsigned region);

// The key of a shape and a two-character layout: prefix ('A' or 'B'), the
// shape as two digits, the layout; into out (six bytes). false, and out
// empty, for a shape above 99, which has no row (three digits would shift
// the layout into the shape's place and could name another row).
bool CodedSymbolKey(char prefix, unsigned shape, const char* layout, char out[6]);

// Helpers of the buoy and beacon procedures.

// The layout of the standard colour rule for a colour pattern count: "01"
// for 1, "12" for 2, "13" for 3; null for any other count.
const char* StandardColourLayout(unsigned count);

// The layout by a colour pattern count and the colour pattern (attribute 61:
// 1 horizontal bands, 2 vertical stripes; 0 and values above 2 count as 1):
// "01" for 1, the pattern then "2" for 2 ("12" or "22"), "13" for 3; written
// into out (three bytes), which is answered; null for any other count.
const char* PatternColourLayout(unsigned count, unsigned pattern, char out[3]);

// Looks up the key of prefix, shape and layout; when it has a row, colours it
// from colour pattern row colours (0: the table's colours) and draws it with
// the texts: true. false, and nothing drawn, for a null layout or a key
// without a row.
bool DrawCodedLayout(MapObject* object, char prefix, unsigned shape, const char* layout,
                     unsigned colours, const char* textAbove = nullptr,
                     const char* textRight = nullptr);

// Draws the row of a fixed key with the table's colours and the texts;
// nothing when the key has no row.
void DrawCodedRow(MapObject* object, const char* key, const char* textAbove = nullptr,
                  const char* textRight = nullptr);
