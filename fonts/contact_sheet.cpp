// Draws every glyph of the three symbol fonts with its character code into one
// PNG picture, for a person to look over the shapes.
//
//   symbol_font_sheet OUTPUT.png INVENTORY.csv FONT_DIRECTORY
//
// Glyphs are drawn at twice their size. A small red cross marks the glyph's
// reference point: the centre of the baseline for the buoy and symbol fonts,
// the rotation origin for the outline symbol font.
#include <QtCore/QFile>
#include <QtCore/QMap>
#include <QtCore/QTextStream>
#include <QtGui/QFont>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QRawFont>

#include <cstdio>

namespace {

struct SheetFont {
    const char* base;
    const char* title;
    double pixelSize; // the cell height
    bool centred;     // placed by the centre of the baseline
};

const SheetFont kFonts[] = {
    {"INT1BOUY", "INT1 Bouys (font 33)", 24, true},
    {"SYMBINT1", "INT1 Symbols (font 35)", 24, true},
    {"INT1VECT", "INT1 Vector (font 34)", 30, false},
};

constexpr int kScale = 2;
constexpr int kCell = 72;
constexpr int kColumns = 16;
constexpr int kTitle = 28;

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.png INVENTORY.csv FONT_DIRECTORY\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);

    QMap<QString, QList<int>> codes;
    QFile inventory(QString::fromLocal8Bit(argv[2]));
    if (!inventory.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    QTextStream in(&inventory);
    bool header = true;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith('#') || line.isEmpty()) continue;
        if (header) {
            header = false;
            continue;
        }
        const QStringList fields = line.split(',');
        if (fields.size() >= 2) codes[fields[0]].append(fields[1].toInt());
    }

    int height = 0;
    for (const SheetFont& f : kFonts)
        height += kTitle + ((codes[f.base].size() + kColumns - 1) / kColumns) * kCell;
    QImage sheet(kColumns * kCell, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont label("Liberation Sans");
    label.setPixelSize(11);

    int top = 0;
    for (const SheetFont& f : kFonts) {
        const QString path = QString::fromLocal8Bit(argv[3]) + "/" + f.base + ".TTF";
        QRawFont raw(path, f.pixelSize);
        if (!raw.isValid()) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(path));
            return 1;
        }
        QFont titleFont("Liberation Sans");
        titleFont.setPixelSize(16);
        titleFont.setBold(true);
        p.setFont(titleFont);
        p.setPen(Qt::black);
        p.drawText(QRect(4, top, kColumns * kCell, kTitle), Qt::AlignVCenter,
                   QString("%1  %2.TTF").arg(f.title, f.base));
        top += kTitle;

        const QList<int>& list = codes[f.base];
        for (int i = 0; i < list.size(); ++i) {
            const int code = list[i];
            const int cx = (i % kColumns) * kCell, cy = top + (i / kColumns) * kCell;
            p.setPen(QColor(220, 220, 220));
            p.setBrush(Qt::NoBrush);
            p.drawRect(cx, cy, kCell - 1, kCell - 1);

            const QList<quint32> idx = raw.glyphIndexesForString(QString(QChar(0xF000 + code)));
            const double refX = cx + kCell / 2.0, refY = cy + kCell * 0.62;
            if (!idx.isEmpty() && idx[0] != 0) {
                QPainterPath glyph = raw.pathForGlyph(idx[0]);
                const QList<QPointF> adv = raw.advancesForGlyphIndexes(idx);
                const double originX = f.centred && !adv.isEmpty() ? -adv[0].x() / 2 : 0;
                p.save();
                p.translate(refX, refY);
                p.scale(kScale, kScale);
                p.translate(originX, 0);
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::black);
                p.drawPath(glyph);
                p.restore();
            } else {
                p.setPen(Qt::red);
                p.drawText(QRect(cx, cy, kCell, kCell), Qt::AlignCenter, "missing");
            }
            p.setPen(QPen(Qt::red, 1));
            p.drawLine(QPointF(refX - 3, refY), QPointF(refX + 3, refY));
            p.drawLine(QPointF(refX, refY - 3), QPointF(refX, refY + 3));
            p.setPen(QColor(0, 0, 160));
            p.setFont(label);
            p.drawText(QRect(cx + 3, cy + 1, kCell, 14), Qt::AlignLeft, QString::number(code));
        }
        top += ((list.size() + kColumns - 1) / kColumns) * kCell;
    }
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
