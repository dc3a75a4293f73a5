#!/usr/bin/env python3
"""Draws the installer's icon: a green rounded tile with a white arrow landing
in a tray, written as a multi-size .ico of PNG images (standard library only)."""
import struct
import sys
import zlib

TOP = (0x25, 0xE8, 0x87)
BOTTOM = (0x00, 0xCB, 0x87)
SAMPLES = 4  # supersampling per axis, for smooth edges


def inside_tile(x, y):
    r = 0.22
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_arrow(x, y):
    shaft = 0.44 <= x <= 0.56 and 0.18 <= y <= 0.52
    head = 0.48 <= y <= 0.68 and abs(x - 0.5) <= (0.68 - y) * 1.1
    tray = 0.74 <= y <= 0.82 and 0.24 <= x <= 0.76
    return shaft or head or tray


def pixel(px, py, size):
    tile = arrow = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if inside_tile(x, y):
                tile += 1
                arrow += inside_arrow(x, y)
    n = SAMPLES * SAMPLES
    if tile == 0:
        return (0, 0, 0, 0)
    t = py / max(size - 1, 1)
    base = [round(a + (b - a) * t) for a, b in zip(TOP, BOTTOM)]
    w = arrow / tile
    rgb = [round(c + (255 - c) * w) for c in base]
    return (*rgb, round(255 * tile / n))


def png(size):
    rows = b"".join(
        b"\0" + bytes(c for x in range(size) for c in pixel(x, y, size)) for y in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def ico(sizes):
    images = [png(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(ico([16, 24, 32, 48, 64, 256]))
