#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/FixedSin.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/GraphicsText.h"
#include "graphics/VectorFont.h"
#include "procedureKit.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace {

using gdi::XY;

// Text needs a Qt GUI application: the procedure kit makes one for the binary.

// Palette entry i is rgb(i, 100, 200): a pixel tells which index drew it.
std::shared_ptr<gdi::Palette> testPalette() {
    std::vector<gdi::PaletteEntry> e(256);
    for (int i = 0; i < 256; ++i)
        e[std::size_t(i)] = {std::uint8_t(i), 100, 200, 0};
    return std::make_shared<gdi::Palette>(e);
}

constexpr QRgb kWhite = 0xFFFFFFFFu;

void savePicture(const QImage& img, const std::string& name) {
    QDir().mkpath(PRESENT_TEST_PICTURES);
    img.save(QString::fromStdString(std::string(PRESENT_TEST_PICTURES) + "/" + name + ".png"),
             "PNG");
}

struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // device pixels, inclusive
    double cx = 0, cy = 0;                                      // centroid
    std::map<QRgb, int> colours;
};

Ink inkOf(const QImage& img) {
    Ink ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (p == kWhite) continue;
            ++ink.count;
            ++ink.colours[p];
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ink.cx += x;
            ink.cy += y;
        }
    if (ink.count) {
        ink.cx /= ink.count;
        ink.cy /= ink.count;
    }
    return ink;
}

// A 128 x 128 white picture with the symbol fonts loaded; the chart pass's
// mapping (origin at the centre, y up) unless a test changes it.
class GraphicsText : public ::testing::Test {
  protected:
    void SetUp() override {
        GD_Done();
        GD_Init(nullptr, 0, 0);
        img_ = QImage(128, 128, QImage::Format_RGB32);
        img_.fill(kWhite);
        dc_ = std::make_unique<gdi::RasterDc>(&img_);
        dc_->selectPalette(testPalette());
        dc_->setMapping(gdi::Mapping::yUp(64, 64));
        gdSetCurrentDc(dc_.get());
    }
    void TearDown() override {
        gdSetCurrentDc(nullptr);
        GD_Done();
        GD_Init(nullptr, 0, 0);
    }
    Ink ink() { return inkOf(dc_->picture()); }
    void clear() {
        dc_->flush();
        img_.fill(kWhite);
    }

    QImage img_;
    std::unique_ptr<gdi::RasterDc> dc_;
};

std::string copyFonts(const std::string& name, const std::vector<std::string>& files) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("skjoldr-fonts-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const std::string& f : files) {
        const std::string from = f.substr(0, f.find('>'));
        const std::string to = f.find('>') == std::string::npos ? from : f.substr(f.find('>') + 1);
        fs::copy_file(fs::path(SYMBOL_FONT_DIR) / from, dir / to);
    }
    return dir.string() + "/";
}

