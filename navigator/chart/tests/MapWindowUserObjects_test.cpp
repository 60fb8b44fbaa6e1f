// The chart window's drawing and picking of the user's stored objects, on a
// copy of the fixture store (UserObjectFixture.h) over a recording context:
// the codes, symbols with their labels, routes, tracks, the route table's
// fill and drawing, the upkeep of counts and lengths, the leg geometry,
// picks, deletions, the chooser list and refused batches; the symbol strip.
#include "UserObjectsTestSupport.h"

#include "app/ViewerPalette.h"
#include "chart/UserObjectCodes.h"
#include "dialogs/ReadoutText.h"
#include "dialogs/TListDlg.h"
#include "geo/geodesy.h"
#include "graphics/GraphicsLayer.h"
#include "ui/Controls.h"

#include <QImage>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <set>

namespace {

using namespace uotest;

TChartWindowState& state() {
    return ChartWindowState();
}

std::string colourText(gdi::Colour c) {
    return gdi::RecordingDc::colourText(c);
}

// The width the label font gives a text.
int labelWidth(const std::string& text) {
    gdi::RecordingDc dc(10, 10);
    dc.selectFont(gdi::Font::create(gdi::LogFont{"MS Sans Serif", -10, 500}));
    return dc.textExtent(text).x;
}

// A text as the recording writes it.
std::string logged(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c >= 0x20 && c <= 0x7E && c != '"' && c != '\\' ? std::string(1, char(c)) : hex;
    }
    return out;
}

// The label's frame and text lines for a label whose frame starts at x.
std::string labelAt(int x, int y, const std::string& text, int colour) {
    const int width = labelWidth(text);
    return "RoundRect pen=solid/0/" + colourText(gdColour(0)) + " brush=solid/" +
           colourText(gdColour(1)) + " rop=copy " + Box(x, y - 6, x + width + 4, y + 7) +
           " corner=6,4\nTextOut font=\"MS Sans Serif\"/-10/500 " +
           colourText(TextColourByType(colour, 0)) + " " + Xy(x + 2, y + 7) +
           " align=left,bottom text=\"" + logged(text) + "\"\n";
}

bool contains(const std::string& log, const std::string& part) {
    return log.find(part) != std::string::npos;
}

// ---------------------------------------------------------------------------
// Codes

TEST(UserObjectCodes, EachCodeGivesItsActionAndKindWithItsSwitch) {
    using A = UserObjectAction;
    enum Switch { None, Track, Line, Symbol };
    const struct {
        int code;
        A action;
        int kind;
        Switch sw;
    } cases[] = {
        {2, A::Draw, 2, None},       {105, A::Labels, 5, Symbol},   {201, A::Pick, 1, Track},
        {202, A::Pick, 2, None},     {203, A::Pick, 3, Line},       {305, A::Delete, 5, Symbol},
        {402, A::PickEdit, 2, None}, {405, A::PickEdit, 5, Symbol}, {5, A::Draw, 5, Symbol},
        {8, A::Draw, 8, None},       {9, A::Draw, 9, None},         {206, A::Pick, 6, Line},
        {107, A::Labels, 7, Line},   {301, A::Delete, 1, Track},    {401, A::PickEdit, 1, Track},
        {200, A::Labels, 100, None}, {101, A::Labels, 1, Track},    {100, A::Draw, 100, None},
    };
    for (const auto& c : cases)
        for (bool on : {true, false}) {
            TChartSettings settings;
            settings.trackSwitch = settings.lineSwitch = settings.symbolSwitch = 1;
            if (c.sw == Track) settings.trackSwitch = on;
            if (c.sw == Line) settings.lineSwitch = on;
            if (c.sw == Symbol) settings.symbolSwitch = on;
            const TUserObjectCode d = DecodeUserObjectCode(c.code, settings);
            EXPECT_EQ(d.action, c.action) << c.code;
            EXPECT_EQ(d.kind, c.kind) << c.code;
            const bool known = c.kind == 1 || c.kind == 2 || c.kind == 3 || c.kind == 5 ||
                               c.kind == 6 || c.kind == 7;
            EXPECT_EQ(d.walked, known && (on || c.sw == None)) << c.code << " switch " << on;
        }
}

TEST(UserObjectCodes, SwitchedOffKindsAndUnknownKindsDrawNothing) {
    Window f;
    ChartSettings().symbolSwitch = 0;
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    for (int code : {8, 9, 5})
        f.w->DrawUserObjectsOfKind(f.dc, code);
    EXPECT_EQ(f.take(), "");
    ChartSettings().symbolSwitch = 1;
    f.w->DrawUserObjectsOfKind(f.dc, 5); // symbols walked, but code 5 draws nothing
    EXPECT_EQ(f.take(), "");
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    EXPECT_NE(f.take(), "");
}

// ---------------------------------------------------------------------------
// Symbols

TEST(UserObjectSymbols, StripCellsAndLabelsAtTheirPoints) {
    Window f;
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    const std::string log = f.take();

    const ClientPoint named = f.client({-100, 200}), unnamed = f.client({100, 200});
    const ClientPoint slashed = f.client({-100, -250}), outOfCells = f.client({100, -250});
    // Symbol 7 in colour 3 with its text; symbol 19 without a name shows its time.
    EXPECT_TRUE(
        contains(log, StripBlits(named, 7, 3) + labelAt(named.x + 6, named.y, "Fiskeplass (+)", 3)))
        << log;
    EXPECT_TRUE(contains(log, StripBlits(unnamed, 19, 3) +
                                  labelAt(unnamed.x + 6, unnamed.y, "12/06-26 12:00", 3)))
        << log;
    // Symbols 116 and 123 and colours 0 and 7 have no cell: only the labels.
    // "/Bøye" loses its slash and stays at x.
    EXPECT_TRUE(contains(log, labelAt(slashed.x, slashed.y, "B\xF8ye", 7))) << log;
    EXPECT_TRUE(contains(log, labelAt(outOfCells.x + 6, outOfCells.y, "Grunne", 0))) << log;
    EXPECT_EQ(Lines(log, "Blit").size(), 4u);
    // The symbol outside the view is not drawn at all.
    EXPECT_FALSE(contains(log, "Langt unna"));
}

TEST(UserObjectSymbols, TheSlashRuleAndTheDeleteSymbolMode) {
    Window f;
    f.add(f.object(kKindSymbol, 30, {0, -100}, "/Merke", 2, 0, 3), {});
    const ClientPoint p = f.client({0, -100});
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    std::string log = f.take();
    EXPECT_FALSE(contains(log, "Blit and " + Box(p.x - 8, p.y - 8, 17, 17))) << log;
    EXPECT_TRUE(contains(log, labelAt(p.x, p.y, "Merke", 2))) << log;

    state().deleteSymbolMode = true; // every symbol shows, with its name as it stands
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    log = f.take();
    EXPECT_TRUE(contains(log, StripBlits(p, 3, 2) + labelAt(p.x + 6, p.y, "/Merke", 2))) << log;
}

TEST(UserObjectSymbols, LabelsNeedADetailWordAndTheirTimeSetting) {
    Window f;
    state().detailWord = 0;
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    std::string log = f.take();
    EXPECT_EQ(Lines(log, "Blit").size(), 4u);
    EXPECT_TRUE(Lines(log, "TextOut").empty());

    state().detailWord = 1;
    ChartSettings().symbolTime = 0; // the unnamed symbol's label goes
    f.w->DrawUserObjectsOfKind(f.dc, 105);
    log = f.take();
    EXPECT_EQ(Lines(log, "TextOut").size(), 3u);
    EXPECT_FALSE(contains(log, "12/06-26"));
}

