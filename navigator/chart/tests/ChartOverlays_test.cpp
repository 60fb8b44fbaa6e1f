// The chart window's overlays: the track from the ring (its order, the
// points left out and the runs they split), the user-object overlay's route
// table and store passes, the own-ship overlay's order of work, its course
// vector and heading line, its track piece and range marker, and own ship's
// symbol. The store and light passes are spies here.
#include "RecordingLog.h"
#include "TimerTestSupport.h"

#include "app/KVViewerApp.h"
#include "app/ViewerSettings.h"
#include "chart/ChartOverlays.h"
#include "chart/ChartPainting.h"
#include "dialogs/ReadoutText.h"
#include "gdi/RecordingDc.h"
#include "geo/geodesy.h"
#include "graphics/GraphicsLayer.h"
#include "proj/newMap.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using charttest::Line;
using charttest::linesStarting;
using charttest::polylines;
using charttest::TimerFixture;
using charttest::TTimerWindow;

// A chart window whose store passes, light marks and placing operation only
// note that they were asked for (and what the pictures held then).
class TOverlayWindow : public TTimerWindow {
  public:
    using TTimerWindow::TTimerWindow;

    std::vector<std::string> calls;
    // Runs at each noted call with its name and context.
    std::function<void(const std::string&, gdi::Dc&)> onCall;
    bool spySymbol = false; // note the symbol too (and draw it)

    void DrawLitLightMarks(gdi::Dc& dc) override { note("lit marks", dc); }
    void DrawUserObjectsOfKind(gdi::Dc& dc, int code) override {
        note("objects " + std::to_string(code), dc);
    }
    void DrawUserObject(gdi::Dc& dc, int type, std::int32_t id) override {
        note("object " + std::to_string(type) + " " + std::to_string(id), dc);
    }
    void DrawActiveRouteFromTable(gdi::Dc& dc) override { note("route table", dc); }
    void PlaceRoutePoint(gdi::Dc& dc, int mode) override {
        note("place " + std::to_string(mode), dc);
    }
    void DrawOwnShipSymbol(gdi::Dc& dc, int x, int y, double heading, double lon,
                           double lat) override {
        if (spySymbol) note("symbol", dc);
        TMapWindow::DrawOwnShipSymbol(dc, x, y, heading, lon, lat);
    }

  private:
    void note(const std::string& name, gdi::Dc& dc) {
        calls.push_back(name);
        if (onCall) onCall(name, dc);
    }
};

TChartWindowState& state() {
    return ChartWindowState();
}

// The window made and shown, drawing own ship itself; what its first paint
// asked for is forgotten.
TOverlayWindow& makeWindow(TimerFixture& f) {
    TOverlayWindow& w = f.make<TOverlayWindow>();
    w.realOwnShip = true;
    w.calls.clear();
    return w;
}

gdi::Colour colourOf(int chartColour) {
    return gdColour(chartColour);
}

// The recording's form of a pen: "solid/<width>/p<palette index>".
std::string penText(int chartColour, int width) {
    return "pen=solid/" + std::to_string(width) + "/" +
           gdi::RecordingDc::colourText(colourOf(chartColour));
}

// A ring entry at a chart point of the window's view.
TTrackEntry entryAt(TMapWindow& w, const ChartPoint& p) {
    const GeoPoint g = GeoPointOf(*w.map, p);
    TTrackEntry e;
    e.lon = NrmToDegrees(g.lon);
    e.lat = NrmToDegrees(g.lat);
    return e;
}

gdi::XY clientOf(TMapWindow& w, const TTrackEntry& e) {
    const ClientPoint c =
        ClientPointOf(*w.map, GeoPoint{deg2nrm(e.lon), deg2nrm(e.lat)}, w.GetClientRect());
    return {c.x, c.y};
}

// ---------------------------------------------------------------------------
// The track overlay

