// The area patterns and marked areas of the procedures of codes 153 to 212:
// vegetation glyphs chosen by a list, one-letter patterns, the magnetic
// anomaly with its symbol and text, the information area with its note; a
// pixel test of the vegetation pattern and the gallery of the whole family.
#include "procedureKit.h"
#include "styleCases.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using styles::Case;
using styles::expectCases;
using styles::Lines;
using styles::reducedDetails;

const kit::Geometry kLine = kit::line({{-100, -20}, {0, 30}, {100, -20}});
const kit::Geometry kArea = kit::area({{-80, -60}, {-80, 60}, {80, 60}, {80, -60}});
const kit::Geometry kPoint = kit::point(10, 20);

std::string pattern(int layout, const std::vector<int>& glyphs) {
    std::string s = "pattern L" + std::to_string(layout) + " [";
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        s += (i ? "; upright 35/" : "upright 35/") + std::to_string(glyphs[i]) + " c0";
    return s + "]";
}

// The glyphs of font 35 a drawing placed, by code: their reference points.
std::map<int, std::vector<Point>> glyphs35(const kit::Drawing& d) {
    std::map<int, std::vector<Point>> out;
    for (const kit::Call& c : d.texts(35))
        if (c.codes.size() == 1 && !c.points.empty()) out[c.codes[0]].push_back(c.points[0]);
    return out;
}

// The x positions of the points in each row (by y), rows from the bottom.
std::map<int, std::set<int>> rowsOf(const std::vector<Point>& points) {
    std::map<int, std::set<int>> rows;
    for (const Point& p : points)
        rows[p.y].insert(p.x);
    return rows;
}

std::string textOf(const kit::Call& c) {
    std::string s;
    for (int code : c.codes)
        s += char(code);
    return s;
}

class AreaPatterns : public kit::ProcedureTest {};

// ---------------------------------------------------------------- vegetation

TEST_F(AreaPatterns, VegetationGlyphsFromTheListInOrder) {
    const std::string hatch = "fill c4 p8";
    const std::vector<Case> cases{
        {"grass", Int1Proc169, {kit::listAttr(55, {1})}, kArea, {pattern(0, {0x65})}},
        {"woods",
         Int1Proc169,
         {kit::listAttr(55, {4, 5, 6})},
         kArea,
         {pattern(0, {0x60, 0x62, 0x61})}},
        {"mangroves: two glyphs, aligned",
         Int1Proc169,
         {kit::listAttr(55, {7})},
         kArea,
         {pattern(1, {0x63, 0x64})}},
        {"mangroves after wood",
         Int1Proc169,
         {kit::listAttr(55, {4, 7})},
         kArea,
         {pattern(1, {0x60, 0x63, 0x64})}},
        {"repeated values, others skipped",
         Int1Proc169,
         {kit::listAttr(55, {11, 2, 4, 11})},
         kArea,
         {pattern(0, {0x66, 0x60, 0x66})}},
        {"absent", Int1Proc169, {}, kArea, {hatch}},
        {"empty list", Int1Proc169, {kit::listAttr(55, {})}, kArea, {hatch}},
        {"no glyph of its own", Int1Proc169, {kit::listAttr(55, {2, 3, 8, 9, 10})}, kArea, {hatch}},
        {"reduced", Int1Proc169, {kit::listAttr(55, {1})}, kArea, {}, reducedDetails()},
        {"reduced, absent", Int1Proc169, {}, kArea, {}, reducedDetails()},
        {"line", Int1Proc169, {kit::listAttr(55, {1})}, kLine, {}},
        {"point", Int1Proc169, {}, kPoint, {}},
    };
    expectCases(cases);

    // The hatch reaches the picture; reduced details draw nothing at all.
    kit::FakeObject vegetation(169);
    vegetation.setGeometry(kArea);
    EXPECT_EQ(kit::run(Int1Proc169, vegetation).patternFills(4), 1);
    EXPECT_TRUE(kit::run(Int1Proc169, vegetation, reducedDetails()).calls().empty());
}

