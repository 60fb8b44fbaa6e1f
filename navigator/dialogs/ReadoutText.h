// Text and colour helpers shared by the read-out panels and the status bar's
// gadgets. Texts are Windows-1252 bytes (the degree sign is 0xB0) written with
// "C" numeric conventions.
//
//   GroupInThrees("1500000")              -> "1 500 000"
//   BearingDistanceText(0.3, true)        -> {"556", "mtr"}
//   TimeToGoText(2.5, 5.0)                -> "30 m. 00 s."
//   TextColourByType(1, 0)                -> RGB(255, 0, 0)
#pragma once

#include "ui/Types.h"

#include <string>
#include <string_view>

// Appends n blanks to text (nothing for n of 0 or below).
void AppendBlanks(std::string& text, int n);

// The integer part of a number text grouped in threes from the right: a blank
// goes before every third digit counted from the right that has a digit to
// its left, unless one is there already. What follows the integer part (a
// decimal point and its digits) is kept as it is. "1500000" -> "1 500 000",
// "1 500000" -> "1 500 000", "-12345.678" -> "-12 345.678". The scale gadget's
// text uses the same rule.
std::string GroupInThrees(std::string_view number);

// Removes every white-space character (blank, tab, line breaks, vertical tab,
// form feed) from text, in place.
void RemoveWhiteSpace(std::string& text);

// A distance as the bearing read-out shows it: its number and its unit.
struct TDistanceText {
    std::string value, unit;
    bool operator==(const TDistanceText&) const = default;
};

// A distance in nautical miles: 10 or more "%.1f" with "Nm"; below 10 "%.2f"
// with "Nm", except that below half a mile with `metres` set it is "%.f" of
// the distance x 1851.851852 with "mtr". 0.3 -> "556" "mtr" (metres) or
// "0.30" "Nm"; 12.34 -> "12.3" "Nm".
TDistanceText BearingDistanceText(double nauticalMiles, bool metres);

// The time to cover `distance` nautical miles at `speed` knots, counted in
// whole seconds (rounded): above an hour "%d t. %02d m." (hours, minutes),
// else "%d m. %02d s." (minutes, seconds); a speed of 0 or below, or a time
// that is not a finite number, gives ".............. ".
std::string TimeToGoText(double distance, double speed);

// The text colour of a colour type at an illumination level: 1 red, 2 blue,
// 3 green, 4 yellow, 5 magenta, 6 black, each lit channel at 255 by day
// (level 0), 191 at level 1 and 127 above. Other types are black.
ui::TColor TextColourByType(int type, int illuminationLevel);

// The chart palette colour of a colour type: the palette index of chart
// colour 30 (type 2), 8 (type 3), 22 at an illumination other than day or 24
// by day (type 4), 28 (type 5), 0 (type 6), and 4 for every other type,
// through the chart colour map.
ui::TColor PaletteColourByType(int type, int illuminationLevel);
