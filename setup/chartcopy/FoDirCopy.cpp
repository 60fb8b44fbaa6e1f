#include "chartcopy/FoDirCopy.h"

#include "chartcopy/ChartCopyTexts.h"
#include "files/SetupPaths.h"
#include "text/LanguageTexts.h"

#include "os/drives.h"

#include <algorithm>
#include <climits>

using namespace ui::forms;

namespace {

constexpr TComponentDesc kDirCopyParts[] = {
    {.Name = "LblSource", .Maker = Make<TLabel>, .Bounds = {12, 16, 0, 0}},
    {.Name = "DriveComboBox1",
     .Maker = Make<TDriveComboBox>,
     .Bounds = {130, 12, 236, 22},
     .Events = {"OnChange=DriveComboBox1Change"}},
    {.Name = "LblDestination", .Maker = Make<TLabel>, .Bounds = {12, 46, 0, 0}},
    {.Name = "LblDestinationDir", .Maker = Make<TLabel>, .Bounds = {130, 46, 236, 16}},
    {.Name = "LblFilesCopied", .Maker = Make<TLabel>, .Bounds = {12, 74, 0, 0}},
    {.Name = "LblCopied", .Maker = Make<TLabel>, .Caption = u8"0", .Bounds = {130, 74, 0, 0}},
    {.Name = "Memo1", .Maker = Make<TMemo>, .Bounds = {12, 96, 120, 40}, .Visible = false},
    {.Name = "ProgressBar1", .Maker = Make<TProgressBar>, .Bounds = {12, 100, 354, 16}},
    {.Name = "BtnCopy",
     .Maker = Make<TButton>,
     .Bounds = {190, 130, 85, 25},
     .Events = {"OnClick=BtnCopyClick"}},
    {.Name = "BtnCancel",
     .Maker = Make<TButton>,
     .Bounds = {281, 130, 85, 25},
     .Events = {"OnClick=BtnCancelClick"}},
    {.Name = "StatusBar1", .Maker = Make<TStatusBar>},
};

constexpr TFormDesc kFoDirCopy{
    .Name = "FoDirCopy",
    .Caption = u8"Solvanor - Kopiering av kart",
    .Bounds = {200, 200, 378, 186},
    .Events = {"OnCreate=FormCreate", "OnShow=FormShow", "OnCloseQuery=FormCloseQuery"},
    .Components = kDirCopyParts};

void Say(const std::string& text, TMsgDlgType type) {
    MessageDlg(text, type, {mbOK});
}

int ClampToInt(std::int64_t n) {
    return int(std::clamp<std::int64_t>(n, 0, INT_MAX));
}

} // namespace

// What the worker's queued calls reach: the form while it lives.
struct TFoDirCopy::TLink {
    TFoDirCopy* form = nullptr;
};

TFoDirCopy::TFoDirCopy(TComponent* owner)
    : TForm(owner, kFoDirCopy), copier_(std::make_unique<TChartCopier>()),
      link_(std::make_shared<TLink>()) {
    link_->form = this;
    // The worker's progress reaches the form through the application's queue.
    Application();
}

TFoDirCopy::~TFoDirCopy() {
    link_->form = nullptr;
    if (worker_.joinable()) {
        copier_->Stop();
        worker_.join();
    }
    if (copying_) Screen().SetCursor(crDefault);
}

std::string TFoDirCopy::Execute(char kind, int language, const std::string& destination,
                                const TProtectedDirs& protectedDirs) {
    kind_ = kind;
    language_ = language;
    destination_ = destination.empty() ? "C:\\KV71" : destination;
    protected_ = protectedDirs;
    completed_ = false;
    ProgressBar1->SetPosition(0);
    SetCaptions();
    ShowModal();
    return completed_ ? destination_ : "";
}

void TFoDirCopy::SetCaptions() {
    SetCaption(LanguageText(lpDirCopyCaption, language_));
    LblSource->SetCaption(LanguageText(lpDirCopySourceLabel, language_));
    LblDestination->SetCaption(LanguageText(lpDirCopyDestinationLabel, language_));
    LblDestinationDir->SetCaption(destination_);
    LblFilesCopied->SetCaption(LanguageText(lpDirCopyFilesCopiedLabel, language_));
    BtnCopy->SetCaption(LanguageText(lpDirCopyCopyButton, language_));
    BtnCancel->SetCaption(LanguageText(lpDirCopyCancelButton, language_));
}

void TFoDirCopy::FormCreate(TObject*) {
    SetCaptions();
}

