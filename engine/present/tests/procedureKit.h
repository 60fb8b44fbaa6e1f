// The test kit of the drawing procedures: fake chart objects that answer as
// the KV71 chart objects do, geometry builders in window coordinates, views
// and contexts on a KV71Map, a runner that calls a procedure the way
// TMapContext::Draw does, matchers over what was recorded, a reset of the
// shared drawing state and a gallery writer.
//
// A typical test:
//
//   class Buoys : public kit::ProcedureTest {};
//   TEST_F(Buoys, CardinalNorth) {
//       kit::FakeObject buoy(15);
//       buoy.set(kit::byteAttr(105, 4)).set(kit::byteAttr(7, 1)).setGeometry(kit::point(10, 20));
//       const kit::Drawing d = kit::run(Int1Proc15, buoy);
//       EXPECT_TRUE(d.hasGlyph(33, 134, 0, {10, 20})) << d.log();
//   }
//
// Coordinates are window coordinates of the chart pass: one unit per pixel,
// origin at the centre of the picture, y up. The binary has one Qt GUI
// application (offscreen), made by the kit for all its tests: without one,
// text and glyphs are neither measured nor drawn nor recorded.
#pragma once

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGeoDb.h"
#include "gdi/Mapping.h"
#include "gdi/Palette.h"
#include "kv71/dictionaryTables.h"
#include "presentation/TPresLib.h"
#include "procedures/CondSymbProcs.h"
#include "proj/Map.h"
#include "proj/MapObject.h"
#include "rendering/RendererTrace.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// Whether a Qt GUI application exists.
bool haveGuiApplication();

// ---------------------------------------------------------------- attributes

// One attribute as a chart cell stores it: its code, its format and the value
// bytes that follow the code byte.
struct Attr {
    unsigned code = 0;
    KV71AttributeFormat format = aNotUsed;
    std::vector<std::uint8_t> value;
};

Attr byteAttr(unsigned code, std::uint8_t value);
// aWORD10: the stored whole number (tenths, decimetres...).
Attr wordAttr(unsigned code, std::uint16_t stored);
Attr longAttr(unsigned code, std::int32_t value);
Attr floatAttr(unsigned code, float value);
// aSTRING: the text and its zero.
Attr textAttr(unsigned code, std::string_view text);
// aCMPLX: three leading bytes (flags, x and y offset), the text and its zero.
Attr packedAttr(unsigned code, std::uint8_t flags, std::int8_t x, std::int8_t y,
                std::string_view text);
// aLIST: the count byte and the items.
Attr listAttr(unsigned code, const std::vector<std::uint8_t>& items);
// Any bytes under any format, also malformed ones (a text without its zero, a
// list shorter than its count), as another database might hold them.
Attr rawAttr(unsigned code, KV71AttributeFormat format, std::vector<std::uint8_t> bytes);

// ---------------------------------------------------------------- geometry

// A MapObject's content as a value, in window coordinates.
struct Geometry {
    EGEOMETRYTYPE type = egtEmpty;
    Rect bounds{0, 0, 0, 0};
    std::vector<std::vector<Point>> parts;
    std::vector<std::int32_t> extras;
    std::int32_t extraCount = 0;

    // Replaces what out holds with this geometry (tag kept).
    void fill(MapObject& out) const;
};

// No geometry (type 0), as an object without geometry of its own gives.
Geometry noGeometry();
// A point object: the point in the bounds' first two words.
Geometry point(int x, int y);
// A line of one part, or of several.
Geometry line(const std::vector<Point>& points);
Geometry line(const std::vector<std::vector<Point>>& parts);
// An area of one ring, or of several parts: each ring is closed (its first
// point repeated at the end) and turned clockwise with y up where it is not,
// the orientation MapObject::CentreOfGravity needs; its segment counts are
// {+n, -1}: the n points of the stroked boundary, then the closing point.
Geometry area(const std::vector<Point>& ring);
Geometry area(const std::vector<std::vector<Point>>& rings);
// An area part taken exactly as given, with its own signed segment counts
// (positive stroked, negative masked; they add up to the ring's points).
Geometry areaWithSegments(const std::vector<Point>& ring,
                          const std::vector<std::int32_t>& segments);
// Soundings: one part of points, their depths in the extras, extra count 0.
Geometry soundings(const std::vector<Point>& points, const std::vector<std::int32_t>& depths);

// ---------------------------------------------------------------- the chart

