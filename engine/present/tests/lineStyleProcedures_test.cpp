// The line styles and plain fills of the procedures of codes 101 to 221:
// cased roads by category, styled lines assembled from the shared templates,
// plain lines and hatched fills, and what each draws for the geometry types
// it does not serve.
#include "procedureKit.h"
#include "styleCases.h"

#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using styles::Lines;

const kit::Geometry kLine = kit::line({{-100, -20}, {0, 30}, {100, -20}});
const kit::Geometry kArea = kit::area({{-80, -60}, {-80, 60}, {80, 60}, {80, -60}});
const kit::Geometry kPoint = kit::point(10, 20);

using styles::Case;
using styles::expectCases;
using styles::Outcome;
using styles::reducedDetails;
using styles::run;
using styles::traced;

class LineStyles : public kit::ProcedureTest {};

// ---------------------------------------------------------------- roads

TEST_F(LineStyles, RoadsAreCasedByCategoryWidePassFirst) {
    struct Row {
        int value; // -1: attribute absent
        Lines passes;
    };
    const std::vector<Row> rows{
        {-1, {"line c13 w1 0000"}},
        {0, {"line c13 w1 0000"}},
        {1, {"line c2 w9 0000", "line c11 w3 0000"}},
        {2, {"line c0 w7 0000", "line c11 w3 0000"}},
        {3, {"line c0 w3 0000", "line c3 w1 0000"}},
        {4, {"line c13 w1 0000"}},
        {5, {"line c11 w2 0000"}},
        {6, {"line c3 w1 0000"}},
        {7, {"line c13 w1 0000"}},
        {51, {"line c2 w5 0000", "line c11 w3 0000", "line c2 w1 0000"}},
        {52, {"line c0 w5 0000", "line c2 w3 0000"}},
        {53, {"line c1 w2 0000"}},
        {54, {"line c2 w5 0000", "line c11 w3 0000"}},
        {55, {"line c1 w2 0000"}},
        {56, {"line c13 w1 0000"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        Case c{"road", Int1Proc132, {}, kLine, r.passes};
        if (r.value >= 0) c.attributes.push_back(kit::byteAttr(44, std::uint8_t(r.value)));
        EXPECT_EQ(traced(c), r.passes);
        // The same at the smallest scale that still draws minor roads.
        c.settings.scaleExponent = -1;
        EXPECT_EQ(traced(c), r.passes);
        // Below it, minor roads and minor streets are left out.
        c.settings.scaleExponent = -2;
        const bool minor = r.value == 3 || r.value == 6;
        EXPECT_EQ(traced(c), minor ? Lines{} : r.passes);
    }

    // The passes reach the picture: the wide red casing under the narrow fill.
    kit::FakeObject road(132);
    road.set(kit::byteAttr(44, 1)).setGeometry(kit::line({{-100, 0}, {100, 0}}));
    const kit::Drawing d = kit::run(Int1Proc132, road);
    ASSERT_EQ(d.of("Polyline").size(), 2u) << d.log();
    EXPECT_TRUE(d.hasSolidLine(2, 9, {{-100, 0}, {100, 0}})) << d.log();
    EXPECT_TRUE(d.hasSolidLine(11, 3, {{-100, 0}, {100, 0}})) << d.log();
    EXPECT_EQ(d.of("Polyline")[0].penWidth, 9);
}

// ---------------------------------------------------------------- compositions

TEST_F(LineStyles, CompositionsOfTheSharedTemplates) {
    const std::string t0 = "stroke 0000 w1 n1 c0 f1";
    const std::vector<Case> cases{
        {"102 floating barrier",
         Int1Proc102,
         {kit::byteAttr(32, 2)},
         kLine,
         {"styled [glyph 36/8 n1 c0 f0] end none"}},
        {"102 other barrier", Int1Proc102, {kit::byteAttr(32, 1)}, kLine, {"line c0 w1 1F1F"}},
        {"102 no category", Int1Proc102, {}, kLine, {"line c0 w1 1F1F"}},
        {"107 in use", Int1Proc107, {}, kLine, {"styled [glyph 36/8 n3 c0 f0] end none"}},
        {"107 gaps for 4",
         Int1Proc107,
         {kit::listAttr(109, {4, 1, 5, 4})},
         kLine,
         {"styled [glyph 36/8 n3 c0 f0; gap n10 c0 f1; gap n10 c0 f1] end none"}},
        {"107 no 4",
         Int1Proc107,
         {kit::listAttr(109, {1, 2})},
         kLine,
         {"styled [glyph 36/8 n3 c0 f0] end none"}},
        {"108",
         Int1Proc108,
         {},
         kArea,
         {"styled [glyph 36/1 n4 c14 f0; glyph 36/8 n4 c14 f0] end none"}},
        {"121",
         Int1Proc121,
         {},
         kLine,
         {"styled [glyph 36/17 n1 c0 f0] end stroke 0000 w3 n1 c0 f1"}},
        {"123 area", Int1Proc123, {}, kArea, {"styled [glyph 36/20 n10 c0 f0] end " + t0}},
        {"144 line",
         Int1Proc144,
         {},
         kLine,
         {"styled [glyph 36/21 n1 c0 f16; glyph 36/22 n1 c0 f16] end " + t0}},
        {"145 area",
         Int1Proc145,
         {},
         kArea,
         {"styled [glyph 36/21 n1 c0 f16; glyph 36/22 n1 c0 f16] end " + t0}},
        {"151: template 0 is element and end marker",
         Int1Proc151,
         {},
         kLine,
         {"styled [stroke 0000 w1 n200 c14 f1; glyph 36/14 n1 c0 f0] end stroke 0000 w1 "
          "n200 c14 f1"}},
        {"154: template 23 as left",
         Int1Proc154,
         {},
         kLine,
         {"styled [stroke 0000 w1 n15 c0 f1; glyph 36/15 n1 c0 f0; gap n5 c0 f1] end stroke "
          "0000 w1 n15 c0 f1"}},
        {"155: six elements, three records",
         Int1Proc155,
         {},
         kLine,
         {"styled [stroke 0000 w1 n200 c14 f1; gap n3 c0 f1; glyph 36/7 n1 c0 f1; gap n3 c0 "
          "f1; glyph 36/7 n1 c0 f1; gap n3 c0 f1] end none"}},
        {"170 line", Int1Proc170, {}, kLine, {"styled [glyph 36/20 n10 c0 f0] end " + t0}},
    };
    expectCases(cases);
}

TEST_F(LineStyles, RestrictedAreaSymbolsFromListsAndText) {
    const std::string arrows = "glyph 36/1 n10 c0 f0";
    const std::string anchor = "glyph 34/6 n1 c14 f6", fish = "glyph 34/8 n1 c14 f6";
    const std::string cable = "glyph 36/2 n10 c0 f0";
    const std::string end = " end stroke 0000 w1 n1 c14 f1";
    const std::vector<Case> cases{
        {"nothing", Int1Proc128, {}, kLine, {"styled [" + arrows + "]" + end}},
        {"list in order",
         Int1Proc128,
         {kit::listAttr(43, {3, 1, 2, 7, 2})},
         kLine,
         {"styled [" + arrows + "; " + fish + "; " + anchor + "; " + anchor + "]" + end}},
        {"cable area",
         Int1Proc128,
         {kit::listAttr(43, {2}), kit::textAttr(78, "Within CABLE AREA limits")},
         kLine,
         {"styled [" + arrows + "; " + anchor + "; " + cable + "]" + end}},
        {"case matters",
         Int1Proc128,
         {kit::textAttr(78, "cable area")},
         kLine,
         {"styled [" + arrows + "]" + end}},
        {"reduced: no list symbols",
         Int1Proc128,
         {kit::listAttr(43, {2, 3}), kit::textAttr(78, "CABLE AREA")},
         kLine,
         {"styled [" + arrows + "; " + cable + "]" + end},
         reducedDetails()},
    };
    expectCases(cases);
}

TEST_F(LineStyles, RestrictedAreaMarkAtTheCentreOfGravityOfEveryGeometry) {
    struct Row {
        const char* name;
        kit::Geometry geometry;
        bool marked;
        Point at;
    };
    const std::vector<Row> rows{
        {"area", kArea, true, {0, 0}},
        {"point", kPoint, true, {10, 20}},
        // A line that closes on itself, clockwise around (0, 0).
        {"closed line",
         kit::line({{-40, -40}, {-40, 40}, {40, 40}, {40, -40}, {-40, -40}}),
         true,
         {0, 0}},
        {"open line", kit::line({{-100, 0}, {100, 0}, {100, 1}}), false, {}},
        {"no geometry", kit::noGeometry(), false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::FakeObject restricted(128);
        restricted.setGeometry(r.geometry);
        const kit::Drawing d = kit::run(Int1Proc128, restricted);
        const std::vector<kit::Call> glyphs = d.texts(35);
        if (r.marked) {
            ASSERT_EQ(glyphs.size(), 1u) << d.log();
            EXPECT_TRUE(d.hasGlyph(35, 21, 14, r.at)) << d.log();
        } else {
            EXPECT_TRUE(glyphs.empty()) << d.log();
        }
    }
}

TEST_F(LineStyles, DryingLineLabelledOrDashedByQualityOfPosition) {
    const std::string label = "text -1 '0' n0 c0 f64";
    const std::vector<Case> cases{
        {"no quality: label every 400 pixels",
         Int1Proc177,
         {},
         kLine,
         {"styled [" + label + "] end stroke 0000 w1 n400 c0 f1"}},
        {"surveyed",
         Int1Proc177,
         {kit::byteAttr(91, 1)},
         kLine,
         {"styled [" + label + "] end stroke 0000 w1 n400 c0 f1"}},
        {"unsurveyed: dashed",
         Int1Proc177,
         {kit::byteAttr(91, 2)},
         kLine,
         {"styled [" + label + "; stroke 0F0F w1 n400 c0 f1] end stroke 0000 w1 n1 c0 f1"}},
    };
    expectCases(cases);
    // The label's text and flags do not outlast the call.
    EXPECT_EQ(LineElementTemplates[7].flags, 6);
    EXPECT_EQ(LineElementTemplates[7].text, nullptr);
    EXPECT_EQ(LineElementTemplates[7].character, 0);

    // A solid line interrupted by the label every 400 pixels.
    std::vector<Point> long_;
    for (int x = -500; x <= 500; x += 20)
        long_.push_back({x, 0});
    kit::FakeObject drying(177);
    drying.setGeometry(kit::line(long_));
    kit::Settings wide;
    wide.width = 1100;
    const kit::Drawing d = kit::run(Int1Proc177, drying, wide);
    const std::vector<kit::Call> labels = d.texts(-1);
    ASSERT_EQ(labels.size(), 3u) << "at vertex 1 and then every 400 pixels: " << d.log();
    for (const kit::Call& c : labels)
        EXPECT_EQ(c.codes, (std::vector<int>{'0'}));
    EXPECT_FALSE(d.solidLines(0).empty());
}

TEST_F(LineStyles, StyledLineByValue) {
    const std::string end = " end stroke 0000 w1 n1 c0 f1";
    std::vector<Case> cases{
        {"absent", Int1Proc197, {}, kLine, {}},
        {"3",
         Int1Proc197,
         {kit::byteAttr(138, 3)},
         kLine,
         {"styled [glyph 36/4 n1 c0 f16; glyph 36/5 n1 c0 f16]" + end}},
        {"4", Int1Proc197, {kit::byteAttr(138, 4)}, kLine, {"styled [glyph 36/3 n1 c0 f16]" + end}},
    };
    const std::vector<std::pair<int, std::string>> plain{
        {0, "line c14 w1 0000"}, {1, "line c14 w1 0000"}, {2, "line c14 w1 1F1F"},
        {5, "line c0 w1 9999"},  {6, "line c14 w1 0000"}, {200, "line c14 w1 0000"},
    };
    for (const auto& [value, line] : plain)
        cases.push_back(
            {"plain", Int1Proc197, {kit::byteAttr(138, std::uint8_t(value))}, kLine, {line}});
    expectCases(cases);
}

// ---------------------------------------------------------------- plain lines and fills

TEST_F(LineStyles, PlainLinesAndFills) {
    const std::vector<Case> cases{
        {"101", Int1Proc101, {}, kLine, {"line c14 w1 1F1F"}},
        {"106", Int1Proc106, {}, kLine, {"line c0 w1 0000"}},
        {"114", Int1Proc114, {}, kLine, {"line c0 w1 1F1F"}},
        {"122", Int1Proc122, {}, kLine, {"line c0 w1 0000"}},
        {"124", Int1Proc124, {}, kLine, {"line c14 w1 1F1F"}},
        {"130", Int1Proc130, {}, kLine, {"line c0 w1 0000"}},
        {"143", Int1Proc143, {}, kLine, {"line c0 w1 9999"}},
        {"159", Int1Proc159, {}, kLine, {"line c15 w3 0000"}},
        {"160", Int1Proc160, {}, kLine, {"line c14 w1 1F1F"}},
        {"173 line", Int1Proc173, {}, kLine, {"line c0 w1 0000"}},
        {"202", Int1Proc202, {}, kLine, {"line c0 w1 1F1F"}},
        {"217 area", Int1Proc217, {}, kArea, {"line c2 w3 0000"}},
        {"109 area", Int1Proc109, {}, kArea, {"fill c12 p0", "line c0 w1 0000"}},
        {"109 line", Int1Proc109, {}, kLine, {"line c0 w1 0000"}},
        {"115", Int1Proc115, {}, kArea, {"fill c15 p8"}},
        {"115 reduced", Int1Proc115, {}, kArea, {}, reducedDetails()},
        {"131 area", Int1Proc131, {}, kArea, {"fill c13 p8", "line c0 w1 0000"}},
        {"131 reduced", Int1Proc131, {}, kArea, {"line c0 w1 0000"}, reducedDetails()},
        {"131 line", Int1Proc131, {}, kLine, {"line c0 w1 0000"}},
        {"139 area", Int1Proc139, {}, kArea, {"fill c12 p0", "line c0 w2 0000"}},
        {"139 area 2",
         Int1Proc139,
         {kit::byteAttr(124, 2)},
         kArea,
         {"fill c12 p0", "line c0 w2 0000"}},
        {"139 area 6",
         Int1Proc139,
         {kit::byteAttr(124, 6)},
         kArea,
         {"fill c12 p0", "line c0 w2 0000"}},
        {"139 area 1",
         Int1Proc139,
         {kit::byteAttr(124, 1)},
         kArea,
         {"fill c5 p0", "line c0 w1 0F0F"}},
        {"139 area 3",
         Int1Proc139,
         {kit::byteAttr(124, 3)},
         kArea,
         {"fill c5 p0", "line c0 w1 0F0F"}},
        {"139 area 4",
         Int1Proc139,
         {kit::byteAttr(124, 4)},
         kArea,
         {"fill c5 p0", "line c0 w1 0F0F"}},
        {"139 area 5",
         Int1Proc139,
         {kit::byteAttr(124, 5)},
         kArea,
         {"fill c5 p0", "line c0 w1 0F0F"}},
        {"139 line", Int1Proc139, {}, kLine, {"line c0 w2 0000"}},
        {"139 line 4", Int1Proc139, {kit::byteAttr(124, 4)}, kLine, {"line c0 w1 0F0F"}},
        {"139 point", Int1Proc139, {}, kPoint, {}},
        {"163", Int1Proc163, {}, kArea, {"fill c15 p8", "line c15 w1 0000"}},
        {"163 reduced",
         Int1Proc163,
         {},
         kArea,
         {"fill c15 p0", "line c15 w1 0000"},
         reducedDetails()},
        {"164", Int1Proc164, {}, kArea, {"fill c15 p8", "line c15 w1 0000"}},
        {"164 reduced",
         Int1Proc164,
         {},
         kArea,
         {"fill c15 p0", "line c15 w1 0000"},
         reducedDetails()},
        {"218 area", Int1Proc218, {}, kArea, {"fill c1 p0", "line c2 w1 1F1F"}},
        {"218 line", Int1Proc218, {}, kLine, {"line c2 w1 1F1F"}},
        {"221", Int1Proc221, {}, kArea, {"fill c0 p8"}},
    };
    expectCases(cases);

    // On the picture: hatched, or solid under reduced details.
    kit::FakeObject zone(163);
    zone.setGeometry(kArea);
    kit::Drawing d = kit::run(Int1Proc163, zone);
    EXPECT_EQ(d.patternFills(15), 1) << d.log();
    EXPECT_EQ(d.solidFills(15), 0) << d.log();
    d = kit::run(Int1Proc163, zone, reducedDetails());
    EXPECT_EQ(d.patternFills(15), 0) << d.log();
    EXPECT_EQ(d.solidFills(15), 1) << d.log();
}

TEST_F(LineStyles, CoverageRingOnTheCellBorderShowsNothing) {
    // A coverage area whose every stretch lies on its cell's border (masked)
    // draws nothing; a visible stretch is drawn 3 pixels wide in colour 2.
    const std::vector<Point> ring{{-80, -60}, {-80, 60}, {80, 60}, {80, -60}, {-80, -60}};
    kit::FakeObject coverage(217);
    coverage.set(kit::byteAttr(84, 1)).setGeometry(kit::areaWithSegments(ring, {-5}));
    EXPECT_TRUE(kit::run(Int1Proc217, coverage).calls().empty());

    coverage.setGeometry(kit::areaWithSegments(ring, {2, -3}));
    const kit::Drawing d = kit::run(Int1Proc217, coverage);
    EXPECT_TRUE(d.hasSolidLine(2, 3, {{-80, -60}, {-80, 60}})) << d.log();
    EXPECT_EQ(d.of("Polyline").size(), 1u) << d.log();
}

// ---------------------------------------------------------------- geometry types

TEST_F(LineStyles, ProceduresThatServeOneGeometryType) {
    struct Row {
        const char* name;
        CondSymbProc procedure;
        bool areas;
    };
    const std::vector<Row> rows{
        {"123", Int1Proc123, true},  {"145", Int1Proc145, true},  {"144", Int1Proc144, false},
        {"170", Int1Proc170, false}, {"173", Int1Proc173, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (const kit::Geometry& g : {kArea, kLine, kPoint}) {
            const bool served = g.type == (r.areas ? egtArea : egtLine);
            const Outcome o = run({r.name, r.procedure, {}, g, {}});
            EXPECT_EQ(o.calls.size(), served ? 1u : 0u) << g.type;
            EXPECT_EQ(o.drawing.calls().empty(), !served) << g.type << "\n" << o.drawing.log();
        }
    }
}

TEST_F(LineStyles, NothingForAnObjectWithoutGeometryOrForCode136) {
    const std::vector<std::pair<int, CondSymbProc>> all{
        {101, Int1Proc101}, {102, Int1Proc102}, {106, Int1Proc106}, {107, Int1Proc107},
        {108, Int1Proc108}, {109, Int1Proc109}, {114, Int1Proc114}, {115, Int1Proc115},
        {121, Int1Proc121}, {122, Int1Proc122}, {123, Int1Proc123}, {124, Int1Proc124},
        {128, Int1Proc128}, {130, Int1Proc130}, {131, Int1Proc131}, {132, Int1Proc132},
        {136, Int1Proc136}, {139, Int1Proc139}, {143, Int1Proc143}, {144, Int1Proc144},
        {145, Int1Proc145}, {151, Int1Proc151}, {153, Int1Proc153}, {154, Int1Proc154},
        {155, Int1Proc155}, {159, Int1Proc159}, {160, Int1Proc160}, {163, Int1Proc163},
        {164, Int1Proc164}, {169, Int1Proc169}, {170, Int1Proc170}, {171, Int1Proc171},
        {172, Int1Proc172}, {173, Int1Proc173}, {177, Int1Proc177}, {197, Int1Proc197},
        {202, Int1Proc202}, {205, Int1Proc205}, {212, Int1Proc212}, {217, Int1Proc217},
        {218, Int1Proc218}, {221, Int1Proc221},
    };
    ASSERT_EQ(all.size(), 42u);
    for (const auto& [code, procedure] : all) {
        SCOPED_TRACE(code);
        kit::FakeObject nothing(code);
        nothing.set(kit::byteAttr(138, 1)).set(kit::textAttr(78, "note"));
        nothing.setGeometry(kit::noGeometry());
        const kit::Drawing d = kit::run(procedure, nothing);
        EXPECT_TRUE(d.calls().empty()) << d.log();
        // The table of the library draws these codes with them.
        EXPECT_EQ(Int1CondSymbProcs[code], procedure);
    }

    for (const kit::Geometry& g : {kArea, kLine, kPoint}) {
        kit::FakeObject seabed(136);
        seabed.set(kit::listAttr(82, {1, 4})).setGeometry(g);
        kit::Trace trace;
        EXPECT_TRUE(kit::run(Int1Proc136, seabed).calls().empty());
        EXPECT_TRUE(trace.calls().empty());
    }
}

// ---------------------------------------------------------------- shared templates

TEST_F(LineStyles, AnEndMarkerWithoutItsCountTakesTheLastWrittenOne) {
    kit::FakeObject baseline(151);
    baseline.setGeometry(kLine);
    kit::run(Int1Proc151, baseline);
    EXPECT_EQ(LineElementTemplates[0].count, 200);
    EXPECT_EQ(LineElementTemplates[0].colour, 14);

    struct Row {
        CondSymbProc procedure;
        kit::Geometry geometry;
    };
    for (const Row& r : std::vector<Row>{{Int1Proc123, kArea},
                                         {Int1Proc144, kLine},
                                         {Int1Proc170, kLine},
                                         {Int1Proc128, kLine}}) {
        kit::FakeObject o(100);
        o.setGeometry(r.geometry);
        kit::Trace trace;
        kit::run(r.procedure, o);
        ASSERT_EQ(trace.calls().size(), 1u) << trace.log();
        ASSERT_TRUE(trace.calls()[0].hasEndMarker);
        EXPECT_EQ(trace.calls()[0].endMarker.count, 200) << trace.log();
    }
    EXPECT_EQ(LineElementTemplates[0].colour, 14) << "128 wrote its end marker's colour last";
}

TEST_F(LineStyles, TemplateCountsAreTakenAsLeftOnlyWhereTheCompositionSaysSo) {
    // Another user leaves count 7 in templates 23 and 36.
    LineElementTemplates[23].count = 7;
    LineElementTemplates[36].count = 7;
    kit::FakeObject sea(154);
    sea.setGeometry(kLine);
    kit::Trace trace;
    kit::run(Int1Proc154, sea);
    kit::FakeObject restricted(128);
    restricted.set(kit::listAttr(43, {2})).setGeometry(kLine);
    kit::run(Int1Proc128, restricted);
    ASSERT_EQ(trace.calls().size(), 2u);
    EXPECT_EQ(trace.calls()[0].elements.at(1).count, 7) << "template 23 as left";
    EXPECT_EQ(trace.calls()[1].elements.at(1).count, 1) << "template 36 once";
}

// ---------------------------------------------------------------- long lists

TEST_F(LineStyles, ListsThatWouldOverfillAStyleStopAtSixteen) {
    const std::vector<std::uint8_t> twenty(20, 4), twentyTwos(20, 2);
    struct Row {
        const char* name;
        CondSymbProc procedure;
        kit::Attr list;
        RendererCallKind kind;
    };
    const std::vector<Row> rows{
        {"107", Int1Proc107, kit::listAttr(109, twenty), RendererCallKind::ComplexLine},
        {"128", Int1Proc128, kit::listAttr(43, twentyTwos), RendererCallKind::ComplexLine},
        {"169", Int1Proc169, kit::listAttr(55, std::vector<std::uint8_t>(20, 1)),
         RendererCallKind::ComplexArea},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::FakeObject o(100);
        o.set(r.list).set(kit::textAttr(78, "CABLE AREA"));
        // An area wide enough for a cell of sixteen glyphs.
        o.setGeometry(r.kind == RendererCallKind::ComplexArea
                          ? kit::area({{-500, -60}, {-500, 60}, {500, 60}, {500, -60}})
                          : kLine);
        kit::Trace trace;
        const kit::Drawing d = kit::run(r.procedure, o);
        const std::vector<RendererCall> calls = trace.of(r.kind);
        ASSERT_EQ(calls.size(), 1u) << trace.log();
        EXPECT_EQ(calls[0].count, 16);
        EXPECT_EQ(calls[0].elements.size(), 16u);
        EXPECT_FALSE(d.calls().empty()) << "drawn, not refused";
    }
}

} // namespace
