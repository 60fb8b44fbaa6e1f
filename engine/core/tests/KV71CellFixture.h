// A temporary chart tree with a small dictionary, for the cell reader and
// cell cache tests: cells are written into it by the tools' writer and loaded
// back through the chart root.
#pragma once

#include "kv71/cellCache.h"
#include "kv71/cellReader.h"
#include "kv71/chartRoot.h"
#include "kv71/dictionaryTables.h"
#include "util/reportError.h"

#include "TempDir.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv71cells {

// Object classes of the fixture dictionary: code -> display priority.
struct ClassPriority {
    int code, priority;
};
inline const std::vector<ClassPriority> fixtureClasses = {
    {1, 5}, {2, 9}, {3, 5}, {4, 0}, {5, 255}, {6, 9},
};
inline constexpr unsigned fixtureClassCount = 7; // codes 0..6

inline std::vector<std::string>& traces() {
    static std::vector<std::string> lines;
    return lines;
}
inline void collectTrace(const char* text) {
    traces().push_back(text);
}
inline bool traced(const std::string& text) {
    for (const std::string& t : traces())
        if (t == text) return true;
    return false;
}

class CellTree : public ::testing::Test {
  protected:
    void SetUp() override {
        kv71write::DictionarySet set;
        set.attributes = {{"OBJNAM", 116, "aSTRING", "", "", "Object name", {}}};
        for (const ClassPriority& c : fixtureClasses) {
            char acronym[8];
            std::snprintf(acronym, sizeof acronym, "CLS%03d", c.code);
            set.objects.push_back({acronym, c.code, "PLAS", c.priority, acronym, {}});
        }
        ASSERT_TRUE(kv71write::writeDictionaries(dir.path(), set));
        std::string a = dir / kv71write::attributeDicName, o = dir / kv71write::objectDicName,
                    h = dir / kv71write::hosDicName;
        InitKV71Dictionary(a.data(), o.data(), h.data());
        ASSERT_EQ(GetObjNum(), fixtureClassCount);
        FlushKV71CellCache((dir.path() + "/").c_str(), 0);
        baseline = KV71CellMemoryUsed();
        traces().clear();
        previousHook = setTraceMessageHook(&collectTrace);
    }
    void TearDown() override {
        setTraceMessageHook(previousHook);
        FlushKV71CellCache(nullptr, 0);
        EXPECT_EQ(KV71CellMemoryUsed(), baseline) << "cell memory left behind";
        DoneKV71Dictionary();
    }

    // Writes the cell at grid (lon, lat), level E, and answers its name.
    std::string write(const kv71write::CellFile& cell, int lon = 30, int lat = 300) {
        EXPECT_TRUE(kv71write::writeCellFile(dir.path(), lon, lat, 5, cell));
        return kv71write::cellName(lon, lat, 5);
    }
    // Writes raw bytes as the cell at grid (lon, lat), level E.
    std::string writeBytes(const kv71write::Bytes& bytes, int lon = 30, int lat = 300) {
        EXPECT_TRUE(kv71write::writeFileAtomically(kv71write::cellFilePath(dir.path(), lon, lat, 5),
                                                   bytes));
        return kv71write::cellName(lon, lat, 5);
    }
    // Loads the named cell: its object table (null when refused) and count.
    KV71ObjectRecord* load(std::string name, std::uint16_t* count = nullptr) {
        std::uint16_t n = 0xFFFF;
        KV71ObjectRecord* table = LoadKV71Cell(name.data(), n);
        if (count) *count = n;
        return table;
    }

    TempDir dir;
    std::uint64_t baseline = 0;
    TraceHook previousHook = nullptr;
};

// An empty cell of grid (30, 300), level E, with its true header.
inline kv71write::CellFile emptyCell() {
    kv71write::CellFile cell;
    cell.header = kv71write::cellHeaderFor(30, 300, 5);
    return cell;
}

} // namespace kv71cells
