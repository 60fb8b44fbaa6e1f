// How the chart window paints: the view rectangle and the scale read-out, the
// pass's settings from the window and its state, the tide-station marks, the
// paint's order of work, its shortcut, the relief picture, its failures and
// its pictures after a resize; then the sample chart painted end to end.
#include "ChartTestSupport.h"
#include "SampleChart.h"
#include "TestPictures.h"

#include "ModalScript.h"

#include "app/ViewerPalette.h"
#include "chart/ChartLevels.h"
#include "chart/ChartPainting.h"
#include "chart/pass/SoundingProcedures.h"

#include "ChartLevels.h" // the chart view renderer's
#include "TideWave.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsLayer.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/Int1Procs.h"
#include "procedures/SoundValue.h"
#include "proj/newMap.h"
#include "ui/Cursor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using charttest::picturePath;
using charttest::SampleChart;
using charttest::settle;
using PlainHost = charttest::Host<ui::TMDIClient>;

#ifdef CHART_FULL_VIEWS
constexpr bool kFullViews = true;
#else
constexpr bool kFullViews = false;
#endif

constexpr int kPixelsPerMetre = 3780; // a pixel of 96 per inch

gdi::Colour chartColour(int number) {
    return gdi::paletteIndex(static_cast<std::uint16_t>(_anSp57ColorsMap[number]));
}

// A Map of the window's view as the window's set-up makes it, for a picture
// of width x height pixels.
Map* viewMap(const TMapWindow& w, int width, int height) {
    const int halfW = int(std::ceil(width / 2.0 * 1000 / kPixelsPerMetre));
    const int halfH = int(std::ceil(height / 2.0 * 1000 / kPixelsPerMetre));
    return newMap(PRJ_MERCATOR, std::uint32_t(std::lround(w.displayScale)), w.centre, halfW, halfH,
                  kPixelsPerMetre, kPixelsPerMetre, nullptr);
}

// The sample tide ports for a test's life.
struct SampleTides {
    SampleTides() {
        std::string dir = DATA_DIR "/sample/tides/";
        EXPECT_EQ(TD_LoadDataFiles(dir.data()), 0);
    }
    ~SampleTides() { TD_DoneTides(); }
};

// Bergen's tide station.
GeoPoint bergenStation() {
    for (int i = 0; i < TD_GetNumPorts(); ++i) {
        IndexFileStruct port{};
        if (TD_GetTidePoint(i, &port) == 0 && port.number == 1)
            return {deg2nrm(port.lon / 60.0), deg2nrm(port.lat / 60.0)};
    }
    ADD_FAILURE() << "no Bergen in the sample tides";
    return {};
}

// ---------------------------------------------------------------------------
// Frames and settings

TEST(ChartPainting, TheViewRectangleIsTheClientAboutItsCentreWithYUp) {
    EXPECT_EQ(ChartViewRect({0, 0, 640, 480}), ui::TRect(-320, -240, 320, 240));
    // Integer halving: the centre of 641 x 481 is (321, 241).
    EXPECT_EQ(ChartViewRect({0, 0, 641, 481}), ui::TRect(-321, -240, 320, 241));
    EXPECT_NEAR(PixelsPerNauticalMile(3780, 15000), 466.6666, 1e-3);
    EXPECT_EQ(PixelsPerNauticalMile(3780, 0), 0);
}

