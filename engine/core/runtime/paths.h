// Folder path normalisation and the volume serial number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" {

// A normalised folder path: the path's characters with control characters
// (codes 0-31 and 127) dropped and every '\' turned into '/', case kept, and
// a '/' appended unless the result is empty or ends in ':' or '/'. At most
// 254 characters of the path are kept (so the result has at most 255).
// buffer null: the result is a new char array of its length + 1, owned by
// the caller (release with delete[]), null when it cannot be allocated.
// Otherwise buffer must hold 256 bytes; the result is copied there and buffer
// is returned. A null path gives null.
// Examples: "/data/charts" -> "/data/charts/", "A:" -> "A:", "" -> "".
char* newPath(const char* path, char* buffer);

// Always 0, with no other effect; the arguments are not used. Linux volumes
// have no serial number that the engine relies on.
int getVolSerNum(const char* root, std::uint32_t* serial);
}

// newPath into a buffer of `capacity` bytes. When the result (with its
// terminator) does not fit, buffer gets an empty string and the answer is
// null, since a cut folder path would name another folder. Null also when
// path or buffer is null or capacity is 0.
char* newPath(const char* path, char* buffer, std::size_t capacity);

// The normalised folder path of newPath, of any length (nothing is cut). A
// null path gives "".
std::string folderPath(const char* path);
