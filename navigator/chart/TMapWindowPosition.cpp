// The position entry of the chart window (the Insert key).
#include "chart/TMapWindow.h"

#include "chart/ChartWindowState.h"
#include "dialogs/TPositionDlg.h"
#include "ui/Cursor.h"

#include <cmath>

namespace {

// Positions the chart is not moved to: the NMEA input refuses fixes beyond
// these too, and the projection has no use for them.
constexpr double kLargestLatitude = 85, kLargestLongitude = 180;

bool mayMoveTo(double lon, double lat) {
    return std::fabs(lat) <= kLargestLatitude && std::fabs(lon) <= kLargestLongitude;
}

} // namespace

bool TMapWindow::EnterPosition() {
    TPositionDlg dialog(this);
    // Cancel stores nothing, and the position the two values hold from
    // before (an arrow key's centre) is not what the user asked for now.
    if (dialog.Execute() != ui::IDOK) return false;
    TChartWindowState& s = ChartWindowState();
    // 0 is a position like any other: the equator and the prime meridian
    // can be entered.
    if (!mayMoveTo(s.enteredLon, s.enteredLat)) return false;
    s.followFlag = 0;
    const bool moved = MoveCentre(s.enteredLon, s.enteredLat, true);
    const ScreenPoint c = ToScreen(*this, ClientCentre(GetClientRect()));
    ui::SetCursorPos(c.x, c.y);
    return moved;
}
