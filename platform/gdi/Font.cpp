#include "gdi/Font.h"

#include "os/codePage.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <set>

namespace gdi {

// Every live font, so that their Qt objects can be dropped before the Qt
// application goes (Qt's font objects must not outlive it).
struct FontRegistry {
    std::mutex mutex;
    std::set<const Font*> fonts;
    const QCoreApplication* watched = nullptr;

    static FontRegistry& get() {
        static FontRegistry r;
        return r;
    }
    void dropAll() {
        std::lock_guard lock(mutex);
        for (const Font* f : fonts)
            f->drop();
        watched = nullptr;
    }
};

namespace {

bool haveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

void watchApplication() {
    FontRegistry& r = FontRegistry::get();
    {
        std::lock_guard lock(r.mutex);
        if (r.watched == QCoreApplication::instance()) return;
        r.watched = QCoreApplication::instance();
    }
    qAddPostRoutine([] { FontRegistry::get().dropAll(); });
}

// The pixel size (em) for a logical height: a negative height is the em itself,
// a positive one the cell (ascent plus descent).
double emFor(const QRawFont& probe, int height) {
    if (height < 0) return -double(height);
    if (height == 0) height = 16;
    const double cell = probe.ascent() + probe.descent(); // the probe is 100 pixels
    return cell > 0 ? height * 100.0 / cell : height;
}

} // namespace

QString textFromCp1252(std::string_view bytes) {
    const std::string utf8 = os::cp1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

Font::Font(const LogFont& lf) : lf_(lf) {
    FontRegistry& r = FontRegistry::get();
    std::lock_guard lock(r.mutex);
    r.fonts.insert(this);
}

Font::~Font() {
    FontRegistry& r = FontRegistry::get();
    std::lock_guard lock(r.mutex);
    r.fonts.erase(this);
}

std::shared_ptr<const Font> Font::create(const LogFont& lf) {
    return std::shared_ptr<const Font>(new Font(lf));
}

std::shared_ptr<const Font> Font::systemFont() {
    static const std::shared_ptr<const Font> font = create(LogFont{"MS Sans Serif", 16, 700});
    return font;
}

void Font::drop() const {
    std::lock_guard lock(mutex_);
    raw_.reset();
}

const QRawFont* Font::raw() const {
    {
        std::lock_guard lock(mutex_);
        if (raw_) return raw_.get();
    }
    if (!haveGuiApplication()) return nullptr;
    // Outside this font's lock: the registry's lock is always taken first.
    watchApplication();
    std::lock_guard lock(mutex_);
    if (raw_) return raw_.get();
    QFont font(QString::fromStdString(lf_.face));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(100);
    const int weight = lf_.weight <= 0 ? 400 : std::clamp(lf_.weight, 100, 900);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf_.italic);
    font.setKerning(false);
    font.setStyleStrategy(QFont::NoAntialias);
    QRawFont probe = QRawFont::fromFont(font);
    if (!probe.isValid()) return nullptr;
    probe.setPixelSize(emFor(probe, lf_.height));
    raw_ = std::make_unique<QRawFont>(probe);
    return raw_.get();
}

int Font::ascent() const {
    const QRawFont* r = raw();
    return r ? int(std::lround(r->ascent())) : 0;
}

int Font::descent() const {
    const QRawFont* r = raw();
    return r ? int(std::lround(r->descent())) : 0;
}

Font::Layout Font::layout(std::string_view text) const {
    Layout out;
    const QRawFont* r = raw();
    if (!r || text.empty()) return out;
    out.glyphs = r->glyphIndexesForString(textFromCp1252(text));
    const QList<QPointF> adv = r->advancesForGlyphIndexes(out.glyphs);
    out.advances.reserve(std::size_t(out.glyphs.size()));
    for (qsizetype i = 0; i < out.glyphs.size(); ++i) {
        const int a = i < adv.size() ? int(std::lround(adv[i].x())) : 0;
        out.advances.push_back(a);
        out.width += a;
    }
    return out;
}

XY Font::extent(std::string_view text) const {
    if (!raw()) return {0, 0};
    return {layout(text).width, cellHeight()};
}

QPainterPath Font::glyphPath(quint32 glyph) const {
    const QRawFont* r = raw();
    return r ? r->pathForGlyph(glyph) : QPainterPath();
}

int Font::underlineOffset() const {
    const QRawFont* r = raw();
    return r ? std::max(1, int(std::lround(r->underlinePosition()))) : 1;
}

int Font::lineThickness() const {
    const QRawFont* r = raw();
    return r ? std::max(1, int(std::lround(r->lineThickness()))) : 1;
}

std::string Font::familyName() const {
    const QRawFont* r = raw();
    return r ? r->familyName().toStdString() : std::string();
}

} // namespace gdi
