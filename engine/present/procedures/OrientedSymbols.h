// Shapes that turn with an object's orientation (attribute 85, degrees) and
// with the azimuth of the chart window: the rotation of a shape about its
// centre, the single and double arrow outlines, and the window azimuth.
//
// Window coordinates of the chart pass point up. A shape is given in pixel
// offsets pointing north (up) unturned; a rotation by a radians turns it
// counter-clockwise on screen, so the angle that makes an arrow point to
// bearing theta (0 north, 90 east) is OrientationAngle(context, theta) =
// azimuth - theta.
//
// Example: a single arrow at a centre, pointing to bearing 90 (east).
//   Point outline[kSingleArrowPoints];
//   RotateAbout(kSingleArrow, kSingleArrowPoints, OrientationAngle(context, 90), centre,
//               outline);
//   GD_Polyline(14, kSingleArrowPoints, outline);
#pragma once

#include "geo/Point.h"

class TMapContext;

// The azimuth of the context's window transform (Map::Win::getAzimuth):
// mode 0 in degrees, mode 1 in radians. 0 when the context, its map or the
// map's transform is missing; the base transform answers 0.
float WindowAzimuth(TMapContext* context, int mode);

// The rotation in radians that turns a north-pointing shape to bearing
// orientation (degrees) on the window: getAzimuth(1) - deg2rad(orientation).
double OrientationAngle(TMapContext* context, double orientation);

// Turns n points (pixel offsets X, Y) by a radians about centre into out:
// (cx + round(X cos a - Y sin a), cy + round(X sin a + Y cos a)), rounded to
// nearest with ties to even. out may be the same array as shape only when
// the shape holds window points to be turned about the origin; nothing for n
// below 1.
void RotateAbout(const Point* shape, int n, double a, Point centre, Point* out);

// The arrow outlines, tip at (0, 24) pointing north, as closed point lists.
inline constexpr int kSingleArrowPoints = 8;
inline constexpr Point kSingleArrow[kSingleArrowPoints] = {{0, 24},   {12, 12}, {4, 12},   {4, -24},
                                                           {-4, -24}, {-4, 12}, {-12, 12}, {0, 24}};
inline constexpr int kDoubleArrowPoints = 11;
inline constexpr Point kDoubleArrow[kDoubleArrowPoints] = {
    {0, 24},    {12, 12},  {4, 12},  {4, -12},  {12, -12}, {0, -24},
    {-12, -12}, {-4, -12}, {-4, 12}, {-12, 12}, {0, 24}};
