// Serial ports over termios: real devices and pseudo-terminals alike.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <termios.h>

namespace os {

// Line settings taken from a settings text such as "COM1:4800,n,8,1".
struct SerialSettings {
    std::string device;   // the text before the first ":" ("COM1", "/dev/ttyUSB0")
    unsigned baud = 4800; // bits per second; one of the standard termios rates
    char parity = 'N';    // 'N' none, 'O' odd, 'E' even, 'M' mark, 'S' space
    int dataBits = 8;     // 5 to 8
    int stopBits = 1;     // 1 or 2
    char handshake = 0;   // 0 none, 'X' XON/XOFF, 'P' RTS/CTS hardware handshake
};

// Reads a settings text "DEVICE:BAUD,PARITY,DATA,STOP[,HANDSHAKE]". The device
// is everything before the first ":" (so "COM10" works); the baud rate may carry
// leading zeros ("04800"); the parity letter is taken in either case; spaces
// around the fields are allowed. Returns false with a message in *error (when
// not null) for a missing device, a rate that is not a standard one, an unknown
// parity or handshake letter, data bits outside 5..8 or stop bits other than 1
// and 2.
bool parseSerialSettings(const char* text, SerialSettings& out, std::string* error = nullptr);

// Turns t into a raw line (no echo, no line editing, no character
// translation, reads return what has arrived) at the given rate, parity, data
// and stop bits and handshake. Lines without a modem (pseudo-terminals) may
// ignore the character size and parity.
void setRawTermios(const SerialSettings& settings, termios& t);

// "COMn" names map to device paths through one process-wide table; n is 1 to
// 99 and the default path is the one the platform file's [PORTS] section
// gives (platformFile.h), else "/dev/ttyS<n-1>". A device text that begins with
// "/" is a path already and is returned as it stands. Returns "" for a name
// that is neither. Thread-safe.
std::string serialDevicePath(const std::string& device);
// Sets the path that "COMn" opens (n 1 to 99); an empty path restores the
// default. Returns false for n out of range.
bool setSerialDevicePath(int n, const std::string& path);

// One open serial line. The device is opened read-write, non-blocking, without
// becoming the process's controlling terminal and (where the driver allows it)
// exclusively; it runs in raw mode at the settings given, with DTR and RTS
// raised at open and dropped at close.
//
// Threads: read() and reopen() belong to one thread (the port's reader);
// write(), purge() and wake() may be called from any thread; open() and close()
// must not race with a read() in progress (stop and join the reader first).
class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device named by the settings text and applies its settings.
    // A port already open is closed first. Returns false, with the reason in
    // lastError(), when the text is malformed, the device cannot be opened or
    // the line cannot be set up; the port is then closed.
    bool open(const std::string& settingsText);
    // Closes the device and opens it again with the settings of the last
    // open(). Used after a read error, for a receiver that was unplugged.
    bool reopen();
    // Drops DTR and RTS (errors ignored), discards both queues, gives up the
    // exclusive hold and closes the device. Does nothing when closed.
    void close();
    bool isOpen() const;

    // Waits at most timeoutMs milliseconds for input and returns what has
    // arrived, up to size bytes. Returns the byte count, 0 on a time-out or
    // when woken by wake(), and -1 on an error or hang-up of the device (the
    // caller may then reopen it) or when the port is closed.
    long read(char* buffer, std::size_t size, int timeoutMs);
    // Writes all size bytes, waiting at most timeoutMs for the line to accept
    // each part. Returns false when the port is closed, on an error or on a
    // time-out (what was not written is dropped).
    bool write(const char* data, std::size_t size, int timeoutMs = 2000);
    // Discards what is queued for input and output.
    void purge();
    // Makes a read() in progress (or the next one) return 0 at once.
    void wake();

    const std::string& lastError() const { return error_; }
    const SerialSettings& settings() const { return settings_; }

  private:
    bool openLocked();
    void closeLocked();
    bool ensureWakePipe();

    // Serialises open, close, write and purge. read() and isOpen() only load
    // the descriptor, so a write that waits for the line never holds up the
    // reader.
    mutable std::mutex mutex_;
    std::atomic<int> fd_{-1};
    int wakePipe_[2] = {-1, -1};
    std::string text_;
    SerialSettings settings_;
    std::string error_;
};

} // namespace os
