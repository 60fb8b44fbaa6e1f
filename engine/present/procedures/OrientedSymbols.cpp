// Oriented symbols and bearing lines: the radio-station circle with its
// direction strokes (119), the line labelled with its bearing (125), the
// single and double arrows (126, 162, 167) and the compass star (191), with
// the rotation and the window azimuth they share.
#include "procedures/OrientedSymbols.h"

#include "context/TMapContext.h"
#include "geo/GeoPoint.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"
#include "procedures/SymbolPlacement.h"
#include "proj/Map.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"
#include "runtime/intmath.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

float WindowAzimuth(TMapContext* context, int mode) {
    if (!context || !context->map || !context->map->win) return 0.0f;
    return context->map->win->getAzimuth(mode);
}

double OrientationAngle(TMapContext* context, double orientation) {
    return static_cast<double>(WindowAzimuth(context, 1) - deg2rad(orientation));
}

void RotateAbout(const Point* shape, int n, double a, Point centre, Point* out) {
    if (!shape || !out) return;
    const double c = std::cos(a), s = std::sin(a);
    for (int i = 0; i < n; ++i) {
        const double x = shape[i].x, y = shape[i].y;
        out[i] = Point{centre.x + static_cast<std::int32_t>(round(x * c - y * s, 0)),
                       centre.y + static_cast<std::int32_t>(round(x * s + y * c, 0))};
    }
}

namespace {

// An offset of length d toward bearing a degrees (0 up, 90 right), each
// coordinate truncated toward zero.
Point BearingOffset(double a, double d) {
    const long double rad = deg2rad(a);
    return Point{static_cast<std::int32_t>(d * std::sin(static_cast<double>(rad))),
                 static_cast<std::int32_t>(d * std::cos(static_cast<double>(rad)))};
}

void Stroke(Point from, Point to) {
    GD_Line(14, from.x, from.y, to.x, to.y);
}

// The outline of an arrow procedure turned to the object's orientation about
// its centre of gravity: false below scale exponent -1, without a centre or
// without attribute 85 (a not-a-number orientation counts as absent).
bool TurnedArrow(TMapContext* context, GdbObject* object, MapObject* geometry, const Point* shape,
                 int n, Point* out) {
    Point centre;
    if (!geometry || !geometry->CentreOfGravity(centre)) return false;
    float orientation;
    if (!AttrFloat(object, 85, orientation)) return false;
    RotateAbout(shape, n, OrientationAngle(context, orientation), centre, out);
    return true;
}

bool Visible(TMapContext* context) {
    return context && context->scaleExponent >= -1;
}

} // namespace

// A radio station: a circle (as large as its label) with two strokes that
// meet at twice its radius in the direction of the orientation, and a second
// point opposite for two-way traffic (attribute 112 = 4).
void Int1Proc119(TMapContext* context, GdbObject* object, MapObject* geometry) {
    Point p;
    if (!FirstPoint(geometry, p)) return;
    int r = 10;
    char* text = nullptr;
    if (AttrText(object, 62, text) && text[0]) {
        GD_SelFont(-1);
        const int w = GD_TextWidth(text), h = GD_TextHeight(text);
        r = std::max(w, h);
        GD_WriteXY(14, p.x - w / 2, p.y - h / 2, text);
    }
    GD_Ellipse(14, false, p.x, p.y, r, r);

    float orientation;
    if (!AttrFloat(object, 85, orientation)) return;
    const double theta = static_cast<double>(orientation) - WindowAzimuth(context, 0);
    const Point a = BearingOffset(theta - 30, r);
    const Point b = BearingOffset(theta + 30, r);
    const Point t = BearingOffset(theta, 2.0 * r);
    const auto plus = [&](Point o) { return Point{p.x + o.x, p.y + o.y}; };
    const auto minus = [&](Point o) { return Point{p.x - o.x, p.y - o.y}; };
    unsigned traffic = 0;
    if (AttrByte(object, 112, traffic) && traffic == 4) {
        Stroke(minus(a), minus(t));
        Stroke(minus(b), minus(t));
    }
    Stroke(plus(a), plus(t));
    Stroke(plus(b), plus(t));
}

