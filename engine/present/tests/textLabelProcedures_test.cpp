// Text on the chart: the abbreviated seabed label (138), the free text with
// colour and justification (196) and the styled place name with its marker
// (198), with the in-place case rewrites later readers see.
#include "procedureKit.h"

#include "styleCases.h"

#include "gdb/TGdbQuery.h"
#include "geo/GeoPoint.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/AttributeReads.h"
#include "procedures/Int1Procs.h"
#include "proj/Map.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

bool same(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

// Width and height of a text in a font, as the procedures measure it.
struct Extent {
    int w = 0, h = 0;
};
Extent measure(int font, const std::string& text) {
    Extent e;
    kit::record([&](TMapContext&) {
        GD_SelFont(font);
        e.w = GD_TextWidth(text.c_str());
        e.h = GD_TextHeight(text.c_str());
    });
    return e;
}

// The one text of a drawing (the codes as a string); "" when there is none.
std::string onlyText(const kit::Drawing& d, kit::Call* call = nullptr) {
    const std::vector<kit::Call> texts = d.of("Text");
    if (texts.size() != 1) return texts.empty() ? "" : "<" + std::to_string(texts.size()) + ">";
    if (call) *call = texts[0];
    std::string s;
    for (int c : texts[0].codes)
        s += char(c);
    return s;
}

class TextLabels : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        ASSERT_TRUE(kit::haveGuiApplication());
    }
};

// ---------------------------------------------------------------- 138

TEST_F(TextLabels, SeabedLabelsComposedFromTheLists) {
    struct Row {
        const char* name;
        std::vector<kit::Attr> attrs;
        std::string label; // "" draws nothing
    };
    const std::vector<Row> rows{
        {"qualifier and two materials",
         {kit::listAttr(90, {1}), kit::listAttr(82, {4, 9})},
         "fS.R"},
        {"one material with its colour",
         {kit::listAttr(90, {1}), kit::listAttr(82, {4}), kit::listAttr(59, {3, 1})},
         "fS rd"},
        {"two materials take no colour",
         {kit::listAttr(82, {4, 9}), kit::listAttr(59, {3})},
         "S.R"},
        {"a material without text keeps its separator", {kit::listAttr(82, {4, 10, 9})}, "S..R"},
        {"unknown first material", {kit::listAttr(82, {10, 81})}, ".Grs"},
        {"only the first qualifier", {kit::listAttr(90, {4, 1}), kit::listAttr(82, {1})}, "bkM"},
        {"qualifier alone", {kit::listAttr(90, {10})}, "h"},
        {"colour without materials", {kit::listAttr(90, {2}), kit::listAttr(59, {3})}, "m"},
        {"unknown colour", {kit::listAttr(82, {6}), kit::listAttr(59, {9})}, "G"},
        {"the last colour value", {kit::listAttr(82, {6}), kit::listAttr(59, {53})}, "G d"},
        {"empty lists", {kit::listAttr(90, {}), kit::listAttr(82, {})}, ""},
        {"unknown qualifier alone", {kit::listAttr(90, {11})}, ""},
        {"nothing", {}, ""},
    };
    const Point at{30, -10};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::FakeObject seabed(138);
        for (const kit::Attr& a : r.attrs)
            seabed.set(a);
        seabed.setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = kit::run(Int1Proc138, seabed);
        EXPECT_EQ(onlyText(d), r.label) << d.log();
        if (r.label.empty()) continue;
        const Extent e = measure(-2, r.label);
        EXPECT_TRUE(d.hasText(-2, r.label, 0, {at.x - e.w / 2, at.y - e.h / 2})) << d.log();
    }
}

