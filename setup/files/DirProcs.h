// Walkers over directory trees: measuring, removing write protection, and
// deleting. The chart copy uses all three; the tabs remove write protection
// from a chart tree.
//
// The walk: the entries of each folder are listed with os::DirSearch, hidden
// ones included, and handled in byte order of their names; subfolders are
// walked depth first. Every walker:
// - finds its root by the path model (files/SetupPaths.h): a directory text,
//   found without regard to ASCII case; a root that is itself a symbolic
//   link is taken as the folder it names, except by DeleteTree, which
//   removes the link;
// - never follows a symbolic link inside the tree: a link is neither counted
//   nor entered, and DeleteTree removes the link itself, never what it names;
// - never enters another mounted file system inside the tree (a folder whose
//   device number, read without following links, differs from the root's);
// - skips special files (pipes, sockets, devices) except when deleting.
//
// Read-only is the owner's write bit. Removing it means adding that bit, to
// files and to folders alike: a tree copied from a CD has read-only folders,
// and a folder without write permission cannot be emptied. Only entries the
// user owns are changed; a read-only entry of another owner, or a change that
// fails, counts as a failure and the walk goes on.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

// What DirInfo measures.
struct TDirInfo {
    std::int64_t Files = 0;     // regular files counted
    double Bytes = 0;           // their total size in bytes
    double MaxBytes = 0;        // byte limit; 0 = none (set by the caller)
    bool ClearReadOnly = false; // write protection is removed while walking
    std::int64_t Failures = 0;  // folders that could not be read, entries not made writable
};

// Measures the tree of `dir` (a directory text). The counters start at 0; every
// regular file adds 1 to Files and its size to Bytes; with clearReadOnly set
// (copied into info) every file and folder of the tree, the root included, is
// made writable for its owner. When MaxBytes is set, the walk of a folder does
// not start once Bytes has reached it (files already listed in the folder
// being walked are still counted). -1 with the counters at 0 when dir is no
// folder or cannot be read; else 0.
int DirInfo(const std::string& dir, bool clearReadOnly, TDirInfo& info);

// Makes every file and folder of the tree of `dir`, the root included,
// writable for its owner, and adds the number of regular files to `counter`.
// Answers the number of failures (a missing or unreadable root is one).
int ClearReadOnlyTree(std::int64_t& counter, const std::string& dir);

// True when the tree of `dir` must never be deleted or walked for changes: a
// text naming nothing, "/", the root folder of any drive in the table, the home
// folder ($HOME, else the user database's) or any folder that contains it.
// Both the path as written and its resolved form are checked.
bool IsUnsafeTreeRoot(const std::string& dir);

// Called for each folder that could not be removed, with its text (the
// directory text followed by the names below it, no trailing separator) and
// errno.
using TDeleteFailure = std::function<void(const std::string& text, int error)>;

// Deletes the tree of `dir` and the folder itself, depth first: files and
// links are removed, each subfolder after its content. A folder that cannot
// be removed is reported to onFailure and the walk goes on; a file that cannot
// be removed is not reported itself, as its folder then cannot be removed
// either. A root that is a link is removed as a link. Answers whether the
// whole tree is gone (true when it did not exist). An unsafe root
// (IsUnsafeTreeRoot) is refused: nothing is deleted, nothing reported, false.
bool DeleteTree(const std::string& dir, const TDeleteFailure& onFailure);

// As above; each failure shows the message "ERRROR (" + errno + ") deleting " +
// the folder's text (text/SetupMessages.h).
bool DeleteTree(const std::string& dir);

// The system calls of the walkers, replaceable by tests (entries cannot be
// made unremovable by their modes when the tests run as the administrator).
struct TTreeCalls {
    std::function<int(const char*, struct stat*)> lstat;
    std::function<int(const char*, mode_t)> chmod;
    std::function<int(const char*)> unlink;
    std::function<int(const char*)> rmdir;
};
TTreeCalls& TreeCalls();
// Puts the real calls back.
void ResetTreeCalls();
