#!/usr/bin/env python3
"""Draws the program's icon (a bee-yellow note with a quill stroke) at every
size Windows asks for, its pointing-hand cursor and the small glyphs of the
editing dialogs, and writes them as .ico, .cur and 24-bit .bmp files. In the
glyphs pure red (255, 0, 0) marks the pixels the dialogs leave transparent."""
import struct
import sys
import zlib


# The sizes Windows asks for: small and large icons at 100 % to 200 %, the
# 40 and 64 of the shell's views, and the jumbo one.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def dib_32bpp(pixels, size):
    """pixels: rows top to bottom of (r, g, b, a); a bottom-up DIB with its mask."""
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    and_row = ((size + 31) // 32) * 4
    andmask = b"\0" * (and_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask


def png(pixels, size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


# From this size on an icon image is stored as PNG, which every Windows since
# Vista reads at any size; the small ones stay bitmaps for anything older
# that looks only at them. Saves most of the icon's bytes in the program.
PNG_FROM = 40


def ico(images):
    """images: (size, pixels) pairs; one .ico file holding every size."""
    blobs = [png(px, n) if n >= PNG_FROM else dib_32bpp(px, n) for n, px in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (n, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def blend(px, x, y, colour, cover):
    """Lays `colour` over the pixel with the given coverage (0..1)."""
    if cover <= 0:
        return
    r, g, b, a = px[y][x]
    top = cover * colour[3] / 255
    alpha = top + a / 255 * (1 - top)
    if alpha <= 0:
        return
    mix = [(colour[i] * top + (r, g, b)[i] * a / 255 * (1 - top)) / alpha for i in range(3)]
    px[y][x] = tuple(int(round(v)) for v in mix) + (int(round(alpha * 255)),)


def fill_rect(px, left, top, right, bottom, colour):
    for y in range(top, bottom):
        for x in range(left, right):
            blend(px, x, y, colour, 1)


def stroke(px, size, x0, y0, x1, y1, width, colour):
    """An antialiased straight stroke, by 4 x 4 samples in each pixel."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    half = width / 2
    for y in range(size):
        for x in range(size):
            inside = 0
            for sy in range(4):
                for sx in range(4):
                    px_, py_ = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
                    t = max(0.0, min(1.0, ((px_ - x0) * dx + (py_ - y0) * dy) / length2))
                    cx, cy = x0 + t * dx - px_, y0 + t * dy - py_
                    inside += cx * cx + cy * cy <= half * half
            blend(px, x, y, colour, inside / 16)


def icon_image(n):
    """The icon drawn for a size of n pixels: a bee-yellow note with lines of
    writing and a quill. Edges sit on whole pixels at every size, and small
    sizes get fewer lines, so that nothing is a blur of a larger picture."""
    px = [[(0, 0, 0, 0)] * n for _ in range(n)]
    unit = n / 32
    edge = max(1, round(unit))
    left, top = round(4 * unit), round(3 * unit)
    right, bottom = n - left, n - top
    fill_rect(px, left, top, right, bottom, (90, 60, 10, 255))
    fill_rect(px, left + edge, top + edge, right - edge, bottom - edge, (255, 214, 64, 255))
    lines = 2 if n < 20 else 3 if n < 32 else 4 if n < 64 else 5
    first, last = top + edge + max(2, round(4 * unit)), bottom - edge - max(2, round(4 * unit))
    for i in range(lines):
        y = first + round(i * (last - first) / (lines - 1))
        fill_rect(px, left + edge + max(1, round(3 * unit)), y, right - max(3, round(9 * unit)), y + edge,
                  (120, 90, 30, 255))
    # The quill from the top right corner down into the page.
    width = max(1.6, 2.2 * unit)
    stroke(px, n, right - 0.5, top + 0.5, left + 0.45 * (right - left), top + 0.55 * (bottom - top), width,
           (40, 40, 160, 255))
    if n >= 48:  # the vane of the feather, where there is room for it
        stroke(px, n, right - 0.2 * (right - left), top + 0.12 * (bottom - top), right - 0.05 * (right - left),
               top + 0.02 * (bottom - top), 2.5 * width, (70, 70, 200, 220))
    return px


def icon():
    return ico([(n, icon_image(n)) for n in ICON_SIZES])


def cursor():
    """32 x 32 monochrome pointing hand, hot spot at (5, 0)."""
    art = [
        "....##..........",
        "...#..#.........",
        "...#..#.........",
        "...#..#.........",
        "...#..###.......",
        "...#..#..###....",
        "...#..#..#..##..",
        ".###..#..#..#.#.",
        "#..#........#..#",
        "#..............#",
        ".#.............#",
        "..#............#",
        "..#...........#.",
        "...#..........#.",
        "...#.........#..",
        "....#........#..",
        "....##########..",
    ]
    size = 32
    shape = [[" "] * size for _ in range(size)]
    for y, line in enumerate(art):
        for x, c in enumerate(line):
            shape[y][x + 2] = c
    # Fill the inside of the hand white: flood from outside marks the transparent area.
    outside = [[False] * size for _ in range(size)]
    stack = [(0, size - 1)]
    while stack:
        x, y = stack.pop()
        if not (0 <= x < size and 0 <= y < size) or outside[y][x] or shape[y][x] == "#":
            continue
        outside[y][x] = True
        stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    row_bytes = 4
    xor_rows, and_rows = [], []
    for y in range(size):
        xb = bytearray(row_bytes)
        ab = bytearray(row_bytes)
        for x in range(size):
            bit = 0x80 >> (x % 8)
            if outside[y][x]:
                ab[x // 8] |= bit  # transparent: AND 1, XOR 0
            elif shape[y][x] != "#":
                xb[x // 8] |= bit  # white inside: AND 0, XOR 1
        xor_rows.append(bytes(xb))
        and_rows.append(bytes(ab))
    xor = b"".join(reversed(xor_rows))
    andmask = b"".join(reversed(and_rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(andmask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + xor + andmask
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 2, 0, 5, 0, len(image), 22) + image


RED = (255, 0, 0)  # transparent in the glyphs


def bmp_24bpp(pixels):
    """pixels: rows top to bottom of (r, g, b); a bottom-up 24-bit BMP file."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for row in reversed(pixels):
        data = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        rows.append(data + b"\0" * (stride - len(data)))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset) + info + image


def paint(art, colours):
    """Pixel art: one character per pixel, looked up in `colours`."""
    width = max(len(line) for line in art)
    return [[colours[c] for c in line.ljust(width, ".")] for line in art]


def find_glyph():
    """24 x 24: a magnifying glass over the transparent background."""
    size = 24
    px = [[RED] * size for _ in range(size)]
    cx, cy = 9.5, 9.5
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= 5.6:
                px[y][x] = (255, 255, 255) if (x - cx) + (y - cy) < -3 else (170, 210, 240)
            elif d <= 7.6:
                px[y][x] = (40, 50, 70)
    for i in range(8):  # the handle, two pixels thick and three wide
        for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1), (2, 1), (1, 2)):
            x, y = 14 + i + dx, 14 + i + dy
            if x < size and y < size:
                px[y][x] = (120, 70, 20) if i > 1 else (40, 50, 70)
    return px


def calendar_glyph():
    """23 x 20: a wall calendar page with two rings and a grid of days."""
    art = [
        ".....#.........#.......",
        "....#o#.......#o#......",
        ".KKKK#KKKKKKKKK#KKKKK..",
        ".KHHHHHHHHHHHHHHHHHHHK.",
        ".KHHHHHHHHHHHHHHHHHHHK.",
        ".KHHHHHHHHHHHHHHHHHHHK.",
        ".KWWWWWWWWWWWWWWWWWWWK.",
        ".KWggWWggWWggWWggWWggK.",
        ".KWggWWggWWggWWggWWggK.",
        ".KWWWWWWWWWWWWWWWWWWWK.",
        ".KWggWWggWWggWWrrWWggK.",
        ".KWggWWggWWggWWrrWWggK.",
        ".KWWWWWWWWWWWWWWWWWWWK.",
        ".KWggWWggWWggWWggWWggK.",
        ".KWggWWggWWggWWggWWggK.",
        ".KWWWWWWWWWWWWWWWWWWWK.",
        ".KWggWWggWWggWWWWWWWWK.",
        ".KWggWWggWWggWWWWWWWWK.",
        ".KKKKKKKKKKKKKKKKKKKKK.",
        ".......................",
    ]
    colours = {".": RED, "#": (60, 60, 60), "o": (200, 200, 200), "K": (60, 60, 90),
               "H": (40, 110, 190), "W": (255, 255, 255), "g": (150, 150, 160), "r": (200, 40, 40)}
    return paint(art, colours)


def note_glyph():
    """10 x 11: a note page with a folded corner and lines of writing."""
    art = [
        "#######...",
        "#WWWWW#W#.",
        "#WWWWW#WW#",
        "#WllllW###",
        "#WWWWWWWW#",
        "#WllllllW#",
        "#WWWWWWWW#",
        "#WllllllW#",
        "#WWWWWWWW#",
        "#WWWWWWWW#",
        "##########",
    ]
    return paint(art, {".": RED, "#": (70, 70, 70), "W": (255, 250, 200), "l": (90, 120, 180)})


def bang_glyph():
    """3 x 11: an exclamation bar, solid: no pixel is transparent."""
    art = ["ooo"] * 8 + ["yyy", "ooo", "ooo"]
    return paint(art, {"o": (230, 100, 0), "y": (255, 236, 150)})


WHITE = (255, 255, 255)  # transparent in the list editor's row icons
NOTE_COLOURS = {".": WHITE, "#": (70, 70, 70), "W": (255, 250, 200), "l": (90, 120, 180),
                "o": (230, 100, 0), "K": (150, 60, 0)}


def note_row_icon():
    """14 x 14: a note page with a folded corner and lines of writing."""
    art = [
        "..........",
        "..#######.",
        "..#WWWWW##",
        "..#WllllW#",
        "..#WWWWWW#",
        "..#WllllW#",
        "..#WWWWWW#",
        "..#WllllW#",
        "..#WWWWWW#",
        "..#WllllW#",
        "..#WWWWWW#",
        "..#WWWWWW#",
        "..########",
        "..........",
    ]
    return paint([line.ljust(14, ".") for line in art], NOTE_COLOURS)


def bang_row_icon():
    """14 x 14: an exclamation mark, orange with a dark edge."""
    art = [
        "..............",
        "......KKK.....",
        ".....KoooK....",
        ".....KoooK....",
        ".....KoooK....",
        ".....KoooK....",
        "......KoK.....",
        "......KoK.....",
        "......KoK.....",
        ".......K......",
        "......KKK.....",
        ".....KoooK....",
        "......KKK.....",
        "..............",
    ]
    return paint(art, NOTE_COLOURS)


def note_bang_row_icon():
    """14 x 14: the note page with the exclamation mark beside it."""
    art = [
        "..............",
        "#######..KKK..",
        "#WWWWW##KoooK.",
        "#WllllW#KoooK.",
        "#WWWWWW#KoooK.",
        "#WllllW#.KoK..",
        "#WWWWWW#.KoK..",
        "#WllllW#.KoK..",
        "#WWWWWW#..K...",
        "#WllllW#.KKK..",
        "#WWWWWW#KoooK.",
        "#WWWWWW#.KKK..",
        "########......",
        "..............",
    ]
    return paint(art, NOTE_COLOURS)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "resources"
    open(f"{out}/quillbee.ico", "wb").write(icon())
    open(f"{out}/hand.cur", "wb").write(cursor())
    for name, glyph in (("bgFind", find_glyph), ("bgCalendar", calendar_glyph), ("bgNote2", note_glyph),
                        ("bgBang1", bang_glyph), ("lstNote", note_row_icon), ("lstBang", bang_row_icon),
                        ("lstNoteBang", note_bang_row_icon)):
        open(f"{out}/{name}.bmp", "wb").write(bmp_24bpp(glyph()))
