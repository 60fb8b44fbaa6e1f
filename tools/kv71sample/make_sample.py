#!/usr/bin/python3
"""Makes the sample KV71 chart tree of Bergen and its approaches.

Usage: make_sample.py [OUTPUT.txt]

Needs GMT with the GSHHG shorelines (Debian: gmt, gmt-gshhg-full) and
python3-shapely; neither the build nor the tests need them. Writes the cells
as a text description (default: build/kv71sample.txt) that the kv71sample
program turns into cell and block index files:

    kv71sample build/kv71sample.txt data/sample/kv71

Shoreline: GSHHG at the resolution that fits each level, land closed against
each cell. Depths and aids are synthetic: depth grows with the distance from
land, and the aids are placed by hand near the harbour and moved to the
nearest water or shore. Not for navigation. Deterministic: the same
description comes out every run.
"""
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

from shapely.geometry import (LineString, MultiPolygon, Point, Polygon, box)
from shapely.geometry.polygon import orient
from shapely.ops import polygonize, transform, unary_union
from shapely.strtree import STRtree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True  # keep the source folder clean
import dictionary  # noqa: E402

# Cell sizes of levels Z, A..G in grid units of 1/3 degree.
CELL_UNITS = [120, 60, 30, 12, 3, 1, 1, 1]
LEVEL_NAMES = "ZABCDEFG"
# GSHHG resolution by level: crude, low, intermediate, high, full.
RESOLUTION = "clihhfff"
# Scale denominators: they set the simplification and the soundings' spacing.
SCALE = [20e6, 3e6, 1e6, 200e3, 100e3, 50e3, 20e3, 7500]
# The cells: the region is about 4.5-6.0 E, 60.0-61.0 N; the finest levels
# only around the harbour (Vågen, 60.40 N 5.32 E) and its approach from the
# north-west (Byfjorden, Hjeltefjorden) and the south (Korsfjorden).
CELLS = {
    0: [(0, 390)],
    1: [(0, 450)],
    2: [(0, 450)],
    3: [(12, 450)],
    4: [(12, 450), (15, 450)],
    5: [(lon, lat) for lat in (450, 451, 452) for lon in (13, 14, 15, 16, 17)],
    6: [(14, 451), (15, 451), (15, 450)],
    7: [(15, 451)],
}

# Synthetic depth: metres at a distance from land in metres (piecewise linear,
# then 2 m deeper per 100 m up to 400 m).
DEPTH_KNOTS = [(0, 0.5), (50, 2), (150, 5), (300, 10), (600, 20), (1500, 50), (4000, 100)]
# Depth bands by level: the limits of the depth areas and the contours drawn.
BANDS = [[0, 100], [0, 100], [0, 20, 50, 100], [0, 10, 50, 100], [0, 5, 10, 20, 50, 100],
         [0, 2, 5, 10, 20, 50, 100], [0, 2, 5, 10, 20, 50, 100], [0, 2, 5, 10, 20, 50, 100]]
MAX_DISTANCE = 4000.0
MAX_DEPTH = 400.0  # depth_at stops here
SOUNDING_REACH = 16000.0  # soundings farther from land all get the depth at this distance

M_PER_DEG_LAT = 111320.0


def depth_at(distance):
    for (d0, z0), (d1, z1) in zip(DEPTH_KNOTS, DEPTH_KNOTS[1:]):
        if distance <= d1:
            return z0 + (z1 - z0) * (distance - d0) / (d1 - d0)
    return min(MAX_DEPTH, 100.0 + (distance - DEPTH_KNOTS[-1][0]) * 0.02)


def distance_for(depth):
    for (d0, z0), (d1, z1) in zip(DEPTH_KNOTS, DEPTH_KNOTS[1:]):
        if depth <= z1:
            return d0 + (d1 - d0) * (depth - z0) / (z1 - z0)
    return DEPTH_KNOTS[-1][0] + (depth - 100.0) / 0.02


