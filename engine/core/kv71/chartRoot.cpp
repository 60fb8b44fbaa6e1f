#include "kv71/chartRoot.h"

#include "kv71/KV71CellId.h"
#include "kv71/chartFiles.h"
#include "util/reportError.h"

#include <cstdio>
#include <cstring>

namespace {

// 255 characters of the path, the separator appended and the zero. A fixed
// buffer, so a pointer from KV71ChartRoot stays valid when the root changes.
char root[257] = "Z:\\KV71/";

} // namespace

void SetKV71ChartRoot(const char* path) {
    if (!path) return;
    std::size_t n = std::strlen(path);
    if (n > 255) n = 255;
    std::memmove(root, path, n); // path may be the root itself
    if (n > 0 && path[n - 1] != ':' && path[n - 1] != '/' && path[n - 1] != '\\') root[n++] = '/';
    root[n] = 0;
}

const char* KV71ChartRoot() {
    return root;
}

std::string KV71BlockFolder(std::uint32_t lon, std::uint32_t lat) {
    char text[24];
    std::snprintf(text, sizeof text, "%04u%04u", (lat - 30) / 60 * 60 + 30, lon / 60 * 60);
    return text;
}

std::string KV71CellPath(char* name) {
    std::uint16_t level, lon, lat;
    if (!ParseKV71CellName(name, level, lon, lat))
        reportError("Illegal cell name: %s", name ? name : "(null)");
    return localChartPath((std::string(root) + KV71BlockFolder(lon, lat) + "/" +
                           KV71Levels[level].letter + "/" + name)
                              .c_str());
}

std::string KV71BlockIndexPath(std::uint32_t lon, std::uint32_t lat) {
    const std::string block = KV71BlockFolder(lon, lat);
    return localChartPath((std::string(root) + block + "/" + block + ".INF").c_str());
}
