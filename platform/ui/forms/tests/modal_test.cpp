// Modal forms and message dialogs through the window layer's runner: the
// script, the strict runner, ModalResult and refused closes, unattended runs
// and real event loops.
#include "formsTest.h"

#include "ui/Modal.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTimer>

#include <cstdlib>
#include <memory>

using namespace formstest;

namespace {

constexpr TComponentDesc kAskParts[] = {
    {.Name = "EdtValue", .Maker = Make<TEdit>, .Bounds = {8, 8, 200, 22}},
    {.Name = "BtnOK",
     .Maker = Make<TButton>,
     .Caption = u8"OK",
     .Bounds = {8, 40, 75, 25},
     .Events = {"OnClick=BtnOKClick"}},
    {.Name = "BtnCancel",
     .Maker = Make<TButton>,
     .Caption = u8"&Avbryt",
     .Bounds = {90, 40, 75, 25},
     .Events = {"OnClick=BtnCancelClick"}},
};
constexpr TFormDesc kAskForm{
    .Name = "FoGetString",
    .Caption = u8"Skriv inn",
    .Bounds = {100, 100, 220, 80},
    .Events = {"OnShow=FormShow", "OnClose=FormClose", "OnCloseQuery=FormCloseQuery"},
    .Components = kAskParts};

class TFoGetString : public TForm {
  public:
    TFoGetString(TComponent* owner) : TForm(owner, kAskForm) {}
    PUBLISHED_FIELD(TEdit, EdtValue);
    PUBLISHED_FIELD(TButton, BtnOK);
    PUBLISHED_FIELD(TButton, BtnCancel);

    void FormShow(TObject*) {
        Log.push_back("show");
        EdtValue->SetFocus();
    }
    PUBLISHED_METHOD(FormShow);
    void FormCloseQuery(TObject*, bool& canClose) {
        Log.push_back("query");
        canClose = MayClose;
    }
    PUBLISHED_METHOD(FormCloseQuery);
    void FormClose(TObject*, TCloseAction& action) {
        Log.push_back("close");
        if (KeepOnClose) action = caNone;
    }
    PUBLISHED_METHOD(FormClose);
    void BtnOKClick(TObject*) {
        SetModalResult(mrOk);
        // The form closes once the click has returned.
        Log.push_back(GetVisible() ? "ok, still shown" : "ok, gone");
    }
    PUBLISHED_METHOD(BtnOKClick);
    void BtnCancelClick(TObject*) {
        if (MessageDlg("Avbryte?\rEndringene g\xE5r tapt.", mtConfirmation, {mbOK, mbCancel}) ==
            mrOk)
            Close();
    }
    PUBLISHED_METHOD(BtnCancelClick);

