// The shared library as a program binds to it, and the sample tide data.
#include "TideWave.h"

#include "TideTestFiles.h"
#include "util/reportError.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <iterator>
#include <sstream>

using namespace tidetest;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Library {
  public:
    Library() : handle_(dlopen(FLODWAVE_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (handle_ != nullptr) dlclose(handle_);
    }
    void* handle() const { return handle_; }
    template <class F> F get(const char* name) const {
        return reinterpret_cast<F>(dlsym(handle_, name));
    }

  private:
    void* handle_;
};

} // namespace

TEST(FlodwaveLibrary, ExportsTheTideInterfaceOnly) {
    Library lib;
    ASSERT_NE(lib.handle(), nullptr) << dlerror();
    for (const char* name :
         {"TD_LoadDataFiles", "TD_GetNumPorts", "TD_GetTidePoint", "TD_DoneTides",
          "_ZN8TideWaveC1EssPcS0_", "_ZN8TideWaveD1Ev", "_ZN8TideWave9CalculateEdccs"})
        EXPECT_NE(dlsym(lib.handle(), name), nullptr) << name;
    // Its own build of the utility unit must not stand in for the chart
    // engine's in a program that loads both.
    for (const char* name : {"reportError", "hoursSince1996", "sunTimes", "julianDay"})
        EXPECT_EQ(dlsym(lib.handle(), name), nullptr) << name;
}

TEST(FlodwaveLibrary, LoadsTheSampleDataAndComputesBergen) {
    Library lib;
    ASSERT_NE(lib.handle(), nullptr) << dlerror();
    auto load = lib.get<int (*)(char*)>("TD_LoadDataFiles");
    auto count = lib.get<int (*)()>("TD_GetNumPorts");
    auto point = lib.get<int (*)(int, IndexFileStruct*)>("TD_GetTidePoint");
    auto done = lib.get<void (*)()>("TD_DoneTides");
    auto make = lib.get<void (*)(void*, short, short, char*, char*)>("_ZN8TideWaveC1EssPcS0_");
    auto calculate =
        lib.get<int (*)(void*, double, char, char, short)>("_ZN8TideWave9CalculateEdccs");
    auto name = lib.get<void (*)(const void*, char*)>("_ZNK8TideWave11GetPortNameEPc");
    auto points = lib.get<short (*)(const void*)>("_ZNK8TideWave12GetNumPointsEv");
    auto destroy = lib.get<void (*)(void*)>("_ZN8TideWaveD1Ev");
    ASSERT_TRUE(load && count && point && done && make && calculate && name && points && destroy);

    ASSERT_EQ(load(const_cast<char*>(FLODWAVE_SAMPLE_DIR)), 0);
    ASSERT_EQ(count(), 9);
    IndexFileStruct bergen{};
    for (int i = 0; i < count(); ++i) {
        IndexFileStruct p{};
        ASSERT_EQ(point(i, &p), 0);
        EXPECT_EQ(p.number, i + 1) << "port-number order";
        if (p.number == 1) bergen = p;
    }
    EXPECT_EQ(bergen.lat, 3624);
    EXPECT_EQ(bergen.lon, 319);

    alignas(TideWave) unsigned char storage[sizeof(TideWave)];
    make(storage, bergen.lat, bergen.lon, nullptr, nullptr);
    ASSERT_EQ(calculate(storage, 0.3, 21, 6, 2026), 0);
    char text[81];
    name(storage, text);
    EXPECT_STREQ(text, "Bergen");
    EXPECT_EQ(points(storage), 81);
    destroy(storage);
    done();
    EXPECT_EQ(count(), 0);
}

TEST(FlodwaveLibrary, SampleFilesAreWhatTheWriterMakesOfTheirText) {
    const std::string sample = FLODWAVE_SAMPLE_DIR;
    std::ifstream text(sample + "/ports.txt", std::ios::binary);
    std::vector<tidetools::TidePort> ports;
    ASSERT_EQ(tidetools::readTidePortText(text, ports), "");
    ASSERT_EQ(ports.size(), 9u);
    EXPECT_EQ(ports[0].name, "Bergen");
    EXPECT_EQ(ports[2].name, "M\xE5l\xF8y") << "names stay Windows-1252 bytes";
    ScratchDir dir;
    write(dir.path(), ports);
    for (const char* file : {"td_num.ntx", "td_crd.ntx", "td_pnte.dat"})
        EXPECT_EQ(slurp(dir.path() + "/" + file), slurp(sample + "/" + file)) << file;
}

TEST(TideFileText, BadLinesAreReportedWithTheirNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"29 10 10\n", "line 1: constituent before the first port"},
        {"port 1 10 10 0 A\n69 0 1\n", "line 2: row, phase lag or amplitude out of range"},
        {"port 1 10 10 0 A\n29 3600 1\n", "line 2: row, phase lag or amplitude out of range"},
        {"port 1 10 10 0 A\n29 0 1 7\n", "line 2: expected <row> <phase lag> <amplitude>"},
        {"# c\nport 1 5401 10 0 A\n", "line 2: port number, position or zone out of range"},
        {"port 1 10 10 0\n", "line 1: port name missing or longer than 39 bytes"},
        {"port 1 10 10 0 A\n29 0 1 # M2\n", ""},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        std::vector<tidetools::TidePort> ports;
        EXPECT_EQ(tidetools::readTidePortText(in, ports), c.error) << c.text;
    }
}

TEST(FlodwaveUtility, ErrorRoutineEndsTheProcessWithCodeOne) {
    EXPECT_EXIT(reportError("bad %d", 1), ::testing::ExitedWithCode(1), "");
}
