#include "gdb/GdbMetrics.h"
#include "gdb/TGeoDb.h"
#include "kv71/TKV71DbClonedObject.h"
#include "kv71/TKV71DbObject.h"
#include "kv71/TKV71DbObjectIterator.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/cellCache.h"
#include "kv71/cellReader.h"
#include "runtime/TLocker.h"

#include "TempDir.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace kv71write;

namespace {

// Look-up tables as a presentation supplies them.
struct TestTables : GdbLookupTables {
    std::map<unsigned, GdbObjectLookup> objects;
    std::map<unsigned, GdbAttrLookup> attrs;
    const GdbObjectLookup* objectLookup(unsigned code) const override {
        auto it = objects.find(code);
        return it == objects.end() ? nullptr : &it->second;
    }
    const GdbAttrLookup* attrLookup(unsigned code) const override {
        auto it = attrs.find(code);
        return it == attrs.end() ? nullptr : &it->second;
    }
};

enum Attr : std::uint8_t {
    NONAME = 10,
    CATLIT = 37,
    CMPLXA = 60,
    COLOUR = 75,
    HEIGHT = 95,
    OBJNAM = 116,
    VALNMR = 178,
    VALSOU = 179,
};
enum Obj : std::uint8_t {
    UNUSED = 3,
    BOYLAT = 17,
    COALNE = 30,
    DEPARE = 42,
    LIGHTS = 75,
    SOUNDG = 129
};

DictionarySet dictionaries() {
    DictionarySet set;
    set.attributes = {
        {"NONAME", NONAME, "aLONG", "0", "9", "", {}},
        {"CATLIT",
         CATLIT,
         "aBYTE",
         "0",
         "9",
         "Category of light",
         {{1, "directional"}, {2, "leading"}}},
        {"CMPLXA", CMPLXA, "aCMPLX", "", "", "Complex", {}},
        {"COLOUR", COLOUR, "aLIST", "1", "9", "Colour", {{1, "white"}, {2, "black"}, {3, "red"}}},
        {"HEIGHT", HEIGHT, "aWORD10", "0", "9999", "Height", {}},
        {"OBJNAM", OBJNAM, "aSTRING", "", "", "Object name", {}},
        {"VALNMR", VALNMR, "aLONG", "0", "9", "Nominal range", {}},
        {"VALSOU", VALSOU, "aFLOAT", "0", "9", "Sounding", {}},
    };
    set.objects = {
        {"LIGHTS", LIGHTS, "P", 20, "Light", {}},     {"BOYLAT", BOYLAT, "P", 20, "Buoy", {}},
        {"COALNE", COALNE, "L", 10, "Coastline", {}}, {"DEPARE", DEPARE, "A", 5, "Depth area", {}},
        {"SOUNDG", SOUNDG, "S", 30, "Sounding", {}},
    };
    return set;
}

constexpr int cellLon = 30, cellLat = 300, cellLevel = 5;

CellFile cellFile() {
    CellFile cell;
    cell.header = cellHeaderFor(cellLon, cellLat, cellLevel);
    cell.edges = {
        {{{0, 0}, {100, 0}, {100, 100}}, {}},
        {{{100, 100}, {0, 100}, {0, 0}}, {}},
        {{{10, 10}, {20, 20}, {65535, 65535}}, {}},
    };
    cell.soundings = {{{{1, 2, 345}, {3, 4, 678}}, {}}};
    cell.points = {{0, 0}, {65535, 65535}};
    CellObject light;
    light.classCode = LIGHTS;
    light.geometry = PointGeometry;
    light.children = {1};
    light.attributes = {byteAttribute(CATLIT, 2),       wordAttribute(HEIGHT, 1234),
                        longAttribute(VALNMR, -5),      floatAttribute(VALSOU, 2.75f),
                        stringAttribute(OBJNAM, "a|b"), complexAttribute(CMPLXA, {1, 2, 3}, "x|y"),
                        listAttribute(COLOUR, {1, 3}),  longAttribute(NONAME, 7)};
    CellObject buoy;
    buoy.classCode = BOYLAT;
    buoy.geometry = PointGeometry;
    buoy.index = 1;
    buoy.parent = 0;
    buoy.attributes = {byteAttribute(CATLIT, 3), stringAttribute(OBJNAM, "Skarv")};
    CellObject area;
    area.classCode = DEPARE;
    area.geometry = AreaGeometry;
    area.edgeRefs = {areaRef(0, 1), areaRef(1, 2)};
    CellObject line;
    line.classCode = COALNE;
    line.geometry = LineGeometry;
    line.edgeRefs = {lineRef(2, true)};
    CellObject soundings;
    soundings.classCode = SOUNDG;
    soundings.geometry = SoundingGeometry;
    CellObject unnamed;
    unnamed.classCode = UNUSED;
    unnamed.geometry = PointGeometry;
    cell.objects = {light, buoy, area, line, soundings, unnamed};
    return cell;
}

class KV71Objects : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(writeDictionaries(dir.path(), dictionaries()));
        ASSERT_TRUE(writeCellFile(dir.path(), cellLon, cellLat, cellLevel, cellFile()));
        dictionary =
            std::make_unique<TKV71Dictionary>("KV71Dictionary", (dir.path() + "/").c_str());
        db = std::make_unique<TGeoDb>(*dictionary);
        FlushKV71CellCache((dir.path() + "/").c_str(), 0);
        baseline = KV71CellMemoryUsed();
        std::string name = cellName(cellLon, cellLat, cellLevel);
        std::uint16_t count = 0;
        records = LoadKV71Cell(name.data(), count);
        ASSERT_EQ(count, 6);
        cell = KV71CurrentCell();
    }
    void TearDown() override {
        FlushKV71CellCache(nullptr, 0);
        EXPECT_EQ(KV71CellMemoryUsed(), baseline);
    }

    TKV71DbObject object(int index) { return TKV71DbObject(db.get(), cell, &records[index]); }
    std::string print(GdbObject& o, unsigned long flags) {
        std::string text(o.Print(nullptr, 0, flags), '\0');
        o.Print(text.data(), static_cast<unsigned>(text.size() + 1), flags);
        return text;
    }
    static std::string value(TGdbAttr* a) {
        std::string text(a->PrintValue(nullptr, 0), '\0');
        a->PrintValue(text.data(), static_cast<unsigned>(text.size() + 1));
        return text;
    }
    static std::string name(TGdbAttr* a, unsigned long flags = ~0ul) {
        char buf[256];
        a->PrintName(buf, sizeof buf, flags);
        return buf;
    }

    TempDir dir;
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TGeoDb> db;
    std::uint64_t baseline = 0;
    KV71ObjectRecord* records = nullptr;
    TGeoCell* cell = nullptr;
    TestTables tables;
};

