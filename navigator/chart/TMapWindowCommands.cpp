// The chart window's commands from its floating tool box and their enablers,
// the help operation, the tool box itself and the timer's cursor step.
//
// Each command changes a few values of the interaction state
// (ChartWindowState.h) and asks for a redraw or a cursor shape; the timer, the
// drawing and picking passes, the mouse handlers and the MDI client act on
// them. The enablers run at idle, before the MDI client's idle work.
#include "chart/TMapWindow.h"

#include "app/KVViewerApp.h"
#include "app/ViewerModule.h"
#include "chart/ChartWindowState.h"
#include "chart/TFloatingToolBox.h"
#include "dialogs/TF1Dlg.h"
#include "dialogs/TListDlg.h"
#include "route/RouteFollowing.h"
#include "store/DbaseWin.h"
#include "ui/Cursor.h"
#include "ui/Gadgets.h"
#include "ui/MessageBox.h"

#include <algorithm>
#include <utility>

namespace {

// Commands (and tool-box buttons) of the chart window.
constexpr int kChangeRoute = 52, kNewRoute = 53, kEndEditing = 55, kDelete = 56, kPlaceSymbols = 57;
// Status hints (MapWindowRules.h) the commands show.
constexpr int kHintDefault = 0, kHintChooseRoute = 3, kHintChangeRoute = 4, kHintNewRoute = 5,
              kHintDeleteSymbols = 6, kHintPlaceSymbols = 7, kHintInformation = 12;
// Cursor requests.
constexpr int kCursorChart = 1, kCursorInformation = 2, kCursorDelete = 4, kCursorIdle = 7;
// The pass over the stored routes that lists their names (list kind 2).
constexpr int kListRoutes = 202;
constexpr int kListKindRoutes = 2, kListModeRoute = 2;

// Where the cursor is put after some commands (screen pixels).
constexpr ScreenPoint kNearToolBoxTop{50, 75}, kNearNewRoute{50, 100}, kNearToolBoxMiddle{50, 125},
    kAfterRouteDeleted{50, 150};
// From the client centre to the confirmation box's OK button.
constexpr int kConfirmDx = 30, kConfirmDy = 72;

// The cursor of each request 1 to 7: a resource of the program's module, or
// (0) the system's wait cursor.
constexpr int kCursorResources[8] = {0, 19994, 19995, 19996, 19997, 0, 19998, 19999};
constexpr int kWaitRequest = 5;

void setCursorPos(const ScreenPoint& p) {
    ui::SetCursorPos(p.x, p.y);
}

bool routeStateAllowsEditing(const TChartWindowState& s) {
    return s.routeState == 0 || s.routeState == 1;
}

bool symbolModeOn(const TChartWindowState& s) {
    return s.placeSymbolMode || s.deleteSymbolMode;
}

// The active route's table emptied: no point, no length, nothing marked. The
// following that steered by it stops, so no autopilot sentence is sent from a
// route that is gone.
void emptyRouteTable(TChartWindowState& s) {
    s.routePointCount = 0;
    s.routeTotal = 0;
    s.markedRoutePoint = -1;
    StopRouteFollowing(s);
}

} // namespace

// ---------------------------------------------------------------------------
// Help, the tool box and the cursor

void TMapWindow::ShowHelp() {
    TF1Dlg help(this);
    help.Execute();
}

void TMapWindow::ShowToolBox() {
    TChartWindowState& s = ChartWindowState();
    if (!toolBox) {
        const KVViewerApp* app = GetViewerApp();
        auto* box = new TFloatingToolBox(this, IsViewerExchangeLoaded(), Is3DViewAvailable(),
                                         app ? app->GetTooltip() : nullptr, GetModule());
        toolBox = box;
        if (IsWindow()) box->Create();
        if (FrameIsZoomed() && s.activeRouteId == 0) setCursorPos(kNearToolBoxMiddle);
    }
    // The editing a call can leave stale: the symbol modes and their buttons.
    s.placeSymbolMode = false;
    s.deleteSymbolMode = false;
    for (int command : {kPlaceSymbols, kDelete})
        if (ui::TButtonGadget* b = ToolBoxButton(command)) b->SetButtonState(ui::TButtonGadget::Up);
}

