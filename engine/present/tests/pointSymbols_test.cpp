// Point symbols of the codes 1 to 96: the glyph (and word) each attribute
// value selects, at a point, at an area's centre of gravity after its
// boundary or fill, and at a line's first corner; the styled boundaries they
// build from the shared templates; what areas without a centre and objects
// without geometry get.
#include "procedureKit.h"
#include "symbolCases.h"

#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using symbols::Case;
using symbols::ellipse;
using symbols::expectCases;
using symbols::glyph;
using symbols::Lines;
using symbols::offset;
using symbols::text;

// A point, a line whose first point is not the first corner of its bounds,
// and an area (clockwise, y up) with its centre of gravity and first corner.
const kit::Geometry kPoint = kit::point(-30, 40);
const Point P{-30, 40};
const kit::Geometry kLine = kit::line({{-60, 10}, {40, -30}, {100, 50}});
const Point L{-60, -30};
const kit::Geometry kArea = kit::area({{10, -50}, {10, 70}, {110, 70}, {110, -50}});
const Point C{60, 10};
const Point A1{10, -50};

// Half a symbol to the right, as the words beside a glyph stand.
Point right(Point at) {
    return offset(at, 12, -12);
}

const std::string kLine0 = "line c0 w1 0000";
const std::string kEnd14 = " end stroke 0000 w1 n1 c14 f1";

class PointSymbols : public kit::ProcedureTest {};

