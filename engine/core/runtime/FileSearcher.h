// Finds the entries of a folder whose names match a mask, one at a time.
#pragma once

#include "os/dirSearch.h"

// The found entry's data (name, attributes, size, modification time) are the
// object's own fields after each successful first or next. Chart folders and
// files are named in any case, so the mask is matched without regard to ASCII
// case. Not copyable; holds its folder open until destroyed or searched anew.
class FileSearcher : public os::FindData {
  public:
    FileSearcher() : os::FindData{} {}

    // Starts a search: mask is a folder path and a name mask separated by the
    // last '/' ("/charts/B1/*.INF"; '*' any run, '?' one character; "*.*"
    // every name). attributes selects what else is returned besides plain
    // files: os::kAttrDirectory (0x10) folders, os::kAttrHidden (0x02) names
    // starting with '.'; "." and ".." never. 0 when an entry was found (its
    // data then fill the object), -1 when nothing matches or the folder cannot
    // be read.
    int first(const char* mask, int attributes);

    // 0 and the following entry's data, or -1 when there is none.
    int next();

  private:
    os::DirSearch search_;
};
