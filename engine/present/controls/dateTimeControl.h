// "TDateTime32": a date and time entry of up to six fields (day, month,
// year, hour, minute, second), or a count of days with the time.
//
// Its value is a file time: 100-nanosecond ticks since 1601-01-01 00:00. The
// fields show its calendar parts; parts without a field (milliseconds and
// finer always) are kept from the value last set.
//
// Style bits (the low 16 of the window style): 1 day, 2 month, 4 year,
// 8 hour, 16 minute, 32 second. A style of 64 or more drops the day and the
// year; when bits 6-7 are then non-zero and the month is present, the month
// field shows the date as a count of days since 1601-01-01, 4 × (bits 6-7)
// layout units wide.
// Children: edits 100 day, 102 month, 104 year, 106 hour, 108 minute,
// 110 second; between two present fields a static text (101, 103, 105, 107,
// 109: the one after the earlier field) of "." between date fields, " "
// between the date and the time, ":" between time fields.
//
// Messages:
//   CTLM_GETVALUE  wParam 0: lParam is a TFileTime*; otherwise a
//                  TSystemTime*. The kept value with the fields' parts put
//                  in; 1, or 0 for a null pointer or an invalid field (not a
//                  number, or no such date or time).
//   CTLM_SETVALUE  lParam null: the local time now; wParam 0: lParam is a
//                  const TFileTime*; otherwise a const TSystemTime*. Kept
//                  and written into the fields; 1, or 0 when the value is no
//                  date (nothing changes).
//   CTLM_MODIFIED  1 when the fields' value differs from the kept one; 0
//                  when equal or invalid.
// The control starts with the local time.
#pragma once

#include "controls/dialogControl.h"

#include <cstdint>

namespace os {
class Clock;
}

// 100-nanosecond ticks since 1601-01-01 00:00.
struct TFileTime {
    std::uint64_t ticks = 0;
};

// A calendar date and time of day. dayOfWeek: 0 Sunday to 6 Saturday.
struct TSystemTime {
    std::uint16_t year = 1601; // 1601 to 30827
    std::uint16_t month = 1;   // 1 to 12
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 1;          // 1 to the month's length
    std::uint16_t hour = 0;         // 0 to 23
    std::uint16_t minute = 0;       // 0 to 59
    std::uint16_t second = 0;       // 0 to 59
    std::uint16_t milliseconds = 0; // 0 to 999
};

// The calendar parts of a file time (ticks below a millisecond dropped).
// False when the ticks are 2^63 or more.
bool fileTimeToSystemTime(const TFileTime& fileTime, TSystemTime* systemTime);
// The file time of a calendar date and time (dayOfWeek ignored). False when a
// field is out of its range or the day does not exist in its month.
bool systemTimeToFileTime(const TSystemTime& systemTime, TFileTime* fileTime);

// The clock whose UTC time the controls read for "now" (null: the process's
// real clock). The local time is that UTC time in the process's time zone.
void setDateTimeControlClock(os::Clock* clock);

class QLineEdit;

class TDateTimeControl : public TDialogControl {
  public:
    TDateTimeControl(QWidget* parent, std::uint32_t style, int id);

  protected:
    std::intptr_t getValue(std::uintptr_t wParam, std::intptr_t lParam) override;
    std::intptr_t setValue(std::uintptr_t wParam, std::intptr_t lParam) override;
    std::intptr_t isModified() override;
    void layoutChildren() override;
    bool fieldRange(int id, int& max, const char*& format) const override;

  private:
    // The kept value with the fields' parts put in; false when a field is
    // invalid.
    bool readFields(TFileTime& value) const;
    void writeFields();

    std::uint32_t present_; // style bits of the present fields
    bool dayCount_;         // the month field shows the day count
    int units_[11];         // layout width of children 100 to 110, -1 absent
    TFileTime value_;       // the kept value
};
