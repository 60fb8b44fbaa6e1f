#include "util/coordinateText.h"

#include "util/cNumbers.h"

#include <cmath>
#include <string>

namespace {

constexpr char kDegree = '\xF8';

// An integer right-aligned (width 3) or zero-padded (width 2) as "%3d" and
// "%02d" write it.
std::string padded(long v, std::size_t width, char fill) {
    std::string t = std::to_string(v);
    return t.size() < width ? std::string(width - t.size(), fill) + t : t;
}

// A fixed-point field zero-padded to width, as "%06.3lf" and "%04.1lf" do for
// non-negative values.
std::string zeroPadded(double v, int precision, std::size_t width) {
    std::string t = cnumbers::fixed(v, precision);
    return t.size() < width ? std::string(width - t.size(), '0') + t : t;
}

bool writable(double deg) {
    return std::isfinite(deg) && std::fabs(deg) <= 1e9;
}

int writeMinutes(double deg, char* dst, std::size_t size, char positive, char negative) {
    if (!writable(deg)) return cnumbers::fail(dst, size);
    const double a = std::fabs(deg);
    long degrees = static_cast<long>(a);
    std::string minutes = zeroPadded((a - degrees) * 60, 3, 6);
    if (minutes == "60.000") {
        ++degrees;
        minutes = "00.000";
    }
    const char letter = deg < 0 ? negative : positive;
    return cnumbers::put(dst, size,
                         std::string{letter, ' '} + padded(degrees, 3, ' ') + kDegree + minutes);
}

int writeSeconds(double deg, char* dst, std::size_t size, char positive, char negative) {
    if (!writable(deg)) return cnumbers::fail(dst, size);
    const double a = std::fabs(deg);
    long degrees = static_cast<long>(a);
    const double m = (a - degrees) * 60;
    long minutes = static_cast<long>(m);
    if (minutes >= 60) { // a fraction of a degree just below 1 can round up to 60 minutes
        minutes = 0;
        ++degrees;
    }
    std::string seconds = zeroPadded((m - minutes) * 60, 1, 4);
    if (seconds == "60.0") {
        seconds = "00.0";
        if (++minutes == 60) {
            minutes = 0;
            ++degrees;
        }
    }
    const char letter = deg < 0 ? negative : positive;
    return cnumbers::put(dst, size,
                         std::string{letter, ' '} + padded(degrees, 3, ' ') + kDegree +
                             padded(minutes, 2, '0') + '\'' + seconds);
}

// The scanf directives the text forms use.
bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool anyChar(const char*& p, char* c = nullptr) {
    if (*p == '\0') return false;
    if (c) *c = *p;
    ++p;
    return true;
}

void blanks(const char*& p) {
    while (isSpace(*p))
        ++p;
}

// "%Nd": blanks, then at most width characters of an optional sign and digits.
bool integer(const char*& p, int width, long& value) {
    blanks(p);
    const char* q = p;
    bool negative = false;
    if (*q == '+' || *q == '-') {
        negative = *q++ == '-';
        --width;
    }
    long v = 0;
    int digits = 0;
    while (digits < width && *q >= '0' && *q <= '9') {
        v = v * 10 + (*q++ - '0');
        ++digits;
    }
    if (digits == 0) return false;
    value = negative ? -v : v;
    p = q;
    return true;
}

// Reads "%c %Nd%*1c[%2d%*1c]%f" and returns the signed value, or NaN.
double parse(const char* text, int degreeWidth, bool withSeconds, char negative) {
    const double failed = std::nan("");
    if (!text) return failed;
    const char* p = text;
    char letter;
    long degrees = 0, minutes = 0;
    double last = 0;
    if (!anyChar(p, &letter)) return failed;
    blanks(p);
    if (!integer(p, degreeWidth, degrees) || !anyChar(p)) return failed;
    if (withSeconds && (!integer(p, 2, minutes) || !anyChar(p))) return failed;
    if (!cnumbers::parse(p, last) || !std::isfinite(last)) return failed;
    const double value = withSeconds ? degrees + minutes / 60.0 + last / 3600 : degrees + last / 60;
    const bool south = letter == negative || letter == negative - 'A' + 'a';
    return south ? -value : value;
}

} // namespace

extern "C" {

int latToText(double deg, char* dst, std::size_t size) {
    return writeMinutes(deg, dst, size, 'N', 'S');
}
int lonToText(double deg, char* dst, std::size_t size) {
    return writeMinutes(deg, dst, size, 'E', 'W');
}
int latToTextDms(double deg, char* dst, std::size_t size) {
    return writeSeconds(deg, dst, size, 'N', 'S');
}
int lonToTextDms(double deg, char* dst, std::size_t size) {
    return writeSeconds(deg, dst, size, 'E', 'W');
}

double textToLat(const char* text) {
    return parse(text, 2, false, 'S');
}
double textToLon(const char* text) {
    return parse(text, 3, false, 'W');
}
double textToLatDms(const char* text) {
    return parse(text, 2, true, 'S');
}
double textToLonDms(const char* text) {
    return parse(text, 3, true, 'W');
}

} // extern "C"
