// Depth areas, soundings and underwater hazards: the procedures of object
// codes 105 (pingos), 111 (production areas), 129 (first depth zone), 147
// (soundings), 168 (underwater rocks) and 176 (wrecks and foul ground).
//
// Depths are stored in decimetres: a 16-bit attribute 116 and the per-point
// values of a sounding set are taken times 0.1. Attributes 69 and 92 and the
// second byte of attribute 111 qualify a written depth (_DrawSoundValue).
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/SoundValue.h"
#include "procedures/SymbolPlacement.h"
#include "procedures/SymbologyHelpers.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

#include <cstdint>
#include <string>

namespace {

constexpr EDetails kReducedDetails = EDetails(0x8000);

// Attribute codes.
constexpr unsigned kCategory = 57, kFirstQualifier = 69, kSecondQualifier = 92,
                   kThirdQualifier = 111, kDepth = 116, kSelector = 124, kWorkings = 36;

// The depth-zone colour of a depth in the context's zones.
int depthColour(const TMapContext* context, double depth) {
    return DepthColours[DepthZone(depth, context->depthZoneCount, context->depthZones)];
}

// Attribute 116 in metres; false when absent.
bool readDepth(GdbObject* object, float& depth) {
    float stored;
    if (!AttrFloat(object, kDepth, stored)) return false;
    depth = static_cast<float>(stored * 0.1);
    return true;
}

// The three qualifiers of a written depth, each keeping its default when
// its attribute is absent.
struct Qualifiers {
    unsigned a, b, c;
};
Qualifiers readQualifiers(GdbObject* object, Qualifiers q) {
    AttrByte(object, kFirstQualifier, q.a);
    AttrByte(object, kSecondQualifier, q.b);
    AttrSecondByte(object, kThirdQualifier, q.c);
    return q;
}

void glyph(int character, Point at) {
    GD_SelFont(35);
    GD_CharXY(0, at.x, at.y, character);
}

// The hazard's least depth with its note, or, without a depth, a dotted
// danger circle with the note beside it.
void depthOrCircle(TMapContext* context, GdbObject* object, Point at, const char* note) {
    float depth;
    if (readDepth(object, depth)) {
        const Qualifiers q = readQualifiers(object, {2, 3, 0});
        _DrawSoundValue(context, at.x, at.y, depth, q.a, q.b, q.c, const_cast<char*>(note), 0);
        return;
    }
    GD_FillEllipse(9, at.x, at.y, 8, 8);
    GD_Ellipse(0, true, at.x, at.y, 8, 8);
    GD_SelFont(-2);
    GD_WriteXY(0, at.x + 10, at.y - 6, note);
}

} // namespace

void Int1Proc105(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!geometry) return;
    if (geometry->type == egtArea) {
        unsigned selector = 0;
        int colour = 5;
        unsigned short outline = 0;
        if (AttrByte(object, kSelector, selector)) {
            if (selector == 1 || selector == 2) {
                colour = 12;
            } else if (selector == 4) {
                outline = 0x1F1F;
            } else {
                colour = 9;
                outline = 0x3333;
            }
        }
        prArea(context, geometry, colour, 0);
        prSimpleLine(context, geometry, 0, 1, outline);
    }
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    depthOrCircle(context, object, at, "Pingos");
}

void Int1Proc111(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!geometry) return;
    if (geometry->type == egtArea) {
        prArea(context, geometry, 9, 0);
        prSimpleLine(context, geometry, 0, 1, 0x9999);
    }
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    unsigned workings;
    if (!AttrByte(object, kWorkings, workings)) {
        glyph(51, at);
        return;
    }
    const char* note = workings == 1   ? "Quarry"
                       : workings == 2 ? "Mine"
                       : workings == 3 ? "Well"
                                       : "Prod Well";
    depthOrCircle(context, object, at, note);
}

void Int1Proc129(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (!geometry) return;
    if (geometry->type == egtArea)
        prArea(context, geometry, depthColour(context, 1.0), 0);
    else
        prSimpleLine(context, geometry, 6, 2, 0);
}

void Int1Proc147(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!geometry || context->scaleExponent < -1) return;
    const Qualifiers q = readQualifiers(object, {0, 0, 0});
    if (geometry->type == egtPoint) {
        float depth;
        if (readDepth(object, depth))
            _DrawSoundValue(context, geometry->bounds.left, geometry->bounds.top, depth, q.a, q.b,
                            q.c, nullptr, 0);
        return;
    }
    if (geometry->type != egtSoundings) return;
    // One depth per point of the first part, travelling in the extras (the
    // extra count is not theirs).
    if (geometry->partCount < 1 || !geometry->pointCounts || !geometry->points || !geometry->extras)
        return;
    const std::int32_t n = geometry->pointCounts[0];
    for (std::int32_t i = 0; i < n; ++i) {
        // Values above 12000 hold whole metres over 12000; the others decimetres.
        const std::int32_t z = geometry->extras[i];
        const double depth = z > 12000 ? z - 12000.0 : z * 0.1;
        const Point& p = geometry->points[i];
        _DrawSoundValue(context, p.x, p.y, static_cast<float>(depth), q.a, q.b, q.c, nullptr, 0);
    }
}

