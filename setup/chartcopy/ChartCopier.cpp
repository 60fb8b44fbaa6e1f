#include "chartcopy/ChartCopier.h"

#include "files/Backslash.h"
#include "files/DirProcs.h"
#include "files/SetupPaths.h"
#include "shell/NavigatorPresence.h"

#include "os/codePage.h"
#include "os/drives.h"
#include "os/findNoCase.h"
#include "os/textFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr std::int64_t kSpaceAllowance = 1000000;

int syncFileSystem(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int r = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return r;
}

// Makes a rename in `folder` durable.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool present(const std::string& path, struct stat* st = nullptr) {
    struct stat local;
    return ::lstat(path.c_str(), st ? st : &local) == 0;
}

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// An absolute Linux path with its longest existing head found without regard
// to case and resolved (links followed), the rest kept as written.
std::string resolvedForm(const std::string& path) {
    std::filesystem::path head(path), tail;
    while (!head.empty() && head != head.root_path()) {
        char resolved[PATH_MAX];
        const std::string found = os::findNoCase(head.string());
        if (!found.empty() && ::realpath(found.c_str(), resolved))
            return (std::filesystem::path(resolved) / tail).lexically_normal().string();
        tail = head.filename() / tail;
        head = head.parent_path();
    }
    return path;
}

// The forms a directory text may take here: its mapped path and its resolved
// path. None when the text names nothing.
std::vector<std::string> pathForms(const std::string& text) {
    const std::string normal = NormalLocalPath(text);
    if (normal.empty()) return {};
    std::vector<std::string> forms = {normal};
    std::string resolved = resolvedForm(normal);
    while (resolved.size() > 1 && resolved.back() == '/')
        resolved.pop_back();
    if (resolved != normal) forms.push_back(resolved);
    return forms;
}

// a is b or lies inside b.
bool within(const std::string& a, const std::string& b) {
    if (a == b || b == "/") return true;
    return a.size() > b.size() && a.compare(0, b.size(), b) == 0 && a[b.size()] == '/';
}

bool anyWithin(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (const std::string& x : a)
        for (const std::string& y : b)
            if (within(x, y)) return true;
    return false;
}

// The text of `relative` (a Linux path below a tree) below the directory text
// `base`, in the base's form.
std::string childText(const std::string& base, const std::string& relative) {
    std::string text = RemoveBackslash(base);
    const char separator = !text.empty() && text[0] == '/' ? '/' : '\\';
    std::string rel = os::utf8ToCp1252(relative);
    if (separator == '\\') std::replace(rel.begin(), rel.end(), '/', '\\');
    if (text.empty() || text.back() != separator) text += separator;
    return text + rel;
}

