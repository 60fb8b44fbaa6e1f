#include "util/coordinateText.h"
#include "util/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// The degree sign is the byte 0xF8, written "\370" so digits may follow it.
using Writer = int (*)(double, char*, std::size_t);
using Reader = double (*)(const char*);

std::string write(Writer f, double deg) {
    char buf[16];
    const int n = f(deg, buf, sizeof buf);
    EXPECT_EQ(n, static_cast<int>(std::strlen(buf)));
    return buf;
}

// deg + minutes / 60 + seconds / 3600
constexpr double dms(double d, double m, double s = 0) {
    return d + m / 60 + s / 3600;
}

struct Form {
    const char* name;
    Writer write;
    Reader read;
    double resolution; // degrees of the last printed digit
};
const Form latMinutes{"latToText", latToText, textToLat, 0.001 / 60};
const Form lonMinutes{"lonToText", lonToText, textToLon, 0.001 / 60};
const Form latSeconds{"latToTextDms", latToTextDms, textToLatDms, 0.1 / 3600};
const Form lonSeconds{"lonToTextDms", lonToTextDms, textToLonDms, 0.1 / 3600};

TEST(CoordinateText, WritesEachFormAndRollsOverCleanly) {
    struct Case {
        const Form& form;
        double deg;
        const char* want;
    } cases[] = {
        {latMinutes, 59.5, "N  59\37030.000"},
        {latMinutes, -33.5, "S  33\37030.000"},
        {latMinutes, 59.999995, "N  60\37000.000"}, // minutes print as 60.000
        {latMinutes, 59.99999, "N  59\37059.999"},  // 59.9994 minutes: no rollover
        {latMinutes, -0.0000001, "S   0\37000.000"},
        {latMinutes, 0, "N   0\37000.000"},
        {lonMinutes, -0.25, "W   0\37015.000"},
        {lonMinutes, 179.9999999, "E 180\37000.000"},
        {lonMinutes, 10.0000083, "E  10\37000.000"}, // 0.000498 minutes rounds down
        {latSeconds, dms(63, 25, 30), "N  63\37025'30.0"},
        {latSeconds, dms(10, 30, 59.97), "N  10\37031'00.0"}, // seconds roll over
        {latSeconds, dms(10, 59, 59.96), "N  11\37000'00.0"}, // and carry into degrees
        {latSeconds, -dms(89, 59, 59.99), "S  90\37000'00.0"},
        {lonSeconds, -dms(10, 45), "W  10\37045'00.0"},
        {lonSeconds, dms(179, 59, 59.96), "E 180\37000'00.0"},
        {lonSeconds, dms(5, 0, 59.94), "E   5\37000'59.9"},
    };
    for (const auto& c : cases) {
        const std::string text = write(c.form.write, c.deg);
        EXPECT_EQ(text, c.want) << c.form.name << "(" << c.deg << ")";
        // and back: the text reads as the value to within its last digit
        EXPECT_NEAR(c.form.read(text.c_str()), c.deg, c.form.resolution / 2 + 1e-12)
            << c.form.name << " " << text;
    }
}

TEST(CoordinateText, RefusesWhatItCannotWrite) {
    char buf[16] = "junk";
    for (double bad : {double(NAN), double(INFINITY), -double(INFINITY), 2e9}) {
        EXPECT_EQ(latToText(bad, buf, sizeof buf), -1);
        EXPECT_STREQ(buf, "");
    }
    char small[12]; // one byte short of "N  59\37030.000"
    EXPECT_EQ(latToText(59.5, small, sizeof small), -1);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(latToTextDms(59.5, buf, 13), -1);
    EXPECT_EQ(latToTextDms(59.5, buf, 14), 13);
}

TEST(CoordinateText, ReadsTheScanPatterns) {
    struct Case {
        Reader read;
        const char* text;
        double want;
    } cases[] = {
        {textToLat, "N 59\37030.5", dms(59, 30.5)},
        {textToLat, "N   5\37007.25", dms(5, 7.25)},
        {textToLat, "S 33\37030", -33.5},
        {textToLat, "s 33\37030", -33.5},
        {textToLat, "W 33\37030", 33.5}, // only S is south
        {textToLat, "X 12:30", 12.5},    // any separator byte
        {textToLon, "W 010\37045.25", -dms(10, 45.25)},
        {textToLon, "E 179\37059.999", dms(179, 59.999)},
        {textToLon, "S 010\37045.25", dms(10, 45.25)}, // only W is west
        {textToLatDms, "N  63\37025'30.0", dms(63, 25, 30)},
        {textToLatDms, "S 0\3700'1.5", -dms(0, 0, 1.5)},
        {textToLonDms, "w 123\37004'05.6", -dms(123, 4, 5.6)},
        {textToLonDms, "E 5\3706'7e1", dms(5, 6, 70)},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.read(c.text), c.want, 1e-12) << c.text;
}

TEST(CoordinateText, AnIncompleteTextGivesNoValue) {
    struct Case {
        Reader read;
        const char* text;
    } cases[] = {
        {textToLat, nullptr},
        {textToLat, ""},
        {textToLat, "N"},
        {textToLat, "N 59"},
        {textToLat, "N 59\xF8"},
        {textToLat, "N xx\37030"},
        {textToLat, "N 59\370abc"},
        {textToLat, "N 59\370inf"},
        {textToLat, "N 59\370--5"},
        {textToLatDms, "N 59\37030"}, // the minutes form lacks the seconds field
        {textToLatDms, "N 59\37030'"},
        {textToLonDms, "E 10\370x'5"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(std::isnan(c.read(c.text))) << (c.text ? c.text : "null");
}

// The number texts must not follow the process locale: under a decimal-comma
// locale they still use '.', and the readers still read it.
TEST(CoordinateText, IgnoresADecimalCommaLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* locale = std::setlocale(LC_ALL, "nb_NO.UTF-8");
    if (!locale) locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(locale, nullptr) << "no decimal-comma locale installed (package locales-all)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    EXPECT_EQ(write(latToText, 59.5125), "N  59\37030.750");
    EXPECT_EQ(write(lonToTextDms, -dms(10, 45, 15.5)), "W  10\37045'15.5");
    EXPECT_NEAR(textToLat("N 59\37030.750"), 59.5125, 1e-12);
    EXPECT_NEAR(textToLonDms("W 010\37045'15.5"), -dms(10, 45, 15.5), 1e-12);
    char buf[32];
    formatFloat(-1234.5678, buf, sizeof buf, 10, 2);
    EXPECT_STREQ(buf, "  -1234.57");
    formatNumber(0.5, buf, sizeof buf, 3);
    EXPECT_STREQ(buf, "0.500");

    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
