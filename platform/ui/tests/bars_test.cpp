// Gadgets and bars: desired sizes, repaints only on change, button types and
// the exclusive group, look-up by id, the status bar's text, the tool box
// placed by its parent's WM_SIZE, and tool tips.
#include "uiTest.h"
#include "ui/Gadgets.h"

#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <string>
#include <vector>

using namespace ui;
using uitest::TestModule;

namespace {

// A gadget whose value repaints it only when it changes.
class TValueGadget : public TGadget {
  public:
    explicit TValueGadget(int id) : TGadget(id, None) {}
    void SetValue(double v) {
        if (v == value_) return;
        value_ = v;
        Invalidate();
    }
    void GetDesiredSize(TSize& size) override {
        TGadget::GetDesiredSize(size);
        const gdi::XY e = GetGadgetWindow()->GetGdiFont()->extent("1: 000 000 000");
        size.cx += e.x + 2;
        size.cy += e.y + 2;
    }
    void Paint(TDC& dc) override {
        TGadget::Paint(dc);
        ++Paints;
        TRect r;
        GetInnerRect(r);
        const gdi::TextRect clip{r.left, r.top, r.right, r.bottom};
        dc.extTextOut(r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &clip, std::to_string(int(value_)));
    }
    int Paints = 0;

  private:
    double value_ = 0;
};

std::vector<UINT> commands;

class TBarParent : public TWindow {
  public:
    TBarParent() : TWindow(nullptr, nullptr, &TestModule()) {}
    void Cm(UINT id) { commands.push_back(id); }
    void Cm56() { Cm(56); }
    void Cm57() { Cm(57); }
    void Cm53() { Cm(53); }
    void Cm97() { Cm(97); }
    void EvSize(UINT, const TSize& size) {
        // Keeps its tool box in the top right corner.
        if (Box && Box->IsWindow()) {
            const TRect r = Box->GetWindowRect();
            Box->SetWindowPos(nullptr, size.cx - r.Width(), 0, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    TToolBox* Box = nullptr;
    DECLARE_RESPONSE_TABLE(TBarParent);
};
DEFINE_RESPONSE_TABLE1(TBarParent, TWindow)
EV_COMMAND(56, Cm56), EV_COMMAND(57, Cm57), EV_COMMAND(53, Cm53),
    EV_COMMAND(97, Cm97), EV_WM_SIZE, END_RESPONSE_TABLE;

// A tool box as the chart window's: one column, a dialog frame, kept above
// its siblings, 6 pixels larger than its gadgets.
class TFloatingBox : public TToolBox {
  public:
    explicit TFloatingBox(TWindow* parent) : TToolBox(parent, 1) {
        Attr.Style = WS_CHILD | WS_VISIBLE | WS_DLGFRAME;
        Attr.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
    }
    void GetDesiredSize(TSize& size) override {
        TToolBox::GetDesiredSize(size);
        size.cx += 6;
        size.cy += 6;
    }
};

TEST(Bars, DesiredSizesAndLayout) {
    TBarParent parent;
    uitest::ShowAt(parent, 400, 300);
    const gdi::LogFont font = TGadgetWindowFont(10);
    EXPECT_EQ(font.height, -13);
    auto* bar = new TControlBar(&parent, TGadgetWindow::Horizontal, &font);
    auto* text = new TTextGadget(7, TGadget::Recessed, TTextGadget::Left, 10, "Skala");
    auto* sep = new TSeparatorGadget(6);
    auto* button = new TButtonGadget(120, 53, TButtonGadget::NonExclusive);
    auto* value = new TValueGadget(1001);
    bar->Insert(*text);
    bar->Insert(*sep);
    bar->Insert(*button);
    bar->Insert(*value);
    ASSERT_TRUE(bar->Create());
    uitest::Settle();

    TSize s;
    sep->GetDesiredSize(s);
    EXPECT_EQ(s, TSize(6, 6));
    button->GetDesiredSize(s);
    EXPECT_EQ(s, TSize(27, 27)); // the 20 x 20 glyph with its edges
    const auto gdiFont = bar->GetGdiFont();
    value->GetDesiredSize(s);
    const gdi::XY sample = gdiFont->extent("1: 000 000 000");
    TSize base;
    value->TGadget::GetDesiredSize(base);
    EXPECT_EQ(s, TSize(base.cx + sample.x + 2, base.cy + sample.y + 2));
    // Laid out in order, each at its desired size, the bar as high as the
    // highest gadget with its margins.
    int x = 2;
    for (TGadget* g : bar->GetGadgets()) {
        TSize d;
        g->GetDesiredSize(d);
        EXPECT_EQ(g->GetBounds(),
                  TRect(x, g->GetBounds().top, x + d.cx, g->GetBounds().top + d.cy));
        x += d.cx;
    }
    TSize barSize;
    bar->GetDesiredSize(barSize);
    EXPECT_EQ(bar->GetClientRect().Height(), barSize.cy);
    EXPECT_EQ(bar->GadgetWithId(1001), value);
    EXPECT_EQ(bar->GadgetWithId(53), button);
    EXPECT_EQ(bar->GadgetWithId(4242), nullptr);
}

TEST(Bars, AValueSetTwiceRepaintsOnce) {
    TBarParent parent;
    uitest::ShowAt(parent, 400, 300);
    auto* bar = new TStatusBar(&parent);
    auto* value = new TValueGadget(1001);
    bar->Insert(*value);
    ASSERT_TRUE(bar->Create());
    uitest::Settle();
    const int first = value->Paints;
    EXPECT_GE(first, 1);
    value->SetValue(25000);
    value->SetValue(25000);
    uitest::Settle();
    EXPECT_EQ(value->Paints, first + 1);
    uitest::Settle();
    EXPECT_EQ(value->Paints, first + 1);
    // Status bar gadgets take the bar's border; its own text fills the rest.
    EXPECT_EQ(value->GetBorderStyle(), TGadget::Recessed);
    bar->SetText("V tast: Zoom inn");
    EXPECT_STREQ(bar->GetText(), "V tast: Zoom inn");
    bar->MoveWindow(0, 0, 400, bar->GetClientRect().Height());
    uitest::Settle();
    EXPECT_GT(bar->GetGadgets().front()->GetBounds().Width(), 200);
}

TEST(Bars, ButtonTypesAndTheExclusiveGroup) {
    TBarParent parent;
    uitest::ShowAt(parent, 400, 300);
    auto* box = new TToolBox(&parent, 1);
    auto* del = new TButtonGadget(120, 56, TButtonGadget::Exclusive, true);
    auto* place = new TButtonGadget(120, 57, TButtonGadget::Exclusive, true);
    auto* choose = new TButtonGadget(120, 97, TButtonGadget::Command, true);
    auto* fresh = new TButtonGadget(120, 53, TButtonGadget::NonExclusive, true);
    for (TGadget* g : std::vector<TGadget*>{del, place, choose, fresh})
        box->Insert(*g);
    ASSERT_TRUE(box->Create());
    uitest::Settle();
    const auto click = [](TGadget* g) { QTest::mouseClick(g->GetHandle(), Qt::LeftButton); };
    commands.clear();
    click(del);
    EXPECT_EQ(del->GetButtonState(), TButtonGadget::Down);
    click(place); // the neighbour goes up
    EXPECT_EQ(del->GetButtonState(), TButtonGadget::Up);
    EXPECT_EQ(place->GetButtonState(), TButtonGadget::Down);
    click(place); // stays down
    EXPECT_EQ(place->GetButtonState(), TButtonGadget::Down);
    click(choose); // a command button stays up and leaves the group alone
    EXPECT_EQ(choose->GetButtonState(), TButtonGadget::Up);
    EXPECT_EQ(place->GetButtonState(), TButtonGadget::Down);
    click(fresh);
    EXPECT_EQ(fresh->GetButtonState(), TButtonGadget::Down);
    click(fresh);
    EXPECT_EQ(fresh->GetButtonState(), TButtonGadget::Up);
    EXPECT_EQ(commands, (std::vector<UINT>{56, 57, 57, 97, 53, 53}));
    // Releasing a button may leave the whole group up; the screen follows.
    static_cast<TButtonGadget*>(box->GadgetWithId(57))->SetButtonState(TButtonGadget::Up);
    EXPECT_EQ(del->GetButtonState(), TButtonGadget::Up);
    EXPECT_EQ(place->GetButtonState(), TButtonGadget::Up);
    EXPECT_FALSE(static_cast<QToolButton*>(place->GetHandle())->isChecked());
    del->SetButtonState(TButtonGadget::Down);
    EXPECT_TRUE(static_cast<QToolButton*>(del->GetHandle())->isChecked());
    // A disabled button sends nothing.
    commands.clear();
    choose->SetEnabled(false);
    click(choose);
    EXPECT_TRUE(commands.empty());
}

TEST(Bars, TheToolBoxFollowsItsParentsSize) {
    TBarParent parent;
    uitest::ShowAt(parent, 500, 300);
    auto* other = new TWindow(&parent); // a sibling made later stays below
    auto* box = new TFloatingBox(&parent);
    parent.Box = box;
    for (int id : {120, 108, 134, 119})
        box->Insert(*new TButtonGadget(120, id, TButtonGadget::NonExclusive));
    ASSERT_TRUE(box->Create());
    ASSERT_TRUE(other->Create());
    uitest::Settle();
    TSize desired;
    box->GetDesiredSize(desired);
    EXPECT_EQ(desired, TSize(27 + 6, 4 * 27 + 6));
    EXPECT_EQ(box->GetClientRect(), TRect(0, 0, desired.cx, desired.cy));
    parent.MoveWindow(0, 0, 640, 480, true);
    uitest::Settle();
    EXPECT_EQ(box->GetHandle()->geometry(), QRect(640 - desired.cx, 0, desired.cx, desired.cy));
    // Kept above its siblings.
    const auto kids = parent.GetHandle()->children();
    EXPECT_EQ(kids.indexOf(box->GetHandle()) > kids.indexOf(other->GetHandle()), true);
}

// A framed box knows where its gadgets lie, inside its three-pixel frame,
// already in its own set-up, before its window is shown: tool tips are added
// there.
class TBoundsAtSetUp : public TFloatingBox {
  public:
    using TFloatingBox::TFloatingBox;
    std::vector<TRect> Bounds;
    bool VisibleAtSetUp = true;

  protected:
    void SetupWindow() override {
        TFloatingBox::SetupWindow();
        VisibleAtSetUp = GetHandle()->isVisible();
        for (TGadget* g : GetGadgets())
            Bounds.push_back(g->GetBounds());
    }
};

TEST(Bars, GadgetBoundsAtTheBoxsSetUp) {
    TBarParent parent;
    uitest::ShowAt(parent, 300, 200);
    auto* box = new TBoundsAtSetUp(&parent);
    for (int id : {120, 108, 134})
        box->Insert(*new TButtonGadget(120, id, TButtonGadget::NonExclusive));
    ASSERT_TRUE(box->Create());
    EXPECT_FALSE(box->VisibleAtSetUp);
    EXPECT_EQ(box->Bounds, (std::vector<TRect>{TRect(3, 3, 30, 30), TRect(3, 30, 30, 57),
                                               TRect(3, 57, 30, 84)}));
}

TEST(Bars, ToolTipsOnGadgetCells) {
    TBarParent parent;
    uitest::ShowAt(parent, 300, 200);
    auto* tips = new TTooltip(&parent);
    auto* box = new TToolBox(&parent, 1);
    box->Insert(*new TButtonGadget(120, 120, TButtonGadget::NonExclusive, true));
    box->Insert(*new TButtonGadget(120, 108, TButtonGadget::NonExclusive, true));
    ASSERT_TRUE(box->Create());
    ASSERT_TRUE(tips->Create());
    uitest::Settle();
    for (TGadget* g : box->GetGadgets())
        tips->AddTool(TToolInfo(*box, g->GetBounds(), UINT(g->GetId()),
                                g->GetId() == 120 ? "Auto kartskifte" : "Belysning"));
    const TRect second = box->GadgetWithId(108)->GetBounds();
    EXPECT_EQ(tips->ToolTextAt(*box, TPoint(second.left + 2, second.top + 2)), "Belysning");
    EXPECT_EQ(tips->ToolTextAt(*box, TPoint(-5, -5)), "");
    // A real tool-tip event over the first button shows its text.
    QWidget* button = box->GadgetWithId(120)->GetHandle();
    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), button->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(button, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Auto kartskifte"));
    QToolTip::hideText();
}

} // namespace