def cell_box(level, lon, lat):
    s = CELL_UNITS[level]
    return (lon / 3.0, (lat - 270) / 3.0, (lon + s) / 3.0, (lat - 270 + s) / 3.0)


class Local:
    """Equirectangular metres about a cell's centre, for buffering."""

    def __init__(self, w, s, e, n):
        self.lon0, self.lat0 = (w + e) / 2, (s + n) / 2
        self.kx = M_PER_DEG_LAT * math.cos(math.radians(self.lat0))

    def fwd(self, x, y, z=None):
        return ((x - self.lon0) * self.kx, (y - self.lat0) * M_PER_DEG_LAT)

    def inv(self, x, y, z=None):
        return (x / self.kx + self.lon0, y / M_PER_DEG_LAT + self.lat0)


def gmt_land(w, s, e, n, res):
    """Land polygons (lakes filled) of a region in degrees."""
    # The shoreline is cut at the region's edges as GMT reads them: the box
    # that closes it must have exactly those edges.
    w, s, e, n = (round(v, 6) for v in (w, s, e, n))
    region = "-R%.6f/%.6f/%.6f/%.6f" % (w, e, s, n)
    scratch = tempfile.mkdtemp()  # GMT leaves its history file where it runs
    out = subprocess.run(["gmt", "coast", region, "-D" + res, "-M", "-W1", "-A0/1/1"],
                         capture_output=True, text=True, check=True, cwd=scratch).stdout
    segments, current = [], None
    for line in out.splitlines():
        if line.startswith(">"):
            current = []
            segments.append(current)
        elif line.strip():
            x, y = map(float, line.split()[:2])
            current.append((x, y))
    region_box = box(w, s, e, n)
    lines = [LineString(seg) for seg in segments if len(seg) >= 2] + [region_box.exterior]
    faces = list(polygonize(unary_union(lines)))
    probe = "\n".join("%.9f %.9f %d" % (p.x, p.y, i)
                      for i, p in enumerate(f.representative_point() for f in faces))
    kept = subprocess.run(["gmt", "select", region, "-D" + res, "-Ns/k/k/k/k"], input=probe,
                          capture_output=True, text=True, check=True, cwd=scratch).stdout
    shutil.rmtree(scratch, ignore_errors=True)
    land = [faces[int(line.split()[2])] for line in kept.splitlines() if line.strip()]
    return unary_union(land) if land else Polygon()


def polygons(geom):
    if geom.is_empty:
        return []
    if isinstance(geom, Polygon):
        return [geom]
    if isinstance(geom, MultiPolygon):
        return list(geom.geoms)
    return [g for g in getattr(geom, "geoms", []) if isinstance(g, Polygon)]


def without_holes(poly, depth=0):
    """Splits a polygon into pieces without holes by vertical cuts through them:
    the drawing fills only a polygon's outer ring."""
    if not poly.interiors or depth > 40:
        return [poly]
    x = poly.interiors[0].coords[0][0]
    minx, miny, maxx, maxy = poly.bounds
    pieces = []
    for half in (box(minx - 1, miny - 1, x, maxy + 1), box(x, miny - 1, maxx + 1, maxy + 1)):
        for p in polygons(poly.intersection(half)):
            pieces += without_holes(p, depth + 1)
    return pieces


