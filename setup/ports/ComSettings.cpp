#include "ports/ComSettings.h"

#include <charconv>
#include <cstddef>

namespace {

constexpr std::uint32_t kDefaultBaud = 4800;
constexpr char kDefaultParity = 'N';
constexpr std::uint8_t kDefaultDataBits = 8;
constexpr std::uint8_t kDefaultStopBits = 1;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

// A whole text of decimal digits that fits `out`.
template <typename T> bool parseDigits(std::string_view text, T& out) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

// Data and stop bits: digits starting with 1..9 that fit a byte.
bool parseBits(std::string_view text, std::uint8_t& out) {
    return !text.empty() && text.front() >= '1' && text.front() <= '9' && parseDigits(text, out);
}

bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

// "COMn" or "n" of port n: the port's own device, kept as the default.
bool isOwnDevice(std::string_view device, int n) {
    const std::string number = std::to_string(n);
    return device == number || equalNoCase(device, "COM" + number);
}

template <typename T> void appendNumber(std::string& text, T value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    (void)ec; // 24 characters hold every value used here
    text.append(digits, end);
}

} // namespace

bool ParseComFields(TComPortRec& record, std::string_view baud, std::string_view parity,
                    std::string_view dataBits, std::string_view stopBits) {
    bool repaired = false;

    baud = trimBlanks(baud);
    std::uint32_t rate = 0;
    if (baud.size() >= 4 && parseDigits(baud, rate)) {
        record.Baud = rate;
    } else {
        record.Baud = kDefaultBaud;
        repaired = true;
    }

    parity = trimBlanks(parity);
    if (parity.empty() || isControl(parity.front())) {
        record.Parity = kDefaultParity;
        repaired = true;
    } else {
        record.Parity = upperAscii(parity.front());
        // "None" reads as 'N' and is written back as the letter the
        // navigation program's parser takes.
        repaired = repaired || parity.size() > 1;
    }

    std::uint8_t bits = 0;
    if (parseBits(trimBlanks(dataBits), bits)) {
        record.DataBits = bits;
    } else {
        record.DataBits = kDefaultDataBits;
        repaired = true;
    }
    if (parseBits(trimBlanks(stopBits), bits)) {
        record.StopBits = bits;
    } else {
        record.StopBits = kDefaultStopBits;
        repaired = true;
    }
    return repaired;
}

bool ParseComSettings(TComPorts& ports, int n, std::string_view text, bool enabled) {
    if (n < 1 || n > static_cast<int>(ports.size())) return false;
    TComPortRec& record = ports[static_cast<std::size_t>(n - 1)];
    record.EnabledAtLoad = enabled;
    record.Tail.clear();

    text = trimBlanks(text);
    if (text.empty()) {
        record.Device.clear();
        record.Baud = kDefaultBaud;
        record.Parity = kDefaultParity;
        record.DataBits = kDefaultDataBits;
        record.StopBits = kDefaultStopBits;
        return false;
    }

    bool repaired = false;
    std::string_view device;
    std::string_view rest = text;
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        device = trimBlanks(text.substr(0, colon));
        rest = text.substr(colon + 1);
    }
    if (device.empty() || isOwnDevice(device, n)) {
        record.Device.clear();
        repaired = device.empty();
    } else {
        record.Device = std::string(device);
    }

    // baud, parity, data bits, stop bits; a missing field reads as empty.
    std::string_view fields[4];
    bool more = true;
    for (int i = 0; i < 4 && more; ++i) {
        const std::size_t comma = rest.find(',');
        fields[i] = rest.substr(0, comma);
        more = comma != std::string_view::npos;
        if (more) rest = rest.substr(comma + 1);
    }
    if (more) record.Tail = "," + std::string(rest);
    return ParseComFields(record, fields[0], fields[1], fields[2], fields[3]) || repaired;
}

std::string ComDevice(const TComPortRec& record, int n) {
    return record.Device.empty() ? "COM" + std::to_string(n) : record.Device;
}

std::string FormatComSettings(const TComPorts& ports, int n, bool* enabledAtLoad) {
    if (n < 1 || n > static_cast<int>(ports.size())) return std::string();
    const TComPortRec& record = ports[static_cast<std::size_t>(n - 1)];
    if (enabledAtLoad) *enabledAtLoad = record.EnabledAtLoad;
    std::string text = ComDevice(record, n);
    text += ':';
    appendNumber(text, record.Baud);
    text += ',';
    text += record.Parity;
    text += ',';
    appendNumber(text, static_cast<unsigned>(record.DataBits));
    text += ',';
    appendNumber(text, static_cast<unsigned>(record.StopBits));
    text += record.Tail;
    return text;
}

std::string PadBaud(std::uint32_t baud) {
    std::string text;
    appendNumber(text, baud);
    if (text.size() < 5) text.insert(0, 5 - text.size(), '0');
    return text;
}
