// Building forms from descriptions: fields and handlers bound by name, parents
// in any order, and one error that lists every problem of a bad description.
#include "formsTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <algorithm>
#include <memory>

using namespace formstest;

namespace {

TEST(Binding, BuildsEveryComponentBindsByNameAndRunsOnCreateLast) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    EXPECT_EQ(form->GetName(), "FoTest");
    EXPECT_EQ(form->GetCaption(), "Pr\xF8veskjema"); // Windows-1252
    EXPECT_EQ(form->GetClientWidth(), 760);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"FoTest:Create"}));
    // Fields point at the components of their names, found without regard to case.
    EXPECT_EQ(form->TstCOM2, form->FindComponent("tstcom2"));
    EXPECT_EQ(form->TstCOM2->GetParent(), form->FindComponent("GrpPorts"));
    EXPECT_EQ(dynamic_cast<TControl*>(form->FindComponent("GrpPorts"))->GetParent(), form->PnlMain);
    EXPECT_EQ(form->FindComponent("NoSuch"), nullptr);
    // Described parts: caption, hint, bounds, range, items, picture.
    EXPECT_EQ(form->BtnCopyCD1->GetCaption(), "Kopi\xE9r CD #1");
    EXPECT_EQ(form->BtnCopyCD1->GetHint(), "Sone 1-2");
    EXPECT_EQ(form->BtnCopyCD1->GetGlyph().GetWidth(), 20);
    EXPECT_EQ(form->ImgBoat->GetLeft(), 20);
    EXPECT_EQ(form->ImgBoat->GetTop(), 40);
    EXPECT_EQ(form->ImgBoat->GetWidth(), 58);
    EXPECT_EQ(form->ImgBoat->GetHeight(), 142);
    EXPECT_EQ(form->SpinLength->GetMaxValue(), 1000);
    EXPECT_EQ(form->VecGPS->GetItems().GetCount(), 4);
    EXPECT_EQ(form->VecGPS->GetItems().GetString(3), "RMC");
    EXPECT_EQ(form->TabControl1->GetTabs().GetCount(), 3);
    EXPECT_EQ(form->ProgressBar1->GetMax(), 50);
    EXPECT_EQ(form->PopSetReadOnlyOff->GetCaption(), "Sl\xE5 av skrive&beskyttelse");
    EXPECT_EQ(form->LblNote->GetCaption(), "Porter som er\rskravert");
    EXPECT_FALSE(form->Timer1->GetEnabled());
    // Handlers bound from "OnClick=Logged" run with their sender.
    static_cast<QAbstractButton*>(form->BtnOK->GetHandle())->click();
    EXPECT_EQ(form->Log.back(), "BtnOK:event");
}

// Parents may come after their children in the table; a label without a
// width takes its text's, and a picture without a size its picture's.
constexpr TComponentDesc kLateParent[] = {
    {.Name = "LblInside",
     .Maker = Make<TLabel>,
     .Parent = "GrpLate",
     .Caption = u8"Lengde (m):",
     .Bounds = {8, 20, 0, 0}},
    {.Name = "ImgMark",
     .Maker = Make<TImage>,
     .Parent = "GrpLate",
     .Bounds = {60, 20, 0, 0},
     .Picture = ":/formstest/glyph.png"},
    {.Name = "GrpLate", .Maker = Make<TGroupBox>, .Caption = u8"Båt", .Bounds = {4, 4, 200, 90}},
};
constexpr TFormDesc kLateForm{.Name = "FoLate", .Components = kLateParent};

TEST(Binding, ParentsMayFollowTheirChildrenAndSizesDefaultToTheContent) {
    std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr, kLateForm));
    auto* group = dynamic_cast<TGroupBox*>(form->FindComponent("GrpLate"));
    auto* label = dynamic_cast<TLabel*>(form->FindComponent("LblInside"));
    auto* mark = dynamic_cast<TImage*>(form->FindComponent("ImgMark"));
    ASSERT_TRUE(group && label && mark);
    EXPECT_EQ(label->GetParent(), group);
    EXPECT_GT(label->GetWidth(), 30);
    EXPECT_EQ(mark->GetWidth(), 20);
    EXPECT_EQ(mark->GetHeight(), 20);
    // The form without a size takes the room of its components.
    EXPECT_GE(form->GetClientWidth(), 204);
    // A label whose width the program sets keeps it through new captions.
    label->SetWidth(150);
    label->SetCaption("Fra styrbord (m):");
    EXPECT_EQ(label->GetWidth(), 150);
}

