#include "util/depthUnits.h"

#include "util/cNumbers.h"
#include "util/reportError.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double metresPerFathom = 1.829;
constexpr double metresPerFoot = 0.3048;

// C conversion to int (truncation) clamped to the int range; NaN gives 0.
int truncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

// Splits |v| x perUnit + 0.49 into whole units and parts, both with v's sign.
int splitUnits(double v, int perUnit, int* units, int* parts) {
    if (std::isnan(v)) v = 0;
    const int magnitude = truncToInt(std::fabs(v) * perUnit + 0.49);
    const int sign = v < 0 ? -1 : 1;
    if (units) *units = sign * (magnitude / perUnit);
    if (parts) *parts = sign * (magnitude % perUnit);
    return v < 0 ? 1 : 0;
}

// The tenth step (0-9) of the fraction of |v|, or -1 when it is none.
int tenthStep(double magnitude) {
    const double fraction = magnitude - std::trunc(magnitude);
    for (int k = 0; k <= 10; ++k)
        if (std::fabs(fraction - k / 10.0) <= 0.005) return k % 10;
    return -1;
}

// Whole fathoms of |v|, counting a fraction that rounds up to the next one.
double wholeFathoms(double magnitude) {
    const double fraction = magnitude - std::trunc(magnitude);
    return std::trunc(magnitude) + (fraction >= 0.995 ? 1 : 0);
}

// The value as "%f" writes it in the "C" locale: the texts read the same
// whatever the process locale says.
std::string valueText(double v) {
    return cnumbers::fixed(v, 6);
}

void trace(void (*hook)(const char*), const char* format, double v) {
    char text[96];
    std::snprintf(text, sizeof text, format, valueText(v).c_str());
    hook(text);
}

} // namespace

extern "C" {

double fathomsToMetres(double v) {
    return v * metresPerFathom;
}
double feetToMetres(double v) {
    return v * metresPerFoot;
}
double metresToFeet(double v) {
    return v * 3.280839895013123;
}

double metresToFathoms(double v) {
    const double x = v / metresPerFathom;
    return x > 0 ? std::trunc(x * 10 + 0.5) / 10 : x;
}

double perGravity(double v) {
    return v / 9.8;
}

int splitTenths(double v, int* whole, int* tenths) {
    if (std::isnan(v)) v = 0;
    int w = truncToInt(v);
    if (std::fabs(v) >= static_cast<double>(INT_MAX)) { // clamped: no tenths to show
        if (whole) *whole = w;
        if (tenths) *tenths = 0;
        return v < 0 ? 1 : 0;
    }
    const double rest = (v - w) * 10;
    int t = static_cast<int>(rest >= 0 ? std::floor(rest + 0.5) : -std::floor(-rest + 0.5));
    if (t >= 10 && w < INT_MAX) ++w, t = 0;
    if (t <= -10 && w > INT_MIN) --w, t = 0;
    if (whole) *whole = w;
    if (tenths) *tenths = t;
    return v < 0 ? 1 : 0;
}

int splitFeetInches(double v, int* feet, int* inches) {
    return splitUnits(v, 12, feet, inches);
}

int splitFathomsFeet(double v, int* fathoms, int* feet) {
    return splitUnits(v, 6, fathoms, feet);
}

double fathomFractionToMetres(double v) {
    const double magnitude = std::fabs(v);
    const int k = tenthStep(magnitude);
    if (k < 0) {
        trace(traceMessage, "Unknow fathhom value %s.\n", v);
        return v * metresPerFathom;
    }
    const double metres = wholeFathoms(magnitude) * metresPerFathom + k * 0.6 * metresPerFoot;
    return v < 0 ? -metres : metres;
}

double fathomFeetToMetres(double v) {
    const double magnitude = std::fabs(v);
    const int k = tenthStep(magnitude);
    if (k < 0) reportError("Unknow Decimal fathom value found %s.\n", valueText(v).c_str());
    double metres = wholeFathoms(magnitude) * metresPerFathom;
    if (k > 5)
        trace(traceMessage, "Unknow feet/fath value %s.\n", v);
    else
        metres += k * metresPerFoot;
    return v < 0 ? -metres : metres;
}

double fathomsAndFeetToMetres(double fathoms, double feet) {
    double metres = std::trunc(std::fabs(fathoms)) * metresPerFathom;
    if (feet >= 0 && feet <= 5 && feet == std::trunc(feet))
        metres += feet * metresPerFoot;
    else
        trace(traceMessage, "Unknow feet value %s.\n", feet);
    return fathoms < 0 ? -metres : metres;
}

} // extern "C"
