// The chart view renderer: one view of a KV71 chart drawn as the navigation
// program's drawing pass draws it, with its default settings at one of its
// chart levels, onto any device context.
//
// The road: the engine objects (dictionary, presentation library, chart
// database) made once; a view's Map at the display scale with one plane unit
// per 96-dpi pixel; a device context in the chart mapping (one unit per
// pixel, origin at the centre, y up) with the chart palette; then per pass a
// background of colour 9, then the program's own drawing pass
// (chart/pass/ChartDrawingPass.h): one query over the view at the level
// scale with the pass's formula, and TMapContext::Draw for every object the
// pass's rules keep. Left out, as the program draws them apart from the pass:
// the relief picture, the grid, the tide-station marks and the overlays; the
// soundings switch stays on, as the program starts.
//
// Example:
//   ChartEngine engine("data/dict", "data/sample/kv71");
//   ChartView view({5, 15000, 60.398, 5.30, 1920, 1080});
//   QImage picture(1920, 1080, QImage::Format_RGB32);
//   gdi::RasterDc dc(&picture);
//   prepareDc(dc, view, makePalette(readPaletteFile("data/ECPALETT.INI"), SchemeDay));
//   const PassResult r = drawChart(engine, view, dc);
//
// One chart database per process: the chart root and the cell budget are
// those of the first live TKV71Db, so make one engine and keep it.
#pragma once

#include "ChartLevels.h"
#include "ViewRequest.h"

#include "gdb/TGdbFormula.h"
#include "gdi/Dc.h"
#include "gdi/Mapping.h"
#include "gdi/Palette.h"
#include "geo/GeoRect.h"
#include "geo/Point.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class GdbObject;
class Map;
class TKV71Db;
class TKV71Dictionary;
class TPresLib;

namespace chartview {

// A view that cannot be drawn; the text says why (the engine's message).
class ViewError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The engine objects the navigation program makes at start and keeps.
class ChartEngine {
  public:
    // TKV71Dictionary("KV71Dictionary", dictionary folder), TPresLib "INT1Pres"
    // on the same folder, attached to the dictionary before any query, then
    // TKV71Db on the chart root with a cell budget of cacheBytes. Throws
    // ViewError with the engine's message: a dictionary or look-up table
    // missing or unreadable, the symbol fonts missing, a chart root that is
    // not a folder.
    ChartEngine(const std::string& dictionaryFolder, const std::string& chartRoot,
                unsigned long cacheBytes = 64ul << 20);
    // The database, the presentation library, then the dictionary.
    ~ChartEngine();
    ChartEngine(const ChartEngine&) = delete;
    ChartEngine& operator=(const ChartEngine&) = delete;

    TKV71Dictionary& dictionary() { return *dictionary_; }
    TPresLib& presentation() { return *presentation_; }
    TKV71Db& database() { return *database_; }

  private:
    std::unique_ptr<TKV71Dictionary> dictionary_;
    std::unique_ptr<TPresLib> presentation_;
    std::unique_ptr<TKV71Db> database_;
};

// One view: the chart level, the display scale, the centre and the picture.
struct ViewSetup {
    int level = 5;                      // chart level 0 to 7
    std::uint32_t displayScale = 15000; // at least 1
    double latDeg = 0;                  // the centre, degrees
    double lonDeg = 0;
    int width = 1920; // pixels, at least 1
    int height = 1080;
};

// Plane units per chart metre of the view's Map: a plane unit is a pixel of
// 96 per inch.
inline constexpr int kPlaneUnitsPerChartMetre = 3780;

// The pass's query formula: every class (masks 15 and all ones), priority
// layers 2 to 1, ascending, no class lists, no children.
extern const TGdbFormula kPassFormula;

// A view's projection and rectangles, made once and drawn any number of
// times.
class ChartView {
  public:
    // newMap(PRJ_MERCATOR, displayScale, centre, the half-sizes in chart
    // millimetres, 3780, 3780). Throws ViewError when no map can be made.
    explicit ChartView(const ViewSetup& setup);
    ~ChartView();
    ChartView(const ChartView&) = delete;
    ChartView& operator=(const ChartView&) = delete;

    const ViewSetup& setup() const { return setup_; }
    const ViewScales& scales() const { return scales_; }
    Map* map() const { return map_.get(); }
    // The view rectangle in window units: (left - cx, cy - bottom, right - cx,
    // cy - top) of the picture, with cx = (width + 1) / 2 and cy = (height +
    // 1) / 2; its top is the south edge.
    const Rect& viewRect() const { return viewRect_; }
    // Its geographic rectangle (Map2Geo from the whole world), what the
    // query asks for.
    const GeoRect& queryRect() const { return queryRect_; }
    // The view grown by 10 pixels on each side, as a geographic rectangle:
    // the map context's visible rectangle.
    const GeoRect& contextRect() const { return contextRect_; }
    // The chart mapping: one unit per pixel, y up, origin at (cx, cy).
    gdi::Mapping mapping() const;
    // The chart level's four depth-zone limits.
    const double* depthZones() const { return depthZoneLimits(setup_.level); }

  private:
    struct MapDeleter {
        void operator()(Map* map) const;
    };
    ViewSetup setup_;
    ViewScales scales_;
    std::unique_ptr<Map, MapDeleter> map_;
    Rect viewRect_;
    GeoRect queryRect_;
    GeoRect contextRect_;
};

// Selects the palette (kept by the device context) and the view's mapping.
void prepareDc(gdi::Dc& dc, const ChartView& view, std::shared_ptr<gdi::Palette> palette);

// Fills the view rectangle with chart colour 9 (the palette entry the colour
// map gives it), as the program erases before it draws.
void fillBackground(gdi::Dc& dc, const ChartView& view);

// What one pass did.
struct PassResult {
    bool opened = false;        // the query opened (nothing is drawn otherwise)
    long returned = 0;          // objects the query returned
    long drawn = 0;             // objects given to TMapContext::Draw
    long skippedDepthAreas = 0; // depth areas (44) with attribute 66 but not 67
    long skippedCategory = 0;   // category 1 below a zoom factor of 0.5
};

// Called for each object the query returns, after it was drawn (drawn true)
// or skipped; the object is valid only during the call.
using PassObserver = std::function<void(GdbObject& object, bool drawn)>;

// The navigation program's drawing pass (chart/pass/ChartDrawingPass.h) onto
// dc (prepared with prepareDc) with the program's default settings: the
// background, then DrawChartPass at the level scale and the view's display
// scale over the view rectangle, with the view's zoom factor and the level's
// detail word, the soundings switch on and no relief. So it skips, as the
// program does, a depth area with attribute 66 but not 67, and below a zoom
// factor of 0.5 a class of display category 1 (the low four bits of its class
// entry's primitives; a code without a class entry is drawn). The context's
// device context stays current afterwards. Exceptions of procedures pass on.
PassResult drawChart(ChartEngine& engine, const ChartView& view, gdi::Dc& dc,
                     const PassObserver& observer = {});

// What chartview does for a parsed request: reads the palette, makes the
// engine and the view, draws into a picture of the requested size and writes
// it as a PNG (into a temporary file in the output's folder, renamed into
// place). Needs a Qt GUI application for text and glyphs. Answers the result
// line, e.g. "level 5: query 1:20000 (F), display 1:15000, exponent 0, 2345
// objects, 31.4 ms" (the time of the pass). Throws ViewError, and then
// writes nothing.
std::string renderRequest(const ViewRequest& request);

} // namespace chartview
