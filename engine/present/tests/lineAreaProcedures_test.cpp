// The line styles, fills and marks of the procedures of codes 21 to 98:
// what each hands to the renderers (as lines of text, styleCases.h), the
// shared templates it leaves behind, the letter codes and glyphs of drying
// areas and the orientation mark of directional lights.
#include "procedureKit.h"
#include "styleCases.h"

#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using styles::Case;
using styles::expectCases;
using styles::Lines;
using styles::Outcome;
using styles::reducedDetails;
using styles::run;
using styles::traced;

const kit::Geometry kLine = kit::line({{-100, -20}, {0, 30}, {100, -20}});
const kit::Geometry kArea = kit::area({{-80, -60}, {-80, 60}, {80, 60}, {80, -60}});
const kit::Geometry kPoint = kit::point(10, 20);

kit::Settings details(int value) {
    kit::Settings s;
    s.details = value;
    return s;
}

const std::string kEnd0 = " end stroke 0000 w1 n1 c0 f1";
const std::string kEnd14 = " end stroke 0000 w1 n1 c14 f1";

class LineAreaProcedures : public kit::ProcedureTest {};

// ---------------------------------------------------------------- compositions

TEST_F(LineAreaProcedures, CablesByStatusCategoryAndDetails) {
    const std::string glyph12 = "glyph 34/12 n1 c14 f6";
    const std::vector<Case> cases{
        {"22 plain", Int1Proc22, {}, kLine, {"styled [glyph 36/2 n1 c0 f0]" + kEnd14}},
        // Glyph 2 is one record: the count written last holds in both places.
        {"22 not in use",
         Int1Proc22,
         {kit::listAttr(109, {1, 4})},
         kLine,
         {"styled [glyph 36/2 n6 c0 f0; glyph 36/2 n6 c0 f0; gap n10 c0 f1]" + kEnd14}},
        {"22 not in use wins over power line",
         Int1Proc22,
         {kit::listAttr(109, {4}), kit::byteAttr(6, 1)},
         kLine,
         {"styled [glyph 36/2 n6 c0 f0; glyph 36/2 n6 c0 f0; gap n10 c0 f1]" + kEnd14}},
        {"22 power line",
         Int1Proc22,
         {kit::byteAttr(6, 1)},
         kLine,
         {"styled [glyph 36/2 n15 c0 f0; glyph 36/2 n15 c0 f0; gap n2 c0 f1; " + glyph12 +
          "; gap n2 c0 f1]" + kEnd14}},
        {"22 power line reduced",
         Int1Proc22,
         {kit::byteAttr(6, 1)},
         kLine,
         {"styled [glyph 36/2 n1 c0 f0]" + kEnd14},
         reducedDetails()},
        {"22 not in use reduced",
         Int1Proc22,
         {kit::listAttr(109, {4})},
         kLine,
         {"styled [glyph 36/2 n6 c0 f0; glyph 36/2 n6 c0 f0; gap n10 c0 f1]" + kEnd14},
         reducedDetails()},
        {"22 telephone",
         Int1Proc22,
         {kit::byteAttr(6, 4)},
         kLine,
         {"styled [glyph 36/2 n1 c0 f0]" + kEnd14}},
        {"23 plain", Int1Proc23, {}, kLine, {"styled [glyph 36/2 n10 c0 f0]" + kEnd14}},
        {"23 not in use",
         Int1Proc23,
         {kit::listAttr(109, {4}), kit::byteAttr(6, 1)},
         kLine,
         {"styled [glyph 36/2 n10 c0 f0; gap n10 c0 f1]" + kEnd14}},
        // Glyph 1 three times at both ends of the pattern.
        {"23 power line",
         Int1Proc23,
         {kit::byteAttr(6, 1)},
         kLine,
         {"styled [glyph 36/1 n3 c0 f0; glyph 36/2 n3 c0 f0; " + glyph12 +
          "; glyph 36/1 n3 c0 f0]" + kEnd14}},
        {"23 power line reduced",
         Int1Proc23,
         {kit::byteAttr(6, 1)},
         kLine,
         {"styled [glyph 36/1 n3 c0 f0; glyph 36/2 n3 c0 f0; glyph 36/1 n3 c0 f0]" + kEnd14},
         reducedDetails()},
        {"23 telephone",
         Int1Proc23,
         {kit::byteAttr(6, 4)},
         kLine,
         {"styled [glyph 36/2 n10 c0 f0]" + kEnd14}},
    };
    expectCases(cases);
}

