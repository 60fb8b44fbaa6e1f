#include "gadgets/TInfoGadget.h"

#include "gadgets/GadgetPaint.h"

TInfoGadget::TInfoGadget(int id, int kind, TBorderStyle borderStyle)
    : TGadget(id, borderStyle), kind_(kind) {}

void TInfoGadget::SetValues(const TInfoGadgetValues& values) {
    values_ = values;
    Invalidate();
}

void TInfoGadget::GetDesiredSize(ui::TSize& size) {
    TGadget::GetDesiredSize(size);
    AddSampleExtent(*this, size, "SOG: 23.4 kt \xB0");
}

void TInfoGadget::Paint(ui::TDC& dc) {
    if (kind_ == kInfoTrack) blinkOn_ = !blinkOn_;
    const GadgetText t = InfoText(kind_, values_, blinkOn_, std::time(nullptr), start_);
    PaintGadgetText(*this, dc, t.text, GadgetTextColour(t.colourType, values_.illuminationLevel));
}
