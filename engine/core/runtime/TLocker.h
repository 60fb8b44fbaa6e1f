// The engine's lock: a re-entrant mutual-exclusion object with a scoped guard.
#pragma once

#include <mutex>

namespace TOS {

// A re-entrant lock: the thread that holds it may take it again and must
// release it as often as it took it.
class TLocker {
public:
    TLocker();
    ~TLocker();
    TLocker(const TLocker&) = delete;
    TLocker& operator=(const TLocker&) = delete;

    void lock();
    void unlock();

    // Scoped guard: takes the lock on construction (when given one) and
    // releases it on destruction, also when an exception leaves the scope.
    class TLock {
    public:
        explicit TLock(TLocker* locker) : locker_(locker) {
            if (locker_) locker_->lock();
        }
        ~TLock() {
            if (locker_) locker_->unlock();
        }
        TLock(const TLock&) = delete;
        TLock& operator=(const TLock&) = delete;

    private:
        TLocker* locker_;
    };

private:
    std::recursive_mutex* cs_;
};

} // namespace TOS
