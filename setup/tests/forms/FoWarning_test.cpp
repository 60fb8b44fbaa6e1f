// The warning form of the user-database reset through the headless runner.
#include "ChartCopyMachine.h"

#include "dbreset/FoWarning.h"
#include "dbreset/UserDatabaseReset.h"

#include "ModalScript.h"
#include "os/instanceLocks.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <memory>
#include <string>

namespace {

using namespace ui::forms;

void Click(TButton& button) {
    static_cast<QAbstractButton*>(button.GetHandle())->click();
}

class FoWarning : public setuptest::ChartCopyMachine {
  protected:
    void SetUp() override {
        ChartCopyMachine::SetUp();
        for (const char* name : kUserDatabaseFiles) {
            touch(std::string("c/RUNTIME/BACKUP/") + name, std::string("backup ") + name);
            touch(std::string("c/RUNTIME/") + name, std::string("live ") + name);
        }
    }
    std::map<std::string, std::string> store() const {
        std::map<std::string, std::string> files;
        for (const char* name : kUserDatabaseFiles)
            files[name] = ostest::readBytes(tmp / (std::string("c/RUNTIME/") + name));
        return files;
    }
    std::unique_ptr<TFoWarning> form{CreateForm<TFoWarning>(nullptr)};
};

TEST_F(FoWarning, ShowsTheWarningAndCancelChangesNothing) {
    const auto before = store();
    uitest::TModalScript script;
    script
        .Form("FoWarning",
              [](TForm& f) {
                  auto& w = static_cast<TFoWarning&>(f);
                  EXPECT_EQ(w.GetCaption(), "Advarsel");
                  EXPECT_EQ(w.LblWarningHeading->GetCaption(), "Advarsel!");
                  EXPECT_EQ(w.LblWarningHeading->GetWidth(), w.GetClientWidth() - 24);
                  EXPECT_EQ(w.LblWarningText->GetCaption(),
                            "Du er i ferd med \xE5 slette ruter, track og symboler\rfor Solvanor "
                            "Vektor.\r\rHar du sikkerhetskopi av dataene?");
                  EXPECT_EQ(w.BtnErase->GetCaption(), "Nullstill");
                  EXPECT_EQ(w.BtnCancel->GetCaption(), "Avbryt");
                  Click(*w.BtnCancel);
              })
        .Form("FoWarning", [](TForm& f) {
            auto& w = static_cast<TFoWarning&>(f);
            EXPECT_EQ(w.GetCaption(), "Warning");
            EXPECT_EQ(w.LblWarningHeading->GetCaption(), "Warning!");
            EXPECT_EQ(w.LblWarningText->GetCaption(),
                      "You are about to erase routs, tracks and symbols\rfor Solvanor "
                      "Vector settings.\r\rDo you have backup of those data?");
            EXPECT_EQ(w.BtnErase->GetCaption(), "Clear");
            EXPECT_EQ(w.BtnCancel->GetCaption(), "Cancel");
            w.Close();
        });
    EXPECT_FALSE(form->Execute(1, "C:\\RUNTIME\\"));
    EXPECT_FALSE(form->Execute(2, "C:\\RUNTIME\\", "Vector settings"));
    EXPECT_EQ(store(), before);
}

TEST_F(FoWarning, ClearRestoresTheBackupsOrSaysWhyNot) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        bool reset;
        const char* message; // null for none
    };
    std::unique_ptr<os::PresenceLock> running;
    const Case cases[] = {
        {"a missing backup", [&] { std::filesystem::remove(tmp / "c/RUNTIME/BACKUP/POINT.IDX"); },
         false,
         "The user database was not cleared: C:\\RUNTIME\\BACKUP\\POINT.IDX (No such file or "
         "directory)"},
        {"a navigation program running",
         [&] {
             touch("c/RUNTIME/BACKUP/POINT.IDX", "backup POINT.IDX");
             running = std::make_unique<os::PresenceLock>();
             ASSERT_EQ(running->acquire("Solvanor V lite"), os::LockResult::Acquired);
         },
         false, "Stop Solvanor program and restart Ostrel!"},
        {"all six backups", [&] { running.reset(); }, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        const auto before = store();
        uitest::TModalScript script;
        script.Form("FoWarning", [](TForm& f) { Click(*static_cast<TFoWarning&>(f).BtnErase); });
        if (c.message) script.Box(mrOk);
        EXPECT_EQ(form->Execute(2, "C:\\RUNTIME"), c.reset);
        EXPECT_TRUE(script.Done());
        if (c.message) {
            ASSERT_EQ(script.Modals().size(), 2u);
            EXPECT_EQ(script.Modals()[0].text, c.message);
            EXPECT_EQ(store(), before);
        } else {
            for (const auto& [name, bytes] : store())
                EXPECT_EQ(bytes, "backup " + name);
        }
    }
}

TEST_F(FoWarning, TheHeadingBlinks) {
    EXPECT_EQ(form->Timer1->GetInterval(), 900);
    EXPECT_TRUE(form->LblWarningHeading->GetVisible());
    const struct {
        bool visible;
        int interval;
    } ticks[] = {{false, 400}, {true, 900}, {false, 400}};
    for (const auto& tick : ticks) {
        form->Timer1Timer(form->Timer1);
        EXPECT_EQ(form->LblWarningHeading->GetVisible(), tick.visible);
        EXPECT_EQ(form->Timer1->GetInterval(), tick.interval);
    }
}

} // namespace
