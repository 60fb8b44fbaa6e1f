// Placing and editing the user's objects on the chart window: new routes and
// lines point by point with their ID and POINT records and the route table,
// the rubber band, the name dialog, points inserted and deleted (the order of
// the store's rewrites seen through a spy on its record calls), and new
// symbols. Each test has an empty store of its own; a recording of the
// window's overlay calls shows what the placing asks to be drawn.
#include "AppTestSupport.h"
#include "ChartTestSupport.h"
#include "store/tests/StoreSpy.h"
#include "store/tests/storeTestSupport.h"

#include "ModalScript.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "dialogs/ReadoutPanels.h"
#include "dialogs/TDbInfoDialog.h"
#include "os/Clock.h"
#include "proj/Map.h"
#include "store/DbaseWin.h"
#include "ui/Cursor.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include <string>
#include <vector>

namespace {

using storetest::StoreSpy;

// A chart window that counts the own-ship overlay's drawings and how deep
// PlaceRoutePoint calls went, and notes where the route table was drawn.
class TEditWindow : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;
    int ownShipDrawings = 0, depth = 0, deepest = 0;
    std::vector<const gdi::Dc*> tableDrawings;

    void DrawOwnShipOverlay(gdi::Dc& dc, int x, int y, bool newPosition) override {
        ++ownShipDrawings;
        TMapWindow::DrawOwnShipOverlay(dc, x, y, newPosition);
    }
    void DrawActiveRouteFromTable(gdi::Dc& dc) override {
        tableDrawings.push_back(&dc);
        TMapWindow::DrawActiveRouteFromTable(dc);
    }
    void PlaceRoutePoint(gdi::Dc& dc, int mode) override {
        deepest = std::max(deepest, ++depth);
        TMapWindow::PlaceRoutePoint(dc, mode);
        --depth;
    }
};

bool same(const GeoPoint& a, const GeoPoint& b) {
    return a.lon == b.lon && a.lat == b.lat;
}

// 2026-06-12 10:00 UTC.
constexpr std::int64_t kNow = 1781258400;

struct EditHost : ::testing::Test {
    apptest::EnvSetting tz{"TZ", "Europe/Oslo"};
    storetest::TempFolder folder;
    charttest::Host<ui::TMDIClient> host;
    os::FakeClock clock;
    TEditWindow* w = nullptr;
    DbaseWin* store = nullptr;

    void SetUp() override {
        ::tzset();
        storetest::MakeEmptyStore(folder.path());
        ui::SetScreenCapsOverride(gdi::DeviceCaps::forScreen(1920, 1080));
        clock.setNow(os::SystemTime{2026, 6, 12, 10, 0, 0, 0});
        SetChartClock(&clock);
        ChartWindowCalls().makeStore =
            [bases = StoreFileBasesIn(folder.path())](TMapWindow& owner) -> ui::TWindow* {
            return new DbaseWin(&owner, bases);
        };
        // Own ship (10 E, 59 N at the set-up) stands at the view's centre.
        w = new TEditWindow(*host.client, "", 5, 10, 59);
        ASSERT_TRUE(w->Create());
        w->ShowWindow(ui::SW_SHOW);
        charttest::settle();
        w->KillTimer(kChartTimerId);
        store = dynamic_cast<DbaseWin*>(w->dbaseWin);
        ASSERT_TRUE(store && !store->Failed());
        ASSERT_GT(ChartWindowState().pixelsPerNm, 0);
        ChartWindowState().followFlag = 0;
    }
    void TearDown() override {
        delete w;
        SetChartClock(nullptr);
        ui::SetScreenCapsOverride(std::nullopt);
        StoreRecordCalls() = TStoreRecordCalls{};
    }

