#include "runtime/TinyObjectAllocator.h"

#include "runtime/TLocker.h"

#include <cstdlib>
#include <mutex>
#include <type_traits>

namespace {

// A block: this header, then perBlock slots of the pool's object size. A free
// slot's first word points to the next free slot of its block.
struct TinyBlock {
    TinyBlock* next;
    std::uint32_t handedOut;
    void* freeHead;
};

// The slots start at a boundary the heap would give, so objects are at least
// pointer aligned.
constexpr std::size_t kHeaderSize =
    (sizeof(TinyBlock) + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);

constexpr std::uintptr_t kLowestObjectAddress = 0x10000;

// The chain of all pools. Both are constant-initialised, so pools may be
// created from any start-up routine; the mutex needs no destruction, so the
// release at unload may still use it.
TinyObjectAllocator* chainHead = nullptr;
std::mutex chainMutex;
static_assert(std::is_trivially_destructible_v<std::mutex>);

void* heapAlloc(std::size_t bytes) {
    return std::malloc(bytes);
}
void heapFree(void* block) {
    std::free(block);
}

char* slotsOf(TinyBlock* block) {
    return reinterpret_cast<char*>(block) + kHeaderSize;
}

bool isZero(const TinyObjectAllocator& p) {
    return p.size == 0 && p.perBlock == 0 && p.blockCount == 0 && p.blocks == nullptr &&
           p.locker == nullptr && p.allocBlock == nullptr && p.freeBlock == nullptr &&
           p.next == nullptr;
}

// Frees every block of every pool and leaves each pool unusable (object size
// 0). Runs at library unload, after the exit routines of default priority, so
// modules that still return objects from their own exit routines find their
// pools intact.
__attribute__((destructor(101))) void releaseTinyObjectPools() {
    std::lock_guard<std::mutex> chainGuard(chainMutex);
    for (TinyObjectAllocator* pool = chainHead; pool; pool = pool->next) {
        TOS::TLocker* locker = pool->locker;
        if (!locker) continue;
        locker->lock();
        auto* block = static_cast<TinyBlock*>(pool->blocks);
        while (block) {
            TinyBlock* next = block->next;
            pool->freeBlock(block);
            --pool->blockCount;
            block = next;
        }
        pool->blocks = nullptr;
        pool->size = 0;
        pool->perBlock = 0;
        pool->locker = nullptr;
        locker->unlock();
        delete locker;
    }
}

} // namespace

extern "C" {

std::uint32_t _nTinyObjectsPullSize = 256;

int CreateTinyObjectAllocator(TinyObjectAllocator* pool, std::uint32_t size, std::uint32_t perBlock,
                              TinyBlockAllocFn allocFn, TinyBlockFreeFn freeFn) {
    if (!pool || size == 0) return 0;
    constexpr std::uint64_t kWord = sizeof(void*);
    const std::uint64_t rounded = (std::uint64_t{size} + kWord - 1) / kWord * kWord;
    if (rounded > UINT32_MAX) return 0;
    const auto objectSize = static_cast<std::uint32_t>(rounded);

    std::lock_guard<std::mutex> chainGuard(chainMutex);
    if (!isZero(*pool)) return 0;
    pool->size = objectSize;
    pool->perBlock = perBlock != 0 ? perBlock : (objectSize < 512 ? 512 / objectSize : 32);
    pool->allocBlock = allocFn ? allocFn : &heapAlloc;
    pool->freeBlock = freeFn ? freeFn : &heapFree;
    pool->locker = new TOS::TLocker;
    pool->next = chainHead;
    chainHead = pool;
    return 1;
}

int DestroyTinyObjectAllocator(TinyObjectAllocator*) {
    return 1;
}

void* newTinyObject(TinyObjectAllocator* pool) {
    if (!pool || pool->size == 0 || !pool->locker) return nullptr;
    TOS::TLocker::TLock guard(pool->locker);

    TinyBlock* last = nullptr;
    auto* block = static_cast<TinyBlock*>(pool->blocks);
    while (block && !block->freeHead) {
        last = block;
        block = block->next;
    }
    if (!block) {
        const std::size_t slotBytes = std::size_t{pool->size} * pool->perBlock;
        block = static_cast<TinyBlock*>(pool->allocBlock(kHeaderSize + slotBytes));
        if (!block) return nullptr;
        ++pool->blockCount;
        block->next = nullptr;
        block->handedOut = 0;
        if (last) {
            last->next = block;
        } else {
            pool->blocks = block;
        }
        // Thread the slots in address order.
        char* slot = slotsOf(block);
        block->freeHead = slot;
        for (std::uint32_t i = 1; i < pool->perBlock; ++i) {
            *reinterpret_cast<void**>(slot) = slot + pool->size;
            slot += pool->size;
        }
        *reinterpret_cast<void**>(slot) = nullptr;
    }

    void* obj = block->freeHead;
    block->freeHead = *static_cast<void**>(obj);
    *static_cast<void**>(obj) = nullptr;
    ++block->handedOut;
    return obj;
}

void delTinyObject(TinyObjectAllocator* pool, void* obj) {
    if (!pool || pool->size == 0 || !pool->locker) return;
    const auto address = reinterpret_cast<std::uintptr_t>(obj);
    if (address < kLowestObjectAddress) return;
    TOS::TLocker::TLock guard(pool->locker);

    const std::uint64_t slotBytes = std::uint64_t{pool->size} * pool->perBlock;
    TinyBlock* prev = nullptr;
    auto* block = static_cast<TinyBlock*>(pool->blocks);
    std::uintptr_t offset = 0;
    while (block) {
        // Unsigned: an address below the slots wraps to a huge offset.
        offset = address - reinterpret_cast<std::uintptr_t>(slotsOf(block));
        if (offset < slotBytes) break;
        prev = block;
        block = block->next;
    }
    if (!block) return;
    // An address inside a slot is no object of ours; pushing it would corrupt
    // the free list.
    if (offset % pool->size != 0) return;
    if (block->handedOut == 0) return;

    --block->handedOut;
    *static_cast<void**>(obj) = block->freeHead;
    block->freeHead = obj;

    if (block->handedOut == 0 && pool->blockCount > 1) {
        if (prev) {
            prev->next = block->next;
        } else {
            pool->blocks = block->next;
        }
        --pool->blockCount;
        pool->freeBlock(block);
    }
}

} // extern "C"
