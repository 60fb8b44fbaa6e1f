// The line, area and symbol renderers: styled lines along point lists,
// interrupted lines, boundary runs, area fills and patterns, symbols, and
// the trace that shows the styles they were given.
#include "procedureKit.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/LineElementTemplates.h"
#include "rendering/Renderers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Points = std::vector<Point>;

TLineMarker stroke(std::uint8_t colour, std::int16_t count, unsigned short pattern = 0,
                   std::int16_t width = 1) {
    return TLineMarker{kMarkerStroke,
                       kMarkerToVertex,
                       colour,
                       static_cast<std::uint8_t>(pattern & 0xFF),
                       static_cast<std::int8_t>(pattern >> 8),
                       count,
                       width,
                       nullptr};
}

TLineMarker gap(std::int16_t count) {
    return TLineMarker{kMarkerGap, kMarkerToVertex, 0, 0, 0, count, 1, nullptr};
}

// A glyph of font 34 (recorded with its angle) of a fixed length.
TLineMarker glyph(std::uint8_t flags, std::int16_t length, std::uint8_t colour = 14,
                  std::uint8_t code = 13) {
    return TLineMarker{kMarkerGlyph, static_cast<std::uint8_t>(flags | kMarkerSizedLength),
                       colour,       code,
                       34,           1,
                       length,       nullptr};
}

std::unique_ptr<MapObject> geometryOf(const kit::Geometry& g) {
    auto m = std::make_unique<MapObject>(egtEmpty, -1);
    g.fill(*m);
    return m;
}

// The glyphs of font 34 as (x, y, angle).
struct Placed {
    int x, y;
    double angle;
};
std::vector<Placed> glyphs34(const kit::Drawing& d) {
    std::vector<Placed> out;
    for (const kit::Call& c : d.texts(34))
        if (!c.points.empty()) out.push_back({c.points[0].x, c.points[0].y, c.angle});
    return out;
}

std::string placedText(const std::vector<Placed>& v) {
    std::string s;
    for (const Placed& p : v)
        s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + " " +
             std::to_string(int(std::lround(p.angle))) + ") ";
    return s;
}

void expectPlaced(const kit::Drawing& d, const std::vector<Placed>& expected) {
    const std::vector<Placed> got = glyphs34(d);
    ASSERT_EQ(got.size(), expected.size()) << placedText(got) << "\n" << d.log();
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].x, expected[i].x) << i;
        EXPECT_EQ(got[i].y, expected[i].y) << i;
        EXPECT_NEAR(got[i].angle, expected[i].angle, 1e-6) << i;
    }
}

// The extent of a one-character element as the area pattern measures it.
SIZE extentOf(const TLineMarker& m) {
    SIZE s{0, 0};
    kit::record([&](TMapContext&) {
        GD_SelFont(m.font);
        const char text[2] = {static_cast<char>(m.character), 0};
        GD_TextExtent(text, &s);
    });
    return s;
}

class Renderers : public kit::ProcedureTest {};

struct EdgeCase {
    const char* name;
    std::function<void(TMapContext&)> draw;
    std::function<void(const kit::Drawing&)> check;
    kit::Settings settings{};
};

