#include "os/SerialPort.h"
#include "os/tests/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using os::SerialPort;
using os::SerialSettings;
using Pty = ostest::PseudoTerminal;

TEST(SerialSettingsTest, ReadsTheSettingsTexts) {
    struct Case {
        const char* text;
        const char* device;
        unsigned baud;
        char parity;
        int dataBits, stopBits;
        char handshake;
    } cases[] = {
        {"COM1:4800,n,8,1", "COM1", 4800, 'N', 8, 1, 0},
        {"COM3:9600,N,8,1", "COM3", 9600, 'N', 8, 1, 0},
        {"COM10:19200,e,7,2", "COM10", 19200, 'E', 7, 2, 0},
        {"COM1:04800,N,8,1,X", "COM1", 4800, 'N', 8, 1, 'X'},
        {"/dev/ttyUSB0:4800,o,8,1", "/dev/ttyUSB0", 4800, 'O', 8, 1, 0},
        {" COM2 : 38400 , M , 5 , 1 , p", "COM2", 38400, 'M', 5, 1, 'P'},
        {"COM4:115200,s,6,2", "COM4", 115200, 'S', 6, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SerialSettings s;
        std::string error;
        ASSERT_TRUE(os::parseSerialSettings(c.text, s, &error)) << error;
        EXPECT_EQ(s.device, c.device);
        EXPECT_EQ(s.baud, c.baud);
        EXPECT_EQ(s.parity, c.parity);
        EXPECT_EQ(s.dataBits, c.dataBits);
        EXPECT_EQ(s.stopBits, c.stopBits);
        EXPECT_EQ(s.handshake, c.handshake);
    }
}

TEST(SerialSettingsTest, RefusesMalformedTexts) {
    const char* bad[] = {
        "",
        "COM1",
        ":4800,n,8,1",
        "COM1:4801,n,8,1",
        "COM1:,n,8,1",
        "COM1:48x0,n,8,1",
        "COM1:4800,z,8,1",
        "COM1:4800,no,8,1",
        "COM1:4800,n,9,1",
        "COM1:4800,n,4,1",
        "COM1:4800,n,8,0",
        "COM1:4800,n,8,1.5",
        "COM1:4800,n,8",
        "COM1:4800,n,8,1,Q",
        "COM1:4800,n,8,1,X,1",
        "COM1:99999999999,n,8,1",
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        SerialSettings s;
        s.device = "untouched";
        std::string error;
        EXPECT_FALSE(os::parseSerialSettings(text, s, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(s.device, "untouched");
    }
    SerialSettings s;
    EXPECT_FALSE(os::parseSerialSettings(nullptr, s));
}

TEST(SerialSettingsTest, MapsComNamesToDevicePaths) {
    EXPECT_EQ(os::serialDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(os::serialDevicePath("com3"), "/dev/ttyS2");
    EXPECT_EQ(os::serialDevicePath("COM10"), "/dev/ttyS9");
    EXPECT_EQ(os::serialDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    for (const char* none : {"COM0", "COM01", "COM100", "LPT1", "COM", "ttyS0"})
        EXPECT_EQ(os::serialDevicePath(none), "") << none;

    ASSERT_TRUE(os::setSerialDevicePath(3, "/dev/ttyUSB1"));
    EXPECT_EQ(os::serialDevicePath("COM3"), "/dev/ttyUSB1");
    ASSERT_TRUE(os::setSerialDevicePath(3, ""));
    EXPECT_EQ(os::serialDevicePath("COM3"), "/dev/ttyS2");
    EXPECT_FALSE(os::setSerialDevicePath(0, "/dev/x"));
    EXPECT_FALSE(os::setSerialDevicePath(100, "/dev/x"));
}

TEST(SerialPortTest, SettingsBecomeLineFlags) {
    struct Case {
        const char* text;
        tcflag_t size, parityFlags;
        bool twoStops;
        tcflag_t inputFlow, hardwareFlow;
    } cases[] = {
        {"COM1:4800,n,8,1", CS8, 0, false, 0, 0},
        {"COM1:4800,o,7,1", CS7, PARENB | PARODD, false, 0, 0},
        {"COM1:4800,e,7,2", CS7, PARENB, true, 0, 0},
        {"COM1:4800,m,6,1", CS6, PARENB | PARODD | CMSPAR, false, 0, 0},
        {"COM1:4800,s,5,2", CS5, PARENB | CMSPAR, true, 0, 0},
        {"COM1:4800,n,8,1,x", CS8, 0, false, IXON | IXOFF, 0},
        {"COM1:4800,n,8,1,p", CS8, 0, false, 0, CRTSCTS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SerialSettings s;
        ASSERT_TRUE(os::parseSerialSettings(c.text, s));
        termios t{};
        t.c_cflag = CS8 | PARENB | PARODD | CSTOPB | CRTSCTS; // leftovers to be cleared
        t.c_iflag = IXON | IXOFF | ICRNL;
        t.c_lflag = ICANON | ECHO | ISIG;
        os::setRawTermios(s, t);
        EXPECT_EQ(t.c_cflag & CSIZE, c.size);
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), c.inputFlow);
        EXPECT_EQ(t.c_cflag & CRTSCTS, c.hardwareFlow);
        EXPECT_TRUE(t.c_cflag & CLOCAL);
        EXPECT_TRUE(t.c_cflag & CREAD);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_FALSE(t.c_iflag & ICRNL);
        EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B4800));
    }
}

TEST(SerialPortTest, ConfiguresAPseudoTerminalLikeARealLine) {
    Pty pty;
    ASSERT_FALSE(pty.name.empty());
    SerialPort port;
    ASSERT_TRUE(port.open(pty.name + ":9600,n,8,2")) << port.lastError();
    EXPECT_TRUE(port.isOpen());

    termios t{};
    ASSERT_EQ(::tcgetattr(pty.slave, &t), 0);
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    // Raw: no line editing, no echo, carriage returns arrive as they are.
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_iflag & (ICRNL | IGNCR | INLCR | IXON));
    EXPECT_FALSE(t.c_oflag & OPOST);
}

// Others cannot open the line while the port holds it, and can again once it
// is closed, even while someone else keeps the line open (else a reopen, by
// this port too, fails for any user without administrator rights).
TEST(SerialPortTest, TheLineIsExclusiveOnlyWhileOpen) {
    Pty pty;
    auto exclusive = [&] {
        int on = -1;
        EXPECT_EQ(::ioctl(pty.slave, TIOCGEXCL, &on), 0);
        return on;
    };
    SerialPort port;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(round == 0 ? port.open(pty.name + ":4800,n,8,1") : port.reopen())
            << port.lastError();
        EXPECT_EQ(exclusive(), 1);
        port.close();
        EXPECT_EQ(exclusive(), 0);
    }
}