TEST_F(PointSymbols, GlyphsBoundariesAndFills) {
    const std::vector<Case> cases{
        {"1 point", Int1Proc1, {}, kPoint, {glyph(35, 0, 0, P)}},
        {"1 line", Int1Proc1, {}, kLine, {glyph(35, 0, 0, L)}},
        {"1 area", Int1Proc1, {}, kArea, {kLine0, glyph(35, 0, 0, C)}},
        {"2 point", Int1Proc2, {}, kPoint, {glyph(35, 1, 14, P)}},
        {"2 area: first point", Int1Proc2, {}, kArea, {glyph(35, 1, 14, A1)}},
        {"3 point: swinging circle",
         Int1Proc3,
         {},
         kPoint,
         {glyph(35, 2, 14, P), ellipse(14, true, 14, P)}},
        {"3 line", Int1Proc3, {}, kLine, {glyph(35, 2, 14, L)}},
        {"3 area", Int1Proc3, {}, kArea, {"line c14 w1 3333", glyph(35, 2, 14, C)}},
        {"11 point", Int1Proc11, {}, kPoint, {glyph(35, 7, 2, P)}},
        {"11 line", Int1Proc11, {}, kLine, {kLine0, glyph(35, 7, 2, L)}},
        {"11 area", Int1Proc11, {}, kArea, {"fill c16 p0", kLine0, glyph(35, 7, 2, C)}},
        {"14 point", Int1Proc14, {}, kPoint, {glyph(35, 18, 0, P)}},
        {"14 line", Int1Proc14, {}, kLine, {glyph(35, 18, 0, L)}},
        {"14 area: fill, no glyph", Int1Proc14, {}, kArea, {"fill c0 p8"}},
        {"14 area reduced: boundary", Int1Proc14, {}, kArea, {kLine0}, symbols::reduced()},
        {"24 point", Int1Proc24, {}, kPoint, {glyph(35, 19, 0, P)}},
        {"24 area", Int1Proc24, {}, kArea, {kLine0, glyph(35, 19, 0, C)}},
        {"27 point", Int1Proc27, {}, kPoint, {glyph(35, 20, 0, P)}},
        {"27 area", Int1Proc27, {}, kArea, {"line c0 w1 1F1F", glyph(35, 20, 0, C)}},
        {"29 point", Int1Proc29, {}, kPoint, {glyph(35, 21, 14, P)}},
        {"29 line", Int1Proc29, {}, kLine, {glyph(35, 21, 14, L)}},
        {"29 area",
         Int1Proc29,
         {},
         kArea,
         {"styled [glyph 36/1 n10 c0 f0]" + kEnd14, glyph(35, 21, 14, C)}},
        {"32 point", Int1Proc32, {}, kPoint, {glyph(35, 20, 14, P)}},
        {"32 area: glyph only", Int1Proc32, {}, kArea, {glyph(35, 20, 14, C)}},
        {"33 point", Int1Proc33, {}, kPoint, {glyph(33, 104, 0, P)}},
        {"33 area", Int1Proc33, {}, kArea, {kLine0, glyph(33, 104, 0, C)}},
        {"34 point", Int1Proc34, {}, kPoint, {glyph(35, 17, 0, P), text(-2, "CG", 0, right(P))}},
        {"34 area: first point",
         Int1Proc34,
         {},
         kArea,
         {glyph(35, 17, 0, A1), text(-2, "CG", 0, right(A1))}},
        {"47 point", Int1Proc47, {}, kPoint, {glyph(33, 105, 0, P)}},
        {"47 area: first point", Int1Proc47, {}, kArea, {glyph(33, 105, 0, A1)}},
        {"52 point", Int1Proc52, {}, kPoint, {glyph(35, 20, 14, P)}},
        {"52 area",
         Int1Proc52,
         {},
         kArea,
         {"styled [glyph 36/1 n10 c0 f0]" + kEnd14, glyph(35, 20, 14, C)}},
        {"60 point", Int1Proc60, {}, kPoint, {glyph(35, 29, 0, P)}},
        {"60 area", Int1Proc60, {}, kArea, {"fill c9 p0", "line c0 w1 9999", glyph(35, 29, 0, C)}},
        {"64 point", Int1Proc64, {}, kPoint, {glyph(33, 106, 0, P)}},
        {"64 area: first point", Int1Proc64, {}, kArea, {glyph(33, 106, 0, A1)}},
        {"65 point", Int1Proc65, {}, kPoint, {glyph(33, 107, 0, P)}},
        {"65 area", Int1Proc65, {}, kArea, {"line c0 w1 9999", glyph(33, 107, 0, C)}},
        {"67 point without parent", Int1Proc67, {}, kPoint, {glyph(35, 32, 14, P)}},
        {"67 area: first point", Int1Proc67, {}, kArea, {glyph(35, 32, 14, A1)}},
        {"75 point", Int1Proc75, {}, kPoint, {glyph(35, 7, 14, P)}},
        {"75 line", Int1Proc75, {}, kLine, {glyph(35, 7, 14, L)}},
        {"75 area: no glyph", Int1Proc75, {}, kArea, {"fill c12 p0", kLine0}},
        {"77 point", Int1Proc77, {}, kPoint, {glyph(35, 20, 14, P)}},
        {"77 area", Int1Proc77, {}, kArea, {"line c0 w1 1F1F", glyph(35, 20, 14, C)}},
        {"81 point", Int1Proc81, {}, kPoint, {glyph(35, 75, 0, P)}},
        {"81 rectangle: not a point object",
         Int1Proc81,
         {},
         [] {
             kit::Geometry g = kit::point(-30, 40);
             g.type = egtRect;
             return g;
         }(),
         {}},
        {"81 line", Int1Proc81, {}, kLine, {}},
        {"81 area: fill only", Int1Proc81, {}, kArea, {"fill c12 p0"}},
        {"91 point", Int1Proc91, {}, kPoint, {glyph(35, 20, 14, P)}},
        {"91 area", Int1Proc91, {}, kArea, {"line c0 w1 1F1F", glyph(35, 20, 14, C)}},
        {"92 point", Int1Proc92, {}, kPoint, {glyph(35, 39, 0, P)}},
        {"92 area", Int1Proc92, {}, kArea, {"line c0 w1 1F1F", glyph(35, 39, 0, C)}},
        {"95 point", Int1Proc95, {}, kPoint, {glyph(33, 110, 0, P)}},
        {"95 area: first point", Int1Proc95, {}, kArea, {glyph(33, 110, 0, A1)}},
    };
    expectCases(cases);
}

