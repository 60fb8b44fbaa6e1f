// The eight read-out panels: their texts from the program-wide values, and
// their places over the chart window for every combination of open panels.
#include "DialogTestSupport.h"

#include "dialogs/ReadoutPanels.h"
#include "dialogs/TGaugeX.h"
#include "nmea/NavState.h"

#include <QApplication>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

namespace {

using dialogtest::ChartHost;
using dialogtest::TimeZone;
using dialogtest::utc;

std::string text(const ui::TWindow& w, int id) {
    char buf[128] = {};
    w.GetDlgItemText(id, buf, sizeof buf);
    return buf;
}

void setNav(const std::function<void(NavState&)>& change) {
    UpdateNavShared([&](NavShared& s) { change(s.nav); });
}

struct PanelsTest : ::testing::Test {
    void TearDown() override {
        UpdateNavShared([](NavShared& s) { s = NavShared{}; });
    }
    ChartHost h;
    template <class Panel> std::unique_ptr<Panel> make() {
        auto panel = std::make_unique<Panel>(h.chart);
        EXPECT_TRUE(panel->Create());
        return panel;
    }
};

TEST_F(PanelsTest, OwnShipPositionWindSpeedCourseAndDepth) {
    setNav([](NavState& n) {
        n.latitude = -33.8625;
        n.longitude = 151.2075;
        n.windSpeed = 5.5f;
        n.windDirection = 45;
        n.courseOverGround = 7.5f;
        n.speedOverGround = 5.26f;
        n.depth = 12.34f;
    });
    auto pos = make<TGPSPosDlg>();
    auto wind = make<TWindDlg>();
    auto sog = make<TSOGCOGDlg>();
    auto depth = make<TDepthDlg>();
    for (TMapDialog* p :
         std::initializer_list<TMapDialog*>{pos.get(), wind.get(), sog.get(), depth.get()})
        p->Update();
    EXPECT_EQ(text(*pos, 2201), " 33\xB0 51.750 S");
    EXPECT_EQ(text(*pos, 2202), "151\xB0 12.450 E");
    EXPECT_EQ(text(*wind, 2501), " 5.5 m/s  045 \xB0");
    EXPECT_EQ(text(*sog, 1601), "5.3 kt");
    EXPECT_EQ(text(*sog, 1602), "007.5 \xB0");
    EXPECT_EQ(text(*depth, 2401), " 12.3 mtr");
    // While a route is placed or edited the position panel shows the cursor.
    pos->showCursor = true;
    pos->cursorLon = -5.5;
    pos->cursorLat = 60.25;
    pos->Update();
    EXPECT_EQ(text(*pos, 2201), " 60\xB0 15.000 N");
    EXPECT_EQ(text(*pos, 2202), "  5\xB0 30.000 W");
}

TEST_F(PanelsTest, BearingAndDistanceToTheCursor) {
    auto bearing = make<TBearingInfoDlg>();
    TChartWindowState& s = ChartWindowState();
    const struct {
        double bearing, course, distance;
        bool metres;
        const char *b, *relative, *value, *unit;
    } cases[] = {
        {10, 350, 0.3, true, "010.0", "020.0", "556", "mtr"}, // relative + 360
        {200, 20, 0.3, false, "200.0", "180.0", "0.30", "Nm"},
        {359.9, 0, 12.34, true, "359.9", "359.9", "12.3", "Nm"},
        {0, 0, 0.75, true, "000.0", "000.0", "0.75", "Nm"},
    };
    for (const auto& c : cases) {
        s.cursorBearing = c.bearing;
        s.cursorDistance = c.distance;
        ChartSettings().shortDistancesInMetres = c.metres;
        setNav([&](NavState& n) { n.courseOverGround = float(c.course); });
        bearing->Update();
        EXPECT_EQ(text(*bearing, 1501), c.b);
        EXPECT_EQ(text(*bearing, 1502), c.relative);
        EXPECT_EQ(text(*bearing, 1503), c.value);
        EXPECT_EQ(text(*bearing, 1504), c.unit);
    }
    // Metres are the default.
    ApplySettingsDefaults();
    EXPECT_EQ(ChartSettings().shortDistancesInMetres, 1);
}

TEST_F(PanelsTest, DateAndTimeInLocalTimeRewrittenWhenTheMinuteChanges) {
    TimeZone tz("Europe/Oslo");
    os::FakeClock clock;
    SetNavClock(&clock);
    clock.setNow(utc(2024, 6, 21, 22, 5));
    auto date = make<TDateDlg>();
    date->Update();
    EXPECT_EQ(text(*date, 1801), "22.06.24   00:05");
    date->SetDlgItemText(1801, "x");
    os::SystemTime later = utc(2024, 6, 21, 22, 5);
    later.second = 40; // the same minute
    clock.setNow(later);
    date->Update();
    EXPECT_EQ(text(*date, 1801), "x");
    clock.setNow(utc(2100, 1, 1, 12, 6));
    date->Update();
    EXPECT_EQ(text(*date, 1801), "01.01.00   13:06");
}

// A route of four points 1 Nm apart by legs of 045, 090 and 180 degrees.
void loadRoute(TChartWindowState& s) {
    s.routePointCount = 4;
    const float courses[] = {45, 90, 180, 0};
    const int limits[] = {5, 2, 20, 0};
    for (int i = 0; i < 4; ++i) {
        s.routePoints[std::size_t(i)].legLength = i < 3 ? 1.0f + i : 0; // 1, 2, 3 Nm
        s.routePoints[std::size_t(i)].legCourse = courses[i];
        s.routePoints[std::size_t(i)].crossTrackLimit = limits[i];
    }
}

TEST_F(PanelsTest, RoutePanelOneLegCourseDistanceAndCrossTrackError) {
    auto route = make<TRouteInfoDlg1>();
    auto* port = dynamic_cast<TGaugeX*>(ui::GetWindowPtr(route->GetDlgItem(1904)));
    auto* stbd = dynamic_cast<TGaugeX*>(ui::GetWindowPtr(route->GetDlgItem(1905)));
    ASSERT_TRUE(port && stbd);
    EXPECT_TRUE(port->FromRight());
    EXPECT_FALSE(stbd->FromRight());
    TChartWindowState& s = ChartWindowState();
    loadRoute(s);
    s.followingState = 1;
    const struct {
        int destination;
        double bearing, range, error;
        int illumination;
        const char *course, *distance, *cross;
        int portValue, stbdValue, limit, green;
    } cases[] = {
        {1, 44.96, 1.26, 0.034, 0, "045.0 \xB0  ( 090.0 \xB0)  ", "1.3 Nm", "0.03 port", 34, 0, 5,
         255},
        {2, 92, 0.456, -0.0571, 1, "092.0 \xB0  ( 180.0 \xB0)  ", "0.46 Nm", "0.06 stbd", 0, 57, 2,
         255},
        {3, 181, 2.5, 0, 2, "181.0 \xB0  ( end )  ", "2.5 Nm", "0.00 port", 0, 0, 20, 191},
        {3, 181, 2.5, 0.5, 3, "181.0 \xB0  ( end )  ", "2.5 Nm", "0.50 port", 100, 0, 20, 191},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.course);
        s.destinationIndex = c.destination;
        s.routeBearing = c.bearing;
        s.routeRange = c.range;
        s.crossTrackError = c.error;
        s.illuminationLevel = c.illumination;
        route->Update();
        EXPECT_EQ(text(*route, 1901), c.course);
        EXPECT_EQ(text(*route, 1902), c.distance);
        EXPECT_EQ(text(*route, 1903), c.cross);
        EXPECT_EQ(port->GetValue(), c.portValue);
        EXPECT_EQ(stbd->GetValue(), c.stbdValue);
        EXPECT_EQ(port->GetLimit(), c.limit);
        EXPECT_EQ(stbd->GetLimit(), c.limit);
        EXPECT_EQ(port->GetBarColor(), gdi::rgb(0, std::uint8_t(c.green), 0));
    }
    // Not following: no error, empty gauges.
    s.followingState = 0;
    route->Update();
    EXPECT_EQ(text(*route, 1903), "");
    EXPECT_EQ(port->GetValue() + stbd->GetValue(), 0);
}

