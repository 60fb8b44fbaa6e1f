#include "kv71/KV71CellId.h"
#include "kv71/chartFiles.h"
#include "kv71/chartRoot.h"
#include "os/drives.h"

#include "TempDir.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Binary angle of d degrees, rounded to nearest.
std::int32_t degrees(double d) {
    return static_cast<std::int32_t>(std::llround(d * 4294967296.0 / 360.0));
}

TEST(KV71CellName, ParseTable) {
    struct Case {
        const char* name;
        int valid;
        int level, lon, lat;
        const char* upper;
    } cases[] = {
        {"00300000.z", 1, 0, 0, 30, "00300000.Z"},
        {"01500960.A", 1, 1, 960, 150, "01500960.A"},
        {"A1501079_G", 1, 7, 1079, 150, "A1501079_G"},
        {"D5091079.e", 1, 5, 1079, 509, "D5091079.E"},
        {"01501080.A", 0, 0, 0, 0, "01501080.A"},   // longitude 1080
        {"00290000.A", 0, 0, 0, 0, "00290000.A"},   // latitude 29
        {"05100000.A", 0, 0, 0, 0, "05100000.A"},   // latitude 510 (80 N)
        {"0150096.A", 0, 0, 0, 0, "0150096.A"},     // nine characters
        {"01500960.AB", 0, 0, 0, 0, "01500960.AB"}, // eleven
        {"015009600A", 0, 0, 0, 0, "015009600A"},   // digit at [8]
        {"01500960.H", 0, 0, 0, 0, "01500960.H"},   // no such level
        {"0150O960.A", 0, 0, 0, 0, "0150O960.A"},   // letter among the digits
        {"0 1500960A", 0, 0, 0, 0, "0 1500960A"},
        {"0+50+960.A", 0, 0, 0, 0, "0+50+960.A"}, // signs are no digits
        {"0-50 960.A", 0, 0, 0, 0, "0-50 960.A"},
        {"", 0, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        char name[32];
        std::snprintf(name, sizeof name, "%s", c.name);
        std::uint16_t level = 99, lon = 99, lat = 99;
        EXPECT_EQ(ParseKV71CellName(name, level, lon, lat), c.valid) << c.name;
        EXPECT_STREQ(name, c.upper);
        if (c.valid) {
            EXPECT_EQ(level, c.level) << c.name;
            EXPECT_EQ(lon, c.lon) << c.name;
            EXPECT_EQ(lat, c.lat) << c.name;
        } else {
            EXPECT_EQ(level + lon + lat, 3 * 99) << c.name;
        }
    }
    std::uint16_t a, b, c;
    EXPECT_EQ(ParseKV71CellName(nullptr, a, b, c), 0);
}

TEST(KV71CellName, GeneratedNamesMatchTheWritersAndParseBack) {
    struct Case {
        KV71CellId id;
        const char* name; // null: no name
    } cases[] = {
        {{960, 150, 1}, "01500960.A"}, {{0, 30, 0}, "00300000.Z"}, {{1079, 509, 7}, "05091079.G"},
        {{12, 42, 3}, "00420012.C"},   {{0, 30, 8}, nullptr},      {{0, 30, KV71NoLevel}, nullptr},
        {{1080, 30, 1}, nullptr},      {{0, 510, 1}, nullptr},     {{0, 29, 1}, nullptr},
        {{65535, 65535, 1}, nullptr},
    };
    for (const Case& c : cases) {
        char out[12] = "junk";
        char* result = KV71CellName(c.id, out);
        if (!c.name) {
            EXPECT_EQ(result, nullptr) << c.id.lon << " " << c.id.lat << " " << c.id.level;
            EXPECT_EQ(out[0], 0);
            continue;
        }
        EXPECT_EQ(result, out);
        EXPECT_STREQ(out, c.name);
        EXPECT_EQ(out, kv71write::cellName(c.id.lon, c.id.lat, c.id.level));
        std::uint16_t level, lon, lat;
        ASSERT_EQ(ParseKV71CellName(out, level, lon, lat), 1);
        EXPECT_EQ(CompareKV71CellIds(c.id, KV71CellId{lon, lat, level}), 0);
    }
}

TEST(KV71Grid, LevelTable) {
    const char letters[] = "ZABCDEFG";
    const int sizes[] = {120, 60, 30, 12, 3, 1, 1, 1};
    const std::uint32_t scales[] = {20000000, 3000000, 1000000, 200000, 100000, 50000, 20000, 7500};
    for (int l = 0; l < KV71LevelCount; ++l) {
        EXPECT_EQ(KV71Levels[l].letter, letters[l]);
        EXPECT_EQ(KV71Levels[l].cellSize, sizes[l]);
        EXPECT_EQ(KV71Levels[l].scale, scales[l]);
        EXPECT_EQ(KV71Levels[l].cellSize, kv71write::cellSizeUnits(l));
    }
}

TEST(KV71Grid, SnapToGrid) {
    struct Case {
        double lon, lat;
        unsigned level;
        int result;
        KV71CellId id;
    } cases[] = {
        {10.5, 59.9, 5, 0, {31, 449, 5}},
        {10.5, 59.9, 1, 0, {0, 450 - 60, 1}}, // rows of 60 from 30
        {10.5, 59.9, 0, 0, {0, 390, 0}},
        {-0.1, 0.0, 1, 0, {1020, 270, 1}}, // just west of 0: the last column
        {-179.9, -79.9, 2, 0, {540, 30, 2}},
        {-0.01, 79.99, 7, 0, {1079, 509, 7}},
        {179.99, 0.0, 7, 0, {539, 270, 7}},
        {0.0, -79.9999, 4, 0, {0, 30, 4}},       // the first row starts at 80 S
        {0.0, 80.0, 4, -1, {0, 0, KV71NoLevel}}, // 80 N is not in the grid
        {0.0, -80.01, 4, -1, {0, 0, KV71NoLevel}},
        {0.0, 90.0, 1, -1, {0, 0, KV71NoLevel}},
        {0.0, 0.0, 8, -1, {0, 0, KV71NoLevel}},
    };
    for (const Case& c : cases) {
        KV71CellId id{0, 0, 3};
        EXPECT_EQ(SnapKV71Cell(id, degrees(c.lon), degrees(c.lat), c.level), c.result)
            << c.lon << " " << c.lat;
        EXPECT_EQ(id.level, c.id.level);
        if (c.result == 0) {
            EXPECT_EQ(id.lon, c.id.lon) << c.lon << " " << c.lat;
            EXPECT_EQ(id.lat, c.id.lat) << c.lon << " " << c.lat;
        }
    }
}

TEST(KV71Grid, CompareOrdersByLevelThenLongitudeThenLatitude) {
    std::vector<KV71CellId> ids = {{5, 40, 2}, {5, 35, 2}, {900, 30, 1}, {4, 500, 2}, {0, 30, 3}};
    std::sort(ids.begin(), ids.end(), [](const KV71CellId& a, const KV71CellId& b) {
        return CompareKV71CellIds(a, b) < 0;
    });
    const std::vector<std::array<int, 3>> want = {
        {900, 30, 1}, {4, 500, 2}, {5, 35, 2}, {5, 40, 2}, {0, 30, 3}};
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ((std::array<int, 3>{ids[i].lon, ids[i].lat, ids[i].level}), want[i]) << i;
    EXPECT_EQ(CompareKV71CellIds({5, 40, 2}, {5, 40, 2}), 0);
    EXPECT_EQ(CompareKV71CellIds({5, 41, 2}, {5, 40, 2}), 1);
}

class ChartRoot : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = KV71ChartRoot();
        os::setDrive('Z', "/srv", os::DriveType::Fixed);
    }
    void TearDown() override {
        SetKV71ChartRoot(saved.c_str());
        os::resetDrives();
    }
    std::string saved;
};

