#include "ChartPalette.h"

#include "graphics/GraphicsLayer.h"
#include "os/codePage.h"
#include "os/drives.h"
#include "os/findNoCase.h"
#include "os/privateProfile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace chartview {

namespace {

constexpr const char* kSection = "ECPALETTE";

// A profile text read whole: the buffer grows until the text fits (key
// lists end in two zeros and report size - 2 when cut, values size - 1).
std::string profileText(const char* key, const std::string& file) {
    std::vector<char> buffer(512);
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t n =
            os::getPrivateProfileString(kSection, key, "", buffer.data(), size, file.c_str());
        if (n < size - 2) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

// A key that is a palette entry: decimal digits only, 0 to 255.
int entryNumber(std::string_view key) {
    if (key.empty() || key.size() > 3) return -1;
    int n = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n <= 255 ? n : -1;
}

PaletteColour colourOf(const std::string& part) {
    int r = -1, g = -1, b = -1;
    PaletteColour c;
    if (std::sscanf(part.c_str(), " %d , %d , %d ", &r, &g, &b) == 3 && r >= 0 && r <= 255 &&
        g >= 0 && g <= 255 && b >= 0 && b <= 255)
        c = {true, static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
             static_cast<std::uint8_t>(b)};
    return c;
}

} // namespace

PaletteFile readPaletteFile(const std::string& path) {
    bool exact = false;
    const std::string file = os::utf8ToCp1252(path, &exact);
    if (!exact) throw std::runtime_error("the palette file's name cannot be read: " + path);
    // The reader finds the file without regard to case, as the program does.
    const std::string found = os::findNoCase(os::localPath(file));
    std::error_code ec;
    if (found.empty() || !std::filesystem::is_regular_file(found, ec) || !std::ifstream(found))
        throw std::runtime_error("cannot read the palette file " + path);

    const std::string keys = profileText(nullptr, file);
    int largest = -1;
    for (std::size_t at = 0; at < keys.size();) {
        const std::size_t end = keys.find('\0', at);
        const int n = entryNumber(std::string_view(keys).substr(at, end - at));
        if (n > largest) largest = n;
        at = end == std::string::npos ? keys.size() : end + 1;
    }
    if (largest < 0)
        throw std::runtime_error("the palette file " + path + " has no numbered keys in [" +
                                 kSection + "]");

    PaletteFile out;
    out.entries.resize(largest < kFreePaletteEntries ? largest + 1 : kFreePaletteEntries);
    for (std::size_t i = 0; i < out.entries.size(); ++i) {
        const std::string value = profileText(std::to_string(i).c_str(), file);
        std::size_t at = 0;
        for (int scheme = 0; scheme < 4 && at <= value.size(); ++scheme) {
            const std::size_t bar = value.find('|', at);
            const std::size_t end = bar == std::string::npos ? value.size() : bar;
            out.entries[i][scheme] = colourOf(value.substr(at, end - at));
            at = end + 1;
        }
    }
    return out;
}

std::vector<gdi::PaletteEntry> paletteEntries(const PaletteFile& file, int scheme) {
    const int s = scheme >= 0 && scheme < 4 ? scheme : 0;
    auto colourOfEntry = [&](std::size_t i) {
        const PaletteColour c = i < file.entries.size() ? file.entries[i][s] : PaletteColour{};
        return gdi::PaletteEntry{c.red, c.green, c.blue, gdi::kPaletteReserved};
    };
    auto defined = [&](std::size_t i) {
        return i < file.entries.size() && file.entries[i][s].defined;
    };

    std::vector<gdi::PaletteEntry> entries(kFreePaletteEntries,
                                           gdi::PaletteEntry{0, 0, 0, gdi::kPaletteReserved});
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = colourOfEntry(i);
    // The animation ranges, from half - 96 to the end in four pieces; they
    // leave every entry the file colours alone.
    const int half = kFreePaletteEntries / 2;
    const struct {
        int first, last, chartColour;
    } ranges[] = {{half - 96, half - 65, 2},
                  {half - 64, half - 33, 4},
                  {half - 32, half - 1, 11},
                  {half, kFreePaletteEntries - 1, 0}};
    for (const auto& r : ranges) {
        const gdi::PaletteEntry fill = colourOfEntry(_anSp57ColorsMap[r.chartColour]);
        for (int i = r.first; i <= r.last; ++i)
            if (!defined(static_cast<std::size_t>(i))) entries[static_cast<std::size_t>(i)] = fill;
    }
    return entries;
}

std::shared_ptr<gdi::Palette> makePalette(const PaletteFile& file, int scheme) {
    const std::vector<gdi::PaletteEntry> entries = paletteEntries(file, scheme);
    return std::make_shared<gdi::Palette>(entries);
}

} // namespace chartview
