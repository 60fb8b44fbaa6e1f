// Fuzz target of the coordinate texts. The input (up to a NUL byte) is read
// as a latitude and as a longitude in each of the six standard formats, and
// as a position sentence. What reads must write back in the same form and
// read again to the same value, to the form's precision.
#include "geo/GeoPoint.h"
#include "geo/crdText.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <string>

namespace {

constexpr std::uint32_t latMax = 0x40000000u, lonMax = 0x80000000u;
constexpr unsigned fractions[6] = {100, 100, 1000, 1000, 10000, 10000};

// Distance of two binary angles around the circle, in units.
std::uint32_t apart(std::int32_t a, std::int32_t b) {
    const std::uint32_t d = static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b);
    return d > 0x80000000u ? 0u - d : d;
}

void readCoordinate(const std::string& text, int f, bool latitude) {
    const char negative = latitude ? 'S' : 'W';
    const std::uint32_t max = latitude ? latMax : lonMax;
    const unsigned fraction = fractions[f];
    std::int32_t value = 0x12345678;
    if (_str2crd(&value, text.c_str(), _apszgpFormat[f], negative, max, 3, 90u, 60u, fraction) !=
        1) {
        fuzzCheck(value == 0x12345678);
        return;
    }
    const std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    fuzzCheck(magnitude <= max);
    char written[256];
    fuzzCheck(_crd2str(value, written, _apszgpFormat[f], latitude ? 0x4E53 : 0x4557, max, 3, 90u,
                       60u, fraction) == written);
    std::int32_t back = 0;
    fuzzCheck(_str2crd(&back, written, _apszgpFormat[f], negative, max, 3, 90u, 60u, fraction) ==
              1);
    // Half of the last printed unit, and the rounding of the field sums.
    const std::uint32_t unit = static_cast<std::uint32_t>(0x40000000ull / (90ull * 60 * fraction));
    fuzzCheck(apart(back, value) <= unit / 2 + 3);
}

void readSentence(const std::string& text) {
    GeoPoint p{1, 2};
    p = text.c_str();
    if (p.lat == GeoUndefined) {
        fuzzCheck(p.lon == GeoUndefined);
        return;
    }
    fuzzCheck(p.lat >= -0x40000000 && p.lat <= 0x40000000);
    char sentence[30];
    fuzzCheck(p.geoToNMEA(sentence) == 1);
    GeoPoint q{0, 0};
    q = sentence;
    // A thousandth of a minute is about 199 units; both ways round.
    fuzzCheck(q.lat != GeoUndefined && apart(q.lat, p.lat) <= 200 && apart(q.lon, p.lon) <= 200);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string cut = text.c_str(); // up to the first NUL
    for (int f = 0; f < 6; ++f) {
        readCoordinate(cut, f, true);
        readCoordinate(cut, f, false);
    }
    readSentence(cut);
    return 0;
}