// A path below a tree as a Windows-1252 text with "\\" separators.
std::string relativeText(const std::string& relative) {
    std::string text = os::utf8ToCp1252(relative);
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// The directory text of a Linux path, for the tree walkers and messages.
std::string textOf(const std::string& linuxPath) {
    return os::windowsPath(linuxPath);
}

struct Entry {
    std::string relative; // Linux path below the root
    bool folder;
    std::int64_t size;
};

// Lists the tree below `root` depth first, names in byte order, folders before
// their content; links, special files and other file systems are left out.
// False with the folder (relative) and errno when a folder cannot be read.
bool listTree(const std::string& root, const std::string& relative, dev_t device,
              std::vector<Entry>& entries, std::string& failed, int& error) {
    const std::string folder = relative.empty() ? root : joined(root, relative);
    DIR* d = ::opendir(folder.c_str());
    if (!d) {
        failed = relative;
        error = errno;
        return false;
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    const int readError = errno;
    ::closedir(d);
    if (readError) {
        failed = relative;
        error = readError;
        return false;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string rel = relative.empty() ? name : relative + "/" + name;
        struct stat st;
        if (::lstat(joined(root, rel).c_str(), &st) != 0) {
            failed = rel;
            error = errno;
            return false;
        }
        if (S_ISDIR(st.st_mode)) {
            if (st.st_dev != device) continue;
            entries.push_back({rel, true, 0});
            if (!listTree(root, rel, device, entries, failed, error)) return false;
        } else if (S_ISREG(st.st_mode)) {
            entries.push_back({rel, false, std::int64_t(st.st_size)});
        }
    }
    return true;
}

void makeWritable(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
        ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

// Deletes a tree of ours (staging or set aside); its first failure, if any.
bool removeTree(const std::string& linuxPath, std::string* failedText = nullptr,
                int* failedError = nullptr) {
    if (!present(linuxPath)) return true;
    const std::string text = textOf(linuxPath);
    if (text.empty()) {
        if (failedText) *failedText = os::utf8ToCp1252(linuxPath);
        if (failedError) *failedError = EINVAL;
        return false;
    }
    std::int64_t files = 0;
    ClearReadOnlyTree(files, text);
    bool first = true;
    const bool whole = DeleteTree(text, [&](const std::string& folder, int error) {
        if (!first) return;
        first = false;
        if (failedText) *failedText = folder;
        if (failedError) *failedError = error;
    });
    if (!whole && first) {
        if (failedText) *failedText = text;
        if (failedError) *failedError = EIO;
    }
    return whole;
}

bool isTemporaryName(const std::string& name) {
    const std::string suffix = kStagingSuffix;
    return name.size() > suffix.size() + 1 && name[0] == '.' &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Removes the temporary files an interrupted add-over copy left in the tree.
void removeTemporaryFiles(const std::string& folder, dev_t device) {
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(d);
    for (const std::string& name : names) {
        const std::string path = joined(folder, name);
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode) && st.st_dev == device)
            removeTemporaryFiles(path, device);
        else if (S_ISREG(st.st_mode) && isTemporaryName(name))
            ::unlink(path.c_str());
    }
}

} // namespace

TChartCopier::TChartCopier() {
    calls_.copyFile = [](const std::string& from, const std::string& to) {
        return os::copyFile(from, to, false, false);
    };
    calls_.rename = [](const char* from, const char* to) { return ::rename(from, to); };
    calls_.syncFileSystem = syncFileSystem;
    calls_.navigatorRunning = AnyNavigatorRunning;
}

TChartCopyResult TChartCopier::Check(const TChartCopyJob& job) const {
    TChartCopyResult r;
    auto refuse = [&r](TCopyRefusal why, const std::string& path) {
        r.Outcome = TCopyOutcome::Refused;
        r.Refusal = why;
        r.Path = path;
        return r;
    };
    const std::vector<std::string> source = pathForms(job.Source);
    const std::vector<std::string> destination = pathForms(job.Destination);

    // Destinations whose replacement would take more than charts with it.
    bool unsafe = destination.empty() || IsUnsafeTreeRoot(job.Destination);
    for (const std::string& dir : job.Protected.Installations)
        unsafe = unsafe || anyWithin(pathForms(dir), destination);
    if (const std::string program = os::programDirectory(); !program.empty())
        unsafe = unsafe || anyWithin(pathForms(program), destination);
    for (const std::string& root : job.Protected.ChartRoots) {
        const std::vector<std::string> other = pathForms(root);
        unsafe = unsafe || anyWithin(other, destination) || anyWithin(destination, other);
    }
    if (unsafe) return refuse(TCopyRefusal::Destination, job.Destination);

    // One inside the other would copy a tree into itself, or replace the CD's
    // own tree.
    if (anyWithin(source, destination) || anyWithin(destination, source))
        return refuse(TCopyRefusal::SameDirectory, job.Destination);
    if (job.Source.size() >= 2 && std::toupper(static_cast<unsigned char>(job.Source[0])) == 'C' &&
        job.Source[1] == ':')
        return refuse(TCopyRefusal::SourceOnC, job.Source);

    if (calls_.navigatorRunning && calls_.navigatorRunning())
        return refuse(TCopyRefusal::NavigatorRunning, "");
    return r;
}

TChartCopyResult TChartCopier::Run(const TChartCopyJob& job, const TChartCopyObserver& observer) {
    TChartCopyResult r = Check(job);
    if (r.Outcome != TCopyOutcome::Done) return r;
    auto fail = [&r](TCopyOutcome outcome, const std::string& path, int error) {
        r.Outcome = outcome;
        r.Path = path;
        r.Error = error;
        return r;
    };

    // Measure the source.
    const std::string sourceRoot = ExistingPath(job.Source);
    struct stat sourceStat;
    if (sourceRoot.empty() || ::stat(sourceRoot.c_str(), &sourceStat) != 0 ||
        !S_ISDIR(sourceStat.st_mode)) {
        r.Outcome = TCopyOutcome::Refused;
        r.Refusal = TCopyRefusal::NoCharts;
        r.Path = job.Source;
        return r;
    }
    std::vector<Entry> entries;
    std::string failed;
    int error = 0;
    if (!listTree(sourceRoot, "", sourceStat.st_dev, entries, failed, error))
        return fail(TCopyOutcome::CopyError, childText(job.Source, failed), error);
    for (const Entry& e : entries)
        if (!e.folder) {
            ++r.Files;
            r.Bytes += e.size;
        }
    if (r.Files == 0) {
        // An empty tree would replace the charts with nothing.
        r.Outcome = TCopyOutcome::Refused;
        r.Refusal = TCopyRefusal::NoCharts;
        r.Path = job.Source;
        return r;
    }
    if (observer.Measured) observer.Measured(r.Files, r.Bytes);

    // Where the new tree goes: an existing destination (a link to a folder is
    // followed, so the charts stay where the link points), else a new folder
    // in its existing parent.
    const std::string normal = NormalLocalPath(job.Destination);
    std::string target;
    if (const std::string found = os::findNoCase(normal); !found.empty()) {
        struct stat st;
        char resolved[PATH_MAX];
        if (::stat(found.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            !::realpath(found.c_str(), resolved))
            return fail(TCopyOutcome::CreateError, job.Destination, ENOTDIR);
        target = resolved;
    } else {
        const std::string parent = os::findNoCase(parentOf(normal));
        char resolved[PATH_MAX];
        if (parent.empty() || !::realpath(parent.c_str(), resolved))
            return fail(TCopyOutcome::CreateError, job.Destination, ENOENT);
        target = joined(resolved, nameOf(normal));
    }
    const std::string parent = parentOf(target);
    const std::string staging = joined(parent, "." + nameOf(target) + kStagingSuffix);
    const std::string aside = joined(parent, "." + nameOf(target) + kSetAsideSuffix);

    // Leftovers of an interrupted run go first: a staging folder left behind
    // would otherwise take the space the new tree needs.
    if (present(aside)) {
        if (!present(target)) {
            if (calls_.rename(aside.c_str(), target.c_str()) != 0) {
                const int renameError = errno;
                return fail(TCopyOutcome::CopyError, textOf(aside), renameError);
            }
        } else {
            removeTree(aside);
        }
    }
    if (present(staging)) removeTree(staging);

    // The old tree stays until the new one is complete, so its bytes do not
    // count as free.
    r.Available = os::diskFreeBytes(parent);
    if (r.Available >= 0 && r.Available + kSpaceAllowance < r.Bytes) {
        r.Outcome = TCopyOutcome::NoRoom;
        return r;
    }

    auto copyOne = [&](const Entry& e, const std::string& to) {
        if (!calls_.copyFile(joined(sourceRoot, e.relative), to)) return false;
        makeWritable(to);
        return true;
    };
    auto counted = [&](const Entry& e) {
        ++r.Copied;
        if (observer.Copied) observer.Copied(r.Copied, relativeText(e.relative));
    };
    const bool addOver = job.Kind == '2';

    if (addOver) {
        struct stat st;
        if (present(target, &st)) {
            std::int64_t files = 0;
            ClearReadOnlyTree(files, textOf(target));
            removeTemporaryFiles(target, st.st_dev);
        } else if (::mkdir(target.c_str(), 0777) != 0) {
            return fail(TCopyOutcome::CreateError, job.Destination, errno);
        }
        for (const Entry& e : entries) {
            if (stop_) return fail(TCopyOutcome::CopyError, job.Destination, ECANCELED);
            const std::string path = joined(target, e.relative);
            if (e.folder) {
                if (::mkdir(path.c_str(), 0777) != 0) {
                    const int mkdirError = errno;
                    if (mkdirError != EEXIST || ::stat(path.c_str(), &st) != 0 ||
                        !S_ISDIR(st.st_mode))
                        return fail(TCopyOutcome::CreateError,
                                    childText(job.Destination, e.relative), mkdirError);
                }
                continue;
            }
            // Each file goes whole over the old one: copied beside it, then renamed.
            const std::string temporary =
                joined(parentOf(path), "." + nameOf(path) + kStagingSuffix);
            ::unlink(temporary.c_str());
            if (!copyOne(e, temporary)) {
                const int copyError = errno;
                ::unlink(temporary.c_str());
                return fail(TCopyOutcome::CopyError, childText(job.Source, e.relative), copyError);
            }
            if (calls_.rename(temporary.c_str(), path.c_str()) != 0) {
                const int renameError = errno;
                ::unlink(temporary.c_str());
                return fail(TCopyOutcome::CopyError, childText(job.Destination, e.relative),
                            renameError);
            }
            counted(e);
        }
        if (calls_.syncFileSystem(target) != 0)
            return fail(TCopyOutcome::CopyError, job.Destination, errno);
        return r;
    }

    // Replacing kinds: the whole new tree in the staging folder first.
    if (::mkdir(staging.c_str(), 0777) != 0)
        return fail(TCopyOutcome::CreateError, job.Destination, errno);
    auto abandon = [&](TCopyOutcome outcome, const std::string& path, int why) {
        removeTree(staging);
        return fail(outcome, path, why);
    };
    for (const Entry& e : entries) {
        if (stop_) return abandon(TCopyOutcome::CopyError, job.Destination, ECANCELED);
        const std::string path = joined(staging, e.relative);
        if (e.folder) {
            if (::mkdir(path.c_str(), 0777) != 0) {
                const int mkdirError = errno;
                return abandon(TCopyOutcome::CreateError, childText(job.Destination, e.relative),
                               mkdirError);
            }
        } else if (copyOne(e, path)) {
            counted(e);
        } else {
            const int copyError = errno;
            return abandon(TCopyOutcome::CopyError, childText(job.Source, e.relative), copyError);
        }
    }
    if (calls_.syncFileSystem(staging) != 0)
        return abandon(TCopyOutcome::CopyError, job.Destination, errno);

    // The swap.
    const bool hadOld = present(target);
    if (hadOld && calls_.rename(target.c_str(), aside.c_str()) != 0)
        return abandon(TCopyOutcome::CopyError, job.Destination, errno);
    if (calls_.rename(staging.c_str(), target.c_str()) != 0) {
        const int swapError = errno;
        if (hadOld) calls_.rename(aside.c_str(), target.c_str());
        return abandon(TCopyOutcome::CopyError, job.Destination, swapError);
    }
    syncFolder(parent);

    if (hadOld) {
        std::string text;
        int deleteError = 0;
        if (!removeTree(aside, &text, &deleteError)) {
            r.Outcome = TCopyOutcome::DeleteError;
            r.Path = text;
            r.Error = deleteError;
        }
    }
    return r;
}
