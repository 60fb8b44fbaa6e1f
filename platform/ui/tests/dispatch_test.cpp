// Response tables and message dispatch: handlers and their arguments, inherited
// and overridden entries, command routing up to the application, the stop at
// dialogs, enablers, and Qt's mouse and key events as the programs see them.
#include "uiTest.h"
#include "ui/Frame.h"
#include "ui/Gadgets.h"

#include <gtest/gtest.h>

#include <QTest>

#include <string>
#include <thread>
#include <vector>

using namespace ui;
using uitest::TestModule;

namespace {

std::vector<std::string> calls;

void Log(std::string s) {
    calls.push_back(std::move(s));
}

// Three levels of tables: the middle class handles sizes and command 100, the
// leaf overrides command 100 and adds its own entries.
class TBase : public TWindow {
  public:
    using TWindow::TWindow;
    void EvTimer(UINT id) { Log("base timer " + std::to_string(id)); }
    void CmBase() { Log("base 100"); }
    LRESULT EvUser(WPARAM wp, LPARAM lp) {
        Log("base user " + std::to_string(wp) + "," + std::to_string(lp));
        return 42;
    }
    DECLARE_RESPONSE_TABLE(TBase);
};
DEFINE_RESPONSE_TABLE1(TBase, TWindow)
EV_WM_TIMER, EV_COMMAND(100, CmBase), EV_MESSAGE(WM_USER + 1, EvUser), END_RESPONSE_TABLE;

class TMiddle : public TBase {
  public:
    using TBase::TBase;
    void EvSize(UINT kind, const TSize& s) {
        Log("middle size " + std::to_string(kind) + " " + std::to_string(s.cx) + "x" +
            std::to_string(s.cy));
    }
    DECLARE_RESPONSE_TABLE(TMiddle);
};
DEFINE_RESPONSE_TABLE1(TMiddle, TBase)
EV_WM_SIZE, END_RESPONSE_TABLE;

class TLeaf : public TMiddle {
  public:
    using TMiddle::TMiddle;
    void EvTimer(UINT id) { Log("leaf timer " + std::to_string(id)); }
    void CmLeaf() { Log("leaf 100"); }
    void EvKeyDown(UINT key, UINT repeat, UINT flags) {
        Log("key " + std::to_string(key) + " " + std::to_string(repeat) + " " +
            std::to_string(flags));
    }
    void EvLButtonDown(UINT keys, const TPoint& p) { Mouse("L", keys, p); }
    void EvRButtonDown(UINT keys, const TPoint& p) { Mouse("R", keys, p); }
    void EvMButtonDown(UINT keys, const TPoint& p) { Mouse("M", keys, p); }
    void EvMouseMove(UINT keys, const TPoint& p) { Mouse("move", keys, p); }
    void EvMDIActivate(HWND on, HWND off) {
        Log(std::string("activate ") + (on ? "on" : "-") + " " + (off ? "off" : "-"));
    }
    void EvParentNotify(UINT event, HWND child, UINT id) {
        Log("notify " + std::to_string(event) + " " + (child ? "child" : "-") + " " +
            std::to_string(id));
    }
    LRESULT EvDblClk(WPARAM keys, LPARAM lp) {
        Mouse("L2", UINT(keys), TPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
        return 0;
    }
    void Mouse(const char* b, UINT keys, const TPoint& p) {
        Log(std::string(b) + " " + std::to_string(keys) + " " + std::to_string(p.x) + "," +
            std::to_string(p.y));
    }
    void GetWindowClass(WNDCLASS& wc) override {
        TMiddle::GetWindowClass(wc);
        wc.style |= ClassStyle;
    }
    UINT ClassStyle = 0;
    DECLARE_RESPONSE_TABLE(TLeaf);
};
DEFINE_RESPONSE_TABLE1(TLeaf, TMiddle)
EV_WM_TIMER, EV_COMMAND(100, CmLeaf), EV_WM_KEYDOWN, EV_WM_LBUTTONDOWN, EV_WM_RBUTTONDOWN,
    EV_WM_MBUTTONDOWN, EV_WM_MOUSEMOVE, EV_WM_MDIACTIVATE, EV_WM_PARENTNOTIFY,
    EV_MESSAGE(WM_LBUTTONDBLCLK, EvDblClk), END_RESPONSE_TABLE;

struct SendCase {
    const char* name;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    const char* expected; // "" when nothing handles it
    LRESULT result;
};

TEST(Dispatch, SendMessageReachesTheMostDerivedHandler) {
    TLeaf leaf(nullptr);
    TMiddle middle(nullptr);
    const SendCase cases[] = {
        {"timer, overridden", WM_TIMER, 7, 0, "leaf timer 7", 0},
        {"size, inherited", WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), "middle size 2 640x480",
         0},
        {"key", WM_KEYDOWN, VK_NEXT, MAKELPARAM(1, 0x4000), "key 34 1 16384", 0},
        {"mouse, negative point", WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 20),
         "L 5 -3,20", 0},
        {"command, overridden", WM_COMMAND, MAKEWPARAM(100, 0), 0, "leaf 100", 0},
        {"any message, with its result", WM_USER + 1, 5, -6, "base user 5,-6", 42},
        {"parent notice", WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, 77), LPARAM(1),
         "notify 2 child 77", 0},
        {"nobody", WM_USER + 9, 0, 0, "", 0},
    };
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.name);
        calls.clear();
        EXPECT_EQ(leaf.SendMessage(c.msg, c.wp, c.lp), c.result);
        EXPECT_EQ(calls, std::string(c.expected).empty() ? std::vector<std::string>{}
                                                         : std::vector<std::string>{c.expected});
    }
    // The middle class has the base's timer and command.
    calls.clear();
    middle.SendMessage(WM_TIMER, 3);
    middle.SendMessage(WM_COMMAND, 100);
    EXPECT_EQ(calls, (std::vector<std::string>{"base timer 3", "base 100"}));
}

