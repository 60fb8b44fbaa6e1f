// The pictures of the setup program's main form, drawn by the program itself:
// the plan of the boat with its antenna cross and sounder mark, the flags of
// the language button and the glyphs of the chart-copy and shortcut buttons.
// Transparent where nothing is drawn, so what lies below shows through.
#pragma once

#include <QImage>

// The boat seen from above, bow up, starboard on the right.
inline constexpr int kBoatWidth = 58, kBoatHeight = 142;
QImage BoatPicture();

// The GPS antenna's cross, centred on its position.
inline constexpr int kCrossSize = 19;
QImage CrossPicture();

// The echo sounder's mark, centred on its position.
inline constexpr int kSounderMarkWidth = 15, kSounderMarkHeight = 9;
QImage SounderMarkPicture();

// The flag of a language (2 English, any other value Norwegian), 24 x 16.
QImage FlagPicture(int language);

// Button glyphs, 20 x 20: a chart CD, a desktop shortcut, a raster chart.
QImage CdGlyph();
QImage ShortcutGlyph();
QImage RasterGlyph();
