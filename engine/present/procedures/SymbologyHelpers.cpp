#include "procedures/SymbologyHelpers.h"

#include "graphics/GraphicsText.h"

int DepthZone(double depth, int count, const double* limits) {
    if (!limits) return 0;
    for (int i = 1; i <= count; ++i)
        if (depth < limits[i - 1]) return i;
    return 0;
}

int DepthColourTable::operator[](int zone) const {
    static constexpr int colours[5] = {1, 7, 8, 9, 9};
    return colours[zone < 0 ? 0 : zone > 4 ? 4 : zone];
}

const ColourPattern ColourPatterns[18] = {
    {0, {0, 0, 0}, ""},     {1, {4, 0, 0}, "G"},   {1, {0, 0, 0}, "B"},     {1, {2, 0, 0}, "R"},
    {1, {11, 0, 0}, "Y"},   {1, {1, 0, 0}, "W"},   {1, {2, 0, 0}, "Or"},    {2, {0, 11, 0}, "BY"},
    {3, {0, 11, 0}, "BYB"}, {2, {11, 0, 0}, "YB"}, {3, {11, 0, 11}, "YBY"}, {2, {2, 1, 0}, "RW"},
    {3, {4, 2, 4}, "GRG"},  {3, {2, 4, 2}, "RGR"}, {3, {0, 2, 0}, "BRB"},   {3, {11, 2, 11}, "YRY"},
    {2, {4, 2, 0}, "GR"},   {2, {2, 4, 0}, "RG"},
};

unsigned ColourPatternCount(unsigned row) {
    return row >= 1 && row <= 17 ? ColourPatterns[row].count : 0;
}

const char* ColourPatternName(unsigned row) {
    return row >= 1 && row <= 17 ? ColourPatterns[row].name : nullptr;
}

const ColourCode ColourCodes[12] = {
    {0, ""},   {1, "W"},  {0, "B"},   {2, "R"},   {5, "G"},   {8, "Bu"},
    {11, "Y"}, {0, "Gr"}, {13, "Br"}, {3, "Amb"}, {14, "Vi"}, {11, "Or"},
};

const ColourCode LightColourCodes[12] = {
    {0, ""},   {11, "W"}, {0, "B"},   {2, "R"},   {4, "G"},   {8, "Bu"},
    {10, "Y"}, {0, "Gr"}, {13, "Br"}, {3, "Amb"}, {14, "Vi"}, {2, "Or"},
};

int ColourCodeColour(unsigned code) {
    return code >= 1 && code <= 11 ? ColourCodes[code].colour : 0;
}

const char* ColourCodeName(unsigned code) {
    return code >= 1 && code <= 11 ? ColourCodes[code].name : nullptr;
}

int LightColourCode(unsigned code) {
    return code >= 1 && code <= 11 ? LightColourCodes[code].colour : 0;
}

void DrawGlyphAt(Point* at, int character, int colour) {
    if (!at) return;
    GD_CharXY(colour, at->x, at->y, character);
}
