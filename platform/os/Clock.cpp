#include "os/Clock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace os {

namespace {

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

} // namespace

bool isValidSystemTime(const SystemTime& t) {
    if (t.year < 1970 || t.year > 9999 || t.month < 1 || t.month > 12) return false;
    if (t.day < 1 || t.day > daysInMonth(t.year, t.month)) return false;
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 60 && t.milliseconds >= 0 && t.milliseconds <= 999;
}

SystemTime RealClock::now() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    ::gmtime_r(&ts.tv_sec, &tm);
    SystemTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.milliseconds = static_cast<int>(ts.tv_nsec / 1000000);
    return t;
}

std::time_t toTimeT(const SystemTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second > 59 ? 59 : t.second;
    return ::timegm(&tm);
}

bool RealClock::set(const SystemTime& t) {
    if (!isValidSystemTime(t)) return false;
    timespec ts{};
    ts.tv_sec = toTimeT(t);
    ts.tv_nsec = static_cast<long>(t.milliseconds) * 1000000L;
    if (::clock_settime(CLOCK_REALTIME, &ts) == 0) return true;
    int err = errno;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!refusedReported_) {
        refusedReported_ = true;
        std::fprintf(stderr, "clock: the system time is not set from the GPS (%s)\n",
                     std::strerror(err));
    }
    return false;
}

RealClock& realClock() {
    // Never destroyed: reader threads may still use it while the process ends.
    static auto* clock = new RealClock;
    return *clock;
}

SystemTime FakeClock::now() {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
}

bool FakeClock::set(const SystemTime& t) {
    std::lock_guard<std::mutex> lock(mutex_);
    sets_.push_back(t);
    if (!isValidSystemTime(t)) return false;
    now_ = t;
    return true;
}

void FakeClock::setNow(const SystemTime& t) {
    std::lock_guard<std::mutex> lock(mutex_);
    now_ = t;
}

std::vector<SystemTime> FakeClock::sets() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sets_;
}

} // namespace os
