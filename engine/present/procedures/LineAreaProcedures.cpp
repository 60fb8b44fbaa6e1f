// Line styles, area fills and marks of the built-in procedures of codes 21
// to 98: cables, coastlines, limits of zones and routes, docks and
// harbour works, surfaces of drying areas and land regions, the
// orientation mark of directional lights and leading lines with their
// bearing. Each procedure draws a plain line (prSimpleLine), a fill
// (prArea), a glyph pattern (PLComplexArea) or a styled line composed from
// the shared line element templates (procedures/LineComposition.h).
//
// Fills follow the object's geometry where its class may be a line as well
// as an area: an open line is never filled as a polygon.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "geo/GeoPoint.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/LineComposition.h"
#include "procedures/OrientedSymbols.h"
#include "procedures/SymbolPlacement.h"
#include "procedures/SymbologyHelpers.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"
#include "runtime/intmath.h"
#include "util/text.h"

#include <cmath>

namespace {

constexpr unsigned short kSolid = 0;
constexpr unsigned short kDashed = 0x1F1F;
constexpr unsigned short kShortDash = 0x3333;
// The hatches of GD_SetAreaPattern.
constexpr unsigned short kHatch = 8, kIce = 11, kDots = 12, kLandHatch = 14;

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

bool reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

int typeOf(const MapObject* geometry) {
    return geometry ? geometry->type : egtEmpty;
}

bool isArea(const MapObject* geometry) {
    return typeOf(geometry) == egtArea;
}

// Whether a counted list attribute holds the value.
bool listHolds(GdbObject* object, unsigned code, unsigned value) {
    AttrList list;
    if (!AttrListOf(object, code, list)) return false;
    for (unsigned i = 0; i < list.count; ++i)
        if (list.values[i] == value) return true;
    return false;
}

// Quality of position 2, 3, 4, 5 or 8 (not surveyed, doubtful or
// estimated) draws a line dashed.
unsigned short dashedByQuality(GdbObject* object) {
    unsigned quality = 0;
    if (!AttrByte(object, 91, quality)) return kSolid;
    switch (quality) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
        return kDashed;
    default:
        return kSolid;
    }
}

// The 20-pixel solid stroke in colour 14 between the direction glyphs of a
// deep water route's centreline.
constexpr TLineMarker kTwentyPixelLine{kMarkerStroke, kMarkerToVertex, 14, 0, 0, 20, 1, nullptr};

// A limit line: dashes 0x0F0F in colour 14 over `length` pixels and a glyph
// of font 34 in colour 14 between them, or under reduced details a dashed
// line in colour 0.
void limitLine(TMapContext* context, MapObject* geometry, int glyphTemplate, int length) {
    if (reduced(context)) {
        prSimpleLine(context, geometry, 0, 1, kDashed);
        return;
    }
    ComposedLine style(&TemplateColour(kTemplateSolid, 14));
    style.add(SharedTemplate(kTemplateDash0F0F, length, 14)).add(TemplateColour(glyphTemplate, 14));
    style.draw(context, geometry);
}

// A line of stroke glyph 19 ten times, closed by a solid end marker in
// colour 0 (dykes, embankments, fences).
void hatchedBank(TMapContext* context, MapObject* geometry) {
    ComposedLine style(&TemplateColour(kTemplateSolid, 0));
    style.add(SharedTemplate(VectorGlyphTemplate(19), 10));
    style.draw(context, geometry);
}

// A labelled line: a solid stroke in colour 14 over `length` pixels, then
// the text between gaps of 2 pixels, in template 7 (font -1, colour 14) for
// the call only.
void labelledLine(TMapContext* context, MapObject* geometry, char* text, int length) {
    TLineMarker& label = SharedTemplate(kTemplateLabelText);
    TemplateText withText(label, text);
    label.colour = 14;
    ComposedLine style;
    style.add(SharedTemplate(kTemplateSolid, length, 14))
        .add(SharedTemplate(kTemplateGap, 2))
        .add(label)
        .add(SharedTemplate(kTemplateGap, 2));
    style.draw(context, geometry);
}

