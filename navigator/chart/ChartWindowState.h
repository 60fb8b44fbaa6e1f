// The chart window's program-wide state: plain records shared by the chart
// window's handlers, its timer, its painting, the MDI client and the
// program's commands. Everything here is touched on the GUI thread only.
// Commands and clicks only ask for things (a chart level, an illumination, a
// redraw, a cursor shape); the timer and the MDI client's idle work carry the
// requests out.
//
//   TChartWindowState& s = ChartWindowState();
//   s.levelRequest = 3;          // the MDI client selects level index 3 when idle
//   s.redrawRequest = 1;         // the timer invalidates the chart window
//
// The settings record holds the chart window's settings; no file loads them:
// ApplySettingsDefaults, called by the chart window's set-up, gives each its
// default.
#pragma once

#include "chart/ChartFrames.h"
#include "geo/GeoPoint.h"
#include "store/storeRecords.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

namespace os {
class Clock;
}

// One logged position of own ship's track.
struct TTrackEntry {
    std::time_t time = 0;
    std::uint16_t speed10 = 0;    // speed over ground, tenths of a knot
    std::uint16_t course10 = 0;   // course over ground, tenths of a degree
    double lon = 0, lat = 0;      // degrees; a latitude of 0 marks an unused entry
    std::uint16_t depth10 = 0;    // depth, tenths of a metre
    std::int16_t temperature = 0; // water temperature, hundredths of a degree
};

// One point of the active route, in travel order. The leg of a record is the
// one from its point to the next; the leg that ends at point k is record k - 1.
struct RoutePoint {
    std::int32_t lon = 0, lat = 0; // binary angles
    std::int32_t x = 0, y = 0;     // client coordinates, refreshed when the route is drawn
    float legLength = 0;           // nautical miles
    float legCourse = 0;           // degrees, 0 to 360
    // Cross-track alarm limit of the leg, hundredths of a nautical mile; 0 none.
    std::int32_t crossTrackLimit = 0;
};

inline constexpr int kTrackRingSize = 500;
inline constexpr int kRoutePointMax = 500;
inline constexpr int kDisplayCategoryCount = 20;
// The level request when none is pending.
inline constexpr int kNoLevelRequest = -2;
// How near a click must come to a drawn point (pixels, in x and in y).
inline constexpr int kPickTolerance = 6;

// Chart levels 0 to 6 have a chart-data entry each.
inline constexpr int kProbedLevelCount = 7;

struct TChartWindowState {
    // --- Own ship, track and the timer's counters ---
    GeoPoint ownShip{};          // the position last shown
    ClientPoint ownShipClient{}; // and its client point
    std::array<TTrackEntry, kTrackRingSize> trackRing{};
    int trackIndex = 0;            // the entry the next log writes; wraps from 499 to 0
    ClientPoint lastLoggedPoint{}; // own ship's client point at the last log
    float lastLoggedCourse = 0;
    GeoPoint lastTrackPoint{};     // where the next trip-log step starts
    ClientPoint lastTrackClient{}; // and its client point
    float tripLog = 0;             // nautical miles
    // Each raised once every second tick (200 ms).
    int autoChartCounter = 0, noFixCounter = 0, nmeaOutputCounter = 0, generalCounter = 0,
        dialogCounter = 0;
    std::uint8_t followFlag = 1;      // own ship kept in view, the chart level chosen automatically
    std::uint8_t followSeen = 1;      // the follow flag as the timer saw it last (its switching on)
    std::uint8_t lookAhead = 0;       // the view centre lies ahead of own ship
    std::uint8_t recentreRequest = 0; // the next tick re-centres at the current scale
    int screenWidthMm = 280, screenHeightMm = 210;    // the monitor, millimetres
    int screenPixelsAcross = 0, screenPixelsDown = 0; // the screen the window is on
    int pixelsPerMetre = 0;                           // screen pixels per metre, x and y alike
    int statusHint = 0;                               // which hint the status bar is to show
    int lastShownHint = -1; // the hint shown last; -1 shows the current one again
    // Local time as the timer read it last, with tm_year modulo 100.
    std::tm localTime{};
    // The cursor's position, and for each chart level 0 to 6 whether it had
    // chart data at the point last probed there.
    GeoPoint cursorPosition{};
    std::array<std::uint8_t, kProbedLevelCount> levelChartData{};
    // The route being recorded from own ship's track (store id; 0 none), and
    // its points so far.
    std::int32_t recordedRouteId = 0;
    int recordedPointCount = 0;
    // The range marker around own ship: distance in hundredths of a nautical
    // mile (0: none) and bearing in degrees. Nothing sets it yet; the own-ship
    // overlay takes it over at its first drawing after a paint.
    int rangeMarkerDistance = 0;
    double rangeMarkerBearing = 0;

