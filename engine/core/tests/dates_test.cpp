#include "util/dates.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CalendarRow {
    int year, month, day;
    long julian, sinceUnix, hours1996;
    long step;
    int stepYear, stepMonth, stepDay;
};

const CalendarRow calendar[] = {
#include "tests/reference/dates_reference.inc"
};

// Runs a block under a given TZ setting and puts the previous one back.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOld_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::string saved_;
    bool hadOld_ = false;
};

PackedDateTime packed(int year, int month, int day, int hour, int minute) {
    return static_cast<PackedDateTime>(year) | static_cast<PackedDateTime>(month) << 12 |
           static_cast<PackedDateTime>(day) << 16 | static_cast<PackedDateTime>(hour) << 21 |
           static_cast<PackedDateTime>(minute) << 26;
}

TEST(Dates, AgreeWithAnIndependentCalendarInEveryTimeZone) {
    // The process's zone must not move any result: a day east of UTC used to
    // fall back to the previous day through the local-time conversion.
    for (const char* tz : {"UTC0", "XST-14", "YST12", "CET-1CEST,M3.5.0,M10.5.0/3"}) {
        ScopedTimeZone zone(tz);
        for (const CalendarRow& r : calendar) {
            SCOPED_TRACE(std::to_string(r.year) + "-" + std::to_string(r.month) + "-" +
                         std::to_string(r.day) + " TZ=" + tz);
            const t_date date{static_cast<char>(r.day), static_cast<char>(r.month),
                              static_cast<short>(r.year)};
            EXPECT_EQ(julianDay(r.year, r.month, r.day), r.julian);
            EXPECT_EQ(hoursSince1996(&date), r.hours1996);
            EXPECT_EQ(dayNumber(r.year - 1900, r.month - 1, r.day), r.sinceUnix);

            int y = -1, m0 = -1, d = -1;
            dayNumberToDate(r.sinceUnix, &y, &m0, &d);
            EXPECT_EQ(y + 1900, r.year);
            EXPECT_EQ(m0 + 1, r.month);
            EXPECT_EQ(d, r.day);

            int sy = r.year, sm = r.month, sd = r.day;
            addDays(&sy, &sm, &sd, r.step);
            EXPECT_EQ(sy, r.stepYear);
            EXPECT_EQ(sm, r.stepMonth);
            EXPECT_EQ(sd, r.stepDay);
        }
    }
}

