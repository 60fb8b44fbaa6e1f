// One drawing pass over a chart view, and the drawing of one chart object.
//
// A TMapContext carries what the symbol procedures of a pass need: the device
// context, the projection, the visible geographic rectangle, the scale
// exponent, the detail level, the presentation mode and the depth zones.
// Draw finds the object's procedure in the presentation library of the
// object's dictionary (presentation/TPresLib.h), builds the object's geometry
// in window coordinates and calls the procedure under DrawLock, with the
// context's device context current in the graphics layer. The caller builds
// one context per pass (usually on its stack) and calls Draw for each object
// its query returns; the aggregate procedure calls it for its members.
//
// Example:
//   TMapContext context(&dc, map, viewRect, 0, EDetails(0), EPresMode(0));
//   context.depthZoneCount = 4;
//   context.depthZones = limits;
//   while (GdbObject* o = query.next()) context.Draw(o);
#pragma once

#include "geo/GeoRect.h"

#include <cstdint>

namespace gdi {
class Dc;
}
namespace TOS {
class TLocker;
}
class Map;
class GdbObject;

// Detail level of a pass: 0 the chart drawing pass; 1 and 2 other drawing
// routines of the navigation program; 0x8000 asks for reduced drawing (a plain
// line for a styled one, one symbol for a tiled pattern). The values have no
// names.
enum EDetails : std::int32_t {};
// Presentation mode: 0 normally; 1 draws light sectors from the second colour
// table, filled in exclusive-or mode. The values have no names.
enum EPresMode : std::int32_t {};

class TMapContext {
  public:
    // Keeps the device context and the map (neither is owned), a copy of the
    // visible rectangle (the view grown by a margin, so that symbols at the
    // edge are drawn whole), the scale exponent, the detail level and the
    // mode. The context starts without depth zones.
    TMapContext(gdi::Dc* dc, Map* map, GeoRect& rect, int scaleExponent, EDetails details,
                EPresMode mode);

    // Draws one object; draws nothing (and builds no geometry, takes no lock)
    // when the object is null, its database, dictionary or presentation
    // library is missing, the dictionary's tables are not a presentation
    // library, its code is not below the library's procedure count or its
    // procedure entry is empty. Nothing is drawn either when the object's
    // newMapObject answers null. An object without geometry (type 0) reaches
    // its procedure as it is. The lock is released and the geometry freed
    // also when the procedure throws; the exception then passes on. The
    // context's device context stays current in the graphics layer.
    void Draw(GdbObject* object);

    // The projection and window transform of the pass.
    Map* map;
    // 0; read by nothing.
    std::int32_t reserved;
    // The device context procedures draw on.
    gdi::Dc* dc;
    // The visible geographic rectangle (binary angles).
    GeoRect rect;
    // Binary exponent of the ratio of the display scale to the chart's scale,
    // less one: procedures draw nothing below -1 and switch detail at 0 and 2.
    std::int32_t scaleExponent;
    EDetails details;
    EPresMode presMode;
    // Number of depth-zone limits (0: no zones) and the limits themselves, in
    // metres, ascending (not owned; null without zones). Set by the caller
    // after construction.
    std::int32_t depthZoneCount;
    const double* depthZones;
};

// The one process-wide re-entrant lock held around every procedure call: it
// guards the graphics layer's state and the tables the procedures share. It
// may be held while the cell-reader, catalogue or geometry locks are taken,
// never the other way round. Built on first use (thread-safe).
TOS::TLocker& DrawLock();