TEST_F(TextLabels, SeabedLayeredSeparatorAndTheInformationInLowerCase) {
    struct Row {
        const char* information;
        bool materials;
        std::string label, stored;
    };
    const Row rows[] = {
        {"Sand over rock, LAYERED", true, "S//R", "sand over rock, layered"},
        {"Sand over ROCK", true, "S.R", "sand over rock"},
        {"lay\xC5RED", true, "S.R", "lay\xE5red"},
        // Without materials attribute 78 is not read.
        {"LAYERED", false, "f", "LAYERED"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.information);
        kit::FakeObject seabed(138);
        seabed.set(kit::textAttr(78, r.information));
        if (r.materials)
            seabed.set(kit::listAttr(82, {4, 9}));
        else
            seabed.set(kit::listAttr(90, {1}));
        const kit::Drawing d = kit::run(Int1Proc138, seabed);
        EXPECT_EQ(onlyText(d), r.label);
        EXPECT_EQ(seabed.storedText(78), r.stored);
    }
}

TEST_F(TextLabels, SeabedLongListsStopAtTheLabelLimit) {
    // 200 materials. With "." and one-letter texts the label grows by two:
    // at 252 characters one more goes in (254), then no more.
    std::vector<std::uint8_t> sand(200, 4);
    kit::FakeObject dotted(138);
    dotted.set(kit::listAttr(90, {1})).set(kit::listAttr(82, sand));
    std::string expected = "fS";
    while (expected.size() < 253)
        expected += ".S";
    ASSERT_EQ(expected.size(), 254u);
    EXPECT_EQ(onlyText(kit::run(Int1Proc138, dotted)), expected);

    // With "//" and three letters from 252 characters the next piece would
    // reach 257: the label ends at 255 characters.
    std::vector<std::uint8_t> grass(200, 81);
    grass[0] = 4;
    kit::FakeObject layered(138);
    layered.set(kit::listAttr(90, {1}))
        .set(kit::listAttr(82, grass))
        .set(kit::textAttr(78, "layered"));
    expected = "fS";
    while (expected.size() < 252)
        expected += "//Grs";
    ASSERT_EQ(expected.size(), 252u);
    expected += "//G";
    EXPECT_EQ(onlyText(kit::run(Int1Proc138, layered)), expected);
}

TEST_F(TextLabels, SeabedGeometries) {
    // An area: its dotted outline, then the label at the centre of gravity.
    kit::FakeObject area(138);
    area.set(kit::listAttr(82, {4}))
        .setGeometry(kit::area({{-40, -20}, {-40, 40}, {40, 40}, {40, -20}}));
    kit::Trace trace;
    kit::Drawing d = kit::run(Int1Proc138, area);
    ASSERT_EQ(trace.calls().size(), 1u);
    EXPECT_EQ(trace.calls()[0].kind, RendererCallKind::SimpleLine);
    EXPECT_EQ(trace.calls()[0].colour, 0);
    EXPECT_EQ(trace.calls()[0].width, 2);
    EXPECT_EQ(trace.calls()[0].style, 0x9999);
    const Extent e = measure(-2, "S");
    EXPECT_TRUE(d.hasText(-2, "S", 0, {-e.w / 2, 10 - e.h / 2})) << d.log();

    // Without a centre of gravity: the outline only.
    kit::FakeObject noCentre(138);
    noCentre.set(kit::listAttr(82, {4}))
        .setGeometry(kit::areaWithSegments({{-40, -20}, {40, -20}, {40, 20}, {-40, 20}, {-40, -20}},
                                           {4, -1}));
    trace.clear();
    d = kit::run(Int1Proc138, noCentre);
    EXPECT_EQ(trace.calls().size(), 1u);
    EXPECT_TRUE(d.of("Text").empty());

    // A line: at its first point, no outline.
    kit::FakeObject line(138);
    line.set(kit::listAttr(82, {4})).setGeometry(kit::line({{5, 7}, {60, 7}}));
    trace.clear();
    d = kit::run(Int1Proc138, line);
    EXPECT_TRUE(trace.calls().empty());
    EXPECT_TRUE(d.hasText(-2, "S", 0, {5 - e.w / 2, 7 - e.h / 2})) << d.log();
}

// ---------------------------------------------------------------- 196

kit::Drawing freeText(const std::vector<kit::Attr>& attrs, kit::Geometry g = kit::point(20, 10),
                      kit::Settings settings = {}) {
    kit::FakeObject o(196);
    for (const kit::Attr& a : attrs)
        o.set(a);
    o.setGeometry(g);
    return kit::run(Int1Proc196, o, settings);
}

