// The light flash animation: the entries made from a light's attributes, the
// attribute reads, the table's size, the rhythm tables and counters, the step
// on a recording context, the sectors by the bearing from own ship, the
// setting and the frame through the timer, the mark's pixels, and the sample
// chart's harbour lights flashing for a ship of the sample track.
#include "SampleChart.h"
#include "TestPictures.h"
#include "TimerTestSupport.h"

#include "app/KVViewerApp.h"
#include "app/ViewerPalette.h"
#include "chart/ChartPainting.h"
#include "chart/LightAnimation.h"

#include "gdb/GdbObject.h"
#include "gdb/TGdbQuery.h"
#include "gdi/Bitmap.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsLayer.h"
#include "geo/geodesy.h"
#include "kv71/TKV71Db.h"
#include "proj/MapObject.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace {

using charttest::settle;
using charttest::TimerFixture;

// ---------------------------------------------------------------------------
// Entries from attributes

// An entry's rhythm class and bits; class 9: not kept (its bits do not
// matter).
struct Rhythm {
    int rhythmClass;
    int bits = 0;
    bool operator==(const Rhythm&) const = default;
};
constexpr Rhythm kNone{9, 0};

std::ostream& operator<<(std::ostream& out, const Rhythm& r) {
    return out << "class " << r.rhythmClass << ", bits " << r.bits;
}

// The rhythm of a light as made and kept (a light that is not kept gives
// kNone).
Rhythm rhythmOf(std::optional<unsigned> character, int group, std::optional<int> period) {
    TLightAttributes a;
    a.character = character;
    a.group = group;
    a.period = period;
    const TLightEntry e = LightEntryOf(a);
    TLightAnimation table;
    EXPECT_TRUE(AddLight(table, e));
    if (table.count == 0) {
        EXPECT_EQ(e.rhythmClass, kNoRhythmClass);
        return kNone;
    }
    return {e.rhythmClass, e.rhythmBits};
}

TEST(LightEntries, ThePeriodBandsChooseTheClass) {
    // Character 2 without a group: bits 16 in every band.
    const struct {
        std::optional<int> period;
        int rhythmClass;
    } bands[] = {{9, 9},  {10, 0}, {25, 0},  {26, 1},  {35, 1},          {36, 2},
                 {45, 2}, {46, 3}, {55, 3},  {56, 4},  {69, 4},          {70, 5},
                 {89, 5}, {90, 6}, {150, 6}, {151, 9}, {std::nullopt, 4}};
    for (const auto& b : bands) {
        const Rhythm expected = b.rhythmClass == 9 ? kNone : Rhythm{b.rhythmClass, 16};
        EXPECT_EQ(rhythmOf(2u, 0, b.period), expected) << "period " << b.period.value_or(-1);
    }
}