TEST_F(LineAreaProcedures, LimitsRoutesAndBanks) {
    const std::string banks = "styled [glyph 36/19 n10 c0 f0]" + kEnd0;
    const std::vector<Case> cases{
        {"21",
         Int1Proc21,
         {},
         kLine,
         {"styled [gap n4 c0 f1; stroke 0000 w1 n15 c0 f1; gap n4 c0 f1; glyph 36/13 n1 c0 "
          "f0] end stroke 0000 w1 n15 c0 f1"}},
        {"36",
         Int1Proc36,
         {},
         kArea,
         {"styled [stroke 0000 w1 n200 c14 f1; gap n2 c0 f1; glyph 36/7 n1 c0 f1; gap n2 c0 "
          "f1] end none"}},
        {"40",
         Int1Proc40,
         {},
         kLine,
         {"styled [stroke 0F0F w1 n200 c14 f1; glyph 34/11 n1 c14 f6]" + kEnd14}},
        {"40 reduced", Int1Proc40, {}, kLine, {"line c0 w1 1F1F"}, reducedDetails()},
        {"54", Int1Proc54, {}, kLine, {banks}},
        {"55", Int1Proc55, {}, kLine, {banks}},
        {"58", Int1Proc58, {}, kLine, {banks}},
        {"57",
         Int1Proc57,
         {},
         kArea,
         {"styled [stroke 0000 w1 n50 c14 f1; gap n10 c0 f1] end none"}},
        {"59",
         Int1Proc59,
         {},
         kLine,
         {"styled [stroke 3333 w1 n200 c14 f1; glyph 36/10 n1 c0 f0] end none"}},
        {"61",
         Int1Proc61,
         {},
         kLine,
         {"styled [stroke 0F0F w1 n150 c14 f1; glyph 34/7 n1 c14 f6]" + kEnd14}},
        {"61 reduced", Int1Proc61, {}, kLine, {"line c0 w1 1F1F"}, reducedDetails()},
        {"63",
         Int1Proc63,
         {},
         kLine,
         {"styled [stroke 0000 w1 n150 c0 f1; gap n5 c0 f1; glyph 34/7 n1 c0 f6; gap n5 c0 "
          "f1] end none"}},
        {"76 area",
         Int1Proc76,
         {},
         kArea,
         {"fill c1 p0", "styled [glyph 36/4 n1 c0 f16; glyph 36/5 n1 c0 f16]" + kEnd0}},
        {"97",
         Int1Proc97,
         {},
         kLine,
         {"styled [stroke 0000 w1 n10 c14 f1; gap n8 c0 f1; glyph 36/7 n1 c0 f1; gap n8 c0 "
          "f1] end none"}},
    };
    expectCases(cases);
}

TEST_F(LineAreaProcedures, CoastlinesByCategoryAndQualityOfPosition) {
    std::vector<Case> cases{
        {"rocky, marked",
         Int1Proc35,
         {kit::byteAttr(147, 9)},
         kLine,
         {"styled [glyph 36/3 n1 c0 f16]" + kEnd0}},
        {"steep", Int1Proc35, {kit::byteAttr(147, 1)}, kLine, {"line c0 w1 0000"}},
        {"category wins over quality",
         Int1Proc35,
         {kit::byteAttr(147, 2), kit::byteAttr(91, 4)},
         kLine,
         {"line c0 w1 0000"}},
        {"nothing", Int1Proc35, {}, kLine, {"line c0 w1 0000"}},
    };
    // Without a category, the quality of position: dashed where not surveyed.
    for (int quality : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11}) {
        const bool dashed =
            quality == 2 || quality == 3 || quality == 4 || quality == 5 || quality == 8;
        const std::string line = dashed ? "line c0 w1 1F1F" : "line c0 w1 0000";
        cases.push_back({"35 by quality",
                         Int1Proc35,
                         {kit::byteAttr(91, std::uint8_t(quality))},
                         kLine,
                         {line}});
        cases.push_back({"80 by quality",
                         Int1Proc80,
                         {kit::byteAttr(91, std::uint8_t(quality))},
                         kLine,
                         {line}});
    }
    expectCases(cases);
}

