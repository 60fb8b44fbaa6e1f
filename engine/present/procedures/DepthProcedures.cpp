// Depth procedures of the codes below 100: depth and dredged areas filled by
// depth zone (44, 50), depth contours labelled with their value (45), land
// elevations (82), and the diffusers and obstructions written as soundings
// (46, 99).
//
// Labelled lines are interrupted lines: the label (template 7, font -1,
// flags 64 for the call only) is set into a gap every 400 pixels of a solid
// line drawn by the end marker (template 0, count 400). Depths of attribute
// 116 are stored in decimetres; the other values are floats in metres.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/LineComposition.h"
#include "procedures/SoundValue.h"
#include "procedures/SymbolPlacement.h"
#include "procedures/SymbologyHelpers.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"
#include "runtime/intmath.h"
#include "util/text.h"

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

// The spacing of the labels along a labelled line, pixels.
constexpr int kLabelSpacing = 400;

bool reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

int typeOf(const MapObject* geometry) {
    return geometry ? geometry->type : egtEmpty;
}

// Whether a line's (or an area's) bounding rectangle is wider or taller than
// 30 pixels, so that a label can stand on it.
bool longEnoughToLabel(const MapObject* geometry) {
    const int type = typeOf(geometry);
    if (type != egtLine && type != egtArea) return false;
    const std::int64_t w = std::llabs(std::int64_t(geometry->bounds.right) - geometry->bounds.left);
    const std::int64_t h = std::llabs(std::int64_t(geometry->bounds.bottom) - geometry->bounds.top);
    return w > 30 || h > 30;
}

// A float attribute in metres rounded to a whole number (ties to even);
// false when absent, not a number, or beyond the 64-bit range.
bool wholeValue(GdbObject* object, unsigned code, float& value, std::int64_t& whole) {
    if (!AttrFloat(object, code, value)) return false;
    whole = round(value, 0);
    return whole != INT64_MIN;
}

// The depth-zone fill of a depth area: attribute 66 (0 when absent) in the
// context's zones.
void depthZoneFill(TMapContext* context, GdbObject* object, MapObject* geometry) {
    float depth = 0;
    AttrFloat(object, 66, depth);
    const int zone = context ? DepthZone(depth, context->depthZoneCount, context->depthZones) : 0;
    prArea(context, geometry, DepthColours[zone], 0);
}

// A line labelled " <whole> " every 400 pixels in colour; `dashed` sets a
// dash 0x0F0F element in the colour over 400 pixels after each label, and
// the style is then drawn element by element.
void labelledDepthLine(TMapContext* context, MapObject* geometry, std::int64_t whole, int colour,
                       bool dashed) {
    char text[32];
    std::snprintf(text, sizeof text, " %" PRId64 " ", whole);
    TLineMarker& label = SharedTemplate(kTemplateLabelText);
    TemplateText withText(label, text);
    TemplateFlags interrupted(label, kMarkerInterrupted);
    label.colour = static_cast<std::uint8_t>(colour);
    ComposedLine style(&SharedTemplate(kTemplateSolid, kLabelSpacing, colour));
    style.add(label);
    if (dashed) style.add(SharedTemplate(kTemplateDash0F0F, kLabelSpacing, colour));
    style.draw(context, geometry);
}

// A diffuser or an obstruction: with a depth (116, decimetres) the depth as
// a sounding with the word as its note; without one a disc in discColour
// with a dotted ring and the word beside it.
void soundingLikePoint(TMapContext* context, GdbObject* object, Point at, const char* word,
                       int discColour) {
    char note[16];
    std::snprintf(note, sizeof note, "%s", word);
    float stored;
    if (AttrFloat(object, 116, stored)) {
        const float depth = static_cast<float>(stored * 0.1);
        unsigned a = 2, b = 3, c = 0;
        AttrByte(object, 69, a);
        AttrByte(object, 92, b);
        AttrSecondByte(object, 111, c);
        _DrawSoundValue(context, at.x, at.y, depth, a, b, c, note, 0);
        return;
    }
    GD_FillEllipse(discColour, at.x, at.y, 8, 8);
    GD_Ellipse(0, true, at.x, at.y, 8, 8);
    GD_SelFont(-2);
    GD_WriteXY(0, at.x + 10, at.y - 6, note);
}

} // namespace

