#include "graphics/GraphicsText.h"

#include "gdi/RecordingDc.h"
#include "graphics/FixedSin.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/VectorFont.h"
#include "runtime/intmath.h"

#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using gdi::Dc;
using gdi::XY;

// Glyph bitmaps above this size are not drawn or measured, as in the layer's
// glyph-bitmap path (a 1-bit bitmap with rows padded to 32 bits).
constexpr long kGlyphBitmapLimit = 10000;

long bitmapBytes(const QRect& box) {
    if (box.isEmpty()) return 0;
    return long((box.width() + 31) / 32) * 4 * box.height();
}

using Span = gdi::Dc::Span;

// Runs of pixels gathered for one fill; reused, as the layer draws on one
// thread at a time.
std::vector<Span>& spanBuffer() {
    static std::vector<Span> spans;
    spans.clear();
    return spans;
}

// Paints the pixels of a device-space path in a colour value, leaving every
// other pixel as it was.
void fillDevicePath(Dc& dc, const QPainterPath& path, gdi::Colour colour) {
    const XY size = dc.pictureSize();
    std::vector<Span>& spans = spanBuffer();
    gdPathSpans(path, QRect(0, 0, size.x, size.y), spans);
    dc.fillSpans(spans, colour);
}

// Appends a glyph's cached coverage placed with its origin on the device
// pixel (x, y), cut to a picture of the given size.
void placeCoverage(const std::vector<Span>& coverage, std::int64_t x, std::int64_t y, XY picture,
                   std::vector<Span>& out) {
    for (const Span& s : coverage) {
        const std::int64_t row = y + s.y;
        if (row < 0 || row >= picture.y) continue;
        const std::int64_t l = std::max<std::int64_t>(x + s.x0, 0);
        const std::int64_t r = std::min<std::int64_t>(x + s.x1, picture.x);
        if (l < r) out.push_back({int(row), int(l), int(r)});
    }
}

// The glyphs of a text in a face, with whole-pixel advances as the device
// context lays them out.
struct Run {
    std::vector<quint32> glyphs;
    std::vector<int> advances;
    int width = 0;
};

Run layout(const GdFace& face, const char* bytes, std::size_t n) {
    Run run;
    run.glyphs.reserve(n);
    run.advances.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const GdGlyphCache::ByteGlyph& g =
            face.cache.byteGlyph(face, static_cast<unsigned char>(bytes[i]));
        run.glyphs.push_back(g.glyph);
        run.advances.push_back(g.advance);
        run.width += g.advance;
    }
    return run;
}

// The width of a text laid out as layout() does.
int runWidth(const GdFace& face, const char* bytes, std::size_t n) {
    int width = 0;
    for (std::size_t i = 0; i < n; ++i)
        width += face.cache.byteGlyph(face, static_cast<unsigned char>(bytes[i])).advance;
    return width;
}

int cellAscent(const GdFace& f) {
    return f.cache.ascent(f);
}
int cellHeight(const GdFace& f) {
    return f.cache.cellHeight(f);
}

std::string codesText(const char* bytes, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        if (i) s += ',';
        s += std::to_string(static_cast<unsigned char>(bytes[i]));
    }
    return s;
}

// On a recording context: the line that stands for a text call. Returns whether
// the context records.
bool recordText(Dc& dc, int row, int colour, int x, int y, int align, double angle, int scale,
                const char* bytes, std::size_t n) {
    auto* rec = dynamic_cast<gdi::RecordingDc*>(&dc);
    if (!rec) return false;
    const XY d = dc.mapping().toDevice({x, y});
    // The angle as "%g" would give it, but with a point whatever the locale.
    char angleText[32] = {}; // the last byte stays the terminator
    std::to_chars(angleText, angleText + sizeof angleText - 1, angle, std::chars_format::general,
                  6);
    char head[160];
    std::snprintf(
        head, sizeof head, "Text row=%d %s (%d,%d) align=%d angle=%s scale=%d codes=", row,
        gdi::RecordingDc::colourText(gdColour(colour)).c_str(), d.x, d.y, align, angleText, scale);
    rec->note(head + codesText(bytes, n));
    return true;
}

