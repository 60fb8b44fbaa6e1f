// Point symbols and labelled stations of the codes 100 to 201: the glyph and
// word each value selects, the outlined areas with a glyph at their centre,
// glyphs on a structure moved by its anchors, the rescue station's mooring
// buoy, and short attribute values.
#include "procedureKit.h"
#include "symbolCases.h"

#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using symbols::Case;
using symbols::expectCases;
using symbols::glyph;
using symbols::Lines;
using symbols::offset;
using symbols::text;

const kit::Geometry kPoint = kit::point(-30, 40);
const Point P{-30, 40};
const kit::Geometry kLine = kit::line({{-60, 10}, {40, -30}, {100, 50}});
const Point L{-60, -30};
const kit::Geometry kArea = kit::area({{10, -50}, {10, 70}, {110, 70}, {110, -50}});
const Point C{60, 10};
const Point A1{10, -50};

Point half(Point at) {
    return offset(at, 12, -12);
}
Point quarter(Point at) {
    return offset(at, 6, -6);
}
Point five(Point at) {
    return offset(at, 5, -5);
}

const std::string kLine0 = "line c0 w1 0000";

class StationSymbols : public kit::ProcedureTest {};

TEST_F(StationSymbols, SignalStationsByTheFirstValueOfTheirList) {
    struct Row {
        int value; // -1: no attribute
        const char* word;
    };
    const std::vector<Row> rows{
        {-1, nullptr},      {0, nullptr},      {1, "SS(Danger)"}, {2, "SS(Danger)"},
        {3, "SS(Danger)"},  {4, "SS(Firing)"}, {5, "SS"},         {6, "SS(Weather)"},
        {7, "SS(Storm)"},   {8, "SS(Ice)"},    {9, "SS(Time)"},   {10, "Tide gauge"},
        {11, "SS(Stream)"}, {14, nullptr},     {200, nullptr},
    };
    std::vector<Case> cases;
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const Row& r : rows) {
        names.push_back("141 " + std::to_string(r.value));
        Case c{names.back().c_str(), Int1Proc141, {}, kPoint, {glyph(35, 12, 0, P)}};
        if (r.value >= 0) c.attributes.push_back(kit::listAttr(48, {std::uint8_t(r.value)}));
        if (r.word) c.expected.push_back(text(-2, r.word, 0, quarter(P)));
        cases.push_back(c);
    }
    const std::vector<Case> more{
        {"empty list", Int1Proc141, {kit::listAttr(48, {})}, kPoint, {glyph(35, 12, 0, P)}},
        {"10, 4, 1: the first value alone",
         Int1Proc141,
         {kit::listAttr(48, {10, 4, 1})},
         kPoint,
         {glyph(35, 12, 0, P), text(-2, "Tide gauge", 0, quarter(P))}},
        {"12: the mast of the buoy font and nothing else",
         Int1Proc141,
         {kit::listAttr(48, {12, 5})},
         kPoint,
         {glyph(33, 113, 0, P)}},
        {"13", Int1Proc141, {kit::listAttr(48, {13})}, kPoint, {glyph(33, 113, 0, P)}},
        {"area: at its first point",
         Int1Proc141,
         {kit::listAttr(48, {5})},
         kArea,
         {glyph(35, 12, 0, A1), text(-2, "SS", 0, quarter(A1))}},
        {"line: at its first corner", Int1Proc141, {}, kLine, {glyph(35, 12, 0, L)}},
    };
    cases.insert(cases.end(), more.begin(), more.end());
    expectCases(cases);
}

