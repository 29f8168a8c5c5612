#!/usr/bin/env python3
"""Draws the application icon: a green I/O board with three soft highlight rings.

The icon is described once, as a list of shapes on a 256 x 256 canvas, and written twice from that
list: as an SVG for the scalable folder of the hicolor theme, and rasterised here, with 4 x 4
supersampling per pixel, into PNGs of 48, 64, 128 and 256 pixels. So the two kinds never drift
apart, and no SVG renderer is needed.

Only the standard library is used and nothing random, so every run writes the same bytes.

Usage: tools/make_icon.py [--out DIR]   (DIR defaults to data/icons; hicolor/... is made inside)
"""

import argparse
import os
import struct
import zlib

APP_ID = "com.talvor.KX7040Setup"
CANVAS = 256
PNG_SIZES = (48, 64, 128, 256)
SUPERSAMPLE = 4

BOARD_EDGE = (0x11, 0x48, 0x2A)
BOARD = (0x1F, 0x6B, 0x3A)
COPPER = (0xD9, 0xB8, 0x5C)
HOLE = (0x0B, 0x2E, 0x19)
SILVER = (0xC8, 0xCC, 0xD2)
SLOT = (0x4D, 0x53, 0x5B)
CHIP = (0x23, 0x26, 0x2B)
PIN = (0xB8, 0xBC, 0xC4)
CAP = (0x1A, 0x1A, 0x1A)
POT = (0x3A, 0x6F, 0xC9)
YELLOW = (0xFF, 0xD2, 0x3F)
BLUE = (0x3F, 0xA9, 0xFF)
RED = (0xFF, 0x4A, 0x4A)


def rect(x0, y0, x1, y1, color, radius=0.0, opacity=1.0):
    return ("rect", (x0, y0, x1, y1, radius), color, opacity)


def disc(cx, cy, r, color, opacity=1.0):
    return ("disc", (cx, cy, r), color, opacity)


def ring(cx, cy, r, width, color, opacity=1.0):
    """A circle outline of the given stroke width, centred on radius r."""
    return ("ring", (cx, cy, r, width), color, opacity)


def soft_ring(cx, cy, r, color):
    # A wide faint halo under a narrower solid stroke: the look of the rings on the photograph.
    return [ring(cx, cy, r, 16, color, 0.35), ring(cx, cy, r, 7, color)]


def chip_pins(x0, y0, x1, y1, count):
    pins = []
    step = (x1 - x0) / count
    for i in range(count):
        px = x0 + step * (i + 0.5)
        pins.append(rect(px - 3, y0 - 7, px + 3, y0, PIN))
        pins.append(rect(px - 3, y1, px + 3, y1 + 7, PIN))
    return pins


def shapes():
    s = [
        rect(20, 44, 236, 212, BOARD_EDGE, radius=18),
        rect(24, 48, 232, 208, BOARD, radius=14),
    ]
    for cx, cy in ((36, 60), (220, 60), (36, 196), (220, 196)):
        s += [disc(cx, cy, 7, COPPER), disc(cx, cy, 3.5, HOLE)]
    # The USB socket on the left edge.
    s += [rect(8, 100, 56, 148, SILVER, radius=3), rect(8, 114, 42, 134, SLOT, radius=2)]
    # The controller in the middle, pins on its top and bottom edges.
    s += chip_pins(102, 102, 154, 154, 5)
    s += [rect(102, 102, 154, 154, CHIP, radius=4), disc(112, 112, 3, SLOT)]
    # A trimmer in the lower left, as used for calibration.
    s += [disc(80, 182, 12, POT), rect(78, 172, 82, 192, SILVER)]
    # A three-pin jumper in the lower right with its cap on two pins.
    for px in (172, 188, 204):
        s.append(rect(px - 5, 171, px + 5, 181, COPPER))
    s.append(rect(165, 166, 195, 186, CAP, radius=3, opacity=0.9))
    # The highlight rings: yellow for a setting, blue for information, red for calibration.
    s += soft_ring(128, 128, 46, BLUE)
    s += soft_ring(188, 176, 24, YELLOW)
    s += soft_ring(80, 182, 22, RED)
    return s


