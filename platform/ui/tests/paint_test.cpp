// Painting: the window's surface and device context, what WM_PAINT comes for,
// the class's own context, a resize, text on the window, and a box asked for
// inside a paint.
#include "uiTest.h"
#include "ui/MessageBox.h"

#include <gtest/gtest.h>

#include <QScreen>

#include <vector>

using namespace ui;

namespace {

// What is on screen for a window (the offscreen platform's backing store).
QImage OnScreen(TWindow& w) {
    QWidget* h = w.GetHandle();
    return QGuiApplication::primaryScreen()
        ->grabWindow(h->window()->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(QRect(h->mapTo(h->window(), QPoint(0, 0)), h->size()));
}

class TPainted : public TWindow {
  public:
    TPainted(UINT classStyle, std::optional<TColor> background)
        : TWindow(nullptr), ClassStyle(classStyle), Background(background) {}
    void GetWindowClass(WNDCLASS& wc) override {
        TWindow::GetWindowClass(wc);
        wc.style |= ClassStyle;
        wc.hbrBackground = Background;
    }
    void Paint(TDC& dc, bool erase, TRect& rect) override {
        Paints.push_back({erase, rect});
        PaintDc = &dc;
        if (OnPaint) OnPaint(dc);
    }
    void EvTimer(UINT) {
        ++Ticks;
        // A band across the window, drawn exclusive-or outside any paint.
        TDC& dc = GetDC();
        dc.setRop2(gdi::Rop2::Xor);
        dc.setPen(gdi::Pen::null());
        dc.setBrush(gdi::Brush::solid(RGB(255, 0, 255)));
        dc.rectangle(10, 20, 90, 30);
    }
    struct Seen {
        bool erase;
        TRect rect;
    };
    UINT ClassStyle;
    std::optional<TColor> Background;
    std::vector<Seen> Paints;
    TDC* PaintDc = nullptr;
    std::function<void(TDC&)> OnPaint;
    int Ticks = 0;
    DECLARE_RESPONSE_TABLE(TPainted);
};
DEFINE_RESPONSE_TABLE1(TPainted, TWindow)
EV_WM_TIMER, END_RESPONSE_TABLE;

TEST(Paint, ABandDrawnFromATimerShowsWithoutAPaintAndASecondXorRestoresIt) {
    TPainted w(CS_OWNDC, RGB(255, 255, 255));
    w.OnPaint = [](TDC& dc) {
        dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 1, RGB(0, 0, 200)});
        dc.moveTo(0, 0);
        dc.lineTo(100, 60);
    };
    uitest::ShowAt(w, 100, 60);
    ASSERT_EQ(w.Paints.size(), 1u);
    const QImage before = OnScreen(w);
    ASSERT_EQ(before.pixel(50, 5) & 0xFFFFFFu, 0xFFFFFFu);

    w.SetTimer(1, 5);
    ASSERT_TRUE(uitest::WaitFor([&] { return w.Ticks >= 1; }));
    w.KillTimer(1);
    uitest::Settle();
    const QImage band = OnScreen(w);
    EXPECT_EQ(w.Paints.size(), 1u);                       // no WM_PAINT for it
    EXPECT_EQ(band.pixel(50, 25) & 0xFFFFFFu, 0x00FF00u); // white XOR magenta
    EXPECT_EQ(band.pixel(50, 35), before.pixel(50, 35));

    w.SendMessage(WM_TIMER, 1);
    uitest::Settle();
    EXPECT_EQ(OnScreen(w), before); // every bit back
    EXPECT_EQ(w.Paints.size(), 1u);
}

