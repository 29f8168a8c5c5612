#!/usr/bin/env python3
"""Draws the two pictures the board description carries.

assets/board.jpg is a stand-in for the photograph of the KX-7040: a green board seen from above,
600 x 536 pixels, with every part the highlight circles point at drawn inside the circle's
rectangle. It is written as a progressive JPEG with colour subsampled 2 x 2, through `cjpeg`
(libjpeg-turbo-progs), because that is the kind of file the program must be able to read.

assets/power-jack.bmp is the polarity drawing of the external power jack, 112 x 48, 24 bits per
pixel with bottom-up rows, black on white, written directly.

Only the standard library is used, and nothing random: the noise that keeps the photograph from
looking flat comes from a fixed generator, so every run writes the same bytes.

Usage: tools/make_assets.py [--out DIR] [--ppm]   (--ppm also keeps the photograph as board.ppm)
"""

import argparse
import math
import os
import struct
import subprocess
import sys

WIDTH, HEIGHT = 600, 536
SUPERSAMPLE = 2  # the photograph is drawn at twice its size and averaged down, which smooths edges

# 5 x 7 glyphs for the silkscreen and the polarity drawing; '#' is ink.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "-": [".....", ".....", ".....", "#####", ".....", ".....", "....."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    "/": ["....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."],
    " ": ["....."] * 7,
}


def text_width(text, scale=1):
    return (len(text) * 6 - 1) * scale


class Random:
    """A small xorshift generator: the same sequence on every machine and Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def shade(color, factor):
    return tuple(min(255.0, c * factor) for c in color)


class Canvas:
    """An RGB picture drawn in board coordinates; shapes cover the pixels whose centres they contain."""

    def __init__(self, width, height, scale, background):
        self.scale = scale
        self.w = width * scale
        self.h = height * scale
        self.px = [list(map(float, background)) for _ in range(self.w * self.h)]

    def _span(self, lo, hi, limit):
        s = self.scale
        return max(0, int(math.floor(lo * s))), min(limit, int(math.ceil(hi * s)) + 1)

    def _paint(self, i, color, alpha):
        p = self.px[i]
        if alpha >= 1.0:
            p[0], p[1], p[2] = color
        else:
            p[0] += (color[0] - p[0]) * alpha
            p[1] += (color[1] - p[1]) * alpha
            p[2] += (color[2] - p[2]) * alpha

    def shape(self, x0, y0, x1, y1, inside, color, alpha=1.0):
        """Paints every pixel in the box whose centre satisfies inside(x, y); color may depend on x, y."""
        s = self.scale
        xs, xe = self._span(x0, x1, self.w)
        ys, ye = self._span(y0, y1, self.h)
        dynamic = callable(color)
        for py in range(ys, ye):
            y = (py + 0.5) / s
            row = py * self.w
            for px in range(xs, xe):
                x = (px + 0.5) / s
                if inside(x, y):
                    self._paint(row + px, color(x, y) if dynamic else color, alpha)

    def rect(self, x0, y0, x1, y1, color, alpha=1.0):
        self.shape(x0, y0, x1, y1, lambda x, y: x0 <= x < x1 and y0 <= y < y1, color, alpha)

    def round_rect(self, x0, y0, x1, y1, r, color, alpha=1.0):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

        self.shape(x0, y0, x1, y1, inside, color, alpha)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0):
        self.shape(cx - rx, cy - ry, cx + rx, cy + ry,
                   lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, color, alpha)

    def circle(self, cx, cy, r, color, alpha=1.0):
        self.ellipse(cx, cy, r, r, color, alpha)

    def ring(self, cx, cy, outer, inner, color, alpha=1.0, gap=None):
        """A ring; gap=(start, end) in degrees (0 = right, counter-clockwise) leaves an opening."""

        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if not (inner * inner <= d <= outer * outer):
                return False
            if gap is None:
                return True
            angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
            start, end = gap[0] % 360, gap[1] % 360
            within = start <= angle <= end if start <= end else (angle >= start or angle <= end)
            return not within

        self.shape(cx - outer, cy - outer, cx + outer, cy + outer, inside, color, alpha)

    def line(self, points, width, color, alpha=1.0):
        """A polyline of the given width with round joins and ends."""
        half = width / 2.0
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy or 1e-9

            def inside(x, y, ax=ax, ay=ay, dx=dx, dy=dy, length2=length2):
                t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
                qx, qy = ax + t * dx - x, ay + t * dy - y
                return qx * qx + qy * qy <= half * half

            self.shape(min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half,
                       inside, color, alpha)

    def polygon(self, points, color, alpha=1.0):
        """A convex polygon, points in either winding."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        edges = list(zip(points, points[1:] + points[:1]))

        def inside(x, y):
            sign = 0
            for (ax, ay), (bx, by) in edges:
                cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
                if cross != 0:
                    if sign == 0:
                        sign = 1 if cross > 0 else -1
                    elif (cross > 0) != (sign > 0):
                        return False
            return True

        self.shape(min(xs), min(ys), max(xs), max(ys), inside, color, alpha)

    def text(self, x, y, text, color, scale=1.0, alpha=1.0):
        """Bitmap text, top-left at (x, y); each glyph pixel is a scale x scale square."""
        for i, ch in enumerate(text):
            glyph = GLYPHS[ch]
            for gy, row in enumerate(glyph):
                for gx, cell in enumerate(row):
                    if cell == "#":
                        left = x + (i * 6 + gx) * scale
                        top = y + gy * scale
                        self.rect(left, top, left + scale, top + scale, color, alpha)

    def shrink(self):
        """Averages each scale x scale block into one pixel."""
        s = self.scale
        w, h = self.w // s, self.h // s
        out = []
        for y in range(h):
            for x in range(w):
                acc = [0.0, 0.0, 0.0]
                for dy in range(s):
                    base = (y * s + dy) * self.w + x * s
                    for dx in range(s):
                        p = self.px[base + dx]
                        acc[0] += p[0]
                        acc[1] += p[1]
                        acc[2] += p[2]
                out.append([c / (s * s) for c in acc])
        return w, h, out


