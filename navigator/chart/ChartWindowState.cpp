#include "chart/ChartWindowState.h"

TChartWindowState& ChartWindowState() {
    static TChartWindowState state;
    return state;
}

TChartSettings& ChartSettings() {
    static TChartSettings settings;
    return settings;
}

void ApplySettingsDefaults() {
    ChartSettings() = TChartSettings{};
}

void ResetChartWindowState() {
    ChartWindowState() = TChartWindowState{};
    ChartSettings() = TChartSettings{};
}