void TMapWindow::ApplyCursorRequest() {
    TChartWindowState& s = ChartWindowState();
    const int request = std::exchange(s.cursorRequest, 0);
    if (request <= 0 || request > kCursorIdle) return;
    s.cursorKind = request;
    if (request != kCursorInformation && request != kCursorIdle) s.informationOffRequest = true;
    if (request == kWaitRequest)
        SetCursor(nullptr, ui::IDC_WAIT);
    else
        SetCursor(&ViewerModule(), kCursorResources[request]);
    if (request == kCursorIdle) s.cursorRequest = kCursorChart;
}

// ---------------------------------------------------------------------------
// Commands

void TMapWindow::CmChooseRoute() {
    TChartWindowState& s = ChartWindowState();
    s.statusHint = kHintChooseRoute;
    s.activeRouteId = 0;
    s.forwardFlag = 1;
    emptyRouteTable(s);
    s.routeState = 0;
    s.routeTableFill = 1;
    s.routeExtension = 0;
    if (!listDlg) {
        s.listMode = kListModeRoute;
        auto* list = new TListDlg(this);
        if (list->Create()) {
            listDlg = list;
            list->ShowWindow(ui::SW_SHOW);
            // The named routes of the store, into the chooser.
            s.listKind = kListKindRoutes;
            DrawUserObjectsOfKind(GetDC(), kListRoutes);
        } else {
            delete list;
        }
    }
    s.redrawRequest = 1;
    setCursorPos(kNearToolBoxMiddle);
}

void TMapWindow::CmChangeRoute() {
    TChartWindowState& s = ChartWindowState();
    if (s.ownShipInserted) {
        s.ownShipInserted = 0;
        if (s.routePointCount > 0) {
            const int n = std::min(s.routePointCount, kRoutePointMax);
            std::move(s.routePoints.begin() + 1, s.routePoints.begin() + n, s.routePoints.begin());
            s.routePoints[std::size_t(n - 1)] = RoutePoint{};
            --s.routePointCount;
            // The waypoint steered for keeps its place in the route.
            if (s.destinationIndex > 0) --s.destinationIndex;
        }
    }
    s.cursorRequest = kCursorChart;
    s.routeState = 3;
    editCount = s.routePointCount;
    s.statusHint = kHintChangeRoute;
    s.redrawRequest = 1;
    if (FrameIsZoomed()) setCursorPos(kNearToolBoxTop);
}

void TMapWindow::CmNewRoute() {
    TChartWindowState& s = ChartWindowState();
    const ui::TButtonGadget* button = ToolBoxButton(kNewRoute);
    if (button && button->GetButtonState() == ui::TButtonGadget::Up) {
        // Switched off.
        s.activeRouteId = 0;
        s.markedRoutePoint = -1;
        editCount = 0;
        s.routeState = 0;
        s.redrawRequest = 1;
        return;
    }
    s.cursorRequest = kCursorChart;
    editCount = 0;
    s.routeState = 2;
    s.activeRouteId = 0;
    emptyRouteTable(s);
    s.forwardFlag = 1;
    s.routeTableFill = 1;
    s.routeExtension = 0;
    s.statusHint = kHintNewRoute;
    setCursorPos(kNearNewRoute);
}

