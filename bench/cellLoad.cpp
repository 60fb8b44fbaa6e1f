// Loading KV71 cells from the page cache, next to merely reading the same
// bytes. The cell is written once by the tools' writer: 2,000 edges of 50
// points, 400 sounding sets of 25 points, 1,000 isolated points and 4,000
// objects of every geometry kind, a quarter with attributes, some with
// children.
#include "kv71/cellCache.h"
#include "kv71/cellReader.h"
#include "kv71/dictionaryTables.h"

#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace kv71write;

namespace {

CellFile benchCell() {
    CellFile cell;
    cell.header = cellHeaderFor(30, 300, 5);
    std::uint32_t seed = 1;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::uint16_t>(seed >> 16);
    };
    cell.edges.resize(2000);
    for (CellEdge& e : cell.edges)
        for (int k = 0; k < 50; ++k)
            e.points.push_back({next(), next()});
    cell.soundings.resize(400);
    for (SoundingSet& s : cell.soundings)
        for (int k = 0; k < 25; ++k)
            s.points.push_back({next(), next(), static_cast<std::uint16_t>(next() % 500)});
    for (int k = 0; k < 1000; ++k)
        cell.points.push_back({next(), next()});
    for (int i = 0; i < 4000; ++i) {
        CellObject o;
        o.classCode = static_cast<std::uint8_t>(next() % 16);
        switch (i % 4) {
        case 0:
            o.geometry = PointGeometry;
            o.index = static_cast<std::uint16_t>(i / 4 % 1000);
            break;
        case 1:
            o.geometry = LineGeometry;
            o.edgeRefs = {lineRef(next() % 2000), lineRef(next() % 2000, true)};
            break;
        case 2:
            o.geometry = AreaGeometry;
            for (int k = 0; k < 4; ++k)
                o.edgeRefs.push_back(areaRef(next() % 2000, k % 8));
            break;
        default:
            o.geometry = SoundingGeometry;
            o.index = static_cast<std::uint16_t>(i / 4 % 400);
        }
        if (i % 4 == 0) o.attributes = {stringAttribute(116, "Skarvene"), byteAttribute(10, 3)};
        if (i % 100 == 0) o.children = {static_cast<std::uint16_t>(i + 1)};
        cell.objects.push_back(o);
    }
    return cell;
}

struct Tree {
    std::string root;
    std::string cellPath;
    std::size_t cellBytes = 0;

    Tree() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::string pattern = (base / "skjoldr-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern;
        DictionarySet set;
        set.attributes = {{"OBJNAM", 116, "aSTRING", "", "", "Object name", {}}};
        for (int code = 0; code < 16; ++code) {
            char acronym[8];
            std::snprintf(acronym, sizeof acronym, "CLS%03d", code);
            set.objects.push_back({acronym, code, "PLAS", code * 37 % 256, acronym, {}});
        }
        if (!writeDictionaries(root, set)) std::abort();
        std::string a = root + "/" + attributeDicName, o = root + "/" + objectDicName,
                    h = root + "/" + hosDicName;
        InitKV71Dictionary(a.data(), o.data(), h.data());
        const Bytes bytes = cellFileBytes(benchCell());
        cellBytes = bytes.size();
        cellPath = cellFilePath(root, 30, 300, 5);
        if (!writeFileAtomically(cellPath, bytes)) std::abort();
        InitKV71CellCache((root + "/").c_str(), 64u << 20);
    }
    ~Tree() {
        DoneKV71CellCache();
        DoneKV71Dictionary();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

Tree& tree() {
    static Tree t;
    return t;
}

void BM_LoadCell(benchmark::State& state) {
    Tree& t = tree();
    for (auto _ : state) {
        char name[] = "03000030.E";
        std::uint16_t count = 0;
        benchmark::DoNotOptimize(LoadKV71Cell(name, count));
        if (count != 4000) state.SkipWithError("cell refused");
        FlushKV71CellCache(nullptr, 0);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.cellBytes));
}
BENCHMARK(BM_LoadCell)->Unit(benchmark::kMicrosecond);

// Open, read the whole file into a buffer, close: the floor under a load.
void BM_ReadCellBytes(benchmark::State& state) {
    Tree& t = tree();
    std::vector<char> buffer(t.cellBytes);
    for (auto _ : state) {
        std::FILE* f = std::fopen(t.cellPath.c_str(), "rb");
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        if (n != t.cellBytes) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.cellBytes));
}
BENCHMARK(BM_ReadCellBytes)->Unit(benchmark::kMicrosecond);

// A cell answered from the cache.
void BM_FindCachedCell(benchmark::State& state) {
    tree();
    char name[] = "03000030.E";
    std::uint16_t count = 0;
    LoadKV71Cell(name, count);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadKV71Cell(name, count));
    FlushKV71CellCache(nullptr, 0);
}
BENCHMARK(BM_FindCachedCell);

} // namespace
