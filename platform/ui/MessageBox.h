// Message boxes.
//
// MB_OK or MB_OKCANCEL with the HAND, EXCLAMATION, ASTERISK or QUESTION icon; MB_TASKMODAL
// (every box is modal for the whole program) and MB_SETFOREGROUND (the box is
// raised and activated). "\r\n", "\r" and "\n" break lines. The answer is IDOK
// or IDCANCEL; Escape answers IDCANCEL, or IDOK in a box without Cancel.
//
// A box asked for while a window paints is shown after the paint (showing it
// at once would paint the window again from inside its own paint); the caller
// gets the default answer, IDOK, at once.
#pragma once

#include "ui/Modal.h"
#include "ui/Types.h"

#include <string>

namespace ui {

// Texts are Windows-1252. The owner may be null.
int MessageBox(HWND owner, const char* text, const char* caption, UINT flags);

// The modal run of a box, for the runners.
class TBoxTask : public TModalTask {
  public:
    TBoxTask(HWND owner, std::string text, std::string caption, UINT flags);
    Kind GetKind() const override { return Kind::Box; }
    std::string GetKey() const override { return {}; }
    std::string GetCaption() const override; // UTF-8
    std::string GetText() const override;    // UTF-8
    int RunInteractive() override;
    int RunUnattended() override { return DefaultAnswer(); }

    UINT Flags() const { return flags_; }
    const std::string& Cp1252Text() const { return text_; }
    const std::string& Cp1252Caption() const { return caption_; }
    int DefaultAnswer() const { return IDOK; }

  private:
    HWND owner_;
    std::string text_, caption_;
    UINT flags_;
};

} // namespace ui
