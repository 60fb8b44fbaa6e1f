// Throughput of the inverse and direct geodetic problems, with GeographicLib's
// exact geodesic on the same pairs for comparison.
#include "geo/GeoPoint.h"
#include "geo/geodesy.h"

#include <GeographicLib/Geodesic.hpp>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Pair {
    GeoPoint p1, p2;
};

const std::vector<Pair>& pairs() {
    static const std::vector<Pair> all = [] {
        std::mt19937 rng(1);
        std::vector<Pair> v(4096);
        for (auto& p : v) {
            auto lat = [&] { return static_cast<std::int32_t>(rng() % 0x70000000u) - 0x38000000; };
            p.p1 = {static_cast<std::int32_t>(rng()), lat()};
            p.p2 = {static_cast<std::int32_t>(rng()), lat()};
        }
        return v;
    }();
    return all;
}

void IPC_longDouble(benchmark::State& state) {
    const auto& v = pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        long double d, c;
        const Pair& p = v[i++ & 4095];
        IPC(p.p1, p.p2, d, c);
        benchmark::DoNotOptimize(d);
        benchmark::DoNotOptimize(c);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IPC_longDouble);

void DPC_longDouble(benchmark::State& state) {
    const auto& v = pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair& p = v[i++ & 4095];
        GeoPoint to = DPC(p.p1, 1 + (i & 63), (i & 1023) * 0.00614L);
        benchmark::DoNotOptimize(to);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DPC_longDouble);

void GeographicLib_Inverse(benchmark::State& state) {
    const auto& v = pairs();
    const auto& g = GeographicLib::Geodesic::WGS84();
    const double k = 360.0 / 4294967296.0;
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair& p = v[i++ & 4095];
        double s12, azi1, azi2;
        g.Inverse(p.p1.lat * k, p.p1.lon * k, p.p2.lat * k, p.p2.lon * k, s12, azi1, azi2);
        benchmark::DoNotOptimize(s12);
        benchmark::DoNotOptimize(azi1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GeographicLib_Inverse);

} // namespace
