// The filter record of a query. A brace list of eleven words fills it in
// order, e.g. {0, mask, 0x0FFFFFFF, 2, 1, 0, 0, 0, 0, 0, 0}. The two class
// lists are native pointers (a 32-bit word cannot hold a pointer here).
#pragma once

#include <cstdint>

struct TGdbFormula {
    std::uint32_t kind;           // must be 0
    std::uint32_t maskA;          // display mask A (all ones without a formula)
    std::uint32_t maskB;          // display mask B (all ones without a formula)
    std::int32_t firstLayer;      // first priority layer, taken when >= 0
    std::int32_t lastLayer;       // last priority layer, taken when >= 0
    std::uint32_t ascending;      // non-zero ascending priorities, 0 descending
    std::uint32_t includeCount;   // object classes to include ...
    const std::uint32_t* include; // ... their codes
    std::uint32_t excludeCount;   // object classes to exclude ...
    const std::uint32_t* exclude; // ... their codes
    std::uint32_t options;        // bit 0: also return child objects
};

// Option bit of TGdbFormula::options: child objects are returned too.
inline constexpr std::uint32_t GdbFormulaChildren = 1;
