// How procedures read attributes and place symbols and labels.
#include "procedureKit.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/SymbolPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

enum class Read { Byte, Float, Long, Text, Second, List, First, Packed };

// What a read gives, as text: "absent", or the value.
std::string readAs(GdbObject& o, unsigned code, Read how) {
    switch (how) {
    case Read::Byte: {
        unsigned v = 777;
        return AttrByte(&o, code, v) ? std::to_string(v) : v == 777 ? "absent" : "touched";
    }
    case Read::Float: {
        float v = -1.5f;
        if (!AttrFloat(&o, code, v)) return v == -1.5f ? "absent" : "touched";
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", double(v));
        return buf;
    }
    case Read::Long: {
        std::int32_t v = 777;
        return AttrLong(&o, code, v) ? std::to_string(v) : "absent";
    }
    case Read::Text: {
        char* v = nullptr;
        return AttrText(&o, code, v) ? "\"" + std::string(v) + "\"" : "absent";
    }
    case Read::Second: {
        unsigned v = 777;
        return AttrSecondByte(&o, code, v) ? std::to_string(v) : "absent";
    }
    case Read::List: {
        AttrList v;
        if (!AttrListOf(&o, code, v)) return "absent";
        std::string s = "[";
        for (unsigned i = 0; i < v.count; ++i)
            s += (i ? "," : "") + std::to_string(v.values[i]);
        return s + "]";
    }
    case Read::First: {
        unsigned v = 777;
        return AttrFirstOfList(&o, code, v) ? std::to_string(v) : "absent";
    }
    case Read::Packed: {
        PackedText v;
        if (!AttrPackedText(&o, code, v)) return "absent";
        return std::to_string(v.flags) + " " + std::to_string(v.dx) + " " + std::to_string(v.dy) +
               " \"" + v.text + "\"";
    }
    }
    return "?";
}

TEST(AttributeReads, ByFormatWithAbsentShortAndNonFiniteValues) {
    kit::FakeObject o(1);
    o.set(kit::byteAttr(57, 3))
        .set(kit::wordAttr(116, 63))
        .set(kit::floatAttr(66, 2.5f))
        .set(kit::floatAttr(73, std::numeric_limits<float>::quiet_NaN()))
        .set(kit::floatAttr(85, std::numeric_limits<float>::infinity()))
        .set(kit::floatAttr(113, -std::numeric_limits<float>::infinity()))
        .set(kit::longAttr(60, -5))
        .set(kit::textAttr(78, "Name"))
        .set(kit::textAttr(111, ""))
        .set(kit::textAttr(112, "6"))
        .set(kit::rawAttr(114, aSTRING, {'A', 6, 0}))
        .set(kit::rawAttr(79, aSTRING, {'a', 'b'})) // no zero
        .set(kit::listAttr(28, {}))
        .set(kit::listAttr(42, {4, 9}))
        .set(kit::rawAttr(82, aLIST, {5, 1})) // shorter than its count
        .set(kit::packedAttr(139, 4, -2, 3, "Ab"))
        .set(kit::rawAttr(140, aCMPLX, {1, 2, 3}))      // no text, no zero
        .set(kit::rawAttr(141, aCMPLX, {1, 2, 3, 'A'})) // no zero
        .set(kit::packedAttr(142, 0, 0, 0, ""));
    struct Case {
        unsigned code;
        Read how;
        const char* expected;
    };
    const Case cases[] = {
        {57, Read::Byte, "3"},
        {200, Read::Byte, "absent"},
        {116, Read::Float, "63"}, // the float of the stored whole number
        {66, Read::Float, "2.5"},
        {73, Read::Float, "absent"}, // not a number
        {85, Read::Float, "absent"}, // infinite
        {113, Read::Float, "absent"},
        {57, Read::Float, "absent"}, // one byte is no float
        {200, Read::Float, "absent"},
        {60, Read::Long, "-5"},
        {57, Read::Long, "absent"},
        {78, Read::Text, "\"Name\""},
        {111, Read::Text, "\"\""},
        {79, Read::Text, "absent"},
        {57, Read::Text, "absent"}, // a byte 3 has no zero
        {78, Read::Second, "97"},   // 'a'
        {114, Read::Second, "6"},
        {112, Read::Second, "0"},
        {111, Read::Second, "0"}, // shorter than two characters
        {28, Read::Second, "0"},  // an empty list's first value
        {42, Read::Second, "4"},
        {57, Read::Second, "0"},
        {200, Read::Second, "absent"},
        {42, Read::List, "[4,9]"},
        {28, Read::List, "[]"},
        {82, Read::List, "[1]"},
        {42, Read::First, "4"},
        {28, Read::First, "0"},
        {200, Read::First, "absent"},
        {139, Read::Packed, "4 -2 3 \"Ab\""},
        {142, Read::Packed, "0 0 0 \"\""},
        {140, Read::Packed, "absent"},
        {141, Read::Packed, "absent"},
        {78, Read::Byte, "78"}, // a text's first byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "attribute " << c.code << " read " << int(c.how));
        EXPECT_EQ(readAs(o, c.code, c.how), c.expected);
    }

    // Texts by reference are the stored bytes.
    char* text = nullptr;
    ASSERT_TRUE(AttrText(&o, 78, text));
    text[0] = 'n';
    EXPECT_EQ(o.storedText(78), "name");
    PackedText packed;
    ASSERT_TRUE(AttrPackedText(&o, 139, packed));
    packed.text[1] = 'B';
    EXPECT_EQ(o.storedText(139), "AB");

    // The walk's attributes read the same way; a null one is absent.
    unsigned v = 9;
    EXPECT_TRUE(AttrByte(o.FirstAttr(), v));
    EXPECT_EQ(v, 3u);
    EXPECT_FALSE(AttrByte(static_cast<TGdbAttr*>(nullptr), v));
    EXPECT_FALSE(AttrByte(static_cast<GdbObject*>(nullptr), 57, v));
    EXPECT_EQ(v, 3u);
}

