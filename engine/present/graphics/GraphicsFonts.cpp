#include "graphics/GraphicsFonts.h"

#include "util/reportError.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

const std::array<FontRow, kFontRows> GD_FontTable = {{
    {1, nullptr, {12, 0, 100, false, false, 0, 0, 0, 0, "Arial"}},
    {1, nullptr, {12, 0, 100, false, false, 0, 0, 0, 0, "Arial"}},
    {1, nullptr, {16, 0, 500, false, false, 0, 0, 0, 0, "Arial"}},
    {2, "SYMBINT1", {24, 24, 400, false, false, 1, 0, 0, 0x50, "INT1 Symbols"}},
    {2, "INT1BOUY", {24, 24, 400, false, false, 1, 0, 0, 0x50, "INT1 Bouys"}},
    {3, "INT1VECT", {30, 0, 100, false, false, 1, 4, 48, 0x02, "INT1 Vector"}},
    {0, nullptr, {}},
    {1, nullptr, {-36, 0, 500, false, false, 0, 0, 0, 0, "Arial"}},
    {1, nullptr, {-14, 0, 700, true, false, 0, 0, 0, 0, "Times New Roman"}},
    {1, nullptr, {-16, 0, 700, false, false, 0, 0, 0, 0, "Arial"}},
    {1, nullptr, {-12, 0, 100, false, false, 0, 0, 0, 0, "Arial"}},
    {1, nullptr, {-20, 0, 700, false, false, 0, 0, 0, 0, "Times New Roman"}},
    {1, nullptr, {-12, 0, 400, false, true, 0, 0, 0, 0, "Times New Roman"}},
    {1, nullptr, {-14, 0, 700, false, false, 0, 0, 0, 0, "Times New Roman"}},
    {1, nullptr, {-12, 0, 700, false, false, 0, 0, 0, 0, "Times New Roman"}},
    {1, nullptr, {-10, 0, 700, false, false, 0, 0, 0, 0, "Times New Roman"}},
    {1, nullptr, {-20, 0, 100, true, false, 0, 0, 0, 0, "Times New Roman"}},
}};

FontChoice GD_FontChoice(int fontNumber) {
    constexpr int kSymbolAlign = kTaBaseline | kTaCenter;
    if (fontNumber == -2) return {0, 1, kTaBottom, false};
    if (fontNumber == -1) return {1, 2, kTaBottom, false};
    if (fontNumber == 0 || fontNumber == 1) return {2, 1, kTaBottom, false};
    if (fontNumber == 2) return {7, 2, kTaBottom, false};
    if (fontNumber >= 8 && fontNumber <= 16) return {fontNumber, -1, kTaBottom, false};
    if (fontNumber == 33) return {4, -1, kSymbolAlign, false};
    if (fontNumber == 34) return {5, -1, kSymbolAlign, false};
    if (fontNumber == 35) return {3, -1, kSymbolAlign, false};
    if (fontNumber == 36) return {kVectorFontRow, -1, kTaBottom, true};
    return {};
}