TEST(FixedSin, TableInterpolationFoldsAndSign) {
    struct Case {
        double degrees;
        std::int32_t sine;
    } cases[] = {
        {0, 0},        {1, 1144},         {30, 32768},   {-30, -32768}, {90, 65536},
        {270, -65536}, {361, 1144},       {180, 0},      {135, 46341},  {45.5, 46742},
        {89.5, 65531}, {450, 65536},      {-90, -65536}, {210, -32768}, {-361, -1144},
        {359, -1144},  {720 + 30, 32768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixedSin(FixedDegrees(c.degrees)), c.sine) << c.degrees << " degrees";
    EXPECT_EQ(FixedSinTable[2], 2287);
    EXPECT_EQ(FixedSinTable[89], 65526);
}

TEST(FixedSin, RotationMatrixOfScaleAndAngle) {
    using M = std::array<std::int32_t, 4>;
    EXPECT_EQ(GD_RotationMatrix(0, 0), (M{65536, 0, 0, -65536}));
    EXPECT_EQ(GD_RotationMatrix(0, 30), (M{56756, -32768, -32768, -56756}));
    EXPECT_EQ(GD_RotationMatrix(1, 30), (M{113512, -65536, -65536, -113512}));
    EXPECT_EQ(GD_RotationMatrix(-1, 30), (M{28378, -16384, -16384, -28378}));
    EXPECT_EQ(GD_RotationMatrix(0, 90), (M{0, -65536, -65536, 0}));
}

// Records what a stroke glyph draws.
struct GlyphLog : VectorGlyphSink {
    std::vector<std::string> lines;
    static std::string pts(const std::vector<Point>& p) {
        std::string s;
        for (const Point& q : p)
            s += " (" + std::to_string(q.x) + "," + std::to_string(q.y) + ")";
        return s;
    }
    void polyline(const VectorPen& pen, const std::vector<Point>& p) override {
        lines.push_back("line c" + std::to_string(pen.colour) + pts(p));
    }
    void polygon(const VectorBrush& b, const VectorPen* pen, const std::vector<Point>& p) override {
        lines.push_back("poly b" + std::to_string(b.colour) + (pen ? " pen" : "") + pts(p));
    }
    void circle(const VectorPen&, Point, int) override { lines.push_back("circle"); }
    void filledCircle(const VectorBrush&, Point, int) override { lines.push_back("disc"); }
};

TEST(VectorFont, GlyphsRunTheirCommands) {
    struct Case {
        int ch;
        double angle;
        int scale, count;
        std::vector<std::string> lines;
    } cases[] = {
        {1, 0, 0, 1, {"line c14 (100,50) (110,50)", "line c14 (105,50) (105,45)"}},
        // Turned a quarter counterclockwise (y up): +x becomes +y.
        {1, 90, 0, 1, {"line c14 (100,50) (100,60)", "line c14 (100,55) (105,55)"}},
        {7, 0, 1, 1, {"line c14 (100,50) (116,50)", "line c14 (108,42) (108,58)"}},
        // Three copies one advance (13) apart along 90 degrees.
        {24,
         90,
         0,
         3,
         {"line c0 (100,50) (100,60)", "line c0 (100,55) (105,55)", "line c0 (100,63) (100,73)",
          "line c0 (100,68) (105,68)", "line c0 (100,76) (100,86)", "line c0 (100,81) (105,81)"}},
        // Count 0 counts as 1.
        {25, 0, 0, 0, {"line c0 (100,50) (106,50)", "line c0 (103,47) (103,53)"}},
        {17,
         0,
         0,
         1,
         {"poly b0 pen (100,50) (100,52) (108,52) (108,48) (100,48) (100,50)",
          "line c0 (116,48) (108,48) (108,52) (116,52)"}},
        {0, 0, 0, 1, {}},
        {26, 0, 0, 1, {}},
        {-1, 0, 0, 1, {}},
    };
    for (const Case& c : cases) {
        GlyphLog log;
        VG_DrawGlyphs(log, 100, 50, c.ch, c.angle, c.scale, c.count);
        EXPECT_EQ(log.lines, c.lines) << "glyph " << c.ch << " at " << c.angle;
    }
}

TEST(VectorFont, RecordsMatchTheirStrokes) {
    // Advance widths and heights as the text measures use them.
    ASSERT_NE(VG_Glyph(8), nullptr);
    EXPECT_EQ(VG_Glyph(8)->advance(), 16);
    EXPECT_EQ(VG_Glyph(21)->height(), 12);
    EXPECT_EQ(VG_Glyph(1)->commands(), 3);
    EXPECT_EQ(VG_Glyph(26), nullptr);
    // Every command list lies inside the stream.
    for (int ch = 0; ch < kVectorGlyphCount; ++ch)
        EXPECT_LE(std::size_t(VG_Glyph(ch)->offset()), VG_CommandStream().size()) << ch;
}

TEST(VectorFont, CommandListsTileTheStream) {
    // Each glyph's commands, read with their operands, end where the next glyph's
    // begin, and the last glyph's at the end of the stream: no word is lost or shared.
    const std::vector<std::int16_t>& s = VG_CommandStream();
    const auto word = [](char a, char b) { return std::int16_t(std::uint8_t(a) | b << 8); };
    std::size_t expectedStart = 0;
    for (int ch = 1; ch < kVectorGlyphCount; ++ch) {
        const VectorGlyphRecord& g = *VG_Glyph(ch);
        ASSERT_EQ(std::size_t(g.offset()), expectedStart) << "glyph " << ch;
        std::size_t at = expectedStart;
        for (int c = 0; c < g.commands(); ++c) {
            ASSERT_LT(at, s.size()) << "glyph " << ch;
            const std::int16_t op = s[at++];
            if (op == word('C', 'P') || op == word('C', 'B'))
                at += 3;
            else if (op == word('D', 'P') || op == word('F', 'P'))
                at += 1 + 2 * std::size_t(s.at(at));
            else if (op == word('M', 'T'))
                at += 2;
            else if (op == word('D', 'C') || op == word('F', 'C'))
                at += 1;
            else
                FAIL() << "glyph " << ch << " has an unknown command at " << at - 1;
        }
        expectedStart = at;
    }
    EXPECT_EQ(expectedStart, s.size());

    // The stroke data itself is fixed: its FNV-1a digest (little-endian words)
    // catches any changed, lost or added number.
    std::uint64_t h = 0xcbf29ce484222325u;
    for (const std::int16_t v : s)
        for (const std::uint8_t byte :
             {std::uint8_t(v & 0xFF), std::uint8_t(std::uint16_t(v) >> 8)})
            h = (h ^ byte) * 0x100000001b3u;
    EXPECT_EQ(s.size(), 526u);
    EXPECT_EQ(h, 0x90bf344e8d6cacecu);
}

TEST(FontSelection, NumbersChooseRowsFallbacksAndAlignment) {
    struct Case {
        int number, row, fallback, align;
        bool vector;
    } cases[] = {
        {-2, 0, 1, kTaBottom, false},   {-1, 1, 2, kTaBottom, false},
        {0, 2, 1, kTaBottom, false},    {1, 2, 1, kTaBottom, false},
        {2, 7, 2, kTaBottom, false},    {8, 8, -1, kTaBottom, false},
        {16, 16, -1, kTaBottom, false}, {33, 4, -1, 30, false},
        {34, 5, -1, 30, false},         {35, 3, -1, 30, false},
        {36, 6, -1, kTaBottom, true},   {3, -1, -1, kTaBottom, false},
        {5, -1, -1, kTaBottom, false},  {7, -1, -1, kTaBottom, false},
        {17, -1, -1, kTaBottom, false}, {32, -1, -1, kTaBottom, false},
        {37, -1, -1, kTaBottom, false}, {-3, -1, -1, kTaBottom, false},
    };
    for (const Case& c : cases) {
        const FontChoice f = GD_FontChoice(c.number);
        EXPECT_EQ(f.row, c.row) << c.number;
        EXPECT_EQ(f.fallback, c.fallback) << c.number;
        if (f.row >= 0) {
            EXPECT_EQ(f.align, c.align) << c.number;
        }
        EXPECT_EQ(f.vector, c.vector) << c.number;
    }
}

TEST_F(GraphicsText, SelectingSetsTheCurrentFontOrNone) {
    EXPECT_TRUE(gdFontsLoaded()); // found where the build put them
    GD_SelFont(35);
    EXPECT_EQ(gdCurrentFont(), 3);
    EXPECT_EQ(gdTextAlign(), kTaBaseline | kTaCenter);
    GD_SelFont(36); // the stroke font keeps the device context's font and alignment
    EXPECT_EQ(gdCurrentFont(), 6);
    EXPECT_EQ(gdDeviceFont(), 3);
    EXPECT_EQ(gdTextAlign(), kTaBaseline | kTaCenter);
    GD_SelFont(-2);
    EXPECT_EQ(gdCurrentFont(), 0);
    EXPECT_EQ(gdTextAlign(), kTaBottom);
    // Font 5 has no row: nothing is current and the text calls draw nothing.
    GD_SelFont(5);
    EXPECT_EQ(gdCurrentFont(), -1);
    GD_WriteXY(0, -40, 0, "Text");
    GD_CharXY(0, 0, 0, 'A');
    GD_VectCharXY(0, 0, 0, 'A', 30, 0, 1);
    char text[] = "Text";
    Point pts[] = {{-40, 0}, {40, 10}};
    GD_VectWriteXY(0, 2, pts, text, 0);
    GD_TextBox(-40, 0, "Some text", 20, 0);
    EXPECT_EQ(ink().count, 0);
    EXPECT_EQ(GD_TextWidth("Text"), 0);
    SIZE s{-7, -7};
    EXPECT_EQ(GD_TextExtent("Text", &s), 0);
    EXPECT_EQ(s.cx, -7);
    // After shut-down no row has a font, not even a fallback.
    GD_Done();
    GD_SelFont(-2);
    EXPECT_EQ(gdCurrentFont(), -1);
}

TEST_F(GraphicsText, MissingSymbolFontFileLeavesItsRowEmpty) {
    GD_Done();
    GD_Init(copyFonts("missing", {"INT1BOUY.TTF", "INT1VECT.TTF"}).c_str(), 0, 0);
    EXPECT_FALSE(gdFontsLoaded());
    EXPECT_FALSE(gdRowPresent(3));
    GD_SelFont(35);
    EXPECT_EQ(gdCurrentFont(), -1);
    GD_CharXY(0, 0, 0, 8);
    EXPECT_EQ(ink().count, 0);
    // The other fonts still work.
    GD_SelFont(33);
    GD_CharXY(0, 0, 0, 8);
    EXPECT_GT(ink().count, 20);
    clear();
    GD_SelFont(-1);
    GD_WriteXY(0, -40, 0, "Text");
    EXPECT_GT(ink().count, 20);

    // A given directory is the only place looked in: no fonts at all there.
    GD_Done();
    GD_Init(copyFonts("none", {}).c_str(), 0, 0);
    EXPECT_FALSE(gdFontsLoaded());
    for (int row : {3, 4, 5})
        EXPECT_FALSE(gdRowPresent(row)) << row;
    EXPECT_TRUE(gdRowPresent(0));

    // The system's bitmap-font name comes first, then the TrueType one.
    GD_Done();
    GD_Init(copyFonts("fon", {"SYMBINT1.TTF>SYMBINT1.FON", "INT1BOUY.TTF", "INT1VECT.TTF"}).c_str(),
            0, 0);
    EXPECT_TRUE(gdFontsLoaded());
    EXPECT_TRUE(gdRowFile(3).ends_with("/SYMBINT1.FON"));
    EXPECT_TRUE(gdRowFile(4).ends_with("/INT1BOUY.TTF"));
}

TEST_F(GraphicsText, ColourNumbersGoThroughTheColourMap) {
    struct Case {
        int colour, paletteIndex;
    } cases[] = {{24, 86}, {23, 54}, {25, 118}, {5, 5}, {40, 0}, {-1, 0}, {31, 31}};
    GD_SelFont(35);
    for (const Case& c : cases) {
        clear();
        GD_CharXY(c.colour, 0, 0, 8); // a filled square
        const Ink k = ink();
        ASSERT_GT(k.count, 20) << c.colour;
        EXPECT_EQ(k.colours.size(), 1u) << c.colour;
        EXPECT_EQ(k.colours.begin()->first, qRgb(c.paletteIndex, 100, 200)) << c.colour;
    }
}

TEST_F(GraphicsText, TextAndSymbolsArePlacedByTheirAlignment) {
    // Text fonts: by the bottom-left corner of the cell, upright on screen in
    // the y-up chart mapping. "Hg": the descender reaches down near the cell's bottom.
    GD_SelFont(-2);
    GD_WriteXY(0, -30, -10, "Hg");
    Ink k = ink();
    const XY corner = dc_->mapping().toDevice({-30, -10});
    EXPECT_GE(k.left, corner.x);
    EXPECT_LE(k.left, corner.x + 2);
    EXPECT_LT(k.bottom, corner.y);
    EXPECT_GE(k.bottom, corner.y - 3);
    EXPECT_LT(k.top, corner.y - 8); // the text stands above the point
    savePicture(dc_->picture(), "text-bottom-left");

    // Symbol fonts: by the centre of the baseline. A filled square centred on it:
    clear();
    GD_SelFont(35);
    GD_CharXY(0, 10, 20, 8);
    k = ink();
    const XY ref = dc_->mapping().toDevice({10, 20});
    EXPECT_NEAR(k.cx, ref.x, 1.0);
    EXPECT_NEAR(k.cy, ref.y, 1.0);
    // A buoy stands on the baseline, its position circle at the point.
    clear();
    GD_SelFont(33);
    GD_CharXY(0, 10, 20, 18); // can buoy outline
    k = ink();
    EXPECT_LT(k.top, ref.y - 9);
    EXPECT_LE(k.bottom, ref.y + 2);
    EXPECT_NEAR((k.left + k.right) / 2.0, ref.x, 4.0);
    // Code 0 is a glyph like any other.
    clear();
    GD_CharXY(0, 10, 20, 0);
    EXPECT_GT(ink().count, 20);
}

TEST_F(GraphicsText, OutlineGlyphsTurnCounterclockwiseOnTheChart) {
    // The flare of the outline symbol font points north unturned.
    GD_SelFont(34);
    for (double angle : {0.0, 90.0, 180.0, 270.0, 315.0, -45.0}) {
        clear();
        GD_VectCharXY(0, 0, 0, 4, angle, 0, 1);
        const Ink k = ink();
        ASSERT_GT(k.count, 10) << angle;
        const double a = angle * std::numbers::pi / 180;
        // North turned counterclockwise by a, in device pixels (y down).
        const double ex = -std::sin(a), ey = -std::cos(a);
        const double dx = k.cx - 64, dy = k.cy - 64, len = std::hypot(dx, dy);
        EXPECT_GT((dx * ex + dy * ey) / len, 0.95) << angle;
    }
    // Scale 1 doubles it: its far end lies twice as far from the origin.
    clear();
    GD_VectCharXY(0, 0, 0, 4, 0, 0, 1);
    const int reach = 64 - ink().top;
    EXPECT_NEAR(reach, 14, 1);
    clear();
    GD_VectCharXY(0, 0, 0, 4, 0, 1, 1);
    EXPECT_NEAR(64 - ink().top, 2 * reach, 2);
}

TEST_F(GraphicsText, StrokeGlyphDrawnAlongAnAngle) {
    gdi::RecordingDc rec(128, 128);
    rec.setMapping(gdi::Mapping::yUp(64, 64));
    gdSetCurrentDc(&rec);
    GD_SelFont(36);
    GD_VectCharXY(3, 0, 0, 25, 90, 0, 3);
    // Glyph 25 (a cross, advance 7) three times, 7 units apart upwards.
    EXPECT_EQ(rec.log(), "Polyline pen=solid/1/p0 rop=copy (64,64) (64,58)\n"
                         "Polyline pen=solid/1/p0 rop=copy (67,61) (61,61)\n"
                         "Polyline pen=solid/1/p0 rop=copy (64,57) (64,51)\n"
                         "Polyline pen=solid/1/p0 rop=copy (67,54) (61,54)\n"
                         "Polyline pen=solid/1/p0 rop=copy (64,50) (64,44)\n"
                         "Polyline pen=solid/1/p0 rop=copy (67,47) (61,47)\n");
    // GD_SymbolXY draws the stroke glyph once, unturned.
    rec.clearLog();
    GD_SymbolXY(3, 0, 0, 25);
    EXPECT_EQ(rec.log(), "Polyline pen=solid/1/p0 rop=copy (64,64) (70,64)\n"
                         "Polyline pen=solid/1/p0 rop=copy (67,67) (67,61)\n");
    // Stroke text at half size: glyph 1 (advance 13) steps 6.5 units, and the
    // second glyph's origin rounds half to even, to 6.
    rec.clearLog();
    GD_RotatedText(3, 0, 0, "\x01\x01", 0, -1);
    EXPECT_EQ(rec.log(), "Polyline pen=solid/1/p14 rop=copy (64,64) (69,64)\n"
                         "Polyline pen=solid/1/p14 rop=copy (66,64) (66,66)\n"
                         "Polyline pen=solid/1/p14 rop=copy (70,64) (75,64)\n"
                         "Polyline pen=solid/1/p14 rop=copy (72,64) (72,66)\n");
    gdSetCurrentDc(dc_.get());
}

TEST_F(GraphicsText, TextAlongALine) {
    gdi::RecordingDc rec(128, 128);
    rec.setMapping(gdi::Mapping::yUp(64, 64));
    gdSetCurrentDc(&rec);
    GD_SelFont(-1);
    const int third = GD_TextHeight("ab") / 3;
    std::string long64(64, 'x'), long65(65, 'x');
    struct Case {
        std::vector<Point> pts;
        std::string text;
        std::string line; // "" when nothing is drawn
    } cases[] = {
        {{{0, 0}, {20, 0}},
         "ab",
         "Text row=1 p0 (64," + std::to_string(64 + third) +
             ") align=-1 angle=0 scale=0 codes=97,98\n"},
        {{{5, 5}, {5, 5}}, "ab", "Text row=1 p0 (69,59) align=-1 angle=0 scale=0 codes=97,98\n"},
        {{{5, 5}}, "ab", "Text row=1 p0 (69,59) align=-1 angle=0 scale=0 codes=97,98\n"},
        {{{0, 0}, {0, 20}},
         "a",
         "Text row=1 p0 (" + std::to_string(64 + third) +
             ",64) align=-1 angle=90 scale=0 codes=97\n"},
        {{{0, 0}, {-20, 0}},
         "a",
         "Text row=1 p0 (64," + std::to_string(64 - third) +
             ") align=-1 angle=180 scale=0 codes=97\n"},
        {{{0, 0}, {20, 0}}, long65, ""},
        {{{0, 0}, {20, 0}}, "", ""},
        {{}, "ab", ""},
    };
    for (Case& c : cases) {
        rec.clearLog();
        GD_VectWriteXY(0, unsigned(c.pts.size()), c.pts.data(), c.text.data(), 0);
        EXPECT_EQ(rec.log(), c.line) << c.text << " " << c.pts.size();
    }
    rec.clearLog();
    Point line[] = {{0, 0}, {20, 0}};
    GD_VectWriteXY(0, 2, line, long64.data(), 0);
    EXPECT_NE(rec.log(), "");
    gdSetCurrentDc(dc_.get());

    // On pixels, a text along a rising line rises with it.
    GD_SelFont(-1);
    char text[] = "MMMMMM";
    Point rising[] = {{-50, -50}, {50, 50}};
    GD_VectWriteXY(0, 2, rising, text, 0);
    const Ink k = ink();
    ASSERT_GT(k.count, 50);
    EXPECT_GT(k.right - k.left, 25);
    EXPECT_GT(k.bottom - k.top, 25);
    savePicture(dc_->picture(), "text-along-line");
}

TEST_F(GraphicsText, TextBoxWrapsAtItsWidth) {
    // In the chart mapping the box reaches down from the point.
    GD_SelFont(-2);
    const std::string words = "one two three four five six seven eight nine ten";
    GD_TextBox(-60, 50, words.c_str(), 20, 0);
    const int lineHeight = GD_TextHeight("x");
    Ink k = ink();
    ASSERT_GT(k.count, 50);
    EXPECT_GE(k.top, 64 - 50);               // below the point
    EXPECT_GT(k.bottom - k.top, lineHeight); // more than one line
    const int oneLine = GD_TextWidth(words.c_str());
    EXPECT_LT(k.right - k.left, oneLine);
    savePicture(dc_->picture(), "text-box");
    // No characters per line: one line, no division by zero.
    clear();
    GD_TextBox(-60, 50, "one two", 0, 0);
    k = ink();
    EXPECT_GT(k.count, 10);
    EXPECT_LE(k.bottom - k.top, lineHeight);
}

TEST_F(GraphicsText, ExtentsByRow) {
    SIZE s{};
    // Symbol fonts measure their cells: 24 across and down per character.
    GD_SelFont(35);
    ASSERT_EQ(GD_TextExtent("\x0c\x0c", &s), 1);
    EXPECT_EQ(s.cx, 48);
    EXPECT_EQ(s.cy, 24);
    EXPECT_EQ(GD_TextWidth("\x0c"), 24);
    EXPECT_EQ(GD_TextHeight("\x0c"), 24);
    // The outline symbol font: the black box of the first character only.
    GD_SelFont(34);
    ASSERT_EQ(GD_TextExtent("\x04\x05", &s), 1);
    EXPECT_GT(s.cy, s.cx); // the flare is tall and narrow
    // The stroke font: advance widths summed, the tallest glyph.
    GD_SelFont(36);
    ASSERT_EQ(GD_TextExtent("\x01\x02\x15", &s), 1);
    EXPECT_EQ(s.cx, 13 + 8 + 8);
    EXPECT_EQ(s.cy, 12);
    EXPECT_EQ(GD_TextWidth("\x01\x02"), 21);
    EXPECT_EQ(GD_TextHeight("\x02\x01"), 2);
    // Black boxes of the small text rows: a blank has none.
    GD_SelFont(-2);
    ASSERT_EQ(GD_TextExtent("Ab", &s), 1);
    EXPECT_GT(s.cx, 5);
    EXPECT_LE(s.cx, GD_TextWidth("Ab") + 2);
    EXPECT_EQ(GD_TextExtent("A b", &s), 0);
    // The larger text rows report their cell extent rather than leaving out unset.
    GD_SelFont(8);
    s = SIZE{-1, -1};
    ASSERT_EQ(GD_TextExtent("Ab", &s), 1);
    EXPECT_EQ(s.cx, GD_TextWidth("Ab"));
    EXPECT_EQ(s.cy, GD_TextHeight("Ab"));
    EXPECT_GT(s.cx, 0);
    EXPECT_EQ(GD_TextExtent("Ab", nullptr), 0);
    EXPECT_EQ(GD_TextWidth(""), 0);
}

TEST_F(GraphicsText, TextFacesResolveToInstalledFaces) {
    struct Case {
        int row;
        const char* family;
    } cases[] = {{0, "Liberation Sans"},   {7, "Liberation Sans"}, {8, "Liberation Serif"},
                 {16, "Liberation Serif"}, {3, "INT1 Symbols"},    {4, "INT1 Bouys"},
                 {5, "INT1 Vector"}};
    for (const Case& c : cases) {
        const GdFace* face = gdFace(c.row);
        ASSERT_NE(face, nullptr) << c.row;
        EXPECT_EQ(face->raw.familyName().toStdString(), c.family) << c.row;
    }
    // Negative heights are the character height, positive ones the cell.
    EXPECT_NEAR(gdFace(8)->raw.pixelSize(), 14, 0.01);
    EXPECT_NEAR(gdFace(0)->raw.ascent() + gdFace(0)->raw.descent(), 12, 0.01);
    // A face the programs name outside the table resolves to an installed one.
    QFont other("MS Sans Serif");
    EXPECT_FALSE(QFontInfo(other).family().isEmpty());
    EXPECT_TRUE(QRawFont::fromFont(other).isValid());
}

TEST_F(GraphicsText, EveryInventoryCodeDrawsThroughTheLayer) {
    QFile f(SYMBOL_FONT_INVENTORY);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&f);
    const std::map<QString, int> fontNumber = {
        {"INT1BOUY", 33}, {"SYMBINT1", 35}, {"INT1VECT", 34}};
    int checked = 0;
    bool header = true;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (std::exchange(header, false)) continue;
        const QStringList fields = line.split(',');
        ASSERT_GE(fields.size(), 2);
        const int code = fields[1].toInt();
        clear();
        GD_SelFont(fontNumber.at(fields[0]));
        if (fields[0] == "INT1VECT")
            GD_VectCharXY(0, 0, 0, code, 0, 2, 1); // small glyphs drawn at their largest use
        else
            GD_CharXY(0, 0, 0, code);
        EXPECT_GT(ink().count, 2) << line.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(GraphicsText, RecordingShowsFontCodesAndColour) {
    gdi::RecordingDc rec(128, 128);
    gdSetCurrentDc(&rec);
    GD_SelFont(35);
    GD_CharXY(24, 10, 20, 12);
    GD_SelFont(-2);
    GD_WriteXY(0, 1, 2, "Ab");
    EXPECT_EQ(rec.log(), "Text row=3 p86 (10,20) align=30 angle=0 scale=0 codes=12\n"
                         "Text row=0 p0 (1,2) align=8 angle=0 scale=0 codes=65,98\n");

    // A turned text's angle keeps its decimal point under a decimal-comma locale.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        rec.clearLog();
        GD_RotatedText(0, 1, 2, "A", 22.5, 0);
        std::setlocale(LC_ALL, previous.c_str());
        EXPECT_EQ(rec.log(), "Text row=0 p0 (1,2) align=-1 angle=22.5 scale=0 codes=65\n");
    }
    gdSetCurrentDc(dc_.get());
}