TEST_F(PanelsTest, RoutePanelTwoTotalsEtaAndTimeToGo) {
    TimeZone tz("Europe/Oslo");
    os::FakeClock clock;
    SetNavClock(&clock);
    clock.setNow(utc(2024, 6, 21, 10, 0)); // 12:00 local
    auto route = make<TRouteInfoDlg2>();
    TChartWindowState& s = ChartWindowState();
    loadRoute(s);
    s.destinationIndex = 1;
    s.routeRange = 0.5; // to waypoint 2, then legs of 2 and 3 Nm
    setNav([](NavState& n) { n.speedOverGround = 5; });
    route->Update();
    EXPECT_EQ(text(*route, 2005), "4:");
    EXPECT_EQ(text(*route, 2003), "5.5");
    EXPECT_EQ(text(*route, 2002), "13:06"); // 5.5 Nm at 5 kt: 1 h 06 min
    EXPECT_EQ(text(*route, 2004), "2:  6 m. 00 s.");
    EXPECT_EQ(text(*route, 2006), "");
    s.destinationIndex = 3;
    s.routeRange = 0.04;
    route->Update();
    EXPECT_EQ(text(*route, 2003), "0.04");
    EXPECT_EQ(text(*route, 2004), "4:  0 m. 29 s.");
    s.routeRange = 12.5;
    route->Update();
    EXPECT_EQ(text(*route, 2004), "4:  2 t. 30 m.");
    EXPECT_EQ(text(*route, 2002), "14:30");
    // Without speed: the dotted texts.
    setNav([](NavState& n) { n.speedOverGround = 0; });
    route->Update();
    EXPECT_EQ(text(*route, 2002), ".......");
    EXPECT_EQ(text(*route, 2004), " .............. ");
}

