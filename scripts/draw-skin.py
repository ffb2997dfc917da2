#!/usr/bin/env python3
"""Draws Kestrova's built-in artwork: the browser and manager skin bitmaps, the
tray animation strip and the three program icons.

    scripts/draw-skin.py                 writes src/resources/skin/*.bmp and the .ico files
    scripts/draw-skin.py --mockup DIR    also writes DIR/browser.png and DIR/manager.png,
                                         the two windows as they look with their buttons

Everything is drawn from signed distance fields (shape outlines, bevels, glows),
so the same code draws at any size, and the output is the same on every run.
Skin bitmaps are 8-bit palette BMPs whose palette holds exact magenta, the colour
cut out of every window and button shape; the icons are 32-bit with alpha.

Python 3 standard library only. draw-sample-skins.py imports this file for its
canvas, shapes, font and writers.
"""

import argparse
import math
import os
import struct
import subprocess
import sys
from collections import Counter

MAGENTA = (255, 0, 255)
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(REPO, "src", "resources")

# ---------------------------------------------------------------------------
# Small maths helpers


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    """Colour between c1 and c2 (t = 0 gives c1)."""
    return tuple(lerp(a, b, t) for a, b in zip(c1, c2))


def smoothstep(e0, e1, v):
    t = clamp((v - e0) / (e1 - e0)) if e1 != e0 else (1.0 if v >= e1 else 0.0)
    return t * t * (3 - 2 * t)


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i : i + 2], 16) for i in (0, 2, 4))


def noise(x, y, seed=0):
    """Deterministic value noise in [0, 1) for integer x, y."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


def gradient(stops, t):
    """Colour at t in a list of (position, colour) stops sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


# ---------------------------------------------------------------------------
# Signed distance fields: f(x, y) is negative inside, positive outside, in pixels.


def rrect(x0, y0, x1, y1, r=0.0):
    """Rounded rectangle covering [x0, x1) x [y0, y1); r is one radius or
    (top-left, top-right, bottom-right, bottom-left)."""
    radii = r if isinstance(r, tuple) else (r, r, r, r)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2

    def f(x, y):
        px, py = x - cx, y - cy
        if px < 0:
            rad = radii[0] if py < 0 else radii[3]
        else:
            rad = radii[1] if py < 0 else radii[2]
        qx, qy = abs(px) - hx + rad, abs(py) - hy + rad
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - rad

    return f


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    """Approximate distance (exact on the axes), good enough for soft fills."""
    k = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def segment(ax, ay, bx, by, width):
    """A stroke of the given width from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def f(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2

    return f


def polygon(points):
    """Exact signed distance to a closed polygon (any winding)."""
    pts = list(points)

    def f(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        sign = 1.0
        j = len(pts) - 1
        for i in range(len(pts)):
            (ix, iy), (jx, jy) = pts[i], pts[j]
            ex, ey = jx - ix, jy - iy
            wx, wy = x - ix, y - iy
            t = clamp((wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1, c2, c3 = y >= iy, y < jy, ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
            j = i
        return sign * math.sqrt(d)

    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def intersect(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def smooth_union(a, b, k):
    """Union with a rounded fillet of about k pixels where the shapes meet."""

    def f(x, y):
        da, db = a(x, y), b(x, y)
        h = clamp(0.5 + 0.5 * (db - da) / k)
        return lerp(db, da, h) - k * h * (1 - h)

    return f


def offset(f, r):
    """The shape grown by r pixels (shrunk when r is negative)."""
    return lambda x, y: f(x, y) - r


def translate(f, dx, dy):
    return lambda x, y: f(x - dx, y - dy)


def ring(f, width):
    """A band of the given width just inside the outline of f."""
    return lambda x, y: abs(f(x, y) + width / 2) - width / 2


def normal(f, x, y, e=0.5):
    """Outward unit normal of f at (x, y)."""
    gx = f(x + e, y) - f(x - e, y)
    gy = f(x, y + e) - f(x, y - e)
    n = math.hypot(gx, gy) or 1.0
    return gx / n, gy / n


# Light comes from the top left, as on every Windows control.
LIGHT = (-0.6, -0.8)

# ---------------------------------------------------------------------------
# Canvas: RGBA pixels, colours 0..255 as floats, alpha 0..1.


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def get(self, x, y):
        return self.px[y * self.w + x]

    def paint(self, shape, colour, opacity=1.0, hard=False, box=None):
        """Paints colour where shape is inside, with anti-aliased edges unless
        hard. colour and opacity may be functions of (x, y) (pixel centres)."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            cy = y + 0.5
            row = y * self.w
            for x in range(x0, x1):
                cx = x + 0.5
                d = shape(cx, cy)
                cover = (1.0 if d <= 0 else 0.0) if hard else clamp(0.5 - d)
                if cover <= 0:
                    continue
                a = cover * (opacity(cx, cy) if callable(opacity) else opacity)
                if a <= 0:
                    continue
                c = colour(cx, cy) if callable(colour) else colour
                if len(c) == 4:
                    a *= c[3]
                self._blend(row + x, c, a)

    def clip(self, shape):
        """Clears every pixel whose centre lies outside shape."""
        for y in range(self.h):
            for x in range(self.w):
                if shape(x + 0.5, y + 0.5) > 0:
                    self.px[y * self.w + x] = [0.0, 0.0, 0.0, 0.0]

    def _blend(self, i, c, a):
        p = self.px[i]
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        k = p[3] * (1 - a)
        p[0] = (c[0] * a + p[0] * k) / out_a
        p[1] = (c[1] * a + p[1] * k) / out_a
        p[2] = (c[2] * a + p[2] * k) / out_a
        p[3] = out_a

    def draw(self, other, ox, oy):
        """Composites another canvas at (ox, oy)."""
        for y in range(other.h):
            for x in range(other.w):
                p = other.get(x, y)
                tx, ty = x + ox, y + oy
                if p[3] > 0 and 0 <= tx < self.w and 0 <= ty < self.h:
                    self._blend(ty * self.w + tx, p, p[3])

    def opaque_rgb(self):
        """Rows of (r, g, b) integer pixels, magenta where alpha is under one
        half (the cut-out), the colour itself elsewhere."""
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                p = self.get(x, y)
                if p[3] < 0.5:
                    row.append(MAGENTA)
                else:
                    row.append(avoid_magenta(tuple(int(round(clamp(v, 0, 255))) for v in p[:3])))
            out.append(row)
        return out


def avoid_magenta(c):
    """Keeps a drawn colour from being taken for the cut-out colour."""
    return (254, 0, 254) if c == MAGENTA else c


# ---------------------------------------------------------------------------
# Effects built from the canvas primitives


def vertical(stops, top, height):
    """A colour function: the gradient stops from top to top + height."""
    return lambda x, y: gradient(stops, (y - top) / height)


