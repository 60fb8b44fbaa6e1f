// The chart window's mouse: the zoom about a clicked point with its probe of
// the chart levels, the clicks of the editing and information modes, the
// mouse moves, the size change and the look-up of the chart objects under an
// information click (docs/navigator-mouse.md).
//
// Frames: clicks and moves come in client points; the Map's points are chart
// units (y up), client = (cx + x, cy - y); screen points only place the
// mouse cursor and the dialogs.
#include "chart/TMapWindow.h"

#include "TideWave.h"
#include "app/KVViewerApp.h"
#include "app/TMyFrame.h"
#include "chart/ChartLevels.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/WaitCursor.h"
#include "dialogs/ReadoutPanels.h"
#include "dialogs/TDbInfoDialog.h"
#include "dialogs/TObjView.h"
#include "dialogs/TObjectInfoDialog.h"
#include "dialogs/TTideDialog.h"
#include "gadgets/TCoordGadget.h"
#include "gadgets/TScaleGadget.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "geo/geodesy.h"
#include "os/Clock.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"
#include "runtime/intmath.h"
#include "store/StoreRecordCalls.h"
#include "store/storeFiles.h"
#include "ui/Cursor.h"
#include "ui/Gadgets.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iterator>
#include <memory>

namespace {

// The coverage objects (land and sea areas) the probe and the look-up seek.
constexpr int kCoverageClass = 217;
// Chart objects the look-up never lists, nor their children.
constexpr int kUnlistedClasses[] = {35, 44, 45, 147, 177, 193, 198, 210};
// The look-up's reach around the click, pixels each side.
constexpr int kLookUpReach = 10;
constexpr int kLatitudeGadget = 1002, kLongitudeGadget = 1003;
// Commands (and tool-box buttons) the right click releases.
constexpr int kDeleteButton = 56, kPlaceSymbolsButton = 57, kInformationButton = 119;
// Cursor requests and status hints.
constexpr int kCursorChart = 1, kCursorIdle = 7;
constexpr int kHintDefault = 0, kHintChangeRoute = 4, kHintPickedRoute = 10;
// Pending grab 2: the click picks a route drawn for choosing.
constexpr int kGrabRoute = 2;
// Passes over the stored objects (kind + 100 x action, UserObjectCodes.h).
constexpr int kPickOffset = 200, kDeleteSymbol = 305, kInfoSymbol = 405, kInfoRoutePoint = 402,
              kPickRoute = 202;
// Placing a new route ends instead of adding this point.
constexpr int kMostPlacedPoints = 500;
// More general counts than this without a mouse move: the idle cursor.
constexpr int kIdleCount = 15;
// A click nearer than this to a tide station's mark opens its dialog.
constexpr double kTideStationReach = 5.0;
constexpr float kTideStep = 0.3f; // hours
// The zoom's comparisons of a level's display scale with the view's.
constexpr double kZoomInRatio = 0.3, kZoomOutRatio = 3.3333333333333335;
constexpr double kMostZoomBeforeIn = 8, kLeastZoomBeforeOut = 1, kWidestZoom = 16;
constexpr int kFirstCentreProbe = 2, kLastCentreProbe = 6;
constexpr int kOverview = 7, kTopProbe = 6;

bool same(const GeoPoint& a, const GeoPoint& b) {
    return a.lon == b.lon && a.lat == b.lat;
}

const TChartLevel& levelAt(int index) {
    const TChartLevel* level = ChartLevelByIndex(index);
    return level ? *level : kChartLevels[kOverview];
}

void releaseButton(TMapWindow& w, int command) {
    if (ui::TButtonGadget* b = w.ToolBoxButton(command)) b->SetButtonState(ui::TButtonGadget::Up);
}

// The cursor at a client point of the window.
void cursorTo(const TMapWindow& w, const ClientPoint& p) {
    const ScreenPoint s = ToScreen(w, p);
    ui::SetCursorPos(s.x, s.y);
}

// Today's date packed as day | month << 8 | year << 16, local time.
std::uint32_t packedToday() {
    const std::time_t now = os::toTimeT(ChartClock().now());
    std::tm local{};
    localtime_r(&now, &local);
    return std::uint32_t(local.tm_mday) | std::uint32_t(local.tm_mon + 1) << 8 |
           std::uint32_t(local.tm_year + 1900) << 16;
}

} // namespace

