#include "forms/OstrelPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage BoatPicture() {
    QImage image = blank(kBoatWidth, kBoatHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = kBoatWidth - 1, h = kBoatHeight - 1;
    // Hull: a pointed bow, straight sides from a third of the length, a flat
    // transom at the stern.
    QPainterPath hull;
    hull.moveTo(w / 2, 0.5);
    hull.cubicTo(w * 0.95, h * 0.12, w - 0.5, h * 0.3, w - 0.5, h * 0.42);
    hull.lineTo(w - 1.5, h - 0.5);
    hull.lineTo(1.5, h - 0.5);
    hull.lineTo(0.5, h * 0.42);
    hull.cubicTo(0.5, h * 0.3, w * 0.05, h * 0.12, w / 2, 0.5);
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.setBrush(QColor(222, 196, 150));
    p.drawPath(hull);
    // Deck house.
    p.setBrush(QColor(245, 245, 240));
    p.drawRoundedRect(QRectF(w * 0.25, h * 0.45, w * 0.5, h * 0.22), 3, 3);
    // Centre line, on which the sounder lies.
    QPen centre(QColor(90, 90, 90), 1, Qt::DashLine);
    p.setPen(centre);
    p.drawLine(QPointF(w / 2, h * 0.06), QPointF(w / 2, h - 2));
    return image;
}

QImage CrossPicture() {
    QImage image = blank(kCrossSize, kCrossSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double c = (kCrossSize - 1) / 2.0;
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(c, c), 5.5, 5.5);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawLine(QPointF(c, 0), QPointF(c, kCrossSize - 1));
    p.drawLine(QPointF(0, c), QPointF(kCrossSize - 1, c));
    return image;
}

QImage SounderMarkPicture() {
    QImage image = blank(kSounderMarkWidth, kSounderMarkHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A transducer's beam, opening downwards.
    const QPolygonF beam({QPointF(kSounderMarkWidth / 2.0, 0.5),
                          QPointF(kSounderMarkWidth - 0.5, kSounderMarkHeight - 0.5),
                          QPointF(0.5, kSounderMarkHeight - 0.5)});
    p.setPen(QPen(QColor(0, 40, 140), 1));
    p.setBrush(QColor(40, 110, 230));
    p.drawPolygon(beam);
    return image;
}

QImage FlagPicture(int language) {
    constexpr int w = 24, h = 16;
    QImage image = blank(w, h);
    QPainter p(&image);
    if (language == 2) {
        // White and red diagonals and crosses on blue.
        p.fillRect(0, 0, w, h, QColor(1, 33, 105));
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 4));
        p.drawLine(0, 0, w, h);
        p.drawLine(0, h, w, 0);
        p.setPen(QPen(QColor(200, 16, 46), 1.5));
        p.drawLine(0, 0, w, h);
        p.drawLine(0, h, w, 0);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(w / 2 - 3, 0, 6, h, Qt::white);
        p.fillRect(0, h / 2 - 3, w, 6, Qt::white);
        p.fillRect(w / 2 - 2, 0, 4, h, QColor(200, 16, 46));
        p.fillRect(0, h / 2 - 2, w, 4, QColor(200, 16, 46));
    } else {
        // A white-edged blue cross on red, set towards the hoist.
        p.fillRect(0, 0, w, h, QColor(186, 12, 47));
        p.fillRect(6, 0, 5, h, Qt::white);
        p.fillRect(0, 6, w, 4, Qt::white);
        p.fillRect(7, 0, 3, h, QColor(0, 32, 91));
        p.fillRect(0, 7, w, 2, QColor(0, 32, 91));
    }
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 1, h - 1);
    return image;
}

QImage CdGlyph() {
    QImage image = blank(20, 20);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shine(QPointF(7, 7), 12);
    shine.setColorAt(0, QColor(250, 250, 255));
    shine.setColorAt(0.5, QColor(190, 200, 220));
    shine.setColorAt(1, QColor(150, 160, 190));
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(shine);
    p.drawEllipse(QPointF(10, 10), 8.5, 8.5);
    p.setBrush(QColor(235, 235, 235));
    p.drawEllipse(QPointF(10, 10), 2.5, 2.5);
    return image;
}

QImage ShortcutGlyph() {
    QImage image = blank(20, 20);
    QPainter p(&image);
    // A small chart window with the shortcut's arrow in its corner.
    p.setPen(QColor(40, 40, 80));
    p.setBrush(QColor(170, 215, 245));
    p.drawRect(2, 2, 15, 13);
    p.fillRect(3, 3, 14, 3, QColor(0, 0, 128));
    p.setBrush(QColor(240, 220, 160));
    p.drawEllipse(QPoint(12, 10), 3, 3);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 11.5, 8, 8));
    p.setPen(QPen(Qt::black, 1.4));
    p.drawLine(QPointF(2.5, 17.5), QPointF(6.5, 13.5));
    p.drawLine(QPointF(3.5, 13.5), QPointF(6.5, 13.5));
    p.drawLine(QPointF(6.5, 13.5), QPointF(6.5, 16.5));
    return image;
}

QImage RasterGlyph() {
    QImage image = blank(20, 20);
    QPainter p(&image);
    // A scanned chart: land and sea in a grid of pixels.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool land = x + y < 3;
            p.fillRect(2 + 4 * x, 2 + 4 * y, 4, 4,
                       land ? QColor(230, 200, 120) : QColor(120, 180, 230));
        }
    p.setPen(QColor(40, 40, 80));
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, 17, 17);
    return image;
}
