// The rules of the chart window's timer, re-scale and keys that work on plain
// values: the screen of a monitor size, the track threshold, the choice of an
// automatic chart level, the look-ahead switch, the re-centre box, the
// look-ahead centre, the scale limits and the texts of the status hints and
// the zoom factor.
//
//   const int t = TrackThreshold(CourseChange(12.0, 340.0), settings, false); // 32 deg: 5
//   const TAutoChartChoice c = ChooseAutoChartLevel(5, atShip, [&] { return probeCentre(); },
//                                                   chartDataFlag, autoChartRequest);
#pragma once

#include "chart/ChartFrames.h"

#include <array>
#include <cstdint>
#include <functional>

struct TChartSettings;

// The screen in millimetres for a monitor size in inches: 15 gives 250 x 188,
// 17 gives 283 x 212, 21 gives 350 x 262; any other size keeps `kept`.
struct TScreenMm {
    int across = 0, down = 0;
};
TScreenMm ScreenOfMonitor(int inches, TScreenMm kept);

// The change between two courses (degrees), folded into 0 to 180: 190
// degrees of change is 170.
double CourseChange(double from, double to);

// Pixels own ship must move before the next track point is logged: below 4
// degrees of course change 80, below 8 40, below 16 20, below 32 10, else 5.
// A track-density setting forces 20 or 10 (20 wins when both are on); while a
// route is being recorded it is 0.
int TrackThreshold(double courseChange, const TChartSettings& settings, bool recording);

// A value as the u16 field of a track entry: times 10, truncated toward zero,
// held within 0 to 65535.
std::uint16_t TrackField10(double value);

// What the automatic chart check asks for.
struct TAutoChartChoice {
    int level = -1;  // the level index to request; -1 none
    int counter = 0; // the auto-chart counter afterwards: 0, or 1000 or -1250
    int request = 0; // the auto-chart request afterwards (2 after a request)
};

// The automatic chart check at the current level index (7 counts as -1),
// with the probes at own ship of levels 0 to 6 and a probe at the view
// centre (asked only above level 2). With no data at the current level at
// the centre the candidate is the highest level below it with data at own
// ship, and the counter becomes 1000 when the chart-data flag is on, else
// -1250; otherwise the candidate is the highest of levels 6 down to 1 with
// data at own ship. A candidate below the current level is requested; one
// above only while the request is positive.
TAutoChartChoice ChooseAutoChartLevel(int levelIndex, const std::array<bool, 7>& dataAtShip,
                                      const std::function<bool()>& dataAtCentre, bool chartDataFlag,
                                      int autoChartRequest);

// The look-ahead flag after a tick: on at 4 knots or more below 1:1,000,000;
// off at 3 knots or less, or from 1:1,000,000; otherwise as it was.
bool NextLookAhead(bool current, double speedKnots, double displayScale);

// Whether own ship at `ship` (chart units from the view centre) lies outside
// the re-centre box of a window without look-ahead: |x| above 0.002 x screen
// pixels across x (110 - margin), or |y| above 0.002 x screen pixels down x
// (110 - margin), each product truncated.
bool OutsideRecentreBox(const ChartPoint& ship, int screenAcross, int screenDown, int margin);

// Whether own ship lies beyond 0.45 of the client's width or height from the
// centre (chart units; each product truncated).
bool OutsideLookAheadBox(const ChartPoint& ship, int clientWidth, int clientHeight);

// The look-ahead factor in use: 10 while the 3D view runs and the course lies
// between 190 and 300 degrees, else the setting.
int LookAheadFactorInUse(int setting, bool viewRunning, double course);

// The new view centre ahead of own ship in chart units of the old view:
// own ship moved by (sin(course) x width, cos(course) x height) x ratio x
// (factor + 10) x 0.004, rounded to the nearest unit (at course 90 the
// cosine's 6e-17 must not truncate -20 to -19).
ChartPoint LookAheadCentre(const ChartPoint& ship, double course, int clientWidth, int clientHeight,
                           double ratio, int factor);

// The scale denominators a view may have.
inline constexpr double kMinimumScale = 1000, kMaximumScale = 40000000;
// The scale held within 1000 to 40,000,000.
double ClampScale(double scale);

// The status bar's hint for an interaction state (0 to 18; Windows-1252);
// null for a state without one (14 and anything else).
const char* StatusHintText(int state);

// "x 1/4", "x 1/2", "x 1", "x 2", "x 4", "x 8" or "x 16" for a zoom factor;
// null for any other factor.
const char* ZoomFactorText(double factor);
