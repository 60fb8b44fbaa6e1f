// Helpers of the device-context tests: a white test picture, character maps of
// pixels and PNG files in the build tree for a person to look at.
#pragma once

#include "gdi/RasterDc.h"

#include <QDir>
#include <QImage>
#include <string>

namespace gdi::test {

// Writes the picture as <build>/platform/gdi/pictures/<name>.png.
inline void savePicture(const QImage& img, const std::string& name) {
    QDir().mkpath(GDI_TEST_PICTURES);
    img.save(QString::fromStdString(std::string(GDI_TEST_PICTURES) + "/" + name + ".png"), "PNG");
}

inline QImage whitePicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    return img;
}

// One character per device pixel, rows joined by '\n': '.' white, '#' black,
// 'R' red, 'G' green, 'B' blue, '?' anything else.
inline std::string charMap(const RasterDc& dc, int x0, int y0, int w, int h) {
    const QImage& img = dc.picture();
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            const QRgb q = img.pixel(x, y);
            const Colour c =
                rgb(std::uint8_t(qRed(q)), std::uint8_t(qGreen(q)), std::uint8_t(qBlue(q)));
            s += c == kWhite           ? '.'
                 : c == kBlack         ? '#'
                 : c == rgb(255, 0, 0) ? 'R'
                 : c == rgb(0, 255, 0) ? 'G'
                 : c == rgb(0, 0, 255) ? 'B'
                                       : '?';
        }
        s += '\n';
    }
    return s;
}

} // namespace gdi::test
