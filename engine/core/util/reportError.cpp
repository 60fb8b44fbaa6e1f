#include "util/reportError.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void silent(const char*) {}

std::atomic<TraceHook> messageHook{&silent};
std::atomic<TraceHook> noteHook{&silent};

} // namespace

extern "C" {

void reportError(const char* format, ...) {
#ifdef FLODWAVE_UTILITY
    (void)format;
    std::exit(1);
#else
    // One buffer per thread: the text stays valid for the catcher even when
    // another thread reports an error meanwhile.
    static thread_local char text[1024] = "ERROR: ";
    constexpr std::size_t prefix = sizeof("ERROR: ") - 1;
    std::memcpy(text, "ERROR: ", prefix);
    text[prefix] = '\0';
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(text + prefix, sizeof text - prefix, format, args);
        va_end(args);
    }
    throw static_cast<const char*>(text);
#endif
}

void traceMessage(const char* text) {
    messageHook.load()(text ? text : "");
}

void traceNote(const char* text) {
    noteHook.load()(text ? text : "");
}

TraceHook setTraceMessageHook(TraceHook hook) {
    return messageHook.exchange(hook ? hook : &silent);
}

TraceHook setTraceNoteHook(TraceHook hook) {
    return noteHook.exchange(hook ? hook : &silent);
}

} // extern "C"