    ui::TRect client() const { return w->GetClientRect(); }
    // A click at chart point p: the cursor point and position the mouse
    // handlers keep.
    GeoPoint click(const ChartPoint& p) const {
        w->cursorPoint = p;
        ChartWindowState().cursorPosition = GeoPointOf(*w->map, p);
        return ChartWindowState().cursorPosition;
    }
    // A new route being placed (command 53's state).
    void newRoute() const {
        TChartWindowState& s = ChartWindowState();
        s.routeState = 2;
        s.activeRouteId = 0;
        s.routePointCount = 0;
        s.placedKind = 2;
        w->editCount = 0;
    }
    // The name dialog: types `name` (none: Cancel).
    static std::function<void(ui::TDialog&)> naming(const char* name) {
        return [name](ui::TDialog& d) {
            if (name) {
                d.SetDlgItemText(kDbInfoName, name);
                static_cast<QLineEdit*>(d.GetDlgItem(kDbInfoName))->setModified(true);
            }
            d.SendMessage(ui::WM_COMMAND, name ? ui::IDOK : ui::IDCANCEL);
        };
    }
    static std::optional<IdRecord> stored(std::int32_t id) {
        IdBytes bytes;
        if (isam::EQLREC(kIdKey, IdKey(id).data(), bytes.data()) != 0) return std::nullopt;
        return IdRecord::Decode(bytes);
    }
    static std::vector<PointRecord> points(std::int32_t id) {
        std::vector<PointRecord> out;
        for (const PointRecord& p : storetest::ReadStore().points)
            if (p.id == id) out.push_back(p);
        return out;
    }
    // An object with points 1..n at latitudes 59 N + i minutes (i = number),
    // 10 E, leg limits 10 x number.
    void storeObject(std::uint16_t kind, std::int32_t id, int n) const {
        IdRecord object;
        object.kind = kind;
        object.id = id;
        object.latitude = 35400000 + id;
        storetest::AddObject(object);
        for (int i = 1; i <= n; ++i) {
            store->CurrentPointRecord = PointRecord{.id = id,
                                                    .number = std::uint16_t(i),
                                                    .latitude = 35400000 + 10000 * i,
                                                    .longitude = 6000000,
                                                    .speed = std::uint16_t(10 * i)};
            ASSERT_EQ(store->WritePointRecord(), 0);
        }
    }
    // The route table of route `id` with n points as the drawing fills it:
    // forward, table record i is stored point i + 1; reversed, point n - i.
    // Each record's x is its stored number, y its table index.
    void table(std::int32_t id, int n, bool forward) const {
        TChartWindowState& s = ChartWindowState();
        s.activeRouteId = id;
        s.forwardFlag = forward ? 1 : 0;
        s.routePointCount = n;
        s.routeState = 3;
        s.placedKind = 2;
        for (int i = 0; i < n; ++i) {
            const int number = forward ? i + 1 : n - i;
            s.routePoints[std::size_t(i)] =
                RoutePoint{.x = number, .y = i, .crossTrackLimit = number};
        }
        w->editCount = n;
    }
    static std::vector<int> tableNumbers() {
        std::vector<int> out;
        const TChartWindowState& s = ChartWindowState();
        for (int i = 0; i < s.routePointCount + 1 && i < kRoutePointMax; ++i)
            out.push_back(s.routePoints[std::size_t(i)].x);
        return out;
    }
    static std::vector<int> numbers(const std::vector<PointRecord>& ps) {
        std::vector<int> out;
        for (const PointRecord& p : ps)
            out.push_back(p.number);
        return out;
    }
};

// ---------------------------------------------------------------------------
// Placing routes and lines

using PlacingTest = EditHost;

