// The chart window's commands and their enablers: the interaction state each
// command leaves from each start state, the buttons it releases and where it
// puts the pointer; the store it changes; route following stopped with the
// route table; the enablers' greying and checks; the information mode; the
// timer's cursor step; the route chooser; the 3D view command; the help; and
// real clicks on the tool box.
#include "AppTestSupport.h"
#include "ChartTestSupport.h"
#include "ExchangeFake.h"

#include "chart/TFloatingToolBox.h"
#include "dialogs/TListDlg.h"
#include "ModalScript.h"
#include "nmea/NmeaOutput.h"
#include "os/Process.h"
#include "route/RouteFollowing.h"
#include "store/DbaseWin.h"
#include "ui/Controls.h"
#include "ui/Cursor.h"

#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using charttest::Host;
using charttest::NotedFrame;
using charttest::settle;
using State = ui::TButtonGadget::TState;

// The chart window in the program's frame, shown, with its tool box and its
// timer stopped (the tests give the ticks). With `store` it opens the
// user-object store of the current folder.
struct Commands {
    Host<ui::TMDIClient, TMyFrame> host;
    TMapWindow* w = nullptr;

    explicit Commands(bool store = false) {
        if (store) ChartWindowCalls().makeStore = nullptr;
        w = new TMapWindow(*host.client, "", 5, 5.32, 60.39);
        EXPECT_TRUE(w->Create());
        w->ShowWindow(ui::SW_SHOW);
        settle();
        w->KillTimer(kChartTimerId);
    }
    ~Commands() { delete w; }
    Commands(const Commands&) = delete;
    Commands& operator=(const Commands&) = delete;

    ui::TButtonGadget* button(int command) const {
        auto* box = dynamic_cast<TFloatingToolBox*>(w->toolBox);
        return box ? dynamic_cast<ui::TButtonGadget*>(box->GadgetWithId(command)) : nullptr;
    }
    void command(int id) const { w->SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(id, 0)); }
    void idle() { host.app.RunIdle(); }
    void tick() const { w->EvTimer(kChartTimerId); }
    DbaseWin* store() const { return dynamic_cast<DbaseWin*>(w->dbaseWin); }
};

// Route points 0.01 degree apart northwards from 5.32 E, 60.40 N.
void fillTable(TChartWindowState& s, int points) {
    s.routePointCount = points;
    for (int i = 0; i < points; ++i) {
        RoutePoint& p = s.routePoints[std::size_t(i)];
        p = RoutePoint{};
        p.lon = deg2nrm(5.32);
        p.lat = deg2nrm(60.40 + 0.01 * i);
        p.legLength = 0.6f;
        p.x = 100 + i;
    }
    s.routeTotal = 0.6 * std::max(points - 1, 0);
}

// ---------------------------------------------------------------------------
// The command table

struct Start {
    int routeState = 0;
    std::int32_t activeRoute = 0;
    int points = 0; // in the route table
    int editCount = 0;
    bool place = false, del = false;
    bool maximised = false;
    std::uint8_t forward = 1;
};

struct After {
    int routeState;
    std::int32_t activeRoute;
    int editCount, points, marked, forward, extension, fill, followRequest;
    int hint, cursorRequest, redraw;
    bool place, del;
};

// A pointer move; kConfirm stands for the point beside the confirmation box.
struct Move {
    int x, y;
    bool operator==(const Move&) const = default;
};
constexpr Move kConfirm{-1, -1};

std::string describe(const std::vector<Move>& moves) {
    std::ostringstream o;
    for (const Move& m : moves)
        o << "(" << m.x << ", " << m.y << ") ";
    return o.str();
}

// Values before each row that the commands may or may not change.
constexpr int kMarkedBefore = 2, kHintBefore = 9;

