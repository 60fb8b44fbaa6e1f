// The chart window's floating tool box: its buttons for each set of outside
// services, its tool tips, its place at the chart window's right edge and its
// size, the cursor put near it, the editing state each call resets, the
// contact sheet of its glyphs and of the chart window's cursors, and the box
// in the running program.
#include "AppTestSupport.h"
#include "ChartTestSupport.h"
#include "ExchangeFake.h"

#include "chart/TFloatingToolBox.h"
#include "ModalScript.h"
#include "ui/Cursor.h"

#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QToolTip>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using charttest::Host;
using charttest::NotedFrame;
using charttest::settle;
using Type = ui::TButtonGadget::TType;

using PlainHost = Host<ui::TMDIClient>;

TFloatingToolBox* boxOf(const TMapWindow& w) {
    return dynamic_cast<TFloatingToolBox*>(w.toolBox);
}

ui::TButtonGadget* buttonOf(const TMapWindow& w, int command) {
    TFloatingToolBox* box = boxOf(w);
    return box ? dynamic_cast<ui::TButtonGadget*>(box->GadgetWithId(command)) : nullptr;
}

// A chart window made and shown, with one idle pass run: its tool box is
// placed and its buttons are enabled.
std::unique_ptr<TMapWindow> shownChartWindow(PlainHost& host) {
    auto w = std::make_unique<TMapWindow>(*host.client, "", 5, 5.32, 60.39);
    EXPECT_TRUE(w->Create());
    w->ShowWindow(ui::SW_SHOW);
    settle();
    host.app.RunIdle();
    settle();
    return w;
}

// A PATH of one folder of the test's own, with or without a program "Vistrel".
class TestPath {
  public:
    explicit TestPath(const apptest::TestFolder& folder, bool withViewer)
        : bin_(folder / "bin"), path_("PATH", bin_) {
        std::filesystem::create_directories(bin_);
        if (withViewer) apptest::writeScript(bin_ + "/Vistrel", "exec /bin/sleep 60\n");
    }

  private:
    std::string bin_;
    apptest::EnvSetting path_;
};

struct ExpectedButton {
    int glyph, command;
    Type type;
    const char* tip;
};
const ExpectedButton kAllButtons[] = {
    {120, 120, Type::NonExclusive, "Auto kartskifte"},
    {104, 108, Type::NonExclusive, "Belysning"},
    {134, 134, Type::NonExclusive, "Fjerne loddskudd > 5 m."},
    {119, 119, Type::NonExclusive, "Objekt info"},
    {131, 131, Type::NonExclusive, "2D relief kart bakgrunn"},
    {132, 132, Type::NonExclusive, "3D presentasjosvindu"},
    {51, 56, Type::Exclusive, "Slette"},
    {57, 57, Type::Exclusive, "Legge inn nye symboler"},
    {97, 97, Type::Command, "Velge rute"},
    {52, 52, Type::NonExclusive, "Endre rute"},
    {53, 53, Type::NonExclusive, "Lage ny rute"},
    {55, 55, Type::Command, "Avslutte"},
};

TEST(ToolBox, TheButtonsFollowTheOutsideServices) {
    const struct {
        const char* name;
        bool exchange, viewer;
        std::vector<int> commands;
    } cases[] = {
        {"no exchange", false, true, {120, 108, 134, 119, 56, 57, 97, 52, 53, 55}},
        {"exchange only", true, false, {120, 108, 134, 119, 131, 56, 57, 97, 52, 53, 55}},
        {"exchange and 3D view",
         true,
         true,
         {120, 108, 134, 119, 131, 132, 56, 57, 97, 52, 53, 55}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        apptest::TestFolder folder;
        TestPath path(folder, c.viewer);
        charttest::FakeExchange fake;
        if (c.exchange) {
            ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
        }
        PlainHost host;
        TMapWindow w(*host.client, "", 5, 5.32, 60.39);
        ASSERT_TRUE(w.Create());
        TFloatingToolBox* box = boxOf(w);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->GetCaption(), "Rt");
        EXPECT_EQ(box->Attr.Style, 0x50400000u);
        EXPECT_EQ(box->Attr.ExStyle, 0x188u);
        ASSERT_EQ(box->GetGadgets().size(), c.commands.size());
        ASSERT_EQ(box->Buttons().size(), c.commands.size());
        for (std::size_t i = 0; i < c.commands.size(); ++i) {
            const ExpectedButton* e = nullptr;
            for (const ExpectedButton& b : kAllButtons)
                if (b.command == c.commands[i]) e = &b;
            ASSERT_TRUE(e != nullptr);
            SCOPED_TRACE(e->tip);
            const auto* gadget = dynamic_cast<ui::TButtonGadget*>(box->GetGadgets()[i]);
            ASSERT_TRUE(gadget);
            EXPECT_EQ(gadget->GetId(), e->command);
            EXPECT_EQ(gadget->GetButtonType(), e->type);
            EXPECT_EQ(box->Buttons()[i].glyph, e->glyph);
            EXPECT_STREQ(box->Buttons()[i].tip, e->tip);
            // The glyph is there: 18 x 18 with the button's edges.
            ui::TSize size;
            box->GetGadgets()[i]->GetDesiredSize(size);
            EXPECT_EQ(size, ui::TSize(25, 25));
        }
    }
}

