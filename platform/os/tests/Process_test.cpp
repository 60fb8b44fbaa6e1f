#include "os/Process.h"

#include "os/drives.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using ostest::readBytes;
using ostest::TempFolder;
using Words = std::vector<std::string>;

TEST(SplitCommandLine, FollowsWindowsRules) {
    struct Case {
        std::string text;
        Words words;
    } cases[] = {
        {"Bygrel", {"Bygrel"}},
        {"  a \t b  ", {"a", "b"}},
        {"\"C:\\Program Files\\Viewer\\v.exe\" \"DOKUVUK.PDF\"",
         {"C:\\Program Files\\Viewer\\v.exe", "DOKUVUK.PDF"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"\" x", {"", "x"}},
        {"C:\\KV71\\ next", {"C:\\KV71\\", "next"}}, // backslashes literal
        {"a\\\\\"b c\"", {"a\\b c"}},                // 2n backslashes: n, quote groups
        {"a\\\"b c", {"a\"b", "c"}},                 // 2n + 1: n and a literal quote
        {"a\\\\\\\\\"b", {"a\\\\b"}},                // four backslashes: two, quote groups
        {"a\\\\\\\\\\\"b", {"a\\\\\"b"}},            // five: two and a literal quote
        {"\"unended group", {"unended group"}},
        {"S\xF8k \xE5", {"S\xF8k", "\xE5"}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::splitCommandLine(c.text), c.words) << c.text;
}

void writeScript(const std::string& path, const std::string& body) {
    ostest::writeBytes(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

// A temporary PATH and a script beside the test program, both named for this
// process so that parallel runs do not meet.
class Processes : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
        std::filesystem::create_directories(dir / "bin");
        std::filesystem::create_directories(dir / "work");
        ::setenv("PATH", (dir / "bin:" + savedPath).c_str(), 1);
        unique = "os-test-" + std::to_string(::getpid());
        beside = os::programDirectory() + "/" + unique;
    }
    void TearDown() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        std::filesystem::remove(beside);
        os::resetDrives();
    }
    TempFolder dir;
    std::string savedPath, unique, beside;
};

// Waits until the file exists and is complete (ends in a line end).
std::string waitForFile(const std::string& path) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        const std::string text = readBytes(path);
        if (!text.empty() && text.back() == '\n') return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return "";
}

bool hasEnded(pid_t pid) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string pidText, name, state;
        if (!(stat >> pidText >> name >> state) || state == "Z") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(Processes, ProgramsAreFoundBesideTheProgramThenOnThePath) {
    writeScript(dir / ("bin/" + unique), "echo path\n");
    writeScript(dir / "bin/onlyonpath", "echo path\n");
    ostest::writeBytes(dir / "bin/notexecutable", "x");
    writeScript(dir / "work/tool", "echo tool\n");
    EXPECT_EQ(os::findProgram(unique), dir / ("bin/" + unique));
    writeScript(beside, "echo \"beside $*\" > \"$OSTEST_OUT\"\n");
    EXPECT_EQ(os::findProgram(unique), beside);
    EXPECT_EQ(os::findProgram("onlyonpath"), dir / "bin/onlyonpath");
    EXPECT_EQ(os::findProgram("notexecutable"), "");
    EXPECT_EQ(os::findProgram("missing-program"), "");
    EXPECT_EQ(os::findProgram(""), "");

    os::setDrive('C', dir.path(), os::DriveType::Fixed);
    EXPECT_EQ(os::findProgram("C:\\work\\tool"), dir / "work/tool");
    EXPECT_EQ(os::findProgram(dir / "work/tool"), dir / "work/tool");
    EXPECT_EQ(os::findProgram("C:\\work\\none"), "");
    EXPECT_EQ(os::findProgram("tool"), "") << "a bare name is not looked for in the current folder";

    // start() uses the same lookup: the script beside the program runs. No
    // shell reads the line: ">" is just an argument.
    ::setenv("OSTEST_OUT", (dir / "said").c_str(), 1);
    os::Process p;
    ASSERT_TRUE(p.start(unique + " > \"" + (dir / "out") + "\"")) << p.error();
    EXPECT_EQ(waitForFile(dir / "said"), "beside > " + (dir / "out") + "\n");
    while (p.running())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    ::unsetenv("OSTEST_OUT");
}