TEST(MapWindowCommands, EachCommandFromEachStartState) {
    const std::vector<int> routeButtons{52, 53, 57}, deleteDown{52, 53, 56};
    const struct {
        const char* name;
        Start start;
        int command;
        int box; // the confirmation's answer; 0: none is asked
        std::vector<int> down;
        After after;
        std::vector<int> released;
        std::vector<Move> moves;
    } rows[] = {
        {"97 with a route active",
         {.routeState = 1, .activeRoute = 12, .points = 4, .forward = 0},
         97,
         0,
         routeButtons,
         {0, 0, 0, 0, -1, 1, 0, 1, 0, 3, 0, 1, false, false},
         {},
         {{50, 125}}},
        {"52 with a route active",
         {.routeState = 1, .activeRoute = 12, .points = 4},
         52,
         0,
         routeButtons,
         {3, 12, 4, 4, kMarkedBefore, 1, 1, 0, 0, 4, 1, 1, false, false},
         {},
         {}},
        {"52 maximised",
         {.routeState = 1, .activeRoute = 12, .points = 4, .maximised = true},
         52,
         0,
         routeButtons,
         {3, 12, 4, 4, kMarkedBefore, 1, 1, 0, 0, 4, 1, 1, false, false},
         {},
         {{50, 75}}},
        {"53 down without a route",
         {},
         53,
         0,
         routeButtons,
         {2, 0, 0, 0, -1, 1, 0, 1, 0, 5, 1, 0, false, false},
         {},
         {{50, 100}}},
        {"53 down with a reversed route active",
         {.routeState = 1, .activeRoute = 12, .points = 4, .editCount = 3, .forward = 0},
         53,
         0,
         routeButtons,
         {2, 0, 0, 0, -1, 1, 0, 1, 0, 5, 1, 0, false, false},
         {},
         {{50, 100}}},
        {"53 up while a new route is placed",
         {.routeState = 2, .activeRoute = 7, .points = 2, .editCount = 2},
         53,
         0,
         {52, 57},
         {0, 0, 0, 2, -1, 1, 1, 0, 0, kHintBefore, 0, 1, false, false},
         {},
         {}},
        {"55 ending a new route of one point",
         {.routeState = 2, .activeRoute = 7, .points = 1, .editCount = 1},
         55,
         0,
         routeButtons,
         {0, 0, 0, 0, -1, 1, 1, 1, 0, 0, 1, 1, false, false},
         {52, 53, 57},
         {}},
        {"55 ending a new route of three points",
         {.routeState = 2, .activeRoute = 7, .points = 3, .editCount = 3},
         55,
         0,
         routeButtons,
         {0, 7, 0, 0, -1, 1, 1, 1, 1, 0, 1, 1, false, false},
         {52, 53, 57},
         {}},
        {"55 ending the editing of the active route",
         {.routeState = 3, .activeRoute = 12, .points = 4, .editCount = 4},
         55,
         0,
         routeButtons,
         {0, 12, 0, 0, -1, 1, 1, 1, 1, 0, 1, 1, false, false},
         {52, 53, 57},
         {}},
        {"55 in the place-symbol mode",
         {.place = true},
         55,
         0,
         routeButtons,
         {0, 0, 0, 0, kMarkedBefore, 1, 1, 0, 0, 0, 1, 1, false, false},
         {57},
         {}},
        {"55 in the delete-symbol mode with a route active",
         {.routeState = 1, .activeRoute = 12, .points = 4, .del = true},
         55,
         0,
         deleteDown,
         {1, 12, 0, 4, kMarkedBefore, 1, 1, 0, 0, 0, 1, 1, false, false},
         {56},
         {}},
        {"56 without a route",
         {.place = true},
         56,
         0,
         routeButtons,
         {0, 0, 0, 0, kMarkedBefore, 1, 1, 0, 0, 6, 4, 0, false, true},
         {},
         {}},
        {"56 without a route, maximised",
         {.maximised = true},
         56,
         0,
         routeButtons,
         {0, 0, 0, 0, kMarkedBefore, 1, 1, 0, 0, 6, 4, 0, false, true},
         {},
         {{50, 75}}},
        {"56 with a route, Cancel",
         {.routeState = 1, .activeRoute = 12, .points = 4, .place = true},
         56,
         ui::IDCANCEL,
         routeButtons,
         {1, 12, 0, 4, kMarkedBefore, 1, 1, 0, 0, 6, 4, 0, false, true},
         {},
         {kConfirm}},
        {"56 with a route, OK",
         {.routeState = 1, .activeRoute = 12, .points = 4, .editCount = 3},
         56,
         ui::IDOK,
         deleteDown,
         {0, 0, 0, 0, -1, 1, 1, 0, 0, kHintBefore, 0, 1, false, false},
         {56},
         {kConfirm, {50, 150}}},
        {"57",
         {.del = true},
         57,
         0,
         routeButtons,
         {0, 0, 0, 0, kMarkedBefore, 1, 1, 0, 0, 7, 1, 0, true, false},
         {},
         {}},
        {"57 maximised",
         {.maximised = true},
         57,
         0,
         routeButtons,
         {0, 0, 0, 0, kMarkedBefore, 1, 1, 0, 0, 7, 1, 0, true, false},
         {},
         {{50, 125}}},
    };

    Commands c;
    TChartWindowState& s = ChartWindowState();
    const ClientPoint centre = ClientCentre(c.w->GetClientRect());
    const Move confirm{centre.x + 30, centre.y + 72};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::optional<NotedFrame> frame;
        if (row.start.maximised) frame.emplace(true);
        s.routeState = row.start.routeState;
        s.activeRouteId = row.start.activeRoute;
        fillTable(s, row.start.points);
        c.w->editCount = row.start.editCount;
        s.placeSymbolMode = row.start.place;
        s.deleteSymbolMode = row.start.del;
        s.forwardFlag = row.start.forward;
        s.markedRoutePoint = kMarkedBefore;
        s.routeExtension = 1;
        s.routeTableFill = 0;
        s.followRouteRequest = 0;
        s.statusHint = kHintBefore;
        s.cursorRequest = 0;
        s.redrawRequest = 0;
        for (int b : {52, 53, 56, 57})
            c.button(b)->SetButtonState(State::Up);
        for (int b : row.down)
            c.button(b)->SetButtonState(State::Down);

        uitest::TCursorRecorder cursor;
        {
            uitest::TModalScript script;
            if (row.box) script.Box(row.box);
            c.command(row.command);
            if (row.box) {
                ASSERT_EQ(script.Modals().size(), 1u);
                EXPECT_EQ(script.Modals()[0].text, "Bekreftes !!");
                EXPECT_EQ(script.Modals()[0].caption, "Slette valgt rute");
            }
        }

        const After& a = row.after;
        EXPECT_EQ(s.routeState, a.routeState);
        EXPECT_EQ(s.activeRouteId, a.activeRoute);
        EXPECT_EQ(c.w->editCount, a.editCount);
        EXPECT_EQ(s.routePointCount, a.points);
        if (a.points == 0) {
            EXPECT_EQ(s.routeTotal, 0.0);
        }
        EXPECT_EQ(s.markedRoutePoint, a.marked);
        EXPECT_EQ(s.forwardFlag, a.forward);
        EXPECT_EQ(s.routeExtension, a.extension);
        EXPECT_EQ(s.routeTableFill, a.fill);
        EXPECT_EQ(s.followRouteRequest, a.followRequest);
        EXPECT_EQ(s.statusHint, a.hint);
        EXPECT_EQ(s.cursorRequest, a.cursorRequest);
        EXPECT_EQ(s.redrawRequest, a.redraw);
        EXPECT_EQ(s.placeSymbolMode, a.place);
        EXPECT_EQ(s.deleteSymbolMode, a.del);
        for (int b : row.down) {
            const bool released =
                std::find(row.released.begin(), row.released.end(), b) != row.released.end();
            EXPECT_EQ(c.button(b)->GetButtonState(), released ? State::Up : State::Down) << b;
        }
        std::vector<Move> moves, expected;
        for (const auto& r : cursor.Requests)
            if (r.kind == ui::TCursorRequest::SetPos) moves.push_back({r.x, r.y});
        for (const Move& m : row.moves)
            expected.push_back(m == kConfirm ? confirm : m);
        EXPECT_EQ(moves, expected) << describe(moves);
        // The chooser that 97 made goes before the next row.
        delete std::exchange(c.w->listDlg, nullptr);
    }
}

