// Pools of small fixed-size objects (list links, cover and polygon nodes,
// map-window records): one heap call per block of objects instead of one per
// object.
//
// Declaring a pool: a TinyObjectAllocator with static storage duration (a
// static data member `TOAllocator` of the pooled class, or a namespace-scope
// variable). Such a record is zero before any code of the library runs, so it
// is valid at every moment, whatever order the start-up routines run in.
//
// Starting a pool: call CreateTinyObjectAllocator once, from the component's
// explicit start-up — a function marked __attribute__((constructor)) in the
// component's source file, or a function-local static that runs on first use.
// Never from the initialiser of a global object. CreateTinyObjectAllocator
// needs nothing else started before it. Example:
//
//     TinyObjectAllocator TLGeoPoint::TOAllocator; // zero until started
//     namespace {
//     __attribute__((constructor)) void startGeoPools() {
//         CreateTinyObjectAllocator(&TLGeoPoint::TOAllocator, sizeof(TLGeoPoint),
//                                   _nTinyObjectsPullSize, nullptr, nullptr);
//     }
//     } // namespace
//
// The runtime's own pools (TMSLink::TOAllocator and a spare link pool) start
// at constructor priority 101, before every start-up of default priority, so
// those may already take links.
//
// Stopping: a component's exit routine calls DestroyTinyObjectAllocator,
// which does nothing. The blocks of every pool are released by one routine at
// library unload that runs after all exit routines of default priority; after
// it a pool has object size 0, so a late newTinyObject gives null and a late
// delTinyObject does nothing.
//
// Thread safety: newTinyObject and delTinyObject hold the pool's own lock for
// their whole work; no lock is taken across two pools. Pool creation is
// serialised by the lock of the chain of all pools.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TOS {
class TLocker;
}

extern "C" {

// Allocates a block of the given number of bytes; null when out of memory.
typedef void* (*TinyBlockAllocFn)(std::size_t bytes);
// Frees a block that the matching allocate function gave.
typedef void (*TinyBlockFreeFn)(void* block);

// The pool record. All fields are zero until CreateTinyObjectAllocator fills
// them; callers read them only to observe a pool (tests, diagnostics).
struct TinyObjectAllocator {
    std::uint32_t size;       // object (slot) size in bytes, a multiple of the pointer size
    std::uint32_t perBlock;   // objects per block
    std::uint32_t blockCount; // blocks allocated and not yet freed
    void* blocks;             // head of the block list (blocks in allocation order)
    TOS::TLocker* locker;     // the pool's own lock
    TinyBlockAllocFn allocBlock;
    TinyBlockFreeFn freeBlock;
    TinyObjectAllocator* next; // next pool in the chain of all pools
};

// Objects per block of the pools of the system: 256.
extern std::uint32_t _nTinyObjectsPullSize;

// Sets up a pool. Returns 0 and changes nothing unless every field of *pool
// is zero and size != 0 (so a pool is never set up twice). The object size
// becomes size rounded up to a multiple of the pointer size, at least one
// pointer (size 1 gives 8 bytes on 64-bit); slots are aligned to the pointer
// size. perBlock 0 gives 512 / object size when the object size is below
// 512, else 32. Null functions give the heap's malloc and free. The pool gets
// its own lock and joins the chain of all pools; no block is allocated yet.
// Returns 1. Object sizes whose rounding would pass 2^32 - 1 give 0.
int CreateTinyObjectAllocator(TinyObjectAllocator* pool, std::uint32_t size, std::uint32_t perBlock,
                              TinyBlockAllocFn allocFn, TinyBlockFreeFn freeFn);

// Returns 1 and changes nothing: blocks are released only at library unload.
int DestroyTinyObjectAllocator(TinyObjectAllocator* pool);

// Takes one object of the pool's object size from the first block with a free
// slot, allocating a new block (appended at the end of the block list) when
// every block is full. The object's first pointer-sized word is zero, the rest
// of it undefined. Null for a null or not set up pool, or when a block cannot
// be allocated (the pool is then unchanged).
void* newTinyObject(TinyObjectAllocator* pool);

// Returns an object to its pool. Does nothing for a null or not set up pool,
// an address below 0x10000, an address that lies in no block of this pool,
// or an address inside a block that is not the start of a slot. A block whose
// last object comes back is freed, unless it is the pool's only block.
// Returning an object twice is not detected.
void delTinyObject(TinyObjectAllocator* pool, void* obj);
}
