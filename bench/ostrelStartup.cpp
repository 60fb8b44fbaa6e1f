// The setup program's start on an X display: from the start of the ostrel
// process to the first paint of its main form on the screen, with the first
// show's work in between (Ostrel.INI, the installation search and load, the
// tabs, the six-port probe with COM1 on a pseudo-terminal, the shortcuts).
// The installation is the display test's: drive C a temporary folder with
// RUNTIME (the sample SOLVNV.INI, a stand-in navigation program) and KV71.
// The first start makes Ostrel.INI and the desktop entries; the measured
// starts find them. The paint is seen from outside: the form's pixels on the
// screen (an unpainted window shows the black root). Without DISPLAY the
// benchmark starts an Xvfb of its own. Goal: under 1 s.
#include "XWindowProbe.h"

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
const std::string kProgram = OSTREL_PROGRAM;
const std::string kSamples = SAMPLE_DIR;
constexpr const char* kTitle = "Solvanor Setup ver. 2.18.4";

// An Xvfb of the benchmark's own when no display is given.
struct TestDisplay {
    pid_t server = -1;
    ::Display* x = nullptr;
    TestDisplay() {
        if (!std::getenv("DISPLAY")) start();
        x = XOpenDisplay(nullptr);
    }
    ~TestDisplay() {
        if (x) XCloseDisplay(x);
        if (server > 0) {
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
        }
    }
    void start() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        server = ::fork();
        if (server == 0) {
            ::dup2(fds[1], 3);
            ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten",
                     "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char number[16] = {};
        const ssize_t n = ::read(fds[0], number, sizeof number - 1);
        ::close(fds[0]);
        if (n > 0) ::setenv("DISPLAY", (":" + std::string(number, std::size_t(n) - 1)).c_str(), 1);
    }
};

// The prepared installation, its platform file and desktop.
struct Installation {
    std::string base;
    int master = -1, slave = -1;
    std::vector<std::string> env;
    Installation() {
        std::string pattern = (fs::temp_directory_path() / "ostrelstart-XXXXXX").string();
        base = ::mkdtemp(pattern.data()) ? pattern : ".";
        for (const char* folder : {"/c/RUNTIME/KV71ATTR", "/c/RUNTIME/TIDES", "/c/KV71", "/Desktop",
                                   "/home", "/config/solvanor", "/runtime"})
            fs::create_directories(base + folder);
        fs::permissions(base + "/runtime", fs::perms::owner_all);
        fs::copy_file(kSamples + "/SOLVNV.INI", base + "/c/RUNTIME/SOLVNV.INI");
        std::ofstream(base + "/c/RUNTIME/vardekka") << "#!/bin/sh\n";
        char name[128] = {};
        ::openpty(&master, &slave, name, nullptr, nullptr);
        std::ofstream platform(base + "/config/solvanor/platform.ini");
        platform << "[DRIVES]\nC=" << base << "/c\n[PORTS]\nCOM1=" << name << "\n";
        for (int n = 2; n <= 6; ++n)
            platform << "COM" << n << "=" << base << "/no-port-" << n << "\n";
        std::ofstream(base + "/config/user-dirs.dirs")
            << "XDG_DESKTOP_DIR=\"" << base << "/Desktop\"\n";
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        for (const std::string& set :
             {"HOME=" + base + "/home", "XDG_CONFIG_HOME=" + base + "/config",
              "XDG_RUNTIME_DIR=" + base + "/runtime", std::string("UI_NONINTERACTIVE=1"),
              std::string("QT_QPA_PLATFORM=xcb")})
            env.push_back(set);
    }
    ~Installation() {
        ::close(master);
        ::close(slave);
        std::error_code ec;
        fs::remove_all(base, ec);
    }

    pid_t start() {
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = kProgram;
        char* argv[] = {program.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, (base + "/c/RUNTIME").c_str());
        pid_t pid = -1;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }
};

// Starts ostrel and waits for its painted form; the seconds taken, or -1.
double StartToFirstPaint(Installation& inst, ::Display* x) {
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = inst.start();
    if (pid <= 0) return -1;
    double seconds = -1;
    const auto end = begin + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end) {
        const xprobe::WindowRect rect = xprobe::FindWindow(x, kTitle);
        if (rect.id && xprobe::Painted(xprobe::Grab(x, rect))) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    // The program closes as the user would; wait until its window is gone.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return seconds;
}

void BM_StartToFirstPaint(benchmark::State& state) {
    static TestDisplay display;
    if (!display.x) {
        state.SkipWithError("no X display (and Xvfb could not be started)");
        return;
    }
    static Installation installation;
    static const bool warmed = StartToFirstPaint(installation, display.x) >= 0;
    if (!warmed) {
        state.SkipWithError("the main form was never painted");
        return;
    }
    for (auto _ : state) {
        const double seconds = StartToFirstPaint(installation, display.x);
        if (seconds < 0) {
            state.SkipWithError("the main form was never painted");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace
