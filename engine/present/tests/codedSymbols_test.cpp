// Coded buoy and beacon symbols: the table, its look-up, colouring and
// drawing, and the buoy and beacon procedures that choose a row.
#include "procedureKit.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/CodedSymbols.h"
#include "procedures/Int1Procs.h"
#include "procedures/SymbologyHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool same(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

const CodedSymbol& rowOf(const char* key) {
    for (const CodedSymbolRow& r : CodedSymbols)
        if (std::strcmp(r.key, key) == 0) return r.symbol;
    ADD_FAILURE() << "no row " << key;
    return CodedSymbols[0].symbol;
}

// ---------------------------------------------------------------- the table

TEST(CodedSymbolTable, RowsKeysAndGlyphs) {
    std::set<std::string> keys;
    for (const CodedSymbolRow& r : CodedSymbols) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(std::strlen(r.key), 5u);
        EXPECT_TRUE(r.key[0] == 'A' || r.key[0] == 'B');
        EXPECT_TRUE(keys.insert(r.key).second) << "key twice";
        EXPECT_GE(r.symbol.count, 1);
        EXPECT_LE(r.symbol.count, 4);
        for (int c : r.symbol.colour)
            EXPECT_EQ(c, 0);
        EXPECT_EQ(r.symbol.textX, 6);
        EXPECT_EQ(r.symbol.textY, 2);
    }
    EXPECT_EQ(keys.size(), 69u);

    struct Row {
        const char* key;
        std::vector<int> glyphs;
    };
    const Row rows[] = {
        {"A0000", {8}},
        {"A0113", {11, 12, 13, 9}},
        {"A0213", {20, 21, 22, 18}},
        {"A0401", {8, 0}},
        {"A0412", {4, 5, 0}},
        {"A0522", {132, 133, 125}},
        {"A0912", {90, 91, 68}},
        {"A1102", {64}},
        {"B010N", {173}},
        {"B0313", {72, 73, 74, 70}},
        {"B0501", {67}},
        {"B0701", {95, 103}},
        {"B0722", {101, 102, 103}},
    };
    for (const Row& r : rows) {
        const CodedSymbol& s = rowOf(r.key);
        EXPECT_EQ(std::vector<int>(s.glyph, s.glyph + s.count), r.glyphs) << r.key;
    }
}

// Every glyph of the table is a glyph of the buoy font.
TEST(CodedSymbolTable, EveryGlyphIsInTheBuoyFont) {
    std::ifstream in(SYMBOL_FONT_INVENTORY);
    ASSERT_TRUE(in) << SYMBOL_FONT_INVENTORY;
    std::set<int> codes;
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("INT1BOUY,", 0) == 0) codes.insert(std::atoi(line.c_str() + 9));
    for (const CodedSymbolRow& r : CodedSymbols)
        for (int i = 0; i < r.symbol.count; ++i)
            EXPECT_EQ(codes.count(r.symbol.glyph[i]), 1u)
                << r.key << " glyph " << r.symbol.glyph[i];
}

TEST(CodedSymbolTable, FindComparesFiveCharacters) {
    CodedSymbol s{};
    ASSERT_EQ(FindCodedSymbol("A0213", &s), 1);
    EXPECT_EQ(s.count, 4);
    EXPECT_EQ(s.glyph[0], 20);
    ASSERT_EQ(FindCodedSymbol("B0701 and more", &s), 1) << "only five characters count";
    EXPECT_EQ(s.glyph[1], 103);

    const CodedSymbol before = s;
    for (const char* key : {"A02", "A1001", "a0213", ""}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(FindCodedSymbol(key, &s), 0);
        EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0) << "out unchanged";
    }
    EXPECT_EQ(FindCodedSymbol(nullptr, &s), 0);
    EXPECT_EQ(FindCodedSymbol("A0000", nullptr), 0);
}

TEST(CodedSymbolTable, PatternColoursFillOnlyTheRowsCount) {
    struct Case {
        unsigned row;
        std::vector<int> colours;
    };
    const Case cases[] = {
        {8, {0, 11, 0, 7}}, // "BYB": three of four
        {1, {4, 7, 7, 7}},  // "G": only the first
        {11, {2, 1, 7, 7}}, // "RW"
        {0, {7, 7, 7, 7}},  // no row
        {18, {7, 7, 7, 7}}, // beyond the table
        {300, {7, 7, 7, 7}},
    };
    for (const Case& c : cases) {
        CodedSymbol s{4, {1, 2, 3, 4}, {7, 7, 7, 7}, 6, 2};
        CopyPatternColours(&s, c.row);
        EXPECT_EQ(std::vector<int>(s.colour, s.colour + 4), c.colours) << c.row;
    }
    CopyPatternColours(nullptr, 8);
}