// Depth area.
void Int1Proc44(TMapContext* context, GdbObject* object, MapObject* geometry) {
    depthZoneFill(context, object, geometry);
}

// Depth contour: labelled with its value (113) where it is long enough,
// its dashes left between the labels when its position is not surveyed
// (91 present and not 1); otherwise a plain line in colour 6.
void Int1Proc45(TMapContext* context, GdbObject* object, MapObject* geometry) {
    float value;
    std::int64_t whole;
    if (!longEnoughToLabel(geometry) || reduced(context) ||
        !wholeValue(object, 113, value, whole)) {
        prSimpleLine(context, geometry, 6, 1, 0);
        return;
    }
    unsigned quality = 0;
    const bool unsurveyed = AttrByte(object, 91, quality) && quality != 1;
    labelledDepthLine(context, geometry, whole, 6, unsurveyed);
}

// Diffuser: an area filled in colour 9 with a dotted outline first; the
// depth or disc at the centre.
void Int1Proc46(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (typeOf(geometry) == egtArea) {
        prArea(context, geometry, 9, 0);
        prSimpleLine(context, geometry, 0, 1, 0x9999);
    }
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    soundingLikePoint(context, object, at, "Diffuser", 9);
}

// Dredged area: the depth-zone fill with a dashed outline.
void Int1Proc50(TMapContext* context, GdbObject* object, MapObject* geometry) {
    depthZoneFill(context, object, geometry);
    prSimpleLine(context, geometry, 0, 1, 0xF0F0);
}

// Land elevation (73, metres): a contour labelled with the whole value, or
// a point with glyph 75 and the value in metres beside it (whole metres
// when within 0.099 of one, else one decimal).
void Int1Proc82(TMapContext* context, GdbObject* object, MapObject* geometry) {
    float value;
    std::int64_t whole;
    const bool hasValue = wholeValue(object, 73, value, whole);
    switch (typeOf(geometry)) {
    case egtLine:
        if (longEnoughToLabel(geometry) && !reduced(context) && hasValue)
            labelledDepthLine(context, geometry, whole, 0, false);
        else
            prSimpleLine(context, geometry, 0, 1, 0);
        break;
    case egtPoint: {
        const Point at{geometry->bounds.left, geometry->bounds.top};
        GD_SelFont(35);
        GD_CharXY(0, at.x, at.y, 75);
        if (!hasValue) break;
        char text[64];
        if (std::fabs(static_cast<double>(value) - static_cast<double>(whole)) <= 0.099) {
            std::snprintf(text, sizeof text, " %" PRId64 " m", whole);
        } else {
            // A float's widest fixed form has 39 digits before the point.
            text[0] = ' ';
            const int n = formatFloat(value, text + 1, sizeof text - 5, 0, 1);
            if (n <= 0) break;
            std::snprintf(text + 1 + n, sizeof text - 1 - n, " m ");
        }
        GD_SelFont(-1);
        GD_WriteXY(0, at.x + 3, at.y, text);
        break;
    }
    default:
        break;
    }
}

// Obstruction: an area gets a dotted outline first; the depth or disc at
// the centre, the disc in colour 5 when it covers and uncovers (124 = 4).
void Int1Proc99(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned waterLevel = 0;
    AttrByte(object, 124, waterLevel);
    if (typeOf(geometry) == egtArea) prSimpleLine(context, geometry, 0, 1, 0x9999);
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    soundingLikePoint(context, object, at, "Obstr", waterLevel == 4 ? 5 : 9);
}
