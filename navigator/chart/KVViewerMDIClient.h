// The MDI client of the navigation program's frame. It makes the one chart
// window at its first chart level, switches the chart level on commands 111
// to 118, carries out the level and illumination requests when the program is
// idle, and switches the screen between the four illumination schemes on
// commands 102 to 105: the program's system colours, the chart palette, the
// chart window's pens and the 3D view's illumination field.
//
//   auto* client = new KVViewerMDIClient(&ViewerModule());
//   auto* frame = new TMyFrame(*client, &ViewerModule());  // set-up selects 118
//   ChartWindowState().levelRequest = 3;                    // idle selects 114
//
// System colours, in this order of elements: COLOR_INFOBK, COLOR_WINDOW,
// COLOR_WINDOWTEXT, COLOR_CAPTIONTEXT, COLOR_BTNTEXT, COLOR_BTNSHADOW,
// COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE (applied
// in order, so the second COLOR_BTNSHADOW value is the one kept).
#pragma once

#include "ui/Frame.h"

#include <array>
#include <functional>

class TMapWindow;

// Commands of the illumination schemes: day, dusk, night, dark night.
inline constexpr int CM_SCHEME_DAY = 102, CM_SCHEME_DUSK = 103, CM_SCHEME_NIGHT = 104,
                     CM_SCHEME_DARK_NIGHT = 105;

inline constexpr int kSchemeColourCount = 10;
inline constexpr std::array<int, kSchemeColourCount> kSchemeColourElements = {
    ui::COLOR_INFOBK,    ui::COLOR_WINDOW,    ui::COLOR_WINDOWTEXT, ui::COLOR_CAPTIONTEXT,
    ui::COLOR_BTNTEXT,   ui::COLOR_BTNSHADOW, ui::COLOR_3DLIGHT,    ui::COLOR_BTNHIGHLIGHT,
    ui::COLOR_BTNSHADOW, ui::COLOR_BTNFACE};

class KVViewerMDIClient : public ui::TMDIClient {
  public:
    // A grey client (128, 128, 128); COLOR_INFOBK becomes the day's yellow.
    explicit KVViewerMDIClient(ui::TModule* module = nullptr);
    // The day's system colours, but COLOR_INFOBK white.
    ~KVViewerMDIClient() override;

    // Commands 111 to 118 (others are ignored): the detail word becomes the
    // level's engine scale level and a positive auto-chart request goes down
    // by one. An existing chart window gets the level index, both scales and
    // zoom factor 1, and is re-scaled to the level's display scale; otherwise
    // the chart window is made at that level around 10 E, 59 N and shown.
    void SelectLevel(ui::UINT command);
    // Commands 102 to 105 (others are ignored): the scheme's system colours,
    // palette scheme command - 102 as the current illumination level, the
    // chart window's five scheme pens, the dark-display flag, the 3D view's
    // illumination, and a redraw of the chart picture.
    void SelectScheme(ui::UINT command);

    // After the children's idle work (the tool box's and control bar's
    // enablers): a pending level request is selected (-1 is the overview) and
    // cleared; an illumination request other than the current level is
    // applied. Requests outside 0 to 3 are dropped.
    bool IdleAction(long idleCount) override;

    // The chart window, or null before it is made or after it went.
    TMapWindow* GetChartWindow() const { return chartWindow_; }

    // Response-table handlers.
    void EvParentNotify(ui::UINT event, ui::HWND child, ui::UINT childId);
    template <int Command> void CmLevel() { SelectLevel(Command); }
    template <int Command> void CmScheme() { SelectScheme(Command); }

  protected:
    // The base set-up, then SelectLevel(118).
    void SetupWindow() override;

  private:
    TMapWindow* chartWindow_ = nullptr;

    DECLARE_RESPONSE_TABLE(KVViewerMDIClient);
};

// How the MDI client makes its chart window (client, title, level index,
// centre longitude and latitude in degrees). Tests give their own; an empty
// function restores the plain TMapWindow.
using TChartWindowFactory = std::function<TMapWindow*(ui::TMDIClient& client, const char* title,
                                                      int levelIndex, double lon, double lat)>;
void SetChartWindowFactory(TChartWindowFactory factory);
