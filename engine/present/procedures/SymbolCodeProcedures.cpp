// Objects that name their own chart symbol: attribute 129 holds a symbol
// code ("IN12.8", "IQ130.2"), and the procedure draws what belongs to it:
// point figures (192), line styles (193) and area fills (194).
//
// The code is put into upper case where it is stored, so it matches the
// tables without regard to case and later readers see it in capitals. Each
// table is searched in its order and the first row naming the code decides.
#include "procedures/Int1Procs.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/LineElementTemplates.h"
#include "procedures/OrientedSymbols.h"
#include "procedures/SymbolPlacement.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"
#include "util/textCase.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace {

constexpr unsigned short kSolid = 0;
constexpr unsigned short kDashed = 0x1F1F;

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

bool reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

// The symbol code of attribute 129, put into upper case in place; null when
// the attribute is absent.
const char* SymbolCode(GdbObject* object) {
    char* code = nullptr;
    if (!AttrText(object, 129, code)) return nullptr;
    upperCase1252(code);
    return code;
}

// Whether code is one of the blank-separated codes of list, exactly.
bool Listed(const char* list, const char* code) {
    const std::string_view wanted(code);
    std::string_view rest(list);
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == wanted) return true;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return false;
}

// ---------------------------------------------------------------- lines

// A plain line of width 1.
struct SimpleRow {
    const char* codes;
    int colour;
    unsigned short pattern;
};

constexpr SimpleRow kSimpleLines[] = {
    {"IC25 IC33 IJ20", 0, 0x3333},
    {"ID16 IF33.2 IK21 IK31 IK40 IQ44 IN61 IN62.1 IN62.2", 0, 0x0F0F},
    {"IF33.1 IH40 IH41 IH42 IH43 IH44 IK2 IO14", 0, kSolid},
    {"II20 II21 II22 II25 II31 IJ13.2", 0, 0x1F1F},
    {"IK1 IK16 IK17 IK22 IK25 IK46.1 IK46.2", 0, 0x9999},
    {"IK44.2", 14, 0x3333},
    {"IK48.1 IL4", 14, 0x1F1F},
    {"IM11 IM15 IM28.1 IN22 IN49 IN63", 14, 0x0F0F},
    {"IM40", 14, kSolid},
    {"IQ130.2", 2, kSolid},
};

// A template as a composition names it: its index, the count and colour
// written into the shared record before the call (kKeep: as it stands), and
// for a text template the text it carries. Index -1 ends a list.
constexpr int kKeep = -1;
struct Use {
    int index = -1;
    int count = kKeep;
    int colour = kKeep;
    const char* text = nullptr;
};
constexpr Use T(int index, int count = kKeep, int colour = kKeep) {
    return Use{index, count, colour, nullptr};
}
constexpr Use End(int index, int colour) {
    return Use{index, kKeep, colour, nullptr};
}

constexpr int kMaxUses = 10;
// Not reduced under EDetails 0x8000.
constexpr int kNotReduced = -1;

struct StyledRow {
    const char* codes;
    Use elements[kMaxUses];
    Use end; // index -1: no end marker
    // Under EDetails 0x8000 the line is drawn plain dashed in this colour
    // instead, or kNotReduced.
    int reducedColour = kNotReduced;
};

