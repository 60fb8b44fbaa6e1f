#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/GraphicsPrimitives.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

using gdi::XY;

// Palette entry i is rgb(i, 100, 200): a pixel tells which index drew it.
std::shared_ptr<gdi::Palette> testPalette() {
    std::vector<gdi::PaletteEntry> e(256);
    for (int i = 0; i < 256; ++i)
        e[i] = {std::uint8_t(i), 100, 200, 0};
    return std::make_shared<gdi::Palette>(e);
}

constexpr QRgb kBackground = 0xFFFFFFFFu;
QRgb indexColour(int paletteIndex) {
    return qRgb(paletteIndex, 100, 200);
}

void savePicture(const QImage& img, const std::string& name) {
    QDir().mkpath(PRESENT_TEST_PICTURES);
    img.save(QString::fromStdString(std::string(PRESENT_TEST_PICTURES) + "/" + name + ".png"),
             "PNG");
}

// A 64 x 64 white picture drawn in the chart pass's mapping: origin at the
// centre, y up. Puts the layer's state back after each test.
class GraphicsPrimitives : public ::testing::Test {
  protected:
    void SetUp() override {
        img_ = QImage(64, 64, QImage::Format_RGB32);
        img_.fill(kBackground);
        dc_ = std::make_unique<gdi::RasterDc>(&img_);
        dc_->selectPalette(testPalette());
        dc_->setMapping(gdi::Mapping::yUp(32, 32));
        gdSetCurrentDc(dc_.get());
    }
    void TearDown() override {
        GD_SetLineWidth(1);
        GD_SetAreaPattern(0);
        GD_SetXorFill(false);
        gdSetCurrentDc(nullptr);
    }
    // The pixel at logical (x, y).
    QRgb at(int x, int y) {
        const XY d = dc_->mapping().toDevice({x, y});
        return dc_->picture().pixel(d.x, d.y);
    }
    // Whether the shape about the centre covers the point at bearing b, distance d.
    bool covers(double b, double d, QRgb c) {
        const double rad = b * std::numbers::pi / 180.0;
        return at(int(std::lround(d * std::sin(rad))), int(std::lround(d * std::cos(rad)))) == c;
    }
    QImage img_;
    std::unique_ptr<gdi::RasterDc> dc_;
};

TEST_F(GraphicsPrimitives, DashRhythmRunsAcrossJointsOnePixelWide) {
    struct Case {
        unsigned short pattern;
        std::vector<Point> pts;
        const char* row; // logical y = 0, x from 0 to 16
    } cases[] = {
        {0x3333, {{0, 0}, {3, 0}, {6, 0}, {9, 0}, {12, 0}}, "##..##..##......."},
        {0xFFFF, {{0, 0}, {5, 0}, {10, 0}}, "##########......."},
        {0x0001, {{0, 0}, {15, 0}}, "#................"},
        {0x8001, {{0, 0}, {3, 0}, {3, 0}, {17, 0}}, "#..............##"}, // empty segment
    };
    for (const auto& c : cases) {
        img_.fill(kBackground);
        GD_SetLineWidth(3);
        GD_DashPolyline(7, c.pattern, int(c.pts.size()), const_cast<Point*>(c.pts.data()));
        std::string row;
        for (int x = 0; x < 17; ++x)
            row += at(x, 0) == indexColour(7) ? '#' : '.';
        EXPECT_EQ(row, c.row) << std::hex << c.pattern;
        for (int x = 0; x < 17; ++x) {
            EXPECT_EQ(at(x, 1), kBackground);
            EXPECT_EQ(at(x, -1), kBackground);
        }
    }
    // Far-off ends: only the pixels on the picture are stepped, in the same rhythm.
    img_.fill(kBackground);
    std::vector<Point> far = {{-1000000000, 0}, {1000000000, 0}, {1000000000, -2000000000}};
    GD_DashPolyline(7, 0x3333, 3, far.data());
    for (int x = -32; x < 32; ++x)
        EXPECT_EQ(at(x, 0) == indexColour(7), ((x % 4) + 4) % 4 < 2) << x;
    // The rectangle runs left-top, left-bottom, right-bottom, right-top.
    img_.fill(kBackground);
    GD_DashRectangle(3, 0x0003, 0, 0, 8, -8);
    EXPECT_EQ(at(0, 0), indexColour(3));
    EXPECT_EQ(at(0, -1), indexColour(3));
    EXPECT_EQ(at(0, -2), kBackground);
    savePicture(dc_->picture(), "dash_rectangle");
}

