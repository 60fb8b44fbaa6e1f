// Fixed-point sines and the glyph rotation matrix of the graphics layer.
//
// Angles are 16.16 fixed-point degrees (degrees times 65536); sines and matrix
// entries are 16.16 fixed-point numbers (65536 is 1). The sines come from a
// table of whole degrees, interpolated linearly, never from floating point.
#pragma once

#include <array>
#include <cstdint>

// sin(k degrees) * 65536, rounded, for k = 0 to 89.
extern const std::array<std::uint16_t, 90> FixedSinTable;

// Sine of a 16.16 fixed-point angle in degrees, as 16.16 fixed point: the angle
// is reduced modulo 360 degrees (any value, negative ones included), folded into
// 0 to 90 degrees and looked up with linear interpolation between whole degrees
// (past 89 degrees towards 65536). Exactly 65536 at 90 degrees, -65536 at 270;
// sin(-a) = -sin(a).
std::int32_t FixedSin(std::int32_t angle);

// The degrees of an angle as 16.16 fixed point, rounded to nearest (ties to even);
// angles beyond +-20000 degrees are first reduced modulo 360.
std::int32_t FixedDegrees(double degrees);

// Rotation matrix of (scale, angle in degrees): c = FixedSin(90 - angle),
// s = FixedSin(angle), both shifted left by scale when scale >= 1 or right by
// -scale when it is negative (so the glyph is scaled by 2 to the power scale),
// laid out as (c, -s, -s, -c). A glyph point (gx, gy), y up, then lands at
// (x + (gx m0 + gy m1) / 65536, y - (gx m2 + gy m3) / 65536): turned
// counterclockwise by the angle where y points up. Scales outside -16 to 14 are
// clamped.
std::array<std::int32_t, 4> GD_RotationMatrix(int scale, double angle);
