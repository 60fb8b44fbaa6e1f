#include "procedures/PointSymbols.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/LineElementTemplates.h"
#include "proj/MapObject.h"
#include "rendering/Renderers.h"

namespace pointsymbols {

bool Reduced(const TMapContext* context) {
    return context && context->details == kReducedDetails;
}

int TypeOf(const MapObject* geometry) {
    return geometry ? geometry->type : egtEmpty;
}

bool IsArea(const MapObject* geometry) {
    return TypeOf(geometry) == egtArea;
}

bool IsLine(const MapObject* geometry) {
    return TypeOf(geometry) == egtLine;
}

void DrawSymbolGlyph(const Glyph& glyph, Point at) {
    GD_SelFont(glyph.font);
    GD_CharXY(glyph.colour, at.x, at.y, glyph.code);
}

void DrawWordAt(Point at, int dx, int dy, const char* text, int colour, int font) {
    if (!text) return;
    GD_SelFont(font);
    GD_WriteXY(colour, at.x + dx, at.y + dy, text);
}

void Boundary(TMapContext* context, MapObject* geometry, int colour, unsigned short dash) {
    prSimpleLine(context, geometry, colour, 1, dash);
}

StyledBoundary::StyledBoundary() : style_{0, 0, {}, nullptr} {}

StyledBoundary& StyledBoundary::add(int index, int count) {
    if (style_.count >= kStyleElements) return *this;
    TLineMarker& t = LineElementTemplates[static_cast<std::size_t>(index)];
    t.count = static_cast<std::int16_t>(count);
    style_.elements[style_.count++] = &t;
    return *this;
}

StyledBoundary& StyledBoundary::add(int index, int count, int colour) {
    if (style_.count >= kStyleElements) return *this;
    LineElementTemplates[static_cast<std::size_t>(index)].colour =
        static_cast<std::uint8_t>(colour);
    return add(index, count);
}

StyledBoundary& StyledBoundary::end(int index, int colour) {
    TLineMarker& t = LineElementTemplates[static_cast<std::size_t>(index)];
    t.colour = static_cast<std::uint8_t>(colour);
    style_.endMarker = &t;
    return *this;
}

void StyledBoundary::draw(TMapContext* context, MapObject* geometry) {
    prComplexLine(context, &style_, geometry);
}

} // namespace pointsymbols
