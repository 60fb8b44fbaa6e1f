// The chart drawing pass: the procedure swap and its end on every way out,
// the scales of the query and the map context, what the query and the
// context are given, and the filters; over a database that hands out the
// procedure kit's fake objects to a presentation library of spy procedures,
// and over the sample chart.
#include "procedureKit.h"

#include "chart/ChartLevels.h"
#include "chart/pass/ChartDrawingPass.h"
#include "chart/pass/SoundingProcedures.h"

#include "gdb/TGdbObjectIterator.h"
#include "gdb/TGdbQuery.h"
#include "gdi/RecordingDc.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/cellCache.h"
#include "kv71/dictionaryTables.h"
#include "procedures/Int1Procs.h"
#include "procedures/SoundValue.h"
#include "proj/newMap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- a database of fake objects

// What the spy procedures and the depth writer saw, in order.
struct Ran {
    std::string what; // "engine <code>" or "program <depth>"
    int exponent = 0;
    GeoRect rect{};
    std::vector<double> zones;
};
std::vector<Ran> ran;

std::vector<double> zonesOf(const TMapContext* c) {
    return c->depthZones ? std::vector<double>(c->depthZones, c->depthZones + c->depthZoneCount)
                         : std::vector<double>{};
}

void engineSpy(TMapContext* c, GdbObject* o, MapObject*) {
    ran.push_back(
        {"engine " + std::to_string(o->GetLabel()), c->scaleExponent, c->rect, zonesOf(c)});
}

void throwingSpy(TMapContext*, GdbObject*, MapObject*) {
    throw "ERROR: a procedure failed";
}

void programDepth(TMapContext* c, int, int, float depth, unsigned, unsigned, unsigned, char*, int) {
    char text[32];
    std::snprintf(text, sizeof text, "program %.1f", depth);
    ran.push_back({text, c->scaleExponent, c->rect, zonesOf(c)});
}

std::vector<std::string> whatRan() {
    std::vector<std::string> w;
    for (const Ran& r : ran)
        w.push_back(r.what);
    return w;
}

class ListDb;

// Walks the database's list and notes what the query gave it.
class ListIterator : public TGdbObjectIterator {
  public:
    ListIterator(ListDb& db, TGdbQuery& query);
    int init(GeoCover& cover, unsigned long scale) override;
    int done() override;
    int setFormula(const void* formula) override;
    GdbObject* nextGdbObject() override;

  private:
    ListDb& db_;
    std::size_t next_ = 0;
};

class ListDb : public TGeoDb {
  public:
    using TGeoDb::TGeoDb;
    kit::FakeObject& add(int code) {
        objects.push_back(std::make_unique<kit::FakeObject>(code, this));
        return *objects.back();
    }
    int openGdbQuery(TGdbQuery& query) override {
        if (refuseQueries) return -1;
        query.SetIterator(new ListIterator(*this, query));
        return 0;
    }

    std::vector<std::unique_ptr<kit::FakeObject>> objects;
    bool refuseQueries = false;
    // What the last query asked for, and how many walks began and ended.
    std::optional<TGdbFormula> formula;
    unsigned long scale = 0;
    GeoRect rect{};
    int walks = 0, ended = 0;
};

ListIterator::ListIterator(ListDb& db, TGdbQuery& query)
    : TGdbObjectIterator(&db, &query), db_(db) {}
int ListIterator::init(GeoCover& cover, unsigned long scale) {
    db_.scale = scale;
    db_.rect = GeoRect(cover);
    ++db_.walks;
    next_ = 0;
    return 0;
}
int ListIterator::done() {
    ++db_.ended;
    return 0;
}
int ListIterator::setFormula(const void* formula) {
    db_.formula = *static_cast<const TGdbFormula*>(formula);
    return 0;
}
GdbObject* ListIterator::nextGdbObject() {
    return next_ < db_.objects.size() ? db_.objects[next_++].get() : nullptr;
}

// A 256 x 256 view at 5.30 E, 60.40 N over a database of fake objects whose
// presentation library's table holds the engine spy for every code.
struct TestChart {
    static constexpr int kSize = 256;
    kit::FakeDictionary dictionary;
    std::array<CondSymbProc, 256> table;
    std::unique_ptr<TPresLib> presentation;
    ListDb database{dictionary};
    kit::View view;
    gdi::RecordingDc dc{kSize, kSize};

