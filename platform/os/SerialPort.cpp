#include "os/SerialPort.h"

#include "os/platformFile.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace os {

namespace {

struct BaudEntry {
    unsigned rate;
    speed_t code;
};

constexpr BaudEntry kBaudRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

std::string trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// A whole field of decimal digits; false for anything else or an overflow.
bool parseUnsigned(const std::string& field, unsigned& value) {
    if (field.empty() || field.size() > 9) return false;
    unsigned v = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    value = v;
    return true;
}

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// Never destroyed: a reader may reopen its line while the process ends.
std::mutex& deviceTableMutex() {
    static auto* m = new std::mutex;
    return *m;
}

std::array<std::string, 100>& deviceTable() {
    static auto* table = new std::array<std::string, 100>;
    return *table;
}

// "COMn" with n 1 to 99 (case-insensitive); 0 for anything else.
int comNumber(const std::string& device) {
    if (device.size() < 4 || device.size() > 5) return 0;
    if (std::toupper(static_cast<unsigned char>(device[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(device[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(device[2])) != 'M')
        return 0;
    unsigned n = 0;
    if (!parseUnsigned(device.substr(3), n) || n < 1 || n > 99 || device[3] == '0') return 0;
    return static_cast<int>(n);
}

} // namespace

bool parseSerialSettings(const char* text, SerialSettings& out, std::string* error) {
    if (!text) return fail(error, "no serial settings");
    std::string s(text);
    std::size_t colon = s.find(':');
    if (colon == std::string::npos) return fail(error, "serial settings without \":\": " + s);
    SerialSettings r;
    r.device = trimmed(s.substr(0, colon));
    if (r.device.empty()) return fail(error, "serial settings without a device: " + s);

    std::string fields[6];
    int count = 0;
    std::size_t start = colon + 1;
    while (count < 6) {
        std::size_t comma = s.find(',', start);
        fields[count++] = trimmed(s.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (count < 4 || count > 5)
        return fail(error, "serial settings need rate, parity, data and stop bits: " + s);

    unsigned baud = 0;
    if (!parseUnsigned(fields[0], baud)) return fail(error, "bad baud rate: " + fields[0]);
    bool known = false;
    for (const BaudEntry& e : kBaudRates)
        known = known || e.rate == baud;
    if (!known) return fail(error, "unsupported baud rate: " + fields[0]);
    r.baud = baud;

    if (fields[1].size() != 1 ||
        !std::strchr("NOEMS", std::toupper(static_cast<unsigned char>(fields[1][0]))))
        return fail(error, "bad parity: " + fields[1]);
    r.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));

    unsigned bits = 0;
    if (!parseUnsigned(fields[2], bits) || bits < 5 || bits > 8)
        return fail(error, "bad data bits: " + fields[2]);
    r.dataBits = static_cast<int>(bits);

    if (!parseUnsigned(fields[3], bits) || (bits != 1 && bits != 2))
        return fail(error, "bad stop bits: " + fields[3]);
    r.stopBits = static_cast<int>(bits);

    if (count == 5) {
        char h = fields[4].size() == 1
                     ? static_cast<char>(std::toupper(static_cast<unsigned char>(fields[4][0])))
                     : 0;
        if (h != 'X' && h != 'P') return fail(error, "bad handshake: " + fields[4]);
        r.handshake = h;
    }
    out = r;
    return true;
}

std::string serialDevicePath(const std::string& device) {
    if (!device.empty() && device[0] == '/') return device;
    int n = comNumber(device);
    if (n == 0) return std::string();
    {
        std::lock_guard<std::mutex> lock(deviceTableMutex());
        const std::string& mapped = deviceTable()[static_cast<std::size_t>(n)];
        if (!mapped.empty()) return mapped;
    }
    const std::string configured = platformPortPath(n);
    return configured.empty() ? "/dev/ttyS" + std::to_string(n - 1) : configured;
}

bool setSerialDevicePath(int n, const std::string& path) {
    if (n < 1 || n > 99) return false;
    std::lock_guard<std::mutex> lock(deviceTableMutex());
    deviceTable()[static_cast<std::size_t>(n)] = path;
    return true;
}

void setRawTermios(const SerialSettings& settings, termios& t) {
    ::cfmakeraw(&t);
    speed_t code = B4800;
    for (const BaudEntry& e : kBaudRates)
        if (e.rate == settings.baud) code = e.code;
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |=
        settings.dataBits >= 5 && settings.dataBits <= 8 ? kSizes[settings.dataBits - 5] : CS8;
    if (settings.stopBits == 2) t.c_cflag |= CSTOPB;
    switch (settings.parity) {
    case 'O':
        t.c_cflag |= PARENB | PARODD;
        break;
    case 'E':
        t.c_cflag |= PARENB;
        break;
    case 'M':
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case 'S':
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (settings.handshake == 'X') t.c_iflag |= IXON | IXOFF;
    if (settings.handshake == 'P') t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

SerialPort::~SerialPort() {
    close();
    for (int& fd : wakePipe_)
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
}

bool SerialPort::ensureWakePipe() {
    if (wakePipe_[0] >= 0) return true;
    return ::pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) == 0;
}

bool SerialPort::open(const std::string& settingsText) {
    std::lock_guard<std::mutex> lock(mutex_);
    closeLocked();
    text_ = settingsText;
    return openLocked();
}

bool SerialPort::reopen() {
    std::lock_guard<std::mutex> lock(mutex_);
    closeLocked();
    return openLocked();
}

bool SerialPort::openLocked() {
    SerialSettings s;
    std::string why;
    if (!parseSerialSettings(text_.c_str(), s, &why)) {
        error_ = why;
        return false;
    }
    settings_ = s;
    std::string path = serialDevicePath(s.device);
    if (path.empty()) {
        error_ = "unknown serial device: " + s.device;
        return false;
    }
    if (!ensureWakePipe()) {
        error_ = std::string("cannot make a wake-up pipe: ") + std::strerror(errno);
        return false;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = path + ": " + std::strerror(errno);
        return false;
    }
    // No sharing: other processes cannot open the line while we hold it.
    (void)::ioctl(fd, TIOCEXCL);

    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        error_ = path + ": not a serial line: " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    setRawTermios(s, t);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        error_ = path + ": cannot set the line: " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    // Raise DTR and RTS; pseudo-terminals have no modem lines and refuse this.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIS, &lines);
    fd_ = fd;
    error_.clear();
    return true;
}

void SerialPort::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closeLocked();
}

void SerialPort::closeLocked() {
    int fd = fd_.exchange(-1);
    if (fd < 0) return;
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIC, &lines);
    (void)::tcflush(fd, TCIOFLUSH);
    // The exclusive mark belongs to the line, not to our descriptor: it would
    // outlive the close while anyone else keeps the line open and refuse every
    // later open, our own reopen included.
    (void)::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

bool SerialPort::isOpen() const {
    return fd_.load() >= 0;
}

long SerialPort::read(char* buffer, std::size_t size, int timeoutMs) {
    int fd = fd_.load();
    if (fd < 0) return -1;
    pollfd p[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    int r = ::poll(p, 2, timeoutMs < 0 ? 0 : timeoutMs);
    if (r < 0) return errno == EINTR ? 0 : -1;
    if (p[1].revents & POLLIN) {
        char drain[16];
        while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
        }
        if (!(p[0].revents & POLLIN)) return 0;
    }
    if (r == 0) return 0;
    if (p[0].revents & POLLIN) {
        ssize_t n = ::read(fd, buffer, size);
        if (n > 0) return static_cast<long>(n);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
        return -1; // end of file: the other side hung up
    }
    if (p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return -1;
    return 0;
}

bool SerialPort::write(const char* data, std::size_t size, int timeoutMs) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int fd = fd_.load();
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        pollfd p{fd, POLLOUT, 0};
        int r = ::poll(&p, 1, timeoutMs);
        if (r <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
    }
    return true;
}

void SerialPort::purge() {
    std::lock_guard<std::mutex> lock(mutex_);
    const int fd = fd_.load();
    if (fd >= 0) (void)::tcflush(fd, TCIOFLUSH);
}

void SerialPort::wake() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (wakePipe_[1] >= 0) {
        char c = 1;
        (void)!::write(wakePipe_[1], &c, 1);
    }
}

} // namespace os
