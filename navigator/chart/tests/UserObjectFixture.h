// The user-object store the chart window's drawing and picking tests read:
// its view (a Mercator map over a 1000 x 800 client), its objects and where
// their points lie in chart units of that view, and the step that writes it
// through DbaseWin. The build writes it once (userObjectFixtureMaker); each
// test works on a copy.
//
//   std::unique_ptr<Map> map(uofixture::ViewMap());
//   const ChartPoint p = uofixture::RoutePoints()[1];   // route 3, point 2: 200 px north of point
//   1
#pragma once

#include "chart/ChartFrames.h"
#include "geo/GeoPoint.h"
#include "proj/Map.h"
#include "proj/newMap.h"
#include "store/DbaseWin.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace uofixture {

// The view: 1:15,000 around 5.30 E, 60.40 N, 3780 pixels per metre, a client
// of 1000 x 800 pixels (centre (500, 400)).
inline constexpr int kClientWidth = 1000, kClientHeight = 800;
inline constexpr int kPixelsPerMetre = 3780;
inline constexpr std::uint32_t kScale = 15000;
inline constexpr double kCentreLon = 5.30, kCentreLat = 60.40;

inline Map* ViewMap() {
    const int halfW = int(std::ceil(kClientWidth / 2.0 * 1000 / kPixelsPerMetre));
    const int halfH = int(std::ceil(kClientHeight / 2.0 * 1000 / kPixelsPerMetre));
    return newMap(PRJ_MERCATOR, kScale, GeoPoint{deg2nrm(kCentreLon), deg2nrm(kCentreLat)}, halfW,
                  halfH, kPixelsPerMetre, kPixelsPerMetre, nullptr);
}

// Store units (latitude, longitude) whose position lies exactly on chart
// point p of the map.
struct StoreUnits {
    std::int32_t latitude = 0, longitude = 0;
};
inline StoreUnits StoreUnitsAt(Map& map, const ChartPoint& p) {
    const GeoPoint g = GeoPointOf(map, p);
    StoreUnits u{BinaryAngleToStoreUnits(g.lat), BinaryAngleToStoreUnits(g.lon)};
    const auto at = [&](const StoreUnits& s) {
        return ChartPointOf(map, GeoPoint{StoreUnitsToBinaryAngle(s.longitude),
                                          StoreUnitsToBinaryAngle(s.latitude)});
    };
    for (int step = 0; step < 200 && at(u).x != p.x; ++step)
        u.longitude += at(u).x < p.x ? 1 : -1;
    for (int step = 0; step < 200 && at(u).y != p.y; ++step)
        u.latitude += at(u).y < p.y ? 1 : -1;
    if (at(u) != p) std::abort(); // the map cannot hold the point: fix the fixture
    return u;
}

// Ids.
inline constexpr std::int32_t kTrack = 1;       // 1200 points, three batches
inline constexpr std::int32_t kShortTrack = 2;  // 5 points, for deletion
inline constexpr std::int32_t kRoute = 3;       // 5 points: legs north, east, south, west
inline constexpr std::int32_t kOnePoint = 4;    // a route of 1 point, unnamed
inline constexpr std::int32_t kNoPoints = 5;    // a route without points
inline constexpr std::int32_t kLongRoute = 6;   // 499 points, count and length stored as 0
inline constexpr std::int32_t kNamed = 10;      // symbol 7 in colour 3, with a text
inline constexpr std::int32_t kUnnamed = 11;    // symbol 19 in colour 3
inline constexpr std::int32_t kSlashed = 12;    // "/B\xF8ye", symbol 116 in colour 7
inline constexpr std::int32_t kOutOfCells = 13; // "Grunne", symbol 123 in colour 0
inline constexpr std::int32_t kFarAway = 14;    // a symbol outside the view
inline constexpr std::int32_t kLine = 20;       // a line of 3 points

// 2026-06-12 10:00 UTC, 12:00 in Oslo.
inline constexpr std::time_t kStamp = 1781258400;
inline const std::string kNamedText = "Godt fiske her";

