#include "os/Process.h"

#include "os/codePage.h"
#include "os/drives.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace os {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The program and its argument vector for a command line; false when the line
// is empty or names no program.
struct Command {
    std::string program;
    std::vector<std::string> words; // UTF-8
    std::vector<char*> argv;        // into words, null-ended
};

bool prepare(const std::string& commandLine, Command& command, std::string& error) {
    const std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty() || words[0].empty()) {
        error = "empty command line";
        errno = ENOENT;
        return false;
    }
    command.program = findProgram(words[0]);
    if (command.program.empty()) {
        error = "program not found: " + cp1252ToUtf8(words[0]);
        errno = ENOENT;
        return false;
    }
    for (const std::string& w : words)
        command.words.push_back(cp1252ToUtf8(w));
    for (std::string& w : command.words)
        command.argv.push_back(w.data());
    command.argv.push_back(nullptr);
    return true;
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

} // namespace

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            std::size_t n = 0;
            while (i < text.size() && text[i] == '\\') {
                ++n;
                ++i;
            }
            if (i < text.size() && text[i] == '"') {
                word.append(n / 2, '\\');
                if (n % 2) {
                    word += '"';
                    ++i;
                }
                // An even run leaves the quote to group, below.
            } else {
                word.append(n, '\\');
            }
        } else if (c == '"') {
            quoted = !quoted;
            ++i;
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

std::string findProgram(const std::string& word) {
    if (word.empty()) return "";
    if (word.find('/') != std::string::npos || word.find('\\') != std::string::npos) {
        const std::string path = localPath(word);
        return isExecutableFile(path) ? path : "";
    }
    const std::string name = cp1252ToUtf8(word);
    const std::string beside = programDirectory();
    if (!beside.empty() && isExecutableFile(beside + "/" + name)) return beside + "/" + name;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t pos = 0;
    while (pos <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', pos), folders.size());
        const std::string folder = folders.substr(pos, end - pos);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (isExecutableFile(candidate)) return candidate;
        pos = end + 1;
    }
    return "";
}

Process::~Process() {
    if (pid_ > 1 && !reaped_) reap(false);
}

bool Process::start(const std::string& commandLine, const std::string& workingDirectory) {
    if (pid_ > 1 && !reaped_ && running()) {
        error_ = "the program still runs";
        return false;
    }
    Command command;
    if (!prepare(commandLine, command, error_)) return false;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, command.program.c_str(), &actions, &attributes,
                                     command.argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed) {
        error_ = command.program + ": " + std::strerror(failed);
        errno = failed;
        return false;
    }
    pid_ = pid;
    reaped_ = false;
    exitCode_ = -1;
    error_.clear();
    return true;
}

bool Process::reap(bool wait) {
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
        if (r == 0) return false;
        if (r < 0 && errno == EINTR) continue;
        reaped_ = true;
        // ECHILD: someone else reaped it (SIGCHLD ignored); its code is lost.
        exitCode_ = r == pid_ ? exitCodeOf(status) : -1;
        return true;
    }
}

bool Process::running() {
    if (pid_ <= 1 || reaped_) return false;
    return !reap(false);
}

int Process::exitCode() {
    running();
    return reaped_ ? exitCode_ : -1;
}

bool Process::terminate(int code) {
    if (!running()) return false;
    // The child leads its own session, so its group id is its pid; its pid
    // stays ours until it is reaped below.
    ::kill(-pid_, SIGTERM);
    ::kill(pid_, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    siginfo_t info{};
    while (std::chrono::steady_clock::now() < end) {
        info.si_pid = 0;
        if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid_)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Whatever of the group is left, the child itself included, ends now.
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    reap(true);
    exitCode_ = code;
    return true;
}

bool startDetached(const std::string& commandLine, const std::string& workingDirectory) {
    Command command;
    std::string error;
    if (!prepare(commandLine, command, error)) return false;
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const char* folder = workingDirectory.empty() ? nullptr : workingDirectory.c_str();

    const pid_t first = ::fork();
    if (first < 0) {
        const int e = errno;
        ::close(report[0]);
        ::close(report[1]);
        errno = e;
        return false;
    }
    if (first == 0) {
        // Only async-signal-safe calls from here on.
        ::close(report[0]);
        const auto fail = [&](int e) {
            (void)!::write(report[1], &e, sizeof e);
            ::_exit(127);
        };
        ::setsid();
        const pid_t second = ::fork();
        if (second < 0) fail(errno);
        if (second > 0) ::_exit(0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction defaults {};
        defaults.sa_handler = SIG_DFL;
        for (int s = 1; s < NSIG; ++s)
            if (s != SIGKILL && s != SIGSTOP) ::sigaction(s, &defaults, nullptr);
        const int null = ::open("/dev/null", O_RDONLY);
        if (null < 0 || ::dup2(null, 0) < 0) fail(errno);
        if (folder && ::chdir(folder) != 0) fail(errno);
        if (report[1] > 3) ::close_range(3, static_cast<unsigned>(report[1]) - 1, 0);
        ::close_range(static_cast<unsigned>(report[1]) + 1, ~0u, 0);
        ::execve(command.program.c_str(), command.argv.data(), environ);
        fail(errno);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(first, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t n;
    while ((n = ::read(report[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (n > 0) {
        errno = childError ? childError : ECHILD;
        return false;
    }
    return true;
}

} // namespace os
