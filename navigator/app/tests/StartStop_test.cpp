// The program's life through OwlMain: a second start, the 3D generator and its
// stop, exceptions during the start, what is left after the end, the order of
// the ports and the main window, and SIGTERM during the loop.
#include "AppTestSupport.h"

#include "ModalScript.h"
#include "nmea/NmeaInput.h"
#include "app/OutsidePrograms.h"
#include "os/Process.h"
#include "TideWave.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "os/tests/PseudoTerminal.h"
#include "ui/Frame.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <termios.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using apptest::TestFolder;

// What the program's parts did, in order.
std::vector<std::string> calls;

class TRecordingClient : public ui::TMDIClient {
  public:
    using TMDIClient::TMDIClient;
    void SetupWindow() override {
        TMDIClient::SetupWindow();
        calls.push_back("client set up");
    }
};

// The application with hooks: what runs once its loop runs, and what is
// recorded of the main window and the ports.
class TTestApp : public KVViewerApp {
  public:
    std::function<void(TTestApp&)> whileRunning;
    std::function<void()> initMainWindow;
    bool programsClient = false; // the program's own MDI client with its chart window
    bool InitInstance() override {
        if (!KVViewerApp::InitInstance()) return false;
        QTimer::singleShot(0, [this] {
            if (whileRunning) whileRunning(*this);
        });
        return true;
    }
    void InitMainWindow() override {
        if (initMainWindow) initMainWindow();
        KVViewerApp::InitMainWindow();
    }

  protected:
    ui::TMDIClient* MakeMDIClient() override {
        if (programsClient) return KVViewerApp::MakeMDIClient();
        return new TRecordingClient();
    }
    bool OpenPort(int port, const char* settings) override {
        calls.push_back("open " + std::to_string(port));
        return KVViewerApp::OpenPort(port, settings);
    }
};

// Runs the program as its main would, with the test's application.
int runProgram(std::function<void(TTestApp&)> whileRunning = {},
               std::function<void()> initMainWindow = {}, bool programsClient = false) {
    calls.clear();
    SetViewerAppFactory([&] {
        auto app = std::make_unique<TTestApp>();
        app->whileRunning = whileRunning;
        app->initMainWindow = initMainWindow;
        app->programsClient = programsClient;
        return app;
    });
    char name[] = "vardekka";
    char* argv[] = {name, nullptr};
    return OwlMain(1, argv);
}

void quit(TTestApp&) {
    ui::PostQuitMessage(0);
}

