#include "kv71/KV71CellId.h"

#include "runtime/intmath.h"

#include <cstdio>
#include <cstring>

const KV71Level KV71Levels[KV71LevelCount] = {
    {'Z', 20000000, 120}, {'A', 3000000, 60}, {'B', 1000000, 30}, {'C', 200000, 12},
    {'D', 100000, 3},     {'E', 50000, 1},    {'F', 20000, 1},    {'G', 7500, 1},
};

namespace {

constexpr std::uint32_t quarterTurn = 0x40000000u;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool inGrid(std::uint32_t lon, std::uint32_t lat) {
    return lon < KV71GridLonCount && lat >= KV71GridLatFirst && lat < KV71GridLatEnd;
}

} // namespace

std::uint32_t KV71LonIndex(std::int32_t lon) {
    return dwMulDiv(static_cast<std::uint32_t>(lon), KV71GridLonCount, 0);
}

std::uint32_t KV71LatIndex(std::int32_t lat) {
    return dwMulDiv(static_cast<std::uint32_t>(lat) + quarterTurn, KV71GridLonCount, 0);
}

std::int32_t KV71LonOfIndex(std::uint32_t index) {
    const std::uint64_t angle = (std::uint64_t{index % KV71GridLonCount} << 32) / KV71GridLonCount;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(angle));
}

std::int32_t KV71LatOfIndex(std::uint32_t index) {
    const std::uint64_t angle = (std::uint64_t{index} << 32) / KV71GridLonCount;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(angle) - quarterTurn);
}

int ParseKV71CellName(char* name, std::uint16_t& level, std::uint16_t& lon, std::uint16_t& lat) {
    if (!name) return 0;
    for (char* p = name; *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    if (std::strlen(name) != 10) return 0;
    for (int i = 1; i <= 7; ++i)
        if (!isDigit(name[i])) return 0;
    if (isDigit(name[8])) return 0;
    const char letter = name[9];
    if (letter != 'Z' && (letter < 'A' || letter > 'G')) return 0;
    unsigned latValue = 0, lonValue = 0;
    for (int i = 1; i <= 3; ++i)
        latValue = latValue * 10 + static_cast<unsigned>(name[i] - '0');
    for (int i = 4; i <= 7; ++i)
        lonValue = lonValue * 10 + static_cast<unsigned>(name[i] - '0');
    if (!inGrid(lonValue, latValue)) return 0;
    level = letter == 'Z' ? 0 : static_cast<std::uint16_t>(letter - 64);
    lon = static_cast<std::uint16_t>(lonValue);
    lat = static_cast<std::uint16_t>(latValue);
    return 1;
}

char* KV71CellName(const KV71CellId& id, char* out) {
    if (id.level >= KV71LevelCount || !inGrid(id.lon, id.lat)) {
        out[0] = 0;
        return nullptr;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04u%04u.%c", static_cast<unsigned>(id.lat),
                  static_cast<unsigned>(id.lon), KV71Levels[id.level].letter);
    std::memcpy(out, text, 11); // ten characters and the zero: the indices are in the grid
    return out;
}

int SnapKV71Cell(KV71CellId& id, std::int32_t lon, std::int32_t lat, unsigned level) {
    const std::uint32_t row = KV71LatIndex(lat) - KV71GridLatFirst; // wraps when south of 80 S
    if (level >= KV71LevelCount || row >= KV71GridLatEnd - KV71GridLatFirst) {
        id.level = KV71NoLevel;
        return -1;
    }
    const std::uint32_t size = KV71Levels[level].cellSize;
    id.lon = static_cast<std::uint16_t>(KV71LonIndex(lon) / size * size);
    id.lat = static_cast<std::uint16_t>(KV71GridLatFirst + row / size * size);
    id.level = static_cast<std::uint16_t>(level);
    return 0;
}

int CompareKV71CellIds(const KV71CellId& a, const KV71CellId& b) {
    if (a.level != b.level) return a.level < b.level ? -1 : 1;
    if (a.lon != b.lon) return a.lon < b.lon ? -1 : 1;
    if (a.lat != b.lat) return a.lat < b.lat ? -1 : 1;
    return 0;
}

GeoRect KV71CellRect(const KV71CellId& id) {
    if (id.level >= KV71LevelCount) return GeoRect{0, 0x40000000, 0, -0x40000000};
    const std::uint32_t size = KV71Levels[id.level].cellSize;
    return GeoRect{KV71LonOfIndex(id.lon), KV71LatOfIndex(id.lat),
                   KV71LonOfIndex((id.lon + size) % KV71GridLonCount),
                   KV71LatOfIndex(id.lat + size)};
}