TEST_F(PointSymbols, GlyphsByAttributeValue) {
    const auto b = [](unsigned code, std::uint8_t v) { return kit::byteAttr(code, v); };
    const auto l = [](unsigned code, std::vector<std::uint8_t> v) {
        return kit::listAttr(code, v);
    };
    const std::vector<Case> cases{
        // Built-up areas by category (41).
        {"12 none", Int1Proc12, {}, kPoint, {glyph(35, 8, 0, P)}},
        {"12 3", Int1Proc12, {b(41, 3)}, kPoint, {glyph(35, 8, 0, P)}},
        {"12 4", Int1Proc12, {b(41, 4)}, kPoint, {glyph(35, 9, 0, P)}},
        {"12 5", Int1Proc12, {b(41, 5)}, kPoint, {glyph(35, 9, 0, P)}},
        {"12 6", Int1Proc12, {b(41, 6)}, kPoint, {glyph(35, 9, 0, P)}},
        {"12 7", Int1Proc12, {b(41, 7)}, kPoint, {glyph(35, 10, 0, P)}},
        {"12 8", Int1Proc12, {b(41, 8)}, kPoint, {glyph(35, 11, 0, P)}},
        {"12 9", Int1Proc12, {b(41, 9)}, kPoint, {glyph(35, 12, 0, P)}},
        {"12 area", Int1Proc12, {b(41, 7)}, kArea, {kLine0, glyph(35, 10, 0, C)}},
        // Buildings by their first function (49).
        {"13 none", Int1Proc13, {}, kPoint, {glyph(35, 17, 0, P)}},
        {"13 2", Int1Proc13, {l(49, {2})}, kPoint, {glyph(35, 13, 0, P)}},
        {"13 3", Int1Proc13, {l(49, {3})}, kPoint, {glyph(35, 14, 0, P)}},
        {"13 4", Int1Proc13, {l(49, {4})}, kPoint, {glyph(35, 15, 0, P)}},
        {"13 5: hospital",
         Int1Proc13,
         {l(49, {5})},
         kPoint,
         {glyph(35, 15, 0, P), text(-2, "Hospital", 0, right(P))}},
        {"13 6", Int1Proc13, {l(49, {6})}, kPoint, {glyph(35, 16, 0, P)}},
        {"13 7", Int1Proc13, {l(49, {7})}, kPoint, {glyph(35, 17, 0, P)}},
        {"13 first value only", Int1Proc13, {l(49, {6, 5})}, kPoint, {glyph(35, 16, 0, P)}},
        {"13 area",
         Int1Proc13,
         {l(49, {5})},
         kArea,
         {"fill c16 p0", kLine0, glyph(35, 15, 0, C), text(-2, "Hospital", 0, right(C))}},
        // Control points (9), at the first point.
        {"38 none", Int1Proc38, {}, kPoint, {glyph(35, 12, 0, P)}},
        {"38 1", Int1Proc38, {b(9, 1)}, kPoint, {glyph(35, 23, 0, P)}},
        {"38 2", Int1Proc38, {b(9, 2)}, kPoint, {glyph(35, 24, 0, P)}},
        {"38 3", Int1Proc38, {b(9, 3)}, kPoint, {glyph(35, 25, 0, P)}},
        {"38 4", Int1Proc38, {b(9, 4)}, kPoint, {glyph(35, 26, 0, P)}},
        {"38 5", Int1Proc38, {b(9, 5)}, kPoint, {glyph(35, 12, 0, P)}},
        {"38 area: first point", Int1Proc38, {b(9, 1)}, kArea, {glyph(35, 23, 0, A1)}},
        // Cranes (10).
        {"39 none", Int1Proc39, {}, kPoint, {glyph(35, 27, 0, P)}},
        {"39 1", Int1Proc39, {b(10, 1)}, kPoint, {glyph(35, 27, 0, P)}},
        {"39 2", Int1Proc39, {b(10, 2)}, kPoint, {glyph(35, 28, 0, P)}},
        {"39 3", Int1Proc39, {b(10, 3)}, kPoint, {glyph(35, 25, 0, P)}},
        {"39 4", Int1Proc39, {b(10, 4)}, kPoint, {glyph(35, 27, 0, P)}},
        {"39 area", Int1Proc39, {b(10, 2)}, kArea, {kLine0, glyph(35, 28, 0, C)}},
        // Dams (16): a line draws its ticks and nothing else.
        {"62 none", Int1Proc62, {}, kPoint, {glyph(35, 30, 0, P)}},
        {"62 1", Int1Proc62, {b(16, 1)}, kPoint, {glyph(35, 31, 0, P)}},
        {"62 3", Int1Proc62, {b(16, 3)}, kPoint, {glyph(35, 30, 0, P)}},
        {"62 area", Int1Proc62, {b(16, 1)}, kArea, {"line c0 w1 9999", glyph(35, 31, 0, C)}},
        {"62 line",
         Int1Proc62,
         {b(16, 1)},
         kLine,
         {"styled [glyph 36/19 n10 c0 f0] end stroke 0000 w1 n1 c0 f1"}},
        // Gates (16).
        {"68 none", Int1Proc68, {}, kPoint, {glyph(35, 34, 0, P)}},
        {"68 3", Int1Proc68, {b(16, 3)}, kPoint, {glyph(35, 35, 0, P)}},
        {"68 1", Int1Proc68, {b(16, 1)}, kPoint, {glyph(35, 34, 0, P)}},
        {"68 area", Int1Proc68, {b(16, 3)}, kArea, {kLine0, glyph(35, 35, 0, C)}},
        {"68 line: the line only", Int1Proc68, {b(16, 3)}, kLine, {kLine0}},
        // Harbour facilities by their first status (109).
        {"73 none", Int1Proc73, {}, kPoint, {glyph(35, 38, 14, P)}},
        {"73 1: RoRo", Int1Proc73, {l(109, {1})}, kPoint, {text(-1, "RoRo", 14, P)}},
        {"73 2", Int1Proc73, {l(109, {2})}, kPoint, {glyph(35, 37, 14, P)}},
        {"73 3", Int1Proc73, {l(109, {3})}, kPoint, {glyph(35, 38, 14, P)}},
        {"73 4", Int1Proc73, {l(109, {4})}, kPoint, {glyph(35, 36, 14, P)}},
        {"73 area", Int1Proc73, {l(109, {1})}, kArea, {kLine0, text(-1, "RoRo", 14, C)}},
        // Masts (27), at the first point.
        {"93 none", Int1Proc93, {}, kPoint, {glyph(35, 12, 0, P)}},
        {"93 1", Int1Proc93, {b(27, 1)}, kPoint, {glyph(33, 108, 0, P)}},
        {"93 2", Int1Proc93, {b(27, 2)}, kPoint, {glyph(35, 12, 0, P)}},
        {"93 3",
         Int1Proc93,
         {b(27, 3)},
         kPoint,
         {glyph(35, 12, 0, P), text(-2, "Radar Mast", 0, right(P))}},
        {"93 area: first point", Int1Proc93, {b(27, 1)}, kArea, {glyph(33, 108, 0, A1)}},
        // Mooring facilities (29): areas are filled and get nothing else.
        {"96 none", Int1Proc96, {}, kPoint, {glyph(35, 12, 0, P)}},
        {"96 1", Int1Proc96, {b(29, 1)}, kPoint, {glyph(35, 44, 0, P)}},
        {"96 2", Int1Proc96, {b(29, 2)}, kPoint, {glyph(33, 111, 0, P)}},
        {"96 3",
         Int1Proc96,
         {b(29, 3)},
         kPoint,
         {glyph(35, 12, 0, P), text(-2, "Bol", 0, right(P))}},
        {"96 4", Int1Proc96, {b(29, 4)}, kPoint, {glyph(35, 12, 0, P)}},
        {"96 line", Int1Proc96, {b(29, 1)}, kLine, {glyph(35, 44, 0, L)}},
        {"96 area", Int1Proc96, {b(29, 1)}, kArea, {"fill c12 p0", kLine0}},
    };
    expectCases(cases);
}

