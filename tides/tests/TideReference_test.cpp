// The sample ports against an independent harmonic predictor fed the same
// constants (tests/reference/predict.mjs and its output predictions.txt).
#include "TideWave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Extreme {
    bool high;
    double minute;
    double height;
    double sharpness; // cm within 30 minutes on the flatter side
};

struct Day {
    std::string port, regime;
    short lat, lon;
    int zone, year, month, day;
    std::vector<double> heights; // every 0.3 h from local midnight
    std::vector<Extreme> extremes;
};

std::vector<Day> readReference() {
    std::ifstream in(std::string(FLODWAVE_REFERENCE_DIR) + "/predictions.txt");
    EXPECT_TRUE(in.good());
    in.imbue(std::locale::classic());
    std::vector<Day> days;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        f.imbue(std::locale::classic());
        std::string kind;
        f >> kind;
        if (kind == "day") {
            Day d;
            f >> d.port >> d.lat >> d.lon >> d.zone >> d.year >> d.month >> d.day >> d.regime;
            days.push_back(d);
        } else if (kind == "h") {
            int i;
            double h;
            f >> i >> h;
            days.back().heights.push_back(h);
        } else if (kind == "x") {
            std::string hl;
            Extreme e;
            f >> hl >> e.minute >> e.height >> e.sharpness;
            e.high = hl == "H";
            days.back().extremes.push_back(e);
        }
    }
    return days;
}

// High and low waters of a one-minute curve, refined by a parabola.
std::vector<Extreme> extremesOf(const TideWave& w) {
    std::vector<Extreme> found;
    for (int i = 1; i + 1 < w.GetNumPoints(); ++i) {
        const double a = w.GetPoint(i - 1), b = w.GetPoint(i), c = w.GetPoint(i + 1);
        const bool high = b > a && b >= c, low = b < a && b <= c;
        if (high || low) found.push_back({high, i + 0.5 * (a - c) / (a - 2 * b + c), b, 0.0});
    }
    return found;
}

class TideReference : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(TD_LoadDataFiles(const_cast<char*>(FLODWAVE_SAMPLE_DIR)), 0);
    }
    static void TearDownTestSuite() { TD_DoneTides(); }
};

} // namespace

TEST_F(TideReference, HeightsAgreeWithinACentimetreOrOnePercentOfTheRange) {
    const std::vector<Day> days = readReference();
    ASSERT_EQ(days.size(), 16u);
    for (const Day& d : days) {
        ASSERT_EQ(d.heights.size(), 81u);
        TideWave w(d.lat, d.lon, nullptr, nullptr);
        ASSERT_EQ(w.Calculate(0.3, static_cast<char>(d.day), static_cast<char>(d.month),
                              static_cast<short>(d.year)),
                  0)
            << d.port;
        ASSERT_EQ(w.GetNumPoints(), 81);
        const auto [lo, hi] = std::minmax_element(d.heights.begin(), d.heights.end());
        const double tolerance = std::max(1.0, 0.01 * (*hi - *lo));
        double worst = 0.0;
        for (int i = 0; i < 81; ++i) {
            worst = std::max(worst, std::fabs(w.GetPoint(i) - d.heights[i]));
            EXPECT_NEAR(w.GetPoint(i), d.heights[i], tolerance)
                << d.port << " " << d.year << "-" << d.month << "-" << d.day << " point " << i;
        }
        std::printf("%-10s %04d-%02d-%02d heights: worst %.2f cm (tolerance %.2f)\n",
                    d.port.c_str(), d.year, d.month, d.day, worst, tolerance);
    }
}

TEST_F(TideReference, HighAndLowWaterTimesAgree) {
    int compared = 0;
    for (const Day& d : readReference()) {
        TideWave w(d.lat, d.lon, nullptr, nullptr);
        ASSERT_EQ(w.Calculate(1.0 / 60.0, static_cast<char>(d.day), static_cast<char>(d.month),
                              static_cast<short>(d.year)),
                  0);
        ASSERT_EQ(w.GetNumPoints(), 1441);
        const std::vector<Extreme> found = extremesOf(w);
        const double tolerance = d.regime == "semidiurnal" ? 2.0 : 5.0;
        double worst = 0.0;
        for (const Extreme& r : d.extremes) {
            // Flat extremes, whose time 1 mm of height would move by
            // minutes, are left out.
            if (r.sharpness < 0.15) continue;
            double best = 1e9;
            for (const Extreme& e : found)
                if (e.high == r.high) best = std::min(best, std::fabs(e.minute - r.minute));
            EXPECT_LE(best, tolerance) << d.port << " " << d.year << "-" << d.month << "-" << d.day
                                       << (r.high ? " high" : " low") << " at minute " << r.minute;
            worst = std::max(worst, best);
            ++compared;
        }
        std::printf("%-10s %04d-%02d-%02d extremes: worst %.2f min (tolerance %.0f)\n",
                    d.port.c_str(), d.year, d.month, d.day, worst, tolerance);
    }
    EXPECT_GE(compared, 40);
}