// A dictionary of 255 object and 255 attribute codes.
class FakeDictionary : public TGdbDictionary {
  public:
    FakeDictionary() : TGdbDictionary("kit", nullptr) {}
    int GetObjectNum() const override { return 255; }
    int GetAttrNum() const override { return 255; }
};

// The database of the fake objects: its dictionary carries a presentation
// library of the name "INT1Pres" (the built-in procedure table), loaded from
// look-up files the kit writes into a temporary folder.
struct FakeChart {
    FakeChart();
    ~FakeChart();
    FakeDictionary dictionary;
    std::unique_ptr<TPresLib> presentation;
    TGeoDb database{dictionary};
};

// The binary's one fake chart, made on first use (the symbol fonts must be
// loaded then, as at library start).
FakeChart& chart();

// ---------------------------------------------------------------- objects

// An attribute as a fake object keeps it: the value in a heap block of exactly
// its size, so a read past it is an address-sanitizer finding.
struct StoredAttr {
    unsigned code;
    KV71AttributeFormat format;
    std::size_t size;
    std::unique_ptr<std::uint8_t[]> bytes;
};

class FakeObject;

// The attribute cursor of a fake object; GetValue answers as the KV71
// attribute cursor does: typed 0 the address of the stored value bytes
// (writable), typed 1 a copy by format (aWORD10 as the float of the stored
// number), a null out the size. Values are never read past their stored size.
class FakeAttr : public TGdbAttr {
  public:
    explicit FakeAttr(FakeObject* owner);
    int GetLabel() override;
    int GetValue(void* out, int typed) override;

  private:
    friend class FakeObject;
    StoredAttr* attr_ = nullptr;
};

// A chart object with the code, attributes, parent flag, children and
// geometry a test gives it. As with the KV71 chart objects, one attribute
// cursor serves GetAttr and the attribute walk, so an attribute pointer is
// good until the next of those calls.
class FakeObject : public GdbObject {
  public:
    explicit FakeObject(int code, TGeoDb* database = &chart().database);
    ~FakeObject() override;

    // Adds an attribute (after those set before; GetAttr answers the first of
    // a code).
    FakeObject& set(Attr attribute);
    // The geometry newMapObject answers (in place of the default, a point at
    // the origin), or no geometry at all: newMapObject answers null.
    FakeObject& setGeometry(Geometry geometry);
    FakeObject& noMapObject();
    // Adds a child, which then has the parent flag and this as its parent.
    FakeObject& addChild(std::unique_ptr<FakeObject> child);
    FakeObject& setParentFlag(bool hasParent);
    // Makes clone() answer null.
    FakeObject& refuseClone();

    // newMapObject calls made on this object and on its clones.
    int newMapObjectCalls() const { return *calls_; }
    // The map and window of the last newMapObject call.
    Map* lastMap() const { return lastMap_; }
    const GeoRect& lastWindow() const { return lastWindow_; }
    // The stored bytes of the first attribute of a code as they are now (a
    // procedure may rewrite a text in place); empty when there is none. The
    // text of a text or packed-text attribute up to its zero.
    std::vector<std::uint8_t> storedValue(unsigned code) const;
    std::string storedText(unsigned code) const;
    FakeObject& child(std::size_t i) { return *children_.at(i); }

    // A deep copy (attributes, geometry, children), owned by the caller.
    GdbObject* clone() override;
    int GetLabel() override { return code_; }
    TGdbAttr* GetAttr(unsigned code) override;
    TGdbAttr* FirstAttr() override;
    TGdbAttr* NextAttr() override;
    int HasParent() override { return hasParent_ ? 1 : 0; }
    int HasChilds() override { return children_.empty() ? 0 : 1; }
    GdbObject* GetParent() override { return parent_; }
    GdbObject* FirstChild() override;
    GdbObject* NextChild() override;
    GdbObject* ChildNumber(unsigned n) override;
    // Counts the call; fills reuse (cleared first) or a new object with the
    // canned geometry, or answers null.
    MapObject* newMapObject(Map* map, GeoRect& window, MapObject* reuse) override;

  private:
    const StoredAttr* find(unsigned code) const;

