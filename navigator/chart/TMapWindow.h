// The chart window: the navigation program's one MDI child, made by the MDI
// client (KVViewerMDIClient) at the first chart level it selects, and living
// until the client goes.
//
// The window keeps its view (the chart level, the two scales, the centre and
// the `Map` made from them), its pens, the symbol strip, and the windows it
// owns: the list chooser, the user-object store window, the floating tool box
// and the eight read-out panels. The program-wide state it shares with the
// timer, the painting, the commands and the MDI client is ChartWindowState.h.
//
// Its window class asks for no background (the chart paints every pixel) and
// for one device context kept for the window's life (CS_OWNDC): GetDC() is
// the same `gdi::Dc`, with its state, before and after every paint and
// resize, so the timer and the mouse handlers draw on it outside WM_PAINT.
//
//   auto* chart = new TMapWindow(client, "", 7, 10.0, 59.0); // overview at 10 E, 59 N
//   chart->Create();
//   chart->ShowWindow(ui::SW_SHOW);                         // fills the client
//
// Members that other parts of the program build keep do-nothing bodies in
// TMapWindowPending.cpp until they land; each moves its bodies into its own
// source file.
#pragma once

#include "ViewerExchange.h"
#include "chart/ChartFrames.h"
#include "chart/MapWindowPens.h"
#include "chart/pass/ChartDrawingPass.h"
#include "gdi/RasterDc.h"
#include "nmea/NavState.h"
#include "geo/GeoPoint.h"
#include "geo/GeoRect.h"
#include "geo/Point.h"
#include "proj/Map.h"
#include "store/storeRecords.h"
#include "ui/Frame.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace gdi {
class Bitmap;
class Font;
} // namespace gdi
namespace isam {
struct BatchRequest;
}
class GdbObject;
class MapObject;
class TObjView;
namespace ui {
class TButtonGadget;
}

// The chart window's one timer.
inline constexpr ui::UINT kChartTimerId = 1;
// Bitmap resource of the symbol strip (also named "SYMBOLS_BG"): 20 x 7 cells
// of 17 x 17 pixels, row 0 the mask.
inline constexpr int kSymbolStripBitmap = 200;
inline constexpr int kSymbolStripWidth = 340, kSymbolStripHeight = 119;

class TMapWindow : public ui::TMDIChild {
  public:
    // The chart window in the client, with its title (the MDI client gives an
    // empty one), at chart level `levelIndex` (0 to 7) around the centre
    // `lon`, `lat` (degrees). For an index outside 0 to 7 both scales and the
    // centre stay 0. The window is maximised (it fills the client), and it
    // takes the application's key hook.
    TMapWindow(ui::TMDIClient& parent, const char* title, int levelIndex, double lon, double lat);
    // Gives back, in this order: the symbol strip, the pens, the timer, the
    // owned windows (wind, depth and date read-outs, the store window, the
    // position, speed-and-course and bearing read-outs, the tool box, the two
    // route read-outs, the list chooser, the help dialog, the short
    // read-out), the Map, the memory pictures; then the child itself.
    ~TMapWindow() override;

    // "TMapWindow".
    const char* GetClassName() override;
    // No background brush, and CS_OWNDC.
    void GetWindowClass(ui::WNDCLASS& wc) override;

