// Do-nothing bodies of the chart window's members that other parts of the
// program build. Each part moves its bodies into its own source file and
// deletes them here in the same change, so a member defined twice or not at
// all stops the link. The last part to land deletes this file.
#include "chart/TMapWindow.h"

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
