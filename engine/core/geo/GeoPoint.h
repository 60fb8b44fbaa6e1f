// Geographic positions in binary angles and the conversions between binary
// angles and degrees, minutes, seconds and radians.
//
// A binary angle is a 32-bit integer with 2^32 units to the full turn: one
// unit is 360 / 2^32 degrees (about 0.0093 m of latitude), 0x40000000 is 90
// degrees, 0x80000000 is 180 degrees. Longitudes are signed (-180 degrees up
// to, not including, +180); latitudes run from -0x40000000 to 0x40000000.
// Arithmetic on binary angles is done in unsigned 32 bits (wrap-around), so a
// difference of longitudes is taken modulo the full turn and the antimeridian
// needs no special case.
#pragma once

#include "geo/GeoEllipsoid.h"

#include <cstdint>

// Latitude value that marks an undefined position.
inline constexpr std::int32_t GeoUndefined = INT32_MIN;

// A geographic position: longitude, then latitude, in binary angles. A plain
// aggregate: GeoPoint{lon, lat}.
struct GeoPoint {
    std::int32_t lon;
    std::int32_t lat;

    // Writes the position as the fixed 29-character sentence
    // "$IIGLL,DDMM.mmm,N,DDDMM.mmm,E" (degrees, minutes and thousandths of a
    // minute, rounded to the nearest thousandth; a magnitude within half a
    // thousandth of 90 or 180 degrees shows 90 or 180 degrees 00.000) into
    // buffer, which must hold 30 characters. Returns 1. An undefined latitude
    // (GeoUndefined) writes the empty text and returns 0; a null buffer
    // returns 0.
    int geoToNMEA(char* buffer) const;

    // Reads a sentence laid out exactly as geoToNMEA writes it, by character
    // position (latitude degrees at 7-8, minutes 9-10, thousandths 12-14,
    // hemisphere 16; longitude degrees 18-20, minutes 21-22, thousandths
    // 24-26, hemisphere 28). The latitude is north only for 'N', the longitude
    // east only for 'E'. A null, short or malformed sentence (a non-digit in a
    // number, minutes of 60 or more, a latitude beyond 90 or a longitude
    // beyond 180 degrees), and the empty text, make both coordinates
    // GeoUndefined.
    GeoPoint& operator=(const char* sentence);
};

// A geographic position in radians: longitude, then latitude.
struct RealGeoPoint {
    double lon;
    double lat;

    // Shifts the point in place from the datum of ellipsoid `from` to that of
    // ellipsoid `to` (abridged Molodensky, with the source ellipsoid's
    // parameters). Equal types, or a type outside 0..2, change nothing. The
    // latitude is clamped to [-pi/2, pi/2]; a longitude that the shift
    // carries past +-pi is brought back into [-pi, pi]; at a pole the
    // longitude is left as it is.
    RealGeoPoint& transformEllipsoid(GeoEllipsoid::Type from, GeoEllipsoid::Type to);
};

extern "C" {
// Binary angle of an angle given in radians, degrees, minutes of arc (21600
// to the turn) or seconds of arc (1296000 to the turn). The argument is first
// reduced by the full turn (truncating remainder, sign of x), then scaled and
// rounded to nearest with ties to even; the low 32 bits are kept, so any
// finite argument is valid: deg2nrm(270) == deg2nrm(-90) == 0xC0000000 and
// deg2nrm(360) == 0. NaN and infinities give 0.
std::int32_t rad2nrm(long double x);
std::int32_t deg2nrm(long double x);
std::int32_t min2nrm(long double x);
std::int32_t sec2nrm(long double x);

// x degrees in radians, after reducing x by 360 (result in (-2 pi, 2 pi)).
long double deg2rad(long double x);
// x radians in degrees, after reducing x by 2 pi (result in (-360, 360)).
long double rad2deg(long double x);
}

// Radians of one binary-angle unit, and binary-angle units of one radian,
// degree, minute and second, in long double.
inline constexpr long double GeoTurn = 4294967296.0L;
inline constexpr long double GeoPi = 3.141592653589793238462643383279502884L;
inline constexpr long double nrmPerRad = GeoTurn / (2 * GeoPi);
inline constexpr long double radPerNrm = (2 * GeoPi) / GeoTurn;
inline constexpr long double nrmPerDeg = GeoTurn / 360;
inline constexpr long double nrmPerMin = GeoTurn / 21600;
inline constexpr long double nrmPerSec = GeoTurn / 1296000;

// A binary angle as radians, taken as signed: [-pi, pi).
inline long double nrm2rad(std::int32_t a) {
    return a * radPerNrm;
}