TEST(Dates, LeapYearsFollowTheGregorianRule) {
    const struct {
        int year, leap;
    } cases[] = {{1996, 1}, {2000, 1}, {2400, 1}, {1900, 0}, {1997, 0}, {2100, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(isLeapYear(c.year), c.leap) << c.year;
}

TEST(Dates, MonthsOutsideTheYearCarryIntoNeighbouringYears) {
    const t_date thirteenth{1, 13, 1995}; // = 1996-01-01
    const t_date zeroth{1, 0, 1996};      // = 1995-12-01
    EXPECT_EQ(hoursSince1996(&thirteenth), 0);
    EXPECT_EQ(hoursSince1996(&zeroth), -31 * 24);
    EXPECT_EQ(dayNumber(70, 12, 1), 365); // 1971-01-01
    int y = 2023, m = 14, d = 31;         // 2024-02-31 = 2024-03-02
    addDays(&y, &m, &d, 0);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240302);
    for (long n : {LONG_MAX, LONG_MIN, 12000000L}) { // beyond the calendar: unchanged
        addDays(&y, &m, &d, n);
        EXPECT_EQ(y * 10000 + m * 100 + d, 20240302) << n;
    }
    EXPECT_EQ(hoursSince1996(nullptr), 0);
}

TEST(Dates, ParseDateTimeReadsTwoDigitFieldsAndRefusesBadOnes) {
    const struct {
        const char* text;
        int ok;
        PackedDateTime want;
    } cases[] = {
        {"79-06-15 08:30", 1, packed(2079, 6, 15, 8, 30)},
        {"80-01-01 00:00", 1, packed(1980, 1, 1, 0, 0)},
        {"00-02-29 23:59", 1, packed(2000, 2, 29, 23, 59)},
        {"99-12-31 12:05", 1, packed(1999, 12, 31, 12, 5)},
        {"01-02-29 10:00", 0, 0}, // no leap day in 2001
        {"24-13-01 10:00", 0, 0},
        {"24-00-01 10:00", 0, 0},
        {"24-01-01 24:00", 0, 0},
        {"24-01-01 10:60", 0, 0},
        {"2024-01-01 10:00", 0, 0},
        {"24-01-01", 0, 0},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        PackedDateTime v = 0xDEADBEEF;
        EXPECT_EQ(parseDateTime(c.text, &v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.want : 0xDEADBEEF) << c.text;
    }
    EXPECT_EQ(parseDateTime(nullptr, nullptr), 0);
}

TEST(Dates, FormatsPackedDateTimes) {
    char text[16];
    EXPECT_STREQ(formatDateTime(text, packed(2079, 6, 5, 8, 3)), "05-Jun 08:03");
    EXPECT_STREQ(formatDateTimeNumeric(text, packed(2079, 6, 5, 8, 3)), "79-06-05 08:03");
    EXPECT_STREQ(formatDateTimeNumeric(text, packed(2000, 12, 31, 23, 59)), "00-12-31 23:59");
    // A month no parser produces still names no table entry past the end.
    EXPECT_STREQ(formatDateTime(text, packed(2024, 15, 1, 0, 0)), "01-??? 00:00");
    EXPECT_STREQ(formatDateTime(text, packed(2024, 0, 1, 0, 0)), "01-??? 00:00");
}

TEST(Dates, AddMinutesCarriesThroughDaysMonthsAndYears) {
    const struct {
        PackedDateTime from;
        long minutes;
        PackedDateTime want;
    } cases[] = {
        {packed(1999, 12, 31, 23, 59), 1, packed(2000, 1, 1, 0, 0)},
        {packed(2024, 2, 28, 23, 30), 60, packed(2024, 2, 29, 0, 30)},
        {packed(2100, 2, 28, 23, 30), 60, packed(2100, 3, 1, 0, 30)},
        {packed(2024, 3, 1, 0, 10), -20, packed(2024, 2, 29, 23, 50)},
        {packed(2024, 1, 1, 0, 0), 366L * 1440, packed(2025, 1, 1, 0, 0)},
        {packed(2024, 6, 15, 12, 0), 0, packed(2024, 6, 15, 12, 0)},
    };
    for (const auto& c : cases) {
        PackedDateTime v = c.from;
        EXPECT_EQ(addMinutes(&v, c.minutes), 1);
        EXPECT_EQ(v, c.want) << c.minutes;
    }
    // Past the packed year range the value is refused, not wrapped.
    PackedDateTime last = packed(4095, 12, 31, 23, 59);
    EXPECT_EQ(addMinutes(&last, 1), 0);
    EXPECT_EQ(last, packed(4095, 12, 31, 23, 59));
    PackedDateTime any = packed(2024, 1, 1, 0, 0);
    EXPECT_EQ(addMinutes(&any, LONG_MAX), 0);
}

TEST(Dates, FileDateTimeIsTheModificationTimeInUtc) {
    char path[] = "/tmp/datesXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    // 2024-02-29 23:59:30 UTC: the day must not slip back to the 28th.
    const timespec times[2] = {{1709251170, 0}, {1709251170, 0}};
    ASSERT_EQ(futimens(fd, times), 0);
    close(fd);
    ScopedTimeZone zone("XST-14");
    PackedDateTime v = 0;
    EXPECT_EQ(fileDateTime(path, &v), 1);
    EXPECT_EQ(v, packed(2024, 2, 29, 23, 59));
    unlink(path);
    v = 7;
    EXPECT_EQ(fileDateTime(path, &v), 0);
    EXPECT_EQ(v, 7u);
}

TEST(Dates, FormatDayNumber) {
    char text[16];
    EXPECT_STREQ(formatDayNumber(19782, text), "29-Feb 2024");
    EXPECT_STREQ(formatDayNumber(-25568, text), "31-Dec 1899");
    EXPECT_STREQ(formatDayNumber(0, text), "Not available");
    EXPECT_STREQ(formatDayNumber(2000000000L, text), "Not available");
}

TEST(Dates, TodayAndTimeNowAnswerTheLocalClock) {
    ScopedTimeZone zone("XST-14"); // 14 hours east of UTC
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        t_date date{};
        int h = -1, m = -1, s = -1;
        today(&date);
        timeNow(&h, &m, &s);
        if (std::time(nullptr) / 60 != before / 60) continue; // crossed a minute
        const std::time_t local = before + 14 * 3600;
        int y = 0, m0 = 0, d = 0;
        dayNumberToDate(static_cast<long>(local / 86400), &y, &m0, &d);
        EXPECT_EQ(date.year, y + 1900);
        EXPECT_EQ(date.month, m0 + 1);
        EXPECT_EQ(date.day, d);
        EXPECT_EQ(h, local % 86400 / 3600);
        EXPECT_EQ(m, local % 3600 / 60);
        EXPECT_GE(s, 0);
        EXPECT_LE(s, 60);
        return;
    }
    FAIL() << "clock kept crossing minutes";
}

} // namespace