void TMapWindow::CmEndEditing() {
    TChartWindowState& s = ChartWindowState();
    const bool routeEdited = s.routeState == 2 || s.routeState == 3;
    for (int command : {kPlaceSymbols, kDelete})
        if (ui::TButtonGadget* b = ToolBoxButton(command)) b->SetButtonState(ui::TButtonGadget::Up);
    s.placeSymbolMode = false;
    s.deleteSymbolMode = false;
    if (routeEdited)
        for (int command : {kChangeRoute, kNewRoute})
            if (ui::TButtonGadget* b = ToolBoxButton(command))
                b->SetButtonState(ui::TButtonGadget::Up);

    auto* store = dynamic_cast<DbaseWin*>(dbaseWin);
    if (s.routeState == 3 && store && !store->Failed()) {
        // A length of 0 makes the next routes pass work out the edited
        // route's length and point count again.
        IdBytes bytes{};
        if (isam::EQLREC(kIdKey, IdKey(s.activeRouteId).data(), bytes.data()) == 0) {
            store->CurrentIdRecord = IdRecord::Decode(bytes);
            store->CurrentIdRecord.length = 0;
            isam::RWTREC(kIdFileNumber, store->CurrentIdRecord.Encode().data());
        }
    }
    s.cursorRequest = kCursorChart;

    if (routeEdited) {
        s.routeTableFill = 1;
        s.routeState = 0;
        emptyRouteTable(s);
        if (editCount < 2) {
            // Too short to be a route: it goes, and no route is active.
            if (s.activeRouteId != 0 && store) store->DeleteObject(kKindRoute, s.activeRouteId);
            s.activeRouteId = 0;
        } else {
            s.followRouteRequest = 1;
        }
        s.redrawRequest = 1;
    }

    editCount = 0;
    s.cursorBearing = 0;
    s.cursorDistance = 0;
    if (auto* bearing = dynamic_cast<TMapDialog*>(bearingInfoDlg)) bearing->Update();
    s.redrawRequest = 1;
    s.routeState = s.activeRouteId != 0 && !s.followRouteRequest ? 1 : 0;
    s.statusHint = kHintDefault;
}

void TMapWindow::CmDelete() {
    TChartWindowState& s = ChartWindowState();
    if (s.activeRouteId != 0) {
        const ClientPoint c = ClientCentre(GetClientRect());
        // The client centre taken as a screen point: the box comes up in the
        // middle of the screen, and the pointer lands beside its OK button.
        ui::SetCursorPos(c.x + kConfirmDx, c.y + kConfirmDy);
        if (ui::MessageBox(nullptr, "Bekreftes !!", "Slette valgt rute",
                           ui::MB_OKCANCEL | ui::MB_ICONQUESTION | ui::MB_TASKMODAL) == ui::IDOK) {
            delete std::exchange(routeInfoDlg1, nullptr);
            delete std::exchange(routeInfoDlg2, nullptr);
            if (auto* store = dynamic_cast<DbaseWin*>(dbaseWin))
                store->DeleteObject(kKindRoute, s.activeRouteId);
            s.activeRouteId = 0;
            emptyRouteTable(s);
            editCount = 0;
            s.routeState = 0;
            s.redrawRequest = 1;
            if (ui::TButtonGadget* b = ToolBoxButton(kDelete))
                b->SetButtonState(ui::TButtonGadget::Up);
            setCursorPos(kAfterRouteDeleted);
            return;
        }
    }
    s.deleteSymbolMode = true;
    s.placeSymbolMode = false;
    s.cursorRequest = kCursorDelete;
    s.statusHint = kHintDeleteSymbols;
    if (FrameIsZoomed()) setCursorPos(kNearToolBoxTop);
}

void TMapWindow::CmPlaceSymbols() {
    TChartWindowState& s = ChartWindowState();
    s.placeSymbolMode = true;
    s.deleteSymbolMode = false;
    s.cursorRequest = kCursorChart;
    s.statusHint = kHintPlaceSymbols;
    if (FrameIsZoomed()) setCursorPos(kNearToolBoxMiddle);
}

void TMapWindow::CmObjectInfo() {
    TChartWindowState& s = ChartWindowState();
    if (!s.informationAllowed) return;
    s.informationMode = !s.informationMode;
    s.cursorRequest = s.informationMode ? kCursorInformation : kCursorChart;
    s.statusHint = s.informationMode ? kHintInformation : kHintDefault;
}

