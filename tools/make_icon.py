#!/usr/bin/env python3
"""Draws the client's icon, a green owl face, and writes it as an ICO file.

The file holds three 32-bit images, 16, 32 and 48 pixels square, each a BITMAPINFOHEADER, the
BGRA pixels and the AND mask, so it is always 15,086 bytes. The output is the same on every run.

usage: make_icon.py OUTPUT.ico
"""

import struct
import sys

SIZES = (16, 32, 48)
SUBSAMPLES = 4  # per axis: 16 samples a pixel smooth the edges

DARK_GREEN = (27, 94, 32)
GREEN = (56, 142, 60)
PALE_GREEN = (165, 214, 167)
WHITE = (250, 250, 245)
PUPIL = (30, 30, 30)
BEAK = (255, 160, 0)


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        s1, s2, s3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)

    return inside


def mirrored(shape):
    return lambda x, y: shape(1.0 - x, y)


def owl():
    """The layers from bottom to top in a unit square, y downwards."""
    left_tuft = triangle((0.10, 0.40), (0.16, 0.04), (0.42, 0.24))
    left_disc = ellipse(0.33, 0.48, 0.19, 0.20)
    left_eye = ellipse(0.33, 0.48, 0.13, 0.13)
    left_pupil = ellipse(0.35, 0.49, 0.065, 0.065)
    left_glint = ellipse(0.37, 0.45, 0.025, 0.025)
    return [
        (left_tuft, DARK_GREEN),
        (mirrored(left_tuft), DARK_GREEN),
        (ellipse(0.5, 0.57, 0.43, 0.41), DARK_GREEN),
        (ellipse(0.5, 0.58, 0.39, 0.37), GREEN),
        (ellipse(0.5, 0.86, 0.22, 0.10), PALE_GREEN),
        (left_disc, PALE_GREEN),
        (mirrored(left_disc), PALE_GREEN),
        (left_eye, WHITE),
        (mirrored(left_eye), WHITE),
        (left_pupil, PUPIL),
        (mirrored(left_pupil), PUPIL),
        (left_glint, WHITE),
        (mirrored(left_glint), WHITE),
        (triangle((0.43, 0.62), (0.57, 0.62), (0.5, 0.77)), BEAK),
    ]


def render(size):
    """Rows of (r, g, b, a) from the top, straight (not premultiplied) alpha."""
    layers = owl()
    rows = []
    n = SUBSAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for shape, fill in layers:
                        if shape(x, y):
                            colour = fill
                    if colour:
                        r, g, b, covered = r + colour[0], g + colour[1], b + colour[2], covered + 1
            if covered:
                row.append((r // covered, g // covered, b // covered, covered * 255 // (n * n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def image_data(size):
    """BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up, then the AND mask."""
    rows = render(size)
    mask_stride = (size + 31) // 32 * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + size * mask_stride, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + mask


def icon_file():
    images = [image_data(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for size, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    data = icon_file()
    assert len(data) == 15086, len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
