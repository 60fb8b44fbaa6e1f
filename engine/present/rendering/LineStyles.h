// The plain records of line and area styles: one element (TLineMarker), a
// styled line (TStyledLine) and a tiled area (TStyledArea). Procedures and
// the navigation program build them on the stack or as constants and hand
// them to the renderers (rendering/Renderers.h); the renderers only read them.
#pragma once

#include <cstdint>

// Element kinds.
inline constexpr std::int32_t kMarkerGap = 0;     // a stretch left empty
inline constexpr std::int32_t kMarkerStroke = 1;  // a stroke of the line
inline constexpr std::int32_t kMarkerGlyph = 2;   // a glyph turned to the line
inline constexpr std::int32_t kMarkerText = 3;    // a text along the line
inline constexpr std::int32_t kMarkerUpright = 4; // an upright glyph (areas only)

// Element flags.
inline constexpr std::uint8_t kMarkerToVertex = 1;     // a piece stops at the next vertex
inline constexpr std::uint8_t kMarkerChord = 4;        // pieces are chords of the line
inline constexpr std::uint8_t kMarkerSizedStep = 16;   // the step unit is the size field
inline constexpr std::uint8_t kMarkerSizedLength = 32; // the length is the size field
inline constexpr std::uint8_t kMarkerInterrupted = 64; // an interrupted line (one-element styles)

// One element of a line or area style.
struct TLineMarker {
    // kMarkerGap ... kMarkerUpright; other kinds measure 0 and draw nothing.
    std::int32_t kind;
    // kMarker* flag bits.
    std::uint8_t flags;
    // Chart colour number.
    std::uint8_t colour;
    // Glyph code (glyphs); a stroke's dash pattern, low byte; a text
    // element's text length.
    std::uint8_t character;
    // Font number of GD_SelFont (glyphs and texts); a stroke's dash pattern,
    // high byte. A stroke with both bytes 0 is solid.
    std::int8_t font;
    // Gaps and strokes: length in pixels; glyphs: copies. In the end marker
    // of an interrupted line: the spacing of its elements in pixels.
    std::int16_t count;
    // Strokes: pen width (low byte); strokes and glyphs: the step unit or
    // the length where the flags say so.
    std::int16_t size;
    // The text of a text element (zero-terminated; not owned), or null.
    char* text;
};

// A stroke's 16-bit dash pattern (0 solid).
inline unsigned short markerDashPattern(const TLineMarker& m) {
    return static_cast<unsigned short>(m.character | (static_cast<std::uint8_t>(m.font) << 8));
}

// The most elements a style holds.
inline constexpr int kStyleElements = 16;

// A line style: the elements, repeated in order along the line, and the
// marker that stands in for a glyph or text that does not fit (and carries
// the spacing, width and dash of an interrupted line).
struct TStyledLine {
    // Not read by the renderers.
    std::uint16_t reserved;
    // Elements in use, 1 to 16; any other count draws nothing.
    std::int16_t count;
    TLineMarker* elements[kStyleElements];
    // Or null.
    TLineMarker* endMarker;
};

// An area pattern: a row of elements (glyphs and texts) tiled over the area.
struct TStyledArea {
    // 0: staggered rows, every second cell used; other values: aligned rows.
    std::int32_t layout;
    // Elements in use, 1 to 16; any other count draws nothing.
    std::int16_t count;
    TLineMarker* elements[kStyleElements];
};
