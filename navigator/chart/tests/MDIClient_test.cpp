// The MDI client: the chart window made at its set-up, chart levels on
// commands 111 to 118, the requests carried out at idle, the illumination
// schemes with their system colours, palette, pens and 3D view field, and
// the chart window going.
#include "ChartTestSupport.h"
#include "ExchangeFake.h"

#include "ViewerExchange.h"
#include "app/ViewerPalette.h"
#include "graphics/GraphicsLayer.h"
#include "ui/Gadgets.h"
#include "ui/Screen.h"

#include <QPalette>
#include <QWidget>

#include <string>
#include <vector>

namespace {

using charttest::settle;
using ClientHost = charttest::Host<KVViewerMDIClient>;

constexpr ui::TColor kDay[] = {0x00FFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000,
                               0x808080, 0xC0C0C0, 0xFFFFFF, 0x808080, 0xC0C0C0};
// The elements in the order of the scheme tables.
constexpr int kElements[] = {ui::COLOR_INFOBK,      ui::COLOR_WINDOW,       ui::COLOR_WINDOWTEXT,
                             ui::COLOR_CAPTIONTEXT, ui::COLOR_BTNTEXT,      ui::COLOR_BTNSHADOW,
                             ui::COLOR_3DLIGHT,     ui::COLOR_BTNHIGHLIGHT, ui::COLOR_BTNSHADOW,
                             ui::COLOR_BTNFACE};

// The system colours as the window layer reads them back, in table order.
std::vector<ui::TColor> sysColours() {
    std::vector<ui::TColor> c;
    for (int e : kElements)
        c.push_back(ui::GetSysColor(e));
    return c;
}

// The table's values as the layer keeps them: the second COLOR_BTNSHADOW wins.
std::vector<ui::TColor> expected(const ui::TColor (&values)[10]) {
    std::vector<ui::TColor> c(values, values + 10);
    c[5] = c[8];
    return c;
}

// ---------------------------------------------------------------------------
// Chart levels

TEST(MDIClient, SetUpMakesTheChartWindowAtTheOverviewAround10E59N) {
    ClientHost host;
    TMapWindow* w = host.client->GetChartWindow();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->IsWindow());
    EXPECT_TRUE(w->IsWindowVisible());
    EXPECT_EQ(w->GetParentO(), host.client);
    EXPECT_EQ(w->GetCaption(), "");
    EXPECT_EQ(w->levelIndex, 7);
    EXPECT_EQ(w->displayScale, 20000000);
    EXPECT_EQ(w->centre.lon, deg2nrm(10));
    EXPECT_EQ(w->centre.lat, deg2nrm(59));
    EXPECT_EQ(w->GetClientRect(), host.client->GetClientRect());
    EXPECT_EQ(ChartWindowState().detailWord, 0);
    // Following is on, and the first automatic choice may go up from here:
    // the set-up's own level choice does not use up the start's request.
    EXPECT_EQ(ChartWindowState().followFlag, 1);
    EXPECT_EQ(ChartWindowState().autoChartRequest, 1);
}

TEST(MDIClient, SelectLevelSetsTheLevelScalesDetailWordAndZoom) {
    ClientHost host;
    TMapWindow& w = *host.client->GetChartWindow();
    const struct {
        ui::UINT command;
        int index;
        double levelScale, displayScale;
        int detailWord;
    } cases[] = {
        {110, -1, 0, 0, 0},          {111, 0, 3000000, 3000000, 1}, {112, 1, 1000000, 1000000, 2},
        {113, 2, 200000, 300000, 3}, {114, 3, 100000, 100000, 4},   {115, 4, 50000, 30000, 5},
        {116, 5, 20000, 15000, 6},   {117, 6, 7500, 7500, 7},       {118, 7, 20000000, 20000000, 0},
        {119, -1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("command " + std::to_string(c.command));
        // Something else before, to see what changes.
        w.levelIndex = 9;
        w.levelScale = w.displayScale = 1234;
        w.zoomFactor = 4;
        ChartWindowState().detailWord = 99;
        host.client->SelectLevel(c.command);
        const bool ignored = c.index < 0;
        EXPECT_EQ(w.levelIndex, ignored ? 9 : c.index);
        EXPECT_EQ(w.levelScale, ignored ? 1234 : c.levelScale);
        EXPECT_EQ(w.displayScale, ignored ? 1234 : c.displayScale);
        // The re-scale made the view's Map at the level's display scale.
        if (!ignored) {
            ASSERT_TRUE(w.map);
            EXPECT_EQ(w.map->scale, std::uint32_t(c.displayScale));
        }
        EXPECT_EQ(w.zoomFactor, ignored ? 4 : 1);
        EXPECT_EQ(ChartWindowState().detailWord, ignored ? 99 : c.detailWord);
        EXPECT_EQ(host.client->GetChartWindow(), &w); // no second window
    }
}

TEST(MDIClient, ALevelChosenUsesUpOneAutomaticChangeUpwards) {
    ClientHost host;
    const struct { int before, after; } cases[] = {{2, 1}, {1, 0}, {0, 0}, {-1250, -1250}};
    for (const auto& c : cases) {
        ChartWindowState().autoChartRequest = c.before;
        host.client->SelectLevel(115);
        EXPECT_EQ(ChartWindowState().autoChartRequest, c.after) << c.before;
    }
    // An ignored command leaves it.
    ChartWindowState().autoChartRequest = 2;
    host.client->SelectLevel(119);
    EXPECT_EQ(ChartWindowState().autoChartRequest, 2);
}

TEST(MDIClient, TheControlBarsCommandsReachTheClient) {
    ClientHost host;
    for (int command = 111; command <= 118; ++command) {
        host.frame->SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(command, 0));
        EXPECT_EQ(host.client->GetChartWindow()->levelIndex, command - 111);
    }
}

