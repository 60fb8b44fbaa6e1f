// The light procedure (object code 86): from a light's sector limits,
// colours, range and orientation, a flare, an all-round circle, or coloured
// sector arcs with their legs; filled forms for the detailed views.
//
// Angles are bearings on the window (y up): a point at angle a and distance d
// from the light is (x + d sin a, y + d cos a). Sector limits are bearings
// from seaward toward the light, so the light shines on the bearings
// limit + 180 as seen from it: a sector covers the bearings clockwise from
// a1 to a2, which GD_Arc and GD_Pie draw when given a2 first.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "geo/GeoPoint.h"
#include "graphics/GraphicsPrimitives.h"
#include "procedures/AttributeReads.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/OrientedSymbols.h"
#include "procedures/SymbolPlacement.h"
#include "proj/Map.h"
#include "rendering/Renderers.h"
#include "runtime/intmath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int kMaxLightColours = 10;

// Chart colours of the light colour codes 0 to 12 (a code of 13 or more takes
// entry 0), in the normal presentation and in presentation mode 1.
constexpr int kLightColours[13] = {14, 11, 14, 2, 4, 7, 11, 14, 14, 2, 14, 2, 14};
constexpr int kLightColoursMode1[13] = {22, 24, 22, 22, 23, 23, 24, 22, 22, 22, 22, 22, 22};

// The largest range a 16-bit attribute in tenths holds, nautical miles.
constexpr double kMaxRange = 6553.5;

struct Light {
    bool hasLimit1 = false, hasLimit2 = false, hasOrientation = false;
    double limit1 = 0, limit2 = 0; // degrees
    double range = 4.0;            // nautical miles
    double orientation = 0;        // degrees
    int colours[kMaxLightColours] = {};
    int colourCount = 0;
};

// Reads the light's values by walking its attributes; colours go through the
// table of the presentation mode.
Light ReadLight(GdbObject* object, int presMode) {
    Light light;
    const int* table = presMode == 1 ? kLightColoursMode1 : kLightColours;
    for (TGdbAttr* attr = object->FirstAttr(); attr; attr = object->NextAttr()) {
        float value;
        switch (attr->GetLabel()) {
        case 100:
            if (AttrFloat(attr, value)) {
                light.limit1 = value * 0.1;
                light.hasLimit1 = true;
            }
            break;
        case 101:
            if (AttrFloat(attr, value)) {
                light.limit2 = value * 0.1;
                light.hasLimit2 = true;
            }
            break;
        case 115:
            // A range beyond what the attribute can hold (a float from another
            // database) is kept within it, so the radius stays a pixel count.
            if (AttrFloat(attr, value)) light.range = std::clamp(value * 0.1, 0.0, kMaxRange);
            break;
        case 85:
            if (AttrFloat(attr, value)) {
                light.orientation = value;
                light.hasOrientation = true;
            }
            break;
        case 59: {
            AttrList list;
            if (AttrListOf(attr, list)) {
                light.colourCount = static_cast<int>(
                    std::min<unsigned>(list.count, static_cast<unsigned>(kMaxLightColours)));
                for (int i = 0; i < light.colourCount; ++i)
                    light.colours[i] = table[list.values[i] < 13 ? list.values[i] : 0];
            }
            break;
        }
        default:
            break;
        }
    }
    return light;
}

enum class SectorForm { None, Narrow, Wide };

// Narrow is a single bearing: limits less than half a degree apart, also
// across north (359.8 and 0.1); a difference of exactly 360 is a full turn.
SectorForm FormOf(const Light& light) {
    if (!light.hasLimit1 || !light.hasLimit2) return SectorForm::None;
    const double diff = std::fabs(light.limit1 - light.limit2);
    if (diff < 0.5 || (diff > 359.5 && diff < 360.0)) return SectorForm::Narrow;
    return SectorForm::Wide;
}

