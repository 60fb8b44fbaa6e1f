// Scripted modals for tests: each modal the code under test asks for must be
// the next step of the script; a dialog step builds the dialog, runs its
// set-up, hands it to the step's function and closes it, without an event
// loop. Every modal is recorded (kind, key, caption, text, result).
//
//   uitest::TModalScript script;
//   script.Dialog(10, [](ui::TDialog& d) {
//       d.SetDlgItemText(1001, "60");
//       d.SendMessage(ui::WM_COMMAND, ui::IDOK);
//   }).Box(ui::IDCANCEL);
//   ... code that runs dialog 10, then a box ...
//   EXPECT_TRUE(script.Done());
//
// .Form(name, fn) does the same for a modal form of the form layer.
//
// A dialog the function leaves open is closed with IDCANCEL and fails the test.
// A modal that does not match the next step, or comes when none is left,
// fails the test and gets IDCANCEL. Destroying a script with steps left fails
// the test. The script replaces the runner while it lives.
#pragma once

#include "ui/Dialog.h"
#include "ui/Modal.h"

#include <functional>
#include <string>
#include <vector>

namespace ui::forms {
class TForm;
}

namespace uitest {

class TModalScript : public ui::TModalRunner {
  public:
    TModalScript();
    ~TModalScript() override;
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    TModalScript& Dialog(int templateId, std::function<void(ui::TDialog&)> act);
    TModalScript& Box(int result);
    // A modal form of the form layer, by its name: shown (OnShow runs) and
    // handed to act, which ends it (ModalResult, Close or a button). Needs the
    // form layer's part of this library.
    TModalScript& Form(std::string formName, std::function<void(ui::forms::TForm&)> act);
    // Any kind: the modal's key must equal key (any key when empty); run runs
    // the modal without a loop and returns its result.
    TModalScript& Step(ui::TModalTask::Kind kind, std::string key,
                       std::function<int(ui::TModalTask&)> run);

    struct Seen {
        ui::TModalTask::Kind kind;
        std::string key, caption, text; // UTF-8
        int result;
    };
    const std::vector<Seen>& Modals() const { return seen_; }
    // Every step was used.
    bool Done() const { return next_ == steps_.size(); }

    int Run(ui::TModalTask& task) override;

  private:
    struct StepDef {
        ui::TModalTask::Kind kind;
        std::string key;
        std::function<int(ui::TModalTask&)> run;
    };
    std::vector<StepDef> steps_;
    std::size_t next_ = 0;
    std::vector<Seen> seen_;
    ui::TModalRunner* previous_;
};

// A runner that fails the test for any modal (installed by the tests' main).
class TStrictRunner : public ui::TModalRunner {
  public:
    int Run(ui::TModalTask& task) override;
};

// Records what the programs ask of the cursor while it lives.
class TCursorRecorder {
  public:
    TCursorRecorder();
    ~TCursorRecorder();
    struct Request {
        int kind; // ui::TCursorRequest::Kind
        int x, y;
        bool clipped;
        std::string cursor;
    };
    std::vector<Request> Requests;
};

const char* KindName(ui::TModalTask::Kind kind);

} // namespace uitest
