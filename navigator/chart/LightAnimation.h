// The light flash animation of the chart window: the lights of the view are
// collected into a table when the view is re-scaled or re-centred
// (TMapWindow::RebuildLightTable), and every second timer tick (200 ms)
// each light's mark is switched on and off on the window from eight phase
// counters and eight rhythm tables, where own ship lies inside the light's
// sector (TMapWindow::StepLightAnimation). The own-ship overlay draws the
// marks that are on again on its working copy (TMapWindow::DrawLitLightMarks).
//
// A light's rhythm class (0 to 7) chooses a rhythm table of one byte per
// phase and its period of 10 to 60 steps (2 s to 12 s); the light is lit
// at a phase when the table's byte and the light's rhythm bits have a bit in
// common. Class and bits come from the light's signal period (attribute 86,
// tenths of a second), its character (58) and its signal group (72).
//
// Sectors are compass bearings in tenths of a degree from seaward toward the
// light, start <= bearing <= end, wrapping past north when end < start; 0 and
// 0 is all round. The bearing tested is the one from own ship to the light,
// measured on the window (client pixels, north up).
//
//   TLightAttributes a;                 // character 2, no group, 2 s
//   a.character = 2;
//   a.period = 20;
//   const TLightEntry e = LightEntryOf(a);       // class 0, bits 16
//   StepLights(LightAnimation(), ship, windowDc, picture1, client, pens);
#pragma once

#include "chart/ChartFrames.h"
#include "chart/MapWindowPens.h"
#include "gdb/TGdbFormula.h"
#include "ui/Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace gdi {
class Dc;
}
class GdbObject;

// A light's rhythm class when it has none (such lights are not kept).
inline constexpr std::uint8_t kNoRhythmClass = 9;
inline constexpr int kRhythmClassCount = 8;
// The table keeps at most this many lights; it has room for two more.
inline constexpr int kLightTableMax = 498, kLightTableRoom = 500;
// Periods of the rhythm classes, in steps of the timer's 200 ms.
inline constexpr std::array<int, kRhythmClassCount> kRhythmPeriods = {10, 15, 20, 25,
                                                                      30, 40, 50, 60};

// One light of the table.
struct TLightEntry {
    std::uint8_t drawn = 0; // its mark is on the window
    std::uint8_t lit = 0;   // the rhythm state at the last step: 1 lit, 0 dark
    // Sector limits, tenths of a degree (0 and 0: no sector, all round).
    std::int32_t sectorStart = 0, sectorEnd = 0;
    std::uint8_t rhythmClass = kNoRhythmClass; // 0 to 7, or kNoRhythmClass
    std::uint8_t colourCode = 0;               // the first colour of the light
    std::uint8_t rhythmBits = 0;
    std::int32_t x = 0, y = 0; // the light's point, client pixels
};

// The program-wide state of the animation: the table with its count, and
// the phase counters (counter k runs from 0 to kRhythmPeriods[k] - 1).
struct TLightAnimation {
    std::array<TLightEntry, kLightTableRoom> entries{};
    int count = 0;
    std::array<std::uint8_t, kRhythmClassCount> phases{};
};
TLightAnimation& LightAnimation();

// The rhythm table of a class 0 to 7 (kRhythmPeriods[class] bytes, phase 0
// first); empty for any other class.
std::span<const std::uint8_t> RhythmTable(int rhythmClass);

// --- From a chart object to an entry ---

// What a light's entry is made of, as read from the object.
struct TLightAttributes {
    unsigned colourCode = 0;            // first value of 59; 0 for an empty list
    std::int32_t sectorStart = 0;       // 100, tenths of a degree; 0 when absent
    std::int32_t sectorEnd = 0;         // 101 - 1; 0 when absent
    int group = 0;                      // the digit of 72 (see SignalGroupDigit)
    std::optional<std::int32_t> period; // 86 as a whole number, tenths of a second
    std::optional<unsigned> character;  // 58
};

// The group digit of a signal group text: its second character when that is
// a digit ("(2)" gives 2), else 0 (a text shorter than two characters,
// "(+)", a null text).
int SignalGroupDigit(const char* text);

// Reads a light's attributes through the engine's attribute reads. Periods
// and sector limits are stored as whole tenths; a value read as a float is
// truncated toward zero and held within +-1,000,000.
TLightAttributes ReadLightAttributes(GdbObject& object);

// The entry of a light: its sector and colour code as read, its rhythm class
// and bits from the period, the character and the group; the point stays
// (0, 0). The class is kNoRhythmClass for a light that does not flash (a
// period up to 9 or above 150, an unknown character, some groups). A light
// without a character keeps the class of its period and no bits: it is kept
// but never lit.
TLightEntry LightEntryOf(const TLightAttributes& attributes);

// Keeps an entry whose class is below kNoRhythmClass. The table overflowing
// (a 499th light) empties it: the count goes to 0 and the answer is false,
// which ends the building. True otherwise.
bool AddLight(TLightAnimation& animation, const TLightEntry& entry);

// Every entry cleared and the count 0; the phase counters run on.
void ClearLightTable(TLightAnimation& animation);

// The query formula of the rebuild: display mask A, layers 2 and 1
// ascending, object code 86 only, no children.
TGdbFormula LightQueryFormula(std::uint32_t displayMaskA);

// --- The step ---

// Whether the entry is lit at the phase its class's counter shows.
bool LightLitAt(const TLightEntry& entry,
                const std::array<std::uint8_t, kRhythmClassCount>& phases);

// The compass bearing from one client point to another (north is -y), tenths
// of a degree rounded to nearest, 0 to 3599.
int CompassBearingTenths(const ClientPoint& from, const ClientPoint& to);

// Whether a bearing (tenths, 0 to 3599) lies in the sector start..end: both 0
// is all round; end < start wraps past north (end + 3600, and the bearing +
// 3600 when it lies below the start).
bool BearingInSector(int bearing, std::int32_t start, std::int32_t end);

// One step of the animation with own ship at client point `ship`: each kept
// entry whose rhythm state changed is switched. Lit: nothing when own ship
// is at (0, 0) or at the light's point (the state stays as it was, so the
// next step tries again); inside the sector the mark is drawn on `window`
// and marked drawn; the new state is kept either way. Dark and drawn: the
// mark is erased from `picture1` (nothing is copied without one) and marked
// not drawn. Then every phase counter advances and restarts after its
// period.
void StepLights(TLightAnimation& animation, const ClientPoint& ship, gdi::Dc& window,
                gdi::Dc* picture1, const ui::TRect& client, const TMapPens& pens);

// A light's mark on dc in client pixels (device pixels, whatever mapping dc
// holds): a ring through (x - 4, y - 5) and (x + 5, y + 4) with the window's
// width-6 mark pen of the colour code (3: Mark2, 4: Mark4, else Mark11) and
// no fill; only when the point lies inside the client rectangle. Its ink
// stays inside the 15 x 15 pixels from (x - 7, y - 8). The context's pen,
// brush, raster operation and mapping are put back.
void DrawLightMark(gdi::Dc& dc, const TLightEntry& entry, const ui::TRect& client,
                   const TMapPens& pens);

// Puts the 15 x 15 pixels from (x - 7, y - 8) of the chart picture back on
// dc (device pixels on both; their mappings are put back).
void EraseLightMark(gdi::Dc& dc, gdi::Dc& picture1, const TLightEntry& entry);
