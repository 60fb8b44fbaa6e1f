"""Glyph drawings of the three symbol fonts, by character code.

Each entry draws one glyph with the helpers of glyphkit (pixel units of the
font's cell, y up). What each code stands for and which drawing uses it is in
inventory.csv; build.py refuses to build when a code of the inventory has no
drawing here.

Buoy font ("INT1 Bouys"): 24 x 24 cell, placed by the centre of the baseline.
Buoys and beacons stand on the baseline with a small position circle at the
reference point; their fill parts (whole body, three bands, upper and lower
half, left and right half) are separate glyphs that the coded-symbol table
stacks under the outline. Buoys lean to the right as on paper charts.

Symbol font ("INT1 Symbols"): 24 x 24 cell, each symbol centred on the
reference point unless it marks a position on its base.

Outline symbol font ("INT1 Vector"): 30-pixel cell, drawn rotated about the
origin. Flares and direction marks point north (up) unrotated; line
ornaments run along +x from the origin, centred on the line, one advance long.
"""

import math

from glyphkit import circle_points, clip, ellipse_points

LEAN = 0.22  # slope of the leaning buoys

# --------------------------------------------------------------------------
# Buoy font
# --------------------------------------------------------------------------

# Body silhouettes (unleaned), standing on y = 2 above the position circle.
BODIES = {
    'conical': [(-5, 2), (5, 2), (0, 14)],
    'can': [(-4.5, 2), (4.5, 2), (4.5, 11), (-4.5, 11)],
    'spherical': circle_points(0, 2, 6, 28, 0, 180),
    'pillar': [(-5, 2), (5, 2), (5, 4), (2, 6.5), (2, 17), (-2, 17), (-2, 6.5), (-5, 4)],
    'spar': [(-1.7, 2), (1.7, 2), (1.2, 18), (-1.2, 18)],
    'barrel': ellipse_points(0, 6.5, 7, 4.5),
    'super': [(-9, 2), (9, 2), (7, 7), (-7, 7)],
    'installation': [(-9, 2), (9, 2), (8, 5.5), (3, 5.5), (3, 10), (-3, 10), (-3, 5.5),
                     (-8, 5.5)],
    'tower': [(-4, 2), (4, 2), (2, 15), (-2, 15)],
    'hull': [(-8, 2), (8, 2), (11, 6.5), (-11, 6.5)],
}


