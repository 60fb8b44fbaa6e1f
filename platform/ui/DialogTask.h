// Layer internals: the modal run of a dialog, for the runners. Not for the
// programs.
#pragma once

#include "ui/Dialog.h"
#include "ui/Modal.h"

namespace ui {

class TDialogTask : public TModalTask {
  public:
    explicit TDialogTask(TDialog& dialog);

    Kind GetKind() const override { return Kind::Dialog; }
    std::string GetKey() const override;
    std::string GetCaption() const override;
    int RunInteractive() override;
    int RunUnattended() override;

    TDialog& Dialog() const { return dialog_; }
    int TemplateId() const;
    // A run without an event loop: Begin makes the window and runs its set-up;
    // the caller acts on the dialog; End closes it with the result unless it
    // has ended itself, and returns the result it ended with.
    bool Begin();
    bool Ended() const;
    int End(int result);

  private:
    TDialog& dialog_;
};

} // namespace ui
