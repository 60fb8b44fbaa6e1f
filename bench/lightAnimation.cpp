// The chart window's light flash animation on the sample chart (data/sample/
// kv71 with data/dict and data/ECPALETT.INI), Qt offscreen, the program's
// frame around a chart window of 1920 x 1080 at chart level 5 over Bergen
// harbour (1:15,000, 96 pixels per inch), warm cells.
//
//   BM_Rebuild         the light table of the view built again (goal 2 ms)
//   BM_StepUnchanged   one step over 498 lights whose rhythm state does not
//                      change (goal 50 us)
//   BM_StepChanging    one step over 498 lights that all change: /0 draws
//                      the 498 marks on the window, /1 erases them from the
//                      chart picture (report)
#include "programFrame.h"

#include "chart/ChartWindowState.h"
#include "chart/LightAnimation.h"
#include "chart/TMapWindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kPixelsPerMetre = 3780;
constexpr double kLon = 5.30, kLat = 60.398;

struct Scene {
    benchframe::ProgramFrame frame{kWidth, kHeight};
    TMapWindow* window = nullptr;

    Scene() {
        window = new TMapWindow(*frame.client, "", 5, kLon, kLat);
        window->Create();
        window->ShowWindow(ui::SW_SHOW);
        window->KillTimer(kChartTimerId);
        QApplication::processEvents();
        TChartWindowState& s = ChartWindowState();
        s.followFlag = 0;
        ChartSettings().lightAnimation = 2;
        s.pixelsPerMetre = kPixelsPerMetre;
        s.screenWidthMm = 2 * int(std::ceil(kWidth / 2.0 * 1000 / kPixelsPerMetre));
        s.screenHeightMm = 2 * int(std::ceil(kHeight / 2.0 * 1000 / kPixelsPerMetre));
        window->Rescale(window->displayScale);
        QApplication::processEvents(); // the paint: memory picture 1
    }

    // 498 lights spread over the client, all round, own ship elsewhere; of
    // the one class, or of every class in turn.
    void fillTable(std::optional<std::uint8_t> rhythmClass, std::uint8_t bits) const {
        TLightAnimation& a = LightAnimation();
        ClearLightTable(a);
        for (int i = 0; i < kLightTableMax; ++i) {
            TLightEntry e;
            e.rhythmClass = rhythmClass.value_or(std::uint8_t(i % kRhythmClassCount));
            e.rhythmBits = bits;
            e.colourCode = std::uint8_t(1 + i % 4);
            e.x = 20 + (i * 37) % (kWidth - 40);
            e.y = 20 + (i * 53) % (kHeight - 40);
            AddLight(a, e);
        }
        ChartWindowState().ownShipClient = ClientPoint{kWidth / 2 + 3, kHeight / 2 + 3};
    }
};

Scene& scene() {
    static Scene* s = new Scene; // left to the process's end, after Qt's last use
    return *s;
}

void BM_Rebuild(benchmark::State& state) {
    Scene& s = scene();
    s.window->RebuildLightTable(); // the cells are loaded
    for (auto _ : state)
        s.window->RebuildLightTable();
    state.counters["lights"] = LightAnimation().count;
}
BENCHMARK(BM_Rebuild)->Unit(benchmark::kMillisecond);

void BM_StepUnchanged(benchmark::State& state) {
    Scene& s = scene();
    // Lights of every class and all bits, each already in its state at the
    // phases the step sees.
    s.fillTable(std::nullopt, 0xFF);
    TLightAnimation& a = LightAnimation();
    const std::array<std::uint8_t, kRhythmClassCount> phases{3, 5, 7, 11, 13, 17, 19, 23};
    for (int i = 0; i < a.count; ++i) {
        TLightEntry& e = a.entries[std::size_t(i)];
        e.lit = LightLitAt(e, phases) ? 1 : 0;
        e.drawn = e.lit;
    }
    for (auto _ : state) {
        a.phases = phases;
        s.window->StepLightAnimation();
    }
    state.counters["lights"] = a.count;
}
BENCHMARK(BM_StepUnchanged)->Unit(benchmark::kMicrosecond);

// Arg 0 times the steps that draw the 498 marks, 1 those that erase them;
// the steps between are left out of the time.
void BM_StepChanging(benchmark::State& state) {
    Scene& s = scene();
    // Class 0 with bits 8: dark at phase 0, lit at phase 1.
    s.fillTable(0, 8);
    TLightAnimation& a = LightAnimation();
    const bool erasing = state.range(0) != 0;
    for (auto _ : state) {
        if (erasing) {
            state.PauseTiming();
            a.phases[0] = 1;
            s.window->StepLightAnimation();
            state.ResumeTiming();
        }
        a.phases[0] = erasing ? 0 : 1;
        s.window->StepLightAnimation();
        if (!erasing) {
            state.PauseTiming();
            a.phases[0] = 0;
            s.window->StepLightAnimation();
            state.ResumeTiming();
        }
    }
    state.counters["lights"] = a.count;
}
BENCHMARK(BM_StepChanging)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
