// Fuzz target of the cell reader. The input is written as one cell file of a
// temporary chart tree and loaded; a loaded cell is then walked through every
// table it holds, checking that every pointer lies inside its table, and the
// cache is flushed, which must give back all cell memory. Every class code
// 0..255 is defined, so cells of the sample chart load as they are.
#include "kv71/cellCache.h"
#include "kv71/cellReader.h"
#include "kv71/dictionaryTables.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// A chart tree with the folder of cell 03000030.E (grid 30, 300, level E) and
// a dictionary of object classes 0..255 with assorted priorities.
std::string makeTree() {
    const std::string& folder = fuzzFolder();
    std::filesystem::create_directories(folder + "/02700000/E");
    const std::string attributes = "OBJNAM|116|aSTRING\n";
    std::string objects;
    for (int code = 0; code < 256; ++code) {
        char line[64];
        std::snprintf(line, sizeof line, "CLS%03d|%d|PLAS|%d|Class %d\n", code, code,
                      (code * 37) % 256, code);
        objects += line;
    }
    writeFuzzFile(folder + "/KV71ATTR.DIC", attributes.data(), attributes.size());
    writeFuzzFile(folder + "/KV71OBJ.DIC", objects.data(), objects.size());
    writeFuzzFile(folder + "/HOSOURCE.DIC", "", 0);
    std::string a = folder + "/KV71ATTR.DIC", o = folder + "/KV71OBJ.DIC",
                h = folder + "/HOSOURCE.DIC";
    InitKV71Dictionary(a.data(), o.data(), h.data());
    fuzzCheck(GetObjNum() == 256);
    InitKV71CellCache((folder + "/").c_str(), 0);
    return folder;
}

// Keeps the reads of the walk from being optimised away.
volatile unsigned walkSink;

template <class T> bool inside(const T* p, const T* table, std::size_t count) {
    return p >= table && p < table + count;
}

void walk(const TGeoCell& cell) {
    const KV71CellHeader& h = *cell.header;
    const std::uint64_t refSlots = std::uint64_t{h.edgeRefsFirst} + h.edgeRefsSecond;
    unsigned sum = 0;
    for (unsigned i = 0; i < h.edgeCount; ++i) {
        const KV71Edge& e = cell.edges[i];
        if (e.count == 0) {
            fuzzCheck(e.minX > e.maxX);
            continue;
        }
        fuzzCheck(inside(e.points, cell.edgePoints, h.edgePointCount));
        fuzzCheck(e.points + e.count <= cell.edgePoints + h.edgePointCount);
        for (unsigned k = 0; k < e.count; ++k)
            sum += e.points[k].x;
    }
    for (unsigned i = 0; i < h.soundingSetCount; ++i) {
        const KV71SoundingSet& s = cell.soundings[i];
        if (s.count == 0) continue;
        fuzzCheck(s.points + s.count <= cell.soundingPoints + h.soundingPointCount);
        for (unsigned k = 0; k < s.count; ++k)
            sum += s.points[k].z;
    }
    for (unsigned i = 0; i < h.objectCount; ++i) {
        const KV71ObjectRecord& o = cell.objects[i];
        fuzzCheck(o.classCode < GetObjNum());
        switch (o.flags & 0x0F) {
        case KV71PointGeometry:
            fuzzCheck(inside(o.geometry.point, cell.points, h.pointCount));
            sum += o.geometry.point->y;
            break;
        case KV71SoundingGeometry:
            fuzzCheck(inside(o.geometry.soundings, cell.soundings, h.soundingSetCount));
            sum += o.geometry.soundings->count;
            break;
        case KV71LineGeometry:
        case KV71AreaGeometry:
            if (o.geometryCount == 0) break;
            fuzzCheck(inside(o.geometry.edgeRefs, cell.edgeRefs, refSlots));
            fuzzCheck(o.geometry.edgeRefs + o.geometryCount <= cell.edgeRefs + refSlots);
            for (unsigned k = 0; k < o.geometryCount; ++k) {
                fuzzCheck(inside(o.geometry.edgeRefs[k].edge, cell.edges, h.edgeCount));
                fuzzCheck(o.geometry.edgeRefs[k].flags <= 7);
                sum += o.geometry.edgeRefs[k].edge->count;
            }
            break;
        default:
            fuzzCheck((o.flags & 0x0F) == 0 && o.geometry.any == nullptr);
        }
        for (unsigned k = 0; k < o.childCount; ++k) {
            fuzzCheck(inside(o.children[k], cell.objects, h.objectCount));
            fuzzCheck(o.children[k]->parent != nullptr);
        }
        if (o.parent) fuzzCheck(inside(o.parent, cell.objects, h.objectCount));
        if (o.attributeCount) {
            fuzzCheck(o.attributeSize == 0 ||
                      o.attributes + o.attributeSize <= cell.attributeData + h.attributeBytes);
            for (unsigned k = 0; k < o.attributeSize; ++k)
                sum += o.attributes[k];
        }
    }
    // The sorted table is ascending by priority and the index counts it.
    unsigned last = 0;
    for (unsigned i = 0; i < h.objectCount; ++i) {
        fuzzCheck(inside(cell.sorted[i], cell.objects, h.objectCount));
        const unsigned p = GetObjDescr(cell.sorted[i]->classCode)->priority;
        fuzzCheck(p >= last && p >= cell.lowPriority && p <= cell.highPriority);
        last = p;
    }
    if (h.objectCount)
        fuzzCheck(cell.priorityIndex[cell.highPriority - cell.lowPriority] == h.objectCount);
    walkSink = sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = makeTree();
    writeFuzzFile(folder + "/02700000/E/03000030.E", data, size);
    char name[] = "03000030.E";
    std::uint16_t count = 0;
    KV71ObjectRecord* objects = LoadKV71Cell(name, count);
    const TGeoCell* cell = KV71CurrentCell();
    if (cell) {
        fuzzCheck(cell->objects == objects || (!objects && count == 0));
        fuzzCheck(count == cell->header->objectCount);
        walk(*cell);
        fuzzCheck(LoadKV71Cell(name, count) == objects); // now from the cache
    } else {
        fuzzCheck(!objects && count == 0);
    }
    FlushKV71CellCache(nullptr, 0);
    fuzzCheck(KV71CellMemoryUsed() == 0 && KV71CellCacheList().count == 0);
    return 0;
}
