// The committed reference table of route following (route_reference.tsv,
// written by route_reference.py from GeodSolve and RhumbSolve), read into
// range-bearing rows, routes and own-ship positions.
#pragma once

#include "chart/ChartWindowState.h"
#include "geo/GeoPoint.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace routetest {

struct RangeBearingRow {
    GeoPoint from, to;
    double geodesicNm, formulaDeg, rhumbDeg;
    std::string note;
};

struct Reference {
    std::vector<RangeBearingRow> rangeBearing;
    std::map<std::string, std::vector<RoutePoint>> routes;
    std::map<std::string, GeoPoint> ships;

    GeoPoint ship(const std::string& name) const {
        auto it = ships.find(name);
        EXPECT_NE(it, ships.end()) << name;
        return it == ships.end() ? GeoPoint{0, 0} : it->second;
    }
};

inline const Reference& reference() {
    static const Reference ref = [] {
        Reference r;
        std::ifstream in(NMEA_REFERENCE_DIR "/route_reference.tsv");
        EXPECT_TRUE(in) << "route_reference.tsv";
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream f(line);
            std::string kind;
            f >> kind;
            if (kind == "rb") {
                RangeBearingRow row{};
                f >> row.from.lon >> row.from.lat >> row.to.lon >> row.to.lat >> row.geodesicNm >>
                    row.formulaDeg >> row.rhumbDeg >> row.note;
                r.rangeBearing.push_back(row);
            } else if (kind == "wp") {
                std::string route;
                int index = 0;
                RoutePoint p;
                f >> route >> index >> p.lon >> p.lat >> p.legLength >> p.legCourse;
                r.routes[route].push_back(p);
            } else if (kind == "ship") {
                std::string name;
                GeoPoint p{};
                f >> name >> p.lon >> p.lat;
                r.ships[name] = p;
            }
        }
        return r;
    }();
    return ref;
}

// Puts route `name` into the state's table and follows it towards point
// `destination`, at chart detail 5.
inline void loadRoute(TChartWindowState& s, const std::string& name, int destination) {
    const auto& points = reference().routes.at(name);
    for (std::size_t i = 0; i < points.size(); ++i)
        s.routePoints[i] = points[i];
    s.routePointCount = static_cast<int>(points.size());
    s.destinationIndex = destination;
    s.followingState = 1;
    s.detailWord = 5;
}

} // namespace routetest
