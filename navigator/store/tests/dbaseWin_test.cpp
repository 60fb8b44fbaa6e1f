// The store's operations on an open store: the next free id, writing points,
// deleting objects, the order of the keys, compaction, and everything written
// read back by a store made again.
#include "storeTestSupport.h"

#include "app/ViewerSettings.h"

#include <map>
#include <memory>
#include <tuple>

namespace {

using namespace storetest;

// A store on an empty set of files in a folder of its own.
class OpenStore : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeEmptyStore(folder_.path());
        store_ = std::make_unique<DbaseWin>(nullptr, StoreFileBasesIn(folder_.path()));
        ASSERT_FALSE(store_->Failed());
    }
    DbaseWin& store() { return *store_; }
    const TempFolder& folder() const { return folder_; }
    void closeStore() { store_.reset(); }

  private:
    TempFolder folder_;
    std::unique_ptr<DbaseWin> store_;
};

// ---- The window ----------------------------------------------------------------

// The chart window owns the store: its set-up never makes the store a window,
// and deleting it closes the store's files.
TEST(StoreWindow, IsNeverMadeAndGoesWithItsOwner) {
    TempFolder folder;
    MakeEmptyStore(folder.path());
    TViewerSettings& settings = ViewerSettings();
    const TViewerSettings saved = settings;
    settings.idFile = folder / "id";
    settings.pointFile = folder / "point";
    settings.infoFile = folder / "info";
    auto owner = std::make_unique<ui::TWindow>(nullptr, "owner");
    auto* store = new DbaseWin(owner.get()); // the start-up's bases
    settings = saved;
    EXPECT_EQ(store->Bases().point, folder / "point");
    ASSERT_FALSE(store->Failed());
    ASSERT_TRUE(owner->Create());
    EXPECT_FALSE(store->IsWindow());
    WritePoint(*store, Point(3, 1));
    EXPECT_TRUE(std::filesystem::exists(folder / "POINT.DAT-wal"));
    owner.reset();
    EXPECT_EQ(FolderNames(folder.path()), kSixFiles);
    DbaseWin again(nullptr, StoreFileBasesIn(folder.path()));
    EXPECT_EQ(ReadStore().points, std::vector<PointRecord>{Point(3, 1)});
}

// ---- NextFreeObjectId -----------------------------------------------------------

struct NextIdCase {
    std::vector<std::int32_t> used;
    std::int32_t next;
};
class NextFreeId : public OpenStore, public ::testing::WithParamInterface<NextIdCase> {};

TEST_P(NextFreeId, IsTheSmallestFreeIdButNever2) {
    const auto& [used, next] = GetParam();
    for (std::int32_t id : used) // symbols and routes alike: key 3 is the id alone
        AddObject(Object(id % 2 ? kKindSymbol : kKindRoute, id, id, -id));
    EXPECT_EQ(store().NextFreeObjectId(), next);
}

INSTANTIATE_TEST_SUITE_P(Rows, NextFreeId,
                         ::testing::Values(NextIdCase{{}, 1}, NextIdCase{{1}, 3},
                                           NextIdCase{{1, 3}, 4}, NextIdCase{{3}, 1},
                                           NextIdCase{{1, 3, 4, 5}, 6},
                                           NextIdCase{{1, 3, 4, 6, 7}, 5}, NextIdCase{{1, 2}, 3}));

// ---- WritePointRecord -----------------------------------------------------------

TEST_F(OpenStore, WritingAPointTwiceRewritesIt) {
    PointRecord first = Point(7, 3, 36000000, 3000000);
    first.speed = 55;
    first.reserved = {1, 2, 3, 4, 5, 6};
    WritePoint(store(), first);
    WritePoint(store(), Point(7, 4)); // a neighbour that must stay as it is

    PointRecord moved = Point(7, 3, -1, -2);
    moved.time = 4102444800; // after 2038
    moved.depth = 123;
    moved.depthScale = 1;
    WritePoint(store(), moved);

    const StoreContent c = ReadStore();
    ASSERT_EQ(c.points.size(), 2u);
    EXPECT_EQ(c.points[0], moved);
    EXPECT_EQ(c.points[1], Point(7, 4));
    PointBytes raw;
    ASSERT_EQ(isam::EQLREC(kPointKey, PointKey(7, 3).data(), raw.data()), 0);
    EXPECT_EQ(raw[36], 0);
    EXPECT_EQ(raw[37], 0);
}

// ---- DeleteObject ---------------------------------------------------------------

