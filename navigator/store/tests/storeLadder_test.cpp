// The store's start: each file opened, rebuilt from its data file, or
// created, with the boxes each step shows; the failed state after "Exit"; and
// a backup set copied over a closed store.
#include "storeTestSupport.h"

#include "ui/MessageBox.h"

#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <random>

namespace {

using namespace storetest;

// A small store: a track, a route with a text, and a symbol.
StoreContent sampleContent() {
    StoreContent c;
    IdRecord track = Object(kKindTrack, 1, 36100000, 3100000);
    track.pointCount = 20;
    IdRecord route = Object(kKindRoute, 3, 36000000, -3000000);
    route.name = "Hjem";
    route.pointCount = 4;
    IdRecord symbol = Object(kKindSymbol, 4, -1, 1);
    symbol.name = "B\xF8ye";
    c.objects = {track, route, symbol};
    for (std::uint16_t n = 1; n <= 20; ++n)
        c.points.push_back(Point(1, n, 36100000 + n * 100, 3100000 - n * 50));
    for (std::uint16_t n = 1; n <= 4; ++n)
        c.points.push_back(Point(3, n, 36000000 - n * 1000, -3000000 + n * 1000));
    c.texts = {InfoRecord{3, 0, "Fort\xF8yning ved kaia"}};
    return c;
}

// Writes the sample into a new store in the folder and closes it.
void populate(const TempFolder& folder) {
    MakeEmptyStore(folder.path());
    DbaseWin store(nullptr, StoreFileBasesIn(folder.path()));
    ASSERT_FALSE(store.Failed());
    const StoreContent c = sampleContent();
    for (const IdRecord& r : c.objects)
        AddObject(r);
    for (const PointRecord& p : c.points)
        WritePoint(store, p);
    for (const InfoRecord& t : c.texts)
        AddText(t);
}

Bytes garbage() {
    std::mt19937 random(4096);
    Bytes b(4096);
    for (auto& v : b)
        v = static_cast<std::uint8_t>(random());
    return b;
}

// The resources of a closed ID file: number and bytes.
std::vector<std::pair<int, Bytes>> resources(const std::string& dataFile) {
    std::vector<std::pair<int, Bytes>> found;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dataFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return found;
    }
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT number, bytes FROM resources ORDER BY number", -1, &s,
                           nullptr) == SQLITE_OK)
        while (sqlite3_step(s) == SQLITE_ROW) {
            const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 1));
            found.emplace_back(sqlite3_column_int(s, 0), Bytes(p, p + sqlite3_column_bytes(s, 1)));
        }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return found;
}

using Box = std::pair<std::string, std::string>; // caption, text ("" any text)
const Box kExit{"ERROR !!", "Exit"};

struct LadderCase {
    const char* name;
    std::function<void(const TempFolder&)> before; // the folder as the store finds it
    DbaseWin::FileCalls calls;
    std::vector<Box> boxes; // in order
    bool fails = false;
    std::function<void(DbaseWin&)> whileOpen;
    std::vector<std::string> filesAfter; // once the store is deleted
    std::vector<std::string> untouched;  // files whose bytes the store never changed
    std::function<void(const TempFolder&)> closed;
    std::optional<StoreContent> reopened; // what a store made again holds, without a box
};