TEST(TrackOverlay, TheRingOldestFirstInRunsSplitWherePointsAreLeftOut) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    constexpr std::nullopt_t unused = std::nullopt;
    using P = std::optional<ChartPoint>;
    const struct Case {
        const char* name;
        int index;                          // the ring's index
        std::vector<P> logged;              // oldest first, the newest before the index
        std::vector<std::vector<int>> runs; // of logged items
        int returned;                       // the item answered; -1: (0, 0)
    } cases[] = {
        {"unused entries are skipped and split nothing",
         7,
         {P{{-40, 10}}, P{{-20, 12}}, unused, unused, P{{0, 14}}, P{{20, 16}}},
         {{0, 1, 4, 5}},
         5},
        {"3500 left of the centre in the middle splits the track",
         300,
         {P{{-40, 0}}, P{{-30, 5}}, P{{-3500, 0}}, P{{-20, 5}}, P{{-10, 0}}, P{{0, 5}}},
         {{0, 1}, {3, 4, 5}},
         5},
        {"at the end it shortens the track",
         2,
         {P{{-40, 0}}, P{{-30, 5}}, P{{-20, 0}}, P{{-3500, 0}}},
         {{0, 1, 2}},
         2},
        {"a lone kept point draws nothing",
         0,
         {P{{-10, 0}}, P{{-3001, 0}}, P{{5, 5}}, P{{0, 2001}}, P{{20, -20}}, P{{30, -25}}},
         {{0}, {2}, {4, 5}},
         5},
        {"the window's edges are kept",
         499,
         {P{{-3000, 0}}, P{{3000, 0}}, P{{0, 2000}}, P{{0, -2000}}},
         {{0, 1, 2, 3}},
         3},
        {"nothing kept answers (0, 0)", 10, {P{{4000, 0}}, P{{0, -2500}}}, {{}}, -1},
        {"no entry at all", 0, {}, {{}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.trackRing = {};
        s.trackIndex = c.index;
        const int n = int(c.logged.size());
        std::vector<TTrackEntry> entries;
        for (int k = 0; k < n; ++k) {
            TTrackEntry e =
                c.logged[std::size_t(k)] ? entryAt(w, *c.logged[std::size_t(k)]) : TTrackEntry{};
            entries.push_back(e);
            s.trackRing[std::size_t((c.index - n + k + 2 * kTrackRingSize) % kTrackRingSize)] = e;
        }
        gdi::RecordingDc dc(640, 480);
        const Point answer = w.DrawTrackOverlay(dc, w.map.get(), true);
        std::vector<std::vector<gdi::XY>> drawn;
        for (const Line& l : polylines(dc.log())) {
            // The track's colour type (the setting's default).
            EXPECT_EQ(l.pen, "pen=solid/0/" + gdi::RecordingDc::colourText(PaletteColourByType(
                                                  ChartSettings().trackColour, 0)));
            drawn.push_back(l.points);
        }
        std::vector<std::vector<gdi::XY>> expected;
        for (const auto& run : c.runs) {
            if (run.size() < 2) continue; // a run of one point is no line
            expected.emplace_back();
            for (int k : run)
                expected.back().push_back(clientOf(w, entries[std::size_t(k)]));
        }
        EXPECT_EQ(drawn, expected);
        const gdi::XY back =
            c.returned < 0 ? gdi::XY{0, 0} : clientOf(w, entries[std::size_t(c.returned)]);
        EXPECT_EQ(answer.x, back.x);
        EXPECT_EQ(answer.y, back.y);
    }
}

TEST(TrackOverlay, AFullRingFromItsIndexAndTheNewestBecomesTheLastTrackPoint) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    s.trackIndex = 137;
    std::vector<TTrackEntry> logged;
    for (int k = 0; k < kTrackRingSize; ++k) {
        logged.push_back(entryAt(w, ChartPoint{k - 250, k % 40 - 20}));
        s.trackRing[std::size_t((137 + k) % kTrackRingSize)] = logged.back();
    }
    gdi::RecordingDc dc(640, 480);
    const Point answer = w.DrawTrackOverlay(dc, w.map.get(), true);
    const std::vector<Line> lines = polylines(dc.log());
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), std::size_t(kTrackRingSize));
    for (int k = 0; k < kTrackRingSize; ++k)
        ASSERT_EQ(lines[0].points[std::size_t(k)], clientOf(w, logged[std::size_t(k)])) << k;
    // Client pixels: the centre plus x, minus y (the first point lies 250
    // left of the centre and 20 below it).
    const ClientPoint centre = ClientCentre(w.GetClientRect());
    EXPECT_NEAR(lines[0].points[0].x, centre.x - 250, 1);
    EXPECT_NEAR(lines[0].points[0].y, centre.y + 20, 1);
    EXPECT_EQ(answer.x, lines[0].points.back().x);
    EXPECT_EQ(answer.y, lines[0].points.back().y);
    const GeoPoint newest{deg2nrm(logged.back().lon), deg2nrm(logged.back().lat)};
    EXPECT_EQ(s.lastTrackPoint.lon, newest.lon);
    EXPECT_EQ(s.lastTrackPoint.lat, newest.lat);
    EXPECT_EQ(s.lastTrackClient, ClientPointOf(*w.map, newest, w.GetClientRect()));

    // Without drawing: the same answer and bookkeeping, no line.
    gdi::RecordingDc quiet(640, 480);
    const Point again = w.DrawTrackOverlay(quiet, w.map.get(), false);
    EXPECT_EQ(again.x, answer.x);
    EXPECT_EQ(again.y, answer.y);
    EXPECT_TRUE(polylines(quiet.log()).empty());

    // The track switch off: nothing.
    ChartSettings().trackSwitch = 0;
    gdi::RecordingDc off(640, 480);
    const Point none = w.DrawTrackOverlay(off, w.map.get(), true);
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
    EXPECT_TRUE(off.log().empty());
}

