#include "os/codePage.h"

#include <cstdint>

namespace os {

namespace {

// Unicode of the bytes 0x80 to 0x9F; the unassigned ones map to themselves.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The Windows-1252 byte of a code point, or -1 when it has none.
int cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 character at text[pos]; returns its length, or 0 when
// the bytes there are not a valid, shortest-form character.
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    std::size_t length;
    char32_t min;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, min = 0x80, c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, min = 0x800, c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, c = b0 & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

} // namespace

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t(b));
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text, bool* exact) {
    std::string out;
    out.reserve(text.size());
    bool clean = true;
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(text, pos, c);
        const int b = length ? cp1252Byte(c) : -1;
        if (b < 0) {
            out += '?';
            clean = false;
        } else {
            out += static_cast<char>(b);
        }
        pos += length ? length : 1;
    }
    if (exact) *exact = clean;
    return out;
}

} // namespace os
