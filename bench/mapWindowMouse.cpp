// The chart window's mouse on the sample chart (data/sample/kv71 with
// data/dict and data/ECPALETT.INI), Qt offscreen, the program's frame with
// its gadgets around a chart window of 1920 x 1080 over Bergen harbour; /0
// warm, /1 with the cell cache emptied before each run (cold).
//
//   BM_ZoomProbes      the chart-data probes of a zoom click at its most:
//                      levels 1 to 6 at a click in the harbour, every one
//                      run (each finds the coverage object); goal 10 ms warm
//   BM_ZoomInClick     a whole left click at level 5: the re-centre, the
//                      probe of level 6 and the level request it makes
//   BM_ShowObjectInfo  the look-up at the densest click of the harbour
//                      views (levels 0 to 6 searched on a 40-pixel grid at
//                      set-up): the query, the tree with its texts and the
//                      object dialog set up and closed at once; goal 20 ms
//                      warm
//   BM_MouseMove       one move at level 5: /0 no route placed (the bearing
//                      to the cursor), /2 placing a route of 100 points (the
//                      own-ship overlay with the route and its rubber band)
#include "programFrame.h"

#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "dialogs/TObjView.h"
#include "dialogs/TObjectInfoDialog.h"
#include "kv71/TKV71Db.h"
#include "nmea/NavState.h"
#include "ui/DialogTask.h"
#include "ui/Modal.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr double kLon = 5.3205, kLat = 60.3975;
constexpr int kZoomLevel = 5, kGrid = 40;
constexpr int kDensestFrom = 0, kDensestTo = 6;

int countNodes(const TObjView& node) {
    int n = 1;
    for (const auto& child : node.Children())
        n += countNodes(*child);
    return n;
}

// Every modal set up and closed at once; the object dialog's tree counted.
struct ClosingRunner : ui::TModalRunner {
    int nodes = 0;
    int Run(ui::TModalTask& task) override {
        if (task.GetKind() != ui::TModalTask::Kind::Dialog) return task.RunUnattended();
        auto& run = static_cast<ui::TDialogTask&>(task);
        if (!run.Begin()) return ui::IDCANCEL;
        if (auto* info = dynamic_cast<TObjectInfoDialog*>(&run.Dialog()))
            nodes = countNodes(info->Root());
        return run.End(ui::IDCANCEL);
    }
};

struct Scene {
    benchframe::ProgramFrame frame{kWidth, kHeight};
    chartview::ChartEngine* engine = frame.engine.get();
    ClosingRunner runner;
    TMapWindow* window = nullptr;
    int level = -1;
    // The densest look-up: its level, client point and nodes.
    int denseLevel = -1, denseNodes = 0;
    ui::TPoint densePoint;

    Scene() {
        ui::SetModalRunner(&runner);
        for (int l = kDensestFrom; l <= kDensestTo; ++l) {
            TMapWindow& w = at(l);
            ChartWindowState().followFlag = 0;
            const ui::TRect client = w.GetClientRect();
            for (int y = client.top + kGrid / 2; y < client.bottom; y += kGrid)
                for (int x = client.left + kGrid / 2; x < client.right; x += kGrid) {
                    runner.nodes = 0;
                    w.ShowObjectInfo(ui::TPoint(x, y));
                    if (runner.nodes > denseNodes) {
                        denseNodes = runner.nodes;
                        denseLevel = l;
                        densePoint = ui::TPoint(x, y);
                    }
                }
        }
    }

    // The window at a chart level over the harbour, own ship at the centre,
    // painted and ticked twice (the read-out panels are made).
    TMapWindow& at(int l) {
        if (level == l) return *window;
        delete window;
        window = new TMapWindow(*frame.client, "", l, kLon, kLat);
        level = l;
        window->Create();
        window->ShowWindow(ui::SW_SHOW);
        window->KillTimer(kChartTimerId);
        QApplication::processEvents();
        TChartWindowState& s = ChartWindowState();
        s.ownShip = window->centre;
        window->Rescale(window->displayScale);
        QApplication::processEvents();
        UpdateNavShared([&](NavShared& n) {
            n.nav.longitude = kLon;
            n.nav.latitude = kLat;
            n.nav.courseOverGround = 90;
            n.nav.speedOverGround = 2;
            n.nav.fixValid = 1;
            n.newFix = 1;
        });
        window->EvTimer(kChartTimerId);
        window->EvTimer(kChartTimerId);
        QApplication::processEvents();
        s.followFlag = 0;
        return *window;
    }
    void flushIf(benchmark::State& state, bool cold) const {
        if (!cold) return;
        state.PauseTiming();
        engine->database().flush();
        state.ResumeTiming();
    }
};

Scene& scene() {
    static Scene* s = new Scene; // left to the process's end, after Qt's last use
    return *s;
}

// A harbour point a quarter of the view up and left of the centre.
ui::TPoint harbourClick(const TMapWindow& w) {
    const ui::TRect r = w.GetClientRect();
    return ui::TPoint(r.Width() / 4, r.Height() / 4);
}

void BM_ZoomProbes(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = s.at(kZoomLevel);
    const ui::TPoint p = harbourClick(w);
    const ui::TRect client = w.GetClientRect();
    const GeoPoint at = GeoPointOf(*w.map, ToChart(ClientPoint{p.x, p.y}, client));
    int found = 0;
    for (auto _ : state) {
        s.flushIf(state, state.range(0) != 0);
        found = 0;
        for (int level = 1; level <= 6; ++level)
            found += w.HasChartData(level, at);
    }
    state.counters["levelsWithData"] = found;
}
BENCHMARK(BM_ZoomProbes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ZoomInClick(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = s.at(kZoomLevel);
    TChartWindowState& st = ChartWindowState();
    const ui::TPoint p = harbourClick(w);
    int request = kNoLevelRequest;
    for (auto _ : state) {
        s.flushIf(state, state.range(0) != 0);
        w.EvLButtonDown(ui::MK_LBUTTON, p);
        state.PauseTiming();
        request = st.levelRequest;
        st.levelRequest = kNoLevelRequest; // the MDI client would change level
        state.ResumeTiming();
    }
    state.counters["levelRequest"] = request;
}
BENCHMARK(BM_ZoomInClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MouseMove(benchmark::State& state) {
    Scene& s = scene();
    TMapWindow& w = s.at(kZoomLevel);
    TChartWindowState& st = ChartWindowState();
    const int routeState = int(state.range(0));
    const ui::TRect client = w.GetClientRect();
    const int placed = routeState == 2 ? 100 : 0;
    // 100 placed points on a zigzag across the view and the moving end.
    for (int k = 0; k <= placed && placed > 0; ++k) {
        RoutePoint& r = st.routePoints[std::size_t(k)];
        r.x = 100 + k * 17;
        r.y = 200 + (k % 2) * 400;
        const GeoPoint g = GeoPointOf(*w.map, ToChart(ClientPoint{r.x, r.y}, client));
        r.lon = g.lon;
        r.lat = g.lat;
    }
    st.routeState = routeState;
    st.routePointCount = placed > 0 ? placed + 1 : 0;
    w.editCount = placed;
    int i = 0;
    for (auto _ : state) {
        w.EvMouseMove(0, ui::TPoint(client.Width() / 2 + (i % 2 ? 7 : -7), client.Height() / 3));
        ++i;
    }
    st.routeState = 0;
    st.routePointCount = 0;
    w.editCount = 0;
    state.counters["routePoints"] = placed;
}
BENCHMARK(BM_MouseMove)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ShowObjectInfo(benchmark::State& state) {
    Scene& s = scene();
    if (s.denseLevel < 0) {
        state.SkipWithError("no chart objects under any click");
        return;
    }
    TMapWindow& w = s.at(s.denseLevel);
    for (auto _ : state) {
        s.flushIf(state, state.range(0) != 0);
        w.ShowObjectInfo(s.densePoint);
    }
    state.counters["level"] = s.denseLevel;
    state.counters["x"] = s.densePoint.x;
    state.counters["y"] = s.densePoint.y;
    state.counters["nodes"] = s.runner.nodes;
}
BENCHMARK(BM_ShowObjectInfo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