TEST(UserObjectLabels, TimesTextsColoursAndTheScreen) {
    Window f;
    // A time label of an object with a text gets "+".
    f.store->CurrentIdRecord = {}; // the label looks at the id it is given
    f.w->DrawObjectLabel(f.dc, 300, 300, kNamed, 1, kStamp + 3600, "", true);
    EXPECT_EQ(f.take(), labelAt(306, 300, "12/06-26 13:00+", 1));
    // No text and no time flag, the top rows, off the screen: nothing.
    f.w->DrawObjectLabel(f.dc, 300, 300, kNamed, 1, kStamp, "", false);
    f.w->DrawObjectLabel(f.dc, 300, 2, 0, 1, kStamp, "Navn", false);
    f.w->DrawObjectLabel(f.dc, -1, 300, 0, 1, kStamp, "Navn", false);
    f.w->DrawObjectLabel(f.dc, 1921, 300, 0, 1, kStamp, "Navn", false);
    EXPECT_EQ(f.take(), "");
    // Point numbers (time 2) stand 11 pixels left.
    f.w->DrawObjectLabel(f.dc, 300, 3, 0, 1, 2, "4", false);
    EXPECT_EQ(f.take(), labelAt(295, 3, "4", 1));
    // From palette scheme 2 the frame takes the colour number's colour.
    state().illuminationLevel = 2;
    f.w->DrawObjectLabel(f.dc, 300, 300, 0, 5, 0, "Navn", false);
    const std::string log = f.take();
    EXPECT_TRUE(contains(log, "RoundRect pen=solid/0/" + colourText(PaletteColourByType(5, 2))));
    EXPECT_TRUE(contains(log, colourText(TextColourByType(5, 2)) + " " + Xy(308, 307)));
}

// ---------------------------------------------------------------------------
// Routes from the store and from the table

TEST(UserObjectRoutes, ArrowsSquaresAndNumbers) {
    Window f;
    state().detailWord = 2;
    f.w->DrawUserObject(f.dc, 2, kRoute);
    std::string log = f.take();
    const std::vector<ChartPoint> points = RoutePoints();
    std::vector<ClientPoint> p;
    for (const ChartPoint& c : points)
        p.push_back(f.client(c));
    const std::string pen = PenText(PaletteColourByType(2, 0));

    // Each leg, then its arrow at the midpoint (north, east, south, west).
    const struct {
        int leg;
        int ax, ay, bx, by; // the two strokes from the midpoint
    } arrows[] = {          // Truncated: 12 x cos 60 degrees comes to 5.99... on three strokes.
                  {0, 6, 10, -6, 10},
                  {1, -10, 5, -10, -5},
                  {2, -6, -10, 5, -10},
                  {3, 10, -6, 10, 5}};
    for (const auto& a : arrows) {
        const ClientPoint s = p[a.leg], e = p[a.leg + 1];
        const int mx = (s.x + e.x) / 2, my = (s.y + e.y) / 2;
        const std::string expected = "Polyline " + pen + " rop=copy " + Xy(s) + " " + Xy(e) +
                                     "\nPolyline " + pen + " rop=copy " + Xy(mx, my) + " " +
                                     Xy(mx + a.ax, my + a.ay) + "\nPolyline " + pen + " rop=copy " +
                                     Xy(mx, my) + " " + Xy(mx + a.bx, my + a.by) + "\n";
        EXPECT_TRUE(contains(log, expected)) << "leg " << a.leg << "\n" << log;
    }
    // 6 x 6 squares at every point, 12 x 12 also at the batch's last; no
    // corridors with the alarm off, no numbers below detail word 3.
    const auto squares = Lines(log, "Rectangle");
    ASSERT_EQ(squares.size(), 6u);
    for (std::size_t k = 0; k < p.size(); ++k)
        EXPECT_TRUE(contains(squares[k], Box(p[k].x - 3, p[k].y - 3, p[k].x + 3, p[k].y + 3)));
    EXPECT_TRUE(contains(squares[5], Box(p[4].x - 6, p[4].y - 6, p[4].x + 6, p[4].y + 6)));
    EXPECT_TRUE(contains(squares[0], "brush=null"));
    EXPECT_EQ(Lines(log, "Polyline").size(), 12u);
    EXPECT_TRUE(Lines(log, "TextOut").empty());

    state().detailWord = 3;
    f.w->DrawUserObject(f.dc, 2, kRoute);
    log = f.take();
    const auto numbers = Lines(log, "TextOut");
    ASSERT_EQ(numbers.size(), 5u);
    for (std::size_t k = 0; k < p.size(); ++k)
        EXPECT_TRUE(contains(numbers[k], Xy(p[k].x - 3, p[k].y + 7) + " align=left,bottom text=\"" +
                                             std::to_string(k + 1) + "\""))
            << numbers[k];
}

// The table filled from route 3 in stored order.
void fillForward(Window& f) {
    TChartWindowState& s = state();
    s.activeRouteId = kRoute;
    s.routeTableFill = 1;
    s.forwardFlag = 1;
    f.w->DrawUserObject(f.dc, 2, kRoute);
    f.take();
}

TEST(UserObjectRoutes, CorridorsByTheAlarmSetting) {
    Window f;
    fillForward(f);
    state().routeState = 1;
    state().destinationIndex = 2;
    const std::string corridorPen = PenText(f.w->pens[int(TMapPen::Fine)].colour);
    const std::vector<ClientPoint> p = [&] {
        std::vector<ClientPoint> v;
        for (const ChartPoint& c : RoutePoints())
            v.push_back(f.client(c));
        return v;
    }();
    // Leg k's corridor: its limit (that of the point it ends at) x 0.01 x
    // pixels per mile, across the leg: the north leg (limit 10) 46 pixels to
    // either side, the east leg (20) 93 up and down.
    const double perMile = state().pixelsPerNm;
    ASSERT_EQ(int(perMile * 10 * 0.01), 46);
    ASSERT_EQ(int(perMile * 20 * 0.01), 93);
    const std::string north = "Polyline " + corridorPen + " rop=copy " + Xy(p[0].x + 46, p[0].y) +
                              " " + Xy(p[1].x + 46, p[1].y) + "\nPolyline " + corridorPen +
                              " rop=copy " + Xy(p[0].x - 46, p[0].y) + " " +
                              Xy(p[1].x - 46, p[1].y);
    const std::string east = "Polyline " + corridorPen + " rop=copy " + Xy(p[1].x, p[1].y + 93) +
                             " " + Xy(p[2].x, p[2].y + 93) + "\nPolyline " + corridorPen +
                             " rop=copy " + Xy(p[1].x, p[1].y - 93) + " " + Xy(p[2].x, p[2].y - 93);
    const struct {
        int alarm;
        std::size_t corridorLines;
        bool northLeg, eastLeg;
    } cases[] = {{0, 0, false, false}, {1, 2, false, true}, {2, 8, true, true}};
    for (const auto& c : cases) {
        ChartSettings().crossTrackAlarmSwitch = std::uint8_t(c.alarm);
        f.w->DrawActiveRouteFromTable(f.dc);
        const std::string log = f.take();
        EXPECT_EQ(Lines(log, "Polyline " + corridorPen).size(), c.corridorLines) << c.alarm;
        EXPECT_EQ(contains(log, north), c.northLeg) << c.alarm << "\n" << log;
        EXPECT_EQ(contains(log, east), c.eastLeg) << c.alarm << "\n" << log;
        // Every leg has its arrow, with or without its corridor.
        EXPECT_EQ(Lines(log, "Polyline").size(), 12u + c.corridorLines) << c.alarm;
    }
}

