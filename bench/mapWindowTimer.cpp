// The chart window's timer on the sample chart (data/sample/kv71 with
// data/dict and data/ECPALETT.INI), Qt offscreen, the program's frame with
// its gadgets around a chart window of 1920 x 1080 at chart level 5 over
// Bergen harbour, own ship following in view; warm unless said otherwise.
//
//   BM_Tick            one tick with a new fix, no level request and no
//                      re-centre, the overlays drawing (the tick without
//                      them: goal 0.3 ms)
//   BM_AutoChartCheck  the automatic chart check: the seven probes at own
//                      ship, the probe at the view centre and the choice; /1
//                      with the cell cache emptied before each check (cold)
//   BM_Rescale         the re-scale without the repaint: the new Map, the
//                      gadget, the chart-data probe, the points (goal 3 ms)
//   BM_OwnShipUpdate   one own-ship overlay with a new position: the copy of
//                      picture 1 to picture 2, the symbol with its vector,
//                      the track piece, the copy to the window and the
//                      read-outs (goal 1 ms)
//   BM_PictureCopies   its two whole-picture copies alone
//   BM_TrackOverlay    the track overlay with 500 points in view into
//                      picture 1 (goal 0.2 ms)
//   BM_GridAndBorder   the grid and border scale into picture 1 under the
//                      chart mapping (goal 1 ms)
//
// The chart-data probes are the window's own (HasChartData). The paint after
// the set-up made the memory pictures and the read-out scale.
#include "programFrame.h"

#include "app/TMyFrame.h"
#include "app/ViewerModule.h"
#include "app/ViewerPalette.h"
#include "chart/ChartLevels.h"
#include "chart/ChartOverlays.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/MapWindowRules.h"
#include "chart/TMapWindow.h"
#include "kv71/TKV71Db.h"
#include "nmea/NavState.h"
#include "ui/Application.h"
#include "ui/Frame.h"
#include "ui/Screen.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr double kLon = 5.3205, kLat = 60.3975;

struct Scene {
    benchframe::ProgramFrame frame{kWidth, kHeight};
    chartview::ChartEngine* engine = frame.engine.get();
    TMapWindow* window = nullptr;

    Scene() {
        window = new TMapWindow(*frame.client, "", 5, kLon, kLat);
        window->Create();
        window->ShowWindow(ui::SW_SHOW);
        window->KillTimer(kChartTimerId);
        QApplication::processEvents();
        TChartWindowState& s = ChartWindowState();
        s.ownShip = window->centre;
        window->Rescale(window->displayScale);
        QApplication::processEvents();
        // The first ticks make the read-out panels.
        fix(0);
        window->EvTimer(kChartTimerId);
        window->EvTimer(kChartTimerId);
        QApplication::processEvents();
    }

    // A fix a pixel east or west of the view centre.
    void fix(int i) const {
        const GeoPoint g = GeoPointOf(*window->map, ChartPoint{i % 2 ? 1 : -1, 0});
        UpdateNavShared([&](NavShared& n) {
            n.nav.longitude = NrmToDegrees(g.lon) - 0.00001;
            n.nav.latitude = NrmToDegrees(g.lat) - 0.00006;
            n.nav.courseOverGround = 90;
            n.nav.speedOverGround = 2;
            n.nav.fixValid = 1;
            n.newFix = 1;
        });
    }
    void counters(benchmark::State& state) const {
        const ui::TRect r = window->GetClientRect();
        state.counters["width"] = r.Width();
        state.counters["height"] = r.Height();
    }
};

Scene& scene() {
    static Scene* s = new Scene; // left to the process's end, after Qt's last use
    return *s;
}

void BM_Tick(benchmark::State& state) {
    Scene& s = scene();
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.fix(i++);
        ChartWindowState().autoChartCounter = 0;
        state.ResumeTiming();
        s.window->EvTimer(kChartTimerId);
    }
    s.counters(state);
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

void BM_AutoChartCheck(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = *s.window;
    const TChartWindowState& st = ChartWindowState();
    const bool cold = state.range(0) != 0;
    int found = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            s.engine->database().flush();
            state.ResumeTiming();
        }
        std::array<bool, 7> atShip{};
        for (int level = 0; level < 7; ++level)
            atShip[std::size_t(level)] = w.HasChartData(level, st.ownShip);
        const TAutoChartChoice c = ChooseAutoChartLevel(
            w.levelIndex, atShip, [&] { return w.HasChartData(w.levelIndex, w.centre); },
            st.chartDataFlag != 0, st.autoChartRequest);
        found = 0;
        for (bool b : atShip)
            found += b;
        benchmark::DoNotOptimize(c);
    }
    state.counters["levelsWithData"] = found;
}
BENCHMARK(BM_AutoChartCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Rescale(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        s.window->Rescale(s.window->displayScale);
    s.counters(state);
}
BENCHMARK(BM_Rescale)->Unit(benchmark::kMillisecond);

void BM_OwnShipUpdate(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = *s.window;
    TChartWindowState& st = ChartWindowState();
    st.lastLoggedPoint = {st.ownShipClient.x - 60, st.ownShipClient.y + 40};
    s.fix(0);
    for (auto _ : state)
        w.DrawOwnShipOverlay(w.GetDC(), st.ownShipClient.x, st.ownShipClient.y, true);
    s.counters(state);
}
BENCHMARK(BM_OwnShipUpdate)->Unit(benchmark::kMicrosecond);

void BM_PictureCopies(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = *s.window;
    const ui::TRect client = w.GetClientRect();
    for (auto _ : state) {
        w.memPicture2->blit(0, 0, client.Width(), client.Height(), *w.memPicture1, 0, 0,
                            gdi::BlitOp::Copy);
        CopyToWindow(w.GetDC(), *w.memPicture2, client);
    }
    s.counters(state);
}
BENCHMARK(BM_PictureCopies)->Unit(benchmark::kMicrosecond);

void BM_TrackOverlay(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = *s.window;
    TChartWindowState& st = ChartWindowState();
    // 500 points on a zigzag across the view.
    for (int k = 0; k < kTrackRingSize; ++k) {
        const GeoPoint g = GeoPointOf(*w.map, ChartPoint{k * 3 - 750, (k % 50) * 8 - 200});
        st.trackRing[std::size_t(k)].lon = NrmToDegrees(g.lon);
        st.trackRing[std::size_t(k)].lat = NrmToDegrees(g.lat);
    }
    st.trackIndex = 0;
    int points = 0;
    for (auto _ : state) {
        const Point last = w.DrawTrackOverlay(*w.memPicture1, w.map.get(), true);
        benchmark::DoNotOptimize(last);
    }
    for (const auto& run : TrackRuns(st.trackRing, st.trackIndex, *w.map, w.GetClientRect()).runs)
        points += int(run.size());
    state.counters["points"] = points;
}
BENCHMARK(BM_TrackOverlay)->Unit(benchmark::kMicrosecond);

void BM_GridAndBorder(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = *s.window;
    const ui::TRect client = w.GetClientRect();
    const ClientPoint c = ClientCentre(client);
    gdi::RasterDc& picture = *w.memPicture1;
    picture.setMapping(gdi::Mapping::yUp(c.x, c.y));
    const ui::TRect view = ChartViewRect(client);
    for (auto _ : state)
        w.DrawGridAndBorder(picture, view);
    picture.setMapping(gdi::Mapping{});
    s.counters(state);
}
BENCHMARK(BM_GridAndBorder)->Unit(benchmark::kMicrosecond);

} // namespace