TEST_F(KV71Objects, AttributeValuesAsText) {
    TKV71DbObject light = object(0);
    TKV71DbObject buoy = object(1);
    struct Case {
        TKV71DbObject* object;
        std::uint8_t code;
        const char* fmt; // look-up table format, null for none
        std::string want;
    } cases[] = {
        {&light, CATLIT, nullptr, "leading"},
        {&buoy, CATLIT, nullptr, "CODE(3)"}, // value equal to the text count
        {&light, HEIGHT, nullptr, "123.4"},
        {&light, HEIGHT, "%.2f", "123.40"},
        {&light, HEIGHT, "%.1f m", "123.4 m"},
        {&light, HEIGHT, "%s", "123.4"},    // wrong type: default
        {&light, HEIGHT, "%f %f", "123.4"}, // two conversions: default
        {&light, VALNMR, nullptr, "-5"},
        {&light, VALNMR, "%04d", "-005"},
        {&light, VALNMR, "%ld M", "-5 M"},
        {&light, VALNMR, "%f", "-5"},
        {&light, VALNMR, "%*d", "-5"},
        {&light, VALNMR, "%999d", "-5"},
        {&light, VALSOU, nullptr, "2.8"},
        {&light, VALSOU, "%.3f", "2.750"},
        {&light, VALSOU, "%n", "2.8"},
        {&light, OBJNAM, nullptr, "a\r\nb"},
        {&light, OBJNAM, "%s", "a b"},
        {&light, OBJNAM, "%s|", "a|b"},
        {&light, OBJNAM, "x%s", "a\r\nb"},
        {&light, CMPLXA, nullptr, "x\r\ny"},
        {&light, CMPLXA, "%s", "x y"},
        {&light, COLOUR, nullptr, "white\r\nred"},
    };
    for (const Case& c : cases) {
        tables.attrs.clear();
        tables.attrs[c.code] = GdbAttrLookup{1, c.fmt, nullptr};
        dictionary->SetPresentation(&tables);
        TGdbAttr* a = c.object->GetAttr(c.code);
        ASSERT_NE(a, nullptr) << int(c.code);
        EXPECT_EQ(value(a), c.want) << int(c.code) << " " << (c.fmt ? c.fmt : "(none)");
    }
    dictionary->SetPresentation(nullptr);

    // Cut to the buffer: the answer is what was written.
    TGdbAttr* a = light.GetAttr(COLOUR);
    char buf[4];
    EXPECT_EQ(a->PrintValue(buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "whi");
    EXPECT_EQ(a->PrintValue(nullptr, 0), 10);
}

TEST_F(KV71Objects, AttributeValuesPrintWithAPointUnderADecimalCommaLocale) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    TKV71DbObject light = object(0);
    struct Case {
        std::uint8_t code;
        const char* fmt;
        std::string want;
    } cases[] = {
        {HEIGHT, "%.2f", "123.40"},
        {VALSOU, nullptr, "2.8"},
        {VALSOU, "%.3f", "2.750"},
    };
    std::vector<std::string> got;
    for (const Case& c : cases) {
        tables.attrs.clear();
        tables.attrs[c.code] = GdbAttrLookup{1, c.fmt, nullptr};
        dictionary->SetPresentation(&tables);
        got.push_back(value(light.GetAttr(c.code)));
    }
    dictionary->SetPresentation(nullptr);
    std::setlocale(LC_ALL, old.c_str());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], cases[i].want) << int(cases[i].code);
}

