#include "proj/KV71Map.h"

#include "util/sphere.h"

#include <algorithm>
#include <cmath>

KV71Map::KV71Map(std::uint32_t scale_, const GeoPoint& centre_, int halfW, int halfH, int divX,
                 int divY, Win* win_)
    : Mercator(scale_, centre_, halfW, halfH, divX, divY, win_), centreX(0), centreY(0),
      unitsPerMetreX(0), unitsPerMetreY(0), cosCentreLat(0), unitsPerMetreXCos(0),
      unitsPerMetreYCos(0) {
    projection = 2;
    sphereMercator(static_cast<double>(nrm2rad(centre.lat) * 180 / GeoPi),
                   static_cast<double>(nrm2rad(centre.lon) * 180 / GeoPi), &centreY, &centreX);
    // A window at least one chart millimetre wide and high keeps the factors
    // finite.
    const double mapW = std::max<std::int64_t>(std::int64_t{windowMap.right} - windowMap.left, 1);
    const double mapH = std::max<std::int64_t>(std::int64_t{windowMap.bottom} - windowMap.top, 1);
    unitsPerMetreX =
        (double(windowPlane.right) - windowPlane.left) / (mapW * static_cast<double>(scale)) * 1000;
    unitsPerMetreY =
        (double(windowPlane.bottom) - windowPlane.top) / (mapH * static_cast<double>(scale)) * 1000;
    cosCentreLat = std::cos(static_cast<double>(nrm2rad(centre.lat)));
    unitsPerMetreXCos = unitsPerMetreX * cosCentreLat;
    unitsPerMetreYCos = unitsPerMetreY * cosCentreLat;
}
