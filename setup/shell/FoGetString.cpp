#include "shell/FoGetString.h"

#include "text/LanguageTexts.h"

using namespace ui::forms;

namespace {

constexpr TComponentDesc kGetStringParts[] = {
    {.Name = "LblPrompt", .Maker = Make<TLabel>, .Bounds = {8, 10, 0, 0}},
    {.Name = "EdtString", .Maker = Make<TEdit>, .Bounds = {8, 30, 264, 22}},
    {.Name = "BtnOK",
     .Maker = Make<TButton>,
     .Caption = u8"OK",
     .Bounds = {116, 64, 75, 25},
     .Events = {"OnClick=BtnOKClick"}},
    {.Name = "BtnCancel",
     .Maker = Make<TButton>,
     .Caption = u8"&Avbryt",
     .Bounds = {197, 64, 75, 25},
     .Events = {"OnClick=BtnCancelClick"}},
};

constexpr TFormDesc kFoGetString{.Name = "FoGetString",
                                 .Caption = u8"",
                                 .Bounds = {200, 200, 280, 98},
                                 .Events = {"OnShow=FormShow"},
                                 .Components = kGetStringParts};

} // namespace

TFoGetString::TFoGetString(TComponent* owner) : TForm(owner, kFoGetString) {}

std::string TFoGetString::Execute(const std::string& caption, const std::string& prompt,
                                  const std::string& defaultText, int language) {
    SetCaption(caption);
    LblPrompt->SetCaption(prompt);
    EdtString->SetText(defaultText);
    BtnCancel->SetCaption(LanguageText(lpGetStringCancel, language));
    return ShowModal() == mrOk ? EdtString->GetText() : "";
}

void TFoGetString::FormShow(TObject*) {
    EdtString->SetFocus();
}

void TFoGetString::BtnOKClick(TObject*) {
    SetModalResult(mrOk);
}

void TFoGetString::BtnCancelClick(TObject*) {
    SetModalResult(mrCancel);
}
