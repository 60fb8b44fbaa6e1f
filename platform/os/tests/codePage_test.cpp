#include "os/codePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, RoundTripsEveryByte) {
    struct Case {
        std::string cp1252, utf8;
    } cases[] = {
        {"\x80", "\u20AC"},   // euro sign
        {"\x81", "\xC2\x81"}, // unassigned: C1 control of the same number
        {"\x8D\x8F\x90\x9D", "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"\xF8", "\u00F8"}, // ø
        {"\xE5", "\u00E5"}, // å
        {"\xB0", "\u00B0"}, // degree sign
        {"\x9F\x8A", "\u0178\u0160"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"S\xF8r-\xC5s 12\xB0", "S\u00F8r-\u00C5s 12\u00B0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(os::cp1252ToUtf8(c.cp1252), c.utf8);
        bool exact = false;
        EXPECT_EQ(os::utf8ToCp1252(c.utf8, &exact), c.cp1252);
        EXPECT_TRUE(exact);
    }
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(os::utf8ToCp1252(os::cp1252ToUtf8(all)), all);
}

TEST(CodePage, WhatWindows1252CannotHoldBecomesAQuestionMark) {
    struct Case {
        std::string utf8, cp1252;
    } cases[] = {
        {"\u0416", "?"},              // Cyrillic Zhe
        {"a\U0001F600b", "a?b"},      // outside the basic plane
        {"\xC2", "?"},                // cut sequence
        {"\xE2\x82", "??"},           // cut sequence, each byte
        {"\x80x", "?x"},              // stray continuation byte
        {"\xC0\xAF", "??"},           // overlong "/"
        {"\xED\xA0\x80", "???"},      // surrogate
        {"\xF4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {"\xC2\x80", "?"},            // U+0080 has no byte (0x80 is the euro)
    };
    for (const Case& c : cases) {
        bool exact = true;
        EXPECT_EQ(os::utf8ToCp1252(c.utf8, &exact), c.cp1252) << c.utf8;
        EXPECT_FALSE(exact);
    }
}

} // namespace
