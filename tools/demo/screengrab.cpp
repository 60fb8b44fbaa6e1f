// screengrab [--count NAME=RRGGBB[,RRGGBB...]]... OUT.png
//
// Writes a PNG of the whole primary screen of the display in $DISPLAY (the
// picture is written beside itself under a temporary name and renamed into
// place). Each --count prints one line "NAME SHARE": the share, 0 to 1 with
// six decimals, of the screen's pixels that have exactly one of the listed
// colours. Status 0: written; 1: no screen, or the picture cannot be written;
// 2: a command-line error.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

struct ColourSet {
    std::string name;
    std::unordered_set<QRgb> colours;
};

int usage(const char* why) {
    std::fprintf(stderr, "usage: screengrab [--count NAME=RRGGBB[,RRGGBB...]]... OUT.png\n");
    std::fprintf(stderr, "screengrab: %s\n", why);
    return 2;
}

// "land=F0DCA0,69A5DC": false for anything else.
bool parseColourSet(const std::string& text, ColourSet& set) {
    const std::size_t eq = text.find('=');
    if (eq == 0 || eq == std::string::npos) return false;
    set.name = text.substr(0, eq);
    std::size_t at = eq + 1;
    while (true) {
        const std::size_t comma = text.find(',', at);
        const std::string hex = text.substr(at, comma == std::string::npos ? std::string::npos
                                                                            : comma - at);
        if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        set.colours.insert(qRgb(0, 0, 0) | QRgb(std::stoul(hex, nullptr, 16)));
        if (comma == std::string::npos) return true;
        at = comma + 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<ColourSet> sets;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--count") == 0) {
            if (i + 1 >= argc) return usage("--count needs NAME=RRGGBB[,RRGGBB...]");
            ColourSet set;
            if (!parseColourSet(argv[++i], set)) return usage("--count needs NAME=RRGGBB[,RRGGBB...]");
            sets.push_back(std::move(set));
        } else if (argv[i][0] == '-' || !out.empty()) {
            return usage((std::string("unexpected argument ") + argv[i]).c_str());
        } else {
            out = argv[i];
        }
    }
    if (out.empty()) return usage("no output file");

    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "screengrab: no screen\n");
        return 1;
    }
    const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "screengrab: the screen cannot be read\n");
        return 1;
    }
    QSaveFile file(QString::fromLocal8Bit(out.c_str()));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "screengrab: cannot write %s\n", out.c_str());
        return 1;
    }
    const double pixels = double(image.width()) * image.height();
    for (const ColourSet& set : sets) {
        long long n = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                n += set.colours.count(row[x] | 0xFF000000u) ? 1 : 0;
        }
        std::printf("%s %.6f\n", set.name.c_str(), pixels > 0 ? n / pixels : 0.0);
    }
    return 0;
}
