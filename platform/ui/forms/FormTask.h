// Layer internals: the modal run of a form, for the runners. Not for the
// programs.
#pragma once

#include "ui/Modal.h"
#include "ui/forms/Form.h"

namespace ui::forms {

class TFormTask : public ui::TModalTask {
  public:
    explicit TFormTask(TForm& form) : form_(form) {}

    Kind GetKind() const override { return Kind::Form; }
    std::string GetKey() const override { return form_.GetName(); }
    std::string GetCaption() const override; // UTF-8
    int RunInteractive() override;
    // Shows the form (OnShow runs), then cancels it as a user would.
    int RunUnattended() override;

    TForm& Form() const { return form_; }
    // A run without an event loop: Begin shows the form modally (OnShow
    // runs); the caller acts on it; End closes it with `result` unless it has
    // ended itself, and answers the ModalResult it ended with.
    void Begin();
    bool Ended() const { return form_.modalEnded_; }
    TModalResult End(TModalResult result);

  private:
    TForm& form_;
};

} // namespace ui::forms
