// The reset of the user database: all six files from BACKUP or none, in the
// folder the navigation program uses, with stale journals taken away.
#include "ChartCopyMachine.h"

#include "dbreset/UserDatabaseReset.h"

#include "os/instanceLocks.h"
#include "os/textFiles.h"

#include <cerrno>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

class UserDatabaseReset : public setuptest::ChartCopyMachine {
  protected:
    void TearDown() override {
        RestoreResetCalls();
        ChartCopyMachine::TearDown();
    }

    // The installation C:\RUNTIME\ with its six backups ("backup ID.DAT", ...).
    void makeInstallation() {
        for (const char* name : kUserDatabaseFiles)
            touch(std::string("c/RUNTIME/BACKUP/") + name, std::string("backup ") + name);
    }
    // Six live files in `folder`, names in upper or lower case.
    void makeStore(const std::string& folder, bool lower = false) {
        for (std::string name : kUserDatabaseFiles) {
            if (lower)
                for (char& ch : name)
                    ch = char(std::tolower(static_cast<unsigned char>(ch)));
            touch(folder + "/" + name, "live " + name);
        }
    }
    // The folder's files, named as they stand.
    std::map<std::string, std::string> files(const std::string& folder) const {
        auto entries = treeWithModes(folder);
        std::erase_if(entries, [](const auto& e) { return e.first.starts_with("BACKUP"); });
        return entries;
    }
    // What a restored store of six upper-case files holds.
    std::map<std::string, std::string> restored(const std::string& folder) const {
        std::map<std::string, std::string> expected;
        for (const char* name : kUserDatabaseFiles)
            expected[name] = std::to_string(mode(folder + "/" + name)) + ":backup " + name;
        return expected;
    }
};

TEST_F(UserDatabaseReset, ReplacesAllSixOrNone) {
    struct Case {
        const char* name;
        std::string installation;
        std::function<void()> prepare;
        const char* store; // the folder below the temporary base where the store lies
        bool done;
        const char* file = nullptr; // the file a failure names
        int error = 0;
    };
    auto failCall = [](int which, int error) {
        auto count = std::make_shared<int>(0);
        return [count, which, error] { return ++*count == which ? (errno = error, true) : false; };
    };
    const Case cases[] = {
        {"all six present", "C:\\RUNTIME\\", [&] { makeStore("c/RUNTIME"); }, "c/RUNTIME", true},
        {"no trailing separator", "C:\\RUNTIME", [&] { makeStore("c/RUNTIME"); }, "c/RUNTIME",
         true},
        {"no live store yet", "c:\\runtime", nullptr, "c/RUNTIME", true},
        {"one backup missing", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             std::filesystem::remove(tmp / "c/RUNTIME/BACKUP/POINT.IDX");
         },
         "c/RUNTIME", false, "C:\\RUNTIME\\BACKUP\\POINT.IDX", ENOENT},
        {"the fourth copy fails", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             auto fail = failCall(4, ENOSPC);
             ResetCalls().copyFile = [fail](const std::string& from, const std::string& to) {
                 return !fail() && os::copyFile(from, to, false, true);
             };
         },
         "c/RUNTIME", false, "C:\\RUNTIME\\BACKUP\\POINT.IDX", ENOSPC},
        {"the third rename fails", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             auto fail = failCall(3, EIO);
             ResetCalls().rename = [fail](const char* from, const char* to) {
                 return fail() ? -1 : ::rename(from, to);
             };
         },
         "c/RUNTIME", false, "C:\\RUNTIME\\ID.IDX", EIO},
        {"the last rename fails", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             auto fail = failCall(12, EIO);
             ResetCalls().rename = [fail](const char* from, const char* to) {
                 return fail() ? -1 : ::rename(from, to);
             };
         },
         "c/RUNTIME", false, "C:\\RUNTIME\\INFO.IDX", EIO},
        {"relative DBROOT", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             makeStore("c/RUNTIME/DB");
             touch("c/RUNTIME/solvnv.ini", "[DIRECTORY]\r\nDBROOT= DB\\ \r\n");
         },
         "c/RUNTIME/DB", true},
        {"drive-form DBROOT", "C:\\RUNTIME\\",
         [&] {
             makeStore("d/NAVDB");
             touch("c/RUNTIME/SOLVNV.INI", "[DIRECTORY]\r\nDBROOT=D:\\NAVDB\r\n");
         },
         "d/NAVDB", true},
        {"DBROOT on a drive that names nothing", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             touch("c/RUNTIME/SOLVNV.INI", "[DIRECTORY]\r\nDBROOT=Q:\\NAVDB\r\n");
         },
         "c/RUNTIME", false, "Q:\\NAVDB", ENOENT},
        {"no BACKUP folder", "C:\\RUNTIME\\",
         [&] {
             makeStore("c/RUNTIME");
             std::filesystem::remove_all(tmp / "c/RUNTIME/BACKUP");
         },
         "c/RUNTIME", false, "C:\\RUNTIME\\BACKUP", ENOENT},
        {"an interrupted reset", "C:\\RUNTIME\\",
         [&] {
             // Stopped after ID.DAT was set aside: it is put back, then replaced.
             makeStore("c/RUNTIME");
             std::filesystem::rename(tmp / "c/RUNTIME/ID.DAT", tmp / "c/RUNTIME/ID.DAT.ostrel-old");
             touch("c/RUNTIME/.ID.DAT.ostrel-new", "half");
         },
         "c/RUNTIME", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        std::filesystem::remove_all(tmp / "c");
        std::filesystem::remove_all(tmp / "d");
        SetUp();
        makeInstallation();
        if (c.prepare) c.prepare();
        const auto before = files(c.store);
        const auto backups = treeWithModes("c/RUNTIME/BACKUP");

        const TResetResult r =
            ResetUserDatabase(c.installation, UserStoreDirectory(c.installation));
        EXPECT_EQ(r.Outcome, c.done ? TResetOutcome::Done : TResetOutcome::Failed);
        if (c.done) {
            EXPECT_EQ(files(c.store), restored(c.store));
            for (const char* name : kUserDatabaseFiles)
                EXPECT_TRUE(mode(std::string(c.store) + "/" + name) & S_IWUSR) << name;
        } else {
            EXPECT_EQ(r.File, c.file);
            EXPECT_EQ(r.Error, c.error);
            EXPECT_EQ(files(c.store), before) << "every live file as it was";
        }
        EXPECT_EQ(treeWithModes("c/RUNTIME/BACKUP"), backups);
    }
}

