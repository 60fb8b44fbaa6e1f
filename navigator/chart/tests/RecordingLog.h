// Reading a recording device context's log (gdi/RecordingDc.h) in the chart
// window's tests.
#pragma once

#include "gdi/XY.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace charttest {

// The polylines of a recording: the pen as written ("pen=solid/0/p4") and
// the points.
struct Line {
    std::string pen;
    std::vector<gdi::XY> points;
};
inline std::vector<Line> polylines(const std::string& log) {
    std::vector<Line> out;
    std::istringstream in(log);
    for (std::string text; std::getline(in, text);) {
        if (text.rfind("Polyline ", 0) != 0) continue;
        Line l;
        l.pen = text.substr(9, text.find(' ', 9) - 9);
        for (std::size_t at = text.find(" ("); at != std::string::npos;
             at = text.find(" (", at + 1)) {
            gdi::XY p;
            if (std::sscanf(text.c_str() + at, " (%d,%d)", &p.x, &p.y) == 2) l.points.push_back(p);
        }
        out.push_back(l);
    }
    return out;
}

// The lines of the log that begin with the prefix.
inline std::vector<std::string> linesStarting(const std::string& log, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(log);
    for (std::string text; std::getline(in, text);)
        if (text.rfind(prefix, 0) == 0) out.push_back(text);
    return out;
}

} // namespace charttest