TEST_F(Renderers, EdgeCases) {
    TLineMarker dash = stroke(3, 10), space = gap(5);
    TLineMarker fixed = glyph(kMarkerToVertex, 10);
    TLineMarker end = stroke(6, 1);
    TLineMarker interrupted = glyph(kMarkerInterrupted, 8);
    TLineMarker spacing = stroke(0, 50);
    TLineMarker upright{kMarkerUpright, 0, 5, 7, 35, 1, 1, nullptr};
    TLineMarker second{kMarkerUpright, 0, 2, 7, 35, 1, 1, nullptr};
    const SIZE cell = extentOf(upright);
    ASSERT_GT(cell.cx, 0);
    ASSERT_GT(cell.cy, 0);
    const int w = cell.cx, h = cell.cy;

    Points straight{{0, 0}, {100, 0}};
    Points bent{{0, 0}, {25, 0}, {25, 30}};
    Points comb;
    for (int x = 0; x <= 200; x += 10)
        comb.push_back({x, 0});
    Points nine;
    for (int i = 0; i < 9; ++i)
        nine.push_back({i * 10, (i % 2) * 5});

    const std::vector<EdgeCase> cases = {
        {"strokes and gaps of 10 and 5 along 100 pixels",
         [&](TMapContext&) {
             TStyledLine s{0, 2, {&dash, &space}, nullptr};
             PLComplexLine(&s, straight.data(), 2);
         },
         [](const kit::Drawing& d) {
             ASSERT_EQ(d.solidLines(3).size(), 7u) << d.log();
             for (int j = 0; j < 7; ++j)
                 EXPECT_TRUE(d.hasSolidLine(3, 1, {{15 * j, 0}, {15 * j + 10, 0}})) << j;
         }},
        {"a glyph short of the vertex is dropped; the next starts at the vertex",
         [&](TMapContext&) {
             TStyledLine s{0, 1, {&fixed}, nullptr};
             PLComplexLine(&s, bent.data(), 3);
         },
         [](const kit::Drawing& d) {
             expectPlaced(d, {{0, 0, 0}, {10, 0, 0}, {25, 0, 90}, {25, 10, 90}, {25, 20, 90}});
         }},
        {"the end marker stands in for the dropped glyph",
         [&](TMapContext&) {
             TStyledLine s{0, 1, {&fixed}, &end};
             PLComplexLine(&s, bent.data(), 3);
         },
         [](const kit::Drawing& d) {
             EXPECT_EQ(glyphs34(d).size(), 5u);
             EXPECT_TRUE(d.hasSolidLine(6, 1, {{20, 0}, {25, 0}})) << d.log();
             for (const kit::Call& c : d.solidLines(6)) {
                 if (c.points[0].x == 20 && c.points[1].x == 25) continue;
                 EXPECT_TRUE(c.points[0].x == c.points[1].x && c.points[0].y == c.points[1].y)
                     << "only the stretch at (20,0) has length: " << c.line;
             }
         }},
        {"a one-element style of an interrupted element is an interrupted line",
         [&](TMapContext&) {
             TStyledLine s{0, 1, {&interrupted}, &spacing};
             PLComplexLine(&s, comb.data(), int(comb.size()));
         },
         [](const kit::Drawing& d) {
             expectPlaced(d, {{10, 0, 0}, {70, 0, 0}, {130, 0, 0}, {190, 0, 0}});
             for (const Points& p : std::vector<Points>{{{0, 0}, {10, 0}},
                                                        {{18, 0}, {20, 0}},
                                                        {{78, 0}, {80, 0}},
                                                        {{198, 0}, {200, 0}}})
                 EXPECT_TRUE(d.hasSolidLine(0, 1, p)) << p[0].x << "\n" << d.log();
             // The polyline from the gap after 10 to the element at 70.
             bool found = false;
             for (const kit::Call& c : d.solidLines(0))
                 found |=
                     c.points.size() == 6 && c.points.front().x == 20 && c.points.back().x == 70;
             EXPECT_TRUE(found) << d.log();
         }},
        {"runs {+3, -2, +4}: points 0-2 and 4-8",
         [&](TMapContext& context) {
             auto g = geometryOf(kit::areaWithSegments(nine, {3, -2, 4}));
             prSimpleLine(&context, g.get(), 14, 1, 0);
             auto p = geometryOf(kit::point(5, 5));
             prSimpleLine(&context, p.get(), 14, 1, 0);
         },
         [&](const kit::Drawing& d) {
             ASSERT_EQ(d.solidLines(14).size(), 2u) << d.log();
             EXPECT_TRUE(d.hasSolidLine(14, 1, Points(nine.begin(), nine.begin() + 3)));
             EXPECT_TRUE(d.hasSolidLine(14, 1, Points(nine.begin() + 4, nine.end())));
         }},
        {"an area 1.5 cells wide and high: the cell once at its centre",
         [&](TMapContext& context) {
             // Two elements make a cell 2w wide.
             const int x = 3 * (2 * w) / 4, y = 3 * h / 4;
             auto g = geometryOf(kit::area({{-x, -y}, {-x, y}, {x, y}, {x, -y}}));
             TStyledArea s{1, 2, {&upright, &second}};
             PLComplexArea(&context, &s, g.get());
         },
         [&](const kit::Drawing& d) {
             ASSERT_EQ(d.texts(35).size(), 2u) << d.log();
             EXPECT_TRUE(d.hasGlyph(35, 7, 5, {-(2 * w) / 2, 0})) << d.log();
             EXPECT_TRUE(d.hasGlyph(35, 7, 2, {-(2 * w) / 2 + w, 0})) << d.log();
         }},
        {"with details 0x8000 any area gets the cell once",
         [&](TMapContext& context) {
             auto g = geometryOf(kit::area({{-100, -100}, {-100, 100}, {100, 100}, {100, -100}}));
             TStyledArea s{1, 1, {&upright}};
             PLComplexArea(&context, &s, g.get());
         },
         [](const kit::Drawing& d) {
             ASSERT_EQ(d.texts(35).size(), 1u) << d.log();
             EXPECT_TRUE(d.hasGlyph(35, 7, 5, {0, 0})) << d.log();
         },
         [] {
             kit::Settings reduced;
             reduced.details = 0x8000;
             return reduced;
         }()},
        {"layout 0: rows staggered by a cell, every second cell used",
         [&](TMapContext& context) {
             auto g = geometryOf(kit::area({{0, 0}, {0, 3 * h}, {4 * w, 3 * h}, {4 * w, 0}}));
             TStyledArea s{0, 1, {&upright}};
             PLComplexArea(&context, &s, g.get());
         },
         [&](const kit::Drawing& d) {
             EXPECT_EQ(d.texts(35).size(), 6u) << d.log();
             for (int r = 0; r < 3; ++r) {
                 const int y = 3 * h - r * h - h / 2;
                 const int x0 = (r % 2 == 0 ? w : 0) + w / 2;
                 EXPECT_TRUE(d.hasGlyph(35, 7, 5, {x0, y})) << r << "\n" << d.log();
                 EXPECT_TRUE(d.hasGlyph(35, 7, 5, {x0 + 2 * w, y})) << r << "\n" << d.log();
             }
         }},
        {"symbols at indices -1, 0, 10 and 11",
         [](TMapContext&) {
             for (int index : {-1, 0, 10, 11, 600})
                 PLDrawSymbol(index, 4, Point{7, -3}, 0, 0);
         },
         [](const kit::Drawing& d) {
             EXPECT_EQ(d.calls().size(), 1u) << d.log();
             EXPECT_TRUE(d.hasGlyph(35, 94, 4, {7, -3})) << d.log();
         }},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(kit::record(c.draw, c.settings));
    }
}

