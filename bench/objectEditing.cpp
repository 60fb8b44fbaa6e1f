// Placing and editing the user's objects on the chart window, with the store
// on the machine's disk (each record call a durable commit): the first point
// of a new route (its ID record, the name dialog set up and closed, its
// POINT record), a further point (its POINT record), a point inserted into a
// route of 498 points (about 500 rewrites), and the store's single write
// beside them; and the object-information dialog on a tree of 200 objects.
// Medians of each road's own timing. The store lies in /var/tmp, or
// STORE_BENCH_DIR.
#include "programFrame.h"

#include "chart/ChartWindowState.h"
#include "chart/TMapWindow.h"
#include "dialogs/TObjectInfoDialog.h"
#include "store/DbaseWin.h"
#include "ui/Modal.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every modal is set up and cancelled at once, without a line on standard
// error.
struct QuietRunner : ui::TModalRunner {
    int Run(ui::TModalTask& task) override { return task.RunUnattended(); }
};

class BenchFolder {
  public:
    BenchFolder() {
        const char* base = std::getenv("STORE_BENCH_DIR");
        std::string pattern = std::string(base ? base : "/var/tmp") + "/edit-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        isam::INTISAM(18, 13, 8);
        for (StoreFile f : kStoreFiles) {
            const auto d = StoreFileDescription(f, StoreFileBasesIn(path_));
            if (CreateStoreFile(d) != CreateResult::Created) std::abort();
            isam::CLIFIL(d);
        }
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The program's frame with a chart window over a store of its own.
struct EditBench {
    benchframe::ProgramFrame frame{1000, 800};
    BenchFolder folder;
    QuietRunner runner;
    ui::TModalRunner* before;
    TMapWindow* w;
    DbaseWin* store;

    EditBench() {
        ChartWindowCalls().makeStore =
            [bases = StoreFileBasesIn(folder.path())](TMapWindow& owner) -> ui::TWindow* {
            return new DbaseWin(&owner, bases);
        };
        w = new TMapWindow(*frame.client, "", 5, 5.32, 60.40);
        w->Create();
        w->ShowWindow(ui::SW_SHOW);
        QApplication::processEvents();
        w->KillTimer(kChartTimerId);
        store = dynamic_cast<DbaseWin*>(w->dbaseWin);
        if (!store || store->Failed()) std::abort();
        before = ui::SetModalRunner(&runner);
        ChartWindowState().followFlag = 0;
    }
    ~EditBench() {
        ui::SetModalRunner(before);
        delete w;
    }
    void click(const ChartPoint& p) const {
        w->cursorPoint = p;
        ChartWindowState().cursorPosition = GeoPointOf(*w->map, p);
    }
};

double micros(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

void report(benchmark::State& state, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
}

template <class F> double timed(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return micros(std::chrono::steady_clock::now() - start);
}

// The first point of a new route and a further one.
void PlaceRoutePoints(benchmark::State& state) {
    EditBench b;
    TChartWindowState& s = ChartWindowState();
    std::vector<double> first, further, single;
    int n = 0;
    for (auto _ : state) {
        s.routeState = 2;
        s.activeRouteId = 0;
        s.routePointCount = 0;
        b.w->editCount = 1;
        b.click({10 * (n % 40), 10 * (n / 40)});
        first.push_back(timed([&] { b.w->PlaceRoutePoint(b.w->GetDC(), 1); }));
        b.w->editCount = 2;
        b.click({10 * (n % 40) + 5, 10 * (n / 40) + 5});
        further.push_back(timed([&] { b.w->PlaceRoutePoint(b.w->GetDC(), 1); }));
        b.store->CurrentPointRecord = PointRecord{.id = s.activeRouteId, .number = 3};
        single.push_back(timed([&] { b.store->WritePointRecord(); }));
        ++n;
    }
    report(state, first);
    std::sort(further.begin(), further.end());
    std::sort(single.begin(), single.end());
    state.counters["further_median_us"] = further[further.size() / 2];
    state.counters["write_median_us"] = single[single.size() / 2];
}
BENCHMARK(PlaceRoutePoints)->Iterations(200)->Unit(benchmark::kMicrosecond);

// A point inserted after point 1 of a route of 498 points: 497 rewrites and
// the new point. The route is put back by deleting it again (not timed).
void InsertInto498(benchmark::State& state) {
    EditBench b;
    TChartWindowState& s = ChartWindowState();
    const std::int32_t id = 9;
    b.store->CurrentIdRecord = IdRecord{.kind = kKindRoute, .id = id};
    isam::ADDREC(kIdFileNumber, b.store->CurrentIdRecord.Encode().data());
    for (int i = 1; i <= 498; ++i) {
        b.store->CurrentPointRecord = PointRecord{.id = id,
                                                  .number = std::uint16_t(i),
                                                  .latitude = 36240000 + 100 * i,
                                                  .longitude = 3192300};
        b.store->WritePointRecord();
    }
    s.activeRouteId = id;
    s.routeState = 3;
    s.forwardFlag = 1;
    s.placedKind = 2;
    s.routePointCount = 498;
    b.click({0, 0});
    std::vector<double> inserts, deletes;
    for (auto _ : state) {
        inserts.push_back(timed([&] {
            if (!b.w->InsertOrDeleteObjectPoint(1, true)) state.SkipWithError("insert refused");
        }));
        deletes.push_back(timed([&] { b.w->InsertOrDeleteObjectPoint(2, false); }));
    }
    report(state, inserts);
    std::sort(deletes.begin(), deletes.end());
    state.counters["delete_median_us"] = deletes[deletes.size() / 2];
}
BENCHMARK(InsertInto498)->Iterations(15)->Unit(benchmark::kMillisecond);

// The object-information dialog on a tree of 200 objects (50 with three
// children each): made, set up with its tree filled, closed and destroyed
// with the tree.
void ObjectInfoDialog200(benchmark::State& state) {
    EditBench b;
    std::vector<double> times;
    for (auto _ : state) {
        auto root = std::make_unique<TObjView>();
        for (int i = 0; i < 50; ++i) {
            TObjView& parent = root->Append(
                std::make_unique<TObjView>(nullptr, "Buoy with its light and topmark",
                                           "Colour: red\r\n", "Sjekkpunkt " + std::to_string(i)));
            for (const char* child : {"Buoy, lateral", "Light", "Topmark"})
                parent.Append(std::make_unique<TObjView>(nullptr, child, "Shape: 2\r\n"));
        }
        times.push_back(timed([&] {
            TObjectInfoDialog dialog(b.w, {300, 300}, std::move(root));
            dialog.Execute();
        }));
    }
    report(state, times);
}
BENCHMARK(ObjectInfoDialog200)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace
