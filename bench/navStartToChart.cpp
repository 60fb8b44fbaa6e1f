// The navigation program's start in process, Qt offscreen: from OwlMain on a
// prepared run folder to the chart window's first complete chart picture
// (the paint that drew the chart, copied it to the window and put own ship
// over it). The run folder is laid out as the main job lays it out: a drive
// folder c/ with KV71, RUNTIME/KV71ATTR and RUNTIME/TIDES linked to the
// sample data, the sample SOLVNV.INI and ECPALETT.INI, and the platform file
// under XDG_CONFIG_HOME mapping C: to the drive folder and COM1 to a
// pseudo-terminal the benchmark holds open. Goal: under 1 s, median of 5 with
// the files in the page cache (one start first, not counted, warms them and
// makes the user-object store in the run folder, as the user's first start
// does).
//
//   BM_StartToFirstChart   5 starts: their mean as the time, median_ms the
//                          median; first_ms the uncounted first start; the
//                          picture's client size, level and objects drawn
//
// Each start runs the whole of OwlMain: the settings, the presence lock, the
// application (palette, dictionary, presentation tables, chart database,
// tides), the frame with its MDI client and chart window, the ports; the
// picture ends the loop and the program stops as it does on quit.
#include "app/KVViewerApp.h"
#include "chart/ChartWindowState.h"
#include "chart/KVViewerMDIClient.h"
#include "chart/TMapWindow.h"
#include "ui/Application.h"
#include "ui/Modal.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kData = DATA_DIR;
using Clock = std::chrono::steady_clock;

// When the chart window finished its first complete chart picture, and what
// that picture held.
Clock::time_point firstPicture;
bool pictured = false;
int pictureWidth = 0, pictureHeight = 0, pictureLevel = -1;
long objectsDrawn = 0;

class TTimedChartWindow : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;
    // The paint's last step; the timer's calls come only after a picture.
    void DrawOwnShipOverlay(gdi::Dc& dc, int x, int y, bool newPosition) override {
        TMapWindow::DrawOwnShipOverlay(dc, x, y, newPosition);
        if (pictureCount > 0 && !pictured) {
            pictured = true;
            firstPicture = Clock::now();
            const ui::TRect client = GetClientRect();
            pictureWidth = client.Width();
            pictureHeight = client.Height();
            pictureLevel = levelIndex;
            objectsDrawn = lastChartPass.drawn;
            ui::PostQuitMessage(0);
        }
    }
};

// No box or dialog may wait for a user: any modal ends at once and spoils
// the figure.
struct TNoModals : ui::TModalRunner {
    std::string seen;
    int Run(ui::TModalTask& task) override {
        seen += (seen.empty() ? "" : "; ") + task.GetCaption() + ": " + task.GetText();
        return ui::IDCANCEL;
    }
};

struct RunFolder {
    fs::path path;
    int master = -1, slave = -1;

    RunFolder() {
        std::string pattern = (fs::temp_directory_path() / "navchart-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
        const fs::path c = path / "c";
        fs::create_directories(c / "RUNTIME");
        fs::create_directory_symlink(kData + "/sample/kv71", c / "KV71");
        fs::create_directory_symlink(kData + "/dict", c / "RUNTIME/KV71ATTR");
        fs::create_directory_symlink(kData + "/sample/tides", c / "RUNTIME/TIDES");
        fs::copy_file(kData + "/sample/setup/SOLVNV.INI", path / "SOLVNV.INI");
        fs::copy_file(kData + "/ECPALETT.INI", path / "ECPALETT.INI");
        char slaveName[128];
        if (::openpty(&master, &slave, slaveName, nullptr, nullptr) == 0)
            fs::create_symlink(slaveName, path / "gps");
        fs::create_directories(path / "config/solvanor");
        std::ofstream(path / "config/solvanor/platform.ini")
            << "[DRIVES]\nC=" << c.string() << "\n[PORTS]\nCOM1=" << (path / "gps").string()
            << "\n";
        // Before anything reads the platform file (once per process).
        setenv("XDG_CONFIG_HOME", (path / "config").c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        fs::current_path(path);
        ui::EnsureQtApplication();
        SetChartWindowFactory([](ui::TMDIClient& client, const char* title, int level, double lon,
                                 double lat) -> TMapWindow* {
            return new TTimedChartWindow(client, title, level, lon, lat);
        });
    }
    ~RunFolder() {
        SetChartWindowFactory(nullptr);
        fs::current_path(fs::temp_directory_path());
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

RunFolder& runFolder() {
    static RunFolder folder;
    return folder;
}

// One start to the first picture; the seconds it took, or -1. The first
// start in the folder makes the user-object store, with the boxes that say
// so; later ones may show none.
double startToFirstChart(std::string& failure, bool boxesAllowed = false) {
    ResetChartWindowState();
    pictured = false;
    TNoModals modals;
    ui::TModalRunner* before = ui::SetModalRunner(&modals);
    char name[] = "vardekka";
    char* argv[] = {name, nullptr};
    const Clock::time_point start = Clock::now();
    const int result = OwlMain(1, argv);
    ui::SetModalRunner(before);
    if (!modals.seen.empty() && !boxesAllowed)
        failure = "a modal came: " + modals.seen;
    else if (result != 0)
        failure = "the program ended with " + std::to_string(result);
    else if (!pictured)
        failure = "no chart picture";
    if (!failure.empty()) return -1;
    return std::chrono::duration<double>(firstPicture - start).count();
}

void BM_StartToFirstChart(benchmark::State& state) {
    runFolder();
    std::string failure;
    // The store made, and the files in the page cache.
    const double first = startToFirstChart(failure, true);
    if (first < 0) {
        state.SkipWithError(failure.c_str());
        return;
    }
    std::vector<double> ms;
    for (auto _ : state) {
        const double seconds = startToFirstChart(failure);
        if (seconds < 0) {
            state.SkipWithError(failure.c_str());
            return;
        }
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1000);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["min_ms"] = ms.front();
    state.counters["max_ms"] = ms.back();
    state.counters["first_ms"] = first * 1000; // the process's first start, the store made
    state.counters["width"] = pictureWidth;
    state.counters["height"] = pictureHeight;
    state.counters["level"] = pictureLevel;
    state.counters["drawn"] = double(objectsDrawn);
}
BENCHMARK(BM_StartToFirstChart)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace
