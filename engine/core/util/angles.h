// Angles, plane vectors, plane sailing and the integer angle scale.
//
// Angles are in degrees unless a function says radians. A "direction" of a
// vector (dx, dy) is measured from the +dx axis towards the +dy axis, the
// angle whose tangent is dy / dx; a "bearing" is a compass bearing, clockwise
// from north (or from the +y axis of a plane).
//
// The range functions bring any finite input into their range: a value one
// turn or less outside takes one step of 360, values further out are reduced
// by whole turns. NaN and infinities give NaN.
#pragma once

#include <cstdint>

extern "C" {

// a + b brought into (-180, 180]: -180 gives 180.
double wrapLon180(double a, double b);

// a - b brought into [-180, 180): 180 gives -180.
double signedAngleDiff(double a, double b);

// Compass degrees to the mathematical angle in radians: 270 - deg brought
// into [0, 360), times pi / 180. North (0) gives 3 pi / 2, east (90) pi.
double compassToMath(double deg);

// Compass bearing in radians [0, 2 pi) of the vector from (x1, y1) to
// (x2, y2), clockwise from the +y axis. Equal points give 0.
double bearingOf(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);

// Direction in degrees [0, 360) of (x, y): atan2(y, x), plus 360 when
// negative. The zero vector gives 3000.0, a value no direction can have.
double bearingDeg(double x, double y);

// Length sqrt(dx^2 + dy^2) and direction in degrees [0, 360) of (dx, dy):
// 0 or 180 when dy is 0 (0 for the zero vector), 90 or 270 when dx is 0,
// else atan(dy / dx) corrected into the quadrant. A null output is skipped.
void vectorToPolar(double dx, double dy, double* length, double* direction);

// The inverse of vectorToPolar: a = 90 - direction brought into [0, 360), in
// radians; *out1 = length sin a (dx), *out2 = length cos a (dy). A null output
// is skipped.
void polarToVector(double length, double direction, double* out1, double* out2);

// Sum and difference (first minus second) of two vectors given as length and
// direction in degrees, as length and direction by the vectorToPolar rule.
// A null output is skipped.
void addVectors(double length1, double direction1, double length2, double direction2,
                double* length, double* direction);
void subtractVectors(double length1, double direction1, double length2, double direction2,
                     double* length, double* direction);

// Dead reckoning by plane sailing from lat, lon (degrees) over distance
// nautical miles on compass bearing (degrees): lat + distance cos(bearing) / 60
// and lon + distance sin(bearing) / 60 / cos(lat), the longitude brought into
// (-180, 180] by wrapLon180. At the poles the longitude has no finite value.
// A null output is skipped.
void offsetPosition(double lat, double lon, double distance, double bearing, double* latOut,
                    double* lonOut);

// The integer angle scale: latitude 90 degrees = 2147483647, longitude 180
// degrees = 2147483647. Degrees are rounded to the nearest unit (ties to
// even); values beyond the scale saturate at +-2147483647, NaN gives 0.
std::int32_t latToInt(double deg);
std::int32_t lonToInt(double deg);
double intToLat(std::int32_t value);
double intToLon(std::int32_t value);
}

// a - b brought into (-180, 180]: -180 gives 180.
double angleDiff(double a, double b);
float angleDiff(float a, float b);

// a + b brought into [0, 360): 360 gives 0.
double wrap360(double a, double b);
float wrap360(float a, float b);

// Plane sailing between two positions in degrees: dx = (lon2 - lon1 brought
// into (-180, 180]) cos((lat1 + lat2) / 2), dy = lat2 - lat1;
// *distance = 60 sqrt(dx^2 + dy^2) nautical miles and *bearing the compass
// bearing in degrees [0, 360) from the first position to the second, that is
// the vectorToPolar direction of (dy, dx). Either output may be null. The
// same position gives distance 0 and bearing 0.
void rhumbDistance(double lat1, double lon1, double lat2, double lon2, double* distance,
                   double* bearing);
void rhumbDistance(float lat1, float lon1, float lat2, float lon2, float* distance, float* bearing);

// A number written as ddmmss.s (degrees, two digits of minutes, two digits of
// seconds with decimals) in degrees: 594530.5 gives 59 + 45/60 + 30.5/3600.
// The sign applies to the whole value.
double ddmmssToDegrees(double x);
float ddmmssToDegrees(float x);
