// The read-out panels as the chart window's timer makes, refreshes and
// destroys them: which panel a kind is, how it is made as the chart window's
// panel, and how it is given its values.
//
//   ui::TWindow* depth = MakeReadoutPanel(*chart, TReadoutPanel::Depth);
//   if (depth) UpdateReadoutPanel(*depth, TReadoutPanel::Depth);
#pragma once

namespace ui {
class TWindow;
}
class TMapWindow;

enum class TReadoutPanel { Position, Date, Wind, Bearing, SpeedCourse, Depth, Route1, Route2 };

// Makes the panel of the kind, owned by the chart window, and creates its
// window; null when it could not be made.
ui::TWindow* MakeReadoutPanel(TMapWindow& owner, TReadoutPanel kind);
// Writes the panel's values from the program-wide state.
void UpdateReadoutPanel(ui::TWindow& panel, TReadoutPanel kind);
// Whether the position panel shows the cursor's position rather than own ship's.
bool PositionPanelShowsCursor(const ui::TWindow& panel);
// Makes and shows the help dialog without a modal loop; null when it could not
// be made.
ui::TWindow* MakeHelpDialog(TMapWindow& owner);