// ---------------------------------------------------------------------------
// The chart-data probe

bool TMapWindow::Projects(GdbObject& object, Map* on, GeoRect& rect, int* type) {
    MapObject local(egtPoint, -1);
    MapObject* reuse = lookupShape_ ? lookupShape_ : &local;
    MapObject* shape = object.newMapObject(on, rect, reuse);
    if (!shape) return false;
    if (type) *type = shape->type;
    if (shape != reuse) delete shape;
    return true;
}

bool TMapWindow::HasChartData(int level, const GeoPoint& point) {
    TGeoDb* database = ChartDatabase();
    const TChartLevel* l = ChartLevelByIndex(level);
    if (!database || !l || !map) return false;
    // The point widened by one unit each side (wrapping as the angles do).
    GeoRect rect{std::int32_t(std::uint32_t(point.lon) - 1u),
                 std::int32_t(std::uint32_t(point.lat) - 1u),
                 std::int32_t(std::uint32_t(point.lon) + 1u),
                 std::int32_t(std::uint32_t(point.lat) + 1u)};
    const TGdbFormula formula{0, 0x0FFFFFFF, 0x0FFFFFFF, 0, 0, 0, 0, nullptr, 0, nullptr, 0};
    TGdbQuery query(*database);
    query.setFormula(&formula);
    if (!query.open(rect, static_cast<unsigned long>(l->levelScale), nullptr)) return false;
    MapObject reuse(egtPoint, -1);
    lookupShape_ = &reuse;
    bool found = false;
    while (GdbObject* object = query.next()) {
        if (object->HasParent() || object->GetLabel() != kCoverageClass) continue;
        if (Projects(*object, map.get(), rect)) {
            found = true;
            break;
        }
    }
    lookupShape_ = nullptr;
    query.close();
    return found;
}

// ---------------------------------------------------------------------------
// Centre and zoom

bool TMapWindow::MoveCentre(double lon, double lat, bool degrees) {
    TChartWindowState& s = ChartWindowState();
    const GeoPoint to = degrees ? GeoPoint{deg2nrm(lon), deg2nrm(lat)}
                                : GeoPoint{rad2nrm(lon), rad2nrm(lat)};
    s.pictureUpToDate = 0;
    s.reliefReady = 0;
    if (same(to, centre)) return false;

    centre = to;
    if (map) {
        map.reset();
        map.reset(newMap(PRJ_MERCATOR, static_cast<std::uint32_t>(round(displayScale, 0)), centre,
                         s.screenWidthMm / 2, s.screenHeightMm / 2, s.pixelsPerMetre,
                         s.pixelsPerMetre, nullptr));
    }
    if (TMyFrame* frame = FrameOfWindow(this)) {
        if (TCoordGadget* g = frame->CoordGadget(kLatitudeGadget)) g->SetValue(NrmToDegrees(to.lat));
        if (TCoordGadget* g = frame->CoordGadget(kLongitudeGadget)) g->SetValue(NrmToDegrees(to.lon));
        if (TScaleGadget* g = frame->ScaleGadget()) g->SetValue(displayScale);
    }
    RefreshClientPoints(GetClientRect());

    s.listMode = 0;
    if (s.pendingGrab != 0) {
        s.pendingGrab = 0;
        s.statusHint = kHintDefault;
        s.cursorRequest = kCursorChart;
    }
    s.pendingStatusMessage = 0;
    Invalidate(true);

    if (LightAnimationRuns()) RebuildLightTable();
    if (!s.followFlag)
        for (int level = kFirstCentreProbe; level <= kLastCentreProbe; ++level)
            s.levelChartData[std::size_t(level)] = HasChartData(level, centre);
    return true;
}