TEST(UserObjectRoutes, TheTableWithTheMarkedPointAndItsColours) {
    Window f;
    fillForward(f);
    TChartWindowState& s = state();
    s.routeState = 1;
    s.markedRoutePoint = 2;
    f.w->DrawActiveRouteFromTable(f.dc);
    std::string log = f.take();
    const RoutePoint& m = s.routePoints[2];
    const auto frames = Lines(log, "Rectangle");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(contains(frames[0], Box(m.x - 7, m.y - 8, m.x + 7, m.y + 9)));
    EXPECT_EQ(Lines(log, "TextOut").size(), 5u);
    EXPECT_EQ(Lines(log, "Polyline " + PenText(PaletteColourByType(2, 0))).size(), 12u);

    // Being placed or edited it is drawn in colour 1.
    s.routeState = 2;
    s.detailWord = 2;
    f.w->DrawActiveRouteFromTable(f.dc);
    log = f.take();
    EXPECT_EQ(Lines(log, "Polyline " + PenText(PaletteColourByType(1, 0))).size(), 12u);
    EXPECT_TRUE(Lines(log, "TextOut").empty());
}

TEST(UserObjectRoutes, AnEditedRouteUsesTheEditPenWithItsCorridors) {
    Window f;
    fillForward(f);
    state().routeState = 3;
    state().routePoints[0].crossTrackLimit = 0;
    ChartSettings().crossTrackAlarmSwitch = 2;
    f.w->DrawActiveRouteFromTable(f.dc);
    const std::string log = f.take();
    const std::string edit = PenText(f.w->pens[int(TMapPen::Entry2Width0)].colour);
    EXPECT_EQ(Lines(log, "Polyline " + edit).size(), 12u);
    // Every leg has its corridor while edited, the first (no limit) on the leg itself.
    const std::string fine = "Polyline " + PenText(f.w->pens[int(TMapPen::Fine)].colour);
    const auto corridors = Lines(log, fine);
    ASSERT_EQ(corridors.size(), 8u);
    const RoutePoint& a = state().routePoints[0];
    const RoutePoint& b = state().routePoints[1];
    EXPECT_EQ(corridors[0], fine + " rop=copy " + Xy(a.x, a.y) + " " + Xy(b.x, b.y));
}

// ---------------------------------------------------------------------------
// Tracks

TEST(UserObjectTracks, TheLineRunsOnAcrossBatchesFromItsStartMark) {
    Window f;
    state().shownTrackId = kTrack;
    state().shownTrackColour = 3;
    f.w->DrawUserObject(f.dc, 1, kTrack);
    const std::string log = f.take();
    const std::vector<ChartPoint> points = TrackPoints();
    const ClientPoint first = f.client(points[0]);
    EXPECT_EQ(log.rfind(StripBlits({first.x, first.y - 6}, 15, 3), 0), 0u) << log.substr(0, 200);

    const auto lines = Lines(log, "Polyline");
    ASSERT_EQ(lines.size(), 3u); // one per batch, each from the last point of the one before
    const std::string pen = PenText(PaletteColourByType(3, 0));
    for (std::size_t b = 0; b < 3; ++b) {
        std::string expected = "Polyline " + pen + " rop=copy";
        for (std::size_t k = b == 0 ? 0 : 500 * b - 1;
             k < std::min<std::size_t>(500 * (b + 1), 1200); ++k)
            expected += " " + Xy(f.client(points[k]));
        EXPECT_EQ(lines[b], expected) << "batch " << b;
    }
}

TEST(UserObjectTracks, TheWindowKeepsItsEdgesAndSplitsWhereAPointIsDropped) {
    Window f;
    const struct {
        ChartPoint at;
        bool kept;
    } cases[] = {{{-1000, 0}, true}, {{2000, 0}, true}, {{-1001, 0}, false}, {{2001, 0}, false},
                 {{0, -1000}, true}, {{0, 1800}, true}, {{0, -1001}, false}, {{0, 1801}, false}};
    std::int32_t id = 100;
    for (const auto& c : cases) {
        f.add(f.object(kKindTrack, id, c.at), {{0, 0}, c.at, {10, 10}});
        f.w->DrawUserObject(f.dc, 1, id++);
        const auto lines = Lines(f.take(), "Polyline");
        if (c.kept) {
            ASSERT_EQ(lines.size(), 1u) << c.at.x << "," << c.at.y;
            EXPECT_TRUE(contains(lines[0], " " + Xy(f.client(c.at)) + " ")) << lines[0];
        } else {
            EXPECT_TRUE(lines.empty()) << c.at.x << "," << c.at.y; // two runs of one point
        }
    }
    // A dropped point in the middle: two lines, no leg across it.
    f.add(f.object(kKindTrack, id, {0, 0}), {{0, 0}, {10, 0}, {-1001, 5}, {20, 0}, {30, 0}});
    f.w->DrawUserObject(f.dc, 1, id);
    const auto lines = Lines(f.take(), "Polyline");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(contains(lines[0], Xy(f.client({0, 0})) + " " + Xy(f.client({10, 0}))));
    EXPECT_TRUE(contains(lines[1], Xy(f.client({20, 0})) + " " + Xy(f.client({30, 0}))));
}

TEST(UserObjectTracks, TheSwitchTheRecordedRouteAndTheTrackRing) {
    Window f;
    ChartSettings().trackSwitch = 0;
    f.w->DrawUserObject(f.dc, 1, kShortTrack);
    EXPECT_EQ(f.take(), "");
    ChartSettings().trackSwitch = 1;

    // The route being recorded: in the track colour setting, its newest point
    // in degrees into the first ring entry.
    state().recordedRouteId = kShortTrack;
    f.w->DrawUserObject(f.dc, 1, kShortTrack);
    const std::string log = f.take();
    EXPECT_EQ(Lines(log, "Polyline " + PenText(PaletteColourByType(ChartSettings().trackColour, 0)))
                  .size(),
              1u);
    std::unique_ptr<Map> map(ViewMap());
    const StoreUnits last = StoreUnitsAt(*map, ShortTrackPoints().back());
    EXPECT_DOUBLE_EQ(state().trackRing[0].lon, last.longitude / 600000.0);
    EXPECT_DOUBLE_EQ(state().trackRing[0].lat, last.latitude / 600000.0);
}

// ---------------------------------------------------------------------------
// The route table's fill

struct Leg {
    float length, course;
};
Leg ipc(Map& map, const ChartPoint& a, const ChartPoint& b) {
    const auto geo = [&](const ChartPoint& c) {
        const StoreUnits u = StoreUnitsAt(map, c);
        return GeoPoint{StoreUnitsToBinaryAngle(u.longitude), StoreUnitsToBinaryAngle(u.latitude)};
    };
    double d = 0, c = 0;
    IPC(geo(a), geo(b), d, c);
    return {float(d), float(c * 180 / std::numbers::pi)};
}

