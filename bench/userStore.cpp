// The user-object store through DbaseWin on the machine's disk: one durable
// WritePointRecord, a 500-point route stored and read back by a key-5 walk,
// the next free id among 1,000 objects, the delete of a 5,000-point track,
// and the open of a store of 1,000 objects and 20,000 points.
// The files lie in /var/tmp (a disk folder by convention; /tmp may be held in
// memory); STORE_BENCH_DIR names another folder.
#include "store/DbaseWin.h"

#include <benchmark/benchmark.h>

#include <sys/vfs.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// A fresh folder on disk with the six files of an empty store, removed
// afterwards.
class BenchStore {
  public:
    BenchStore() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("UI_NONINTERACTIVE", "1", 1);
        const char* base = std::getenv("STORE_BENCH_DIR");
        std::string pattern = std::string(base ? base : "/var/tmp") + "/store-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        struct statfs fs;
        if (::statfs(path_.c_str(), &fs) == 0 && fs.f_type == 0x01021994) // TMPFS_MAGIC
            std::fprintf(stderr, "warning: %s is held in memory; commits cost no disk flush\n",
                         path_.c_str());
        isam::INTISAM(18, 13, 8);
        for (StoreFile f : kStoreFiles) {
            const auto d = StoreFileDescription(f, StoreFileBasesIn(path_));
            if (CreateStoreFile(d) != CreateResult::Created) std::abort();
            isam::CLIFIL(d);
        }
    }
    ~BenchStore() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::unique_ptr<DbaseWin> open() const {
        return std::make_unique<DbaseWin>(nullptr, StoreFileBasesIn(path_));
    }

  private:
    std::string path_;
};

double micros(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

PointRecord point(std::int32_t id, std::uint16_t number) {
    PointRecord p;
    p.id = id;
    p.number = number;
    p.latitude = 36000000 + number * 60;
    p.longitude = 3000000 - number * 45;
    p.time = 1700000000 + number;
    return p;
}

void addObject(DbaseWin& store, std::uint16_t kind, std::int32_t id) {
    IdRecord r;
    r.kind = kind;
    r.id = id;
    r.latitude = 36000000 + id;
    r.longitude = 3000000 - id;
    r.colour = 2;
    store.CurrentIdRecord = r;
    isam::ADDREC(kIdFileNumber, store.CurrentIdRecord.Encode().data());
}

bool writePoints(DbaseWin& store, std::int32_t id, int count) {
    for (int n = 1; n <= count; ++n) {
        store.CurrentPointRecord = point(id, static_cast<std::uint16_t>(n));
        if (store.WritePointRecord() != 0) return false;
    }
    return true;
}

// One WritePointRecord of a new point (a search, then a durable ADDREC).
void WritePointLatency(benchmark::State& state) {
    BenchStore folder;
    auto store = folder.open();
    std::vector<double> times;
    std::uint16_t n = 0;
    for (auto _ : state) {
        store->CurrentPointRecord = point(1, n++);
        const auto start = std::chrono::steady_clock::now();
        if (store->WritePointRecord() != 0) state.SkipWithError("write failed");
        times.push_back(micros(std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[times.size() * 99 / 100];
}
BENCHMARK(WritePointLatency)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// A route stored as the chart window stores it: its ID record, then 500
// WritePointRecord calls.
void RouteStored(benchmark::State& state) {
    BenchStore folder;
    auto store = folder.open();
    std::int32_t id = 0;
    for (auto _ : state) {
        id = id == 1 ? 3 : id + 1;
        addObject(*store, kKindRoute, id);
        if (!writePoints(*store, id, 500)) state.SkipWithError("write failed");
    }
}
BENCHMARK(RouteStored)->Iterations(5)->Unit(benchmark::kMillisecond);

// A 500-point route read back by GTEREC and NXTREC on key 5, between neighbours.
void RouteReadByWalk(benchmark::State& state) {
    BenchStore folder;
    auto store = folder.open();
    writePoints(*store, 9, 3);
    writePoints(*store, 10, 500);
    writePoints(*store, 11, 3);
    PointBytes r;
    for (auto _ : state) {
        int points = 0;
        for (int e = isam::GTEREC(kPointKey, PointKey(10, 0).data(), r.data());
             e == 0 && PointRecord::Decode(r).id == 10; e = isam::NXTREC(kPointKey, r.data()))
            ++points;
        if (points != 500) state.SkipWithError("not 500 points");
    }
}
BENCHMARK(RouteReadByWalk)->Unit(benchmark::kMicrosecond);

// The next free id with 1,000 objects in use (ids 1 and 3 to 1001).
void NextFreeIdAmong1000(benchmark::State& state) {
    BenchStore folder;
    auto store = folder.open();
    for (std::int32_t i = 0; i < 1000; ++i)
        addObject(*store, kKindSymbol, i == 0 ? 1 : i + 2);
    for (auto _ : state)
        if (store->NextFreeObjectId() != 1002) state.SkipWithError("wrong id");
}
BENCHMARK(NextFreeIdAmong1000)->Unit(benchmark::kMillisecond);

// The delete of a track of 5,000 points with a text, between two routes.
void DeleteTrack5000(benchmark::State& state) {
    BenchStore folder;
    auto store = folder.open();
    addObject(*store, kKindRoute, 3);
    writePoints(*store, 3, 50);
    addObject(*store, kKindRoute, 5);
    writePoints(*store, 5, 50);
    for (auto _ : state) {
        state.PauseTiming();
        addObject(*store, kKindTrack, 4);
        writePoints(*store, 4, 5000);
        InfoRecord text{4, 0, "spor"};
        const auto bytes = text.Encode();
        isam::ADDVREC(kInfoFileNumber, bytes.data(), bytes.size());
        state.ResumeTiming();
        if (store->DeleteObject(kKindTrack, 4) != 0) state.SkipWithError("delete failed");
    }
}
BENCHMARK(DeleteTrack5000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Making DbaseWin on a store of 1,000 objects and 20,000 points (its three
// files opened); closing is not timed.
void OpenStore1000(benchmark::State& state) {
    BenchStore folder;
    {
        auto store = folder.open();
        for (std::int32_t i = 0; i < 1000; ++i) {
            const std::int32_t id = i == 0 ? 1 : i + 2;
            addObject(*store, i % 50 ? kKindSymbol : kKindRoute, id);
            if (i % 50 == 0) writePoints(*store, id, 1000);
        }
    }
    for (auto _ : state) {
        auto store = folder.open();
        if (store->Failed()) state.SkipWithError("open failed");
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenStore1000)->Unit(benchmark::kMillisecond);

} // namespace