TEST_F(GraphicsPrimitives, PatternFillPaintsOneBitsAndLeavesZeroBitsAlone) {
    // A striped picture, so that untouched pixels are told apart from repainted ones.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            img_.setPixel(x, y, qRgb(4 * x, 255 - 4 * y, 90));
    const QImage before = dc_->picture().copy();
    const std::uint8_t rows8[] = {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00};
    const std::uint8_t rows11[] = {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11};
    std::vector<Point> square = {{-30, 30}, {30, 30}, {30, -30}, {-30, -30}};
    GD_SetAreaPattern(8);
    GD_Polygon(5, 4, square.data());
    savePicture(dc_->picture(), "pattern_8");
    for (int y = 4; y < 60; ++y)
        for (int x = 4; x < 60; ++x) {
            const bool one = rows8[y % 8] & (0x80 >> (x % 8));
            ASSERT_EQ(img_.pixel(x, y), one ? indexColour(5) : before.pixel(x, y)) << x << "," << y;
        }
    // The pattern stays for the next polygon; pattern 11 paints black whatever the colour.
    img_ = before.copy();
    dc_->setTarget(&img_);
    GD_SetAreaPattern(11);
    GD_Polygon(9, 4, square.data());
    for (int y = 4; y < 60; ++y)
        for (int x = 4; x < 60; ++x) {
            const bool one = rows11[y % 8] & (0x80 >> (x % 8));
            ASSERT_EQ(img_.pixel(x, y), one ? qRgb(0, 0, 0) : before.pixel(x, y)) << x << "," << y;
        }
    GD_Polygon(9, 4, square.data());
    EXPECT_EQ(img_.pixel(3 + 8, 8), qRgb(0, 0, 0));
    EXPECT_EQ(dc_->rop2(), gdi::Rop2::Copy); // put back
    // Pattern 0: solid.
    GD_SetAreaPattern(0);
    GD_Polygon(9, 4, square.data());
    EXPECT_EQ(img_.pixel(8, 8), indexColour(9));
    EXPECT_EQ(img_.pixel(9, 9), indexColour(9));
}

TEST_F(GraphicsPrimitives, PolygonHolesUnderAlternateFill) {
    std::vector<Point> ring = {{-20, -20}, {20, -20}, {20, 20}, {-20, 20}, {-20, -20},
                               {-8, -8},   {8, -8},   {8, 8},   {-8, 8},   {-8, -8}};
    GD_Polygon(2, int(ring.size()), ring.data());
    EXPECT_EQ(at(-15, 0), indexColour(2));
    EXPECT_EQ(at(0, 0), kBackground);
    EXPECT_EQ(at(25, 0), kBackground);
}

TEST_F(GraphicsPrimitives, ExclusiveOrFillTwiceRestoresThePicture) {
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            img_.setPixel(x, y, qRgb(3 * x, 50 + y, 4 * y));
    const QImage before = dc_->picture().copy();
    GD_SetXorFill(true);
    GD_SetLineWidth(2);
    for (short pattern : {12, 13, 8}) {
        GD_SetAreaPattern(pattern);
        for (int pass = 0; pass < 2; ++pass) {
            GD_Pie(24, 25, 0, 0, 200, 30);
            GD_FillCircle(6, 5, -3, 14);
            if (pass == 0) {
                EXPECT_NE(dc_->picture(), before) << pattern;
            }
        }
        EXPECT_EQ(dc_->picture(), before) << pattern;
    }
}

TEST_F(GraphicsPrimitives, PiesAndArcsCoverBearingsClockwiseFromTheSecondAngleToTheFirst) {
    GD_SetAreaPattern(10); // mostly 1 bits: sampled pixels are painted
    struct Case {
        double a1, a2;
        const char* covered; // bearings 0, 90, 180, 270
    } cases[] = {
        {45, 315, "1000"}, // the light's sector from 315 clockwise to 45
        {315, 45, "0111"},   {135, 45, "0100"},
        {0, 180, "0001"},    {10, 10, "1111"}, // equal angles: the whole circle
        {10, 10.001, "0000"}                   // equal points, different angles: nothing
    };
    for (const auto& c : cases) {
        img_.fill(kBackground);
        GD_Pie(4, c.a1 == 10 ? 6 : 28, 0, 0, c.a1, c.a2);
        std::string got;
        for (double b : {0.0, 90.0, 180.0, 270.0}) {
            const double d = c.a1 == 10 ? 3 : 16;
            const int x = int(std::lround(d * std::sin(b * std::numbers::pi / 180)));
            const int y = int(std::lround(d * std::cos(b * std::numbers::pi / 180)));
            // Two rows, so that one of them is a full row of pattern 10.
            got += at(x, y) == kBackground && at(x, y + 1) == kBackground ? '0' : '1';
        }
        EXPECT_EQ(got, c.covered) << c.a1 << " " << c.a2;
    }
    img_.fill(kBackground);
    GD_Pie(4, 28, 0, 0, 45, 315);
    savePicture(dc_->picture(), "pie_45_315");
    // Without a pattern only the outline: the inside stays.
    GD_SetAreaPattern(0);
    img_.fill(kBackground);
    GD_Pie(4, 28, 0, 0, 45, 315);
    EXPECT_EQ(at(0, 16), kBackground);
    bool centre = false; // the radii meet at the centre
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x)
            centre |= at(x, y) == indexColour(4);
    EXPECT_TRUE(centre);

    // Arcs: outline at radius 28, sampled at 0 and 180.
    struct ArcCase {
        double a1, a2;
        bool north, south;
    } arcs[] = {{45, 315, true, false},
                {315, 45, false, true},
                {0, 360, true, true},
                {90, 90, true, true},
                {7, 7.0001, false, false}};
    for (const auto& c : arcs) {
        img_.fill(kBackground);
        GD_Arc(4, 28, 0, 0, c.a1, c.a2);
        bool north = false, south = false;
        for (int dy = -2; dy <= 2; ++dy) {
            north |= at(0, 28 + dy) == indexColour(4);
            south |= at(0, -28 + dy) == indexColour(4);
        }
        EXPECT_EQ(north, c.north) << c.a1 << " " << c.a2;
        EXPECT_EQ(south, c.south) << c.a1 << " " << c.a2;
        EXPECT_FALSE(covers(0, 10, indexColour(4)));
    }
}