TEST_F(TextLabels, FreeTextJustification) {
    const std::string text = "Kvarven";
    const Extent e = measure(0, text);
    ASSERT_GT(e.w, 0);
    // In y up with the text placed by its cell's bottom-left corner: v = 1
    // puts it under the point, its top 2 below; v = 2 lifts it.
    struct Row {
        int h, v; // -1: absent
        int dx, dy;
    };
    const Row rows[] = {
        {-1, -1, 0, 0},
        {0, 0, 0, 0},
        {1, 0, -e.w / 2 - 3, 0},
        {2, 0, 0, 0},
        {3, 0, -3 - e.w, 0},
        {0, 1, 0, -2 - e.h},
        {0, 2, 0, e.h / 2 - 2},
        {0, 3, 0, 0},
        {1, 1, -e.w / 2 - 3, -2 - e.h},
        {3, 2, -3 - e.w, e.h / 2 - 2},
        {9, 9, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.h) + "," + std::to_string(r.v));
        std::vector<kit::Attr> attrs{kit::textAttr(133, text)};
        if (r.h >= 0) attrs.push_back(kit::byteAttr(134, std::uint8_t(r.h)));
        if (r.v >= 0) attrs.push_back(kit::byteAttr(135, std::uint8_t(r.v)));
        const kit::Drawing d = freeText(attrs);
        EXPECT_TRUE(d.hasText(0, text, 0, {20 + r.dx, 10 + r.dy})) << d.log();
        EXPECT_EQ(d.calls().size(), 1u);
    }
}

TEST_F(TextLabels, FreeTextColourAndWhereItIsDrawn) {
    struct Row {
        int selector; // -1: absent
        int colour;
    };
    for (const Row r : {Row{-1, 0}, Row{0, 0}, Row{1, 1}, Row{3, 2}, Row{6, 11}, Row{9, 10},
                        Row{10, 14}, Row{15, 0}, Row{16, 0}, Row{20, 0}, Row{255, 0}}) {
        SCOPED_TRACE(r.selector);
        std::vector<kit::Attr> attrs{kit::textAttr(133, "Fl")};
        if (r.selector >= 0) attrs.push_back(kit::byteAttr(142, std::uint8_t(r.selector)));
        EXPECT_TRUE(freeText(attrs).hasText(0, "Fl", r.colour, {20, 10}));
    }
    const std::vector<kit::Attr> text{kit::textAttr(133, "Fl")};
    kit::Settings settings;
    settings.scaleExponent = -1;
    EXPECT_EQ(freeText(text, kit::point(20, 10), settings).calls().size(), 1u);
    settings.scaleExponent = -2;
    EXPECT_TRUE(freeText(text, kit::point(20, 10), settings).calls().empty());
    EXPECT_TRUE(freeText(text, kit::line({{0, 0}, {40, 0}})).calls().empty());
    EXPECT_TRUE(freeText(text, kit::area({{0, 0}, {0, 40}, {40, 40}, {40, 0}})).calls().empty());
    EXPECT_TRUE(freeText({kit::byteAttr(142, 3)}).calls().empty()) << "no text";
}

// ---------------------------------------------------------------- 198

kit::Drawing name198(kit::FakeObject& o, kit::Settings settings = {}) {
    return kit::run(Int1Proc198, o, settings);
}

