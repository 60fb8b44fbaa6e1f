// Sounding values, and the procedures of depth areas, soundings and
// underwater hazards (codes 105, 111, 129, 147, 168 and 176).
#include "procedureKit.h"

#include "gdb/TGdbQuery.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/SoundValue.h"
#include "proj/MapObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Depth-zone limits of the tests: zone 1 below 2 m (colour 7), zone 2 below
// 5 m (8), zone 3 below 10 m (9), zone 4 below 20 m (9), zone 0 beyond (1).
const std::vector<double> kZones = {2, 5, 10, 20};

kit::Settings zoned() {
    kit::Settings s;
    s.depthZones = kZones;
    return s;
}

// Where a value's parts go, measured in the layer's fonts as the procedure
// measures them: W in font -1, D (when not '0') in font -2.
struct Layout {
    std::string whole;
    std::optional<char> tenth;
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0, hw = 0, hh = 0, left = 0, top = 0;
    Point at;
};

Layout layoutOf(Point at, const std::string& whole, std::optional<char> tenth) {
    Layout l;
    l.whole = whole;
    l.tenth = tenth;
    l.at = at;
    GD_SelFont(-1);
    l.w1 = GD_TextWidth(whole.c_str());
    l.h1 = GD_TextHeight(whole.c_str());
    if (tenth) {
        const char d[2] = {*tenth, 0};
        GD_SelFont(-2);
        l.w2 = GD_TextWidth(d);
        l.h2 = GD_TextHeight(d);
    }
    l.hw = (l.w1 + l.w2) / 2;
    l.hh = (l.h1 + l.h2 / 3) / 2;
    l.left = at.x - l.hw;
    l.top = at.y - l.hh;
    return l;
}

// The value written as the layout says, in colour 0.
void expectValue(const kit::Drawing& d, const Layout& l) {
    EXPECT_TRUE(d.hasText(-1, l.whole, 0, {l.left, l.top + l.h2 / 3}))
        << "whole part " << l.whole << "\n"
        << d.log();
    if (l.tenth) {
        EXPECT_TRUE(d.hasGlyph(-2, *l.tenth, 0, {l.left + l.w1, l.top}))
            << "tenth " << *l.tenth << "\n"
            << d.log();
    } else {
        for (const kit::Call& c : d.texts(-2))
            EXPECT_FALSE(c.points.size() == 1 && c.points[0].x == l.left + l.w1 &&
                         c.points[0].y == l.top)
                << "no tenth: " << d.log();
    }
}

// The ellipses drawn about the value: the background's colour (-1: none)
// and whether the dotted ring is there.
struct Marks {
    int background = -1;
    bool ring = false;
};

Marks marksOf(const kit::Drawing& d, Point c, int rx, int ry) {
    Marks m;
    const Rect box{c.x - rx, c.y - ry, c.x + rx, c.y + ry};
    for (const kit::Call& e : d.of("Ellipse")) {
        if (e.boxes.size() != 1 || e.boxes[0].left != box.left || e.boxes[0].top != box.top ||
            e.boxes[0].right != box.right || e.boxes[0].bottom != box.bottom)
            continue;
        if (e.penStyle == "null" && e.brush.rfind("solid/", 0) == 0)
            m.background = e.brushColour;
        else if (e.penStyle == "dot" && e.penWidth == 1 && e.penColour == kit::paletteIndex(0) &&
                 e.brush == "null")
            m.ring = true;
    }
    return m;
}

Marks valueMarks(const kit::Drawing& d, const Layout& l) {
    return marksOf(d, l.at, l.hw + 3, l.hh + 2);
}

bool hasBracket(const kit::Drawing& d, const Layout& l) {
    const int right = l.at.x + l.hw + 4, y = l.top - 6;
    return d.hasSolidLine(0, 1, {{l.left - 4, y}, {l.left - 4, l.top - 3}}) &&
           d.hasSolidLine(0, 1, {{l.left - 4, y}, {right, y}}) &&
           d.hasSolidLine(0, 1, {{right, y}, {right, l.top - 3}});
}

bool hasBar(const kit::Drawing& d, const Layout& l) {
    const int y = l.at.y + l.hh + 6;
    return d.hasSolidLine(0, 1, {{l.left - 6, y}, {l.at.x + l.hw + 6, y}});
}

kit::Drawing sounding(float depth, unsigned a, unsigned b, unsigned c, const char* note,
                      int parentheses, const kit::Settings& settings = zoned(),
                      Point at = {10, 20}) {
    return kit::record(
        [&](TMapContext& context) {
            _DrawSoundValue(&context, at.x, at.y, depth, a, b, c, const_cast<char*>(note),
                            parentheses);
        },
        settings);
}

// ---------------------------------------------------------------- values

class SoundValue : public kit::ProcedureTest {};

TEST_F(SoundValue, WholeMetresAndTenthPlacedAboutThePoint) {
    struct Case {
        float depth;
        const char* whole; // null: nothing is drawn
        std::optional<char> tenth;
    } cases[] = {
        {12.5f, "12", '5'},
        {3.0f, "3", std::nullopt},
        {-1.2f, "-1", '2'},
        {-0.04f, "0", std::nullopt}, // not "-0"
        {-0.1f, "-0", '1'},
        {0.06f, "0", '1'},
        {1200.0f, "1200", std::nullopt},
        {std::numeric_limits<float>::quiet_NaN(), nullptr, std::nullopt},
        {std::numeric_limits<float>::infinity(), nullptr, std::nullopt},
        {1e30f, nullptr, std::nullopt}, // more than 19 characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        const kit::Drawing d = sounding(c.depth, 0, 0, 0, nullptr, 0);
        if (!c.whole) {
            EXPECT_TRUE(d.calls().empty()) << d.log();
            continue;
        }
        const Layout l = layoutOf({10, 20}, c.whole, c.tenth);
        ASSERT_GT(l.w1, 0);
        expectValue(d, l);
        EXPECT_EQ(d.calls().size(), c.tenth ? 2u : 1u) << d.log();
    }
    // A whole value is centred on its own width and height.
    const Layout three = layoutOf({10, 20}, "3", std::nullopt);
    EXPECT_EQ(three.left, 10 - three.w1 / 2);
    EXPECT_EQ(three.top, 20 - three.h1 / 2);
}

