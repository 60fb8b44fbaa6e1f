// The 3D viewer's side of the exchange, as the display test plays it: a small
// Qt program named "Vistrel" that talks through our exchange library. Every
// 20 ms it looks at the status words: on A 0x200 it ends; on A 0x1 (a new
// export) it takes the record while it holds C 0x2 (not while the program
// holds C 0x1), reads Clip3D.vtk from the current folder, puts a picture of
// the record's size on the clipboard and sets B 0x100. It ends with 3 when
// the file does not read as the program writes it.
#include "d5arer/D5arer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTimer>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::int32_t field(const unsigned char* r, int offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | r[offset + i];
    return static_cast<std::int32_t>(v);
}

// The number of points of Clip3D.vtk when its header and its lines agree, else -1.
long pointsOfExport() {
    std::ifstream in("Clip3D.vtk");
    std::string line;
    for (int i = 0; i < 4 && std::getline(in, line); ++i) {
    }
    long declared = -1;
    if (!std::getline(in, line) || std::sscanf(line.c_str(), "POINTS %ld double", &declared) != 1)
        return -1;
    long lines = 0;
    while (std::getline(in, line)) {
        long x, y;
        double z;
        if (std::sscanf(line.c_str(), "%ld %ld %lf", &x, &y, &z) != 3) return -1;
        ++lines;
    }
    return lines == declared ? declared : -1;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const std::uint32_t a = _tGetStatA();
        if (a & 0x200) {
            app.exit(0);
            return;
        }
        if (!(a & 0x1) || (_tGetStatC() & 0x1)) return;
        _tPutStatC(_tGetStatC() | 0x2);
        unsigned char record[128];
        _tGetRec(record, sizeof record);
        _tPutStatC(_tGetStatC() & ~0x2u);
        _tPutStatA(_tGetStatA() & ~0x1u);
        const long points = pointsOfExport();
        if (points <= 0) {
            app.exit(3);
            return;
        }
        QImage picture(field(record, 0), field(record, 4), QImage::Format_RGB32);
        picture.fill(QColor(40, 90, 160));
        QGuiApplication::clipboard()->setImage(picture);
        _tPutStatB(_tGetStatB() | 0x100);
    });
    timer.start(20);
    return app.exec();
}
