// Fuzz target of the query road over a damaged cell. The input is written as
// cell 04500015.E of a temporary chart tree (the cells of the sample chart,
// read with the project's dictionaries, are its realistic seeds). A query of
// the drawing pass walks that cell at 1:50,000, and every object it answers
// gets its projected geometry, in a view centred on the cell's own Mercator
// box and covering most of it, so clipping happens on every side. The cell
// cache is then flushed, which must give back all cell memory.
#include "gdb/GdbObject.h"
#include "gdb/TGdbFormula.h"
#include "gdb/TGdbQuery.h"
#include "geo/GeoPoint.h"
#include "kv71/KV71CellId.h"
#include "kv71/TGeoCell.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "kv71/cellCache.h"
#include "kv71/chartRoot.h"
#include "proj/Map.h"
#include "proj/MapObject.h"
#include "proj/newMap.h"
#include "util/sphere.h"

#include "fuzzFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The drawing pass's formula: all classes, ascending priorities.
const TGdbFormula drawing{0, 0xFFFFFFFFu, 0x0FFFFFFFu, 2, 1, 1, 0, nullptr, 0, nullptr, 0};

struct Chart {
    std::unique_ptr<TKV71Dictionary> dictionary;
    std::unique_ptr<TKV71Db> db;
    std::string cellPath;
    GeoRect cellRect{};

    Chart() {
        const std::string root = fuzzFolder() + "/chart/";
        std::filesystem::create_directories(root);
        dictionary = std::make_unique<TKV71Dictionary>("KV71Dictionary", FUZZ_DATA_DIR "/dict/");
        fuzzCheck(dictionary->GetObjectNum() > 0);
        // Cells are loaded by name: no block index is needed.
        db = std::make_unique<TKV71Db>(*dictionary, root.c_str(), nullptr, 0ul, nullptr,
                                       TKV71Db::loadWithoutCatalog);
        char name[] = "04500015.E";
        cellPath = KV71CellPath(name);
        std::filesystem::create_directories(std::filesystem::path(cellPath).parent_path());
        // The cell's grid square, shrunk so that no neighbour is asked for.
        const GeoRect r = KV71CellRect(KV71CellId{15, 450, 5});
        const std::int32_t margin = 0x10000;
        cellRect = GeoRect{r.lon1 + margin, r.lat1 + margin, r.lon2 - margin, r.lat2 - margin};
    }
};

// A view over the middle of the cell's Mercator box; null when the box has no
// place on the map (the map then refuses it).
Map* viewOf(const TGeoCell& cell) {
    const KV71CellHeader& h = *cell.header;
    double lat = 0, lon = 0;
    sphereMercatorInverse((h.yMin + h.yMax) / 2, (h.xMin + h.xMax) / 2, &lat, &lon);
    if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 85) return nullptr;
    // The window is 254 x 144 mm: let it span 70% of the box in the
    // direction where that needs the larger scale, less in the other.
    const double ground = std::cos(lat * 3.14159265358979 / 180) * 0.7;
    const double scale = std::clamp(std::max(std::fabs(h.xMax - h.xMin) * ground / 0.254,
                                             std::fabs(h.yMax - h.yMin) * ground / 0.144),
                                    1000.0, 50e6);
    if (!std::isfinite(scale)) return nullptr;
    return newMap(PRJ_MERCATOR, static_cast<std::uint32_t>(scale),
                  GeoPoint{deg2nrm(lon), deg2nrm(lat)}, 127, 72, 0, 0, nullptr);
}

// The drawing pass's walk; a view is made for each cell as it is entered.
class ViewQuery : public TGdbQuery {
  public:
    using TGdbQuery::TGdbQuery;
    int preprocessCell(TGeoCell* cell) override {
        fuzzCheck(cell != nullptr && cell->header != nullptr);
        if (cell != viewed) {
            view.reset(viewOf(*cell));
            viewed = cell;
        }
        return 0;
    }
    std::unique_ptr<Map> view;
    const TGeoCell* viewed = nullptr;
};

// Keeps the reads of the geometry from being optimised away.
volatile int geometrySink;

void checkGeometry(const MapObject& m) {
    fuzzCheck(m.type >= egtEmpty && m.type <= egtSoundings);
    if (m.type < egtLine) return;
    fuzzCheck(m.partCount >= 0);
    int sum = 0;
    std::int64_t total = 0;
    for (int i = 0; i < m.partCount; ++i) {
        fuzzCheck(m.pointCounts[i] > 0);
        total += m.pointCounts[i];
    }
    for (std::int64_t k = 0; k < total; ++k)
        sum += m.points[k].x ^ m.points[k].y;
    for (int k = 0; k < m.extraCount; ++k)
        sum += m.extras[k];
    geometrySink = sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Chart chart;
    writeFuzzFile(chart.cellPath, data, size);
    {
        ViewQuery query(*chart.db);
        GeoRect rect = chart.cellRect;
        if (query.open(rect, 50000ul, &drawing) == 1) {
            MapObject reuse(egtEmpty, -1);
            while (GdbObject* o = query.next()) {
                fuzzCheck(query.viewed != nullptr);
                if (!query.view) continue;
                GeoRect window = query.view->window;
                if (MapObject* m = o->newMapObject(query.view.get(), window, &reuse)) {
                    fuzzCheck(m == &reuse);
                    checkGeometry(*m);
                }
                // Without a reused object the geometry is a new one.
                if (MapObject* m = o->newMapObject(query.view.get(), window, nullptr)) {
                    checkGeometry(*m);
                    delete m;
                }
            }
            query.close();
        }
    }
    chart.db->flush();
    fuzzCheck(KV71CellMemoryUsed() == 0 && KV71CellCacheList().count == 0);
    return 0;
}
