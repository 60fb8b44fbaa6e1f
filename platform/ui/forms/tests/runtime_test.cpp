// Components made in code (the port rows of the setup program's tabs) and
// freed, also from inside their own events.
#include "formsTest.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <memory>

using namespace formstest;

namespace {

int combosAlive = 0;

class TCountedCombo : public TComboBox {
  public:
    explicit TCountedCombo(TComponent* owner) : TComboBox(owner) { ++combosAlive; }
    ~TCountedCombo() override { --combosAlive; }
};

TEST(RuntimeComponents, MadeInCodeWithOwnerParentBoundsAndEvents) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    form->Show();
    auto* group = dynamic_cast<TGroupBox*>(form->FindComponent("GrpPorts"));
    auto* baud = new TCountedCombo(form.get());
    baud->SetName("CmbBaud3");
    baud->SetParent(group);
    baud->SetBounds(70, 20, 80, 22);
    baud->GetItems().Add("4800");
    baud->GetItems().Add("9600");
    baud->SetText("4800");
    int changes = 0;
    baud->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, baud);
        ++changes;
    };
    auto* label = new TLabel(form.get());
    label->SetParent(group);
    label->SetCaption("COM 3:");

    EXPECT_EQ(form->FindComponent("cmbbaud3"), baud);
    EXPECT_TRUE(baud->GetHandle()->isVisible()); // shown on a shown parent
    EXPECT_EQ(baud->GetHandle()->geometry(), QRect(70, 20, 80, 22));
    EXPECT_EQ(baud->GetHandle()->parentWidget(), group->GetHandle());
    baud->SetText("9600");
    EXPECT_EQ(changes, 1);

    // Freed outside any event: gone at once, widgets included.
    QPointer<QWidget> labelWidget = label->GetHandle();
    label->Free();
    baud->Free();
    EXPECT_EQ(combosAlive, 0);
    EXPECT_EQ(form->FindComponent("CmbBaud3"), nullptr);
    EXPECT_TRUE(labelWidget.isNull());
    EXPECT_EQ(group->Controls(), (std::vector<TControl*>{form->TstCOM1, form->TstCOM2}));
}

TEST(RuntimeComponents, FreedInItsOwnOnChangeItIsDeletedAfterTheEventReturns) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    form->Show();
    for (const bool byUser : {false, true}) {
        auto* combo = new TCountedCombo(form.get());
        combo->SetName("CmbStop1");
        combo->SetParent(form->PnlMain);
        QPointer<QWidget> widget = combo->GetHandle();
        bool aliveInside = false, foundInside = true;
        std::string textInside;
        combo->OnChange = [&](TObject* sender) {
            auto* self = static_cast<TComboBox*>(sender);
            self->Free();
            // Still there for the rest of its event, but no longer the form's.
            aliveInside = combosAlive == 1;
            foundInside = form->FindComponent("CmbStop1") != nullptr;
            textInside = self->GetText();
        };
        if (byUser) {
            QTest::keyClick(static_cast<QComboBox*>(widget.data())->lineEdit(), '2');
        } else {
            combo->SetText("2");
        }
        EXPECT_TRUE(aliveInside) << byUser;
        EXPECT_FALSE(foundInside) << byUser;
        EXPECT_EQ(textInside, "2") << byUser;
        EXPECT_EQ(combosAlive, 0) << byUser;
        Settle(); // the widget goes at the next turn of the loop
        EXPECT_TRUE(widget.isNull()) << byUser;
    }
}

TEST(RuntimeComponents, FreedFromItsOwnMouseTimerOrMenuEvent) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    form->Show();
    Settle();
    auto freeSender = [](TObject* sender) { static_cast<TComponent*>(sender)->Free(); };

    form->ImgBoat->OnMouseDown = [&](TObject* sender, TMouseButton, TShiftState, int, int) {
        freeSender(sender);
    };
    QTest::mousePress(form->ImgBoat->GetHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form->FindComponent("ImgBoat"), nullptr);

    int ticks = 0;
    form->Timer1->OnTimer = [&](TObject* sender) {
        ++ticks;
        freeSender(sender);
    };
    form->Timer1->SetInterval(5);
    form->Timer1->SetEnabled(true);
    EXPECT_TRUE(WaitFor([&] { return form->FindComponent("Timer1") == nullptr; }));
    Settle();
    EXPECT_EQ(ticks, 1);

    form->PopSetReadOnlyOff->OnClick = freeSender;
    form->PopSetReadOnlyOff->GetHandle()->trigger();
    EXPECT_EQ(form->FindComponent("PopSetReadOnlyOff"), nullptr);
    EXPECT_EQ(form->PopMenu->GetHandle()->actions().size(), 1); // PopClearDatabase
    Settle();
}

TEST(RuntimeComponents, FreeingAParentInAnEventTakesItsControlsAlong) {
    std::unique_ptr<TFoTest> form(CreateForm<TFoTest>(nullptr));
    auto* group = new TGroupBox(form.get());
    group->SetName("GenGrpCom");
    group->SetParent(form->PnlMain);
    for (int n = 1; n <= 3; ++n) {
        auto* combo = new TCountedCombo(form.get());
        combo->SetName("CmbParity" + std::to_string(n));
        combo->SetParent(group);
    }
    // The alarm combo's change rebuilds the rows: they go, new ones come.
    form->VecRTE->OnClick = [&](TObject*) {
        group->Free();
        EXPECT_EQ(form->FindComponent("CmbParity2"), nullptr);
        auto* fresh = new TCountedCombo(form.get());
        fresh->SetName("CmbParity2");
        fresh->SetParent(form->PnlMain);
    };
    form->VecRTE->SetChecked(true);
    EXPECT_EQ(combosAlive, 1);
    EXPECT_NE(form->FindComponent("CmbParity2"), nullptr);
    EXPECT_EQ(form->FindComponent("GenGrpCom"), nullptr);
    form.reset();
    EXPECT_EQ(combosAlive, 0);
}

} // namespace