// Two routes, a track and a symbol, with points and texts; ids 3 and 4 are
// neighbours in the POINT and INFO keys.
class DeleteFixture : public OpenStore {
  protected:
    void SetUp() override {
        OpenStore::SetUp();
        if (HasFatalFailure()) return;
        AddObject(Object(kKindTrack, 1, 100, 100));
        AddObject(Object(kKindRoute, 3, 200, 200));
        AddObject(Object(kKindRoute, 4, 300, 300));
        AddObject(Object(kKindSymbol, 5, 400, 400));
        for (std::uint16_t n = 1; n <= 30; ++n)
            WritePoint(store(), Point(1, n));
        for (std::uint16_t n = 0; n <= 6; ++n) // from number 0 on
            WritePoint(store(), Point(3, n));
        for (std::uint16_t n = 1; n <= 4; ++n)
            WritePoint(store(), Point(4, n));
        WritePoint(store(), Point(5, 65535)); // a stray point of the symbol's id
        AddText(InfoRecord{1, 0, "spor"});
        AddText(InfoRecord{3, 0, "rute tre"});
        AddText(InfoRecord{3, 1, "mer"});
        AddText(InfoRecord{4, 0, "rute fire"});
    }

    // ID records, points and texts of each id.
    using Counts = std::map<std::int32_t, std::array<int, 3>>;
    static Counts counts() {
        Counts c;
        const StoreContent s = ReadStore();
        for (const auto& r : s.objects)
            ++c[r.id][0];
        for (const auto& p : s.points)
            ++c[p.id][1];
        for (const auto& t : s.texts)
            ++c[t.id][2];
        return c;
    }
};

TEST_F(DeleteFixture, DeletesTheObjectItsPointsAndItsTextsOnly) {
    const Counts before = counts();
    ASSERT_EQ(before.at(3), (std::array<int, 3>{1, 7, 2}));
    EXPECT_EQ(store().DeleteObject(kKindRoute, 3), 0);
    Counts expected = before;
    expected.erase(3);
    EXPECT_EQ(counts(), expected);
    EXPECT_EQ(store().NextFreeObjectId(), 3);
}

TEST_F(DeleteFixture, TheWrongKindOrAMissingIdChangesNothing) {
    const StoreContent before = ReadStore();
    const std::vector<std::pair<int, std::int32_t>> rows{
        {kKindTrack, 3}, {kKindSymbol, 4}, {kKindRoute, 99}, {kKindRoute, 2}, {70000, 3}, {-1, 3}};
    for (auto [kind, id] : rows) {
        EXPECT_EQ(store().DeleteObject(kind, id), isam::kNotFound) << kind << "/" << id;
        EXPECT_EQ(ReadStore(), before) << kind << "/" << id;
    }
}

// A delete cut short (here: the POINT file gone from under the store) leaves
// the object's ID record, so its id is never handed to a new object that would
// inherit the points left behind.
TEST_F(DeleteFixture, ACutShortDeleteKeepsTheObject) {
    const auto point = PointFileDescription(StoreFileBasesIn(folder().path()).point);
    ASSERT_EQ(isam::CLIFIL(point), 0);
    EXPECT_NE(store().DeleteObject(kKindRoute, 3), 0);
    ASSERT_EQ(isam::OPNIFIL(point), 0);
    EXPECT_EQ(counts().at(3), (std::array<int, 3>{1, 7, 2}));
    EXPECT_EQ(store().NextFreeObjectId(), 6);
}

// ---- Key order ------------------------------------------------------------------

