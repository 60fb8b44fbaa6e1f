// Aggregates: a structure drawn last, on top of its members, which see the
// structure's anchors; and the anchors of each kind of structure.
#include "procedureKit.h"

#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"
#include "procedures/StructureAnchors.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// What a member's procedure saw when it ran.
struct Seen {
    int code;
    Point anchors[4];
    int lightStack;
};
std::vector<Seen> seen;

// A member's procedure: notes what it sees, advances the light stack as the
// light procedure does, and draws glyph `code` of font 35 at the origin so
// that the order of drawing shows in the recording.
void member(TMapContext*, GdbObject* object, MapObject*) {
    Seen s{object->GetLabel(), {}, LightStackCount};
    for (int i = 0; i < 4; ++i)
        s.anchors[i] = StructureAnchors[i];
    seen.push_back(s);
    ++LightStackCount;
    GD_SelFont(35);
    GD_CharXY(0, 0, 0, s.code);
}

void throwing(TMapContext*, GdbObject*, MapObject*) {
    throw 7;
}

class Aggregates : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        seen.clear();
        Int1CondSymbProcs[86] = member;
        Int1CondSymbProcs[157] = member;
    }
};

std::unique_ptr<kit::FakeObject> object(int code, std::vector<kit::Attr> attributes = {}) {
    auto o = std::make_unique<kit::FakeObject>(code);
    for (kit::Attr& a : attributes)
        o->set(std::move(a));
    return o;
}

// An aggregate of a buoy of code 17 (can, black yellow black) with a light
// and a topmark.
std::unique_ptr<kit::FakeObject> canBuoyAggregate() {
    auto aggregate = object(185);
    aggregate->setGeometry(kit::noGeometry());
    aggregate->addChild(object(17, {kit::byteAttr(105, 2), kit::byteAttr(60, 8)}));
    aggregate->addChild(object(86));
    aggregate->addChild(object(157));
    return aggregate;
}

TEST_F(Aggregates, MembersSeeTheAnchorsAndTheStructureComesLast) {
    StructureAnchors[1] = Point{5, 5}; // left by an earlier structure
    auto aggregate = canBuoyAggregate();
    const kit::Drawing d = kit::run(Int1ProcAggregate, *aggregate);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, 86);
    EXPECT_EQ(seen[1].code, 157);
    for (const Seen& s : seen) {
        const Point expected[4] = {{3, 13}, {0, 0}, {9, 0}, {-9, 0}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s.anchors[i].x, expected[i].x) << s.code << " anchor " << i;
            EXPECT_EQ(s.anchors[i].y, expected[i].y) << s.code << " anchor " << i;
        }
    }
    // The members' glyphs, then the buoy's stack "A0213" on top.
    std::vector<std::string> order;
    for (const kit::Call& c : d.of("Text"))
        order.push_back(std::to_string(c.row) + ":" + std::to_string(c.codes.at(0)));
    const std::string f35 = std::to_string(kit::fontRow(35)) + ":",
                      f33 = std::to_string(kit::fontRow(33)) + ":";
    EXPECT_EQ(order, (std::vector<std::string>{f35 + "86", f35 + "157", f33 + "20", f33 + "21",
                                               f33 + "22", f33 + "18"}))
        << d.log();
    EXPECT_TRUE(d.hasGlyph(33, 21, 11, {0, 0}));

    // The structure's geometry was asked in the pass's map and rectangle.
    kit::FakeObject& buoy = aggregate->child(0);
    kit::View view;
    EXPECT_NE(buoy.lastMap(), nullptr);
    EXPECT_EQ(buoy.lastWindow().lon1, view.rect().lon1);
    EXPECT_EQ(buoy.lastWindow().lat2, view.rect().lat2);
    EXPECT_EQ(buoy.newMapObjectCalls(), 2) << "the test, then the copy's drawing";
}

