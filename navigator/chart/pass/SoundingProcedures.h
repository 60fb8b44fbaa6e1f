// The navigation program's own symbology procedures for soundings (object
// code 147) and underwater rocks (code 168): while the soundings switch is
// off, the chart pass draws them in place of the engine's, and they write only
// the depths down to the sounding depth limit, so that the chart shows the
// shallow water that matters near the boat.
//
// Depths are decimetres: attribute 116 and the per-point values of a sounding
// set are taken times 0.1 in double; a set's value above 12000 is its excess
// over 12000 in whole metres. A depth is drawn when it is not above the limit
// (50 dm at 5.0 m is drawn, 51 dm is not). The values are written by
// _DrawSoundValue with the three style codes of attributes 69 and 92 (bytes)
// and the second character of text attribute 111 (0 when the text is shorter),
// each 0 when absent, without a note or brackets.
//
//   presentation.setSymbProcedure(147, CondSymbProc147);   // for one pass
//   SoundingDepthLimit = 5.0;
#pragma once

class TMapContext;
class GdbObject;
class MapObject;

// Metres; the chart pass sets 5.0 before each query.
extern double SoundingDepthLimit;

// How a depth value is written; _DrawSoundValue unless a test puts its own.
using TSoundValueWriter = void (*)(TMapContext* context, int x, int y, float depth, unsigned a,
                                   unsigned b, unsigned c, char* note, int parentheses);
extern TSoundValueWriter SoundValueWriter;

// Soundings: a point object with attribute 116, or a set of soundings (type
// 6) whose points are each drawn when not deeper than the limit (the deeper
// ones are skipped: the sets are not ordered by depth). Nothing when the
// context's scale exponent is below -1.
void CondSymbProc147(TMapContext* context, GdbObject* object, MapObject* geometry);

// An underwater rock (point objects only), nothing at all when attribute 116
// is deeper than the limit. Its depth, when it has one, is written at the
// point, or 10 pixels to its right when attribute 124 (the kind of rock) is
// above 0; then the kind's mark in font 35 in colour 0 at the point: 1 and 2
// glyph 75, 3 glyph 76, 4 glyph 74, 5 glyph 77, others none. Nothing when the
// context's scale exponent is below -1.
void CondSymbProc168(TMapContext* context, GdbObject* object, MapObject* geometry);
