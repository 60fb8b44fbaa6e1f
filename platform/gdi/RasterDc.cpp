#include "gdi/RasterDc.h"

#include "gdi/lineDda.h"

#include <QGlyphRun>
#include <QPainterPath>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace gdi {
namespace {

QRgb toQRgb(Colour c) {
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}
Colour fromQRgb(QRgb q) {
    return rgb(std::uint8_t(qRed(q)), std::uint8_t(qGreen(q)), std::uint8_t(qBlue(q)));
}

QPainter::CompositionMode compositionOf(Rop2 rop) {
    switch (rop) {
    case Rop2::Copy:
        return QPainter::CompositionMode_SourceOver;
    case Rop2::Mask:
        return QPainter::RasterOp_SourceAndDestination;
    case Rop2::Merge:
        return QPainter::RasterOp_SourceOrDestination;
    case Rop2::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case Rop2::Not:
        return QPainter::RasterOp_NotDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

// The context of this thread whose painter is open. Only one is kept open, so
// that several contexts may draw into one picture in turn.
thread_local const RasterDc* openPainter = nullptr;

void ensureRgb32(QImage* img) {
    if (img && !img->isNull() && img->format() != QImage::Format_RGB32)
        *img = img->convertToFormat(QImage::Format_RGB32);
}

// Screen angle of the radial from the box centre to p, in degrees counterclockwise
// from the positive x axis (device y grows downwards).
double radialAngle(const QRectF& box, XY p) {
    const QPointF c = box.center();
    if (p.x == c.x() && p.y == c.y()) return 0.0;
    return std::atan2(c.y() - p.y, p.x - c.x()) * 180.0 / std::numbers::pi;
}

} // namespace

RasterDc::RasterDc(QImage* target, std::optional<DeviceCaps> caps) : window_(target) {
    ensureRgb32(window_);
    caps_ =
        caps ? *caps
             : DeviceCaps::forScreen(target ? target->width() : 0, target ? target->height() : 0);
}

RasterDc::~RasterDc() {
    flush();
}

std::unique_ptr<RasterDc> RasterDc::createCompatible(const Dc* like) {
    std::unique_ptr<RasterDc> dc(new RasterDc());
    dc->caps_ = like ? like->caps() : DeviceCaps::forScreen(1, 1);
    dc->bitmap_ = Bitmap::monochrome(1, 1);
    return dc;
}

std::shared_ptr<Bitmap> RasterDc::selectBitmap(std::shared_ptr<Bitmap> bitmap) {
    if (window_ || !bitmap_) return nullptr;
    flush();
    if (!bitmap) bitmap = Bitmap::monochrome(1, 1);
    return std::exchange(bitmap_, std::move(bitmap));
}

void RasterDc::setTarget(QImage* target) {
    if (!window_) return;
    flush();
    window_ = target;
    ensureRgb32(window_);
}

QImage* RasterDc::image() const {
    return window_ ? window_ : bitmap_ ? &bitmap_->image() : nullptr;
}

XY RasterDc::pictureSize() const {
    const QImage* img = image();
    return img ? XY{img->width(), img->height()} : XY{0, 0};
}

void RasterDc::flush() const {
    if (painter_.isActive()) painter_.end();
    if (openPainter == this) openPainter = nullptr;
}

const QImage& RasterDc::picture() const {
    static const QImage none;
    flush();
    const QImage* img = image();
    return img ? *img : none;
}

QPainter& RasterDc::painter() {
    const auto& clip = clipRegion();
    const bool clipChanged = clipSerial() != appliedClip_;
    if (!painter_.isActive()) {
        QImage* img = image();
        if (!img || img->isNull()) return painter_;
        if (openPainter && openPainter != this) openPainter->flush();
        if (!painter_.begin(img)) return painter_;
        openPainter = this;
        painter_.setRenderHint(QPainter::Antialiasing, false);
        if (clip) painter_.setClipRegion(clip->qregion());
        appliedClip_ = clipSerial();
    } else if (clipChanged) {
        if (clip)
            painter_.setClipRegion(clip->qregion());
        else
            painter_.setClipping(false);
        appliedClip_ = clipSerial();
    }
    return painter_;
}

QPen RasterDc::qpen() const {
    const Pen& p = pen();
    if (p.style == PenStyle::Null) return QPen(Qt::NoPen);
    QPen q(QColor(toQRgb(resolve(p.colour))));
    if (p.width <= 1) {
        q.setWidth(0); // one pixel, whatever the mapping
        q.setCapStyle(Qt::FlatCap);
        if (p.style == PenStyle::Dot) q.setDashPattern({3.0, 3.0});
    } else {
        q.setWidth(p.width);
        q.setCapStyle(Qt::RoundCap);
        q.setJoinStyle(Qt::RoundJoin);
    }
    return q;
}

QBrush RasterDc::qbrush(const Brush& b) const {
    switch (b.style) {
    case BrushStyle::Null:
        return QBrush(Qt::NoBrush);
    case BrushStyle::Solid:
        return QBrush(QColor(toQRgb(resolve(b.colour))));
    case BrushStyle::Hatched:
    case BrushStyle::Pattern: {
        const bool hatch = b.style == BrushStyle::Hatched;
        const auto rows = hatch ? hatchRows(b.hatch) : b.pattern;
        const bool seeThrough = hatch && bkMode() == BkMode::Transparent;
        QImage tile(8, 8, seeThrough ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        // Pattern: 0 bits text colour, 1 bits background colour. Hatch: 1 bits brush
        // colour, 0 bits background colour or nothing.
        const QRgb one = toQRgb(resolve(hatch ? b.colour : bkColour()));
        const QRgb zero =
            seeThrough ? qRgba(0, 0, 0, 0) : toQRgb(resolve(hatch ? bkColour() : textColour()));
        for (int y = 0; y < 8; ++y) {
            auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = 0; x < 8; ++x)
                line[x] = (rows[y] & (0x80 >> x)) ? one : zero;
        }
        return QBrush(tile);
    }
    }
    return QBrush(Qt::NoBrush);
}

namespace {

// Draws a shape with the painter's pen and brush as they are set.
void drawShape(QPainter& p, const Dc::Shape& s, bool hasPen, FillMode fill) {
    // A stroked box keeps its outline within left..right-1, top..bottom-1. Boxes
    // too large for QRect go as QRectF.
    const double w = double(s.right) - s.left, h = double(s.bottom) - s.top;
    const double inset = hasPen ? 1.0 : 0.0;
    const bool small =
        std::abs(double(s.left)) < 1e9 && std::abs(double(s.top)) < 1e9 && w < 1e9 && h < 1e9;
    const QRect box = small ? QRect(s.left, s.top, int(w - inset), int(h - inset)) : QRect();
    const QRectF fbox(s.left, s.top, w - inset, h - inset);
    static_assert(sizeof(XY) == sizeof(QPoint));
    const auto* pts = reinterpret_cast<const QPoint*>(s.points.data());
    switch (s.kind) {
    case Dc::Shape::Polyline:
        p.drawPolyline(pts, int(s.points.size()));
        break;
    case Dc::Shape::Polygon:
        p.drawPolygon(pts, int(s.points.size()),
                      fill == FillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
        break;
    case Dc::Shape::Rectangle:
        small ? p.drawRect(box) : p.drawRect(fbox);
        break;
    case Dc::Shape::RoundRect:
        p.drawRoundedRect(fbox, s.cornerWidth / 2.0, s.cornerHeight / 2.0);
        break;
    case Dc::Shape::Ellipse:
        small ? p.drawEllipse(box) : p.drawEllipse(fbox);
        break;
    case Dc::Shape::Arc:
    case Dc::Shape::Pie: {
        // Radials run from the centre of the whole box.
        const QRectF whole(s.left, s.top, w, h);
        const double a1 = radialAngle(whole, s.start), a2 = radialAngle(whole, s.end);
        const int start16 = int(std::lround(a1 * 16.0));
        int span16 = (int(std::lround(a2 * 16.0)) - start16) % 5760;
        if (span16 <= 0) span16 += 5760; // equal directions: the whole ellipse
        if (s.kind == Dc::Shape::Arc)
            small ? p.drawArc(box, start16, span16) : p.drawArc(fbox, start16, span16);
        else
            small ? p.drawPie(box, start16, span16) : p.drawPie(fbox, start16, span16);
        break;
    }
    case Dc::Shape::FillRect:
        break;
    }
}

// The device pixels a shape may touch, within `bounds`.
QRect reach(const Dc::Shape& s, int penWidth, const QRect& bounds) {
    std::int64_t l, t, r, b; // inclusive
    if (s.kind == Dc::Shape::Polyline || s.kind == Dc::Shape::Polygon) {
        l = r = s.points[0].x;
        t = b = s.points[0].y;
        for (const XY& p : s.points) {
            l = std::min<std::int64_t>(l, p.x);
            r = std::max<std::int64_t>(r, p.x);
            t = std::min<std::int64_t>(t, p.y);
            b = std::max<std::int64_t>(b, p.y);
        }
    } else {
        l = s.left, t = s.top, r = std::int64_t(s.right) - 1, b = std::int64_t(s.bottom) - 1;
    }
    const std::int64_t m = penWidth / 2 + 2;
    l = std::max<std::int64_t>(l - m, bounds.left());
    t = std::max<std::int64_t>(t - m, bounds.top());
    r = std::min<std::int64_t>(r + m, bounds.right());
    b = std::min<std::int64_t>(b + m, bounds.bottom());
    if (l > r || t > b) return QRect();
    return QRect(QPoint(int(l), int(t)), QPoint(int(r), int(b)));
}

QRgb applyRop(Rop2 rop, QRgb src, QRgb dst) {
    switch (rop) {
    case Rop2::Copy:
        return src;
    case Rop2::Mask:
        return src & dst;
    case Rop2::Merge:
        return src | dst;
    case Rop2::Xor:
        return src ^ dst;
    case Rop2::Not:
        return ~dst;
    }
    return dst;
}

} // namespace

void RasterDc::render(const Shape& s) {
    if (s.kind == Shape::Polyline && pen().width <= 1) {
        if (pen().style != PenStyle::Null) thinPolyline(s.points);
        return;
    }
    QPainter& p = painter();
    if (!p.isActive()) return;
    const QPen pen = qpen();
    const bool hasPen = pen.style() != Qt::NoPen;
    if (s.kind == Shape::FillRect) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setBrushOrigin(brushOrigin().x, brushOrigin().y);
        // Cut to the picture first: the box may be wider than a QRect holds.
        const int l = std::max(s.left, 0), t = std::max(s.top, 0);
        const int r = std::min(s.right, image()->width()),
                  b = std::min(s.bottom, image()->height());
        if (l < r && t < b) p.fillRect(QRect(l, t, r - l, b - t), qbrush(s.fill));
        return;
    }
    const bool filled = s.kind != Shape::Polyline && s.kind != Shape::Arc;
    const QBrush brush = filled ? qbrush(this->brush()) : QBrush(Qt::NoBrush);
    if (!hasPen && brush.style() == Qt::NoBrush) return;
    const auto setBackground = [&](QPainter& q) {
        if (hasPen && pen.style() != Qt::SolidLine) {
            q.setBackgroundMode(bkMode() == BkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
            q.setBackground(QColor(toQRgb(resolve(bkColour()))));
        }
    };

    if (rop2() == Rop2::Copy || !hasPen || brush.style() == Qt::NoBrush) {
        p.setCompositionMode(compositionOf(rop2()));
        p.setPen(pen);
        setBackground(p);
        p.setBrushOrigin(brushOrigin().x, brushOrigin().y);
        p.setBrush(brush);
        drawShape(p, s, hasPen, polyFillMode());
        return;
    }

    // Outline and fill under a raster operation: each pixel is combined once,
    // the outline's colour winning where the two meet.
    QImage* img = image();
    const QRect area = reach(s, pen.width(), img->rect());
    if (area.isEmpty()) return;
    QImage layer(area.size(), QImage::Format_ARGB32);
    layer.fill(0);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing, false);
        lp.translate(-area.left(), -area.top());
        lp.setCompositionMode(QPainter::CompositionMode_Source);
        lp.setBrushOrigin(brushOrigin().x, brushOrigin().y);
        lp.setPen(Qt::NoPen);
        lp.setBrush(brush);
        drawShape(lp, s, true, polyFillMode());
        lp.setPen(pen);
        setBackground(lp);
        lp.setBrush(Qt::NoBrush);
        drawShape(lp, s, true, polyFillMode());
    }
    flush();
    const auto& clip = clipRegion();
    for (int y = 0; y < area.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(img->scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            if (qAlpha(src[x]) != 255) continue;
            if (clip && !clip->contains(area.left() + x, area.top() + y)) continue;
            dst[x] = applyRop(rop2(), src[x], dst[x]) | 0xFF000000u;
        }
    }
}

void RasterDc::thinPolyline(const std::vector<XY>& pts) {
    // One-pixel lines are stepped here rather than by the painter, so that every
    // segment starts on its first point and leaves out its last in any direction
    // (a joint is drawn once, which keeps exclusive-or outlines whole).
    QImage* img = image();
    if (!img || img->isNull()) return;
    flush();
    const Pen& pn = pen();
    const QRgb colour = toQRgb(resolve(pn.colour)) | 0xFF000000u;
    const bool dotted = pn.style == PenStyle::Dot;
    const bool opaque = bkMode() == BkMode::Opaque;
    const QRgb back = toQRgb(resolve(bkColour())) | 0xFF000000u;
    const Rop2 rop = rop2();
    const auto& clip = clipRegion();
    const int w = img->width(), h = img->height();
    uchar* const bits = img->bits();
    const qsizetype stride = img->bytesPerLine();
    int step = 0; // position along the dotted line: three on, three off
    const auto plot = [&](int x, int y) {
        const bool on = !dotted || (step++ / 3) % 2 == 0;
        if (!on && !opaque) return;
        if (unsigned(x) >= unsigned(w) || unsigned(y) >= unsigned(h)) return;
        if (clip && !clip->contains(x, y)) return;
        QRgb& d = reinterpret_cast<QRgb*>(bits + y * stride)[x];
        d = rop == Rop2::Copy ? (on ? colour : back)
                              : applyRop(rop, on ? colour : back, d) | 0xFF000000u;
    };
    // Only the pixels near the picture are stepped, so far-off points cost nothing;
    // the dots keep their rhythm over the pixels passed by.
    std::int64_t along = 0;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const XY a = pts[i - 1], b = pts[i];
        const auto inside = [&](XY p) {
            return unsigned(p.x) < unsigned(w) && unsigned(p.y) < unsigned(h);
        };
        const LinePixelRange r = inside(a) && inside(b)
                                     ? LinePixelRange{0, linePixelCount(a.x, a.y, b.x, b.y)}
                                     : linePixelsWithin(a.x, a.y, b.x, b.y, 0, 0, w - 1, h - 1);
        step = int((along + r.first) % 6);
        forEachLinePixel(a.x, a.y, b.x, b.y, plot, r.first, r.last);
        along += linePixelCount(a.x, a.y, b.x, b.y);
    }
}

