// The chart window's light flash animation (chart/LightAnimation.h): the
// table built from the view, the step of the timer and the lit marks drawn
// again on the own-ship overlay's copy.
#include "chart/TMapWindow.h"

#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/LightAnimation.h"

#include "gdb/GdbObject.h"
#include "gdb/TGdbQuery.h"
#include "proj/Map.h"
#include "proj/MapObject.h"

#include <optional>

namespace {

constexpr unsigned kColourAttr = 59;

// The first point of a projected object, in plane units.
std::optional<Point> firstPoint(const MapObject& m) {
    switch (m.type) {
    case egtPoint:
    case egtRect:
    case egtInlinePoint:
        return Point{m.bounds.left, m.bounds.top};
    case egtLine:
    case egtArea:
    case egtSoundings:
        if (m.partCount > 0 && m.pointCounts && m.pointCounts[0] > 0 && m.points)
            return m.points[0];
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

void TMapWindow::RebuildLightTable() {
    TLightAnimation& animation = LightAnimation();
    ClearLightTable(animation);
    TGeoDb* database = ChartDatabase();
    if (!database || !map || !(displayScale > 0) || !(levelScale > 0)) return;

    // The rectangle and the scale of the drawing pass, so that the lights
    // animated are the lights drawn.
    const ui::TRect client = GetClientRect();
    const ui::TRect view = ChartViewRect(client);
    GeoRect rect = ChartPassGeoRect(*map, Rect{view.left, view.top, view.right, view.bottom});
    const TGdbFormula formula = LightQueryFormula(static_cast<std::uint32_t>(displayMaskA));
    TGdbQuery query(*database);
    if (!query.open(rect, ChartPassScales(levelScale, displayScale).queryScale, &formula)) return;

    MapObject reuse(egtEmpty, -1);
    while (GdbObject* object = query.next()) {
        if (!object->GetAttr(kColourAttr)) continue;
        MapObject* geometry = object->newMapObject(map.get(), rect, &reuse);
        std::optional<Point> at;
        if (geometry && geometry->type != egtEmpty) at = firstPoint(*geometry);
        if (geometry && geometry != &reuse) delete geometry;
        if (!at) continue;
        if (map->win) map->win->Map2Win(&*at, &*at, 1);
        const ClientPoint c = ToClient(ChartPoint{at->x, at->y}, client);
        TLightEntry entry = LightEntryOf(ReadLightAttributes(*object));
        entry.x = c.x;
        entry.y = c.y;
        if (!AddLight(animation, entry)) break;
    }
    query.close();
}

void TMapWindow::StepLightAnimation() {
    StepLights(LightAnimation(), ChartWindowState().ownShipClient, GetDC(), memPicture1.get(),
               GetClientRect(), pens);
}

void TMapWindow::DrawLitLightMarks(gdi::Dc& dc) {
    const TLightAnimation& animation = LightAnimation();
    const ui::TRect client = GetClientRect();
    for (int i = 0; i < animation.count && i < kLightTableMax; ++i) {
        const TLightEntry& e = animation.entries[std::size_t(i)];
        if (e.drawn) DrawLightMark(dc, e, client, pens);
    }
}
