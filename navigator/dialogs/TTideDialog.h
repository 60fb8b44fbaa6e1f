// The tide dialog (template 14, "Tidevann prognose"): the day's tide curve of
// one port with its graph, the highest and lowest water with their times, the
// port's name, position and time zone, and a date the user may change ("Ny
// kurve"). It is a modeless dialog owned by the chart window, which opens it
// for a clicked tide station; it owns its TideWave.
//
// Times are the port's local time: the library's standard-time hours plus the
// summer hour D, which is 1 when summer time is in force under the computer's
// time-zone rules at noon of the date shown and the port's standard zone is
// the computer's (local = UTC - zone), else 0 (the tide data carry no
// summer-time rules, so a port in another zone shows its standard time). The
// zone shown is the port's zone - D: Bergen in summer on a Norwegian computer
// shows -2.
//
//   auto* tide = new TTideDialog(chart, 3624, 319, 21 | 6 << 8 | 2024 << 16, 0.3f);
//   tide->Create();     // Bergen, 21 June 2024, 81 points
#pragma once

#include "ui/Dialog.h"

#include <cstdint>
#include <memory>

class TideWave;
class TGraphWindow;
namespace os {
class Clock;
}

// Control ids of template 14.
inline constexpr int kTideGraph = 1401, kTideDay = 1402, kTideMonth = 1403, kTideYear = 1404,
                     kTideNewCurve = 1408, kTidePortName = 1410, kTideLatitude = 1411,
                     kTideLongitude = 1412, kTideZone = 1413, kTideHighHeight = 1415,
                     kTideLowHeight = 1416, kTideCursorTime = 1418, kTideCursorHeight = 1419,
                     kTideHighHour = 1420, kTideHighMinute = 1421, kTideLowHour = 1422,
                     kTideLowMinute = 1423;

// The summer hour D of a port of standard zone `portZone` (hours, local =
// UTC - zone) on the date: 1 when the computer's time-zone rules (TZ) put
// summer time in force at noon of that local date and their standard zone is
// the port's; else 0 (also for a date mktime cannot take).
int SummerHourOfPort(int portZone, int day, int month, int year);

class TTideDialog : public ui::TDialog {
  public:
    // The port at latMinutes, lonMinutes (minutes of arc, north and east
    // positive) on the packed date day | month << 8 | year << 16, at `step`
    // hours (0.3: 81 points). Makes its TideWave with the tide folder of the
    // settings and computes it; `clock` gives the present time for the graph
    // (null: the navigation clock). Library exceptions (out of memory) pass.
    TTideDialog(ui::TWindow* parent, int latMinutes, int lonMinutes, std::uint32_t packedDate,
                float step, os::Clock* clock = nullptr);
    ~TTideDialog() override;

    // Reads day, month and year from the edits and computes the curve again;
    // then the texts and the graph. A field that is empty or holds anything
    // but digits, or a date the library refuses (one that does not exist, or
    // no port at the position), leaves curve and texts as they were: false.
    bool Refresh();

    const TideWave& GetWave() const { return *wave_; }
    TGraphWindow* GetGraph() const { return graph_; }
    int GetSummerHour() const { return summerHour_; }
    float GetStep() const { return step_; }

    void CmNewCurve();

  protected:
    // Puts the mouse on OK, asks for the cursor to be held in the dialog, sets
    // the input mode 8, writes the date into the edits and refreshes.
    void SetupWindow() override;
    // Input mode 0, the cursor freed and put at the centre of the parent.
    void CleanupWindow() override;

  private:
    std::unique_ptr<TideWave> wave_;
    TGraphWindow* graph_;
    float step_;
    int day_, month_, year_;
    int summerHour_ = 0;

    DECLARE_RESPONSE_TABLE(TTideDialog);
};
