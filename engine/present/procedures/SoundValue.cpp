#include "procedures/SoundValue.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "procedures/SymbologyHelpers.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// The longest value text a sounding writes.
constexpr int kValueChars = 19;

// The whole part (with its sign) and the tenth digit of the value with one
// decimal, "C" conventions; false when it is not finite or too long.
bool valueParts(float depth, char (&whole)[kValueChars + 1], char& tenth) {
    if (!std::isfinite(depth)) return false;
    char text[kValueChars + 1] = {};
    const auto [end, ec] = std::to_chars(text, text + kValueChars, static_cast<double>(depth),
                                         std::chars_format::fixed, 1);
    if (ec != std::errc{}) return false;
    const char* point = static_cast<const char*>(std::memchr(text, '.', std::size_t(end - text)));
    if (!point || point == text || end - point != 2) return false;
    const std::size_t n = std::size_t(point - text);
    std::memcpy(whole, text, n);
    whole[n] = 0;
    tenth = point[1];
    // A drying height of -0.04 is no drying height: "0", not "-0".
    if (std::strcmp(whole, "-0") == 0 && tenth == '0') std::strcpy(whole, "0");
    return true;
}

} // namespace

void _DrawSoundValue(TMapContext* context, int x, int y, float depth, unsigned a, unsigned b,
                     unsigned c, char* note, int parentheses) {
    char whole[kValueChars + 1];
    char tenth = 0;
    if (!valueParts(depth, whole, tenth)) return;
    const char digit[2] = {tenth, 0};
    const bool hasTenth = tenth != '0';

    GD_SelFont(-1);
    const int w1 = GD_TextWidth(whole), h1 = GD_TextHeight(whole);
    int w2 = 0, h2 = 0;
    if (hasTenth) {
        GD_SelFont(-2);
        w2 = GD_TextWidth(digit);
        h2 = GD_TextHeight(digit);
    }
    const int hw = (w1 + w2) / 2, hh = (h1 + h2 / 3) / 2;
    const int left = x - hw, top = y - hh;

    if (!parentheses) {
        if (a == 2 || b == 5 || b == 9) {
            const int zone =
                context ? DepthZone(depth, context->depthZoneCount, context->depthZones) : 0;
            GD_FillEllipse(DepthColours[zone], x, y, hw + 3, hh + 2);
        }
        if (a == 2 || b == 3 || b == 5 || b == 9) GD_Ellipse(0, true, x, y, hw + 3, hh + 2);
    }
    if (c == 6) {
        GD_Line(0, left - 4, top - 6, left - 4, top - 3);
        GD_Line(0, left - 4, top - 6, x + hw + 4, top - 6);
        GD_Line(0, x + hw + 4, top - 6, x + hw + 4, top - 3);
    }
    if (b == 7) GD_Line(0, left - 6, y + hh + 6, x + hw + 6, y + hh + 6);

    GD_SelFont(-1);
    if (parentheses) GD_WriteXY(0, left - GD_TextWidth("("), top + h2 / 3, "(");
    GD_WriteXY(0, left, top + h2 / 3, whole);
    if (hasTenth) {
        GD_SelFont(-2);
        GD_CharXY(0, left + w1, top, tenth);
    }
    if (parentheses) GD_WriteXY(0, left + w1 + w2, top + h2 / 3, ")");
    if (note && *note) {
        GD_SelFont(-1);
        GD_WriteXY(0, x + hw + 6, y - 5, note);
    }
}
