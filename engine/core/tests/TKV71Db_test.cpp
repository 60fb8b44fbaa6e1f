#include "gdb/TGdbDictionary.h"
#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/blockIndexFile.h"
#include "kv71/cellCache.h"

#include "TempDir.h"
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace kv71write;

namespace {

TGdbDictionary dictionary("KV71", nullptr);

// A cell entry of a block index file covered by one box in degrees.
InfCell boxCell(double west, double south, double east, double north) {
    return InfCell{{InfPart{0, {infRectFromDegrees(west, south, east, north)}, {}}}, {}};
}

GeoRect degrees(double west, double south, double east, double north) {
    return GeoRect{deg2nrm(west), deg2nrm(south), deg2nrm(east), deg2nrm(north)};
}

GeoRect inf(double west, double south, double east, double north) {
    const InfRect r = infRectFromDegrees(west, south, east, north);
    return KV71InfRectToGeoRect(KV71InfRect{r.yMin, r.xMin, r.yMax, r.xMax});
}

class KV71Database : public ::testing::Test {
  protected:
    std::string root() const { return dir.path() + "/"; }
    TempDir dir;
};

TEST(KV71Scales, LevelsAndScales) {
    TKV71Db db(dictionary, "/nonexistent", 0, nullptr);
    struct {
        unsigned long scale;
        int level;
    } levels[] = {{25000000, 0}, {20000000, 0}, {19999999, 1}, {3000000, 1},
                  {2500000, 2},  {200000, 3},   {100000, 4},   {50000, 5},
                  {20000, 6},    {7500, 7},     {7499, -1},    {0, -1}};
    for (const auto& c : levels)
        EXPECT_EQ(db.getLevel(c.scale), c.level) << c.scale;
    struct {
        int level;
        unsigned long scale;
    } scales[] = {{-3, 20000000}, {0, 20000000}, {2, 1000000}, {7, 7500}, {12, 7500}};
    for (const auto& c : scales)
        EXPECT_EQ(db.getScale(c.level), c.scale) << c.level;
}

TEST(KV71Scales, SharedCacheLivesWithTheDatabases) {
    ASSERT_EQ(TKV71Db::LiveCount(), 0);
    EXPECT_EQ(KV71CellWorkBuffer(), nullptr);
    auto first = std::make_unique<TKV71Db>(dictionary, "/a", 0x300000, nullptr);
    auto second = std::make_unique<TKV71Db>(dictionary, "/b", nullptr, 0x900000, nullptr,
                                            TKV71Db::loadWithoutCatalog);
    EXPECT_EQ(TKV71Db::LiveCount(), 2);
    EXPECT_EQ(first->GetOptions(), 0u);
    EXPECT_EQ(second->GetOptions(), TKV71Db::loadWithoutCatalog);
    EXPECT_EQ(KV71CellMemoryLimit(), 0x300000u) << "only the first database sets the budget";
    EXPECT_NE(KV71CellWorkBuffer(), nullptr);
    EXPECT_STREQ(second->GetCatalog()->Root(), "/b/");
    EXPECT_EQ(second->GetCatalog()->SecondRoot(), nullptr);

    first.reset();
    EXPECT_NE(KV71CellWorkBuffer(), nullptr) << "the cache lives while a database does";
    second.reset();
    EXPECT_EQ(KV71CellWorkBuffer(), nullptr);
}

TEST_F(KV71Database, CoverAtLevelZeroNeedsNoBlockIndex) {
    TKV71Db db(dictionary, (dir / "nothing").c_str(), 0, nullptr);
    // Three columns of four rows of level Z cells, joined into one area.
    GeoRect window = degrees(0, -80, 120, 80);
    GeoCover cover = db.getCover(window, 20000000);
    GeoCover want;
    want.add(GeoRect{KV71CellRect({0, 30, 0}).lon1, KV71CellRect({0, 30, 0}).lat1,
                     KV71CellRect({240, 390, 0}).lon2, KV71CellRect({240, 390, 0}).lat2});
    EXPECT_TRUE(cover == want) << cover.size();

    // A part of one cell gives the whole cell.
    GeoRect inside = degrees(50, 5, 51, 6);
    GeoCover one = db.getCover(inside, 30000000);
    GeoCover cell;
    cell.add(KV71CellRect(KV71CellId{120, 270, 0}));
    EXPECT_TRUE(one == cell);

    GeoRect any = degrees(0, 0, 1, 1);
    EXPECT_TRUE(db.getCover(any, 5000).empty()); // beyond level G
}

// Block 02700000 (0..20 E, 0..20 N) lists level B cells: one, one listed
// twice in its group (its covers merge), one whose rectangle lies in the next
// block east and one without parts (both left out, the rest kept).
TEST_F(KV71Database, CoverFromTheBlockIndex) {
    BlockIndex index;
    index.groups = {InfGroup{
        1,
        {boxCell(1, 1, 2, 2), boxCell(11, 1, 12, 2), boxCell(25, 1, 26, 2), boxCell(13, 3, 14, 4)},
        {}}};
    ASSERT_TRUE(writeBlockIndex(root(), 0, 270, index));
    TKV71Db db(dictionary, root().c_str(), 0, nullptr);

    GeoRect window = degrees(0, 0, 30, 20);
    GeoCover cover = db.getCover(window, 1000000);
    GeoCover want;
    for (const GeoRect& r : {inf(1, 1, 2, 2), inf(11, 1, 12, 2), inf(13, 3, 14, 4)})
        want.add(r);
    EXPECT_TRUE(cover == want);

    TKV71Db::TCatalog* catalog = db.GetCatalog();
    const KV71CatalogEntry* twice = catalog->Lookup(KV71CellId{30, 270, 2});
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice->rectCount, 2);
    EXPECT_EQ(twice->cover.size(), 2);
    EXPECT_NE(catalog->Lookup(KV71CellId{0, 270, 2}), nullptr);
    EXPECT_EQ(catalog->Lookup(KV71CellId{0, 300, 2}), nullptr);  // not listed
    EXPECT_EQ(catalog->Lookup(KV71CellId{75, 270, 2}), nullptr); // its block has no file
    EXPECT_EQ(catalog->Lookup(KV71CellId{0, 270, 1}), nullptr);  // no level A group
    EXPECT_EQ(catalog->Lookup(KV71CellId{0, 270, 0}), nullptr);  // level Z has no catalogue
    EXPECT_EQ(catalog->Lookup(KV71CellId{0, 510, 2}), nullptr);  // outside the grid

