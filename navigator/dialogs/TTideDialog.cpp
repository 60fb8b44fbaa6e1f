#include "dialogs/TTideDialog.h"

#include "TideWave.h"
#include "app/ViewerModule.h"
#include "app/ViewerSettings.h"
#include "chart/ChartWindowState.h"
#include "dialogs/TGraphWindow.h"
#include "geo/GeoPoint.h"
#include "geo/crdText.h"
#include "os/drives.h"
#include "resources/DialogTemplates.h"
#include "ui/Cursor.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

// The computer's standard zone in the library's sign (local = UTC - zone) in
// the year of t, from a day of that year without summer time; false when
// there is none or it is not whole hours.
bool standardZone(int year, int& zone) {
    for (int month : {0, 6}) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month;
        t.tm_mday = 1;
        t.tm_hour = 12;
        t.tm_isdst = -1;
        if (std::mktime(&t) == std::time_t(-1) || t.tm_isdst > 0) continue;
        if (t.tm_gmtoff % 3600 != 0) return false;
        zone = int(-t.tm_gmtoff / 3600);
        return true;
    }
    return false;
}

// The digits of an edit as a number; false for an empty field or any other
// character.
bool readNumber(const ui::TWindow& dialog, int id, int size, int& value) {
    char text[8] = {};
    dialog.GetDlgItemText(id, text, size);
    if (text[0] == '\0') return false;
    value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + (*c - '0');
    }
    return true;
}

std::string tideFolder() {
    const std::string& dir = ViewerSettings().tideDir;
    return dir.empty() ? std::string() : os::localPath(dir);
}

} // namespace

int SummerHourOfPort(int portZone, int day, int month, int year) {
    tzset();
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    if (std::mktime(&t) == std::time_t(-1) || t.tm_isdst <= 0) return 0;
    int zone = 0;
    return standardZone(year, zone) && zone == portZone ? 1 : 0;
}

DEFINE_RESPONSE_TABLE1(TTideDialog, ui::TDialog)
EV_COMMAND(kTideNewCurve, CmNewCurve), END_RESPONSE_TABLE;

TTideDialog::TTideDialog(ui::TWindow* parent, int latMinutes, int lonMinutes,
                         std::uint32_t packedDate, float step, os::Clock* clock)
    : ui::TDialog(parent, kTideTemplate, &ViewerModule()), step_(step),
      day_(int(packedDate & 0xFF)), month_(int(packedDate >> 8 & 0xFF)),
      year_(int(packedDate >> 16)) {
    std::string dir = tideFolder();
    wave_ = std::make_unique<TideWave>(short(latMinutes), short(lonMinutes), dir.data(), nullptr);
    wave_->Calculate(step_, char(day_), char(month_), short(year_));
    graph_ = new TGraphWindow(this, kTideGraph, wave_.get(), clock);
}

TTideDialog::~TTideDialog() {
    Destroy();
    delete graph_;
}

void TTideDialog::SetupWindow() {
    ui::TDialog::SetupWindow();
    // A visible dialog is shown first, so that OK's rectangle is the one on
    // the screen when the mouse goes there.
    if (Attr.Style & ui::WS_VISIBLE) ShowWindow(ui::SW_SHOWNA);
    const ui::TRect ok = ui::GetWindowRect(GetDlgItem(ui::IDOK));
    ui::SetCursorPos(ok.left + 75, ok.top + 15);
    const ui::TRect self = GetWindowRect();
    ui::ClipCursor(&self);
    ChartWindowState().inputMode = 8;
    char text[8];
    std::snprintf(text, sizeof text, "%02d", day_);
    SetDlgItemText(kTideDay, text);
    std::snprintf(text, sizeof text, "%02d", month_);
    SetDlgItemText(kTideMonth, text);
    std::snprintf(text, sizeof text, "%04d", year_);
    SetDlgItemText(kTideYear, text);
    Refresh();
}

void TTideDialog::CleanupWindow() {
    ChartWindowState().inputMode = 0;
    ui::ClipCursor(nullptr);
    if (ui::TWindow* parent = GetParentO(); parent && parent->IsWindow()) {
        const ui::TRect r = parent->GetWindowRect();
        ui::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    ui::TDialog::CleanupWindow();
}

void TTideDialog::CmNewCurve() {
    Refresh();
}

bool TTideDialog::Refresh() {
    int day = 0, month = 0, year = 0;
    if (!readNumber(*this, kTideDay, 3, day) || !readNumber(*this, kTideMonth, 3, month) ||
        !readNumber(*this, kTideYear, 5, year))
        return false;
    if (wave_->Calculate(step_, char(day), char(month), short(year)) != 0) return false;
    const int zone = wave_->GetTimeZone();
    summerHour_ = SummerHourOfPort(zone, day, month, year);

    char text[96];
    wave_->GetPortName(text);
    SetDlgItemText(kTidePortName, text);
    const long double lat = wave_->GetPortLat() / 60.0L, lon = wave_->GetPortLon() / 60.0L;
    if (_crd2str(deg2nrm(lat), text, _apszgpFormat[3], 0x4E53, 0x40000000u, 3, 90u, 60u, 1000u))
        SetDlgItemText(kTideLatitude, text);
    if (_crd2str(deg2nrm(lon), text, _apszgpFormat[3], 0x4557, 0x80000000u, 3, 90u, 60u, 1000u))
        SetDlgItemText(kTideLongitude, text);

    // A height with the local hour and minute of its point.
    const auto show = [&](float value, short index, int heightId, int hourId, int minuteId) {
        std::snprintf(text, sizeof text, "%.1f M", value * 0.01);
        SetDlgItemText(heightId, text);
        const double t = double(step_) * index;
        const double whole = std::trunc(t);
        int hour = int(whole) + summerHour_;
        int minute = int(std::trunc((t - whole) * 60 + 0.5));
        if (minute >= 60) minute -= 60, ++hour;
        if (hour >= 24) hour -= 24;
        std::snprintf(text, sizeof text, "%02i", hour);
        SetDlgItemText(hourId, text);
        std::snprintf(text, sizeof text, "%02i", minute);
        SetDlgItemText(minuteId, text);
    };
    short high = 0, low = 0;
    const float highest = wave_->GetMaxValue(high);
    const float lowest = wave_->GetMinValue(low);
    show(highest, high, kTideHighHeight, kTideHighHour, kTideHighMinute);
    show(lowest, low, kTideLowHeight, kTideLowHour, kTideLowMinute);
    std::snprintf(text, sizeof text, "%i", zone - summerHour_);
    SetDlgItemText(kTideZone, text);

    graph_->SetSummerHour(summerHour_);
    graph_->Invalidate(true);
    return true;
}
