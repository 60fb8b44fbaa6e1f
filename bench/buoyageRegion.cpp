// The buoyage region query of a lateral buoy that carries no region, run by
// itself at the positions of the sample chart's buoys (data/sample/kv71,
// read with the dictionaries and look-up tables of data/dict) in a view of
// 1920 x 1080 pixels at 1:50,000 (level E), caches warm. It runs once for
// every such buoy drawn. Skipped when the sample is not there.
#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/BuoyageRegion.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Sample {
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TPresLib> presentation;
    std::unique_ptr<TKV71Db> db;
    std::unique_ptr<Map> map;
    GeoRect rect{0, 0, 0, 0};
    // Window points of the buoys (codes 15 to 20 and 200) in the view.
    std::vector<Point> buoys;

    Sample() {
        const std::string root = std::string(DATA_DIR) + "/sample/kv71/";
        const std::string dict = std::string(DATA_DIR) + "/dict/";
        if (!std::filesystem::exists(root) || !std::filesystem::exists(dict + "KV71OBJ.DIC"))
            return;
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", dict.c_str());
        presentation = std::make_unique<TPresLib>(dictionary.get(), "INT1Pres", dict.c_str());
        dictionary->SetPresentation(presentation.get());
        db = std::make_unique<TKV71Db>(*dictionary, root.c_str(), 256ul << 20, nullptr);
        // The harbour and its approaches, 1920 x 1080 pixels of 0.265 mm.
        map.reset(newMap(PRJ_MERCATOR, 50000, GeoPoint{deg2nrm(5.28), deg2nrm(60.41)}, 254, 143, 0,
                         0, nullptr));
        rect = map->window;

        static const std::uint32_t codes[] = {15, 16, 17, 18, 19, 20, 200};
        const TGdbFormula buoysOnly{0, 0xFFFFFFFFu, 0xFFFFFFFFu, -1,      -1, 1,
                                    7, codes,       0,           nullptr, 1};
        TGdbQuery query(*db);
        query.open(rect, 50000ul, &buoysOnly);
        MapObject reuse(egtEmpty, -1);
        while (GdbObject* o = query.next())
            if (MapObject* g = o->newMapObject(map.get(), rect, &reuse); g && g->type == egtPoint) {
                Point p{g->bounds.left, g->bounds.top};
                map->win->Map2Win(&p, &p, 1);
                buoys.push_back(p);
            }
        query.close();
    }
    ~Sample() {
        db.reset();
        if (dictionary) dictionary->SetPresentation(nullptr);
    }
};

Sample& sample() {
    static Sample s;
    return s;
}

void BM_BuoyageRegion(benchmark::State& state) {
    Sample& s = sample();
    if (s.buoys.empty()) {
        state.SkipWithError("no sample chart (or no buoy in view) in data/sample/kv71");
        return;
    }
    TMapContext context(nullptr, s.map.get(), s.rect, 0, EDetails(0), EPresMode(0));
    unsigned found = 0;
    for (const Point& p : s.buoys) // warm the cells
        found += BuoyageRegionAt(&context, s.db.get(), p) != 0;
    for (auto _ : state)
        for (const Point& p : s.buoys)
            benchmark::DoNotOptimize(BuoyageRegionAt(&context, s.db.get(), p));
    state.counters["buoys"] = static_cast<double>(s.buoys.size());
    state.counters["with_region"] = found;
    state.counters["per_buoy"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(s.buoys.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BuoyageRegion)->Unit(benchmark::kMicrosecond);

} // namespace