class Cell:
    """One cell's description: edges, soundings, points and objects."""

    def __init__(self, level, lon, lat):
        self.level, self.lon, self.lat = level, lon, lat
        self.w, self.s, self.e, self.n = cell_box(level, lon, lat)
        self.edges, self.soundings, self.points, self.objects = [], [], [], []

    def on_border(self, a, b):
        eps = 1e-9
        for v, lo, hi in ((0, self.w, self.e), (1, self.s, self.n)):
            for edge in (lo, hi):
                if abs(a[v] - edge) < eps and abs(b[v] - edge) < eps:
                    return True
        return False

    def add_edge(self, coords):
        self.edges.append(coords)
        return len(self.edges) - 1

    def ring_edges(self, coords):
        """Edges of a closed ring, cut where it reaches and leaves the cell's
        border: (edge index, on border) in ring order."""
        pts = list(coords)
        flags = [self.on_border(pts[i], pts[i + 1]) for i in range(len(pts) - 1)]
        # Start at a change of run so that no run wraps round the ring's start.
        start = next((i for i in range(1, len(flags)) if flags[i] != flags[i - 1]), 0)
        pts = pts[start:-1] + pts[:start + 1]
        flags = flags[start:] + flags[:start]
        out, i = [], 0
        while i < len(flags):
            j = i
            while j < len(flags) and flags[j] == flags[i] and j - i < 60000:
                j += 1
            out.append((self.add_edge(pts[i:j + 1]), flags[i]))
            i = j
        return out

    def add_object(self, code, geom="-", attrs=(), children=None, parent=None):
        self.objects.append([code, geom, list(attrs), children, parent])
        return len(self.objects) - 1

    def add_area(self, code, poly, attrs=(), line_code=None, line_attrs=()):
        """One area object per hole-free piece, its ring clockwise with east
        right and north up (the orientation in which the drawing finds an
        area's centre of gravity); the stretches along the cell's border are
        masked. With line_code, the other stretches also become line objects
        sharing the edges."""
        count = 0
        for piece in without_holes(poly):
            piece = orient(piece, -1.0)
            if piece.area <= 0 or len(piece.exterior.coords) < 4:
                continue
            refs = self.ring_edges(piece.exterior.coords)
            geom = "a" + ",".join("%d:%d" % (e, 1 if masked else 0) for e, masked in refs)
            self.add_object(code, geom, attrs)
            count += 1
            if line_code is not None:
                for e, masked in refs:
                    if not masked:
                        self.add_object(line_code, "l%d" % e, line_attrs)
        return count

    def add_line(self, code, line, attrs=()):
        coords = list(line.coords)
        for i in range(0, len(coords) - 1, 60000):
            e = self.add_edge(coords[i:i + 60001])
            self.add_object(code, "l%d" % e, attrs)

    def add_point(self, code, lon, lat, attrs=(), children=None, parent=None):
        self.points.append((lon, lat))
        return self.add_object(code, "p%d" % (len(self.points) - 1), attrs, children, parent)

    def add_soundings(self, soundings):
        for i in range(0, len(soundings), 60000):
            self.soundings.append(soundings[i:i + 60000])
            self.add_object(147, "s%d" % (len(self.soundings) - 1))

    def contains(self, lon, lat):
        return self.w <= lon <= self.e and self.s <= lat <= self.n

    def near(self, lon, lat, margin=0.03):
        return self.w - margin <= lon <= self.e + margin and self.s - margin <= lat <= self.n + margin

    def write(self, f):
        f.write("C\t%d\t%d\t%d\n" % (self.level, self.lon, self.lat))
        for e in self.edges:
            f.write("E\t" + " ".join("%.8f %.8f" % p for p in e) + "\n")
        for s in self.soundings:
            f.write("S\t" + " ".join("%.8f %.8f %d" % p for p in s) + "\n")
        for p in self.points:
            f.write("P\t%.8f %.8f\n" % p)
        for code, geom, attrs, children, parent in self.objects:
            kids = "-" if not children else ",".join(map(str, children))
            fields = [str(code), geom, kids, "-" if parent is None else str(parent)]
            f.write("O\t" + "\t".join(fields + [attr_text(a) for a in attrs]) + "\n")


def attr_text(attr):
    code, value = attr
    fmt = dictionary.attribute_format(code)
    if fmt == "aLIST":
        value = ",".join(str(v) for v in value)
    elif fmt == "aCMPLX":
        flags, dx, dy, text = value
        value = "%d,%d,%d:%s" % (flags, dx & 255, dy & 255, text)
    elif fmt == "aFLOAT":
        value = "%.3f" % value
    else:
        value = str(value)
    assert "\t" not in value and "\n" not in value
    return "%d=%s:%s" % (code, fmt, value)


