#include "kv71/KV71CellRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

std::int32_t degrees(double d) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(
        std::llround(std::fmod(d + 360.0, 360.0) * 4294967296.0 / 360.0)));
}

std::int32_t plus(std::int32_t angle, std::int32_t steps) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(angle) +
                                     static_cast<std::uint32_t>(steps));
}

using Cells = std::vector<std::pair<int, int>>; // (longitude index, latitude index)

// Every cell of the range, at most 200000.
Cells walk(KV71CellRange& range, unsigned level) {
    Cells cells;
    for (int i = 0; i < 200000; ++i) {
        const KV71CellId id = NextKV71Cell(range);
        if (id.level == KV71NoLevel) break;
        EXPECT_EQ(id.level, level);
        cells.emplace_back(id.lon, id.lat);
    }
    return cells;
}

// Every column of the rows, each row from column `first` eastwards.
Cells allColumns(int size, const std::vector<int>& rows, int first = 0) {
    Cells cells;
    for (int lat : rows)
        for (int i = 0; i < 1080; i += size)
            cells.emplace_back((first + i) % 1080, lat);
    return cells;
}

TEST(KV71CellRange, WindowsAndTheirCells) {
    struct Case {
        const char* what;
        std::int32_t west, south, east, north;
        unsigned level;
        Cells want;
    } cases[] = {
        {"across 0 degrees",
         degrees(350),
         degrees(55),
         degrees(10),
         degrees(65),
         1,
         {{1020, 390}, {0, 390}, {1020, 450}, {0, 450}}},
        {"across 180 degrees",
         degrees(170),
         degrees(0.5),
         degrees(-170),
         degrees(5),
         2,
         {{510, 270}, {540, 270}}},
        {"a point", degrees(10.1), degrees(10.1), degrees(10.1), degrees(10.1), 5, {{30, 300}}},
        {"north edge on a row boundary",
         degrees(0.1),
         degrees(0.1),
         degrees(0.2),
         KV71LatOfIndex(300),
         2,
         {{0, 270}}},
        {"north edge one step beyond",
         degrees(0.1),
         degrees(0.1),
         degrees(0.2),
         plus(KV71LatOfIndex(300), 1),
         2,
         {{0, 270}, {0, 300}}},
        {"east edge on a column boundary",
         degrees(0.1),
         degrees(0.1),
         KV71LonOfIndex(30),
         degrees(0.2),
         2,
         {{0, 270}}},
        {"small window, level D",
         degrees(10.2),
         degrees(59.1),
         degrees(11.9),
         degrees(59.5),
         4,
         {{30, 447}, {33, 447}}},
        {"rows stop short of 80 N",
         degrees(1),
         degrees(79.9),
         degrees(1.2),
         degrees(85),
         5,
         {{3, 509}}},
        {"rows start at 80 S", degrees(1), degrees(-89), degrees(2), degrees(-79), 0, {{0, 30}}},
        {"nearly the full turn across 0", degrees(0.5), degrees(1), degrees(0.4), degrees(2), 1,
         allColumns(60, {270})},
        {"nearly the full turn from 180 W", degrees(-180), degrees(1), degrees(179.99), degrees(2),
         1, allColumns(60, {270}, 540)},
        {"nearly the full turn at one-cell size", degrees(10.1), degrees(1), degrees(10.0),
         degrees(1.1), 5, allColumns(1, {273}, 30)},
        {"the world at level Z", degrees(-180), -0x40000000, degrees(179.999), 0x40000000, 0,
         allColumns(120, {30, 150, 270, 390}, 480)},
        {"just over half a turn",
         degrees(0.5),
         degrees(1),
         degrees(190),
         degrees(2),
         0,
         {{0, 270}, {120, 270}, {240, 270}, {360, 270}, {480, 270}}},
    };
    for (const Case& c : cases) {
        KV71CellRange range;
        ASSERT_EQ(InitKV71CellRange(range, c.west, c.south, c.east, c.north, c.level), 0) << c.what;
        EXPECT_EQ(walk(range, c.level), c.want) << c.what;
        EXPECT_EQ(NextKV71Cell(range).level, KV71NoLevel) << c.what;
    }
}

