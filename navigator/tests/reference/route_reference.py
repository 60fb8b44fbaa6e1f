#!/usr/bin/python3
"""Writes route_reference.tsv: reference values for route following, from
GeographicLib's GeodSolve and RhumbSolve (package geographiclib-tools).

Positions are binary angles (2^32 units to the turn, signed 32 bits), as the
route point table holds them; degrees are derived from them exactly, so the
tests and this script start from the same points.

Lines, fields separated by tabs:
  rb    fromLon fromLat toLon toLat  geodesicNm formulaDeg rhumbDeg  note
        geodesicNm: GeodSolve inverse distance, nautical miles
        formulaDeg: atan2((from lon - to lon) cos(to lat), from lat - to lat)
                    in degrees + 180, the longitude difference taken modulo
                    the turn as signed; 0 for equal points
        rhumbDeg:   RhumbSolve inverse azimuth, 0 to 360
  wp    route index lon lat legLengthNm legCourseDeg
        route "bergen": four points off Bergen, legs of 350, 010 and 160
        degrees made with GeodSolve direct; route "north": one northbound leg.
        The leg length is GeodSolve's distance to the next point; the course
        is the leg's nominal course; the last point's leg is 0, 0.
  ship  name lon lat
        own ship, from a waypoint by GeodSolve direct at an azimuth and a
        distance (see SHIPS).

Run from anywhere: navigator/tests/reference/route_reference.py
"""
import math
import os
import subprocess

NM = 1852.0
TURN = 2 ** 32


def nrm(deg):
    """Binary angle of degrees, signed 32 bits."""
    v = int(round(deg * TURN / 360.0)) % TURN
    return v - TURN if v >= 2 ** 31 else v


def deg(a):
    return a * 360.0 / TURN


def run(args, lines):
    out = subprocess.run(args, input="\n".join(lines) + "\n", capture_output=True, text=True,
                         check=True).stdout
    return [l.split() for l in out.strip().split("\n")]


def direct(lat, lon, azimuth, nm):
    """GeodSolve direct: (lat, lon) in degrees reached."""
    r = run(["GeodSolve", "-p", "9"], ["%.12f %.12f %.12f %.6f" % (lat, lon, azimuth, nm * NM)])
    return float(r[0][0]), float(r[0][1])


def formula(f, t):
    dlon = (f[0] - t[0]) % TURN
    if dlon >= 2 ** 31:
        dlon -= TURN
    dlat = f[1] - t[1]
    if dlon == 0 and dlat == 0:
        return 0.0
    lat = t[1] * 2 * math.pi / TURN
    return math.atan2(dlon * math.cos(lat), dlat) * 57.29577951308232 + 180


# Range and bearing pairs, in degrees (lon, lat) before rounding to binary angles.
def range_bearing_pairs():
    pairs = []
    # Short legs at 60 N: every octant and a few between, under 10 nm.
    for azimuth in (0, 30, 45, 90, 135, 180, 200, 225, 270, 315, 350):
        for nm in (0.5, 3.0, 9.5):
            lat, lon = direct(60.0, 5.0, azimuth, nm)
            pairs.append(((5.0, 60.0), (lon, lat), "short"))
    # Across 180 degrees both ways, north and south.
    pairs.append(((179.99, 60.0), (-179.98, 60.01), "antimeridian-east"))
    pairs.append(((-179.98, 60.01), (179.99, 60.0), "antimeridian-west"))
    pairs.append(((179.5, -30.0), (-179.5, -30.5), "antimeridian-east"))
    pairs.append(((-179.5, -30.5), (179.5, -30.0), "antimeridian-west"))
    # Longer legs along the coast (range only near the formula's limits).
    pairs.append(((5.30, 60.40), (10.70, 59.90), "long"))
    pairs.append(((5.30, 60.40), (-1.30, 60.15), "long"))
    pairs.append(((4.80, 60.30), (4.90, 62.00), "long"))
    # Equal points.
    pairs.append(((5.30, 60.40), (5.30, 60.40), "equal"))
    return pairs


# The route off Bergen: start point and legs (azimuth, nm).
BERGEN_START = (4.80, 60.30)
BERGEN_LEGS = [(350.0, 3.0), (10.0, 3.0), (160.0, 3.0)]
NORTH_START = (4.85, 60.40)
NORTH_LEGS = [(0.0, 3.0)]

