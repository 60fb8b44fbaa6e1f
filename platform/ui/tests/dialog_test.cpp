// Dialogs from templates: item texts and numbers, the modified flag, the
// up-down and its buddy, combo data, tree order and selection data, custom
// controls, modal results, modeless dialogs and placing without activation.
#include "uiTest.h"
#include "ui/Controls.h"
#include "ui/DialogItems.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <string>
#include <vector>

using namespace ui;
using uitest::TestModule;

namespace {

// Template checks at compile time.
constexpr TDlgItem kTwice[] = {{.Kind = TDlgItemKind::Edit, .Id = 5},
                               {.Kind = TDlgItemKind::Button, .Id = 5}};
constexpr TDlgItem kSharedStatics[] = {{.Kind = TDlgItemKind::Static},
                                       {.Kind = TDlgItemKind::Static}};
constexpr TDlgItem kBuddyNotEdit[] = {
    {.Kind = TDlgItemKind::Static, .Id = 1},
    {.Kind = TDlgItemKind::UpDown, .Id = 2, .Lo = 1, .Hi = 9, .Buddy = 1}};
constexpr TDlgItem kReversedRange[] = {
    {.Kind = TDlgItemKind::Edit, .Id = 1},
    {.Kind = TDlgItemKind::UpDown, .Id = 2, .Lo = 9, .Hi = 1, .Buddy = 1}};
static_assert(!ValidDialogTemplate(TDlgTemplate{1, u8"", 0, kTwice}));
static_assert(ValidDialogTemplate(TDlgTemplate{1, u8"", 0, kSharedStatics}));
static_assert(!ValidDialogTemplate(TDlgTemplate{1, u8"", 0, kBuddyNotEdit}));
static_assert(!ValidDialogTemplate(TDlgTemplate{1, u8"", 0, kReversedRange}));

// The test form with a control object for each item kind.
class TForm : public TDialog {
  public:
    explicit TForm(TWindow* parent = nullptr)
        : TDialog(parent, uitest::kForm.Id, &TestModule()),
          Name(new TEdit(this, uitest::kIdName, 31)), Notes(new TEdit(this, uitest::kIdNotes)),
          Day(new TEdit(this, uitest::kIdDay)), Spin(new TUpDown(this, uitest::kIdDaySpin)),
          List(new TComboBox(this, uitest::kIdList)), Tree(new TTreeWindow(this, uitest::kIdTree)),
          Rich(new TRichEdit(this, uitest::kIdRich)),
          Attached(new uitest::TSwatch(this, uitest::kIdAttached)) {}

    void SetupWindow() override {
        TDialog::SetupWindow();
        Spin->SetRange(1, 31);
        Spin->SetBuddy(Day->GetHandle());
        SetUp = true;
    }
    void EnDay() { ++DayChanges; }
    void ListChosen() { Chosen.push_back(List->GetItemData(List->GetSelIndex())); }
    void TreeChosen(TTwNotify& n) { TreeData.push_back(n.itemNew.lParam); }
    void CmChart() { ++ChartPresses; }

