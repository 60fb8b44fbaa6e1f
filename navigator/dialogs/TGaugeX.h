// The route panel's cross-track gauge: a frame, a background bar, a limit bar
// and the value bar, the bars growing from the left or from the right edge.
//
// Units are the gauge's own (the route panel uses thousandths of a nautical
// mile, range 0 to 100). The limit bar is min(maximum, 10 x the cross-track
// limit in hundredths of a nautical mile) long; both bars are scaled by the
// inner width over (maximum - minimum), so a gauge whose maximum equals its
// minimum draws neither.
//
//   auto* gauge = new TGaugeX(panel, 1904, true); // grows from its right edge
//   gauge->SetLimit(5);                           // 0.05 Nm: half the width
//   gauge->SetValue(30);                          // 0.03 Nm
#pragma once

#include "ui/Controls.h"

class TGaugeX : public ui::TGauge {
  public:
    // The gauge in the custom item resourceId of the parent dialog.
    TGaugeX(ui::TWindow* parent, int resourceId, bool fromRight);

    // The cross-track limit, hundredths of a nautical mile (0: no limit bar).
    void SetLimit(int crossTrackLimit);
    int GetLimit() const { return limit_; }
    void SetBarColor(ui::TColor colour);
    ui::TColor GetBarColor() const { return bar_; }
    bool FromRight() const { return fromRight_; }

    void Paint(ui::TDC& dc, bool erase, ui::TRect& rect) override;
    // The gauge drawn into the rectangle r of dc.
    void PaintGauge(gdi::Dc& dc, const ui::TRect& r) const;

  private:
    bool fromRight_;
    int limit_ = 0;
    ui::TColor bar_;
};
