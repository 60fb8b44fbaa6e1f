// A device context: the drawing state and operations the chart engine and the
// programs draw with, over one of two backends (RasterDc draws pixels into an
// image, RecordingDc writes a log of what was drawn).
//
// Coordinates given to drawing operations are logical units and go through the
// context's mapping (Mapping.h) to device pixels; pen widths, brush patterns and
// clip regions are in device pixels and are never scaled. Shapes bounded by a
// rectangle cover its left and top edges and leave out its right and bottom
// edges, in device pixels after mapping; a rectangle given reversed is turned
// round. Arcs and pies run from the start radial to the end radial
// counterclockwise as seen on screen, whatever the mapping.
//
// A context keeps its own state (pen, brush, raster operation, colours, modes,
// palette, mapping, clip region, current position) for its whole life; a backend
// applies it anew whenever it begins to paint. Destroying a context tells its
// destroy listeners first, so that nobody keeps it as current.
#pragma once

#include "gdi/Brush.h"
#include "gdi/Colour.h"
#include "gdi/Font.h"
#include "gdi/Mapping.h"
#include "gdi/Palette.h"
#include "gdi/Pen.h"
#include "gdi/Region.h"
#include "gdi/XY.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace gdi {

// How a pen or brush meets the picture (per colour bit; s = drawn colour, d = picture).
enum class Rop2 {
    Copy,  // s
    Mask,  // s AND d
    Merge, // s OR d
    Xor,   // s XOR d (drawing twice restores the picture)
    Not,   // NOT d (the colour is not used)
};

enum class BkMode { Transparent, Opaque };

// Bit-block transfer operations (s = source pixel, d = destination pixel). A
// monochrome source is turned into colour by the destination context: 0 bits
// (black) take its text colour and 1 bits (white) its background colour. A colour
// source copied into a monochrome bitmap gives 1 (white) where it equals the
// source context's background colour and 0 elsewhere.
enum class BlitOp {
    Copy,      // s
    And,       // s AND d
    Paint,     // s OR d
    SrcInvert, // s XOR d
    DstInvert, // NOT d
};

// Text alignment: where the reference point of textOut lies on the text's cell.
// One of left, centre, right with one of top, bottom, baseline (GDI values).
inline constexpr unsigned TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24;
// extTextOut options: fill the rectangle with the background colour; clip the
// text to it.
inline constexpr unsigned ETO_OPAQUE = 2, ETO_CLIPPED = 4;

// A rectangle in logical units, left and top inclusive, right and bottom exclusive.
struct TextRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// What a device can show.
struct DeviceCaps {
    int horzRes = 0, vertRes = 0;       // pixels across and down
    int horzSizeMm = 0, vertSizeMm = 0; // millimetres across and down
    int bitsPerPixel = 32;
    int numReserved = 20; // palette entries the system keeps for itself

    // A screen of width x height pixels at 96 pixels per inch.
    static DeviceCaps forScreen(int width, int height);
};

// Returned by getPixel for a pixel outside the picture or the clip region.
inline constexpr Colour kInvalidColour = 0xFFFFFFFFu;

class Dc {
  public:
    virtual ~Dc();
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    // Drawing tools; each setter returns what was there before.
    Pen setPen(const Pen& pen) { return std::exchange(pen_, pen); }
    const Pen& pen() const { return pen_; }
    Brush setBrush(const Brush& brush) { return std::exchange(brush_, brush); }
    const Brush& brush() const { return brush_; }
    Rop2 setRop2(Rop2 rop) { return std::exchange(rop2_, rop); }
    Rop2 rop2() const { return rop2_; }
    Colour setTextColour(Colour c) { return std::exchange(textColour_, c); }
    Colour textColour() const { return textColour_; }
    Colour setBkColour(Colour c) { return std::exchange(bkColour_, c); }
    Colour bkColour() const { return bkColour_; }
    BkMode setBkMode(BkMode m) { return std::exchange(bkMode_, m); }
    BkMode bkMode() const { return bkMode_; }
    FillMode setPolyFillMode(FillMode m) { return std::exchange(fillMode_, m); }
    FillMode polyFillMode() const { return fillMode_; }
    // Where (in device pixels) the 8 x 8 brush patterns start.
    XY setBrushOrigin(XY origin) { return std::exchange(brushOrigin_, origin); }
    XY brushOrigin() const { return brushOrigin_; }

