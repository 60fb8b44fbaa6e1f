// Depth units of the utility library: metres, feet and fathoms, the split of
// a depth into the parts a sounding shows, and the readers of depths that
// charts write in fathoms with a fraction or in fathoms and feet.
//
// This unit may be compiled into the tide library too: it depends on nothing
// but util/reportError.h, the header-only util/cNumbers.h and the standard
// library; keep it so.
//
// One fathom is taken as 1.829 m and one foot as 0.3048 m.
#pragma once

extern "C" {

// v fathoms in metres (v x 1.829).
double fathomsToMetres(double v);
// v feet in metres (v x 0.3048).
double feetToMetres(double v);
// v metres in feet (v x 3.280839895013123).
double metresToFeet(double v);
// v metres in fathoms (v / 1.829); a positive result is rounded half up to
// tenths, zero and negative results are returned unrounded
// (metresToFathoms(-1) = -0.54674...).
double metresToFathoms(double v);
// v / 9.8 (an acceleration in metres per second squared in units of g).
double perGravity(double v);

// The three splits below write signed parts (both parts carry the sign of v)
// and return 1 when v is negative, else 0. Values beyond the int range are
// clamped to it; NaN gives zero in every output and returns 0. Null outputs are skipped.

// whole = v truncated towards zero, tenths = the rest in tenths rounded half
// away from zero; a rest that rounds to 10 tenths is carried into whole
// (2.96 gives 3 and 0, -2.96 gives -3 and 0).
int splitTenths(double v, int* whole, int* tenths);
// Whole inches n = trunc(|v| x 12 + 0.49) with the sign of v; feet = n / 12,
// inches = n % 12 (1.5 gives 1 and 6, -1.0 gives -1 and 0).
int splitFeetInches(double v, int* feet, int* inches);
// Whole feet n = trunc(|v| x 6 + 0.49) with the sign of v; fathoms = n / 6,
// feet = n % 6.
int splitFathomsFeet(double v, int* fathoms, int* feet);

// Readers of chart depths written in fathoms. The fraction of a value is
// classified against the tenth steps 0.0 to 0.9 (within 0.005). Negative
// values (drying heights) are read by their magnitude and keep their sign.
// Whole fathoms count 1.829 m, feet 0.3048 m. The value in a traced or
// reported text is written as "%f" writes it in the "C" locale, whatever the
// process locale says.

// v = fathoms with a fraction of a fathom in tenths (2.5 = two and a half
// fathoms): whole x 1.829 + tenths x 0.6 feet x 0.3048. A fraction that is no
// tenth step is traced ("Unknow fathhom value %f.\n" to traceMessage) and v
// is converted as it stands (v x 1.829).
double fathomFractionToMetres(double v);
// v = fathoms and feet written as fathoms.feet (5.3 = 5 fathoms 3 feet):
// whole x 1.829 + feet x 0.3048. A feet digit of 6 to 9 is traced
// ("Unknow feet/fath value %f.\n") and only the whole fathoms count, the
// shoaler reading. A fraction that is no tenth step is an error:
// reportError("Unknow Decimal fathom value found %f.\n") (throws).
double fathomFeetToMetres(double v);
// Whole fathoms and 0 to 5 whole feet given apart: trunc(fathoms) x 1.829 +
// feet x 0.3048. Feet outside 0-5 or not whole are traced
// ("Unknow feet value %f.\n") and not counted. The sign is that of fathoms.
double fathomsAndFeetToMetres(double fathoms, double feet);

} // extern "C"
