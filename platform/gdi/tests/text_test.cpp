// Text on device contexts: alignment, opaque and clipped boxes, upright text
// under the chart pass's y-up mapping, extents and Windows-1252 bytes.
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "pictures.h"

#include <QGuiApplication>
#include <QRawFont>
#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace gdi {
namespace {

class TextTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    static void TearDownTestSuite() { app_.reset(); }

    static inline int argc_ = 1;
    static inline char arg0_[] = "text_test";
    static inline char* argv_[] = {arg0_, nullptr};
    static inline std::unique_ptr<QGuiApplication> app_;
};

// The box of every pixel that is not white, in device pixels (empty: no ink).
QRect inkBox(const RasterDc& dc) {
    const QImage& img = dc.picture();
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != 0xFFFFFFFFu) box |= QRect(x, y, 1, 1);
    return box;
}

std::set<QRgb> coloursOf(const RasterDc& dc) {
    const QImage& img = dc.picture();
    std::set<QRgb> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out.insert(img.pixel(x, y) | 0xFF000000u);
    return out;
}

const LogFont kArial12{"Arial", -12, 400};

TEST_F(TextTest, AlignmentPlacesTheCellOnTheReferencePoint) {
    struct Case {
        unsigned align;
        const char* name;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, "left top"},
        {TA_CENTER | TA_TOP, "centre top"},
        {TA_RIGHT | TA_TOP, "right top"},
        {TA_LEFT | TA_BOTTOM, "left bottom"},
        {TA_CENTER | TA_BOTTOM, "centre bottom"},
        {TA_RIGHT | TA_BOTTOM, "right bottom"},
        {TA_LEFT | TA_BASELINE, "left baseline"},
        {TA_CENTER | TA_BASELINE, "centre base"},
        {TA_RIGHT | TA_BASELINE, "right baseline"},
    };
    const auto font = Font::create(kArial12);
    const XY extent = font->extent("HH");
    ASSERT_GT(extent.x, 8);
    ASSERT_EQ(extent.y, font->ascent() + font->descent());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = test::whitePicture(120, 80);
        RasterDc dc(&img);
        dc.selectFont(font);
        dc.setBkMode(BkMode::Transparent);
        dc.setTextAlign(c.align);
        dc.textOut(60, 40, "HH");
        // Where the cell must lie, from the alignment.
        const int left = (c.align & TA_CENTER) == TA_CENTER ? 60 - extent.x / 2
                         : (c.align & TA_RIGHT)             ? 60 - extent.x
                                                            : 60;
        const int baseline = (c.align & TA_BASELINE) == TA_BASELINE ? 40
                             : (c.align & TA_BOTTOM)                ? 40 - font->descent()
                                                                    : 40 + font->ascent();
        const QRect cell(left, baseline - font->ascent(), extent.x, extent.y);
        const QRect ink = inkBox(dc);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(cell.contains(ink))
            << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        // "H" stands on the baseline.
        EXPECT_EQ(ink.bottom(), baseline - 1);
    }
}

TEST_F(TextTest, RecordingNamesEveryAlignment) {
    struct Case {
        unsigned align;
        const char* word;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, "left,top"},
        {TA_CENTER | TA_TOP, "center,top"},
        {TA_RIGHT | TA_TOP, "right,top"},
        {TA_LEFT | TA_BOTTOM, "left,bottom"},
        {TA_CENTER | TA_BOTTOM, "center,bottom"},
        {TA_RIGHT | TA_BOTTOM, "right,bottom"},
        {TA_LEFT | TA_BASELINE, "left,baseline"},
        {TA_CENTER | TA_BASELINE, "center,baseline"},
        {TA_RIGHT | TA_BASELINE, "right,baseline"},
    };
    for (const Case& c : cases) {
        RecordingDc dc(100, 100);
        dc.setTextAlign(c.align);
        dc.setBkMode(BkMode::Transparent);
        dc.textOut(3, 4, "T");
        EXPECT_EQ(dc.log(),
                  std::string("TextOut font=\"MS Sans Serif\"/16/700 #000000 (3,4) align=") +
                      c.word + " text=\"T\"\n");
    }
}

TEST_F(TextTest, RecordingWritesOneLinePerCall) {
    RecordingDc dc(200, 100);
    dc.selectFont(Font::create(LogFont{"MS Sans Serif", -10, 500, false, true}));
    dc.setTextColour(rgb(255, 0, 0));
    dc.setTextAlign(TA_CENTER | TA_BOTTOM);
    dc.setMapping(Mapping::yUp(100, 50));
    dc.textOut(10, 5, "T \"x\"\xB0");
    dc.setBkMode(BkMode::Transparent);
    dc.setTextAlign(TA_RIGHT | TA_BASELINE);
    const TextRect r{0, 0, 20, -10};
    dc.extTextOut(0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, "ab");
    EXPECT_EQ(dc.log(),
              "TextOut font=\"MS Sans Serif\"/-10/500/underline #ff0000 (110,45) "
              "align=center,bottom bk=#ffffff text=\"T \\x22x\\x22\\xB0\"\n"
              "TextOut font=\"MS Sans Serif\"/-10/500/underline #ff0000 (100,50) "
              "align=right,baseline opaque=[100,50,120,60] clip=[100,50,120,60] text=\"ab\"\n");
}