    TestChart() {
        table.fill(engineSpy);
        const kit::TempFolder files;
        files.write("OBJLUT.DIC", "; no class needs a record\n");
        files.write("ATTRLUT.DIC", "; no attribute needs an entry\n");
        presentation = std::make_unique<TPresLib>(&dictionary, unsigned(table.size()), table.data(),
                                                  files.path().c_str());
        dictionary.SetPresentation(presentation.get());
        dc.setMapping(gdi::Mapping::yUp(kSize / 2, kSize / 2));
    }
    ~TestChart() { dictionary.SetPresentation(nullptr); }

    static Rect viewRect() { return {-kSize / 2, -kSize / 2, kSize / 2, kSize / 2}; }
    TChartPassResult pass(const TChartPassOptions& options = {}, double levelScale = 50000,
                          double displayScale = 30000, int levelIndex = 4) {
        return DrawChartPass(&database, levelScale, displayScale, levelIndex, view.map(), dc,
                             viewRect(), options);
    }
    bool engineEntries() const { return table[147] == engineSpy && table[168] == engineSpy; }
};

bool nothingSaved() {
    const TSavedSymbProcedures& s = SavedSymbProcedures();
    return !s.code147 && !s.code168 && !s.code132;
}

class ChartPass : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        ran.clear();
        SoundValueWriter = programDepth;
    }
    void TearDown() override {
        SoundValueWriter = _DrawSoundValue;
        SavedSymbProcedures() = {};
        kit::ProcedureTest::TearDown();
    }
};

// A sounding of 3 m and a rock of 2 m: the engine's spies name their codes,
// the program's procedures write their depths.
void addSoundingAndRock(ListDb& db) {
    db.add(147).setGeometry(kit::soundings({{0, 0}}, {30}));
    db.add(168).set(kit::wordAttr(116, 20)).setGeometry(kit::point(5, 5));
}

// ---------------------------------------------------------------- the swap

TEST_F(ChartPass, TheProgramsSoundingProceduresRunAboveDetailOneWithTheSwitchOff) {
    for (int detail : {0, 1, 2, 7})
        for (bool soundingsSwitch : {true, false}) {
            const std::string label =
                "detail " + std::to_string(detail) + ", switch " + (soundingsSwitch ? "on" : "off");
            TestChart chart;
            addSoundingAndRock(chart.database);
            TChartPassOptions options;
            options.detailWord = detail;
            options.soundingsSwitch = soundingsSwitch;
            ran.clear();
            SoundingDepthLimit = 0; // the pass sets it
            chart.pass(options);
            const bool program = detail > 1 && !soundingsSwitch;
            const std::vector<std::string> expected =
                program ? std::vector<std::string>{"program 3.0", "program 2.0"}
                        : std::vector<std::string>{"engine 147", "engine 168"};
            EXPECT_EQ(whatRan(), expected) << label;
            EXPECT_EQ(SoundingDepthLimit, 5.0) << label;
            EXPECT_TRUE(chart.engineEntries()) << label;
            EXPECT_TRUE(nothingSaved()) << label;
        }
}

TEST_F(ChartPass, TheProceduresGoBackWhenTheQueryFailsOrAProcedureThrows) {
    TChartPassOptions options;
    options.detailWord = 7;
    options.soundingsSwitch = false;

    TestChart refused;
    addSoundingAndRock(refused.database);
    refused.database.refuseQueries = true;
    const TChartPassResult r = refused.pass(options);
    EXPECT_FALSE(r.opened);
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(refused.engineEntries());
    EXPECT_TRUE(nothingSaved());

    TestChart throwing;
    throwing.database.add(147).setGeometry(kit::soundings({{0, 0}}, {30}));
    throwing.database.add(100);
    throwing.database.add(168).set(kit::wordAttr(116, 20));
    throwing.table[100] = throwingSpy;
    EXPECT_THROW(throwing.pass(options), const char*);
    EXPECT_EQ(whatRan(), std::vector<std::string>{"program 3.0"});
    EXPECT_TRUE(throwing.engineEntries());
    EXPECT_TRUE(nothingSaved());
    EXPECT_EQ(throwing.database.walks, 1);
    EXPECT_EQ(throwing.database.ended, 1);

    // The next pass swaps again and saves the engine's procedures, not the
    // program's own.
    throwing.table[100] = engineSpy;
    ran.clear();
    throwing.pass(options);
    EXPECT_EQ(whatRan(), (std::vector<std::string>{"program 3.0", "engine 100", "program 2.0"}));
    EXPECT_TRUE(throwing.engineEntries());
}