// Upright text of a face at the logical point (x, y) with the alignment.
void drawUpright(Dc& dc, int row, const GdFace& face, int colour, int x, int y, int align,
                 const char* bytes, std::size_t n) {
    if (recordText(dc, row, colour, x, y, align, 0, 0, bytes, n)) return;
    const int width = runWidth(face, bytes, n);
    const XY d = dc.mapping().toDevice({x, y});
    int baseline;
    if ((align & kTaBaseline) == kTaBaseline)
        baseline = d.y;
    else if (align & kTaBottom)
        baseline = d.y - (cellHeight(face) - cellAscent(face));
    else
        baseline = d.y + cellAscent(face);
    std::int64_t penX = d.x;
    if ((align & kTaCenter) == kTaCenter)
        penX -= width / 2;
    else if (align & kTaRight)
        penX -= width;
    // Each glyph's pixels, rasterised once at its origin, shifted to its place.
    const XY picture = dc.pictureSize();
    std::vector<Span>& spans = spanBuffer();
    const std::int64_t start = penX;
    for (std::size_t i = 0; i < n; ++i) {
        const GdGlyphCache::ByteGlyph& g =
            face.cache.byteGlyph(face, static_cast<unsigned char>(bytes[i]));
        placeCoverage(face.cache.coverage(face, g.glyph), penX, baseline, picture, spans);
        penX += g.advance;
    }
    if (face.underline && width > 0) {
        const double thick = std::max(1.0, face.raw.lineThickness());
        QPainterPath line;
        line.addRect(QRectF(double(start), baseline + face.raw.underlinePosition(), width, thick));
        gdPathSpans(line, QRect(0, 0, picture.x, picture.y), spans);
    }
    dc.fillSpans(spans, gdColour(colour));
}

// Writes bytes in the font the device context holds, transparently, as the
// character functions do: the text colour is left set, the background mode put back.
void textOut(int colour, int x, int y, const char* bytes, std::size_t n) {
    Dc* dc = gdCurrentDc();
    if (!dc || gdCurrentFont() < 0 || n == 0) return;
    dc->setTextColour(gdColour(colour));
    const gdi::BkMode old = dc->setBkMode(gdi::BkMode::Transparent);
    const int row = gdDeviceFont();
    if (const GdFace* face = gdFace(row))
        drawUpright(*dc, row, *face, colour, x, y, gdTextAlign(), bytes, n);
    dc->setBkMode(old);
}

// Draws the stroke glyphs onto the current device context.
class DcGlyphSink : public VectorGlyphSink {
  public:
    explicit DcGlyphSink(Dc& dc) : dc_(dc), pen_(dc.pen()), brush_(dc.brush()) {}
    ~DcGlyphSink() override {
        dc_.setPen(pen_);
        dc_.setBrush(brush_);
    }
    void polyline(const VectorPen& pen, const std::vector<Point>& pts) override {
        dc_.setPen(toPen(pen));
        const std::vector<XY> xy = toXY(pts);
        dc_.polyline(xy);
    }
    void polygon(const VectorBrush& brush, const VectorPen* pen,
                 const std::vector<Point>& pts) override {
        dc_.setPen(pen ? toPen(*pen) : gdi::Pen::null());
        dc_.setBrush(toBrush(brush));
        const std::vector<XY> xy = toXY(pts);
        dc_.polygon(xy);
    }
    void circle(const VectorPen& pen, Point c, int r) override {
        dc_.setPen(toPen(pen));
        dc_.setBrush(gdi::Brush::null());
        dc_.ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
    }
    void filledCircle(const VectorBrush& brush, Point c, int r) override {
        dc_.setPen(gdi::Pen::null());
        dc_.setBrush(toBrush(brush));
        dc_.ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
    }

  private:
    static gdi::Pen toPen(const VectorPen& p) {
        const gdi::PenStyle style = p.style == 5   ? gdi::PenStyle::Null
                                    : p.style == 2 ? gdi::PenStyle::Dot
                                                   : gdi::PenStyle::Solid;
        return gdi::Pen{style, std::max(0, p.width), gdColour(p.colour)};
    }
    static gdi::Brush toBrush(const VectorBrush& b) {
        if (b.style == 1) return gdi::Brush::null();
        if (b.style == 2)
            return gdi::Brush::hatched(gdi::Hatch(std::clamp(b.hatch, 0, 5)), gdColour(b.colour));
        return gdi::Brush::solid(gdColour(b.colour));
    }
    static std::vector<XY> toXY(const std::vector<Point>& pts) {
        std::vector<XY> xy;
        xy.reserve(pts.size());
        for (const Point& p : pts)
            xy.push_back({p.x, p.y});
        return xy;
    }
    Dc& dc_;
    gdi::Pen pen_;
    gdi::Brush brush_;
};