TEST_F(PointSymbols, AnchoragesByCategoryWithTheWordToTheLeft) {
    ASSERT_TRUE(kit::haveGuiApplication());
    const auto left = [](Point at, const char* word) {
        return text(-2, word, 14, offset(at, -symbols::textWidth(-2, word) - 12, -12));
    };
    const auto category = [](std::uint8_t v) { return kit::listAttr(3, {v}); };
    const std::string styled = "styled [stroke 0F0F w1 n150 c14 f1; glyph 34/5 n1 c14 f6]" + kEnd14;
    const std::vector<Case> cases{
        {"none", Int1Proc4, {}, kPoint, {glyph(35, 3, 14, P)}},
        {"1", Int1Proc4, {category(1)}, kPoint, {glyph(35, 3, 14, P)}},
        {"2 deep water", Int1Proc4, {category(2)}, kPoint, {glyph(35, 3, 14, P), left(P, "DW")}},
        {"3 tanker", Int1Proc4, {category(3)}, kPoint, {glyph(35, 3, 14, P), left(P, "Tanker")}},
        {"4 explosives", Int1Proc4, {category(4)}, kPoint, {glyph(35, 4, 14, P)}},
        {"5 quarantine", Int1Proc4, {category(5)}, kPoint, {glyph(35, 5, 14, P)}},
        {"6 sea-plane", Int1Proc4, {category(6)}, kPoint, {glyph(35, 5, 14, P)}},
        {"9 24 hours", Int1Proc4, {category(9)}, kPoint, {glyph(35, 3, 14, P), left(P, "24h")}},
        {"first value only", Int1Proc4, {kit::listAttr(3, {1, 4})}, kPoint, {glyph(35, 3, 14, P)}},
        {"line", Int1Proc4, {category(3)}, kLine, {glyph(35, 3, 14, L), left(L, "Tanker")}},
        {"area", Int1Proc4, {category(1)}, kArea, {styled, glyph(35, 3, 14, C)}},
        {"area reduced: dashed boundary",
         Int1Proc4,
         {category(2)},
         kArea,
         {"line c0 w1 1F1F", glyph(35, 3, 14, C), left(C, "DW")},
         symbols::reduced()},
    };
    expectCases(cases);
}