def brushed(base, top, height, amount=5.0, seed=1):
    """A vertical gradient with fine horizontal grain, like brushed metal."""

    def f(x, y):
        c = gradient(base, (y - top) / height)
        iy = int(y)
        grain = (noise(int(x) // 7, iy, seed) - 0.5) * 0.6 + (noise(0, iy, seed + 1) - 0.5)
        return tuple(v + grain * amount for v in c)

    return f


def bevel(cv, shape, width, strength, raised=True, box=None):
    """Lights the band of the given width inside the outline of shape: the side
    facing the light brighter, the other darker (swapped when not raised)."""

    def light(x, y):
        nx, ny = normal(shape, x, y)
        facing = nx * LIGHT[0] + ny * LIGHT[1]
        return facing if raised else -facing

    def depth_weight(x, y):
        return (1.0 - clamp(-shape(x, y) / width)) ** 1.6

    band = ring(shape, width)
    cv.paint(band, (255, 255, 255), lambda x, y: strength * depth_weight(x, y) * max(0.0, light(x, y)), box=box)
    cv.paint(band, (0, 0, 0), lambda x, y: strength * depth_weight(x, y) * max(0.0, -light(x, y)), box=box)


def sheen(cv, shape, top, height, strength, box=None):
    """A glassy highlight: white fading out downwards over the upper part."""
    cv.paint(
        shape,
        (255, 255, 255),
        lambda x, y: strength * (1.0 - smoothstep(top, top + height, y)),
        box=box,
    )


def glow(cv, shape, colour, radius, strength, box=None):
    """Soft light around a shape, falling off over radius pixels."""
    halo = offset(shape, radius)
    cv.paint(
        halo,
        colour,
        lambda x, y: strength * (1.0 - clamp(shape(x, y) / radius)) ** 2 if shape(x, y) > 0 else strength,
        box=box,
    )


def inner_shadow(cv, shape, depth, strength, box=None):
    """Darkening just inside the top and left of a recessed shape."""

    def amount(x, y):
        d = -shape(x, y)
        nx, ny = normal(shape, x, y)
        facing = max(0.0, nx * LIGHT[0] + ny * LIGHT[1])
        return strength * (1.0 - clamp(d / depth)) * (0.35 + 0.65 * facing)

    cv.paint(shape, (0, 0, 0), amount, box=box)


def bbox_of(x0, y0, x1, y1, pad=3):
    return (x0 - pad, y0 - pad, x1 + pad, y1 + pad)


# ---------------------------------------------------------------------------
# Pixel font: glyphs 7 rows from the cap line, with 2 more rows for descenders.
# Rows are written top down, '#' for ink; glyph widths vary.

GLYPHS = {
    "A": ".##.|#..#|#..#|####|#..#|#..#|#..#",
    "B": "###.|#..#|#..#|###.|#..#|#..#|###.",
    "C": ".##.|#..#|#...|#...|#...|#..#|.##.",
    "D": "###.|#..#|#..#|#..#|#..#|#..#|###.",
    "E": "####|#...|#...|###.|#...|#...|####",
    "F": "####|#...|#...|###.|#...|#...|#...",
    "G": ".##.|#..#|#...|#.##|#..#|#..#|.###",
    "H": "#..#|#..#|#..#|####|#..#|#..#|#..#",
    "I": "###|.#.|.#.|.#.|.#.|.#.|###",
    "J": "..##|...#|...#|...#|#..#|#..#|.##.",
    "K": "#..#|#..#|#.#.|##..|#.#.|#..#|#..#",
    "L": "#...|#...|#...|#...|#...|#...|####",
    "M": "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#",
    "N": "#..#|##.#|##.#|#.##|#.##|#..#|#..#",
    "O": ".##.|#..#|#..#|#..#|#..#|#..#|.##.",
    "P": "###.|#..#|#..#|###.|#...|#...|#...",
    "Q": ".##.|#..#|#..#|#..#|#..#|#.#.|.#.#",
    "R": "###.|#..#|#..#|###.|#.#.|#..#|#..#",
    "S": ".###|#...|#...|.##.|...#|...#|###.",
    "T": "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    "U": "#..#|#..#|#..#|#..#|#..#|#..#|.##.",
    "V": "#...#|#...#|#...#|#...#|.#.#.|.#.#.|..#..",
    "W": "#...#|#...#|#...#|#.#.#|#.#.#|##.##|#...#",
    "X": "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    "Y": "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    "Z": "####|...#|..#.|..#.|.#..|#...|####",
    "a": "....|....|.##.|...#|.###|#..#|.###",
    "b": "#...|#...|###.|#..#|#..#|#..#|###.",
    "c": "...|...|.##|#..|#..|#..|.##",
    "d": "...#|...#|.###|#..#|#..#|#..#|.###",
    "e": "....|....|.##.|#..#|####|#...|.###",
    "f": ".##|#..|###|#..|#..|#..|#..",
    "g": "....|....|.###|#..#|#..#|#..#|.###|...#|.##.",
    "h": "#...|#...|###.|#..#|#..#|#..#|#..#",
    "i": "#|.|#|#|#|#|#",
    "j": ".#|..|.#|.#|.#|.#|.#|.#|#.",
    "k": "#...|#...|#..#|#.#.|##..|#.#.|#..#",
    "l": "#.|#.|#.|#.|#.|#.|.#",
    "m": ".....|.....|####.|#.#.#|#.#.#|#.#.#|#.#.#",
    "n": "....|....|###.|#..#|#..#|#..#|#..#",
    "o": "....|....|.##.|#..#|#..#|#..#|.##.",
    "p": "....|....|###.|#..#|#..#|#..#|###.|#...|#...",
    "q": "....|....|.###|#..#|#..#|#..#|.###|...#|...#",
    "r": "...|...|#.#|##.|#..|#..|#..",
    "s": "....|....|.###|#...|.##.|...#|###.",
    "t": ".#.|.#.|###|.#.|.#.|.#.|..#",
    "u": "....|....|#..#|#..#|#..#|#..#|.###",
    "v": ".....|.....|#...#|#...#|.#.#.|.#.#.|..#..",
    "w": ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#.",
    "x": "....|....|#..#|#..#|.##.|#..#|#..#",
    "y": "....|....|#..#|#..#|#..#|#..#|.###|...#|.##.",
    "z": "....|....|####|..#.|.#..|#...|####",
    "0": ".##.|#..#|#.##|#..#|##.#|#..#|.##.",
    "1": ".#.|##.|.#.|.#.|.#.|.#.|###",
    "2": ".##.|#..#|...#|..#.|.#..|#...|####",
    "3": "###.|...#|...#|.##.|...#|...#|###.",
    "4": "..#.|.##.|#.#.|#.#.|####|..#.|..#.",
    "5": "####|#...|###.|...#|...#|#..#|.##.",
    "6": ".##.|#...|#...|###.|#..#|#..#|.##.",
    "7": "####|...#|..#.|..#.|.#..|.#..|.#..",
    "8": ".##.|#..#|#..#|.##.|#..#|#..#|.##.",
    "9": ".##.|#..#|#..#|.###|...#|...#|.##.",
    " ": "..|..|..|..|..|..|..",
    ".": ".|.|.|.|.|.|#",
    ",": ".|.|.|.|.|.|#|#",
    ":": ".|.|#|.|.|.|#",
    "-": "...|...|...|###|...|...|...",
    "+": "...|...|.#.|###|.#.|...|...",
    "/": "...#|...#|..#.|..#.|.#..|.#..|#...",
    "(": ".#|#.|#.|#.|#.|#.|.#",
    ")": "#.|.#|.#|.#|.#|.#|#.",
    "!": "#|#|#|#|#|.|#",
    "?": ".##.|#..#|...#|..#.|.#..|....|.#..",
    "'": "#|#|.|.|.|.|.",
}
CAP_HEIGHT = 7


def glyph_rows(ch):
    return GLYPHS.get(ch, GLYPHS["?"]).split("|")


def text_width(text, spacing=1):
    if not text:
        return 0
    return sum(len(glyph_rows(ch)[0]) for ch in text) + spacing * (len(text) - 1)


def text_pixels(text, x, y, spacing=1):
    """The (px, py) ink pixels of text with its cap line at y."""
    pixels = []
    for ch in text:
        rows = glyph_rows(ch)
        for ry, row in enumerate(rows):
            for rx, ink in enumerate(row):
                if ink == "#":
                    pixels.append((x + rx, y + ry))
        x += len(rows[0]) + spacing
    return pixels


def draw_text(cv, text, x, y, colour, shadow=None, shadow_offset=(0, 1), halo=None):
    """Pixel text: an optional soft halo (glow colour, strength), an optional
    one-pixel shadow (the engraved look), then the ink."""
    ink = text_pixels(text, x, y)
    if halo:
        colour_h, strength = halo
        for px, py in ink:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if 0 <= px + dx < cv.w and 0 <= py + dy < cv.h:
                        cv._blend((py + dy) * cv.w + px + dx, colour_h, strength / (1 + abs(dx) + abs(dy)))
    if shadow:
        for px, py in ink:
            sx, sy = px + shadow_offset[0], py + shadow_offset[1]
            if 0 <= sx < cv.w and 0 <= sy < cv.h:
                cv._blend(sy * cv.w + sx, shadow[:3], shadow[3] if len(shadow) > 3 else 1.0)
    for px, py in ink:
        if 0 <= px < cv.w and 0 <= py < cv.h:
            cv._blend(py * cv.w + px, colour, 1.0)


def text_centred(cv, text, box, colour, **kw):
    """Draws text centred in box (x0, y0, x1, y1) on its cap height, so that a
    descender hangs below the centre line as it does in print."""
    x0, y0, x1, y1 = box
    x = x0 + (x1 - x0 - text_width(text)) // 2
    y = y0 + (y1 - y0 - CAP_HEIGHT) // 2
    draw_text(cv, text, x, y, colour, **kw)


# ---------------------------------------------------------------------------
# Writers


def quantise(rows, size=255):
    """Median-cut palette of at most size colours for the non-magenta pixels;
    gives (palette, {colour: index}). Magenta is always the last entry, so the
    cut-out stays exact."""
    counts = Counter(c for row in rows for c in row if c != MAGENTA)
    boxes = [list(counts)]
    while len(boxes) < size:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break

        def spread(b):
            return max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)) * math.log2(
                1 + sum(counts[c] for c in b)
            )

        box = max(splittable, key=spread)
        boxes.remove(box)
        axis = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: (c[axis], c))
        total, acc, cut = sum(counts[c] for c in box), 0, 1
        for i, c in enumerate(box):
            acc += counts[c]
            if acc * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes += [box[:cut], box[cut:]]
    palette, index = [], {}
    for box in sorted(boxes, key=lambda b: sorted(b)[0]):
        weight = sum(counts[c] for c in box)
        mean = tuple(int(round(sum(c[i] * counts[c] for c in box) / weight)) for i in range(3))
        for c in box:
            index[c] = len(palette)
        palette.append(avoid_magenta(mean))
    index[MAGENTA] = len(palette)
    palette.append(MAGENTA)
    return palette, index


