// Sorting of short float arrays in place.
#pragma once

extern "C" {

// Sorts values[0..n-1] ascending by exchange (quadratic: meant for short
// arrays). Equal values keep no particular order. A NaN is never moved by a
// comparison, so it stays where it is and the other values around it are not
// fully ordered; nothing crashes. n <= 1 or a null array does nothing.
void sortFloats(float* values, int n);

} // extern "C"
