// The chart window's mouse: the zoom about a click with its probes, the
// re-centre, the clicks of the editing and information modes (through the
// window layer's mouse messages), the size change, and the chart-data probe
// and the object look-up on the sample chart.
#include "ModalScript.h"
#include "SampleChart.h"
#include "TimerTestSupport.h"
#include "store/tests/storeTestSupport.h"

#include "TideWave.h"
#include "app/ViewerSettings.h"
#include "chart/ChartLevels.h"
#include "dialogs/ReadoutPanels.h"
#include "dialogs/TDbInfoDialog.h"
#include "dialogs/TObjectInfoDialog.h"
#include "dialogs/TTideDialog.h"
#include "gdb/GdbObject.h"
#include "proj/Map.h"
#include "store/DbaseWin.h"
#include "geo/geodesy.h"
#include "ui/Controls.h"
#include "ui/Cursor.h"
#include "ui/Gadgets.h"

#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using charttest::TimerFixture;
using charttest::TTimerWindow;

TChartWindowState& state() {
    return ChartWindowState();
}

bool same(const GeoPoint& a, const GeoPoint& b) {
    return a.lon == b.lon && a.lat == b.lat;
}

// The window's mouse messages, as the layer gets them from Qt.
void left(TMapWindow& w, const ClientPoint& p) {
    w.SendMessage(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MAKELPARAM(p.x, p.y));
}
void right(TMapWindow& w, const ClientPoint& p) {
    w.SendMessage(ui::WM_RBUTTONDOWN, ui::MK_RBUTTON, ui::MAKELPARAM(p.x, p.y));
}
void move(TMapWindow& w, const ClientPoint& p) {
    w.SendMessage(ui::WM_MOUSEMOVE, 0, ui::MAKELPARAM(p.x, p.y));
}

// A chart window whose pointer picks are counted and whose probe answers
// from the levels with data.
class TMouseWindow : public TTimerWindow {
  public:
    using TTimerWindow::TTimerWindow;
    int ownShipOverlays = 0;
    std::vector<int> passes; // DrawUserObjectsOfKind codes
    void DrawOwnShipOverlay(gdi::Dc& dc, int x, int y, bool newPosition) override {
        ++ownShipOverlays;
        TTimerWindow::DrawOwnShipOverlay(dc, x, y, newPosition);
    }
    void DrawUserObjectsOfKind(gdi::Dc& dc, int code) override {
        passes.push_back(code);
        TMapWindow::DrawUserObjectsOfKind(dc, code);
    }
};

std::function<bool(int, const GeoPoint&)> dataAt(std::set<int> levels) {
    return [levels](int level, const GeoPoint&) { return levels.count(level) > 0; };
}

std::vector<int> levelsProbed(const TTimerWindow& w) {
    std::vector<int> out;
    for (const auto& p : w.probes)
        out.push_back(p.level);
    return out;
}

// ---------------------------------------------------------------------------
// The zoom

TEST(MapWindowZoom, TheClickTable) {
    const struct {
        const char* name;
        int level;
        double factor;
        std::set<int> data;
        bool zoomIn; // else a right click
        int request; // kNoLevelRequest: none
        double factorAfter;
        double scaleRatio; // display scale after / before
        std::vector<int> probes;
    } rows[] = {
        // A re-scale probes the level at the centre, and not following
        // levels 2 to 6 there, after the zoom's probes.
        {"overview: level 0", 7, 1, {}, true, 0, 1, 1, {}},
        {"no data above: the factor doubles", 5, 1, {}, true, kNoLevelRequest, 2, 0.5,
         {6, 5, 2, 3, 4, 5, 6}},
        {"and again up to 16", 3, 8, {}, true, kNoLevelRequest, 16, 0.5,
         {4, 5, 6, 3, 2, 3, 4, 5, 6}},
        {"at 16 nothing", 5, 16, {}, true, kNoLevelRequest, 16, 1, {6}},
        {"level 0 at 16: level 3", 0, 16, {}, true, 3, 16, 1, {1, 2, 3, 4, 5, 6}},
        {"data only at 15000: the factor doubles", 3, 1, {5}, true, kNoLevelRequest, 2, 0.5,
         {4, 5, 3, 2, 3, 4, 5, 6}},
        {"data at 30000 = 0.3 x 100000: level 4", 3, 1, {4, 5}, true, 4, 1, 1, {4}},
        {"found but beyond 16: the level", 3, 16, {5}, true, 5, 16, 1, {4, 5}},
        {"right at level 2, factor 1: level 1", 2, 1, {1, 0}, false, 1, 1, 1, {}},
        {"right at level 0, factor 1: the overview", 0, 1, {}, false, 7, 1, 1, {}},
        {"right at the overview, factor 1: nothing", 7, 1, {}, false, kNoLevelRequest, 1, 1, {}},
        {"right, data at 30000 <= 3.33 x 15000", 5, 1, {4}, false, 4, 1, 1, {4}},
        {"right, data only beyond: the factor halves", 6, 1, {4}, false, kNoLevelRequest, 0.5, 2,
         {5, 4, 6, 2, 3, 4, 5, 6}},
        {"right at factor 1/2, data at 1:1000000", 6, 0.5, {1}, false, 1, 0.5, 1, {5, 4, 3, 2, 1}},
        {"right at factor 1/2, no data: level 0", 6, 0.5, {}, false, 0, 0.5, 1, {5, 4, 3, 2, 1}},
    };
    for (const auto& r : rows) {
        TimerFixture f;
        TTimerWindow& w = f.make(r.level);
        state().followFlag = 0;
        w.zoomFactor = r.factor;
        w.displayScale = ChartLevelByIndex(r.level)->displayScale / r.factor;
        w.Rescale(w.displayScale);
        w.chartData = dataAt(r.data);
        w.probes.clear();
        const double before = w.displayScale;
        const GeoPoint centre = w.centre;
        const ClientPoint middle = ClientCentre(w.GetClientRect());
        if (r.zoomIn)
            left(w, middle);
        else
            right(w, middle);
        EXPECT_EQ(state().levelRequest, r.request) << r.name;
        EXPECT_EQ(w.zoomFactor, r.factorAfter) << r.name;
        EXPECT_DOUBLE_EQ(w.displayScale, before * r.scaleRatio) << r.name;
        EXPECT_EQ(levelsProbed(w), r.probes) << r.name;
        // A click on the centre pixel keeps the centre within that pixel
        // (about 1 m here).
        EXPECT_NEAR(NrmToDegrees(w.centre.lon), NrmToDegrees(centre.lon), 1e-5) << r.name;
        EXPECT_NEAR(NrmToDegrees(w.centre.lat), NrmToDegrees(centre.lat), 1e-5) << r.name;
        if (!w.probes.empty()) {
            EXPECT_TRUE(same(w.probes[0].point, state().cursorPosition)) << r.name;
        }
    }
}

