// The renderers through which the symbology procedures (and the navigation
// program) draw projected chart objects: plain and styled lines, area fills
// and boundaries, area patterns of glyphs and texts, and the symbols of the
// symbol element table.
//
// They draw in window coordinates (pixels, y up in the chart pass) on the
// graphics layer's current device context, in chart colour numbers, and use
// its fonts (graphics/GraphicsFonts.h, GraphicsText.h) and primitives
// (graphics/GraphicsPrimitives.h). They keep no state between calls: the line
// width and the area pattern they set are put back (1, 0) before they return.
// The current font is left as the last element selected it.
//
// Areas (geometry type 5) carry their boundary as signed runs in the
// MapObject's extras: positive runs are stroked, negative ones lie along the
// view's edge (or close the ring) and are not. Within each part the first
// non-empty run counts its starting point and every later run starts on the
// last point of the run before; each part starts afresh at its own first
// point. A run never reaches past its part, and an area without runs has no
// visible boundary.
//
// Example: a dashed line with a glyph every 100 pixels.
//   TLineMarker dash{kMarkerStroke, kMarkerToVertex, 14, 0x0F, 0x0F, 100, 1, nullptr};
//   TLineMarker mark{kMarkerGlyph, 6, 14, 13, 34, 1, 1, nullptr};
//   TStyledLine style{0, 2, {&dash, &mark}, nullptr};
//   prComplexLine(context, &style, geometry);
#pragma once

#include "geo/Point.h"
#include "rendering/LineGeometry.h"
#include "rendering/LineStyles.h"

class TMapContext;
class MapObject;

extern "C" {

// A plain line in colour and width (pixels; the layer's width until the
// call returns), dashed by style (GD_DashPolyline, one pixel wide) when it
// is not 0: each visible boundary run of an area, each part of a line,
// nothing for other types.
void prSimpleLine(TMapContext* context, MapObject* geometry, int colour, int width,
                  unsigned short style);

// PLComplexLine along each visible boundary run of an area and each part of
// a line; nothing for other types.
void prComplexLine(TMapContext* context, TStyledLine* style, MapObject* geometry);

// Fills each part of a line or area (types 4 to 6) with GD_Polygon in
// colour, through area pattern `pattern` when it is not 0 (and the pattern
// is cleared afterwards).
void prArea(TMapContext* context, MapObject* geometry, int colour, unsigned short pattern);

// Each part's points as stored, the whole ring of an area included, as a
// plain line (dashed by style when not 0) in colour and width.
void prBoundLine(TMapContext* context, MapObject* geometry, int colour, int width,
                 unsigned short style);

// A styled line along n points: the style's elements laid one after another,
// each covering its repeat count times its length, from the first point to
// the last. A glyph or text that does not fit before a vertex makes way for
// the end marker's piece when the style has one. Nothing for n < 2, no
// points, or an element count outside 1 to 16. A one-element style whose
// element has kMarkerInterrupted and that has an end marker is an
// interrupted line (PLSimpleRoundLine).
void PLComplexLine(TStyledLine* style, Point* pts, int n);

// An interrupted line along n points in the colour, width (low byte of
// size) and dash pattern of `line`: every `line->count` pixels (measured as
// the larger of |dx| and |dy| per segment, at vertices only, from vertex 1
// on) the line leaves a gap of element's length, straight across from the
// vertex, and sets the element into it.
void PLSimpleRoundLine(TLineMarker* element, TLineMarker* line, Point* pts, int n);

// An area pattern: the style's elements side by side make a cell (the sum
// of their inked widths by the tallest height), tiled in rows over the
// area's bounding rectangle from its bottom; each element is drawn where its
// anchor (the middle of its own extent) lies inside the part. Areas smaller
// than two cells both ways, and every area when the context's details are
// 0x8000, get the cell once at their centre of gravity. Nothing when the
// count is outside 1 to 16, an element is not a glyph or text, or one cannot
// be measured (no font, no text, no Qt GUI application).
void PLComplexArea(TMapContext* context, TStyledArea* style, MapObject* geometry);

// Symbol element `index` of SymbolElements at `at`: nothing for an index
// below 0 or above SymbolElementTop. A glyph in colour; a composite's parts
// in their own fonts, colours and offsets; a vector glyph in colour turned by
// angle degrees and scaled by 2 to the power scale.
void PLDrawSymbol(int index, int colour, Point at, int angle, int scale);
}

// ---- The pieces of the styled line, for the renderers and their tests.

// The measures of an element in pixels, in its font (selected first):
// length along the line, step unit (how near a vertex must lie to the line
// to be crossed) and repeat count.
struct MarkerMeasure {
    double length = 0;
    double stepUnit = 0;
    int repeat = 0;
};
MarkerMeasure PL_MeasureMarker(const TLineMarker& element);

// One advance along the line: the piece's end q, the vertex index to aim at
// next, and k, the whole lengths that fit.
struct LineAdvance {
    DoublePoint q{0, 0};
    int next = 0;
    int k = 0;
};

// Advances from p towards vertex i for `remaining` lengths of `length`
// pixels (a remaining count below 1 covers nothing), following the element's
// flags: kMarkerToVertex stops at vertex i; otherwise kMarkerChord takes the
// first vertex at straight distance remaining x length or more as the
// target, and without it vertices lying closer than stepUnit to the line
// from p to vertex i are crossed. false when i is past the last point.
bool PL_AdvanceAlongLine(const Point* pts, int n, DoublePoint p, int i, int remaining,
                         double length, double stepUnit, unsigned flags, LineAdvance& out);

// Draws one piece of an element from p to q with k copies: a stroke as a
// two-point line, a glyph turned to the piece at p, a text along the piece
// (from the end with the lower x); gaps and upright glyphs draw nothing.
void PL_DrawElementPiece(const TLineMarker& element, DoublePoint p, DoublePoint q, int k);

// Draws an area element at (x, y) in its font and colour: a glyph (stroke
// glyphs upright), a text, or an upright glyph.
void PL_DrawAreaElement(const TLineMarker& element, int x, int y);
