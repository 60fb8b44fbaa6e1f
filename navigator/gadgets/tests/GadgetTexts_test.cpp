// The status bar's texts: scale, coordinates and the four information fields,
// as plain functions of their values.
#include "gadgets/GadgetTexts.h"

#include "dialogs/ReadoutText.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(GadgetTexts, ScaleIsGroupedInThrees) {
    const struct {
        double scale;
        const char* text;
    } cases[] = {
        {25000, "1: 25 000"},
        {1500000, "1: 1 500 000"},
        {0, ""},
        {-1, ""},
        {999, "1: 999"},
        {1000, "1: 1 000"},
        {123456789.4, "1: 123 456 789"},
        {7500.5, "1: 7 500"}, // "%0.0f" rounds ties to even
        {std::numeric_limits<double>::infinity(), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleText(c.scale), c.text) << c.scale;
}

TEST(GadgetTexts, GroupingKeepsBlanksAlreadyThereAndTheDecimals) {
    const struct {
        const char* number;
        const char* grouped;
    } cases[] = {
        {"1500000", "1 500 000"}, {"1 500000", "1 500 000"},     {"1 500 000", "1 500 000"},
        {"123", "123"},           {"-12345.678", "-12 345.678"}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GroupInThrees(c.number), c.grouped) << c.number;
}

TEST(GadgetTexts, Coordinates) {
    const struct {
        double value;
        bool longitude;
        const char* text;
    } cases[] = {
        {-10.5, false, " 10\xB0 30.000 S"},
        {60.3975, false, " 60\xB0 23.850 N"},
        {5.3205, true, "  5\xB0 19.230 E"},
        {200, true, ""},
        {-180.0000001, true, ""},
        {180, true, "180\xB0 00.000 E"},
        {-180, true, "180\xB0 00.000 W"},
        // Rounded to 1/10000 minute first: the minutes carry into the degrees.
        {59.99999999, false, " 60\xB0 00.000 N"},
        // Rounds to 0: no hemisphere of its own.
        {-1e-9, false, "  0\xB0 00.000 N"},
        {-1e-9, true, "  0\xB0 00.000 E"},
        // The thousandths of the minute are truncated from the ten-thousandths.
        {-0.00001, false, "  0\xB0 00.000 S"}, // 6 ten-thousandths, truncated to 0 thousandths
        {0.0001, false, "  0\xB0 00.006 N"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoordinateText(c.value, c.longitude), c.text) << c.value;
}

TEST(GadgetTexts, GpsForEveryFixQualitySatelliteCountAndGga) {
    const struct {
        int quality, satellites;
        bool gga;
        GadgetText text;
    } cases[] = {
        {0, 7, true, {"GPS ERROR!", 1}},   {0, -1, false, {"GPS ERROR!", 1}},
        {1, 7, false, {"GPS 7 sats.", 0}}, {1, 7, true, {"GPS 7 sats.", 4}},
        {1, 0, false, {"GPS ok", 0}},      {1, -1, true, {"GPS ok", 4}},
        {2, 9, false, {"DPS 9 sats.", 0}}, {2, 9, true, {"DPS 9 sats.", 0}},
        {2, 0, true, {"DPS ok", 0}},       {2, -1, false, {"DPS ok", 0}},
    };
    for (const auto& c : cases) {
        TInfoGadgetValues v;
        v.fixQuality = c.quality;
        v.satellites = c.satellites;
        v.ggaSeen = c.gga;
        EXPECT_EQ(GpsText(v), c.text) << c.quality << " " << c.satellites << " " << c.gga;
    }
}

TEST(GadgetTexts, TrackBlinksWhileRecording) {
    TInfoGadgetValues v;
    v.recordedPoints = 42;
    v.storedPoints = 317;
    v.trackColour = 5;
    v.recording = true;
    EXPECT_EQ(TrackText(v, true), (GadgetText{"Track: 42pt", 5}));
    EXPECT_EQ(TrackText(v, false), (GadgetText{"Track: 42pt", 0}));
    v.trackFull = true; // recording wins over a full store
    EXPECT_EQ(TrackText(v, true), (GadgetText{"Track: 42pt", 5}));
    v.recording = false;
    EXPECT_EQ(TrackText(v, true), (GadgetText{"Track: FULL", 0}));
    v.trackFull = false;
    EXPECT_EQ(TrackText(v, true), (GadgetText{"Track: 317pt", 0}));
}

TEST(GadgetTexts, ElapsedTimeWithAFakeClock) {
    const std::time_t t0 = 1'700'000'000;
    std::time_t start = 0;
    // The trip log at 0 holds the start at now.
    EXPECT_EQ(ElapsedTimeText(t0, start, 0), " 0 t.  00 m.");
    EXPECT_EQ(start, t0);
    EXPECT_EQ(ElapsedTimeText(t0 + 3900, start, 1.5), " 1 t.  05 m.");
    EXPECT_EQ(ElapsedTimeText(t0 + 604800, start, 80), " 168 t.  00 m.");
    // After a week it starts again from 0, and counts on from there.
    EXPECT_EQ(ElapsedTimeText(t0 + 8 * 86400, start, 95), " 0 t.  00 m.");
    EXPECT_EQ(ElapsedTimeText(t0 + 8 * 86400 + 125, start, 95), " 0 t.  02 m.");
    // A clock set back starts again too.
    EXPECT_EQ(ElapsedTimeText(t0, start, 95), " 0 t.  00 m.");
    EXPECT_EQ(start, t0);
}

TEST(GadgetTexts, TripAndTheKindsTogether) {
    EXPECT_EQ(TripText(0), "0.0 Nm.");
    EXPECT_EQ(TripText(12.34), "12.3 Nm.");
    TInfoGadgetValues v;
    v.tripLog = 3.25;
    std::time_t start = 100;
    EXPECT_EQ(InfoText(kInfoTrip, v, false, 200, start).text, "3.2 Nm.");
    EXPECT_EQ(InfoText(kInfoElapsed, v, false, 220, start).text, " 0 t.  02 m.");
    EXPECT_EQ(InfoText(kInfoGps, v, false, 0, start).text, "GPS ERROR!");
    EXPECT_EQ(InfoText(kInfoTrack, v, false, 0, start).text, "Track: 0pt");
    EXPECT_EQ(InfoText(3, v, false, 0, start), GadgetText{});
}

} // namespace