TEST(MapWindowZoom, AClickThatDoesNothingLeavesTheViewAndAClickElsewhereCentresThere) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    TChartWindowState& s = state();
    w.zoomFactor = 16;
    const GeoPoint centre = w.centre;
    const Map* map = w.map.get();
    const ClientPoint off = ToClient(ChartPoint{120, -40}, w.GetClientRect());
    const GeoPoint there = GeoPointOf(*w.map, ChartPoint{120, -40});

    // Factor 16 and no data: the centre the click set is put back, the Map
    // and following stay.
    left(w, off);
    EXPECT_TRUE(same(w.centre, centre));
    EXPECT_EQ(w.map.get(), map);
    EXPECT_EQ(s.followFlag, 1);
    EXPECT_EQ(s.levelRequest, kNoLevelRequest);
    EXPECT_TRUE(same(s.cursorPosition, there));

    // A zoom that re-scales centres at the click: following off.
    w.zoomFactor = 1;
    left(w, off);
    EXPECT_EQ(s.followFlag, 0);
    EXPECT_EQ(w.zoomFactor, 2);
    EXPECT_NEAR(NrmToDegrees(w.centre.lon), NrmToDegrees(there.lon), 1e-7);
    EXPECT_NEAR(NrmToDegrees(w.centre.lat), NrmToDegrees(there.lat), 1e-7);
    EXPECT_EQ(ChartPointOf(*w.map, there), (ChartPoint{0, 0}));

    // A level request keeps the new centre for the level's re-scale.
    w.chartData = dataAt({6});
    const GeoPoint next = GeoPointOf(*w.map, ChartPoint{-60, 30});
    left(w, ToClient(ChartPoint{-60, 30}, w.GetClientRect()));
    EXPECT_EQ(s.levelRequest, 6);
    EXPECT_NEAR(NrmToDegrees(w.centre.lon), NrmToDegrees(next.lon), 1e-7);

    // The mouse cursor goes to the client centre after the probes.
    const ScreenPoint c = ToScreen(w, ClientCentre(w.GetClientRect()));
    ui::TPoint at;
    ASSERT_TRUE(ui::GetCursorPos(at));
    EXPECT_EQ(at.x, c.x);
    EXPECT_EQ(at.y, c.y);
}

TEST(MapWindowZoom, ARealClickArrivesAtItsClientPoint) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    state().followFlag = 0;
    const ClientPoint p{200, 150};
    const GeoPoint there = GeoPointOf(*w.map, ToChart(p, w.GetClientRect()));
    QTest::mouseClick(w.GetHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y));
    charttest::settle();
    EXPECT_EQ(w.zoomFactor, 2);
    EXPECT_TRUE(same(state().cursorPosition, there));
}

// ---------------------------------------------------------------------------
// The re-centre

