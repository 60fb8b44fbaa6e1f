#include "serial/SerialPorts.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "os/SerialPort.h"

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(2000);
constexpr int kReadWaitMs = 2000;

struct PortSlot {
    os::SerialPort device;
    std::atomic<bool> open{false}; // written by the opening thread only
    std::mutex stopMutex;
    std::condition_variable stopSignal;
    bool stop = false; // under stopMutex
    std::thread reader;
};

struct Writer {
    std::mutex mutex;
    std::condition_variable wake; // exists before anyone can signal it
    std::string output;           // the text handed over, under mutex
    bool pending = false;
    bool stop = false;
    int port = -1;
    std::thread thread;
};

struct PortTable {
    PortSlot slots[kNmeaPortCount];
    Writer writer;
    // Threads must be joined before the process ends.
    ~PortTable() {
        for (int port = 0; port < kNmeaPortCount; ++port)
            CloseComPort(port);
    }
};

// Made on first use, so no static initialiser elsewhere can find it unbuilt.
PortTable& ports() {
    static PortTable table;
    return table;
}

bool stopRequested(PortSlot& slot) {
    std::lock_guard<std::mutex> lock(slot.stopMutex);
    return slot.stop;
}

// Waits the retry interval or until the port is stopped; true when stopped.
bool waitOrStop(PortSlot& slot) {
    std::unique_lock<std::mutex> lock(slot.stopMutex);
    return slot.stopSignal.wait_for(lock, kRetryInterval, [&] { return slot.stop; });
}

void stopWriter(int port) {
    Writer& w = ports().writer;
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(w.mutex);
        if (w.port != port || !w.thread.joinable()) return;
        w.stop = true;
        thread = std::move(w.thread);
    }
    w.wake.notify_all();
    thread.join();
    std::lock_guard<std::mutex> lock(w.mutex);
    w.port = -1;
}

} // namespace

bool OpenComPort(int port, const char* settings) {
    if (port < 0 || port >= kNmeaPortCount || !settings) return false;
    PortSlot& slot = ports().slots[port];
    if (slot.open) CloseComPort(port);
    if (!slot.device.open(settings)) return false;
    *NmeaPort(port) = NmeaPortState();
    {
        std::lock_guard<std::mutex> lock(slot.stopMutex);
        slot.stop = false;
    }
    slot.open = true;
    slot.reader = std::thread(PortReaderThread, port);
    return true;
}

int CloseComPort(int port) {
    if (port < 0 || port >= kNmeaPortCount) return -1;
    PortSlot& slot = ports().slots[port];
    if (!slot.open) return -1;
    {
        std::lock_guard<std::mutex> lock(slot.stopMutex);
        slot.stop = true;
    }
    slot.stopSignal.notify_all();
    slot.device.wake();
    if (slot.reader.joinable()) slot.reader.join();
    stopWriter(port);
    slot.device.close();
    slot.open = false;
    return 0;
}

bool StartPortWriter(int which) {
    if (which != 0) return false;
    int port = NavSnapshot().outputPort;
    if (port < 0 || port >= kNmeaPortCount || !ports().slots[port].open) return false;
    Writer& w = ports().writer;
    std::lock_guard<std::mutex> lock(w.mutex);
    if (w.thread.joinable()) return false;
    w.port = port;
    w.stop = false;
    w.pending = false; // a new writer waits for the next output, like a fresh event
    w.thread = std::thread(PortWriterThread);
    return true;
}

void SignalPortWriter(const char* text) {
    Writer& w = ports().writer;
    {
        std::lock_guard<std::mutex> lock(w.mutex);
        w.output = text ? text : "";
        w.pending = true;
    }
    w.wake.notify_all();
}

int PortReaderThread(int port) {
    if (port < 0 || port >= kNmeaPortCount) return 1;
    PortSlot& slot = ports().slots[port];
    NmeaPortState& state = *NmeaPort(port);
    while (!stopRequested(slot)) {
        if (!slot.device.isOpen()) {
            // The device went away (an unplugged receiver): try again every 2 s.
            if (waitOrStop(slot)) break;
            slot.device.reopen();
            continue;
        }
        long n = slot.device.read(state.readBuffer, kNmeaReadBufferSize, kReadWaitMs);
        if (n < 0) {
            slot.device.close();
            continue;
        }
        if (n == 0) continue;
        state.readCount = static_cast<std::uint32_t>(n);
        if (ParseNmeaBuffer(port) == 1)
            UpdateNavShared([](NavShared& s) {
                s.newFix = 1;
                s.fixSinceTimeout = 1;
                ++s.nav.fixCount;
            });
    }
    return 1;
}

int PortWriterThread() {
    Writer& w = ports().writer;
    std::string text;
    for (;;) {
        int port;
        {
            std::unique_lock<std::mutex> lock(w.mutex);
            w.wake.wait(lock, [&] { return w.pending || w.stop; });
            if (w.stop) break;
            w.pending = false;
            text = w.output;
            port = w.port;
        }
        if (!text.empty() && port >= 0 && port < kNmeaPortCount)
            ports().slots[port].device.write(text.data(), text.size()); // a failed write is dropped
    }
    return 1;
}