// Command 52 after the start of following put own ship in front of the route
// as point 0: that point goes, and the waypoint steered for keeps its place.
TEST(MapWindowCommands, ChangingTheRouteTakesOwnShipsPointOut) {
    Commands c;
    TChartWindowState& s = ChartWindowState();
    fillTable(s, 5);
    s.routeState = 1;
    s.activeRouteId = 12;
    s.ownShipInserted = 1;
    s.followingState = 1;
    s.destinationIndex = 2;
    const RoutePoint second = s.routePoints[1], last = s.routePoints[4];
    c.command(52);
    EXPECT_EQ(s.ownShipInserted, 0);
    EXPECT_EQ(s.routePointCount, 4);
    EXPECT_EQ(c.w->editCount, 4);
    EXPECT_EQ(s.routePoints[0].lat, second.lat);
    EXPECT_EQ(s.routePoints[0].x, second.x);
    EXPECT_EQ(s.routePoints[3].lat, last.lat);
    EXPECT_EQ(s.routePoints[4].lat, 0);
    EXPECT_EQ(s.destinationIndex, 1);
    // Without own ship in front nothing moves.
    c.command(52);
    EXPECT_EQ(s.routePointCount, 4);
    EXPECT_EQ(s.routePoints[0].lat, second.lat);
}

