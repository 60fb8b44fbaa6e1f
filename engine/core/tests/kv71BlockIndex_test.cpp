#include "kv71/KV71CellId.h"
#include "kv71/blockIndexFile.h"
#include "kv71/chartRoot.h"

#include "TempDir.h"
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/ByteBuffer.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace kv71write;

namespace {

std::vector<GeoRect> rects(const GeoCover& cover) {
    std::vector<GeoRect> out;
    for (const LGeoRect* n = cover.head; n; n = n->next)
        out.push_back(n->r);
    return out;
}

// Binary angles agree within `units` steps (one metre of the Mercator
// rounding is about 400 steps at the equator).
void expectNear(const GeoRect& a, const GeoRect& b, std::int64_t units) {
    const auto near = [&](std::int32_t x, std::int32_t y) {
        return std::llabs(static_cast<std::int32_t>(static_cast<std::uint32_t>(x) -
                                                    static_cast<std::uint32_t>(y))) <= units;
    };
    EXPECT_TRUE(near(a.lon1, b.lon1) && near(a.lat1, b.lat1) && near(a.lon2, b.lon2) &&
                near(a.lat2, b.lat2))
        << a.lon1 << " " << a.lat1 << " " << a.lon2 << " " << a.lat2 << " vs " << b.lon1 << " "
        << b.lat1 << " " << b.lon2 << " " << b.lat2;
}

TEST(KV71CellRect, EdgesOfCells) {
    struct Case {
        KV71CellId id;
        GeoRect want;
    } cases[] = {
        {{960, 150, 1},
         {KV71LonOfIndex(960), KV71LatOfIndex(150), KV71LonOfIndex(1020), KV71LatOfIndex(210)}},
        {{1079, 509, 7}, {KV71LonOfIndex(1079), KV71LatOfIndex(509), 0, KV71LatOfIndex(510)}},
        {{1020, 30, 1}, {KV71LonOfIndex(1020), -954437177, 0, KV71LatOfIndex(90)}},
        {{0, 390, 0}, {0, KV71LatOfIndex(390), KV71LonOfIndex(120), KV71LatOfIndex(510)}},
        {{5, 30, 8}, {0, 0x40000000, 0, -0x40000000}},
        {{5, 30, KV71NoLevel}, {0, 0x40000000, 0, -0x40000000}},
    };
    for (const Case& c : cases) {
        const GeoRect r = KV71CellRect(c.id);
        EXPECT_EQ(r.lon1, c.want.lon1) << c.id.lon << " " << c.id.level;
        EXPECT_EQ(r.lat1, c.want.lat1) << c.id.lon << " " << c.id.level;
        EXPECT_EQ(r.lon2, c.want.lon2) << c.id.lon << " " << c.id.level;
        EXPECT_EQ(r.lat2, c.want.lat2) << c.id.lon << " " << c.id.level;
    }
    // Against the writers' own degrees.
    const DegreeBox box = cellDegrees(975, 160, 5);
    expectNear(KV71CellRect({975, 160, 5}),
               {deg2nrm(box.west), deg2nrm(box.south), deg2nrm(box.east), deg2nrm(box.north)}, 1);
}

class BlockIndex : public ::testing::Test {
  protected:
    std::string write(const kv71write::BlockIndex& index) {
        const std::string path = dir / "00900000.INF";
        EXPECT_TRUE(writeFileAtomically(path, blockIndexBytes(index)));
        return path;
    }
    int read(const kv71write::BlockIndex& index) {
        return ReadKV71BlockIndex(write(index).c_str(), cells);
    }
    TempDir dir;
    std::vector<KV71BlockCell> cells;
};

TEST_F(BlockIndex, CellsWrittenByTheToolsReadBack) {
    kv71write::BlockIndex index;
    InfGroup a{0, {infCellOf(0, 90, 1), infCellOf(60, 90, 1)}, {}};
    InfCell twoParts = infCellOf(31, 100, 5);
    twoParts.parts.push_back(InfPart{9, {infRectFromDegrees(10.7, -56.6, 10.8, -56.4)}, {}});
    InfGroup e{4, {twoParts, infCellOf(59, 149, 5)}, {}};
    index.groups = {a, e};
    ASSERT_EQ(read(index), 4);
    const KV71CellId want[] = {{0, 90, 1}, {60, 90, 1}, {31, 100, 5}, {59, 149, 5}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CompareKV71CellIds(cells[i].id, want[i]), 0) << i;
        EXPECT_EQ(cells[i].id.level, want[i].level) << i;
    }
    ASSERT_EQ(rects(cells[0].cover).size(), 1u);
    expectNear(rects(cells[0].cover)[0], KV71CellRect(want[0]), 500);
    const std::vector<GeoRect> two = rects(cells[2].cover);
    ASSERT_EQ(two.size(), 2u);
    expectNear(two[0], KV71CellRect(want[2]), 500); // ordered by south edge
    expectNear(two[1], {deg2nrm(10.7), deg2nrm(-56.6), deg2nrm(10.8), deg2nrm(-56.4)}, 500);
}

