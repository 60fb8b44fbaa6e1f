#include "util/fileInfo.h"

#include <chrono>
#include <cstring>

namespace {

// The DOS date word (day bits 0-4, month bits 5-8, year - 1980 bits 9-15) and
// time word (seconds / 2 bits 0-4, minutes bits 5-10, hours bits 11-15) of a
// UTC time, held to the range the form can show.
void dosWords(std::int64_t seconds, unsigned& date, unsigned& time) {
    using namespace std::chrono;
    constexpr std::int64_t first = 315532800;   // 1980-01-01 00:00:00
    constexpr std::int64_t last = 4354819198LL; // 2107-12-31 23:59:58
    if (seconds < first) seconds = first;
    if (seconds > last) seconds = last;
    const std::int64_t dayCount = seconds / 86400, ofDay = seconds % 86400;
    const year_month_day ymd{sys_days{days{dayCount}}};
    date = static_cast<unsigned>(static_cast<int>(ymd.year()) - 1980) << 9 |
           static_cast<unsigned>(ymd.month()) << 5 | static_cast<unsigned>(ymd.day());
    time = static_cast<unsigned>(ofDay / 3600) << 11 |
           static_cast<unsigned>(ofDay % 3600 / 60) << 5 | static_cast<unsigned>(ofDay % 60 / 2);
}

void fill(const os::FindData& found, FileInfo* info) {
    std::memcpy(info->name, found.name, sizeof info->name);
    info->name[sizeof info->name - 1] = '\0';
    info->attributes = found.attributes;
    info->size = found.size;
    unsigned date = 0, time = 0;
    dosWords(found.modified, date, time);
    info->day = static_cast<int>(date & 0x1F);
    info->month = static_cast<int>(date >> 5 & 0xF);
    info->year = static_cast<int>(date >> 9 & 0x7F) + 1980;
    info->seconds = 2 * static_cast<int>(time & 0x1F);
    info->minutes = static_cast<int>(time >> 5 & 0x3F);
    info->hours = static_cast<int>(time >> 11 & 0x1F);
}

} // namespace

int fileInfo(const char* path, FileInfo* info) {
    if (!path || !info) return 0;
    FileSearcher search;
    if (search.first(path, os::kAttrDirectory | os::kAttrHidden) != 0) return 0;
    fill(search, info);
    return 1;
}

int fileInfo(FileSearcher& search, FileInfo* info) {
    if (!info || search.next() != 0) return 0;
    fill(search, info);
    return 1;
}
