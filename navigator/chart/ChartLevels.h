// The eight chart levels of the navigation program: the command that selects
// each (111 to 118), its level index, the engine scale level whose cells it
// draws (its detail word), the level scale (the scale denominator its chart
// queries use) and the display scale (the scale denominator the view starts
// at), and the four depth-zone limits the chart is drawn with. The MDI
// client, the chart window and its drawing pass share these tables.
//
//   const TChartLevel* level = ChartLevelByCommand(114);   // index 3, 1:100 000
//   const double* zones = DepthZoneLimits(level->index);    // 10, 20, 30, 50 m
#pragma once

#include <array>

struct TChartLevel {
    int command;          // 111 to 118
    int index;            // level index, 0 to 7
    int engineScaleLevel; // 1 to 7; 0 for the overview (118)
    double levelScale;    // scale denominator of the level's queries
    double displayScale;  // scale denominator of the view
};

inline constexpr std::array<TChartLevel, 8> kChartLevels = {{
    {111, 0, 1, 3000000, 3000000},
    {112, 1, 2, 1000000, 1000000},
    {113, 2, 3, 200000, 300000},
    {114, 3, 4, 100000, 100000},
    {115, 4, 5, 50000, 30000},
    {116, 5, 6, 20000, 15000},
    {117, 6, 7, 7500, 7500},
    {118, 7, 0, 20000000, 20000000},
}};

inline constexpr int kFirstLevelCommand = 111, kLastLevelCommand = 118;

// The depth-zone limits of each level, in metres, ascending: the drawing pass
// gives its map context the four of the chart level.
inline constexpr int kDepthZoneCount = 4;
inline constexpr double kDepthZoneLimits[8][kDepthZoneCount] = {
    {100, 200, 500, 1000}, {100, 200, 500, 1000}, {10, 20, 30, 50}, {10, 20, 30, 50},
    {5, 10, 20, 30},       {5, 10, 15, 20},       {2, 5, 10, 15},   {2, 5, 10, 15},
};

// The level of an index 0 to 7; null for any other index.
constexpr const TChartLevel* ChartLevelByIndex(int index) {
    return index >= 0 && index < int(kChartLevels.size()) ? &kChartLevels[std::size_t(index)]
                                                          : nullptr;
}

// The level a command 111 to 118 selects; null for any other command.
constexpr const TChartLevel* ChartLevelByCommand(int command) {
    return command >= kFirstLevelCommand && command <= kLastLevelCommand
               ? ChartLevelByIndex(command - kFirstLevelCommand)
               : nullptr;
}

// The four depth-zone limits of level index 0 to 7; null for any other index.
constexpr const double* DepthZoneLimits(int index) {
    return index >= 0 && index < int(kChartLevels.size()) ? kDepthZoneLimits[index] : nullptr;
}
