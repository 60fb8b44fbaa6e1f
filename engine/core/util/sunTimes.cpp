#include "util/sunTimes.h"

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

double sinDeg(double d) {
    return std::sin(d * pi / 180.0);
}
double cosDeg(double d) {
    return std::cos(d * pi / 180.0);
}

struct SunPosition {
    double gha;         // Greenwich hour angle, degrees
    double declination; // degrees
};

// The sun at UT hour t of the day whose Julian day number is jd.
SunPosition sunAt(long jd, double t) {
    const double T = (static_cast<double>(jd) + t / 24.0 - 2451545.0) / 36525.0;
    const double L = std::fmod(280.46 + 36000.77 * T, 360.0);
    const double G = std::fmod(357.528 + 35999.05 * T, 360.0);
    const double lambda = std::fmod(L + 1.915 * sinDeg(G) + 0.02 * sinDeg(2 * G), 360.0);
    const double epsilon = std::fmod(23.4393 - 0.013 * T, 360.0);
    const double gha = std::fmod(15.0 * t - 180.0 - 1.915 * sinDeg(G) - 0.02 * sinDeg(2 * G) +
                                     2.466 * sinDeg(2 * lambda) - 0.053 * sinDeg(4 * lambda),
                                 360.0);
    const double delta = std::asin(sinDeg(epsilon) * sinDeg(lambda)) * 180.0 / pi;
    return {gha, delta};
}

// UT hour of the event at altitude h0 (sign +1 rising, -1 setting), or NaN
// when it does not occur.
double eventTime(long jd, double lat, double lon, double h0, double sign) {
    double t = 12.0;
    for (int round = 0; round < 26; ++round) {
        const SunPosition sun = sunAt(jd, t);
        const double cosH = (sinDeg(h0) - sinDeg(sun.declination) * sinDeg(lat)) /
                            (cosDeg(lat) * cosDeg(sun.declination));
        // Written so that a NaN (at a pole) also means "does not occur".
        if (!(std::fabs(cosH) < 1.0)) return NAN;
        const double H = std::acos(cosH) * 180.0 / pi;
        const double next = t - std::fmod(sun.gha + lon + sign * H, 360.0) / 15.0;
        if (std::fabs(t - next) < 1e-7) return next;
        t = next;
    }
    return NAN;
}

// An event that occurs, in local hours wrapped into [0, 24); none gives -1.0.
double localHours(double ut, double tz) {
    if (std::isnan(ut)) return -1.0;
    double h = std::fmod(ut - tz, 24.0);
    if (h < 0) h += 24.0;
    return h >= 24.0 ? 0.0 : h;
}

} // namespace

extern "C" {

void sunTimes(const t_date* date, double lat, double lon, double* morningTwilight, double* sunrise,
              double* sunset, double* eveningTwilight, double tz) {
    double times[4] = {-1.0, -1.0, -1.0, -1.0};
    if (date && std::isfinite(lat) && std::isfinite(lon) && std::isfinite(tz)) {
        const long jd = julianDay(date->year, date->month, date->day);
        constexpr double twilight = -12.0, horizon = -0.8333333333333334;
        times[0] = localHours(eventTime(jd, lat, lon, twilight, 1.0), tz);
        times[1] = localHours(eventTime(jd, lat, lon, horizon, 1.0), tz);
        times[2] = localHours(eventTime(jd, lat, lon, horizon, -1.0), tz);
        times[3] = localHours(eventTime(jd, lat, lon, twilight, -1.0), tz);
    }
    if (morningTwilight) *morningTwilight = times[0];
    if (sunrise) *sunrise = times[1];
    if (sunset) *sunset = times[2];
    if (eveningTwilight) *eveningTwilight = times[3];
}

} // extern "C"
