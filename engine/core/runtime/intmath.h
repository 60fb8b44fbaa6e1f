// Integer multiply-divide and midpoint functions used with binary angles.
//
// Every function computes through a wider intermediate, so no product
// overflows. A quotient that does not fit the result type is truncated to its
// low bits (callers keep their operands in range); no input crashes.
#pragma once

#include <cstdint>

extern "C" {

// a * b / d, unsigned. b == 0 stands for 2^32 (the product is a * 2^32);
// d == 0 stands for 2^32 (the result is the high word of the product).
// Example: dwMulDiv(0x40000000, 21600000, 0) == 5400000, a quarter turn in
// thousandths of a minute.
std::uint32_t dwMulDiv(std::uint32_t a, std::uint32_t b, std::uint32_t d);

// The signed form of dwMulDiv: b == 0 stands for 2^32; d == 0 gives the high
// word of the signed 64-bit product (rounded towards minus infinity). Other
// quotients are truncated towards zero.
std::int32_t lMulDiv(std::int32_t a, std::int32_t b, std::int32_t d);

// The 64-bit value high:low divided by d; d == 0 gives 0.
std::uint32_t dwDiv(std::uint32_t low, std::uint32_t high, std::uint32_t d);

// a * b / d on 16 bits; d == 0 gives the high half of the 32-bit product.
std::uint16_t wMulDiv(std::uint16_t a, std::uint16_t b, std::uint16_t d);

// The signed form of wMulDiv.
std::int16_t iMulDiv(std::int16_t a, std::int16_t b, std::int16_t d);

// floor((a + b) / 2) without overflow.
std::int16_t iMed(std::int16_t a, std::int16_t b);
std::uint16_t wMed(std::uint16_t a, std::uint16_t b);
std::uint32_t dwMed(std::uint32_t a, std::uint32_t b);
}

// Rounds x to a signed 64-bit integer under the rounding mode given by
// mode & 0xC00: 0x000 to nearest with ties to even, 0x400 down, 0x800 up,
// 0xC00 towards zero. The floating-point environment is neither read nor
// changed. NaN, infinities and values outside the 64-bit range give INT64_MIN.
//
// A C++ function of the engine, distinct from the C library's one-argument
// round (which rounds ties away from zero): every call names the mode.
std::int64_t round(long double x, std::uint16_t mode);
