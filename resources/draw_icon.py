#!/usr/bin/env python3
"""Draws the program icon, a camera lens seen from the front, and writes it as calvant.ico.

The icon holds one 48 x 48 image in 24-bit colour: a BITMAPINFOHEADER of doubled height, the
colour pixels bottom-up in BGR order, then the 1-bit AND mask (set bits are transparent).
Every pixel is sampled on a 4 x 4 grid, so the lens's edges are smooth while the mask stays 1-bit.

Usage: draw_icon.py [output]   (default: calvant.ico next to this script)
"""

import math
import os
import struct
import sys

SIZE = 48
SUPERSAMPLE = 4
CENTRE = SIZE / 2.0

# Radii of the lens's rings, from the outside in, in pixels.
BARREL_RADIUS = 23.5
GRIP_RADIUS = 21.0
RIM_RADIUS = 16.5
GLASS_RADIUS = 15.0
IRIS_RADIUS = 11.0
APERTURE_RADIUS = 6.0  # of the hexagonal opening, centre to corner
GRIP_RIDGES = 36
IRIS_BLADES = 6


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def lens_colour(x, y):
    """The colour at a point of the drawing (pixel units, y downwards), or None outside the lens."""
    dx, dy = x - CENTRE, y - CENTRE
    r = math.hypot(dx, dy)
    if r > BARREL_RADIUS:
        return None
    if r > GRIP_RADIUS:
        # Metal barrel, lit from the upper left.
        light = 0.5 - (dx + dy) / (4.0 * BARREL_RADIUS)
        return mix((70, 74, 82), (180, 186, 196), light)
    if r > RIM_RADIUS:
        # Knurled focus ring: dark ridges around the circumference.
        angle = math.atan2(dy, dx)
        ridge = (angle / (2.0 * math.pi) * GRIP_RIDGES) % 1.0
        return (52, 56, 62) if ridge < 0.5 else (28, 30, 34)
    if r > GLASS_RADIUS:
        return (8, 8, 10)  # black retaining ring
    # Coated glass: deep blue at the edge towards violet and teal in the middle.
    colour = mix((40, 110, 200), (12, 30, 90), r / GLASS_RADIUS)
    colour = mix(colour, (110, 60, 170), max(0.0, (dx - dy) / (2.0 * GLASS_RADIUS)))
    if r < IRIS_RADIUS:
        # Iris: six blades, seen through the glass, around a hexagonal opening.
        angle = math.atan2(dy, dx) % (2.0 * math.pi)
        sector = 2.0 * math.pi / IRIS_BLADES
        offset = angle % sector - sector / 2.0
        opening = APERTURE_RADIUS * math.cos(sector / 2.0) / math.cos(offset)
        if r < opening:
            colour = mix((2, 4, 12), colour, 0.15)
        else:
            blade = int(angle // sector)
            colour = mix(colour, (20, 24, 40) if blade % 2 else (45, 52, 78), 0.7)
    # Reflections: a large soft one at the upper left and a small bright one at the lower right.
    highlight = math.hypot(dx + 5.5, dy + 5.5)
    if highlight < 4.0:
        colour = mix((250, 252, 255), colour, (highlight / 4.0) ** 2)
    glint = math.hypot(dx - 5.0, dy - 5.0)
    if glint < 1.8:
        colour = mix((235, 240, 255), colour, glint / 1.8)
    return colour


def render():
    """Rows of (colour, opaque) pixels, top row first."""
    rows = []
    step = 1.0 / SUPERSAMPLE
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    c = lens_colour(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            opaque = covered * 2 >= SUPERSAMPLE * SUPERSAMPLE
            if opaque:
                colour = tuple(int(round(v / covered)) for v in total)
            else:
                colour = (0, 0, 0)  # transparent pixels are black, so the AND/XOR pair leaves the screen as it is
            row.append((colour, opaque))
        rows.append(row)
    return rows


def encode_ico(rows):
    xor_stride = (SIZE * 3 + 3) // 4 * 4
    and_stride = (SIZE + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        line = bytearray()
        for (red, green, blue), _ in row:
            line += bytes((blue, green, red))
        xor += line + bytes(xor_stride - len(line))
        bits = bytearray(and_stride)
        for x, (_, opaque) in enumerate(row):
            if not opaque:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        SIZE,  # biWidth
        SIZE * 2,  # biHeight: colour image and mask
        1,  # biPlanes
        24,  # biBitCount
        0,  # biCompression: BI_RGB
        len(xor) + len(mask),  # biSizeImage
        0,
        0,
        0,
        0,
    )
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)  # reserved, type icon, one image
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    return directory + entry + image


def main(argv):
    if len(argv) > 2:
        sys.stderr.write(__doc__)
        return 2
    output = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "calvant.ico")
    with open(output, "wb") as stream:
        stream.write(encode_ico(render()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
