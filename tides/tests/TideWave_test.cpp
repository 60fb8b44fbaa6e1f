#include "TideWave.h"

#include "TideFiles.h"
#include "TideTestFiles.h"
#include "util/sunTimes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

using namespace tidetest;
using tidetools::TidePort;

namespace {

struct SunRow {
    const char* name;
    double lat, lon;
    int tz, year, month, day;
    double morning, sunrise, sunset, evening;
};

const SunRow kSunReference[] = {
#include "tests/reference/sun_reference.inc"
};

short minutes(double degrees) {
    return static_cast<short>(std::lround(degrees * 60.0));
}

// S2 alone has the equilibrium argument 0 at every UTC midnight and runs at
// exactly 30 degrees an hour, so its highs fall at 00:00 and 12:00 UTC.
std::vector<TidePort> ports() {
    std::vector<TidePort> p = {
        {1, 3624, 319, -1, "Bergen", {{kS2, 0, 1000}}},
        {2, 2658, -4711, 4, "Halifax", {{kS2, 0, 1000}}},
        {3, 1, 1, 0, "Gulf of Guinea", {{kS2, 0, 1000}}},
        {4, 4800, 600, -1, "Svalbard", {{kZ0, 0, 500}}},
        {5, 2, 2, -13, "Far East", {{kZ0, 0, 500}}},
        {6, 3, 3, 10, "Far West", {{kZ0, 0, 500}}},
    };
    // The sun reference's places; one port per position, the first zone.
    std::int16_t number = 10;
    for (const SunRow& r : kSunReference) {
        bool taken = false;
        for (const TidePort& q : p)
            taken = taken || (q.lat == minutes(r.lat) && q.lon == minutes(r.lon));
        if (!taken)
            p.push_back({number++,
                         minutes(r.lat),
                         minutes(r.lon),
                         static_cast<std::int8_t>(r.tz),
                         r.name,
                         {{kZ0, 0, 10}}});
    }
    return p;
}

std::string name(const TideWave& w) {
    char buffer[81];
    w.GetPortName(buffer);
    return buffer;
}

} // namespace

class TideWaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        write(dir.path(), ports());
        ASSERT_EQ(TD_LoadDataFiles(const_cast<char*>(dir.path().c_str())), 0);
    }
    void TearDown() override { TD_DoneTides(); }
    ScratchDir dir;
};

TEST(TideWaveConstruction, OtherConstructorsThrowTheirText) {
    char text[] = "x";
    const std::string expected =
        "Not implemented for this moment, use TideWave(Lat,Lon) constructor";
    auto check = [&](auto make) {
        try {
            make();
            ADD_FAILURE() << "no throw";
        } catch (const char* message) {
            EXPECT_EQ(message, expected);
        }
    };
    check([&] { TideWave w(1, text, text); });
    check([&] { TideWave w(text, text, text); });
    check([&] { TideWave w(text, text); });
}

TEST_F(TideWaveTest, FreshObjectHasAZeroCurveAndNoPortYet) {
    TideWave w(3624, 319, nullptr, nullptr);
    EXPECT_EQ(w.GetStep(), 1.0);
    EXPECT_EQ(w.GetNumPoints(), 25);
    for (int i : {-1, 0, 24, 25})
        EXPECT_EQ(w.GetPoint(i), 0.0f) << i;
    EXPECT_EQ(name(w), "");
    EXPECT_EQ(w.GetPortLat(), 3624);
    EXPECT_EQ(w.GetPortLon(), 319);
}

TEST_F(TideWaveTest, DayStartsAtThePortsLocalMidnight) {
    // Zone -1 (east): local midnight is 23:00 UTC, so the S2 high of 00:00
    // UTC is at local 01:00. Zone +4 (west): highs at local 08:00 and 20:00.
    // The process's time zone plays no part.
    for (const char* tz : {"UTC0", "NZST-12", "EST5EDT"}) {
        setenv("TZ", tz, 1);
        tzset();
        const struct {
            short lat, lon;
            char zone;
            short firstHigh;
            float first;
        } cases[] = {{3624, 319, -1, 1, 100.0f * std::cos(-30.0f * 3.14159265f / 180)},
                     {2658, -4711, 4, 8, -50.0f},
                     {1, 1, 0, 0, 100.0f}};
        for (const auto& c : cases) {
            TideWave w(c.lat, c.lon, nullptr, nullptr);
            ASSERT_EQ(w.Calculate(1.0, 15, 7, 2026), 0);
            EXPECT_EQ(w.GetTimeZone(), c.zone);
            EXPECT_NEAR(w.GetPoint(0), c.first, 0.01) << tz << " zone " << int(c.zone);
            short high = -1;
            EXPECT_NEAR(w.GetMaxValue(high), 100.0f, 0.01);
            EXPECT_EQ(high, c.firstHigh) << tz << " zone " << int(c.zone);
        }
    }
    unsetenv("TZ");
    tzset();
}