TEST_F(StationSymbols, FixedGlyphsAndWords) {
    const std::vector<Case> cases{
        {"103: symbol element 4", Int1Proc103, {}, kPoint, {glyph(33, 134, 0, P)}},
        {"103 area", Int1Proc103, {}, kArea, {glyph(33, 134, 0, A1)}},
        {"104", Int1Proc104, {}, kPoint, {glyph(35, 50, 14, P)}},
        {"104 line", Int1Proc104, {}, kLine, {glyph(35, 50, 14, L)}},
        {"104 area: nothing", Int1Proc104, {}, kArea, {}},
        {"112", Int1Proc112, {}, kPoint, {glyph(35, 12, 0, P), text(-2, "Pyl", 0, five(P))}},
        {"112 line", Int1Proc112, {}, kLine, {glyph(35, 12, 0, L), text(-2, "Pyl", 0, five(L))}},
        {"112 area: nothing", Int1Proc112, {}, kArea, {}},
        {"113", Int1Proc113, {}, kPoint, {glyph(35, 12, 0, P), text(-2, "Radome", 0, five(P))}},
        {"113 area: at its first point",
         Int1Proc113,
         {},
         kArea,
         {glyph(35, 12, 0, A1), text(-2, "Radome", 0, five(A1))}},
        {"116 without a parent", Int1Proc116, {}, kPoint, {glyph(35, 55, 0, P)}},
        {"140",
         Int1Proc140,
         {},
         kPoint,
         {glyph(35, 54, 0, P), text(-2, "SS(Traffic)", 0, quarter(P))}},
        {"149", Int1Proc149, {}, kPoint, {glyph(35, 89, 0, P)}},
        {"157 without a parent: nothing", Int1Proc157, {kit::byteAttr(106, 3)}, kPoint, {}},
        {"175", Int1Proc175, {}, kPoint, {glyph(33, 124, 0, P)}},
        {"199", Int1Proc199, {}, kPoint, {glyph(35, 91, 14, P)}},
        {"201", Int1Proc201, {}, kPoint, {glyph(35, 87, 0, P)}},
        {"201 area: at its first point", Int1Proc201, {}, kArea, {glyph(35, 87, 0, A1)}},
    };
    expectCases(cases);
}

TEST_F(StationSymbols, GlyphsAndWordsByAttributeValue) {
    const auto b = [](unsigned code, std::uint8_t v) { return kit::byteAttr(code, v); };
    const auto ra = [](const char* word) { return text(-2, word, 14, half(P)); };
    const std::vector<Case> cases{
        // Radar conspicuous marks (37).
        {"117 none", Int1Proc117, {}, kPoint, {glyph(35, 12, 0, P)}},
        {"117 1", Int1Proc117, {b(37, 1)}, kPoint, {glyph(35, 12, 0, P)}},
        {"117 2", Int1Proc117, {b(37, 2)}, kPoint, {glyph(35, 56, 14, P), ra("Ra")}},
        // Radar transponder beacons (37).
        {"118 none", Int1Proc118, {}, kPoint, {glyph(35, 56, 14, P)}},
        {"118 1", Int1Proc118, {b(37, 1)}, kPoint, {glyph(35, 56, 14, P), ra("Ramark")}},
        {"118 2", Int1Proc118, {b(37, 2)}, kPoint, {glyph(35, 56, 14, P), ra("Racon")}},
        {"118 3", Int1Proc118, {b(37, 3)}, kPoint, {glyph(35, 56, 14, P)}},
        // Radio stations (39).
        {"120 none", Int1Proc120, {}, kPoint, {glyph(35, 56, 14, P)}},
        {"120 1", Int1Proc120, {b(39, 1)}, kPoint, {glyph(35, 56, 14, P), ra("RC")}},
        {"120 2", Int1Proc120, {b(39, 2)}, kPoint, {glyph(35, 56, 14, P), ra("RD")}},
        {"120 3", Int1Proc120, {b(39, 3)}, kPoint, {glyph(35, 56, 14, P), ra("RW")}},
        {"120 4", Int1Proc120, {b(39, 4)}, kPoint, {glyph(35, 56, 14, P), ra("Consol")}},
        {"120 5", Int1Proc120, {b(39, 5)}, kPoint, {glyph(35, 56, 14, P), ra("RG")}},
        {"120 6", Int1Proc120, {b(39, 6)}, kPoint, {glyph(35, 56, 14, P), ra("R")}},
        {"120 7", Int1Proc120, {b(39, 7)}, kPoint, {glyph(35, 56, 14, P), ra("Aero RC")}},
        {"120 8", Int1Proc120, {b(39, 8)}, kPoint, {glyph(35, 56, 14, P)}},
        // Water turbulence (54).
        {"165 none", Int1Proc165, {}, kPoint, {glyph(33, 116, 0, P)}},
        {"165 0", Int1Proc165, {b(54, 0)}, kPoint, {glyph(33, 116, 0, P)}},
        {"165 1", Int1Proc165, {b(54, 1)}, kPoint, {glyph(33, 117, 0, P)}},
        {"165 2", Int1Proc165, {b(54, 2)}, kPoint, {glyph(33, 118, 0, P)}},
        {"165 3", Int1Proc165, {b(54, 3)}, kPoint, {glyph(33, 119, 0, P)}},
        {"165 4", Int1Proc165, {b(54, 4)}, kPoint, {glyph(33, 120, 0, P)}},
        {"165 5", Int1Proc165, {b(54, 5)}, kPoint, {glyph(33, 121, 0, P)}},
        {"165 6", Int1Proc165, {b(54, 6)}, kPoint, {glyph(33, 122, 0, P)}},
        {"165 7", Int1Proc165, {b(54, 7)}, kPoint, {glyph(33, 123, 0, P)}},
        {"165 8", Int1Proc165, {b(54, 8)}, kPoint, {glyph(33, 116, 0, P)}},
    };
    expectCases(cases);
}

