#include "TideEngine.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace flodwave {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
// Earth's rotation relative to the mean sun: 15 degrees per hour.
constexpr double kEarthRate = 0.2617993877991494;

// tau, s, h, p, N, p1, quarter turns.
constexpr std::int8_t kConstituents[kConstituentRows][7] = {
    {0, 0, 0, 0, 0, 0, 0},   {0, 0, 1, 0, 0, 0, 0},    {0, 0, 2, 0, 0, 0, 0},
    {0, 1, 0, -1, 0, 0, 0},  {0, 2, -2, 0, 0, 0, 0},   {0, 2, 0, 0, 0, 0, 0},
    {1, -2, 0, 1, 0, 0, -1}, {1, -2, 2, -1, 0, 0, -1}, {1, -1, 0, 0, 0, 0, -1},
    {1, -1, 2, 0, 0, 0, 1},  {1, 0, 0, 0, 0, 0, 1},    {1, 0, 2, -1, 0, 0, 1},
    {1, 1, -3, 0, 0, 1, -1}, {1, 1, -2, 0, 0, 0, -1},  {1, 1, -1, 0, 0, 0, 2},
    {1, 1, 0, 0, 0, 0, 1},   {1, 1, 1, 0, 0, -1, 1},   {1, 1, 2, 0, 0, 0, 1},
    {1, 2, -2, 1, 0, 0, 1},  {1, 2, 0, -1, 0, 0, 1},   {2, -2, 0, 0, 0, 0, 0},
    {2, -2, 0, 2, 0, 0, 0},  {2, -2, 2, 0, 0, 0, 0},   {2, -1, -2, 1, 0, 0, 0},
    {2, -1, -1, 1, 0, 1, 0}, {2, -1, 0, 1, 0, 0, 0},   {2, -1, 2, -1, 0, 0, 0},
    {2, 0, -2, 0, 0, 0, 2},  {2, 0, -1, 0, 0, 0, 0},   {2, 0, 0, 0, 0, 0, 0},
    {2, 0, 1, 0, 0, 0, 0},   {2, 0, 2, 0, 0, 0, 0},    {2, 1, -2, 1, 0, 0, 2},
    {2, 1, 0, -1, 0, 0, 2},  {2, 2, -4, 0, 0, 0, 0},   {2, 2, -3, 0, 0, 1, 0},
    {2, 2, -2, 0, 0, 0, 0},  {2, 2, -1, 0, 0, -1, 2},  {2, 2, 0, 0, 0, 0, 0},
    {3, -2, 0, 1, 0, 0, -1}, {3, -1, 0, 0, 0, 0, -1},  {3, -1, 2, 0, 0, 0, 1},
    {3, 0, 0, 0, 0, 0, 2},   {3, 1, -2, 0, 0, 0, -1},  {3, 1, -2, 0, 0, 0, -1},
    {3, 1, 0, 0, 0, 0, 1},   {3, 2, 0, -1, 0, 0, 1},   {4, -2, 0, 0, 0, 0, 0},
    {4, -2, 2, 0, 0, 0, 0},  {4, -1, 0, 1, 0, 0, 0},   {4, -1, 2, -1, 0, 0, 0},
    {4, 0, -2, 0, 0, 0, 0},  {4, 0, 0, 0, 0, 0, 0},    {4, 0, 2, 0, 0, 0, 0},
    {4, 1, -2, 1, 0, 0, 0},  {4, 1, 0, -1, 0, 0, 0},   {4, 2, -2, 0, 0, 0, 0},
    {4, 2, 0, 0, 0, 0, 0},   {6, -2, 0, 0, 0, 0, 0},   {6, -2, 2, 0, 0, 0, 0},
    {6, -1, -2, 1, 0, 0, 0}, {6, -1, 0, 1, 0, 0, 0},   {6, -1, 2, -1, 0, 0, 0},
    {6, 0, -2, 0, 0, 0, 0},  {6, 0, 0, 0, 0, 0, 0},    {6, 1, -2, 1, 0, 0, 0},
    {6, 1, 0, -1, 0, 0, 0},  {6, 2, -2, 0, 0, 0, 0},   {6, 2, 0, 0, 0, 0, 0},
};

// Rows with their own nodal corrections.
enum Row : int {
    kMm = 3,
    kMf = 5,
    kO1 = 8,
    kM1 = 10,
    kK1 = 15,
    kJ1 = 19,
    kM2 = 29,
    kL2 = 33,
    kK2 = 38,
    kM3 = 42,
};

struct Argument {
    double epoch; // radians at 1996-01-01 00:00
    double rate;  // radians per hour
};

struct Tables {
    // s, h, p, N, p1
    Argument arguments[5];
    ConstituentNodal nodal[kConstituentRows];
    PortConstituent port[kConstituentRows];
    std::uint16_t portCount = 0;
};

Tables tables;

double reduce(double x) {
    while (x < 0.0)
        x += kTwoPi;
    return std::fmod(x, kTwoPi);
}