TEST_F(PlacingTest, TheFirstPointMakesTheObjectTheSecondAddsItsPoint) {
    TChartWindowState& s = ChartWindowState();
    ChartSettings().crossTrackLimit = 25;
    newRoute();
    const GeoPoint first = click({100, 50});
    w->editCount = 1;
    uitest::TCursorRecorder cursor;
    uitest::TModalScript script;
    script.Dialog(kDbInfoTemplate, [&](ui::TDialog& d) {
        // The dialog names the new route, which is already stored.
        EXPECT_EQ(dynamic_cast<TDbInfoDialog&>(d).Object().id, s.activeRouteId);
        EXPECT_TRUE(stored(s.activeRouteId));
        EXPECT_TRUE(points(s.activeRouteId).empty());
        naming("Leia")(d);
    });
    w->PlaceRoutePoint(w->GetDC(), 1);
    EXPECT_TRUE(script.Done());

    const std::int32_t id = s.activeRouteId;
    ASSERT_EQ(id, 1);
    const std::optional<IdRecord> r = stored(id);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, kKindRoute);
    EXPECT_EQ(r->latitude, BinaryAngleToStoreUnits(first.lat));
    EXPECT_EQ(r->longitude, BinaryAngleToStoreUnits(first.lon));
    EXPECT_EQ(r->timeStamp, kNow);
    EXPECT_EQ(r->colour, 2);
    EXPECT_EQ(r->name, "Leia");
    EXPECT_EQ(s.editedObject.id, id);
    EXPECT_TRUE(same(s.anchorPoint, first));
    EXPECT_EQ(s.rubberBandStart, (ChartPoint{100, 50}));
    // The cursor goes back to the clicked place, on the screen.
    const ScreenPoint at = ToScreen(*w, ToClient(ChartPoint{100, 50}, client()));
    ASSERT_FALSE(cursor.Requests.empty());
    EXPECT_EQ(cursor.Requests.back().kind, ui::TCursorRequest::SetPos);
    EXPECT_EQ(cursor.Requests.back().x, at.x);
    EXPECT_EQ(cursor.Requests.back().y, at.y);

    std::vector<PointRecord> ps = points(id);
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_EQ(ps[0].number, 1);
    EXPECT_EQ(ps[0].latitude, r->latitude);
    EXPECT_EQ(ps[0].longitude, r->longitude);
    EXPECT_EQ(ps[0].time, kNow);
    EXPECT_EQ(ps[0].speed, 25);
    EXPECT_EQ(ps[0].course, 25);
    // Table records 0 and 1 (the loose end), count 2.
    const ClientPoint c = ToClient(ChartPoint{100, 50}, client());
    const RoutePoint expected{first.lon, first.lat, c.x, c.y, 0, 0, 25};
    EXPECT_EQ(s.routePointCount, 2);
    for (int i : {0, 1}) {
        const RoutePoint& t = s.routePoints[std::size_t(i)];
        EXPECT_EQ(
            std::tie(t.lon, t.lat, t.x, t.y, t.crossTrackLimit),
            std::tie(expected.lon, expected.lat, expected.x, expected.y, expected.crossTrackLimit))
            << i;
    }

    // The second point: POINT 2 only, no dialog.
    const GeoPoint second = click({160, 90});
    w->editCount = 2;
    StoreSpy spy;
    w->PlaceRoutePoint(w->GetDC(), 1);
    EXPECT_TRUE(spy.Writes().empty()); // no ID record: WritePointRecord writes the point
    ps = points(id);
    ASSERT_EQ(ps.size(), 2u);
    EXPECT_EQ(ps[1].number, 2);
    EXPECT_EQ(ps[1].latitude, BinaryAngleToStoreUnits(second.lat));
    EXPECT_EQ(s.routePointCount, 3);
    EXPECT_EQ(s.routePoints[1].lon, second.lon);
    EXPECT_EQ(s.routePoints[2].lon, second.lon);
    EXPECT_TRUE(same(s.anchorPoint, second));
}

TEST_F(PlacingTest, TwoRoutesAtOneSpotAndTenDegreesEast) {
    TChartWindowState& s = ChartWindowState();
    std::vector<std::int32_t> ids;
    for (int route = 0; route < 2; ++route) {
        newRoute();
        click({0, 0});
        // Exactly 10 E, 59 N: the store keeps 5999999 (truncated).
        s.cursorPosition = GeoPoint{deg2nrm(10.0), deg2nrm(59.0)};
        w->editCount = 1;
        uitest::TModalScript script;
        script.Dialog(kDbInfoTemplate, naming(nullptr));
        w->PlaceRoutePoint(w->GetDC(), 1);
        EXPECT_TRUE(script.Done());
        ids.push_back(s.activeRouteId);
    }
    ASSERT_NE(ids[0], ids[1]);
    EXPECT_EQ(stored(ids[0])->longitude, 5999999);
    EXPECT_EQ(stored(ids[1])->longitude, 6000000); // one unit east
    EXPECT_EQ(stored(ids[0])->latitude, stored(ids[1])->latitude);
    // The points stay where they were clicked.
    EXPECT_EQ(points(ids[1]).at(0).longitude, 5999999);
}

