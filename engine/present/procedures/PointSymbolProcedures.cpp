// Point symbols of the codes 1 to 96: one glyph of a symbol font (and a short
// word where the object's kind asks for one) at a point object, at the centre
// of gravity of an area after its boundary or fill, and at the first corner of
// a line's bounding rectangle after what its line gets.
//
// Placement (procedures/SymbolPlacement.h): an area's symbol stands at its
// centre of gravity and an area without one gets only what was drawn before
// it; every other geometry places at its first coordinate pair; an object
// without geometry (type 0) draws no symbol. The procedures that place "at the
// first point" use the first coordinate pair for areas as well.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/PointSymbols.h"
#include "procedures/SymbolPlacement.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

#include <algorithm>
#include <cstring>

using namespace pointsymbols;

namespace {

// The symbol at the placement point; nothing where there is none.
void SymbolAtPosition(MapObject* geometry, const Glyph& glyph) {
    Point at;
    if (SymbolPosition(geometry, at)) DrawSymbolGlyph(glyph, at);
}

// The symbol at the first coordinate pair, whatever the geometry.
void SymbolAtFirstPoint(MapObject* geometry, const Glyph& glyph) {
    Point at;
    if (FirstPoint(geometry, at)) DrawSymbolGlyph(glyph, at);
}

// The glyph of a value table, or `fallback` for a value not in it.
int GlyphOf(const ValueRow* row, int fallback) {
    return row ? row->code : fallback;
}

} // namespace

void Int1Proc1(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    SymbolAtPosition(geometry, {35, 0, 0});
}

void Int1Proc2(TMapContext*, GdbObject*, MapObject* geometry) {
    SymbolAtFirstPoint(geometry, {35, 1, 14});
}

void Int1Proc3(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 14, kDash3333);
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    DrawSymbolGlyph({35, 2, 14}, at);
    // A berth drawn as a point gets its swinging circle.
    if (!IsArea(geometry) && !IsLine(geometry)) GD_Ellipse(14, true, at.x, at.y, 14, 14);
}

void Int1Proc4(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Category of anchorage (first of list 3): the glyph and the word left of
    // it.
    static constexpr ValueRow kCategories[] = {
        {2, 3, "DW"},    {3, 3, "Tanker"}, {4, 4, nullptr},
        {5, 5, nullptr}, {6, 5, nullptr},  {9, 3, "24h"},
    };
    if (IsArea(geometry)) {
        if (Reduced(context)) {
            Boundary(context, geometry, 0, kDash1F1F);
        } else {
            // Dashes over 150 pixels, then an anchor.
            StyledBoundary().add(2, 150, 14).add(34, 1, 14).end(0, 14).draw(context, geometry);
        }
    }
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    unsigned category = 0;
    AttrFirstOfList(object, 3, category);
    const ValueRow* row = FindValue(kCategories, category);
    DrawSymbolGlyph({35, GlyphOf(row, 3), 14}, at);
    if (row && row->word) DrawLabel(at, row->word, 14, LabelSide::Left);
}

void Int1Proc10(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (IsArea(geometry)) prArea(context, geometry, 13, 12);
    if (IsLine(geometry)) prSimpleLine(context, geometry, 0, 1, kSolid);
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    // The berth's number or letters (one or two characters) in a circle that
    // holds them.
    char* text = nullptr;
    if (!AttrText(object, 80, text)) return;
    const std::size_t length = std::strlen(text);
    if (length < 1 || length > 2) return;
    GD_SelFont(-1);
    const int w = GD_TextWidth(text), h = GD_TextHeight(text);
    const int r = std::max(w, h);
    GD_Ellipse(14, false, at.x, at.y, r, r);
    GD_WriteXY(14, at.x - w / 2, at.y - h / 2, text);
}

void Int1Proc11(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) {
        prArea(context, geometry, 16, 0);
        Boundary(context, geometry, 0, kSolid);
    }
    if (IsLine(geometry)) prSimpleLine(context, geometry, 0, 1, kSolid);
    SymbolAtPosition(geometry, {35, 7, 2});
}

void Int1Proc12(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Category of built-up area (value 41).
    static constexpr ValueRow kCategories[] = {
        {4, 9, nullptr},  {5, 9, nullptr},  {6, 9, nullptr},
        {7, 10, nullptr}, {8, 11, nullptr}, {9, 12, nullptr},
    };
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    unsigned category = 0;
    AttrByte(object, 41, category);
    SymbolAtPosition(geometry, {35, GlyphOf(FindValue(kCategories, category), 8), 0});
}

