#include "gdi/Dc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace gdi {

DeviceCaps DeviceCaps::forScreen(int width, int height) {
    DeviceCaps c;
    c.horzRes = width;
    c.vertRes = height;
    c.horzSizeMm = int(std::lround(width * 25.4 / 96.0));
    c.vertSizeMm = int(std::lround(height * 25.4 / 96.0));
    return c;
}

Dc::~Dc() {
    // A listener may remove itself: walk a copy.
    auto listeners = std::move(destroyListeners_);
    for (auto& [key, fn] : listeners)
        fn(this);
}

void Dc::addDestroyListener(const void* key, std::function<void(Dc*)> fn) {
    removeDestroyListener(key);
    destroyListeners_.emplace_back(key, std::move(fn));
}

void Dc::removeDestroyListener(const void* key) {
    std::erase_if(destroyListeners_, [key](const auto& l) { return l.first == key; });
}

std::shared_ptr<Palette> Dc::selectPalette(std::shared_ptr<Palette> palette) {
    return std::exchange(palette_, std::move(palette));
}

int Dc::realizePalette() const {
    return int(palette_ ? palette_->size() : Palette::standard().size());
}

Colour Dc::resolve(Colour c) const {
    Colour out;
    if (isPaletteIndex(c))
        out = (palette_ ? *palette_ : Palette::standard()).colourAt(c & 0xFFFFu);
    else
        out = c & 0x00FFFFFFu;
    if (isMonochrome()) {
        const int sum = redOf(out) + greenOf(out) + blueOf(out);
        out = sum >= 3 * 128 ? kWhite : kBlack;
    }
    return out;
}

void Dc::setClipRegion(const Region* region) {
    ++clipSerial_;
    if (region)
        clip_ = *region;
    else
        clip_.reset();
}

void Dc::lineTo(int x, int y) {
    const XY pts[2] = {position_, {x, y}};
    polyline(pts);
    position_ = {x, y};
}

void Dc::polylineTo(std::span<const XY> points) {
    if (points.empty()) return;
    std::vector<XY> all;
    all.reserve(points.size() + 1);
    all.push_back(position_);
    all.insert(all.end(), points.begin(), points.end());
    polyline(all);
    position_ = points.back();
}

void Dc::polyline(std::span<const XY> points) {
    if (points.size() < 2) return;
    Shape s{Shape::Polyline, {}, 0, 0, 0, 0, {}, {}, 0, 0, {}};
    s.points.reserve(points.size());
    for (const XY& p : points)
        s.points.push_back(mapping_.toDevice(p));
    render(s);
}

void Dc::polygon(std::span<const XY> points) {
    if (points.size() < 2) return;
    Shape s{Shape::Polygon, {}, 0, 0, 0, 0, {}, {}, 0, 0, {}};
    s.points.reserve(points.size());
    for (const XY& p : points)
        s.points.push_back(mapping_.toDevice(p));
    render(s);
}

void Dc::boxShape(Shape::Kind kind, int left, int top, int right, int bottom, Shape& s) const {
    s.kind = kind;
    const XY a = mapping_.toDevice({left, top}), b = mapping_.toDevice({right, bottom});
    s.left = std::min(a.x, b.x);
    s.right = std::max(a.x, b.x);
    s.top = std::min(a.y, b.y);
    s.bottom = std::max(a.y, b.y);
}

void Dc::rectangle(int left, int top, int right, int bottom) {
    Shape s{};
    boxShape(Shape::Rectangle, left, top, right, bottom, s);
    if (s.left < s.right && s.top < s.bottom) render(s);
}

void Dc::roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    Shape s{};
    boxShape(Shape::RoundRect, left, top, right, bottom, s);
    s.cornerWidth = cornerWidth == INT32_MIN ? INT32_MAX : std::abs(cornerWidth);
    s.cornerHeight = cornerHeight == INT32_MIN ? INT32_MAX : std::abs(cornerHeight);
    if (s.left < s.right && s.top < s.bottom) render(s);
}

void Dc::ellipse(int left, int top, int right, int bottom) {
    Shape s{};
    boxShape(Shape::Ellipse, left, top, right, bottom, s);
    if (s.left < s.right && s.top < s.bottom) render(s);
}

void Dc::arc(int left, int top, int right, int bottom, XY start, XY end) {
    Shape s{};
    boxShape(Shape::Arc, left, top, right, bottom, s);
    s.start = mapping_.toDevice(start);
    s.end = mapping_.toDevice(end);
    if (s.left < s.right && s.top < s.bottom) render(s);
}

void Dc::pie(int left, int top, int right, int bottom, XY start, XY end) {
    Shape s{};
    boxShape(Shape::Pie, left, top, right, bottom, s);
    s.start = mapping_.toDevice(start);
    s.end = mapping_.toDevice(end);
    if (s.left < s.right && s.top < s.bottom) render(s);
}

