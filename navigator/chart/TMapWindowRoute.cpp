// The chart window's side of route following: the start, and the step on each
// timer tick with the end of the route, which also touches the tool box and the
// route read-outs.
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "route/RouteFollowing.h"
#include "ui/Gadgets.h"

#include <utility>

namespace {

// The tool box's "new route" button (command 53).
constexpr int kNewRouteButton = 53;

} // namespace

void TMapWindow::StartRouteFollowing() {
    TChartWindowState& s = ChartWindowState();
    BeginRouteFollowing(s);
    s.routeState = 1;
    s.redrawRequest = 1;
}

void TMapWindow::RouteFollowingStep() {
    TChartWindowState& s = ChartWindowState();
    if (s.followingState != 1) return;
    if (!StepRouteFollowing(s, ChartSettings()).ended) return;

    // The route is done: the new-route button comes up (the box may not be
    // there), the route read-outs go, and the route is put away.
    if (ui::TButtonGadget* button = ToolBoxButton(kNewRouteButton))
        button->SetButtonState(ui::TButtonGadget::Up);
    delete std::exchange(routeInfoDlg1, nullptr);
    delete std::exchange(routeInfoDlg2, nullptr);
    s.activeRouteId = 0;
    s.routePointCount = 0;
    s.routeState = 0;
    s.redrawRequest = 1;
}
