// The registry of shared identity window transforms: a map built without a
// window transform takes a reference-counted entry whose map pointer is that
// map, so several holders of one map share one entry.
//
// Entries come from the pool TLMapWin::TOAllocator (8 objects per block),
// started with the library. The registry is guarded by its own lock.
#pragma once

#include "proj/Map.h"
#include "runtime/TinyObjectAllocator.h"

#include <cstdint>

// One registry entry: an identity Map::Win with its registry link and its
// reference count.
class TLMapWin : public Map::Win {
  public:
    explicit TLMapWin(Map* m) : Map::Win(m) {}

    TLMapWin* next = nullptr;
    std::int32_t count = 1;

    static TinyObjectAllocator TOAllocator;
};

// The entry whose map is m gets its count increased; otherwise a new entry
// with count 1 is appended. Returns its Map::Win part; null for a null map or
// when the pool is exhausted.
Map::Win* acquireMapWin(Map* m);

// The registry entry holding win, or null (also for null).
TLMapWin* isMapWinRegistered(const Map::Win* win);

// 0 when win is not registered. Else its count is decreased; at 0 the entry
// is unlinked, its map pointer cleared (the map is not deleted with it) and
// it goes back to the pool. Returns 1.
int releaseMapWin(Map::Win* win);

// Number of registry entries (diagnostics and tests).
std::uint32_t registeredMapWinCount();