def bmp_bytes(rows, bits):
    """A BMP file (BITMAPINFOHEADER, bottom-up) of rows of (r, g, b): 8 bits
    with a quantised palette, or 24 bits."""
    h, w = len(rows), len(rows[0])
    stride = ((w * bits + 31) // 32) * 4
    if bits == 8:
        palette, index = quantise(rows)
        table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
        table += b"\0" * (256 * 4 - len(table))
        pixel_row = lambda row: bytes(index[c] for c in row)
        colours = 256
    else:
        table = b""
        pixel_row = lambda row: b"".join(struct.pack("<BBB", c[2], c[1], c[0]) for c in row)
        colours = 0
    data = b"".join(pixel_row(row).ljust(stride, b"\0") for row in reversed(rows))
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(data), 2835, 2835, colours, 0)
    return header + info + table + data


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def write_bmp(cv, path, bits=8):
    write_file(path, bmp_bytes(cv.opaque_rgb(), bits))


def ico_image(cv):
    """One icon image: 32-bit BGRA DIB (double height) plus its AND mask."""
    w, h = cv.w, cv.h
    xor = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = cv.get(x, y)
            alpha = int(round(clamp(a) * 255))
            if alpha == 0:
                r = g = b = 0
                bits[x // 8] |= 0x80 >> (x % 8)
            xor += bytes((int(round(clamp(b, 0, 255))), int(round(clamp(g, 0, 255))), int(round(clamp(r, 0, 255))), alpha))
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def write_ico(canvases, path):
    images = [ico_image(cv) for cv in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    pos = 6 + 16 * len(images)
    for cv, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, 1, 32, len(data), pos)
        pos += len(data)
    write_file(path, out + b"".join(images))


# ---------------------------------------------------------------------------
# The Kestrova look: smoked blue glass with a brushed finish and cyan light.


class Theme:
    def __init__(self, body, rim, outline, well, text, text_dim, accent, button, button_over, button_down):
        self.body = body  # gradient stops of the window body
        self.rim = rim  # colour of the thin bright line along the top edge
        self.outline = outline  # the darkest edge
        self.well = well  # gradient stops inside empty wells
        self.text = text
        self.text_dim = text_dim
        self.accent = accent  # glow of hovered buttons
        self.button = button  # gradient stops of a button at rest
        self.button_over = button_over
        self.button_down = button_down


GLASS = Theme(
    body=[(0.0, hex_colour("5b7394")), (0.18, hex_colour("3e5272")), (0.6, hex_colour("2a3850")), (1.0, hex_colour("1b2436"))],
    rim=hex_colour("b8d4f0"),
    outline=hex_colour("0a0e16"),
    well=[(0.0, hex_colour("0b1019")), (1.0, hex_colour("1a2434"))],
    text=hex_colour("dce8f4"),
    text_dim=hex_colour("8fa6c2"),
    accent=hex_colour("5fd0ff"),
    button=[(0.0, hex_colour("6a82a6")), (0.5, hex_colour("40557a")), (1.0, hex_colour("2e3d58"))],
    button_over=[(0.0, hex_colour("8fb4e0")), (0.5, hex_colour("4f76a8")), (1.0, hex_colour("36557f"))],
    button_down=[(0.0, hex_colour("1a2538")), (0.6, hex_colour("26344d")), (1.0, hex_colour("34476a"))],
)


def glass_body(cv, shape, theme, box=None, grain_seed=1):
    """A window body: hard cut-out edge, brushed gradient, glass sheen on the
    upper part, bevelled rim and a dark outline."""
    x0, y0, x1, y1 = box or (0, 0, cv.w, cv.h)
    cv.paint(shape, brushed(theme.body, y0, y1 - y0, 4.0, grain_seed), hard=True, box=box)
    sheen(cv, offset(shape, -2), y0, (y1 - y0) * 0.22, 0.16, box=box)
    bevel(cv, shape, 4.0, 0.55, box=box)
    cv.paint(ring(shape, 1.0), theme.outline, 0.95, box=box)
    # the thin reflected line just under the top edge
    top_light = lambda x, y: 0.55 * max(0.0, -normal(shape, x, y)[1]) ** 2
    cv.paint(ring(offset(shape, -1.0), 1.0), theme.rim, top_light, box=box)


def well(cv, x, y, w, h, theme, radius=3, depth=2):
    """A recessed frame for a picture drawn over exactly (x, y, w, h): a bezel
    ring sunk into the body, a dark glass floor and a faint picture mark."""
    outer = rrect(x - depth, y - depth, x + w + depth, y + h + depth, radius + depth)
    inner = rrect(x, y, x + w, y + h, radius * 0.5)
    box = bbox_of(x - depth, y - depth, x + w + depth, y + h + depth, 2)
    # a light lip around the rim so the well reads as cut into the glass
    cv.paint(ring(offset(outer, 1.0), 1.0), (255, 255, 255), lambda px, py: 0.22 * max(0.0, normal(outer, px, py)[1]), box=box)
    cv.paint(outer, theme.outline, 0.9, box=box)
    cv.paint(inner, vertical(theme.well, y, h), box=box)
    inner_shadow(cv, inner, 6.0, 0.55, box=box)
    sheen(cv, intersect(inner, lambda px, py: py - (y + h * 0.45) - (px - x) * 0.25), y, h * 0.5, 0.06, box=box)
    picture_mark(cv, x + w / 2, y + h / 2, min(w, h) * 0.32, mix(theme.well[-1][1], theme.text_dim, 0.25))


def picture_mark(cv, cx, cy, size, colour):
    """A faint hills-and-sun sign telling an empty well holds a picture."""
    s = size
    frame = ring(rrect(cx - s, cy - s * 0.75, cx + s, cy + s * 0.75, s * 0.12), max(1.0, s * 0.08))
    hills = polygon([(cx - s * 0.85, cy + s * 0.62), (cx - s * 0.3, cy - s * 0.05), (cx + s * 0.05, cy + s * 0.3), (cx + s * 0.4, cy - s * 0.2), (cx + s * 0.85, cy + s * 0.35), (cx + s * 0.85, cy + s * 0.62)])
    sun = circle(cx + s * 0.45, cy - s * 0.38, s * 0.14)
    box = (cx - s - 2, cy - s - 2, cx + s + 2, cy + s + 2)
    cv.paint(union(frame, hills, sun), colour, 0.8, box=box)


def socket(cv, shape, theme, box=None):
    """The slot sunk into a window body that a button sits in, one pixel
    larger than the button, so its edge looks seated rather than cut."""
    cv.paint(offset(shape, 1.0), theme.outline, 0.75, box=box)
    cv.paint(ring(offset(shape, 2.0), 1.0), (255, 255, 255), lambda x, y: 0.18 * max(0.0, normal(shape, x, y)[1]), box=box)


# ---------------------------------------------------------------------------
# Buttons: one shape, three states (rest, over, down). The control takes its
# region from the rest picture, so all three share the same cut-out.

STATES = ("", "_h", "_d")


def button_face(cv, shape, theme, state, box=None):
    """Fills a button shape in the look of a state: "" raised glass, "_h"
    brighter with a cyan inner glow, "_d" sunk and dark."""
    _, y0, _, y1 = box or (0, 0, cv.w, cv.h)
    h = y1 - y0
    stops = {"": theme.button, "_h": theme.button_over, "_d": theme.button_down}[state]
    cv.paint(shape, vertical(stops, y0, h), hard=True, box=box)
    if state == "_d":
        inner_shadow(cv, shape, 3.0, 0.6, box=box)
    else:
        sheen(cv, intersect(offset(shape, -1), lambda x, y: y - (y0 + h * 0.5)), y0, h * 0.5, 0.28 if state == "" else 0.4, box=box)
        bevel(cv, shape, 2.0, 0.35, box=box)
    if state == "_h":
        cv.paint(ring(offset(shape, -1.0), 1.5), theme.accent, 0.45, box=box)
    cv.paint(ring(shape, 1.0), theme.outline, 0.9, box=box)


def glyph_colours(theme, state):
    """Ink, shadow and halo of the label or sign on a button in a state."""
    if state == "_h":
        return (255, 255, 255), (8, 20, 40, 0.6), (theme.accent, 0.55)
    if state == "_d":
        return mix(theme.text, theme.accent, 0.35), (0, 0, 0, 0.5), None
    return theme.text, (8, 14, 24, 0.7), None


def text_button(w, h, label, theme, state, radius=None, shape=None):
    """A pill button with a pixel-font label; pressed moves the label down."""
    cv = Canvas(w, h)
    shape = shape or rrect(0, 0, w, h, radius if radius is not None else h / 2)
    button_face(cv, shape, theme, state)
    ink, shadow, halo = glyph_colours(theme, state)
    dy = 1 if state == "_d" else 0
    text_centred(cv, label, (0, dy, w, h + dy), ink, shadow=shadow, halo=halo)
    cv.clip(shape)
    return cv


def sign_button(w, h, sign, theme, state, shape=None, radius=None):
    """A button carrying a drawn sign: sign(cx, cy) gives the sign's shape
    centred at (cx, cy)."""
    cv = Canvas(w, h)
    shape = shape or rrect(0, 0, w, h, radius if radius is not None else h / 2)
    button_face(cv, shape, theme, state)
    ink, shadow, halo = glyph_colours(theme, state)
    dy = 1 if state == "_d" else 0
    x0, y0, x1, y1 = sign_area(shape, w, h)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2 + dy
    if halo:
        glow(cv, sign(cx, cy), halo[0], 1.8, halo[1])
    cv.paint(sign(cx, cy + 1), shadow[:3], shadow[3])
    cv.paint(sign(cx, cy), ink)
    cv.clip(shape)
    return cv


def sign_area(shape, w, h):
    """The part of a button the sign is centred in (the whole button)."""
    return (0, 0, w, h)


def cross_sign(size, width=1.4):
    def sign(cx, cy):
        s = size / 2
        return union(segment(cx - s, cy - s, cx + s, cy + s, width), segment(cx - s, cy + s, cx + s, cy - s, width))

    return sign


def minus_sign(length, width=1.6):
    return lambda cx, cy: segment(cx - length / 2, cy, cx + length / 2, cy, width)


def arrow_sign(w, h, up):
    """A filled triangle pointing up or down."""

    def sign(cx, cy):
        tip, base = (cy - h / 2, cy + h / 2) if up else (cy + h / 2, cy - h / 2)
        return offset(polygon([(cx - w / 2, base), (cx + w / 2, base), (cx, tip)]), 0.2)

    return sign


def button_set(draw_state):
    """The three pictures of a button, checked to share one cut-out."""
    pictures = {state: draw_state(state) for state in STATES}
    cut = [p[3] < 0.5 for p in pictures[""].px]
    for state in STATES[1:]:
        assert cut == [p[3] < 0.5 for p in pictures[state].px], "button states differ in shape"
    return pictures


# ---------------------------------------------------------------------------
# Browser window: 112 x 277, three previews in a column.

BROWSER_SIZE = (112, 277)
BROWSER_PREVIEWS = [(6, 17, 100, 75), (6, 98, 100, 75), (6, 179, 100, 75)]
# name: (left, top, width, height) in window pixels
BROWSER_BUTTONS = {
    "main_close": (88, 13, 24, 11),
    "main_conf": (4, 259, 40, 13),
    "main_man": (67, 259, 40, 13),
    "main_min": (98, 24, 14, 8),
    "main_sdown": (49, 266, 14, 8),
    "main_sup": (49, 257, 14, 8),
}


def browser_shape():
    """A tall capsule with a raised tab at the top right for close and
    minimise, and a rounded foot under the scroll rocker."""
    w, h = BROWSER_SIZE
    body = rrect(0, 4, w, h - 2, (9, 6, 11, 11))
    tab = rrect(70, 0, w, 36, (6, 6, 4, 4))
    foot = rrect(40, h - 24, 72, h, 8)
    return smooth_union(smooth_union(body, tab, 4.0), foot, 5.0)


def browser_back(theme):
    w, h = BROWSER_SIZE
    cv = Canvas(w, h)
    shape = browser_shape()
    glass_body(cv, shape, theme)
    draw_text(cv, "Kestrova", 9, 6, theme.text_dim, shadow=(0, 0, 0, 0.55))
    cv.paint(circle(5.5, 9.5, 1.6), theme.accent, 0.9)
    for x, y, pw, ph in BROWSER_PREVIEWS:
        well(cv, x, y, pw, ph, theme)
    # a groove across the foot, between the wells and the buttons
    cv.paint(rrect(8, 256, 104, 257, 0.5), theme.outline, 0.35)
    for name, (x, y, bw, bh) in BROWSER_BUTTONS.items():
        bshape = translate(browser_button_shape(name), x, y)
        socket(cv, bshape, theme, box=bbox_of(x, y, x + bw, y + bh))
    return cv


def browser_button_shape(name):
    """Shape of a browser button in its own pixels. Close and minimise are
    flat on their right, where they meet the window's edge."""
    x, y, w, h = BROWSER_BUTTONS[name]
    if name in ("main_close", "main_min"):
        return rrect(0, 0, w, h, (h / 2, 1, 1, h / 2))
    if name == "main_sup":
        return rrect(0, 0, w, h + 1, (4, 4, 0, 0))
    if name == "main_sdown":
        return rrect(0, -1, w, h, (0, 0, 4, 4))
    return rrect(0, 0, w, h, h / 2)


def browser_buttons(theme):
    signs = {
        "main_close": cross_sign(5.0, 1.5),
        "main_min": minus_sign(5.0, 1.6),
        "main_sup": arrow_sign(6.0, 3.5, up=True),
        "main_sdown": arrow_sign(6.0, 3.5, up=False),
    }
    labels = {"main_conf": "Config", "main_man": "List"}
    out = {}
    for name, (_, _, w, h) in BROWSER_BUTTONS.items():
        shape = browser_button_shape(name)
        if name in labels:
            draw = lambda state, n=name, s=shape, w=w, h=h: text_button(w, h, labels[n], theme, state, shape=s)
        else:
            draw = lambda state, n=name, s=shape, w=w, h=h: sign_button(w, h, signs[n], theme, state, shape=s)
        out[name] = button_set(draw)
    return out


# ---------------------------------------------------------------------------
# Manager window: 277 x 277, the list above, the preview and buttons below.

MANAGER_SIZE = (277, 277)
MANAGER_LIST = (5, 16, 267, 137)
MANAGER_PREVIEW = (6, 158, 150, 113)
MANAGER_BUTTONS = {
    "manager_clear": (160, 174, 112, 13),
    "manager_close": (261, 0, 16, 13),
    "manager_rem": (204, 157, 68, 13),
    "manager_add": (160, 157, 40, 13),
}


def manager_shape():
    """A square of glass with soft corners, a tab at the top right that
    carries the close button, and a rounded corner under the name plate."""
    w, h = MANAGER_SIZE
    body = rrect(0, 3, w, h, (9, 6, 16, 9))
    tab = rrect(200, 0, w, 20, (6, 6, 4, 4))
    return smooth_union(body, tab, 4.0)


def manager_back(theme):
    w, h = MANAGER_SIZE
    cv = Canvas(w, h)
    shape = manager_shape()
    glass_body(cv, shape, theme, grain_seed=2)
    cv.paint(circle(8.5, 9.5, 1.6), theme.accent, 0.9)
    draw_text(cv, "Wallpaper List", 13, 6, theme.text_dim, shadow=(0, 0, 0, 0.55))
    x, y, lw, lh = MANAGER_LIST
    list_panel(cv, x, y, lw, lh, theme)
    well(cv, *MANAGER_PREVIEW, theme)
    name_plate(cv, (160, 194, 272, 271), theme)
    for name, (bx, by, bw, bh) in MANAGER_BUTTONS.items():
        bshape = translate(manager_button_shape(name), bx, by)
        socket(cv, bshape, theme, box=bbox_of(bx, by, bx + bw, by + bh))
    return cv


def list_panel(cv, x, y, w, h, theme):
    """The recessed panel the list view sits in: only its bezel shows, the
    list covers the inside."""
    outer = rrect(x - 2, y - 2, x + w + 2, y + h + 2, 3)
    box = bbox_of(x - 2, y - 2, x + w + 2, y + h + 2, 2)
    cv.paint(ring(offset(outer, 1.0), 1.0), (255, 255, 255), lambda px, py: 0.22 * max(0.0, normal(outer, px, py)[1]), box=box)
    cv.paint(outer, theme.outline, 0.9, box=box)
    cv.paint(rrect(x, y, x + w, y + h, 0), vertical(theme.well, y, h), box=box)


def name_plate(cv, rect, theme):
    """The engraved plate in the free corner: the program's mark and name."""
    x0, y0, x1, y1 = rect
    plate = rrect(x0, y0, x1, y1, (4, 4, 12, 4))
    box = bbox_of(x0, y0, x1, y1, 2)
    cv.paint(plate, (0, 0, 0), 0.16, box=box)
    inner_shadow(cv, plate, 4.0, 0.35, box=box)
    cv.paint(ring(offset(plate, 1.0), 1.0), (255, 255, 255), lambda x, y: 0.16 * max(0.0, normal(plate, x, y)[1]), box=box)
    cx = (x0 + x1) / 2
    mark(cv, cx, y0 + 30, 19, theme)
    text_centred(cv, "KESTROVA", (x0, y0 + 52, x1, y0 + 62), theme.text, shadow=(0, 0, 0, 0.6))
    text_centred(cv, "wallpaper changer", (x0, y0 + 64, x1, y0 + 74), theme.text_dim, shadow=(0, 0, 0, 0.5))


def manager_button_shape(name):
    x, y, w, h = MANAGER_BUTTONS[name]
    if name == "manager_close":
        # it fills the window's top right corner, so it takes that corner's curve
        return rrect(0, 0, w, h, (h / 2, 6, 1, h / 2))
    return rrect(0, 0, w, h, h / 2)


def manager_buttons(theme):
    labels = {"manager_clear": "Clear List", "manager_rem": "Remove", "manager_add": "Add"}
    out = {}
    for name, (_, _, w, h) in MANAGER_BUTTONS.items():
        shape = manager_button_shape(name)
        if name in labels:
            draw = lambda state, n=name, s=shape, w=w, h=h: text_button(w, h, labels[n], theme, state, shape=s)
        else:
            draw = lambda state, s=shape, w=w, h=h: sign_button(w, h, cross_sign(5.0, 1.5), theme, state, shape=s)
        out[name] = button_set(draw)
    return out


# ---------------------------------------------------------------------------
# The program's mark: a framed landscape (hills under a low sun) in a square
# of glass. Used by the icons, the tray animation and the manager's plate.


def mark_shapes(cx, cy, r):
    """The parts of the mark of half-size r centred at (cx, cy)."""
    frame = rrect(cx - r, cy - r, cx + r, cy + r, r * 0.28)
    picture = rrect(cx - r * 0.72, cy - r * 0.72, cx + r * 0.72, cy + r * 0.72, r * 0.12)
    back_hill = polygon([(cx - r * 0.72, cy + r * 0.28), (cx - r * 0.15, cy - r * 0.22), (cx + r * 0.3, cy + r * 0.12), (cx + r * 0.72, cy - r * 0.1), (cx + r * 0.72, cy + r * 0.72), (cx - r * 0.72, cy + r * 0.72)])
    front_hill = polygon([(cx - r * 0.72, cy + r * 0.5), (cx - r * 0.2, cy + r * 0.2), (cx + r * 0.72, cy + r * 0.62), (cx + r * 0.72, cy + r * 0.72), (cx - r * 0.72, cy + r * 0.72)])
    sun = circle(cx + r * 0.3, cy - r * 0.32, r * 0.2)
    return {
        "frame": frame,
        "picture": picture,
        "back_hill": intersect(back_hill, picture),
        "front_hill": intersect(front_hill, picture),
        "sun": sun,
    }


MARK_SKY = [(0.0, hex_colour("2b6cb8")), (0.55, hex_colour("64b5e8")), (1.0, hex_colour("f2c38a"))]


def mark(cv, cx, cy, r, theme, hard=False, glint=None):
    """Draws the mark. hard leaves its outer edge without anti-aliasing (for
    8-bit pictures cut out by magenta); glint is an angle in radians where a
    highlight sits on the frame (the tray animation turns it)."""
    s = mark_shapes(cx, cy, r)
    box = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    cv.paint(s["frame"], vertical([(0, hex_colour("a9b8cc")), (0.5, hex_colour("5d6f8a")), (1, hex_colour("2c3850"))], cy - r, 2 * r), hard=hard, box=box)
    bevel(cv, s["frame"], max(1.0, r * 0.18), 0.6, box=box)
    cv.paint(s["picture"], vertical(MARK_SKY, cy - r * 0.72, r * 1.44), box=box)
    cv.paint(intersect(s["sun"], s["picture"]), hex_colour("fff1b8"), box=box)
    cv.paint(s["back_hill"], vertical([(0, hex_colour("3f8a6a")), (1, hex_colour("1f4a40"))], cy - r * 0.2, r), box=box)
    cv.paint(s["front_hill"], vertical([(0, hex_colour("2a6a4a")), (1, hex_colour("123428"))], cy + r * 0.2, r * 0.5), box=box)
    sheen(cv, intersect(s["picture"], lambda x, y: y - cy + (x - cx) * 0.3), cy - r, r, 0.25, box=box)
    cv.paint(ring(s["picture"], max(0.8, r * 0.06)), (0, 0, 0), 0.45, box=box)
    cv.paint(ring(s["frame"], 1.0), theme.outline, 0.85 if r > 9 else 0.6, box=box)
    if glint is not None:
        gx, gy = cx + math.cos(glint) * r * 0.86, cy + math.sin(glint) * r * 0.86
        spot = circle(gx, gy, r * 0.45)
        cv.paint(intersect(s["frame"], subtract(spot, s["picture"])), (255, 255, 255), lambda x, y: 0.85 * (1 - clamp(math.hypot(x - gx, y - gy) / (r * 0.45))), box=box)
        cv.paint(intersect(s["picture"], spot), (255, 255, 255), lambda x, y: 0.35 * (1 - clamp(math.hypot(x - gx, y - gy) / (r * 0.45))), box=box)


def tray_anim(theme, frames=8, size=16):
    """The strip shown in the tray while a long add runs: the mark with a
    highlight going once round its frame."""
    cv = Canvas(size * frames, size)
    for i in range(frames):
        angle = -math.pi / 2 + 2 * math.pi * i / frames
        mark(cv, size * i + size / 2, size / 2, size / 2 - 0.5, theme, hard=True, glint=angle)
    return cv


# The standard menu background, over which the menu pictures' soft edges are
# settled before the cut-out (menus draw them hard-edged).
MENU_FACE = (240, 240, 240)


def on_menu_face(cv):
    """Half-covered edge pixels mixed with the menu background, so the hard
    cut-out of an 8-bit picture still looks smooth in a menu."""
    for p in cv.px:
        if 0.5 <= p[3] < 1.0:
            p[:3] = [p[i] * p[3] + MENU_FACE[i] * (1 - p[3]) for i in range(3)]
            p[3] = 1.0
    return cv


def menu_display(cv, ox, s):
    """A monitor on its stand, the desktop's wallpaper on its screen."""
    screen = rrect(ox + 1.5, 2.0, ox + s - 1.5, 12.0, 1.5)
    cv.paint(rrect(ox + 5.5, 13.0, ox + s - 5.5, 15.0, 0.8), hex_colour("4a5560"))
    cv.paint(rrect(ox + 7.0, 11.0, ox + s - 7.0, 14.0), hex_colour("66727e"))
    cv.paint(screen, vertical([(0, hex_colour("7f8c99")), (1, hex_colour("3c4650"))], 2, 10))
    picture = rrect(ox + 3.0, 3.5, ox + s - 3.0, 10.5)
    cv.paint(picture, vertical([(0, hex_colour("6cb4f0")), (1, hex_colour("d9efff"))], 3.5, 7))
    cv.paint(intersect(picture, lambda x, y: 8.3 + math.sin((x - ox) * 0.7) * 0.8 - y),
             hex_colour("3a8f5c"))
    cv.paint(ring(screen, 0.8), hex_colour("26303a"), 0.9)


def menu_help(cv, ox, s):
    """A blue ball with a white question mark."""
    ball = circle(ox + s / 2, s / 2, s / 2 - 1.0)
    cv.paint(ball, lambda x, y: mix(hex_colour("7cc0ff"), hex_colour("1d5fb0"), clamp((y - 1) / 13)))
    cv.paint(ring(ball, 0.8), hex_colour("15457f"), 0.9)
    for px, py in text_pixels("?", int(ox + s / 2 - 2), 4):
        cv.paint(rrect(px, py, px + 1, py + 1), (255, 255, 255), hard=True)


def menu_search(cv, ox, s):
    """A magnifying glass: a glass lens in a dark rim and its handle."""
    cx, cy, r = ox + 6.5, 6.5, 4.6
    cv.paint(segment(cx + 3.2, cy + 3.2, ox + 14.0, 14.0, 2.6), hex_colour("6b4a2b"))
    cv.paint(circle(cx, cy, r), lambda x, y: mix(hex_colour("e8f6ff"), hex_colour("8cc8f0"), clamp((y - 2) / 9)))
    cv.paint(ring(circle(cx, cy, r), 1.3), hex_colour("3c4650"))
    cv.paint(intersect(circle(cx - 1.4, cy - 1.4, 1.8), circle(cx, cy, r - 1.2)), (255, 255, 255), 0.9)


def menu_colour(cv, ox, s):
    """A painter's palette with four spots of colour."""
    board = subtract(ellipse(ox + s / 2, s / 2 + 0.5, s / 2 - 0.8, s / 2 - 2.0), circle(ox + 10.5, 11.0, 1.6))
    cv.paint(board, vertical([(0, hex_colour("f0d9a8")), (1, hex_colour("c79a55"))], 2, 12))
    cv.paint(ring(board, 0.8), hex_colour("7a5426"), 0.9)
    for (dx, dy), colour in zip(((4.0, 6.0), (7.5, 4.2), (11.2, 5.4), (5.0, 9.8)),
                                ("e03c31", "2f9e44", "1c7ed6", "f5c211")):
        cv.paint(circle(ox + dx, dy, 1.55), hex_colour(colour))


def menu_images(theme, size=16):
    """The pictures of the program's menus, side by side: the mark, display
    properties, help, search and icon colour (the menu items' image numbers)."""
    cv = Canvas(size * 5, size)
    mark(cv, size / 2, size / 2, size / 2 - 0.5, theme)
    for i, draw in enumerate((menu_display, menu_help, menu_search, menu_colour), start=1):
        draw(cv, size * i, size)
    return on_menu_face(cv)


# ---------------------------------------------------------------------------
# Icons


def icon_canvas(size, draw):
    cv = Canvas(size, size)
    draw(cv, size)
    return cv


def main_icon(cv, size):
    mark(cv, size / 2, size / 2, size / 2 - max(0.5, size / 32), GLASS)


def document(cv, size):
    """A page with a folded corner; gives the rectangle left for its picture."""
    m = size / 16
    x0, y0, x1, y1 = 2.5 * m, 0.5 * m, 13.5 * m, 15.5 * m
    fold = 4 * m
    page = subtract(rrect(x0, y0, x1, y1, m * 0.6), polygon([(x1 - fold, y0 - 1), (x1 + 1, y0 - 1), (x1 + 1, y0 + fold)]))
    cv.paint(page, vertical([(0, (250, 252, 255)), (1, (214, 222, 234))], y0, y1 - y0))
    cv.paint(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), (178, 190, 208))
    cv.paint(ring(page, max(1.0, m * 0.5)), (82, 96, 118))
    cv.paint(ring(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), max(0.8, m * 0.35)), (82, 96, 118), 0.8)
    return (x0 + 1.5 * m, y0 + fold + 0.8 * m, x1 - 1.5 * m, y1 - 1.5 * m)