TEST(ChartPainting, ThePassRunsWithTheWindowsSettings) {
    PlainHost host;
    TMapWindow w(*host.client, "", 5, 5.3, 60.4);
    w.displayMaskA = 7;
    w.zoomFactor = 0.25;
    TChartWindowState& s = ChartWindowState();
    s.displayCategories.fill(0);
    s.displayCategories[4] = 1;
    s.detailWord = 6;
    ChartSettings().soundingsSwitch = 0;
    TChartPassOptions o = ChartPassOptionsOf(w);
    EXPECT_EQ(o.displayMaskA, 7u);
    EXPECT_EQ(o.zoomFactor, 0.25);
    EXPECT_EQ(o.detailWord, 6);
    EXPECT_FALSE(o.soundingsSwitch);
    EXPECT_EQ(o.categories[4], 1);
    EXPECT_EQ(o.categories[5], 0);
    // The relief lies under the chart only with both switches on.
    const struct {
        std::uint8_t reliefSwitch, reliefReady;
        bool under;
    } reliefs[] = {{0, 0, false}, {1, 0, false}, {0, 1, false}, {1, 1, true}};
    for (const auto& r : reliefs) {
        s.reliefSwitch = r.reliefSwitch;
        s.reliefReady = r.reliefReady;
        EXPECT_EQ(ChartPassOptionsOf(w).reliefUnderChart, r.under)
            << int(r.reliefSwitch) << int(r.reliefReady);
    }
    ApplySettingsDefaults();
    EXPECT_TRUE(ChartPassOptionsOf(w).soundingsSwitch);
}

// ---------------------------------------------------------------------------
// Tide-station marks

// A recording of the marks of a view centred on Bergen's station, whose chart
// point is then (0, 0) and device point (50, 50).
std::string tideMarks(double displayScale, const ui::TRect& view = {-50, -50, 50, 50}) {
    Map* map = newMap(PRJ_MERCATOR, std::uint32_t(displayScale), bergenStation(), 13, 13,
                      kPixelsPerMetre, kPixelsPerMetre, nullptr);
    gdi::RecordingDc dc(100, 100);
    dc.setMapping(gdi::Mapping::yUp(50, 50));
    DrawTideMarks(dc, map, view, displayScale);
    delete map;
    return dc.log();
}

TEST(ChartPainting, TideMarksComeInThreeBandsOfScale) {
    PlainHost host; // a Qt GUI application measures the text
    SampleTides tides;
    ChartWindowState().tideFlag = 2;
    const std::string big = "Polygon pen=solid/2/p14 brush=null rop=copy fill=alt (40,50) (50,35) "
                            "(60,50) (50,65)";
    const std::string small = "Polygon pen=solid/2/p14 brush=null rop=copy fill=alt (46,50) "
                              "(50,43) (54,50) (50,57)";
    const std::string circle = "Ellipse pen=solid/2/p14 brush=null rop=copy [47,47,53,53]";
    const struct {
        double scale;
        const std::string& mark;
        bool letter;
    } bands[] = {{20000, big, true},
                 {999999, big, true},
                 {1000000, small, false},
                 {4999999, small, false},
                 {5000000, circle, false}};
    for (const auto& b : bands) {
        const std::string log = tideMarks(b.scale);
        EXPECT_NE(log.find(b.mark + "\n"), std::string::npos) << b.scale << "\n" << log;
        const std::size_t letter = log.find("TextOut font=\"Arial\"/-12/400 p0 (");
        EXPECT_EQ(letter != std::string::npos, b.letter) << b.scale << "\n" << log;
        if (b.letter) {
            EXPECT_NE(log.find("align=left,bottom text=\"T\""), std::string::npos) << log;
            // Its base lies above the point: a device y below 50.
            std::istringstream in(log.substr(letter + 34));
            int x = 0, y = 0;
            char comma = 0;
            in >> x >> comma >> y;
            EXPECT_LT(x, 50);
            EXPECT_LT(y, 50);
            EXPECT_GT(y, 35);
        }
        // One station only.
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), b.letter ? 2 : 1) << log;
    }
}

