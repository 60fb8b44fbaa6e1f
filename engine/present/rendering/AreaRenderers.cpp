// Area fills and area patterns: prArea and PLComplexArea.
#include "rendering/Renderers.h"

#include "context/TMapContext.h"
#include "gdi/Region.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "proj/MapObject.h"
#include "rendering/RendererTrace.h"

#include <algorithm>
#include <vector>

namespace {

// The reduced detail level of TMapContext::details.
constexpr std::int32_t kReducedDetails = 0x8000;

// An element's inked extent in its font: false when it cannot be measured.
bool elementExtent(const TLineMarker& m, SIZE& out) {
    const char glyph[2] = {static_cast<char>(m.character), 0};
    switch (m.kind) {
    case kMarkerGlyph:
    case kMarkerUpright:
        GD_SelFont(m.font);
        return GD_TextExtent(glyph, &out) != 0;
    case kMarkerText:
        if (!m.text) return false;
        GD_SelFont(m.font);
        return GD_TextExtent(m.text, &out) != 0;
    default:
        return false;
    }
}

} // namespace

void PL_DrawAreaElement(const TLineMarker& m, int x, int y) {
    switch (m.kind) {
    case kMarkerGlyph:
        GD_SelFont(m.font);
        GD_SymbolXY(m.colour, x, y, m.character);
        break;
    case kMarkerText:
        if (!m.text) break;
        GD_SelFont(m.font);
        GD_WriteXY(m.colour, x, y, m.text);
        break;
    case kMarkerUpright:
        GD_SelFont(m.font);
        GD_CharXY(m.colour, x, y, m.character);
        break;
    default:
        break;
    }
}

void prArea(TMapContext*, MapObject* geometry, int colour, unsigned short pattern) {
    if (rendererTraced()) {
        RendererCall call;
        call.kind = RendererCallKind::Area;
        call.geometryType = geometry ? geometry->type : -1;
        call.colour = colour;
        call.style = pattern;
        traceRendererCall(call);
    }
    if (!geometry || geometry->type < egtLine || !geometry->points || !geometry->pointCounts)
        return;
    if (pattern) GD_SetAreaPattern(static_cast<short>(pattern));
    long long start = 0;
    for (std::int32_t k = 0; k < geometry->partCount; ++k) {
        const std::int32_t n = geometry->pointCounts[k];
        if (n <= 0) continue;
        GD_Polygon(colour, n, geometry->points + start);
        start += n;
    }
    if (pattern) GD_SetAreaPattern(0);
}

void PLComplexArea(TMapContext* context, TStyledArea* style, MapObject* geometry) {
    if (!style) return;
    if (rendererTraced()) {
        RendererCall call;
        call.kind = RendererCallKind::ComplexArea;
        call.geometryType = geometry ? geometry->type : -1;
        call.count = style->count;
        call.layout = style->layout;
        for (int e = 0; e < std::min<int>(style->count, kStyleElements); ++e)
            if (style->elements[e]) call.elements.push_back(traceMarker(*style->elements[e]));
        traceRendererCall(call);
    }
    if (!context || !geometry || style->count < 1 || style->count > kStyleElements) return;

    // The cell: the elements side by side, as wide as their widths together
    // and as high as the tallest. An element that cannot be measured, or a
    // cell without width or height, leaves nothing to tile.
    const int count = style->count;
    SIZE extents[kStyleElements];
    long long cellW = 0, cellH = 0;
    for (int e = 0; e < count; ++e) {
        const TLineMarker* m = style->elements[e];
        if (!m || !elementExtent(*m, extents[e])) return;
        cellW += extents[e].cx;
        cellH = std::max<long long>(cellH, extents[e].cy);
    }
    if (cellW <= 0 || cellH <= 0) return;

    const Rect& b = geometry->bounds;
    const long long rows = (static_cast<long long>(b.bottom) - b.top) / cellH;
    const long long cols = (static_cast<long long>(b.right) - b.left) / cellW;
    if ((rows < 2 && cols < 2) || context->details == kReducedDetails) {
        Point centre;
        if (!geometry->CentreOfGravity(centre)) return;
        long long x = centre.x;
        if (count > 1) x -= cellW / 2;
        for (int e = 0; e < count; ++e) {
            PL_DrawAreaElement(*style->elements[e], static_cast<int>(x), centre.y);
            x += extents[e].cx;
        }
        return;
    }
    if (geometry->type < egtLine || !geometry->points || !geometry->pointCounts) return;

    const bool staggered = style->layout == 0;
    std::vector<gdi::XY> ring;
    long long start = 0;
    for (std::int32_t k = 0; k < geometry->partCount; ++k) {
        const std::int32_t n = geometry->pointCounts[k];
        if (n <= 0) continue;
        ring.resize(static_cast<std::size_t>(n));
        for (std::int32_t j = 0; j < n; ++j)
            ring[static_cast<std::size_t>(j)] = {geometry->points[start + j].x,
                                                 geometry->points[start + j].y};
        start += n;
        const gdi::Region region = gdi::Region::polygon(ring, gdi::FillMode::Alternate);
        if (region.isEmpty()) continue;
        for (long long r = 0; r < rows; ++r) {
            const long long y = b.bottom - r * cellH;
            long long x = b.left + (staggered && r % 2 == 0 ? cellW : 0);
            for (long long c = 0; c < cols; ++c) {
                long long at = x;
                for (int e = 0; e < count; ++e) {
                    const long long ax = at + extents[e].cx / 2, ay = y - extents[e].cy / 2;
                    if (region.contains(static_cast<int>(ax), static_cast<int>(ay))) {
                        PL_DrawAreaElement(*style->elements[e], static_cast<int>(ax),
                                           static_cast<int>(ay));
                        at += extents[e].cx;
                    }
                }
                x += staggered ? 2 * cellW : cellW;
            }
        }
    }
}