TEST_F(Renderers, SymbolElementKinds) {
    static const std::int32_t parts[] = {2, 35, 49, 3, 0, 4, 33, 112, 11, -2, 5};
    SymbolElementTop = 13;
    SymbolElements[11].kind = 2;
    SymbolElements[11].parts = parts;
    SymbolElements[12].kind = 3;
    SymbolElements[12].font = 34;
    SymbolElements[12].character = 4;
    SymbolElements[13].kind = 2;
    SymbolElements[13].parts = nullptr;
    const kit::Drawing d = kit::record([](TMapContext&) {
        PLDrawSymbol(11, 9, Point{10, 10}, 0, 0);
        PLDrawSymbol(12, 24, Point{-5, 6}, 45, 1);
        PLDrawSymbol(13, 9, Point{10, 10}, 0, 0);
    });
    // A composite's parts in their own colours; the caller's colour unused.
    EXPECT_TRUE(d.hasGlyph(35, 49, 3, {10, 14})) << d.log();
    EXPECT_TRUE(d.hasGlyph(33, 112, 11, {8, 15})) << d.log();
    const std::vector<kit::Call> turned = d.texts(34);
    ASSERT_EQ(turned.size(), 1u) << d.log();
    EXPECT_EQ(turned[0].angle, 45);
    EXPECT_EQ(turned[0].scale, 1);
    EXPECT_EQ(turned[0].colour, kit::paletteIndex(24));
    EXPECT_EQ(d.of("Text").size(), 3u);
}

