// The chart window's paint on the sample chart (data/sample/kv71 with
// data/dict, data/ECPALETT.INI and the sample tides), Qt offscreen: the
// window's client is 1920 x 1080 over the densest view of bench/chartView.cpp
// (chart level 4 at 1:50,000), warm unless said otherwise.
//
//   BM_FullRepaint       a paint with the picture out of date (goal 16 ms)
//   BM_UpToDateRepaint   a paint with nothing changed: one copy (goal 2 ms)
//   BM_Split/<part>      the full repaint's parts on their own: 0 the fill,
//                        1 DrawChart, 2 the grid and the tide marks, 3 the
//                        overlays, 4 the copy to the window
//   BM_LevelChange       a level request carried out at idle (SelectLevel),
//                        the view re-scaled and the picture on the window,
//                        between levels 4 and 5 at their own scales around
//                        the densest view's centre (goal 30 ms); /1 with the
//                        cell cache emptied before each change (cold cells)
//   BM_SchemeChange      an illumination scheme chosen (SelectScheme) and
//                        the picture drawn again, between day and dusk, at
//                        the densest view
//
// After SelectLevel (whose re-scale makes a Map of the screen's size) the
// benchmark makes the view's Map of the client's size at its own pixels per
// metre, as its figures always had it, and asks for the paint. The chart
// window's timer is stopped and it opens no user-object store.
#include "ChartRenderer.h"
#include "SampleViews.h"

#include "TideWave.h"
#include "app/ViewerPalette.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/KVViewerMDIClient.h"
#include "chart/TMapWindow.h"
#include "kv71/TKV71Db.h"
#include "proj/newMap.h"
#include "ui/Application.h"
#include "ui/Frame.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kPixelsPerMetre = 3780;

struct Scene {
    std::unique_ptr<ui::TApplication> app;
    std::unique_ptr<chartview::ChartEngine> engine;
    KVViewerMDIClient* client = nullptr;
    TMapWindow* window = nullptr;
    chartview::ViewSetup view;

    Scene() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ui::EnsureQtApplication();
        app = std::make_unique<ui::TApplication>();
        engine =
            std::make_unique<chartview::ChartEngine>(DATA_DIR "/dict", DATA_DIR "/sample/kv71");
        SetChartDatabase(&engine->database());
        LoadPalettes(DATA_DIR);
        std::string tides = DATA_DIR "/sample/tides/";
        TD_LoadDataFiles(tides.data());
        TChartWindowState& s = ChartWindowState();
        for (int i = 0; i <= 18; ++i)
            s.displayCategories[std::size_t(i)] = 1;
        s.tideFlag = 2;
        s.chartDataFlag = 1;
        s.pixelsPerMetre = kPixelsPerMetre;

        ChartWindowCalls().makeStore = [](TMapWindow&) -> ui::TWindow* { return nullptr; };
        client = new KVViewerMDIClient(nullptr);
        auto* frame = new ui::TDecoratedMDIFrame("Solvanor V lite", 0, *client);
        frame->Attr.W = kWidth;
        frame->Attr.H = kHeight;
        app->SetMainWindow(frame);
        frame->Create();
        frame->ShowWindow(ui::SW_SHOWNORMAL);
        QApplication::processEvents();
        // The frame grown by what it takes around the client.
        const ui::TRect c = client->GetClientRect();
        frame->MoveWindow(0, 0, 2 * kWidth - c.Width(), 2 * kHeight - c.Height(), true);
        QApplication::processEvents();
        window = client->GetChartWindow();
        window->KillTimer(kChartTimerId);
        s.pixelsPerMetre = kPixelsPerMetre; // the window's set-up measured the screen
        s.followFlag = 0; // a level change keeps the view's centre, not own ship's

