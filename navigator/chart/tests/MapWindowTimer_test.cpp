// The chart window's set-up and timer: the view and the defaults of the
// set-up, the track ring, the automatic chart level, the cadence of the
// counters, the look-ahead and the re-centre, the re-scale, the keys, the
// local time, the status hints, the 3D view exchange's requests and the
// ticks inside modal loops.
#include "TimerTestSupport.h"

#include "ModalScript.h"
#include "TideWave.h"
#include "app/KVViewerApp.h"
#include "dialogs/ReadoutPanels.h"
#include "dialogs/TF1Dlg.h"
#include "gadgets/TCoordGadget.h"
#include "gadgets/TInfoGadget.h"
#include "gadgets/TScaleGadget.h"
#include "os/Process.h"
#include "geo/geodesy.h"
#include "store/DbaseWin.h"
#include "ui/MessageBox.h"

#include <cmath>
#include <string>

namespace {

using charttest::at;
using charttest::settle;
using charttest::TimerFixture;
using charttest::TTimerWindow;

constexpr double kLonOffset = 0.00001, kLatOffset = 0.00006;

TChartWindowState& state() {
    return ChartWindowState();
}

// ---------------------------------------------------------------------------
// Set-up

TEST(MapWindowSetUp, TheMonitorSizeGivesTheScreen) {
    const struct {
        int inches;
        int across, down;
    } cases[] = {{15, 250, 188}, {17, 283, 212}, {21, 350, 262}, {19, 280, 210}, {0, 280, 210}};
    for (const auto& c : cases) {
        const TScreenMm mm = ScreenOfMonitor(c.inches, TScreenMm{280, 210});
        EXPECT_EQ(mm.across, c.across) << c.inches;
        EXPECT_EQ(mm.down, c.down) << c.inches;
    }
}

TEST(MapWindowSetUp, TheViewTimerOwnShipAndTheDefaults) {
    TimerFixture f;
    // Values the set-up puts right.
    UpdateNavShared([](NavShared& n) {
        n.magneticVariation = 5;
        n.satelliteCount = 7;
        n.nav.windSpeed = 3;
    });
    ChartSettings().margin = 50;
    ChartSettings().trackSwitch = 0;
    state().displayCategories[18] = 0;

    auto* w = f.w = new TTimerWindow(*f.host.client, "", 5, 5.3205, 60.3975);
    ASSERT_TRUE(w->Create());
    EXPECT_EQ(w->GetTimerInterval(kChartTimerId), 100u);

    const TChartWindowState& s = state();
    for (int c = 0; c < kDisplayCategoryCount; ++c)
        EXPECT_EQ(s.displayCategories[std::size_t(c)], c < 19 ? 1 : 0) << "category " << c;
    EXPECT_EQ(s.screenWidthMm, 250);
    EXPECT_EQ(s.screenHeightMm, 188);
    EXPECT_EQ(s.screenPixelsAcross, 1920);
    EXPECT_EQ(s.screenPixelsDown, 1080);
    EXPECT_EQ(s.pixelsPerMetre, 7680); // MulDiv(1920, 1000, 250)

    ASSERT_TRUE(w->map);
    const Map& m = *w->map;
    EXPECT_EQ(m.projection, 2);
    EXPECT_EQ(m.scale, 15000u);
    EXPECT_EQ(m.centre.lon, deg2nrm(5.3205));
    EXPECT_EQ(m.centre.lat, deg2nrm(60.3975));
    EXPECT_EQ(m.windowMap.left, -125);
    EXPECT_EQ(m.windowMap.right, 125);
    EXPECT_EQ(m.windowMap.top, -94);
    EXPECT_EQ(m.windowMap.bottom, 94);
    EXPECT_EQ(m.div.x, 7680);
    EXPECT_EQ(m.div.y, 7680);
    EXPECT_EQ(w->pens, StartupMapPens());

    EXPECT_EQ(s.ownShip.lon, deg2nrm(10));
    EXPECT_EQ(s.ownShip.lat, deg2nrm(59));
    const NavShared nav = NavSnapshot();
    EXPECT_EQ(nav.satelliteCount, -1);
    EXPECT_EQ(nav.nav.windSpeed, -1);
    EXPECT_EQ(nav.magneticVariation, 1);
    EXPECT_EQ(s.tideFlag, 0); // no tides loaded
    EXPECT_EQ(w->dbaseWin, nullptr);

    const TChartSettings& d = ChartSettings();
    EXPECT_EQ(d.monitorSize, 15);
    EXPECT_EQ(d.margin, 90);
    EXPECT_EQ(d.lookAheadFactor, 80);
    EXPECT_EQ(d.soundingsSwitch, 1);
    EXPECT_EQ(d.currentSymbol, 7);
    EXPECT_EQ(d.currentSymbolColour, 1);
    EXPECT_EQ(d.crossTrackLimit, 0);
    EXPECT_EQ(d.arrivalRadius, 5);
    EXPECT_EQ(d.crossTrackAlarmSwitch, 0);
    EXPECT_EQ(d.lightAnimation, 1);
    EXPECT_EQ(d.trackSwitch, 1);
    EXPECT_EQ(d.trackColour, 5);
    EXPECT_EQ(d.trackDensity20, 0);
    EXPECT_EQ(d.trackDensity10, 0);
    EXPECT_EQ(d.positionReadout, 1);
    EXPECT_EQ(d.speedCourseReadout, 1);
    EXPECT_EQ(d.bearingReadout, 1);
    EXPECT_EQ(d.dateReadout, 1);
}

TEST(MapWindowSetUp, TideMarksWhenTheTidesAreLoaded) {
    TimerFixture f;
    std::string dir = DATA_DIR "/sample/tides/";
    ASSERT_EQ(TD_LoadDataFiles(dir.data()), 0);
    f.make();
    EXPECT_EQ(state().tideFlag, 2);
    TD_DoneTides();
}

TEST(MapWindowSetUp, AFewColoursGiveTheBoxAndTheWindowGoesOn) {
    TimerFixture f;
    ui::SetScreenCapsOverride(charttest::testScreen(8));
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    f.make();
    ASSERT_EQ(script.Modals().size(), 1u);
    EXPECT_EQ(script.Modals()[0].caption, "Feil palette");
    EXPECT_EQ(script.Modals()[0].text, "Sett Windows mange farger !");
    EXPECT_TRUE(f.w->map);
    EXPECT_TRUE(script.Done());
}

TEST(MapWindowSetUp, TheUserObjectStoreIsMadeOnTheSettingsFiles) {
    apptest::TestFolder folder; // holds an empty store
    TimerFixture f;
    ChartWindowCalls().makeStore = nullptr;
    f.make();
    auto* store = dynamic_cast<DbaseWin*>(f.w->dbaseWin);
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->Failed());
    EXPECT_EQ(store->NextFreeObjectId(), 1);
    delete std::exchange(f.w, nullptr); // closes the files before the folder goes
}