TEST_F(KV71Objects, AttributeValuesAsBytes) {
    TKV71DbObject light = object(0);
    struct Case {
        std::uint8_t code;
        int size;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {CATLIT, 1, {2}},
        {VALNMR, 4, {0xFB, 0xFF, 0xFF, 0xFF}},
        {OBJNAM, 4, {'a', '|', 'b', 0}},
        {CMPLXA, 7, {1, 2, 3, 'x', '|', 'y', 0}},
        {COLOUR, 3, {2, 1, 3}},
    };
    for (const Case& c : cases) {
        TGdbAttr* a = light.GetAttr(c.code);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(TGdbAttr__GetValue(a, nullptr, 1), c.size) << int(c.code);
        std::vector<std::uint8_t> out(c.size + 4, 0xEE);
        EXPECT_EQ(a->GetValue(out.data(), 1), c.size);
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + c.size), c.bytes);
        EXPECT_EQ(out[c.size], 0xEE) << "written past the value of " << int(c.code);
    }
    float height = 0;
    EXPECT_EQ(light.GetAttr(HEIGHT)->GetValue(&height, 1), 4);
    EXPECT_EQ(height, 1234.0f);
    float sounding = 0;
    light.GetAttr(VALSOU)->GetValue(&sounding, 1);
    EXPECT_EQ(sounding, 2.75f);

    // By reference: the text in the cell, which stays writable.
    char* text = nullptr;
    light.GetAttr(OBJNAM)->GetValue(&text, 0);
    ASSERT_NE(text, nullptr);
    text[0] = 'A';
    EXPECT_EQ(value(light.GetAttr(OBJNAM)), "A\r\nb");
}

TEST_F(KV71Objects, AttributeWalkAndNames) {
    TKV71DbObject light = object(0);
    std::vector<int> codes;
    for (TGdbAttr* a = light.FirstAttr(); a; a = light.NextAttr())
        codes.push_back(a->GetLabel());
    EXPECT_EQ(codes,
              (std::vector<int>{CATLIT, HEIGHT, VALNMR, VALSOU, OBJNAM, CMPLXA, COLOUR, NONAME}));
    EXPECT_EQ(light.GetAttr(200), nullptr); // beyond the attribute table
    EXPECT_EQ(light.GetAttr(99), nullptr);  // not on the object
    EXPECT_EQ(object(2).FirstAttr(), nullptr);

    EXPECT_EQ(name(light.GetAttr(NONAME)), "NONAME(10)");
    EXPECT_EQ(name(light.GetAttr(OBJNAM)), "Object name");
    EXPECT_EQ(light.GetAttr(OBJNAM)->GetDispFlags(), -1);

    tables.attrs[OBJNAM] = GdbAttrLookup{3, nullptr, "Name"};
    tables.attrs[HEIGHT] = GdbAttrLookup{0, nullptr, "Hidden"};
    dictionary->SetPresentation(&tables);
    TGdbAttr* objnam = light.GetAttr(OBJNAM);
    EXPECT_EQ(name(objnam, ~0ul), "Name");
    EXPECT_EQ(name(objnam, ~2ul), "Object name"); // flags without bit 1
    EXPECT_EQ(objnam->GetDispFlags(), 3);
    char buf[8] = "x";
    EXPECT_EQ(light.GetAttr(HEIGHT)->PrintName(buf, sizeof buf, ~0ul), 0);
    EXPECT_STREQ(buf, "");
    dictionary->SetPresentation(nullptr);

    char cut[5];
    EXPECT_EQ(light.GetAttr(OBJNAM)->PrintName(cut, sizeof cut, 0), 4);
    EXPECT_STREQ(cut, "Obje");
    EXPECT_EQ(light.GetAttr(OBJNAM)->PrintName(nullptr, 0, 0), 11);
}