TEST_F(GraphicsPrimitives, OutlinesAndSolidShapes) {
    GD_SetLineWidth(3);
    GD_Line(1, -20, 10, 20, 10);
    int thick = 0;
    for (int y = 5; y <= 15; ++y)
        thick += at(0, y) == indexColour(1);
    EXPECT_EQ(thick, 3);
    GD_SetLineWidth(1);
    GD_Circle(2, 0, 0, 10);
    EXPECT_EQ(at(0, 0), kBackground);
    EXPECT_TRUE(at(-10, 0) == indexColour(2) || at(-9, 0) == indexColour(2));
    GD_FillCircle(3, 0, 0, 5);
    EXPECT_EQ(at(0, 0), indexColour(3));
    GD_FillEllipse(4, -20, -20, 6, 3);
    EXPECT_EQ(at(-20, -20), indexColour(4));
    EXPECT_EQ(at(-20, -25), kBackground);
    GD_FillRectangle(5, 20, -10, 30, -20);
    EXPECT_EQ(at(25, -15), indexColour(5));
    GD_Rectangle(6, 20, 20, 30, 30);
    EXPECT_EQ(at(25, 25), kBackground);
    dc_->setBkMode(gdi::BkMode::Opaque);
    GD_Ellipse(7, true, 0, 0, 25, 15);
    EXPECT_EQ(dc_->bkMode(), gdi::BkMode::Opaque); // put back after drawing transparently
    {
        // The gaps of the dotted outline show the picture, not the background colour.
        QImage red(64, 64, QImage::Format_RGB32);
        red.fill(qRgb(255, 0, 0));
        gdi::RasterDc other(&red);
        other.selectPalette(testPalette());
        other.setMapping(gdi::Mapping::yUp(32, 32));
        gdSetCurrentDc(&other);
        GD_Ellipse(7, true, 0, 0, 25, 15);
        gdSetCurrentDc(dc_.get());
        int dots = 0, gaps = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb p = other.picture().pixel(x, y);
                ASSERT_TRUE(p == qRgb(255, 0, 0) || p == indexColour(7)) << x << "," << y;
                dots += p == indexColour(7);
            }
        gaps = 64 * 64 - dots;
        EXPECT_GT(dots, 20);
        EXPECT_GT(gaps, 0);
    }
    const std::vector<Point> zig = {{-30, -30}, {-25, -20}, {-20, -30}};
    GD_Polyline(8, 3, const_cast<Point*>(zig.data()));
    EXPECT_EQ(at(-30, -30), indexColour(8));
    savePicture(dc_->picture(), "outlines_and_solids");
    // Colour numbers outside 0 to 31 draw as colour 0; 23 to 25 are mapped.
    GD_FillRectangle(40, -32, 32, -28, 28);
    EXPECT_EQ(at(-30, 30), indexColour(0));
    GD_FillRectangle(24, -32, 32, -28, 28);
    EXPECT_EQ(at(-30, 30), indexColour(86));
    GD_FillRectangle(-1, -32, 32, -28, 28);
    EXPECT_EQ(at(-30, 30), indexColour(0));
}

