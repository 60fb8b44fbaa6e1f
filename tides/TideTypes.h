// Records of the tide library's interface.
#pragma once

#include <cstdint>

// A time of day: hour 0..23 and minute 0..59; hour -1 with minute 0 means
// the event does not occur that day.
struct t_time {
    char hour;
    char minute;
};

// One port of the index files: port number, position in minutes of arc
// (north and east positive) and the byte offset of the port's block in
// td_pnte.dat.
struct IndexFileStruct {
    std::int16_t number;
    std::int16_t lat;
    std::int16_t lon;
    std::int32_t offset;
};
