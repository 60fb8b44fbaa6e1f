// The main of window-layer tests: Qt runs offscreen unless the environment
// says otherwise, the process gets a runtime folder of its own (its presence
// locks touch nobody else's) unless one is given, and every modal that a test
// did not script fails that test instead of waiting for a user.
#include "ModalScript.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string runtime;
    if (const char* r = std::getenv("XDG_RUNTIME_DIR"); !r || !*r) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/uitest-runtime-XXXXXX";
        if (mkdtemp(pattern.data())) {
            runtime = pattern;
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    static uitest::TStrictRunner strict;
    ui::SetModalRunner(&strict);
    const int result = RUN_ALL_TESTS();
    ui::SetModalRunner(nullptr);
    ui::ShutdownQtApplication();
    if (!runtime.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(runtime, ec);
    }
    return result;
}
