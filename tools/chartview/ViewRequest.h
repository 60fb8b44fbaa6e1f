// What chartview is asked to draw, and its command-line parser.
//
//   chartview --chart DIR --dict DIR --lat DEG --lon DEG
//             (--scale N | --level I | both) [--size WxH]
//             [--scheme day|dusk|night|darknight] [--palette FILE] --out FILE
//
// Numbers are read with "C" syntax whatever the locale. Every option takes
// one value, given as the next argument, and may be given once; --help stands
// alone in its meaning (the usage, status 0) wherever it appears.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace chartview {

// The illumination schemes, the palette file's columns 0 to 3.
enum Scheme : int { SchemeDay = 0, SchemeDusk = 1, SchemeNight = 2, SchemeDarkNight = 3 };

struct ViewRequest {
    std::string chartRoot;   // --chart: the folder holding the block folders
    std::string dictionary;  // --dict: the dictionaries and look-up tables
    std::string palette;     // --palette, or ECPALETT.INI in the folder above --dict
    std::string output;      // --out: the PNG file
    double latDeg = 0;       // --lat: -80 to 80, north positive
    double lonDeg = 0;       // --lon: -180 to 180, east positive
    int level = 0;           // --level, or the level nearest to --scale
    std::uint32_t scale = 0; // --scale, or the level's display scale
    int width = 1920;        // --size: 16 to 8192 each
    int height = 1080;
    int scheme = SchemeDay; // --scheme
};

struct ParsedCommandLine {
    enum Outcome { Run, Help, Error };
    Outcome outcome = Error;
    ViewRequest request; // complete when the outcome is Run
    std::string error;   // Error: one line naming the argument at fault
};

// Parses the arguments after the program's name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text, ending in a line end.
const char* usageText();

// ECPALETT.INI in the folder above `dictionary` ("data/ECPALETT.INI" for
// "data/dict" and "data/dict/").
std::string defaultPalettePath(const std::string& dictionary);

} // namespace chartview
