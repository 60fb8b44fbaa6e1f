// The 3D export: files read back with VTK's own reader against the points the
// rules give (a fixture with one object per rule, an empty view, a view across
// 180 degrees, the screen mask, the sample chart), and the writer's edges: a
// count above six digits, a decimal-comma locale, a folder in the way.
#include "ExchangeTestSupport.h"
#include "fake/FakeExchange.h"

#include "proj/newMap.h"
#include "ui/Cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <dlfcn.h>
#include <regex>

namespace {

using namespace exchangetest;
using kv71write::CellFile;
using kv71write::floatAttribute;
using kv71write::stringAttribute;
using kv71write::wordAttribute;

constexpr int kLevel = 5;             // level E ...
constexpr int kLevelIndex = 4;        // ... drawn at chart level index 4
constexpr double kLevelScale = 50000; // whose level scale reads it
constexpr unsigned long kScale = 50000;

// Object codes of the project's dictionary.
constexpr std::uint8_t UWTROC = 168, COALNE = 35, SYMLIN = 193, DEPCNT = 45, DRYARE = 78,
                       DEPARE = 44;

// The cell of the rules, one object per rule, in file order.
CellFile rulesCell() {
    CellFile c;
    c.points = {{5000, 5000}, {8000, 5000}, {60000, 5000}};
    c.edges = {
        {{{5000, 10000}, {9000, 12000}, {13000, 10000}}, {}},                   // 0 open
        {{{5000, 15000}, {9000, 17000}, {13000, 15000}, {5000, 15000}}, {}},    // 1 closed
        {{{5000, 20000}, {9000, 20000}, {60000, 20000}}, {}},                   // 2 ends outside
        {{{15000, 5000}, {20000, 6000}}, {}},                                   // 3
        {{{15000, 10000}, {20000, 11000}}, {}},                                 // 4
        {{{15000, 15000}, {20000, 16000}}, {}},                                 // 5
        {{{15000, 20000}, {20000, 21000}}, {}},                                 // 6
        {{{25000, 5000}, {30000, 5000}, {30000, 9000}, {25000, 5000}}, {}},     // 7
        {{{25000, 15000}, {30000, 15000}, {30000, 19000}, {25000, 15000}}, {}}, // 8
    };
    c.soundings = {{{{35000, 5000, 50},
                     {36000, 5000, 12005},
                     {37000, 5000, 0},
                     {38000, 5000, 11999},
                     {39000, 5000, 12000},
                     {60000, 5000, 70}},
                    {}}};
    c.objects = {
        pointObject(UWTROC, 0),                           // 0: no depth
        pointObject(UWTROC, 1, {wordAttribute(116, 35)}), // 1: 3.5 m
        pointObject(UWTROC, 2, {wordAttribute(116, 50)}), // 2: outside the view
        lineObject(COALNE, 0),                            // 3
        lineObject(COALNE, 1),                            // 4
        lineObject(COALNE, 2),                            // 5
        lineObject(SYMLIN, 3, {stringAttribute(129, "ABC"), floatAttribute(113, 7.5f)}), // 6
        lineObject(SYMLIN, 4, {floatAttribute(113, 3.0f)}),  // 7: no symbol code
        lineObject(DEPCNT, 5, {floatAttribute(113, 12.5f)}), // 8
        lineObject(DEPCNT, 6),                               // 9: no depth
        areaObject(DRYARE, 7),                               // 10
        areaObject(DEPARE, 8),                               // 11
        soundingObject(0),                                   // 12
    };
    return c;
}

// What each object of rulesCell() gives: the indices of its points written,
// their z, and whether the last point follows once more.
struct Expected {
    int object;
    std::vector<int> points;
    double z;
    bool repeatLast = false;
};
std::vector<Expected> rulesExpected(int detailWord) {
    std::vector<Expected> e = {
        {0, {0}, -0.1},     {1, {0}, -3.5},    {3, {0, 1, 2}, 0.0, true}, {4, {0, 1, 2, 3}, 0.0},
        {5, {0, 1}, 0.0}, // its last point lies outside, so it is not repeated
        {8, {0, 1}, -12.5}, {9, {0, 1}, -0.1}, {10, {0, 1, 2, 3}, -0.5},  {11, {0, 1, 2, 3}, -0.1},
    };
    if (detailWord >= 5) e.push_back({6, {0, 1}, -7.5});
    return e;
}
// Soundings, by their depth rule.
const double soundingZ[] = {-5.0, -5.0, -0.1, -1199.9, -1200.0};

GeoRect degreesRect(double west, double south, double east, double north) {
    return GeoRect{deg2nrm(west), deg2nrm(south), deg2nrm(east), deg2nrm(north)};
}

ViewerExchangeInput inputFor(const GeoRect& view, TKV71Db* db, int detailWord) {
    ViewerExchangeInput in;
    in.clientWidth = 1920;
    in.clientHeight = 1080;
    in.view = view;
    in.levelIndex = kLevelIndex;
    in.levelScale = kLevelScale;
    in.detailWord = detailWord;
    in.database = db;
    return in;
}

struct ExpectedPoint {
    long x, y;
    double z;
};

void writeExpected(const std::string& path, const std::vector<ExpectedPoint>& points) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    for (const ExpectedPoint& p : points)
        std::fprintf(f, "%ld %ld %.3f\n", p.x, p.y, p.z);
    std::fclose(f);
}

