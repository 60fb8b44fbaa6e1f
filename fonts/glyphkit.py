"""Drawing helpers for the symbol font glyphs.

A glyph is drawn in pixel units of its font's cell, y up, with the glyph's
reference point at (0, 0): the centre of the baseline for the buoy and symbol
fonts, the rotation origin for the outline symbol font. The build scales the
result to font units and moves it to the glyph's advance.

Everything is collected as closed filled contours on one FontForge layer;
strokes are turned into outlines as they are drawn, and the build merges all
overlaps at the end.
"""

import math

import fontforge
import psMat


def _contour(points, closed=True):
    c = fontforge.contour()
    c.moveTo(*points[0])
    for p in points[1:]:
        c.lineTo(*p)
    c.closed = closed
    return c


def circle_points(cx, cy, r, n=28, start=0.0, end=360.0):
    """Points of a circle (or of an arc from start to end degrees, counterclockwise)."""
    if end - start >= 360.0:
        return [(cx + r * math.cos(2 * math.pi * i / n), cy + r * math.sin(2 * math.pi * i / n))
                for i in range(n)]
    steps = max(2, int(n * (end - start) / 360.0))
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


def ellipse_points(cx, cy, rx, ry, n=28):
    return [(cx + rx * math.cos(2 * math.pi * i / n), cy + ry * math.sin(2 * math.pi * i / n))
            for i in range(n)]


class Kit:
    """Collects the outline of one glyph."""

    LINE = 1.3  # default stroke width in pixels

    def __init__(self):
        self.layer = fontforge.layer()

    # -- filled shapes -------------------------------------------------------
    def fill(self, points):
        self.layer += _contour(points)
        return self

    def add_layer(self, layer):
        for c in layer:
            self.layer += c
        return self

    def disc(self, cx, cy, r):
        return self.fill(circle_points(cx, cy, r))

    def rect(self, x0, y0, x1, y1):
        return self.fill([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def oval(self, cx, cy, rx, ry):
        return self.fill(ellipse_points(cx, cy, rx, ry))

    # -- strokes -------------------------------------------------------------
    def _stroke(self, contour, width, cap='round', join='round'):
        tmp = fontforge.layer()
        tmp += contour
        tmp.stroke('circular', width, cap, join)
        return self.add_layer(tmp)

    def line(self, points, width=None, cap='round'):
        """An open stroke: one quad per segment and, for round ends and joins, a
        disc at every vertex. (FontForge's own stroker stumbles over sharp joins.)"""
        w = (width or self.LINE) / 2
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            d = math.hypot(x1 - x0, y1 - y0)
            if d == 0:
                continue
            nx, ny = -(y1 - y0) / d * w, (x1 - x0) / d * w
            self.fill([(x0 + nx, y0 + ny), (x0 - nx, y0 - ny), (x1 - nx, y1 - ny),
                       (x1 + nx, y1 + ny)])
        for i, (x, y) in enumerate(points):
            if cap == 'round' or 0 < i < len(points) - 1:
                self.fill(circle_points(x, y, w, 16))
        return self

    def seg(self, x0, y0, x1, y1, width=None, cap='round'):
        return self.line([(x0, y0), (x1, y1)], width, cap)

    def outline(self, points, width=None, join='miter'):
        return self._stroke(_contour(points, closed=True), width or self.LINE, 'butt', join)

    def ring(self, cx, cy, r, width=None):
        return self.outline(circle_points(cx, cy, r), width, 'round')

    def oval_ring(self, cx, cy, rx, ry, width=None):
        return self.outline(ellipse_points(cx, cy, rx, ry), width, 'round')

    def arc(self, cx, cy, r, start, end, width=None):
        return self.line(circle_points(cx, cy, r, 28, start, end), width)

    def cross_out(self, r, width=None):
        """A slanted bar across the symbol, as on the 'prohibited' symbols."""
        return self.seg(-r, -r * 0.8, r, r * 0.8, width or 1.5)

    # -- letters -------------------------------------------------------------
    def letter(self, ch, h=10.0, width=1.6, x=0.0, y=None):
        """A capital letter in plain strokes, centred on x and (by default) on the baseline."""
        w = h * 0.6
        y0 = -h / 2 if y is None else y
        L, R, B, T = x - w / 2, x + w / 2, y0, y0 + h
        M = (B + T) / 2
        if ch == 'I':
            self.seg(x, B, x, T, width)
            self.seg(x - w / 3, B, x + w / 3, B, width, 'butt')
            self.seg(x - w / 3, T, x + w / 3, T, width, 'butt')
        elif ch == 'N':
            self.line([(L, B), (L, T), (R, B), (R, T)], width)
        elif ch == 'O':
            self.oval_ring(x, M, w / 2, h / 2, width)
        elif ch == 'Q':
            self.oval_ring(x, M, w / 2, h / 2, width)
            self.seg(x + w * 0.1, B + h * 0.25, R + w * 0.15, B - h * 0.05, width)
        elif ch == 'P':
            bowl = circle_points(L + w * 0.5, T - h / 4, h / 4, 20, -90, 90)[::-1]
            self.line([(L, B), (L, T)] + bowl + [(L, M)], width)
        elif ch == '!':
            self.seg(x, M - h * 0.15, x, T, width)
            self.disc(x, B + width * 0.6, width * 0.7)
        elif ch == 'T':
            self.seg(x, B, x, T, width)
            self.seg(L, T, R, T, width)
        else:
            raise ValueError('no letter ' + ch)
        return self

    # -- transforms ----------------------------------------------------------
    def transform(self, matrix):
        self.layer.transform(matrix)
        return self

    def skew(self, slope):
        """Leans the drawing: x grows by slope times y."""
        return self.transform(psMat.skew(math.atan(slope)))


def clip(points, x0, y0, x1, y1):
    """The part of a closed shape inside a rectangle, as a layer."""
    layer = fontforge.layer()
    layer += _contour(points)
    layer += _contour([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])
    layer.intersect()
    return layer