TEST(LightEntries, TheCharacterAndTheGroupChooseTheBits) {
    constexpr int kGroups[] = {0, 2, 3, 4, 5, 6, 9};
    using Row = std::array<Rhythm, 7>; // by the groups above
    const Row none{kNone, kNone, kNone, kNone, kNone, kNone, kNone};
    const struct {
        std::optional<unsigned> character;
        Row withoutPeriod; // the class comes from the character
        Row period30;      // class 1 by the period
    } rows[] = {
        {2u,
         {{{4, 16}, {4, 32}, {4, 64}, {4, 128}, kNone, kNone, kNone}},
         {{{1, 16}, {1, 32}, {1, 64}, {1, 128}, kNone, kNone, kNone}}},
        {3u,
         {{{4, 16}, {4, 32}, {4, 64}, {4, 128}, kNone, kNone, kNone}},
         {{{1, 16}, {1, 32}, {1, 64}, {1, 128}, kNone, kNone, kNone}}},
        {4u,
         {{{7, 8}, {7, 16}, {7, 32}, {6, 128}, {7, 8}, {7, 8}, {7, 128}}},
         {{{7, 8}, {1, 32}, {1, 64}, {1, 128}, {7, 8}, {7, 8}, {7, 128}}}},
        {5u,
         {{{7, 1}, {7, 2}, {7, 4}, {2, 128}, {7, 1}, {7, 1}, {7, 128}}},
         {{{7, 1}, {1, 32}, {1, 64}, {1, 128}, {7, 1}, {7, 1}, {7, 128}}}},
        {7u,
         {{{4, 1}, {4, 1}, {4, 1}, {4, 1}, {4, 1}, {4, 1}, {4, 1}}},
         {{{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}}},
        {8u,
         {{{4, 2}, {4, 4}, {4, 8}, kNone, kNone, kNone, kNone}},
         {{{1, 2}, {1, 4}, {1, 8}, kNone, kNone, kNone, kNone}}},
        {25u,
         {{kNone, kNone, kNone, kNone, kNone, {7, 64}, kNone}},
         {{kNone, kNone, kNone, kNone, kNone, {7, 64}, kNone}}},
        {26u,
         {{kNone, kNone, kNone, kNone, kNone, {7, 64}, kNone}},
         {{kNone, kNone, kNone, kNone, kNone, {7, 64}, kNone}}},
        {9u, none, none},
        // No character: the class of the period and no bits (kept, never lit).
        {std::nullopt, none, {{{1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}}}},
    };
    for (const auto& r : rows)
        for (std::size_t g = 0; g < std::size(kGroups); ++g) {
            const int c = r.character ? int(*r.character) : -1;
            EXPECT_EQ(rhythmOf(r.character, kGroups[g], std::nullopt), r.withoutPeriod[g])
                << "character " << c << ", group " << kGroups[g] << ", no period";
            EXPECT_EQ(rhythmOf(r.character, kGroups[g], 30), r.period30[g])
                << "character " << c << ", group " << kGroups[g] << ", period 30";
        }

    // The class limits of characters 4 and 5, group 4 with a period, 2 s
    // with character 2, and character 4 in groups of four without a period.
    const struct {
        unsigned character;
        int group;
        std::optional<int> period;
        Rhythm expected;
    } edges[] = {
        {4, 2, 45, {2, 32}},
        {4, 2, 46, {7, 16}},
        {4, 3, 55, {3, 64}},
        {4, 3, 56, {7, 32}},
        {5, 2, 35, {1, 32}},
        {5, 2, 36, {7, 2}},
        {5, 3, 35, {1, 64}},
        {5, 3, 36, {7, 4}},
        {4, 4, 100, {6, 128}},
        {4, 4, 151, kNone},
        {5, 4, 60, {4, 128}},
        {2, 0, 20, {0, 16}},
        {4, 4, std::nullopt, {6, 128}},
    };
    for (const auto& e : edges)
        EXPECT_EQ(rhythmOf(e.character, e.group, e.period), e.expected)
            << "character " << e.character << ", group " << e.group << ", period "
            << e.period.value_or(-1);
}

// A light as a chart database hands it out: attributes by code, copied (a
// 16-bit number as its float) or by reference, as the engine's reads expect.
class FakeLightAttr : public TGdbAttr {
  public:
    FakeLightAttr(unsigned code, std::vector<std::uint8_t> bytes, std::optional<float> number)
        : code_(code), bytes_(std::move(bytes)), number_(number) {}
    int GetLabel() override { return int(code_); }
    int GetValue(void* out, int typed) override {
        const int size = number_ ? 4 : int(bytes_.size());
        if (!out) return size;
        if (typed == 0) {
            std::uint8_t* p = bytes_.data();
            std::memcpy(out, &p, sizeof p);
            return sizeof p;
        }
        if (number_)
            std::memcpy(out, &*number_, 4);
        else
            std::memcpy(out, bytes_.data(), bytes_.size());
        return size;
    }

  private:
    unsigned code_;
    std::vector<std::uint8_t> bytes_;
    std::optional<float> number_;
};

class FakeLight : public GdbObject {
  public:
    FakeLight& number(unsigned code, float value) {
        attrs_.push_back(std::make_unique<FakeLightAttr>(code, std::vector<std::uint8_t>{}, value));
        return *this;
    }
    FakeLight& bytes(unsigned code, std::vector<std::uint8_t> value) {
        attrs_.push_back(std::make_unique<FakeLightAttr>(code, std::move(value), std::nullopt));
        return *this;
    }
    FakeLight& text(unsigned code, const std::string& value) {
        std::vector<std::uint8_t> b(value.begin(), value.end());
        b.push_back(0);
        return bytes(code, std::move(b));
    }
    int GetLabel() override { return 86; }
    TGdbAttr* GetAttr(unsigned code) override {
        for (auto& a : attrs_)
            if (unsigned(a->GetLabel()) == code) return a.get();
        return nullptr;
    }

  private:
    std::vector<std::unique_ptr<FakeLightAttr>> attrs_;
};

TEST(LightAttributes, GroupSectorsColourPeriodAndCharacterAreRead) {
    // The group digit is the second character only when it is a digit.
    const struct {
        const char* text;
        int digit;
    } groups[] = {{"(2)", 2}, {"2", 0},     {"(+)", 0},  {"(9)", 9},
                  {"", 0},    {nullptr, 0}, {"(2+1)", 2}};
    for (const auto& g : groups)
        EXPECT_EQ(SignalGroupDigit(g.text), g.digit) << (g.text ? g.text : "null");

    FakeLight sector;
    sector.bytes(59, {2, 4, 1}).number(100, 900).number(101, 1800).text(72, "(2)");
    sector.bytes(58, {4}).number(86, 60);
    TLightAttributes a = ReadLightAttributes(sector);
    EXPECT_EQ(a.colourCode, 4u); // the first colour of the list
    EXPECT_EQ(a.sectorStart, 900);
    EXPECT_EQ(a.sectorEnd, 1799); // the second limit less one tenth
    EXPECT_EQ(a.group, 2);
    EXPECT_EQ(a.period, 60);
    EXPECT_EQ(a.character, 4u);
    // Character 4, group 2 at 6 s: class 7, bits 16.
    EXPECT_EQ(LightEntryOf(a).rhythmClass, 7);
    EXPECT_EQ(LightEntryOf(a).rhythmBits, 16);

    // Nothing but an empty colour list: colour 0, no sector, no group, no
    // period, no character.
    FakeLight bare;
    bare.bytes(59, {0});
    a = ReadLightAttributes(bare);
    EXPECT_EQ(a.colourCode, 0u);
    EXPECT_EQ(a.sectorStart, 0);
    EXPECT_EQ(a.sectorEnd, 0);
    EXPECT_EQ(a.group, 0);
    EXPECT_FALSE(a.period);
    EXPECT_FALSE(a.character);

    // Groups that are not a digit, and a period of another database's float
    // far beyond the attribute's range (no class).
    FakeLight other;
    other.bytes(59, {1, 3}).text(72, "(+)").number(86, 1e12f).number(101, 300);
    a = ReadLightAttributes(other);
    EXPECT_EQ(a.colourCode, 3u);
    EXPECT_EQ(a.group, 0);
    EXPECT_EQ(a.period, 1000000);
    EXPECT_EQ(a.sectorStart, 0); // an end alone: 0 .. end
    EXPECT_EQ(a.sectorEnd, 299);
    FakeLight single;
    single.bytes(59, {1, 3}).text(72, "2");
    EXPECT_EQ(ReadLightAttributes(single).group, 0);
}

TEST(LightTable, FourHundredNinetyEightLightsAreKeptAndOneMoreEmptiesTheTable) {
    TLightAttributes a;
    a.character = 2;
    a.period = 20;
    const TLightEntry light = LightEntryOf(a);
    TLightAnimation table;
    table.phases = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < kLightTableMax; ++i)
        ASSERT_TRUE(AddLight(table, light)) << i;
    EXPECT_EQ(table.count, 498);
    // A light without a class is not kept and does not count.
    TLightAttributes dark;
    dark.character = 9;
    EXPECT_TRUE(AddLight(table, LightEntryOf(dark)));
    EXPECT_EQ(table.count, 498);
    // The 499th: no light flashes.
    EXPECT_FALSE(AddLight(table, light));
    EXPECT_EQ(table.count, 0);

    // Clearing empties the entries; the counters run on.
    table.entries[3].drawn = 1;
    table.count = 4;
    ClearLightTable(table);
    EXPECT_EQ(table.count, 0);
    EXPECT_EQ(table.entries[3].drawn, 0);
    EXPECT_EQ(table.phases, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));

    // The rebuild's query: layers 2 and 1 ascending, code 86 only, no
    // children.
    const TGdbFormula f = LightQueryFormula(7);
    EXPECT_EQ(f.maskA, 7u);
    EXPECT_EQ(f.maskB, 0xFFFFFFFFu);
    EXPECT_EQ(f.firstLayer, 2);
    EXPECT_EQ(f.lastLayer, 1);
    EXPECT_EQ(f.ascending, 1u);
    ASSERT_EQ(f.includeCount, 1u);
    EXPECT_EQ(f.include[0], 86u);
    EXPECT_EQ(f.excludeCount, 0u);
    EXPECT_EQ(f.options & GdbFormulaChildren, 0u);
}

