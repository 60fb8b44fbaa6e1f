// The chart window's drawing and picking of the user's stored objects on a
// real store on the machine's disk (in /var/tmp, or STORE_BENCH_DIR): 10,000
// symbols spread over three by three views, 200 routes of 50 points, a route
// of 499 points and a track of 10,000 points, all written through DbaseWin
// before the first measurement. Qt offscreen, a chart window with a client
// of 1920 x 1080 at 1:15,000 over Bergen, drawing on a raster picture of that
// size. Medians of five repetitions, warm.
//
//   BM_PickSymbolAtTheEnd   code 405 clicked on the symbol last in key order:
//                           the walk over all 10,000 (goal 50 ms)
//   BM_SymbolsWithLabels    code 105: the symbols in view with their labels
//                           (goal 100 ms)
//   BM_StoredRoute          the 499-point route read from the store and drawn
//   BM_TableRoute           the same route drawn from the route table
//   BM_Track                the 10,000-point track, twenty batches of 500
#include "app/ViewerModule.h"
#include "chart/ChartPainting.h"
#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "gdi/Bitmap.h"
#include "gdi/RasterDc.h"
#include "proj/newMap.h"
#include "store/DbaseWin.h"
#include "ui/Application.h"
#include "ui/Frame.h"
#include "ui/Screen.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <sys/vfs.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kPixelsPerMetre = 3780;
constexpr std::uint32_t kScale = 15000;
constexpr double kLon = 5.3205, kLat = 60.3975;
constexpr int kSymbols = 10000, kRoutes = 200, kRoutePoints = 50;
constexpr std::int32_t kFirstSymbol = 1000, kFirstRoute = 20000;
constexpr std::int32_t kLongRoute = 30000, kTrack = 30001;
constexpr int kLongRoutePoints = 499, kTrackPoints = 10000;

Map* viewMap() {
    const int halfW = int(std::ceil(kWidth / 2.0 * 1000 / kPixelsPerMetre));
    const int halfH = int(std::ceil(kHeight / 2.0 * 1000 / kPixelsPerMetre));
    return newMap(PRJ_MERCATOR, kScale, GeoPoint{deg2nrm(kLon), deg2nrm(kLat)}, halfW, halfH,
                  kPixelsPerMetre, kPixelsPerMetre, nullptr);
}

struct Units {
    std::int32_t latitude, longitude;
};
Units unitsAt(Map& map, const ChartPoint& p) {
    const GeoPoint g = GeoPointOf(map, p);
    return {BinaryAngleToStoreUnits(g.lat), BinaryAngleToStoreUnits(g.lon)};
}

void addObject(DbaseWin& store, std::uint16_t kind, std::int32_t id, const Units& at,
               const std::string& name, std::uint16_t colour, std::uint16_t count) {
    IdRecord r;
    r.kind = kind;
    r.id = id;
    r.latitude = at.latitude;
    r.longitude = at.longitude;
    r.timeStamp = 1781258400 + id;
    r.colour = colour;
    r.length = 12;
    r.pointCount = count;
    r.name = name;
    store.CurrentIdRecord = r;
    if (isam::ADDREC(kIdFileNumber, r.Encode().data()) != 0) std::abort();
}

void addPoint(DbaseWin& store, std::int32_t id, int number, const Units& at) {
    PointRecord p;
    p.id = id;
    p.number = static_cast<std::uint16_t>(number);
    p.latitude = at.latitude;
    p.longitude = at.longitude;
    store.CurrentPointRecord = p;
    if (store.WritePointRecord() != 0) std::abort();
}

// The points of the 499-point route and of the track: across the view.
ChartPoint longRoutePoint(int k) {
    return {-900 + (k * 1800) / kLongRoutePoints, int(std::lround(400 * std::sin(k / 40.0)))};
}
ChartPoint trackPoint(int k) {
    return {-950 + (k * 1900) / kTrackPoints, int(std::lround(500 * std::sin(k / 300.0)))};
}
// Symbol k on a grid over three by three views around this one; the last
// lies in this view.
ChartPoint symbolPoint(int k) {
    if (k == kSymbols - 1) return {123, -45};
    return {-3 * kWidth / 2 + (k % 100) * 3 * kWidth / 100 + 7,
            -3 * kHeight / 2 + (k / 100) * 3 * kHeight / 100 + 5};
}

class BenchStore {
  public:
    BenchStore() {
        const char* base = std::getenv("STORE_BENCH_DIR");
        std::string pattern = std::string(base ? base : "/var/tmp") + "/user-objects-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        struct statfs fs;
        if (::statfs(path_.c_str(), &fs) == 0 && fs.f_type == 0x01021994) // TMPFS_MAGIC
            std::fprintf(stderr, "warning: %s is held in memory\n", path_.c_str());
        isam::INTISAM(18, 13, 8);
        for (StoreFile f : kStoreFiles) {
            const auto d = StoreFileDescription(f, StoreFileBasesIn(path_));
            if (CreateStoreFile(d) != CreateResult::Created) std::abort();
            isam::CLIFIL(d);
        }
    }
    ~BenchStore() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void fill(DbaseWin& store) {
    std::unique_ptr<Map> map(viewMap());
    std::fprintf(stderr, "writing the store...\n");
    for (int k = 0; k < kSymbols; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, k % 3 ? "Merke %d" : "", k);
        addObject(store, kKindSymbol, kFirstSymbol + k, unitsAt(*map, symbolPoint(k)), name,
                  std::uint16_t(1 + k % 6), std::uint16_t(k % 20));
    }
    for (int r = 0; r < kRoutes; ++r) {
        const ChartPoint start{-2000 + (r % 20) * 200, -1500 + (r / 20) * 300};
        addObject(store, kKindRoute, kFirstRoute + r, unitsAt(*map, start), "Rute", 2,
                  kRoutePoints);
        for (int k = 0; k < kRoutePoints; ++k)
            addPoint(store, kFirstRoute + r, k + 1,
                     unitsAt(*map, {start.x + 4 * k, start.y + (k % 2) * 20}));
    }
    addObject(store, kKindRoute, kLongRoute, unitsAt(*map, longRoutePoint(0)), "Lang", 2,
              kLongRoutePoints);
    for (int k = 0; k < kLongRoutePoints; ++k)
        addPoint(store, kLongRoute, k + 1, unitsAt(*map, longRoutePoint(k)));
    addObject(store, kKindTrack, kTrack, unitsAt(*map, trackPoint(0)), "Tur", 3, 0);
    for (int k = 0; k < kTrackPoints; ++k)
        addPoint(store, kTrack, k + 1, unitsAt(*map, trackPoint(k)));
}

