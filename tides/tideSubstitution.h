// The byte substitution of the harmonic data file td_pnte.dat. Every byte of
// a port block's header and constituent items is stored as
// kTideSubstitution[b]; the reader maps it back through the inverse table.
#pragma once

#include <array>
#include <cstdint>

namespace flodwave {

// A fixed permutation of 0..255 (multiplication by an odd number and an
// offset, modulo 256). Data files depend on it: never change it.
constexpr std::array<std::uint8_t, 256> kTideSubstitution = [] {
    std::array<std::uint8_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint8_t>((i * 167u + 89u) & 0xFFu);
    return t;
}();

} // namespace flodwave