double speed(int row) {
    const std::int8_t* d = kConstituents[row];
    const Argument* a = tables.arguments;
    double v = 0.0;
    if (d[0] != 0) v += d[0] * (kEarthRate - a[0].rate + a[1].rate);
    for (int k = 1; k <= 5; ++k)
        if (d[k] != 0) v += d[k] * a[k - 1].rate;
    return v;
}

double equilibriumArgument(int row, const AstronomicalArguments& x) {
    const std::int8_t* d = kConstituents[row];
    return reduce(d[0] * (x.h - x.s) + d[1] * x.s + d[2] * x.h + d[3] * x.p + d[4] * x.N +
                  d[5] * x.p1 + d[6] * (kPi / 2.0));
}

struct Series {
    int row;
    double a[4];
    double b[3]; // degrees
};

constexpr Series kSeries[] = {
    {kMf, {1.043, 0.414, 0.0, 0.0}, {-23.7, 2.7, -0.4}},
    {kO1, {1.0089, 0.1871, -0.0147, 0.0014}, {10.80, -1.34, 0.19}},
    {kK1, {1.0060, 0.1150, -0.0088, 0.0006}, {-8.86, 0.68, -0.07}},
    {kJ1, {1.0129, 0.1676, -0.0170, 0.0016}, {-12.94, 1.34, -0.19}},
    {kM2, {1.004, -0.0373, 0.0002, 0.0}, {-2.14, 0.0, 0.0}},
    {kK2, {1.0246, 0.2863, 0.0083, -0.0015}, {-17.74, 0.68, -0.04}},
};

void applyNodalCorrections(double N, double p) {
    ConstituentNodal* c = tables.nodal;
    if (c[kMm].used) {
        const double cosI = 0.9137 - 0.03569 * std::cos(N);
        c[kMm].u = 0.0;
        c[kMm].f = (cosI * cosI - 1.0 / 3.0) * 1.9916351324437362;
    }
    if (c[kM1].used) {
        const double A = std::sin(p) + 0.2 * std::sin(p - N);
        const double B = 2.0 * (std::cos(p) + 0.2 * std::cos(p - N));
        c[kM1].u = std::atan2(A, B);
        c[kM1].f = B / std::cos(c[kM1].u);
    }
    if (c[kL2].used) {
        const double A = -0.2505 * std::sin(2 * p) - 0.1102 * std::sin(2 * p - N) -
                         0.0156 * std::sin(2 * p - 2 * N) - 0.037 * std::sin(N);
        const double B = 1.0 - 0.2505 * std::cos(2 * p) - 0.1102 * std::cos(2 * p - N) -
                         0.0156 * std::cos(2 * p - 2 * N) - 0.037 * std::cos(N);
        c[kL2].u = std::atan2(A, B);
        c[kL2].f = B / std::cos(c[kL2].u);
    }
    for (const Series& s : kSeries) {
        if (s.row == kMf && !c[kMf].used) continue;
        c[s.row].f =
            s.a[0] + s.a[1] * std::cos(N) + s.a[2] * std::cos(2 * N) + s.a[3] * std::cos(3 * N);
        c[s.row].u = reduce(
            (s.b[0] * std::sin(N) + s.b[1] * std::sin(2 * N) + s.b[2] * std::sin(3 * N)) * kDeg);
    }
    const double uM = c[kM2].u, fM = c[kM2].f;
    const double uK = c[kK2].u, fK = c[kK2].f;
    const double uO = c[kO1].u, fO = c[kO1].f;
    const double uK1 = c[kK1].u, fK1 = c[kK1].f;
    const double uJ = c[kJ1].u, fJ = c[kJ1].f;
    if (c[kM3].used) {
        c[kM3].u = reduce(-3.21 * std::sin(N) * kDeg);
        c[kM3].f = std::pow(std::sqrt(fM), 3);
    }
    const double u2M = reduce(uM + uM);
    const double u3M = reduce(u2M + uM);
    const double u4M = reduce(u3M + uM);

    struct Derived {
        std::initializer_list<int> rows;
        double u, f;
    };
    const Derived derived[] = {
        {{4}, -uM, fM},
        {{6, 7, 9, 27}, uO, fO},
        {{11, 18}, uJ, fJ},
        {{21, 22, 25, 26, 32, 43, 44, 54, 56}, uM, fM},
        {{20, 51}, reduce(u2M - uK), fM * fK},
        {{23}, reduce(uM - uK), fM * fK},
        {{31, 57}, reduce(uM + uK), fM * fK},
        {{34}, reduce(-uK), fK},
        {{39, 40}, reduce(uM + uO), fM * fO},
        {{41, 49, 50, 52, 65, 67}, u2M, fM},
        {{45}, reduce(uM + uK1), fM * fK1},
        {{46}, reduce(u2M - uO), fM * fO},
        {{47, 60, 63}, reduce(u3M - uK), fM * fM * fK},
        {{48, 61, 62, 64}, u3M, fM * fM},
        {{53, 68}, reduce(u2M + uK), fM * fK},
        {{55}, u2M, fM * fM * fM},
        {{58}, reduce(u4M - uK), fM * fM * fM * fK},
        {{59}, u4M, fM * fM * fM},
        {{66}, u3M, fM * fM * fM * fM},
    };
    for (const Derived& d : derived)
        for (int row : d.rows)
            if (c[row].used) {
                c[row].u = d.u;
                c[row].f = d.f;
            }
}

} // namespace