TEST(MapWindowCommands, IlluminationReliefAndSoundings) {
    Commands c;
    TChartWindowState& s = ChartWindowState();
    // Any level but day (dusk included) asks for day; day asks for night.
    for (const auto& [level, requested] : {std::pair{0, 2}, {1, 0}, {2, 0}, {3, 0}}) {
        s.illuminationLevel = level;
        c.command(108);
        EXPECT_EQ(s.requestedIllumination, requested) << level;
    }
    // The relief switch toggles; switched on without a picture ready, the
    // chart picture and its export are made again.
    const struct {
        std::uint8_t before, ready, upToDateAfter;
    } cases[] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}};
    for (const auto& r : cases) {
        s.reliefSwitch = r.before;
        s.reliefReady = r.ready;
        s.pictureUpToDate = 1;
        s.redrawRequest = 0;
        c.command(131);
        EXPECT_EQ(s.reliefSwitch, r.before ? 0 : 1);
        EXPECT_EQ(s.pictureUpToDate, r.upToDateAfter);
        EXPECT_EQ(s.redrawRequest, 1);
    }
    // The soundings switch toggles and the chart picture is drawn again, with
    // the engine's sounding procedures or the program's.
    for (const std::uint8_t before : {1, 0}) {
        ChartSettings().soundingsSwitch = before;
        s.pictureUpToDate = 1;
        s.redrawRequest = 0;
        c.command(134);
        EXPECT_EQ(ChartSettings().soundingsSwitch, before ? 0 : 1);
        EXPECT_EQ(s.pictureUpToDate, 0);
        EXPECT_EQ(s.redrawRequest, 1);
    }
}

// ---------------------------------------------------------------------------
// The store

// A route written as the placing of routes writes it: its ID record, its
// points 1 to n and its text.
void addObject(DbaseWin& store, std::uint16_t kind, std::int32_t id, const char* name, int points,
               std::uint16_t length) {
    IdRecord r;
    r.kind = kind;
    r.id = id;
    r.latitude = DegreesToStoreUnits(60.40 + 0.001 * id); // key 2 holds one object per place
    r.longitude = DegreesToStoreUnits(5.32);
    r.length = length;
    r.pointCount = std::uint16_t(points);
    r.name = name;
    ASSERT_EQ(isam::ADDREC(kIdFileNumber, r.Encode().data()), 0);
    for (int i = 1; i <= points; ++i) {
        store.CurrentPointRecord = PointRecord{};
        store.CurrentPointRecord.id = id;
        store.CurrentPointRecord.number = std::uint16_t(i);
        store.CurrentPointRecord.latitude = DegreesToStoreUnits(60.40 + 0.01 * i);
        store.CurrentPointRecord.longitude = DegreesToStoreUnits(5.32);
        ASSERT_EQ(store.WritePointRecord(), 0);
    }
    const std::vector<std::uint8_t> text = InfoRecord{id, 0, "Over Fedjeosen"}.Encode();
    ASSERT_EQ(isam::ADDVREC(kInfoFileNumber, text.data(), text.size()), 0);
}

void addRoute(DbaseWin& store, std::int32_t id, int points, std::uint16_t length) {
    addObject(store, kKindRoute, id, "Fedje", points, length);
}

std::optional<IdBytes> idRecord(std::int32_t id) {
    IdBytes bytes{};
    if (isam::EQLREC(kIdKey, IdKey(id).data(), bytes.data()) != 0) return std::nullopt;
    return bytes;
}

bool anyPoint(std::int32_t id) {
    PointBytes bytes{};
    return isam::GTEREC(kPointKey, PointKey(id, 0).data(), bytes.data()) == 0 &&
           PointRecord::Decode(bytes).id == id;
}

bool hasText(std::int32_t id) {
    std::vector<std::uint8_t> bytes(4096);
    return isam::EQLREC(kInfoKey, InfoKey(id, 0).data(), bytes.data()) == 0;
}

TEST(MapWindowCommands, DeletingTheActiveRouteTakesItsPointsAndText) {
    apptest::TestFolder folder;
    Commands c(true);
    ASSERT_TRUE(c.store());
    addRoute(*c.store(), 7, 3, 12);
    addRoute(*c.store(), 8, 2, 5);
    TChartWindowState& s = ChartWindowState();
    s.routeState = 1;
    s.activeRouteId = 7;
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    c.command(56);
    EXPECT_FALSE(idRecord(7));
    EXPECT_FALSE(anyPoint(7));
    EXPECT_FALSE(hasText(7));
    // The other route stays whole.
    EXPECT_TRUE(idRecord(8));
    EXPECT_TRUE(anyPoint(8));
    EXPECT_TRUE(hasText(8));
    EXPECT_EQ(s.activeRouteId, 0);
}

