#include "chart/ChartPainting.h"

#include "app/KVViewerApp.h"
#include "app/ViewerPalette.h"
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "chart/WaitCursor.h"

#include "TideWave.h"
#include "gdi/Bitmap.h"
#include "gdi/Font.h"
#include "gdi/RasterDc.h"
#include "graphics/GraphicsLayer.h"
#include "kv71/TKV71Db.h"
#include "proj/Map.h"
#include "ui/Application.h"
#include "ui/Cursor.h"
#include "ui/MessageBox.h"
#include "ui/Screen.h"

#include <algorithm>

static_assert(kChartPassCategoryCount == kDisplayCategoryCount);

namespace {

// Message to the main window asking for the route overlay; its wParam.
constexpr ui::UINT kRouteOverlayMessage = 301;
constexpr ui::WPARAM kRouteOverlayKind = 2;

constexpr int kGridCategory = 16;
constexpr std::size_t kTideMarkColour = 14, kInkColour = 0, kBackgroundColour = 9;
constexpr double kLargeScaleBand = 1000000, kSmallScaleBand = 5000000;
constexpr double kMetresPerNauticalMileReadOut = 1851.851852;

TGeoDb* chartDatabaseOverride = nullptr;
bool chartDatabaseSet = false;

gdi::Colour chartColour(std::size_t number) {
    return gdi::paletteIndex(static_cast<std::uint16_t>(_anSp57ColorsMap[number]));
}


std::unique_ptr<gdi::RasterDc> makePicture(const gdi::Dc& like, int width, int height) {
    auto picture = gdi::RasterDc::createCompatible(&like);
    picture->selectBitmap(gdi::Bitmap::colour(width, height));
    picture->selectPalette(ProgramPalette());
    picture->realizePalette();
    return picture;
}

// Memory picture 1 of the client's size, remade when the client's size
// changed; memory picture 2 of the screen's size, never smaller than the
// client, remade when the client outgrows it.
void makeMemoryPictures(TMapWindow& w, const gdi::Dc& windowDc, const ui::TRect& client) {
    const int width = std::max(client.Width(), 1), height = std::max(client.Height(), 1);
    if (!w.memPicture1 || w.memPicture1->pictureSize() != gdi::XY{width, height})
        w.memPicture1 = makePicture(windowDc, width, height);
    const gdi::DeviceCaps caps = windowDc.caps();
    const gdi::XY screen{std::max(caps.horzRes, width), std::max(caps.vertRes, height)};
    const gdi::XY have = w.memPicture2 ? w.memPicture2->pictureSize() : gdi::XY{0, 0};
    if (have.x < width || have.y < height)
        w.memPicture2 = makePicture(windowDc, screen.x, screen.y);
}

} // namespace

void CopyToWindow(gdi::Dc& window, const gdi::Dc& picture, const ui::TRect& client) {
    const gdi::Mapping mapping = window.setMapping(gdi::Mapping{});
    window.blit(0, 0, client.Width(), client.Height(), picture, 0, 0, gdi::BlitOp::Copy);
    window.setMapping(mapping);
}

ui::TRect ChartViewRect(const ui::TRect& client) {
    const ClientPoint c = ClientCentre(client);
    return {client.left - c.x, c.y - client.bottom, client.right - c.x, c.y - client.top};
}

double PixelsPerNauticalMile(int pixelsPerMetre, double displayScale) {
    return displayScale != 0 ? pixelsPerMetre * kMetresPerNauticalMileReadOut / displayScale : 0;
}

TChartPassOptions ChartPassOptionsOf(const TMapWindow& window) {
    const TChartWindowState& s = ChartWindowState();
    TChartPassOptions o;
    o.displayMaskA = static_cast<std::uint32_t>(window.displayMaskA);
    std::copy(s.displayCategories.begin(), s.displayCategories.end(), o.categories.begin());
    o.zoomFactor = window.zoomFactor;
    o.detailWord = s.detailWord;
    o.soundingsSwitch = ChartSettings().soundingsSwitch != 0;
    o.reliefUnderChart = s.reliefSwitch && s.reliefReady;
    return o;
}

TGeoDb* ChartDatabase() {
    if (chartDatabaseSet) return chartDatabaseOverride;
    const KVViewerApp* app = GetViewerApp();
    return app ? app->GetChartDb() : nullptr;
}

void SetChartDatabase(TGeoDb* database) {
    chartDatabaseOverride = database;
    chartDatabaseSet = database != nullptr;
}

void PaintOverlays(TMapWindow& window, gdi::Dc& dc, bool erase, const ui::TRect& view) {
    const TChartWindowState& s = ChartWindowState();
    if (erase)
        dc.fillRect(view.left, view.top, view.right, view.bottom,
                    gdi::Brush::solid(chartColour(kBackgroundColour)));
    {
        const WaitCursor wait;
        window.DrawChart(window.levelScale, window.displayScale, window.levelIndex,
                         window.map.get(), dc, view);
        if (s.displayCategories[kGridCategory] || !s.chartDataFlag)
            window.DrawGridAndBorder(dc, view);
        DrawTideMarks(dc, window.map.get(), view, window.displayScale);
        if (s.activeRouteId != 0)
            if (const ui::TApplication* app = window.GetApplication())
                if (ui::TWindow* main = app->GetMainWindow())
                    main->PostMessage(kRouteOverlayMessage, kRouteOverlayKind,
                                      static_cast<ui::LPARAM>(s.activeRouteId));
    }
    ui::ClipCursor(nullptr);
    window.SetFocus();
}

