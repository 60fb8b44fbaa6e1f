// File sets: creation, opening, rebuilding, closing, names in any case,
// descriptions that differ, damaged and foreign data files.
#include "isamTestSupport.h"

#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace {

using namespace isamtest;
namespace fs = std::filesystem;

const std::vector<std::string> kSixFiles = {"ID.DAT",   "ID.IDX",    "INFO.DAT",
                                            "INFO.IDX", "POINT.DAT", "POINT.IDX"};

class Files : public IsamTest {
  protected:
    // Every record of the three files found by every one of its keys.
    void expectAllFound(const std::vector<Bytes>& ids, const std::vector<Bytes>& points) {
        Bytes r(64);
        for (const Bytes& id : ids) {
            const std::uint16_t kind = getU16(&id[2]);
            const std::int32_t object = getI32(&id[4]);
            ASSERT_EQ(isam::EQLREC(1, key1(kind, object).data(), r.data()), 0);
            EXPECT_EQ(r, id);
            ASSERT_EQ(isam::EQLREC(2, key2(kind, getI32(&id[8]), getI32(&id[12])).data(), r.data()),
                      0);
            EXPECT_EQ(r, id);
            ASSERT_EQ(isam::EQLREC(3, key3(object).data(), r.data()), 0);
            EXPECT_EQ(r, id);
        }
        EXPECT_EQ(walk(3, 64).size(), ids.size());
        EXPECT_EQ(walk(5, 38), points);
    }

    // Two objects with points and a text.
    void fill(std::vector<Bytes>& ids, std::vector<Bytes>& points) {
        ids = {idRecord(2, 1, -100, 5), idRecord(5, 3, 100, -5)};
        for (const Bytes& r : ids)
            ASSERT_EQ(isam::ADDREC(0, r.data()), 0);
        for (int n = 1; n <= 5; ++n) {
            points.push_back(pointRecord(1, n, -100 * n, 5 * n));
            ASSERT_EQ(isam::ADDREC(4, points.back().data()), 0);
        }
        const Bytes text = infoRecord(1, 0, "route text");
        ASSERT_EQ(isam::ADDVREC(6, text.data(), text.size()), 0);
    }

    void createAll() {
        for (const auto& f : {idFile(dir()), pointFile(dir()), infoFile(dir())})
            ASSERT_EQ(isam::CREIFIL(f), 0);
    }
    void closeAll() {
        for (const auto& f : {idFile(dir()), pointFile(dir()), infoFile(dir())})
            ASSERT_EQ(isam::CLIFIL(f), 0);
    }
    void openAll() {
        for (const auto& f : {idFile(dir()), pointFile(dir()), infoFile(dir())})
            ASSERT_EQ(isam::OPNIFIL(f), 0);
    }
};

