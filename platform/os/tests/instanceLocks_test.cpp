#include "os/instanceLocks.h"

#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using os::LockResult;
using ostest::TempFolder;

// Every test gets its own runtime folder, so parallel runs never meet.
class InstanceLocks : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        hadRuntime = old != nullptr;
        if (old) savedRuntime = old;
        ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadRuntime)
            ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }
    TempFolder dir;
    bool hadRuntime = false;
    std::string savedRuntime;
};

// A child process that takes both kinds of lock and then waits to be killed.
pid_t startHolder(const std::string& name, const std::string& title) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        os::SingleInstanceLock instance;
        os::PresenceLock presence;
        const bool held = instance.acquire(name) == LockResult::Acquired &&
                          presence.acquire(title) == LockResult::Acquired;
        const char answer = held ? 'y' : 'n';
        (void)!::write(ready[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    const bool held = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
    if (!held && pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

TEST_F(InstanceLocks, AHolderThatDiesLeavesNoLockBehind) {
    const std::string name = "/opt/solvanor/bin/ostrel";
    const std::string title = "Solvanor V lite";
    EXPECT_FALSE(os::isWindowPresent(title));

    const pid_t holder = startHolder(name, title);
    ASSERT_GT(holder, 0);
    os::SingleInstanceLock instance;
    os::PresenceLock presence;
    EXPECT_EQ(instance.acquire(name), LockResult::HeldElsewhere);
    EXPECT_TRUE(os::isWindowPresent(title));
    EXPECT_TRUE(os::isWindowPresent(title.c_str()));
    EXPECT_FALSE(os::isWindowPresent("Solvanor V"));
    EXPECT_EQ(presence.acquire(title), LockResult::HeldElsewhere);
    EXPECT_EQ(presence.activationFd(), -1);
    EXPECT_TRUE(os::requestActivation(title));
    // Asking does not take the lock: the holder still holds it.
    EXPECT_TRUE(os::isWindowPresent(title));

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_FALSE(os::isWindowPresent(title));
    EXPECT_FALSE(os::requestActivation(title)) << "nobody listens on the stale socket";
    EXPECT_EQ(instance.acquire(name), LockResult::Acquired);
    EXPECT_EQ(presence.acquire(title), LockResult::Acquired);
    EXPECT_TRUE(os::isWindowPresent(title));
    EXPECT_EQ(presence.takeActivationRequests(), 0) << "the dead holder's request is gone";

    // A second object in this process is refused as well.
    os::SingleInstanceLock second;
    EXPECT_EQ(second.acquire(name), LockResult::HeldElsewhere);
    instance.release();
    EXPECT_EQ(second.acquire(name), LockResult::Acquired);
}

TEST_F(InstanceLocks, ARequestMakesTheDescriptorReadable) {
    os::PresenceLock presence;
    const std::string title = "Solvanor 3D/View: \xF8";
    ASSERT_EQ(presence.acquire(title), LockResult::Acquired);
    ASSERT_GE(presence.activationFd(), 0);
    pollfd p{presence.activationFd(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0);
    EXPECT_TRUE(os::requestActivation(title));
    EXPECT_TRUE(os::requestActivation(title));
    EXPECT_EQ(::poll(&p, 1, 1000), 1);
    EXPECT_EQ(presence.takeActivationRequests(), 2);
    EXPECT_EQ(presence.takeActivationRequests(), 0);
    EXPECT_EQ(::poll(&p, 1, 0), 0);

    presence.release();
    EXPECT_FALSE(os::isWindowPresent(title));
    EXPECT_FALSE(
        std::filesystem::exists(dir / "solvanor/window-Solvanor%203D%2FView%3A%20%F8.sock"));
    EXPECT_TRUE(
        std::filesystem::exists(dir / "solvanor/window-Solvanor%203D%2FView%3A%20%F8.lock"));

    EXPECT_EQ(presence.acquire(""), LockResult::Failed);
    EXPECT_FALSE(os::isWindowPresent(""));
    EXPECT_FALSE(os::isWindowPresent(static_cast<const char*>(nullptr)));
    EXPECT_EQ(presence.acquire(std::string(200, 'x')), LockResult::Failed)
        << "socket name too long";
}

TEST_F(InstanceLocks, OnlyTheUsersOwnRuntimeFolderIsUsed) {
    EXPECT_EQ(os::runtimeFolder(), dir / "solvanor/");
    struct stat st;
    ASSERT_EQ(::stat((dir / "solvanor").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    ASSERT_EQ(::chmod((dir / "solvanor").c_str(), 0755), 0);
    EXPECT_EQ(os::runtimeFolder(), dir / "solvanor/");
    ASSERT_EQ(::stat((dir / "solvanor").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u) << "narrowed again";

    // A link, even to a folder of our own, is refused.
    std::filesystem::remove_all(dir / "solvanor");
    std::filesystem::create_directory(dir / "elsewhere");
    ASSERT_EQ(::symlink("elsewhere", (dir / "solvanor").c_str()), 0);
    EXPECT_EQ(os::runtimeFolder(), "");
    os::SingleInstanceLock instance;
    os::PresenceLock presence;
    EXPECT_EQ(instance.acquire("x"), LockResult::Failed);
    EXPECT_EQ(presence.acquire("x"), LockResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere/window-x.lock"));

    // Someone else's folder is refused.
    std::filesystem::remove(dir / "solvanor");
    std::filesystem::create_directory(dir / "solvanor");
    if (::chown((dir / "solvanor").c_str(), ::getuid() + 1, ::getgid()) != 0)
        GTEST_SKIP() << "cannot give a folder away without administrator rights";
    EXPECT_EQ(os::runtimeFolder(), "");
    EXPECT_EQ(instance.acquire("x"), LockResult::Failed);

    // Without $XDG_RUNTIME_DIR the folder lies in the temporary folder.
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    EXPECT_EQ(os::runtimeFolder(), dir / ("solvanor-" + std::to_string(::getuid()) + "/"));
    ::unsetenv("TMPDIR");
}

} // namespace
