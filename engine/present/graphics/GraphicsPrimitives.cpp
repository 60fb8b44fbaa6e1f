#include "graphics/GraphicsPrimitives.h"

#include "gdi/lineDda.h"
#include "graphics/GraphicsLayer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace {

using gdi::Brush;
using gdi::Dc;
using gdi::Pen;
using gdi::PenStyle;
using gdi::XY;

std::uint8_t lineWidth = 1;
std::optional<Brush> areaPattern; // the pattern brush, when a pattern is chosen
short areaPatternNumber = 0;      // its number, 0 for solid fills
bool colourPass = false;          // whether pattern fills paint their 1 bits in the colour
bool xorFill = false;

// Dashed drawing, one pixel at a time.
std::uint16_t dashPattern = 0;
std::uint16_t dashBit = 1;
gdi::Colour dashColour = 0;

struct AreaPattern {
    short number;
    std::array<std::uint8_t, 8> rows; // top row first, most significant bit leftmost
    bool colourPass;
};

constexpr AreaPattern kAreaPatterns[] = {
    {8, {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}, true},
    {10, {0xFF, 0xAA, 0xFF, 0xAA, 0xFF, 0xAA, 0xFF, 0xAA}, true},
    {11, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}, false},
    {12, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, true},
    {13, {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, true},
    {14, {0x41, 0x00, 0x98, 0x00, 0x2A, 0x00, 0x98, 0x81}, true},
};

std::vector<XY> toXY(int n, const Point* pts) {
    std::vector<XY> out;
    if (n <= 0 || !pts) return out;
    out.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        out.push_back({pts[i].x, pts[i].y});
    return out;
}

Pen solidPen(int colour) {
    return Pen{PenStyle::Solid, lineWidth, gdColour(colour)};
}

// Draws a filled shape with the area pattern so that only the pattern's 1 bits
// change the picture: first masked to black, then (with the colour pass) merged
// with the colour; or, with exclusive-or where the caller allows it, inverted by
// the colour in one pass. The raster operation is put back; pen and brush too.
template <class Draw>
void patternFill(Dc& dc, int colour, const Pen& pen, bool allowXor, Draw draw) {
    const Pen oldPen = dc.setPen(pen);
    const Brush oldBrush = dc.setBrush(*areaPattern);
    const gdi::Rop2 oldRop = dc.rop2();
    if (allowXor && xorFill) {
        dc.setTextColour(gdi::kBlack);
        dc.setBkColour(gdColour(colour));
        dc.setRop2(gdi::Rop2::Xor);
        draw(dc);
    } else {
        dc.setTextColour(gdi::kWhite);
        dc.setBkColour(gdi::kBlack);
        dc.setRop2(gdi::Rop2::Mask);
        draw(dc);
        if (colourPass) {
            dc.setTextColour(gdi::kBlack);
            dc.setBkColour(gdColour(colour));
            dc.setRop2(gdi::Rop2::Merge);
            draw(dc);
        }
    }
    dc.setRop2(oldRop);
    dc.setBrush(oldBrush);
    dc.setPen(oldPen);
}

// Draws with the pen and brush for this one call, then puts the old ones back.
template <class Draw> void withTools(Dc& dc, const Pen& pen, const Brush& brush, Draw draw) {
    const Pen oldPen = dc.setPen(pen);
    const Brush oldBrush = dc.setBrush(brush);
    draw(dc);
    dc.setBrush(oldBrush);
    dc.setPen(oldPen);
}

void dashLine(int colour, unsigned short pattern, const std::vector<XY>& pts) {
    Dc* dc = gdCurrentDc();
    if (!dc || pts.size() < 2) return;
    dashPattern = pattern;
    dashColour = gdColour(colour);
    // Only pixels near the picture are stepped (far-off points would otherwise cost
    // a step per unit); the dash bit runs on over the pixels passed by.
    const XY size = dc->pictureSize();
    const XY c1 = dc->mapping().toLogical({-2, -2});
    const XY c2 = dc->mapping().toLogical({size.x + 2, size.y + 2});
    const int left = std::min(c1.x, c2.x), right = std::max(c1.x, c2.x);
    const int top = std::min(c1.y, c2.y), bottom = std::max(c1.y, c2.y);
    std::int64_t passed = 0;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const XY a = pts[i - 1], b = pts[i];
        const gdi::LinePixelRange r =
            gdi::linePixelsWithin(a.x, a.y, b.x, b.y, left, top, right, bottom);
        dashBit = std::uint16_t(1u << ((passed + r.first) % 16));
        gdi::forEachLinePixel(
            a.x, a.y, b.x, b.y, [](int x, int y) { GD_DashPixel(x, y, 0); }, r.first, r.last);
        passed += gdi::linePixelCount(a.x, a.y, b.x, b.y);
    }
}

// c + d and c - d, kept within the 32-bit range.
int plus(int c, int d) {
    return int(std::clamp<std::int64_t>(std::int64_t(c) + d, INT32_MIN, INT32_MAX));
}
int minus(int c, int d) {
    return int(std::clamp<std::int64_t>(std::int64_t(c) - d, INT32_MIN, INT32_MAX));
}

// A coordinate truncated towards zero to a 16-bit integer (wrapping).
int truncTo16(double v) {
    if (!std::isfinite(v) || std::fabs(v) > 9.0e15) return 0;
    return std::int16_t(std::uint16_t(std::int64_t(v)));
}

XY anglePoint(int cx, int cy, int r, double a) {
    const double rad = a * std::numbers::pi / 180.0;
    return {truncTo16(cx + r * std::sin(rad)), truncTo16(cy + r * std::cos(rad))};
}

} // namespace