TEST(MapWindowCommands, EndingTheEditingZeroesTheStoredLengthOrDeletesAShortRoute) {
    apptest::TestFolder folder;
    Commands c(true);
    ASSERT_TRUE(c.store());
    TChartWindowState& s = ChartWindowState();

    // The edited route's length (u16 at offset 30) becomes 0; the rest stays.
    addRoute(*c.store(), 7, 3, 123);
    const IdBytes before = *idRecord(7);
    s.routeState = 3;
    s.activeRouteId = 7;
    c.w->editCount = 3;
    c.command(55);
    const std::optional<IdBytes> after = idRecord(7);
    ASSERT_TRUE(after);
    EXPECT_EQ((*after)[30], 0);
    EXPECT_EQ((*after)[31], 0);
    IdBytes expected = before;
    expected[30] = expected[31] = 0;
    EXPECT_EQ(*after, expected);
    EXPECT_TRUE(anyPoint(7));
    // The next routes pass works the length out again: two legs of 0.01
    // degree of latitude, 1.2 nautical miles, in tenths.
    c.w->DrawUserObjectsOfKind(c.w->GetDC(), 2);
    EXPECT_EQ(IdRecord::Decode(*idRecord(7)).length, 12);

    // A new route of one point is deleted whole, and no route is active.
    addRoute(*c.store(), 9, 1, 0);
    s.routeState = 2;
    s.activeRouteId = 9;
    c.w->editCount = 1;
    c.command(55);
    EXPECT_FALSE(idRecord(9));
    EXPECT_FALSE(anyPoint(9));
    EXPECT_FALSE(hasText(9));
    EXPECT_EQ(s.activeRouteId, 0);
    EXPECT_EQ(s.routeState, 0);
    EXPECT_TRUE(idRecord(7));
}

// ---------------------------------------------------------------------------
// Route following stops with the route table

TEST(MapWindowCommands, CommandsThatEmptyTheRouteTableStopFollowing) {
    const struct {
        const char* name;
        int routeState, command, box;
    } rows[] = {
        {"97", 1, 97, 0},
        {"53 down", 1, 53, 0},
        {"56 confirmed", 1, 56, ui::IDOK},
        {"55 after editing", 3, 55, 0},
    };
    Commands c;
    TChartWindowState& s = ChartWindowState();
    const auto sentences = [] {
        std::string out;
        for (int i = 0; i < 2; ++i) {
            SendNmeaOutput();
            out += NmeaOutputText();
        }
        return out;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fillTable(s, 4);
        s.ownShip = GeoPoint{deg2nrm(5.32), deg2nrm(60.395)};
        s.detailWord = 5;
        ASSERT_TRUE(BeginRouteFollowing(s).started);
        s.routeState = row.routeState;
        s.activeRouteId = 12;
        c.w->editCount = 4;
        c.button(53)->SetButtonState(State::Down);
        ResetNmeaOutput();
        const std::string whileFollowing = sentences();
        EXPECT_NE(whileFollowing.find("$GPRMB"), std::string::npos);
        EXPECT_NE(whileFollowing.find("$GPAPB"), std::string::npos);

        uitest::TModalScript script;
        if (row.box) script.Box(row.box);
        c.command(row.command);
        EXPECT_EQ(s.followingState, 0);
        EXPECT_EQ(s.destinationIndex, 0);
        EXPECT_EQ(s.routePointCount, 0);
        const std::string after = sentences();
        EXPECT_NE(after.find("$GPRMC"), std::string::npos);
        EXPECT_EQ(after.find("$GPRMB"), std::string::npos);
        EXPECT_EQ(after.find("$GPAPB"), std::string::npos);
        delete std::exchange(c.w->listDlg, nullptr);
    }
}

// ---------------------------------------------------------------------------
// Enablers