void Dc::fillRect(int left, int top, int right, int bottom, const Brush& brush) {
    Shape s{};
    boxShape(Shape::FillRect, left, top, right, bottom, s);
    s.fill = brush;
    if (s.left < s.right && s.top < s.bottom) render(s);
}

void Dc::fillSpans(std::span<const Span> spans, Colour colour) {
    if (!spans.empty()) renderSpans(spans, colour);
}

void Dc::renderSpans(std::span<const Span> spans, Colour colour) {
    Shape s{};
    s.kind = Shape::FillRect;
    s.fill = Brush::solid(colour);
    for (const Span& run : spans) {
        if (run.x0 >= run.x1) continue;
        s.left = run.x0;
        s.right = run.x1;
        s.top = run.y;
        s.bottom = run.y + 1;
        render(s);
    }
}

void Dc::setPixel(int x, int y, Colour c) {
    const XY d = mapping_.toDevice({x, y});
    if (!clipAllows(d.x, d.y)) return;
    renderPixel(d.x, d.y, c);
}

Colour Dc::getPixel(int x, int y) const {
    const XY d = mapping_.toDevice({x, y});
    if (!clipAllows(d.x, d.y)) return kInvalidColour;
    return readPixel(d.x, d.y);
}

bool Dc::blit(int x, int y, int width, int height, const Dc& src, int srcX, int srcY, BlitOp op) {
    const auto clamp32 = [](std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const XY a = mapping_.toDevice({x, y});
    const XY b =
        mapping_.toDevice({clamp32(std::int64_t(x) + width), clamp32(std::int64_t(y) + height)});
    const XY sa = src.mapping().toDevice({srcX, srcY});
    const XY sb = src.mapping().toDevice(
        {clamp32(std::int64_t(srcX) + width), clamp32(std::int64_t(srcY) + height)});
    const std::int64_t dw = std::int64_t(b.x) - a.x, dh = std::int64_t(b.y) - a.y;
    const std::int64_t sw = std::int64_t(sb.x) - sa.x, sh = std::int64_t(sb.y) - sa.y;
    BlitArea area{std::min(a.x, b.x),
                  std::min(a.y, b.y),
                  clamp32(std::llabs(dw)),
                  clamp32(std::llabs(dh)),
                  std::min(sa.x, sb.x),
                  std::min(sa.y, sb.y),
                  sw != 0 && (dw < 0) != (sw < 0),
                  sh != 0 && (dh < 0) != (sh < 0)};
    if (area.width == 0 || area.height == 0) return true;
    return renderBlit(area, src, op);
}

std::shared_ptr<const Font> Dc::selectFont(std::shared_ptr<const Font> font) {
    return std::exchange(font_, std::move(font));
}

void Dc::restoreDefaults() {
    pen_ = Pen{};
    brush_ = Brush{};
    rop2_ = Rop2::Copy;
    textColour_ = kBlack;
    bkColour_ = kWhite;
    bkMode_ = BkMode::Opaque;
    fillMode_ = FillMode::Alternate;
    brushOrigin_ = XY{0, 0};
    palette_.reset();
    mapping_ = Mapping{};
    setClipRegion(nullptr);
    position_ = XY{0, 0};
    font_.reset();
    textAlign_ = TA_LEFT | TA_TOP;
}

void Dc::textOut(int x, int y, std::string_view text) {
    extTextOut(x, y, 0, nullptr, text);
}

void Dc::extTextOut(int x, int y, unsigned options, const TextRect* rect, std::string_view text) {
    TextRun run;
    run.font = font_ ? font_ : Font::systemFont();
    if (rect) {
        const XY a = mapping_.toDevice({rect->left, rect->top});
        const XY b = mapping_.toDevice({rect->right, rect->bottom});
        const TextRect box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                           std::max(a.y, b.y)};
        if (options & ETO_OPAQUE) run.opaque = box;
        if (options & ETO_CLIPPED) run.clip = box;
    }
    if (text.empty() && !run.opaque) return;
    run.text.assign(text);
    run.layout = run.font->layout(text);
    run.align = textAlign_;
    run.reference = mapping_.toDevice({x, y});
    const int width = run.layout.width;
    const int ascent = run.font->ascent(), descent = run.font->descent();
    const XY d = run.reference;
    if ((textAlign_ & TA_CENTER) == TA_CENTER)
        run.left = d.x - width / 2;
    else if (textAlign_ & TA_RIGHT)
        run.left = d.x - width;
    else
        run.left = d.x;
    int baseline;
    if ((textAlign_ & TA_BASELINE) == TA_BASELINE)
        baseline = d.y;
    else if (textAlign_ & TA_BOTTOM)
        baseline = d.y - descent;
    else
        baseline = d.y + ascent;
    run.right = run.left + width;
    run.top = baseline - ascent;
    run.bottom = baseline + descent;
    run.origin = XY{run.left, baseline};
    run.fillBox = bkMode_ == BkMode::Opaque && !text.empty();
    renderText(run);
}

XY Dc::textExtent(std::string_view text) const {
    return (font_ ? *font_ : *Font::systemFont()).extent(text);
}

} // namespace gdi