void PrintTo(const LadderCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<LadderCase> ladderCases() {
    std::vector<LadderCase> cases;

    LadderCase empty;
    empty.name = "EmptyFolderCreatesEachFile";
    empty.boxes = {{"Open ID", "db-error: 12"},    {"Rebuild ID", "db-error: 12"},
                   {"Open POINT", "db-error: 12"}, {"Rebuild POINT", "db-error: 12"},
                   {"Open INFO", "db-error: 12"},  {"Rebuild INFO", "db-error: 12"}};
    empty.whileOpen = [](DbaseWin& store) {
        EXPECT_EQ(store.NextFreeObjectId(), 1);
        EXPECT_EQ(isam::GETFIL(kIdFileNumber, 3), 0x42);
        EXPECT_EQ(isam::GETFIL(kPointFileNumber, 3), 0x42);
        EXPECT_EQ(isam::GETFIL(kInfoFileNumber, 3), 0x46);
    };
    empty.filesAfter = kSixFiles;
    empty.closed = [](const TempFolder& f) {
        const auto found = resources(f / "ID.DAT");
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].first, 0);
        EXPECT_EQ(found[0].second, Bytes(10112, 0));
        EXPECT_TRUE(resources(f / "POINT.DAT").empty());
    };
    empty.reopened = StoreContent{};
    cases.push_back(empty);

    // The program's first start, then its second: no box.
    LadderCase second;
    second.name = "SecondStartShowsNoBox";
    second.before = [](const TempFolder& f) {
        {
            uitest::TModalScript firstStart;
            for (int i = 0; i < 6; ++i)
                firstStart.Box(ui::IDOK);
            DbaseWin store(nullptr, StoreFileBasesIn(f.path()));
            for (const IdRecord& r : sampleContent().objects)
                AddObject(r);
        }
    };
    second.filesAfter = kSixFiles;
    second.untouched = {"ID.IDX", "POINT.IDX", "INFO.IDX"};
    StoreContent objectsOnly;
    objectsOnly.objects = sampleContent().objects;
    second.reopened = objectsOnly;
    cases.push_back(second);

    LadderCase noPointIndex;
    noPointIndex.name = "MissingPointIndexIsRebuilt";
    noPointIndex.before = [](const TempFolder& f) {
        populate(f);
        std::filesystem::remove(f / "POINT.IDX");
    };
    noPointIndex.boxes = {{"Open POINT", "db-error: 12"}};
    noPointIndex.whileOpen = [](DbaseWin&) { EXPECT_EQ(ReadStore(), sampleContent()); };
    noPointIndex.filesAfter = kSixFiles;
    noPointIndex.untouched = {"ID.DAT", "ID.IDX"};
    noPointIndex.reopened = sampleContent();
    cases.push_back(noPointIndex);

    // A damaged ID file is kept byte for byte; the program ends.
    LadderCase damaged;
    damaged.name = "DamagedIdFileIsKeptAndTheStoreFails";
    damaged.before = [](const TempFolder& f) {
        populate(f);
        WriteBytes(f / "ID.DAT", garbage());
    };
    damaged.boxes = {{"Open ID", "db-error: 15"},
                     {"Rebuild ID", "db-error: 15"},
                     {"Create ID", "db-error: 14"},
                     kExit};
    damaged.fails = true;
    damaged.whileOpen = [](DbaseWin& store) {
        EXPECT_EQ(store.NextFreeObjectId(), 0);
        store.CurrentPointRecord = Point(1, 99);
        EXPECT_NE(store.WritePointRecord(), 0);
        EXPECT_EQ(store.DeleteObject(kKindRoute, 3), isam::kNotFound);
        store.Compact();
        // Nothing is open for the chart window's own calls either.
        IdBytes r;
        EXPECT_NE(isam::GTEREC(kIdKindKey, IdKindKey(0, 0).data(), r.data()), 0);
        PointBytes p;
        EXPECT_NE(isam::GTEREC(kPointKey, PointKey(0, 0).data(), p.data()), 0);
    };
    damaged.filesAfter = {"ID.DAT", "INFO.DAT", "INFO.IDX", "POINT.DAT", "POINT.IDX"};
    damaged.untouched = {"ID.DAT", "POINT.DAT", "POINT.IDX", "INFO.DAT", "INFO.IDX"};
    damaged.closed = [](const TempFolder& f) { EXPECT_EQ(FileBytes(f / "ID.DAT"), garbage()); };
    cases.push_back(damaged);

    LadderCase lower;
    lower.name = "LowerCaseFilesAreOpenedNotDuplicated";
    lower.before = [](const TempFolder& f) {
        populate(f);
        std::filesystem::rename(f / "ID.DAT", f / "id.dat");
        std::filesystem::rename(f / "ID.IDX", f / "id.idx");
    };
    lower.filesAfter = {"INFO.DAT", "INFO.IDX", "POINT.DAT", "POINT.IDX", "id.dat", "id.idx"};
    lower.reopened = sampleContent();
    cases.push_back(lower);

    // A record layer that is not the single-user one.
    LadderCase shared;
    shared.name = "SharedFileModeEndsTheProgram";
    shared.before = populate;
    shared.calls.fileProperty = [](int, int) -> long { return 0x43; };
    shared.boxes = {{"Use single user database and DLL!", ""}, kExit};
    shared.fails = true;
    shared.filesAfter = kSixFiles;
    shared.reopened = sampleContent();
    cases.push_back(shared);

    // A rebuilt file that still does not open.
    LadderCase reopen;
    reopen.name = "FailedReopenEndsTheProgram";
    reopen.before = [](const TempFolder& f) {
        populate(f);
        std::filesystem::remove(f / "POINT.IDX");
    };
    auto pointOpens = std::make_shared<int>(0);
    reopen.calls.open = [pointOpens](const isam::FileDescription& d) {
        if (d.dataFileNumber == kPointFileNumber && ++*pointOpens == 2) return isam::kCannotOpen;
        return isam::OPNIFIL(d);
    };
    reopen.boxes = {{"Open POINT", "db-error: 12"}, {"ReOpen POINT", ""}, kExit};
    reopen.fails = true;
    reopen.filesAfter = kSixFiles;
    reopen.reopened = sampleContent();
    cases.push_back(reopen);
    return cases;
}

