// kv71write: writes small KV71 chart trees from the command line.
//
//   kv71write cell ROOT LEVEL LON LAT
//       an empty cell (no objects) of level 0..7 at grid indices LON, LAT
//   kv71write index ROOT LEVEL LON LAT [LON LAT ...]
//       the block index of the block holding the first cell, listing the
//       given cells of level 1..7, each covered by its own box
//
// LON, LAT are the indices of a cell's south-west corner: LON 0..1079, LAT
// 30..509, each on a cell boundary of the level (LAT counted from 30).
#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool number(const char* text, int& out) {
    const char* end = text + std::strlen(text);
    auto [p, ec] = std::from_chars(text, end, out);
    return ec == std::errc() && p == end;
}

int usage() {
    std::fputs("usage: kv71write cell ROOT LEVEL LON LAT\n"
               "       kv71write index ROOT LEVEL LON LAT [LON LAT ...]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) return usage();
    const std::string command = argv[1], root = argv[2];
    std::vector<int> values;
    for (int i = 3; i < argc; ++i) {
        int v;
        if (!number(argv[i], v) || v < 0) return usage();
        values.push_back(v);
    }
    const int level = values[0];
    if (level > 7 || values.size() % 2 == 0) return usage();
    const int size = kv71write::cellSizeUnits(level);
    for (std::size_t i = 1; i + 1 < values.size(); i += 2) {
        const int lon = values[i], lat = values[i + 1];
        if (lon >= 1080 || lat < 30 || lat >= 510 || lon % size != 0 || (lat - 30) % size != 0) {
            std::fprintf(stderr, "kv71write: no cell of level %d starts at %d %d\n", level, lon,
                         lat);
            return 2;
        }
    }
    bool ok = false;
    if (command == "cell" && values.size() == 3) {
        kv71write::CellFile cell;
        cell.header = kv71write::cellHeaderFor(values[1], values[2], level);
        ok = kv71write::writeCellFile(root, values[1], values[2], level, cell);
    } else if (command == "index" && level >= 1) {
        kv71write::InfGroup group;
        group.level = static_cast<std::uint8_t>(level - 1);
        for (std::size_t i = 1; i + 1 < values.size(); i += 2)
            group.cells.push_back(kv71write::infCellOf(values[i], values[i + 1], level));
        kv71write::BlockIndex index;
        index.groups.push_back(group);
        ok = kv71write::writeBlockIndex(root, values[1], values[2], index);
    } else {
        return usage();
    }
    if (!ok) std::fprintf(stderr, "kv71write: cannot write under %s\n", root.c_str());
    return ok ? 0 : 1;
}
