#include "KV71CellFixture.h"

#include "geo/GeoPoint.h"

#include <cmath>
#include <cstring>
#include <functional>

using namespace kv71write;
using namespace kv71cells;

namespace {

// A cell with every kind of geometry and every attribute format.
CellFile fullCell() {
    CellFile cell = emptyCell();
    cell.header.flags = 0x3;
    cell.edges = {
        {{{10, 20}, {5, 30}, {40, 1}}, {}},
        {{}, {}},
        {{{1, 1}}, {}},
        {{{2, 2}}, {}},
        {{{3, 3}}, {}},
        {{{7, 9}, {6, 65535}}, {}},
    };
    cell.soundings = {{{{1, 2, 3}, {4, 5, 6}}, {}}};
    cell.points = {{100, 200}, {300, 400}};
    CellObject point;
    point.classCode = 1;
    point.geometry = PointGeometry;
    point.index = 1; // the last isolated point
    point.attributes = attributesOfEveryFormat();
    CellObject line;
    line.classCode = 2;
    line.geometry = LineGeometry;
    line.edgeRefs = {0x8005, lineRef(0)};
    CellObject area;
    area.classCode = 3;
    area.geometry = AreaGeometry;
    area.edgeRefs = {0xE005, areaRef(1, 2)};
    CellObject sounding;
    sounding.classCode = 4;
    sounding.geometry = SoundingGeometry;
    sounding.index = 0;
    CellObject odd;
    odd.classCode = 5;
    odd.flags = 0x03; // geometry kind 3: no geometry
    cell.objects = {point, line, area, sounding, odd};
    return cell;
}

} // namespace

using CellReader = CellTree;

TEST_F(CellReader, LoadsEveryGeometryKindAndAttribute) {
    const CellFile written = fullCell();
    const std::string name = write(written);
    std::uint16_t count = 0;
    KV71ObjectRecord* objects = load(name, &count);
    ASSERT_NE(objects, nullptr) << (traces().empty() ? "" : traces().back());
    ASSERT_EQ(count, 5);
    TGeoCell* cell = KV71CurrentCell();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->objects, objects);
    EXPECT_STREQ(cell->name, name.c_str());
    EXPECT_EQ(cell->lon, 30);
    EXPECT_EQ(cell->lat, 300);
    EXPECT_EQ(cell->level, 5);
    EXPECT_EQ(KV71CurrentCellFlag(), 1);
    EXPECT_DOUBLE_EQ(cell->xMin, written.header.xMin);
    EXPECT_DOUBLE_EQ(cell->yScale, (written.header.yMax - written.header.yMin) / 65535);
    EXPECT_EQ(cell->rect.lon1, deg2nrm(10.0L));
    EXPECT_EQ(cell->rect.lat2, deg2nrm(10.0L + 1.0L / 3));

    // Edges and their boxes; an edge without points has the empty box.
    const KV71Edge& e0 = cell->edges[0];
    EXPECT_EQ(e0.count, 3);
    EXPECT_EQ(e0.points[2].x, 40);
    EXPECT_EQ((std::vector<int>{e0.minX, e0.minY, e0.maxX, e0.maxY}),
              (std::vector<int>{5, 1, 40, 30}));
    const KV71Edge& e1 = cell->edges[1];
    EXPECT_EQ(e1.count, 0);
    EXPECT_GT(e1.minX, e1.maxX);
    EXPECT_GT(e1.minY, e1.maxY);
    EXPECT_EQ(cell->edges[5].maxY, 65535);

    const KV71ObjectRecord& point = objects[0];
    EXPECT_EQ(point.flags & 0x0F, KV71PointGeometry);
    EXPECT_EQ(point.geometryCount, 1);
    EXPECT_EQ(point.geometry.point->x, 300);
    EXPECT_EQ(point.geometry.point->y, 400);

    // A line's bit 15 is "reversed"; an area's bits 13-15 are its three flags.
    const KV71ObjectRecord& line = objects[1];
    ASSERT_EQ(line.geometryCount, 2);
    EXPECT_EQ(line.geometry.edgeRefs[0].edge, &cell->edges[5]);
    EXPECT_EQ(line.geometry.edgeRefs[0].flags, KV71RefReversed);
    EXPECT_EQ(line.geometry.edgeRefs[1].edge, &cell->edges[0]);
    EXPECT_EQ(line.geometry.edgeRefs[1].flags, 0);
    const KV71ObjectRecord& area = objects[2];
    ASSERT_EQ(area.geometryCount, 2);
    EXPECT_EQ(area.geometry.edgeRefs[0].edge, &cell->edges[5]);
    EXPECT_EQ(area.geometry.edgeRefs[0].flags, 7);
    EXPECT_EQ(area.geometry.edgeRefs[1].edge, &cell->edges[1]);
    EXPECT_EQ(area.geometry.edgeRefs[1].flags, KV71RefRing);

    const KV71ObjectRecord& sounding = objects[3];
    EXPECT_EQ(sounding.geometryCount, 1);
    ASSERT_EQ(sounding.geometry.soundings->count, 2);
    EXPECT_EQ(sounding.geometry.soundings->points[1].z, 6);

    EXPECT_EQ(objects[4].flags & 0x0F, KV71NoGeometry);
    EXPECT_EQ(objects[4].geometry.any, nullptr);

    // The attribute bytes are those of the file, and bounded.
    ByteBuffer expected;
    for (const CellAttribute& a : written.objects[0].attributes) {
        expected.u8(a.code);
        expected.raw(a.value);
    }
    EXPECT_EQ(point.attributeCount, 7);
    ASSERT_EQ(point.attributeSize, expected.size());
    EXPECT_EQ(0, std::memcmp(point.attributes, expected.bytes().data(), expected.size()));
    EXPECT_EQ(line.attributeCount, 0);
    EXPECT_EQ(line.attributes, nullptr);
}

