// A file's attributes, size and date-time in the unpacked DOS form, for one
// path or for the next match of a running folder search.
//
// Engine only (it uses the runtime's folder search); the tide library's build
// of the utility unit does not carry it.
#pragma once

#include "runtime/FileSearcher.h"

#include <cstdint>

struct FileInfo {
    char name[256];       // the found name, without folder
    unsigned attributes;  // os::kAttr* bits (0x01 read-only, 0x02 hidden, 0x10 folder, 0x20 file)
    std::uint64_t size;   // bytes; 0 for folders
    int day, month, year; // 1-31, 1-12, 1980-2107
    int hours, minutes, seconds; // 0-23, 0-59, 0-58 in steps of 2
};

// The entry named by path (a folder path and a name separated by the last
// '/'; the name may be a mask with '*' and '?', and is matched without regard
// to case, so the first match is taken). Folders and dot-names are found too.
// The date and time are those of the DOS directory entry built from the last
// modification time in UTC: two-second steps, and times before 1980 or after
// 2107 held at the first or last moment that form can show. Returns 1 and
// fills info; returns 0 (info unchanged) when nothing is found or an argument
// is null.
int fileInfo(const char* path, FileInfo* info);

// The same for the next match of a search started with search.first.
// Returns 0 when the search has no further match.
int fileInfo(FileSearcher& search, FileInfo* info);
