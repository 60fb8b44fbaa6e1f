// kv71cellseeds: writes the seed corpus of the cell reader's fuzz target into
// a folder: small cells of grid (30, 300), level E, with every geometry kind,
// attribute format and object relation, and a few damaged ones.
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
    bool ok = true;
    for (const auto& [name, cell] : seeds)
        ok = writeFileAtomically(folder + "/" + name, cellFileBytes(cell)) && ok;
    return ok ? 0 : 1;
}
