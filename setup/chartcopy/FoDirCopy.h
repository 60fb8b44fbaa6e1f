// The chart copy form: the user picks the chart CD's drive, confirms, and the
// form copies the CD's chart tree ("KV71" at its root) to the destination with
// a file counter and a progress bar.
//
// The copy itself is TChartCopier's (chartcopy/ChartCopier.h). It runs on a
// worker thread so the form keeps painting; the counter and the progress bar
// follow through ui::forms::Queue. While it runs the buttons and the drive
// combo are disabled and the form refuses to close; its messages come after
// the worker has stopped.
//
//   TFoDirCopy* copy = ui::forms::CreateForm<TFoDirCopy>(&ui::forms::Application());
//   std::string root = copy->Execute('1', 2, "C:\\KV71", {.Installations = {"C:\\RUNTIME\\"}});
//   if (!root.empty()) { /* the charts now lie in root */ }
#pragma once

#include "chartcopy/ChartCopier.h"

#include "ui/forms/Forms.h"

#include <memory>
#include <string>
#include <thread>

class TFoDirCopy : public ui::forms::TForm {
  public:
    explicit TFoDirCopy(ui::forms::TComponent* owner);
    ~TFoDirCopy() override;

    PUBLISHED_FIELD(ui::forms::TLabel, LblSource);
    PUBLISHED_FIELD(ui::forms::TDriveComboBox, DriveComboBox1);
    PUBLISHED_FIELD(ui::forms::TLabel, LblDestination);
    PUBLISHED_FIELD(ui::forms::TLabel, LblDestinationDir);
    PUBLISHED_FIELD(ui::forms::TLabel, LblFilesCopied);
    PUBLISHED_FIELD(ui::forms::TLabel, LblCopied);
    PUBLISHED_FIELD(ui::forms::TMemo, Memo1);
    PUBLISHED_FIELD(ui::forms::TProgressBar, ProgressBar1);
    PUBLISHED_FIELD(ui::forms::TButton, BtnCopy);
    PUBLISHED_FIELD(ui::forms::TButton, BtnCancel);
    PUBLISHED_FIELD(ui::forms::TStatusBar, StatusBar1);

    // Shows the form modally for a CD of `kind` ('1', '2', 'B', 'F') in
    // `language` (1 Norwegian, 2 English). The charts go to `destination` (a
    // directory text; "C:\KV71" when empty), which the form shows; the source
    // is chosen in the form. A destination that equals, holds or lies in a
    // folder of `protectedDirs` is refused. Answers the destination after a
    // completed copy, else "".
    std::string Execute(char kind, int language, const std::string& destination,
                        const TProtectedDirs& protectedDirs);

    // Captions in the current language.
    void FormCreate(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormCreate);
    // Captions, the drive scan, the counter at "0", the focus on the combo.
    void FormShow(ui::forms::TObject* sender);
    PUBLISHED_METHOD(FormShow);
    // Refuses while a copy runs.
    void FormCloseQuery(ui::forms::TObject* sender, bool& canClose);
    PUBLISHED_METHOD(FormCloseQuery);
    // A drive other than C without a chart directory: the message, and back to C.
    void DriveComboBox1Change(ui::forms::TObject* sender);
    PUBLISHED_METHOD(DriveComboBox1Change);
    void BtnCopyClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCopyClick);
    void BtnCancelClick(ui::forms::TObject* sender);
    PUBLISHED_METHOD(BtnCancelClick);

    // The source: the chosen drive's letter + ":\KV71".
    std::string SourcePath() const;
    // Whether a copy runs (from the start of the worker until its result has
    // been shown).
    bool Copying() const { return copying_; }
    // The copier the form runs (tests replace its calls).
    TChartCopier& Copier() { return *copier_; }

  private:
    struct TLink;
    void SetCaptions();
    void Measured(std::int64_t files);
    void Progress(std::int64_t copied);
    void Finished(const TChartCopyResult& result);
    // Ends a copy that did not complete: cursor, buttons, Cancel focused.
    void Stopped();

    char kind_ = '1';
    int language_ = 1;
    std::string destination_ = "C:\\KV71";
    TProtectedDirs protected_;
    bool copying_ = false;
    bool completed_ = false;
    std::unique_ptr<TChartCopier> copier_;
    std::thread worker_;
    std::shared_ptr<TLink> link_;
};