void Int1Proc13(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Function of the building (first of list 49).
    static constexpr ValueRow kFunctions[] = {
        {2, 13, nullptr}, {3, 14, nullptr}, {4, 15, nullptr}, {5, 15, "Hospital"}, {6, 16, nullptr},
    };
    if (IsArea(geometry)) {
        prArea(context, geometry, 16, 0);
        Boundary(context, geometry, 0, kSolid);
    }
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    unsigned function = 0;
    AttrFirstOfList(object, 49, function);
    const ValueRow* row = FindValue(kFunctions, function);
    DrawSymbolGlyph({35, GlyphOf(row, 17), 0}, at);
    if (row && row->word) DrawLabel(at, row->word, 0, LabelSide::Right);
}

void Int1Proc14(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) {
        if (Reduced(context))
            Boundary(context, geometry, 0, kSolid);
        else
            prArea(context, geometry, 0, 8);
        return;
    }
    SymbolAtPosition(geometry, {35, 18, 0});
}

void Int1Proc24(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    SymbolAtPosition(geometry, {35, 19, 0});
}

void Int1Proc27(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kDash1F1F);
    SymbolAtPosition(geometry, {35, 20, 0});
}

namespace {

// Ten stroke glyphs 1 (arrows) around an area, closed by a solid line in
// colour 14: the boundary of caution areas and dumping grounds.
void ArrowBoundary(TMapContext* context, MapObject* geometry) {
    StyledBoundary().add(9, 10).end(0, 14).draw(context, geometry);
}

} // namespace

void Int1Proc29(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) ArrowBoundary(context, geometry);
    SymbolAtPosition(geometry, {35, 21, 14});
}

void Int1Proc32(TMapContext*, GdbObject*, MapObject* geometry) {
    SymbolAtPosition(geometry, {35, 20, 14});
}

void Int1Proc33(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    SymbolAtPosition(geometry, {33, 104, 0});
}

void Int1Proc34(TMapContext*, GdbObject*, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    DrawSymbolGlyph({35, 17, 0}, at);
    DrawLabel(at, "CG", 0, LabelSide::Right);
}

void Int1Proc38(TMapContext*, GdbObject* object, MapObject* geometry) {
    // Category of control point (value 9).
    static constexpr ValueRow kCategories[] = {
        {1, 23, nullptr}, {2, 24, nullptr}, {3, 25, nullptr}, {4, 26, nullptr}};
    unsigned category = 0;
    AttrByte(object, 9, category);
    SymbolAtFirstPoint(geometry, {35, GlyphOf(FindValue(kCategories, category), 12), 0});
}

void Int1Proc39(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Category of crane (value 10).
    static constexpr ValueRow kCategories[] = {
        {1, 27, nullptr}, {2, 28, nullptr}, {3, 25, nullptr}};
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    unsigned category = 0;
    AttrByte(object, 10, category);
    SymbolAtPosition(geometry, {35, GlyphOf(FindValue(kCategories, category), 27), 0});
}

void Int1Proc47(TMapContext*, GdbObject*, MapObject* geometry) {
    SymbolAtFirstPoint(geometry, {33, 105, 0});
}

void Int1Proc48(TMapContext*, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    DrawSymbolGlyph({35, 12, 2}, at);
    char* note = nullptr;
    if (!AttrText(object, 78, note)) return;
    // A long note goes into a box 20 characters wide.
    GD_SelFont(-2);
    if (std::strlen(note) >= 31)
        GD_TextBox(at.x + 5, at.y - 3, note, 20, 2);
    else
        GD_WriteXY(2, at.x + 5, at.y - 3, note);
}

void Int1Proc52(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) ArrowBoundary(context, geometry);
    SymbolAtPosition(geometry, {35, 20, 14});
}

void Int1Proc53(TMapContext*, GdbObject*, MapObject* geometry) {
    // The word only, centred across the area's centre or at a line's first
    // corner; a point draws nothing.
    if (!IsArea(geometry) && !IsLine(geometry)) return;
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    static const char kWord[] = "Sand dunes";
    GD_SelFont(-2);
    GD_WriteXY(0, at.x - GD_TextWidth(kWord) / 2, at.y, kWord);
}

void Int1Proc60(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) {
        prArea(context, geometry, 9, 0);
        Boundary(context, geometry, 0, kDash9999);
    }
    SymbolAtPosition(geometry, {35, 29, 0});
}

void Int1Proc62(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kDash9999);
    if (IsLine(geometry)) {
        // Ten stroke glyphs 19 (the dam's ticks), closed by a solid line.
        StyledBoundary().add(27, 10).end(0, 0).draw(context, geometry);
        return;
    }
    unsigned construction = 0;
    AttrByte(object, 16, construction);
    SymbolAtPosition(geometry, {35, construction == 1 ? 31 : 30, 0});
}

void Int1Proc64(TMapContext*, GdbObject*, MapObject* geometry) {
    SymbolAtFirstPoint(geometry, {33, 106, 0});
}

