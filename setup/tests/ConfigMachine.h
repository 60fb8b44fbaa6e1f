// A machine for the configuration tests: the setup tests' drive table (C, D
// and E fixed, F a CD-ROM) and desktop C:\Desktop, with the current directory
// C:\work, and helpers for fixture files and what the navigation program
// reads from a configuration file.
#pragma once

#include "SetupMachine.h"

#include "os/privateProfile.h"

#include <unistd.h>

#include <string>
#include <vector>

namespace setuptest {

class ConfigMachine : public SetupMachine {
  protected:
    void SetUp() override {
        SetupMachine::SetUp();
        mkdirs("c/work");
        if (::chdir((tmp / "c/work").c_str()) != 0) FAIL() << "chdir";
    }

    static std::string fixture(const std::string& name) {
        return std::string(OSTREL_FIXTURES) + "/config/" + name;
    }
    static std::string sample(const std::string& name) {
        return std::string(OSTREL_SAMPLES) + "/" + name;
    }
    // The bytes of a file below the temporary base.
    std::string bytes(const std::string& path) const { return ostest::readBytes(tmp / path); }
    // Copies a file's bytes to `path` below the temporary base.
    void copyTo(const std::string& from, const std::string& path) {
        touch(path, ostest::readBytes(from));
    }

    // What the navigation program's profile reader gives for a key of the
    // file at `path` below the temporary base; "<none>" when it finds no line.
    std::string navigatorReads(const std::string& path, const char* section,
                               const std::string& key) const {
        std::vector<char> buffer(1024);
        os::getPrivateProfileString(section, key.c_str(), "<none>", buffer.data(),
                                    static_cast<std::uint32_t>(buffer.size()),
                                    (tmp / path).c_str());
        return buffer.data();
    }
};

} // namespace setuptest