def skin_file_icon(cv, size):
    """A document with a painter's palette and a brush on it."""
    x0, y0, x1, y1 = document(cv, size)
    m = size / 16
    cx, cy, r = (x0 + x1) / 2, (y0 + y1) / 2 + 0.3 * m, (x1 - x0) / 2
    palette = subtract(ellipse(cx, cy, r, r * 0.8), circle(cx + r * 0.45, cy + r * 0.38, r * 0.22))
    cv.paint(palette, vertical([(0, hex_colour("e6c08a")), (1, hex_colour("b38852"))], cy - r, 2 * r))
    cv.paint(ring(palette, max(0.8, m * 0.4)), hex_colour("6d4a22"))
    for (dx, dy), colour in zip([(-0.5, -0.3), (-0.05, -0.5), (0.42, -0.28), (-0.45, 0.25)], ["e04848", "f2c430", "3a9ae0", "42b060"]):
        cv.paint(circle(cx + dx * r, cy + dy * r, max(0.9, r * 0.17)), hex_colour(colour))
    handle = segment(x1 + 0.6 * m, y0 - 1.6 * m, cx + 0.3 * r, cy + 0.2 * r, max(1.2, m * 1.1))
    cv.paint(handle, hex_colour("8a5a2c"))
    cv.paint(segment(cx + 0.3 * r, cy + 0.2 * r, cx + 0.05 * r, cy + 0.5 * r, max(1.4, m * 1.5)), hex_colour("30343c"))