TEST_F(GraphicsPrimitives, ExtremeArgumentsNeitherCrashNorOverflow) {
    constexpr int lo = INT32_MIN, hi = INT32_MAX;
    std::vector<Point> pts = {{lo, lo}, {hi, lo}, {hi, hi}, {0, 0}};
    const double nan = std::nan("");
    for (int pattern : {0, 13}) {
        GD_SetAreaPattern(short(pattern));
        GD_SetXorFill(pattern != 0);
        GD_SetLineWidth(255);
        GD_Line(lo, lo, lo, hi, hi);
        GD_Polyline(hi, 4, pts.data());
        GD_DashPolyline(3, 0xAAAA, 4, pts.data());
        GD_Polygon(3, 4, pts.data());
        GD_Rectangle(3, lo, hi, hi, lo);
        GD_DashRectangle(3, 0x0F0F, lo, lo, hi, hi);
        GD_FillRectangle(3, lo, lo, hi, hi);
        GD_Circle(3, lo, hi, hi);
        GD_FillCircle(3, hi, lo, hi);
        GD_Ellipse(3, true, lo, lo, hi, hi);
        GD_FillEllipse(3, hi, hi, lo, lo);
        for (double a : {0.0, 1e300, -1e300, nan, HUGE_VAL}) {
            GD_Arc(3, hi, lo, hi, a, 90);
            GD_Pie(3, lo, hi, lo, 90, a);
        }
    }
}

TEST(GraphicsLayer, DrawsNothingWithoutAContextAndForgetsADestroyedOne) {
    std::vector<Point> tri = {{0, 0}, {5, 0}, {0, 5}};
    GD_Line(1, 0, 0, 5, 5);
    GD_Polygon(1, 3, tri.data());
    GD_DashPolyline(1, 0xFFFF, 3, tri.data());
    GD_Pie(1, 5, 0, 0, 0, 90);
    {
        gdi::RecordingDc dc(10, 10);
        gdSetCurrentDc(&dc);
        EXPECT_EQ(gdCurrentDc(), &dc);
        GD_Polygon(1, -3, tri.data());
        GD_Polyline(1, 1, tri.data());
        GD_Polygon(1, 3, nullptr);
        EXPECT_EQ(dc.log(), "");
    }
    EXPECT_EQ(gdCurrentDc(), nullptr);
    GD_Line(1, 0, 0, 5, 5);
}

TEST(GraphicsLayer, RecordingShowsWhatWasDrawn) {
    gdi::RecordingDc dc(100, 100);
    dc.setMapping(gdi::Mapping::yUp(50, 50));
    gdSetCurrentDc(&dc);
    std::vector<Point> tri = {{0, 0}, {10, 0}, {0, 10}};
    GD_SetLineWidth(2);
    GD_Line(40, 0, 0, 10, 10);
    GD_SetAreaPattern(8);
    GD_Polygon(24, 3, tri.data());
    GD_SetXorFill(true);
    GD_Pie(3, 10, 0, 0, 45, 315);
    GD_Polygon(3, 3, tri.data()); // polygons ignore the exclusive-or switch
    GD_SetXorFill(false);
    GD_SetAreaPattern(11);
    GD_FillCircle(3, 0, 0, 4);
    GD_SetAreaPattern(0);
    GD_Pie(3, 10, 0, 0, 45, 315);
    GD_SetLineWidth(1);
    GD_DashPolyline(2, 0x0005, 2, tri.data());
    GD_Ellipse(1, true, 0, 0, 4, 2);
    gdSetCurrentDc(nullptr);
    EXPECT_EQ(
        dc.log(),
        "Polyline pen=solid/2/p0 rop=copy (50,50) (60,40)\n"
        "Polygon pen=null brush=pattern/8800220088002200 text=#ffffff bk=#000000 rop=mask "
        "fill=alt (50,50) (60,50) (50,40)\n"
        "Polygon pen=null brush=pattern/8800220088002200 text=#000000 bk=p86 rop=merge "
        "fill=alt (50,50) (60,50) (50,40)\n"
        "Pie pen=solid/2/p3 brush=pattern/8800220088002200 text=#000000 bk=p3 rop=xor "
        "[40,40,60,60] (57,43) (43,43)\n"
        "Polygon pen=null brush=pattern/8800220088002200 text=#ffffff bk=#000000 rop=mask "
        "fill=alt (50,50) (60,50) (50,40)\n"
        "Polygon pen=null brush=pattern/8800220088002200 text=#000000 bk=p3 rop=merge "
        "fill=alt (50,50) (60,50) (50,40)\n"
        "Ellipse pen=solid/2/p3 brush=pattern/1111111111111111 text=#ffffff bk=#000000 rop=mask "
        "[46,46,54,54]\n"
        "Pie pen=solid/2/p3 brush=null rop=copy [40,40,60,60] (57,43) (43,43)\n"
        "Pixels p2 (50,50) (52,50)\n"
        "Ellipse pen=dot/1/p1 brush=null rop=copy [46,48,54,52]\n");
}

} // namespace
