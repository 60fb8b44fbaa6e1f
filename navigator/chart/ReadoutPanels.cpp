#include "chart/ReadoutPanels.h"

// The panels are not part of the program yet: nothing is made.

ui::TWindow* MakeReadoutPanel(TMapWindow&, TReadoutPanel) {
    return nullptr;
}

void UpdateReadoutPanel(ui::TWindow&, TReadoutPanel) {}

bool PositionPanelShowsCursor(const ui::TWindow&) {
    return false;
}

ui::TWindow* MakeHelpDialog(TMapWindow&) {
    return nullptr;
}
