// Soundings on the raster backend of a 1920 x 1080 view in the chart
// mapping, fonts warm: the sounding procedure over one sounding set of 1,000
// points (plain values, as the sample chart's soundings are), and the single
// text and glyph calls a sounding is made of.
#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "gdi/Mapping.h"
#include "gdi/RasterDc.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/GraphicsText.h"
#include "procedures/Int1Procs.h"
#include "procedures/SoundValue.h"
#include "proj/MapObject.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// Text is measured and drawn only with a Qt GUI application; each benchmark
// makes one (offscreen) in its setup and removes it in its teardown.
QGuiApplication* application = nullptr;

void makeGui(const benchmark::State&) {
    static int argc = 1;
    static char name[] = "bench_soundings";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(argc, argv);
}

void dropGui(const benchmark::State&) {
    delete application;
    application = nullptr;
}

bool guiReady(benchmark::State& state) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    state.SkipWithError("no Qt GUI application");
    return false;
}

// A 1920 x 1080 picture in the chart mapping, current in the graphics layer.
struct View {
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    gdi::RasterDc dc{&image};
    GeoRect rect{0, 0, 0, 0};
    TMapContext context{&dc, nullptr, rect, 0, EDetails(0), EPresMode(0)};
    View() {
        image.fill(0xFFFFFFFFu);
        dc.setMapping(gdi::Mapping::yUp(kWidth / 2, kHeight / 2));
        gdSetCurrentDc(&dc);
    }
    ~View() { gdSetCurrentDc(nullptr); }
};

// One sounding set of n points on a grid over the view, depths from 0.3 m
// to about 120 m in decimetres, a few whole metres among them.
std::unique_ptr<MapObject> soundingSet(int n) {
    auto m = std::make_unique<MapObject>(egtSoundings, -1);
    m->allocate(1, n);
    m->pointCounts[0] = n;
    m->extras = static_cast<std::int32_t*>(std::calloc(std::size_t(n), sizeof(std::int32_t)));
    for (int i = 0; i < n; ++i) {
        m->points[i] = {-900 + (i % 40) * 45, -500 + (i / 40) * 40};
        m->extras[i] = 3 + (i * 37) % 1200;
    }
    m->calcCover();
    return m;
}

void Soundings1000(benchmark::State& state) {
    if (!guiReady(state)) return;
    View view;
    GdbObject plain; // no attributes: plain values
    std::unique_ptr<MapObject> set = soundingSet(1000);
    Int1Proc147(&view.context, &plain, set.get()); // fonts and caches warm
    for (auto _ : state)
        Int1Proc147(&view.context, &plain, set.get());
    state.SetItemsProcessed(state.iterations() * 1000);
    state.counters["us_per_sounding"] = benchmark::Counter(
        double(state.iterations()) * 1000,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(Soundings1000)->Setup(makeGui)->Teardown(dropGui)->Unit(benchmark::kMillisecond);

// One call of the graphics layer, repeated at shifting places.
template <typename Call> void single(benchmark::State& state, int font, Call call) {
    if (!guiReady(state)) return;
    View view;
    GD_SelFont(font);
    call(0, 0); // warm
    int k = 0;
    for (auto _ : state) {
        call(-800 + (k % 80) * 20, -400 + (k / 80 % 40) * 20);
        ++k;
    }
}

void WriteTwoDigitsFontMinus1(benchmark::State& state) {
    single(state, -1, [](int x, int y) { GD_WriteXY(0, x, y, "12"); });
}
BENCHMARK(WriteTwoDigitsFontMinus1)
    ->Setup(makeGui)
    ->Teardown(dropGui)
    ->Unit(benchmark::kMicrosecond);

void CharOneDigitFontMinus2(benchmark::State& state) {
    single(state, -2, [](int x, int y) { GD_CharXY(0, x, y, '5'); });
}
BENCHMARK(CharOneDigitFontMinus2)->Setup(makeGui)->Teardown(dropGui)->Unit(benchmark::kMicrosecond);

void SymbolGlyphFont35(benchmark::State& state) {
    single(state, 35, [](int x, int y) { GD_CharXY(0, x, y, 83); });
}
BENCHMARK(SymbolGlyphFont35)->Setup(makeGui)->Teardown(dropGui)->Unit(benchmark::kMicrosecond);

// One sounding with its ring and background (a qualified value).
void OneQualifiedSounding(benchmark::State& state) {
    if (!guiReady(state)) return;
    View view;
    _DrawSoundValue(&view.context, 0, 0, 12.5f, 2, 3, 6, nullptr, 0);
    int k = 0;
    for (auto _ : state) {
        _DrawSoundValue(&view.context, -800 + (k % 80) * 20, -400 + (k / 80 % 40) * 20, 12.5f, 2, 3,
                        6, nullptr, 0);
        ++k;
    }
}
BENCHMARK(OneQualifiedSounding)->Setup(makeGui)->Teardown(dropGui)->Unit(benchmark::kMicrosecond);

} // namespace