    // --- The window's own operations, in this order ---
    // Draws the chart objects of the view (chart units, ChartPainting.h) into
    // dc with the drawing pass (chart/pass/ChartDrawingPass.h): scale is the
    // level scale the query opens at, divisor the view's display scale.
    virtual void DrawChart(double scale, double divisor, int levelIndex, Map* map, gdi::Dc& dc,
                           const ui::TRect& view);
    // Builds the table of flashing lights in view again: the free-standing
    // lights (code 86, no children) of the view at the drawing pass's query
    // scale (chart/LightAnimation.h).
    virtual void RebuildLightTable();
    // Whether chart level `levelIndex` has chart data at the point.
    virtual bool HasChartData(int levelIndex, const GeoPoint& point);
    // The user's objects and the active route into dc (memory picture 1 in
    // client pixels, ChartOverlays.h): with an active route, the route
    // table's client points through the Map; then the store's passes.
    virtual void DrawUserObjectOverlay(gdi::Dc& dc);
    // Own ship's track into dc in client pixels through `map`: the ring's
    // points oldest first, as polylines split where a point lies too far off
    // (ChartOverlays.h); nothing is drawn when `draw` is false. Answers the
    // client point of the newest point kept, (0, 0) when none is.
    virtual Point DrawTrackOverlay(gdi::Dc& dc, Map* map, bool draw);
    // The grid and the border scale of the view rectangle (chart units; dc
    // under the chart mapping, y up; ChartBorder.h).
    virtual void DrawGridAndBorder(gdi::Dc& dc, const ui::TRect& view);
    // Own ship at client point (x, y) with its vector and track piece, drawn
    // on a copy of memory picture 1 (picture 2) that then goes onto dc, the
    // window's context; with a new position the vector is worked out again.
    // Also refreshes the read-outs that follow own ship (ChartOverlays.h).
    virtual void DrawOwnShipOverlay(gdi::Dc& dc, int x, int y, bool newPosition);
    // Own ship's symbol at client point (x, y) (client pixels): the range
    // marker, the rings, the course vector and heading line, the ticks.
    // heading in degrees; lon, lat own ship's position in degrees (nothing
    // is drawn above 80 degrees of latitude).
    virtual void DrawOwnShipSymbol(gdi::Dc& dc, int x, int y, double heading, double lon,
                                   double lat);
    // The leg from client point (x1, y1) to (x2, y2): legLength (nautical
    // miles, pixels / pixels per nautical mile) and legDirection (a compass
    // bearing, degrees in (0, 360]: atan2(x1 - x2, y2 - y1) + 180, which is a
    // bearing only because client y grows downward; due north gives 360).
    // With `corridor`, the corridor offsets (corridorDx, corridorDy) :=
    // (cos d x r, sin d x r) truncated, r = pixels per nautical mile x limit
    // (hundredths of a nautical mile) x 0.01. Equal points give length and
    // direction 0; a leg from (0, 0) or without a scale changes nothing.
    virtual void ComputeLegGeometry(int x1, int y1, int x2, int y2, bool corridor, int limit);
    // Placing a new route or line point by point (TMapWindowEditing.cpp,
    // docs/navigator-editing.md). Mode 0 the cursor moved (the own-ship
    // overlay draws the object being placed; with no point placed yet, mode
    // 2), 1 the clicked point added (at edit count 1 the object's ID record
    // first, named with TDbInfoDialog), 9 the same as a route, 2 the start:
    // the rubber band from own ship to the mouse. Every mode ends with the
    // rubber band's ComputeLegGeometry and the bearing read-out refreshed.
    // The clicked point is cursorPoint (chart units) at the cursor position.
    virtual void PlaceRoutePoint(gdi::Dc& dc, int mode);
    // One leg in client points. Type 2 (a route leg with its corridor): the
    // two corridor lines moved by +(dx, dy) and -(dx, dy) with the fine pen,
    // when an offset is not 0 or the route is being edited. The leg with the
    // edit pen (entry 2, width 0) while a route (type 2) or line (type 3) is
    // being edited, else with the pen dc holds. Types 0 and 2: an arrow of
    // two 12-pixel strokes at the midpoint, along legDirection. dc's pen is
    // put back.
    virtual void DrawLeg(gdi::Dc& dc, int x1, int y1, int x2, int y2, int dx, int dy, int type);
    // Inserts a point after stored point `number`, or deletes the point of
    // table number `number` (counted from the route's other end when it is
    // reversed), in the active route (the kind being placed 2) or the edited
    // line (3): the store renumbered, the route table or line buffer moved
    // with it; the table count is the caller's. The cursor position is the
    // new point's. False when nothing changed: no such point, an object of
    // 499 points to insert into, or a store call that failed (shown).
    virtual bool InsertOrDeleteObjectPoint(int number, bool insert);
    // The start of route following, and its step on each tick.
    virtual void StartRouteFollowing();
    virtual void RouteFollowingStep();
    // The position entry: moves the chart to a typed position; true when it moved.
    virtual bool EnterPosition();
    // The help dialog (template 12), run modally and destroyed.
    virtual void ShowHelp();

