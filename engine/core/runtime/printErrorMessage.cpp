#include "runtime/printErrorMessage.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

int writeToStderr(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return 1;
}

std::atomic<ErrorMessageSink> currentSink{&writeToStderr};

} // namespace

extern "C" {

ErrorMessageSink setErrorMessageSink(ErrorMessageSink sink) {
    return currentSink.exchange(sink ? sink : &writeToStderr);
}

int printErrorMessage(const char* cls, const char* method, const char* text) {
    char caption[128];
    std::size_t len = 0;
    if (cls) {
        len = std::strlen(cls);
        if (len > 127) len = 127;
        std::memcpy(caption, cls, len);
    }
    caption[len] = '\0';
    if (len < 125) {
        caption[len++] = ':';
        caption[len++] = ':';
        const char* m = method ? method : "";
        while (*m && len < 125) caption[len++] = *m++;
        caption[len] = '\0';
    }
    if (len < 126) {
        caption[len++] = '(';
        caption[len++] = ')';
        caption[len] = '\0';
    }
    return currentSink.load()(caption, text ? text : "");
}

} // extern "C"
