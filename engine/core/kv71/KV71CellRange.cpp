#include "kv71/KV71CellRange.h"

namespace {

constexpr std::uint32_t halfTurn = 0x80000000u;
// One grid unit less one binary-angle step: added to an east or north edge,
// it rounds the edge's index up.
constexpr std::uint32_t roundUp = 3976821u;

int fail(KV71CellRange& range) {
    range.cell.level = KV71NoLevel;
    return -1;
}

} // namespace

int InitKV71CellRange(KV71CellRange& range, std::int32_t west, std::int32_t south,
                      std::int32_t east, std::int32_t north, unsigned level) {
    if (level >= KV71LevelCount || south > north) return fail(range);
    const std::uint32_t s = KV71Levels[level].cellSize;

    std::uint32_t latLo = KV71LatIndex(south);
    std::uint32_t latHi =
        KV71LatIndex(static_cast<std::int32_t>(static_cast<std::uint32_t>(north) + roundUp));
    if (latHi < KV71GridLatFirst) return fail(range);
    if (latLo < KV71GridLatFirst) latLo = KV71GridLatFirst;
    // Row 510 starts at 80 N, outside the grid: a window from there north is empty.
    if (latLo >= KV71GridLatEnd) return fail(range);
    if (latHi > KV71GridLatEnd) latHi = KV71GridLatEnd;
    latLo = KV71GridLatFirst + s * ((latLo - KV71GridLatFirst) / s);
    latHi = KV71GridLatFirst + s * ((latHi + s - KV71GridLatFirst - 1) / s);
    if (latLo == latHi) latHi += s;

    std::uint32_t lonLo = KV71LonIndex(west);
    std::uint32_t lonHi =
        KV71LonIndex(static_cast<std::int32_t>(static_cast<std::uint32_t>(east) + roundUp));
    lonLo = s * (lonLo / s);
    lonHi = s * ((lonHi + s - 1) / s);
    if (lonLo >= KV71GridLonCount) lonLo -= KV71GridLonCount;
    if (lonHi >= KV71GridLonCount) lonHi -= KV71GridLonCount;
    // Columns walked east from lonLo to lonHi. A window narrower than half a
    // turn whose edges met gets its one column. A wider window needs at least
    // half the columns; when the walk is shorter, its rounded edges passed
    // each other on the far side and it takes every column (lonEnd ==
    // lonFirst).
    const std::uint32_t width = static_cast<std::uint32_t>(east) - static_cast<std::uint32_t>(west);
    const std::uint32_t span = (lonHi + KV71GridLonCount - lonLo) % KV71GridLonCount;
    if (width >= halfTurn) {
        if (span < KV71GridLonCount / 2) lonHi = lonLo;
    } else if (span == 0) {
        lonHi = (lonLo + s) % KV71GridLonCount;
    }

    range.size = static_cast<std::uint16_t>(s);
    range.lonFirst = static_cast<std::uint16_t>(lonLo);
    range.lonEnd = static_cast<std::uint16_t>(lonHi);
    range.latEnd = static_cast<std::uint16_t>(latHi);
    range.cell = {static_cast<std::uint16_t>(lonLo), static_cast<std::uint16_t>(latLo),
                  static_cast<std::uint16_t>(level)};
    return 0;
}

int InitKV71CellRange(KV71CellRange& range, const GeoRect& window, unsigned level) {
    return InitKV71CellRange(range, window.lon1, window.lat1, window.lon2, window.lat2, level);
}

KV71CellId NextKV71Cell(KV71CellRange& range) {
    const KV71CellId current = range.cell;
    if (current.level == KV71NoLevel) return current;
    std::uint32_t lon = range.cell.lon + range.size;
    if (lon >= KV71GridLonCount) lon -= KV71GridLonCount;
    range.cell.lon = static_cast<std::uint16_t>(lon);
    if (lon == range.lonEnd) {
        range.cell.lon = range.lonFirst;
        const std::uint32_t lat = range.cell.lat + range.size;
        range.cell.lat = static_cast<std::uint16_t>(lat);
        if (lat >= range.latEnd) range.cell.level = KV71NoLevel;
    }
    return current;
}
