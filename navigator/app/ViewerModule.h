// The navigation program's resources: the frame's icon (20001), the glyphs
// of the chart level buttons (bitmaps 111 to 118, named by their commands),
// the chart window's symbol strip (bitmap 200, also "SYMBOLS_BG"), the
// glyphs of its floating tool box (chart/TFloatingToolBox.h) and its cursors
// 19994 to 19999 (32 x 32); the
// dialog templates (resources/DialogTemplates.h) and the custom control
// classes they name (dialogs/ControlClasses.h). Later parts of the program
// register their own templates and pictures here.
#pragma once

#include "ui/Module.h"

inline constexpr int kViewerIcon = 20001;

ui::TModule& ViewerModule();