    int code_;
    std::vector<StoredAttr> attrs_;
    FakeAttr cursor_;
    int attrIndex_ = -1;
    std::vector<std::unique_ptr<FakeObject>> children_;
    int childIndex_ = -1;
    FakeObject* parent_ = nullptr;
    bool hasParent_ = false;
    bool cloneable_ = true;
    bool hasMapObject_ = true;
    Geometry geometry_ = point(0, 0);
    std::shared_ptr<int> calls_ = std::make_shared<int>(0);
    Map* lastMap_ = nullptr;
    GeoRect lastWindow_{0, 0, 0, 0};
};

// ---------------------------------------------------------------- views

// How a drawing is set up.
struct Settings {
    int width = 256; // pixels of the picture
    int height = 256;
    std::uint32_t scale = 50000; // the map's scale denominator
    double lonDeg = 5.30;        // the view's centre
    double latDeg = 60.40;
    int scaleExponent = 0;
    int details = 0;  // EDetails
    int presMode = 0; // EPresMode
    // Depth-zone limits in metres, ascending; none by default.
    std::vector<double> depthZones;
};

// Plane units per chart metre of the kit's maps: a plane unit is a pixel of
// 96 per inch.
inline constexpr int kPixelsPerChartMetre = 3780;

// A view: a KV71Map from newMap(PRJ_MERCATOR, ...) of the settings' picture
// size with div kPixelsPerChartMetre, so a plane unit is a pixel and window
// coordinates equal plane coordinates (the map's own window transform).
class View {
  public:
    explicit View(const Settings& settings = {});
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    Map* map() const { return map_; }
    // The view's geographic rectangle (the map's window).
    GeoRect& rect() { return rect_; }
    // A context of the settings on dc, with the settings' depth zones (kept by
    // the view).
    TMapContext context(gdi::Dc* dc);

  private:
    Settings settings_;
    Map* map_;
    GeoRect rect_;
};

// ---------------------------------------------------------------- recordings

// The palette index a chart colour number draws with (colour 0's for numbers
// outside 0 to 31).
int paletteIndex(int chartColour);
// The font row a font number records as (-1 for none; the stroke font 36 has
// no row: its glyphs are recorded as polylines).
int fontRow(int font);

// One line of a recording, parsed. Points and boxes are given back in window
// coordinates (y up), as the procedures computed them.
struct Call {
    std::string kind; // Text, Polyline, Polygon, Pixels, Ellipse, Arc, Pie, Rectangle, ...
    std::string line; // the line as recorded
    // Pens: "null", "solid", "dot"; their width and colour (palette index, -1
    // for a colour value).
    std::string penStyle;
    int penWidth = 0;
    int penColour = -1;
    // Brushes: "null", "solid/p<n>", "hatch<n>/...", "pattern/<hex>"; a solid
    // brush's colour; the text= and bk= colours of pattern brushes.
    std::string brush;
    int brushColour = -1;
    int textColour = -1;
    int bkColour = -1;
    std::string rop; // copy, mask, merge, xor, not
    std::vector<Point> points;
    std::vector<Rect> boxes; // [l,t,r,b] as left, bottom, right, top in y up
    // Text lines: the font row, the colour (palette index), the alignment,
    // angle and scale, and the character codes. Pixels lines: the colour.
    int row = -1;
    int colour = -1;
    int align = 0;
    double angle = 0;
    int scale = 0;
    std::vector<int> codes;
};

// What a drawing recorded, with matchers in the procedures' own terms.
// Colours are chart colour numbers and fonts font numbers; positions are
// window coordinates.
class Drawing {
  public:
    Drawing(std::string log, const gdi::Mapping& mapping);

    const std::string& log() const { return log_; }
    const std::vector<Call>& calls() const { return calls_; }
    // The calls of one kind.
    std::vector<Call> of(std::string_view kind) const;

    // Texts and glyphs of a font (of its row).
    std::vector<Call> texts(int font) const;
    // Glyph code of font in colour with its reference point at `at`.
    bool hasGlyph(int font, int code, int colour, Point at) const;
    // The text in font and colour with its reference point at `at`.
    bool hasText(int font, std::string_view text, int colour, Point at) const;
    // Solid lines (and stroke-font glyphs) in colour and pen width.
    std::vector<Call> solidLines(int colour, int width = 1) const;
    bool hasSolidLine(int colour, int width, const std::vector<Point>& points) const;
    // The pixels set by one-pixel dashed lines in colour.
    std::vector<Point> dashPixels(int colour) const;
    // Area pattern fills whose colour pass is in colour: each is a polygon
    // masked to black and merged with the colour, two lines.
    int patternFills(int colour) const;
    // Solid polygon fills in colour.
    int solidFills(int colour) const;

