// The chart window's set-up and its 100 ms timer: own ship from the fixes,
// the track ring, the automatic chart level, the look-ahead and the
// re-centre, the NMEA output, the gadgets, the 3D view exchange, the counters,
// the light marks, the status hint and the read-out panels.
#include "chart/TMapWindow.h"

#include "TideWave.h"
#include "app/KVViewerApp.h"
#include "app/TMyFrame.h"
#include "app/ViewerPalette.h"
#include "app/ViewerSettings.h"
#include "chart/ChartLevels.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/LookAhead.h"
#include "chart/MapWindowRules.h"
#include "dialogs/ReadoutPanels.h"
#include "dialogs/TShortReadoutWindow.h"
#include "gadgets/TCoordGadget.h"
#include "gadgets/TInfoGadget.h"
#include "geo/geodesy.h"
#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "nmea/NmeaOutput.h"
#include "os/Clock.h"
#include "proj/newMap.h"
#include "runtime/intmath.h"
#include "store/DbaseWin.h"
#include "ui/Gadgets.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

// Where own ship is shown before the first fix.
constexpr double kStartLongitude = 10, kStartLatitude = 59;
// Own ship is shown this far east and north of the fix (about 7 m north);
// the track ring keeps the same offsets.
constexpr double kOwnShipLongitudeOffset = 0.00001, kOwnShipLatitudeOffset = 0.00006;
// Fixes at or beyond this latitude do not move own ship.
constexpr double kHighestLatitude = 80;
// Display categories 0 to 17 are on from the set-up.
constexpr int kSetupCategoryCount = 18;
constexpr int kTideMarkCategory = 18;
constexpr int kTimerInterval = 100; // ms
// Counts of the counters (each raised every second tick) before their work.
constexpr int kAutoChartCount = 50, kNmeaOutputCount = 3, kNoFixCount = 75;
// A trip-log step of this many nautical miles or more is a jump, not sailed.
constexpr double kTripLogJump = 10;
constexpr int kRelief3DButton = 132;
constexpr int kInfoGadgets[] = {1006, 1007, 1008, 1009};
constexpr int kLatitudeGadget = 1002, kLongitudeGadget = 1003;
constexpr const char* kCursorPositionTitle = "Cursor POSISJON";
constexpr const char* kOwnPositionTitle = "Egen POSISJON";

// Makes a read-out panel of the chart window and gives it its values; the
// field stays null when its window cannot be made.
template <class Panel> void makePanel(TMapWindow* owner, ui::TWindow*& field) {
    auto* panel = new Panel(owner);
    if (!panel->Create()) {
        delete panel;
        return;
    }
    field = panel;
    panel->Update();
}

void updatePanel(ui::TWindow* field) {
    if (auto* panel = dynamic_cast<TMapDialog*>(field)) panel->Update();
}

// A panel made while its switch is on, and destroyed when it is off.
template <class Panel> void keepPanel(TMapWindow* owner, ui::TWindow*& field, bool on) {
    if (on && !field)
        makePanel<Panel>(owner, field);
    else if (!on && field)
        delete std::exchange(field, nullptr);
}

} // namespace

TChartWindowCalls& ChartWindowCalls() {
    static TChartWindowCalls calls;
    return calls;
}

// ---------------------------------------------------------------------------
// Set-up

