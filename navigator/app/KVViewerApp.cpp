#include "app/KVViewerApp.h"

#include "TideWave.h"
#include "app/HelpCommand.h"
#include "app/TMyFrame.h"
#include "app/ViewerModule.h"
#include "app/ViewerPalette.h"
#include "app/ViewerSettings.h"
#include "chart/ChartWindowState.h"
#include "chart/KVViewerMDIClient.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/dictionaryTables.h"
#include "os/drives.h"
#include "os/instanceLocks.h"
#include "presentation/TPresLib.h"
#include "serial/SerialPorts.h"
#include "ui/Gadgets.h"
#include "ui/MessageBox.h"
#include "ui/Screen.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {

// The screen that the start-up assumes until the chart window measures its own.
constexpr int kScreenWidthMm = 280, kScreenHeightMm = 210;
constexpr int kPortCount = 6;

struct Hooks {
    TViewerAppFactory factory;
    TChartKeyHandler keyHandler;
    bool frameIconic = false, frameZoomed = false;
};

Hooks& hooks() {
    static Hooks h;
    return h;
}

} // namespace

DEFINE_RESPONSE_TABLE1(KVViewerApp, ui::TApplication)
EV_COMMAND(CM_FOLLOW_OWN_SHIP, CmFollowOwnShip), EV_COMMAND(CM_HELP, CmHelp), END_RESPONSE_TABLE;

KVViewerApp::TideFiles::~TideFiles() {
    if (loaded) TD_DoneTides();
}

KVViewerApp::KVViewerApp() : TApplication(kViewerTitle) {
    TViewerSettings& s = ViewerSettings();
    LoadPalettes(".");

    const gdi::DeviceCaps caps = ui::GetScreenCaps();
    pixelsPerMetreX_ = MulDiv(caps.horzRes, 1000, kScreenWidthMm);
    pixelsPerMetreY_ = MulDiv(caps.vertRes, 1000, kScreenHeightMm);

    // The dictionary files are named by appending to the folder. An empty
    // folder stays empty: it means the current one.
    std::string& dir = s.dictionaryDir;
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '/';

    dictionary_ = std::make_unique<TKV71Dictionary>("KV71Dictionary", dir.c_str());
    presLib_ = std::make_unique<TPresLib>(dictionary_.get(), "INT1Pres", dir.c_str());
    dictionary_->SetPresentation(presLib_.get());
    hosTable_ = _HosTable;
    chartDb_ =
        std::make_unique<TKV71Db>(*dictionary_, s.chartRoot.c_str(), s.cacheBytes, dir.c_str());

    if (!s.tideDir.empty()) {
        // A drive letter that names nothing here gives no tides, not the current folder's.
        std::string local = os::localPath(s.tideDir);
        if (!local.empty() && TD_LoadDataFiles(local.data()) == 0) tides_.loaded = true;
        tidesAvailable_ = tides_.loaded;
    }
    platformId_ = 2;

    os::PresenceLock& presence = ViewerPresenceLock();
    if (presence.activationFd() >= 0) WatchPresence(presence);
}

KVViewerApp::~KVViewerApp() {
    for (int port = 0; port < kPortCount; ++port)
        CloseComPort(port);
    chartDb_.reset();
    presLib_.reset();
    dictionary_.reset();
    // The tides close with their member; then the frame goes with the base.
}

bool KVViewerApp::InstanceCheck() {
    // This copy holds the lock since its settings were read.
    if (ViewerPresenceLock().activationFd() >= 0) return true;
    if (!os::isWindowPresent(kViewerTitle)) return true;
    os::requestActivation(kViewerTitle);
    return false;
}

bool KVViewerApp::InitInstance() {
    if (!InstanceCheck()) return false;
    if (!TApplication::InitInstance()) return false;
    const TViewerSettings& s = ViewerSettings();
    for (int port = 0; port < kPortCount; ++port) {
        const std::string& settings = s.comPorts[static_cast<std::size_t>(port)];
        if (!settings.empty()) OpenPort(port, settings.c_str()); // a failure is not reported
    }
    return true;
}

ui::TMDIClient* KVViewerApp::MakeMDIClient() {
    return new KVViewerMDIClient(&ViewerModule());
}

bool KVViewerApp::OpenPort(int port, const char* settings) {
    return OpenComPort(port, settings);
}

void KVViewerApp::InitMainWindow() {
    ui::TModule* module = &ViewerModule();
    ui::TMDIClient* client = MakeMDIClient();
    frame_ = new TMyFrame(*client, module);
    frame_->SetIcon(module, kViewerIcon);
    frame_->SetIconSm(module, kViewerIcon);
    nCmdShow = ui::SW_SHOWMAXIMIZED;
    frame_->SetBkgndColor(ui::GetSysColor(ui::COLOR_APPWORKSPACE));
    tooltip_ = new ui::TTooltip(frame_);
    SetMainWindow(frame_);
}

bool KVViewerApp::ProcessAppMsg(ui::MSG& msg) {
    if (frame_ && frame_->IsWindow()) NoteFrameStates(frame_->IsIconic(), frame_->IsZoomed());
    const Hooks& h = hooks();
    if (msg.message == ui::WM_KEYDOWN && h.keyHandler) return h.keyHandler(msg);
    return false;
}

void KVViewerApp::CmFollowOwnShip() {
    TChartWindowState& f = ChartWindowState();
    if (f.followFlag) {
        f.followFlag = 0;
        return;
    }
    f.followFlag = 1;
    f.autoChartCounter = 1000;
    f.autoChartRequest = 1;
}

void KVViewerApp::CmHelp() {
    RunHelpCommand(ViewerSettings().helpCommand);
}

KVViewerApp* GetViewerApp() {
    return dynamic_cast<KVViewerApp*>(ui::GetApplicationObject());
}

void SetViewerAppFactory(TViewerAppFactory factory) {
    hooks().factory = std::move(factory);
}

std::unique_ptr<KVViewerApp> MakeViewerApp() {
    return hooks().factory ? hooks().factory() : std::make_unique<KVViewerApp>();
}

void SetChartKeyHandler(TChartKeyHandler handler) {
    hooks().keyHandler = std::move(handler);
}

bool FrameIsIconic() {
    return hooks().frameIconic;
}

bool FrameIsZoomed() {
    return hooks().frameZoomed;
}

void NoteFrameStates(bool iconic, bool zoomed) {
    hooks().frameIconic = iconic;
    hooks().frameZoomed = zoomed;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t p = std::int64_t(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t magnitude = p < 0 ? -p : p, divisor = c < 0 ? -std::int64_t(c) : c;
    const std::int64_t q = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -q : q);
}

void FatalError(const char* text) {
    ui::MessageBox(nullptr, text, "ERROR !!",
                   ui::MB_TASKMODAL | ui::MB_ICONHAND | ui::MB_SETFOREGROUND);
    ui::PostQuitMessage(0);
}

void ShowStatusText(const char* format, ...) {
    const KVViewerApp* app = GetViewerApp();
    TMyFrame* frame = app ? app->GetFrame() : nullptr;
    // Without the program's application (tests), the main window's frame.
    if (!frame)
        if (const ui::TApplication* a = ui::GetApplicationObject())
            frame = FrameOfWindow(a->GetMainWindow());
    if (!frame || !frame->GetStatusBar()) return;
    char text[1000];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    frame->GetStatusBar()->SetText(text);
}