TEST(ChartPainting, ATideStationOnTheViewsLeftOrSouthEdgeIsDrawnOnTheRightOrNorthNot) {
    PlainHost host;
    SampleTides tides;
    ChartWindowState().tideFlag = 2;
    const struct {
        ui::TRect view;
        bool drawn;
    } edges[] = {
        {{0, -20, 40, 20}, true},   // on the left edge
        {{-40, -20, 0, 20}, false}, // on the right edge
        {{-20, 0, 20, 40}, true},   // on the south edge (the rectangle's top)
        {{-20, -40, 20, 0}, false}, // on the north edge (its bottom)
        {{1, -20, 41, 20}, false},  // outside
    };
    for (const auto& e : edges)
        EXPECT_EQ(!tideMarks(3000000, e.view).empty(), e.drawn)
            << e.view.left << "," << e.view.top << "," << e.view.right << "," << e.view.bottom;
    // Tide flag 1: no marks.
    ChartWindowState().tideFlag = 1;
    EXPECT_EQ(tideMarks(20000), "");
}

// In the y-up picture the "T" stands above the station on screen.
TEST(ChartPainting, TheLettersInkLiesAboveTheStation) {
    PlainHost host;
    SampleTides tides;
    LoadPalettes(DATA_DIR);
    ChartWindowState().tideFlag = 2;
    Map* map = newMap(PRJ_MERCATOR, 20000, bergenStation(), 26, 26, kPixelsPerMetre,
                      kPixelsPerMetre, nullptr);
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        gdi::RasterDc dc(&image);
        dc.selectPalette(ProgramPalette());
        dc.setMapping(gdi::Mapping::yUp(100, 100));
        DrawTideMarks(dc, map, ChartViewRect({0, 0, 200, 200}), 20000);
        const gdi::Colour ink = dc.resolve(chartColour(0)), pen = dc.resolve(chartColour(14));
        ASSERT_NE(ink, pen);
        dc.setMapping(gdi::Mapping{});
        int inked = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                if (dc.getPixel(x, y) == ink) {
                    ++inked;
                    EXPECT_LT(y, 100) << x << "," << y;
                    EXPECT_NEAR(x, 100, 8) << x << "," << y;
                }
        EXPECT_GT(inked, 5);
        // The diamond's side corners in the pen's colour.
        EXPECT_EQ(dc.getPixel(90, 100), pen);
        EXPECT_EQ(dc.getPixel(110, 100), pen);
    }
    delete map;
}

// ---------------------------------------------------------------------------
// The paint

// A chart window that notes what its paint does, in order.
class TPaintLog : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;

    std::vector<std::string> log;
    bool drawChart = false;       // the real drawing pass too
    bool throwInChart = false;    // the pass throws
    bool throwInTrack = false;    // the track overlay throws
    std::optional<Point> tideInk; // chart point where the tide mark's pen goes
    int tracks = 0;

    void DrawChart(double scale, double divisor, int level, Map* m, gdi::Dc& dc,
                   const ui::TRect& view) override {
        log.push_back(dc.getPixel(0, 0) == dc.resolve(chartColour(9)) ? "fill 9" : "no fill");
        log.push_back("DrawChart");
        if (drawChart) TMapWindow::DrawChart(scale, divisor, level, m, dc, view);
        if (throwInChart) throw "ERROR: no chart";
    }
    void DrawGridAndBorder(gdi::Dc& dc, const ui::TRect&) override {
        noteTideMark(dc);
        log.push_back("grid");
    }
    Point DrawTrackOverlay(gdi::Dc& dc, Map*, bool) override {
        noteTideMark(dc);
        log.push_back("track");
        ++tracks;
        if (throwInTrack) throw 11;
        return {0, 0};
    }
    void DrawUserObjectOverlay(gdi::Dc&) override { log.push_back("user objects"); }
    void DrawOwnShipOverlay(gdi::Dc& dc, int, int, bool) override {
        if (&dc == &GetDC() && memPicture1 && shows(*memPicture1)) log.push_back("copy");
        log.push_back("own ship");
    }

    // Whether the window shows the picture (sampled).
    bool shows(const gdi::Dc& picture) {
        gdi::Dc& window = GetDC();
        const ui::TRect r = GetClientRect();
        for (int y = 0; y < r.Height(); y += 5)
            for (int x = 0; x < r.Width(); x += 5)
                if (window.getPixel(x, y) != picture.getPixel(x, y)) return false;
        return true;
    }

  private:
    // Notes the tide mark the first time its pen shows at tideInk.
    void noteTideMark(gdi::Dc& dc) {
        if (!tideInk || noted_) return;
        const ui::TRect r = GetClientRect();
        const gdi::Mapping m =
            dc.setMapping(gdi::Mapping::yUp((r.Width() + 1) / 2, (r.Height() + 1) / 2));
        if (dc.getPixel(tideInk->x, tideInk->y) == dc.resolve(chartColour(14))) {
            log.push_back("tide marks");
            noted_ = true;
        }
        dc.setMapping(m);
    }
    bool noted_ = false;
};

