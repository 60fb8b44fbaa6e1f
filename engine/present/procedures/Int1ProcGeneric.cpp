// The generic procedure of object codes 37, 69, 74, 134, 150, 156, 161 and
// 166: a glyph for points and areas, a dashed line with a glyph for lines.
#include "procedures/Int1Procs.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/LineElementTemplates.h"
#include "procedures/SymbolPlacement.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

void Int1ProcGeneric(TMapContext* context, GdbObject*, MapObject* geometry) {
    if (!geometry) return;
    if (geometry->type == egtLine) {
        // A 100-pixel dash 0x0F0F, then glyph 13 of font 34, both magenta,
        // whatever another procedure left in the shared templates.
        TLineMarker* t = LineElementTemplates.data();
        t[2].colour = 14;
        t[41].colour = 14;
        t[0].colour = 14;
        t[2].count = 100;
        t[41].count = 1;
        TStyledLine style{0, 2, {&t[2], &t[41]}, &t[0]};
        prComplexLine(context, &style, geometry);
        return;
    }
    Point at;
    if (!SymbolPosition(geometry, at)) return;
    GD_SelFont(35);
    GD_CharXY(2, at.x, at.y, 7);
}
