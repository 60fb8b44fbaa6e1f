// The navigation program's side of the exchange with the outside 3D viewer
// ("Vistrel"): the exchange library loaded by name at start, its record and
// three status words, the viewer's process, and the steps that the chart
// window's timer, its command 132 and the illumination change run.
//
// The chart window owns the view and the interaction state; it hands them over
// in one input record and applies the requests it gets back, so everything
// here runs and is tested without a window. All of it runs on the GUI thread.
//
// The record (little-endian 32-bit fields, offsets below) and the status bits:
//   A 0x1 a new export is ready, 0x2 new own-ship data, 0x200 close request;
//   B 0x100 the viewer's relief picture is on the clipboard (the program
//     clears it), 0x8 the illumination changed;
//   C 0x1 held by the program while it writes the record, 0x2 held by the
//     viewer (the program then leaves the record alone).
// Exchange coordinates are binary-angle units (2^32 to the turn) from the
// reference point of the last export (Clip3DExport.h): x east, scaled by the
// cosine of the reference latitude, and y north.
//
//   if (LoadViewerExchange()) { ... }                         // at start
//   ViewerExchangeRequests r = ViewerExchangeTimerStep(input); // every tick
//   if (r.redraw) Invalidate();
#pragma once

#include "geo/GeoPoint.h"
#include "geo/GeoRect.h"
#include "geo/Point.h"

#include <cstdint>
#include <string>

class Map;
class TGeoDb;
struct Clip3DScreenMask;
namespace os {
class Process;
}

// Record offsets and lengths.
namespace exchangeRecord {
inline constexpr int PictureWidth = 0;  // client width in pixels (800 at start)
inline constexpr int PictureHeight = 4; // client height in pixels (600 at start)
inline constexpr int ExtentX = 8;       // the view's north-east corner, x (800000 at start)
inline constexpr int ExtentY = 12;      // and y (600000 at start)
inline constexpr int ShipX = 16;        // own ship, -1 when not shown
inline constexpr int ShipY = 20;
inline constexpr int VectorX = 24; // end of the course vector, -1 when not shown
inline constexpr int VectorY = 28;
inline constexpr int Zero36 = 36, Zero40 = 40, Value44 = 44, Zero48 = 48; // 0, 0, 750, 0
inline constexpr int Illumination = 52;                                   // palette scheme x 4 + 1
inline constexpr int Value56 = 56, Value60 = 60;                          // 2, 1
inline constexpr int Flags = 64;      // 0x40 | 0x80, and 0x100 while following
inline constexpr int UpdateMark = 72; // 1 after every update
inline constexpr int StartMark = 76;  // 1, set at start

inline constexpr int FullLength = 96; // the full exchange reads and writes this much
inline constexpr int OwnShipReadLength = 124;
inline constexpr int OwnShipWriteLength = 32; // the timer writes back fields 0 to 28
inline constexpr int SchemeLength = 56;       // the illumination change
} // namespace exchangeRecord

namespace viewerStatus {
inline constexpr std::uint32_t ExportReady = 0x1;    // A
inline constexpr std::uint32_t OwnShipReady = 0x2;   // A
inline constexpr std::uint32_t CloseRequest = 0x200; // A
inline constexpr std::uint32_t SchemeChanged = 0x8;  // B
inline constexpr std::uint32_t ReliefReady = 0x100;  // B
inline constexpr std::uint32_t ProgramWrites = 0x1;  // C
inline constexpr std::uint32_t ViewerReads = 0x2;    // C

inline constexpr std::uint32_t FlagsAlways = 0x40 | 0x80; // record flags
inline constexpr std::uint32_t FlagFollowing = 0x100;
} // namespace viewerStatus