TEST_F(TextLabels, PlaceNameFontAndColourByStyle) {
    struct Row {
        int flags, marker; // marker: attribute 181, -1 absent
        int font, colour, reducedFont;
    };
    const Row rows[] = {
        {0, -1, 8, 0, 0},  {16, -1, 16, 0, 2}, {1, -1, 9, 0, 0},   {17, -1, 9, 0, 2},
        {2, -1, 8, 0, 0},  {18, -1, 16, 0, 2}, {3, 0, 8, 0, 0},    {19, 0, 16, 0, 2},
        {4, -1, 0, 2, 0},  {4, 0, 0, 2, 0},    {20, 0, 1, 2, 2},   {4, 4, 12, 0, 0},
        {20, 1, 12, 0, 2}, {5, -1, 13, 0, 0},  {21, -1, 13, 0, 2}, {6, -1, 14, 0, 0},
        {22, 0, 14, 0, 2}, {7, -1, 15, 0, 0},  {23, 3, 15, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("flags " + std::to_string(r.flags) + " kind " + std::to_string(r.marker));
        for (bool reduced : {false, true}) {
            kit::FakeObject place(198);
            place.set(kit::packedAttr(139, std::uint8_t(r.flags), 0, 0, "Lygra"));
            if (r.marker >= 0) place.set(kit::byteAttr(181, std::uint8_t(r.marker)));
            place.setGeometry(kit::point(-30, 12));
            kit::Settings settings;
            if (reduced) settings.details = 0x8000;
            const kit::Drawing d = name198(place, settings);
            kit::Call text;
            ASSERT_EQ(onlyText(d, &text), "Lygra") << reduced << "\n" << d.log();
            EXPECT_EQ(text.row, kit::fontRow(reduced ? r.reducedFont : r.font)) << reduced;
            EXPECT_EQ(text.colour, kit::paletteIndex(reduced ? 0 : r.colour)) << reduced;
            EXPECT_TRUE(same(text.points.at(0), {-30, 12}));
        }
    }
}

TEST_F(TextLabels, PlaceNameTitleCaseWhereItIsStored) {
    struct Row {
        int flags;
        bool reduced;
        const char *stored, *written;
    };
    const Row rows[] = {
        {0, false, "NORD-VIK O'BRIEN", "Nord-Vik O'Brien"},
        {2, false, "HELLIS\xD8Y", "Hellis\xF8y"},
        {3, false, "st.olav", "St.Olav"},
        {0x80 | 3, false, "NORGE", "Norge"},
        // Not with the alternative font, other styles or reduced drawing.
        {16, false, "NORGE", "NORGE"},
        {1, false, "NORGE", "NORGE"},
        {4, false, "NORGE", "NORGE"},
        {0, true, "NORGE", "NORGE"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        kit::FakeObject place(198);
        place.set(kit::packedAttr(139, std::uint8_t(r.flags), 5, -5, r.stored));
        place.setGeometry(kit::point(0, 0));
        kit::Settings settings;
        if (r.reduced) settings.details = 0x8000;
        const kit::Drawing d = name198(place, settings);
        std::string drawn;
        for (const kit::Call& c : d.of("Text"))
            if (c.row != kit::fontRow(35))
                for (int ch : c.codes)
                    drawn += char(ch);
        EXPECT_EQ(drawn, r.written);
        // The stored name itself, its flags and offsets as they were.
        EXPECT_EQ(place.storedText(139), r.written);
        const std::vector<std::uint8_t> v = place.storedValue(139);
        ASSERT_GE(v.size(), 3u);
        EXPECT_EQ(v[0], r.flags);
        EXPECT_EQ(std::int8_t(v[1]), 5);
        EXPECT_EQ(std::int8_t(v[2]), -5);
        EXPECT_EQ(v.size(), 3 + std::string(r.stored).size() + 1);
    }
}

// A window transform that doubles plane coordinates.
class DoublingWin : public Map::Win {
  public:
    DoublingWin() : Map::Win(nullptr) {}
    int Map2Win(const Point* in, Point* out, int n) override {
        for (int i = 0; i < n; ++i)
            out[i] = Point{in[i].x * 2, in[i].y * 2};
        return 1;
    }
};

TEST_F(TextLabels, PlaceNameOffsetsScaleWithTheMap) {
    // The kit's maps have 3780 plane units per chart metre: an offset byte of
    // 100 is 37.8 units, truncated toward zero.
    struct Row {
        int x, y;
        Point offset;
    };
    const Row rows[] = {
        {0, 0, {0, 0}},         {100, 0, {37, 0}}, {0, 100, {0, 37}}, {-100, -50, {-37, -18}},
        {127, -128, {48, -48}}, {2, -2, {0, 0}},   {-3, 3, {-1, 1}},
    };
    const Point at{-20, 15};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.x) + "," + std::to_string(r.y));
        kit::FakeObject place(198);
        place.set(kit::packedAttr(139, 0x80 | 1, std::int8_t(r.x), std::int8_t(r.y), "Ask"))
            .set(kit::byteAttr(181, 0))
            .setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = name198(place);
        EXPECT_TRUE(d.hasText(9, "Ask", 0, {at.x + r.offset.x, at.y + r.offset.y})) << d.log();
        EXPECT_TRUE(d.hasGlyph(35, 104, 0, at)) << "the marker stays at the point";
    }

    // The offset goes through the map's window transform.
    kit::FakeObject place(198);
    place.set(kit::packedAttr(139, 1, 100, -50, "Ask"));
    const kit::Drawing d = kit::record([&](TMapContext& context) {
        DoublingWin win;
        Map::Win* old = context.map->win;
        context.map->win = &win;
        MapObject m(egtEmpty, -1);
        kit::point(at.x, at.y).fill(m);
        Int1Proc198(&context, &place, &m);
        context.map->win = old;
    });
    EXPECT_TRUE(d.hasText(9, "Ask", 0, {at.x + 74, at.y - 36})) << d.log();
}