TEST_F(PlacingTest, ALineTakesTheCurrentLineColour) {
    TChartWindowState& s = ChartWindowState();
    ChartSettings().currentLineColour = 4;
    s.placedKind = 3;
    s.routeState = 0;
    s.lineState = 2;
    w->editCount = 1;
    click({-40, 30});
    uitest::TModalScript script;
    script.Dialog(kDbInfoTemplate, naming("Garn"));
    w->PlaceRoutePoint(w->GetDC(), 1);
    EXPECT_TRUE(script.Done());
    ASSERT_NE(s.editedLineId, 0);
    EXPECT_EQ(s.activeRouteId, 0);
    EXPECT_EQ(stored(s.editedLineId)->kind, kKindLine);
    EXPECT_EQ(stored(s.editedLineId)->colour, 4);
    EXPECT_EQ(points(s.editedLineId).size(), 1u);
    EXPECT_EQ(s.routePointCount, 0); // lines keep no route table
    // Mode 9 places a route, whatever was placed before.
    newRoute();
    s.placedKind = 3;
    w->editCount = 1;
    click({40, 30});
    script.Dialog(kDbInfoTemplate, naming(nullptr));
    w->PlaceRoutePoint(w->GetDC(), 9);
    EXPECT_EQ(s.placedKind, 2);
    EXPECT_EQ(stored(s.activeRouteId)->kind, kKindRoute);
}

TEST_F(PlacingTest, TheRubberBandPointsWhereTheCursorIs) {
    TChartWindowState& s = ChartWindowState();
    w->bearingInfoDlg = new TBearingInfoDlg(w);
    w->bearingInfoDlg->Create();
    struct Case {
        ChartPoint to;
        double bearing;
    };
    // From (10, -20), chart units with y up.
    for (const Case c : {Case{{10, 80}, 360}, Case{{10, -120}, 180}, Case{{110, -20}, 90},
                         Case{{-90, -20}, 270}}) {
        SCOPED_TRACE(testing::Message() << c.to.x << "," << c.to.y);
        s.routeState = 2;
        s.activeRouteId = 7;
        s.rubberBandStart = {10, -20};
        w->editCount = 3;
        w->cursorPoint = c.to;
        w->PlaceRoutePoint(w->GetDC(), 0);
        EXPECT_NEAR(w->legDirection, c.bearing, 1e-9);
        EXPECT_NEAR(w->legLength, 100 / s.pixelsPerNm, 1e-9);
        EXPECT_NEAR(s.cursorBearing, c.bearing, 1e-9); // the bearing read-out's
        char text[32];
        dynamic_cast<ui::TDialog*>(w->bearingInfoDlg)->GetDlgItemText(1501, text, sizeof text);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%05.1f", c.bearing);
        EXPECT_STREQ(text, expected);
    }
}

TEST_F(PlacingTest, ModeZeroDrawsTheOverlayOnceAndStartsFromOwnShip) {
    TChartWindowState& s = ChartWindowState();
    ChartSettings().crossTrackLimit = 40;
    s.routeState = 2;
    s.activeRouteId = 7;
    s.routePointCount = 3;
    w->editCount = 2;
    w->ownShipDrawings = 0;
    w->tableDrawings.clear();
    w->cursorPoint = {50, 50};
    w->PlaceRoutePoint(w->GetDC(), 0);
    EXPECT_EQ(w->ownShipDrawings, 1);
    EXPECT_EQ(w->deepest, 1); // the overlay never calls back
    ASSERT_EQ(w->tableDrawings.size(), 1u);
    EXPECT_EQ(w->tableDrawings[0], w->memPicture2.get()); // on the overlay's copy
    EXPECT_EQ(s.routePoints[1].crossTrackLimit, 40);      // the last placed point's leg

    // No point placed yet: the rubber band starts at own ship, the cursor
    // point is where the mouse is.
    w->editCount = 0;
    const ClientPoint mouse = ToClient(ChartPoint{-30, 60}, client());
    const ScreenPoint screen = ToScreen(*w, mouse);
    ui::SetCursorPos(screen.x, screen.y);
    s.anchorPoint = {};
    w->ownShipDrawings = 0;
    w->PlaceRoutePoint(w->GetDC(), 0);
    EXPECT_EQ(w->ownShipDrawings, 0); // mode 2 now
    EXPECT_TRUE(same(s.anchorPoint, s.ownShip));
    EXPECT_EQ(s.rubberBandStart, ToChart(s.ownShipClient, client()));
    EXPECT_EQ(w->cursorPoint, (ChartPoint{-30, 60}));
}

