// Directory search in the manner of a find-first/find-next run-time search:
// the entries of one folder whose names match a mask, filtered by attribute.
#pragma once

#include <cstdint>

namespace os {

// Attribute bits of a found entry and of the search's attribute argument.
enum : unsigned {
    kAttrReadOnly = 0x01, // the owner may not write it
    kAttrHidden = 0x02,   // the name starts with '.'
    kAttrSystem = 0x04,   // never set on Linux
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20, // set for every regular file
    kAttrLink = 0x400,   // a symbolic link, returned as itself (only when asked for)
};

// One found entry.
struct FindData {
    char name[256];        // the name as stored on disk, without folder
    unsigned attributes;   // kAttr* bits
    std::uint64_t size;    // bytes; 0 for folders
    std::int64_t modified; // last modification, seconds since 1970-01-01 UTC
};

// True when name matches mask: '*' matches any run of characters (also none),
// '?' exactly one character, every other character itself without regard to
// ASCII case. The mask "*.*" matches every name, also names without a dot.
bool matchMask(const char* mask, const char* name);

// A search over one folder. Not copyable; closes its folder when destroyed.
class DirSearch {
  public:
    DirSearch() = default;
    ~DirSearch();
    DirSearch(const DirSearch&) = delete;
    DirSearch& operator=(const DirSearch&) = delete;

    // Starts a search. pattern is a folder path and a name mask separated by
    // the last '/' ("charts/B1/*.inf"; no '/' means the current folder). The
    // folder part is taken as it stands; the mask is matched with matchMask.
    // Entries are returned when their attribute bits, apart from read-only and
    // archive, are all in `attributes`: folders need kAttrDirectory, names
    // starting with '.' need kAttrHidden; "." and ".." are never returned.
    // Without kAttrLink a symbolic link is followed and found as what it names,
    // and one whose status cannot be read (a dangling link) is skipped. With
    // kAttrLink every symbolic link, dangling or not, is found as itself:
    // kAttrLink (never kAttrDirectory), size 0, the link's own time.
    // 0 and the first entry in `found`, or -1 when nothing matches or the
    // folder cannot be read. A previous search of this object is closed first.
    int first(const char* pattern, unsigned attributes, FindData& found);

    // 0 and the next matching entry in `found`, or -1 when there is none (or
    // no search was started).
    int next(FindData& found);

    // Ends the search; next then gives -1.
    void close();

  private:
    void* dir_ = nullptr; // DIR*
    char folder_[4096] = {};
    char mask_[256] = {};
    unsigned attributes_ = 0;
};

} // namespace os
