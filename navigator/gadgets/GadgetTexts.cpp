#include "gadgets/GadgetTexts.h"

#include "dialogs/ReadoutText.h"
#include "runtime/intmath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::time_t kWeekSeconds = 604800;

} // namespace

std::string ScaleText(double scale) {
    if (!std::isfinite(scale) || !(scale > 0)) return {};
    // The widest double written "%.0f" has 309 digits.
    char digits[320];
    std::snprintf(digits, sizeof digits, "%0.0f", scale);
    return "1: " + GroupInThrees(digits);
}

std::string CoordinateText(double degrees, bool longitude) {
    if (!std::isfinite(degrees) || std::fabs(degrees) > 180) return {};
    // 1/10000 minute: at most 108,000,000, well inside 32 bits.
    std::int64_t a = round(static_cast<long double>(degrees) * 600000, 0);
    const char letter = a < 0 ? (longitude ? 'W' : 'S') : (longitude ? 'E' : 'N');
    a = a < 0 ? -a : a;
    char text[32];
    std::snprintf(text, sizeof text, "%3d\xB0 %02d.%03d %c", static_cast<int>(a / 600000),
                  static_cast<int>(a % 600000 / 10000), static_cast<int>(a % 600000 % 10000 / 10),
                  letter);
    return text;
}

GadgetText GpsText(const TInfoGadgetValues& v) {
    if (v.fixQuality == 0) return {"GPS ERROR!", 1};
    char text[32];
    if (v.satellites > 0)
        std::snprintf(text, sizeof text, "GPS %d sats.", v.satellites);
    else
        std::snprintf(text, sizeof text, "GPS ok");
    if (v.fixQuality == 2) text[0] = 'D';
    return {text, v.fixQuality == 1 && v.ggaSeen ? 4 : kGadgetTextNormal};
}

GadgetText TrackText(const TInfoGadgetValues& v, bool blinkOn) {
    char text[32];
    if (v.recording) {
        std::snprintf(text, sizeof text, "Track: %dpt", v.recordedPoints);
        return {text, blinkOn ? v.trackColour : kGadgetTextNormal};
    }
    if (v.trackFull) return {"Track: FULL", kGadgetTextNormal};
    std::snprintf(text, sizeof text, "Track: %dpt", v.storedPoints);
    return {text, kGadgetTextNormal};
}

std::string ElapsedTimeText(std::time_t now, std::time_t& start, double tripLog) {
    // A clock set back (the program sets it from GPS fixes) starts again too.
    if (tripLog == 0 || now < start || now - start > kWeekSeconds) start = now;
    const long long seconds = static_cast<long long>(now - start);
    char text[48];
    std::snprintf(text, sizeof text, " %lld t.  %02lld m.", seconds / 3600, seconds % 3600 / 60);
    return text;
}

std::string TripText(double tripLog) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f Nm.", tripLog);
    return text;
}

GadgetText InfoText(int kind, const TInfoGadgetValues& values, bool blinkOn, std::time_t now,
                    std::time_t& start) {
    switch (kind) {
    case kInfoGps:
        return GpsText(values);
    case kInfoTrack:
        return TrackText(values, blinkOn);
    case kInfoElapsed:
        return {ElapsedTimeText(now, start, values.tripLog)};
    case kInfoTrip:
        return {TripText(values.tripLog)};
    default:
        return {};
    }
}