// ---------------------------------------------------------------------------
// Idle

TEST(MDIClient, IdleCarriesOutTheLevelRequestAndClearsIt) {
    ClientHost host;
    TMapWindow& w = *host.client->GetChartWindow();
    const struct {
        int request, index;
    } cases[] = {{-2, 5}, {-1, 7}, {3, 3}, {0, 0}, {8, 0}, {-7, 0}};
    w.levelIndex = 5;
    for (const auto& c : cases) {
        ChartWindowState().levelRequest = c.request;
        host.app.RunIdle();
        EXPECT_EQ(w.levelIndex, c.index) << c.request;
        EXPECT_EQ(ChartWindowState().levelRequest, -2) << c.request;
    }
}

// A gadget window in the chart window whose enabler asks for a level, as the
// tool box's enablers run before the client's idle work.
class TRequestingChart : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;
    void CeRequest(ui::TCommandEnabler& ce) {
        ChartWindowState().levelRequest = 3;
        ce.Enable(true);
    }
    DECLARE_RESPONSE_TABLE(TRequestingChart);
};
DEFINE_RESPONSE_TABLE1(TRequestingChart, TMapWindow)
EV_COMMAND_ENABLE(500, CeRequest), END_RESPONSE_TABLE;

TEST(MDIClient, ALevelAskedForByAnEnablerIsSelectedInTheSamePass) {
    SetChartWindowFactory([](ui::TMDIClient& c, const char* t, int i, double lon, double lat) {
        return new TRequestingChart(c, t, i, lon, lat);
    });
    ClientHost host;
    TMapWindow& w = *host.client->GetChartWindow();
    ASSERT_TRUE(dynamic_cast<TRequestingChart*>(&w));
    auto* bar = new ui::TControlBar(&w, ui::TGadgetWindow::Horizontal, nullptr, w.GetModule());
    bar->Insert(*new ui::TButtonGadget(118, 500));
    ASSERT_TRUE(bar->Create());
    ASSERT_EQ(w.levelIndex, 7);
    host.app.RunIdle();
    EXPECT_EQ(w.levelIndex, 3);
    EXPECT_EQ(ChartWindowState().levelRequest, -2);
}

TEST(MDIClient, IdleAppliesAnIlluminationRequestOnce) {
    ClientHost host;
    TMapWindow& w = *host.client->GetChartWindow();
    TChartWindowState& s = ChartWindowState();
    s.requestedIllumination = 2;
    s.redrawRequest = 0;
    host.app.RunIdle();
    EXPECT_EQ(s.illuminationLevel, 2);
    EXPECT_EQ(s.requestedIllumination, 2);
    EXPECT_EQ(sysColours()[1], 0x404040u); // night's window colour
    EXPECT_EQ(s.redrawRequest, 1);
    // The same request again changes nothing.
    s.redrawRequest = 0;
    w.pens[std::size_t(TMapPen::Ring)] = gdi::Pen{};
    host.app.RunIdle();
    EXPECT_EQ(s.redrawRequest, 0);
    EXPECT_EQ(w.pens[std::size_t(TMapPen::Ring)], gdi::Pen{});
    // Back to day.
    s.requestedIllumination = 0;
    host.app.RunIdle();
    EXPECT_EQ(s.illuminationLevel, 0);
    EXPECT_EQ(sysColours(), expected(kDay));
    // A request no scheme answers is dropped.
    s.requestedIllumination = 7;
    s.redrawRequest = 0;
    host.app.RunIdle();
    EXPECT_EQ(s.requestedIllumination, 0);
    EXPECT_EQ(s.illuminationLevel, 0);
    EXPECT_EQ(s.redrawRequest, 0);
}

