// What the text path of the graphics layer asks a face for again and again,
// kept with the face: the glyph and whole-pixel advance of each byte, each
// glyph's outline, and the pixels an upright glyph covers.
//
// Qt rebuilds an outline (FreeType runs the glyph's hinting program again)
// every time it is asked for one, and filling it means a mask picture and a
// painter per call. An upright glyph is placed on whole device pixels (the
// pen position and the baseline are whole numbers), so the pixels it covers
// are the same wherever it is drawn: they are rasterised once, at the
// glyph's origin, as runs of whole rows, and shifted to each place. A symbol
// glyph's runs are its outline filled; a text glyph's are what Qt's glyph
// renderer draws without antialiasing, grid-fitted by the font's hints.
//
// A cache belongs to its face (GdFace, GraphicsFonts.h) and goes with it:
// at GD_Done and when the Qt application goes. It is used under the same rule
// as the layer's other process-wide state: by one thread at a time (the draw
// lock, or the navigation program's window thread).
#pragma once

#include "gdi/Dc.h"

#include <QPainterPath>
#include <QRect>

#include <array>
#include <unordered_map>
#include <vector>

struct GdFace;

// The pixels a path in device pixels (y down) covers when Qt fills it without
// antialiasing, limited to `limit`, appended to out as runs of whole rows.
void gdPathSpans(const QPainterPath& path, const QRect& limit, std::vector<gdi::Dc::Span>& out);

class GdGlyphCache {
  public:
    // A byte's glyph index in the face (0: none) and its advance in whole
    // pixels.
    struct ByteGlyph {
        quint32 glyph = 0;
        int advance = 0;
    };
    const ByteGlyph& byteGlyph(const GdFace& face, unsigned char byte);

    // A glyph's outline in pixels, origin at the pen position on the
    // baseline, y down.
    const QPainterPath& outline(const GdFace& face, quint32 glyph);

    // The pixels the glyph covers drawn upright with its origin at (0, 0):
    // runs whose y is the row relative to the baseline and x0, x1 relative
    // to the pen position.
    const std::vector<gdi::Dc::Span>& coverage(const GdFace& face, quint32 glyph);

    // The face's ascent and cell height (ascent plus descent), each rounded
    // to whole pixels.
    int ascent(const GdFace& face);
    int cellHeight(const GdFace& face);

  private:
    void measure(const GdFace& face);

    std::array<ByteGlyph, 256> bytes_{};
    std::array<bool, 256> known_{};
    std::unordered_map<quint32, QPainterPath> outlines_;
    std::unordered_map<quint32, std::vector<gdi::Dc::Span>> coverage_;
    bool measured_ = false;
    int ascent_ = 0;
    int cellHeight_ = 0;
};
