#include "os/Clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using os::SystemTime;

SystemTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    SystemTime t;
    t.year = y;
    t.month = mo;
    t.day = d;
    t.hour = h;
    t.minute = mi;
    t.second = s;
    t.milliseconds = ms;
    return t;
}

TEST(ClockTest, ValidTimes) {
    struct Case {
        SystemTime t;
        bool valid;
    } cases[] = {
        {at(2026, 12, 10, 0, 0, 0), true},       {at(2024, 2, 29, 23, 59, 59, 999), true},
        {at(2025, 2, 29, 12, 0, 0), false},      {at(2100, 2, 29, 12, 0, 0), false},
        {at(2000, 2, 29, 12, 0, 0), true},       {at(2026, 4, 31, 12, 0, 0), false},
        {at(2026, 13, 1, 12, 0, 0), false},      {at(2026, 0, 1, 12, 0, 0), false},
        {at(2026, 1, 0, 12, 0, 0), false},       {at(2026, 1, 1, 24, 0, 0), false},
        {at(2026, 1, 1, 12, 60, 0), false},      {at(2026, 1, 1, 12, 0, 61), false},
        {at(2026, 1, 1, 12, 0, 0, 1000), false}, {at(1969, 12, 31, 12, 0, 0), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::isValidSystemTime(c.t), c.valid)
            << c.t.year << "-" << c.t.month << "-" << c.t.day << " " << c.t.hour << ":"
            << c.t.minute << ":" << c.t.second << "." << c.t.milliseconds;
}

TEST(ClockTest, SecondsSince1970OfAUtcTime) {
    EXPECT_EQ(os::toTimeT(at(1970, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(os::toTimeT(at(2024, 6, 21, 10, 0, 0, 999)), 1718964000);
    EXPECT_EQ(os::toTimeT(at(2016, 12, 31, 23, 59, 60)), os::toTimeT(at(2016, 12, 31, 23, 59, 59)));
    EXPECT_EQ(os::toTimeT(at(2024, 2, 30, 0, 0, 0)), os::toTimeT(at(2024, 3, 1, 0, 0, 0)));
}

TEST(ClockTest, RealClockReadsUtc) {
    std::time_t before = std::time(nullptr);
    SystemTime t = os::realClock().now();
    std::time_t after = std::time(nullptr);
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    std::time_t read = ::timegm(&tm);
    EXPECT_GE(read, before);
    EXPECT_LE(read, after);
    EXPECT_TRUE(os::isValidSystemTime(t));
}

TEST(ClockTest, FakeClockRecordsSetsAndRefusesBadTimes) {
    os::FakeClock clock;
    clock.setNow(at(2026, 12, 10, 1, 2, 3, 456));
    EXPECT_EQ(clock.now().milliseconds, 456);
    EXPECT_TRUE(clock.set(at(2026, 12, 11, 4, 5, 6)));
    EXPECT_EQ(clock.now().day, 11);
    EXPECT_FALSE(clock.set(at(2026, 2, 30, 4, 5, 6)));
    EXPECT_EQ(clock.now().day, 11);
    ASSERT_EQ(clock.sets().size(), 2u);
    EXPECT_EQ(clock.sets()[1].month, 2);
}

} // namespace