TEST_F(CellReader, ChildKeepsItsOwnChildrenAndLearnsItsParent) {
    // 0 holds 1 (not read yet when 0 is), 1 holds 2 and names 0 as its
    // parent, 3 holds 0 and 2.
    CellFile cell = emptyCell();
    cell.objects.resize(4);
    for (CellObject& o : cell.objects)
        o.classCode = 1;
    cell.objects[0].children = {1};
    cell.objects[1].children = {2};
    cell.objects[1].parent = 0;
    cell.objects[2].parent = 1;
    cell.objects[3].children = {0, 2};
    KV71ObjectRecord* o = load(write(cell));
    ASSERT_NE(o, nullptr);
    ASSERT_EQ(o[1].childCount, 1);
    EXPECT_EQ(o[1].children[0], &o[2]);
    EXPECT_EQ(o[1].parent, &o[0]);
    EXPECT_EQ(o[1].flags & KV71HasParent, KV71HasParent);
    EXPECT_EQ(o[0].children[0], &o[1]);
    EXPECT_EQ(o[0].parent, &o[3]);
    EXPECT_EQ(o[2].parent, &o[3]); // the last list that holds it
    EXPECT_EQ(o[3].childCount, 2);
    EXPECT_EQ(o[3].parent, nullptr);
}

TEST_F(CellReader, SortsByPriorityKeepingFileOrderAmongEquals) {
    // Class -> priority: 1 -> 5, 2 -> 9, 3 -> 5, 4 -> 0, 5 -> 255, 6 -> 9.
    const std::vector<std::uint8_t> classes = {2, 1, 6, 3, 2, 1, 5};
    CellFile file = emptyCell();
    for (std::uint8_t c : classes) {
        CellObject o;
        o.classCode = c;
        file.objects.push_back(o);
    }
    KV71ObjectRecord* o = load(write(file));
    ASSERT_NE(o, nullptr);
    TGeoCell* cell = KV71CurrentCell();
    std::vector<long> order;
    for (unsigned i = 0; i < classes.size(); ++i)
        order.push_back(cell->sorted[i] - o);
    EXPECT_EQ(order, (std::vector<long>{1, 3, 5, 0, 2, 4, 6}));
    EXPECT_EQ(cell->lowPriority, 5);
    EXPECT_EQ(cell->highPriority, 255);
    // Entry p - 5: the objects of priority p or below.
    EXPECT_EQ(cell->priorityIndex[0], 3u);
    EXPECT_EQ(cell->priorityIndex[3], 3u);
    EXPECT_EQ(cell->priorityIndex[4], 6u);
    EXPECT_EQ(cell->priorityIndex[249], 6u);
    EXPECT_EQ(cell->priorityIndex[250], 7u);
}

