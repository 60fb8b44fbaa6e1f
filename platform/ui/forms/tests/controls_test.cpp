// The components the setup program leans on: tab changes asked with the old
// tab current, spin edits with half-typed texts and limits, typed combo text,
// the memo's line breaks, the image's mouse, popup menus, the drive combo, the
// timer, the status and progress bars.
#include "formsTest.h"

#include "os/drives.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace formstest;

namespace {

std::unique_ptr<TFoTest> ShownForm() {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    form->Show();
    Settle();
    form->Log.clear();
    return form;
}

void ClickTab(TTabControl& tabs, int index) {
    QTabBar* bar = tabs.GetTabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

TEST(TabControl, OnChangingSeesTheOldTabAndMayKeepIt) {
    auto form = ShownForm();
    TTabControl& tabs = *form->TabControl1;
    ClickTab(tabs, 1);
    EXPECT_EQ(tabs.GetTabIndex(), 1);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"changing from Vektor instillinger",
                                                   "change to Generelle instillinger"}));

    form->Log.clear();
    form->AllowTabChange = false;
    ClickTab(tabs, 2);
    EXPECT_EQ(tabs.GetTabIndex(), 1);
    EXPECT_EQ(tabs.GetTabBar()->currentIndex(), 1);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"changing from Generelle instillinger"}));

    // The program's choice fires nothing; the next click starts from it.
    form->Log.clear();
    form->AllowTabChange = true;
    tabs.SetTabIndex(0);
    EXPECT_TRUE(form->Log.empty());
    ClickTab(tabs, 2);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"changing from Vektor instillinger",
                                                   "change to NMEA-Test"}));
}

TEST(TabControl, RebuildingTheTabsInOnChangingIsSafe) {
    auto form = ShownForm();
    TTabControl& tabs = *form->TabControl1;
    tabs.OnChanging = [&](TObject*, bool&) {
        tabs.GetTabs().Clear();
        tabs.GetTabs().Add("NMEA-Test");
    };
    ClickTab(tabs, 2);
    EXPECT_EQ(tabs.GetTabs().GetCount(), 1);
    EXPECT_EQ(tabs.GetTabIndex(), 0);
    EXPECT_TRUE(form->Log.empty()); // no OnChange for a tab that is gone
    tabs.GetTabs().Clear();
    EXPECT_EQ(tabs.GetTabIndex(), -1);
}

TEST(SpinEdit, HalfTypedTextsGiveZeroAndStillFireOnChange) {
    auto form = ShownForm();
    TSpinEdit& spin = *form->SpinLength;
    spin.SetValue(20);
    auto* edit = spin.GetHandle()->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    for (const char* typed : {"", "-", "+"}) {
        form->Log.clear();
        edit->selectAll();
        if (*typed)
            QTest::keyClicks(edit, typed);
        else
            QTest::keyClick(edit, Qt::Key_Delete);
        EXPECT_EQ(spin.GetText(), typed);
        EXPECT_EQ(spin.GetValue(), 0) << "'" << typed << "'";
        EXPECT_EQ(form->Log, (std::vector<std::string>{"SpinLength:event"})) << typed;
    }
    // Letters cannot be typed.
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(spin.GetText(), "+");
}

TEST(SpinEdit, MinAndMaxAreHeld) {
    auto form = ShownForm();
    TSpinEdit& spin = *form->SpinLength; // 0 .. 1000
    spin.SetValue(2000);
    EXPECT_EQ(spin.GetText(), "1000");
    spin.SetValue(-5);
    EXPECT_EQ(spin.GetValue(), 0);

    // A number typed beyond the limit reads as the limit, and is put back
    // inside when the field is left.
    auto* edit = spin.GetHandle()->findChild<QLineEdit*>();
    spin.SetFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "2500");
    EXPECT_TRUE(spin.Focused());
    EXPECT_EQ(spin.GetText(), "2500");
    EXPECT_EQ(spin.GetValue(), 1000);
    form->Log.clear();
    form->BtnOK->SetFocus();
    EXPECT_FALSE(spin.Focused());
    EXPECT_EQ(spin.GetText(), "1000");
    EXPECT_EQ(form->Log, (std::vector<std::string>{"SpinLength:event"}));

    // The arrows step, within the limits.
    form->Log.clear();
    auto arrows = spin.GetHandle()->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    for (QToolButton* arrow : arrows)
        if (arrow->arrowType() == Qt::UpArrow) arrow->click();
    EXPECT_EQ(spin.GetValue(), 1000);
    for (QToolButton* arrow : arrows)
        if (arrow->arrowType() == Qt::DownArrow) arrow->click();
    EXPECT_EQ(spin.GetValue(), 999);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"SpinLength:event"}));
}

