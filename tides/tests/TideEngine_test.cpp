#include "TideEngine.h"

#include "TideTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace flodwave;
using namespace tidetest;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

std::vector<float> predict(const std::vector<PortItem>& items, double hours, double step) {
    resetTables();
    EXPECT_TRUE(setPortConstituents(items.data(), items.size()));
    std::vector<float> values(static_cast<std::size_t>(predictionPointCount(step)));
    EXPECT_EQ(predictTide(values.data(), static_cast<int>(values.size()), hours, step),
              static_cast<int>(values.size()));
    return values;
}

} // namespace

TEST(TideEngine, PointCountFollowsTheStepAndRefusesStepsThatWouldOverflow) {
    const struct {
        double step;
        int count;
    } cases[] = {{1.0, 25}, {0.5, 49},        {0.25, 97},          {0.3, 81},
                 {24.0, 2}, {0.00074, 32433}, {0.00073248, 32766}, {0.0007324, -1},
                 {0.0, -1}, {-1.0, -1},       {NAN, -1},           {INFINITY, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(predictionPointCount(c.step), c.count) << c.step;
    float buffer[25];
    resetTables();
    EXPECT_EQ(predictTide(buffer, 24, 0.0, 1.0), -1) << "buffer one short";
    EXPECT_EQ(predictTide(buffer, 25, 0.0, 0.0), -1);
}

TEST(TideEngine, SpeedsMatchPublishedConstituentSpeeds) {
    resetTables();
    // Degrees per hour; the engine's rates are rounded to 1e-6 degrees per hour.
    const struct {
        int row;
        double speed;
    } cases[] = {{kM2, 28.9841042}, {kS2, 30.0},       {kN2, 28.4397295}, {kK2, 30.0821373},
                 {kK1, 15.0410686}, {kO1, 13.9430356}, {kMf, 1.0980331},  {kMm, 0.5443747},
                 {kM3, 43.4761563}, {56, 58.9841042},  {52, 57.9682084},  {kZ0, 0.0}};
    for (const auto& c : cases)
        EXPECT_NEAR(constituentNodal(c.row).speed / kDeg, c.speed, 2e-5) << "row " << c.row;
}

TEST(TideEngine, ConstantTermGivesHCosGAtEveryPoint) {
    // Z0 with 100.0 units at a phase lag of 60 degrees: 50.0 all day.
    const std::vector<float> values = predict({{kZ0, 600, 1000}}, 1234.0, 0.5);
    ASSERT_EQ(values.size(), 49u);
    for (float v : values)
        EXPECT_NEAR(v, 50.0, 1e-4);
}

TEST(TideEngine, FirstRecordGetsItsEquilibriumArgument) {
    // M2 alone (first record) must give the same curve as M2 behind a zero Z0.
    const double hours = 24.0 * 4000;
    const std::vector<float> alone = predict({{kM2, 1234, 2000}}, hours, 0.25);
    const std::vector<float> behind = predict({{kZ0, 0, 0}, {kM2, 1234, 2000}}, hours, 0.25);
    ASSERT_EQ(alone.size(), behind.size());
    for (std::size_t i = 0; i < alone.size(); ++i)
        EXPECT_FLOAT_EQ(alone[i], behind[i]) << i;
    // And the curve is the M2 wave: 200 units, twice a lunar day.
    float lo = alone[0], hi = alone[0];
    for (float v : alone) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GT(hi, 180.0f);
    EXPECT_LT(lo, -180.0f);
}

TEST(TideEngine, ArgumentsRunUnreducedThroughALongCurve) {
    // 24001 points at 0.001 h against 25 at 1 h: the same heights on the hour.
    const std::vector<PortItem> port = {
        {kZ0, 0, 1500}, {kM2, 2835, 4536}, {kS2, 3238, 1631}, {kK1, 1639, 339}, {kM3, 2050, 42}};
    const double hours = 24.0 * 11000;
    const std::vector<float> coarse = predict(port, hours, 1.0);
    const std::vector<float> fine = predict(port, hours, 0.001);
    ASSERT_EQ(fine.size(), 24001u);
    for (std::size_t h = 0; h < coarse.size(); ++h)
        EXPECT_NEAR(fine[h * 1000], coarse[h], 0.05) << "hour " << h;
}

TEST(TideEngine, NodalCorrectionsOnlyForListedSpecialRows) {
    const double hours = 24.0 * 3000;
    // Without Mm, Mf, M1, L2, M3 listed those rows stay at f = 1, u = 0.
    predict({{kM2, 0, 100}}, hours, 1.0);
    for (int row : {kMm, kMf, kM1, kL2, kM3}) {
        EXPECT_EQ(constituentNodal(row).f, 1.0) << row;
        EXPECT_EQ(constituentNodal(row).u, 0.0) << row;
    }
    // Listed, each gets its own correction, copied into the port's records.
    predict({{kMm, 0, 10}, {kMf, 0, 10}, {kM1, 0, 10}, {kL2, 0, 10}, {kM3, 0, 10}}, hours, 1.0);
    for (int row : {kMm, kMf, kM1, kL2, kM3})
        EXPECT_NE(constituentNodal(row).f, 1.0) << row;
    for (std::size_t j = 0; j < portConstituentCount(); ++j) {
        const PortConstituent& r = portConstituent(j);
        EXPECT_EQ(r.nodalFactor, constituentNodal(r.constituent).f);
        EXPECT_EQ(r.nodalPhase, constituentNodal(r.constituent).u);
    }
}

TEST(TideEngine, NodeFactorsFollowTheLunarNode) {
    // At the node's extremes (N = 0 in 2006-04, N = 180 degrees in 1997-02)
    // the node factors reach the extremes of the standard tables and u is 0.
    // The kept M2 and K2 constants add 0.0036 and 0.0005.
    const double n0 = 202.44 / 0.002206, n180 = 22.44 / 0.002206;
    const struct {
        double hours;
        std::int16_t row;
        double f;
    } cases[] = {
        {n0, kM2, 0.963 + 0.0036},
        {n0, kK1, 1.113},
        {n0, kO1, 1.183},
        {n0, kK2, 1.317 + 0.0005},
        {n180, kM2, 1.038 + 0.0036},
        {n180, kK1, 0.882},
        {n180, kO1, 0.806},
        {n180, kK2, 0.748 + 0.0005},
    };
    for (const auto& c : cases) {
        predict({{c.row, 0, 10}}, c.hours, 1.0);
        EXPECT_NEAR(constituentNodal(c.row).f, c.f, 0.002) << "row " << c.row << " at " << c.hours;
        EXPECT_NEAR(std::remainder(constituentNodal(c.row).u, 2 * std::numbers::pi), 0.0, 1e-3)
            << "row " << c.row;
    }
}

TEST(TideEngine, RefusesPortsThatDoNotFitTheTable) {
    resetTables();
    const std::vector<PortItem> good = {{kM2, 0, 100}};
    ASSERT_TRUE(setPortConstituents(good.data(), good.size()));
    const std::vector<PortItem> tooMany(70, PortItem{kM2, 0, 1});
    const std::vector<PortItem> rowHigh = {{kM2, 0, 1}, {69, 0, 1}};
    const std::vector<PortItem> rowNegative = {{-1, 0, 1}};
    for (const std::vector<PortItem>* bad : {&tooMany, &rowHigh, &rowNegative}) {
        EXPECT_FALSE(setPortConstituents(bad->data(), bad->size()));
        EXPECT_EQ(portConstituentCount(), 1u) << "the previous port stays";
        EXPECT_EQ(constituentNodal(kM2).used, 1);
    }
    std::vector<PortItem> full(69, PortItem{kM2, 0, 1});
    EXPECT_TRUE(setPortConstituents(full.data(), full.size()));
}