// The procedure of code 132 that another operation replaced is put back too.
TEST_F(ChartPass, ASavedProcedureOfCode132GoesBack) {
    TestChart chart;
    chart.table[132] = throwingSpy;
    SavedSymbProcedures().code132 = engineSpy;
    chart.pass();
    EXPECT_EQ(chart.table[132], engineSpy);
    EXPECT_TRUE(nothingSaved());
}

// ---------------------------------------------------------------- scales

// The query reads the cells of the chart level's own engine scale level; the
// exponent is 0 at zoom factor 1 and rises by one per doubling of the zoom.
TEST_F(ChartPass, TheQueryOpensAtTheLevelScaleAndTheExponentFollowsTheZoom) {
    TKV71Dictionary dictionary("KV71Dictionary", DATA_DIR "/dict/");
    TKV71Db sample(dictionary, DATA_DIR "/sample/kv71", 64ul << 20, nullptr);
    const struct {
        int level;
        double zoom;
        int exponent;
    } cases[] = {{6, 1, 0}, {6, 2, 1}, {6, 4, 2},    {6, 16, 4},
                 {4, 1, 0}, {4, 2, 1}, {2, 0.5, -2}, {7, 1, 0}};
    for (const auto& c : cases) {
        const TChartLevel& level = *ChartLevelByIndex(c.level);
        const std::string label =
            "level " + std::to_string(c.level) + " at zoom " + std::to_string(c.zoom);
        TestChart chart;
        chart.database.add(50);
        ran.clear();
        const TChartPassResult r =
            chart.pass({}, level.levelScale, level.displayScale / c.zoom, c.level);
        EXPECT_EQ(chart.database.scale, (unsigned long)level.levelScale) << label;
        EXPECT_EQ(sample.getLevel(chart.database.scale), level.engineScaleLevel) << label;
        ASSERT_EQ(ran.size(), 1u) << label;
        EXPECT_EQ(ran[0].exponent, c.exponent) << label;
        EXPECT_EQ(r.scaleExponent, c.exponent) << label;
    }
}

// ---------------------------------------------------------------- what the pass asks

TEST_F(ChartPass, TheQueryAndTheContextGetTheViewTheFormulaAndTheLevelsZones) {
    TestChart chart;
    chart.database.add(50);
    TChartPassOptions options;
    options.displayMaskA = 0x2B;
    chart.pass(options);
    ASSERT_TRUE(chart.database.formula);
    const TGdbFormula& f = *chart.database.formula;
    EXPECT_EQ(std::vector<std::uint32_t>({f.kind, f.maskA, f.maskB, std::uint32_t(f.firstLayer),
                                          std::uint32_t(f.lastLayer), f.ascending, f.includeCount,
                                          f.excludeCount, f.options}),
              std::vector<std::uint32_t>({0, 0x2B, 0xFFFFFFFF, 2, 1, 1, 0, 0, 0}));
    EXPECT_EQ(f.include, nullptr);
    EXPECT_EQ(f.exclude, nullptr);

    // The query: the view's south-west and north-east corners.
    const auto geo = [&](int x, int y) {
        const Point p{x, y};
        GeoPoint g{};
        chart.view.map()->Map2Geo(&p, &g, 1);
        return g;
    };
    const GeoPoint sw = geo(-128, -128), ne = geo(128, 128);
    EXPECT_EQ(chart.database.rect.lon1, sw.lon);
    EXPECT_EQ(chart.database.rect.lat1, sw.lat);
    EXPECT_EQ(chart.database.rect.lon2, ne.lon);
    EXPECT_EQ(chart.database.rect.lat2, ne.lat);
    // The context: the view grown by 10 pixels on each side.
    ASSERT_EQ(ran.size(), 1u);
    const GeoPoint gsw = geo(-138, -138), gne = geo(138, 138);
    EXPECT_EQ(ran[0].rect.lon1, gsw.lon);
    EXPECT_EQ(ran[0].rect.lat1, gsw.lat);
    EXPECT_EQ(ran[0].rect.lon2, gne.lon);
    EXPECT_EQ(ran[0].rect.lat2, gne.lat);
    EXPECT_LT(ran[0].rect.lat1, chart.database.rect.lat1);

    // Each level's four limits; an index outside the table gives none.
    const std::vector<double> rows[] = {
        {100, 200, 500, 1000}, {100, 200, 500, 1000}, {10, 20, 30, 50}, {10, 20, 30, 50},
        {5, 10, 20, 30},       {5, 10, 15, 20},       {2, 5, 10, 15},   {2, 5, 10, 15}};
    for (int level = 0; level <= 8; ++level) {
        ran.clear();
        chart.pass({}, 50000, 50000, level);
        ASSERT_EQ(ran.size(), 1u);
        EXPECT_EQ(ran[0].zones, level < 8 ? rows[level] : std::vector<double>{})
            << "level " << level;
    }
}