def simplify_tolerance(level):
    return 0.25e-3 * SCALE[level]  # a quarter of a millimetre on the chart


def build_cell(level, lon, lat, log):
    cell = Cell(level, lon, lat)
    w, s, e, n = cell.w, cell.s, cell.e, cell.n
    local = Local(w, s, e, n)
    margin_lat = MAX_DISTANCE * 1.5 / M_PER_DEG_LAT
    margin_lon = margin_lat / math.cos(math.radians(min(80.0, max(abs(s), abs(n)))))
    land_deg = gmt_land(w - margin_lon, max(-89.9, s - margin_lat), e + margin_lon,
                        min(89.9, n + margin_lat), RESOLUTION[level])
    tol = simplify_tolerance(level)
    land = transform(local.fwd, land_deg).buffer(0)
    land = land.simplify(tol, preserve_topology=True).buffer(0)
    # Islets below a millimetre square on the chart (two at level C, whose
    # cell is large) are left out: an area can name only 8192 edges.
    min_area = ((2e-3 if level == 3 else 1e-3) * SCALE[level]) ** 2
    land = unary_union([p for p in polygons(land) if p.area >= min_area])
    cbox = box(*[c for c in transform(local.fwd, box(w, s, e, n)).bounds])
    extended = cbox.buffer(MAX_DISTANCE * 1.2, join_style=2)
    water = extended.difference(land)

    def clipped_deg(geom):
        # Back to degrees, cut exactly to the cell's box.
        geom = transform(local.inv, geom)
        if not geom.is_valid:  # rounding in the transform can make it self-touch
            geom = geom.buffer(0)
        return geom.intersection(box(w, s, e, n))

    # Coverage of the chart data: the whole cell, buoyage region IALA A.
    cell.add_area(217, box(w, s, e, n), [(84, 1)])

    # Depth areas (shallow first) and contours.
    limits = BANDS[level]
    regions = [water]
    for d in limits[1:]:
        grown = land.buffer(distance_for(d), 4).simplify(tol, preserve_topology=True)
        regions.append(water.difference(grown))
    for i, lo in enumerate(limits):
        band = regions[i] if i + 1 == len(limits) else regions[i].difference(regions[i + 1])
        # The deepest band reaches down to the deepest depth of the model.
        deep = limits[i + 1] if i + 1 < len(limits) else MAX_DEPTH
        attrs = [(66, float(lo)), (67, float(deep))]
        for poly in polygons(clipped_deg(band.buffer(0))):
            if poly.area * local.kx * M_PER_DEG_LAT >= min_area:
                cell.add_area(44, poly, attrs)
    for i, d in enumerate(limits[1:], start=1):
        boundary = clipped_deg(regions[i].boundary)
        for line in getattr(boundary, "geoms", [boundary]):
            if isinstance(line, LineString) and len(line.coords) >= 2:
                for piece in split_off_border(cell, line):
                    cell.add_line(45, piece, [(113, float(d))])

    # Land and its coastline.
    land_cell = clipped_deg(land)
    for poly in polygons(land_cell):
        cell.add_area(81, poly, [], line_code=35)

    # Soundings on a jittered grid, thinned by level.
    spacing = 0.015 * SCALE[level]
    rng = random.Random(level * 100000 + lon * 1000 + lat)
    tree_polys = polygons(land)
    tree = STRtree(tree_polys)
    soundings = []
    x0, y0, x1, y1 = cbox.bounds
    y = y0 + spacing / 2
    while y < y1:
        x = x0 + spacing / 2
        while x < x1:
            px = x + rng.uniform(-0.3, 0.3) * spacing
            py = y + rng.uniform(-0.3, 0.3) * spacing
            dist = distance_to(tree, tree_polys, Point(px, py), SOUNDING_REACH)
            if dist > 20:
                lonp, latp = local.inv(px, py)
                if cell.contains(lonp, latp):
                    soundings.append((lonp, latp, int(round(depth_at(dist) * 10))))
            x += spacing
        y += spacing
    cell.add_soundings(soundings)

    place_aids(cell, local, land, tree, tree_polys)
    log.write("%s %d %d: %d edges, %d soundings, %d objects\n" %
              (LEVEL_NAMES[level], lon, lat, len(cell.edges), len(soundings), len(cell.objects)))
    return cell