TEST(TrackOverlay, ARecordedRouteIsTheStoresAndOnlyItsStartIsKept) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    for (int k = 0; k < 5; ++k)
        s.trackRing[std::size_t(k)] = entryAt(w, ChartPoint{10 * k, 0});
    s.trackIndex = 5;
    // The piece's start: the last track point's client point, else own ship's.
    s.lastTrackPoint = GeoPointOf(*w.map, ChartPoint{-70, 30});
    s.recordedRouteId = 31;
    gdi::RecordingDc dc(640, 480);
    const Point answer = w.DrawTrackOverlay(dc, w.map.get(), true);
    EXPECT_EQ(w.calls, (std::vector<std::string>{"object 1 31"}));
    EXPECT_TRUE(polylines(dc.log()).empty());
    const ClientPoint start = ClientPointOf(*w.map, s.lastTrackPoint, w.GetClientRect());
    EXPECT_EQ(s.lastLoggedPoint, start);
    EXPECT_EQ(answer.x, start.x);
    EXPECT_EQ(answer.y, start.y);

    s.lastTrackPoint = GeoPoint{};
    s.ownShip = GeoPointOf(*w.map, ChartPoint{15, -15});
    w.calls.clear();
    const Point fromShip = w.DrawTrackOverlay(dc, w.map.get(), false);
    EXPECT_TRUE(w.calls.empty()); // not drawn
    EXPECT_EQ(s.lastLoggedPoint, ClientPointOf(*w.map, s.ownShip, w.GetClientRect()));
    EXPECT_EQ(fromShip.x, s.lastLoggedPoint.x);
}

// ---------------------------------------------------------------------------
// The user-object overlay

