// The inverse and direct geodetic problems of navigation on the system
// ellipsoid (WGS-84): distance and initial course between two positions, and
// the position reached by sailing a distance on a course.
//
// Distances are nautical miles (1852 m); courses are radians clockwise from
// true north, in [0, 2 pi).
#pragma once

#include "geo/GeoPoint.h"

// Distance and initial course from p1 to p2 (Andoyer-Lambert: the spherical
// central angle with a first-order flattening correction; relative error of
// the distance about 1e-5 away from antipodal pairs). The course is the
// spherical initial course, in [0, 2 pi); below a central angle of 1e-8 rad
// (about 6 cm) the course is 0. From a pole the course is pi (north pole) or
// 0 (south pole). Near-antipodal pairs give a finite but inexact distance.
// Returns 0.
int IPC(const GeoPoint& p1, const GeoPoint& p2, long double& distance, long double& course);
int IPC(const GeoPoint& p1, const GeoPoint& p2, double& distance, double& course);
int IPC(const GeoPoint& p1, const GeoPoint& p2, float& distance, float& course);

// Position reached from `from` by sailing `distance` nautical miles on
// `course` radians (mid-latitude sailing with ellipsoidal degree lengths;
// error about 0.03 % of the distance at 100 nm and 70 degrees of latitude).
// The latitude reached is clamped to the poles; the longitude is brought into
// [-pi, pi] (so crossing the antimeridian eastward gives a longitude just
// above -180 degrees). Sailing onto a pole leaves the longitude as it was.
// The result is written to `to`; returns 0.
int DPC(const GeoPoint& from, GeoPoint& to, long double distance, long double course);
// The same, returning the position reached.
GeoPoint DPC(const GeoPoint& from, long double distance, long double course);

extern "C" {
// Flat forms for callers that bind by name. IPC calls the double form, DPC the
// first form above. Return 0, or -1 (nothing written) when a pointer is null.
int IPC(const GeoPoint* p1, const GeoPoint* p2, double* distance, double* course);
int DPC(const GeoPoint* from, GeoPoint* to, double distance, double course);
}
