#include "dbreset/FoWarning.h"

#include "dbreset/UserDatabaseReset.h"
#include "shell/NavigatorPresence.h"
#include "text/LanguageTexts.h"

#include <cstring>

using namespace ui::forms;

namespace {

constexpr int kShownInterval = 900;
constexpr int kHiddenInterval = 400;

constexpr TComponentDesc kWarningParts[] = {
    {.Name = "LblWarningHeading",
     .Maker = Make<TLabel>,
     .Caption = u8"Advarsel!",
     .Bounds = {12, 10, 336, 20}},
    {.Name = "LblWarningText", .Maker = Make<TLabel>, .Bounds = {12, 40, 336, 70}},
    {.Name = "BtnErase",
     .Maker = Make<TButton>,
     .Caption = u8"Nullstill",
     .Bounds = {90, 124, 85, 25},
     .Events = {"OnClick=BtnEraseClick"}},
    {.Name = "BtnCancel",
     .Maker = Make<TButton>,
     .Caption = u8"Avbryt",
     .Bounds = {185, 124, 85, 25},
     .Events = {"OnClick=BtnCancelClick"}},
    {.Name = "Timer1",
     .Maker = Make<TTimer>,
     .Events = {"OnTimer=Timer1Timer"},
     .Interval = kShownInterval},
};

constexpr TFormDesc kFoWarning{.Name = "FoWarning",
                               .Caption = u8"Advarsel",
                               .Bounds = {220, 220, 360, 160},
                               .Events = {"OnShow=FormShow"},
                               .Components = kWarningParts};

} // namespace

TFoWarning::TFoWarning(TComponent* owner) : TForm(owner, kFoWarning) {}

bool TFoWarning::Execute(int language, const std::string& directory, const std::string& name) {
    language_ = language;
    directory_ = directory;
    name_ = name;
    reset_ = false;
    ShowModal();
    return reset_;
}

void TFoWarning::FormShow(TObject*) {
    SetCaption(LanguageText(lpWarningCaption, language_));
    LblWarningHeading->SetCaption(LanguageText(lpWarningHeading, language_));
    LblWarningHeading->SetWidth(GetClientWidth() - 24);
    LblWarningHeading->SetVisible(true);
    Timer1->SetInterval(kShownInterval);
    LblWarningText->SetCaption(LanguageText(lpWarningText, language_) + name_ + ".\r\r" +
                               LanguageText(lpWarningQuestion, language_));
    BtnErase->SetCaption(LanguageText(lpWarningErase, language_));
    BtnCancel->SetCaption(LanguageText(lpWarningCancel, language_));
}

void TFoWarning::Timer1Timer(TObject*) {
    LblWarningHeading->SetVisible(!LblWarningHeading->GetVisible());
    Timer1->SetInterval(LblWarningHeading->GetVisible() ? kShownInterval : kHiddenInterval);
}

void TFoWarning::BtnEraseClick(TObject*) {
    Screen().SetCursor(crHourGlass);
    const TResetResult result = ResetUserDatabase(directory_, UserStoreDirectory(directory_));
    Screen().SetCursor(crDefault);
    switch (result.Outcome) {
    case TResetOutcome::Done:
        reset_ = true;
        break;
    case TResetOutcome::NavigatorRunning:
        MessageDlg(kStopNavigatorMessage, mtWarning, {mbOK});
        break;
    case TResetOutcome::Failed:
        MessageDlg(LanguageText(lpResetFailed, language_) + result.File + " (" +
                       std::strerror(result.Error) + ")",
                   mtError, {mbOK});
        break;
    }
    Close();
}

void TFoWarning::BtnCancelClick(TObject*) {
    Close();
}