    TEdit* Name;
    TEdit* Notes;
    TEdit* Day;
    TUpDown* Spin;
    TComboBox* List;
    TTreeWindow* Tree;
    TRichEdit* Rich;
    uitest::TSwatch* Attached;
    bool SetUp = false;
    int DayChanges = 0, ChartPresses = 0;
    std::vector<LPARAM> Chosen, TreeData;
    DECLARE_RESPONSE_TABLE(TForm);
};
DEFINE_RESPONSE_TABLE1(TForm, TDialog)
EV_EN_CHANGE(uitest::kIdDay, EnDay), EV_CBN_SELCHANGE(uitest::kIdList, ListChosen),
    EV_TVN_SELCHANGED(uitest::kIdTree, TreeChosen),
    EV_COMMAND(uitest::kIdChart, CmChart), END_RESPONSE_TABLE;

// Runs the form modally through a script step that does `act` and then OK.
int RunForm(TForm& form, const std::function<void(TForm&)>& act) {
    uitest::TModalScript script;
    script.Dialog(uitest::kForm.Id, [&](TDialog& d) {
        EXPECT_EQ(&d, &form);
        act(form);
        if (form.IsWindow()) form.SendMessage(WM_COMMAND, IDOK);
    });
    return form.Execute();
}

TEST(Dialog, TextsKeepTheSizeRuleAndWindowsLineBreaks) {
    TForm form;
    EXPECT_EQ(
        RunForm(form,
                [](TForm& f) {
                    EXPECT_TRUE(f.SetUp);
                    f.SetDlgItemText(uitest::kIdName, "Bergen");
                    struct Case {
                        int size;
                        const char* text;
                        int copied;
                    };
                    for (const Case c : {Case{1, "", 0}, Case{4, "Ber", 3}, Case{7, "Bergen", 6},
                                         Case{50, "Bergen", 6}}) {
                        char buf[64];
                        std::memset(buf, 'x', sizeof buf);
                        EXPECT_EQ(f.GetDlgItemText(uitest::kIdName, buf, c.size), c.copied);
                        EXPECT_STREQ(buf, c.text);
                        EXPECT_EQ(buf[c.size], 'x'); // nothing past the size
                    }
                    char untouched[4] = "abc";
                    EXPECT_EQ(f.GetDlgItemText(uitest::kIdName, untouched, 0), 0);
                    EXPECT_STREQ(untouched, "abc");

                    // Multi-line edits give their breaks as "\r\n".
                    f.SetDlgItemText(uitest::kIdNotes, "a\r\nb\rc\nd");
                    char notes[32];
                    f.GetDlgItemText(uitest::kIdNotes, notes, sizeof notes);
                    EXPECT_STREQ(notes, "a\r\nb\r\nc\r\nd");
                    // A template text (UTF-8) reads back as Windows-1252.
                    char label[32];
                    f.GetDlgItemText(uitest::kIdStatic, label, sizeof label);
                    EXPECT_STREQ(label, "Navn\r\nog dybde \xB0");
                    // Windows-1252 in, Windows-1252 out.
                    f.Name->SetText("M\xE5l\xF8y");
                    char name[16];
                    f.Name->GetText(name, sizeof name);
                    EXPECT_STREQ(name, "M\xE5l\xF8y");
                    EXPECT_EQ(
                        FromQt(static_cast<QLineEdit*>(f.GetDlgItem(uitest::kIdName))->text()),
                        "M\xE5l\xF8y");
                }),
        IDOK);
}

TEST(Dialog, NumbersInItems) {
    TForm form;
    RunForm(form, [](TForm& f) {
        struct Case {
            const char* text;
            bool isSigned;
            UINT value;
            bool ok;
        };
        const Case cases[] = {
            {"42", true, 42, true},
            {" -7 ", true, UINT(-7), true},
            {"12x", true, 0, false},
            {"", true, 0, false},
            {"99999999999", true, 0, false},
            {"-1", false, 0, false},
            {"4000000000", false, 4000000000u, true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            f.SetDlgItemText(uitest::kIdName, c.text);
            bool ok = !c.ok;
            EXPECT_EQ(f.GetDlgItemInt(uitest::kIdName, &ok, c.isSigned), c.value);
            EXPECT_EQ(ok, c.ok);
        }
        f.SetDlgItemInt(uitest::kIdName, UINT(-15), true);
        char buf[16];
        f.GetDlgItemText(uitest::kIdName, buf, sizeof buf);
        EXPECT_STREQ(buf, "-15");
    });
}

TEST(Dialog, TheModifiedFlagFollowsTheUserOnly) {
    TForm form;
    RunForm(form, [](TForm& f) {
        f.SetDlgItemText(uitest::kIdName, "Id");
        EXPECT_FALSE(f.IsDlgItemModified(uitest::kIdName));
        QTest::keyClicks(f.GetDlgItem(uitest::kIdName), "x");
        EXPECT_TRUE(f.IsDlgItemModified(uitest::kIdName));
        EXPECT_TRUE(f.Name->IsModified());
        f.Name->ClearModify();
        EXPECT_FALSE(f.Name->IsModified());
        QTest::keyClicks(f.GetDlgItem(uitest::kIdNotes), "y");
        EXPECT_TRUE(f.Notes->IsModified());
        f.SetDlgItemText(uitest::kIdNotes, "z"); // the program's text clears it
        EXPECT_FALSE(f.Notes->IsModified());
        // Typing stops at the limit: the template's 2 for the day, 30 for the name.
        f.SetDlgItemText(uitest::kIdDay, "");
        QTest::keyClicks(f.GetDlgItem(uitest::kIdDay), "123");
        char day[8];
        f.GetDlgItemText(uitest::kIdDay, day, sizeof day);
        EXPECT_STREQ(day, "12");
    });
}

TEST(Dialog, TheUpDownWritesItsBuddy) {
    TForm form;
    RunForm(form, [](TForm& f) {
        const int changes = f.DayChanges;
        f.Spin->SetPos(5);
        char day[8];
        f.GetDlgItemText(uitest::kIdDay, day, sizeof day);
        EXPECT_STREQ(day, "5");
        EXPECT_GT(f.DayChanges, changes); // the buddy's change reaches the dialog
        const auto arrows = f.GetDlgItem(uitest::kIdDaySpin)->findChildren<QToolButton*>();
        ASSERT_EQ(arrows.size(), 2);
        QTest::mouseClick(arrows[0], Qt::LeftButton); // up
        EXPECT_EQ(f.Spin->GetPos(), 6);
        f.GetDlgItemText(uitest::kIdDay, day, sizeof day);
        EXPECT_STREQ(day, "6");
        f.Spin->SetPos(40); // held within the range
        EXPECT_EQ(f.Spin->GetPos(), 31);
        QTest::mouseClick(arrows[0], Qt::LeftButton);
        EXPECT_EQ(f.Spin->GetPos(), 31);
        // The position is what the user typed, while it is a number in range.
        f.SetDlgItemText(uitest::kIdDay, "12");
        EXPECT_EQ(f.Spin->GetPos(), 12);
        f.SetDlgItemText(uitest::kIdDay, "99");
        EXPECT_EQ(f.Spin->GetPos(), 31);
        QTest::mouseClick(arrows[1], Qt::LeftButton); // down from the last position
        EXPECT_EQ(f.Spin->GetPos(), 30);
        int lo = 0, hi = 0;
        f.Spin->GetRange(lo, hi);
        EXPECT_EQ(lo, 1);
        EXPECT_EQ(hi, 31);
    });
}

TEST(Dialog, ComboItemsKeepTheirData) {
    TForm form;
    RunForm(form, [](TForm& f) {
        EXPECT_EQ(f.List->AddString("Rute Bergen"), 0);
        EXPECT_EQ(f.List->AddString("Rute M\xE5l\xF8y"), 1);
        EXPECT_EQ(f.List->AddString("Tom"), 2);
        f.List->SetItemData(0, 17);
        f.List->SetItemData(1, 23);
        EXPECT_EQ(f.List->GetItemData(2), 0);
        EXPECT_EQ(f.List->GetItemData(3), -1);
        EXPECT_EQ(f.List->GetCount(), 3);
        char text[8];
        EXPECT_EQ(f.List->GetString(text, sizeof text, 1), 10); // its length
        EXPECT_STREQ(text, "Rute M\xE5");                       // cut to the buffer
        EXPECT_EQ(f.List->GetStringLen(1), 10);
        EXPECT_EQ(f.List->GetString(text, sizeof text, 5), -1);
        // The program's choice sends nothing; the user's sends CBN_SELCHANGE.
        f.List->SetSelIndex(0);
        EXPECT_TRUE(f.Chosen.empty());
        auto* combo = static_cast<QComboBox*>(f.GetDlgItem(uitest::kIdList));
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(f.List->GetSelIndex(), 1);
        EXPECT_EQ(f.Chosen, std::vector<LPARAM>{23});
    });
}

TEST(Dialog, TreeItemsInOrderAndTheSelectionCarriesTheData) {
    TForm form;
    RunForm(form, [](TForm& f) {
        const HTREEITEM a = f.Tree->InsertItem("Lykt", 1);
        const HTREEITEM a1 = f.Tree->InsertItem("Fyr", 2, a);
        const HTREEITEM a2 = f.Tree->InsertItem("Sektor", 3, a);
        const HTREEITEM b = f.Tree->InsertItem("Dybde", 4);
        EXPECT_EQ(f.Tree->GetChildCount(), 2);
        EXPECT_EQ(f.Tree->GetChild(TVI_ROOT, 0), a);
        EXPECT_EQ(f.Tree->GetChild(TVI_ROOT, 1), b);
        EXPECT_EQ(f.Tree->GetChild(a, 0), a1);
        EXPECT_EQ(f.Tree->GetChild(a, 1), a2);
        EXPECT_EQ(f.Tree->GetItemText(a1), "Fyr");
        f.Tree->SelectItem(a2);
        f.Tree->SelectItem(b);
        EXPECT_EQ(f.TreeData, (std::vector<LPARAM>{3, 4}));
        EXPECT_EQ(f.Tree->GetSelection(), b);
        // Rich text keeps its limit.
        f.Rich->LimitText(5);
        f.Rich->SetText("- NO ATTRIBUTES -");
        char rich[32];
        f.Rich->GetText(rich, sizeof rich);
        EXPECT_STREQ(rich, "- NO ");
    });
}

TEST(Dialog, ButtonsAndEscape) {
    {
        TForm form;
        uitest::TModalScript script;
        script.Dialog(uitest::kForm.Id, [](TDialog& d) {
            QTest::mouseClick(d.GetDlgItem(uitest::kIdChart), Qt::LeftButton);
            EXPECT_TRUE(d.IsWindow()); // the dialog's own command, not a close
            QTest::keyClick(d.GetHandle(), Qt::Key_Escape);
        });
        EXPECT_EQ(form.Execute(), IDCANCEL);
        EXPECT_EQ(form.ChartPresses, 1);
        EXPECT_FALSE(form.IsWindow());
    }
    {
        TForm form;
        uitest::TModalScript script;
        script.Dialog(uitest::kForm.Id,
                      [](TDialog& d) { QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton); });
        EXPECT_EQ(form.Execute(), IDOK);
    }
}

TEST(Dialog, MissingTemplatesAndClassesFailTheDialog) {
    testing::internal::CaptureStderr();
    TDialog missing(nullptr, 999, &TestModule());
    EXPECT_EQ(missing.Execute(), -1);
    constexpr static TDlgItem items[] = {
        {.Kind = TDlgItemKind::Custom, .Id = 7, .ClassName = "NoSuchClass"}};
    constexpr static TDlgTemplate bad[] = {{31, u8"Bad", WS_POPUP, items}};
    TestModule().AddDialogs(bad);
    TDialog unknown(nullptr, 31, &TestModule());
    EXPECT_EQ(unknown.Execute(), -1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("dialog 999"), std::string::npos);
    EXPECT_NE(err.find("NoSuchClass"), std::string::npos);
}

TEST(Dialog, CustomControlsPaintAndFollowTheMouse) {
    TWindow owner(nullptr);
    uitest::ShowAt(owner, 100, 100);
    auto* form = new TForm(&owner);
    ASSERT_TRUE(form->Create());
    form->ShowWindow(SW_SHOWNA);
    uitest::Settle();
    // The registered class made its window; the program's window filled its cell.
    auto* made = dynamic_cast<uitest::TSwatch*>(GetWindowPtr(form->GetDlgItem(uitest::kIdCustom)));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetParentO(), form);
    EXPECT_EQ(GetWindowPtr(form->GetDlgItem(uitest::kIdAttached)), form->Attached);
    for (uitest::TSwatch* s : {made, form->Attached}) {
        EXPECT_GE(s->Paints, 1);
        EXPECT_GE(s->GetClientRect().Width(), 40);
        QTest::mouseMove(s->GetHandle(), QPoint(4, 6));
        EXPECT_GE(s->Moves, 1);
        EXPECT_EQ(s->LastMove, TPoint(4, 6));
    }
    delete form;
}

