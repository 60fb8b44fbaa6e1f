// The Mercator map of the KV71 charts: Mercator plus the factors that place
// cell coordinates (spherical Mercator metres, util/sphere.h) directly into
// the plane.
#pragma once

#include "proj/Mercator.h"

class KV71Map : public Mercator {
  public:
    // As Mercator::Mercator, then the factors below.
    KV71Map(std::uint32_t scale, const GeoPoint& centre, int halfW, int halfH, int divX, int divY,
            Win* win);
    ~KV71Map() override = default;

    // The centre in spherical Mercator metres (sphereMercator of the centre
    // in degrees).
    double centreX;
    double centreY;
    // Plane units per earth metre in x and y: (window plane width) / (window
    // map width in chart millimetres x scale) x 1000, likewise in y.
    double unitsPerMetreX;
    double unitsPerMetreY;
    // cos(centre latitude), and the two factors above multiplied by it.
    double cosCentreLat;
    double unitsPerMetreXCos;
    double unitsPerMetreYCos;
};
