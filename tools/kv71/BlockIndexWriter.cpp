#include "tools/kv71/BlockIndexWriter.h"

#include "tools/kv71/TreeLayout.h"

#include <cmath>

namespace kv71write {

static std::int32_t metres(double v) {
    return static_cast<std::int32_t>(std::lround(v));
}

InfRect infRectFromDegrees(double west, double south, double east, double north) {
    return {metres(mercatorY(south)), metres(mercatorX(west)), metres(mercatorY(north)),
            metres(mercatorX(east))};
}

InfCell infCellOf(int lonIndex, int latIndex, int level) {
    const DegreeBox box = cellDegrees(lonIndex, latIndex, level);
    InfPart part;
    part.rects.push_back(infRectFromDegrees(box.west, box.south, box.east, box.north));
    return InfCell{{part}, std::nullopt};
}

Bytes blockIndexBytes(const BlockIndex& index) {
    ByteBuffer out;
    out.u8(index.groupCount.value_or(static_cast<std::uint8_t>(index.groups.size())));
    for (const InfGroup& g : index.groups) {
        out.u8(g.level);
        out.u16(g.cellCount.value_or(static_cast<std::uint16_t>(g.cells.size())));
        for (const InfCell& c : g.cells) {
            out.u8(c.partCount.value_or(static_cast<std::uint8_t>(c.parts.size())));
            for (const InfPart& p : c.parts) {
                out.u16(p.value);
                out.u8(p.rectCount.value_or(static_cast<std::uint8_t>(p.rects.size())));
                for (const InfRect& r : p.rects) {
                    out.i32(r.yMin);
                    out.i32(r.xMin);
                    out.i32(r.yMax);
                    out.i32(r.xMax);
                }
            }
        }
    }
    Bytes image = out.bytes();
    applyDamage(image, index.damage);
    return image;
}

bool writeBlockIndex(const std::string& root, int lonIndex, int latIndex, const BlockIndex& index) {
    return writeFileAtomically(blockIndexPath(root, lonIndex, latIndex), blockIndexBytes(index));
}

} // namespace kv71write
