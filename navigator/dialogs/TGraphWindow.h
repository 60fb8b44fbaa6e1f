// The tide dialog's graph (control 1401, window class "TGraphWindow"): the
// day's tide curve over day and twilight bands, an hour grid and a line at
// the present time, and the time and height under the mouse.
//
// The client area R is black; the plot is R inset by 5 pixels (W = width - 10
// across, H = height - 10 down) in grey 70. A minute m of the port's
// standard-time day lies at x = 5 + m x W / 1440, so hour i at 5 + i x W / 24.
// Heights are the library's centimetres: the plot's top is
// max(1, ceil(highest x 0.01)) metres, its bottom 0; curve points, bands and
// the present-time line are held inside the plot, so heights below 0 lie on
// its bottom edge. Band colours are chart colours 14 (day) and 12 (twilight)
// through the program palette.
//
//   TGraphWindow graph(dialog, 1401, wave, &NavClock());
//   graph.PaintGraph(dc, ui::TRect(0, 0, 600, 400));
#pragma once

#include "ui/Controls.h"

#include <string>

class TideWave;
namespace os {
class Clock;
}

class TGraphWindow : public ui::TControl {
  public:
    // The graph in the custom item `id` of the parent dialog, drawing `wave`
    // (not owned; null draws the empty plot and grid) with the present time of
    // `clock` (null: the navigation clock).
    TGraphWindow(ui::TWindow* parent, int id, const TideWave* wave, os::Clock* clock = nullptr);

    // The hour the time read-out adds for summer time (0 or 1).
    void SetSummerHour(int hour) { summerHour_ = hour; }
    int GetSummerHour() const { return summerHour_; }

    // The whole graph drawn on dc in the client rectangle.
    void PaintGraph(gdi::Dc& dc, const ui::TRect& client) const;

    // The mouse read-out at client x for a client `width` pixels wide: with
    // c = x - 5, "00:00" and point 0 for c <= 0, "24:00" and the last point
    // for c >= W, otherwise the time c x 24 / W hours (plus the summer hour,
    // less 24 from 24 on) as "%02i:%02i" and the point drawn nearest,
    // round(c x (n - 1) / W).
    struct TReadout {
        std::string time;
        int index = 0;
    };
    TReadout ReadoutAt(int x, int width) const;

    const char* GetClassName() override;
    // No background: the graph paints every pixel.
    void GetWindowClass(ui::WNDCLASS& wc) override;
    void Paint(ui::TDC& dc, bool erase, ui::TRect& rect) override;
    // Writes the read-out into the dialog's 1418 (time) and 1419 (height
    // "%.1f M").
    void EvMouseMove(ui::UINT modKeys, const ui::TPoint& point);

  private:
    const TideWave* wave_;
    os::Clock* clock_;
    int summerHour_ = 0;

    DECLARE_RESPONSE_TABLE(TGraphWindow);
};
