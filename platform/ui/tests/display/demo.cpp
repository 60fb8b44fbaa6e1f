// The display demo: a frame with a control bar and a status bar, a maximised
// MDI child drawing a moving band from a 100 ms timer, and a modeless panel.
// Once everything is on the display it checks pixels of the screen, writes a
// screen shot into the folder given as its argument, prints "ready", and runs
// until it is closed (SIGTERM); it prints "closed" when asked to close.
#include "ui/Application.h"
#include "ui/Dialog.h"
#include "ui/Frame.h"
#include "ui/Gadgets.h"
#include "ui/Module.h"
#include "ui/Screen.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

using namespace ui;

namespace {

constexpr TColor kBand = RGB(255, 0, 255);
constexpr TColor kSea = RGB(200, 230, 255);

constexpr TDlgItem kPanelItems[] = {
    {.Kind = TDlgItemKind::Static, .Id = 3, .Text = u8"Kurs 123° / 4,5 kt"},
    {.Kind = TDlgItemKind::Button, .Id = IDOK, .Text = u8"OK", .Row = 1},
};
constexpr TDlgTemplate kPanel{30, u8"Demo panel", WS_POPUP | WS_CAPTION | 0x800, kPanelItems};
static_assert(ValidDialogTemplate(kPanel));
constexpr TDlgTemplate kTemplates[] = {kPanel};

TModule& DemoModule() {
    static TModule module("uidemo");
    static bool ready = false;
    if (!ready) {
        module.AddDialogs(kTemplates);
        module.AddBitmap(120, ":/uitest/glyph.png");
        ready = true;
    }
    return module;
}

class TChart : public TMDIChild {
  public:
    explicit TChart(TMDIClient& client) : TMDIChild(client) { Attr.Style |= WS_MAXIMIZE; }
    void GetWindowClass(WNDCLASS& wc) override {
        TMDIChild::GetWindowClass(wc);
        wc.style |= CS_OWNDC;
        wc.hbrBackground.reset();
    }
    void SetupWindow() override {
        TMDIChild::SetupWindow();
        SetTimer(1, 100);
    }
    void Paint(TDC& dc, bool erase, TRect& rect) override {
        if (erase)
            dc.fillRect(rect.left, rect.top, rect.right, rect.bottom, gdi::Brush::solid(kSea));
        ++Paints;
    }
    void EvTimer(UINT) {
        // The band moves along without any WM_PAINT.
        const TRect r = GetClientRect();
        TDC& dc = GetDC();
        dc.fillRect(0, 0, r.right, r.bottom, gdi::Brush::solid(kSea));
        const int x = (Ticks * 8) % std::max(r.Width() - 40, 1);
        dc.fillRect(x, 40, x + 40, 120, gdi::Brush::solid(kBand));
        ++Ticks;
    }
    int Ticks = 0, Paints = 0;
    DECLARE_RESPONSE_TABLE(TChart);
};
DEFINE_RESPONSE_TABLE1(TChart, TMDIChild)
EV_WM_TIMER, END_RESPONSE_TABLE;

class TDemoFrame : public TDecoratedMDIFrame {
  public:
    explicit TDemoFrame(TMDIClient& client)
        : TDecoratedMDIFrame("UI demo frame", 0, client, false, &DemoModule()) {}
    bool CanClose() override {
        std::printf("closed\n");
        std::fflush(stdout);
        return TDecoratedMDIFrame::CanClose();
    }
    void CmButton() { Status->SetText("Knapp"); }
    TStatusBar* Status = nullptr;
    DECLARE_RESPONSE_TABLE(TDemoFrame);
};
DEFINE_RESPONSE_TABLE1(TDemoFrame, TDecoratedMDIFrame)
EV_COMMAND(111, CmButton), END_RESPONSE_TABLE;

class TDemoApp : public TApplication {
  public:
    explicit TDemoApp(std::string pictures)
        : TApplication("UI demo"), pictures_(std::move(pictures)) {}

    void InitMainWindow() override {
        client_ = new TMDIClient(&DemoModule());
        auto* frame = new TDemoFrame(*client_);
        const gdi::LogFont font = TGadgetWindowFont(10);
        auto* bar = new TControlBar(frame, TGadgetWindow::Horizontal, &font);
        bar->Insert(*new TButtonGadget(120, 111, TButtonGadget::Command));
        bar->Insert(*new TSeparatorGadget(6));
        bar->Insert(*new TButtonGadget(120, 112, TButtonGadget::NonExclusive));
        frame->Status = new TStatusBar(frame);
        frame->Status->Insert(
            *new TTextGadget(1001, TGadget::Recessed, TTextGadget::Left, 14, "1: 25 000"));
        frame->Insert(*bar, TDecoratedFrame::Top);
        frame->Insert(*frame->Status, TDecoratedFrame::Bottom);
        frame->Status->SetText("Klar");
        SetMainWindow(frame_ = frame);
        nCmdShow = SW_SHOWMAXIMIZED;
        QTimer::singleShot(0, [this] { MakeChildren(); });
    }

    void MakeChildren() {
        chart_ = new TChart(*client_);
        chart_->Create();
        panel_ = new TDialog(chart_, 30, &DemoModule());
        panel_->Create();
        panel_->SetWindowPos(nullptr, 900, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        panel_->ShowWindow(SW_SHOWNA);
        QTimer::singleShot(1500, [this] { Check(); });
    }

    // What the X server shows: the band in the child, the panel's own pixels.
    void Check() {
        QScreen* screen = QGuiApplication::primaryScreen();
        const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        QDir().mkpath(QString::fromStdString(pictures_));
        shot.save(QString::fromStdString(pictures_ + "/display-demo.png"), "PNG");
        const QRect child(chart_->GetHandle()->mapToGlobal(QPoint(0, 0)),
                          chart_->GetHandle()->size());
        int band = 0, sea = 0;
        for (int y = child.top(); y <= child.bottom(); y += 2)
            for (int x = child.left(); x <= child.right(); x += 2) {
                const QRgb p = shot.pixel(x, y) & 0xFFFFFFu;
                band += p == 0xFF00FFu;
                sea += p == 0xC8E6FFu;
            }
        const QRect panel = panel_->GetHandle()->frameGeometry();
        bool panelShown = false;
        for (int x = panel.left() + 4; x < panel.right() - 4 && !panelShown; ++x) {
            const QRgb p = shot.pixel(x, panel.center().y()) & 0xFFFFFFu;
            panelShown = p != 0xC8E6FFu && p != 0xFF00FFu;
        }
        std::printf("ticks %d, paints %d, band pixels %d, sea pixels %d, panel %s, frame %dx%d\n",
                    chart_->Ticks, chart_->Paints, band, sea, panelShown ? "shown" : "missing",
                    frame_->GetHandle()->width(), frame_->GetHandle()->height());
        const bool ok = chart_->Ticks >= 5 && band > 100 && sea > 1000 && panelShown &&
                        chart_->IsZoomed() && frame_->GetHandle()->width() >= 1000;
        std::printf(ok ? "ready\n" : "failed\n");
        std::fflush(stdout);
        if (!ok) PostQuitMessage(1);
    }

  private:
    std::string pictures_;
    TMDIClient* client_ = nullptr;
    TWindow* frame_ = nullptr;
    TChart* chart_ = nullptr;
    TDialog* panel_ = nullptr;
};

} // namespace

int OwlMain(int argc, char* argv[]) {
    TDemoApp app(argc > 1 ? argv[1] : ".");
    return app.Run();
}
