// The buoyage region of a lateral buoy that carries none, from the coverage
// objects of a KV71 chart tree written into a temporary folder: a query
// nested in the drawing pass's own query on the same database.
#include "procedureKit.h"

#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "kv71/TGeoCell.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71DbObject.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "procedures/BuoyageRegion.h"
#include "procedures/Int1Procs.h"

#include "tools/kv71/BlockIndexWriter.h"
#include "tools/kv71/CellFileWriter.h"
#include "tools/kv71/DictionaryWriter.h"
#include "tools/kv71/TreeLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Two level E cells side by side at 60.33-60.67 N: the western one (5.00-5.33
// E) holds a coverage object without a region, then one of region 2 (IALA
// B); the eastern one (5.33-5.67 E) a coverage object without a region only.
// Each holds a port-hand buoy without colour and region 0.004 degrees from
// their common edge, at 60.40 N; the western one also a light.
constexpr int kLevel = 5, kWest = 15, kEast = 16, kRow = 451;
constexpr double kEdge = kEast / 3.0, kLat = 60.40, kOffset = 0.004;

kv71write::LocalPoint localPoint(int lonIndex, double lon, double lat) {
    const kv71write::DegreeBox b = kv71write::cellDegrees(lonIndex, kRow, kLevel);
    const double x = (kv71write::mercatorX(lon) - kv71write::mercatorX(b.west)) /
                     (kv71write::mercatorX(b.east) - kv71write::mercatorX(b.west));
    const double y = (kv71write::mercatorY(lat) - kv71write::mercatorY(b.south)) /
                     (kv71write::mercatorY(b.north) - kv71write::mercatorY(b.south));
    return {static_cast<std::uint16_t>(std::lround(x * 65535)),
            static_cast<std::uint16_t>(std::lround(y * 65535))};
}

kv71write::CellObject coverage(std::vector<kv71write::CellAttribute> attributes) {
    kv71write::CellObject o;
    o.classCode = 217;
    o.geometry = kv71write::AreaGeometry;
    o.edgeRefs = {kv71write::areaRef(0)};
    o.attributes = std::move(attributes);
    return o;
}

kv71write::CellObject pointObject(std::uint8_t code, std::uint16_t index,
                                  std::vector<kv71write::CellAttribute> attributes) {
    kv71write::CellObject o;
    o.classCode = code;
    o.geometry = kv71write::PointGeometry;
    o.index = index;
    o.attributes = std::move(attributes);
    return o;
}

kv71write::CellFile cell(int lonIndex, double buoyLon, bool withRegion) {
    kv71write::CellFile c;
    c.header = kv71write::cellHeaderFor(lonIndex, kRow, kLevel);
    c.edges.push_back({{{0, 0}, {65535, 0}, {65535, 65535}, {0, 65535}, {0, 0}}, {}});
    c.points = {localPoint(lonIndex, buoyLon, kLat)};
    c.objects.push_back(coverage({}));
    if (withRegion) c.objects.push_back(coverage({kv71write::byteAttribute(84, 2)}));
    c.objects.push_back(pointObject(18, 0, {kv71write::byteAttribute(24, 1)}));
    if (withRegion) c.objects.push_back(pointObject(86, 0, {}));
    return c;
}

// "code@lon.index" of a chart object of the tree.
std::string describe(GdbObject* object) {
    auto* o = dynamic_cast<TKV71DbObject*>(object);
    if (!o || !o->GetRecord()) return "?";
    return std::to_string(o->GetLabel()) + "@" + std::to_string(o->GetCell()->lon) + "." +
           std::to_string(o->GetRecord() - o->GetCell()->objects);
}

class BuoyageRegion : public kit::ProcedureTest {
  protected:
    void SetUp() override {
        kit::ProcedureTest::SetUp();
        const std::string dict = folder.path() + "dict", root = folder.path() + "chart/";
        std::filesystem::create_directories(dict);
        std::filesystem::create_directories(root);
        kv71write::DictionarySet set;
        set.attributes = {{"CATLAM", 24, "aBYTE", "1", "4", "Category of lateral mark", {}},
                          {"MRKCOL", 60, "aBYTE", "1", "17", "Colouring", {}},
                          {"MARSYS", 84, "aBYTE", "0", "10", "Buoyage region", {}},
                          {"BOYSHP", 105, "aBYTE", "1", "10", "Buoy shape", {}}};
        set.objects = {
            {"BOYLAT", 18, "P", 60, "Buoy, lateral", {"BOYSHP", "MRKCOL", "CATLAM", "MARSYS"}},
            {"LIGHTS", 86, "P", 70, "Light", {}},
            {"M_COVR", 217, "A", 1, "Coverage", {"MARSYS"}}};
        ASSERT_TRUE(kv71write::writeDictionaries(dict, set));
        folder.write("OBJLUT.DIC", "BOYLAT|18|1|1\nLIGHTS|86|1|1\nM_COVR|217|1|1\n");
        folder.write("ATTRLUT.DIC", "; none\n");

        ASSERT_TRUE(kv71write::writeCellFile(root, kWest, kRow, kLevel,
                                             cell(kWest, kEdge - kOffset, true)));
        ASSERT_TRUE(kv71write::writeCellFile(root, kEast, kRow, kLevel,
                                             cell(kEast, kEdge + kOffset, false)));
        kv71write::BlockIndex index;
        kv71write::InfGroup group;
        group.level = kLevel - 1;
        group.cells = {kv71write::infCellOf(kWest, kRow, kLevel),
                       kv71write::infCellOf(kEast, kRow, kLevel)};
        index.groups.push_back(group);
        ASSERT_TRUE(kv71write::writeBlockIndex(root, kWest, kRow, index));

        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", (dict + "/").c_str());
        presentation =
            std::make_unique<TPresLib>(dictionary.get(), "INT1Pres", folder.path().c_str());
        dictionary->SetPresentation(presentation.get());
        db = std::make_unique<TKV71Db>(*dictionary, root.c_str(), 16ul << 20, nullptr);
        settings.lonDeg = kEdge;
        settings.latDeg = kLat;
    }
    void TearDown() override {
        db.reset();
        if (dictionary) dictionary->SetPresentation(nullptr);
        presentation.reset();
        dictionary.reset();
        kit::ProcedureTest::TearDown();
    }

