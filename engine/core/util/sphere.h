// Coordinates on the chart engine's sphere: the wrap of eastings around the
// circumference and the spherical Mercator projection the cell files use.
//
// The sphere has radius 6378388.0 m and circumference 40076593.765 m (half
// circumference 20038296.8825 m). The Mercator functions convert degrees and
// radians with the factor 57.295779 (not the exact 180/pi): cell coordinates
// were written with it, so reading them back must use the same factor.
#pragma once

// Sphere radius and circumference in metres.
inline constexpr double kSphereRadius = 6378388.0;
inline constexpr double kSphereCircumference = 40076593.765;
inline constexpr double kSphereHalfCircumference = kSphereCircumference / 2;

extern "C" {

// Easting a + b in metres, brought into (-C/2, C/2]: exactly -C/2 gives +C/2,
// exactly +C/2 stays. Sums within (-3C/2, 3C/2] take one step of C; larger
// sums are reduced by whole circumferences. NaN or infinite input gives NaN.
double wrapCircumference(double a, double b);

// Distance in metres eastwards from easting a to easting b: b - a when
// b >= a, else C - a + b. For a and b in (-C/2, C/2] the result is in [0, C).
double circumferenceDistance(double a, double b);

// Spherical Mercator of latitude lat and longitude lon in degrees:
// *y = R ln(tan((lat / 57.295779 + pi/2) / 2)), *x = lon R / 57.295779, in
// metres. Latitude 0 gives y = 0; longitude 180 gives x = 20038296.88 m.
// The poles have no finite y (latitude 90 gives NaN, -90 gives -infinity).
// A null output is skipped.
void sphereMercator(double lat, double lon, double* y, double* x);

// Inverse of sphereMercator: *lat = (2 atan(exp(y / R)) - pi/2) 57.295779 and
// *lon = x 57.295779 / R, in degrees. Any finite y gives a latitude within
// (-90, 90) degrees. A null output is skipped.
void sphereMercatorInverse(double y, double x, double* lat, double* lon);
}