// The letter codes of the nature of surface (attribute 82) written at a
// drying area's centre; null for values without one.
const char* surfaceLetters(unsigned value) {
    switch (value) {
    case 1:
        return "M";
    case 2:
        return "Cy";
    case 3:
        return "Si";
    case 4:
        return "S";
    case 5:
        return "St";
    case 6:
        return "G";
    case 7:
        return "P";
    case 8:
        return "Cb";
    case 11:
        return "Lv";
    case 17:
        return "Sh";
    default:
        return nullptr;
    }
}

} // namespace

// Cable area limit: a short solid stroke between gaps and a stroke glyph.
void Int1Proc21(TMapContext* context, GdbObject*, MapObject* geometry) {
    ComposedLine style;
    style.add(SharedTemplate(kTemplateGap, 4))
        .add(SharedTemplate(kTemplateSolid, 15, 0))
        .add(SharedTemplate(kTemplateGap, 4))
        .add(SharedTemplate(VectorGlyphTemplate(13)));
    style.setEnd(&TemplateColour(kTemplateSolid, 0));
    style.draw(context, geometry);
}

// Overhead cable. Stroke glyph 2 is one record: the count written last
// holds for both of its places in the style.
void Int1Proc22(TMapContext* context, GdbObject* object, MapObject* geometry) {
    const int cable = VectorGlyphTemplate(2);
    ComposedLine style(&TemplateColour(kTemplateSolid, 14));
    style.add(SharedTemplate(cable, 1));
    unsigned category = 0;
    if (listHolds(object, 109, 4)) {
        // Not in use.
        style.add(SharedTemplate(cable, 6)).add(SharedTemplate(kTemplateGap, 10));
    } else if (!reduced(context) && AttrByte(object, 6, category) && category == 1) {
        // Power line.
        style.add(SharedTemplate(cable, 15))
            .add(SharedTemplate(kTemplateGap, 2))
            .add(TemplateColour(kTemplateFont34Glyph12, 14))
            .add(SharedTemplate(kTemplateGap, 2));
    }
    style.draw(context, geometry);
}

// Submarine cable. Stroke glyph 1 is written three times twice: one record.
void Int1Proc23(TMapContext* context, GdbObject* object, MapObject* geometry) {
    ComposedLine style(&TemplateColour(kTemplateSolid, 14));
    unsigned category = 0;
    if (listHolds(object, 109, 4)) {
        style.add(SharedTemplate(VectorGlyphTemplate(2), 10)).add(SharedTemplate(kTemplateGap, 10));
    } else if (AttrByte(object, 6, category) && category == 1) {
        style.add(SharedTemplate(VectorGlyphTemplate(1), 3))
            .add(SharedTemplate(VectorGlyphTemplate(2), 3));
        if (!reduced(context)) style.add(SharedTemplate(kTemplateFont34Glyph12));
        style.add(SharedTemplate(VectorGlyphTemplate(1), 3));
    } else {
        style.add(SharedTemplate(VectorGlyphTemplate(2), 10));
    }
    style.draw(context, geometry);
}

