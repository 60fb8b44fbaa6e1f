#include "KV71CellFixture.h"

#include <cstdlib>

using namespace kv71write;
using namespace kv71cells;

namespace {

// A cell with one line on edges of n points in all (at most 65535 to an
// edge, point i of the first edge at (i, i)): about 4 n bytes of memory.
CellFile cellOfPoints(unsigned n) {
    CellFile cell = emptyCell();
    CellObject line;
    line.classCode = 2;
    line.geometry = LineGeometry;
    for (unsigned i = 0; i < n; ++i) {
        if (i % 65535 == 0) {
            line.edgeRefs.push_back(lineRef(static_cast<std::uint16_t>(cell.edges.size())));
            cell.edges.emplace_back();
        }
        cell.edges.back().points.push_back(
            {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i)});
    }
    cell.objects = {line};
    return cell;
}

std::vector<std::string> cachedNames() {
    std::vector<std::string> names;
    for (TGeoCell* c = KV71CellCacheList().head; c; c = c->next)
        names.push_back(c->name);
    return names;
}

// A heap that refuses the next `refusals` requests (-1: all of them).
int refusals = 0;
void* refusingAllocate(std::size_t size) {
    if (refusals != 0) {
        if (refusals > 0) --refusals;
        return nullptr;
    }
    return std::malloc(size);
}
const KV71CellHeap refusingHeap{&refusingAllocate, &std::free};

} // namespace

using CellCache = CellTree;

TEST_F(CellCache, HoldsTheBudgetWhileUnlockedCellsRemain) {
    // The limit is process-wide and other users may have raised it: set one.
    FlushKV71CellCache(nullptr, KV71FlushMinimumMemory + 1);
    const std::uint64_t limit = KV71CellMemoryLimit();
    ASSERT_EQ(limit, KV71FlushMinimumMemory + 1);
    const CellFile big = cellOfPoints(static_cast<unsigned>(limit / 6 / sizeof(KV71LocalPoint)));
    std::vector<std::string> names;
    for (int lon = 0; lon < 12; ++lon) {
        names.push_back(write(big, lon));
        ASSERT_NE(load(names.back()), nullptr) << lon;
        EXPECT_LE(KV71CellMemoryUsed(), limit) << lon;
        EXPECT_EQ(FindKV71Cell(names.back().c_str()), KV71CurrentCell());
    }
    EXPECT_LT(KV71CellCacheList().count, 12u);
    EXPECT_EQ(FindKV71Cell(names.front().c_str()), nullptr); // the oldest went first

    // Once every cached cell is locked, loads go on above the limit.
    std::vector<TGeoCell*> locked;
    for (TGeoCell* c = KV71CellCacheList().head; c; c = c->next)
        locked.push_back(c);
    for (int lon = 12; lon < 20; ++lon) {
        for (TGeoCell* c : locked)
            LockKV71Cell(c);
        ASSERT_NE(load(write(big, lon)), nullptr) << lon;
        locked.assign(1, KV71CurrentCell());
        for (TGeoCell* c = KV71CellCacheList().head; c != KV71CurrentCell(); c = c->next)
            EXPECT_GT(c->lockCount, 0u);
    }
    EXPECT_GT(KV71CellMemoryUsed(), limit);
    for (TGeoCell* c = KV71CellCacheList().head; c; c = c->next)
        while (c->lockCount)
            UnlockKV71Cell(c);
}

TEST_F(CellCache, EvictsTheLeastRecentlyUsedUnlockedCell) {
    const std::string a = write(emptyCell(), 1), b = write(emptyCell(), 2),
                      c = write(emptyCell(), 3);
    load(a);
    load(b);
    load(c);
    ASSERT_EQ(cachedNames(), (std::vector<std::string>{a, b, c}));
    // Found A, then B, then A again: B is the first to go.
    FindKV71Cell(a.c_str());
    FindKV71Cell(b.c_str());
    FindKV71Cell(a.c_str());
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{c, b, a}));
    LockKV71Cell(FindKV71Cell(c.c_str()));
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{b, a, c}));
    EXPECT_EQ(EvictKV71Cell(), 1);
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{a, c}));

    // Evicting the current cell clears the current cell.
    load(a);
    ASSERT_STREQ(KV71CurrentCell()->name, a.c_str());
    EXPECT_EQ(EvictKV71Cell(), 1);
    EXPECT_EQ(KV71CurrentCell(), nullptr);
    EXPECT_EQ(EvictKV71Cell(), 0); // only the locked C is left
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{c}));
    UnlockKV71Cell(FindKV71Cell(c.c_str()));
    EXPECT_EQ(EvictKV71Cell(), 1);
    EXPECT_EQ(EvictKV71Cell(), 0);
}

