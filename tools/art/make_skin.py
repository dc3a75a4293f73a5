#!/usr/bin/env python3
"""Draws the installer's skin, the 15 pictures its pages ask for by name, and
zips them flat into the archive the installer carries as resource 103.

    make_skin.py <output folder> <archive path>

Shapes are signed distance functions: a pixel's coverage is 0.5 minus its
distance to the edge, which anti-aliases every edge without supersampling.
Standard library only; the output is byte-for-byte reproducible."""
import math
import os
import struct
import sys
import zipfile
import zlib

GREEN = (0x25, 0xE8, 0x87)
DEEP_GREEN = (0x00, 0xCB, 0x87)
DARK_GREEN = (0x00, 0xA2, 0x6B)
GREY_TEXT = (0x69, 0x74, 0x6E)
CLOSE_GREY = (0x9A, 0xA3, 0x9E)
BOX_GREY = (0xC4, 0xCC, 0xC8)
WHITE = (0xFF, 0xFF, 0xFF)
ALERT = (0xF2, 0x5C, 0x54)
ZIP_TIME = (2026, 1, 1, 0, 0, 0)


# Distance functions: negative inside, in pixels.
def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, half_width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - half_width


def rounded_box(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return sdf


def capsule(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half_width
    return sdf


def polyline(points, half_width):
    parts = [capsule(*a, *b, half_width) for a, b in zip(points, points[1:])]
    return lambda x, y: min(p(x, y) for p in parts)


def triangle(a, b, c):
    # Outward normals whichever way the corners wind.
    winding = -1 if (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]) < 0 else 1
    edges = []
    for (x0, y0), (x1, y1) in ((a, b), (b, c), (c, a)):
        nx, ny = (y1 - y0) * winding, (x0 - x1) * winding
        n = math.hypot(nx, ny)
        edges.append((nx / n, ny / n, (nx * x0 + ny * y0) / n))
    return lambda x, y: max(nx * x + ny * y - d for nx, ny, d in edges)


def arc(cx, cy, r, half_width, start, end):
    """A ring segment from angle start to end (degrees, clockwise from +x)."""
    ends = [(cx + r * math.cos(math.radians(t)), cy + r * math.sin(math.radians(t))) for t in (start, end)]

    def sdf(x, y):
        t = math.degrees(math.atan2(y - cy, x - cx)) % 360
        if (t - start) % 360 <= (end - start) % 360:
            return abs(math.hypot(x - cx, y - cy) - r) - half_width
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - half_width
    return sdf


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0, 0.0)):
        self.width, self.height = width, height
        self.pixels = [list(background) for _ in range(width * height)]

    def paint(self, sdf, colour, alpha=1.0, box=None):
        """Composites colour over the canvas where sdf covers it."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(int(x0), 0), max(int(y0), 0)
        x1, y1 = min(int(math.ceil(x1)), self.width), min(int(math.ceil(y1)), self.height)
        for y in range(y0, y1):
            row = y * self.width
            for x in range(x0, x1):
                cover = 0.5 - sdf(x + 0.5, y + 0.5)
                if cover <= 0:
                    continue
                a = min(cover, 1.0) * alpha
                self.blend(row + x, colour, a)

    def shade(self, fn):
        """Sets every pixel from fn(x, y) -> (r, g, b, a) under what is there."""
        for y in range(self.height):
            for x in range(self.width):
                self.pixels[y * self.width + x] = list(fn(x, y))

    def blend(self, index, colour, a):
        px = self.pixels[index]
        out_a = a + px[3] * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            px[i] = (colour[i] * a + px[i] * px[3] * (1 - a)) / out_a
        px[3] = out_a

    def png(self):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for px in self.pixels[y * self.width:(y + 1) * self.width]:
                raw.extend(max(0, min(255, round(c))) for c in px[:3])
                raw.append(max(0, min(255, round(px[3] * 255))))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def main_bg():
    c = Canvas(600, 400)
    c.shade(lambda x, y: (*mix((0xF3, 0xFC, 0xF8), WHITE, min(y / 260, 1.0)), 1.0))
    c.paint(circle(590, -30, 190), GREEN, 0.10, (380, 0, 600, 170))
    c.paint(circle(530, -70, 150), DEEP_GREEN, 0.08, (370, 0, 600, 90))
    c.paint(circle(-40, 430, 160), GREEN, 0.06, (0, 260, 130, 400))
    return c


# A 5 x 7 block alphabet for the word mark.
GLYPHS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
}


def logo():
    c = Canvas(200, 48)
    c.paint(rounded_box(2, 2, 46, 46, 11), DEEP_GREEN)
    c.paint(rounded_box(2, 2, 46, 24, 11), GREEN, 0.55, (2, 2, 46, 24))
    c.paint(ring(24, 24, 11, 2.2), WHITE, 1.0, (8, 8, 40, 40))
    c.paint(circle(24, 24, 5), WHITE, 1.0, (16, 16, 32, 32))
    cell, x = 4, 58
    for letter in "TARVEL":
        for row, line in enumerate(GLYPHS[letter]):
            for col, mark in enumerate(line):
                if mark == "#":
                    x0, y0 = x + col * cell, 10 + row * cell
                    c.paint(rounded_box(x0, y0, x0 + cell, y0 + cell, 0.5), DARK_GREEN, 1.0,
                            (x0 - 1, y0 - 1, x0 + cell + 1, y0 + cell + 1))
        x += 6 * cell
    return c


def close_button(hover):
    c = Canvas(24, 24)
    if hover:
        c.paint(circle(12, 12, 11.5), DEEP_GREEN, 0.14)
    colour = DEEP_GREEN if hover else CLOSE_GREY
    c.paint(capsule(7.5, 7.5, 16.5, 16.5, 1.1), colour)
    c.paint(capsule(16.5, 7.5, 7.5, 16.5, 1.1), colour)
    return c


def back_arrow(colour):
    c = Canvas(16, 16)
    c.paint(polyline([(10.5, 3.5), (5.5, 8), (10.5, 12.5)], 1.2), colour)
    return c


def custom_chevron(colour):
    c = Canvas(10, 10)
    c.paint(polyline([(2, 3.5), (5, 6.5), (8, 3.5)], 0.9), colour)
    return c


def checkbox(selected):
    c = Canvas(14, 14)
    if selected:
        c.paint(rounded_box(0.5, 0.5, 13.5, 13.5, 3), DEEP_GREEN)
        c.paint(polyline([(3.6, 7.2), (6, 9.6), (10.4, 4.6)], 0.95), WHITE)
    else:
        c.paint(rounded_box(0.5, 0.5, 13.5, 13.5, 3), BOX_GREY)
        c.paint(rounded_box(1.6, 1.6, 12.4, 12.4, 2), WHITE)
    return c


def error_icon():
    c = Canvas(40, 40)
    c.paint(circle(20, 20, 19), ALERT)
    c.paint(capsule(20, 10.5, 20, 22.5, 2.2), WHITE)
    c.paint(circle(20, 29, 2.5), WHITE)
    return c


def inquire_icon():
    c = Canvas(40, 40)
    c.paint(circle(20, 20, 19), DEEP_GREEN)
    c.paint(arc(20, 15.5, 5.5, 2.0, 180, 90), WHITE)
    c.paint(capsule(20, 21, 20, 23.5, 2.0), WHITE)
    c.paint(circle(20, 29.5, 2.4), WHITE)
    return c


def install_banner():
    c = Canvas(560, 280)
    c.shade(lambda x, y: (*mix(GREEN, DEEP_GREEN, (x / 560 + y / 280) / 2), 1.0))
    c.paint(circle(500, 40, 120), WHITE, 0.10, (380, 0, 560, 160))
    c.paint(circle(60, 290, 110), WHITE, 0.08, (0, 180, 170, 280))
    c.paint(rounded_box(150, 58, 410, 214, 14), WHITE, 0.95, (150, 58, 410, 214))
    c.paint(rounded_box(162, 70, 398, 190, 8), (0xE9, 0xFB, 0xF2), 1.0, (162, 70, 398, 190))
    c.paint(triangle((266, 108), (266, 152), (302, 130)), DEEP_GREEN, 1.0, (260, 100, 310, 160))
    c.paint(circle(383, 84, 6), ALERT, 1.0, (375, 76, 391, 92))
    c.paint(rounded_box(250, 214, 310, 226, 3), WHITE, 0.95, (250, 214, 310, 226))
    c.paint(rounded_box(220, 226, 340, 234, 4), WHITE, 0.95, (220, 226, 340, 234))
    return c


SKIN = {
    "custom_btn_back_hover.png": lambda: back_arrow(DEEP_GREEN),
    "custom_btn_back_normal.png": lambda: back_arrow(GREY_TEXT),
    "custom_btn_back_press.png": lambda: back_arrow(DARK_GREEN),
    "error_icon.png": error_icon,
    "global_btn_close_hover.png": lambda: close_button(True),
    "global_btn_close_normal.png": lambda: close_button(False),
    "inquire_icon.png": inquire_icon,
    "install_banner.png": install_banner,
    "logo.png": logo,
    "main_bg.png": main_bg,
    "main_checkbox_deselect.png": lambda: checkbox(False),
    "main_checkbox_select.png": lambda: checkbox(True),
    "main_word_custom_hover.png": lambda: custom_chevron(DEEP_GREEN),
    "main_word_custom_normal.png": lambda: custom_chevron(GREY_TEXT),
    "main_word_custom_press.png": lambda: custom_chevron(DARK_GREEN),
}


def main(folder, archive):
    os.makedirs(folder, exist_ok=True)
    with zipfile.ZipFile(archive + ".part", "w", zipfile.ZIP_DEFLATED) as z:
        for name in sorted(SKIN):
            data = SKIN[name]().png()
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
            z.writestr(zipfile.ZipInfo(name, ZIP_TIME), data, zipfile.ZIP_DEFLATED)
    os.replace(archive + ".part", archive)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