void TMapWindow::ZoomIn() {
    ZoomInStep();
}

void TMapWindow::ZoomOut() {
    ZoomOutStep();
}

bool TMapWindow::ZoomInStep() {
    TChartWindowState& s = ChartWindowState();
    if (levelIndex == kOverview) {
        s.levelRequest = 0;
        return true;
    }
    int i = levelIndex;
    bool found = false;
    while (i < kTopProbe && !found) {
        found = HasChartData(i + 1, s.cursorPosition);
        ++i;
    }
    cursorTo(*this, ClientCentre(GetClientRect()));

    const double scale = displayScale;
    if (found && levelAt(i).displayScale >= kZoomInRatio * scale) {
        s.levelRequest = i;
        return true;
    }
    if (!found && levelIndex == 0 && zoomFactor == kWidestZoom) {
        s.levelRequest = 3;
        return true;
    }
    if (zoomFactor <= kMostZoomBeforeIn) {
        zoomFactor *= 2;
        Rescale(scale * 0.5);
        return true;
    }
    if (found) {
        s.levelRequest = i;
        return true;
    }
    return false;
}

bool TMapWindow::ZoomOutStep() {
    TChartWindowState& s = ChartWindowState();
    if (zoomFactor <= kLeastZoomBeforeOut) {
        switch (levelIndex) {
        case 0:
            s.levelRequest = kOverview;
            return true;
        case 1:
            s.levelRequest = 0;
            return true;
        case 2:
            s.levelRequest = 1;
            return true;
        case kOverview:
            return false;
        default:
            break;
        }
    }
    int i = levelIndex;
    bool found = false;
    {
        const WaitCursor wait;
        while (i > 1 && !found) {
            found = HasChartData(i - 1, s.cursorPosition);
            --i;
        }
    }
    cursorTo(*this, ClientCentre(GetClientRect()));

    const double scale = displayScale;
    if (found && levelAt(i).displayScale <= kZoomOutRatio * scale) {
        s.levelRequest = i;
        return true;
    }
    if (zoomFactor >= kLeastZoomBeforeOut) {
        zoomFactor *= 0.5;
        Rescale(scale * 2);
        return true;
    }
    s.levelRequest = found ? i : 0;
    return true;
}

// ---------------------------------------------------------------------------
// Mouse moves

void TMapWindow::EvMouseMove(ui::UINT, const ui::TPoint& point) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    const ui::TRect client = GetClientRect();
    const ClientPoint at{point.x, point.y};

    // The cursor first: the bearing read-out measures to it.
    cursorClient = at;
    cursorPoint = ToChart(at, client);
    if (map) s.cursorPosition = GeoPointOf(*map, cursorPoint);

    if (s.routeState != 2) {
        ComputeLegGeometry(s.ownShipClient.x, s.ownShipClient.y, at.x, at.y, false,
                           settings.crossTrackLimit);
        double distance = 0, course = 0;
        IPC(s.ownShip, s.cursorPosition, distance, course);
        s.cursorBearing = legDirection;
        s.cursorDistance = distance;
        if (auto* bearing = dynamic_cast<TMapDialog*>(bearingInfoDlg)) bearing->Update();
    }
    const int count = std::clamp(s.routePointCount, 0, kRoutePointMax);
    if (s.grabbedPoint > 0 && s.grabbedPoint <= count && s.pictureUpToDate && s.routeState == 3) {
        RoutePoint& p = s.routePoints[std::size_t(s.grabbedPoint - 1)];
        p.x = at.x;
        p.y = at.y;
        PlaceRoutePoint(GetDC(), 0);
    }
    if (s.routeState == 2) {
        if (editCount >= 0 && editCount < kRoutePointMax) {
            RoutePoint& loose = s.routePoints[std::size_t(editCount)];
            loose.x = at.x;
            loose.y = at.y;
        }
        PlaceRoutePoint(GetDC(), 0);
    }

    if (s.generalCounter > kIdleCount && s.cursorRequest == 0 && s.cursorKind == kCursorChart)
        s.cursorRequest = kCursorIdle;
    s.generalCounter = 0;

    if (FrameIsIconic()) return;
    if (TMyFrame* frame = FrameOfWindow(this)) {
        if (TCoordGadget* g = frame->CoordGadget(kLatitudeGadget))
            g->SetValue(NrmToDegrees(s.cursorPosition.lat));
        if (TCoordGadget* g = frame->CoordGadget(kLongitudeGadget))
            g->SetValue(NrmToDegrees(s.cursorPosition.lon));
    }
    if (auto* position = dynamic_cast<TGPSPosDlg*>(gpsPosDlg)) {
        position->showCursor = s.routeState == 2 || s.routeState == 3;
        if (position->showCursor) {
            position->cursorLon = NrmToDegrees(s.cursorPosition.lon);
            position->cursorLat = NrmToDegrees(s.cursorPosition.lat);
            position->Update();
        }
    }
}

