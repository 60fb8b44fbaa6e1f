// The warning before the user database is reset: a blinking heading, the
// warning text naming the installation, and the buttons Clear and Cancel.
// Clear restores the six store files from the installation's BACKUP folder
// (dbreset/UserDatabaseReset.h) and closes the form; Cancel closes it without
// a change.
//
//   TFoWarning* warning = ui::forms::CreateForm<TFoWarning>(&ui::forms::Application());
//   warning->Execute(2, "C:\\RUNTIME\\", "Vector");
#pragma once

#include "ui/forms/Forms.h"

#include <string>

class TFoWarning : public ui::forms::TForm {
  public:
    explicit TFoWarning(ui::forms::TComponent* owner);

    PUBLISHED_FIELD(ui::forms::TLabel, LblWarningHeading);
    PUBLISHED_FIELD(ui::forms::TLabel, LblWarningText);
    PUBLISHED_FIELD(ui::forms::TButton, BtnErase);
    PUBLISHED_FIELD(ui::forms::TButton, BtnCancel);
    PUBLISHED_FIELD(ui::forms::TTimer, Timer1);

    // Shows the form modally in `language` (1 Norwegian, 2 English) for the
    // installation in `directory` (a directory text) shown as `name`. True
    // when the user database was reset.
    bool Execute(int language, const std::string& directory = "C:\\",
                 const std::string& name = "Vektor");

    // The texts; the heading spans the form's width less 24 pixels.
    void FormShow(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormShow);
    // The heading blinks: 900 ms shown, 400 ms hidden.
    void Timer1Timer(ui::forms::TObject* sender);
    PUBLISHED_METHOD(Timer1Timer);
    void BtnEraseClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnEraseClick);
    void BtnCancelClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCancelClick);

  private:
    int language_ = 1;
    std::string directory_ = "C:\\";
    std::string name_ = "Vektor";
    bool reset_ = false;
};