extern "C" {

void GD_SetLineWidth(unsigned char width) {
    lineWidth = width;
}

void GD_Line(int colour, int x1, int y1, int x2, int y2) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const Pen old = dc->setPen(solidPen(colour));
    dc->moveTo(x1, y1);
    dc->lineTo(x2, y2);
    dc->setPen(old);
}

void GD_Polyline(int colour, int n, Point* pts) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const std::vector<XY> p = toXY(n, pts);
    const Pen old = dc->setPen(solidPen(colour));
    dc->polyline(p);
    dc->setPen(old);
}

void GD_DashPixel(int x, int y, std::intptr_t) {
    if (Dc* dc = gdCurrentDc(); dc && (dashPattern & dashBit)) dc->setPixel(x, y, dashColour);
    dashBit = std::uint16_t(dashBit << 1);
    if (dashBit == 0) dashBit = 1;
}

void GD_DashPolyline(int colour, unsigned short pattern, int n, Point* pts) {
    dashLine(colour, pattern, toXY(n, pts));
}

void GD_Rectangle(int colour, int left, int top, int right, int bottom) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    withTools(*dc, solidPen(colour), Brush::null(),
              [&](Dc& d) { d.rectangle(left, top, right, bottom); });
}

void GD_DashRectangle(int colour, unsigned short pattern, int left, int top, int right,
                      int bottom) {
    dashLine(colour, pattern,
             {{left, top}, {left, bottom}, {right, bottom}, {right, top}, {left, top}});
}

void GD_FillRectangle(int colour, int left, int top, int right, int bottom) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    withTools(*dc, Pen::null(), Brush::solid(gdColour(colour)),
              [&](Dc& d) { d.rectangle(left, top, right, bottom); });
}

void GD_Polygon(int colour, int n, Point* pts) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const std::vector<XY> p = toXY(n, pts);
    if (areaPattern)
        patternFill(*dc, colour, Pen::null(), false, [&](Dc& d) { d.polygon(p); });
    else
        withTools(*dc, Pen::null(), Brush::solid(gdColour(colour)), [&](Dc& d) { d.polygon(p); });
}

void GD_SetAreaPattern(short pattern) {
    areaPattern.reset();
    areaPatternNumber = 0;
    colourPass = false;
    for (const AreaPattern& a : kAreaPatterns)
        if (a.number == pattern) {
            areaPattern = Brush::patterned(a.rows);
            areaPatternNumber = a.number;
            colourPass = a.colourPass;
        }
}

void GD_SetXorFill(bool on) {
    xorFill = on;
}

void GD_Circle(int colour, int cx, int cy, int r) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    withTools(*dc, solidPen(colour), Brush::null(),
              [&](Dc& d) { d.ellipse(minus(cx, r), minus(cy, r), plus(cx, r), plus(cy, r)); });
}

void GD_FillCircle(int colour, int cx, int cy, int r) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const auto draw = [&](Dc& d) {
        d.ellipse(minus(cx, r), minus(cy, r), plus(cx, r), plus(cy, r));
    };
    if (areaPattern)
        patternFill(*dc, colour, solidPen(colour), true, draw);
    else
        withTools(*dc, Pen::null(), Brush::solid(gdColour(colour)), draw);
}

void GD_Ellipse(int colour, bool dotted, int cx, int cy, int rx, int ry) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const Pen pen{dotted ? PenStyle::Dot : PenStyle::Solid, lineWidth, gdColour(colour)};
    const gdi::BkMode oldMode = dc->setBkMode(gdi::BkMode::Transparent);
    withTools(*dc, pen, Brush::null(),
              [&](Dc& d) { d.ellipse(minus(cx, rx), minus(cy, ry), plus(cx, rx), plus(cy, ry)); });
    dc->setBkMode(oldMode);
}

void GD_FillEllipse(int colour, int cx, int cy, int rx, int ry) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    withTools(*dc, Pen::null(), Brush::solid(gdColour(colour)),
              [&](Dc& d) { d.ellipse(minus(cx, rx), minus(cy, ry), plus(cx, rx), plus(cy, ry)); });
}

void GD_Arc(int colour, int r, int cx, int cy, double a1, double a2) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const XY p1 = anglePoint(cx, cy, r, a1), p2 = anglePoint(cx, cy, r, a2);
    if (p1 == p2 && a1 != a2 && std::fabs(a1 - a2) != 360.0) return;
    withTools(*dc, solidPen(colour), Brush::null(),
              [&](Dc& d) { d.arc(minus(cx, r), minus(cy, r), plus(cx, r), plus(cy, r), p1, p2); });
}

void GD_Pie(int colour, int r, int cx, int cy, double a1, double a2) {
    Dc* dc = gdCurrentDc();
    if (!dc) return;
    const XY p1 = anglePoint(cx, cy, r, a1), p2 = anglePoint(cx, cy, r, a2);
    if (p1 == p2 && a1 != a2) return;
    const auto draw = [&](Dc& d) {
        d.pie(minus(cx, r), minus(cy, r), plus(cx, r), plus(cy, r), p1, p2);
    };
    if (areaPattern)
        patternFill(*dc, colour, solidPen(colour), true, draw);
    else
        withTools(*dc, solidPen(colour), Brush::null(), draw);
}
}

unsigned char gdLineWidth() {
    return lineWidth;
}
short gdAreaPattern() {
    return areaPatternNumber;
}
bool gdXorFill() {
    return xorFill;
}
