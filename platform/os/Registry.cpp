#include "os/Registry.h"

#include "os/Process.h"
#include "os/codePage.h"
#include "os/drives.h"
#include "os/textFiles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace os {

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

// The value of XDG_DESKTOP_DIR in user-dirs.dirs: a quoted "$HOME/..." or
// absolute path; "" when the file does not set one that way.
std::string desktopFromUserDirs() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder =
        config && config[0] == '/' ? std::string(config) : homeFolder() + "/.config";
    std::vector<std::string> lines;
    if (!readTextLines(folder + "/user-dirs.dirs", lines)) return "";
    for (const std::string& line : lines) {
        std::size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line.compare(i, 16, "XDG_DESKTOP_DIR=") != 0) continue;
        std::string value = line.substr(i + 16);
        if (value.size() < 2 || value.front() != '"') continue;
        std::string unquoted;
        for (std::size_t k = 1; k < value.size() && value[k] != '"'; ++k) {
            if (value[k] == '\\' && k + 1 < value.size()) ++k;
            unquoted += value[k];
        }
        if (unquoted.rfind("$HOME", 0) == 0 && (unquoted.size() == 5 || unquoted[5] == '/'))
            return homeFolder() + unquoted.substr(5);
        if (!unquoted.empty() && unquoted[0] == '/') return unquoted;
    }
    return "";
}

// The standard output of a program run with its arguments (no shell), when it
// ends with code 0 within five seconds.
std::optional<std::string> outputOf(const std::vector<std::string>& words) {
    const std::string program = findProgram(words[0]);
    if (program.empty()) return std::nullopt;
    std::vector<std::string> args = words;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int failed =
        ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(out[1]);
    if (failed) {
        ::close(out[0]);
        return std::nullopt;
    }
    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            timedOut = r == 0;
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    if (timedOut) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

// The media type of the document extensions the system opens.
const char* mediaType(const std::string& ext) {
    if (ext == "pdf") return "application/pdf";
    if (ext == "chm") return "application/vnd.ms-htmlhelp";
    return nullptr;
}

class DesktopRegistry : public Registry {
  public:
    std::optional<std::string> readString(RegistryRoot root, const std::string& key,
                                          const std::string& valueName) const override {
        const std::string k = lowerAscii(key);
        const std::string v = lowerAscii(valueName);
        if (root == RegistryRoot::CurrentUser &&
            k == "software\\microsoft\\windows\\currentversion\\explorer\\shell folders" &&
            v == "desktop") {
            std::string folder = desktopFromUserDirs();
            if (folder.empty()) folder = homeFolder() + "/Desktop";
            if (!isFolder(folder)) return std::nullopt;
            const std::string text = windowsPath(folder);
            if (text.empty()) return std::nullopt;
            return text;
        }
        const std::string classes = "software\\classes\\";
        if (root != RegistryRoot::LocalMachine || !v.empty() || k.rfind(classes, 0) != 0)
            return std::nullopt;
        const std::string rest = k.substr(classes.size());
        if (rest.size() > 1 && rest[0] == '.') {
            const std::string ext = rest.substr(1);
            const char* type = mediaType(ext);
            if (!type) return std::nullopt;
            const auto app = outputOf({"xdg-mime", "query", "default", type});
            if (!app || app->find_first_not_of(" \t\r\n") == std::string::npos) return std::nullopt;
            return "xdg." + ext;
        }
        const std::string suffix = "\\shell\\open\\command";
        if (rest.rfind("xdg.", 0) == 0 && rest.size() > suffix.size() &&
            rest.compare(rest.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            mediaType(rest.substr(4, rest.size() - 4 - suffix.size()))) {
            bool exact = false;
            const std::string opener = utf8ToCp1252(findProgram("xdg-open"), &exact);
            if (opener.empty() || !exact) return std::nullopt;
            return "\"" + opener + "\" \"%1\"";
        }
        return std::nullopt;
    }
};

std::atomic<const Registry*>& replacement() {
    static std::atomic<const Registry*> r{nullptr};
    return r;
}

} // namespace

const Registry& registry() {
    static const DesktopRegistry desktop;
    const Registry* r = replacement().load();
    return r ? *r : desktop;
}

void setRegistry(const Registry* r) {
    replacement().store(r);
}

void FakeRegistry::set(RegistryRoot root, const std::string& key, const std::string& valueName,
                       const std::string& value) {
    values_[{root, lowerAscii(key), lowerAscii(valueName)}] = value;
}

std::optional<std::string> FakeRegistry::readString(RegistryRoot root, const std::string& key,
                                                    const std::string& valueName) const {
    const auto it = values_.find({root, lowerAscii(key), lowerAscii(valueName)});
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

} // namespace os