TEST_F(Files, CreateCloseOpen) {
    createAll();
    const Bytes settings(10112, 0x5A);
    ASSERT_EQ(isam::ADDRES(0, settings.data(), settings.size()), 0);
    std::vector<Bytes> ids, points;
    fill(ids, points);
    // While open, the log lies beside each data file; there is no
    // shared-memory file.
    for (const std::string& name : folderNames(dir()))
        EXPECT_EQ(name.find("-shm"), std::string::npos) << name;
    EXPECT_TRUE(fs::exists(path("ID.DAT-wal")));
    closeAll();
    EXPECT_EQ(folderNames(dir()), kSixFiles);

    openAll();
    EXPECT_EQ(isam::GETFIL(0, 3), 0x42);
    EXPECT_EQ(isam::GETFIL(4, 3), 0x42);
    EXPECT_EQ(isam::GETFIL(6, 3), 0x46);
    EXPECT_EQ(isam::GETFIL(0, 2), -1);
    EXPECT_EQ(isam::GETFIL(1, 3), -1);
    expectAllFound(ids, points);
    closeAll();
    EXPECT_EQ(folderNames(dir()), kSixFiles);

    // The settings block is resource 0 of the ID file.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path("ID.DAT").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db, "SELECT number, length(bytes) FROM resources", -1, &s, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), 0);
    EXPECT_EQ(sqlite3_column_int(s, 1), 10112);
    EXPECT_EQ(sqlite3_step(s), SQLITE_DONE);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

TEST_F(Files, AMissingIndexFileIsRebuilt) {
    createAll();
    std::vector<Bytes> ids, points;
    fill(ids, points);
    closeAll();
    for (const char* name : {"ID.IDX", "POINT.IDX"})
        fs::remove(path(name));
    EXPECT_EQ(isam::OPNIFIL(idFile(dir())), isam::kCannotOpen);
    EXPECT_EQ(isam::OPNIFIL(pointFile(dir())), isam::kCannotOpen);
    EXPECT_EQ(isam::LastError(), isam::kCannotOpen);
    ASSERT_EQ(isam::RBLIFIL(idFile(dir())), 0);
    ASSERT_EQ(isam::RBLIFIL(pointFile(dir())), 0);
    EXPECT_EQ(folderNames(dir()), kSixFiles);
    openAll();
    expectAllFound(ids, points);
}

TEST_F(Files, AnotherDescriptionIsRefused) {
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::ADDREC(4, pointRecord(1, 1).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    const Bytes data = fileBytes(path("POINT.DAT"));
    const Bytes index = fileBytes(path("POINT.IDX"));

    struct Case {
        const char* what;
        void (*change)(isam::FileDescription&);
    } cases[] = {
        {"record length", [](isam::FileDescription& f) { f.recordLength = 40; }},
        {"file mode", [](isam::FileDescription& f) { f.fileMode = 0x46; }},
        {"variable", [](isam::FileDescription& f) { f.variable = true; }},
        {"signed point number",
         [](isam::FileDescription& f) { f.indexes[0].segments[1].isSigned = true; }},
        {"segment position",
         [](isam::FileDescription& f) { f.indexes[0].segments[1].position = 30; }},
        {"extension size", [](isam::FileDescription& f) { f.dataExtension = 8192; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        isam::FileDescription other = pointFile(dir());
        c.change(other);
        EXPECT_EQ(isam::OPNIFIL(other), isam::kDescriptionDiffers);
        EXPECT_EQ(fileBytes(path("POINT.DAT")), data);
        EXPECT_EQ(fileBytes(path("POINT.IDX")), index);
    }

    // A data file of another set behind a right .IDX: POINT.DAT as ID.DAT.
    ASSERT_EQ(isam::CREIFIL(idFile(dir())), 0);
    ASSERT_EQ(isam::CLIFIL(idFile(dir())), 0);
    fs::copy_file(path("POINT.DAT"), path("ID.DAT"), fs::copy_options::overwrite_existing);
    EXPECT_EQ(isam::OPNIFIL(idFile(dir())), isam::kDescriptionDiffers);
    // Its 38-byte records do not fit a rebuild as ID either, which leaves it.
    EXPECT_EQ(isam::RBLIFIL(idFile(dir())), isam::kDamaged);
    EXPECT_EQ(fileBytes(path("ID.DAT")), data);
    EXPECT_EQ(folderNames(dir()),
              (std::vector<std::string>{"ID.DAT", "ID.IDX", "POINT.DAT", "POINT.IDX"}));
}

TEST_F(Files, CreateNeverReplacesADataFile) {
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::ADDREC(4, pointRecord(1, 1).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    const Bytes before = fileBytes(path("POINT.DAT"));
    EXPECT_EQ(isam::CREIFIL(pointFile(dir())), isam::kFileExists);
    EXPECT_EQ(fileBytes(path("POINT.DAT")), before);

    // Nor one in lower case.
    fs::rename(path("POINT.DAT"), path("point.dat"));
    EXPECT_EQ(isam::CREIFIL(pointFile(dir())), isam::kFileExists);
    EXPECT_EQ(fileBytes(path("point.dat")), before);
    EXPECT_EQ(folderNames(dir()), (std::vector<std::string>{"POINT.IDX", "point.dat"}));
}

TEST_F(Files, DamagedAndForeignDataFilesAreLeftAlone) {
    // 4 KiB of garbage, an empty file, and an SQLite database of another program.
    Bytes garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::string foreign = path("foreign.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE records(pos INTEGER PRIMARY KEY, bytes BLOB)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const Bytes foreignBytes = fileBytes(foreign);
    fs::remove(foreign);

    for (const Bytes& content : {garbage, Bytes{}, foreignBytes}) {
        SCOPED_TRACE(content.size());
        ASSERT_EQ(isam::CREIFIL(idFile(dir())), 0);
        ASSERT_EQ(isam::CLIFIL(idFile(dir())), 0);
        writeBytes(path("ID.DAT"), content);
        const Bytes index = fileBytes(path("ID.IDX"));
        EXPECT_EQ(isam::OPNIFIL(idFile(dir())), isam::kDamaged);
        EXPECT_EQ(isam::RBLIFIL(idFile(dir())), isam::kDamaged);
        EXPECT_EQ(isam::CREIFIL(idFile(dir())), isam::kFileExists);
        EXPECT_EQ(fileBytes(path("ID.DAT")), content);
        EXPECT_EQ(fileBytes(path("ID.IDX")), index);
        EXPECT_EQ(folderNames(dir()), (std::vector<std::string>{"ID.DAT", "ID.IDX"}));
        fs::remove(path("ID.DAT"));
    }
}

TEST_F(Files, CreateIgnoresTheLogOfADataFileThatIsGone) {
    // A log with records in it, left beside a data file that was deleted.
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    for (int n = 1; n <= 20; ++n)
        ASSERT_EQ(isam::ADDREC(4, pointRecord(9, n).data()), 0);
    fs::copy_file(path("POINT.DAT-wal"), path("saved-wal"));
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    fs::remove(path("POINT.DAT"));
    fs::rename(path("saved-wal"), path("POINT.DAT-wal"));

    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    EXPECT_TRUE(walk(5, 38).empty());
    ASSERT_EQ(isam::ADDREC(4, pointRecord(1, 1).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    EXPECT_EQ(walk(5, 38), std::vector<Bytes>{pointRecord(1, 1)});
}

TEST_F(Files, LowerCaseFilesOfAnOlderCopyAreOpened) {
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::ADDREC(4, pointRecord(1, 1).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    fs::rename(path("POINT.DAT"), path("point.dat"));
    fs::rename(path("POINT.IDX"), path("Point.idx"));
    const isam::FileSet set = isam::FileSetPaths(dir() + "/point");
    EXPECT_EQ(set.data, path("point.dat"));
    EXPECT_EQ(set.index, path("Point.idx"));
    EXPECT_EQ(set.companions,
              (std::vector<std::string>{path("point.dat-wal"), path("point.dat-journal"),
                                        path("point.dat-shm")}));

    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::ADDREC(4, pointRecord(1, 2).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::RBLIFIL(pointFile(dir())), 0);
    EXPECT_EQ(folderNames(dir()), (std::vector<std::string>{"Point.idx", "point.dat"}));
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    EXPECT_EQ(walk(5, 38), (std::vector<Bytes>{pointRecord(1, 1), pointRecord(1, 2)}));
}

TEST_F(Files, FileSetPathsOfNewSets) {
    const struct {
        std::string name, data, index;
    } cases[] = {
        {dir() + "/id", dir() + "/ID.DAT", dir() + "/ID.IDX"},
        {dir() + "/Point", dir() + "/POINT.DAT", dir() + "/POINT.IDX"},
        {"info", "INFO.DAT", "INFO.IDX"},
        {dir() + "/sub.d/æinfo", dir() + "/sub.d/æINFO.DAT", dir() + "/sub.d/æINFO.IDX"},
    };
    for (const auto& c : cases) {
        const isam::FileSet set = isam::FileSetPaths(c.name);
        EXPECT_EQ(set.data, c.data);
        EXPECT_EQ(set.index, c.index);
        EXPECT_EQ(set.companions, (std::vector<std::string>{c.data + "-wal", c.data + "-journal",
                                                            c.data + "-shm"}));
    }
}

TEST_F(Files, RebuildCompactsAndRefusesCollidingKeys) {
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    Bytes r(38);
    for (int n = 1; n <= 3000; ++n)
        ASSERT_EQ(isam::ADDREC(4, pointRecord(n % 7, n).data()), 0);
    // Most records deleted, a few left.
    for (int found = isam::GTEREC(5, lowest(5).data(), r.data()); found == 0;
         found = isam::NXTREC(5, r.data())) {
        if (getU16(&r[6]) % 100 != 0) {
            ASSERT_EQ(isam::DELREC(4), 0);
        }
    }
    const std::vector<Bytes> left = walk(5, 38);
    ASSERT_EQ(left.size(), 30u);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    const auto before = fs::file_size(path("POINT.DAT"));

    // Keyed by the id alone, records of one object collide: nothing changes.
    isam::FileDescription byId = pointFile(dir());
    byId.indexes[0].keyLength = 4;
    byId.indexes[0].segments.pop_back();
    const Bytes data = fileBytes(path("POINT.DAT"));
    EXPECT_EQ(isam::RBLIFIL(byId), isam::kDuplicateKey);
    EXPECT_EQ(fileBytes(path("POINT.DAT")), data);
    EXPECT_EQ(folderNames(dir()), (std::vector<std::string>{"POINT.DAT", "POINT.IDX"}));

    ASSERT_EQ(isam::RBLIFIL(pointFile(dir())), 0);
    const auto after = fs::file_size(path("POINT.DAT"));
    EXPECT_LT(after * 4, before) << before << " -> " << after;
    EXPECT_EQ(folderNames(dir()), (std::vector<std::string>{"POINT.DAT", "POINT.IDX"}));
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    EXPECT_EQ(walk(5, 38), left);
}

TEST_F(Files, DescriptionsAndNumbersAreChecked) {
    struct Case {
        const char* what;
        void (*change)(isam::FileDescription&);
    } cases[] = {
        {"segment mode 4", [](isam::FileDescription& f) { f.indexes[0].segments[0].mode = 4; }},
        {"segment of 3 bytes",
         [](isam::FileDescription& f) { f.indexes[0].segments[1].length = 3; }},
        {"duplicate keys", [](isam::FileDescription& f) { f.indexes[0].duplicates = true; }},
        {"key length", [](isam::FileDescription& f) { f.indexes[0].keyLength = 8; }},
        {"key number", [](isam::FileDescription& f) { f.indexes[0].keyNumber = 6; }},
        {"segment past the record",
         [](isam::FileDescription& f) { f.indexes[0].segments[1].position = 37; }},
        {"no keys", [](isam::FileDescription& f) { f.indexes.clear(); }},
        {"no segments", [](isam::FileDescription& f) { f.indexes[0].segments.clear(); }},
        {"file number beyond the table",
         [](isam::FileDescription& f) {
             f.dataFileNumber = 12;
             f.indexes[0].keyNumber = 13;
         }},
        {"no name", [](isam::FileDescription& f) { f.name += "/"; }},
        {"record length 0", [](isam::FileDescription& f) { f.recordLength = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        isam::FileDescription f = pointFile(dir());
        c.change(f);
        EXPECT_EQ(isam::CREIFIL(f), isam::kBadArgument);
        EXPECT_EQ(isam::OPNIFIL(f), isam::kBadArgument);
        EXPECT_EQ(isam::RBLIFIL(f), isam::kBadArgument);
    }
    EXPECT_TRUE(folderNames(dir()).empty());

    // Numbers in use: the same set twice, a set whose keys overlap.
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    EXPECT_EQ(isam::OPNIFIL(pointFile(dir())), isam::kBadArgument);
    EXPECT_EQ(isam::RBLIFIL(pointFile(dir())), isam::kBadArgument);
    isam::FileDescription id = idFile(dir());
    id.dataFileNumber = 2;
    for (int i = 0; i < 3; ++i)
        id.indexes[i].keyNumber = 3 + i;
    EXPECT_EQ(isam::CREIFIL(id), isam::kBadArgument);
    EXPECT_EQ(isam::CLIFIL(infoFile(dir())), isam::kBadArgument);
    EXPECT_EQ(isam::INTISAM(0, 13, 8), isam::kBadArgument);
}

TEST_F(Files, ASecondProcessIsKeptOut) {
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    // The child starts with nothing open and tries once the parent holds the set.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c;
        if (read(go[0], &c, 1) != 1) _exit(99);
        _exit(isam::OPNIFIL(pointFile(dir())));
    }
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    ASSERT_EQ(write(go[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(go[0]);
    close(go[1]);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), isam::kCannotOpen);
    // The refused open left the parent's set as it was.
    ASSERT_EQ(isam::ADDREC(4, pointRecord(1, 1).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    EXPECT_EQ(walk(5, 38), std::vector<Bytes>{pointRecord(1, 1)});
}

} // namespace