void TMapWindow::CmIllumination() {
    TChartWindowState& s = ChartWindowState();
    // Day at night and at dusk, night by day.
    s.requestedIllumination = s.illuminationLevel == 0 ? 2 : 0;
    Invalidate();
}

void TMapWindow::CmRelief() {
    TChartWindowState& s = ChartWindowState();
    s.reliefSwitch = s.reliefSwitch ? 0 : 1;
    if (s.reliefSwitch && !s.reliefReady) s.pictureUpToDate = 0;
    s.redrawRequest = 1;
}

// The button "Fjerne loddskudd > 5 m." is down while the soundings switch is
// off, that is while the program's own sounding procedures draw the chart.
void TMapWindow::CmSoundings() {
    std::uint8_t& on = ChartSettings().soundingsSwitch;
    on = on ? 0 : 1;
    TChartWindowState& s = ChartWindowState();
    s.pictureUpToDate = 0;
    s.redrawRequest = 1;
}

void TMapWindow::Cm3DView() {
    ApplyExchangeRequests(Run3DViewCommand(ExchangeInput(NavSnapshot())));
}

// ---------------------------------------------------------------------------
// Enablers

void TMapWindow::CeChooseRoute(ui::TCommandEnabler& ce) {
    ce.Enable(true);
}

void TMapWindow::CeChangeRoute(ui::TCommandEnabler& ce) {
    const TChartWindowState& s = ChartWindowState();
    ce.Enable(s.routeState == 1 && !symbolModeOn(s));
}

void TMapWindow::CeNewRoute(ui::TCommandEnabler& ce) {
    const TChartWindowState& s = ChartWindowState();
    ce.Enable(routeStateAllowsEditing(s) && !symbolModeOn(s));
}

void TMapWindow::CeEndEditing(ui::TCommandEnabler& ce) {
    const TChartWindowState& s = ChartWindowState();
    ce.Enable(s.routeState == 2 || s.routeState == 3 || symbolModeOn(s));
}

void TMapWindow::CeDelete(ui::TCommandEnabler& ce) {
    const TChartWindowState& s = ChartWindowState();
    ce.Enable(routeStateAllowsEditing(s) && !s.informationMode);
}

void TMapWindow::CePlaceSymbols(ui::TCommandEnabler& ce) {
    CeDelete(ce);
}

void TMapWindow::CeObjectInfo(ui::TCommandEnabler& ce) {
    TChartWindowState& s = ChartWindowState();
    ce.SetCheck(s.informationMode ? ui::TCommandEnabler::Checked : ui::TCommandEnabler::Unchecked);
    s.informationAllowed = routeStateAllowsEditing(s) && !symbolModeOn(s);
    ce.Enable(s.informationAllowed);
    if ((s.informationOffRequest && s.informationMode) || !s.informationAllowed)
        s.informationMode = false;
    s.informationOffRequest = false;
    if (s.informationMode && s.statusHint == kHintDefault) {
        s.statusHint = kHintInformation;
        s.lastShownHint = -1;
    }
}

void TMapWindow::CeIllumination(ui::TCommandEnabler& ce) {
    ce.Enable(true);
}

void TMapWindow::CeRelief(ui::TCommandEnabler& ce) {
    ce.Enable(true);
}

void TMapWindow::CeSoundings(ui::TCommandEnabler& ce) {
    ce.Enable(true);
    ce.SetCheck(ChartSettings().soundingsSwitch ? ui::TCommandEnabler::Unchecked
                                                : ui::TCommandEnabler::Checked);
}

void TMapWindow::CeFollowOwnShip(ui::TCommandEnabler& ce) {
    ce.SetCheck(ChartWindowState().followFlag ? ui::TCommandEnabler::Checked
                                              : ui::TCommandEnabler::Unchecked);
}

void TMapWindow::Ce3DView(ui::TCommandEnabler& ce) {
    ce.SetCheck(Is3DViewRunning() ? ui::TCommandEnabler::Checked : ui::TCommandEnabler::Unchecked);
}
