// The depth procedures of the codes below 100: depth and dredged areas
// filled by depth zone (44, 50), labelled depth contours (45), land
// elevations (82), and diffusers and obstructions written as soundings
// (46, 99).
#include "procedureKit.h"
#include "styleCases.h"

#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"
#include "procedures/SoundValue.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using styles::Case;
using styles::expectCases;
using styles::Lines;
using styles::reducedDetails;

// Depth-zone limits: zone 1 below 2 m (colour 7), zone 2 below 5 m (8),
// zone 3 below 10 m (9), zone 4 below 20 m (9), zone 0 beyond (1).
const std::vector<double> kZones = {2, 5, 10, 20};

kit::Settings zoned() {
    kit::Settings s;
    s.depthZones = kZones;
    return s;
}

const kit::Geometry kLine = kit::line({{-100, -20}, {0, 30}, {100, -20}});
const kit::Geometry kArea = kit::area({{-80, -60}, {-80, 60}, {80, 60}, {80, -60}});
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// The two codes written as soundings, with their notes.
struct SoundingLike {
    int code;
    CondSymbProc procedure;
    const char* note;
};
const SoundingLike kSoundingLike[] = {{46, Int1Proc46, "Diffuser"}, {99, Int1Proc99, "Obstr"}};

class DepthProcedures : public kit::ProcedureTest {};

// ---------------------------------------------------------------- depth areas

