// Throughput of the inverse and direct geodetic problems, with GeographicLib's
// exact geodesic on the same pairs for comparison: each on its own, and the
// flat functions the programs call against GeographicLib in the same run
// (IPC/Inverse and DPC/Direct, throughput ratios).
#include "geo/GeoPoint.h"
#include "geo/geodesy.h"

#include "sameRun.h"

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

// Distance (nautical miles) and course (radians) of the i-th direct problem.
double distanceOf(std::size_t i) {
    return static_cast<double>(1 + (i & 63));
}
double courseOf(std::size_t i) {
    return static_cast<double>(i & 1023) * 0.00614;
}

constexpr double degreesPerUnit = 360.0 / 4294967296.0;
constexpr double degreesPerRadian = 57.29577951308232;

void GeographicLib_Direct(benchmark::State& state) {
    const auto& v = pairs();
    const auto& g = GeographicLib::Geodesic::WGS84();
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair& p = v[i++ & 4095];
        double lat2, lon2;
        g.Direct(p.p1.lat * degreesPerUnit, p.p1.lon * degreesPerUnit,
                 courseOf(i) * degreesPerRadian, distanceOf(i) * 1852.0, lat2, lon2);
        benchmark::DoNotOptimize(lat2);
        benchmark::DoNotOptimize(lon2);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GeographicLib_Direct);

// The flat DPC and GeographicLib's Direct on the same 4096 problems, in turn.
void DPC_vs_Direct(benchmark::State& state) {
    const auto& v = pairs();
    const auto& g = GeographicLib::Geodesic::WGS84();
    samerun::compare(
        state, v.size(), "DPC",
        [&] {
            for (std::size_t i = 0; i < v.size(); ++i) {
                GeoPoint to;
                DPC(&v[i].p1, &to, distanceOf(i), courseOf(i));
                benchmark::DoNotOptimize(to);
            }
        },
        "Direct",
        [&] {
            for (std::size_t i = 0; i < v.size(); ++i) {
                double lat2, lon2;
                g.Direct(v[i].p1.lat * degreesPerUnit, v[i].p1.lon * degreesPerUnit,
                         courseOf(i) * degreesPerRadian, distanceOf(i) * 1852.0, lat2, lon2);
                benchmark::DoNotOptimize(lat2);
                benchmark::DoNotOptimize(lon2);
            }
        });
}
BENCHMARK(DPC_vs_Direct);

// The flat IPC and GeographicLib's Inverse on the same 4096 pairs, in turn.
void IPC_vs_Inverse(benchmark::State& state) {
    const auto& v = pairs();
    const auto& g = GeographicLib::Geodesic::WGS84();
    samerun::compare(
        state, v.size(), "IPC",
        [&] {
            for (const Pair& p : v) {
                double d, c;
                IPC(&p.p1, &p.p2, &d, &c);
                benchmark::DoNotOptimize(d);
                benchmark::DoNotOptimize(c);
            }
        },
        "Inverse",
        [&] {
            for (const Pair& p : v) {
                double s12, azi1, azi2;
                g.Inverse(p.p1.lat * degreesPerUnit, p.p1.lon * degreesPerUnit,
                          p.p2.lat * degreesPerUnit, p.p2.lon * degreesPerUnit, s12, azi1, azi2);
                benchmark::DoNotOptimize(s12);
                benchmark::DoNotOptimize(azi1);
            }
        });
}
BENCHMARK(IPC_vs_Inverse);

} // namespace
