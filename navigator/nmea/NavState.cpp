#include "nmea/NavState.h"

#include "nmea/NavLock.h"

std::recursive_mutex& NavLock() {
    // Never destroyed: reader threads may still take it while the process ends.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

NavShared& NavSharedLocked() {
    static auto* shared = new NavShared;
    return *shared;
}

NavShared NavSnapshot() {
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    return NavSharedLocked();
}

void UpdateNavShared(const std::function<void(NavShared&)>& change) {
    std::lock_guard<std::recursive_mutex> hold(NavLock());
    change(NavSharedLocked());
}
