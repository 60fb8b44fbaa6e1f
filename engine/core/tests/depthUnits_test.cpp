#include "util/depthUnits.h"
#include "util/reportError.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>

namespace {

TEST(DepthUnits, ConversionsUseTheChartFactors) {
    EXPECT_DOUBLE_EQ(fathomsToMetres(10), 18.29);
    EXPECT_DOUBLE_EQ(feetToMetres(10), 3.048);
    EXPECT_NEAR(metresToFeet(feetToMetres(123.4)), 123.4, 1e-12);
    EXPECT_DOUBLE_EQ(perGravity(19.6), 2.0);
    const struct {
        double metres, fathoms;
    } cases[] = {
        {18.29, 10.0}, {1.0, 0.5}, {10.0, 5.5}, {0.0, 0.0}, {-1.0, -1.0 / 1.829},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(metresToFathoms(c.metres), c.fathoms) << c.metres;
}

TEST(DepthUnits, SplitsCarryTheSignAndNeverShowTenTenths) {
    const struct {
        double v;
        int whole, tenths, negative;
    } tenths[] = {
        {2.34, 2, 3, 0},   {2.35, 2, 4, 0}, {2.96, 3, 0, 0},       {-2.96, -3, 0, 1},
        {-0.25, 0, -3, 1}, {0.0, 0, 0, 0},  {1e12, INT_MAX, 0, 0}, {NAN, 0, 0, 0},
    };
    for (const auto& c : tenths) {
        int w = 99, t = 99;
        EXPECT_EQ(splitTenths(c.v, &w, &t), c.negative) << c.v;
        EXPECT_EQ(w, c.whole) << c.v;
        EXPECT_EQ(t, c.tenths) << c.v;
    }
    const struct {
        double v;
        int units, parts, negative;
    } feetInches[] = {
        {1.5, 1, 6, 0}, {0.99, 1, 0, 0}, {2.0, 2, 0, 0}, {-1.0, -1, 0, 1}, {-1.5, -1, -6, 1},
    };
    for (const auto& c : feetInches) {
        int feet = 99, inches = 99;
        EXPECT_EQ(splitFeetInches(c.v, &feet, &inches), c.negative) << c.v;
        EXPECT_EQ(feet, c.units) << c.v;
        EXPECT_EQ(inches, c.parts) << c.v;
    }
    const struct {
        double v;
        int units, parts, negative;
    } fathomsFeet[] = {
        {5.5, 5, 3, 0}, {0.5, 0, 3, 0}, {1.0, 1, 0, 0}, {-1.0, -1, 0, 1}, {-2.5, -2, -3, 1},
    };
    for (const auto& c : fathomsFeet) {
        int fathoms = 99, feet = 99;
        EXPECT_EQ(splitFathomsFeet(c.v, &fathoms, &feet), c.negative) << c.v;
        EXPECT_EQ(fathoms, c.units) << c.v;
        EXPECT_EQ(feet, c.parts) << c.v;
    }
}

std::string traced;
void record(const char* text) {
    traced += text;
}

TEST(DepthUnits, FathomReadersDecodeChartFractions) {
    setTraceMessageHook(&record);
    const struct {
        double (*read)(double);
        double v, metres;
        const char* trace;
    } cases[] = {
        {fathomFractionToMetres, 2.5, 2 * 1.829 + 3 * 0.3048, ""},
        {fathomFractionToMetres, 7.0, 7 * 1.829, ""},
        {fathomFractionToMetres, -0.5, -3 * 0.3048, ""},
        {fathomFractionToMetres, 2.25, 2.25 * 1.829, "Unknow fathhom value 2.250000.\n"},
        {fathomFeetToMetres, 5.3, 5 * 1.829 + 3 * 0.3048, ""},
        {fathomFeetToMetres, static_cast<float>(4.1), 4 * 1.829 + 0.3048, ""},
        {fathomFeetToMetres, -1.2, -(1.829 + 2 * 0.3048), ""},
        {fathomFeetToMetres, 5.7, 5 * 1.829, "Unknow feet/fath value 5.700000.\n"},
    };
    for (const auto& c : cases) {
        traced.clear();
        EXPECT_NEAR(c.read(c.v), c.metres, 1e-9) << c.v;
        EXPECT_EQ(traced, c.trace) << c.v;
    }
    traced.clear();
    EXPECT_NEAR(fathomsAndFeetToMetres(3, 4), 3 * 1.829 + 4 * 0.3048, 1e-9);
    EXPECT_EQ(traced, "");
    EXPECT_NEAR(fathomsAndFeetToMetres(3, 6), 3 * 1.829, 1e-9);
    EXPECT_EQ(traced, "Unknow feet value 6.000000.\n");
    setTraceMessageHook(nullptr);

    try {
        fathomFeetToMetres(5.25);
        FAIL() << "an off-step fraction was accepted";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: Unknow Decimal fathom value found 5.250000.\n");
    }
}

// The value in the texts does not follow the process locale.
TEST(DepthUnits, FathomReaderTextsIgnoreADecimalCommaLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* locale = std::setlocale(LC_ALL, "nb_NO.UTF-8");
    if (!locale) locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(locale, nullptr) << "no decimal-comma locale installed (package locales-all)";

    setTraceMessageHook(&record);
    traced.clear();
    fathomFractionToMetres(2.25);
    EXPECT_EQ(traced, "Unknow fathhom value 2.250000.\n");
    setTraceMessageHook(nullptr);
    try {
        fathomFeetToMetres(-5.25);
        ADD_FAILURE() << "an off-step fraction was accepted";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: Unknow Decimal fathom value found -5.250000.\n");
    }
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