TEST(CodedSymbolTable, KeysOfShapesAboveNinetyNineHaveNoRow) {
    char key[6];
    ASSERT_TRUE(CodedSymbolKey('A', 2, "13", key));
    EXPECT_STREQ(key, "A0213");
    ASSERT_TRUE(CodedSymbolKey('B', 99, "00", key));
    EXPECT_STREQ(key, "B9900");
    // Shape 110 with the stripes layout would read as "A1102", the LANBY.
    EXPECT_FALSE(CodedSymbolKey('A', 110, "22", key));
    EXPECT_STREQ(key, "");
    EXPECT_FALSE(CodedSymbolKey('A', 2, nullptr, key));
}

// ---------------------------------------------------------------- drawing

class CodedSymbolDrawing : public kit::ProcedureTest {};

TEST_F(CodedSymbolDrawing, StackThenTextsBesideAndUnderThePoint) {
    const Point at{10, 20};
    CodedSymbol s = rowOf("A0213");
    CopyPatternColours(&s, 8);
    int w = 0, h = 0;
    const kit::Drawing d = kit::record([&](TMapContext&) {
        MapObject g(egtPoint, -1);
        g.bounds = Rect{at.x, at.y, at.x, at.y};
        DrawCodedSymbol(&g, s, "SPM", "BYB");
        GD_SelFont(-2);
        w = GD_TextWidth("SPM");
        h = GD_TextHeight("SPM");
    });
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    const std::vector<kit::Call> glyphs = d.texts(33);
    ASSERT_EQ(glyphs.size(), 4u) << d.log();
    const int codes[] = {20, 21, 22, 18}, colours[] = {0, 11, 0, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(glyphs[i].codes, std::vector<int>{codes[i]});
        EXPECT_EQ(glyphs[i].colour, kit::paletteIndex(colours[i]));
        EXPECT_TRUE(same(glyphs[i].points.at(0), at));
    }
    EXPECT_TRUE(d.hasText(-2, "BYB", 0, {at.x + 8, at.y - 2})) << d.log();
    // Centred on the point, its top edge 2 pixels below it (y up).
    EXPECT_TRUE(d.hasText(-2, "SPM", 0, {at.x - w / 2, at.y - 2 - h})) << d.log();
    EXPECT_EQ(d.texts(-2).size(), 2u);
}

TEST_F(CodedSymbolDrawing, EmptyTextsAndNoPosition) {
    const kit::Drawing d = kit::record([&](TMapContext&) {
        MapObject g(egtPoint, -1);
        g.bounds = Rect{-5, 7, -5, 7};
        DrawCodedSymbol(&g, rowOf("B0701"), "", "");
        DrawCodedSymbol(&g, rowOf("A0000"), nullptr, nullptr);
        MapObject none(egtEmpty, -1);
        DrawCodedSymbol(&none, rowOf("A0000"), "CALM", "R");
        DrawCodedSymbol(nullptr, rowOf("A0000"), "CALM", "R");
    });
    EXPECT_EQ(d.texts(33).size(), 3u) << d.log();
    EXPECT_TRUE(d.hasGlyph(33, 95, 0, {-5, 7}));
    EXPECT_TRUE(d.hasGlyph(33, 103, 0, {-5, 7}));
    EXPECT_TRUE(d.hasGlyph(33, 8, 0, {-5, 7}));
    EXPECT_TRUE(d.texts(-2).empty()) << "no text, nothing of a mark without a position";
}

// ---------------------------------------------------------------- procedures

// One case: the procedure, the object's code and attributes, and what it
// draws: the row, its glyph colours and the texts above and to the right
// ("" none).
struct Case {
    const char* name;
    CondSymbProc procedure;
    int code;
    std::vector<kit::Attr> attributes;
    const char* key;
    std::vector<int> colours;
    const char* above;
    const char* right;
};

