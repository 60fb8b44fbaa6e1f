// The texts of the status bar's gadgets: the chart scale, the coordinate
// read-outs and the four information fields (GPS state, track, elapsed time,
// trip distance), as plain functions of their values.
//
// Texts are Windows-1252 bytes (the degree sign is the byte 0xB0); they become
// UTF-8 only where the window layer hands them to Qt. A colour type names the
// text colour: 0 the button text, otherwise a type of TextColourByType
// (1 red, 2 blue, 3 green, 4 yellow, 5 magenta, 6 black).
//
//   ScaleText(1500000)           -> "1: 1 500 000"
//   CoordinateText(-10.5, false) -> " 10\xB0 30.000 S"
#pragma once

#include <ctime>
#include <string>
#include <string_view>

// The colour type of the button text (no colour of its own).
inline constexpr int kGadgetTextNormal = 0;

// A text with its colour type.
struct GadgetText {
    std::string text;
    int colourType = kGadgetTextNormal;
    bool operator==(const GadgetText&) const = default;
};

// The scale text: "1: " and the scale denominator rounded to a whole number
// and grouped in threes (GroupInThrees, dialogs/ReadoutText.h); empty for a scale of 0 or below and
// for one that is not a finite number.
std::string ScaleText(double scale);

// A coordinate in degrees (east and north positive) as degrees, minutes with
// three decimals and the hemisphere letter: "%3d" + 0xB0 + " %02d.%03d %c".
// The value is first rounded to 1/10000 minute (ties to even); the letter
// follows the sign of that rounded value, so a value that rounds to 0 reads
// N or E. Empty when the magnitude is above 180 or the value is not finite.
// The decimals are the thousandths of the minute, truncated.
std::string CoordinateText(double degrees, bool longitude);

// The values the information gadgets show, handed over by the chart window's
// timer each round.
struct TInfoGadgetValues {
    int fixQuality = 0;        // GGA quality: 0 no fix, 1 a fix, 2 a differential fix
    int satellites = -1;       // satellites in use; 0 or below: not known
    bool ggaSeen = false;      // a GGA sentence has been received
    bool recording = false;    // a track is being recorded
    int recordedPoints = 0;    // points of the track being recorded
    int storedPoints = 0;      // points of the stored track
    bool trackFull = false;    // the track store is full
    int trackColour = 0;       // colour type of the track
    double tripLog = 0;        // trip distance, nautical miles
    int illuminationLevel = 0; // 0 day to 3 dark night
};

// Information kinds.
inline constexpr int kInfoGps = 1, kInfoTrack = 2, kInfoElapsed = 4, kInfoTrip = 5;

// "GPS ERROR!" in red without a fix; with one "GPS %d sats." or, when the
// satellite count is 0 or below, "GPS ok". A differential fix (quality 2)
// puts "D" in place of the first letter. A plain fix (quality 1) is yellow once
// a GGA sentence was seen; everything else has the button text's colour.
GadgetText GpsText(const TInfoGadgetValues& values);

// "Track: %dpt" with the recorded points while recording (in the track's
// colour when blinkOn, the button text otherwise); when not recording,
// "Track: FULL" with a full store, else "Track: %dpt" with the stored points.
GadgetText TrackText(const TInfoGadgetValues& values, bool blinkOn);

// The time since the trip log was last reset: " %d t.  %02d m." of hours and
// minutes. `start` is the gadget's start time; it is set to now while the trip
// distance is 0, and when more than a week (604800 s) has passed, so the time
// starts again from 0.
std::string ElapsedTimeText(std::time_t now, std::time_t& start, double tripLog);

// "%.1f Nm." of the trip distance.
std::string TripText(double tripLog);

// The text of an information gadget of the kind (empty for an unknown kind).
// blinkOn is the track's blink phase; now and start serve the elapsed time.
GadgetText InfoText(int kind, const TInfoGadgetValues& values, bool blinkOn, std::time_t now,
                    std::time_t& start);
