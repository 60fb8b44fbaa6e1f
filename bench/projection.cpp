// Throughput of the chart projection: positions to plane points in the
// table form (the drawing pass's road) and in the exact form, and the
// projection and clipping of a large closed ring into a MapObject.
#include "geo/GeoPoint.h"
#include "geo/TGeoPolygone.h"
#include "proj/MapObject.h"
#include "proj/Mercator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// Positions scattered over a window of about 1.5 degrees round 59.5 N.
std::vector<GeoPoint> scatter(std::size_t n) {
    std::mt19937 rng(7);
    std::vector<GeoPoint> v(n);
    for (auto& p : v)
        p = {deg2nrm(10.75) + static_cast<std::int32_t>(rng() % 0x02000000u) - 0x01000000,
             deg2nrm(59.5) + static_cast<std::int32_t>(rng() % 0x01000000u) - 0x00800000};
    return v;
}

void run(benchmark::State& state, int halfH) {
    Mercator map(50000, GeoPoint{deg2nrm(10.75), deg2nrm(59.5)}, 150, halfH, 0, 0, nullptr);
    const std::vector<GeoPoint> in = scatter(4096);
    std::vector<Point> out(in.size());
    for (auto _ : state) {
        map.Geo2Map(in.data(), out.data(), static_cast<int>(in.size()));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(in.size()));
    state.SetLabel(map.usesTable() ? "table form" : "exact form");
}

void Geo2MapTable(benchmark::State& state) {
    run(state, 100);
}
BENCHMARK(Geo2MapTable);

void Geo2MapExact(benchmark::State& state) {
    run(state, 2000000); // the window reaches the poles
}
BENCHMARK(Geo2MapExact);

// A closed ring of 10,000 points, a wobbly circle larger than the window, so
// that it is cut on every side.
void ProjectAndClipRing(benchmark::State& state) {
    Mercator map(50000, GeoPoint{deg2nrm(10.75), deg2nrm(59.5)}, 150, 100, 0, 0, nullptr);
    const int n = 10000;
    std::vector<Point> plane(n + 1);
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n, r = 5500 + 800 * std::sin(37 * a);
        plane[i] = {static_cast<std::int32_t>(r * std::cos(a)),
                    static_cast<std::int32_t>(r * std::sin(a) * 0.7)};
    }
    plane[n] = plane[0];
    std::vector<GeoPoint> ring(plane.size());
    map.Map2Geo(plane.data(), ring.data(), static_cast<int>(plane.size()));
    TGeoPolygone poly;
    for (const GeoPoint& p : ring) {
        auto* node = static_cast<TLGeoPoint*>(newTinyObject(&TLGeoPoint::TOAllocator));
        if (!node) {
            state.SkipWithError("no point node left in the pool");
            return;
        }
        *node = TLGeoPoint{nullptr, p};
        if (poly.tail)
            poly.tail->next = node;
        else
            poly.head = node;
        poly.tail = node;
        ++poly.count;
    }
    std::int64_t kept = 0;
    for (auto _ : state) {
        MapObject o(&map, map.window, poly, 1);
        kept = o.partCount ? o.pointCounts[0] : 0;
        benchmark::DoNotOptimize(o.points);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(ring.size()));
    state.counters["clipped points"] = static_cast<double>(kept);
}
BENCHMARK(ProjectAndClipRing);

} // namespace