const StyledRow kStyledLines[] = {
    {"IJ21 IK11 IN60.1 IN60.2", {T(12, 1), T(13, 1)}, End(0, 0)},
    {"IJ22", {T(11, 1)}, End(0, 0)},
    {"IK44.1", {T(27, 10)}, End(0, 0)},
    {"IL30.2", {T(9, 10), T(10, 10)}, End(0, 14)},
    {"IL31.2", {T(9, 5), T(10, 5), T(40, 1), T(10, 5)}, End(0, 14)},
    {"IL32", {T(10, 6), T(6, 10)}, End(0, 14)},
    {"IL40.1", {T(16, 1)}, {}},
    {"IL40.2", {T(9, 4, 14), T(16, 4, 14)}, End(0, 14)},
    {"IL41.2", {T(32, 4), T(31, 4)}, End(0, 0)},
    {"IL43", {T(31, 4)}, {}},
    {"IM24 IM29.1", {T(9, 4, 14)}, End(0, 14)},
    {"IN1.1", {T(9, 100)}, End(0, 0)},
    {"IN1.2", {T(9, 100)}, End(0, 14)},
    {"IN2.1 IN2.2 IN23.1 IN23.2 IN24 IN31 IN34", {T(9, 100)}, End(0, 14)},
    {"IN12.1 IN12.5 IN12.7 IN12.9", {T(2, 150, 14), T(34, 1, 14)}, End(0, 14)},
    {"IN12.8", {T(2, 150, 14), T(44, 1, 14), T(34, 1, 14)}, End(0, 14)},
    {"IN20", {T(9, 10), T(36, 1)}, End(0, 14)},
    {"IN21", {T(9, 10), T(39, 1)}, End(0, 14)},
    {"IN30", {T(2, 200, 14), T(42, 1, 14)}, End(0, 14)},
    {"IN32", {T(2, 200, 14), T(43, 1, 14)}, End(0, 14)},
    {"IN40", {T(6, 3), T(33, 1), T(6)}, {}},
    {"IN41", {T(2, 1, 14), T(15, 1)}, End(0, 14)},
    {"IN42", {T(0, 200), T(22, 1)}, End(0, 14)},
    {"IN43", {T(0, 200, 14), T(6, 3), T(15, 1), T(6), T(15), T(6)}, {}},
    {"IN44", {T(0, 200), T(6, 3), T(15, 1), T(6)}, End(0, 14)},
    {"IN45", {T(0, 150), T(37, 1, 14)}, End(0, 14), 14},
    {"IN47", {T(0, 100, 14), T(6, 2), Use{7, kKeep, 14, "EEZ"}, T(6)}, {}, 14},
    {"IN48", {T(2, 200, 14), T(35, 1, 14)}, End(0, 14), 14},
    {"INC", {T(0), T(37, 1, 14), T(0, 100), T(6, 3), T(15, 1), T(6), T(15), T(6)}, End(0, 14), 14},
    {"IB82.1 IB82.2", {T(24, 10)}, End(0, 0), 0},
};

// Writes what a use names into its shared record and answers the record.
TLineMarker& Apply(const Use& use) {
    TLineMarker& t = LineElementTemplates[static_cast<std::size_t>(use.index)];
    if (use.count != kKeep) t.count = static_cast<std::int16_t>(use.count);
    if (use.colour != kKeep) t.colour = static_cast<std::uint8_t>(use.colour);
    return t;
}

void DrawStyled(TMapContext* context, MapObject* geometry, const StyledRow& row) {
    if (row.reducedColour != kNotReduced && reduced(context)) {
        prSimpleLine(context, geometry, row.reducedColour, 1, kDashed);
        return;
    }
    TStyledLine style{0, 0, {}, nullptr};
    // A text template carries the row's text for the call only.
    char text[16] = "";
    std::optional<TemplateText> carried;
    for (const Use& use : row.elements) {
        if (use.index < 0) break;
        TLineMarker& t = Apply(use);
        if (use.text) {
            std::strncpy(text, use.text, sizeof text - 1);
            carried.emplace(t, text);
        }
        style.elements[style.count++] = &t;
    }
    if (row.end.index >= 0) style.endMarker = &Apply(row.end);
    prComplexLine(context, &style, geometry);
}

// ---------------------------------------------------------------- points

enum class Figure {
    Buoyage,      // the direction of buoyage: three outline glyphs, turned
    Arrow,        // an arrow with a straight shaft
    ChevronArrow, // the same with six chevrons on its shaft
    WavyArrow,    // an arrow with a wavy shaft
    SolidArrow,   // the single arrow outline, solid
    DashedArrow,  // the single arrow outline, dashed
    BenchMark,    // glyph 26 of font 35
};

struct FigureRow {
    const char* code;
    Figure figure;
};

constexpr FigureRow kFigures[] = {
    {"IQ130.2", Figure::Buoyage}, {"IH41", Figure::Arrow},      {"IH42", Figure::ChevronArrow},
    {"IH43", Figure::WavyArrow},  {"IM10", Figure::SolidArrow}, {"IM11", Figure::DashedArrow},
    {"IB23", Figure::BenchMark},
};

// The arrows' parts in pixel offsets pointing north, unturned.
constexpr Point kArrowHead[] = {{-4, 10}, {0, 14}, {4, 10}};
constexpr Point kShaft[] = {{0, 14}, {0, -14}};
constexpr Point kWavyShaft[] = {{0, 14},   {0, 8},    {-3, 5},  {-3, 3},  {3, 0},
                                {3, -2},   {-3, -5},  {-3, -7}, {3, -10}, {3, -12},
                                {-3, -15}, {-3, -17}, {0, -20}};
constexpr int kChevrons = 6;

// One part turned by a about the point, as a solid line in colour 0.
template <int N> void TurnedPart(const Point (&shape)[N], double a, Point at) {
    Point out[N];
    RotateAbout(shape, N, a, at, out);
    GD_Polyline(0, N, out);
}

