// kv71cellseeds: writes the seed corpus of the cell fuzz targets into a
// folder: small cells of grid (30, 300), level E, with every geometry kind,
// attribute format and object relation, and damaged ones with each fault the
// cell reader refuses.
//
//   kv71cellseeds FOLDER
#include "tools/kv71/CellFileWriter.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace kv71write;

namespace {

CellFile baseCell() {
    CellFile cell;
    cell.header = cellHeaderFor(30, 300, 5);
    return cell;
}

CellFile geometryCell() {
    CellFile cell = baseCell();
    cell.header.flags = 1;
    cell.edges = {{{{10, 20}, {5, 30}, {40, 1}}, {}},
                  {{}, {}},
                  {{{1, 1}, {65535, 0}}, {}},
                  {{{7, 9}, {6, 65535}}, {}}};
    cell.soundings = {{{{1, 2, 3}, {4, 5, 6}}, {}}, {{}, {}}};
    cell.points = {{100, 200}, {300, 400}};
    CellObject point;
    point.classCode = 1;
    point.geometry = PointGeometry;
    point.index = 1;
    point.attributes = attributesOfEveryFormat();
    CellObject line;
    line.classCode = 2;
    line.geometry = LineGeometry;
    line.edgeRefs = {lineRef(3, true), lineRef(0)};
    CellObject area;
    area.classCode = 3;
    area.geometry = AreaGeometry;
    area.edgeRefs = {areaRef(3, 7), areaRef(1, 2), areaRef(2)};
    CellObject sounding;
    sounding.classCode = 4;
    sounding.geometry = SoundingGeometry;
    sounding.index = 0;
    CellObject none;
    none.classCode = 15;
    cell.objects = {point, line, area, sounding, none};
    return cell;
}

CellFile familyCell() {
    CellFile cell = baseCell();
    cell.objects.resize(6);
    for (std::size_t i = 0; i < cell.objects.size(); ++i)
        cell.objects[i].classCode = static_cast<std::uint8_t>(i * 3 % 16);
    cell.objects[0].children = {1, 4};
    cell.objects[1].children = {2};
    cell.objects[1].parent = 0;
    cell.objects[2].parent = 1;
    cell.objects[4].parent = 0;
    cell.objects[5].attributes = {stringAttribute(116, "Fyr")};
    return cell;
}

CellFile priorityCell() {
    CellFile cell = baseCell();
    for (int i = 0; i < 40; ++i) {
        CellObject o;
        o.classCode = static_cast<std::uint8_t>(i * 7 % 16);
        cell.objects.push_back(o);
    }
    return cell;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: kv71cellseeds FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<std::pair<std::string, CellFile>> seeds = {
        {"empty", baseCell()},
        {"geometry", geometryCell()},
        {"family", familyCell()},
        {"priorities", priorityCell()},
    };
    CellFile relation = familyCell();
    relation.objects[3].relation = true;
    seeds.push_back({"relation", relation});
    CellFile longer = geometryCell();
    longer.damage.append = {0};
    seeds.push_back({"one_byte_long", longer});
    CellFile cycle = familyCell();
    cycle.objects[2].children = {0};
    seeds.push_back({"child_cycle", cycle});
    // The faults the reader's tests refuse, one seed each.
    CellFile damaged = geometryCell();
    damaged.header.edgePointCount = 7;
    seeds.push_back({"edge_points_beyond_count", damaged});
    damaged = geometryCell();
    damaged.edges[0].pointCount = 60000;
    seeds.push_back({"edge_count_beyond_points", damaged});
    damaged = geometryCell();
    damaged.header.objectCount = 65535;
    seeds.push_back({"object_count_beyond_file", damaged});
    damaged = geometryCell();
    damaged.header.attributeBytes = 20;
    seeds.push_back({"attribute_bytes_beyond_count", damaged});
    damaged = geometryCell();
    damaged.objects[1].length = 7;
    seeds.push_back({"record_too_short", damaged});
    damaged = geometryCell();
    damaged.objects[0].index = 2;
    seeds.push_back({"point_index_out_of_range", damaged});
    damaged = geometryCell();
    damaged.objects[2].edgeRefs[0] = areaRef(0x1FFF, 7);
    seeds.push_back({"area_edge_out_of_range", damaged});
    damaged = geometryCell();
    damaged.objects[0].attributeCount = 0;
    seeds.push_back({"attribute_count_zero", damaged});
    bool ok = true;
    for (const auto& [name, cell] : seeds)
        ok = writeFileAtomically(folder + "/" + name, cellFileBytes(cell)) && ok;
    // Cut inside its last record, with a prefix that still adds up.
    Bytes cut = cellFileBytes(geometryCell());
    cut.resize(cut.size() - 3);
    const std::uint32_t objects =
        static_cast<std::uint32_t>(cut.size()) - 138 -
        (cut[2] | cut[3] << 8 | cut[4] << 16 | std::uint32_t{cut[5]} << 24);
    for (int i = 0; i < 4; ++i)
        cut[6 + i] = static_cast<std::uint8_t>(objects >> (8 * i));
    ok = writeFileAtomically(folder + "/cut_inside_last_record", cut) && ok;
    return ok ? 0 : 1;
}
