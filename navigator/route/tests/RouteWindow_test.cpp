// The chart window's two route operations: the start (route state 1 and a
// redraw), and the step whose route end releases the tool box's new-route
// button, closes the route read-outs and puts the route away.
#include "ChartTestSupport.h"
#include "RouteReference.h"

#include "route/RouteFollowing.h"
#include "ui/Gadgets.h"

#include <string>

namespace {

using charttest::Host;
using routetest::loadRoute;
using routetest::reference;

using PlainHost = Host<ui::TMDIClient>;

// A read-out that notes its going.
struct NotedWindow : ui::TWindow {
    NotedWindow(ui::TWindow* parent, bool& gone) : ui::TWindow(parent), gone_(gone) {}
    ~NotedWindow() override { gone_ = true; }
    bool& gone_;
};

TEST(RouteWindow, StartSetsTheRouteStateAndAsksForARedraw) {
    for (int points : {4, 1}) {
        SCOPED_TRACE(std::to_string(points) + " points");
        PlainHost host;
        TMapWindow w(*host.client, "", 5, 4.8, 60.3);
        TChartWindowState& s = ChartWindowState();
        loadRoute(s, "bergen", 0);
        s.followingState = 0;
        s.routePointCount = points;
        s.activeRouteId = 12;
        s.ownShip = reference().ship("arrive006"); // nearest to waypoint 1
        w.StartRouteFollowing();
        EXPECT_EQ(s.routeState, 1);
        EXPECT_EQ(s.redrawRequest, 1);
        EXPECT_EQ(s.followingState, points >= 2 ? 1 : 0);
        EXPECT_EQ(s.destinationIndex, points >= 2 ? 1 : 0);
    }
}

TEST(RouteWindow, TheRouteEndsThroughTheStep) {
    for (bool withToolBox : {true, false}) {
        SCOPED_TRACE(withToolBox ? "with the tool box" : "without a tool box");
        PlainHost host;
        auto* w = new TMapWindow(*host.client, "", 5, 4.8, 60.3);
        ui::TButtonGadget* newRoute = nullptr;
        if (withToolBox) {
            auto* box = new ui::TToolBox(w, 1);
            box->Insert(*new ui::TButtonGadget(52, 52, ui::TButtonGadget::NonExclusive));
            newRoute = new ui::TButtonGadget(53, 53, ui::TButtonGadget::NonExclusive, true,
                                             ui::TButtonGadget::Down);
            box->Insert(*newRoute);
            w->toolBox = box;
        }
        bool gone1 = false, gone2 = false;
        w->routeInfoDlg1 = new NotedWindow(w, gone1);
        w->routeInfoDlg2 = new NotedWindow(w, gone2);

        TChartWindowState& s = ChartWindowState();
        loadRoute(s, "bergen", 3);
        s.activeRouteId = 12;
        s.routeState = 1;

        // Short of the last point: nothing ends.
        s.ownShip = reference().ship("last020");
        w->RouteFollowingStep();
        EXPECT_EQ(s.followingState, 1);
        EXPECT_EQ(s.redrawRequest, 0);
        EXPECT_FALSE(gone1 || gone2);
        if (newRoute) {
            EXPECT_EQ(newRoute->GetButtonState(), ui::TButtonGadget::Down);
        }

        // Arrived.
        s.ownShip = reference().ship("last003");
        w->RouteFollowingStep();
        EXPECT_EQ(s.followingState, 0);
        EXPECT_EQ(s.destinationIndex, 0);
        EXPECT_EQ(s.activeRouteId, 0);
        EXPECT_EQ(s.routePointCount, 0);
        EXPECT_EQ(s.routeState, 0);
        EXPECT_EQ(s.redrawRequest, 1);
        EXPECT_TRUE(gone1);
        EXPECT_TRUE(gone2);
        EXPECT_EQ(w->routeInfoDlg1, nullptr);
        EXPECT_EQ(w->routeInfoDlg2, nullptr);
        if (newRoute) {
            EXPECT_EQ(newRoute->GetButtonState(), ui::TButtonGadget::Up);
            EXPECT_EQ(w->lastToolButton, newRoute);
        }

        // No longer following: the step does nothing.
        s.redrawRequest = 0;
        w->RouteFollowingStep();
        EXPECT_EQ(s.redrawRequest, 0);
        delete w; // the tool box goes with it, the read-outs are not given back twice
    }
}

// A whole passage through the virtuals: started near waypoint 0 with own
// ship put in front, then carried along the waypoints by single ticks.
TEST(RouteWindow, FollowsTheRouteToItsEnd) {
    PlainHost host;
    TMapWindow w(*host.client, "", 5, 4.8, 60.3);
    TChartWindowState& s = ChartWindowState();
    loadRoute(s, "bergen", 0);
    s.followingState = 0;
    s.activeRouteId = 12;
    // Two miles south of waypoint 0: farther from waypoint 1 than the first
    // leg is long, so own ship becomes point 0.
    const RoutePoint& wp0 = s.routePoints[0];
    s.ownShip = GeoPoint{wp0.lon, wp0.lat - 2 * 198842};
    w.StartRouteFollowing();
    ASSERT_EQ(s.followingState, 1);
    EXPECT_EQ(s.ownShipInserted, 1);
    EXPECT_EQ(s.routePointCount, 5);
    EXPECT_EQ(s.destinationIndex, 1);

    // Sail onto each waypoint in turn.
    int ticks = 0;
    for (int next = 1; next <= 4; ++next) {
        const RoutePoint& p = s.routePoints[next];
        s.ownShip = GeoPoint{p.lon, p.lat};
        w.RouteFollowingStep();
        ++ticks;
        if (next < 4) {
            EXPECT_EQ(s.destinationIndex, next + 1);
        }
    }
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(s.followingState, 0);
    EXPECT_EQ(s.routeState, 0);
    EXPECT_EQ(s.routePointCount, 0);
    EXPECT_EQ(s.ownShipInserted, 0);
    EXPECT_EQ(s.pendingStatusMessage, 11);
}

} // namespace
