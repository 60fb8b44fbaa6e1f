#include "chart/MapWindowRules.h"

#include "chart/ChartWindowState.h"
#include "runtime/intmath.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kLookAheadOnKnots = 4, kLookAheadOffKnots = 3, kLookAheadScaleLimit = 1000000;

// A product truncated toward zero, as an int.
int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

} // namespace

TScreenMm ScreenOfMonitor(int inches, TScreenMm kept) {
    switch (inches) {
    case 15:
        return {250, 188};
    case 17:
        return {283, 212};
    case 21:
        return {350, 262};
    default:
        return kept;
    }
}

double CourseChange(double from, double to) {
    double change = std::fmod(std::fabs(to - from), 360.0);
    if (change > 180) change = 360 - change;
    return change;
}

int TrackThreshold(double courseChange, const TChartSettings& settings, bool recording) {
    if (recording) return 0;
    if (settings.trackDensity20) return 20;
    if (settings.trackDensity10) return 10;
    if (courseChange < 4) return 80;
    if (courseChange < 8) return 40;
    if (courseChange < 16) return 20;
    if (courseChange < 32) return 10;
    return 5;
}

std::uint16_t TrackField10(double value) {
    const double tenths = std::trunc(value * 10);
    if (!(tenths > 0)) return 0; // also NaN
    if (tenths > 65535) return 65535;
    return static_cast<std::uint16_t>(tenths);
}

TAutoChartChoice ChooseAutoChartLevel(int levelIndex, const std::array<bool, 7>& dataAtShip,
                                      const std::function<bool()>& dataAtCentre, bool chartDataFlag,
                                      int autoChartRequest) {
    TAutoChartChoice c;
    c.request = autoChartRequest;
    const int t = levelIndex == 7 ? -1 : levelIndex;
    int candidate = -1;
    if (t > 2 && !dataAtCentre()) {
        for (int level = t - 1; level >= 0 && candidate < 0; --level)
            if (dataAtShip[std::size_t(level)]) candidate = level;
        c.counter = chartDataFlag ? 1000 : -1250;
    } else {
        for (int level = 6; level >= 1 && candidate < 0; --level)
            if (dataAtShip[std::size_t(level)]) candidate = level;
    }
    if (candidate >= 0 && (candidate < t || (candidate > t && autoChartRequest > 0))) {
        c.level = candidate;
        c.request = 2;
    }
    return c;
}

bool NextLookAhead(bool current, double speedKnots, double displayScale) {
    if (speedKnots >= kLookAheadOnKnots && displayScale < kLookAheadScaleLimit) return true;
    if (speedKnots <= kLookAheadOffKnots || displayScale >= kLookAheadScaleLimit) return false;
    return current;
}

bool OutsideRecentreBox(const ChartPoint& ship, int screenAcross, int screenDown, int margin) {
    const int across = truncated(0.002 * screenAcross * (110 - margin));
    const int down = truncated(0.002 * screenDown * (110 - margin));
    return std::llabs(ship.x) > across || std::llabs(ship.y) > down;
}

bool OutsideLookAheadBox(const ChartPoint& ship, int clientWidth, int clientHeight) {
    return std::llabs(ship.x) > truncated(0.45 * clientWidth) ||
           std::llabs(ship.y) > truncated(0.45 * clientHeight);
}

int LookAheadFactorInUse(int setting, bool viewRunning, double course) {
    return viewRunning && course > 190 && course < 300 ? 10 : setting;
}

ChartPoint LookAheadCentre(const ChartPoint& ship, double course, int clientWidth, int clientHeight,
                           double ratio, int factor) {
    const double a = course * kDegreesToRadians, k = ratio * (factor + 10) * 0.004;
    return {static_cast<int>(round(ship.x + std::sin(a) * clientWidth * k, 0)),
            static_cast<int>(round(ship.y + std::cos(a) * clientHeight * k, 0))};
}

double ClampScale(double scale) {
    if (!(scale >= kMinimumScale)) return kMinimumScale; // also NaN
    if (scale > kMaximumScale) return kMaximumScale;
    return scale;
}

const char* StatusHintText(int state) {
    static const char* const texts[] = {
        "V tast: Zoom inn, H: Zoom ut, Senter/piltast: Flytt kart, F1:Hjelp",
        "V tast: Nytt ankerpunkt,  H: L\xe5se peiling",
        "V tast: Nytt ankerpunkt,  H: Sette VRM b\xe5tsymbol",
        "Grip \xf8nsket rute, V tast: Tur, H: Retur",
        "V tast: Flytte / Nytt punkt,  H: Slette punkt,  avslutt med OK",
        "Sett nye punkter med venstre tast,  avslutt med OK",
        "Slett symbol med venstre tast,  avslutt med h\xf8yre eller OK",
        "Plasser symbol med venstre tast,  avslutt med h\xf8yre eller OK",
        "Utf\xf8r endringer / velg aksjon i dialog!",
        "Grip \xf8nsket track med venstre tast",
        "Grip \xf8nsket linje med venstre tast",
        "V tast: Korrigert posisjon",
        "V tast: Info,  H: avslutt Info-modus",
        "Slett track med venstre tast, avslutt med h\xf8yre",
        nullptr,
        "Dele track med venstre tast, avslutt med h\xf8yre",
        "Lage waypoint liste for utskrift",
        "Forlenge aktiv rute med nytt rutevalg",
        "Rute waypoint kalkulator",
    };
    if (state < 0 || state >= int(std::size(texts))) return nullptr;
    return texts[state];
}

const char* ZoomFactorText(double factor) {
    static const struct {
        double factor;
        const char* text;
    } texts[] = {{0.25, "x 1/4"}, {0.5, "x 1/2"}, {1, "x 1"},  {2, "x 2"},
                 {4, "x 4"},      {8, "x 8"},     {16, "x 16"}};
    for (const auto& t : texts)
        if (t.factor == factor) return t.text;
    return nullptr;
}
