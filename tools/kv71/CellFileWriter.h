// Writer of KV71 cell files.
//
// Layout, little-endian, no padding: a 10-byte prefix of three section
// lengths (u16, u32, u32) that add up to the file size; a 128-byte header
// (cell box in degrees and in spherical Mercator metres, the counts of every
// table, the attribute data size, the cell flags); the edges (u16 n, n x
// (u16 x, u16 y)); the sounding sets (u16 n, n x (u16 x, u16 y, u16 z)); the
// isolated points (u16 x, u16 y); the object records.
//
// Object record: u8 class code; u8 flags (bits 0-3 geometry kind 1 point,
// 2 line, 4 area, 8 sounding set; bit 4 children, bit 5 parent, bit 6
// relation, bit 7 attributes); u16 record length including these 4 bytes;
// the geometry (u16 index, or u16 n and n u16 edge references); u8 child count
// and u16 object indices; u16 parent index; u8 attribute count and the
// attribute records (u8 code, then the value in the attribute's format).
#pragma once

#include "tools/kv71/ByteBuffer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv71write {

struct LocalPoint {
    std::uint16_t x = 0, y = 0;
};
struct SoundingPoint {
    std::uint16_t x = 0, y = 0, z = 0;
};

// Every count written is that of the contents unless an override is given.
struct CellEdge {
    std::vector<LocalPoint> points;
    std::optional<std::uint16_t> pointCount;
};
struct SoundingSet {
    std::vector<SoundingPoint> points;
    std::optional<std::uint16_t> pointCount;
};

enum GeometryKind : std::uint8_t {
    NoGeometry = 0,
    PointGeometry = 1,
    LineGeometry = 2,
    AreaGeometry = 4,
    SoundingGeometry = 8,
};

// Edge references: a line's are the edge index (bits 0-14) and bit 15 for
// reversed; an area's the edge index (bits 0-12) and flags in bits 13-15.
constexpr std::uint16_t lineRef(std::uint16_t edge, bool reversed = false) {
    return static_cast<std::uint16_t>((edge & 0x7FFF) | (reversed ? 0x8000 : 0));
}
constexpr std::uint16_t areaRef(std::uint16_t edge, unsigned flags = 0) {
    return static_cast<std::uint16_t>((edge & 0x1FFF) | ((flags & 7) << 13));
}

struct CellAttribute {
    std::uint8_t code = 0;
    Bytes value; // the value bytes as the attribute's format lays them out
};
CellAttribute byteAttribute(std::uint8_t code, std::uint8_t v);            // format 1
CellAttribute wordAttribute(std::uint8_t code, std::uint16_t v);           // format 2
CellAttribute longAttribute(std::uint8_t code, std::uint32_t v);           // format 3
CellAttribute floatAttribute(std::uint8_t code, float v);                  // format 4
CellAttribute stringAttribute(std::uint8_t code, const std::string& text); // format 5
CellAttribute complexAttribute(std::uint8_t code, std::array<std::uint8_t, 3> head,
                               const std::string& text);                                 // format 6
CellAttribute listAttribute(std::uint8_t code, const std::vector<std::uint8_t>& values); // 7
// One attribute of each format 1..7: codes 10, 11, 12, 13, 116 (the
// string), 15 and 16, in format order.
std::vector<CellAttribute> attributesOfEveryFormat();

struct CellObject {
    std::uint8_t classCode = 0;
    std::uint8_t geometry = NoGeometry;
    std::uint16_t index = 0;             // point or sounding set index
    std::vector<std::uint16_t> edgeRefs; // line or area
    std::vector<std::uint16_t> children; // object indices
    std::optional<std::uint16_t> parent;
    bool relation = false;
    std::vector<CellAttribute> attributes;

    // Deliberate faults.
    std::optional<std::uint8_t> flags; // the whole flag byte
    std::optional<std::uint16_t> length;
    std::optional<std::uint16_t> edgeRefCount;
    std::optional<std::uint8_t> childCount;
    std::optional<std::uint8_t> attributeCount;
};

struct CellHeader {
    double west = 0, south = 0, east = 0, north = 0; // degrees
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;   // metres
    std::uint32_t flags = 0;

    // Overrides of the counts computed from the contents.
    std::optional<std::uint16_t> edgeCount;
    std::optional<std::uint32_t> edgePointCount;
    std::optional<std::uint32_t> edgeRefsFirst;  // default: line references
    std::optional<std::uint32_t> edgeRefsSecond; // default: area references
    std::optional<std::uint16_t> soundingSetCount;
    std::optional<std::uint32_t> soundingPointCount;
    std::optional<std::uint16_t> pointCount;
    std::optional<std::uint16_t> objectCount;
    std::optional<std::uint32_t> childRefCount;
    std::optional<std::uint32_t> attributeBytes;
};

// The header of the cell (lonIndex, latIndex, level): its box in degrees and
// in Mercator metres, no flags.
CellHeader cellHeaderFor(int lonIndex, int latIndex, int level);

struct CellFile {
    CellHeader header;
    std::vector<CellEdge> edges;
    std::vector<SoundingSet> soundings;
    std::vector<LocalPoint> points;
    std::vector<CellObject> objects;
    // Section lengths of the prefix; by default 138 (prefix and header), the
    // edge, sounding and point sections, and the object section.
    std::optional<std::array<std::uint32_t, 3>> prefix;
    Damage damage;
};

Bytes cellFileBytes(const CellFile& cell);

// Writes the cell under its name in the tree: root/BLOCK/LEVEL/NAME.
bool writeCellFile(const std::string& root, int lonIndex, int latIndex, int level,
                   const CellFile& cell, char variant = '0');

} // namespace kv71write
