#!/usr/bin/env python3
"""Draws the program's icon (a bee-yellow note with a quill stroke) and its
pointing-hand cursor, and writes them as .ico and .cur files."""
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


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "resources"
    open(f"{out}/quillbee.ico", "wb").write(icon())
    open(f"{out}/hand.cur", "wb").write(cursor())