TEST(MapWindowCommands, EnablersGreyAndCheckTheButtons) {
    enum Mode { None, Place, Delete, Information };
    const struct {
        int routeState;
        Mode mode;
        const char* enabled;
    } rows[] = {
        {0, None, "97 53 56 57 119 108 131"},
        {0, Place, "97 55 56 57 108 131"},
        {0, Delete, "97 55 56 57 108 131"},
        {0, Information, "97 53 119 108 131"},
        {1, None, "97 52 53 56 57 119 108 131"},
        {1, Place, "97 55 56 57 108 131"},
        {1, Delete, "97 55 56 57 108 131"},
        {1, Information, "97 52 53 119 108 131"},
        {2, None, "97 55 108 131"},
        {2, Place, "97 55 108 131"},
        {2, Delete, "97 55 108 131"},
        {2, Information, "97 55 108 131"},
        {3, None, "97 55 108 131"},
        {3, Place, "97 55 108 131"},
        {3, Delete, "97 55 108 131"},
        {3, Information, "97 55 108 131"},
    };
    charttest::FakeExchange fake;
    ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY)); // button 131 is there
    Commands c;
    auto* box = dynamic_cast<TFloatingToolBox*>(c.w->toolBox);
    ASSERT_TRUE(box);
    TChartWindowState& s = ChartWindowState();
    for (const auto& row : rows) {
        SCOPED_TRACE("route state " + std::to_string(row.routeState) + ", mode " +
                     std::to_string(row.mode));
        const auto set = [&] {
            s.routeState = row.routeState;
            s.placeSymbolMode = row.mode == Place;
            s.deleteSymbolMode = row.mode == Delete;
            s.informationMode = row.mode == Information;
        };
        set();
        std::string enabled;
        int check119 = -1;
        // In the box's order, as the idle pass asks.
        for (const TToolBoxButton& b : box->Buttons()) {
            if (b.command == 120 || b.command == 134) continue;
            ui::TCommandEnabler ce(ui::UINT(b.command));
            box->RouteCommandEnable(ce);
            ASSERT_TRUE(ce.GetHandled()) << b.command;
            if (ce.IsEnabled()) enabled += (enabled.empty() ? "" : " ") + std::to_string(b.command);
            if (b.command == 119) check119 = ce.GetCheck();
        }
        // The box's order is 119 108 131 56 57 97 52 53 55: sort into the rows'.
        std::vector<std::string> order{"97", "52", "53", "55", "56", "57", "119", "108", "131"};
        std::string sorted;
        for (const std::string& o : order)
            if ((" " + enabled + " ").find(" " + o + " ") != std::string::npos)
                sorted += (sorted.empty() ? "" : " ") + o;
        EXPECT_EQ(sorted, row.enabled);
        // 119 is checked while the information mode is on as the pass begins.
        EXPECT_EQ(check119, row.mode == Information ? ui::TCommandEnabler::Checked
                                                    : ui::TCommandEnabler::Unchecked);

        // Through the idle pass, the buttons show the same.
        set();
        c.idle();
        for (const std::string& o : order) {
            const bool on =
                (" " + std::string(row.enabled) + " ").find(" " + o + " ") != std::string::npos;
            EXPECT_EQ(c.button(std::stoi(o))->GetEnabled(), on) << o;
        }
    }

    // 120 and 134: always enabled; 120 is checked while following own ship,
    // 134 while the soundings switch is off.
    for (std::uint8_t on : {0, 1}) {
        s.followFlag = on;
        ChartSettings().soundingsSwitch = on;
        ui::TCommandEnabler follow(120), soundings(134);
        box->RouteCommandEnable(follow);
        box->RouteCommandEnable(soundings);
        EXPECT_TRUE(follow.IsEnabled());
        EXPECT_TRUE(soundings.IsEnabled());
        EXPECT_EQ(follow.GetCheck(),
                  on ? ui::TCommandEnabler::Checked : ui::TCommandEnabler::Unchecked);
        EXPECT_EQ(soundings.GetCheck(),
                  on ? ui::TCommandEnabler::Unchecked : ui::TCommandEnabler::Checked);
    }
    ChartSettings().soundingsSwitch = 1;
}

// ---------------------------------------------------------------------------
// The information mode and the cursor

TEST(MapWindowCommands, TheInformationMode) {
    Commands c;
    TChartWindowState& s = ChartWindowState();

    // Not allowed (no enabler pass yet, then route state 2): nothing.
    s.informationAllowed = false;
    c.command(119);
    EXPECT_FALSE(s.informationMode);
    s.routeState = 2;
    c.idle();
    c.command(119);
    EXPECT_FALSE(s.informationMode);

    // Allowed: on with cursor 2 and hint 12, off with cursor 1 and hint 0.
    s.routeState = 0;
    c.idle();
    c.command(119);
    EXPECT_TRUE(s.informationMode);
    EXPECT_EQ(s.cursorRequest, 2);
    EXPECT_EQ(s.statusHint, 12);
    c.tick(); // its own cursor does not end it
    c.idle();
    EXPECT_TRUE(s.informationMode);
    c.command(119);
    EXPECT_FALSE(s.informationMode);
    EXPECT_EQ(s.cursorRequest, 1);
    EXPECT_EQ(s.statusHint, 0);

    // A cursor request 1 (a click that ends a mode) while the mode is on: the
    // tick asks, and the enabler pass after it ends the mode.
    c.command(119);
    c.tick();
    s.cursorRequest = 1;
    c.tick();
    EXPECT_TRUE(s.informationOffRequest);
    EXPECT_TRUE(s.informationMode);
    c.idle();
    EXPECT_FALSE(s.informationMode);
    EXPECT_FALSE(s.informationOffRequest);

    // The same with a command that sets cursor request 1 (52 with a route).
    s.routeState = 1;
    s.activeRouteId = 12;
    c.idle();
    c.command(119);
    c.tick();
    c.idle();
    ASSERT_TRUE(s.informationMode);
    c.command(52);
    c.tick();
    c.idle();
    EXPECT_FALSE(s.informationMode);

    // The hint 12 comes back when the hint state is 0.
    s.routeState = 0;
    c.idle();
    c.command(119);
    ASSERT_TRUE(s.informationMode);
    s.statusHint = 0;
    s.lastShownHint = 0;
    c.idle();
    EXPECT_EQ(s.statusHint, 12);
    EXPECT_EQ(s.lastShownHint, -1);
}

