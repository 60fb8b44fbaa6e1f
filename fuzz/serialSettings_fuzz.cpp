// Fuzz target of the serial settings text ("COM1:4800,N,8,1" and its
// variants): the input (up to a NUL byte) is parsed; settings that parse are
// in range and make a raw line setting, and a refusal says why and changes
// nothing.
#include "os/SerialPort.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <termios.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    os::SerialSettings settings;
    settings.device = "untouched";
    std::string error;
    if (!os::parseSerialSettings(text.c_str(), settings, &error)) {
        fuzzCheck(!error.empty() && settings.device == "untouched" && settings.baud == 4800);
        return 0;
    }
    fuzzCheck(!settings.device.empty() && settings.device.find(':') == std::string::npos);
    fuzzCheck(std::strchr("NOEMS", settings.parity) != nullptr && settings.parity != 0);
    fuzzCheck(settings.dataBits >= 5 && settings.dataBits <= 8);
    fuzzCheck(settings.stopBits == 1 || settings.stopBits == 2);
    fuzzCheck(settings.handshake == 0 || settings.handshake == 'X' || settings.handshake == 'P');
    const std::string path = os::serialDevicePath(settings.device);
    fuzzCheck(path.empty() || path[0] == '/');
    termios t{};
    os::setRawTermios(settings, t);
    fuzzCheck(cfgetospeed(&t) != B0 && cfgetospeed(&t) == cfgetispeed(&t));
    return 0;
}