TEST_F(PlacingTest, TicksInTheNameDialogLeaveTheMapAndTheClick) {
    TChartWindowState& s = ChartWindowState();
    newRoute();
    click({120, -80});
    w->editCount = 1;
    // Following, with own ship far out of view: a tick outside a modal loop
    // would re-centre the view.
    s.followFlag = 1;
    s.ownShip = GeoPoint{deg2nrm(11.0), deg2nrm(59.5)};
    const Map* before = w->map.get();
    uitest::TModalScript script;
    script.Dialog(kDbInfoTemplate, [&](ui::TDialog& d) {
        for (int i = 0; i < 4; ++i)
            w->EvTimer(kChartTimerId);
        EXPECT_EQ(w->map.get(), before);
        naming(nullptr)(d);
    });
    w->PlaceRoutePoint(w->GetDC(), 1);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(w->map.get(), before);
    const ClientPoint c = ToClient(ChartPoint{120, -80}, client());
    EXPECT_EQ(s.routePoints[0].x, c.x);
    EXPECT_EQ(s.routePoints[0].y, c.y);
    EXPECT_EQ(s.routePoints[0].lon, s.anchorPoint.lon);
}

TEST_F(PlacingTest, ARefusedIdRecordStoresNothingAndEndsThePlacing) {
    TChartWindowState& s = ChartWindowState();
    struct Case {
        const char* name;
        int answer;
        std::size_t adds;
    };
    for (const Case c : {Case{"a disk error", isam::kReadWrite, 1},
                         Case{"a position taken every time", 2, 1001}}) {
        SCOPED_TRACE(c.name);
        newRoute();
        click({10, 10});
        w->editCount = 1;
        StoreSpy spy;
        spy.Refuse("ADDREC 0", c.answer);
        uitest::TModalScript script;
        script.Box(ui::IDOK);
        w->PlaceRoutePoint(w->GetDC(), 1);
        EXPECT_TRUE(script.Done());
        ASSERT_EQ(script.Modals().size(), 1u);
        EXPECT_EQ(script.Modals()[0].caption, "Add ID");
        EXPECT_EQ(spy.Writes().size(), c.adds);
        EXPECT_TRUE(storetest::ReadStore().points.empty());
        EXPECT_TRUE(storetest::ReadStore().objects.empty());
        EXPECT_EQ(s.activeRouteId, 0);
        EXPECT_EQ(s.routeState, 0);
        EXPECT_EQ(w->editCount, 0);
    }
}

// ---------------------------------------------------------------------------
// Inserting and deleting points

using EditPointsTest = EditHost;

