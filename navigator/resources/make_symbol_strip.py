#!/usr/bin/env python3
"""Writes symbols-200.png, the chart window's symbol strip (bitmap 200, also
named "SYMBOLS_BG"): the twenty symbols the user places on the chart, the
mark at a shown track's start (column 15) and the deletion mark (column 19).
Python's standard library only; run it in this folder to write the file
again, or with --check FILE to tell whether FILE is what it writes.

Layout: 20 columns (symbol numbers 0 to 19) by 7 rows of 17 x 17 cells, 340 x
119 pixels. Row 0 is the mask: white outside the symbol, black inside. Rows 1
to 6 hold the symbol in the text colours of types 1 to 6 (red, blue, green,
yellow, magenta, black) on black. The program draws a cell with the mask
(AND), then the colour row (OR), centred on the point. Each symbol has a
one-pixel black rim on its outside in the mask and not in the colour, so
that it reads on any chart colour; enclosed openings stay clear.

Symbols: 0 dot, 1 ring, 2 square, 3 triangle, 4 diamond, 5 cross, 6 diver's
flag, 7 fish, 8 anchor, 9 wreck, 10 danger, 11 buoy, 12 flag, 13 house,
14 star, 15 track start (a wedge pointing down at the track's first point,
which lies 6 pixels below the cell's centre), 16 warning, 17 net, 18
waypoint, 19 deletion mark."""

import math
import struct
import sys
import zlib

CELL = 17
COLUMNS, ROWS = 20, 7
C = CELL // 2  # the cell's centre pixel
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
TYPE_COLOURS = [(255, 0, 0), (0, 0, 255), (0, 255, 0), (255, 255, 0), (255, 0, 255), (0, 0, 0)]


# ---- shapes: each a test of a pixel centre (x + 0.5, y + 0.5) in cell pixels

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: (r - width) ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def box(left, top, right, bottom):
    """Pixels left..right, top..bottom inclusive."""
    return lambda x, y: left <= x <= right and top <= y <= bottom


def segment(x1, y1, x2, y2, width):
    """A stroke between two pixel centres, width pixels wide."""
    def inside(x, y):
        dx, dy = x2 - x1, y2 - y1
        t = ((x - x1) * dx + (y - y1) * dy) / float(dx * dx + dy * dy)
        t = max(0.0, min(1.0, t))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2.0) ** 2
    return inside


def polygon(points):
    """Even-odd fill of a polygon through pixel centres."""
    def inside(x, y):
        x, y = x + 0.5, y + 0.5
        hit = False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            x1, y1, x2, y2 = x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def star(cx, cy, outer, inner, points=5):
    corners = []
    for k in range(2 * points):
        r = outer if k % 2 == 0 else inner
        a = math.pi * k / points - math.pi / 2
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(corners)


