// A logical palette: colours that drawing names by index (see Colour.h).
//
// Device contexts resolve palette-index colours through the palette selected
// into them when they draw. Pictures here are true-colour images, so a change
// of entries does not recolour pixels already drawn: `animate` tells the
// palette's listeners, and the owner of a picture redraws it.
#pragma once

#include "gdi/Colour.h"

#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace gdi {

// Entry flag: the entry may be changed by `animate`.
inline constexpr std::uint8_t kPaletteReserved = 0x01;

struct PaletteEntry {
    std::uint8_t red = 0, green = 0, blue = 0;
    std::uint8_t flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

class Palette {
  public:
    // At most 65536 entries are kept; an empty palette resolves every index to black.
    explicit Palette(std::span<const PaletteEntry> entries);
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    std::size_t size() const { return entries_.size(); }
    const PaletteEntry& entry(std::size_t i) const { return entries_[i]; }

    // The colour of entry `index`; an index past the end gives entry 0.
    Colour colourAt(std::size_t index) const;

    // Replaces entries start .. start + n - 1 (clipped to the palette); returns how
    // many were set. Listeners are not told: pictures keep their pixels.
    std::size_t setEntries(std::size_t start, std::span<const PaletteEntry> entries);

    // Replaces those of entries start .. start + n - 1 that are marked reserved,
    // keeping their flags, then tells every listener so that what is shown can be
    // redrawn at once. Returns how many entries changed.
    std::size_t animate(std::size_t start, std::span<const PaletteEntry> entries);

    // Listeners are called after `animate`, with this palette. The key removes it.
    void addListener(const void* key, std::function<void(const Palette&)> fn);
    void removeListener(const void* key);

    // The palette a device context uses when none is selected: the twenty static
    // colours of a palette display (entries 0 to 9 and 246 to 255 of the system
    // palette, as indices 0 to 19).
    static const Palette& standard();

  private:
    std::vector<PaletteEntry> entries_;
    std::vector<std::pair<const void*, std::function<void(const Palette&)>>> listeners_;
};

} // namespace gdi
