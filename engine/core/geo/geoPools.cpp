// The node pools of covers and polygons, and their start-up.
#include "geo/GeoCover.h"
#include "geo/TGeoPolygone.h"
#include "geo/geoPools.h"

TinyObjectAllocator LGeoRect::TOAllocator;   // zero until started
TinyObjectAllocator TLGeoPoint::TOAllocator; // zero until started

namespace {

// Starts both pools once. Runs when the library loads (so callers outside
// the library find TLGeoPoint::TOAllocator ready), and again, doing nothing,
// on the first node taken, in case a start-up routine elsewhere builds a
// cover before this one has run.
bool startGeoPools() {
    static const bool started = [] {
        CreateTinyObjectAllocator(&LGeoRect::TOAllocator, sizeof(LGeoRect), _nTinyObjectsPullSize,
                                  nullptr, nullptr);
        CreateTinyObjectAllocator(&TLGeoPoint::TOAllocator, sizeof(TLGeoPoint),
                                  _nTinyObjectsPullSize, nullptr, nullptr);
        return true;
    }();
    return started;
}

__attribute__((constructor)) void startGeoPoolsAtLoad() {
    startGeoPools();
}

// The blocks themselves are released by the runtime when the library unloads.
__attribute__((destructor)) void stopGeoPools() {
    DestroyTinyObjectAllocator(&LGeoRect::TOAllocator);
    DestroyTinyObjectAllocator(&TLGeoPoint::TOAllocator);
}

} // namespace

void* geoRectNodeAlloc() {
    startGeoPools();
    return newTinyObject(&LGeoRect::TOAllocator);
}

void geoRectNodeFree(void* node) {
    delTinyObject(&LGeoRect::TOAllocator, node);
}

void geoPointNodeFree(void* node) {
    delTinyObject(&TLGeoPoint::TOAllocator, node);
}