TEST_F(Renderers, ZigzagWithinTheStepUnitIsCrossedInOnePiece) {
    const Points zigzag{{0, 0}, {10, 1}, {20, -1}, {30, 1}, {40, 0}, {60, 0}};
    // Step unit 4: the vertices up to (40,0) lie within 4 pixels of the line
    // from the start through (10,1), (60,0) does not.
    LineAdvance a;
    ASSERT_TRUE(PL_AdvanceAlongLine(zigzag.data(), 6, {0, 0}, 1, 1, 30, 4, 0, a));
    EXPECT_EQ(a.next, 4);
    EXPECT_EQ(a.k, 1);
    EXPECT_NEAR(a.q.x, 30, 1e-9);
    EXPECT_NEAR(a.q.y, 0, 1e-9);
    // A piece that stops at the next vertex does not cross it.
    ASSERT_TRUE(PL_AdvanceAlongLine(zigzag.data(), 6, {0, 0}, 1, 1, 30, 4, kMarkerToVertex, a));
    EXPECT_EQ(a.next, 2);
    EXPECT_EQ(a.k, 0);

    // Along the styled line: glyphs 30 pixels long whose step unit is their
    // height run straight along y = 0, unturned by the zigzag.
    TLineMarker g = glyph(0, 30);
    const kit::Drawing d = kit::record([&](TMapContext&) {
        ASSERT_GT(PL_MeasureMarker(g).stepUnit, 2);
        TStyledLine s{0, 1, {&g}, nullptr};
        PLComplexLine(&s, const_cast<Point*>(zigzag.data()), 6);
    });
    expectPlaced(d, {{0, 0, 0}, {30, 0, 0}});
}

TEST_F(Renderers, ChordPiecesAdvanceMonotonically) {
    // Up and to the right, with long segments: each chord starts where the
    // last ended and ends 10 pixels further on.
    Points line{{0, 0}, {40, 30}, {80, 60}, {83, 64}, {86, 68}, {126, 98}};
    TLineMarker chord = glyph(kMarkerChord, 10);
    const kit::Drawing d = kit::record([&](TMapContext&) {
        TStyledLine s{0, 1, {&chord}, nullptr};
        PLComplexLine(&s, line.data(), int(line.size()));
    });
    const std::vector<Placed> got = glyphs34(d);
    ASSERT_GE(got.size(), 14u) << placedText(got);
    for (std::size_t i = 1; i < got.size(); ++i) {
        SCOPED_TRACE(placedText(got));
        EXPECT_GT(got[i].x, got[i - 1].x) << i;
        EXPECT_GT(got[i].y, got[i - 1].y) << i;
        EXPECT_NEAR(std::hypot(got[i].x - got[i - 1].x, got[i].y - got[i - 1].y), 10, 1.5) << i;
    }
    EXPECT_NEAR(got[1].x, 8, 1);
    EXPECT_NEAR(got[1].y, 6, 1);
}

