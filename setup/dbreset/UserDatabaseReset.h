// The reset of the navigation program's user database (its routes, tracks and
// symbols) to the copies kept in the installation's BACKUP folder, without a
// window.
//
// The store is six files: ID, POINT and INFO, each a data file (.DAT) and an
// index (.IDX), named as the record layer names them (isam::FileSetPaths), so
// the reset and the store never disagree about a name. They are replaced all
// six or not at all:
// 1. all six must lie in BACKUP (found without regard to case);
// 2. each is copied and flushed to a temporary name beside its live file
//    (".<name>.ostrel-new");
// 3. each live file, and the journals beside a data file ("-wal", "-journal",
//    "-shm"), is renamed aside (".ostrel-old" added) and the copy renamed into
//    its place: a stale journal would otherwise be replayed into the restored
//    file at its next open;
// 4. the set-aside files are deleted.
// A failure anywhere undoes what was done: every live file ends as it was.
// A live file that exists is replaced under its own spelling; a missing one
// gets the record layer's ("ID.DAT").
//
//   const std::string dir = "C:\\RUNTIME\\";
//   TResetResult r = ResetUserDatabase(dir, UserStoreDirectory(dir));
//   if (r.Outcome == TResetOutcome::Failed) { /* r.File, r.Error: nothing changed */ }
#pragma once

#include <array>
#include <functional>
#include <string>

// The six files, in the order they are restored.
inline constexpr std::array<const char*, 6> kUserDatabaseFiles = {
    "ID.DAT", "ID.IDX", "POINT.DAT", "POINT.IDX", "INFO.DAT", "INFO.IDX"};

enum class TResetOutcome {
    Done,             // the six live files are the backups
    NavigatorRunning, // refused: a navigation program holds the store open
    Failed,           // nothing changed; File and Error say why
};

struct TResetResult {
    TResetOutcome Outcome = TResetOutcome::Done;
    std::string File; // the text (Windows-1252) of the file or folder that failed
    int Error = 0;    // errno
};

// The folder of the store of the installation in `installationDir` (a
// directory text), as the navigation program finds it: DBROOT of the
// installation's SOLVNV.INI when it is not empty (blanks trimmed), else the
// installation directory. A relative DBROOT is taken against the
// installation directory by ResetUserDatabase.
std::string UserStoreDirectory(const std::string& installationDir);

// Replaces the six store files in `storeDir` (a directory text; relative ones
// against the installation) with those of installationDir's BACKUP folder.
TResetResult ResetUserDatabase(const std::string& installationDir, const std::string& storeDir);

// The calls through which the reset changes files; tests replace them to
// inject failures. Paths are Linux paths.
struct TResetCalls {
    // Copies a file, flushed, overwriting; false with errno set.
    std::function<bool(const std::string& from, const std::string& to)> copyFile;
    std::function<int(const char* from, const char* to)> rename;
    std::function<bool()> navigatorRunning;
};
TResetCalls& ResetCalls();
// Puts the real calls back.
void RestoreResetCalls();