TEST(UserObjectOverlay, TheRouteTableGetsItsClientPointsInTheViewDrawn) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    const ChartPoint at[] = {{-100, 50}, {0, 0}, {120, -80}};
    s.routePointCount = 3;
    for (int i = 0; i < 3; ++i) {
        const GeoPoint g = GeoPointOf(*w.map, at[i]);
        s.routePoints[std::size_t(i)].lon = g.lon;
        s.routePoints[std::size_t(i)].lat = g.lat;
    }
    // A re-centre the table has not followed: 300 chart units north-east.
    w.centre = GeoPointOf(*w.map, ChartPoint{300, 300});
    w.map.reset(newMap(PRJ_MERCATOR, std::uint32_t(w.displayScale), w.centre, s.screenWidthMm / 2,
                       s.screenHeightMm / 2, s.pixelsPerMetre, s.pixelsPerMetre, nullptr));
    gdi::RecordingDc dc(640, 480);

    // Without an active route the table is left.
    w.DrawUserObjectOverlay(dc);
    EXPECT_EQ(s.routePoints[0].x, 0);

    s.activeRouteId = 12;
    w.DrawUserObjectOverlay(dc);
    const ClientPoint centre = ClientCentre(w.GetClientRect());
    for (int i = 0; i < 3; ++i) {
        const RoutePoint& p = s.routePoints[std::size_t(i)];
        EXPECT_EQ((ClientPoint{p.x, p.y}),
                  ClientPointOf(*w.map, GeoPoint{p.lon, p.lat}, w.GetClientRect()));
        EXPECT_NEAR(p.x, centre.x + at[i].x - 300, 1) << i;
        EXPECT_NEAR(p.y, centre.y - at[i].y + 300, 1) << i;
    }
}

TEST(UserObjectOverlay, TheStorePassesByRouteState) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    const struct {
        const char* name;
        int routeState;
        std::int32_t activeId, shownTrack;
        std::uint8_t fill;
        std::vector<std::string> calls;
    } cases[] = {
        {"nothing chosen", 0, 0, 0, 0, {"objects 105"}},
        {"a route being chosen (command 97)", 0, 0, 0, 1, {"objects 105", "objects 2"}},
        {"a route picked, not yet followed", 0, 9, 0, 1, {"objects 105", "object 2 9"}},
        {"the active route", 1, 9, 0, 0, {"objects 105", "object 2 9"}},
        {"with a shown track", 1, 9, 4, 0, {"objects 105", "object 1 4", "object 2 9"}},
        {"a new route before its first point", 2, 0, 0, 1, {"objects 105"}},
        {"a new route being placed", 2, 9, 0, 1, {"objects 105"}},
        {"the active route being edited", 3, 9, 4, 0, {"objects 105", "object 1 4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.routeState = c.routeState;
        s.activeRouteId = c.activeId;
        s.shownTrackId = c.shownTrack;
        s.routeTableFill = c.fill;
        w.calls.clear();
        gdi::RecordingDc dc(640, 480);
        w.DrawUserObjectOverlay(dc);
        EXPECT_EQ(w.calls, c.calls);
    }
}

// ---------------------------------------------------------------------------
// The own-ship overlay

// Fixes in the navigation record without a new-fix mark (the overlay is
// called directly).
void navigation(float course, float speed, std::uint8_t valid = 1, double lat = 60.4,
                std::int8_t headingHold = 0, float heading = 0) {
    UpdateNavShared([&](NavShared& n) {
        n.nav.courseOverGround = course;
        n.nav.speedOverGround = speed;
        n.nav.fixValid = valid;
        n.nav.latitude = lat;
        n.nav.longitude = 5.32;
        n.nav.headingHold = headingHold;
        n.nav.heading = heading;
    });
}

// Whether any pixel of the colour lies in the box (client pixels, right and
// bottom included).
bool anyOf(const gdi::Dc& dc, gdi::Colour c, int left, int top, int right, int bottom) {
    const gdi::Colour want = dc.resolve(c);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (dc.getPixel(x, y) == want) return true;
    return false;
}

TEST(OwnShipOverlay, ItsOrderOfWorkAndTheCopies) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    ASSERT_TRUE(w.memPicture1 && w.memPicture2);
    w.spySymbol = true;
    navigation(0, 0);
    const ClientPoint ship = ClientCentre(w.GetClientRect());
    s.lastLoggedPoint = {ship.x - 60, ship.y};
    const gdi::Colour marker = ui::RGB(1, 2, 3), lit = ui::RGB(4, 5, 6);
    const gdi::Colour track = PaletteColourByType(ChartSettings().trackColour, 0);
    gdi::Dc& window = w.GetDC();

    for (int routeState : {0, 1, 2, 3}) {
        SCOPED_TRACE(routeState);
        s.routeState = routeState;
        w.memPicture1->setPixel(5, 5, marker);
        w.memPicture2->setPixel(5, 5, ui::RGB(200, 200, 200));
        window.setPixel(6, 5, ui::RGB(200, 200, 200));
        std::vector<std::string> seen;
        w.onCall = [&](const std::string& name, gdi::Dc& dc) {
            EXPECT_EQ(&dc, w.memPicture2.get()) << name;
            if (name == "lit marks") {
                if (dc.getPixel(5, 5) == marker) seen.push_back("picture 1 on 2");
                dc.setPixel(6, 5, lit);
            }
            if (name == "symbol" && dc.getPixel(6, 5) == lit) seen.push_back("lit marks first");
            if (name == "route table") {
                if (dc.getPixel(ship.x - 40, ship.y) == dc.resolve(track))
                    seen.push_back("track piece first");
                if (window.getPixel(6, 5) != lit) seen.push_back("window not yet");
            }
        };
        w.calls.clear();
        w.DrawOwnShipOverlay(window, ship.x, ship.y, true);
        const std::vector<std::string> calls =
            routeState >= 2 ? std::vector<std::string>{"lit marks", "symbol", "route table"}
                            : std::vector<std::string>{"lit marks", "symbol"};
        EXPECT_EQ(w.calls, calls); // never the placing operation
        const std::vector<std::string> expectSeen =
            routeState >= 2 ? std::vector<std::string>{"picture 1 on 2", "lit marks first",
                                                       "track piece first", "window not yet"}
                            : std::vector<std::string>{"picture 1 on 2", "lit marks first"};
        EXPECT_EQ(seen, expectSeen);
        // Picture 2 on the window, with the symbol's ring.
        EXPECT_EQ(window.getPixel(6, 5), window.resolve(lit));
        EXPECT_EQ(window.getPixel(5, 5), window.resolve(marker));
        EXPECT_TRUE(anyOf(window, colourOf(2), ship.x - 15, ship.y - 1, ship.x - 10, ship.y + 1));
    }
    EXPECT_EQ(s.ownShipClient, ship);
    w.onCall = nullptr;

    // Iconic: nothing at all, not even the read-outs.
    NoteFrameStates(true, false);
    s.cursorDistance = -1;
    w.calls.clear();
    const gdi::Colour before = window.getPixel(6, 5);
    w.memPicture1->setPixel(6, 5, marker);
    w.DrawOwnShipOverlay(window, ship.x + 30, ship.y, true);
    NoteFrameStates(false, false);
    EXPECT_TRUE(w.calls.empty());
    EXPECT_EQ(window.getPixel(6, 5), before);
    EXPECT_EQ(s.ownShipClient, ship);
    EXPECT_EQ(s.cursorDistance, -1);
}

