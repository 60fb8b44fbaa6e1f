#include "ui/Modal.h"

#include "ui/Application.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace ui {

namespace {

int modalDepth = 0;

// Runs modals with a user (own event loop) or, with UI_NONINTERACTIVE=1,
// without one, logging each.
class DefaultRunner : public TModalRunner {
  public:
    int Run(TModalTask& task) override {
        if (!IsNonInteractive()) return task.RunInteractive();
        const int result = task.RunUnattended();
        const char* kind = task.GetKind() == TModalTask::Kind::Box      ? "box"
                           : task.GetKind() == TModalTask::Kind::Dialog ? "dialog"
                                                                        : "form";
        std::string line = "ui: unattended ";
        line.append(kind);
        if (const std::string key = task.GetKey(); !key.empty()) line.append(" ").append(key);
        line.append(" \"").append(task.GetCaption()).append("\"");
        if (std::string text = task.GetText(); !text.empty()) {
            std::replace(text.begin(), text.end(), '\r', ' ');
            std::replace(text.begin(), text.end(), '\n', ' ');
            line.append(" \"").append(text).append("\"");
        }
        line.append(" -> ").append(std::to_string(result));
        std::fprintf(stderr, "%s\n", line.c_str());
        return result;
    }
};

DefaultRunner& defaultRunner() {
    static DefaultRunner r;
    return r;
}

TModalRunner* current = nullptr;

std::vector<std::pair<void*, void (*)(void*)>>& loops() {
    static std::vector<std::pair<void*, void (*)(void*)>> l;
    return l;
}

} // namespace

TModalRunner* SetModalRunner(TModalRunner* runner) {
    return std::exchange(current, runner);
}

TModalRunner* GetModalRunner() {
    return current ? current : &defaultRunner();
}

int RunModal(TModalTask& task) {
    EnsureQtApplication();
    ++modalDepth;
    struct Leave {
        ~Leave() { --modalDepth; }
    } leave;
    return GetModalRunner()->Run(task);
}

bool InModalLoop() {
    return modalDepth > 0;
}

bool IsNonInteractive() {
    const char* v = std::getenv("UI_NONINTERACTIVE");
    return v && std::strcmp(v, "1") == 0;
}

void CancelModalLoops() {
    // The innermost first; each cancel ends its loop once control returns to it.
    const auto copy = loops();
    for (auto it = copy.rbegin(); it != copy.rend(); ++it)
        it->second(it->first);
}

namespace detail {

void PushModalLoop(void* loop, void (*cancel)(void*)) {
    loops().emplace_back(loop, cancel);
}

void PopModalLoop(void* loop) {
    std::erase_if(loops(), [loop](const auto& l) { return l.first == loop; });
}

} // namespace detail

} // namespace ui