TEST(MapWindowMoveCentre, SameCentreNewCentreAndWhatGoesWithIt) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    TChartWindowState& s = state();
    const double lon = NrmToDegrees(w.centre.lon), lat = NrmToDegrees(w.centre.lat);

    s.pictureUpToDate = 1;
    s.reliefReady = 1;
    EXPECT_FALSE(w.MoveCentre(lon, lat, true));
    EXPECT_EQ(s.pictureUpToDate, 0);
    EXPECT_EQ(s.reliefReady, 0);
    EXPECT_TRUE(w.probes.empty());

    // A route point and a pending grab; following on: no probes.
    s.activeRouteId = 3;
    s.routePointCount = 1;
    s.routePoints[0] = RoutePoint{.lon = deg2nrm(lon + 0.01), .lat = deg2nrm(lat)};
    s.pendingGrab = 2;
    s.listMode = 2;
    s.statusHint = 3;
    s.pendingStatusMessage = 11;
    ChartSettings().lightAnimation = 0;
    EXPECT_TRUE(w.MoveCentre(lon + 0.01, lat, true));
    EXPECT_EQ(w.centre.lon, deg2nrm(lon + 0.01));
    // The Map is the new centre's: the route point sits at the client centre.
    const ClientPoint middle = ClientCentre(w.GetClientRect());
    EXPECT_EQ(s.routePoints[0].x, middle.x);
    EXPECT_EQ(s.routePoints[0].y, middle.y);
    EXPECT_EQ(ChartPointOf(*w.map, w.centre), (ChartPoint{0, 0}));
    EXPECT_EQ(s.pendingGrab, 0);
    EXPECT_EQ(s.listMode, 0);
    EXPECT_EQ(s.statusHint, 0);
    EXPECT_EQ(s.cursorRequest, 1);
    EXPECT_EQ(s.pendingStatusMessage, 0);
    EXPECT_TRUE(w.probes.empty());
    EXPECT_EQ(w.lightRebuilds, 0);

    // Not following, with the light animation always on: levels 2 to 6 at
    // the new centre, and the light table of the new view. Radians too.
    s.followFlag = 0;
    ChartSettings().lightAnimation = 2;
    w.chartData = dataAt({3, 5});
    s.levelChartData = {9, 9, 9, 9, 9, 9, 9};
    const double rad = 3.14159265358979323846 / 180;
    EXPECT_TRUE(w.MoveCentre(lon * rad, (lat + 0.01) * rad, false));
    EXPECT_EQ(w.centre.lat, rad2nrm((lat + 0.01) * rad));
    EXPECT_EQ(levelsProbed(w), (std::vector<int>{2, 3, 4, 5, 6}));
    for (const auto& p : w.probes)
        EXPECT_TRUE(same(p.point, w.centre));
    EXPECT_EQ(s.levelChartData, (std::array<std::uint8_t, 7>{9, 9, 0, 1, 0, 1, 0}));
    EXPECT_EQ(w.lightRebuilds, 1);
}

// ---------------------------------------------------------------------------
// Mouse moves

TEST(MapWindowMouseMove, TheCursorTheBearingTheIdleCursorAndTheGadgets) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    TChartWindowState& s = state();
    s.followFlag = 0;
    f.tick(); // the read-outs
    const ui::TRect client = w.GetClientRect();
    s.ownShip = w.centre;
    s.ownShipClient = ClientCentre(client);
    const ClientPoint north = ToClient(ChartPoint{0, 200}, client);
    s.generalCounter = 16;
    s.cursorKind = 1;
    move(w, north);
    EXPECT_EQ(w.cursorClient, north);
    EXPECT_EQ(w.cursorPoint, (ChartPoint{0, 200}));
    EXPECT_TRUE(same(s.cursorPosition, GeoPointOf(*w.map, ChartPoint{0, 200})));
    EXPECT_DOUBLE_EQ(s.cursorBearing, 360); // straight up is north
    double distance = 0, course = 0;
    IPC(s.ownShip, s.cursorPosition, distance, course);
    EXPECT_DOUBLE_EQ(s.cursorDistance, distance);
    EXPECT_EQ(s.cursorRequest, 7);
    EXPECT_EQ(s.generalCounter, 0);
    // The position read-out shows the cursor only while a route is placed
    // or edited.
    auto* position = dynamic_cast<TGPSPosDlg*>(w.gpsPosDlg);
    ASSERT_TRUE(position);
    EXPECT_FALSE(position->showCursor);
    s.routeState = 3;
    s.cursorRequest = 0;
    move(w, ToClient(ChartPoint{30, 0}, client));
    EXPECT_TRUE(position->showCursor);
    EXPECT_DOUBLE_EQ(position->cursorLon, NrmToDegrees(s.cursorPosition.lon));
    EXPECT_EQ(s.cursorRequest, 0); // the counter was cleared
}

TEST(MapWindowMouseMove, AGrabbedPointAndTheLooseEndFollowTheMouse) {
    TimerFixture f;
    TMouseWindow& w = f.make<TMouseWindow>(5);
    TChartWindowState& s = state();
    s.routeState = 3;
    s.routePointCount = 3;
    s.grabbedPoint = 2;
    s.pictureUpToDate = 1;
    w.editCount = 3;
    w.ownShipOverlays = 0; // the paint's
    move(w, ClientPoint{77, 66});
    EXPECT_EQ(s.routePoints[1].x, 77);
    EXPECT_EQ(s.routePoints[1].y, 66);
    EXPECT_EQ(w.ownShipOverlays, 1); // PlaceRoutePoint's mode 0
    // Not while the picture is out of date.
    s.pictureUpToDate = 0;
    move(w, ClientPoint{90, 90});
    EXPECT_EQ(s.routePoints[1].x, 77);
    // Placing: the loose end is record edit count.
    s.routeState = 2;
    s.grabbedPoint = 0;
    w.editCount = 2;
    move(w, ClientPoint{101, 102});
    EXPECT_EQ(s.routePoints[2].x, 101);
    EXPECT_EQ(s.routePoints[2].y, 102);
}

