#include "dialogs/InfoDialogPlacement.h"

#include "ViewerExchange.h"
#include "chart/ChartWindowState.h"
#include "ui/Cursor.h"
#include "ui/Dialog.h"
#include "ui/Screen.h"

namespace {

constexpr int kEdge = 5;
constexpr int kCursorRight = 160, kCursorDown = 10;

} // namespace

ui::TPoint InfoDialogPlace(const ui::TPoint& click, int width, int screenWidth,
                           bool viewer3dRunning) {
    if (viewer3dRunning || 2 * static_cast<long long>(click.x) > screenWidth) return {kEdge, kEdge};
    return {screenWidth - width - kEdge, kEdge};
}

void PlaceInfoDialog(ui::TDialog& dialog, const ui::TPoint& click) {
    const int width = dialog.GetWindowRect().Width();
    const ui::TPoint at =
        InfoDialogPlace(click, width, ui::GetScreenCaps().horzRes, Is3DViewRunning());
    dialog.SetWindowPos(nullptr, at.x, at.y, width, kInfoDialogHeight,
                        ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);
    const ui::TRect self = dialog.GetWindowRect();
    ui::ClipCursor(&self);
    const ui::TRect ok = ui::GetWindowRect(dialog.GetDlgItem(ui::IDOK));
    ui::SetCursorPos(ok.left + kCursorRight, ok.top + kCursorDown);
}

void ReleaseInfoDialog() {
    ui::ClipCursor(nullptr);
    ChartWindowState().redrawRequest = 1;
}
