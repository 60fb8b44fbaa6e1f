#include "gadgets/TScaleGadget.h"

#include "gadgets/GadgetPaint.h"
#include "gadgets/GadgetTexts.h"

TScaleGadget::TScaleGadget(int id, TBorderStyle borderStyle) : TGadget(id, borderStyle) {}

void TScaleGadget::SetValue(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    Invalidate();
}

void TScaleGadget::GetDesiredSize(ui::TSize& size) {
    TGadget::GetDesiredSize(size);
    AddSampleExtent(*this, size, "1: 000 000 000");
}

void TScaleGadget::Paint(ui::TDC& dc) {
    PaintGadgetText(*this, dc, ScaleText(scale_), GadgetTextColour(kGadgetTextNormal, 0));
}