TEST_F(ChartRoot, SettingTheRoot) {
    struct Case {
        std::string set, want;
    } cases[] = {
        {"/charts", "/charts/"},
        {"/charts/", "/charts/"},
        {"C:", "C:"},
        {"C:\\KV71\\", "C:\\KV71\\"},
        {"", ""},
        {std::string(300, 'r'), std::string(255, 'r') + "/"},
    };
    for (const Case& c : cases) {
        SetKV71ChartRoot(c.set.c_str());
        EXPECT_EQ(KV71ChartRoot(), c.want);
    }
    SetKV71ChartRoot(nullptr);
    EXPECT_EQ(KV71ChartRoot(), cases[5].want);
    const char* root = KV71ChartRoot();
    SetKV71ChartRoot("/a");
    SetKV71ChartRoot(root); // the root itself, through the pointer it gave
    EXPECT_STREQ(root, "/a/");
}

// The starting root, seen in a fresh process: a "threadsafe" death test runs
// the program anew, whatever roots the tests before it set.
TEST(ChartRootDeathTest, StartsAtTheDefaultRoot) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(std::strcmp(KV71ChartRoot(), "Z:\\KV71/") == 0 ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(ChartRoot, PathsOfCellsAndBlockIndexes) {
    struct Case {
        const char* root;
        const char* name;
        const char* path;
    } cases[] = {
        {"/c", "01500960.a", "/c/01500960/A/01500960.A"},
        {"Z:\\KV71", "B0910130.C", "/srv/KV71/00900120/C/B0910130.C"},
        {"Q:\\KV71", "B0910130.C", ""}, // a letter without a root names nothing
        {"charts/", "00300000.Z", "charts/00300000/Z/00300000.Z"},
        {"/c", "05091079.G", "/c/04501020/G/05091079.G"},
    };
    for (const Case& c : cases) {
        SetKV71ChartRoot(c.root);
        char name[16];
        std::snprintf(name, sizeof name, "%s", c.name);
        EXPECT_EQ(KV71CellPath(name), c.path);
    }
    char bad[] = "0150096x.A";
    try {
        KV71CellPath(bad);
        ADD_FAILURE() << "no error";
    } catch (const char* text) {
        EXPECT_STREQ(text, "ERROR: Illegal cell name: 0150096X.A");
    }
    SetKV71ChartRoot("Z:\\KV71\\");
    EXPECT_EQ(KV71BlockIndexPath(975, 160), "/srv/KV71/01500960/01500960.INF");
    EXPECT_EQ(KV71BlockFolder(1079, 509), "04501020");
    EXPECT_EQ(KV71BlockFolder(0, 30), "00300000");
}

TEST_F(ChartRoot, FilesWrittenByTheToolsAreFoundWhateverTheirCase) {
    TempDir dir;
    kv71write::CellFile cell;
    cell.header = kv71write::cellHeaderFor(960, 150, 1);
    ASSERT_TRUE(kv71write::writeCellFile(dir.path(), 960, 150, 1, cell));
    ASSERT_TRUE(kv71write::writeCellFile(dir.path(), 961, 151, 5, cell, 'B'));
    // The same tree with every name in lower case.
    TempDir lower;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path())) {
        std::string rel = std::filesystem::relative(e.path(), dir.path()).string();
        std::transform(rel.begin(), rel.end(), rel.begin(),
                       [](unsigned char ch) { return std::tolower(ch); });
        if (e.is_directory())
            std::filesystem::create_directories(lower / rel);
        else
            std::filesystem::copy_file(e.path(), lower / rel);
    }
    for (const TempDir* tree : {&dir, &lower}) {
        SetKV71ChartRoot(tree->path().c_str());
        for (const char* n : {"01500960.A", "b1510961.e"}) {
            char name[16];
            std::snprintf(name, sizeof name, "%s", n);
            std::FILE* f = openChartFile(KV71CellPath(name).c_str(), "rb");
            ASSERT_NE(f, nullptr) << tree->path() << " " << n;
            EXPECT_EQ(chartFileSize(f), 138);
            std::fclose(f);
        }
        char missing[] = "01500900.A";
        EXPECT_EQ(openChartFile(KV71CellPath(missing).c_str(), "rb"), nullptr);
    }
    EXPECT_EQ(KV71CellPath(std::string("01500960.A").data()),
              kv71write::cellFilePath(lower.path(), 960, 150, 1));
}

} // namespace

