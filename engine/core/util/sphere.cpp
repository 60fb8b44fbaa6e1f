#include "util/sphere.h"

#include "util/angleWrap.h"

#include <cmath>
#include <numbers>

namespace {

// The degree-radian factor the cell files were written with.
constexpr double kDegreesPerRadian = 57.295779;

} // namespace

extern "C" {

double wrapCircumference(double a, double b) {
    return wrapAboveLow(a + b, -kSphereHalfCircumference, kSphereCircumference);
}

double circumferenceDistance(double a, double b) {
    return b >= a ? b - a : kSphereCircumference - a + b;
}

void sphereMercator(double lat, double lon, double* y, double* x) {
    if (y)
        *y = kSphereRadius *
             std::log(std::tan((lat / kDegreesPerRadian + std::numbers::pi / 2) / 2));
    if (x) *x = lon * kSphereRadius / kDegreesPerRadian;
}

void sphereMercatorInverse(double y, double x, double* lat, double* lon) {
    if (lat)
        *lat =
            (2 * std::atan(std::exp(y / kSphereRadius)) - std::numbers::pi / 2) * kDegreesPerRadian;
    if (lon) *lon = x * kDegreesPerRadian / kSphereRadius;
}

} // extern "C"
