#include "tools/kv71/CellFileWriter.h"

#include "tools/kv71/TreeLayout.h"

#include <cstring>

namespace kv71write {

CellAttribute byteAttribute(std::uint8_t code, std::uint8_t v) {
    return {code, {v}};
}

CellAttribute wordAttribute(std::uint8_t code, std::uint16_t v) {
    ByteBuffer b;
    b.u16(v);
    return {code, b.bytes()};
}

CellAttribute longAttribute(std::uint8_t code, std::uint32_t v) {
    ByteBuffer b;
    b.u32(v);
    return {code, b.bytes()};
}

CellAttribute floatAttribute(std::uint8_t code, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return longAttribute(code, bits);
}

CellAttribute stringAttribute(std::uint8_t code, const std::string& text) {
    Bytes value(text.begin(), text.end());
    value.push_back(0);
    return {code, value};
}

CellAttribute complexAttribute(std::uint8_t code, std::array<std::uint8_t, 3> head,
                               const std::string& text) {
    Bytes value(head.begin(), head.end());
    value.insert(value.end(), text.begin(), text.end());
    value.push_back(0);
    return {code, value};
}

CellAttribute listAttribute(std::uint8_t code, const std::vector<std::uint8_t>& values) {
    Bytes value{static_cast<std::uint8_t>(values.size())};
    value.insert(value.end(), values.begin(), values.end());
    return {code, value};
}

std::vector<CellAttribute> attributesOfEveryFormat() {
    return {byteAttribute(10, 7),          wordAttribute(11, 1234),
            longAttribute(12, 0xDEADBEEF), floatAttribute(13, -2.5f),
            stringAttribute(116, "Skarv"), complexAttribute(15, {1, 2, 3}, "x"),
            listAttribute(16, {1, 3})};
}

CellHeader cellHeaderFor(int lonIndex, int latIndex, int level) {
    const DegreeBox box = cellDegrees(lonIndex, latIndex, level);
    CellHeader h;
    h.west = box.west;
    h.south = box.south;
    h.east = box.east;
    h.north = box.north;
    h.xMin = mercatorX(box.west);
    h.yMin = mercatorY(box.south);
    h.xMax = mercatorX(box.east);
    h.yMax = mercatorY(box.north);
    return h;
}

static bool isPointLike(std::uint8_t kind) {
    return kind == PointGeometry || kind == SoundingGeometry;
}
static bool isEdgeList(std::uint8_t kind) {
    return kind == LineGeometry || kind == AreaGeometry;
}

static Bytes objectRecord(const CellObject& o) {
    ByteBuffer body;
    if (isPointLike(o.geometry)) {
        body.u16(o.index);
    } else if (isEdgeList(o.geometry)) {
        body.u16(o.edgeRefCount.value_or(static_cast<std::uint16_t>(o.edgeRefs.size())));
        for (std::uint16_t r : o.edgeRefs)
            body.u16(r);
    }
    const bool hasChildren = !o.children.empty() || o.childCount;
    if (hasChildren) {
        body.u8(o.childCount.value_or(static_cast<std::uint8_t>(o.children.size())));
        for (std::uint16_t c : o.children)
            body.u16(c);
    }
    if (o.parent) body.u16(*o.parent);
    const bool hasAttributes = !o.attributes.empty() || o.attributeCount;
    if (hasAttributes) {
        body.u8(o.attributeCount.value_or(static_cast<std::uint8_t>(o.attributes.size())));
        for (const CellAttribute& a : o.attributes) {
            body.u8(a.code);
            body.raw(a.value);
        }
    }
    const std::uint8_t flags = o.flags.value_or(static_cast<std::uint8_t>(
        (o.geometry & 0x0F) | (hasChildren ? 0x10 : 0) | (o.parent ? 0x20 : 0) |
        (o.relation ? 0x40 : 0) | (hasAttributes ? 0x80 : 0)));
    ByteBuffer record;
    record.u8(o.classCode);
    record.u8(flags);
    record.u16(o.length.value_or(static_cast<std::uint16_t>(body.size() + 4)));
    record.raw(body.bytes());
    return record.bytes();
}

Bytes cellFileBytes(const CellFile& cell) {
    const CellHeader& h = cell.header;
    std::uint32_t edgePoints = 0, soundingPoints = 0, lineRefs = 0, areaRefs = 0, childRefs = 0,
                  attributeBytes = 0;
    for (const CellEdge& e : cell.edges)
        edgePoints += static_cast<std::uint32_t>(e.points.size());
    for (const SoundingSet& s : cell.soundings)
        soundingPoints += static_cast<std::uint32_t>(s.points.size());
    for (const CellObject& o : cell.objects) {
        if (o.geometry == LineGeometry) lineRefs += static_cast<std::uint32_t>(o.edgeRefs.size());
        if (o.geometry == AreaGeometry) areaRefs += static_cast<std::uint32_t>(o.edgeRefs.size());
        childRefs += static_cast<std::uint32_t>(o.children.size());
        for (const CellAttribute& a : o.attributes)
            attributeBytes += static_cast<std::uint32_t>(1 + a.value.size());
    }

    ByteBuffer header;
    for (double v : {h.west, h.south, h.east, h.north, h.xMin, h.yMin, h.xMax, h.yMax})
        header.f64(v);
    header.u16(h.edgeCount.value_or(static_cast<std::uint16_t>(cell.edges.size()))); // 64
    header.u32(h.edgePointCount.value_or(edgePoints));                               // 66
    header.u32(h.edgeRefsFirst.value_or(lineRefs));                                  // 70
    header.u32(h.edgeRefsSecond.value_or(areaRefs));                                 // 74
    header.u16(h.soundingSetCount.value_or(static_cast<std::uint16_t>(cell.soundings.size())));
    header.u32(h.soundingPointCount.value_or(soundingPoints));                           // 80
    header.zeros(4);                                                                     // 84
    header.u16(h.pointCount.value_or(static_cast<std::uint16_t>(cell.points.size())));   // 88
    header.zeros(4);                                                                     // 90
    header.u16(h.objectCount.value_or(static_cast<std::uint16_t>(cell.objects.size()))); // 94
    header.zeros(14);                                                                    // 96
    header.u32(h.childRefCount.value_or(childRefs));                                     // 110
    header.zeros(6);                                                                     // 114
    header.u32(h.attributeBytes.value_or(attributeBytes));                               // 120
    header.u32(h.flags);                                                                 // 124

    ByteBuffer geometry;
    for (const CellEdge& e : cell.edges) {
        geometry.u16(e.pointCount.value_or(static_cast<std::uint16_t>(e.points.size())));
        for (const LocalPoint& p : e.points) {
            geometry.u16(p.x);
            geometry.u16(p.y);
        }
    }
    for (const SoundingSet& s : cell.soundings) {
        geometry.u16(s.pointCount.value_or(static_cast<std::uint16_t>(s.points.size())));
        for (const SoundingPoint& p : s.points) {
            geometry.u16(p.x);
            geometry.u16(p.y);
            geometry.u16(p.z);
        }
    }
    for (const LocalPoint& p : cell.points) {
        geometry.u16(p.x);
        geometry.u16(p.y);
    }
    ByteBuffer objects;
    for (const CellObject& o : cell.objects)
        objects.raw(objectRecord(o));

    const std::array<std::uint32_t, 3> sections = cell.prefix.value_or(std::array<std::uint32_t, 3>{
        static_cast<std::uint32_t>(10 + header.size()), static_cast<std::uint32_t>(geometry.size()),
        static_cast<std::uint32_t>(objects.size())});
    ByteBuffer out;
    out.u16(static_cast<std::uint16_t>(sections[0]));
    out.u32(sections[1]);
    out.u32(sections[2]);
    out.raw(header.bytes());
    out.raw(geometry.bytes());
    out.raw(objects.bytes());
    Bytes image = out.bytes();
    applyDamage(image, cell.damage);
    return image;
}

bool writeCellFile(const std::string& root, int lonIndex, int latIndex, int level,
                   const CellFile& cell, char variant) {
    return writeFileAtomically(cellFilePath(root, lonIndex, latIndex, level, variant),
                               cellFileBytes(cell));
}

} // namespace kv71write
