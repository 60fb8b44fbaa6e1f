// The eight read-out panels over the chart window. Each is made with its
// owner (the chart window) and its template id, places itself when it is set
// up (TMapDialog.h) and writes its texts when the chart window's timer calls
// Update. Update reads the program-wide values: NavSnapshot() (own ship's
// position, speed, course, depth and wind), the chart window's state
// (ChartWindowState.h: the cursor's bearing and distance, the route point
// table and the route-following results, the illumination level), the
// settings (short distances in metres) and the navigation clock
// (NavClock(): date, time and ETA in local time).
//
// Texts are Windows-1252 with "C" numbers; the degree sign is 0xB0.
//
//   auto* panel = new TSOGCOGDlg(chart);   // template 16
//   panel->Create();                      // above the bearing panel, right column
//   panel->Update();                      // "5.2 kt", "123.0 °"
#pragma once

#include "dialogs/TMapDialog.h"
#include "resources/DialogTemplates.h"

class TGaugeX;

// Own ship's position: 2201 latitude, 2202 longitude, as the status bar's
// coordinate text. While showCursor is set (the chart window sets it while a
// route is placed or edited) it shows the cursor position instead.
class TGPSPosDlg : public TReadoutPanel {
  public:
    explicit TGPSPosDlg(TMapWindow* owner, int resId = kGpsPosTemplate);
    void Update() override;

    bool showCursor = false;
    double cursorLon = 0, cursorLat = 0; // degrees
};

// 1801 "dd.mm.yy   hh:mm" of the local time, written again only when the
// minute changes.
class TDateDlg : public TReadoutPanel {
  public:
    explicit TDateDlg(TMapWindow* owner, int resId = kDateTemplate);
    void Update() override;

  private:
    long long shownMinute_ = -1; // minutes since 1970 of the text shown
};

// 2501 "%4.1f m/s  %03.0f°" of the wind speed and direction.
class TWindDlg : public TReadoutPanel {
  public:
    explicit TWindDlg(TMapWindow* owner, int resId = kWindTemplate);
    void Update() override;
};

// The cursor's bearing from own ship (1501 "%05.1f"), the bearing relative to
// the course over ground (1502, folded into 0 to 360) and the distance with
// its unit (1503, 1504; BearingDistanceText).
class TBearingInfoDlg : public TReadoutPanel {
  public:
    explicit TBearingInfoDlg(TMapWindow* owner, int resId = kBearingTemplate);
    void Update() override;
};

// 1601 speed "%.1f kt", 1602 course "%05.1f°" over ground.
class TSOGCOGDlg : public TReadoutPanel {
  public:
    explicit TSOGCOGDlg(TMapWindow* owner, int resId = kSogCogTemplate);
    void Update() override;
};

// 2401 "%5.1f mtr" of the depth.
class TDepthDlg : public TReadoutPanel {
  public:
    explicit TDepthDlg(TMapWindow* owner, int resId = kDepthTemplate);
    void Update() override;
};

// The leg being followed: 1901 the bearing to the waypoint with the next
// leg's course, or "( end )" on the last leg; 1902 the distance to it; 1903
// the cross-track error ("port" for an error of 0 or more, "stbd" below) while
// a leg is followed, else empty; gauge 1904 (growing from its right edge)
// shows port errors and 1905 (from its left edge) starboard errors, in
// thousandths of a nautical mile up to 100, with the leg's cross-track limit
// as their limit bar. The gauges are green, dimmed to 191 above dusk.
class TRouteInfoDlg1 : public TReadoutPanel {
  public:
    explicit TRouteInfoDlg1(TMapWindow* owner, int resId = kRouteInfo1Template);
    void Update() override;

  private:
    TGaugeX* portGauge_;
    TGaugeX* starboardGauge_;
    int limit_ = -1; // the cross-track limit the gauges were last set to
};

// The rest of the route: 2005 "n:" the last waypoint's number; 2003 the total
// distance (the legs from the waypoint steered for to the last, plus the
// distance to it); with a speed over ground 2002 the ETA ("%02d:%02d" local
// time) and 2004 the waypoint's number with the time to go to it; without
// speed "......." and " .............. ". 2006 stays empty. Waypoint numbers
// are route table index + 1.
class TRouteInfoDlg2 : public TReadoutPanel {
  public:
    explicit TRouteInfoDlg2(TMapWindow* owner, int resId = kRouteInfo2Template);
    void Update() override;
};