// The pixels of an upright text made straight by Qt without antialiasing, at
// the device point `at` with the row's alignment: a symbol face's outlines
// filled, a text face's glyphs drawn by Qt's glyph renderer (grid-fitted by
// the font's hints). What the layer draws, made without any of its caches.
std::set<std::pair<int, int>> outlinePixels(const GdFace& face, int align, XY at,
                                            const std::string& text, QSize picture) {
    const QList<quint32> glyphs =
        face.raw.glyphIndexesForString(gdFaceText(face, text.data(), text.size()));
    const QList<QPointF> advances = face.raw.advancesForGlyphIndexes(glyphs);
    int width = 0;
    for (const QPointF& a : advances)
        width += int(std::lround(a.x()));
    const int ascent = int(std::lround(face.raw.ascent()));
    const int cell = ascent + int(std::lround(face.raw.descent()));
    const int baseline = (align & kTaBaseline) == kTaBaseline ? at.y : at.y - (cell - ascent);
    int pen = (align & kTaCenter) == kTaCenter ? at.x - width / 2 : at.x;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    QList<QPointF> positions;
    const int start = pen;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(face.raw.pathForGlyph(glyphs[i]).translated(pen, baseline));
        positions.append(QPointF(pen, baseline));
        pen += int(std::lround(advances[i].x()));
    }
    QPainterPath underline;
    if (face.underline)
        underline.addRect(QRectF(start, baseline + face.raw.underlinePosition(), width,
                                 std::max(1.0, face.raw.lineThickness())));
    QImage mask(picture, QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (face.symbol) {
        p.fillPath(path, Qt::white);
    } else {
        QGlyphRun run;
        run.setRawFont(face.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        p.setPen(Qt::white);
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    p.fillPath(underline, Qt::white);
    p.end();
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (qAlpha(mask.pixel(x, y))) pixels.insert({x, y});
    return pixels;
}

std::set<std::pair<int, int>> inkPixels(const QImage& img) {
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != kWhite) pixels.insert({x, y});
    return pixels;
}

TEST_F(GraphicsText, UprightTextCoversExactlyItsOutlinesPixels) {
    // Texts and glyphs in every outline font, also cut by the picture's
    // edges: the layer's pixels are those Qt draws in place.
    struct Case {
        int font;
        std::string text;
    } cases[] = {
        {-2, "12.5 Wk"},  {-1, "(1.8)"},    {0, "Masts Hg"},   {2, "0"},
        {8, "Foul"},      {9, "Quarry"},    {10, "Prod Well"}, {11, "Mine"},
        {12, "gjpqy Hg"}, {13, "Pingos"},   {14, "gjpqy"},     {15, "W\xe6r"},
        {16, "Kj\xf8l"},  {33, "\x12\x08"}, {34, "\x04\x0d"},  {35, "\x53\x08\x4a"},
    };
    const QSize size(160, 96);
    const XY places[] = {{40, 60}, {-3, 8}, {150, 95}, {70, 200}};
    for (const Case& c : cases) {
        GD_SelFont(c.font);
        const GdFace* face = gdFace(gdDeviceFont());
        ASSERT_NE(face, nullptr) << c.font;
        for (const XY at : places) {
            QImage img(size, QImage::Format_RGB32);
            img.fill(kWhite);
            gdi::RasterDc dc(&img);
            gdSetCurrentDc(&dc);
            GD_WriteXY(0, at.x, at.y, c.text.c_str());
            gdSetCurrentDc(dc_.get());
            if (at.x == 40) {
                EXPECT_GT(inkPixels(dc.picture()).size(), 5u) << c.font;
            }
            EXPECT_EQ(inkPixels(dc.picture()),
                      outlinePixels(*face, gdTextAlign(), at, c.text, size))
                << "font " << c.font << " \"" << c.text << "\" at " << at.x << "," << at.y;
        }
    }
}

TEST_F(GraphicsText, SmallDigitsKeepTheirThinStrokes) {
    // Soundings are 12-pixel digits. Each digit's ink spans the digits' full
    // height, and the bars of 5 and 7 stand whole on the top row: strokes
    // thinner than a pixel are not lost between pixel centres.
    for (int font : {-2, -1}) {
        GD_SelFont(font);
        std::map<char, std::pair<int, int>> rows; // digit -> (top, bottom) ink row
        std::map<char, int> topRun;               // digit -> ink pixels on its top row
        for (char digit = '0'; digit <= '9'; ++digit) {
            clear();
            const char text[] = {digit, 0};
            GD_WriteXY(0, 0, 0, text);
            const std::set<std::pair<int, int>> ink = inkPixels(dc_->picture());
            ASSERT_FALSE(ink.empty()) << font << " " << digit;
            int top = INT32_MAX, bottom = INT32_MIN;
            for (const auto& [x, y] : ink)
                top = std::min(top, y), bottom = std::max(bottom, y);
            rows[digit] = {top, bottom};
            for (const auto& [x, y] : ink)
                topRun[digit] += y == top;
        }
        for (char digit = '0'; digit <= '9'; ++digit) {
            EXPECT_EQ(rows[digit].first, rows['1'].first) << "font " << font << " " << digit;
            EXPECT_EQ(rows[digit].second, rows['1'].second) << "font " << font << " " << digit;
        }
        for (char bar : {'5', '7'})
            EXPECT_GE(topRun[bar], 4) << "font " << font << " " << bar;
    }
}

TEST_F(GraphicsText, GlyphPixelsAreTheSameWhereverDrawnAndGoWithTheirFace) {
    // The same text at two places: the same pixels, shifted.
    GD_SelFont(-1);
    GD_WriteXY(0, -40, 10, "12");
    const std::set<std::pair<int, int>> first = inkPixels(dc_->picture());
    ASSERT_GT(first.size(), 20u);
    clear();
    GD_WriteXY(0, 13, -27, "12");
    std::set<std::pair<int, int>> shifted;
    for (const auto& [x, y] : first)
        shifted.insert({x + 53, y + 37});
    EXPECT_EQ(inkPixels(dc_->picture()), shifted);

    // A symbol glyph drawn, then its font file replaced by another: after
    // shut-down and start the new face's glyph is drawn, not the one kept.
    clear();
    GD_SelFont(35);
    GD_CharXY(0, 0, 0, 8);
    const std::set<std::pair<int, int>> square = inkPixels(dc_->picture());
    ASSERT_GT(square.size(), 20u);
    const kit::TempFolder swapped;
    for (const auto& [from, to] : {std::pair{"INT1BOUY.TTF", "SYMBINT1.TTF"},
                                   {"INT1BOUY.TTF", "INT1BOUY.TTF"},
                                   {"INT1VECT.TTF", "INT1VECT.TTF"}}) {
        std::ifstream in(std::string(SYMBOL_FONT_DIR) + "/" + from, std::ios::binary);
        swapped.write(to, std::string(std::istreambuf_iterator<char>(in), {}));
    }
    GD_Done();
    GD_Init(swapped.path().c_str(), 0, 0);
    clear();
    GD_SelFont(35);
    GD_CharXY(0, 0, 0, 8);
    const std::set<std::pair<int, int>> other = inkPixels(dc_->picture());
    EXPECT_NE(other, square);
    EXPECT_EQ(other, outlinePixels(*gdFace(gdDeviceFont()), gdTextAlign(), {64, 64}, "\x08",
                                   QSize(128, 128)));
    // And back: the first face's pixels again.
    GD_Done();
    GD_Init(nullptr, 0, 0);
    clear();
    GD_SelFont(35);
    GD_CharXY(0, 0, 0, 8);
    EXPECT_EQ(inkPixels(dc_->picture()), square);
}

} // namespace