// The application and every level of the frame handle one command each.
class TRouteApp : public TApplication {
  public:
    void Cm120() { Log("app 120"); }
    void Cm119() { Log("app 119"); }
    DECLARE_RESPONSE_TABLE(TRouteApp);
};
DEFINE_RESPONSE_TABLE1(TRouteApp, TApplication)
EV_COMMAND(120, Cm120), EV_COMMAND(119, Cm119), END_RESPONSE_TABLE;

class TRouteFrame : public TDecoratedMDIFrame {
  public:
    using TDecoratedMDIFrame::TDecoratedMDIFrame;
    void Cm113() { Log("frame 113"); }
    void Cm112() { Log("frame 112"); }
    DECLARE_RESPONSE_TABLE(TRouteFrame);
};
DEFINE_RESPONSE_TABLE1(TRouteFrame, TDecoratedMDIFrame)
EV_COMMAND(113, Cm113), EV_COMMAND(112, Cm112), END_RESPONSE_TABLE;

class TRouteClient : public TMDIClient {
  public:
    using TMDIClient::TMDIClient;
    void Cm112() { Log("client 112"); }
    DECLARE_RESPONSE_TABLE(TRouteClient);
};
DEFINE_RESPONSE_TABLE1(TRouteClient, TMDIClient)
EV_COMMAND(112, Cm112), END_RESPONSE_TABLE;

class TRouteChild : public TMDIChild {
  public:
    using TMDIChild::TMDIChild;
    void Cm111() { Log("child 111"); }
    void Cm1001() { Log("child 1001"); }
    void Cm119() { Log("child 119"); }
    DECLARE_RESPONSE_TABLE(TRouteChild);
};
DEFINE_RESPONSE_TABLE1(TRouteChild, TMDIChild)
EV_COMMAND(111, Cm111), EV_COMMAND(1001, Cm1001), EV_COMMAND(119, Cm119), END_RESPONSE_TABLE;

