// Route following: which waypoint of the active route to steer for, and on
// every timer tick the range and bearing to it, the cross-track error, and
// whether own ship has arrived at it or passed it.
//
// The range is the engine's geodesic distance (IPC, Andoyer-Lambert). The
// bearing is a plane approximation, atan2(dlon cos(lat), dlat) with the
// destination's latitude; against GeographicLib it lies within 0.2 degree of
// the rhumb-line azimuth on legs under 10 nautical miles at 60 degrees N, and
// the range within 0.05 % of the geodesic.
//
// A waypoint is reached when own ship enters its arrival circle or passes the
// line through it across the route: for a turning point the line is normal to
// the bisector of the legs in and out, for the last point normal to the leg
// that ends there. The cross-track error is measured from the leg that ends at
// the destination.
//
//   TChartWindowState& s = ChartWindowState();   // table filled, own ship set
//   if (BeginRouteFollowing(s).started)          // destination chosen
//       TRouteStep step = StepRouteFollowing(s, ChartSettings()); // each tick
//
// The functions work on the records they are given and touch no window; the
// chart window's StartRouteFollowing and RouteFollowingStep apply the effects
// on its tool box, read-outs and redraw.
#pragma once

#include "chart/ChartWindowState.h"
#include "geo/GeoPoint.h"

// Range and bearing between two positions.
struct TRangeBearing {
    double range = 0;   // nautical miles
    double bearing = 0; // degrees, 0 to below 360
};

// Range and bearing from `from` to `to`. The longitude difference is taken
// modulo the full turn, so a leg across 180 degrees points the short way.
// Equal points give range 0 and bearing 0. Near the poles the bearing
// degrades with the plane approximation (cos(latitude) goes to 0).
TRangeBearing RangeBearing(const GeoPoint& from, const GeoPoint& to);

// What the start of following did.
struct TRouteStart {
    bool started = false;  // following state 1; false for a route of fewer than 2 points
    bool inserted = false; // own ship became point 0
};

// Starts following the route in s.routePoints from s.ownShip: the nearest
// point (the first of equal ones) becomes the destination; when that is point
// 0 the destination is point 1, and own ship is put in front of the route as
// a new point 0 when it lies farther from point 1 than the first leg is long
// and the table has room. Sets the following state, the destination with its
// range, bearing and cross-track error, and the own-ship-inserted flag; clears
// the arrival, perpendicular and alarm flags. A route of fewer than two points
// is not followed and nothing changes. The route state and the redraw request
// are the caller's.
TRouteStart BeginRouteFollowing(TChartWindowState& s);

// What one step of following changed.
struct TRouteStep {
    bool advanced = false;    // the destination moved on by one
    bool ended = false;       // the last point was reached; following stopped
    bool alarmRaised = false; // the cross-track alarm flag went on
    int newMessage = 0;       // the status message kind raised (11 or 3), 0 none
};

// One tick of following with the arrival radius and the alarm switch of
// `settings`. Does nothing unless the following state is 1 and the detail
// word is above 0. At most one waypoint is passed per tick; past the last
// point following stops (StopRouteFollowing) and `ended` is set, leaving the
// route's wider reset to the caller.
TRouteStep StepRouteFollowing(TChartWindowState& s, const TChartSettings& settings);

// The distance still to go while following (nautical miles): the range to
// the destination and the legs from it to the last point of the table.
double DistanceToGo(const TChartWindowState& s);

// Ends following: following state 0, destination 0, the arrival,
// perpendicular and alarm flags off, and the own-ship-inserted flag off (every
// caller empties the route table or deletes the route). The table, the active
// route id and the route state are left as they are.
void StopRouteFollowing(TChartWindowState& s);
// The same on the program-wide state.
void StopRouteFollowing();
