// The process-wide cache of loaded KV71 cells.
//
// Cells stay in memory in one list, least recently used first, until the
// memory budget forces them out. Every table of a cell is allocated through
// the budget (KV71CellAlloc), so the budget counts all cell memory. A cell
// with a non-zero lock count is never freed: eviction passes it by, and a
// flush or shutdown takes it out of the list and leaves it to its last
// unlock.
//
// Nothing here is locked: the object iterator holds the process-wide
// cell-reader lock around each find-or-load; callers must not flush while
// another thread iterates.
#pragma once

#include "kv71/TGeoCell.h"

#include <cstddef>
#include <cstdint>

// Initial memory limit of the budget in bytes (1 MiB).
inline constexpr std::uint32_t KV71DefaultCellMemory = 0x100000;
// A flush sets a new limit only when it is above this (4 MiB).
inline constexpr std::uint32_t KV71FlushMinimumMemory = 0x400000;
// Size of the work buffer in bytes.
inline constexpr std::size_t KV71CellWorkBufferSize = 120000;

// Traces "Loading S-57-datamodel...\n" (traceNote), raises the limit to
// memoryLimit when that is larger (the limit never drops here), allocates
// the work buffer (once) and sets the chart root when root is not null.
void InitKV71CellCache(const char* root, std::uint32_t memoryLimit);

// Drops every cell; locked cells are taken out of the list and freed at
// their last unlock. A memoryLimit above 4 MiB replaces the limit (which may
// lower it; eviction then happens on the next allocation); root, when not
// null, becomes the chart root. The current cell is cleared.
void FlushKV71CellCache(const char* root, std::uint32_t memoryLimit);

// Drops every cell as a flush does and frees the work buffer. The limit is
// kept.
void DoneKV71CellCache();

// Budget allocation of size bytes, aligned for any type. Size 0 answers null
// with failed = 0. While the heap refuses, unlocked cells are evicted, least
// recently used first; when none is left, failed = 1 and null. After a
// successful allocation cells are evicted while the used total is above the
// limit and unlocked cells remain (so it can stay above the limit).
void* KV71CellAlloc(int& failed, std::uint32_t size);
// Frees a block of KV71CellAlloc; null is ignored.
void KV71CellFree(void* block);

// The cell of that exact name (case matters; names are upper case), made the
// most recently used and stamped with the time; null when not cached.
TGeoCell* FindKV71Cell(const char* name);

// Frees the cell (or, when cell is null, the first cell of that name from
// the least recently used end) when it is cached and unlocked; a locked cell
// stays. A null name with a null cell does nothing.
void DropKV71Cell(const char* name, TGeoCell* cell);

// Frees the least recently used unlocked cell: 1, or 0 when every cached
// cell is locked or the cache is empty.
int EvictKV71Cell();

// Lock counts: a locked cell is never freed. Unlocking a cell that a flush or
// shutdown took out of the cache frees it at the count's return to 0. A null
// cell is ignored; unlocking at 0 does nothing.
void LockKV71Cell(TGeoCell* cell);
void UnlockKV71Cell(TGeoCell* cell);

// The cell most recently found or loaded (null after a flush, or when that
// cell was freed). The object iterator sets it when it walks to another cell.
TGeoCell* KV71CurrentCell();
void SetKV71CurrentCell(TGeoCell* cell);

// Appends a loaded cell at the most recently used end; the reader's last step.
void AddKV71Cell(TGeoCell* cell);
// Frees every table of a cell that is in no list, then the record.
void FreeKV71CellTables(TGeoCell* cell);

// State, for the database and for tests.
const TGeoCellList& KV71CellCacheList();
std::uint32_t KV71CellMemoryLimit();
std::uint64_t KV71CellMemoryUsed(); // bytes, per-block overhead included
void* KV71CellWorkBuffer();         // null when not initialised

// The heap under the budget. Tests install one that refuses to see eviction
// at work; null restores malloc and free. Blocks may outlive the pair that
// allocated them, so release must free malloc's blocks (and allocate's must
// be malloc's). Answers the previous pair.
struct KV71CellHeap {
    void* (*allocate)(std::size_t size);
    void (*release)(void* block);
};
KV71CellHeap SetKV71CellHeap(const KV71CellHeap* heap);
