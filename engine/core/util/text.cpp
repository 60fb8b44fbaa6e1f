#include "util/text.h"

#include "util/cNumbers.h"

#include <bit>
#include <cstring>
#include <string>

extern "C" {

char* trimRight(char* s) {
    trimRightLength(s);
    return s;
}

std::size_t trimRightLength(char* s) {
    if (!s) return 0;
    std::size_t n = std::strlen(s);
    while (n > 0 && s[n - 1] == ' ')
        --n;
    s[n] = '\0';
    return n;
}

std::size_t trimLeft(char* s) {
    if (!s) return 0;
    std::size_t skip = 0;
    while (s[skip] == ' ')
        ++skip;
    const std::size_t n = std::strlen(s + skip);
    std::memmove(s, s + skip, n + 1);
    return n;
}

void padRight(char* s, char ch, int width) {
    if (!s || width < 0) return;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t n = strnlen(s, w);
    std::memset(s + n, static_cast<unsigned char>(ch), w - n);
    s[w] = '\0';
}

void padBlanks(char* s, int width) {
    padRight(s, ' ', width);
}

void centreText(const char* src, char ch, int width, char* dst) {
    if (!dst || width < 0) return;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t n = src ? strnlen(src, w) : 0;
    std::memset(dst, static_cast<unsigned char>(ch), w);
    dst[w] = '\0';
    if (n > 0) std::memcpy(dst + (w - n) / 2, src, n);
}

int countBits(std::uint32_t v) {
    return std::popcount(v);
}

int formatFloat(double v, char* dst, std::size_t size, int width, int precision) {
    std::string text = cnumbers::fixed(v, precision);
    const bool left = width < 0;
    const std::size_t w = left ? -static_cast<std::size_t>(width) : static_cast<std::size_t>(width);
    if (text.size() < w) {
        if (w >= size) return cnumbers::fail(dst, size); // the padding alone does not fit
        text.insert(left ? text.size() : 0, w - text.size(), ' ');
    }
    return cnumbers::put(dst, size, text);
}

int formatNumber(double v, char* dst, std::size_t size, int decimals) {
    return cnumbers::put(dst, size, cnumbers::fixed(v, decimals < 0 ? 0 : decimals));
}

std::size_t csvField(char* dst, std::size_t size, const char* line, int n) {
    if (!dst || size == 0) return 0;
    dst[0] = '\0';
    if (!line || n < 1) return 0;
    auto ends = [](char c) { return static_cast<unsigned char>(c) < 32; };
    const char* p = line;
    for (int field = 1; field < n; ++field) {
        while (!ends(*p) && *p != ',')
            ++p;
        if (*p != ',') return 0; // the line has fewer fields
        ++p;
    }
    std::size_t len = 0;
    while (!ends(p[len]) && p[len] != ',')
        ++len;
    if (len > size - 1) len = size - 1;
    std::memcpy(dst, p, len);
    dst[len] = '\0';
    return len;
}

int scaleText(char* dst, std::size_t size, long n) {
    if (n == 0) return cnumbers::put(dst, size, " No Charts ");
    auto group = [](long v) {
        std::string g = std::to_string(v);
        return std::string(3 - g.size(), '0') + g;
    };
    std::string text = "1 : ";
    if (n >= 1000000)
        text += std::to_string(n / 1000000) + "." + group(n / 1000 % 1000) + "." + group(n % 1000);
    else if (n >= 1000)
        text += std::to_string(n / 1000) + "." + group(n % 1000);
    else
        text += std::to_string(n);
    return cnumbers::put(dst, size, text);
}

} // extern "C"
