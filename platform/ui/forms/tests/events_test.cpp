// Which property changes by the program fire events (as the user's changes
// do), and the radio groups by parent.
#include "formsTest.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace formstest;

namespace {

struct TSetCase {
    const char* what;
    std::function<void(TFoTest&)> prepare; // may be null; its events are not counted
    std::function<void(TFoTest&)> set;
    std::vector<std::string> fired;
};

TEST(Events, ProgramSetsFireWhatTheSetupProgramReliesOn) {
    const TSetCase cases[] = {
        {"Checked of a check box set",
         nullptr,
         [](TFoTest& f) { f.VecRTE->SetChecked(true); },
         {"VecRTE:event"}},
        {"Checked of a check box cleared",
         [](TFoTest& f) { f.VecRTE->SetChecked(true); },
         [](TFoTest& f) { f.VecRTE->SetChecked(false); },
         {"VecRTE:event"}},
        {"Checked of a check box unchanged",
         nullptr,
         [](TFoTest& f) { f.VecRTE->SetChecked(false); },
         {}},
        {"Checked of a radio button set",
         nullptr,
         [](TFoTest& f) { f.RadA->SetChecked(true); },
         {"RadA:click"}},
        {"Checked of a radio button cleared",
         [](TFoTest& f) { f.RadA->SetChecked(true); },
         [](TFoTest& f) { f.RadA->SetChecked(false); },
         {}},
        {"Text of an edit",
         nullptr,
         [](TFoTest& f) { f.VecMainDir->SetText("C:\\RUNTIME\\"); },
         {"VecMainDir:event"}},
        {"Text of an edit unchanged",
         [](TFoTest& f) { f.VecMainDir->SetText("C:\\"); },
         [](TFoTest& f) { f.VecMainDir->SetText("C:\\"); },
         {}},
        {"Text of a combo box",
         nullptr,
         [](TFoTest& f) { f.CmbBaud->SetText("19200"); },
         {"CmbBaud:event"}},
        {"Text of a drop-down list",
         nullptr,
         [](TFoTest& f) { f.VecGPS->SetText("RMC"); },
         {"VecGPS:event"}},
        {"ItemIndex of a combo box", nullptr, [](TFoTest& f) { f.VecGPS->SetItemIndex(2); }, {}},
        {"Items of a combo box",
         nullptr,
         [](TFoTest& f) {
             f.CmbBaud->GetItems().Clear();
             f.CmbBaud->GetItems().Add("19200");
         },
         {}},
        {"TabIndex", nullptr, [](TFoTest& f) { f.TabControl1->SetTabIndex(2); }, {}},
        {"Tabs",
         nullptr,
         [](TFoTest& f) {
             f.TabControl1->GetTabs().Clear();
             f.TabControl1->GetTabs().Add("NMEA-Test");
         },
         {}},
        {"Value of a spin edit",
         nullptr,
         [](TFoTest& f) { f.SpinLength->SetValue(20); },
         {"SpinLength:event"}},
        {"Value of a spin edit unchanged",
         [](TFoTest& f) { f.SpinLength->SetValue(20); },
         [](TFoTest& f) { f.SpinLength->SetValue(20); },
         {}},
        {"Text of a spin edit",
         nullptr,
         [](TFoTest& f) { f.SpinLength->SetText("-"); },
         {"SpinLength:event"}},
    };
    for (const TSetCase& c : cases) {
        std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
        if (c.prepare) c.prepare(*form);
        form->Log.clear();
        c.set(*form);
        EXPECT_EQ(form->Log, c.fired) << c.what;
    }
}

TEST(Events, TheUsersChangesFireTheSameEvents) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    form->Show();
    form->Log.clear();
    QTest::mouseClick(form->VecRTE->GetHandle(), Qt::LeftButton);
    EXPECT_TRUE(form->VecRTE->GetChecked());
    auto* edit = static_cast<QLineEdit*>(form->VecMainDir->GetHandle());
    QTest::keyClicks(edit, "C:");
    EXPECT_EQ(form->VecMainDir->GetText(), "C:");
    auto* gps = static_cast<QComboBox*>(form->VecGPS->GetHandle());
    gps->setFocus();
    QTest::keyClick(gps, Qt::Key_Down); // the next item, chosen
    EXPECT_EQ(form->VecGPS->GetItemIndex(), 1);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"VecRTE:event", "VecMainDir:event",
                                                   "VecMainDir:event", "VecGPS:event"}));
}

TEST(Events, RadioButtonsGroupByParentAndAClickOnACheckedOneDoesNothing) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    form->Show();
    form->RadA->SetChecked(true);
    form->TstCOM1->SetChecked(true); // another parent, another group
    EXPECT_TRUE(form->RadA->GetChecked());
    form->Log.clear();

    QTest::mouseClick(form->RadB->GetHandle(), Qt::LeftButton);
    EXPECT_TRUE(form->RadB->GetChecked());
    EXPECT_FALSE(form->RadA->GetChecked());
    EXPECT_TRUE(form->TstCOM1->GetChecked());
    QTest::mouseClick(form->RadB->GetHandle(), Qt::LeftButton);
    EXPECT_TRUE(form->RadB->GetChecked());
    form->TstCOM2->SetChecked(true);
    EXPECT_FALSE(form->TstCOM1->GetChecked());
    EXPECT_TRUE(form->RadB->GetChecked());
    // Only the changes to checked fired: the unchecked buttons stayed silent.
    EXPECT_EQ(form->Log, (std::vector<std::string>{"RadB:click", "TstCOM2:click"}));
}

} // namespace
