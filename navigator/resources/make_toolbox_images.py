#!/usr/bin/env python3
"""Writes the pictures of the chart window's floating tool box: the twelve
button glyphs (bitmaps 120, 104, 134, 119, 131, 132, 51, 57, 97, 52, 53 and 55,
files toolbox-<id>.png) and the six cursors 19994 to 19999 (cursor-<id>.png).
Python's standard library only; run it in this folder to write the files again.

Glyphs are 18 x 18 on light grey (C0C0C0), which the window layer shows as
the button face, so a button is a 25 x 25 cell. Cursors are 32 x 32 with an
alpha channel; their hot spots are listed in HOT_SPOTS and registered with the
same numbers by the program's module (app/ViewerModule.cpp)."""

import math
import struct
import zlib

FACE = (0xC0, 0xC0, 0xC0)
INK = (0x00, 0x20, 0x80)
BLACK = (0x00, 0x00, 0x00)
WHITE = (0xFF, 0xFF, 0xFF)
RED = (0xD0, 0x10, 0x10)
GREEN = (0x00, 0x90, 0x20)
YELLOW = (0xFF, 0xD8, 0x00)
NIGHT = (0x20, 0x28, 0x60)
SEA = (0x96, 0xC8, 0xF0)
PAPER = (0xFF, 0xFF, 0xF0)
BLUE = (0x10, 0x50, 0xC8)
WOOD = (0xE8, 0xB0, 0x30)

GLYPH = 18
CURSOR = 32

# Hot spot (x, y) of each cursor.
HOT_SPOTS = {
    19994: (15, 15),
    19995: (1, 1),
    19996: (15, 15),
    19997: (15, 15),
    19998: (15, 15),
    19999: (15, 15),
}

# 3 x 5 and 5 x 7 letters, rows top to bottom.
SMALL = {
    "3": ["111", "001", "011", "001", "111"],
    "8": ["111", "101", "111", "101", "111"],
}
LARGE = {
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
}


def png(width, height, rows, alpha):
    """rows: lists of (r, g, b) or, with alpha, (r, g, b, a) tuples."""
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    colour_type = 6 if alpha else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


class Canvas:
    """A small picture in whole pixels; None is the background."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def set(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, width=1):
        """Bresenham; a width of 2 adds the pixel below (or right of) each one."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        steep = -dy > dx
        while True:
            self.set(x0, y0, c)
            if width == 2:
                self.set(x0 + (1 if steep else 0), y0 + (0 if steep else 1), c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polyline(self, points, c, width=1):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, c, width)

    def box(self, x0, y0, x1, y1, edge, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                on_edge = x in (x0, x1) or y in (y0, y1)
                if on_edge and edge is not None:
                    self.set(x, y, edge)
                elif not on_edge and fill is not None:
                    self.set(x, y, fill)

    def disc(self, cx, cy, r, c):
        for y in range(self.size):
            for x in range(self.size):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r0, r1, c, skip=None):
        """Pixels between the radii; skip(angle) leaves a gap (degrees, 0 up, clockwise)."""
        for y in range(self.size):
            for x in range(self.size):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if r0 * r0 <= d2 <= r1 * r1:
                    angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
                    if skip is None or not skip(angle):
                        self.set(x, y, c)

    def polygon(self, points, c):
        """Fills the polygon by pixel centres (even-odd)."""
        for y in range(self.size):
            yc = y + 0.5
            xs = []
            for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                if (y0 <= yc) != (y1 <= yc):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(self.size):
                    if a <= x + 0.5 <= b:
                        self.set(x, y, c)

    def letters(self, font, text, x, y, c, scale=1, gap=1):
        for ch in text:
            rows = font[ch]
            for dy, row in enumerate(rows):
                for dx, bit in enumerate(row):
                    if bit == "1":
                        for sy in range(scale):
                            for sx in range(scale):
                                self.set(x + dx * scale + sx, y + dy * scale + sy, c)
            x += len(rows[0]) * scale + gap

    def waypoints(self, points, c):
        for x, y in points:
            self.box(x - 1, y - 1, x + 1, y + 1, c)

    def glyph(self):
        return png(self.size, self.size, [[p or FACE for p in row] for row in self.px], False)

    def outlined(self):
        """A cursor: every background pixel next to a drawn one becomes white."""
        out = [row[:] for row in self.px]
        for y in range(self.size):
            for x in range(self.size):
                if self.px[y][x] is not None:
                    continue
                for ny in range(y - 1, y + 2):
                    for nx in range(x - 1, x + 2):
                        if (0 <= nx < self.size and 0 <= ny < self.size and
                                self.px[ny][nx] not in (None, WHITE)):
                            out[y][x] = WHITE
        rows = [[(p + (255,)) if p else (0, 0, 0, 0) for p in row] for row in out]
        return png(self.size, self.size, rows, True)


# ---- Glyphs -------------------------------------------------------------------

