#include "ports/PortTest.h"

#include "os/TMComm.h"

#include <cstdio>

namespace {

// The read buffer of the test-port library: 256 bytes and a NUL.
constexpr std::size_t kReadBuffer = 257;

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

} // namespace

TPortTest::~TPortTest() {
    if (open_) TMCloseComm(handle_);
}

void TPortTest::setPolling(bool on) {
    polling_ = on;
    view_.SetTimer1(on);
}

void TPortTest::OpenTestPort(int n, const TComPortRec& record, bool startPolling) {
    if (open_) {
        TMCloseComm(handle_);
        handle_ = 0;
        open_ = false;
        setPolling(false);
    }
    if (n >= 1 && n <= 6) {
        std::string text = ComDevice(record, n);
        text += ':';
        text += PadBaud(record.Baud);
        text += ',';
        text += record.Parity;
        text +=
            ',' + std::to_string(record.DataBits) + ',' + std::to_string(record.StopBits) + ",X";
        const std::int32_t handle = TMOpenComm(text.c_str());
        open_ = handle > 0 && handle < 1000;
        handle_ = open_ ? handle : 0;
    }
    setPolling(startPolling && open_);
}

void TPortTest::CloseTestPort() {
    if (!open_) return;
    TMCloseComm(handle_);
    handle_ = 0;
    open_ = false;
    setPolling(false);
}

void TPortTest::Timer1Timer() {
    if (!open_) return;
    char buffer[kReadBuffer] = {};
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(handle_));
    const std::int32_t count = TMReadComm(buffer);
    if (count <= 0) return;
    const std::size_t received = static_cast<std::size_t>(count) < kReadBuffer
                                     ? static_cast<std::size_t>(count)
                                     : kReadBuffer;
    text_.AddReceived(buffer, received);
    view_.ShowTestText(text_);
}

void TPortTest::TstCOMClick(int n, const TComPorts& ports) {
    if (n < 1 || n > static_cast<int>(ports.size())) return;
    testPort_ = n;
    OpenTestPort(n, ports[static_cast<std::size_t>(n - 1)], true);
}

bool TPortTest::CmbChange(const TComPorts& ports, std::string_view baud, std::string_view parity,
                          std::string_view dataBits, std::string_view stopBits) {
    if (testPort_ >= 1 && testPort_ <= static_cast<int>(ports.size())) {
        TComPortRec record = ports[static_cast<std::size_t>(testPort_ - 1)];
        ParseComFields(record, baud, parity, dataBits, stopBits);
        OpenTestPort(testPort_, record, true);
    }
    return true;
}

TPortProbe TPortTest::ProbePorts(TComPorts& ports, std::string_view alarmOn) {
    TPortProbe probe;
    for (int n = 1; n <= static_cast<int>(ports.size()); ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        OpenTestPort(n, ports[i], false);
        const std::string name = "COM" + std::to_string(n);
        probe.Opened[i] = open_;
        probe.Usable[i] = open_ && !equalNoCase(alarmOn, name);
        ports[i].Usable = probe.Usable[i];
        if (open_) probe.AlarmItems.push_back(name);
    }
    CloseTestPort();
    return probe;
}