TEST_F(DepthProcedures, DepthAreasFillInTheirZonesColour) {
    struct Row {
        const char* name;
        std::vector<kit::Attr> attributes;
        std::vector<double> zones;
        int colour;
    };
    const std::vector<Row> rows{
        {"no depth: 0 m", {}, kZones, 7},
        {"not a number: 0 m", {kit::floatAttr(66, kNaN)}, kZones, 7},
        {"drying", {kit::floatAttr(66, -2)}, kZones, 7},
        {"1.5 m", {kit::floatAttr(66, 1.5f)}, kZones, 7},
        {"2 m", {kit::floatAttr(66, 2)}, kZones, 8},
        {"5 m", {kit::floatAttr(66, 5)}, kZones, 9},
        {"10 m", {kit::floatAttr(66, 10)}, kZones, 9},
        {"20 m", {kit::floatAttr(66, 20)}, kZones, 1},
        {"100 m", {kit::floatAttr(66, 100)}, kZones, 1},
        {"no zones", {kit::floatAttr(66, 1)}, {}, 1},
        {"no zones, no depth", {}, {}, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::Settings s;
        s.depthZones = r.zones;
        const std::string fill = "fill c" + std::to_string(r.colour) + " p0";
        expectCases({
            {"44", Int1Proc44, r.attributes, kArea, {fill}, s},
            {"50", Int1Proc50, r.attributes, kArea, {fill, "line c0 w1 F0F0"}, s},
        });
        kit::FakeObject area(44);
        for (const kit::Attr& a : r.attributes)
            area.set(a);
        area.setGeometry(kArea);
        EXPECT_EQ(kit::run(Int1Proc44, area, s).solidFills(r.colour), 1);
    }
}

// ---------------------------------------------------------------- contours

TEST_F(DepthProcedures, ContoursLabelledWithTheirValue) {
    const std::string plain = "line c6 w1 0000";
    const std::string end = " end stroke 0000 w1 n400 c6 f1";
    const auto label = [](const char* text) {
        return std::string("text -1 '") + text + "' n0 c6 f64";
    };
    const kit::Attr ten = kit::floatAttr(113, 10);
    const std::vector<Case> cases{
        {"labelled", Int1Proc45, {ten}, kLine, {"styled [" + label(" 10 ") + "]" + end}},
        {"surveyed",
         Int1Proc45,
         {ten, kit::byteAttr(91, 1)},
         kLine,
         {"styled [" + label(" 10 ") + "]" + end}},
        {"unsurveyed: dashes between the labels",
         Int1Proc45,
         {ten, kit::byteAttr(91, 2)},
         kLine,
         {"styled [" + label(" 10 ") + "; stroke 0F0F w1 n400 c6 f1]" + end}},
        {"ties to even",
         Int1Proc45,
         {kit::floatAttr(113, 12.5f)},
         kLine,
         {"styled [" + label(" 12 ") + "]" + end}},
        {"rounded",
         Int1Proc45,
         {kit::floatAttr(113, 13.5f)},
         kLine,
         {"styled [" + label(" 14 ") + "]" + end}},
        {"area boundary", Int1Proc45, {ten}, kArea, {"styled [" + label(" 10 ") + "]" + end}},
        {"20 pixels long", Int1Proc45, {ten}, kit::line({{0, 0}, {20, 0}}), {plain}},
        {"30 x 30", Int1Proc45, {ten}, kit::line({{0, 0}, {30, 30}}), {plain}},
        {"31 tall",
         Int1Proc45,
         {ten},
         kit::line({{0, 0}, {0, 31}}),
         {"styled [" + label(" 10 ") + "]" + end}},
        {"no value", Int1Proc45, {}, kLine, {plain}},
        {"not a number", Int1Proc45, {kit::floatAttr(113, kNaN)}, kLine, {plain}},
        {"beyond whole numbers", Int1Proc45, {kit::floatAttr(113, 1e30f)}, kLine, {plain}},
        {"reduced", Int1Proc45, {ten}, kLine, {plain}, reducedDetails()},
    };
    expectCases(cases);

    // The label's flags and text do not outlast the call; the end marker's
    // spacing and colour stay in the shared record.
    kit::FakeObject contour(45);
    contour.set(ten).set(kit::byteAttr(91, 3)).setGeometry(kLine);
    kit::run(Int1Proc45, contour);
    EXPECT_EQ(LineElementTemplates[7].flags, 6);
    EXPECT_EQ(LineElementTemplates[7].text, nullptr);
    EXPECT_EQ(LineElementTemplates[7].character, 0);
    EXPECT_EQ(LineElementTemplates[0].count, 400);
    EXPECT_EQ(LineElementTemplates[0].colour, 6);
}

TEST_F(DepthProcedures, ContourLabelsStandInGapsOfTheLine) {
    // A straight contour with a vertex every 50 pixels: the first label at
    // vertex 1, then one after every 400 pixels of line.
    std::vector<Point> points;
    for (int x = -500; x <= 500; x += 50)
        points.push_back({x, 0});
    kit::FakeObject contour(45);
    contour.set(kit::floatAttr(113, 10)).setGeometry(kit::line(points));
    kit::Settings wide;
    wide.width = 1100;
    wide.height = 120;
    const QImage picture = kit::runRaster(Int1Proc45, contour, wide);
    const QRgb six = kit::chartRgb(6);
    const auto ink = [&](int x, int y) { return kit::pixelAt(picture, {x, y}) == six; };

    // Columns with ink of the label (off the line's row), gathered into
    // labels.
    struct Span {
        int from, to;
    };
    std::vector<Span> labels;
    for (int x = -520; x <= 520; ++x) {
        bool any = false;
        for (int y = -16; y <= 16 && !any; ++y)
            any = (y < -1 || y > 1) && ink(x, y);
        if (!any) continue;
        if (!labels.empty() && x - labels.back().to <= 8)
            labels.back().to = x;
        else
            labels.push_back({x, x});
    }
    ASSERT_EQ(labels.size(), 3u);
    const int starts[] = {-450, 0, 450};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(labels[i].from, starts[i]);
        EXPECT_LT(labels[i].to, starts[i] + 50);
        // The label's leading blank leaves the line's row empty at its start.
        EXPECT_FALSE(ink(starts[i] + 1, 0));
    }
    // Between the labels the line runs unbroken: 400 pixels from the vertex
    // after one label to the vertex of the next.
    for (int x = -500; x < -450; ++x)
        EXPECT_TRUE(ink(x, 0)) << x;
    for (int x = -400; x < 0; ++x)
        EXPECT_TRUE(ink(x, 0)) << x;
    for (int x = 50; x < 450; ++x)
        EXPECT_TRUE(ink(x, 0)) << x;
}