// ---------------------------------------------------------------------------
// Clicks with the user-object store

// A window over an empty store of its own in a temporary folder, level 5
// around Bergen harbour, not following.
struct StoreFixture : TimerFixture {
    storetest::TempFolder folder;
    TMouseWindow* mw = nullptr;
    StoreFixture() {
        storetest::MakeEmptyStore(folder.path());
        ChartWindowCalls().makeStore =
            [bases = StoreFileBasesIn(folder.path())](TMapWindow& owner) -> ui::TWindow* {
            return new DbaseWin(&owner, bases);
        };
        mw = &make<TMouseWindow>(5);
        state().followFlag = 0;
        ChartSettings().nameOnPlacing = 0;
    }
    DbaseWin& store() const { return *dynamic_cast<DbaseWin*>(mw->dbaseWin); }
    ui::TRect client() const { return mw->GetClientRect(); }
    ClientPoint at(const ChartPoint& p) const { return ToClient(p, client()); }
    GeoPoint geo(const ChartPoint& p) const { return GeoPointOf(*mw->map, p); }

    // Route `id` stored with its points at the chart points (numbers 1 up)
    // and the route table filled from the store as the drawing fills it.
    void route(std::int32_t id, const std::vector<ChartPoint>& points, bool forward) const {
        storetest::AddObject(storetest::Object(kKindRoute, id));
        const int n = int(points.size());
        for (int i = 0; i < n; ++i) {
            const GeoPoint g = geo(points[std::size_t(i)]);
            storetest::WritePoint(store(), storetest::Point(id, std::uint16_t(i + 1),
                                                            BinaryAngleToStoreUnits(g.lat),
                                                            BinaryAngleToStoreUnits(g.lon)));
        }
        TChartWindowState& s = state();
        s.activeRouteId = id;
        s.forwardFlag = forward ? 1 : 0;
        s.routePointCount = n;
        for (int i = 0; i < n; ++i) {
            const ChartPoint p = points[std::size_t(forward ? i : n - 1 - i)];
            const GeoPoint g = geo(p);
            const ClientPoint c = at(p);
            s.routePoints[std::size_t(i)] = RoutePoint{.lon = g.lon, .lat = g.lat, .x = c.x,
                                                       .y = c.y, .crossTrackLimit = 99};
        }
        mw->editCount = n;
    }
    static std::vector<PointRecord> points(std::int32_t id) {
        std::vector<PointRecord> out;
        for (const PointRecord& p : storetest::ReadStore().points)
            if (p.id == id) out.push_back(p);
        return out;
    }
};

const std::vector<ChartPoint> kRoute{{-200, 0}, {-100, 100}, {0, 0}, {100, 100}};

TEST(MapWindowClicks, SymbolsArePlacedAndDeleted) {
    StoreFixture f;
    TChartWindowState& s = state();
    s.placeSymbolMode = true;
    left(*f.mw, f.at({40, 40}));
    const auto objects = storetest::ReadStore().objects;
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].kind, kKindSymbol);
    EXPECT_EQ(objects[0].pointCount, 7); // the current symbol
    EXPECT_EQ(objects[0].colour, 1);
    EXPECT_EQ(objects[0].length, 0); // no depth
    EXPECT_EQ(objects[0].longitude, BinaryAngleToStoreUnits(f.geo({40, 40}).lon));

    s.placeSymbolMode = false;
    s.deleteSymbolMode = true;
    f.mw->passes.clear(); // the paints'
    left(*f.mw, f.at({41, 39}));
    EXPECT_TRUE(storetest::ReadStore().objects.empty());
    EXPECT_EQ(f.mw->passes, (std::vector<int>{305}));
}

TEST(MapWindowClicks, PlacingANewRouteAndItsFiveHundredthPoint) {
    StoreFixture f;
    TChartWindowState& s = state();
    s.routeState = 2;
    s.placedKind = 2;
    f.mw->editCount = 0;
    uitest::TModalScript script;
    script.Dialog(kDbInfoTemplate, [](ui::TDialog& d) { d.SendMessage(ui::WM_COMMAND, ui::IDOK); });
    left(*f.mw, f.at({-50, 10})); // the first point names the route
    EXPECT_TRUE(script.Done());
    left(*f.mw, f.at({60, -20}));
    ASSERT_NE(s.activeRouteId, 0);
    const auto points = StoreFixture::points(s.activeRouteId);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].longitude, BinaryAngleToStoreUnits(f.geo({60, -20}).lon));
    EXPECT_EQ(f.mw->editCount, 2);

    // The 500th ends the editing as command 55 does, without a point.
    f.mw->editCount = 499;
    left(*f.mw, f.at({70, 0}));
    EXPECT_EQ(s.routeState, 0); // following is asked for first
    EXPECT_EQ(s.followRouteRequest, 1);
    EXPECT_EQ(f.mw->editCount, 0);
    EXPECT_EQ(StoreFixture::points(s.activeRouteId).size(), 2u);
}