TEST_F(TideWaveTest, CalculateFillsNameDateAndCurve) {
    TideWave w(2658, -4711, nullptr, nullptr);
    ASSERT_EQ(w.Calculate(0.3, 29, 2, 2024), 0);
    EXPECT_EQ(name(w), "Halifax");
    EXPECT_EQ(w.GetNumPoints(), 81);
    EXPECT_EQ(w.GetStep(), 0.3);
    t_date d{};
    w.GetPredictionDate(&d);
    EXPECT_EQ(d.day, 29);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.year, 2024);
    const float middle = w.GetPoint(40);
    EXPECT_NE(middle, 0.0f);
    EXPECT_EQ(w.AllocMem(), 0);
    EXPECT_EQ(w.GetPoint(40), middle) << "resizing keeps the curve";

    // At zone 0 the highs at 00:00, 12:00 and 24:00 are equal, and the first
    // wins; so do the lows at 06:00 and 18:00.
    TideWave n(1, 1, nullptr, nullptr);
    ASSERT_EQ(n.Calculate(1.0, 1, 1, 2030), 0);
    short high = -1, low = -1;
    EXPECT_FLOAT_EQ(n.GetMaxValue(high), n.GetPoint(12));
    EXPECT_FLOAT_EQ(n.GetPoint(0), n.GetPoint(24));
    EXPECT_EQ(high, 0);
    EXPECT_FLOAT_EQ(n.GetMinValue(low), n.GetPoint(18));
    EXPECT_EQ(low, 6);
}

TEST_F(TideWaveTest, FailedCalculateLeavesTheObjectWhole) {
    TideWave w(3624, 319, nullptr, nullptr);
    ASSERT_EQ(w.Calculate(0.5, 1, 6, 2026), 0);
    const float first = w.GetPoint(0), last = w.GetPoint(48);
    t_time rise{};
    w.GetSunRize(rise);

    const struct {
        double step;
        int day, month, year;
    } refused[] = {{0.0, 2, 6, 2026}, {-1.0, 2, 6, 2026}, {0.0005, 2, 6, 2026}, {1.0, 29, 2, 2025},
                   {1.0, 0, 6, 2026}, {1.0, 31, 4, 2026}, {1.0, 1, 13, 2026},   {1.0, 1, 0, 2026}};
    for (const auto& r : refused) {
        EXPECT_EQ(w.Calculate(r.step, static_cast<char>(r.day), static_cast<char>(r.month),
                              static_cast<short>(r.year)),
                  -1)
            << r.step << " " << r.day << "." << r.month;
    }
    // A position that is no port.
    TideWave other(3624, 320, nullptr, nullptr);
    EXPECT_EQ(other.Calculate(1.0, 1, 6, 2026), -1);
    EXPECT_EQ(name(other), "");

    EXPECT_EQ(w.GetStep(), 0.5);
    EXPECT_EQ(w.GetNumPoints(), 49);
    EXPECT_EQ(w.GetPoint(0), first);
    EXPECT_EQ(w.GetPoint(48), last);
    EXPECT_EQ(name(w), "Bergen");
    t_date d{};
    w.GetPredictionDate(&d);
    EXPECT_EQ(d.day, 1);
    t_time again{};
    w.GetSunRize(again);
    EXPECT_EQ(again.hour, rise.hour);
    EXPECT_EQ(again.minute, rise.minute);
}

