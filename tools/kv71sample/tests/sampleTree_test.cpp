// The sample chart tree under data/sample/kv71, read back with the engine's
// cell reader and the project's dictionaries: every cell loads, every object
// is what its class allows, every attribute walks to the end of its record in
// the dictionary's formats, every area ring runs the way the drawing finds a
// centre in, depth areas carry both their limits, and every cell's data stays
// inside its cell.
#include "geo/GeoCover.h"
#include "geo/GeoPoint.h"
#include "kv71/KV71CellId.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/cellCache.h"
#include "kv71/cellReader.h"
#include "kv71/chartRoot.h"
#include "kv71/dictionaryTables.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbQuery.h"
#include "util/reportError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string dataDir = DATA_DIR;
const std::string treeRoot = dataDir + "/sample/kv71/";
constexpr double sphereRadius = 6378388.0;
constexpr double pi = 3.14159265358979323846;

const int cellUnits[8] = {120, 60, 30, 12, 3, 1, 1, 1};
const char levelLetters[] = "ZABCDEFG";

struct CellKey {
    int level, lon, lat;
    bool operator<(const CellKey& o) const {
        return std::tie(level, lon, lat) < std::tie(o.level, o.lon, o.lat);
    }
};

std::string cellName(const CellKey& k) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d%04d.%c", k.lat, k.lon, levelLetters[k.level]);
    return name;
}

// The cells of the sample: the region at every level, the finest levels
// only around the harbour and its approaches.
std::set<CellKey> expectedCells() {
    std::set<CellKey> cells{{0, 0, 390},  {1, 0, 450},  {2, 0, 450},  {3, 12, 450}, {4, 12, 450},
                            {4, 15, 450}, {6, 14, 451}, {6, 15, 451}, {6, 15, 450}, {7, 15, 451}};
    for (int lat = 450; lat <= 452; ++lat)
        for (int lon = 13; lon <= 17; ++lon)
            cells.insert({5, lon, lat});
    return cells;
}

// Bytes one attribute record takes (code included) in the given format; 0
// when the format is unknown or the record runs past end.
std::size_t attributeSize(std::uint8_t format, const std::uint8_t* value, const std::uint8_t* end) {
    auto textLength = [&](const std::uint8_t* p) -> long {
        const void* zero = std::memchr(p, 0, end - p);
        return zero ? static_cast<const std::uint8_t*>(zero) - p : -1;
    };
    switch (format) {
    case aBYTE:
        return 2;
    case aWORD10:
        return 3;
    case aLONG:
    case aFLOAT:
        return 5;
    case aSTRING: {
        const long n = textLength(value);
        return n < 0 ? 0 : n + 2;
    }
    case aCMPLX: {
        if (end - value < 4) return 0;
        const long n = textLength(value + 3);
        return n < 0 ? 0 : n + 5;
    }
    case aLIST:
        return end > value ? value[0] + 2u : 0;
    default:
        return 0;
    }
}

// Rectangle a lies within b (binary angles; no cell of the sample crosses
// the 180th meridian, so plain signed comparisons hold).
bool inside(const GeoRect& a, const GeoRect& b) {
    return a.lon1 >= b.lon1 && a.lon2 <= b.lon2 && a.lat1 >= b.lat1 && a.lat2 <= b.lat2;
}

class SampleTree : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string a = dataDir + "/dict/KV71ATTR.DIC", o = dataDir + "/dict/KV71OBJ.DIC",
                    h = dataDir + "/dict/HOSOURCE.DIC";
        InitKV71Dictionary(a.data(), o.data(), h.data());
        InitKV71CellCache(treeRoot.c_str(), 64u << 20);
    }
    static void TearDownTestSuite() {
        DoneKV71CellCache();
        DoneKV71Dictionary();
    }
};