TEST_F(TextLabels, PlaceNameMarkers) {
    struct Row {
        int kind;          // -1: attribute 181 absent
        int fill, outline; // fill 0: none
    };
    const Row rows[] = {
        {-1, 0, 104},  {0, 0, 104},   {1, 127, 126}, {2, 129, 128}, {3, 129, 128},
        {4, 131, 130}, {5, 131, 130}, {6, 0, 104},   {9, 0, 104},
    };
    const Point at{12, -8};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        kit::FakeObject place(198);
        place.set(kit::packedAttr(139, 0x80 | 1, 40, 40, "Ask"));
        if (r.kind >= 0) place.set(kit::byteAttr(181, std::uint8_t(r.kind)));
        place.setGeometry(kit::point(at.x, at.y));
        const kit::Drawing d = name198(place);
        const std::vector<kit::Call> glyphs = d.texts(35);
        ASSERT_EQ(glyphs.size(), r.fill ? 2u : 1u) << d.log();
        if (r.fill) {
            EXPECT_TRUE(d.hasGlyph(35, r.fill, 11, at));
        }
        EXPECT_TRUE(d.hasGlyph(35, r.outline, 0, at));
        EXPECT_EQ(glyphs.back().codes, std::vector<int>{r.outline}) << "the outline on top";
        // After the name.
        EXPECT_EQ(d.calls().front().row, kit::fontRow(9));
    }
    // Without the marker bit, no marker whatever the kind.
    kit::FakeObject plain(198);
    plain.set(kit::packedAttr(139, 1, 0, 0, "Ask")).set(kit::byteAttr(181, 4));
    plain.setGeometry(kit::point(at.x, at.y));
    const kit::Drawing d = name198(plain);
    EXPECT_TRUE(d.texts(35).empty());
    EXPECT_EQ(d.calls().size(), 1u);
}

