// The chart copy form through the headless runner: the drive scan, the
// questions, a refused and a failed copy, and a full copy on its worker.
#include "ChartCopyMachine.h"

#include "chartcopy/FoDirCopy.h"

#include "ModalScript.h"
#include "os/textFiles.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace ui::forms;

void Click(TButton& button) {
    static_cast<QAbstractButton*>(button.GetHandle())->click();
}

// Runs the loop until `done` holds; false after 20 s.
bool RunUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Application().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class FoDirCopy : public setuptest::ChartCopyMachine {
  protected:
    void SetUp() override {
        ChartCopyMachine::SetUp();
        makeCd();
    }
    std::unique_ptr<TFoDirCopy> makeForm() {
        return std::unique_ptr<TFoDirCopy>(CreateForm<TFoDirCopy>(nullptr));
    }
};

TEST_F(FoDirCopy, TheScanChoosesTheLastChartCd) {
    struct Case {
        const char* name;
        const char* cds; // CD-ROM letters; upper case holds KV71
        char chosen;
        bool noCdMessage;
    } cases[] = {
        {"the last chart CD wins", "FGh", 'G', false},
        {"a chart CD before a CD without charts", "Fg", 'F', false},
        {"a chart CD after a CD without charts", "gH", 'H', false},
        {"no chart CD: the last CD-ROM", "gh", 'H', false},
        {"no CD-ROM", "", 'C', true},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++run;
        for (char letter : {'F', 'G', 'H'})
            os::setDrive(letter, "", os::DriveType::CdRom);
        for (const char* p = c.cds; *p; ++p) {
            const char letter = char(std::toupper(*p));
            const std::string root = "cd" + std::to_string(run) + letter;
            mkdirs(root);
            if (std::isupper(*p)) mkdirs(root + "/KV71");
            os::setDrive(letter, tmp / root, os::DriveType::CdRom);
        }
        auto form = makeForm();
        uitest::TModalScript script;
        script.Form("FoDirCopy", [&](TForm& f) {
            auto& copy = static_cast<TFoDirCopy&>(f);
            EXPECT_EQ(copy.DriveComboBox1->GetDrive(), c.chosen);
            EXPECT_EQ(copy.SourcePath(), std::string(1, c.chosen) + ":\\KV71");
            EXPECT_TRUE(copy.DriveComboBox1->Focused());
            EXPECT_EQ(copy.LblCopied->GetCaption(), "0");
            Click(*copy.BtnCancel);
        });
        if (c.noCdMessage) script.Box(mrOk);
        EXPECT_EQ(form->Execute('1', 2, "C:\\KV71", {}), "");
        if (c.noCdMessage) {
            // Modals are recorded as they end: the box inside the form first.
            ASSERT_EQ(script.Modals().size(), 2u);
            EXPECT_EQ(script.Modals()[0].text, "No CD-ROM drive was found");
        }
    }
}

TEST_F(FoDirCopy, CaptionsFollowTheLanguage) {
    auto form = makeForm();
    uitest::TModalScript script;
    script
        .Form("FoDirCopy",
              [](TForm& f) {
                  auto& copy = static_cast<TFoDirCopy&>(f);
                  EXPECT_EQ(copy.GetCaption(), "Solvanor - Kopiering av kart");
                  EXPECT_EQ(copy.LblSource->GetCaption(), "Kilde-stasjon:");
                  EXPECT_EQ(copy.LblDestination->GetCaption(), "M\xE5l-stasjon:");
                  EXPECT_EQ(copy.LblDestinationDir->GetCaption(), "C:\\KV71");
                  EXPECT_EQ(copy.LblFilesCopied->GetCaption(), "Filer kopiert:");
                  EXPECT_EQ(copy.BtnCopy->GetCaption(), "&Kopi\xE9r");
                  EXPECT_EQ(copy.BtnCancel->GetCaption(), "Avbryt");
                  EXPECT_FALSE(copy.Memo1->GetVisible());
                  copy.Close();
              })
        .Form("FoDirCopy", [](TForm& f) {
            auto& copy = static_cast<TFoDirCopy&>(f);
            EXPECT_EQ(copy.GetCaption(), "Solvanor - Install chart-CD");
            EXPECT_EQ(copy.LblSource->GetCaption(), "Source drive:");
            EXPECT_EQ(copy.LblDestination->GetCaption(), "Destination drive:");
            EXPECT_EQ(copy.LblDestinationDir->GetCaption(), "D:\\CHARTS");
            EXPECT_EQ(copy.BtnCopy->GetCaption(), "&Copy");
            EXPECT_EQ(copy.BtnCancel->GetCaption(), "Cancel");
            copy.Close();
        });
    EXPECT_EQ(form->Execute('1', 1, "", {}), "");
    EXPECT_EQ(form->Execute('B', 2, "D:\\CHARTS", {}), "");
}

TEST_F(FoDirCopy, ADriveWithoutChartsGoesBackToC) {
    mkdirs("d/kv71");
    auto form = makeForm();
    uitest::TModalScript script;
    script
        .Form("FoDirCopy",
              [](TForm& f) {
                  auto& copy = static_cast<TFoDirCopy&>(f);
                  copy.DriveComboBox1->SetDrive('D'); // charts, in lower case
                  copy.DriveComboBox1Change(copy.DriveComboBox1);
                  EXPECT_EQ(copy.DriveComboBox1->GetDrive(), 'D');
                  copy.DriveComboBox1->SetDrive('C'); // C is never questioned
                  copy.DriveComboBox1Change(copy.DriveComboBox1);
                  EXPECT_EQ(copy.DriveComboBox1->GetDrive(), 'C');
                  copy.DriveComboBox1->SetDrive('E');
                  copy.DriveComboBox1Change(copy.DriveComboBox1);
                  EXPECT_EQ(copy.DriveComboBox1->GetDrive(), 'C');
                  copy.Close();
              })
        .Box(mrOk);
    form->Execute('1', 2, "C:\\KV71", {});
    ASSERT_EQ(script.Modals().size(), 2u);
    EXPECT_EQ(script.Modals()[0].text, "No Kelva charts was found on E:");
}