def list_file_icon(cv, size):
    """A document holding a stack of three framed pictures."""
    x0, y0, x1, y1 = document(cv, size)
    m = size / 16
    w, h = (x1 - x0) * 0.78, (y1 - y0) * 0.52
    for i in range(3):
        px = x0 + (x1 - x0 - w) * (i / 2)
        py = y0 + (y1 - y0 - h) * (i / 2)
        frame = rrect(px, py, px + w, py + h, m * 0.4)
        cv.paint(frame, (250, 250, 250))
        cv.paint(ring(frame, max(0.8, m * 0.35)), (70, 84, 106))
        pic = rrect(px + m * 0.8, py + m * 0.8, px + w - m * 0.8, py + h - m * 0.8, 0)
        cv.paint(pic, vertical(MARK_SKY, py, h))
        hill = polygon([(px, py + h), (px + w * 0.4, py + h * 0.45), (px + w, py + h * 0.8), (px + w, py + h)])
        cv.paint(intersect(hill, pic), hex_colour("2f7656"))


ICON_SIZES = (16, 32, 48)
ICONS = {"kestrova.ico": main_icon, "skinfile.ico": skin_file_icon, "walllistfile.ico": list_file_icon}


# ---------------------------------------------------------------------------
# Mock-ups: the two windows as they look, with sample pictures in the wells.