SYMBOLS = [
    # 0 dot
    disc(C, C, 4.5),
    # 1 ring
    ring(C, C, 6.5, 2.2),
    # 2 square
    box(3, 3, 13, 13),
    # 3 triangle
    polygon([(C, 2), (14, 14), (2, 14)]),
    # 4 diamond
    polygon([(C, 1), (15, C), (C, 15), (1, C)]),
    # 5 cross
    union(box(7, 2, 9, 14), box(2, 7, 14, 9)),
    # 6 diver's flag: a square with a diagonal band left open
    minus(box(2, 3, 14, 13), segment(2, 3, 14, 13, 2.6)),
    # 7 fish: body and tail, an eye left open
    minus(union(polygon([(1, C), (4, 5), (8, 4), (11, 6), (12, C), (11, 10), (8, 12), (4, 11)]),
                polygon([(11, C), (15, 4), (15, 12)])),
          box(4, 7, 4, 7)),
    # 8 anchor: ring, shank, stock and arms
    union(ring(C, 3, 2.5, 1.3), box(8, 5, 8, 14), box(5, 6, 11, 6),
          minus(ring(C, 8, 6.5, 1.6), box(0, 0, 16, 10)), box(1, 10, 2, 11), box(14, 10, 15, 11)),
    # 9 wreck: a hull line with three masts
    union(box(1, 9, 15, 10), box(4, 5, 4, 13), box(8, 3, 8, 13), box(12, 5, 12, 13)),
    # 10 danger: a star of four strokes round a dot
    union(segment(C, 2, C, 14, 1.6), segment(2, C, 14, C, 1.6),
          segment(4, 4, 12, 12, 1.6), segment(4, 12, 12, 4, 1.6), disc(C, C, 2.2)),
    # 11 buoy: a can on its mooring line
    union(polygon([(5, 3), (11, 3), (12, 11), (4, 11)]), box(7, 12, 9, 14), box(3, 14, 13, 14)),
    # 12 flag: pole and pennant
    union(box(3, 1, 4, 15), polygon([(5, 2), (14, 5), (5, 9)])),
    # 13 house: walls and roof, a door left open
    minus(union(polygon([(C, 1), (15, 7), (1, 7)]), box(3, 7, 13, 14)), box(7, 10, 9, 14)),
    # 14 star
    star(C, C + 0.5, 7.5, 3.2),
    # 15 track start: a wedge pointing at the point 6 pixels below the centre
    polygon([(3, 4), (13, 4), (C, 14)]),
    # 16 warning: a triangle with an exclamation mark left open
    minus(polygon([(C, 1), (15, 14), (1, 14)]), union(box(8, 5, 8, 10), box(8, 12, 8, 12))),
    # 17 net: a grid
    union(box(2, 2, 14, 2), box(2, 14, 14, 14), box(2, 2, 2, 14), box(14, 2, 14, 14),
          box(6, 2, 6, 14), box(10, 2, 10, 14), box(2, 6, 14, 6), box(2, 10, 14, 10)),
    # 18 waypoint: a ring with a cross hair and a centre dot
    union(ring(C, C, 6.5, 1.5), box(8, 0, 8, 4), box(8, 12, 8, 16), box(0, 8, 4, 8),
          box(12, 8, 16, 8), disc(C, C, 1.5)),
    # 19 deletion mark: a bold cross
    union(segment(2, 2, 14, 14, 3.2), segment(2, 14, 14, 2, 3.2)),
]

assert len(SYMBOLS) == COLUMNS


def cell_pixels(shape):
    """The symbol's pixels and its one-pixel rim: the pixels next to it (of
    the eight neighbours) that are open to the cell's edge, so that enclosed
    openings (a ring's middle, a net's meshes) stay clear."""
    ink = {(x, y) for y in range(CELL) for x in range(CELL) if shape(x, y)}
    outside = set()
    todo = [(x, y) for x in range(CELL) for y in (0, CELL - 1)] + \
           [(x, y) for y in range(CELL) for x in (0, CELL - 1)]
    while todo:
        p = todo.pop()
        if p in outside or p in ink:
            continue
        outside.add(p)
        x, y = p
        todo += [(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                 if 0 <= x + dx < CELL and 0 <= y + dy < CELL]
    rim = {(x + dx, y + dy) for (x, y) in ink for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
    return ink, rim & outside


def png(width, height, pixels):
    """pixels: rows of (r, g, b) tuples."""
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def strip():
    width, height = COLUMNS * CELL, ROWS * CELL
    rows = [[BLACK] * width for _ in range(height)]
    for column, shape in enumerate(SYMBOLS):
        ink, rim = cell_pixels(shape)
        for y in range(CELL):
            for x in range(CELL):
                inside = (x, y) in ink or (x, y) in rim
                rows[y][column * CELL + x] = BLACK if inside else WHITE
                for kind in range(1, ROWS):
                    colour = TYPE_COLOURS[kind - 1] if (x, y) in ink else BLACK
                    rows[kind * CELL + y][column * CELL + x] = colour
    return png(width, height, rows)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        with open(sys.argv[2], "rb") as f:
            sys.exit(0 if f.read() == strip() else 1)
    with open("symbols-200.png", "wb") as f:
        f.write(strip())
