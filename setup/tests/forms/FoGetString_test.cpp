// The one-line text input through the headless runner.
#include "shell/FoGetString.h"

#include "ModalScript.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <memory>
#include <string>

namespace {

using namespace ui::forms;

void Click(TButton& button) {
    static_cast<QAbstractButton*>(button.GetHandle())->click();
}

TEST(FoGetString, OkGivesTheEditedTextAndCancelGivesNothing) {
    std::unique_ptr<TFoGetString> form(CreateForm<TFoGetString>(nullptr));
    uitest::TModalScript script;
    script
        .Form("FoGetString",
              [](TForm& f) {
                  auto& ask = static_cast<TFoGetString&>(f);
                  EXPECT_TRUE(ask.EdtString->Focused());
                  EXPECT_EQ(ask.EdtString->GetText(), "Vektor");
                  EXPECT_EQ(ask.LblPrompt->GetCaption(), "Navn p\xE5 fanen:");
                  EXPECT_EQ(ask.BtnCancel->GetCaption(), "&Avbryt");
                  ask.EdtString->SetText("Vektor 2");
                  Click(*ask.BtnOK);
              })
        .Form("FoGetString",
              [](TForm& f) {
                  auto& ask = static_cast<TFoGetString&>(f);
                  EXPECT_EQ(ask.BtnCancel->GetCaption(), "&Cancel");
                  ask.EdtString->SetText("typed, then cancelled");
                  Click(*ask.BtnCancel);
              })
        .Form("FoGetString", [](TForm& f) {
            static_cast<TFoGetString&>(f).EdtString->SetText("closed by the window");
            f.Close();
        });
    EXPECT_EQ(form->Execute("Solvanor", "Navn p\xE5 fanen:", "Vektor", 1), "Vektor 2");
    EXPECT_EQ(form->Execute("Solvanor", "Tab name:", "Vector", 2), "");
    EXPECT_EQ(form->Execute("Solvanor", "Tab name:", "Vector", 2), "");
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.Modals().size(), 3u);
    EXPECT_EQ(script.Modals()[0].caption, "Solvanor");
}

} // namespace
