#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "gdi/lineDda.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace gdi {
namespace {

using test::charMap;
using test::savePicture;
using test::whitePicture;

const Colour kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0), kBlue = rgb(0, 0, 255);

struct Bounds {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
    bool operator==(const Bounds&) const = default;
};

// The device pixels of colour c.
Bounds boundsOf(const RasterDc& dc, int w, int h, Colour c) {
    const QImage& img = dc.picture();
    Bounds b;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((img.pixel(x, y) & 0xFFFFFFu) ==
                qRgb(redOf(c), greenOf(c), blueOf(c)) - 0xFF000000u) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

TEST(RasterDc, BoxShapesCoverLeftAndTopButNotRightAndBottom) {
    struct Case {
        const char* name;
        void (*draw)(Dc&);
    } cases[] = {
        {"fillRect", [](Dc& dc) { dc.fillRect(2, 3, 12, 9, Brush::solid(kBlack)); }},
        {"fillRect reversed", [](Dc& dc) { dc.fillRect(12, 9, 2, 3, Brush::solid(kBlack)); }},
        {"filled rectangle",
         [](Dc& dc) {
             dc.setPen(Pen::null());
             dc.setBrush(Brush::solid(kBlack));
             dc.rectangle(2, 3, 12, 9);
         }},
        {"outlined rectangle",
         [](Dc& dc) {
             dc.setPen(Pen{PenStyle::Solid, 1, kBlack});
             dc.setBrush(Brush::null());
             dc.rectangle(2, 3, 12, 9);
         }},
        {"outlined ellipse",
         [](Dc& dc) {
             dc.setPen(Pen{PenStyle::Solid, 0, kBlack});
             dc.setBrush(Brush::null());
             dc.ellipse(2, 3, 12, 9);
         }},
    };
    for (const auto& c : cases) {
        QImage img = whitePicture(16, 12);
        RasterDc dc(&img);
        c.draw(dc);
        EXPECT_EQ(boundsOf(dc, 16, 12, kBlack), (Bounds{2, 3, 11, 8})) << c.name;
    }
}

TEST(RasterDc, LinesLeaveOutTheirEndPixelAndDotsFollowTheBackgroundMode) {
    QImage img = whitePicture(16, 4);
    RasterDc dc(&img);
    dc.setPen(Pen{PenStyle::Solid, 1, kBlack});
    dc.moveTo(1, 0);
    dc.lineTo(10, 0);
    EXPECT_EQ(dc.currentPosition(), (XY{10, 0}));
    dc.setPen(Pen{PenStyle::Dot, 0, kBlack});
    dc.setBkColour(kRed);
    dc.setBkMode(BkMode::Opaque);
    dc.moveTo(0, 1);
    dc.lineTo(15, 1);
    dc.setBkMode(BkMode::Transparent);
    dc.moveTo(0, 2);
    dc.lineTo(15, 2);
    EXPECT_EQ(charMap(dc, 0, 0, 16, 3), ".#########......\n"
                                        "###RRR###RRR###.\n"
                                        "###...###...###.\n");
}

TEST(RasterDc, OnePixelLinesStartOnTheirFirstPointInEveryDirection) {
    const XY ends[][2] = {{{2, 2}, {9, 2}}, {{9, 2}, {2, 2}}, {{5, 9}, {5, 1}}, {{5, 1}, {5, 9}},
                          {{1, 9}, {8, 3}}, {{8, 3}, {1, 9}}, {{0, 0}, {9, 9}}};
    for (const auto& e : ends) {
        QImage img = whitePicture(12, 12);
        RasterDc dc(&img);
        dc.setPen(Pen{PenStyle::Solid, 0, kBlack});
        dc.polyline(e);
        int count = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                count += dc.getPixel(x, y) == kBlack;
        EXPECT_EQ(dc.getPixel(e[0].x, e[0].y), kBlack) << e[0].x << "," << e[0].y;
        EXPECT_EQ(dc.getPixel(e[1].x, e[1].y), kWhite) << e[1].x << "," << e[1].y;
        EXPECT_EQ(count, std::max(std::abs(e[1].x - e[0].x), std::abs(e[1].y - e[0].y)));
    }
    // Far-off ends cost nothing and the part across the picture is drawn.
    QImage img = whitePicture(12, 12);
    RasterDc dc(&img);
    dc.setPen(Pen{PenStyle::Solid, 0, kRed});
    const XY far[] = {{-2000000000, 5}, {2000000000, 5}, {2000000000, -2000000000}};
    dc.polyline(far);
    EXPECT_EQ(charMap(dc, 0, 4, 12, 3), "............\nRRRRRRRRRRRR\n............\n");
}

TEST(RasterDc, PenWidthsAreDevicePixelsWhateverTheMapping) {
    for (int width : {0, 1, 5}) {
        QImage img = whitePicture(40, 40);
        RasterDc dc(&img);
        Mapping m;
        m.anisotropic = true;
        m.viewportExtent = {3, -3}; // three pixels per unit, y up
        m.viewportOrigin = {0, 40};
        dc.setMapping(m);
        dc.setPen(Pen{PenStyle::Solid, width, kBlack});
        dc.moveTo(2, 6);
        dc.lineTo(10, 6); // device (6, 22) to (30, 22)
        int thickness = 0;
        for (int y = 0; y < 40; ++y)
            thickness += (dc.picture().pixel(18, y) & 0xFFFFFFu) == 0;
        EXPECT_EQ(thickness, std::max(width, 1)) << "width " << width;
        EXPECT_EQ(img.pixel(18, 22) & 0xFFFFFFu, 0u) << "width " << width;
    }
}

TEST(RasterDc, RasterOperationsCombinePenAndBrushWithThePicture) {
    struct Case {
        Colour picture, drawn;
        Rop2 rop;
        Colour want;
    } cases[] = {
        {kWhite, kRed, Rop2::Copy, kRed},
        {kWhite, kRed, Rop2::Mask, kRed},
        {kRed, kBlue, Rop2::Mask, kBlack},
        {kRed, kBlue, Rop2::Merge, rgb(255, 0, 255)},
        {kWhite, kRed, Rop2::Xor, rgb(0, 255, 255)},
        {rgb(0, 255, 255), kRed, Rop2::Xor, kWhite},
        {kRed, kGreen, Rop2::Not, rgb(0, 255, 255)},
    };
    for (const auto& c : cases) {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(qRgb(redOf(c.picture), greenOf(c.picture), blueOf(c.picture)));
        RasterDc dc(&img);
        dc.setRop2(c.rop);
        dc.setPen(Pen{PenStyle::Solid, 1, c.drawn});
        dc.setBrush(Brush::solid(c.drawn));
        dc.rectangle(0, 0, 8, 8);
        EXPECT_EQ(dc.getPixel(0, 0), c.want) << "outline, rop " << int(c.rop);
        EXPECT_EQ(dc.getPixel(4, 4), c.want) << "fill, rop " << int(c.rop);
        EXPECT_EQ(qAlpha(dc.picture().pixel(4, 4)), 255);
    }
}

TEST(RasterDc, ExclusiveOrTwiceRestoresThePicture) {
    QImage img = whitePicture(64, 48);
    RasterDc dc(&img);
    dc.setPen(Pen::null());
    for (int i = 0; i < 8; ++i)
        dc.fillRect(i * 8, 0, i * 8 + 8, 48, Brush::solid(rgb(30 * i, 255 - 20 * i, 77)));
    const QImage before = dc.picture().copy();
    const XY star[] = {{32, 2}, {44, 44}, {4, 16}, {60, 16}, {20, 44}};
    dc.setRop2(Rop2::Xor);
    for (int pass = 0; pass < 2; ++pass) {
        dc.setPen(Pen{PenStyle::Solid, 3, kRed});
        dc.setBrush(Brush::solid(kBlue));
        dc.polygon(star);
        dc.setPen(Pen{PenStyle::Solid, 0, kGreen});
        dc.setBrush(Brush::patterned({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}));
        dc.pie(10, 10, 50, 40, {50, 20}, {10, 20});
        if (pass == 0) {
            savePicture(dc.picture(), "xor_once");
            EXPECT_NE(dc.picture(), before);
        }
    }
    EXPECT_EQ(dc.picture(), before);
}

TEST(RasterDc, PatternBrushPaintsTextAndBackgroundColoursFromTheDeviceOrigin) {
    QImage img = whitePicture(16, 16);
    RasterDc dc(&img);
    dc.setMapping(Mapping::yUp(8, 8)); // patterns stay on the device grid
    dc.setPen(Pen::null());
    dc.setBrush(Brush::patterned({0x80, 0, 0, 0, 0, 0, 0, 0x01}));
    dc.setTextColour(kGreen); // 0 bits
    dc.setBkColour(kRed);     // 1 bits
    dc.rectangle(-8, 8, 8, -8);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool one = (x % 8 == 0 && y % 8 == 0) || (x % 8 == 7 && y % 8 == 7);
            ASSERT_EQ(img.pixel(x, y) & 0xFFFFFFu, one ? 0xFF0000u : 0x00FF00u) << x << "," << y;
        }
    dc.setBrushOrigin({1, 2});
    dc.rectangle(-8, 8, 8, -8);
    EXPECT_EQ(img.pixel(1, 2) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);
}

