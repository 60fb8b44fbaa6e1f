#include "files/SetupPaths.h"

#include "files/Backslash.h"

#include "os/codePage.h"
#include "os/drives.h"
#include "os/findNoCase.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string_view>
#include <vector>

namespace {

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDriveForm(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' && isLetter(text[0]);
}

bool isRelative(const std::string& text) {
    return !text.empty() && text[0] != '/' && text[0] != '\\' && !isDriveForm(text);
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

enum class Kind { Folder, NotFolder, RegularFile };

bool hasKind(const std::string& path, Kind kind) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    switch (kind) {
    case Kind::Folder:
        return S_ISDIR(st.st_mode);
    case Kind::NotFolder:
        return !S_ISDIR(st.st_mode);
    case Kind::RegularFile:
        return S_ISREG(st.st_mode);
    }
    return false;
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The name in `folder` that equals `name` up to ASCII case and has `kind`:
// the exact spelling first, then the first in byte order. "" when none.
std::string nameInFolder(const std::string& folder, const std::string& name, Kind kind) {
    if (hasKind(joined(folder, name), kind)) return name;
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return "";
    std::vector<std::string> matches;
    while (const dirent* e = ::readdir(d))
        if (equalNoCase(e->d_name, name) && name != e->d_name) matches.emplace_back(e->d_name);
    ::closedir(d);
    std::string best;
    for (const std::string& m : matches)
        if ((best.empty() || m < best) && hasKind(joined(folder, m), kind)) best = m;
    return best;
}

// The existing entry of `kind` that the Linux path names, found component by
// component without regard to ASCII case; "" when none.
std::string findLocal(std::string path, Kind kind) {
    if (path.empty()) return "";
    const bool endsInSeparator = path.back() == '/';
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path == "/") return kind == Kind::Folder ? path : "";
    if (endsInSeparator && kind != Kind::Folder) return "";
    const std::size_t slash = path.rfind('/');
    const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string folder;
    if (slash == 0) {
        folder = "/";
    } else if (slash != std::string::npos) {
        folder = os::findNoCase(path.substr(0, slash));
        if (folder.empty() || !hasKind(folder, Kind::Folder)) return "";
    }
    if (last == "." || last == "..") {
        const std::string whole = joined(folder, last);
        return hasKind(whole, kind) ? whole : "";
    }
    const std::string name = nameInFolder(folder, last, kind);
    return name.empty() ? "" : joined(folder, name);
}

std::string withoutExe(const std::string& name) {
    if (name.size() > 4 && equalNoCase(std::string_view(name).substr(name.size() - 4), ".exe"))
        return name.substr(0, name.size() - 4);
    return name;
}

// The Linux path made absolute against the current directory, "." and ".."
// resolved by their text, without a trailing separator.
std::string normalPath(const std::string& path) {
    std::filesystem::path p(path);
    if (p.is_relative()) p = std::filesystem::path(currentDirectory()) / p;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

} // namespace

std::string LocalPath(const std::string& text, const std::string& base) {
    if (text.empty()) return "";
    const std::string path = os::localPath(text);
    if (path.empty() || !isRelative(text) || base.empty()) return path;
    std::string root = LocalPath(base);
    if (root.empty()) return "";
    return joined(root, path);
}

char CurrentDrive() {
    const std::string cwd = currentDirectory();
    if (cwd.empty()) return 'C';
    const std::string text = os::windowsPath(cwd);
    return isDriveForm(text) ? upperAscii(text[0]) : 'C';
}

std::string ExistingPath(const std::string& text, const std::string& base) {
    std::string path = LocalPath(text, base);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path.empty() ? "" : os::findNoCase(path);
}

bool FileExists(const std::string& text, const std::string& base) {
    return !findLocal(LocalPath(text, base), Kind::NotFolder).empty();
}

bool DirExists(const std::string& text, const std::string& base) {
    return !findLocal(LocalPath(text, base), Kind::Folder).empty();
}

std::string NormalLocalPath(const std::string& text, const std::string& base) {
    const std::string path = LocalPath(text, base);
    return path.empty() ? "" : normalPath(path);
}

bool SamePath(const std::string& a, const std::string& b, const std::string& base) {
    const std::string pa = NormalLocalPath(a, base);
    return !pa.empty() && pa == NormalLocalPath(b, base);
}

bool ProgramFileNameMatches(const std::string& fileName, const std::string& name) {
    if (name.empty()) return false;
    return equalNoCase(fileName, name) || equalNoCase(fileName, withoutExe(name)) ||
           (equalNoCase(name, "solvnvl.exe") && equalNoCase(fileName, "vardekka"));
}

std::string ProgramFilePath(const std::string& dir, const std::string& name) {
    if (dir.empty() || name.empty()) return "";
    const std::string folder = findLocal(LocalPath(dir), Kind::Folder);
    if (folder.empty()) return "";
    std::vector<std::string> candidates = {name};
    if (withoutExe(name) != name) candidates.push_back(withoutExe(name));
    if (equalNoCase(name, "solvnvl.exe")) candidates.emplace_back("vardekka");
    for (const std::string& candidate : candidates) {
        const std::string found =
            nameInFolder(folder, os::cp1252ToUtf8(candidate), Kind::RegularFile);
        if (!found.empty()) return AddBackslash(dir) + os::utf8ToCp1252(found);
    }
    return "";
}

bool ProgramFileExists(const std::string& dir, const std::string& name) {
    return !ProgramFilePath(dir, name).empty();
}