TEST(Dispatch, CommandsClimbToTheApplicationAndFramesAskTheirChildFirst) {
    TRouteApp app;
    auto* client = new TRouteClient(&TestModule());
    auto* frame = new TRouteFrame("Ramme", 0, *client, false, &TestModule());
    auto* bar = new TControlBar(frame);
    frame->Insert(*bar, TDecoratedFrame::Top);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    auto* child = new TRouteChild(*client);
    child->Attr.Style |= WS_MAXIMIZE;
    ASSERT_TRUE(child->Create());
    auto* inner = new TWindow(child); // a window inside the child, as the tool box is
    ASSERT_TRUE(inner->Create());

    struct Case {
        TWindow* from;
        UINT id;
        const char* handledBy;
    };
    const Case cases[] = {
        {bar, 111, "child 111"},    // the frame offers it to the active child first
        {bar, 112, "client 112"},   // then to its client
        {bar, 113, "frame 113"},    // then handles it itself
        {bar, 120, "app 120"},      // the application last
        {inner, 112, "client 112"}, // up from inside the child
        {inner, 113, "frame 113"},  {inner, 119, "child 119"}, // the child before the application
        {inner, 120, "app 120"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        calls.clear();
        bool handled = false;
        c.from->RouteCommand(c.id, 0, nullptr, &handled);
        EXPECT_TRUE(handled);
        EXPECT_EQ(calls, std::vector<std::string>{c.handledBy});
    }
    calls.clear();
    bool handled = true;
    bar->RouteCommand(999, 0, nullptr, &handled);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(calls.empty());
}

TEST(Dispatch, CommandsOfADialogStopAtTheDialog) {
    TRouteApp app;
    auto* client = new TRouteClient(&TestModule());
    TRouteFrame frame("Ramme", 0, *client, false, &TestModule());
    ASSERT_TRUE(frame.Create());
    auto* child = new TRouteChild(*client);
    ASSERT_TRUE(child->Create());
    // A modeless child dialog of the chart-like window: its button 1001 is not
    // the window's command 1001.
    auto* dialog = new TDialog(child, 23, &TestModule());
    ASSERT_TRUE(dialog->Create());
    calls.clear();
    bool handled = true;
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    dialog->Dispatch(WM_COMMAND, MAKEWPARAM(120, BN_CLICKED), 0, &handled);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(calls.empty());
}

// Enablers: one disables and checks, one command has only a handler, one has
// neither.
class TEnableFrame : public TFrameWindow {
  public:
    using TFrameWindow::TFrameWindow;
    void Cm1() {}
    void Cm2() {}
    void Ce1(TCommandEnabler& ce) {
        ce.Enable(Allow);
        ce.SetCheck(TCommandEnabler::Checked);
    }
    bool Allow = false;
    DECLARE_RESPONSE_TABLE(TEnableFrame);
};
DEFINE_RESPONSE_TABLE1(TEnableFrame, TFrameWindow)
EV_COMMAND(1, Cm1), EV_COMMAND_ENABLE(1, Ce1), EV_COMMAND(2, Cm2), END_RESPONSE_TABLE;

TEST(Dispatch, EnablersAtIdleAndTheDefaultRule) {
    TApplication app;
    auto* frame = new TEnableFrame(nullptr, "E", new TWindow(nullptr), false, &TestModule());
    auto* bar = new TControlBar(frame);
    auto* b1 = new TButtonGadget(120, 1, TButtonGadget::NonExclusive);
    auto* b2 = new TButtonGadget(120, 2);
    auto* b3 = new TButtonGadget(120, 3);
    bar->Insert(*b1);
    bar->Insert(*b2);
    bar->Insert(*b3);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    // Before the first idle pass every button is disabled.
    EXPECT_FALSE(b1->GetEnabled() || b2->GetEnabled() || b3->GetEnabled());
    app.RunIdle();
    EXPECT_FALSE(b1->GetEnabled()); // the enabler says no
    EXPECT_EQ(b1->GetButtonState(), TButtonGadget::Down);
    EXPECT_TRUE(b2->GetEnabled());  // a handler and no enabler
    EXPECT_FALSE(b3->GetEnabled()); // nobody handles 3
    frame->Allow = true;
    app.RunIdle();
    EXPECT_TRUE(b1->GetEnabled());
    EXPECT_TRUE(b1->GetHandle()->isEnabled());
}

TEST(Dispatch, RealMouseEventsGiveMessagesWithKeyFlagsAndClientPoints) {
    TLeaf w(nullptr);
    uitest::ShowAt(w, 200, 150);
    QWidget* h = w.GetHandle();
    calls.clear();
    QTest::mouseClick(h, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 7));
    QTest::mouseClick(h, Qt::RightButton, Qt::ControlModifier, QPoint(10, 11));
    QTest::mousePress(h, Qt::MiddleButton, Qt::NoModifier, QPoint(12, 13));
    QTest::mouseRelease(h, Qt::MiddleButton, Qt::NoModifier, QPoint(12, 13));
    QTest::mouseMove(h, QPoint(30, 40));
    EXPECT_EQ(calls,
              (std::vector<std::string>{"L 5 5,7", "R 10 10,11", "M 16 12,13", "move 0 30,40"}));
    // A double click (Qt: a press, then a double-click event) is a second press
    // without CS_DBLCLKS, a double-click message with it.
    calls.clear();
    QTest::mouseClick(h, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseDClick(h, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(calls, (std::vector<std::string>{"L 1 3,4", "L 1 3,4"}));
    TLeaf d(nullptr);
    d.ClassStyle = CS_DBLCLKS;
    uitest::ShowAt(d, 100, 100);
    calls.clear();
    QTest::mouseClick(d.GetHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseDClick(d.GetHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(calls, (std::vector<std::string>{"L 1 3,4", "L2 1 3,4"}));
}

// Counts the key presses the application's hook sees.
class TKeyApp : public TApplication {
  public:
    bool ProcessAppMsg(MSG& msg) override {
        if (msg.message == WM_KEYDOWN) Keys.push_back(UINT(msg.wParam));
        return Swallow && msg.message == WM_KEYDOWN;
    }
    std::vector<UINT> Keys;
    bool Swallow = false;
};

TEST(Dispatch, RealKeysGiveVirtualKeysAndReachTheHookOnce) {
    TKeyApp app;
    TLeaf w(nullptr);
    uitest::ShowAt(w, 100, 100);
    w.SetFocus();
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        UINT vk;
    };
    const Case cases[] = {
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
        {Qt::Key_Plus, Qt::NoModifier, VK_OEM_PLUS},
        {Qt::Key_Minus, Qt::KeypadModifier, VK_SUBTRACT},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_Home, Qt::NoModifier, VK_HOME},
        {Qt::Key_Left, Qt::NoModifier, VK_LEFT},
        {Qt::Key_Insert, Qt::NoModifier, VK_INSERT},
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
        {Qt::Key_F1, Qt::NoModifier, VK_F1},
        {Qt::Key_G, Qt::NoModifier, 'G'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        calls.clear();
        app.Keys.clear();
        QTest::keyClick(w.GetHandle(), c.key, c.mods);
        EXPECT_EQ(app.Keys, std::vector<UINT>{c.vk});
        EXPECT_EQ(calls, std::vector<std::string>{"key " + std::to_string(c.vk) + " 1 0"});
    }
    // Shift comes as a key of its own before the letter.
    calls.clear();
    app.Keys.clear();
    QTest::keyClick(w.GetHandle(), Qt::Key_W, Qt::ShiftModifier);
    EXPECT_EQ(app.Keys, (std::vector<UINT>{VK_SHIFT, 'W'}));
    // A hook that swallows the key keeps it from the window.
    app.Swallow = true;
    calls.clear();
    QTest::keyClick(w.GetHandle(), Qt::Key_PageDown);
    EXPECT_EQ(app.Keys.back(), VK_NEXT);
    EXPECT_TRUE(calls.empty());
}

TEST(Dispatch, PostedMessagesArriveFromAnyThread) {
    TLeaf w(nullptr);
    uitest::ShowAt(w, 50, 50);
    calls.clear();
    std::thread t([&] {
        for (int i = 0; i < 3; ++i)
            w.PostMessage(WM_USER + 1, WPARAM(i), 0);
    });
    t.join();
    EXPECT_TRUE(calls.empty()); // nothing before the loop runs
    uitest::Settle();
    EXPECT_EQ(calls, (std::vector<std::string>{"base user 0,0", "base user 1,0", "base user 2,0"}));
    TLeaf never(nullptr);
    EXPECT_FALSE(never.PostMessage(WM_USER + 1)); // no window yet
}

} // namespace
