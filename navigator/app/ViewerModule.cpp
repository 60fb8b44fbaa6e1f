#include "app/ViewerModule.h"

#include "chart/TFloatingToolBox.h"
#include "dialogs/ControlClasses.h"
#include "resources/DialogTemplates.h"

#include <string>

namespace {

// The chart window's cursors and their hot spots, as the pictures'
// generator (resources/make_toolbox_images.py) draws them.
struct CursorPicture {
    int id, hotX, hotY;
};
constexpr CursorPicture kCursors[] = {{19994, 15, 15}, {19995, 1, 1},   {19996, 15, 15},
                                      {19997, 15, 15}, {19998, 15, 15}, {19999, 15, 15}};

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
        // The floating tool box's glyphs and the chart window's cursors.
        for (const TToolBoxButton& b : ToolBoxButtons())
            module.AddBitmap(b.glyph, ":/vardekka/toolbox-" + std::to_string(b.glyph) + ".png");
        for (const CursorPicture& c : kCursors)
            module.AddCursor(c.id, ":/vardekka/cursor-" + std::to_string(c.id) + ".png", c.hotX,
                             c.hotY);
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