    // --- Handlers and helpers of the timer, keys, painting and mouse ---
    // WM_TIMER of timer 1, every 100 ms: own ship from the fixes, the track
    // ring, the automatic chart level and the re-centre, the NMEA output, the
    // gadgets, the 3D view exchange, the counters (every second tick), the
    // light marks, the status hint and the read-out panels. Inside a modal
    // loop nothing that replaces the Map runs (level requests, re-centres,
    // re-scales): it waits for the first tick after the loop.
    void EvTimer(ui::UINT timerId);
    // A key press (virtual key code) while the focus is in the chart window
    // or its frame: the key table of the chart window. Reached through the
    // application's key hook, once.
    virtual void EvKeyDown(ui::UINT key, ui::UINT repeatCount, ui::UINT flags);
    // The middle button: the clicked point becomes the view centre (following
    // off), unless it is the centre already; the cursor goes to the client
    // centre.
    void EvMButtonDown(ui::UINT modKeys, const ui::TPoint& point);
    // Re-scales the view to the scale denominator (held within 1000 to
    // 40,000,000) and re-centres it: on own ship while following (ahead of it
    // with look-ahead), else on the view centre. A new Map, the scale gadget,
    // the chart-data flag, the route table's and the last track point's client
    // points, a repaint; the light table and the level probes as the settings
    // and the follow flag ask.
    void Rescale(double scale);
    // What the 3D view exchange is told about the window now, with the
    // navigation record as read.
    ViewerExchangeInput ExchangeInput(const NavShared& nav) const;
    // WM_PAINT: the chart picture drawn again when it is not up to date (or a
    // redraw-once request is pending, or the client's size changed), copied
    // to the window, and own ship over it (ChartPainting.h).
    void EvPaint();
    // One step of the light animation on the window (chart/LightAnimation.h),
    // every second tick. DrawLitLightMarks draws the marks that are on again
    // on dc (the own-ship overlay's copy of the chart picture).
    void StepLightAnimation();
    // Virtual so that a test can watch what the overlays ask of it.
    virtual void DrawLitLightMarks(gdi::Dc& dc);

    // --- The user's stored objects and the active route (TMapWindowUserObjects.cpp) ---
    // Everything these draw or pick is in client points of dc (the default
    // mapping): memory picture 1 from the user-object overlay, picture 2 from
    // the own-ship overlay, the window's context from the mouse handlers.
    // Picks measure from cursorClient. The overlays draw through the first
    // three; they are virtual so that a test can watch what the overlays ask
    // of them.

    // One pass over the stored objects of one kind. The code is kind + 100 x
    // action, taken apart in this order: 401 and up pick for editing, 301 and
    // up delete, above 200 pick (or list, while the list kind is the kind),
    // 101 and up labels; what is left is the kind (UserObjectCodes.h). Routes
    // are drawn or picked with DrawUserObject; symbols are drawn with their
    // labels (105), deleted (305) or picked for editing (405) at the click;
    // 200 + the list kind offers the named objects of that kind to the list
    // chooser. Drawing codes (below 200) bring each route's point count and
    // length up to date, and delete a route of fewer than two points (not the
    // one being placed or edited).
    virtual void DrawUserObjectsOfKind(gdi::Dc& dc, int code);
    // Reads the points of one object 500 at a time and draws them (types 1
    // track, 2 route, 3 line) or hit-tests them at the click (201 to 203 pick,
    // 301 and 303 pick for deletion, 401 to 403 pick for editing). The active
    // route in route state 1 is drawn from the route table instead; while the
    // route-table fill request is set, drawing the active route fills the
    // route table (forward or reversed, appended while extending).
    virtual void DrawUserObject(gdi::Dc& dc, int type, std::int32_t id);
    // The route table's legs, arrows, corridors, the marked point's frame and
    // the point numbers; in colour 2 while the route state is 1, else 1.
    virtual void DrawActiveRouteFromTable(gdi::Dc& dc);
    // 1 when the client point lies less than the pick tolerance from a point
    // of the route table in x and in y; the first such point (in table
    // order) gives the picked point number (index + 1). Else 0.
    int HitRouteTablePoint(int x, int y);
    // A framed label at client point (x, y): the text (or, when it is empty
    // and timeFlag is set, the local time as "dd/mm-yy hh:mm"), with " (+)"
    // ("+" for a time) when the object (objectId above 0) has a text in the
    // store. A time of 2 (point numbers) moves the label 11 pixels left. A
    // text beginning with "/" loses it outside the delete-symbol mode and
    // stays at x, others move 6 pixels right. Nothing off the screen or at y
    // 2 or less.
    void DrawObjectLabel(gdi::Dc& dc, int x, int y, std::int32_t objectId, int colour,
                         std::time_t time, const char* text, bool timeFlag);
    // One cell of the symbol strip at client point (x, y): column 0 to 19
    // (the symbol number), row 1 to 6 (the colour number); others draw
    // nothing. The mask with AND, then the symbol with OR, 17 x 17 from
    // (x - 8, y - 8).
    void DrawStripSymbol(gdi::Dc& dc, int x, int y, int column, int row);
    // A new symbol at the cursor position: symbol number, colour number, its
    // depth in metres (stored x 10, truncated; the click gives 0). Named with
    // TDbInfoDialog while the name-on-placing setting is on, unless the
    // symbol is 116 or 123. False when it could not be stored (shown).
    bool PlaceSymbol(int symbol, int colour, double depth);

