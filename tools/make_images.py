#!/usr/bin/env python3
"""Draws the program's icon (a bee-yellow note with a quill stroke), its
pointing-hand cursor and the small glyphs of the editing dialogs, and writes
them as .ico, .cur and 24-bit .bmp files. In the glyphs pure red (255, 0, 0)
marks the pixels the dialogs leave transparent."""
import struct
import sys


def ico_32bpp(pixels, size):
    """pixels: rows top to bottom of (r, g, b, a)."""
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    and_row = ((size + 31) // 32) * 4
    andmask = b"\0" * (and_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image


def icon():
    size = 32
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y in range(3, 29):
        for x in range(4, 28):
            edge = x in (4, 27) or y in (3, 28)
            px[y][x] = (90, 60, 10, 255) if edge else (255, 214, 64, 255)
    for y in (9, 14, 19, 24):  # lines of writing
        for x in range(8, 22):
            px[y][x] = (120, 90, 30, 255)
    for i in range(14):  # the quill
        x, y = 26 - i, 4 + i
        for dx in (0, 1):
            if 0 <= x + dx < size:
                px[y][x + dx] = (40, 40, 160, 255)
    return ico_32bpp(px, size)


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


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "resources"
    open(f"{out}/quillbee.ico", "wb").write(icon())
    open(f"{out}/hand.cur", "wb").write(cursor())
    for name, glyph in (("bgFind", find_glyph), ("bgCalendar", calendar_glyph), ("bgNote2", note_glyph),
                        ("bgBang1", bang_glyph)):
        open(f"{out}/{name}.bmp", "wb").write(bmp_24bpp(glyph()))
