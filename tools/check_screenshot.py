#!/usr/bin/env python3
"""Checks a screenshot of the player window: a PNG of the size asked for,
mostly the editor's background (239, 239, 239), with the teal marks
(0, 128, 128) of line ends and the end of the text among it.

usage: check_screenshot.py SHOT.png WIDTH HEIGHT [MIN_TEAL_PIXELS]
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError("only 8-bit RGB or RGBA without interlacing is read here")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, channels, rows


def main():
    path, want_w, want_h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    min_teal = int(sys.argv[4]) if len(sys.argv) > 4 else 20
    width, height, channels, rows = read_png(path)
    background = teal = 0
    for row in rows:
        for x in range(width):
            rgb = tuple(row[x * channels:x * channels + 3])
            if rgb == (239, 239, 239):
                background += 1
            elif rgb == (0, 128, 128):
                teal += 1
    share = background / (width * height)
    ok = (width, height) == (want_w, want_h) and share > 0.4 and teal >= min_teal
    print(f"{path}: {width}x{height}, background {share:.0%}, teal pixels {teal}: {'ok' if ok else 'WRONG'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
