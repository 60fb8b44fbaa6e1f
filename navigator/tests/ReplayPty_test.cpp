// The main job's GPS: tools/nmea/replay_pty.py plays the sample log on a
// pseudo-terminal that a port opens by the link <run>/gps. Whatever the speed
// factor, the port's reader commits the same fixes as the log fed directly,
// in order and never ahead of the log's clock; what the program sends back
// lands in <run>/nmea-out.log; SIGTERM ends the tool with status 0.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "NmeaTestSupport.h"
#include "os/Clock.h"
#include "serial/SerialPorts.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

struct Fix {
    double latitude, longitude;
    int logSecond; // seconds after the log's first group
};

// The fixes that the log commits when fed line by line on one thread.
std::vector<Fix> directFixes(const std::string& log, NavShared& last) {
    std::vector<Fix> fixes;
    std::size_t at = 0;
    while (at < log.size()) {
        std::size_t end = log.find('\n', at);
        end = end == std::string::npos ? log.size() : end + 1;
        const int committed = feed(5, std::string_view(log).substr(at, end - at));
        at = end;
        if (!committed) continue;
        const NavShared s = NavSnapshot();
        const int second = (s.parse.hours - 8) * 3600 + s.parse.minutes * 60 + int(s.parse.seconds);
        fixes.push_back({s.nav.latitude, s.nav.longitude, second});
    }
    last = NavSnapshot();
    return fixes;
}

// The replay tool as a child process; SIGKILL at the end if a test left it running.
struct Replay {
    pid_t pid = -1;
    Replay(const fs::path& run, double speed) {
        const std::string tool = REPLAY_TOOL, dir = run.string(), factor = std::to_string(speed);
        const std::string log = NMEA_SAMPLE_DIR "/bergen_departure.nmea";
        const char* argv[] = {"/usr/bin/python3", tool.c_str(), "--run",          dir.c_str(),
                              "--speed",          factor.c_str(), log.c_str(),    nullptr};
        if (::posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid = -1;
    }
    ~Replay() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    // SIGTERM, then the exit status within the timeout (-1: it did not end).
    int terminate(std::chrono::milliseconds timeout) {
        ::kill(pid, SIGTERM);
        const auto end = Clock::now() + timeout;
        int status = 0;
        while (Clock::now() < end) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }
};

class ReplayPtyTest : public ::testing::TestWithParam<double> {
  protected:
    void SetUp() override {
        resetNmeaInput();
        SetNavClock(&clock);
        char name[] = "/tmp/replay-test-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        run = name;
    }
    void TearDown() override {
        CloseComPort(0);
        SetNavClock(nullptr);
        resetNmeaInput();
        std::error_code ec;
        fs::remove_all(run, ec);
    }
    os::FakeClock clock;
    fs::path run;
};

TEST_P(ReplayPtyTest, CommitsTheLogsFixesAtItsPaceAndCopiesTheOutput) {
    const double speed = GetParam();
    const std::string log = readFile(NMEA_SAMPLE_DIR "/bergen_departure.nmea");
    NavShared expected;
    const std::vector<Fix> fixes = directFixes(log, expected);
    ASSERT_GT(fixes.size(), 500u);
    const int lastSecond = fixes.back().logSecond;
    resetNmeaInput();

    Replay replay(run, speed);
    ASSERT_GT(replay.pid, 0);
    const fs::path link = run / "gps";
    for (auto end = Clock::now() + 20s; !fs::is_symlink(link) && Clock::now() < end;)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(fs::is_symlink(link));
    // The tool's clock starts when the port is held.
    const auto opened = Clock::now();
    ASSERT_TRUE(OpenComPort(0, (link.string() + ":4800,N,8,1").c_str()));

    // Every position seen is one of the direct feed's, in its order, and none
    // is seen before the log's clock reaches it.
    std::size_t next = 0;
    double shownLat = 0, shownLon = 0;
    bool inOrder = true, early = false;
    const auto deadline = opened + std::chrono::duration<double>(lastSecond / speed) + 30s;
    NavShared s = NavSnapshot();
    while (Clock::now() < deadline) {
        s = NavSnapshot();
        const double elapsed = std::chrono::duration<double>(Clock::now() - opened).count();
        if (s.nav.latitude != shownLat || s.nav.longitude != shownLon) {
            shownLat = s.nav.latitude;
            shownLon = s.nav.longitude;
            std::size_t k = next;
            while (k < fixes.size() &&
                   (fixes[k].latitude != shownLat || fixes[k].longitude != shownLon))
                ++k;
            if (k == fixes.size()) {
                inOrder = false;
                ADD_FAILURE() << "position " << shownLat << " " << shownLon << " not in order";
                break;
            }
            if (fixes[k].logSecond > elapsed * speed + 1.5) early = true;
            next = k + 1;
        }
        if (next == fixes.size() && s.parse.seconds == expected.parse.seconds &&
            s.nav.windDirection == expected.nav.windDirection)
            break;
        std::this_thread::sleep_for(200us);
    }
    const double took = std::chrono::duration<double>(Clock::now() - opened).count();
    EXPECT_TRUE(inOrder);
    EXPECT_FALSE(early) << "a fix came before its time";
    EXPECT_EQ(next, fixes.size()) << "the last fix was not reached in " << took << " s";
    EXPECT_GE(took, 0.95 * lastSecond / speed) << "the log was not paced";
    EXPECT_DOUBLE_EQ(s.nav.latitude, expected.nav.latitude);
    EXPECT_DOUBLE_EQ(s.nav.longitude, expected.nav.longitude);
    EXPECT_EQ(s.nav.courseOverGround, expected.nav.courseOverGround);
    EXPECT_EQ(s.nav.speedOverGround, expected.nav.speedOverGround);
    EXPECT_EQ(s.nav.depth, expected.nav.depth);
    EXPECT_EQ(s.nav.windSpeed, expected.nav.windSpeed);
    EXPECT_EQ(s.parse.minutes, expected.parse.minutes);
    EXPECT_EQ(s.outputPort, 0);

    // What the port sends is copied into the run folder's output log.
    const std::string rmc = line("GPRMC,080959,A,6027.900,N,00514.100,E,14.0,330.0,120626,1.0,E");
    SignalPortWriter(rmc.c_str());
    std::string out;
    for (auto end = Clock::now() + 5s; out.find(rmc) == std::string::npos && Clock::now() < end;
         std::this_thread::sleep_for(10ms))
        out = readFile(run / "nmea-out.log");
    EXPECT_NE(out.find(rmc), std::string::npos) << out;
    EXPECT_EQ(CloseComPort(0), 0);

    EXPECT_EQ(replay.terminate(5000ms), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link is left";
    const std::string summary = readFile(run / "replay.json");
    EXPECT_NE(summary.find("\"groups_sent\": 600,"), std::string::npos) << summary;
    EXPECT_NE(summary.find("\"RMC\": 1"), std::string::npos) << summary;
}

INSTANTIATE_TEST_SUITE_P(SpeedFactors, ReplayPtyTest, ::testing::Values(100.0, 1000.0),
                         [](const auto& info) { return "x" + std::to_string(int(info.param)); });

} // namespace
