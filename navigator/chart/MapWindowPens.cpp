#include "chart/MapWindowPens.h"

#include "graphics/GraphicsLayer.h"

namespace {

struct PenSpec {
    TMapPen role;
    int colourEntry;
    int width;
};

constexpr PenSpec kStartup[kMapPenCount] = {
    {TMapPen::Ring, 2, 4},         {TMapPen::Fine, 0, 0},         {TMapPen::Vector, 4, 3},
    {TMapPen::Heading, 4, 0},      {TMapPen::Mark2, 2, 6},        {TMapPen::Mark4, 4, 6},
    {TMapPen::Mark11, 11, 6},      {TMapPen::Entry2Width0, 2, 0}, {TMapPen::Entry0Width2, 0, 2},
    {TMapPen::Entry0Width4, 0, 4},
};

// The pens a scheme other than day recolours, with that colour.
constexpr PenSpec kNightColours[] = {
    {TMapPen::Ring, 4, 4},  {TMapPen::Mark2, 4, 6},   {TMapPen::Vector, 8, 3},
    {TMapPen::Mark4, 8, 6}, {TMapPen::Mark11, 22, 6},
};

gdi::Pen& at(TMapPens& pens, TMapPen role) {
    return pens[static_cast<std::size_t>(role)];
}

} // namespace

gdi::Pen MapPen(int colourEntry, int width) {
    return gdi::Pen{gdi::PenStyle::Solid, width, gdColour(colourEntry)};
}

TMapPens StartupMapPens() {
    TMapPens pens{};
    for (const PenSpec& p : kStartup)
        at(pens, p.role) = MapPen(p.colourEntry, p.width);
    return pens;
}

void ApplySchemePens(TMapPens& pens, int scheme) {
    if (scheme < 0 || scheme > 3) return;
    for (const PenSpec& night : kNightColours) {
        // Day gives each pen back its start-up colour.
        const PenSpec& p = scheme == 0 ? kStartup[static_cast<int>(night.role)] : night;
        at(pens, p.role) = MapPen(p.colourEntry, p.width);
    }
}