TEST_F(SampleTree, HoldsTheCellsOfTheRegionAndStaysSmall) {
    std::set<CellKey> found;
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(treeRoot)) {
        if (!entry.is_regular_file()) continue;
        bytes += entry.file_size();
        const std::string name = entry.path().filename().string();
        if (name.size() != 10) continue;
        const char* letter = std::strchr(levelLetters, name[9]);
        if (!letter || !name[9]) {
            ADD_FAILURE() << "stray file " << entry.path();
            continue;
        }
        const int level = static_cast<int>(letter - levelLetters);
        found.insert({level, std::stoi(name.substr(4, 4)), std::stoi(name.substr(1, 3))});
    }
    EXPECT_EQ(found.size(), expectedCells().size());
    for (const auto& k : expectedCells())
        EXPECT_TRUE(found.count(k)) << cellName(k);
    EXPECT_LE(bytes, 20u << 20);
}

TEST_F(SampleTree, EveryCellReadsCleanly) {
    std::map<std::pair<int, int>, int> classesByLevel; // (level, class) -> objects
    // Lateral buoys of category 1 to 4 without colour (60) and region (84),
    // whose procedure asks the coverage around them for the region.
    int lateralBuoysByRegion = 0;
    for (const CellKey& key : expectedCells()) {
        SCOPED_TRACE(cellName(key));
        std::string name = cellName(key);
        std::uint16_t count = 0;
        KV71ObjectRecord* objects = LoadKV71Cell(name.data(), count);
        ASSERT_NE(objects, nullptr) << "refused";
        const TGeoCell* cell = KV71CurrentCell();
        ASSERT_NE(cell, nullptr);
        const KV71CellHeader& h = *cell->header;

        // The header's box lies on the grid of the cell, in degrees and in
        // spherical Mercator metres.
        const int size = cellUnits[key.level];
        EXPECT_DOUBLE_EQ(h.west, key.lon / 3.0);
        EXPECT_DOUBLE_EQ(h.east, (key.lon + size) / 3.0);
        EXPECT_DOUBLE_EQ(h.south, (key.lat - 270) / 3.0);
        EXPECT_DOUBLE_EQ(h.north, (key.lat + size - 270) / 3.0);
        EXPECT_NEAR(h.xMin, sphereRadius * h.west * pi / 180, 0.01);
        EXPECT_NEAR(h.xMax, sphereRadius * h.east * pi / 180, 0.01);
        EXPECT_NEAR(h.yMin, sphereRadius * std::log(std::tan(pi / 4 + h.south * pi / 360)), 0.01);
        EXPECT_NEAR(h.yMax, sphereRadius * std::log(std::tan(pi / 4 + h.north * pi / 360)), 0.01);

        for (unsigned i = 0; i < count; ++i) {
            const KV71ObjectRecord& o = objects[i];
            ++classesByLevel[{key.level, o.classCode}];
            const KV71ObjectClass* k = GetObjDescr(o.classCode);
            ASSERT_TRUE(k && k->acronym[0]) << "object " << i << " class " << int(o.classCode);
            const unsigned kind = o.flags & 15;
            EXPECT_TRUE(kind ? (k->primitives & kind) : (k->primitives & 16))
                << k->acronym << " with geometry " << kind;

            // Attributes: allowed for the class, and walking them in the
            // dictionary's formats ends exactly at the record's end.
            const std::set<unsigned> allowed(k->attributes, k->attributes + k->attributeCount);
            std::map<unsigned, const std::uint8_t*> carried; // code -> value bytes
            const std::uint8_t* p = o.attributes;
            const std::uint8_t* end = p + o.attributeSize;
            for (unsigned a = 0; a < o.attributeCount; ++a) {
                ASSERT_LT(p, end) << k->acronym << " attribute " << a;
                const KV71AttributeClass* at = GetAttDescr(p[0]);
                ASSERT_TRUE(at && at->format) << k->acronym << " unknown attribute " << int(p[0]);
                EXPECT_TRUE(allowed.count(p[0])) << k->acronym << " carries " << at->acronym;
                const std::size_t n = attributeSize(at->format, p + 1, end);
                ASSERT_GT(n, 0u) << k->acronym << " " << at->acronym;
                carried.emplace(p[0], p + 1);
                p += n;
            }
            EXPECT_EQ(p, end) << k->acronym;

            // A depth area carries its shallow (66) and its deep limit (67):
            // the drawing pass leaves out one with only the first.
            if (o.classCode == 44) {
                EXPECT_TRUE(carried.count(66)) << "depth area " << i << " without 66";
                EXPECT_TRUE(carried.count(67)) << "depth area " << i << " without 67";
            }
            if (o.classCode == 18 && carried.count(24) && !carried.count(60) &&
                !carried.count(84) && carried.at(24)[0] >= 1 && carried.at(24)[0] <= 4)
                ++lateralBuoysByRegion;

            // Areas: the outer ring (all our areas have only one) runs
            // clockwise with north up, so that the centre of gravity over the
            // points as stored (local y north, as the chart pass's window y)
            // is found; the stretches masked from stroking run along the
            // cell's border.
            if (kind == KV71AreaGeometry) {
                double area = 0;
                std::vector<KV71LocalPoint> ring;
                for (unsigned r = 0; r < o.geometryCount; ++r) {
                    const KV71EdgeRef& ref = o.geometry.edgeRefs[r];
                    EXPECT_EQ(ref.flags & KV71RefRing, 0);
                    const KV71Edge& e = *ref.edge;
                    for (unsigned j = 0; j < e.count; ++j)
                        ring.push_back(
                            e.points[(ref.flags & KV71RefReversed) ? e.count - 1 - j : j]);
                    if (ref.flags & KV71RefPart) {
                        for (unsigned j = 0; j < e.count; ++j) {
                            const KV71LocalPoint q = e.points[j];
                            EXPECT_TRUE(q.x == 0 || q.x == 65535 || q.y == 0 || q.y == 65535)
                                << k->acronym << " masks a stretch off the cell's border";
                        }
                    }
                }
                for (std::size_t j = 1; j < ring.size(); ++j)
                    area += (double(ring[j - 1].x) + ring[j].x) / 2 *
                            (double(ring[j - 1].y) - double(ring[j].y));
                EXPECT_GT(area, 0) << k->acronym << " object " << i;
                EXPECT_EQ(ring.front().x, ring.back().x);
                EXPECT_EQ(ring.front().y, ring.back().y);
            }
            if (kind == KV71SoundingGeometry)
                for (unsigned j = 0; j < o.geometry.soundings->count; ++j) {
                    const unsigned z = o.geometry.soundings->points[j].z;
                    EXPECT_TRUE(z > 0 && z <= 4000) << "depth " << z << " dm";
                }

            // Structure: only the aggregates have children, the first being
            // the buoy or beacon; every member points back at its aggregate.
            const bool aggregate = o.classCode == 185 || o.classCode == 187 || o.classCode == 188;
            EXPECT_EQ(o.childCount > 0, aggregate) << k->acronym;
            if (aggregate) {
                ASSERT_GE(o.childCount, 2);
                const unsigned first = o.children[0]->classCode;
                EXPECT_TRUE((first >= 5 && first <= 9) || (first >= 15 && first <= 20) ||
                            first == 200 || first == 203)
                    << "first member " << first;
                for (unsigned c = 0; c < o.childCount; ++c)
                    EXPECT_EQ(o.children[c]->parent, &o);
            } else if (o.flags & KV71HasParent) {
                ASSERT_NE(o.parent, nullptr);
                const unsigned parent = o.parent->classCode;
                EXPECT_TRUE(parent == 185 || parent == 187 || parent == 188);
            }
        }
    }

    EXPECT_GE(lateralBuoysByRegion, 1) << "no lateral buoy takes its region from the coverage";

    // What the drawing at each level has to draw.
    auto has = [&](int level, int code) { return classesByLevel.count({level, code}) > 0; };
    for (int level = 0; level <= 7; ++level) {
        SCOPED_TRACE(levelLetters[level]);
        for (int code : {217, 44, 81, 35, 147, 198})
            EXPECT_TRUE(has(level, code)) << "no objects of class " << code;
        EXPECT_TRUE(has(level, 45)) << "no depth contours";
        if (level >= 3) {
            EXPECT_TRUE(has(level, 86)) << "no lights";
        }
    }
    for (int level = 5; level <= 7; ++level) {
        SCOPED_TRACE(levelLetters[level]);
        for (int code : {185, 187, 18, 15, 7, 157, 176, 168, 99, 4, 125, 193, 221, 138})
            EXPECT_TRUE(has(level, code)) << "no objects of class " << code;
    }
}

