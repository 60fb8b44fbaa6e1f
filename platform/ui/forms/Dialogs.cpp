#include "ui/forms/Dialogs.h"

#include "ui/MessageBox.h"
#include "ui/forms/Application.h"

#include <QApplication>

namespace ui::forms {

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    const char* caption = "Warning";
    UINT flags = MB_TASKMODAL;
    switch (type) {
    case mtWarning:
        flags |= MB_ICONEXCLAMATION;
        break;
    case mtError:
        caption = "Error";
        flags |= MB_ICONHAND;
        break;
    case mtInformation:
        caption = "Information";
        flags |= MB_ICONASTERISK;
        break;
    case mtConfirmation:
        caption = "Confirm";
        flags |= MB_ICONQUESTION;
        break;
    }
    if (buttons.Contains(mbCancel)) flags |= MB_OKCANCEL;
    detail::EnsureQt();
    const int answer = ui::MessageBox(QApplication::activeWindow(), text.c_str(), caption, flags);
    return answer == IDOK ? mrOk : mrCancel;
}

void ShowMessage(const std::string& text) {
    detail::EnsureQt();
    ui::MessageBox(QApplication::activeWindow(), text.c_str(), Application().GetTitle().c_str(),
                   MB_TASKMODAL);
}

} // namespace ui::forms
