// One chart view of the sample chart of the Bergen approaches
// (data/sample/kv71, read with the dictionaries of data/dict): a 1920 x 1080
// view at 1:50,000 (0.265 mm pixels), the densest of the views centred on the
// corners of the level E cells, queried with its geometry with warm caches
// and cold (the cell cache and catalogue flushed before each view).
// Skipped when the sample is not there. Counters as in kv71Query.cpp.
//
// A process has one chart root (the first database's), so the sample has a
// program of its own, apart from the written tree of kv71Query.cpp.
#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"

#include "kv71View.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace kv71view;

// The sample chart of the Bergen approaches with the project's dictionaries.
struct Sample {
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TKV71Db> db;
    std::unique_ptr<Map> map;
    bool present = false;

    static Map* viewAt(double lon, double lat) {
        return newMap(PRJ_MERCATOR, 50000, GeoPoint{deg2nrm(lon), deg2nrm(lat)}, 254, 143, 0, 0,
                      nullptr);
    }

    Sample() {
        const std::string root = std::string(DATA_DIR) + "/sample/kv71/";
        const std::string dict = std::string(DATA_DIR) + "/dict/";
        if (!std::filesystem::exists(root) || !std::filesystem::exists(dict + "KV71OBJ.DIC"))
            return;
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", dict.c_str());
        db = std::make_unique<TKV71Db>(*dictionary, root.c_str(), 256ul << 20, nullptr);
        // The densest view among views centred on the corners of the level E
        // cells (4.33-6.0 E, 60-61 N).
        long best = -1;
        for (int lon = 13; lon <= 18; ++lon)
            for (int lat = 450; lat <= 453; ++lat) {
                std::unique_ptr<Map> m(viewAt(lon / 3.0, lat / 3.0 - 90));
                TGdbQuery query(*db);
                GeoRect window = m->window;
                query.open(window, 50000ul, nullptr);
                long n = 0;
                while (query.next())
                    ++n;
                if (n > best) {
                    best = n;
                    map = std::move(m);
                }
            }
        present = best > 0;
    }
};

Sample& sample() {
    static Sample s;
    return s;
}

void BM_SampleView(benchmark::State& state) {
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/sample/kv71");
        return;
    }
    MapObject reuse(egtEmpty, -1);
    std::pair<long, long> last = view(*s.db, s.map.get(), true, reuse);
    for (auto _ : state)
        last = view(*s.db, s.map.get(), true, reuse);
    report(state, last);
}
BENCHMARK(BM_SampleView)->Unit(benchmark::kMillisecond);

// The cell cache and catalogue flushed before each view.
void BM_SampleColdView(benchmark::State& state) {
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/sample/kv71");
        return;
    }
    MapObject reuse(egtEmpty, -1);
    std::pair<long, long> last{0, 0};
    for (auto _ : state) {
        s.db->flush();
        last = view(*s.db, s.map.get(), true, reuse);
    }
    report(state, last);
}
BENCHMARK(BM_SampleColdView)->Unit(benchmark::kMillisecond);

} // namespace