    // The port-hand buoy without colour and region as a chart object of the
    // tree's database, at a window point of the view, drawn: the colour of
    // its body.
    int bodyColour(Point at, int scaleExponent = 0) {
        kit::FakeObject buoy(18, db.get());
        buoy.set(kit::byteAttr(24, 1)).setGeometry(kit::point(at.x, at.y));
        kit::Settings s = settings;
        s.scaleExponent = scaleExponent;
        const kit::Drawing d = kit::run(Int1Proc18, buoy, s);
        const std::vector<kit::Call> glyphs = d.texts(33);
        EXPECT_EQ(glyphs.size(), 2u) << d.log(); // "A0401": body, outline
        return glyphs.empty() ? -1 : glyphs[0].colour;
    }

    kit::TempFolder folder;
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TPresLib> presentation;
    std::unique_ptr<TKV71Db> db;
    kit::Settings settings;
};

constexpr int kGreen = 4, kRed = 2;

TEST_F(BuoyageRegion, FromTheCoverageOfTheBuoysCell) {
    // 0.004 degrees of longitude at 60.4 N are about 16.5 pixels at 1:50,000.
    EXPECT_EQ(bodyColour({-16, 0}), kit::paletteIndex(kGreen)) << "region 2 (IALA B)";
    EXPECT_EQ(bodyColour({16, 0}), kit::paletteIndex(kRed)) << "no region: IALA A";
}

// Scales without cells, and without any level, give no region; shifts far
// beyond the word's width saturate instead of being undefined.
TEST_F(BuoyageRegion, ScalesWithoutCellsGiveNoRegion) {
    struct Case {
        int exponent;
        int colour;
    };
    const Case cases[] = {{0, kGreen}, {1, kRed},       {-1, kRed},     {40, kRed},
                          {-40, kRed}, {INT_MAX, kRed}, {INT_MIN, kRed}};
    for (const Case& c : cases)
        EXPECT_EQ(bodyColour({-16, 0}, c.exponent), kit::paletteIndex(c.colour)) << c.exponent;

    EXPECT_EQ(RegionQueryScale(50000, 0), 50000ul);
    EXPECT_EQ(RegionQueryScale(50000, 2), 200000ul);
    EXPECT_EQ(RegionQueryScale(50000, -1), 25000ul);
    EXPECT_EQ(RegionQueryScale(50000, 17), 0xFFFFFFFFul);
    EXPECT_EQ(RegionQueryScale(50000, 40), 0xFFFFFFFFul);
    EXPECT_EQ(RegionQueryScale(50000, -40), 0ul);
    EXPECT_EQ(RegionQueryScale(50000, INT_MIN), 0ul);
}

// The drawing pass walks its own query over the tree and draws each object:
// the buoys' nested queries leave its walk as it was.
TEST_F(BuoyageRegion, TheDrawingPassWalksOnUndisturbed) {
    const TGdbFormula drawing{0, 0xFFFFFFFFu, 0x0FFFFFFFu, 2, 1, 1, 0, nullptr, 0, nullptr, 0};
    const auto walk = [&](TMapContext* context, GeoRect rect) {
        std::vector<std::string> got;
        TGdbQuery pass(*db);
        EXPECT_EQ(pass.open(rect, 50000ul, &drawing), 1);
        while (GdbObject* o = pass.next()) {
            got.push_back(describe(o));
            if (context) context->Draw(o);
        }
        pass.close();
        return got;
    };
    kit::View view(settings);
    const std::vector<std::string> alone = walk(nullptr, view.rect());
    EXPECT_EQ(alone, (std::vector<std::string>{"217@15.0", "217@15.1", "217@16.0", "18@15.2",
                                               "18@16.1", "86@15.3"}));
    std::vector<std::string> drawn;
    const kit::Drawing d =
        kit::record([&](TMapContext& context) { drawn = walk(&context, context.rect); }, settings);
    EXPECT_EQ(drawn, alone);

    // Each buoy in the colours of its own cell's region.
    const std::vector<kit::Call> glyphs = d.texts(33);
    ASSERT_EQ(glyphs.size(), 4u) << d.log();
    EXPECT_EQ(glyphs[0].colour, kit::paletteIndex(kGreen));
    EXPECT_LT(glyphs[0].points.at(0).x, 0);
    EXPECT_EQ(glyphs[2].colour, kit::paletteIndex(kRed));
    EXPECT_GT(glyphs[2].points.at(0).x, 0);
}

TEST_F(BuoyageRegion, NoDatabaseOrMapGivesNoRegion) {
    kit::View view(settings);
    TMapContext context = view.context(nullptr);
    EXPECT_EQ(BuoyageRegionAt(&context, db.get(), {-16, 0}), 2u);
    EXPECT_EQ(BuoyageRegionAt(&context, nullptr, {-16, 0}), 0u);
    EXPECT_EQ(BuoyageRegionAt(nullptr, db.get(), {-16, 0}), 0u);
    context.map = nullptr;
    EXPECT_EQ(BuoyageRegionAt(&context, db.get(), {-16, 0}), 0u);
}

} // namespace
