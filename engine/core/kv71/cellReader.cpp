#include "kv71/cellReader.h"

#include "geo/GeoPoint.h"
#include "kv71/KV71CellId.h"
#include "kv71/cellCache.h"
#include "kv71/chartFiles.h"
#include "kv71/chartRoot.h"
#include "kv71/dictionaryTables.h"
#include "runtime/intmath.h"
#include "util/reportError.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr long prefixSize = 10;
constexpr long headerSize = 128;

// The cell file being loaded; open only inside LoadKV71Cell.
std::FILE* openCell = nullptr;

void closeCellFile() {
    if (openCell) std::fclose(openCell);
    openCell = nullptr;
}

void trace(const char* format, const char* text) {
    char line[160];
    std::snprintf(line, sizeof line, format, text);
    traceMessage(line);
}

std::uint16_t u16At(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t u32At(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
double f64At(const std::uint8_t* p) {
    const std::uint64_t bits = std::uint64_t{u32At(p)} | std::uint64_t{u32At(p + 4)} << 32;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Bytes read from the file, consumed front to back; every read is checked
// against the end first.
struct Cursor {
    const std::uint8_t* p;
    const std::uint8_t* end;

    bool has(std::size_t n) const { return static_cast<std::size_t>(end - p) >= n; }
    std::uint8_t u8() { return *p++; }
    std::uint16_t u16() {
        const std::uint16_t v = u16At(p);
        p += 2;
        return v;
    }
};

KV71CellHeader parseHeader(const std::uint8_t* h) {
    KV71CellHeader r;
    r.west = f64At(h);
    r.south = f64At(h + 8);
    r.east = f64At(h + 16);
    r.north = f64At(h + 24);
    r.xMin = f64At(h + 32);
    r.yMin = f64At(h + 40);
    r.xMax = f64At(h + 48);
    r.yMax = f64At(h + 56);
    r.edgeCount = u16At(h + 64);
    r.edgePointCount = u32At(h + 66);
    r.edgeRefsFirst = u32At(h + 70);
    r.edgeRefsSecond = u32At(h + 74);
    r.soundingSetCount = u16At(h + 78);
    r.soundingPointCount = u32At(h + 80);
    r.pointCount = u16At(h + 88);
    r.objectCount = u16At(h + 94);
    r.childRefCount = u32At(h + 110);
    r.attributeBytes = u32At(h + 120);
    r.flags = u32At(h + 124);
    return r;
}

// Every counted item takes at least this many bytes of the file (an edge
// reference or a child index is a u16 of some record, an attribute byte one
// byte), so a header whose counts need more than the file holds is a lie,
// found before anything is allocated.
bool countsFit(const KV71CellHeader& h, std::uint64_t bodyBytes) {
    const std::uint64_t need =
        std::uint64_t{h.edgeCount} * 2 + std::uint64_t{h.edgePointCount} * 4 +
        std::uint64_t{h.soundingSetCount} * 2 + std::uint64_t{h.soundingPointCount} * 6 +
        std::uint64_t{h.pointCount} * 4 + std::uint64_t{h.objectCount} * 4 +
        (std::uint64_t{h.edgeRefsFirst} + h.edgeRefsSecond) * 2 +
        std::uint64_t{h.childRefCount} * 2 + h.attributeBytes;
    return need <= bodyBytes;
}

bool headerFinite(const KV71CellHeader& h) {
    for (double v : {h.west, h.south, h.east, h.north, h.xMin, h.yMin, h.xMax, h.yMax})
        if (!std::isfinite(v)) return false;
    return true;
}

// Degrees snapped to the nearest sixth, as a binary angle.
std::int32_t snappedAngle(double degrees) {
    return deg2nrm(static_cast<long double>(round(static_cast<long double>(degrees) * 6, 0)) /
                   6.0L);
}

// Allocates count items of T from the budget; count 0 gives null and is no
// failure.
template <class T> bool allocTable(T*& table, std::uint64_t count) {
    table = nullptr;
    if (count == 0) return true;
    if (count * sizeof(T) > UINT32_MAX) return false;
    int failed = 0;
    void* block = KV71CellAlloc(failed, static_cast<std::uint32_t>(count * sizeof(T)));
    if (!block) return false;
    std::memset(block, 0, count * sizeof(T));
    table = static_cast<T*>(block);
    return true;
}

// Reads a section of polylines (edges) or point sets (soundings) into their
// entries and the shared point table, each taking from the header's point
// count.
bool readEdges(Cursor& in, TGeoCell& cell) {
    const KV71CellHeader& h = *cell.header;
    std::uint32_t used = 0;
    for (unsigned i = 0; i < h.edgeCount; ++i) {
        if (!in.has(2)) return false;
        const std::uint16_t n = in.u16();
        if (n > h.edgePointCount - used || !in.has(std::size_t{n} * 4)) return false;
        KV71Edge& e = cell.edges[i];
        e.count = n;
        e.points = cell.edgePoints + used;
        used += n;
        if (n == 0) {
            e.minX = e.minY = 0xFFFF;
            e.maxX = e.maxY = 0;
            e.points = nullptr;
            continue;
        }
        std::uint16_t minX = 0xFFFF, minY = 0xFFFF, maxX = 0, maxY = 0;
        for (unsigned k = 0; k < n; ++k) {
            const std::uint16_t x = in.u16(), y = in.u16();
            e.points[k] = {x, y};
            if (x < minX) minX = x;
            if (x > maxX) maxX = x;
            if (y < minY) minY = y;
            if (y > maxY) maxY = y;
        }
        e.minX = minX;
        e.minY = minY;
        e.maxX = maxX;
        e.maxY = maxY;
    }
    return true;
}

bool readSoundings(Cursor& in, TGeoCell& cell) {
    const KV71CellHeader& h = *cell.header;
    std::uint32_t used = 0;
    for (unsigned i = 0; i < h.soundingSetCount; ++i) {
        if (!in.has(2)) return false;
        const std::uint16_t n = in.u16();
        if (n > h.soundingPointCount - used || !in.has(std::size_t{n} * 6)) return false;
        KV71SoundingSet& s = cell.soundings[i];
        s.count = n;
        s.points = n ? cell.soundingPoints + used : nullptr;
        used += n;
        for (unsigned k = 0; k < n; ++k) {
            const std::uint16_t x = in.u16(), y = in.u16(), z = in.u16();
            s.points[k] = {x, y, z};
        }
    }
    return true;
}

bool readPoints(Cursor& in, TGeoCell& cell) {
    const unsigned n = cell.header->pointCount;
    if (!in.has(std::size_t{n} * 4)) return false;
    for (unsigned k = 0; k < n; ++k) {
        const std::uint16_t x = in.u16(), y = in.u16();
        cell.points[k] = {x, y};
    }
    return true;
}

// Running totals of the shared tables that the object records fill.
struct ObjectTotals {
    std::uint64_t edgeRefs = 0, childRefs = 0, attributeBytes = 0;
};

bool readObject(Cursor& in, TGeoCell& cell, unsigned index, ObjectTotals& used) {
    const KV71CellHeader& h = *cell.header;
    if (!in.has(4)) return false;
    KV71ObjectRecord& o = cell.objects[index];
    const std::uint8_t* start = in.p;
    o.classCode = in.u8();
    o.flags = in.u8();
    const std::uint16_t length = in.u16();
    if (length < 4 || !Cursor{start, in.end}.has(length)) return false;
    // The record is read on its own: nothing of the next one is taken.
    Cursor r{in.p, start + length};
    in.p = start + length;

    if (o.classCode >= GetObjNum()) return false;
    std::uint8_t kind = o.flags & 0x0F;
    if (kind != KV71PointGeometry && kind != KV71LineGeometry && kind != KV71AreaGeometry &&
        kind != KV71SoundingGeometry)
        kind = KV71NoGeometry;
    o.flags = static_cast<std::uint8_t>((o.flags & 0xF0) | kind);

    if (kind == KV71PointGeometry || kind == KV71SoundingGeometry) {
        if (!r.has(2)) return false;
        const std::uint16_t i = r.u16();
        if (kind == KV71PointGeometry ? i >= h.pointCount : i >= h.soundingSetCount) {
            traceMessage("Error in 3D pointers");
            return false;
        }
        if (kind == KV71PointGeometry) {
            o.geometry.point = cell.points + i;
        } else {
            o.geometry.soundings = cell.soundings + i;
        }
        o.geometryCount = 1;
    } else if (kind == KV71LineGeometry || kind == KV71AreaGeometry) {
        if (!r.has(2)) return false;
        const std::uint16_t n = r.u16();
        const std::uint64_t slots = std::uint64_t{h.edgeRefsFirst} + h.edgeRefsSecond;
        if (n > slots - used.edgeRefs || !r.has(std::size_t{n} * 2)) return false;
        KV71EdgeRef* refs = cell.edgeRefs + used.edgeRefs;
        used.edgeRefs += n;
        for (unsigned k = 0; k < n; ++k) {
            const std::uint16_t ref = r.u16();
            const unsigned edge = kind == KV71LineGeometry ? ref & 0x7FFF : ref & 0x1FFF;
            if (edge >= h.edgeCount) return false;
            refs[k].edge = cell.edges + edge;
            refs[k].flags = kind == KV71LineGeometry ? (ref & 0x8000 ? KV71RefReversed : 0)
                                                     : static_cast<std::uint8_t>(ref >> 13);
        }
        o.geometry.edgeRefs = n ? refs : nullptr;
        o.geometryCount = n;
    }

    if (o.flags & KV71HasChildren) {
        if (!r.has(1)) return false;
        const std::uint8_t m = r.u8();
        if (m > h.childRefCount - used.childRefs || !r.has(std::size_t{m} * 2)) return false;
        KV71ObjectRecord** slots = cell.childRefs + used.childRefs;
        used.childRefs += m;
        for (unsigned k = 0; k < m; ++k) {
            const std::uint16_t child = r.u16();
            if (child >= h.objectCount) {
                traceMessage("Error in object pointers");
                return false;
            }
            slots[k] = cell.objects + child;
            // The child keeps its own child list; its parent has a field of
            // its own.
            cell.objects[child].parent = &o;
        }
        o.childCount = m;
        o.children = m ? slots : nullptr;
    }

    if (o.flags & KV71HasParent) {
        if (!r.has(2)) return false;
        if (r.u16() >= h.objectCount) {
            traceMessage("Error in part of pointers");
            return false;
        }
    }

    if (o.flags & KV71HasRelation) {
        traceMessage("Relates to relation not implemented");
        return false;
    }

    if (o.flags & KV71HasAttributes) {
        if (!r.has(1)) return false;
        o.attributeCount = r.u8();
        if (o.attributeCount == 0) {
            traceMessage("Error in attribute data");
            return false;
        }
        const std::size_t bytes = static_cast<std::size_t>(r.end - r.p);
        if (bytes > h.attributeBytes - used.attributeBytes) return false;
        o.attributes = cell.attributeData + used.attributeBytes;
        o.attributeSize = static_cast<std::uint16_t>(bytes);
        if (bytes) std::memcpy(o.attributes, r.p, bytes);
        used.attributeBytes += bytes;
        r.p = r.end;
    }
    return r.p == r.end;
}

// True when following child lists from some object comes back to it (a
// later walk over children would never end).
bool childListsCycle(const TGeoCell& cell) {
    const unsigned n = cell.header->objectCount;
    std::vector<std::uint8_t> state(n, 0); // 0 unseen, 1 on the path, 2 done
    struct Step {
        unsigned object, next;
    };
    std::vector<Step> path;
    for (unsigned root = 0; root < n; ++root) {
        if (state[root]) continue;
        state[root] = 1;
        path.push_back({root, 0});
        while (!path.empty()) {
            Step& s = path.back();
            const KV71ObjectRecord& o = cell.objects[s.object];
            if (s.next < o.childCount) {
                const unsigned child = static_cast<unsigned>(o.children[s.next++] - cell.objects);
                if (state[child] == 1) return true;
                if (state[child] == 0) {
                    state[child] = 1;
                    path.push_back({child, 0});
                }
            } else {
                state[s.object] = 2;
                path.pop_back();
            }
        }
    }
    return false;
}

// Sorts the objects by display priority (a stable counting sort: file order
// among equals) and builds the priority index.
bool sortByPriority(TGeoCell& cell) {
    const unsigned n = cell.header->objectCount;
    std::uint32_t histogram[256] = {};
    for (unsigned i = 0; i < n; ++i) {
        const std::uint8_t p = GetObjDescr(cell.objects[i].classCode)->priority;
        ++histogram[p];
        if (p < cell.lowPriority) cell.lowPriority = p;
        if (p > cell.highPriority) cell.highPriority = p;
    }
    std::uint32_t start[256];
    std::uint32_t sum = 0;
    for (unsigned p = 0; p < 256; ++p) {
        start[p] = sum;
        sum += histogram[p];
    }
    for (unsigned i = 0; i < n; ++i)
        cell.sorted[start[GetObjDescr(cell.objects[i].classCode)->priority]++] = cell.objects + i;
    if (n == 0) return true;
    const unsigned layers = cell.highPriority - cell.lowPriority + 1u;
    if (!allocTable(cell.priorityIndex, layers)) return false;
    sum = 0;
    for (unsigned k = 0; k < layers; ++k) {
        sum += histogram[cell.lowPriority + k];
        cell.priorityIndex[k] = sum;
    }
    return true;
}

// The whole load of a cell that is not cached; the cell file is open.
TGeoCell* readCell(const char* name, long fileSize) {
    std::uint8_t prefix[prefixSize];
    if (!ReadKV71Block(prefix, prefixSize)) return nullptr;
    const std::uint64_t sections =
        std::uint64_t{u16At(prefix)} + u32At(prefix + 2) + u32At(prefix + 6);
    if (sections != static_cast<std::uint64_t>(fileSize) || fileSize < prefixSize + headerSize) {
        trace("Cell %s is corrupt", name);
        return nullptr;
    }
    std::uint8_t headerBytes[headerSize];
    if (!ReadKV71Block(headerBytes, headerSize)) return nullptr;
    const KV71CellHeader header = parseHeader(headerBytes);
    const long bodySize = fileSize - prefixSize - headerSize;
    if (!countsFit(header, static_cast<std::uint64_t>(bodySize)) || !headerFinite(header)) {
        trace("Cell %s is corrupt", name);
        return nullptr;
    }
    std::unique_ptr<std::uint8_t, decltype(&std::free)> body(
        static_cast<std::uint8_t*>(std::malloc(bodySize ? bodySize : 1)), &std::free);
    if (!body || !ReadKV71Block(body.get(), bodySize)) return nullptr;
    closeCellFile();

    TGeoCell* cell = nullptr;
    if (!allocTable(cell, 1)) return nullptr;
    // From here every failure frees the record with what it holds.
    std::unique_ptr<TGeoCell, void (*)(TGeoCell*)> owned(cell, &FreeKV71CellTables);
    cell->lowPriority = 65535;
    cell->highPriority = 0;
    std::uint16_t level = 0, lon = 0, lat = 0;
    char parsed[sizeof cell->name] = {};
    std::strncpy(parsed, name, sizeof parsed - 1);
    if (!ParseKV71CellName(parsed, level, lon, lat)) return nullptr;
    cell->lon = lon;
    cell->lat = static_cast<std::int16_t>(lat);
    cell->level = level;

    if (!allocTable(cell->header, 1)) return nullptr;
    *cell->header = header;
    cell->xScale = (header.xMax - header.xMin) / 65535;
    cell->yScale = (header.yMax - header.yMin) / 65535;
    cell->xMin = header.xMin;
    cell->yMin = header.yMin;
    cell->rect = {snappedAngle(header.west), snappedAngle(header.south), snappedAngle(header.east),
                  snappedAngle(header.north)};

    const std::uint16_t objects = header.objectCount;
    if (!allocTable(cell->objects, objects) || !allocTable(cell->sorted, objects) ||
        !allocTable(cell->points, header.pointCount) ||
        !allocTable(cell->childRefs, header.childRefCount) ||
        !allocTable(cell->edgeRefs, std::uint64_t{header.edgeRefsFirst} + header.edgeRefsSecond) ||
        !allocTable(cell->attributeData, header.attributeBytes) ||
        !allocTable(cell->edges, header.edgeCount) ||
        !allocTable(cell->edgePoints, header.edgePointCount) ||
        !allocTable(cell->soundings, header.soundingSetCount) ||
        !allocTable(cell->soundingPoints, header.soundingPointCount))
        return nullptr;
    std::memcpy(cell->name, parsed, sizeof cell->name);

    Cursor in{body.get(), body.get() + bodySize};
    bool ok = readEdges(in, *cell) && readSoundings(in, *cell) && readPoints(in, *cell);
    ObjectTotals used;
    for (unsigned i = 0; ok && i < objects; ++i)
        ok = readObject(in, *cell, i, used);
    if (ok && childListsCycle(*cell)) {
        traceMessage("Error in object pointers");
        ok = false;
    }
    if (!ok || !sortByPriority(*cell)) {
        trace("Problems loading %s", name);
        return nullptr;
    }
    return owned.release();
}

} // namespace

int ReadKV71Block(void* dest, long size) {
    if (size == 0) return 1;
    if (size < 0 || !openCell || !dest ||
        std::fread(dest, 1, static_cast<std::size_t>(size), openCell) !=
            static_cast<std::size_t>(size)) {
        char line[64];
        std::snprintf(line, sizeof line, "Cannot read %ld bytes", size);
        traceMessage(line);
        return 0;
    }
    return 1;
}

KV71ObjectRecord* LoadKV71Cell(char* name, std::uint16_t& objectCount) {
    objectCount = 0;
    if (name)
        for (char* p = name; *p; ++p)
            if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    TGeoCell* cell = FindKV71Cell(name);
    if (!cell) {
        const std::string path = KV71CellPath(name); // throws for an invalid name
        closeCellFile();
        openCell = openChartFile(path.c_str(), "rb");
        const long size = chartFileSize(openCell);
        if (size > 0) cell = readCell(name, size);
        closeCellFile();
        if (!cell) return nullptr;
        AddKV71Cell(cell);
    }
    SetKV71CurrentCell(cell);
    objectCount = cell->header->objectCount;
    return objectCount ? cell->objects : nullptr;
}

int KV71CurrentCellFlag() {
    const TGeoCell* cell = KV71CurrentCell();
    if (!cell) reportError("No cell is current");
    return static_cast<int>(cell->header->flags & 1);
}