// ---------------------------------------------------------------------------
// Left clicks

void TMapWindow::EvLButtonDown(ui::UINT, const ui::TPoint& point) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    clientRect = GetClientRect();
    clientCentre = ClientCentre(clientRect);
    s.lastShownHint = -1;
    // The click is where the cursor is, also when no move brought it there.
    cursorClient = ClientPoint{point.x, point.y};
    cursorPoint = ToChart(cursorClient, clientRect);
    if (map) s.cursorPosition = GeoPointOf(*map, cursorPoint);

    if (s.deleteSymbolMode) {
        DrawUserObjectsOfKind(GetDC(), kDeleteSymbol);
        return;
    }
    if (s.placeSymbolMode) {
        DrawStripSymbol(GetDC(), point.x, point.y, settings.currentSymbol,
                        settings.currentSymbolColour);
        if (memPicture1)
            DrawStripSymbol(*memPicture1, point.x, point.y, settings.currentSymbol,
                            settings.currentSymbolColour);
        PlaceSymbol(settings.currentSymbol, settings.currentSymbolColour, 0);
        return;
    }
    if (s.routeState == 2) {
        if (++editCount >= kMostPlacedPoints)
            CmEndEditing();
        else
            PlaceRoutePoint(GetDC(), 1);
        return;
    }
    if (s.routeState == 3 && s.pendingGrab == 0) {
        EditedRouteClick(point);
        return;
    }
    if (s.pendingGrab != 0) {
        PendingGrabClick(true);
        return;
    }
    if (s.tideFlag == 2 && TideStationClick(point)) return;
    if (s.informationMode) {
        InformationClick(point);
        return;
    }
    if (s.routeState == 1 && HitRouteTablePoint(point.x, point.y)) {
        // A point of the followed route: marked when it still lies ahead.
        const int index = s.pickedPointNumber - 1;
        if (index >= s.destinationIndex) {
            s.markedRoutePoint = index;
            s.redrawRequest = 1;
        }
        return;
    }

    // Re-centre at the click and zoom in. A zoom that does nothing leaves
    // the view as it was, so the centre stays the Map's.
    const GeoPoint before = centre;
    const std::uint8_t following = s.followFlag;
    if (!same(s.cursorPosition, centre)) {
        s.followFlag = 0;
        centre = GeoPoint{deg2nrm(NrmToDegrees(s.cursorPosition.lon)),
                          deg2nrm(NrmToDegrees(s.cursorPosition.lat))};
    }
    if (!ZoomInStep()) {
        centre = before;
        s.followFlag = following;
    }
}

