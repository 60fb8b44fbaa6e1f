// Route following as functions of the chart window's state: range and
// bearing against GeographicLib, the start, and passages along a route off
// Bergen whose own-ship positions GeodSolve placed.
#include "RouteReference.h"

#include "route/RouteFollowing.h"

#include <cmath>
#include <memory>
#include <string>

namespace {

using routetest::loadRoute;
using routetest::reference;

// A fresh state on the heap (the records are large).
std::unique_ptr<TChartWindowState> freshState() {
    return std::make_unique<TChartWindowState>();
}

// Difference of two directions, degrees, in [0, 180].
double angleBetween(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

TEST(RangeBearing, AgreesWithGeographicLib) {
    const auto& rows = reference().rangeBearing;
    ASSERT_GE(rows.size(), 40u);
    int shortLegs = 0, antimeridian = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.note + " " + std::to_string(row.to.lon) + " " +
                     std::to_string(row.to.lat));
        const TRangeBearing rb = RangeBearing(row.from, row.to);
        if (row.note == "equal") {
            EXPECT_EQ(rb.range, 0.0);
            EXPECT_EQ(rb.bearing, 0.0);
            continue;
        }
        EXPECT_NEAR(rb.range, row.geodesicNm, row.geodesicNm * 0.0005);
        EXPECT_GE(rb.bearing, 0.0);
        EXPECT_LT(rb.bearing, 360.0);
        EXPECT_LT(angleBetween(rb.bearing, row.formulaDeg), 1e-9);
        if (row.note == "short") {
            ++shortLegs;
            EXPECT_LT(angleBetween(rb.bearing, row.rhumbDeg), 0.2);
        } else if (row.note.rfind("antimeridian", 0) == 0) {
            // Across 180 degrees the leg points the short way, not 180 degrees off.
            ++antimeridian;
            EXPECT_LT(angleBetween(rb.bearing, row.rhumbDeg), 0.5);
        }
    }
    EXPECT_EQ(shortLegs, 33);
    EXPECT_EQ(antimeridian, 4);
}

// A point `east` and `north` binary-angle units from (5 E, 60 N).
RoutePoint pointAt(std::int32_t east, std::int32_t north, float legLength = 0,
                   float legCourse = 0) {
    RoutePoint p;
    p.lon = deg2nrm(5.0) + east;
    p.lat = deg2nrm(60.0) + north;
    p.legLength = legLength;
    p.legCourse = legCourse;
    return p;
}

constexpr std::int32_t kMile = 198842; // binary-angle units of one minute of arc, about 1 nm