TEST(OwnShipOverlay, TheReadOutsFollowOwnShip) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    s.followFlag = 0;
    f.tick(); // the panels open
    ASSERT_TRUE(w.sogCogDlg);
    s.ownShip = GeoPoint{deg2nrm(5.0), deg2nrm(60.0)};
    s.cursorPosition = GeoPoint{deg2nrm(5.0), deg2nrm(60.5)};
    navigation(123, 7.5);
    w.DrawOwnShipOverlay(w.GetDC(), 10, 10, false);
    EXPECT_NEAR(s.cursorDistance, 30.0, 0.1); // half a degree north
    EXPECT_NEAR(s.cursorBearing, 0.0, 1e-6);
    const auto text = [&](ui::TWindow* panel, int id) {
        char buffer[64] = {};
        panel->GetDlgItemText(id, buffer, int(sizeof buffer));
        return std::string(buffer);
    };
    EXPECT_EQ(text(w.sogCogDlg, 1601), "7.5 kt");
    EXPECT_EQ(text(w.bearingInfoDlg, 1501), "000.0");
}

TEST(CourseVector, LengthAndComponents) {
    const struct {
        double speed, pixelsPerNm;
        int minutes;
        double length;
    } lengths[] = {
        {0, 948.1, 3, 0},           {6, 20, 3, 6}, {10, 100, 6, 100},
        {12.5, 948.148, 1, 197.53}, {3, 0, 3, 0},  {20, 30, 60, 600},
    };
    for (const auto& c : lengths)
        EXPECT_NEAR(CourseVectorLength(c.speed, c.pixelsPerNm, c.minutes), c.length, 0.01)
            << c.speed << " kn " << c.pixelsPerNm << " px/NM " << c.minutes << " min";

    const struct {
        double course, dx, dy;
    } courses[] = {{0, 0, -100}, {90, 100, 0}, {180, 0, 100}, {270, -100, 0}, {45, 70.71, -70.71}};
    for (const auto& c : courses) {
        const ScreenVector v = CourseVector(c.course, 100);
        EXPECT_NEAR(v.dx, c.dx, 0.01) << c.course;
        EXPECT_NEAR(v.dy, c.dy, 0.01) << c.course;
    }
}

