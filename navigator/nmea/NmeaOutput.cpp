#include "nmea/NmeaOutput.h"

#include "nmea/NmeaInput.h"
#include "serial/SerialPorts.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

// Formats with "C" numeric conventions on this thread, whatever the locale.
class CNumbers {
  public:
    CNumbers() : previous_(uselocale(cLocale())) {}
    ~CNumbers() { uselocale(previous_); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

  private:
    static locale_t cLocale() {
        static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    locale_t previous_;
};

__attribute__((format(printf, 2, 3))) void append(std::string& out, const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0) out.append(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}

// A value to print: not a number gives 0.
double finiteOr0(double v) {
    return std::isfinite(v) ? v : 0;
}

// A parsed number as an int; not a number or out of any sensible range gives 0.
int whole(double v) {
    return std::isfinite(v) && std::fabs(v) < 1e6 ? static_cast<int>(v) : 0;
}

// An angle folded into [0, 360).
double fold360(double v) {
    v = std::fmod(finiteOr0(v), 360.0);
    return v < 0 ? v + 360 : v;
}

// A direction to tenths of a degree; one that rounds up to 360 reads as 0.
void appendDirection(std::string& out, double v, bool zeroPadded) {
    char text[16];
    std::snprintf(text, sizeof text, zeroPadded ? "%05.1f" : "%.1f", fold360(v));
    if (std::strcmp(text, "360.0") == 0) std::strcpy(text, zeroPadded ? "000.0" : "0.0");
    out += text;
}

// Degrees and minutes rounded once to thousandths of a minute, the carry
// going into the degrees: "%0Nd%02d.%03d" with N = degreeDigits.
void appendDegreesMinutes(std::string& out, long degrees, double minutes, int degreeDigits) {
    const double m = std::fabs(finiteOr0(minutes));
    long long thousandths = m < 1e9 ? static_cast<long long>(std::nearbyint(m * 1000.0)) : 0;
    long long d = static_cast<long long>(std::labs(degrees)) + thousandths / 60000;
    thousandths %= 60000;
    append(out, "%0*lld%02lld.%03lld", degreeDigits, d, thousandths / 1000, thousandths % 1000);
}

// A binary angle as degrees and minutes of its magnitude.
void appendBinaryAngle(std::string& out, std::int32_t a, int degreeDigits) {
    const long double degrees = std::fabs(static_cast<long double>(a)) * 360.0L / GeoTurn;
    const long long thousandths = static_cast<long long>(std::nearbyint(degrees * 60000.0L));
    appendDegreesMinutes(out, static_cast<long>(thousandths / 60000),
                         static_cast<double>(thousandths % 60000) / 1000.0, degreeDigits);
}

const char* status(const NavShared& nav) {
    return nav.nav.fixValid == 0 ? "V" : "A";
}

// The destination's table record, or null when the index lies outside the table.
const RoutePoint* destination(const TChartWindowState& route) {
    const int n = std::min(route.routePointCount, kRoutePointMax);
    const int d = route.destinationIndex;
    return d >= 0 && d < n ? &route.routePoints[d] : nullptr;
}

// The cross-track error and the direction to steer.
void appendCrossTrack(std::string& out, const TChartWindowState& route) {
    const double e = finiteOr0(route.crossTrackError);
    if (route.destinationIndex < 1)
        out += "0.00,R";
    else if (e > 0)
        append(out, "%4.2f,R", e);
    else
        append(out, "%4.2f,L", -e);
}

// A bearing for APB: as it is with "T" with the true-bearings switch on, else
// the magnetic bearing (true - east variation) with "M".
void appendApbBearing(std::string& out, double bearing, const NavShared& nav, bool trueBearings) {
    if (trueBearings) {
        appendDirection(out, bearing, true);
        out += ",T";
    } else {
        appendDirection(out, bearing - nav.magneticVariation, true);
        out += ",M";
    }
}

std::string& outputText() {
    static std::string text;
    return text;
}

struct Counters {
    int rmc = 0, rmb = 0, apb = 0;
};

Counters& counters() {
    static Counters c;
    return c;
}

// Raises the counter and tells whether the sentence is due; it then restarts.
bool due(int& counter, int divider) {
    if (divider <= 0 || ++counter < divider) return false;
    counter = 0;
    return true;
}

} // namespace

std::string FinishNmeaSentence(const std::string& body) {
    unsigned x = 0;
    for (char c : body)
        x ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", x & 0xFFu);
    return "$" + body + tail;
}

std::string BuildRmcSentence(const NavShared& nav, const os::SystemTime& utc) {
    CNumbers c;
    const NmeaParseFields& f = nav.parse;
    std::string body = "GPRMC,";
    append(body, "%02d%02d%02d,%s,", f.hours, f.minutes, whole(f.seconds), status(nav));
    appendDegreesMinutes(body, f.latitudeDegrees, f.latitudeMinutes, 2);
    const char ns = f.northSouth == 'N' || f.northSouth == 'S' ? f.northSouth
                    : nav.nav.latitude < 0                     ? 'S'
                                                               : 'N';
    append(body, ",%c,", ns);
    appendDegreesMinutes(body, f.longitudeDegrees, f.longitudeMinutes, 3);
    // A sentence other than a position sentence leaves "X" here.
    const char ew = f.eastWest == 'E' || f.eastWest == 'W' ? f.eastWest
                    : nav.nav.longitude < 0                ? 'W'
                                                           : 'E';
    append(body, ",%c,%.1f,", ew, finiteOr0(nav.nav.speedOverGround));
    // Below 3 knots the course over ground wanders: the course of the last
    // committed fix is sent instead.
    const double course = nav.nav.speedOverGround >= 3 ? nav.nav.courseOverGround : nav.windHeading;
    appendDirection(body, course, false);
    append(body, ",%02d%02d%02d,%d,%s", utc.day, utc.month, ((utc.year % 100) + 100) % 100,
           std::abs(nav.magneticVariation), nav.magneticVariation >= 0 ? "E" : "W");
    return FinishNmeaSentence(body);
}

std::string BuildRmbSentence(const NavShared& nav, const TChartWindowState& route) {
    const RoutePoint* to = destination(route);
    if (!to) return {};
    CNumbers c;
    const int d = route.destinationIndex;
    std::string body = "GPRMB,";
    append(body, "%s,", status(nav));
    appendCrossTrack(body, route);
    append(body, ",%d,%d,", d, d + 1);
    appendBinaryAngle(body, to->lat, 2);
    append(body, ",%c,", to->lat < 0 ? 'S' : 'N');
    appendBinaryAngle(body, to->lon, 3);
    append(body, ",%c,%.2f,", to->lon < 0 ? 'W' : 'E', finiteOr0(route.routeRange));
    appendDirection(body, route.routeBearing, false);
    append(body, ",%.1f,%s", finiteOr0(nav.nav.speedOverGround),
           route.arrivalEntered || route.perpendicularPassed ? "A" : "V");
    return FinishNmeaSentence(body);
}

std::string BuildApbSentence(const NavShared& nav, const TChartWindowState& route) {
    if (!destination(route)) return {};
    CNumbers c;
    const int d = route.destinationIndex;
    std::string body = "GPAPB,";
    append(body, "%s,A,", status(nav));
    appendCrossTrack(body, route);
    append(body, ",N,%c,%c,", route.arrivalEntered ? 'A' : 'V',
           route.perpendicularPassed ? 'A' : 'V');
    const double legBearing =
        d >= 1 ? static_cast<double>(route.routePoints[d - 1].legCourse) : route.routeBearing;
    appendApbBearing(body, legBearing, nav, route.trueBearings != 0);
    append(body, ",%d,", d + 1);
    appendApbBearing(body, route.routeBearing, nav, route.trueBearings != 0);
    body += ",,";
    return FinishNmeaSentence(body);
}

void SendNmeaOutput() {
    const NavShared nav = NavSnapshot();
    const TChartWindowState& route = ChartWindowState();
    const os::SystemTime utc = NavClock().now();
    std::string& text = outputText();
    Counters& n = counters();
    text.clear();
    if (due(n.rmc, kRmcDivider)) text += BuildRmcSentence(nav, utc);
    if (route.followingState == 1) {
        if (due(n.rmb, kRmbDivider)) text += BuildRmbSentence(nav, route);
        if (due(n.apb, kApbDivider)) text += BuildApbSentence(nav, route);
    }
    if (!text.empty()) SignalPortWriter(text.c_str());
}

const std::string& NmeaOutputText() {
    return outputText();
}

void ResetNmeaOutput() {
    counters() = Counters{};
    outputText().clear();
}