TEST(RouteFollowing, StartChoosesTheDestination) {
    const GeoPoint ship{deg2nrm(5.0), deg2nrm(60.0)};
    struct Case {
        const char* name;
        std::vector<RoutePoint> points;
        int destination; // expected, -1: not followed
        bool inserted;
        int count; // expected point count
    };
    // Points 1 and 2 lie at the same distance east and west of own ship.
    const Case cases[] = {
        {"tie: the first wins",
         {pointAt(0, 10 * kMile, 5), pointAt(kMile, 0, 1), pointAt(-kMile, 0, 1)},
         1,
         false,
         3},
        {"a middle point is nearest",
         {pointAt(0, -10 * kMile, 8), pointAt(0, -2 * kMile, 5), pointAt(0, 3 * kMile, 5),
          pointAt(0, 9 * kMile)},
         1,
         false,
         4},
        {"point 0 nearest, own ship within the first leg's reach of point 1",
         {pointAt(0, kMile / 2, 3.5, 0), pointAt(0, 3 * kMile, 3, 0), pointAt(0, 6 * kMile)},
         1,
         false,
         3},
        {"point 0 nearest, own ship farther from point 1 than the first leg",
         {pointAt(0, 2 * kMile, 1, 0), pointAt(0, 3 * kMile, 1, 0), pointAt(0, 4 * kMile)},
         1,
         true,
         4},
        {"one point: not followed", {pointAt(0, 2 * kMile)}, -1, false, 1},
        {"no points: not followed", {}, -1, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = freshState();
        s->ownShip = ship;
        s->ownShipClient = ClientPoint{320, 240};
        for (std::size_t i = 0; i < c.points.size(); ++i)
            s->routePoints[i] = c.points[i];
        s->routePointCount = static_cast<int>(c.points.size());
        s->arrivalEntered = s->perpendicularPassed = s->crossTrackAlarm = 1;
        s->ownShipInserted = 1; // left from a route before
        const TRouteStart r = BeginRouteFollowing(*s);
        EXPECT_EQ(r.inserted, c.inserted);
        EXPECT_EQ(s->routePointCount, c.count);
        if (c.destination < 0) {
            EXPECT_FALSE(r.started);
            EXPECT_EQ(s->followingState, 0);
            EXPECT_EQ(s->ownShipInserted, 1);
            continue;
        }
        EXPECT_TRUE(r.started);
        EXPECT_EQ(s->followingState, 1);
        EXPECT_EQ(s->destinationIndex, c.destination);
        EXPECT_EQ(s->ownShipInserted, c.inserted ? 1 : 0);
        EXPECT_EQ(s->arrivalEntered + s->perpendicularPassed + s->crossTrackAlarm, 0);
        // The results already point at the destination.
        const RoutePoint& d = s->routePoints[c.destination];
        const TRangeBearing rb = RangeBearing(ship, GeoPoint{d.lon, d.lat});
        EXPECT_DOUBLE_EQ(s->routeRange, rb.range);
        EXPECT_DOUBLE_EQ(s->routeBearing, rb.bearing);
        if (c.inserted) {
            // Own ship is point 0 with the leg to the old first point, which
            // is the destination; the rest moved up by one.
            const RoutePoint& first = s->routePoints[0];
            EXPECT_EQ(first.lon, ship.lon);
            EXPECT_EQ(first.lat, ship.lat);
            EXPECT_EQ(first.x, 320);
            EXPECT_EQ(first.y, 240);
            EXPECT_EQ(first.crossTrackLimit, 0);
            EXPECT_NEAR(first.legLength, 2.0, 0.01);
            EXPECT_FLOAT_EQ(first.legLength, static_cast<float>(rb.range));
            EXPECT_FLOAT_EQ(first.legCourse, static_cast<float>(rb.bearing));
            EXPECT_NEAR(first.legCourse, 0.0, 1e-6);
            for (std::size_t i = 0; i < c.points.size(); ++i) {
                EXPECT_EQ(s->routePoints[i + 1].lat, c.points[i].lat);
                EXPECT_EQ(s->routePoints[i + 1].legLength, c.points[i].legLength);
            }
            EXPECT_EQ(s->routePoints[c.count].lat, 0); // nothing written past the route
        }
    }
}

TEST(RouteFollowing, AFullTableGetsNoOwnShipPoint) {
    auto s = freshState();
    s->ownShip = GeoPoint{deg2nrm(5.0), deg2nrm(60.0)};
    for (int i = 0; i < kRoutePointMax; ++i)
        s->routePoints[i] = pointAt(0, (2 + i) * kMile, 1, 0);
    s->routePointCount = kRoutePointMax;
    const TRouteStart r = BeginRouteFollowing(*s);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.inserted);
    EXPECT_EQ(s->routePointCount, kRoutePointMax);
    EXPECT_EQ(s->destinationIndex, 1);
    EXPECT_EQ(s->routePoints[0].lat, deg2nrm(60.0) + 2 * kMile);
    EXPECT_EQ(s->routePoints[kRoutePointMax - 1].lat, deg2nrm(60.0) + (kRoutePointMax + 1) * kMile);
}

