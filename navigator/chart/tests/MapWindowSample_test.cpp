// The sample NMEA track of a vessel leaving Bergen, fed second by second to
// the NMEA input as a port's reader would, with ten timer ticks per second:
// the look-ahead, the track ring, the trip log and the no-fix timeout of the
// 20 s signal loss.
#include "TimerTestSupport.h"

#include "geo/geodesy.h"
#include "nmea/NmeaInput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using charttest::TimerFixture;
using charttest::TTimerWindow;

// The file's text, one element per second: each starts with the GGA of a new
// time (a corrupted GGA of the same second, or one without a time of day,
// stays in its second).
std::vector<std::string> secondsOfTheSample() {
    std::ifstream in(DATA_DIR "/sample/nmea/bergen_departure.nmea", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    std::vector<std::size_t> starts;
    std::string time;
    for (std::size_t at = all.find("$GPGGA,"); at != std::string::npos;
         at = all.find("$GPGGA,", at + 1)) {
        const std::string t = all.substr(at + 7, 6);
        if (t.size() < 6 || t.find_first_not_of("0123456789") != std::string::npos || t == time ||
            t.substr(0, 2) > "23" || t.substr(2, 2) > "59" || t.substr(4, 2) > "59")
            continue;
        time = t;
        starts.push_back(at);
    }
    std::vector<std::string> seconds;
    for (std::size_t i = 0; i < starts.size(); ++i)
        seconds.push_back(all.substr(starts[i], i + 1 < starts.size() ? starts[i + 1] - starts[i]
                                                                      : std::string::npos));
    return seconds;
}

// The position of a second's GGA, when it has one.
bool ggaPosition(const std::string& second, double& lon, double& lat) {
    double la = 0, lo = 0;
    char ns = 0, ew = 0;
    if (std::sscanf(second.c_str(), "$GPGGA,%*[^,],%lf,%c,%lf,%c", &la, &ns, &lo, &ew) != 4)
        return false;
    lat = std::floor(la / 100) + std::fmod(la, 100) / 60;
    lon = std::floor(lo / 100) + std::fmod(lo, 100) / 60;
    if (ns == 'S') lat = -lat;
    if (ew == 'W') lon = -lon;
    return true;
}

double miles(double lon1, double lat1, double lon2, double lat2) {
    double d = 0, c = 0;
    IPC(GeoPoint{deg2nrm(lon1), deg2nrm(lat1)}, GeoPoint{deg2nrm(lon2), deg2nrm(lat2)}, d, c);
    return d;
}

// Hands a second's text to port 0 in reads of 80 bytes; the reader's marks of
// a committed fix.
void feedPort(const std::string& text) {
    NmeaPortState* port = NmeaPort(0);
    bool committed = false;
    for (std::size_t at = 0; at < text.size(); at += kNmeaReadBufferSize) {
        const std::size_t n = std::min<std::size_t>(kNmeaReadBufferSize, text.size() - at);
        std::memcpy(port->readBuffer, text.data() + at, n);
        port->readCount = static_cast<std::uint32_t>(n);
        committed |= ParseNmeaBuffer(0) == 1;
    }
    if (committed)
        UpdateNavShared([](NavShared& s) {
            s.newFix = 1;
            s.fixSinceTimeout = 1;
            ++s.nav.fixCount;
        });
}

// The bends the sample's route passes in its ten minutes (turning points of
// its generator, latitude and longitude).
constexpr double kBends[][2] = {{60.4005, 5.3130}, {60.4030, 5.3040}, {60.4100, 5.2920}};

TEST(MapWindowSample, TheBergenDepartureThroughTheTimer) {
    TimerFixture f;
    os::FakeClock navClock;
    navClock.setNow(charttest::at(2026, 6, 12, 8, 0));
    SetNavClock(&navClock);
    for (int port = 0; port < kNmeaPortCount; ++port)
        *NmeaPort(port) = NmeaPortState();

    TTimerWindow& w = f.make(5, 5.3205, 60.3975);
    // Chart data at the levels down to the view's own, everywhere.
    w.chartData = [](int level, const GeoPoint&) { return level <= 5; };
    w.EvKeyDown(36, 1, 0); // Home
    TChartWindowState& s = ChartWindowState();

    const std::vector<std::string> seconds = secondsOfTheSample();
    ASSERT_EQ(seconds.size(), 600u);
    int timeouts = 0, logged = 0;
    std::uint8_t lookAheadBefore = 0;
    std::vector<std::pair<int, bool>> lookAheadSwitches;                      // second, on
    std::vector<std::pair<double, double>> fileFixes(seconds.size(), {0, 0}); // lon, lat; 0: none
    std::vector<std::pair<int, std::pair<double, double>>> loggedPoints;      // second, lon, lat
    os::SystemTime now = charttest::at(2026, 6, 12, 8, 0);
    for (std::size_t second = 0; second < seconds.size(); ++second) {
        feedPort(seconds[second]);
        double lon = 0, lat = 0;
        if (ggaPosition(seconds[second], lon, lat)) fileFixes[second] = {lon, lat};
        for (int t = 0; t < 10; ++t) {
            now.milliseconds += 100;
            if (now.milliseconds == 1000) {
                now.milliseconds = 0;
                now = charttest::at(2026, 6, 12, 8, int(second + 1) / 60, int(second + 1) % 60);
            }
            f.clock.setNow(now);
            const int counterBefore = s.noFixCounter, indexBefore = s.trackIndex;
            const bool fixBefore = NavSnapshot().newFix != 0;
            f.tick();
            if (counterBefore >= 75 && s.noFixCounter == 0 && !fixBefore) ++timeouts;
            if (s.lookAhead != lookAheadBefore) {
                lookAheadBefore = s.lookAhead;
                lookAheadSwitches.emplace_back(int(second), s.lookAhead != 0);
                if (s.lookAhead) {
                    EXPECT_GE(NavSnapshot().nav.speedOverGround, 4.0f) << second;
                }
            }
            if (s.trackIndex != indexBefore) {
                ++logged;
                const TTrackEntry& e = s.trackRing[std::size_t(indexBefore)];
                loggedPoints.push_back({int(second), {e.lon, e.lat}});
            }
        }
    }
    SetNavClock(nullptr);

    // Look-ahead from the second the speed reached 4 knots (the file's speed
    // passes 4 kn at 55 s); off only while the signal was lost (the input
    // then reports no speed), on again with the first fix after it.
    EXPECT_EQ(lookAheadSwitches,
              (std::vector<std::pair<int, bool>>{{55, true}, {300, false}, {320, true}}));
    // The 20 s loss gave the fix up once.
    EXPECT_EQ(timeouts, 1);

    // The ring's count for this file and window (deterministic).
    EXPECT_EQ(logged, 20);
    ASSERT_GE(loggedPoints.size(), 2u);

    // The trip log against the file's fixes over the seconds it spans. Taken
    // fix by fix, the receiver's scatter of about a metre adds some 3 % to the
    // sum; every fifth fix leaves the scatter out.
    const int first = loggedPoints.front().first, last = loggedPoints.back().first;
    const auto fileSum = [&](int step) {
        double sum = 0;
        std::pair<double, double> previous{0, 0};
        for (int t = first; t <= last; ++t) {
            const auto fix = fileFixes[std::size_t(t)];
            if (fix.second == 0 || ((t - first) % step != 0 && t != last)) continue;
            if (previous.second != 0)
                sum += miles(previous.first, previous.second, fix.first, fix.second);
            previous = fix;
        }
        return sum;
    };
    EXPECT_NEAR(s.tripLog, fileSum(5), 0.02 * fileSum(5));
    EXPECT_LT(s.tripLog, fileSum(1)); // chords are never longer than the way sailed

    // Points cluster at the route's bends: the course change lowers the
    // threshold, so a point is logged within a few metres of each bend the
    // vessel passed, while on the legs they lie some 0.08 NM apart.
    for (const auto& bend : kBends) {
        double nearest = 1e9;
        for (const auto& p : loggedPoints)
            nearest = std::min(nearest, miles(p.second.first, p.second.second, bend[1], bend[0]));
        EXPECT_LT(nearest, 0.015) << bend[0] << " N " << bend[1] << " E";
    }
    std::vector<double> gaps;
    for (std::size_t i = 2; i < loggedPoints.size(); ++i) // from the second point
        gaps.push_back(miles(loggedPoints[i - 1].second.first, loggedPoints[i - 1].second.second,
                             loggedPoints[i].second.first, loggedPoints[i].second.second));
    std::nth_element(gaps.begin(), gaps.begin() + std::ptrdiff_t(gaps.size() / 2), gaps.end());
    EXPECT_GT(gaps[gaps.size() / 2], 0.06);
}

} // namespace
