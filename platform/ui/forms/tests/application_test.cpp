// The forms' application: Run until the main form closes (also on SIGTERM),
// calls queued from other threads, the screen's cursor.
#include "formsTest.h"

#include "os/drives.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <atomic>
#include <csignal>
#include <thread>

using namespace formstest;

namespace {

constexpr TFormDesc kMainForm{
    .Name = "FoOstrel",
    .Caption = u8"Solvanor Setup ver. 2.18.4",
    .Bounds = {0, 0, 300, 200},
    .Events = {"OnShow=FormShow", "OnClose=FormClose", "OnCloseQuery=FormCloseQuery"}};

int mainFormsAlive = 0;

class TFoOstrel : public TForm {
  public:
    TFoOstrel(TComponent* owner) : TForm(owner, kMainForm) { ++mainFormsAlive; }
    ~TFoOstrel() override { --mainFormsAlive; }
    void FormShow(TObject*) {
        Log.push_back("show");
        if (CloseAtShow) Close(); // "No Solvanor installations found!"
    }
    PUBLISHED_METHOD(FormShow);
    void FormCloseQuery(TObject*, bool& canClose) {
        Log.push_back("query");
        canClose = MayClose;
    }
    PUBLISHED_METHOD(FormCloseQuery);
    void FormClose(TObject*, TCloseAction&) { Log.push_back("close"); }
    PUBLISHED_METHOD(FormClose);

    std::vector<std::string> Log;
    bool CloseAtShow = false, MayClose = true;
};

// What a run of the main form saw, kept past the form's end.
std::vector<std::string> RunMainForm(const std::function<void(TFoOstrel&)>& during) {
    TFoOstrel* main = nullptr;
    TForm* second = nullptr;
    Application().CreateForm(main);
    Application().CreateForm(second); // not the main form
    EXPECT_EQ(Application().GetMainForm(), main);
    std::vector<std::string> log;
    main->OnClose = [&log, main](TObject*, TCloseAction&) {
        log = main->Log;
        log.push_back("close");
    };
    during(*main);
    QTimer guard; // never hang
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        ADD_FAILURE() << "Run did not end";
        std::raise(SIGTERM);
    });
    guard.start(5000);
    Application().Run();
    return log;
}

TEST(Application, RunEndsWhenTheMainFormClosesAndThenDeletesTheForms) {
    const auto log = RunMainForm([](TFoOstrel& main) {
        QTimer::singleShot(20, [&main] {
            EXPECT_TRUE(main.GetVisible());
            main.MayClose = false; // refused: Run goes on
            main.Close();
            main.MayClose = true;
            QTimer::singleShot(20, [&main] { main.Close(); });
        });
    });
    EXPECT_EQ(log, (std::vector<std::string>{"show", "query", "query", "close"}));
    EXPECT_EQ(mainFormsAlive, 0);
    EXPECT_EQ(Application().GetMainForm(), nullptr);
}

TEST(Application, AMainFormClosingInItsOwnShowEndsRunAtOnce) {
    const auto log = RunMainForm([](TFoOstrel& main) { main.CloseAtShow = true; });
    EXPECT_EQ(log, (std::vector<std::string>{"show", "query", "close"}));
    EXPECT_EQ(mainFormsAlive, 0);
}

TEST(Application, SigtermClosesTheMainFormAsTheUserWould) {
    const auto log =
        RunMainForm([](TFoOstrel&) { QTimer::singleShot(20, [] { std::raise(SIGTERM); }); });
    EXPECT_EQ(log, (std::vector<std::string>{"show", "query", "close"}));
}

TEST(Queue, CallsFromAWorkerRunOnTheFormsThreadInOrder) {
    Application(); // the forms' application exists before any worker queues
    std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr)); // forms made: calls accepted
    const std::thread::id formsThread = std::this_thread::get_id();
    std::vector<int> seen;
    std::atomic<bool> wrongThread = false;
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            Queue([&, i] {
                if (std::this_thread::get_id() != formsThread) wrongThread = true;
                seen.push_back(i);
            });
    });
    worker.join();
    EXPECT_TRUE(seen.empty()); // not before the next turn of the loop
    Application().ProcessMessages();
    ASSERT_EQ(seen.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(seen[std::size_t(i)], i);
    EXPECT_FALSE(wrongThread);
}

TEST(Queue, CallsAfterRunHasEndedAreDropped) {
    std::atomic<int> ran = 0;
    std::thread late;
    RunMainForm([&](TFoOstrel& main) {
        QTimer::singleShot(20, [&] {
            Queue([&] { ++ran; }); // still waiting when Run ends
            main.Close();
        });
    });
    late = std::thread([&] { Queue([&] { ++ran; }); });
    late.join();
    Settle();
    EXPECT_EQ(ran, 0);
    // Making forms again (a new start) accepts calls again.
    std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
    Queue([&] { ++ran; });
    Settle();
    EXPECT_EQ(ran, 1);
}

TEST(Application, TheScreenCursorAndTheProgramFile) {
    uitest::TCursorRecorder cursors;
    Screen().SetCursor(crHourGlass);
    EXPECT_EQ(Screen().GetCursor(), crHourGlass);
    Screen().SetCursor(crDefault);
    ASSERT_EQ(cursors.Requests.size(), 2u);
    EXPECT_EQ(cursors.Requests[0].cursor, "IDC_WAIT");
    EXPECT_EQ(cursors.Requests[1].cursor, "");
    EXPECT_EQ(Application().GetExeName(), os::programPath());
    EXPECT_NE(Application().GetExeName().find("platform_ui_forms_tests"), std::string::npos);
}

} // namespace
