#include "util/sortFloats.h"

#include <utility>

extern "C" {

void sortFloats(float* values, int n) {
    if (!values || n <= 1) return; // also keeps n - 1 from overflowing
    for (int i = 0; i < n - 1; ++i)
        for (int j = i + 1; j < n; ++j)
            if (values[i] > values[j]) std::swap(values[i], values[j]);
}

} // extern "C"