    // The palette that palette-index colours are resolved through; null selects the
    // standard palette. Shared: the owner may animate it while it is selected.
    std::shared_ptr<Palette> selectPalette(std::shared_ptr<Palette> palette);
    const std::shared_ptr<Palette>& palette() const { return palette_; }
    // Pictures are true-colour, so realising only reports the palette's size.
    int realizePalette() const;
    // The colour a colour value draws in this context: palette indices resolved,
    // the other high bytes cleared; black or white on a monochrome picture.
    Colour resolve(Colour c) const;

    Mapping setMapping(const Mapping& m) { return std::exchange(mapping_, m); }
    const Mapping& mapping() const { return mapping_; }

    // Limits every later drawing and transfer to the region (device pixels); null
    // draws everywhere again. The region is copied.
    void setClipRegion(const Region* region);
    const std::optional<Region>& clipRegion() const { return clip_; }

    // The font text is drawn and measured in; null selects the system font.
    std::shared_ptr<const Font> selectFont(std::shared_ptr<const Font> font);
    const std::shared_ptr<const Font>& font() const { return font_; }
    unsigned setTextAlign(unsigned align) { return std::exchange(textAlign_, align); }
    unsigned textAlign() const { return textAlign_; }

    // Windows-1252 text at the reference point (x, y), placed by the text
    // alignment. Only the reference point is mapped: the text stays upright on
    // screen in the text colour, and under the opaque background mode its cell
    // box is first filled with the background colour. The raster operation is
    // not used. Lays glyphs out with whole-pixel advances, without kerning.
    void textOut(int x, int y, std::string_view text);
    // textOut with a rectangle: ETO_OPAQUE fills it with the background colour
    // first (whatever the background mode); ETO_CLIPPED limits the text to it.
    // A null rectangle ignores both options.
    void extTextOut(int x, int y, unsigned options, const TextRect* rect, std::string_view text);
    // Width of the text and height of the font's cell, in pixels.
    XY textExtent(std::string_view text) const;

    // Puts every piece of state back as a new context has it: tools, colours,
    // modes, palette, mapping, clip region, font, alignment and position.
    void restoreDefaults();

    // Current position (logical units): moveTo returns the previous one; lineTo and
    // polylineTo draw from it and leave it at their last point.
    XY moveTo(int x, int y) { return std::exchange(position_, XY{x, y}); }
    XY currentPosition() const { return position_; }
    void lineTo(int x, int y);
    void polylineTo(std::span<const XY> points);

    // Outlines with the pen (nothing with fewer than two points).
    void polyline(std::span<const XY> points);
    // Closed and filled with the brush under the fill mode, outlined with the pen.
    void polygon(std::span<const XY> points);
    void rectangle(int left, int top, int right, int bottom);
    // Corners are ellipse quarters of cornerWidth x cornerHeight (device pixels).
    void roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void ellipse(int left, int top, int right, int bottom);
    // The ellipse of the box from where the line from its centre to `start` meets
    // it, counterclockwise on screen, to where the line to `end` meets it. Equal
    // directions give the whole ellipse. The arc is outlined only; a pie is filled
    // with the brush and outlined together with its two radii.
    void arc(int left, int top, int right, int bottom, XY start, XY end);
    void pie(int left, int top, int right, int bottom, XY start, XY end);
    // Fills with the brush as it is, ignoring the raster operation and the pen.
    void fillRect(int left, int top, int right, int bottom, const Brush& brush);
    // A run of device pixels in one row: x from x0 up to but not including x1.
    struct Span {
        int y, x0, x1;
    };
    // Fills runs of device pixels (not mapped) in the colour, as fillRect
    // fills: the raster operation, pen and brush are not used; the clip region
    // is. The graphics layer paints rasterised glyphs with it.
    void fillSpans(std::span<const Span> spans, Colour colour);
    // Sets one pixel to the colour, ignoring the raster operation.
    void setPixel(int x, int y, Colour c);
    // The colour of a pixel as 0x00BBGGRR, or kInvalidColour.
    Colour getPixel(int x, int y) const;