TEST(RasterDc, HatchBrushLeavesGapsToTheBackgroundMode) {
    QImage img = whitePicture(8, 8);
    RasterDc dc(&img);
    dc.setPen(Pen::null());
    dc.setBrush(Brush::hatched(Hatch::Horizontal, kBlue));
    dc.setBkMode(BkMode::Transparent);
    dc.rectangle(0, 0, 8, 8);
    int blue = 0, white = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            (dc.getPixel(x, y) == kBlue ? blue : white) += 1;
    EXPECT_EQ(blue, 8);
    EXPECT_EQ(white, 56);
    dc.setBkMode(BkMode::Opaque);
    dc.setBkColour(kRed);
    dc.rectangle(0, 0, 8, 8);
    EXPECT_EQ(boundsOf(dc, 8, 8, kRed), (Bounds{0, 0, 7, 7}));
}

TEST(RasterDc, PolygonHolesDependOnTheFillMode) {
    // An outline and a hole traced the same way round, joined by a bridge.
    const XY ring[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0},
                       {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
    for (FillMode mode : {FillMode::Alternate, FillMode::Winding}) {
        QImage img = whitePicture(24, 24);
        RasterDc dc(&img);
        dc.setPen(Pen::null());
        dc.setBrush(Brush::solid(kBlack));
        dc.setPolyFillMode(mode);
        dc.polygon(ring);
        savePicture(dc.picture(), mode == FillMode::Alternate ? "hole_alternate" : "hole_winding");
        EXPECT_EQ(dc.getPixel(2, 10), kBlack);
        EXPECT_EQ(dc.getPixel(10, 10), mode == FillMode::Alternate ? kWhite : kBlack);
        EXPECT_EQ(dc.getPixel(21, 10), kWhite);
    }
}

TEST(RasterDc, ClipRegionLimitsShapesPixelsAndTransfers) {
    const XY tri[] = {{2, 2}, {30, 4}, {10, 28}};
    const Region clip = Region::polygon(tri, FillMode::Alternate);
    QImage img = whitePicture(32, 32);
    RasterDc dc(&img);
    dc.setClipRegion(&clip);
    dc.fillRect(0, 0, 32, 32, Brush::solid(kBlack));
    dc.setPen(Pen{PenStyle::Solid, 4, kRed});
    dc.moveTo(0, 31);
    dc.lineTo(31, 0);
    dc.setPixel(0, 0, kBlue);
    auto src = RasterDc::createCompatible(&dc);
    src->selectBitmap(Bitmap::colour(32, 32));
    src->fillRect(0, 0, 32, 32, Brush::solid(kGreen));
    dc.blit(0, 16, 32, 16, *src, 0, 0, BlitOp::Copy);
    savePicture(dc.picture(), "clip_region");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (!clip.contains(x, y)) {
                ASSERT_EQ(img.pixel(x, y) & 0xFFFFFFu, 0xFFFFFFu) << x << "," << y;
            }
    EXPECT_EQ(dc.getPixel(10, 20), kGreen);
    EXPECT_EQ(dc.getPixel(8, 6), kBlack);
    dc.setClipRegion(nullptr);
    dc.setPixel(0, 0, kBlue);
    EXPECT_EQ(dc.getPixel(0, 0), kBlue);
    // Changing the region while painting is open takes effect at once.
    const Region corner = Region::rectangle(0, 28, 4, 32);
    dc.setClipRegion(&corner);
    dc.fillRect(0, 28, 32, 32, Brush::solid(kRed));
    dc.setClipRegion(nullptr);
    dc.fillRect(30, 0, 32, 2, Brush::solid(kGreen));
    EXPECT_EQ(charMap(dc, 0, 30, 8, 1), "RRRR....\n");
    EXPECT_EQ(dc.getPixel(31, 1), kGreen);
}

TEST(RasterDc, SpansFillDevicePixelsWithinThePictureAndTheClip) {
    QImage img = whitePicture(8, 4);
    RasterDc dc(&img);
    dc.setMapping(Mapping::yUp(4, 2)); // spans are device pixels: the mapping is not used
    dc.setRop2(Rop2::Xor);             // nor the raster operation
    const Region clip = Region::rectangle(0, 0, 6, 4);
    dc.setClipRegion(&clip);
    const Dc::Span spans[] = {{0, 1, 3}, {1, -5, 2}, {2, 4, 100}, {3, 2, 2}, {-1, 0, 8}, {4, 0, 8}};
    dc.fillSpans(spans, kRed);
    EXPECT_EQ(charMap(dc, 0, 0, 8, 4), ".RR.....\n"
                                       "RR......\n"
                                       "....RR..\n"
                                       "........\n");
}

TEST(RasterDc, YUpMappingPutsTheLogicalOriginAtTheCentre) {
    QImage img = whitePicture(40, 30);
    RasterDc dc(&img);
    dc.setMapping(Mapping::yUp(20, 15));
    EXPECT_EQ(dc.mapping().toDevice({5, 3}), (XY{25, 12}));
    EXPECT_EQ(dc.mapping().toLogical({25, 12}), (XY{5, 3}));
    dc.setPen(Pen::null());
    dc.setBrush(Brush::solid(kBlack));
    dc.rectangle(0, 0, 10, 10); // logical y 0 to 10 runs up the screen
    EXPECT_EQ(boundsOf(dc, 40, 30, kBlack), (Bounds{20, 5, 29, 14}));
    // A triangle pointing up in logical units points up on screen.
    const XY up[] = {{-10, -10}, {-2, -10}, {-6, 0}};
    dc.setBrush(Brush::solid(kRed));
    dc.polygon(up);
    const Bounds b = boundsOf(dc, 40, 30, kRed);
    EXPECT_EQ(b.top, 16); // the apex row holds no pixel centre
    EXPECT_EQ(b.bottom, 24);
    EXPECT_EQ(dc.getPixel(-6, -1), kRed); // near the apex
    EXPECT_EQ(dc.getPixel(-9, -1), kWhite);
    savePicture(dc.picture(), "y_up_mapping");
}

TEST(RasterDc, ArcsAndPiesRunCounterclockwiseOnScreenInEveryMapping) {
    // Samples at 45-degree screen directions: upper right, upper left, lower left, lower right.
    struct Case {
        bool yUp;
        XY start, end;
        const char* filled; // which quadrants come out filled
    } cases[] = {
        {false, {40, 20}, {20, 0}, "1000"}, // east to north on screen
        {false, {20, 0}, {40, 20}, "0111"}, // north to east, the long way
        {true, {20, 0}, {0, 20}, "1000"},   // logical east to north (y up): same on screen
        {true, {0, 20}, {20, 0}, "0111"},
        {true, {20, 0}, {20, 0}, "1111"},    // equal radials: the whole circle
        {false, {30, 20}, {40, 20}, "1111"}, // same direction at different distances
    };
    for (const auto& c : cases) {
        QImage img = whitePicture(44, 44);
        RasterDc dc(&img);
        if (c.yUp) dc.setMapping(Mapping::yUp(22, 22));
        const int o = c.yUp ? -20 : 0; // box from 0 to 40 around the centre
        const XY s = c.yUp ? c.start : XY{c.start.x + 2, c.start.y + 2};
        const XY e = c.yUp ? c.end : XY{c.end.x + 2, c.end.y + 2};
        dc.setPen(Pen{PenStyle::Solid, 1, kBlack});
        dc.setBrush(Brush::solid(kRed));
        if (c.yUp)
            dc.pie(o, -o, -o, o, s, e);
        else
            dc.pie(2, 2, 42, 42, s, e);
        std::string got;
        for (XY q : {XY{31, 13}, XY{13, 13}, XY{13, 31}, XY{31, 31}})
            got += img.pixel(q.x, q.y) == qRgb(255, 0, 0) ? '1' : '0';
        EXPECT_EQ(got, c.filled) << c.yUp << " " << c.start.x << "," << c.start.y;
    }
    // An arc is the outline alone.
    QImage img = whitePicture(44, 44);
    RasterDc dc(&img);
    dc.setBrush(Brush::solid(kRed));
    dc.arc(2, 2, 42, 42, {42, 22}, {22, 2});
    EXPECT_EQ(boundsOf(dc, 44, 44, kRed).right, -1);
    const Bounds b = boundsOf(dc, 44, 44, kBlack);
    EXPECT_GE(b.left, 20);
    EXPECT_LE(b.bottom, 23);
}

TEST(LineDda, StepsAlongTheLongerAxisAndLeavesOutTheEnd) {
    const XY ends[][2] = {{{0, 0}, {5, 0}},   {{0, 0}, {0, -3}}, {{3, 3}, {3, 3}},
                          {{0, 0}, {7, 3}},   {{5, 9}, {-4, 2}}, {{-2, 1}, {6, -11}},
                          {{0, 0}, {-6, -6}}, {{10, 0}, {0, 1}}};
    for (const auto& e : ends) {
        std::vector<XY> px;
        lineDda(e[0].x, e[0].y, e[1].x, e[1].y, [&](int x, int y) { px.push_back({x, y}); });
        const int dx = e[1].x - e[0].x, dy = e[1].y - e[0].y;
        ASSERT_EQ(int(px.size()), std::max(std::abs(dx), std::abs(dy)));
        if (px.empty()) continue;
        EXPECT_EQ(px.front(), e[0]);
        XY prev = px.front();
        for (std::size_t i = 0; i < px.size(); ++i) {
            const XY p = px[i];
            if (i) {
                EXPECT_LE(std::abs(p.x - prev.x), 1);
                EXPECT_LE(std::abs(p.y - prev.y), 1);
            }
            // Within half a pixel of the true line, across its minor axis.
            const double t = std::abs(dx) >= std::abs(dy) ? double(p.x - e[0].x) / dx
                                                          : double(p.y - e[0].y) / dy;
            EXPECT_LE(std::abs(e[0].x + t * dx - p.x), 0.5);
            EXPECT_LE(std::abs(e[0].y + t * dy - p.y), 0.5);
            prev = p;
        }
        EXPECT_NE(px.back(), e[1]);
        // Any range of pixel numbers gives the same pixels as the whole line.
        for (std::int64_t k = 0; k <= std::int64_t(px.size()); ++k) {
            std::vector<XY> parts;
            const auto add = [&](int x, int y) { parts.push_back({x, y}); };
            forEachLinePixel(e[0].x, e[0].y, e[1].x, e[1].y, add, 0, k);
            forEachLinePixel(e[0].x, e[0].y, e[1].x, e[1].y, add, k);
            ASSERT_EQ(parts, px) << k;
        }
        // The range within a box holds every pixel inside it.
        const LinePixelRange r = linePixelsWithin(e[0].x, e[0].y, e[1].x, e[1].y, 0, 0, 3, 3);
        for (std::size_t k = 0; k < px.size(); ++k)
            if (px[k].x >= 0 && px[k].x <= 3 && px[k].y >= 0 && px[k].y <= 3) {
                EXPECT_GE(std::int64_t(k), r.first);
                EXPECT_LT(std::int64_t(k), r.last);
            }
    }
    // A line across the whole coordinate range: the pixels near a box come quickly.
    const LinePixelRange r = linePixelsWithin(INT32_MIN, -7, INT32_MAX, 9, 0, 0, 9, 9);
    ASSERT_LT(r.last - r.first, 40);
    std::vector<XY> near;
    forEachLinePixel(
        INT32_MIN, -7, INT32_MAX, 9,
        [&](int x, int y) {
            near.push_back({x, y});
        },
        r.first, r.last);
    ASSERT_FALSE(near.empty());
    EXPECT_TRUE(std::find(near.begin(), near.end(), XY{5, 1}) != near.end());
}

TEST(RasterDc, MonochromeSourcesTakeTheTextAndBackgroundColours) {
    const std::uint8_t bits[] = {0xF0, 0x00, 0x3C, 0x00}; // two rows of 8, rows 2 bytes apart
    auto glyph = RasterDc::createCompatible(nullptr);
    glyph->selectBitmap(Bitmap::fromBits(8, 2, bits, sizeof bits, 2));
    ASSERT_TRUE(glyph->isMonochrome());

    QImage img(8, 2, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 255));
    RasterDc dc(&img);
    // Straight copy: 0 bits the text colour, 1 bits the background colour.
    dc.setTextColour(kRed);
    dc.setBkColour(kGreen);
    dc.blit(0, 0, 8, 2, *glyph, 0, 0, BlitOp::Copy);
    EXPECT_EQ(charMap(dc, 0, 0, 8, 2), "GGGGRRRR\nRRGGGGRR\n");
    // Transparent two-pass transfer: 1 bits take the colour, 0 bits are untouched.
    img.fill(qRgb(0, 0, 255));
    dc.setTextColour(kWhite);
    dc.setBkColour(kBlack);
    dc.blit(0, 0, 8, 2, *glyph, 0, 0, BlitOp::And);
    dc.setTextColour(kBlack);
    dc.setBkColour(kRed);
    dc.blit(0, 0, 8, 2, *glyph, 0, 0, BlitOp::Paint);
    EXPECT_EQ(charMap(dc, 0, 0, 8, 2), "RRRRBBBB\nBBRRRRBB\n");

    // Colour into monochrome: the source's background colour becomes white.
    auto mono = RasterDc::createCompatible(&dc);
    mono->selectBitmap(Bitmap::monochrome(8, 2));
    dc.setBkColour(kBlue);
    mono->blit(0, 0, 8, 2, dc, 0, 0, BlitOp::Copy);
    EXPECT_EQ(charMap(*mono, 0, 0, 8, 2), "####....\n..####..\n");
    // Drawing on a monochrome picture gives black or white.
    mono->setPixel(7, 0, rgb(200, 180, 250));
    mono->setPixel(6, 0, rgb(90, 20, 200));
    EXPECT_EQ(mono->getPixel(7, 0), kWhite);
    EXPECT_EQ(mono->getPixel(6, 0), kBlack);
}

