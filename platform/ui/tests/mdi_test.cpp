// The MDI frame and what the programs read from the system: a maximised child
// filling the client, activation and destruction notices, the frame's set-up,
// system colours, the clipboard image, cursors, resources, the screen, and an
// activation request raising the frame.
#include "uiTest.h"
#include "os/instanceLocks.h"
#include "ui/Cursor.h"
#include "ui/Frame.h"
#include "ui/Gadgets.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QPalette>
#include <QScreen>
#include <QTimer>

#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
using uitest::TestModule;

namespace {

std::vector<std::string> log;

class TLogChild : public TMDIChild {
  public:
    TLogChild(TMDIClient& client, const char* name) : TMDIChild(client), Name(name) {}
    void EvMDIActivate(HWND on, HWND off) {
        log.push_back(Name + (on == GetHandle() ? " on" : "") + (off == GetHandle() ? " off" : ""));
    }
    std::string Name;
    DECLARE_RESPONSE_TABLE(TLogChild);
};
DEFINE_RESPONSE_TABLE1(TLogChild, TMDIChild)
EV_WM_MDIACTIVATE, END_RESPONSE_TABLE;

class TLogClient : public TMDIClient {
  public:
    using TMDIClient::TMDIClient;
    void EvParentNotify(UINT event, HWND child, UINT id) {
        if (event == WM_DESTROY)
            log.push_back("destroyed " + std::to_string(id) + (child ? " with handle" : ""));
    }
    DECLARE_RESPONSE_TABLE(TLogClient);
};
DEFINE_RESPONSE_TABLE1(TLogClient, TMDIClient)
EV_WM_PARENTNOTIFY, END_RESPONSE_TABLE;

TEST(Mdi, AMaximisedChildFillsTheClientAndNoticesCome) {
    TApplication app;
    auto* client = new TLogClient(&TestModule());
    auto* frame = new TDecoratedMDIFrame("Solvanor V lite", 0, *client, false, &TestModule());
    auto* bar = new TControlBar(frame);
    auto* status = new TStatusBar(frame);
    frame->Insert(*bar, TDecoratedFrame::Top);
    frame->Insert(*status, TDecoratedFrame::Bottom);
    frame->SetIcon(&TestModule(), 20001);
    frame->Attr.W = 640;
    frame->Attr.H = 480;
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    frame->ShowWindow(SW_SHOWNORMAL);
    uitest::Settle();
    // Bar, client, status bar from top to bottom; the client in the grey of
    // COLOR_APPWORKSPACE.
    const QRect b = bar->GetHandle()->geometry(), c = client->GetHandle()->geometry(),
                s = status->GetHandle()->geometry();
    EXPECT_LE(b.bottom(), c.top());
    EXPECT_LE(c.bottom(), s.top());
    EXPECT_EQ(c.width(), 640);
    EXPECT_EQ(client->GetHandle()->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_FALSE(frame->GetHandle()->windowIcon().isNull());
    EXPECT_EQ(frame->GetHandle()->windowTitle(), QStringLiteral("Solvanor V lite"));

    log.clear();
    auto* first = new TLogChild(*client, "first");
    first->Attr.Style |= WS_MAXIMIZE;
    first->Attr.Id = 5;
    ASSERT_TRUE(first->Create());
    uitest::Settle();
    EXPECT_EQ(first->GetHandle()->geometry(), client->GetHandle()->rect());
    EXPECT_TRUE(first->IsZoomed());
    EXPECT_EQ(client->GetActiveMDIChild(), first);
    frame->MoveWindow(0, 0, 800, 600, true);
    uitest::Settle();
    EXPECT_EQ(first->GetHandle()->geometry(), client->GetHandle()->rect());
    EXPECT_EQ(client->GetHandle()->width(), 800);

    auto* second = new TLogChild(*client, "second");
    second->Attr.Id = 6;
    ASSERT_TRUE(second->Create());
    EXPECT_EQ(client->GetActiveMDIChild(), second);
    second->Destroy();
    EXPECT_EQ(client->GetActiveMDIChild(), first);
    EXPECT_EQ(log, (std::vector<std::string>{"first on", "first off", "second on",
                                             "destroyed 6 with handle", "first on"}));
    delete second;
}

TEST(Mdi, AnUnmaximisedFrameShowsMaximisedFromTheScreen) {
    TApplication app;
    auto* client = new TMDIClient(&TestModule());
    auto* frame = new TDecoratedMDIFrame("Ramme", 0, *client, false, &TestModule());
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    uitest::Settle();
    EXPECT_TRUE(frame->IsZoomed());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frame->GetWindowRect(),
              TRect(screen.left(), screen.top(), screen.right() + 1, screen.bottom() + 1));
}

TEST(System, SystemColoursReadBackAndReachThePalette) {
    const int elements[] = {COLOR_INFOBK,    COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_CAPTIONTEXT,
                            COLOR_BTNTEXT,   COLOR_BTNSHADOW, COLOR_3DLIGHT,    COLOR_BTNHIGHLIGHT,
                            COLOR_BTNSHADOW, COLOR_BTNFACE};
    const TColor dusk[] = {0x00BFBF, 0x585858, 0xD0D0D0, 0xFFFFFF, 0xFFFFFF,
                           0x505050, 0x808080, 0xA0A0A0, 0x606060, 0x707070};
    const TColor day[] = {0x00FFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000,
                          0x808080, 0xC0C0C0, 0xFFFFFF, 0x808080, 0xC0C0C0};
    ASSERT_TRUE(SetSysColors(10, elements, dusk));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), 0x00BFBFu);    // 0x00BBGGRR: yellow, darker
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), 0x606060u); // the later of the two wins
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0x707070u);
    const QPalette pal = QApplication::palette();
    EXPECT_EQ(pal.color(QPalette::Button), QColor(0x70, 0x70, 0x70));
    EXPECT_EQ(pal.color(QPalette::Window), QColor(0x70, 0x70, 0x70));
    EXPECT_EQ(pal.color(QPalette::ToolTipBase), QColor(0xBF, 0xBF, 0x00));
    EXPECT_EQ(pal.color(QPalette::Text), QColor(0xD0, 0xD0, 0xD0));
    EXPECT_EQ(pal.color(QPalette::Base), QColor(0x58, 0x58, 0x58));
    // Disabled captions are the shadow grey on the face, never the face itself.
    EXPECT_EQ(pal.color(QPalette::Disabled, QPalette::WindowText), QColor(0x60, 0x60, 0x60));
    EXPECT_EQ(pal.color(QPalette::Disabled, QPalette::ButtonText), QColor(0x60, 0x60, 0x60));
    EXPECT_EQ(pal.color(QPalette::Disabled, QPalette::Window), QColor(0x70, 0x70, 0x70));
    ASSERT_TRUE(SetSysColors(10, elements, day));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), 0x00FFFFu);
    EXPECT_EQ(QApplication::palette().color(QPalette::ToolTipBase), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), 0x808080u);
    // An element outside the program's table is left alone and reads black.
    const int other[] = {COLOR_APPWORKSPACE, 3};
    const TColor values[] = {RGB(1, 2, 3), RGB(9, 9, 9)};
    SetSysColors(2, other, values);
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), RGB(1, 2, 3));
    EXPECT_EQ(GetSysColor(3), 0u);
    const int workspace[] = {COLOR_APPWORKSPACE};
    const TColor grey[] = {RGB(128, 128, 128)};
    SetSysColors(1, workspace, grey);
}