    // --- The mouse, the zoom and the chart look-ups (TMapWindowMouse.cpp) ---
    // Clicks and moves come in client points (docs/navigator-mouse.md).

    // The view centred at (lon, lat) (degrees, else radians) at the same
    // scale: a new Map, the coordinate and scale gadgets, the route table's,
    // the last track point's and own ship's client points, list mode and a
    // pending grab dropped, a repaint, the light table while the animation
    // runs and, not following, the probes of levels 2 to 6 at the centre.
    // The picture and the relief are out of date even when the centre stays;
    // true when it changed.
    bool MoveCentre(double lon, double lat, bool degrees);
    // Zoom about the view centre, probing the levels above (in) or below
    // (out) at the cursor position: a level request to the MDI client, or
    // the zoom factor doubled (halved) with a re-scale. The caller sets the
    // centre and the cursor position.
    void ZoomIn();
    void ZoomOut();
    // The cursor point and position, the bearing read-out, a grabbed route
    // point dragged, the rubber band of a route being placed, the idle
    // cursor and the cursor's coordinate gadgets.
    void EvMouseMove(ui::UINT modKeys, const ui::TPoint& point);
    // The first of: delete or place a symbol; place a route point; drop,
    // grab or insert a point of the edited route; pick a route drawn for
    // choosing; open a clicked tide station's dialog; the information click;
    // mark a point of the followed route; re-centre at the click and zoom in.
    void EvLButtonDown(ui::UINT modKeys, const ui::TPoint& point);
    // The first of: end a symbol or the information mode; delete a point of
    // the edited route; (placing: nothing); re-centre and zoom out, or pick a
    // route drawn for choosing, reversed.
    void EvRButtonDown(ui::UINT modKeys, const ui::TPoint& point);
    // A repaint, the re-centre at the next tick, five read-outs made again
    // there; with a route, the Map rebuilt for the new size at once.
    void EvSize(ui::UINT sizeType, const ui::TSize& size);
    // Bit 0 of the flags word: this window is the active MDI child.
    void EvMDIActivate(ui::HWND activated, ui::HWND deactivated);
    // The chart objects within 10 pixels of the client point, listed in
    // TObjectInfoDialog when a coverage object (code 217) lies there.
    void ShowObjectInfo(const ui::TPoint& point);
    // The object (with its children, depth first) appended under parent,
    // unless it is left out: a top-level object that does not project into
    // the rectangle, and the codes that are never listed.
    void AddObjectTree(GdbObject& object, TObjView& parent, Map* map, GeoRect& rect);
    // The node's class name, object name (when it has none yet) and
    // attribute texts from the object.
    void FillObjectNode(GdbObject& object, TObjView& node);

    // The floating tool box (TFloatingToolBox.h), made at the first call;
    // every call ends the place-symbol and delete-symbol modes and releases
    // their buttons. When the box is made while the frame is maximised and no
    // route is active, the cursor goes to screen point (50, 125).
    void ShowToolBox();
    // The timer's cursor step, every tick: a cursor request 1 to 7 becomes the
    // cursor kind, asks the information mode to end (unless it is 2 or 7) and
    // sets the cursor (resources 19994 to 19999, 5 the wait cursor); the
    // request then returns to 0, or after 7 to 1.
    void ApplyCursorRequest();

