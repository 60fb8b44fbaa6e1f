// An information field of the status bar: the GPS state (kind 1), the track
// (2), the time since the trip log was reset (4) or the trip distance (5).
// The chart window's timer hands every gadget its values each round, and each
// round the gadget paints again.
#pragma once

#include "gadgets/GadgetTexts.h"
#include "ui/Gadgets.h"

#include <ctime>

class TInfoGadget : public ui::TGadget {
  public:
    TInfoGadget(int id, int kind, TBorderStyle borderStyle = Recessed);

    int GetKind() const { return kind_; }
    // Keeps the values and paints again.
    void SetValues(const TInfoGadgetValues& values);
    const TInfoGadgetValues& GetValues() const { return values_; }

    // The base size and the extent of "SOG: 23.4 kt " + 0xB0, plus 2 each way.
    void GetDesiredSize(ui::TSize& size) override;
    // Each paint of the track switches its blink phase.
    void Paint(ui::TDC& dc) override;

  private:
    int kind_;
    TInfoGadgetValues values_;
    bool blinkOn_ = false;
    std::time_t start_ = 0; // start of the elapsed time
};