// The vector-colour pixels of the window around own ship, outside the rings.
std::vector<gdi::XY> vectorPixels(TMapWindow& w, const ClientPoint& ship) {
    gdi::Dc& window = w.GetDC();
    const gdi::Colour vector = window.resolve(colourOf(4));
    std::vector<gdi::XY> out;
    for (int y = ship.y - 150; y <= ship.y + 150; ++y)
        for (int x = ship.x - 150; x <= ship.x + 150; ++x) {
            if (std::abs(x - ship.x) <= 16 && std::abs(y - ship.y) <= 16) continue;
            if (window.getPixel(x, y) == vector) out.push_back({x, y});
        }
    return out;
}

TEST(OwnShipOverlay, TheVectorOnTheScreen) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    ChartSettings().trackSwitch = 0; // the track is in the vector's colour
    s.pixelsPerNm = 100;
    ViewerSettings().crsMinutes = 6; // 10 kn: 100 pixels
    const ClientPoint ship = ClientCentre(w.GetClientRect());

    // Speed 0: a vector of length 0, nothing of its colour outside the rings.
    navigation(45, 0);
    w.DrawOwnShipOverlay(w.GetDC(), ship.x, ship.y, true);
    EXPECT_EQ(w.vectorDx, 0.0);
    EXPECT_EQ(w.vectorDy, 0.0);
    EXPECT_TRUE(vectorPixels(w, ship).empty());

    // Course 0: straight up the screen, 100 pixels.
    navigation(0, 10);
    w.DrawOwnShipOverlay(w.GetDC(), ship.x, ship.y, true);
    const std::vector<gdi::XY> up = vectorPixels(w, ship);
    ASSERT_FALSE(up.empty());
    int top = ship.y;
    for (const gdi::XY& p : up) {
        EXPECT_LE(std::abs(p.x - ship.x), 2) << p.x << "," << p.y;
        EXPECT_LT(p.y, ship.y) << p.x << "," << p.y;
        top = std::min(top, p.y);
    }
    EXPECT_NEAR(top, ship.y - 100, 2);

    // Without a new position the vector stays as it is.
    navigation(90, 10);
    w.DrawOwnShipOverlay(w.GetDC(), ship.x, ship.y, false);
    EXPECT_NEAR(w.vectorDy, -100, 1e-9);
    ViewerSettings() = TViewerSettings{};
}

// The course changes from 0 to 90 with no paint in between: the next tick
// draws the vector east.
TEST(OwnShipOverlay, TheVectorFollowsTheCourseBetweenPaints) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    s.followFlag = 0;
    ChartSettings().trackSwitch = 0;
    ASSERT_GT(s.pixelsPerNm, 0); // from the paint at the set-up
    const unsigned long pictures = w.pictureCount;
    f.fixAt(ChartPoint{0, 0}, 0, 2);
    f.tick();
    EXPECT_NEAR(w.vectorDx, 0, 1e-9);
    EXPECT_LT(w.vectorDy, -10);
    const ClientPoint first = s.ownShipClient;
    EXPECT_LT(vectorPixels(w, first).front().y, first.y);

    f.fixAt(ChartPoint{0, 0}, 90, 2);
    f.tick();
    EXPECT_EQ(w.pictureCount, pictures); // no paint
    EXPECT_GT(w.vectorDx, 10);
    EXPECT_NEAR(w.vectorDy, 0, 1e-9);
    const ClientPoint ship = s.ownShipClient;
    const std::vector<gdi::XY> east = vectorPixels(w, ship);
    ASSERT_FALSE(east.empty());
    for (const gdi::XY& p : east) {
        EXPECT_GT(p.x, ship.x) << p.x << "," << p.y;
        EXPECT_LE(std::abs(p.y - ship.y), 2) << p.x << "," << p.y;
    }
}