TEST_F(Aggregates, LightStackRestartsForEachStructure) {
    LightStackCount = 5;
    auto first = canBuoyAggregate();
    auto second = canBuoyAggregate();
    kit::record([&](TMapContext& context) {
        context.Draw(first.get());
        context.Draw(second.get());
    });
    ASSERT_EQ(seen.size(), 4u);
    const int expected[4] = {0, 1, 0, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(seen[static_cast<std::size_t>(i)].lightStack, expected[i]) << i;
}

TEST_F(Aggregates, NothingWithoutAStructureInViewOrACopyOfIt) {
    auto outside = canBuoyAggregate();
    outside->child(0).noMapObject();
    EXPECT_TRUE(kit::run(Int1ProcAggregate, *outside).calls().empty());

    auto uncopied = canBuoyAggregate();
    uncopied->child(0).refuseClone();
    EXPECT_TRUE(kit::run(Int1ProcAggregate, *uncopied).calls().empty());

    kit::FakeObject empty(187);
    EXPECT_TRUE(kit::run(Int1ProcAggregate, empty).calls().empty());
    EXPECT_TRUE(seen.empty());
}

// The copy of the structure is freed when a member's procedure throws (the
// address sanitizer's leak check would report it).
TEST_F(Aggregates, AThrowingMemberLeavesNoCopyBehind) {
    Int1CondSymbProcs[157] = throwing;
    auto aggregate = canBuoyAggregate();
    EXPECT_THROW(kit::run(Int1ProcAggregate, *aggregate), int);
    EXPECT_EQ(seen.size(), 1u) << "the light before the topmark";
    // The structure's drawing lock was released: another drawing goes on.
    Int1CondSymbProcs[157] = member;
    kit::run(Int1ProcAggregate, *aggregate);
    EXPECT_EQ(seen.size(), 3u);
}

TEST(StructureAnchorsOf, EachKindOfStructure) {
    struct Case {
        int code;
        std::vector<kit::Attr> attributes;
        Point first;
        int w;
    };
    const auto shape = [](unsigned code, std::uint8_t value) {
        return std::vector<kit::Attr>{kit::byteAttr(code, value)};
    };
    const Case cases[] = {
        {200, {}, {0, 8}, 5},
        {203, shape(103, 3), {0, 8}, 5},
        {201, {}, {0, 5}, 4},
        {158, {}, {0, 18}, 4},
        {88, {}, {0, 16}, 11},
        {89, {}, {0, 16}, 11},
        {5, shape(103, 1), {0, 12}, 3},
        {6, shape(103, 2), {0, 13}, 3},
        {7, shape(103, 3), {0, 19}, 5},
        {8, shape(103, 4), {0, 13}, 8},
        {9, shape(103, 5), {0, 8}, 5},
        {9, {}, {0, 8}, 5},
        {15, shape(105, 1), {2, 13}, 0},
        {16, shape(105, 2), {3, 13}, 9},
        {17, shape(105, 3), {0, 13}, 9},
        {18, shape(105, 4), {2, 16}, 8},
        {19, shape(105, 5), {2, 17}, 6},
        {20, shape(105, 6), {0, 13}, 9},
        {15, shape(105, 7), {0, 12}, 11},
        {15, shape(105, 8), {2, 15}, 8},
        {15, shape(105, 0), {0, 0}, 0},
        {15, shape(105, 9), {0, 0}, 0},
        {17, {}, {2, 16}, 8}, // no shape: a pillar
        {20, {}, {0, 13}, 9}, // no shape: a sphere
        {16, {}, {0, 0}, 0},
        {86, {}, {0, 0}, 0},
        {185, {}, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        kit::FakeObject o(c.code);
        for (const kit::Attr& a : c.attributes)
            o.set(a);
        for (Point& p : StructureAnchors)
            p = Point{77, 77};
        EXPECT_EQ(ComputeStructureAnchors(&o), c.code);
        const Point expected[4] = {c.first, {0, 0}, {c.w, 0}, {-c.w, 0}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(StructureAnchors[i].x, expected[i].x) << "anchor " << i;
            EXPECT_EQ(StructureAnchors[i].y, expected[i].y) << "anchor " << i;
        }
    }
    EXPECT_EQ(ComputeStructureAnchors(nullptr), 0);
    EXPECT_EQ(StructureAnchors[0].y, 0);
    kit::resetDrawingState();
}

// The sample chart's marks (data/sample/kv71) at 1:50,000, each an aggregate
// of a buoy or beacon with its light and topmark, drawn through the chart
// objects of the database: each draws its structure's coded symbol.
TEST_F(Aggregates, TheSampleChartsMarks) {
    const std::string dict = std::string(DATA_DIR) + "/dict/";
    TKV71Dictionary dictionary("KV71Dictionary", dict.c_str());
    TPresLib presentation(&dictionary, "INT1Pres", dict.c_str());
    dictionary.SetPresentation(&presentation);
    auto db = std::make_unique<TKV71Db>(
        dictionary, (std::string(DATA_DIR) + "/sample/kv71").c_str(), 16ul << 20, nullptr);
    static const std::uint32_t aggregates[] = {185, 187};
    const TGdbFormula formula{0, 0xFFFFFFFFu, 0xFFFFFFFFu, 2, 1, 1, 2, aggregates, 0, nullptr, 0};
    kit::Settings settings;
    settings.width = settings.height = 1024;
    settings.lonDeg = 5.25;
    settings.latDeg = 60.43;
    int drawn = 0;
    const kit::Drawing d = kit::record(
        [&](TMapContext& context) {
            TGdbQuery query(*db);
            ASSERT_EQ(query.open(context.rect, 50000ul, &formula), 1);
            while (GdbObject* o = query.next()) {
                context.Draw(o);
                ++drawn;
            }
            query.close();
        },
        settings);
    db.reset();
    dictionary.SetPresentation(nullptr);
    EXPECT_EQ(drawn, 7);
    // Each light and topmark, drawn by the aggregate, saw its structure's
    // anchors and a light stack restarted for it.
    ASSERT_EQ(seen.size(), 14u);
    for (const Seen& s : seen) {
        EXPECT_GT(s.anchors[0].y, 0) << s.code;
        EXPECT_EQ(s.lightStack, s.code == 86 ? 0 : 1) << s.code;
    }

    // The glyphs of font 33 at each point, in order, as "code/colour".
    std::map<std::pair<int, int>, std::string> stacks;
    for (const kit::Call& c : d.texts(33))
        stacks[{c.points.at(0).x, c.points.at(0).y}] +=
            " " + std::to_string(c.codes.at(0)) + "/" + std::to_string(c.colour) + " ";
    const auto p = [](int colour) { return "/" + std::to_string(kit::paletteIndex(colour)) + " "; };
    // Each glyph as " code/colour ".
    const std::string expected[] = {
        " 4" + p(11) + " 5" + p(0) + " 0" + p(0),                    // 15 north: "A0412", "YB"
        " 1" + p(0) + " 2" + p(2) + " 3" + p(0) + " 0" + p(0),       // 17: "A0413", "BRB"
        " 19" + p(2) + " 18" + p(0),                                 // 18 port: "A0201", red
        " 10" + p(4) + " 9" + p(0),                                  // 18 starboard: "A0101"
        " 34" + p(2) + " 35" + p(1) + " 27" + p(0),                  // 19: "A0322", "RW"
        " 72" + p(11) + " 73" + p(0) + " 74" + p(11) + " 70" + p(0), // 5 west: "B0313", "YBY"
        " 80" + p(0),                                                // 7 port stake: "B0101"
    };
    for (const std::string& stack : expected) {
        bool found = false;
        for (const auto& [at, glyphs] : stacks)
            found = found || glyphs.find(stack) != std::string::npos;
        EXPECT_TRUE(found) << stack << "\n" << d.log();
    }
}

} // namespace
