// The window layer: a message through a three-level response table (time per
// message), and a full-screen memory picture copied to a window's context and
// shown (time per frame).
#include "gdi/RasterDc.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace ui;

namespace {

struct Qt {
    Qt() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        EnsureQtApplication();
    }
};

class TLevel1 : public TWindow {
  public:
    TLevel1() : TWindow(nullptr) {}
    void EvTimer(UINT id) { Sum += id; }
    void Cm1() {}
    void Cm2() {}
    long Sum = 0;
    DECLARE_RESPONSE_TABLE(TLevel1);
};
DEFINE_RESPONSE_TABLE1(TLevel1, TWindow)
EV_WM_TIMER, EV_COMMAND(1, Cm1), EV_COMMAND(2, Cm2), END_RESPONSE_TABLE;

class TLevel2 : public TLevel1 {
  public:
    void Cm3() {}
    void Cm4() {}
    void EvSize(UINT, const TSize&) {}
    DECLARE_RESPONSE_TABLE(TLevel2);
};
DEFINE_RESPONSE_TABLE1(TLevel2, TLevel1)
EV_COMMAND(3, Cm3), EV_COMMAND(4, Cm4), EV_WM_SIZE, END_RESPONSE_TABLE;

class TLevel3 : public TLevel2 {
  public:
    void Cm5() {}
    void Cm6() {}
    void EvMouseMove(UINT, const TPoint&) {}
    void EvLButtonDown(UINT, const TPoint&) {}
    DECLARE_RESPONSE_TABLE(TLevel3);
};
DEFINE_RESPONSE_TABLE1(TLevel3, TLevel2)
EV_COMMAND(5, Cm5), EV_COMMAND(6, Cm6), EV_WM_MOUSEMOVE, EV_WM_LBUTTONDOWN, END_RESPONSE_TABLE;

// WM_TIMER is handled by the base-most table: every table is searched.
void BM_DispatchThroughThreeLevels(benchmark::State& state) {
    static Qt qt;
    TLevel3 w;
    for (auto _ : state)
        benchmark::DoNotOptimize(w.SendMessage(WM_TIMER, 1));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchThroughThreeLevels);

class TCanvas : public TWindow {
  public:
    TCanvas() : TWindow(nullptr) {}
    void GetWindowClass(WNDCLASS& wc) override {
        TWindow::GetWindowClass(wc);
        wc.style |= CS_OWNDC;
        wc.hbrBackground.reset();
    }
};

// A 1920 x 1080 memory picture blitted to the window's context, then shown
// (the window's paint copies its surface to the screen).
void BM_BlitAndShowFullScreenPicture(benchmark::State& state) {
    static Qt qt;
    TCanvas w;
    w.Attr.Style = WS_OVERLAPPED;
    w.Attr.X = w.Attr.Y = 0;
    w.Attr.W = 1920;
    w.Attr.H = 1080;
    w.Create();
    w.ShowWindow(SW_SHOWNORMAL);
    QApplication::processEvents();
    TDC& dc = w.GetDC();
    auto memory = gdi::RasterDc::createCompatible(&dc);
    memory->selectBitmap(gdi::Bitmap::colour(1920, 1080));
    memory->fillRect(0, 0, 1920, 1080, gdi::Brush::solid(gdi::rgb(200, 230, 255)));
    memory->fillRect(100, 100, 800, 600, gdi::Brush::solid(gdi::rgb(255, 0, 255)));
    for (auto _ : state) {
        dc.blit(0, 0, 1920, 1080, *memory, 0, 0, gdi::BlitOp::Copy);
        w.GetHandle()->repaint();
    }
}
BENCHMARK(BM_BlitAndShowFullScreenPicture)->Unit(benchmark::kMillisecond);

} // namespace
