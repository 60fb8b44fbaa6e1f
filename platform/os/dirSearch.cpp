#include "os/dirSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace os {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool matchFrom(const char* mask, const char* name) {
    // Iterative wildcard match with one back-track point for the last '*'.
    const char* starMask = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*mask == '*') {
            starMask = ++mask;
            starName = name;
        } else if (*mask == '?' || (*mask && lowerAscii(*mask) == lowerAscii(*name))) {
            ++mask;
            ++name;
        } else if (starMask) {
            mask = starMask;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask == '\0';
}

} // namespace

bool matchMask(const char* mask, const char* name) {
    if (!mask || !name) return false;
    if (std::strcmp(mask, "*.*") == 0) return true;
    return matchFrom(mask, name);
}

DirSearch::~DirSearch() {
    close();
}

void DirSearch::close() {
    if (dir_) closedir(static_cast<DIR*>(dir_));
    dir_ = nullptr;
}

int DirSearch::first(const char* pattern, unsigned attributes, FindData& found) {
    close();
    if (!pattern) return -1;
    const char* slash = std::strrchr(pattern, '/');
    const char* mask = slash ? slash + 1 : pattern;
    std::size_t folderLength = slash ? std::size_t(slash - pattern) : 0;
    if (std::strlen(mask) >= sizeof mask_ || folderLength + 1 >= sizeof folder_) return -1;
    if (!slash) {
        std::strcpy(folder_, ".");
    } else if (folderLength == 0) {
        std::strcpy(folder_, "/");
    } else {
        std::memcpy(folder_, pattern, folderLength);
        folder_[folderLength] = '\0';
    }
    std::strcpy(mask_, mask);
    attributes_ = attributes;
    dir_ = opendir(folder_);
    if (!dir_) return -1;
    return next(found);
}

int DirSearch::next(FindData& found) {
    if (!dir_) return -1;
    // Read-only and archive never exclude an entry.
    const unsigned allowed = attributes_ | kAttrReadOnly | kAttrArchive;
    while (const dirent* entry = readdir(static_cast<DIR*>(dir_))) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (std::strlen(name) >= sizeof found.name || !matchMask(mask_, name)) continue;
        char path[sizeof folder_ + sizeof found.name + 1];
        std::snprintf(path, sizeof path, "%s/%s", folder_, name);
        struct stat st;
        unsigned attrs = 0;
        if ((attributes_ & kAttrLink) && lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
            attrs = kAttrLink; // a link is never entered as the folder it may name
        } else if (stat(path, &st) != 0) {
            continue;
        } else if (S_ISDIR(st.st_mode)) {
            attrs |= kAttrDirectory;
        } else {
            attrs |= kAttrArchive;
        }
        if (name[0] == '.') attrs |= kAttrHidden;
        if (!(attrs & kAttrLink) && !(st.st_mode & S_IWUSR)) attrs |= kAttrReadOnly;
        if (attrs & ~allowed) continue;
        std::strcpy(found.name, name);
        found.attributes = attrs;
        found.size = S_ISREG(st.st_mode) ? std::uint64_t(st.st_size) : 0;
        found.modified = std::int64_t(st.st_mtime);
        return 0;
    }
    return -1;
}

} // namespace os
