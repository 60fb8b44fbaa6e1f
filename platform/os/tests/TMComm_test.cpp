#include "os/TMComm.h"

#include "os/SerialPort.h"
#include "os/tests/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <termios.h>
#include <thread>

namespace {

using Pty = ostest::PseudoTerminal;

// COM91 to COM93 open the slaves of three pseudo-terminals while a test runs.
class TestPort : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            ASSERT_FALSE(pty[i].name.empty());
            os::setSerialDevicePath(91 + i, pty[i].name);
        }
    }
    void TearDown() override {
        for (int i = 0; i < 3; ++i)
            os::setSerialDevicePath(91 + i, "");
        for (int h = 1; h <= 999; ++h)
            TMCloseComm(h);
    }

    // A read into a buffer of exactly 257 bytes, so the sanitizers see any
    // access beyond it; the received bytes go to `got`.
    static int read(int handle, std::string* got = nullptr) {
        auto buffer = std::make_unique<char[]>(257);
        std::memset(buffer.get(), '#', 257);
        std::snprintf(buffer.get(), 257, "%d", handle);
        const int n = TMReadComm(buffer.get());
        if (got && n > 0) got->append(buffer.get(), static_cast<std::size_t>(n));
        return n;
    }

    Pty pty[3];
};

TEST_F(TestPort, ReadsWhatArrives) {
    const int h = TMOpenComm("COM91:04800,N,8,1,X");
    ASSERT_EQ(h, 1);
    EXPECT_EQ(read(h), 0) << "nothing has arrived";

    std::string text;
    for (int i = 0; text.size() < 600; ++i)
        text += "$GPGGA,12000" + std::to_string(i % 10) + "\x11\x13*5C\r\n";
    text.resize(600);
    pty[0].send(text);
    std::string got;
    bool fullRead = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < text.size() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const int n = read(h, &got);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 256);
        fullRead = fullRead || n == 256;
    }
    EXPECT_EQ(got, text) << "XON and XOFF bytes included";
    EXPECT_TRUE(fullRead) << "600 bytes are read 256 at a time";

    // ",X" opens the line without software handshake.
    termios t{};
    ASSERT_EQ(::tcgetattr(pty[0].slave, &t), 0);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(TestPort, HandlesAreTheLowestFreeAndComeBackAfterAClose) {
    EXPECT_EQ(TMOpenComm("COM91:4800,N,8,1"), 1);
    EXPECT_EQ(TMOpenComm("COM92:9600,E,7,2,X"), 2);
    EXPECT_EQ(TMCloseComm(1), 1);
    EXPECT_EQ(TMCloseComm(1), 0);
    EXPECT_EQ(read(1), -1);
    EXPECT_EQ(TMOpenComm("COM93:4800,N,8,1,x"), 1);
    EXPECT_EQ(TMCloseComm(7), 0);
    EXPECT_EQ(TMCloseComm(0), 0);
    EXPECT_EQ(TMCloseComm(-5), 0);
    EXPECT_EQ(TMCloseComm(1000), 0);

    for (const char* bad : {"", "COM91", "COM91:abc,N,8,1", "COM91:4800,N,8,1,X,Y",
                            "COM91:4800,N,8,1,Q", "COM91:4800,Z,8,1", "/no/such/tty:4800,N,8,1"})
        EXPECT_EQ(TMOpenComm(bad), 0) << bad;
    EXPECT_EQ(TMOpenComm(nullptr), 0);
}

TEST_F(TestPort, UnknownHandlesAndHungUpLines) {
    const int h = TMOpenComm("COM91:4800,N,8,1,X");
    ASSERT_EQ(h, 1);
    for (const char* text : {"", "0", "2", "999", "1000", "-1", "abc", " 1", "1x"}) {
        auto buffer = std::make_unique<char[]>(257);
        std::memset(buffer.get(), 0, 257);
        std::strcpy(buffer.get(), text);
        EXPECT_EQ(TMReadComm(buffer.get()), -1) << text;
    }
    auto unended = std::make_unique<char[]>(257);
    std::memset(unended.get(), '1', 257); // no NUL at all
    EXPECT_EQ(TMReadComm(unended.get()), -1);
    EXPECT_EQ(TMReadComm(nullptr), -1);

    pty[0].send("$GP");
    pty[0].hangUp();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::string got;
    int n = 0;
    for (int i = 0; i < 3 && n >= 0; ++i)
        n = read(h, &got);
    EXPECT_EQ(n, -1) << "a hung-up line reads -1";
    EXPECT_EQ(read(h), -1);
    EXPECT_EQ(TMCloseComm(h), 1);
}

} // namespace