def auto_chart():
    """120, automatic chart change: own ship inside a turning arrow."""
    c = Canvas(GLYPH)
    c.ring(8.5, 8.5, 5.6, 7.2, INK, skip=lambda a: 12 <= a <= 62)
    # The arrowhead at the ring's end, pointing on clockwise.
    a = math.radians(12)
    end = (8.5 + 6.4 * math.sin(a), 8.5 - 6.4 * math.cos(a))
    tangent, radial = (math.cos(a), math.sin(a)), (math.sin(a), -math.cos(a))
    c.polygon([(end[0] + 4.8 * tangent[0], end[1] + 4.8 * tangent[1]),
               (end[0] + 3.2 * radial[0], end[1] + 3.2 * radial[1]),
               (end[0] - 3.2 * radial[0], end[1] - 3.2 * radial[1])], INK)
    c.disc(8.5, 8.5, 2.6, RED)
    c.set(8, 8, WHITE)
    c.set(9, 9, WHITE)
    return c


def illumination():
    """104 (command 108), illumination: the sun on the left, the moon at night on the right."""
    c = Canvas(GLYPH)
    for y in range(GLYPH):
        for x in range(GLYPH):
            if (x - 9.0) ** 2 + (y - 9.0) ** 2 <= 5.6 ** 2:
                c.set(x, y, YELLOW if x < 9 else NIGHT)
    c.ring(9.0, 9.0, 5.6, 6.5, BLACK)
    for angle in (200, 235, 270, 305, 340):
        a = math.radians(angle)
        c.line(round(9 + 7.4 * math.sin(a)), round(9 - 7.4 * math.cos(a)),
               round(9 + 8.6 * math.sin(a)), round(9 - 8.6 * math.cos(a)), WOOD)
    for y in range(GLYPH):
        for x in range(10, GLYPH):
            if ((x - 12.2) ** 2 + (y - 9.0) ** 2 <= 2.7 ** 2 and
                    (x - 13.4) ** 2 + (y - 8.2) ** 2 > 2.2 ** 2):
                c.set(x, y, YELLOW)
    return c


def shallow_soundings():
    """134, soundings deeper than 5 m left out: a 3 kept, an 8 struck out."""
    c = Canvas(GLYPH)
    c.line(0, 14, 17, 14, SEA, 2)
    c.letters(SMALL, "3", 2, 5, BLACK, scale=2)
    c.letters(SMALL, "8", 10, 5, INK, scale=2)
    c.line(9, 16, 17, 3, RED, 2)
    return c


def object_info():
    """119, object information: the letter i in a blue disc."""
    c = Canvas(GLYPH)
    c.disc(8.5, 8.5, 7.6, BLUE)
    c.box(8, 3, 9, 4, WHITE, WHITE)
    c.box(8, 7, 9, 13, WHITE, WHITE)
    c.box(7, 7, 7, 7, WHITE)
    c.box(7, 13, 10, 13, WHITE)
    return c


def relief():
    """131, relief background: hills shaded by light from the north-west."""
    c = Canvas(GLYPH)

    def height(x, y):
        return (5.0 * math.exp(-((x - 6) ** 2 + (y - 6) ** 2) / 12.0) +
                4.0 * math.exp(-((x - 12) ** 2 + (y - 11) ** 2) / 9.0))

    for y in range(2, 16):
        for x in range(2, 16):
            gx = height(x + 0.5, y) - height(x - 0.5, y)
            gy = height(x, y + 0.5) - height(x, y - 0.5)
            light = max(0.0, min(1.0, 0.55 - 0.45 * (gx + gy)))
            h = height(x, y) / 5.0
            base = (int(70 + 120 * h), int(140 - 40 * h), int(60 + 10 * h))
            c.set(x, y, tuple(max(0, min(255, int(v * (0.45 + light)))) for v in base))
    c.box(1, 1, 16, 16, BLACK)
    return c


def view_3d():
    """132, the 3D view: a block of seabed in perspective."""
    c = Canvas(GLYPH)
    c.polygon([(2, 7), (7, 2), (17, 2), (12, 7)], SEA)
    c.polygon([(12, 7), (17, 2), (17, 12), (12, 17)], WOOD)
    c.box(1, 7, 12, 16, None, (0xB0, 0x88, 0x40))
    c.polyline([(1, 7), (6, 2), (16, 2), (16, 12), (12, 16)], BLACK)
    c.polyline([(1, 7), (12, 7), (16, 2)], BLACK)
    c.box(1, 7, 12, 16, BLACK)
    c.polyline([(2, 10), (5, 9), (8, 11), (11, 10)], BLUE)
    return c


def delete():
    """51 (command 56), delete: a red cross over a symbol."""
    c = Canvas(GLYPH)
    c.disc(8.5, 8.5, 3.5, GREEN)
    c.line(2, 2, 15, 15, RED, 2)
    c.line(15, 2, 2, 15, RED, 2)
    return c


def place_symbols():
    """57, new symbols: a flag and a green plus."""
    c = Canvas(GLYPH)
    c.line(3, 1, 3, 15, BLACK)
    c.polygon([(4, 1), (11, 4), (4, 7)], RED)
    c.line(1, 16, 6, 16, BLACK)
    c.box(12, 9, 13, 17, GREEN, GREEN)
    c.box(9, 12, 16, 13, GREEN, GREEN)
    return c