TEST(UserObjectRouteTable, ForwardAndReversedWithTheirLimits) {
    std::unique_ptr<Map> map(ViewMap());
    const std::vector<ChartPoint> points = RoutePoints();
    const std::vector<std::uint16_t> limits = RouteLimits();
    for (bool forward : {true, false}) {
        Window f;
        TChartWindowState& s = state();
        s.activeRouteId = kRoute;
        s.routeTableFill = 1;
        s.forwardFlag = forward;
        f.w->DrawUserObject(f.dc, 2, kRoute);
        ASSERT_EQ(s.routePointCount, 5) << forward;
        EXPECT_EQ(s.routeTableFill, 0);
        double total = 0;
        for (int k = 0; k < 5; ++k) {
            // Travel order: forward the stored order, reversed from the last.
            const int stored = forward ? k : 4 - k;
            const RoutePoint& r = s.routePoints[std::size_t(k)];
            const StoreUnits u = StoreUnitsAt(*map, points[std::size_t(stored)]);
            EXPECT_EQ(r.lon, StoreUnitsToBinaryAngle(u.longitude)) << k;
            EXPECT_EQ(r.lat, StoreUnitsToBinaryAngle(u.latitude)) << k;
            EXPECT_EQ((ClientPoint{r.x, r.y}), f.client(points[std::size_t(stored)])) << k;
            if (k == 4) {
                EXPECT_EQ(r.legLength, 0);
                EXPECT_EQ(r.crossTrackLimit, 0);
                continue;
            }
            const int next = forward ? k + 1 : 3 - k;
            const Leg leg = ipc(*map, points[std::size_t(stored)], points[std::size_t(next)]);
            EXPECT_FLOAT_EQ(r.legLength, leg.length) << k;
            EXPECT_FLOAT_EQ(r.legCourse, leg.course) << k;
            // The limit stored at a point is that of the leg ending there.
            EXPECT_EQ(r.crossTrackLimit, limits[std::size_t(forward ? next : stored)]) << k;
            total += leg.length;
        }
        EXPECT_NEAR(s.routeTotal, total, 1e-5);
        // Forward legs 0 to 3 run north, east, south and west.
        if (forward)
            for (int k = 0; k < 4; ++k) {
                const double off =
                    std::remainder(s.routePoints[std::size_t(k)].legCourse - 90 * k, 360);
                EXPECT_NEAR(off, 0, 0.5) << k;
            }
    }
}

TEST(UserObjectRouteTable, AnAppendedRouteJoinsWithoutALimitAndStopsAtFiveHundred) {
    Window f;
    fillForward(f);
    TChartWindowState& s = state();
    s.routePoints[4].crossTrackLimit = 77; // whatever the last record held
    const double firstTotal = s.routeTotal;
    s.activeRouteId = kLongRoute;
    s.routeExtension = 1;
    s.routeTableFill = 1;
    s.forwardFlag = 1;
    f.w->DrawUserObject(f.dc, 2, kLongRoute);
    ASSERT_EQ(s.routePointCount, kRoutePointMax); // 5 + 495; the other 4 have no room
    std::unique_ptr<Map> map(ViewMap());
    const std::vector<ChartPoint> second = LongRoutePoints();
    EXPECT_EQ((ClientPoint{s.routePoints[5].x, s.routePoints[5].y}), f.client(second[0]));
    EXPECT_EQ((ClientPoint{s.routePoints[499].x, s.routePoints[499].y}), f.client(second[494]));
    // The joining leg: from route 3's last point to the new first, no limit.
    const Leg join = ipc(*map, RoutePoints().back(), second[0]);
    EXPECT_EQ(s.routePoints[4].crossTrackLimit, 0);
    EXPECT_FLOAT_EQ(s.routePoints[4].legLength, join.length);
    EXPECT_FLOAT_EQ(s.routePoints[4].legCourse, join.course);
    EXPECT_GT(s.routeTotal, firstTotal + join.length);
    EXPECT_EQ(s.destinationIndex, 0); // the field after the table is untouched
}

// ---------------------------------------------------------------------------
// Upkeep of the point count and length

TEST(UserObjectUpkeep, DrawingTheRoutesMendsTheirRecords) {
    Window f;
    f.w->DrawUserObjectsOfKind(f.dc, 2);
    EXPECT_FALSE(Window::stored(kOnePoint)); // fewer than two points
    EXPECT_FALSE(Window::stored(kNoPoints));
    EXPECT_EQ(Window::storedPoints(kOnePoint), 0);
    // Count and length of 0 are worked out from the points.
    const auto longRoute = Window::stored(kLongRoute);
    ASSERT_TRUE(longRoute);
    EXPECT_EQ(longRoute->pointCount, 499);
    std::unique_ptr<Map> map(ViewMap());
    double sum = 0;
    const std::vector<ChartPoint> points = LongRoutePoints();
    for (std::size_t k = 1; k < points.size(); ++k) {
        double d = 0, c = 0;
        const auto geo = [&](const ChartPoint& p) {
            const StoreUnits u = StoreUnitsAt(*map, p);
            return GeoPoint{StoreUnitsToBinaryAngle(u.longitude),
                            StoreUnitsToBinaryAngle(u.latitude)};
        };
        IPC(geo(points[k - 1]), geo(points[k]), d, c);
        sum += d;
    }
    EXPECT_EQ(longRoute->length, int(sum * 10));
    EXPECT_EQ(longRoute->name, "Lang rute");
    // A route whose record agrees with its points is left as it is.
    EXPECT_EQ(Window::stored(kRoute)->length, 3);
    // Drawn for choosing: the next click picks.
    EXPECT_EQ(state().pendingGrab, 2);
    EXPECT_EQ(state().cursorRequest, 3);
}

TEST(UserObjectUpkeep, TheRouteBeingPlacedSurvivesAndLengthsSaturate) {
    Window f;
    TChartWindowState& s = state();
    s.routeState = 2;
    s.activeRouteId = kOnePoint;
    // Two points on the equator 120 degrees (7200 nautical miles) apart.
    std::unique_ptr<Map> map(ViewMap());
    IdRecord far = f.object(kKindRoute, 40, {0, 0}, "Langt", 2, 0, 2);
    far.latitude = 0, far.longitude = 0;
    f.store->CurrentIdRecord = far;
    ASSERT_EQ(isam::ADDREC(kIdFileNumber, far.Encode().data()), 0);
    for (std::uint16_t n : {1, 2}) {
        PointRecord p;
        p.id = 40;
        p.number = n;
        p.longitude = n == 1 ? 0 : 120 * 600000;
        f.store->CurrentPointRecord = p;
        ASSERT_EQ(f.store->WritePointRecord(), 0);
    }
    f.w->DrawUserObjectsOfKind(f.dc, 2);
    EXPECT_TRUE(Window::stored(kOnePoint));
    EXPECT_FALSE(Window::stored(kNoPoints));
    EXPECT_EQ(Window::stored(40)->length, 65535);
    EXPECT_EQ(Window::stored(40)->pointCount, 2);
}

// ---------------------------------------------------------------------------
// Leg geometry