// ---------------------------------------------------------------------------
// Rhythm tables and counters

TEST(LightRhythm, TheTablesAndTheirCounters) {
    QByteArray all;
    for (int k = 0; k < kRhythmClassCount; ++k) {
        const std::span<const std::uint8_t> t = RhythmTable(k);
        EXPECT_EQ(int(t.size()), kRhythmPeriods[std::size_t(k)]) << k;
        all.append(reinterpret_cast<const char*>(t.data()), qsizetype(t.size()));
    }
    EXPECT_EQ(all.size(), 250);
    EXPECT_EQ(QCryptographicHash::hash(all, QCryptographicHash::Sha256).toHex().toStdString(),
              "2e4fca52cc52dee953e1e2b8bcc70f6c06ee19dc2180cc307a73d70c2653c4c9");
    EXPECT_TRUE(RhythmTable(8).empty());
    EXPECT_TRUE(RhythmTable(-1).empty());

    // Each counter reaches its last phase and restarts.
    constexpr int kLast[] = {9, 14, 19, 24, 29, 39, 49, 59};
    gdi::RecordingDc dc(10, 10);
    const TMapPens pens = StartupMapPens();
    for (int k = 0; k < kRhythmClassCount; ++k) {
        TLightAnimation a;
        for (int i = 0; i < kLast[k]; ++i)
            StepLights(a, {0, 0}, dc, nullptr, {0, 0, 10, 10}, pens);
        EXPECT_EQ(a.phases[std::size_t(k)], kLast[k]) << k;
        StepLights(a, {0, 0}, dc, nullptr, {0, 0, 10, 10}, pens);
        EXPECT_EQ(a.phases[std::size_t(k)], 0) << k;
    }
}

// ---------------------------------------------------------------------------
// The step

// One light at (50, 40) of a 200 x 100 client, rhythm class 0 with bits 8:
// dark at phase 0, lit at phase 1.
struct StepCase {
    TLightAnimation a;
    gdi::RecordingDc window{200, 100};
    gdi::RecordingDc picture1{200, 100};
    TMapPens pens = StartupMapPens();
    const ui::TRect client{0, 0, 200, 100};