kit::Attr a(unsigned code, std::uint8_t value) {
    return kit::byteAttr(code, value);
}

// Checks one case drawn at (10, 20).
void check(const Case& c) {
    SCOPED_TRACE(c.name);
    kit::FakeObject o(c.code);
    for (const kit::Attr& attr : c.attributes)
        o.set(attr);
    const Point at{10, 20};
    o.setGeometry(kit::point(at.x, at.y));
    const kit::Drawing d = kit::run(c.procedure, o);

    const CodedSymbol& row = rowOf(c.key);
    const std::vector<kit::Call> glyphs = d.texts(33);
    ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(row.count)) << d.log();
    ASSERT_EQ(c.colours.size(), static_cast<std::size_t>(row.count));
    for (int i = 0; i < row.count; ++i) {
        EXPECT_EQ(glyphs[i].codes, std::vector<int>{row.glyph[i]}) << "glyph " << i;
        EXPECT_EQ(glyphs[i].colour, kit::paletteIndex(c.colours[i])) << "glyph " << i;
        EXPECT_TRUE(same(glyphs[i].points.at(0), at));
    }
    std::string above, right;
    for (const kit::Call& t : d.texts(-2)) {
        const std::string text(t.codes.begin(), t.codes.end());
        EXPECT_EQ(t.colour, kit::paletteIndex(0));
        if (same(t.points.at(0), {at.x + 8, at.y - 2}))
            right += text;
        else if (t.points.at(0).y < at.y - 2 && t.points.at(0).x < at.x)
            above += text;
        else
            ADD_FAILURE() << "text " << text << " out of place\n" << d.log();
    }
    EXPECT_EQ(above, c.above);
    EXPECT_EQ(right, c.right);
    EXPECT_EQ(d.texts(-2).size(), (*c.above ? 1u : 0u) + (*c.right ? 1u : 0u)) << d.log();
}

class BuoyProcedures : public kit::ProcedureTest {};