TEST_F(LineAreaProcedures, LabelledLinesDeepWaterRoutesAndEez) {
    const std::string wide = "stroke 0F0F w3 n100 c14 f1";
    const std::string dw = "gap n2 c0 f1; text -1 'DW' n0 c14 f6; gap n2 c0 f1";
    const std::string line100 = "stroke 0000 w1 n100 c14 f1";
    const std::string twenty = "stroke 0000 w1 n20 c14 f1";
    const std::string end100 = " end " + line100;
    const std::vector<Case> cases{
        {"42 area",
         Int1Proc42,
         {},
         kArea,
         {"fill c15 p8", "styled [" + wide + "; text -1 ' DW ' n0 c14 f6] end " + wide}},
        {"42 reduced",
         Int1Proc42,
         {},
         kArea,
         {"styled [" + wide + "] end " + wide},
         reducedDetails()},
        {"43", Int1Proc43, {}, kLine, {"styled [" + line100 + "; " + dw + "]" + end100}},
        {"43 two-way",
         Int1Proc43,
         {kit::byteAttr(112, 4)},
         kLine,
         {"styled [" + line100 + "; glyph 36/9 n1 c14 f33; " + twenty +
          "; glyph 36/6 n1 c14 f33; " + twenty + "; " + dw + "]" + end100}},
        {"43 one-way",
         Int1Proc43,
         {kit::byteAttr(112, 3)},
         kLine,
         {"styled [" + line100 + "; glyph 36/6 n1 c14 f33; " + twenty + "; " + dw + "]" + end100}},
        {"43 inbound",
         Int1Proc43,
         {kit::byteAttr(112, 1)},
         kLine,
         {"styled [" + line100 + "; " + dw + "]" + end100}},
        {"43 two-way reduced",
         Int1Proc43,
         {kit::byteAttr(112, 4)},
         kLine,
         {"styled [" + line100 + "; glyph 36/9 n1 c14 f33; " + twenty +
          "; glyph 36/6 n1 c14 f33; " + twenty + "]" + end100},
         reducedDetails()},
        {"56",
         Int1Proc56,
         {},
         kLine,
         {"styled [" + line100 +
          "; gap n2 c0 f1; text -1 'EEZ' n0 c14 f6; gap n2 c0 f1] end none"}},
        {"56 reduced",
         Int1Proc56,
         {},
         kLine,
         {"line c14 w1 0000",
          "styled [" + line100 + "; gap n2 c0 f1; text -1 'EEZ' n0 c14 f6; gap n2 c0 f1] end none"},
         reducedDetails()},
    };
    expectCases(cases);
}

TEST_F(LineAreaProcedures, LeadingLineLabelledWithItsBearing) {
    const std::string dashed = "line c14 w1 1F1F";
    const std::string labelled =
        "styled [stroke 0F0F w1 n200 c0 f1; text 0 ' 12.5 ' n0 c0 f6]" + kEnd0;
    const kit::Attr nan = kit::floatAttr(85, std::numeric_limits<float>::quiet_NaN());
    const std::vector<Case> cases{
        {"bearing", Int1Proc98, {kit::floatAttr(85, 12.5f)}, kLine, {labelled}},
        {"detail 1: casing first",
         Int1Proc98,
         {kit::floatAttr(85, 12.5f)},
         kLine,
         {"line c11 w3 0000", labelled},
         details(1)},
        {"no bearing", Int1Proc98, {}, kLine, {dashed}},
        {"not a number", Int1Proc98, {nan}, kLine, {dashed}},
        {"no bearing at detail 1", Int1Proc98, {}, kLine, {"line c11 w3 0000", dashed}, details(1)},
        {"reduced", Int1Proc98, {kit::floatAttr(85, 12.5f)}, kLine, {dashed}, reducedDetails()},
    };
    expectCases(cases);
}

// ---------------------------------------------------------------- plain lines and fills

