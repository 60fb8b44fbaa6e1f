#include "dbreset/UserDatabaseReset.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "ini/MemoIni.h"
#include "shell/NavigatorPresence.h"
#include "shell/TrimBlanks.h"

#include "isam/isam.h"
#include "os/codePage.h"
#include "os/drives.h"
#include "os/textFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace {

constexpr const char* kTemporarySuffix = ".ostrel-new";
constexpr const char* kSetAsideSuffix = ".ostrel-old";

TResetCalls realCalls() {
    return {[](const std::string& from, const std::string& to) {
                return os::copyFile(from, to, false, true);
            },
            [](const char* from, const char* to) { return ::rename(from, to); },
            AnyNavigatorRunning};
}

bool present(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool regularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string temporaryOf(const std::string& live) {
    return folderOf(live) + "/." + nameOf(live) + kTemporarySuffix;
}

// A path as the user reads it: its drive-form text where it has one.
std::string textOf(const std::string& linuxPath) {
    const std::string text = os::windowsPath(linuxPath);
    return text.empty() ? os::utf8ToCp1252(linuxPath) : text;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// One of the six files: its backup, its live path and, for a data file, the
// journals that may lie beside the live file.
struct Item {
    std::string backup, live;
    std::vector<std::string> companions;
};

std::vector<Item> itemsOf(const std::string& backupFolder, const std::string& storeFolder) {
    std::vector<Item> items;
    for (const char* base : {"id", "point", "info"}) {
        const isam::FileSet backup = isam::FileSetPaths(backupFolder + "/" + base);
        const isam::FileSet live = isam::FileSetPaths(storeFolder + "/" + base);
        items.push_back({backup.data, live.data, live.companions});
        items.push_back({backup.index, live.index, {}});
    }
    return items;
}

// Puts back what an interrupted reset left: a set-aside file whose live file
// is missing goes back; other set-aside files and temporary copies go.
void recoverInterrupted(const std::vector<Item>& items) {
    for (const Item& item : items) {
        std::vector<std::string> paths = item.companions;
        paths.push_back(item.live);
        for (const std::string& path : paths) {
            const std::string aside = path + kSetAsideSuffix;
            if (!present(aside)) continue;
            if (present(path) || ::rename(aside.c_str(), path.c_str()) != 0)
                ::unlink(aside.c_str());
        }
        ::unlink(temporaryOf(item.live).c_str());
    }
}

} // namespace

TResetCalls& ResetCalls() {
    static TResetCalls calls = realCalls();
    return calls;
}

void RestoreResetCalls() {
    ResetCalls() = realCalls();
}

std::string UserStoreDirectory(const std::string& installationDir) {
    if (installationDir.empty()) return installationDir;
    const std::string ini = ExistingPath(AddBackslash(installationDir) + "SOLVNV.INI");
    TMemoIni settings;
    if (!ini.empty() && settings.LoadFromFile(ini)) {
        const std::string root = TrimBlanks(settings.MemoIniRead("DIRECTORY", "DBROOT", "", false));
        if (!root.empty()) return root;
    }
    return installationDir;
}

TResetResult ResetUserDatabase(const std::string& installationDir, const std::string& storeDir) {
    TResetResult r;
    auto fail = [&r](const std::string& file, int error) {
        r.Outcome = TResetOutcome::Failed;
        r.File = file;
        r.Error = error;
        return r;
    };
    if (ResetCalls().navigatorRunning && ResetCalls().navigatorRunning()) {
        r.Outcome = TResetOutcome::NavigatorRunning;
        return r;
    }
    if (installationDir.empty()) return fail("BACKUP", ENOENT);
    const std::string backupText = AddBackslash(installationDir) + "BACKUP";
    const std::string backupFolder = ExistingPath(backupText);
    if (backupFolder.empty() || !DirExists(backupText)) return fail(backupText, ENOENT);
    const std::string store = storeDir.empty() ? installationDir : storeDir;
    const std::string storeFolder = ExistingPath(store, AddBackslash(installationDir));
    if (storeFolder.empty() || !DirExists(store, AddBackslash(installationDir)))
        return fail(store, ENOENT);

    const std::vector<Item> items = itemsOf(backupFolder, storeFolder);
    // Every backup is there before anything changes.
    for (const Item& item : items)
        if (!regularFile(item.backup)) return fail(textOf(item.backup), ENOENT);

    recoverInterrupted(items);

    // The copies, flushed, beside the live files.
    std::vector<std::string> temporaries;
    auto dropTemporaries = [&temporaries] {
        for (const std::string& t : temporaries)
            ::unlink(t.c_str());
    };
    for (const Item& item : items) {
        const std::string temporary = temporaryOf(item.live);
        if (!ResetCalls().copyFile(item.backup, temporary)) {
            const int error = errno;
            ::unlink(temporary.c_str());
            dropTemporaries();
            return fail(textOf(item.backup), error);
        }
        temporaries.push_back(temporary);
        // The store must be writable, whatever the backup's mode.
        struct stat st;
        if (::stat(temporary.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
            ::chmod(temporary.c_str(), (st.st_mode & 07777) | S_IWUSR);
    }

    // Old files and journals aside, copies into place; every rename is logged
    // so that a failure can undo them in reverse.
    std::vector<std::pair<std::string, std::string>> done;
    auto move = [&done](const std::string& from, const std::string& to) {
        if (ResetCalls().rename(from.c_str(), to.c_str()) != 0) return false;
        done.emplace_back(from, to);
        return true;
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        bool moved = true;
        for (const std::string& companion : item.companions)
            if (moved && present(companion)) moved = move(companion, companion + kSetAsideSuffix);
        if (moved && present(item.live)) moved = move(item.live, item.live + kSetAsideSuffix);
        if (moved) moved = move(temporaries[i], item.live);
        if (!moved) {
            const int error = errno;
            for (auto it = done.rbegin(); it != done.rend(); ++it)
                ResetCalls().rename(it->second.c_str(), it->first.c_str());
            dropTemporaries();
            syncFolder(storeFolder);
            return fail(textOf(item.live), error);
        }
    }
    for (const auto& [from, to] : done)
        if (to.ends_with(kSetAsideSuffix)) ::unlink(to.c_str());
    syncFolder(storeFolder);
    return r;
}
