// The sample NMEA track of a vessel leaving Bergen, fed second by second to
// the NMEA input as a port's reader would, with ten timer ticks per second:
// the look-ahead, the track ring, the trip log and the no-fix timeout of the
// 20 s signal loss.
#include "RecordingLog.h"
#include "SampleChart.h"
#include "TestPictures.h"
#include "TimerTestSupport.h"

#include "app/ViewerPalette.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsLayer.h"

#include "geo/geodesy.h"
#include "nmea/NmeaInput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using charttest::TimerFixture;
using charttest::TTimerWindow;

#ifdef CHART_FULL_VIEWS
constexpr bool kFullViews = true;
#else
constexpr bool kFullViews = false;
#endif

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

// What a run of the sample through the timer saw.
struct SampleRun {
    int timeouts = 0, logged = 0;
    std::vector<std::pair<int, bool>> lookAheadSwitches;                 // second, on
    std::vector<std::pair<double, double>> fileFixes;                    // lon, lat; 0: none
    std::vector<std::pair<int, std::pair<double, double>>> loggedPoints; // second, lon, lat
};

// The sample's ten minutes through the window's timer at ten ticks a second,
// following own ship at level 5 from the Home key; `everySecond` runs after
// each second's ticks.
SampleRun runSample(TimerFixture& f, TTimerWindow& w,
                    const std::function<void()>& everySecond = {}) {
    os::FakeClock navClock;
    navClock.setNow(charttest::at(2026, 6, 12, 8, 0));
    SetNavClock(&navClock);
    for (int port = 0; port < kNmeaPortCount; ++port)
        *NmeaPort(port) = NmeaPortState();
    // Chart data at the levels down to the view's own, everywhere.
    w.chartData = [](int level, const GeoPoint&) { return level <= 5; };
    w.EvKeyDown(36, 1, 0); // Home
    TChartWindowState& s = ChartWindowState();

    SampleRun run;
    const std::vector<std::string> seconds = secondsOfTheSample();
    EXPECT_EQ(seconds.size(), 600u);
    std::uint8_t lookAheadBefore = 0;
    run.fileFixes.assign(seconds.size(), {0, 0});
    os::SystemTime now = charttest::at(2026, 6, 12, 8, 0);
    for (std::size_t second = 0; second < seconds.size(); ++second) {
        feedPort(seconds[second]);
        double lon = 0, lat = 0;
        if (ggaPosition(seconds[second], lon, lat)) run.fileFixes[second] = {lon, lat};
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
            if (counterBefore >= 75 && s.noFixCounter == 0 && !fixBefore) ++run.timeouts;
            if (s.lookAhead != lookAheadBefore) {
                lookAheadBefore = s.lookAhead;
                run.lookAheadSwitches.emplace_back(int(second), s.lookAhead != 0);
                if (s.lookAhead) {
                    EXPECT_GE(NavSnapshot().nav.speedOverGround, 4.0f) << second;
                }
            }
            if (s.trackIndex != indexBefore) {
                ++run.logged;
                const TTrackEntry& e = s.trackRing[std::size_t(indexBefore)];
                run.loggedPoints.push_back({int(second), {e.lon, e.lat}});
            }
        }
        if (everySecond) everySecond();
    }
    SetNavClock(nullptr);
    return run;
}

TEST(MapWindowSample, TheBergenDepartureThroughTheTimer) {
    TimerFixture f;
    TTimerWindow& w = f.make(5, 5.3205, 60.3975);
    TChartWindowState& s = ChartWindowState();
    const SampleRun run = runSample(f, w);
    const auto& lookAheadSwitches = run.lookAheadSwitches;
    const auto& fileFixes = run.fileFixes;
    const auto& loggedPoints = run.loggedPoints;
    const int timeouts = run.timeouts, logged = run.logged;

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

// The sample with the overlays drawing at every tick and a paint whenever a
// second asked for one (no chart yet: the fill, the border and the
// overlays); then the harbour view painted with the sample chart. The
// picture goes into the build tree for a person to look at.
TEST(MapWindowSample, TheTrackAndOwnShipOverTheHarbour) {
    TimerFixture f;
    LoadPalettes(DATA_DIR);
    if (kFullViews) {
        f.host.frame->MoveWindow(0, 0, 1280, 800, true);
        charttest::settle();
    }
    TTimerWindow& w = f.make(5, 5.3205, 60.3975);
    w.realOwnShip = true;
    int paints = 0;
    const SampleRun run = runSample(f, w, [&] {
        const unsigned long before = w.pictureCount;
        charttest::settle();
        paints += w.pictureCount != before;
    });
    EXPECT_GT(paints, 0); // the re-centres
    ASSERT_GE(run.loggedPoints.size(), 2u);

    charttest::SampleChart sample;
    TChartWindowState& s = ChartWindowState();
    s.pictureUpToDate = 0;
    w.Invalidate(true);
    charttest::settle();
    const ui::TRect client = w.GetClientRect();

    // The track: one polyline through every point logged, oldest first (all
    // lie within the overlay's window of the view).
    std::vector<gdi::XY> kept;
    for (const auto& p : run.loggedPoints) {
        const GeoPoint g{deg2nrm(p.second.first), deg2nrm(p.second.second)};
        const ChartPoint c = ChartPointOf(*w.map, g);
        ASSERT_TRUE(std::abs(c.x) <= 3000 && std::abs(c.y) <= 2000) << c.x << "," << c.y;
        const ClientPoint at = ToClient(c, client);
        kept.push_back({at.x, at.y});
    }
    gdi::RecordingDc recording(client.Width(), client.Height());
    w.DrawTrackOverlay(recording, w.map.get(), true);
    const std::vector<charttest::Line> lines = charttest::polylines(recording.log());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, kept);

    // Own ship at its last fix, drawn on the window.
    const NavShared nav = NavSnapshot();
    const GeoPoint fix{deg2nrm(nav.nav.longitude + 0.00001), deg2nrm(nav.nav.latitude + 0.00006)};
    EXPECT_EQ(s.ownShip.lon, fix.lon);
    EXPECT_EQ(s.ownShip.lat, fix.lat);
    const ClientPoint ship = s.ownShipClient;
    EXPECT_EQ(ship, ClientPointOf(*w.map, fix, client));
    auto& window = dynamic_cast<gdi::RasterDc&>(w.GetDC());
    const gdi::Colour ring = window.resolve(gdColour(2));
    bool ringSeen = false;
    for (int y = ship.y - 1; y <= ship.y + 1; ++y)
        for (int x = ship.x - 15; x <= ship.x - 10; ++x)
            ringSeen |= window.getPixel(x, y) == ring;
    EXPECT_TRUE(ringSeen) << ship.x << "," << ship.y;

    const std::string path = charttest::picturePath("sample-track");
    EXPECT_TRUE(window.picture().save(QString::fromStdString(path), "PNG")) << path;
    std::printf("%s\n", path.c_str());
}

} // namespace
