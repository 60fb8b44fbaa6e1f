#include "proj/newMap.h"

#include "proj/KV71Map.h"

#include <new>

Map* newMap(PRJ prj, std::uint32_t scale, const GeoPoint& centre, int halfW, int halfH, int divX,
            int divY, Map::Win* win) {
    if (prj != PRJ_MERCATOR) return nullptr;
    return new (std::nothrow) KV71Map(scale, centre, halfW, halfH, divX, divY, win);
}

extern "C" {

Map* new__Map(PRJ prj, std::uint32_t scale, double lon, double lat, int inDegrees, int halfW,
              int halfH, int divX, int divY) {
    const GeoPoint centre =
        inDegrees ? GeoPoint{deg2nrm(lon), deg2nrm(lat)} : GeoPoint{rad2nrm(lon), rad2nrm(lat)};
    return newMap(prj, scale, centre, halfW, halfH, divX, divY, nullptr);
}

void delete__Map(Map* map) {
    delete map;
}

int Map__Geo2Map(Map* map, double lon, double lat, int inDegrees, Point* out) {
    if (!map || !out) return 0;
    const GeoPoint p =
        inDegrees ? GeoPoint{deg2nrm(lon), deg2nrm(lat)} : GeoPoint{rad2nrm(lon), rad2nrm(lat)};
    return map->Geo2Map(&p, out, 1);
}

int Map__Map2Geo(Map* map, Point* in, double* lon, double* lat, int inDegrees) {
    if (!map || !in || !lon || !lat) return 0;
    GeoPoint p;
    if (!map->Map2Geo(in, &p, 1)) return 0;
    const long double f = inDegrees ? 360.0L / GeoTurn : radPerNrm;
    *lon = static_cast<double>(p.lon * f);
    *lat = static_cast<double>(p.lat * f);
    return 1;
}
}