def hex_color(color):
    return "#%02x%02x%02x" % color


def svg(shape_list):
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
        % (CANVAS, CANVAS, CANVAS, CANVAS),
    ]
    for kind, g, color, opacity in shape_list:
        fill = hex_color(color)
        alpha = "" if opacity == 1.0 else ' opacity="%g"' % opacity
        if kind == "rect":
            x0, y0, x1, y1, r = g
            corner = ' rx="%g"' % r if r else ""
            out.append(
                '  <rect x="%g" y="%g" width="%g" height="%g"%s fill="%s"%s/>'
                % (x0, y0, x1 - x0, y1 - y0, corner, fill, alpha)
            )
        elif kind == "disc":
            cx, cy, r = g
            out.append('  <circle cx="%g" cy="%g" r="%g" fill="%s"%s/>' % (cx, cy, r, fill, alpha))
        else:
            cx, cy, r, w = g
            out.append(
                '  <circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" stroke-width="%g"%s/>'
                % (cx, cy, r, fill, w, alpha)
            )
    out.append("</svg>")
    return "\n".join(out) + "\n"


def inside_test(kind, g):
    if kind == "rect":
        x0, y0, x1, y1, r = g

        def inside(x, y):
            if x < x0 or x >= x1 or y < y0 or y >= y1:
                return False
            dx = max(x0 + r - x, 0.0, x - (x1 - r))
            dy = max(y0 + r - y, 0.0, y - (y1 - r))
            return dx * dx + dy * dy <= r * r

        return inside, (x0, y0, x1, y1)
    if kind == "disc":
        cx, cy, r = g
        return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r), (cx - r, cy - r, cx + r, cy + r)
    cx, cy, r, w = g
    lo, hi = (r - w / 2) ** 2, (r + w / 2) ** 2
    reach = r + w / 2
    return (lambda x, y: lo <= (x - cx) ** 2 + (y - cy) ** 2 <= hi), (cx - reach, cy - reach, cx + reach, cy + reach)


def rasterise(shape_list, size):
    """Returns size * size premultiplied RGBA floats, composited front to back in list order."""
    pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    scale = CANVAS / size
    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    for kind, g, color, opacity in shape_list:
        inside, (bx0, by0, bx1, by1) = inside_test(kind, g)
        px0, py0 = max(int(bx0 / scale), 0), max(int(by0 / scale), 0)
        px1, py1 = min(int(bx1 / scale) + 1, size), min(int(by1 / scale) + 1, size)
        rgb = [c / 255.0 for c in color]
        for py in range(py0, py1):
            for px in range(px0, px1):
                hits = 0
                for oy in offsets:
                    y = (py + oy) * scale
                    for ox in offsets:
                        if inside((px + ox) * scale, y):
                            hits += 1
                if hits == 0:
                    continue
                a = opacity * hits / (n * n)
                p = pixels[py * size + px]
                for k in range(3):
                    p[k] = rgb[k] * a + p[k] * (1 - a)
                p[3] = a + p[3] * (1 - a)
    return pixels


def png(size, pixels):
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # no row filter
        for x in range(size):
            r, g, b, a = pixels[y * size + x]
            if a <= 0:
                raw += b"\0\0\0\0"
                continue
            raw += bytes(min(255, round(c / a * 255)) for c in (r, g, b)) + bytes((round(a * 255),))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "..", "data", "icons"), help="folder to write into")
    args = parser.parse_args()
    shape_list = shapes()
    theme = os.path.join(args.out, "hicolor")
    write(os.path.join(theme, "scalable", "apps", APP_ID + ".svg"), svg(shape_list).encode())
    for size in PNG_SIZES:
        folder = "%dx%d" % (size, size)
        write(os.path.join(theme, folder, "apps", APP_ID + ".png"), png(size, rasterise(shape_list, size)))


if __name__ == "__main__":
    main()