// The main window: notes the requests for the route overlay.
class TRouteFrame : public ui::TDecoratedMDIFrame {
  public:
    using TDecoratedMDIFrame::TDecoratedMDIFrame;
    std::vector<std::pair<ui::WPARAM, ui::LPARAM>> routeRequests;
    ui::LRESULT EvRouteOverlay(ui::WPARAM wParam, ui::LPARAM lParam) {
        routeRequests.emplace_back(wParam, lParam);
        return 0;
    }
    DECLARE_RESPONSE_TABLE(TRouteFrame);
};
DEFINE_RESPONSE_TABLE1(TRouteFrame, ui::TDecoratedMDIFrame)
EV_MESSAGE(301, EvRouteOverlay), END_RESPONSE_TABLE;

// A frame of 640 x 480 with a painting chart window at level 5 around
// Bergen with its map.
struct PaintHost {
    ui::TApplication app;
    ui::TMDIClient* client;
    TRouteFrame* frame;
    TPaintLog* w;
    PaintHost() {
        ResetChartWindowState();
        ChartWindowCalls().makeStore = [](TMapWindow&) -> ui::TWindow* { return nullptr; };
        LoadPalettes(DATA_DIR);
        client = new ui::TMDIClient(nullptr);
        frame = new TRouteFrame("Solvanor V lite", 0, *client);
        frame->Attr.W = 640;
        frame->Attr.H = 480;
        app.SetMainWindow(frame);
        EXPECT_TRUE(frame->Create());
        frame->ShowWindow(ui::SW_SHOWNORMAL);
        w = new TPaintLog(*client, "", 5, 5.30, 60.398);
        EXPECT_TRUE(w->Create());
        w->KillTimer(kChartTimerId); // the paints alone
        w->ShowWindow(ui::SW_SHOW);
        settle();
        const ui::TRect r = w->GetClientRect();
        w->map.reset(viewMap(*w, r.Width(), r.Height()));
        TChartWindowState& s = ChartWindowState();
        for (int i = 0; i <= 18; ++i)
            s.displayCategories[std::size_t(i)] = 1;
        s.chartDataFlag = 1;
        s.detailWord = 6;
        s.pixelsPerMetre = kPixelsPerMetre;
        w->log.clear();
        w->tracks = 0;
    }
    ~PaintHost() {
        delete w;
        ChartWindowCalls() = TChartWindowCalls{};
        ResetChartWindowState();
    }
    PaintHost(const PaintHost&) = delete;
    PaintHost& operator=(const PaintHost&) = delete;
    void paint() {
        w->Invalidate(true);
        settle();
    }
};

