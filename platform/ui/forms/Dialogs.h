// Message dialogs, through the window layer's boxes and modal runner (tests
// answer them with uitest::TModalScript::Box).
//
// Texts are Windows-1252; "\r" (or "\r\n", "\n") breaks lines.
#pragma once

#include "ui/forms/Form.h"

#include <initializer_list>
#include <string>

namespace ui::forms {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum TMsgDlgBtn { mbOK, mbCancel };
class TMsgDlgButtons {
  public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn b : buttons)
            bits_ |= 1u << b;
    }
    constexpr bool Contains(TMsgDlgBtn button) const { return bits_ & (1u << button); }
    constexpr TMsgDlgButtons& operator<<(TMsgDlgBtn button) {
        bits_ |= 1u << button;
        return *this;
    }

  private:
    unsigned bits_ = 0;
};

// A box with the type's caption ("Warning", "Error", "Information",
// "Confirm") and icon, and an OK button, with Cancel beside it when asked.
// Answers mrOk or mrCancel (Escape, or the window's close, with Cancel there).
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// A plain box with the application's title and an OK button.
void ShowMessage(const std::string& text);

} // namespace ui::forms