TEST_F(FoDirCopy, QuestionsAnsweredCancelAndRefusalsTouchNothing) {
    mkdirs("c/NAV/RUNTIME");
    const auto before = treeWithModes("c");
    auto form = makeForm();
    uitest::TModalScript script;
    script
        .Form("FoDirCopy",
              [](TForm& f) {
                  auto& copy = static_cast<TFoDirCopy&>(f);
                  Click(*copy.BtnCopy); // the first question: Cancel
                  Click(*copy.BtnCopy); // the kind's question: Cancel
                  EXPECT_TRUE(copy.BtnCancel->GetEnabled());
                  Click(*copy.BtnCopy); // both OK: the destination is refused
                  EXPECT_FALSE(copy.Copying());
                  EXPECT_TRUE(copy.BtnCancel->GetEnabled()) << "Cancel is usable after a refusal";
                  EXPECT_TRUE(copy.BtnCancel->Focused());
                  copy.Close();
              })
        .Box(mrCancel)
        .Box(mrOk)
        .Box(mrCancel)
        .Box(mrOk)
        .Box(mrOk)
        .Box(mrOk);
    EXPECT_EQ(form->Execute('F', 2, "C:\\NAV", {.Installations = {"C:\\NAV\\RUNTIME\\"}}), "");
    ASSERT_EQ(script.Modals().size(), 7u);
    EXPECT_EQ(script.Modals()[0].text, "Are you sure you want to copy the charts from CD now?\r"
                                       "This may take a while (15-30 minutes).");
    EXPECT_EQ(script.Modals()[2].text, "Insert the CD containing fisheries charts and\r"
                                       "press OK to copy, or press Cancel to cancel.");
    EXPECT_EQ(script.Modals()[5].text, "Cannot copy the charts to C:\\NAV.");
    EXPECT_EQ(treeWithModes("c"), before);
}

TEST_F(FoDirCopy, CopiesOnItsWorkerAndReturnsTheDestination) {
    makeCd("c/KV71", "old");
    auto form = makeForm();
    // The first attempt fails at the tenth file; the second waits at its
    // first file until the test has looked at the running form.
    std::atomic<int> attempt{1}, copies{0};
    std::atomic<bool> release{false};
    form->Copier().Calls().copyFile = [&](const std::string& from, const std::string& to) {
        const int n = ++copies;
        if (attempt == 1 && n == 10) {
            errno = EIO;
            return false;
        }
        if (attempt == 2 && n == 1)
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return os::copyFile(from, to, false, false);
    };
    const auto old = tree("c/KV71");
    uitest::TModalScript script;
    script
        .Form("FoDirCopy",
              [&](TForm& f) {
                  auto& copy = static_cast<TFoDirCopy&>(f);
                  Click(*copy.BtnCopy);
                  ASSERT_TRUE(RunUntil([&] { return !copy.Copying(); }));
                  EXPECT_EQ(tree("c/KV71"), old);
                  EXPECT_EQ(copy.StatusBar1->GetSimpleText(),
                            "F:\\KV71\\CATALOG.INF (" + std::string(std::strerror(EIO)) + ")");
                  EXPECT_TRUE(copy.BtnCancel->GetEnabled());

                  attempt = 2;
                  copies = 0;
                  Click(*copy.BtnCopy);
                  ASSERT_TRUE(RunUntil(
                      [&] { return copy.StatusBar1->GetSimpleText() == "Files to copy : 13"; }));
                  EXPECT_TRUE(copy.Copying());
                  EXPECT_FALSE(copy.BtnCancel->GetEnabled());
                  EXPECT_FALSE(copy.BtnCopy->GetEnabled());
                  EXPECT_FALSE(copy.DriveComboBox1->GetEnabled());
                  EXPECT_FALSE(copy.CloseQuery()) << "no close while the copy runs";
                  EXPECT_EQ(Screen().GetCursor(), crHourGlass);
                  EXPECT_EQ(copy.ProgressBar1->GetMax(), 13);
                  release = true;
                  ASSERT_TRUE(RunUntil([&] { return !copy.Copying(); }));
                  EXPECT_EQ(copy.LblCopied->GetCaption(), "13");
                  EXPECT_EQ(copy.ProgressBar1->GetPosition(), 13);
                  EXPECT_EQ(Screen().GetCursor(), crDefault);
              })
        .Box(mrOk)
        .Box(mrOk)
        .Box(mrOk) // the copy error
        .Box(mrOk)
        .Box(mrOk)
        .Box(mrOk); // finished
    EXPECT_EQ(form->Execute('1', 2, "C:\\KV71", {}), "C:\\KV71");
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.Modals().size(), 7u);
    EXPECT_EQ(script.Modals()[2].text, "ERROR detected during copying.\rCopying cancelled.");
    EXPECT_EQ(script.Modals()[5].text, "Finished copying.");
    EXPECT_EQ(tree("c/KV71"), copied());
}

} // namespace
