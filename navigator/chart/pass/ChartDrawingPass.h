// The chart drawing pass: the chart objects of one view drawn onto a device
// context, with one query on the chart database and one map context, as the
// chart window paints its picture (TMapWindow::DrawChart) and as the chart
// view renderer (tools/chartview) draws its pictures.
//
// Scales: the pass is given the chart level's scale (the denominator its
// cells are made for) and the view's display scale. The query opens at
// round(level scale), so the pass draws the cells of the chart level's own
// engine scale level; the map context's scale exponent is frexp(level scale
// / display scale) - 1: 0 at zoom factor 1, one more for each doubling of the
// zoom, -2 when the view is zoomed out to half.
//
// Rules of the pass, in order:
//   - the sounding depth limit is set to 5.0 m; while the detail word is
//     above 1 and the soundings switch is off, codes 147 and 168 draw with the
//     program's procedures (SoundingProcedures.h) for this pass only;
//   - the query: the view's geographic rectangle with the formula {0, display
//     mask A, all ones, 2, 1, ascending, no class lists, no children};
//   - the map context: the view grown by 10 pixels on each side, EDetails 0,
//     EPresMode 0, and the chart level's four depth-zone limits;
//   - an object is skipped when its class's display category (the low four
//     bits of its class entry's primitives; a code without a class entry has
//     none) has its byte off, category 1 being off below a zoom factor of 0.5;
//     a depth area (44) is skipped when a relief picture lies under the chart
//     at a detail word of 3 or more, and when it has attribute 66 without 67;
//   - every saved procedure is put back (147, 168, then 132) and the query is
//     closed on every way out, exceptions of procedures included.
//
//   TChartPassOptions options;                 // the program's defaults
//   options.detailWord = 6;
//   DrawChartPass(&database, 20000, 15000, 5, map, dc, view, options);
#pragma once

#include "gdb/TGdbFormula.h"
#include "geo/GeoRect.h"
#include "geo/Point.h"
#include "procedures/CondSymbProcs.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace gdi {
class Dc;
}
class GdbObject;
class Map;
class TGeoDb;

// The number of display-category switches.
inline constexpr int kChartPassCategoryCount = 20;

// The scales a pass opens its query and its map context at.
struct TChartPassScales {
    unsigned long queryScale; // round(level scale)
    int scaleExponent;        // frexp(level scale / display scale) - 1
};
// For a level scale and a display scale above 0.
TChartPassScales ChartPassScales(double levelScale, double displayScale);

// The pass's query formula with the window's display mask A.
TGdbFormula ChartPassFormula(std::uint32_t displayMaskA);

// The geographic rectangle of a rectangle of chart units through the map, the
// conversion starting from the whole world (longitudes 0x80000001 to
// 0x7FFFFFFF, latitudes 0xC0000000 to 0x40000000).
GeoRect ChartPassGeoRect(Map& map, const Rect& view);

// The settings a pass is drawn with.
struct TChartPassOptions {
    std::uint32_t displayMaskA = 15;
    // The display-category switches (1 on); the program turns 0 to 18 on.
    std::array<std::uint8_t, kChartPassCategoryCount> categories = [] {
        std::array<std::uint8_t, kChartPassCategoryCount> on{};
        on.fill(1);
        return on;
    }();
    double zoomFactor = 1.0;       // the window's zoom factor
    int detailWord = 0;            // the chart level's engine scale level (0 overview)
    bool soundingsSwitch = true;   // on: the engine's sounding procedures
    bool reliefUnderChart = false; // both relief switches on
};

// What one pass did.
struct TChartPassResult {
    bool opened = false;          // the query opened (nothing is drawn otherwise)
    unsigned long queryScale = 0; // the scale the query opened at
    int scaleExponent = 0;        // the map context's
    long returned = 0;            // objects the query returned
    long drawn = 0;               // objects given to TMapContext::Draw
    long skippedCategory = 0;     // by their display category
    long skippedUnderRelief = 0;  // depth areas under the relief picture
    long skippedDepthAreas = 0;   // depth areas with attribute 66 but not 67
};

// Sees each object the query returns, after it was drawn (drawn true) or
// skipped; the object is valid only during the call.
using TChartPassObserver = std::function<void(GdbObject& object, bool drawn)>;

// Draws the chart objects of the view (chart units: one unit per pixel, the
// origin at the client centre, y up; left, bottom, right, top as the Rect's
// left, top, right, bottom) onto dc, which draws in those units, at chart
// level `levelIndex` (0 to 7; another index gives no depth zones) with the
// chart database's presentation library. Nothing without a database or a
// map, or with a display scale of 0 or below. Exceptions of the procedures
// pass on, after the procedures are put back and the query is closed.
TChartPassResult DrawChartPass(TGeoDb* database, double levelScale, double displayScale,
                               int levelIndex, Map* map, gdi::Dc& dc, const Rect& view,
                               const TChartPassOptions& options,
                               const TChartPassObserver& observer = {});

// The procedures a chart pass replaced, and the one of code 132 that another
// chart-window operation replaced: each is put back at the end of the pass and
// its save emptied. Empty: nothing was replaced.
struct TSavedSymbProcedures {
    std::optional<CondSymbProc> code147;
    std::optional<CondSymbProc> code168;
    std::optional<CondSymbProc> code132;
};
TSavedSymbProcedures& SavedSymbProcedures();