class Placement : public kit::ProcedureTest {};

TEST_F(Placement, SymbolPositionByGeometry) {
    struct Case {
        const char* name;
        kit::Geometry geometry;
        bool hasPosition;
        Point position;
        bool hasFirst;
        Point first;
    };
    const Case cases[] = {
        {"point", kit::point(10, 20), true, {10, 20}, true, {10, 20}},
        {"line", kit::line({{5, 60}, {30, 40}, {-8, 50}}), true, {-8, 40}, true, {-8, 40}},
        {"area", kit::area({{0, 0}, {0, 40}, {60, 40}, {60, 0}}), true, {30, 20}, true, {0, 0}},
        // Counter-clockwise as given: no centre.
        {"area without centre",
         kit::areaWithSegments({{0, 0}, {60, 0}, {60, 40}, {0, 40}, {0, 0}}, {4, -1}),
         false,
         {},
         true,
         {0, 0}},
        {"no geometry", kit::noGeometry(), false, {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapObject m(egtEmpty, -1);
        c.geometry.fill(m);
        Point at{-999, -999};
        EXPECT_EQ(SymbolPosition(&m, at), c.hasPosition);
        if (c.hasPosition) {
            EXPECT_EQ(at.x, c.position.x);
            EXPECT_EQ(at.y, c.position.y);
        } else {
            EXPECT_EQ(at.x, -999) << "untouched";
        }
        Point first{-999, -999};
        EXPECT_EQ(FirstPoint(&m, first), c.hasFirst);
        if (c.hasFirst) {
            EXPECT_EQ(first.x, c.first.x);
            EXPECT_EQ(first.y, c.first.y);
        }
    }
    Point at;
    EXPECT_FALSE(SymbolPosition(nullptr, at));
}

TEST_F(Placement, LabelsBesideTheSymbolCell) {
    const Point at{40, -20};
    const Point right = LabelOrigin(at, LabelSide::Right, 30);
    const Point left = LabelOrigin(at, LabelSide::Left, 30);
    const Point quarter = LabelOrigin(at, LabelSide::Quarter, 30);
    EXPECT_EQ(right.x, 52);
    EXPECT_EQ(right.y, -32);
    EXPECT_EQ(left.x, -2);
    EXPECT_EQ(left.y, -32);
    EXPECT_EQ(quarter.x, 46);
    EXPECT_EQ(quarter.y, -26);

    int width = 0;
    const kit::Drawing d = kit::record([&](TMapContext&) {
        GD_SelFont(-2);
        width = GD_TextWidth("Hospital");
        DrawLabel(at, "Hospital", 0, LabelSide::Right);
        DrawLabel(at, "Hospital", 14, LabelSide::Left);
        DrawLabel(at, nullptr, 14, LabelSide::Left);
    });
    ASSERT_GT(width, 0);
    EXPECT_TRUE(d.hasText(-2, "Hospital", 0, {52, -32})) << d.log();
    EXPECT_TRUE(d.hasText(-2, "Hospital", 14, {40 - width - 12, -32})) << d.log();
    EXPECT_EQ(d.texts(-2).size(), 2u);
}

} // namespace