TEST_F(Renderers, BoundaryRunsPartsAndFills) {
    kit::Trace trace;
    Points ring{{0, 0}, {0, 40}, {40, 40}, {40, 0}};
    Points other{{100, 0}, {100, 30}, {130, 30}, {130, 0}};
    auto two = geometryOf(kit::area(std::vector<Points>{ring, other}));
    auto runsPastTheEnd = geometryOf(
        kit::areaWithSegments({{0, 0}, {0, 40}, {40, 40}, {40, 0}, {0, 0}}, {3, -1, 30, 7}));
    auto noRuns = geometryOf(kit::areaWithSegments({{0, 0}, {0, 40}, {40, 40}, {0, 0}}, {}));
    auto twoLines = geometryOf(kit::line(std::vector<Points>{{{0, 0}, {5, 5}}, {{9, 9}, {20, 9}}}));
    TLineMarker solid = stroke(4, 1000);
    const kit::Drawing d = kit::record([&](TMapContext& context) {
        prSimpleLine(&context, two.get(), 3, 2, 0);
        prSimpleLine(&context, runsPastTheEnd.get(), 5, 1, 0);
        prSimpleLine(&context, noRuns.get(), 6, 1, 0);
        TStyledLine s{0, 1, {&solid}, nullptr};
        prComplexLine(&context, &s, noRuns.get());
        prComplexLine(&context, &s, twoLines.get());
        prBoundLine(&context, noRuns.get(), 7, 3, 0);
        prArea(&context, two.get(), 12, 0);
        prArea(&context, two.get(), 13, 8);
        prArea(&context, twoLines.get(), 8, 0);
    });
    // Each ring of a two-part area from its own first point; no stroke joins them.
    const std::vector<kit::Call> rings = d.solidLines(3, 2);
    ASSERT_EQ(rings.size(), 2u) << d.log();
    EXPECT_EQ(rings[0].points.size(), 4u);
    EXPECT_EQ(rings[1].points.size(), 4u);
    EXPECT_EQ(rings[1].points.front().x, 100) << "the second ring's first point: " << d.log();
    // Runs that claim more points than there are stop at the part's end.
    const std::vector<kit::Call> past = d.solidLines(5);
    ASSERT_EQ(past.size(), 2u) << d.log();
    EXPECT_EQ(past[0].points.size(), 3u) << past[0].line;
    EXPECT_EQ(past[1].points.size(), 2u) << past[1].line;
    EXPECT_EQ(past[1].points[1].x, 0) << "the ring's last point";
    // No runs, no boundary, plain or styled; lines get a piece per part.
    EXPECT_TRUE(d.solidLines(6).empty());
    EXPECT_TRUE(d.hasSolidLine(4, 1, {{0, 0}, {5, 5}})) << d.log();
    EXPECT_TRUE(d.hasSolidLine(4, 1, {{9, 9}, {20, 9}})) << d.log();
    EXPECT_EQ(d.solidLines(4).size(), 2u);
    // The bound line is the whole ring as stored.
    EXPECT_TRUE(d.hasSolidLine(7, 3, {{0, 0}, {40, 40}, {0, 40}, {0, 0}}) ||
                d.hasSolidLine(7, 3, {{0, 0}, {0, 40}, {40, 40}, {0, 0}}))
        << d.log();
    EXPECT_EQ(d.solidFills(12), 2);
    EXPECT_EQ(d.patternFills(13), 2);
    EXPECT_EQ(d.solidFills(8), 2);

    // The trace names each call with what it was given.
    const std::vector<RendererCall> simple = trace.of(RendererCallKind::SimpleLine);
    ASSERT_EQ(simple.size(), 3u) << trace.log();
    EXPECT_EQ(simple[0].colour, 3);
    EXPECT_EQ(simple[0].width, 2);
    EXPECT_EQ(simple[0].geometryType, egtArea);
    const std::vector<RendererCall> areas = trace.of(RendererCallKind::Area);
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_EQ(areas[1].colour, 13);
    EXPECT_EQ(areas[1].style, 8);
    ASSERT_EQ(trace.of(RendererCallKind::BoundLine).size(), 1u);
    EXPECT_EQ(trace.of(RendererCallKind::BoundLine)[0].width, 3);
    ASSERT_EQ(trace.of(RendererCallKind::ComplexLine).size(), 2u);
    EXPECT_EQ(trace.of(RendererCallKind::ComplexLine)[0].elements.at(0).count, 1000);
}

TEST_F(Renderers, TraceShowsRecordsAsAtCallTime) {
    kit::Trace trace;
    TLineMarker* t = LineElementTemplates.data();
    auto g = geometryOf(kit::line({{0, 0}, {50, 0}}));
    char label[] = "12";
    kit::record([&](TMapContext& context) {
        t[3].count = 40;
        t[3].colour = 5;
        TemplateText text(t[7], label);
        TStyledLine s{0, 2, {&t[3], &t[7]}, &t[0]};
        prComplexLine(&context, &s, g.get());
        t[3].count = 7;
        TLineMarker cells{kMarkerGlyph, 0, 4, 9, 35, 1, 1, nullptr};
        TStyledArea a{3, 1, {&cells}};
        PLComplexArea(&context, &a, g.get());
    });
    ASSERT_EQ(trace.calls().size(), 2u) << trace.log();
    const RendererCall& line = trace.calls()[0];
    EXPECT_EQ(line.kind, RendererCallKind::ComplexLine);
    EXPECT_EQ(line.count, 2);
    ASSERT_EQ(line.elements.size(), 2u);
    EXPECT_EQ(line.elements[0].kind, kMarkerStroke);
    EXPECT_EQ(line.elements[0].count, 40) << "as it was when drawn, not as left";
    EXPECT_EQ(line.elements[0].colour, 5);
    EXPECT_EQ(line.elements[0].character, 0x33);
    EXPECT_EQ(line.elements[0].font, 0x33);
    EXPECT_EQ(line.elements[1].kind, kMarkerText);
    EXPECT_EQ(line.elements[1].text, "12");
    EXPECT_EQ(line.elements[1].character, 2);
    EXPECT_EQ(line.elements[1].font, -1);
    ASSERT_TRUE(line.hasEndMarker);
    EXPECT_EQ(line.endMarker.kind, kMarkerStroke);
    const RendererCall& area = trace.calls()[1];
    EXPECT_EQ(area.kind, RendererCallKind::ComplexArea);
    EXPECT_EQ(area.layout, 3);
    ASSERT_EQ(area.elements.size(), 1u);
    EXPECT_EQ(area.elements[0].character, 9);
}