void TMapWindow::SetupWindow() {
    TMDIChild::SetupWindow();
    TChartWindowState& s = ChartWindowState();

    gdi::Dc& dc = GetDC();
    dc.selectPalette(ProgramPalette());
    dc.realizePalette();
    const gdi::DeviceCaps caps = dc.caps();
    if (caps.bitsPerPixel <= 8)
        ui::MessageBox(GetHandle(), "Sett Windows mange farger !", "Feil palette", ui::MB_OK);

    for (int c = 0; c < kSetupCategoryCount; ++c)
        s.displayCategories[std::size_t(c)] = 1;
    if (const auto& make = ChartWindowCalls().makeStore)
        dbaseWin = make(*this);
    else
        dbaseWin = new DbaseWin(this);
    ApplySettingsDefaults();

    const TScreenMm mm =
        ScreenOfMonitor(ChartSettings().monitorSize, TScreenMm{s.screenWidthMm, s.screenHeightMm});
    s.screenWidthMm = mm.across;
    s.screenHeightMm = mm.down;
    s.screenPixelsAcross = caps.horzRes;
    s.screenPixelsDown = caps.vertRes;
    s.pixelsPerMetre = MulDiv(caps.horzRes, 1000, s.screenWidthMm);
    map.reset(newMap(PRJ_MERCATOR, static_cast<std::uint32_t>(round(displayScale, 0)), centre,
                     s.screenWidthMm / 2, s.screenHeightMm / 2, s.pixelsPerMetre, s.pixelsPerMetre,
                     nullptr));
    pens = StartupMapPens();

    if (SetTimer(kChartTimerId, kTimerInterval) == 0)
        ui::MessageBox(GetHandle(), "Out of Timers", kViewerTitle, ui::MB_OK);

    s.ownShip = GeoPoint{deg2nrm(kStartLongitude), deg2nrm(kStartLatitude)};
    if (map) s.ownShipClient = ClientPointOf(*map, s.ownShip, GetClientRect());
    UpdateNavShared([](NavShared& n) {
        n.satelliteCount = -1;
        n.nav.windSpeed = -1;
    });
    shownWindSpeed = -1;
    if (TD_GetNumPorts() > 0 && s.displayCategories[kTideMarkCategory]) s.tideFlag = 2;

    ShowToolBox();
}

// ---------------------------------------------------------------------------
// The timer

void TMapWindow::EvTimer(ui::UINT timerId) {
    if (timerId != kChartTimerId) return;
    TChartWindowState& s = ChartWindowState();
    const bool modal = ui::InModalLoop();
    tick = !tick;

    // The commands' requests.
    if (s.redrawRequest) {
        s.redrawRequest = 0;
        s.redrawOnce = 1;
        Invalidate();
    }
    ApplyCursorRequest();
    if (s.followRouteRequest && !s.routeTableFill) {
        s.followRouteRequest = 0;
        StartRouteFollowing();
    }

    // One look at the navigation record; a new fix below 80 degrees is taken
    // in the same step, so none set meanwhile is lost.
    NavShared nav;
    bool newFix = false;
    UpdateNavShared([&](NavShared& shared) {
        nav = shared;
        newFix = shared.newFix && shared.nav.latitude < kHighestLatitude;
        if (newFix) shared.newFix = 0;
    });

    if (!StepOwnShip(nav, newFix, modal)) return;
    if (!StepAutoChart(modal)) return;
    if (!StepLookAhead(nav, modal)) return;

    DrawOwnShipOverlay(GetDC(), s.ownShipClient.x, s.ownShipClient.y, newFix);
    if (s.followingState == 1) RouteFollowingStep();
    if (s.nmeaOutputCounter > kNmeaOutputCount) {
        s.nmeaOutputCounter = 0;
        if (auto send = ChartWindowCalls().sendNmeaOutput)
            send();
        else
            SendNmeaOutput();
    }

    if (!FrameIsIconic()) StepGadgets(nav);
    StepExchange(nav);
    if (tick) StepEverySecondTick(nav);
    StepStatusHint();
    StepReadouts();
}