def split_off_border(cell, line):
    """The stretches of a line that do not run along the cell's border."""
    coords = list(line.coords)
    out, run = [], [coords[0]]
    for a, b in zip(coords, coords[1:]):
        if cell.on_border(a, b):
            if len(run) >= 2:
                out.append(LineString(run))
            run = [b]
        else:
            run.append(b)
    if len(run) >= 2:
        out.append(LineString(run))
    return out


def distance_to(tree, polys, p, reach=MAX_DISTANCE * 1.1):
    near = tree.query(box(p.x - reach, p.y - reach, p.x + reach, p.y + reach))
    best = reach
    for g in near:
        best = min(best, g.distance(p))
        if best == 0:
            break
    return best


# --- Aids to navigation and named places --------------------------------------

def water_near(local, tree, polys, lon, lat, clearance):
    """The grid point nearest to (lon, lat) with at least `clearance` metres of
    water around it."""
    x, y = local.fwd(lon, lat)
    for r in range(0, 3000, 10):
        steps = max(1, int(2 * math.pi * r / 10))
        for k in range(steps):
            a = 2 * math.pi * k / steps
            p = Point(x + r * math.cos(a), y + r * math.sin(a))
            dist = distance_to(tree, polys, p)
            if dist >= clearance:
                return local.inv(p.x, p.y) + (dist,)
    raise RuntimeError("no water near %.4f %.4f" % (lon, lat))


def shore_near(local, land, lon, lat):
    """The point of the shore nearest to (lon, lat), a little inland."""
    x, y = local.fwd(lon, lat)
    p = Point(x, y)
    best = None
    for poly in polygons(land):
        d = poly.exterior.distance(p)
        if best is None or d < best[0]:
            best = (d, poly)
    if best is None:
        return None
    ring = best[1].exterior
    q = ring.interpolate(ring.project(p))
    inner = best[1].buffer(-8)
    if not inner.is_empty:
        q = inner.boundary.interpolate(inner.boundary.project(q))
    return local.inv(q.x, q.y)


def name_attr(text, style=0, marker=False):
    return (139, (style | (128 if marker else 0), 0, 0, text))


# Lights: (name, lon, lat, on land, colours, character, group, period in
# tenths of a second, range in tenths of a nautical mile, sectors in tenths of
# a degree: (start, end, colour)).
LIGHTS = [
    ("Nordnespynten", 5.2995, 60.4020, 4, "(2)", 60, 80,
     [(900, 1800, 4), (1800, 2450, 1), (2450, 3300, 3)]),
    ("Hegreneset", 5.2560, 60.4080, 2, None, 50, 100,
     [(300, 1350, 3), (1350, 2000, 1), (2000, 2800, 4)]),
    ("Kvarven", 5.2470, 60.3980, 8, "(3)", 100, 70, []),
    ("Marstein", 5.0100, 60.1320, 2, "(3)", 200, 180, []),
    ("Hellisøy", 4.7130, 60.7520, 2, "(2)", 150, 190, []),
]
# Lit buoys and beacons near the harbour: (kind, name, lon, lat, attributes of
# the mark, topmark shape, light colour, character, period). "Vågen port" has
# neither colour (60) nor buoyage region (84): its colours come from the
# region of the coverage area around it.
MARKS = [
    ("buoy", 18, "Vågen port", 5.3120, 60.4000, [(105, 2), (24, 1)], 5, 3, 2, 30),
    ("buoy", 18, "Vågen starboard", 5.3100, 60.3990, [(105, 1), (60, 1), (24, 2), (84, 1)], 1, 4, 2, 30),
    ("buoy", 15, "Byfjorden north", 5.2700, 60.4200, [(105, 4), (60, 9), (7, 1)], 13, 1, 4, None),
    ("buoy", 19, "Byfjorden fairway", 5.2450, 60.4350, [(105, 3), (60, 11)], 3, 1, 8, 60),
    ("buoy", 17, "Puddefjorden", 5.3050, 60.3900, [(105, 4), (60, 14)], 4, 1, 2, 50),
    ("beacon", 7, "Skarvane", 5.2300, 60.4500, [(103, 1), (60, 3), (24, 1), (84, 1)], 5, 3, 2, 40),
    ("beacon", 5, "Flatøy", 5.1850, 60.4700, [(103, 3), (60, 10), (7, 4)], 10, 1, 5, None),
]


