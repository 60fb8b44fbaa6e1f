#include "chart/LightAnimation.h"

#include "gdb/GdbObject.h"
#include "gdi/Dc.h"
#include "procedures/AttributeReads.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr unsigned kLightCode = 86;
constexpr unsigned kCharacterAttr = 58, kColourAttr = 59, kGroupAttr = 72, kPeriodAttr = 86,
                   kSectorStartAttr = 100, kSectorEndAttr = 101;
constexpr std::uint32_t kLightClasses[] = {kLightCode};

// Whole tenths read as floats are held within this, so a float of another
// database cannot overflow the conversion.
constexpr float kLargestTenths = 1000000;

constexpr int kFullTurn = 3600; // tenths of a degree

// The mark's box and the pixels its erase copies back.
constexpr int kMarkLeft = 4, kMarkTop = 5, kMarkRight = 5, kMarkBottom = 4;
constexpr int kEraseLeft = 7, kEraseTop = 8, kEraseSize = 15;

// The rhythm tables, class after class, phase 0 first; ten phases a line.
// clang-format off
constexpr std::uint8_t kRhythms[] = {
    // class 0, 10 phases
    0x00, 0x08, 0x04, 0x8e, 0x22, 0xeb, 0x0f, 0xdf, 0x3f, 0xff,
    // class 1, 15 phases
    0x00, 0x00, 0x0c, 0x0e, 0x02, 0x42, 0x4e, 0x0f, 0x87, 0x67,
    0xef, 0x1f, 0x9f, 0x7f, 0xff,
    // class 2, 20 phases
    0x00, 0x00, 0x08, 0x0c, 0x04, 0x06, 0x0a, 0x0a, 0x02, 0x06,
    0x4f, 0x6f, 0x2f, 0xaf, 0x4f, 0xdf, 0x1f, 0xbf, 0x7f, 0xff,
    // class 3, 25 phases
    0x00, 0x00, 0x08, 0x0c, 0x04, 0x06, 0x0a, 0x0a, 0x02, 0x06,
    0x0e, 0xce, 0xcf, 0x6f, 0x2f, 0xaf, 0xef, 0x4f, 0x4f, 0x8f,
    0x9f, 0x3f, 0x7f, 0xff, 0xff,
    // class 4, 30 phases
    0x00, 0x00, 0x00, 0x08, 0x0c, 0x0c, 0x06, 0x06, 0x02, 0x0a,
    0x0a, 0x0a, 0x06, 0x06, 0x06, 0x4f, 0xcf, 0xcf, 0x2f, 0x2f,
    0xaf, 0xef, 0x4f, 0x4f, 0x9f, 0x9f, 0x3f, 0x7f, 0xff, 0xff,
    // class 5, 40 phases
    0x00, 0x00, 0x00, 0x08, 0x08, 0x0c, 0x04, 0x04, 0x06, 0x0e,
    0x0a, 0x0a, 0x02, 0x02, 0x02, 0x0e, 0x0e, 0x0e, 0x0e, 0x8e,
    0xcf, 0xcf, 0x4f, 0x4f, 0x0f, 0xaf, 0xaf, 0xaf, 0x6f, 0x6f,
    0x4f, 0xcf, 0x8f, 0x9f, 0x1f, 0x3f, 0x7f, 0xff, 0xff, 0xff,
    // class 6, 50 phases
    0x00, 0x00, 0x00, 0x00, 0x08, 0x0c, 0x0c, 0x0c, 0x04, 0x06,
    0x02, 0x02, 0x0a, 0x0a, 0x0a, 0x0e, 0x06, 0x06, 0x06, 0x06,
    0x0e, 0x0e, 0x0e, 0x0e, 0x0e, 0x4f, 0x4f, 0x4f, 0x4f, 0xcf,
    0x8f, 0x8f, 0x2f, 0x2f, 0x2f, 0xef, 0xef, 0xef, 0x4f, 0x4f,
    0x1f, 0x9f, 0x9f, 0x9f, 0x3f, 0x7f, 0x7f, 0xff, 0xff, 0xff,
    // class 7, 60 phases
    0x00, 0x00, 0x01, 0x08, 0x08, 0x01, 0x00, 0x00, 0x09, 0x08,
    0x00, 0x01, 0x00, 0x0c, 0x09, 0x00, 0x06, 0x01, 0x28, 0x2e,
    0x01, 0x00, 0x00, 0x39, 0x38, 0x00, 0xc1, 0xc0, 0x38, 0x39,
    0xc0, 0xc0, 0x01, 0x08, 0xc8, 0xc5, 0x00, 0x06, 0xc9, 0xce,
    0x00, 0x01, 0xc0, 0xc8, 0x09, 0x00, 0xc0, 0xc1, 0x28, 0x28,
    0xc1, 0xc0, 0x40, 0x79, 0xf8, 0xc4, 0x41, 0x46, 0xf8, 0xff,
};
// clang-format on

