// Objects drawn by the chart symbol code of attribute 129: the point figures
// (192), the line styles (193) and the area fills (194), the code's case
// rewritten where it is stored, and what unknown codes draw.
#include "procedureKit.h"
#include "styleCases.h"

#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using styles::Case;
using styles::Lines;
using styles::reducedDetails;
using styles::traced;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const kit::Geometry kLine = kit::line({{-100, -20}, {0, 30}, {100, -20}});
const kit::Geometry kArea = kit::area({{-80, -60}, {-80, 60}, {80, 60}, {80, -60}});

kit::Attr code(const char* text) {
    return kit::textAttr(129, text);
}

bool same(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

class SymbolCodes : public kit::ProcedureTest {};

// ---------------------------------------------------------------- 193

// Template 0 as the end marker with its count and colour.
std::string end0(int count, int colour) {
    return " end stroke 0000 w1 n" + std::to_string(count) + " c" + std::to_string(colour) + " f1";
}

TEST_F(SymbolCodes, LineSimpleStylesOneCodeOfEachGroup) {
    struct Row {
        const char* code;
        const char* line;
    };
    const Row rows[] = {
        {"IC33", "line c0 w1 3333"},   {"IK40", "line c0 w1 0F0F"},
        {"IO14", "line c0 w1 0000"},   {"IJ13.2", "line c0 w1 1F1F"},
        {"IK46.2", "line c0 w1 9999"}, {"IK44.2", "line c14 w1 3333"},
        {"IL4", "line c14 w1 1F1F"},   {"IN63", "line c14 w1 0F0F"},
        {"IM40", "line c14 w1 0000"},  {"IQ130.2", "line c2 w1 0000"},
        {"IH41", "line c0 w1 0000"},   {"IN62.1", "line c0 w1 0F0F"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(traced({r.code, Int1Proc193, {code(r.code)}, kLine, {}}), Lines{r.line});
        // The plain styles are not reduced.
        EXPECT_EQ(traced({r.code, Int1Proc193, {code(r.code)}, kLine, {}, reducedDetails()}),
                  Lines{r.line});
    }
}

TEST_F(SymbolCodes, LineStyledCompositionsOfTheSharedTemplates) {
    const std::string dash150 = "stroke 0F0F w1 n150 c14 f1",
                      dash200 = "stroke 0F0F w1 n200 c14 f1";
    const std::string arrows = "glyph 36/1 n100 c0 f0";
    struct Row {
        const char* code;
        std::string styled;
    };
    const Row rows[] = {
        {"IN60.2", "styled [glyph 36/4 n1 c0 f16; glyph 36/5 n1 c0 f16]" + end0(1, 0)},
        {"IJ22", "styled [glyph 36/3 n1 c0 f16]" + end0(1, 0)},
        {"IK44.1", "styled [glyph 36/19 n10 c0 f0]" + end0(1, 0)},
        {"IL30.2", "styled [glyph 36/1 n10 c0 f0; glyph 36/2 n10 c0 f0]" + end0(1, 14)},
        // Template 10 twice: one record.
        {"IL31.2", "styled [glyph 36/1 n5 c0 f0; glyph 36/2 n5 c0 f0; glyph 34/12 n1 c14 f6; "
                   "glyph 36/2 n5 c0 f0]" +
                       end0(1, 14)},
        {"IL32", "styled [glyph 36/2 n6 c0 f0; gap n10 c0 f1]" + end0(1, 14)},
        {"IL40.1", "styled [glyph 36/8 n1 c0 f0] end none"},
        {"IL40.2", "styled [glyph 36/1 n4 c14 f0; glyph 36/8 n4 c14 f0]" + end0(1, 14)},
        {"IL41.2", "styled [glyph 36/24 n4 c0 f0; glyph 36/23 n4 c0 f0]" + end0(1, 0)},
        {"IL43", "styled [glyph 36/23 n4 c0 f0] end none"},
        {"IM29.1", "styled [glyph 36/1 n4 c14 f0]" + end0(1, 14)},
        {"IN1.1", "styled [" + arrows + "]" + end0(1, 0)},
        {"IN1.2", "styled [" + arrows + "]" + end0(1, 14)},
        {"IN34", "styled [" + arrows + "]" + end0(1, 14)},
        {"IN12.1", "styled [" + dash150 + "; glyph 34/5 n1 c14 f6]" + end0(1, 14)},
        {"IN12.9", "styled [" + dash150 + "; glyph 34/5 n1 c14 f6]" + end0(1, 14)},
        {"IN12.8",
         "styled [" + dash150 + "; glyph 34/16 n1 c14 f6; glyph 34/5 n1 c14 f6]" + end0(1, 14)},
        {"IN20", "styled [glyph 36/1 n10 c0 f0; glyph 34/6 n1 c14 f6]" + end0(1, 14)},
        {"IN21", "styled [glyph 36/1 n10 c0 f0; glyph 34/8 n1 c14 f6]" + end0(1, 14)},
        {"IN30", "styled [" + dash200 + "; glyph 34/9 n1 c14 f6]" + end0(1, 14)},
        {"IN32", "styled [" + dash200 + "; glyph 34/10 n1 c14 f6]" + end0(1, 14)},
        {"IN40", "styled [gap n3 c0 f1; glyph 36/25 n1 c0 f1; gap n3 c0 f1] end none"},
        {"IN41", "styled [stroke 0F0F w1 n1 c14 f1; glyph 36/7 n1 c0 f1]" + end0(1, 14)},
        // Template 0 as element and end marker: count 200 and colour 14 for both.
        {"IN42", "styled [stroke 0000 w1 n200 c14 f1; glyph 36/14 n1 c0 f0]" + end0(200, 14)},
        {"IN43", "styled [stroke 0000 w1 n200 c14 f1; gap n3 c0 f1; glyph 36/7 n1 c0 f1; gap n3 "
                 "c0 f1; glyph 36/7 n1 c0 f1; gap n3 c0 f1] end none"},
        {"IN44", "styled [stroke 0000 w1 n200 c14 f1; gap n3 c0 f1; glyph 36/7 n1 c0 f1; gap n3 "
                 "c0 f1]" +
                     end0(200, 14)},
        {"IN45", "styled [stroke 0000 w1 n150 c14 f1; glyph 34/7 n1 c14 f6]" + end0(150, 14)},
        {"IN47", "styled [stroke 0000 w1 n100 c14 f1; gap n2 c0 f1; text -1 'EEZ' n0 c14 f6; gap "
                 "n2 c0 f1] end none"},
        {"IN48", "styled [" + dash200 + "; glyph 34/11 n1 c14 f6]" + end0(1, 14)},
        // The first template 0 has no count of its own: the later 100 holds.
        {"INC", "styled [stroke 0000 w1 n100 c14 f1; glyph 34/7 n1 c14 f6; stroke 0000 w1 n100 "
                "c14 f1; gap n3 c0 f1; glyph 36/7 n1 c0 f1; gap n3 c0 f1; glyph 36/7 n1 c0 f1; "
                "gap n3 c0 f1]" +
                    end0(100, 14)},
        {"IB82.1", "styled [glyph 36/16 n10 c0 f0]" + end0(1, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(traced({r.code, Int1Proc193, {code(r.code)}, kLine, {}}), Lines{r.styled});
    }
    EXPECT_EQ(LineElementTemplates[7].text, nullptr) << "the EEZ text does not stay";
    EXPECT_EQ(LineElementTemplates[7].character, 0);
}

TEST_F(SymbolCodes, LineReducedRowsUnderReducedDetails) {
    struct Row {
        const char* code;
        const char* line; // under 0x8000
    };
    const Row rows[] = {
        {"IN45", "line c14 w1 1F1F"}, {"IN47", "line c14 w1 1F1F"},  {"IN48", "line c14 w1 1F1F"},
        {"INC", "line c14 w1 1F1F"},  {"IB82.1", "line c0 w1 1F1F"}, {"IB82.2", "line c0 w1 1F1F"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        const styles::Outcome o =
            styles::run({r.code, Int1Proc193, {code(r.code)}, kLine, {}, reducedDetails()});
        EXPECT_EQ(o.calls, Lines{r.line});
        EXPECT_TRUE(o.drawing.texts(-1).empty()) << "no EEZ";
    }
    // Other styled rows keep their style.
    const Lines in12 = traced({"IN12.1", Int1Proc193, {code("IN12.1")}, kLine, {}});
    EXPECT_EQ(traced({"IN12.1", Int1Proc193, {code("IN12.1")}, kLine, {}, reducedDetails()}), in12);
}

TEST_F(SymbolCodes, LineCodesMatchWithoutCaseAndUnknownOnesDrawTheDefault) {
    // Stored in lower case: the style of the capital code, and the stored code
    // is in capitals afterwards.
    kit::FakeObject lower(193);
    lower.set(code("in12.1")).setGeometry(kLine);
    kit::Trace trace;
    kit::run(Int1Proc193, lower);
    ASSERT_EQ(trace.calls().size(), 1u) << trace.log();
    EXPECT_EQ(styles::describe(trace.calls()[0]),
              traced({"IN12.1", Int1Proc193, {code("IN12.1")}, kLine, {}}).at(0));
    EXPECT_EQ(lower.storedText(129), "IN12.1");

    const std::vector<Case> cases{
        {"unknown", Int1Proc193, {code("IX99")}, kLine, {"line c14 w1 1F1F"}},
        {"a point's code", Int1Proc193, {code("IB23")}, kLine, {"line c14 w1 1F1F"}},
        {"empty", Int1Proc193, {code("")}, kLine, {"line c14 w1 1F1F"}},
        // No partial matches: a prefix of a code, or a code with more after it.
        {"prefix", Int1Proc193, {code("IN12")}, kLine, {"line c14 w1 1F1F"}},
        {"longer", Int1Proc193, {code("IC25X")}, kLine, {"line c14 w1 1F1F"}},
        {"absent", Int1Proc193, {}, kLine, {}},
    };
    styles::expectCases(cases);

    // The styled line reaches the picture: dashes in colour 14.
    kit::FakeObject boundary(193);
    boundary.set(code("IN12.1")).setGeometry(kit::line({{-100, 0}, {100, 0}}));
    const kit::Drawing d = kit::run(Int1Proc193, boundary);
    EXPECT_FALSE(d.dashPixels(14).empty()) << d.log();
}

// ---------------------------------------------------------------- 192

kit::Drawing point192(const std::vector<kit::Attr>& attrs, Point at = {10, -20},
                      kit::Settings settings = {}) {
    kit::FakeObject o(192);
    for (const kit::Attr& a : attrs)
        o.set(a);
    o.setGeometry(kit::point(at.x, at.y));
    return kit::run(Int1Proc192, o, settings);
}

TEST_F(SymbolCodes, PointDirectionOfBuoyageTurnsAndScales) {
    ASSERT_TRUE(kit::haveGuiApplication());
    struct Row {
        int exponent, scale;
    };
    for (const Row r : {Row{0, 2}, Row{2, 2}, Row{-1, 1}, Row{-2, 0}}) {
        SCOPED_TRACE(r.exponent);
        kit::Settings settings;
        settings.scaleExponent = r.exponent;
        const kit::Drawing d =
            point192({code("IQ130.2"), kit::floatAttr(130, 45)}, {10, -20}, settings);
        const std::vector<kit::Call> glyphs = d.texts(34);
        ASSERT_EQ(glyphs.size(), 3u) << d.log();
        const int colours[] = {14, 2, 4};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(glyphs[i].codes, std::vector<int>{i + 1});
            EXPECT_EQ(glyphs[i].colour, kit::paletteIndex(colours[i]));
            EXPECT_TRUE(same(glyphs[i].points.at(0), {10, -20}));
            // Counterclockwise 315 degrees: turned 45 degrees to the east.
            EXPECT_DOUBLE_EQ(glyphs[i].angle, 315.0);
            EXPECT_EQ(glyphs[i].scale, r.scale);
        }
    }
    // Nothing without an orientation or with one that is not a number.
    EXPECT_TRUE(point192({code("IQ130.2")}).calls().empty());
    EXPECT_TRUE(point192({code("IQ130.2"), kit::floatAttr(130, kNaN)}).calls().empty());
    // Attribute 85 is not its orientation.
    EXPECT_TRUE(point192({code("IQ130.2"), kit::floatAttr(85, 45)}).calls().empty());
}

TEST_F(SymbolCodes, PointArrowsPointToTheirOrientation) {
    struct Row {
        const char* code;
        std::size_t polylines;
        Point tail; // the far end of the shaft, at orientation 90
    };
    const Row rows[] = {
        {"IH41", 2, {-14, 0}},
        {"IH42", 8, {-14, 0}},
        {"IH43", 2, {-20, 0}},
    };
    const Point at{10, -20};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        const kit::Drawing d = point192({code(r.code), kit::floatAttr(85, 90)}, at);
        const std::vector<kit::Call> lines = d.solidLines(0, 1);
        ASSERT_EQ(lines.size(), r.polylines) << d.log();
        ASSERT_EQ(d.calls().size(), r.polylines) << "nothing else";
        // The head first, pointing east.
        ASSERT_EQ(lines[0].points.size(), 3u);
        EXPECT_TRUE(same(lines[0].points[0], {at.x + 10, at.y + 4}));
        EXPECT_TRUE(same(lines[0].points[1], {at.x + 14, at.y}));
        EXPECT_TRUE(same(lines[0].points[2], {at.x + 10, at.y - 4}));
        const std::vector<Point>& shaft = lines[1].points;
        EXPECT_TRUE(same(shaft.front(), {at.x + 14, at.y}));
        EXPECT_TRUE(same(shaft.back(), {at.x + r.tail.x, at.y + r.tail.y}));
        if (std::string(r.code) == "IH43") {
            EXPECT_EQ(shaft.size(), 13u);
            EXPECT_TRUE(same(shaft[4], {at.x, at.y - 3})) << "(3, 0) turned";
        }
        if (std::string(r.code) == "IH42")
            for (int i = 0; i < 6; ++i) {
                // (-4, -8 - 2i) (0, -4 - 2i) (4, -8 - 2i) turned to the east.
                const std::vector<Point>& c = lines[2 + i].points;
                ASSERT_EQ(c.size(), 3u);
                EXPECT_TRUE(same(c[0], {at.x - 8 - 2 * i, at.y + 4}));
                EXPECT_TRUE(same(c[1], {at.x - 4 - 2 * i, at.y}));
                EXPECT_TRUE(same(c[2], {at.x - 8 - 2 * i, at.y - 4}));
            }
        // Without an orientation, nothing.
        EXPECT_TRUE(point192({code(r.code)}).calls().empty());
        EXPECT_TRUE(point192({code(r.code), kit::floatAttr(85, kNaN)}).calls().empty());
    }
}

TEST_F(SymbolCodes, PointSingleArrowsAndBenchMark) {
    const Point at{10, -20};
    // Solid: the single arrow outline turned to the east, tip 24 out.
    kit::Drawing d = point192({code("IM10"), kit::floatAttr(85, 90)}, at);
    std::vector<kit::Call> lines = d.solidLines(14, 1);
    ASSERT_EQ(lines.size(), 1u) << d.log();
    ASSERT_EQ(lines[0].points.size(), 8u);
    EXPECT_TRUE(same(lines[0].points[0], {at.x + 24, at.y}));
    EXPECT_TRUE(same(lines[0].points[3], {at.x - 24, at.y - 4}));

    // Dashed: only dash pixels, the tip among them.
    d = point192({code("IM11"), kit::floatAttr(85, 90)}, at);
    EXPECT_TRUE(d.solidLines(14, 1).empty());
    const std::vector<Point> dashes = d.dashPixels(14);
    ASSERT_FALSE(dashes.empty()) << d.log();
    EXPECT_TRUE(std::any_of(dashes.begin(), dashes.end(), [&](Point p) {
        return same(p, {at.x + 24, at.y});
    }));
    for (const Point& p : dashes)
        EXPECT_LE(std::abs(p.x - at.x), 24);
    EXPECT_TRUE(point192({code("IM11")}).calls().empty());

    // The bench mark, in any case of its code.
    ASSERT_TRUE(kit::haveGuiApplication());
    kit::FakeObject mark(192);
    mark.set(code("ib23")).setGeometry(kit::point(at.x, at.y));
    d = kit::run(Int1Proc192, mark);
    EXPECT_TRUE(d.hasGlyph(35, 26, 0, at)) << d.log();
    EXPECT_EQ(d.calls().size(), 1u);
    EXPECT_EQ(mark.storedText(129), "IB23");

    // An area stands at its centre of gravity.
    kit::FakeObject areaMark(192);
    areaMark.set(code("IB23")).setGeometry(kArea);
    EXPECT_TRUE(kit::run(Int1Proc192, areaMark).hasGlyph(35, 26, 0, {0, 0}));
}

TEST_F(SymbolCodes, PointNothingReducedUnknownOrAbsent) {
    const std::vector<kit::Attr> attrs[] = {
        {code("IQ130.2"), kit::floatAttr(130, 45)},
        {code("IH42"), kit::floatAttr(85, 90)},
        {code("IM10"), kit::floatAttr(85, 90)},
        {code("IB23")},
    };
    for (const auto& a : attrs) {
        EXPECT_FALSE(point192(a).calls().empty());
        EXPECT_TRUE(point192(a, {0, 0}, reducedDetails()).calls().empty());
    }
    // A line code, an unknown one, none.
    EXPECT_TRUE(point192({code("IN12.1"), kit::floatAttr(85, 90)}).calls().empty());
    EXPECT_TRUE(point192({code("IZ1")}).calls().empty());
    EXPECT_TRUE(point192({kit::floatAttr(85, 90), kit::floatAttr(130, 4)}).calls().empty());
}

// ---------------------------------------------------------------- 194

TEST_F(SymbolCodes, AreaCodes) {
    const std::vector<Case> cases{
        {"IH44", Int1Proc194, {code("IH44")}, kArea, {"pattern L0 [upright 35/79 c0]"}},
        {"ih44", Int1Proc194, {code("ih44")}, kArea, {"pattern L0 [upright 35/79 c0]"}},
        {"II25", Int1Proc194, {code("II25")}, kArea, {"fill c1 p0", "line c14 w1 1F1F"}},
        {"IN62.1", Int1Proc194, {code("IN62.1")}, kArea, {"line c0 w1 0F0F"}},
        {"IN62.2", Int1Proc194, {code("IN62.2")}, kArea, {}},
        {"unknown", Int1Proc194, {code("IX1")}, kArea, {}},
        {"absent", Int1Proc194, {}, kArea, {}},
    };
    styles::expectCases(cases);

    // The fill of II25 reaches the picture.
    kit::FakeObject fill(194);
    fill.set(code("II25")).setGeometry(kArea);
    EXPECT_EQ(kit::run(Int1Proc194, fill).solidFills(1), 1);
}

// ---------------------------------------------------------------- gallery

TEST_F(SymbolCodes, Gallery) {
    kit::Gallery gallery("symbol-codes", 160, 6);
    const auto add = [&](const std::string& label, CondSymbProc procedure, int objectCode,
                         const std::vector<kit::Attr>& attrs, const kit::Geometry& g,
                         kit::Settings settings = {}) {
        kit::FakeObject o(objectCode);
        for (const kit::Attr& a : attrs)
            o.set(a);
        o.setGeometry(g);
        gallery.add(label, procedure, o, settings);
        kit::resetDrawingState();
    };
    const kit::Geometry p = kit::point(0, 0);
    kit::Settings minus2;
    minus2.scaleExponent = -2;
    kit::Settings minus1;
    minus1.scaleExponent = -1;
    add("IQ130.2 at 45, 0", Int1Proc192, 192, {code("IQ130.2"), kit::floatAttr(130, 45)}, p);
    add("IQ130.2 at 45, -2", Int1Proc192, 192, {code("IQ130.2"), kit::floatAttr(130, 45)}, p,
        minus2);
    add("IQ130.2 at 45, -1", Int1Proc192, 192, {code("IQ130.2"), kit::floatAttr(130, 45)}, p,
        minus1);
    add("IH41 at 90", Int1Proc192, 192, {code("IH41"), kit::floatAttr(85, 90)}, p);
    add("IH42 at 30", Int1Proc192, 192, {code("IH42"), kit::floatAttr(85, 30)}, p);
    add("IH43 at 0", Int1Proc192, 192, {code("IH43"), kit::floatAttr(85, 0)}, p);
    add("IM10 at 90", Int1Proc192, 192, {code("IM10"), kit::floatAttr(85, 90)}, p);
    add("IM11 at 225", Int1Proc192, 192, {code("IM11"), kit::floatAttr(85, 225)}, p);
    add("IB23", Int1Proc192, 192, {code("IB23")}, p);
    // Long enough for the elements that follow a 200-pixel stroke.
    const kit::Geometry line = kit::line({{-70, -60}, {-70, 60}, {-10, -50}, {50, 60}, {70, -60}});
    for (const char* c :
         {"IC25",   "IK1",    "IQ130.2", "IJ21", "IK44.1", "IL31.2", "IL40.2", "IL41.2", "IN1.2",
          "IN12.1", "IN12.8", "IN20",    "IN21", "IN30",   "IN32",   "IN40",   "IN41",   "IN42",
          "IN43",   "IN44",   "IN45",    "IN47", "IN48",   "INC",    "IB82.1"})
        add(std::string("193 ") + c, Int1Proc193, 193, {code(c)}, line);
    add("193 IN47 reduced", Int1Proc193, 193, {code("IN47")}, line, reducedDetails());
    add("193 unknown", Int1Proc193, 193, {code("IX9")}, line);
    const kit::Geometry area = kit::area({{-60, -45}, {-60, 45}, {60, 45}, {60, -45}});
    add("194 IH44", Int1Proc194, 194, {code("IH44")}, area);
    add("194 II25", Int1Proc194, 194, {code("II25")}, area);
    add("194 IN62.1", Int1Proc194, 194, {code("IN62.1")}, area);
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
