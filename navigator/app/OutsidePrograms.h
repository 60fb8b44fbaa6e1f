// The outside programs of the 3D view: the 3D generator "Bygrel", started at
// start-up, and the 3D viewer that command 132 starts (ViewerProcess). Neither
// is part of the system; a start that fails is not reported.
//
// At the end, each of the two that still runs is given 500 ms to end by itself
// and is then stopped (os::Process::terminate): only our own child, never a
// process that was already reaped.
#pragma once

namespace os {
class Process;
}

// The generator's process, kept for the stop at exit.
os::Process& GeneratorProcess();

// Starts "Bygrel" in the current folder; the outcome is not looked at.
void StartGenerator();

// Stops the generator and the viewer as above; each that still runs after
// 500 ms is terminated with exit code 1.
void StopOutsidePrograms();

// Stops the outside programs when it goes, on every way out of the program.
class TOutsideProgramsGuard {
  public:
    TOutsideProgramsGuard() = default;
    ~TOutsideProgramsGuard() { Stop(); }
    TOutsideProgramsGuard(const TOutsideProgramsGuard&) = delete;
    TOutsideProgramsGuard& operator=(const TOutsideProgramsGuard&) = delete;
    // Stops them now (once).
    void Stop();

  private:
    bool stopped_ = false;
};
