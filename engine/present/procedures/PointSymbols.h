// What the point symbol procedures share: one glyph of a symbol font at the
// symbol's point, a short word beside it, glyph tables keyed by an attribute
// value, and styled area boundaries built from the shared line element
// templates.
//
// Positions are window pixels of the chart pass (y up). Symbol fonts (33, 34,
// 35) place a glyph by the centre of its baseline, text fonts (-2, -1, 0) a
// text by the bottom-left corner of its cell, so a word "half a symbol right"
// at (x + 12, y - 12) starts beside the glyph's lower right.
//
// Example: a berth's glyph at its point with "DW" to the left of it.
//   Point at;
//   if (!SymbolPosition(geometry, at)) return;
//   DrawSymbolGlyph({35, 3, 14}, at);
//   DrawLabel(at, "DW", 14, LabelSide::Left);
#pragma once

#include "geo/Point.h"
#include "rendering/LineStyles.h"

#include <cstddef>

class TMapContext;
class MapObject;

namespace pointsymbols {

// Dash patterns of plain boundaries.
inline constexpr unsigned short kSolid = 0;
inline constexpr unsigned short kDash3333 = 0x3333;
inline constexpr unsigned short kDash1F1F = 0x1F1F;
inline constexpr unsigned short kDash9999 = 0x9999;

// The reduced detail level of TMapContext::details.
inline constexpr int kReducedDetails = 0x8000;
bool Reduced(const TMapContext* context);

// The geometry type, egtEmpty for a null geometry.
int TypeOf(const MapObject* geometry);
bool IsArea(const MapObject* geometry);
bool IsLine(const MapObject* geometry);

// One glyph: the font number of GD_SelFont, its character code and chart
// colour number.
struct Glyph {
    int font;
    int code;
    int colour;
};

// Selects the glyph's font and draws it at `at`.
void DrawSymbolGlyph(const Glyph& glyph, Point at);

// Writes text in font and colour with its cell's bottom-left corner at
// (at.x + dx, at.y + dy); nothing for a null text.
void DrawWordAt(Point at, int dx, int dy, const char* text, int colour, int font = -2);

// A plain area boundary: the visible runs of an area in width 1.
void Boundary(TMapContext* context, MapObject* geometry, int colour, unsigned short dash);

// One row of a value table: an attribute value, the glyph it selects and the
// word written beside it (null: none).
struct ValueRow {
    unsigned value;
    int code;
    const char* word;
};

// The first row of a table whose value is `value`, or null.
template <std::size_t N> const ValueRow* FindValue(const ValueRow (&table)[N], unsigned value) {
    for (const ValueRow& row : table)
        if (row.value == value) return &row;
    return nullptr;
}

// A styled line assembled on the stack from the shared line element
// templates. Each element added writes the count (and colour, where given)
// its composition names into the shared record; the records keep what is
// written. A style holds at most 16 elements: later ones are not added.
class StyledBoundary {
  public:
    StyledBoundary();
    // Adds template `index` with its count, or its count and colour.
    StyledBoundary& add(int index, int count);
    StyledBoundary& add(int index, int count, int colour);
    // Template `index` as the end marker, in colour (its count stays).
    StyledBoundary& end(int index, int colour);
    int count() const { return style_.count; }
    // prComplexLine along the geometry.
    void draw(TMapContext* context, MapObject* geometry);

  private:
    TStyledLine style_;
};

} // namespace pointsymbols