void RasterDc::renderPixel(int x, int y, Colour c) {
    flush();
    QImage* img = image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return;
    reinterpret_cast<QRgb*>(img->scanLine(y))[x] = toQRgb(resolve(c));
}

Colour RasterDc::readPixel(int x, int y) const {
    flush();
    const QImage* img = image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return kInvalidColour;
    return fromQRgb(reinterpret_cast<const QRgb*>(img->constScanLine(y))[x]);
}

bool RasterDc::renderBlit(const BlitArea& a, const Dc& src, BlitOp op) {
    const auto* source = dynamic_cast<const RasterDc*>(&src);
    if (!source) return false;
    flush();
    source->flush();
    QImage* dst = image();
    const QImage* simg = source->image();
    if (!dst || dst->isNull() || !simg || simg->isNull()) return false;

    // A transfer within one picture reads from a copy.
    QImage copy;
    if (simg == dst && op != BlitOp::DstInvert) {
        copy = simg->copy();
        simg = &copy;
    }
    const bool monoSrc = source->isMonochrome(), monoDst = isMonochrome();
    const QRgb fore = toQRgb(resolve(textColour())), back = toQRgb(resolve(bkColour()));
    const QRgb srcBack = toQRgb(source->resolve(source->bkColour()));
    const auto& clip = clipRegion();
    // The destination rectangle cut to the picture (64 bits: it may reach past 2^31).
    const std::int64_t x0 = std::max<std::int64_t>(a.x, 0), y0 = std::max<std::int64_t>(a.y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t(a.x) + a.width, dst->width());
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t(a.y) + a.height, dst->height());
    // A plain copy between colour pictures moves whole rows: every repaint
    // copies a picture of the window's size, and the loop below tests each
    // pixel.
    if (op == BlitOp::Copy && !monoSrc && !monoDst && !clip && !a.mirrorX && !a.mirrorY &&
        dst->format() == QImage::Format_RGB32 && simg->format() == QImage::Format_RGB32) {
        // The rectangle cut further to where the source has pixels.
        const std::int64_t dx = std::int64_t(a.srcX) - a.x, dy = std::int64_t(a.srcY) - a.y;
        const std::int64_t cx0 = std::max<std::int64_t>(x0, -dx);
        const std::int64_t cx1 = std::min<std::int64_t>(x1, simg->width() - dx);
        const std::int64_t cy0 = std::max<std::int64_t>(y0, -dy);
        const std::int64_t cy1 = std::min<std::int64_t>(y1, simg->height() - dy);
        if (cx0 >= cx1) return true;
        const std::size_t bytes = std::size_t(cx1 - cx0) * sizeof(QRgb);
        for (std::int64_t y = cy0; y < cy1; ++y)
            std::memcpy(reinterpret_cast<QRgb*>(dst->scanLine(int(y))) + cx0,
                        reinterpret_cast<const QRgb*>(simg->constScanLine(int(y + dy))) + cx0 + dx,
                        bytes);
        return true;
    }
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::int64_t j = y - a.y;
        const std::int64_t sy = std::int64_t(a.srcY) + (a.mirrorY ? a.height - 1 - j : j);
        if (op != BlitOp::DstInvert && (sy < 0 || sy >= simg->height())) continue;
        auto* d = reinterpret_cast<QRgb*>(dst->scanLine(int(y)));
        const auto* sline = reinterpret_cast<const QRgb*>(
            simg->constScanLine(op == BlitOp::DstInvert ? 0 : int(sy)));
        for (std::int64_t x = x0; x < x1; ++x) {
            if (clip && !clip->contains(int(x), int(y))) continue;
            QRgb s = 0;
            if (op != BlitOp::DstInvert) {
                const std::int64_t i = x - a.x;
                const std::int64_t sx = std::int64_t(a.srcX) + (a.mirrorX ? a.width - 1 - i : i);
                if (sx < 0 || sx >= simg->width()) continue;
                s = sline[sx] | 0xFF000000u;
                if (monoSrc && !monoDst)
                    s = (s & 0xFFFFFFu) ? back : fore;
                else if (!monoSrc && monoDst)
                    s = (s & 0xFFFFFFu) == (srcBack & 0xFFFFFFu) ? 0xFFFFFFFFu : 0xFF000000u;
            }
            QRgb& t = d[x];
            switch (op) {
            case BlitOp::Copy:
                t = s;
                break;
            case BlitOp::And:
                t = s & t;
                break;
            case BlitOp::Paint:
                t = s | t;
                break;
            case BlitOp::SrcInvert:
                t = s ^ t;
                break;
            case BlitOp::DstInvert:
                t = ~t;
                break;
            }
            t |= 0xFF000000u;
        }
    }
    return true;
}

