// Latitude and longitude as text, and back.
//
// Forms (the degree sign is the Windows-1252 byte 0xF8, written \xF8 here):
//   degrees and decimal minutes   "N  59\xF830.500"     "E  10\xF845.250"
//   degrees, minutes and seconds  "N  59\xF830'30.0"    "E  10\xF845'15.0"
// The degrees are right-aligned in three places; a negative value has 'S'
// (latitude) or 'W' (longitude) in place of 'N' or 'E'. A minutes field that
// rounds to 60.000 is written as 00.000 with the degree one higher, and a
// seconds field that rounds to 60.0 as 00.0 with the minutes one higher,
// which may in turn carry into the degrees (59'59.96" becomes one degree
// more and 00'00.0"). Numbers use '.' whatever the process locale says.
#pragma once

#include <cstddef>

extern "C" {

// Writes deg (degrees) in the form above into dst of size bytes and returns
// the text's length (12 for the minutes form, 13 for the seconds form, more
// only for magnitudes of 1000 degrees and above). When the text does not fit,
// or deg is NaN, infinite or beyond 1e9, dst gets the empty text and the
// result is -1. A buffer of 16 bytes holds every valid position.
int latToText(double deg, char* dst, std::size_t size);
int lonToText(double deg, char* dst, std::size_t size);
int latToTextDms(double deg, char* dst, std::size_t size);
int lonToTextDms(double deg, char* dst, std::size_t size);

// Read the forms above with the patterns "%c %2d%*1c%f" (latitude),
// "%c %3d%*1c%f" (longitude), "%c %2d%*1c%2d%*1c%f" and "%c %3d%*1c%2d%*1c%f"
// (seconds forms), read as scanf reads them: one hemisphere letter, blanks,
// at most 2 (3) characters of degrees, any one separator byte, and so on.
// The result is degrees + minutes / 60 (+ seconds / 3600), negative when the
// letter is 'S' (latitude) or 'W' (longitude), in either case; any other
// letter gives a positive value. The fields are not range-checked. A text
// that does not give every field (or gives a non-finite number) yields NaN.
double textToLat(const char* text);
double textToLon(const char* text);
double textToLatDms(const char* text);
double textToLonDms(const char* text);
}
