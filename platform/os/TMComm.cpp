#include "os/TMComm.h"

#include "os/SerialPort.h"

#include <array>
#include <cctype>
#include <memory>
#include <string>

namespace {

constexpr int kMaxHandle = 999;
constexpr std::size_t kBufferSize = 257;
constexpr std::size_t kMaxRead = 256;

// Slot n holds the port of handle n; slot 0 stays empty.
std::array<std::unique_ptr<os::SerialPort>, kMaxHandle + 1>& ports() {
    static auto* table = new std::array<std::unique_ptr<os::SerialPort>, kMaxHandle + 1>;
    return *table;
}

// The settings without a trailing fifth field "X" (the only field after the
// stop bits that the setup program writes).
std::string withoutHandshakeX(std::string text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return text;
    int commas = 0;
    for (std::size_t i = colon; i < text.size(); ++i)
        commas += text[i] == ',';
    const std::size_t last = text.rfind(',');
    if (commas != 4) return text;
    std::string field = text.substr(last + 1);
    while (!field.empty() && std::isspace(static_cast<unsigned char>(field.back())))
        field.pop_back();
    while (!field.empty() && std::isspace(static_cast<unsigned char>(field.front())))
        field.erase(field.begin());
    if (field == "X" || field == "x") text.erase(last);
    return text;
}

// The handle named by the NUL-ended decimal text at the start of buffer; 0
// when it is not 1 to 999 written in digits only.
int handleOf(const char* buffer) {
    int handle = 0;
    std::size_t i = 0;
    for (; i < kBufferSize && buffer[i] != '\0'; ++i) {
        if (buffer[i] < '0' || buffer[i] > '9' || i >= 3) return 0;
        handle = handle * 10 + (buffer[i] - '0');
    }
    return i < kBufferSize ? handle : 0;
}

} // namespace

std::int32_t TMOpenComm(const char* settings) {
    if (!settings) return 0;
    auto& table = ports();
    int handle = 1;
    while (handle <= kMaxHandle && table[static_cast<std::size_t>(handle)])
        ++handle;
    if (handle > kMaxHandle) return 0;
    auto port = std::make_unique<os::SerialPort>();
    if (!port->open(withoutHandshakeX(settings))) return 0;
    table[static_cast<std::size_t>(handle)] = std::move(port);
    return handle;
}

std::int32_t TMReadComm(char* buffer) {
    if (!buffer) return -1;
    const int handle = handleOf(buffer);
    if (handle < 1) return -1;
    const auto& port = ports()[static_cast<std::size_t>(handle)];
    if (!port) return -1;
    return static_cast<std::int32_t>(port->read(buffer, kMaxRead, 0));
}

std::int32_t TMCloseComm(std::int32_t handle) {
    if (handle < 1 || handle > kMaxHandle) return 0;
    auto& port = ports()[static_cast<std::size_t>(handle)];
    if (!port) return 0;
    port.reset();
    return 1;
}