TEST_F(PointSymbols, OffshoreInstallationAreasByTheirList) {
    const auto list = [](std::vector<std::uint8_t> v) { return kit::listAttr(28, v); };
    const std::string dash = "stroke 0F0F w1 n200 c14 f1";
    const std::string fish = "glyph 34/9 n1 c14 f6", noTrawl = "glyph 34/10 n1 c14 f6";
    const std::vector<Case> cases{
        {"point none", Int1Proc94, {}, kPoint, {}},
        {"point 1", Int1Proc94, {list({1})}, kPoint, {glyph(35, 20, 14, P)}},
        {"point 2", Int1Proc94, {list({2})}, kPoint, {glyph(35, 20, 14, P)}},
        {"point 3", Int1Proc94, {list({3})}, kPoint, {glyph(35, 42, 14, P)}},
        {"point 4", Int1Proc94, {list({4})}, kPoint, {glyph(35, 40, 14, P)}},
        {"point 5", Int1Proc94, {list({5})}, kPoint, {glyph(35, 41, 14, P)}},
        {"point 6: no glyph", Int1Proc94, {list({6})}, kPoint, {}},
        {"point: the first match", Int1Proc94, {list({6, 4, 3})}, kPoint, {glyph(35, 40, 14, P)}},
        {"line: the first match", Int1Proc94, {list({5, 3})}, kLine, {glyph(35, 41, 14, L)}},
        {"area none", Int1Proc94, {}, kArea, {"styled [" + dash + "]" + kEnd14}},
        {"area: a glyph element per 4 and 5, the last match",
         Int1Proc94,
         {list({4, 1, 5, 4, 3})},
         kArea,
         {"styled [" + dash + "; " + fish + "; " + noTrawl + "; " + fish + "]" + kEnd14,
          glyph(35, 42, 14, C)}},
        {"area 5",
         Int1Proc94,
         {list({5})},
         kArea,
         {"styled [" + dash + "; " + noTrawl + "]" + kEnd14, glyph(35, 41, 14, C)}},
        {"area reduced: no glyph elements",
         Int1Proc94,
         {list({4, 5})},
         kArea,
         {"styled [" + dash + "]" + kEnd14, glyph(35, 41, 14, C)},
         symbols::reduced()},
    };
    expectCases(cases);

    // The style adds at most 16 elements: the dash and 15 glyphs, however
    // long the list (an element more would be written past the style).
    kit::Trace trace;
    kit::FakeObject area(94);
    area.set(list(std::vector<std::uint8_t>(20, 4))).setGeometry(kArea);
    const kit::Drawing d = kit::run(Int1Proc94, area);
    const std::vector<RendererCall> styled = trace.of(RendererCallKind::ComplexLine);
    ASSERT_EQ(styled.size(), 1u) << trace.log();
    EXPECT_EQ(styled[0].count, 16);
    EXPECT_TRUE(d.hasGlyph(35, 40, 14, C)) << d.log();
    // The glyph templates keep colour 14, the row's colour.
    EXPECT_EQ(LineElementTemplates[42].colour, 14);
}