TEST(ChartPainting, APaintDrawsInItsOrderAndCopiesThePictureBeforeOwnShip) {
    SampleTides tides;
    PaintHost h;
    TChartWindowState& s = ChartWindowState();
    s.tideFlag = 2;
    s.displayCategories[16] = 1;
    Point station{0, 0};
    const GeoPoint bergen = bergenStation();
    h.w->map->Geo2Map(&bergen, &station, 1);
    h.w->tideInk = Point{station.x - 10, station.y};
    uitest::TCursorRecorder cursors;
    h.paint();
    EXPECT_EQ(h.w->log, (std::vector<std::string>{"fill 9", "DrawChart", "grid", "tide marks",
                                                  "track", "user objects", "copy", "own ship"}));
    EXPECT_EQ(s.painted, 1);
    EXPECT_NEAR(s.pixelsPerNm, kPixelsPerMetre * 1851.851852 / 15000, 1e-6);
    // The wait cursor while drawing, the cursor before it afterwards.
    ASSERT_FALSE(cursors.Requests.empty());
    EXPECT_EQ(cursors.Requests.front().cursor, "IDC_WAIT");
    EXPECT_EQ(ui::GetCursor(), nullptr);
    const bool freed = std::any_of(cursors.Requests.begin(), cursors.Requests.end(), [](auto& r) {
        return r.kind == ui::TCursorRequest::Clip && !r.clipped;
    });
    EXPECT_TRUE(freed);

    // The grid only with display category 16 or without chart data here.
    for (bool grid : {false, true})
        for (bool data : {false, true}) {
            s.displayCategories[16] = grid;
            s.chartDataFlag = data;
            h.w->log.clear();
            h.paint();
            const bool drawn =
                std::find(h.w->log.begin(), h.w->log.end(), "grid") != h.w->log.end();
            EXPECT_EQ(drawn, grid || !data) << grid << data;
        }
}

TEST(ChartPainting, AnUpToDatePictureIsOnlyCopied) {
    PaintHost h;
    h.paint();
    ASSERT_TRUE(h.w->memPicture1);
    TChartWindowState& s = ChartWindowState();
    s.pictureUpToDate = 1;
    // Something else on the window; the paint puts the picture back.
    h.w->GetDC().fillRect(0, 0, 50, 50, gdi::Brush::solid(ui::RGB(255, 0, 0)));
    h.w->log.clear();
    h.paint();
    EXPECT_TRUE(h.w->log.empty());
    EXPECT_TRUE(h.w->shows(*h.w->memPicture1));
    // A redraw-once request draws again, once.
    s.redrawOnce = 1;
    h.paint();
    EXPECT_EQ(h.w->log, (std::vector<std::string>{"fill 9", "DrawChart", "grid", "track",
                                                  "user objects", "copy", "own ship"}));
    EXPECT_EQ(s.redrawOnce, 0);
    h.w->log.clear();
    h.paint();
    EXPECT_TRUE(h.w->log.empty());
}

TEST(ChartPainting, TheReliefPictureLiesUnderTheChartWhenTheClipboardHasIt) {
    PaintHost h;
    TChartWindowState& s = ChartWindowState();
    const ui::TRect r = h.w->GetClientRect();
    QImage relief(r.Width(), r.Height(), QImage::Format_RGB32);
    relief.fill(qRgb(10, 120, 30));
    for (bool image : {true, false}) {
        if (image)
            QGuiApplication::clipboard()->setImage(relief);
        else
            QGuiApplication::clipboard()->clear();
        s.reliefSwitch = s.reliefReady = 1;
        s.pictureUpToDate = 1;
        s.redrawOnce = 1;
        s.detailWord = 4;
        h.paint();
        const gdi::Colour corner = h.w->memPicture1->getPixel(3, 3);
        EXPECT_EQ(corner, image ? ui::RGB(10, 120, 30) : h.w->memPicture1->resolve(chartColour(9)))
            << image;
    }
    QGuiApplication::clipboard()->clear();
}

// A failing pass: one box after the paint, the picture still copied, and the
// program's sounding procedures gone again.
TEST(ChartPainting, AFailingPassShowsOneBoxAndThePaintGoesOn) {
    SampleChart sample;
    PaintHost h;
    ChartSettings().soundingsSwitch = 0;
    h.w->drawChart = true;
    const CondSymbProc depthAreas = sample.presentation.setSymbProcedure(
        44, [](TMapContext*, GdbObject*, MapObject*) { throw "ERROR: bad cell"; });
    {
        uitest::TModalScript script;
        script.Box(ui::IDOK);
        h.paint();
        EXPECT_TRUE(script.Done());
        ASSERT_EQ(script.Modals().size(), 1u);
        EXPECT_EQ(script.Modals()[0].text, "!!");
        EXPECT_EQ(script.Modals()[0].caption, "No seabed data");
    }
    sample.presentation.setSymbProcedure(44, depthAreas);
    EXPECT_EQ(h.w->log, (std::vector<std::string>{"fill 9", "DrawChart", "track", "user objects",
                                                  "copy", "own ship"}));
    EXPECT_EQ(sample.presentation.procs[147], Int1Proc147);
    EXPECT_EQ(sample.presentation.procs[168], Int1Proc168);
}

