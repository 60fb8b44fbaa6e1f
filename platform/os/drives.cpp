#include "os/drives.h"

#include "os/codePage.h"
#include "os/platformFile.h"
#include "os/textFiles.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <mutex>
#include <vector>

namespace os {

namespace {

struct Drive {
    std::string root;
    DriveType type = DriveType::NoRootDir;
};

struct DriveTable {
    std::mutex mutex;
    bool built = false;
    std::string mountInfoPath = "/proc/self/mountinfo";
    std::string platformPath; // empty: the process's platform file, read once
    std::array<Drive, 26> drives;
    std::function<std::int64_t(const std::string&)> diskFree;
};

// Never destroyed: paths may be mapped while the process ends.
DriveTable& table() {
    static auto* t = new DriveTable;
    return *t;
}

int letterIndex(char letter) {
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    return -1;
}

std::string withoutTrailingSlash(std::string root) {
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

// Undoes the octal escapes (\040 for a blank) of a mountinfo field.
std::string unescapeMountField(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
            field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// Mount points of iso9660 and udf file systems, sorted, without repeats.
std::vector<std::string> cdRomMounts(const std::string& mountInfoPath) {
    std::vector<std::string> lines;
    std::vector<std::string> mounts;
    if (!readTextLines(mountInfoPath, lines)) return mounts;
    for (const std::string& line : lines) {
        std::vector<std::string> fields;
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t end = std::min(line.find(' ', pos), line.size());
            if (end > pos) fields.push_back(line.substr(pos, end - pos));
            pos = end + 1;
        }
        // id parent major:minor root mount-point options [optional...] - type source ...
        const auto dash = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || dash == fields.end() || dash + 1 == fields.end()) continue;
        const std::string& type = *(dash + 1);
        if (type == "iso9660" || type == "udf") mounts.push_back(unescapeMountField(fields[4]));
    }
    std::sort(mounts.begin(), mounts.end());
    mounts.erase(std::unique(mounts.begin(), mounts.end()), mounts.end());
    return mounts;
}

void build(DriveTable& t) {
    for (Drive& d : t.drives)
        d = Drive{};
    const PlatformSettings fromFile =
        t.platformPath.empty() ? platformSettings() : readPlatformFile(t.platformPath);
    for (const PlatformDrive& p : fromFile.drives) {
        Drive& d = t.drives[static_cast<std::size_t>(letterIndex(p.letter))];
        if (d.root.empty()) d = Drive{withoutTrailingSlash(p.root), p.type};
    }
    if (t.drives[2].root.empty()) t.drives[2] = Drive{"/", DriveType::Fixed};
    std::size_t next = 3; // D
    for (const std::string& mount : cdRomMounts(t.mountInfoPath)) {
        const std::string root = withoutTrailingSlash(mount);
        const bool known = std::any_of(t.drives.begin(), t.drives.end(),
                                       [&](const Drive& d) { return d.root == root; });
        if (known) continue;
        while (next < t.drives.size() && !t.drives[next].root.empty())
            ++next;
        if (next == t.drives.size()) break;
        t.drives[next] = Drive{root, DriveType::CdRom};
    }
    t.built = true;
}

Drive driveOf(char letter) {
    const int i = letterIndex(letter);
    if (i < 0) return Drive{};
    DriveTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!t.built) build(t);
    return t.drives[static_cast<std::size_t>(i)];
}

// An absolute path with "." and ".." parts resolved by their text and repeated
// "/" collapsed; a trailing "/" is kept.
std::string absoluteByText(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        std::string here;
        if (char* cwd = ::getcwd(nullptr, 0)) {
            here = cwd;
            ::free(cwd);
        }
        full = here + "/" + full;
    }
    std::vector<std::string> parts;
    std::size_t pos = 0;
    bool trailing = false;
    while (pos <= full.size()) {
        const std::size_t end = std::min(full.find('/', pos), full.size());
        const std::string part = full.substr(pos, end - pos);
        trailing = part.empty() || part == "." || part == "..";
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    std::string out;
    for (const std::string& part : parts)
        out += "/" + part;
    if (out.empty()) return "/";
    if (trailing) out += "/";
    return out;
}

} // namespace

DriveType driveType(char letter) {
    return driveOf(letter).type;
}

std::string driveRoot(char letter) {
    return driveOf(letter).root;
}

std::string driveLetters() {
    std::string letters;
    for (char c = 'A'; c <= 'Z'; ++c)
        if (!driveOf(c).root.empty()) letters += c;
    return letters;
}

void setDrive(char letter, const std::string& root, DriveType type) {
    const int i = letterIndex(letter);
    if (i < 0) return;
    DriveTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!t.built) build(t);
    t.drives[static_cast<std::size_t>(i)] =
        root.empty() ? Drive{} : Drive{withoutTrailingSlash(root), type};
}

void resetDrives() {
    DriveTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.built = false;
    t.mountInfoPath = "/proc/self/mountinfo";
    t.platformPath.clear();
}

void resetDrives(const std::string& mountInfoPath, const std::string& platformFilePath) {
    DriveTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.mountInfoPath = mountInfoPath;
    t.platformPath = platformFilePath;
    build(t);
}

std::string localPath(const std::string& text) {
    std::string path = cp1252ToUtf8(text);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.size() < 2 || path[1] != ':' || letterIndex(path[0]) < 0) return path;
    const std::string root = driveRoot(path[0]);
    if (root.empty()) return "";
    std::string rest = path.substr(2);
    if (rest.empty()) return root;
    if (rest[0] != '/') rest.insert(rest.begin(), '/');
    return root == "/" ? rest : root + rest;
}

std::string windowsPath(const std::string& path) {
    // A "\" inside a Linux name would read back as a separator.
    if (path.empty() || path.find('\\') != std::string::npos) return "";
    const std::string full = absoluteByText(path);
    char bestLetter = 0;
    std::size_t bestLength = 0;
    for (char c = 'A'; c <= 'Z'; ++c) {
        const std::string root = driveRoot(c);
        if (root.empty()) continue;
        const bool holds = root == "/" || full == root ||
                           (full.compare(0, root.size(), root) == 0 && full[root.size()] == '/');
        if (holds && (bestLetter == 0 || root.size() > bestLength)) {
            bestLetter = c;
            bestLength = root.size();
        }
    }
    std::string text = full;
    if (bestLetter) {
        std::string rest = bestLength == 1 ? full : full.substr(bestLength);
        if (rest.empty()) rest = "/";
        std::replace(rest.begin(), rest.end(), '/', '\\');
        text = std::string(1, bestLetter) + ":" + rest;
    }
    bool exact = false;
    std::string converted = utf8ToCp1252(text, &exact);
    return exact ? converted : "";
}

std::int64_t diskFreeBytes(const std::string& path) {
    std::function<std::int64_t(const std::string&)> replaced;
    {
        DriveTable& t = table();
        std::lock_guard<std::mutex> lock(t.mutex);
        replaced = t.diskFree;
    }
    if (replaced) return replaced(path);
    struct statvfs st;
    if (::statvfs(path.c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.f_bavail) * static_cast<std::int64_t>(st.f_frsize);
}

void setDiskFreeBytesFunction(std::function<std::int64_t(const std::string&)> function) {
    DriveTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.diskFree = std::move(function);
}

std::string programPath() {
    std::string buffer(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return "";
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

std::string programDirectory() {
    const std::string path = programPath();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace os