    // Copies width x height from src at (srcX, srcY) to (x, y). Both rectangles
    // are taken in their own context's logical units and mapped to device pixels;
    // where one mapping turns an axis round and the other does not, the picture is
    // mirrored on that axis (so a y-up source lands upright in a y-up destination).
    // The destination's size in pixels is copied, without stretching. Pixels
    // outside either picture are left alone. Returns false when nothing could be
    // copied (no picture to read).
    bool blit(int x, int y, int width, int height, const Dc& src, int srcX, int srcY, BlitOp op);

    // The device the context draws on.
    virtual DeviceCaps caps() const = 0;
    // Width and height in pixels of the picture drawn into (a memory context's
    // bitmap, a window's image).
    virtual XY pictureSize() const = 0;
    // Whether it draws onto a monochrome picture.
    virtual bool isMonochrome() const { return false; }

    // Called with this context when it is destroyed; the key removes it.
    void addDestroyListener(const void* key, std::function<void(Dc*)> fn);
    void removeDestroyListener(const void* key);

    // A shape after mapping, in device pixels.
    struct Shape {
        enum Kind { Polyline, Polygon, Rectangle, RoundRect, Ellipse, Arc, Pie, FillRect } kind;
        std::vector<XY> points;                       // Polyline, Polygon
        int left = 0, top = 0, right = 0, bottom = 0; // normalised box, right/bottom excluded
        XY start, end;                                // Arc, Pie: radial ends
        int cornerWidth = 0, cornerHeight = 0;        // RoundRect
        Brush fill;                                   // FillRect
    };

    // A text after layout, in device pixels.
    struct TextRun {
        std::shared_ptr<const Font> font;
        std::string text;                             // Windows-1252, as given
        Font::Layout layout;                          // glyphs and advances
        XY origin;                                    // start of the baseline
        int left = 0, top = 0, right = 0, bottom = 0; // the text's cell box
        bool fillBox = false;           // opaque background mode: the cell box is filled
        std::optional<TextRect> opaque; // ETO_OPAQUE: this box is filled first
        std::optional<TextRect> clip;   // ETO_CLIPPED: text limited to this box
        XY reference;                   // the reference point
        unsigned align = 0;
    };

  protected:
    Dc() = default;

    // Backend hooks, in device pixels; state is read from the context.
    virtual void render(const Shape& shape) = 0;
    // The colour as given (palette indices unresolved).
    virtual void renderPixel(int x, int y, Colour c) = 0;
    virtual Colour readPixel(int x, int y) const = 0;
    // Destination pixel (x + i, y + j) takes source pixel (srcX + i, srcY + j), or
    // (srcX + width - 1 - i, ...) and (..., srcY + height - 1 - j) when mirrored.
    struct BlitArea {
        int x, y, width, height, srcX, srcY;
        bool mirrorX, mirrorY;
    };
    virtual bool renderBlit(const BlitArea& area, const Dc& src, BlitOp op) = 0;
    virtual void renderText(const TextRun& run) = 0;
    // Runs of device pixels filled in the colour as given; by default one
    // solid FillRect shape per run.
    virtual void renderSpans(std::span<const Span> spans, Colour colour);

    // Changes whenever the clip region is set, so a backend can tell it changed.
    unsigned clipSerial() const { return clipSerial_; }
    // Whether (x, y) in device pixels is inside the clip region.
    bool clipAllows(int x, int y) const { return !clip_ || clip_->contains(x, y); }

  private:
    void boxShape(Shape::Kind kind, int left, int top, int right, int bottom, Shape& s) const;

    Pen pen_{};
    Brush brush_{};
    Rop2 rop2_ = Rop2::Copy;
    Colour textColour_ = kBlack;
    Colour bkColour_ = kWhite;
    BkMode bkMode_ = BkMode::Opaque;
    FillMode fillMode_ = FillMode::Alternate;
    XY brushOrigin_{0, 0};
    std::shared_ptr<Palette> palette_;
    Mapping mapping_{};
    std::optional<Region> clip_;
    unsigned clipSerial_ = 0;
    XY position_{0, 0};
    std::shared_ptr<const Font> font_;
    unsigned textAlign_ = TA_LEFT | TA_TOP;
    std::vector<std::pair<const void*, std::function<void(Dc*)>>> destroyListeners_;
};

} // namespace gdi