// ---------------------------------------------------------------------------
// Placement

const int kPanelIds[] = {kGpsPosTemplate, kDateTemplate,  kWindTemplate,       kBearingTemplate,
                         kSogCogTemplate, kDepthTemplate, kRouteInfo1Template, kRouteInfo2Template};
// Stacking order within each column: left from the top, right from the bottom.
const std::vector<int> kLeftOrder = {kGpsPosTemplate, kDateTemplate, kWindTemplate};
const std::vector<int> kRightOrder = {kRouteInfo1Template, kRouteInfo2Template, kBearingTemplate,
                                      kSogCogTemplate, kDepthTemplate};

TMapDialog* makePanel(TMapWindow* chart, int id) {
    switch (id) {
    case kGpsPosTemplate:
        return new TGPSPosDlg(chart);
    case kDateTemplate:
        return new TDateDlg(chart);
    case kWindTemplate:
        return new TWindDlg(chart);
    case kBearingTemplate:
        return new TBearingInfoDlg(chart);
    case kSogCogTemplate:
        return new TSOGCOGDlg(chart);
    case kDepthTemplate:
        return new TDepthDlg(chart);
    case kRouteInfo1Template:
        return new TRouteInfoDlg1(chart);
    default:
        return new TRouteInfoDlg2(chart);
    }
}

