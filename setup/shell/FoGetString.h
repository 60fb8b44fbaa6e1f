// The one-line text input of the setup program: a modal form with a caption,
// a prompt, an edit and the buttons OK and "&Avbryt" / "&Cancel".
//
//   TFoGetString* ask = ui::forms::CreateForm<TFoGetString>(&ui::forms::Application());
//   std::string name = ask->Execute("Solvanor", "Navn:", "Vektor", 1); // "" when cancelled
#pragma once

#include "ui/forms/Forms.h"

#include <string>

class TFoGetString : public ui::forms::TForm {
  public:
    explicit TFoGetString(ui::forms::TComponent* owner);

    PUBLISHED_FIELD(ui::forms::TLabel, LblPrompt);
    PUBLISHED_FIELD(ui::forms::TEdit, EdtString);
    PUBLISHED_FIELD(ui::forms::TButton, BtnOK);
    PUBLISHED_FIELD(ui::forms::TButton, BtnCancel);

    // Shows the form modally with `caption`, the label `prompt` and the edit
    // holding `defaultText` (Windows-1252 texts); the cancel button reads
    // "&Avbryt" (language 1) or "&Cancel" (language 2). The edit's text after
    // OK; "" after Cancel or any other close.
    std::string Execute(const std::string& caption, const std::string& prompt,
                        const std::string& defaultText, int language);

    // The edit has the focus when the form shows.
    void FormShow(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormShow);
    void BtnOKClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnOKClick);
    void BtnCancelClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCancelClick);
};
