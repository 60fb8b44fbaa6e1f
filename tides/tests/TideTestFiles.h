// Helpers of the tide tests: a scratch directory and small ports written with
// the tide file writer.
#pragma once

#include "TideFileWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tidetest {

// A fresh directory under the system's temporary directory, removed at the end.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidesXXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string sub(const std::string& name) const {
        const std::string p = path_ + "/" + name;
        std::filesystem::create_directories(p);
        return p;
    }

  private:
    std::string path_;
};

inline void write(const std::string& dir, const std::vector<tidetools::TidePort>& ports) {
    const std::string error = tidetools::writeTideFiles(dir, ports);
    ASSERT_EQ(error, "") << dir;
}

// Table rows of the constituents the tests use.
constexpr std::int16_t kZ0 = 0, kMm = 3, kMf = 5, kO1 = 8, kM1 = 10, kK1 = 15, kN2 = 25, kM2 = 29,
                       kL2 = 33, kS2 = 36, kK2 = 38, kM3 = 42;

} // namespace tidetest