// Runs the VTK reader over (file, expected list or "-") pairs; fails the test
// with the reader's report unless every file passes.
void vtkReadBack(const TempCurrentFolder& folder, const std::vector<std::string>& pairs) {
    std::string command = std::string("/usr/bin/python3 ") + VTK_READ_BACK;
    for (const std::string& a : pairs)
        command += " " + a;
    const std::string report = folder / "vtk-report.txt";
    command += " > " + report + " 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << readFile(report);
}

class Clip3DExport : public ::testing::Test {
  protected:
    void TearDown() override {
        ScreenMask().clear();
        UnloadViewerExchange();
    }
    // Exports `in.view` and keeps the file under `name`: the count, or -1.
    long exportAs(const std::string& name, const ViewerExchangeInput& in) {
        const long n = ExportClip3D(in.view, in.levelIndex, in);
        if (n >= 0) std::filesystem::rename(folder / "Clip3D.vtk", folder / name);
        return n;
    }

    TempCurrentFolder folder;
};

TEST_F(Clip3DExport, FixtureViewsReadBackWithVtk) {
    ChartTree tree(folder.path());
    tree.addCell(15, 450, kLevel, rulesCell());
    // Three soundings: two in one 10-pixel cell, one well away.
    CellFile maskCell;
    maskCell.soundings = {{{{32768, 32768, 40}, {32788, 32788, 60}, {34768, 32768, 80}}, {}}};
    maskCell.objects = {soundingObject(0)};
    tree.addCell(16, 450, kLevel, maskCell);
    // Two cells on either side of 180 degrees.
    for (int lon : {539, 540}) {
        CellFile c;
        c.soundings = {{{{static_cast<std::uint16_t>(lon == 539 ? 60000 : 5000), 5000, 100}}, {}}};
        c.objects = {soundingObject(0)};
        tree.addCell(lon, 300, kLevel, c);
    }
    tree.open();

    std::vector<std::string> pairs;
    auto check = [&](const std::string& name, const ViewerExchangeInput& in,
                     const std::vector<ExpectedPoint>& want) {
        SCOPED_TRACE(name);
        EXPECT_EQ(exportAs(name + ".vtk", in), static_cast<long>(want.size()));
        writeExpected(folder / (name + ".txt"), want);
        pairs.push_back(folder / (name + ".vtk"));
        pairs.push_back(folder / (name + ".txt"));
    };

    // The rules, at detail words 4 and 5 (code 193 only at 5).
    const GeoRect rulesView = degreesRect(5.005, 60.005, 5.25, 60.3);
    const GeoPoint rulesOrigin{rulesView.lon1, rulesView.lat1};
    const auto objects = tree.objectPoints(15, 450, kLevel, kScale);
    for (int detail : {4, 5}) {
        std::vector<ExpectedPoint> want;
        for (const Expected& e : rulesExpected(detail)) {
            const std::vector<GeoPoint>& p = objects.at(e.object).points;
            for (int i : e.points) {
                const auto [x, y] = exchangeOf(p.at(static_cast<std::size_t>(i)), rulesOrigin);
                want.push_back({x, y, e.z});
            }
            if (e.repeatLast) {
                const auto [x, y] = exchangeOf(p.back(), rulesOrigin);
                want.push_back({x, y, 0.0});
            }
        }
        const std::vector<GeoPoint>& s = objects.at(12).points;
        for (std::size_t i = 0; i < std::size(soundingZ); ++i) {
            const auto [x, y] = exchangeOf(s[i], rulesOrigin);
            want.push_back({x, y, soundingZ[i]});
        }
        check("rules" + std::to_string(detail), inputFor(rulesView, tree.db.get(), detail), want);
    }
    // Every line in "C" form: "x y z" with one decimal.
    const std::string text = readFile(folder / "rules5.vtk");
    const std::regex line("-?[0-9]+ -?[0-9]+ -?[0-9]+\\.[0-9]\n");
    std::size_t at = text.find("double\n") + 7;
    int lines = 0;
    for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1, ++lines)
        EXPECT_TRUE(std::regex_match(text.substr(at, end - at + 1), line))
            << text.substr(at, end - at);
    EXPECT_GT(lines, 20);

    // No chart here: an empty view.
    const ViewerExchangeInput empty = inputFor(degreesRect(20, 60, 20.2, 60.1), tree.db.get(), 5);
    check("empty", empty, {});
    EXPECT_EQ(readFile(folder / "empty.vtk"), "# vtk DataFile Version 2.0\nSolvanor Output\n"
                                              "ASCII\nDATASET POLYDATA\nPOINTS      0 double\n");

    // Across 180 degrees: x keeps growing eastwards over the antimeridian.
    const GeoRect across = degreesRect(179.9, 10.01, -179.9, 10.3);
    std::vector<ExpectedPoint> acrossWant;
    for (int lon : {539, 540}) {
        const GeoPoint p = tree.objectPoints(lon, 300, kLevel, kScale).at(0).points.at(0);
        const auto [x, y] = exchangeOf(p, GeoPoint{across.lon1, across.lat1});
        acrossWant.push_back({x, y, -10.0});
    }
    EXPECT_GT(acrossWant[0].x, 0);
    EXPECT_GT(acrossWant[1].x, acrossWant[0].x);
    check("across180", inputFor(across, tree.db.get(), 5), acrossWant);

    // Two soundings in one screen cell are both written; with that cell
    // marked, neither is (the third, in another cell, always is).
    const std::vector<GeoPoint> ms = tree.objectPoints(16, 450, kLevel, kScale).at(0).points;
    std::unique_ptr<Map> map(newMap(PRJ_MERCATOR, 30000, ms[0], 254, 143, 3780, 3780, nullptr));
    ASSERT_NE(map, nullptr);
    Point plane[3];
    map->Geo2Map(ms.data(), plane, 3);
    const auto cell = Clip3DScreenMask::cellOf(plane[0].x, plane[0].y);
    ASSERT_EQ(Clip3DScreenMask::cellOf(plane[1].x, plane[1].y), cell);
    ASSERT_FALSE(Clip3DScreenMask::cellOf(plane[2].x, plane[2].y) == cell);
    const GeoRect maskView = degreesRect(5.34, 60.01, 5.66, 60.32);
    ViewerExchangeInput masked = inputFor(maskView, tree.db.get(), 5);
    masked.map = map.get();
    std::vector<ExpectedPoint> all;
    const double depths[] = {-4.0, -6.0, -8.0};
    for (int i = 0; i < 3; ++i) {
        const auto [x, y] =
            exchangeOf(ms[static_cast<std::size_t>(i)], GeoPoint{maskView.lon1, maskView.lat1});
        all.push_back({x, y, depths[i]});
    }
    check("unmasked", masked, all);
    ScreenMask().mark(cell);
    check("masked", masked, {all[2]});
    // A mask of the caller's own is taken in place of the program's.
    Clip3DScreenMask clear;
    masked.screenMask = &clear;
    check("ownMask", masked, all);

    vtkReadBack(folder, pairs);
}