// ---------------------------------------------------------------------------
// Track

TEST(MapWindowTrack, TheThresholdFollowsTheCourseChange) {
    TChartSettings plain, dense20, dense10, both;
    dense20.trackDensity20 = 1;
    dense10.trackDensity10 = 1;
    both.trackDensity20 = both.trackDensity10 = 1;
    const struct {
        double from, to;
        const TChartSettings& settings;
        bool recording;
        int pixels;
    } cases[] = {
        {0, 3.9, plain, false, 80},  {0, 4, plain, false, 40},   {0, 7.9, plain, false, 40},
        {0, 8, plain, false, 20},    {0, 16, plain, false, 10},  {0, 32, plain, false, 5},
        {0, 40, plain, false, 5},    {0, 190, plain, false, 5},  {350, 10, plain, false, 10},
        {10, 357, plain, false, 20}, {0, 1, dense20, false, 20}, {0, 40, dense10, false, 10},
        {0, 1, both, false, 20},     {0, 1, plain, true, 0},     {0, 1, both, true, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrackThreshold(CourseChange(c.from, c.to), c.settings, c.recording), c.pixels)
            << c.from << " to " << c.to;
    EXPECT_DOUBLE_EQ(CourseChange(0, 190), 170);
    EXPECT_DOUBLE_EQ(CourseChange(270, 90), 180);
}

TEST(MapWindowTrack, APointIsLoggedOnlyAtTheThresholdInXAndInY) {
    TimerFixture f;
    f.make();
    state().followFlag = 0;
    f.fixAt({-100, -50});
    f.tick();
    ASSERT_EQ(state().trackIndex, 1);

    const struct {
        int dx, dy;
        bool logs;
    } moves[] = {{79, 0, false}, {80, 0, true}, {0, 79, false}, {0, -80, true}, {-79, 79, false}};
    for (const auto& m : moves) {
        const int before = state().trackIndex;
        const ChartPoint last = ToChart(state().lastLoggedPoint, f.w->GetClientRect());
        f.fixAt({last.x + m.dx, last.y + m.dy});
        f.tick();
        EXPECT_EQ(f.shipChart(), (ChartPoint{last.x + m.dx, last.y + m.dy}));
        EXPECT_EQ(state().trackIndex, before + (m.logs ? 1 : 0)) << m.dx << ", " << m.dy;
    }
    // Without a new fix nothing is logged, however far the last point lies.
    state().lastLoggedPoint = ClientPoint{-5000, -5000};
    f.tick();
    EXPECT_EQ(state().trackIndex, 3);
}

TEST(MapWindowTrack, EntriesHoldTheFixAndTheRingWraps) {
    TimerFixture f;
    f.make();
    state().followFlag = 0;
    state().recordedRouteId = 9; // threshold 0: every fix is logged
    for (int i = 0; i < 500; ++i) {
        f.fix(5.30 + i * 0.0001, 60.40);
        f.tick();
    }
    EXPECT_EQ(state().trackIndex, 0);
    f.clock.setNow(at(2026, 6, 12, 8, 30, 15));
    f.fix(5.25, 60.45, 123.45f, 12.37f, 12.34f);
    f.tick();
    EXPECT_EQ(state().trackIndex, 1);
    const TTrackEntry& e = state().trackRing[0];
    EXPECT_EQ(e.time, os::toTimeT(at(2026, 6, 12, 8, 30, 15)));
    EXPECT_EQ(e.speed10, 123);
    EXPECT_EQ(e.course10, 1234);
    EXPECT_DOUBLE_EQ(e.lon, 5.25 + kLonOffset);
    EXPECT_DOUBLE_EQ(e.lat, 60.45 + kLatOffset);
    EXPECT_EQ(e.depth10, 123);
    EXPECT_EQ(e.temperature, 0);
    EXPECT_DOUBLE_EQ(state().trackRing[1].lon, 5.3001 + kLonOffset); // the second fix's
    EXPECT_EQ(state().lastTrackPoint.lon, deg2nrm(5.25 + kLonOffset));
    EXPECT_FLOAT_EQ(state().lastLoggedCourse, 123.45f);
}

TEST(MapWindowTrack, FieldsAreTruncatedTenthsWithinTheirWidth) {
    const struct {
        double value;
        int field;
    } cases[] = {{12.37, 123}, {0.09, 0}, {-1, 0}, {6553.5, 65535}, {7000, 65535}, {NAN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TrackField10(c.value), c.field) << c.value;
}

TEST(MapWindowTrack, TheTripLogAddsStepsAndSkipsAJump) {
    TimerFixture f;
    f.make();
    state().followFlag = 0;
    state().recordedRouteId = 9;
    const double lon = 5.3,
                 lats[] = {60.40, 60.40 + 0.5 / 60, 60.40 + 12.5 / 60, 60.40 + 12.8 / 60};
    for (double lat : lats) {
        f.fix(lon, lat);
        f.tick();
    }
    const auto step = [&](int a, int b) {
        double d = 0, c = 0;
        IPC(GeoPoint{deg2nrm(lon + kLonOffset), deg2nrm(lats[a] + kLatOffset)},
            GeoPoint{deg2nrm(lon + kLonOffset), deg2nrm(lats[b] + kLatOffset)}, d, c);
        return d;
    };
    EXPECT_NEAR(step(1, 2), 12, 0.1);
    EXPECT_NEAR(state().tripLog, step(0, 1) + step(2, 3), 1e-5);
}

// ---------------------------------------------------------------------------
// Automatic chart level

TEST(MapWindowAutoChart, TheLevelChoice) {
    const auto levels = [](std::initializer_list<int> with) {
        std::array<bool, 7> a{};
        for (int l : with)
            a[std::size_t(l)] = true;
        return a;
    };
    const struct {
        const char* name;
        int level;
        std::array<bool, 7> atShip;
        bool atCentre, chartDataFlag;
        int request;
        int chosen, counter, requestAfter;
        bool centreProbed;
    } cases[] = {
        {"data here, up only on request", 5, levels({0, 1, 2, 3, 4, 5, 6}), true, false, 0, -1, 0,
         0, true},
        {"data here, up on request", 5, levels({0, 1, 2, 3, 4, 5, 6}), true, false, 1, 6, 0, 2,
         true},
        {"the same level stays", 5, levels({1, 5}), true, true, 1, -1, 0, 1, true},
        {"none at the centre, down", 5, levels({0, 1, 2, 3, 6}), false, true, 0, 3, 1000, 2, true},
        {"none at the centre, flag off", 5, levels({2}), false, false, 1, 2, -1250, 2, true},
        {"none at the centre, none below", 5, levels({6}), false, false, 1, -1, -1250, 1, true},
        {"level 0 below the centre", 3, levels({0}), false, true, 0, 0, 1000, 2, true},
        {"overview counts as -1", 7, levels({0, 1, 2, 3, 4}), false, false, 0, -1, 0, 0, false},
        {"overview, up on request", 7, levels({0, 1, 2, 3, 4}), false, false, 1, 4, 0, 2, false},
        {"level 0 is no candidate upwards", 7, levels({0}), false, false, 1, -1, 0, 1, false},
        {"at level 2 no centre probe, down", 2, levels({0, 1}), false, false, 0, 1, 0, 2, false},
        {"level 0 is no candidate downwards here", 1, levels({0}), false, false, 0, -1, 0, 0,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool probed = false;
        const TAutoChartChoice r = ChooseAutoChartLevel(
            c.level, c.atShip,
            [&] {
                probed = true;
                return c.atCentre;
            },
            c.chartDataFlag, c.request);
        EXPECT_EQ(r.level, c.chosen);
        EXPECT_EQ(r.counter, c.counter);
        EXPECT_EQ(r.request, c.requestAfter);
        EXPECT_EQ(probed, c.centreProbed);
    }
}

TEST(MapWindowAutoChart, TheTimersCheckProbesEightTimesAndItsRequestEndsTheTick) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    w.chartData = [](int level, const GeoPoint&) { return level <= 3; };
    TChartWindowState& s = state();
    s.autoChartCounter = 51;
    s.chartDataFlag = 1;
    f.tick();
    ASSERT_EQ(w.probes.size(), 8u);
    for (int level = 0; level < 7; ++level) {
        EXPECT_EQ(w.probes[std::size_t(level)].level, level);
        EXPECT_EQ(w.probes[std::size_t(level)].point.lon, s.ownShip.lon);
    }
    EXPECT_EQ(w.probes[7].level, 5);
    EXPECT_EQ(w.probes[7].point.lon, w.centre.lon);
    EXPECT_EQ(s.levelChartData, (std::array<std::uint8_t, 7>{1, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(s.levelRequest, 3);
    EXPECT_EQ(s.autoChartRequest, 2);
    EXPECT_EQ(s.autoChartCounter, 1000);
    EXPECT_TRUE(w.ownShipDrawings.empty()); // the tick ended there

    // Not while following is off, nor below the count.
    w.probes.clear();
    s.autoChartCounter = 51;
    s.followFlag = 0;
    f.tick();
    s.followFlag = 1;
    s.autoChartCounter = 50;
    s.ownShip = w.centre; // no re-centre
    s.ownShipClient = ClientPointOf(*w.map, s.ownShip, w.GetClientRect());
    f.tick();
    EXPECT_TRUE(w.probes.empty());
}

// ---------------------------------------------------------------------------
// Cadence

struct CadenceRun {
    std::vector<int> checks;     // ticks with the auto-chart check
    std::vector<int> nmeaTicks;  // ticks with an NMEA output
    int timeoutTick = 0;         // the tick the fix was given up, 0 none
    std::vector<int> counterAt3; // the general counter after ticks 1, 2, 3
};

CadenceRun runCadence(TimerFixture& f, int ticks, int fixTick) {
    TTimerWindow& w = f.make(5);
    // Data at the view's level at the centre: each check leaves the counter at 0.
    w.chartData = [](int level, const GeoPoint&) { return level == 5; };
    TChartWindowState& s = state();
    s.ownShip = w.centre;
    s.ownShipClient = ClientPointOf(*w.map, s.ownShip, w.GetClientRect());
    UpdateNavShared([](NavShared& n) {
        n.nav.fixValid = 1;
        n.nav.speedOverGround = 2.5f;
        n.ggaSeen = n.gllSeen = n.vtgSeen = 1;
    });
    CadenceRun run;
    for (int t = 1; t <= ticks; ++t) {
        if (t == fixTick) f.fixAt({0, 0}, 0, 2.5f);
        const std::size_t probes = w.probes.size();
        const int outputs = charttest::nmeaOutputs;
        f.tick();
        if (w.probes.size() != probes) run.checks.push_back(t);
        if (charttest::nmeaOutputs != outputs) run.nmeaTicks.push_back(t);
        const NavShared n = NavSnapshot();
        if (!run.timeoutTick && n.nav.fixValid == 0) {
            run.timeoutTick = t;
            EXPECT_EQ(n.nav.speedOverGround, 0);
            EXPECT_EQ(n.ggaSeen + n.gllSeen + n.vtgSeen, 0);
        }
        if (t <= 3) run.counterAt3.push_back(s.generalCounter);
    }
    return run;
}

TEST(MapWindowCadence, TwoHundredTicks) {
    TimerFixture f;
    const CadenceRun run = runCadence(f, 210, 0);
    EXPECT_EQ(run.counterAt3, (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(run.checks, (std::vector<int>{102, 204}));
    int in200 = 0;
    for (int t : run.nmeaTicks) {
        EXPECT_EQ(t % 8, 0);
        in200 += t <= 200;
    }
    EXPECT_EQ(in200, 25);
    // The 76th count without a fix (15.2 s of counts).
    EXPECT_EQ(run.timeoutTick, 151);
    EXPECT_EQ(state().dialogCounter, 105);
}

TEST(MapWindowCadence, AFixBeforeTheTimeoutPreventsIt) {
    TimerFixture f;
    EXPECT_EQ(runCadence(f, 200, 150).timeoutTick, 0);
}

// ---------------------------------------------------------------------------
// Look-ahead and the re-centre

TEST(MapWindowLookAhead, TheSwitch) {
    const struct {
        bool before;
        double speed, scale;
        bool after;
    } cases[] = {
        {false, 4.0, 15000, true},   {true, 3.5, 15000, true},   {false, 3.5, 15000, false},
        {true, 3.0, 15000, false},   {true, 12, 1000000, false}, {false, 12, 999999, true},
        {true, 3.5, 2000000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextLookAhead(c.before, c.speed, c.scale), c.after)
            << c.speed << " kn at 1:" << c.scale;
}

TEST(MapWindowLookAhead, ReCentresBeyondFortyFivePerCentAndWhenFollowingComesOn) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    const ui::TRect client = w.GetClientRect();
    const int edge = int(0.45 * client.Width());
    f.fixAt({0, 0}, 90, 6);
    f.tick();
    ASSERT_EQ(state().lookAhead, 1);
    ASSERT_EQ(w.ownShipDrawings.size(), 1u);

    const GeoPoint before = w.centre;
    f.fixAt({edge, 0}, 90, 6);
    f.tick();
    EXPECT_EQ(w.centre.lon, before.lon);
    EXPECT_EQ(w.ownShipDrawings.size(), 2u);

    f.fixAt({edge + 1, 0}, 90, 6);
    f.tick();
    EXPECT_EQ(w.ownShipDrawings.size(), 2u); // a re-centre ends the tick
    // The new centre lies ahead (east) of own ship.
    EXPECT_GT(w.centre.lon, state().ownShip.lon);
    EXPECT_LT(f.shipChart().x, 0);

    // Following switched off and on again: the next tick re-centres (the
    // re-scale probes the new centre once), and only that one.
    state().followFlag = 0;
    f.tick();
    state().followFlag = 1;
    w.probes.clear();
    f.tick();
    EXPECT_EQ(w.probes.size(), 1u);
    EXPECT_EQ(w.ownShipDrawings.size(), 3u);
    f.tick();
    EXPECT_EQ(w.probes.size(), 1u);
    EXPECT_EQ(w.ownShipDrawings.size(), 4u);
}

TEST(MapWindowLookAhead, WithoutItTheBoxOfTheMargin) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    // 0.002 x 1920 x 20 = 76.8 across, 0.002 x 1080 x 20 = 43.2 down.
    const struct {
        ChartPoint ship;
        bool recentres;
    } cases[] = {{{76, 0}, false}, {{77, 0}, true},  {{-77, 0}, true},
                 {{0, 43}, false}, {{0, -44}, true}, {{-76, 43}, false}};
    for (const auto& c : cases) {
        const std::size_t drawn = w.ownShipDrawings.size();
        f.fixAt(c.ship);
        f.tick();
        EXPECT_EQ(w.ownShipDrawings.size() == drawn, c.recentres) << c.ship.x << ", " << c.ship.y;
        if (c.recentres) {
            EXPECT_EQ(w.centre.lon, state().ownShip.lon); // on own ship
            EXPECT_EQ(w.centre.lat, state().ownShip.lat);
        }
    }
    EXPECT_TRUE(OutsideRecentreBox({5, 0}, 1920, 1080, 109) == true); // a box of 3 x 2
    EXPECT_FALSE(OutsideRecentreBox({3, 2}, 1920, 1080, 109));
}

// ---------------------------------------------------------------------------
// Re-scale

TEST(MapWindowRescale, ClampsTheScale) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    state().followFlag = 0;
    const struct {
        double asked, scale;
    } cases[] = {{999, 1000}, {1000, 1000}, {50000000, 40000000}, {25000, 25000}};
    for (const auto& c : cases) {
        w.Rescale(c.asked);
        EXPECT_EQ(w.displayScale, c.scale);
        ASSERT_TRUE(w.map);
        EXPECT_EQ(w.map->scale, std::uint32_t(c.scale));
        EXPECT_EQ(f.host.frame->ScaleGadget()->GetValue(), c.scale);
    }
}

TEST(MapWindowRescale, TheNewCentre) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    const ui::TRect client = w.GetClientRect();
    TChartWindowState& s = state();
    const auto shipAt = [&](const ChartPoint& p) {
        s.ownShip = GeoPointOf(*w.map, p);
        s.ownShipClient = ToClient(p, client);
    };
    const auto course = [](float c) {
        UpdateNavShared([&](NavShared& n) { n.nav.courseOverGround = c; });
    };

    // Look-ahead at course 90: east of own ship by width x ratio x 0.36.
    shipAt({10, -20});
    s.lookAhead = 1;
    course(90);
    GeoPoint expected = GeoPointOf(*w.map, {10 + int(std::lround(client.Width() * 0.72)), -20});
    w.Rescale(30000);
    EXPECT_EQ(w.centre.lon, expected.lon);
    EXPECT_EQ(w.centre.lat, expected.lat);
    EXPECT_EQ(s.lookAhead, 1);

    // Without look-ahead: own ship.
    s.lookAhead = 0;
    shipAt({40, 40});
    const GeoPoint ship = s.ownShip;
    w.Rescale(15000);
    EXPECT_EQ(w.centre.lon, ship.lon);
    EXPECT_EQ(w.centre.lat, ship.lat);

    // From 1:1,000,000 look-ahead goes off: own ship.
    s.lookAhead = 1;
    shipAt({40, 40});
    const GeoPoint ship2 = s.ownShip;
    w.Rescale(1000000);
    EXPECT_EQ(s.lookAhead, 0);
    EXPECT_EQ(w.centre.lon, ship2.lon);

    // Not following: the centre stays.
    w.Rescale(15000);
    s.followFlag = 0;
    s.lookAhead = 1;
    shipAt({100, 100});
    const GeoPoint kept = w.centre;
    w.Rescale(7500);
    EXPECT_EQ(w.centre.lon, kept.lon);
    EXPECT_EQ(w.centre.lat, kept.lat);
}

TEST(MapWindowRescale, TheLookAheadFactorIsTenWhileThe3DViewRunsSouthWestward) {
    EXPECT_EQ(LookAheadFactorInUse(80, true, 200), 10);
    EXPECT_EQ(LookAheadFactorInUse(80, true, 190), 80);
    EXPECT_EQ(LookAheadFactorInUse(80, true, 300), 80);
    EXPECT_EQ(LookAheadFactorInUse(80, false, 200), 80);

    // Through the window, with the exchange's test library and a fake viewer.
    apptest::TestFolder folder;
    TimerFixture f;
    std::filesystem::create_directory(folder / "bin");
    apptest::writeScript(folder / "bin/Vistrel", "exec /bin/sleep 60\n");
    apptest::EnvSetting path("PATH", folder / "bin:/usr/bin:/bin");
    ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
    TTimerWindow& w = f.make(5);
    ViewerExchangeInput in = w.ExchangeInput(NavSnapshot());
    Run3DViewCommand(in);
    ASSERT_TRUE(Is3DViewRunning());

    const ui::TRect client = w.GetClientRect();
    TChartWindowState& s = state();
    s.ownShip = w.centre;
    s.lookAhead = 1;
    UpdateNavShared([](NavShared& n) { n.nav.courseOverGround = 200; });
    const double a = 200 * 0.017453292519943295, k = 1 * (10 + 10) * 0.004;
    const GeoPoint expected =
        GeoPointOf(*w.map, {int(std::lround(std::sin(a) * client.Width() * k)),
                            int(std::lround(std::cos(a) * client.Height() * k))});
    w.Rescale(15000);
    EXPECT_EQ(w.centre.lon, expected.lon);
    EXPECT_EQ(w.centre.lat, expected.lat);

    ViewerProcess().terminate(0);
    UnloadViewerExchange();
    delete std::exchange(f.w, nullptr);
}

TEST(MapWindowRescale, TheViewItsPointsAndWhatItAsks) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    w.chartData = [](int level, const GeoPoint&) { return level == 4; };
    TChartWindowState& s = state();
    const ui::TRect client = w.GetClientRect();
    s.routePointCount = 2;
    s.routePoints[0].lon = deg2nrm(5.31);
    s.routePoints[0].lat = deg2nrm(60.40);
    s.routePoints[1].lon = deg2nrm(5.33);
    s.routePoints[1].lat = deg2nrm(60.39);
    s.lastTrackPoint = GeoPoint{deg2nrm(5.32), deg2nrm(60.395)};
    s.pictureUpToDate = 1;
    s.reliefReady = 1;
    s.followFlag = 0;
    w.levelIndex = 4;

    const unsigned long pictures = w.pictureCount;
    w.Rescale(20000);
    ASSERT_TRUE(w.map);
    EXPECT_EQ(s.pictureUpToDate, 0);
    EXPECT_EQ(s.reliefReady, 0);
    EXPECT_EQ(s.chartDataFlag, 1);
    for (int i = 0; i < 2; ++i) {
        const RoutePoint& p = s.routePoints[std::size_t(i)];
        EXPECT_EQ((ClientPoint{p.x, p.y}), ClientPointOf(*w.map, GeoPoint{p.lon, p.lat}, client));
    }
    EXPECT_EQ(s.lastTrackClient, ClientPointOf(*w.map, s.lastTrackPoint, client));
    // Not following: the chart-data probe, then levels 2 to 6 at the centre.
    ASSERT_EQ(w.probes.size(), 6u);
    for (std::size_t i = 0; i < w.probes.size(); ++i) {
        EXPECT_EQ(w.probes[i].level, i == 0 ? 4 : int(i) + 1);
        EXPECT_EQ(w.probes[i].point.lon, w.centre.lon);
    }
    EXPECT_EQ(s.levelChartData, (std::array<std::uint8_t, 7>{0, 0, 0, 0, 1, 0, 0}));
    settle();
    EXPECT_GT(w.pictureCount, pictures); // invalidated: painted again

    // Following: only the chart-data probe.
    w.probes.clear();
    s.followFlag = 1;
    w.Rescale(20000);
    EXPECT_EQ(w.probes.size(), 1u);

    // The light table by the animation setting and the illumination.
    const struct {
        int setting, illumination;
        bool rebuilt;
    } lights[] = {{0, 2, false}, {1, 0, false}, {1, 1, true}, {2, 0, true}};
    for (const auto& l : lights) {
        ChartSettings().lightAnimation = l.setting;
        s.illuminationLevel = l.illumination;
        const int before = w.lightRebuilds;
        w.Rescale(20000);
        EXPECT_EQ(w.lightRebuilds - before, l.rebuilt ? 1 : 0)
            << l.setting << ", " << l.illumination;
    }
}

// ---------------------------------------------------------------------------
// Keys

TEST(MapWindowKeys, TheKeyTable) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    TChartWindowState& s = state();
    const GeoPoint start = w.centre;
    const auto press = [&](ui::UINT key) { w.EvKeyDown(key, 1, 0); };
    const auto entered = [&](const ChartPoint& p) {
        const GeoPoint g = GeoPointOf(*w.map, p);
        return std::pair{NrmToDegrees(g.lon), NrmToDegrees(g.lat)};
    };

    // Home: following, the check at once, a higher level allowed.
    s.followFlag = 0;
    press(36);
    EXPECT_EQ(s.followFlag, 1);
    EXPECT_EQ(s.autoChartCounter, 1000);
    EXPECT_EQ(s.autoChartRequest, 1);

    // The arrows: following off, the entered position moved by whole pixels
    // of the view before the key, which then centres there.
    const struct {
        ui::UINT key;
        ChartPoint by;
    } arrows[] = {{37, {-512, 0}}, {39, {512, 0}}, {38, {0, 360}}, {40, {0, -360}}};
    for (const auto& a : arrows) {
        s.followFlag = 1;
        const auto [lon, lat] = entered(a.by);
        press(a.key);
        EXPECT_EQ(s.followFlag, 0) << a.key;
        EXPECT_DOUBLE_EQ(s.enteredLon, lon) << a.key;
        EXPECT_DOUBLE_EQ(s.enteredLat, lat) << a.key;
        EXPECT_EQ(w.centre.lon, deg2nrm(lon)) << a.key;
        EXPECT_EQ(w.centre.lat, deg2nrm(lat)) << a.key;
    }
    // Left, right, up and down: back where it started but for the
    // Mercator's stretch north and south.
    EXPECT_NEAR(NrmToDegrees(w.centre.lon), NrmToDegrees(start.lon), 1e-6);

    // Letters ask for levels.
    const struct {
        ui::UINT key;
        int level;
    } letters[] = {{'A', 0}, {'C', 2}, {'G', 6}, {'W', 7}};
    for (const auto& l : letters) {
        s.levelRequest = kNoLevelRequest;
        press(l.key);
        EXPECT_EQ(s.levelRequest, l.level) << char(l.key);
    }
    s.levelRequest = kNoLevelRequest;
    press('H');
    EXPECT_EQ(s.levelRequest, kNoLevelRequest);

    // Numeric + and -: the zoom factor and the scale, within 1/2 and 16.
    s.followFlag = 0;
    const struct {
        ui::UINT key;
        double factorBefore, factor, scale;
    } zooms[] = {{107, 1, 2, 7500},  {107, 8, 16, 3750},   {107, 16, 16, 3750},
                 {109, 16, 8, 7500}, {109, 1, 0.5, 15000}, {109, 0.5, 0.5, 15000}};
    for (const auto& z : zooms) {
        w.zoomFactor = z.factorBefore;
        press(z.key);
        EXPECT_EQ(w.zoomFactor, z.factor) << z.key << " at " << z.factorBefore;
        EXPECT_EQ(w.displayScale, z.scale) << z.key << " at " << z.factorBefore;
    }
    EXPECT_STREQ(ZoomFactorText(w.zoomFactor), "x 1/2");

    // Insert: the position entry.
    press(45);
    EXPECT_EQ(w.positionEntries, 1);

    // F1: the help, following off; after Shift the dialog without a loop.
    s.followFlag = 1;
    press(112);
    EXPECT_EQ(w.helps, 1);
    EXPECT_EQ(s.followFlag, 0);

    // Page Down while following: the cursor position and the centre become
    // own ship's.
    s.followFlag = 1;
    s.ownShip = GeoPoint{deg2nrm(5.0), deg2nrm(60.0)};
    press(34);
    EXPECT_EQ(s.cursorPosition.lon, s.ownShip.lon);
    EXPECT_EQ(w.centre.lat, s.ownShip.lat);
    s.followFlag = 0;
    s.cursorPosition = GeoPoint{deg2nrm(5.5), deg2nrm(60.5)};
    press(33);
    EXPECT_EQ(w.centre.lon, deg2nrm(5.5));
}

TEST(MapWindowKeys, TheZoomTexts) {
    const struct {
        double factor;
        const char* text;
    } cases[] = {{0.25, "x 1/4"}, {0.5, "x 1/2"}, {1, "x 1"},  {2, "x 2"},
                 {4, "x 4"},      {8, "x 8"},     {16, "x 16"}};
    for (const auto& c : cases)
        EXPECT_STREQ(ZoomFactorText(c.factor), c.text);
    EXPECT_EQ(ZoomFactorText(3), nullptr);
    EXPECT_EQ(ZoomFactorText(32), nullptr);
}

// ---------------------------------------------------------------------------
// Read-out panels

std::string itemText(ui::TWindow* panel, int id) {
    char text[64] = {};
    panel->GetDlgItemText(id, text, sizeof text);
    return text;
}

TEST(MapWindowReadouts, PanelsFollowTheirSwitchesAndTheirValues) {
    TimerFixture f;
    TTimerWindow& w = f.make();
    TChartWindowState& s = state();
    s.followFlag = 0;
    TChartSettings& settings = ChartSettings();

    // The switched panels at the first tick; depth and wind wait for a change.
    f.tick();
    EXPECT_TRUE(dynamic_cast<TBearingInfoDlg*>(w.bearingInfoDlg));
    EXPECT_TRUE(dynamic_cast<TGPSPosDlg*>(w.gpsPosDlg));
    EXPECT_TRUE(dynamic_cast<TSOGCOGDlg*>(w.sogCogDlg));
    EXPECT_TRUE(dynamic_cast<TDateDlg*>(w.dateDlg));
    EXPECT_EQ(w.depthDlg, nullptr);
    EXPECT_EQ(w.windDlg, nullptr);
    EXPECT_EQ(w.routeInfoDlg1, nullptr);
    EXPECT_EQ(w.bearingInfoDlg->GetCaption(), "PEILING (sann og relativ), DISTANSE");
    EXPECT_EQ(w.gpsPosDlg->GetCaption(), "Egen POSISJON");

    // The position panel's title follows what it shows.
    dynamic_cast<TGPSPosDlg*>(w.gpsPosDlg)->showCursor = true;
    f.tick();
    EXPECT_EQ(w.gpsPosDlg->GetCaption(), "Cursor POSISJON");
    dynamic_cast<TGPSPosDlg*>(w.gpsPosDlg)->showCursor = false;
    f.tick();
    EXPECT_EQ(w.gpsPosDlg->GetCaption(), "Egen POSISJON");

    // A switch turned off destroys its panel, on makes it again.
    settings.positionReadout = 0;
    settings.dateReadout = 0;
    f.tick();
    EXPECT_EQ(w.gpsPosDlg, nullptr);
    EXPECT_EQ(w.dateDlg, nullptr);
    settings.positionReadout = 1;
    f.tick();
    EXPECT_TRUE(w.gpsPosDlg);

    // Depth and wind: opened at their first change, refreshed at the next.
    UpdateNavShared([](NavShared& n) { n.nav.depth = 12.5f; });
    f.tick(2);
    ASSERT_TRUE(dynamic_cast<TDepthDlg*>(w.depthDlg));
    EXPECT_EQ(itemText(w.depthDlg, 2401), " 12.5 mtr");
    UpdateNavShared([](NavShared& n) { n.nav.depth = 41.0f; });
    f.tick(2);
    EXPECT_EQ(itemText(w.depthDlg, 2401), " 41.0 mtr");
    EXPECT_EQ(w.windDlg, nullptr);
    UpdateNavShared([](NavShared& n) {
        n.nav.windSpeed = 8.5f;
        n.nav.windDirection = 45;
    });
    f.tick(2);
    ASSERT_TRUE(dynamic_cast<TWindDlg*>(w.windDlg));
    EXPECT_EQ(itemText(w.windDlg, 2501), " 8.5 m/s  045 \xb0");

    // The route panels while a route is followed.
    s.followingState = 1;
    f.tick();
    EXPECT_TRUE(dynamic_cast<TRouteInfoDlg1*>(w.routeInfoDlg1));
    EXPECT_TRUE(dynamic_cast<TRouteInfoDlg2*>(w.routeInfoDlg2));
    s.followingState = 0;
    f.tick();
    EXPECT_EQ(w.routeInfoDlg1, nullptr);
    EXPECT_EQ(w.routeInfoDlg2, nullptr);
}

TEST(MapWindowKeys, ShiftF1OpensTheHelpBesideTheChartOnce) {
    TimerFixture f;
    TTimerWindow& w = f.make();
    uitest::TCursorRecorder cursors; // the help puts the mouse on its button
    w.EvKeyDown(16, 1, 0);
    w.EvKeyDown(112, 1, 0);
    ASSERT_TRUE(dynamic_cast<TF1Dlg*>(w.helpDlg));
    EXPECT_EQ(w.helps, 0);
    EXPECT_EQ(state().followFlag, 0);
    // Open already: the help operation.
    w.EvKeyDown(16, 1, 0);
    w.EvKeyDown(112, 1, 0);
    EXPECT_EQ(w.helps, 1);
    // Closed by itself: forgotten, and made again next time.
    w.helpDlg->SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
    settle();
    EXPECT_EQ(w.helpDlg, nullptr);
    w.EvKeyDown(16, 1, 0);
    w.EvKeyDown(112, 1, 0);
    EXPECT_TRUE(w.helpDlg);
}

TEST(MapWindowKeys, KeysInADialogAreNotTheChartWindows) {
    TimerFixture f;
    TTimerWindow& w = f.make();
    ui::MSG msg;
    msg.message = ui::WM_KEYDOWN;
    msg.wParam = 'W';
    msg.lParam = ui::MAKELPARAM(1, 0);
    w.EvKeyDown(16, 1, 0);
    w.EvKeyDown(112, 1, 0); // the help, a dialog of the chart window
    ASSERT_TRUE(w.helpDlg);
    const struct {
        ui::HWND target;
        bool taken;
    } cases[] = {{w.GetHandle(), true},
                 {f.host.frame->GetHandle(), true},
                 {f.host.frame->GetControlBar()->GetHandle(), true},
                 {w.helpDlg->GetHandle(), false},
                 {nullptr, false}};
    for (const auto& c : cases) {
        msg.hwnd = c.target;
        const int before = w.keyDowns;
        EXPECT_EQ(w.HookKey(msg), c.taken);
        EXPECT_EQ(w.keyDowns - before, c.taken ? 1 : 0);
    }
}

// ---------------------------------------------------------------------------
// Local time, status hints, requests

TEST(MapWindowTimer, TheYearHasTwoDigits) {
    TimerFixture f;
    f.make();
    state().followFlag = 0;
    const struct {
        os::SystemTime utc;
        int year, hour;
    } cases[] = {{at(2100, 6, 1, 12, 0), 0, 14},
                 {at(2026, 1, 15, 12, 0), 26, 13},
                 {at(1999, 12, 31, 23, 30), 0, 0}};
    for (const auto& c : cases) {
        f.clock.setNow(c.utc);
        f.tick(2); // one of the two is the second tick
        EXPECT_EQ(state().localTime.tm_year, c.year) << c.utc.year;
        EXPECT_EQ(state().localTime.tm_hour, c.hour) << c.utc.year;
    }
}

TEST(MapWindowTimer, AStatusHintIsShownOncePerChange) {
    TimerFixture f;
    f.make();
    state().followFlag = 0;
    ui::TStatusBar& bar = *f.host.frame->GetStatusBar();
    TChartWindowState& s = state();
    s.statusHint = 3;
    f.tick();
    EXPECT_STREQ(bar.GetText(), "Grip \xf8nsket rute, V tast: Tur, H: Retur");
    bar.SetText("other");
    f.tick(3);
    EXPECT_STREQ(bar.GetText(), "other");
    s.lastShownHint = -1;
    f.tick();
    EXPECT_STREQ(bar.GetText(), "Grip \xf8nsket rute, V tast: Tur, H: Retur");
    s.statusHint = 14; // no hint of its own
    bar.SetText("other");
    f.tick();
    EXPECT_STREQ(bar.GetText(), "other");
    EXPECT_EQ(s.lastShownHint, 14);
    s.statusHint = 1;
    f.tick();
    EXPECT_STREQ(bar.GetText(), "V tast: Nytt ankerpunkt,  H: L\xe5se peiling");
    for (int hint = 0; hint <= 18; ++hint)
        EXPECT_EQ(StatusHintText(hint) == nullptr, hint == 14) << hint;
}

TEST(MapWindowTimer, TheGadgetsGetOwnShipAndTheRecord) {
    TimerFixture f;
    f.make();
    state().followFlag = 0;
    state().tripLog = 2.5f;
    UpdateNavShared([](NavShared& n) { n.satelliteCount = 8; });
    f.fix(5.31, 60.39);
    f.tick();
    TMyFrame& frame = *f.host.frame;
    EXPECT_NEAR(frame.CoordGadget(1002)->GetValue(), 60.39 + kLatOffset, 1e-7);
    EXPECT_NEAR(frame.CoordGadget(1003)->GetValue(), 5.31 + kLonOffset, 1e-7);
    for (int id = 1006; id <= 1009; ++id) {
        const TInfoGadgetValues& v = frame.InfoGadget(id)->GetValues();
        EXPECT_EQ(v.fixQuality, 1) << id;
        EXPECT_EQ(v.satellites, 8) << id;
        EXPECT_EQ(v.storedPoints, 1) << id;
        EXPECT_EQ(v.trackColour, 5) << id;
        EXPECT_FLOAT_EQ(float(v.tripLog), 2.5f) << id;
    }
}

TEST(MapWindowTimer, TheRequestsOfTheCommandsAndTheExchange) {
    TimerFixture f;
    TTimerWindow& w = f.make();
    TChartWindowState& s = state();
    s.ownShip = w.centre;
    s.ownShipClient = ClientPointOf(*w.map, s.ownShip, w.GetClientRect());

    // A redraw request of a command.
    s.redrawRequest = 1;
    f.tick();
    EXPECT_EQ(s.redrawRequest, 0);
    EXPECT_EQ(s.redrawOnce, 1);

    // The exchange's relief: the flag, and a redraw.
    s.redrawOnce = 0;
    charttest::exchangeAnswer.reliefReady = true;
    charttest::exchangeAnswer.redraw = true;
    f.tick();
    EXPECT_EQ(s.reliefReady, 1);
    EXPECT_EQ(s.redrawOnce, 1);

    // The exchange's re-centre: at the next tick, which it ends.
    charttest::exchangeAnswer.recentre = true;
    f.tick();
    EXPECT_EQ(s.recentreRequest, 1);
    s.ownShip = GeoPointOf(*w.map, {30, 20}); // inside the box: no re-centre of its own
    const std::size_t drawn = w.ownShipDrawings.size();
    const int steps = charttest::exchangeSteps;
    f.tick();
    EXPECT_EQ(s.recentreRequest, 0);
    EXPECT_EQ(w.centre.lon, s.ownShip.lon);
    EXPECT_EQ(w.ownShipDrawings.size(), drawn);
    EXPECT_EQ(charttest::exchangeSteps, steps);

    // Route following starts once the route table is filled.
    s.followRouteRequest = 1;
    s.routeTableFill = 1;
    f.tick();
    EXPECT_EQ(s.routeState, 0);
    s.routeTableFill = 0;
    f.tick();
    EXPECT_EQ(s.followRouteRequest, 0);
    EXPECT_EQ(s.routeState, 1);
}

TEST(MapWindowTimer, APaintMakesThePictureUpToDateAtTheNextSecondTick) {
    TimerFixture f;
    f.make();
    TChartWindowState& s = state();
    s.followFlag = 0;
    s.painted = 1;
    s.pictureUpToDate = 0;
    f.tick(2);
    EXPECT_EQ(s.painted, 0);
    EXPECT_EQ(s.pictureUpToDate, 1);
}

// ---------------------------------------------------------------------------
// Re-entrancy

TEST(MapWindowTimer, InsideAModalLoopTheMapStaysAndTheOutputGoesOn) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    TChartWindowState& s = state();
    f.fixAt({0, 0});
    f.tick();
    ASSERT_EQ(w.centre.lon, s.ownShip.lon); // own ship where the view is
    const int outputs = charttest::nmeaOutputs;
    const std::size_t drawn = w.ownShipDrawings.size();

    // A click handler holding the Map across a box; the ticks come meanwhile
    // with own ship drifting out of the re-centre box.
    uitest::TModalScript script;
    script.Step(ui::TModalTask::Kind::Box, "", [&](ui::TModalTask&) {
        EXPECT_TRUE(ui::InModalLoop());
        for (int i = 1; i <= 30; ++i) {
            f.fixAt({10 * i, 0});
            f.tick();
        }
        return ui::IDOK;
    });
    const auto handler = [&] {
        Map* held = w.map.get();
        const GeoPoint centre = w.centre;
        ui::MessageBox(w.GetHandle(), "Bekreftes !!", "Slette valgt rute", ui::MB_OKCANCEL);
        EXPECT_EQ(w.map.get(), held);
        EXPECT_EQ(w.centre.lon, centre.lon);
        EXPECT_EQ(ChartPointOf(*held, centre), (ChartPoint{0, 0})); // the same, alive
    };
    handler();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(w.ownShipDrawings.size(), drawn + 30); // no tick ended early
    // 15 counts in 30 ticks: every fourth count an output.
    EXPECT_GE(charttest::nmeaOutputs - outputs, 3);
    EXPECT_LE(charttest::nmeaOutputs - outputs, 4);
    EXPECT_EQ(f.shipChart().x, 300);

    // The first tick after the loop re-centres on own ship.
    f.tick();
    EXPECT_EQ(w.centre.lon, s.ownShip.lon);
    EXPECT_EQ(w.ownShipDrawings.size(), drawn + 30);
}

} // namespace