TEST_F(CellReader, CellWithoutObjectsIsLoadedWithAnEmptyPriorityRange) {
    std::uint16_t count = 1;
    EXPECT_EQ(load(write(emptyCell()), &count), nullptr);
    EXPECT_EQ(count, 0);
    TGeoCell* cell = KV71CurrentCell();
    ASSERT_NE(cell, nullptr);
    EXPECT_GT(cell->lowPriority, cell->highPriority);
    EXPECT_EQ(cell->priorityIndex, nullptr);
    EXPECT_EQ(KV71CellCacheList().count, 1u);
}

TEST_F(CellReader, SnapsHeaderDegreesToTheNearestSixth) {
    struct Case {
        double degrees;
        long double snapped;
    };
    const Case cases[] = {
        {10.08, 10.0L}, {10.09, 61.0L / 6}, {-0.05, 0.0L}, {-10.09, -61.0L / 6}, {359.95, 360.0L}};
    int lon = 0;
    for (const Case& c : cases) {
        CellFile file = emptyCell();
        file.header.south = c.degrees;
        const std::string name = write(file, lon, 300);
        load(name);
        ASSERT_NE(FindKV71Cell(name.c_str()), nullptr) << c.degrees;
        EXPECT_EQ(FindKV71Cell(name.c_str())->rect.lat1, deg2nrm(c.snapped)) << c.degrees;
        ++lon;
    }
}

TEST_F(CellReader, AnswersCachedCellsWhateverTheNameCase) {
    const std::string name = write(fullCell());
    ASSERT_NE(load(name), nullptr);
    TGeoCell* first = KV71CurrentCell();
    std::string lower = name;
    lower[9] = static_cast<char>(lower[9] - 'A' + 'a');
    std::uint16_t count = 0;
    EXPECT_EQ(LoadKV71Cell(lower.data(), count), first->objects);
    EXPECT_EQ(lower, name); // upper-cased in place
    EXPECT_EQ(count, 5);
    EXPECT_EQ(KV71CellCacheList().count, 1u);
}