TEST(UserObjectLegs, DirectionsLengthsAndTruncatedOffsets) {
    Window f;
    state().pixelsPerNm = 100;
    const struct {
        int x2, y2;
        double direction;
        int dx, dy; // limit 7: r = 7 pixels
    } cases[] = {{100, 50, 360, 7, 0},  {150, 100, 90, 0, 7}, {100, 150, 180, -7, 0},
                 {50, 100, 270, 0, -7}, {150, 50, 45, 4, 4},  {50, 150, 225, -4, -4}};
    for (const auto& c : cases) {
        f.w->corridorDx = f.w->corridorDy = 99;
        f.w->ComputeLegGeometry(100, 100, c.x2, c.y2, true, 7);
        EXPECT_NEAR(f.w->legDirection, c.direction, 1e-9) << c.x2 << "," << c.y2;
        EXPECT_DOUBLE_EQ(f.w->legLength, std::hypot(c.x2 - 100, c.y2 - 100) / 100);
        EXPECT_EQ(f.w->corridorDx, c.dx) << c.direction;
        EXPECT_EQ(f.w->corridorDy, c.dy) << c.direction;
    }
    // Without a corridor the offsets stay; equal points give 0; a leg from
    // (0, 0) or without a scale changes nothing.
    f.w->ComputeLegGeometry(100, 100, 100, 50, false, 7);
    EXPECT_EQ(f.w->corridorDx, -4);
    f.w->ComputeLegGeometry(100, 100, 100, 100, true, 7);
    EXPECT_EQ(f.w->legLength, 0);
    EXPECT_EQ(f.w->legDirection, 0);
    f.w->ComputeLegGeometry(100, 100, 150, 100, false, 7);
    f.w->ComputeLegGeometry(0, 0, 100, 0, true, 7);
    EXPECT_DOUBLE_EQ(f.w->legLength, 0.5);
    EXPECT_EQ(f.w->corridorDx, -4);
    state().pixelsPerNm = 0;
    f.w->ComputeLegGeometry(10, 10, 100, 0, true, 7);
    EXPECT_DOUBLE_EQ(f.w->legLength, 0.5);
    EXPECT_DOUBLE_EQ(f.w->legDirection, 90);
}

// ---------------------------------------------------------------------------
// Picks

TEST(UserObjectPicks, PointsLegsAndTheTableByDistance) {
    Window f;
    const auto p = [&](int k) { return f.client(RoutePoints()[std::size_t(k)]); };
    const ClientPoint p1 = p(0), p2 = p(1), p4 = p(3), p5 = p(4);
    const ClientPoint northMid{p1.x, (p1.y + p2.y) / 2}, westMid{(p4.x + p5.x) / 2, p4.y};
    const struct {
        const char* name;
        ClientPoint click;
        bool hit;
        int index; // the picked point, or a leg's start
        bool point;
    } cases[] = {
        {"6 north of point 2", {p2.x, p2.y - 6}, true, 1, true},
        {"6 diagonally from point 2", {p2.x - 6, p2.y - 6}, true, 1, true},
        {"7 north of point 2", {p2.x, p2.y - 7}, false, 0, false},
        {"north leg at 6", {northMid.x + 6, northMid.y}, true, 0, false},
        {"north leg at 7", {northMid.x + 7, northMid.y}, false, 0, false},
        {"beyond the north leg's end", {p2.x, p2.y - 10}, false, 0, false},
        {"0.395 rad off the north leg", {p1.x + 5, p1.y - 12}, true, 0, false},
        {"0.405 rad off the north leg", {p1.x + 6, p1.y - 14}, false, 0, false},
        {"west leg at 5 on the side of -pi", {westMid.x, westMid.y - 5}, true, 3, false},
        {"west leg at 5 on the side of pi", {westMid.x, westMid.y + 5}, true, 3, false},
    };
    for (const auto& c : cases) {
        TChartWindowState& s = state();
        s.activeRouteId = 0;
        s.pickedFlag = 0;
        s.pickedIndex = -1;
        f.clickAt(c.click);
        f.w->DrawUserObject(f.dc, 202, kRoute);
        EXPECT_EQ(s.activeRouteId, c.hit ? kRoute : 0) << c.name;
        if (!c.hit) continue;
        EXPECT_EQ(s.pickedIndex, c.index) << c.name;
        EXPECT_EQ(s.pickedPointNumber, c.index + 1) << c.name;
        EXPECT_EQ(s.pickedFlag, c.point ? 1 : 0) << c.name;
        EXPECT_EQ(s.routeName1, "Indre led") << c.name;
    }
    EXPECT_EQ(f.take(), ""); // picks draw nothing

    // The table's points need less than 6 in x and in y.
    fillForward(f);
    EXPECT_EQ(f.w->HitRouteTablePoint(p(2).x + 5, p(2).y - 5), 1);
    EXPECT_EQ(state().pickedPointNumber, 3);
    EXPECT_EQ(f.w->HitRouteTablePoint(p(2).x + 6, p(2).y), 0);
    EXPECT_EQ(f.w->HitRouteTablePoint(p(2).x, p(2).y + 6), 0);
}

TEST(UserObjectPicks, TheNearerOfTwoRoutesWins) {
    Window f;
    // Route 41 comes after route 3 in key order; its point lies 2 pixels from
    // the click, route 3's nearest 8.
    const ClientPoint p3 = f.client(RoutePoints()[2]);
    f.add(f.object(kKindRoute, 41, {60, 140}, "Ytre led", 2, 5, 2), {{8, 110}, {60, 140}});
    const ClientPoint click{p3.x + 8 + 2, p3.y - 10 + 2};
    ASSERT_EQ(f.client({8, 110}), (ClientPoint{p3.x + 8, p3.y - 10}));
    f.clickAt(click);
    f.w->DrawUserObjectsOfKind(f.dc, 202);
    EXPECT_EQ(state().activeRouteId, 41);
    EXPECT_EQ(state().pickedIndex, 0);
    EXPECT_EQ(state().routeName1, "Ytre led");
    EXPECT_EQ(state().pickedFlag, 1);
}

TEST(UserObjectPicks, ForEditingAcrossBatchesAndOnTheActiveRoute) {
    Window f;
    TChartWindowState& s = state();
    const std::vector<ChartPoint> track = TrackPoints();
    // Point 701 of the track (index 700, in the second batch), then the leg
    // from point 900 back across to the start of the fourth row.
    f.clickAt(f.client(track[700]));
    f.w->DrawUserObject(f.dc, 401, kTrack);
    EXPECT_EQ(s.pickedIndex, 700);
    EXPECT_EQ(s.pickedPointNumber, 701);
    EXPECT_EQ(s.pickedFlag, 1);
    EXPECT_EQ(s.editedObject.id, kTrack);
    EXPECT_EQ(s.editedObject.name, "Tur");
    const ChartPoint a = track[899], b = track[900];
    f.clickAt(f.client({(a.x + b.x) / 2, (a.y + b.y) / 2}));
    s.pickedFlag = 0;
    f.w->DrawUserObject(f.dc, 401, kTrack);
    EXPECT_EQ(s.pickedIndex, 899);
    EXPECT_EQ(s.pickedPointNumber, 900);
    EXPECT_EQ(s.pickedFlag, 1); // 4xx: anything

    // 402 tests only the active route: a click on route 6 finds nothing.
    s.activeRouteId = kRoute;
    s.editedObject = {};
    f.clickAt(f.client(LongRoutePoints()[10]));
    f.w->DrawUserObjectsOfKind(f.dc, 402);
    EXPECT_EQ(s.pickedFlag, 0);
    EXPECT_EQ(s.editedObject.id, 0);
    // Its leg from point 4 to 5 (index 3).
    const ClientPoint west{(f.client(RoutePoints()[3]).x + f.client(RoutePoints()[4]).x) / 2,
                           f.client(RoutePoints()[3]).y + 3};
    f.clickAt(west);
    f.w->DrawUserObjectsOfKind(f.dc, 402);
    EXPECT_EQ(s.pickedFlag, 1);
    EXPECT_EQ(s.pickedIndex, 3);
    EXPECT_EQ(s.pickedPointNumber, 4);
    EXPECT_EQ(s.editedObject.id, kRoute);
}

