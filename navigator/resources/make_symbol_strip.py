#!/usr/bin/env python3
"""Writes symbols-200.png, the chart window's symbol strip (bitmap 200, also
named "SYMBOLS_BG"), as a stand-in until the user's symbols are drawn: the
same 340 x 119 layout, each of the 20 symbols a plain disc. Python's standard
library only; run it in this folder to write the file again.

Layout: 20 columns (symbol numbers 0 to 19) by 7 rows of 17 x 17 cells. Row 0
is the mask: white outside the symbol, black inside. Rows 1 to 6 hold the
symbol in the text colours of types 1 to 6 (red, blue, green, yellow, magenta,
black) on black."""

import struct
import zlib

CELL = 17
COLUMNS, ROWS = 20, 7
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
TYPE_COLOURS = [(255, 0, 0), (0, 0, 255), (0, 255, 0), (255, 255, 0), (255, 0, 255), (0, 0, 0)]
RADIUS = 5


def png(width, height, pixels):
    """pixels: rows of (r, g, b) tuples."""
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def inside(x, y):
    """Whether cell pixel (x, y) lies on the disc around the cell's centre."""
    c = CELL // 2
    return (x - c) ** 2 + (y - c) ** 2 <= RADIUS * RADIUS


def strip():
    width, height = COLUMNS * CELL, ROWS * CELL
    rows = []
    for y in range(height):
        row, cy = [], y % CELL
        kind = y // CELL
        for x in range(width):
            on = inside(x % CELL, cy)
            if kind == 0:
                row.append(BLACK if on else WHITE)
            else:
                row.append(TYPE_COLOURS[kind - 1] if on else BLACK)
        rows.append(row)
    return png(width, height, rows)


if __name__ == "__main__":
    with open("symbols-200.png", "wb") as f:
        f.write(strip())
