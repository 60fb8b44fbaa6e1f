#include "ports/PortTest.h"

#include "os/SerialPort.h"
#include "os/TMComm.h"
#include "os/tests/PseudoTerminal.h"
#include "os/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>

namespace {

using Pty = ostest::PseudoTerminal;

class FakeView : public TPortTestView {
  public:
    void SetTimer1(bool on) override { timer = on; }
    void ShowTestText(const TTestText& text) override {
        shown = text.DisplayText();
        ++shows;
    }
    bool timer = false;
    std::string shown;
    int shows = 0;
};

// COM1 to COM6 name devices that do not exist, unless a test puts a
// pseudo-terminal behind one; the table is restored afterwards.
class PortTestOnPtys : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int n = 1; n <= 6; ++n)
            os::setSerialDevicePath(n, temp / ("no-device-" + std::to_string(n)));
    }
    void TearDown() override {
        for (int n = 1; n <= 6; ++n)
            os::setSerialDevicePath(n, "");
        for (int h = 1; h <= 999; ++h)
            TMCloseComm(h);
    }

    static void attach(int n, const Pty& pty) {
        ASSERT_FALSE(pty.name.empty());
        os::setSerialDevicePath(n, pty.name);
    }

    // Whether the test-port library holds any port open.
    static bool anyPortOpen() {
        bool any = false;
        for (int h = 1; h <= 999; ++h)
            any = TMCloseComm(h) == 1 || any;
        return any;
    }

    // Sends bytes from the instrument's side and waits until all of them
    // wait on the line, so that each poll's count is known.
    static void sendAndWait(const Pty& pty, const std::string& bytes) {
        int before = 0;
        ::ioctl(pty.slave, FIONREAD, &before);
        pty.send(bytes);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        int queued = 0;
        while (std::chrono::steady_clock::now() < end) {
            ::ioctl(pty.slave, FIONREAD, &queued);
            if (queued >= before + static_cast<int>(bytes.size())) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        FAIL() << "only " << queued << " bytes arrived";
    }

    ostest::TempFolder temp;
    FakeView view;
    TComPorts ports;
};

TEST_F(PortTestOnPtys, ProbeFindsThePortsThatOpenAndLeavesNoneOpen) {
    Pty com1, com3, direct;
    attach(1, com1);
    attach(3, com3);
    // Port 4's value names its device directly: that device is probed.
    ports[3].Device = direct.name;
    ports[1].Usable = true; // left over from an earlier probe

    TPortTest test(view);
    const TPortProbe probe = test.ProbePorts(ports, "com3");

    EXPECT_EQ(probe.Opened, (std::array<bool, 6>{true, false, true, true, false, false}));
    EXPECT_EQ(probe.Usable, (std::array<bool, 6>{true, false, false, true, false, false}));
    EXPECT_EQ(probe.AlarmItems, (std::vector<std::string>{"COM1", "COM3", "COM4"}));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(ports[i].Usable, probe.Usable[i]) << "port " << i + 1;
    EXPECT_FALSE(test.IsOpen());
    EXPECT_EQ(test.Handle(), 0);
    EXPECT_EQ(test.TestPort(), 0);
    EXPECT_FALSE(test.Polling());
    EXPECT_FALSE(view.timer);
    EXPECT_FALSE(anyPortOpen());
}

TEST_F(PortTestOnPtys, PollsAppendWhatArrivesAndSurviveAHangUp) {
    Pty com3;
    attach(3, com3);
    TPortTest test(view);
    test.Timer1Timer(); // no port open: nothing happens
    EXPECT_EQ(view.shows, 0);

    test.TstCOMClick(3, ports);
    ASSERT_TRUE(test.IsOpen());
    EXPECT_EQ(test.TestPort(), 3);
    EXPECT_TRUE(test.Polling());
    EXPECT_TRUE(view.timer);

    std::string bytes;
    for (int i = 0; i < 600; ++i)
        bytes += static_cast<char>('A' + i % 26);
    bytes[300] = '\0'; // kept by count
    sendAndWait(com3, bytes);
    for (std::size_t expected : {256u, 512u, 600u, 600u}) {
        test.Timer1Timer();
        EXPECT_EQ(test.Text().Bytes().size(), expected);
    }
    EXPECT_EQ(test.Text().Bytes(), bytes);
    EXPECT_EQ(view.shows, 3) << "a poll without bytes shows nothing new";

    com3.hangUp();
    test.Timer1Timer();
    test.Timer1Timer();
    EXPECT_EQ(test.Text().Bytes(), bytes);
    EXPECT_EQ(view.shows, 3);

    test.CloseTestPort();
    EXPECT_FALSE(test.IsOpen());
    EXPECT_FALSE(view.timer);
    EXPECT_FALSE(anyPortOpen());
}

