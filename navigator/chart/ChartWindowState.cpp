#include "chart/ChartWindowState.h"

#include "chart/LightAnimation.h"

#include "nmea/NavState.h"
#include "os/Clock.h"

namespace {

// The tide-station marks' display category, on by default.
constexpr int kTideMarkCategory = 18;
constexpr std::int32_t kDefaultVariation = 1; // degrees east

os::Clock* chartClock = nullptr;

} // namespace

TChartWindowState& ChartWindowState() {
    static TChartWindowState state;
    return state;
}

TChartSettings& ChartSettings() {
    static TChartSettings settings;
    return settings;
}

bool LightAnimationRuns() {
    const int animation = ChartSettings().lightAnimation;
    return animation == 2 || (animation == 1 && ChartWindowState().illuminationLevel > 0);
}

void ApplySettingsDefaults() {
    ChartSettings() = TChartSettings{};
    ChartWindowState().displayCategories[kTideMarkCategory] = 1;
    UpdateNavShared([](NavShared& s) { s.magneticVariation = kDefaultVariation; });
}

void ResetChartWindowState() {
    ChartWindowState() = TChartWindowState{};
    ChartSettings() = TChartSettings{};
    LightAnimation() = TLightAnimation{};
}

void SetChartClock(os::Clock* clock) {
    chartClock = clock;
}

os::Clock& ChartClock() {
    return chartClock ? *chartClock : os::realClock();
}