TEST_F(ChartPass, NothingWithoutAMapOrADisplayScale) {
    TestChart chart;
    chart.database.add(50);
    EXPECT_FALSE(DrawChartPass(&chart.database, 50000, 30000, 4, nullptr, chart.dc,
                               TestChart::viewRect(), {})
                     .opened);
    EXPECT_FALSE(chart.pass({}, 50000, 0).opened);
    EXPECT_EQ(chart.database.walks, 0);
    EXPECT_TRUE(ran.empty());
}

// ---------------------------------------------------------------- filters

// The first object code whose class has exactly these primitives.
int codeWithPrimitives(unsigned primitives) {
    for (unsigned code = 0; code < GetObjNum(); ++code)
        if (GetObjDescr(code)->primitives == primitives) return int(code);
    return -1;
}

TEST_F(ChartPass, ClassesAreDrawnByTheirDisplayCategory) {
    TKV71Dictionary dictionary("KV71Dictionary", DATA_DIR "/dict/");
    const struct {
        const char* name;
        int code;
        int category;
    } classes[] = {{"P", codeWithPrimitives(1), 1},
                   {"PS", codeWithPrimitives(9), 9},
                   {"A", codeWithPrimitives(4), 4},
                   {"C", codeWithPrimitives(16), 0},
                   {"no class", int(GetObjNum()), -1}};
    for (const auto& k : classes)
        ASSERT_TRUE(k.code >= 0 && k.code < 256) << k.name;
    for (double zoom : {0.25, 0.5})
        for (const auto& k : classes) {
            const std::string label = std::string(k.name) + " at zoom " + std::to_string(zoom);
            TestChart chart;
            chart.database.add(k.code);
            TChartPassOptions options;
            options.zoomFactor = zoom;
            ran.clear();
            const TChartPassResult r = chart.pass(options);
            const bool drawn = k.category != 1 || zoom >= 0.5;
            EXPECT_EQ(ran.size(), drawn ? 1u : 0u) << label;
            EXPECT_EQ(r.skippedCategory, drawn ? 0 : 1) << label;
        }
    // A category's byte off hides its classes; a code without a class has no
    // byte to look at.
    for (const auto& k : classes) {
        TestChart chart;
        chart.database.add(k.code);
        TChartPassOptions options;
        options.categories.fill(0);
        ran.clear();
        chart.pass(options);
        EXPECT_EQ(ran.size(), k.category < 0 ? 1u : 0u) << k.name;
    }
}

TEST_F(ChartPass, DepthAreasGiveWayToTheReliefAndNeedTheirDeepLimit) {
    TKV71Dictionary dictionary("KV71Dictionary", DATA_DIR "/dict/");
    for (bool relief : {false, true})
        for (int detail : {2, 3})
            for (bool has66 : {false, true})
                for (bool has67 : {false, true}) {
                    TestChart chart;
                    kit::FakeObject& area = chart.database.add(44);
                    if (has66) area.set(kit::wordAttr(66, 100));
                    if (has67) area.set(kit::wordAttr(67, 200));
                    TChartPassOptions options;
                    options.reliefUnderChart = relief;
                    options.detailWord = detail;
                    ran.clear();
                    chart.pass(options);
                    const bool skipped = (relief && detail >= 3) || (has66 && !has67);
                    EXPECT_EQ(ran.size(), skipped ? 0u : 1u)
                        << "relief " << relief << ", detail " << detail << ", 66 " << has66
                        << ", 67 " << has67;
                }
}

