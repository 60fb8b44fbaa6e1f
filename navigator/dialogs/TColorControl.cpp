#include "dialogs/TColorControl.h"

DEFINE_RESPONSE_TABLE1(TColorControl, ui::TControl)
EV_WM_LBUTTONDOWN, END_RESPONSE_TABLE;

TColorControl::TColorControl(ui::TWindow* parent, int resourceId, ui::TColor colour)
    : ui::TControl(parent, resourceId), colour_(colour) {}

void TColorControl::SetColor(ui::TColor colour) {
    if (colour == colour_) return;
    colour_ = colour;
    Invalidate(true);
}

const char* TColorControl::GetClassName() {
    return "ColorControl";
}

void TColorControl::GetWindowClass(ui::WNDCLASS& wc) {
    ui::TControl::GetWindowClass(wc);
    wc.hbrBackground.reset();
}

void TColorControl::Paint(ui::TDC& dc, bool, ui::TRect&) {
    const ui::TRect r = GetClientRect();
    dc.fillRect(r.left, r.top, r.right, r.bottom, gdi::Brush::solid(colour_));
}

void TColorControl::EvLButtonDown(ui::UINT, const ui::TPoint&) {
    if (ui::TWindow* parent = GetParentO())
        parent->SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(ui::UINT(GetId()), kColorControlClicked),
                            ui::LPARAM(GetHandle()));
}