TEST_F(EditPointsTest, InsertingRenumbersFromTheTop) {
    TChartWindowState& s = ChartWindowState();
    ChartSettings().crossTrackLimit = 33;
    for (const bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "forward" : "reversed");
        const std::int32_t id = forward ? 30 : 31;
        storeObject(kKindRoute, id, 5);
        table(id, 5, forward);
        const GeoPoint at = click({70, 70});
        StoreSpy spy;
        ASSERT_TRUE(w->InsertOrDeleteObjectPoint(3, true));
        EXPECT_EQ(spy.Writes(),
                  (std::vector<std::string>{"RWTREC 4 id=" + std::to_string(id) + " n=6",
                                            "RWTREC 4 id=" + std::to_string(id) + " n=5"}));
        const std::vector<PointRecord> ps = points(id);
        EXPECT_EQ(numbers(ps), (std::vector<int>{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(ps[3].latitude, BinaryAngleToStoreUnits(at.lat)); // the new number 4
        EXPECT_EQ(ps[3].speed, 33);
        EXPECT_EQ(ps[4].latitude, 35400000 + 40000); // the old 4
        EXPECT_EQ(ps[5].latitude, 35400000 + 50000); // the old 5
        // The table (x: stored number; the new record: its neighbour's x
        // before it in travel order). The count is the caller's.
        EXPECT_EQ(s.routePointCount, 5);
        s.routePointCount = 6;
        EXPECT_EQ(tableNumbers(), forward ? (std::vector<int>{1, 2, 3, 3, 4, 5, 0})
                                          : (std::vector<int>{5, 4, 4, 3, 2, 1, 0}));
        const RoutePoint& fresh = s.routePoints[forward ? 3 : 2];
        EXPECT_EQ(fresh.lon, at.lon);
        EXPECT_EQ(fresh.lat, at.lat);
        EXPECT_EQ(fresh.crossTrackLimit, forward ? 3 : 4);
    }
}

TEST_F(EditPointsTest, DeletingRenumbersFromTheBottom) {
    TChartWindowState& s = ChartWindowState();
    {
        SCOPED_TRACE("point 2 of a 4-point line, with its buffer");
        storeObject(kKindLine, 40, 4);
        s.placedKind = 3;
        s.editedLineId = 40;
        s.lineState = 3;
        w->linePoints = {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
        StoreSpy spy;
        ASSERT_TRUE(w->InsertOrDeleteObjectPoint(2, false));
        EXPECT_EQ(spy.Writes(), (std::vector<std::string>{"DELREC 4", "RWTREC 4 id=40 n=2",
                                                          "RWTREC 4 id=40 n=3"}));
        const std::vector<PointRecord> ps = points(40);
        EXPECT_EQ(numbers(ps), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(ps[1].latitude, 35400000 + 30000);
        EXPECT_EQ(w->linePoints, (std::vector<ClientPoint>{{1, 1}, {3, 3}, {4, 4}}));
    }
    {
        SCOPED_TRACE("a reversed route counts the number from its other end");
        storeObject(kKindRoute, 41, 4);
        table(41, 4, false); // travel order: stored 4, 3, 2, 1
        ASSERT_TRUE(w->InsertOrDeleteObjectPoint(1, false));
        EXPECT_EQ(numbers(points(41)), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(points(41).back().latitude, 35400000 + 30000); // stored 4 went
        s.routePointCount = 3;
        EXPECT_EQ(tableNumbers(), (std::vector<int>{3, 2, 1, 1}));
        // Forward, the table number is the stored number.
        table(41, 3, true);
        ASSERT_TRUE(w->InsertOrDeleteObjectPoint(1, false));
        EXPECT_EQ(numbers(points(41)), (std::vector<int>{1, 2}));
        EXPECT_EQ(points(41).front().latitude, 35400000 + 20000);
        s.routePointCount = 2;
        EXPECT_EQ(tableNumbers(), (std::vector<int>{2, 3, 3}));
    }
    {
        SCOPED_TRACE("a number not in the store changes nothing");
        table(41, 2, true);
        StoreSpy spy;
        EXPECT_FALSE(w->InsertOrDeleteObjectPoint(9, false));
        EXPECT_TRUE(spy.Writes().empty());
        EXPECT_EQ(numbers(points(41)), (std::vector<int>{1, 2}));
        EXPECT_EQ(tableNumbers(), (std::vector<int>{1, 2, 3})); // 3: left from before
    }
}

TEST_F(EditPointsTest, FourHundredNinetyNinePointsTakeNoMoreAndStayInTheTable) {
    TChartWindowState& s = ChartWindowState();
    storeObject(kKindRoute, 50, 499);
    table(50, 499, false);
    s.destinationIndex = 1234; // a field after the table, which no move may touch
    click({0, 0});
    {
        SCOPED_TRACE("an insertion is refused");
        StoreSpy spy;
        EXPECT_FALSE(w->InsertOrDeleteObjectPoint(200, true));
        EXPECT_TRUE(spy.Writes().empty());
        EXPECT_EQ(points(50).size(), 499u);
    }
    {
        SCOPED_TRACE("a deletion at the reversed route's first point");
        ASSERT_TRUE(w->InsertOrDeleteObjectPoint(1, false));
        EXPECT_EQ(points(50).size(), 498u);
        EXPECT_EQ(s.routePoints[0].x, 498);
        EXPECT_EQ(s.routePoints[497].x, 1);
        EXPECT_EQ(s.routePointCount, 499);
        EXPECT_EQ(s.destinationIndex, 1234);
    }
}

TEST_F(EditPointsTest, AFailedRenumberingWritesNoNewPoint) {
    storeObject(kKindRoute, 60, 3);
    table(60, 3, true);
    click({0, 0});
    StoreSpy spy;
    spy.Refuse("RWTREC 4", isam::kReadWrite);
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    EXPECT_FALSE(w->InsertOrDeleteObjectPoint(1, true));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.Modals().at(0).caption, "Rewrite POINT");
    // Point 2 is still number 2, and no new point took its place.
    const std::vector<PointRecord> ps = points(60);
    EXPECT_EQ(numbers(ps), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ps[1].latitude, 35400000 + 20000);
}

// ---------------------------------------------------------------------------
// Symbols

using PlaceSymbolTest = EditHost;

TEST_F(PlaceSymbolTest, TheRecordTheNameAndTheCursor) {
    TChartWindowState& s = ChartWindowState();
    const GeoPoint at = click({-60, 20});
    ui::SetCursorPos(700, 400);
    uitest::TCursorRecorder cursor;
    uitest::TModalScript script;
    script.Dialog(kDbInfoTemplate, naming("Garn"));
    ASSERT_TRUE(w->PlaceSymbol(7, 3, 12.37));
    EXPECT_TRUE(script.Done());
    const std::optional<IdRecord> r = stored(1);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, kKindSymbol);
    EXPECT_EQ(r->colour, 3);
    EXPECT_EQ(r->length, 123); // 12.37 m x 10, truncated
    EXPECT_EQ(r->pointCount, 7);
    EXPECT_EQ(r->latitude, BinaryAngleToStoreUnits(at.lat));
    EXPECT_EQ(r->longitude, BinaryAngleToStoreUnits(at.lon));
    EXPECT_EQ(r->timeStamp, kNow);
    EXPECT_EQ(r->name, "Garn");
    EXPECT_EQ(s.editedObject.id, 1);
    EXPECT_EQ(cursor.Requests.back().kind, ui::TCursorRequest::SetPos);
    EXPECT_EQ(cursor.Requests.back().x, 700);
    EXPECT_EQ(cursor.Requests.back().y, 400);
    // The click's depth of 0 stores no depth.
    click({-60, 60});
    script.Dialog(kDbInfoTemplate, naming(nullptr));
    ASSERT_TRUE(w->PlaceSymbol(7, 3, 0));
    EXPECT_EQ(stored(3)->length, 0);
}

TEST_F(PlaceSymbolTest, SomeSymbolsAndTheSettingAskNoNameAndOneSpotHoldsTwo) {
    click({30, 30});
    // No dialog is scripted: the strict runner fails the test for one.
    ASSERT_TRUE(w->PlaceSymbol(116, 1, 0));
    ASSERT_TRUE(w->PlaceSymbol(123, 1, 0));
    ChartSettings().nameOnPlacing = 0;
    ASSERT_TRUE(w->PlaceSymbol(7, 1, 0));
    const std::vector<IdRecord> objects = storetest::ReadStore().objects;
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[1].longitude, objects[0].longitude + 1);
    EXPECT_EQ(objects[2].longitude, objects[0].longitude + 2);
    EXPECT_EQ(objects[0].latitude, objects[2].latitude);
    // The setting's default is on.
    ApplySettingsDefaults();
    EXPECT_EQ(ChartSettings().nameOnPlacing, 1);
}

} // namespace