def _extent(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


def position_circle(k):
    k.ring(0, 0, 1.5, 1.0)


def body_part(shape, part, lean):
    """One fill part of a body: 'full', 'band0..2' (top to bottom), 'upper',
    'lower', 'left', 'right'."""
    pts = BODIES[shape]
    x0, y0, x1, y1 = _extent(pts)
    x0, x1 = x0 - 1, x1 + 1
    if part == 'full':
        rect = (x0, y0 - 1, x1, y1 + 1)
    elif part.startswith('band'):
        i = int(part[4:])
        h = (y1 - y0) / 3
        rect = (x0, y1 - (i + 1) * h, x1, y1 - i * h)
    elif part == 'upper':
        rect = (x0, (y0 + y1) / 2, x1, y1 + 1)
    elif part == 'lower':
        rect = (x0, y0 - 1, x1, (y0 + y1) / 2)
    elif part == 'left':
        rect = (x0, y0 - 1, 0, y1 + 1)
    elif part == 'right':
        rect = (0, y0 - 1, x1, y1 + 1)
    else:
        raise ValueError(part)

    def draw(k):
        k.add_layer(clip(pts, *rect))
        if lean:
            k.skew(LEAN)
    return draw


def body_outline(shape, lean, extra=None):
    def draw(k):
        k.outline(BODIES[shape])
        if extra:
            extra(k)
        if lean:
            k.skew(LEAN)
        position_circle(k)
    return draw


def _super_mast(k):
    k.seg(0, 7, 0, 12)
    k.seg(-2.5, 10, 2.5, 10)


def _installation_mast(k):
    k.seg(0, 10, 0, 14)


def _float_mast(k):
    k.seg(0, 6.5, 0, 15)
    k.ring(0, 16.5, 1.4, 1.0)


def _vessel_masts(k):
    k.seg(-4, 6.5, -4, 13)
    k.seg(4, 6.5, 4, 15)
    k.ring(4, 16.5, 1.4, 1.0)
    k.seg(-7, 6.5, -5, 10)


# shape: (outline, full, band top, band middle, band bottom, lower, upper, left, right)
BODY_SETS = [
    ('pillar', True, None, (0, 8, 1, 2, 3, 4, 5, 6, 7)),
    ('conical', True, None, (9, 10, 11, 12, 13, 14, 15, 16, 17)),
    ('can', True, None, (18, 19, 20, 21, 22, 23, 24, 25, 26)),
    ('spherical', True, None, (27, 28, 29, 30, 31, 32, 33, 34, 35)),
    ('barrel', True, None, (45, 46, 47, 48, 49, 50, 51, 52, 53)),
    ('super', True, _super_mast, (54, 55, 56, 57, 58, 59, 60, 61, 62)),
    ('installation', True, _installation_mast, (68, 86, 87, 88, 89, 90, 91, 92, 93)),
    ('spar', True, None, (125, 126, 127, 128, 129, 130, 131, 132, 133)),
    ('tower', False, None, (70, 71, 72, 73, 74, 75, 76, 77, 78)),
    # Light float and light vessel share their hull fills.
    ('hull', False, _float_mast, (94, 95, 96, 97, 98, 99, 100, 101, 102)),
]

# The first glyph of a two-colour pair is the lower half, the second the upper
# half: a coded symbol's "12" stack colours them with a pattern's first and
# second colour, so "YB" (north cardinal) draws black over yellow.
PARTS = ('full', 'band0', 'band1', 'band2', 'lower', 'upper', 'left', 'right')

BUOYS = {}
for _shape, _lean, _extra, _codes in BODY_SETS:
    BUOYS[_codes[0]] = body_outline(_shape, _lean, _extra)
    for _code, _part in zip(_codes[1:], PARTS):
        BUOYS[_code] = body_part(_shape, _part, _lean)
BUOYS[103] = body_outline('hull', False, _vessel_masts)


def _stake(k, top=15):
    k.seg(0, 1.5, 0, top, 1.7)
    position_circle(k)


def _topmark_two_spheres(k, y):
    k.disc(0, y + 2, 1.8)
    k.disc(0, y + 6, 1.8)


def _withy(k, up):
    k.seg(0, 1.5, 0, 15, 1.4)
    for y in (8, 11, 14):
        if up:
            k.seg(0, y - 3, -3, y)
            k.seg(0, y - 3, 3, y)
        else:
            k.seg(0, y, -3, y - 3)
            k.seg(0, y, 3, y - 3)
    position_circle(k)


def _mooring_buoy(k):
    k.oval(0, 5.5, 6.5, 3.5)
    k.skew(LEAN)
    k.ring(1.5, 11, 1.8, 1.0)
    position_circle(k)


def _lanby(k):
    k.outline(BODIES['super'])
    k.seg(0, 7, 0, 14)
    k.disc(0, 15.5, 1.6)
    k.skew(LEAN)
    position_circle(k)


def _generic_beacon(k):
    k.outline([(-3, 2), (3, 2), (1.5, 14), (-1.5, 14)])
    position_circle(k)


def _notice_board(filled):
    def draw(k):
        k.seg(0, 1.5, 0, 9, 1.5)
        if filled:
            k.rect(-5, 9, 5, 15)
        else:
            k.outline([(-5, 9), (5, 9), (5, 15), (-5, 15)])
        position_circle(k)
    return draw


def _lattice(k):
    k.outline([(-5, 2), (5, 2), (2, 16), (-2, 16)])
    k.line([(-5, 2), (3.4, 9), (-2, 16)], 0.9)
    k.line([(5, 2), (-3.4, 9), (2, 16)], 0.9)
    position_circle(k)


BUOYS.update({
    63: _mooring_buoy,
    64: _lanby,
    65: _generic_beacon,
    66: _notice_board(False),
    67: _notice_board(True),
    69: lambda k: _stake(k),
    79: _lattice,
    80: lambda k: (_stake(k, 12), k.rect(-2.5, 12, 2.5, 17)),
    81: lambda k: (_stake(k, 12), k.fill([(-3, 12), (3, 12), (0, 17.5)])),
    82: lambda k: _withy(k, False),
    84: lambda k: _withy(k, True),
    173: lambda k: (_stake(k, 12), _topmark_two_spheres(k, 12)),
    174: lambda k: (_withy(k, True), _topmark_two_spheres(k, 15)),
})


# Other marks of the buoy font.
def _ring_cross(k):
    k.ring(0, 4, 4)
    k.seg(-4, 4, 4, 4, 1.0)
    k.seg(0, 0, 0, 8, 1.0)


def _daymark(k):
    k.seg(0, 0, 0, 6, 1.4)
    k.rect(-4, 6, 4, 13)


def _fish_stakes(k):
    k.line([(-6, 12), (0, 1), (6, 12)], 1.3)
    for x in (-3, 0, 3):
        k.seg(x, 1, x, 5, 1.0)


def _square_diagonal(k):
    k.outline([(-5, 0), (5, 0), (5, 10), (-5, 10)])
    k.seg(-5, 0, 5, 10, 1.0)


def _mast(k):
    k.seg(0, 1.5, 0, 17, 1.2)
    k.line([(-4, 1.5), (0, 12), (4, 1.5)], 0.8)
    position_circle(k)


def _radar(kind):
    def draw(k):
        k.ring(0, 5, 5)
        if kind == 1:
            k.arc(0, 12, 4, 200, 340, 1.2)
            k.seg(0, 8.5, 0, 10, 1.0)
        elif kind == 2:
            k.seg(0, 10, 0, 16, 1.2)
            k.seg(-3, 16, 3, 16, 1.2)
        else:
            k.disc(0, 5, 1.6)
            k.seg(-6, 12, 6, 12, 1.2)
    return draw


def _fish(k, cx, cy, size=1.0, filled=True):
    body = ellipse_points(cx, cy, 4.5 * size, 2.2 * size)
    tail = [(cx + 3.8 * size, cy), (cx + 7 * size, cy + 2.4 * size), (cx + 7 * size, cy - 2.4 * size)]
    if filled:
        k.fill(body)
        k.fill(tail)
    else:
        k.outline(body, 1.0, 'round')
        k.outline(tail, 1.0, 'round')


def _marine_farm(k):
    k.outline([(-8, 0), (8, 0), (8, 10), (-8, 10)], 1.0)
    _fish(k, -1.5, 5, 0.9)


def _deviation_dolphin(k):
    k.rect(-2, 2, 2, 6)
    k.ring(0, 4, 5, 1.0)
    k.seg(0, 9, 0, 13, 1.0)


def _element5(k):
    k.outline([(-4, 0), (4, 0), (0, 7)], 1.2)


def _semaphore(k):
    k.seg(0, 1.5, 0, 16, 1.3)
    k.seg(0, 13, -5, 16, 1.2)
    k.seg(0, 10, 5, 7, 1.2)
    position_circle(k)


def _variant(n):
    """Eight outlined marks told apart by shape (and a centre dot for the later ones)."""
    def draw(k):
        shape = n % 4
        if shape == 0:
            k.ring(0, 5, 4.5)
        elif shape == 1:
            k.outline([(-4, 1), (4, 1), (4, 9), (-4, 9)])
        elif shape == 2:
            k.outline([(0, 0), (5, 5), (0, 10), (-5, 5)])
        else:
            k.outline([(-5, 1), (5, 1), (0, 10)])
        if n >= 4:
            k.disc(0, 4.5, 1.3)
    return draw


def _kelp(k):
    k.line([(0, 0), (-1.5, 4), (1.5, 8), (-1.5, 12), (0, 15)], 1.1)
    for y, s in ((4, -1), (8, 1), (12, -1)):
        k.oval(s * 2.8, y + 1, 2.2, 1.0)


def _pile(k):
    k.disc(0, 2.5, 2.4)


BUOYS.update({
    104: _ring_cross,
    105: _daymark,
    106: _fish_stakes,
    107: _square_diagonal,
    108: _mast,
    109: _radar(3),
    110: _marine_farm,
    111: _deviation_dolphin,
    112: _element5,
    113: _semaphore,
    114: _radar(1),
    115: _radar(2),
    124: _kelp,
    134: _pile,
})
for _n in range(8):
    BUOYS[116 + _n] = _variant(_n)


# Topmarks, standing on the baseline (the top of the structure they crown).
def _cone(k, base, tip):
    k.fill([(-3, base), (3, base), (0, tip)])


def _besom(k, up):
    k.seg(0, 0.5, 0, 9, 1.0)
    for dx in (-3, -1.5, 1.5, 3):
        if up:
            k.seg(0, 4, dx, 9, 0.9)
        else:
            k.seg(0, 9, dx, 4, 0.9)


TOPMARKS = {
    155: lambda k: _cone(k, 1, 6.5),
    156: lambda k: _cone(k, 6.5, 1),
    157: lambda k: k.disc(0, 3.8, 2.8),
    158: lambda k: (k.disc(0, 3, 2.3), k.disc(0, 8.2, 2.3)),
    159: lambda k: k.rect(-2.5, 1, 2.5, 7.5),
    160: lambda k: k.rect(-4, 1.5, 4, 6.5),
    161: lambda k: (k.seg(-3, 1, 3, 8, 1.5), k.seg(3, 1, -3, 8, 1.5)),
    162: lambda k: (k.seg(0, 0.5, 0, 9, 1.5), k.seg(-3.5, 5.5, 3.5, 5.5, 1.5)),
    163: lambda k: (k.outline([(0, 1), (3.2, 4.5), (0, 8), (-3.2, 4.5)], 1.1),
                    k.seg(0, 1, 0, 8, 0.9)),
    164: lambda k: (_cone(k, 1, 5), _cone(k, 10, 5.6)),
    165: lambda k: (_cone(k, 5, 1), _cone(k, 5.6, 10)),
    166: lambda k: k.fill([(0, 0.5), (2.6, 5), (0, 9.5), (-2.6, 5)]),
    167: lambda k: (_cone(k, 1, 5), _cone(k, 5.6, 10)),
    168: lambda k: (_cone(k, 5, 1), _cone(k, 10, 5.6)),
    169: lambda k: _besom(k, True),
    170: lambda k: _besom(k, False),
    171: lambda k: (k.seg(-2, 0.5, -2, 10, 1.0), k.rect(-2, 6, 3.5, 10)),
    172: lambda k: (k.fill([(0, 0.5), (2.5, 4.2), (0, 8), (-2.5, 4.2)]), k.disc(0, 10.3, 2)),
}
BUOYS.update(TOPMARKS)

# --------------------------------------------------------------------------
# Symbol font
# --------------------------------------------------------------------------


def _anchor(k, s=1.0, cx=0.0, cy=0.0):
    w = 1.3 * s if s < 1 else 1.4
    k.seg(cx, cy - 6 * s, cx, cy + 5 * s, w)
    k.seg(cx - 3 * s, cy + 3 * s, cx + 3 * s, cy + 3 * s, w)
    k.ring(cx, cy + 6.5 * s, 1.5 * s, w * 0.8)
    k.arc(cx, cy - 2 * s, 4.5 * s, 200, 340, w)


def _star(k, cx, cy, r, points=4, inner=0.35):
    pts = []
    for i in range(points * 2):
        a = math.pi / 2 + math.pi * i / points
        rr = r if i % 2 == 0 else r * inner
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    k.fill(pts)


def _airplane(k):
    k.seg(0, -8, 0, 8, 1.8)
    k.fill([(-9, 0), (9, 0), (9, 1.5), (1, 4), (-1, 4), (-9, 1.5)])
    k.fill([(-4, -7), (4, -7), (4, -6), (0.8, -4.5), (-0.8, -4.5), (-4, -6)])


def _question(k):
    k.line(circle_points(0, 3, 3.5, 24, -90, 180)[::-1] + [(0, -2)], 1.6)
    k.disc(0, -5.5, 1.0)


def _position_circle(k):
    k.ring(0, 0, 3.2, 1.2)
    k.disc(0, 0, 0.8)


def _tower(k):
    k.rect(-1.6, 0, 1.6, 10)
    k.ring(0, 0, 2.2, 1.0)


def _chimney(k):
    k.fill([(-2.5, -4), (2.5, -4), (1.2, 6), (-1.2, 6)])
    k.arc(2.5, 8, 2, 180, 360, 0.9)


def _house(k):
    k.outline([(-4, -4), (4, -4), (4, 2), (0, 6), (-4, 2)])


def _hospital(k):
    k.outline([(-5, -5), (5, -5), (5, 5), (-5, 5)])
    k.seg(0, -3, 0, 3, 1.6)
    k.seg(-3, 0, 3, 0, 1.6)


def _domed(k):
    k.rect(-4, -4, 4, 1)
    k.fill(circle_points(0, 1, 3, 20, 0, 180))


def _station(k):
    k.ring(0, 0, 3)
    k.seg(0, 3, 0, 10, 1.1)
    k.fill([(0, 10), (4, 8.5), (0, 7)])


def _built_up(k):
    for x, y in ((-4, -3), (1, -3), (-1.5, 2)):
        k.rect(x, y, x + 3.5, y + 3.5)


def _prohibited_anchor(k):
    _anchor(k)
    k.cross_out(7)


def _caution(k):
    k.outline([(-7, -5), (7, -5), (0, 7)], 1.2, 'round')
    k.letter('!', 7.0, 1.3, 0, -4)


def _tuft(k):
    k.seg(0, -4, 0, 4, 1.1)
    k.seg(0, -4, -3.5, 3, 1.1)
    k.seg(0, -4, 3.5, 3, 1.1)


def _triangulation(k):
    k.outline([(-4.5, -3), (4.5, -3), (0, 4.8)], 1.2, 'round')
    k.disc(0, -0.4, 0.9)


def _ring_cross_small(k):
    k.ring(0, 0, 3.5, 1.1)
    k.seg(-5.5, 0, 5.5, 0, 1.0)
    k.seg(0, -5.5, 0, 5.5, 1.0)


def _benchmark(k):
    k.seg(-4, -4, 4, -4, 1.4)
    k.seg(0, -4, 0, 4, 1.2)
    k.fill([(-2.5, 2), (2.5, 2), (0, 6)])


def _hash(k, s=1.0):
    for d in (-2 * s, 2 * s):
        k.seg(d, -5 * s, d, 5 * s, 1.1)
        k.seg(-5 * s, d, 5 * s, d, 1.1)


def _ring_bar(dot):
    def draw(k):
        k.ring(0, 0, 4)
        k.seg(-7, 0, 7, 0, 1.2)
        if dot:
            k.disc(0, 0, 1.2)
    return draw


def _fog_signal(k):
    for r in (4, 7, 10):
        k.arc(0, 0, r, 150, 210, 1.1)


def _fort(filled):
    def draw(k):
        pts = [(-5, -4), (5, -4), (5, 4), (3.5, 4), (3.5, 2.5), (1, 2.5), (1, 4), (-1, 4),
               (-1, 2.5), (-3.5, 2.5), (-3.5, 4), (-5, 4)]
        if filled:
            k.fill(pts)
        else:
            k.outline(pts, 1.1)
    return draw


def _logs(k):
    for x, y in ((-3, -3), (3, -3), (0, 2.2)):
        k.ring(x, y, 2.6, 1.0)


def _yacht(k):
    k.fill([(-1, -1), (-1, 8), (5, -1)])
    k.fill([(-6, -3), (6, -3), (4, -6), (-4, -6)])


def _pond(k):
    k.outline([(-6, -5), (6, -5), (6, 5), (-6, 5)], 1.0)
    k.line([(-4, 0), (-2, 1.5), (0, 0), (2, -1.5), (4, 0)], 1.0)


def _trawl(k):
    k.outline([(-7, 3), (-7, -3), (5, -1), (5, 1)], 1.0, 'round')
    for x in (-4, -1, 2):
        k.seg(x, -2.2, x, 2.2, 0.7)
    k.cross_out(7)


def _dolphin(k):
    k.rect(-2, -2, 2, 2)
    k.ring(0, 0, 4.5, 1.0)


def _blob(scale):
    pts = [(-6, -2), (-4, -5), (1, -5.5), (5, -3), (6, 1), (3, 5), (-2, 5), (-5.5, 2.5)]
    return [(x * scale, y * scale) for x, y in pts]


def _pilot(k):
    k.ring(0, 0, 6, 1.2)
    k.fill([(0, -3.5), (3.5, 0), (0, 3.5), (-3.5, 0)])


def _quarry(k):
    k.seg(-5, -5, 5, 5, 1.2)
    k.seg(5, -5, -5, 5, 1.2)
    k.seg(2.5, 6, 6, 2.5, 1.6)
    k.seg(-2.5, 6, -6, 2.5, 1.6)


def _signal_station(k):
    k.ring(0, 0, 3)
    k.seg(0, 3, 0, 11, 1.1)
    k.seg(-4, 8, 4, 8, 1.0)
    k.seg(-3, 5.5, 3, 5.5, 1.0)


def _radar_reflector(k):
    k.outline([(0, -4), (4, 0), (0, 4), (-4, 0)], 1.1)
    k.seg(0, -4, 0, 4, 0.9)
    k.seg(-4, 0, 4, 0, 0.9)


# Small-craft facility pictograms.
def _visitor_berth(k):
    k.outline([(-7, -7), (7, -7), (7, 7), (-7, 7)], 1.0)
    k.fill([(-5, -1), (5, -1), (3.5, -4), (-3.5, -4)])
    k.seg(0, -1, 0, 5, 1.0)


def _club(k):
    k.seg(-2, -7, -2, 7, 1.2)
    k.fill([(-2, 7), (6, 4.5), (-2, 2)])


def _inn(k):
    k.outline([(-4, -6), (3, -6), (3, 4), (-4, 4)], 1.2)
    k.arc(3, -1, 2.5, -90, 90, 1.2)


def _restaurant(k):
    k.seg(-3, -7, -3, 6, 1.1)
    for x in (-4.5, -3, -1.5):
        k.seg(x, 2, x, 6, 0.8)
    k.seg(3, -7, 3, 6, 1.1)
    k.fill([(3, 6), (4.5, 4), (4.5, -1), (3, -1)])


def _tap(k):
    k.line([(-6, 3), (3, 3), (3, -1)], 1.6)
    k.seg(-3, 3, -3, 6, 1.2)
    k.seg(-5, 6, -1, 6, 1.2)
    k.fill([(3, -3), (4.2, -5.5), (3, -7), (1.8, -5.5)])


def _fuel(k):
    k.outline([(-5, -7), (1, -7), (1, 6), (-5, 6)], 1.1)
    k.rect(-4, 2, 0, 4.5)
    k.line([(1, 3), (4, 1), (4, -5)], 1.0)


def _laundry(k):
    k.outline([(-6, 3), (-5, -5), (5, -5), (6, 3)], 1.1)
    k.line([(-4, 0), (-2, 1.2), (0, 0), (2, 1.2), (4, 0)], 0.9)


def _toilets(k):
    k.line([(-7, 4), (-5.5, -4), (-4, 1), (-2.5, -4), (-1, 4)], 1.1)
    k.arc(4, 0, 3.5, 50, 310, 1.1)


def _post_box(k):
    k.outline([(-6, -4), (6, -4), (6, 4), (-6, 4)], 1.1)
    k.line([(-6, 4), (0, -0.5), (6, 4)], 1.0)


def _telephone(k):
    k.arc(0, -3, 6, 30, 150, 1.6)
    k.rect(-6.5, -1.5, -3, 1.5)
    k.rect(3, -1.5, 6.5, 1.5)
    k.rect(-4, -7, 4, -4)


def _bin(k):
    k.outline([(-4, -6), (4, -6), (5, 4), (-5, 4)], 1.1)
    k.seg(-6, 5.5, 6, 5.5, 1.2)
    k.seg(-1, 7, 1, 7, 1.2)


def _car_park(k):
    k.outline([(-7, -7), (7, -7), (7, 7), (-7, 7)], 1.0)
    k.letter('P', 9.0, 1.5)


def _trailer(k):
    k.outline([(-6, -2), (4, -2), (4, 3), (-6, 3)], 1.1)
    k.seg(4, -1, 8, -1, 1.0)
    k.ring(-1, -4, 1.8, 1.0)


def _caravan(k):
    k.outline([(-7, -2), (4, -2), (4, 4), (0, 6), (-7, 6)], 1.1)
    k.seg(4, -1, 7.5, -1, 1.0)
    k.ring(-2, -4, 1.8, 1.0)
    k.outline([(-5, 1), (-2, 1), (-2, 4), (-5, 4)], 0.8)


def _tent(k):
    k.outline([(-7, -5), (7, -5), (0, 6)], 1.2, 'round')
    k.line([(-2, -5), (0, -1), (2, -5)], 1.0)


def _bolt(k):
    k.fill([(1, 8), (-4, -0.5), (-0.5, -0.5), (-2, -8), (4, 1), (0.5, 1), (3, 8)])


def _asterisk(k):
    for a in (0, 60, 120):
        dx, dy = 4.5 * math.cos(math.radians(a + 90)), 4.5 * math.sin(math.radians(a + 90))
        k.seg(-dx, -dy, dx, dy, 1.4)


def _plus(k):
    k.seg(-4, 0, 4, 0, 1.5)
    k.seg(0, -4, 0, 4, 1.5)


def _awash(k):
    _plus(k)
    for x, y in ((-3, -3), (3, -3), (-3, 3), (3, 3)):
        k.disc(x, y, 0.9)


def _overfalls(k):
    for y in (-4, 0, 4):
        k.line([(-7, y), (-5, y + 1.5), (-2.5, y), (0, y + 1.5), (2.5, y), (5, y + 1.5),
                (7, y)], 1.0)


def _wreck(k):
    k.seg(-8, 0, 8, 0, 1.3)
    for x in (-4, 0, 4):
        k.seg(x, -2.5, x, 2.5, 1.3)


def _hull_showing(k):
    pts = [(-8, 0.5), (8, 0.5), (6, -3.5), (-6, -3.5)]
    k.fill(pts)
    k.seg(-10, 0.5, 10, 0.5, 1.0)


def _post(k):
    k.disc(0, 0, 2)
    k.seg(0, 0, 0, 8, 1.3)


def _spring(k):
    k.ring(0, 0, 4, 1.1)
    k.seg(0, 4, 0, 9, 1.1)
    k.seg(-2, 7, 2, 7, 1.0)


def _magnet(k):
    k.line([(-3.5, 5)] + circle_points(0, -1, 3.5, 20, 180, 360) + [(3.5, 5)], 2.0)
    k.seg(-5.5, 5.5, -1.5, 5.5, 1.0)
    k.seg(1.5, 5.5, 5.5, 5.5, 1.0)


def _tree(kind):
    def draw(k):
        if kind == 'deciduous':
            k.seg(0, -6, 0, 0, 1.2)
            k.ring(0, 3, 3.5, 1.1)
        elif kind == 'general':
            k.seg(0, -6, 0, 0, 1.2)
            k.disc(0, 3, 3.3)
        elif kind == 'conifer':
            k.seg(0, -6, 0, -2, 1.2)
            k.outline([(-4, -2), (4, -2), (0, 7)], 1.1, 'round')
        elif kind == 'roots':
            for x in (-3, 3):
                k.arc(x, -6, 3, 0, 180, 1.0)
            k.seg(0, -3, 0, 2, 1.1)
        elif kind == 'crown':
            k.seg(0, -6, 0, 0, 1.1)
            k.arc(0, 0, 5, 20, 160, 1.1)
            k.arc(0, 2, 3, 20, 160, 1.1)
        elif kind == 'grass':
            k.seg(0, -4, 0, 3, 1.0)
            k.seg(0, -4, -3, 2, 1.0)
            k.seg(0, -4, 3, 2, 1.0)
        elif kind == 'reeds':
            for x in (-3, 0, 3):
                k.seg(x, -6, x, 3, 0.9)
                k.oval(x, 4.5, 0.9, 1.8)
    return draw


SYMBOLS = {
    0: lambda k: (k.outline([(0, -4), (4, 0), (0, 4), (-4, 0)], 1.1), k.disc(0, 0, 0.9)),
    1: _airplane,
    2: lambda k: _anchor(k, 0.8),
    3: lambda k: _anchor(k),
    4: lambda k: (_anchor(k, 0.9, -1.5), _star(k, 6, 6, 3.5)),
    5: lambda k: (_anchor(k, 0.9, -1.5), k.seg(5, 2, 5, 9, 1.0), k.fill([(5, 9), (9, 7.5), (5, 6)])),
    7: _question,
    8: lambda k: k.rect(-3, -3, 3, 3),
    9: lambda k: (k.seg(0, -5, 0, 6, 1.5), k.seg(-3, 2.5, 3, 2.5, 1.5)),
    10: _tower,
    11: _chimney,
    12: _position_circle,
    13: _house,
    14: lambda k: (k.outline([(-4, -4), (4, -4), (4, 4), (-4, 4)], 1.1), k.disc(0, 0, 1.1)),
    15: _hospital,
    16: _domed,
    17: _station,
    18: _built_up,
    19: lambda k: (k.outline([(-4, 4), (4, 4), (0, -4)], 1.1, 'round'), k.disc(0, 1.3, 0.9)),
    20: _prohibited_anchor,
    21: _caution,
    22: _tuft,
    23: _triangulation,
    24: lambda k: k.disc(0, 0, 1.6),
    25: _ring_cross_small,
    26: _benchmark,
    27: lambda k: k.fill([(-4.5, -3.5), (4.5, -3.5), (0, 4.5)]),
    28: lambda k: (k.fill([(-4.5, -3.5), (4.5, -3.5), (0, 4.5)]), k.seg(-6, -5.5, 6, -5.5, 1.1)),
    29: lambda k: (k.ring(0, 0, 7, 1.0), _hash(k, 0.8)),
    30: _ring_bar(False),
    31: _ring_bar(True),
    32: _fog_signal,
    34: _fort(False),
    35: _fort(True),
    36: lambda k: _fish(k, -1.5, 0),
    37: _logs,
    38: _yacht,
    39: _pond,
    40: lambda k: _fish(k, -1.5, 0, 1.0, False),
    41: _trawl,
    42: lambda k: (_fish(k, -1.5, 0), k.cross_out(7)),
    44: _dolphin,
    45: lambda k: (k.outline([(-5, -5), (5, -5), (5, 5), (-5, 5)], 1.2), k.disc(0, 0, 0.9)),
    46: lambda k: k.ring(0, 0, 2.5, 1.0),
    47: lambda k: k.fill(_blob(0.8)),
    48: lambda k: k.outline(_blob(1.0), 1.2, 'round'),
    49: lambda k: k.disc(0, 0, 1.6),
    50: _pilot,
    51: _quarry,
    54: _signal_station,
    55: _radar_reflector,
    56: lambda k: k.ring(0, 0, 7, 1.3),
    57: _visitor_berth,
    58: _club,
    59: _inn,
    60: _restaurant,
    61: _tap,
    62: _fuel,
    63: _laundry,
    64: _toilets,
    65: _post_box,
    66: _telephone,
    67: _bin,
    68: _car_park,
    69: _trailer,
    70: _caravan,
    71: _tent,
    72: _bolt,
    73: lambda k: k.letter('I'),
    74: _asterisk,
    75: lambda k: k.disc(0, 0, 2.4),
    76: _plus,
    77: _awash,
    78: lambda k: k.letter('N'),
    79: lambda k: k.letter('O'),
    80: lambda k: k.letter('P'),
    81: lambda k: k.letter('Q'),
    82: _overfalls,
    83: _wreck,
    84: lambda k: _hash(k, 0.7),
    85: _hull_showing,
    86: lambda k: (k.ring(0, 0, 3.2, 1.1), k.disc(0, 0, 1.6)),
    87: _post,
    89: _spring,
    91: lambda k: _star(k, 0, 0, 6),
    94: _magnet,
    0x60: _tree('deciduous'),
    0x61: _tree('general'),
    0x62: _tree('conifer'),
    0x63: _tree('roots'),
    0x64: _tree('crown'),
    0x65: _tree('grass'),
    0x66: _tree('reeds'),
    104: lambda k: k.disc(0, 0, 2),
    126: lambda k: k.ring(0, 0, 4, 1.2),
    127: lambda k: k.disc(0, 0, 3.6),
    128: lambda k: k.outline([(-4, -4), (4, -4), (4, 4), (-4, 4)], 1.2),
    129: lambda k: k.rect(-3.6, -3.6, 3.6, 3.6),
    130: lambda k: (k.ring(0, 0, 4.5, 1.1), k.ring(0, 0, 2.3, 1.0)),
    131: lambda k: k.disc(0, 0, 4.2),
}

# --------------------------------------------------------------------------
# Outline symbol font: (drawing, advance width in pixels)
# --------------------------------------------------------------------------


def _buoyage_arrow(k):
    k.seg(0, 0, 0, 5.5, 0.5)
    k.fill([(-1.3, 5), (1.3, 5), (0, 7.6)])


def _flare(k):
    bulb = circle_points(0, 11.5, 2.8, 28, -20, 200)
    k.fill([(0, 0)] + bulb)


def _ornament_anchor(k):
    _anchor(k, 0.55, 5, 0.3)


def _tick(k):
    k.seg(0, 0, 6, 0, 1.2)
    k.seg(3, 0, 3, -4, 1.2)


def _tick_barred(k):
    _tick(k)
    k.seg(1.2, -2.4, 4.8, -2.4, 1.0)


def _orientation(k):
    k.seg(0, 0, 0, 6, 0.8)
    k.line([(-1.8, 4), (0, 7), (1.8, 4)], 0.8)


VECTOR = {
    1: (_buoyage_arrow, 0),
    2: (lambda k: k.rect(-3.4, 0.4, -1.6, 2.4), 0),
    3: (lambda k: k.fill([(1.5, 0.4), (3.5, 0.4), (2.5, 2.6)]), 0),
    4: (_flare, 0),
    5: (_ornament_anchor, 10),
    6: (_tick, 8),
    7: (lambda k: k.line([(1, 2.5), (5, 0), (1, -2.5)], 1.2), 8),
    8: (_tick_barred, 8),
    9: (lambda k: _fish(k, 4, 0, 0.7), 12),
    10: (lambda k: (_fish(k, 4, 0, 0.7), k.seg(2, -3, 8, 3, 1.1)), 12),
    11: (lambda k: k.ring(4, 0, 2.2, 1.1), 8),
    12: (lambda k: k.line([(0.5, -3.5), (3.5, 1), (2, -0.5), (5, 3.5)], 1.1), 6),
    13: (lambda k: k.fill([(1, -1.5), (5, -1.5), (3, 2.5)]), 6),
    14: (_orientation, 0),
    16: (lambda k: k.fill([(3, -2.5), (5.5, 0), (3, 2.5), (0.5, 0)]), 6),
}
