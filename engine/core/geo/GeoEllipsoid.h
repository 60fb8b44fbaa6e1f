// The earth models of the engine: the system ellipsoid (WGS-84) and the two
// ellipsoids whose datums a position can be shifted from and to.
#pragma once

#include <cstdint>

class GeoEllipsoid {
  public:
    // Index of an ellipsoid in _geSystem.
    enum Type : std::int32_t {
        System = 0,     // WGS-84, the datum of every position in the engine
        Krassovsky = 1, // Krassovsky 1940
        WGS72 = 2,      // WGS-72 (carries the same datum shift as Krassovsky)
    };

    // a: semi-major axis in metres; f: flattening; dx, dy, dz: the datum's
    // shift from WGS-84 in metres. Derives b = (1 - f) a, e2 = (2 - f) f and
    // e = sqrt(e2).
    constexpr GeoEllipsoid(Type t, double a_, double f_, double dx_, double dy_, double dz_)
        : type(t), a(a_), b((1 - f_) * a_), f(f_), e(sqrtOf((2 - f_) * f_)), e2((2 - f_) * f_),
          dx(dx_), dy(dy_), dz(dz_) {}

    std::int32_t type; // a Type
    double a;          // semi-major axis (m)
    double b;          // semi-minor axis (m)
    double f;          // flattening
    double e;          // first eccentricity
    double e2;         // first eccentricity squared
    double dx, dy, dz; // datum shift (m)

  private:
    // Square root usable in constant initialisation (Newton's method; x >= 0).
    static constexpr double sqrtOf(double x) {
        if (x <= 0) return 0;
        double r = x < 1 ? 1 : x;
        for (int i = 0; i < 100; ++i) {
            double next = 0.5 * (r + x / r);
            if (next == r) break;
            r = next;
        }
        return r;
    }
};

extern "C" {
// The three ellipsoids, indexed by GeoEllipsoid::Type, in one contiguous
// array; element 0 is the system ellipsoid. Constant from load on.
extern const GeoEllipsoid _geSystem[3];
// Points to _geSystem[0], the system ellipsoid (WGS-84).
extern const GeoEllipsoid* const _pSystemEllipsoid;
}
