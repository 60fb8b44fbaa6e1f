// The NMEA port test of the setup program: which of the six ports open, and
// the raw text arriving on the one port the user picks on the NMEA-test tab.
//
// Ports are opened through the test-port library (os/TMComm.h): a settings
// text gives a handle, 1..999 for a port that opened; reads give at most 256
// bytes without waiting. At most one port is open at a time: every open
// closes the previous port first. Everything runs on the form's thread, and
// the form's timer (`Timer1`) drives the polls, so a read never overlaps a
// reopen. The form implements TPortTestView; the state here has no widgets.
//
// Example (the form's side):
//   TPortTest test(view);
//   TPortProbe probe = test.ProbePorts(genereltRec.Ports, genereltRec.AlarmOn);
//   test.TstCOMClick(3, genereltRec.Ports); // on TstCOM3's click
//   test.Timer1Timer();                     // on each tick while polling
#pragma once

#include "ports/ComSettings.h"
#include "ports/TestText.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the port test asks of the form.
class TPortTestView {
  public:
    virtual ~TPortTestView() = default;
    // Switches `Timer1` (interval TPortTest::kTimer1Interval) on or off.
    virtual void SetTimer1(bool on) = 0;
    // The test text changed; `TstMemo` shows text.DisplayText().
    virtual void ShowTestText(const TTestText& text) = 0;
};

// The result of the start-up probe, element n - 1 for port n.
struct TPortProbe {
    std::array<bool, 6> Opened{};        // enables VecCOMn, RstCOMn and TstCOMn
    std::array<bool, 6> Usable{};        // opened and not the alarm port
    std::vector<std::string> AlarmItems; // "COM" + n of each port that opened, in order
};

class TPortTest {
  public:
    // The polling interval of Timer1, in milliseconds.
    static constexpr int kTimer1Interval = 1000;

    explicit TPortTest(TPortTestView& view) : view_(view) {}
    ~TPortTest(); // closes a port left open
    TPortTest(const TPortTest&) = delete;
    TPortTest& operator=(const TPortTest&) = delete;

    // Opens port n (1..6) with the settings of `record`: a port already open
    // is closed first (and polling stops), then the text device ":"
    // PadBaud(baud) "," parity "," data bits "," stop bits ",X" is opened
    // (device: the record's, else "COM" + n). Polling starts when asked and
    // the port opened. The test port number is not changed. An n outside
    // 1..6 opens nothing.
    void OpenTestPort(int n, const TComPortRec& record, bool startPolling);

    // Closes the open port and stops polling; nothing when no port is open.
    void CloseTestPort();

    // One poll: reads what arrived on the open port and adds it to the test
    // text (TTestText::AddReceived), then shows it. Nothing when no port is
    // open or nothing arrived (also after the line hung up).
    void Timer1Timer();

    // A click on the test tab's radio button of port n (1..6): n becomes the
    // test port and is opened with ports[n - 1], polling on.
    void TstCOMClick(int n, const TComPorts& ports);

    // A change in any port combo box. With a test port chosen, that port is
    // reopened, polling on, with a temporary record: the test port's record
    // with the four combo texts of the test port's own row read by
    // ParseComFields (the caller passes that row, whichever combo changed).
    // Returns true: every combo change makes Apply pending.
    bool CmbChange(const TComPorts& ports, std::string_view baud, std::string_view parity,
                   std::string_view dataBits, std::string_view stopBits);

    // The start-up probe: opens ports 1 to 6 in turn without polling and sets
    // each record's Usable (opened, and `alarmOn` is not "COM" + n, ASCII case
    // ignored). Leaves no port open. The test port number is not changed.
    TPortProbe ProbePorts(TComPorts& ports, std::string_view alarmOn);

    bool IsOpen() const { return open_; }
    std::int32_t Handle() const { return handle_; }
    // 0 when none was chosen, else 1..6.
    int TestPort() const { return testPort_; }
    // Whether Timer1 is on.
    bool Polling() const { return polling_; }
    const TTestText& Text() const { return text_; }

  private:
    void setPolling(bool on);

    TPortTestView& view_;
    bool open_ = false;
    std::int32_t handle_ = 0;
    int testPort_ = 0;
    bool polling_ = false;
    TTestText text_;
};
