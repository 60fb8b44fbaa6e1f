#include "geo/geoRectPieces.h"
#include <new>
#include "geo/TGeoPolygone.h"
#include "geo/GeoCover.h"

void* geoRectNodeAlloc() {
    return new (std::nothrow) LGeoRect;
}
void geoRectNodeFree(void* node) {
    delete static_cast<LGeoRect*>(node);
}
void geoPointNodeFree(void* node) {
    delete static_cast<TLGeoPoint*>(node);
}
