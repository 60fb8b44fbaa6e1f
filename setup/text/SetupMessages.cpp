#include "text/SetupMessages.h"

#include "os/codePage.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

TSetupMessageSink& sinkSlot() {
    static TSetupMessageSink sink;
    return sink;
}

} // namespace

void SetSetupMessageSink(TSetupMessageSink sink) {
    std::lock_guard<std::mutex> lock(sinkMutex());
    sinkSlot() = std::move(sink);
}

void ShowSetupMessage(const std::string& text) {
    TSetupMessageSink sink;
    {
        std::lock_guard<std::mutex> lock(sinkMutex());
        sink = sinkSlot();
    }
    if (sink) {
        sink(text);
        return;
    }
    std::string line = os::cp1252ToUtf8(text);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    std::fprintf(stderr, "%s\n", line.c_str());
}
