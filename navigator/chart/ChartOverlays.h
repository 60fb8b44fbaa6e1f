// The chart window's overlays of its own data (TMapWindow's track,
// user-object, own-ship and own-ship symbol members, in ChartOverlays.cpp):
//
//  - The track and the user objects go into memory picture 1 during a paint,
//    after the paint has put the default mapping back: client pixels, each
//    point computed in chart units (y up) and converted with (cx + x, cy - y).
//  - Own ship is drawn at every timer tick and at the end of each paint on
//    memory picture 2, a copy of picture 1 made for that drawing, which then
//    goes onto the window: the chart itself is not drawn again when only the
//    ship moves.
//
// The track overlay walks the ring oldest first (from the ring's index up to
// 499, then 0 up to the index - 1), skips unused entries (latitude 0) and
// keeps a point only within 3000 pixels across and 2000 down of the client
// centre. The kept points are drawn as polylines in the track colour, split
// wherever a point was left out, so that no leg is drawn that was never
// sailed; a run of one point draws nothing.
//
// The own-ship overlay, in this order: picture 1 copied to picture 2; the lit
// light marks on it again; with a new position the course vector worked out
// again (speed x pixels per nautical mile x CrsMinutes / 60 long, on the
// course over ground) and, while heading hold is above 0, the heading line
// (twice the screen's height long); at the first drawing after a paint the
// range marker taken over; the symbol; the track piece from the last logged
// point to own ship (into picture 1 as well, so the track keeps growing
// between paints); the route being placed or edited, from the route table;
// picture 2 copied to the window; the read-outs that follow own ship. Nothing
// at all while the frame is iconic.
//
//   const double length = CourseVectorLength(6, 20, 3); // 6 pixels: 0.3 NM at 20 pixels a mile
//   const ScreenVector v = CourseVector(90, length);     // (6, 0): east
#pragma once

#include "chart/ChartFrames.h"
#include "chart/ChartWindowState.h"
#include "gdi/XY.h"
#include "ui/Types.h"

#include <array>
#include <vector>

class Map;

// Track points further from the client centre than this (chart units, either
// side) are left out of the track.
inline constexpr int kTrackAcross = 3000, kTrackDown = 2000;

// Length of the course vector in pixels: speed (knots) x pixels per nautical
// mile x minutes / 60, the distance sailed in `crsMinutes` minutes. 0 for a
// speed of 0; a negative speed gives a negative length (a vector astern).
double CourseVectorLength(double speed, double pixelsPerNm, int crsMinutes);

// A line on the screen from a point: its x and y components in pixels, y
// down.
struct ScreenVector {
    double dx = 0, dy = 0;
    bool operator==(const ScreenVector&) const = default;
};

// The components of a line `length` pixels long on a course in degrees true:
// (cos(course - 90) x length, sin(course - 90) x length). Course 0 points up
// the screen, 90 to the right.
ScreenVector CourseVector(double courseDegrees, double length);

// The centre of the range marker's cross around own ship's client point:
// distance in hundredths of a nautical mile, bearing in degrees true;
// (x + sin b x r, y - cos b x r) with r = distance / 100 x pixels per
// nautical mile, rounded to the nearest pixel (ties to even).
ClientPoint RangeMarkerCentre(const ClientPoint& ship, int distance100, double bearingDegrees,
                              double pixelsPerNm);

// The track ring as the overlay draws it in the client rectangle.
struct TTrackRuns {
    // Kept points in client pixels, oldest first, one run per stretch without
    // a left-out point (runs of one point included).
    std::vector<std::vector<gdi::XY>> runs;
    // The newest entry in use, and whether there is one.
    bool any = false;
    TTrackEntry newest{};
};
TTrackRuns TrackRuns(const std::array<TTrackEntry, kTrackRingSize>& ring, int index, Map& map,
                     const ui::TRect& client);
