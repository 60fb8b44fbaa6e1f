// The navigation program's application: the chart engine's objects and the
// tides for the run, the frame with its bars, the program's commands 120 and
// 135, the key hook of the chart window, and the two helpers every part of
// the program uses to report: FatalError and ShowStatusText.
//
//   LoadSettings();            // SOLVNV.INI
//   KVViewerApp app;           // palette, dictionary, presentation, chart database, tides
//   int result = app.Run();    // frame, ports, the loop
//
// The constructor, in order: the palette of ECPALETT.INI in the current
// folder; the screen's pixels per metre (a screen of 280 x 210 mm; the chart
// window works out its own); a separator at the end of the dictionary folder;
// the dictionary "KV71Dictionary", the presentation library "INT1Pres" on it,
// and the program's hydrographic source table; the one chart database on the
// chart root with the settings' cache size; the tides of the tide folder. What
// the engine throws (a text, or the look-up loaders' 10 and 11) passes on to
// the caller, and what was built is freed.
//
// The destructor closes ports 0 to 5, deletes the chart database, the
// presentation library and the dictionary in that order, and closes the tides
// when they were loaded.
#pragma once

#include "ui/Application.h"

#include <functional>
#include <memory>

class TKV71Dictionary;
class TKV71Db;
class TPresLib;
class TMyFrame;
struct KV71HosEntry;
namespace ui {
class TMDIClient;
class TTooltip;
} // namespace ui

// Commands of the application.
inline constexpr int CM_FOLLOW_OWN_SHIP = 120;
inline constexpr int CM_HELP = 135;

class KVViewerApp : public ui::TApplication {
  public:
    KVViewerApp();
    ~KVViewerApp() override;

    // The instance check, then the frame made, created and shown maximised,
    // then the configured serial ports opened: only now, once the MDI client
    // has made the chart window and its start values are set, so a sentence
    // already waiting on a port is not overwritten by them.
    bool InitInstance() override;
    // The main-window set-up: the MDI client, the frame with its bars and
    // gadgets, the frame's background and its tool-tip control.
    void InitMainWindow() override;
    // Notes the frame's minimised and maximised states, then gives each key
    // press to the chart window's key handler (when one is registered).
    bool ProcessAppMsg(ui::MSG& msg) override;
    // False when another copy of the program holds the presence lock (that
    // copy is asked to come to the front): the start ends.
    virtual bool InstanceCheck();

    TKV71Dictionary* GetDictionary() const { return dictionary_.get(); }
    TPresLib* GetPresLib() const { return presLib_.get(); }
    TKV71Db* GetChartDb() const { return chartDb_.get(); }
    KV71HosEntry* GetHosTable() const { return hosTable_; }
    bool TidesAvailable() const { return tidesAvailable_; }
    int PixelsPerMetreX() const { return pixelsPerMetreX_; }
    int PixelsPerMetreY() const { return pixelsPerMetreY_; }
    // The program runs on the NT family (platform id 2): always here.
    bool IsNT() const { return platformId_ == 2; }
    // The frame, once InitMainWindow has made it.
    TMyFrame* GetFrame() const { return frame_; }
    ui::TTooltip* GetTooltip() const { return tooltip_; }

    // Command 120: following own ship, on or off.
    void CmFollowOwnShip();
    // Command 135: the help (HelpCommand.h).
    void CmHelp();

  protected:
    // The frame's MDI client.
    virtual ui::TMDIClient* MakeMDIClient();
    // Opens a serial port (OpenComPort).
    virtual bool OpenPort(int port, const char* settings);

  private:
    // Members go in reverse order, also when the constructor throws: the chart
    // database, the presentation library, the dictionary, then the tides.
    struct TideFiles {
        bool loaded = false;
        ~TideFiles(); // closes the tides when they were loaded
    } tides_;
    std::unique_ptr<TKV71Dictionary> dictionary_;
    std::unique_ptr<TPresLib> presLib_;
    std::unique_ptr<TKV71Db> chartDb_;
    KV71HosEntry* hosTable_ = nullptr;
    bool tidesAvailable_ = false;
    int pixelsPerMetreX_ = 0, pixelsPerMetreY_ = 0;
    int platformId_ = 2;
    TMyFrame* frame_ = nullptr;
    ui::TTooltip* tooltip_ = nullptr;

    DECLARE_RESPONSE_TABLE(KVViewerApp);
};

// The application object while one exists, else null.
KVViewerApp* GetViewerApp();

// How OwlMain makes the application (tests give their own); null restores the plain one.
using TViewerAppFactory = std::function<std::unique_ptr<KVViewerApp>()>;
void SetViewerAppFactory(TViewerAppFactory factory);
std::unique_ptr<KVViewerApp> MakeViewerApp();

// The key handling of the chart window: every key press (WM_KEYDOWN) the
// application's hook sees goes there; true swallows it. The chart window
// registers it when it is made and takes it back (an empty function) when it
// goes; until then keys go their usual way.
using TChartKeyHandler = std::function<bool(const ui::MSG& msg)>;
void SetChartKeyHandler(TChartKeyHandler handler);

// The frame's states as the hook last noted them.
bool FrameIsIconic();
bool FrameIsZoomed();
// Notes the frame's states as the hook does before each message (tests note
// states of their own).
void NoteFrameStates(bool iconic, bool zoomed);

// A fatal error: the box "ERROR !!" with the text (task-modal, stop icon,
// brought to the front), then the quit message with code 0.
void FatalError(const char* text);

// a x b / c rounded to the nearest (halves away from zero), without overflow;
// -1 when c is 0.
int MulDiv(int a, int b, int c);

// Formats the text (printf-style, Windows-1252, at most 999 characters are
// kept) into the frame's status bar; nothing when there is no frame.
void ShowStatusText(const char* format, ...) __attribute__((format(printf, 1, 2)));
