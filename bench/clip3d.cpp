// The 3D export of the sample chart of the Bergen approaches (data/sample/kv71,
// read with the dictionaries of data/dict): a 1920 x 1080 view (0.265 mm
// pixels) at the display scale of chart level index 4 (1:30,000, level E read
// at 1:50,000) and of index 5 (1:15,000, level F at 1:20,000), the densest of
// the views centred on the corners of the 1/3-degree grid over the sample,
// warm cell cache, written into a temporary folder. Counters: points per
// export and points per second. Skipped when the sample is not there.
#include "Clip3DExport.h"
#include "ViewerExchange.h"

#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "proj/newMap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct Level {
    int index;
    double levelScale, displayScale;
    int detailWord;
};
constexpr Level levels[] = {{4, 50000, 30000, 5}, {5, 20000, 15000, 6}};

struct Sample {
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TKV71Db> db;
    std::string folder;
    bool present = false;

    Sample() {
        const std::string root = std::string(DATA_DIR) + "/sample/kv71/";
        const std::string dict = std::string(DATA_DIR) + "/dict/";
        if (!std::filesystem::exists(root) || !std::filesystem::exists(dict + "KV71OBJ.DIC"))
            return;
        setenv("QT_QPA_PLATFORM", "offscreen", 0); // the busy cursor needs Qt
        std::string pattern = (std::filesystem::temp_directory_path() / "clip3d-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return;
        folder = pattern;
        std::filesystem::current_path(folder);
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", dict.c_str());
        db = std::make_unique<TKV71Db>(*dictionary, root.c_str(), 256ul << 20, nullptr);
        present = true;
    }
    ~Sample() {
        std::error_code ec;
        if (!folder.empty()) std::filesystem::remove_all(folder, ec);
    }

    ViewerExchangeInput input(const Level& level, double lon, double lat, Map*& map) {
        map = newMap(PRJ_MERCATOR, static_cast<std::uint32_t>(level.displayScale),
                     GeoPoint{deg2nrm(lon), deg2nrm(lat)}, 254, 143, 0, 0, nullptr);
        ViewerExchangeInput in;
        in.clientWidth = 1920;
        in.clientHeight = 1080;
        in.view = map->window;
        in.levelIndex = level.index;
        in.levelScale = level.levelScale;
        in.detailWord = level.detailWord;
        in.database = db.get();
        in.map = map;
        return in;
    }

    // The densest view of the level: the most points exported.
    ViewerExchangeInput densest(const Level& level, std::unique_ptr<Map>& keep) {
        long best = -1;
        ViewerExchangeInput bestInput;
        for (int lon = 13; lon <= 18; ++lon)
            for (int lat = 450; lat <= 453; ++lat) {
                Map* m = nullptr;
                ViewerExchangeInput in = input(level, lon / 3.0, lat / 3.0 - 90, m);
                std::unique_ptr<Map> owned(m);
                const long n = ExportClip3D(in.view, in.levelIndex, in);
                if (n > best) {
                    best = n;
                    bestInput = in;
                    keep = std::move(owned);
                }
            }
        return bestInput;
    }
};

Sample& sample() {
    static Sample s;
    return s;
}

void BM_Clip3DExport(benchmark::State& state) {
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/sample/kv71");
        return;
    }
    const Level& level = levels[state.range(0)];
    std::unique_ptr<Map> map;
    const ViewerExchangeInput in = s.densest(level, map);
    long points = ExportClip3D(in.view, in.levelIndex, in); // warm
    for (auto _ : state)
        points = ExportClip3D(in.view, in.levelIndex, in);
    state.counters["points"] = static_cast<double>(points);
    state.counters["points_per_second"] =
        benchmark::Counter(static_cast<double>(points) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.SetLabel("level index " + std::to_string(level.index));
}
BENCHMARK(BM_Clip3DExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
