// The configurable degree-minute text of a coordinate (binary angle).
#pragma once

#include <cstdint>

extern "C" {

// The six standard formats. Each ends in a backslash that marks where the
// hemisphere letter goes; the fields are degrees, minutes and a fraction of a
// minute (hundredths for 0 and 1, thousandths for 2 and 3, ten-thousandths
// for 4 and 5), blank-separated in the even formats and comma-separated in the
// odd ones. Example: format 0 of latitude 0x20000000 is " 45 00.00N".
extern const char* const _apszgpFormat[6];

// Writes the coordinate `value` (binary angle) as text into `buffer` and
// returns `buffer`.
//
// The n unsigned divisors after `n` split the magnitude into fields: the first
// counts units of a quarter turn / divisor 1 (90 gives degrees), each further
// field counts the previous unit / its divisor (60 gives minutes, 100, 1000 or
// 10000 a fraction of a minute). The magnitude is rounded once to the nearest
// last unit (halves up) and then split, so no field reaches its divisor
// ("59.99" rounds up to the next minute, never "60.00" or ".100").
// The fields replace the divisors in `format`, whose conversions must each be
// "%lu" with an optional width ("%3lu", "%02lu"); the first backslash of the
// result becomes the hemisphere letter: the high byte of `hemispheres` for
// value >= 0, the low byte for value < 0 (0x4E53 gives N/S, 0x4557 gives E/W).
// `buffer` must hold the formatted text (at most 255 characters).
//
// Returns null, leaving `buffer` untouched, when buffer or format is null, the
// format is empty or has a conversion other than "%lu" or more conversions
// than divisors, n is not 1..6, a divisor is 0, or |value| > max (unsigned;
// max 0x40000000 for latitudes, 0x80000000 for longitudes, so -0x80000000 is
// 180 degrees with the western letter).
char* _crd2str(std::int32_t value, char* buffer, const char* format, std::uint16_t hemispheres,
               std::uint32_t max, int n, ...);

// Reads a coordinate written in `format` (as _crd2str writes it) from `text`
// and stores its binary angle in *result; returns 1.
//
// Format and text are walked together: a conversion "%Wlu" reads a field of W
// characters (leading blanks allowed, then digits); one without a width skips
// blanks and reads up to the next blank or '.'. Every other format character
// consumes one text character; where the format has a backslash, a text
// character equal to `negative` (S or W) makes the value negative. The n
// divisors have the meaning of _crd2str; field i adds field x 2^30 / (product
// of divisors 1..i) to the value. The walk ends at the end of either text, so
// a text that stops after a field gives what was read so far (" 59" in format
// 0 is 59 degrees 00 minutes, north). `text` is only read.
//
// Returns 0 and leaves *result unchanged when result, text or format is null
// or empty, n is not 1..6, a divisor is 0, no field was read (a format
// without a conversion, a text that ends first), a field runs past the end of the
// text, holds no digit or a non-digit, a field after the first is not below
// its divisor (60 minutes or more), or the value exceeds max or a half turn
// (max 0x80000000 means no limit beyond the half turn).
int _str2crd(std::int32_t* result, const char* text, const char* format, char negative,
             std::uint32_t max, int n, ...);
}
