// Our exchange library, loaded by the processes that use it: two processes
// find one segment by its name and never see half of a record; lengths beyond
// the record are cut; the program finds the library by its Windows name.
#include "ExchangeTestSupport.h"
#include "d5arer/D5arer.h"
#include "d5arer/ExchangeSegment.h"

#include "os/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using namespace exchangetest;

// The entry points of one loaded copy of the library.
struct Entry {
    os::DynamicLibrary library;
    TPutRecFn putRec = nullptr;
    TGetRecFn getRec = nullptr;
    TPutStatFn putA = nullptr, putB = nullptr, putC = nullptr;
    TGetStatFn getA = nullptr, getB = nullptr, getC = nullptr;

    bool load() {
        if (!library.load(D5ARER_LIBRARY)) return false;
        putRec = reinterpret_cast<TPutRecFn>(library.symbol("_tPutRec"));
        getRec = reinterpret_cast<TGetRecFn>(library.symbol("_tGetRec"));
        putA = reinterpret_cast<TPutStatFn>(library.symbol("_tPutStatA"));
        putB = reinterpret_cast<TPutStatFn>(library.symbol("_tPutStatB"));
        putC = reinterpret_cast<TPutStatFn>(library.symbol("_tPutStatC"));
        getA = reinterpret_cast<TGetStatFn>(library.symbol("_tGetStatA"));
        getB = reinterpret_cast<TGetStatFn>(library.symbol("_tGetStatB"));
        getC = reinterpret_cast<TGetStatFn>(library.symbol("_tGetStatC"));
        return putRec && getRec && putA && putB && putC && getA && getB && getC;
    }
};

using Pattern = std::array<std::uint8_t, 128>;
Pattern pattern(int k) {
    Pattern p;
    for (int i = 0; i < 128; ++i)
        p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(k * 101 + i * 7);
    return p;
}

// A runtime folder of the test's own, so the segment's name is the test's own.
class ExchangeLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* r = std::getenv("XDG_RUNTIME_DIR");
        oldRuntime = r ? r : "";
        setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
        segment = d5arer::exchangeSegmentName();
        ::shm_unlink(segment.c_str());
    }
    void TearDown() override {
        ::shm_unlink(segment.c_str());
        if (oldRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }

    TempCurrentFolder folder;
    std::string oldRuntime, segment;
};

TEST_F(ExchangeLibrary, TwoProcessesShareWholeRecordsAndWords) {
    // Each process loads the library itself, after the fork, and finds the
    // segment by its name.
    const pid_t reader = ::fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        Entry e;
        if (!e.load()) ::_exit(2);
        while (e.getB() != 1) // the writer's first pattern is in
            ::usleep(100);
        const Pattern a = pattern(1), b = pattern(2);
        int torn = 0;
        for (int i = 0; i < 10000; ++i) {
            Pattern got;
            e.getRec(got.data(), 128);
            if (got != a && got != b) ++torn;
            const std::uint32_t w = e.getA();
            if (w != 0x12345678u && w != 0x9ABCDEF0u) ++torn;
        }
        e.putC(1); // done
        ::_exit(torn == 0 ? 0 : 1);
    }

    Entry e;
    ASSERT_TRUE(e.load());
    const Pattern a = pattern(1), b = pattern(2);
    e.putC(0);
    e.putRec(a.data(), 128);
    e.putA(0x12345678u);
    e.putB(1);
    long writes = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    pid_t ended = 0;
    while (e.getC() != 1 && std::chrono::steady_clock::now() < end &&
           (ended = ::waitpid(reader, &status, WNOHANG)) == 0) {
        e.putRec((writes & 1 ? a : b).data(), 128);
        e.putA(writes & 1 ? 0x12345678u : 0x9ABCDEF0u);
        ++writes;
    }
    if (ended == 0) ended = ::waitpid(reader, &status, 0);
    ASSERT_EQ(ended, reader);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a read saw a mix of two patterns; 2: no library";
    EXPECT_GT(writes, 0);

    // One segment of this user's own, readable by nobody else.
    struct stat st {};
    ASSERT_EQ(::stat(("/dev/shm" + segment).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_uid, ::geteuid());
}

TEST_F(ExchangeLibrary, LengthsBeyondTheRecordAreCut) {
    Entry e;
    ASSERT_TRUE(e.load());
    std::array<std::uint8_t, 200> in;
    in.fill(0xEE);
    const Pattern p = pattern(3);
    std::copy(p.begin(), p.end(), in.begin());
    e.putRec(in.data(), 200);

    std::array<std::uint8_t, 200> out;
    out.fill(0x11);
    e.getRec(out.data(), 200);
    EXPECT_TRUE(std::equal(p.begin(), p.end(), out.begin()));
    for (std::size_t i = 128; i < 200; ++i)
        ASSERT_EQ(out[i], 0) << "byte " << i;

    // A short read fills only its own length; a short write changes only its
    // own bytes; nothing at all for no record or no length.
    out.fill(0x11);
    e.getRec(out.data(), 4);
    EXPECT_TRUE(std::equal(p.begin(), p.begin() + 4, out.begin()));
    EXPECT_EQ(out[4], 0x11);
    const std::uint8_t four[4] = {1, 2, 3, 4};
    e.putRec(four, 4);
    e.putRec(nullptr, 50);
    e.putRec(in.data(), -1);
    e.getRec(out.data(), 0);
    e.getRec(out.data(), 128);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[3], 4);
    EXPECT_TRUE(std::equal(p.begin() + 4, p.end(), out.begin() + 4));
}

// The program finds "D5ARER.DLL" as libD5ARER.so beside it and puts the start
// record into the shared segment.
TEST_F(ExchangeLibrary, TheProgramLoadsItByItsName) {
    ASSERT_TRUE(LoadViewerExchange());
    Entry e;
    ASSERT_TRUE(e.load());
    std::uint8_t r[128];
    e.getRec(r, 128);
    EXPECT_EQ(field(r, exchangeRecord::PictureWidth), 800);
    EXPECT_EQ(field(r, exchangeRecord::StartMark), 1);
    SetViewerIllumination(3);
    EXPECT_EQ(e.getB(), viewerStatus::SchemeChanged);
    e.getRec(r, 128);
    EXPECT_EQ(field(r, exchangeRecord::Illumination), 13);
    UnloadViewerExchange();
}

} // namespace