  private:
    std::string log_;
    std::vector<Call> calls_;
};

// Checks the graphics layer's shared state after a procedure: line width 1,
// area pattern 0, exclusive-or off (a test failure names what is left).
void expectLayerStateRestored(const std::string& after);

// Calls draw(context) the way TMapContext::Draw calls a procedure: on a
// recording device context of the settings' size in the chart mapping, made
// current, with DrawLock held. Checks the layer's state afterwards and
// answers what was recorded.
Drawing record(const std::function<void(TMapContext&)>& draw, const Settings& settings = {});

// Draws the object through TMapContext::Draw with procedure installed for the
// object's code in its presentation library (and the previous entry put back
// afterwards, also on a throw), under record().
Drawing run(CondSymbProc procedure, GdbObject& object, const Settings& settings = {});
// The same with the procedure table as it stands.
Drawing draw(GdbObject& object, const Settings& settings = {});

// The raster forms: the picture drawn on a RasterDc with the kit's palette,
// over a background of background (a colour value).
QImage paint(const std::function<void(TMapContext&)>& draw, const Settings& settings = {},
             QRgb background = 0xFFF0F0F0u);
QImage runRaster(CondSymbProc procedure, GdbObject& object, const Settings& settings = {},
                 QRgb background = 0xFFF0F0F0u);

// The pixel of a picture from paint() or runRaster() at a window point (origin
// at the picture's centre, y up); 0 outside the picture.
QRgb pixelAt(const QImage& picture, Point at);

// A palette of 256 entries in which each chart colour number has a colour
// fit for looking at (black ink, white, depth blues, land, magenta...).
std::shared_ptr<gdi::Palette> chartPalette();
// The colour value of chart colour number c in chartPalette(), as a pixel.
QRgb chartRgb(int chartColour);

// ---------------------------------------------------------------- renderer trace

// Collects the renderers' calls (rendering/RendererTrace.h) with their
// records as they were at call time, from its making to its end; one at a
// time.
class Trace {
  public:
    Trace();
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    const std::vector<RendererCall>& calls() const { return calls_; }
    // The calls of one kind, in order.
    std::vector<RendererCall> of(RendererCallKind kind) const;
    // One line per call, for failure messages.
    std::string log() const;
    void clear() { calls_.clear(); }

  private:
    static void collect(const RendererCall& call, void* self);
    std::vector<RendererCall> calls_;
};

// ---------------------------------------------------------------- state

// Puts the shared drawing state back to its start: line width 1, area pattern
// 0, exclusive-or off, no current device context, the built-in procedure
// table and symbol elements as at library start, StructureAnchors (0, 0),
// LightStackCount 0, the line element templates as at library load and no
// renderer trace.
void resetDrawingState();

// A fixture that resets the shared drawing state before and after each test.
class ProcedureTest : public ::testing::Test {
  protected:
    void SetUp() override { resetDrawingState(); }
    void TearDown() override { resetDrawingState(); }
};

// ---------------------------------------------------------------- galleries

// A sheet of labelled cells, one per case, written as a PNG under the test
// pictures folder for a person to look at.
class Gallery {
  public:
    // Cells of cell x cell pixels, columns across; the file is <name>.png.
    explicit Gallery(std::string name, int cell = 128, int columns = 8);

    // A case drawn by the procedure (installed as run() does) on the raster
    // backend, its window origin at the cell's centre.
    void add(const std::string& label, CondSymbProc procedure, GdbObject& object,
             Settings settings = {});
    // A case drawn by draw under the contract, as paint() does.
    void add(const std::string& label, const std::function<void(TMapContext&)>& draw,
             Settings settings = {});
    // Writes the sheet (each label under its cell) and answers the file's
    // path; "" when there is no case or it cannot be written.
    std::string write() const;

  private:
    std::string name_;
    int cell_;
    int columns_;
    std::vector<std::pair<std::string, QImage>> cells_;
};

// The folder of the test pictures (made when missing).
std::string picturesFolder();

// ---------------------------------------------------------------- files

// A fresh folder under the system's temporary folder, removed with what it
// holds when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in '/'.
    const std::string& path() const { return path_; }
    // Writes bytes as the whole file name in the folder; answers its path.
    std::string write(const std::string& name, std::string_view bytes) const;

  private:
    std::string path_;
};

} // namespace kit
