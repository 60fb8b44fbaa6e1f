#include "shell/NavigatorPresence.h"

#include "os/instanceLocks.h"

bool AnyNavigatorRunning() {
    for (const char* title : kNavigatorTitles)
        if (os::isWindowPresent(title)) return true;
    return false;
}
