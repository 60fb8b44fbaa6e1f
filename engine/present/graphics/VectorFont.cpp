#include "graphics/VectorFont.h"

#include "graphics/FixedSin.h"
#include "runtime/intmath.h"

#include <cmath>

namespace {

constexpr std::int16_t word(char first, char second) {
    return std::int16_t(std::uint8_t(first) | (std::uint8_t(second) << 8));
}
constexpr std::int16_t kCP = word('C', 'P'), kCB = word('C', 'B'), kDP = word('D', 'P'),
                       kFP = word('F', 'P'), kMT = word('M', 'T'), kDC = word('D', 'C'),
                       kFC = word('F', 'C');

// One row per command; points are x, y pairs.
// clang-format off
const std::vector<std::int16_t> kStream = {
    // 1
    kCP, 0, 1, 14,
    kDP, 2, 0, 0, 10, 0,
    kDP, 2, 5, 0, 5, -5,
    // 2
    kCP, 0, 1, 14,
    kDP, 7, 0, 0, 1, -1, 3, -1, 4, 0, 5, 1, 7, 1, 8, 0,
    // 3
    kCP, 0, 1, 0,
    kDP, 7, 2, -4, 0, 2, 4, 0, 6, 4, 8, 0, 12, 2, 10, -4,
    kDP, 2, 0, 0, 2, 0,
    kDP, 2, 10, 0, 12, 0,
    // 4
    kCP, 0, 1, 0,
    kDP, 10, 0, -6, 0, 0, 2, 2, 4, 2, 6, 0, 6, -4, 6, 0, 8, 2, 10, 0, 10, -6,
    // 5
    kCP, 0, 1, 0,
    kDP, 6, 0, -6, 0, 0, 4, 2, 8, 2, 10, 0, 10, -4,
    // 6
    kCP, 0, 1, 14,
    kDP, 3, -6, -4, 0, 0, -6, 4,
    // 7
    kCP, 0, 1, 14,
    kDP, 2, 0, 0, 8, 0,
    kDP, 2, 4, -4, 4, 4,
    // 8
    kCP, 0, 1, 14,
    kDP, 2, 0, 0, 12, 0,
    kDP, 2, 6, 1, 10, 1,
    kDP, 2, 6, -1, 10, -1,
    kDP, 2, 7, 2, 9, 2,
    kDP, 2, 7, -2, 9, -2,
    // 9
    kCP, 0, 1, 14,
    kDP, 3, 6, -4, 0, 0, 6, 4,
    // 10
    kCP, 0, 1, 14,
    kDP, 6, 2, -3, 10, -3, 13, 0, 10, 3, 2, 3, 2, -3,
    // 11
    kCP, 0, 1, 0,
    kDP, 3, -6, -4, 0, 0, -6, 4,
    // 12
    kCP, 0, 1, 0,
    kDP, 3, 6, -4, 0, 0, 6, 4,
    // 13
    kCP, 0, 1, 0,
    kDP, 2, 0, 1, 4, 1,
    kDP, 2, 0, 0, 4, 0,
    kDP, 2, 0, -1, 4, -1,
    kDP, 2, 1, 2, 3, 2,
    kDP, 2, 1, -2, 3, -2,
    // 14
    kCP, 0, 1, 14,
    kDP, 4, 0, 0, 10, 0, 5, -10, 0, 0,
    // 15
    kCP, 0, 1, 0,
    kDP, 9, 0, 0, 1, 2, 3, 3, 5, 2, 6, 0, 5, -2, 3, -3, 1, -2, 0, 0,
    // 16
    kCP, 0, 1, 0,
    kDP, 7, 0, 0, 1, -1, 3, -1, 4, 0, 5, 1, 7, 1, 8, 0,
    // 17
    kCB, 0, 0, 0,
    kCP, 0, 1, 0,
    kFP, 6, 0, 0, 0, 2, 8, 2, 8, -2, 0, -2, 0, 0,
    kCP, 0, 1, 0,
    kDP, 4, 16, -2, 8, -2, 8, 2, 16, 2,
    // 18
    kCP, 0, 1, 0,
    kDP, 2, 0, 2, 4, 2,
    kDP, 2, 0, -2, 4, -2,
    // 19
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 0, 4,
    kDP, 2, 2, 0, 2, 2,
    // 20
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 0, 4,
    kDP, 2, 2, -2, 2, 2,
    // 21
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 6, 0,
    kDP, 2, 0, 0, 0, -8,
    kDP, 2, 3, 0, 3, -12,
    kDP, 2, 6, 0, 6, -6,
    // 22
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 6, 0,
    kDP, 2, 0, 0, 0, -5,
    kDP, 2, 3, 0, 3, -8,
    kDP, 2, 6, 0, 6, -3,
    // 23
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 12, 0,
    kDP, 2, 6, 1, 10, 1,
    kDP, 2, 6, -1, 10, -1,
    kDP, 2, 7, 2, 9, 2,
    kDP, 2, 7, -2, 9, -2,
    // 24
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 10, 0,
    kDP, 2, 5, 0, 5, -5,
    // 25
    kCP, 0, 1, 0,
    kDP, 2, 0, 0, 6, 0,
    kDP, 2, 3, -3, 3, 3,
};
// clang-format on

const VectorGlyphRecord kGlyphs[kVectorGlyphCount] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},     // 0
    {0, 10, 0, 5, 0, 0, 0, 0, 0, 13, 0, 3},   // 1
    {16, 8, 0, 2, 0, 0, 0, 0, 0, 8, 0, 2},    // 2
    {36, 12, 0, 6, 0, 0, 0, 0, 0, 12, 0, 4},  // 3
    {68, 10, 0, 8, 0, 0, 0, 0, 0, 10, 0, 2},  // 4
    {94, 10, 0, 10, 0, 0, 0, 0, 0, 10, 0, 2}, // 5
    {112, 10, 0, 10, 0, 0, 0, 0, 0, 1, 0, 2}, // 6
    {124, 8, 0, 8, 0, 0, 0, 0, 0, 8, 0, 3},   // 7
    {140, 12, 0, 5, 0, 0, 0, 0, 0, 16, 0, 6}, // 8
    {174, 10, 0, 10, 0, 0, 0, 0, 0, 1, 0, 2}, // 9
    {186, 14, 0, 6, 0, 0, 0, 0, 0, 16, 0, 2}, // 10
    {204, 10, 0, 10, 0, 0, 0, 0, 0, 1, 0, 2}, // 11
    {216, 10, 0, 10, 0, 0, 0, 0, 0, 1, 0, 2}, // 12
    {228, 4, 0, 5, 0, 0, 0, 0, 0, 4, 0, 6},   // 13
    {262, 6, 0, 6, 0, 0, 0, 0, 0, 6, 0, 2},   // 14
    {276, 6, 0, 6, 0, 0, 0, 0, 0, 6, 0, 2},   // 15
    {300, 8, 0, 2, 0, 0, 0, 0, 0, 8, 0, 2},   // 16
    {320, 16, 0, 5, 0, 0, 0, 0, 0, 16, 0, 5}, // 17
    {356, 2, 0, 4, 0, 0, 0, 0, 0, 4, 0, 3},   // 18
    {372, 4, 0, 2, 0, 0, 0, 0, 0, 4, 0, 3},   // 19
    {388, 4, 0, 4, 0, 0, 0, 0, 0, 4, 0, 3},   // 20
    {404, 6, 0, 12, 0, 0, 0, 0, 0, 8, 0, 5},  // 21
    {432, 6, 0, 8, 0, 0, 0, 0, 0, 8, 0, 5},   // 22
    {460, 12, 0, 5, 0, 0, 0, 0, 0, 16, 0, 6}, // 23
    {494, 10, 0, 5, 0, 0, 0, 0, 0, 13, 0, 3}, // 24
    {510, 6, 0, 6, 0, 0, 0, 0, 0, 7, 0, 3},   // 25
};

} // namespace