TEST_F(Renderers, FaultsThatDrawNothingOrStop) {
    TLineMarker dash = stroke(3, 10);
    TLineMarker none0 = stroke(3, 0), none1 = gap(0), backwards = stroke(3, -5);
    TLineMarker blank{kMarkerGlyph, 0, 4, 0, 35, 1, 1, nullptr}; // character 0: no text
    TLineMarker noText{kMarkerText, 0, 4, 0, -1, 1, 1, nullptr};
    TLineMarker strokeInArea = stroke(3, 10);
    // A stroke-font code without a glyph measures 0 x 0: a cell of no size.
    TLineMarker emptyCell{kMarkerGlyph, 0, 4, 30, 36, 1, 1, nullptr};
    TLineMarker upright{kMarkerUpright, 0, 5, 7, 35, 1, 1, nullptr};
    TLineMarker turned = glyph(0, 10);
    Points straight{{0, 0}, {100, 0}};
    auto square = geometryOf(kit::area({{-100, -100}, {-100, 100}, {100, 100}, {100, -100}}));
    const kit::Drawing d = kit::record([&](TMapContext& context) {
        // A style of 17 elements draws nothing, as an area style does.
        TStyledLine many{0, 17, {}, nullptr};
        for (TLineMarker*& e : many.elements)
            e = &dash;
        PLComplexLine(&many, straight.data(), 2);
        TStyledArea manyCells{1, 17, {}};
        for (TLineMarker*& e : manyCells.elements)
            e = &upright;
        PLComplexArea(&context, &manyCells, square.get());
        // Elements that cover nothing: the line ends, it does not loop.
        TStyledLine empty{0, 3, {&none0, &none1, &backwards}, nullptr};
        PLComplexLine(&empty, straight.data(), 2);
        // Area elements that cannot be measured, or are no glyph or text.
        for (TLineMarker* e : {&blank, &noText, &strokeInArea}) {
            TStyledArea s{1, 2, {&upright, e}};
            PLComplexArea(&context, &s, square.get());
        }
        TStyledArea zero{1, 1, {&emptyCell}};
        PLComplexArea(&context, &zero, square.get());
        // A glyph piece of no length stands unturned.
        PL_DrawElementPiece(turned, {5, 5}, {5, 5}, 1);
    });
    ASSERT_EQ(d.calls().size(), 1u) << d.log();
    const std::vector<kit::Call> g = d.texts(34);
    ASSERT_EQ(g.size(), 1u) << d.log();
    EXPECT_EQ(g[0].angle, 0) << g[0].line;
}

// ---------------------------------------------------------------- pixels

bool inked(const QImage& picture, Point at, int colour) {
    return kit::pixelAt(picture, at) == kit::chartRgb(colour);
}

int countColour(const QImage& picture, int colour, int left, int bottom, int right, int top) {
    int n = 0;
    for (int y = bottom; y <= top; ++y)
        for (int x = left; x <= right; ++x)
            n += inked(picture, {x, y}, colour);
    return n;
}

TEST_F(Renderers, PixelsOfAStyledLineAlongABentPolyline) {
    // Strokes of 20, gaps of 10 and one stroke-font glyph (the arrow head,
    // glyph 1 of font 36) after each gap.
    TLineMarker dash = stroke(0, 20), space = gap(10);
    TLineMarker arrow = LineElementTemplates[9];
    Points line{{-100, -40}, {20, -40}, {20, 80}};
    const QImage picture = kit::paint([&](TMapContext&) {
        TStyledLine s{0, 3, {&dash, &space, &arrow}, nullptr};
        PLComplexLine(&s, line.data(), 3);
    });
    // The first stroke and gap along y = -40.
    for (int x = -100; x < -80; ++x)
        EXPECT_TRUE(inked(picture, {x, -40}, 0)) << x;
    for (int x = -79; x < -70; ++x)
        EXPECT_FALSE(inked(picture, {x, -40}, 0)) << x;
    // Something of the glyph after the gap, and strokes along the upright leg.
    int glyphInk = 0;
    for (int y = -45; y <= -35; ++y)
        for (int x = -70; x <= -60; ++x)
            glyphInk += kit::pixelAt(picture, {x, y}) != 0xFFF0F0F0u;
    EXPECT_GT(glyphInk, 0);
    EXPECT_GT(countColour(picture, 0, 19, -30, 21, 80), 30) << "strokes up the second leg";
    EXPECT_EQ(countColour(picture, 0, -100, 0, 0, 80), 0) << "nothing off the line";
    picture.save(QString::fromStdString(kit::picturesFolder() + "/renderers-styled-line.png"));
}

