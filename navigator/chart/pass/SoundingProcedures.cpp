#include "chart/pass/SoundingProcedures.h"

#include "context/TMapContext.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsText.h"
#include "procedures/AttributeReads.h"
#include "procedures/SoundValue.h"
#include "proj/MapObject.h"

#include <cstdint>
#include <iterator>

double SoundingDepthLimit = 5.0;
TSoundValueWriter SoundValueWriter = _DrawSoundValue;

namespace {

// Attribute codes.
constexpr unsigned kFirstStyle = 69, kSecondStyle = 92, kThirdStyle = 111, kDepth = 116,
                   kRockKind = 124;

// A sounding set's values above this hold whole metres over it.
constexpr std::int32_t kMetreValues = 12000;

// The symbol font and the rock marks by kind (0: none).
constexpr int kSymbolFont = 35;
constexpr int kRockMarks[] = {0, 75, 75, 76, 74, 77};

struct Styles {
    unsigned a = 0, b = 0, c = 0;
};

Styles readStyles(GdbObject* object) {
    Styles s;
    AttrByte(object, kFirstStyle, s.a);
    AttrByte(object, kSecondStyle, s.b);
    AttrSecondByte(object, kThirdStyle, s.c);
    return s;
}

// Attribute 116 in metres; false when absent.
bool readDepth(GdbObject* object, double& depth) {
    float stored;
    if (!AttrFloat(object, kDepth, stored)) return false;
    depth = stored * 0.1;
    return true;
}

bool shallowEnough(double depth) {
    return depth <= SoundingDepthLimit;
}

void writeDepth(TMapContext* context, int x, int y, double depth, const Styles& s) {
    SoundValueWriter(context, x, y, static_cast<float>(depth), s.a, s.b, s.c, nullptr, 0);
}

} // namespace

void CondSymbProc147(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!context || !geometry || context->scaleExponent < -1) return;
    const Styles styles = readStyles(object);
    if (geometry->type == egtPoint) {
        double depth;
        if (readDepth(object, depth) && shallowEnough(depth))
            writeDepth(context, geometry->bounds.left, geometry->bounds.top, depth, styles);
        return;
    }
    if (geometry->type != egtSoundings) return;
    // One depth per point of the first part, in the extras.
    if (geometry->partCount < 1 || !geometry->pointCounts || !geometry->points || !geometry->extras)
        return;
    const std::int32_t n = geometry->pointCounts[0];
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t z = geometry->extras[i];
        const double depth = z > kMetreValues ? z - double(kMetreValues) : z * 0.1;
        // A deeper sounding is skipped, not the end of the set: the shallow
        // ones after it are the ones the limit is there to show.
        if (!shallowEnough(depth)) continue;
        writeDepth(context, geometry->points[i].x, geometry->points[i].y, depth, styles);
    }
}

void CondSymbProc168(TMapContext* context, GdbObject* object, MapObject* geometry) {
    if (!context || !geometry || geometry->type != egtPoint || context->scaleExponent < -1) return;
    const int x = geometry->bounds.left, y = geometry->bounds.top;
    unsigned kind = 0;
    AttrByte(object, kRockKind, kind);
    double depth;
    if (readDepth(object, depth)) {
        if (!shallowEnough(depth)) return;
        writeDepth(context, kind > 0 ? x + 10 : x, y, depth, readStyles(object));
    }
    const int mark = kind < std::size(kRockMarks) ? kRockMarks[kind] : 0;
    if (mark) {
        GD_SelFont(kSymbolFont);
        GD_CharXY(0, x, y, mark);
    }
}