// A description with four faults, and a form class with the fields and
// handlers it names.
constexpr TComponentDesc kBadParts[] = {
    {.Name = "BtnCopy", .Maker = Make<TButton>, .Events = {"OnClick=BtnCopyClik"}},
    {.Name = "BtnCancel", .Maker = Make<TButton>, .Events = {"OnClick=FormCloseQuery"}},
    {.Name = "LblHeading", .Maker = Make<TButton>},
    {.Name = "LblCopied", .Maker = Make<TLabel>, .Parent = "PnlMissing"},
};
constexpr TFormDesc kBadForm{
    .Name = "FoDirCopy", .Events = {"OnCloseQuery=FormCloseQuery"}, .Components = kBadParts};

int badFormsAlive = 0;

class TFoBad : public TForm {
  public:
    TFoBad(TComponent* owner) : TForm(owner, kBadForm) { ++badFormsAlive; }
    ~TFoBad() override { --badFormsAlive; }
    PUBLISHED_FIELD(TButton, BtnCopy);
    PUBLISHED_FIELD(TLabel, LblHeading);
    PUBLISHED_FIELD(TLabel, LblCopied);
    void BtnCopyClick(TObject*) {}
    PUBLISHED_METHOD(BtnCopyClick);
    void FormCloseQuery(TObject*, bool&) {}
    PUBLISHED_METHOD(FormCloseQuery);
};

TEST(Binding, ABadDescriptionThrowsOnceListingEveryProblemAndLeavesNoForm) {
    std::unique_ptr<TForm> owner(CreateForm<TForm>(nullptr));
    std::vector<std::string> problems;
    try {
        CreateForm<TFoBad>(owner.get());
        ADD_FAILURE() << "the bad description was built";
    } catch (const TFormError& e) {
        problems = e.Problems();
        EXPECT_NE(std::string(e.what()).find("form FoDirCopy: 4 problems"), std::string::npos)
            << e.what();
    }
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0], "LblCopied: its parent PnlMissing is not in the description");
    EXPECT_EQ(problems[1], "BtnCopy: OnClick=BtnCopyClik names no method the form publishes");
    EXPECT_EQ(problems[2], "BtnCancel: OnClick=FormCloseQuery has the wrong signature: "
                           "FormCloseQuery(TObject* Sender, bool& Value), but OnClick takes "
                           "(TObject* Sender)");
    EXPECT_EQ(problems[3], "field LblHeading is TLabel*, but LblHeading is a TButton");
    EXPECT_EQ(badFormsAlive, 0);
    EXPECT_EQ(owner->FindComponent("FoDirCopy"), nullptr);
}

// Faults of the table itself: each is one problem of its own.
struct TTableCase {
    const char* what;
    TComponentDesc entry;
    const char* problem;
};

class TFoEmpty : public TForm {
  public:
    using TForm::TForm;
    PUBLISHED_FIELD(TTimer, Timer1);
    void Timer1Timer(TObject*) {}
    PUBLISHED_METHOD(Timer1Timer);
};

TEST(Binding, EachFaultOfATableEntryIsReported) {
    static const TTableCase cases[] = {
        {"event not written Event=Method",
         {.Name = "Timer1", .Maker = Make<TTimer>, .Events = {"OnTimer"}},
         "Timer1: \"OnTimer\" is not written Event=Method"},
        {"event the class lacks",
         {.Name = "Timer1", .Maker = Make<TTimer>, .Events = {"OnClick=Timer1Timer"}},
         "Timer1 (TTimer) has no event OnClick"},
        {"field without its component",
         {.Name = "Timer2", .Maker = Make<TTimer>},
         "field Timer1: the description has no component Timer1"},
        {"a timer placed on a parent",
         {.Name = "Timer1", .Maker = Make<TTimer>, .Parent = "Timer1"},
         "Timer1 (TTimer) cannot be placed on Timer1"},
        {"a menu item off any menu",
         {.Name = "Timer1", .Maker = Make<TMenuItem>},
         "Timer1 (TMenuItem) must be placed on a popup menu"},
        {"a picture that cannot be loaded",
         {.Name = "Timer1", .Maker = Make<TImage>, .Picture = ":/formstest/none.png"},
         "Timer1: the picture :/formstest/none.png cannot be loaded"},
        {"an entry without a maker", {.Name = "Timer1"}, "Timer1 has no maker"},
    };
    for (const TTableCase& c : cases) {
        const TComponentDesc table[] = {c.entry};
        const TFormDesc desc{.Name = "FoCase", .Components = table};
        try {
            delete CreateForm<TFoEmpty>(nullptr, desc);
            ADD_FAILURE() << c.what << ": built";
        } catch (const TFormError& e) {
            EXPECT_NE(std::find(e.Problems().begin(), e.Problems().end(), c.problem),
                      e.Problems().end())
                << c.what << ":\n"
                << e.what();
        }
    }
}

TEST(Binding, AControlCannotBePlacedOnAComponentThatHoldsNone) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    auto* label = new TLabel(form.get());
    EXPECT_THROW(label->SetParent(form->BtnOK), std::invalid_argument);
    EXPECT_EQ(label->GetParent(), nullptr);
}

} // namespace
