#include "TideFiles.h"

#include "TideEngine.h"
#include "TideTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>

using namespace flodwave;
using namespace tidetest;
using tidetools::TidePort;

namespace {

// Ports on both sides of Greenwich and the equator; numbers out of order.
std::vector<TidePort> samplePorts() {
    return {
        {7, 3624, 319, -1, "Bergen", {{kZ0, 0, 9520}, {kM2, 2835, 4536}, {kS2, 3238, 1631}}},
        {3, 2658, -4711, 4, "Halifax", {{kM2, 1200, 6300}}},
        {12, -2050, 10855, -8, "Broome", {{kK1, 100, 5000}, {kO1, 3500, 3000}}},
        {5, 3624, -319, 1, "Mirror", {}},
        {9, -3600, -4200, 4, "South West", {{kZ0, 1800, 100}}},
    };
}

int openDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

} // namespace

class TideFilesTest : public ::testing::Test {
  protected:
    void TearDown() override { releaseTideFiles(); }
    ScratchDir dir;
};

TEST_F(TideFilesTest, LoadsIndexesAndFindsEveryPortByItsExactPosition) {
    write(dir.path(), samplePorts());
    ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);
    ASSERT_EQ(tidePortCount(), 5);

    // td_num.ntx in port-number order.
    const int numbers[] = {3, 5, 7, 9, 12};
    for (int i = 0; i < 5; ++i) {
        IndexFileStruct r{};
        ASSERT_TRUE(tideIndexRecord(i, r));
        EXPECT_EQ(r.number, numbers[i]);
    }
    IndexFileStruct r{};
    EXPECT_FALSE(tideIndexRecord(5, r));
    EXPECT_FALSE(tideIndexRecord(-1, r));

    // Every port is found, west and south ones too (the search is unsigned).
    for (const TidePort& p : samplePorts()) {
        PortHeader h{};
        ASSERT_EQ(readTidePort(p.lat, p.lon, h), 1) << p.name;
        EXPECT_STREQ(h.name, p.name.c_str());
        EXPECT_EQ(h.lat, p.lat);
        EXPECT_EQ(h.lon, p.lon);
        EXPECT_EQ(h.timeZone, p.timeZone);
        ASSERT_EQ(portConstituentCount(), p.items.size());
        for (std::size_t j = 0; j < p.items.size(); ++j) {
            const PortConstituent& c = portConstituent(j);
            EXPECT_EQ(c.constituent, p.items[j].row);
            EXPECT_DOUBLE_EQ(c.amplitude, p.items[j].amplitude * 0.1);
            EXPECT_DOUBLE_EQ(c.phaseLag, p.items[j].phaseLag / 1800.0 * std::numbers::pi);
            EXPECT_EQ(constituentNodal(c.constituent).used, 1);
        }
    }
    // Only the last port's rows are flagged.
    EXPECT_EQ(constituentNodal(kM2).used, 0);

    // Exact match on both halves of the key.
    PortHeader h{};
    EXPECT_EQ(readTidePort(3624, 320, h), 0);
    EXPECT_EQ(readTidePort(3625, 319, h), 0);
}

TEST_F(TideFilesTest, DirectoryWithOrWithoutSeparatorAndItsLimits) {
    write(dir.path(), samplePorts());
    EXPECT_EQ(loadTideFiles((dir.path() + "/").c_str()), 0);
    EXPECT_EQ(loadTideFiles(dir.path().c_str()), 0);
    EXPECT_EQ(loadTideFiles((dir.path() + "\\").c_str()), 0);
    EXPECT_EQ(loadTideFiles(nullptr), -1);
    EXPECT_EQ(loadTideFiles((dir.path() + "/missing").c_str()), -1);

    // 240 characters are accepted, 241 refused.
    const std::string at240 = dir.path() + "/" + std::string(239 - dir.path().size(), 'a');
    const std::string at241 = at240 + "b";
    ASSERT_EQ(at240.size(), 240u);
    for (const std::string& d : {at240, at241}) {
        std::filesystem::create_directories(d);
        write(d, samplePorts());
    }
    EXPECT_EQ(loadTideFiles(at240.c_str()), 0);
    EXPECT_EQ(loadTideFiles(at241.c_str()), -1);
}

TEST_F(TideFilesTest, EmptyIndexHasNoPorts) {
    write(dir.path(), {});
    ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);
    EXPECT_EQ(tidePortCount(), 0);
    PortHeader h{};
    EXPECT_EQ(readTidePort(0, 0, h), 0);
}

