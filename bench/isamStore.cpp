// The record files of the user-object store on the machine's disk: durable
// single writes, a route stored point by point, read back in one batch and
// renumbered, a long track read in batches, and a walk over the ID file.
// The files lie in /var/tmp (a disk folder by convention; /tmp may be held in
// memory); ISAM_BENCH_DIR names another folder.
#include "isam/isam.h"

#include <benchmark/benchmark.h>

#include <sys/vfs.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void putU16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void putI32(Bytes& b, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}
std::uint16_t getU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::int32_t getI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

isam::Segment segment(int position, int length, bool isSigned) {
    return {position, length, isam::kSegmentMode, isSigned};
}

isam::FileDescription pointFile(const std::string& folder) {
    isam::FileDescription f;
    f.name = folder + "/point";
    f.dataFileNumber = 4;
    f.recordLength = 38;
    f.dataExtension = f.indexExtension = 4096;
    f.fileMode = 0x42;
    f.indexes = {{5, 6, false, {segment(2, 4, true), segment(6, 2, false)}}};
    return f;
}

isam::FileDescription idFile(const std::string& folder) {
    isam::FileDescription f;
    f.name = folder + "/id";
    f.dataFileNumber = 0;
    f.recordLength = 64;
    f.dataExtension = f.indexExtension = 4096;
    f.fileMode = 0x42;
    f.indexes = {{1, 6, false, {segment(2, 2, false), segment(4, 4, true)}},
                 {2, 10, false, {segment(2, 2, false), segment(8, 4, true), segment(12, 4, true)}},
                 {3, 4, false, {segment(4, 4, true)}}};
    return f;
}

Bytes pointRecord(std::int32_t id, std::uint16_t number) {
    Bytes b(38, 0);
    putI32(b, 2, id);
    putU16(b, 6, number);
    putI32(b, 8, 36000000 + number * 60);
    putI32(b, 12, 3000000 - number * 45);
    return b;
}

Bytes idNumberKey(std::int32_t id, std::uint16_t number) {
    Bytes k(6, 0);
    putI32(k, 0, id);
    putU16(k, 4, number);
    return k;
}

