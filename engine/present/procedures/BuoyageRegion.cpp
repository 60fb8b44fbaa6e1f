#include "procedures/BuoyageRegion.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "procedures/AttributeReads.h"
#include "proj/Map.h"

unsigned long RegionQueryScale(std::uint32_t mapScale, int exponent) {
    constexpr std::uint64_t largest = 0xFFFFFFFFu;
    if (exponent >= 0) {
        // Shifting by the type's width or more is undefined: saturate first.
        if (exponent >= 32) return mapScale ? largest : 0;
        const std::uint64_t scaled = static_cast<std::uint64_t>(mapScale) << exponent;
        return scaled > largest ? largest : scaled;
    }
    if (exponent <= -32) return 0;
    return mapScale >> -exponent;
}

unsigned BuoyageRegionAt(TMapContext* context, TGeoDb* database, Point at) {
    if (!context || !context->map || !database) return 0;
    Map* map = context->map;

    static const std::uint32_t coverage[] = {kCoverageCode};
    const TGdbFormula formula{0, 0xFFFFFFFFu, 0xFFFFFFFFu, 2, 1, 1, 1, coverage, 0, nullptr, 0};
    TGdbQuery query(*database);
    query.setFormula(&formula);

    Point plane = at;
    if (map->win) map->win->Win2Map(&plane, &plane, 1);
    const Rect around{plane.x - 1, plane.y - 1, plane.x + 1, plane.y + 1};
    // The whole world, unless the map converts the rectangle.
    GeoRect rect{static_cast<std::int32_t>(0x80000001u), static_cast<std::int32_t>(0xC0000000u),
                 0x7FFFFFFF, 0x40000000};
    map->Map2Geo(&around, &rect, 1);

    unsigned region = 0;
    if (query.open(rect, RegionQueryScale(map->scale, context->scaleExponent), nullptr)) {
        while (GdbObject* o = query.next())
            if (o->GetLabel() == static_cast<int>(kCoverageCode) &&
                AttrByte(o, kBuoyageRegionAttr, region))
                break;
    }
    query.close();
    return region;
}