TEST(OwnShipOverlay, TheHeadingLineWhileHeadingHoldIsAboveZero) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    const ClientPoint ship{300, 200};
    navigation(0, 0, 1, 60.4, 2, 90);
    w.DrawOwnShipOverlay(w.GetDC(), ship.x, ship.y, true);
    EXPECT_NEAR(w.headingDx, 2 * 1080, 1e-6); // twice the screen's height
    EXPECT_NEAR(w.headingDy, 0, 1e-6);
    const std::string heading = penText(4, 0);
    gdi::RecordingDc dc(640, 480);
    w.DrawOwnShipSymbol(dc, ship.x, ship.y, 90, 5.32, 60.4);
    EXPECT_EQ(
        linesStarting(dc.log(), "Polyline " + heading + " rop=copy (300,200) (2460,200)").size(),
        1u)
        << dc.log();

    // Heading hold run out: no heading line, the components kept.
    navigation(0, 0, 1, 60.4, 0, 180);
    w.DrawOwnShipOverlay(w.GetDC(), ship.x, ship.y, true);
    EXPECT_NEAR(w.headingDx, 2 * 1080, 1e-6);
    dc.clearLog();
    w.DrawOwnShipSymbol(dc, ship.x, ship.y, 180, 5.32, 60.4);
    EXPECT_TRUE(linesStarting(dc.log(), "Polyline " + heading + " rop=copy (300,200)").empty());
}

TEST(OwnShipOverlay, TheTrackPieceNeedsANewFixBelowEightyInsideTheClient) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    const ui::TRect client = w.GetClientRect();
    const gdi::Colour track = PaletteColourByType(ChartSettings().trackColour, 0);
    const struct {
        const char* name;
        bool newPosition;
        std::uint8_t valid;
        double lat;
        int dx; // own ship from the client centre
        std::uint8_t trackSwitch;
        std::int32_t recording;
        bool drawn;
    } cases[] = {
        {"a new fix", true, 1, 60.4, 0, 1, 0, true},
        {"no new position", false, 1, 60.4, 0, 1, 0, false},
        {"no fix", true, 0, 60.4, 0, 1, 0, false},
        {"at 80 degrees", true, 1, 80.0, 0, 1, 0, false},
        {"own ship right of the client", true, 1, 60.4, client.Width(), 1, 0, false},
        {"the track switch off", true, 1, 60.4, 0, 0, 0, false},
        {"... while a route is recorded", true, 1, 60.4, 0, 0, 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh chart picture in the background colour.
        w.memPicture1->fillRect(0, 0, client.Width(), client.Height(),
                                gdi::Brush::solid(colourOf(9)));
        ChartSettings().trackSwitch = c.trackSwitch;
        s.recordedRouteId = c.recording;
        navigation(0, 0, c.valid, c.lat);
        const ClientPoint centre = ClientCentre(client);
        const ClientPoint ship{centre.x + c.dx, centre.y};
        s.lastLoggedPoint = {centre.x - 60, centre.y};
        w.DrawOwnShipOverlay(w.GetDC(), ship.x, ship.y, c.newPosition);
        // In the picture too: the next tick's copy keeps it.
        const int mid = centre.x - 40;
        EXPECT_EQ(anyOf(*w.memPicture1, track, mid, centre.y, mid, centre.y), c.drawn);
        EXPECT_EQ(anyOf(w.GetDC(), track, mid, centre.y, mid, centre.y), c.drawn);
    }
}