// The glyph transform of (scale, angle) as drawn on screen (device pixels, y
// down): the fixed-point matrix of the layer, turned counterclockwise on screen.
QTransform glyphTransform(const Dc& dc, int scale, double angle) {
    const std::array<std::int32_t, 4> m = GD_RotationMatrix(scale, angle);
    const double c = m[0] / 65536.0, s = -m[1] / 65536.0;
    // In logical units the glyph turns counterclockwise; where the mapping
    // turns y round (y up), that is also counterclockwise on screen.
    const double screenS = dc.mapping().flipsY() ? s : -s;
    return QTransform(c, -screenS, screenS, c, 0, 0);
}

// Draws one rotated outline glyph of a face with its origin at device point
// (ox, oy); returns its black box relative to the origin (empty when it has
// no ink or is too large to draw).
QRectF drawTurnedGlyph(Dc& dc, const GdFace& face, quint32 glyph, const QTransform& t, double ox,
                       double oy, int colour, bool draw) {
    const QPainterPath path = t.map(face.cache.outline(face, glyph));
    const QRectF box = path.boundingRect();
    if (path.isEmpty() || bitmapBytes(box.toAlignedRect()) > kGlyphBitmapLimit) return {};
    if (!draw) return box;
    if (t.isIdentity() && ox == std::floor(ox) && oy == std::floor(oy) && std::abs(ox) < 1e15 &&
        std::abs(oy) < 1e15) {
        // Upright on whole pixels: the glyph's cached pixels.
        std::vector<Span>& spans = spanBuffer();
        placeCoverage(face.cache.coverage(face, glyph), std::int64_t(ox), std::int64_t(oy),
                      dc.pictureSize(), spans);
        dc.fillSpans(spans, gdColour(colour));
    } else {
        fillDevicePath(dc, path.translated(ox, oy), gdColour(colour));
    }
    return box;
}

} // namespace

void GD_CharXY(int colour, int x, int y, int ch) {
    const char c = char(ch);
    textOut(colour, x, y, &c, 1);
}

void GD_WriteXY(int colour, int x, int y, const char* text) {
    if (!text) return;
    textOut(colour, x, y, text, std::strlen(text));
}

void GD_SymbolXY(int colour, int x, int y, int ch) {
    if (gdCurrentFont() == kVectorFontRow) {
        GD_VectorGlyph(x, y, ch, 0, 0, 1);
        return;
    }
    GD_CharXY(colour, x, y, ch);
}

void GD_VectorGlyph(int x, int y, int ch, double angle, int scale, int count) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    DcGlyphSink sink(*dc);
    VG_DrawGlyphs(sink, x, y, ch, angle, scale, count);
}

void GD_VectCharXY(int colour, int x, int y, int ch, double angle, int scale, int count) {
    const int row = gdCurrentFont();
    if (row < 0) return;
    if (row == kVectorFontRow) {
        GD_VectorGlyph(x, y, ch, angle, scale, count);
        return;
    }
    Dc* dc = gdCurrentDc();
    const GdFace* face = dc ? gdFace(gdDeviceFont()) : nullptr;
    if (!face) return;
    const char c = char(ch);
    if (recordText(*dc, gdDeviceFont(), colour, x, y, -1, angle, scale, &c, 1)) return;
    const quint32 g = face->cache.byteGlyph(*face, static_cast<unsigned char>(c)).glyph;
    const XY d = dc->mapping().toDevice({x, y});
    dc->setTextColour(gdColour(colour));
    drawTurnedGlyph(*dc, *face, g, glyphTransform(*dc, scale, angle), d.x, d.y, colour, true);
}

