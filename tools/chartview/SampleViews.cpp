#include "SampleViews.h"

#include "gdb/TGdbQuery.h"
#include "geo/GeoPoint.h"
#include "kv71/TKV71Db.h"
#include "proj/Map.h"
#include "proj/newMap.h"

#include <memory>

namespace chartview {

ViewSetup harbourView(int width, int height) {
    return {5, 15000, 60.398, 5.30, width, height};
}

ViewSetup harbourCloseUpView(int width, int height) {
    return {6, 7500, 60.398, 5.30, width, height};
}

ViewSetup approachesView(int width, int height) {
    return {4, 30000, 60.42, 5.27, width, height};
}

ViewSetup coastView(int width, int height) {
    return {2, 300000, 60.4, 5.0, width, height};
}

ViewSetup densestLevelEView(ChartEngine& engine) {
    // The level E cells cover 4.33-6.0 E, 60-61 N: corners every third of a
    // degree. Each view is asked for all its objects (no formula), as the
    // query benchmark does.
    ViewSetup best{4, 50000, 60.0, 5.0, 1920, 1080};
    long most = -1;
    for (int lon = 13; lon <= 18; ++lon)
        for (int lat = 450; lat <= 453; ++lat) {
            const ViewSetup v{4, 50000, lat / 3.0 - 90, lon / 3.0, 1920, 1080};
            std::unique_ptr<Map> map(
                newMap(PRJ_MERCATOR, 50000, GeoPoint{deg2nrm(v.lonDeg), deg2nrm(v.latDeg)}, 254,
                       143, kPlaneUnitsPerChartMetre, kPlaneUnitsPerChartMetre, nullptr));
            if (!map) continue;
            TGdbQuery query(engine.database());
            GeoRect window = map->window;
            query.open(window, 50000ul, nullptr);
            long n = 0;
            while (query.next())
                ++n;
            query.close();
            if (n > most) most = n, best = v;
        }
    return best;
}

} // namespace chartview