void TMapWindow::EditedRouteClick(const ui::TPoint& point) {
    TChartWindowState& s = ChartWindowState();
    const TChartSettings& settings = ChartSettings();
    const int count = std::clamp(s.routePointCount, 0, kRoutePointMax);
    // The leg that ends at table index i is record i - 1.
    const auto limitLegTo = [&](int index) {
        if (index >= 1 && index < kRoutePointMax)
            s.routePoints[std::size_t(index - 1)].crossTrackLimit = settings.crossTrackLimit;
    };

    if (s.grabbedPoint > 0) {
        // The drop: the grabbed point's POINT record, found by its stored
        // number, takes the cursor position.
        const int grabbed = s.grabbedPoint;
        const int number = s.forwardFlag ? grabbed : count - grabbed + 1;
        PointBytes bytes{};
        TStoreRecordCalls& calls = StoreRecordCalls();
        if (number >= 1 && number <= 0xFFFF &&
            calls.EQLREC(kPointKey, PointKey(s.activeRouteId, std::uint16_t(number)).data(),
                         bytes.data()) == 0) {
            PointRecord p = PointRecord::Decode(bytes);
            p.latitude = BinaryAngleToStoreUnits(s.cursorPosition.lat);
            p.longitude = BinaryAngleToStoreUnits(s.cursorPosition.lon);
            p.speed = p.course =
                static_cast<std::uint16_t>(std::clamp(settings.crossTrackLimit, 0, 0xFFFF));
            calls.RWTREC(kPointFileNumber, p.Encode().data());
        }
        if (grabbed <= count) {
            RoutePoint& r = s.routePoints[std::size_t(grabbed - 1)];
            r.x = point.x;
            r.y = point.y;
            r.lon = s.cursorPosition.lon;
            r.lat = s.cursorPosition.lat;
        }
        s.grabbedPoint = 0;
        return;
    }
    if (HitRouteTablePoint(point.x, point.y)) {
        s.grabbedPoint = s.pickedPointNumber;
        limitLegTo(s.grabbedPoint - 1);
        return;
    }

    // Through the store: a point of the route, or a leg to insert into.
    s.pickedIndex = -1;
    DrawUserObject(GetDC(), kPickRoute, s.activeRouteId);
    if (s.pickedIndex < 0) return;
    const int picked = s.pickedIndex; // store order
    // A table (travel) number of store position `index`.
    const auto tableNumber = [&](int index, int points) {
        return s.forwardFlag ? index + 1 : points - index;
    };
    if (s.pickedFlag) {
        s.pickedFlag = 0;
        s.grabbedPoint = tableNumber(picked, count);
        return;
    }
    if (!InsertOrDeleteObjectPoint(picked + 1, true)) return;
    // The new point is stored as picked + 2; in travel order it is the one
    // after the leg's start forward, before it reversed.
    s.grabbedPoint = s.forwardFlag ? picked + 2 : count - picked;
    const int inserted = s.grabbedPoint - 1;
    limitLegTo(inserted);
    ++editCount;
    if (s.markedRoutePoint >= inserted) ++s.markedRoutePoint;
    ++s.routePointCount;
}

void TMapWindow::PendingGrabClick(bool forward) {
    TChartWindowState& s = ChartWindowState();
    s.listMode = 0;
    const int grab = s.pendingGrab;
    DrawUserObjectsOfKind(GetDC(), grab + kPickOffset);
    if (grab == kGrabRoute && s.activeRouteId != 0) {
        s.followRouteRequest = 1;
        s.forwardFlag = forward ? 1 : 0;
    }
    if (s.activeRouteId == 0) s.routeTableFill = 0;
    s.pendingGrab = 0;
    s.cursorRequest = kCursorChart;
    if (forward) s.statusHint = s.statusHint == kHintPickedRoute ? kHintChangeRoute : kHintDefault;
    s.redrawRequest = 1;
}