TEST_F(StationSymbols, OffshorePlatformsAndRescueStations) {
    const auto list = [](unsigned code, std::vector<std::uint8_t> v) {
        return kit::listAttr(code, v);
    };
    const Lines platform{glyph(35, 45, 0, P), glyph(35, 46, 14, P)};
    const auto with = [](Lines l, const std::string& s) {
        l.push_back(s);
        return l;
    };
    // The mooring buoy "A0601" half a cell down to the right.
    const Point buoy = offset(P, 12, -12);
    const std::vector<Case> cases{
        {"100 none", Int1Proc100, {}, kPoint, platform},
        {"100 2", Int1Proc100, {list(28, {2})}, kPoint, platform},
        {"100 4",
         Int1Proc100,
         {list(28, {4})},
         kPoint,
         with(platform, text(-1, "ALC", 0, half(P)))},
        {"100 5",
         Int1Proc100,
         {list(28, {5})},
         kPoint,
         with(platform, text(-1, "SALM", 0, half(P)))},
        {"100 7: artificial island",
         Int1Proc100,
         {list(28, {7})},
         kPoint,
         {glyph(35, 48, 0, P), glyph(35, 47, 11, P)}},
        {"100 first value only", Int1Proc100, {list(28, {2, 7})}, kPoint, platform},
        {"100 empty list", Int1Proc100, {list(28, {})}, kPoint, platform},
        {"100 area: at its first point",
         Int1Proc100,
         {list(28, {7})},
         kArea,
         {glyph(35, 48, 0, A1), glyph(35, 47, 11, A1)}},
        {"127 none", Int1Proc127, {}, kPoint, {glyph(35, 56, 0, P)}},
        {"127 1", Int1Proc127, {list(42, {1})}, kPoint, {glyph(35, 56, 0, P)}},
        {"127 4",
         Int1Proc127,
         {list(42, {4})},
         kPoint,
         {glyph(35, 56, 0, P), text(-2, "Ref", 0, half(P))}},
        {"127 6: the mooring buoy",
         Int1Proc127,
         {list(42, {6, 4})},
         kPoint,
         {glyph(35, 56, 0, P), glyph(33, 46, 0, buoy), glyph(33, 45, 0, buoy)}},
        {"127 empty list", Int1Proc127, {list(42, {})}, kPoint, {glyph(35, 56, 0, P)}},
    };
    expectCases(cases);
}