TEST(ComboBox, TypedTextIsKeptInADropDownBox) {
    auto form = ShownForm();
    TComboBox& baud = *form->CmbBaud;
    baud.SetItemIndex(0);
    EXPECT_EQ(baud.GetText(), "4800");
    QLineEdit* edit = static_cast<QComboBox*>(baud.GetHandle())->lineEdit();
    baud.SetFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "19200");
    QTest::keyClick(edit, Qt::Key_Return);
    form->BtnOK->SetFocus();
    EXPECT_EQ(baud.GetText(), "19200");
    EXPECT_EQ(baud.GetItemIndex(), -1);
    EXPECT_EQ(baud.GetItems().GetCount(), 2);
    EXPECT_EQ(form->Log.size(), 5u); // one OnChange per key

    // Typing the start of an item is not completed to it.
    edit->selectAll();
    QTest::keyClicks(edit, "96");
    EXPECT_EQ(baud.GetText(), "96");
    // Items added later leave the typed text alone.
    baud.GetItems().Add("38400");
    EXPECT_EQ(baud.GetText(), "96");
}

TEST(Memo, LineBreaksAcrossAppendsAndTheNineLineWindow) {
    auto form = ShownForm();
    TMemo& memo = *form->TstMemo;
    TStrings& lines = memo.GetLines();
    memo.AppendText("$GPGGA,1*7A\r");
    memo.AppendText("\n$GPRMC");
    EXPECT_EQ(lines.GetCount(), 2);
    EXPECT_EQ(lines.GetString(0), "$GPGGA,1*7A");
    EXPECT_EQ(lines.GetString(1), "$GPRMC");
    memo.AppendText(",2\n\r\n\r");
    // "$GPRMC,2" ends with LF; CR LF makes an empty line; a last CR a second.
    EXPECT_EQ(lines.GetCount(), 4);
    EXPECT_EQ(memo.GetText(), "$GPGGA,1*7A\r\n$GPRMC,2\r\n\r\n\r\n");
    memo.AppendText(std::string("\nA\0B", 4)); // this LF ends the CR's break
    EXPECT_EQ(lines.GetCount(), 5);
    EXPECT_EQ(lines.GetString(4), std::string("A\0B", 3));
    EXPECT_EQ(static_cast<QPlainTextEdit*>(memo.GetHandle())->toPlainText(),
              QString::fromUtf8("$GPGGA,1*7A\n$GPRMC,2\n\n\nA\xEF\xBF\xBD"
                                "B"));

    // The port test keeps the last lines: while nine or more, the first goes.
    lines.Clear();
    for (int i = 1; i <= 12; ++i)
        lines.Add("L" + std::to_string(i));
    while (lines.GetCount() >= 9)
        lines.Delete(0);
    memo.AppendText("X");
    EXPECT_EQ(lines.GetCount(), 9);
    EXPECT_EQ(lines.GetString(0), "L5");
    EXPECT_EQ(lines.GetString(8), "X");
    EXPECT_EQ(memo.GetText().substr(memo.GetText().size() - 6), "L12\r\nX");
}

TEST(Image, MouseEventsGiveImageCoordinatesAndSetLeftMovesIt) {
    auto form = ShownForm();
    TImage& boat = *form->ImgBoat;
    QWidget* w = boat.GetHandle();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseMove(w, QPoint(15, 30));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(15, 30));
    QTest::mouseMove(w, QPoint(40, 100)); // no button held
    ASSERT_GE(form->Mouse.size(), 4u);
    const auto& seen = form->Mouse;
    EXPECT_EQ(seen[0].what, "button L");
    EXPECT_EQ(seen[0].x, 10);
    EXPECT_EQ(seen[0].y, 20);
    EXPECT_TRUE(seen[0].shift.Contains(ssLeft));
    EXPECT_EQ(seen[1].what, "move");
    EXPECT_EQ(seen[1].x, 15);
    EXPECT_EQ(seen[1].y, 30);
    EXPECT_TRUE(seen[1].shift.Contains(ssLeft));
    EXPECT_EQ(seen[2].what, "button L"); // the release
    EXPECT_FALSE(seen[2].shift.Contains(ssLeft));
    EXPECT_EQ(seen.back().what, "move");
    EXPECT_EQ(seen.back().x, 40);
    EXPECT_FALSE(seen.back().shift.Contains(ssLeft));

    boat.SetLeft(33);
    boat.SetTop(44);
    EXPECT_EQ(boat.GetLeft(), 33);
    EXPECT_EQ(w->geometry(), QRect(33, 44, 58, 142));
    EXPECT_EQ(w->toolTip(), "GPS");
}

