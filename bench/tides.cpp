// Tide curves: one port-day with all 69 constituents at the tide dialog's
// 0.3-hour step, and a year of hourly heights for one port; each also against
// its floor in the same run: the same sum of cosines over the same
// constituents and points, without the library around it (no files, no
// astronomical arguments, nodal corrections or sun times). "floor/library" is
// the library's time over the floor's.
#include "TideFileWriter.h"
#include "TideWave.h"

#include "sameRun.h"

#include <benchmark/benchmark.h>

#include <cmath>
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

// The floor of a curve: per point the sum over 69 constituents of
// cos(argument + nodal phase - phase lag) x nodal factor x amplitude, added
// into a float as the library does, each argument then run on by its speed.
class Floor {
  public:
    Floor() {
        for (int j = 0; j < 69; ++j) {
            argument_[j] = j * 0.091; // reduced equilibrium arguments, 0 to 2 pi
            nodalPhase_[j] = j * 0.011;
            nodalFactor_[j] = 1.0 - j * 0.002;
            phaseLag_[j] = j * 47 % 3600 / 1800.0 * 3.14159265358979;
            amplitude_[j] = (100 + j * 13) * 0.1;
            speed_[j] = j * 0.0297; // radians per hour, from the long-period rows to M8's 2.02
        }
    }
    void curve(float* values, int count, double step) {
        double argument[69];
        for (int j = 0; j < 69; ++j)
            argument[j] = argument_[j];
        for (int i = 0; i < count; ++i) {
            float sum = 0.0f;
            for (int j = 0; j < 69; ++j) {
                sum =
                    static_cast<float>(sum + std::cos(argument[j] + nodalPhase_[j] - phaseLag_[j]) *
                                                 (nodalFactor_[j] * amplitude_[j]));
                argument[j] += step * speed_[j];
            }
            values[i] = sum;
        }
    }

  private:
    double argument_[69], nodalPhase_[69], nodalFactor_[69], phaseLag_[69], amplitude_[69],
        speed_[69];
};

void PortDayAgainstFloor(benchmark::State& state) {
    FullPort port;
    TideWave wave(3624, 319, nullptr, nullptr);
    Floor floor;
    float values[81];
    samerun::compare(
        state, 1, "floor",
        [&] {
            floor.curve(values, 81, 0.3);
            benchmark::DoNotOptimize(values[40]);
        },
        "library",
        [&] {
            if (wave.Calculate(0.3, 21, 6, 2026) != 0) state.SkipWithError("Calculate failed");
            benchmark::DoNotOptimize(wave.GetPoint(40));
        });
}
BENCHMARK(PortDayAgainstFloor)->Unit(benchmark::kMicrosecond);

void YearAgainstFloor(benchmark::State& state) {
    FullPort port;
    TideWave wave(3624, 319, nullptr, nullptr);
    Floor floor;
    float values[25];
    samerun::compare(
        state, 1, "floor",
        [&] {
            for (int n = 0; n < 365; ++n) {
                floor.curve(values, 25, 1.0);
                benchmark::DoNotOptimize(values[12]);
            }
        },
        "library",
        [&] {
            int month = 1, day = 1;
            static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            for (int n = 0; n < 365; ++n) {
                if (wave.Calculate(1.0, static_cast<char>(day), static_cast<char>(month), 2026) !=
                    0)
                    state.SkipWithError("Calculate failed");
                benchmark::DoNotOptimize(wave.GetPoint(12));
                if (++day > lengths[month - 1]) {
                    day = 1;
                    ++month;
                }
            }
        });
}
BENCHMARK(YearAgainstFloor)->Unit(benchmark::kMillisecond);

} // namespace
