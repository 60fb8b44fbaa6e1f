#include "context/TMapContext.h"

#include "gdb/GdbObject.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGeoDb.h"
#include "graphics/GraphicsLayer.h"
#include "presentation/TPresLib.h"
#include "proj/Map.h"
#include "proj/MapObject.h"
#include "runtime/TLocker.h"

#include <climits>
#include <cstdint>
#include <memory>

namespace {

// Converts the geometry from plane to window coordinates in place, by its
// type: the point, the rectangle, or the bounds and the points of all parts
// (of the first part only for soundings).
void toWindow(Map::Win& win, MapObject& g) {
    switch (g.type) {
    case egtPoint:
    case egtInlinePoint: {
        Point p{g.bounds.left, g.bounds.top};
        win.Map2Win(&p, &p, 1);
        g.bounds.left = p.x;
        g.bounds.top = p.y;
        break;
    }
    case egtRect:
        win.Map2Win(&g.bounds, &g.bounds, 1);
        break;
    case egtLine:
    case egtArea:
    case egtSoundings: {
        win.Map2Win(&g.bounds, &g.bounds, 1);
        if (!g.points || !g.pointCounts || g.partCount <= 0) break;
        const std::int32_t parts = g.type == egtSoundings ? 1 : g.partCount;
        std::int64_t n = 0;
        for (std::int32_t i = 0; i < parts; ++i)
            if (g.pointCounts[i] > 0) n += g.pointCounts[i];
        if (n > 0) win.Map2Win(g.points, g.points, static_cast<int>(n > INT_MAX ? INT_MAX : n));
        break;
    }
    default:
        break;
    }
}

} // namespace

TOS::TLocker& DrawLock() {
    static TOS::TLocker lock;
    return lock;
}

TMapContext::TMapContext(gdi::Dc* dc_, Map* map_, GeoRect& rect_, int scaleExponent_,
                         EDetails details_, EPresMode mode_)
    : map(map_), reserved(0), dc(dc_), rect(rect_), scaleExponent(scaleExponent_),
      details(details_), presMode(mode_), depthZoneCount(0), depthZones(nullptr) {}

void TMapContext::Draw(GdbObject* object) {
    if (!object) return;
    const int code = object->GetLabel();
    TGeoDb* database = object->GetDatabase();
    TGdbDictionary* dictionary = database ? database->GetDictionary() : nullptr;
    // Tables of another kind (attached by tests or other presentations) have
    // no procedures.
    const auto* library =
        dictionary ? dynamic_cast<const TPresLib*>(dictionary->GetPresentation()) : nullptr;
    if (!library || !library->procs || static_cast<unsigned>(code) >= library->procCount) return;
    const CondSymbProc procedure = library->procs[code];
    if (!procedure) return;

    MapObject local(egtPoint, -1);
    MapObject* geometry = object->newMapObject(map, rect, &local);
    if (!geometry) return;
    // A database that answers a new object instead of filling ours hands it
    // over: it is freed with ours.
    std::unique_ptr<MapObject> own(geometry != &local ? geometry : nullptr);
    if (map && map->win) toWindow(*map->win, *geometry);

    TOS::TLocker::TLock lock(&DrawLock());
    gdSetCurrentDc(dc);
    procedure(this, object, geometry);
}