    // A window elsewhere at the same level finds nothing.
    GeoRect west = degrees(-30, 0, -10, 20);
    EXPECT_TRUE(db.getCover(west, 1000000).empty());
}

TEST_F(KV71Database, FlushReadsTheBlockIndexAgain) {
    BlockIndex before;
    before.groups = {InfGroup{0, {boxCell(1, 1, 2, 2)}, {}}};
    ASSERT_TRUE(writeBlockIndex(root(), 0, 270, before));
    TKV71Db db(dictionary, root().c_str(), 0, nullptr);
    const KV71CellId cellA{0, 270, 1};
    ASSERT_NE(db.GetCatalog()->Lookup(cellA), nullptr);

    BlockIndex after;
    after.groups = {InfGroup{0, {boxCell(5, 5, 6, 6), boxCell(7, 7, 8, 8)}, {}}};
    ASSERT_TRUE(writeBlockIndex(root(), 0, 270, after));
    EXPECT_EQ(db.GetCatalog()->Lookup(cellA)->rectCount, 1) << "read once until a flush";
    EXPECT_EQ(db.flush(), 0);
    const KV71CatalogEntry* entry = db.GetCatalog()->Lookup(cellA);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->rectCount, 2);
}

TEST_F(KV71Database, MissingRootIsTriedAgain) {
    const std::string later = dir / "later/";
    TKV71Db db(dictionary, later.c_str(), 0, nullptr);
    const KV71CellId cellA{0, 270, 1};
    EXPECT_EQ(db.GetCatalog()->Lookup(cellA), nullptr);
    BlockIndex index;
    index.groups = {InfGroup{0, {boxCell(1, 1, 2, 2)}, {}}};
    ASSERT_TRUE(std::filesystem::create_directories(later));
    ASSERT_TRUE(writeBlockIndex(later, 0, 270, index));
    EXPECT_NE(db.GetCatalog()->Lookup(cellA), nullptr);
}

TEST(KV71DatabaseFlat, Functions) {
    EXPECT_EQ(new__TKV71Db(&dictionary, "/x", nullptr, 0, nullptr), nullptr);
    delete__TKV71Db(nullptr);
    auto* db = new TKV71Db(dictionary, "/x", 0, nullptr);
    TGdbQuery query(*db);
    EXPECT_EQ(TKV71Db__openGdbQuery(nullptr, &query), -1);
    EXPECT_EQ(TKV71Db__openGdbQuery(db, nullptr), -1);
    delete__TKV71Db(db);
    EXPECT_EQ(TKV71Db::LiveCount(), 0);
}

} // namespace