bool TMapWindow::TideStationClick(const ui::TPoint& point) {
    if (!map) return false;
    const WaitCursor wait;
    const ui::TRect client = GetClientRect();
    const int ports = TD_GetNumPorts();
    for (int i = 0; i < ports; ++i) {
        IndexFileStruct port{};
        if (TD_GetTidePoint(i, &port) != 0) continue;
        const GeoPoint g{deg2nrm(port.lon / 60.0), deg2nrm(port.lat / 60.0)};
        // The station's mark in client points, where the click is.
        const ClientPoint mark = ClientPointOf(*map, g, client);
        if (std::hypot(double(mark.x - point.x), double(mark.y - point.y)) >= kTideStationReach)
            continue;
        // Modeless, a child of the chart window, which deletes it.
        auto* tide = new TTideDialog(this, port.lat, port.lon, packedToday(), kTideStep);
        if (!tide->Create()) delete tide;
        return true;
    }
    return false;
}

void TMapWindow::InformationClick(const ui::TPoint& point) {
    TChartWindowState& s = ChartWindowState();
    s.pickedFlag = 0;
    bool routePoint = false;
    {
        const WaitCursor wait;
        DrawUserObjectsOfKind(GetDC(), kInfoSymbol);
        if (s.activeRouteId != 0 && !s.pickedFlag) {
            DrawUserObjectsOfKind(GetDC(), kInfoRoutePoint);
            routePoint = s.pickedFlag != 0;
        }
    }
    const ScreenPoint at = ToScreen(*this, ClientPoint{point.x, point.y});
    if (s.pickedFlag) {
        // The pick's values first: the dialog's ticks may change them.
        const IdRecord object = s.editedObject;
        const int number = routePoint ? s.pickedPointNumber : 0;
        TDbInfoDialog info(this, ui::TPoint(at.x, at.y), object, number);
        if (info.Execute() == kChartInfoButton) ShowObjectInfo(point);
    } else {
        ShowObjectInfo(point);
    }
    ui::SetCursorPos(at.x, at.y);
}

// ---------------------------------------------------------------------------
// Right clicks

void TMapWindow::EvRButtonDown(ui::UINT, const ui::TPoint& point) {
    TChartWindowState& s = ChartWindowState();
    clientRect = GetClientRect();
    clientCentre = ClientCentre(clientRect);
    s.lastShownHint = -1;
    cursorClient = ClientPoint{point.x, point.y};
    cursorPoint = ToChart(cursorClient, clientRect);

    if (s.placeSymbolMode) {
        releaseButton(*this, kPlaceSymbolsButton);
        s.placeSymbolMode = false;
    } else if (s.deleteSymbolMode) {
        releaseButton(*this, kDeleteButton);
        if (s.storeChanged) s.redrawRequest = 1;
        s.deleteSymbolMode = false;
        s.cursorRequest = kCursorChart;
    } else if (s.informationMode) {
        releaseButton(*this, kInformationButton);
        s.informationMode = false;
        s.cursorRequest = kCursorChart;
    } else if (s.routeState == 3 && s.grabbedPoint == 0) {
        if (HitRouteTablePoint(point.x, point.y)) {
            const int index = s.pickedPointNumber - 1;
            if (InsertOrDeleteObjectPoint(index + 1, false)) {
                if (s.markedRoutePoint > index) --s.markedRoutePoint;
                --s.routePointCount;
                --editCount;
                DrawOwnShipOverlay(GetDC(), s.ownShipClient.x, s.ownShipClient.y, false);
            }
        }
        return;
    } else if (s.routeState == 2) {
        return;
    } else if (s.pendingGrab == 0) {
        // Re-centre at the click and zoom out; a zoom that does nothing
        // leaves the view as it was.
        const GeoPoint before = centre;
        const std::uint8_t following = s.followFlag;
        if (map) s.cursorPosition = GeoPointOf(*map, cursorPoint);
        if (!same(s.cursorPosition, centre)) {
            s.followFlag = 0;
            centre = s.cursorPosition;
        }
        if (!ZoomOutStep()) {
            centre = before;
            s.followFlag = following;
        }
        return;
    } else {
        // A pending grab is a pick: the view stays.
        PendingGrabClick(false);
    }
    s.statusHint = kHintDefault;
}

// ---------------------------------------------------------------------------
// Size and activation

