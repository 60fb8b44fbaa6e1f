#include "procedures/SymbolPlacement.h"

#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "proj/MapObject.h"

bool SymbolPosition(const MapObject* geometry, Point& out) {
    if (!geometry || geometry->type == egtEmpty) return false;
    if (geometry->type == egtArea) return geometry->CentreOfGravity(out) != 0;
    out = Point{geometry->bounds.left, geometry->bounds.top};
    return true;
}

bool FirstPoint(const MapObject* geometry, Point& out) {
    if (!geometry || geometry->type == egtEmpty) return false;
    out = Point{geometry->bounds.left, geometry->bounds.top};
    return true;
}

Point LabelOrigin(Point at, LabelSide side, int textWidth) {
    constexpr int half = kSymbolWidth / 2, quarter = kSymbolWidth / 4;
    switch (side) {
    case LabelSide::Left:
        return Point{at.x - textWidth - half, at.y - kSymbolHeight / 2};
    case LabelSide::Quarter:
        return Point{at.x + quarter, at.y - kSymbolHeight / 4};
    case LabelSide::Right:
    default:
        return Point{at.x + half, at.y - kSymbolHeight / 2};
    }
}

void DrawLabel(Point at, const char* text, int colour, LabelSide side) {
    if (!text) return;
    GD_SelFont(-2);
    const int width = side == LabelSide::Left ? GD_TextWidth(text) : 0;
    const Point p = LabelOrigin(at, side, width);
    GD_WriteXY(colour, p.x, p.y, text);
}