TEST_F(Clip3DExport, ScreenCellsAroundTheCentreAreTenPixelsWide) {
    struct Case {
        long x, y;
        int column, row;
    } cases[] = {
        {0, 0, 80, 59},     {9, 9, 80, 59},       {10, 10, 81, 58},     {-1, -1, 79, 60},
        {-10, -10, 79, 60}, {-11, -11, 78, 61},   {-1, 0, 79, 59},      {0, -1, 80, 60},
        {799, 599, 159, 0}, {-800, -600, 0, 119}, {5000, 5000, 159, 0}, {-5000, -5000, 0, 119},
    };
    for (const Case& c : cases) {
        const Clip3DScreenMask::Cell cell = Clip3DScreenMask::cellOf(c.x, c.y);
        EXPECT_EQ(cell.column, c.column) << c.x << "," << c.y;
        EXPECT_EQ(cell.row, c.row) << c.x << "," << c.y;
    }
    Clip3DScreenMask mask;
    EXPECT_FALSE(mask.any());
    mask.mark({3, 4});
    mask.mark({3, 4});
    mask.mark({160, 0}); // outside the grid: ignored
    EXPECT_TRUE(mask.marked({3, 4}));
    EXPECT_FALSE(mask.marked({4, 3}));
    mask.mark({3, 4}, false);
    EXPECT_FALSE(mask.any());
}

