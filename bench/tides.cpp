// Tide curves: one port-day with all 69 constituents at the tide dialog's
// 0.3-hour step, and a year of hourly heights for one port.
#include "TideFileWriter.h"
#include "TideWave.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A port that lists every row of the constituent table, in a scratch directory.
class FullPort {
  public:
    FullPort() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidebenchXXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        tidetools::TidePort port{1, 3624, 319, -1, "Bergen", {}};
        for (std::int16_t row = 0; row < 69; ++row)
            port.items.push_back({row, static_cast<std::uint16_t>(row * 47 % 3600),
                                  static_cast<std::uint16_t>(100 + row * 13)});
        if (!tidetools::writeTideFiles(dir_, {port}).empty() ||
            TD_LoadDataFiles(const_cast<char*>(dir_.c_str())) != 0)
            std::abort();
    }
    ~FullPort() {
        TD_DoneTides();
        std::filesystem::remove_all(dir_);
    }

  private:
    std::string dir_;
};

void PortDayAllConstituents(benchmark::State& state) {
    FullPort port;
    TideWave wave(3624, 319, nullptr, nullptr);
    for (auto _ : state) {
        if (wave.Calculate(0.3, 21, 6, 2026) != 0) state.SkipWithError("Calculate failed");
        benchmark::DoNotOptimize(wave.GetPoint(40));
    }
}
BENCHMARK(PortDayAllConstituents)->Unit(benchmark::kMicrosecond);

void YearOfHourlyHeights(benchmark::State& state) {
    FullPort port;
    TideWave wave(3624, 319, nullptr, nullptr);
    for (auto _ : state) {
        int year = 2026, month = 1, day = 1;
        static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int n = 0; n < 365; ++n) {
            if (wave.Calculate(1.0, static_cast<char>(day), static_cast<char>(month),
                               static_cast<short>(year)) != 0)
                state.SkipWithError("Calculate failed");
            benchmark::DoNotOptimize(wave.GetPoint(12));
            if (++day > lengths[month - 1]) {
                day = 1;
                ++month;
            }
        }
    }
}
BENCHMARK(YearOfHourlyHeights)->Unit(benchmark::kMillisecond);

} // namespace