TEST_F(KV71Objects, PrintNameAndPrint) {
    TKV71DbObject light = object(0);
    char buf[64];
    EXPECT_EQ(light.PrintName(buf, sizeof buf, 0), 5);
    EXPECT_STREQ(buf, "Light");
    TKV71DbObject unnamed = object(5);
    EXPECT_EQ(unnamed.PrintName(buf, sizeof buf, 0), 3);
    EXPECT_STREQ(buf, "(3)");
    EXPECT_EQ(light.PrintName(buf, 3, 0), 2);
    EXPECT_STREQ(buf, "Li");

    TKV71DbObject buoy = object(1);
    EXPECT_EQ(print(buoy, 0xFFFFFFFB),
              "Buoy\r\nCategory of light: CODE(3)\r\nObject name: Skarv\r\n");
    const std::string full = print(light, 0xFFFFFFFB);
    EXPECT_EQ(full, "Light\r\n"
                    "Category of light: leading\r\n"
                    "Height: 123.4\r\n"
                    "Nominal range: -5\r\n"
                    "Sounding: 2.8\r\n"
                    "Object name: a\r\nb\r\n"
                    "Complex: x\r\ny\r\n"
                    "Colour: white\r\nred\r\n"
                    "NONAME(10): 7\r\n");
    EXPECT_EQ(GdbObject__Print(&light, buf, sizeof buf), static_cast<int>(sizeof buf));
    EXPECT_EQ(std::string(buf), full.substr(0, sizeof buf - 1));

    // Brief form (flag bit 2): attributes whose look-up mask has bit 1.
    // Codes the tables do not list are hidden.
    tables.attrs[OBJNAM] = GdbAttrLookup{3, "%s", "Name"};
    tables.attrs[CATLIT] = GdbAttrLookup{1, nullptr, nullptr};
    tables.attrs[COLOUR] = GdbAttrLookup{3, nullptr, nullptr};
    tables.attrs[HEIGHT] = GdbAttrLookup{0, nullptr, nullptr};
    dictionary->SetPresentation(&tables);
    EXPECT_EQ(print(light, 4), "Light: Name: a b, Colour: white\r\nred, ");
    // Long form with a presentation: hidden attributes (mask bit 0 clear)
    // are left out; without bit 2 the display names are not used.
    EXPECT_EQ(
        print(light, 0xFFFFFFFB),
        "Light\r\nCategory of light: leading\r\nObject name: a b\r\nColour: white\r\nred\r\n");
    dictionary->SetPresentation(nullptr);

    TKV71DbObject empty(db.get());
    EXPECT_EQ(empty.Print(buf, sizeof buf, 0), 0);
    EXPECT_EQ(empty.PrintName(buf, sizeof buf, 0), 0);
    EXPECT_EQ(empty.GetMetrics(nullptr, 0), 0ul);
    EXPECT_EQ(empty.FirstAttr(), nullptr);
    EXPECT_EQ(empty.clone(), nullptr);
}