TEST_F(AreaPatterns, MangrovesDrawTwoGlyphsPerCellInAlignedRows) {
    kit::FakeObject mangroves(169);
    mangroves.set(kit::listAttr(55, {7}))
        .setGeometry(kit::area({{-100, -80}, {-100, 80}, {100, 80}, {100, -80}}));
    const auto g = glyphs35(kit::run(Int1Proc169, mangroves));
    ASSERT_EQ(g.size(), 2u);
    const std::vector<Point>& roots = g.at(0x63);
    const std::vector<Point>& crowns = g.at(0x64);
    ASSERT_GT(roots.size(), 4u);
    EXPECT_EQ(roots.size(), crowns.size());
    // Every row holds the same cells: aligned, each used.
    const auto rows = rowsOf(roots);
    ASSERT_GE(rows.size(), 3u);
    for (const auto& [y, xs] : rows)
        EXPECT_EQ(xs, rows.begin()->second) << "row at " << y;
    // Crown right of the roots in each cell.
    const auto crownRows = rowsOf(crowns);
    ASSERT_EQ(crownRows.size(), rows.size());
    auto r = rows.begin();
    for (auto c = crownRows.begin(); c != crownRows.end(); ++c, ++r) {
        ASSERT_EQ(c->second.size(), r->second.size());
        EXPECT_GT(*c->second.begin(), *r->second.begin());
        EXPECT_LT(*c->second.begin(), *std::next(r->second.begin()));
    }

    // Grass, in staggered rows: neighbouring rows use alternate cells.
    kit::FakeObject grass(169);
    grass.set(kit::listAttr(55, {1}))
        .setGeometry(kit::area({{-100, -80}, {-100, 80}, {100, 80}, {100, -80}}));
    const auto staggered = rowsOf(glyphs35(kit::run(Int1Proc169, grass))[0x65]);
    ASSERT_GE(staggered.size(), 3u);
    auto a = staggered.begin(), b = std::next(a);
    EXPECT_NE(*a->second.begin(), *b->second.begin());
    EXPECT_EQ(a->second, std::next(b)->second) << "every second row alike";
}

// ---------------------------------------------------------------- letters

TEST_F(AreaPatterns, LetterPatternsForAreasAndLettersAtPoints) {
    const std::vector<Case> cases{
        {"171 absent", Int1Proc171, {}, kArea, {pattern(0, {'N'})}},
        {"171 nature reserve", Int1Proc171, {kit::byteAttr(56, 1)}, kArea, {pattern(0, {'N'})}},
        {"171 national park", Int1Proc171, {kit::byteAttr(56, 2)}, kArea, {pattern(0, {'P'})}},
        {"171 other", Int1Proc171, {kit::byteAttr(56, 4)}, kArea, {pattern(0, {'O'})}},
        {"171 unknown", Int1Proc171, {kit::byteAttr(56, 3)}, kArea, {pattern(0, {'N'})}},
        {"171 line", Int1Proc171, {kit::byteAttr(56, 2)}, kLine, {"line c0 w1 9999"}},
        {"171 point", Int1Proc171, {kit::byteAttr(56, 2)}, kPoint, {}},
        {"153 area", Int1Proc153, {}, kArea, {pattern(1, {'I'})}},
        {"153 point", Int1Proc153, {}, kPoint, {}},
        {"172 area", Int1Proc172, {}, kArea, {pattern(0, {'Q'})}},
        {"172 line", Int1Proc172, {}, kLine, {}},
    };
    expectCases(cases);

    struct Glyph {
        const char* name;
        CondSymbProc procedure;
        std::vector<kit::Attr> attributes;
        kit::Geometry geometry;
        int letter; // 0: none
        Point at;
    };
    const std::vector<Glyph> glyphs{
        {"171 point", Int1Proc171, {}, kPoint, 'N', {10, 20}},
        {"171 point, park", Int1Proc171, {kit::byteAttr(56, 2)}, kPoint, 'P', {10, 20}},
        {"171 line", Int1Proc171, {}, kLine, 0, {}},
        {"172 point", Int1Proc172, {}, kPoint, 'Q', {10, 20}},
        {"172 line", Int1Proc172, {}, kLine, 0, {}},
        {"153 point", Int1Proc153, {}, kPoint, 'I', {10, 20}},
        {"153 line: at its first point", Int1Proc153, {}, kLine, 'I', {-100, -20}},
    };
    for (const Glyph& g : glyphs) {
        SCOPED_TRACE(g.name);
        kit::FakeObject o(171);
        for (const kit::Attr& a : g.attributes)
            o.set(a);
        o.setGeometry(g.geometry);
        const kit::Drawing d = kit::run(g.procedure, o);
        if (g.letter) {
            ASSERT_EQ(d.texts(35).size(), 1u) << d.log();
            EXPECT_TRUE(d.hasGlyph(35, g.letter, 0, g.at)) << d.log();
        } else {
            EXPECT_TRUE(d.texts(35).empty()) << d.log();
        }
    }

    // The pattern reaches the picture: many letters, all the same, in colour 0.
    kit::FakeObject park(171);
    park.set(kit::byteAttr(56, 4)).setGeometry(kArea);
    const auto letters = glyphs35(kit::run(Int1Proc171, park));
    ASSERT_EQ(letters.size(), 1u);
    EXPECT_GT(letters.at('O').size(), 4u);
}