// The sample chart of the Bergen approaches at chart level index 4, a full
// 1920 x 1080 view: the header's count is the number of lines, and VTK agrees.
TEST_F(Clip3DExport, SampleChartViewReadsBack) {
    const std::string root = std::string(DATA_DIR) + "/sample/kv71/";
    const std::string dict = std::string(DATA_DIR) + "/dict/";
    TKV71Dictionary dictionary("KV71Dictionary", dict.c_str());
    TKV71Db db(dictionary, root.c_str(), 64ul << 20, nullptr);
    std::unique_ptr<Map> map(newMap(PRJ_MERCATOR, 30000,
                                    GeoPoint{deg2nrm(5.3333), deg2nrm(60.3333)}, 254, 143, 3780,
                                    3780, nullptr));
    ViewerExchangeInput in = inputFor(map->window, &db, 5);
    in.map = map.get();
    const long n = exportAs("bergen.vtk", in);
    EXPECT_GT(n, 1000);
    vtkReadBack(folder, {folder / "bergen.vtk", "-"});
    // Without the window's map every object's points are looked at, not only
    // those of the objects the chart's clipping finds near the view: the
    // same file.
    in.map = nullptr;
    EXPECT_EQ(exportAs("unclipped.vtk", in), n);
    EXPECT_EQ(readFile(folder / "unclipped.vtk"), readFile(folder / "bergen.vtk"));
}

// More than 999,999 points: the count is simply wider, and every point has
// its line. (Rewriting a six-place count in place broke the file here.)
TEST_F(Clip3DExport, AMillionAndOnePoints) {
    ChartTree tree(folder.path());
    CellFile c;
    long remaining = 1000001;
    for (std::uint16_t set = 0; remaining > 0; ++set) {
        const long n = std::min(remaining, 65535L);
        kv71write::SoundingSet s;
        for (long i = 0; i < n; ++i)
            s.points.push_back({static_cast<std::uint16_t>(1000 + i % 250 * 200),
                                static_cast<std::uint16_t>(1000 + i / 250 % 250 * 200 + set),
                                static_cast<std::uint16_t>(10 + set)});
        c.soundings.push_back(std::move(s));
        c.objects.push_back(soundingObject(set));
        remaining -= n;
    }
    tree.addCell(15, 450, kLevel, c);
    tree.open();
    const ViewerExchangeInput in =
        inputFor(degreesRect(5.0001, 60.0001, 5.3332, 60.3332), tree.db.get(), 5);
    EXPECT_EQ(ExportClip3D(in.view, in.levelIndex, in), 1000001);
    const std::string text = readFile(folder / "Clip3D.vtk");
    const std::string head = "# vtk DataFile Version 2.0\nSolvanor Output\nASCII\n"
                             "DATASET POLYDATA\nPOINTS 1000001 double\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(std::count(text.begin() + static_cast<long>(head.size()), text.end(), '\n'), 1000001);
}