// A fresh folder on disk for one benchmark, removed afterwards.
class BenchFolder {
  public:
    BenchFolder() {
        const char* base = std::getenv("ISAM_BENCH_DIR");
        std::string pattern = std::string(base ? base : "/var/tmp") + "/isam-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        struct statfs fs;
        if (::statfs(path_.c_str(), &fs) == 0 && fs.f_type == 0x01021994) // TMPFS_MAGIC
            std::fprintf(stderr, "warning: %s is held in memory; commits cost no disk flush\n",
                         path_.c_str());
        isam::INTISAM(18, 13, 8);
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

double micros(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// One durable ADDREC of a 38-byte point, timed call by call.
void SingleWriteLatency(benchmark::State& state) {
    BenchFolder folder;
    const auto file = pointFile(folder.path());
    isam::CREIFIL(file);
    std::vector<double> times;
    std::uint16_t n = 0;
    for (auto _ : state) {
        const Bytes r = pointRecord(1, n++);
        const auto start = std::chrono::steady_clock::now();
        if (isam::ADDREC(4, r.data()) != 0) state.SkipWithError("ADDREC failed");
        times.push_back(micros(std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[times.size() * 99 / 100];
    isam::CLIFIL(file);
}
BENCHMARK(SingleWriteLatency)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// A 500-point route stored one ADDREC per point, each its own transaction.
void RouteStored(benchmark::State& state) {
    BenchFolder folder;
    const auto file = pointFile(folder.path());
    isam::CREIFIL(file);
    std::int32_t id = 0;
    for (auto _ : state) {
        ++id;
        for (std::uint16_t n = 1; n <= 500; ++n)
            if (isam::ADDREC(4, pointRecord(id, n).data()) != 0)
                state.SkipWithError("ADDREC failed");
    }
    isam::CLIFIL(file);
}
BENCHMARK(RouteStored)->Iterations(5)->Unit(benchmark::kMillisecond);

// Points of one object, with neighbours before and after.
void storeObject(std::int32_t id, int points) {
    for (int n = 1; n <= 3; ++n)
        isam::ADDREC(4, pointRecord(id - 1, n).data());
    for (int n = 1; n <= points; ++n)
        isam::ADDREC(4, pointRecord(id, static_cast<std::uint16_t>(n)).data());
    for (int n = 1; n <= 3; ++n)
        isam::ADDREC(4, pointRecord(id + 1, n).data());
}

// Reads one object by batches of 500 entries, as the drawing pass does.
std::size_t readByBatches(std::int32_t id, Bytes& buffer) {
    isam::BatchRequest q;
    q.significantLength = 4;
    const Bytes target = idNumberKey(id, 0);
    std::copy(target.begin(), target.end(), q.target.begin());
    std::size_t points = 0;
    for (int r = isam::BATSET(5, &q, buffer.data(), buffer.size(), isam::kBatchStart); r == 0;
         r = isam::BATSET(5, &q, buffer.data(), buffer.size(), isam::kBatchNext))
        points += q.returned;
    isam::BATSET(5, nullptr, nullptr, 0, isam::kBatchEnd);
    return points;
}

// A 500-point route read back: one batch, then its end.
void RouteReadByBatch(benchmark::State& state) {
    BenchFolder folder;
    const auto file = pointFile(folder.path());
    isam::CREIFIL(file);
    storeObject(10, 500);
    Bytes buffer(21000);
    for (auto _ : state) {
        isam::BatchRequest q;
        q.significantLength = 4;
        const Bytes target = idNumberKey(10, 0);
        std::copy(target.begin(), target.end(), q.target.begin());
        if (isam::BATSET(5, &q, buffer.data(), buffer.size(), isam::kBatchStart) != 0 ||
            q.returned != 500)
            state.SkipWithError("batch failed");
        isam::BATSET(5, nullptr, nullptr, 0, isam::kBatchEnd);
        benchmark::DoNotOptimize(buffer.data());
    }
    isam::CLIFIL(file);
}
BENCHMARK(RouteReadByBatch)->Unit(benchmark::kMicrosecond);

// Inserting a point after the first of a 500-point route: every point above
// it is rewritten with its number plus one, from the last down.
void RouteRenumbered(benchmark::State& state) {
    BenchFolder folder;
    const auto file = pointFile(folder.path());
    isam::CREIFIL(file);
    storeObject(10, 500);
    Bytes r(38);
    for (auto _ : state) {
        int rewritten = 0;
        for (int found = isam::LTEREC(5, idNumberKey(10, 0xFFFF).data(), r.data());
             found == 0 && getI32(&r[2]) == 10 && getU16(&r[6]) > 0;
             found = isam::PRVREC(5, r.data())) {
            putU16(r, 6, static_cast<std::uint16_t>(getU16(&r[6]) + 1));
            if (isam::RWTREC(4, r.data()) != 0) state.SkipWithError("RWTREC failed");
            ++rewritten;
        }
        if (rewritten != 500) state.SkipWithError("not 500 points");
    }
    isam::CLIFIL(file);
}
BENCHMARK(RouteRenumbered)->Iterations(3)->Unit(benchmark::kMillisecond);

// A 10,000-point track read by batches of 500.
void LongTrackByBatches(benchmark::State& state) {
    BenchFolder folder;
    const auto file = pointFile(folder.path());
    isam::CREIFIL(file);
    storeObject(10, 10000);
    Bytes buffer(21000);
    std::size_t points = 0;
    double elapsed = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        points += readByBatches(10, buffer);
        elapsed += micros(std::chrono::steady_clock::now() - begin);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(points));
    state.counters["us_per_point"] = elapsed / static_cast<double>(points);
    isam::CLIFIL(file);
}
BENCHMARK(LongTrackByBatches)->Unit(benchmark::kMillisecond);

// GTEREC, then NXTREC to the end, over 5,000 ID records by key 1.
void IdWalk(benchmark::State& state) {
    BenchFolder folder;
    const auto file = idFile(folder.path());
    isam::CREIFIL(file);
    for (int i = 1; i <= 5000; ++i) {
        Bytes r(64, 0);
        putU16(r, 2, static_cast<std::uint16_t>(1 + i % 7));
        putI32(r, 4, i);
        putI32(r, 8, 36000000 + i);
        putI32(r, 12, 3000000 - i);
        isam::ADDREC(0, r.data());
    }
    Bytes r(64), first(6, 0);
    for (auto _ : state) {
        int count = 0;
        for (int found = isam::GTEREC(1, first.data(), r.data()); found == 0;
             found = isam::NXTREC(1, r.data()))
            ++count;
        if (count != 5000) state.SkipWithError("not 5000 records");
    }
    isam::CLIFIL(file);
}
BENCHMARK(IdWalk)->Unit(benchmark::kMillisecond);

} // namespace