// Canal.
void Int1Proc25(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (isArea(geometry))
        prArea(context, geometry, 8, 0);
    else if (typeOf(geometry) == egtLine)
        prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Canal bank.
void Int1Proc26(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Causeway.
void Int1Proc28(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (isArea(geometry)) prArea(context, geometry, 5, 0);
    prSimpleLine(context, geometry, 0, 1, kShortDash);
}

// Cemetery: an area covered with glyph 22 of font 35 in aligned rows
// (through the shared area glyph), a point marked with it.
void Int1Proc30(TMapContext* context, GdbObject*, MapObject* geometry) {
    constexpr int kCemetery = 22;
    const int type = typeOf(geometry);
    if (type == egtArea) {
        TLineMarker& glyph = SharedTemplate(kTemplateAreaGlyph);
        glyph.character = kCemetery;
        TStyledArea pattern{1, 1, {&glyph}};
        PLComplexArea(context, &pattern, geometry);
        return;
    }
    Point at;
    if (type == egtLine || !SymbolPosition(geometry, at)) return;
    GD_SelFont(35);
    GD_CharXY(0, at.x, at.y, kCemetery);
}

// Chain or wire.
void Int1Proc31(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kShortDash);
}

// Coastline: a marked rocky coast (147 = 9) as stroke glyph 3; other
// categories solid; without a category dashed when its position is not
// surveyed.
void Int1Proc35(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned category = 0;
    if (AttrByte(object, 147, category)) {
        if (category == 9) {
            ComposedLine style(&TemplateColour(kTemplateSolid, 0));
            style.add(SharedTemplate(VectorGlyphTemplate(3), 1));
            style.draw(context, geometry);
        } else {
            prSimpleLine(context, geometry, 0, 1, kSolid);
        }
        return;
    }
    prSimpleLine(context, geometry, 0, 1, dashedByQuality(object));
}

// Contiguous zone limit.
void Int1Proc36(TMapContext* context, GdbObject*, MapObject* geometry) {
    ComposedLine style;
    style.add(SharedTemplate(kTemplateSolid, 200, 14))
        .add(SharedTemplate(kTemplateGap, 2))
        .add(SharedTemplate(VectorGlyphTemplate(7)))
        .add(SharedTemplate(kTemplateGap, 2));
    style.draw(context, geometry);
}

// Custom zone limit.
void Int1Proc40(TMapContext* context, GdbObject*, MapObject* geometry) {
    limitLine(context, geometry, kTemplateFont34Glyph11, 200);
}

// Conveyor: lines (and nothing of points); areas draw nothing.
void Int1Proc41(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (!isArea(geometry)) prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Deep water route part: a hatched area with a wide dashed edge labelled
// " DW ".
void Int1Proc42(TMapContext* context, GdbObject*, MapObject* geometry) {
    const bool full = !reduced(context);
    if (full && isArea(geometry)) prArea(context, geometry, 15, kHatch);
    char text[] = " DW ";
    TLineMarker& label = SharedTemplate(kTemplateLabelText);
    TemplateText withText(label, text);
    TLineMarker& dash = SharedTemplate(kTemplateWideDash, 100, 14);
    ComposedLine style(&dash);
    style.add(dash);
    if (full) {
        label.colour = 14;
        style.add(label);
    }
    style.draw(context, geometry);
}

// Deep water route centreline with its traffic flow: two-way (112 = 4)
// stroke glyphs 9 and 6 with a 20-pixel stroke after each, one-way (3)
// glyph 6 and the stroke; then "DW" between gaps.
void Int1Proc43(TMapContext* context, GdbObject* object, MapObject* geometry) {
    TLineMarker piece = kTwentyPixelLine;
    char text[] = "DW";
    TLineMarker& label = SharedTemplate(kTemplateLabelText);
    TemplateText withText(label, text);

    ComposedLine style(&TemplateColour(kTemplateSolid, 14));
    style.add(SharedTemplate(kTemplateSolid, 100, 14));
    unsigned traffic = 0;
    AttrByte(object, 112, traffic);
    if (traffic == 4) {
        style.add(TemplateColour(VectorGlyphTemplate(9), 14))
            .add(piece)
            .add(TemplateColour(VectorGlyphTemplate(6), 14))
            .add(piece);
    } else if (traffic == 3) {
        style.add(TemplateColour(VectorGlyphTemplate(6), 14)).add(piece);
    }
    if (!reduced(context)) {
        label.colour = 14;
        style.add(SharedTemplate(kTemplateGap, 2)).add(label).add(SharedTemplate(kTemplateGap, 2));
    }
    style.draw(context, geometry);
}

// Dock area: dotted fill, outline dashed for docks of a category.
void Int1Proc49(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (isArea(geometry)) prArea(context, geometry, 13, kDots);
    unsigned category = 0;
    AttrByte(object, 63, category);
    prSimpleLine(context, geometry, 0, 1, category != 0 ? kDashed : kSolid);
}

// Dry dock.
void Int1Proc51(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (isArea(geometry)) prArea(context, geometry, 12, 0);
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Dyke.
void Int1Proc54(TMapContext* context, GdbObject*, MapObject* geometry) {
    hatchedBank(context, geometry);
}

// Embankment.
void Int1Proc55(TMapContext* context, GdbObject*, MapObject* geometry) {
    hatchedBank(context, geometry);
}

// Exclusive economic zone limit, labelled "EEZ"; under reduced details a
// plain line in colour 14 first.
void Int1Proc56(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (reduced(context)) prSimpleLine(context, geometry, 14, 1, kSolid);
    char text[] = "EEZ";
    labelledLine(context, geometry, text, 100);
}

// Fairway.
void Int1Proc57(TMapContext* context, GdbObject*, MapObject* geometry) {
    ComposedLine style;
    style.add(SharedTemplate(kTemplateSolid, 50, 14)).add(SharedTemplate(kTemplateGap, 10));
    style.draw(context, geometry);
}

// Fence or wall.
void Int1Proc58(TMapContext* context, GdbObject*, MapObject* geometry) {
    hatchedBank(context, geometry);
}

// Ferry route.
void Int1Proc59(TMapContext* context, GdbObject*, MapObject* geometry) {
    ComposedLine style;
    style.add(SharedTemplate(kTemplateDash3333, 200, 14))
        .add(SharedTemplate(VectorGlyphTemplate(10)));
    style.draw(context, geometry);
}

// Fishery zone limit.
void Int1Proc61(TMapContext* context, GdbObject*, MapObject* geometry) {
    limitLine(context, geometry, kTemplateFont34Glyph7, 150);
}

// Fishing ground limit.
void Int1Proc63(TMapContext* context, GdbObject*, MapObject* geometry) {
    ComposedLine style;
    style.add(SharedTemplate(kTemplateSolid, 150, 0))
        .add(SharedTemplate(kTemplateGap, 5))
        .add(TemplateColour(kTemplateFont34Glyph7Black, 0))
        .add(SharedTemplate(kTemplateGap, 5));
    style.draw(context, geometry);
}

// Floating dock.
void Int1Proc66(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (isArea(geometry)) prArea(context, geometry, 12, 0);
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Harbour construction: by its category (19 = 2 dashed), or filled as land
// when it has none.
void Int1Proc70(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned category = 0;
    if (AttrByte(object, 19, category)) {
        prSimpleLine(context, geometry, 0, 1, category == 2 ? kShortDash : kSolid);
        return;
    }
    if (isArea(geometry)) prArea(context, geometry, 12, 0);
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Hulk: a hatched area, or under reduced details its outline.
void Int1Proc71(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (!isArea(geometry)) return;
    if (reduced(context))
        prSimpleLine(context, geometry, 0, 1, kSolid);
    else
        prArea(context, geometry, 0, kHatch);
}

// Harbour area limit.
void Int1Proc72(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 14, 1, kDashed);
}

// Ice area: filled white with an edge of stroke glyphs 4 and 5.
void Int1Proc76(TMapContext* context, GdbObject*, MapObject* geometry) {
    prArea(context, geometry, 1, 0);
    ComposedLine style(&TemplateColour(kTemplateSolid, 0));
    style.add(SharedTemplate(VectorGlyphTemplate(4))).add(SharedTemplate(VectorGlyphTemplate(5)));
    style.draw(context, geometry);
}

// Drying area: filled in colour 5 with the nature of its surface (list 82):
// coral (14) and rock (9) as stroke glyphs along the boundary, the others
// as letter codes stacked upward from the centre of gravity. A point is a
// disc with a dotted ring.
void Int1Proc78(TMapContext* context, GdbObject* object, MapObject* geometry) {
    const int type = typeOf(geometry);
    if (type == egtPoint) {
        const Point at{geometry->bounds.left, geometry->bounds.top};
        GD_FillEllipse(5, at.x, at.y, 6, 6);
        GD_Ellipse(0, true, at.x, at.y, 6, 6);
        return;
    }
    if (type != egtArea) return;
    prArea(context, geometry, 5, 0);

    // The letters need the centre; the boundary glyphs do not.
    Point centre;
    const bool hasCentre = geometry->CentreOfGravity(centre);
    int y = hasCentre ? centre.y : 0;
    ComposedLine style;
    AttrList surface;
    if (AttrListOf(object, 82, surface)) {
        GD_SelFont(-1);
        for (unsigned i = 0; i < surface.count; ++i) {
            const unsigned value = surface.values[i];
            if (value == 14) {
                style.add(SharedTemplate(VectorGlyphTemplate(3)));
            } else if (value == 9) {
                style.add(SharedTemplate(VectorGlyphTemplate(4)))
                    .add(SharedTemplate(VectorGlyphTemplate(5)));
            } else if (const char* letters = surfaceLetters(value); letters && hasCentre) {
                GD_WriteXY(0, centre.x, y, letters);
                y += 10;
            }
        }
    }
    if (style.count() == 0) return;
    style.setEnd(&TemplateColour(kTemplateSolid, 0));
    style.draw(context, geometry);
}

// Lake.
void Int1Proc79(TMapContext* context, GdbObject*, MapObject* geometry) {
    prArea(context, geometry, 8, 0);
}

// Lake shore.
void Int1Proc80(TMapContext* context, GdbObject* object, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, dashedByQuality(object));
}

// Land region: hatched once for each sand (4) of its surface list.
void Int1Proc83(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!isArea(geometry)) return;
    AttrList surface;
    if (!AttrListOf(object, 82, surface)) return;
    for (unsigned i = 0; i < surface.count; ++i)
        if (surface.values[i] == 4) prArea(context, geometry, 0, kLandHatch);
}

// Land boundary.
void Int1Proc84(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kShortDash);
}

// Glacier or snow field.
void Int1Proc85(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (isArea(geometry) && !reduced(context)) prArea(context, geometry, 1, kIce);
}

// Directional light mark: with a colour (first of list 59) and an
// orientation (85, degrees), the orientation mark (glyph 14 of font 34,
// which points north unturned) 15 pixels from the point toward the
// orientation as the window shows it, turned to it; then the position
// circle (glyph 12 of font 35) in colour 2.
void Int1Proc87(TMapContext* context, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!FirstPoint(geometry, at)) return;
    unsigned colourCode = 0;
    AttrFirstOfList(object, 59, colourCode);
    float orientation = 0;
    AttrFloat(object, 85, orientation);
    if (colourCode != 0 && orientation != 0) {
        const double theta = static_cast<double>(deg2rad(orientation)) - WindowAzimuth(context, 1);
        int colour = LightColourCode(colourCode);
        if (colour == 0) colour = 3;
        const int x = at.x + static_cast<int>(round(15.0 * std::sin(theta), 0));
        const int y = at.y + static_cast<int>(round(15.0 * std::cos(theta), 0));
        GD_SelFont(34);
        GD_VectCharXY(colour, x, y, 14, -static_cast<double>(orientation), 1, 1);
    }
    GD_SelFont(35);
    GD_CharXY(2, at.x, at.y, 12);
}

