// Writer of the three tide data files (td_num.ntx, td_crd.ntx, td_pnte.dat)
// for test fixtures and sample data. The layout is the one the tide library
// reads: index records of 10 bytes, port blocks of a 46-byte header and 6-byte
// items, every block byte stored through the substitution table.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace tidetools {

struct TideItem {
    std::int16_t row;        // constituent table row, 0..68 for sound data
    std::uint16_t phaseLag;  // tenths of a degree, Greenwich
    std::uint16_t amplitude; // tenths of the height unit (millimetres for heights in cm)
};

struct TidePort {
    std::int16_t number;
    std::int16_t lat;            // minutes of arc, north positive
    std::int16_t lon;            // minutes of arc, east positive
    std::int8_t timeZone;        // hours, local = UTC - timeZone
    std::string name;            // at most 39 bytes
    std::vector<TideItem> items; // at most 255 (the reader takes 69)
    // When set, the block's count byte says this instead of items.size():
    // lets a fixture describe a block longer than it is.
    int countOverride = -1;
};

// Writes the three files into dir, each to a temporary file renamed into
// place. td_num.ntx is sorted by port number, td_crd.ntx by the unsigned key
// latitude | longitude << 16. Rows are written as given, so fixtures may hold
// damaged ports. Returns an empty string, or the error text.
std::string writeTideFiles(const std::string& dir, const std::vector<TidePort>& ports);

// Reads the text form of the tool:
//   # comment
//   port <number> <lat minutes> <lon minutes> <zone hours> <name to end of line>
//   <row> <phase lag tenths of a degree> <amplitude tenths> [# comment]   (repeated)
// Rows must be 0..68 and a port lists at most 69 items. Returns an empty
// string, or the error text with its line number.
std::string readTidePortText(std::istream& in, std::vector<TidePort>& ports);

} // namespace tidetools
