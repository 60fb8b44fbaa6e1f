// The program's side of the exchange, against a fake exchange library that
// records every call: binding, the start record, the update, command 132, the
// timer's step and the illumination change, with a fake "Vistrel" on a test
// PATH.
#include "ExchangeTestSupport.h"
#include "fake/FakeExchange.h"

#include "os/Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <dlfcn.h>
#include <functional>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace exchangetest;
using namespace exchangeRecord;
using Button = ViewerExchangeRequests::Button;

struct VectorReference {
    std::int32_t lon, lat;
    double course, speed;
    int minutes;
    double lon2, lat2;
};
#include "reference/vector_reference.inc"

bool waitFor(const std::function<bool()>& done, double seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The fake library, opened by the test as well, so that its state outlives
// the exchange's unloading.
class Fake {
  public:
    explicit Fake(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_)
            state_ =
                reinterpret_cast<FakeExchangeStateFn>(::dlsym(handle_, "FakeExchange_State"))();
    }
    ~Fake() {
        if (handle_) ::dlclose(handle_);
    }
    Fake(const Fake&) = delete;
    Fake& operator=(const Fake&) = delete;
    FakeExchangeState* operator->() const { return state_; }
    FakeExchangeState& operator*() const { return *state_; }

  private:
    void* handle_;
    FakeExchangeState* state_ = nullptr;
};

class ViewerExchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(&*fake, nullptr);
        fake->reset();
        const char* path = std::getenv("PATH");
        oldPath = path ? path : "";
        std::filesystem::create_directory(folder / "bin");
        setenv("PATH", (folder / "bin").c_str(), 1);
        ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
    }
    void TearDown() override {
        if (ViewerProcess().running()) ViewerProcess().terminate(0);
        UnloadViewerExchange();
        setenv("PATH", oldPath.c_str(), 1);
    }

    // A fake viewer on the test PATH: it notes its start in the current folder
    // and then waits, or ends at once.
    void installViewer(bool stays = true) {
        const std::string path = folder / "bin/Vistrel";
        std::ofstream(path) << "#!/bin/sh\necho started >> vistrel-started\n"
                            << (stays ? "exec /bin/sleep 60\n" : "exit 0\n");
        ::chmod(path.c_str(), 0755);
    }
    // Puts a recognisable byte everywhere in the fake's record.
    void fillRecord(std::uint8_t b = 0x5A) { std::memset(fake->record, b, sizeof fake->record); }
    std::vector<std::uint8_t> record() const {
        return std::vector<std::uint8_t>(fake->record, fake->record + 128);
    }

    ViewerExchangeInput input(int detailWord = 5) const {
        ViewerExchangeInput in;
        in.clientWidth = 640;
        in.clientHeight = 480;
        in.view = GeoRect{deg2nrm(5.0), deg2nrm(60.0), deg2nrm(5.5), deg2nrm(60.25)};
        in.levelIndex = detailWord - 1;
        in.levelScale = 50000;
        in.detailWord = detailWord;
        in.ownShip = GeoPoint{deg2nrm(5.2), deg2nrm(60.1)};
        in.ownShipClient = Point{320, 240};
        in.fixSeen = true;
        in.course = 45;
        in.speed = 12;
        in.crsMinutes = 3;
        in.pictureCount = 1;
        return in;
    }
    // Starts the view (command 132 with the fake viewer) and clears the log.
    void startView(const ViewerExchangeInput& in) {
        installViewer();
        ASSERT_EQ(Run3DViewCommand(in).button132, Button::Down);
        ASSERT_TRUE(Is3DViewRunning());
        fake->calls.clear();
    }

    Fake fake{FAKE_EXCHANGE_LIBRARY};
    TempCurrentFolder folder;
    std::string oldPath;
};

