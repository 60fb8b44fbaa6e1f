#include "geo/TGeoPolygone.h"

#include "geo/geoPools.h"

#include <algorithm>

TGeoPolygone::~TGeoPolygone() {
    while (head != nullptr) {
        TLGeoPoint* n = head;
        head = n->next;
        geoPointNodeFree(n);
    }
    tail = nullptr;
    count = 0;
}

void TGeoPolygone::calcCover() {
    if (head == nullptr) return;
    const std::uint32_t first = static_cast<std::uint32_t>(head->p.lon);
    std::int32_t lat1 = head->p.lat, lat2 = head->p.lat;
    std::int32_t west = 0, east = 0;
    for (const TLGeoPoint* n = head; n != nullptr; n = n->next) {
        lat1 = std::min(lat1, n->p.lat);
        lat2 = std::max(lat2, n->p.lat);
        const auto d = static_cast<std::int32_t>(static_cast<std::uint32_t>(n->p.lon) - first);
        west = std::min(west, d);
        east = std::max(east, d);
    }
    cover = {static_cast<std::int32_t>(first + static_cast<std::uint32_t>(west)), lat1,
             static_cast<std::int32_t>(first + static_cast<std::uint32_t>(east)), lat2};
}
