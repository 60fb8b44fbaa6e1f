// A machine of the setup program's tests: a drive table over temporary
// folders (C, D and E fixed, F a CD-ROM, no other letter), a registry whose
// desktop folder is C:\Desktop, and a home folder of its own; the real ones
// come back afterwards.
#pragma once

#include "os/Registry.h"
#include "os/drives.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace setuptest {

class SetupMachine : public ::testing::Test {
  protected:
    void SetUp() override {
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            os::setDrive(letter, "", os::DriveType::Fixed);
        for (const char* folder : {"c", "d", "e", "f", "c/Desktop", "home"})
            std::filesystem::create_directories(tmp / folder);
        os::setDrive('C', tmp / "c", os::DriveType::Fixed);
        os::setDrive('D', tmp / "d", os::DriveType::Fixed);
        os::setDrive('E', tmp / "e", os::DriveType::Fixed);
        os::setDrive('F', tmp / "f", os::DriveType::CdRom);
        registry.set(os::RegistryRoot::CurrentUser,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Desktop", "C:\\Desktop");
        os::setRegistry(&registry);
        if (const char* home = std::getenv("HOME")) oldHome = home;
        setenv("HOME", (tmp / "home").c_str(), 1);
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd)) oldCwd = cwd;
    }

    void TearDown() override {
        // Read-only folders would keep their content from being removed.
        std::error_code ec;
        ::chmod(tmp.path().c_str(), 0755);
        for (auto it = std::filesystem::recursive_directory_iterator(tmp.path(), ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory() && !it->is_symlink()) ::chmod(it->path().c_str(), 0755);
        if (!oldCwd.empty() && ::chdir(oldCwd.c_str()) != 0) ADD_FAILURE() << "chdir back";
        if (oldHome)
            setenv("HOME", oldHome->c_str(), 1);
        else
            unsetenv("HOME");
        os::setRegistry(nullptr);
        os::setDiskFreeBytesFunction(nullptr);
        os::resetDrives();
    }

    // Makes the folders and an empty file at `path` below the temporary base.
    void touch(const std::string& path, const std::string& bytes = "") {
        std::filesystem::create_directories(std::filesystem::path(tmp / path).parent_path());
        ostest::writeBytes(tmp / path, bytes);
    }
    void mkdirs(const std::string& path) { std::filesystem::create_directories(tmp / path); }
    bool exists(const std::string& path) const {
        struct stat st;
        return ::lstat((tmp / path).c_str(), &st) == 0;
    }

    // The walkers' tree at `base` (below the temporary base), 5 files of 1135
    // bytes in all:
    //   .hidden (5), a.txt (10), lnk.txt -> a.txt, loop -> ".", out -> the
    //   folder c/outside (o.txt, 7), ro/ (mode 0555) with r.txt (20, 0444),
    //   sub/ with b.bin (100), back -> "..", and deep/c.txt (1000).
    // c/outside and o.txt are read-only too. The root's mode is 0555.
    void makeTree(const std::string& base) {
        touch(base + "/.hidden", std::string(5, 'h'));
        touch(base + "/a.txt", std::string(10, 'a'));
        touch(base + "/ro/r.txt", std::string(20, 'r'));
        touch(base + "/sub/b.bin", std::string(100, 'b'));
        touch(base + "/sub/deep/c.txt", std::string(1000, 'c'));
        touch("c/outside/o.txt", std::string(7, 'o'));
        link("a.txt", base + "/lnk.txt");
        link(".", base + "/loop");
        link(tmp / "c/outside", base + "/out");
        link("..", base + "/sub/back");
        for (const char* file : {"/ro/r.txt"})
            ::chmod((tmp / (base + file)).c_str(), 0444);
        ::chmod((tmp / "c/outside/o.txt").c_str(), 0444);
        ::chmod((tmp / "c/outside").c_str(), 0555);
        ::chmod((tmp / (base + "/ro")).c_str(), 0555);
        ::chmod((tmp / base).c_str(), 0555);
    }
    void link(const std::string& target, const std::string& at) {
        if (::symlink(target.c_str(), (tmp / at).c_str()) != 0) ADD_FAILURE() << "symlink " << at;
    }
    mode_t mode(const std::string& path) const {
        struct stat st;
        return ::lstat((tmp / path).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }

    ostest::TempFolder tmp;
    os::FakeRegistry registry;
    std::optional<std::string> oldHome;
    std::string oldCwd;
};

} // namespace setuptest