TEST_F(ViewerExchangeTest, BindsAllOrNone) {
    EXPECT_TRUE(IsViewerExchangeLoaded());
    UnloadViewerExchange();
    {
        Fake partial(FAKE_EXCHANGE_PARTIAL);
        partial->reset();
        EXPECT_FALSE(LoadViewerExchange(FAKE_EXCHANGE_PARTIAL));
        EXPECT_TRUE(partial->calls.empty());
    }
    EXPECT_FALSE(IsViewerExchangeLoaded());
    EXPECT_FALSE(LoadViewerExchange(folder / "libNoSuchExchange.so"));
    EXPECT_FALSE(IsViewerExchangeLoaded());

    // Without the library nothing happens, whatever is asked.
    installViewer();
    EXPECT_FALSE(Is3DViewAvailable());
    fake->reset();
    const ViewerExchangeRequests r = Run3DViewCommand(input());
    EXPECT_EQ(r.button132, Button::Unchanged);
    EXPECT_FALSE(Is3DViewRunning());
    ViewerExchangeTimerStep(input());
    SetViewerIllumination(2);
    UpdateViewerExchange(input(), true);
    EXPECT_TRUE(fake->calls.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "vistrel-started"));
}

TEST_F(ViewerExchangeTest, AvailableWithAViewerOnThePath) {
    EXPECT_FALSE(Is3DViewAvailable());
    installViewer();
    EXPECT_TRUE(Is3DViewAvailable());
}

TEST_F(ViewerExchangeTest, StartRecordAndZeroStatusWords) {
    fake->reset();
    fake->words[0] = fake->words[1] = fake->words[2] = 0xFFFF;
    ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
    const auto puts = fake->named("PutRec");
    ASSERT_EQ(puts.size(), 1u);
    EXPECT_EQ(puts[0].length, FullLength);
    const struct {
        int offset;
        std::int32_t value;
    } fields[] = {
        {PictureWidth, 800},
        {PictureHeight, 600},
        {ExtentX, 800000},
        {ExtentY, 600000},
        {ShipX, -1},
        {ShipY, -1},
        {VectorX, -1},
        {VectorY, -1},
        {32, 0},
        {Zero36, 0},
        {Zero40, 0},
        {Value44, 750},
        {Zero48, 0},
        {Illumination, 1},
        {Value56, 2},
        {Value60, 1},
        {Flags, 0x1C0},
        {68, 0},
        {UpdateMark, 1},
        {StartMark, 1},
        {80, 0},
        {92, 0},
    };
    for (const auto& f : fields)
        EXPECT_EQ(field(puts[0].bytes, f.offset), f.value) << "offset " << f.offset;
    EXPECT_EQ(fake->words[0], 0u);
    EXPECT_EQ(fake->words[1], 0u);
    EXPECT_EQ(fake->words[2], 0u);
}

TEST_F(ViewerExchangeTest, UpdateWithAndWithoutTheSize) {
    ViewerExchangeInput in = input();
    in.database = nullptr; // an export of no points still sets the reference
    ASSERT_EQ(ExportClip3D(in.view, in.levelIndex, in), 0);
    const GeoPoint origin{in.view.lon1, in.view.lat1};

    fillRecord();
    fake->calls.clear();
    in.following = true;
    in.paletteScheme = 2;
    UpdateViewerExchange(in, false);
    std::vector<std::string> names;
    for (const FakeExchangeCall& c : fake->calls)
        names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"GetStatC", "GetStatC", "PutStatC", "GetRec",
                                               "PutRec", "GetStatC", "PutStatC"}));
    ASSERT_EQ(fake->named("GetRec").at(0).length, FullLength);
    const FakeExchangeCall put = fake->named("PutRec").at(0);
    EXPECT_EQ(put.length, FullLength);
    EXPECT_EQ(put.statC, 0x1u); // written with C 0x1 held
    EXPECT_EQ(fake->words[2], 0u);
    const std::vector<std::uint8_t> r = record();
    for (int offset : {PictureWidth, PictureHeight, ExtentX, ExtentY, 32, 68, StartMark})
        EXPECT_EQ(static_cast<std::uint32_t>(field(r, offset)), 0x5A5A5A5Au) << offset;
    for (int offset : {ShipX, ShipY, VectorX, VectorY}) // the view is not running
        EXPECT_EQ(field(r, offset), -1) << offset;
    EXPECT_EQ(field(r, Illumination), 9);
    EXPECT_EQ(field(r, Flags), 0x1C0);
    EXPECT_EQ(field(r, UpdateMark), 1);
    EXPECT_EQ(field(r, Value44), 750);
    EXPECT_EQ(r[100], 0x5A);

    in.following = false;
    UpdateViewerExchange(in, true);
    const std::vector<std::uint8_t> sized = record();
    EXPECT_EQ(field(sized, PictureWidth), 640);
    EXPECT_EQ(field(sized, PictureHeight), 480);
    const auto [ex, ey] = exchangeOf(GeoPoint{in.view.lon2, in.view.lat2}, origin);
    EXPECT_EQ(field(sized, ExtentX), ex);
    EXPECT_EQ(field(sized, ExtentY), ey);
    EXPECT_EQ(field(sized, Flags), 0xC0);

    // While the viewer holds the record, nothing is read or written.
    fake->calls.clear();
    fake->words[2] = 0x2;
    UpdateViewerExchange(in, true);
    EXPECT_TRUE(fake->named("GetRec").empty());
    EXPECT_TRUE(fake->named("PutRec").empty());
    EXPECT_EQ(fake->words[2], 0x2u);
}

