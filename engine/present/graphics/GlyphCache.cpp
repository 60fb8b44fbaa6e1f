#include "graphics/GlyphCache.h"

#include "graphics/GraphicsFonts.h"

#include <QImage>
#include <QPainter>

#include <cmath>

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
    gdPathSpans(outline(face, glyph), QRect(QPoint(-kFar, -kFar), QPoint(kFar, kFar)), spans);
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