TEST_F(Processes, ArgumentsFolderAndExitCode) {
    writeScript(dir / "bin/report",
                "pwd > \"$1\"\nshift\nfor a in \"$@\"; do echo \"[$a]\" >> \"$OUT\"; done\n"
                "read line && echo stdin-not-empty >> \"$OUT\"\nexit 7\n");
    ::setenv("OUT", (dir / "args").c_str(), 1);
    os::Process p;
    EXPECT_EQ(p.exitCode(), -1);
    ASSERT_TRUE(p.start("report \"" + (dir / "pwd") + "\" \"two words\" S\xF8r \"\"", dir / "work"))
        << p.error();
    EXPECT_GT(p.pid(), 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (p.running() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(p.running());
    EXPECT_EQ(p.exitCode(), 7);
    EXPECT_EQ(readBytes(dir / "pwd"), dir / "work\n");
    EXPECT_EQ(readBytes(dir / "args"), "[two words]\n[S\u00F8r]\n[]\n");
    ::unsetenv("OUT");
    EXPECT_FALSE(p.terminate(1)) << "a reaped child is never signalled";
    EXPECT_EQ(p.exitCode(), 7);

    os::Process none;
    EXPECT_FALSE(none.running());
    EXPECT_FALSE(none.terminate(1));
    EXPECT_EQ(none.exitCode(), -1);
    EXPECT_FALSE(none.start("missing-program"));
    EXPECT_FALSE(none.start("   "));
    EXPECT_FALSE(none.error().empty());
    EXPECT_FALSE(none.start("report x", dir / "no-such-folder"));
}

TEST_F(Processes, TerminateEndsTheWholeGroup) {
    writeScript(dir / "bin/sleeper", "sleep 30 &\necho $! > \"$1\"\nwait $!\n");
    os::Process p;
    ASSERT_TRUE(p.start("sleeper " + (dir / "sleep.pid")));
    const std::string sleepPid = waitForFile(dir / "sleep.pid");
    ASSERT_FALSE(sleepPid.empty());
    EXPECT_TRUE(p.running());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(p.terminate(1));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(p.running());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(hasEnded(std::stoi(sleepPid)));
    EXPECT_FALSE(p.terminate(2));
    EXPECT_EQ(p.exitCode(), 1);

    // One that ignores SIGTERM is killed after a second.
    writeScript(dir / "bin/stubborn",
                "trap '' TERM\necho up > \"$1\"\nwhile :; do sleep 1; done\n");
    ASSERT_TRUE(p.start("stubborn " + (dir / "up")));
    ASSERT_EQ(waitForFile(dir / "up"), "up\n");
    EXPECT_TRUE(p.terminate(9));
    EXPECT_FALSE(p.running());
    EXPECT_EQ(p.exitCode(), 9);
}

TEST_F(Processes, StartDetachedLeavesNothingToReap) {
    writeScript(dir / "bin/detached", "pwd > \"$1.tmp\"; mv \"$1.tmp\" \"$1\"\n");
    ASSERT_TRUE(os::startDetached("detached " + (dir / "done"), dir / "work"));
    EXPECT_EQ(waitForFile(dir / "done"), dir / "work\n");
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child was left";
    EXPECT_EQ(errno, ECHILD);

    errno = 0;
    EXPECT_FALSE(os::startDetached("missing-program x"));
    EXPECT_EQ(errno, ENOENT);
    // Found, but its exec fails: the pipe reports it.
    ostest::writeBytes(dir / "bin/broken", "#!/no/such/interpreter\n");
    ::chmod((dir / "bin/broken").c_str(), 0755);
    errno = 0;
    EXPECT_FALSE(os::startDetached("broken"));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(os::startDetached("detached x", dir / "no-such-folder"));
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

} // namespace
