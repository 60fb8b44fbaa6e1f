// Whole text files as lines, files replaced atomically, and file copies.
//
// Text is bytes: nothing is converted. Writers never leave a half-written file
// in place of a good one: they write a temporary file in the target's folder,
// flush it and rename it over the target.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace os {

// Reads the file at `path` (a Linux path) into `lines`, replacing what they
// held. LF, CR LF and a lone CR each end a line; a last line without an end
// counts, and no empty line follows a final end (an empty file has no lines).
// Bytes 0x80 to 0xFF and NUL are kept. False, with errno set and `lines`
// empty, when the file cannot be opened or read.
bool readTextLines(const std::string& path, std::vector<std::string>& lines);

// Writes every line followed by CR LF to `path`, replacing the file
// atomically (see replaceFileContents). False, with errno set, on failure; the
// old file is then unchanged.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

// Replaces the contents of the file at `path` with `bytes`: they go to a
// temporary file in the target's folder, which is flushed and renamed over the
// target, and the folder is flushed. A symbolic link stays a link and its final
// target gets the bytes; a dangling link fails. `mode` gives the new file's
// permission bits; with -1 a replaced file keeps its bits (and, where the
// process may, its owner) and a new one gets 0666 less the umask. False, with
// errno set, on failure; the old file is then unchanged byte for byte and no
// temporary file is left.
bool replaceFileContents(const std::string& path, std::string_view bytes, int mode = -1);

// Copies the regular file `from` to `to`. The copy gets the source's
// permission bits (a read-only source gives a read-only copy). With
// `failIfExists` an existing `to` is an error (EEXIST); otherwise it is
// overwritten, unless it is read-only for its owner (EACCES), not a regular
// file (EISDIR) or the source itself (EINVAL). With `sync` the copy is flushed
// to the disk before the return. False, with errno set, on failure; no partial
// target is left (a target that was being overwritten is gone). Callers that
// need the old target kept on failure copy to a temporary name and rename.
bool copyFile(const std::string& from, const std::string& to, bool failIfExists, bool sync);

// The system calls through which the writers above change files. Tests
// replace them to inject failures (a full disk, a refused rename) and put them
// back with resetFileCalls(); not to be changed while other threads write.
struct FileCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    ssize_t (*copyFileRange)(int in, off_t* inOffset, int out, off_t* outOffset, std::size_t size,
                             unsigned flags);
    int (*rename)(const char* from, const char* to);
};
FileCalls& fileCalls();
void resetFileCalls();

} // namespace os