TEST(MapWindowClicks, TheEditedRouteForwardAndReversed) {
    for (const bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "forward" : "reversed");
        StoreFixture f;
        TChartWindowState& s = state();
        f.route(8, kRoute, forward);
        s.routeState = 3;
        // Table number of stored point k (1 up).
        const auto table = [&](int k) { return forward ? k : 4 - k + 1; };

        // A click on stored point 2 in the table grabs it; its leg gets the
        // limit setting (0).
        left(*f.mw, f.at({-98, 97}));
        EXPECT_EQ(s.grabbedPoint, table(2));
        EXPECT_EQ(s.routePoints[std::size_t(table(2) - 2)].crossTrackLimit, 0);
        // The drop: stored point 2 takes the click's position.
        left(*f.mw, f.at({-80, 60}));
        EXPECT_EQ(s.grabbedPoint, 0);
        auto stored = StoreFixture::points(8);
        ASSERT_EQ(stored.size(), 4u);
        EXPECT_EQ(stored[1].longitude, BinaryAngleToStoreUnits(f.geo({-80, 60}).lon));
        EXPECT_EQ(stored[1].latitude, BinaryAngleToStoreUnits(f.geo({-80, 60}).lat));
        EXPECT_EQ(stored[0].longitude, BinaryAngleToStoreUnits(f.geo(kRoute[0]).lon));
        EXPECT_EQ(stored[3].longitude, BinaryAngleToStoreUnits(f.geo(kRoute[3]).lon));
        const RoutePoint& moved = s.routePoints[std::size_t(table(2) - 1)];
        EXPECT_EQ(ClientPoint(moved.x, moved.y), f.at({-80, 60}));

        // A point the table does not show where the store has it (the
        // table's client point taken away): grabbed through the store, as
        // its table number.
        s.routePoints[std::size_t(table(4) - 1)].x = -5000;
        left(*f.mw, f.at({100, 100}));
        EXPECT_EQ(s.grabbedPoint, table(4));
        // Dropped: stored point 4 moves, no other.
        left(*f.mw, f.at({120, 80}));
        stored = StoreFixture::points(8);
        EXPECT_EQ(stored[3].longitude, BinaryAngleToStoreUnits(f.geo({120, 80}).lon));
        EXPECT_EQ(stored[2].longitude, BinaryAngleToStoreUnits(f.geo(kRoute[2]).lon));

        // A click on the leg from stored point 3 to 4: a new point after
        // stored point 3, grabbed, the counts up, a marked point behind it
        // moved along.
        s.markedRoutePoint = forward ? 3 : 0;
        const int count = s.routePointCount, edits = f.mw->editCount;
        left(*f.mw, f.at({60, 40}));
        EXPECT_EQ(s.routePointCount, count + 1);
        EXPECT_EQ(f.mw->editCount, edits + 1);
        stored = StoreFixture::points(8);
        ASSERT_EQ(stored.size(), 5u);
        EXPECT_EQ(stored[3].longitude, BinaryAngleToStoreUnits(f.geo({60, 40}).lon));
        EXPECT_EQ(s.grabbedPoint, forward ? 4 : 2);
        EXPECT_EQ(s.markedRoutePoint, forward ? 4 : 0);
        // Dropping it rewrites the new point's record, not another's.
        left(*f.mw, f.at({50, 20}));
        stored = StoreFixture::points(8);
        EXPECT_EQ(stored[3].longitude, BinaryAngleToStoreUnits(f.geo({50, 20}).lon));
        EXPECT_EQ(stored[3].latitude, BinaryAngleToStoreUnits(f.geo({50, 20}).lat));
        EXPECT_EQ(stored[4].longitude, BinaryAngleToStoreUnits(f.geo({120, 80}).lon));
        EXPECT_EQ(stored[2].longitude, BinaryAngleToStoreUnits(f.geo(kRoute[2]).lon));

        // A right click deletes the table point under it (stored point 1).
        const int before = s.routePointCount;
        const int overlays = f.mw->ownShipOverlays;
        right(*f.mw, f.at({-200, 0}));
        EXPECT_EQ(s.routePointCount, before - 1);
        EXPECT_EQ(f.mw->ownShipOverlays, overlays + 1);
        stored = StoreFixture::points(8);
        ASSERT_EQ(stored.size(), 4u);
        EXPECT_EQ(stored[0].longitude, BinaryAngleToStoreUnits(f.geo({-80, 60}).lon));
        // A right click on nothing ends there: no zoom.
        right(*f.mw, f.at({-250, -150}));
        EXPECT_EQ(s.routePointCount, before - 1);
        EXPECT_EQ(f.mw->zoomFactor, 1);
    }
}