def sample_picture(w, h, seed):
    """A small landscape standing in for a wallpaper thumbnail."""
    cv = Canvas(w, h)
    skies = [("f7b267", "f4845f", "6a4c93"), ("8ecae6", "219ebc", "023047"), ("ffd6a5", "caffbf", "9bf6ff")]
    top, mid, low = (hex_colour(c) for c in skies[seed % 3])
    cv.paint(lambda x, y: -1, vertical([(0, low), (0.6, mid), (1, top)], 0, h))
    cv.paint(circle(w * 0.7, h * 0.45, h * 0.12), (255, 240, 200))
    for k, colour in enumerate(("2d6a4f", "1b4332", "081c15")):
        base = h * (0.6 + 0.12 * k)
        cv.paint(lambda x, y, b=base, k=k: b + math.sin(x / w * 6 + seed + k * 2) * h * 0.06 - y, hex_colour(colour))
    return cv


def mockup(back, buttons, places, wells, scale, path):
    cv = Canvas(back.w + 16, back.h + 16)
    cv.paint(lambda x, y: -1, (108, 124, 140))  # a plain desktop behind the window
    cv.draw(back, 8, 8)
    for i, (x, y, w, h) in enumerate(wells):
        cv.draw(sample_picture(w, h, i), x + 8, y + 8)
    for name, (x, y, _, _) in places.items():
        cv.draw(buttons[name][""], x + 8, y + 8)
    tmp = path + ".ppm"
    rows = cv.opaque_rgb()
    with open(tmp, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (cv.w, cv.h) + bytes(v for row in rows for c in row for v in c))
    subprocess.run(["convert", tmp, "-scale", "%d%%" % (scale * 100), path], check=True)
    os.remove(tmp)


