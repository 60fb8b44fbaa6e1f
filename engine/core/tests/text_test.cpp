#include "util/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(Trim, RemovesBlanksAtEitherEnd) {
    struct Case {
        const char* in;
        const char* right;
        const char* left;
    } cases[] = {
        {"  ab c  ", "  ab c", "ab c  "}, {"abc", "abc", "abc"}, {"    ", "", ""}, {"", "", ""},
        {"\tx\t ", "\tx\t", "\tx\t "}, // only the space is a blank
    };
    for (const auto& c : cases) {
        char r[16], l[16], n[16];
        std::strcpy(r, c.in);
        std::strcpy(l, c.in);
        std::strcpy(n, c.in);
        EXPECT_EQ(trimRight(r), r);
        EXPECT_STREQ(r, c.right);
        EXPECT_EQ(trimRightLength(n), std::strlen(c.right));
        EXPECT_STREQ(n, c.right);
        EXPECT_EQ(trimLeft(l), std::strlen(c.left));
        EXPECT_STREQ(l, c.left);
    }
    EXPECT_EQ(trimRight(nullptr), nullptr);
    EXPECT_EQ(trimLeft(nullptr), 0u);
}

TEST(Pad, FillsToWidthAndNeverWritesPastIt) {
    // Buffers of exactly width + 1 bytes: the sanitizer sees any write beyond.
    char s[6] = "ab";
    padRight(s, '.', 5);
    EXPECT_STREQ(s, "ab...");
    char longer[6] = {'a', 'b', 'c', 'd', 'e', 'f'}; // not terminated within the width
    padBlanks(longer, 5);
    EXPECT_STREQ(longer, "abcde");
    char blank[4] = "";
    padBlanks(blank, 3);
    EXPECT_STREQ(blank, "   ");
    char untouched[2] = "x";
    padRight(untouched, '.', -1);
    EXPECT_STREQ(untouched, "x");

    struct Case {
        const char* src;
        char ch;
        int width;
        const char* want;
    } cases[] = {
        {"ab", '-', 6, "--ab--"}, {"abc", '-', 6, "-abc--"}, {"toolong", '*', 4, "tool"},
        {"", '=', 3, "==="},      {nullptr, '=', 2, "=="},   {"x", ' ', 0, ""},
    };
    for (const auto& c : cases) {
        // exactly width + 1 bytes, on the heap where the sanitizer sees overruns
        std::vector<char> dst(static_cast<std::size_t>(c.width) + 1, '?');
        centreText(c.src, c.ch, c.width, dst.data());
        EXPECT_STREQ(dst.data(), c.want) << (c.src ? c.src : "null");
    }
}

TEST(CountBits, CountsEverySetBit) {
    EXPECT_EQ(countBits(0), 0);
    EXPECT_EQ(countBits(1), 1);
    EXPECT_EQ(countBits(0x80000001u), 2);
    EXPECT_EQ(countBits(0xFFFFFFFFu), 32);
    EXPECT_EQ(countBits(0x0F0F00F0u), 12);
}

TEST(NumberText, MatchesPrintfInTheCLocale) {
    const double values[] = {0,       -0.0,  3.14159, -2.5,  2.5,     0.125, 1.005,
                             123.456, -1e-7, 1e20,    -1e15, 59.9995, 0.5};
    const int widths[] = {0, 8, -8};
    for (double v : values) {
        for (int precision : {0, 1, 2, 3, 6}) {
            for (int width : widths) {
                char want[64], got[64];
                std::snprintf(want, sizeof want, "%*.*f", width, precision, v);
                EXPECT_EQ(formatFloat(v, got, sizeof got, width, precision),
                          static_cast<int>(std::strlen(want)));
                EXPECT_STREQ(got, want) << v << " " << width << " " << precision;
            }
            char want[64], got[64];
            std::snprintf(want, sizeof want, "%.*f", precision, v);
            formatNumber(v, got, sizeof got, precision);
            EXPECT_STREQ(got, want) << v << " " << precision;
        }
    }
}

TEST(NumberText, NeverCutsANumber) {
    char buf[7] = "xxxxxx";
    EXPECT_EQ(formatFloat(123.456, buf, sizeof buf, 0, 3), -1); // needs 8 bytes
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(formatFloat(1.5, buf, sizeof buf, 6, 1), 6);
    EXPECT_STREQ(buf, "   1.5");
    EXPECT_EQ(formatFloat(1.5, buf, sizeof buf, 2000000000, 1), -1); // padding alone too wide
    EXPECT_EQ(formatNumber(-12.5, buf, sizeof buf, 2), 6);
    EXPECT_STREQ(buf, "-12.50");
    EXPECT_EQ(formatNumber(-123.5, buf, sizeof buf, 2), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(formatNumber(1, nullptr, 10, 2), -1);
}

TEST(CsvField, CopiesTheNthFieldOfTheLine) {
    struct Case {
        const char* line;
        int n;
        const char* want;
    } cases[] = {
        {"a,bc,,d\r\n", 1, "a"}, {"a,bc,,d\r\n", 2, "bc"},
        {"a,bc,,d\r\n", 3, ""},  {"a,bc,,d\r\n", 4, "d"},
        {"a,bc,,d\r\n", 5, ""},  {"x,y", 3, ""}, // fewer fields than asked
        {"x,y", 0, ""},          {"x,y", -1, ""},
        {"a\tb,c", 2, ""},       {"N 59\37030,E", 1, "N 59\37030"},
        {",lead", 1, ""},        {",lead", 2, "lead"},
    };
    for (const auto& c : cases) {
        char dst[16] = "junk";
        EXPECT_EQ(csvField(dst, sizeof dst, c.line, c.n), std::strlen(c.want));
        EXPECT_STREQ(dst, c.want) << c.line << " #" << c.n;
    }
    char small[3];
    EXPECT_EQ(csvField(small, sizeof small, "a,bcdef", 2), 2u);
    EXPECT_STREQ(small, "bc");
}

TEST(ScaleText, GroupsThousandsWithPoints) {
    struct Case {
        long n;
        const char* want;
    } cases[] = {
        {0, " No Charts "},
        {1, "1 : 1"},
        {999, "1 : 999"},
        {1000, "1 : 1.000"},
        {50000, "1 : 50.000"},
        {999999, "1 : 999.999"},
        {1000000, "1 : 1.000.000"},
        {2500070, "1 : 2.500.070"},
        {1234567890, "1 : 1234.567.890"},
        {-5, "1 : -5"},
    };
    for (const auto& c : cases) {
        char dst[32];
        EXPECT_EQ(scaleText(dst, sizeof dst, c.n), static_cast<int>(std::strlen(c.want)));
        EXPECT_STREQ(dst, c.want) << c.n;
    }
    char small[10];
    EXPECT_EQ(scaleText(small, sizeof small, 50000), -1);
    EXPECT_STREQ(small, "");
}

} // namespace