    std::vector<std::string> Log;
    bool MayClose = true, KeepOnClose = false;
};

void Click(TButton& button) {
    static_cast<QAbstractButton*>(button.GetHandle())->click();
}

TEST(Modal, AScriptedFormRunsItsShowAndReturnsItsModalResult) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    uitest::TModalScript script;
    script.Form("FoGetString", [](TForm& f) {
        auto& ask = static_cast<TFoGetString&>(f);
        EXPECT_TRUE(ask.GetVisible());
        EXPECT_TRUE(ui::InModalLoop());
        EXPECT_TRUE(ask.EdtValue->Focused());
        ask.EdtValue->SetText("60");
        Click(*ask.BtnOK);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(form->GetVisible());
    EXPECT_EQ(form->EdtValue->GetText(), "60");
    EXPECT_EQ(form->Log, (std::vector<std::string>{"show", "ok, still shown", "query", "close"}));
    ASSERT_EQ(script.Modals().size(), 1u);
    EXPECT_EQ(script.Modals()[0].kind, ui::TModalTask::Kind::Form);
    EXPECT_EQ(script.Modals()[0].caption, "Skriv inn");
    EXPECT_EQ(script.Modals()[0].result, mrOk);
}

TEST(Modal, AnUnscriptedFormFailsTheTestInsteadOfWaiting) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    TModalResult result = mrOk;
    EXPECT_NONFATAL_FAILURE(result = form->ShowModal(),
                            "unscripted modal: form FoGetString \"Skriv inn\"");
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(form->Log.empty()); // never shown
    EXPECT_FALSE(ui::InModalLoop());
}

TEST(Modal, ARefusedCloseKeepsTheFormOpen) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    uitest::TModalScript script;
    script.Form("FoGetString", [](TForm& f) {
        auto& ask = static_cast<TFoGetString&>(f);
        ask.MayClose = false; // copying
        ask.Close();
        EXPECT_TRUE(ask.GetVisible());
        EXPECT_EQ(ask.GetModalResult(), mrNone);
        ask.MayClose = true;
        ask.KeepOnClose = true; // OnClose says caNone
        ask.SetModalResult(mrOk);
        EXPECT_TRUE(ask.GetVisible());
        EXPECT_EQ(ask.GetModalResult(), mrNone);
        ask.KeepOnClose = false;
        ask.Close();
        EXPECT_FALSE(ask.GetVisible());
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(form->Log,
              (std::vector<std::string>{"show", "query", "query", "close", "query", "close"}));
}

TEST(Modal, MessageDialogsGoThroughTheScriptInsideAForm) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    Application().SetTitle("Solvanor setup");
    uitest::TModalScript script;
    script
        .Form("FoGetString",
              [](TForm& f) {
                  auto& ask = static_cast<TFoGetString&>(f);
                  Click(*ask.BtnCancel); // answered Cancel: stays
                  EXPECT_TRUE(ask.GetVisible());
                  Click(*ask.BtnCancel); // answered OK: closes
              })
        .Box(mrCancel)
        .Box(mrOk)
        .Box(mrOk);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    ShowMessage("Kopiering fullf\xF8rt.");
    ASSERT_EQ(script.Modals().size(), 4u);
    const auto& box = script.Modals()[1];
    EXPECT_EQ(box.kind, ui::TModalTask::Kind::Box);
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.text, "Avbryte?\rEndringene g\xC3\xA5r tapt.");
    EXPECT_EQ(script.Modals()[3].caption, "Solvanor setup");
    EXPECT_EQ(script.Modals()[3].text, "Kopiering fullf\xC3\xB8rt.");
}

// Uses the layer's own runner (real event loops, or none when unattended).
struct RealRunner {
    RealRunner() : previous(ui::SetModalRunner(nullptr)) {}
    ~RealRunner() { ui::SetModalRunner(previous); }
    ui::TModalRunner* previous;
};

TEST(Modal, UnattendedRunsCancelFormsAfterTheirShowAndLogThem) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    setenv("UI_NONINTERACTIVE", "1", 1);
    TModalResult formResult, boxResult;
    testing::internal::CaptureStderr();
    {
        RealRunner real;
        formResult = form->ShowModal();
        boxResult = MessageDlg("No CD-ROM drive was found", mtWarning, {mbOK});
    }
    const std::string log = testing::internal::GetCapturedStderr();
    unsetenv("UI_NONINTERACTIVE");
    EXPECT_EQ(formResult, mrCancel);
    EXPECT_EQ(boxResult, mrOk);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"show", "query", "close"}));
    EXPECT_NE(log.find("ui: unattended form FoGetString \"Skriv inn\" -> 2"), std::string::npos)
        << log;
    EXPECT_NE(log.find("ui: unattended box \"Warning\" \"No CD-ROM drive was found\" -> 1"),
              std::string::npos)
        << log;
}

TEST(Modal, ARealLoopEndsOnTheUsersButtonOrWhenCancelled) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    RealRunner real;
    QTimer::singleShot(20, [&] { Click(*form->BtnOK); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    // SIGTERM cancels running modals this way.
    QTimer::singleShot(20, [] { ui::CancelModalLoops(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(ui::InModalLoop());
    EXPECT_THROW(
        {
            form->Show();
            form->ShowModal();
        },
        std::logic_error);
}

} // namespace