TEST_F(StationSymbols, OutlinedAreasWithAGlyphAtTheCentre) {
    const auto b = [](unsigned code, std::uint8_t v) { return kit::byteAttr(code, v); };
    const auto facility = [](std::uint8_t v) { return kit::listAttr(50, {v}); };
    const std::vector<Case> cases{
        {"110 point", Int1Proc110, {}, kPoint, {"line c0 w1 1F1F", glyph(35, 21, 14, P)}},
        {"110 area", Int1Proc110, {}, kArea, {"line c0 w1 1F1F", glyph(35, 21, 14, C)}},
        {"110 line without a centre", Int1Proc110, {}, kLine, {"line c0 w1 1F1F"}},
        {"110 line closing clockwise: its centre",
         Int1Proc110,
         {},
         kit::line({{10, -50}, {10, 70}, {110, 70}, {110, -50}, {10, -50}}),
         {"line c0 w1 1F1F", glyph(35, 21, 14, C)}},
        {"135 point", Int1Proc135, {}, kPoint, {glyph(35, 21, 0, P)}},
        {"135 line", Int1Proc135, {}, kLine, {glyph(35, 21, 0, L)}},
        {"135 area", Int1Proc135, {}, kArea, {"line c1 w2 3333", glyph(35, 21, 0, C)}},
        {"137 point", Int1Proc137, {}, kPoint, {glyph(35, 54, 0, P)}},
        {"137 area", Int1Proc137, {}, kArea, {"line c14 w2 1F1F", glyph(35, 54, 0, C)}},
        {"142 point",
         Int1Proc142,
         {},
         kPoint,
         {glyph(35, 12, 0, P), text(-2, "Silo", 0, quarter(P))}},
        {"142 area",
         Int1Proc142,
         {},
         kArea,
         {kLine0, glyph(35, 12, 0, C), text(-2, "Silo", 0, quarter(C))}},
        {"148 point", Int1Proc148, {}, kPoint, {glyph(35, 20, 14, P)}},
        {"148 area", Int1Proc148, {}, kArea, {"line c0 w1 3333", glyph(35, 20, 14, C)}},
        {"152 point", Int1Proc152, {}, kPoint, {glyph(35, 42, 14, P)}},
        {"152 area", Int1Proc152, {}, kArea, {"line c14 w1 1F1F", glyph(35, 42, 14, C)}},
        {"174 point", Int1Proc174, {}, kPoint, {glyph(35, 82, 0, P)}},
        {"174 area", Int1Proc174, {}, kArea, {"line c0 w1 3333", glyph(35, 82, 0, C)}},
        {"174 line: nothing", Int1Proc174, {}, kLine, {}},
        // Radar stations (52).
        {"158 none", Int1Proc158, {}, kPoint, {glyph(33, 114, 0, P)}},
        {"158 1", Int1Proc158, {b(52, 1)}, kPoint, {glyph(33, 114, 0, P)}},
        {"158 2", Int1Proc158, {b(52, 2)}, kPoint, {glyph(33, 115, 0, P)}},
        {"158 3", Int1Proc158, {b(52, 3)}, kPoint, {glyph(33, 109, 0, P)}},
        {"158 4", Int1Proc158, {b(52, 4)}, kPoint, {glyph(33, 114, 0, P)}},
        {"158 5",
         Int1Proc158,
         {b(52, 5)},
         kPoint,
         {glyph(35, 12, 0, P), text(-2, "Radar Tr", 0, quarter(P))}},
        {"158 area", Int1Proc158, {b(52, 2)}, kArea, {kLine0, glyph(33, 115, 0, C)}},
        // Small craft facilities by the first value of list 50.
        {"146 none", Int1Proc146, {}, kPoint, {glyph(35, 38, 14, P)}},
        {"146 1", Int1Proc146, {facility(1)}, kPoint, {glyph(35, 57, 14, P)}},
        {"146 2", Int1Proc146, {facility(2)}, kPoint, {glyph(35, 58, 14, P)}},
        {"146 3", Int1Proc146, {facility(3)}, kPoint, {glyph(35, 38, 14, P)}},
        {"146 6", Int1Proc146, {facility(6)}, kPoint, {glyph(35, 59, 14, P)}},
        {"146 7", Int1Proc146, {facility(7)}, kPoint, {glyph(35, 60, 14, P)}},
        {"146 12", Int1Proc146, {facility(12)}, kPoint, {glyph(35, 61, 14, P)}},
        {"146 13", Int1Proc146, {facility(13)}, kPoint, {glyph(35, 62, 14, P)}},
        {"146 14", Int1Proc146, {facility(14)}, kPoint, {glyph(35, 72, 14, P)}},
        {"146 17", Int1Proc146, {facility(17)}, kPoint, {glyph(35, 63, 14, P)}},
        {"146 18", Int1Proc146, {facility(18)}, kPoint, {glyph(35, 64, 14, P)}},
        {"146 19", Int1Proc146, {facility(19)}, kPoint, {glyph(35, 65, 14, P)}},
        {"146 20", Int1Proc146, {facility(20)}, kPoint, {glyph(35, 66, 14, P)}},
        {"146 21", Int1Proc146, {facility(21)}, kPoint, {glyph(35, 67, 14, P)}},
        {"146 22", Int1Proc146, {facility(22)}, kPoint, {glyph(35, 68, 14, P)}},
        {"146 23", Int1Proc146, {facility(23)}, kPoint, {glyph(35, 69, 14, P)}},
        {"146 24", Int1Proc146, {facility(24)}, kPoint, {glyph(35, 70, 14, P)}},
        {"146 25", Int1Proc146, {facility(25)}, kPoint, {glyph(35, 71, 14, P)}},
        {"146 26", Int1Proc146, {facility(26)}, kPoint, {glyph(35, 38, 14, P)}},
        {"146 area", Int1Proc146, {facility(22)}, kArea, {"fill c13 p8", glyph(35, 68, 14, C)}},
        {"146 line", Int1Proc146, {facility(1)}, kLine, {glyph(35, 57, 14, L)}},
    };
    expectCases(cases);
}