// Steps along the route off Bergen: waypoint 1 turns from 350 to 010 degrees,
// waypoint 3 is the last, reached on a leg of 160 degrees.
TEST(RouteFollowing, PassagesOffBergen) {
    const struct Case {
        const char* ship;
        int destination;
        int after; // destination after the step; -1: the route ended
        bool arrived, passed;
        float staleLastCourse = 0; // what the last point's record holds
    } cases[] = {
        // The arrival circle, 0.05 nm by default.
        {"arrive004", 1, 2, true, false},
        {"arrive006", 1, 1, false, false},
        // One mile abeam, just past and just short of the line through waypoint 1.
        {"abeamPast", 1, 2, false, true},
        {"abeamShort", 1, 1, false, false},
        // The line is normal to the bisector (east-west here), not to either leg:
        // at 85 degrees from the waypoint it is passed although the normal of
        // the leg in (080/260) is not; at 95 it is not passed although the
        // normal of the leg out (100/280) is.
        {"bisector85", 1, 2, false, true},
        {"bisector275", 1, 2, false, true},
        {"bisector95", 1, 1, false, false},
        {"bisector265", 1, 1, false, false},
        // Approaching the last point southbound: not passed, whatever its
        // record's course holds.
        {"last050", 3, 3, false, false},
        {"last020", 3, 3, false, false},
        {"last050", 3, 3, false, false, 90},
        {"last020", 3, 3, false, false, 270},
        // Arrival at the last point ends the route.
        {"last003", 3, -1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ship) + " stale " + std::to_string(c.staleLastCourse));
        auto s = freshState();
        loadRoute(*s, "bergen", c.destination);
        s->routePoints[3].legCourse = c.staleLastCourse;
        s->ownShip = reference().ship(c.ship);
        const TRouteStep step = StepRouteFollowing(*s, TChartSettings{});
        if (c.after < 0) {
            EXPECT_TRUE(step.advanced);
            EXPECT_TRUE(step.ended);
            EXPECT_EQ(s->followingState, 0);
            EXPECT_EQ(s->destinationIndex, 0);
            EXPECT_EQ(s->arrivalEntered + s->perpendicularPassed, 0);
            EXPECT_EQ(s->routePointCount, 4); // the wider reset is the window's
            continue;
        }
        EXPECT_FALSE(step.ended);
        EXPECT_EQ(step.advanced, c.after != c.destination);
        EXPECT_EQ(s->followingState, 1);
        EXPECT_EQ(s->destinationIndex, c.after);
        EXPECT_EQ(s->arrivalEntered, c.arrived ? 1 : 0);
        EXPECT_EQ(s->perpendicularPassed, c.passed ? 1 : 0);
        // Range and bearing are those to the destination after the step.
        const RoutePoint& d = s->routePoints[c.after];
        const TRangeBearing rb = RangeBearing(s->ownShip, GeoPoint{d.lon, d.lat});
        EXPECT_DOUBLE_EQ(s->routeRange, rb.range);
        EXPECT_DOUBLE_EQ(s->routeBearing, rb.bearing);
    }
}

TEST(RouteFollowing, OneWaypointPerTickAndTheWaypointMessage) {
    auto s = freshState();
    loadRoute(*s, "bergen", 1);
    // Own ship sits on waypoint 2 while steering for waypoint 1: only 1 is
    // passed this tick; 2 follows on the next.
    const RoutePoint& wp2 = s->routePoints[2];
    s->ownShip = GeoPoint{wp2.lon, wp2.lat};
    TRouteStep step = StepRouteFollowing(*s, TChartSettings{});
    EXPECT_TRUE(step.advanced);
    EXPECT_EQ(step.newMessage, 11);
    EXPECT_EQ(s->pendingStatusMessage, 11);
    EXPECT_EQ(s->destinationIndex, 2);
    EXPECT_EQ(s->routeRange, 0.0); // equal points: range 0, bearing 0, no error
    EXPECT_EQ(s->routeBearing, 0.0);
    EXPECT_EQ(s->crossTrackError, 0.0);

    step = StepRouteFollowing(*s, TChartSettings{});
    EXPECT_TRUE(step.advanced);
    EXPECT_EQ(step.newMessage, 0); // one is pending already
    EXPECT_EQ(s->destinationIndex, 3);
}

TEST(RouteFollowing, CrossTrackErrorIsPositiveLeftOfTheLeg) {
    const struct {
        const char* ship;
        double error;
    } cases[] = {{"xteWest010", 0.1}, {"xteEast010", -0.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ship);
        auto s = freshState();
        loadRoute(*s, "north", 1);
        s->ownShip = reference().ship(c.ship);
        StepRouteFollowing(*s, TChartSettings{});
        EXPECT_EQ(s->destinationIndex, 1);
        EXPECT_NEAR(s->crossTrackError, c.error, 0.001);
        EXPECT_NEAR(s->routeRange, 1.5, 0.01);
    }
}