// ---------------------------------------------------------------- elevations

TEST_F(DepthProcedures, ElevationContoursLabelledWithTheWholeValue) {
    const std::string plain = "line c0 w1 0000";
    const kit::Attr height = kit::floatAttr(73, 12.5f);
    const std::vector<Case> cases{
        {"labelled",
         Int1Proc82,
         {height},
         kLine,
         {"styled [text -1 ' 12 ' n0 c0 f64] end stroke 0000 w1 n400 c0 f1"}},
        {"short", Int1Proc82, {height}, kit::line({{0, 0}, {20, 10}}), {plain}},
        {"no value", Int1Proc82, {}, kLine, {plain}},
        {"not a number", Int1Proc82, {kit::floatAttr(73, kNaN)}, kLine, {plain}},
        {"reduced", Int1Proc82, {height}, kLine, {plain}, reducedDetails()},
        {"area", Int1Proc82, {height}, kArea, {}},
    };
    expectCases(cases);
    EXPECT_EQ(LineElementTemplates[7].flags, 6);
    EXPECT_EQ(LineElementTemplates[7].text, nullptr);
}

TEST_F(DepthProcedures, ElevationPointsWriteTheValueInMetres) {
    struct Row {
        float value;
        const char* text; // null: none
    };
    const std::vector<Row> rows{
        {5.04f, " 5 m"},  {5.3f, " 5.3 m "}, {4.95f, " 5 m"},
        {12, " 12 m"},    {5.1f, " 5.1 m "}, {-3.2f, " -3.2 m "},
        {-0.04f, " 0 m"}, {2.5f, " 2.5 m "}, {kNaN, nullptr},
    };
    const Point at{-30, 12};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        kit::FakeObject peak(82);
        peak.set(kit::floatAttr(73, r.value)).setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = kit::run(Int1Proc82, peak);
        EXPECT_TRUE(d.hasGlyph(35, 75, 0, at)) << d.log();
        if (r.text) {
            EXPECT_TRUE(d.hasText(-1, r.text, 0, {at.x + 3, at.y})) << d.log();
            EXPECT_EQ(d.calls().size(), 2u) << d.log();
        } else {
            EXPECT_EQ(d.calls().size(), 1u) << d.log();
        }
    }
    kit::FakeObject bare(82);
    bare.setGeometry(kit::point(at.x, at.y));
    const kit::Drawing d = kit::run(Int1Proc82, bare);
    ASSERT_EQ(d.calls().size(), 1u) << d.log();
    EXPECT_TRUE(d.hasGlyph(35, 75, 0, at)) << d.log();
}

// ---------------------------------------------------------------- diffusers and obstructions

// The drawing of _DrawSoundValue with these arguments at `at`.
kit::Drawing soundValue(Point at, float depth, unsigned a, unsigned b, unsigned c,
                        const char* note) {
    return kit::record(
        [&](TMapContext& context) {
            _DrawSoundValue(&context, at.x, at.y, depth, a, b, c, const_cast<char*>(note), 0);
        },
        zoned());
}

