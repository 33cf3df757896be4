#!/usr/bin/env python3
"""Writes packaging/kelvane.ico: the program's image (a page of text with a
curved arrow turning back through it, as packaging/kelvane.svg draws it) at
16, 32 and 48 pixels, rasterised here so the Windows build needs no converter.

Run from the source folder: python3 tools/gen_icon.py
"""
import math
import struct

SS = 4  # samples per pixel along each axis


def inside_round_rect(x, y, l, t, r, b, rad):
    if x < l or x > r or y < t or y > b:
        return False
    cx = min(max(x, l + rad), r - rad)
    cy = min(max(y, t + rad), b - rad)
    return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad


def near_segment(x, y, x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (w / 2) ** 2


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def on_arc(x, y):
    # radius 16 around (33.23, 41.84), from (48, 48) the long way round to (44, 30)
    cx, cy, rad = 33.23, 41.84, 16.0
    d = math.hypot(x - cx, y - cy)
    if abs(d - rad) > 2.25:
        return False
    a = math.degrees(math.atan2(-(y - cy), x - cx)) % 360
    start, end = 337.34, 47.71  # (48, 48) and (44, 30), y up
    # Clockwise on screen from start to end leaves out the short way between them.
    return not (end < a < start)


def colour_at(x, y):
    """The colour (r, g, b, a) of the image at (x, y) on its 64-unit grid."""
    if in_triangle(x, y, (36, 28), (47, 26), (47, 38)) or on_arc(x, y):
        return (0xd2, 0x45, 0x2e, 255)
    for x0, y0, x1, y1 in ((19, 17, 45, 17), (19, 25, 41, 25), (19, 33, 45, 33), (19, 41, 35, 41)):
        if near_segment(x, y, x0, y0, x1, y1, 3):
            return (0x9a, 0xa8, 0xbc, 255)
    if inside_round_rect(x, y, 13.25, 7.25, 50.75, 56.75, 2):
        return (0xfd, 0xfd, 0xf8, 255)
    if inside_round_rect(x, y, 10.75, 4.75, 53.25, 59.25, 4.25):
        return (0x4a, 0x5a, 0x70, 255)
    return (0, 0, 0, 0)


def render(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    x = (px + (sx + 0.5) / SS) * 64 / size
                    y = (py + (sy + 0.5) / SS) * 64 / size
                    r, g, b, a = colour_at(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SS * SS
            a = acc[3] / n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(a)),))
        rows.append(row)
    return rows


def bmp_entry(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # the alpha channel decides; the mask shows everything
    return header + pixels + mask


def main():
    sizes = (16, 32, 48)
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open("packaging/kelvane.ico", "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