TEST_F(LineAreaProcedures, PlainLinesAndFills) {
    const std::vector<Case> cases{
        {"25 area", Int1Proc25, {}, kArea, {"fill c8 p0"}},
        {"25 line", Int1Proc25, {}, kLine, {"line c0 w1 0000"}},
        {"25 point", Int1Proc25, {}, kPoint, {}},
        {"26", Int1Proc26, {}, kLine, {"line c0 w1 0000"}},
        {"28 area", Int1Proc28, {}, kArea, {"fill c5 p0", "line c0 w1 3333"}},
        {"28 line", Int1Proc28, {}, kLine, {"line c0 w1 3333"}},
        {"30 area", Int1Proc30, {}, kArea, {"pattern L1 [upright 35/22 c0]"}},
        {"31", Int1Proc31, {}, kLine, {"line c0 w1 3333"}},
        {"41 line", Int1Proc41, {}, kLine, {"line c0 w1 0000"}},
        {"41 area", Int1Proc41, {}, kArea, {}},
        // Where the class may be a line, only an area is filled.
        {"42 line",
         Int1Proc42,
         {},
         kLine,
         {"styled [stroke 0F0F w3 n100 c14 f1; text -1 ' DW ' n0 c14 f6] end stroke 0F0F w3 "
          "n100 c14 f1"}},
        {"49 area", Int1Proc49, {}, kArea, {"fill c13 p12", "line c0 w1 0000"}},
        {"49 category",
         Int1Proc49,
         {kit::byteAttr(63, 2)},
         kArea,
         {"fill c13 p12", "line c0 w1 1F1F"}},
        {"49 category 0",
         Int1Proc49,
         {kit::byteAttr(63, 0)},
         kArea,
         {"fill c13 p12", "line c0 w1 0000"}},
        {"49 line", Int1Proc49, {}, kLine, {"line c0 w1 0000"}},
        {"51 area", Int1Proc51, {}, kArea, {"fill c12 p0", "line c0 w1 0000"}},
        {"51 line", Int1Proc51, {}, kLine, {"line c0 w1 0000"}},
        {"66 area", Int1Proc66, {}, kArea, {"fill c12 p0", "line c0 w1 0000"}},
        {"66 line", Int1Proc66, {}, kLine, {"line c0 w1 0000"}},
        {"70 category 2", Int1Proc70, {kit::byteAttr(19, 2)}, kArea, {"line c0 w1 3333"}},
        {"70 category 1", Int1Proc70, {kit::byteAttr(19, 1)}, kArea, {"line c0 w1 0000"}},
        {"70 no category", Int1Proc70, {}, kArea, {"fill c12 p0", "line c0 w1 0000"}},
        {"70 no category line", Int1Proc70, {}, kLine, {"line c0 w1 0000"}},
        {"71 area", Int1Proc71, {}, kArea, {"fill c0 p8"}},
        {"71 reduced", Int1Proc71, {}, kArea, {"line c0 w1 0000"}, reducedDetails()},
        {"71 line", Int1Proc71, {}, kLine, {}},
        {"72", Int1Proc72, {}, kArea, {"line c14 w1 1F1F"}},
        {"79", Int1Proc79, {}, kArea, {"fill c8 p0"}},
        {"83 sand twice",
         Int1Proc83,
         {kit::listAttr(82, {4, 1, 4})},
         kArea,
         {"fill c0 p14", "fill c0 p14"}},
        {"83 no sand", Int1Proc83, {kit::listAttr(82, {1, 2})}, kArea, {}},
        {"83 line", Int1Proc83, {kit::listAttr(82, {4})}, kLine, {}},
        {"84", Int1Proc84, {}, kLine, {"line c0 w1 3333"}},
        {"85 area", Int1Proc85, {}, kArea, {"fill c1 p11"}},
        {"85 reduced", Int1Proc85, {}, kArea, {}, reducedDetails()},
        {"85 line", Int1Proc85, {}, kLine, {}},
        {"90", Int1Proc90, {}, kLine, {"line c0 w1 0000"}},
    };
    expectCases(cases);

    // On the picture: a hatch of colour 15 under the route part; the dock's
    // pattern; the plain fill of a lake.
    kit::FakeObject route(42);
    route.setGeometry(kArea);
    EXPECT_EQ(kit::run(Int1Proc42, route).patternFills(15), 1);
    kit::FakeObject lake(79);
    lake.setGeometry(kArea);
    EXPECT_EQ(kit::run(Int1Proc79, lake).solidFills(8), 1);
}

TEST_F(LineAreaProcedures, CemeteryPatternAndPointGlyph) {
    kit::FakeObject cemetery(30);
    cemetery.setGeometry(kit::point(-12, 7));
    kit::Drawing d = kit::run(Int1Proc30, cemetery);
    ASSERT_EQ(d.calls().size(), 1u) << d.log();
    EXPECT_TRUE(d.hasGlyph(35, 22, 0, {-12, 7})) << d.log();

    // A large area is tiled with the glyph; lines draw nothing.
    cemetery.setGeometry(kArea);
    d = kit::run(Int1Proc30, cemetery);
    EXPECT_GT(d.texts(35).size(), 4u) << d.log();
    for (const kit::Call& c : d.texts(35))
        EXPECT_EQ(c.codes, std::vector<int>{22});
    cemetery.setGeometry(kLine);
    EXPECT_TRUE(kit::run(Int1Proc30, cemetery).calls().empty());
}

// ---------------------------------------------------------------- drying areas

TEST_F(LineAreaProcedures, DryingAreaSurfaceGlyphsAndStackedLetters) {
    kit::FakeObject drying(78);
    drying.set(kit::listAttr(82, {1, 14, 4, 9, 17, 10})).setGeometry(kArea);
    kit::Trace trace;
    const kit::Drawing d = kit::run(Int1Proc78, drying);
    EXPECT_EQ(styles::describe(trace),
              (Lines{"fill c5 p0", "styled [glyph 36/3 n1 c0 f16; glyph 36/4 n1 c0 f16; glyph "
                                   "36/5 n1 c0 f16]" +
                                       kEnd0}));
    // The letter codes from the centre of gravity upward, 10 pixels apart.
    const std::vector<kit::Call> letters = d.texts(-1);
    ASSERT_EQ(letters.size(), 3u) << d.log();
    EXPECT_TRUE(d.hasText(-1, "M", 0, {0, 0})) << d.log();
    EXPECT_TRUE(d.hasText(-1, "S", 0, {0, 10})) << d.log();
    EXPECT_TRUE(d.hasText(-1, "Sh", 0, {0, 20})) << d.log();

    // Every letter code.
    const std::vector<std::pair<std::uint8_t, std::string>> codes{
        {1, "M"}, {2, "Cy"}, {3, "Si"}, {4, "S"},   {5, "St"},
        {6, "G"}, {7, "P"},  {8, "Cb"}, {11, "Lv"}, {17, "Sh"},
    };
    for (const auto& [value, text] : codes) {
        kit::FakeObject one(78);
        one.set(kit::listAttr(82, {value})).setGeometry(kArea);
        kit::Trace only;
        const kit::Drawing e = kit::run(Int1Proc78, one);
        EXPECT_TRUE(e.hasText(-1, text, 0, {0, 0})) << int(value) << e.log();
        EXPECT_EQ(styles::describe(only), Lines{"fill c5 p0"}) << "no glyphs, no boundary";
    }
}

