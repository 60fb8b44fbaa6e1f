// The chart window's view: the re-scale and re-centre, the keys and the
// middle button.
#include "chart/TMapWindow.h"

#include "ViewerExchange.h"
#include "app/TMyFrame.h"
#include "chart/ChartWindowState.h"
#include "chart/MapWindowRules.h"
#include "dialogs/TF1Dlg.h"
#include "gadgets/TScaleGadget.h"
#include "proj/newMap.h"
#include "runtime/intmath.h"
#include "ui/Cursor.h"
#include "ui/Gadgets.h"

#include <utility>

namespace {

// Virtual key codes of the key table.
constexpr ui::UINT kReturn = 13, kShift = 16, kPageUp = 33, kPageDown = 34, kHome = 36, kLeft = 37,
                   kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kAdd = 107, kSubtract = 109,
                   kF1 = 112;
// The arrows move the view by this many pixels.
constexpr int kMoveAcross = 512, kMoveDown = 360;
constexpr double kLargestZoomBeforeIn = 8, kSmallestZoomBeforeOut = 1;
constexpr double kLookAheadScaleLimit = 1000000;
constexpr int kFirstCentreProbe = 2, kLastCentreProbe = 6;

// The modes in which a click does something other than zoom.
bool takesClicks(const TChartWindowState& s) {
    return s.placeSymbolMode || s.deleteSymbolMode || s.informationMode || s.routeState == 2 ||
           s.routeState == 3 || s.pendingGrab != 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Re-scale and re-centre

void TMapWindow::Rescale(double scale) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    s.pictureUpToDate = 0;
    s.reliefReady = 0;

    scale = ClampScale(scale);
    const double ratio = displayScale != 0 ? scale / displayScale : 1;
    const ui::TRect client = GetClientRect();
    if (s.followFlag) {
        if (scale >= kLookAheadScaleLimit) s.lookAhead = 0;
        if (s.lookAhead && map) {
            const double course = NavSnapshot().nav.courseOverGround;
            const int factor =
                LookAheadFactorInUse(settings.lookAheadFactor, Is3DViewRunning(), course);
            const ChartPoint ahead =
                LookAheadCentre(ChartPointOf(*map, s.ownShip), course, client.Width(),
                                client.Height(), ratio, factor);
            centre = GeoPointOf(*map, ahead);
        } else {
            centre = s.ownShip;
        }
    }
    displayScale = scale;

    map.reset();
    map.reset(newMap(PRJ_MERCATOR, static_cast<std::uint32_t>(round(displayScale, 0)), centre,
                     s.screenWidthMm / 2, s.screenHeightMm / 2, s.pixelsPerMetre, s.pixelsPerMetre,
                     nullptr));
    if (TMyFrame* frame = FrameOfWindow(this))
        if (TScaleGadget* gadget = frame->ScaleGadget()) gadget->SetValue(displayScale);

    s.chartDataFlag = HasChartData(levelIndex, centre);

    RefreshClientPoints(client);
    Invalidate();

    if (LightAnimationRuns()) RebuildLightTable();
    if (!s.followFlag)
        for (int level = kFirstCentreProbe; level <= kLastCentreProbe; ++level)
            s.levelChartData[std::size_t(level)] = HasChartData(level, centre);
}

void TMapWindow::RefreshClientPoints(const ui::TRect& client) {
    TChartWindowState& s = ChartWindowState();
    if (!map) return;
    for (int i = 0; i < s.routePointCount && i < kRoutePointMax; ++i) {
        RoutePoint& p = s.routePoints[std::size_t(i)];
        const ClientPoint c = ClientPointOf(*map, GeoPoint{p.lon, p.lat}, client);
        p.x = c.x;
        p.y = c.y;
    }
    // The last logged point is the last track point's: it moves with it,
    // so the next track decision measures in the new view.
    if (s.lastTrackPoint.lat != 0) {
        s.lastTrackClient = ClientPointOf(*map, s.lastTrackPoint, client);
        s.lastLoggedPoint = s.lastTrackClient;
    }
    // Own ship's too, so that the next tick does not judge the new view by
    // the point of the old one.
    s.ownShipClient = ClientPointOf(*map, s.ownShip, client);
}

// ---------------------------------------------------------------------------
// Keys and the middle button

void TMapWindow::EvKeyDown(ui::UINT key, ui::UINT, ui::UINT) {
    TChartWindowState& s = ChartWindowState();
    const ui::UINT before = std::exchange(previousKey, key);

    // An arrow moves the view centre by whole pixels of the view: the new
    // centre is the entered position, and the chart moves there.
    const auto move = [&](int dx, int dy) {
        s.followFlag = 0;
        if (!map) return;
        const GeoPoint g = GeoPointOf(*map, ChartPoint{dx, dy});
        s.enteredLon = NrmToDegrees(g.lon);
        s.enteredLat = NrmToDegrees(g.lat);
        MoveCentre(s.enteredLon, s.enteredLat, true);
    };

    switch (key) {
    case kReturn:
        if (takesClicks(s)) {
            const ClientPoint p = ToClient(cursorPoint, GetClientRect());
            EvLButtonDown(0, ui::TPoint{p.x, p.y});
        }
        break;
    case kPageUp:
    case kPageDown:
        if (s.followFlag) s.cursorPosition = s.ownShip;
        centre = s.cursorPosition;
        if (key == kPageUp)
            ZoomOut();
        else
            ZoomIn();
        break;
    case kHome:
        s.followFlag = 1;
        s.autoChartCounter = 1000;
        s.autoChartRequest = 1;
        break;
    case kLeft:
        move(-kMoveAcross, 0);
        break;
    case kRight:
        move(kMoveAcross, 0);
        break;
    case kUp:
        move(0, kMoveDown);
        break;
    case kDown:
        move(0, -kMoveDown);
        break;
    case kInsert:
        EnterPosition();
        break;
    case kAdd:
        if (zoomFactor <= kLargestZoomBeforeIn) {
            zoomFactor *= 2;
            Rescale(displayScale / 2);
        }
        break;
    case kSubtract:
        if (zoomFactor >= kSmallestZoomBeforeOut) {
            zoomFactor /= 2;
            Rescale(displayScale * 2);
        }
        break;
    case kF1:
        s.followFlag = 0;
        if (before == kShift && !helpDlg) {
            // Without a modal loop: it stays open beside the chart.
            auto* help = new TF1Dlg(this);
            if (help->Create())
                helpDlg = help;
            else
                delete help;
        } else {
            ShowHelp();
        }
        break;
    default:
        if (key >= 'A' && key <= 'G')
            s.levelRequest = int(key - 'A');
        else if (key == 'W')
            s.levelRequest = 7;
        break;
    }
}

void TMapWindow::EvMButtonDown(ui::UINT, const ui::TPoint& point) {
    const ui::TRect client = GetClientRect();
    const ChartPoint p = ToChart(ClientPoint{point.x, point.y}, client);
    if (!map || p == ChartPoint{0, 0}) return;
    ChartWindowState().followFlag = 0;
    const GeoPoint g = GeoPointOf(*map, p);
    MoveCentre(NrmToDegrees(g.lon), NrmToDegrees(g.lat), true);
    const ScreenPoint c = ToScreen(*this, ClientCentre(client));
    ui::SetCursorPos(c.x, c.y);
}

ui::TButtonGadget* TMapWindow::ToolBoxButton(int command) {
    auto* box = dynamic_cast<ui::TGadgetWindow*>(toolBox);
    if (!box) return nullptr;
    auto* button = dynamic_cast<ui::TButtonGadget*>(box->GadgetWithId(command));
    if (button) lastToolButton = button;
    return button;
}

void TMapWindow::EvParentNotify(ui::UINT event, ui::HWND child, ui::UINT) {
    if (event != ui::WM_DESTROY || !child) return;
    // A panel or dialog that went by itself: forget it (the layer deletes it).
    for (ui::TWindow** owned :
         {&windDlg, &depthDlg, &dateDlg, &dbaseWin, &gpsPosDlg, &sogCogDlg, &bearingInfoDlg,
          &toolBox, &routeInfoDlg1, &routeInfoDlg2, &listDlg, &helpDlg, &shortReadout})
        if (*owned && (*owned)->GetHandle() == child) *owned = nullptr;
}