// A line labelled with its bearing: solid for category 1, dashed otherwise,
// with the direction glyphs of attribute 112.
void Int1Proc125(TMapContext* context, GdbObject* object, MapObject* geometry) {
    unsigned category = 0;
    AttrByte(object, 40, category);
    // The orientation as " %3.1f " (a float's widest fixed form has 39
    // digits before the point).
    float orientation;
    char label[64] = " ";
    bool hasLabel = AttrFloat(object, 85, orientation);
    if (hasLabel) {
        const int n = formatFloat(orientation, label + 1, sizeof label - 2, 3, 1);
        hasLabel = n > 0;
        if (hasLabel) {
            label[n + 1] = ' ';
            label[n + 2] = '\0';
        }
    }
    if (context && context->details == 1) prSimpleLine(context, geometry, 15, 3, 0);

    TLineMarker* t = LineElementTemplates.data();
    TStyledLine style{0, 0, {}, nullptr};
    const auto add = [&](TLineMarker& element, int count, int colour) {
        element.count = static_cast<std::int16_t>(count);
        element.colour = static_cast<std::uint8_t>(colour);
        style.elements[style.count++] = &element;
    };
    std::optional<TemplateText> text;
    const bool labelled = hasLabel && !(context && context->details == 0x8000);
    if (labelled) {
        text.emplace(t[8], label);
        t[8].colour = 0;
        style.elements[style.count++] = &t[8];
        if (category == 1)
            add(t[0], 100, 0);
        else
            add(t[2], 200, 0);
    } else if (category == 1) {
        add(t[0], 150, 0);
    } else {
        add(t[2], 150, 0);
    }

    // A solid piece of 20 pixels between the two direction glyphs of two-way
    // traffic.
    TLineMarker piece{kMarkerStroke, kMarkerToVertex, 0, 0, 0, 20, 1, nullptr};
    unsigned traffic = 0;
    AttrByte(object, 112, traffic);
    if (traffic == 4) {
        add(t[20], 1, 0);
        style.elements[style.count++] = &piece;
        add(t[19], 1, 0);
    } else if (traffic == 3) {
        add(t[19], 1, 14);
    }
    // Template 0 closes the line with whatever count and colour it holds.
    style.endMarker = &t[0];
    prComplexLine(context, &style, geometry);
}

// A dashed single arrow.
void Int1Proc126(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!Visible(context)) return;
    Point outline[kSingleArrowPoints];
    if (!TurnedArrow(context, object, geometry, kSingleArrow, kSingleArrowPoints, outline)) return;
    GD_DashPolyline(14, 0x3333, kSingleArrowPoints, outline);
}

// A solid single arrow.
void Int1Proc162(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!Visible(context)) return;
    Point outline[kSingleArrowPoints];
    if (!TurnedArrow(context, object, geometry, kSingleArrow, kSingleArrowPoints, outline)) return;
    GD_Polyline(14, kSingleArrowPoints, outline);
}

// A dashed double arrow, then the object's own line.
void Int1Proc167(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!Visible(context)) return;
    Point outline[kDoubleArrowPoints];
    if (TurnedArrow(context, object, geometry, kDoubleArrow, kDoubleArrowPoints, outline))
        GD_DashPolyline(14, 0x1F1F, kDoubleArrowPoints, outline);
    prSimpleLine(context, geometry, 14, 1, 0x1F1F);
}

// A compass star of four quarters, each an outlined and a filled point of
// two, inside a circle of radius 22.
void Int1Proc191(TMapContext*, GdbObject*, MapObject* geometry) {
    static constexpr Point kQuarters[4][4] = {
        {{0, 0}, {0, 20}, {4, 8}, {0, 0}},
        {{0, 0}, {4, 8}, {12, 12}, {0, 0}},
        {{0, 0}, {12, 12}, {8, 4}, {0, 0}},
        {{0, 0}, {8, 4}, {20, 0}, {0, 0}},
    };
    Point p;
    if (!FirstPoint(geometry, p)) return;
    double a = 0;
    for (int turn = 0; turn < 4; ++turn, a += std::numbers::pi / 2) {
        for (int k = 0; k < 4; ++k) {
            Point shape[4];
            RotateAbout(kQuarters[k], 4, a, p, shape);
            if (k % 2 == 0)
                GD_Polyline(14, 4, shape);
            else
                GD_Polygon(14, 4, shape);
        }
    }
    GD_Ellipse(14, false, p.x, p.y, 22, 22);
}
