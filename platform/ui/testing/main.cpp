// The main of window-layer tests: Qt runs offscreen unless the environment
// says otherwise, and every modal that a test did not script fails that test
// instead of waiting for a user.
#include "ModalScript.h"

#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    static uitest::TStrictRunner strict;
    ui::SetModalRunner(&strict);
    const int result = RUN_ALL_TESTS();
    ui::SetModalRunner(nullptr);
    ui::ShutdownQtApplication();
    return result;
}