constexpr int periodSum() {
    int sum = 0;
    for (int p : kRhythmPeriods)
        sum += p;
    return sum;
}
static_assert(sizeof kRhythms == periodSum());

// Whole tenths from a value read as a float.
std::int32_t wholeTenths(float value) {
    return static_cast<std::int32_t>(std::clamp(value, -kLargestTenths, kLargestTenths));
}

// The rhythm class of a signal period (tenths of a second).
std::uint8_t classOfPeriod(std::int32_t period) {
    constexpr struct {
        std::int32_t upTo;
        std::uint8_t rhythmClass;
    } bands[] = {
        {9, kNoRhythmClass}, {25, 0}, {35, 1}, {45, 2}, {55, 3}, {69, 4}, {89, 5}, {150, 6}};
    for (const auto& b : bands)
        if (period <= b.upTo) return b.rhythmClass;
    return kNoRhythmClass;
}

// A mark's pen by its colour code.
const gdi::Pen& markPen(const TMapPens& pens, std::uint8_t colourCode) {
    const TMapPen role = colourCode == 3   ? TMapPen::Mark2
                         : colourCode == 4 ? TMapPen::Mark4
                                           : TMapPen::Mark11;
    return pens[static_cast<std::size_t>(role)];
}

} // namespace

TLightAnimation& LightAnimation() {
    static TLightAnimation animation;
    return animation;
}

std::span<const std::uint8_t> RhythmTable(int rhythmClass) {
    if (rhythmClass < 0 || rhythmClass >= kRhythmClassCount) return {};
    std::size_t start = 0;
    for (int k = 0; k < rhythmClass; ++k)
        start += std::size_t(kRhythmPeriods[std::size_t(k)]);
    return {kRhythms + start, std::size_t(kRhythmPeriods[std::size_t(rhythmClass)])};
}

