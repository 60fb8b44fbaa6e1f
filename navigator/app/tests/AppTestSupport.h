// Helpers of the program's tests: a temporary folder that is the current folder
// and the process's runtime folder while a test runs, settings files written
// into it, environment settings put back afterwards, and the program-wide
// state of the start-up set back between tests.
#pragma once

#include "ViewerExchange.h"
#include "app/KVViewerApp.h"
#include "app/ViewerPalette.h"
#include "app/ViewerSettings.h"
#include "chart/ChartWindowState.h"
#include "d5arer/ExchangeSegment.h"
#include "os/drives.h"
#include "os/instanceLocks.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace apptest {

inline const std::string kDataDir = DATA_DIR;

// Sets an environment variable for the object's life.
class EnvSetting {
  public:
    EnvSetting(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvSetting() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    EnvSetting(const EnvSetting&) = delete;
    EnvSetting& operator=(const EnvSetting&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

inline void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A shell script made executable.
inline void writeScript(const std::string& path, const std::string& body) {
    writeFile(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// A fresh folder with an empty user-object store, made the current folder and
// the runtime folder (presence locks and the exchange segment) for the
// object's life; the test's
// program-wide state of the start-up is set back when it goes.
class TestFolder {
  public:
    TestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vardekka-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
        before_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
        std::filesystem::create_directories(path_ + "/runtime");
        std::filesystem::permissions(path_ + "/runtime", std::filesystem::perms::owner_all);
        runtime_.emplace("XDG_RUNTIME_DIR", path_ + "/runtime");
        // The empty user-object store of an installation (the chart window
        // opens it in the current folder), so that no start shows the boxes
        // of a first start.
        for (const auto& file : std::filesystem::directory_iterator(SAMPLE_BACKUP_DIR))
            std::filesystem::copy_file(file.path(), path_ + "/" + file.path().filename().string());
    }
    ~TestFolder() {
        SetViewerAppFactory(nullptr);
        SetChartKeyHandler({});
        ViewerPresenceLock().release();
        UnloadViewerExchange();
        ::shm_unlink(d5arer::exchangeSegmentName().c_str());
        ViewerSettings() = TViewerSettings{};
        ResetChartWindowState();
        os::resetDrives();
        runtime_.reset();
        std::error_code ec;
        std::filesystem::current_path(before_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
    std::filesystem::path before_;
    std::optional<EnvSetting> runtime_;
};

// A SOLVNV.INI whose folders are the project's data: the sample chart, the
// dictionaries and the sample tides. `extra` lines go into [KV71LIB].
inline std::string sampleIni(const std::string& extra = "") {
    return "[DIRECTORY]\r\nKV71ROOT=" + kDataDir + "/sample/kv71\r\n" +
           "[DICTIONARY]\r\nKV71ATTR.DIC=" + kDataDir + "/dict\r\nTIDES=" + kDataDir +
           "/sample/tides\r\n[KV71LIB]\r\n" + extra;
}

} // namespace apptest
