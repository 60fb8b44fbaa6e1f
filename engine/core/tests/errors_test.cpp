#include "runtime/printErrorMessage.h"
#include "util/reportError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lastCaption, lastText;
int captureSink(const char* caption, const char* text) {
    lastCaption = caption;
    lastText = text;
    return 7;
}

TEST(PrintErrorMessage, CaptionIsBoundedTo128Bytes) {
    const ErrorMessageSink previous = setErrorMessageSink(&captureSink);
    struct Case {
        std::string cls;
        const char* method;
        std::string want;
    } cases[] = {
        {"SortedObject", "operator <=", "SortedObject::operator <=()"},
        {std::string(130, 'c'), "m", std::string(127, 'c')},
        {std::string(124, 'c'), "method", std::string(124, 'c') + "::"},
        {std::string(120, 'c'), "method", std::string(120, 'c') + "::met()"},
        {std::string(125, 'c'), "m", std::string(125, 'c') + "()"},
        {std::string(126, 'c'), "m", std::string(126, 'c')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printErrorMessage(c.cls.c_str(), c.method, "text"), 7);
        EXPECT_EQ(lastCaption, c.want) << c.cls.size();
        EXPECT_EQ(lastText, "text");
    }
    printErrorMessage(nullptr, "open", "x");
    EXPECT_EQ(lastCaption, "::open()");
    setErrorMessageSink(previous);
}

TEST(ReportError, ThrowsTheFormattedTextAfterErrorPrefix) {
    try {
        reportError("cell %s: %d bytes", "A0001", 42);
        FAIL() << "reportError returned";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: cell A0001: 42 bytes");
    }
    const std::string longArg(5000, 'x');
    try {
        reportError("%s", longArg.c_str());
    } catch (const char* text) {
        EXPECT_EQ(std::string(text).substr(0, 8), "ERROR: x");
        EXPECT_LT(std::string(text).size(), 1024u);
    }
}

std::string traced;
void record(const char* text) { traced += text; }

TEST(TraceHooks, AreSilentUntilSet) {
    traceMessage("nobody hears this");
    setTraceMessageHook(&record);
    setTraceNoteHook(&record);
    traceMessage("a");
    traceNote("b");
    setTraceMessageHook(nullptr);
    setTraceNoteHook(nullptr);
    traceMessage("c");
    EXPECT_EQ(traced, "ab");
}

} // namespace
