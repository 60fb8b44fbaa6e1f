#include "util/angles.h"

#include "runtime/intmath.h"
#include "util/angleWrap.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;
constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
constexpr double kIntScale = 2147483647.0;

template <class T> void toPolar(T dx, T dy, T* length, T* direction) {
    if (length) *length = std::sqrt(dx * dx + dy * dy);
    if (!direction) return;
    if (dy == 0)
        *direction = dx < 0 ? T(180) : T(0);
    else if (dx == 0)
        *direction = dy < 0 ? T(270) : T(90);
    else {
        T d = std::atan(dy / dx) * T(kDegreesPerRadian);
        if (dx < 0)
            d += 180;
        else if (dy < 0)
            d += 360;
        *direction = wrapFromLow<T>(d, 0, 360);
    }
}

template <class T> void rhumb(T lat1, T lon1, T lat2, T lon2, T* distance, T* bearing) {
    const T dx = wrapAboveLow<T>(lon2 - lon1, -180, 360) *
                 std::cos((lat1 + lat2) / 2 * T(kRadiansPerDegree));
    const T dy = lat2 - lat1;
    T length;
    toPolar<T>(dy, dx, &length, bearing); // north first: a compass bearing
    if (distance) *distance = 60 * length;
}

template <class T> T fromDdmmss(T x) {
    const T value = std::fabs(x);
    const T degrees = std::floor(value / 10000);
    const T minutes = std::floor((value - degrees * 10000) / 100);
    const T seconds = value - degrees * 10000 - minutes * 100;
    const T result = degrees + minutes / 60 + seconds / 3600;
    return x < 0 ? -result : result;
}

std::int32_t toScale(double deg, double full) {
    if (std::isnan(deg)) return 0;
    const double units = deg / full * kIntScale;
    if (units >= kIntScale) return 2147483647;
    if (units <= -kIntScale) return -2147483647;
    return static_cast<std::int32_t>(round(static_cast<long double>(units), 0));
}

void combine(double length1, double direction1, double length2, double direction2, double sign,
             double* length, double* direction) {
    double x1, y1, x2, y2;
    polarToVector(length1, direction1, &x1, &y1);
    polarToVector(length2, direction2, &x2, &y2);
    toPolar<double>(x1 + sign * x2, y1 + sign * y2, length, direction);
}

} // namespace

extern "C" {

double wrapLon180(double a, double b) {
    return wrapAboveLow(a + b, -180.0, 360.0);
}

double signedAngleDiff(double a, double b) {
    return wrapFromLow(a - b, -180.0, 360.0);
}

double compassToMath(double deg) {
    return wrapFromLow(270 - deg, 0.0, 360.0) * kRadiansPerDegree;
}

double bearingOf(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    constexpr double pi = std::numbers::pi;
    if (dx == 0) return dy < 0 ? pi : 0.0;
    if (dy == 0) return dx < 0 ? 3 * pi / 2 : pi / 2;
    double a = std::atan(static_cast<double>(dx) / dy);
    if (dy < 0)
        a += pi;
    else if (dx < 0)
        a += 2 * pi;
    return a;
}

double bearingDeg(double x, double y) {
    if (x == 0 && y == 0) return 3000.0;
    double d = std::atan2(y, x) * kDegreesPerRadian;
    if (d < 0) d += 360;
    return d >= 360 ? 0.0 : d; // a tiny negative angle rounds up to 360
}

void vectorToPolar(double dx, double dy, double* length, double* direction) {
    toPolar(dx, dy, length, direction);
}

void polarToVector(double length, double direction, double* out1, double* out2) {
    const double a = wrapFromLow(90 - direction, 0.0, 360.0) * kRadiansPerDegree;
    if (out1) *out1 = length * std::sin(a);
    if (out2) *out2 = length * std::cos(a);
}

void addVectors(double length1, double direction1, double length2, double direction2,
                double* length, double* direction) {
    combine(length1, direction1, length2, direction2, 1, length, direction);
}

void subtractVectors(double length1, double direction1, double length2, double direction2,
                     double* length, double* direction) {
    combine(length1, direction1, length2, direction2, -1, length, direction);
}

void offsetPosition(double lat, double lon, double distance, double bearing, double* latOut,
                    double* lonOut) {
    const double b = bearing * kRadiansPerDegree;
    if (latOut) *latOut = lat + distance * std::cos(b) / 60;
    if (lonOut)
        *lonOut = wrapLon180(lon, distance * std::sin(b) / 60 / std::cos(lat * kRadiansPerDegree));
}

std::int32_t latToInt(double deg) {
    return toScale(deg, 90);
}
std::int32_t lonToInt(double deg) {
    return toScale(deg, 180);
}
double intToLat(std::int32_t value) {
    return value * 90.0 / kIntScale;
}
double intToLon(std::int32_t value) {
    return value * 180.0 / kIntScale;
}

} // extern "C"

double angleDiff(double a, double b) {
    return wrapAboveLow(a - b, -180.0, 360.0);
}
float angleDiff(float a, float b) {
    return wrapAboveLow(a - b, -180.0f, 360.0f);
}

double wrap360(double a, double b) {
    return wrapFromLow(a + b, 0.0, 360.0);
}
float wrap360(float a, float b) {
    return wrapFromLow(a + b, 0.0f, 360.0f);
}

void rhumbDistance(double lat1, double lon1, double lat2, double lon2, double* distance,
                   double* bearing) {
    rhumb(lat1, lon1, lat2, lon2, distance, bearing);
}
void rhumbDistance(float lat1, float lon1, float lat2, float lon2, float* distance,
                   float* bearing) {
    rhumb(lat1, lon1, lat2, lon2, distance, bearing);
}

double ddmmssToDegrees(double x) {
    return fromDdmmss(x);
}
float ddmmssToDegrees(float x) {
    return fromDdmmss(x);
}