// The radius on a map of the navigation program's detailed views: the range
// in plane units at the map's scale, at most the window's diagonal. 0 for a
// map without extent.
int MapRadius(const Map* map, double range) {
    if (!map) return 0;
    const double w1 = double(map->windowPlane.right) - map->windowPlane.left;
    const double h1 = double(map->windowPlane.bottom) - map->windowPlane.top;
    const double w2 = double(map->windowMap.right) - map->windowMap.left;
    if (w1 <= 0 || w2 <= 0) return 0;
    const double r = range * 1852.0 / map->scale / (0.001 * w2 / w1);
    const std::int64_t diagonal = round(std::sqrt(w1 * w1 + h1 * h1), 0);
    return static_cast<int>(std::min(round(r, 0), diagonal));
}

// The point at bearing a (degrees) and distance d from p, rounded.
Point At(Point p, double a, double d) {
    const double rad = static_cast<double>(deg2rad(a));
    return Point{p.x + static_cast<std::int32_t>(round(d * std::sin(rad), 0)),
                 p.y + static_cast<std::int32_t>(round(d * std::cos(rad), 0))};
}

void Line(int colour, Point a, Point b) {
    GD_Line(colour, a.x, a.y, b.x, b.y);
}

// A thick line in the light's colour with a dashed one-pixel line over it.
void Bearing(int colour, Point from, Point to) {
    GD_SetLineWidth(3);
    Line(colour, from, to);
    GD_SetLineWidth(1);
    Point pts[2] = {from, to};
    GD_DashPolyline(0, 0x9999, 2, pts);
}

// The bisector of two angles along the shorter way between them.
double ShortMean(double a1, double a2) {
    if (std::fabs(a1 - a2) > 180) (a1 < a2 ? a1 : a2) += 360;
    return (a1 + a2) / 2;
}

// Fill switches of the filled forms: exclusive-or in presentation mode 1.
void FillOn(int presMode, short pattern) {
    GD_SetXorFill(presMode == 1);
    GD_SetAreaPattern(pattern);
}
void FillOff() {
    GD_SetAreaPattern(0);
    GD_SetXorFill(false);
}

// Kinds 2 and 3 (lights on their own): 1 and 2, the light's symbol element.
int OwnElement(int kind) {
    return kind == 2 ? 1 : 2;
}

} // namespace

