// One chart view queried as the drawing pass asks it, and its counters; shared
// by the chart view benchmarks (kv71Query.cpp, kv71SampleView.cpp).
#pragma once

#include "gdb/GdbObject.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "proj/Map.h"
#include "proj/MapObject.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace kv71view {

// The drawing pass's formula: all classes, ascending priorities.
inline const TGdbFormula drawing{0, 0xFFFFFFFFu, 0x0FFFFFFFu, 2, 1, 1, 0, nullptr, 0, nullptr, 0};

// One view over the map's window at 1:50,000: the objects answered and those
// with geometry (newMapObject into reuse, when geometry is asked for).
inline std::pair<long, long> view(TKV71Db& db, Map* map, bool geometry, MapObject& reuse) {
    TGdbQuery query(db);
    GeoRect window = map->window;
    query.open(window, 50000ul, &drawing);
    long objects = 0, drawn = 0;
    while (GdbObject* o = query.next()) {
        ++objects;
        if (geometry && o->newMapObject(map, window, &reuse)) ++drawn;
    }
    query.close();
    return {objects, drawn};
}

// Counters of the last view: objects and drawn per view, time per object.
inline void report(benchmark::State& state, std::pair<long, long> last) {
    state.counters["objects"] = static_cast<double>(last.first);
    state.counters["drawn"] = static_cast<double>(last.second);
    state.counters["per_object"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(last.first),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace kv71view