TEST_F(StationSymbols, NamedSeaAreas) {
    ASSERT_TRUE(kit::haveGuiApplication());
    const char* name = "Vestfjorden";
    const int w = symbols::textWidth(-2, name);
    const std::vector<Case> cases{
        {"area",
         Int1Proc133,
         {kit::textAttr(80, name)},
         kArea,
         {kLine0, text(-2, name, 0, offset(C, -(w / 2), 0))}},
        {"area without a name", Int1Proc133, {}, kArea, {kLine0}},
        {"point: nothing", Int1Proc133, {kit::textAttr(80, name)}, kPoint, {}},
        {"line: nothing", Int1Proc133, {kit::textAttr(80, name)}, kLine, {}},
    };
    expectCases(cases);
}

TEST_F(StationSymbols, AreasWithoutACentreGetTheirOutlineOnly) {
    const kit::Geometry small = kit::area({{0, 0}, {0, 20}, {20, 20}, {20, 0}});
    const std::vector<Case> cases{
        {"110", Int1Proc110, {}, small, {"line c0 w1 1F1F"}},
        {"133", Int1Proc133, {kit::textAttr(80, "Sea")}, small, {kLine0}},
        {"142", Int1Proc142, {}, small, {kLine0}},
        {"146", Int1Proc146, {kit::listAttr(50, {1})}, small, {"fill c13 p8"}},
        {"158", Int1Proc158, {kit::byteAttr(52, 5)}, small, {kLine0}},
        {"174", Int1Proc174, {}, small, {"line c0 w1 3333"}},
    };
    expectCases(cases);
}

TEST_F(StationSymbols, ObjectsWithoutGeometryDrawNothing) {
    const kit::Geometry none = kit::noGeometry();
    const std::vector<Case> cases{
        {"100", Int1Proc100, {kit::listAttr(28, {4})}, none, {}},
        {"103", Int1Proc103, {}, none, {}},
        {"110", Int1Proc110, {}, none, {"line c0 w1 1F1F"}},
        {"113", Int1Proc113, {}, none, {}},
        {"116", Int1Proc116, {}, none, {}},
        {"127", Int1Proc127, {kit::listAttr(42, {6})}, none, {}},
        {"141", Int1Proc141, {kit::listAttr(48, {10})}, none, {}},
        {"146", Int1Proc146, {}, none, {}},
        {"158", Int1Proc158, {}, none, {}},
        {"165", Int1Proc165, {}, none, {}},
    };
    expectCases(cases);
    // Nothing reaches the picture (a renderer may be called and draw nothing).
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kit::Drawing d("", gdi::Mapping{});
        symbols::drawn(c, &d);
        EXPECT_TRUE(d.calls().empty()) << d.log();
    }
}

