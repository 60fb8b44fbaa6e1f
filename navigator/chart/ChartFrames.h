// The four frames the chart window works in, each with a point type of its
// own, so that a point of one frame is never taken for a point of another:
//
//  - client (ClientPoint): pixels of the chart window's client area, origin at
//    its top left, y down. Mouse clicks, own ship's point, the last logged
//    and last track points and the route table's points are client points.
//  - chart units (ChartPoint): the plane units of the window's `Map`, one per
//    pixel, origin at the client centre ((left + right + 1) / 2,
//    (top + bottom + 1) / 2, integer halving), y up. The chart pass draws in
//    them. client = (cx + x, cy - y), and back.
//  - screen (ScreenPoint): pixels of the screen, for placing the mouse cursor
//    only.
//  - geographic: `GeoPoint`, binary angles.
//
//   const ClientPoint ship = ClientPointOf(*map, ownShip, window.GetClientRect());
//   const ChartPoint rel = ToChart(ship, window.GetClientRect());   // from the centre, y up
//   const GeoPoint ahead = GeoPointOf(*map, ChartPoint{rel.x + 100, rel.y});
#pragma once

#include "geo/GeoPoint.h"
#include "ui/Types.h"

class Map;
namespace ui {
class TWindow;
}

struct ClientPoint {
    int x = 0, y = 0;
    bool operator==(const ClientPoint&) const = default;
};

struct ChartPoint {
    int x = 0, y = 0;
    bool operator==(const ChartPoint&) const = default;
};

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The client centre of a client rectangle: ((left + right + 1) / 2,
// (top + bottom + 1) / 2).
ClientPoint ClientCentre(const ui::TRect& client);

// Between client points and chart units of the client rectangle.
ClientPoint ToClient(const ChartPoint& p, const ui::TRect& client);
ChartPoint ToChart(const ClientPoint& p, const ui::TRect& client);

// A client point of the window on the screen.
ScreenPoint ToScreen(const ui::TWindow& window, const ClientPoint& p);

// A position in chart units of the map (its plane point through its window
// transform), and back. Points beyond the plane saturate as the map's
// conversions do; client points of far positions saturate likewise.
ChartPoint ChartPointOf(Map& map, const GeoPoint& g);
GeoPoint GeoPointOf(Map& map, const ChartPoint& p);
// A position as a client point of the client rectangle.
ClientPoint ClientPointOf(Map& map, const GeoPoint& g, const ui::TRect& client);

// A binary angle in degrees, taken as signed (binary angle x 360 / 2^32, the
// factor 8.381903171539305e-8): [-180, 180).
double NrmToDegrees(std::int32_t angle);