TEST_F(TideWaveTest, SunTimesAgreeWithTheSunTimeUnitAndItsReference) {
    auto hours = [](const t_time& t) { return t.hour < 0 ? -1.0 : t.hour + t.minute / 60.0; };
    for (const SunRow& r : kSunReference) {
        TideWave w(minutes(r.lat), minutes(r.lon), nullptr, nullptr);
        ASSERT_EQ(w.Calculate(1.0, static_cast<char>(r.day), static_cast<char>(r.month),
                              static_cast<short>(r.year)),
                  0)
            << r.name;
        t_time t[4];
        w.GetBeginTwilight(t[0]);
        w.GetSunRize(t[1]);
        w.GetSunSet(t[2]);
        w.GetEndTwilight(t[3]);

        const t_date date{static_cast<char>(r.day), static_cast<char>(r.month),
                          static_cast<short>(r.year)};
        double unit[4];
        // The port's own zone (a place listed twice keeps its first zone).
        sunTimes(&date, minutes(r.lat) / 60.0, minutes(r.lon) / 60.0, &unit[0], &unit[1], &unit[2],
                 &unit[3], w.GetTimeZone());
        const double reference[4] = {r.morning, r.sunrise, r.sunset, r.evening};
        for (int i = 0; i < 4; ++i) {
            if (unit[i] < 0) {
                EXPECT_EQ(t[i].hour, -1) << r.name << " event " << i;
                EXPECT_EQ(t[i].minute, 0);
            } else {
                // The object keeps whole minutes, cut.
                EXPECT_EQ(t[i].hour, static_cast<int>(unit[i])) << r.name << " event " << i;
                EXPECT_EQ(t[i].minute, static_cast<int>((unit[i] - std::trunc(unit[i])) * 60));
            }
            if (reference[i] < 0 || unit[i] < 0 || w.GetTimeZone() != r.tz) continue;
            const bool twilight = i == 0 || i == 3;
            const double tolerance = (twilight && std::fabs(r.lat) >= 50 ? 12.0 : 3.0) + 1.0;
            double apart = std::fabs(hours(t[i]) - reference[i]) * 60.0;
            apart = std::min(apart, 1440.0 - apart);
            EXPECT_LE(apart, tolerance) << r.name << " event " << i;
        }
    }
}

TEST_F(TideWaveTest, SunTimesWrapIntoTheLocalDay) {
    // Svalbard in midsummer and midwinter: no sunrise or sunset at all.
    for (int month : {6, 12}) {
        TideWave w(4800, 600, nullptr, nullptr);
        ASSERT_EQ(w.Calculate(1.0, 21, static_cast<char>(month), 2026), 0);
        t_time rise{}, set{};
        w.GetSunRize(rise);
        w.GetSunSet(set);
        EXPECT_EQ(rise.hour, -1);
        EXPECT_EQ(rise.minute, 0);
        EXPECT_EQ(set.hour, -1);
    }
    // On the equator the sun rises near 06:00 and sets near 18:00 UTC; at
    // zone -13 sunset falls on 07:xx of the local day, at zone +10 sunrise
    // on 20:xx, wrapped into the day, never negative or past 24.
    const struct {
        short lat, lon;
        int rise, set;
    } wrapped[] = {{2, 2, 19, 7}, {3, 3, 20, 8}};
    for (const auto& c : wrapped) {
        TideWave w(c.lat, c.lon, nullptr, nullptr);
        ASSERT_EQ(w.Calculate(1.0, 20, 3, 2024), 0);
        t_time rise{}, set{};
        w.GetSunRize(rise);
        w.GetSunSet(set);
        EXPECT_EQ(rise.hour, c.rise) << c.lat;
        EXPECT_EQ(set.hour, c.set) << c.lat;
    }
    // Bergen in December (zone -1): sunrise about 09:45, sunset about 15:30.
    TideWave b(3624, 319, nullptr, nullptr);
    ASSERT_EQ(b.Calculate(1.0, 21, 12, 2024), 0);
    t_time rise{}, set{};
    b.GetSunRize(rise);
    b.GetSunSet(set);
    EXPECT_EQ(rise.hour, 9);
    EXPECT_EQ(set.hour, 15);
}

TEST_F(TideWaveTest, PortListIsCheckedByIndex) {
    const int count = TD_GetNumPorts();
    ASSERT_EQ(count, static_cast<int>(ports().size()));
    IndexFileStruct p{};
    ASSERT_EQ(TD_GetTidePoint(0, &p), 0);
    EXPECT_EQ(p.number, 1);
    EXPECT_EQ(p.lat, 3624);
    EXPECT_EQ(p.lon, 319);
    ASSERT_EQ(TD_GetTidePoint(count - 1, &p), 0);
    EXPECT_EQ(p.number, ports().back().number) << "port-number order";
    const IndexFileStruct before = p;
    for (int bad : {-1, count, 1 << 20}) {
        EXPECT_EQ(TD_GetTidePoint(bad, &p), -1) << bad;
        EXPECT_EQ(p.number, before.number);
    }
    EXPECT_EQ(TD_GetTidePoint(0, nullptr), -1);
    TD_DoneTides();
    EXPECT_EQ(TD_GetNumPorts(), 0);
    EXPECT_EQ(TD_GetTidePoint(0, &p), -1);
}