TEST(UserObjectPicks, WhileExtendingOnlyPointsOfTheTableCount) {
    Window f;
    fillForward(f);
    TChartWindowState& s = state();
    s.routeExtension = 1;
    s.activeRouteId = kRoute;
    // Route 6's points are not in the table: its point is refused.
    f.clickAt(f.client(LongRoutePoints()[0]));
    f.w->DrawUserObjectsOfKind(f.dc, 402);
    EXPECT_EQ(s.pickedFlag, 0);
    EXPECT_EQ(s.editedObject.id, 0);
}

TEST(UserObjectPicks, WhileExtendingAPointOfTheTableKeepsItsStoredNumber) {
    Window f;
    TChartWindowState& s = state();
    s.activeRouteId = kRoute;
    s.routeTableFill = 1;
    s.forwardFlag = 0; // point 4 is table point 1
    f.w->DrawUserObject(f.dc, 2, kRoute);
    ASSERT_EQ(s.routePoints[1].x, f.client(RoutePoints()[3]).x);
    s.routeExtension = 1;
    f.clickAt(f.client(RoutePoints()[3]));
    f.w->DrawUserObjectsOfKind(f.dc, 402);
    EXPECT_EQ(s.pickedFlag, 1);
    EXPECT_EQ(s.editedObject.id, kRoute);
    EXPECT_EQ(s.pickedIndex, 3);
    EXPECT_EQ(s.pickedPointNumber, 4);
}

TEST(UserObjectPicks, TheInformationModeKeepsThePassGoing) {
    Window f;
    fillForward(f);
    TChartWindowState& s = state();
    s.routeState = 1; // the active route is drawn from the table
    f.clickAt(f.client(RoutePoints()[1]));
    f.w->DrawUserObjectsOfKind(f.dc, 402);
    EXPECT_EQ(s.pickedFlag, 0);
    EXPECT_NE(f.take(), "");

    s.informationMode = true;
    f.w->DrawUserObjectsOfKind(f.dc, 402);
    const std::string table = f.take(); // the table is drawn, and the stored points are tested
    EXPECT_NE(table, "");
    EXPECT_EQ(s.pickedFlag, 1);
    EXPECT_EQ(s.pickedPointNumber, 2);
    EXPECT_EQ(s.editedObject.id, kRoute);
    // Drawing it still draws only the table.
    f.w->DrawUserObject(f.dc, 2, kRoute);
    EXPECT_EQ(f.take(), table);

    // On a symbol (405), with the record for its dialog.
    s.pickedFlag = 0;
    const ClientPoint named = f.client(Symbols()[0].at);
    f.clickAt({named.x - 6, named.y + 6});
    f.w->DrawUserObjectsOfKind(f.dc, 405);
    EXPECT_EQ(s.pickedFlag, 1);
    EXPECT_EQ(s.editedObject.name, "Fiskeplass");
    f.clickAt({named.x - 7, named.y});
    f.w->DrawUserObjectsOfKind(f.dc, 405);
    EXPECT_EQ(s.pickedFlag, 0);
}

TEST(UserObjectPicks, TracksAndLinesBecomeShownAndEdited) {
    Window f;
    TChartWindowState& s = state();
    f.clickAt(f.client(ShortTrackPoints()[2]));
    f.w->DrawUserObject(f.dc, 201, kShortTrack);
    EXPECT_EQ(s.shownTrackId, kShortTrack);
    EXPECT_EQ(s.shownTrackColour, 5);
    f.clickAt(f.client(LinePoints()[1]));
    f.w->DrawUserObject(f.dc, 203, kLine);
    EXPECT_EQ(s.editedLineId, kLine);
    EXPECT_EQ(s.editedLineColour, 3);
    EXPECT_EQ(s.pickedIndex, 1);
    EXPECT_EQ(s.pickedFlag, 1);

    // Being edited, the line is drawn with the edit pen and labelled "( ! ! )",
    // and its kept points are noted.
    s.lineState = 3;
    f.w->DrawUserObject(f.dc, 3, kLine);
    const std::string log = f.take();
    EXPECT_EQ(
        Lines(log, "Polyline " + PenText(f.w->pens[int(TMapPen::Entry2Width0)].colour)).size(), 1u);
    EXPECT_TRUE(contains(log, "text=\"( ! ! )\""));
    ASSERT_EQ(f.w->linePoints.size(), 3u);
    EXPECT_EQ(f.w->linePoints[2], f.client(LinePoints()[2]));
    // Otherwise with its name and colour.
    s.lineState = 0;
    s.editedLineId = 0;
    f.w->DrawUserObject(f.dc, 3, kLine);
    const ClientPoint first = f.client(LinePoints()[0]);
    EXPECT_TRUE(contains(f.take(), labelAt(first.x + 6, first.y, "Kabel", 3)));
}

// ---------------------------------------------------------------------------
// Deletion

TEST(UserObjectDeletion, ASymbolGoesWithItsTextAndIsMarkedOnBothPictures) {
    Window f;
    TChartWindowState& s = state();
    ASSERT_TRUE(f.w->memPicture1);
    const ClientPoint p = f.client(Symbols()[0].at);
    f.w->memPicture1->setPixel(p.x, p.y, gdi::kWhite);
    f.clickAt({p.x + 6, p.y - 6});
    f.w->DrawUserObjectsOfKind(f.dc, 305);
    EXPECT_FALSE(Window::stored(kNamed));
    EXPECT_NE(isam::EQLKEY(kInfoKey, InfoKey(kNamed, 0).data()), 0);
    EXPECT_EQ(s.storeChanged, 1);
    EXPECT_EQ(f.take(), StripBlits(p, 19, 6));
    // The chart picture got the mark too: the cross's middle in colour 6.
    EXPECT_EQ(f.w->memPicture1->getPixel(p.x, p.y), f.w->memPicture1->resolve(gdi::kBlack));
    EXPECT_TRUE(Window::stored(kUnnamed));
}

TEST(UserObjectDeletion, TracksAndLinesGoWithTheirPoints) {
    const struct {
        int type, detailWord;
        std::int32_t id;
        ChartPoint at;
        bool redraw;
    } cases[] = {{301, 5, kShortTrack, ShortTrackPoints()[1], true},
                 {301, 3, kShortTrack, ShortTrackPoints()[1], false},
                 {303, 4, kLine, LinePoints()[2], true}};
    for (const auto& c : cases) {
        Window f;
        state().detailWord = c.detailWord;
        const ClientPoint click = f.client(c.at);
        f.clickAt(click);
        f.w->DrawUserObject(f.dc, c.type, c.id);
        EXPECT_FALSE(Window::stored(c.id)) << c.type;
        EXPECT_EQ(Window::storedPoints(c.id), 0) << c.type;
        EXPECT_EQ(state().redrawRequest, c.redraw ? 1 : 0) << c.type;
        EXPECT_EQ(f.take(), c.redraw ? "" : StripBlits(click, 19, 6)) << c.type;
    }
}

// ---------------------------------------------------------------------------
// The chooser list

