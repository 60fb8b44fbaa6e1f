#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "NmeaTestSupport.h"
#include "os/Clock.h"
#include "os/SerialPort.h"
#include "os/tests/PseudoTerminal.h"
#include "serial/SerialPorts.h"

namespace {

using namespace std::chrono_literals;

using Pty = ostest::PseudoTerminal;

bool waitFor(const std::function<bool(const NavShared&)>& done,
             std::chrono::milliseconds timeout = 20000ms) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (done(NavSnapshot())) return true;
        std::this_thread::sleep_for(5ms);
    }
    return done(NavSnapshot());
}

std::string readSampleTrack() {
    std::ifstream in(NMEA_SAMPLE_DIR "/bergen_departure.nmea", std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

class SerialPortsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetNmeaInput();
        SetNavClock(&clock);
    }
    void TearDown() override {
        for (int port = 0; port < kNmeaPortCount; ++port)
            CloseComPort(port);
        SetNavClock(nullptr);
        resetNmeaInput();
    }
    os::FakeClock clock;
};

TEST_F(SerialPortsTest, APortThatCannotBeOpenedIsReportedAndGetsNoThread) {
    EXPECT_FALSE(OpenComPort(0, "/dev/no-such-serial-line:4800,n,8,1"));
    EXPECT_EQ(CloseComPort(0), -1);
    EXPECT_FALSE(OpenComPort(1, "/dev/null:4800,n,8,1"));
    EXPECT_FALSE(OpenComPort(2, nullptr));
    Pty pty;
    EXPECT_FALSE(OpenComPort(6, (pty.name + ":4800,n,8,1").c_str()));
    EXPECT_FALSE(OpenComPort(-1, (pty.name + ":4800,n,8,1").c_str()));
    EXPECT_FALSE(OpenComPort(3, (pty.name + ":4800,n,9,1").c_str()));
    for (int port = -1; port <= 6; ++port)
        EXPECT_EQ(CloseComPort(port), -1) << port;
}

TEST_F(SerialPortsTest, ComNamesOpenTheirMappedDevicesAtTheirSettings) {
    Pty third, tenth;
    ASSERT_TRUE(os::setSerialDevicePath(3, third.name));
    ASSERT_TRUE(os::setSerialDevicePath(10, tenth.name));
    ASSERT_TRUE(OpenComPort(2, "COM3:9600,n,8,1"));
    ASSERT_TRUE(OpenComPort(5, "COM10:19200,N,8,2"));
    termios t{};
    ASSERT_EQ(::tcgetattr(third.slave, &t), 0);
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B9600));
    ASSERT_EQ(::tcgetattr(tenth.slave, &t), 0);
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B19200));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    tenth.send(line("SDDPT,3.5,0.0"));
    EXPECT_TRUE(waitFor([](const NavShared& s) { return s.nav.depth == 3.5f; }, 5000ms));
    EXPECT_EQ(CloseComPort(2), 0);
    EXPECT_EQ(CloseComPort(5), 0);
    os::setSerialDevicePath(3, "");
    os::setSerialDevicePath(10, "");
}

TEST_F(SerialPortsTest, AnIdlePortClosesPromptlyAndHasNoWriter) {
    Pty pty;
    ASSERT_TRUE(OpenComPort(2, (pty.name + ":9600,n,8,1").c_str()));
    SignalPortWriter("$GPRMC,no writer yet\r\n");
    EXPECT_EQ(pty.receive(1, 300ms), "");
    std::this_thread::sleep_for(100ms); // the reader is waiting in its read now
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(CloseComPort(2), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 1000ms);
    EXPECT_EQ(CloseComPort(2), -1);
    // Opening twice replaces the first reader.
    ASSERT_TRUE(OpenComPort(2, (pty.name + ":9600,n,8,1").c_str()));
    ASSERT_TRUE(OpenComPort(2, (pty.name + ":4800,n,8,1").c_str()));
    pty.send(line("SDDPT,8.5,0.0"));
    EXPECT_TRUE(waitFor([](const NavShared& s) { return s.nav.depth == 8.5f; }, 5000ms));
    EXPECT_EQ(CloseComPort(2), 0);
}

TEST_F(SerialPortsTest, AReceiverThatComesBackIsReadAgain) {
    char dir[] = "/tmp/nav-serial-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    std::string link = std::string(dir) + "/gps";
    auto pointLinkAt = [&](const std::string& target) {
        std::string fresh = link + ".new";
        ::unlink(fresh.c_str());
        ASSERT_EQ(::symlink(target.c_str(), fresh.c_str()), 0);
        ASSERT_EQ(::rename(fresh.c_str(), link.c_str()), 0);
    };
    auto first = std::make_unique<Pty>();
    pointLinkAt(first->name);
    ASSERT_TRUE(OpenComPort(4, (link + ":4800,n,8,1").c_str()));
    first->send(line("SDDPT,11.0,0.0"));
    ASSERT_TRUE(waitFor([](const NavShared& s) { return s.nav.depth == 11.0f; }, 5000ms));

    // Unplugged: the line hangs up. Plugged in again as another device. The
    // link names the new device before the old one goes: a freed
    // pseudo-terminal number may at once be taken by another process running
    // in parallel, so a reopen through the old name could reach its line.
    Pty second;
    pointLinkAt(second.name);
    first->hangUp();
    bool back = false;
    auto end = std::chrono::steady_clock::now() + 10s;
    while (!back && std::chrono::steady_clock::now() < end) {
        second.send(line("SDDPT,22.0,0.0"));
        back = waitFor([](const NavShared& s) { return s.nav.depth == 22.0f; }, 200ms);
    }
    EXPECT_TRUE(back);
    EXPECT_EQ(CloseComPort(4), 0);
    ::unlink(link.c_str());
    ::rmdir(dir);
}