        view = chartview::densestLevelEView(*engine);
        densest();
    }

    // Level index 4 at the densest view's scale and centre, painted.
    void densest() {
        client->SelectLevel(115);
        window->displayScale = view.displayScale;
        window->centre = GeoPoint{deg2nrm(view.lonDeg), deg2nrm(view.latDeg)};
        rescale();
        paint();
    }

    // The view's Map at the window's display scale, as the re-scale makes it.
    void rescale() {
        const ui::TRect r = window->GetClientRect();
        const int halfW = int(std::ceil(r.Width() / 2.0 * 1000 / kPixelsPerMetre));
        const int halfH = int(std::ceil(r.Height() / 2.0 * 1000 / kPixelsPerMetre));
        window->map.reset(newMap(PRJ_MERCATOR, std::uint32_t(std::lround(window->displayScale)),
                                 window->centre, halfW, halfH, kPixelsPerMetre, kPixelsPerMetre,
                                 nullptr));
        ChartWindowState().pictureUpToDate = 0;
    }
    void paint() {
        window->Invalidate(true);
        window->UpdateWindow();
    }
    void counters(benchmark::State& state) const {
        const ui::TRect r = window->GetClientRect();
        state.counters["width"] = r.Width();
        state.counters["height"] = r.Height();
        state.counters["objects"] = double(window->lastChartPass.drawn);
    }
};

Scene& scene() {
    static Scene* s = new Scene; // left to the process's end, after Qt's last use
    return *s;
}

void BM_FullRepaint(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        ChartWindowState().pictureUpToDate = 0;
        s.paint();
    }
    s.counters(state);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_UpToDateRepaint(benchmark::State& state) {
    Scene& s = scene();
    ChartWindowState().pictureUpToDate = 0;
    s.paint();
    ChartWindowState().pictureUpToDate = 1;
    for (auto _ : state)
        s.paint();
    ChartWindowState().pictureUpToDate = 0;
    s.counters(state);
}
BENCHMARK(BM_UpToDateRepaint)->Unit(benchmark::kMillisecond);

void BM_Split(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = *s.window;
    ChartWindowState().pictureUpToDate = 0;
    s.paint();
    gdi::RasterDc& picture = *w.memPicture1;
    const ui::TRect client = w.GetClientRect();
    const ui::TRect view = ChartViewRect(client);
    const gdi::Mapping chart =
        gdi::Mapping::yUp((client.Width() + 1) / 2, (client.Height() + 1) / 2);
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            picture.setMapping(chart);
            picture.fillRect(view.left, view.top, view.right, view.bottom,
                             gdi::Brush::solid(gdi::paletteIndex(9)));
            break;
        case 1:
            picture.setMapping(chart);
            w.DrawChart(w.levelScale, w.displayScale, w.levelIndex, w.map.get(), picture, view);
            break;
        case 2:
            picture.setMapping(chart);
            w.DrawGridAndBorder(picture, view);
            DrawTideMarks(picture, w.map.get(), view, w.displayScale);
            break;
        case 3:
            picture.setMapping(gdi::Mapping{});
            w.DrawTrackOverlay(picture, w.map.get(), true);
            w.DrawUserObjectOverlay(picture);
            w.DrawOwnShipOverlay(w.GetDC(), 0, 0, false);
            break;
        default:
            w.GetDC().blit(0, 0, client.Width(), client.Height(), picture, 0, 0, gdi::BlitOp::Copy);
            break;
        }
        picture.flush();
    }
    picture.setMapping(gdi::Mapping{});
    s.counters(state);
}
BENCHMARK(BM_Split)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_LevelChange(benchmark::State& state) {
    Scene& s = scene();
    const bool cold = state.range(0) != 0;
    int level = 5;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            s.engine->database().flush();
            state.ResumeTiming();
        }
        ChartWindowState().levelRequest = level;
        s.app->RunIdle();
        s.rescale();
        s.paint();
        level = level == 5 ? 4 : 5;
    }
    s.counters(state);
}
BENCHMARK(BM_LevelChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SchemeChange(benchmark::State& state) {
    Scene& s = scene();
    s.densest();
    ui::UINT scheme = 103;
    for (auto _ : state) {
        s.client->SelectScheme(scheme);
        s.paint();
        scheme = scheme == 103 ? 102 : 103;
    }
    s.client->SelectScheme(102);
    s.counters(state);
}
BENCHMARK(BM_SchemeChange)->Unit(benchmark::kMillisecond);

} // namespace