class TPanel : public TDialog {
  public:
    TPanel(TWindow* parent, int id, bool* gone) : TDialog(parent, id, &TestModule()), Gone(gone) {}
    ~TPanel() override { *Gone = true; }
    bool* Gone;
};

class TOwner : public TWindow {
  public:
    TOwner() : TWindow(nullptr) {}
    void EvParentNotify(UINT event, HWND child, UINT id) { Notices.push_back({event, child, id}); }
    struct Notice {
        UINT event;
        HWND child;
        UINT id;
    };
    std::vector<Notice> Notices;
    DECLARE_RESPONSE_TABLE(TOwner);
};
DEFINE_RESPONSE_TABLE1(TOwner, TWindow)
EV_WM_PARENTNOTIFY, END_RESPONSE_TABLE;

TEST(Dialog, ModelessDialogsAsChildOrOwnedToolWindow) {
    TOwner owner;
    uitest::ShowAt(owner, 300, 200);
    bool childGone = false, toolGone = false;
    auto* child = new TPanel(&owner, 23, &childGone);
    auto* tool = new TPanel(&owner, 22, &toolGone);
    ASSERT_TRUE(child->Create());
    ASSERT_TRUE(tool->Create());
    tool->ShowWindow(SW_SHOWNA);
    uitest::Settle();
    EXPECT_EQ(child->GetHandle()->parentWidget(), owner.GetHandle());
    EXPECT_FALSE(child->GetHandle()->isWindow()); // in the owner's client area
    EXPECT_TRUE(child->IsWindowVisible());        // WS_VISIBLE in its template
    EXPECT_TRUE(tool->GetHandle()->isWindow());
    EXPECT_EQ(tool->GetHandle()->parentWidget(), owner.GetHandle());
    EXPECT_TRUE(tool->GetHandle()->windowFlags() & Qt::Tool);
    // Shown without taking the activation (the offscreen platform activates
    // every window it shows; the display test sees the real thing).
    EXPECT_TRUE(tool->GetHandle()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(tool->GetCaption(), "Egen POSISJON");

    // Closed by its own OK, the dialog goes after the message; its owner hears
    // of it first.
    const HWND handle = tool->GetHandle();
    QTest::mouseClick(tool->GetDlgItem(IDOK), Qt::LeftButton);
    EXPECT_FALSE(toolGone);
    ASSERT_EQ(owner.Notices.size(), 1u);
    EXPECT_EQ(owner.Notices[0].event, UINT(WM_DESTROY));
    EXPECT_EQ(owner.Notices[0].child, handle);
    uitest::Settle();
    EXPECT_TRUE(toolGone);
    // Escape closes the child one the same way.
    QTest::keyClick(child->GetHandle(), Qt::Key_Escape);
    uitest::Settle();
    EXPECT_TRUE(childGone);
}

TEST(Dialog, APanelMovesWithoutTakingTheActivation) {
    TWindow owner(nullptr);
    uitest::ShowAt(owner, 300, 200);
    owner.GetHandle()->activateWindow();
    QApplication::setActiveWindow(owner.GetHandle());
    bool gone = false;
    auto* panel = new TPanel(&owner, 22, &gone);
    ASSERT_TRUE(panel->Create());
    panel->ShowWindow(SW_SHOWNA);
    uitest::Settle();
    QApplication::setActiveWindow(owner.GetHandle());
    ASSERT_EQ(QApplication::activeWindow(), owner.GetHandle());
    panel->SetWindowPos(nullptr, 310, 20, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    uitest::Settle();
    EXPECT_EQ(QApplication::activeWindow(), owner.GetHandle());
    EXPECT_EQ(panel->GetHandle()->pos(), QPoint(310, 20));
    // Without SWP_NOACTIVATE the move activates it.
    panel->SetWindowPos(nullptr, 320, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    uitest::Settle();
    EXPECT_EQ(QApplication::activeWindow(), panel->GetHandle());
    delete panel;
}

} // namespace
