#include "app/ViewerPalette.h"

#include "app/ViewerSettings.h"
#include "graphics/GraphicsLayer.h"
#include "os/privateProfile.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct PaletteTable {
    std::vector<std::array<gdi::Colour, 4>> colours; // per entry, per scheme
    std::vector<bool> defined;                       // the file gives the entry a value
    int scheme = 0;
    std::shared_ptr<gdi::Palette> palette;
};

PaletteTable& table() {
    static PaletteTable t;
    return t;
}

// A key that reads whole as a decimal number 0 to 255; -1 otherwise.
int entryNumber(std::string_view key) {
    if (key.empty() || key.size() > 3) return -1;
    int n = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n <= 255 ? n : -1;
}

// Reads " %d ," style: blanks, an optional sign, digits, blanks; false when no
// digit is there or the number is not 0 to 255.
bool readComponent(std::string_view& text, int& value) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t first = i;
    long n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && n <= 255)
        n = n * 10 + (text[i++] - '0');
    if (i == first) return false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, n = 256; // too many digits
    if (negative) n = -n;
    if (n < 0 || n > 255) return false;
    skipBlanks();
    text.remove_prefix(i);
    value = static_cast<int>(n);
    return true;
}

// One colour " r , g , b "; what follows the third number is ignored.
bool readColour(std::string_view text, gdi::Colour& colour) {
    int rgb[3];
    for (int k = 0; k < 3; ++k) {
        if (!readComponent(text, rgb[k])) return false;
        if (k < 2) {
            if (text.empty() || text.front() != ',') return false;
            text.remove_prefix(1);
        }
    }
    colour = gdi::rgb(std::uint8_t(rgb[0]), std::uint8_t(rgb[1]), std::uint8_t(rgb[2]));
    return true;
}

// The key names of a section, read whole.
std::vector<std::string> sectionKeys(const char* section, const char* file) {
    std::vector<char> buffer(512);
    std::uint32_t n = 0;
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        n = os::getPrivateProfileString(section, nullptr, "", buffer.data(), size, file);
        if (n + 2 < size) break; // a list that did not fit gives size - 2
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> keys;
    for (std::size_t at = 0; at < n;) {
        const std::string key(buffer.data() + at);
        keys.push_back(key);
        at += key.size() + 1;
    }
    return keys;
}

gdi::Colour tableColour(const PaletteTable& t, int index, int scheme) {
    if (index < 0 || index >= static_cast<int>(t.colours.size()) || scheme < 0 || scheme > 3)
        return gdi::kBlack;
    return t.colours[static_cast<std::size_t>(index)][static_cast<std::size_t>(scheme)];
}

gdi::PaletteEntry changeable(gdi::Colour c) {
    return {gdi::redOf(c), gdi::greenOf(c), gdi::blueOf(c), gdi::kPaletteReserved};
}

} // namespace

void LoadPalettes(const char* directory) {
    PaletteTable& t = table();
    t = PaletteTable{};

    std::string file = directory ? directory : "";
    if (!file.empty() && file.back() != '/' && file.back() != '\\') file += '/';
    file += "ECPALETT.INI";
    const char* section = "ECPALETTE";

    std::vector<std::pair<int, std::string>> keys;
    int count = 0;
    for (const std::string& key : sectionKeys(section, file.c_str())) {
        const int n = entryNumber(key);
        if (n < 0) continue;
        keys.emplace_back(n, key);
        count = std::max(count, n + 1);
    }
    if (count == 0) return; // no palette: the program draws with the standard colours

    t.colours.assign(static_cast<std::size_t>(count), {});
    t.defined.assign(static_cast<std::size_t>(count), false);
    for (const auto& [index, key] : keys) {
        const std::string value = ReadProfileText(section, key.c_str(), "", file.c_str());
        if (value.empty()) continue;
        t.defined[static_cast<std::size_t>(index)] = true;
        std::string_view rest = value;
        for (int scheme = 0; scheme < 4; ++scheme) {
            const std::size_t bar = rest.find('|');
            gdi::Colour c;
            if (readColour(rest.substr(0, bar), c))
                t.colours[static_cast<std::size_t>(index)][static_cast<std::size_t>(scheme)] = c;
            if (bar == std::string_view::npos) break;
            rest.remove_prefix(bar + 1);
        }
    }

    std::vector<gdi::PaletteEntry> entries(kFreePaletteEntries);
    FillPaletteEntries(entries);
    t.palette = std::make_shared<gdi::Palette>(entries);
}

void FillPaletteEntries(std::span<gdi::PaletteEntry> entries) {
    const PaletteTable& t = table();
    const int free = std::min<int>(kFreePaletteEntries, static_cast<int>(entries.size()));
    for (int i = 0; i < free; ++i)
        entries[static_cast<std::size_t>(i)] = changeable(gdi::kBlack);
    const int count = static_cast<int>(t.colours.size());
    for (int i = 0; i < std::min(count, free); ++i)
        entries[static_cast<std::size_t>(i)] = changeable(tableColour(t, i, t.scheme));

    // The ranges of chart colours 2, 4, 11 and 0, leaving every entry the file
    // gives a colour of its own.
    const int half = kFreePaletteEntries / 2;
    const struct {
        int first, last, chartColour;
    } ranges[] = {{half - 96, half - 65, 2},
                  {half - 64, half - 33, 4},
                  {half - 32, half - 1, 11},
                  {half, kFreePaletteEntries - 1, 0}};
    for (const auto& r : ranges) {
        const gdi::Colour c =
            tableColour(t, static_cast<int>(_anSp57ColorsMap[r.chartColour]), t.scheme);
        for (int i = std::max(r.first, 0); i <= r.last && i < free; ++i)
            if (i >= count || !t.defined[static_cast<std::size_t>(i)])
                entries[static_cast<std::size_t>(i)] = changeable(c);
    }
}

int SelectPaletteScheme(int scheme) {
    PaletteTable& t = table();
    if (!t.palette || scheme < 0 || scheme > 3) return -1;
    if (scheme == t.scheme) return 0;
    t.scheme = scheme;
    std::vector<gdi::PaletteEntry> entries(kFreePaletteEntries);
    FillPaletteEntries(entries);
    t.palette->animate(0, entries);
    return 0;
}

std::shared_ptr<gdi::Palette> ProgramPalette() {
    return table().palette;
}

int CurrentPaletteScheme() {
    return table().scheme;
}

int PaletteTableCount() {
    return static_cast<int>(table().colours.size());
}

gdi::Colour PaletteTableColour(int index, int scheme) {
    return tableColour(table(), index, scheme);
}