// ---------------------------------------------------------------------------
// Illumination schemes

TEST(MDIClient, TheConstructorAndDestructorSetTheirSystemColours) {
    const int infoBk = ui::COLOR_INFOBK, window = ui::COLOR_WINDOW;
    const ui::TColor grey = 0x123456;
    ui::SetSysColors(1, &infoBk, &grey);
    ui::SetSysColors(1, &window, &grey);
    // No store: this test has no folder of its own, and tests run side by side.
    ChartWindowCalls().makeStore = [](TMapWindow&) -> ui::TWindow* { return nullptr; };
    {
        ui::TApplication app;
        KVViewerMDIClient client(nullptr);
        EXPECT_EQ(ui::GetSysColor(ui::COLOR_INFOBK), 0x00FFFFu);
        EXPECT_EQ(ui::GetSysColor(ui::COLOR_WINDOW), grey); // only COLOR_INFOBK
        ASSERT_TRUE(client.Create());
        EXPECT_EQ(client.GetHandle()->palette().color(QPalette::Window), QColor(128, 128, 128));
        client.SelectScheme(CM_SCHEME_DARK_NIGHT);
    }
    std::vector<ui::TColor> day = expected(kDay);
    day[0] = 0xFFFFFF;
    EXPECT_EQ(sysColours(), day);
    ChartWindowCalls() = TChartWindowCalls{};
    ResetChartWindowState();
}

TEST(MDIClient, EachSchemeSetsItsTenSystemColours) {
    ClientHost host;
    const struct {
        ui::UINT command;
        ui::TColor values[10];
    } schemes[] = {
        {102,
         {0x00FFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x808080,
          0xC0C0C0}},
        {103,
         {0x00BFBF, 0x585858, 0xD0D0D0, 0xFFFFFF, 0xFFFFFF, 0x505050, 0x808080, 0xA0A0A0, 0x606060,
          0x707070}},
        {104,
         {0x007F7F, 0x404040, 0x909000, 0xD0D0D0, 0x909090, 0x202020, 0x585858, 0x787878, 0x404040,
          0x484848}},
        {105,
         {0x007F7F, 0x000000, 0x009000, 0x909090, 0x909090, 0x000000, 0x404040, 0x606060, 0x202020,
          0x303030}},
    };
    for (const auto& s : schemes) {
        host.client->SelectScheme(s.command);
        EXPECT_EQ(sysColours(), expected(s.values)) << s.command;
        EXPECT_EQ(ChartWindowState().illuminationLevel, int(s.command) - 102);
    }
    // Dusk and back to day: the day's colours, COLOR_INFOBK yellow.
    host.client->SelectScheme(103);
    host.client->SelectScheme(102);
    EXPECT_EQ(sysColours(), expected(kDay));
    EXPECT_EQ(ui::GetSysColor(ui::COLOR_INFOBK), ui::RGB(255, 255, 0));
    // Commands outside 102..105 change nothing.
    for (ui::UINT command : {101u, 106u, 0u}) {
        host.client->SelectScheme(command);
        EXPECT_EQ(sysColours(), expected(kDay)) << command;
    }
}

TEST(MDIClient, SchemesSwitchThePaletteAndTheDarkDisplay) {
    ClientHost host;
    LoadPalettes(DATA_DIR);
    ASSERT_TRUE(ProgramPalette());
    TChartWindowState& s = ChartWindowState();
    for (int scheme : {2, 1, 3, 0}) {
        s.pictureUpToDate = 1;
        s.redrawRequest = 0;
        host.client->SelectScheme(ui::UINT(102 + scheme));
        EXPECT_EQ(CurrentPaletteScheme(), scheme);
        EXPECT_EQ(s.darkDisplay, scheme > 0 ? 1 : 0) << scheme;
        EXPECT_EQ(s.pictureUpToDate, 0) << scheme;
        EXPECT_EQ(s.redrawRequest, 1) << scheme;
    }
    // The program's second dark switch keeps the display dark by day.
    s.darkSwitch = 1;
    host.client->SelectScheme(102);
    EXPECT_EQ(s.darkDisplay, 1);
}