TEST_F(SoundValue, QualifiersDrawBackgroundRingBracketAndBar) {
    const Layout l = layoutOf({10, 20}, "12", '5');
    struct Case {
        unsigned a, b, c;
        bool background, ring, bracket, bar;
    } cases[] = {
        {0, 0, 0, false, false, false, false}, {2, 0, 0, true, true, false, false},
        {0, 3, 0, false, true, false, false},  {0, 5, 0, true, true, false, false},
        {0, 7, 0, false, false, false, true},  {0, 9, 0, true, true, false, false},
        {0, 0, 6, false, false, true, false},  {0, 7, 6, false, false, true, true},
        {1, 4, 5, false, false, false, false}, {2, 7, 6, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "," << c.b << "," << c.c);
        const kit::Drawing d = sounding(12.5f, c.a, c.b, c.c, nullptr, 0);
        expectValue(d, l);
        const Marks m = valueMarks(d, l);
        EXPECT_EQ(m.background, c.background ? kit::paletteIndex(9) : -1) << d.log();
        EXPECT_EQ(m.ring, c.ring) << d.log();
        EXPECT_EQ(hasBracket(d, l), c.bracket) << d.log();
        EXPECT_EQ(hasBar(d, l), c.bar) << d.log();
        const std::size_t ellipses = (c.background ? 1 : 0) + (c.ring ? 1 : 0);
        EXPECT_EQ(d.of("Ellipse").size(), ellipses) << d.log();
        EXPECT_EQ(d.of("Polyline").size(), (c.bracket ? 3u : 0u) + (c.bar ? 1u : 0u)) << d.log();
    }
    // The ring comes after the background, and the value after both.
    const kit::Drawing d = sounding(12.5f, 2, 0, 0, nullptr, 0);
    ASSERT_EQ(d.calls().size(), 4u) << d.log();
    EXPECT_EQ(d.calls()[0].penStyle, "null");
    EXPECT_EQ(d.calls()[1].penStyle, "dot");
    EXPECT_EQ(d.calls()[2].kind, "Text");
}

