// Area fills and area patterns of the built-in procedures of codes 109 to
// 221: plain or hatched fills with an outline (prArea, prSimpleLine), areas
// covered with a pattern of upright glyphs of font 35 (PLComplexArea), and
// outlined areas with a symbol or a note at their centre of gravity.
//
// The one-letter patterns use the shared template 45 with its character
// overwritten; the vegetation pattern uses its own glyph elements.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/LineElementTemplates.h"
#include "procedures/SymbolPlacement.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

#include <cstring>

namespace {

constexpr unsigned short kSolid = 0;
constexpr unsigned short kDashed = 0x1F1F;
constexpr unsigned short kDotted = 0x9999;
// The hatch of GD_SetAreaPattern used by every hatched fill here.
constexpr unsigned short kHatch = 8;

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

bool reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

int typeOf(const MapObject* geometry) {
    return geometry ? geometry->type : egtEmpty;
}

// An area patterned with one letter of font 35 through the shared template
// 45, in staggered (layout 0) or aligned rows.
void letterPattern(TMapContext* context, MapObject* geometry, char letter, std::int32_t layout) {
    TLineMarker& element = LineElementTemplates[45];
    element.character = static_cast<std::uint8_t>(letter);
    TStyledArea pattern{layout, 1, {&element}};
    PLComplexArea(context, &pattern, geometry);
}

// One glyph of font 35 in colour 0 at a point.
void glyphAt(Point at, char glyph) {
    GD_SelFont(35);
    GD_CharXY(0, at.x, at.y, static_cast<unsigned char>(glyph));
}

// The glyph elements of the vegetation pattern, in the order the values
// name them: deciduous wood, coniferous wood, wood in general, mangrove
// roots and crown, grass, reeds.
constexpr TLineMarker vegetationGlyph(std::uint8_t glyph) {
    return TLineMarker{kMarkerUpright, 0, 0, glyph, 35, 1, 1, nullptr};
}
constexpr TLineMarker kVegetationGlyphs[7] = {
    vegetationGlyph(0x60), vegetationGlyph(0x62), vegetationGlyph(0x61), vegetationGlyph(0x63),
    vegetationGlyph(0x64), vegetationGlyph(0x65), vegetationGlyph(0x66),
};

} // namespace

void Int1Proc109(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtArea) prArea(context, geometry, 12, 0);
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

void Int1Proc115(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (!reduced(context)) prArea(context, geometry, 15, kHatch);
}

void Int1Proc131(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtArea && !reduced(context)) prArea(context, geometry, 13, kHatch);
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

void Int1Proc139(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // Constructions that the water reaches (124 = 1, 3, 4 or 5) are filled
    // as water with a thin dashed outline; the others as land.
    int colour = 12, width = 2;
    unsigned short pattern = kSolid;
    unsigned waterLevel = 0;
    if (AttrByte(object, 124, waterLevel) &&
        (waterLevel == 1 || waterLevel == 3 || waterLevel == 4 || waterLevel == 5)) {
        colour = 5;
        width = 1;
        pattern = 0x0F0F;
    }
    switch (typeOf(geometry)) {
    case egtArea:
        prArea(context, geometry, colour, 0);
        prSimpleLine(context, geometry, 0, width, pattern);
        break;
    case egtLine:
        prSimpleLine(context, geometry, 0, width, pattern);
        break;
    default:
        break;
    }
}

void Int1Proc153(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtArea) {
        letterPattern(context, geometry, 'I', 1);
        return;
    }
    Point at;
    if (SymbolPosition(geometry, at)) glyphAt(at, 'I');
}

namespace {

// Codes 163 and 164: hatched (solid under reduced details) with a solid
// outline, both in colour 15.
void trafficZone(TMapContext* context, MapObject* geometry) {
    prArea(context, geometry, 15, reduced(context) ? 0 : kHatch);
    prSimpleLine(context, geometry, 15, 1, kSolid);
}

} // namespace

void Int1Proc163(TMapContext* context, GdbObject*, MapObject* geometry) {
    trafficZone(context, geometry);
}

void Int1Proc164(TMapContext* context, GdbObject*, MapObject* geometry) {
    trafficZone(context, geometry);
}