const std::int8_t* constituentMultipliers(int row) {
    return row >= 0 && row < kConstituentRows ? kConstituents[row] : nullptr;
}

void resetTables() {
    // s, h, p, N, p1: value at the epoch and rate, in degrees and degrees per hour.
    constexpr double kArguments[5][2] = {{41.01, 0.549017},
                                         {279.94, 0.041069},
                                         {280.54, 0.004642},
                                         {202.44, -0.002206},
                                         {282.87, 0.000002}};
    for (int k = 0; k < 5; ++k)
        tables.arguments[k] = {kArguments[k][0] * kDeg, kArguments[k][1] * kDeg};
    tables.nodal[0].speed = 0.0;
    tables.nodal[0].u = 0.0;
    tables.nodal[0].f = 1.0;
    for (int row = 1; row < kConstituentRows; ++row) {
        tables.nodal[row].speed = speed(row);
        tables.nodal[row].u = 0.0;
        tables.nodal[row].f = 1.0;
    }
}

bool setPortConstituents(const PortItem* items, std::size_t count) {
    if (count > static_cast<std::size_t>(kConstituentRows) || (count > 0 && items == nullptr))
        return false;
    for (std::size_t i = 0; i < count; ++i)
        if (items[i].row < 0 || items[i].row >= kConstituentRows) return false;
    for (ConstituentNodal& n : tables.nodal)
        n.used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        PortConstituent& r = tables.port[i];
        r = PortConstituent{};
        r.phaseLag = items[i].phaseLag * (1.0 / 1800.0) * kPi;
        r.amplitude = items[i].amplitude * 0.1;
        r.constituent = items[i].row;
        tables.nodal[items[i].row].used = 1;
    }
    tables.portCount = static_cast<std::uint16_t>(count);
    return true;
}

std::size_t portConstituentCount() {
    return tables.portCount;
}

const PortConstituent& portConstituent(std::size_t i) {
    return tables.port[i];
}

const ConstituentNodal& constituentNodal(int row) {
    return tables.nodal[row];
}

int predictionPointCount(double step) {
    // A short holds the count: 24 / step + 0.49 + 1 must stay at or below 32767.
    constexpr double kSmallestStep = 24.0 / (32767.0 - 1.49);
    if (!(step >= kSmallestStep) || !std::isfinite(step)) return -1;
    return static_cast<int>(std::trunc(24.0 / step + 0.49)) + 1;
}

AstronomicalArguments astronomicalArguments(double hours) {
    const Argument* a = tables.arguments;
    auto at = [hours](const Argument& x) { return reduce(x.rate * hours + x.epoch); };
    return {at(a[0]), at(a[1]), at(a[2]), at(a[3]), at(a[4])};
}

int predictTide(float* values, int capacity, double hours, double step) {
    const int count = predictionPointCount(step);
    if (count < 0 || values == nullptr || capacity < count) return -1;
    // The equilibrium argument holds for 00:00 UTC; a day that starts at
    // another hour (a port's local midnight) runs it on from the UTC midnight
    // before. Every record gets it, the first one included.
    const double midnight = std::floor(hours / 24.0) * 24.0;
    const AstronomicalArguments x = astronomicalArguments(midnight);
    for (std::size_t j = 0; j < tables.portCount; ++j) {
        PortConstituent& r = tables.port[j];
        r.argument = equilibriumArgument(r.constituent, x) +
                     (hours - midnight) * tables.nodal[r.constituent].speed;
    }
    applyNodalCorrections(x.N, x.p);
    for (std::size_t j = 0; j < tables.portCount; ++j) {
        const ConstituentNodal& n = tables.nodal[tables.port[j].constituent];
        tables.port[j].nodalPhase = n.u;
        tables.port[j].nodalFactor = n.f;
    }
    for (int i = 0; i < count; ++i) {
        float sum = 0.0f;
        for (std::size_t j = 0; j < tables.portCount; ++j) {
            PortConstituent& r = tables.port[j];
            // The running sum is a float, each term added in double.
            sum = static_cast<float>(sum + std::cos(r.argument + r.nodalPhase - r.phaseLag) *
                                               (r.nodalFactor * r.amplitude));
            // V runs on through the day unreduced; the cosine does not mind.
            r.argument += step * tables.nodal[r.constituent].speed;
        }
        values[i] = sum;
    }
    return count;
}

} // namespace flodwave