    explicit StepCase(std::int32_t start = 0, std::int32_t end = 0, std::uint8_t colour = 1) {
        TLightEntry& e = a.entries[0];
        e.rhythmClass = 0;
        e.rhythmBits = 8;
        e.colourCode = colour;
        e.sectorStart = start;
        e.sectorEnd = end;
        e.x = 50;
        e.y = 40;
        a.count = 1;
    }
    TLightEntry& entry() { return a.entries[0]; }
    // One step at the phase, own ship at the point.
    std::string step(int phase, ClientPoint ship = {50, 140}) {
        a.phases[0] = std::uint8_t(phase);
        window.clearLog();
        StepLights(a, ship, window, &picture1, client, pens);
        return window.log();
    }
    std::string penOf(TMapPen role) const {
        return "pen=solid/6/" + gdi::RecordingDc::colourText(pens[std::size_t(role)].colour);
    }
};

TEST(LightStep, SwitchesTheMarkOnlyWhenTheRhythmChanges) {
    // Unchanged (dark, and dark before): nothing.
    {
        StepCase c;
        EXPECT_EQ(c.step(0), "");
        EXPECT_EQ(c.entry().lit, 0);
        EXPECT_EQ(c.a.phases[0], 1); // the counters advance all the same
    }
    // Lit and inside (all round): the ring in the pen of the colour code.
    const struct {
        std::uint8_t colour;
        TMapPen pen;
    } colours[] = {
        {3, TMapPen::Mark2}, {4, TMapPen::Mark4}, {1, TMapPen::Mark11}, {0, TMapPen::Mark11}};
    for (const auto& k : colours) {
        StepCase c(0, 0, k.colour);
        const std::string log = c.step(1);
        EXPECT_EQ(log, "Ellipse " + c.penOf(k.pen) + " brush=null rop=copy [46,35,55,44]\n")
            << int(k.colour);
        EXPECT_EQ(c.entry().drawn, 1);
        EXPECT_EQ(c.entry().lit, 1);
        // Lit again: unchanged, nothing.
        EXPECT_EQ(c.step(1), "");
        // Dark and drawn: the 15 x 15 pixels around it copied back.
        EXPECT_EQ(c.step(0), "Blit copy [43,32,15,15] from (43,32)\n");
        EXPECT_EQ(c.entry().drawn, 0);
        EXPECT_EQ(c.entry().lit, 0);
    }
    // Lit and outside (own ship south of a light of 90 to 180 degrees):
    // nothing drawn, the state kept; dark then erases nothing.
    {
        StepCase c(900, 1799);
        EXPECT_EQ(c.step(1), "");
        EXPECT_EQ(c.entry().drawn, 0);
        EXPECT_EQ(c.entry().lit, 1);
        EXPECT_EQ(c.step(0), "");
        EXPECT_EQ(c.entry().lit, 0);
    }
    // Own ship at the light's point, or at (0, 0): nothing, the state stays
    // dark, so the next step tries again.
    for (const ClientPoint ship : {ClientPoint{50, 40}, ClientPoint{0, 0}}) {
        StepCase c;
        EXPECT_EQ(c.step(1, ship), "");
        EXPECT_EQ(c.entry().lit, 0);
        EXPECT_EQ(c.entry().drawn, 0);
        EXPECT_NE(c.step(1), "");
        EXPECT_EQ(c.entry().drawn, 1);
    }
    // A window drawing in chart units still gets the mark in client pixels,
    // and its tools and mapping come back.
    {
        StepCase c;
        c.window.setMapping(gdi::Mapping::yUp(100, 50));
        const gdi::Pen before = c.window.setPen(gdi::Pen{gdi::PenStyle::Solid, 2, gdi::kBlack});
        EXPECT_EQ(c.step(1),
                  "Ellipse " + c.penOf(TMapPen::Mark11) + " brush=null rop=copy [46,35,55,44]\n");
        EXPECT_EQ(c.window.pen().width, 2);
        EXPECT_TRUE(c.window.mapping().anisotropic);
        c.window.setPen(before);
    }
}

TEST(LightStep, TheSectorIsTestedOnTheBearingFromOwnShipToTheLight) {
    // Own ship 100 pixels from the light (71 on both axes for the diagonals);
    // north is up on the window.
    const struct {
        const char* name;
        ClientPoint offset;
    } ships[] = {{"N", {0, -100}}, {"NE", {71, -71}}, {"E", {100, 0}},  {"SE", {71, 71}},
                 {"S", {0, 100}},  {"SW", {-71, 71}}, {"W", {-100, 0}}, {"NW", {-71, -71}}};
    // Sector limits as read (the second limit less one tenth), and where the
    // mark shows, by the ships above.
    const struct {
        const char* name;
        std::int32_t start, end;
        std::array<int, 8> inside;
    } sectors[] = {
        {"90-180", 900, 1799, {0, 0, 0, 0, 0, 0, 1, 1}}, // seen on 90 (W) and 135 (NW)
        {"300-30", 3000, 299, {0, 0, 0, 1, 1, 0, 0, 0}}, // 315 (SE) and 0 (S)
        {"all round", 0, 0, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"270 onwards", 2700, 0, {0, 0, 1, 1, 1, 0, 0, 0}}, // 270 up to and with north
    };
    for (const auto& s : sectors)
        for (std::size_t i = 0; i < std::size(ships); ++i) {
            StepCase c(s.start, s.end);
            c.step(1, {50 + ships[i].offset.x, 40 + ships[i].offset.y});
            EXPECT_EQ(c.entry().drawn, s.inside[i]) << s.name << ", own ship " << ships[i].name;
        }
    // The bearings themselves, in tenths.
    EXPECT_EQ(CompassBearingTenths({0, 100}, {0, 0}), 0);
    EXPECT_EQ(CompassBearingTenths({-100, 0}, {0, 0}), 900);
    EXPECT_EQ(CompassBearingTenths({0, -100}, {0, 0}), 1800);
    EXPECT_EQ(CompassBearingTenths({100, 0}, {0, 0}), 2700);
    EXPECT_EQ(CompassBearingTenths({-71, -71}, {0, 0}), 1350);
    EXPECT_EQ(CompassBearingTenths({1, 1000}, {0, 0}), 3599); // 359.94 degrees
}