TEST_F(KV71Objects, MasksAndGeometryTypes) {
    struct Case {
        int index, type, hasParent, hasChilds;
    } cases[] = {{0, 1, 0, 1}, {1, 1, 1, 0}, {2, 4, 0, 0}, {3, 2, 0, 0}, {4, 0, 0, 0}};
    for (const Case& c : cases) {
        TKV71DbObject o = object(c.index);
        EXPECT_EQ(o.GetGeometryType(), c.type) << c.index;
        EXPECT_EQ(GdbObject__HasParent(&o), c.hasParent) << c.index;
        EXPECT_EQ(GdbObject__HasChilds(&o), c.hasChilds) << c.index;
    }
    TKV71DbObject light = object(0);
    EXPECT_EQ(light.GetLabel(), LIGHTS);
    EXPECT_EQ(light.GetDispFlags(), -1);
    EXPECT_EQ(light.GetInfoPages(), -1);
    tables.objects[LIGHTS] = GdbObjectLookup{0x12, 0x34, {0, 0}};
    dictionary->SetPresentation(&tables);
    EXPECT_EQ(light.GetInfoPages(), 0x12);
    EXPECT_EQ(light.GetDispFlags(), 0x34);
    EXPECT_EQ(object(1).GetDispFlags(), 0); // a class the tables do not list
    dictionary->SetPresentation(nullptr);
}

// Positions are checked against the cell's box: local (0, 0) is its
// south-west corner, (65535, 65535) its north-east corner.
TEST_F(KV71Objects, Metrics) {
    const DegreeBox box = cellDegrees(cellLon, cellLat, cellLevel);
    const std::int32_t west = deg2nrm(box.west), south = deg2nrm(box.south),
                       east = deg2nrm(box.east), north = deg2nrm(box.north);
    auto near = [](std::int32_t a, std::int32_t b) { return std::abs(std::int64_t(a) - b) < 2000; };

    struct Case {
        int index;
        std::uint32_t kind, points, parts, rings;
    } cases[] = {
        {0, GdbMetricsPoint, 1, 0, 0},
        {2, GdbMetricsArea, 6, 2, 1},
        {3, GdbMetricsLine, 3, 1, 0},
        {4, GdbMetricsSoundings, 2, 0, 0},
    };
    for (const Case& c : cases) {
        TKV71DbObject o = object(c.index);
        const unsigned long size = o.GetMetrics(nullptr, 0);
        const std::size_t pointSize = c.kind == GdbMetricsSoundings ? 12 : 8;
        EXPECT_EQ(size, sizeof(GdbMetrics) + c.points * pointSize + c.parts * 16 + c.rings * 8);
        std::vector<std::uint64_t> storage(size / 8 + 2, 0xEEEEEEEEEEEEEEEEull);
        auto* bytes = reinterpret_cast<std::uint8_t*>(storage.data());
        EXPECT_EQ(o.GetMetrics(bytes, size), size);
        EXPECT_EQ(bytes[size], 0xEE) << "written past the size";
        GdbMetrics m;
        std::memcpy(&m, bytes, sizeof m);
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_EQ(m.pointCount, c.points);
        EXPECT_EQ(m.partCount, c.parts);
        EXPECT_EQ(m.ringCount, c.rings);
        EXPECT_EQ(m.hasChildren, c.index == 0 ? 1u : 0u);
        EXPECT_EQ(static_cast<std::uint8_t*>(m.points), bytes + sizeof m);

        if (c.kind == GdbMetricsPoint) {
            auto* p = static_cast<GeoPoint*>(m.points);
            EXPECT_TRUE(near(p->lon, west) && near(p->lat, south));
        }
        if (c.kind == GdbMetricsArea) {
            EXPECT_EQ(m.parts[0].count, 3u);
            EXPECT_EQ(m.parts[0].part, 1u);
            EXPECT_EQ(m.parts[1].part, 0u);
            EXPECT_EQ(m.rings[0].count, 6u);
            EXPECT_EQ(m.rings[0].ring, 1u);
            auto* p = static_cast<GeoPoint*>(m.points);
            EXPECT_EQ(p[0].lon, p[5].lon);
            EXPECT_EQ(p[0].lat, p[5].lat);
        }
        if (c.kind == GdbMetricsLine) { // the edge read backwards
            auto* p = static_cast<GeoPoint*>(m.points);
            EXPECT_TRUE(near(p[0].lon, east) && near(p[0].lat, north));
            EXPECT_GT(p[1].lat, p[2].lat);
        }
        if (c.kind == GdbMetricsSoundings) {
            auto* s = static_cast<GdbSoundingPoint*>(m.points);
            EXPECT_EQ(s[0].depth, 345u);
            EXPECT_EQ(s[1].depth, 678u);
        }

        // Too small: nothing but the children word.
        std::vector<std::uint64_t> small(size / 8, 0xEEEEEEEEEEEEEEEEull);
        EXPECT_EQ(o.GetMetrics(small.data(), size - 1), size);
        GdbMetrics partial;
        std::memcpy(&partial, small.data(), sizeof partial);
        EXPECT_EQ(partial.hasChildren, c.index == 0 ? 1u : 0u);
        EXPECT_EQ(partial.kind, 0xEEEEEEEEu);
    }
}