TEST_F(CellCache, LockedCellsOutliveDropFlushAndShutdownUntilTheirLastUnlock) {
    for (const bool shutdown : {false, true}) {
        SCOPED_TRACE(shutdown ? "shutdown" : "flush");
        const std::string name = write(cellOfPoints(100));
        KV71ObjectRecord* objects = load(name);
        ASSERT_NE(objects, nullptr);
        TGeoCell* cell = KV71CurrentCell();
        LockKV71Cell(cell);
        LockKV71Cell(cell);
        DropKV71Cell(name.c_str(), nullptr);
        DropKV71Cell(nullptr, cell);
        EXPECT_EQ(FindKV71Cell(name.c_str()), cell);

        if (shutdown) {
            DoneKV71CellCache();
            EXPECT_EQ(KV71CellWorkBuffer(), nullptr);
        } else {
            FlushKV71CellCache(nullptr, 0);
        }
        EXPECT_EQ(KV71CellCacheList().count, 0u);
        EXPECT_EQ(KV71CurrentCell(), nullptr);
        EXPECT_EQ(FindKV71Cell(name.c_str()), nullptr);
        // Its holders still read it (the sanitizer would see a freed cell).
        EXPECT_EQ(objects[0].geometry.edgeRefs[0].edge->points[99].x, 99);

        // A new load of the name is a cell of its own.
        ASSERT_NE(load(name), nullptr);
        EXPECT_NE(KV71CurrentCell(), cell);
        DropKV71Cell(nullptr, cell); // not in the cache: left to its holders
        UnlockKV71Cell(cell);
        EXPECT_EQ(objects[0].geometry.edgeRefs[0].edge->count, 100);
        const std::uint64_t before = KV71CellMemoryUsed();
        UnlockKV71Cell(cell); // the last unlock frees it
        EXPECT_LT(KV71CellMemoryUsed(), before);
        FlushKV71CellCache(nullptr, 0);
        EXPECT_EQ(KV71CellMemoryUsed(), baseline);
    }
}

TEST_F(CellCache, RefusedAllocationsEvictUnlockedCellsFirst) {
    const std::string a = write(emptyCell(), 1), b = write(emptyCell(), 2),
                      c = write(cellOfPoints(10), 3);
    load(a);
    load(b);
    LockKV71Cell(FindKV71Cell(b.c_str()));
    const KV71CellHeap previous = SetKV71CellHeap(&refusingHeap);

    // Two refusals: A goes, B is locked, so the third request is refused
    // and the load fails cleanly.
    refusals = 2;
    EXPECT_EQ(load(c), nullptr);
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{b}));

    // One refusal with A back in the cache: A makes room and C loads.
    refusals = 0;
    load(a);
    refusals = 1;
    EXPECT_NE(load(c), nullptr);
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{b, c}));

    refusals = -1;
    int failed = 0;
    EXPECT_EQ(KV71CellAlloc(failed, 16), nullptr);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{b})); // C was evicted trying
    EXPECT_EQ(KV71CellAlloc(failed, 0), nullptr);
    EXPECT_EQ(failed, 0);
    refusals = 0;
    SetKV71CellHeap(&previous);
    UnlockKV71Cell(FindKV71Cell(b.c_str()));
}

TEST_F(CellCache, LimitsGrowAtInitialisationAndChangeOnlyAboveFourMiBAtFlush) {
    std::vector<std::string> notes;
    static std::vector<std::string>* seen;
    seen = &notes;
    const TraceHook previous = setTraceNoteHook([](const char* t) { seen->push_back(t); });
    const std::uint32_t start = KV71CellMemoryLimit();
    InitKV71CellCache(nullptr, start + 0x200000);
    EXPECT_EQ(notes, (std::vector<std::string>{"Loading S-57-datamodel...\n"}));
    EXPECT_NE(KV71CellWorkBuffer(), nullptr);
    InitKV71CellCache(nullptr, 0x1000);
    EXPECT_EQ(KV71CellMemoryLimit(), start + 0x200000);
    setTraceNoteHook(previous);

    struct Case {
        std::uint32_t flushLimit, expected;
    };
    const std::uint32_t current = start + 0x200000;
    const Case cases[] = {{0, current},
                          {4194304, current},
                          {4194305, 4194305},
                          {4194304, 4194305},
                          {9000000, 9000000}};
    for (const Case& c : cases) {
        FlushKV71CellCache(nullptr, c.flushLimit);
        EXPECT_EQ(KV71CellMemoryLimit(), c.expected) << c.flushLimit;
    }
    const std::string root = dir.path() + "/";
    FlushKV71CellCache("/elsewhere/", 0);
    EXPECT_STREQ(KV71ChartRoot(), "/elsewhere/");
    InitKV71CellCache(root.c_str(), 0);
    EXPECT_STREQ(KV71ChartRoot(), root.c_str());
    DoneKV71CellCache();
    EXPECT_EQ(KV71CellWorkBuffer(), nullptr);
}
