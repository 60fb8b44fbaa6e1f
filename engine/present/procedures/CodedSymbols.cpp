#include "procedures/CodedSymbols.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/SymbolPlacement.h"
#include "procedures/SymbologyHelpers.h"

#include <cstring>

namespace {

constexpr CodedSymbolRow row(const char (&key)[6], int a) {
    return {{key[0], key[1], key[2], key[3], key[4], 0}, {1, {a, 0, 0, 0}, {0, 0, 0, 0}, 6, 2}};
}
constexpr CodedSymbolRow row(const char (&key)[6], int a, int b) {
    return {{key[0], key[1], key[2], key[3], key[4], 0}, {2, {a, b, 0, 0}, {0, 0, 0, 0}, 6, 2}};
}
constexpr CodedSymbolRow row(const char (&key)[6], int a, int b, int c) {
    return {{key[0], key[1], key[2], key[3], key[4], 0}, {3, {a, b, c, 0}, {0, 0, 0, 0}, 6, 2}};
}
constexpr CodedSymbolRow row(const char (&key)[6], int a, int b, int c, int d) {
    return {{key[0], key[1], key[2], key[3], key[4], 0}, {4, {a, b, c, d}, {0, 0, 0, 0}, 6, 2}};
}

} // namespace

const CodedSymbolRow CodedSymbols[kCodedSymbolCount] = {
    row("A0000", 8),
    row("A0100", 9),
    row("A0101", 10, 9),
    row("A0113", 11, 12, 13, 9),
    row("A0112", 14, 15, 9),
    row("A0122", 16, 17, 9),
    row("A0200", 18),
    row("A0201", 19, 18),
    row("A0213", 20, 21, 22, 18),
    row("A0212", 23, 24, 18),
    row("A0222", 25, 26, 18),
    row("A0300", 27),
    row("A0301", 28, 27),
    row("A0313", 29, 30, 31, 27),
    row("A0312", 32, 33, 27),
    row("A0322", 34, 35, 27),
    row("A0400", 0),
    row("A0401", 8, 0),
    row("A0413", 1, 2, 3, 0),
    row("A0412", 4, 5, 0),
    row("A0422", 6, 7, 0),
    row("A0500", 125),
    row("A0501", 126, 125),
    row("A0513", 127, 128, 129, 125),
    row("A0512", 130, 131, 125),
    row("A0522", 132, 133, 125),
    row("A0600", 45),
    row("A0601", 46, 45),
    row("A0613", 47, 48, 49, 45),
    row("A0612", 50, 51, 45),
    row("A0622", 52, 53, 45),
    row("A0700", 54),
    row("A0701", 55, 54),
    row("A0713", 56, 57, 58, 54),
    row("A0712", 59, 60, 54),
    row("A0722", 61, 62, 54),
    row("A0900", 68),
    row("A0901", 86, 68),
    row("A0913", 87, 88, 89, 68),
    row("A0912", 90, 91, 68),
    row("A0922", 92, 93, 68),
    row("A1101", 63),
    row("A1102", 64),
    row("B0000", 65),
    row("B0100", 69),
    row("B0101", 80),
    row("B0102", 81),
    row("B0201", 82),
    row("B0202", 84),
    row("B010N", 173),
    row("B020N", 174),
    row("B0300", 70),
    row("B0301", 71, 70),
    row("B0313", 72, 73, 74, 70),
    row("B0312", 75, 76, 70),
    row("B0322", 77, 78, 70),
    row("B0400", 79),
    row("B0500", 66),
    row("B0501", 67),
    row("B0600", 94),
    row("B0601", 95, 94),
    row("B0613", 96, 97, 98, 94),
    row("B0612", 99, 100, 94),
    row("B0622", 101, 102, 94),
    row("B0700", 103),
    row("B0701", 95, 103),
    row("B0713", 96, 97, 98, 103),
    row("B0712", 99, 100, 103),
    row("B0722", 101, 102, 103),
};

int FindCodedSymbol(const char* key, CodedSymbol* out) {
    if (!key || !out) return 0;
    for (const CodedSymbolRow& r : CodedSymbols)
        if (std::strncmp(r.key, key, 5) == 0) {
            *out = r.symbol;
            return 1;
        }
    return 0;
}

void CopyPatternColours(CodedSymbol* symbol, unsigned row) {
    if (!symbol) return;
    const unsigned n = ColourPatternCount(row);
    for (unsigned i = 0; i < n && i < 4; ++i)
        symbol->colour[i] = ColourPatterns[row].colours[i];
}

void DrawCodedSymbol(MapObject* object, CodedSymbol symbol, const char* textAbove,
                     const char* textRight) {
    Point at;
    if (!FirstPoint(object, at)) return;
    GD_SelFont(33);
    const int count = symbol.count < 4 ? symbol.count : 4;
    for (int i = 0; i < count; ++i)
        GD_CharXY(symbol.colour[i], at.x, at.y, symbol.glyph[i]);
    const bool above = textAbove && *textAbove;
    const bool right = textRight && *textRight;
    if (!above && !right) return;
    GD_SelFont(-2);
    if (right) GD_WriteXY(0, at.x + symbol.textX + 2, at.y - symbol.textY, textRight);
    if (above) {
        const int w = GD_TextWidth(textAbove);
        const int h = GD_TextHeight(textAbove);
        GD_WriteXY(0, at.x - w / 2, at.y - 2 - h, textAbove);
    }
}

void LateralBuoyColours(CodedSymbol* symbol, unsigned category, unsigned region) {
    // Colour pattern rows by category (1 to 4), for regions 0 or 1 and for
    // region 2; any other region is black.
    static constexpr unsigned systemA[4] = {3, 1, 13, 12};
    static constexpr unsigned systemB[4] = {1, 3, 12, 13};
    if (category < 1 || category > 4) return;
    const unsigned row = region <= 1   ? systemA[category - 1]
                         : region == 2 ? systemB[category - 1]
                                       : 2;
    CopyPatternColours(symbol, row);
}

bool CodedSymbolKey(char prefix, unsigned shape, const char* layout, char out[6]) {
    out[0] = 0;
    if (shape > 99 || !layout || std::strlen(layout) != 2) return false;
    out[0] = prefix;
    out[1] = static_cast<char>('0' + shape / 10);
    out[2] = static_cast<char>('0' + shape % 10);
    out[3] = layout[0];
    out[4] = layout[1];
    out[5] = 0;
    return true;
}

const char* StandardColourLayout(unsigned count) {
    switch (count) {
    case 1:
        return "01";
    case 2:
        return "12";
    case 3:
        return "13";
    default:
        return nullptr;
    }
}

const char* PatternColourLayout(unsigned count, unsigned pattern, char out[3]) {
    if (count != 2) return StandardColourLayout(count);
    out[0] = pattern == 2 ? '2' : '1';
    out[1] = '2';
    out[2] = 0;
    return out;
}

bool DrawCodedLayout(MapObject* object, char prefix, unsigned shape, const char* layout,
                     unsigned colours, const char* textAbove, const char* textRight) {
    char key[6];
    CodedSymbol symbol;
    if (!CodedSymbolKey(prefix, shape, layout, key) || !FindCodedSymbol(key, &symbol)) return false;
    CopyPatternColours(&symbol, colours);
    DrawCodedSymbol(object, symbol, textAbove, textRight);
    return true;
}

void DrawCodedRow(MapObject* object, const char* key, const char* textAbove,
                  const char* textRight) {
    CodedSymbol symbol;
    if (FindCodedSymbol(key, &symbol)) DrawCodedSymbol(object, symbol, textAbove, textRight);
}