TEST(UserObjectList, OnlyNamedRoutesWithTheirLengths) {
    Window f;
    TChartWindowState& s = state();
    s.listMode = 2;
    auto* list = new TListDlg(f.w);
    f.w->listDlg = list;
    ASSERT_TRUE(list->Create());
    s.listKind = 2;
    f.w->DrawUserObjectsOfKind(f.dc, 202);
    EXPECT_EQ(f.take(), ""); // nothing drawn or picked
    EXPECT_EQ(s.listKind, 0);
    EXPECT_EQ(s.activeRouteId, 0);
    EXPECT_EQ(s.pendingGrab, 0);
    auto* combo = dynamic_cast<ui::TComboBox*>(ui::GetWindowPtr(list->GetDlgItem(kListCombo)));
    ASSERT_TRUE(combo);
    std::vector<std::pair<std::string, long>> items;
    for (int i = 0; i < combo->GetCount(); ++i) {
        char text[64] = {};
        combo->GetString(text, sizeof text, i);
        items.emplace_back(text, long(combo->GetItemData(i)));
    }
    const std::vector<std::pair<std::string, long>> expected{{"Indre led  (0.3)", kRoute},
                                                             {"Tom rute  (0.0)", kNoPoints},
                                                             {"Lang rute  (0.0)", kLongRoute}};
    EXPECT_EQ(items, expected);
    EXPECT_TRUE(Window::stored(kOnePoint)); // no upkeep either
}

// ---------------------------------------------------------------------------
// Refused batches

TEST(UserObjectBatches, ACountBeyondTheBufferReadsNothing) {
    for (std::uint32_t count : {3u, 501u, 4000000000u}) {
        Window f;
        int calls = 0;
        ChartWindowCalls().batchRead = [&](int key, isam::BatchRequest* request, void* buffer,
                                           std::size_t size, int mode) {
            ++calls;
            if (mode != isam::kBatchStart) return isam::BATSET(key, request, buffer, size, mode);
            const int e = isam::BATSET(key, request, buffer, size, mode);
            request->returned = count; // route 3 has 5 in the buffer
            return e;
        };
        TChartWindowState& s = state();
        s.activeRouteId = kRoute;
        s.routeTableFill = 1;
        f.w->DrawUserObject(f.dc, 2, kRoute);
        EXPECT_EQ(s.routePointCount, count == 3 ? 3 : 0) << count;
        EXPECT_EQ(Lines(f.take(), "Rectangle").size(), count == 3 ? 4u : 0u) << count;
        EXPECT_EQ(calls, 2) << count; // the start, and the end
        ChartWindowCalls().batchRead = nullptr;
    }
}

// ---------------------------------------------------------------------------
// The overlays' store calls, through the real passes

// What the user-object overlay drew, by the marks each pass leaves.
struct Drawn {
    bool symbols = false;     // 105: symbol 10's cell
    bool storedRoute = false; // route 3 from the store: a square at its first point
    bool tableRoute = false;  // route 3's first leg without the squares: the table
    bool routeSet = false;    // route 6, drawn only with the routes for choosing
    bool shownTrack = false;  // the short track's first leg
    bool operator==(const Drawn&) const = default;
};
void PrintTo(const Drawn& d, std::ostream* os) {
    *os << "{symbols " << d.symbols << ", stored route " << d.storedRoute << ", table route "
        << d.tableRoute << ", route set " << d.routeSet << ", shown track " << d.shownTrack << "}";
}

Drawn drawnBy(const Window& f, const std::string& log) {
    const ClientPoint r1 = f.client(RoutePoints()[0]), r2 = f.client(RoutePoints()[1]);
    const ClientPoint l1 = f.client(LongRoutePoints()[0]);
    const ClientPoint t1 = f.client(ShortTrackPoints()[0]), t2 = f.client(ShortTrackPoints()[1]);
    Drawn d;
    d.symbols = contains(log, StripBlits(f.client(Symbols()[0].at), 7, 3));
    d.storedRoute = contains(log, Box(r1.x - 3, r1.y - 3, r1.x + 3, r1.y + 3));
    d.tableRoute = !d.storedRoute && contains(log, " rop=copy " + Xy(r1) + " " + Xy(r2) + "\n");
    d.routeSet = contains(log, Box(l1.x - 3, l1.y - 3, l1.x + 3, l1.y + 3));
    d.shownTrack = contains(log, " " + Xy(t1) + " " + Xy(t2));
    return d;
}

