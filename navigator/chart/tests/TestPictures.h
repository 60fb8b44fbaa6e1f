// Where the chart window's tests write the pictures a person looks at: the
// build tree's navigator/chart/tests/pictures/.
#pragma once

#include <filesystem>
#include <string>

namespace charttest {

inline std::string picturePath(const std::string& name) {
    std::filesystem::create_directories(CHART_TEST_PICTURES);
    return std::string(CHART_TEST_PICTURES) + "/" + name + ".png";
}

} // namespace charttest
