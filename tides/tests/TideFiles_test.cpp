#include "TideFiles.h"

#include "TideEngine.h"
#include "TideTestFiles.h"
#include "util/reportError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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

std::vector<std::string> traces;
void collectTrace(const char* text) {
    traces.push_back(text);
}

// Little-endian bytes of a 16- or 32-bit number.
std::string le16(std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}
std::string le32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return le16(static_cast<std::int16_t>(u & 0xFFFF)) + le16(static_cast<std::int16_t>(u >> 16));
}

std::string bytesAt(const std::string& path, long at, std::size_t n) {
    std::ifstream f(path, std::ios::binary);
    f.seekg(at);
    std::string b(n, '\0');
    f.read(b.data(), static_cast<std::streamsize>(n));
    return b;
}

// Overwrites bytes of a file in place.
void patch(const std::string& path, long at, const std::string& bytes) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(at);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
    for (const char* name : {"td_num.ntx", "td_crd.ntx"})
        std::filesystem::resize_file(dir.path() + "/" + name, 65535 * 10);
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

TEST_F(TideFilesTest, BlocksAreReadWhereverTheirOffsetPointsInsideTheDataFile) {
    write(dir.path(), samplePorts());
    // Every port's block in the middle of another one: the load cannot tell,
    // the read takes whatever lies there.
    for (const char* name : {"td_num.ntx", "td_crd.ntx"})
        for (int i = 0; i < 5; ++i)
            patch(dir.path() + "/" + name, i * 10 + 6, le32(2 * 46 + 20));
    ASSERT_EQ(loadTideFiles(dir.path().c_str()), 0);
    PortHeader h{};
    EXPECT_NE(readTidePort(3624, 319, h), 0);
}

// Each damaged directory is refused at load with its trace, and the files
// loaded before stay loaded and usable.
TEST_F(TideFilesTest, LoadRefusesIndexesThatCannotWork) {
    const std::string good = dir.sub("good");
    write(good, samplePorts());
    struct Case {
        const char* what;
        std::function<void(const std::string&)> damage;
        const char* trace;
    };
    const Case cases[] = {
        {"td_num.ntx cut inside a record",
         [](const std::string& d) { std::filesystem::resize_file(d + "/td_num.ntx", 15); },
         "td_num.ntx: 15 bytes are not whole 10-byte records"},
        {"td_crd.ntx cut inside a record",
         [](const std::string& d) { std::filesystem::resize_file(d + "/td_crd.ntx", 45); },
         "td_crd.ntx: 45 bytes are not whole 10-byte records"},
        {"td_crd.ntx with a port less",
         [](const std::string& d) { std::filesystem::resize_file(d + "/td_crd.ntx", 40); },
         "td_crd.ntx: 4 ports, td_num.ntx has 5"},
        {"td_crd.ntx with a port more",
         [](const std::string& d) { std::filesystem::resize_file(d + "/td_num.ntx", 40); },
         "td_crd.ntx: 5 ports, td_num.ntx has 4"},
        {"td_crd.ntx out of position order",
         [](const std::string& d) {
             const std::string crd = d + "/td_crd.ntx";
             const std::string first = bytesAt(crd, 0, 10), last = bytesAt(crd, 40, 10);
             patch(crd, 0, last);
             patch(crd, 40, first);
         },
         "td_crd.ntx: record 1 is out of position order"},
        {"td_crd.ntx with another port number",
         [](const std::string& d) { patch(d + "/td_crd.ntx", 0, le16(99)); },
         "td_crd.ntx and td_num.ntx list different ports"},
        {"td_crd.ntx with another offset",
         [](const std::string& d) { patch(d + "/td_crd.ntx", 16, le32(0)); },
         "td_crd.ntx and td_num.ntx list different ports"},
        {"offset past the end of td_pnte.dat",
         [](const std::string& d) {
             for (const char* name : {"/td_num.ntx", "/td_crd.ntx"})
                 for (int i = 0; i < 5; ++i)
                     if (bytesAt(d + name, i * 10, 2) == le16(7))
                         patch(d + name, i * 10 + 6, le32(1 << 20));
         },
         "td_pnte.dat: block of port 7 at offset 1048576 lies outside its"},
        {"negative offset",
         [](const std::string& d) {
             for (const char* name : {"/td_num.ntx", "/td_crd.ntx"})
                 for (int i = 0; i < 5; ++i)
                     if (bytesAt(d + name, i * 10, 2) == le16(12))
                         patch(d + name, i * 10 + 6, le32(-46));
         },
         "td_pnte.dat: block of port 12 at offset -46 lies outside its"},
        {"td_pnte.dat cut to 100 bytes",
         [](const std::string& d) { std::filesystem::resize_file(d + "/td_pnte.dat", 100); },
         "lies outside its 100 bytes"},
        {"td_pnte.dat a folder",
         [](const std::string& d) {
             std::filesystem::remove(d + "/td_pnte.dat");
             std::filesystem::create_directory(d + "/td_pnte.dat");
         },
         "td_pnte.dat is not a regular file"},
        {"td_num.ntx a folder",
         [](const std::string& d) {
             std::filesystem::remove(d + "/td_num.ntx");
             std::filesystem::create_directory(d + "/td_num.ntx");
         },
         "td_num.ntx is not a regular file"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(loadTideFiles(good.c_str()), 0);
        const std::string bad = dir.sub("bad" + std::to_string(n++));
        write(bad, samplePorts());
        c.damage(bad);
        traces.clear();
        const TraceHook previous = setTraceMessageHook(&collectTrace);
        EXPECT_EQ(loadTideFiles(bad.c_str()), -1);
        setTraceMessageHook(previous);
        ASSERT_EQ(traces.size(), 1u);
        EXPECT_NE(traces[0].find(c.trace), std::string::npos) << traces[0];
        EXPECT_EQ(tidePortCount(), 5);
        PortHeader h{};
        EXPECT_EQ(readTidePort(-2050, 10855, h), 1);
        EXPECT_STREQ(h.name, "Broome");
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