TEST(RasterDc, TransfersInvertClipToThePicturesAndMayOverlap) {
    QImage img = whitePicture(16, 8);
    RasterDc dc(&img);
    dc.fillRect(0, 0, 4, 8, Brush::solid(kRed));
    const QImage before = dc.picture().copy();
    auto mem = RasterDc::createCompatible(&dc);
    mem->selectBitmap(Bitmap::colour(16, 8));
    mem->fillRect(0, 0, 16, 8, Brush::solid(rgb(0x12, 0x34, 0x56)));
    for (int i = 0; i < 2; ++i)
        dc.blit(-3, -2, 30, 30, *mem, -5, 1, BlitOp::SrcInvert);
    EXPECT_EQ(dc.picture(), before);
    dc.blit(0, 0, 2, 2, dc, 0, 0, BlitOp::DstInvert);
    EXPECT_EQ(dc.getPixel(1, 1), rgb(0, 255, 255));
    // Moving a strip right within one picture reads the strip as it was.
    dc.blit(2, 0, 12, 8, dc, 0, 0, BlitOp::Copy);
    EXPECT_EQ(charMap(dc, 0, 4, 8, 1), "RRRRRR..\n");
    // A recording context has no pixels to give.
    RecordingDc rec(16, 8);
    EXPECT_FALSE(dc.blit(0, 0, 4, 4, rec, 0, 0, BlitOp::Copy));
}

