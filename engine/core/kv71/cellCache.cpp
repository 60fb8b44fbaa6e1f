#include "kv71/cellCache.h"

#include "kv71/chartRoot.h"
#include "util/memoryWrappers.h"
#include "util/reportError.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// Each budget block starts with its total size (block + this prefix); the
// prefix keeps the caller's address aligned for any type.
constexpr std::size_t blockPrefix = alignof(std::max_align_t);

void* heapAllocate(std::size_t size) {
    return std::malloc(size);
}
void heapRelease(void* block) {
    std::free(block);
}

struct CellCache {
    TGeoCellList list;
    std::uint32_t limit = KV71DefaultCellMemory;
    std::uint64_t used = 0;
    TGeoCell* current = nullptr;
    void* workBuffer = nullptr;
    KV71CellHeap heap{&heapAllocate, &heapRelease};
};

CellCache& cache() {
    static CellCache value;
    return value;
}

std::uint32_t now() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

void freeCell(TGeoCell* cell) {
    if (cache().current == cell) cache().current = nullptr;
    FreeKV71CellTables(cell);
}

// Takes every cell out of the list: unlocked ones are freed, locked ones
// wait for their last unlock.
void dropAll() {
    CellCache& c = cache();
    while (TGeoCell* cell = c.list.head) {
        c.list.unlink(cell);
        if (cell->lockCount == 0) {
            freeCell(cell);
        } else {
            cell->detached = true;
        }
    }
    c.current = nullptr;
}

} // namespace

void TGeoCellList::append(TGeoCell* cell) {
    cell->next = nullptr;
    cell->prev = tail;
    if (tail) {
        tail->next = cell;
    } else {
        head = cell;
    }
    tail = cell;
    ++count;
}

void TGeoCellList::prepend(TGeoCell* cell) {
    cell->prev = nullptr;
    cell->next = head;
    if (head) {
        head->prev = cell;
    } else {
        tail = cell;
    }
    head = cell;
    ++count;
}

void TGeoCellList::unlink(TGeoCell* cell) {
    if (cell->prev) {
        cell->prev->next = cell->next;
    } else {
        head = cell->next;
    }
    if (cell->next) {
        cell->next->prev = cell->prev;
    } else {
        tail = cell->prev;
    }
    cell->next = cell->prev = nullptr;
    --count;
}

void InitKV71CellCache(const char* root, std::uint32_t memoryLimit) {
    CellCache& c = cache();
    traceNote("Loading S-57-datamodel...\n");
    if (memoryLimit > c.limit) c.limit = memoryLimit;
    if (!c.workBuffer) c.workBuffer = allocOrDie(KV71CellWorkBufferSize);
    if (root) SetKV71ChartRoot(root);
}

void FlushKV71CellCache(const char* root, std::uint32_t memoryLimit) {
    dropAll();
    if (memoryLimit > KV71FlushMinimumMemory) cache().limit = memoryLimit;
    if (root) SetKV71ChartRoot(root);
}

void DoneKV71CellCache() {
    dropAll();
    freeMem(cache().workBuffer);
    cache().workBuffer = nullptr;
}

void* KV71CellAlloc(int& failed, std::uint32_t size) {
    failed = 0;
    if (size == 0) return nullptr;
    CellCache& c = cache();
    const std::size_t total = std::size_t{size} + blockPrefix;
    void* block;
    while (!(block = c.heap.allocate(total))) {
        if (!EvictKV71Cell()) {
            failed = 1;
            return nullptr;
        }
    }
    std::memcpy(block, &total, sizeof total);
    c.used += total;
    while (c.used > c.limit && EvictKV71Cell()) {
    }
    return static_cast<char*>(block) + blockPrefix;
}

void KV71CellFree(void* address) {
    if (!address) return;
    CellCache& c = cache();
    char* block = static_cast<char*>(address) - blockPrefix;
    std::size_t total;
    std::memcpy(&total, block, sizeof total);
    c.used -= total;
    c.heap.release(block);
}

void FreeKV71CellTables(TGeoCell* cell) {
    if (!cell) return;
    for (void* table :
         {static_cast<void*>(cell->edgeRefs), static_cast<void*>(cell->attributeData),
          static_cast<void*>(cell->soundingPoints), static_cast<void*>(cell->soundings),
          static_cast<void*>(cell->edgePoints), static_cast<void*>(cell->edges),
          static_cast<void*>(cell->points), static_cast<void*>(cell->childRefs),
          static_cast<void*>(cell->objects), static_cast<void*>(cell->sorted),
          static_cast<void*>(cell->priorityIndex), static_cast<void*>(cell->header)})
        KV71CellFree(table);
    KV71CellFree(cell);
}

TGeoCell* FindKV71Cell(const char* name) {
    if (!name) return nullptr;
    CellCache& c = cache();
    for (TGeoCell* cell = c.list.head; cell; cell = cell->next) {
        if (std::strncmp(cell->name, name, sizeof cell->name) == 0) {
            cell->lastUse = now();
            c.list.unlink(cell);
            c.list.append(cell);
            return cell;
        }
    }
    return nullptr;
}

void DropKV71Cell(const char* name, TGeoCell* cell) {
    CellCache& c = cache();
    if (!cell) {
        if (!name) return;
        for (cell = c.list.head; cell; cell = cell->next)
            if (std::strncmp(cell->name, name, sizeof cell->name) == 0) break;
        if (!cell) return;
    } else {
        // Only a cell of the list: a detached one belongs to its last unlock.
        TGeoCell* member = c.list.head;
        while (member && member != cell)
            member = member->next;
        if (!member) return;
    }
    if (cell->lockCount != 0) return;
    c.list.unlink(cell);
    freeCell(cell);
}

int EvictKV71Cell() {
    CellCache& c = cache();
    for (TGeoCell* cell = c.list.head; cell; cell = cell->next) {
        if (cell->lockCount == 0) {
            c.list.unlink(cell);
            freeCell(cell);
            return 1;
        }
    }
    return 0;
}

void LockKV71Cell(TGeoCell* cell) {
    if (cell) ++cell->lockCount;
}

void UnlockKV71Cell(TGeoCell* cell) {
    if (!cell || cell->lockCount == 0) return;
    if (--cell->lockCount == 0 && cell->detached) freeCell(cell);
}

TGeoCell* KV71CurrentCell() {
    return cache().current;
}

void SetKV71CurrentCell(TGeoCell* cell) {
    cache().current = cell;
}

void AddKV71Cell(TGeoCell* cell) {
    cell->lastUse = now();
    cell->detached = false;
    cache().list.append(cell);
}

const TGeoCellList& KV71CellCacheList() {
    return cache().list;
}

std::uint32_t KV71CellMemoryLimit() {
    return cache().limit;
}

std::uint64_t KV71CellMemoryUsed() {
    return cache().used;
}

void* KV71CellWorkBuffer() {
    return cache().workBuffer;
}

KV71CellHeap SetKV71CellHeap(const KV71CellHeap* heap) {
    CellCache& c = cache();
    const KV71CellHeap previous = c.heap;
    c.heap =
        heap && heap->allocate && heap->release ? *heap : KV71CellHeap{&heapAllocate, &heapRelease};
    return previous;
}