// Own ship and the end of its course vector while the view runs, against
// GeographicLib's direct problem.
TEST_F(ViewerExchangeTest, OwnShipAndCourseVector) {
    startView(input());
    for (const VectorReference& v : vectorReferences) {
        SCOPED_TRACE(v.course);
        ViewerExchangeInput in = input();
        const auto tenth = static_cast<std::uint32_t>(deg2nrm(0.1));
        const auto lon = static_cast<std::uint32_t>(v.lon);
        in.view = GeoRect{static_cast<std::int32_t>(lon - tenth), v.lat - deg2nrm(0.1),
                          static_cast<std::int32_t>(lon + tenth), v.lat + deg2nrm(0.1)};
        ASSERT_EQ(ExportClip3D(in.view, in.levelIndex, in), 0);
        const GeoPoint origin{in.view.lon1, in.view.lat1};
        in.ownShip = GeoPoint{v.lon, v.lat};
        in.course = v.course;
        in.speed = v.speed;
        in.crsMinutes = v.minutes;
        UpdateViewerExchange(in, false);
        const std::vector<std::uint8_t> r = record();
        const auto [sx, sy] = exchangeOf(in.ownShip, origin);
        EXPECT_NEAR(field(r, ShipX), sx, 1);
        EXPECT_EQ(field(r, ShipY), sy);
        const double perDegree = 4294967296.0 / 360;
        const double c = std::cos(origin.lat / perDegree * M_PI / 180);
        const double lon2 = (origin.lon + field(r, VectorX) / c) / perDegree;
        const double lat2 = (origin.lat + field(r, VectorY)) / perDegree;
        EXPECT_NEAR(std::remainder(lon2 - v.lon2, 360.0), 0, 1e-4);
        EXPECT_NEAR(lat2, v.lat2, 1e-4);
    }
    // Without a fix own ship is not shown.
    ViewerExchangeInput noFix = input();
    noFix.fixSeen = false;
    UpdateViewerExchange(noFix, false);
    for (int offset : {ShipX, ShipY, VectorX, VectorY})
        EXPECT_EQ(field(record(), offset), -1) << offset;
}

TEST_F(ViewerExchangeTest, Command132StartsAndStopsTheView) {
    installViewer();
    fake->words[0] = 0x1200; // a close request left over, and a bit of the viewer's
    const ViewerExchangeInput in = input();
    ViewerExchangeRequests r = Run3DViewCommand(in);
    EXPECT_EQ(r.button132, Button::Down);
    EXPECT_TRUE(Is3DViewRunning());
    EXPECT_FALSE(r.recentre);
    // Only the close request is cleared (bits above 0xFFF are kept); the
    // export announced itself.
    EXPECT_EQ(fake->words[0], 0x1001u);
    EXPECT_TRUE(std::filesystem::exists(folder / "Clip3D.vtk"));
    EXPECT_TRUE(waitFor([&] { return std::filesystem::exists(folder / "vistrel-started"); }));
    EXPECT_TRUE(ViewerProcess().running());

    fake->calls.clear();
    r = Run3DViewCommand(in);
    EXPECT_EQ(r.button132, Button::Up);
    EXPECT_FALSE(Is3DViewRunning());
    EXPECT_EQ(fake->words[0], 0x1201u);
    ASSERT_EQ(fake->named("GetRec").size(), 1u);
    EXPECT_EQ(fake->named("GetRec")[0].length, FullLength);
    EXPECT_TRUE(fake->named("PutRec").empty());
}