// Opened as the program opens it, the database's catalogue lists every cell
// of levels A..G from the block index with a cover inside the cell, and the
// data cover at each level's scale over the region lies inside that level's
// cells.
TEST(SampleDatabase, CataloguesEveryCellWithItsCoverInsideTheCell) {
    TKV71Dictionary dictionary("", (dataDir + "/dict/").c_str());
    TKV71Db db(dictionary, treeRoot.c_str(), 16u << 20, nullptr);
    std::map<int, std::vector<GeoRect>> cellRects; // level -> cell rectangles
    for (const CellKey& k : expectedCells()) {
        SCOPED_TRACE(cellName(k));
        const KV71CellId id{static_cast<std::uint16_t>(k.lon), static_cast<std::uint16_t>(k.lat),
                            static_cast<std::uint16_t>(k.level)};
        const GeoRect cell = KV71CellRect(id);
        cellRects[k.level].push_back(cell);
        if (k.level == 0) continue; // level Z has no block index
        const KV71CatalogEntry* entry = db.GetCatalog()->Lookup(id);
        ASSERT_NE(entry, nullptr) << "not in the catalogue";
        ASSERT_GT(entry->rectCount, 0);
        for (const LGeoRect* r = entry->cover.head; r; r = r->next)
            EXPECT_TRUE(inside(r->r, cell));
    }
    GeoRect region{deg2nrm(4.5), deg2nrm(60.0), deg2nrm(6.0), deg2nrm(61.0)};
    for (int level = 0; level <= 7; ++level) {
        SCOPED_TRACE(levelLetters[level]);
        const unsigned long scale = db.getScale(level);
        ASSERT_EQ(db.getLevel(scale), level);
        GeoCover cover = db.getCover(region, scale);
        ASSERT_FALSE(cover.empty());
        for (const LGeoRect* r = cover.head; r; r = r->next) {
            GeoCover outside;
            outside.add(r->r);
            for (const GeoRect& cell : cellRects[level])
                outside.sub(cell);
            EXPECT_TRUE(outside.empty()) << r->r.lon1 << " " << r->r.lat1 << " " << r->r.lon2 << " "
                                         << r->r.lat2 << " reaches beyond the level's cells";
        }
    }
}

