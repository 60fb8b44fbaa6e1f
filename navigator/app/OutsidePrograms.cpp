#include "app/OutsidePrograms.h"

#include "ViewerExchange.h"
#include "os/Process.h"

#include <chrono>
#include <thread>

namespace {

constexpr auto kGrace = std::chrono::milliseconds(500);

void stopAfterGrace(os::Process& process) {
    if (!process.running()) return; // ended (and reaped now), or never started
    std::this_thread::sleep_for(kGrace);
    if (process.running()) process.terminate(1);
}

} // namespace

os::Process& GeneratorProcess() {
    static os::Process process;
    return process;
}

void StartGenerator() {
    GeneratorProcess().start("Bygrel");
}

void StopOutsidePrograms() {
    stopAfterGrace(GeneratorProcess());
    stopAfterGrace(ViewerProcess());
}

void TOutsideProgramsGuard::Stop() {
    if (stopped_) return;
    stopped_ = true;
    StopOutsidePrograms();
}