// ---------------------------------------------------------------- structures

TEST_F(StationSymbols, TopmarksByShapeOnTheirStructuresAnchor) {
    for (int shape = 0; shape <= 19; ++shape) {
        SCOPED_TRACE(shape);
        kit::resetDrawingState();
        StructureAnchors[0] = Point{3, 13};
        StructureAnchors[3] = Point{-9, 0};
        kit::FakeObject topmark(157);
        topmark.set(kit::byteAttr(106, std::uint8_t(shape)))
            .setGeometry(kPoint)
            .setParentFlag(true);
        const Lines marks = symbols::marks(kit::run(Int1Proc157, topmark));
        if (shape >= 1 && shape <= 18)
            EXPECT_EQ(marks, Lines{glyph(33, 154 + shape, 0, offset(P, 3, 13))});
        else
            EXPECT_TRUE(marks.empty());
    }
    // Without the attribute: nothing.
    kit::FakeObject bare(157);
    bare.setGeometry(kPoint).setParentFlag(true);
    EXPECT_TRUE(kit::run(Int1Proc157, bare).calls().empty());
}

TEST_F(StationSymbols, MembersOfAnAggregateSeeTheStructuresAnchors) {
    // A can buoy (code 17, shape 2) anchors at (3, 13) on top and (-9, 0) on
    // its left; its daymark, radar reflector and topmark share its point.
    auto aggregate = std::make_unique<kit::FakeObject>(185);
    aggregate->setGeometry(kit::noGeometry());
    auto member = [](int code, std::vector<kit::Attr> attributes) {
        auto o = std::make_unique<kit::FakeObject>(code);
        for (kit::Attr& a : attributes)
            o->set(std::move(a));
        o->setGeometry(kit::point(-30, 40));
        return o;
    };
    aggregate->addChild(member(17, {kit::byteAttr(105, 2), kit::byteAttr(60, 2)}));
    aggregate->addChild(member(67, {}));
    aggregate->addChild(member(116, {}));
    aggregate->addChild(member(157, {kit::byteAttr(106, 4)}));
    const kit::Drawing d = kit::run(Int1ProcAggregate, *aggregate);
    EXPECT_TRUE(d.hasGlyph(35, 32, 14, offset(P, -9, 0))) << d.log();
    EXPECT_TRUE(d.hasGlyph(35, 55, 0, offset(P, 3, 13))) << d.log();
    EXPECT_TRUE(d.hasGlyph(33, 158, 0, offset(P, 3, 13))) << d.log();

    // The same members on their own have no parent and keep their point,
    // whatever anchors an earlier structure left.
    StructureAnchors[0] = Point{3, 13};
    StructureAnchors[3] = Point{-9, 0};
    kit::FakeObject daymark(67), reflector(116);
    daymark.setGeometry(kPoint);
    reflector.setGeometry(kPoint);
    EXPECT_TRUE(kit::run(Int1Proc67, daymark).hasGlyph(35, 32, 14, P));
    EXPECT_TRUE(kit::run(Int1Proc116, reflector).hasGlyph(35, 55, 0, P));
}

