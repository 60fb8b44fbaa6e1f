#include "graphics/GlyphCache.h"

#include "graphics/GraphicsFonts.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

// Appends the lit pixels of a mask picture whose top left is `at` as runs.
void maskSpans(const QImage& mask, QPoint at, std::vector<gdi::Dc::Span>& out) {
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (!qAlpha(row[x])) {
                ++x;
                continue;
            }
            int end = x;
            while (end < mask.width() && qAlpha(row[end]))
                ++end;
            out.push_back({at.y() + y, at.x() + x, at.x() + end});
            x = end;
        }
    }
}

// The pixels a text glyph covers, rasterised by Qt's glyph renderer without
// antialiasing, which grid-fits the glyph as the font's hints ask. Filling
// the bare outline instead loses every stroke thinner than a pixel that
// misses the pixel centres: at the sounding font's 12-pixel cell the bars
// of 5 and 7 and the tops of 0, 2 and 3 vanish.
void textGlyphSpans(const GdFace& face, quint32 glyph, const QPainterPath& outline,
                    std::vector<gdi::Dc::Span>& out) {
    const QRawFont& raw = face.raw;
    const int em = int(std::ceil(raw.pixelSize()));
    if (em <= 0 || em > 4096) return;
    // The outline's box and the cell around the origin, with room for the
    // hints to move a stroke.
    const QRect cell(-em, -int(std::ceil(raw.ascent())) - 2, 3 * em,
                     int(std::ceil(raw.ascent() + raw.descent())) + 4);
    const QRect box = outline.boundingRect().toAlignedRect().united(cell).adjusted(-2, -2, 2, 2);
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes({glyph});
    run.setPositions({QPointF(0, 0)});
    QPainter p(&mask);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::white);
    p.drawGlyphRun(QPointF(-box.left(), -box.top()), run);
    p.end();
    maskSpans(mask, box.topLeft(), out);
}

} // namespace

void gdPathSpans(const QPainterPath& path, const QRect& limit, std::vector<gdi::Dc::Span>& out) {
    const QRect box = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1).intersected(limit);
    if (box.isEmpty()) return;
    QImage mask(box.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-box.topLeft());
    p.fillPath(path, Qt::white);
    p.end();
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < mask.width();) {
            if (!row[x]) {
                ++x;
                continue;
            }
            int end = x;
            while (end < mask.width() && row[end])
                ++end;
            out.push_back({box.top() + y, box.left() + x, box.left() + end});
            x = end;
        }
    }
}

const GdGlyphCache::ByteGlyph& GdGlyphCache::byteGlyph(const GdFace& face, unsigned char byte) {
    ByteGlyph& g = bytes_[byte];
    if (known_[byte]) return g;
    const char c = static_cast<char>(byte);
    const QList<quint32> glyphs = face.raw.glyphIndexesForString(gdFaceText(face, &c, 1));
    g.glyph = glyphs.isEmpty() ? 0 : glyphs[0];
    const QList<QPointF> advances = face.raw.advancesForGlyphIndexes(QList<quint32>{g.glyph});
    g.advance = int(std::lround(advances.isEmpty() ? 0.0 : advances[0].x()));
    known_[byte] = true;
    return g;
}

const QPainterPath& GdGlyphCache::outline(const GdFace& face, quint32 glyph) {
    auto it = outlines_.find(glyph);
    if (it == outlines_.end()) it = outlines_.emplace(glyph, face.raw.pathForGlyph(glyph)).first;
    return it->second;
}

const std::vector<gdi::Dc::Span>& GdGlyphCache::coverage(const GdFace& face, quint32 glyph) {
    auto it = coverage_.find(glyph);
    if (it != coverage_.end()) return it->second;
    // Rasterised at the origin without a picture to limit it (a glyph is
    // small; the layer refuses none by size on the upright path).
    constexpr int kFar = 1 << 24;
    std::vector<gdi::Dc::Span> spans;
    if (face.symbol)
        gdPathSpans(outline(face, glyph), QRect(QPoint(-kFar, -kFar), QPoint(kFar, kFar)), spans);
    else
        textGlyphSpans(face, glyph, outline(face, glyph), spans);
    return coverage_.emplace(glyph, std::move(spans)).first->second;
}

void GdGlyphCache::measure(const GdFace& face) {
    if (measured_) return;
    ascent_ = int(std::lround(face.raw.ascent()));
    cellHeight_ = ascent_ + int(std::lround(face.raw.descent()));
    measured_ = true;
}

int GdGlyphCache::ascent(const GdFace& face) {
    measure(face);
    return ascent_;
}

int GdGlyphCache::cellHeight(const GdFace& face) {
    measure(face);
    return cellHeight_;
}
