// Locale-independent number text for the utility library ("C" conventions:
// '.' as the decimal point, no grouping), whatever the process locale says.
// Inside the library only.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace cnumbers {

// v in fixed notation with the given number of decimals, rounded to nearest
// (ties to even on exact halves), as printf's "%.*f" does in the "C" locale.
// A negative precision means 6. NaN and infinities give "nan", "inf", "-inf".
inline std::string fixed(double v, int precision) {
    if (precision < 0) precision = 6;
    if (precision > 400) precision = 400;
    std::string text(330 + static_cast<std::size_t>(precision), '\0');
    const auto r = std::to_chars(text.data(), text.data() + text.size(), v,
                                 std::chars_format::fixed, precision);
    text.resize(r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - text.data()) : 0);
    return text;
}

// Gives dst the empty text (when it has room for it) and returns -1.
inline int fail(char* dst, std::size_t size) {
    if (dst && size > 0) dst[0] = '\0';
    return -1;
}

// Copies text with its terminator into dst of size bytes when it fits and
// returns its length; otherwise dst gets the empty text (when size > 0) and
// the result is -1. A number is never cut.
inline int put(char* dst, std::size_t size, std::string_view text) {
    if (!dst || text.size() >= size) return fail(dst, size);
    std::memcpy(dst, text.data(), text.size());
    dst[text.size()] = '\0';
    return static_cast<int>(text.size());
}

// Reads a decimal number at p as scanf's "%f" does in the "C" locale: white
// space is skipped, then an optional sign, digits with an optional '.' and an
// optional exponent (or "inf", "nan"). On success p moves past the number.
inline bool parse(const char*& p, double& value) {
    const char* q = p;
    while (*q == ' ' || (*q >= '\t' && *q <= '\r'))
        ++q;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = *q++ == '-';
    if (*q == '+' || *q == '-') return false; // from_chars would take a second '-'
    const char* end = q + std::strlen(q);
    const auto r = std::from_chars(q, end, value, std::chars_format::general);
    if (r.ec != std::errc()) return false;
    if (negative) value = -value;
    p = r.ptr;
    return true;
}

} // namespace cnumbers