bool TMapWindow::StepOwnShip(const NavShared& nav, bool newFix, bool modal) {
    TChartWindowState& s = ChartWindowState();
    if (newFix) {
        s.noFixCounter = 0;
        s.ownShip = GeoPoint{deg2nrm(nav.nav.longitude + kOwnShipLongitudeOffset),
                             deg2nrm(nav.nav.latitude + kOwnShipLatitudeOffset)};
        if (map) s.ownShipClient = ClientPointOf(*map, s.ownShip, GetClientRect());
        StepTrack(nav);
    }
    // A re-centre asked for by a size change or the 3D view (not inside a
    // modal loop, where the Map stays as it is).
    if (s.recentreRequest && !modal) {
        s.recentreRequest = 0;
        Rescale(displayScale);
        return false;
    }
    return true;
}

void TMapWindow::StepTrack(const NavShared& nav) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    const float course = nav.nav.courseOverGround;
    const int threshold =
        TrackThreshold(CourseChange(s.lastLoggedCourse, course), settings, s.recordedRouteId != 0);
    if (std::llabs(std::int64_t(s.ownShipClient.x) - s.lastLoggedPoint.x) < threshold &&
        std::llabs(std::int64_t(s.ownShipClient.y) - s.lastLoggedPoint.y) < threshold)
        return;

    double step = 0, bearing = 0;
    IPC(s.lastTrackPoint, s.ownShip, step, bearing);
    TTrackEntry& e = s.trackRing[std::size_t(s.trackIndex)];
    e.time = os::toTimeT(ChartClock().now());
    e.speed10 = TrackField10(nav.nav.speedOverGround);
    e.course10 = TrackField10(course);
    e.lon = nav.nav.longitude + kOwnShipLongitudeOffset;
    e.lat = nav.nav.latitude + kOwnShipLatitudeOffset;
    e.depth10 = TrackField10(nav.nav.depth);
    e.temperature = 0; // no accepted sentence carries one
    s.trackIndex = (s.trackIndex + 1) % kTrackRingSize;
    if (step < kTripLogJump) s.tripLog += static_cast<float>(step);
    s.lastTrackPoint = s.ownShip;
    s.lastTrackClient = s.ownShipClient;
    s.lastLoggedCourse = course;
    s.lastLoggedPoint = s.ownShipClient;
}

bool TMapWindow::StepAutoChart(bool modal) {
    TChartWindowState& s = ChartWindowState();
    if (!s.followFlag || FrameIsIconic() || modal || s.autoChartCounter <= kAutoChartCount)
        return true;
    s.autoChartCounter = 0;
    std::array<bool, kProbedLevelCount> atShip{};
    for (int level = 0; level < kProbedLevelCount; ++level) {
        atShip[std::size_t(level)] = HasChartData(level, s.ownShip);
        s.levelChartData[std::size_t(level)] = atShip[std::size_t(level)];
    }
    const TAutoChartChoice c = ChooseAutoChartLevel(
        levelIndex, atShip, [&] { return HasChartData(levelIndex, centre); }, s.chartDataFlag != 0,
        s.autoChartRequest);
    s.autoChartCounter = c.counter;
    if (c.level < 0) return true;
    s.autoChartRequest = c.request;
    s.levelRequest = c.level;
    return false;
}

bool TMapWindow::StepLookAhead(const NavShared& nav, bool modal) {
    TChartWindowState& s = ChartWindowState();
    if (!s.followFlag) s.followSeen = 0;
    if (!s.followFlag || FrameIsIconic()) return true;

    const TChartSettings& settings = ChartSettings();
    const double course = nav.nav.courseOverGround;
    s.lookAhead = NextLookAhead(s.lookAhead != 0, nav.nav.speedOverGround, displayScale);
    const ui::TRect client = GetClientRect();
    const ChartPoint ship = ToChart(s.ownShipClient, client);
    bool recentre;
    if (s.lookAhead) {
        const int threshold =
            LookAheadThreshold(client.Width(), client.Height(), settings.lookAheadFactor,
                               settings.margin, Is3DViewRunning(), course);
        recentre = OutsideLookAheadBox(ship, client.Width(), client.Height()) ||
                   LookAheadEdgeReached(ship.x, ship.y, threshold) || !s.followSeen;
    } else {
        recentre =
            OutsideRecentreBox(ship, s.screenPixelsAcross, s.screenPixelsDown, settings.margin);
    }
    // Inside a modal loop the Map stays: the re-centre (and the switching on
    // that asks for one) waits for the first tick after it.
    if (modal) return true;
    s.followSeen = 1;
    if (!recentre) return true;
    Rescale(displayScale);
    return false;
}

