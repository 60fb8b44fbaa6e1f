// The chart copy from a chart CD to the disk, without a window: checks,
// measures the CD's tree, checks the free space, and copies.
//
// Kinds: '1' (first CD), 'B' (bathymetric database CD) and 'F' (fisheries
// database CD) replace the destination tree; '2' (second or third CD) adds
// its files over it.
//
// Nothing of the user's charts is lost by a failure:
// - Replacing kinds copy into a staging folder beside the destination
//   (".<name>.ostrel-new", on the same file system). Only when every file is
//   there is the file system synced, the old tree renamed aside
//   (".<name>.ostrel-old"), the staging folder renamed to the destination and
//   the old tree deleted. A failure before the swap deletes only the staging
//   folder; a failure during it puts the old tree back.
// - Kind '2' copies each file to ".<file>.ostrel-new" in its folder and
//   renames it over the old one, so every file is either old or new; one sync
//   follows the last file.
// - Leftovers of an interrupted run (names of those two patterns only) are
//   cleared at the next copy: an old tree set aside while the destination is
//   missing is put back, other leftovers are deleted.
//
// Refused before anything is measured or touched:
// - source and destination equal, or one inside the other;
// - a source on drive C;
// - a destination that is "/", a drive's root, the home folder or a folder
//   holding it, a folder equal to or holding an installation directory or the
//   setup program's folder, or one overlapping another edition's chart root;
// - a navigation program running (shell/NavigatorPresence.h).
// A source that is missing or holds no file is refused after measuring, before
// anything is touched.
//
// Walks never follow symbolic links (a link on the CD is not copied) and never
// enter another mounted file system. Copied files and folders end writable by
// their owner.
//
//   TChartCopier copier;
//   TChartCopyResult r = copier.Run({.Kind = '1', .Source = "F:\\KV71",
//                                    .Destination = "C:\\KV71"},
//                                   {.Copied = [](std::int64_t n, const std::string&) {}});
//   if (r.Outcome == TCopyOutcome::Done) { ... }
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class TCopyOutcome {
    Done,        // every file copied
    NoRoom,      // the destination's file system lacks the space; nothing touched
    Refused,     // see Refusal; nothing touched
    DeleteError, // the new charts stand, but the old tree could not all be deleted
    CreateError, // a folder could not be made; the destination is as it was
    CopyError,   // a file could not be copied; the destination is as it was (kind
                 // '2': each file old or new)
};

enum class TCopyRefusal {
    None,
    SameDirectory,    // source and destination equal, or one inside the other
    SourceOnC,        // the source lies on drive C
    Destination,      // a destination that must not be replaced
    NavigatorRunning, // a navigation program runs
    NoCharts,         // the source is missing or holds no file
};

// Folders a destination must keep away from, as directory texts.
struct TProtectedDirs {
    // Installation directories: no destination may equal or hold one.
    std::vector<std::string> Installations{};
    // Other editions' chart roots: no destination may equal, hold or lie in one.
    std::vector<std::string> ChartRoots{};
};

struct TChartCopyJob {
    char Kind = '1';         // '1', '2', 'B' or 'F'; any other replaces as '1' does
    std::string Source;      // directory text ("F:\KV71")
    std::string Destination; // directory text ("C:\KV71")
    TProtectedDirs Protected{};
};

struct TChartCopyResult {
    TCopyOutcome Outcome = TCopyOutcome::Done;
    TCopyRefusal Refusal = TCopyRefusal::None;
    // The text (Windows-1252) of the file or folder concerned: the refused
    // destination, the folder not made or not deleted, the file not copied.
    std::string Path;
    int Error = 0;               // errno of the failure
    std::int64_t Files = 0;      // files to copy (N)
    std::int64_t Bytes = 0;      // their bytes (R)
    std::int64_t Available = -1; // free bytes of the destination's file system (A); -1 unknown
    std::int64_t Copied = 0;     // files copied
};

// Progress, called on the thread that runs the copy.
struct TChartCopyObserver {
    // The source is measured: N files of R bytes.
    std::function<void(std::int64_t files, std::int64_t bytes)> Measured{};
    // One more file is copied: the count so far and the file's path below the
    // source (Windows-1252, "\" separated).
    std::function<void(std::int64_t copied, const std::string& file)> Copied{};
};

// The calls through which the copy changes files; tests replace them to inject
// failures (the administrator's modes refuse nothing). Paths are Linux paths.
struct TChartCopyCalls {
    // Copies a regular file, overwriting; false with errno set.
    std::function<bool(const std::string& from, const std::string& to)> copyFile;
    std::function<int(const char* from, const char* to)> rename;
    // Flushes the file system that holds the folder; 0 or -1 with errno.
    std::function<int(const std::string& folder)> syncFileSystem;
    std::function<bool()> navigatorRunning;
};

class TChartCopier {
  public:
    TChartCopier();

    TChartCopyCalls& Calls() { return calls_; }

    // The refusals that need no measuring; Outcome Done when there is none.
    TChartCopyResult Check(const TChartCopyJob& job) const;

    // Checks, measures, checks the space and copies. The observer is called on
    // this thread.
    TChartCopyResult Run(const TChartCopyJob& job, const TChartCopyObserver& observer = {});

    // Asks a Run on another thread to stop before its next file; it ends as a
    // copy error (ECANCELED) with the destination as it was.
    void Stop() { stop_ = true; }

  private:
    TChartCopyCalls calls_;
    std::atomic<bool> stop_{false};
};

// The name patterns of the staging folder and of a set-aside old tree or file.
inline constexpr const char* kStagingSuffix = ".ostrel-new";
inline constexpr const char* kSetAsideSuffix = ".ostrel-old";
