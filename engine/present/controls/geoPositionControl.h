// "TGeoPosition32": a latitude or longitude entry in degrees, minutes,
// optional seconds and decimals, with a hemisphere letter and an up-down.
//
// Its value is a binary angle (0x40000000 = 90 degrees, negative south or
// west). The fields hold it at a resolution the style chooses, from whole
// minutes down to a thousandth of a second; conversions round to nearest,
// halves away from zero.
//
// Style bits (the low 16 of the window style):
//   bit 0    latitude (2-digit degrees, "N"/"S", at most 90); clear: longitude
//            (3-digit degrees, "E"/"W", at most 180)
//   bit 1    no up-down
//   bit 2    with seconds
//   bits 4-5 k: no decimals for 0, else a decimals field of k + 1 digits (at
//            most 3 with seconds)
// Children: 100 degrees, 101 "°", 102 minutes, 103 "'", 104 seconds, 105 '"',
// 106 ".", 107 decimals (edits and static texts), 108 the hemisphere list,
// 109 the up-down.
//
// Messages:
//   CTLM_GETVALUE  lParam: std::int32_t* receiving the angle. 1; 0 for a null
//                  pointer or an invalid field (not a number, degrees above
//                  the maximum, minutes or seconds above 59, decimals not
//                  below their divisor, a total beyond 90 or 180 degrees).
//   CTLM_SETVALUE  lParam: the angle. Writes its magnitude into the fields
//                  and the hemisphere from its sign, and keeps it; 1. A
//                  latitude beyond 90 degrees is refused with 0, nothing
//                  changed.
//   CTLM_MODIFIED  1 when the fields' value differs from the kept one at the
//                  fields' resolution (the hemisphere included); 0 when equal
//                  or invalid.
#pragma once

#include "controls/dialogControl.h"

class QListWidget;

class TGeoPositionControl : public TDialogControl {
  public:
    // Creates the children for the style and shows 0 ("N" or "E").
    TGeoPositionControl(QWidget* parent, std::uint32_t style, int id);

  protected:
    std::intptr_t getValue(std::uintptr_t wParam, std::intptr_t lParam) override;
    std::intptr_t setValue(std::uintptr_t wParam, std::intptr_t lParam) override;
    std::intptr_t isModified() override;
    void layoutChildren() override;
    bool fieldRange(int id, int& max, const char*& format) const override;

  private:
    // The fields' value in units of their resolution, signed by the
    // hemisphere; false when a field is invalid.
    bool readFields(std::int64_t& units) const;
    // A binary angle in units of the fields' resolution, signed.
    std::int64_t unitsOf(std::int32_t angle) const;

    bool latitude_, seconds_, upDown_;
    int layout_;              // row of the layout table
    int decimals_;            // digits of the decimals field, 0 for none
    std::int64_t divisor_;    // 10 ^ decimals_
    std::int64_t unitsPer90_; // field resolution: units in 90 degrees
    const char* decimalsFormat_;
    QListWidget* hemisphere_;
    std::int32_t value_ = 0; // the kept value
};
