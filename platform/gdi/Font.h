// Fonts of device contexts: a logical font (face name, height, weight, italic,
// underline) and the font it becomes.
//
// Face names are the system's Windows names ("Arial", "MS Sans Serif");
// fontconfig picks the installed face, a metric-compatible one where it exists
// (Arial becomes Liberation Sans) and the default sans-serif face otherwise.
// Glyphs are drawn without antialiasing. Qt's font objects are made on first
// use, once a Qt GUI application exists, and dropped when it goes; without one
// a font measures 0 and draws nothing.
//
// Texts are Windows-1252 bytes: byte 0xB0 is the degree sign.
#pragma once

#include "gdi/XY.h"

#include <QList>
#include <QPainterPath>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QRawFont;

namespace gdi {

// Sizes are device pixels (every mapping the programs draw text under has one
// logical unit per pixel). A negative height is the character height (the em),
// a positive one the cell height (ascent plus descent), 0 a default cell of 16.
// A weight of 0 is normal (400); others are clamped to 100..900.
struct LogFont {
    std::string face;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool operator==(const LogFont&) const = default;
};

class Font {
  public:
    // Never null. The font is looked up when first measured or drawn.
    static std::shared_ptr<const Font> create(const LogFont& lf);
    // The font a device context draws with before one is selected: the system
    // font, a bold sans-serif face with a cell of 16 pixels.
    static std::shared_ptr<const Font> systemFont();

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const LogFont& logFont() const { return lf_; }

    // Cell metrics in pixels (0 without a Qt GUI application).
    int ascent() const;
    int descent() const;
    int cellHeight() const { return ascent() + descent(); }

    // The glyphs of a text with whole-pixel advances, as a device context lays
    // them out; width is their sum.
    struct Layout {
        QList<quint32> glyphs;
        std::vector<int> advances;
        int width = 0;
    };
    Layout layout(std::string_view text) const;
    // Width of the text and the cell height, in pixels.
    XY extent(std::string_view text) const;
    // The outline of a glyph with its origin at (0, 0), y down, in pixels.
    QPainterPath glyphPath(quint32 glyph) const;
    // Underline position below the baseline and thickness, in pixels (at least 1).
    int underlineOffset() const;
    int lineThickness() const;

    // The face fontconfig chose ("" without a Qt GUI application).
    std::string familyName() const;

    // The Qt font, made when needed; null without a Qt GUI application.
    const QRawFont* raw() const;

  private:
    explicit Font(const LogFont& lf);
    void drop() const;
    friend struct FontRegistry;

    LogFont lf_;
    mutable std::mutex mutex_;
    mutable std::unique_ptr<QRawFont> raw_;
};

// Windows-1252 bytes as Qt text (byte 0xB0 is U+00B0; the five bytes Windows-1252
// leaves unassigned become the C1 controls of the same number).
QString textFromCp1252(std::string_view bytes);

} // namespace gdi