    // --- The tool box's commands and their enablers ---
    // Each changes the interaction state (ChartWindowState.h) and asks for a
    // redraw or a cursor shape; commands that empty or delete the route table
    // stop route following.
    void CmChooseRoute();
    void CmChangeRoute();
    void CmNewRoute();
    void CmEndEditing();
    void CmDelete();
    void CmPlaceSymbols();
    void CmObjectInfo();
    void CmIllumination();
    void CmRelief();
    void Cm3DView();
    void CeChooseRoute(ui::TCommandEnabler& ce);
    void CeChangeRoute(ui::TCommandEnabler& ce);
    void CeNewRoute(ui::TCommandEnabler& ce);
    void CeEndEditing(ui::TCommandEnabler& ce);
    void CeDelete(ui::TCommandEnabler& ce);
    void CePlaceSymbols(ui::TCommandEnabler& ce);
    void CeObjectInfo(ui::TCommandEnabler& ce);
    void CeIllumination(ui::TCommandEnabler& ce);
    void CeRelief(ui::TCommandEnabler& ce);
    void CeFollowOwnShip(ui::TCommandEnabler& ce);
    void Ce3DView(ui::TCommandEnabler& ce);

    // The tool box's button of the command, which becomes the last button
    // looked up; null while there is no tool box or no such button.
    ui::TButtonGadget* ToolBoxButton(int command);

    // The five pens an illumination scheme (0 to 3) recolours (MapWindowPens.h).
    void ApplySchemePens(int scheme);
    // A key press the application's hook saw: given to EvKeyDown, and
    // swallowed, when the focus lies in the chart window's frame (the chart
    // window, the frame, its bars) and not in a dialog.
    bool HookKey(const ui::MSG& msg);
    // WM_PARENTNOTIFY: an owned panel or dialog that went by itself is
    // forgotten.
    void EvParentNotify(ui::UINT event, ui::HWND child, ui::UINT childId);

    // --- Fields ---
    std::uint32_t flags = 0;  // bit 0: the window is the active MDI child
    int displayMaskA = 15;    // display mask A of the window's chart queries
    int levelIndex;           // chart level, 0 to 7
    int editCount = 0;        // points of the route being placed or edited
    std::unique_ptr<Map> map; // the view's projection; made at set-up
    double levelScale = 0;    // scale denominator of the level's queries
    double displayScale = 0;  // scale denominator of the view
    GeoPoint centre{};        // the view centre
    TMapPens pens;
    // Course vector and heading line, client pixels; corridor offsets of a leg.
    double vectorDx = 0, vectorDy = 0, headingDx = 0, headingDy = 0, corridorDx = 0, corridorDy = 0;
    // The range marker as the own-ship overlay took it over at its first
    // drawing after a paint: distance in hundredths of a nautical mile (0
    // none), bearing in degrees.
    int rangeDistance = 0;
    double rangeBearing = 0;
    // The picture count the own-ship overlay saw last (a new one: a paint).
    unsigned long overlayPictureCount = 0;
    // Windows the chart window owns, each null until made (held through the
    // window layer's base class).
    ui::TWindow* listDlg = nullptr;  // the list chooser
    ui::TWindow* dbaseWin = nullptr; // the user-object store's window
    ui::TWindow* toolBox = nullptr;  // the floating tool box
    std::shared_ptr<gdi::Bitmap> symbolStrip;
    ui::TWindow* dateDlg = nullptr;
    ui::TWindow* depthDlg = nullptr;
    ui::TWindow* windDlg = nullptr;
    ui::TWindow* bearingInfoDlg = nullptr;
    ui::TWindow* gpsPosDlg = nullptr;
    ui::TWindow* sogCogDlg = nullptr;
    ui::TWindow* routeInfoDlg1 = nullptr;
    ui::TWindow* routeInfoDlg2 = nullptr;
    ui::TButtonGadget* lastToolButton = nullptr; // the tool-box button looked up last
    ChartPoint cursorPoint{0, 0};                // the mouse, in chart units
    ClientPoint cursorClient{0, 0};              // the mouse (the last move or click), client
    double zoomFactor = 1.0;                     // keys and clicks double or halve it
    bool tick = false;                           // toggles on every timer tick
    // The painting's memory pictures (ChartPainting.h), made at the first
    // paint with colour bitmaps and the program palette: 1 the chart picture
    // of the client's size, 2 a working copy of the screen's size (never
    // smaller than the client).
    std::unique_ptr<gdi::RasterDc> memPicture1, memPicture2;
    TChartPassResult lastChartPass; // what the last drawing pass did
    unsigned long pictureCount = 0; // chart pictures drawn (the 3D export runs once for each)
    ui::TWindow* helpDlg = nullptr; // the help dialog opened without a modal loop (Shift F1)
    // The short read-out at the top right corner (TShortReadoutWindow.h),
    // destroyed at the 50th dialog count after it was shown.
    ui::TWindow* shortReadout = nullptr;
    ui::UINT previousKey = 0; // the key pressed before the one in hand
    float shownDepth = 0;     // the depth and wind the read-outs were last given
    float shownWindSpeed = 0, shownWindDirection = 0;
    // The leg ComputeLegGeometry worked out last: nautical miles, degrees.
    double legLength = 0, legDirection = 0;
    // The edited line's client points as its last drawing kept them.
    std::vector<ClientPoint> linePoints;
    // The client rectangle and its centre as the last click or size change
    // found them.
    ui::TRect clientRect{};
    ClientPoint clientCentre{};

