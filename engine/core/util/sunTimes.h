// Sunrise, sunset and twilight of a day at a position.
//
// This unit is compiled into both Skjoldr and the tide library. It depends on
// nothing but util/dates.h and the standard library; keep it so.
#pragma once

#include "util/dates.h"

extern "C" {

// The four sun events of the date at (lat, lon), in hours of the port's local
// day:
//   morningTwilight  sun 12 degrees below the horizon, rising
//   sunrise          sun 0.8333 degrees below the horizon (upper limb with
//                    refraction), rising
//   sunset           the same altitude, setting
//   eveningTwilight  12 degrees below, setting
// lat and lon are degrees, north and east positive. tz is the port's zone
// value in hours, positive west of Greenwich: local time = UTC - tz (a port
// on UTC+1 has tz = -1). An event that occurs is given as UTC hours - tz,
// wrapped into [0, 24), so it can never be mistaken for -1.0. An event that
// does not occur (polar day or night, or no convergence) is -1.0.
//
// The sun is computed with a low-precision series evaluated from the date's
// Julian day number; expect the times to be within a few minutes of a precise
// almanac below 50 degrees of latitude, and twilight within about a quarter
// of an hour at 50 to 65 degrees. Near the latitudes where an event just
// ceases to occur its time is less certain. Any output pointer may be null.
void sunTimes(const t_date* date, double lat, double lon, double* morningTwilight, double* sunrise,
              double* sunset, double* eveningTwilight, double tz);

} // extern "C"
