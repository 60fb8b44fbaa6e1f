// Symbols of the symbol element table: PLDrawSymbol.
#include "rendering/Renderers.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/CondSymbProcs.h"

void PLDrawSymbol(int index, int colour, Point at, int angle, int scale) {
    if (index < 0 || index > SymbolElementTop || index >= kSymbolElementCount) return;
    const SymbolElement& e = SymbolElements[index];
    switch (e.kind) {
    case 1:
        GD_SelFont(e.font);
        GD_CharXY(colour, at.x, at.y, e.character);
        break;
    case 2: {
        // A count, then five values per part: font, character, colour, dx, dy.
        if (!e.parts) break;
        const std::int32_t parts = e.parts[0];
        for (std::int32_t k = 0; k < parts; ++k) {
            const std::int32_t* part = e.parts + 1 + 5 * k;
            GD_SelFont(part[0]);
            GD_CharXY(part[2], at.x + part[3], at.y + part[4], part[1]);
        }
        break;
    }
    case 3:
        GD_SelFont(e.font);
        GD_VectCharXY(colour, at.x, at.y, e.character, static_cast<double>(angle), scale, 1);
        break;
    default:
        break;
    }
}