const VectorGlyphRecord* VG_Glyph(int ch) {
    return ch >= 0 && ch < kVectorGlyphCount ? &kGlyphs[ch] : nullptr;
}

const std::vector<std::int16_t>& VG_CommandStream() {
    return kStream;
}

Point VG_TransformPoint(int ox, int oy, int gx, int gy, const std::array<std::int32_t, 4>& m) {
    const std::int64_t dx = (std::int64_t(gx) * m[0] + std::int64_t(gy) * m[1]) >> 16;
    const std::int64_t dy = (std::int64_t(gx) * m[2] + std::int64_t(gy) * m[3]) >> 16;
    return Point{std::int32_t(ox + dx), std::int32_t(oy - dy)};
}

void VG_DrawGlyph(VectorGlyphSink& sink, int ox, int oy, int ch,
                  const std::array<std::int32_t, 4>& m) {
    const VectorGlyphRecord* glyph = VG_Glyph(ch);
    if (!glyph) return;
    const std::vector<std::int16_t>& s = kStream;
    const std::size_t size = s.size();
    std::size_t at = std::size_t(glyph->offset());
    bool hasPen = false, hasBrush = false;
    VectorPen pen{};
    VectorBrush brush{};
    Point centre{ox, oy};
    // Circle radii scale with the matrix (its first column is the scaled cosine and sine).
    const double radiusScale = std::hypot(double(m[0]), double(m[2])) / 65536.0;
    auto points = [&](std::size_t from, int n) {
        std::vector<Point> pts;
        pts.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i)
            pts.push_back(VG_TransformPoint(ox, oy, s[from + 2 * i], s[from + 2 * i + 1], m));
        return pts;
    };
    for (int c = 0; c < glyph->commands() && at < size; ++c) {
        const std::int16_t op = s[at++];
        if (op == kCP || op == kCB) {
            if (at + 3 > size) return;
            if (op == kCP) {
                pen = VectorPen{s[at], s[at + 1], s[at + 2]};
                hasPen = true;
            } else {
                brush = VectorBrush{s[at], s[at + 1], s[at + 2]};
                hasBrush = true;
            }
            at += 3;
        } else if (op == kDP || op == kFP) {
            if (at >= size) return;
            const int n = s[at++];
            if (n < 0 || at + 2 * std::size_t(n) > size) return;
            if (op == kDP && hasPen) sink.polyline(pen, points(at, n));
            if (op == kFP && hasBrush) sink.polygon(brush, hasPen ? &pen : nullptr, points(at, n));
            at += 2 * std::size_t(n);
        } else if (op == kMT) {
            if (at + 2 > size) return;
            centre = VG_TransformPoint(ox, oy, s[at], s[at + 1], m);
            at += 2;
        } else if (op == kDC || op == kFC) {
            if (at >= size) return;
            const int r = int(round(s[at++] * radiusScale, 0));
            if (op == kDC && hasPen) sink.circle(pen, centre, r);
            if (op == kFC && hasBrush) sink.filledCircle(brush, centre, r);
        }
        // Any other word is a command without operands.
    }
}

void VG_DrawGlyphs(VectorGlyphSink& sink, int x, int y, int ch, double angle, int scale,
                   int count) {
    const VectorGlyphRecord* glyph = VG_Glyph(ch);
    if (!glyph) return;
    if (count <= 0) count = 1;
    const std::array<std::int32_t, 4> m = GD_RotationMatrix(scale, angle);
    const double radians = angle * M_PI / 180.0;
    const double stepX = glyph->advance() * std::cos(radians);
    const double stepY = glyph->advance() * std::sin(radians);
    double ox = x, oy = y;
    for (int i = 0; i < count; ++i) {
        VG_DrawGlyph(sink, int(round(ox, 0)), int(round(oy, 0)), ch, m);
        ox += stepX;
        oy += stepY;
    }
}
