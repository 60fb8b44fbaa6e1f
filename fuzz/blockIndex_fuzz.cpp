// Fuzz target of the block index reader: the input is written as a .INF file
// and read into cells with their covers.
#include "kv71/blockIndexFile.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzzFolder() + "/00300000.INF";
    writeFuzzFile(path, data, size);
    std::vector<KV71BlockCell> cells;
    const int n = ReadKV71BlockIndex(path.c_str(), cells);
    fuzzCheck(n < 0 ? cells.empty() : static_cast<std::size_t>(n) == cells.size());
    for (const KV71BlockCell& c : cells) {
        fuzzCheck(c.id.level >= 1 && c.id.level <= 7 && !c.cover.empty());
        fuzzCheck(c.id.lon < 1080 && c.id.lat >= 30 && c.id.lat < 510);
    }
    return 0;
}
