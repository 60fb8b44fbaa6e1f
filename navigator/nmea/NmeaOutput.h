// NMEA 0183 output for an autopilot or a plotter: the position repeated as
// RMC on every call, and while a route is followed the autopilot sentences
// RMB and APB on every second call, talker GP.
//
// SendNmeaOutput runs on the GUI thread from the chart window's timer (every
// fourth count, about 0.8 s). It takes one snapshot of the navigation record,
// the route-following results of the chart window's state and the date of the
// navigation clock, builds the whole text and hands it to the serial writer,
// which sends it on the output port. Numbers are written with "C" conventions
// whatever the locale.
//
//   SendNmeaOutput();                      // the timer's call
//   std::string rmc = BuildRmcSentence(NavSnapshot(), NavClock().now());
//   // "$GPRMC,101530,A,6023.852,N,00519.231,E,11.8,315.2,120626,1,E*hh\r\n"
//
// Conventions of the sentences:
// - The magnetic variation is east-positive (NavShared::magneticVariation).
//   RMC sends its magnitude with "E" or "W"; APB's magnetic bearings are
//   true - variation.
// - The cross-track error is positive when own ship is left of the leg: the
//   steer letter is then "R".
// - Waypoint numbers are route point index + 1: RMB's origin is the
//   destination index, its destination (and APB's) the index + 1.
// - Minutes are rounded once to thousandths, carrying into the degrees
//   (59.9996' gives the next degree and 00.000); a bearing that would read
//   360.0 reads 0.0 ("000.0" where zero-padded).
#pragma once

#include "chart/ChartWindowState.h"
#include "nmea/NavState.h"
#include "os/Clock.h"

#include <string>

// Every how many calls each sentence goes out.
inline constexpr int kRmcDivider = 1, kRmbDivider = 2, kApbDivider = 2;

// Builds the output text and hands it to the writer (SignalPortWriter) when
// it is not empty. RMC every call; RMB and APB every second call while the
// following state is 1 (their counters stand still otherwise).
void SendNmeaOutput();

// The text the last call built (empty before the first).
const std::string& NmeaOutputText();
// Counters back to 0 and the text emptied (tests).
void ResetNmeaOutput();

// "$" + body + "*" + the XOR of the body's characters as two hex digits +
// carriage return and line feed.
std::string FinishNmeaSentence(const std::string& body);

// RMC from the last parsed time and position (letters as parsed; a letter
// that is not N/S or E/W gives the committed position's sign), status "A" or
// "V" by fix valid, speed over ground, the course over ground at 3 knots or
// more and below it the course taken at the last committed fix, the UTC date
// `utc` (year modulo 100), and the magnetic variation.
std::string BuildRmcSentence(const NavShared& nav, const os::SystemTime& utc);

// RMB for the destination of `route`: status, cross-track error and steer
// letter ("0.00,R" at destination 0), the origin and destination numbers, the
// destination's position, range, bearing (true), speed over ground, and "A"
// when the arrival circle was entered or the perpendicular passed. Empty when
// the destination is not a point of the table.
std::string BuildRmbSentence(const NavShared& nav, const TChartWindowState& route);

// APB for the destination of `route`: status, cross-track error, the arrival
// and perpendicular flags, the course of the leg that ends at the destination
// (the bearing to it while the destination is below 1), the destination
// number and the bearing to it, both true ("T") with the true-bearings switch
// on, else magnetic ("M"). Empty when the destination is not a point of the
// table.
std::string BuildApbSentence(const NavShared& nav, const TChartWindowState& route);
