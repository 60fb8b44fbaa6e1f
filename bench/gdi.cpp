// Raster backend of the graphics device layer on a 1920 x 1080 picture: one-pixel
// line segments, filled 20-point polygons (solid, and with an area pattern in two
// passes), a full-picture fill as the floor to compare against, and the copy of
// a whole memory picture onto it (plain, and through a clip region, which takes
// the pixel loop).
#include "gdi/RasterDc.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/GraphicsPrimitives.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

struct Picture {
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    gdi::RasterDc dc{&image};
    Picture() { image.fill(0xFFFFFFFFu); }
};

// Segments of up to 100 pixels in every direction, inside the picture.
const std::vector<gdi::XY>& segmentEnds() {
    static const std::vector<gdi::XY> ends = [] {
        std::mt19937 rng(7);
        std::vector<gdi::XY> v;
        for (int i = 0; i < 100000; ++i) {
            const int x = int(rng() % (kWidth - 100)) + 50, y = int(rng() % (kHeight - 100)) + 50;
            v.push_back({x, y});
            v.push_back({x + int(rng() % 101) - 50, y + int(rng() % 101) - 50});
        }
        return v;
    }();
    return ends;
}

// Star-shaped polygons of 20 points, 10 to 40 pixels across.
const std::vector<Point>& polygonPoints() {
    static const std::vector<Point> pts = [] {
        std::mt19937 rng(11);
        std::vector<Point> v;
        for (int i = 0; i < 10000; ++i) {
            const int cx = int(rng() % (kWidth - 100)) + 50, cy = int(rng() % (kHeight - 100)) + 50;
            for (int k = 0; k < 20; ++k) {
                const double a = k * 2 * 3.14159265358979 / 20;
                const double r = 5 + double(rng() % 16);
                v.push_back({cx + int(r * std::cos(a)), cy + int(r * std::sin(a))});
            }
        }
        return v;
    }();
    return pts;
}

void OnePixelSegments100k(benchmark::State& state) {
    Picture pic;
    pic.dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 1, gdi::rgb(200, 0, 0)});
    const auto& ends = segmentEnds();
    for (auto _ : state) {
        for (std::size_t i = 0; i < ends.size(); i += 2) {
            pic.dc.moveTo(ends[i].x, ends[i].y);
            pic.dc.lineTo(ends[i + 1].x, ends[i + 1].y);
        }
        pic.dc.flush();
    }
}
BENCHMARK(OnePixelSegments100k)->Unit(benchmark::kMillisecond);

void FilledPolygons10k(benchmark::State& state) {
    Picture pic;
    gdSetCurrentDc(&pic.dc);
    GD_SetAreaPattern(short(state.range(0)));
    auto& pts = const_cast<std::vector<Point>&>(polygonPoints());
    for (auto _ : state) {
        for (std::size_t i = 0; i < pts.size(); i += 20)
            GD_Polygon(3, 20, &pts[i]);
        pic.dc.flush();
    }
    GD_SetAreaPattern(0);
    gdSetCurrentDc(nullptr);
}
// Argument: 0 solid, 8 the two-pass area pattern.
BENCHMARK(FilledPolygons10k)->Arg(0)->Arg(8)->Unit(benchmark::kMillisecond);

void FullPictureFill(benchmark::State& state) {
    Picture pic;
    int i = 0;
    for (auto _ : state) {
        pic.dc.fillRect(0, 0, kWidth, kHeight, gdi::Brush::solid(gdi::rgb(0, 0, i++ & 255)));
        pic.dc.flush();
    }
}
BENCHMARK(FullPictureFill)->Unit(benchmark::kMillisecond);

// Argument: 0 a plain copy (whole rows), 1 the same copy under a clip region
// of the whole picture (each pixel tested).
void FullPictureCopy(benchmark::State& state) {
    Picture pic;
    auto memory = gdi::RasterDc::createCompatible(&pic.dc);
    memory->selectBitmap(gdi::Bitmap::colour(kWidth, kHeight));
    memory->fillRect(0, 0, kWidth, kHeight, gdi::Brush::solid(gdi::rgb(10, 20, 30)));
    const gdi::Region everywhere = gdi::Region::rectangle(0, 0, kWidth, kHeight);
    if (state.range(0)) pic.dc.setClipRegion(&everywhere);
    for (auto _ : state) {
        pic.dc.blit(0, 0, kWidth, kHeight, *memory, 0, 0, gdi::BlitOp::Copy);
        benchmark::DoNotOptimize(pic.image.constBits());
    }
}
BENCHMARK(FullPictureCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