std::vector<std::string> tracedLines;
void recordTrace(const char* text) {
    tracedLines.emplace_back(text);
}

// Queried level by level over the whole region as the drawing pass queries a
// view, the sample answers the classes that level should show, and no cell is
// refused on the way.
TEST(SampleDatabase, AnswersEachLevelsClassesOverTheRegion) {
    TKV71Dictionary dictionary("", (dataDir + "/dict/").c_str());
    TKV71Db db(dictionary, treeRoot.c_str(), 16u << 20, nullptr);
    tracedLines.clear();
    const TraceHook previous = setTraceMessageHook(&recordTrace);
    const std::set<int> everyLevel{217, 44, 45, 81, 35, 147, 198};
    const std::set<int> lit{86};
    const std::set<int> aggregates{185, 187};
    for (int level = 0; level <= 7; ++level) {
        SCOPED_TRACE(levelLetters[level]);
        GeoRect region{deg2nrm(4.5), deg2nrm(60.0), deg2nrm(6.0), deg2nrm(61.0)};
        TGdbQuery query(db);
        ASSERT_EQ(query.open(region, db.getScale(level), nullptr), 1);
        std::set<int> classes;
        std::size_t objects = 0;
        while (GdbObject* o = query.next()) {
            classes.insert(o->GetLabel());
            ++objects;
            EXPECT_EQ(o->GetParent(), nullptr) << "a child answered at the top level";
        }
        query.close();
        EXPECT_GT(objects, 0u);
        std::set<int> want = everyLevel;
        if (level >= 3) want.insert(lit.begin(), lit.end());
        if (level >= 5) want.insert(aggregates.begin(), aggregates.end());
        for (int code : want)
            EXPECT_TRUE(classes.count(code)) << "class " << code << " missing";
    }
    setTraceMessageHook(previous);
    EXPECT_TRUE(tracedLines.empty()) << tracedLines.front();
}

} // namespace