TEST_F(PointSymbols, TextsAndTheirPlaces) {
    ASSERT_TRUE(kit::haveGuiApplication());
    // Code 10: the berth's one or two characters in a circle of the larger of
    // their width and height, centred on the position.
    const auto berth = [](Point at, const char* name) {
        const int w = symbols::textWidth(-1, name), h = symbols::textHeight(-1, name);
        return Lines{ellipse(14, false, std::max(w, h), at),
                     text(-1, name, 14, offset(at, -(w / 2), -(h / 2)))};
    };
    const auto name = [](const char* t) { return kit::textAttr(80, t); };
    Lines areaBerth{"fill c13 p12"}, lineBerth{kLine0};
    for (const std::string& s : berth(C, "7"))
        areaBerth.push_back(s);
    for (const std::string& s : berth(L, "12"))
        lineBerth.push_back(s);
    const auto dunes = [](Point at) {
        return text(-2, "Sand dunes", 0,
                    offset(at, -(symbols::textWidth(-2, "Sand dunes") / 2), 0));
    };
    const std::vector<Case> cases{
        {"10 one character", Int1Proc10, {name("7")}, kPoint, berth(P, "7")},
        {"10 two characters", Int1Proc10, {name("A2")}, kPoint, berth(P, "A2")},
        {"10 three characters: nothing", Int1Proc10, {name("A12")}, kPoint, {}},
        {"10 empty: nothing", Int1Proc10, {name("")}, kPoint, {}},
        {"10 no name: nothing", Int1Proc10, {}, kPoint, {}},
        {"10 area", Int1Proc10, {name("7")}, kArea, areaBerth},
        {"10 line", Int1Proc10, {name("12")}, kLine, lineBerth},
        {"10 area without a name", Int1Proc10, {}, kArea, {"fill c13 p12"}},
        // Code 48: the note to the right of the glyph.
        {"48 no note", Int1Proc48, {}, kPoint, {glyph(35, 12, 2, P)}},
        {"48 short note",
         Int1Proc48,
         {kit::textAttr(78, "Strong currents")},
         kPoint,
         {glyph(35, 12, 2, P), text(-2, "Strong currents", 2, offset(P, 5, -3))}},
        {"48 area: first point",
         Int1Proc48,
         {kit::textAttr(78, "Ferry")},
         kArea,
         {glyph(35, 12, 2, A1), text(-2, "Ferry", 2, offset(A1, 5, -3))}},
        // Code 53: the word centred across the position; a point draws nothing.
        {"53 point", Int1Proc53, {}, kPoint, {}},
        {"53 area", Int1Proc53, {}, kArea, {dunes(C)}},
        {"53 line", Int1Proc53, {}, kLine, {dunes(L)}},
    };
    expectCases(cases);
}