TEST_F(DepthProcedures, DiffusersAndObstructionsWithADepthAreSoundings) {
    struct Row {
        const char* name;
        std::vector<kit::Attr> attributes;
        float depth;
        unsigned a, b, c;
    };
    const std::vector<Row> rows{
        {"defaults", {kit::wordAttr(116, 41)}, 4.1f, 2, 3, 0},
        {"qualified",
         {kit::wordAttr(116, 125), kit::byteAttr(69, 1), kit::byteAttr(92, 7),
          kit::textAttr(111, "x\x06")},
         12.5f,
         1,
         7,
         6},
        {"short qualifier text", {kit::wordAttr(116, 8), kit::textAttr(111, "x")}, 0.8f, 2, 3, 0},
        {"covers and uncovers", {kit::wordAttr(116, 41), kit::byteAttr(124, 4)}, 4.1f, 2, 3, 0},
    };
    const Point at{15, -25};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (const auto& [code, procedure, note] : kSoundingLike) {
            SCOPED_TRACE(code);
            kit::FakeObject o(code);
            for (const kit::Attr& a : r.attributes)
                o.set(a);
            o.setGeometry(kit::point(at.x, at.y));
            const kit::Drawing d = kit::run(procedure, o, zoned());
            EXPECT_EQ(d.log(), soundValue(at, r.depth, r.a, r.b, r.c, note).log());
            EXPECT_FALSE(d.texts(-1).empty());
        }
    }
}

TEST_F(DepthProcedures, DiffusersAndObstructionsWithoutADepthAreDiscs) {
    struct Row {
        int code;
        CondSymbProc procedure;
        std::vector<kit::Attr> attributes;
        int disc;
        const char* word;
    };
    const std::vector<Row> rows{
        {46, Int1Proc46, {}, 9, "Diffuser"},
        {46, Int1Proc46, {kit::byteAttr(124, 4)}, 9, "Diffuser"},
        {99, Int1Proc99, {}, 9, "Obstr"},
        {99, Int1Proc99, {kit::byteAttr(124, 3)}, 9, "Obstr"},
        {99, Int1Proc99, {kit::byteAttr(124, 4)}, 5, "Obstr"},
    };
    const Point at{-20, 30};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        kit::FakeObject o(r.code);
        for (const kit::Attr& a : r.attributes)
            o.set(a);
        o.setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = kit::run(r.procedure, o);
        const std::vector<kit::Call> ellipses = d.of("Ellipse");
        ASSERT_EQ(ellipses.size(), 2u) << d.log();
        EXPECT_EQ(ellipses[0].brushColour, kit::paletteIndex(r.disc)) << d.log();
        EXPECT_EQ(ellipses[1].penStyle, "dot") << d.log();
        EXPECT_EQ(ellipses[1].penColour, kit::paletteIndex(0)) << d.log();
        for (const kit::Call& e : ellipses) {
            ASSERT_EQ(e.boxes.size(), 1u);
            EXPECT_EQ(e.boxes[0].left, at.x - 8);
            EXPECT_EQ(e.boxes[0].right, at.x + 8);
            EXPECT_EQ(e.boxes[0].top, at.y - 8);
            EXPECT_EQ(e.boxes[0].bottom, at.y + 8);
        }
        EXPECT_TRUE(d.hasText(-2, r.word, 0, {at.x + 10, at.y - 6})) << d.log();
        EXPECT_EQ(d.calls().size(), 3u) << d.log();
    }
}

TEST_F(DepthProcedures, DiffuserAndObstructionAreasOutlinedWithTheMarkAtTheCentre) {
    const std::vector<Case> cases{
        {"46", Int1Proc46, {}, kArea, {"fill c9 p0", "line c0 w1 9999"}},
        {"99", Int1Proc99, {}, kArea, {"line c0 w1 9999"}},
    };
    expectCases(cases);
    for (const auto& [code, procedure, word] : kSoundingLike) {
        SCOPED_TRACE(code);
        kit::FakeObject o(code);
        o.setGeometry(kArea);
        kit::Drawing d = kit::run(procedure, o);
        EXPECT_TRUE(d.hasText(-2, word, 0, {10, -6})) << d.log();
        // With a depth: the sounding at the centre.
        o.set(kit::wordAttr(116, 41));
        d = kit::run(procedure, o, zoned());
        const kit::Drawing value = soundValue({0, 0}, 4.1f, 2, 3, 0, word);
        ASSERT_GE(d.log().size(), value.log().size());
        EXPECT_EQ(d.log().substr(d.log().size() - value.log().size()), value.log());
    }
}

// ---------------------------------------------------------------- sample chart