bool waitForFile(const std::string& path, std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A test folder with the sample settings and a PATH holding only the test's
// programs and the system's.
struct ProgramFolder {
    TestFolder folder;
    apptest::EnvSetting path{"PATH", folder / "bin" + ":/usr/bin:/bin"};
    explicit ProgramFolder(const std::string& ini = apptest::sampleIni()) {
        apptest::writeFile(folder / "SOLVNV.INI", ini);
        std::filesystem::create_directories(folder / "bin");
    }
    // A 3D generator that marks its start, and on SIGTERM writes the time
    // (nanoseconds since 1970) into "bygrel-term"; with stopFile it ends by
    // itself once that file appears.
    void fakeGenerator(bool endsByItself = false) const {
        const std::string loop = endsByItself ? "while [ ! -e stop-now ]; do sleep 0.02; done\n"
                                                "echo ended > bygrel-exit\n"
                                              : "while :; do sleep 0.02; done\n";
        apptest::writeScript(folder / "bin/Bygrel", "trap 'date +%s%N > bygrel-term; exit 0' TERM\n"
                                                    "echo $$ > bygrel-started\n" +
                                                        loop);
    }
    std::string operator/(const std::string& name) const { return folder / name; }
};

bool hungUp(int master) {
    pollfd p{master, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
}

TEST(StartStop, ASecondStartIsRefusedAndTheFirstAskedToTheFront) {
    ProgramFolder f;
    f.fakeGenerator();
    os::PresenceLock first;
    ASSERT_EQ(first.acquire(kViewerTitle), os::LockResult::Acquired);
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    EXPECT_EQ(runProgram(), -1);
    ASSERT_EQ(script.Modals().size(), 1u);
    EXPECT_EQ(script.Modals()[0].text, "is active");
    EXPECT_EQ(script.Modals()[0].caption, kViewerTitle);
    EXPECT_EQ(first.takeActivationRequests(), 1);
    EXPECT_FALSE(std::filesystem::exists(f / "bygrel-started"));
}

TEST(StartStop, TheGeneratorIsStoppedNoSoonerThanHalfASecondAfterTheLoop) {
    ProgramFolder f;
    f.fakeGenerator();
    long long loopEnd = 0;
    const int result = runProgram([&](TTestApp&) {
        EXPECT_TRUE(waitForFile(f / "bygrel-started"));
        // Started in the program's current folder.
        loopEnd = nowNs();
        ui::PostQuitMessage(0);
    });
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(std::filesystem::exists(f / "bygrel-term"));
    const long long stopped = std::stoll(apptest::readFile(f / "bygrel-term"));
    EXPECT_GE(stopped - loopEnd, 500'000'000LL);
    EXPECT_FALSE(GeneratorProcess().running());
    // The presence lock went with the program.
    EXPECT_FALSE(os::isWindowPresent(kViewerTitle));
}

TEST(StartStop, AGeneratorThatEndsWithinTheHalfSecondGetsNoSignal) {
    ProgramFolder f;
    f.fakeGenerator(true);
    EXPECT_EQ(runProgram([&](TTestApp&) {
                  EXPECT_TRUE(waitForFile(f / "bygrel-started"));
                  apptest::writeFile(f / "stop-now", "");
                  ui::PostQuitMessage(0);
              }),
              0);
    EXPECT_TRUE(waitForFile(f / "bygrel-exit", 2s));
    EXPECT_FALSE(std::filesystem::exists(f / "bygrel-term"));
}

TEST(StartStop, AMissingGeneratorIsNotReported) {
    ProgramFolder f;                // no Bygrel anywhere on the PATH
    EXPECT_EQ(runProgram(quit), 0); // the strict runner fails any box
}

TEST(StartStop, AnExceptionDuringTheStartIsShownAndEverythingStops) {
    const std::string dict = apptest::kDataDir + "/dict";
    struct Case {
        const char* name;
        std::string dictionaryFiles; // copied into the test's dictionary folder
        bool throwInMainWindow;
        std::string text;
    } cases[] = {
        {"a text", "", false, "ERROR: Cannot open attribute dictionary file !!!"},
        {"the integer 10", "KV71ATTR.DIC KV71ATTR.DES KV71OBJ.DIC HOSOURCE.DIC", false, "10"},
        {"a std::exception", "", true, "no main window here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder f("");
        std::filesystem::create_directories(f / "dict");
        std::istringstream names(c.dictionaryFiles);
        for (std::string n; names >> n;)
            std::filesystem::copy_file(dict + "/" + n, f / ("dict/" + n));
        apptest::writeFile(f / "SOLVNV.INI", "[DIRECTORY]\nKV71ROOT=" + apptest::kDataDir +
                                                 "/sample/kv71\n" + "[DICTIONARY]\nKV71ATTR.DIC=" +
                                                 (c.throwInMainWindow ? dict : f / "dict") + "\n");
        f.fakeGenerator();
        uitest::TModalScript script;
        script.Box(ui::IDOK);
        const int result = runProgram({}, [&] {
            EXPECT_TRUE(waitForFile(f / "bygrel-started"));
            if (c.throwInMainWindow) throw std::runtime_error("no main window here");
        });
        EXPECT_EQ(result, -1);
        ASSERT_EQ(script.Modals().size(), 1u);
        EXPECT_EQ(script.Modals()[0].caption, "Exception");
        EXPECT_EQ(script.Modals()[0].text, c.text);
        // The generator was stopped, the engine and the lock are gone.
        EXPECT_TRUE(std::filesystem::exists(f / "bygrel-term"));
        EXPECT_EQ(_pSharedKV71Dict, nullptr);
        EXPECT_EQ(TKV71Db::LiveCount(), 0);
        EXPECT_FALSE(os::isWindowPresent(kViewerTitle));
    }
}

TEST(StartStop, PortsOpenAfterTheMainWindowAndCloseAtTheEnd) {
    ostest::PseudoTerminal gps, sounder;
    ASSERT_FALSE(gps.name.empty());
    ProgramFolder f(
        apptest::sampleIni("Comport1=" + gps.name + ":4800,N,8,1\r\n;Comport2=" + sounder.name +
                           ":4800,N,8,1\r\nComport3=" + sounder.name + ":4800,N,8,1\r\n"));
    // Only the program's port keeps the lines up from now on.
    ::close(gps.slave), ::close(sounder.slave);
    gps.slave = sounder.slave = -1;
    bool upWhileRunning = false;
    int tidePorts = 0;
    bool engineUp = false;
    EXPECT_EQ(runProgram([&](TTestApp& app) {
                  upWhileRunning = !hungUp(gps.master) && !hungUp(sounder.master);
                  tidePorts = app.TidesAvailable() ? TD_GetNumPorts() : -1;
                  engineUp = app.GetDictionary() == _pSharedKV71Dict && app.GetChartDb() &&
                             app.GetPresLib() && app.GetHosTable();
                  ui::PostQuitMessage(0);
              }),
              0);
    EXPECT_EQ(calls, (std::vector<std::string>{"client set up", "open 0", "open 2"}));
    EXPECT_TRUE(upWhileRunning);
    EXPECT_TRUE(engineUp);
    EXPECT_EQ(tidePorts, 9);
    // After the end: the lines hung up, the engine and the tides gone.
    EXPECT_TRUE(hungUp(gps.master));
    EXPECT_TRUE(hungUp(sounder.master));
    EXPECT_EQ(_pSharedKV71Dict, nullptr);
    EXPECT_EQ(TKV71Db::LiveCount(), 0);
    EXPECT_EQ(TD_GetNumPorts(), 0);
}

// A receiver's fix already waiting on the line when the program starts keeps
// its satellite count: the chart window's set-up (satellites -1) comes before
// the ports open.
TEST(StartStop, AFixWaitingOnThePortKeepsItsSatellitesAfterTheChartWindowsSetUp) {
    ostest::PseudoTerminal gps;
    ASSERT_FALSE(gps.name.empty());
    termios raw{};
    ASSERT_EQ(::tcgetattr(gps.slave, &raw), 0);
    ::cfmakeraw(&raw);
    ASSERT_EQ(::tcsetattr(gps.slave, TCSANOW, &raw), 0);
    const auto sentence = [](const std::string& body) {
        unsigned x = 0;
        for (char c : body)
            x ^= static_cast<unsigned char>(c);
        char tail[8];
        std::snprintf(tail, sizeof tail, "*%02X\r\n", x);
        return "$" + body + tail;
    };
    UpdateNavShared([](NavShared& n) { n = NavShared(); });
    *NmeaPort(0) = NmeaPortState();
    gps.send(sentence("GPGGA,080000.00,6023.8498,N,00519.2303,E,1,09,0.9,12.4,M,41.2,M,,"));
    ProgramFolder f(apptest::sampleIni("Comport1=" + gps.name + ":4800,N,8,1\r\n"));
    int satellites = 0;
    EXPECT_EQ(runProgram(
                  [&](TTestApp&) {
                      for (int i = 0; i < 500 && NavSnapshot().satelliteCount != 9; ++i)
                          std::this_thread::sleep_for(10ms);
                      satellites = NavSnapshot().satelliteCount;
                      ui::PostQuitMessage(0);
                  },
                  {}, true),
              0);
    EXPECT_EQ(satellites, 9);
}

TEST(StartStop, SigtermDuringTheLoopEndsInOrderWithCodeZero) {
    ostest::PseudoTerminal gps;
    ProgramFolder f(apptest::sampleIni("Comport1=" + gps.name + ":4800,N,8,1\r\n"));
    ::close(gps.slave);
    gps.slave = -1;
    f.fakeGenerator();
    long long signalled = 0;
    const int result = runProgram([&](TTestApp&) {
        EXPECT_TRUE(waitForFile(f / "bygrel-started"));
        signalled = nowNs();
        ::kill(::getpid(), SIGTERM);
    });
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(std::filesystem::exists(f / "bygrel-term"));
    EXPECT_GE(std::stoll(apptest::readFile(f / "bygrel-term")) - signalled, 500'000'000LL);
    EXPECT_TRUE(hungUp(gps.master));
    EXPECT_EQ(_pSharedKV71Dict, nullptr);
}

} // namespace

namespace {

TEST(StartStop, AFatalErrorShowsItsBoxAndEndsTheLoop) {
    ProgramFolder f;
    uitest::TModalScript script;
    script.Box(ui::IDOK);
    EXPECT_EQ(runProgram([](TTestApp&) { FatalError("Exit"); }), 0);
    ASSERT_EQ(script.Modals().size(), 1u);
    EXPECT_EQ(script.Modals()[0].caption, "ERROR !!");
    EXPECT_EQ(script.Modals()[0].text, "Exit");
}

TEST(StartStop, TheInstanceCheckStepsBackForARunningCopy) {
    ProgramFolder f;
    ASSERT_TRUE(LoadSettings());
    ViewerPresenceLock().release(); // as if this copy had not taken the lock
    os::PresenceLock other;
    ASSERT_EQ(other.acquire(kViewerTitle), os::LockResult::Acquired);
    {
        KVViewerApp app;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.GetFrame(), nullptr);
    }
    EXPECT_EQ(other.takeActivationRequests(), 1);
    other.release();
    KVViewerApp app;
    EXPECT_TRUE(app.InstanceCheck());
}

} // namespace