TEST_F(BlockIndex, IdentityComesFromTheCentreAndRepeatsMerge) {
    kv71write::BlockIndex index;
    // The first rectangle reaches from cell (30, 102) of level D (1 degree)
    // into cell (33, 105), which holds its centre: the centre decides, not
    // the corners. A later entry of the same cell adds its rectangle; an
    // entry without rectangles is left out.
    InfCell first{{InfPart{0, {infRectFromDegrees(10.95, -55.05, 11.9, -54.1)}, {}}}, {}};
    InfCell again{{InfPart{0, {infRectFromDegrees(11.1, -54.02, 11.2, -54.01)}, {}}}, {}};
    InfCell empty{{InfPart{0, {}, {}}}, {}};
    // Y values symmetric about 0 give latitudes symmetric about the equator.
    InfCell equator{{InfPart{0, {{-1000000, 0, 1000000, 100000}}, {}}}, {}};
    index.groups = {InfGroup{3, {first, empty, again, equator}, {}}};
    ASSERT_EQ(read(index), 2);
    EXPECT_EQ(CompareKV71CellIds(cells[0].id, {33, 105, 4}), 0);
    EXPECT_EQ(rects(cells[0].cover).size(), 2u);
    const GeoRect eq = rects(cells[1].cover).at(0);
    EXPECT_EQ(eq.lat1, -eq.lat2);
    EXPECT_EQ(eq.lon1, 0);
    EXPECT_EQ(CompareKV71CellIds(cells[1].id, {0, 270, 4}), 0);
}