TEST_F(BuoyProcedures, RowsColoursAndTexts) {
    const Case cases[] = {
        // Cardinal buoys: shape 0 and 8 are pillars.
        {"15 north", Int1Proc15, 15, {a(105, 4), a(7, 1)}, "A0412", {11, 0, 0}, "", ""},
        {"15 east", Int1Proc15, 15, {a(105, 4), a(7, 2)}, "A0413", {0, 11, 0, 0}, "", ""},
        {"15 south", Int1Proc15, 15, {a(7, 3)}, "A0412", {0, 11, 0}, "", ""},
        {"15 west", Int1Proc15, 15, {a(105, 8), a(7, 4)}, "A0413", {11, 0, 11, 0}, "", ""},
        {"15 category 6", Int1Proc15, 15, {a(105, 4), a(7, 6)}, "A0000", {0}, "", ""},
        {"15 plain", Int1Proc15, 15, {a(105, 2)}, "A0201", {0, 0}, "", ""},
        {"15 one colour", Int1Proc15, 15, {a(105, 4), a(60, 3)}, "A0401", {2, 0}, "", ""},
        {"15 two, bands", Int1Proc15, 15, {a(60, 11)}, "A0412", {2, 1, 0}, "", ""},
        {"15 two, stripes", Int1Proc15, 15, {a(60, 11), a(61, 2)}, "A0422", {2, 1, 0}, "", ""},
        {"15 two, pattern 5", Int1Proc15, 15, {a(60, 11), a(61, 5)}, "A0412", {2, 1, 0}, "", ""},
        {"15 three, stripes",
         Int1Proc15,
         15,
         {a(60, 15), a(61, 2)},
         "A0413",
         {11, 2, 11, 0},
         "",
         ""},
        {"15 colour 25", Int1Proc15, 15, {a(60, 25)}, "A0000", {0}, "", ""},
        {"15 shape 10", Int1Proc15, 15, {a(105, 10), a(7, 1)}, "A0000", {0}, "", ""},
        {"15 shape 120", Int1Proc15, 15, {a(105, 120), a(7, 1)}, "A0000", {0}, "", ""},
        {"15 shape 110 is not A1102",
         Int1Proc15,
         15,
         {a(105, 110), a(60, 11), a(61, 2)},
         "A0000",
         {0},
         "",
         ""},
        // Installation buoys: the kind above, always.
        {"16 CALM", Int1Proc16, 16, {a(22, 1)}, "A0900", {0}, "CALM", ""},
        {"16 SPM BYB", Int1Proc16, 16, {a(22, 2), a(60, 8)}, "A0913", {0, 11, 0, 0}, "SPM", ""},
        {"16 two colours", Int1Proc16, 16, {a(60, 11)}, "A0912", {2, 1, 0}, "", ""},
        {"16 one colour", Int1Proc16, 16, {a(105, 3), a(60, 5)}, "A0901", {1, 0}, "", ""},
        {"16 colour 25", Int1Proc16, 16, {a(22, 1), a(60, 25)}, "A0900", {0}, "CALM", ""},
        // Isolated danger buoys.
        {"17 can BYB", Int1Proc17, 17, {a(105, 2), a(60, 8)}, "A0213", {0, 11, 0, 0}, "", ""},
        {"17 shape 10", Int1Proc17, 17, {a(105, 10), a(60, 8)}, "A0000", {0}, "", ""},
        {"17 uncoloured", Int1Proc17, 17, {}, "A0413", {0, 2, 0, 0}, "", ""},
        {"17 white", Int1Proc17, 17, {a(105, 3), a(60, 5)}, "A0301", {1, 0}, "", ""},
        {"17 colour 25", Int1Proc17, 17, {a(60, 25)}, "A0000", {0}, "", ""},
        // Lateral buoys (colours by region: LateralColours below).
        {"18 plain", Int1Proc18, 18, {a(105, 1)}, "A0101", {0, 0}, "", ""},
        {"18 coloured", Int1Proc18, 18, {a(105, 2), a(24, 2), a(60, 3)}, "A0201", {2, 0}, "", ""},
        {"18 colour 25", Int1Proc18, 18, {a(24, 1), a(60, 25)}, "A0000", {0}, "", ""},
        {"18 port, no region around",
         Int1Proc18,
         18,
         {a(105, 2), a(24, 1)},
         "A0201",
         {2, 0},
         "",
         ""},
        {"18 preferred", Int1Proc18, 18, {a(24, 4), a(84, 1)}, "A0413", {4, 2, 4, 0}, "", ""},
        {"18 category 5", Int1Proc18, 18, {a(24, 5)}, "A0000", {0}, "", ""},
        // Safe water buoys.
        {"19 uncoloured", Int1Proc19, 19, {a(105, 3)}, "A0322", {2, 1, 0}, "", ""},
        {"19 yellow", Int1Proc19, 19, {a(60, 4)}, "A0401", {11, 0}, "", ""},
        {"19 two", Int1Proc19, 19, {a(60, 16)}, "A0422", {4, 2, 0}, "", ""},
        {"19 three", Int1Proc19, 19, {a(60, 8)}, "A0413", {0, 11, 0, 0}, "", ""},
        {"19 colour 25", Int1Proc19, 19, {a(60, 25)}, "A0000", {0}, "", ""},
        // Special-purpose buoys: shape 0 and 8 are spheres.
        {"20 DZ", Int1Proc20, 20, {a(105, 2), a(51, 1)}, "A0201", {11, 0}, "DZ", ""},
        {"20 Target", Int1Proc20, 20, {a(51, 2)}, "A0301", {11, 0}, "Target", ""},
        {"20 Marker Ship",
         Int1Proc20,
         20,
         {a(105, 8), a(51, 3)},
         "A0301",
         {11, 0},
         "Marker Ship",
         ""},
        {"20 Barge red", Int1Proc20, 20, {a(51, 5), a(60, 3)}, "A0301", {2, 0}, "Barge", ""},
        {"20 private BYB", Int1Proc20, 20, {a(51, 13), a(60, 8)}, "A0301", {11, 0}, "(priv)", ""},
        {"20 category 4", Int1Proc20, 20, {a(51, 4)}, "A0301", {11, 0}, "", ""},
        {"20 ODAS", Int1Proc20, 20, {a(105, 3), a(51, 9), a(60, 3)}, "A0300", {0}, "ODAS", ""},
        {"20 ODAS shape 10", Int1Proc20, 20, {a(105, 10), a(51, 9)}, "A0300", {0}, "", ""},
        {"20 mooring", Int1Proc20, 20, {a(51, 14), a(60, 3)}, "A1101", {0}, "", ""},
        {"20 LANBY", Int1Proc20, 20, {a(51, 15)}, "A1102", {0}, "", ""},
        {"20 DZ shape 10", Int1Proc20, 20, {a(105, 10), a(51, 1)}, "A0300", {0}, "", ""},
        // Buoys in general.
        {"200 plain", Int1Proc200, 200, {}, "A0401", {0, 0}, "", ""},
        {"200 green", Int1Proc200, 200, {a(105, 1), a(60, 1)}, "A0101", {4, 0}, "", ""},
        {"200 bands", Int1Proc200, 200, {a(60, 7)}, "A0412", {0, 11, 0}, "", ""},
        {"200 stripes", Int1Proc200, 200, {a(60, 7), a(61, 2)}, "A0422", {0, 11, 0}, "", ""},
        {"200 three", Int1Proc200, 200, {a(105, 6), a(60, 14)}, "A0613", {0, 2, 0, 0}, "", ""},
        {"200 colour 25", Int1Proc200, 200, {a(60, 25)}, "A0000", {0}, "", ""},
    };
    for (const Case& c : cases)
        check(c);
}

