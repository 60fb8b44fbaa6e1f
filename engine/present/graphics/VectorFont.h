// The built-in stroke font of the graphics layer (font 36): 26 glyphs, codes 0
// to 25, each a short list of drawing commands in glyph units with y up.
//
// A glyph record is twelve 16-bit fields: [0] offset of its commands in the
// shared command stream (in 16-bit words), [1] width, [3] and [4] the height as
// a 32-bit value (low word first), [9] advance width, [11] number of commands;
// the others are 0. A command is a word of two ASCII letters (first letter in
// the low byte) followed by signed 16-bit operands:
//   "CP" style, width, colour   the glyph pen
//   "CB" style, colour, hatch   the glyph brush
//   "DP" n, n points            polyline with the pen (nothing without one)
//   "FP" n, n points            polygon with the brush, outlined by the pen when
//                               there is one (nothing without a brush)
//   "MT" point                  centre for the circle commands
//   "DC" radius                 circle outline with the pen, hollow
//   "FC" radius                 filled circle with the brush, no outline
// An unknown word is skipped as a command without operands. Colours are chart
// colour numbers; pen and brush live for one glyph only.
#pragma once

#include "geo/Point.h"

#include <array>
#include <cstdint>
#include <vector>

struct VectorGlyphRecord {
    std::uint16_t field[12];
    int offset() const { return field[0]; }
    int width() const { return field[1]; }
    std::int32_t height() const { return std::int32_t(field[3] | (std::uint32_t(field[4]) << 16)); }
    int advance() const { return field[9]; }
    int commands() const { return field[11]; }
};

inline constexpr int kVectorGlyphCount = 26;

// The glyph record of a code; null below 0 or from 26 on.
const VectorGlyphRecord* VG_Glyph(int ch);
// The shared command stream.
const std::vector<std::int16_t>& VG_CommandStream();

struct VectorPen {
    int style, width, colour;
};
struct VectorBrush {
    int style, colour, hatch;
};

// What a glyph draws, in the caller's coordinates (already transformed).
class VectorGlyphSink {
  public:
    virtual ~VectorGlyphSink() = default;
    virtual void polyline(const VectorPen& pen, const std::vector<Point>& points) = 0;
    // pen is null when the glyph has no pen: the polygon has no outline.
    virtual void polygon(const VectorBrush& brush, const VectorPen* pen,
                         const std::vector<Point>& points) = 0;
    virtual void circle(const VectorPen& pen, Point centre, int radius) = 0;
    virtual void filledCircle(const VectorBrush& brush, Point centre, int radius) = 0;
};

// Where the glyph point (gx, gy) lands for the origin (ox, oy) and a matrix of
// GD_RotationMatrix: (ox + (gx m0 + gy m1) / 65536, oy - (gx m2 + gy m3) / 65536),
// both divisions arithmetic shifts (towards minus infinity).
Point VG_TransformPoint(int ox, int oy, int gx, int gy, const std::array<std::int32_t, 4>& m);

// Runs the commands of glyph ch with its origin at (ox, oy). Codes outside 0 to
// 25 draw nothing; a command whose operands would run past the stream ends the glyph.
void VG_DrawGlyph(VectorGlyphSink& sink, int ox, int oy, int ch,
                  const std::array<std::int32_t, 4>& m);

// Glyph ch count times (0 counts as 1), turned by angle degrees (counterclockwise
// where y points up) and scaled by 2 to the power scale; after each copy the
// origin moves on by the advance width along the angle, (cos a, sin a), and is
// rounded to whole units for each copy.
void VG_DrawGlyphs(VectorGlyphSink& sink, int x, int y, int ch, double angle, int scale, int count);