TEST_F(OpenStore, WalksComeInNumericOrder) {
    // Anchors south and west of the origin, and ids past 32767 and 65535.
    const std::vector<IdRecord> objects{
        Object(kKindTrack, 70000, 5, 5),       Object(kKindRoute, 3, -54000000, 1),
        Object(kKindRoute, 4, -1, -108000000), Object(kKindRoute, 40000, -1, 0),
        Object(kKindRoute, 5, 0, -1),          Object(kKindRoute, 6, 54000000, -2),
        Object(kKindSymbol, 1, 0, 0),
    };
    for (const IdRecord& r : objects)
        AddObject(r);
    auto walkIds = [](int key, auto lowest) {
        std::vector<std::int32_t> ids;
        IdBytes r;
        for (int e = isam::GTEREC(key, lowest.data(), r.data()); e == 0;
             e = isam::NXTREC(key, r.data()))
            ids.push_back(IdRecord::Decode(r).id);
        return ids;
    };
    // Key 1: kind, then id.
    EXPECT_EQ(walkIds(kIdKindKey, IdKindKey(0, INT32_MIN)),
              (std::vector<std::int32_t>{70000, 3, 4, 5, 6, 40000, 1}));
    // Key 2: kind, then latitude (negative first), then longitude.
    EXPECT_EQ(walkIds(kIdPositionKey, IdPositionKey(0, INT32_MIN, INT32_MIN)),
              (std::vector<std::int32_t>{70000, 3, 4, 40000, 5, 6, 1}));
    // Key 3: the id.
    EXPECT_EQ(walkIds(kIdKey, IdKey(INT32_MIN)),
              (std::vector<std::int32_t>{1, 3, 4, 5, 6, 40000, 70000}));
    // The routes of the southern hemisphere, from the equator down: LTEREC and PRVREC.
    std::vector<std::int32_t> south;
    IdBytes r;
    for (int e = isam::LTEREC(kIdPositionKey, IdPositionKey(kKindRoute, -1, INT32_MAX).data(),
                              r.data());
         e == 0 && IdRecord::Decode(r).kind == kKindRoute;
         e = isam::PRVREC(kIdPositionKey, r.data()))
        south.push_back(IdRecord::Decode(r).id);
    EXPECT_EQ(south, (std::vector<std::int32_t>{40000, 4, 3}));

    // Key 5: id, then the point number as an unsigned number.
    for (std::uint16_t n : {65535, 32768, 0, 32767, 1})
        WritePoint(store(), Point(40000, n));
    WritePoint(store(), Point(3, 65535));
    WritePoint(store(), Point(70000, 0));
    std::vector<std::pair<std::int32_t, int>> points;
    for (const PointRecord& p : ReadStore().points)
        points.emplace_back(p.id, p.number);
    EXPECT_EQ(points, (std::vector<std::pair<std::int32_t, int>>{{3, 65535},
                                                                 {40000, 0},
                                                                 {40000, 1},
                                                                 {40000, 32767},
                                                                 {40000, 32768},
                                                                 {40000, 65535},
                                                                 {70000, 0}}));

    // Key 7: id, then the text number.
    for (std::uint16_t n : {40000, 0, 1})
        AddText(InfoRecord{5, n, "x"});
    AddText(InfoRecord{4, 65535, "x"});
    std::vector<std::pair<std::int32_t, int>> texts;
    for (const InfoRecord& t : ReadStore().texts)
        texts.emplace_back(t.id, t.number);
    EXPECT_EQ(texts,
              (std::vector<std::pair<std::int32_t, int>>{{4, 65535}, {5, 0}, {5, 1}, {5, 40000}}));
}

// ---- Compact --------------------------------------------------------------------

// The store's file calls, recorded in order, with one close that fails.
struct CallLog {
    std::vector<std::string> calls;
    int failingClose = -1; // data file number

    DbaseWin::FileCalls fileCalls() {
        DbaseWin::FileCalls c;
        auto named = [this](const char* step, auto call) {
            return [this, step, call](const isam::FileDescription& d) {
                calls.push_back(std::string(step) + " " + std::to_string(d.dataFileNumber));
                const int e = call(d);
                return d.dataFileNumber == failingClose && std::string(step) == "close" && e == 0
                           ? isam::kReadWrite
                           : e;
            };
        };
        c.open = named("open", isam::OPNIFIL);
        c.rebuild = named("rebuild", isam::RBLIFIL);
        c.close = named("close", isam::CLIFIL);
        return c;
    }
};

StoreContent fillForCompaction(DbaseWin& store) {
    for (std::int32_t id = 1; id <= 40; ++id) {
        AddObject(Object(kKindRoute, id, id * 1000, -id * 1000));
        for (std::uint16_t n = 1; n <= 10; ++n)
            WritePoint(store, Point(id, n, id, n));
        AddText(InfoRecord{id, 0, std::string(static_cast<std::size_t>(id), 'i')});
    }
    for (std::int32_t id = 1; id <= 40; id += 2) // leaves room to compact
        EXPECT_EQ(store.DeleteObject(kKindRoute, id), 0);
    return ReadStore();
}

