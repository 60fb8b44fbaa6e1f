// The status bar's gadgets in a real status bar: repainting only on a change,
// the size they ask for, and their text centred in the button face.
#include "dialogs/ReadoutText.h"
#include "gadgets/TCoordGadget.h"
#include "gadgets/TInfoGadget.h"
#include "gadgets/TScaleGadget.h"

#include "gdi/RecordingDc.h"
#include "ui/Application.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <string>

namespace {

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
}

template <class Gadget> class Counting : public Gadget {
  public:
    using Gadget::Gadget;
    void Paint(ui::TDC& dc) override {
        ++Paints;
        Gadget::Paint(dc);
    }
    int Paints = 0;
};

// A status bar shown on its own, holding the gadgets.
struct Bar {
    ui::TStatusBar* bar;
    explicit Bar(std::initializer_list<ui::TGadget*> gadgets) {
        ui::EnsureQtApplication();
        bar = new ui::TStatusBar(nullptr);
        for (ui::TGadget* g : gadgets)
            bar->Insert(*g);
        bar->Create();
        bar->MoveWindow(0, 0, 900, 30);
        bar->ShowWindow(ui::SW_SHOWNORMAL);
        settle();
    }
    ~Bar() { delete bar; }
};

TEST(Gadgets, AValueSetTwiceRepaintsOnce) {
    auto* scale = new Counting<TScaleGadget>(1001);
    auto* coord = new Counting<TCoordGadget>(1002, 0, 0);
    auto* info = new Counting<TInfoGadget>(1006, kInfoGps);
    Bar b{scale, coord, info};
    const int scalePaints = scale->Paints, coordPaints = coord->Paints;
    ASSERT_GE(scalePaints, 1);
    scale->SetValue(25000);
    scale->SetValue(25000);
    coord->SetValue(60.5);
    coord->SetValue(60.5);
    settle();
    EXPECT_EQ(scale->Paints, scalePaints + 1);
    EXPECT_EQ(coord->Paints, coordPaints + 1);
    settle();
    EXPECT_EQ(scale->Paints, scalePaints + 1);
    // The information fields paint on every round, changed or not.
    const int infoPaints = info->Paints;
    TInfoGadgetValues v;
    info->SetValues(v);
    settle();
    info->SetValues(v);
    settle();
    EXPECT_EQ(info->Paints, infoPaints + 2);
}

TEST(Gadgets, TheDesiredWidthHoldsTheSampleWhateverTheValue) {
    auto* scale = new TScaleGadget(1001);
    auto* coord = new TCoordGadget(1003, 1, 0);
    auto* info = new TInfoGadget(1009, kInfoTrack);
    Bar b{scale, coord, info};
    const auto font = b.bar->GetGdiFont();
    const struct {
        ui::TGadget* gadget;
        const char* sample;
    } cases[] = {{scale, "1: 000 000 000"},
                 {coord, "000\xB0"
                         "00.000 W"},
                 {info, "SOG: 23.4 kt \xB0"}};
    for (const auto& c : cases) {
        ui::TSize base, size;
        c.gadget->TGadget::GetDesiredSize(base);
        c.gadget->GetDesiredSize(size);
        const gdi::XY sample = font->extent(c.sample);
        EXPECT_GT(sample.x, 20) << c.sample;
        EXPECT_EQ(size, ui::TSize(base.cx + sample.x + 2, base.cy + sample.y + 2)) << c.sample;
    }
    ui::TSize before, after;
    scale->GetDesiredSize(before);
    scale->SetValue(123456789);
    scale->GetDesiredSize(after);
    EXPECT_EQ(before, after);
    // The widest value still fits its gadget.
    EXPECT_LE(font->extent("1: 123 456 789").x + 2, after.cx);
}

TEST(Gadgets, TheTextIsCentredOpaqueInTheButtonFace) {
    auto* scale = new TScaleGadget(1001);
    auto* info = new TInfoGadget(1006, kInfoGps);
    Bar b{scale, info};
    scale->SetValue(25000);
    const auto font = b.bar->GetGdiFont();
    ui::TRect inner;
    scale->GetInnerRect(inner);

    gdi::RecordingDc dc(200, 40);
    dc.selectFont(font);
    scale->Paint(dc);
    const std::string log = dc.log();
    const int width = font->extent("1: 25 000").x;
    const int x = inner.left + (inner.Width() - width) / 2;
    const std::string face = gdi::RecordingDc::colourText(ui::GetSysColor(ui::COLOR_BTNFACE));
    const std::string ink = gdi::RecordingDc::colourText(ui::GetSysColor(ui::COLOR_BTNTEXT));
    EXPECT_NE(log.find(" " + ink + " (" + std::to_string(x) + ","), std::string::npos) << log;
    EXPECT_NE(log.find("bk=" + face), std::string::npos) << log;
    EXPECT_NE(log.find("text=\"1: 25 000\""), std::string::npos) << log;
    const std::string box = "[" + std::to_string(inner.left) + "," + std::to_string(inner.top) +
                            "," + std::to_string(inner.right) + "," + std::to_string(inner.bottom) +
                            "]";
    EXPECT_NE(log.find("opaque=" + box + " clip=" + box), std::string::npos) << log;

    // Without a fix the GPS field draws "GPS ERROR!" in red, type 1.
    gdi::RecordingDc gps(200, 40);
    gps.selectFont(font);
    info->SetValues(TInfoGadgetValues{});
    info->Paint(gps);
    EXPECT_NE(gps.log().find(" #ff0000 "), std::string::npos) << gps.log();
    EXPECT_NE(gps.log().find("text=\"GPS ERROR!\""), std::string::npos) << gps.log();
}

// Every colour type paints in the read-out helpers' text colour, dimmed with
// the illumination: the track in its colour on every second paint, the GPS
// field red without a fix and yellow with a plain one.
TEST(Gadgets, EachColourTypePaintsInTheHelpersColour) {
    auto* track = new TInfoGadget(1009, kInfoTrack);
    auto* gps = new TInfoGadget(1006, kInfoGps);
    Bar b{track, gps};
    const auto ink = [&](TInfoGadget* g) {
        gdi::RecordingDc dc(200, 40);
        dc.selectFont(b.bar->GetGdiFont());
        g->Paint(dc);
        const std::string log = dc.log();
        const std::size_t at = log.find(" #");
        return at == std::string::npos ? std::string() : log.substr(at + 1, 7);
    };
    for (int level = 0; level <= 2; ++level) {
        for (int type = 1; type <= 6; ++type) {
            TInfoGadgetValues v;
            v.recording = true;
            v.trackColour = type;
            v.illuminationLevel = level;
            track->SetValues(v);
            const std::string first = ink(track), second = ink(track);
            const std::string colour = gdi::RecordingDc::colourText(TextColourByType(type, level));
            EXPECT_TRUE(first == colour || second == colour)
                << "type " << type << " level " << level << ": " << first << " " << second;
            // The other paint has the button text (black, like type 6).
            if (type != 6) {
                EXPECT_NE(first, second) << "type " << type << " level " << level;
            }
        }
        TInfoGadgetValues v;
        v.illuminationLevel = level;
        gps->SetValues(v);
        EXPECT_EQ(ink(gps), gdi::RecordingDc::colourText(TextColourByType(1, level)));
        v.fixQuality = 1;
        v.ggaSeen = true;
        gps->SetValues(v);
        EXPECT_EQ(ink(gps), gdi::RecordingDc::colourText(TextColourByType(4, level)));
    }
}

} // namespace
