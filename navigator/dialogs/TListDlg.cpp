#include "dialogs/TListDlg.h"

#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "ui/Controls.h"

DEFINE_RESPONSE_TABLE1(TListDlg, TMapDialog)
EV_COMMAND(kListOk, CmOk), EV_COMMAND(kListReverse, CmReverse), END_RESPONSE_TABLE;

TListDlg::TListDlg(TMapWindow* owner, int resId)
    : TMapDialog(owner, resId), combo_(new ui::TComboBox(this, kListCombo)) {}

TListDlg::~TListDlg() {
    Destroy();
}

void TListDlg::SetupWindow() {
    TMapDialog::SetupWindow();
    for (const auto& [text, value] : items_)
        combo_->SetItemData(combo_->AddString(text.c_str()), value);
    items_.clear();
    EnableDlgItem(kListReverse, ChartWindowState().listMode == 2);
}

void TListDlg::CleanupWindow() {
    if (owner_ && owner_->listDlg == this) owner_->listDlg = nullptr;
    TMapDialog::CleanupWindow();
}

void TListDlg::AddItem(const char* text, int value) {
    if (!IsWindow()) {
        items_.emplace_back(text ? text : "", value);
        return;
    }
    combo_->SetItemData(combo_->AddString(text ? text : ""), value);
}

void TListDlg::CmOk() {
    Choose(true);
}

void TListDlg::CmReverse() {
    Choose(false);
}

void TListDlg::Choose(bool forward) {
    const int index = combo_->GetSelIndex();
    if (index < 0) return;
    const auto value = std::int32_t(combo_->GetItemData(index));
    if (value <= 0) return;
    TChartWindowState& s = ChartWindowState();
    switch (s.listMode) {
    case 1:
        s.chosenItem = value;
        s.pendingAction = 5;
        break;
    case 2: {
        char text[kRouteNameLength + 1] = {};
        combo_->GetString(text, sizeof text, index);
        (s.activeRouteId == 0 ? s.routeName1 : s.routeName2) = text;
        s.activeRouteId = value;
        s.forwardFlag = forward ? 1 : 0;
        s.followRouteRequest = 1;
        s.redrawRequest = 1;
        break;
    }
    case 3:
        s.thirdSelection = value;
        break;
    default:
        break;
    }
    s.listMode = 0;
    Destroy(ui::IDOK);
    DeleteLater();
}
