// The chart copy on a generated tree of about 300 MB (2,000 files of 100 KiB
// and 20 of 5 MiB in nested folders) on the build's disk: TChartCopier
// replacing a chart tree (staging folder, one file-system sync, swap) against
// `cp -r` followed by `sync` on the same tree and disk, and the add-over kind
// (a temporary file and a rename per file) into an empty and into an existing
// tree. Every run starts warm: the tree has been read once before.
//
// The tree lies in CHART_COPY_BENCH_DIR, else in the build folder, and is kept
// there for the next run; the copies are removed.
#include "chartcopy/ChartCopier.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSmallFiles = 2000;
constexpr std::size_t kSmallSize = 100 * 1024;
constexpr int kLargeFiles = 20;
constexpr std::size_t kLargeSize = 5 * 1024 * 1024;
constexpr double kTreeBytes = double(kSmallFiles) * kSmallSize + double(kLargeFiles) * kLargeSize;

std::string benchFolder() {
    const char* base = std::getenv("CHART_COPY_BENCH_DIR");
    return std::string(base ? base : BENCH_WORK_DIR) + "/chartcopy-bench";
}

// The source tree: ten level-like folders of 20 block folders of 10 cells,
// and the large files beside them. Made once.
const std::string& sourceTree() {
    static const std::string source = [] {
        const std::string root = benchFolder() + "/KV71";
        const std::string complete = benchFolder() + "/KV71.complete";
        if (fs::exists(complete)) return root;
        fs::remove_all(root);
        std::string bytes(kLargeSize, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 131 + i / 4096) & 0xFF);
        int cell = 0;
        for (int level = 0; level < 10; ++level)
            for (int block = 0; block < 20; ++block) {
                const std::string folder =
                    root + "/" + char('A' + level) + "/" + std::to_string(4500000 + block);
                fs::create_directories(folder);
                for (int n = 0; n < 10; ++n, ++cell) {
                    bytes[0] = char(cell);
                    std::ofstream(folder + "/" + std::to_string(cell) + ".K71", std::ios::binary)
                        .write(bytes.data(), std::streamsize(kSmallSize));
                }
            }
        fs::create_directories(root + "/LARGE");
        for (int n = 0; n < kLargeFiles; ++n) {
            bytes[0] = char(n);
            std::ofstream(root + "/LARGE/" + std::to_string(n) + ".DAT", std::ios::binary)
                .write(bytes.data(), std::streamsize(kLargeSize));
        }
        std::ofstream{complete};
        return root;
    }();
    return source;
}

// Reads the tree once, so every run starts with it in the page cache.
void warm() {
    static bool done = false;
    if (done) return;
    std::vector<char> buffer(1 << 20);
    for (const auto& e : fs::recursive_directory_iterator(sourceTree()))
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            while (in.read(buffer.data(), std::streamsize(buffer.size())))
                ;
        }
    done = true;
}

std::string destination() {
    return benchFolder() + "/copy";
}

void removeCopy() {
    std::error_code ec;
    fs::remove_all(destination(), ec);
}

void rate(benchmark::State& state) {
    state.counters["MB/s"] = benchmark::Counter(kTreeBytes / 1e6 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

void copyWith(benchmark::State& state, char kind, bool overExisting) {
    warm();
    removeCopy();
    TChartCopier copier;
    const TChartCopyJob job{.Kind = kind, .Source = sourceTree(), .Destination = destination()};
    if (overExisting && copier.Run(job).Outcome != TCopyOutcome::Done)
        state.SkipWithError("first copy failed");
    for (auto _ : state) {
        const TChartCopyResult r = copier.Run(job);
        if (r.Outcome != TCopyOutcome::Done || r.Copied != kSmallFiles + kLargeFiles) {
            state.SkipWithError("copy failed");
            break;
        }
        state.PauseTiming();
        if (!overExisting) removeCopy();
        state.ResumeTiming();
    }
    removeCopy();
    rate(state);
}

// Kind '1' into a new destination: staging, one sync, the swap.
void ChartCopierReplace(benchmark::State& state) {
    copyWith(state, '1', false);
}
BENCHMARK(ChartCopierReplace)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same tree with cp -r, then sync.
void CpRecursiveAndSync(benchmark::State& state) {
    warm();
    removeCopy();
    const std::string command = "cp -r '" + sourceTree() + "' '" + destination() + "' && sync";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp failed");
            break;
        }
        state.PauseTiming();
        removeCopy();
        state.ResumeTiming();
    }
    rate(state);
}
BENCHMARK(CpRecursiveAndSync)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Kind '2' into a new destination: a temporary file and a rename per file.
void ChartCopierAddOver(benchmark::State& state) {
    copyWith(state, '2', false);
}
BENCHMARK(ChartCopierAddOver)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Kind '2' over an existing copy of the same tree.
void ChartCopierAddOverExisting(benchmark::State& state) {
    copyWith(state, '2', true);
}
BENCHMARK(ChartCopierAddOverExisting)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Kind '1' over an existing copy: the old tree is set aside and deleted.
void ChartCopierReplaceExisting(benchmark::State& state) {
    copyWith(state, '1', true);
}
BENCHMARK(ChartCopierReplaceExisting)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
