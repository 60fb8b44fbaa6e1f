// The program itself, `vardekka`, started on a fixture folder: it runs its
// loop, and SIGTERM ends it in order with exit code 0, its 3D generator
// stopped after the half second and nothing left running.
#include "AppTestSupport.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Whether the process catches SIGTERM: the window layer's loop installs its
// handler when the loop starts.
bool catchesSigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// Waits for the child's end; its exit status, or -1 after the timeout.
int waitExit(pid_t pid, std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

TEST(Program, StartsOnAFixtureFolderAndStopsInOrderOnSigterm) {
    apptest::TestFolder folder;
    apptest::writeFile(folder / "SOLVNV.INI", apptest::sampleIni("CrsMinutes=3\r\n"));
    std::filesystem::copy_file(apptest::kDataDir + "/ECPALETT.INI", folder / "ECPALETT.INI");
    apptest::writeScript(folder / "bin/Bygrel", "trap 'echo stopped > bygrel-term; exit 0' TERM\n"
                                                "echo $$ > bygrel-started\n"
                                                "while :; do sleep 0.02; done\n");
    apptest::EnvSetting path("PATH", folder / "bin:/usr/bin:/bin");
    apptest::EnvSetting platform("QT_QPA_PLATFORM", "offscreen");
    apptest::EnvSetting config("XDG_CONFIG_HOME", folder / "config");

    const std::string program = VARDEKKA_PROGRAM;
    std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ), 0);

    bool running = false;
    for (int i = 0; i < 1500 && !running; ++i) {
        running = catchesSigterm(pid) && std::filesystem::exists(folder / "bygrel-started");
        if (!running) std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(running) << "the program did not reach its loop";
    EXPECT_TRUE(os::isWindowPresent(kViewerTitle));
    const pid_t generator = std::stoi(apptest::readFile(folder / "bygrel-started"));

    ::kill(pid, SIGTERM);
    EXPECT_EQ(waitExit(pid, 30s), 0);
    EXPECT_EQ(apptest::readFile(folder / "bygrel-term"), "stopped\n");
    EXPECT_NE(::kill(generator, 0), 0); // nothing of it is left
    EXPECT_FALSE(os::isWindowPresent(kViewerTitle));
}

} // namespace