class Ladder : public ::testing::TestWithParam<LadderCase> {};

TEST_P(Ladder, BoxesInOrderAndTheFolderAfterwards) {
    const LadderCase& c = GetParam();
    TempFolder folder;
    if (c.before) c.before(folder);
    if (HasFatalFailure()) return;
    std::map<std::string, Bytes> kept;
    for (const std::string& name : c.untouched)
        kept[name] = FileBytes(folder / name);
    {
        uitest::TModalScript script;
        for (std::size_t i = 0; i < c.boxes.size(); ++i)
            script.Box(ui::IDOK);
        auto store = std::make_unique<DbaseWin>(nullptr, StoreFileBasesIn(folder.path()), c.calls);
        const auto& seen = script.Modals();
        ASSERT_EQ(seen.size(), c.boxes.size()) << ::testing::PrintToString(Captions(script));
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].caption, c.boxes[i].first) << i;
            if (!c.boxes[i].second.empty()) {
                EXPECT_EQ(seen[i].text, c.boxes[i].second) << i;
            }
        }
        EXPECT_EQ(store->Failed(), c.fails);
        if (c.whileOpen) c.whileOpen(*store);
    }
    EXPECT_EQ(FolderNames(folder.path()), c.filesAfter);
    for (const auto& [name, bytes] : kept)
        EXPECT_EQ(FileBytes(folder / name), bytes) << name;
    if (c.closed) c.closed(folder);
    if (c.reopened) {
        DbaseWin again(nullptr, StoreFileBasesIn(folder.path())); // any box fails the test
        ASSERT_FALSE(again.Failed());
        EXPECT_EQ(ReadStore(), *c.reopened);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Ladder, ::testing::ValuesIn(ladderCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DbError, TheBoxIsTaskModalWithTheExclamationIcon) {
    TempFolder folder;
    isam::INTISAM(18, 13, 8);
    ASSERT_NE(isam::OPNIFIL(IdFileDescription(folder / "id")), 0); // sets the last error
    uitest::TModalScript script;
    script.Step(ui::TModalTask::Kind::Box, "", [](ui::TModalTask& task) {
        const auto& box = dynamic_cast<ui::TBoxTask&>(task);
        EXPECT_EQ(box.Flags(), ui::MB_TASKMODAL | ui::MB_ICONEXCLAMATION);
        EXPECT_EQ(box.Cp1252Caption(), "Rebuild POINT");
        EXPECT_EQ(box.Cp1252Text(), "db-error: 12");
        return ui::IDOK;
    });
    DbaseWin::ShowDbError("Rebuild POINT");
    EXPECT_TRUE(script.Done());
}

// The setup program's reset copies the six files of a closed store over
// another closed store and moves the companions of the data files away.
TEST(RestoredBackup, OpensWithoutABoxAndHoldsTheBackupsObjects) {
    TempFolder backup, live;
    populate(backup);
    populate(live);
    if (HasFatalFailure()) return;
    {
        // More objects in the live store, and a log of them kept aside while it
        // was open: a stale "-wal" as a killed program would leave it.
        DbaseWin store(nullptr, StoreFileBasesIn(live.path()));
        for (std::int32_t id = 10; id < 20; ++id)
            AddObject(Object(kKindSymbol, id, id, id));
        std::filesystem::copy_file(live / "ID.DAT-wal", live / "stale-wal");
    }
    std::filesystem::rename(live / "stale-wal", live / "ID.DAT-wal");

    for (StoreFile f : kStoreFiles) {
        const auto from =
            isam::FileSetPaths(StoreFileDescription(f, StoreFileBasesIn(backup.path())).name);
        const auto to =
            isam::FileSetPaths(StoreFileDescription(f, StoreFileBasesIn(live.path())).name);
        for (const std::string& companion : to.companions)
            std::filesystem::remove(companion);
        std::filesystem::copy_file(from.data, to.data,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(from.index, to.index,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    EXPECT_EQ(FolderNames(live.path()), kSixFiles);
    DbaseWin store(nullptr, StoreFileBasesIn(live.path())); // any box fails the test
    ASSERT_FALSE(store.Failed());
    EXPECT_EQ(ReadStore(), sampleContent());
}

} // namespace
