// The chart window object: what its constructor sets, what its destructor
// gives back and in which order, and its window class (no erase, one device
// context for its life).
#include "ChartTestSupport.h"

#include "chart/ChartLevels.h"
#include "gdi/Bitmap.h"
#include "graphics/GraphicsLayer.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using charttest::Host;
using charttest::settle;

using PlainHost = Host<ui::TMDIClient>;

TEST(MapWindow, ConstructionSetsTheLevelsScalesAndCentre) {
    PlainHost host;
    const struct {
        int index;
        double levelScale, displayScale;
        bool centred; // the centre is the given one, else 0
    } cases[] = {
        {-1, 0, 0, false},         {0, 3000000, 3000000, true}, {1, 1000000, 1000000, true},
        {2, 200000, 300000, true}, {3, 100000, 100000, true},   {4, 50000, 30000, true},
        {5, 20000, 15000, true},   {6, 7500, 7500, true},       {7, 20000000, 20000000, true},
        {8, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("level index " + std::to_string(c.index));
        auto* w = new TMapWindow(*host.client, "", c.index, 5.3205, 60.3975);
        EXPECT_EQ(w->levelIndex, c.index);
        EXPECT_EQ(w->levelScale, c.levelScale);
        EXPECT_EQ(w->displayScale, c.displayScale);
        const GeoPoint expected =
            c.centred ? GeoPoint{deg2nrm(5.3205), deg2nrm(60.3975)} : GeoPoint{0, 0};
        EXPECT_EQ(w->centre.lon, expected.lon);
        EXPECT_EQ(w->centre.lat, expected.lat);
        EXPECT_EQ(w->displayMaskA, 15);
        EXPECT_EQ(w->map, nullptr);
        EXPECT_EQ(w->zoomFactor, 1.0);
        EXPECT_EQ(w->flags, 0u);
        EXPECT_EQ(w->editCount, 0);
        EXPECT_EQ(w->cursorPoint.x, 0);
        EXPECT_EQ(w->cursorPoint.y, 0);
        EXPECT_EQ(w->vectorDx, 0.0);
        EXPECT_EQ(w->corridorDy, 0.0);
        EXPECT_EQ(w->toolBox, nullptr);
        EXPECT_EQ(w->listDlg, nullptr);
        ASSERT_TRUE(w->symbolStrip);
        EXPECT_EQ(w->symbolStrip->width(), kSymbolStripWidth);
        EXPECT_EQ(w->symbolStrip->height(), kSymbolStripHeight);

        // Maximised: it fills the client, and keeps filling it.
        ASSERT_TRUE(w->Create());
        w->ShowWindow(ui::SW_SHOW);
        settle();
        EXPECT_TRUE(w->IsZoomed());
        EXPECT_EQ(w->GetClientRect(), host.client->GetClientRect());
        delete w;
    }
}

TEST(MapWindow, TheSymbolStripIsKnownByNumberAndByName) {
    PlainHost host;
    TMapWindow w(*host.client, "", 7, 10, 59);
    auto byName = w.GetModule()->LoadBitmap("SYMBOLS_BG");
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->image(), w.symbolStrip->image());
    // Row 0 is the mask: white outside a symbol, black inside; the symbols
    // stand on black.
    const QImage& strip = w.symbolStrip->image();
    EXPECT_EQ(strip.pixel(0, 0) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(strip.pixel(8, 8) & 0xFFFFFFu, 0x000000u);
    EXPECT_EQ(strip.pixel(8, 17 + 8) & 0xFFFFFFu, 0xFF0000u); // symbol 0 in type 1, red
    EXPECT_EQ(strip.pixel(0, 17) & 0xFFFFFFu, 0x000000u);
}

TEST(MapWindow, PensStartInTheirColoursOfTheColourMap) {
    PlainHost host;
    TMapWindow w(*host.client, "", 7, 10, 59);
    const struct {
        TMapPen role;
        int entry, width;
    } pens[] = {
        {TMapPen::Ring, 2, 4},         {TMapPen::Fine, 0, 0},         {TMapPen::Vector, 4, 3},
        {TMapPen::Heading, 4, 0},      {TMapPen::Mark2, 2, 6},        {TMapPen::Mark4, 4, 6},
        {TMapPen::Mark11, 11, 6},      {TMapPen::Entry2Width0, 2, 0}, {TMapPen::Entry0Width2, 0, 2},
        {TMapPen::Entry0Width4, 0, 4},
    };
    for (const auto& p : pens) {
        const gdi::Pen& pen = w.pens[std::size_t(p.role)];
        EXPECT_EQ(pen.style, gdi::PenStyle::Solid) << int(p.role);
        EXPECT_EQ(pen.width, p.width) << int(p.role);
        EXPECT_EQ(pen.colour, gdi::paletteIndex(std::uint16_t(_anSp57ColorsMap[p.entry])))
            << int(p.role);
    }
}

// ---------------------------------------------------------------------------
// Destruction

std::vector<std::string> released;

// An owned window that notes when it goes, and whether the chart window's
// timer was still running then.
class TStandIn : public ui::TWindow {
  public:
    TStandIn(std::string name, TMapWindow& owner, ui::TWindow* parent = nullptr)
        : TWindow(parent), name_(std::move(name)), owner_(owner) {}
    ~TStandIn() override {
        // KillTimer answers whether the timer was still there.
        released.push_back(name_ + (owner_.KillTimer(kChartTimerId) ? " (timer running)" : ""));
    }

  private:
    std::string name_;
    TMapWindow& owner_;
};

class TStandInMap : public Map {
  public:
    TStandInMap() : Map(50000, GeoPoint{0, 0}, 100, 100, 1, 1, nullptr) {}
    ~TStandInMap() override { released.push_back("map"); }
};

// A bitmap that notes when it is given back.
std::shared_ptr<gdi::Bitmap> standInBitmap() {
    std::shared_ptr<gdi::Bitmap> real = gdi::Bitmap::colour(4, 4);
    return std::shared_ptr<gdi::Bitmap>(real.get(), [real](gdi::Bitmap*) mutable {
        released.push_back("bitmap");
        real.reset();
    });
}

TEST(MapWindow, TheDestructorGivesBackInItsOrder) {
    PlainHost host;
    released.clear();
    auto* w = new TMapWindow(*host.client, "", 7, 10, 59);
    ASSERT_TRUE(w->Create());
    ASSERT_EQ(w->SetTimer(kChartTimerId, 100), kChartTimerId);
    w->symbolStrip = standInBitmap();
    w->map.reset(new TStandInMap);
    const struct {
        ui::TWindow** field;
        const char* name;
    } owned[] = {
        {&w->listDlg, "list"},           {&w->dbaseWin, "store"},        {&w->toolBox, "tool box"},
        {&w->dateDlg, "date"},           {&w->depthDlg, "depth"},        {&w->windDlg, "wind"},
        {&w->bearingInfoDlg, "bearing"}, {&w->gpsPosDlg, "position"},    {&w->sogCogDlg, "speed"},
        {&w->routeInfoDlg1, "route 1"},  {&w->routeInfoDlg2, "route 2"},
    };
    for (const auto& o : owned)
        *o.field = new TStandIn(o.name, *w);
    delete w;
    EXPECT_EQ(released, (std::vector<std::string>{"bitmap", "wind", "depth", "date", "store",
                                                  "position", "speed", "bearing", "tool box",
                                                  "route 1", "route 2", "list", "map"}));
}

TEST(MapWindow, TheDestructorCopesWithSomeWindowsMadeAndChildWindows) {
    PlainHost host;
    released.clear();
    auto* w = new TMapWindow(*host.client, "", 3, 10, 59);
    ASSERT_TRUE(w->Create());
    // A read-out that is a child window of the chart window, one owned
    // window without a window of its own, and the rest never made.
    auto* depth = new TStandIn("depth", *w, w);
    ASSERT_TRUE(depth->Create());
    w->depthDlg = depth;
    w->routeInfoDlg2 = new TStandIn("route 2", *w);
    delete w; // the sanitizers see a double release or a leak
    EXPECT_EQ(released, (std::vector<std::string>{"depth", "route 2"}));
}

// ---------------------------------------------------------------------------
// Window class

TEST(MapWindow, ClassNameAndDescription) {
    PlainHost host;
    TMapWindow w(*host.client, "", 7, 10, 59);
    EXPECT_STREQ(w.GetClassName(), "TMapWindow");
    ui::WNDCLASS wc;
    w.GetWindowClass(wc);
    EXPECT_FALSE(wc.hbrBackground.has_value());
    EXPECT_TRUE(wc.style & ui::CS_OWNDC);
}

// The window's context keeps its state across paints and resizes, and a
// paint shows the chart picture whatever mapping the context holds: the layer
// erases nothing of its own.
TEST(MapWindow, OneContextForLifeAndAPaintShowsTheChartPicture) {
    PlainHost host;
    auto* w = new TMapWindow(*host.client, "", 7, 10, 59);
    ASSERT_TRUE(w->Create());
    w->ShowWindow(ui::SW_SHOW);
    settle();
    ui::TDC& dc = w->GetDC();
    // A picture of four colours, and context state of the kind the chart
    // pass leaves behind.
    const ui::TRect r = w->GetClientRect();
    const ui::TColor colours[] = {ui::RGB(200, 30, 30), ui::RGB(30, 200, 30), ui::RGB(30, 30, 200),
                                  ui::RGB(250, 250, 0)};
    dc.setPen(gdi::Pen::null());
    for (int i = 0; i < 4; ++i) {
        dc.setBrush(gdi::Brush::solid(colours[i]));
        dc.rectangle(i * r.Width() / 4, 0, (i + 1) * r.Width() / 4 + 1, r.Height() + 1);
    }
    dc.setTextColour(ui::RGB(9, 9, 9));
    dc.setMapping(gdi::Mapping::yUp(r.Width() / 2, r.Height() / 2));
    // Sampled, leaving out own ship's symbol, which the paint draws over the
    // picture on the window.
    const auto pixels = [&](const gdi::Dc& of) {
        const ClientPoint ship = ChartWindowState().ownShipClient;
        std::vector<ui::TColor> p;
        for (int y = 0; y < r.Height(); y += 7)
            for (int x = 0; x < r.Width(); x += 7)
                if (std::abs(x - ship.x) > 20 || std::abs(y - ship.y) > 20)
                    p.push_back(of.getPixel(x, y));
        return p;
    };
    dc.setMapping(gdi::Mapping{});
    const std::vector<ui::TColor> before = pixels(dc);
    dc.setMapping(gdi::Mapping::yUp(r.Width() / 2, r.Height() / 2));

    w->Invalidate(true);
    settle();
    EXPECT_EQ(&w->GetDC(), &dc);
    EXPECT_EQ(dc.textColour(), ui::RGB(9, 9, 9));
    EXPECT_EQ(dc.mapping(), gdi::Mapping::yUp(r.Width() / 2, r.Height() / 2));
    dc.setMapping(gdi::Mapping{});
    ASSERT_TRUE(w->memPicture1);
    EXPECT_EQ(pixels(dc), pixels(*w->memPicture1));
    EXPECT_NE(pixels(dc), before);

    // A resize of the client: the same context, its state kept.
    dc.setMapping(gdi::Mapping::yUp(1, 1));
    host.frame->MoveWindow(0, 0, 500, 400, true);
    settle();
    EXPECT_NE(w->GetClientRect(), r);
    EXPECT_EQ(w->GetClientRect(), host.client->GetClientRect());
    EXPECT_EQ(&w->GetDC(), &dc);
    EXPECT_EQ(dc.mapping(), gdi::Mapping::yUp(1, 1));
    EXPECT_EQ(dc.textColour(), ui::RGB(9, 9, 9));
    delete w;
}

} // namespace
