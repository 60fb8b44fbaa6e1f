// The renderers on the raster backend of a 1920 x 1080 view in the chart
// mapping, fonts warm: a four-element styled line along a 10,000-point
// polyline, a one-glyph area pattern over an area covering the whole view
// (whose time counts against the 16 ms of a full chart view), and a plain
// line of 100,000 points.
#include "context/TMapContext.h"
#include "gdi/Mapping.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "procedures/LineElementTemplates.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// Text and glyphs are measured and drawn only with a Qt GUI application;
// benchmark_main owns main, so each benchmark that draws text makes one
// (offscreen) in its setup and removes it in its teardown: an application
// left to the exit handlers would go after Qt's own statics.
QGuiApplication* application = nullptr;

void makeGui(const benchmark::State&) {
    static int argc = 1;
    static char name[] = "bench_renderers";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(argc, argv);
}

void dropGui(const benchmark::State&) {
    delete application;
    application = nullptr;
}

bool guiReady() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
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

// A line object of the given points, one part.
std::unique_ptr<MapObject> lineOf(const std::vector<Point>& points) {
    auto m = std::make_unique<MapObject>(egtLine, -1);
    m->allocate(1, static_cast<std::int32_t>(points.size()));
    m->pointCounts[0] = static_cast<std::int32_t>(points.size());
    std::copy(points.begin(), points.end(), m->points);
    m->calcCover();
    return m;
}

// A polyline meandering over the view in rows 30 pixels apart, points 5
// pixels apart with a small wiggle.
std::vector<Point> meander(int count) {
    std::vector<Point> v;
    int row = 0;
    while (static_cast<int>(v.size()) < count) {
        const int y = kHeight / 2 - 20 - (row * 30) % (kHeight - 40);
        for (int k = 0; k < 360 && static_cast<int>(v.size()) < count; ++k) {
            const int x = (row % 2 == 0) ? -900 + 5 * k : 900 - 5 * k;
            v.push_back({x, y + static_cast<int>(std::lround(3 * std::sin(k * 0.7)))});
        }
        ++row;
    }
    return v;
}

void StyledLine10kPoints(benchmark::State& state) {
    if (!guiReady()) {
        state.SkipWithError("no Qt GUI application");
        return;
    }
    View view;
    const std::vector<Point> points = meander(10000);
    TLineMarker* t = LineElementTemplates.data();
    t[2].count = 40;
    t[2].colour = 14;
    t[6].count = 6;
    t[34].count = 1;
    t[9].count = 1;
    TStyledLine style{0, 4, {&t[2], &t[6], &t[34], &t[9]}, &t[0]};
    std::vector<Point> copy = points;
    PLComplexLine(&style, copy.data(), static_cast<int>(copy.size())); // fonts warm
    for (auto _ : state)
        PLComplexLine(&style, copy.data(), static_cast<int>(copy.size()));
    state.SetItemsProcessed(state.iterations() * 10000);
    RestoreLineElementTemplates();
}
BENCHMARK(StyledLine10kPoints)->Setup(makeGui)->Teardown(dropGui)->Unit(benchmark::kMillisecond);

// An area just larger than the view with a jagged coast-like outline of
// about 800 points, clockwise with y up.
std::unique_ptr<MapObject> viewArea() {
    std::vector<Point> ring;
    const int w = kWidth / 2 + 10, h = kHeight / 2 + 10;
    const auto jag = [](int k) { return static_cast<int>(std::lround(8 * std::sin(k * 1.3))); };
    for (int k = 0; k <= 200; ++k)
        ring.push_back({-w + jag(k), -h + k * (2 * h) / 200});
    for (int k = 1; k <= 200; ++k)
        ring.push_back({-w + k * (2 * w) / 200, h + jag(k)});
    for (int k = 1; k <= 200; ++k)
        ring.push_back({w + jag(k), h - k * (2 * h) / 200});
    for (int k = 1; k < 200; ++k)
        ring.push_back({w - k * (2 * w) / 200, -h + jag(k)});
    ring.push_back(ring.front());
    auto m = std::make_unique<MapObject>(egtArea, -1);
    m->allocate(1, static_cast<std::int32_t>(ring.size()));
    m->pointCounts[0] = static_cast<std::int32_t>(ring.size());
    std::copy(ring.begin(), ring.end(), m->points);
    m->calcCover();
    return m;
}

// Glyphs one pattern draws, counted on a recording context.
int glyphsDrawn(TStyledArea& style, MapObject& area) {
    gdi::RecordingDc dc(kWidth, kHeight);
    dc.setMapping(gdi::Mapping::yUp(kWidth / 2, kHeight / 2));
    gdSetCurrentDc(&dc);
    GeoRect rect{0, 0, 0, 0};
    TMapContext context(&dc, nullptr, rect, 0, EDetails(0), EPresMode(0));
    PLComplexArea(&context, &style, &area);
    gdSetCurrentDc(nullptr);
    std::istringstream log(dc.log());
    int n = 0;
    for (std::string line; std::getline(log, line);)
        n += line.rfind("Text", 0) == 0;
    return n;
}

void GlyphPatternFullView(benchmark::State& state) {
    if (!guiReady()) {
        state.SkipWithError("no Qt GUI application");
        return;
    }
    std::unique_ptr<MapObject> area = viewArea();
    TLineMarker glyph = LineElementTemplates[45];
    glyph.colour = 5;
    TStyledArea style{static_cast<std::int32_t>(state.range(0)), 1, {&glyph}};
    const int glyphs = glyphsDrawn(style, *area);
    View view;
    PLComplexArea(&view.context, &style, area.get()); // fonts warm
    for (auto _ : state)
        PLComplexArea(&view.context, &style, area.get());
    state.counters["glyphs"] = glyphs;
}
BENCHMARK(GlyphPatternFullView)
    ->Arg(0)
    ->Arg(1)
    ->Setup(makeGui)
    ->Teardown(dropGui)
    ->Unit(benchmark::kMillisecond);

void SimpleLine100kPoints(benchmark::State& state) {
    View view;
    std::unique_ptr<MapObject> line = lineOf(meander(100000));
    for (auto _ : state)
        prSimpleLine(&view.context, line.get(), 0, 1, 0);
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(SimpleLine100kPoints)->Unit(benchmark::kMillisecond);

} // namespace