void Int1Proc86(TMapContext* context, GdbObject* object, MapObject* geometry) {
    Point p;
    if (!context || !object || !FirstPoint(geometry, p)) return;
    const int details = context->details;
    const int presMode = context->presMode;
    const Light light = ReadLight(object, presMode);
    const int kind = object->HasParent() ? 1 : light.range <= 15 ? 2 : 3;
    const SectorForm form = FormOf(light);
    const double azimuth = WindowAzimuth(context, 0);

    // A light without colours shows only its own symbol.
    if (light.colourCount > 0) {
        int r;
        if (details < 1) {
            r = static_cast<int>(round(light.range, 0)) * 2 + 10;
            const int exponent = context->scaleExponent;
            if (exponent == 1 || exponent == 2)
                r *= exponent;
            else if (exponent > 2)
                r *= 2;
        } else {
            r = MapRadius(context->map, light.range);
        }
        const unsigned char outline = light.range > 15 ? 3 : 2;
        const int first = light.colours[0];

        if (form == SectorForm::None && (light.range > 5 || details >= 1)) {
            if (details < 2) {
                // One ring per colour, 3 pixels apart; none below a radius of 1.
                GD_SetLineWidth(outline);
                for (int i = 0; i < light.colourCount && r - 3 * i >= 1; ++i)
                    GD_Circle(light.colours[i], p.x, p.y, r - 3 * i);
                GD_SetLineWidth(1);
            } else {
                GD_SetLineWidth(2);
                FillOn(presMode, 12);
                GD_FillCircle(first, p.x, p.y, r);
                FillOff();
                GD_SetLineWidth(1);
            }
        } else if (form == SectorForm::None) {
            // The flare: one per colour, fanned out by 45 degrees; flares on a
            // buoy or beacon continue the fan of the structure's earlier ones.
            std::int64_t angle;
            if (light.hasOrientation)
                angle = 360 - round(std::fmod(light.orientation - azimuth, 360.0), 0);
            else
                angle = kind == 1 ? 360 - 135 : 360 - 45;
            const int step = kind == 1 ? -45 : 45;
            if (kind == 1) {
                angle = (angle + std::int64_t(step) * LightStackCount) % 360;
                p.x += StructureAnchors[1].x;
                p.y += StructureAnchors[1].y;
            } else if (OwnElement(kind) <= SymbolElementTop) {
                const Point offset = SymbolElements[OwnElement(kind)].anchors[0];
                p.x += offset.x;
                p.y += offset.y;
            }
            for (int i = 0; i < light.colourCount; ++i) {
                PLDrawSymbol(3, light.colours[i], p, static_cast<int>(angle), 0);
                LightStackCount =
                    static_cast<std::int32_t>(static_cast<std::uint32_t>(LightStackCount) + 1u);
                angle += step;
            }
        } else {
            // A limit of exactly 360 is north, 0.
            const double l1 = light.limit1 == 360.0 ? 0.0 : light.limit1;
            const double l2 = light.limit2 == 360.0 ? 0.0 : light.limit2;
            const double a1 = l1 + 180 - azimuth;
            const double a2 = l2 + 180 - azimuth;
            if (details < 1) {
                if (form == SectorForm::Narrow) {
                    const double m = ShortMean(a1, a2);
                    Bearing(first, At(p, m, 5), At(p, m, r));
                } else {
                    GD_SetLineWidth(outline);
                    for (int i = 0; i < light.colourCount && r - 3 * i >= 1; ++i)
                        GD_Arc(light.colours[i], r - 3 * i, p.x, p.y, a2, a1);
                    GD_SetLineWidth(1);
                    if (a1 != a2 && std::fabs(a2 - a1) != 360.0) {
                        Line(0, p, At(p, a1, r + 5));
                        Line(0, p, At(p, a2, r + 5));
                    }
                }
            } else if (details == 1) {
                if (form == SectorForm::Narrow) {
                    Bearing(first, p, At(p, a1, r));
                } else {
                    // The band 3 pixels wide inside each leg meets itself on
                    // the bisector at d; the second limit is taken clockwise
                    // after the first, so the bisector lies inside the sector
                    // also across north, and equal limits are a full turn.
                    const double b2 = a2 <= a1 ? a2 + 360 : a2;
                    const double m = (a1 + b2) / 2;
                    const double sinH = std::sin(static_cast<double>(deg2rad(m - a1)));
                    const double d = sinH > 0 ? 3 / sinH : std::numeric_limits<double>::infinity();
                    if (r > d) {
                        FillOn(presMode, 13);
                        const double e = static_cast<double>(rad2deg(std::asin(3.0 / r)));
                        const double q = r / std::cos(std::asin(3.0 / r));
                        Point band[7] = {p,
                                         At(p, a1, r),
                                         At(p, a1 + e, q),
                                         At(p, m, d),
                                         At(p, b2 - e, q),
                                         At(p, a2, r),
                                         p};
                        GD_Polygon(first, 7, band);
                        FillOff();
                    } else {
                        GD_SetLineWidth(1);
                        FillOn(presMode, 8);
                        GD_Pie(first, r, p.x, p.y, a2, a1);
                        FillOff();
                    }
                    Line(0, p, At(p, a1, r));
                    Line(0, p, At(p, a2, r));
                }
            } else {
                GD_SetLineWidth(1);
                FillOn(presMode, 12);
                GD_Pie(first, r, p.x, p.y, a2, a1);
                FillOff();
            }
        }
    }

    if (kind != 1) PLDrawSymbol(OwnElement(kind), 0, p, 0, 0);
}