TEST_F(Renderers, PixelsOfAnInterruptedLineWithItsLabelGaps) {
    char label[] = "20";
    TLineMarker text = LineElementTemplates[7];
    text.colour = 14;
    text.character = 2;
    text.text = label;
    TLineMarker contour = stroke(6, 100);
    Points line;
    for (int x = -120; x <= 120; x += 10)
        line.push_back({x, 0});
    int gapWidth = 0;
    const QImage picture = kit::paint([&](TMapContext&) {
        gapWidth = int(PL_MeasureMarker(text).length);
        PLSimpleRoundLine(&text, &contour, line.data(), int(line.size()));
    });
    ASSERT_GT(gapWidth, 10);
    ASSERT_LT(gapWidth, 20);
    // Gaps at x = -110 (vertex 1) and at 10, 100 pixels past the vertex
    // after the first gap, each as wide as the label.
    for (int start : {-110, 10}) {
        SCOPED_TRACE(start);
        for (int x = start + 1; x < start + gapWidth - 1; ++x)
            EXPECT_FALSE(inked(picture, {x, 0}, 6)) << x;
        EXPECT_GT(countColour(picture, 14, start, -12, start + gapWidth, 12), 5) << "the label";
        EXPECT_TRUE(inked(picture, {start + gapWidth + 3, 0}, 6));
    }
    EXPECT_TRUE(inked(picture, {-50, 0}, 6));
    EXPECT_TRUE(inked(picture, {-115, 0}, 6));
    EXPECT_TRUE(inked(picture, {100, 0}, 6));
    picture.save(QString::fromStdString(kit::picturesFolder() + "/renderers-interrupted-line.png"));
}

TEST_F(Renderers, PixelsOfAGlyphPatternInAConcaveArea) {
    // An L: the notch at the top right is outside.
    const Points ell{{-100, -100}, {-100, 100}, {-20, 100}, {-20, -20}, {100, -20}, {100, -100}};
    auto g = geometryOf(kit::area(ell));
    TLineMarker upright = LineElementTemplates[45];
    upright.colour = 5;
    const QImage picture = kit::paint([&](TMapContext& context) {
        prBoundLine(&context, g.get(), 0, 1, 0);
        TStyledArea s{0, 1, {&upright}};
        PLComplexArea(&context, &s, g.get());
    });
    EXPECT_GT(countColour(picture, 5, -95, -95, -25, 95), 20) << "glyphs in the upright arm";
    EXPECT_GT(countColour(picture, 5, -15, -95, 95, -25), 20) << "glyphs in the lower arm";
    EXPECT_EQ(countColour(picture, 5, -5, -5, 127, 127), 0) << "no glyph in the notch";
    EXPECT_EQ(countColour(picture, 5, -128, 110, 127, 127), 0) << "none above the area";
    picture.save(QString::fromStdString(kit::picturesFolder() + "/renderers-area-pattern.png"));
}

// ---------------------------------------------------------------- gallery

