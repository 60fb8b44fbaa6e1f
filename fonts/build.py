#!/usr/bin/python3
"""Builds the three symbol fonts as TrueType files with FontForge.

    /usr/bin/python3 build.py OUTPUT_DIRECTORY [INVENTORY.csv]

Writes INT1BOUY.TTF ("INT1 Bouys"), SYMBINT1.TTF ("INT1 Symbols") and
INT1VECT.TTF ("INT1 Vector"). Character code c of the system (a byte) is the
glyph of code point U+F000 + c, so every byte, 0 included, has its own glyph
and no code page lies between the two.

The build is reproducible: the time stamps come from SOURCE_DATE_EPOCH (a
fixed date when it is not set) and nothing else varies. Each file is written
under a temporary name, opened again and checked (face name, every code of
inventory.csv present with a non-empty outline, advance widths), and only then
renamed into place: FontForge can report success after writing an empty font.
"""

import csv
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, HERE)
os.environ.setdefault('SOURCE_DATE_EPOCH', '1767225600')

import fontforge  # noqa: E402
import psMat  # noqa: E402

import glyphs  # noqa: E402
from glyphkit import Kit  # noqa: E402

CODE_BASE = 0xF000
PX = 100  # font units per pixel of the cell

# base name: (face name, PostScript name, cell height in pixels, ascent in pixels,
#             drawings, fixed advance in pixels or None for per-glyph advances)
FONTS = {
    'INT1BOUY': ('INT1 Bouys', 'INT1Bouys', 24, 18, glyphs.BUOYS, 24),
    'SYMBINT1': ('INT1 Symbols', 'INT1Symbols', 24, 12, glyphs.SYMBOLS, 24),
    'INT1VECT': ('INT1 Vector', 'INT1Vector', 30, 15, glyphs.VECTOR, None),
}


def read_inventory(path=os.path.join(HERE, 'inventory.csv')):
    """{base name: {code: (drawn as, used by)}} from the inventory table."""
    table = {}
    with open(path, newline='', encoding='utf-8') as f:
        rows = [line for line in f if not line.startswith('#')]
    for row in csv.DictReader(rows):
        table.setdefault(row['font'], {})[int(row['code'])] = (row['drawn as'], row['used by'])
    return table


def drawing_of(entry):
    """(draw function, advance in pixels or None) of one drawings entry."""
    return entry if isinstance(entry, tuple) else (entry, None)


def build_glyph(font, code, entry, advance_px):
    draw, own_advance = drawing_of(entry)
    advance = own_advance if advance_px is None else advance_px
    kit = Kit()
    draw(kit)
    layer = kit.layer
    # Fonts placed by the centre of the baseline are drawn centred on 0; the
    # outline font keeps its rotation origin at the glyph origin. Overlaps are
    # merged in font units, where FontForge's arithmetic is steadiest.
    shift = advance / 2 if advance_px is not None else 0
    layer.transform(psMat.compose(psMat.translate(shift, 0), psMat.scale(PX)))
    layer.round()
    layer.removeOverlap()
    layer.correctDirection()
    layer.round()
    glyph = font.createChar(CODE_BASE + code, 'c%03d' % code)
    glyph.foreground = layer
    glyph.width = int(round(advance * PX))
    return glyph


def make_font(base):
    face, psname, cell, ascent, drawings, advance = FONTS[base]
    font = fontforge.font()
    font.encoding = 'UnicodeBmp'
    font.fontname = psname
    font.familyname = face
    font.fullname = face
    font.weight = 'Regular'
    font.version = '1.0'
    font.copyright = 'Symbol font of the chart engine, drawn for this project.'
    font.em = cell * PX
    font.ascent = ascent * PX
    font.descent = (cell - ascent) * PX
    font.os2_winascent = ascent * PX
    font.os2_windescent = (cell - ascent) * PX
    font.os2_typoascent = ascent * PX
    font.os2_typodescent = -(cell - ascent) * PX
    font.os2_typolinegap = 0
    font.hhea_ascent = ascent * PX
    font.hhea_descent = -(cell - ascent) * PX
    font.hhea_linegap = 0
    font.os2_winascent_add = font.os2_windescent_add = 0
    font.os2_typoascent_add = font.os2_typodescent_add = 0
    font.hhea_ascent_add = font.hhea_descent_add = 0
    for code in sorted(drawings):
        build_glyph(font, code, drawings[code], advance)
    return font


def check_font(path, base, inventory):
    """Problems found in a written font file, as texts (none when it is sound)."""
    face, _, _, _, drawings, advance = FONTS[base]
    problems = []
    font = fontforge.open(path)
    try:
        if font.familyname != face:
            problems.append('face name %r, expected %r' % (font.familyname, face))
        for code in sorted(set(drawings) | set(inventory)):
            slot = CODE_BASE + code
            if slot not in font or not font[slot].isWorthOutputting():
                problems.append('code %d has no glyph' % code)
                continue
            g = font[slot]
            if g.foreground.isEmpty():
                problems.append('code %d has an empty outline' % code)
            want = advance if advance is not None else drawing_of(drawings[code])[1]
            if g.width != int(round(want * PX)):
                problems.append('code %d advance %d, expected %d' % (code, g.width, want * PX))
    finally:
        font.close()
    return problems


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    inventory = read_inventory(*argv[2:])
    failed = False
    for base in FONTS:
        drawings = FONTS[base][4]
        listed = set(inventory.get(base, {}))
        missing = sorted(listed - set(drawings))
        unlisted = sorted(set(drawings) - listed)
        if missing or unlisted:
            sys.stderr.write('%s: inventory codes without a drawing %s, drawings not in the '
                             'inventory %s\n' % (base, missing, unlisted))
            failed = True
            continue
        final = os.path.join(out_dir, base + '.TTF')
        tmp = final + '.tmp.ttf'
        font = make_font(base)
        font.generate(tmp, flags=('no-FFTM-table', 'omit-instructions', 'no-hints'))
        font.close()
        problems = check_font(tmp, base, listed)
        if problems:
            sys.stderr.write('%s: %s\n' % (base, '; '.join(problems)))
            os.remove(tmp)
            failed = True
            continue
        os.replace(tmp, final)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
