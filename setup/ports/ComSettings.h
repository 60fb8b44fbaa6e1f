// The settings of the six serial ports COM1 to COM6 that the setup program
// keeps for the navigation program, and their settings text
// "COM1:4800,N,8,1" (device ":" baud "," parity "," data bits "," stop bits)
// as it stands after `Comport1` .. `Comport6` in the configuration files.
//
// The parser repairs what it cannot use and says so, so that the caller can
// mark the configuration modified; the formatter writes the record back.
// What the user wrote and the navigation program relies on is kept: the
// device before ":" and anything after the stop bits (a handshake letter).
//
// Example:
//   TComPorts ports;
//   bool repaired = ParseComSettings(ports, 3, "/dev/ttyUSB0:9600,e,7,2", true);
//   // ports[2]: 9600, 'E', 7, 2, device "/dev/ttyUSB0"; repaired is false
//   std::string text = FormatComSettings(ports, 3); // "/dev/ttyUSB0:9600,E,7,2"
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One port's record, for port n = 1..6 (element n - 1 of TComPorts).
struct TComPortRec {
    // Set by the start-up probe: the port opened and is not the alarm port.
    bool Usable = false;
    // The enabled flag the configuration load passed in.
    bool EnabledAtLoad = false;
    // Bits per second, for example 4800. Stored as given: a rate the serial
    // layer does not know keeps the port from opening.
    std::uint32_t Baud = 4800;
    // 'N', 'O', 'E' or 'M' as offered; any character is stored.
    char Parity = 'N';
    // 1..9 accepted (5..8 offered); stop bits 1..9 accepted (1 or 2 offered).
    std::uint8_t DataBits = 8;
    std::uint8_t StopBits = 1;
    // The device before ":" as written when it is not the port's own: empty
    // means "COMn" for port n; "COM5" or "/dev/ttyUSB0" is kept, since the
    // navigation program opens the device the text names.
    std::string Device;
    // What followed the stop bits, from its "," on (",P" for a hardware
    // handshake), written back as it stands; usually empty.
    std::string Tail;
};

// The six records; port n is element n - 1.
using TComPorts = std::array<TComPortRec, 6>;

// Fills port record n (1..6) from a settings text and sets its EnabledAtLoad
// to `enabled`. Returns true when a repair was made, so the caller marks the
// configuration modified. The record filled is always port n's, whatever
// port the device text names.
// - An empty (or blank) text gives the device of port n at 4800,N,8,1 and is
//   no repair.
// - Device: the text before the first ":", trimmed. "COMn" (ASCII case
//   ignored) or "n" of port n itself is stored as empty; any other device is
//   kept. A text without ":", or with nothing before it, is read as fields
//   only and marks a repair.
// - Fields are split at "," and trimmed of blanks and tabs; each one that
//   cannot be used is repaired (marking the repair):
//   - baud: shorter than 4 characters, or not a number of digits that fits in
//     32 bits → 4800;
//   - parity: missing or empty → 'N'; otherwise its first character, upper-
//     cased (a longer field such as "None" marks a repair);
//   - data bits: not a number 1..255 of digits starting with 1..9 → 8;
//   - stop bits: likewise → 1.
// An n outside 1..6 changes nothing and returns false.
bool ParseComSettings(TComPorts& ports, int n, std::string_view text, bool enabled);

// The same field rules for one record, from the four field texts (as the
// port combo boxes hold them). Device, Tail and the flags are left alone.
// Returns true when a field was repaired.
bool ParseComFields(TComPortRec& record, std::string_view baud, std::string_view parity,
                    std::string_view dataBits, std::string_view stopBits);

// The settings text of port record n (1..6): the device ("COM" + n when the
// record keeps none), ":", decimal baud, ",", parity, ",", data bits, ",", stop
// bits, then the record's Tail. Gives the record's EnabledAtLoad in
// *enabledAtLoad when asked. "" for an n outside 1..6.
std::string FormatComSettings(const TComPorts& ports, int n, bool* enabledAtLoad = nullptr);

// The device text that port n's record opens: its Device, or "COM" + n.
std::string ComDevice(const TComPortRec& record, int n);

// The baud rate's decimal text, left-padded with "0" to at least five
// characters: 4800 → "04800", 19200 and 115200 unchanged.
std::string PadBaud(std::uint32_t baud);