class BeaconProcedures : public kit::ProcedureTest {};

TEST_F(BeaconProcedures, RowsColoursAndTexts) {
    const Case cases[] = {
        // Cardinal beacons.
        {"5 shape 0", Int1Proc5, 5, {a(60, 8)}, "B0000", {0}, "", "BYB"},
        {"5 stake", Int1Proc5, 5, {a(103, 1), a(60, 8), a(7, 2)}, "B0100", {0}, "", "BYB"},
        {"5 withy", Int1Proc5, 5, {a(103, 2), a(60, 9)}, "B0000", {0}, "", "YB"},
        {"5 lattice", Int1Proc5, 5, {a(103, 4), a(60, 10), a(7, 4)}, "B0400", {0}, "", "YBY"},
        {"5 tower east", Int1Proc5, 5, {a(103, 3), a(7, 2)}, "B0313", {0, 11, 0, 0}, "", ""},
        {"5 tower north",
         Int1Proc5,
         5,
         {a(103, 3), a(7, 1), a(60, 8)},
         "B0312",
         {11, 0, 0},
         "",
         ""},
        {"5 tower category 6",
         Int1Proc5,
         5,
         {a(103, 3), a(7, 6), a(60, 8)},
         "B0000",
         {0},
         "",
         "BYB"},
        {"5 tower plain", Int1Proc5, 5, {a(103, 3)}, "B0000", {0}, "", ""},
        {"5 tower red", Int1Proc5, 5, {a(103, 3), a(60, 3)}, "B0000", {0}, "", "R"},
        {"5 tower two", Int1Proc5, 5, {a(103, 3), a(60, 11)}, "B0312", {2, 1, 0}, "", ""},
        {"5 tower colour 25", Int1Proc5, 5, {a(103, 3), a(60, 25)}, "B0000", {0}, "", ""},
        {"5 pile north", Int1Proc5, 5, {a(103, 5), a(7, 1)}, "B0000", {0}, "", ""},
        // Isolated danger beacons.
        {"6 shape 0", Int1Proc6, 6, {a(60, 3)}, "B0000", {0}, "", "R"},
        {"6 stake", Int1Proc6, 6, {a(103, 1), a(60, 14)}, "B010N", {0}, "", "BRB"},
        {"6 withy", Int1Proc6, 6, {a(103, 2)}, "B020N", {0}, "", ""},
        {"6 tower BRB", Int1Proc6, 6, {a(103, 3), a(60, 14)}, "B0313", {0, 2, 0, 0}, "", ""},
        {"6 tower red", Int1Proc6, 6, {a(103, 3), a(60, 3)}, "B0300", {0}, "", "R"},
        {"6 tower plain", Int1Proc6, 6, {a(103, 3)}, "B0300", {0}, "", ""},
        {"6 tower colour 25", Int1Proc6, 6, {a(103, 3), a(60, 25)}, "B0000", {0}, "", ""},
        {"6 pile", Int1Proc6, 6, {a(103, 5), a(60, 14)}, "B0400", {0}, "", "BRB"},
        // Lateral beacons (colours by region: LateralColours below).
        {"7 shape 0", Int1Proc7, 7, {a(24, 1), a(60, 3)}, "B0000", {0}, "", "R"},
        {"7 port stake", Int1Proc7, 7, {a(103, 1), a(24, 1), a(60, 3)}, "B0101", {0}, "", ""},
        {"7 starboard withy", Int1Proc7, 7, {a(103, 2), a(24, 2)}, "B0202", {0}, "", ""},
        {"7 stake uncategorised", Int1Proc7, 7, {a(103, 1), a(60, 1)}, "B0100", {0}, "", "G"},
        {"7 stake category 3",
         Int1Proc7,
         7,
         {a(103, 2), a(24, 3), a(60, 1)},
         "B0100",
         {0},
         "",
         "G"},
        {"7 lattice", Int1Proc7, 7, {a(103, 4), a(24, 1), a(60, 3)}, "B0400", {0}, "", "R"},
        {"7 tower preferred",
         Int1Proc7,
         7,
         {a(103, 3), a(24, 3), a(84, 1)},
         "B0313",
         {2, 4, 2, 0},
         "",
         ""},
        {"7 tower category 5",
         Int1Proc7,
         7,
         {a(103, 3), a(24, 5), a(60, 3)},
         "B0000",
         {0},
         "",
         "R"},
        {"7 pile preferred",
         Int1Proc7,
         7,
         {a(103, 5), a(24, 3), a(60, 13)},
         "B0000",
         {0},
         "",
         "RGR"},
        {"7 vessel white", Int1Proc7, 7, {a(103, 7), a(60, 5)}, "B0701", {1, 0}, "", ""},
        {"7 vessel three", Int1Proc7, 7, {a(103, 7), a(60, 13)}, "B0713", {2, 4, 2, 0}, "", ""},
        {"7 vessel two", Int1Proc7, 7, {a(103, 7), a(60, 11)}, "B0000", {0}, "", "RW"},
        {"7 tower plain", Int1Proc7, 7, {a(103, 3)}, "B0000", {0}, "", ""},
        // Safe water beacons.
        {"8 shape 0", Int1Proc8, 8, {a(60, 11)}, "B0000", {0}, "", "RW"},
        {"8 stake", Int1Proc8, 8, {a(103, 1), a(60, 11)}, "B0100", {0}, "", "RW"},
        {"8 withy", Int1Proc8, 8, {a(103, 2), a(60, 11)}, "B0000", {0}, "", "RW"},
        {"8 tower RW", Int1Proc8, 8, {a(103, 3), a(60, 11)}, "B0322", {2, 1, 0}, "", ""},
        {"8 tower red", Int1Proc8, 8, {a(103, 3), a(60, 3)}, "B0300", {0}, "", "R"},
        {"8 tower colour 25", Int1Proc8, 8, {a(103, 3), a(60, 25)}, "B0000", {0}, "", ""},
        {"8 tower plain", Int1Proc8, 8, {a(103, 3)}, "B0300", {0}, "", ""},
        {"8 cairn", Int1Proc8, 8, {a(103, 6), a(60, 11)}, "B0400", {0}, "", "RW"},
        // Special-purpose beacons.
        {"9 ODAS", Int1Proc9, 9, {a(103, 3), a(51, 9)}, "B0301", {11, 0}, "ODAS", ""},
        {"9 Target", Int1Proc9, 9, {a(51, 2)}, "B0000", {11}, "Target", ""},
        {"9 private",
         Int1Proc9,
         9,
         {a(103, 1), a(51, 13), a(60, 3)},
         "B0301",
         {11, 0},
         "(priv)",
         ""},
        {"9 category 4", Int1Proc9, 9, {a(103, 3), a(51, 4)}, "B0301", {11, 0}, "", ""},
        {"9 mooring", Int1Proc9, 9, {a(103, 3), a(51, 14)}, "A1101", {0}, "", ""},
        {"9 LANBY", Int1Proc9, 9, {a(51, 15)}, "A1102", {0}, "", ""},
        {"9 leading", Int1Proc9, 9, {a(103, 3), a(51, 16)}, "B0000", {0}, "", ""},
        {"9 distance", Int1Proc9, 9, {a(51, 18)}, "B0500", {0}, "", ""},
        {"9 notice", Int1Proc9, 9, {a(51, 19)}, "B0501", {0}, "", ""},
        // Beacons in general.
        {"203 stake", Int1Proc203, 203, {a(103, 1), a(60, 3)}, "B0100", {0}, "", "R"},
        {"203 withy", Int1Proc203, 203, {a(103, 2), a(60, 3)}, "B0201", {0}, "", ""},
        {"203 shape 0", Int1Proc203, 203, {a(60, 3)}, "B0000", {0}, "", ""},
        {"203 pile", Int1Proc203, 203, {a(103, 5), a(60, 3)}, "B0000", {0}, "", ""},
        {"203 tower plain", Int1Proc203, 203, {a(103, 3)}, "B0301", {0, 0}, "", ""},
        {"203 tower red", Int1Proc203, 203, {a(103, 3), a(60, 3)}, "B0301", {2, 0}, "", ""},
        {"203 tower bands", Int1Proc203, 203, {a(103, 3), a(60, 11)}, "B0312", {2, 1, 0}, "", ""},
        {"203 tower stripes",
         Int1Proc203,
         203,
         {a(103, 3), a(60, 11), a(61, 2)},
         "B0322",
         {2, 1, 0},
         "",
         ""},
        {"203 tower three",
         Int1Proc203,
         203,
         {a(103, 3), a(60, 13), a(61, 2)},
         "B0313",
         {2, 4, 2, 0},
         "",
         ""},
        {"203 tower colour 25", Int1Proc203, 203, {a(103, 3), a(60, 25)}, "B0000", {0}, "", ""},
        // Light floats and light vessels.
        {"88 no colour", Int1Proc88, 88, {a(61, 2)}, "B0600", {0}, "", ""},
        {"88 colour 0", Int1Proc88, 88, {a(60, 0)}, "B0600", {0}, "", ""},
        {"88 white", Int1Proc88, 88, {a(60, 5)}, "B0601", {1, 0}, "", ""},
        {"88 stripes", Int1Proc88, 88, {a(60, 11), a(61, 2)}, "B0622", {2, 1, 0}, "", ""},
        {"88 three", Int1Proc88, 88, {a(60, 8)}, "B0613", {0, 11, 0, 0}, "", ""},
        {"89 no colour", Int1Proc89, 89, {}, "B0700", {0}, "", ""},
        {"89 bands", Int1Proc89, 89, {a(60, 16), a(61, 1)}, "B0712", {4, 2, 0}, "", ""},
        {"89 colour 25", Int1Proc89, 89, {a(60, 25)}, "B0700", {0}, "", ""},
    };
    for (const Case& c : cases)
        check(c);
}