void GD_RotatedText(int colour, int x, int y, const char* text, double angle, int scale) {
    Dc* dc = gdCurrentDc();
    const int row = gdCurrentFont();
    if (!dc || row < 0 || !text || !*text) return;
    const std::size_t n = std::strlen(text);
    if (row == kVectorFontRow) {
        // The stroke font follows the angle with its own advance widths.
        const double a = angle * M_PI / 180.0;
        double px = x, py = y;
        for (std::size_t i = 0; i < n; ++i) {
            const int ch = static_cast<unsigned char>(text[i]);
            GD_VectorGlyph(int(round(px, 0)), int(round(py, 0)), ch, angle, scale, 1);
            const VectorGlyphRecord* g = VG_Glyph(ch);
            const double adv = g ? g->advance() * std::ldexp(1.0, scale) : 0.0;
            px += adv * std::cos(a);
            py += adv * std::sin(a);
        }
        return;
    }
    const GdFace* face = gdFace(gdDeviceFont());
    if (!face) return;
    if (recordText(*dc, gdDeviceFont(), colour, x, y, -1, angle, scale, text, n)) return;
    dc->setTextColour(gdColour(colour));
    const QTransform t = glyphTransform(*dc, scale, angle);
    const Run run = layout(*face, text, n);
    const XY d = dc->mapping().toDevice({x, y});
    double px = d.x, py = d.y;
    bool first = true;
    for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
        const quint32 g = run.glyphs[i];
        const QPointF step = t.map(QPointF(run.advances[i], 0));
        const QPainterPath& outline = face->cache.outline(*face, g);
        if (g == 0) continue;    // no outline for the character: skipped without advancing
        if (outline.isEmpty()) { // a blank: nothing to draw, but it advances
            px += step.x();
            py += step.y();
            continue;
        }
        if (first) {
            // The first drawn glyph puts its black box's lower left on the start.
            const QRectF box = t.map(outline).boundingRect();
            px -= box.left();
            py -= box.bottom();
            first = false;
        }
        drawTurnedGlyph(*dc, *face, g, t, px, py, colour, true);
        px += step.x();
        py += step.y();
    }
}

void GD_VectWriteXY(int colour, unsigned n, Point* pts, char* text, int scale) {
    if (n == 0 || !pts || !text || !*text || std::strlen(text) >= 65) return;
    int x = pts[0].x, y = pts[0].y;
    double a = 0;
    if (n > 1 && (pts[1].x != pts[0].x || pts[1].y != pts[0].y)) {
        const double dx = double(pts[1].x) - pts[0].x, dy = double(pts[1].y) - pts[0].y;
        a = std::asin(dy / std::hypot(dx, dy)) * 180.0 / M_PI;
        if (pts[1].x < pts[0].x) a = 180.0 - a;
        const int h = GD_TextHeight(text) / 3;
        const double r = a * M_PI / 180.0;
        x = int(pts[0].x + std::sin(r) * h);
        y = int(pts[0].y - std::cos(r) * h);
    }
    GD_RotatedText(colour, x, y, text, a, scale);
}

void GD_TextBox(int x, int y, const char* text, int charsPerLine, int colour) {
    Dc* dc = gdCurrentDc();
    const int row = gdCurrentFont();
    if (!dc || row < 0 || !text || !*text) return;
    const GdFace* face = gdFace(gdDeviceFont());
    if (!face) return;
    const int len = int(std::strlen(text));
    const int cx = runWidth(*face, text, std::size_t(len)), cy = cellHeight(*face);
    if (charsPerLine <= 0) charsPerLine = len; // one line instead of a division by zero
    const int right = x + int(std::int64_t(charsPerLine) * cx / len);
    const int top = y - (cy + 4) * (cx / charsPerLine + 2);
    // The box in device pixels, top down; lines are broken at blanks to its width.
    const XY a = dc->mapping().toDevice({x, top}), b = dc->mapping().toDevice({right, y});
    const int left = std::min(a.x, b.x), width = std::abs(b.x - a.x);
    int lineTop = std::min(a.y, b.y);
    dc->setTextColour(gdColour(colour));
    const gdi::BkMode old = dc->setBkMode(gdi::BkMode::Transparent);
    std::vector<std::string> lines;
    std::string line;
    std::size_t i = 0;
    auto widthOf = [&](const std::string& s) { return runWidth(*face, s.data(), s.size()); };
    while (i <= std::size_t(len)) {
        if (i == std::size_t(len) || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
            continue;
        }
        if (text[i] == '\r') {
            ++i;
            continue;
        }
        // The next word with the blanks before it.
        std::size_t j = i;
        while (j < std::size_t(len) && text[j] == ' ')
            ++j;
        while (j < std::size_t(len) && text[j] != ' ' && text[j] != '\n' && text[j] != '\r')
            ++j;
        const std::string word(text + i, text + j);
        if (!line.empty() && widthOf(line + word) > width) {
            lines.push_back(line);
            std::size_t k = 0;
            while (k < word.size() && word[k] == ' ')
                ++k;
            line = word.substr(k);
        } else {
            line += word;
        }
        i = j;
    }
    const int row0 = gdDeviceFont();
    for (const std::string& l : lines) {
        if (!l.empty()) {
            const XY p = dc->mapping().toLogical({left, lineTop});
            drawUpright(*dc, row0, *face, colour, p.x, p.y, kTaLeft | kTaTop, l.data(), l.size());
        }
        lineTop += cy;
    }
    dc->setBkMode(old);
}

