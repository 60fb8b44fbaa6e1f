// Where the symbology procedures put a symbol and the word beside it.
//
// A symbol of an area stands at the area's centre of gravity; an area
// without one gets no symbol (what the procedure drew before stays). Every
// other geometry puts it at the MapObject's first coordinate pair
// (bounds.left, bounds.top): the point of a point object, the first corner
// of the bounding rectangle of a line. An object without geometry (type 0)
// has no position, so nothing of it lands on the window's centre.
//
// A word beside a point symbol goes in font -2, offset from the symbol's
// point by half the 24 x 24 pixel symbol cell (right: up and to the right;
// left: up and to the left, ending half a cell from the point) or by a
// quarter of it. Offsets are window pixels, y up.
//
// Example:
//   Point at;
//   if (!SymbolPosition(geometry, at)) return;
//   GD_SelFont(35);
//   GD_CharXY(0, at.x, at.y, 15);
//   DrawLabel(at, "Hospital", 0, LabelSide::Right);
#pragma once

#include "geo/Point.h"

class MapObject;

// The symbol cell, pixels.
inline constexpr int kSymbolWidth = 24;
inline constexpr int kSymbolHeight = 24;

// The symbol position by the rule above: false when there is none (out
// untouched).
bool SymbolPosition(const MapObject* geometry, Point& out);
// The first coordinate pair, for procedures that place at the first point
// whatever the geometry: false only for a missing or type-0 object.
bool FirstPoint(const MapObject* geometry, Point& out);

enum class LabelSide {
    Right,   // (x + 12, y - 12)
    Left,    // (x - text width - 12, y - 12)
    Quarter, // (x + 6, y - 6)
};

// Where a label of the given text width starts (its cell's bottom-left
// corner, as text fonts are placed).
Point LabelOrigin(Point at, LabelSide side, int textWidth);

// Writes text in font -2 and colour beside the symbol at `at`; nothing for
// a null text.
void DrawLabel(Point at, const char* text, int colour, LabelSide side);
