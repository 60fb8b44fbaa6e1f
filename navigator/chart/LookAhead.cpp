#include "chart/LookAhead.h"

#include "nmea/NavState.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

// The courses (degrees, open bounds) within which only one axis is looked at,
// so that the general formula never divides by a cosine near 0 and never
// takes a tangent near its pole.
bool within(double course, double above, double below) {
    return course > above && course < below;
}

} // namespace

int LookAheadThreshold(int clientWidth, int clientHeight, int lookAheadFactor, int margin,
                       bool viewRunning, double course) {
    const double side = std::min(clientWidth, clientHeight);
    // While the 3D view runs and own ship heads roughly south-west to west,
    // the view keeps it closer (factor 10 in place of the setting).
    const double t = viewRunning && within(course, 190, 300)
                         ? side * margin * 0.0004
                         : side * lookAheadFactor * margin * 0.00004;
    if (!(t >= 1)) return 1;
    if (t >= double(INT_MAX)) return INT_MAX;
    return int(t); // truncated toward zero
}

bool LookAheadEdgeReached(int x, int y, int threshold) {
    double a = NavSnapshot().nav.courseOverGround;
    if (!std::isfinite(a)) return false;
    a = std::fmod(a, 360.0);
    if (a < 0) a += 360;
    const double t = threshold;

    // Near the four cardinal courses only the axis along the course counts.
    if (a > 350 || a < 10) return y > -t;
    if (within(a, 170, 190)) return y < t;
    if (within(a, 80, 100)) return x > -t;
    if (within(a, 260, 280)) return x < t;

    // Otherwise the line through the point T behind the centre, square to the
    // course: own ship has reached it once it lies on the centre's side.
    const double r = a * kDegreesToRadians;
    const double l = x * (std::sin(r) / std::cos(r)) + t / std::cos(r);
    return within(a, 90, 270) ? -y > l : -y < l;
}
