#include "os/textFiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

ssize_t systemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

ssize_t systemCopyFileRange(int in, off_t* inOffset, int out, off_t* outOffset, std::size_t size,
                            unsigned flags) {
    return ::copy_file_range(in, inOffset, out, outOffset, size, flags);
}

int systemRename(const char* from, const char* to) {
    return ::rename(from, to);
}

constexpr FileCalls kSystemCalls = {systemWrite, systemCopyFileRange, systemRename};

FileCalls& calls() {
    static FileCalls current = kSystemCalls;
    return current;
}

// Keeps errno across clean-up calls that may change it.
struct ErrnoKeeper {
    int saved = errno;
    ~ErrnoKeeper() { errno = saved; }
};

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = calls().write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes a folder's entries (a new or renamed name); errors are ignored, the
// data itself is already safe.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// Creates a new, empty file beside `target` with a name no one else uses.
int createTemporary(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = folderOf(target);
    const std::size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, ".tmp%d.%u.%x", static_cast<int>(::getpid()),
                      counter.fetch_add(1), static_cast<unsigned>(std::rand()));
        name = (folder == "/" ? "/" : folder + "/") + "." + base + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

FileCalls& fileCalls() {
    return calls();
}

void resetFileCalls() {
    calls() = kSystemCalls;
}

bool readTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ErrnoKeeper keep;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') continue;
        lines.emplace_back(bytes, start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.emplace_back(bytes, start, bytes.size() - start);
    return true;
}

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return replaceFileContents(path, bytes);
}

bool replaceFileContents(const std::string& path, std::string_view bytes, int mode) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    // A link keeps being a link: its final target is what gets replaced.
    std::string target = path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return false;
        target = resolved;
        std::free(resolved);
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && !S_ISREG(st.st_mode)) {
        errno = EISDIR;
        return false;
    }

    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    if (ok && exists && mode < 0) {
        (void)!::fchown(fd, st.st_uid, st.st_gid); // only where the process may
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    } else if (ok && mode >= 0) {
        ok = ::fchmod(fd, static_cast<mode_t>(mode) & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && calls().rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ErrnoKeeper keep;
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folderOf(target));
    return true;
}

bool copyFile(const std::string& from, const std::string& to, bool failIfExists, bool sync) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat source;
    if (::fstat(in, &source) != 0) {
        ErrnoKeeper keep;
        ::close(in);
        return false;
    }
    if (!S_ISREG(source.st_mode)) {
        ::close(in);
        errno = S_ISDIR(source.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    struct stat old;
    int refusal = 0;
    if (::stat(to.c_str(), &old) == 0) {
        if (failIfExists)
            refusal = EEXIST;
        else if (old.st_dev == source.st_dev && old.st_ino == source.st_ino)
            refusal = EINVAL; // truncating the target would destroy the source
        else if (!S_ISREG(old.st_mode))
            refusal = EISDIR;
        else if (!(old.st_mode & S_IWUSR))
            refusal = EACCES; // a read-only file is not overwritten
    }
    if (refusal) {
        ::close(in);
        errno = refusal;
        return false;
    }
    const int out = ::open(
        to.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC), 0600);
    if (out < 0) {
        ErrnoKeeper keep;
        ::close(in);
        return false;
    }

    bool ok = true;
    bool useRange = true;
    for (;;) {
        if (useRange) {
            const ssize_t n = calls().copyFileRange(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n > 0) continue;
            if (n == 0) break;
            if (errno == EINTR) continue;
            // Not offered between these files: plain reads and writes from here.
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                errno == EBADF) {
                useRange = false;
                continue;
            }
            ok = false;
            break;
        }
        char buffer[65536];
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!writeAll(out, buffer, static_cast<std::size_t>(n))) {
            ok = false;
            break;
        }
    }
    ok = ok && ::fchmod(out, source.st_mode & 07777) == 0;
    ok = ok && (!sync || ::fsync(out) == 0);
    {
        ErrnoKeeper keep;
        ::close(in);
    }
    ok = ::close(out) == 0 && ok;
    if (!ok) {
        ErrnoKeeper keep;
        ::unlink(to.c_str());
        return false;
    }
    if (sync) syncFolder(folderOf(to));
    return true;
}

} // namespace os