void Int1Proc169(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (typeOf(geometry) != egtArea) return;
    if (reduced(context)) return;
    TLineMarker glyphs[7];
    std::memcpy(glyphs, kVegetationGlyphs, sizeof glyphs);
    TStyledArea pattern{0, 0, {}};
    // A pattern holds at most 16 elements: a longer list stops adding there.
    auto add = [&](int i) {
        if (pattern.count >= kStyleElements) return;
        glyphs[i].colour = 0;
        pattern.elements[pattern.count++] = &glyphs[i];
    };
    AttrList kinds;
    if (AttrListOf(object, 55, kinds))
        for (unsigned i = 0; i < kinds.count; ++i)
            switch (kinds.values[i]) {
            case 1:
                add(5);
                break;
            case 4:
                add(0);
                break;
            case 5:
                add(1);
                break;
            case 6:
                add(2);
                break;
            case 7:
                // Mangroves: roots and crown side by side, in aligned rows.
                add(3);
                add(4);
                pattern.layout = 1;
                break;
            case 11:
                add(6);
                break;
            default:
                break;
            }
    if (pattern.count > 0)
        PLComplexArea(context, &pattern, geometry);
    else
        prArea(context, geometry, 4, kHatch);
}

void Int1Proc171(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned category = 0;
    AttrByte(object, 56, category);
    const char letter = category == 2 ? 'P' : category == 4 ? 'O' : 'N';
    switch (typeOf(geometry)) {
    case egtArea:
        letterPattern(context, geometry, letter, 0);
        break;
    case egtLine:
        prSimpleLine(context, geometry, 0, 1, kDotted);
        break;
    case egtPoint:
        glyphAt(Point{geometry->bounds.left, geometry->bounds.top}, letter);
        break;
    default:
        break;
    }
}

void Int1Proc172(TMapContext* context, GdbObject*, MapObject* geometry) {
    switch (typeOf(geometry)) {
    case egtArea:
        letterPattern(context, geometry, 'Q', 0);
        break;
    case egtPoint:
        glyphAt(Point{geometry->bounds.left, geometry->bounds.top}, 'Q');
        break;
    default:
        break;
    }
}

void Int1Proc205(TMapContext* context, GdbObject*, MapObject* geometry) {
    Point at;
    if (typeOf(geometry) == egtArea) {
        TLineMarker* t = LineElementTemplates.data();
        t[24].count = 10;
        t[0].colour = 0;
        TStyledLine boundary{0, 1, {&t[24]}, &t[0]};
        prComplexLine(context, &boundary, geometry);
        prSimpleLine(context, geometry, 0, 1, 0x3333);
        if (!geometry->CentreOfGravity(at)) return;
    } else if (!FirstPoint(geometry, at)) {
        return;
    }
    PLDrawSymbol(10, 0, at, 0, 0);
    // The text beside the symbol, at its third anchor.
    constexpr int kSymbol = 10;
    const Point anchor =
        kSymbol <= SymbolElementTop ? SymbolElements[kSymbol].anchors[2] : Point{0, 0};
    GD_SelFont(0);
    GD_WriteXY(0, at.x + anchor.x, at.y + anchor.y, "Magnetic Anomaly");
}

void Int1Proc212(TMapContext* context, GdbObject* object, MapObject* geometry) {
    switch (typeOf(geometry)) {
    case egtArea: {
        prSimpleLine(context, geometry, 14, 1, kDashed);
        Point centre;
        char* note = nullptr;
        if (!geometry->CentreOfGravity(centre) || !AttrText(object, 78, note)) return;
        // A long note goes into a box 20 characters wide.
        GD_SelFont(0);
        if (std::strlen(note) >= 31)
            GD_TextBox(centre.x, centre.y, note, 20, 14);
        else
            GD_WriteXY(14, centre.x, centre.y, note);
        break;
    }
    case egtLine:
        prSimpleLine(context, geometry, 14, 1, kDashed);
        break;
    default:
        break;
    }
}

void Int1Proc218(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (typeOf(geometry) == egtArea) prArea(context, geometry, 1, 0);
    prSimpleLine(context, geometry, 2, 1, kDashed);
}

void Int1Proc221(TMapContext* context, GdbObject*, MapObject* geometry) {
    prArea(context, geometry, 0, kHatch);
}