TEST_F(LineAreaProcedures, DryingAreaWithoutACentreKeepsItsGlyphBoundary) {
    // A ring turned counter-clockwise has no centre of gravity: no letters,
    // but the fill and the boundary of glyphs.
    kit::FakeObject drying(78);
    drying.set(kit::listAttr(82, {1, 14}))
        .setGeometry(kit::areaWithSegments({{-40, -20}, {40, -20}, {40, 20}, {-40, 20}, {-40, -20}},
                                           {4, -1}));
    kit::Trace trace;
    const kit::Drawing d = kit::run(Int1Proc78, drying);
    EXPECT_EQ(styles::describe(trace),
              (Lines{"fill c5 p0", "styled [glyph 36/3 n1 c0 f16]" + kEnd0}));
    EXPECT_TRUE(d.texts(-1).empty()) << d.log();
}

TEST_F(LineAreaProcedures, DryingAreaGlyphStyleStopsAtSixteenElements) {
    // Twenty coral values would make twenty elements: the style holds 16.
    kit::FakeObject drying(78);
    drying.set(kit::listAttr(82, std::vector<std::uint8_t>(20, 14))).setGeometry(kArea);
    kit::Trace trace;
    kit::run(Int1Proc78, drying);
    const std::vector<RendererCall> styled = trace.of(RendererCallKind::ComplexLine);
    ASSERT_EQ(styled.size(), 1u) << trace.log();
    EXPECT_EQ(styled[0].count, 16);
    EXPECT_EQ(styled[0].elements.size(), 16u);

    // A rock pair that does not fit whole keeps its first glyph only.
    std::vector<std::uint8_t> values(15, 14);
    values.push_back(9);
    kit::FakeObject second(78);
    second.set(kit::listAttr(82, values)).setGeometry(kArea);
    trace.clear();
    kit::run(Int1Proc78, second);
    ASSERT_EQ(trace.of(RendererCallKind::ComplexLine).size(), 1u);
    const RendererCall c = trace.of(RendererCallKind::ComplexLine)[0];
    ASSERT_EQ(c.count, 16);
    EXPECT_EQ(c.elements[15].character, 4);
}

TEST_F(LineAreaProcedures, DryingPointIsADiscWithADottedRing) {
    kit::FakeObject drying(78);
    drying.set(kit::listAttr(82, {1, 14})).setGeometry(kit::point(5, -5));
    kit::Trace trace;
    const kit::Drawing d = kit::run(Int1Proc78, drying);
    EXPECT_TRUE(trace.calls().empty()) << trace.log();
    const std::vector<kit::Call> ellipses = d.of("Ellipse");
    ASSERT_EQ(ellipses.size(), 2u) << d.log();
    EXPECT_EQ(ellipses[0].brushColour, kit::paletteIndex(5)) << d.log();
    EXPECT_EQ(ellipses[1].penStyle, "dot") << d.log();
    EXPECT_EQ(ellipses[1].penColour, kit::paletteIndex(0)) << d.log();
    EXPECT_TRUE(d.texts(-1).empty()) << "no letters for a point";
}

// ---------------------------------------------------------------- directional lights