void TMapWindow::StepGadgets(const NavShared& nav) {
    TMyFrame* frame = FrameOfWindow(this);
    if (!frame) return;
    const TChartWindowState& s = ChartWindowState();
    if (TCoordGadget* g = frame->CoordGadget(kLatitudeGadget))
        g->SetValue(NrmToDegrees(s.ownShip.lat));
    if (TCoordGadget* g = frame->CoordGadget(kLongitudeGadget))
        g->SetValue(NrmToDegrees(s.ownShip.lon));

    TInfoGadgetValues v;
    v.fixQuality = nav.nav.fixValid;
    v.satellites = nav.satelliteCount;
    v.ggaSeen = nav.ggaSeen != 0;
    v.recording = s.recordedRouteId != 0;
    v.recordedPoints = s.recordedPointCount;
    for (const TTrackEntry& e : s.trackRing)
        if (e.lat != 0) ++v.storedPoints;
    v.trackColour = ChartSettings().trackColour;
    v.tripLog = s.tripLog;
    v.illuminationLevel = s.illuminationLevel;
    for (int id : kInfoGadgets)
        if (TInfoGadget* g = frame->InfoGadget(id)) g->SetValues(v);
}

ViewerExchangeInput TMapWindow::ExchangeInput(const NavShared& nav) const {
    const TChartWindowState& s = ChartWindowState();
    const ui::TRect client = GetClientRect();
    ViewerExchangeInput in;
    in.clientWidth = client.Width();
    in.clientHeight = client.Height();
    if (map) {
        const ui::TRect v = ChartViewRect(client);
        in.view = ChartPassGeoRect(*map, Rect{v.left, v.top, v.right, v.bottom});
    }
    in.levelIndex = levelIndex;
    in.levelScale = levelScale;
    in.ownShip = s.ownShip;
    in.ownShipClient = Point{s.ownShipClient.x, s.ownShipClient.y};
    in.fixSeen = nav.nav.fixValid != 0;
    in.course = nav.nav.courseOverGround;
    in.speed = nav.nav.speedOverGround;
    in.crsMinutes = ViewerSettings().crsMinutes;
    in.following = s.followFlag != 0;
    in.reliefSwitch = s.reliefSwitch != 0;
    in.detailWord = s.detailWord;
    in.paletteScheme = s.illuminationLevel;
    in.pictureCount = pictureCount;
    in.database = ChartDatabase();
    in.map = map.get();
    return in;
}

void TMapWindow::StepExchange(const NavShared& nav) {
    const ViewerExchangeInput in = ExchangeInput(nav);
    const auto step = ChartWindowCalls().exchangeStep;
    ApplyExchangeRequests(step ? step(in) : ViewerExchangeTimerStep(in));
}

void TMapWindow::ApplyExchangeRequests(const ViewerExchangeRequests& r) {
    TChartWindowState& s = ChartWindowState();
    if (r.reliefReady) s.reliefReady = 1;
    if (r.redraw) {
        s.redrawOnce = 1;
        Invalidate();
    }
    if (r.recentre) s.recentreRequest = 1;
    if (r.button132 != ViewerExchangeRequests::Button::Unchanged)
        if (ui::TButtonGadget* b = ToolBoxButton(kRelief3DButton))
            b->SetButtonState(r.button132 == ViewerExchangeRequests::Button::Down
                                  ? ui::TButtonGadget::Down
                                  : ui::TButtonGadget::Up);
}

