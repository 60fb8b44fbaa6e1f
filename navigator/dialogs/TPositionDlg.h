// The position entry (template 10, "Oppgi ønsket posisjon"), run modally by
// the chart window: latitude degrees, minutes, decimals of the minute and
// hemisphere (1001 to 1004, default "N"), longitude the same (1005 to 1008,
// default "E"). The edits take 2, 2, 3, 1, 3, 2, 3 and 1 characters.
//
// OK reads degrees + minutes / 60 + decimals / (10^digits x 60): "5" is 0.5
// minute and "050" 0.05 minute. The hemisphere is its one character in upper
// case; anything but N (E) makes the value negative. OK is refused, with the
// focus on the field, for a character that is not a digit, minutes of 60 or
// more, a latitude above 90 or a longitude above 180; empty fields count 0.
// Accepted, it stores longitude and latitude (degrees, south and west
// negative) in the chart window's entered position and closes; Cancel stores
// nothing.
//
//   TPositionDlg dlg(chart);
//   if (dlg.Execute() == ui::IDOK) chart->MoveCentre(s.enteredLon, s.enteredLat, true);
#pragma once

#include "dialogs/TMapDialog.h"
#include "resources/DialogTemplates.h"

#include <array>

namespace ui {
class TEdit;
}

class TPositionDlg : public TMapDialog {
  public:
    explicit TPositionDlg(TMapWindow* owner, int resId = kPositionTemplate);

    void CmOk();

  private:
    // Reads one coordinate from edits first..first + 3; false (with the focus
    // on the field at fault) when a rule refuses it.
    bool ReadCoordinate(int first, int maxDegrees, char positive, double& degrees);

    std::array<ui::TEdit*, 8> edits_;

    DECLARE_RESPONSE_TABLE(TPositionDlg);
};
