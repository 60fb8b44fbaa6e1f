#include "chart/ChartFrames.h"

#include "proj/Map.h"
#include "ui/Window.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr double kDegreesPerNrm = 8.381903171539305e-8;

// A sum of two coordinates, held within the int range (far points saturate).
int saturated(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

ClientPoint ClientCentre(const ui::TRect& client) {
    return {(client.left + client.right + 1) / 2, (client.top + client.bottom + 1) / 2};
}

ClientPoint ToClient(const ChartPoint& p, const ui::TRect& client) {
    const ClientPoint c = ClientCentre(client);
    return {saturated(std::int64_t(c.x) + p.x), saturated(std::int64_t(c.y) - p.y)};
}

ChartPoint ToChart(const ClientPoint& p, const ui::TRect& client) {
    const ClientPoint c = ClientCentre(client);
    return {saturated(std::int64_t(p.x) - c.x), saturated(std::int64_t(c.y) - p.y)};
}

ScreenPoint ToScreen(const ui::TWindow& window, const ClientPoint& p) {
    ui::TPoint s{p.x, p.y};
    window.ClientToScreen(s);
    return {s.x, s.y};
}

ChartPoint ChartPointOf(Map& map, const GeoPoint& g) {
    Point p{0, 0};
    map.Geo2Map(&g, &p, 1);
    if (map.win) map.win->Map2Win(&p, &p, 1);
    return {p.x, p.y};
}

GeoPoint GeoPointOf(Map& map, const ChartPoint& c) {
    Point p{c.x, c.y};
    if (map.win) map.win->Win2Map(&p, &p, 1);
    GeoPoint g{0, 0};
    map.Map2Geo(&p, &g, 1);
    return g;
}

ClientPoint ClientPointOf(Map& map, const GeoPoint& g, const ui::TRect& client) {
    return ToClient(ChartPointOf(map, g), client);
}

double NrmToDegrees(std::int32_t angle) {
    return angle * kDegreesPerNrm;
}