void TMapWindow::StepEverySecondTick(const NavShared& nav) {
    TChartWindowState& s = ChartWindowState();
    ++s.autoChartCounter;
    ++s.noFixCounter;
    ++s.nmeaOutputCounter;
    ++s.generalCounter;
    ++s.dialogCounter;
    if (shortReadout && s.dialogCounter >= kShortReadoutCounts)
        delete std::exchange(shortReadout, nullptr);

    const std::time_t now = os::toTimeT(ChartClock().now());
    std::tm local{};
    if (::localtime_r(&now, &local)) {
        // Two digits: 2100 gives 0, not the 100 that lowering once would leave.
        local.tm_year %= 100;
        s.localTime = local;
    }

    if (s.noFixCounter > kNoFixCount) {
        s.noFixCounter = 0;
        UpdateNavShared([](NavShared& n) {
            if (n.nav.fixValid) {
                n.nav.fixValid = 0;
                n.nav.speedOverGround = 0;
            }
            n.ggaSeen = n.gllSeen = n.vtgSeen = 0;
        });
        ResetFixHistory(nav.outputPort);
    }

    // The depth and wind panels open at the first change of their values.
    if (nav.nav.depth != shownDepth) {
        shownDepth = nav.nav.depth;
        if (depthDlg)
            updatePanel(depthDlg);
        else
            makePanel<TDepthDlg>(this, depthDlg);
    }
    if (nav.nav.windSpeed != shownWindSpeed || nav.nav.windDirection != shownWindDirection) {
        shownWindSpeed = nav.nav.windSpeed;
        shownWindDirection = nav.nav.windDirection;
        if (windDlg)
            updatePanel(windDlg);
        else
            makePanel<TWindDlg>(this, windDlg);
    }

    if (s.painted) {
        s.painted = 0;
        s.pictureUpToDate = 1;
        ResetFixHistory(nav.outputPort);
    }

    if (!FrameIsIconic() && LightAnimationRuns()) StepLightAnimation();
}

void TMapWindow::StepStatusHint() {
    TChartWindowState& s = ChartWindowState();
    if (s.statusHint == s.lastShownHint) return;
    if (const char* text = StatusHintText(s.statusHint)) ShowStatusText("%s", text);
    s.lastShownHint = s.statusHint;
}

void TMapWindow::StepReadouts() {
    const TChartSettings& settings = ChartSettings();
    TChartWindowState& s = ChartWindowState();
    const bool following = s.followingState == 1;
    if (std::exchange(s.readoutRebuild, 0)) {
        // After a size change: the panels placed by the client's size go and
        // are made again below (the depth panel here, as it was open).
        const bool depthShown = depthDlg != nullptr;
        for (ui::TWindow** panel :
             {&depthDlg, &sogCogDlg, &bearingInfoDlg, &routeInfoDlg1, &routeInfoDlg2})
            delete std::exchange(*panel, nullptr);
        if (depthShown) makePanel<TDepthDlg>(this, depthDlg);
    }
    // The bearing panel's title, "PEILING (sann og relativ), DISTANSE", is its
    // template's.
    keepPanel<TBearingInfoDlg>(this, bearingInfoDlg, settings.bearingReadout != 0);
    keepPanel<TGPSPosDlg>(this, gpsPosDlg, settings.positionReadout != 0);
    keepPanel<TSOGCOGDlg>(this, sogCogDlg, settings.speedCourseReadout != 0);
    keepPanel<TDateDlg>(this, dateDlg, settings.dateReadout != 0);
    keepPanel<TRouteInfoDlg1>(this, routeInfoDlg1, following);
    keepPanel<TRouteInfoDlg2>(this, routeInfoDlg2, following);
    if (auto* position = dynamic_cast<TGPSPosDlg*>(gpsPosDlg)) {
        const char* title = position->showCursor ? kCursorPositionTitle : kOwnPositionTitle;
        if (position->GetCaption() != title) position->SetCaption(title);
    }
}
