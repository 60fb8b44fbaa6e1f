// Do-nothing bodies of the chart window's members that other parts of the
// program build. Each part moves its bodies into its own source file and
// deletes them here in the same change, so a member defined twice or not at
// all stops the link. The last part to land deletes this file.
#include "chart/LookAhead.h"
#include "chart/TMapWindow.h"

// --- The floating tool box and the chart window's commands ---
void TMapWindow::ShowHelp() {}
void TMapWindow::ShowToolBox() {}
void TMapWindow::ApplyCursorRequest() {}
void TMapWindow::CmChooseRoute() {}
void TMapWindow::CmChangeRoute() {}
void TMapWindow::CmNewRoute() {}
void TMapWindow::CmEndEditing() {}
void TMapWindow::CmDelete() {}
void TMapWindow::CmPlaceSymbols() {}
void TMapWindow::CmObjectInfo() {}
void TMapWindow::CmIllumination() {}
void TMapWindow::CmRelief() {}
void TMapWindow::Cm3DView() {}
void TMapWindow::CeChooseRoute(ui::TCommandEnabler&) {}
void TMapWindow::CeChangeRoute(ui::TCommandEnabler&) {}
void TMapWindow::CeNewRoute(ui::TCommandEnabler&) {}
void TMapWindow::CeEndEditing(ui::TCommandEnabler&) {}
void TMapWindow::CeDelete(ui::TCommandEnabler&) {}
void TMapWindow::CePlaceSymbols(ui::TCommandEnabler&) {}
void TMapWindow::CeObjectInfo(ui::TCommandEnabler&) {}
void TMapWindow::CeIllumination(ui::TCommandEnabler&) {}
void TMapWindow::CeRelief(ui::TCommandEnabler&) {}
void TMapWindow::CeFollowOwnShip(ui::TCommandEnabler&) {}
void TMapWindow::Ce3DView(ui::TCommandEnabler&) {}

// --- Mouse, zoom and chart look-ups ---
bool TMapWindow::HasChartData(int, const GeoPoint&) {
    return false;
}
bool TMapWindow::MoveCentre(double, double, bool) {
    return false;
}
void TMapWindow::ZoomIn() {}
void TMapWindow::ZoomOut() {}
void TMapWindow::EvMouseMove(ui::UINT, const ui::TPoint&) {}
void TMapWindow::EvLButtonDown(ui::UINT, const ui::TPoint&) {}
void TMapWindow::EvRButtonDown(ui::UINT, const ui::TPoint&) {}
void TMapWindow::EvSize(ui::UINT, const ui::TSize&) {}
void TMapWindow::EvMDIActivate(ui::HWND, ui::HWND) {}
void TMapWindow::ShowObjectInfo(const ui::TPoint&) {}

// --- Position entry and the look-ahead edge test ---
bool TMapWindow::EnterPosition() {
    return false;
}
int LookAheadThreshold(int, int, int, int, bool, double) {
    return 1;
}
bool LookAheadEdgeReached(int, int, int) {
    return false;
}
