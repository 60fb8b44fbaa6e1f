// NMEA input: parser throughput on one core, and the latency from the last
// byte of a sentence written to a pseudo-terminal to the committed fix.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "os/Clock.h"
#include "os/tests/PseudoTerminal.h"
#include "serial/SerialPorts.h"
#include "tests/NmeaTestSupport.h"

namespace {

os::FakeClock gClock; // never the system time

void reset() {
    resetNmeaInput();
    SetNavClock(&gClock);
}

std::string sampleTrack() {
    std::ifstream in(SAMPLE_DIR "/nmea/bergen_departure.nmea", std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void BM_ParseNmeaBuffer(benchmark::State& state) {
    reset();
    const std::string log = sampleTrack();
    const auto sentences = std::count(log.begin(), log.end(), '$');
    for (auto _ : state)
        benchmark::DoNotOptimize(feed(0, log, kNmeaReadBufferSize));
    state.SetItemsProcessed(state.iterations() * sentences);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size()));
}
BENCHMARK(BM_ParseNmeaBuffer)->Unit(benchmark::kMillisecond);

void BM_FixLatencyThroughPty(benchmark::State& state) {
    reset();
    ostest::PseudoTerminal pty;
    if (pty.name.empty()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    if (!OpenComPort(0, (pty.name + ":4800,n,8,1").c_str())) {
        state.SkipWithError("cannot open the port");
        return;
    }
    std::vector<std::string> fixes;
    for (int i = 0; i < 100; ++i) {
        char body[128];
        std::snprintf(body, sizeof body,
                      "GPRMC,1000%02d,A,6024.%03d,N,00518.000,E,5.0,0.0,101226,,", i % 60, i);
        fixes.push_back(line(body));
    }
    auto fixCount = [] { return NavSnapshot().nav.fixCount; };
    pty.send(fixes[0]); // primes
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    std::vector<double> micros;
    std::size_t next = 1;
    for (auto _ : state) {
        const std::string& s = fixes[next++ % fixes.size()];
        std::uint8_t before = fixCount();
        auto t0 = std::chrono::steady_clock::now();
        pty.send(s);
        auto limit = t0 + std::chrono::seconds(2);
        while (fixCount() == before && std::chrono::steady_clock::now() < limit) {
        }
        auto t1 = std::chrono::steady_clock::now();
        double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
        micros.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    CloseComPort(0);
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    }
}
BENCHMARK(BM_FixLatencyThroughPty)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
