// A temporary KV71 chart tree for query and geometry tests: a dictionary of
// a few object classes with known display priorities, a chart root and a
// second root, cells written by the tools' writers, and a query that records
// the hooks the object iterator calls.
#pragma once

#include "gdb/TGdbQuery.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71DbObject.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/cellCache.h"

#include "TempDir.h"
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv71query {

// Object classes: code -> display priority. Codes 0..6 exist.
struct ClassPriority {
    int code, priority;
};
inline const std::vector<ClassPriority> classes = {
    {1, 10}, {2, 15}, {3, 20}, {4, 30}, {5, 12}, {6, 12},
};
inline constexpr unsigned classCount = 7;

inline kv71write::CellObject pointObject(std::uint8_t code, std::uint16_t index = 0) {
    kv71write::CellObject o;
    o.classCode = code;
    o.geometry = kv71write::PointGeometry;
    o.index = index;
    return o;
}

// A cell of point objects of the given classes (in file order), all on
// point 0.
inline kv71write::CellFile pointCell(int lon, int lat, int level, std::vector<std::uint8_t> codes) {
    kv71write::CellFile cell;
    cell.header = kv71write::cellHeaderFor(lon, lat, level);
    cell.points = {{100, 100}};
    for (std::uint8_t c : codes)
        cell.objects.push_back(pointObject(c));
    return cell;
}

// Records the hooks: "L+p" / "L-p" entering and leaving layer p, "C+lon" /
// "C-lon" entering and leaving the cell of that longitude index. answer
// decides what a hook answers (0 by default).
class RecordingQuery : public TGdbQuery {
  public:
    using TGdbQuery::TGdbQuery;

    int preprocessPriorityLayer(int layer) override { return hook("L+" + std::to_string(layer)); }
    int postprocessPriorityLayer(int layer) override { return hook("L-" + std::to_string(layer)); }
    int preprocessCell(TGeoCell* cell) override { return hook("C+" + std::to_string(cell->lon)); }
    int postprocessCell(TGeoCell* cell) override { return hook("C-" + std::to_string(cell->lon)); }

    std::vector<std::string> log;
    std::function<int(const std::string&)> answer;

  private:
    int hook(const std::string& event) {
        log.push_back(event);
        return answer ? answer(event) : 0;
    }
};

// "code@lon.index": the class code, the longitude index of its cell and
// its place in the cell file.
inline std::string describe(GdbObject* object) {
    auto* o = dynamic_cast<TKV71DbObject*>(object);
    if (!o || !o->GetRecord()) return "?";
    return std::to_string(o->GetLabel()) + "@" + std::to_string(o->GetCell()->lon) + "." +
           std::to_string(o->GetRecord() - o->GetCell()->objects);
}

class ChartTree : public ::testing::Test {
  protected:
    void SetUp() override {
        kv71write::DictionarySet set;
        set.attributes = {{"OBJNAM", 116, "aSTRING", "", "", "Object name", {}}};
        for (const ClassPriority& c : classes) {
            char acronym[8];
            std::snprintf(acronym, sizeof acronym, "CLS%03d", c.code);
            set.objects.push_back({acronym, c.code, "PLAS", c.priority, acronym, {}});
        }
        std::filesystem::create_directories(dictDir());
        std::filesystem::create_directories(root());
        std::filesystem::create_directories(second());
        ASSERT_TRUE(kv71write::writeDictionaries(dictDir(), set));
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", (dictDir() + "/").c_str());
        ASSERT_EQ(dictionary->GetObjectNum(), static_cast<int>(classCount));
    }
    void TearDown() override {
        db.reset();
        dictionary.reset();
    }

    std::string dictDir() const { return dir / "dict"; }
    std::string root() const { return dir / "chart/"; }
    std::string second() const { return dir / "second/"; }

    // Opens the database on the chart root (and the second root when
    // withSecond), after the cells were written.
    void openDb(unsigned long options = 0, bool withSecond = false) {
        db.reset();
        db = std::make_unique<TKV71Db>(*dictionary, root().c_str(),
                                       withSecond ? second().c_str() : nullptr, 0ul, nullptr,
                                       options);
    }
    // Lists the cells (lon, lat) of level in the block index of their block.
    void catalogue(int level, const std::vector<std::pair<int, int>>& cells) {
        kv71write::BlockIndex index;
        kv71write::InfGroup group;
        group.level = static_cast<std::uint8_t>(level - 1);
        for (auto [lon, lat] : cells)
            group.cells.push_back(kv71write::infCellOf(lon, lat, level));
        index.groups.push_back(group);
        ASSERT_TRUE(
            kv71write::writeBlockIndex(root(), cells.at(0).first, cells.at(0).second, index));
    }
    // The view rectangle of the cells (lon..lonEnd, lat..latEnd) in grid
    // units, shrunk by a small margin so that no neighbour is touched.
    static GeoRect gridRect(double lon, double lat, double lonEnd, double latEnd) {
        const double m = 0.001;
        return GeoRect{deg2nrm(lon / 3 + m), deg2nrm(lat / 3 - 90 + m), deg2nrm(lonEnd / 3 - m),
                       deg2nrm(latEnd / 3 - 90 - m)};
    }
    // Every object of a walk, described.
    static std::vector<std::string> walk(TGdbQuery& query) {
        std::vector<std::string> got;
        while (GdbObject* o = query.next())
            got.push_back(describe(o));
        return got;
    }

    TempDir dir;
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TKV71Db> db;
};

} // namespace kv71query