// ---------------------------------------------------------------- the sample chart

// The sample chart with the engine's presentation library.
struct SampleChart {
    TKV71Dictionary dictionary{"KV71Dictionary", DATA_DIR "/dict/"};
    TPresLib presentation{&dictionary, "INT1Pres", DATA_DIR "/dict/"};
    std::unique_ptr<TKV71Db> database;
    SampleChart() {
        dictionary.SetPresentation(&presentation);
        database =
            std::make_unique<TKV71Db>(dictionary, DATA_DIR "/sample/kv71", 64ul << 20, nullptr);
    }
    ~SampleChart() {
        database.reset();
        dictionary.SetPresentation(nullptr);
    }
};

// Bergen harbour, 640 x 360 at the given level's display scale.
struct HarbourView {
    static constexpr int kWidth = 640, kHeight = 360;
    explicit HarbourView(int levelIndex) : level(*ChartLevelByIndex(levelIndex)) {
        map = newMap(PRJ_MERCATOR, std::uint32_t(level.displayScale),
                     GeoPoint{deg2nrm(5.30), deg2nrm(60.398)}, 85, 48, 3780, 3780, nullptr);
        dc.setMapping(gdi::Mapping::yUp(kWidth / 2, kHeight / 2));
    }
    ~HarbourView() { delete map; }
    static Rect view() { return {-kWidth / 2, -kHeight / 2, kWidth / 2, kHeight / 2}; }
    TChartPassResult pass(TGeoDb& db, const TChartPassOptions& options = {}) {
        return DrawChartPass(&db, level.levelScale, level.displayScale, level.index, map, dc,
                             view(), options);
    }
    const TChartLevel& level;
    Map* map;
    gdi::RecordingDc dc{kWidth, kHeight};
};

long cellLocks() {
    long locks = 0;
    for (TGeoCell* c = KV71CellCacheList().head; c; c = c->next)
        locks += c->lockCount;
    return locks;
}

TEST_F(ChartPass, OnTheSampleChartAThrowingProcedureLeavesNoCellLockedAndNoSwap) {
    SampleChart sample;
    HarbourView harbour(5);
    TChartPassOptions options;
    options.detailWord = 6;
    options.soundingsSwitch = false;
    const long before = cellLocks();
    const CondSymbProc depthAreas = sample.presentation.setSymbProcedure(44, throwingSpy);
    EXPECT_THROW(harbour.pass(*sample.database, options), const char*);
    sample.presentation.setSymbProcedure(44, depthAreas);
    EXPECT_EQ(cellLocks(), before);
    EXPECT_GT(KV71CellCacheList().count, 0u);
    EXPECT_EQ(sample.presentation.procs[147], Int1Proc147);
    EXPECT_EQ(sample.presentation.procs[168], Int1Proc168);
    EXPECT_TRUE(nothingSaved());
}

// Level index 4 walks exactly what a query of the level-E cells returns.
TEST_F(ChartPass, OnTheSampleChartLevelIndexFourReadsTheLevelECells) {
    SampleChart sample;
    HarbourView approaches(4);
    std::vector<int> passed;
    const TChartPassResult r = DrawChartPass(
        sample.database.get(), approaches.level.levelScale, approaches.level.displayScale, 4,
        approaches.map, approaches.dc, HarbourView::view(), {},
        [&](GdbObject& o, bool) { passed.push_back(o.GetLabel()); });
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(sample.database->getLevel(r.queryScale), 5); // E

    const auto walk = [&](int engineLevel) {
        GeoRect rect{static_cast<std::int32_t>(0x80000001u), static_cast<std::int32_t>(0xC0000000u),
                     0x7FFFFFFF, 0x40000000};
        const Rect v = HarbourView::view();
        approaches.map->Map2Geo(&v, &rect, 1);
        const TGdbFormula formula = ChartPassFormula(15);
        TGdbQuery query(*sample.database);
        std::vector<int> codes;
        if (query.open(rect, engineLevel, &formula))
            while (GdbObject* o = query.next())
                codes.push_back(o->GetLabel());
        return codes;
    };
    EXPECT_FALSE(passed.empty());
    EXPECT_EQ(passed, walk(5));
    EXPECT_NE(passed, walk(6));
}

} // namespace