void DrawFigure(TMapContext* context, GdbObject* object, Figure figure, Point at) {
    switch (figure) {
    case Figure::Buoyage: {
        float value;
        if (!AttrFloat(object, 130, value)) return;
        const double angle = 360.0 - value + WindowAzimuth(context, 0);
        const int exponent = context ? context->scaleExponent : 0;
        const int scale = exponent < 0 ? exponent + 2 : 2;
        GD_SelFont(34);
        GD_VectCharXY(14, at.x, at.y, 1, angle, scale, 1);
        GD_VectCharXY(2, at.x, at.y, 2, angle, scale, 1);
        GD_VectCharXY(4, at.x, at.y, 3, angle, scale, 1);
        return;
    }
    case Figure::Arrow:
    case Figure::ChevronArrow:
    case Figure::WavyArrow: {
        float orientation;
        if (!AttrFloat(object, 85, orientation)) return;
        const double a = OrientationAngle(context, orientation);
        TurnedPart(kArrowHead, a, at);
        if (figure == Figure::WavyArrow) {
            TurnedPart(kWavyShaft, a, at);
            return;
        }
        TurnedPart(kShaft, a, at);
        if (figure == Figure::ChevronArrow)
            for (int i = 0; i < kChevrons; ++i) {
                const Point chevron[] = {{-4, -8 - 2 * i}, {0, -4 - 2 * i}, {4, -8 - 2 * i}};
                TurnedPart(chevron, a, at);
            }
        return;
    }
    case Figure::SolidArrow:
    case Figure::DashedArrow: {
        float orientation;
        if (!AttrFloat(object, 85, orientation)) return;
        Point outline[kSingleArrowPoints];
        RotateAbout(kSingleArrow, kSingleArrowPoints, OrientationAngle(context, orientation), at,
                    outline);
        if (figure == Figure::SolidArrow)
            GD_Polyline(14, kSingleArrowPoints, outline);
        else
            GD_DashPolyline(14, 0x3333, kSingleArrowPoints, outline);
        return;
    }
    case Figure::BenchMark:
        GD_SelFont(35);
        GD_CharXY(0, at.x, at.y, 26);
        return;
    }
}

// ---------------------------------------------------------------- areas

enum class AreaStyle {
    LetterPattern, // the letter 'O' tiled over the area
    FillAndLine,   // a fill in colour 1 and a dashed boundary
    DottedLine,    // a boundary of short dashes
};

struct AreaRow {
    const char* code;
    AreaStyle style;
};

constexpr AreaRow kAreas[] = {
    {"IH44", AreaStyle::LetterPattern},
    {"II25", AreaStyle::FillAndLine},
    {"IN62.1", AreaStyle::DottedLine},
};

} // namespace

void Int1Proc192(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (reduced(context)) return;
    const char* code = SymbolCode(object);
    if (!code) return;
    for (const FigureRow& row : kFigures) {
        if (std::strcmp(row.code, code) != 0) continue;
        Point at;
        if (SymbolPosition(geometry, at)) DrawFigure(context, object, row.figure, at);
        return;
    }
}

void Int1Proc193(TMapContext* context, GdbObject* object, MapObject* geometry) {
    const char* code = SymbolCode(object);
    if (!code) return;
    for (const SimpleRow& row : kSimpleLines)
        if (Listed(row.codes, code)) {
            prSimpleLine(context, geometry, row.colour, 1, row.pattern);
            return;
        }
    for (const StyledRow& row : kStyledLines)
        if (Listed(row.codes, code)) {
            DrawStyled(context, geometry, row);
            return;
        }
    prSimpleLine(context, geometry, 14, 1, kDashed);
}

void Int1Proc194(TMapContext* context, GdbObject* object, MapObject* geometry) {
    const char* code = SymbolCode(object);
    if (!code) return;
    for (const AreaRow& row : kAreas) {
        if (std::strcmp(row.code, code) != 0) continue;
        switch (row.style) {
        case AreaStyle::LetterPattern: {
            TLineMarker& element = LineElementTemplates[45];
            element.character = 'O';
            TStyledArea pattern{0, 1, {&element}};
            PLComplexArea(context, &pattern, geometry);
            break;
        }
        case AreaStyle::FillAndLine:
            prArea(context, geometry, 1, 0);
            prSimpleLine(context, geometry, 14, 1, kDashed);
            break;
        case AreaStyle::DottedLine:
            prSimpleLine(context, geometry, 0, 1, 0x0F0F);
            break;
        }
        return;
    }
}