def states_sheet(buttons, scale, path):
    """All button pictures of a window, one row per button, rest/over/down."""
    names = list(buttons)
    w = max(buttons[n][""].w for n in names) * 3 + 8
    h = sum(buttons[n][""].h + 2 for n in names)
    cv = Canvas(w, h)
    cv.paint(lambda x, y: -1, (40, 40, 40))
    y = 0
    for n in names:
        for i, state in enumerate(STATES):
            cv.draw(buttons[n][state], i * (buttons[n][""].w + 4), y)
        y += buttons[n][""].h + 2
    mockup(cv, {}, {}, [], scale, path)


# ---------------------------------------------------------------------------


def write_skin(theme):
    skin = os.path.join(RESOURCES, "skin")
    write_bmp(browser_back(theme), os.path.join(skin, "main_back.bmp"))
    write_bmp(manager_back(theme), os.path.join(skin, "manager_back.bmp"))
    for pictures in (browser_buttons(theme), manager_buttons(theme)):
        for name, states in pictures.items():
            for state, cv in states.items():
                write_bmp(cv, os.path.join(skin, name + state + ".bmp"))
    write_bmp(tray_anim(theme), os.path.join(skin, "tray_anim.bmp"))
    write_bmp(menu_images(theme), os.path.join(skin, "menu_images.bmp"))