TEST_F(SoundValue, BackgroundTakesTheColourOfTheDepthsZone) {
    struct Case {
        float depth;
        std::vector<double> zones;
        int colour;
    } cases[] = {
        {1.5f, {}, 1},     {1.5f, kZones, 7},  {3.5f, kZones, 8},
        {7.5f, kZones, 9}, {15.5f, kZones, 9}, {25.5f, kZones, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        kit::Settings s;
        s.depthZones = c.zones;
        const kit::Drawing d = sounding(c.depth, 0, 5, 0, nullptr, 0, s);
        std::string whole = std::to_string(int(c.depth));
        const Layout l = layoutOf({10, 20}, whole, '5');
        EXPECT_EQ(valueMarks(d, l).background, kit::paletteIndex(c.colour)) << d.log();
    }
    // Without a context: no zones.
    const kit::Drawing d = kit::record(
        [](TMapContext&) { _DrawSoundValue(nullptr, 10, 20, 7.5f, 2, 0, 0, nullptr, 0); });
    EXPECT_EQ(valueMarks(d, layoutOf({10, 20}, "7", '5')).background, kit::paletteIndex(1));
}

TEST_F(SoundValue, ParenthesesAndNote) {
    // Parentheses: no background or ring even for second qualifier 5; ")"
    // follows in the font the value ended in.
    kit::Drawing d = sounding(12.5f, 2, 5, 0, nullptr, 1);
    Layout l = layoutOf({10, 20}, "12", '5');
    expectValue(d, l);
    EXPECT_TRUE(d.of("Ellipse").empty()) << d.log();
    GD_SelFont(-1);
    const int open = GD_TextWidth("(");
    EXPECT_TRUE(d.hasText(-1, "(", 0, {l.left - open, l.top + l.h2 / 3})) << d.log();
    EXPECT_TRUE(d.hasText(-2, ")", 0, {l.left + l.w1 + l.w2, l.top + l.h2 / 3})) << d.log();

    d = sounding(3.0f, 0, 0, 0, nullptr, 1);
    l = layoutOf({10, 20}, "3", std::nullopt);
    EXPECT_TRUE(d.hasText(-1, ")", 0, {l.left + l.w1, l.top})) << d.log();

    // A note to the right, in font -1; an empty one is none.
    d = sounding(12.5f, 0, 0, 0, "Wk", 0);
    l = layoutOf({10, 20}, "12", '5');
    EXPECT_TRUE(d.hasText(-1, "Wk", 0, {10 + l.hw + 6, 20 - 5})) << d.log();
    EXPECT_EQ(sounding(12.5f, 0, 0, 0, "", 0).calls().size(), 2u);
}

TEST_F(SoundValue, PixelsInTheChartMapping) {
    // 12.5 with the bracket and the bar, drawn on pixels at the origin.
    kit::Settings s;
    s.width = 96;
    s.height = 96;
    const QImage picture = kit::paint(
        [](TMapContext& c) { _DrawSoundValue(&c, 0, 0, 12.5f, 0, 7, 6, nullptr, 0); }, s);
    const Layout l = layoutOf({0, 0}, "12", '5');
    const QRgb ink = kit::chartRgb(0);
    // The lowest and highest window rows with ink between two x limits,
    // between the bracket and the bar.
    const int bracketY = l.top - 6, barY = l.hh + 6;
    const auto rows = [&](int x0, int x1, int& low, int& high) {
        low = 1000, high = -1000;
        for (int y = bracketY + 1; y < barY; ++y)
            for (int x = x0; x < x1; ++x)
                if (kit::pixelAt(picture, {x, y}) == ink) {
                    low = std::min(low, y);
                    high = std::max(high, y);
                }
    };
    int wholeLow, wholeHigh, digitLow, digitHigh;
    rows(l.left, l.left + l.w1, wholeLow, wholeHigh);
    rows(l.left + l.w1 + 1, l.left + l.w1 + l.w2, digitLow, digitHigh);
    ASSERT_LT(wholeLow, wholeHigh);
    ASSERT_LT(digitLow, digitHigh);
    EXPECT_LT(digitLow, wholeLow) << "the tenth stands lower than the whole metres";
    EXPECT_LT(digitHigh, wholeHigh);
    // The bracket's horizontal under the figure, its ticks up towards it;
    // the bar over it.
    for (int x = l.left - 4; x < l.hw + 4; ++x) {
        EXPECT_EQ(kit::pixelAt(picture, {x, bracketY}), ink) << x;
        EXPECT_EQ(kit::pixelAt(picture, {x, barY}), ink) << x;
    }
    EXPECT_EQ(kit::pixelAt(picture, {l.left - 4, bracketY + 1}), ink);
    EXPECT_EQ(kit::pixelAt(picture, {l.hw + 4, bracketY + 1}), ink);
    EXPECT_LT(bracketY, std::min(wholeLow, digitLow));
    EXPECT_GT(barY, std::max(wholeHigh, digitHigh));
}

// ---------------------------------------------------------------- procedures

// An area about the origin whose centre of gravity is the origin.
kit::Geometry square() {
    return kit::area({{-40, -20}, {-40, 20}, {40, 20}, {40, -20}});
}
// The same ring the other way round: no centre of gravity.
kit::Geometry noCentre() {
    return kit::areaWithSegments({{-40, -20}, {40, -20}, {40, 20}, {-40, 20}, {-40, -20}}, {4, -1});
}

// The fill and outline an area procedure drew.
struct AreaStyle {
    int fill;
    unsigned short pattern;
    unsigned short outline;
};

void expectAreaStyle(const kit::Trace& trace, AreaStyle s) {
    const std::vector<RendererCall> fills = trace.of(RendererCallKind::Area);
    const std::vector<RendererCall> lines = trace.of(RendererCallKind::SimpleLine);
    ASSERT_EQ(fills.size(), 1u) << trace.log();
    ASSERT_EQ(lines.size(), 1u) << trace.log();
    EXPECT_EQ(fills[0].colour, s.fill) << trace.log();
    EXPECT_EQ(fills[0].style, s.pattern) << trace.log();
    EXPECT_EQ(lines[0].colour, 0);
    EXPECT_EQ(lines[0].width, 1);
    EXPECT_EQ(lines[0].style, s.outline) << trace.log();
}

// The calls that are not the area's fill and outline.
std::vector<kit::Call> marksBesideTheArea(const kit::Drawing& d) {
    std::vector<kit::Call> out;
    for (const kit::Call& c : d.calls())
        if (c.kind != "Polygon" && c.kind != "Polyline" && c.kind != "Pixels") out.push_back(c);
    return out;
}

class Wrecks : public kit::ProcedureTest {};

TEST_F(Wrecks, AreaFillAndOutlineBySelectorAndCategory) {
    struct Case {
        int selector; // -1: attribute absent
        int category; // -1: absent
        int depth;    // decimetres; -1: absent
        AreaStyle style;
        const char* note; // null: nothing at the centre
    } cases[] = {
        {-1, -1, -1, {13, 8, 0x9999}, "Wk"},
        {0, 4, -1, {13, 8, 0x9999}, "Wk Mast"},
        {3, 3, -1, {13, 8, 0x9999}, "Foul"},
        {1, 3, -1, {13, 8, 0x9999}, nullptr}, // category 3 fills; selector 1 has no note
        {1, -1, 45, {12, 0, 0}, nullptr},
        {2, -1, 45, {12, 0, 0}, nullptr},
        {5, 2, 45, {12, 0, 0}, nullptr},
        {3, -1, 45, {8, 0, 0x9999}, "Wk"},
        {3, -1, -1, {9, 0, 0x9999}, "Wk"},
        {4, 4, -1, {5, 0, 0x3333}, "Wk Mast"},
        {6, -1, -1, {13, 8, 0x9999}, "Wk"},
        {200, 3, -1, {13, 8, 0x9999}, "Foul"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selector << "/" << c.category << "/" << c.depth);
        kit::FakeObject wreck(176);
        if (c.selector >= 0) wreck.set(kit::byteAttr(124, std::uint8_t(c.selector)));
        if (c.category >= 0) wreck.set(kit::byteAttr(57, std::uint8_t(c.category)));
        if (c.depth >= 0) wreck.set(kit::wordAttr(116, std::uint16_t(c.depth)));
        wreck.set(kit::byteAttr(69, 2)).set(kit::byteAttr(92, 3)); // not used by areas
        wreck.setGeometry(square());
        kit::Trace trace;
        const kit::Drawing d = kit::run(Int1Proc176, wreck, zoned());
        expectAreaStyle(trace, c.style);
        const std::vector<kit::Call> marks = marksBesideTheArea(d);
        if (!c.note) {
            EXPECT_TRUE(marks.empty()) << d.log();
        } else if (c.depth < 0) {
            ASSERT_EQ(marks.size(), 1u) << d.log();
            EXPECT_TRUE(d.hasText(-2, c.note, 0, {0, 0})) << d.log();
        } else {
            // The value with qualifiers 0, 0, 0 and the note.
            const Layout l =
                layoutOf({0, 0}, std::to_string(c.depth / 10), char('0' + c.depth % 10));
            expectValue(d, l);
            EXPECT_TRUE(d.hasText(-1, c.note, 0, {l.hw + 6, -5})) << d.log();
            EXPECT_TRUE(d.of("Ellipse").empty()) << d.log();
        }
    }
}

TEST_F(Wrecks, ReducedDetailsFillWithoutPatternAndNoCentreNoNote) {
    kit::FakeObject wreck(176);
    wreck.setGeometry(square());
    kit::Settings reduced;
    reduced.details = 0x8000;
    kit::Trace trace;
    kit::run(Int1Proc176, wreck, reduced);
    expectAreaStyle(trace, {13, 0, 0x9999});

    kit::FakeObject lost(176);
    lost.set(kit::wordAttr(116, 45)).setGeometry(noCentre());
    trace.clear();
    const kit::Drawing d = kit::run(Int1Proc176, lost);
    expectAreaStyle(trace, {13, 8, 0x9999});
    EXPECT_TRUE(marksBesideTheArea(d).empty()) << d.log();
}

TEST_F(Wrecks, PointsByCategory) {
    const Point at{17, -23};
    struct Case {
        int category; // -1: absent
        int depth;    // decimetres; -1: absent
        int glyph;    // -1: none
        bool ellipse, masts;
    } cases[] = {
        {1, 63, 83, false, false}, {3, 63, 84, false, false}, {5, -1, 85, false, false},
        {4, 63, 83, true, true},   {0, -1, 83, true, false},  {-1, -1, 83, true, false},
        {7, -1, 83, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.category << "/" << c.depth);
        kit::FakeObject wreck(176);
        if (c.category >= 0) wreck.set(kit::byteAttr(57, std::uint8_t(c.category)));
        if (c.depth >= 0) wreck.set(kit::wordAttr(116, std::uint16_t(c.depth)));
        wreck.setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = kit::run(Int1Proc176, wreck);
        EXPECT_TRUE(d.hasGlyph(35, c.glyph, 0, at)) << d.log();
        EXPECT_EQ(marksOf(d, at, 10, 6).ring, c.ellipse) << d.log();
        EXPECT_EQ(d.hasText(-1, "Masts", 0, {at.x + 15, at.y - 4}), c.masts) << d.log();
        EXPECT_EQ(d.calls().size(), 1u + (c.ellipse ? 1 : 0) + (c.masts ? 1 : 0)) << d.log();
    }
}

TEST_F(Wrecks, PointWithADepthIsItsValueWithTheNoteWk) {
    const Point at{17, -23};
    const Layout l = layoutOf(at, "6", '3');
    // Category 2 at 6.3 m: the qualifiers' defaults 2 and 3, background and ring.
    kit::FakeObject wreck(176);
    wreck.set(kit::byteAttr(57, 2)).set(kit::wordAttr(116, 63)).setGeometry(kit::point(at.x, at.y));
    kit::Drawing d = kit::run(Int1Proc176, wreck, zoned());
    expectValue(d, l);
    EXPECT_TRUE(d.hasText(-1, "Wk", 0, {at.x + l.hw + 6, at.y - 5})) << d.log();
    EXPECT_EQ(valueMarks(d, l).background, kit::paletteIndex(9));
    EXPECT_TRUE(valueMarks(d, l).ring);
    EXPECT_TRUE(d.texts(35).empty()) << "no glyph";

    // Qualifiers from the attributes: none, and the bracket of "x" + byte 6.
    kit::FakeObject plain(176);
    plain.set(kit::wordAttr(116, 63)).set(kit::byteAttr(69, 0)).set(kit::byteAttr(92, 0));
    plain.set(kit::textAttr(111, "x\x06")).setGeometry(kit::point(at.x, at.y));
    d = kit::run(Int1Proc176, plain);
    EXPECT_TRUE(d.of("Ellipse").empty()) << d.log();
    EXPECT_TRUE(hasBracket(d, l)) << d.log();

    // Below scale exponent -1: glyph 83 alone, whatever the depth.
    kit::Settings far;
    far.scaleExponent = -2;
    d = kit::run(Int1Proc176, wreck, far);
    ASSERT_EQ(d.calls().size(), 1u) << d.log();
    EXPECT_TRUE(d.hasGlyph(35, 83, 0, at)) << d.log();
    kit::FakeObject masts(176);
    masts.set(kit::byteAttr(57, 4)).setGeometry(kit::point(at.x, at.y));
    EXPECT_EQ(kit::run(Int1Proc176, masts, far).calls().size(), 1u);
}

class Soundings : public kit::ProcedureTest {};

TEST_F(Soundings, SetsReadTheirDepthsFromTheExtras) {
    // 12001 is 1 m over 12000; 12000 itself and below are decimetres.
    kit::FakeObject set(147);
    set.setGeometry(kit::soundings({{-60, 0}, {0, 30}, {60, -30}}, {12001, 12000, 35}));
    const kit::Drawing d = kit::run(Int1Proc147, set);
    expectValue(d, layoutOf({-60, 0}, "1", std::nullopt));
    expectValue(d, layoutOf({0, 30}, "1200", std::nullopt));
    expectValue(d, layoutOf({60, -30}, "3", '5'));
    EXPECT_EQ(d.calls().size(), 4u) << d.log();
    EXPECT_TRUE(d.of("Ellipse").empty()) << "plain values: " << d.log();

    // A set without a part, or without its depths, draws nothing.
    kit::Geometry empty = kit::soundings({}, {});
    empty.parts.clear();
    kit::Geometry noDepths = kit::soundings({{0, 0}, {10, 10}}, {});
    for (const kit::Geometry& g : {empty, noDepths}) {
        kit::FakeObject o(147);
        o.setGeometry(g);
        EXPECT_TRUE(kit::run(Int1Proc147, o).calls().empty());
    }
    // Nothing below scale exponent -1.
    kit::Settings far;
    far.scaleExponent = -2;
    EXPECT_TRUE(kit::run(Int1Proc147, set, far).calls().empty());
    far.scaleExponent = -1;
    EXPECT_FALSE(kit::run(Int1Proc147, set, far).calls().empty());
}

TEST_F(Soundings, PointsAndQualifiers) {
    // A point: only with attribute 116.
    kit::FakeObject point(147);
    point.set(kit::wordAttr(116, 125)).setGeometry(kit::point(5, 5));
    kit::Drawing d = kit::run(Int1Proc147, point);
    const Layout l = layoutOf({5, 5}, "12", '5');
    expectValue(d, l);
    EXPECT_EQ(d.calls().size(), 2u);
    kit::FakeObject none(147);
    none.setGeometry(kit::point(5, 5));
    EXPECT_TRUE(kit::run(Int1Proc147, none).calls().empty());
    kit::FakeObject line(147);
    line.set(kit::wordAttr(116, 125)).setGeometry(kit::line({{0, 0}, {10, 0}}));
    EXPECT_TRUE(kit::run(Int1Proc147, line).calls().empty()) << "other types draw nothing";

    // The qualifiers of the attributes, for every point of a set; the third
    // is the second byte of attribute 111 as stored.
    struct Case {
        kit::Attr third;
        bool bracket;
    } cases[] = {
        {kit::textAttr(111, "x\x06"), true},
        {kit::textAttr(111, "x6"), false},
        {kit::textAttr(111, "\x06"), false},
        {kit::textAttr(111, ""), false},
    };
    for (const Case& c : cases) {
        kit::FakeObject set(147);
        set.set(kit::byteAttr(69, 2)).set(kit::byteAttr(92, 7)).set(c.third);
        set.setGeometry(kit::soundings({{5, 5}, {-50, -50}}, {125, 125}));
        d = kit::run(Int1Proc147, set, zoned());
        for (const Point at : {Point{5, 5}, Point{-50, -50}}) {
            const Layout p = layoutOf(at, "12", '5');
            EXPECT_EQ(valueMarks(d, p).background, kit::paletteIndex(9)) << d.log();
            EXPECT_TRUE(valueMarks(d, p).ring);
            EXPECT_TRUE(hasBar(d, p)) << d.log();
            EXPECT_EQ(hasBracket(d, p), c.bracket) << d.log();
        }
    }
}

class Rocks : public kit::ProcedureTest {};

TEST_F(Rocks, SymbolByWaterLevelWithTheValueInParentheses) {
    const Point at{-20, 10};
    struct Case {
        int level; // -1: absent
        int glyph;
    } cases[] = {{-1, 74}, {0, 74}, {2, 75}, {3, 76}, {4, 74}, {5, 77}, {6, 74}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        kit::FakeObject rock(168);
        if (c.level >= 0) rock.set(kit::byteAttr(124, std::uint8_t(c.level)));
        rock.setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = kit::run(Int1Proc168, rock);
        ASSERT_EQ(d.calls().size(), 1u) << "without a depth only the symbol: " << d.log();
        EXPECT_TRUE(d.hasGlyph(35, c.glyph, 0, at)) << d.log();
    }

    // 124 = 3 with 1.8 m: element 8, and "(1.8)" at its third anchor (12, 0).
    kit::FakeObject rock(168);
    rock.set(kit::byteAttr(124, 3)).set(kit::wordAttr(116, 18)).setGeometry(kit::point(at.x, at.y));
    kit::Drawing d = kit::run(Int1Proc168, rock, zoned());
    EXPECT_TRUE(d.hasGlyph(35, 76, 0, at)) << d.log();
    const Layout l = layoutOf({at.x + 12, at.y}, "1", '8');
    expectValue(d, l);
    GD_SelFont(-1);
    EXPECT_TRUE(d.hasText(-1, "(", 0, {l.left - GD_TextWidth("("), l.top + l.h2 / 3})) << d.log();
    EXPECT_TRUE(d.hasText(-2, ")", 0, {l.left + l.w1 + l.w2, l.top + l.h2 / 3})) << d.log();
    EXPECT_TRUE(d.of("Ellipse").empty()) << "a69 is not 2: " << d.log();

    // A depth of 0 is a depth.
    kit::FakeObject awash(168);
    awash.set(kit::wordAttr(116, 0)).setGeometry(kit::point(at.x, at.y));
    d = kit::run(Int1Proc168, awash);
    expectValue(d, layoutOf({at.x + 12, at.y}, "0", std::nullopt));
}

TEST_F(Rocks, DiscOnlyWithFirstQualifier2AndADepth) {
    const Point at{-20, 10};
    struct Case {
        int a69;   // -1: absent
        int depth; // -1: absent
        bool disc;
    } cases[] = {{2, 45, true}, {2, -1, false}, {0, 45, false}, {-1, 45, false}, {3, 45, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a69 << "/" << c.depth);
        kit::FakeObject rock(168);
        if (c.a69 >= 0) rock.set(kit::byteAttr(69, std::uint8_t(c.a69)));
        if (c.depth >= 0) rock.set(kit::wordAttr(116, std::uint16_t(c.depth)));
        rock.set(kit::byteAttr(92, 5)); // the value's own ring is not drawn in parentheses
        rock.setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = kit::run(Int1Proc168, rock, zoned());
        const Marks m = marksOf(d, at, 8, 8);
        EXPECT_EQ(m.background, c.disc ? kit::paletteIndex(8) : -1) << d.log();
        EXPECT_EQ(m.ring, c.disc) << d.log();
        EXPECT_EQ(d.of("Ellipse").size(), c.disc ? 2u : 0u) << d.log();
        if (c.disc) {
            ASSERT_GE(d.calls().size(), 3u);
            EXPECT_EQ(d.calls()[2].kind, "Text") << "the symbol over the disc";
        }
    }
}

TEST_F(Rocks, AnchorOfAnElementBeyondTheTableIsTheOrigin) {
    SymbolElementTop = 7; // element 8 is beyond the top
    kit::FakeObject rock(168);
    rock.set(kit::byteAttr(124, 3)).set(kit::wordAttr(116, 18)).setGeometry(kit::point(-20, 10));
    const kit::Drawing d = kit::run(Int1Proc168, rock);
    EXPECT_TRUE(d.texts(35).empty()) << "no symbol beyond the top: " << d.log();
    expectValue(d, layoutOf({-20, 10}, "1", '8'));
}

class Hazards : public kit::ProcedureTest {};

TEST_F(Hazards, PingoAreasFillByWaterLevel) {
    struct Case {
        int level; // -1: absent
        AreaStyle style;
    } cases[] = {
        {-1, {5, 0, 0}},     {1, {12, 0, 0}},     {2, {12, 0, 0}},     {4, {5, 0, 0x1F1F}},
        {3, {9, 0, 0x3333}}, {0, {9, 0, 0x3333}}, {7, {9, 0, 0x3333}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        kit::FakeObject pingo(105);
        if (c.level >= 0) pingo.set(kit::byteAttr(124, std::uint8_t(c.level)));
        pingo.setGeometry(square());
        kit::Trace trace;
        kit::run(Int1Proc105, pingo);
        expectAreaStyle(trace, c.style);
    }
}

TEST_F(Hazards, DepthOrDangerCircleWithTheNote) {
    // With a depth: the value with the defaults 2 and 3 and the note, at the
    // centre of an area or at a point.
    for (const kit::Geometry& g : {square(), kit::point(0, 0)}) {
        kit::FakeObject pingo(105);
        pingo.set(kit::wordAttr(116, 125)).setGeometry(g);
        const kit::Drawing d = kit::run(Int1Proc105, pingo, zoned());
        const Layout l = layoutOf({0, 0}, "12", '5');
        expectValue(d, l);
        EXPECT_TRUE(d.hasText(-1, "Pingos", 0, {l.hw + 6, -5})) << d.log();
        EXPECT_EQ(valueMarks(d, l).background, kit::paletteIndex(9));
        EXPECT_TRUE(valueMarks(d, l).ring);
    }
    // Without: a disc of colour 9 with a dotted ring, the note beside it.
    kit::FakeObject pingo(105);
    pingo.setGeometry(kit::point(30, -10));
    kit::Drawing d = kit::run(Int1Proc105, pingo);
    EXPECT_EQ(marksOf(d, {30, -10}, 8, 8).background, kit::paletteIndex(9)) << d.log();
    EXPECT_TRUE(marksOf(d, {30, -10}, 8, 8).ring);
    EXPECT_TRUE(d.hasText(-2, "Pingos", 0, {40, -16})) << d.log();
    EXPECT_EQ(d.calls().size(), 3u);

    // An area without a centre: its fill and outline only.
    kit::FakeObject lost(105);
    lost.set(kit::wordAttr(116, 125)).setGeometry(noCentre());
    d = kit::run(Int1Proc105, lost);
    EXPECT_TRUE(marksBesideTheArea(d).empty()) << d.log();
    EXPECT_EQ(d.solidFills(5), 1);
}

TEST_F(Hazards, ProductionAreasNameTheirWorkings) {
    struct Case {
        int workings; // -1: absent
        const char* note;
    } cases[] = {{1, "Quarry"}, {2, "Mine"}, {3, "Well"}, {4, "Prod Well"}, {0, "Prod Well"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.workings);
        kit::FakeObject area(111);
        area.set(kit::byteAttr(36, std::uint8_t(c.workings))).setGeometry(square());
        kit::Trace trace;
        const kit::Drawing d = kit::run(Int1Proc111, area);
        expectAreaStyle(trace, {9, 0, 0x9999});
        EXPECT_TRUE(d.hasText(-2, c.note, 0, {10, -6})) << d.log();
        EXPECT_TRUE(marksOf(d, {0, 0}, 8, 8).ring);
    }
    // With a depth: the value and the note.
    kit::FakeObject well(111);
    well.set(kit::byteAttr(36, 3)).set(kit::wordAttr(116, 35)).setGeometry(kit::point(0, 0));
    kit::Drawing d = kit::run(Int1Proc111, well);
    const Layout l = layoutOf({0, 0}, "3", '5');
    expectValue(d, l);
    EXPECT_TRUE(d.hasText(-1, "Well", 0, {l.hw + 6, -5})) << d.log();

    // Without attribute 36: glyph 51 and nothing else, even with a depth.
    kit::FakeObject point(111);
    point.set(kit::wordAttr(116, 35)).setGeometry(kit::point(8, 9));
    d = kit::run(Int1Proc111, point);
    ASSERT_EQ(d.calls().size(), 1u) << d.log();
    EXPECT_TRUE(d.hasGlyph(35, 51, 0, {8, 9})) << d.log();
    kit::FakeObject area(111);
    area.setGeometry(square());
    d = kit::run(Int1Proc111, area);
    ASSERT_EQ(marksBesideTheArea(d).size(), 1u) << d.log();
    EXPECT_TRUE(d.hasGlyph(35, 51, 0, {0, 0})) << d.log();
}

TEST_F(Hazards, FirstDepthZoneFillsAreasAndLinesAreDrawnPlain) {
    struct Case {
        std::vector<double> zones;
        int colour;
    } cases[] = {{{}, 1}, {kZones, 7}, {{0.5, 3}, 8}, {{0.5}, 1}};
    for (const Case& c : cases) {
        kit::FakeObject area(129);
        area.setGeometry(square());
        kit::Settings s;
        s.depthZones = c.zones;
        kit::Trace trace;
        const kit::Drawing d = kit::run(Int1Proc129, area, s);
        ASSERT_EQ(trace.calls().size(), 1u) << trace.log();
        EXPECT_EQ(trace.calls()[0].kind, RendererCallKind::Area);
        EXPECT_EQ(trace.calls()[0].colour, c.colour) << c.zones.size();
        EXPECT_EQ(trace.calls()[0].style, 0);
        EXPECT_EQ(d.solidFills(c.colour), 1);
    }
    kit::FakeObject line(129);
    line.setGeometry(kit::line({{-30, 0}, {30, 5}}));
    kit::Trace trace;
    kit::run(Int1Proc129, line);
    ASSERT_EQ(trace.calls().size(), 1u) << trace.log();
    EXPECT_EQ(trace.calls()[0].kind, RendererCallKind::SimpleLine);
    EXPECT_EQ(trace.calls()[0].colour, 6);
    EXPECT_EQ(trace.calls()[0].width, 2);
    EXPECT_EQ(trace.calls()[0].style, 0);
}

TEST_F(Hazards, TheTableDrawsThisFamily) {
    // The built-in table holds these procedures, not placeholders: each of
    // the codes draws something of a simple object.
    for (int code : {105, 111, 129, 147, 168, 176}) {
        kit::FakeObject o(code);
        o.set(kit::wordAttr(116, 35)).setGeometry(code == 129 ? square() : kit::point(0, 0));
        EXPECT_FALSE(kit::draw(o).calls().empty()) << code;
    }
}

// ---------------------------------------------------------------- sample chart

// The sample chart's harbour cell (level G) drawn through the real database:
// its sounding set, wrecks and rocks.
TEST_F(Hazards, SampleHarbourSoundingsWrecksAndRocks) {
    const std::string dictDir = std::string(DATA_DIR) + "/dict/";
    const std::string chartRoot = std::string(DATA_DIR) + "/sample/kv71";
    TKV71Dictionary dictionary("KV71Dictionary", dictDir.c_str());
    TPresLib presentation(&dictionary, "INT1Pres", dictDir.c_str());
    dictionary.SetPresentation(&presentation);
    TKV71Db db(dictionary, chartRoot.c_str(), 64u << 20, nullptr);
    // A 1920 x 1080 view at 1:15,000 over the hazards, queried at level G.
    kit::Settings s;
    s.width = 1920;
    s.height = 1080;
    s.scale = 15000;
    s.lonDeg = 5.245;
    s.latDeg = 60.4315;
    s.depthZones = kZones;
    int points = 0, wrecks = 0, rocks = 0;
    const kit::Drawing d = kit::record(
        [&](TMapContext& context) {
            TGdbQuery query(db);
            ASSERT_EQ(query.open(context.rect, 7500ul, nullptr), 1);
            while (GdbObject* o = query.next()) {
                const int code = o->GetLabel();
                if (code != 147 && code != 168 && code != 176) continue;
                if (code == 176) ++wrecks;
                if (code == 168) ++rocks;
                if (code == 147) {
                    GeoRect window = context.rect;
                    std::unique_ptr<MapObject> g(o->newMapObject(context.map, window, nullptr));
                    if (g && g->type == egtSoundings) points += g->pointCounts[0];
                }
                context.Draw(o);
            }
            query.close();
        },
        s);
    dictionary.SetPresentation(nullptr);
    EXPECT_EQ(wrecks, 2);
    EXPECT_EQ(rocks, 2);
    ASSERT_GT(points, 100);

    // Every sounding is a plain value: one text of font -1 each, besides the
    // wreck's 6 and "Wk", the rock's "(" and 1 (its ")" follows the tenth in
    // font -2) and "Masts".
    std::vector<kit::Call> wholes = d.texts(-1);
    EXPECT_EQ(int(wholes.size()), points + 5) << "soundings, the wreck's 6 and Wk, the rock's ( "
                                                 "and 1, and Masts";
    // The wreck of category 2 at 6.3 m: its value with background and ring, "Wk".
    const std::vector<kit::Call> notes = [&] {
        std::vector<kit::Call> v;
        for (const kit::Call& c : wholes)
            if (c.codes == std::vector<int>{'W', 'k'}) v.push_back(c);
        return v;
    }();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(d.of("Ellipse").size(), 3u) << "the wreck's background and ring, the mast's ellipse";
    // The rocks: element 8 with "(1.8)", element 9 alone; the wreck with masts.
    EXPECT_EQ(d.texts(35).size(), 3u);
    int awash = 0, dries = 0, mast = 0;
    for (const kit::Call& c : d.texts(35)) {
        awash += c.codes == std::vector<int>{76};
        dries += c.codes == std::vector<int>{77};
        mast += c.codes == std::vector<int>{83};
    }
    EXPECT_EQ(awash, 1);
    EXPECT_EQ(dries, 1);
    EXPECT_EQ(mast, 1);
    int open = 0, masts = 0;
    for (const kit::Call& c : wholes) {
        open += c.codes == std::vector<int>{'('};
        masts += c.codes == std::vector<int>{'M', 'a', 's', 't', 's'};
    }
    EXPECT_EQ(open, 1);
    EXPECT_EQ(masts, 1);
}

// ---------------------------------------------------------------- gallery

TEST_F(Hazards, Gallery) {
    kit::Gallery gallery("soundings", 128, 6);
    const auto value = [&](const std::string& label, float depth, unsigned a, unsigned b,
                           unsigned c, const char* note, int parentheses) {
        gallery.add(
            label,
            [=](TMapContext& context) {
                _DrawSoundValue(&context, 0, 0, depth, a, b, c, const_cast<char*>(note),
                                parentheses);
            },
            zoned());
    };
    value("12.5", 12.5f, 0, 0, 0, nullptr, 0);
    value("3.0", 3.0f, 0, 0, 0, nullptr, 0);
    value("-1.2 drying", -1.2f, 0, 0, 0, nullptr, 0);
    value("-0.04", -0.04f, 0, 0, 0, nullptr, 0);
    value("a=2", 12.5f, 2, 0, 0, nullptr, 0);
    value("b=3", 12.5f, 0, 3, 0, nullptr, 0);
    value("b=5 1.5 m", 1.5f, 0, 5, 0, nullptr, 0);
    value("b=9 7.5 m", 7.5f, 0, 9, 0, nullptr, 0);
    value("b=7 bar", 12.5f, 0, 7, 0, nullptr, 0);
    value("c=6 bracket", 12.5f, 0, 0, 6, nullptr, 0);
    value("b=7 c=6", 12.5f, 0, 7, 6, nullptr, 0);
    value("( ) b=5", 12.5f, 0, 5, 0, nullptr, 1);
    value("note Wk", 6.3f, 2, 3, 0, "Wk", 0);
    value("25.5 zone 0", 25.5f, 2, 0, 0, nullptr, 0);

    const auto object = [&](const std::string& label, CondSymbProc proc, int code,
                            std::vector<kit::Attr> attrs, kit::Geometry g) {
        kit::FakeObject o(code);
        for (kit::Attr& a : attrs)
            o.set(std::move(a));
        o.setGeometry(std::move(g));
        gallery.add(label, proc, o, zoned());
    };
    const kit::Geometry box = kit::area({{-50, -40}, {-50, 40}, {50, 40}, {50, -40}});
    object("176 area", Int1Proc176, 176, {}, box);
    object("176 area Foul", Int1Proc176, 176, {kit::byteAttr(57, 3)}, box);
    object("176 area sel 3 4.5", Int1Proc176, 176, {kit::byteAttr(124, 3), kit::wordAttr(116, 45)},
           box);
    object("176 area sel 4 Mast", Int1Proc176, 176, {kit::byteAttr(124, 4), kit::byteAttr(57, 4)},
           box);
    object("176 area sel 1", Int1Proc176, 176, {kit::byteAttr(124, 1)}, box);
    object("176 Wk 6.3", Int1Proc176, 176, {kit::byteAttr(57, 2), kit::wordAttr(116, 63)},
           kit::point(-20, 0));
    object("176 Masts", Int1Proc176, 176, {kit::byteAttr(57, 4)}, kit::point(-30, 0));
    object("176 no depth", Int1Proc176, 176, {}, kit::point(0, 0));
    object("176 cat 1/3/5", Int1Proc176, 176, {kit::byteAttr(57, 3)}, kit::point(0, 0));
    object("147 set", Int1Proc147, 147, {},
           kit::soundings({{-35, 30}, {20, 30}, {-30, -10}, {25, -10}, {0, -40}},
                          {125, 30, 12001, 8, 355}));
    object("147 qualified", Int1Proc147, 147,
           {kit::byteAttr(69, 2), kit::byteAttr(92, 7), kit::textAttr(111, "x\x06")},
           kit::soundings({{0, 0}}, {125}));
    object("168 aw 1.8", Int1Proc168, 168, {kit::byteAttr(124, 3), kit::wordAttr(116, 18)},
           kit::point(-20, 0));
    object("168 disc 4.5", Int1Proc168, 168,
           {kit::byteAttr(124, 5), kit::byteAttr(69, 2), kit::wordAttr(116, 45)},
           kit::point(-20, 0));
    object("168 covers", Int1Proc168, 168, {kit::byteAttr(124, 2)}, kit::point(0, 0));
    object("168 dries", Int1Proc168, 168, {}, kit::point(0, 0));
    object("105 area", Int1Proc105, 105, {kit::byteAttr(124, 4)}, box);
    object("105 point 12.5", Int1Proc105, 105, {kit::wordAttr(116, 125)}, kit::point(-10, 0));
    object("111 Mine", Int1Proc111, 111, {kit::byteAttr(36, 2)}, box);
    object("111 no 36", Int1Proc111, 111, {}, kit::point(0, 0));
    object("129 area", Int1Proc129, 129, {}, box);
    object("129 line", Int1Proc129, 129, {}, kit::line({{-50, -30}, {0, 20}, {50, -10}}));
    const std::string path = gallery.write();
    EXPECT_FALSE(path.empty());
}

} // namespace
