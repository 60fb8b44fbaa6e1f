// Oriented symbols: the radio-station circle with its direction strokes, the
// line labelled with its bearing, the single and double arrows, the compass
// star, and the rotation they share.
#include "procedureKit.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"
#include "procedures/OrientedSymbols.h"
#include "proj/Map.h"
#include "proj/MapObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

int radiusOf(const kit::Call& c) {
    return (c.boxes.at(0).right - c.boxes.at(0).left) / 2;
}

// The two-point solid lines of colour 14, as (from, to).
std::vector<std::pair<Point, Point>> strokes(const kit::Drawing& d) {
    std::vector<std::pair<Point, Point>> out;
    for (const kit::Call& c : d.solidLines(14, 1))
        if (c.points.size() == 2) out.emplace_back(c.points[0], c.points[1]);
    return out;
}

bool same(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

// ---------------------------------------------------------------- rotation

TEST(Rotation, TurnsCounterClockwiseAboutTheCentre) {
    const Point square[] = {{10, 0}, {0, 10}, {-3, 7}};
    struct Row {
        double a;
        Point expected[3];
    };
    const Row rows[] = {
        {0, {{110, 50}, {100, 60}, {97, 57}}},       {M_PI / 2, {{100, 60}, {90, 50}, {93, 47}}},
        {M_PI, {{90, 50}, {100, 40}, {103, 43}}},    {-M_PI / 2, {{100, 40}, {110, 50}, {107, 53}}},
        {M_PI / 4, {{107, 57}, {93, 57}, {93, 53}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.a);
        Point out[3];
        RotateAbout(square, 3, r.a, {100, 50}, out);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(same(out[i], r.expected[i])) << i << ": " << out[i].x << "," << out[i].y;
    }
}

TEST(Rotation, ArrowsPointToTheirBearing) {
    // An orientation of 90 with the base window (azimuth 0) points east.
    Point out[kDoubleArrowPoints];
    RotateAbout(kSingleArrow, kSingleArrowPoints, OrientationAngle(nullptr, 90), {5, 5}, out);
    EXPECT_TRUE(same(out[0], {29, 5}));
    EXPECT_TRUE(same(out[7], {29, 5}));
    RotateAbout(kDoubleArrow, kDoubleArrowPoints, OrientationAngle(nullptr, 180), {0, 0}, out);
    EXPECT_TRUE(same(out[0], {0, -24}));
    EXPECT_TRUE(same(out[5], {0, 24}));
}

class Oriented : public kit::ProcedureTest {};

// A window transform turned by an azimuth.
class TurnedWin : public Map::Win {
  public:
    explicit TurnedWin(float degrees) : Map::Win(nullptr), degrees_(degrees) {}
    float getAzimuth(int mode) override {
        return mode == 0 ? degrees_ : float(degrees_ * M_PI / 180);
    }

  private:
    float degrees_;
};

kit::Drawing turned(float azimuth, CondSymbProc procedure, kit::FakeObject& object,
                    const kit::Geometry& geometry) {
    return kit::record([&](TMapContext& context) {
        TurnedWin win(azimuth);
        Map::Win* old = context.map->win;
        context.map->win = &win;
        MapObject m(egtEmpty, -1);
        geometry.fill(m);
        procedure(&context, &object, &m);
        context.map->win = old;
    });
}

// ---------------------------------------------------------------- 119

TEST_F(Oriented, RadioStationCircleAndStrokes) {
    // Without a label: radius 10; orientation 0 puts the point straight up,
    // at twice the radius.
    kit::FakeObject station(119);
    station.set(kit::floatAttr(85, 0)).setGeometry(kit::point(10, -20));
    kit::Drawing d = kit::run(Int1Proc119, station);
    std::vector<kit::Call> e = d.of("Ellipse");
    ASSERT_EQ(e.size(), 1u) << d.log();
    EXPECT_EQ(radiusOf(e[0]), 10);
    EXPECT_EQ(e[0].penColour, kit::paletteIndex(14));
    std::vector<std::pair<Point, Point>> s = strokes(d);
    ASSERT_EQ(s.size(), 2u) << d.log();
    for (const auto& [from, to] : s) {
        EXPECT_TRUE(same(to, {10, 0})) << to.x << "," << to.y;
        EXPECT_EQ(from.y, -20 + 8); // r cos 30, truncated
    }
    EXPECT_EQ(s[0].first.x + s[1].first.x, 20) << "one on each side";

    // Two-way traffic: a second point opposite.
    kit::FakeObject twoWay(119);
    twoWay.set(kit::floatAttr(85, 90)).set(kit::byteAttr(112, 4)).setGeometry(kit::point(0, 0));
    d = kit::run(Int1Proc119, twoWay);
    s = strokes(d);
    ASSERT_EQ(s.size(), 4u) << d.log();
    int east = 0, west = 0;
    for (const auto& st : s) {
        if (same(st.second, {20, 0})) ++east;
        if (same(st.second, {-20, 0})) ++west;
    }
    EXPECT_EQ(east, 2);
    EXPECT_EQ(west, 2);

    // No orientation, or one that is not a number: the circle alone.
    for (bool nan : {false, true}) {
        kit::FakeObject plain(119);
        if (nan) plain.set(kit::floatAttr(85, kNaN));
        plain.set(kit::byteAttr(112, 4));
        d = kit::run(Int1Proc119, plain);
        EXPECT_EQ(d.of("Ellipse").size(), 1u);
        EXPECT_TRUE(strokes(d).empty()) << d.log();
    }
}

TEST_F(Oriented, RadioStationLabelSetsTheRadius) {
    ASSERT_TRUE(kit::haveGuiApplication());
    const char* label = "Radio Vest";
    int w = 0, h = 0;
    kit::record([&](TMapContext&) {
        GD_SelFont(-1);
        w = GD_TextWidth(label);
        h = GD_TextHeight(label);
    });
    ASSERT_GT(w, h) << "a label wider than it is high";

    kit::FakeObject station(119);
    station.set(kit::textAttr(62, label)).set(kit::floatAttr(85, 0)).setGeometry(kit::point(0, 0));
    const kit::Drawing d = kit::run(Int1Proc119, station);
    const std::vector<kit::Call> e = d.of("Ellipse");
    ASSERT_EQ(e.size(), 1u) << d.log();
    EXPECT_EQ(radiusOf(e[0]), w);
    EXPECT_TRUE(d.hasText(-1, label, 14, {-w / 2, -h / 2})) << d.log();
    for (const auto& st : strokes(d))
        EXPECT_TRUE(same(st.second, {0, 2 * w})) << "strokes end at twice the radius";

    // An empty label is no label.
    kit::FakeObject empty(119);
    empty.set(kit::textAttr(62, "")).setGeometry(kit::point(0, 0));
    const kit::Drawing d2 = kit::run(Int1Proc119, empty);
    ASSERT_EQ(d2.of("Ellipse").size(), 1u);
    EXPECT_EQ(radiusOf(d2.of("Ellipse")[0]), 10);
    EXPECT_TRUE(d2.texts(-1).empty());
}

// ---------------------------------------------------------------- 125

struct Element {
    int kind, colour, count;
};

void expectElements(const RendererCall& c, const std::vector<Element>& expected) {
    ASSERT_EQ(c.elements.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c.elements[i].kind, expected[i].kind);
        EXPECT_EQ(c.elements[i].colour, expected[i].colour);
        if (expected[i].kind != kMarkerText) {
            EXPECT_EQ(c.elements[i].count, expected[i].count);
        }
    }
}

TEST_F(Oriented, BearingLineCompositions) {
    const TLineMarker* t = LineElementTemplates.data();
    const Element label{kMarkerText, 0, 0};
    const Element solid100{kMarkerStroke, 0, 100}, solid150{kMarkerStroke, 0, 150};
    const Element dashed200{kMarkerStroke, 0, 200}, dashed150{kMarkerStroke, 0, 150};
    const Element glyph20{kMarkerGlyph, 0, 1}, piece{kMarkerStroke, 0, 20};
    const Element glyph19{kMarkerGlyph, 0, 1}, glyph19m{kMarkerGlyph, 14, 1};
    struct Row {
        const char* name;
        std::optional<float> orientation;
        int category; // 0: absent
        int traffic;  // 0: absent
        int details;
        std::vector<Element> elements;
        std::vector<unsigned> patterns; // the strokes' dash patterns, in order
    };
    const Row rows[] = {
        {"labelled, category 1", 45.0f, 1, 0, 0, {label, solid100}, {0}},
        {"labelled, other category", 45.0f, 2, 0, 0, {label, dashed200}, {0x0F0F}},
        {"no label, category 1", {}, 1, 0, 0, {solid150}, {0}},
        {"no label, no category", {}, 0, 0, 0, {dashed150}, {0x0F0F}},
        {"a not-a-number orientation is no label", kNaN, 1, 0, 0, {solid150}, {0}},
        {"reduced drawing draws no label", 45.0f, 1, 0, 0x8000, {solid150}, {0}},
        {"two-way traffic", 45.0f, 1, 4, 0, {label, solid100, glyph20, piece, glyph19}, {0, 0}},
        {"traffic 3", {}, 0, 3, 0, {dashed150, glyph19m}, {0x0F0F}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::FakeObject track(125);
        if (r.orientation) track.set(kit::floatAttr(85, *r.orientation));
        if (r.category) track.set(kit::byteAttr(40, std::uint8_t(r.category)));
        if (r.traffic) track.set(kit::byteAttr(112, std::uint8_t(r.traffic)));
        track.setGeometry(kit::line({{-100, 0}, {100, 0}}));
        kit::Settings settings;
        settings.details = r.details;
        kit::Trace trace;
        kit::run(Int1Proc125, track, settings);
        ASSERT_EQ(trace.calls().size(), 1u) << trace.log();
        const RendererCall& c = trace.calls()[0];
        EXPECT_EQ(c.kind, RendererCallKind::ComplexLine);
        expectElements(c, r.elements);
        std::vector<unsigned> patterns;
        for (const TracedMarker& m : c.elements)
            if (m.kind == kMarkerStroke)
                patterns.push_back(unsigned(m.character) | unsigned(std::uint8_t(m.font)) << 8);
        EXPECT_EQ(patterns, r.patterns);
        if (r.traffic == 4) {
            EXPECT_EQ(c.elements[2].character, t[20].character);
            EXPECT_EQ(c.elements[3].size, 1);
            EXPECT_EQ(c.elements[3].flags, kMarkerToVertex);
        }
        if (r.traffic) {
            EXPECT_EQ(c.elements.back().character, t[19].character);
        }
        // The end marker is template 0 as it stands.
        ASSERT_TRUE(c.hasEndMarker);
        EXPECT_EQ(c.endMarker.kind, kMarkerStroke);
        EXPECT_EQ(c.endMarker.count, t[0].count);
    }
}

TEST_F(Oriented, BearingLineLabel) {
    struct Row {
        float orientation;
        const char* text;
    };
    for (const Row r : {Row{45.0f, " 45.0 "}, Row{7.25f, " 7.2 "}, Row{169.0f, " 169.0 "},
                        Row{150.9f, " 150.9 "}}) {
        kit::FakeObject track(125);
        track.set(kit::floatAttr(85, r.orientation)).setGeometry(kit::line({{-100, 0}, {100, 0}}));
        kit::Trace trace;
        kit::run(Int1Proc125, track);
        ASSERT_EQ(trace.calls().size(), 1u);
        const TracedMarker& label = trace.calls()[0].elements.at(0);
        EXPECT_EQ(label.text, r.text);
        EXPECT_EQ(label.character, std::string(r.text).size());
        EXPECT_EQ(label.font, LineElementTemplates[8].font) << "template 8";
    }
    EXPECT_EQ(LineElementTemplates[8].text, nullptr) << "the label does not stay in the template";

    // At details 1 a wide line in colour 15 lies under the styled one.
    kit::FakeObject track(125);
    track.setGeometry(kit::line({{-100, 0}, {100, 0}}));
    kit::Settings settings;
    settings.details = 1;
    kit::Trace trace;
    kit::run(Int1Proc125, track, settings);
    ASSERT_EQ(trace.calls().size(), 2u) << trace.log();
    EXPECT_EQ(trace.calls()[0].kind, RendererCallKind::SimpleLine);
    EXPECT_EQ(trace.calls()[0].colour, 15);
    EXPECT_EQ(trace.calls()[0].width, 3);
    EXPECT_EQ(trace.calls()[0].style, 0);
    EXPECT_EQ(trace.calls()[1].kind, RendererCallKind::ComplexLine);
}

// ---------------------------------------------------------------- arrows

TEST_F(Oriented, Arrows) {
    struct Row {
        int code;
        CondSymbProc procedure;
        bool dashed;
        int points;
        bool ownLine;
    };
    const Row rows[] = {
        {126, Int1Proc126, true, kSingleArrowPoints, false},
        {162, Int1Proc162, false, kSingleArrowPoints, false},
        {167, Int1Proc167, true, kDoubleArrowPoints, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        // Orientation 90 about the centre of a line from (-10, 10) to (10, 10):
        // the tip at (24, 10), the outline within 24 by 12 of the centre.
        kit::FakeObject arrow(r.code);
        arrow.set(kit::floatAttr(85, 90)).setGeometry(kit::line({{-10, 10}, {10, 10}}));
        kit::Trace trace;
        kit::Drawing d = kit::run(r.procedure, arrow);
        std::vector<Point> ink;
        if (r.dashed) {
            ink = d.dashPixels(14);
        } else {
            const std::vector<kit::Call> lines = d.solidLines(14, 1);
            ASSERT_EQ(lines.size(), 1u) << d.log();
            ink = lines[0].points;
            ASSERT_EQ(int(ink.size()), r.points);
            EXPECT_TRUE(same(ink.back(), ink.front())) << "closed";
        }
        ASSERT_FALSE(ink.empty()) << d.log();
        EXPECT_TRUE(same(ink.front(), {24, 10})) << ink.front().x << "," << ink.front().y;
        for (const Point& p : ink) {
            EXPECT_LE(std::abs(p.x), 24);
            EXPECT_LE(std::abs(p.y - 10), 12);
        }
        if (r.code == 167) {
            // The tail is a second head pointing west.
            EXPECT_TRUE(std::any_of(ink.begin(), ink.end(), [](Point p) {
                return same(p, {-24, 10});
            }));
        }
        EXPECT_EQ(trace.calls().size(), r.ownLine ? 1u : 0u) << trace.log();
        if (r.ownLine) {
            EXPECT_EQ(trace.calls()[0].kind, RendererCallKind::SimpleLine);
            EXPECT_EQ(trace.calls()[0].colour, 14);
            EXPECT_EQ(trace.calls()[0].width, 1);
            EXPECT_EQ(trace.calls()[0].style, 0x1F1F);
        }

        // Without an orientation, or with one that is not a number: no
        // arrow; 167 still draws its line.
        for (bool nan : {false, true}) {
            kit::FakeObject none(r.code);
            if (nan) none.set(kit::floatAttr(85, kNaN));
            none.setGeometry(kit::line({{-10, 10}, {10, 10}}));
            kit::Trace t2;
            d = kit::run(r.procedure, none);
            EXPECT_TRUE(d.dashPixels(14).size() == 0 || r.ownLine) << d.log();
            EXPECT_TRUE(d.solidLines(14, 1).empty());
            EXPECT_EQ(t2.calls().size(), r.ownLine ? 1u : 0u);
            if (r.ownLine) {
                for (const Point& p : d.dashPixels(14))
                    EXPECT_EQ(p.y, 10) << "only the line";
            }
        }

        // Below scale exponent -1 nothing at all, the line neither.
        kit::Settings small;
        small.scaleExponent = -2;
        kit::Trace t3;
        EXPECT_TRUE(kit::run(r.procedure, arrow, small).calls().empty());
        EXPECT_TRUE(t3.calls().empty());
        small.scaleExponent = -1;
        EXPECT_FALSE(kit::run(r.procedure, arrow, small).calls().empty());

        // An area without a centre of gravity (turned the other way): no arrow.
        kit::FakeObject noCentre(r.code);
        noCentre.set(kit::floatAttr(85, 90))
            .setGeometry(kit::areaWithSegments(
                {{-40, -20}, {40, -20}, {40, 20}, {-40, 20}, {-40, -20}}, {4, -1}));
        d = kit::run(r.procedure, noCentre);
        EXPECT_TRUE(d.solidLines(14, 1).empty());
        if (!r.ownLine) {
            EXPECT_TRUE(d.calls().empty()) << d.log();
        }
    }
}

TEST_F(Oriented, TurnWithTheWindow) {
    // On a window turned by 30 degrees, orientation 90 shows at bearing 60.
    kit::FakeObject arrow(162);
    arrow.set(kit::floatAttr(85, 90));
    const kit::Drawing d = turned(30, Int1Proc162, arrow, kit::point(0, 0));
    const std::vector<kit::Call> lines = d.solidLines(14, 1);
    ASSERT_EQ(lines.size(), 1u) << d.log();
    EXPECT_TRUE(same(lines[0].points[0], {21, 12})) << "24 sin 60, 24 cos 60";

    kit::FakeObject station(119);
    station.set(kit::floatAttr(85, 90));
    // 20 (sin 60, cos 60), each truncated.
    const auto s = strokes(turned(30, Int1Proc119, station, kit::point(0, 0)));
    ASSERT_EQ(s.size(), 2u);
    for (const auto& st : s) {
        EXPECT_EQ(st.second.x, 17);
        EXPECT_NEAR(st.second.y, 10, 1);
    }
}

// ---------------------------------------------------------------- 191

TEST_F(Oriented, CompassStar) {
    kit::FakeObject rose(191);
    rose.setGeometry(kit::point(20, -10));
    const kit::Drawing d = kit::run(Int1Proc191, rose);
    const std::vector<kit::Call> outlines = d.solidLines(14, 1);
    ASSERT_EQ(outlines.size(), 8u) << d.log();
    EXPECT_EQ(d.solidFills(14), 8);
    const std::vector<kit::Call> circle = d.of("Ellipse");
    ASSERT_EQ(circle.size(), 1u);
    EXPECT_EQ(radiusOf(circle[0]), 22);

    // The four long points stand north, west, south and east, 20 out.
    std::vector<Point> tips;
    for (const kit::Call& c : d.calls())
        for (const Point& p : c.points)
            if (std::hypot(p.x - 20.0, p.y + 10.0) > 19.5 && c.kind != "Ellipse") tips.push_back(p);
    for (Point expected : {Point{20, 10}, Point{0, -10}, Point{20, -30}, Point{40, -10}})
        EXPECT_TRUE(
            std::any_of(tips.begin(), tips.end(), [&](Point p) { return same(p, expected); }))
            << expected.x << "," << expected.y << "\n"
            << d.log();
    // Every point of the star lies within its circle.
    for (const kit::Call& c : d.calls()) {
        if (c.kind == "Ellipse") continue;
        for (const Point& p : c.points)
            EXPECT_LE(std::hypot(p.x - 20.0, p.y + 10.0), 20.01);
    }
}

// ---------------------------------------------------------------- gallery

TEST_F(Oriented, Gallery) {
    kit::Gallery gallery("oriented-symbols", 192, 5);
    const auto add = [&](const std::string& label, CondSymbProc procedure, int code,
                         const std::vector<kit::Attr>& attrs, const kit::Geometry& g) {
        kit::FakeObject o(code);
        for (const kit::Attr& a : attrs)
            o.set(a);
        o.setGeometry(g);
        gallery.add(label, procedure, o);
        kit::resetDrawingState();
    };
    const kit::Geometry line = kit::line({{-50, -30}, {50, 30}});
    const kit::Geometry longLine = kit::line({{-90, -60}, {-10, 0}, {90, 50}});
    add("119", Int1Proc119, 119, {}, kit::point(0, 0));
    add("119 at 45", Int1Proc119, 119, {kit::floatAttr(85, 45)}, kit::point(0, -10));
    add("119 two-way 90", Int1Proc119, 119, {kit::floatAttr(85, 90), kit::byteAttr(112, 4)},
        kit::point(0, 0));
    add("119 label", Int1Proc119, 119, {kit::textAttr(62, "RC"), kit::floatAttr(85, 0)},
        kit::point(0, -15));
    add("125 cat 1, 45", Int1Proc125, 125, {kit::floatAttr(85, 45), kit::byteAttr(40, 1)},
        longLine);
    add("125 45", Int1Proc125, 125, {kit::floatAttr(85, 45)}, longLine);
    add("125 cat 1 two-way", Int1Proc125, 125,
        {kit::floatAttr(85, 150.9f), kit::byteAttr(40, 1), kit::byteAttr(112, 4)}, longLine);
    add("125 traffic 3", Int1Proc125, 125, {kit::byteAttr(112, 3)}, longLine);
    add("126 at 90", Int1Proc126, 126, {kit::floatAttr(85, 90)}, kit::point(0, 0));
    add("162 at 45", Int1Proc162, 162, {kit::floatAttr(85, 45)}, kit::point(0, 0));
    add("167 at 31", Int1Proc167, 167, {kit::floatAttr(85, 31)}, line);
    add("167 no orient.", Int1Proc167, 167, {}, line);
    add("191", Int1Proc191, 191, {}, kit::point(0, 0));
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
