#include "kv71/chartRoot.h"

#include "kv71/KV71CellId.h"
#include "kv71/chartFiles.h"
#include "util/reportError.h"

#include <cstdio>

namespace {

std::string& root() {
    static std::string value = "Z:\\KV71/";
    return value;
}

} // namespace

void SetKV71ChartRoot(const char* path) {
    if (!path) return;
    std::string value(path);
    if (value.size() > 255) value.resize(255);
    if (!value.empty()) {
        const char last = value.back();
        if (last != ':' && last != '/' && last != '\\') value += '/';
    }
    root() = value;
}

const char* KV71ChartRoot() {
    return root().c_str();
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
    return localChartPath(
        (root() + KV71BlockFolder(lon, lat) + "/" + KV71Levels[level].letter + "/" + name).c_str());
}

std::string KV71BlockIndexPath(std::uint32_t lon, std::uint32_t lat) {
    const std::string block = KV71BlockFolder(lon, lat);
    return localChartPath((root() + block + "/" + block + ".INF").c_str());
}
