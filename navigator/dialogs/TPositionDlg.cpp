#include "dialogs/TPositionDlg.h"

#include "chart/ChartWindowState.h"
#include "ui/Controls.h"

#include <cmath>
#include <cstring>

namespace {

// Buffer sizes of the eight edits, the terminating NUL included.
constexpr int kBufferSizes[8] = {3, 3, 4, 2, 4, 3, 4, 2};

// The digits of a text as a number (0 when empty) and their count; false
// for any other character.
bool digitsOf(const char* text, int& value, int& digits) {
    value = 0;
    digits = int(std::strlen(text));
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + (*c - '0');
    }
    return true;
}

} // namespace

DEFINE_RESPONSE_TABLE1(TPositionDlg, TMapDialog)
EV_COMMAND(ui::IDOK, CmOk), END_RESPONSE_TABLE;

TPositionDlg::TPositionDlg(TMapWindow* owner, int resId) : TMapDialog(owner, resId) {
    for (int i = 0; i < 8; ++i)
        edits_[std::size_t(i)] = new ui::TEdit(this, 1001 + i, ui::UINT(kBufferSizes[i]));
}

bool TPositionDlg::ReadCoordinate(int first, int maxDegrees, char positive, double& degrees) {
    int values[3] = {}, digits[3] = {};
    for (int f = 0; f < 3; ++f) {
        const int id = first + f;
        char text[8] = {};
        GetDlgItemText(id, text, kBufferSizes[id - 1001]);
        const bool digitsOnly = digitsOf(text, values[f], digits[f]);
        if (!digitsOnly || (f == 1 && values[f] >= 60)) {
            edits_[std::size_t(id - 1001)]->SetFocus();
            return false;
        }
    }
    degrees = values[0] + values[1] / 60.0 + values[2] / (std::pow(10.0, digits[2]) * 60);
    if (degrees > maxDegrees) {
        edits_[std::size_t(first - 1001)]->SetFocus();
        return false;
    }
    char hemisphere[2] = {};
    GetDlgItemText(first + 3, hemisphere, sizeof hemisphere);
    const char letter = hemisphere[0] >= 'a' && hemisphere[0] <= 'z'
                            ? char(hemisphere[0] - 'a' + 'A')
                            : hemisphere[0];
    if (letter != positive) degrees = -degrees;
    return true;
}

void TPositionDlg::CmOk() {
    double lat = 0, lon = 0;
    if (!ReadCoordinate(1001, 90, 'N', lat) || !ReadCoordinate(1005, 180, 'E', lon)) return;
    TChartWindowState& s = ChartWindowState();
    s.enteredLon = lon;
    s.enteredLat = lat;
    CloseWindow(ui::IDOK);
}