    // --- Drawing ---
    std::array<std::uint8_t, kDisplayCategoryCount> displayCategories{}; // 1: drawn
    std::uint8_t reliefSwitch = 0;    // a relief picture is wanted under the chart
    std::uint8_t reliefReady = 0;     // the 3D view has put its relief picture out
    std::uint8_t pictureUpToDate = 0; // nothing changed since the chart picture was drawn
    int detailWord = 0;               // engine scale level of the chart level (0 overview)
    int tideFlag = 0;                 // 2: tide-station marks are drawn
    double pixelsPerNm = 0;           // vertical pixels per nautical mile at the view's scale
    std::uint8_t redrawOnce = 0;      // the next paint draws the chart again, once
    std::uint8_t painted = 0;         // the chart was drawn since the timer last looked
    std::uint8_t chartDataFlag = 0;   // chart data at the current level at the view centre

    // --- Interaction ---
    int routeState = 0;                  // 0 none, 1 active, 2 being placed, 3 being edited
    std::int32_t activeRouteId = 0;      // store id of the active route; 0 none
    std::int32_t shownTrackId = 0;       // store id of the track chosen to be shown; 0 none
    int markedRoutePoint = -1;           // route point drawn with a large square; -1 none
    std::uint8_t forwardFlag = 1;        // 1 the active route in stored order, 0 reversed
    std::uint8_t routeExtension = 0;     // a second route is appended to the active one
    std::uint8_t routeTableFill = 0;     // the next drawing of the active route fills the table
    std::uint8_t followRouteRequest = 0; // the timer starts route following
    std::uint8_t ownShipInserted = 0;    // following put own ship in front of the route
    bool placeSymbolMode = false;
    bool deleteSymbolMode = false;
    bool informationMode = false;
    bool informationAllowed = false;    // the last enabler pass of command 119
    bool informationOffRequest = false; // the next enabler pass ends the information mode
    int pendingGrab = 0;                // 2: the next click picks a route drawn for choosing
    int listMode = 0; // selection mode of the list chooser: 1 an item, 2 a route, 3 a third kind
    // What the list chooser's choice left: the item of mode 1 (with pending
    // action 5) and the item of mode 3.
    std::int32_t chosenItem = 0;
    int pendingAction = 0;
    std::int32_t thirdSelection = 0;
    // Names of the active route and of a route appended to it, at most 35
    // characters each (Windows-1252), as the list chooser copies them.
    std::string routeName1, routeName2;
    int inputMode = 0; // 8 while the tide dialog or the help dialog is open, else 0
    // The position typed into the position entry, or the view centre an arrow
    // key moved to: degrees (south and west negative); 0 until one is entered.
    double enteredLon = 0, enteredLat = 0;
    // What the bearing read-out shows: the bearing (degrees, 0 to 360) and the
    // distance (nautical miles) from own ship to the cursor.
    double cursorBearing = 0, cursorDistance = 0;
    int cursorRequest = 0; // 0 unchanged, 1..7 the cursor shape the timer sets
    int cursorKind = 0;    // the last cursor request above 0 the timer applied
    int redrawRequest = 0; // 1: the timer invalidates the chart window
    // The route point that follows the mouse: its table (travel) number, 1
    // up; 0 none.
    int grabbedPoint = 0;
    // The next tick makes the depth, speed and course, bearing and both
    // route read-outs again in their places (a size change).
    std::uint8_t readoutRebuild = 0;

    // --- The user's stored objects: what is shown, edited and picked ---
    int shownTrackColour = 0;      // the shown track's colour number
    std::int32_t editedLineId = 0; // the line being placed or edited (store id; 0 none)
    int lineState = 0;             // 2 a new line is being placed, 3 a line is being edited
    int editedLineColour = 0;      // its colour number
    std::uint8_t storeChanged = 0; // a click deleted a stored object
    double routeTotal = 0;         // nautical miles over the legs of the route table
    // What the last pick left: the object, its point as a 0-based position in
    // store order (a leg: its start point; -1 none), that position + 1 (the
    // stored point number), and the picked flag (202 and 203: a point, not a
    // leg; 4xx: anything).
    std::int32_t pickedObjectId = 0;
    int pickedIndex = -1;
    int pickedPointNumber = 0;
    std::uint8_t pickedFlag = 0;
    IdRecord editedObject{}; // a copy of the ID record picked for editing
    int listKind = 0; // objects of this kind are offered in the list chooser (code 200 + kind)

