// Fuzz target of the date-time text reader: the input (up to a NUL byte) is
// read as "yy-mm-dd hh:mm". A text that reads gives a date that exists, and
// its numeric form reads back to the same value.
#include "util/dates.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    PackedDateTime value = 0xDEADBEEF;
    if (parseDateTime(text.c_str(), &value) != 1) {
        fuzzCheck(value == 0xDEADBEEF);
        return 0;
    }
    const int year = static_cast<int>(value & 0xFFF), month = static_cast<int>((value >> 12) & 15),
              day = static_cast<int>((value >> 16) & 31),
              hour = static_cast<int>((value >> 21) & 31),
              minute = static_cast<int>((value >> 26) & 63);
    fuzzCheck(year >= 1980 && year <= 2079);
    fuzzCheck(month >= 1 && month <= 12 && day >= 1 && hour <= 23 && minute <= 59);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    fuzzCheck(day <= days[month - 1] + (month == 2 && leap ? 1 : 0));
    char numeric[16];
    formatDateTimeNumeric(numeric, value);
    PackedDateTime back = 0;
    fuzzCheck(parseDateTime(numeric, &back) == 1 && back == value);
    char named[16];
    formatDateTime(named, value);
    return 0;
}
