// A coordinate read-out of the status bar: a latitude or a longitude in
// degrees, minutes and thousandths of a minute (" 60\xB0 23.850 N").
#pragma once

#include "ui/Gadgets.h"

class TCoordGadget : public ui::TGadget {
  public:
    // longitude: 1 for a longitude, 0 for a latitude; the second number is
    // kept as given (the status bar gives 0 or 1).
    TCoordGadget(int id, int longitude, int second, TBorderStyle borderStyle = Recessed);

    // The coordinate in degrees, east and north positive; the gadget paints
    // again only when it changes.
    void SetValue(double degrees);
    double GetValue() const { return value_; }
    bool IsLongitude() const { return longitude_ != 0; }
    int GetSecond() const { return second_; }

    // The base size and the extent of "000" + 0xB0 + "00.000 W", plus 2 each way.
    void GetDesiredSize(ui::TSize& size) override;
    void Paint(ui::TDC& dc) override;

  private:
    int longitude_;
    int second_;
    double value_ = 0;
};
