#include "procedures/LineElementTemplates.h"

#include <cstring>

namespace {

constexpr TLineMarker stroke(std::uint16_t pattern, std::int16_t width) {
    return TLineMarker{kMarkerStroke,
                       kMarkerToVertex,
                       0,
                       static_cast<std::uint8_t>(pattern & 0xFF),
                       static_cast<std::int8_t>(pattern >> 8),
                       1,
                       width,
                       nullptr};
}

// Stroke-font glyph k (1 to 25) of template 8 + k.
constexpr TLineMarker strokeGlyph(int k) {
    std::uint8_t flags = 0;
    std::int16_t size = 1;
    switch (k + 8) {
    case 11:
    case 12:
    case 13:
    case 29:
    case 30:
        flags = kMarkerSizedStep;
        size = 4;
        break;
    case 14:
    case 17:
    case 19:
    case 20:
        flags = kMarkerToVertex | kMarkerSizedLength;
        break;
    case 15:
    case 33:
        flags = kMarkerToVertex;
        size = 4;
        break;
    case 16:
    case 18:
    case 31:
        size = 4;
        break;
    default:
        break;
    }
    return TLineMarker{kMarkerGlyph, flags, 0, static_cast<std::uint8_t>(k), 36, 1, size, nullptr};
}

constexpr TLineMarker glyph34(std::uint8_t colour, std::uint8_t character) {
    return TLineMarker{kMarkerGlyph, 6, colour, character, 34, 1, 1, nullptr};
}

constexpr std::array<TLineMarker, kLineElementTemplateCount> initialTemplates() {
    std::array<TLineMarker, kLineElementTemplateCount> t{};
    t[0] = stroke(0, 1);
    t[1] = stroke(0, 3);
    t[2] = stroke(0x0F0F, 1);
    t[3] = stroke(0x3333, 1);
    t[4] = stroke(0x5555, 1);
    t[5] = stroke(0x0F0F, 3);
    t[6] = TLineMarker{kMarkerGap, kMarkerToVertex, 0, 0, 0, 1, 1, nullptr};
    t[7] = TLineMarker{kMarkerText, 6, 0, 0, -1, 0, 0, nullptr};
    t[8] = TLineMarker{kMarkerText, 6, 0, 0, 0, 0, 0, nullptr};
    for (int k = 1; k <= 25; ++k)
        t[static_cast<std::size_t>(8 + k)] = strokeGlyph(k);
    t[34] = glyph34(14, 5);
    t[35] = glyph34(14, 11);
    t[36] = glyph34(14, 6);
    t[37] = glyph34(14, 7);
    t[38] = glyph34(0, 7);
    t[39] = glyph34(14, 8);
    t[40] = glyph34(14, 12);
    t[41] = glyph34(2, 13);
    t[42] = glyph34(2, 9);
    t[43] = glyph34(2, 10);
    t[44] = glyph34(2, 16);
    t[45] = TLineMarker{kMarkerUpright, 0, 0, 7, 35, 1, 1, nullptr};
    return t;
}

constexpr std::array<TLineMarker, kLineElementTemplateCount> kInitialTemplates = initialTemplates();

} // namespace

// Constant-initialised: filled before any code of the library runs.
std::array<TLineMarker, kLineElementTemplateCount> LineElementTemplates = kInitialTemplates;

void RestoreLineElementTemplates() {
    LineElementTemplates = kInitialTemplates;
}

TemplateText::TemplateText(TLineMarker& element, char* text) : element_(element) {
    const std::size_t n = text ? std::strlen(text) : 0;
    element_.character = static_cast<std::uint8_t>(n > 255 ? 255 : n);
    element_.text = text;
}

TemplateText::~TemplateText() {
    element_.character = 0;
    element_.text = nullptr;
}

TemplateFlags::TemplateFlags(TLineMarker& element, std::uint8_t flags)
    : element_(element), saved_(element.flags) {
    element_.flags = flags;
}

TemplateFlags::~TemplateFlags() {
    element_.flags = saved_;
}