// A plain copy between colour pictures takes whole rows; a clip region that
// covers the whole picture sends the same copy through the pixel loop, which
// must give the same pixels, also for rectangles reaching past either picture.
TEST(RasterDc, PlainCopiesGiveThePixelsOfThePixelLoop) {
    const auto pattern = [](int w, int h) {
        auto mem = RasterDc::createCompatible(nullptr);
        mem->selectBitmap(Bitmap::colour(w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                mem->setPixel(x, y, rgb(std::uint8_t(x * 7), std::uint8_t(y * 11), 0x40));
        return mem;
    };
    const auto src = pattern(37, 23);
    const struct {
        int x, y, w, h, srcX, srcY;
    } cases[] = {
        {0, 0, 37, 23, 0, 0},               // the whole picture
        {5, 3, 10, 6, 2, 4},                // inside both
        {-8, -5, 30, 20, 0, 0},             // past the destination's top left
        {20, 15, 40, 40, 3, 2},             // past the destination's bottom right
        {2, 1, 20, 10, -6, -4},             // from before the source's top left
        {1, 2, 50, 50, 30, 18},             // past the source's bottom right
        {-100, -100, 500, 500, -200, -150}, // past every edge of both
        {3, 3, 0, 5, 0, 0},                 // empty
        {40, 3, 5, 5, 0, 0},                // beside the destination
        {3, 3, 5, 5, 40, 0},                // beside the source
    };
    for (const auto& c : cases) {
        QImage fast = whitePicture(31, 29), loop = whitePicture(31, 29);
        RasterDc a(&fast), b(&loop);
        const Region everywhere = Region::rectangle(0, 0, 31, 29);
        b.setClipRegion(&everywhere);
        a.blit(c.x, c.y, c.w, c.h, *src, c.srcX, c.srcY, BlitOp::Copy);
        b.blit(c.x, c.y, c.w, c.h, *src, c.srcX, c.srcY, BlitOp::Copy);
        EXPECT_EQ(a.picture(), b.picture())
            << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.srcX << "," << c.srcY;
    }
    // A copy within one picture reads the rows as they were.
    QImage one = whitePicture(16, 8), two = whitePicture(16, 8);
    RasterDc a(&one), b(&two);
    const Region everywhere = Region::rectangle(0, 0, 16, 8);
    b.setClipRegion(&everywhere);
    for (RasterDc* dc : {&a, &b}) {
        dc->fillRect(0, 0, 4, 4, Brush::solid(kRed));
        dc->fillRect(4, 4, 8, 8, Brush::solid(kBlue));
        dc->blit(2, 2, 12, 6, *dc, 0, 0, BlitOp::Copy);
    }
    EXPECT_EQ(a.picture(), b.picture());
    EXPECT_EQ(charMap(a, 0, 2, 8, 1), "RRRRRR..\n");
}

TEST(RasterDc, TransfersMirrorWhereOnlyOneMappingTurnsAnAxis) {
    // A glyph's bits, top row first, in a memory context whose y axis points up.
    const std::uint8_t bits[] = {0xC0, 0x80, 0x80}; // an upright "r" shape, 1 = white
    auto glyph = RasterDc::createCompatible(nullptr);
    glyph->selectBitmap(Bitmap::fromBits(2, 3, bits, sizeof bits, 1));
    Mapping up;
    up.anisotropic = true;
    up.viewportExtent = {1, -1};
    up.viewportOrigin = {0, 3};
    glyph->setMapping(up);
    struct Case {
        bool destYUp;
        XY at; // the destination's corner in its logical units
        const char* picture;
    } cases[] = {
        {true, {0, 0}, "..RR\n..R.\n..R.\n....\n"},  // both turned: upright
        {false, {2, 1}, "....\n..R.\n..R.\n..RR\n"}, // one turned: mirrored top to bottom
    };
    for (const auto& c : cases) {
        QImage img = whitePicture(4, 4);
        RasterDc dc(&img);
        if (c.destYUp) dc.setMapping(Mapping::yUp(2, 3)); // logical (0, 0) at device (2, 3)
        dc.setTextColour(kWhite);
        dc.setBkColour(kRed);
        dc.blit(c.at.x, c.at.y, 2, 3, *glyph, 0, 0, BlitOp::And);
        EXPECT_EQ(charMap(dc, 0, 0, 4, 4), c.picture) << c.destYUp;
    }
    RecordingDc rec(4, 4);
    rec.blit(0, 0, 2, 3, *glyph, 0, 0, BlitOp::Copy);
    EXPECT_EQ(rec.log(), "Blit copy [0,0,2,3] from (0,0) mirror-y mono\n");
}

TEST(RasterDc, ContextsTakeTurnsOnOnePicture) {
    QImage img = whitePicture(8, 4);
    RasterDc first(&img), second(&img);
    for (int x = 0; x < 8; ++x) {
        RasterDc& dc = x % 2 ? second : first;
        dc.setPen(Pen::null());
        dc.setBrush(Brush::solid(x % 2 ? kRed : kBlue));
        dc.rectangle(x, 0, x + 1, 4);
    }
    EXPECT_EQ(charMap(first, 0, 0, 8, 1), "BRBRBRBR\n");
}

TEST(RasterDc, MemoryContextsHoldBitmapsOfAnySize) {
    QImage screen = whitePicture(1920, 1080);
    RasterDc window(&screen);
    const DeviceCaps caps = window.caps();
    EXPECT_EQ(caps.horzRes, 1920);
    EXPECT_EQ(caps.vertRes, 1080);
    EXPECT_EQ(caps.horzSizeMm, 508);
    EXPECT_EQ(caps.vertSizeMm, 286);
    EXPECT_EQ(caps.bitsPerPixel, 32);
    EXPECT_EQ(caps.numReserved, 20);

    auto mem = RasterDc::createCompatible(&window);
    EXPECT_EQ(mem->caps().horzRes, 1920);
    EXPECT_EQ(mem->picture().size(), QSize(1, 1));
    EXPECT_TRUE(mem->isMonochrome());
    auto first = mem->selectBitmap(Bitmap::colour(3000, 7));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isMonochrome());
    EXPECT_FALSE(mem->isMonochrome());
    mem->fillRect(0, 0, 3000, 7, Brush::solid(kRed));
    EXPECT_EQ(mem->getPixel(2999, 6), kRed);
    EXPECT_EQ(mem->getPixel(3000, 6), kInvalidColour);
    EXPECT_EQ(Bitmap::colour(40000, 10), nullptr);
    EXPECT_EQ(window.selectBitmap(Bitmap::colour(2, 2)), nullptr); // a window keeps its picture
}

TEST(RasterDc, PaletteIndicesResolveThroughTheSelectedPalette) {
    std::vector<PaletteEntry> entries(40);
    entries[5] = {10, 20, 30, 0};
    entries[0] = {1, 2, 3, 0};
    entries[30] = {0, 0, 0, kPaletteReserved};
    auto pal = std::make_shared<Palette>(entries);
    QImage img = whitePicture(4, 4);
    RasterDc dc(&img);
    EXPECT_EQ(dc.resolve(paletteIndex(13)), kRed); // the standard palette
    EXPECT_EQ(dc.resolve(paletteIndex(19)), kWhite);
    dc.selectPalette(pal);
    EXPECT_EQ(dc.realizePalette(), 40);
    EXPECT_EQ(dc.resolve(paletteIndex(5)), rgb(10, 20, 30));
    EXPECT_EQ(dc.resolve(paletteIndex(300)), rgb(1, 2, 3)); // past the end: entry 0
    EXPECT_EQ(dc.resolve(rgb(7, 8, 9) | 0x02000000u), rgb(7, 8, 9));
    dc.setPixel(0, 0, paletteIndex(5));
    EXPECT_EQ(dc.getPixel(0, 0), rgb(10, 20, 30));

    int told = 0;
    pal->addListener(&told, [&](const Palette& p) {
        ++told;
        EXPECT_EQ(&p, pal.get());
    });
    const PaletteEntry fresh[] = {{9, 9, 9, 0}, {200, 100, 50, 0}};
    EXPECT_EQ(pal->animate(29, fresh), 1u); // only the reserved entry changes
    EXPECT_EQ(told, 1);
    EXPECT_EQ(dc.resolve(paletteIndex(30)), rgb(200, 100, 50));
    EXPECT_EQ(dc.resolve(paletteIndex(29)), kBlack);
    EXPECT_EQ(pal->entry(30).flags, kPaletteReserved);
    EXPECT_EQ(pal->setEntries(38, fresh), 2u);
    EXPECT_EQ(pal->setEntries(39, fresh), 1u);
    EXPECT_EQ(told, 1);
    pal->removeListener(&told);
    pal->animate(30, fresh);
    EXPECT_EQ(told, 1);
}

TEST(Dc, DestroyingAContextTellsItsListeners) {
    Dc* seen = nullptr;
    int calls = 0, removedCalls = 0;
    const int key = 0, other = 0;
    {
        QImage img = whitePicture(2, 2);
        RasterDc dc(&img);
        dc.addDestroyListener(&key, [&](Dc* d) {
            seen = d;
            ++calls;
        });
        dc.addDestroyListener(&other, [&](Dc*) { ++removedCalls; });
        dc.removeDestroyListener(&other);
        EXPECT_EQ(calls, 0);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(removedCalls, 0);
    EXPECT_NE(seen, nullptr);
}

TEST(RasterDc, ExtremeCoordinatesNeitherCrashNorOverflow) {
    constexpr int lo = INT32_MIN, hi = INT32_MAX;
    Mapping scaled;
    scaled.anisotropic = true;
    scaled.windowExtent = {1, -1};
    scaled.viewportExtent = {1000, 1000};
    for (const Mapping& m : {Mapping{}, Mapping::yUp(8, 8), scaled}) {
        QImage img = whitePicture(16, 16);
        RasterDc dc(&img);
        RecordingDc rec(16, 16);
        auto mem = RasterDc::createCompatible(&dc);
        mem->selectBitmap(Bitmap::colour(16, 16));
        for (Dc* d : {static_cast<Dc*>(&dc), static_cast<Dc*>(&rec)}) {
            d->setMapping(m);
            for (int width : {0, 5}) {
                d->setPen(Pen{PenStyle::Dot, width, kRed});
                d->setBrush(Brush::patterned({1, 2, 3, 4, 5, 6, 7, 8}));
                d->setRop2(width ? Rop2::Xor : Rop2::Copy);
                d->fillRect(lo, lo, hi, hi, Brush::solid(kBlue));
                d->rectangle(lo, hi, hi, lo);
                d->roundRect(lo, lo, hi, hi, lo, hi);
                d->ellipse(lo, lo, hi, hi);
                d->arc(lo, lo, hi, hi, {lo, 0}, {hi, hi});
                d->pie(lo, lo, hi, hi, {0, 0}, {0, 0});
                const XY pts[] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}, {0, 0}};
                d->polygon(pts);
                d->polyline(pts);
                d->moveTo(lo, hi);
                d->lineTo(hi, lo);
                d->setPixel(lo, hi, kRed);
                (void)d->getPixel(hi, lo);
                d->blit(lo, lo, hi, hi, *mem, lo, hi, BlitOp::Copy);
                d->blit(hi, hi, lo, lo, *mem, hi, lo, BlitOp::DstInvert);
                d->blit(lo, 0, -1, hi, *mem, 3, hi, BlitOp::Paint);
            }
        }
    }
    // A box far wider than the picture fills all of it.
    QImage img = whitePicture(16, 16);
    RasterDc dc(&img);
    dc.fillRect(lo, lo, hi, hi, Brush::solid(kBlue));
    EXPECT_EQ(boundsOf(dc, 16, 16, kBlue), (Bounds{0, 0, 15, 15}));
}