TEST(System, TheClipboardImageBecomesABitmap) {
    TWindow w(nullptr);
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(TClipboard(w).GetDibBitmap(), nullptr);
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(QColor(10, 20, 30));
    img.setPixel(29, 19, qRgb(200, 100, 50));
    QGuiApplication::clipboard()->setImage(img);
    const auto bm = TClipboard(w).GetDibBitmap();
    ASSERT_NE(bm, nullptr);
    EXPECT_FALSE(bm->isMonochrome());
    EXPECT_EQ(bm->width(), 30);
    EXPECT_EQ(bm->height(), 20);
    EXPECT_EQ(bm->image().pixel(0, 0) & 0xFFFFFFu, 0x0A141Eu);
    EXPECT_EQ(bm->image().pixel(29, 19) & 0xFFFFFFu, 0xC86432u);
    QGuiApplication::clipboard()->clear();
}

TEST(System, CursorRequestsAreRecorded) {
    uitest::TCursorRecorder recorder;
    const HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->Cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(LoadCursor(nullptr, IDC_APPSTARTING)->Cursor.shape(), Qt::BusyCursor);
    const HCURSOR before = SetCursor(wait);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(SetCursor(before), wait);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    SetCursorPos(50, 125);
    TPoint p;
    GetCursorPos(p);
    EXPECT_EQ(p, TPoint(50, 125)); // the offscreen platform keeps it
    const TRect r(5, 5, 300, 545);
    ClipCursor(&r);
    ClipCursor(nullptr);
    ASSERT_EQ(recorder.Requests.size(), 5u);
    EXPECT_EQ(recorder.Requests[0].cursor, "IDC_WAIT");
    EXPECT_EQ(recorder.Requests[1].cursor, "");
    EXPECT_EQ(recorder.Requests[2].kind, int(TCursorRequest::SetPos));
    EXPECT_EQ(recorder.Requests[2].x, 50);
    EXPECT_TRUE(recorder.Requests[3].clipped);
    EXPECT_FALSE(recorder.Requests[4].clipped);
    // A cursor of the module keeps its hot spot; a window shows it.
    const HCURSOR own = LoadCursor(&TestModule(), 19994);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->Cursor.hotSpot(), QPoint(7, 7));
    TWindow w(nullptr);
    uitest::ShowAt(w, 40, 40);
    EXPECT_TRUE(w.SetCursor(&TestModule(), 19994));
    EXPECT_EQ(w.GetHandle()->cursor().hotSpot(), QPoint(7, 7));
}