TEST_F(ViewerExchangeTest, Command132ExportsOnlyWithoutReliefAboveDetailWord2) {
    installViewer();
    const struct {
        bool relief;
        int detailWord;
        bool exported;
    } cases[] = {{false, 3, true}, {false, 2, false}, {true, 3, false}, {true, 5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.relief << " " << c.detailWord);
        UnloadViewerExchange();
        ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
        if (ViewerProcess().running()) ViewerProcess().terminate(0);
        std::filesystem::remove(folder / "Clip3D.vtk");
        fake->calls.clear();
        ViewerExchangeInput in = input(c.detailWord);
        in.reliefSwitch = c.relief;
        Run3DViewCommand(in);
        EXPECT_EQ(std::filesystem::exists(folder / "Clip3D.vtk"), c.exported);
        EXPECT_EQ((fake->words[0] & viewerStatus::ExportReady) != 0, c.exported);
        // With the relief shown, the update without the size goes first.
        const auto puts = fake->named("PutRec");
        EXPECT_EQ(puts.size(), c.relief || c.exported ? 1u : 0u);
    }
}

TEST_F(ViewerExchangeTest, Command132AsksForARecentreOnWesterlyCourses) {
    installViewer();
    const struct {
        bool following;
        double course;
        bool recentre;
    } cases[] = {{true, 200, true},   {true, 150, false}, {false, 200, false}, {true, 190, false},
                 {true, 190.5, true}, {true, 299, true},  {true, 300, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.course);
        UnloadViewerExchange();
        ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
        if (ViewerProcess().running()) ViewerProcess().terminate(0);
        ViewerExchangeInput in = input();
        in.following = c.following;
        in.course = c.course;
        EXPECT_EQ(Run3DViewCommand(in).recentre, c.recentre);
    }
}

TEST_F(ViewerExchangeTest, TimerClearsTheFlagWhenTheViewerEnds) {
    installViewer(false);
    ASSERT_EQ(Run3DViewCommand(input()).button132, Button::Down);
    ASSERT_TRUE(waitFor([] { return !ViewerProcess().running(); }));
    const ViewerExchangeRequests r = ViewerExchangeTimerStep(input());
    EXPECT_EQ(r.button132, Button::Up);
    EXPECT_FALSE(Is3DViewRunning());
    EXPECT_EQ(ViewerExchangeTimerStep(input()).button132, Button::Unchanged);
}

TEST_F(ViewerExchangeTest, TimerExportsOncePerPicture) {
    const struct {
        bool relief;
        int detailWord;
        unsigned long picture;
        bool exported;
    } steps[] = {
        {true, 3, 1, true},   {true, 3, 1, false}, // the same picture
        {true, 3, 2, true},   {true, 2, 3, false}, // detail word 2
        {false, 5, 4, false},                      // no relief, no view
        {true, 5, 4, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.picture);
        fake->words[0] = 0;
        ViewerExchangeInput in = input(s.detailWord);
        in.reliefSwitch = s.relief;
        in.pictureCount = s.picture;
        ViewerExchangeTimerStep(in);
        EXPECT_EQ(fake->words[0] & viewerStatus::ExportReady, s.exported ? 1u : 0u);
    }
    // While the view runs, the export goes on without the relief.
    startView(input());
    fake->words[0] = 0;
    ViewerExchangeInput in = input();
    in.pictureCount = 7;
    ViewerExchangeTimerStep(in);
    EXPECT_EQ(fake->words[0] & viewerStatus::ExportReady, 1u);
}

TEST_F(ViewerExchangeTest, TimerTakesTheReliefPicture) {
    const struct {
        int detailWord;
        bool ready;
    } cases[] = {{3, true}, {2, false}};
    for (const auto& c : cases) {
        fake->words[1] = 0x108;
        const ViewerExchangeRequests r = ViewerExchangeTimerStep(input(c.detailWord));
        EXPECT_EQ(fake->words[1], 0x8u);
        EXPECT_EQ(r.reliefReady, c.ready);
        EXPECT_EQ(r.redraw, c.ready);
    }
    const ViewerExchangeRequests none = ViewerExchangeTimerStep(input());
    EXPECT_FALSE(none.reliefReady || none.redraw);
}

