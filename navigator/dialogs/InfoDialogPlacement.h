// Where the two object-information dialogs (TObjectInfoDialog,
// TDbInfoDialog) stand, and how they hold and free the mouse cursor.
//
// A dialog goes to the screen's top left, (5, 5), when the click that opened
// it lies right of the screen's middle or the 3D view runs (which takes the
// right side); otherwise to the top right, (screen width - its width - 5, 5).
// Its height is 540. The cursor is held in the dialog and put 160 pixels
// right of and 10 below the OK button's top left corner.
//
//   PlaceInfoDialog(*this, click);    // the dialog's set-up, once the items exist
//   ReleaseInfoDialog();              // its clean-up: the cursor freed, a redraw asked
#pragma once

#include "ui/Types.h"

namespace ui {
class TDialog;
}

inline constexpr int kInfoDialogHeight = 540;

// The dialog's top left corner (screen pixels) for a click at screen point
// `click`, a dialog `width` pixels wide on a screen `screenWidth` pixels
// across. "Right of the middle" is click.x > screenWidth / 2.
ui::TPoint InfoDialogPlace(const ui::TPoint& click, int width, int screenWidth,
                           bool viewer3dRunning);

// Moves and sizes the dialog as above (the screen of ui::GetScreenCaps, the
// running flag of Is3DViewRunning), holds the cursor in it and puts the
// cursor by its OK button.
void PlaceInfoDialog(ui::TDialog& dialog, const ui::TPoint& click);

// Frees the cursor and asks the chart window to redraw at its next tick.
void ReleaseInfoDialog();