def place_aids(cell, local, land, tree, polys):
    lvl = cell.level
    # Major lights at every level from C; the others from D, marks from E.
    for name, lon, lat, chr_, grp, per, rng_, sectors in LIGHTS:
        major = name in ("Marstein", "Hellisøy")
        if lvl < 3 or (not major and lvl < 4) or not cell.near(lon, lat):
            continue
        at = shore_near(local, land, lon, lat)
        if at is None or not cell.contains(*at):
            continue
        lon, lat = at
        base = [(58, chr_), (86, per), (115, rng_), (87, name)] + ([(72, grp)] if grp else [])
        if sectors:
            for a, b, colour in sectors:
                cell.add_point(86, lon, lat, [(59, [colour]), (100, a), (101, b)] + base)
        else:
            cell.add_point(86, lon, lat, [(59, [1])] + base)
    if lvl < 5:
        add_names(cell, local, tree, polys)
        return
    for kind, code, name, lon, lat, attrs, top, colour, chr_, per in MARKS:
        if not cell.near(lon, lat):
            continue
        lon, lat, _ = water_near(local, tree, polys, lon, lat, 25 if kind == "buoy" else 5)
        if not cell.contains(lon, lat):
            continue
        first = len(cell.objects)
        aggregate = first
        structure = first + 1
        members = [structure, first + 2, first + 3]
        cell.add_object(185 if kind == "buoy" else 187, "-", [(87, name)], children=members)
        cell.add_point(code, lon, lat, attrs + [(87, name)], parent=aggregate)
        light = [(59, [colour]), (58, chr_), (115, 30 if kind == "buoy" else 40)]
        if per:
            light.append((86, per))
        cell.add_point(86, lon, lat, light, parent=aggregate)
        cell.add_point(157, lon, lat, [(106, top)], parent=aggregate)
    # Hazards: wrecks, rocks and an obstruction with their least depths. The
    # rock of 1.8 m lies south of the north cardinal buoy that marks it.
    hazards = [
        (176, 5.2620, 60.4150, [(57, 2), (124, 3)], 63),
        (176, 5.2200, 60.4400, [(57, 4), (124, 3)], None),
        (168, 5.2700, 60.4175, [(124, 3)], 18),
        (168, 5.2350, 60.4480, [(124, 5)], None),
        (99, 5.2900, 60.4050, [(124, 3), (69, 2)], 41),
    ]
    for code, lon, lat, attrs, dm in hazards:
        if not cell.near(lon, lat):
            continue
        lon, lat, _ = water_near(local, tree, polys, lon, lat, 60)
        if cell.contains(lon, lat):
            cell.add_point(code, lon, lat, attrs + ([(116, dm)] if dm else []))
    # An anchorage with its berth, a recommended track into the harbour, a
    # ferry route, a prohibited area and a compass rose.
    if not cell.near(5.2650, 60.4260):
        add_names(cell, local, tree, polys)
        return
    alon, alat, _ = water_near(local, tree, polys, 5.2650, 60.4260, 250)
    if cell.contains(alon, alat):
        ax, ay = local.fwd(alon, alat)
        ring = Point(ax, ay).buffer(220, 8)
        cell.add_area(4, transform(local.inv, ring), [(3, [1]), (87, "Byfjorden anchorage")])
        cell.add_point(3, alon, alat, [(87, "B1")])
    track = [water_near(local, tree, polys, lon, lat, 150)[:2]
             for lon, lat in ((5.2450, 60.4780), (5.2640, 60.4300), (5.2900, 60.4070))]
    if all(cell.contains(*p) for p in track):
        for a, b in zip(track, track[1:]):
            ax, ay = local.fwd(*a)
            bx, by = local.fwd(*b)
            bearing = math.degrees(math.atan2(bx - ax, by - ay)) % 360
            cell.add_line(125, LineString([a, b]), [(40, 1), (85, round(bearing, 1)), (112, 4)])
        rose = water_near(local, tree, polys, 5.2750, 60.4550, 300)
        cell.add_point(191, rose[0], rose[1], [])
    ferry = [water_near(local, tree, polys, lon, lat, 100)[:2]
             for lon, lat in ((5.3080, 60.3990), (5.2800, 60.4100), (5.2500, 60.4150))]
    if all(cell.contains(*p) for p in ferry):
        cell.add_line(59, LineString(ferry), [(87, "Bergen - Askøy")])
    plon, plat, _ = water_near(local, tree, polys, 5.2850, 60.4000, 150)
    if cell.contains(plon, plat):
        px, py = local.fwd(plon, plat)
        cell.add_area(221, transform(local.inv, box(px - 120, py - 80, px + 120, py + 80)),
                      [(87, "Nordnes prohibited area")])
        cell.add_line(193, transform(local.inv, LineString(
            [(px - 140, py - 100), (px + 140, py - 100), (px + 140, py + 100)])),
            [(129, "IN12.1")])
    add_names(cell, local, tree, polys)
    # Seabed labels in open water.
    for lon, lat, nat in ((5.2500, 60.4300, [4]), (5.2000, 60.4600, [1, 4]), (5.1500, 60.5000, [9])):
        if not cell.near(lon, lat):
            continue
        lon, lat, _ = water_near(local, tree, polys, lon, lat, 200)
        if cell.contains(lon, lat):
            cell.add_point(138, lon, lat, [(82, nat), (90, [1])])


