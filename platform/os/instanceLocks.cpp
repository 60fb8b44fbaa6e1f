#include "os/instanceLocks.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace os {

namespace {

std::string percentEncoded(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            b == '-' || b == '.' || b == '_') {
            out += ch;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

// 64-bit FNV-1a of the text, as 16 hex digits.
std::string hashText(const std::string& text) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (char ch : text) {
        h ^= static_cast<unsigned char>(ch);
        h *= 0x100000001b3ull;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
    return out;
}

int openLockFile(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

flock wholeFile(short type) {
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock; // start 0, length 0: the whole file; pid 0 as OFD locks need
}

// Takes the lock on an open lock file without waiting.
LockResult lockFile(int fd) {
    flock lock = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return LockResult::Acquired;
    return errno == EAGAIN || errno == EACCES ? LockResult::HeldElsewhere : LockResult::Failed;
}

// Whether anyone holds the lock of the file at `path`, without taking it.
bool isLocked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    flock lock = wholeFile(F_WRLCK);
    const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

std::string presenceBase(const std::string& title) {
    const std::string folder = runtimeFolder();
    return folder.empty() ? "" : folder + "window-" + percentEncoded(title);
}

} // namespace

std::string runtimeFolder() {
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        folder = std::string(runtime) + "/solvanor";
    } else {
        const char* tmp = std::getenv("TMPDIR");
        folder = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/solvanor-" +
                 std::to_string(::getuid());
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return "";
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return "";
    if ((st.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) return "";
    return folder + "/";
}

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

void SingleInstanceLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

LockResult SingleInstanceLock::acquire(const std::string& name) {
    release();
    const std::string folder = runtimeFolder();
    if (folder.empty()) return LockResult::Failed;
    const int fd = openLockFile(folder + "instance-" + hashText(name) + ".lock");
    if (fd < 0) return LockResult::Failed;
    const LockResult result = lockFile(fd);
    if (result == LockResult::Acquired)
        fd_ = fd;
    else
        ::close(fd);
    return result;
}

PresenceLock::~PresenceLock() {
    release();
}

void PresenceLock::release() {
    if (socket_ >= 0) {
        ::unlink(socketPath_.c_str()); // ours while the lock is held
        ::close(socket_);
    }
    if (fd_ >= 0) ::close(fd_);
    socket_ = fd_ = -1;
    socketPath_.clear();
}

LockResult PresenceLock::acquire(const std::string& title) {
    release();
    if (title.empty()) return LockResult::Failed;
    const std::string base = presenceBase(title);
    sockaddr_un address;
    if (base.empty() || !socketAddress(base + ".sock", address)) return LockResult::Failed;
    const int fd = openLockFile(base + ".lock");
    if (fd < 0) return LockResult::Failed;
    const LockResult result = lockFile(fd);
    if (result != LockResult::Acquired) {
        ::close(fd);
        return result;
    }
    // Holding the lock, any socket of that name was left by a holder that ended.
    ::unlink(address.sun_path);
    const int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0 || ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (s >= 0) ::close(s);
        ::close(fd);
        return LockResult::Failed;
    }
    fd_ = fd;
    socket_ = s;
    socketPath_ = address.sun_path;
    return LockResult::Acquired;
}

int PresenceLock::takeActivationRequests() {
    if (socket_ < 0) return 0;
    int count = 0;
    char byte[16];
    while (::recv(socket_, byte, sizeof byte, MSG_DONTWAIT) >= 0)
        ++count;
    return count;
}

bool isWindowPresent(const char* title) {
    if (!title || !*title) return false;
    const std::string base = presenceBase(title);
    return !base.empty() && isLocked(base + ".lock");
}

bool isWindowPresent(const std::string& title) {
    return isWindowPresent(title.c_str());
}

bool requestActivation(const std::string& title) {
    if (title.empty()) return false;
    const std::string base = presenceBase(title);
    sockaddr_un address;
    if (base.empty() || !socketAddress(base + ".sock", address)) return false;
    const int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    const char request = 1;
    const ssize_t n = ::sendto(s, &request, 1, MSG_DONTWAIT,
                               reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // A full queue already holds requests the holder has yet to see.
    const bool delivered = n == 1 || (n < 0 && errno == EAGAIN);
    ::close(s);
    return delivered;
}

} // namespace os