def write_icons():
    for name, draw in ICONS.items():
        write_ico([icon_canvas(s, draw) for s in ICON_SIZES], os.path.join(RESOURCES, name))


def write_mockups(theme, folder, scale=3):
    os.makedirs(folder, exist_ok=True)
    bb, mb = browser_buttons(theme), manager_buttons(theme)
    mockup(browser_back(theme), bb, BROWSER_BUTTONS, BROWSER_PREVIEWS, scale, os.path.join(folder, "browser.png"))
    mockup(manager_back(theme), mb, MANAGER_BUTTONS, [MANAGER_PREVIEW], scale, os.path.join(folder, "manager.png"))
    states_sheet(bb, scale * 2, os.path.join(folder, "browser-buttons.png"))
    states_sheet(mb, scale * 2, os.path.join(folder, "manager-buttons.png"))
    tray = Canvas(128, 16)
    tray.draw(tray_anim(theme), 0, 0)
    mockup(tray, {}, {}, [], scale * 2, os.path.join(folder, "tray.png"))
    menu = Canvas(80, 16)
    menu.paint(lambda x, y: -1, MENU_FACE)
    menu.draw(menu_images(theme), 0, 0)
    mockup(menu, {}, {}, [], scale * 2, os.path.join(folder, "menu.png"))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--mockup", metavar="DIR", help="also write PNG mock-ups of the windows into DIR")
    args = parser.parse_args(argv)
    write_skin(GLASS)
    write_icons()
    if args.mockup:
        write_mockups(GLASS, args.mockup)


if __name__ == "__main__":
    main(sys.argv[1:])
