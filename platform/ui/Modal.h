// The modal runner: every modal dialog, message box and modal form goes
// through one replaceable runner.
//
// - By default a modal runs its own event loop until the user ends it.
// - With UI_NONINTERACTIVE=1 in the environment (smoke runs out of process)
//   nobody answers: a box takes its default button and a dialog or form is
//   cancelled right after its set-up; each is logged as one line on standard
//   error.
// - Tests install a scripted runner (uitest::TModalScript) that builds, sets up,
//   acts and closes each modal without an event loop.
//
// InModalLoop() is true while any modal runs, under every runner.
#pragma once

#include <string>

namespace ui {

// One modal thing asked for.
class TModalTask {
  public:
    enum class Kind { Dialog, Box, Form };
    virtual ~TModalTask() = default;

    virtual Kind GetKind() const = 0;
    // What names it: a dialog's template id, a form's name; "" for boxes.
    virtual std::string GetKey() const = 0;
    // Caption and text (boxes; dialogs and forms give their caption), UTF-8.
    virtual std::string GetCaption() const = 0;
    virtual std::string GetText() const { return {}; }

    // Runs it with an event loop until the user ends it; returns the closing id.
    virtual int RunInteractive() = 0;
    // Runs it with nobody there: a box answers its default button, a dialog or
    // form is set up and then cancelled. Returns the closing id.
    virtual int RunUnattended() = 0;
};

class TModalRunner {
  public:
    virtual ~TModalRunner() = default;
    virtual int Run(TModalTask& task) = 0;
};

// Installs a runner (null: the default one) and returns the one it replaces.
TModalRunner* SetModalRunner(TModalRunner* runner);
TModalRunner* GetModalRunner();

// Runs a modal through the current runner, counting it for InModalLoop.
int RunModal(TModalTask& task);

// True while any modal dialog, box or form runs.
bool InModalLoop();

// Whether modals run unattended (UI_NONINTERACTIVE=1 in the environment).
bool IsNonInteractive();

// Ends every modal that runs its own event loop with IDCANCEL (the layer's
// close on SIGTERM); called with nothing running it does nothing.
void CancelModalLoops();

namespace detail {
// Event loops of running modals register here so CancelModalLoops can end them.
void PushModalLoop(void* loop, void (*cancel)(void*));
void PopModalLoop(void* loop);
} // namespace detail

} // namespace ui