// ---------------------------------------------------------------- marked areas

TEST_F(AreaPatterns, MagneticAnomalySymbolAndTextAtItsAnchor) {
    struct Row {
        const char* name;
        kit::Geometry geometry;
        Lines boundary;
        bool marked;
        Point at;
    };
    const Lines boundary{"styled [glyph 36/16 n10 c0 f0] end stroke 0000 w1 n1 c0 f1",
                         "line c0 w1 3333"};
    const std::vector<Row> rows{
        {"area", kArea, boundary, true, {0, 0}},
        {"area without a centre",
         kit::areaWithSegments({{-80, -60}, {80, -60}, {80, 60}, {-80, 60}, {-80, -60}}, {4, -1}),
         boundary,
         false,
         {}},
        {"point", kPoint, {}, true, {10, 20}},
        {"line: its first point", kLine, {}, true, {-100, -20}},
        {"no geometry", kit::noGeometry(), {}, false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const styles::Outcome o = styles::run({r.name, Int1Proc205, {}, r.geometry, r.boundary});
        EXPECT_EQ(o.calls, r.boundary);
        const kit::Drawing& d = o.drawing;
        if (!r.marked) {
            EXPECT_TRUE(d.texts(35).empty() && d.texts(0).empty()) << d.log();
            continue;
        }
        EXPECT_TRUE(d.hasGlyph(35, 94, 0, r.at)) << d.log();
        EXPECT_TRUE(d.hasText(0, "Magnetic Anomaly", 0, {r.at.x + 12, r.at.y - 6})) << d.log();
    }

    // Without symbol element 10 neither its glyph nor its anchor: the text
    // stands at the point.
    SymbolElementTop = 9;
    kit::FakeObject anomaly(205);
    anomaly.setGeometry(kPoint);
    const kit::Drawing d = kit::run(Int1Proc205, anomaly);
    EXPECT_TRUE(d.texts(35).empty()) << d.log();
    EXPECT_TRUE(d.hasText(0, "Magnetic Anomaly", 0, {10, 20})) << d.log();
}

TEST_F(AreaPatterns, InformationAreaNoteOnOneLineOrInABox) {
    const std::string thirty = "Anchoring is prohibited by law";     // 30 characters
    const std::string thirtyOne = "Anchoring is prohibited by laws"; // 31
    ASSERT_EQ(thirty.size(), 30u);
    ASSERT_EQ(thirtyOne.size(), 31u);
    const std::string dashed = "line c14 w1 1F1F";

    struct Row {
        const char* name;
        std::vector<kit::Attr> attributes;
        kit::Geometry geometry;
        std::size_t lines; // lines of text
    };
    const std::vector<Row> rows{
        {"30 characters", {kit::textAttr(78, thirty)}, kArea, 1},
        {"31 characters", {kit::textAttr(78, thirtyOne)}, kArea, 2},
        {"no note", {}, kArea, 0},
        {"line", {kit::textAttr(78, thirty)}, kLine, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const styles::Outcome o = styles::run({r.name, Int1Proc212, r.attributes, r.geometry, {}});
        EXPECT_EQ(o.calls, Lines{dashed});
        const std::vector<kit::Call> texts = o.drawing.texts(0);
        ASSERT_EQ(texts.size(), r.lines) << o.drawing.log();
        if (r.lines == 1) {
            EXPECT_TRUE(o.drawing.hasText(0, thirty, 14, {0, 0})) << o.drawing.log();
        }
        if (r.lines > 1) {
            // Wrapped at the blanks into lines of about 20 characters, the
            // words kept in order.
            std::string joined;
            for (const kit::Call& c : texts) {
                EXPECT_EQ(c.colour, kit::paletteIndex(14));
                EXPECT_LE(textOf(c).size(), 22u) << textOf(c);
                joined += (joined.empty() ? "" : " ") + textOf(c);
            }
            EXPECT_EQ(joined, thirtyOne);
        }
    }
    EXPECT_TRUE(styles::run({"point", Int1Proc212, {kit::textAttr(78, thirty)}, kPoint, {}})
                    .drawing.calls()
                    .empty());
}

// ---------------------------------------------------------------- pixels

TEST_F(AreaPatterns, PixelsOfTheVegetationPatternInAConcaveArea) {
    // An L: the notch at the top right is outside. Grass and deciduous wood
    // side by side, in staggered rows.
    const std::vector<Point> ell{{-110, -110}, {-110, 110}, {-10, 110},
                                 {-10, -10},   {110, -10},  {110, -110}};
    kit::FakeObject vegetation(169);
    vegetation.set(kit::listAttr(55, {1, 4})).setGeometry(kit::area(ell));

    // The glyphs' anchors: inside, in rows that alternate their cells.
    const auto placed = glyphs35(kit::run(Int1Proc169, vegetation));
    ASSERT_EQ(placed.size(), 2u);
    const auto rows = rowsOf(placed.at(0x65));
    ASSERT_GE(rows.size(), 4u);
    auto a = rows.begin(), b = std::next(a);
    EXPECT_NE(*a->second.begin(), *b->second.begin()) << "staggered";
    for (const auto& [code, points] : placed)
        for (const Point& p : points) {
            EXPECT_TRUE(p.x > -110 && p.x < 110 && p.y > -110 && p.y < 110) << p.x << "," << p.y;
            EXPECT_FALSE(p.x > -10 && p.y > -10) << "in the notch: " << p.x << "," << p.y;
        }

    // The ink: in both arms, none in the notch or outside beyond a glyph's
    // half size from the boundary.
    int reach = 0;
    kit::record([&](TMapContext&) {
        GD_SelFont(35);
        for (const char* glyph : {"\x60", "\x65"}) {
            SIZE s{0, 0};
            ASSERT_TRUE(GD_TextExtent(glyph, &s));
            reach = std::max({reach, int(s.cx), int(s.cy)});
        }
    });
    ASSERT_GT(reach, 0);
    const QRgb background = 0xFFF0F0F0u;
    const QImage picture = kit::runRaster(Int1Proc169, vegetation, {}, background);
    auto ink = [&](int left, int bottom, int right, int top) {
        int n = 0;
        for (int y = bottom; y <= top; ++y)
            for (int x = left; x <= right; ++x)
                n += kit::pixelAt(picture, {x, y}) != background;
        return n;
    };
    EXPECT_GT(ink(-105, -105, -15, 105), 50) << "the upright arm";
    EXPECT_GT(ink(-5, -105, 105, -15), 50) << "the lower arm";
    EXPECT_EQ(ink(-10 + reach, -10 + reach, 127, 127), 0) << "the notch";
    EXPECT_EQ(ink(-128, 110 + reach, 127, 127), 0) << "above";
    EXPECT_EQ(ink(110 + reach, -128, 127, 127), 0) << "right";
    EXPECT_EQ(ink(-128, -128, 127, -110 - reach), 0) << "below";
    EXPECT_EQ(ink(-128, -128, -110 - reach, 127), 0) << "left";
    picture.save(QString::fromStdString(kit::picturesFolder() + "/vegetation-pattern.png"));
}

// ---------------------------------------------------------------- gallery

TEST_F(AreaPatterns, Gallery) {
    kit::Gallery gallery("line-styles-and-fills", 160, 6);
    const kit::Geometry line = kit::line({{-70, -40}, {-20, 30}, {30, -30}, {70, 40}});
    const kit::Geometry area =
        kit::area({{-65, -55}, {-65, 55}, {10, 55}, {10, 10}, {65, 10}, {65, -55}});
    const kit::Geometry point = kit::point(-20, 0);
    // Narrow areas and a point on the left for the cases that write text.
    const kit::Geometry leftArea = kit::area({{-75, -40}, {-75, 40}, {-15, 40}, {-15, -40}});
    const kit::Geometry noteArea = kit::area({{-78, -50}, {-78, 50}, {-42, 50}, {-42, -50}});
    const kit::Geometry leftPoint = kit::point(-60, 0);
    struct Entry {
        std::string label;
        CondSymbProc procedure;
        std::vector<kit::Attr> attributes;
        kit::Geometry geometry;
        kit::Settings settings{};
    };
    std::vector<Entry> entries{
        {"101", Int1Proc101, {}, line},
        {"102 floating", Int1Proc102, {kit::byteAttr(32, 2)}, line},
        {"106", Int1Proc106, {}, line},
        {"107 not in use", Int1Proc107, {kit::listAttr(109, {4})}, line},
        {"108", Int1Proc108, {}, area},
        {"109", Int1Proc109, {}, area},
        {"114", Int1Proc114, {}, line},
        {"115", Int1Proc115, {}, area},
        {"121", Int1Proc121, {}, line},
        {"122", Int1Proc122, {}, line},
        {"123", Int1Proc123, {}, area},
        {"124", Int1Proc124, {}, line},
        {"128 2,3 CABLE",
         Int1Proc128,
         {kit::listAttr(43, {2, 3}), kit::textAttr(78, "CABLE AREA")},
         area},
        {"130", Int1Proc130, {}, line},
        {"131", Int1Proc131, {}, area},
        {"132 1", Int1Proc132, {kit::byteAttr(44, 1)}, line},
        {"132 2", Int1Proc132, {kit::byteAttr(44, 2)}, line},
        {"132 51", Int1Proc132, {kit::byteAttr(44, 51)}, line},
        {"132 52", Int1Proc132, {kit::byteAttr(44, 52)}, line},
        {"139", Int1Proc139, {}, area},
        {"139 water", Int1Proc139, {kit::byteAttr(124, 4)}, area},
        {"143", Int1Proc143, {}, line},
        {"144", Int1Proc144, {}, line},
        {"145", Int1Proc145, {}, area},
        {"151", Int1Proc151, {}, line},
        {"153", Int1Proc153, {}, area},
        {"154", Int1Proc154, {}, line},
        {"155", Int1Proc155, {}, line},
        {"159", Int1Proc159, {}, line},
        {"160", Int1Proc160, {}, line},
        {"163", Int1Proc163, {}, area},
        {"164 reduced", Int1Proc164, {}, area, reducedDetails()},
        {"169 none", Int1Proc169, {}, area},
        {"169 grass", Int1Proc169, {kit::listAttr(55, {1})}, area},
        {"169 4 5 6", Int1Proc169, {kit::listAttr(55, {4, 5, 6})}, area},
        {"169 mangroves", Int1Proc169, {kit::listAttr(55, {7})}, area},
        {"169 reeds", Int1Proc169, {kit::listAttr(55, {11})}, area},
        {"170", Int1Proc170, {}, line},
        {"171 N", Int1Proc171, {}, area},
        {"171 P", Int1Proc171, {kit::byteAttr(56, 2)}, area},
        {"171 O point", Int1Proc171, {kit::byteAttr(56, 4)}, point},
        {"172", Int1Proc172, {}, area},
        {"173", Int1Proc173, {}, line},
        {"177", Int1Proc177, {}, line},
        {"177 unsurveyed", Int1Proc177, {kit::byteAttr(91, 4)}, line},
        {"197 2", Int1Proc197, {kit::byteAttr(138, 2)}, line},
        {"197 3", Int1Proc197, {kit::byteAttr(138, 3)}, line},
        {"197 4", Int1Proc197, {kit::byteAttr(138, 4)}, line},
        {"197 5", Int1Proc197, {kit::byteAttr(138, 5)}, line},
        {"202", Int1Proc202, {}, line},
        {"205", Int1Proc205, {}, leftArea},
        {"205 point", Int1Proc205, {}, leftPoint},
        {"212 short", Int1Proc212, {kit::textAttr(78, "Mussel farm")}, noteArea},
        {"212 long",
         Int1Proc212,
         {kit::textAttr(78, "Fish farm, keep clear of the nets")},
         noteArea},
        {"217", Int1Proc217, {}, area},
        {"218", Int1Proc218, {}, area},
        {"221", Int1Proc221, {}, area},
    };
    std::vector<std::unique_ptr<kit::FakeObject>> objects;
    for (const Entry& e : entries) {
        objects.push_back(std::make_unique<kit::FakeObject>(100));
        for (const kit::Attr& a : e.attributes)
            objects.back()->set(a);
        objects.back()->setGeometry(e.geometry);
        gallery.add(e.label, e.procedure, *objects.back(), e.settings);
    }
    const std::string path = gallery.write();
    EXPECT_FALSE(path.empty());
}

} // namespace
