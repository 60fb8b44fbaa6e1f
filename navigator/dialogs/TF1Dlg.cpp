#include "dialogs/TF1Dlg.h"

#include "app/HelpCommand.h"
#include "app/ViewerSettings.h"
#include "chart/ChartWindowState.h"
#include "os/findNoCase.h"
#include "ui/Cursor.h"

#include <string>

DEFINE_RESPONSE_TABLE1(TF1Dlg, TMapDialog)
EV_COMMAND(kHelpManualButton, CmManual), END_RESPONSE_TABLE;

TF1Dlg::TF1Dlg(TMapWindow* owner, int resId) : TMapDialog(owner, resId) {}

TF1Dlg::~TF1Dlg() {
    Destroy();
}

void TF1Dlg::SetupWindow() {
    TMapDialog::SetupWindow();
    const ui::TRect button = ui::GetWindowRect(GetDlgItem(ui::IDCANCEL));
    ui::SetCursorPos(button.left + 75, button.top + 8);
    const ui::TRect self = GetWindowRect();
    ui::ClipCursor(&self);
    ChartWindowState().inputMode = 8;
    SetCaption((std::string(kViewerTitle) + " " + kViewerVersion).c_str());
}

void TF1Dlg::CleanupWindow() {
    TChartWindowState& s = ChartWindowState();
    s.inputMode = 0;
    s.redrawRequest = 1;
    ui::ClipCursor(nullptr);
    TMapDialog::CleanupWindow();
}

void TF1Dlg::CmManual() {
    const std::string found = os::findNoCase(kHelpDocument);
    OpenHelpDocument(kHelpDocument, found.empty() ? std::string(kHelpDocument) : found);
    CloseWindow(ui::IDOK);
}
