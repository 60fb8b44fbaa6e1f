// A colour patch on a dialog (window class "ColorControl"): it fills its
// client area with its colour and tells its parent of a click with
// WM_COMMAND (its id, notification code 1).
//
//   auto* patch = new TColorControl(dialog, 1701, RGB(255, 0, 0));
//   patch->SetColor(RGB(0, 0, 255)); // painted again
#pragma once

#include "ui/Controls.h"

// The notification code of a click on the patch.
inline constexpr ui::UINT kColorControlClicked = 1;

class TColorControl : public ui::TControl {
  public:
    // The patch in the custom item resourceId of the parent dialog.
    TColorControl(ui::TWindow* parent, int resourceId, ui::TColor colour = gdi::kBlack);

    // A new colour invalidates the patch.
    void SetColor(ui::TColor colour);
    ui::TColor GetColor() const { return colour_; }

    const char* GetClassName() override;
    // No background: the patch paints every pixel.
    void GetWindowClass(ui::WNDCLASS& wc) override;
    void Paint(ui::TDC& dc, bool erase, ui::TRect& rect) override;

    void EvLButtonDown(ui::UINT modKeys, const ui::TPoint& point);

  private:
    ui::TColor colour_;

    DECLARE_RESPONSE_TABLE(TColorControl);
};
