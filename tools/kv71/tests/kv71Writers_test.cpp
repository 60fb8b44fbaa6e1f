// The writers' output laid side by side with bytes written out by hand from
// the file formats, so a fault in a fixture generator shows here rather than
// as a puzzling reader failure.
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

using namespace kv71write;

namespace {

std::uint32_t u32At(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t u16At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
double f64At(const Bytes& b, std::size_t at) {
    std::uint64_t bits = u32At(b, at) | static_cast<std::uint64_t>(u32At(b, at + 4)) << 32;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

TEST(CellFileWriter, LaysOutPrefixHeaderSectionsAndRecords) {
    CellFile cell;
    cell.header = cellHeaderFor(960, 150, 1);
    cell.header.flags = 1;
    cell.edges = {{{{1, 2}, {3, 4}}, {}}};
    cell.soundings = {{{{5, 6, 7}}, {}}};
    cell.points = {{8, 9}};
    CellObject point;
    point.classCode = 75;
    point.geometry = PointGeometry;
    point.attributes = {byteAttribute(37, 4)};
    CellObject line;
    line.classCode = 30;
    line.geometry = LineGeometry;
    line.edgeRefs = {lineRef(0, true)};
    line.children = {0};
    line.parent = 2;
    CellObject area;
    area.classCode = 71;
    area.geometry = AreaGeometry;
    area.edgeRefs = {areaRef(5, 7)};
    area.attributes = {stringAttribute(116, "Ona")};
    cell.objects = {point, line, area};
    const Bytes b = cellFileBytes(cell);

    const Bytes records = {
        75, 0x81, 9,  0, 0, 0, 1,    37,   4,                        // point, one attribute
        30, 0x32, 13, 0, 1, 0, 0x00, 0x80, 1, 0,   0,   2,   0,      // line, child 0, parent 2
        71, 0x84, 14, 0, 1, 0, 0x05, 0xE0, 1, 116, 'O', 'n', 'a', 0, // area
    };
    const Bytes geometry = {2, 0, 1, 0, 2, 0, 3, 0, 4, 0, 1, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0};
    ASSERT_EQ(b.size(), 138 + geometry.size() + records.size());
    EXPECT_EQ(u16At(b, 0), 138);
    EXPECT_EQ(u32At(b, 2), geometry.size());
    EXPECT_EQ(u32At(b, 6), records.size());
    const std::size_t h = 10;
    EXPECT_DOUBLE_EQ(f64At(b, h + 0), 320.0);
    EXPECT_DOUBLE_EQ(f64At(b, h + 8), -40.0);
    EXPECT_DOUBLE_EQ(f64At(b, h + 16), 340.0);
    EXPECT_DOUBLE_EQ(f64At(b, h + 24), -20.0);
    EXPECT_NEAR(f64At(b, h + 32), 6378388.0 * 320.0 * std::numbers::pi / 180.0, 1e-6);
    EXPECT_LT(f64At(b, h + 40), f64At(b, h + 56));
    EXPECT_EQ(u16At(b, h + 64), 1);        // edges
    EXPECT_EQ(u32At(b, h + 66), 2u);       // edge points
    EXPECT_EQ(u32At(b, h + 70), 1u);       // line references
    EXPECT_EQ(u32At(b, h + 74), 1u);       // area references
    EXPECT_EQ(u16At(b, h + 78), 1);        // sounding sets
    EXPECT_EQ(u32At(b, h + 80), 1u);       // sounding points
    EXPECT_EQ(u16At(b, h + 88), 1);        // isolated points
    EXPECT_EQ(u16At(b, h + 94), 3);        // objects
    EXPECT_EQ(u32At(b, h + 110), 1u);      // child references
    EXPECT_EQ(u32At(b, h + 120), 2u + 5u); // attribute bytes after each count
    EXPECT_EQ(u32At(b, h + 124), 1u);
    EXPECT_EQ(Bytes(b.begin() + 138, b.begin() + 138 + geometry.size()), geometry);
    EXPECT_EQ(Bytes(b.end() - records.size(), b.end()), records);
}

TEST(CellFileWriter, OverridesAndDamage) {
    CellFile cell;
    CellObject o;
    o.geometry = PointGeometry;
    o.relation = true;
    o.length = 99;
    o.attributeCount = 0;
    cell.objects = {o};
    cell.header.objectCount = 7;
    cell.prefix = std::array<std::uint32_t, 3>{1, 2, 3};
    cell.damage.append = {0xAA};
    Bytes b = cellFileBytes(cell);
    ASSERT_EQ(b.size(), 138u + 7u + 1u);
    EXPECT_EQ(u16At(b, 0) + u32At(b, 2) + u32At(b, 6), 6u);
    EXPECT_EQ(u16At(b, 10 + 94), 7);
    EXPECT_EQ(Bytes(b.begin() + 138, b.end()), (Bytes{0, 0xC1, 99, 0, 0, 0, 0, 0xAA}));
    cell.damage = {20, {}};
    EXPECT_EQ(cellFileBytes(cell).size(), 20u);
}

TEST(BlockIndexWriter, LaysOutGroupsCellsPartsAndRectangles) {
    BlockIndex index;
    InfGroup group;
    group.level = 4;
    InfCell cell;
    cell.parts = {{0x1234, {{-1, 2, 3, 4}}, {}}, {7, {}, {}}};
    group.cells = {cell};
    index.groups = {group};
    const Bytes want = {1, 4, 1, 0, 2, 0x34, 0x12, 1, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0,
                        0, 0, 3, 0, 0, 0,    4,    0, 0,    0,    7,    0,    0};
    EXPECT_EQ(blockIndexBytes(index), want);
    index.groupCount = 9;
    index.groups[0].cellCount = 300;
    index.damage.truncateTo = 4;
    EXPECT_EQ(blockIndexBytes(index), (Bytes{9, 4, 0x2C, 0x01}));

    const InfRect r = infRectFromDegrees(-10, -60, 10, 60);
    EXPECT_EQ(r.yMin, -r.yMax);
    EXPECT_EQ(r.xMin, -r.xMax);
    EXPECT_EQ(r.xMax,
              static_cast<std::int32_t>(std::lround(6378388.0 * 10 * std::numbers::pi / 180)));
}

TEST(DictionaryWriter, LinesAndLineEnds) {
    DicText t;
    t.comment(" c").blank().fields({"A", "1", "", "x"});
    EXPECT_EQ(t.text(), "* c\n\nA|1||x\n");
    EXPECT_EQ(t.text({true, false}), "* c\r\n\r\nA|1||x");
    const AttributeDef colour{
        "COLOUR", 75, "aLIST", "1", "13", "Colour", {{1, "white"}, {4, "red"}}};
    EXPECT_EQ(attributeLine(colour), "COLOUR|75|aLIST|1|13");
    EXPECT_EQ(valueDescriptionBlock(colour),
              (std::vector<std::string>{"[COLOUR]", "N=5", "0=Colour", "1=white", "4=red"}));
    EXPECT_EQ(attributeLine({"OBJNAM", 116, "aSTRING", "", "", "", {}}), "OBJNAM|116|aSTRING");
    EXPECT_EQ(objectLine({"LIGHTS", 75, "P", 24, "Light", {"COLOUR", "OBJNAM"}}),
              "LIGHTS|75|P|24|Light|COLOUR|OBJNAM");
    EXPECT_EQ(hosLine({"NO", 2, "S1", "Auth"}), "NO|2|S1|Auth");
}

TEST(TreeLayout, NamesAndPaths) {
    EXPECT_EQ(cellName(960, 150, 1), "01500960.A");
    EXPECT_EQ(cellName(5, 31, 7, 'C'), "C0310005.G");
    EXPECT_EQ(cellFilePath("/c", 975, 160, 5), "/c/01500960/E/01600975.E");
    EXPECT_EQ(cellFilePath("/c/", 0, 30, 0), "/c/00300000/Z/00300000.Z");
    EXPECT_EQ(blockIndexPath("r", 1079, 509), "r/04501020/04501020.INF");
}

} // namespace
