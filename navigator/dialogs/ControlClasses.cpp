#include "dialogs/ControlClasses.h"

#include "dialogs/TColorControl.h"
#include "dialogs/TGraphWindow.h"

void RegisterDialogControlClasses() {
    ui::RegisterClass("TGraphWindow", [](ui::TWindow* parent, int id) -> ui::TWindow* {
        return new TGraphWindow(parent, id, nullptr);
    });
    ui::RegisterClass("ColorControl", [](ui::TWindow* parent, int id) -> ui::TWindow* {
        return new TColorControl(parent, id);
    });
}
