// Text and glyph output of the graphics layer, in the current font
// (GraphicsFonts.h) on the current device context (GraphicsLayer.h).
//
// Positions are the context's logical units; text and glyphs stay upright on
// screen whatever the mapping. Angles turn counterclockwise in logical units,
// which in the chart pass's y-up mapping is counterclockwise on screen. Text fonts are placed by
// the bottom-left corner of their cell, symbol fonts by the centre of their baseline (the alignment
// GD_SelFont set). Colours are chart colour numbers (0 to 31; others draw as 0): a glyph's pixels
// take the colour and the rest of the picture stays as it was. The colour has no
// effect on the stroke font, whose glyphs carry their own colours.
//
// Texts are byte strings: Windows-1252 for the text fonts; for the symbol fonts
// each byte is a character code (code 0 included where a length is given).
// Nothing is drawn without a current device context or with no current font.
// On a recording device context each text or glyph call writes one line,
//   Text row=<r> <colour> (x,y) align=<a> angle=<degrees> scale=<s> codes=<c>,<c>...
// with the reference point in device pixels, instead of its pixels.
#pragma once

#include "geo/Point.h"

#include <cstdint>

// Width and height of a text, in logical units.
struct SIZE {
    std::int32_t cx;
    std::int32_t cy;
};

extern "C" {

// One character at (x, y). With the stroke font current the character comes out
// in the font the device context holds (its default system font when none).
void GD_CharXY(int colour, int x, int y, int ch);

// A zero-terminated text at (x, y), as GD_CharXY.
void GD_WriteXY(int colour, int x, int y, const char* text);

// Like GD_CharXY, but with the stroke font current it draws stroke glyph ch
// (angle 0, scale 0, once).
void GD_SymbolXY(int colour, int x, int y, int ch);

// One character turned by angle degrees and scaled by 2 to the power scale, its
// glyph origin at (x, y). With the stroke font current it is stroke glyph ch,
// count times (0 counts as 1) one advance width apart along the angle; with an
// outline font it is drawn once. A glyph larger than the layer's 10000-byte
// glyph bitmap limit is not drawn.
void GD_VectCharXY(int colour, int x, int y, int ch, double angle, int scale, int count);

// A text along the first segment of a point list: nothing when n is 0, the text
// is null or empty, or it has 65 characters or more. It starts at pts[0]; when a
// second point differs from the first, the text turns to the segment's direction
// and its start moves a third of its height to the right of that direction
// (below the line), so the text runs along the line; otherwise it is upright.
void GD_VectWriteXY(int colour, unsigned n, Point* pts, char* text, int scale);

// The text of GD_VectWriteXY at (x, y) turned by angle degrees, each character
// following the previous one along the turned baseline; the first character's
// black box starts at (x, y). A character the font has no outline for is skipped
// without advancing; an empty one (a blank) advances only.
void GD_RotatedText(int colour, int x, int y, const char* text, double angle, int scale);

// A word-wrapped text in the box from x to x + charsPerLine * (text width) / (text
// length) across, from y to y - (height + 4) * (text width / charsPerLine + 2)
// (logical units; the box ends at y), lines broken at blanks, never clipped.
// Nothing with no current font or an empty text. charsPerLine of 0 or less keeps
// the whole text on one line (where the box width would divide by zero).
void GD_TextBox(int x, int y, const char* text, int charsPerLine, int colour);

// Width and height of a text in the current font (cell height; for the stroke
// font the sum of the advance widths and the height of the first glyph); 0 with
// no current font or an empty text. 16-bit.
unsigned short GD_TextWidth(const char* text);
unsigned short GD_TextHeight(const char* text);

// The inked extent of a text: rows 0, 1, 2 and 7 sum the black-box widths of the
// characters and take the tallest (0 when a character has no ink, a blank
// included, or a glyph bitmap would exceed 10000 bytes); the two symbol fonts
// measure their cells; the outline symbol font the black box of the first
// character; the stroke font sums advance widths and takes the tallest glyph;
// the other text rows their cells. Returns 1 when out holds an extent, 0 when
// it could not be measured (no current font, no text, no out, no ink).
int GD_TextExtent(const char* text, SIZE* out);

// Stroke glyph ch of the built-in font at (x, y), turned by angle degrees
// (counterclockwise in logical units) and scaled by 2 to the power scale, count
// times one advance width apart along the angle (0 counts as 1). Codes outside 0
// to 25 draw nothing.
void GD_VectorGlyph(int x, int y, int ch, double angle, int scale, int count);
}