// Where the points lie (chart units of the view).
// Four rows of 300 points 8 pixels apart, from (-900, -300) northward.
inline std::vector<ChartPoint> TrackPoints() {
    std::vector<ChartPoint> p;
    for (int k = 0; k < 1200; ++k)
        p.push_back({-900 + 8 * (k % 300), -300 + 200 * (k / 300)});
    return p;
}
inline std::vector<ChartPoint> ShortTrackPoints() {
    return {{300, -300}, {320, -280}, {340, -300}, {360, -280}, {380, -300}};
}
inline std::vector<ChartPoint> RoutePoints() {
    return {{-200, -100}, {-200, 100}, {0, 100}, {0, -100}, {-300, -100}};
}
// The cross-track limit stored with each point of route 3 (that of the leg
// ending there), hundredths of a nautical mile.
inline std::vector<std::uint16_t> RouteLimits() {
    return {0, 10, 20, 30, 40};
}
inline ChartPoint OnePoint() {
    return {100, 300};
}
inline std::vector<ChartPoint> LongRoutePoints() {
    std::vector<ChartPoint> p;
    for (int k = 0; k < 499; ++k)
        p.push_back({-480 + (k * 19) / 10, -300 + int(std::lround(40 * std::sin(k / 7.0)))});
    return p;
}
inline std::vector<ChartPoint> LinePoints() {
    return {{200, 200}, {260, 240}, {320, 200}};
}
struct SymbolSpec {
    std::int32_t id;
    const char* name;
    std::uint16_t number, colour;
    ChartPoint at;
};
inline std::vector<SymbolSpec> Symbols() {
    return {{kNamed, "Fiskeplass", 7, 3, {-100, 200}},
            {kUnnamed, "", 19, 3, {100, 200}},
            {kSlashed, "/B\xF8ye", 116, 7, {-100, -250}},
            {kOutOfCells, "Grunne", 123, 0, {100, -250}},
            {kFarAway, "Langt unna", 7, 1, {4000, 0}}};
}

inline PointRecord PointAt(Map& map, std::int32_t id, std::uint16_t number, const ChartPoint& c,
                           std::uint16_t limit = 0) {
    const StoreUnits u = StoreUnitsAt(map, c);
    PointRecord p;
    p.id = id;
    p.number = number;
    p.latitude = u.latitude;
    p.longitude = u.longitude;
    p.time = kStamp + number;
    p.speed = limit;
    p.course = limit;
    return p;
}

inline IdRecord ObjectAt(Map& map, std::uint16_t kind, std::int32_t id, const ChartPoint& c,
                         const std::string& name, std::uint16_t colour, std::uint16_t length,
                         std::uint16_t count) {
    const StoreUnits u = StoreUnitsAt(map, c);
    IdRecord r;
    r.kind = kind;
    r.id = id;
    r.latitude = u.latitude;
    r.longitude = u.longitude;
    r.timeStamp = kStamp;
    r.colour = colour;
    r.length = length;
    r.pointCount = count;
    r.name = name;
    return r;
}

// Writes an object and its points through the store; false on any refusal.
inline bool WriteObject(DbaseWin& store, const IdRecord& object, Map& map,
                        const std::vector<ChartPoint>& points,
                        const std::vector<std::uint16_t>& limits = {}) {
    store.CurrentIdRecord = object;
    if (isam::ADDREC(kIdFileNumber, store.CurrentIdRecord.Encode().data()) != 0) return false;
    for (std::size_t k = 0; k < points.size(); ++k) {
        store.CurrentPointRecord = PointAt(map, object.id, std::uint16_t(k + 1), points[k],
                                           k < limits.size() ? limits[k] : 0);
        if (store.WritePointRecord() != 0) return false;
    }
    return true;
}

// The whole fixture into the store.
inline bool WriteFixture(DbaseWin& store) {
    Map* map = ViewMap();
    bool ok =
        WriteObject(store, ObjectAt(*map, kKindTrack, kTrack, TrackPoints()[0], "Tur", 4, 0, 1200),
                    *map, TrackPoints()) &&
        WriteObject(store,
                    ObjectAt(*map, kKindTrack, kShortTrack, ShortTrackPoints()[0], "Kort", 5, 3, 5),
                    *map, ShortTrackPoints()) &&
        WriteObject(store,
                    ObjectAt(*map, kKindRoute, kRoute, RoutePoints()[0], "Indre led", 2, 3, 5),
                    *map, RoutePoints(), RouteLimits()) &&
        WriteObject(store, ObjectAt(*map, kKindRoute, kOnePoint, OnePoint(), "", 2, 0, 1), *map,
                    {OnePoint()}) &&
        WriteObject(store, ObjectAt(*map, kKindRoute, kNoPoints, {0, 0}, "Tom rute", 2, 0, 0), *map,
                    {}) &&
        WriteObject(
            store,
            ObjectAt(*map, kKindRoute, kLongRoute, LongRoutePoints()[0], "Lang rute", 2, 0, 0),
            *map, LongRoutePoints()) &&
        WriteObject(store, ObjectAt(*map, kKindLine, kLine, LinePoints()[0], "Kabel", 3, 2, 3),
                    *map, LinePoints());
    for (const SymbolSpec& s : Symbols()) {
        IdRecord r = ObjectAt(*map, kKindSymbol, s.id, s.at, s.name, s.colour, 125, s.number);
        ok = ok && WriteObject(store, r, *map, {});
    }
    const InfoRecord text{kNamed, 0, kNamedText};
    const auto bytes = text.Encode();
    ok = ok && isam::ADDVREC(kInfoFileNumber, bytes.data(), bytes.size()) == 0;
    delete map;
    return ok;
}

} // namespace uofixture