TEST(SerialPortTest, ReadsAndWritesThroughThePair) {
    Pty pty;
    SerialPort port;
    ASSERT_TRUE(port.open(pty.name + ":4800,n,8,1")) << port.lastError();

    const char sentence[] = "$GPGLL,4916.45,N,12311.12,W,225444,A*31\r\n";
    ASSERT_EQ(::write(pty.master, sentence, sizeof sentence - 1),
              static_cast<ssize_t>(sizeof sentence - 1));
    std::string got;
    char buf[80];
    for (int i = 0; i < 50 && got.size() < sizeof sentence - 1; ++i) {
        long n = port.read(buf, sizeof buf, 100);
        ASSERT_GE(n, 0);
        got.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, sentence);

    const char out[] = "$GPRMC,1\r\n";
    ASSERT_TRUE(port.write(out, sizeof out - 1));
    EXPECT_EQ(pty.receive(sizeof out - 1, std::chrono::milliseconds(2000)), out);
}

TEST(SerialPortTest, ReadWaitsAtMostTheTimeOutAndWakesAtOnce) {
    Pty pty;
    SerialPort port;
    ASSERT_TRUE(port.open(pty.name + ":4800,n,8,1"));
    char buf[80];
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(buf, sizeof buf, 150), 0);
    auto waited = std::chrono::steady_clock::now() - t0;
    EXPECT_GE(waited, std::chrono::milliseconds(140));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));

    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port.wake();
    });
    t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(buf, sizeof buf, 10000), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(3000));
    waker.join();
}

TEST(SerialPortTest, AHungUpLineIsAReadErrorAndCanBeReopened) {
    auto pty = std::make_unique<Pty>();
    // The port is opened through a link of our own: a freed pseudo-terminal
    // number may at once be taken by another process running in parallel, so
    // the device's own name could come back.
    char dir[] = "/tmp/serial-hangup-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/gps";
    ASSERT_EQ(::symlink(pty->name.c_str(), link.c_str()), 0);
    SerialPort port;
    ASSERT_TRUE(port.open(link + ":4800,n,8,1"));
    pty->hangUp();
    ::unlink(link.c_str());
    ::rmdir(dir);
    char buf[80];
    EXPECT_EQ(port.read(buf, sizeof buf, 1000), -1);
    // The pair is gone, so the device does not come back.
    EXPECT_FALSE(port.reopen());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.read(buf, sizeof buf, 10), -1);
    EXPECT_FALSE(port.write("x", 1));
}

TEST(SerialPortTest, OpenFailuresAreReported) {
    const std::string cases[] = {
        "/dev/no-such-serial-line:4800,n,8,1", // no device
        "/dev/null:4800,n,8,1",                // not a serial line
        "/dev/null:4800",                      // malformed settings
        "LPT1:4800,n,8,1",                     // not a port name
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        SerialPort port;
        EXPECT_FALSE(port.open(text));
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.lastError().empty());
    }
}

} // namespace