TEST(Compact, EveryRecordSurvivesEachFileInTurn) {
    TempFolder folder;
    MakeEmptyStore(folder.path());
    CallLog log;
    DbaseWin store(nullptr, StoreFileBasesIn(folder.path()), log.fileCalls());
    const StoreContent before = fillForCompaction(store);
    ASSERT_EQ(before.objects.size(), 20u);
    log.calls.clear();
    store.Compact(); // any box fails the test
    EXPECT_FALSE(store.Failed());
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"close 0", "rebuild 0", "open 0", "close 4", "rebuild 4",
                                        "open 4", "close 6", "rebuild 6", "open 6"}));
    EXPECT_EQ(ReadStore(), before);
    WritePoint(store, Point(2, 11)); // and the store goes on
}

TEST(Compact, AFailedCloseShowsItsStepThenExit) {
    TempFolder folder;
    MakeEmptyStore(folder.path());
    CallLog log;
    StoreContent before;
    {
        DbaseWin store(nullptr, StoreFileBasesIn(folder.path()), log.fileCalls());
        before = fillForCompaction(store);
        log.failingClose = kPointFileNumber;
        log.calls.clear();
        uitest::TModalScript script;
        script.Box(ui::IDOK).Box(ui::IDOK);
        store.Compact();
        EXPECT_EQ(Captions(script), (std::vector<std::string>{"Close POINT", "ERROR !!"}));
        EXPECT_TRUE(store.Failed());
        // ID was compacted; INFO is closed without being touched further.
        EXPECT_EQ(log.calls, (std::vector<std::string>{"close 0", "rebuild 0", "open 0", "close 4",
                                                       "close 0", "close 6"}));
        EXPECT_EQ(store.NextFreeObjectId(), 0);
    }
    EXPECT_EQ(FolderNames(folder.path()), kSixFiles);
    DbaseWin again(nullptr, StoreFileBasesIn(folder.path()));
    EXPECT_EQ(ReadStore(), before);
}

// ---- Round trip -----------------------------------------------------------------

TEST(RoundTrip, EverythingWrittenIsReadBackByANewStore) {
    TempFolder folder;
    MakeEmptyStore(folder.path());
    StoreContent written;
    {
        DbaseWin store(nullptr, StoreFileBasesIn(folder.path()));
        const std::uint16_t kinds[] = {kKindTrack,  kKindRoute, kKindLine,
                                       kKindSymbol, kKindZone,  kKindArea};
        for (int i = 0; i < 50; ++i) {
            const std::int32_t id = store.NextFreeObjectId();
            ASSERT_GT(id, 0);
            IdRecord r = Object(kinds[i % 6], id, -30000000 + i * 1234567, 90000000 - i * 7654321);
            r.timeStamp = 4000000000ll + i; // past 2038
            r.colour = static_cast<std::uint16_t>(1 + i % 6);
            r.length = static_cast<std::uint16_t>(i * 1300);
            r.pointCount = 40;
            r.name = "Objekt " + std::to_string(i) + " \xE6\xF8\xE5";
            store.CurrentIdRecord = r;
            ASSERT_EQ(isam::ADDREC(kIdFileNumber, store.CurrentIdRecord.Encode().data()), 0);
            written.objects.push_back(r);
            for (std::uint16_t n = 1; n <= 40; ++n) { // 2,000 points in all
                PointRecord p = Point(id, n, r.latitude + n * 60, r.longitude - n * 45);
                p.time = 4000000000ll + n;
                p.speed = static_cast<std::uint16_t>(n * 3);
                p.course = static_cast<std::uint16_t>(3599 - n);
                p.temperature = static_cast<std::int16_t>(-n * 10);
                p.depth = static_cast<std::uint16_t>(n * 100);
                p.depthScale = n % 2;
                WritePoint(store, p);
                written.points.push_back(p);
            }
            if (i % 5 == 0) {
                const InfoRecord t{id, 0, std::string(static_cast<std::size_t>(100 * i), 'T')};
                AddText(t);
                written.texts.push_back(t);
            }
        }
    }
    EXPECT_EQ(FolderNames(folder.path()), kSixFiles); // no log or journal left

    auto byKey1 = [](const IdRecord& a, const IdRecord& b) {
        return std::tie(a.kind, a.id) < std::tie(b.kind, b.id);
    };
    std::sort(written.objects.begin(), written.objects.end(), byKey1);
    DbaseWin again(nullptr, StoreFileBasesIn(folder.path()));
    const StoreContent read = ReadStore();
    EXPECT_EQ(read.objects, written.objects);
    EXPECT_EQ(read.points.size(), 2000u);
    EXPECT_EQ(read.points, written.points); // written in key order already
    EXPECT_EQ(read.texts, written.texts);
}

} // namespace