TEST(ToolBox, EachButtonHasItsTipOnItsCell) {
    PlainHost host;
    TMapWindow w(*host.client, "", 5, 5.32, 60.39);
    ASSERT_TRUE(w.Create());
    auto* tips = new ui::TTooltip(host.frame);
    auto* box = new TFloatingToolBox(&w, true, true, tips, &ViewerModule());
    ASSERT_TRUE(box->Create());
    ASSERT_EQ(box->GetGadgets().size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(kAllButtons[i].tip);
        const ui::TRect cell = box->GetGadgets()[i]->GetBounds();
        // Cells of 25 x 25 inside the box's frame of 3 pixels.
        const int top = 3 + 25 * int(i);
        EXPECT_EQ(cell, ui::TRect(3, top, 28, top + 25));
        EXPECT_EQ(tips->ToolTextAt(*box, ui::TPoint(4, top + 1)), kAllButtons[i].tip);
        EXPECT_EQ(tips->ToolTextAt(*box, ui::TPoint(27, top + 24)), kAllButtons[i].tip);
    }
    EXPECT_EQ(tips->ToolTextAt(*box, ui::TPoint(1, 1)), "");
    delete box;
}

TEST(ToolBox, SitsAtTheRightEdgeAndIsSixPixelsLargerThanItsButtons) {
    PlainHost host;
    const auto w = shownChartWindow(host);
    TFloatingToolBox* box = boxOf(*w);
    ASSERT_TRUE(box);
    ui::TSize desired;
    box->GetDesiredSize(desired);
    EXPECT_EQ(desired, ui::TSize(25 + 6, 10 * 25 + 6));
    const auto placed = [&] {
        return box->GetHandle()->geometry() ==
               QRect(w->GetClientRect().Width() - desired.cx, 0, desired.cx, desired.cy);
    };
    EXPECT_TRUE(placed());

    // A sibling made later stays below it.
    auto* other = new ui::TWindow(w.get());
    ASSERT_TRUE(other->Create());
    const auto kids = w->GetHandle()->children();
    EXPECT_GT(kids.indexOf(box->GetHandle()), kids.indexOf(other->GetHandle()));

    // The frame grows: the box follows the right edge at the next idle pass.
    const int before = w->GetClientRect().Width();
    host.frame->MoveWindow(0, 0, 900, 600, true);
    settle();
    ASSERT_NE(w->GetClientRect().Width(), before);
    host.app.RunIdle();
    EXPECT_TRUE(placed());
}

TEST(ToolBox, TheCursorGoesNearItWhenMadeMaximisedWithNoRoute) {
    const struct {
        bool maximised;
        std::int32_t activeRoute;
        bool moved;
    } cases[] = {{false, 0, false}, {true, 0, true}, {true, 12, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.maximised ? "maximised" : "normal") + ", route " +
                     std::to_string(c.activeRoute));
        PlainHost host;
        NotedFrame frame(c.maximised);
        ChartWindowState().activeRouteId = c.activeRoute;
        uitest::TCursorRecorder cursor;
        TMapWindow w(*host.client, "", 5, 5.32, 60.39);
        ASSERT_TRUE(w.Create());
        using Moves = std::vector<std::pair<int, int>>;
        Moves moves;
        for (const auto& r : cursor.Requests)
            if (r.kind == ui::TCursorRequest::SetPos) moves.emplace_back(r.x, r.y);
        const Moves expected = c.moved ? Moves{{50, 125}} : Moves{};
        EXPECT_EQ(moves, expected);
        // Only when the box is made.
        cursor.Requests.clear();
        ChartWindowState().activeRouteId = 0;
        w.ShowToolBox();
        EXPECT_TRUE(cursor.Requests.empty());
    }
}