  protected:
    // The palette, the display categories, the user-object store, the
    // settings defaults, the screen, the Map and the pens, timer 1, own ship
    // at 10 E, 59 N, the navigation record's start values, the tide marks and
    // the tool box.
    void SetupWindow() override;

  private:
    // Steps of the timer; each answers false when the tick ends there.
    bool StepOwnShip(const NavShared& nav, bool newFix, bool modal);
    bool StepAutoChart(bool modal);
    bool StepLookAhead(const NavShared& nav, bool modal);
    void StepGadgets(const NavShared& nav);
    void StepExchange(const NavShared& nav);
    // What the 3D view exchange asked for: the relief-ready flag, a redraw, a
    // re-centre at the next tick, button 132 up or down.
    void ApplyExchangeRequests(const ViewerExchangeRequests& r);
    void StepEverySecondTick(const NavShared& nav);
    void StepStatusHint();
    void StepReadouts();
    // The track decision of a new fix, and the log of one ring entry.
    void StepTrack(const NavShared& nav);

    // The route table's, the last track point's (with the last logged
    // point's) and own ship's client points through the Map.
    void RefreshClientPoints(const ui::TRect& client);
    // The zoom steps; false when they neither re-scaled nor asked for a level.
    bool ZoomInStep();
    bool ZoomOutStep();
    // The steps of a left click on a route being edited and of the
    // information click.
    void EditedRouteClick(const ui::TPoint& point);
    void InformationClick(const ui::TPoint& point);
    // A pending grab's click: the pass that picks (2: a route drawn for
    // choosing, which becomes active and followed in that direction).
    void PendingGrabClick(bool forward);
    // Whether a tide station's mark lies under the client point; its dialog
    // opened when it does.
    bool TideStationClick(const ui::TPoint& point);
    // Whether the object projects into the rectangle, and the type it
    // projects as.
    bool Projects(GdbObject& object, Map* map, GeoRect& rect, int* type = nullptr);

    // What one pass over the stored objects carries from object to object.
    struct TObjectPass;
    void DrawStoredObject(gdi::Dc& dc, int type, std::int32_t id, TObjectPass& pass);
    // Acts on a hit of one object's point (or leg) at store position `index`;
    // false when the pick is refused and the batch ends.
    bool ApplyPick(int type, const IdRecord& object, int index, const ClientPoint& at, bool leg,
                   TObjectPass& pass);
    void DrawDeletionMark(gdi::Dc& dc, int x, int y);
    bool OnScreen(int x, int y) const;

    std::unique_ptr<gdi::RasterDc> stripDc_;     // holds the symbol strip for its blits
    MapObject* lookupShape_ = nullptr;           // the look-up's reused empty shape
    std::shared_ptr<const gdi::Font> labelFont_; // the labels' font, made at the first label

    DECLARE_RESPONSE_TABLE(TMapWindow);
};

// What the chart window calls that tests replace; the defaults are the
// program's own.
struct TChartWindowCalls {
    // Makes the user-object store's window at the set-up (empty: DbaseWin on
    // the store files of the settings).
    std::function<ui::TWindow*(TMapWindow& owner)> makeStore;
    // The NMEA output, every fourth count.
    void (*sendNmeaOutput)() = nullptr;
    // The 3D view exchange's timer step.
    ViewerExchangeRequests (*exchangeStep)(const ViewerExchangeInput& in) = nullptr;
    // The store's batch reads of an object's points (empty: isam::BATSET).
    std::function<int(int key, isam::BatchRequest* request, void* buffer, std::size_t size,
                      int mode)>
        batchRead;
};
TChartWindowCalls& ChartWindowCalls();
