#include "chart/KVViewerMDIClient.h"

#include "ViewerExchange.h"
#include "app/ViewerPalette.h"
#include "chart/ChartLevels.h"
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "ui/Screen.h"

namespace {

constexpr std::array<std::array<ui::TColor, kSchemeColourCount>, 4> kSchemeColours = {{
    {0x00FFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x808080,
     0xC0C0C0},
    {0x00BFBF, 0x585858, 0xD0D0D0, 0xFFFFFF, 0xFFFFFF, 0x505050, 0x808080, 0xA0A0A0, 0x606060,
     0x707070},
    {0x007F7F, 0x404040, 0x909000, 0xD0D0D0, 0x909090, 0x202020, 0x585858, 0x787878, 0x404040,
     0x484848},
    {0x007F7F, 0x000000, 0x009000, 0x909090, 0x909090, 0x000000, 0x404040, 0x606060, 0x202020,
     0x303030},
}};

// Where the first chart window looks.
constexpr double kStartLongitude = 10, kStartLatitude = 59;

TChartWindowFactory& chartWindowFactory() {
    static TChartWindowFactory factory;
    return factory;
}

TMapWindow* makeChartWindow(ui::TMDIClient& client, int levelIndex) {
    if (const TChartWindowFactory& f = chartWindowFactory())
        return f(client, "", levelIndex, kStartLongitude, kStartLatitude);
    return new TMapWindow(client, "", levelIndex, kStartLongitude, kStartLatitude);
}

void setSysColors(const std::array<ui::TColor, kSchemeColourCount>& colours) {
    ui::SetSysColors(kSchemeColourCount, kSchemeColourElements.data(), colours.data());
}

} // namespace

DEFINE_RESPONSE_TABLE1(KVViewerMDIClient, ui::TMDIClient)
EV_WM_PARENTNOTIFY, EV_COMMAND(CM_SCHEME_DAY, CmScheme<CM_SCHEME_DAY>),
    EV_COMMAND(CM_SCHEME_DUSK, CmScheme<CM_SCHEME_DUSK>),
    EV_COMMAND(CM_SCHEME_NIGHT, CmScheme<CM_SCHEME_NIGHT>),
    EV_COMMAND(CM_SCHEME_DARK_NIGHT, CmScheme<CM_SCHEME_DARK_NIGHT>), EV_COMMAND(111, CmLevel<111>),
    EV_COMMAND(112, CmLevel<112>), EV_COMMAND(113, CmLevel<113>), EV_COMMAND(114, CmLevel<114>),
    EV_COMMAND(115, CmLevel<115>), EV_COMMAND(116, CmLevel<116>), EV_COMMAND(117, CmLevel<117>),
    EV_COMMAND(118, CmLevel<118>), END_RESPONSE_TABLE;

void SetChartWindowFactory(TChartWindowFactory factory) {
    chartWindowFactory() = std::move(factory);
}

KVViewerMDIClient::KVViewerMDIClient(ui::TModule* module) : TMDIClient(module) {
    SetBkgndColor(ui::RGB(128, 128, 128));
    const int element = ui::COLOR_INFOBK;
    const ui::TColor yellow = kSchemeColours[0][0];
    ui::SetSysColors(1, &element, &yellow);
}

KVViewerMDIClient::~KVViewerMDIClient() {
    std::array<ui::TColor, kSchemeColourCount> colours = kSchemeColours[0];
    colours[0] = 0xFFFFFF; // COLOR_INFOBK
    setSysColors(colours);
}

void KVViewerMDIClient::SetupWindow() {
    TMDIClient::SetupWindow();
    SelectLevel(118);
}

// The frame's command state needs no call: the window layer runs every
// enabler at the idle pass that follows the message being handled.
void KVViewerMDIClient::SelectLevel(ui::UINT command) {
    const TChartLevel* level = ChartLevelByCommand(int(command));
    if (!level) return;
    TChartWindowState& s = ChartWindowState();
    s.detailWord = level->engineScaleLevel;
    // A level chosen here uses up one automatic change upwards.
    if (s.autoChartRequest > 0) --s.autoChartRequest;
    if (chartWindow_) {
        TMapWindow& w = *chartWindow_;
        w.zoomFactor = 1.0;
        w.levelIndex = level->index;
        w.levelScale = level->levelScale;
        w.displayScale = level->displayScale;
        // The view is made again at the new scale, not kept at the old Map's.
        w.Rescale(level->displayScale);
        return;
    }
    chartWindow_ = makeChartWindow(*this, level->index);
    if (chartWindow_ && IsWindow() && chartWindow_->Create()) chartWindow_->ShowWindow(ui::SW_SHOW);
}

void KVViewerMDIClient::SelectScheme(ui::UINT command) {
    if (command < ui::UINT(CM_SCHEME_DAY) || command > ui::UINT(CM_SCHEME_DARK_NIGHT)) return;
    const int scheme = int(command) - CM_SCHEME_DAY;
    TChartWindowState& s = ChartWindowState();
    setSysColors(kSchemeColours[std::size_t(scheme)]);
    SelectPaletteScheme(scheme);
    s.illuminationLevel = scheme;
    if (chartWindow_) chartWindow_->ApplySchemePens(scheme);
    s.darkDisplay = s.illuminationLevel > 0 || s.darkSwitch ? 1 : 0;
    if (IsViewerExchangeLoaded()) SetViewerIllumination(s.illuminationLevel);
    // Pixels cannot be recoloured in place: the chart picture is drawn again.
    s.pictureUpToDate = 0;
    s.redrawRequest = 1;
}

bool KVViewerMDIClient::IdleAction(long idleCount) {
    const bool more = TMDIClient::IdleAction(idleCount);
    TChartWindowState& s = ChartWindowState();
    if (s.levelRequest != kNoLevelRequest) {
        // -1 stands for the overview, index 7; an index without a level selects nothing.
        const int index = s.levelRequest == -1 ? 7 : s.levelRequest;
        s.levelRequest = kNoLevelRequest;
        if (const TChartLevel* level = ChartLevelByIndex(index))
            SelectLevel(ui::UINT(level->command));
    }
    if (s.requestedIllumination != s.illuminationLevel) {
        if (s.requestedIllumination >= 0 && s.requestedIllumination <= 3)
            SelectScheme(ui::UINT(s.requestedIllumination + CM_SCHEME_DAY));
        else
            s.requestedIllumination = s.illuminationLevel;
    }
    return more;
}

void KVViewerMDIClient::EvParentNotify(ui::UINT event, ui::HWND child, ui::UINT) {
    if (event == ui::WM_DESTROY && chartWindow_ && child && child == chartWindow_->GetHandle())
        chartWindow_ = nullptr;
}
