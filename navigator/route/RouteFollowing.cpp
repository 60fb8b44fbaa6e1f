#include "route/RouteFollowing.h"

#include "geo/geodesy.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kDegPerRad = 57.29577951308232;
// The nearest-point search starts from this range, nautical miles.
constexpr double kFarAway = 99999.9;

GeoPoint position(const RoutePoint& p) {
    return GeoPoint{p.lon, p.lat};
}

// The table's count as far as the table reaches.
int pointCount(const TChartWindowState& s) {
    return std::clamp(s.routePointCount, 0, kRoutePointMax);
}

// A course read from the table, in [0, 360); a value that is not a number is 0.
double course(float c) {
    if (!std::isfinite(c)) return 0;
    double v = std::fmod(static_cast<double>(c), 360.0);
    return v < 0 ? v + 360 : v;
}

// Course of the leg that ends at point d (record d - 1); 0 for point 0.
double incomingCourse(const TChartWindowState& s, int d) {
    return d >= 1 ? course(s.routePoints[d - 1].legCourse) : 0;
}

// Direction of the line through destination d across the route, in [0, 360):
// normal to the leg into the last point (the record of the last point holds
// no leg), to the bisector of the legs in and out of a turning point, and to
// the first leg at point 0.
double perpendicular(const TChartWindowState& s, int d, int n) {
    double p;
    if (d == 0) {
        p = course(s.routePoints[0].legCourse) + 90;
    } else if (d == n - 1) {
        p = incomingCourse(s, d) + 90;
    } else {
        const double in = incomingCourse(s, d), out = course(s.routePoints[d].legCourse);
        p = (in + out) / 2 + 90;
        if (std::fabs(in - out) > 180) p -= 180;
    }
    p = std::fmod(p, 360.0);
    return p < 0 ? p + 360 : p;
}

// Whether bearing b (to the destination) lies strictly clockwise between p
// and p + 180: the destination is behind own ship across its line.
bool passedLine(double b, double p) {
    double offset = std::fmod(b - p + 720.0, 360.0);
    return offset > 0 && offset < 180;
}

// Range, bearing and cross-track error to destination d, stored as results.
void storeResults(TChartWindowState& s, int d, const TRangeBearing& rb) {
    s.routeRange = rb.range;
    s.routeBearing = rb.bearing;
    s.crossTrackError =
        d >= 1 ? std::sin((rb.bearing - incomingCourse(s, d)) / kDegPerRad) * rb.range : 0;
}

} // namespace

TRangeBearing RangeBearing(const GeoPoint& from, const GeoPoint& to) {
    if (from.lon == to.lon && from.lat == to.lat) return {};
    TRangeBearing rb;
    double course = 0;
    IPC(from, to, rb.range, course);
    // The longitude difference modulo the turn, read as signed: legs across
    // 180 degrees point the short way.
    const auto dlon = static_cast<std::int32_t>(static_cast<std::uint32_t>(from.lon) -
                                                static_cast<std::uint32_t>(to.lon));
    const double dlat = static_cast<double>(from.lat) - static_cast<double>(to.lat);
    const double cosLat = std::cos(static_cast<double>(nrm2rad(to.lat)));
    double b = std::atan2(dlon * cosLat, dlat) * kDegPerRad + 180;
    if (b >= 360) b -= 360;
    if (b < 0) b = 0;
    rb.bearing = b;
    return rb;
}

TRouteStart BeginRouteFollowing(TChartWindowState& s) {
    int n = pointCount(s);
    if (n < 2) return {};
    const GeoPoint ship = s.ownShip;

    int destination = 0;
    double nearest = kFarAway;
    for (int i = 0; i < n; ++i) {
        double r = RangeBearing(ship, position(s.routePoints[i])).range;
        if (r < nearest) {
            nearest = r;
            destination = i;
        }
    }

    bool inserted = false;
    if (destination == 0) {
        destination = 1;
        // Own ship off the first leg's far side: the leg from own ship to point 0
        // comes first. A full table has no room for it.
        if (RangeBearing(ship, position(s.routePoints[1])).range > s.routePoints[0].legLength &&
            n < kRoutePointMax) {
            std::copy_backward(s.routePoints.begin(), s.routePoints.begin() + n,
                               s.routePoints.begin() + n + 1);
            const TRangeBearing leg = RangeBearing(ship, position(s.routePoints[1]));
            RoutePoint& first = s.routePoints[0];
            first = RoutePoint{};
            first.lon = ship.lon;
            first.lat = ship.lat;
            first.x = s.ownShipClient.x;
            first.y = s.ownShipClient.y;
            first.legLength = static_cast<float>(leg.range);
            first.legCourse = static_cast<float>(leg.bearing);
            ++n;
            inserted = true;
        }
    }

    s.routePointCount = n;
    s.destinationIndex = destination;
    s.followingState = 1;
    s.ownShipInserted = inserted ? 1 : 0;
    s.arrivalEntered = s.perpendicularPassed = s.crossTrackAlarm = 0;
    storeResults(s, destination, RangeBearing(ship, position(s.routePoints[destination])));
    return {true, inserted};
}

TRouteStep StepRouteFollowing(TChartWindowState& s, const TChartSettings& settings) {
    TRouteStep step;
    if (s.followingState != 1 || s.detailWord == 0) return step;
    const int n = pointCount(s);
    int d = s.destinationIndex;
    if (d < 0 || d >= n) {
        // The destination is not in the table (it was emptied under us): the
        // route cannot be followed any further.
        StopRouteFollowing(s);
        step.ended = true;
        return step;
    }
    const GeoPoint ship = s.ownShip;
    TRangeBearing rb = RangeBearing(ship, position(s.routePoints[d]));
    const bool arrived = rb.range <= settings.arrivalRadius / 100.0;
    const bool passed = passedLine(rb.bearing, perpendicular(s, d, n));
    s.arrivalEntered = arrived ? 1 : 0;
    s.perpendicularPassed = passed ? 1 : 0;

    if (arrived || passed) {
        ++d;
        step.advanced = true;
        if (s.pendingStatusMessage == 0) {
            s.pendingStatusMessage = 11;
            step.newMessage = 11;
        }
        if (d >= n) {
            StopRouteFollowing(s);
            step.ended = true;
            return step;
        }
        s.destinationIndex = d;
        rb = RangeBearing(ship, position(s.routePoints[d]));
    }
    storeResults(s, d, rb);

    const std::int32_t limit = d >= 1 ? s.routePoints[d - 1].crossTrackLimit : 0;
    if (settings.crossTrackAlarmSwitch != 0 && limit > 0 &&
        std::fabs(s.crossTrackError * 100) > limit) {
        if (!s.crossTrackAlarm) step.alarmRaised = true;
        s.crossTrackAlarm = 1;
        if (s.pendingStatusMessage == 0) {
            s.pendingStatusMessage = 3;
            step.newMessage = 3;
        }
    } else {
        s.crossTrackAlarm = 0;
    }
    return step;
}

double DistanceToGo(const TChartWindowState& s) {
    const int count = std::min(s.routePointCount, kRoutePointMax);
    double total = s.routeRange;
    for (int i = std::max(s.destinationIndex, 0); i < count - 1; ++i)
        total += s.routePoints[std::size_t(i)].legLength;
    return total;
}

void StopRouteFollowing(TChartWindowState& s) {
    s.followingState = 0;
    s.destinationIndex = 0;
    s.arrivalEntered = s.perpendicularPassed = s.crossTrackAlarm = 0;
    s.ownShipInserted = 0;
}

void StopRouteFollowing() {
    StopRouteFollowing(ChartWindowState());
}