TEST_F(UserDatabaseReset, LiveNamesKeepTheirSpellingAndStaleJournalsGo) {
    makeInstallation();
    makeStore("c/RUNTIME", true);
    for (const char* journal : {"id.dat-wal", "id.dat-journal", "point.dat-shm"})
        touch(std::string("c/RUNTIME/") + journal, "stale");
    // Whenever a restored data file takes its place, no journal lies beside it.
    ResetCalls().rename = [](const char* from, const char* to) {
        if (std::string(from).ends_with(".ostrel-new"))
            for (const char* suffix : {"-wal", "-journal", "-shm"}) {
                struct stat st;
                EXPECT_NE(::lstat((std::string(to) + suffix).c_str(), &st), 0) << to << suffix;
            }
        return ::rename(from, to);
    };
    ASSERT_EQ(ResetUserDatabase("C:\\RUNTIME\\", "C:\\RUNTIME\\").Outcome, TResetOutcome::Done);
    std::map<std::string, std::string> expected;
    for (std::string name : kUserDatabaseFiles) {
        const std::string backup = "backup " + name;
        for (char& ch : name)
            ch = char(std::tolower(static_cast<unsigned char>(ch)));
        expected[name] = backup;
    }
    auto now = tree("c/RUNTIME");
    std::erase_if(now, [](const auto& e) { return e.first.starts_with("BACKUP"); });
    EXPECT_EQ(now, expected);

    // A failure between two renames puts the journals back with their files.
    RestoreResetCalls();
    makeStore("c/RUNTIME", true);
    for (const char* journal : {"id.dat-wal", "point.dat-journal"})
        touch(std::string("c/RUNTIME/") + journal, "stale");
    const auto before = files("c/RUNTIME");
    int renames = 0;
    ResetCalls().rename = [&renames](const char* from, const char* to) {
        if (++renames == 6) return errno = EIO, -1;
        return ::rename(from, to);
    };
    EXPECT_EQ(ResetUserDatabase("C:\\RUNTIME\\", "C:\\RUNTIME\\").Outcome, TResetOutcome::Failed);
    EXPECT_EQ(files("c/RUNTIME"), before);
}

TEST_F(UserDatabaseReset, IsRefusedWhileANavigationProgramRuns) {
    makeInstallation();
    makeStore("c/RUNTIME");
    const auto before = files("c/RUNTIME");
    os::PresenceLock running;
    ASSERT_EQ(running.acquire("Solvanor V lite"), os::LockResult::Acquired);
    EXPECT_EQ(ResetUserDatabase("C:\\RUNTIME\\", "C:\\RUNTIME\\").Outcome,
              TResetOutcome::NavigatorRunning);
    EXPECT_EQ(files("c/RUNTIME"), before);
}

TEST_F(UserDatabaseReset, TheStoreFolderIsTheOneTheNavigationProgramUses) {
    struct Case {
        const char* ini; // SOLVNV.INI, or null for none
        const char* folder;
    } cases[] = {
        {nullptr, "C:\\RUNTIME\\"},
        {"[DIRECTORY]\r\nDBROOT=\r\n", "C:\\RUNTIME\\"},
        {"[DIRECTORY]\r\nDBROOT=  \r\n", "C:\\RUNTIME\\"},
        {"[DIRECTORY]\r\nDBROOT=\tD:\\NAVDB\\ \r\n", "D:\\NAVDB\\"},
        {"[KV71LIB]\r\nDBROOT=D:\\ELSEWHERE\r\n[DIRECTORY]\r\nKV71ROOT=C:\\KV71\r\n",
         "C:\\RUNTIME\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini ? c.ini : "no SOLVNV.INI");
        std::filesystem::remove(tmp / "c/RUNTIME/SOLVNV.INI");
        mkdirs("c/RUNTIME");
        if (c.ini) touch("c/RUNTIME/SOLVNV.INI", c.ini);
        EXPECT_EQ(UserStoreDirectory("C:\\RUNTIME\\"), c.folder);
    }
}

} // namespace
