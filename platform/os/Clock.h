// The system clock: reading the UTC time and setting it (the navigation
// program sets the PC clock from a GPS fix). Tests use FakeClock and never
// touch the system time.
#pragma once

#include <ctime>
#include <mutex>
#include <vector>

namespace os {

// A UTC time broken into calendar fields.
struct SystemTime {
    int year = 1970;      // full year, e.g. 2026
    int month = 1;        // 1 to 12
    int day = 1;          // 1 to 31
    int hour = 0;         // 0 to 23
    int minute = 0;       // 0 to 59
    int second = 0;       // 0 to 60 (60 only in a leap second; set as 59)
    int milliseconds = 0; // 0 to 999
};

// True when every field lies in its range and the day exists in its month.
bool isValidSystemTime(const SystemTime& t);

// Seconds since 1970-01-01 00:00 UTC of t (milliseconds dropped, a leap
// second counted as 59); fields out of range carry over as timegm carries them.
std::time_t toTimeT(const SystemTime& t);

class Clock {
  public:
    virtual ~Clock() = default;
    // The current UTC time.
    virtual SystemTime now() = 0;
    // Sets the system time to t (UTC). Returns false when t is not a valid
    // time or the clock could not be set.
    virtual bool set(const SystemTime& t) = 0;
};

// The process's real clock. set() changes the system time only where the
// process is allowed to; otherwise it changes nothing, writes one line to the
// standard error stream the first time and returns false.
class RealClock : public Clock {
  public:
    SystemTime now() override;
    bool set(const SystemTime& t) override;

  private:
    std::mutex mutex_;
    bool refusedReported_ = false;
};

// The process-wide real clock.
RealClock& realClock();

// A clock for tests: now() returns the time last given to it (by setNow() or
// a successful set()), and every set() is recorded. Thread-safe.
class FakeClock : public Clock {
  public:
    SystemTime now() override;
    bool set(const SystemTime& t) override;

    void setNow(const SystemTime& t);
    std::vector<SystemTime> sets() const;

  private:
    mutable std::mutex mutex_;
    SystemTime now_;
    std::vector<SystemTime> sets_;
};

} // namespace os
