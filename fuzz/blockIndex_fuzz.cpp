// Fuzz target of the block index reader: the input is written as a .INF file
// and read into cells with their covers.
#include "kv71/blockIndexFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string makeFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "skjoldr-inffuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    static std::string folder = pattern;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    });
    return pattern + "/00300000.INF";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = makeFile();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::vector<KV71BlockCell> cells;
    const int n = ReadKV71BlockIndex(path.c_str(), cells);
    if (n < 0 ? !cells.empty() : static_cast<std::size_t>(n) != cells.size()) std::abort();
    for (const KV71BlockCell& c : cells) {
        if (c.id.level < 1 || c.id.level > 7 || c.cover.empty()) std::abort();
        if (c.id.lon >= 1080 || c.id.lat < 30 || c.id.lat >= 510) std::abort();
    }
    return 0;
}