// What the chart window knows at the moment of a call.
struct ViewerExchangeInput {
    int clientWidth = 0, clientHeight = 0; // the chart window's client area, pixels
    GeoRect view{};                        // the view's geographic rectangle
    int levelIndex = 0;                    // chart level index, 0 to 7
    double levelScale = 0;                 // the level scale of that index (denominator)
    GeoPoint ownShip{};                    // own ship's position
    Point ownShipClient{};                 // and its client point (y down, origin top left)
    bool fixSeen = false;                  // a position fix was seen
    double course = 0;                     // course over ground, degrees true
    double speed = 0;                      // speed over ground, knots
    int crsMinutes = 3;                    // minutes of the course vector
    bool following = false;                // own ship is followed
    bool reliefSwitch = false;             // command 131's relief switch
    int detailWord = 0;                    // engine scale level of the chart level, 0 to 7
    int paletteScheme = 0;                 // illumination scheme, 0 to 3
    unsigned long pictureCount = 0;        // chart pictures completed so far
    TGeoDb* database = nullptr;            // the program's chart database
    Map* map = nullptr;                    // the window's projection (a plane unit is a pixel)
    const Clip3DScreenMask* screenMask = nullptr; // null: the export's own mask
};

// What the chart window is asked to do afterwards.
struct ViewerExchangeRequests {
    enum class Button { Unchanged, Up, Down };
    bool redraw = false;      // invalidate the window
    bool recentre = false;    // re-centre at the next tick
    bool reliefReady = false; // set the relief-ready flag (the viewer's picture is ready)
    Button button132 = Button::Unchanged;
};

// Loads the exchange library `name` ("D5ARER.DLL" is libD5ARER.so beside the
// program, else through the system's loader; tests give a path), binds its
// eight entry points all or none, puts the start record and zero status
// words. False, with nothing reported, when the library or any entry point is
// missing: the exchange then stays off. A library loaded before is unloaded
// first.
bool LoadViewerExchange(const std::string& name = "D5ARER.DLL");
bool IsViewerExchangeLoaded();
// Unloads the library and forgets the exchange's state (running flag, the
// picture last exported, the own-ship marker); the viewer's process is left as
// it is.
void UnloadViewerExchange();

// The library is loaded and a program "Vistrel" is found beside the program or
// on PATH (os::findProgram).
bool Is3DViewAvailable();
// The view-running flag: set by command 132, cleared by it again or by the
// timer when the viewer has ended.
bool Is3DViewRunning();

// The exchange update: nothing while status C has 0x2; otherwise, with C 0x1
// held, the record (96 bytes) is read, gets own ship and the end of its course
// vector (from own ship over speed x crsMinutes / 60 nautical miles on the
// course) while the view runs and a fix was seen, else -1 in all four; the
// fixed fields and flags; and with `withSize` the picture size and the view's
// north-east corner; then it is written back. Own ship is -1 as well before
// any export has set the reference point. Nothing without the library.
void UpdateViewerExchange(const ViewerExchangeInput& in, bool withSize);

// Command 132. A running view gets the record read and the close request
// (A 0x200). Otherwise: with the relief switch on, the update without size;
// the close request is cleared; without the relief switch and above detail
// word 2, the export (ExportClip3D at level detail word - 1); the viewer is
// started with the command line "Vistrel"; while following at a course above
// 190 and below 300 degrees a re-centre is asked for. The running flag toggles
// either way, and button 132 follows it. Nothing without the library.
ViewerExchangeRequests Run3DViewCommand(const ViewerExchangeInput& in);

// The timer's exchange step; nothing without the library.
//  - The running flag is cleared (button 132 up) when the viewer has ended.
//  - With the relief switch or the view running, above detail word 2: the
//    export, once per completed chart picture.
//  - Status B 0x100: cleared; above detail word 2 the relief is ready and a
//    redraw is asked for.
//  - While the view runs with the relief switch, above detail word 2, and C
//    lacks 0x2: own ship and its vector end (or -1 once, when own ship's client
//    point has left the window) are written with a read of 124 bytes and a
//    write of 32, C 0x1 held meanwhile; then A |= 0x2.
ViewerExchangeRequests ViewerExchangeTimerStep(const ViewerExchangeInput& in);

// The illumination change: unless C has 0x2, with C 0x1 held, the record's
// first 56 bytes are read and written back with the illumination field :=
// level x 4 + 1; then B |= 0x8 in either case. Nothing without the library.
void SetViewerIllumination(int level);

// The viewer's process, kept for the stop at exit.
os::Process& ViewerProcess();

// After a successful export: the update with the picture size, then A |= 0x1
// and B &= ~0x100. Nothing without the library.
void AnnounceClip3DExport(const ViewerExchangeInput& in);