namespace {

struct RowState {
    bool present = false;
    std::string file;
    std::unique_ptr<GdFace> face; // made on first use
    bool faceTried = false;
    int appFontId = -1; // registration of the file with Qt's font database
};

struct LayerFonts {
    std::optional<std::string> directory;
    bool searchProjectFonts = false; // the directory was not given
    bool loaded = false;
    int current = -1;
    int device = -1;
    int align = kTaLeft;
    std::array<RowState, kFontRows> rows;
    std::unique_ptr<GdFace> systemFace; // the device context's default font
    bool systemTried = false;
};

LayerFonts& state() {
    static LayerFonts s;
    return s;
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Directories where the build and the installation put the project's fonts.
std::vector<std::string> projectFontDirectories() {
    std::vector<std::string> dirs;
#ifdef SKJOLDR_BUILD_FONT_DIR
    dirs.push_back(SKJOLDR_BUILD_FONT_DIR "/");
#endif
#ifdef SKJOLDR_INSTALL_FONT_DIR
    dirs.push_back(SKJOLDR_INSTALL_FONT_DIR "/");
#endif
    return dirs;
}

// The file of a file row: the base name with ".FON" (bitmap rows only), then
// ".TTF", in the font directory and, when allowed, the project's font folders.
std::string findFontFile(const FontRow& row, const LayerFonts& s) {
    std::vector<std::string> dirs{*s.directory};
    if (s.searchProjectFonts)
        for (const std::string& d : projectFontDirectories())
            dirs.push_back(d);
    std::vector<const char*> extensions;
    if (row.kind == 2) extensions.push_back(".FON");
    extensions.push_back(".TTF");
    for (const std::string& dir : dirs)
        for (const char* ext : extensions) {
            const std::string path = dir + row.file + ext;
            if (isFile(path)) return path;
        }
    return {};
}

bool haveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Qt's font objects must not outlive the application object: they are dropped
// when it goes (and made again if another one comes).
void dropQtFaces() {
    LayerFonts& s = state();
    for (RowState& rs : s.rows) {
        rs.face.reset();
        rs.faceTried = false;
        rs.appFontId = -1; // the application's fonts go with it
    }
    s.systemFace.reset();
    s.systemTried = false;
}

void watchApplication() {
    static QCoreApplication* watched = nullptr;
    if (watched == QCoreApplication::instance()) return;
    watched = QCoreApplication::instance();
    qAddPostRoutine([] {
        dropQtFaces();
        watched = nullptr;
    });
}

// The pixel size (em) of a face for a logical font height: a negative height is
// the em itself, a positive one the cell (ascent plus descent).
double emFor(const QRawFont& probe, int height) {
    if (height < 0) return -height;
    if (height == 0) return 16;                           // the device's default height
    const double cell = probe.ascent() + probe.descent(); // probe is 100 pixels
    return cell > 0 ? height * 100.0 / cell : height;
}

std::unique_ptr<GdFace> makeTextFace(const LogFont& lf) {
    QFont font(QString::fromLatin1(lf.face));
    font.setPixelSize(100);
    const int weight = lf.weight <= 0 ? 400 : std::clamp(lf.weight, 100, 900);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf.italic);
    font.setStyleStrategy(QFont::NoAntialias);
    QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return nullptr;
    raw.setPixelSize(emFor(raw, lf.height));
    auto face = std::make_unique<GdFace>();
    face->raw = raw;
    face->underline = lf.underline;
    return face;
}

std::unique_ptr<GdFace> makeFileFace(const FontRow& row, RowState& rs) {
    if (rs.appFontId < 0)
        rs.appFontId = QFontDatabase::addApplicationFont(QString::fromStdString(rs.file));
    // Symbols keep their drawn shapes: no hinting.
    QRawFont raw(QString::fromStdString(rs.file), 100, QFont::PreferNoHinting);
    if (!raw.isValid()) return nullptr;
    raw.setPixelSize(emFor(raw, row.font.height));
    auto face = std::make_unique<GdFace>();
    face->raw = raw;
    face->symbol = true;
    return face;
}

// Windows-1252 characters of the bytes 0x80 to 0x9F (0: not assigned, read as Latin-1).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

int GD_Init(const char* fontDirectory, int, int) {
    LayerFonts& s = state();
    if (!s.directory) {
        if (fontDirectory) {
            s.directory = std::string(fontDirectory);
            s.searchProjectFonts = false;
        } else {
            std::error_code ec;
            const std::filesystem::path cwd = std::filesystem::current_path(ec);
            if (!ec) s.directory = cwd.string() + "/";
            s.searchProjectFonts = true;
        }
    }
    bool bitmapOk = true, trueTypeOk = true;
    for (int r = 0; r < kFontRows; ++r) {
        const FontRow& row = GD_FontTable[std::size_t(r)];
        RowState& rs = s.rows[std::size_t(r)];
        if (row.kind == 0) continue;
        if (row.kind == 1 || !row.file) {
            rs.present = true;
            continue;
        }
        rs.file = s.directory ? findFontFile(row, s) : std::string();
        if (rs.file.empty()) {
            char text[512];
            std::snprintf(text, sizeof text, "Font %s not found",
                          (s.directory.value_or("") + row.file).c_str());
            traceNote(text);
            (row.kind == 2 ? bitmapOk : trueTypeOk) = false;
            rs.present = false;
            continue;
        }
        rs.present = true;
    }
    if (bitmapOk && trueTypeOk) s.loaded = true;
    return 0;
}

void GD_Done() {
    LayerFonts& s = state();
    s.device = -1;
    s.current = -1;
    const bool gui = haveGuiApplication();
    for (RowState& rs : s.rows) {
        if (rs.appFontId >= 0 && gui) QFontDatabase::removeApplicationFont(rs.appFontId);
        rs = RowState{};
    }
    s.systemFace.reset();
    s.systemTried = false;
    s.directory.reset();
    s.searchProjectFonts = false;
    s.loaded = false;
}

void GD_SelFont(int fontNumber) {
    LayerFonts& s = state();
    const FontChoice c = GD_FontChoice(fontNumber);
    if (c.vector) {
        s.current = kVectorFontRow;
        return;
    }
    int row = -1;
    if (c.row >= 0 && s.rows[std::size_t(c.row)].present)
        row = c.row;
    else if (c.fallback >= 0 && s.rows[std::size_t(c.fallback)].present)
        row = c.fallback;
    s.current = row;
    if (row < 0) return;
    s.device = row;
    s.align = c.align;
}

int gdCurrentFont() {
    return state().current;
}
int gdDeviceFont() {
    return state().device;
}
int gdTextAlign() {
    return state().align;
}
bool gdFontsLoaded() {
    return state().loaded;
}
unsigned gdPlatformId() {
    return 2;
}
const std::string& gdFontDirectory() {
    static const std::string none;
    const LayerFonts& s = state();
    return s.directory ? *s.directory : none;
}
bool gdRowPresent(int row) {
    return row >= 0 && row < kFontRows && state().rows[std::size_t(row)].present;
}
const std::string& gdRowFile(int row) {
    static const std::string none;
    return row >= 0 && row < kFontRows ? state().rows[std::size_t(row)].file : none;
}

const GdFace* gdFace(int row) {
    LayerFonts& s = state();
    if (!haveGuiApplication()) return nullptr;
    watchApplication();
    if (row < 0) {
        // The stock system font: a bold sans face of 16 pixels.
        if (!s.systemTried) {
            s.systemTried = true;
            s.systemFace = makeTextFace(LogFont{16, 0, 700, false, false, 0, 0, 0, 0, "Arial"});
        }
        return s.systemFace.get();
    }
    if (row >= kFontRows || row == kVectorFontRow) return nullptr;
    RowState& rs = s.rows[std::size_t(row)];
    if (!rs.present) return nullptr;
    if (!rs.faceTried) {
        rs.faceTried = true;
        const FontRow& fr = GD_FontTable[std::size_t(row)];
        rs.face = fr.kind == 1 ? makeTextFace(fr.font) : makeFileFace(fr, rs);
    }
    return rs.face.get();
}

QString gdFaceText(const GdFace& face, const char* bytes, std::size_t n) {
    QString text;
    text.reserve(qsizetype(n));
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (face.symbol)
            text.append(QChar(char16_t(0xF000 + b)));
        else if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80])
            text.append(QChar(kCp1252High[b - 0x80]));
        else
            text.append(QChar(char16_t(b)));
    }
    return text;
}
