#include "app/ViewerModule.h"

#include "dialogs/ControlClasses.h"
#include "resources/DialogTemplates.h"

#include <string>

namespace {

// Registered once, when the module is first asked for.
struct ViewerResources {
    ui::TModule module{"vardekka"};
    ViewerResources() {
        module.AddIcon(kViewerIcon, ":/vardekka/icon-20001.png");
        for (int command = 111; command <= 118; ++command)
            module.AddBitmap(command, ":/vardekka/level-" + std::to_string(command) + ".png");
        // The chart window's symbol strip, by number and by name.
        module.AddBitmap(200, ":/vardekka/symbols-200.png");
        module.AddBitmap("SYMBOLS_BG", ":/vardekka/symbols-200.png");
        module.AddDialogs(TideDialogTemplates());
        module.AddDialogs(ReadoutDialogTemplates());
        module.AddDialogs(InfoDialogTemplates());
        RegisterDialogControlClasses();
    }
};

} // namespace

ui::TModule& ViewerModule() {
    static ViewerResources resources;
    return resources.module;
}