TEST_F(Renderers, Gallery) {
    kit::Gallery gallery("renderers", 160, 4);
    TLineMarker* t = LineElementTemplates.data();
    const Points bent{{-70, -50}, {-10, -50}, {20, 40}, {70, 40}};
    gallery.add("dash 10 gap 5", [](TMapContext&) {
        TLineMarker dash = stroke(0, 10), space = gap(5);
        Points p{{-70, 0}, {70, 0}};
        TStyledLine s{0, 2, {&dash, &space}, nullptr};
        PLComplexLine(&s, p.data(), 2);
    });
    gallery.add("0x0F0F + glyph 13 (generic)", [&](TMapContext&) {
        t[2].count = 40;
        t[2].colour = 14;
        t[41].colour = 14;
        t[0].colour = 14;
        Points p = bent;
        TStyledLine s{0, 2, {&t[2], &t[41]}, &t[0]};
        PLComplexLine(&s, p.data(), 4);
    });
    gallery.add("strokes, gaps, arrows", [&](TMapContext&) {
        TLineMarker dash = stroke(0, 20), space = gap(6);
        Points p = bent;
        TStyledLine s{0, 3, {&dash, &space, &t[9]}, nullptr};
        PLComplexLine(&s, p.data(), 4);
    });
    gallery.add("chord glyphs", [&](TMapContext&) {
        t[34].count = 1;
        Points p{{-70, -60}, {-30, -30}, {10, 0}, {70, 60}};
        TStyledLine s{0, 1, {&t[34]}, nullptr};
        PLComplexLine(&s, p.data(), 4);
    });
    gallery.add("interrupted, label 20", [&](TMapContext&) {
        char label[] = "20";
        TemplateText text(t[7], label);
        TemplateFlags flags(t[7], kMarkerInterrupted);
        t[7].colour = 6;
        t[0].count = 80;
        t[0].colour = 6;
        Points p;
        for (int x = -75; x <= 75; x += 5)
            p.push_back({x, int(std::lround(30 * std::sin(x / 30.0)))});
        TStyledLine s{0, 1, {&t[7]}, &t[0]};
        PLComplexLine(&s, p.data(), int(p.size()));
    });
    gallery.add("runs +3 -2 +4", [](TMapContext& context) {
        Points nine;
        for (int i = 0; i < 9; ++i)
            nine.push_back({-60 + i * 15, (i % 2) * 20 - 10});
        auto g = geometryOf(kit::areaWithSegments(nine, {3, -2, 4}));
        prSimpleLine(&context, g.get(), 3, 2, 0);
    });
    gallery.add("fill, pattern 8, boundary", [](TMapContext& context) {
        auto g = geometryOf(kit::area({{-60, -50}, {-60, 50}, {60, 50}, {20, 0}, {60, -50}}));
        prArea(&context, g.get(), 12, 0);
        prArea(&context, g.get(), 0, 8);
        prBoundLine(&context, g.get(), 5, 2, 0x3333);
    });
    gallery.add("staggered glyph 7", [&](TMapContext& context) {
        auto g = geometryOf(
            kit::area({{-70, -70}, {-70, 70}, {-10, 70}, {-10, -10}, {70, -10}, {70, -70}}));
        prSimpleLine(&context, g.get(), 0, 1, 0);
        t[45].colour = 5;
        TStyledArea s{0, 1, {&t[45]}};
        PLComplexArea(&context, &s, g.get());
    });
    gallery.add("aligned two glyphs", [](TMapContext& context) {
        auto g = geometryOf(kit::area({{-70, -70}, {-70, 70}, {70, 70}, {70, -70}}));
        TLineMarker a{kMarkerUpright, 0, 4, 0x60, 35, 1, 1, nullptr};
        TLineMarker b{kMarkerUpright, 0, 15, 0x61, 35, 1, 1, nullptr};
        TStyledArea s{1, 2, {&a, &b}};
        PLComplexArea(&context, &s, g.get());
    });
    gallery.add("small area: once", [](TMapContext& context) {
        auto g = geometryOf(kit::area({{-15, -15}, {-15, 15}, {15, 15}, {15, -15}}));
        prSimpleLine(&context, g.get(), 0, 1, 0);
        TLineMarker a{kMarkerUpright, 0, 2, 7, 35, 1, 1, nullptr};
        TStyledArea s{1, 1, {&a}};
        PLComplexArea(&context, &s, g.get());
    });
    gallery.add("symbols 10, 1 and 3 (315)", [](TMapContext&) {
        PLDrawSymbol(10, 0, Point{-40, 0}, 0, 0);
        PLDrawSymbol(1, 3, Point{0, 0}, 0, 0);
        PLDrawSymbol(3, 24, Point{40, 0}, 315, 0);
    });
    const std::string path = gallery.write();
    EXPECT_FALSE(path.empty());
}

} // namespace
