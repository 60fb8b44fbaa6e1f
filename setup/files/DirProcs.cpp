#include "files/DirProcs.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "text/SetupMessages.h"

#include "os/codePage.h"
#include "os/dirSearch.h"
#include "os/drives.h"
#include "os/findNoCase.h"

#include <dirent.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

TTreeCalls realCalls() {
    return {[](const char* path, struct stat* st) { return ::lstat(path, st); },
            [](const char* path, mode_t mode) { return ::chmod(path, mode); },
            [](const char* path) { return ::unlink(path); },
            [](const char* path) { return ::rmdir(path); }};
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The names in `folder` (a Linux path), hidden ones and links included, in
// byte order. False when the folder cannot be read.
bool listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    // The search keeps the folder in a buffer of 4096 bytes.
    if (folder.size() + 2 >= 4096) return false;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return false;
    ::closedir(d);
    os::DirSearch search;
    os::FindData found;
    const std::string pattern = joined(folder, "*.*");
    const unsigned all = os::kAttrDirectory | os::kAttrHidden | os::kAttrSystem | os::kAttrLink;
    for (int r = search.first(pattern.c_str(), all, found); r == 0; r = search.next(found))
        names.emplace_back(found.name);
    std::sort(names.begin(), names.end());
    return true;
}

// Adds the owner's write bit to an entry the user owns; true when it is (or
// already was) writable for its owner.
bool makeWritable(const std::string& path, const struct stat& st) {
    if (st.st_mode & S_IWUSR) return true;
    if (st.st_uid != ::geteuid()) return false;
    return TreeCalls().chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

void measure(const std::string& folder, dev_t device, TDirInfo& info) {
    if (info.MaxBytes > 0 && info.Bytes >= info.MaxBytes) return;
    std::vector<std::string> names;
    if (!listFolder(folder, names)) {
        ++info.Failures;
        return;
    }
    for (const std::string& name : names) {
        const std::string path = joined(folder, name);
        struct stat st;
        if (TreeCalls().lstat(path.c_str(), &st) != 0) {
            ++info.Failures;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (st.st_dev != device) continue; // another file system
            if (info.ClearReadOnly && !makeWritable(path, st)) ++info.Failures;
            measure(path, device, info);
        } else if (S_ISREG(st.st_mode)) {
            ++info.Files;
            info.Bytes += double(st.st_size);
            if (info.ClearReadOnly && !makeWritable(path, st)) ++info.Failures;
        }
    }
}

bool removeContents(const std::string& folder, const std::string& text, char separator,
                    dev_t device, const TDeleteFailure& onFailure) {
    std::vector<std::string> names;
    if (!listFolder(folder, names)) return false;
    bool whole = true;
    for (const std::string& name : names) {
        const std::string path = joined(folder, name);
        const std::string childText = text + separator + os::utf8ToCp1252(name);
        struct stat st;
        if (TreeCalls().lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) whole = false;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            // A folder of another file system is not entered; removing it
            // fails while it is mounted.
            if (st.st_dev == device &&
                !removeContents(path, childText, separator, device, onFailure))
                whole = false;
            if (TreeCalls().rmdir(path.c_str()) != 0) {
                const int error = errno;
                whole = false;
                if (onFailure) onFailure(childText, error);
            }
        } else if (TreeCalls().unlink(path.c_str()) != 0 && errno != ENOENT) {
            whole = false;
        }
    }
    return whole;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "";
}

// A Linux path made absolute, "." and ".." resolved by their text, without a
// trailing separator.
std::string normalLinux(const std::string& path) {
    std::filesystem::path p(path);
    std::error_code ec;
    if (p.is_relative()) p = std::filesystem::current_path(ec) / p;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

// The path and, when it exists, its resolved form.
std::vector<std::string> pathForms(const std::string& path) {
    std::vector<std::string> forms = {path};
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) && forms[0] != resolved) forms.emplace_back(resolved);
    return forms;
}

bool unsafeLinuxRoot(const std::string& linuxPath) {
    if (linuxPath.empty()) return true;
    const std::string path = normalLinux(linuxPath);
    std::vector<std::string> roots;
    for (char letter : os::driveLetters())
        for (const std::string& form : pathForms(normalLinux(os::driveRoot(letter))))
            roots.push_back(form);
    std::vector<std::string> homes;
    if (const std::string home = homeFolder(); !home.empty()) homes = pathForms(normalLinux(home));
    for (const std::string& form : pathForms(path)) {
        if (form == "/") return true;
        if (std::find(roots.begin(), roots.end(), form) != roots.end()) return true;
        for (const std::string& home : homes)
            if (home == form || home.rfind(form + "/", 0) == 0) return true;
    }
    return false;
}

} // namespace

TTreeCalls& TreeCalls() {
    static TTreeCalls calls = realCalls();
    return calls;
}

void ResetTreeCalls() {
    TreeCalls() = realCalls();
}

int DirInfo(const std::string& dir, bool clearReadOnly, TDirInfo& info) {
    info.Files = 0;
    info.Bytes = 0;
    info.Failures = 0;
    info.ClearReadOnly = clearReadOnly;
    const std::string root = ExistingPath(dir);
    struct stat st;
    if (root.empty() || ::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return -1;
    DIR* d = ::opendir(root.c_str());
    if (!d) return -1;
    ::closedir(d);
    if (clearReadOnly && !makeWritable(root, st)) ++info.Failures;
    measure(root, st.st_dev, info);
    return 0;
}

int ClearReadOnlyTree(std::int64_t& counter, const std::string& dir) {
    TDirInfo info;
    if (DirInfo(dir, true, info) != 0) return 1;
    counter += info.Files;
    return int(std::min<std::int64_t>(info.Failures, INT_MAX));
}

bool IsUnsafeTreeRoot(const std::string& dir) {
    return unsafeLinuxRoot(NormalLocalPath(dir));
}

bool DeleteTree(const std::string& dir, const TDeleteFailure& onFailure) {
    if (IsUnsafeTreeRoot(dir)) return false;
    std::string path = LocalPath(dir);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::string root = os::findNoCase(path);
    struct stat st;
    if (root.empty()) {
        if (TreeCalls().lstat(path.c_str(), &st) != 0) return true; // nothing there
        root = path;                                                // a dangling link
    } else if (TreeCalls().lstat(root.c_str(), &st) != 0) {
        return errno == ENOENT;
    }
    if (unsafeLinuxRoot(root)) return false;
    const std::string text = RemoveBackslash(dir);
    if (!S_ISDIR(st.st_mode)) {
        // A link (or a file) in place of the folder goes itself.
        if (TreeCalls().unlink(root.c_str()) == 0 || errno == ENOENT) return true;
        const int error = errno;
        if (onFailure) onFailure(text, error);
        return false;
    }
    const char separator = dir[0] == '/' ? '/' : '\\';
    bool whole = removeContents(root, text, separator, st.st_dev, onFailure);
    if (TreeCalls().rmdir(root.c_str()) != 0) {
        const int error = errno;
        if (onFailure) onFailure(text, error);
        whole = false;
    }
    return whole;
}

bool DeleteTree(const std::string& dir) {
    return DeleteTree(dir, [](const std::string& text, int error) {
        ShowSetupMessage("ERRROR (" + std::to_string(error) + ") deleting " + text);
    });
}
