// A folder that cannot be deleted is shown to the user in a box, and the walk
// goes on.
#include "SetupMachine.h"

#include "files/DirProcs.h"
#include "text/SetupMessages.h"

#include "ModalScript.h"
#include "ui/forms/Forms.h"

#include <cerrno>
#include <string>

namespace {

class DeleteTreeMessage : public setuptest::SetupMachine {
  protected:
    void TearDown() override {
        SetSetupMessageSink(nullptr);
        ResetTreeCalls();
        SetupMachine::TearDown();
    }
};

TEST_F(DeleteTreeMessage, EachFolderThatStaysIsShownInABox) {
    makeTree("c/tree");
    std::int64_t files = 0;
    ASSERT_EQ(ClearReadOnlyTree(files, "C:\\tree"), 0);
    // The administrator may remove anything, so the refusal is injected.
    TreeCalls().rmdir = [](const char* path) {
        if (std::string(path).ends_with("/tree/ro")) {
            errno = EACCES;
            return -1;
        }
        return ::rmdir(path);
    };
    SetSetupMessageSink([](const std::string& text) { ui::forms::ShowMessage(text); });
    uitest::TModalScript script;
    script.Box(ui::forms::mrOk).Box(ui::forms::mrOk);
    EXPECT_FALSE(DeleteTree("C:\\tree\\"));
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.Modals().size(), 2u);
    EXPECT_EQ(script.Modals()[0].text,
              "ERRROR (" + std::to_string(EACCES) + ") deleting C:\\tree\\ro");
    EXPECT_EQ(script.Modals()[1].text,
              "ERRROR (" + std::to_string(ENOTEMPTY) + ") deleting C:\\tree");
    // The walk went on past the folder that stayed.
    EXPECT_FALSE(exists("c/tree/ro/r.txt"));
    EXPECT_FALSE(exists("c/tree/sub"));
    EXPECT_FALSE(exists("c/tree/a.txt"));
    EXPECT_TRUE(exists("c/outside/o.txt"));
}

} // namespace