TEST_F(CellReader, MissingFileBadNameAndNoCurrentCell) {
    std::uint16_t count = 9;
    EXPECT_EQ(load(cellName(31, 300, 5), &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(KV71CurrentCell(), nullptr);
    try {
        KV71CurrentCellFlag();
        ADD_FAILURE() << "no exception";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: No cell is current");
    }
    char bad[] = "0300003.E";
    try {
        LoadKV71Cell(bad, count);
        ADD_FAILURE() << "no exception";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: Illegal cell name: 0300003.E");
    }
    std::uint8_t buffer[4];
    EXPECT_EQ(ReadKV71Block(buffer, 0), 1);
    EXPECT_EQ(ReadKV71Block(buffer, 4), 0); // no file is open between loads
    EXPECT_TRUE(traced("Cannot read 4 bytes"));
}

// Sets the prefix so that its sections add up to the image's size again.
void fixPrefix(Bytes& image) {
    const std::uint32_t first = image[0] | image[1] << 8;
    const std::uint32_t rest = static_cast<std::uint32_t>(image.size()) - first;
    for (int i = 0; i < 4; ++i) {
        image[2 + i] = 0;
        image[6 + i] = static_cast<std::uint8_t>(rest >> (8 * i));
    }
}

// Each cell is refused, frees what it took, and leaves the cache's other
// cells alone.
TEST_F(CellReader, RefusesCorruptCells) {
    struct Case {
        const char* what;
        std::function<void(CellFile&)> damage;
        const char* trace; // "" when the refusal names no particular fault
        std::function<void(Bytes&)> patch = nullptr;
    };
    const Case cases[] = {
        {"one byte more than the prefix says", [](CellFile& c) { c.damage.append = {0}; },
         "Cell 03000030.E is corrupt"},
        {"prefix sum that wraps in 32 bits",
         [](CellFile& c) {
             const Bytes good = cellFileBytes(c);
             const std::uint32_t size = static_cast<std::uint32_t>(good.size());
             c.prefix = std::array<std::uint32_t, 3>{138, 0x80000000u, size - 138 + 0x80000000u};
         },
         "Cell 03000030.E is corrupt"},
        {"attribute data size beyond the file",
         [](CellFile& c) { c.header.attributeBytes = 0xFFFFFFFF; }, "Cell 03000030.E is corrupt"},
        {"edge point count beyond the file",
         [](CellFile& c) { c.header.edgePointCount = 0x40000000; }, "Cell 03000030.E is corrupt"},
        {"object count beyond the file", [](CellFile& c) { c.header.objectCount = 65535; },
         "Cell 03000030.E is corrupt"},
        {"header degree that is not a number", [](CellFile& c) { c.header.west = std::nan(""); },
         "Cell 03000030.E is corrupt"},
        {"file cut inside the last record",
         [](CellFile& c) { c.damage.truncateTo = cellFileBytes(c).size() - 3; },
         "Problems loading 03000030.E", [](Bytes& b) { fixPrefix(b); }},
        {"edge points beyond the header count", [](CellFile& c) { c.header.edgePointCount = 7; },
         "Problems loading 03000030.E"},
        {"edge count beyond its points", [](CellFile& c) { c.edges[5].pointCount = 60000; },
         "Problems loading 03000030.E"},
        {"sounding points beyond the header count",
         [](CellFile& c) { c.header.soundingPointCount = 1; }, "Problems loading 03000030.E"},
        {"edge references beyond the header count",
         [](CellFile& c) {
             c.header.edgeRefsFirst = 1;
             c.header.edgeRefsSecond = 2;
         },
         "Problems loading 03000030.E"},
        {"child references beyond the header count",
         [](CellFile& c) {
             c.objects[3].children = {0};
             c.header.childRefCount = 0;
         },
         "Problems loading 03000030.E"},
        {"attribute bytes beyond the header count",
         [](CellFile& c) { c.header.attributeBytes = 20; }, "Problems loading 03000030.E"},
        {"record shorter than its fields", [](CellFile& c) { c.objects[1].length = 7; },
         "Problems loading 03000030.E"},
        {"record longer than its fields", [](CellFile& c) { c.objects[3].length = 8; },
         "Problems loading 03000030.E"},
        {"record length below its own head", [](CellFile& c) { c.objects[4].length = 3; },
         "Problems loading 03000030.E"},
        {"last record past the end of the file", [](CellFile& c) { c.objects[4].length = 9; },
         "Problems loading 03000030.E"},
        {"attribute length that would underflow", [](CellFile& c) { c.objects[0].length = 6; },
         "Problems loading 03000030.E"},
        {"class code outside the object table", [](CellFile& c) { c.objects[2].classCode = 7; },
         "Problems loading 03000030.E"},
        {"point index equal to the point count", [](CellFile& c) { c.objects[0].index = 2; },
         "Error in 3D pointers"},
        {"sounding set index out of range", [](CellFile& c) { c.objects[3].index = 1; },
         "Error in 3D pointers"},
        {"line edge index out of range", [](CellFile& c) { c.objects[1].edgeRefs[1] = 6; },
         "Problems loading 03000030.E"},
        {"area edge index out of range",
         [](CellFile& c) { c.objects[2].edgeRefs[0] = areaRef(0x1FFF, 7); },
         "Problems loading 03000030.E"},
        {"child index out of range", [](CellFile& c) { c.objects[3].children = {5}; },
         "Error in object pointers"},
        {"object that is its own child", [](CellFile& c) { c.objects[3].children = {3}; },
         "Error in object pointers"},
        {"child lists that form a cycle",
         [](CellFile& c) {
             c.objects[1].children = {2};
             c.objects[2].children = {3};
             c.objects[3].children = {1};
         },
         "Error in object pointers"},
        {"parent index out of range", [](CellFile& c) { c.objects[3].parent = 5; },
         "Error in part of pointers"},
        {"relation bit", [](CellFile& c) { c.objects[2].relation = true; },
         "Relates to relation not implemented"},
        {"attribute count 0", [](CellFile& c) { c.objects[0].attributeCount = 0; },
         "Error in attribute data"},
    };
    const std::string other = write(fullCell(), 40, 300);
    ASSERT_NE(load(other), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CellFile file = fullCell();
        c.damage(file);
        Bytes image = cellFileBytes(file);
        if (c.patch) c.patch(image);
        traces().clear();
        const std::uint64_t before = KV71CellMemoryUsed();
        std::uint16_t count = 1;
        EXPECT_EQ(load(writeBytes(image), &count), nullptr);
        EXPECT_EQ(count, 0);
        if (*c.trace) {
            EXPECT_TRUE(traced(c.trace)) << (traces().empty() ? "" : traces().back());
        }
        EXPECT_EQ(KV71CellMemoryUsed(), before);
        EXPECT_EQ(FindKV71Cell("03000030.E"), nullptr);
        EXPECT_EQ(KV71CellCacheList().count, 1u);
    }
    // The good cell of the same name loads after all that.
    EXPECT_NE(load(write(fullCell())), nullptr);
}