# Colours of the photograph.
MASK = (22, 96, 50)          # green solder mask over bare board
MASK_COPPER = (40, 128, 64)  # solder mask over copper: the traces show lighter
SILK = (236, 238, 230)
TIN = (196, 198, 200)
GOLD = (214, 178, 84)
PLASTIC = (30, 30, 33)
CAP_RED = (150, 28, 30)
TERMINAL = (58, 170, 92)
BACKDROP_TOP = (70, 72, 78)
BACKDROP_BOTTOM = (44, 45, 50)

BOARD = (24, 4, 594, 532)  # the board's outline, left, top, right, bottom


def shadow(c, draw, offset=(3, 4), strength=0.45):
    """A soft shadow: the part's outline drawn dark a few times, a little further each time."""
    for step, alpha in ((1.0, strength * 0.5), (0.66, strength * 0.35), (0.33, strength * 0.3)):
        draw(offset[0] * step, offset[1] * step, alpha)


def draw_board(c):
    x0, y0, x1, y1 = BOARD
    shadow(c, lambda dx, dy, a: c.round_rect(x0 + dx, y0 + dy, x1 + dx, y1 + dy, 14, (0, 0, 0), a),
           offset=(5, 6), strength=0.7)
    # The edge of the laminate shows a lighter rim around the mask.
    c.round_rect(x0, y0, x1, y1, 14, (96, 150, 92))
    span = (x1 - x0) + (y1 - y0)
    c.round_rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, 13,
                 lambda x, y: shade(MASK, 1.12 - 0.22 * ((x - x0) + (y - y0)) / span))
    for hx, hy in ((44, 24), (574, 24), (44, 512), (574, 512)):
        c.circle(hx, hy, 11, (150, 170, 150))
        c.ring(hx, hy, 11, 8, TIN)
        c.circle(hx, hy, 7, lambda x, y: mix(BACKDROP_TOP, BACKDROP_BOTTOM, y / HEIGHT))
        c.ring(hx, hy, 7, 6, (30, 32, 36))


def trace(c, points, width=3.0):
    c.line(points, width, lambda x, y: shade(MASK_COPPER, 1.1 - 0.2 * (x + y) / (WIDTH + HEIGHT)))


def via(c, x, y):
    c.circle(x, y, 3.2, TIN)
    c.circle(x, y, 1.4, (40, 60, 45))