TEST(System, ResourcesByIdOrNameAndMissingOnesReportedOnce) {
    const auto byId = TestModule().LoadBitmap(120);
    const auto byName = TestModule().LoadBitmap("GLYPH");
    ASSERT_NE(byId, nullptr);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byId->width(), 20);
    EXPECT_EQ(byId->image(), byName->image());
    EXPECT_NE(byId, byName); // each caller gets its own copy
    testing::internal::CaptureStderr();
    EXPECT_EQ(TestModule().LoadBitmap(777), nullptr);
    EXPECT_EQ(TestModule().LoadBitmap(777), nullptr);
    EXPECT_EQ(TestModule().LoadCursor(19999), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "uitest: no bitmap 777\nuitest: no cursor 19999\n");
}

TEST(System, TheScreenAndItsCapabilities) {
    const gdi::DeviceCaps caps = GetScreenCaps();
    const QSize size = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(caps.horzRes, size.width());
    EXPECT_EQ(caps.vertRes, size.height());
    EXPECT_GT(caps.horzSizeMm, 0);
    EXPECT_GE(caps.bitsPerPixel, 24);
    EXPECT_EQ(caps.numReserved, 20);
    // A window's context reports the screen.
    TWindow w(nullptr);
    uitest::ShowAt(w, 30, 30);
    EXPECT_EQ(w.GetDC().caps().horzRes, caps.horzRes);
}

class TPresenceApp : public TApplication {
  public:
    void InitMainWindow() override {
        SetMainWindow(Frame = new TFrameWindow(nullptr, "Presence", new TWindow(nullptr)));
    }
    TFrameWindow* Frame = nullptr;
};

TEST(System, AnActivationRequestRestoresAndRaisesTheFrame) {
    const std::string title = "uitest presence " + std::to_string(getpid());
    os::PresenceLock lock;
    ASSERT_EQ(lock.acquire(title), os::LockResult::Acquired);
    TPresenceApp app;
    app.WatchPresence(lock);
    app.nCmdShow = SW_SHOWMINIMIZED;
    bool wasIconic = false;
    QTimer::singleShot(50, [&] {
        wasIconic = app.Frame->IsIconic();
        EXPECT_TRUE(os::requestActivation(title));
    });
    QTimer::singleShot(300, [] { PostQuitMessage(0); });
    app.Run();
    EXPECT_TRUE(wasIconic);
    EXPECT_FALSE(app.Frame->IsIconic());
    EXPECT_TRUE(app.Frame->IsWindowVisible());
}

} // namespace
