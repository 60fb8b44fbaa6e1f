#include "dialogs/TGraphWindow.h"

#include "app/ViewerPalette.h"
#include "graphics/GraphicsLayer.h"
#include "nmea/NmeaInput.h"
#include "os/Clock.h"
#include "TideWave.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kInset = 5;
constexpr int kDayColour = 14, kTwilightColour = 12;
const gdi::Colour kPlotGrey = gdi::rgb(70, 70, 70);
const gdi::Colour kGridGrey = gdi::rgb(150, 150, 150);
const gdi::Colour kRed = gdi::rgb(255, 0, 0);

// Minutes of the day of a sun time, or -1 when it does not occur.
int minutesOf(const t_time& t) {
    return t.hour < 0 ? -1 : t.hour * 60 + t.minute;
}

struct Plot {
    int left, top, w, h; // the plot's top left corner and its size
    int x(long long minutes) const { return left + int(minutes * w / 1440); }
};

void line(gdi::Dc& dc, int x1, int y1, int x2, int y2) {
    const gdi::XY points[] = {{x1, y1}, {x2, y2}};
    dc.polyline(points);
}

// A band from minute `from` to minute `to` over the plot's height; one that
// runs past midnight is drawn in its two pieces.
void band(gdi::Dc& dc, const Plot& p, int from, int to, gdi::Colour colour) {
    const gdi::Brush brush = gdi::Brush::solid(colour);
    if (from <= to) {
        dc.fillRect(p.x(from), p.top, p.x(to), p.top + p.h, brush);
        return;
    }
    dc.fillRect(p.x(from), p.top, p.x(1440), p.top + p.h, brush);
    dc.fillRect(p.x(0), p.top, p.x(to), p.top + p.h, brush);
}

} // namespace

DEFINE_RESPONSE_TABLE1(TGraphWindow, ui::TControl)
EV_WM_MOUSEMOVE, END_RESPONSE_TABLE;

TGraphWindow::TGraphWindow(ui::TWindow* parent, int id, const TideWave* wave, os::Clock* clock)
    : ui::TControl(parent, id), wave_(wave), clock_(clock) {}

const char* TGraphWindow::GetClassName() {
    return "TGraphWindow";
}

void TGraphWindow::GetWindowClass(ui::WNDCLASS& wc) {
    ui::TControl::GetWindowClass(wc);
    wc.hbrBackground.reset();
}

void TGraphWindow::Paint(ui::TDC& dc, bool, ui::TRect&) {
    PaintGraph(dc, GetClientRect());
}

void TGraphWindow::PaintGraph(gdi::Dc& dc, const ui::TRect& r) const {
    dc.selectPalette(ProgramPalette());
    dc.realizePalette();
    const Plot p{r.left + kInset, r.top + kInset, r.Width() - 2 * kInset, r.Height() - 2 * kInset};
    dc.fillRect(r.left, r.top, r.right, r.bottom, gdi::Brush::solid(gdi::kBlack));
    if (p.w <= 0 || p.h <= 0) return;
    dc.fillRect(p.left, p.top, p.left + p.w, p.top + p.h, gdi::Brush::solid(kPlotGrey));

    // Day and twilight.
    if (wave_) {
        t_time rise, set, dawn, dusk;
        wave_->GetSunRize(rise);
        wave_->GetSunSet(set);
        wave_->GetBeginTwilight(dawn);
        wave_->GetEndTwilight(dusk);
        const int r0 = minutesOf(rise), r1 = minutesOf(set);
        const int t0 = minutesOf(dawn), t1 = minutesOf(dusk);
        const bool sun = r0 >= 0 && r1 >= 0, twilight = t0 >= 0 && t1 >= 0;
        const gdi::Colour day = gdColour(kDayColour), dim = gdColour(kTwilightColour);
        if (r0 < 0 && r1 < 0 && t0 < 0 && t1 < 0) {
            // No sun event at all: a polar day in the port's summer, else night.
            t_date date;
            wave_->GetPredictionDate(&date);
            const int lat = wave_->GetPortLat();
            const bool summer = lat > 0 ? date.month >= 5 && date.month <= 9
                                        : lat < 0 && (date.month <= 4 || date.month >= 10);
            if (summer) band(dc, p, 0, 1440, day);
        } else if (sun && !twilight) {
            band(dc, p, 0, 1440, dim);
            band(dc, p, r0, r1, day);
        } else if (twilight) {
            band(dc, p, t0, t1, dim);
            if (sun) band(dc, p, r0, r1, day);
        }
    }

    // The grid: hours 1 to 23, fifths of the height.
    dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 1, kGridGrey});
    for (int i = 1; i <= 23; ++i) {
        const int x = p.left + i * p.w / 24;
        line(dc, x, p.top, x, p.top + p.h);
    }
    for (int k = 0; k <= 5; ++k) {
        const int y = p.top + p.h - k * p.h / 5;
        line(dc, p.left, y, p.left + p.w, y);
    }
    if (!wave_) return;

    // The present time in the port's standard time.
    const os::SystemTime now = (clock_ ? *clock_ : NavClock()).now();
    const double hour = now.hour + now.minute / 60.0 - wave_->GetTimeZone();
    if (hour >= 0 && hour < 24) {
        dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 1, kRed});
        const int x = p.left + int(hour * p.w / 24);
        line(dc, x, p.top, x, p.top + p.h);
    }

    // The curve.
    const int n = wave_->GetNumPoints();
    if (n < 2) return;
    short highIndex = 0;
    const double top = std::max(1.0, std::ceil(wave_->GetMaxValue(highIndex) * 0.01));
    const double scale = p.h / (top * 100); // pixels per centimetre
    std::vector<gdi::XY> points(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int x = p.left + int(std::ceil(double(i) * p.w / (n - 1)));
        const double dy = std::ceil(double(wave_->GetPoint(i)) * scale);
        const double y = std::clamp(double(p.top + p.h) - dy, double(p.top), double(p.top + p.h));
        points[std::size_t(i)] = {x, int(y)};
    }
    dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 2, kRed});
    dc.polyline(points);
}

TGraphWindow::TReadout TGraphWindow::ReadoutAt(int x, int width) const {
    const int w = width - 2 * kInset;
    const int n = wave_ ? wave_->GetNumPoints() : 0;
    const int c = x - kInset;
    if (c <= 0 || w <= 0) return {"00:00", 0};
    if (c >= w) return {"24:00", std::max(0, n - 1)};
    const double hours = double(c) * 24 / w;
    const int hour0 = int(hours);
    const int minute = int((hours - hour0) * 60);
    int hour = hour0 + summerHour_;
    if (hour >= 24) hour -= 24;
    char text[16];
    std::snprintf(text, sizeof text, "%02i:%02i", hour, minute);
    const int index = n > 0 ? int(std::nearbyint(double(c) * (n - 1) / w)) : 0;
    return {text, index};
}

void TGraphWindow::EvMouseMove(ui::UINT, const ui::TPoint& point) {
    ui::TWindow* dialog = GetParentO();
    if (!wave_ || !dialog) return;
    const TReadout r = ReadoutAt(point.x, GetClientRect().Width());
    char height[32];
    std::snprintf(height, sizeof height, "%.1f M", wave_->GetPoint(r.index) * 0.01);
    dialog->SetDlgItemText(1418, r.time.c_str());
    dialog->SetDlgItemText(1419, height);
}