// Port and starboard, and the preferred channels, by buoyage region: buoys
// and coloured beacon towers alike (region 0 counts as 1, unknown regions
// are black).
TEST_F(BuoyProcedures, LateralColours) {
    constexpr int R = 2, G = 4;
    struct Row {
        unsigned category, region;
        std::vector<int> colours; // of the three-band (or one-colour) stack
    };
    const Row rows[] = {
        {1, 0, {R}},       {1, 1, {R}},       {1, 2, {G}},       {1, 3, {0}},
        {2, 0, {G}},       {2, 1, {G}},       {2, 2, {R}},       {2, 3, {0}},
        {3, 0, {R, G, R}}, {3, 1, {R, G, R}}, {3, 2, {G, R, G}}, {3, 3, {0, 0, 0}},
        {4, 0, {G, R, G}}, {4, 1, {G, R, G}}, {4, 2, {R, G, R}}, {4, 3, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        const bool bands = r.category >= 3;
        std::vector<int> colours = r.colours;
        colours.push_back(0); // the outline
        std::vector<kit::Attr> attributes{a(24, static_cast<std::uint8_t>(r.category))};
        if (r.region) attributes.push_back(a(84, static_cast<std::uint8_t>(r.region)));
        const std::string name =
            "category " + std::to_string(r.category) + " region " + std::to_string(r.region);
        std::vector<kit::Attr> buoy = attributes, beacon = attributes;
        buoy.push_back(a(105, 2));
        beacon.push_back(a(103, 3));
        check({name.c_str(), Int1Proc18, 18, buoy, bands ? "A0213" : "A0201", colours, "", ""});
        check({name.c_str(), Int1Proc7, 7, beacon, bands ? "B0313" : "B0301", colours, "", ""});
    }
}

} // namespace