// Lock basin.
void Int1Proc90(TMapContext* context, GdbObject*, MapObject* geometry) {
    prSimpleLine(context, geometry, 0, 1, kSolid);
}

// Navigation line.
void Int1Proc97(TMapContext* context, GdbObject*, MapObject* geometry) {
    ComposedLine style;
    style.add(SharedTemplate(kTemplateSolid, 10, 14))
        .add(SharedTemplate(kTemplateGap, 8))
        .add(SharedTemplate(VectorGlyphTemplate(7)))
        .add(SharedTemplate(kTemplateGap, 8));
    style.draw(context, geometry);
}

// Leading line labelled with its bearing (85) as " %3.1f ", in template 8
// for the call only; without a bearing, or under reduced details, a dashed
// line in colour 14. At detail level 1 a wide casing in colour 11 first.
void Int1Proc98(TMapContext* context, GdbObject* object, MapObject* geometry) {
    // A float's widest fixed form has 39 digits before the point.
    char text[64] = " ";
    float bearing;
    bool labelled = AttrFloat(object, 85, bearing);
    if (labelled) {
        const int n = formatFloat(bearing, text + 1, sizeof text - 2, 3, 1);
        labelled = n > 0;
        if (labelled) {
            text[n + 1] = ' ';
            text[n + 2] = '\0';
        }
    }
    if (context && context->details == 1) prSimpleLine(context, geometry, 11, 3, kSolid);
    if (!labelled || reduced(context)) {
        prSimpleLine(context, geometry, 14, 1, kDashed);
        return;
    }
    TLineMarker& label = SharedTemplate(kTemplatePlainText);
    TemplateText withText(label, text);
    label.colour = 0;
    ComposedLine style(&TemplateColour(kTemplateSolid, 0));
    style.add(SharedTemplate(kTemplateDash0F0F, 200, 0)).add(label);
    style.draw(context, geometry);
}
