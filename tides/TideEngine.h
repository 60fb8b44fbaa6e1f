// The harmonic tide engine: the table of 69 constituents, the astronomical
// arguments, the nodal corrections and the prediction of one day's heights.
//
// A height is the sum over the port's constituents of f H cos(V + u - g):
// V the equilibrium argument (radians), u and f the nodal phase (radians) and
// factor, g the port's phase lag (radians, Greenwich) and H its amplitude in
// the height unit of the data files (centimetres in the shipped data).
//
// Fidelity notes: the tables below are kept as the system has always had them,
// because stored predictions and users' expectations rest on them. The M2 and
// K2 node factors use a0 = 1.004 and 1.0246 (standard tables give 1.0004 and
// 1.0241); the compound rows take the node factors listed in
// applyNodalCorrections (M4 takes fM, not fM squared); rows 43 and 44 are the
// same constituent; row 24 is kept as listed.
//
// All state is global to the library and unguarded: one caller at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace flodwave {

constexpr int kConstituentRows = 69;

// One constituent item as stored in a port block: table row, phase lag in
// tenths of a degree, amplitude in tenths of the height unit.
struct PortItem {
    std::int16_t row;
    std::uint16_t phaseLag;
    std::uint16_t amplitude;
};

// One record of the current port's constituent table.
struct PortConstituent {
    double argument;    // running equilibrium argument V, radians
    double nodalPhase;  // u, radians
    double nodalFactor; // f
    double phaseLag;    // g, radians
    double amplitude;   // H, height unit
    std::int16_t constituent;
};

// Per-row nodal record of the constituent table.
struct ConstituentNodal {
    std::int32_t used; // the current port lists this row
    double speed;      // radians per hour
    double u;          // radians
    double f;
};

// Doodson-style multipliers of a row: tau, s, h, p, N, p1 and quarter turns.
const std::int8_t* constituentMultipliers(int row);

// Resets the argument constants, and every row's speed, u = 0 and f = 1.
// The used flags and the current port's table are kept.
void resetTables();

// Replaces the current port's table by items (at most kConstituentRows, each
// row in 0..68; anything else is refused with false and changes nothing),
// clears every used flag and sets the flag of each row listed.
bool setPortConstituents(const PortItem* items, std::size_t count);

// Current port's table (for tests and the curve object).
std::size_t portConstituentCount();
const PortConstituent& portConstituent(std::size_t i);
const ConstituentNodal& constituentNodal(int row);

// Points of a day's curve at the given step (hours): trunc(24 / step + 0.49)
// + 1, i.e. 25 for 1.0, 81 for 0.3. Returns -1 for a step that is not
// positive, not finite or so small that the count would not fit a short
// (below about 0.00073 hours).
int predictionPointCount(double step);

// Astronomical arguments s, h, p, N, p1 (radians, reduced to [0, 2 pi)) at t
// hours after 1996-01-01 00:00 UTC.
struct AstronomicalArguments {
    double s, h, p, N, p1;
};
AstronomicalArguments astronomicalArguments(double hours);

// Fills predictionPointCount(step) heights starting at `hours` (hours after
// 1996-01-01 00:00 UTC, any hour of the day), step hours apart, into values
// (room for capacity floats). Returns the number of points, or -1 when the step is refused or
// capacity is too small. resetTables() must have run since the last
// prediction and the port must be set.
int predictTide(float* values, int capacity, double hours, double step);

} // namespace flodwave