namespace {

// The angle of an index is index * 2^32 / 1080 rounded down, so it lies at
// most one binary-angle step below the grid line: the next angle up indexes
// the grid line's own row or column.
std::int32_t plus(std::int32_t angle, std::int32_t steps) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(angle) +
                                     static_cast<std::uint32_t>(steps));
}

TEST(KV71Grid, AnglesOfIndicesLieOnTheGridLines) {
    for (std::uint32_t i : {1u, 30u, 271u, 509u, 510u, 539u}) {
        EXPECT_EQ(KV71LatIndex(plus(KV71LatOfIndex(i), 1)), i);
        EXPECT_EQ(KV71LatIndex(plus(KV71LatOfIndex(i), -1)), i - 1);
    }
    for (std::uint32_t i : {1u, 540u, 1079u}) {
        EXPECT_EQ(KV71LonIndex(plus(KV71LonOfIndex(i), 1)), i);
        EXPECT_EQ(KV71LonIndex(plus(KV71LonOfIndex(i), -1)), i - 1);
    }
    EXPECT_EQ(KV71LatOfIndex(270), 0);
    EXPECT_EQ(KV71LatOfIndex(0), -0x40000000);
    EXPECT_EQ(KV71LonOfIndex(540), static_cast<std::int32_t>(0x80000000u));
    EXPECT_EQ(KV71LonOfIndex(1080), 0);
    KV71CellId id;
    EXPECT_EQ(SnapKV71Cell(id, 0, KV71LatOfIndex(30) + 1, 4), 0);
    EXPECT_EQ(id.lat, 30);
    EXPECT_EQ(SnapKV71Cell(id, 0, KV71LatOfIndex(510) + 1, 4), -1);
    EXPECT_EQ(SnapKV71Cell(id, 0, KV71LatOfIndex(510) - 1, 4), 0);
    EXPECT_EQ(id.lat, 507);
}

} // namespace
