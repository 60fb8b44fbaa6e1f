// The tide dialog: opening one (the TideWave made and computed at 0.3 h for a
// day, and its graph drawn on a 600 x 400 raster picture), and the same with
// the dialog's window made and destroyed; the graph's repaint alone; and one
// mouse read-out through the window layer (WM_MOUSEMOVE to the graph, the
// time and height written into the dialog). Bergen, 21 June 2024, the sample
// tide data, the sample palette, Qt offscreen.
#include "TideWave.h"
#include "app/ViewerPalette.h"
#include "app/ViewerSettings.h"
#include "dialogs/TGraphWindow.h"
#include "dialogs/TTideDialog.h"
#include "gdi/RasterDc.h"
#include "os/Clock.h"
#include "ui/Application.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

const std::string kTides = DATA_DIR "/sample/tides";
constexpr short kLat = 3624, kLon = 319; // Bergen
const std::uint32_t kDate = 21 | 6 << 8 | 2024 << 16;

struct Setup {
    os::FakeClock clock;
    Setup() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("TZ", "Europe/Oslo", 1);
        tzset();
        ui::EnsureQtApplication();
        std::string dir = kTides;
        TD_LoadDataFiles(dir.data());
        ViewerSettings().tideDir = kTides;
        LoadPalettes(DATA_DIR);
        os::SystemTime now;
        now.year = 2024, now.month = 6, now.day = 21, now.hour = 10, now.minute = 15;
        clock.setNow(now);
    }
};
Setup& setup() {
    static Setup s;
    return s;
}

void BM_OpenTideCurveAndGraph(benchmark::State& state) {
    Setup& s = setup();
    QImage image(600, 400, QImage::Format_RGB32);
    gdi::RasterDc dc(&image);
    std::string dir = kTides;
    for (auto _ : state) {
        auto wave = std::make_unique<TideWave>(kLat, kLon, dir.data(), nullptr);
        wave->Calculate(0.3f, 21, 6, 2024);
        TGraphWindow graph(nullptr, 1401, wave.get(), &s.clock);
        graph.PaintGraph(dc, ui::TRect(0, 0, 600, 400));
        dc.flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OpenTideCurveAndGraph)->Unit(benchmark::kMicrosecond);

void BM_OpenTideDialogWindow(benchmark::State& state) {
    Setup& s = setup();
    ui::TWindow parent(nullptr);
    parent.Attr.W = 800;
    parent.Attr.H = 600;
    parent.Create();
    for (auto _ : state) {
        TTideDialog dialog(&parent, kLat, kLon, kDate, 0.3f, &s.clock);
        dialog.Create();
        benchmark::DoNotOptimize(dialog.GetSummerHour());
    }
}
BENCHMARK(BM_OpenTideDialogWindow)->Unit(benchmark::kMicrosecond);

void BM_GraphRepaint(benchmark::State& state) {
    Setup& s = setup();
    std::string dir = kTides;
    TideWave wave(kLat, kLon, dir.data(), nullptr);
    wave.Calculate(0.3f, 21, 6, 2024);
    TGraphWindow graph(nullptr, 1401, &wave, &s.clock);
    QImage image(600, 400, QImage::Format_RGB32);
    gdi::RasterDc dc(&image);
    for (auto _ : state) {
        graph.PaintGraph(dc, ui::TRect(0, 0, 600, 400));
        dc.flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_GraphRepaint)->Unit(benchmark::kMicrosecond);

void BM_MouseReadOut(benchmark::State& state) {
    Setup& s = setup();
    ui::TWindow parent(nullptr);
    parent.Create();
    TTideDialog dialog(&parent, kLat, kLon, kDate, 0.3f, &s.clock);
    dialog.Create();
    TGraphWindow* graph = dialog.GetGraph();
    int x = 5;
    for (auto _ : state) {
        graph->SendMessage(ui::WM_MOUSEMOVE, 0, ui::MAKELPARAM(x, 40));
        x = x < 400 ? x + 7 : 5;
    }
    char time[16] = {};
    dialog.GetDlgItemText(kTideCursorTime, time, sizeof time);
    if (!dialog.IsWindow() || time[0] == '\0') state.SkipWithError("no read-out was written");
}
BENCHMARK(BM_MouseReadOut)->Unit(benchmark::kMicrosecond);

} // namespace