TEST_F(LineAreaProcedures, OrientationMarkPointsToTheOrientation) {
    struct Row {
        const char* name;
        std::vector<kit::Attr> attributes;
        bool marked;
        int colour;
        Point at;
        double angle;
    };
    const Point p{20, -10};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Row> rows{
        {"east, white",
         {kit::listAttr(59, {1, 3}), kit::floatAttr(85, 90)},
         true,
         11,
         {35, -10},
         -90},
        {"south-west, red",
         {kit::listAttr(59, {3}), kit::floatAttr(85, 225)},
         true,
         2,
         {9, -21},
         -225},
        {"north-east, green",
         {kit::listAttr(59, {4}), kit::floatAttr(85, 45)},
         true,
         4,
         {31, 1},
         -45},
        // A colour code without a light colour takes colour 3.
        {"black", {kit::listAttr(59, {2}), kit::floatAttr(85, 180)}, true, 3, {20, -25}, -180},
        {"code 12", {kit::listAttr(59, {12}), kit::floatAttr(85, 270)}, true, 3, {5, -10}, -270},
        {"no colour", {kit::floatAttr(85, 90)}, false, 0, {}, 0},
        {"empty colour list", {kit::listAttr(59, {}), kit::floatAttr(85, 90)}, false, 0, {}, 0},
        {"no orientation", {kit::listAttr(59, {1})}, false, 0, {}, 0},
        {"orientation 0", {kit::listAttr(59, {1}), kit::floatAttr(85, 0)}, false, 0, {}, 0},
        {"not a number", {kit::listAttr(59, {1}), kit::floatAttr(85, nan)}, false, 0, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::FakeObject light(87);
        for (const kit::Attr& a : r.attributes)
            light.set(a);
        light.setGeometry(kit::point(p.x, p.y));
        const kit::Drawing d = kit::run(Int1Proc87, light);
        // The position circle always.
        EXPECT_TRUE(d.hasGlyph(35, 12, 2, p)) << d.log();
        const std::vector<kit::Call> marks = d.texts(34);
        if (!r.marked) {
            EXPECT_TRUE(marks.empty()) << d.log();
            EXPECT_EQ(d.calls().size(), 1u) << d.log();
            continue;
        }
        ASSERT_EQ(marks.size(), 1u) << d.log();
        EXPECT_TRUE(d.hasGlyph(34, 14, r.colour, r.at)) << d.log();
        EXPECT_DOUBLE_EQ(marks[0].angle, r.angle);
        EXPECT_EQ(marks[0].scale, 1);
        // The mark first, the circle over it.
        EXPECT_EQ(d.calls().back().row, kit::fontRow(35));
    }
}

// ---------------------------------------------------------------- shared templates

TEST_F(LineAreaProcedures, LabelTemplatesAreLeftAsFound) {
    struct Row {
        int code;
        CondSymbProc procedure;
        std::vector<kit::Attr> attributes;
    };
    const std::vector<Row> rows{
        {42, Int1Proc42, {}},
        {43, Int1Proc43, {kit::byteAttr(112, 4)}},
        {56, Int1Proc56, {}},
        {98, Int1Proc98, {kit::floatAttr(85, 12.5f)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        for (const kit::Settings& s : {kit::Settings{}, reducedDetails()}) {
            kit::FakeObject o(r.code);
            for (const kit::Attr& a : r.attributes)
                o.set(a);
            o.setGeometry(kArea);
            kit::run(r.procedure, o, s);
            for (int t : {7, 8}) {
                EXPECT_EQ(LineElementTemplates[std::size_t(t)].flags, 6) << t;
                EXPECT_EQ(LineElementTemplates[std::size_t(t)].text, nullptr) << t;
                EXPECT_EQ(LineElementTemplates[std::size_t(t)].character, 0) << t;
            }
        }
    }
}

TEST_F(LineAreaProcedures, CompositionsWriteTheirFieldsOverWhatOthersLeft) {
    // Another user left odd counts and colours in the shared records: a
    // composition writes what it names and takes the rest as it stands.
    for (TLineMarker& t : LineElementTemplates) {
        t.count = 7;
        t.colour = 9;
    }
    kit::FakeObject ferry(59);
    ferry.setGeometry(kLine);
    kit::Trace trace;
    kit::run(Int1Proc59, ferry);
    EXPECT_EQ(styles::describe(trace),
              Lines{"styled [stroke 3333 w1 n200 c14 f1; glyph 36/10 n7 c9 f0] end none"});
}

// ---------------------------------------------------------------- all of them

TEST_F(LineAreaProcedures, NothingForAnObjectWithoutGeometry) {
    const std::vector<CondSymbProc> all{
        Int1Proc21, Int1Proc22, Int1Proc23, Int1Proc25, Int1Proc26, Int1Proc28, Int1Proc30,
        Int1Proc31, Int1Proc35, Int1Proc36, Int1Proc40, Int1Proc41, Int1Proc42, Int1Proc43,
        Int1Proc44, Int1Proc45, Int1Proc46, Int1Proc49, Int1Proc50, Int1Proc51, Int1Proc54,
        Int1Proc55, Int1Proc56, Int1Proc57, Int1Proc58, Int1Proc59, Int1Proc61, Int1Proc63,
        Int1Proc66, Int1Proc70, Int1Proc71, Int1Proc72, Int1Proc76, Int1Proc78, Int1Proc79,
        Int1Proc80, Int1Proc82, Int1Proc83, Int1Proc84, Int1Proc85, Int1Proc87, Int1Proc90,
        Int1Proc97, Int1Proc98, Int1Proc99,
    };
    ASSERT_EQ(all.size(), 45u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(i);
        kit::FakeObject nothing(100);
        nothing.set(kit::listAttr(59, {1}))
            .set(kit::floatAttr(85, 90))
            .set(kit::listAttr(82, {1, 4, 14}))
            .set(kit::floatAttr(113, 10))
            .set(kit::floatAttr(73, 10))
            .setGeometry(kit::noGeometry());
        EXPECT_TRUE(kit::run(all[i], nothing).calls().empty());
    }
}

TEST_F(LineAreaProcedures, TheTableDrawsThisFamily) {
    // The built-in table holds these procedures, not placeholders.
    for (int code : {21, 22, 23, 25, 26, 28, 30, 31, 35, 36, 40, 41, 42, 43, 44,
                     45, 46, 49, 50, 51, 54, 55, 56, 57, 58, 59, 61, 63, 66, 70,
                     71, 72, 76, 78, 79, 80, 82, 83, 84, 85, 87, 90, 97, 98, 99}) {
        SCOPED_TRACE(code);
        kit::FakeObject o(code);
        o.set(kit::listAttr(82, {4})).set(kit::listAttr(59, {1}));
        if (code == 87) o.set(kit::floatAttr(85, 90));
        o.setGeometry(code == 87 ? kPoint : code == 41 || code == 82 ? kLine : kArea);
        EXPECT_FALSE(kit::draw(o).calls().empty());
    }
}

// ---------------------------------------------------------------- gallery

TEST_F(LineAreaProcedures, Gallery) {
    kit::Gallery gallery("line-area-depth", 160, 8);
    kit::Settings zoned;
    zoned.depthZones = {2, 5, 10, 20};
    // A line across the cell with vertices every 10 pixels, a wavy line, an
    // area inside the cell and a point left of the centre.
    std::vector<Point> straight;
    for (int x = -75; x <= 75; x += 10)
        straight.push_back({x, 0});
    const kit::Geometry across = kit::line(straight);
    const kit::Geometry wavy = kit::line({{-75, -30}, {-40, 20}, {0, -10}, {40, 30}, {75, 0}});
    // A path of some 600 pixels wound inside the cell, for styles whose
    // first glyph or label comes after 100 to 200 pixels.
    const kit::Geometry winding = kit::line({{-70, -60},
                                             {-70, 60},
                                             {70, 60},
                                             {70, -60},
                                             {-50, -60},
                                             {-50, 40},
                                             {50, 40},
                                             {50, -40},
                                             {-30, -40}});
    const kit::Geometry box = kit::area({{-60, -50}, {-60, 50}, {60, 50}, {60, -50}});
    const kit::Geometry small = kit::area({{-30, -25}, {-30, 25}, {30, 25}, {30, -25}});
    const auto add = [&](const std::string& label, CondSymbProc procedure, int code,
                         std::vector<kit::Attr> attributes, const kit::Geometry& g,
                         kit::Settings s = {}) {
        kit::resetDrawingState();
        kit::FakeObject o(code);
        for (kit::Attr& a : attributes)
            o.set(std::move(a));
        o.setGeometry(g);
        gallery.add(label, procedure, o, s);
    };
    const kit::Settings reduced = reducedDetails();
    add("21", Int1Proc21, 21, {}, wavy);
    add("22", Int1Proc22, 22, {}, across);
    add("22 not in use", Int1Proc22, 22, {kit::listAttr(109, {4})}, across);
    add("22 power", Int1Proc22, 22, {kit::byteAttr(6, 1)}, winding);
    add("23", Int1Proc23, 23, {}, across);
    add("23 not in use", Int1Proc23, 23, {kit::listAttr(109, {4})}, across);
    add("23 power", Int1Proc23, 23, {kit::byteAttr(6, 1)}, across);
    add("25 area", Int1Proc25, 25, {}, box);
    add("25 line", Int1Proc25, 25, {}, wavy);
    add("26", Int1Proc26, 26, {}, wavy);
    add("28 area", Int1Proc28, 28, {}, box);
    add("30 area", Int1Proc30, 30, {}, box);
    add("30 small area", Int1Proc30, 30, {}, small);
    add("30 point", Int1Proc30, 30, {}, kit::point(0, 0));
    add("31", Int1Proc31, 31, {}, wavy);
    add("35 rocky", Int1Proc35, 35, {kit::byteAttr(147, 9)}, across);
    add("35", Int1Proc35, 35, {}, wavy);
    add("35 unsurveyed", Int1Proc35, 35, {kit::byteAttr(91, 4)}, wavy);
    add("36", Int1Proc36, 36, {}, box);
    add("40", Int1Proc40, 40, {}, winding);
    add("40 reduced", Int1Proc40, 40, {}, box, reduced);
    add("41", Int1Proc41, 41, {}, wavy);
    add("42", Int1Proc42, 42, {}, box);
    add("42 reduced", Int1Proc42, 42, {}, box, reduced);
    add("43", Int1Proc43, 43, {}, winding);
    add("43 two-way", Int1Proc43, 43, {kit::byteAttr(112, 4)}, across);
    add("43 one-way", Int1Proc43, 43, {kit::byteAttr(112, 3)}, across);
    add("44 0 m", Int1Proc44, 44, {}, box, zoned);
    add("44 3 m", Int1Proc44, 44, {kit::floatAttr(66, 3)}, box, zoned);
    add("44 7 m", Int1Proc44, 44, {kit::floatAttr(66, 7)}, box, zoned);
    add("44 50 m", Int1Proc44, 44, {kit::floatAttr(66, 50)}, box, zoned);
    add("45 10 m", Int1Proc45, 45, {kit::floatAttr(113, 10)}, across);
    add("45 unsurveyed", Int1Proc45, 45, {kit::floatAttr(113, 20), kit::byteAttr(91, 4)}, wavy);
    add("45 short", Int1Proc45, 45, {kit::floatAttr(113, 10)}, kit::line({{-10, 0}, {10, 0}}));
    add("46", Int1Proc46, 46, {}, kit::point(-20, 0));
    add("46 4.1 m", Int1Proc46, 46, {kit::wordAttr(116, 41)}, kit::point(-30, 0), zoned);
    add("46 area", Int1Proc46, 46, {}, box);
    add("49", Int1Proc49, 49, {kit::byteAttr(63, 1)}, box);
    add("50 3 m", Int1Proc50, 50, {kit::floatAttr(66, 3)}, box, zoned);
    add("51", Int1Proc51, 51, {}, box);
    add("54", Int1Proc54, 54, {}, wavy);
    add("55", Int1Proc55, 55, {}, across);
    add("56", Int1Proc56, 56, {}, box);
    add("57", Int1Proc57, 57, {}, box);
    add("58", Int1Proc58, 58, {}, wavy);
    add("59", Int1Proc59, 59, {}, winding);
    add("61", Int1Proc61, 61, {}, box);
    add("63", Int1Proc63, 63, {}, box);
    add("66", Int1Proc66, 66, {}, box);
    add("70", Int1Proc70, 70, {}, box);
    add("70 cat 2", Int1Proc70, 70, {kit::byteAttr(19, 2)}, wavy);
    add("71", Int1Proc71, 71, {}, box);
    add("72", Int1Proc72, 72, {}, box);
    add("76", Int1Proc76, 76, {}, box);
    add("78 M S Sh coral", Int1Proc78, 78, {kit::listAttr(82, {1, 4, 17, 14})}, box);
    add("78 rock", Int1Proc78, 78, {kit::listAttr(82, {9})}, box);
    add("78 point", Int1Proc78, 78, {}, kit::point(0, 0));
    add("79", Int1Proc79, 79, {}, box);
    add("80", Int1Proc80, 80, {kit::byteAttr(91, 2)}, wavy);
    add("82 12 m", Int1Proc82, 82, {kit::floatAttr(73, 12)}, across);
    add("82 point 5.3", Int1Proc82, 82, {kit::floatAttr(73, 5.3f)}, kit::point(-30, 0));
    add("83 sand", Int1Proc83, 83, {kit::listAttr(82, {4})}, box);
    add("84", Int1Proc84, 84, {}, wavy);
    add("85", Int1Proc85, 85, {}, box);
    add("87 white 90", Int1Proc87, 87, {kit::listAttr(59, {1}), kit::floatAttr(85, 90)},
        kit::point(0, 0));
    add("87 red 225", Int1Proc87, 87, {kit::listAttr(59, {3}), kit::floatAttr(85, 225)},
        kit::point(0, 0));
    add("87 green 30", Int1Proc87, 87, {kit::listAttr(59, {4}), kit::floatAttr(85, 30)},
        kit::point(0, 0));
    add("90", Int1Proc90, 90, {}, wavy);
    add("97", Int1Proc97, 97, {}, across);
    add("98 12.5", Int1Proc98, 98, {kit::floatAttr(85, 12.5f)}, winding);
    add("98 detail 1", Int1Proc98, 98, {kit::floatAttr(85, 12.5f)}, across, details(1));
    add("98 no bearing", Int1Proc98, 98, {}, wavy);
    add("99", Int1Proc99, 99, {}, kit::point(-20, 0));
    add("99 covers", Int1Proc99, 99, {kit::byteAttr(124, 4)}, kit::point(-20, 0));
    add("99 4.1 m", Int1Proc99, 99,
        {kit::wordAttr(116, 41), kit::byteAttr(69, 2), kit::byteAttr(124, 3)}, kit::point(-30, 0),
        zoned);
    add("99 area", Int1Proc99, 99, {}, box);
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