// The sample chart (data/sample/kv71) at 1:50,000 around the harbour, drawn
// through its chart objects with the built-in procedures: the anchor berth,
// the anchorage's styled boundary, the land areas' fill, and the topmarks of
// the lit buoys and beacons on top of their structures.
TEST_F(StationSymbols, TheSampleChartsSymbols) {
    const std::string dict = std::string(DATA_DIR) + "/dict/";
    TKV71Dictionary dictionary("KV71Dictionary", dict.c_str());
    TPresLib presentation(&dictionary, "INT1Pres", dict.c_str());
    dictionary.SetPresentation(&presentation);
    auto db = std::make_unique<TKV71Db>(
        dictionary, (std::string(DATA_DIR) + "/sample/kv71").c_str(), 16ul << 20, nullptr);
    static const std::uint32_t codes[] = {3, 4, 81, 185, 187};
    const TGdbFormula formula{0, 0xFFFFFFFFu, 0xFFFFFFFFu, 2, 1, 1, 5, codes, 0, nullptr, 0};
    kit::Settings settings;
    settings.width = settings.height = 1024;
    settings.lonDeg = 5.25;
    settings.latDeg = 60.43;
    std::map<int, int> drawn;
    kit::Trace trace;
    const kit::Drawing d = kit::record(
        [&](TMapContext& context) {
            TGdbQuery query(*db);
            ASSERT_EQ(query.open(context.rect, 50000ul, &formula), 1);
            while (GdbObject* o = query.next()) {
                ++drawn[o->GetLabel()];
                context.Draw(o);
            }
            query.close();
        },
        settings);
    db.reset();
    dictionary.SetPresentation(nullptr);
    ASSERT_EQ(drawn[3], 1);
    ASSERT_EQ(drawn[4], 1);
    EXPECT_GT(drawn[81], 0);
    EXPECT_EQ(drawn[185] + drawn[187], 7);

    // The berth: its glyph inside its dotted swinging circle.
    int berths = 0;
    for (const kit::Call& c : d.texts(35))
        if (c.codes == std::vector<int>{2}) {
            ++berths;
            bool circled = false;
            for (const std::string& m : symbols::marks(d))
                circled = circled || m == symbols::ellipse(14, true, 14, c.points.at(0));
            EXPECT_TRUE(circled) << d.log();
        }
    EXPECT_EQ(berths, 1);
    // The anchorage's boundary: dashes over 150 pixels and an anchor; land
    // is filled in colour 12 and gets no glyph (its objects are areas).
    int anchorages = 0, land = 0;
    for (const RendererCall& c : trace.calls()) {
        if (c.kind == RendererCallKind::ComplexLine && c.count == 2 &&
            styles::describe(c.elements[0]) == "stroke 0F0F w1 n150 c14 f1" &&
            styles::describe(c.elements[1]) == "glyph 34/5 n1 c14 f6")
            ++anchorages;
        if (c.kind == RendererCallKind::Area && c.colour == 12 && c.style == 0) ++land;
    }
    EXPECT_EQ(anchorages, 1) << trace.log();
    // (Islands outside the view have no geometry in it and draw nothing.)
    EXPECT_GT(land, 0);
    EXPECT_LE(land, drawn[81]);
    for (const kit::Call& c : d.texts(35))
        EXPECT_NE(c.codes, std::vector<int>{75});

    // The topmarks (glyphs 155 to 172 of font 33), each above the point of
    // its structure's stack.
    std::multiset<int> topmarks;
    std::vector<Point> structures;
    for (const kit::Call& c : d.texts(33)) {
        const int code = c.codes.at(0);
        if (code < 155 || code > 172) structures.push_back(c.points.at(0));
    }
    for (const kit::Call& c : d.texts(33)) {
        const int code = c.codes.at(0);
        if (code < 155 || code > 172) continue;
        topmarks.insert(code);
        bool above = false;
        for (const Point& s : structures) {
            const int dx = c.points.at(0).x - s.x, dy = c.points.at(0).y - s.y;
            above = above || (std::abs(dx) <= 3 && dy >= 8 && dy <= 19);
        }
        EXPECT_TRUE(above) << code << " at " << c.points.at(0).x << "," << c.points.at(0).y;
    }
    EXPECT_EQ(topmarks.size(), 7u) << d.log();
    EXPECT_EQ(std::set<int>(topmarks.begin(), topmarks.end()),
              (std::set<int>{155, 157, 158, 159, 164, 167}));
}

// ---------------------------------------------------------------- gallery

