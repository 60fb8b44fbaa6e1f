#include "gdi/Palette.h"

#include <algorithm>

namespace gdi {

Palette::Palette(std::span<const PaletteEntry> entries)
    : entries_(entries.begin(), entries.begin() + std::min<std::size_t>(entries.size(), 65536)) {}

Colour Palette::colourAt(std::size_t index) const {
    if (entries_.empty()) return kBlack;
    const PaletteEntry& e = entries_[index < entries_.size() ? index : 0];
    return rgb(e.red, e.green, e.blue);
}

std::size_t Palette::setEntries(std::size_t start, std::span<const PaletteEntry> entries) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < entries.size() && start + i < entries_.size(); ++i, ++n)
        entries_[start + i] = entries[i];
    return n;
}

std::size_t Palette::animate(std::size_t start, std::span<const PaletteEntry> entries) {
    std::size_t changed = 0;
    for (std::size_t i = 0; i < entries.size() && start + i < entries_.size(); ++i) {
        PaletteEntry& e = entries_[start + i];
        if (!(e.flags & kPaletteReserved)) continue;
        e.red = entries[i].red;
        e.green = entries[i].green;
        e.blue = entries[i].blue;
        ++changed;
    }
    // A listener may remove itself: walk a copy.
    auto listeners = listeners_;
    for (auto& [key, fn] : listeners)
        fn(*this);
    return changed;
}

void Palette::addListener(const void* key, std::function<void(const Palette&)> fn) {
    removeListener(key);
    listeners_.emplace_back(key, std::move(fn));
}

void Palette::removeListener(const void* key) {
    std::erase_if(listeners_, [key](const auto& l) { return l.first == key; });
}

const Palette& Palette::standard() {
    static const PaletteEntry kStatic[20] = {
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
    };
    static const Palette palette{std::span<const PaletteEntry>(kStatic)};
    return palette;
}

} // namespace gdi
