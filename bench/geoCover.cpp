// Throughput of GeoCover::add and GeoCover::sub on covers of 100 rectangles,
// with the cover nodes taken from the engine's pool and, for comparison, from
// plain new/delete; and the share of the time that node allocation takes.
//
// The benchmark stands in for newTinyObject and delTinyObject (the library
// binds them by name, so these definitions take their place): they count the
// calls and either pass them on to the pools or use new and delete.
#include "geo/GeoCover.h"
#include "runtime/TinyObjectAllocator.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

bool useHeap = false;
std::uint64_t allocations = 0;

using NewFn = void* (*)(TinyObjectAllocator*);
using DelFn = void (*)(TinyObjectAllocator*, void*);

NewFn poolNew() {
    static NewFn f = reinterpret_cast<NewFn>(dlsym(RTLD_NEXT, "newTinyObject"));
    return f;
}
DelFn poolDel() {
    static DelFn f = reinterpret_cast<DelFn>(dlsym(RTLD_NEXT, "delTinyObject"));
    return f;
}

} // namespace

extern "C" void* newTinyObject(TinyObjectAllocator* pool) {
    ++allocations;
    if (useHeap) return ::operator new(sizeof(LGeoRect), std::nothrow);
    return poolNew()(pool);
}

extern "C" void delTinyObject(TinyObjectAllocator* pool, void* obj) {
    if (useHeap)
        ::operator delete(obj);
    else
        poolDel()(pool, obj);
}

namespace {

// Ten by ten cells of 1 by 1 degree with gaps of a degree: 100 rectangles.
// `shift` moves the grid by a fraction of a cell, so that two grids overlap
// cell by cell and every add or sub splits rectangles.
GeoCover grid(long double shift) {
    GeoCover c;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            c.add(GeoRect{deg2nrm(2 * i + shift), deg2nrm(2 * j + shift),
                          deg2nrm(2 * i + 1 + shift), deg2nrm(2 * j + 1 + shift)});
    return c;
}

template <bool heap, bool subtract> void coverOp(benchmark::State& state) {
    useHeap = heap;
    {
        const GeoCover a = grid(0), b = grid(0.5L);
        std::uint64_t nodes = 0;
        for (auto _ : state) {
            state.PauseTiming();
            GeoCover c;
            c.copy(a);
            GeoCover other;
            other.copy(b);
            const std::uint64_t start = allocations;
            state.ResumeTiming();
            if (subtract)
                c.sub(other, 0);
            else
                c.add(other, 0);
            benchmark::DoNotOptimize(c.head);
            state.PauseTiming();
            nodes += allocations - start;
            c.clear();
            other.clear();
            state.ResumeTiming();
        }
        state.counters["nodes/op"] =
            benchmark::Counter(static_cast<double>(nodes) / state.iterations());
    }
    useHeap = false;
    state.SetItemsProcessed(state.iterations());
}

void CoverAdd_pool(benchmark::State& s) {
    coverOp<false, false>(s);
}
void CoverAdd_newDelete(benchmark::State& s) {
    coverOp<true, false>(s);
}
void CoverSub_pool(benchmark::State& s) {
    coverOp<false, true>(s);
}
void CoverSub_newDelete(benchmark::State& s) {
    coverOp<true, true>(s);
}
BENCHMARK(CoverAdd_pool);
BENCHMARK(CoverAdd_newDelete);
BENCHMARK(CoverSub_pool);
BENCHMARK(CoverSub_newDelete);

// One node taken and returned, as the cover operations do it: the cost that,
// times nodes/op, gives the allocation share of an operation.
void NodeCycle_pool(benchmark::State& state) {
    GeoCover keep = grid(0); // the pool has a block in use
    for (auto _ : state) {
        void* n = poolNew()(&LGeoRect::TOAllocator);
        benchmark::DoNotOptimize(n);
        poolDel()(&LGeoRect::TOAllocator, n);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NodeCycle_pool);

void NodeCycle_newDelete(benchmark::State& state) {
    for (auto _ : state) {
        void* n = ::operator new(sizeof(LGeoRect));
        benchmark::DoNotOptimize(n);
        ::operator delete(n);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NodeCycle_newDelete);

} // namespace