// The sample track fed in one go on one thread: every committed position lies
// on the track, none jumps, and the corrupted sentences never commit.
TEST(SampleTrackTest, CommitsFollowTheTrack) {
    resetNmeaInput();
    os::FakeClock clock;
    SetNavClock(&clock);
    std::string log = readSampleTrack();
    ASSERT_GT(log.size(), 100000u);
    int commits = 0;
    double lastLat = 0, lastLon = 0;
    std::size_t at = 0;
    while (at < log.size()) {
        std::size_t end = log.find('\n', at);
        end = end == std::string::npos ? log.size() : end + 1;
        int committed = feed(0, std::string_view(log).substr(at, end - at));
        at = end;
        if (!committed) continue;
        NavShared s = NavSnapshot();
        ++commits;
        EXPECT_GT(s.nav.latitude, 60.39);
        EXPECT_LT(s.nav.latitude, 60.47);
        EXPECT_GT(s.nav.longitude, 5.23);
        EXPECT_LT(s.nav.longitude, 5.33);
        if (lastLat != 0) {
            EXPECT_LT(std::fabs(s.nav.latitude - lastLat), 0.003);
            EXPECT_LT(std::fabs(s.nav.longitude - lastLon), 0.006);
        }
        lastLat = s.nav.latitude;
        lastLon = s.nav.longitude;
    }
    // 600 seconds, 20 of them without a fix, the first fix only primes.
    EXPECT_GE(commits, 570) << commits;
    EXPECT_LE(commits, 580) << commits;
    NavShared s = NavSnapshot();
    EXPECT_EQ(s.outputPort, 0);
    EXPECT_NEAR(s.nav.speedOverGround, 14.0, 1e-4);
    EXPECT_GE(s.satelliteCount, 7);
    SetNavClock(nullptr);
    resetNmeaInput();
}

// The sample track written into a pseudo-terminal in chunks of random sizes,
// while a second port sends depth only: the reader threads reach the same
// state as the one-thread feed, the GPS port becomes the output port, and the
// writer sends on it.
TEST_F(SerialPortsTest, EndToEndThroughPseudoTerminals) {
    std::string log = readSampleTrack();
    ASSERT_FALSE(log.empty());
    feed(5, log);
    const NavShared expected = NavSnapshot();
    resetNmeaInput();

    Pty gps, sounder;
    ASSERT_TRUE(OpenComPort(0, (gps.name + ":4800,n,8,1").c_str()));
    ASSERT_TRUE(OpenComPort(1, (sounder.name + ":4800,n,8,1").c_str()));

    std::atomic<bool> stopSounder{false};
    std::thread sounding([&] {
        std::mt19937 rng(7);
        const std::string dbt = line("SDDBT,109.4,f,33.3,M,18.2,F");
        while (!stopSounder) {
            std::uniform_int_distribution<std::size_t> size(1, dbt.size());
            for (std::size_t at = 0; at < dbt.size();) {
                std::size_t n = std::min(size(rng), dbt.size() - at);
                sounder.send(dbt.substr(at, n));
                at += n;
            }
            std::this_thread::sleep_for(1ms);
        }
    });

    std::mt19937 rng(2026);
    std::uniform_int_distribution<std::size_t> size(1, 200);
    for (std::size_t at = 0; at < log.size();) {
        std::size_t n = std::min(size(rng), log.size() - at);
        gps.send(log.substr(at, n));
        at += n;
    }
    bool same = waitFor([&](const NavShared& s) {
        return s.nav.latitude == expected.nav.latitude &&
               s.nav.longitude == expected.nav.longitude &&
               s.parse.seconds == expected.parse.seconds &&
               s.parse.minutes == expected.parse.minutes &&
               s.nav.windDirection == expected.nav.windDirection;
    });
    stopSounder = true;
    sounding.join();
    EXPECT_TRUE(same);
    NavShared s = NavSnapshot();
    EXPECT_EQ(s.outputPort, 0);
    EXPECT_DOUBLE_EQ(s.nav.latitude, expected.nav.latitude);
    EXPECT_DOUBLE_EQ(s.nav.longitude, expected.nav.longitude);
    EXPECT_EQ(s.nav.courseOverGround, expected.nav.courseOverGround);
    EXPECT_EQ(s.nav.speedOverGround, expected.nav.speedOverGround);
    EXPECT_EQ(s.nav.windSpeed, expected.nav.windSpeed);
    EXPECT_EQ(s.lastRawLatitude, expected.lastRawLatitude);
    EXPECT_EQ(s.newFix, 1);
    EXPECT_EQ(s.fixSinceTimeout, 1);
    EXPECT_NE(s.nav.fixCount, 0);

    // The depth port is heard too.
    sounder.send(line("SDDPT,42.0,0.0"));
    EXPECT_TRUE(waitFor([](const NavShared& n) { return n.nav.depth == 42.0f; }, 5000ms));

    // The writer was started by the first committed fix and sends on the GPS port only.
    const std::string out = "$GPRMC,080959,A,6027.900,N,00514.100,E,14.0,330.0,120626,1,W*00\r\n";
    SignalPortWriter(out.c_str());
    EXPECT_EQ(gps.receive(out.size(), 3000ms), out);
    EXPECT_EQ(sounder.receive(1, 200ms), "");

    EXPECT_EQ(CloseComPort(1), 0);
    EXPECT_EQ(CloseComPort(0), 0);
    EXPECT_EQ(CloseComPort(0), -1);
}

} // namespace