void TFoDirCopy::FormShow(TObject*) {
    SetCaptions();
    StatusBar1->SetSimpleText("");
    // The last CD-ROM holding a chart directory; else the last CD-ROM.
    char chartCd = 0, cd = 0;
    for (const char letter : os::driveLetters()) {
        if (os::driveType(letter) != os::DriveType::CdRom) continue;
        cd = letter;
        if (DirExists(std::string(1, letter) + ":\\KV71")) chartCd = letter;
    }
    if (chartCd) {
        DriveComboBox1->SetDrive(chartCd);
    } else if (cd) {
        DriveComboBox1->SetDrive(cd);
    } else {
        Say(LanguageText(lpDirCopyNoCdRom, language_), mtWarning);
        DriveComboBox1->SetDrive('C');
    }
    LblCopied->SetCaption("0");
    DriveComboBox1->SetFocus();
}

void TFoDirCopy::FormCloseQuery(TObject*, bool& canClose) {
    canClose = !copying_;
}

std::string TFoDirCopy::SourcePath() const {
    const char drive = DriveComboBox1->GetDrive();
    return drive ? std::string(1, drive) + ":\\KV71" : "";
}

void TFoDirCopy::DriveComboBox1Change(TObject*) {
    const char drive = DriveComboBox1->GetDrive();
    if (drive == 'C' || drive == 0 || DirExists(SourcePath())) return;
    Say(LanguageText(lpDirCopyNoCharts, language_) + std::string(1, drive) + ":", mtWarning);
    DriveComboBox1->SetDrive('C');
}

void TFoDirCopy::BtnCopyClick(TObject*) {
    if (copying_) return;
    if (MessageDlg(LanguageText(lpDirCopySure, language_), mtWarning, {mbOK, mbCancel}) != mrOk)
        return;
    if (MessageDlg(CopyKindQuestion(kind_, language_), mtWarning, {mbOK, mbCancel}) != mrOk) return;
    BtnCancel->SetEnabled(false);
    LblCopied->SetCaption("0");
    ProgressBar1->SetPosition(0);

    const TChartCopyJob job{.Kind = kind_,
                            .Source = SourcePath(),
                            .Destination = destination_,
                            .Protected = protected_};
    if (const TChartCopyResult refused = copier_->Check(job);
        refused.Outcome != TCopyOutcome::Done) {
        Say(RefusalMessage(refused, language_), mtWarning);
        Stopped();
        return;
    }

    StatusBar1->SetSimpleText(LanguageText(lpDirCopyChecking, language_));
    Screen().SetCursor(crHourGlass);
    BtnCopy->SetEnabled(false);
    DriveComboBox1->SetEnabled(false);
    copying_ = true;
    worker_ = std::thread([copier = copier_.get(), job, link = link_] {
        TChartCopyObserver observer;
        observer.Measured = [link](std::int64_t files, std::int64_t) {
            Queue([link, files] {
                if (link->form) link->form->Measured(files);
            });
        };
        observer.Copied = [link](std::int64_t copied, const std::string&) {
            Queue([link, copied] {
                if (link->form) link->form->Progress(copied);
            });
        };
        const TChartCopyResult result = copier->Run(job, observer);
        Queue([link, result] {
            if (link->form) link->form->Finished(result);
        });
    });
}

void TFoDirCopy::BtnCancelClick(TObject*) {
    Close();
}

void TFoDirCopy::Measured(std::int64_t files) {
    StatusBar1->SetSimpleText(LanguageText(lpDirCopyFilesToCopy, language_) +
                              std::to_string(files));
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(ClampToInt(files));
}

void TFoDirCopy::Progress(std::int64_t copied) {
    LblCopied->SetCaption(std::to_string(copied));
    ProgressBar1->SetPosition(ClampToInt(copied));
}

void TFoDirCopy::Stopped() {
    Screen().SetCursor(crDefault);
    BtnCopy->SetEnabled(true);
    DriveComboBox1->SetEnabled(true);
    BtnCancel->SetEnabled(true);
    BtnCancel->SetFocus();
}

void TFoDirCopy::Finished(const TChartCopyResult& result) {
    if (worker_.joinable()) worker_.join();
    copying_ = false;
    Stopped();
    switch (result.Outcome) {
    case TCopyOutcome::DeleteError:
        // The new charts stand; what is left of the old tree is named.
        StatusBar1->SetSimpleText(DeleteErrorText(result.Path, result.Error, language_));
        [[fallthrough]];
    case TCopyOutcome::Done:
        Say(LanguageText(lpDirCopyDone, language_), mtInformation);
        completed_ = true;
        Close();
        break;
    case TCopyOutcome::NoRoom:
        Say(NoRoomMessage(result, destination_, language_), mtWarning);
        break;
    case TCopyOutcome::Refused:
        Say(RefusalMessage(result, language_), mtWarning);
        break;
    case TCopyOutcome::CreateError:
        Say(CreateErrorText(result.Path, result.Error, language_), mtError);
        Say(LanguageText(lpDirCopyCopyError, language_), mtError);
        break;
    case TCopyOutcome::CopyError:
        StatusBar1->SetSimpleText(FailureDetail(result.Path, result.Error));
        Say(LanguageText(lpDirCopyCopyError, language_), mtError);
        break;
    }
}
