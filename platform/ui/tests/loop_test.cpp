// The message loop: timers inside a real modal loop, the idle order and an
// idle loop that sleeps, the quit message, and SIGTERM closing the main window
// as the user would.
#include "uiTest.h"
#include "ui/Frame.h"
#include "ui/Gadgets.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <csignal>
#include <string>
#include <vector>

using namespace ui;
using uitest::TestModule;

namespace {

class TTicker : public TWindow {
  public:
    TTicker() : TWindow(nullptr) {}
    void EvTimer(UINT) {
        ++Ticks;
        if (OnTick) OnTick();
    }
    int Ticks = 0;
    std::function<void()> OnTick;
    DECLARE_RESPONSE_TABLE(TTicker);
};
DEFINE_RESPONSE_TABLE1(TTicker, TWindow)
EV_WM_TIMER, END_RESPONSE_TABLE;

// Uses the layer's own runner (real event loops) while it lives.
struct RealLoops {
    RealLoops() : previous(SetModalRunner(nullptr)) {}
    ~RealLoops() { SetModalRunner(previous); }
    TModalRunner* previous;
};

TEST(Loop, TimersFireInsideARealModalLoop) {
    TTicker owner;
    uitest::ShowAt(owner, 60, 60);
    auto* dialog = new TDialog(&owner, 22, &TestModule());
    std::vector<bool> inModal;
    owner.OnTick = [&] {
        inModal.push_back(InModalLoop());
        if (owner.Ticks == 3) dialog->CloseWindow(IDOK);
    };
    owner.SetTimer(1, 10);
    QTimer::singleShot(5000, [] { CancelModalLoops(); }); // never hang
    int result;
    {
        RealLoops real;
        EXPECT_FALSE(InModalLoop());
        result = dialog->Execute();
    }
    owner.KillTimer(1);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(inModal, std::vector<bool>(3, true));
    EXPECT_FALSE(InModalLoop());
    EXPECT_FALSE(dialog->IsWindow());
}

std::vector<std::string> order;

class TIdleClient : public TMDIClient {
  public:
    using TMDIClient::TMDIClient;
    bool IdleAction(long count) override {
        const bool more = TMDIClient::IdleAction(count);
        order.push_back("client");
        return more;
    }
};

class TIdleChild : public TMDIChild {
  public:
    using TMDIChild::TMDIChild;
    void Cm52() {}
    void Ce52(TCommandEnabler& ce) {
        order.push_back("enabler");
        ce.Enable(true);
    }
    DECLARE_RESPONSE_TABLE(TIdleChild);
};
DEFINE_RESPONSE_TABLE1(TIdleChild, TMDIChild)
EV_COMMAND(52, Cm52), EV_COMMAND_ENABLE(52, Ce52), END_RESPONSE_TABLE;

TEST(Loop, IdleVisitsChildrenBeforeTheirParent) {
    TApplication app;
    auto* client = new TIdleClient(&TestModule());
    auto* frame = new TDecoratedMDIFrame("Idle", 0, *client, false, &TestModule());
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    auto* child = new TIdleChild(*client);
    ASSERT_TRUE(child->Create());
    auto* box = new TToolBox(child, 1);
    box->Insert(*new TButtonGadget(120, 52, TButtonGadget::NonExclusive));
    ASSERT_TRUE(box->Create());
    order.clear();
    EXPECT_FALSE(app.RunIdle());
    // The tool box's enabler runs before the client's own idle work.
    EXPECT_EQ(order, (std::vector<std::string>{"enabler", "client"}));
}

class TIdleApp : public TApplication {
  public:
    void InitMainWindow() override {
        SetMainWindow(new TFrameWindow(nullptr, "Idle", new TWindow(nullptr)));
    }
    bool IdleAction(long count) override {
        Counts.push_back(count);
        return count < 3; // three more passes, then sleep
    }
    std::vector<long> Counts;
};

TEST(Loop, IdleWorkThatPostsNothingLetsTheLoopSleep) {
    TIdleApp app;
    app.nCmdShow = SW_HIDE;
    QTimer::singleShot(300, [] { PostQuitMessage(5); });
    EXPECT_EQ(app.Run(), 5);
    ASSERT_GE(app.Counts.size(), 4u);
    EXPECT_EQ(std::vector<long>(app.Counts.begin(), app.Counts.begin() + 4),
              (std::vector<long>{0, 1, 2, 3}));
    // Asleep, the loop wakes only for the odd event, not thousands of times.
    EXPECT_LT(app.Counts.size(), 60u);
}

class TQuitEarly : public TApplication {
  public:
    void InitMainWindow() override {
        SetMainWindow(new TFrameWindow(nullptr, "Early", new TWindow(nullptr)));
        PostQuitMessage(7); // as a fatal error during start-up does
    }
};

TEST(Loop, AQuitMessageBeforeTheLoopEndsItAtOnce) {
    TQuitEarly app;
    app.nCmdShow = SW_HIDE;
    QTimer::singleShot(3000, [] { PostQuitMessage(99); }); // never hang
    EXPECT_EQ(app.Run(), 7);
}

class TClosingFrame : public TFrameWindow {
  public:
    TClosingFrame() : TFrameWindow(nullptr, "Closing", new TWindow(nullptr)) {}
    bool CanClose() override {
        ++Asked;
        return Allow;
    }
    int Asked = 0;
    bool Allow = false;
};

class TSignalApp : public TApplication {
  public:
    void InitMainWindow() override { SetMainWindow(Frame = new TClosingFrame); }
    TClosingFrame* Frame = nullptr;
};

TEST(Loop, SigtermClosesTheMainWindowThroughCanClose) {
    TSignalApp app;
    app.nCmdShow = SW_SHOWNORMAL;
    // The first SIGTERM is refused by CanClose, the second one closes.
    QTimer::singleShot(50, [] { std::raise(SIGTERM); });
    QTimer::singleShot(300, [&] {
        app.Frame->Allow = true;
        std::raise(SIGINT);
    });
    QTimer::singleShot(5000, [] { PostQuitMessage(99); }); // never hang
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.Frame->Asked, 2);
    EXPECT_FALSE(app.Frame->IsWindow());
}

TEST(Loop, SigtermCancelsARunningModalFirst) {
    TSignalApp app;
    int modalResult = 0;
    QTimer::singleShot(30, [&] {
        QTimer::singleShot(100, [] { std::raise(SIGTERM); });
        RealLoops real;
        TDialog dialog(app.Frame, 22, &TestModule());
        modalResult = dialog.Execute();
    });
    QTimer::singleShot(5000, [] { PostQuitMessage(99); });
    app.nCmdShow = SW_SHOWNORMAL;
    TSignalApp* self = &app;
    QTimer::singleShot(0, [self] { self->Frame->Allow = true; });
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(modalResult, IDCANCEL);
    EXPECT_FALSE(app.Frame->IsWindow());
}

} // namespace