void TMapWindow::EvSize(ui::UINT sizeType, const ui::TSize& size) {
    DefaultProcessing(ui::WM_SIZE, sizeType,
                      ui::MAKELPARAM(std::uint16_t(size.cx), std::uint16_t(size.cy)));
    TChartWindowState& s = ChartWindowState();
    Invalidate(true);
    s.recentreRequest = 1;
    s.readoutRebuild = 1;
    if (s.followingState == 1 || s.routeState > 0) {
        clientRect = GetClientRect();
        clientCentre = ClientCentre(clientRect);
        // One unit east, so the centre differs and the Map and the route's
        // client points are made for the new size.
        const GeoPoint moved{std::int32_t(std::uint32_t(centre.lon) + 1u), centre.lat};
        MoveCentre(NrmToDegrees(moved.lon), NrmToDegrees(moved.lat), true);
    }
}

void TMapWindow::EvMDIActivate(ui::HWND activated, ui::HWND deactivated) {
    const ui::HWND self = GetHandle();
    if (self && activated == self) flags |= 1u;
    if (self && deactivated == self) flags &= ~1u;
}

// ---------------------------------------------------------------------------
// The chart objects under a click

void TMapWindow::ShowObjectInfo(const ui::TPoint& point) {
    TGeoDb* database = ChartDatabase();
    if (!database || !map) return;
    const ui::TRect client = GetClientRect();
    const ClientPoint at{point.x, point.y};
    const ScreenPoint screen = ToScreen(*this, at);

    const ChartPoint c = ToChart(at, client);
    GeoRect rect = ChartPassGeoRect(*map, Rect{c.x - kLookUpReach, c.y - kLookUpReach,
                                               c.x + kLookUpReach, c.y + kLookUpReach});
    const TGdbFormula formula{
        0, static_cast<std::uint32_t>(displayMaskA), 0x0FFFFFFF, 2, 1, 0, 0, nullptr, 0, nullptr,
        0};
    auto root = std::make_unique<TObjView>();
    {
        TGdbQuery query(*database);
        query.setFormula(&formula);
        if (!query.open(rect, static_cast<unsigned long>(round(levelScale, 0)), nullptr)) return;
        MapObject reuse(egtPoint, -1);
        lookupShape_ = &reuse;
        while (GdbObject* object = query.next()) {
            if (object->HasParent()) continue;
            if (object->GetLabel() == kCoverageClass) {
                if (!root->Object() && Projects(*object, map.get(), rect)) {
                    root->SetObject(object->clone());
                    FillObjectNode(*object, *root);
                }
                continue;
            }
            AddObjectTree(*object, *root, map.get(), rect);
        }
        lookupShape_ = nullptr;
        query.close();
    }
    if (!root->Object()) return; // no chart here: nothing is shown
    TObjectInfoDialog info(this, ui::TPoint(screen.x, screen.y), std::move(root));
    info.Execute();
}

void TMapWindow::AddObjectTree(GdbObject& object, TObjView& parent, Map* on, GeoRect& rect) {
    if (!object.HasParent()) {
        int type = egtEmpty;
        if (!Projects(object, on, rect, &type)) return;
        if (type == egtEmpty) {
            // An object without a shape of its own stands by its first child.
            GdbObject* first = object.FirstChild();
            if (first && !Projects(*first, on, rect)) return;
        }
    }
    const int code = object.GetLabel();
    if (std::find(std::begin(kUnlistedClasses), std::end(kUnlistedClasses), code) !=
        std::end(kUnlistedClasses))
        return;
    TObjView& node = parent.Append(std::make_unique<TObjView>(object.clone()));
    FillObjectNode(object, node);
    for (GdbObject* child = object.FirstChild(); child; child = object.NextChild())
        AddObjectTree(*child, node, on, rect);
}

void TMapWindow::FillObjectNode(GdbObject& object, TObjView& node) {
    node.SetClassName(ObjectClassNameText(object));
    if (!node.ObjectName()) node.SetObjectName(ObjectNameText(object));
    node.SetAttributes(ObjectAttributeText(object));
}