TEST(ChartPainting, AFailingOverlayEndsThePaintOnce) {
    PaintHost h;
    h.w->throwInChart = true;
    h.w->throwInTrack = true;
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    h.paint();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(h.w->tracks, 1);
    EXPECT_EQ(h.w->log, (std::vector<std::string>{"fill 9", "DrawChart", "track"}));
}

TEST(ChartPainting, AfterAResizeThePicturesFollowTheClient) {
    PaintHost h;
    h.paint();
    const ui::TRect before = h.w->GetClientRect();
    ASSERT_EQ(h.w->memPicture1->pictureSize(), (gdi::XY{before.Width(), before.Height()}));
    // Up to date, but drawn for another size: drawn again at the new one.
    ChartWindowState().pictureUpToDate = 1;
    h.w->log.clear();
    h.frame->MoveWindow(0, 0, 900, 700, true);
    settle();
    h.paint();
    const ui::TRect after = h.w->GetClientRect();
    ASSERT_NE(after, before);
    EXPECT_NE(std::find(h.w->log.begin(), h.w->log.end(), "DrawChart"), h.w->log.end());
    EXPECT_EQ(h.w->memPicture1->pictureSize(), (gdi::XY{after.Width(), after.Height()}));
    const gdi::XY screen = h.w->memPicture2->pictureSize();
    EXPECT_GE(screen.x, after.Width());
    EXPECT_GE(screen.y, after.Height());
    EXPECT_TRUE(h.w->shows(*h.w->memPicture1));
}

// A route in use asks the main window for its overlay.
TEST(ChartPainting, AnActiveRouteAsksTheMainWindowForItsOverlay) {
    PaintHost h;
    h.paint();
    EXPECT_TRUE(h.frame->routeRequests.empty());
    ChartWindowState().activeRouteId = 42;
    h.paint();
    EXPECT_EQ(h.frame->routeRequests, (std::vector<std::pair<ui::WPARAM, ui::LPARAM>>{{2, 42}}));
}

// ---------------------------------------------------------------------------
// The sample chart, end to end

std::vector<float> written;

void writeAndNote(TMapContext* c, int x, int y, float depth, unsigned a, unsigned b, unsigned d,
                  char* note, int parentheses) {
    written.push_back(depth);
    _DrawSoundValue(c, x, y, depth, a, b, d, note, parentheses);
}

// The chart picture of a window at Bergen harbour drawn as the paint draws it.
struct SamplePicture {
    int width, height;
    std::unique_ptr<gdi::RasterDc> dc;
    explicit SamplePicture(TMapWindow& w, int width_, int height_)
        : width(width_), height(height_), dc(gdi::RasterDc::createCompatible(nullptr)) {
        dc->selectBitmap(gdi::Bitmap::colour(width, height));
        dc->selectPalette(ProgramPalette());
        w.map.reset(viewMap(w, width, height));
        dc->setMapping(gdi::Mapping::yUp((width + 1) / 2, (height + 1) / 2));
        PaintOverlays(w, *dc, true, ChartViewRect({0, 0, width, height}));
        dc->setMapping(gdi::Mapping{});
    }
    void save(const std::string& name) const {
        const std::string path = picturePath(name);
        EXPECT_TRUE(dc->picture().save(QString::fromStdString(path), "PNG")) << path;
        std::printf("%s\n", path.c_str());
    }
};