void Int1Proc168(TMapContext* context, GdbObject* object, MapObject* geometry) {
    Point at;
    if (!object || !SymbolPosition(geometry, at)) return;
    unsigned w = 0, a = 0, b = 0, c = 0;
    double depth = -1.0;
    for (TGdbAttr* attr = object->FirstAttr(); attr; attr = object->NextAttr()) {
        switch (attr->GetLabel()) {
        case kSelector:
            AttrByte(attr, w);
            break;
        case kDepth: {
            float stored;
            if (AttrFloat(attr, stored)) depth = stored * 0.1;
            break;
        }
        case kFirstQualifier:
            AttrByte(attr, a);
            break;
        case kSecondQualifier:
            AttrByte(attr, b);
            break;
        case kThirdQualifier:
            AttrSecondByte(attr, c);
            break;
        default:
            break;
        }
    }
    const int element = w == 2 ? 7 : w == 3 ? 8 : w == 5 ? 9 : 6;
    if (a == 2 && depth >= 0) {
        GD_FillEllipse(depthColour(context, depth), at.x, at.y, 8, 8);
        GD_Ellipse(0, true, at.x, at.y, 8, 8);
    }
    PLDrawSymbol(element, 0, at, 0, 0);
    if (depth >= 0) {
        // The value stands at the element's third anchor, (0, 0) for an
        // element beyond the table's top.
        const Point anchor =
            element <= SymbolElementTop ? SymbolElements[element].anchors[2] : Point{0, 0};
        _DrawSoundValue(context, at.x + anchor.x, at.y + anchor.y, static_cast<float>(depth), a, b,
                        c, nullptr, 1);
    }
}

void Int1Proc176(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!geometry) return;
    unsigned category = 0, selector = 0;
    AttrByte(object, kCategory, category);
    AttrByte(object, kSelector, selector);
    float depth = 0;
    const bool hasDepth = readDepth(object, depth);

    if (geometry->type == egtArea) {
        std::string note;
        Point centre;
        bool atCentre = false;
        if (selector != 1 && selector != 2 && selector != 5 && geometry->CentreOfGravity(centre)) {
            note = category == 3 ? "Foul" : "Wk";
            if (category == 4) note += " Mast";
            atCentre = true;
        }
        int colour;
        unsigned short pattern = 0, outline;
        if (selector == 0 || category == 3) {
            colour = 13, pattern = 8, outline = 0x9999;
        } else if (selector == 1 || selector == 2 || selector == 5) {
            colour = 12, outline = 0;
        } else if (selector == 3) {
            colour = hasDepth ? depthColour(context, depth) : 9, outline = 0x9999;
        } else if (selector == 4) {
            colour = 5, outline = 0x3333;
        } else {
            // Selectors from 6 up are drawn as foul ground of unknown extent.
            colour = 13, pattern = 8, outline = 0x9999;
        }
        if (context->details == kReducedDetails) pattern = 0;
        prArea(context, geometry, colour, pattern);
        prSimpleLine(context, geometry, 0, 1, outline);
        if (!atCentre) return;
        if (hasDepth) {
            _DrawSoundValue(context, centre.x, centre.y, depth, 0, 0, 0, note.data(), 0);
        } else if (!note.empty()) {
            GD_SelFont(-2);
            GD_WriteXY(0, centre.x, centre.y, note.c_str());
        }
        return;
    }

    Point at;
    if (!FirstPoint(geometry, at)) return;
    if (context->scaleExponent < -1) {
        glyph(83, at);
        return;
    }
    switch (category) {
    case 1:
        glyph(83, at);
        break;
    case 3:
        glyph(84, at);
        break;
    case 5:
        glyph(85, at);
        break;
    case 4:
        GD_Ellipse(0, true, at.x, at.y, 10, 6);
        GD_SelFont(-1);
        GD_WriteXY(0, at.x + 15, at.y - 4, "Masts");
        glyph(83, at);
        break;
    default:
        if (hasDepth) {
            const Qualifiers q = readQualifiers(object, {2, 3, 0});
            _DrawSoundValue(context, at.x, at.y, depth, q.a, q.b, q.c, const_cast<char*>("Wk"), 0);
        } else {
            GD_Ellipse(0, true, at.x, at.y, 10, 6);
            glyph(83, at);
        }
        break;
    }
}
