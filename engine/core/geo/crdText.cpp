#include "geo/crdText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr int maxFields = 6;
constexpr std::uint64_t quarterTurn = 0x40000000u;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Number of "%lu" conversions of a format (with an optional width), or -1 when
// it holds any other conversion.
int countConversions(const char* format) {
    int count = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (isDigit(*p))
            ++p;
        if (p[0] != 'l' || p[1] != 'u') return -1;
        ++p;
        ++count;
    }
    return count;
}

std::uint32_t magnitude(std::int32_t v) {
    std::uint32_t u = static_cast<std::uint32_t>(v);
    return v < 0 ? 0u - u : u;
}

} // namespace

extern "C" {

const char* const _apszgpFormat[6] = {
    "%3lu %02lu.%02lu\\",  "%3lu,%02lu,%02lu,\\", "%3lu %02lu.%03lu\\",
    "%3lu,%02lu,%03lu,\\", "%3lu %02lu.%04lu\\",  "%3lu,%02lu,%04lu,\\",
};

char* _crd2str(std::int32_t value, char* buffer, const char* format, std::uint16_t hemispheres,
               std::uint32_t max, int n, ...) {
    if (buffer == nullptr || format == nullptr || format[0] == '\0' || n < 1 || n > maxFields)
        return nullptr;
    unsigned long divisors[maxFields] = {};
    va_list args;
    va_start(args, n);
    for (int i = 0; i < n; ++i)
        divisors[i] = va_arg(args, unsigned);
    va_end(args);
    int conversions = countConversions(format);
    if (conversions < 0 || conversions > n) return nullptr;
    unsigned __int128 product = 1;
    for (int i = 0; i < n; ++i) {
        if (divisors[i] == 0) return nullptr;
        product *= divisors[i];
    }
    std::uint32_t v = magnitude(value);
    if (v > max) return nullptr;

    // The magnitude in last units, rounded once (halves up), then split from
    // the last field up: only the first field is unbounded.
    unsigned __int128 units = (v * product + quarterTurn / 2) / quarterTurn;
    unsigned long fields[maxFields] = {};
    for (int i = n - 1; i > 0; --i) {
        fields[i] = static_cast<unsigned long>(units % divisors[i]);
        units /= divisors[i];
    }
    fields[0] = static_cast<unsigned long>(units);

    char text[256];
    std::snprintf(text, sizeof text, format, fields[0], fields[1], fields[2], fields[3], fields[4],
                  fields[5]);
    if (char* mark = std::strchr(text, '\\'))
        *mark = static_cast<char>(value >= 0 ? hemispheres >> 8 : hemispheres & 0xFF);
    std::strcpy(buffer, text);
    return buffer;
}

int _str2crd(std::int32_t* result, const char* text, const char* format, char negative,
             std::uint32_t max, int n, ...) {
    if (result == nullptr || text == nullptr || format == nullptr || text[0] == '\0' ||
        format[0] == '\0' || n < 1 || n > maxFields)
        return 0;
    std::uint64_t divisors[maxFields] = {};
    va_list args;
    va_start(args, n);
    for (int i = 0; i < n; ++i)
        divisors[i] = va_arg(args, unsigned);
    va_end(args);
    for (int i = 0; i < n; ++i)
        if (divisors[i] == 0) return 0;

    const char* f = format;
    const char* t = text;
    bool isNegative = false;
    int fieldCount = 0;
    std::uint64_t product = 1;
    std::uint64_t sum = 0;
    while (*f != '\0' && *t != '\0') {
        if (*f != '%') {
            if (*f == '\\' && *t == negative) isNegative = true;
            ++f;
            ++t;
            continue;
        }
        if (fieldCount == n) break;
        ++f;
        std::size_t width = 0;
        while (isDigit(*f))
            width = width * 10 + static_cast<std::size_t>(*f++ - '0');

        std::size_t length = 0;
        if (width > 0) {
            if (std::strlen(t) < width) return 0; // the field runs past the end of the text
            length = width;
        } else {
            while (*t == ' ')
                ++t;
            while (t[length] != '\0' && t[length] != ' ' && t[length] != '.')
                ++length;
        }
        std::size_t i = 0;
        while (i < length && t[i] == ' ')
            ++i;
        if (i == length) return 0; // no digit
        std::uint64_t number = 0;
        for (; i < length; ++i) {
            if (!isDigit(t[i]) || number > 0xFFFFFFFFu) return 0;
            number = number * 10 + static_cast<std::uint64_t>(t[i] - '0');
        }
        if (fieldCount > 0 && number >= divisors[fieldCount])
            return 0; // 60 minutes or more, or a fraction of a whole unit
        product *= divisors[fieldCount];
        if (product > 0xFFFFFFFFFFu || number > 0xFFFFFFFFu) return 0;
        sum += number * quarterTurn / product;
        if (sum > 0x80000000u) return 0;
        t += length;
        ++fieldCount;
        if (*f == 'l') ++f;
        if (*f == 'u') ++f;
    }
    if (fieldCount == 0) return 0; // nothing was read: no value to report
    if (max != 0x80000000u && sum > max) return 0;
    std::uint32_t u = static_cast<std::uint32_t>(sum);
    *result = static_cast<std::int32_t>(isNegative ? 0u - u : u);
    return 1;
}
}
