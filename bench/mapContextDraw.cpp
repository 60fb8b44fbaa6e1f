// TMapContext::Draw's own cost per object: finding the procedure, building
// the geometry (canned: a point), converting it to window coordinates, the
// draw lock and the clearing, over 100,000 point objects whose procedure does
// nothing. Goal: under 100 ns per object.
#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGeoDb.h"
#include "gdi/RecordingDc.h"
#include "geo/GeoPoint.h"
#include "presentation/TPresLib.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr int kObjects = 100000;
constexpr int kCode = 120;

class Dictionary : public TGdbDictionary {
  public:
    Dictionary() : TGdbDictionary("bench", nullptr) {}
    int GetObjectNum() const override { return 255; }
    int GetAttrNum() const override { return 255; }
};

// A point object with its geometry at hand, as a chart object gives it.
class PointObject : public GdbObject {
  public:
    PointObject(TGeoDb* db, int x, int y) : GdbObject(db), x_(x), y_(y) {}
    int GetLabel() override { return kCode; }
    MapObject* newMapObject(Map*, GeoRect&, MapObject* reuse) override {
        reuse->clear();
        reuse->type = egtPoint;
        reuse->bounds = Rect{x_, y_, 0, 0};
        return reuse;
    }

  private:
    int x_, y_;
};

void nothing(TMapContext*, GdbObject*, MapObject*) {}

void DrawPointObjects(benchmark::State& state) {
    Dictionary dictionary;
    TGeoDb database(dictionary);
    std::string folder = (std::filesystem::temp_directory_path() / "skjoldr-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::ofstream(folder + "/OBJLUT.DIC") << "\n";
    std::ofstream(folder + "/ATTRLUT.DIC") << "\n";
    std::unique_ptr<TPresLib> presentation;
    try {
        presentation = std::make_unique<TPresLib>(&dictionary, "INT1Pres", folder.c_str());
    } catch (...) {
        std::filesystem::remove_all(folder);
        state.SkipWithError("the presentation library cannot be built (symbol fonts?)");
        return;
    }
    std::filesystem::remove_all(folder);
    dictionary.SetPresentation(presentation.get());
    const CondSymbProc old = presentation->setSymbProcedure(kCode, nothing);

    std::unique_ptr<Map> map(newMap(PRJ_MERCATOR, 50000, GeoPoint{deg2nrm(5.3), deg2nrm(60.4)}, 254,
                                    143, 3780, 3780, nullptr));
    gdi::RecordingDc dc(1920, 1080);
    GeoRect rect = map->window;
    TMapContext context(&dc, map.get(), rect, 0, EDetails(0), EPresMode(0));
    std::vector<std::unique_ptr<PointObject>> objects;
    objects.reserve(kObjects);
    for (int i = 0; i < kObjects; ++i)
        objects.push_back(std::make_unique<PointObject>(&database, i % 1920 - 960, i % 1080 - 540));

    // One iteration draws one object; the objects are taken in turn.
    std::size_t next = 0;
    for (auto _ : state) {
        context.Draw(objects[next].get());
        if (++next == objects.size()) next = 0;
    }
    state.SetItemsProcessed(state.iterations());
    presentation->setSymbProcedure(kCode, old);
    dictionary.SetPresentation(nullptr);
}
BENCHMARK(DrawPointObjects)->Unit(benchmark::kNanosecond);

} // namespace