namespace {

// ---------------------------------------------------------------- pixels

// The rows of the picture (window y, up) at which the colour shows within
// the 24-pixel cell standing on the point (0, 0).
std::vector<int> rowsOf(const QImage& picture, int chartColour) {
    std::vector<int> rows;
    for (int y = 0; y <= 24; ++y)
        for (int x = -12; x <= 12; ++x)
            if (kit::pixelAt(picture, {x, y}) == kit::chartRgb(chartColour)) {
                rows.push_back(y);
                break;
            }
    return rows;
}

// Pixels of the colour above and below window row y within the cell.
std::pair<int, int> splitAt(const QImage& picture, int chartColour, int y) {
    int above = 0, below = 0;
    for (int row = 0; row <= 24; ++row)
        for (int x = -12; x <= 12; ++x)
            if (kit::pixelAt(picture, {x, row}) == kit::chartRgb(chartColour))
                ++(row > y ? above : below);
    return {above, below};
}

class CodedSymbolPixels : public kit::ProcedureTest {};

// A can buoy (body from 2 to 11 pixels above its point) in black, yellow,
// black: the yellow band is the middle third, black fills the others.
TEST_F(CodedSymbolPixels, BandsInTheirColours) {
    kit::FakeObject buoy(17);
    buoy.set(kit::byteAttr(105, 2)).set(kit::byteAttr(60, 8)).setGeometry(kit::point(0, 0));
    const QImage picture = kit::runRaster(Int1Proc17, buoy);
    const std::vector<int> yellow = rowsOf(picture, 11);
    ASSERT_FALSE(yellow.empty());
    EXPECT_GE(yellow.front(), 4);
    EXPECT_LE(yellow.back(), 9);
    // Black fill above and below the yellow band.
    const auto [aboveYellow, belowYellow] = splitAt(picture, 0, yellow.back());
    EXPECT_GT(aboveYellow, 20);
    const auto [aboveBottom, belowBottom] = splitAt(picture, 0, yellow.front() - 1);
    EXPECT_GT(belowBottom, 20);
}

// Cardinal pillar buoys (body from 2 to 17 pixels above the point): north is
// black over yellow, south yellow over black.
TEST_F(CodedSymbolPixels, CardinalHalves) {
    for (std::uint8_t category : {1, 3}) {
        SCOPED_TRACE(int(category));
        kit::FakeObject buoy(15);
        buoy.set(kit::byteAttr(105, 4)).set(kit::byteAttr(7, category));
        const QImage picture = kit::runRaster(Int1Proc15, buoy);
        const int middle = 9;
        const auto [yellowAbove, yellowBelow] = splitAt(picture, 11, middle);
        const auto [blackAbove, blackBelow] = splitAt(picture, 0, middle);
        if (category == 1) {
            EXPECT_GT(yellowBelow, 10);
            EXPECT_EQ(yellowAbove, 0);
            EXPECT_GT(blackAbove, blackBelow);
        } else {
            EXPECT_GT(yellowAbove, 10);
            EXPECT_EQ(yellowBelow, 0);
            EXPECT_GT(blackBelow, blackAbove);
        }
    }
}

// Every row of the table, the stacks with body fills coloured by their layout
// ("01" red, "12" yellow and black, "22" red and white, "13" black, yellow,
// black), labelled with its key and the colours' name. (The kit's palette
// shows chart colour 2, the red of the colour patterns, as grey and 11, their
// yellow, as orange.)
TEST_F(CodedSymbolPixels, Gallery) {
    kit::Gallery gallery("coded-symbols", 64, 10);
    for (const CodedSymbolRow& r : CodedSymbols) {
        const std::string layout(r.key + 3, 2);
        const unsigned colours = r.symbol.count < 2 ? 0
                                 : layout == "01"   ? 3
                                 : layout == "12"   ? 9
                                 : layout == "22"   ? 11
                                 : layout == "13"   ? 8
                                                    : 0;
        CodedSymbol s = r.symbol;
        CopyPatternColours(&s, colours);
        const std::string label =
            std::string(r.key) + (colours ? std::string(" ") + ColourPatternName(colours) : "");
        gallery.add(label, [&](TMapContext&) {
            MapObject g(egtPoint, -1);
            g.bounds = Rect{0, -8, 0, -8};
            DrawCodedSymbol(&g, s, nullptr, nullptr);
        });
    }
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
