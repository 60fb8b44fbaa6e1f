// The status bar's chart scale ("1: 25 000").
#pragma once

#include "ui/Gadgets.h"

class TScaleGadget : public ui::TGadget {
  public:
    explicit TScaleGadget(int id, TBorderStyle borderStyle = Recessed);

    // The scale denominator; the gadget paints again only when it changes.
    void SetValue(double scale);
    double GetValue() const { return scale_; }

    // The base size and the extent of "1: 000 000 000", plus 2 each way.
    void GetDesiredSize(ui::TSize& size) override;
    void Paint(ui::TDC& dc) override;

  private:
    double scale_ = 0;
};
