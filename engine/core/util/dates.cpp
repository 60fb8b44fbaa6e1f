#include "util/dates.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <sys/stat.h>

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr const char* monthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* monthName(int month) {
    return month >= 1 && month <= 12 ? monthNames[month - 1] : "???";
}

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Days from 1970-01-01 to the normalised date; false when the year leaves the
// calendar's range.
bool civilDays(long long year, long long month, long long day, long long& out) {
    year += floorDiv(month - 1, 12);
    month -= 12 * floorDiv(month - 1, 12);
    if (year < -32767 || year > 32767) return false;
    const sys_days first{std::chrono::year{static_cast<int>(year)} /
                         std::chrono::month{static_cast<unsigned>(month)} / 1};
    out = first.time_since_epoch().count() + day - 1;
    return true;
}

bool inCalendar(long long n) {
    long long lo = 0, hi = 0;
    civilDays(-32767, 1, 1, lo);
    civilDays(32767, 12, 31, hi);
    return n >= lo && n <= hi;
}

year_month_day civilDate(long long n) {
    return year_month_day{sys_days{days{n}}};
}

struct Fields {
    int year, month, day, hour, minute;
};

Fields unpack(PackedDateTime v) {
    return {static_cast<int>(v & 0xFFF), static_cast<int>((v >> 12) & 0xF),
            static_cast<int>((v >> 16) & 0x1F), static_cast<int>((v >> 21) & 0x1F),
            static_cast<int>((v >> 26) & 0x3F)};
}

PackedDateTime pack(const Fields& f) {
    return static_cast<PackedDateTime>(f.year) | static_cast<PackedDateTime>(f.month) << 12 |
           static_cast<PackedDateTime>(f.day) << 16 | static_cast<PackedDateTime>(f.hour) << 21 |
           static_cast<PackedDateTime>(f.minute) << 26;
}

// Packs minutes since 1970-01-01 00:00; false when the year does not fit.
bool packMinutes(long long minutes, PackedDateTime& out) {
    const long long dayCount = floorDiv(minutes, 1440);
    const long long ofDay = minutes - dayCount * 1440;
    if (!inCalendar(dayCount)) return false;
    const year_month_day ymd = civilDate(dayCount);
    const int year = static_cast<int>(ymd.year());
    if (year < 0 || year > 4095) return false;
    out = pack({year, static_cast<int>(static_cast<unsigned>(ymd.month())),
                static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(ofDay / 60),
                static_cast<int>(ofDay % 60)});
    return true;
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return lengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

} // namespace

extern "C" {

long hoursSince1996(const t_date* date) {
    if (!date) return 0;
    long long n = 0, epoch = 0;
    civilDays(1996, 1, 1, epoch);
    if (!civilDays(date->year, date->month, date->day, n)) return 0;
    return static_cast<long>((n - epoch) * 24);
}

long julianDay(int year, int month, int day) {
    const long y = year, m = month, d = day;
    const long a = (m - 14) / 12;
    return (1461 * (y + 4800 + a)) / 4 + (367 * (m - 2 - 12 * a)) / 12 -
           (3 * ((y + 4900 + a) / 100)) / 4 + d - 32075;
}

int isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void addDays(int* year, int* month, int* day, long n) {
    if (!year || !month || !day) return;
    long long start = 0, end = 0;
    if (!civilDays(*year, *month, *day, start)) return;
    if (__builtin_add_overflow(start, static_cast<long long>(n), &end) || !inCalendar(end)) return;
    const year_month_day ymd = civilDate(end);
    *year = static_cast<int>(ymd.year());
    *month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    *day = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

int addMinutes(PackedDateTime* value, long minutes) {
    if (!value) return 0;
    const Fields f = unpack(*value);
    long long dayCount = 0;
    if (!civilDays(f.year, f.month, f.day, dayCount)) return 0;
    const long long start = dayCount * 1440 + f.hour * 60 + f.minute;
    long long total = 0;
    if (__builtin_add_overflow(start, static_cast<long long>(minutes), &total)) return 0;
    return packMinutes(total, *value) ? 1 : 0;
}

int parseDateTime(const char* text, PackedDateTime* value) {
    if (!text || !value) return 0;
    int yy = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (std::sscanf(text, "%2d-%2d-%2d %2d:%2d", &yy, &month, &day, &hour, &minute) != 5) return 0;
    if (yy < 0) return 0;
    const int year = yy < 80 ? 2000 + yy : 1900 + yy;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59)
        return 0;
    *value = pack({year, month, day, hour, minute});
    return 1;
}

char* formatDateTime(char* dst, PackedDateTime value) {
    // The fields are at most 2 digits wide (5 and 6 bits), so 12 characters.
    const Fields f = unpack(value);
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%3s %02d:%02d", f.day, monthName(f.month), f.hour,
                  f.minute);
    std::memcpy(dst, text, 13);
    return dst;
}

char* formatDateTimeNumeric(char* dst, PackedDateTime value) {
    const Fields f = unpack(value);
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d %02d:%02d", f.year % 100, f.month, f.day,
                  f.hour, f.minute);
    std::memcpy(dst, text, 15);
    return dst;
}

int fileDateTime(const char* path, PackedDateTime* value) {
    struct stat st;
    if (!path || !value || ::stat(path, &st) != 0) return 0;
    return packMinutes(floorDiv(static_cast<long long>(st.st_mtim.tv_sec), 60), *value) ? 1 : 0;
}

long dayNumber(int yearsSince1900, int month0, int day) {
    long long n = 0;
    if (!civilDays(1900LL + yearsSince1900, month0 + 1LL, day, n)) return 0;
    return static_cast<long>(n);
}

void dayNumberToDate(long n, int* yearsSince1900, int* month0, int* day) {
    if (!inCalendar(n)) return;
    const year_month_day ymd = civilDate(n);
    if (yearsSince1900) *yearsSince1900 = static_cast<int>(ymd.year()) - 1900;
    if (month0) *month0 = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
    if (day) *day = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

char* formatDayNumber(long n, char* dst) {
    if (n == 0 || !inCalendar(n)) {
        std::snprintf(dst, 16, "Not available");
        return dst;
    }
    const year_month_day ymd = civilDate(n);
    std::snprintf(dst, 16, "%02u-%3s %4d", static_cast<unsigned>(ymd.day()),
                  monthName(static_cast<int>(static_cast<unsigned>(ymd.month()))),
                  static_cast<int>(ymd.year()));
    return dst;
}

void today(t_date* date) {
    if (!date) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    date->day = static_cast<char>(local.tm_mday);
    date->month = static_cast<char>(local.tm_mon + 1);
    date->year = static_cast<short>(local.tm_year + 1900);
}

void timeNow(int* hour, int* minute, int* second) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (hour) *hour = local.tm_hour;
    if (minute) *minute = local.tm_min;
    if (second) *second = local.tm_sec;
}

} // extern "C"
