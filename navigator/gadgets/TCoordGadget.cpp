#include "gadgets/TCoordGadget.h"

#include "gadgets/GadgetPaint.h"
#include "gadgets/GadgetTexts.h"

TCoordGadget::TCoordGadget(int id, int longitude, int second, TBorderStyle borderStyle)
    : TGadget(id, borderStyle), longitude_(longitude), second_(second) {}

void TCoordGadget::SetValue(double degrees) {
    if (degrees == value_) return;
    value_ = degrees;
    Invalidate();
}

void TCoordGadget::GetDesiredSize(ui::TSize& size) {
    TGadget::GetDesiredSize(size);
    AddSampleExtent(*this, size,
                    "000\xB0"
                    "00.000 W");
}

void TCoordGadget::Paint(ui::TDC& dc) {
    PaintGadgetText(*this, dc, CoordinateText(value_, IsLongitude()),
                    GadgetTextColour(kGadgetTextNormal, 0));
}