// ---------------------------------------------------------------------------
// The setting and the frame, through the timer

TEST(LightTimer, TheStepRunsEverySecondTickAsTheSettingTheSchemeAndTheFrameAllow) {
    TimerFixture f;
    f.make(5);
    TChartWindowState& s = ChartWindowState();
    EXPECT_EQ(ChartSettings().lightAnimation, 1); // the default
    const std::array<std::uint8_t, 8> tenSteps{0, 10, 10, 10, 10, 10, 10, 10}, none{};
    const struct {
        int setting, scheme;
        bool iconic, steps;
    } cases[] = {{0, 0, false, false}, {0, 2, false, false}, {1, 0, false, false},
                 {1, 1, false, true},  {1, 3, false, true},  {2, 0, false, true},
                 {2, 2, false, true},  {2, 0, true, false},  {1, 2, true, false}};
    for (const auto& c : cases) {
        ChartSettings().lightAnimation = c.setting;
        s.illuminationLevel = c.scheme;
        NoteFrameStates(c.iconic, false);
        LightAnimation().phases = {};
        f.tick(20);
        EXPECT_EQ(LightAnimation().phases, c.steps ? tenSteps : none)
            << "setting " << c.setting << ", scheme " << c.scheme << (c.iconic ? ", iconic" : "");
    }
    NoteFrameStates(false, false);
}

// ---------------------------------------------------------------------------
// Pixels

// A colour picture of width x height with the program palette, every pixel
// of its own shade.
std::unique_ptr<gdi::RasterDc> shadedPicture(int width, int height) {
    auto dc = gdi::RasterDc::createCompatible(nullptr);
    dc->selectBitmap(gdi::Bitmap::colour(width, height));
    dc->selectPalette(ProgramPalette());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dc->setPixel(x, y, gdi::rgb(std::uint8_t(x * 5), std::uint8_t(y * 7), 77));
    return dc;
}

TEST(LightMarkPixels, TheMarkStaysInsideItsBoxAndItsEraseRestoresEveryPixel) {
    LoadPalettes(DATA_DIR);
    constexpr int kWidth = 60, kHeight = 50;
    const ui::TRect client{0, 0, kWidth, kHeight};
    const auto picture1 = shadedPicture(kWidth, kHeight);
    const TMapPens pens = StartupMapPens();
    // Inside, in a corner (the picture cuts the ring), and on the last row
    // and column.
    const ClientPoint points[] = {{30, 25}, {2, 3}, {kWidth - 1, kHeight - 1}};
    for (const ClientPoint p : points)
        for (std::uint8_t colour : {3, 4, 1}) {
            const auto window = shadedPicture(kWidth, kHeight);
            TLightEntry e;
            e.x = p.x;
            e.y = p.y;
            e.colourCode = colour;
            DrawLightMark(*window, e, client, pens);
            int changed = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    if (window->getPixel(x, y) == picture1->getPixel(x, y)) continue;
                    ++changed;
                    EXPECT_TRUE(x >= p.x - 7 && x < p.x + 8 && y >= p.y - 8 && y < p.y + 7)
                        << "ink at " << x << "," << y << " of a mark at " << p.x << "," << p.y;
                }
            EXPECT_GT(changed, 20) << p.x << "," << p.y;
            EraseLightMark(*window, *picture1, e);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    ASSERT_EQ(window->getPixel(x, y), picture1->getPixel(x, y))
                        << x << "," << y << " after the erase of " << p.x << "," << p.y;
        }

    // A point outside the client: not drawn, even where its ring would reach
    // into the picture.
    for (const ClientPoint p : {ClientPoint{kWidth, 20}, ClientPoint{-1, 20},
                                ClientPoint{20, kHeight}, ClientPoint{20, -1}}) {
        gdi::RecordingDc dc(kWidth, kHeight);
        TLightEntry e;
        e.x = p.x;
        e.y = p.y;
        DrawLightMark(dc, e, client, pens);
        EXPECT_EQ(dc.log(), "") << p.x << "," << p.y;
    }
}

// ---------------------------------------------------------------------------
// The sample chart

// A chart window whose paint draws no chart (the light table is what is
// looked at).
class TLightWindow : public TMapWindow {
  public:
    using TMapWindow::TMapWindow;
    void DrawChart(double, double, int, Map*, gdi::Dc&, const ui::TRect&) override {}
};