TEST(MapWindowClicks, APendingGrabPicksARouteLeftForwardRightReversed) {
    for (const bool leftClick : {true, false}) {
        StoreFixture f;
        TChartWindowState& s = state();
        f.route(8, kRoute, true);
        s.activeRouteId = 0;
        s.routePointCount = 0;
        s.routeState = 0;
        s.pendingGrab = 2;
        s.listMode = 2;
        s.statusHint = 10;
        const GeoPoint centre = f.mw->centre;
        if (leftClick)
            left(*f.mw, f.at({0, 0}));
        else
            right(*f.mw, f.at({0, 0}));
        EXPECT_EQ(s.activeRouteId, 8) << leftClick;
        EXPECT_EQ(s.followRouteRequest, 1) << leftClick;
        EXPECT_EQ(s.forwardFlag, leftClick ? 1 : 0);
        EXPECT_EQ(s.pendingGrab, 0);
        EXPECT_EQ(s.listMode, 0);
        EXPECT_EQ(s.cursorRequest, 1);
        EXPECT_EQ(s.redrawRequest, 1);
        EXPECT_EQ(s.statusHint, leftClick ? 4 : 0);
        EXPECT_TRUE(same(f.mw->centre, centre)); // a pick, not a zoom
        EXPECT_EQ(f.mw->zoomFactor, 1);
        // A miss leaves no route and no table fill.
        s.activeRouteId = 0;
        s.pendingGrab = 2;
        s.routeTableFill = 1;
        left(*f.mw, f.at({-300, -200}));
        EXPECT_EQ(s.activeRouteId, 0);
        EXPECT_EQ(s.routeTableFill, 0);
    }
}

TEST(MapWindowClicks, TheFollowedRouteMarksPointsAheadAndAMissZooms) {
    StoreFixture f;
    TChartWindowState& s = state();
    f.route(8, kRoute, true);
    s.routeState = 1;
    s.destinationIndex = 2;
    left(*f.mw, f.at({-100, 100})); // index 1: behind
    EXPECT_EQ(s.markedRoutePoint, -1);
    EXPECT_EQ(f.mw->zoomFactor, 1);
    left(*f.mw, f.at({100, 101})); // index 3
    EXPECT_EQ(s.markedRoutePoint, 3);
    EXPECT_EQ(s.redrawRequest, 1);
    left(*f.mw, f.at({2, 3})); // index 2, the destination
    EXPECT_EQ(s.markedRoutePoint, 2);
    left(*f.mw, f.at({-150, -120})); // nothing: the zoom
    EXPECT_EQ(f.mw->zoomFactor, 2);
}

TEST(MapWindowClicks, TheRightClickEndsTheModes) {
    StoreFixture f;
    TChartWindowState& s = state();
    const auto button = [&](int id) {
        auto* box = dynamic_cast<ui::TGadgetWindow*>(f.mw->toolBox);
        return box ? dynamic_cast<ui::TButtonGadget*>(box->GadgetWithId(id)) : nullptr;
    };
    const struct {
        bool* mode;
        int button;
        int cursor;
    } rows[] = {{&s.placeSymbolMode, 57, 0}, {&s.deleteSymbolMode, 56, 1},
                {&s.informationMode, 119, 1}};
    for (const auto& r : rows) {
        ASSERT_TRUE(button(r.button)) << r.button;
        button(r.button)->SetButtonState(ui::TButtonGadget::Down);
        *r.mode = true;
        s.cursorRequest = 0;
        s.statusHint = 7;
        s.storeChanged = r.button == 56;
        s.redrawRequest = 0;
        right(*f.mw, f.at({10, 10}));
        EXPECT_FALSE(*r.mode) << r.button;
        EXPECT_EQ(button(r.button)->GetButtonState(), ui::TButtonGadget::Up) << r.button;
        EXPECT_EQ(s.cursorRequest, r.cursor) << r.button;
        EXPECT_EQ(s.statusHint, 0) << r.button;
        EXPECT_EQ(s.redrawRequest, r.button == 56 ? 1 : 0) << r.button;
        EXPECT_EQ(s.lastShownHint, -1);
        EXPECT_EQ(f.mw->zoomFactor, 1) << r.button;
    }
    // Placing a route: a right click does nothing.
    s.routeState = 2;
    right(*f.mw, f.at({10, 10}));
    EXPECT_EQ(f.mw->zoomFactor, 1);
    EXPECT_EQ(s.levelRequest, kNoLevelRequest);
}