TEST_F(TextTest, OpaqueBoxesAndClippingOnPixels) {
    const auto font = Font::create(kArial12);
    QImage img = test::whitePicture(100, 40);
    RasterDc dc(&img);
    dc.selectFont(font);
    dc.setBkColour(rgb(0, 0, 255));
    dc.setTextColour(rgb(255, 0, 0));
    dc.setRop2(Rop2::Xor); // not used by text
    dc.setBkMode(BkMode::Transparent);

    // ETO_OPAQUE fills its rectangle whatever the background mode; ETO_CLIPPED
    // keeps the ink inside it. No other colour than the three appears: no
    // antialiasing, no raster operation.
    const TextRect r{10, 5, 30, 25};
    dc.extTextOut(12, 6, ETO_OPAQUE | ETO_CLIPPED, &r, "WWWWWW");
    const QImage& pic = dc.picture();
    bool redInside = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const QRgb q = pic.pixel(x, y) & 0xFFFFFFu;
            const bool inside = x >= 10 && x < 30 && y >= 5 && y < 25;
            if (!inside)
                ASSERT_EQ(q, 0xFFFFFFu) << x << "," << y;
            else
                ASSERT_TRUE(q == 0xFF0000u || q == 0x0000FFu) << x << "," << y;
            redInside |= inside && q == 0xFF0000u;
        }
    EXPECT_TRUE(redInside);

    // Opaque background mode fills the cell box behind the text, nothing more.
    QImage img2 = test::whitePicture(100, 40);
    RasterDc dc2(&img2);
    dc2.selectFont(font);
    dc2.setBkColour(rgb(0, 0, 255));
    dc2.textOut(5, 5, "ab");
    const XY e = font->extent("ab");
    EXPECT_EQ(inkBox(dc2), QRect(5, 5, e.x, e.y));
    EXPECT_EQ(coloursOf(dc2), (std::set<QRgb>{0xFFFFFFFFu, 0xFF0000FFu, 0xFF000000u}));
    test::savePicture(dc2.picture(), "text-opaque");
}

TEST_F(TextTest, TextStaysUprightUnderTheYUpMapping) {
    const auto font = Font::create(kArial12);
    QImage a = test::whitePicture(80, 60), b = test::whitePicture(80, 60);
    RasterDc down(&a), up(&b);
    for (RasterDc* dc : {&down, &up}) {
        dc->selectFont(font);
        dc->setTextAlign(TA_LEFT | TA_BOTTOM);
    }
    down.textOut(20, 40, "Lg");
    up.setMapping(Mapping::yUp(40, 30)); // logical (-20, -10) is device (20, 40)
    up.textOut(-20, -10, "Lg");
    EXPECT_FALSE(inkBox(down).isEmpty());
    EXPECT_EQ(down.picture(), up.picture());
}

TEST_F(TextTest, GadgetSampleExtentsAndTheDegreeByte) {
    // The status bar's 10-point font and its three sample texts.
    const auto font = Font::create(LogFont{"MS Sans Serif", -13, 400});
    const XY scale = font->extent("1: 000 000 000");
    const XY coord = font->extent("000\xB0"
                                  "00.000 W");
    const XY info = font->extent("SOG: 23.4 kt \xB0");
    for (const XY e : {scale, coord, info}) {
        EXPECT_GT(e.x, 40);
        EXPECT_EQ(e.y, font->cellHeight());
        EXPECT_GE(e.y, 13);
    }
    // Each character adds its advance: the extent is the sum of the parts.
    EXPECT_EQ(font->extent("000").x + font->extent("\xB0").x, font->extent("000\xB0").x);

    // Byte 0xB0 is the degree sign, not a missing glyph.
    const Font::Layout degree = font->layout("\xB0");
    ASSERT_EQ(degree.glyphs.size(), 1);
    EXPECT_EQ(degree.glyphs, font->raw()->glyphIndexesForString(QStringLiteral(u"\u00B0")));
    EXPECT_NE(degree.glyphs[0], 0u);
    EXPECT_FALSE(font->glyphPath(degree.glyphs[0]).isEmpty());
}

TEST_F(TextTest, RestoreDefaultsForgetsEveryState) {
    RecordingDc dc(10, 10);
    dc.selectFont(Font::create(kArial12));
    dc.setTextAlign(TA_RIGHT);
    dc.setPen(Pen{PenStyle::Dot, 3, rgb(1, 2, 3)});
    dc.setBrush(Brush::null());
    dc.setRop2(Rop2::Xor);
    dc.setBkMode(BkMode::Transparent);
    dc.setTextColour(kWhite);
    dc.setMapping(Mapping::yUp(5, 5));
    const Region clip = Region::rectangle(0, 0, 2, 2);
    dc.setClipRegion(&clip);
    dc.moveTo(3, 4);
    dc.restoreDefaults();
    EXPECT_EQ(dc.font(), nullptr);
    EXPECT_EQ(dc.textAlign(), TA_LEFT | TA_TOP);
    EXPECT_EQ(dc.pen(), Pen{});
    EXPECT_EQ(dc.brush(), Brush{});
    EXPECT_EQ(dc.rop2(), Rop2::Copy);
    EXPECT_EQ(dc.bkMode(), BkMode::Opaque);
    EXPECT_EQ(dc.textColour(), kBlack);
    EXPECT_EQ(dc.mapping(), Mapping{});
    EXPECT_FALSE(dc.clipRegion().has_value());
    EXPECT_EQ(dc.currentPosition(), (XY{0, 0}));
}

} // namespace
} // namespace gdi
