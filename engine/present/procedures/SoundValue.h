// One depth value written in the chart style: the whole metres in font -1,
// the tenth as a smaller digit of font -2 beside them, with optional marks
// that qualify the sounding and an optional note to the right.
//
// Layout, in window coordinates (y up), with W the whole part and D the
// tenth digit of the value formatted with one decimal ("C" conventions):
//   w1, h1 = width and height of W in font -1; w2, h2 those of D in font -2,
//            both 0 when D is '0' (then only W is written);
//   hw = (w1 + w2) / 2, hh = (h1 + h2 / 3) / 2 (whole-number divisions);
//   left = x - hw, top = y - hh.
// W is written at (left, top + h2 / 3) and D at (left + w1, top): text fonts
// stand on the bottom-left corner of their cell, so D stands h2 / 3 lower
// than W, as a subscript, and the whole value is centred on (x, y).
//
// Qualifiers (each one a code of the sounding's attributes):
//   a = 2, or b = 5 or 9: a background ellipse in the depth-zone colour of
//       the depth, radii hw + 3 and hh + 2 about (x, y);
//   a = 2, or b = 3, 5 or 9: a dotted ring of colour 0 on the same ellipse;
//   c = 6: a bracket of colour 0 under the value (a horizontal at top - 6
//       from left - 4 to x + hw + 4, ticks up to top - 3 at both ends);
//   b = 7: a bar of colour 0 over the value (at y + hh + 6, from left - 6 to
//       x + hw + 6).
// With parentheses the value is written between "(" and ")" and neither
// background nor ring is drawn. A note (not null, not empty) is written in
// font -1 at (x + hw + 6, y - 5). Everything is drawn in colour 0 except the
// background.
//
// Edges: a value that formats as "-0.0" is written as "0"; a value that is
// not finite or does not format within 19 characters draws nothing. A null
// context counts as a context without depth zones (background colour 1).
// The current font is left as the last step selected it.
//
// Example: a sounding of 12.5 m with a dotted ring.
//   _DrawSoundValue(context, at.x, at.y, 12.5f, 0, 3, 0, nullptr, 0);
#pragma once

class TMapContext;

extern "C" {

// Writes depth (metres) centred on the window point (x, y) with the
// qualifiers a, b and c, the note and parentheses (non-zero) as above.
void _DrawSoundValue(TMapContext* context, int x, int y, float depth, unsigned a, unsigned b,
                     unsigned c, char* note, int parentheses);
}
