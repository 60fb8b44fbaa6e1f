// The built symbol fonts as Qt sees them: every character code of the
// inventory (each code a drawing procedure can draw) has a glyph that leaves
// ink, the faces carry the names the engine selects them by, and glyphs sit
// where the engine places them.
#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTextStream>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QRawFont>

#include <map>
#include <string>
#include <vector>

namespace {

struct FontCase {
    const char* base;
    const char* face;
    double cell;
};

const FontCase kFonts[] = {
    {"INT1BOUY", "INT1 Bouys", 24},
    {"SYMBINT1", "INT1 Symbols", 24},
    {"INT1VECT", "INT1 Vector", 30},
};

std::map<std::string, std::vector<int>> readInventory() {
    std::map<std::string, std::vector<int>> codes;
    QFile f(SYMBOL_FONT_INVENTORY);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&f);
    bool header = true;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (header) {
            header = false;
            continue;
        }
        const QStringList fields = line.split(',');
        EXPECT_EQ(fields.size(), 4) << line.toStdString();
        bool ok = false;
        const int code = fields.value(1).toInt(&ok);
        EXPECT_TRUE(ok && code >= 0 && code <= 255) << line.toStdString();
        codes[fields[0].toStdString()].push_back(code);
    }
    return codes;
}

QRawFont load(const FontCase& f) {
    return QRawFont(QString(SYMBOL_FONT_DIR "/") + f.base + ".TTF", f.cell);
}

quint32 glyphOf(const QRawFont& font, int code) {
    const QList<quint32> idx = font.glyphIndexesForString(QString(QChar(0xF000 + code)));
    return idx.isEmpty() ? 0 : idx[0];
}

// Inked pixels of a glyph drawn twice its size with its origin in the middle of a 64 x 64 picture.
int ink(const QRawFont& font, quint32 glyph) {
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(32, 32);
    p.scale(2, 2); // the smallest glyphs are drawn enlarged (scale 2 is four times)
    p.fillPath(font.pathForGlyph(glyph), Qt::black);
    p.end();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

TEST(SymbolFonts, EveryInventoryCodeHasAnInkedGlyph) {
    const auto inventory = readInventory();
    for (const FontCase& f : kFonts) {
        SCOPED_TRACE(f.base);
        const QRawFont font = load(f);
        ASSERT_TRUE(font.isValid());
        const auto it = inventory.find(f.base);
        ASSERT_NE(it, inventory.end());
        EXPECT_FALSE(it->second.empty());
        for (int code : it->second) {
            const quint32 g = glyphOf(font, code);
            ASSERT_NE(g, 0u) << "code " << code;
            EXPECT_GT(ink(font, g), 3) << "code " << code;
        }
    }
}

TEST(SymbolFonts, FacesAndCellsAreThoseTheEngineSelects) {
    for (const FontCase& f : kFonts) {
        SCOPED_TRACE(f.base);
        const QRawFont font = load(f);
        ASSERT_TRUE(font.isValid());
        EXPECT_EQ(font.familyName().toStdString(), f.face);
        // The cell height (ascent plus descent) is the font's height in the table.
        EXPECT_NEAR(font.ascent() + font.descent(), f.cell, 0.01);
    }
    // The buoy and symbol fonts advance by the 24-pixel cell.
    for (int i : {0, 1}) {
        const QRawFont font = load(kFonts[i]);
        const QList<quint32> g{glyphOf(font, 12)};
        EXPECT_NEAR(font.advancesForGlyphIndexes(g).value(0).x(), 24.0, 0.05);
    }
}

TEST(SymbolFonts, CodeZeroAndCodesOutsideTheInventoryAreDistinct) {
    // Code 0 is a real glyph (the pillar buoy outline), not the missing-glyph box.
    const QRawFont buoys = load(kFonts[0]);
    const quint32 zero = glyphOf(buoys, 0);
    ASSERT_NE(zero, 0u);
    EXPECT_GT(ink(buoys, zero), 3);
    // A code no procedure draws has no glyph.
    EXPECT_EQ(glyphOf(buoys, 250), 0u);
}

TEST(SymbolFonts, GlyphsSitWhereTheEnginePlacesThem) {
    // Buoys stand on the baseline: their ink lies above it (y < 0 in Qt), except
    // the small position circle around the reference point.
    const QRawFont buoys = load(kFonts[0]);
    for (int code : {9, 18, 0, 54, 70, 125}) {
        const QRectF box = buoys.pathForGlyph(glyphOf(buoys, code)).boundingRect();
        EXPECT_LT(box.top(), -9) << code;
        EXPECT_LT(box.bottom(), 2.5) << code;
        EXPECT_NEAR(box.center().x(), 12.0, 3.5) << code; // centred on the 24-pixel advance
    }
    // Flare and orientation mark of the outline font point north from the origin.
    const QRawFont vector = load(kFonts[2]);
    for (int code : {4, 14}) {
        const QRectF box = vector.pathForGlyph(glyphOf(vector, code)).boundingRect();
        EXPECT_LT(box.top(), -5) << code;
        EXPECT_GT(box.bottom(), -1.5) << code;
        EXPECT_LT(box.bottom(), 1.5) << code;
        EXPECT_NEAR(box.center().x(), 0.0, 0.5) << code;
    }
    // Line ornaments run along +x from the origin, within their advance, on the line.
    for (int code : {5, 6, 7, 9, 12}) {
        const QList<quint32> g{glyphOf(vector, code)};
        const double advance = vector.advancesForGlyphIndexes(g).value(0).x();
        const QRectF box = vector.pathForGlyph(g[0]).boundingRect();
        EXPECT_GT(advance, 4.0) << code;
        EXPECT_GE(box.left(), -1.0) << code;
        EXPECT_LE(box.right(), advance + 1.0) << code;
        EXPECT_LT(box.top(), 0.5) << code;
        EXPECT_GT(box.bottom(), -0.5) << code;
    }
}

} // namespace

int main(int argc, char** argv) {
    // Test discovery runs the binary without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
