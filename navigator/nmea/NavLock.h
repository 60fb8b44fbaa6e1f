// The lock of the shared navigation record, for the NMEA input's own code.
#pragma once

#include <mutex>

#include "nmea/NavState.h"

// The one lock around NavShared; re-entrant.
std::recursive_mutex& NavLock();
// The shared record itself; only while NavLock() is held.
NavShared& NavSharedLocked();