// The harbour view: the timer's frame grown until the chart window's client
// is 1920 x 1080, at level index 5 (1:15,000) around 5.30 E, 60.398 N, on a
// screen of 96 pixels per inch; the sample chart's real database; the
// window's own timer stopped, following off.
struct HarbourFixture : TimerFixture {
    static constexpr int kWidth = 1920, kHeight = 1080, kPixelsPerMetre = 3780;
    charttest::SampleChart sample;
    TLightWindow* chart = nullptr;

    HarbourFixture() { LoadPalettes(DATA_DIR); }
    ~HarbourFixture() { delete chart; }
    TLightWindow& open(double lon = 5.30, double lat = 60.398) {
        chart = new TLightWindow(*host.client, "", 5, lon, lat);
        EXPECT_TRUE(chart->Create());
        chart->ShowWindow(ui::SW_SHOW);
        settle();
        chart->KillTimer(kChartTimerId);
        // The frame grown by what the chart window's client lacks (the frame's
        // size is set without its border, measured with it: twice).
        int w = host.frame->GetWindowRect().Width(), h = host.frame->GetWindowRect().Height();
        for (int pass = 0; pass < 2; ++pass) {
            const ui::TRect c = chart->GetClientRect();
            w += kWidth - c.Width();
            h += kHeight - c.Height();
            host.frame->MoveWindow(0, 0, w, h, true);
            settle();
        }
        TChartWindowState& s = ChartWindowState();
        s.followFlag = 0;
        ChartSettings().lightAnimation = 2;
        // The Map of a screen of 96 pixels per inch that fits the client.
        s.pixelsPerMetre = kPixelsPerMetre;
        s.screenWidthMm = 2 * int(std::ceil(kWidth / 2.0 * 1000 / kPixelsPerMetre));
        s.screenHeightMm = 2 * int(std::ceil(kHeight / 2.0 * 1000 / kPixelsPerMetre));
        chart->Rescale(chart->displayScale); // the table is rebuilt
        settle();
        return *chart;
    }
    void tickChart(int n = 1) {
        for (int i = 0; i < n; ++i)
            chart->EvTimer(kChartTimerId);
    }
};

// The entries of the table, as (class, bits, start, end, colour) and point.
struct Seen {
    int rhythmClass, bits, start, end, colour;
    bool operator==(const Seen&) const = default;
};

GeoPoint geoOf(TMapWindow& w, const TLightEntry& e) {
    return GeoPointOf(*w.map, ToChart(ClientPoint{e.x, e.y}, w.GetClientRect()));
}

// Distance in metres between two positions.
double metres(const GeoPoint& a, const GeoPoint& b) {
    double miles = 0, course = 0;
    IPC(a, b, miles, course);
    return miles * 1852;
}

