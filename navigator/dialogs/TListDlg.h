// The list chooser (template 13): a drop-down list 1301 of items, each with
// a value, and the buttons OK (1302) and "Retur" (1303, enabled only in
// selection mode 2). Its opener (the chart window, command 97) sets the
// selection mode (ChartWindowState().listMode) and fills it with AddItem.
//
// Choosing takes the selected item's value; a value of 0 or below (or no
// item) changes nothing and the chooser stays. Otherwise, by the mode:
//   1: the value is the chosen item and the pending action becomes 5;
//   2: the value is the active route; its text, cut to 35 characters, becomes
//      the first route name when no route was active, else the second; the
//      forward flag is 1 for OK and 0 for "Retur"; the follow-route and
//      redraw requests are set;
//   3: the value is the third selection.
// Then the mode returns to 0 and the chooser closes (it is deleted after the
// current message). Closing it in any way clears the chart window's listDlg.
//
//   ChartWindowState().listMode = 2;
//   chart->listDlg = list = new TListDlg(chart);
//   list->Create();
//   list->AddItem("Bergen - Askøy  (12.4)", 17);
#pragma once

#include "dialogs/TMapDialog.h"
#include "resources/DialogTemplates.h"

#include <string>
#include <utility>
#include <vector>

namespace ui {
class TComboBox;
}

inline constexpr int kListCombo = 1301, kListOk = 1302, kListReverse = 1303;
// The longest route name kept.
inline constexpr std::size_t kRouteNameLength = 35;

class TListDlg : public TMapDialog {
  public:
    explicit TListDlg(TMapWindow* owner, int resId = kListTemplate);
    ~TListDlg() override;

    // Appends an item (Windows-1252 text) with its value.
    void AddItem(const char* text, int value);

    void CmOk();
    void CmReverse();

  protected:
    void SetupWindow() override;
    void CleanupWindow() override;

  private:
    void Choose(bool forward);

    ui::TComboBox* combo_;
    std::vector<std::pair<std::string, int>> items_; // added before the window existed

    DECLARE_RESPONSE_TABLE(TListDlg);
};