TEST(ToolBox, EachCallResetsTheEditingStateWithoutASecondBox) {
    PlainHost host;
    TMapWindow w(*host.client, "", 5, 5.32, 60.39);
    ASSERT_TRUE(w.Create());
    TFloatingToolBox* box = boxOf(w);
    ASSERT_TRUE(box);
    TChartWindowState& s = ChartWindowState();
    for (int mode : {56, 57}) {
        SCOPED_TRACE(mode);
        s.placeSymbolMode = mode == 57;
        s.deleteSymbolMode = mode == 56;
        s.routeState = 3;
        s.activeRouteId = 12;
        s.informationMode = true;
        buttonOf(w, mode)->SetButtonState(ui::TButtonGadget::Down);
        buttonOf(w, 53)->SetButtonState(ui::TButtonGadget::Down);
        w.ShowToolBox();
        EXPECT_EQ(w.toolBox, box);
        EXPECT_EQ(w.GetChildren().size(), 1u);
        EXPECT_FALSE(s.placeSymbolMode);
        EXPECT_FALSE(s.deleteSymbolMode);
        EXPECT_EQ(buttonOf(w, 56)->GetButtonState(), ui::TButtonGadget::Up);
        EXPECT_EQ(buttonOf(w, 57)->GetButtonState(), ui::TButtonGadget::Up);
        // The route and the information mode are left alone.
        EXPECT_EQ(s.routeState, 3);
        EXPECT_EQ(s.activeRouteId, 12);
        EXPECT_TRUE(s.informationMode);
        EXPECT_EQ(buttonOf(w, 53)->GetButtonState(), ui::TButtonGadget::Down);
    }
}

// Every glyph at four times its size with its number and tip, the box as it
// shows, and every cursor at three times its size with its hot spot marked:
// a picture for a person to look at.
TEST(ToolBox, ContactSheetOfTheGlyphsAndCursors) {
    PlainHost host;
    const auto w = shownChartWindow(host);
    const QImage boxPicture = boxOf(*w)->GetHandle()->grab().toImage();

    constexpr int kGlyphScale = 4, kCursorScale = 3, kRow = 84, kWidth = 760;
    QImage sheet(kWidth, 14 + 12 * kRow + 8, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setFont(QFont("DejaVu Sans", 9));
    int y = 8;
    for (const TToolBoxButton& b : ToolBoxButtons()) {
        const auto bitmap = ViewerModule().LoadBitmap(b.glyph);
        ASSERT_TRUE(bitmap) << b.glyph;
        const QImage& glyph = bitmap->image();
        EXPECT_EQ(glyph.size(), QSize(18, 18)) << b.glyph;
        // The corners show the button's face.
        EXPECT_EQ(glyph.pixel(0, 17) & 0xFFFFFFu, 0xC0C0C0u) << b.glyph;
        p.drawImage(QRect(8, y, 18 * kGlyphScale, 18 * kGlyphScale), glyph);
        p.drawText(96, y + 22, QString("glyph %1, command %2").arg(b.glyph).arg(b.command));
        p.drawText(96, y + 44, QString::fromLatin1(b.tip));
        y += kRow;
    }
    p.drawText(330, 20, "the box as it shows");
    p.drawImage(QRect(330, 30, boxPicture.width() * 2, boxPicture.height() * 2), boxPicture);

    int cy = 30;
    const int cx = 330 + boxPicture.width() * 2 + 30;
    for (int id = 19994; id <= 19999; ++id) {
        const ui::HCURSOR c = ViewerModule().LoadCursor(id);
        ASSERT_TRUE(c) << id;
        const QImage image = c->Cursor.pixmap().toImage();
        EXPECT_EQ(image.size(), QSize(32, 32)) << id;
        const QPoint hot = c->Cursor.hotSpot();
        EXPECT_TRUE(QRect(0, 0, 32, 32).contains(hot)) << id;
        p.fillRect(cx, cy, 32 * kCursorScale, 32 * kCursorScale, QColor(96, 144, 96));
        p.drawImage(QRect(cx, cy, 32 * kCursorScale, 32 * kCursorScale), image);
        p.setPen(Qt::magenta);
        p.drawRect(cx + hot.x() * kCursorScale, cy + hot.y() * kCursorScale, kCursorScale - 1,
                   kCursorScale - 1);
        p.setPen(Qt::black);
        p.drawText(cx + 32 * kCursorScale + 10, cy + 20, QString("cursor %1").arg(id));
        p.drawText(cx + 32 * kCursorScale + 10, cy + 40,
                   QString("hot spot %1, %2").arg(hot.x()).arg(hot.y()));
        cy += 32 * kCursorScale + 16;
    }
    p.end();
    std::filesystem::create_directories(CHART_TEST_PICTURES);
    EXPECT_TRUE(sheet.save(CHART_TEST_PICTURES "/toolbox-contact-sheet.png"));
}

} // namespace