TEST_F(TextLabels, PlaceNameDrawsNothing) {
    struct Row {
        const char* name;
        kit::Attr name139;
        kit::Geometry geometry;
        int exponent;
    };
    const std::vector<Row> rows{
        {"hidden", kit::packedAttr(139, 8, 0, 0, "Ask"), kit::point(0, 0), 0},
        {"hidden with marker", kit::packedAttr(139, 0x80 | 8 | 3, 0, 0, "Ask"), kit::point(0, 0),
         0},
        {"too small a scale", kit::packedAttr(139, 0x80, 0, 0, "Ask"), kit::point(0, 0), -2},
        {"a line", kit::packedAttr(139, 0x80, 0, 0, "Ask"), kit::line({{0, 0}, {9, 9}}), 0},
        {"three bytes only", kit::rawAttr(139, aCMPLX, {0x80, 0, 0}), kit::point(0, 0), 0},
        {"two bytes", kit::rawAttr(139, aCMPLX, {0x80, 0}), kit::point(0, 0), 0},
        {"no terminating zero", kit::rawAttr(139, aCMPLX, {0x80, 0, 0, 'A', 's'}), kit::point(0, 0),
         0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kit::FakeObject place(198);
        place.set(r.name139).set(kit::byteAttr(181, 1)).setGeometry(r.geometry);
        kit::Settings settings;
        settings.scaleExponent = r.exponent;
        EXPECT_TRUE(name198(place, settings).calls().empty());
    }
    // At scale exponent -1 it is drawn; an empty name draws only its marker.
    kit::FakeObject place(198);
    place.set(kit::packedAttr(139, 0x80, 0, 0, "")).setGeometry(kit::point(0, 0));
    kit::Settings settings;
    settings.scaleExponent = -1;
    const kit::Drawing d = name198(place, settings);
    EXPECT_TRUE(d.hasGlyph(35, 104, 0, {0, 0})) << d.log();
    EXPECT_TRUE(d.texts(8).empty());
}

// ---------------------------------------------------------------- the sample chart

// What the labels and coded lines of one class draw at one level of the
// sample chart: the texts (codes as a string, by font row), the renderer
// calls, and the stored texts of the objects right after they were drawn.
struct SampleDrawing {
    std::multimap<std::string, int> texts; // text -> font row
    styles::Lines renderers;
    std::vector<std::string> stored;
};

SampleDrawing drawSample(TKV71Db& db, int level, int code) {
    kit::Settings wide; // the whole region of the sample on one view
    wide.width = wide.height = 512;
    wide.lonDeg = 7.0;
    wide.latDeg = 61.0;
    wide.scale = 4000000;
    SampleDrawing out;
    kit::Trace trace;
    const kit::Drawing d = kit::record(
        [&](TMapContext& context) {
            TGdbQuery query(db);
            GeoRect region{deg2nrm(4.0), deg2nrm(59.5), deg2nrm(10.0), deg2nrm(62.5)};
            ASSERT_EQ(query.open(region, level, nullptr), 1);
            while (GdbObject* o = query.next()) {
                if (o->GetLabel() != code) continue;
                context.Draw(o);
                PackedText name;
                char* text = nullptr;
                if (code == 198 && AttrPackedText(o, 139, name)) out.stored.push_back(name.text);
                if (code == 193 && AttrText(o, 129, text)) out.stored.push_back(text);
            }
            query.close();
        },
        wide);
    for (const kit::Call& c : d.of("Text")) {
        std::string s;
        for (int ch : c.codes)
            s += char(ch);
        out.texts.emplace(s, c.row);
    }
    out.renderers = styles::describe(trace);
    return out;
}

TEST_F(TextLabels, TheSampleChart) {
    const std::string dictDir = std::string(DATA_DIR) + "/dict/";
    const std::string chartRoot = std::string(DATA_DIR) + "/sample/kv71";
    TKV71Dictionary dictionary("KV71Dictionary", dictDir.c_str());
    TPresLib presentation(&dictionary, "INT1Pres", dictDir.c_str());
    dictionary.SetPresentation(&presentation); // before any query is made
    {
        TKV71Db db(dictionary, chartRoot.c_str(), 32u << 20, nullptr);
        std::set<std::string> seabed;
        std::set<std::string> norge, vagen;
        int codedLines = 0;
        for (int level = 0; level <= 7; ++level) {
            SCOPED_TRACE(level);
            // Place names: the capitals of "NORGE" in title case where they are
            // stored, "Vågen" (style 4, marker kind 4) in font 12.
            const SampleDrawing names = drawSample(db, level, 198);
            EXPECT_TRUE(names.renderers.empty());
            for (const std::string& n : names.stored) {
                EXPECT_NE(n, "NORGE");
                EXPECT_EQ(names.texts.count(n), 1u) << n << " drawn once, as stored";
            }
            for (const auto& [text, row] : names.texts) {
                if (text == "Norge") norge.insert(std::to_string(row));
                if (text == "V\xE5gen") vagen.insert(std::to_string(row));
                if (text == "Bergen" || text == "Ask\xF8y") {
                    EXPECT_EQ(row, kit::fontRow(8)) << text;
                }
                if (text == "Byfjorden") {
                    EXPECT_EQ(row, kit::fontRow(9));
                }
            }
            // Seabed labels.
            for (const auto& [text, row] : drawSample(db, level, 138).texts) {
                EXPECT_EQ(row, kit::fontRow(-2));
                seabed.insert(text);
            }
            // The coded line.
            const SampleDrawing lines = drawSample(db, level, 193);
            for (const std::string& c : lines.stored)
                EXPECT_EQ(c, "IN12.1");
            for (const std::string& r : lines.renderers) {
                EXPECT_EQ(r, "styled [stroke 0F0F w1 n150 c14 f1; glyph 34/5 n1 c14 f6] end "
                             "stroke 0000 w1 n1 c14 f1");
                ++codedLines;
            }
        }
        EXPECT_EQ(norge, std::set<std::string>{std::to_string(kit::fontRow(8))});
        EXPECT_EQ(vagen, std::set<std::string>{std::to_string(kit::fontRow(12))});
        EXPECT_EQ(seabed, (std::set<std::string>{"fS", "fM.S", "fR"}));
        EXPECT_GT(codedLines, 0);
    }
    dictionary.SetPresentation(nullptr);
}

// ---------------------------------------------------------------- gallery

TEST_F(TextLabels, Gallery) {
    kit::Gallery gallery("text-labels", 160, 6);
    const auto add = [&](const std::string& label, CondSymbProc procedure, int code,
                         const std::vector<kit::Attr>& attrs, const kit::Geometry& g) {
        kit::FakeObject o(code);
        for (const kit::Attr& a : attrs)
            o.set(a);
        o.setGeometry(g);
        gallery.add(label, procedure, o);
        kit::resetDrawingState();
    };
    const kit::Geometry p = kit::point(0, 0);
    add("138 fS.R", Int1Proc138, 138, {kit::listAttr(90, {1}), kit::listAttr(82, {4, 9})}, p);
    add("138 fS rd", Int1Proc138, 138,
        {kit::listAttr(90, {1}), kit::listAttr(82, {4}), kit::listAttr(59, {3})}, p);
    add("138 layered", Int1Proc138, 138, {kit::listAttr(82, {4, 9}), kit::textAttr(78, "LAYERED")},
        p);
    add("138 area", Int1Proc138, 138, {kit::listAttr(82, {1, 4})},
        kit::area({{-60, -40}, {-60, 40}, {60, 40}, {60, -40}}));
    for (const auto& [h, v] :
         std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {3, 0}, {0, 1}, {0, 2}, {1, 2}, {3, 1}})
        add("196 h" + std::to_string(h) + " v" + std::to_string(v), Int1Proc196, 196,
            {kit::textAttr(133, "Free text"), kit::byteAttr(134, std::uint8_t(h)),
             kit::byteAttr(135, std::uint8_t(v)), kit::byteAttr(142, 4)},
            p);
    for (int style = 0; style < 8; ++style)
        add("198 style " + std::to_string(style), Int1Proc198, 198,
            {kit::packedAttr(139, std::uint8_t(0x80 | style), 0, 0, "NORD-VIK"),
             kit::byteAttr(181, style == 4 ? 4 : 1)},
            p);
    add("198 style 4 kind 0", Int1Proc198, 198,
        {kit::packedAttr(139, 0x80 | 4, 0, 0, "Vik"), kit::byteAttr(181, 0)}, p);
    add("198 alt. font", Int1Proc198, 198,
        {kit::packedAttr(139, 0x80 | 16, 0, 0, "N-VIK"), kit::byteAttr(181, 2)}, p);
    add("198 offset 100,-100", Int1Proc198, 198,
        {kit::packedAttr(139, 0x80 | 1, 100, -100, "Fjord"), kit::byteAttr(181, 5)}, p);
    add("198 offset -127,50", Int1Proc198, 198,
        {kit::packedAttr(139, 0x80 | 1, -127, 50, "Fjord"), kit::byteAttr(181, 3)}, p);
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