TEST(LightSample, TheHarbourLightsFlashInTheSectorOwnShipSees) {
    HarbourFixture f;
    TLightWindow& w = f.open();
    ASSERT_TRUE(w.map);
    const ui::TRect client = w.GetClientRect();
    ASSERT_EQ(client.Width(), HarbourFixture::kWidth);
    ASSERT_EQ(client.Height(), HarbourFixture::kHeight);
    EXPECT_EQ(f.sample.database->getLevel(ChartPassScales(w.levelScale, w.displayScale).queryScale),
              6); // the level-F cells the pass draws

    // The lights of the view, grouped by their point, near where the sample
    // chart's generator put them (it moves each onto the shore).
    const TLightAnimation& a = LightAnimation();
    // Which of them flash for own ship north-west of Nordnespynten: its
    // first sector (seen on about 156 degrees), Hegreneset's last (on about
    // 270) and Kvarven all round.
    const struct {
        const char* name;
        double lon, lat;
        std::vector<Seen> entries;
        std::vector<bool> flashing;
    } lights[] = {
        {"Nordnespynten",
         5.2995,
         60.4020,
         {{7, 16, 900, 1799, 4}, {7, 16, 1800, 2449, 1}, {7, 16, 2450, 3299, 3}},
         {true, false, false}},
        {"Hegreneset",
         5.2560,
         60.4080,
         {{3, 16, 300, 1349, 3}, {3, 16, 1350, 1999, 1}, {3, 16, 2000, 2799, 4}},
         {false, false, true}},
        {"Kvarven", 5.2470, 60.3980, {{6, 8, 0, 0, 1}}, {true}},
    };
    std::vector<std::vector<int>> indexOf(std::size(lights));
    ASSERT_EQ(a.count, 7);
    for (int i = 0; i < a.count; ++i) {
        const TLightEntry& e = a.entries[std::size_t(i)];
        const GeoPoint g = geoOf(w, e);
        std::size_t nearest = 0;
        for (std::size_t l = 1; l < std::size(lights); ++l)
            if (metres(g, {deg2nrm(lights[l].lon), deg2nrm(lights[l].lat)}) <
                metres(g, {deg2nrm(lights[nearest].lon), deg2nrm(lights[nearest].lat)}))
                nearest = l;
        EXPECT_LT(metres(g, {deg2nrm(lights[nearest].lon), deg2nrm(lights[nearest].lat)}), 300)
            << lights[nearest].name;
        indexOf[nearest].push_back(i);
    }
    for (std::size_t l = 0; l < std::size(lights); ++l) {
        std::vector<Seen> seen;
        for (int i : indexOf[l]) {
            const TLightEntry& e = a.entries[std::size_t(i)];
            seen.push_back({e.rhythmClass, e.rhythmBits, e.sectorStart, e.sectorEnd, e.colourCode});
            // The sectors of one light share its point.
            EXPECT_EQ(e.x, a.entries[std::size_t(indexOf[l].front())].x) << lights[l].name;
            EXPECT_EQ(e.y, a.entries[std::size_t(indexOf[l].front())].y) << lights[l].name;
        }
        EXPECT_EQ(seen, lights[l].entries) << lights[l].name;
    }

    // Own ship at the sample track's fix of 08:06:57 (60 24.5537 N,
    // 5 17.5996 E), north-west of Nordnespynten.
    TimerFixture::fix(5 + 17.5996 / 60, 60 + 24.5537 / 60);
    f.tickChart();
    const TChartWindowState& s = ChartWindowState();
    const GeoPoint ship = s.ownShip;
    ASSERT_TRUE(client.Contains(ui::TPoint{s.ownShipClient.x, s.ownShipClient.y}));

    // Which entries flash: those whose sector holds the bearing from own
    // ship to the light (from the two positions), away from a limit.
    std::vector<bool> flashes(std::size_t(a.count), false);
    for (std::size_t l = 0; l < std::size(lights); ++l) {
        const TLightEntry& first = a.entries[std::size_t(indexOf[l].front())];
        double miles = 0, radians = 0;
        IPC(ship, geoOf(w, first), miles, radians);
        const double course = radians * 180 / std::numbers::pi;
        std::vector<bool> flashing;
        for (int i : indexOf[l]) {
            const TLightEntry& e = a.entries[std::size_t(i)];
            const double start = e.sectorStart / 10.0, end = (e.sectorEnd + 1) / 10.0;
            bool in = true;
            if (e.sectorStart != 0 || e.sectorEnd != 0) {
                EXPECT_GT(std::min(std::fabs(course - start), std::fabs(course - end)), 2.0)
                    << lights[l].name << " seen on " << course;
                in = course >= start && course < end;
            }
            flashes[std::size_t(i)] = in;
            flashing.push_back(in);
        }
        EXPECT_EQ(flashing, lights[l].flashing) << lights[l].name << " seen on " << course;
    }

    // 60 s of ticks: after each step, the marks on are those of the sectors
    // that flash, at the phases of their tables and bits.
    std::vector<int> shown(std::size_t(a.count), 0);
    const gdi::Dc& window = w.GetDC();
    for (int t = 0; t < 600; ++t) {
        const std::array<std::uint8_t, 8> phases = a.phases;
        f.tickChart();
        if (a.phases == phases) continue; // not a second tick
        for (int i = 0; i < a.count; ++i) {
            const TLightEntry& e = a.entries[std::size_t(i)];
            const std::span<const std::uint8_t> table = RhythmTable(e.rhythmClass);
            const bool lit = (table[phases[e.rhythmClass]] & e.rhythmBits) != 0;
            ASSERT_EQ(e.drawn != 0, flashes[std::size_t(i)] && lit)
                << "entry " << i << ", tick " << t;
            if (e.drawn) {
                ++shown[std::size_t(i)];
                // The ring's top on the window.
                const gdi::Colour pen = window.resolve(
                    w.pens[std::size_t(e.colourCode == 4 ? TMapPen::Mark4 : TMapPen::Mark11)]
                        .colour);
                EXPECT_EQ(window.getPixel(e.x, e.y - 5), pen) << "entry " << i << ", tick " << t;
            }
        }
    }
    for (int i = 0; i < a.count; ++i)
        if (flashes[std::size_t(i)]) {
            EXPECT_GT(shown[std::size_t(i)], 10) << "entry " << i;
        }

    // A picture to look at: the harbour chart with the marks of the sectors
    // own ship sees all on at once, and own ship as a black ring.
    auto picture = gdi::RasterDc::createCompatible(nullptr);
    picture->selectBitmap(gdi::Bitmap::colour(client.Width(), client.Height()));
    picture->selectPalette(ProgramPalette());
    const ui::TRect view = ChartViewRect(client);
    picture->setMapping(gdi::Mapping::yUp((client.Width() + 1) / 2, (client.Height() + 1) / 2));
    picture->fillRect(view.left, view.top, view.right, view.bottom,
                      gdi::Brush::solid(gdi::paletteIndex(std::uint16_t(_anSp57ColorsMap[9]))));
    for (int i = 0; i <= 18; ++i)
        ChartWindowState().displayCategories[std::size_t(i)] = 1;
    ChartWindowState().detailWord = 6;
    w.TMapWindow::DrawChart(w.levelScale, w.displayScale, w.levelIndex, w.map.get(), *picture,
                            view);
    picture->setMapping(gdi::Mapping{});
    TLightAnimation& marks = LightAnimation();
    for (int i = 0; i < marks.count; ++i)
        marks.entries[std::size_t(i)].drawn = flashes[std::size_t(i)] ? 1 : 0;
    w.DrawLitLightMarks(*picture);
    picture->setPen(gdi::Pen{gdi::PenStyle::Solid, 3, gdi::kBlack});
    picture->setBrush(gdi::Brush::null());
    picture->ellipse(s.ownShipClient.x - 12, s.ownShipClient.y - 12, s.ownShipClient.x + 14,
                     s.ownShipClient.y + 14);
    const std::string path = charttest::picturePath("harbour-lights");
    EXPECT_TRUE(picture->picture().save(QString::fromStdString(path), "PNG")) << path;
    std::printf("%s\n", path.c_str());
}