# Places named on the chart. The harbour marker of Vågen stands in its water.
NAMES = [
    # (text, lon, lat, style, marker kind, lowest level)
    ("NORGE", 9.0, 61.5, 3, 0, 0),
    ("Bergen", 5.3240, 60.3920, 0, 1, 0),
    ("Askøy", 5.1500, 60.4200, 2, 0, 3),
    ("Sotra", 5.0500, 60.2800, 2, 0, 3),
    ("Fedje", 4.7200, 60.7800, 2, 0, 3),
    ("Byfjorden", 5.2600, 60.4300, 1, 0, 4),
    ("Hjeltefjorden", 5.0500, 60.5500, 1, 0, 4),
    ("Korsfjorden", 5.1800, 60.1700, 1, 0, 4),
    ("Vågen", 5.3165, 60.3978, 4, 4, 5),
]


def add_names(cell, local, tree, polys):
    for text, lon, lat, style, marker, lowest in NAMES:
        if cell.level >= lowest and cell.contains(lon, lat):
            cell.add_point(198, lon, lat, [name_attr(text, style, marker > 0), (181, marker)])


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "kv71sample.txt")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out + ".tmp", "w", encoding="cp1252", newline="\n") as f:
        for level in sorted(CELLS):
            for lon, lat in CELLS[level]:
                build_cell(level, lon, lat, sys.stderr).write(f)
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main()
