#include "ports/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lines(int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i)
        text += "$GPGLL," + std::to_string(i) + "*hh\r\n";
    return text;
}

TEST(TestText, LinesAndTheNineLineRule) {
    const struct {
        std::string held;     // the text before the poll
        std::string received; // what the poll adds
        std::string after;
        std::size_t lineCount;
    } cases[] = {
        {"", "", "", 0},
        {"", "a", "a", 1},
        {"", "a\r\nb\r\n", "a\r\nb\r\n", 2},
        {"", "\r\n", "\r\n", 1},
        {"", "a\rb\nc", "a\rb\nc", 3},
        {"", "a\n\r", "a\n\r", 2},
        // A CR ending one read and an LF starting the next are one break.
        {"$GPGGA,1*5C\r", "\n$GPRMC,2", "$GPGGA,1*5C\r\n$GPRMC,2", 2},
        // Nine lines or more: the first go before the bytes are appended.
        {lines(1, 12), "X", lines(5, 12) + "X", 9},
        {lines(1, 9), "X", lines(2, 9) + "X", 9},
        {lines(1, 8), "X", lines(1, 8) + "X", 9},
        // A line still arriving counts as one.
        {lines(1, 8) + "$GP", "X\r\n", lines(2, 8) + "$GPX\r\n", 8},
        {std::string("a\0b", 3), std::string("\0", 1), std::string("a\0b\0", 4), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.held) + " + " +
                     ::testing::PrintToString(c.received));
        TTestText text;
        text.Append(c.held.data(), c.held.size());
        text.AddReceived(c.received.data(), c.received.size());
        EXPECT_EQ(text.Bytes(), c.after);
        EXPECT_EQ(text.LineCount(), c.lineCount);
    }
}

TEST(TestText, DeleteFirstLine) {
    const struct {
        std::string before, after;
    } cases[] = {
        {"a\r\nb", "b"}, {"a\rb", "b"}, {"a\nb", "b"}, {"\r\n\r\n", "\r\n"}, {"abc", ""}, {"", ""},
    };
    for (const auto& c : cases) {
        TTestText text;
        text.Append(c.before.data(), c.before.size());
        text.DeleteFirstLine();
        EXPECT_EQ(text.Bytes(), c.after) << ::testing::PrintToString(c.before);
    }
}

TEST(TestText, DisplayTextShowsBreaksAndMarksControlBytes) {
    const char raw[] = "$GP\r\nA\0B\x81\xf8\x80\t\r\x7f";
    const std::string bytes(raw, sizeof raw - 1);
    TTestText text;
    text.Append(bytes.data(), bytes.size());
    EXPECT_EQ(text.DisplayText(), "$GP\nA\xEF\xBF\xBD"
                                  "B\xEF\xBF\xBD\xC3\xB8\xE2\x82\xAC\xEF\xBF\xBD\n\xEF\xBF\xBD");
}

} // namespace