TEST(MapWindowClicks, TheInformationClick) {
    StoreFixture f;
    TChartWindowState& s = state();
    s.informationMode = true;
    storetest::AddObject(storetest::Object(kKindSymbol, 4, BinaryAngleToStoreUnits(f.geo({30, 30}).lat),
                                           BinaryAngleToStoreUnits(f.geo({30, 30}).lon)));
    f.route(8, kRoute, true);
    s.routeState = 1;
    f.mw->passes.clear(); // the paints'

    // On a symbol: its dialog, and with 404 the chart look-up (no chart
    // database: nothing shown); the cursor back at the click.
    {
        uitest::TModalScript script;
        script.Dialog(kDbInfoTemplate, [&](ui::TDialog& d) {
            EXPECT_EQ(dynamic_cast<TDbInfoDialog&>(d).Object().id, 4);
            for (int i = 0; i < 3; ++i)
                f.mw->EvTimer(kChartTimerId);
            d.SendMessage(ui::WM_COMMAND, kChartInfoButton);
        });
        left(*f.mw, f.at({31, 29}));
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(f.mw->passes, (std::vector<int>{405}));
        ui::TPoint at;
        ASSERT_TRUE(ui::GetCursorPos(at));
        const ScreenPoint click = ToScreen(*f.mw, f.at({31, 29}));
        EXPECT_EQ(at.x, click.x);
        EXPECT_EQ(at.y, click.y);
    }
    // On a point of the active route: the route's dialog with the point.
    {
        f.mw->passes.clear();
        uitest::TModalScript script;
        script.Dialog(kDbInfoTemplate, [&](ui::TDialog& d) {
            EXPECT_EQ(dynamic_cast<TDbInfoDialog&>(d).Object().id, 8);
            d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
        });
        left(*f.mw, f.at({0, 0}));
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(f.mw->passes, (std::vector<int>{405, 402}));
    }
    // On nothing: no dialog, no zoom.
    f.mw->passes.clear();
    left(*f.mw, f.at({-250, -150}));
    EXPECT_EQ(f.mw->passes, (std::vector<int>{405, 402}));
    EXPECT_EQ(f.mw->zoomFactor, 1);
}

// ---------------------------------------------------------------------------
// Tide stations

TEST(MapWindowClicks, ATideStationWithinFivePixelsOpensItsDialog) {
    std::string dir = DATA_DIR "/sample/tides/";
    ASSERT_EQ(TD_LoadDataFiles(dir.data()), 0);
    ViewerSettings().tideDir = dir;
    {
        TimerFixture f;
        TTimerWindow& w = f.make(5);
        TChartWindowState& s = state();
        s.followFlag = 0;
        ASSERT_EQ(s.tideFlag, 2);
        IndexFileStruct bergen{};
        for (int i = 0; i < TD_GetNumPorts(); ++i)
            if (TD_GetTidePoint(i, &bergen) == 0 && bergen.number == 1) break;
        ASSERT_EQ(bergen.number, 1);
        // The station in the view, so that its mark is on the client.
        ASSERT_TRUE(w.MoveCentre(bergen.lon / 60.0 + 0.001, bergen.lat / 60.0, true));
        const ClientPoint mark = ClientPointOf(
            *w.map, GeoPoint{deg2nrm(bergen.lon / 60.0), deg2nrm(bergen.lat / 60.0)},
            w.GetClientRect());
        const auto tideDialogs = [&] {
            int n = 0;
            for (ui::TWindow* child : w.GetChildren())
                if (auto* d = dynamic_cast<TTideDialog*>(child)) {
                        ++n;
                        char name[64] = {};
                        d->GetDlgItemText(kTidePortName, name, sizeof name);
                        EXPECT_STREQ(name, "Bergen");
                }
            return n;
        };
        // 5.0 pixels (3, 4): an ordinary click, the zoom.
        left(w, ClientPoint{mark.x + 3, mark.y + 4});
        EXPECT_EQ(tideDialogs(), 0);
        EXPECT_EQ(w.zoomFactor, 2);
        w.zoomFactor = 1;
        w.Rescale(ChartLevelByIndex(5)->displayScale);
        const ClientPoint again = ClientPointOf(
            *w.map, GeoPoint{deg2nrm(bergen.lon / 60.0), deg2nrm(bergen.lat / 60.0)},
            w.GetClientRect());
        // 4.47 pixels (4, 2): the station's dialog, and no zoom.
        left(w, ClientPoint{again.x + 4, again.y - 2});
        EXPECT_EQ(tideDialogs(), 1);
        EXPECT_EQ(w.zoomFactor, 1);
        EXPECT_EQ(s.inputMode, 8);
    }
    TD_DoneTides();
    ViewerSettings().tideDir.clear();
}

// ---------------------------------------------------------------------------
// Size and activation