void DrawTideMarks(gdi::Dc& dc, Map* map, const ui::TRect& view, double displayScale) {
    if (ChartWindowState().tideFlag != 2 || !map) return;
    const int ports = TD_GetNumPorts();
    if (ports <= 0) return;

    const gdi::BkMode bkMode = dc.setBkMode(gdi::BkMode::Transparent);
    const gdi::Brush brush = dc.setBrush(gdi::Brush::null());
    const auto font = dc.selectFont(gdi::Font::create(gdi::LogFont{"Arial", -12, 400}));
    const gdi::Pen pen = dc.setPen(gdi::Pen{gdi::PenStyle::Solid, 2, chartColour(kTideMarkColour)});
    const gdi::Colour text = dc.setTextColour(chartColour(kInkColour));
    const unsigned align = dc.setTextAlign(gdi::TA_BOTTOM);
    const gdi::XY letter = dc.textExtent("T");

    for (int i = 0; i < ports; ++i) {
        IndexFileStruct port{};
        if (TD_GetTidePoint(i, &port) != 0) continue;
        const GeoPoint g{deg2nrm(port.lon / 60.0), deg2nrm(port.lat / 60.0)};
        const ChartPoint p = ChartPointOf(*map, g);
        if (p.x < view.left || p.x >= view.right || p.y < view.top || p.y >= view.bottom) continue;
        if (displayScale < kLargeScaleBand) {
            const gdi::XY diamond[] = {
                {p.x - 10, p.y}, {p.x, p.y + 15}, {p.x + 10, p.y}, {p.x, p.y - 15}};
            dc.polygon(diamond);
            dc.textOut(p.x - letter.x / 2, p.y + letter.y * 2 / 3, "T");
        } else if (displayScale >= kSmallScaleBand) {
            dc.ellipse(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
        } else {
            const gdi::XY diamond[] = {
                {p.x - 4, p.y}, {p.x, p.y + 7}, {p.x + 4, p.y}, {p.x, p.y - 7}};
            dc.polygon(diamond);
        }
    }

    dc.setTextAlign(align);
    dc.setTextColour(text);
    dc.setPen(pen);
    dc.selectFont(font);
    dc.setBrush(brush);
    dc.setBkMode(bkMode);
}

// ---------------------------------------------------------------------------
// The chart window's own members

void TMapWindow::DrawChart(double scale, double divisor, int levelIndex_, Map* map_, gdi::Dc& dc,
                           const ui::TRect& view) {
    const Rect r{view.left, view.top, view.right, view.bottom};
    lastChartPass = DrawChartPass(ChartDatabase(), scale, divisor, levelIndex_, map_, dc, r,
                                  ChartPassOptionsOf(*this));
}

void TMapWindow::EvPaint() {
    ui::TPaintDC paint(*this);
    gdi::Dc& windowDc = paint.GetDC();
    TChartWindowState& s = ChartWindowState();
    if (IsIconic()) return;
    const ui::TRect client = GetClientRect();
    const gdi::XY size{client.Width(), client.Height()};

    // Nothing changed: the picture as it is.
    if (s.pictureUpToDate && !s.redrawOnce && memPicture1 && memPicture1->pictureSize() == size) {
        CopyToWindow(windowDc, *memPicture1, client);
        ui::ClipCursor(nullptr);
        SetFocus();
        return;
    }

    const WaitCursor wait;
    s.redrawOnce = 0;
    const ui::TRect view = ChartViewRect(client);
    makeMemoryPictures(*this, windowDc, client);
    gdi::RasterDc& picture = *memPicture1;

    bool failed = false;
    const auto failure = [&] {
        if (failed) return;
        failed = true;
        // The layer shows a box asked for during a paint after it.
        ui::MessageBox(GetHandle(), "!!", "No seabed data", ui::MB_OK);
    };
    try {
        bool relief = false;
        if (s.reliefSwitch && s.reliefReady)
            if (std::shared_ptr<gdi::Bitmap> image = ui::TClipboard(*this).GetDibBitmap()) {
                auto source = gdi::RasterDc::createCompatible(&picture);
                source->selectBitmap(std::move(image));
                picture.blit(0, 0, size.x, size.y, *source, 0, 0, gdi::BlitOp::Copy);
                relief = true;
            }
        picture.setMapping(gdi::Mapping::yUp((client.left + client.right + 1) / 2,
                                             (client.top + client.bottom + 1) / 2));
        const bool erase = paint.Ps.fErase && !(relief && s.pictureUpToDate && s.detailWord > 2);
        PaintOverlays(*this, picture, erase, view);
        ++pictureCount;
    } catch (...) {
        failure();
    }

    try {
        picture.setMapping(gdi::Mapping{});
        s.pixelsPerNm = PixelsPerNauticalMile(s.pixelsPerMetre, displayScale);
        DrawTrackOverlay(picture, map.get(), true);
        DrawUserObjectOverlay(picture);
        if (map) s.ownShipClient = ClientPointOf(*map, s.ownShip, client);
        CopyToWindow(windowDc, picture, client);
        DrawOwnShipOverlay(windowDc, s.ownShipClient.x, s.ownShipClient.y, false);
    } catch (...) {
        failure();
    }
    s.painted = 1;
}
