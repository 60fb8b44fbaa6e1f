// Route following and the NMEA output: the start of following on a full
// 500-point route (the nearest-point search over every point), and one timer
// tick's share while a route is followed: a route step plus one call of the
// NMEA output (RMC, RMB and APB built and handed to the writer).
#include <benchmark/benchmark.h>

#include <memory>

#include "chart/ChartWindowState.h"
#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "nmea/NmeaOutput.h"
#include "os/Clock.h"
#include "route/RouteFollowing.h"

namespace {

os::FakeClock gClock; // never the system time

constexpr std::int32_t kMinute = 198842; // binary-angle units of one minute of arc

// A 500-point route northward from 60 N, 5 E, a point every mile with a
// small zig-zag; own ship at `shipPoint`'s latitude, a mile off to the east.
void fillRoute(TChartWindowState& s, int shipPoint) {
    for (int i = 0; i < kRoutePointMax; ++i) {
        RoutePoint& p = s.routePoints[i];
        p = RoutePoint{};
        p.lon = deg2nrm(5.0) + (i % 2 ? kMinute / 4 : 0);
        p.lat = deg2nrm(60.0) + i * kMinute;
        p.legLength = 1.0f;
        p.legCourse = i % 2 ? 352.0f : 8.0f;
    }
    s.routePointCount = kRoutePointMax;
    s.ownShip = GeoPoint{deg2nrm(5.0) + 2 * kMinute, deg2nrm(60.0) + shipPoint * kMinute};
    s.detailWord = 5;
}

void BM_StartFollowing500Points(benchmark::State& state) {
    auto s = std::make_unique<TChartWindowState>();
    fillRoute(*s, 250);
    for (auto _ : state) {
        s->followingState = 0;
        benchmark::DoNotOptimize(BeginRouteFollowing(*s));
    }
}
BENCHMARK(BM_StartFollowing500Points)->Unit(benchmark::kMicrosecond);

void BM_RouteStepAndNmeaOutput(benchmark::State& state) {
    SetNavClock(&gClock);
    UpdateNavShared([](NavShared& n) {
        n = NavShared();
        n.nav.fixValid = 1;
        n.nav.speedOverGround = 7.5f;
        n.nav.courseOverGround = 3.0f;
        n.parse.latitudeDegrees = 60;
        n.parse.latitudeMinutes = 12.345f;
        n.parse.longitudeDegrees = 5;
        n.parse.longitudeMinutes = 2.0f;
        n.parse.eastWest = 'E';
    });
    TChartWindowState& s = ChartWindowState();
    fillRoute(s, 250);
    BeginRouteFollowing(s);
    ResetNmeaOutput();
    const int destination = s.destinationIndex;
    for (auto _ : state) {
        benchmark::DoNotOptimize(StepRouteFollowing(s, ChartSettings()));
        SendNmeaOutput();
        s.destinationIndex = destination; // stay on the same leg
    }
    ResetChartWindowState();
    ResetNmeaOutput();
    SetNavClock(nullptr);
}
BENCHMARK(BM_RouteStepAndNmeaOutput)->Unit(benchmark::kMicrosecond);

} // namespace
