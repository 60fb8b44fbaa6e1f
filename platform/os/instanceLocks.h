// Locks that tell one running program from another: a second start of the
// same program, and whether a program with a given main-window title runs.
//
// Both are locks on small files in the user's runtime folder, held while the
// lock object lives and dropped by the kernel when the process ends, however
// it ends (no stale lock after a crash). They are open-file-description locks
// (F_OFD_SETLK): like flock they belong to the open file, not to the process,
// and unlike flock they can be tested without being taken, so asking whether
// a window is present never makes a program that starts at that moment
// believe it is the second one. The locks are per user, as window titles are
// per desktop.
#pragma once

#include <string>

namespace os {

// The user's runtime folder, with a trailing "/": $XDG_RUNTIME_DIR/solvanor/
// when that variable names an absolute folder, else solvanor-<uid>/ in the
// temporary folder ($TMPDIR, else /tmp). It is made with mode 0700 when
// missing. "" when it is not a folder of this user's own (a symbolic link, or
// owned by someone else) or cannot be made; its mode is set to 0700 when it was
// wider.
std::string runtimeFolder();

enum class LockResult {
    Acquired,      // this object holds the lock now
    HeldElsewhere, // another holder has it (another process, or another object)
    Failed,        // no runtime folder, or the lock file could not be opened
};

// Refuses a second copy of a program: the lock "instance-<hash of name>.lock".
// The setup program names it by its canonical programPath().
class SingleInstanceLock {
  public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock(); // releases the lock
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock of `name` (any text). A lock already held by this object
    // is released first.
    LockResult acquire(const std::string& name);
    void release();

  private:
    int fd_ = -1;
};

// Marks a main window with its title as present: the lock
// "window-<percent-encoded title>.lock" and, beside it, a socket
// "window-<percent-encoded title>.sock" on which other programs ask the holder
// to bring its window to the front (requestActivation).
class PresenceLock {
  public:
    PresenceLock() = default;
    ~PresenceLock(); // removes the socket and releases the lock
    PresenceLock(const PresenceLock&) = delete;
    PresenceLock& operator=(const PresenceLock&) = delete;

    // Takes the lock of `title` and opens its socket (a socket left by a
    // holder that ended is removed first). Failed for an empty title, one too
    // long for a socket name, or no runtime folder. A lock already held by this
    // object is released first.
    LockResult acquire(const std::string& title);
    void release();

    // A descriptor that becomes readable when a request has arrived (for the
    // window layer's event loop); -1 when no lock is held.
    int activationFd() const { return socket_; }
    // The number of requests that arrived since the last call; 0 when none.
    int takeActivationRequests();

  private:
    int fd_ = -1;
    int socket_ = -1;
    std::string socketPath_;
};

// True while anyone (this process included) holds the presence lock of
// `title`. An empty or null title gives false: a search without a title could
// only find an arbitrary window.
bool isWindowPresent(const char* title);
bool isWindowPresent(const std::string& title);

// Asks the holder of `title`'s presence lock to restore and raise its main
// window. True when the request was delivered to a holder.
bool requestActivation(const std::string& title);

} // namespace os