bool overlap(const ui::TRect& a, const ui::TRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The rules every layout keeps: inside the client, no overlap, left column
// flush left and stacked down from 0 in order, right column flush right and
// stacked up from the bottom in order, without gaps.
void expectLayout(const ui::TSize& client, const std::map<int, ui::TRect>& placed) {
    for (const auto& [a, ra] : placed) {
        EXPECT_GE(ra.left, 0) << a;
        EXPECT_GE(ra.top, 0) << a;
        EXPECT_LE(ra.right, client.cx) << a;
        EXPECT_LE(ra.bottom, client.cy) << a;
        for (const auto& [b, rb] : placed)
            if (a < b) {
                EXPECT_FALSE(overlap(ra, rb)) << a << " and " << b;
            }
    }
    int y = 0;
    for (int id : kLeftOrder)
        if (auto it = placed.find(id); it != placed.end()) {
            EXPECT_EQ(it->second.left, 0) << id;
            EXPECT_EQ(it->second.top, y) << id;
            y = it->second.bottom;
        }
    y = client.cy;
    for (int id : kRightOrder)
        if (auto it = placed.find(id); it != placed.end()) {
            EXPECT_EQ(it->second.right, client.cx) << id;
            EXPECT_EQ(it->second.bottom, y) << id;
            y = it->second.top;
        }
}

TEST_F(PanelsTest, EveryCombinationOfOpenPanelsKeepsItsOrderWithoutOverlap) {
    // The panels' real sizes.
    std::map<int, ui::TSize> sizes;
    for (int id : kPanelIds) {
        std::unique_ptr<TMapDialog> p(makePanel(h.chart, id));
        ASSERT_TRUE(p->Create());
        sizes[id] = p->GetWindowRect().Size();
        EXPECT_GT(sizes[id].cx, 30) << id;
        EXPECT_GT(sizes[id].cy, 10) << id;
    }
    for (const ui::TSize client : {ui::TSize(800, 600), ui::TSize(1920, 1080)})
        for (unsigned mask = 0; mask < 256; ++mask) {
            SCOPED_TRACE(std::to_string(client.cx) + " x " + std::to_string(mask));
            std::vector<TPanelExtent> open;
            for (int i = 0; i < 8; ++i)
                if (mask & 1u << i) open.push_back({kPanelIds[i], sizes[kPanelIds[i]]});
            const std::vector<ui::TPoint> places = ReadoutPanelPlaces(client, open);
            ASSERT_EQ(places.size(), open.size());
            std::map<int, ui::TRect> placed;
            for (std::size_t i = 0; i < open.size(); ++i)
                placed[open[i].resId] = ui::TRect(places[i], open[i].size);
            expectLayout(client, placed);
        }
}

// The open panels' rectangles in the chart window's client.
std::map<int, ui::TRect> shown(const std::map<int, TMapDialog*>& panels) {
    std::map<int, ui::TRect> r;
    for (const auto& [id, p] : panels) {
        const QWidget* w = p->GetHandle();
        r[id] = ui::TRect(w->x(), w->y(), w->x() + w->width(), w->y() + w->height());
    }
    return r;
}

TEST(Panels, ChildrenOfTheChartWindowPlacedAsTheyOpenAndClose) {
    for (const ui::TSize size : {ui::TSize(800, 600), ui::TSize(1920, 1080)}) {
        SCOPED_TRACE(size.cx);
        ChartHost h(size.cx, size.cy);
        ASSERT_EQ(h.chart->GetClientRect().Size(), size);
        QWidget* focusBefore = QApplication::focusWidget();
        std::map<int, TMapDialog*> panels;
        // Opened in an order of their own; each opening places them all.
        for (int id : {kBearingTemplate, kWindTemplate, kRouteInfo2Template, kGpsPosTemplate,
                       kDepthTemplate, kRouteInfo1Template, kDateTemplate, kSogCogTemplate}) {
            TMapDialog* p = makePanel(h.chart, id);
            ASSERT_TRUE(p->Create());
            EXPECT_EQ(p->GetHandle()->parentWidget() != nullptr, true);
            EXPECT_FALSE(p->GetHandle()->isWindow()); // a child window, not a tool window
            EXPECT_TRUE(p->Attr.Style & 0x800);
            p->Update();
            panels[id] = p;
            expectLayout(size, shown(panels));
        }
        charttest::settle();
        EXPECT_EQ(QApplication::focusWidget(), focusBefore); // no panel took the focus
        if (size.cx == 800)
            dialogtest::savePicture(h.chart->GetHandle()->grab().toImage(),
                                    "readout-panels-800x600.png");
        // The route ends: its panels go and the others move down.
        for (int id : {kRouteInfo1Template, kRouteInfo2Template}) {
            delete panels[id];
            panels.erase(id);
        }
        expectLayout(size, shown(panels));
        // Put back after a size change of the chart window.
        h.host.frame->MoveWindow(0, 0, size.cx - 100, size.cy - 50, true);
        charttest::settle();
        PlaceReadoutPanels(*h.chart);
        expectLayout(h.chart->GetClientRect().Size(), shown(panels));
        // Those left open go with the chart window.
    }
}

} // namespace