# Own ship: name, route, waypoint index, azimuth from the waypoint, nm; an
# optional second step (azimuth, nm) from the first point reached.
SHIPS = [
    # Arrival circle of waypoint 1 (radius 0.05 nm), on its incoming leg.
    ("arrive004", "bergen", 1, 170.0, 0.04, None),
    ("arrive006", "bergen", 1, 170.0, 0.06, None),
    # One mile abeam of waypoint 1, just past and just short of its
    # perpendicular (the bisector of 350 and 010 runs east-west).
    ("abeamPast", "bergen", 1, 89.0, 1.0, None),
    ("abeamShort", "bergen", 1, 91.0, 1.0, None),
    # Half a mile from waypoint 1 where the bisector and the normals of the
    # single legs disagree.
    ("bisector85", "bergen", 1, 85.0, 0.5, None),
    ("bisector95", "bergen", 1, 95.0, 0.5, None),
    ("bisector275", "bergen", 1, 275.0, 0.5, None),
    ("bisector265", "bergen", 1, 265.0, 0.5, None),
    # The last waypoint approached southbound, on its incoming leg.
    ("last050", "bergen", 3, 340.0, 0.5, None),
    ("last020", "bergen", 3, 340.0, 0.2, None),
    ("last003", "bergen", 3, 340.0, 0.03, None),
    # Off the northbound leg, half way along it.
    ("xteWest010", "north", 0, 0.0, 1.5, (270.0, 0.1)),
    ("xteEast010", "north", 0, 0.0, 1.5, (90.0, 0.1)),
    ("xteWest006", "north", 0, 0.0, 1.5, (270.0, 0.06)),
    ("xteWest004", "north", 0, 0.0, 1.5, (270.0, 0.04)),
]


def make_route(start, legs):
    points = [start]
    for azimuth, nm in legs:
        lat, lon = direct(points[-1][1], points[-1][0], azimuth, nm)
        points.append((lon, lat))
    return [(nrm(lon), nrm(lat)) for lon, lat in points]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = []

    pairs = range_bearing_pairs()
    binary = [((nrm(f[0]), nrm(f[1])), (nrm(t[0]), nrm(t[1])), note) for f, t, note in pairs]
    geod = run(["GeodSolve", "-i", "-p", "9"],
               ["%.12f %.12f %.12f %.12f" % (deg(f[1]), deg(f[0]), deg(t[1]), deg(t[0]))
                for f, t, _ in binary])
    rhumb = run(["RhumbSolve", "-i", "-p", "9"],
                ["%.12f %.12f %.12f %.12f" % (deg(f[1]), deg(f[0]), deg(t[1]), deg(t[0]))
                 for f, t, _ in binary])
    for (f, t, note), g, r in zip(binary, geod, rhumb):
        rows.append("rb\t%d\t%d\t%d\t%d\t%.9f\t%.12f\t%.9f\t%s" % (
            f[0], f[1], t[0], t[1], float(g[2]) / NM, formula(f, t), float(r[0]) % 360.0, note))

    routes = {"bergen": (BERGEN_START, BERGEN_LEGS), "north": (NORTH_START, NORTH_LEGS)}
    points = {}
    for name, (start, legs) in routes.items():
        pts = make_route(start, legs)
        points[name] = pts
        inverse = run(["GeodSolve", "-i", "-p", "9"],
                      ["%.12f %.12f %.12f %.12f" % (deg(a[1]), deg(a[0]), deg(b[1]), deg(b[0]))
                       for a, b in zip(pts, pts[1:])])
        for i, p in enumerate(pts):
            length = float(inverse[i][2]) / NM if i < len(legs) else 0.0
            course = legs[i][0] if i < len(legs) else 0.0
            rows.append("wp\t%s\t%d\t%d\t%d\t%.9f\t%.1f" % (name, i, p[0], p[1], length, course))

    for name, route, index, azimuth, nm, second in SHIPS:
        wp = points[route][index]
        lat, lon = direct(deg(wp[1]), deg(wp[0]), azimuth, nm)
        if second:
            lat, lon = direct(lat, lon, second[0], second[1])
        rows.append("ship\t%s\t%d\t%d" % (name, nrm(lon), nrm(lat)))

    with open(os.path.join(here, "route_reference.tsv"), "w") as out:
        out.write("# Written by route_reference.py from GeographicLib 2.1 "
                  "(GeodSolve, RhumbSolve); do not edit.\n")
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
