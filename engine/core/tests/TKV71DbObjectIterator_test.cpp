#include "gdb/GdbLookupTables.h"
#include "gdb/TGdbFormula.h"
#include "kv71/TKV71DbObjectIterator.h"
#include "kv71/chartRoot.h"

#include "KV71QueryFixture.h"

#include <algorithm>
#include <map>
#include <set>

using namespace kv71query;
using namespace kv71write;

namespace {

constexpr unsigned long scaleE = 50000; // level E: cells of one grid unit
constexpr int levelE = 5;

TKV71DbObjectIterator* iteratorOf(TGdbQuery& query) {
    return dynamic_cast<TKV71DbObjectIterator*>(query.GetIterator());
}

std::vector<std::string> linkedNames(TGdbQuery& query) {
    std::vector<std::string> names;
    for (const TKV71CellLink& l : iteratorOf(query)->Links())
        names.push_back(l.cell->name);
    return names;
}

TGdbFormula formula(bool ascending, std::uint32_t options = 0) {
    TGdbFormula f{};
    f.maskA = f.maskB = 0xFFFFFFFFu;
    f.firstLayer = f.lastLayer = -1;
    f.ascending = ascending ? 1 : 0;
    f.options = options;
    return f;
}

class KV71Iterator : public ChartTree {
  protected:
    // Two neighbouring cells whose priority ranges overlap: 10..20 and
    // 15..30.
    void writeOverlapping() {
        ASSERT_TRUE(
            writeCellFile(root(), 30, 300, levelE, pointCell(30, 300, levelE, {1, 3, 2, 1})));
        ASSERT_TRUE(writeCellFile(root(), 31, 300, levelE, pointCell(31, 300, levelE, {2, 4, 2})));
        openDb(TKV71Db::loadWithoutCatalog);
    }
    GeoRect view = gridRect(30, 300, 32, 301);
};

TEST_F(KV71Iterator, MergesPriorityLayersAcrossCellsWithHooks) {
    writeOverlapping();
    struct Case {
        bool ascending;
        std::vector<std::string> objects;
        std::vector<std::string> hooks;
    } cases[] = {
        {true,
         {"1@30.0", "1@30.3", "2@30.2", "2@31.0", "2@31.2", "3@30.1", "4@31.1"},
         {"L+10", "C+30", "C-30", "L-10", "L+15", "C-30", "C+31", "C-31", "L-15", "L+20", "C+30",
          "C-30", "L-20", "L+30", "C+31", "C-31", "L-30"}},
        {false,
         {"4@31.1", "3@30.1", "2@30.2", "2@31.2", "2@31.0", "1@30.3", "1@30.0"},
         {"L+30", "C+31", "C-31", "L-30", "L+20", "C+30", "C-30", "L-20", "L+15", "C-30", "C+31",
          "C-31", "L-15", "L+10", "C+30", "C-30", "L-10"}},
    };
    for (const Case& c : cases) {
        RecordingQuery query(*db);
        const TGdbFormula f = formula(c.ascending);
        ASSERT_EQ(query.setFormula(&f), 0);
        ASSERT_EQ(query.open(view, scaleE, nullptr), 1);
        EXPECT_EQ(walk(query), c.objects) << c.ascending;
        EXPECT_EQ(query.log, c.hooks) << c.ascending;
        // After the end the walk stays ended.
        EXPECT_EQ(query.next(), nullptr);
        EXPECT_EQ(query.next(), nullptr);
        EXPECT_EQ(query.log.size(), c.hooks.size());
        EXPECT_EQ(iteratorOf(query)->currentGdbObject(), nullptr);
        // A reset starts the walk again over the layers asked for.
        ASSERT_EQ(iteratorOf(query)->resetPriorityLayers(20, 12), 0);
        std::vector<std::string> again;
        while (GdbObject* o = query.next())
            again.push_back(describe(o));
        const std::vector<std::string> middle =
            c.ascending ? std::vector<std::string>{"2@30.2", "2@31.0", "2@31.2", "3@30.1"}
                        : std::vector<std::string>{"3@30.1", "2@30.2", "2@31.2", "2@31.0"};
        EXPECT_EQ(again, middle) << c.ascending;
        // A reset to layers no cell has, in the middle of a walk, ends it.
        ASSERT_EQ(iteratorOf(query)->resetPriorityLayers(0, 255), 0);
        ASSERT_NE(query.next(), nullptr);
        EXPECT_EQ(iteratorOf(query)->resetPriorityLayers(31, 40), -1);
        EXPECT_EQ(query.next(), nullptr) << c.ascending;
    }
}

TEST_F(KV71Iterator, HookAnswersPauseOrEndTheWalk) {
    writeOverlapping();
    // Each case: the event whose hook answers, the answer, and what eight
    // calls of next give ("-" for null).
    struct Case {
        std::string event;
        int answer;
        std::vector<std::string> calls;
    } cases[] = {
        // Pause before layer 10: null, then layer 10 without a second call.
        {"L+10", 1, {"-", "1@30.0", "1@30.3", "2@30.2", "2@31.0", "2@31.2", "3@30.1", "4@31.1"}},
        // Pause after layer 15: null between the layers.
        {"L-15", 1, {"1@30.0", "1@30.3", "2@30.2", "2@31.0", "2@31.2", "-", "3@30.1", "4@31.1"}},
        {"L+15", -1, {"1@30.0", "1@30.3", "-", "-", "-", "-", "-", "-"}},
        {"C+31", -1, {"1@30.0", "1@30.3", "2@30.2", "-", "-", "-", "-", "-"}},
        {"C-30", -1, {"1@30.0", "1@30.3", "-", "-", "-", "-", "-", "-"}},
        {"L-30", -1, {"1@30.0", "1@30.3", "2@30.2", "2@31.0", "2@31.2", "3@30.1", "4@31.1", "-"}},
    };
    for (const Case& c : cases) {
        RecordingQuery query(*db);
        int seen = 0;
        query.answer = [&](const std::string& e) {
            return e == c.event && seen++ == 0 ? c.answer : 0;
        };
        const TGdbFormula f = formula(true);
        ASSERT_EQ(query.open(view, scaleE, &f), 1);
        std::vector<std::string> calls;
        for (int i = 0; i < 8; ++i) {
            GdbObject* o = query.next();
            calls.push_back(o ? describe(o) : "-");
        }
        EXPECT_EQ(calls, c.calls) << c.event << " " << c.answer;
        EXPECT_EQ(std::count(query.log.begin(), query.log.end(), c.event), 1) << c.event;
    }
    // A hook that closes its own query ends the walk.
    for (const char* event : {"C+31", "L+20", "C-30", "L-10"}) {
        RecordingQuery query(*db);
        query.answer = [&](const std::string& e) {
            if (e == event) query.close();
            return 0;
        };
        const TGdbFormula f = formula(true);
        ASSERT_EQ(query.open(view, scaleE, &f), 1);
        int n = 0;
        while (query.next() && n < 100)
            ++n;
        EXPECT_LT(n, 7) << event;
        EXPECT_EQ(query.next(), nullptr) << event;
    }
}

// Look-up tables as a presentation supplies them.
struct Tables : GdbLookupTables {
    std::map<unsigned, GdbObjectLookup> objects;
    const GdbObjectLookup* objectLookup(unsigned code) const override {
        auto it = objects.find(code);
        return it == objects.end() ? nullptr : &it->second;
    }
    const GdbAttrLookup* attrLookup(unsigned) const override { return nullptr; }
};

TEST_F(KV71Iterator, FormulaFilters) {
    // Object 0 (class 5) has object 1 (class 6) as its child.
    CellFile cell = pointCell(30, 300, levelE, {5, 6, 1, 3, 4});
    cell.objects[0].children = {1};
    cell.objects[1].parent = 0;
    ASSERT_TRUE(writeCellFile(root(), 30, 300, levelE, cell));
    openDb(TKV71Db::loadWithoutCatalog);
    Tables tables;
    tables.objects[1] = {0x1, 0x1, {}};
    tables.objects[3] = {0x2, 0x1, {}};
    tables.objects[4] = {0x1, 0x2, {}};
    tables.objects[5] = {0x1, 0x1, {}};
    tables.objects[6] = {0x1, 0x1, {}};

    const std::uint32_t include13[] = {1, 3}, includeFar[] = {99}, exclude3[] = {3, 200};
    struct Case {
        const char* what;
        std::uint32_t maskA, maskB, options;
        std::uint32_t includeCount;
        const std::uint32_t* include;
        std::uint32_t excludeCount;
        const std::uint32_t* exclude;
        bool withTables;
        std::vector<int> codes; // ascending
    } cases[] = {
        {"everything but the child", ~0u, ~0u, 0, 0, nullptr, 0, nullptr, false, {1, 5, 3, 4}},
        {"children too", ~0u, ~0u, 1, 0, nullptr, 0, nullptr, false, {1, 5, 6, 3, 4}},
        {"include list", ~0u, ~0u, 1, 2, include13, 0, nullptr, false, {1, 3}},
        {"include beyond the classes", ~0u, ~0u, 1, 1, includeFar, 0, nullptr, false, {}},
        {"exclude list", ~0u, ~0u, 1, 0, nullptr, 2, exclude3, false, {1, 5, 6, 4}},
        {"mask A", 0x1, ~0u, 0, 0, nullptr, 0, nullptr, true, {1, 5, 4}},
        {"mask B", ~0u, 0x2, 0, 0, nullptr, 0, nullptr, true, {4}},
        {"tables, all masks", ~0u, ~0u, 0, 0, nullptr, 0, nullptr, true, {1, 5, 3, 4}},
    };
    for (const Case& c : cases) {
        dictionary->SetPresentation(c.withTables ? &tables : nullptr);
        TGdbQuery query(*db);
        TGdbFormula f = formula(true, c.options);
        f.maskA = c.maskA;
        f.maskB = c.maskB;
        f.includeCount = c.includeCount;
        f.include = c.include;
        f.excludeCount = c.excludeCount;
        f.exclude = c.exclude;
        ASSERT_EQ(query.open(view, scaleE, &f), 1);
        std::vector<int> codes;
        while (GdbObject* o = query.next())
            codes.push_back(o->GetLabel());
        EXPECT_EQ(codes, c.codes) << c.what;
    }
    // A class without a look-up entry is not shown.
    tables.objects.erase(4);
    dictionary->SetPresentation(&tables);
    TGdbQuery query(*db);
    ASSERT_EQ(query.open(view, scaleE, nullptr), 1);
    std::vector<int> codes;
    while (GdbObject* o = query.next())
        codes.push_back(o->GetLabel());
    EXPECT_EQ(codes, (std::vector<int>{1, 5, 3})); // ascending without a formula
    dictionary->SetPresentation(nullptr);
}

TEST_F(KV71Iterator, ReopeningKeepsOrderMasksAndOptionsButNotTheClassSets) {
    CellFile cell = pointCell(30, 300, levelE, {5, 6, 1, 3});
    cell.objects[0].children = {1};
    cell.objects[1].parent = 0;
    ASSERT_TRUE(writeCellFile(root(), 30, 300, levelE, cell));
    openDb(TKV71Db::loadWithoutCatalog);
    TGdbQuery query(*db);
    const std::uint32_t only[] = {3};
    TGdbFormula f = formula(true, 1);
    f.includeCount = 1;
    f.include = only;
    f.maskA = 0x5;
    ASSERT_EQ(query.setFormula(&f), 0);
    // A second formula adds to the set.
    const std::uint32_t more[] = {6};
    f.include = more;
    ASSERT_EQ(query.open(view, scaleE, &f), 1);
    std::vector<int> codes;
    while (GdbObject* o = query.next())
        codes.push_back(o->GetLabel());
    EXPECT_EQ(codes, (std::vector<int>{6, 3}));
    query.close();
    ASSERT_EQ(query.open(view, scaleE, nullptr), 1);
    codes.clear();
    while (GdbObject* o = query.next())
        codes.push_back(o->GetLabel());
    EXPECT_EQ(codes, (std::vector<int>{1, 5, 6, 3})); // ascending, children, no set
    TKV71DbObjectIterator* it = iteratorOf(query);
    EXPECT_EQ(it->MaskA(), 0x5u);
    EXPECT_FALSE(it->HasIncludeSet());
    // Refused formulas change nothing.
    TGdbFormula bad = formula(false);
    bad.kind = 1;
    EXPECT_EQ(it->setFormula(&bad), -1);
    EXPECT_EQ(it->setFormula(nullptr), -1);
    EXPECT_FALSE(it->IsDescending());
}

TEST_F(KV71Iterator, WhereCellsAreLookedFor) {
    // Place (30, 300): base cell in the chart root. Place (31, 300): only
    // variants A and C there. Place (32, 300): base cell in the second root
    // and in the chart root. Place (33, 300): variant B in the second root,
    // base cell in the chart root.
    ASSERT_TRUE(writeCellFile(root(), 30, 300, levelE, pointCell(30, 300, levelE, {1})));
    ASSERT_TRUE(writeCellFile(root(), 31, 300, levelE, pointCell(31, 300, levelE, {1}), 'A'));
    ASSERT_TRUE(writeCellFile(root(), 31, 300, levelE, pointCell(31, 300, levelE, {1}), 'C'));
    ASSERT_TRUE(writeCellFile(root(), 32, 300, levelE, pointCell(32, 300, levelE, {1})));
    ASSERT_TRUE(writeCellFile(second(), 32, 300, levelE, pointCell(32, 300, levelE, {3})));
    ASSERT_TRUE(writeCellFile(root(), 33, 300, levelE, pointCell(33, 300, levelE, {1})));
    ASSERT_TRUE(writeCellFile(second(), 33, 300, levelE, pointCell(33, 300, levelE, {3}), 'B'));
    const GeoRect all = gridRect(30, 300, 34, 301);
    struct Case {
        const char* what;
        unsigned long options;
        bool withSecond;
        std::vector<std::pair<int, int>> listed; // catalogue entries
        std::vector<std::string> linked;
        std::vector<std::string> objects; // ascending
    } cases[] = {
        {"no block index: nothing", 0, false, {}, {}, {}},
        {"catalogue lists two places",
         0,
         false,
         {{30, 300}, {31, 300}},
         {"03000030.E", "A3000031.E", "C3000031.E"},
         {"1@30.0", "1@31.0", "1@31.0"}},
        {"load without catalogue",
         TKV71Db::loadWithoutCatalog,
         false,
         {},
         {"03000030.E", "A3000031.E", "C3000031.E", "03000032.E", "03000033.E"},
         {"1@30.0", "1@31.0", "1@31.0", "1@32.0", "1@33.0"}},
        {"second root first",
         TKV71Db::loadWithoutCatalog,
         true,
         {},
         {"03000030.E", "A3000031.E", "C3000031.E", "03000032.E", "B3000033.E", "03000033.E"},
         {"1@30.0", "1@31.0", "1@31.0", "1@33.0", "3@32.0", "3@33.0"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(blockIndexPath(root(), 30, 300));
        if (!c.listed.empty()) catalogue(levelE, c.listed);
        openDb(c.options, c.withSecond);
        TGdbQuery query(*db);
        const TGdbFormula f = formula(true);
        const std::string rootBefore = KV71ChartRoot();
        GeoRect window = all;
        ASSERT_EQ(query.open(window, scaleE, &f), 1);
        std::vector<std::string> names = linkedNames(query);
        std::vector<std::string> want = c.linked;
        std::sort(names.begin(), names.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(names, want) << c.what;
        EXPECT_EQ(walk(query), c.objects) << c.what;
        EXPECT_EQ(KV71ChartRoot(), rootBefore) << c.what;
        query.close();
    }
}

TEST_F(KV71Iterator, LevelZCellsNeedNoCatalogue) {
    ASSERT_TRUE(writeCellFile(root(), 0, 30, 0, pointCell(0, 30, 0, {4, 1})));
    openDb();
    TGdbQuery query(*db);
    GeoRect world{deg2nrm(1), deg2nrm(-79), deg2nrm(39), deg2nrm(-51)};
    ASSERT_EQ(query.open(world, 20000000ul, nullptr), 1);
    EXPECT_EQ(walk(query), (std::vector<std::string>{"1@0.1", "4@0.0"}));
    // A scale beyond the last level gathers nothing.
    ASSERT_EQ(query.open(world, 5000ul, nullptr), 1);
    EXPECT_EQ(query.next(), nullptr);
}

TEST_F(KV71Iterator, GatheredCellsStayLockedUntilTheWalkIsReleased) {
    writeOverlapping();
    auto q1 = std::make_unique<TGdbQuery>(*db);
    auto q2 = std::make_unique<TGdbQuery>(*db);
    ASSERT_EQ(q1->open(view, scaleE, nullptr), 1);
    ASSERT_EQ(q2->open(view, scaleE, nullptr), 1);
    const std::vector<TKV71CellLink> links = iteratorOf(*q1)->Links();
    ASSERT_EQ(links.size(), 2u);
    for (const TKV71CellLink& l : links)
        EXPECT_EQ(l.cell->lockCount, 2u);
    // Locked cells survive eviction.
    while (EvictKV71Cell()) {
    }
    EXPECT_EQ(KV71CellCacheList().count, 2u);
    q1->close();
    for (const TKV71CellLink& l : links)
        EXPECT_EQ(l.cell->lockCount, 1u);
    q2.reset();
    EXPECT_EQ(EvictKV71Cell(), 1);
    EXPECT_EQ(EvictKV71Cell(), 1);
    EXPECT_EQ(KV71CellCacheList().count, 0u);
}

} // namespace