TEST(RouteFollowing, CrossTrackAlarm) {
    auto s = freshState();
    loadRoute(*s, "north", 1);
    s->routePoints[0].crossTrackLimit = 5; // 0.05 nm
    TChartSettings on;
    on.crossTrackAlarmSwitch = 1;
    const auto stepAt = [&](const char* ship, const TChartSettings& settings) {
        s->ownShip = reference().ship(ship);
        return StepRouteFollowing(*s, settings);
    };

    TRouteStep step = stepAt("xteWest006", on);
    EXPECT_TRUE(step.alarmRaised);
    EXPECT_EQ(step.newMessage, 3);
    EXPECT_EQ(s->crossTrackAlarm, 1);
    EXPECT_EQ(s->pendingStatusMessage, 3);
    // Still off the limit: the flag stays, no second message while one is pending.
    step = stepAt("xteWest006", on);
    EXPECT_FALSE(step.alarmRaised);
    EXPECT_EQ(step.newMessage, 0);
    EXPECT_EQ(s->crossTrackAlarm, 1);
    // Back within the limit.
    step = stepAt("xteWest004", on);
    EXPECT_EQ(s->crossTrackAlarm, 0);
    EXPECT_EQ(step.newMessage, 0);

    // The switch off (the default), or a leg without a limit: no alarm.
    s->pendingStatusMessage = 0;
    step = stepAt("xteWest006", TChartSettings{});
    EXPECT_EQ(s->crossTrackAlarm, 0);
    EXPECT_EQ(step.newMessage, 0);
    s->routePoints[0].crossTrackLimit = 0;
    step = stepAt("xteWest006", on);
    EXPECT_EQ(s->crossTrackAlarm, 0);
    EXPECT_EQ(s->pendingStatusMessage, 0);
}

TEST(RouteFollowing, NothingHappensAtDetailWordZeroOrWhenNotFollowing) {
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant == 0 ? "detail word 0" : "not following");
        auto s = freshState();
        loadRoute(*s, "bergen", 1);
        if (variant == 0)
            s->detailWord = 0;
        else
            s->followingState = 0;
        s->ownShip = reference().ship("arrive004");
        s->routeRange = 7.5;
        s->crossTrackError = 0.25;
        const TRouteStep step = StepRouteFollowing(*s, TChartSettings{});
        EXPECT_FALSE(step.advanced || step.ended || step.alarmRaised || step.newMessage);
        EXPECT_EQ(s->destinationIndex, 1);
        EXPECT_EQ(s->routeRange, 7.5);
        EXPECT_EQ(s->crossTrackError, 0.25);
        EXPECT_EQ(s->arrivalEntered, 0);
        EXPECT_EQ(s->pendingStatusMessage, 0);
    }
}

TEST(RouteFollowing, ADestinationOutsideTheTableEndsFollowing) {
    auto s = freshState();
    loadRoute(*s, "bergen", 2);
    s->routePointCount = 0; // emptied without stopping
    s->ownShip = reference().ship("arrive006");
    const TRouteStep step = StepRouteFollowing(*s, TChartSettings{});
    EXPECT_TRUE(step.ended);
    EXPECT_EQ(s->followingState, 0);
    EXPECT_EQ(s->destinationIndex, 0);
}

TEST(RouteFollowing, StopLeavesTheTableTheRouteIdAndTheRouteState) {
    auto s = freshState();
    loadRoute(*s, "bergen", 2);
    s->activeRouteId = 42;
    s->routeState = 1;
    s->arrivalEntered = s->perpendicularPassed = s->crossTrackAlarm = 1;
    s->ownShipInserted = 1;
    StopRouteFollowing(*s);
    EXPECT_EQ(s->followingState, 0);
    EXPECT_EQ(s->destinationIndex, 0);
    EXPECT_EQ(s->arrivalEntered + s->perpendicularPassed + s->crossTrackAlarm, 0);
    EXPECT_EQ(s->ownShipInserted, 0);
    EXPECT_EQ(s->routePointCount, 4);
    EXPECT_EQ(s->routePoints[2].lat, reference().routes.at("bergen")[2].lat);
    EXPECT_EQ(s->activeRouteId, 42);
    EXPECT_EQ(s->routeState, 1);
}

} // namespace
