#include "runtime/TGList.h"
#include "runtime/TinyObjectAllocator.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace {

// Block functions that count their calls, so tests see every heap call.
std::atomic<int> blockAllocs{0}, blockFrees{0};
void* countingAlloc(std::size_t bytes) {
    ++blockAllocs;
    return std::malloc(bytes);
}
void countingFree(void* block) {
    ++blockFrees;
    std::free(block);
}

// A pool record is set up only once and stays on the chain of all pools until
// unload, so every test takes a fresh record from static storage.
TinyObjectAllocator* freshPool() {
    static TinyObjectAllocator records[64];
    static std::atomic<unsigned> used{0};
    const unsigned i = used++;
    if (i >= std::size(records)) std::abort();
    return &records[i];
}

TEST(TinyObjectAllocator, CreateRoundsSizesAndPicksBlockLengths) {
    struct Case {
        std::uint32_t size, perBlock;
        int result;
        std::uint32_t wantSize, wantPerBlock;
    } cases[] = {
        {1, 0, 1, 8, 64},                               // at least one pointer
        {12, 0, 1, 16, 32},                             // rounded up to the pointer size
        {20, 0, 1, 24, 21},        {504, 0, 1, 504, 1}, // below 512: 512 / size
        {512, 0, 1, 512, 32},                           // from 512 on: 32
        {600, 0, 1, 600, 32},      {20, 8, 1, 24, 8},   // an explicit block length stands
        {0, 0, 0, 0, 0},                                // size 0 refused
        {0xFFFFFFFFu, 0, 0, 0, 0},                      // rounding would overflow
    };
    for (const auto& c : cases) {
        TinyObjectAllocator* pool = freshPool();
        EXPECT_EQ(CreateTinyObjectAllocator(pool, c.size, c.perBlock, nullptr, nullptr), c.result)
            << c.size;
        EXPECT_EQ(pool->size, c.wantSize) << c.size;
        EXPECT_EQ(pool->perBlock, c.wantPerBlock) << c.size;
        EXPECT_EQ(pool->blockCount, 0u);
        EXPECT_EQ(pool->blocks, nullptr);
        EXPECT_EQ(pool->locker != nullptr, c.result == 1);
    }
    EXPECT_EQ(_nTinyObjectsPullSize, 256u);
    EXPECT_EQ(CreateTinyObjectAllocator(nullptr, 8, 0, nullptr, nullptr), 0);
}

TEST(TinyObjectAllocator, CreateRefusesARecordInUseAndLeavesIt) {
    TinyObjectAllocator* pool = freshPool();
    ASSERT_EQ(CreateTinyObjectAllocator(pool, 16, 4, nullptr, nullptr), 1);
    const TinyObjectAllocator before = *pool;
    EXPECT_EQ(CreateTinyObjectAllocator(pool, 32, 8, nullptr, nullptr), 0);
    EXPECT_EQ(std::memcmp(&before, pool, sizeof before), 0);

    TinyObjectAllocator* dirty = freshPool();
    dirty->blockCount = 1; // any non-zero word
    EXPECT_EQ(CreateTinyObjectAllocator(dirty, 16, 4, nullptr, nullptr), 0);
    EXPECT_EQ(dirty->size, 0u);
    EXPECT_EQ(dirty->locker, nullptr);
    EXPECT_EQ(DestroyTinyObjectAllocator(pool), 1);
    EXPECT_EQ(std::memcmp(&before, pool, sizeof before), 0);
}

TEST(TinyObjectAllocator, NotSetUpPoolsGiveNothing) {
    TinyObjectAllocator* pool = freshPool();
    EXPECT_EQ(newTinyObject(pool), nullptr);
    EXPECT_EQ(newTinyObject(nullptr), nullptr);
    int local = 0;
    delTinyObject(pool, &local);
    delTinyObject(nullptr, &local);
    EXPECT_EQ(pool->blockCount, 0u);
}

// One pool of 4 objects per block with counted heap calls.
class SmallPool : public ::testing::Test {
  protected:
    void SetUp() override {
        pool = freshPool();
        ASSERT_EQ(CreateTinyObjectAllocator(pool, 16, 4, &countingAlloc, &countingFree), 1);
        allocs0 = blockAllocs;
        frees0 = blockFrees;
    }
    int allocs() const { return blockAllocs - allocs0; }
    int frees() const { return blockFrees - frees0; }
    std::vector<void*> take(int n) {
        std::vector<void*> v;
        for (int i = 0; i < n; ++i) {
            void* p = newTinyObject(pool);
            EXPECT_NE(p, nullptr);
            v.push_back(p);
        }
        return v;
    }

    TinyObjectAllocator* pool = nullptr;
    int allocs0 = 0, frees0 = 0;
};

TEST_F(SmallPool, ObjectsAreDistinctZeroedAndComeFromBlocksOfFour) {
    std::vector<void*> objs = take(9);
    EXPECT_EQ(allocs(), 3);
    EXPECT_EQ(pool->blockCount, 3u);
    std::set<void*> distinct(objs.begin(), objs.end());
    EXPECT_EQ(distinct.size(), objs.size());
    for (void* p : objs) {
        EXPECT_EQ(*static_cast<void**>(p), nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % sizeof(void*), 0u);
        std::memset(p, 0xAB, pool->size); // whole slot is ours
    }
    for (void* p : objs)
        delTinyObject(pool, p);
}