void RasterDc::renderSpans(std::span<const Span> spans, Colour colour) {
    QPainter& p = painter();
    if (!p.isActive()) return;
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor c(toQRgb(resolve(colour)));
    const int width = image()->width(), height = image()->height();
    for (const Span& s : spans) {
        if (s.y < 0 || s.y >= height) continue;
        const int l = std::max(s.x0, 0), r = std::min(s.x1, width);
        if (l < r) p.fillRect(QRect(l, s.y, r - l, 1), c);
    }
}

void RasterDc::renderText(const TextRun& run) {
    QPainter& p = painter();
    if (!p.isActive()) return;
    const QImage* img = image();
    const QRect picture(0, 0, img->width(), img->height());
    const auto box = [&](int l, int t, int r, int b) {
        return QRect(QPoint(l, t), QPoint(r - 1, b - 1)).intersected(picture);
    };
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    const QColor background(toQRgb(resolve(bkColour())));
    if (run.opaque) {
        const QRect r =
            box(run.opaque->left, run.opaque->top, run.opaque->right, run.opaque->bottom);
        if (!r.isEmpty()) p.fillRect(r, background);
    }
    if (run.clip)
        p.setClipRect(box(run.clip->left, run.clip->top, run.clip->right, run.clip->bottom),
                      p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (run.fillBox) {
        const QRect r = box(run.left, run.top, run.right, run.bottom);
        if (!r.isEmpty()) p.fillRect(r, background);
    }
    const QRawFont* raw = run.font->raw();
    const QColor ink(toQRgb(resolve(textColour())));
    if (raw && !run.layout.glyphs.isEmpty()) {
        QList<QPointF> positions;
        positions.reserve(run.layout.glyphs.size());
        int x = 0;
        for (const int advance : run.layout.advances) {
            positions.push_back(QPointF(x, 0));
            x += advance;
        }
        QGlyphRun glyphs;
        glyphs.setRawFont(*raw);
        glyphs.setGlyphIndexes(run.layout.glyphs);
        glyphs.setPositions(positions);
        p.setPen(ink);
        p.drawGlyphRun(QPointF(run.origin.x, run.origin.y), glyphs);
    }
    if (raw && run.font->logFont().underline && run.right > run.left) {
        const int y = run.origin.y + run.font->underlineOffset();
        const QRect r = box(run.left, y, run.right, y + run.font->lineThickness());
        if (!r.isEmpty()) p.fillRect(r, ink);
    }
    p.restore();
}

} // namespace gdi
