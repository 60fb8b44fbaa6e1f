#include "ChartLevels.h"

#include "chart/ChartLevels.h"
#include "chart/pass/ChartDrawingPass.h"

#include <array>

namespace chartview {

namespace {

static_assert(::kChartLevels.size() == kChartLevelCount);

// The navigation program's levels.
constexpr std::array<ChartLevel, kChartLevelCount> kLevels = [] {
    std::array<ChartLevel, kChartLevelCount> out{};
    for (int i = 0; i < kChartLevelCount; ++i) {
        const TChartLevel& l = ::kChartLevels[std::size_t(i)];
        out[std::size_t(i)] = {l.engineScaleLevel, l.levelScale,
                               static_cast<std::uint32_t>(l.displayScale)};
    }
    return out;
}();

int clampedLevel(int index) {
    return index >= 0 && index < kChartLevelCount ? index : kChartLevelCount - 1;
}

} // namespace

const ChartLevel& chartLevel(int index) {
    return kLevels[std::size_t(clampedLevel(index))];
}

const double* depthZoneLimits(int index) {
    return ::DepthZoneLimits(clampedLevel(index));
}

int nearestChartLevel(std::uint32_t displayScale) {
    // Ratios compared as fractions big / small, exactly in 64 bits (scales
    // stay below 2^32).
    const std::uint64_t s = displayScale ? displayScale : 1;
    int best = -1;
    std::uint64_t bestBig = 0, bestSmall = 1;
    for (int i = 0; i < kChartLevelCount; ++i) {
        const std::uint64_t d = kLevels[std::size_t(i)].displayScale;
        const std::uint64_t big = s > d ? s : d, small = s > d ? d : s;
        const bool nearer = best < 0 || big * bestSmall < bestBig * small;
        const bool tieToSmaller = best >= 0 && big * bestSmall == bestBig * small &&
                                  d < kLevels[std::size_t(best)].displayScale;
        if (nearer || tieToSmaller) best = i, bestBig = big, bestSmall = small;
    }
    return best;
}

char levelLetter(int engineLevel) {
    return engineLevel >= 0 && engineLevel < 8 ? "ZABCDEFG"[engineLevel] : '?';
}

ViewScales viewScales(int level, std::uint32_t displayScale) {
    const ChartLevel& l = chartLevel(level);
    const double s = displayScale ? displayScale : 1;
    const TChartPassScales pass = ChartPassScales(l.levelScale, s);
    return {pass.queryScale, l.engineLevel, levelLetter(l.engineLevel), pass.scaleExponent,
            l.displayScale / s};
}

} // namespace chartview
