// Full chart views of the sample chart (data/sample/kv71 with data/dict and
// data/ECPALETT.INI) drawn as the navigation program's drawing pass draws
// them, through the chart view renderer (tools/chartview): warm, on one
// thread, with the map and the 1920 x 1080 raster device context made once.
// Each iteration fills the background, queries, draws every object and
// closes. Goal: under 16 ms per view.
//
// Views: the densest of the views centred on the corners of the level E
// cells (the view of kv71SampleView.cpp) as chart level 4 at 1:50,000, and
// the harbour at chart level 5 (1:15,000). Beside each: the query with
// geometry alone (same formula, presentation and rectangles) and the
// background fill alone, the floor. Counters of the drawing benchmarks:
// objects per view and what one pass drew, taken from the recording backend
// and the renderer trace. BM_ColdFirstView, registered first, times the
// first view of the process with the cell cache empty and the glyph caches
// cold. Skipped when the sample is not there.
#include "ChartPalette.h"
#include "ChartRenderer.h"
#include "SampleViews.h"

#include "gdb/GdbObject.h"
#include "gdb/TGdbQuery.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsFonts.h"
#include "kv71/TKV71Db.h"
#include "proj/MapObject.h"
#include "rendering/RendererTrace.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace chartview;

// Text and glyphs are measured and drawn only with a Qt GUI application;
// benchmark_main owns main, so each benchmark makes one (offscreen) in its
// setup and removes it in its teardown: an application left to the exit
// handlers would go after Qt's own statics.
QGuiApplication* application = nullptr;

void makeGui(const benchmark::State&) {
    static int argc = 1;
    static char name[] = "bench_chartView";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(argc, argv);
}

void dropGui(const benchmark::State&) {
    delete application;
    application = nullptr;
}

// One view with its raster device context, made once.
struct ViewAndDc {
    explicit ViewAndDc(const ViewSetup& setup, const PaletteFile& palette)
        : view(setup), image(setup.width, setup.height, QImage::Format_RGB32), dc(&image) {
        prepareDc(dc, view, makePalette(palette, SchemeDay));
    }
    ChartView view;
    QImage image;
    gdi::RasterDc dc;
};

// The engine, the palette and the two views; one chart database per process.
struct Sample {
    std::unique_ptr<ChartEngine> engine;
    PaletteFile palette;
    std::unique_ptr<ViewAndDc> dense, harbour;
    bool present = false;

    Sample() {
        const std::string data = DATA_DIR;
        if (!std::filesystem::exists(data + "/sample/kv71") ||
            !std::filesystem::exists(data + "/ECPALETT.INI"))
            return;
        engine = std::make_unique<ChartEngine>(data + "/dict", data + "/sample/kv71", 256ul << 20);
        palette = readPaletteFile(data + "/ECPALETT.INI");
        dense = std::make_unique<ViewAndDc>(densestLevelEView(*engine), palette);
        harbour = std::make_unique<ViewAndDc>(harbourView(), palette);
        present = true;
    }

    ViewAndDc& of(const benchmark::State& state) { return state.range(0) ? *harbour : *dense; }
};

Sample& sample() {
    static Sample s;
    return s;
}

const char* viewName(const benchmark::State& state) {
    return state.range(0) ? "harbour" : "dense level E";
}

// What one pass draws, from the recording backend and the renderer trace.
struct Drawn {
    long soundings = 0, glyphs = 0, texts = 0, styledLines = 0, areaPatterns = 0;
};

void traceInto(const RendererCall& call, void* user) {
    Drawn& d = *static_cast<Drawn*>(user);
    switch (call.kind) {
    case RendererCallKind::ComplexLine:
    case RendererCallKind::StyledLine:
    case RendererCallKind::RoundLine:
        ++d.styledLines;
        break;
    case RendererCallKind::ComplexArea:
        ++d.areaPatterns;
        break;
    case RendererCallKind::Area:
        if (call.style) ++d.areaPatterns;
        break;
    default:
        break;
    }
}

