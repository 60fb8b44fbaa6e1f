// The modal runner: the tests' strict runner, the script and what it
// records, nested modals, and unattended runs.
#include "uiTest.h"
#include "ui/MessageBox.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace ui;
using uitest::TestModule;

namespace {

class TCountingDialog : public TDialog {
  public:
    TCountingDialog() : TDialog(nullptr, 22, &TestModule()) {}
    void SetupWindow() override {
        TDialog::SetupWindow();
        ++SetUps;
    }
    int SetUps = 0;
};

TEST(Runner, StrictModeFailsAnUnscriptedModalInsteadOfWaiting) {
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = ui::MessageBox(nullptr, "is active", "Solvanor V lite",
                                                    MB_TASKMODAL | MB_ICONEXCLAMATION),
                            "unscripted modal: box \"Solvanor V lite\" \"is active\"");
    EXPECT_EQ(answer, IDCANCEL);
    TCountingDialog dialog;
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = dialog.Execute(), "unscripted modal: dialog 22");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.SetUps, 0); // never made
    EXPECT_FALSE(InModalLoop());
}

TEST(Runner, TheScriptAnswersInOrderAndRecordsEachModal) {
    uitest::TModalScript script;
    TCountingDialog dialog;
    bool modalInside = false;
    script
        .Dialog(22,
                [&](TDialog& d) {
                    modalInside = InModalLoop();
                    // A box from inside the dialog is the script's next step.
                    EXPECT_EQ(ui::MessageBox(d.GetHandle(), "Bekreftes !!", "Slette valgt rute",
                                             MB_OKCANCEL | MB_ICONQUESTION),
                              IDCANCEL);
                    d.CloseWindow(IDOK);
                })
        .Box(IDCANCEL)
        .Box(IDOK);
    EXPECT_EQ(dialog.Execute(), IDOK);
    EXPECT_TRUE(modalInside);
    EXPECT_EQ(dialog.SetUps, 1);
    EXPECT_EQ(ui::MessageBox(nullptr, "Sett Windows mange farger !", "Feil palette", MB_OK), IDOK);
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.Modals().size(), 3u);
    EXPECT_EQ(script.Modals()[0].kind, TModalTask::Kind::Box); // the inner one ended first
    EXPECT_EQ(script.Modals()[0].caption, "Slette valgt rute");
    EXPECT_EQ(script.Modals()[0].text, "Bekreftes !!");
    EXPECT_EQ(script.Modals()[1].key, "22");
    EXPECT_EQ(script.Modals()[1].caption, "Egen POSISJON");
    EXPECT_EQ(script.Modals()[1].result, IDOK);
    EXPECT_EQ(script.Modals()[2].caption, "Feil palette");
    EXPECT_FALSE(InModalLoop());
}

TEST(Runner, MismatchesAndDialogsLeftOpenFailTheTest) {
    {
        uitest::TModalScript script;
        script.Box(IDOK);
        TCountingDialog dialog;
        EXPECT_NONFATAL_FAILURE(dialog.Execute(), "came where the script expects box");
        script.Box(IDOK); // what the failed step left
        ui::MessageBox(nullptr, "x", "y", MB_OK);
        ui::MessageBox(nullptr, "x", "y", MB_OK);
    }
    {
        uitest::TModalScript script;
        script.Dialog(22, [](TDialog&) {});
        TCountingDialog dialog;
        int result = 0;
        EXPECT_NONFATAL_FAILURE(result = dialog.Execute(), "was left open by its script");
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_FALSE(dialog.IsWindow());
    }
    EXPECT_NONFATAL_FAILURE(
        {
            uitest::TModalScript script;
            script.Box(IDOK);
        },
        "scripted modal(s) never came");
}

TEST(Runner, UnattendedRunsTakeDefaultsAndLogOneLineEach) {
    TModalRunner* before = SetModalRunner(nullptr);
    setenv("UI_NONINTERACTIVE", "1", 1);
    testing::internal::CaptureStderr();
    const int box =
        ui::MessageBox(nullptr, "Bekreftes !!", "Slette valgt rute", MB_OKCANCEL | MB_ICONQUESTION);
    TCountingDialog dialog;
    const int dlg = dialog.Execute();
    const std::string err = testing::internal::GetCapturedStderr();
    unsetenv("UI_NONINTERACTIVE");
    SetModalRunner(before);
    EXPECT_EQ(box, IDOK);
    EXPECT_EQ(dlg, IDCANCEL);
    EXPECT_EQ(dialog.SetUps, 1); // set up, then cancelled
    EXPECT_EQ(err, "ui: unattended box \"Slette valgt rute\" \"Bekreftes !!\" -> 1\n"
                   "ui: unattended dialog 22 \"Egen POSISJON\" -> 2\n");
}

} // namespace
