// Conditional symbology procedures and the tables the built-in ones share.
//
// A procedure draws one chart object. TMapContext::Draw (context/TMapContext.h)
// is the only caller, and when a procedure runs:
//   - its MapObject holds window coordinates (pixels of the device context,
//     y up) for what its geometry type needs: types 1 and 3 the point in
//     bounds.left, bounds.top; type 2 the bounds; types 4 and 5 the bounds
//     and every point of every part; type 6 the bounds and the points of the
//     first part; type 0 nothing;
//   - the graphics layer's current device context is the context's, so the
//     GD_, pr and PL functions draw onto it;
//   - DrawLock is held by the calling thread; the procedure may call
//     TMapContext::Draw for other objects (aggregates do, for their members),
//     which takes the lock again on the same thread;
//   - it may read the object's attributes, parent and children, and the
//     context's scale exponent, detail level, presentation mode and depth
//     zones.
// A procedure reports nothing and keeps no pointer into the MapObject, which
// is cleared right after the call. It puts the layer's line width, area
// pattern and exclusive-or switch back (1, 0, off) before it returns.
//
// The tables below are process-wide. They are written at library load
// (InitCondSymbProcs) and, for the procedure table, by
// TPresLib::setSymbProcedure; procedures read them under DrawLock.
#pragma once

#include "geo/Point.h"

#include <cstdint>

class TMapContext;
class GdbObject;
class MapObject;

// A conditional symbology procedure: the drawing pass's context, the object
// and its geometry in window coordinates.
typedef void (*CondSymbProc)(TMapContext* context, GdbObject* object, MapObject* geometry);

// Entries of the built-in procedure table: object codes 0 to 255.
inline constexpr unsigned kInt1CondSymbProcCount = 256;

// The built-in procedure table, indexed by object code; a null entry draws
// nothing. Every presentation library of the name "INT1Pres" points at this
// one table, so a procedure installed through one of them shows in all.
extern CondSymbProc Int1CondSymbProcs[kInt1CondSymbProcCount];

// One symbol element drawn by PLDrawSymbol.
struct SymbolElement {
    // 0 nothing, 1 one glyph, 2 composite, 3 vector glyph.
    std::int32_t kind;
    union {
        // Kinds 1 and 3: a font number of GD_SelFont.
        std::int32_t font;
        // Kind 2: the parts list, a part count followed by that many parts of
        // five values (font number, character, colour number, x offset, y
        // offset).
        const std::int32_t* parts;
    };
    // Character code of kinds 1 and 3.
    std::int32_t character;
    // Anchor points in pixels relative to the symbol's reference point (x
    // right, y up), where procedures attach further glyphs.
    Point anchors[4];
};

inline constexpr int kSymbolElementCount = 512;

// The symbol elements: all zero at load, entries 1 to 10 filled by
// InitCondSymbProcs. SymbolElementTop is the highest valid index: an index
// below 0 or above it draws nothing, and a procedure reading an anchor of an
// entry beyond it takes (0, 0).
extern SymbolElement SymbolElements[kSymbolElementCount];
extern std::int32_t SymbolElementTop;

// Offsets (pixels, y up) from the point of the structure whose members an
// aggregate draws: set by Int1ProcAggregate, read by its members' procedures.
// All (0, 0) at load.
extern Point StructureAnchors[4];
// Flares drawn on the current structure so far: restarted by
// Int1ProcAggregate, advanced by the light procedure. 0 at load.
extern std::int32_t LightStackCount;

// Fills the built-in tables, called by the library's entry point at the first
// attach: clears Int1CondSymbProcs, sets SymbolElementTop to 10 and symbol
// elements 1 to 10, and stores the procedure of every object code that has
// one (197 codes from 1 to 221). Entries 0 and 11 to 511 of SymbolElements
// are left as they are.
void InitCondSymbProcs();