unsigned short GD_TextWidth(const char* text) {
    const int row = gdCurrentFont();
    if (row < 0 || !text || !*text) return 0;
    const std::size_t n = std::strlen(text);
    if (row == kVectorFontRow) {
        int w = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (const VectorGlyphRecord* g = VG_Glyph(static_cast<unsigned char>(text[i])))
                w += g->advance();
        return static_cast<unsigned short>(w);
    }
    const GdFace* face = gdFace(gdDeviceFont());
    return face ? static_cast<unsigned short>(runWidth(*face, text, n)) : 0;
}

unsigned short GD_TextHeight(const char* text) {
    const int row = gdCurrentFont();
    if (row < 0 || !text || !*text) return 0;
    if (row == kVectorFontRow) {
        const VectorGlyphRecord* g = VG_Glyph(static_cast<unsigned char>(text[0]));
        return g ? static_cast<unsigned short>(g->height()) : 0;
    }
    const GdFace* face = gdFace(gdDeviceFont());
    return face ? static_cast<unsigned short>(cellHeight(*face)) : 0;
}

int GD_TextExtent(const char* text, SIZE* out) {
    const int row = gdCurrentFont();
    if (row < 0 || !text || !*text || !out) return 0;
    const std::size_t n = std::strlen(text);
    if (row == kVectorFontRow) {
        int w = 0, h = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (const VectorGlyphRecord* g = VG_Glyph(static_cast<unsigned char>(text[i]))) {
                w += g->advance();
                h = std::max(h, int(g->height()));
            }
        *out = SIZE{w, h};
        return 1;
    }
    const GdFace* face = gdFace(gdDeviceFont());
    if (!face) return 0;
    auto blackBox = [&](quint32 g, QRect& box) {
        const QPainterPath& path = face->cache.outline(*face, g);
        if (path.isEmpty()) return false;
        const QRectF r = path.boundingRect();
        box = QRect(QPoint(int(std::floor(r.left())), int(std::floor(r.top()))),
                    QPoint(int(std::ceil(r.right())) - 1, int(std::ceil(r.bottom())) - 1));
        return bitmapBytes(box) > 0 && bitmapBytes(box) <= kGlyphBitmapLimit;
    };
    if (row == 0 || row == 1 || row == 2 || row == 7) {
        const Run run = layout(*face, text, n);
        int w = 0, h = 0;
        for (quint32 g : run.glyphs) {
            QRect box;
            if (!blackBox(g, box)) return 0;
            w += box.width();
            h = std::max(h, box.height());
        }
        *out = SIZE{w, h};
        return 1;
    }
    if (row == 5) {
        const Run run = layout(*face, text, 1);
        QRect box;
        if (run.glyphs.empty() || !blackBox(run.glyphs[0], box)) return 0;
        *out = SIZE{box.width(), box.height()};
        return 1;
    }
    // The symbol fonts, and the other text rows (which would otherwise report
    // success with the extent unset): the cell extent of the text.
    *out = SIZE{runWidth(*face, text, n), cellHeight(*face)};
    return 1;
}
