// Helpers of the chart window's timer tests: a chart window whose chart-data
// probe answers from a table and which records the calls of its other
// virtuals, and a fixture with the program's frame, a fake clock under
// TZ=Europe/Oslo, a screen of 1920 x 1080 pixels, fixes put into the
// navigation record, counted NMEA output and a quiet 3D view exchange.
#pragma once

#include "AppTestSupport.h"
#include "ChartTestSupport.h"

#include "chart/ChartFrames.h"
#include "chart/MapWindowRules.h"
#include "nmea/NavState.h"
#include "os/Clock.h"
#include "proj/Map.h"
#include "ui/Screen.h"

#include <ctime>
#include <functional>
#include <optional>
#include <vector>

namespace charttest {

// The chart window of the timer tests.
class TTimerWindow : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;

    struct Probe {
        int level;
        GeoPoint point;
    };
    // Answers HasChartData; by default no level has data anywhere.
    std::function<bool(int level, const GeoPoint& point)> chartData;
    std::vector<Probe> probes;
    int lightRebuilds = 0, helps = 0, positionEntries = 0, keyDowns = 0;
    // Own-ship drawings, one per tick that got to that step; while
    // realOwnShip is set the window's own overlay draws them too.
    std::vector<ClientPoint> ownShipDrawings;
    bool realOwnShip = false;

    bool HasChartData(int level, const GeoPoint& point) override {
        probes.push_back({level, point});
        return chartData && chartData(level, point);
    }
    void RebuildLightTable() override { ++lightRebuilds; }
    void ShowHelp() override { ++helps; }
    bool EnterPosition() override {
        ++positionEntries;
        return false;
    }
    void EvKeyDown(ui::UINT key, ui::UINT repeat, ui::UINT flags) override {
        ++keyDowns;
        TMapWindow::EvKeyDown(key, repeat, flags);
    }
    void DrawOwnShipOverlay(gdi::Dc& dc, int x, int y, bool newPosition) override {
        ownShipDrawings.push_back({x, y});
        if (realOwnShip) TMapWindow::DrawOwnShipOverlay(dc, x, y, newPosition);
    }
};

inline int nmeaOutputs = 0;
inline void countNmeaOutput() {
    ++nmeaOutputs;
}
// What the fake exchange step answers, and how often it ran.
inline ViewerExchangeRequests exchangeAnswer;
inline int exchangeSteps = 0;
inline ViewerExchangeRequests fakeExchangeStep(const ViewerExchangeInput&) {
    ++exchangeSteps;
    return std::exchange(exchangeAnswer, ViewerExchangeRequests{});
}

inline os::SystemTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return os::SystemTime{year, month, day, hour, minute, second, 0};
}

// The screen the tests run on.
inline gdi::DeviceCaps testScreen(int bitsPerPixel = 32) {
    gdi::DeviceCaps caps = gdi::DeviceCaps::forScreen(1920, 1080);
    caps.bitsPerPixel = bitsPerPixel;
    return caps;
}

struct TimerFixture {
    apptest::EnvSetting tz{"TZ", "Europe/Oslo"};
    Host<ui::TMDIClient, TMyFrame> host;
    os::FakeClock clock;
    TTimerWindow* w = nullptr;

    TimerFixture() {
        ::tzset();
        ui::SetScreenCapsOverride(testScreen());
        clock.setNow(at(2026, 6, 12, 8, 0));
        SetChartClock(&clock);
        UpdateNavShared([](NavShared& s) { s = NavShared(); });
        nmeaOutputs = 0;
        exchangeSteps = 0;
        exchangeAnswer = {};
        ChartWindowCalls().sendNmeaOutput = countNmeaOutput;
        ChartWindowCalls().exchangeStep = fakeExchangeStep;
    }
    ~TimerFixture() {
        delete w;
        SetChartClock(nullptr);
        ui::SetScreenCapsOverride(std::nullopt);
        UpdateNavShared([](NavShared& s) { s = NavShared(); });
    }
    TimerFixture(const TimerFixture&) = delete;
    TimerFixture& operator=(const TimerFixture&) = delete;

    // The chart window (a TTimerWindow or a class derived from it) made, set
    // up and shown, with its own timer stopped: the tests give the ticks.
    template <class Window = TTimerWindow>
    Window& make(int levelIndex = 5, double lon = 5.3205, double lat = 60.3975) {
        delete w;
        auto* made = new Window(*host.client, "", levelIndex, lon, lat);
        w = made;
        EXPECT_TRUE(w->Create());
        w->ShowWindow(ui::SW_SHOW);
        settle();
        w->KillTimer(kChartTimerId);
        // The sizes of the showing asked for a re-centre and new read-outs
        // at the next tick; the tests start from a settled window.
        ChartWindowState().recentreRequest = 0;
        ChartWindowState().readoutRebuild = 0;
        w->probes.clear();
        w->ownShipDrawings.clear(); // the paint's
        return *made;
    }

    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            w->EvTimer(kChartTimerId);
    }

    // A fix as the reader commits it: own ship will be shown at (lon, lat)
    // plus the display offsets.
    static void fix(double lon, double lat, float course = 0, float speed = 0, float depth = 0) {
        UpdateNavShared([&](NavShared& s) {
            s.nav.longitude = lon;
            s.nav.latitude = lat;
            s.nav.courseOverGround = course;
            s.nav.speedOverGround = speed;
            s.nav.depth = depth;
            s.nav.fixValid = 1;
            s.newFix = 1;
        });
    }
    // The fix that puts own ship at chart point p of the window's map.
    void fixAt(const ChartPoint& p, float course = 0, float speed = 0) const {
        const GeoPoint g = GeoPointOf(*w->map, p);
        fix(NrmToDegrees(g.lon) - 0.00001, NrmToDegrees(g.lat) - 0.00006, course, speed);
    }
    ChartPoint shipChart() const {
        return ToChart(ChartWindowState().ownShipClient, w->GetClientRect());
    }
};

} // namespace charttest