TEST_F(BlockIndex, ShortFilesKeepTheCellsCompletedBeforeTheEnd) {
    kv71write::BlockIndex good;
    good.groups = {InfGroup{0, {infCellOf(0, 90, 1)}, {}}, InfGroup{4, {infCellOf(3, 93, 5)}, {}}};
    const Bytes full = blockIndexBytes(good);
    ASSERT_EQ(read(good), 2);

    // Group count, then level, cell count, part count, part value, rectangle
    // count and one rectangle: the first cell is complete after 24 bytes.
    constexpr std::size_t firstCellEnd = 1 + 3 + 1 + 3 + 16;
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        kv71write::BlockIndex truncated = good;
        truncated.damage.truncateTo = cut;
        const int want = cut == 0 ? -1 : cut < firstCellEnd ? 0 : 1;
        EXPECT_EQ(read(truncated), want) << cut;
        EXPECT_EQ(cells.size(), want < 0 ? 0u : static_cast<std::size_t>(want)) << cut;
    }
    struct Case {
        const char* what;
        void (*change)(kv71write::BlockIndex&);
        int want;
    } cases[] = {
        {"group count 0", [](kv71write::BlockIndex& b) { b.groupCount = 0; }, -1},
        {"group count 8", [](kv71write::BlockIndex& b) { b.groupCount = 8; }, -1},
        {"group count beyond the groups", [](kv71write::BlockIndex& b) { b.groupCount = 3; }, 2},
        {"cell count too large", [](kv71write::BlockIndex& b) { b.groups[1].cellCount = 2; }, 2},
        {"cell count 65535", [](kv71write::BlockIndex& b) { b.groups[1].cellCount = 65535; }, 2},
        {"part count too large",
         [](kv71write::BlockIndex& b) { b.groups[1].cells[0].partCount = 2; }, 1},
        {"rectangle count too large",
         [](kv71write::BlockIndex& b) { b.groups[1].cells[0].parts[0].rectCount = 2; }, 1},
        {"rectangle count 255",
         [](kv71write::BlockIndex& b) { b.groups[0].cells[0].parts[0].rectCount = 255; }, 0},
        {"bytes appended",
         [](kv71write::BlockIndex& b) {
             b.damage.append = {1, 2, 3};
         },
         2},
        {"fewer groups than written", [](kv71write::BlockIndex& b) { b.groupCount = 1; }, 1},
        {"a level listed twice keeps its first group",
         [](kv71write::BlockIndex& b) { b.groups[1].level = 0; }, 1},
        {"a level above G ends the reading",
         [](kv71write::BlockIndex& b) { b.groups[1].level = 7; }, 1},
        {"level above G first", [](kv71write::BlockIndex& b) { b.groups[0].level = 200; }, 0},
    };
    for (const Case& c : cases) {
        kv71write::BlockIndex changed = good;
        c.change(changed);
        EXPECT_EQ(read(changed), c.want) << c.what;
        EXPECT_EQ(cells.size(), c.want < 0 ? 0u : static_cast<std::size_t>(c.want)) << c.what;
    }
    EXPECT_EQ(ReadKV71BlockIndex((dir / "NONE.INF").c_str(), cells), -1);
    EXPECT_EQ(ReadKV71BlockIndex(dir.path().c_str(), cells), -1); // a folder
}

// The second group of level A is read past: its cells are neither listed nor
// merged into the first group's, and the group after it is still read.
TEST_F(BlockIndex, ALevelListedTwiceKeepsItsFirstGroup) {
    kv71write::BlockIndex index;
    InfCell again = infCellOf(0, 90, 1);
    again.parts[0].rects.push_back(infRectFromDegrees(1, -60, 2, -59));
    index.groups = {InfGroup{0, {infCellOf(0, 90, 1)}, {}}, InfGroup{1, {infCellOf(30, 90, 2)}, {}},
                    InfGroup{0, {again, infCellOf(60, 90, 1)}, {}},
                    InfGroup{2, {infCellOf(36, 90, 3)}, {}}};
    ASSERT_EQ(read(index), 3);
    const KV71CellId want[] = {{0, 90, 1}, {30, 90, 2}, {36, 90, 3}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CompareKV71CellIds(cells[i].id, want[i]), 0) << i;
    EXPECT_EQ(rects(cells[0].cover).size(), 1u);
}

TEST_F(BlockIndex, FoundInTheTreeWhateverTheCase) {
    kv71write::BlockIndex index;
    index.groups = {InfGroup{1, {infCellOf(990, 180, 2)}, {}}};
    ASSERT_TRUE(writeBlockIndex(dir.path(), 990, 180, index));
    const std::string saved = KV71ChartRoot();
    SetKV71ChartRoot(dir.path().c_str());
    EXPECT_EQ(ReadKV71BlockIndex(KV71BlockIndexPath(990, 180).c_str(), cells), 1);
    std::filesystem::rename(dir / "01500960/01500960.INF", dir / "01500960/01500960.inf");
    EXPECT_EQ(ReadKV71BlockIndex(KV71BlockIndexPath(1019, 209).c_str(), cells), 1);
    EXPECT_EQ(CompareKV71CellIds(cells.at(0).id, {990, 180, 2}), 0);
    SetKV71ChartRoot(saved.c_str());
}

} // namespace
