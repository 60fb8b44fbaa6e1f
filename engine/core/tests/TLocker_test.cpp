#include "runtime/TLocker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

TEST(TLocker, IsReentrantAndExcludesOtherThreads) {
    TOS::TLocker locker;
    std::atomic<bool> otherGotIn{false};
    locker.lock();
    locker.lock(); // the owner takes it again
    std::thread other([&] {
        TOS::TLocker::TLock guard(&locker);
        otherGotIn = true;
    });
    locker.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(otherGotIn); // still held once
    locker.unlock();
    other.join();
    EXPECT_TRUE(otherGotIn);
}

TEST(TLocker, GuardReleasesWhenAnExceptionLeaves) {
    TOS::TLocker locker;
    EXPECT_THROW(
        {
            TOS::TLocker::TLock guard(&locker);
            throw std::runtime_error("out");
        },
        std::runtime_error);
    std::atomic<bool> taken{false};
    std::thread other([&] {
        locker.lock();
        taken = true;
        locker.unlock();
    });
    other.join();
    EXPECT_TRUE(taken);
    TOS::TLocker::TLock none(nullptr); // a null guard does nothing
}

} // namespace
