#include "tools/kv71/TreeLayout.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kv71write {

char levelLetter(int level) {
    if (level == 0) return 'Z';
    if (level >= 1 && level <= 7) return static_cast<char>('A' + level - 1);
    return '?';
}

int cellSizeUnits(int level) {
    static const int sizes[8] = {120, 60, 30, 12, 3, 1, 1, 1};
    return level >= 0 && level <= 7 ? sizes[level] : 0;
}

std::string blockFolder(int lonIndex, int latIndex) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%04d", (latIndex - 30) / 60 * 60 + 30,
                  lonIndex / 60 * 60);
    return text;
}

std::string cellName(int lonIndex, int latIndex, int level, char variant) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%03d%04d.%c", variant, latIndex, lonIndex,
                  levelLetter(level));
    return text;
}

static std::string joined(const std::string& root, const std::string& rest) {
    if (root.empty() || root.back() == '/') return root + rest;
    return root + "/" + rest;
}

std::string cellFilePath(const std::string& root, int lonIndex, int latIndex, int level,
                         char variant) {
    return joined(root, blockFolder(lonIndex, latIndex) + "/" + levelLetter(level) + "/" +
                            cellName(lonIndex, latIndex, level, variant));
}

std::string blockIndexPath(const std::string& root, int lonIndex, int latIndex) {
    const std::string block = blockFolder(lonIndex, latIndex);
    return joined(root, block + "/" + block + ".INF");
}

DegreeBox cellDegrees(int lonIndex, int latIndex, int level) {
    const int size = cellSizeUnits(level);
    return {lonIndex / 3.0, latIndex / 3.0 - 90.0, (lonIndex + size) / 3.0,
            (latIndex + size) / 3.0 - 90.0};
}

double mercatorX(double lonDegrees) {
    return kv71SphereRadius * lonDegrees * std::numbers::pi / 180.0;
}

double mercatorY(double latDegrees) {
    const double phi = latDegrees * std::numbers::pi / 180.0;
    return kv71SphereRadius * std::log(std::tan(std::numbers::pi / 4 + phi / 2));
}

} // namespace kv71write