// The texts a pass writes on a recording of the window's view.
long textsWritten(TMapWindow& w, int width, int height) {
    gdi::RecordingDc dc(width, height);
    dc.setMapping(gdi::Mapping::yUp((width + 1) / 2, (height + 1) / 2));
    w.DrawChart(w.levelScale, w.displayScale, w.levelIndex, w.map.get(), dc,
                ChartViewRect({0, 0, width, height}));
    const std::string log = dc.log();
    long n = 0;
    for (std::size_t at = log.find("Text row="); at != std::string::npos;
         at = log.find("Text row=", at + 1))
        ++n;
    return n;
}

TEST(ChartPainting, TheSampleHarbourDrawnEndToEnd) {
    SampleChart sample;
    SampleTides tides;
    PlainHost host;
    LoadPalettes(DATA_DIR);
    const int width = kFullViews ? 1920 : 640, height = kFullViews ? 1080 : 360;
    TMapWindow w(*host.client, "", 5, 5.30, 60.398);
    TChartWindowState& s = ChartWindowState();
    for (int i = 0; i <= 18; ++i)
        s.displayCategories[std::size_t(i)] = 1;
    s.chartDataFlag = 1;
    s.detailWord = 6;
    s.tideFlag = 2;
    written.clear();
    SoundValueWriter = writeAndNote;

    // The soundings switch off: the program's procedures write only the
    // depths down to 5 m.
    ChartSettings().soundingsSwitch = 0;
    const SamplePicture off(w, width, height);
    off.save("harbour-soundings-off");
    EXPECT_GT(w.lastChartPass.drawn, 100);
    ASSERT_FALSE(written.empty());
    for (float depth : written)
        EXPECT_LE(depth, 5.0f);
    const long textsOff = textsWritten(w, width, height);

    // Switched on: the engine's procedures write every sounding again.
    ChartSettings().soundingsSwitch = 1;
    written.clear();
    const SamplePicture on(w, width, height);
    on.save("harbour");
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(sample.presentation.procs[147], Int1Proc147);
    EXPECT_GT(textsWritten(w, width, height), textsOff + 20);
    SoundValueWriter = _DrawSoundValue;

    // The query read the cells of the level's own scale level, as the chart
    // view renderer's picture of the same view does.
    TKV71Db& db = *sample.database;
    EXPECT_EQ(db.getLevel(w.lastChartPass.queryScale), 6); // F
    EXPECT_EQ(db.getLevel(chartview::viewScales(5, 15000).queryScale),
              db.getLevel(w.lastChartPass.queryScale));

    // Bergen's tide mark: the diamond's pen beside the station.
    Point station{0, 0};
    const GeoPoint bergen = bergenStation();
    w.map->Geo2Map(&bergen, &station, 1);
    const int cx = (width + 1) / 2, cy = (height + 1) / 2;
    const gdi::Colour pen = on.dc->resolve(chartColour(14));
    int inked = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            inked += on.dc->getPixel(cx + station.x - 10 + dx, cy - station.y + dy) == pen;
    EXPECT_GT(inked, 0) << "station at " << station.x << "," << station.y;
}

// Level index 4 reads the level-E cells.
TEST(ChartPainting, TheApproachesAtLevelIndexFourReadLevelE) {
    SampleChart sample;
    PlainHost host;
    LoadPalettes(DATA_DIR);
    const int width = kFullViews ? 1920 : 640, height = kFullViews ? 1080 : 360;
    TMapWindow w(*host.client, "", 4, 5.27, 60.42);
    TChartWindowState& s = ChartWindowState();
    for (int i = 0; i <= 18; ++i)
        s.displayCategories[std::size_t(i)] = 1;
    s.chartDataFlag = 1;
    s.detailWord = 5;
    const SamplePicture approaches(w, width, height);
    approaches.save("approaches");
    EXPECT_EQ(sample.database->getLevel(w.lastChartPass.queryScale), 5); // E
    EXPECT_GT(w.lastChartPass.drawn, 100);
}

} // namespace
