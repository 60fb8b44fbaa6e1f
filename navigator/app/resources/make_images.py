#!/usr/bin/env python3
"""Writes the navigation program's own pictures: the frame's icon (20001) and
the glyphs of the chart level buttons 111 to 118. Python's standard library
only; run it in this folder to write the PNG files again.

Glyphs are 20 x 20 on light grey (C0C0C0), which the window layer shows as the
button face: a small chart sheet with the letter of the level's key (A to G
for levels 0 to 6, W for the overview)."""

import struct
import zlib

FACE = (0xC0, 0xC0, 0xC0)
SHEET = (0xFF, 0xFF, 0xF0)
EDGE = (0x40, 0x40, 0x40)
SEA = (0x96, 0xC8, 0xF0)
INK = (0x00, 0x20, 0x80)

# 5 x 7 letters, rows top to bottom.
LETTERS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
}


def png(width, height, pixels):
    """pixels: rows of (r, g, b) tuples."""
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def glyph(letter):
    size = 20
    rows = [[FACE] * size for _ in range(size)]
    # The sheet, with a strip of sea along its lower edge.
    for y in range(2, 18):
        for x in range(2, 18):
            edge = x in (2, 17) or y in (2, 17)
            rows[y][x] = EDGE if edge else (SEA if y >= 14 else SHEET)
    # The letter in whole pixels, 10 x 12 from (5, 3): each column doubled,
    # each row doubled but the middle one.
    ys = [0, 0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6]
    for dy, row in enumerate(ys):
        for col in range(5):
            if LETTERS[letter][row][col] == "1":
                for dx in (0, 1):
                    rows[3 + dy][5 + 2 * col + dx] = INK
    return png(size, size, rows)


def icon():
    size = 32
    c = (size - 1) / 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            r2 = dx * dx + dy * dy
            if r2 > 15.5 * 15.5:
                p = FACE
            elif r2 > 13.5 * 13.5:
                p = EDGE
            else:
                p = SEA
                # A compass needle: north half red, south half white.
                if abs(dx) <= (13 - abs(dy)) * 0.3:
                    p = (0xDC, 0x00, 0x00) if dy < 0 else (0xFF, 0xFF, 0xFF)
            row.append(p)
        rows.append(row)
    return png(size, size, rows)


def main():
    with open("icon-20001.png", "wb") as f:
        f.write(icon())
    for command, letter in zip(range(111, 119), "ABCDEFGW"):
        with open(f"level-{command}.png", "wb") as f:
            f.write(glyph(letter))


if __name__ == "__main__":
    main()
