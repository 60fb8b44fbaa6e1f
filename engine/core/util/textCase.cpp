#include "util/textCase.h"

namespace {

// The four pairs of the 0x80 row: capital at 0x8A, 0x8C, 0x8E, 0x9F.
constexpr unsigned char kRowPairs[][2] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};

bool isCapitalWithShift(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool isSmallWithShift(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

} // namespace

unsigned char upperCase1252(unsigned char c) {
    if (isSmallWithShift(c)) return static_cast<unsigned char>(c - 0x20);
    for (const auto& p : kRowPairs)
        if (c == p[1]) return p[0];
    return c;
}

unsigned char lowerCase1252(unsigned char c) {
    if (isCapitalWithShift(c)) return static_cast<unsigned char>(c + 0x20);
    for (const auto& p : kRowPairs)
        if (c == p[0]) return p[1];
    return c;
}

void upperCase1252(char* text) {
    if (!text) return;
    for (char* p = text; *p; ++p)
        *p = static_cast<char>(upperCase1252(static_cast<unsigned char>(*p)));
}

void lowerCase1252(char* text) {
    if (!text) return;
    for (char* p = text; *p; ++p)
        *p = static_cast<char>(lowerCase1252(static_cast<unsigned char>(*p)));
}

void titleCase1252(char* text) {
    if (!text) return;
    bool capital = true; // the first character
    for (char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        *p = static_cast<char>(capital ? upperCase1252(c) : lowerCase1252(c));
        capital = c == ' ' || c == '.' || c == '-' || c == '\'';
    }
}
