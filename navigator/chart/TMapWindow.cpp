#include "chart/TMapWindow.h"

#include "app/KVViewerApp.h"
#include "app/ViewerModule.h"
#include "chart/ChartLevels.h"
#include "ui/Dialog.h"

#include <utility>

namespace {

// The chart window that holds the application's key hook.
TMapWindow* keyWindow = nullptr;

} // namespace

DEFINE_RESPONSE_TABLE1(TMapWindow, ui::TMDIChild)
EV_WM_PAINT, EV_WM_TIMER, EV_WM_KEYDOWN, EV_WM_MBUTTONDOWN, EV_WM_PARENTNOTIFY,
    EV_WM_MOUSEMOVE, EV_WM_LBUTTONDOWN, EV_WM_RBUTTONDOWN, EV_WM_SIZE, EV_WM_MDIACTIVATE,
    // The floating tool box's commands; 120 is the application's, its check
    // the chart window's.
    EV_COMMAND(97, CmChooseRoute), EV_COMMAND_ENABLE(97, CeChooseRoute),
    EV_COMMAND(52, CmChangeRoute), EV_COMMAND_ENABLE(52, CeChangeRoute), EV_COMMAND(53, CmNewRoute),
    EV_COMMAND_ENABLE(53, CeNewRoute), EV_COMMAND(55, CmEndEditing),
    EV_COMMAND_ENABLE(55, CeEndEditing), EV_COMMAND(56, CmDelete), EV_COMMAND_ENABLE(56, CeDelete),
    EV_COMMAND(57, CmPlaceSymbols), EV_COMMAND_ENABLE(57, CePlaceSymbols),
    EV_COMMAND(119, CmObjectInfo), EV_COMMAND_ENABLE(119, CeObjectInfo),
    EV_COMMAND(108, CmIllumination), EV_COMMAND_ENABLE(108, CeIllumination),
    EV_COMMAND(131, CmRelief), EV_COMMAND_ENABLE(131, CeRelief), EV_COMMAND(132, Cm3DView),
    EV_COMMAND_ENABLE(132, Ce3DView), EV_COMMAND_ENABLE(120, CeFollowOwnShip), END_RESPONSE_TABLE;

TMapWindow::TMapWindow(ui::TMDIClient& parent, const char* title, int levelIndex_, double lon,
                       double lat)
    : TMDIChild(parent, title, &ViewerModule()), levelIndex(levelIndex_), pens(StartupMapPens()) {
    symbolStrip = ViewerModule().LoadBitmap(kSymbolStripBitmap);
    Attr.Style |= ui::WS_MAXIMIZE;
    if (const TChartLevel* level = ChartLevelByIndex(levelIndex)) {
        levelScale = level->levelScale;
        displayScale = level->displayScale;
        centre = GeoPoint{deg2nrm(lon), deg2nrm(lat)};
    }
    keyWindow = this;
    SetChartKeyHandler([](const ui::MSG& msg) { return keyWindow && keyWindow->HookKey(msg); });
}

TMapWindow::~TMapWindow() {
    if (keyWindow == this) {
        keyWindow = nullptr;
        SetChartKeyHandler({});
    }
    symbolStrip.reset();
    // The pens are values: nothing to give back.
    KillTimer(kChartTimerId);
    // The list chooser last: the order the windows were given back in left it out.
    for (ui::TWindow** owned :
         {&windDlg, &depthDlg, &dateDlg, &dbaseWin, &gpsPosDlg, &sogCogDlg, &bearingInfoDlg,
          &toolBox, &routeInfoDlg1, &routeInfoDlg2, &listDlg, &helpDlg, &shortReadout})
        delete std::exchange(*owned, nullptr);
    map.reset();
    memPicture2.reset();
    memPicture1.reset();
}

const char* TMapWindow::GetClassName() {
    return "TMapWindow";
}

void TMapWindow::GetWindowClass(ui::WNDCLASS& wc) {
    TMDIChild::GetWindowClass(wc);
    wc.hbrBackground.reset(); // the chart paints its whole area
    wc.style |= ui::CS_OWNDC;
}

void TMapWindow::ApplySchemePens(int scheme) {
    ::ApplySchemePens(pens, scheme);
}

bool TMapWindow::HookKey(const ui::MSG& msg) {
    if (msg.message != ui::WM_KEYDOWN || !IsWindow() || !msg.hwnd) return false;
    // The chart window's keys are those pressed while the focus lies in the
    // frame the window is in (the window itself included), but not in a
    // dialog there.
    const ui::TWindow* frame = this;
    while (frame->GetParentO())
        frame = frame->GetParentO();
    bool inFrame = false;
    for (const ui::TWindow* w = ui::GetWindowPtr(msg.hwnd); w && !inFrame; w = w->GetParentO()) {
        if (dynamic_cast<const ui::TDialog*>(w)) return false;
        inFrame = w == frame;
    }
    if (!inFrame) return false;
    EvKeyDown(ui::UINT(msg.wParam), ui::LOWORD(std::uintptr_t(msg.lParam)),
              ui::HIWORD(std::uintptr_t(msg.lParam)));
    return true;
}
