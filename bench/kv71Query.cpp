// One chart view queried with its geometry, as the drawing pass asks it: a
// 1920 x 1080 view at 1:50,000 (0.265 mm pixels) over a 3 x 3 block of level
// E cells around 5.3 E, 60.3 N, written by the tools' writers. Each cell
// holds 600 areas (rings of 40 to 200 points in four edges), 1,500 lines (two
// edges of 30 points), 1,500 points and 300 sounding sets of 30 soundings,
// in 16 classes of different display priorities.
//
//   BM_ViewWithGeometry  warm caches: query, then newMapObject per object
//   BM_ViewQueryOnly     warm caches: the query's walk alone
//   BM_ColdView          the cell cache flushed before each view, so the
//                        cells are loaded again (from the page cache)
// (bench/kv71SampleView.cpp views the sample chart the same way.)
// Counters: objects and drawn (non-null geometry) per view, and the time per
// object returned.
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"

#include "kv71View.h"

#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace kv71view;
using namespace kv71write;

namespace {

constexpr int lonFirst = 15, latFirst = 450, cells = 3, level = 5;

struct Random {
    std::uint32_t seed;
    std::uint32_t next() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
    int range(int lo, int hi) {
        return lo + static_cast<int>(next() % static_cast<unsigned>(hi - lo + 1));
    }
};

std::uint16_t clampLocal(double v) {
    return static_cast<std::uint16_t>(std::lround(std::fmin(std::fmax(v, 0), 65535)));
}

CellFile denseCell(int lon, int lat) {
    CellFile cell;
    cell.header = cellHeaderFor(lon, lat, level);
    Random r{static_cast<std::uint32_t>(lon * 1000 + lat)};
    // Areas: a jittered ring cut into four edges; one edge in ten masked.
    for (int i = 0; i < 600; ++i) {
        const double cx = r.range(0, 65535), cy = r.range(0, 65535);
        const double radius = r.range(300, 3000);
        const int n = r.range(40, 200) / 4 * 4;
        std::vector<LocalPoint> ring;
        for (int k = 0; k < n; ++k) {
            const double a = 2 * M_PI * k / n, j = 0.8 + 0.4 * (r.next() % 1000) / 1000.0;
            ring.push_back({clampLocal(cx + radius * j * std::cos(a)),
                            clampLocal(cy + radius * j * std::sin(a))});
        }
        CellObject area;
        area.classCode = static_cast<std::uint8_t>(r.range(0, 3));
        area.geometry = AreaGeometry;
        for (int e = 0; e < 4; ++e) {
            CellEdge edge;
            for (int k = e * n / 4; k <= (e + 1) * n / 4; ++k)
                edge.points.push_back(ring[static_cast<std::size_t>(k % n)]);
            area.edgeRefs.push_back(
                areaRef(static_cast<std::uint16_t>(cell.edges.size()), r.range(0, 9) == 0 ? 1 : 0));
            cell.edges.push_back(edge);
        }
        cell.objects.push_back(area);
    }
    // Lines: a random walk in two edges.
    for (int i = 0; i < 1500; ++i) {
        double x = r.range(0, 65535), y = r.range(0, 65535);
        CellObject line;
        line.classCode = static_cast<std::uint8_t>(r.range(4, 7));
        line.geometry = LineGeometry;
        for (int e = 0; e < 2; ++e) {
            CellEdge edge;
            if (e == 1) edge.points.push_back(cell.edges.back().points.back());
            for (int k = 0; k < 30; ++k) {
                x += r.range(-150, 150);
                y += r.range(-150, 150);
                edge.points.push_back({clampLocal(x), clampLocal(y)});
            }
            line.edgeRefs.push_back(lineRef(static_cast<std::uint16_t>(cell.edges.size())));
            cell.edges.push_back(edge);
        }
        cell.objects.push_back(line);
    }
    for (int i = 0; i < 1500; ++i) {
        cell.points.push_back({static_cast<std::uint16_t>(r.range(0, 65535)),
                               static_cast<std::uint16_t>(r.range(0, 65535))});
        CellObject point;
        point.classCode = static_cast<std::uint8_t>(r.range(8, 13));
        point.geometry = PointGeometry;
        point.index = static_cast<std::uint16_t>(i);
        point.attributes = {stringAttribute(116, "Skarvene")};
        cell.objects.push_back(point);
    }
    for (int i = 0; i < 300; ++i) {
        SoundingSet set;
        const int cx = r.range(0, 65535), cy = r.range(0, 65535);
        for (int k = 0; k < 30; ++k)
            set.points.push_back({clampLocal(cx + r.range(-2000, 2000)),
                                  clampLocal(cy + r.range(-2000, 2000)),
                                  static_cast<std::uint16_t>(r.range(5, 5000))});
        cell.soundings.push_back(set);
        CellObject soundings;
        soundings.classCode = 14;
        soundings.geometry = SoundingGeometry;
        soundings.index = static_cast<std::uint16_t>(i);
        cell.objects.push_back(soundings);
    }
    return cell;
}

struct Chart {
    std::string root;
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TKV71Db> db;
    std::unique_ptr<Map> map;