struct Scene {
    std::unique_ptr<ui::TApplication> app;
    BenchStore folder;
    TMapWindow* window = nullptr;
    std::unique_ptr<gdi::RasterDc> picture;

    Scene() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("UI_NONINTERACTIVE", "1", 1);
        ui::EnsureQtApplication();
        app = std::make_unique<ui::TApplication>();
        ui::SetScreenCapsOverride(gdi::DeviceCaps::forScreen(kWidth, kHeight));
        ChartWindowCalls().makeStore = [this](TMapWindow& owner) -> ui::TWindow* {
            return new DbaseWin(&owner, StoreFileBasesIn(folder.path()));
        };
        auto* client = new ui::TMDIClient(nullptr);
        auto* frame = new ui::TDecoratedMDIFrame("Solvanor V lite", 0, *client);
        frame->Attr.W = kWidth;
        frame->Attr.H = kHeight;
        app->SetMainWindow(frame);
        frame->Create();
        frame->ShowWindow(ui::SW_SHOWNORMAL);
        QApplication::processEvents();
        const ui::TRect c = client->GetClientRect();
        frame->MoveWindow(0, 0, 2 * kWidth - c.Width(), 2 * kHeight - c.Height(), true);
        QApplication::processEvents();

        window = new TMapWindow(*client, "", 5, kLon, kLat);
        window->Create();
        window->ShowWindow(ui::SW_SHOW);
        window->KillTimer(kChartTimerId);
        QApplication::processEvents();
        window->map.reset(viewMap());
        fill(*dynamic_cast<DbaseWin*>(window->dbaseWin));

        picture = gdi::RasterDc::createCompatible(nullptr);
        picture->selectBitmap(gdi::Bitmap::colour(kWidth, kHeight));
        TChartWindowState& s = ChartWindowState();
        s.pixelsPerNm = PixelsPerNauticalMile(kPixelsPerMetre, kScale);
        s.screenPixelsAcross = kWidth;
        s.screenPixelsDown = kHeight;
        s.detailWord = 5;
        s.shownTrackId = kTrack;
        s.shownTrackColour = 3;
    }

    void counters(benchmark::State& state) const {
        const ui::TRect r = window->GetClientRect();
        state.counters["width"] = r.Width();
        state.counters["height"] = r.Height();
    }
};

Scene& scene() {
    static Scene* s = new Scene; // left to the process's end, after Qt's last use
    return *s;
}

void BM_PickSymbolAtTheEnd(benchmark::State& state) {
    Scene& s = scene();
    s.window->cursorClient = ToClient(symbolPoint(kSymbols - 1), s.window->GetClientRect());
    for (auto _ : state) {
        s.window->DrawUserObjectsOfKind(*s.picture, 405);
        if (ChartWindowState().editedObject.id != kFirstSymbol + kSymbols - 1) std::abort();
    }
    s.counters(state);
}
BENCHMARK(BM_PickSymbolAtTheEnd)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SymbolsWithLabels(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        s.window->DrawUserObjectsOfKind(*s.picture, 105);
    s.counters(state);
    int inView = 0;
    for (int k = 0; k < kSymbols; ++k) {
        const ChartPoint p = symbolPoint(k);
        inView +=
            p.x >= -kWidth / 2 && p.x < kWidth / 2 && p.y > -kHeight / 2 && p.y <= kHeight / 2;
    }
    state.counters["symbolsInView"] = inView;
}
BENCHMARK(BM_SymbolsWithLabels)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_StoredRoute(benchmark::State& state) {
    Scene& s = scene();
    ChartWindowState().activeRouteId = 0;
    for (auto _ : state)
        s.window->DrawUserObject(*s.picture, 2, kLongRoute);
    s.counters(state);
}
BENCHMARK(BM_StoredRoute)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_TableRoute(benchmark::State& state) {
    Scene& s = scene();
    TChartWindowState& st = ChartWindowState();
    st.activeRouteId = kLongRoute;
    st.routePointCount = 0;
    st.routeState = 0;
    st.routeTableFill = 1;
    s.window->DrawUserObject(*s.picture, 2, kLongRoute);
    if (st.routePointCount != kLongRoutePoints) std::abort();
    st.routeState = 1;
    for (auto _ : state)
        s.window->DrawActiveRouteFromTable(*s.picture);
    st.routeState = 0;
    st.activeRouteId = 0;
    s.counters(state);
}
BENCHMARK(BM_TableRoute)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Track(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        s.window->DrawUserObject(*s.picture, 1, kTrack);
    s.counters(state);
}
BENCHMARK(BM_Track)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