Drawn countDrawn(Sample& s, const ChartView& view) {
    Drawn d;
    gdi::RecordingDc dc(view.setup().width, view.setup().height);
    prepareDc(dc, view, makePalette(s.palette, SchemeDay));
    setRendererTrace(&traceInto, &d);
    drawChart(*s.engine, view, dc);
    setRendererTrace(nullptr, nullptr);
    // Each text call of the layer is one line "Text row=R pC (x,y) ...
    // codes=c1,c2,...": the font table row and the bytes.
    const int soundingRow = GD_FontChoice(-1).row, tenthsRow = GD_FontChoice(-2).row;
    const int symbolRows[] = {GD_FontChoice(33).row, GD_FontChoice(34).row, GD_FontChoice(35).row};
    std::istringstream in(dc.log());
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Text row=", 0) != 0) continue;
        const int row = std::atoi(line.c_str() + 9);
        const std::size_t at = line.find(" codes=");
        std::vector<int> codes;
        for (std::size_t i = at == std::string::npos ? line.size() : at + 7; i < line.size();) {
            codes.push_back(std::atoi(line.c_str() + i));
            const std::size_t comma = line.find(',', i);
            i = comma == std::string::npos ? line.size() : comma + 1;
        }
        const auto digit = [](int c) { return c >= '0' && c <= '9'; };
        if (row == symbolRows[0] || row == symbolRows[1] || row == symbolRows[2])
            ++d.glyphs;
        else if (row == soundingRow && !codes.empty() && (digit(codes[0]) || codes[0] == '-'))
            ++d.soundings; // the whole metres of a sounding
        else if (row == tenthsRow && !codes.empty() &&
                 std::all_of(codes.begin(), codes.end(), digit))
            continue; // the tenths beside a sounding's metres
        else
            ++d.texts;
    }
    return d;
}

// The first view of the process: the cell cache flushed after the views were
// chosen, the glyph caches not yet used.
void BM_ColdFirstView(benchmark::State& state) {
    const auto setupStart = std::chrono::steady_clock::now();
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/");
        return;
    }
    state.counters["setup_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - setupStart)
            .count();
    for (auto _ : state) {
        s.engine->database().flush();
        const auto start = std::chrono::steady_clock::now();
        const PassResult r = drawChart(*s.engine, s.dense->view, s.dense->dc);
        s.dense->dc.flush();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["objects"] = static_cast<double>(r.returned);
    }
}
BENCHMARK(BM_ColdFirstView)
    ->Setup(makeGui)
    ->Teardown(dropGui)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The whole view: background, query, every object drawn, close.
void BM_ChartView(benchmark::State& state) {
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/");
        return;
    }
    state.SetLabel(viewName(state));
    ViewAndDc& v = s.of(state);
    PassResult r = drawChart(*s.engine, v.view, v.dc); // warm the cells and glyphs
    v.dc.flush();
    for (auto _ : state) {
        r = drawChart(*s.engine, v.view, v.dc);
        v.dc.flush();
    }
    const Drawn d = countDrawn(s, v.view);
    state.counters["objects"] = static_cast<double>(r.returned);
    state.counters["drawn"] = static_cast<double>(r.drawn);
    state.counters["soundings"] = static_cast<double>(d.soundings);
    state.counters["glyphs"] = static_cast<double>(d.glyphs);
    state.counters["texts"] = static_cast<double>(d.texts);
    state.counters["styled_lines"] = static_cast<double>(d.styledLines);
    state.counters["area_patterns"] = static_cast<double>(d.areaPatterns);
}
BENCHMARK(BM_ChartView)
    ->Setup(makeGui)
    ->Teardown(dropGui)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// The query with geometry alone on the same view: the pass's formula at the
// level scale over the view, newMapObject over the context's rectangle.
void BM_QueryWithGeometry(benchmark::State& state) {
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/");
        return;
    }
    state.SetLabel(viewName(state));
    const ChartView& view = s.of(state).view;
    MapObject reuse(egtEmpty, -1);
    long objects = 0;
    for (auto _ : state) {
        GeoRect rect = view.queryRect();
        GeoRect window = view.contextRect();
        TGdbQuery query(s.engine->database());
        query.open(rect, view.scales().queryScale, &kPassFormula);
        objects = 0;
        while (GdbObject* o = query.next()) {
            ++objects;
            MapObject* m = o->newMapObject(view.map(), window, &reuse);
            if (m && m != &reuse) delete m;
        }
        query.close();
    }
    state.counters["objects"] = static_cast<double>(objects);
}
BENCHMARK(BM_QueryWithGeometry)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The background fill alone: the floor of a view.
void BM_BackgroundFill(benchmark::State& state) {
    Sample& s = sample();
    if (!s.present) {
        state.SkipWithError("no sample chart in data/");
        return;
    }
    ViewAndDc& v = *s.dense;
    for (auto _ : state) {
        fillBackground(v.dc, v.view);
        v.dc.flush();
    }
}
BENCHMARK(BM_BackgroundFill)->Unit(benchmark::kMillisecond);

} // namespace