// Numbers are written in "C" form under a decimal-comma locale, and the busy
// cursor shows during the export and goes afterwards.
TEST_F(Clip3DExport, LocaleDoesNotChangeTheFile) {
    ChartTree tree(folder.path());
    tree.addCell(15, 450, kLevel, rulesCell());
    tree.open();
    const ViewerExchangeInput in =
        inputFor(degreesRect(5.005, 60.005, 5.25, 60.3), tree.db.get(), 5);

    std::vector<std::string> shapes;
    ui::SetCursorObserver([&](const ui::TCursorRequest& r) {
        if (r.kind == ui::TCursorRequest::Shape) shapes.push_back(r.cursor);
    });
    ASSERT_GT(exportAs("c.vtk", in), 0);
    ui::SetCursorObserver({});
    EXPECT_EQ(shapes, (std::vector<std::string>{"IDC_APPSTARTING", ""}));

    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "nb_NO.UTF-8"), nullptr) << "needs the locales-all package";
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.1f", 2.5);
    EXPECT_STREQ(comma, "2,5"); // the locale is in force
    const long n = exportAs("nb.vtk", in);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_GT(n, 0);
    EXPECT_EQ(readFile(folder / "nb.vtk"), readFile(folder / "c.vtk"));
}

// A folder named Clip3D.vtk in the way: -1, the reference point and the
// status words stay, and no temporary file is left.
TEST_F(Clip3DExport, FailureChangesNothing) {
    ASSERT_TRUE(LoadViewerExchange(FAKE_EXCHANGE_LIBRARY));
    ViewerExchangeInput in = inputFor(degreesRect(20, 60, 20.2, 60.1), nullptr, 5);
    ASSERT_EQ(ExportClip3D(in.view, in.levelIndex, in), 0); // no database: no points
    const Clip3DReference first = Clip3DReferencePoint();
    EXPECT_TRUE(first.set);
    EXPECT_EQ(first.origin.lon, in.view.lon1);
    EXPECT_EQ(first.origin.lat, in.view.lat1);

    std::filesystem::remove(folder / "Clip3D.vtk");
    std::filesystem::create_directory(folder / "Clip3D.vtk");
    FakeExchangeStateFn stateOf = nullptr;
    void* handle = ::dlopen(FAKE_EXCHANGE_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    stateOf = reinterpret_cast<FakeExchangeStateFn>(::dlsym(handle, "FakeExchange_State"));
    FakeExchangeState& fake = *stateOf();
    fake.calls.clear();
    fake.words[0] = 0x1000;

    ViewerExchangeInput other = inputFor(degreesRect(21, 61, 21.2, 61.1), nullptr, 5);
    EXPECT_EQ(ExportClip3D(other.view, other.levelIndex, other), -1);
    EXPECT_TRUE(fake.calls.empty()) << fake.calls.front().name;
    EXPECT_EQ(fake.words[0], 0x1000u);
    EXPECT_EQ(Clip3DReferencePoint().origin.lon, first.origin.lon);
    EXPECT_EQ(Clip3DReferencePoint().origin.lat, first.origin.lat);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
        EXPECT_EQ(e.path().filename(), "Clip3D.vtk");
    }
    EXPECT_EQ(entries, 1);
    ::dlclose(handle);

    // A level index that is not the input's writes nothing.
    EXPECT_EQ(ExportClip3D(other.view, 3, other), -1);
}

} // namespace
