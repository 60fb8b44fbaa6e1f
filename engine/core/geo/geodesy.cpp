#include "geo/geodesy.h"

#include <algorithm>
#include <cmath>

namespace {

// WGS-84 semi-major axis in nautical miles.
constexpr long double aNm = 3443.9184665226776L;
// Flattening term of the Andoyer-Lambert correction (f / 8).
constexpr long double andoyer = 0.0004118389762534062L;

// Radians per nautical mile along the meridian and along the parallel, each a
// mean value plus a term in cos(2 lat).
constexpr long double meridian0 = 0.0002908561523516466L;
constexpr long double meridian2 = 1.467695186701378e-06L;
constexpr long double parallel0 = 0.0002898809639969421L;
constexpr long double parallel2 = 4.859566258039659e-07L;

constexpr std::int32_t northPole = 0x40000000;

} // namespace

int IPC(const GeoPoint& p1, const GeoPoint& p2, long double& distance, long double& course) {
    const long double lat1 = nrm2rad(p1.lat), lat2 = nrm2rad(p2.lat);
    // The longitude difference wraps to [-pi, pi) in integer arithmetic.
    const long double dLon = nrm2rad(static_cast<std::int32_t>(static_cast<std::uint32_t>(p2.lon) -
                                                               static_cast<std::uint32_t>(p1.lon)));
    const long double sinLat1 = std::sin(lat1), cosLat1 = std::cos(lat1);
    const long double sinLat2 = std::sin(lat2), cosLat2 = std::cos(lat2);

    const long double sHalfLat = std::sin((lat2 - lat1) / 2);
    const long double sHalfLon = std::sin(dLon / 2), cHalfLon = std::cos(dLon / 2);
    // Rounding can push h a hair outside [0, 1] for near-antipodal points.
    const long double h =
        std::clamp(sHalfLat * sHalfLat + sHalfLon * sHalfLon * cosLat1 * cosLat2, 0.0L, 1.0L);
    // sigma = 2 asin(sqrt h); its half-angle functions follow from h without
    // further trigonometric calls.
    const long double sHalfSigma = std::sqrt(h), cHalfSigma = std::sqrt(1 - h);
    const long double sigma = 2 * std::asin(sHalfSigma);
    const long double sinSigma = 2 * sHalfSigma * cHalfSigma;
    const long double cosSigma = 1 - 2 * h;

    long double s = 0, q = 1, H2 = 0;
    if (sigma >= 1e-8L) {
        s = cosLat2 * sHalfLon * cHalfLon; // the sign of the course's east component
        const long double denominator = cosLat1 * sinSigma;
        if (p1.lat == northPole || p1.lat == -northPole || denominator == 0) {
            // Every way from a pole is a meridian: south from the north pole.
            q = p1.lat > 0 ? -1 : 1;
            s = 0;
        } else {
            q = std::clamp((sinLat2 - sinLat1 * cosSigma) / denominator, -1.0L, 1.0L);
        }
        H2 = (sigma + 3 * sinSigma) / h;
    }
    long double H1 = 0;
    if (GeoPi - sigma >= 1e-15L) H1 = (3 * sinSigma - sigma) / (cHalfSigma * cHalfSigma);
    const long double P = (sinLat1 + sinLat2) * (sinLat1 + sinLat2);
    const long double Q = (sinLat2 - sinLat1) * (sinLat2 - sinLat1);

    distance = aNm * (sigma + andoyer * (H1 * P - H2 * Q));
    course = std::acos(q);
    if (s < 0 && course > 0) course = 2 * GeoPi - course;
    return 0;
}

namespace {

// The long double results narrowed to the caller's type.
template <class T> int ipcAs(const GeoPoint& p1, const GeoPoint& p2, T& distance, T& course) {
    long double d = 0, c = 0;
    IPC(p1, p2, d, c);
    distance = static_cast<T>(d);
    course = static_cast<T>(c);
    return 0;
}

} // namespace

int IPC(const GeoPoint& p1, const GeoPoint& p2, double& distance, double& course) {
    return ipcAs(p1, p2, distance, course);
}

int IPC(const GeoPoint& p1, const GeoPoint& p2, float& distance, float& course) {
    return ipcAs(p1, p2, distance, course);
}

int DPC(const GeoPoint& from, GeoPoint& to, long double distance, long double course) {
    const long double lat1 = nrm2rad(from.lat), lon1 = nrm2rad(from.lon);
    const long double cos2Lat1 = std::cos(2 * lat1);
    long double lat2 = lat1 + (meridian0 + meridian2 * cos2Lat1) * distance * std::cos(course);
    lat2 = std::clamp(lat2, -GeoPi / 2, GeoPi / 2);
    const long double cosMid = std::cos((lat1 + lat2) / 2);
    long double lon2 = lon1;
    if (cosMid > 0) {
        lon2 = lon1 + (parallel0 + parallel2 * cos2Lat1) * distance * std::sin(course) / cosMid;
        if (!std::isfinite(lon2)) lon2 = lon1;
    }
    lon2 = std::remainder(lon2, 2 * GeoPi); // into [-pi, pi]
    to.lon = rad2nrm(lon2);
    to.lat = rad2nrm(lat2);
    return 0;
}

GeoPoint DPC(const GeoPoint& from, long double distance, long double course) {
    GeoPoint to{};
    DPC(from, to, distance, course);
    return to;
}

extern "C" {

int IPC(const GeoPoint* p1, const GeoPoint* p2, double* distance, double* course) {
    if (p1 == nullptr || p2 == nullptr || distance == nullptr || course == nullptr) return -1;
    return IPC(*p1, *p2, *distance, *course);
}

int DPC(const GeoPoint* from, GeoPoint* to, double distance, double course) {
    if (from == nullptr || to == nullptr) return -1;
    return DPC(*from, *to, static_cast<long double>(distance), static_cast<long double>(course));
}
}
