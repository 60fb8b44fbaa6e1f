#include "dialogs/ReadoutPanels.h"

#include "chart/ChartWindowState.h"
#include "dialogs/ReadoutText.h"
#include "dialogs/TGaugeX.h"
#include "gadgets/GadgetTexts.h"
#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "os/Clock.h"
#include "route/RouteFollowing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// The navigation clock's time, seconds since 1970.
std::time_t clockNow() {
    return os::toTimeT(NavClock().now());
}

std::tm localTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

template <class... A> void setText(ui::TWindow& w, int id, const char* fmt, A... args) {
    char text[96];
    std::snprintf(text, sizeof text, fmt, args...);
    w.SetDlgItemText(id, text);
}

// Nautical miles with one decimal from 1 on, else two.
const char* milesFormat(double d) {
    return d >= 1 ? "%.1f" : "%.2f";
}

} // namespace

// --- Position ---

TGPSPosDlg::TGPSPosDlg(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TGPSPosDlg::Update() {
    double lon = cursorLon, lat = cursorLat;
    if (!showCursor) {
        const NavState nav = NavSnapshot().nav;
        lon = nav.longitude;
        lat = nav.latitude;
    }
    SetDlgItemText(2201, CoordinateText(lat, false).c_str());
    SetDlgItemText(2202, CoordinateText(lon, true).c_str());
}

// --- Date and time ---

TDateDlg::TDateDlg(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TDateDlg::Update() {
    const std::time_t now = clockNow();
    const long long minute = (long long)now / 60;
    if (minute == shownMinute_) return;
    shownMinute_ = minute;
    const std::tm t = localTime(now);
    setText(*this, 1801, "%02d.%02d.%02d   %02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year % 100,
            t.tm_hour, t.tm_min);
}

// --- Wind ---

TWindDlg::TWindDlg(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TWindDlg::Update() {
    const NavState nav = NavSnapshot().nav;
    setText(*this, 2501, "%4.1f m/s  %03.0f \xB0", double(nav.windSpeed),
            double(nav.windDirection));
}

// --- Bearing and distance to the cursor ---

TBearingInfoDlg::TBearingInfoDlg(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TBearingInfoDlg::Update() {
    const TChartWindowState& s = ChartWindowState();
    const NavState nav = NavSnapshot().nav;
    double relative = s.cursorBearing - nav.courseOverGround;
    if (relative < 0) relative += 360;
    setText(*this, 1501, "%05.1f", s.cursorBearing);
    setText(*this, 1502, "%05.1f", relative);
    const TDistanceText d =
        BearingDistanceText(s.cursorDistance, ChartSettings().shortDistancesInMetres != 0);
    SetDlgItemText(1503, d.value.c_str());
    SetDlgItemText(1504, d.unit.c_str());
}

// --- Speed and course ---

TSOGCOGDlg::TSOGCOGDlg(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TSOGCOGDlg::Update() {
    const NavState nav = NavSnapshot().nav;
    setText(*this, 1602, "%05.1f \xB0", double(nav.courseOverGround));
    setText(*this, 1601, "%.1f kt", double(nav.speedOverGround));
}

// --- Depth ---

TDepthDlg::TDepthDlg(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TDepthDlg::Update() {
    setText(*this, 2401, "%5.1f mtr", double(NavSnapshot().nav.depth));
}

// --- The leg being followed ---

TRouteInfoDlg1::TRouteInfoDlg1(TMapWindow* owner, int resId)
    : TReadoutPanel(owner, resId), portGauge_(new TGaugeX(this, 1904, true)),
      starboardGauge_(new TGaugeX(this, 1905, false)) {}

void TRouteInfoDlg1::Update() {
    const TChartWindowState& s = ChartWindowState();
    const int dest = s.destinationIndex;
    const bool lastLeg = dest >= s.routePointCount - 1;
    if (lastLeg || dest < 0)
        setText(*this, 1901, "%05.1f \xB0  ( end )  ", s.routeBearing);
    else
        setText(*this, 1901, "%05.1f \xB0  ( %05.1f \xB0)  ", s.routeBearing,
                double(s.routePoints[std::size_t(dest)].legCourse));
    char format[16];
    std::snprintf(format, sizeof format, "%s Nm", milesFormat(s.routeRange));
    setText(*this, 1902, format, s.routeRange);

    // The leg that ends at the waypoint steered for.
    const bool onLeg = s.followingState == 1 && dest >= 1 && dest < s.routePointCount;
    const double x = onLeg ? s.crossTrackError : 0;
    if (onLeg)
        setText(*this, 1903, x >= 0 ? "%.2f port" : "%.2f stbd", std::fabs(x));
    else
        SetDlgItemText(1903, "");
    const int limit = onLeg ? s.routePoints[std::size_t(dest - 1)].crossTrackLimit : 0;
    const ui::TColor green = gdi::rgb(0, s.illuminationLevel > 1 ? 191 : 255, 0);
    for (TGaugeX* g : {portGauge_, starboardGauge_}) {
        if (limit != limit_) {
            g->SetLimit(limit);
            g->SetValue(0);
        }
        g->SetBarColor(green);
    }
    limit_ = limit;
    const int value = int(std::fmin(std::fabs(x) * 1000, 1e6));
    portGauge_->SetValue(x >= 0 ? value : 0);
    starboardGauge_->SetValue(x < 0 ? value : 0);
}

// --- The rest of the route ---

TRouteInfoDlg2::TRouteInfoDlg2(TMapWindow* owner, int resId) : TReadoutPanel(owner, resId) {}

void TRouteInfoDlg2::Update() {
    const TChartWindowState& s = ChartWindowState();
    const int count = std::min(s.routePointCount, kRoutePointMax);
    const int dest = s.destinationIndex;
    const double total = DistanceToGo(s);
    setText(*this, 2005, "%d:", count);
    setText(*this, 2003, milesFormat(total), total);
    const double speed = NavSnapshot().nav.speedOverGround;
    if (speed > 0) {
        const double hours = total / speed;
        const std::time_t eta =
            clockNow() + std::time_t(std::nearbyint(std::fmin(hours, 876000.0) * 3600));
        const std::tm t = localTime(eta);
        setText(*this, 2002, "%02d:%02d", t.tm_hour, t.tm_min);
        const std::string toGo = TimeToGoText(s.routeRange, speed);
        setText(*this, 2004, "%d:  %s", dest + 1, toGo.c_str());
    } else {
        SetDlgItemText(2002, ".......");
        SetDlgItemText(2004, " .............. ");
    }
}
