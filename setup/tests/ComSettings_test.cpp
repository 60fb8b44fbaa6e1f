#include "ports/ComSettings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

namespace {

struct Case {
    int n;
    const char* text;
    // The record filled, then the text written back.
    unsigned baud;
    char parity;
    int dataBits;
    int stopBits;
    const char* device;
    bool repaired;
    const char* written;
};

const Case kCases[] = {
    {2, "COM2:4800,N,8,1", 4800, 'N', 8, 1, "", false, "COM2:4800,N,8,1"},
    {2, "COM2:480,N,8,1", 4800, 'N', 8, 1, "", true, "COM2:4800,N,8,1"},
    {2, "COM2:4800", 4800, 'N', 8, 1, "", true, "COM2:4800,N,8,1"},
    {2, "2:9600,e,7,2", 9600, 'E', 7, 2, "", false, "COM2:9600,E,7,2"},
    {2, "COM2:4800,N,0,0", 4800, 'N', 8, 1, "", true, "COM2:4800,N,8,1"},
    {3, "", 4800, 'N', 8, 1, "", false, "COM3:4800,N,8,1"},
    {4, "   ", 4800, 'N', 8, 1, "", false, "COM4:4800,N,8,1"},
    {1, "COM1:4800,None,8,1", 4800, 'N', 8, 1, "", true, "COM1:4800,N,8,1"},
    {1, "COM1:fast,N,8,1", 4800, 'N', 8, 1, "", true, "COM1:4800,N,8,1"},
    {1, "COM1:99999999999,N,8,1", 4800, 'N', 8, 1, "", true, "COM1:4800,N,8,1"},
    {1, "COM1:4800,N,8x,1", 4800, 'N', 8, 1, "", true, "COM1:4800,N,8,1"},
    {1, "COM1:4800,,8,1", 4800, 'N', 8, 1, "", true, "COM1:4800,N,8,1"},
    // The key's port is filled; the device named in the value is kept.
    {3, "COM5:9600,N,8,1", 9600, 'N', 8, 1, "COM5", false, "COM5:9600,N,8,1"},
    {1, "COM9:4800,N,8,1", 4800, 'N', 8, 1, "COM9", false, "COM9:4800,N,8,1"},
    {1, "COM10:19200,N,8,1", 19200, 'N', 8, 1, "COM10", false, "COM10:19200,N,8,1"},
    {2, "/dev/ttyUSB0:4800,n,8,1", 4800, 'N', 8, 1, "/dev/ttyUSB0", false,
     "/dev/ttyUSB0:4800,N,8,1"},
    {4, "com4:4800,N,8,1", 4800, 'N', 8, 1, "", false, "COM4:4800,N,8,1"},
    // No device: the port's own, and the text is repaired.
    {5, "4800,N,8,1", 4800, 'N', 8, 1, "", true, "COM5:4800,N,8,1"},
    {5, ":4800,N,8,1", 4800, 'N', 8, 1, "", true, "COM5:4800,N,8,1"},
    // Blanks around fields; a handshake field is kept.
    {6, " COM6 : 4800 , o , 8 , 2 ", 4800, 'O', 8, 2, "", false, "COM6:4800,O,8,2"},
    {1, "COM1:4800,N,8,1,P", 4800, 'N', 8, 1, "", false, "COM1:4800,N,8,1,P"},
    // Values the serial layer refuses are stored as given.
    {2, "COM2:12345,M,9,3", 12345, 'M', 9, 3, "", false, "COM2:12345,M,9,3"},
};

void runTable() {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("Comport") + std::to_string(c.n) + "=" + c.text);
        TComPorts ports;
        ports[4].Baud = 38400; // a record the text must not touch
        const bool enabled = c.n % 2 == 1;
        EXPECT_EQ(ParseComSettings(ports, c.n, c.text, enabled), c.repaired);
        const TComPortRec& r = ports[static_cast<std::size_t>(c.n - 1)];
        EXPECT_EQ(r.Baud, c.baud);
        EXPECT_EQ(r.Parity, c.parity);
        EXPECT_EQ(r.DataBits, c.dataBits);
        EXPECT_EQ(r.StopBits, c.stopBits);
        EXPECT_EQ(r.Device, c.device);
        bool enabledAtLoad = !enabled;
        EXPECT_EQ(FormatComSettings(ports, c.n, &enabledAtLoad), c.written);
        EXPECT_EQ(enabledAtLoad, enabled);
        if (c.n != 5) {
            EXPECT_EQ(ports[4].Baud, 38400u) << "only the key's port is filled";
        }

        // What was written reads back the same, with nothing to repair.
        TComPorts again;
        EXPECT_FALSE(ParseComSettings(again, c.n, c.written, enabled));
        EXPECT_EQ(FormatComSettings(again, c.n), c.written);
    }
}

TEST(ComSettings, ParseAndFormatTable) {
    runTable();
}

TEST(ComSettings, ParseAndFormatTableUnderADecimalCommaLocale) {
    const char* locale = std::setlocale(LC_ALL, "nb_NO.UTF-8");
    if (!locale) locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(locale, nullptr) << "no decimal-comma locale installed (package locales-all)";
    const std::locale previous = std::locale::global(std::locale(locale));
    runTable();
    EXPECT_EQ(PadBaud(115200), "115200");
    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
}

TEST(ComSettings, PortNumbersOutsideTheSixChangeNothing) {
    TComPorts ports;
    const TComPorts before = ports;
    for (int n : {0, 7, -1}) {
        EXPECT_FALSE(ParseComSettings(ports, n, "COM2:480,N,8,1", true));
        EXPECT_EQ(FormatComSettings(ports, n), "");
    }
    for (std::size_t i = 0; i < ports.size(); ++i)
        EXPECT_EQ(FormatComSettings(ports, static_cast<int>(i + 1)),
                  FormatComSettings(before, static_cast<int>(i + 1)));
}

TEST(ComSettings, PadBaud) {
    EXPECT_EQ(PadBaud(4800), "04800");
    EXPECT_EQ(PadBaud(19200), "19200");
    EXPECT_EQ(PadBaud(115200), "115200");
    EXPECT_EQ(PadBaud(0), "00000");
}

} // namespace