TEST_F(KV71Objects, ParentAndChildren) {
    TKV71DbObject light = object(0);
    GdbObject* child = GdbObject__FirstChild(&light);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetLabel(), BOYLAT);
    EXPECT_EQ(child->GetParent(), &light);
    EXPECT_EQ(child->HasParent(), 1);
    EXPECT_EQ(GdbObject__NextChild(&light), nullptr);
    EXPECT_EQ(light.NextChild(), nullptr);  // stays at the end
    EXPECT_EQ(light.ChildNumber(0), child); // the same cursor, re-pointed
    EXPECT_EQ(light.ChildNumber(1), nullptr);
    EXPECT_EQ(object(1).FirstChild(), nullptr);
    EXPECT_EQ(object(1).GetParent(), nullptr); // a plain cursor knows no parent

    // Re-pointing deletes the child cursor; a deleted child cursor leaves
    // its parent (the sanitizers watch both).
    light.FirstChild();
    light.SetRecord(cell, &records[2]);
    EXPECT_EQ(light.FirstChild(), nullptr);
    light.SetRecord(cell, &records[0]);
    delete light.FirstChild();
    EXPECT_EQ(light.FirstChild()->GetLabel(), BOYLAT);
}

TEST_F(KV71Objects, CloneKeepsItsCell) {
    TKV71DbObject light = object(0);
    const std::uint32_t locks = cell->lockCount;
    GdbObject* clone = light.clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(cell->lockCount, locks + 2); // the clone and its child's clone
    auto* tree = dynamic_cast<TKV71DbClonedObject*>(clone);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->ChildCloneCount(), 1u);
    EXPECT_EQ(tree->FirstChildClone()->GetLabel(), BOYLAT);
    EXPECT_EQ(tree->NextChildClone(), nullptr);
    EXPECT_EQ(tree->ChildCloneNumber(1), nullptr);
    auto* childClone = dynamic_cast<TKV71DbClonedObject*>(tree->ChildCloneNumber(0));
    EXPECT_EQ(childClone->CloneParent(), clone);

    // The cursor moves on and the cache is flushed: the clone still reads.
    light.SetRecord(cell, &records[3]);
    FlushKV71CellCache(nullptr, 0);
    EXPECT_EQ(KV71CellCacheList().count, 0u);
    EXPECT_EQ(print(*clone, 0xFFFFFFFB).substr(0, 7), "Light\r\n");
    EXPECT_EQ(clone->FirstChild()->GetLabel(), BOYLAT);
    GdbObject* again = clone->clone();
    delete clone; // the copy of the copy keeps the cell
    EXPECT_EQ(again->GetLabel(), LIGHTS);
    delete again; // the last lock: the cell is freed (TearDown checks the memory)
}

// Loads on other threads evict by lock count under the cell-reader lock: a
// clone counts its cell's lock under that lock too, waiting while a load
// holds it.
TEST_F(KV71Objects, ClonesCountTheirCellLockUnderTheCellReaderLock) {
    // Whether work on another thread waited while this one held the lock.
    auto waitsForTheLoader = [](const std::function<void()>& work) {
        std::atomic<bool> finished{false};
        KV71CellReaderLock().lock();
        std::thread worker([&] {
            work();
            finished = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const bool waited = !finished;
        KV71CellReaderLock().unlock();
        worker.join();
        return waited;
    };
    TKV71DbObject buoy = object(1);
    const std::uint32_t locks = cell->lockCount;
    GdbObject* clone = nullptr;
    EXPECT_TRUE(waitsForTheLoader([&] { clone = buoy.clone(); }));
    EXPECT_EQ(cell->lockCount, locks + 1);
    EXPECT_TRUE(waitsForTheLoader([&] { delete clone; }));
    EXPECT_EQ(cell->lockCount, locks);
}

} // namespace