TEST_F(StationSymbols, Gallery) {
    ASSERT_TRUE(kit::haveGuiApplication());
    kit::Gallery gallery("point-symbols", 128, 10);
    const kit::Geometry point = kit::point(-10, 0);
    const kit::Geometry area = kit::area({{-50, -45}, {-50, 45}, {50, 45}, {50, -45}});
    struct Entry {
        int code;
        CondSymbProc procedure;
        std::vector<kit::Attr> attributes;
    };
    const std::vector<Entry> entries{
        {1, Int1Proc1, {}},
        {2, Int1Proc2, {}},
        {3, Int1Proc3, {}},
        {4, Int1Proc4, {kit::listAttr(3, {3})}},
        {10, Int1Proc10, {kit::textAttr(80, "12")}},
        {11, Int1Proc11, {}},
        {12, Int1Proc12, {kit::byteAttr(41, 7)}},
        {13, Int1Proc13, {kit::listAttr(49, {5})}},
        {14, Int1Proc14, {}},
        {24, Int1Proc24, {}},
        {27, Int1Proc27, {}},
        {29, Int1Proc29, {}},
        {32, Int1Proc32, {}},
        {33, Int1Proc33, {}},
        {34, Int1Proc34, {}},
        {38, Int1Proc38, {kit::byteAttr(9, 1)}},
        {39, Int1Proc39, {kit::byteAttr(10, 2)}},
        {47, Int1Proc47, {}},
        {48, Int1Proc48, {kit::textAttr(78, "Ferry")}},
        {52, Int1Proc52, {}},
        {53, Int1Proc53, {}},
        {60, Int1Proc60, {}},
        {62, Int1Proc62, {kit::byteAttr(16, 1)}},
        {64, Int1Proc64, {}},
        {65, Int1Proc65, {}},
        {67, Int1Proc67, {}},
        {68, Int1Proc68, {kit::byteAttr(16, 3)}},
        {73, Int1Proc73, {kit::listAttr(109, {4})}},
        {75, Int1Proc75, {}},
        {77, Int1Proc77, {}},
        {81, Int1Proc81, {}},
        {91, Int1Proc91, {}},
        {92, Int1Proc92, {}},
        {93, Int1Proc93, {kit::byteAttr(27, 3)}},
        {94, Int1Proc94, {kit::listAttr(28, {4, 5})}},
        {95, Int1Proc95, {}},
        {96, Int1Proc96, {kit::byteAttr(29, 3)}},
        {100, Int1Proc100, {kit::listAttr(28, {4})}},
        {103, Int1Proc103, {}},
        {104, Int1Proc104, {}},
        {110, Int1Proc110, {}},
        {112, Int1Proc112, {}},
        {113, Int1Proc113, {}},
        {116, Int1Proc116, {}},
        {117, Int1Proc117, {kit::byteAttr(37, 2)}},
        {118, Int1Proc118, {kit::byteAttr(37, 2)}},
        {120, Int1Proc120, {kit::byteAttr(39, 7)}},
        {127, Int1Proc127, {kit::listAttr(42, {6})}},
        {133, Int1Proc133, {kit::textAttr(80, "Sea")}},
        {135, Int1Proc135, {}},
        {137, Int1Proc137, {}},
        {140, Int1Proc140, {}},
        {141, Int1Proc141, {kit::listAttr(48, {10})}},
        {142, Int1Proc142, {}},
        {146, Int1Proc146, {kit::listAttr(50, {22})}},
        {148, Int1Proc148, {}},
        {149, Int1Proc149, {}},
        {152, Int1Proc152, {}},
        {157, Int1Proc157, {kit::byteAttr(106, 13)}},
        {158, Int1Proc158, {kit::byteAttr(52, 5)}},
        {165, Int1Proc165, {kit::byteAttr(54, 3)}},
        {174, Int1Proc174, {}},
        {175, Int1Proc175, {}},
        {199, Int1Proc199, {}},
        {201, Int1Proc201, {}},
    };
    ASSERT_EQ(entries.size(), 65u);
    std::vector<std::unique_ptr<kit::FakeObject>> objects;
    for (const Entry& e : entries)
        for (bool asArea : {false, true}) {
            objects.push_back(std::make_unique<kit::FakeObject>(e.code));
            for (const kit::Attr& a : e.attributes)
                objects.back()->set(a);
            // A topmark shows only on a structure.
            objects.back()->setGeometry(asArea ? area : point).setParentFlag(e.code == 157);
            gallery.add(std::to_string(e.code) + (asArea ? " area" : " point"), e.procedure,
                        *objects.back());
        }
    EXPECT_FALSE(gallery.write().empty());
}

} // namespace