TEST(MapWindowCommands, TheTimerAppliesTheCursorRequests) {
    Commands c;
    TChartWindowState& s = ChartWindowState();
    const struct {
        int request;
        int resource; // 0: the system's wait cursor
        int next;
        bool informationOff;
    } rows[] = {
        {1, 19994, 0, true}, {2, 19995, 0, false}, {3, 19996, 0, true},  {4, 19997, 0, true},
        {5, 0, 0, true},     {6, 19998, 0, true},  {7, 19999, 1, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.request);
        s.cursorRequest = r.request;
        s.informationOffRequest = false;
        c.w->ApplyCursorRequest();
        EXPECT_EQ(s.cursorKind, r.request);
        EXPECT_EQ(s.cursorRequest, r.next);
        EXPECT_EQ(s.informationOffRequest, r.informationOff);
        const QCursor shown = c.w->GetHandle()->cursor();
        if (r.resource) {
            EXPECT_TRUE(shown == ViewerModule().LoadCursor(r.resource)->Cursor);
        } else {
            EXPECT_EQ(shown.shape(), Qt::WaitCursor);
        }
    }
    // Request 0 changes nothing, and neither does one that names no cursor.
    for (int request : {0, 8, -1}) {
        s.cursorRequest = request;
        s.informationOffRequest = false;
        c.w->ApplyCursorRequest();
        EXPECT_EQ(s.cursorKind, 7);
        EXPECT_EQ(s.cursorRequest, 0);
        EXPECT_FALSE(s.informationOffRequest);
        EXPECT_TRUE(c.w->GetHandle()->cursor() == ViewerModule().LoadCursor(19999)->Cursor);
    }
}

// ---------------------------------------------------------------------------
// The chooser, the 3D view, the help

// The chooser lists the named routes of the store, made once however often
// 97 comes; "Retur" on one makes it the active route, reversed, to be
// followed.
TEST(MapWindowCommands, TheRouteChooserListsTheNamedRoutesOnce) {
    apptest::TestFolder folder;
    Commands c(true);
    ASSERT_TRUE(c.store());
    addObject(*c.store(), kKindRoute, 7, "Fedje", 3, 12);
    addObject(*c.store(), kKindRoute, 8, "", 2, 6);    // unnamed
    addObject(*c.store(), kKindLine, 9, "Leia", 2, 6); // not a route
    addObject(*c.store(), kKindRoute, 11, "Hjeltefjorden", 2, 25);
    TChartWindowState& s = ChartWindowState();
    c.command(97);
    auto* list = dynamic_cast<TListDlg*>(c.w->listDlg);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->IsWindow());
    EXPECT_EQ(s.listMode, 2);
    auto* combo = dynamic_cast<ui::TComboBox*>(ui::GetWindowPtr(list->GetDlgItem(kListCombo)));
    ASSERT_TRUE(combo);
    const auto items = [&] {
        std::vector<std::pair<std::string, int>> out;
        for (int i = 0; i < combo->GetCount(); ++i) {
            char text[64] = {};
            combo->GetString(text, sizeof text, i);
            out.emplace_back(text, int(combo->GetItemData(i)));
        }
        return out;
    };
    const std::vector<std::pair<std::string, int>> named{{"Fedje  (1.2)", 7},
                                                         {"Hjeltefjorden  (2.5)", 11}};
    EXPECT_EQ(items(), named);
    c.command(97);
    EXPECT_EQ(c.w->listDlg, list);
    EXPECT_EQ(items(), named);

    combo->SetSelIndex(0);
    list->SendMessage(ui::WM_COMMAND, kListReverse);
    EXPECT_EQ(s.activeRouteId, 7);
    EXPECT_EQ(s.forwardFlag, 0);
    EXPECT_EQ(s.followRouteRequest, 1);
    EXPECT_EQ(c.w->listDlg, nullptr);
    settle();
}