TEST(LightSample, MarsteinsTwentySecondPeriodAndTheBuoysLightsNeverEnterTheTable) {
    HarbourFixture f;
    // The buoys of Vågen and Puddefjorden lie in the harbour view; their
    // lights stand inside the aggregates, which the rebuild does not open.
    f.open();
    TKV71Db& db = *f.sample.database;
    GeoRect rect = ChartPassGeoRect(*f.chart->map, Rect{-960, -540, 960, 540});
    const TGdbFormula children{0, 15,      0xFFFFFFFFu,       2, 1, 1, 0, nullptr,
                               0, nullptr, GdbFormulaChildren};
    TGdbQuery query(db);
    ASSERT_TRUE(query.open(
        rect, ChartPassScales(f.chart->levelScale, f.chart->displayScale).queryScale, &children));
    int lights = 0, lightsInAggregates = 0;
    while (GdbObject* o = query.next())
        if (o->GetLabel() == 86) {
            ++lights;
            lightsInAggregates += o->HasParent() != 0;
        }
    query.close();
    EXPECT_GE(lightsInAggregates, 2);
    EXPECT_EQ(lights - lightsInAggregates, 7);
    EXPECT_EQ(LightAnimation().count, 7);

    // Marstein, 20 s (200 tenths): drawn at level index 4, never kept.
    delete f.chart;
    f.chart = new TLightWindow(*f.host.client, "", 4, 5.01, 60.132);
    ASSERT_TRUE(f.chart->Create());
    f.chart->ShowWindow(ui::SW_SHOW);
    settle();
    f.chart->KillTimer(kChartTimerId);
    ChartSettings().lightAnimation = 2;
    ChartWindowState().followFlag = 0;
    f.chart->RebuildLightTable();
    EXPECT_EQ(LightAnimation().count, 0);
    GeoRect around = ChartPassGeoRect(*f.chart->map, Rect{-960, -540, 960, 540});
    const TGdbFormula marstein = LightQueryFormula(15);
    ASSERT_TRUE(query.open(
        around, ChartPassScales(f.chart->levelScale, f.chart->displayScale).queryScale, &marstein));
    int found = 0;
    while (GdbObject* o = query.next())
        found += o->GetLabel() == 86;
    query.close();
    EXPECT_EQ(found, 1);
}

// The own-ship overlay copies the chart picture over the window at every
// tick: the marks that are on come back with it, also after a repaint; the
// marks erased do not.
TEST(LightSample, TheOwnShipOverlayKeepsTheMarksThatAreOnAndNotTheOthers) {
    HarbourFixture f;
    TLightWindow& w = f.open();
    TimerFixture::fix(5 + 17.5996 / 60, 60 + 24.5537 / 60);
    f.tickChart();
    const TChartWindowState& s = ChartWindowState();
    const TLightAnimation& a = LightAnimation();
    int kvarven = -1; // all round: it flashes wherever own ship is
    for (int i = 0; i < a.count; ++i)
        if (a.entries[std::size_t(i)].sectorStart == 0 && a.entries[std::size_t(i)].sectorEnd == 0)
            kvarven = i;
    ASSERT_GE(kvarven, 0);
    const TLightEntry& e = a.entries[std::size_t(kvarven)];
    gdi::Dc& window = w.GetDC();
    const gdi::Colour ink = window.resolve(w.pens[std::size_t(TMapPen::Mark11)].colour); // code 1
    const auto inked = [&] { return window.getPixel(e.x, e.y - 5) == ink; };
    const auto ownShipUpdate = [&] {
        w.DrawOwnShipOverlay(window, s.ownShipClient.x, s.ownShipClient.y, false);
    };
    ASSERT_TRUE(w.memPicture1);
    ASSERT_NE(w.memPicture1->getPixel(e.x, e.y - 5), ink);

    // Ticks until a step draws the mark; the own-ship update keeps it.
    for (int t = 0; !e.drawn && t < 200; ++t)
        f.tickChart();
    ASSERT_TRUE(e.drawn);
    EXPECT_TRUE(inked());
    ownShipUpdate();
    EXPECT_TRUE(inked()) << "the own-ship update lost a lit mark";

    // A repaint keeps the drawn flag; the own-ship update after it puts the
    // mark back.
    w.Invalidate(true);
    settle();
    EXPECT_TRUE(e.drawn);
    ownShipUpdate();
    EXPECT_TRUE(inked()) << "no lit mark after the repaint's own-ship update";

    // Ticks until a step erases it; the own-ship update leaves it off.
    for (int t = 0; e.drawn && t < 200; ++t)
        f.tickChart();
    ASSERT_FALSE(e.drawn);
    EXPECT_FALSE(inked());
    ownShipUpdate();
    EXPECT_FALSE(inked()) << "the own-ship update brought an erased mark back";
    EXPECT_EQ(window.getPixel(e.x, e.y - 5), w.memPicture1->getPixel(e.x, e.y - 5));
}

} // namespace