TEST(KV71CellRange, WindowsWithoutCells) {
    struct Case {
        const char* what;
        std::int32_t west, south, east, north;
        unsigned level;
    } cases[] = {
        {"level 8", degrees(0), degrees(0), degrees(1), degrees(1), 8},
        {"south above north", degrees(0), degrees(2), degrees(1), degrees(1), 3},
        {"south of 80 S", degrees(0), degrees(-89), degrees(1), degrees(-81), 3},
        {"north of 80 N", degrees(0), degrees(81), degrees(1), degrees(89), 3},
        {"from 80 N", degrees(0), KV71LatOfIndex(510) + 1, degrees(1), degrees(89), 7},
    };
    for (const Case& c : cases) {
        KV71CellRange range;
        range.cell = {1, 100, 3};
        EXPECT_EQ(InitKV71CellRange(range, c.west, c.south, c.east, c.north, c.level), -1)
            << c.what;
        EXPECT_EQ(NextKV71Cell(range).level, KV71NoLevel) << c.what;
    }
}

// Every cell of every level that a window holds is enumerated exactly once,
// and every enumerated cell meets the window.
TEST(KV71CellRange, CellsCoverTheWindowOnce) {
    const double windows[][4] = {
        {5.3, 58.2, 11.7, 63.9}, {-3.2, -12.5, 4.1, 3.3}, {177.5, 40, -176, 41}};
    for (const auto& w : windows) {
        for (unsigned level = 0; level < 8; ++level) {
            KV71CellRange range;
            ASSERT_EQ(InitKV71CellRange(range, degrees(w[0]), degrees(w[1]), degrees(w[2]),
                                        degrees(w[3]), level),
                      0);
            const Cells cells = walk(range, level);
            const int s = KV71Levels[level].cellSize;
            std::vector<int> seen(1080 * 540, 0);
            for (auto [lon, lat] : cells) {
                EXPECT_EQ(lon % s, 0);
                EXPECT_EQ((lat - 30) % s, 0);
                ++seen[lat * 1080 + lon];
            }
            // Each grid unit of the window lies in exactly one enumerated cell
            // (an east or north edge on a grid line adds no unit beyond it).
            const int lonFirst = static_cast<int>(std::floor(std::fmod(w[0] + 360, 360) * 3));
            const int lonLast = static_cast<int>(std::floor(std::fmod(w[2] + 360, 360) * 3 - 1e-9));
            const int latFirst = static_cast<int>(std::floor((w[1] + 90) * 3));
            const int latLast = static_cast<int>(std::floor((w[3] + 90) * 3 - 1e-9));
            for (int lat = latFirst; lat <= latLast; ++lat)
                for (int lon = lonFirst;; lon = (lon + 1) % 1080) {
                    const int cellLon = lon / s * s, cellLat = 30 + (lat - 30) / s * s;
                    EXPECT_EQ(seen[cellLat * 1080 + cellLon], 1)
                        << w[0] << " level " << level << " unit " << lon << "," << lat;
                    if (lon == lonLast) break;
                }
            // Nothing beyond one cell around the window.
            EXPECT_LE(cells.size(),
                      static_cast<std::size_t>(((lonLast - lonFirst + 1080) % 1080 / s + 2) *
                                               ((latLast - latFirst) / s + 2)));
        }
    }
}

} // namespace

namespace {

// The rectangle of a cell, as a window, gives that cell once its south-west
// corner is moved one step in (the corner's angle is rounded down, so on its
// own it indexes the neighbours to the south and west).
TEST(KV71CellRange, OverAGeoRect) {
    for (const KV71CellId id : {KV71CellId{960, 150, 1}, KV71CellId{1079, 509, 7},
                                KV71CellId{1020, 30, 1}, KV71CellId{33, 105, 4}}) {
        GeoRect window = KV71CellRect(id);
        window.lon1 = plus(window.lon1, 1);
        window.lat1 = plus(window.lat1, 1);
        KV71CellRange range;
        ASSERT_EQ(InitKV71CellRange(range, window, id.level), 0);
        EXPECT_EQ(walk(range, id.level), (Cells{{id.lon, id.lat}})) << id.lon << " " << id.lat;
    }
    KV71CellRange range;
    EXPECT_EQ(
        InitKV71CellRange(range, GeoRect{degrees(170), degrees(0.5), degrees(-170), degrees(5)}, 2),
        0);
    EXPECT_EQ(walk(range, 2), (Cells{{510, 270}, {540, 270}}));
    EXPECT_EQ(InitKV71CellRange(range, GeoRect{0, 10, 0, 5}, 2), -1);
}

} // namespace