// A right click, as the window system gives it to a widget.
bool RightClickOpensMenu(QWidget* w, TPopupMenu& menu) {
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &e);
    const bool open = menu.GetHandle()->isVisible();
    menu.GetHandle()->hide();
    return open;
}

TEST(PopupMenu, ARightClickOpensTheMenuOfThePanelOrItsForm) {
    auto form = ShownForm();
    TPopupMenu& menu = *form->PopMenu;
    EXPECT_FALSE(RightClickOpensMenu(form->PnlMain->GetHandle(), menu));
    form->PnlMain->SetPopupMenu(&menu); // "context menu on"
    EXPECT_TRUE(RightClickOpensMenu(form->PnlMain->GetHandle(), menu));
    EXPECT_FALSE(RightClickOpensMenu(form->PnlPlain->GetHandle(), menu));
    form->SetPopupMenu(&menu); // a panel without a menu passes the click on
    EXPECT_TRUE(RightClickOpensMenu(form->PnlPlain->GetHandle(), menu));

    // Items shown and hidden; a menu with none shown does not open.
    form->PopClearDatabase->SetVisible(false);
    EXPECT_FALSE(form->PopClearDatabase->GetVisible());
    EXPECT_TRUE(form->PopSetReadOnlyOff->GetVisible());
    form->PopSetReadOnlyOff->SetVisible(false);
    EXPECT_FALSE(RightClickOpensMenu(form->PnlMain->GetHandle(), menu));
    form->PopSetReadOnlyOff->SetVisible(true);
    form->PopSetReadOnlyOff->GetHandle()->trigger();
    EXPECT_EQ(form->Log, (std::vector<std::string>{"PopSetReadOnlyOff:click"}));
    form->PnlMain->SetPopupMenu(nullptr); // "context menu off"
    form->SetPopupMenu(nullptr);
    EXPECT_FALSE(RightClickOpensMenu(form->PnlMain->GetHandle(), menu));
}

class DriveTable : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/formsdrives-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        dir_ = pattern;
        for (const char* d : {"c", "d", "f"})
            std::filesystem::create_directory(dir_ / d);
        std::ofstream(dir_ / "mountinfo");
        std::ofstream(dir_ / "platform.ini")
            << "[DRIVES]\nF=cdrom:" << (dir_ / "f").string() << "\nC=" << (dir_ / "c").string()
            << "\nD=" << (dir_ / "d").string() << "\n";
        os::resetDrives(dir_ / "mountinfo", dir_ / "platform.ini");
    }
    void TearDown() override {
        os::resetDrives();
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
};

TEST_F(DriveTable, TheDriveComboShowsTheTableInOrderAndReportsAChoice) {
    std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
    auto* drives = new TDriveComboBox(form.get());
    drives->SetParent(form.get());
    std::vector<std::string> fired;
    drives->OnChange = [&](TObject*) { fired.push_back(std::string(1, drives->GetDrive())); };
    form->Show();

    auto* box = static_cast<QComboBox*>(drives->GetHandle());
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(0).toStdString(), "c: [" + (dir_ / "c").string() + "]");
    EXPECT_EQ(box->itemText(1).toStdString(), "d: [" + (dir_ / "d").string() + "]");
    EXPECT_EQ(box->itemText(2).toStdString(), "f: [" + (dir_ / "f").string() + "]");

    drives->SetDrive('f'); // the program's choice fires nothing
    EXPECT_EQ(drives->GetDrive(), 'F');
    drives->SetDrive('Q'); // not in the table
    EXPECT_EQ(drives->GetDrive(), 'F');
    EXPECT_TRUE(fired.empty());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(fired, (std::vector<std::string>{"D"}));
}

