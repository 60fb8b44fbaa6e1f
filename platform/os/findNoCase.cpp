#include "os/findNoCase.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>

namespace os {

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// The entry of dir that equals name up to case; "" when none.
std::string matchInDirectory(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return "";
    std::string best;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view entry(e->d_name);
        if (equalNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    ::closedir(d);
    return best;
}

} // namespace

std::string findNoCase(const std::string& path) {
    if (path.empty()) return "";
    if (exists(path)) return path;
    std::string done; // the resolved prefix, ending in '/' unless empty
    std::size_t pos = 0;
    if (path[0] == '/') {
        done = "/";
        pos = 1;
    }
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string::npos) slash = path.size();
        const std::string part = path.substr(pos, slash - pos);
        const bool last = slash == path.size();
        if (part.empty() || part == "." || part == "..") {
            done += part;
        } else if (exists(done + part)) {
            done += part;
        } else {
            const std::string match = matchInDirectory(done, part);
            if (match.empty()) return "";
            done += match;
        }
        if (last) break;
        done += '/';
        pos = slash + 1;
    }
    return exists(done) ? done : "";
}

} // namespace os