    Chart() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "skjoldr-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern + "/";
        DictionarySet set;
        set.attributes = {{"OBJNAM", 116, "aSTRING", "", "", "Object name", {}}};
        for (int code = 0; code < 16; ++code) {
            char acronym[8];
            std::snprintf(acronym, sizeof acronym, "CLS%03d", code);
            set.objects.push_back({acronym, code, "PLAS", 2 + code * 7 % 40, acronym, {}});
        }
        if (!writeDictionaries(root, set)) std::abort();
        BlockIndex index;
        InfGroup group;
        group.level = level - 1;
        for (int lon = lonFirst; lon < lonFirst + cells; ++lon)
            for (int lat = latFirst; lat < latFirst + cells; ++lat) {
                if (!writeCellFile(root, lon, lat, level, denseCell(lon, lat))) std::abort();
                group.cells.push_back(infCellOf(lon, lat, level));
            }
        index.groups.push_back(group);
        if (!writeBlockIndex(root, lonFirst, latFirst, index)) std::abort();
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", root.c_str());
        db = std::make_unique<TKV71Db>(*dictionary, root.c_str(), 256ul << 20, nullptr);
        // Centred on the corner of the middle cell: 1920 x 1080 pixels of
        // 0.265 mm are 254 x 143 mm on each side of the centre.
        const GeoPoint centre{deg2nrm((lonFirst + 1) / 3.0 + 0.01),
                              deg2nrm((latFirst + 1) / 3.0 - 90 + 0.01)};
        map.reset(newMap(PRJ_MERCATOR, 50000, centre, 254, 143, 0, 0, nullptr));
        if (!map) std::abort();
    }
    ~Chart() {
        map.reset();
        db.reset();
        dictionary.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

Chart& chart() {
    static Chart c;
    return c;
}

void BM_ViewWithGeometry(benchmark::State& state) {
    Chart& c = chart();
    MapObject reuse(egtEmpty, -1);
    std::pair<long, long> last = view(*c.db, c.map.get(), true, reuse); // warms the caches
    for (auto _ : state)
        last = view(*c.db, c.map.get(), true, reuse);
    report(state, last);
}
BENCHMARK(BM_ViewWithGeometry)->Unit(benchmark::kMillisecond);

void BM_ViewQueryOnly(benchmark::State& state) {
    Chart& c = chart();
    MapObject reuse(egtEmpty, -1);
    std::pair<long, long> last = view(*c.db, c.map.get(), false, reuse);
    for (auto _ : state)
        last = view(*c.db, c.map.get(), false, reuse);
    report(state, last);
}
BENCHMARK(BM_ViewQueryOnly)->Unit(benchmark::kMillisecond);

void BM_ColdView(benchmark::State& state) {
    Chart& c = chart();
    MapObject reuse(egtEmpty, -1);
    std::pair<long, long> last{0, 0};
    for (auto _ : state) {
        c.db->flush();
        last = view(*c.db, c.map.get(), true, reuse);
    }
    report(state, last);
}
BENCHMARK(BM_ColdView)->Unit(benchmark::kMillisecond);

} // namespace
