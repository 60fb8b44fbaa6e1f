// The navigation program's entry, called by the window layer's main.
#include "app/KVViewerApp.h"
#include "app/OutsidePrograms.h"
#include "app/ViewerSettings.h"
#include "os/instanceLocks.h"
#include "ui/MessageBox.h"

#include <exception>
#include <memory>
#include <string>

namespace {

// The presence lock taken with the settings is held until the program ends.
struct PresenceRelease {
    ~PresenceRelease() { ViewerPresenceLock().release(); }
};

} // namespace

int OwlMain(int, char*[]) {
    PresenceRelease presence;
    // Declared before the application, so on a throw the application goes
    // first and the outside programs are stopped after it.
    TOutsideProgramsGuard outsidePrograms;
    std::unique_ptr<KVViewerApp> app;
    std::string failure;
    try {
        if (!LoadSettings()) return -1;
        StartGenerator();
        app = MakeViewerApp();
        const int result = app->Run();
        outsidePrograms.Stop();
        app.reset();
        return result;
    } catch (const char* text) {
        failure = text ? text : "";
    } catch (int code) {
        // The look-up table loaders' codes: 10 for OBJLUT.DIC, 11 for ATTRLUT.DIC.
        failure = std::to_string(code);
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Unknown exception";
    }
    ui::MessageBox(nullptr, failure.c_str(), "Exception", ui::MB_TASKMODAL | ui::MB_ICONHAND);
    app.reset();
    return -1;
}
