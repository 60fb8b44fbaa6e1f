// The sample chart (data/sample/kv71 with data/dict) for the chart window's
// tests: while it lives the windows draw from it.
#pragma once

#include "chart/ChartPainting.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"

#include <memory>

namespace charttest {

// The sample chart with the engine's presentation library; the windows draw
// from it while it lives.
struct SampleChart {
    TKV71Dictionary dictionary{"KV71Dictionary", DATA_DIR "/dict/"};
    TPresLib presentation{&dictionary, "INT1Pres", DATA_DIR "/dict/"};
    std::unique_ptr<TKV71Db> database;
    SampleChart() {
        dictionary.SetPresentation(&presentation);
        database =
            std::make_unique<TKV71Db>(dictionary, DATA_DIR "/sample/kv71", 64ul << 20, nullptr);
        SetChartDatabase(database.get());
    }
    ~SampleChart() {
        SetChartDatabase(nullptr);
        database.reset();
        dictionary.SetPresentation(nullptr);
    }
    SampleChart(const SampleChart&) = delete;
    SampleChart& operator=(const SampleChart&) = delete;
};

} // namespace charttest