// A picture of the raster backend's main shapes for a person to look at.
TEST(RasterDc, ContactSheet) {
    QImage img = whitePicture(160, 100);
    RasterDc dc(&img);
    dc.setPen(Pen{PenStyle::Solid, 1, kBlack});
    dc.setBrush(Brush::solid(kGreen));
    dc.rectangle(5, 5, 45, 35);
    dc.roundRect(50, 5, 90, 35, 12, 8);
    dc.ellipse(95, 5, 155, 35);
    dc.setBrush(Brush::hatched(Hatch::DiagonalCross, kBlue));
    dc.pie(5, 40, 55, 90, {55, 65}, {30, 40});
    dc.setPen(Pen{PenStyle::Solid, 4, kRed});
    const XY zig[] = {{60, 90}, {75, 45}, {90, 90}, {105, 45}};
    dc.polyline(zig);
    dc.setPen(Pen{PenStyle::Dot, 1, kBlack});
    dc.setBkMode(BkMode::Transparent);
    dc.setBrush(Brush::null());
    dc.ellipse(110, 45, 155, 95);
    savePicture(dc.picture(), "contact_sheet");
    EXPECT_EQ(dc.getPixel(25, 20), kGreen);
    EXPECT_EQ(dc.getPixel(5, 5), kBlack);
}

} // namespace
} // namespace gdi