    // --- Placing new routes and lines (TMapWindow::PlaceRoutePoint) ---
    int placedKind = 2;           // the kind being placed or edited: 2 a route, 3 a line
    GeoPoint anchorPoint{};       // the last placed point (own ship at the start)
    ChartPoint rubberBandStart{}; // where the rubber band starts, chart units

    // --- Route following ---
    std::array<RoutePoint, kRoutePointMax> routePoints{}; // the active route's points
    int routePointCount = 0;
    int destinationIndex = 0;             // the route point steered for
    double routeRange = 0;                // to the destination, nautical miles
    double routeBearing = 0;              // to the destination, degrees, 0 to 360
    double crossTrackError = 0;           // nautical miles; positive: left of the leg, steer right
    std::uint8_t arrivalEntered = 0;      // the last step found own ship in the arrival circle
    std::uint8_t perpendicularPassed = 0; // the last step found the waypoint's line passed
    std::uint8_t crossTrackAlarm = 0;     // the error exceeds the leg's limit
    int followingState = 0;               // 0 none, 1 following
    int pendingStatusMessage = 0;         // 0 none, 11 waypoint reached, 3 cross-track alarm
    std::uint8_t trueBearings = 0; // the autopilot sentences give true bearings (else magnetic)

    // --- Requests to the MDI client, and the illumination ---
    int autoChartRequest = 0;           // while positive, a higher chart level may be chosen too
    int levelRequest = kNoLevelRequest; // level index to select when idle; -1 is the overview
    int requestedIllumination = 0;      // scheme to switch to when idle, 0 day to 3 dark night
    int illuminationLevel = 0;          // the scheme in use
    std::uint8_t darkDisplay = 0;       // the screen is shown dark
    std::uint8_t darkSwitch = 0;        // the display is to be dark whatever the scheme
};

TChartWindowState& ChartWindowState();

// The chart window's settings. Each part of the program adds its own, with its
// default in ApplySettingsDefaults.
struct TChartSettings {
    int arrivalRadius = 5;                  // hundredths of a nautical mile
    std::uint8_t crossTrackAlarmSwitch = 0; // 0 off; 1 or 2 on (also where corridors are drawn)
    std::uint8_t soundingsSwitch = 1;       // command 134; off: the program's sounding procedures
    int monitorSize = 15;                   // inches: 15, 17 or 21 (others keep 280 x 210 mm)
    int margin = 90;                        // k of the re-centre box, 0 to 109
    int lookAheadFactor = 80;               // f of the look-ahead centre
    int currentSymbol = 7, currentSymbolColour = 1; // what a click places
    int crossTrackLimit = 0; // given to new and moved route points, hundredths of a mile
    int lightAnimation = 1;  // 0 off, 1 at dusk and night, 2 always
    std::uint8_t trackSwitch = 1;
    int trackColour = 5; // colour type of the track: magenta text, chart colour 28 on the chart
    // Force the track threshold to 20 or to 10 pixels (20 wins).
    std::uint8_t trackDensity20 = 0, trackDensity10 = 0;
    // The read-out panels made while their switch is on.
    std::uint8_t positionReadout = 1, speedCourseReadout = 1, bearingReadout = 1, dateReadout = 1;
    // The bearing read-out gives distances below half a nautical mile in metres.
    std::uint8_t shortDistancesInMetres = 1;
    // The user's objects: lines, zones and areas (one switch), and symbols
    // drawn; the mark at a shown track's start; the time in the label of an
    // unnamed symbol and of an unnamed line; the colour number of new lines.
    std::uint8_t lineSwitch = 1, symbolSwitch = 1, trackStartMark = 1;
    std::uint8_t symbolTime = 1, objectTime = 1;
    int currentLineColour = 1;
    // Every symbol placed asks for its name, as every new route does.
    std::uint8_t nameOnPlacing = 1;
};

TChartSettings& ChartSettings();

// Whether the light animation runs: setting 2, or setting 1 while the
// illumination is above day.
bool LightAnimationRuns();

// Gives every setting its default; the chart window's set-up calls it. Also
// turns display category 18 (tide-station marks) on and sets the magnetic
// variation of the navigation record to 1 degree east.
void ApplySettingsDefaults();

// The state, the settings and the light animation back at their start values
// (tests).
void ResetChartWindowState();

// The clock the chart window reads the time from (the track ring's times, the
// local time of the read-outs): the one set, else the real clock. Tests set
// a fake; null restores the real one.
void SetChartClock(os::Clock* clock);
os::Clock& ChartClock();