TEST_F(PortTestOnPtys, SentencesInPiecesJoinAndTheViewKeepsTheLastLines) {
    Pty com2;
    attach(2, com2);
    TPortTest test(view);
    test.TstCOMClick(2, ports);
    ASSERT_TRUE(test.IsOpen());

    sendAndWait(com2, "$GPGGA,1*5C\r");
    test.Timer1Timer();
    sendAndWait(com2, "\n$GPRMC,2*4A\r\n");
    test.Timer1Timer();
    EXPECT_EQ(test.Text().LineCount(), 2u);
    EXPECT_EQ(view.shown, "$GPGGA,1*5C\n$GPRMC,2*4A\n");

    std::string ten;
    for (int i = 3; i <= 12; ++i)
        ten += "$GPGLL," + std::to_string(i) + "\r\n";
    sendAndWait(com2, ten);
    test.Timer1Timer(); // 12 lines now
    EXPECT_EQ(test.Text().LineCount(), 12u);
    sendAndWait(com2, "$");
    test.Timer1Timer(); // cut to 8, then the byte
    EXPECT_EQ(test.Text().LineCount(), 9u);
    EXPECT_EQ(test.Text().Bytes().substr(0, 10), "$GPGLL,5\r\n");
    EXPECT_EQ(test.Text().Bytes().back(), '$');
}

TEST_F(PortTestOnPtys, ComboChangeReopensTheTestPortWithItsOwnRow) {
    Pty com3, com5;
    attach(5, com5);
    // Port 3's value names its device: the reopen must keep it.
    ports[2].Device = com3.name;
    ports[2].Baud = 4800;

    TPortTest test(view);
    EXPECT_TRUE(test.CmbChange(ports, "9600", "E", "7", "2")) << "no test port: Apply all the same";
    EXPECT_FALSE(test.IsOpen());

    test.TstCOMClick(3, ports);
    ASSERT_TRUE(test.IsOpen());
    termios t5{};
    ASSERT_EQ(::tcgetattr(com5.slave, &t5), 0);

    // A combo of port 5 changed; the form passes the test port's row.
    EXPECT_TRUE(test.CmbChange(ports, "9600", "e", "7", "2"));
    EXPECT_TRUE(test.IsOpen());
    EXPECT_TRUE(test.Polling());
    EXPECT_EQ(test.TestPort(), 3);
    termios t3{};
    ASSERT_EQ(::tcgetattr(com3.slave, &t3), 0);
    EXPECT_EQ(::cfgetospeed(&t3), static_cast<speed_t>(B9600));
    // Pseudo-terminals keep the rate and the stop bits (not size and parity).
    EXPECT_EQ(t3.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    termios t5after{};
    ASSERT_EQ(::tcgetattr(com5.slave, &t5after), 0);
    EXPECT_EQ(::cfgetospeed(&t5after), ::cfgetospeed(&t5)) << "port 5 is not opened";
    EXPECT_EQ(ports[2].Baud, 4800u) << "the combo record is temporary";

    // Texts the parser repairs reopen at its defaults.
    EXPECT_TRUE(test.CmbChange(ports, "48", "", "x", ""));
    EXPECT_TRUE(test.IsOpen());
    ASSERT_EQ(::tcgetattr(com3.slave, &t3), 0);
    EXPECT_EQ(::cfgetospeed(&t3), static_cast<speed_t>(B4800));
    EXPECT_EQ(t3.c_cflag & CSTOPB, 0u);

    // A rate the serial layer refuses: the port stays closed, polling off.
    EXPECT_TRUE(test.CmbChange(ports, "12345", "N", "8", "1"));
    EXPECT_FALSE(test.IsOpen());
    EXPECT_FALSE(test.Polling());
    EXPECT_FALSE(view.timer);
}

} // namespace