// The sample chart's harbour approaches at level G drawn through the real
// database: coastlines, depth areas, contours, the ferry route and the
// obstruction of this family.
TEST_F(DepthProcedures, SampleChartHarbourApproaches) {
    const std::string dictDir = std::string(DATA_DIR) + "/dict/";
    const std::string chartRoot = std::string(DATA_DIR) + "/sample/kv71";
    TKV71Dictionary dictionary("KV71Dictionary", dictDir.c_str());
    TPresLib presentation(&dictionary, "INT1Pres", dictDir.c_str());
    dictionary.SetPresentation(&presentation);
    TKV71Db db(dictionary, chartRoot.c_str(), 64u << 20, nullptr);
    kit::Settings s;
    s.width = 1920;
    s.height = 1080;
    s.scale = 15000;
    s.lonDeg = 5.280;
    s.latDeg = 60.408;
    s.depthZones = kZones;
    std::map<int, int> drawn;
    kit::Trace trace;
    const kit::Drawing d = kit::record(
        [&](TMapContext& context) {
            TGdbQuery query(db);
            ASSERT_EQ(query.open(context.rect, 7500ul, nullptr), 1);
            while (GdbObject* o = query.next()) {
                const int code = o->GetLabel();
                if (code != 35 && code != 44 && code != 45 && code != 59 && code != 99) continue;
                ++drawn[code];
                context.Draw(o);
            }
            query.close();
        },
        s);
    dictionary.SetPresentation(nullptr);
    for (int code : {35, 44, 45, 59, 99})
        EXPECT_GT(drawn[code], 0) << code;
    EXPECT_EQ(drawn[99], 1);

    // Coastlines without attributes are solid in colour 0; depth areas are
    // filled in zone colours; long contours are labelled lines in colour 6;
    // the ferry route is dashed with its glyph.
    int coast = 0, fills = 0, labelled = 0, ferry = 0;
    for (const RendererCall& c : trace.calls()) {
        if (c.kind == RendererCallKind::SimpleLine && c.colour == 0 && c.style == 0) ++coast;
        if (c.kind == RendererCallKind::Area) {
            ++fills;
            EXPECT_TRUE(c.colour == 1 || c.colour == 7 || c.colour == 8 || c.colour == 9)
                << c.colour;
        }
        if (c.kind == RendererCallKind::ComplexLine && c.count == 1 &&
            c.elements[0].kind == kMarkerText && c.elements[0].colour == 6 &&
            c.elements[0].flags == kMarkerInterrupted && c.endMarker.count == 400)
            ++labelled;
        if (c.kind == RendererCallKind::ComplexLine && c.count == 2 && c.elements[0].count == 200 &&
            c.elements[0].colour == 14 && c.elements[1].character == 10)
            ++ferry;
    }
    EXPECT_GT(coast, 0);
    // (Objects of the gathered cells that lie outside the view get no
    // geometry and are not drawn.)
    EXPECT_GT(fills, 0);
    EXPECT_GT(labelled, 0);
    EXPECT_EQ(ferry, 1);
    // Contour labels " <metres> " in font -1 and colour 6.
    int labels = 0;
    for (const kit::Call& c : d.texts(-1))
        labels += c.colour == kit::paletteIndex(6) && c.codes.size() >= 3 &&
                  c.codes.front() == ' ' && c.codes.back() == ' ';
    EXPECT_GT(labels, 0) << d.log();
    // The obstruction: 4.1 m with its disc and ring, and the note.
    int notes = 0;
    for (const kit::Call& c : d.texts(-1))
        notes += c.codes == std::vector<int>{'O', 'b', 's', 't', 'r'};
    EXPECT_EQ(notes, 1);
    int fours = 0;
    for (const kit::Call& c : d.texts(-1))
        fours += c.codes == std::vector<int>{'4'} && c.colour == kit::paletteIndex(0);
    EXPECT_EQ(fours, 1);
    EXPECT_EQ(d.of("Ellipse").size(), 2u) << "the obstruction's background and ring";
}

} // namespace