TEST(UserObjectOverlay, TheStoreCallsByRouteStateReachTheRealPasses) {
    Window f;
    TChartWindowState& s = state();
    const struct {
        const char* name;
        int routeState;
        std::int32_t activeId, shownTrack;
        std::uint8_t fill;
        Drawn drawn;
    } cases[] = {
        {"nothing chosen", 0, 0, 0, 0, {true, false, false, false, false}},
        {"a route being chosen (command 97)", 0, 0, 0, 1, {true, true, false, true, false}},
        {"a route picked, not yet followed", 0, kRoute, 0, 1, {true, true, false, false, false}},
        {"the active route", 1, kRoute, 0, 0, {true, false, true, false, false}},
        {"with a shown track", 1, kRoute, kShortTrack, 0, {true, false, true, false, true}},
        {"a new route before its first point", 2, 0, 0, 1, {true, false, false, false, false}},
        {"a new route being placed", 2, kRoute, 0, 1, {true, false, false, false, false}},
        {"the active route being edited",
         3,
         kRoute,
         kShortTrack,
         0,
         {true, false, false, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.routeState = c.routeState;
        s.activeRouteId = c.activeId;
        s.shownTrackId = c.shownTrack;
        s.shownTrackColour = 5;
        s.routeTableFill = c.fill;
        s.pendingGrab = 0;
        f.w->DrawUserObjectOverlay(f.dc);
        EXPECT_EQ(drawnBy(f, f.take()), c.drawn);
        if (c.routeState == 0 && c.activeId == 0 && c.fill) {
            // Drawn for choosing: the next click picks; routes of fewer than
            // two points are gone.
            EXPECT_EQ(s.pendingGrab, 2);
            EXPECT_FALSE(Window::stored(kOnePoint));
        }
        if (c.routeState == 0 && c.activeId != 0) {
            EXPECT_EQ(s.routePointCount, 5); // the table filled from the store
            EXPECT_EQ(s.routeTableFill, 0);
        }
    }
}

TEST(UserObjectOverlay, TheEditedRouteOnPictureTwoAndTheRecordedRouteFromTheStore) {
    Window f;
    TChartWindowState& s = state();
    fillForward(f);
    s.routeState = 3;
    ASSERT_TRUE(f.w->memPicture1 && f.w->memPicture2);
    // Own ship far off the view: the picture shows the route alone.
    f.w->DrawOwnShipOverlay(f.w->GetDC(), -5000, -5000, false);
    const gdi::RasterDc& work = *f.w->memPicture2;
    const ClientPoint a = f.client(RoutePoints()[0]), b = f.client(RoutePoints()[1]);
    EXPECT_EQ(work.getPixel(a.x, (a.y + b.y) / 2 + 20), work.resolve(PaletteColourByType(1, 0)));

    // The track overlay hands the recorded route to the store, which draws
    // it in the track colour and starts the ring at its newest point.
    s.recordedRouteId = kShortTrack;
    f.w->DrawTrackOverlay(f.dc, f.w->map.get(), true);
    const auto lines = Lines(f.take(), "Polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(contains(lines[0], PenText(PaletteColourByType(ChartSettings().trackColour, 0))));
    EXPECT_TRUE(contains(lines[0], Xy(f.client(ShortTrackPoints()[4]))));
    std::unique_ptr<Map> map(ViewMap());
    EXPECT_DOUBLE_EQ(s.trackRing[0].lat,
                     StoreUnitsAt(*map, ShortTrackPoints()[4]).latitude / 600000.0);
}

// The fixture's objects drawn on a raster picture as the overlays draw
// them, for a person to look at: the symbols with their labels, the shown
// track with its start mark, route 3 from the store with corridors and
// numbers, route 6 from the table, the line with its label.
TEST(UserObjectPicture, TheFixtureDrawnOnARasterPicture) {
    Window f;
    TChartWindowState& s = state();
    LoadPalettes(DATA_DIR); // the program's day colours
    auto picture = gdi::RasterDc::createCompatible(nullptr);
    picture->selectBitmap(gdi::Bitmap::colour(kClientWidth, kClientHeight));
    picture->selectPalette(ProgramPalette());
    const gdi::Colour sea = gdi::rgb(212, 234, 238);
    picture->fillRect(0, 0, kClientWidth, kClientHeight, gdi::Brush::solid(sea));
    ChartSettings().crossTrackAlarmSwitch = 2;
    s.shownTrackId = kTrack;
    s.shownTrackColour = 5;
    f.w->DrawUserObjectsOfKind(*picture, 105);
    f.w->DrawUserObject(*picture, 1, kTrack);
    f.w->DrawUserObject(*picture, 2, kRoute);
    f.w->DrawUserObject(*picture, 3, kLine);
    s.activeRouteId = kLongRoute;
    s.routeTableFill = 1;
    f.w->DrawUserObject(*picture, 2, kLongRoute); // fills the table
    s.routeState = 1;
    s.markedRoutePoint = 250;
    f.w->DrawActiveRouteFromTable(*picture);
    // Something of each was drawn: the named symbol's cell, a route square.
    const ClientPoint named = f.client(Symbols()[0].at), first = f.client(RoutePoints()[0]);
    EXPECT_NE(picture->getPixel(named.x, named.y), picture->resolve(sea));
    EXPECT_EQ(picture->getPixel(first.x - 3, first.y), picture->resolve(PaletteColourByType(2, 0)));
    std::filesystem::create_directories(CHART_TEST_PICTURES);
    EXPECT_TRUE(picture->picture().save(
        QString::fromStdString(std::string(CHART_TEST_PICTURES) + "/user-objects.png")));
}

// ---------------------------------------------------------------------------
// The symbol strip

TEST(SymbolStrip, MaskAndColourRowsAgreeAndTheSymbolsDiffer) {
    Window f;
    ASSERT_TRUE(f.w->symbolStrip);
    const QImage& strip = f.w->symbolStrip->image();
    ASSERT_EQ(strip.width(), 340);
    ASSERT_EQ(strip.height(), 119);
    const auto rgb = [&](int x, int y) { return strip.pixel(x, y) & 0xFFFFFFu; };
    std::set<std::vector<bool>> shapes;
    for (int column = 0; column < 20; ++column) {
        std::vector<bool> ink;
        bool open = false;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                const int px = 17 * column + x;
                const QRgb mask = rgb(px, y);
                ASSERT_TRUE(mask == 0 || mask == 0xFFFFFFu) << column << " " << x << "," << y;
                open = open || mask != 0;
                const bool inked = rgb(px, 17 + y) != 0;
                ink.push_back(inked);
                for (int row = 1; row <= 6; ++row) {
                    const QRgb c = rgb(px, 17 * row + y);
                    // The colour of its type where the symbol is, black elsewhere,
                    // and nothing where the mask lets the chart through.
                    const gdi::Colour type = TextColourByType(row, 0);
                    const QRgb want =
                        inked ? qRgb(gdi::redOf(type), gdi::greenOf(type), gdi::blueOf(type)) &
                                    0xFFFFFFu
                              : 0u;
                    EXPECT_EQ(c, want) << column << " row " << row << " " << x << "," << y;
                    if (inked) {
                        EXPECT_EQ(mask, 0u) << column << " " << x << "," << y;
                    }
                }
            }
        EXPECT_TRUE(open) << column;
        EXPECT_GE(std::count(ink.begin(), ink.end(), true), 20) << column;
        shapes.insert(ink);
    }
    EXPECT_EQ(shapes.size(), 20u);
}

// Every symbol in each colour, as the passes draw it, over a light and a
// dark chart colour, with the track-start mark over a track's first point:
// a picture for a person to look at.
TEST(SymbolStrip, TheContactSheetAsThePassesDrawIt) {
    Window f;
    constexpr int kPitch = 24, kLeft = 40, kTop = 24;
    const int width = kLeft + 20 * kPitch + 8, height = kTop + 13 * kPitch + 40;
    auto picture = gdi::RasterDc::createCompatible(nullptr);
    picture->selectBitmap(gdi::Bitmap::colour(width, height));
    const gdi::Colour light = gdi::rgb(212, 234, 238), dark = gdi::rgb(40, 48, 64);
    picture->fillRect(0, 0, width, height, gdi::Brush::solid(gdi::kWhite));
    picture->fillRect(0, kTop, width, kTop + 6 * kPitch, gdi::Brush::solid(light));
    picture->fillRect(0, kTop + 6 * kPitch, width, kTop + 12 * kPitch, gdi::Brush::solid(dark));
    picture->selectFont(gdi::Font::create(gdi::LogFont{"Arial", -11, 400}));
    picture->setBkMode(gdi::BkMode::Transparent);
    for (int column = 0; column < 20; ++column)
        picture->textOut(kLeft + column * kPitch - 6, 6, std::to_string(column));
    for (int band = 0; band < 2; ++band)
        for (int row = 1; row <= 6; ++row) {
            const int y = kTop + (band * 6 + row - 1) * kPitch + kPitch / 2;
            picture->setTextColour(band ? gdi::kWhite : gdi::kBlack);
            picture->textOut(4, y - 6, std::to_string(row));
            for (int column = 0; column < 20; ++column)
                f.w->DrawStripSymbol(*picture, kLeft + column * kPitch, y, column, row);
        }
    // The track-start mark 6 pixels above a track's first point.
    const int ty = kTop + 12 * kPitch + 28;
    picture->setPen(gdi::Pen{gdi::PenStyle::Solid, 0, gdi::rgb(255, 0, 0)});
    picture->moveTo(kLeft, ty);
    picture->lineTo(kLeft + 80, ty + 8);
    f.w->DrawStripSymbol(*picture, kLeft, ty - 6, 15, 1);

    // The colours went where the strip says: the centre of symbol 2 (a
    // square) in each colour, the light chart beside it, the dark under the
    // ring's middle.
    for (int row = 1; row <= 6; ++row) {
        const int y = kTop + (row - 1) * kPitch + kPitch / 2;
        EXPECT_EQ(picture->getPixel(kLeft + 2 * kPitch, y), TextColourByType(row, 0)) << row;
        EXPECT_EQ(picture->getPixel(kLeft + 2 * kPitch + 10, y), light) << row;
        EXPECT_EQ(picture->getPixel(kLeft + kPitch, y + 6 * kPitch), dark) << row;
    }
    EXPECT_EQ(picture->getPixel(kLeft, ty - 1), gdi::rgb(255, 0, 0)); // the wedge's tip
    std::filesystem::create_directories(CHART_TEST_PICTURES);
    const QImage sheet = picture->picture().scaled(width * 3, height * 3);
    EXPECT_TRUE(sheet.save(
        QString::fromStdString(std::string(CHART_TEST_PICTURES) + "/symbol-strip-sheet.png")));
}

} // namespace