TEST(Paint, InvalidateGivesOneWmPaintWithItsEraseFlag) {
    struct Case {
        const char* name;
        std::optional<TColor> background;
        bool erase;
        bool flag; // what Paint is told
    };
    const Case cases[] = {
        {"background, erase", RGB(0, 128, 0), true, false},
        {"background, no erase", RGB(0, 128, 0), false, false},
        {"no background, erase", std::nullopt, true, true},
        {"no background, no erase", std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPainted w(0, c.background);
        uitest::ShowAt(w, 80, 50);
        ASSERT_EQ(w.Paints.size(), 1u); // the first show
        w.GetDC().fillRect(0, 0, 80, 50, gdi::Brush::solid(RGB(1, 2, 3)));
        w.Paints.clear();
        w.Invalidate(c.erase);
        w.Invalidate(c.erase);
        EXPECT_TRUE(w.Paints.empty()); // not before the loop runs
        uitest::Settle();
        ASSERT_EQ(w.Paints.size(), 1u);
        EXPECT_EQ(w.Paints[0].erase, c.flag);
        EXPECT_EQ(w.Paints[0].rect, TRect(0, 0, 80, 50));
        // The layer erased with the class background; otherwise the pixels stay.
        const QRgb expected = c.background && c.erase ? 0x008000u : 0x010203u;
        EXPECT_EQ(OnScreen(w).pixel(40, 25) & 0xFFFFFFu, expected);
    }
    // A part of the window: the paint names it.
    TPainted w(0, std::nullopt);
    uitest::ShowAt(w, 80, 50);
    w.Paints.clear();
    w.InvalidateRect(TRect(10, 5, 20, 15), false);
    uitest::Settle();
    ASSERT_EQ(w.Paints.size(), 1u);
    EXPECT_EQ(w.Paints[0].rect, TRect(10, 5, 20, 15));
}

TEST(Paint, AResizeKeepsThePixelsThatFit) {
    TPainted w(CS_OWNDC, RGB(255, 255, 255));
    uitest::ShowAt(w, 60, 40);
    TDC& dc = w.GetDC();
    dc.setPixel(5, 5, RGB(255, 0, 0));
    dc.setPixel(50, 30, RGB(0, 0, 255));
    w.MoveWindow(0, 0, 120, 90, true);
    uitest::Settle();
    EXPECT_EQ(w.GetClientRect(), TRect(0, 0, 120, 90));
    EXPECT_EQ(dc.getPixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(dc.getPixel(50, 30), RGB(0, 0, 255));
    EXPECT_EQ(dc.pictureSize(), (gdi::XY{120, 90}));
    // The uncovered area was erased with the class background.
    EXPECT_EQ(dc.getPixel(100, 80), RGB(255, 255, 255));
    // Smaller, then larger again: what was cut off is gone.
    w.MoveWindow(0, 0, 30, 20, true);
    w.MoveWindow(0, 0, 120, 90, true);
    uitest::Settle();
    EXPECT_EQ(dc.getPixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(dc.getPixel(50, 30), RGB(255, 255, 255));
    EXPECT_EQ(OnScreen(w).pixel(5, 5) & 0xFFFFFFu, 0xFF0000u);
}

TEST(Paint, TheOwnContextKeepsItsStateAndOthersStartAfresh) {
    TPainted own(CS_OWNDC, RGB(255, 255, 255));
    TPainted common(0, RGB(255, 255, 255));
    for (TPainted* w : {&own, &common}) {
        uitest::ShowAt(*w, 40, 40);
        TDC& dc = w->GetDC();
        dc.setMapping(gdi::Mapping::yUp(20, 20));
        dc.setTextColour(RGB(9, 9, 9));
        w->Invalidate(false);
        uitest::Settle();
    }
    EXPECT_EQ(&own.GetDC(), own.PaintDc);
    EXPECT_EQ(own.GetDC().mapping(), gdi::Mapping::yUp(20, 20));
    EXPECT_EQ(own.GetDC().textColour(), RGB(9, 9, 9));
    EXPECT_EQ(common.GetDC().mapping(), gdi::Mapping{});
    EXPECT_EQ(common.GetDC().textColour(), gdi::kBlack);
    // The paint itself starts from the defaults too.
    common.OnPaint = [](TDC& dc) {
        EXPECT_EQ(dc.mapping(), gdi::Mapping{});
        dc.setMapping(gdi::Mapping::yUp(1, 1));
    };
    common.Invalidate(false);
    uitest::Settle();
    common.Invalidate(false);
    uitest::Settle();
}

TEST(Paint, TextOnTheWindowStaysUprightUnderTheYUpMapping) {
    TPainted w(CS_OWNDC, RGB(255, 255, 255));
    uitest::ShowAt(w, 120, 60);
    TDC& dc = w.GetDC();
    dc.selectFont(gdi::Font::create(gdi::LogFont{"Arial", -14, 400}));
    dc.setBkMode(gdi::BkMode::Transparent);
    dc.setTextAlign(TA_LEFT | TA_BASELINE);
    dc.textOut(10, 40, "Lyg");
    uitest::Settle();
    const QImage down = OnScreen(w);
    dc.fillRect(0, 0, 120, 60, gdi::Brush::solid(RGB(255, 255, 255)));
    dc.setMapping(gdi::Mapping::yUp(60, 30)); // logical (-50, -10) is client (10, 40)
    dc.textOut(-50, -10, "Lyg");
    uitest::Settle();
    EXPECT_EQ(OnScreen(w), down);
    // The descender of "y" hangs below the baseline on screen.
    bool below = false;
    for (int x = 0; x < 120; ++x)
        below = below || (down.pixel(x, 41) & 0xFFFFFFu) != 0xFFFFFFu;
    EXPECT_TRUE(below);
}

TEST(Paint, ABoxAskedForInAPaintShowsAfterThePaint) {
    uitest::TModalScript script;
    script.Box(IDOK);
    TPainted w(0, std::nullopt);
    int answer = 0;
    std::size_t boxesDuringPaint = 99;
    w.OnPaint = [&](TDC&) {
        if (w.Paints.size() != 1) return;
        answer = ui::MessageBox(nullptr, "!!", "No seabed data", MB_OK | MB_ICONHAND);
        boxesDuringPaint = script.Modals().size();
    };
    uitest::ShowAt(w, 40, 40);
    uitest::Settle();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(boxesDuringPaint, 0u);
    ASSERT_EQ(script.Modals().size(), 1u);
    EXPECT_EQ(script.Modals()[0].caption, "No seabed data");
    EXPECT_EQ(w.Paints.size(), 1u); // the box did not paint the window again
}

} // namespace