TEST_F(SmallPool, EmptiedBlocksBeyondTheLastAreFreedAndSlotsReused) {
    std::vector<void*> first = take(4);
    std::vector<void*> second = take(1);
    ASSERT_EQ(allocs(), 2);

    // The second block's only object comes back: that block goes to the heap.
    delTinyObject(pool, second[0]);
    EXPECT_EQ(frees(), 1);
    EXPECT_EQ(pool->blockCount, 1u);

    // The first block empties: it is the only one, so it is kept.
    for (void* p : first)
        delTinyObject(pool, p);
    EXPECT_EQ(frees(), 1);
    EXPECT_EQ(pool->blockCount, 1u);

    // Its slots are handed out again before any new block is taken.
    std::vector<void*> again = take(4);
    EXPECT_EQ(allocs(), 2);
    EXPECT_EQ(std::set<void*>(again.begin(), again.end()),
              std::set<void*>(first.begin(), first.end()));

    // A freed slot in a full first block is found before a later block's.
    std::vector<void*> more = take(2);
    EXPECT_EQ(allocs(), 3);
    delTinyObject(pool, again[2]);
    EXPECT_EQ(newTinyObject(pool), again[2]);
    for (void* p : again)
        delTinyObject(pool, p);
    for (void* p : more)
        delTinyObject(pool, p);
    EXPECT_EQ(pool->blockCount, 1u);
}

TEST_F(SmallPool, ForeignAndInteriorAddressesChangeNothing) {
    std::vector<void*> objs = take(2);
    int onStack = 0;
    void* onHeap = std::malloc(64);
    char* obj = static_cast<char*>(objs[0]);
    void* foreign[] = {
        &onStack,
        onHeap,
        obj + 8,              // inside a slot, not its start
        obj - 8,              // inside the block header
        obj + 4 * pool->size, // just past the slot area
        reinterpret_cast<void*>(0x1000),
    };
    for (void* p : foreign)
        delTinyObject(pool, p);
    // An object of another pool is foreign too.
    TinyObjectAllocator* other = freshPool();
    ASSERT_EQ(CreateTinyObjectAllocator(other, 16, 4, nullptr, nullptr), 1);
    void* otherObj = newTinyObject(other);
    delTinyObject(pool, otherObj);

    // The block still has exactly two free slots, neither of them foreign.
    std::vector<void*> rest = take(2);
    EXPECT_EQ(allocs(), 1);
    for (void* p : rest) {
        EXPECT_TRUE(std::find(std::begin(foreign), std::end(foreign), p) == std::end(foreign));
        EXPECT_NE(p, otherObj);
        EXPECT_NE(p, objs[0]);
        EXPECT_NE(p, objs[1]);
    }
    take(1);
    EXPECT_EQ(allocs(), 2);
    std::free(onHeap);
    delTinyObject(other, otherObj);
}

TEST_F(SmallPool, FailedBlockAllocationGivesNullAndLeavesThePool) {
    TinyObjectAllocator* failing = freshPool();
    ASSERT_EQ(CreateTinyObjectAllocator(
                  failing, 8, 2, [](std::size_t) -> void* { return nullptr; }, &countingFree),
              1);
    EXPECT_EQ(newTinyObject(failing), nullptr);
    EXPECT_EQ(failing->blockCount, 0u);
    EXPECT_EQ(failing->blocks, nullptr);
}

TEST_F(SmallPool, SeveralThreadsAtOnce) {
    constexpr int kThreads = 4, kRounds = 4000;
    std::atomic<bool> clash{false};
    auto worker = [&](int id) {
        std::mt19937 rng(id);
        std::vector<std::uintptr_t*> held;
        for (int i = 0; i < kRounds; ++i) {
            if (held.empty() || rng() % 3 != 0) {
                auto* p = static_cast<std::uintptr_t*>(newTinyObject(pool));
                if (!p) {
                    clash = true;
                    return;
                }
                p[0] = 0;
                p[1] = static_cast<std::uintptr_t>(id) << 32 | static_cast<std::uintptr_t>(i);
                held.push_back(p);
            } else {
                const std::size_t k = rng() % held.size();
                std::uintptr_t* p = held[k];
                // Another thread handed the same slot out meanwhile?
                if ((p[1] >> 32) != static_cast<std::uintptr_t>(id)) clash = true;
                held.erase(held.begin() + static_cast<std::ptrdiff_t>(k));
                delTinyObject(pool, p);
            }
        }
        for (std::uintptr_t* p : held) {
            if ((p[1] >> 32) != static_cast<std::uintptr_t>(id)) clash = true;
            delTinyObject(pool, p);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(worker, t + 1);
    for (auto& t : threads)
        t.join();
    EXPECT_FALSE(clash);
    // Everything came back: only the one kept block remains.
    EXPECT_EQ(pool->blockCount, 1u);
    EXPECT_EQ(allocs() - frees(), 1);
}

TEST(TinyObjectAllocator, TheLinkPoolIsStartedWithTheLibrary) {
    EXPECT_EQ(TMSLink::TOAllocator.size, sizeof(TMSLink));
    EXPECT_EQ(TMSLink::TOAllocator.perBlock, 256u);
    void* link = newTinyObject(&TMSLink::TOAllocator);
    EXPECT_NE(link, nullptr);
    delTinyObject(&TMSLink::TOAllocator, link);
}

// The release at unload frees every block of every pool through the pool's
// own free function. Watched in a child process, whose unload is its exit.
void reportingFree(void* block) {
    static const char mark[] = "<freed>";
    (void)!write(2, mark, sizeof mark - 1);
    std::free(block);
}

TEST(TinyObjectAllocatorDeathTest, UnloadReleasesEveryBlock) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static TinyObjectAllocator pool;
            CreateTinyObjectAllocator(&pool, 8, 2, nullptr, &reportingFree);
            for (int i = 0; i < 5; ++i)
                newTinyObject(&pool); // three blocks
            std::fputs("<exit>", stderr);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "<exit><freed><freed><freed>$");
}

} // namespace