TEST(MapWindowCommands, The3DViewCommand) {
    apptest::TestFolder folder;
    std::filesystem::create_directories(folder / "bin");
    apptest::EnvSetting path("PATH", folder / "bin");
    apptest::writeScript(folder / "bin/Vistrel", "exec /bin/sleep 60\n");
    charttest::FakeExchange fake;
    ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
    ASSERT_TRUE(Is3DViewAvailable());
    Commands c;
    ui::TButtonGadget* button = c.button(132);
    ASSERT_TRUE(button);
    TChartWindowState& s = ChartWindowState();
    // Following own ship, heading south-west: the command asks for a re-centre.
    s.followFlag = 1;
    s.detailWord = 0; // no export
    UpdateNavShared([](NavShared& n) { n.nav.courseOverGround = 225; });
    s.ownShip = GeoPoint{deg2nrm(5.10), deg2nrm(60.20)};
    ASSERT_NE(c.w->centre.lon, s.ownShip.lon);

    c.command(132);
    EXPECT_TRUE(Is3DViewRunning());
    EXPECT_TRUE(ViewerProcess().running());
    EXPECT_EQ(button->GetButtonState(), State::Down);
    c.idle();
    EXPECT_EQ(button->GetButtonState(), State::Down);
    EXPECT_EQ(s.recentreRequest, 1);
    c.tick(); // carried out: the view centres on own ship
    EXPECT_EQ(s.recentreRequest, 0);
    EXPECT_EQ(c.w->centre.lon, s.ownShip.lon);
    EXPECT_EQ(c.w->centre.lat, s.ownShip.lat);

    // The second asks the viewer to close.
    fake->words[0] = 0;
    c.command(132);
    EXPECT_EQ(fake->words[0] & 0x200u, 0x200u);
    EXPECT_FALSE(Is3DViewRunning());
    c.idle();
    EXPECT_EQ(button->GetButtonState(), State::Up);

    // Started again, and the viewer goes by itself: the timer notices, and
    // the enabler leaves the button up.
    ViewerProcess().terminate(0);
    c.command(132);
    ASSERT_TRUE(Is3DViewRunning());
    ViewerProcess().terminate(0);
    for (int i = 0; i < 200 && ViewerProcess().running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    c.tick(); // the re-centre the start asked for ends this tick
    c.tick();
    EXPECT_FALSE(Is3DViewRunning());
    c.idle();
    EXPECT_EQ(button->GetButtonState(), State::Up);
}

TEST(MapWindowCommands, HelpRunsTheHelpDialogModally) {
    Commands c;
    uitest::TModalScript script;
    bool shown = false;
    script.Dialog(kHelpTemplate, [&](ui::TDialog& d) {
        shown = true;
        EXPECT_EQ(ChartWindowState().inputMode, 8);
        d.SendMessage(ui::WM_COMMAND, ui::IDCANCEL);
    });
    c.w->ShowHelp();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(ChartWindowState().inputMode, 0);
    EXPECT_EQ(ChartWindowState().redrawRequest, 1);
}

// ---------------------------------------------------------------------------
// Real clicks

TEST(MapWindowCommands, ClicksOnTheToolBoxReachTheHandlers) {
    Commands c;
    TChartWindowState& s = ChartWindowState();
    c.idle(); // the enablers
    const auto click = [&](int command) {
        QTest::mouseClick(c.button(command)->GetHandle(), Qt::LeftButton);
        c.idle();
    };
    const auto checked = [&](int command) {
        return static_cast<QToolButton*>(c.button(command)->GetHandle())->isChecked();
    };

    click(57);
    EXPECT_TRUE(s.placeSymbolMode);
    EXPECT_EQ(c.button(57)->GetButtonState(), State::Down);
    click(56); // the pair is a group: 57 goes up
    EXPECT_TRUE(s.deleteSymbolMode);
    EXPECT_FALSE(s.placeSymbolMode);
    EXPECT_EQ(c.button(57)->GetButtonState(), State::Up);
    EXPECT_EQ(c.button(56)->GetButtonState(), State::Down);
    EXPECT_TRUE(checked(56));
    EXPECT_FALSE(checked(57));
    click(55);
    EXPECT_FALSE(s.deleteSymbolMode);
    EXPECT_FALSE(checked(56));

    // With a route active, 56 asks, deletes it and shows its button up again.
    s.routeState = 1;
    s.activeRouteId = 12;
    c.idle();
    {
        uitest::TModalScript script;
        script.Box(ui::IDOK);
        click(56);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(s.activeRouteId, 0);
    EXPECT_EQ(c.button(56)->GetButtonState(), State::Up);
    EXPECT_FALSE(checked(56));

    // 53 down, then up: a new route, then none.
    click(53);
    EXPECT_EQ(s.routeState, 2);
    c.idle();
    s.routeState = 0; // 53 is enabled again once the route state allows it
    c.idle();
    click(53);
    EXPECT_EQ(s.routeState, 0);
    EXPECT_EQ(s.redrawRequest, 1);

    click(97);
    EXPECT_TRUE(dynamic_cast<TListDlg*>(c.w->listDlg));
}

} // namespace