int SignalGroupDigit(const char* text) {
    if (!text || text[0] == 0) return 0;
    const char c = text[1];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

TLightAttributes ReadLightAttributes(GdbObject& object) {
    TLightAttributes a;
    AttrFirstOfList(&object, kColourAttr, a.colourCode);
    float value = 0;
    if (AttrFloat(&object, kSectorStartAttr, value)) a.sectorStart = wholeTenths(value);
    if (AttrFloat(&object, kSectorEndAttr, value)) a.sectorEnd = wholeTenths(value) - 1;
    char* group = nullptr;
    if (AttrText(&object, kGroupAttr, group)) a.group = SignalGroupDigit(group);
    if (AttrFloat(&object, kPeriodAttr, value)) a.period = wholeTenths(value);
    unsigned character = 0;
    if (AttrByte(&object, kCharacterAttr, character)) a.character = character;
    return a;
}

TLightEntry LightEntryOf(const TLightAttributes& a) {
    TLightEntry e;
    e.colourCode = static_cast<std::uint8_t>(a.colourCode);
    e.sectorStart = a.sectorStart;
    e.sectorEnd = a.sectorEnd;
    const bool periodic = a.period.has_value();
    std::uint8_t k = periodic ? classOfPeriod(*a.period) : kNoRhythmClass;
    std::uint8_t bits = 0;
    const int g = a.group;
    // Without a character the class of the period stays, with no bits.
    if (a.character) {
        switch (*a.character) {
        case 2:
        case 3:
            bits = 16;
            if (!periodic) k = 4;
            if (g == 2)
                bits = 32;
            else if (g == 3)
                bits = 64;
            else if (g == 4)
                bits = 128;
            else if (g > 4)
                k = kNoRhythmClass;
            break;
        case 4:
            if (g == 2 && k < 3) {
                bits = 32;
            } else if (g == 3 && k < 4) {
                bits = 64;
            } else if (g == 4) {
                if (!periodic) k = 6;
                bits = 128;
            } else {
                k = 7;
                bits = g == 2 ? 16 : g == 3 ? 32 : g == 9 ? 128 : 8;
            }
            break;
        case 5:
            if (g == 2 && k < 2) {
                bits = 32;
            } else if (g == 3 && k < 2) {
                bits = 64;
            } else if (g == 4) {
                if (!periodic) k = 2;
                bits = 128;
            } else {
                k = 7;
                bits = g == 2 ? 2 : g == 3 ? 4 : g == 9 ? 128 : 1;
            }
            break;
        case 7:
            bits = 1;
            if (!periodic) k = 4;
            break;
        case 8:
            bits = 2;
            if (!periodic) k = 4;
            if (g == 2)
                bits = 4;
            else if (g == 3)
                bits = 8;
            else if (g > 3)
                k = kNoRhythmClass;
            break;
        case 25:
        case 26:
            if (g == 6) {
                k = 7;
                bits = 64;
            } else {
                k = kNoRhythmClass;
            }
            break;
        default:
            k = kNoRhythmClass;
            break;
        }
    }
    e.rhythmClass = k;
    e.rhythmBits = bits;
    return e;
}

bool AddLight(TLightAnimation& animation, const TLightEntry& entry) {
    if (entry.rhythmClass >= kNoRhythmClass) return true;
    if (animation.count >= kLightTableMax) {
        animation.count = 0;
        return false;
    }
    animation.entries[std::size_t(animation.count++)] = entry;
    return true;
}

void ClearLightTable(TLightAnimation& animation) {
    animation.entries.fill(TLightEntry{});
    animation.count = 0;
}

TGdbFormula LightQueryFormula(std::uint32_t displayMaskA) {
    return {0, displayMaskA, 0xFFFFFFFFu, 2, 1, 1, 1, kLightClasses, 0, nullptr, 0};
}

bool LightLitAt(const TLightEntry& entry,
                const std::array<std::uint8_t, kRhythmClassCount>& phases) {
    const std::span<const std::uint8_t> table = RhythmTable(entry.rhythmClass);
    if (table.empty()) return false;
    const std::size_t phase = phases[entry.rhythmClass];
    return phase < table.size() && (table[phase] & entry.rhythmBits) != 0;
}

int CompassBearingTenths(const ClientPoint& from, const ClientPoint& to) {
    const double east = double(to.x) - from.x, north = double(from.y) - to.y;
    const double degrees = std::atan2(east, north) * 180 / std::numbers::pi;
    int tenths = static_cast<int>(std::nearbyint(degrees * 10)) % kFullTurn;
    if (tenths < 0) tenths += kFullTurn;
    return tenths;
}

bool BearingInSector(int bearing, std::int32_t start, std::int32_t end) {
    if (start == 0 && end == 0) return true;
    std::int64_t a = bearing, e = end;
    if (e < start) {
        e += kFullTurn;
        if (a < start) a += kFullTurn;
    }
    return start <= a && a <= e;
}

void StepLights(TLightAnimation& animation, const ClientPoint& ship, gdi::Dc& window,
                gdi::Dc* picture1, const ui::TRect& client, const TMapPens& pens) {
    const int count = std::clamp(animation.count, 0, kLightTableMax);
    for (int i = 0; i < count; ++i) {
        TLightEntry& e = animation.entries[std::size_t(i)];
        const std::uint8_t lit = LightLitAt(e, animation.phases) ? 1 : 0;
        if (lit == e.lit) continue;
        if (lit) {
            const ClientPoint light{e.x, e.y};
            if (ship == light || ship == ClientPoint{0, 0}) continue;
            if (BearingInSector(CompassBearingTenths(ship, light), e.sectorStart, e.sectorEnd)) {
                DrawLightMark(window, e, client, pens);
                e.drawn = 1;
            }
        } else if (e.drawn) {
            if (picture1) EraseLightMark(window, *picture1, e);
            e.drawn = 0;
        }
        e.lit = lit;
    }
    for (std::size_t k = 0; k < animation.phases.size(); ++k)
        if (++animation.phases[k] >= kRhythmPeriods[k]) animation.phases[k] = 0;
}

void DrawLightMark(gdi::Dc& dc, const TLightEntry& e, const ui::TRect& client,
                   const TMapPens& pens) {
    if (e.x < client.left || e.x >= client.right || e.y < client.top || e.y >= client.bottom)
        return;
    const gdi::Mapping mapping = dc.setMapping(gdi::Mapping{});
    const gdi::Pen pen = dc.setPen(markPen(pens, e.colourCode));
    const gdi::Brush brush = dc.setBrush(gdi::Brush::null());
    const gdi::Rop2 rop = dc.setRop2(gdi::Rop2::Copy);
    dc.ellipse(e.x - kMarkLeft, e.y - kMarkTop, e.x + kMarkRight, e.y + kMarkBottom);
    dc.setRop2(rop);
    dc.setBrush(brush);
    dc.setPen(pen);
    dc.setMapping(mapping);
}

void EraseLightMark(gdi::Dc& dc, gdi::Dc& picture1, const TLightEntry& e) {
    const gdi::Mapping mapping = dc.setMapping(gdi::Mapping{});
    const gdi::Mapping source = picture1.setMapping(gdi::Mapping{});
    dc.blit(e.x - kEraseLeft, e.y - kEraseTop, kEraseSize, kEraseSize, picture1, e.x - kEraseLeft,
            e.y - kEraseTop, gdi::BlitOp::Copy);
    picture1.setMapping(source);
    dc.setMapping(mapping);
}
