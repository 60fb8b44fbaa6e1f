#include "gadgets/GadgetPaint.h"

#include "dialogs/ReadoutText.h"
#include "gadgets/GadgetTexts.h"
#include "ui/Screen.h"

void AddSampleExtent(const ui::TGadget& gadget, ui::TSize& size, std::string_view sample) {
    const ui::TGadgetWindow* window = gadget.GetGadgetWindow();
    if (!window) return;
    const gdi::XY extent = window->GetGdiFont()->extent(sample);
    size.cx += extent.x + 2;
    size.cy += extent.y + 2;
}

ui::TColor GadgetTextColour(int colourType, int illuminationLevel) {
    return colourType == kGadgetTextNormal ? ui::GetSysColor(ui::COLOR_BTNTEXT)
                                           : TextColourByType(colourType, illuminationLevel);
}

void PaintGadgetText(ui::TGadget& gadget, ui::TDC& dc, std::string_view text, ui::TColor colour) {
    gadget.PaintBorder(dc);
    ui::TRect inner;
    gadget.GetInnerRect(inner);
    const gdi::XY extent = dc.textExtent(text);
    int x = inner.left;
    if (extent.x < inner.Width()) x += (inner.Width() - extent.x) / 2;
    const int y = inner.top + (inner.Height() - extent.y) / 2;
    dc.setTextColour(colour);
    dc.setBkColour(ui::GetSysColor(ui::COLOR_BTNFACE));
    dc.setBkMode(gdi::BkMode::Opaque);
    dc.setTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    const gdi::TextRect clip{inner.left, inner.top, inner.right, inner.bottom};
    dc.extTextOut(x, y, gdi::ETO_OPAQUE | gdi::ETO_CLIPPED, &clip, text);
}
