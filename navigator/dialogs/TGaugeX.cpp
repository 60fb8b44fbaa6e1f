#include "dialogs/TGaugeX.h"

#include "ui/Screen.h"

#include <algorithm>

TGaugeX::TGaugeX(ui::TWindow* parent, int resourceId, bool fromRight)
    : ui::TGauge(parent, resourceId), fromRight_(fromRight), bar_(gdi::rgb(0, 255, 0)) {}

void TGaugeX::SetLimit(int crossTrackLimit) {
    if (crossTrackLimit == limit_) return;
    limit_ = crossTrackLimit;
    Invalidate(true);
}

void TGaugeX::SetBarColor(ui::TColor colour) {
    if (colour == bar_) return;
    bar_ = colour;
    Invalidate(true);
}

void TGaugeX::Paint(ui::TDC& dc, bool, ui::TRect&) {
    PaintGauge(dc, GetClientRect());
}

void TGaugeX::PaintGauge(gdi::Dc& dc, const ui::TRect& r) const {
    dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 1, gdi::kBlack});
    dc.setBrush(gdi::Brush::null());
    dc.rectangle(r.left, r.top, r.right, r.bottom);
    const ui::TRect inner(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    if (inner.IsEmpty()) return;
    dc.fillRect(inner.left, inner.top, inner.right, inner.bottom,
                gdi::Brush::solid(ui::GetSysColor(ui::COLOR_WINDOW)));
    int min = 0, max = 0;
    GetRange(min, max);
    const long long range = (long long)max - min;
    if (range == 0) return;
    const auto bar = [&](long long length, ui::TColor colour) {
        const int w = int(std::clamp<long long>(length * inner.Width() / range, 0, inner.Width()));
        if (w <= 0) return;
        if (fromRight_)
            dc.fillRect(inner.right - w, inner.top, inner.right, inner.bottom,
                        gdi::Brush::solid(colour));
        else
            dc.fillRect(inner.left, inner.top, inner.left + w, inner.bottom,
                        gdi::Brush::solid(colour));
    };
    if (limit_ > 0)
        bar(std::min<long long>(max, 10LL * limit_) - min, ui::GetSysColor(ui::COLOR_BTNSHADOW));
    bar((long long)GetValue() - min, bar_);
}