def draw_traces(c):
    pins = [316 + 12 * i for i in range(17)]
    # Header pins fan out to the optocouplers: every trace bends at the same height and runs at 45
    # degrees, so neighbours stay parallel and never cross.
    chip_inputs = [326 + 15.5 * i for i in range(16)]
    for i, target in enumerate(chip_inputs):
        start = pins[i if i < 8 else i + 1]
        trace(c, [(start, 38), (start, 60), (target, 60 + abs(target - start)), (target, 156)])
    # Optocoupler outputs, through the series resistors, to the filter jumpers.
    for i in range(16):
        x = 318 + 16 * i
        trace(c, [(x, 188), (x, 206)], 2.4)
        jumper = 325 + 32 * (i // 2)
        trace(c, [(x, 218), (x, 224), (jumper, 234 if i % 2 == 0 else 236)], 2.4)
    # Filter jumpers to the screw terminals.
    for i in range(8):
        x = 325 + 32 * i
        trace(c, [(x, 268), (x, 288), (195 + 40 * i, 300), (195 + 40 * i, 318)], 2.6)
    # USB socket to the controller, and the controller to the optocoupler side.
    for i in range(4):
        y = 222 + 8 * i
        trace(c, [(80, y), (108 - 4 * i, y), (108 - 4 * i, 190 - 6 * i), (138, 190 - 6 * i)], 2.2)
    for i in range(6):
        y = 160 + 6 * i
        trace(c, [(184, y), (214, y), (232, y + 30), (300, y + 30)], 2.0)
        via(c, 300, y + 30)
    # Power: jack to regulator to the selection jumper, drawn wide.
    trace(c, [(86, 424), (108, 424), (108, 412)], 6)
    trace(c, [(122, 398), (122, 350), (45, 350), (45, 316)], 5)
    trace(c, [(73, 316), (73, 340), (140, 340), (140, 282)], 5)
    trace(c, [(90, 215), (100, 204), (100, 286), (140, 286)], 4)
    for x, y in ((122, 350), (140, 340), (100, 286), (214, 160), (232, 190)):
        via(c, x, y)
    # The ground plane is stitched to the bottom side along the right edge.
    for i in range(22):
        via(c, 584, 60 + 20 * i)


def draw_silkscreen(c):
    c.text(120, 48, "KX-7040", SILK, 3)
    c.text(120, 76, "USB ISOLATED INPUTS", SILK, 1)
    c.text(120, 86, "REV B", SILK, 1)
    c.text(40, 186, "USB", SILK)
    c.text(70, 113, "LED", SILK)
    c.text(40, 289, "VEXT", SILK)
    c.text(54, 319, "VUSB", SILK)
    c.text(26, 372, "9V DC", SILK)
    c.text(262, 249, "FILTER", SILK)
    c.text(268, 14, "J1", SILK)
    c.polygon([(302, 42), (310, 42), (306, 47)], SILK)
    for i in range(8):
        c.text(325 + 32 * i - 2, 280, str(i), SILK)
    for i in range(4):
        c.text(318 + 66 * i, 147, "U%d" % (i + 2), SILK)
    c.text(138, 142, "U1", SILK)
    c.text(110, 431, "U6", SILK)
    c.text(174, 498, "C1", SILK)
    c.text(206, 140, "PS1", SILK)
    c.text(200, 278, "RN1", SILK)
    c.text(112, 236, "D1", SILK)
    c.text(112, 458, "F1", SILK)
    c.text(40, 468, "D2", SILK)
    c.text(196, 180, "Y1", SILK)
    c.text(262, 418, "ISOLATED INPUTS", SILK, 2)
    for row, first in ((0, 0), (1, 16)):
        y = 389 if row == 0 else 445
        for i in range(18):
            label = "G" if i >= 16 else str(first + i)
            c.text(194 + 20 * i - text_width(label) / 2.0, y, label, SILK)
    # Outlines around the terminal rows and the jumper blocks.
    for top in (312, 456):
        c.line([(183, top - 2), (547, top - 2)], 1.2, SILK)
    c.line([(304, 231), (304, 275)], 1.2, SILK)


def draw_chip(c, x0, y0, x1, y1, pins_per_side, vertical_pins=True, label=None):
    shadow(c, lambda dx, dy, a: c.rect(x0 + dx, y0 + dy, x1 + dx, y1 + dy, (0, 0, 0), a), offset=(2, 3))
    if vertical_pins:
        pitch = (x1 - x0) / pins_per_side
        for i in range(pins_per_side):
            px = x0 + pitch * (i + 0.5)
            c.rect(px - 1.6, y0 - 5, px + 1.6, y0 + 1, TIN)
            c.rect(px - 1.6, y1 - 1, px + 1.6, y1 + 5, TIN)
    else:
        pitch = (y1 - y0) / pins_per_side
        for i in range(pins_per_side):
            py = y0 + pitch * (i + 0.5)
            c.rect(x0 - 5, py - 1.4, x0 + 1, py + 1.4, TIN)
            c.rect(x1 - 1, py - 1.4, x1 + 5, py + 1.4, TIN)
    c.rect(x0, y0, x1, y1, lambda x, y: shade(PLASTIC, 1.25 - 0.35 * (y - y0) / (y1 - y0)))
    c.circle(x0 + 4, y0 + 4, 1.6, (60, 60, 64))
    if label:
        c.text(x0 + 5, (y0 + y1) / 2 - 3, label, (150, 150, 150), 1)


def draw_parts(c):
    # Optocouplers, series resistors and filter capacitors of the isolated inputs.
    for i in range(4):
        draw_chip(c, 318 + 66 * i, 160, 374 + 66 * i, 184, 8, label="PS2501")
    for i in range(16):
        x = 318 + 16 * i
        c.rect(x - 5, 208, x - 2, 216, TIN)
        c.rect(x + 2, 208, x + 5, 216, TIN)
        c.rect(x - 2, 208, x + 2, 216, (24, 24, 24))
    for i in range(8):
        x = 325 + 32 * i + 12
        c.rect(x - 3, 289, x + 3, 292, TIN)
        c.rect(x - 3, 292, x + 3, 298, (190, 150, 100))
        c.rect(x - 3, 298, x + 3, 301, TIN)
    # The USB controller, its crystal and decoupling capacitors.
    draw_chip(c, 138, 153, 182, 197, 8, vertical_pins=False)
    for i in range(8):
        px = 138 + 44 / 8.0 * (i + 0.5)
        c.rect(px - 1.4, 148, px + 1.4, 154, TIN)
        c.rect(px - 1.4, 196, px + 1.4, 202, TIN)
    c.round_rect(190, 190, 212, 200, 5, (210, 212, 216))
    c.round_rect(192, 191.5, 210, 198.5, 3.5, (236, 238, 240))
    for x, y in ((150, 215), (170, 215), (200, 150), (230, 240)):
        c.rect(x - 5, y - 3, x - 3, y + 3, TIN)
        c.rect(x - 3, y - 3, x + 3, y + 3, (176, 138, 92))
        c.rect(x + 3, y - 3, x + 5, y + 3, TIN)
    # The regulator with its tab, and the input capacitor.
    c.rect(104, 392, 140, 404, TIN)
    draw_chip(c, 106, 404, 138, 424, 3, label=None)
    shadow(c, lambda dx, dy, a: c.circle(150 + dx, 490 + dy, 17, (0, 0, 0), a), offset=(3, 4))
    c.circle(150, 490, 17, (34, 44, 70))
    c.ring(150, 490, 17, 13.5, (48, 60, 92))
    c.circle(150, 490, 13.5, lambda x, y: mix((225, 228, 232), (150, 154, 160), ((x - 137) + (y - 477)) / 54))
    c.line([(143, 483), (157, 497)], 1.2, (120, 122, 128))
    c.line([(143, 497), (157, 483)], 1.2, (120, 122, 128))
    c.ring(150, 490, 17, 13.5, (170, 176, 186), gap=(-60, 240))


def draw_extras(c):
    # The isolated supply module, printed on its top.
    shadow(c, lambda dx, dy, a: c.rect(206 + dx, 100 + dy, 286 + dx, 134 + dy, (0, 0, 0), a), offset=(3, 4))
    c.rect(206, 100, 286, 134, lambda x, y: shade(PLASTIC, 1.35 - 0.45 * (y - 100) / 34.0))
    c.text(214, 106, "B0505S", (215, 215, 215))
    c.text(214, 118, "1W 3KV", (170, 170, 170))
    # A resistor network for the inputs' pull-ups.
    shadow(c, lambda dx, dy, a: c.rect(200 + dx, 262 + dy, 292 + dx, 272 + dy, (0, 0, 0), a), offset=(2, 3))
    c.rect(200, 262, 292, 272, lambda x, y: shade(PLASTIC, 1.3 - 0.4 * (y - 262) / 10.0))
    c.text(206, 264, "A103J", (200, 200, 200))
    c.circle(286, 267, 1.8, (210, 210, 210))
    # USB protection: a diode array and the two series resistors.
    draw_chip(c, 112, 246, 126, 256, 3)
    for y in (266, 276):
        c.rect(110, y - 2.5, 113, y + 2.5, TIN)
        c.rect(113, y - 2.5, 121, y + 2.5, (24, 24, 24))
        c.rect(121, y - 2.5, 124, y + 2.5, TIN)
    # The input fuse, a reverse-polarity diode and the serial number sticker.
    c.round_rect(104, 446, 126, 456, 2, (236, 200, 40))
    c.rect(100, 446, 104, 456, TIN)
    c.rect(126, 446, 130, 456, TIN)
    c.rect(60, 466, 94, 478, (36, 36, 38))
    c.rect(84, 466, 88, 478, (200, 200, 200))
    c.rect(56, 468, 60, 476, TIN)
    c.rect(94, 468, 98, 476, TIN)
    shadow(c, lambda dx, dy, a: c.rect(36 + dx, 483 + dy, 114 + dx, 499 + dy, (0, 0, 0), a), offset=(1, 2))
    c.rect(36, 483, 114, 499, (240, 240, 236))
    c.text(40, 487, "SN 70400153", (30, 30, 30))


def draw_led(c):
    # A right-angle LED whose lens looks out over the board's left edge.
    shadow(c, lambda dx, dy, a: c.rect(36 + dx, 104 + dy, 64 + dx, 130 + dy, (0, 0, 0), a))
    c.rect(36, 104, 64, 130, lambda x, y: shade(PLASTIC, 1.3 - 0.4 * (y - 104) / 26))
    c.rect(6, 110, 38, 124, lambda x, y: mix((120, 240, 140), (30, 150, 60), abs(y - 114) / 10))
    c.ellipse(8, 117, 7, 7, lambda x, y: mix((140, 250, 160), (30, 150, 60), abs(y - 114) / 10))
    c.rect(6, 112, 34, 114, (235, 255, 235), 0.7)
    c.rect(64, 110, 70, 112, TIN)
    c.rect(64, 122, 70, 124, TIN)


def draw_usb(c):
    # A USB type B socket: a tinned steel shell whose opening faces left, past the board's edge.
    shadow(c, lambda dx, dy, a: c.rect(0 + dx, 200 + dy, 82 + dx, 274 + dy, (0, 0, 0), a), offset=(4, 5))
    for y in (196, 270):
        c.rect(44, y, 58, y + 8, TIN)
        c.rect(47, y + 2, 55, y + 6, (150, 152, 156))
    c.rect(0, 200, 82, 274, lambda x, y: mix((222, 226, 230), (150, 155, 162), (y - 200) / 74.0))
    c.rect(0, 200, 82, 202, (240, 242, 246))
    c.rect(80, 200, 82, 274, (120, 124, 130))
    c.rect(0, 272, 82, 274, (110, 114, 120))
    # Stamped ribs and the spring tabs on the shell's top.
    for y in (214, 258):
        c.rect(6, y, 74, y + 2, (130, 134, 140))
        c.rect(6, y + 2, 74, y + 3, (240, 242, 246))
    c.round_rect(18, 226, 44, 248, 3, (176, 180, 186))
    c.round_rect(20, 228, 42, 246, 2, (205, 209, 214))
    c.text(50, 232, "USB", (120, 124, 130), 1)
    c.rect(0, 200, 3, 274, (80, 84, 90))


def draw_power_jack(c):
    # A black barrel jack with its socket at the left edge and three solder tabs.
    shadow(c, lambda dx, dy, a: c.rect(0 + dx, 392 + dy, 88 + dx, 458 + dy, (0, 0, 0), a), offset=(4, 5))
    for x0, y0, x1, y1 in ((70, 386, 82, 394), (88, 418, 98, 432), (70, 456, 82, 464)):
        c.rect(x0, y0, x1, y1, TIN)
    c.rect(0, 392, 88, 458, lambda x, y: shade(PLASTIC, 1.5 - 0.7 * (y - 392) / 66.0))
    c.rect(0, 392, 10, 458, lambda x, y: shade((48, 48, 52), 1.4 - 0.6 * (y - 392) / 66.0))
    for y in (404, 416, 434, 446):
        c.rect(14, y, 84, y + 1.5, (16, 16, 18))
        c.rect(14, y + 1.5, 84, y + 2.5, (70, 70, 76))
    c.rect(0, 392, 88, 394, (90, 90, 96))


def draw_power_jumper(c):
    # The three-pin selection header with its cap on pins 2 and 3 (bus power).
    shadow(c, lambda dx, dy, a: c.rect(38 + dx, 300 + dy, 80 + dx, 314 + dy, (0, 0, 0), a))
    c.rect(38, 300, 80, 314, lambda x, y: shade(PLASTIC, 1.3 - 0.4 * (y - 300) / 14.0))
    for x in (45, 59, 73):
        c.rect(x - 2.5, 304.5, x + 2.5, 309.5, GOLD)
        c.rect(x - 2.5, 304.5, x + 2.5, 305.5, (250, 226, 150))
    shadow(c, lambda dx, dy, a: c.rect(51 + dx, 298 + dy, 81 + dx, 316 + dy, (0, 0, 0), a))
    c.round_rect(51, 298, 81, 316, 2, lambda x, y: shade(CAP_RED, 1.35 - 0.5 * (y - 298) / 18.0))
    c.rect(54, 304, 78, 310, (90, 14, 16))
    c.rect(52, 299, 80, 300.5, (210, 90, 90), 0.8)


def draw_input_header(c):
    # The shrouded 2 x 17 input header along the top edge, key notch facing the edge.
    shadow(c, lambda dx, dy, a: c.rect(287 + dx, 4 + dy, 538 + dx, 38 + dy, (0, 0, 0), a), offset=(4, 5))
    c.rect(287, 4, 538, 38, lambda x, y: shade(PLASTIC, 1.45 - 0.55 * (y - 4) / 34.0))
    c.rect(293, 10, 532, 32, (14, 14, 16))
    c.rect(293, 10, 532, 12, (8, 8, 9))
    c.rect(402, 4, 424, 10, (10, 10, 12))
    c.rect(287, 4, 538, 5, (80, 80, 86))
    for row_y in (16.5, 26.5):
        for i in range(17):
            x = 316 + 12 * i
            c.rect(x - 2.5, row_y - 2.5, x + 2.5, row_y + 2.5, GOLD)
            c.rect(x - 2.5, row_y - 2.5, x + 2.5, row_y - 1.5, (252, 230, 160))
            c.rect(x + 1.5, row_y - 2.5, x + 2.5, row_y + 2.5, (150, 120, 50))


def draw_filter_jumpers(c):
    # Eight two-pin jumpers; the filters of inputs 0, 2, 3 and 6 are fitted.
    fitted = {0, 2, 3, 6}
    for i in range(8):
        x = 325 + 32 * i
        shadow(c, lambda dx, dy, a: c.rect(x - 7 + dx, 239 + dy, x + 7 + dx, 265 + dy, (0, 0, 0), a))
        c.rect(x - 7, 239, x + 7, 265, lambda px, py: shade(PLASTIC, 1.3 - 0.4 * (py - 239) / 26.0))
        for y in (246, 258):
            c.rect(x - 2.5, y - 2.5, x + 2.5, y + 2.5, GOLD)
            c.rect(x - 2.5, y - 2.5, x + 2.5, y - 1.5, (252, 230, 160))
        if i in fitted:
            shadow(c, lambda dx, dy, a: c.rect(x - 8 + dx, 236 + dy, x + 8 + dx, 268 + dy, (0, 0, 0), a))
            c.round_rect(x - 8, 236, x + 8, 268, 2, lambda px, py: shade(CAP_RED, 1.35 - 0.5 * (py - 236) / 32))
            c.rect(x - 4, 241, x + 4, 263, (90, 14, 16))
            c.rect(x - 7, 237, x + 7, 238.5, (210, 90, 90), 0.8)


def draw_terminals(c, top):
    # A row of eighteen screw terminals in three blocks of six, wire entries facing down.
    left, pitch = 185, 20
    bottom = top + 70
    shadow(c, lambda dx, dy, a: c.rect(left + dx, top + 2 + dy, left + 360 + dx, bottom + dy, (0, 0, 0), a),
           offset=(4, 6), strength=0.6)
    for block in range(3):
        x0 = left + block * 6 * pitch
        x1 = x0 + 6 * pitch - 1
        c.rect(x0, top + 2, x1, bottom, lambda x, y: shade(TERMINAL, 1.3 - 0.5 * (y - top) / 70.0))
        c.rect(x0, top + 2, x1, top + 4, (140, 220, 160))
        c.rect(x0, bottom - 18, x1, bottom, lambda x, y: shade(TERMINAL, 0.8 - 0.25 * (y - bottom + 18) / 18.0))
        for i in range(6):
            cx = x0 + pitch * (i + 0.5)
            if i > 0:
                c.rect(cx - pitch / 2.0 - 0.6, top + 2, cx - pitch / 2.0 + 0.6, bottom, (30, 110, 55))
            c.circle(cx, top + 28, 8, (24, 96, 48))
            c.circle(cx, top + 28, 7, lambda x, y, cx=cx: mix((236, 238, 240), (128, 132, 138),
                                                             ((x - cx + 7) + (y - top - 21)) / 28.0))
            c.polygon([(cx - 6, top + 26.2), (cx + 6, top + 29.8), (cx + 6, top + 31.0), (cx - 6, top + 27.4)],
                      (60, 62, 66))
            c.round_rect(cx - 6, bottom - 13, cx + 6, bottom - 3, 1.5, (20, 40, 28))
            c.rect(cx - 4, bottom - 11, cx + 4, bottom - 8, (150, 154, 158))


def finish(width, height, pixels):
    """Grain and a slight fall-off of light towards the corners, as a photograph has."""
    rng = Random(7040)
    out = bytearray()
    cx, cy = width / 2.0, height / 2.0
    reach = cx * cx + cy * cy
    for i, (r, g, b) in enumerate(pixels):
        x, y = i % width, i // width
        light = 1.04 - 0.14 * ((x - cx) ** 2 + (y - cy) ** 2) / reach
        grain = (rng.next() % 9) - 4
        for v in (r, g, b):
            out.append(max(0, min(255, int(round(v * light + grain)))))
    return bytes(out)


def board_photo():
    c = Canvas(WIDTH, HEIGHT, SUPERSAMPLE, BACKDROP_TOP)
    c.rect(0, 0, WIDTH, HEIGHT, lambda x, y: mix(BACKDROP_TOP, BACKDROP_BOTTOM, y / HEIGHT))
    draw_board(c)
    draw_traces(c)
    draw_silkscreen(c)
    draw_parts(c)
    draw_extras(c)
    draw_led(c)
    draw_usb(c)
    draw_power_jack(c)
    draw_power_jumper(c)
    draw_input_header(c)
    draw_filter_jumpers(c)
    draw_terminals(c, 312)
    draw_terminals(c, 456)
    w, h, pixels = c.shrink()
    return finish(w, h, pixels)


def write_jpeg(path, rgb, keep_ppm):
    ppm = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + rgb
    if keep_ppm:
        with open(os.path.splitext(path)[0] + ".ppm", "wb") as f:
            f.write(ppm)
    command = ["cjpeg", "-progressive", "-sample", "2x2,1x1,1x1", "-quality", "90", "-outfile", path]
    try:
        subprocess.run(command, input=ppm, check=True)
    except FileNotFoundError:
        sys.exit("make_assets.py: cjpeg is missing; install libjpeg-turbo-progs")


def power_jack_drawing():
    """The polarity drawing: GND, a line to an open ring, a dot inside joined by a line to +9V."""
    w, h = 112, 48
    c = Canvas(w, h, 1, (255, 255, 255))
    black = (0, 0, 0)
    cx, cy = 56, 24
    c.text(1, 17, "GND", black, 2)
    c.text(77, 17, "+9V", black, 2)
    c.rect(36, 23, 44, 25, black)
    # The ring is open towards +9V, where the centre's line leaves it.
    c.ring(cx + 0.5, cy, 12.5, 10.5, black, gap=(-28, 28))
    c.circle(cx + 0.5, cy, 3.6, black)
    c.rect(57, 23, 75, 25, black)
    return w, h, [tuple(int(v) for v in p) for p in c.px]


def write_bmp(path, width, height, pixels):
    row_bytes = (width * 3 + 3) // 4 * 4
    image = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[y * width + x]
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        image += row
    offset = 14 + 40
    header = b"BM" + struct.pack("<IHHI", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "..", "assets"), help="folder to write into")
    parser.add_argument("--ppm", action="store_true", help="also keep the photograph as board.ppm")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    w, h, pixels = power_jack_drawing()
    write_bmp(os.path.join(args.out, "power-jack.bmp"), w, h, pixels)
    write_jpeg(os.path.join(args.out, "board.jpg"), board_photo(), args.ppm)


if __name__ == "__main__":
    main()
