// Text and colour helpers shared by the read-out panels and the status bar's
// gadgets.
#pragma once

#include "ui/Types.h"

// The text colour of a colour type at an illumination level: 1 red, 2 blue,
// 3 green, 4 yellow, 5 magenta, 6 black, each lit channel at 255 by day
// (level 0), 191 at level 1 and 127 above.
ui::TColor TextColourByType(int type, int illuminationLevel);