TEST(OwnShipOverlay, TheRangeMarkerIsTakenOverAtTheFirstDrawingAfterAPaint) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    w.DrawOwnShipOverlay(w.GetDC(), 100, 100, false); // the first after the set-up's paint
    s.rangeMarkerDistance = 50;
    s.rangeMarkerBearing = 90;
    w.DrawOwnShipOverlay(w.GetDC(), 100, 100, false);
    EXPECT_EQ(w.rangeDistance, 0); // no paint since
    s.pictureUpToDate = 0;
    w.Invalidate(true);
    charttest::settle();
    EXPECT_EQ(w.rangeDistance, 50); // the paint's own drawing took it
    EXPECT_EQ(w.rangeBearing, 90);
    s.rangeMarkerDistance = 0;
    w.DrawOwnShipOverlay(w.GetDC(), 100, 100, true);
    EXPECT_EQ(w.rangeDistance, 50);
}

// ---------------------------------------------------------------------------
// Own ship's symbol

TEST(OwnShipSymbol, RingsVectorTicksAndTheRangeCross) {
    TimerFixture f;
    TOverlayWindow& w = makeWindow(f);
    TChartWindowState& s = state();
    s.pixelsPerNm = 100;
    w.vectorDx = 0;
    w.vectorDy = -40;
    gdi::RecordingDc dc(640, 480);
    w.DrawOwnShipSymbol(dc, 200, 150, 0, 5.3, 60.4);
    const std::string fine = penText(0, 0);
    const std::vector<std::string> expected = {
        "Ellipse " + penText(2, 4) + " brush=null rop=copy [188,138,214,164]",
        "Ellipse " + fine + " brush=null rop=copy [189,139,212,162]",
        "Polyline " + penText(4, 3) + " rop=copy (200,150) (200,110)",
        "Polyline " + fine + " rop=copy (197,150) (190,150)",
        "Polyline " + fine + " rop=copy (203,150) (210,150)",
        "Polyline " + fine + " rop=copy (200,147) (200,140)",
        "Polyline " + fine + " rop=copy (200,153) (200,160)",
    };
    std::istringstream in(dc.log());
    std::vector<std::string> got;
    for (std::string text; std::getline(in, text);)
        got.push_back(text);
    EXPECT_EQ(got, expected);
    // The context's pen and brush are put back.
    EXPECT_EQ(dc.pen(), gdi::Pen{});

    // Above 80 degrees nothing; at 80 the symbol.
    dc.clearLog();
    w.DrawOwnShipSymbol(dc, 200, 150, 0, 5.3, 80.5);
    EXPECT_TRUE(dc.log().empty());
    w.DrawOwnShipSymbol(dc, 200, 150, 0, 5.3, 80.0);
    EXPECT_FALSE(dc.log().empty());

    // The range cross: 0.5 NM on 90 at 100 pixels a mile, 50 pixels east;
    // 0.25 NM on 0, 25 up.
    const struct {
        int distance;
        double bearing;
        ClientPoint centre;
    } crosses[] = {{50, 90, {250, 150}}, {25, 0, {200, 125}}, {100, 225, {129, 221}}};
    for (const auto& c : crosses) {
        w.rangeDistance = c.distance;
        w.rangeBearing = c.bearing;
        EXPECT_EQ(RangeMarkerCentre({200, 150}, c.distance, c.bearing, 100), c.centre);
        dc.clearLog();
        w.DrawOwnShipSymbol(dc, 200, 150, 0, 5.3, 60.4);
        const std::vector<std::string> lines = linesStarting(dc.log(), "Polyline " + fine);
        ASSERT_GE(lines.size(), 2u);
        char across[96], down[96];
        std::snprintf(across, sizeof across, " rop=copy (%d,%d) (%d,%d)", c.centre.x - 20,
                      c.centre.y, c.centre.x + 20, c.centre.y);
        std::snprintf(down, sizeof down, " rop=copy (%d,%d) (%d,%d)", c.centre.x, c.centre.y - 20,
                      c.centre.x, c.centre.y + 20);
        EXPECT_EQ(lines[0], "Polyline " + fine + across);
        EXPECT_EQ(lines[1], "Polyline " + fine + down);
    }
    // A point far off draws without overflowing.
    w.DrawOwnShipSymbol(dc, std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 0,
                        5.3, 60.4);
}

} // namespace
