#include "ChartLevels.h"

#include <cmath>

namespace chartview {

namespace {

constexpr ChartLevel kLevels[kChartLevelCount] = {
    {1, 3000000, 3000000}, {2, 1000000, 1000000}, {3, 200000, 300000}, {4, 100000, 100000},
    {5, 50000, 30000},     {6, 20000, 15000},     {7, 7500, 7500},     {0, 20000000, 20000000},
};

constexpr double kZones[kChartLevelCount][4] = {
    {100, 200, 500, 1000}, {100, 200, 500, 1000}, {10, 20, 30, 50}, {10, 20, 30, 50},
    {5, 10, 20, 30},       {5, 10, 15, 20},       {2, 5, 10, 15},   {2, 5, 10, 15},
};

int clampedLevel(int index) {
    return index >= 0 && index < kChartLevelCount ? index : kChartLevelCount - 1;
}

} // namespace

const ChartLevel& chartLevel(int index) {
    return kLevels[clampedLevel(index)];
}

const double* depthZoneLimits(int index) {
    return kZones[clampedLevel(index)];
}

int nearestChartLevel(std::uint32_t displayScale) {
    // Ratios compared as fractions big / small, exactly in 64 bits (scales
    // stay below 2^32).
    const std::uint64_t s = displayScale ? displayScale : 1;
    int best = -1;
    std::uint64_t bestBig = 0, bestSmall = 1;
    for (int i = 0; i < kChartLevelCount; ++i) {
        const std::uint64_t d = kLevels[i].displayScale;
        const std::uint64_t big = s > d ? s : d, small = s > d ? d : s;
        const bool nearer = best < 0 || big * bestSmall < bestBig * small;
        const bool tieToSmaller =
            best >= 0 && big * bestSmall == bestBig * small && d < kLevels[best].displayScale;
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
    int exponent = 0;
    std::frexp(l.levelScale / s, &exponent);
    return {static_cast<unsigned long>(std::nearbyint(l.levelScale)), l.engineLevel,
            levelLetter(l.engineLevel), exponent - 1, l.displayScale / s};
}

} // namespace chartview
