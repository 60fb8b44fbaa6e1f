// Fonts of the graphics layer: the 17-row font table, start-up and shut-down of
// the symbol font files, and font selection.
//
// Callers name fonts by number, not by row (GD_SelFont): -2 to 2 and 8 to 16
// are text fonts, 33 "INT1 Bouys", 34 "INT1 Vector", 35 "INT1 Symbols" (the
// project's own symbol font files, see fonts/), 36 the built-in stroke font.
// Text fonts name Windows faces ("Arial", "Times New Roman"); they resolve
// through fontconfig to installed faces, metric-compatible ones where they exist.
//
// The state is process-wide and unguarded by itself: drawing is serialised by
// the engine's draw lock; GD_Init and GD_Done run at library load and unload.
// Qt font objects are made on first use, once a Qt GUI application exists;
// without one, text draws nothing and measures 0.
#pragma once

#include "graphics/GlyphCache.h"

#include <QRawFont>
#include <QString>

#include <array>
#include <string>

// Text alignment flags of the device context (GDI values).
inline constexpr int kTaLeft = 0, kTaTop = 0, kTaRight = 2, kTaCenter = 6, kTaBottom = 8,
                     kTaBaseline = 24;

// The logical font of a row, in the device's logical units (pixels). A negative
// height is the character height (the em), a positive one the cell height
// (ascent plus descent). Weight 0 is normal (400).
struct LogFont {
    int height = 0;
    int width = 0; // average character width; not used (the symbol fonts are drawn to their cell)
    int weight = 0;
    bool italic = false;
    bool underline = false;
    int charSet = 0;
    int outPrecision = 0;
    int clipPrecision = 0;
    int pitchAndFamily = 0;
    const char* face = "";
};

// Row kinds: 0 empty, 1 system face from the logical font, 2 bitmap font file
// (base name + ".FON", else ".TTF"), 3 TrueType file (base name + ".TTF").
struct FontRow {
    int kind;
    const char* file; // base name of the font file, or null
    LogFont font;
};

inline constexpr int kFontRows = 17;
inline constexpr int kVectorFontRow = 6;
extern const std::array<FontRow, kFontRows> GD_FontTable;

// What a font number selects: the row (-1: none), the row taken when that one
// has no font (-1: none), the text alignment, and whether it is the stroke
// font (which selects nothing into the device context and keeps the alignment).
struct FontChoice {
    int row = -1;
    int fallback = -1;
    int align = kTaBottom;
    bool vector = false;
};
FontChoice GD_FontChoice(int fontNumber);

extern "C" {
// Library start-up: keeps the font directory (null: the current directory; a
// given one is kept as it is and must end in a separator) unless one is kept
// already, then finds the file of every symbol font row there. A row whose file
// is missing has no font (selecting it selects nothing) and leaves the
// fonts-loaded flag 0; the other rows work. With a null directory, a file that
// is not in the current directory is also looked for where the build and the
// installation put the project's fonts. Always returns 0.
int GD_Init(const char* fontDirectory, int, int);

// Library shut-down: drops every row's font (and the files' registration with
// Qt), deselects the current font and forgets the font directory.
void GD_Done();

// Selects a font by number (see GD_FontChoice). When neither the row nor its
// fallback has a font, or the number has none, the current font becomes -1 (no
// font: text output does nothing). Font 36 makes the stroke font current and
// leaves the device context's font and the alignment as they were.
void GD_SelFont(int fontNumber);
}

// The current font row (-1: none; 6: the stroke font).
int gdCurrentFont();
// The row whose font the device context holds (-1: its default system font).
int gdDeviceFont();
// The text alignment set by the last selection (kTa* flags).
int gdTextAlign();
// Whether GD_Init found every symbol font file.
bool gdFontsLoaded();
// The operating system's platform id the layer reports: 2, the NT family.
unsigned gdPlatformId();
// The kept font directory ("" when none).
const std::string& gdFontDirectory();
// Whether a row has a font (its "handle").
bool gdRowPresent(int row);
// The file a file row was found in ("" when none).
const std::string& gdRowFile(int row);

// A row's font as Qt draws it. Symbol font rows map byte c to the glyph of
// U+F000 + c; text rows read bytes as Windows-1252. The text path keeps what
// it asks of the face in its cache (GlyphCache.h), which goes with the face.
struct GdFace {
    QRawFont raw;
    bool symbol = false;
    bool underline = false;
    mutable GdGlyphCache cache;
};
// The face of a row (-1: the device context's default system font); null when
// the row has no font or no Qt GUI application exists.
const GdFace* gdFace(int row);
// The characters of a byte text as a face reads them.
QString gdFaceText(const GdFace& face, const char* bytes, std::size_t n);
