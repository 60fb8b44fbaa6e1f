// Fuzz target of the tide data files, driven as the navigation program drives
// the tide library. The input is a date and the three files:
//   u8 day, u8 month, i16 year (little-endian), u16 length of td_num.ntx,
//   u16 length of td_crd.ntx, then td_num.ntx, td_crd.ntx and, as the rest,
//   td_pnte.dat (lengths beyond the input are cut to what is there).
// The files are written into a scratch folder and loaded; every port is
// listed and its curve computed for the date in steps of 0.3 hours.
#include "TideWave.h"

#include "fuzzFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void checkTime(const t_time& t) {
    fuzzCheck((t.hour == -1 && t.minute == 0) ||
              (t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    const char day = static_cast<char>(data[0]), month = static_cast<char>(data[1]);
    const short year = static_cast<short>(u16(data + 2));
    std::size_t at = 8;
    const std::size_t numLength = std::min<std::size_t>(u16(data + 4), size - at);
    const std::size_t crdLength = std::min<std::size_t>(u16(data + 6), size - at - numLength);
    static const std::string folder = fuzzFolder() + "/";
    writeFuzzFile(folder + "td_num.ntx", data + at, numLength);
    at += numLength;
    writeFuzzFile(folder + "td_crd.ntx", data + at, crdLength);
    at += crdLength;
    writeFuzzFile(folder + "td_pnte.dat", data + at, size - at);

    std::string dir = folder;
    if (TD_LoadDataFiles(dir.data()) != 0) {
        fuzzCheck(TD_GetNumPorts() == 0);
        return 0;
    }
    const int ports = TD_GetNumPorts();
    fuzzCheck(ports >= 0 && ports <= 65535);
    IndexFileStruct point{};
    fuzzCheck(TD_GetTidePoint(ports, &point) == -1 && TD_GetTidePoint(-1, &point) == -1);
    for (int i = 0; i < ports; ++i) {
        fuzzCheck(TD_GetTidePoint(i, &point) == 0);
        TideWave wave(point.lat, point.lon, dir.data(), nullptr);
        if (wave.Calculate(0.3, day, month, year) != 0) continue;
        const short n = wave.GetNumPoints();
        fuzzCheck(n == 81);
        for (short k = 0; k < n; ++k)
            fuzzCheck(std::isfinite(wave.GetPoint(k)));
        short index = -1;
        const float high = wave.GetMaxValue(index);
        fuzzCheck(index >= 0 && index < n && high == wave.GetPoint(index));
        const float low = wave.GetMinValue(index);
        fuzzCheck(index >= 0 && index < n && low == wave.GetPoint(index) && low <= high);
        t_time t{};
        wave.GetSunRize(t);
        checkTime(t);
        wave.GetSunSet(t);
        checkTime(t);
        wave.GetBeginTwilight(t);
        checkTime(t);
        wave.GetEndTwilight(t);
        checkTime(t);
        char name[80] = {};
        wave.GetPortName(name);
        fuzzCheck(name[40] == 0);
    }
    TD_DoneTides();
    fuzzCheck(TD_GetNumPorts() == 0);
    return 0;
}