ROUTE = [(2, 15), (6, 9), (11, 13), (15, 7)]


def route(c, points=ROUTE):
    c.polyline(points, RED)
    c.waypoints(points, BLACK)


def choose_route():
    """97, choose a route: the list chooser above a route."""
    c = Canvas(GLYPH)
    c.box(0, 0, 17, 6, BLACK, WHITE)
    c.polygon([(11.5, 2.5), (15.5, 2.5), (13.5, 4.5)], BLACK)
    c.line(2, 3, 9, 3, INK)
    route(c, [(2, 16), (6, 10), (11, 14), (15, 9)])
    return c


def change_route():
    """52, change the active route: a route and a pencil."""
    c = Canvas(GLYPH)
    route(c, [(1, 15), (5, 9), (9, 13), (11, 8)])
    c.polygon([(10.5, 10.0), (16.0, 4.5), (17.5, 6.0), (12.0, 11.5)], WOOD)
    c.polygon([(10.5, 10.0), (12.0, 11.5), (9.5, 12.5)], BLACK)
    c.line(16, 3, 17, 4, RED)
    return c


def new_route():
    """53, make a new route: a route and a green plus."""
    c = Canvas(GLYPH)
    route(c)
    c.box(3, 1, 4, 8, GREEN, GREEN)
    c.box(0, 4, 7, 5, GREEN, GREEN)
    return c


def end_editing():
    """55, end the editing in hand: OK."""
    c = Canvas(GLYPH)
    c.letters(LARGE, "OK", 2, 5, BLACK, scale=1, gap=2)
    c.letters(LARGE, "OK", 3, 5, BLACK, scale=1, gap=2)
    return c


GLYPHS = {
    120: auto_chart,
    104: illumination,
    134: shallow_soundings,
    119: object_info,
    131: relief,
    132: view_3d,
    51: delete,
    57: place_symbols,
    97: choose_route,
    52: change_route,
    53: new_route,
    55: end_editing,
}


# ---- Cursors ------------------------------------------------------------------

def crosshair(c, cx, cy, reach, gap, colour=BLACK, width=1):
    for d in range(gap, reach + 1):
        for w in range(width):
            c.set(cx + d, cy + w, colour)
            c.set(cx - d, cy + w, colour)
            c.set(cx + w, cy + d, colour)
            c.set(cx + w, cy - d, colour)


def chart_cursor():
    """19994, the chart's cursor: a fine cross."""
    c = Canvas(CURSOR)
    crosshair(c, 15, 15, 11, 2)
    c.set(15, 15, BLACK)
    return c


def info_cursor():
    """19995, information mode: an arrow with the information mark."""
    c = Canvas(CURSOR)
    c.polygon([(1, 1), (1, 18), (5.5, 14), (9, 21), (11.5, 20), (8, 13), (13.5, 13)], BLACK)
    c.disc(20.5, 22.5, 6.5, BLUE)
    c.box(20, 18, 21, 19, WHITE, WHITE)
    c.box(20, 21, 21, 26, WHITE, WHITE)
    return c


def pick_cursor():
    """19996, choosing a route: the cross with the pick square (6 pixels around)."""
    c = Canvas(CURSOR)
    crosshair(c, 15, 15, 13, 8)
    c.box(9, 9, 21, 21, BLACK)
    return c


def delete_cursor():
    """19997, deleting symbols: the pick square with a red cross."""
    c = Canvas(CURSOR)
    crosshair(c, 15, 15, 13, 8)
    c.box(9, 9, 21, 21, BLACK)
    c.line(11, 11, 19, 19, RED, 2)
    c.line(19, 11, 11, 19, RED, 2)
    return c


def move_cursor():
    """19998: four arrows."""
    c = Canvas(CURSOR)
    c.line(15, 4, 15, 26, BLACK)
    c.line(4, 15, 26, 15, BLACK)
    for tip, a, b in [((15, 2), (11, 7), (19, 7)), ((15, 28), (11, 23), (19, 23)),
                      ((2, 15), (7, 11), (7, 19)), ((28, 15), (23, 11), (23, 19))]:
        c.polygon([tip, a, b], BLACK)
    return c


def idle_cursor():
    """19999, after a while without a mouse move: a bold cross, easy to find."""
    c = Canvas(CURSOR)
    crosshair(c, 15, 15, 14, 4, BLACK, 2)
    c.ring(15.5, 15.5, 3.0, 4.2, RED)
    return c


CURSORS = {
    19994: chart_cursor,
    19995: info_cursor,
    19996: pick_cursor,
    19997: delete_cursor,
    19998: move_cursor,
    19999: idle_cursor,
}


def main():
    for number, make in GLYPHS.items():
        with open(f"toolbox-{number}.png", "wb") as f:
            f.write(make().glyph())
    for number, make in CURSORS.items():
        with open(f"cursor-{number}.png", "wb") as f:
            f.write(make().outlined())


if __name__ == "__main__":
    main()