TEST_F(ViewerExchangeTest, TimerWritesOwnShip) {
    ViewerExchangeInput in = input();
    in.reliefSwitch = true;
    startView(in);
    ViewerExchangeTimerStep(in); // the export of this picture
    fillRecord();
    fake->calls.clear();
    fake->words[0] = 0;

    ViewerExchangeTimerStep(in);
    ASSERT_EQ(fake->named("GetRec").size(), 1u);
    EXPECT_EQ(fake->named("GetRec")[0].length, OwnShipReadLength);
    ASSERT_EQ(fake->named("PutRec").size(), 1u);
    EXPECT_EQ(fake->named("PutRec")[0].length, OwnShipWriteLength);
    EXPECT_EQ(fake->named("PutRec")[0].statC, 0x1u);
    EXPECT_EQ(fake->words[2], 0u);
    EXPECT_EQ(fake->words[0], viewerStatus::OwnShipReady);
    const std::vector<std::uint8_t> r = record();
    const auto [sx, sy] = exchangeOf(in.ownShip, GeoPoint{in.view.lon1, in.view.lat1});
    EXPECT_NEAR(field(r, ShipX), sx, 1);
    EXPECT_EQ(field(r, ShipY), sy);
    EXPECT_GT(field(r, VectorY), sy); // north-east
    for (int i = 32; i < 128; ++i)
        ASSERT_EQ(r[static_cast<std::size_t>(i)], 0x5A) << "byte " << i;
    EXPECT_EQ(static_cast<std::uint32_t>(field(r, PictureWidth)), 0x5A5A5A5Au);

    // Own ship leaves the window: -1 once, then nothing until it is back.
    const struct {
        Point client;
        bool written;
        std::int32_t x;
    } steps[] = {
        {{-1, 240}, true, -1},  {{-1, 240}, false, 0},
        {{700, 100}, false, 0}, {{320, 479}, true, static_cast<std::int32_t>(sx)},
        {{320, 480}, true, -1}, {{320, 480}, false, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << s.client.x << "," << s.client.y);
        fake->calls.clear();
        in.ownShipClient = s.client;
        ViewerExchangeTimerStep(in);
        ASSERT_EQ(fake->named("PutRec").size(), s.written ? 1u : 0u);
        if (s.written) {
            EXPECT_NEAR(field(record(), ShipX), s.x, 1);
        }
    }

    // Nothing while the viewer holds the record, or without the relief.
    in.ownShipClient = Point{320, 240};
    fake->words[2] = 0x2;
    fake->calls.clear();
    ViewerExchangeTimerStep(in);
    EXPECT_TRUE(fake->named("PutRec").empty());
    fake->words[2] = 0;
    in.reliefSwitch = false;
    ViewerExchangeTimerStep(in);
    EXPECT_TRUE(fake->named("PutRec").empty());
}

TEST_F(ViewerExchangeTest, Illumination) {
    for (int level = 0; level < 4; ++level) {
        fillRecord();
        fake->calls.clear();
        fake->words[1] = 0x100;
        SetViewerIllumination(level);
        ASSERT_EQ(fake->named("GetRec").size(), 1u);
        EXPECT_EQ(fake->named("GetRec")[0].length, SchemeLength);
        const auto puts = fake->named("PutRec");
        ASSERT_EQ(puts.size(), 1u);
        EXPECT_EQ(puts[0].length, SchemeLength);
        EXPECT_EQ(puts[0].statC, 0x1u);
        EXPECT_EQ(field(record(), Illumination), level * 4 + 1);
        EXPECT_EQ(static_cast<std::uint32_t>(field(record(), Zero48)), 0x5A5A5A5Au);
        EXPECT_EQ(fake->words[2], 0u);
        EXPECT_EQ(fake->words[1], 0x108u);
    }
    fillRecord();
    fake->calls.clear();
    fake->words[1] = 0;
    fake->words[2] = 0x2;
    SetViewerIllumination(3);
    EXPECT_TRUE(fake->named("GetRec").empty());
    EXPECT_TRUE(fake->named("PutRec").empty());
    EXPECT_EQ(fake->words[2], 0x2u);
    EXPECT_EQ(fake->words[1], 0x8u);
}

} // namespace