TEST(MapWindowSize, TheReadOutsComeBackAndARouteRebuildsTheMap) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    TChartWindowState& s = state();
    s.followFlag = 0;
    UpdateNavShared([](NavShared& n) { n.nav.depth = 12; });
    f.tick(); // the panels, the depth's among them
    ASSERT_TRUE(w.depthDlg && w.sogCogDlg && w.bearingInfoDlg);
    // Marks on the panels there now: one made again has its own caption.
    for (ui::TWindow* panel : {w.depthDlg, w.sogCogDlg, w.bearingInfoDlg})
        panel->SetCaption("before");
    const ui::TWindow* date = w.dateDlg;

    const GeoPoint centre = w.centre;
    w.SendMessage(ui::WM_SIZE, ui::SIZE_RESTORED, ui::MAKELPARAM(600, 400));
    EXPECT_EQ(s.recentreRequest, 1);
    EXPECT_EQ(s.readoutRebuild, 1);
    EXPECT_TRUE(same(w.centre, centre)); // no route: the timer re-centres
    s.recentreRequest = 0;
    f.tick();
    EXPECT_EQ(s.readoutRebuild, 0);
    ASSERT_TRUE(w.depthDlg && w.sogCogDlg && w.bearingInfoDlg);
    for (ui::TWindow* panel : {w.depthDlg, w.sogCogDlg, w.bearingInfoDlg})
        EXPECT_NE(panel->GetCaption(), "before"); // made again
    EXPECT_EQ(w.dateDlg, date);   // not one of the five

    // With a route: the Map at the centre one unit east, the table's points
    // in the new view.
    s.routeState = 1;
    s.activeRouteId = 2;
    s.routePointCount = 1;
    s.routePoints[0] = RoutePoint{.lon = centre.lon + 1, .lat = centre.lat};
    w.SendMessage(ui::WM_SIZE, ui::SIZE_RESTORED, ui::MAKELPARAM(600, 400));
    EXPECT_EQ(w.centre.lon, centre.lon + 1);
    EXPECT_EQ(w.centre.lat, centre.lat);
    EXPECT_EQ(ClientPoint(s.routePoints[0].x, s.routePoints[0].y),
              ClientCentre(w.GetClientRect()));
    EXPECT_EQ(w.clientRect, w.GetClientRect());
}

TEST(MapWindowSize, ActivationSetsAndClearsBitZero) {
    TimerFixture f;
    TTimerWindow& w = f.make(5);
    w.flags = 0x10;
    w.EvMDIActivate(w.GetHandle(), nullptr);
    EXPECT_EQ(w.flags, 0x11u);
    w.EvMDIActivate(nullptr, nullptr);
    EXPECT_EQ(w.flags, 0x11u);
    w.EvMDIActivate(nullptr, w.GetHandle());
    EXPECT_EQ(w.flags, 0x10u);
}

// ---------------------------------------------------------------------------
// The sample chart

constexpr double kBergenLon = 5.3205, kBergenLat = 60.3975;

TEST(MapWindowSampleLookUps, TheChartDataProbe) {
    charttest::SampleChart chart;
    TimerFixture f;
    TTimerWindow& w = f.make(5, kBergenLon, kBergenLat);
    const GeoPoint bergen{deg2nrm(kBergenLon), deg2nrm(kBergenLat)};
    const GeoPoint west{deg2nrm(-30.0), deg2nrm(kBergenLat)}; // the open Atlantic
    std::vector<int> levels;
    for (int level = 0; level <= 7; ++level) {
        if (w.TMapWindow::HasChartData(level, bergen)) levels.push_back(level);
        EXPECT_FALSE(w.TMapWindow::HasChartData(level, west)) << level;
    }
    // The sample's coverage reaches Bergen harbour at every level.
    EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(w.TMapWindow::HasChartData(8, bergen));
    EXPECT_FALSE(w.TMapWindow::HasChartData(-1, bergen));
}

} // namespace

namespace {

constexpr int kUnlisted[] = {35, 44, 45, 147, 177, 193, 198, 210};

// Every node below the root: its object, a class name, no left-out code.
void checkTree(const TObjView& node) {
    for (const auto& child : node.Children()) {
        ASSERT_TRUE(child->Object());
        EXPECT_TRUE(child->ClassName().has_value());
        const int code = child->Object()->GetLabel();
        EXPECT_EQ(std::count(std::begin(kUnlisted), std::end(kUnlisted), code), 0) << code;
        checkTree(*child);
    }
}

TEST(MapWindowSampleLookUps, TheObjectsUnderAnInformationClick) {
    charttest::SampleChart chart;
    TimerFixture f;
    TTimerWindow& w = f.make(5, kBergenLon, kBergenLat);
    state().followFlag = 0;
    const ui::TRect client = w.GetClientRect();

    // Clicks over the harbour view: each lists the coverage object as the
    // root, and every node its texts and no left-out code.
    int dialogs = 0;
    for (int y = client.top + 20; y < client.bottom; y += 40)
        for (int x = client.left + 20; x < client.right; x += 40) {
            uitest::TModalScript script;
            script.Dialog(kObjectInfoTemplate, [&](ui::TDialog& d) {
                auto& info = dynamic_cast<TObjectInfoDialog&>(d);
                ++dialogs;
                ASSERT_TRUE(info.Root().Object());
                EXPECT_EQ(info.Root().Object()->GetLabel(), 217);
                checkTree(info.Root());
                // Ticks inside the dialog replace no Map.
                const Map* map = w.map.get();
                for (int i = 0; i < 3; ++i)
                    w.EvTimer(kChartTimerId);
                EXPECT_EQ(w.map.get(), map);
                d.SendMessage(ui::WM_COMMAND, ui::IDOK);
            });
            w.ShowObjectInfo(ui::TPoint(x, y));
            EXPECT_TRUE(script.Done()) << x << ", " << y;
        }
    EXPECT_GT(dialogs, 0);

    // Off the chart nothing is shown (the strict runner fails any dialog).
    ASSERT_TRUE(w.MoveCentre(-30, kBergenLat, true));
    w.ShowObjectInfo(ui::TPoint(client.Width() / 2, client.Height() / 2));
}

} // namespace