TEST(MDIClient, DayGivesThePensBackTheirStartUpColours) {
    ClientHost host;
    TMapWindow& w = *host.client->GetChartWindow();
    const TMapPens startup = w.pens;
    const auto colourOf = [&](TMapPen role) { return w.pens[std::size_t(role)].colour; };
    const auto entry = [](int n) { return gdi::paletteIndex(std::uint16_t(_anSp57ColorsMap[n])); };

    host.client->SelectScheme(CM_SCHEME_NIGHT);
    const struct {
        TMapPen role;
        int entry, width;
    } night[] = {{TMapPen::Ring, 4, 4},
                 {TMapPen::Mark2, 4, 6},
                 {TMapPen::Vector, 8, 3},
                 {TMapPen::Mark4, 8, 6},
                 {TMapPen::Mark11, 22, 6}};
    for (const auto& p : night) {
        EXPECT_EQ(colourOf(p.role), entry(p.entry)) << int(p.role);
        EXPECT_EQ(w.pens[std::size_t(p.role)].width, p.width) << int(p.role);
    }
    // The five others keep theirs.
    for (TMapPen role : {TMapPen::Fine, TMapPen::Heading, TMapPen::Entry2Width0,
                         TMapPen::Entry0Width2, TMapPen::Entry0Width4})
        EXPECT_EQ(w.pens[std::size_t(role)], startup[std::size_t(role)]) << int(role);

    host.client->SelectScheme(CM_SCHEME_DAY);
    EXPECT_EQ(w.pens, startup);
    EXPECT_EQ(colourOf(TMapPen::Ring), entry(2));
    EXPECT_EQ(colourOf(TMapPen::Vector), entry(4));
    EXPECT_EQ(colourOf(TMapPen::Mark11), entry(11));
}

std::int32_t field(const std::uint8_t* record, int offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | record[offset + i];
    return std::int32_t(v);
}

TEST(MDIClient, SchemesTellThe3DViewItsIllumination) {
    ClientHost host;
    // Without the exchange nothing is called.
    host.client->SelectScheme(CM_SCHEME_DUSK);

    charttest::FakeExchange fake;
    ASSERT_NE(fake.operator->(), nullptr);
    ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
    const std::int32_t before = field(fake->record, 52);
    for (int scheme : {2, 3, 0, 1}) {
        SCOPED_TRACE("scheme " + std::to_string(scheme));
        fake->calls.clear();
        fake->words[1] = 0;
        host.client->SelectScheme(ui::UINT(102 + scheme));
        EXPECT_EQ(field(fake->record, 52), scheme * 4 + 1);
        const auto puts = fake->named("PutRec");
        ASSERT_EQ(puts.size(), 1u);
        EXPECT_EQ(puts[0].statC & 0x1, 0x1u); // held while the record is written
        EXPECT_EQ(fake->words[2] & 0x1, 0u);  // and let go after
        EXPECT_EQ(fake->words[1] & 0x8, 0x8u);
    }
    EXPECT_NE(before, field(fake->record, 52));

    // While the viewer reads, the record is left alone; B still says so.
    fake->words[2] = 0x2;
    fake->words[1] = 0;
    fake->calls.clear();
    host.client->SelectScheme(CM_SCHEME_NIGHT);
    EXPECT_EQ(field(fake->record, 52), 1 * 4 + 1);
    EXPECT_TRUE(fake->named("PutRec").empty());
    EXPECT_TRUE(fake->named("GetRec").empty());
    EXPECT_EQ(fake->words[1] & 0x8, 0x8u);
}

// ---------------------------------------------------------------------------
// The chart window going

TEST(MDIClient, AChartWindowThatWentIsForgottenAndMadeAgain) {
    int made = 0;
    SetChartWindowFactory([&made](ui::TMDIClient& c, const char* t, int i, double lon, double lat) {
        ++made;
        return new TMapWindow(c, t, i, lon, lat);
    });
    ClientHost host;
    ASSERT_EQ(made, 1);
    TMapWindow* first = host.client->GetChartWindow();
    ASSERT_TRUE(first);
    first->Destroy();
    EXPECT_EQ(host.client->GetChartWindow(), nullptr);
    // A scheme change without a chart window still asks for the redraw.
    host.client->SelectScheme(CM_SCHEME_NIGHT);
    EXPECT_EQ(ChartWindowState().redrawRequest, 1);

    host.client->SelectLevel(114);
    EXPECT_EQ(made, 2);
    TMapWindow* second = host.client->GetChartWindow();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->levelIndex, 3);
    EXPECT_TRUE(second->IsWindow());
    EXPECT_TRUE(second->IsWindowVisible());
    settle();
    EXPECT_EQ(second->GetClientRect(), host.client->GetClientRect());
    // Another child going is not the chart window.
    auto* other = new ui::TMDIChild(*host.client);
    ASSERT_TRUE(other->Create());
    delete other;
    EXPECT_EQ(host.client->GetChartWindow(), second);
}

} // namespace
