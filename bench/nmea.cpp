// NMEA input: parser throughput on one core, and the latency from the last
// byte of a sentence written to a pseudo-terminal to the committed fix.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <pty.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "os/Clock.h"
#include "serial/SerialPorts.h"

namespace {

os::FakeClock gClock; // never the system time

void reset() {
    UpdateNavShared([](NavShared& s) { s = NavShared(); });
    for (int port = 0; port < kNmeaPortCount; ++port)
        *NmeaPort(port) = NmeaPortState();
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
    NmeaPortState* port = NmeaPort(0);
    for (auto _ : state) {
        for (std::size_t at = 0; at < log.size(); at += kNmeaReadBufferSize) {
            std::size_t n = std::min<std::size_t>(kNmeaReadBufferSize, log.size() - at);
            std::memcpy(port->readBuffer, log.data() + at, n);
            port->readCount = static_cast<std::uint32_t>(n);
            benchmark::DoNotOptimize(ParseNmeaBuffer(0));
        }
    }
    state.SetItemsProcessed(state.iterations() * sentences);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size()));
}
BENCHMARK(BM_ParseNmeaBuffer)->Unit(benchmark::kMillisecond);

std::string checksummed(const std::string& body) {
    unsigned x = 0;
    for (char c : body)
        x ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", x);
    return "$" + body + tail;
}

void BM_FixLatencyThroughPty(benchmark::State& state) {
    reset();
    int master = -1, slave = -1;
    char name[128];
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    if (!OpenComPort(0, (std::string(name) + ":4800,n,8,1").c_str())) {
        state.SkipWithError("cannot open the port");
        return;
    }
    std::vector<std::string> fixes;
    for (int i = 0; i < 100; ++i) {
        char body[128];
        std::snprintf(body, sizeof body,
                      "GPRMC,1000%02d,A,6024.%03d,N,00518.000,E,5.0,0.0,101226,,", i % 60, i);
        fixes.push_back(checksummed(body));
    }
    auto send = [&](const std::string& s) { (void)!::write(master, s.data(), s.size()); };
    auto fixCount = [] { return NavSnapshot().nav.fixCount; };
    send(fixes[0]); // primes
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    std::vector<double> micros;
    std::size_t next = 1;
    for (auto _ : state) {
        const std::string& s = fixes[next++ % fixes.size()];
        std::uint8_t before = fixCount();
        auto t0 = std::chrono::steady_clock::now();
        send(s);
        auto limit = t0 + std::chrono::seconds(2);
        while (fixCount() == before && std::chrono::steady_clock::now() < limit) {
        }
        auto t1 = std::chrono::steady_clock::now();
        double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
        micros.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    CloseComPort(0);
    ::close(master);
    ::close(slave);
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