TEST(Timer, TheIntervalChangesInsideOnTimerWithoutStoppingIt) {
    std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
    auto* blink = new TTimer(form.get());
    // The warning's blinking: long while shown, short while hidden (here 90/30 ms).
    bool shown = true;
    std::vector<std::pair<int, std::chrono::steady_clock::time_point>> ticks;
    blink->OnTimer = [&](TObject*) {
        ticks.emplace_back(blink->GetInterval(), std::chrono::steady_clock::now());
        shown = !shown;
        blink->SetInterval(shown ? 90 : 30);
        EXPECT_TRUE(blink->IsRunning());
    };
    const auto start = std::chrono::steady_clock::now();
    blink->SetInterval(90);
    ASSERT_TRUE(WaitFor([&] { return ticks.size() >= 6; }, 5000));
    EXPECT_TRUE(blink->IsRunning());
    // Each wait lasted at least the interval set for it (coarse timers may
    // come up to 5 % early).
    auto before = start;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const int waited = ticks[i].first;
        EXPECT_EQ(waited, i % 2 == 0 ? 90 : 30) << i;
        EXPECT_GE(ticks[i].second - before, std::chrono::milliseconds(waited * 9 / 10)) << i;
        before = ticks[i].second;
    }
    blink->SetEnabled(false);
    EXPECT_FALSE(blink->IsRunning());
    blink->SetEnabled(true);
    blink->SetInterval(0);
    EXPECT_FALSE(blink->IsRunning());
}

TEST(Bars, StatusBarAlongTheBottomAndProgressHeldInItsRange) {
    auto form = ShownForm();
    EXPECT_EQ(form->StatusBar1->GetSimpleText(), "Klar");
    form->StatusBar1->SetSimpleText("Sjekker tilgjengelig plass p\xE5 harddisk...");
    const QRect bar = form->StatusBar1->GetHandle()->geometry();
    EXPECT_EQ(bar.bottom(), 439);
    EXPECT_EQ(bar.width(), 760);
    form->SetClientWidth(500);
    Settle();
    EXPECT_EQ(form->StatusBar1->GetHandle()->width(), 500);

    TProgressBar& progress = *form->ProgressBar1; // 0 .. 50
    progress.SetPosition(80);
    EXPECT_EQ(progress.GetPosition(), 50);
    progress.SetMax(200);
    progress.SetPosition(120);
    EXPECT_EQ(progress.GetPosition(), 120);
    progress.SetPosition(-1);
    EXPECT_EQ(progress.GetPosition(), 0);
}

TEST(Controls, StatesTextsGlyphsAndLimits) {
    auto form = ShownForm();
    // Enabled and Visible are each control's own, shown through its parents.
    form->PnlMain->SetEnabled(false);
    form->PnlMain->SetVisible(false);
    EXPECT_TRUE(form->RadA->GetEnabled());
    EXPECT_TRUE(form->RadA->GetVisible());
    EXPECT_FALSE(form->RadA->GetHandle()->isEnabled());
    EXPECT_FALSE(form->RadA->GetHandle()->isVisible());
    form->PnlMain->SetVisible(true);
    EXPECT_TRUE(form->RadA->GetHandle()->isVisible());

    // "\r" breaks a label's line.
    EXPECT_EQ(static_cast<QLabel*>(form->LblNote->GetHandle())->text(),
              QString("Porter som er\nskravert"));

    // A glyph copied from another button.
    auto* copy2 = new TBitBtn(form.get());
    copy2->SetParent(form.get());
    copy2->SetGlyph(form->BtnCopyCD1->GetGlyph());
    EXPECT_EQ(copy2->GetGlyph().GetWidth(), 20);
    EXPECT_FALSE(static_cast<QAbstractButton*>(copy2->GetHandle())->icon().isNull());

    // An edit's limit cuts the program's texts too.
    form->VecMainDir->SetMaxLength(5);
    form->VecMainDir->SetText("C:\\RUNTIME\\");
    EXPECT_EQ(form->VecMainDir->GetText(), "C:\\RU");
    EXPECT_EQ(form->Log, (std::vector<std::string>{"VecMainDir:event"}));
}

// A picture of every component, for a person to look at.
TEST(Gallery, EveryComponentDrawn) {
    auto form = ShownForm();
    form->VecRTE->SetChecked(true);
    form->RadB->SetChecked(true);
    form->VecMainDir->SetText("C:\\RUNTIME\\");
    form->SpinLength->SetValue(20);
    form->CmbBaud->SetText("19200");
    form->VecGPS->SetItemIndex(3);
    form->TstMemo->AppendText("$GPGGA,1*7A\r\n$GPRMC,2\r\n");
    form->ProgressBar1->SetPosition(20);
    Settle();
    QDir().mkpath(UI_FORMS_TEST_PICTURES);
    EXPECT_TRUE(form->GetHandle()->grab().save(UI_FORMS_TEST_PICTURES "/components.png"));
}

} // namespace