void Int1Proc65(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kDash9999);
    SymbolAtPosition(geometry, {33, 107, 0});
}

void Int1Proc67(TMapContext*, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    // On a structure the mark stands at its fourth anchor.
    if (object && object->HasParent()) {
        at.x += StructureAnchors[3].x;
        at.y += StructureAnchors[3].y;
    }
    DrawSymbolGlyph({35, 32, 14}, at);
}

void Int1Proc68(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    if (IsLine(geometry)) {
        prSimpleLine(context, geometry, 0, 1, kSolid);
        return;
    }
    unsigned construction = 0;
    AttrByte(object, 16, construction);
    SymbolAtPosition(geometry, {35, construction == 3 ? 35 : 34, 0});
}

void Int1Proc73(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Status of the harbour facility (first of list 109).
    static constexpr ValueRow kStatus[] = {{2, 37, nullptr}, {4, 36, nullptr}};
    if (IsArea(geometry)) Boundary(context, geometry, 0, kSolid);
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    unsigned status = 0;
    AttrFirstOfList(object, 109, status);
    if (status == 1) {
        DrawWordAt(at, 0, 0, "RoRo", 14, -1);
        return;
    }
    DrawSymbolGlyph({35, GlyphOf(FindValue(kStatus, status), 38), 14}, at);
}

void Int1Proc75(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) {
        prArea(context, geometry, 12, 0);
        Boundary(context, geometry, 0, kSolid);
        return;
    }
    SymbolAtPosition(geometry, {35, 7, 14});
}

void Int1Proc77(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kDash1F1F);
    SymbolAtPosition(geometry, {35, 20, 14});
}

void Int1Proc81(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) prArea(context, geometry, 12, 0);
    if (TypeOf(geometry) == egtPoint) SymbolAtPosition(geometry, {35, 75, 0});
}

void Int1Proc91(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kDash1F1F);
    SymbolAtPosition(geometry, {35, 20, 14});
}

void Int1Proc92(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (IsArea(geometry)) Boundary(context, geometry, 0, kDash1F1F);
    SymbolAtPosition(geometry, {35, 39, 0});
}

void Int1Proc93(TMapContext*, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    unsigned category = 0;
    AttrByte(object, 27, category);
    if (category == 1) {
        DrawSymbolGlyph({33, 108, 0}, at);
        return;
    }
    DrawSymbolGlyph({35, 12, 0}, at);
    if (category == 3) DrawLabel(at, "Radar Mast", 0, LabelSide::Right);
}

void Int1Proc94(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Category of offshore installation area (list 28): the glyph, and for
    // areas the glyph template each value adds to the boundary (-1: none).
    struct Row {
        unsigned value;
        int code;
        int boundaryTemplate;
    };
    static constexpr Row kCategories[] = {
        {1, 20, -1}, {2, 20, -1}, {3, 42, -1}, {4, 40, 42}, {5, 41, 43},
    };
    AttrList list;
    AttrListOf(object, 28, list);
    int code = -1;
    if (IsArea(geometry)) {
        // Dashes over 200 pixels, then a glyph for each value that adds one
        // (the full view only); the last value that names a glyph gives it.
        StyledBoundary style;
        style.add(2, 200, 14);
        for (unsigned i = 0; i < list.count; ++i)
            for (const Row& r : kCategories)
                if (r.value == list.values[i]) {
                    code = r.code;
                    if (r.boundaryTemplate >= 0 && !Reduced(context))
                        style.add(r.boundaryTemplate, 1, 14);
                }
        style.end(0, 14).draw(context, geometry);
    } else {
        // A point takes the first value that names a glyph.
        for (unsigned i = 0; i < list.count && code < 0; ++i)
            for (const Row& r : kCategories)
                if (r.value == list.values[i]) code = r.code;
    }
    if (code < 0) return;
    SymbolAtPosition(geometry, {35, code, 14});
}

void Int1Proc95(TMapContext*, GdbObject*, MapObject* geometry) {
    SymbolAtFirstPoint(geometry, {33, 110, 0});
}

void Int1Proc96(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (IsArea(geometry)) {
        prArea(context, geometry, 12, 0);
        Boundary(context, geometry, 0, kSolid);
        return;
    }
    Point at;
    if (!FirstPoint(geometry, at)) return;
    unsigned category = 0;
    AttrByte(object, 29, category);
    if (category == 1) {
        DrawSymbolGlyph({35, 44, 0}, at);
    } else if (category == 2) {
        DrawSymbolGlyph({33, 111, 0}, at);
    } else {
        DrawSymbolGlyph({35, 12, 0}, at);
        if (category == 3) DrawLabel(at, "Bol", 0, LabelSide::Right);
    }
}
