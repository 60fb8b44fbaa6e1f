#include "dialogs/ReadoutText.h"

#include "graphics/GraphicsLayer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string format(const char* fmt, double value) {
    char text[64];
    std::snprintf(text, sizeof text, fmt, value);
    return text;
}

} // namespace

void AppendBlanks(std::string& text, int n) {
    if (n > 0) text.append(std::size_t(n), ' ');
}

std::string GroupInThrees(std::string_view number) {
    const std::size_t point = std::min(number.find('.'), number.size());
    const std::string_view integer = number.substr(0, point);
    // Built from the right, then turned round.
    std::string reversed;
    int digits = 0; // digits since the last blank between groups
    for (std::size_t i = integer.size(); i-- > 0;) {
        const char c = integer[i];
        if (isDigit(c)) {
            if (digits == 3) {
                reversed.push_back(' ');
                digits = 0;
            }
            reversed.push_back(c);
            ++digits;
        } else {
            // A blank already standing between two groups ends the group.
            if (c == ' ' && digits == 3) digits = 0;
            reversed.push_back(c);
        }
    }
    std::string result(reversed.rbegin(), reversed.rend());
    result.append(number.substr(point));
    return result;
}

void RemoveWhiteSpace(std::string& text) {
    std::erase_if(text, [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    });
}

TDistanceText BearingDistanceText(double d, bool metres) {
    if (d >= 10) return {format("%.1f", d), "Nm"};
    if (!metres || d >= 0.5) return {format("%.2f", d), "Nm"};
    return {format("%.f", d * 1851.851852), "mtr"};
}

std::string TimeToGoText(double distance, double speed) {
    const char* const none = ".............. ";
    if (!(speed > 0)) return none;
    const double seconds = std::nearbyint(distance / speed * 3600);
    // Beyond a hundred years the text says nothing useful either.
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 3.2e9) return none;
    const long long s = static_cast<long long>(seconds);
    char text[64];
    if (s > 3600)
        std::snprintf(text, sizeof text, "%lld t. %02lld m.", s / 3600, s % 3600 / 60);
    else
        std::snprintf(text, sizeof text, "%lld m. %02lld s.", s / 60, s % 60);
    return text;
}

ui::TColor TextColourByType(int type, int illuminationLevel) {
    const std::uint8_t c = illuminationLevel <= 0 ? 255 : illuminationLevel == 1 ? 191 : 127;
    switch (type) {
    case 1:
        return gdi::rgb(c, 0, 0);
    case 2:
        return gdi::rgb(0, 0, c);
    case 3:
        return gdi::rgb(0, c, 0);
    case 4:
        return gdi::rgb(c, c, 0);
    case 5:
        return gdi::rgb(c, 0, c);
    default:
        return gdi::kBlack;
    }
}

ui::TColor PaletteColourByType(int type, int illuminationLevel) {
    switch (type) {
    case 2:
        return gdColour(30);
    case 3:
        return gdColour(8);
    case 4:
        return gdColour(illuminationLevel != 0 ? 22 : 24);
    case 5:
        return gdColour(28);
    case 6:
        return gdColour(0);
    default:
        return gdColour(4);
    }
}