TEST_F(PointSymbols, LongNotesGoIntoABox) {
    ASSERT_TRUE(kit::haveGuiApplication());
    // 30 characters: one line; 40: wrapped in a box 20 characters wide.
    const std::string shortNote = "Anchoring prohibited, see note";
    const std::string longNote = "Submarine cables and pipelines, see note";
    ASSERT_EQ(shortNote.size(), 30u);
    ASSERT_EQ(longNote.size(), 40u);
    kit::FakeObject caution(48);
    caution.set(kit::textAttr(78, shortNote)).setGeometry(kPoint);
    kit::Drawing d = kit::run(Int1Proc48, caution);
    EXPECT_EQ(d.texts(-2).size(), 1u) << d.log();
    EXPECT_TRUE(d.hasText(-2, shortNote, 2, offset(P, 5, -3))) << d.log();

    kit::FakeObject boxed(48);
    boxed.set(kit::textAttr(78, longNote)).setGeometry(kPoint);
    d = kit::run(Int1Proc48, boxed);
    const std::vector<kit::Call> lines = d.texts(-2);
    ASSERT_GE(lines.size(), 2u) << d.log();
    std::string joined;
    for (const kit::Call& c : lines) {
        EXPECT_EQ(c.colour, kit::paletteIndex(2));
        EXPECT_GE(c.points.at(0).x, P.x + 5) << "inside the box";
        EXPECT_LE(c.points.at(0).y, P.y - 3) << "from the note's point down";
        std::string line;
        for (int code : c.codes)
            line += static_cast<char>(code);
        EXPECT_LE(line.size(), 24u) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, longNote);
    EXPECT_TRUE(d.hasGlyph(35, 12, 2, P));
}

TEST_F(PointSymbols, AreasWithoutACentreGetTheirBoundaryOnly) {
    // Too small to have a centre of gravity (under 750 square pixels).
    const kit::Geometry small = kit::area({{0, 0}, {0, 20}, {20, 20}, {20, 0}});
    const std::vector<Case> cases{
        {"1", Int1Proc1, {}, small, {kLine0}},
        {"4", Int1Proc4, {kit::listAttr(3, {2})}, small, {"line c0 w1 1F1F"}, symbols::reduced()},
        {"10", Int1Proc10, {kit::textAttr(80, "7")}, small, {"fill c13 p12"}},
        {"13", Int1Proc13, {kit::listAttr(49, {5})}, small, {"fill c16 p0", kLine0}},
        {"29", Int1Proc29, {}, small, {"styled [glyph 36/1 n10 c0 f0]" + kEnd14}},
        {"32", Int1Proc32, {}, small, {}},
        {"53", Int1Proc53, {}, small, {}},
        {"60", Int1Proc60, {}, small, {"fill c9 p0", "line c0 w1 9999"}},
        {"94",
         Int1Proc94,
         {kit::listAttr(28, {3})},
         small,
         {"styled [stroke 0F0F w1 n200 c14 f1]" + kEnd14}},
    };
    expectCases(cases);
}

TEST_F(PointSymbols, ObjectsWithoutGeometryDrawNothing) {
    const std::vector<Case> cases{
        {"1", Int1Proc1, {}, kit::noGeometry(), {}},
        {"2", Int1Proc2, {}, kit::noGeometry(), {}},
        {"3", Int1Proc3, {}, kit::noGeometry(), {}},
        {"4", Int1Proc4, {kit::listAttr(3, {2})}, kit::noGeometry(), {}},
        {"10", Int1Proc10, {kit::textAttr(80, "7")}, kit::noGeometry(), {}},
        {"34", Int1Proc34, {}, kit::noGeometry(), {}},
        {"48", Int1Proc48, {kit::textAttr(78, "x")}, kit::noGeometry(), {}},
        {"67", Int1Proc67, {}, kit::noGeometry(), {}},
        {"81", Int1Proc81, {}, kit::noGeometry(), {}},
        {"93", Int1Proc93, {kit::byteAttr(27, 3)}, kit::noGeometry(), {}},
        {"94", Int1Proc94, {kit::listAttr(28, {4})}, kit::noGeometry(), {}},
        {"96", Int1Proc96, {kit::byteAttr(29, 3)}, kit::noGeometry(), {}},
    };
    expectCases(cases);
    // Nothing reaches the picture (a renderer may be called and draw nothing).
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kit::Drawing d("", gdi::Mapping{});
        symbols::drawn(c, &d);
        EXPECT_TRUE(d.calls().empty()) << d.log();
    }
}

} // namespace