TEST_F(TideFilesTest, MorePortsThanTheCountHoldsAreRefused) {
    // 65536 records would wrap the 16-bit port count to 0.
    for (const char* name : {"td_num.ntx", "td_crd.ntx"})
        std::ofstream(dir.path() + "/" + name, std::ios::binary) << std::string(65536 * 10, '\0');
    std::ofstream(dir.path() + "/td_pnte.dat", std::ios::binary) << std::string(46, '\0');
    EXPECT_EQ(loadTideFiles(dir.path().c_str()), -1);
    std::filesystem::resize_file(dir.path() + "/td_num.ntx", 65535 * 10 + 9);
    ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);
    EXPECT_EQ(tidePortCount(), 65535);
}

TEST_F(TideFilesTest, PortWithoutConstituentsPredictsZero) {
    write(dir.path(), samplePorts());
    ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);
    resetTables();
    PortHeader h{};
    ASSERT_EQ(readTidePort(3624, -319, h), 1);
    EXPECT_EQ(h.count, 0);
    float values[25];
    ASSERT_EQ(predictTide(values, 25, 1000.0, 1.0), 25);
    for (float v : values)
        EXPECT_EQ(v, 0.0f);
}

TEST_F(TideFilesTest, DamagedPortBlocksAreRefusedWithoutTouchingTheTable) {
    std::vector<TidePort> ports = samplePorts();
    ports.push_back(
        {20, 100, 100, 0, "Seventy", std::vector<tidetools::TideItem>(70, {kM2, 0, 1})});
    ports.push_back({21, 101, 100, 0, "Row 69", {{kM2, 0, 1}, {69, 0, 1}}});
    ports.push_back({22, 102, 100, 0, "Row -1", {{-1, 0, 1}}});
    // Last in the data file: says 5 items, holds 2, so its block runs short.
    ports.push_back({23, 103, 100, 0, "Short", {{kM2, 0, 1}, {kS2, 0, 1}}, 5});
    write(dir.path(), ports);
    ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);

    PortHeader h{};
    ASSERT_EQ(readTidePort(3624, 319, h), 1); // Bergen, three items
    for (std::int16_t lat : {100, 101, 102, 103}) {
        PortHeader bad{};
        EXPECT_EQ(readTidePort(lat, 100, bad), -1) << lat;
        EXPECT_EQ(portConstituentCount(), 3u) << "Bergen's table stays";
        EXPECT_EQ(constituentNodal(kM2).used, 1);
    }
}

TEST_F(TideFilesTest, OffsetsOutsideTheDataFileAreRefused) {
    write(dir.path(), samplePorts());
    // Point every position record past the end, or before the start.
    const std::string crd = dir.path() + "/td_crd.ntx";
    for (std::int32_t offset : {1 << 20, -46, 2 * 46 + 20}) {
        std::fstream f(crd, std::ios::in | std::ios::out | std::ios::binary);
        for (int i = 0; i < 5; ++i) {
            f.seekp(i * 10 + 6);
            for (int k = 0; k < 4; ++k)
                f.put(static_cast<char>((static_cast<std::uint32_t>(offset) >> (8 * k)) & 0xFF));
        }
        f.close();
        ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);
        PortHeader h{};
        const int found = readTidePort(3624, 319, h);
        if (offset == 2 * 46 + 20)
            EXPECT_NE(found, 0) << "inside the file: read, whatever it holds";
        else
            EXPECT_EQ(found, -1) << offset;
    }
}

TEST_F(TideFilesTest, FailedReloadKeepsThePreviousFilesUsable) {
    const std::string good = dir.sub("good"), other = dir.sub("other");
    write(good, samplePorts());
    write(other, {{1, 10, 10, 0, "Other", {{kM2, 0, 10}}}});
    ASSERT_EQ(loadTideFiles(good.c_str()), 0);
    const int descriptors = openDescriptors();

    // Broken directories: no data file, a short position index.
    const std::string noData = dir.sub("nodata"), shortCrd = dir.sub("shortcrd");
    write(noData, samplePorts());
    std::filesystem::remove(noData + "/td_pnte.dat");
    write(shortCrd, samplePorts());
    std::filesystem::resize_file(shortCrd + "/td_crd.ntx", 45);
    for (const std::string& bad : {noData, shortCrd}) {
        EXPECT_EQ(loadTideFiles(bad.c_str()), -1) << bad;
        EXPECT_EQ(tidePortCount(), 5);
        PortHeader h{};
        EXPECT_EQ(readTidePort(-2050, 10855, h), 1);
        EXPECT_STREQ(h.name, "Broome");
    }
    EXPECT_EQ(openDescriptors(), descriptors);

    // A good reload replaces everything and closes the previous data file.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(loadTideFiles(other.c_str()), 0);
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(tidePortCount(), 1);
    PortHeader h{};
    EXPECT_EQ(readTidePort(-2050, 10855, h), 0);
    EXPECT_EQ(readTidePort(10, 10, h), 1);

    releaseTideFiles();
    EXPECT_EQ(openDescriptors(), descriptors - 1);
    EXPECT_EQ(tidePortCount(), 0);
    EXPECT_EQ(readTidePort(10, 10, h), 0);
}
