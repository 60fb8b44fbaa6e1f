// Fuzz target of the NMEA input. Byte 0 chooses the port (modulo 6) and the
// position source (divided by 6, modulo 4); byte 1 seeds the sizes of the
// reads; the rest is the text the port receives. It is handed to the port's
// read buffer and ParseNmeaBuffer in reads of 1 to 80 bytes, as a serial line
// delivers them, starting from a fresh navigation state each time. Fixes set
// a stand-in clock that checks every time it is given.
#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"
#include "os/Clock.h"

#include "fuzzFiles.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// A clock that never moves and checks every time a fix sets.
class CheckingClock : public os::Clock {
  public:
    os::SystemTime now() override { return os::SystemTime{2026, 6, 15, 12, 0, 0, 0}; }
    bool set(const os::SystemTime& t) override {
        fuzzCheck(os::isValidSystemTime(t));
        return true;
    }
};

void checkState(const NavShared& s) {
    const NavState& nav = s.nav;
    fuzzCheck(std::isfinite(nav.latitude) && std::fabs(nav.latitude) <= 90);
    fuzzCheck(std::isfinite(nav.longitude) && std::fabs(nav.longitude) <= 181);
    fuzzCheck(nav.courseOverGround >= 0 && nav.courseOverGround <= 360);
    fuzzCheck(std::isfinite(nav.speedOverGround));
    fuzzCheck(nav.depth >= 0 && nav.depth <= 11000);
    fuzzCheck(!std::isnan(nav.windDirection) && !std::isnan(nav.windSpeed));
    fuzzCheck(s.outputPort >= -1 && s.outputPort < kNmeaPortCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static CheckingClock clock;
    SetNavClock(&clock);
    const int port = data[0] % kNmeaPortCount;
    UpdateNavShared([&](NavShared& s) {
        s = NavShared();
        s.positionSource = (data[0] / kNmeaPortCount) % 4;
    });
    NmeaPortState& p = *NmeaPort(port);
    p = NmeaPortState();

    std::uint32_t sizes = data[1] * 2654435761u + 1;
    for (std::size_t at = 2; at < size;) {
        sizes = sizes * 1664525u + 1013904223u;
        std::size_t n = 1 + (sizes >> 24) % kNmeaReadBufferSize;
        if (n > size - at) n = size - at;
        std::memcpy(p.readBuffer, data + at, n);
        p.readCount = static_cast<std::uint32_t>(n);
        const int result = ParseNmeaBuffer(port);
        fuzzCheck(result == 0 || result == 1);
        fuzzCheck(p.readCount == 0);
        fuzzCheck(p.position >= 0 && p.position <= kNmeaSentenceMax);
        fuzzCheck(std::strlen(p.sentence) <= static_cast<std::size_t>(kNmeaSentenceMax));
        at += n;
    }
    checkState(NavSnapshot());
    return 0;
}
