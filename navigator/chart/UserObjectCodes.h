// The mode codes of the chart window's pass over the user's stored objects
// (TMapWindow::DrawUserObjectsOfKind), and the few plain rules the pass and
// its per-object reads share. The code is kind + 100 x action:
//
//   DecodeUserObjectCode(105, settings)  -> labels of kind 5 (symbols), drawn
//   DecodeUserObjectCode(402, settings)  -> pick kind 2 (routes) for editing
//   DecodeUserObjectCode(8, settings)    -> kind 8, not drawn (no such kind)
#pragma once

#include "chart/ChartFrames.h"

struct TChartSettings;

// What a code asks for.
enum class UserObjectAction {
    Draw = 0,    // below 101
    Labels = 1,  // 101 and up: symbols with their labels
    Pick = 2,    // above 200: pick, or list while the list kind is the kind
    Delete = 3,  // 301 and up
    PickEdit = 4 // 401 and up: pick for editing (the information dialog)
};

struct TUserObjectCode {
    UserObjectAction action = UserObjectAction::Draw;
    int kind = 0;
    // The kind is one the pass walks and its switch is on: tracks (the track
    // switch), routes (always), lines, zones and areas (the line switch),
    // symbols (the symbol switch).
    bool walked = false;
};

// Taken apart in this order: 401 and up less 400, then 301 and up less 300,
// then above 200 less 200, then 101 and up less 100; what is left is the kind.
TUserObjectCode DecodeUserObjectCode(int code, const TChartSettings& settings);

// A stored track point is drawn when its point in chart units (from the view
// centre, y up) has x in -1000..2000 and y in -1000..1800.
bool InTrackWindow(const ChartPoint& p);

// A point held within -15000..15000 on both axes, for graphics systems with
// 16-bit coordinates. The graphics layer of this program reports the NT
// family, which needs no clamp.
ChartPoint RangeClamp(const ChartPoint& p);

// The difference of two directions (radians) brought into (-pi, pi].
double AngleDifference(double a, double b);

// Whether a click hits a leg of client pixels: (dx, dy) from the leg's start
// to the click, (lx, ly) from its start to its end. With c the click's
// distance from the start, L the leg's length and `off` the angle between
// the two directions, brought into (-pi, pi]: c above 0, c below L, the
// click's distance from the leg's line (|sin(off)| x c, taken as the cross
// product over L, which is exact for whole pixels along an axis) at most the
// tolerance, and |off| below 0.4 radian.
bool LegHit(int dx, int dy, int lx, int ly, int tolerance);
