// The navigation program's start on the sample data, from its settings to a
// ready chart database and tides: the palette, the dictionary, the
// presentation tables, the chart database and the nine tide ports (the
// KVViewerApp constructor), the first time in the process and warm; and the
// ordered release of them all.
#include "TideWave.h"
#include "app/KVViewerApp.h"
#include "app/ViewerPalette.h"
#include "app/ViewerSettings.h"
#include "os/instanceLocks.h"
#include "ui/Application.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const std::string kData = DATA_DIR;

// A run folder with the sample settings, made the current folder.
struct RunFolder {
    std::string path;
    RunFolder() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ui::EnsureQtApplication();
        std::string pattern = (std::filesystem::temp_directory_path() / "navstart-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? pattern : ".";
        std::ofstream(path + "/SOLVNV.INI")
            << "[DIRECTORY]\r\nKV71ROOT=" << kData << "/sample/kv71\r\n"
            << "[DICTIONARY]\r\nKV71ATTR.DIC=" << kData << "/dict\r\nTIDES=" << kData
            << "/sample/tides\r\n";
        std::filesystem::copy_file(kData + "/ECPALETT.INI", path + "/ECPALETT.INI");
        std::filesystem::current_path(path);
        LoadSettings();
    }
    ~RunFolder() {
        ViewerPresenceLock().release();
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

RunFolder& runFolder() {
    static RunFolder folder;
    return folder;
}

// The first start of the process (fonts and files not yet touched by it).
void BM_FirstStart(benchmark::State& state) {
    runFolder();
    for (auto _ : state) {
        auto app = std::make_unique<KVViewerApp>();
        benchmark::DoNotOptimize(app->GetChartDb());
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_StartToReadyChartDatabase(benchmark::State& state) {
    runFolder();
    const TViewerSettings settings = ViewerSettings();
    for (auto _ : state) {
        ViewerSettings() = settings;
        auto app = std::make_unique<KVViewerApp>();
        benchmark::DoNotOptimize(app->GetChartDb());
        if (!app->TidesAvailable() || TD_GetNumPorts() != 9 || !ProgramPalette())
            state.SkipWithError("the sample data did not load");
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToReadyChartDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReleaseInOrder(benchmark::State& state) {
    runFolder();
    const TViewerSettings settings = ViewerSettings();
    for (auto _ : state) {
        state.PauseTiming();
        ViewerSettings() = settings;
        auto app = std::make_unique<KVViewerApp>();
        state.ResumeTiming();
        app.reset();
    }
}
BENCHMARK(BM_ReleaseInOrder)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
